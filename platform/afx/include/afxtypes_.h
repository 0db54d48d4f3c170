// Geometry value types of the framework (CPoint, CSize, CRect): thin wrappers over POINT, SIZE and RECT.
#pragma once
#include "afxver_.h"

class CSize : public tagSIZE {
 public:
  CSize() { cx = cy = 0; }
  CSize(int x, int y) { cx = x; cy = y; }
  CSize(SIZE s) { cx = s.cx; cy = s.cy; }
  explicit CSize(DWORD packed) { cx = short(LOWORD(packed)); cy = short(HIWORD(packed)); }
  bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(SIZE s) const { return !(*this == s); }
  CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
  CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
};

class CPoint : public tagPOINT {
 public:
  CPoint() { x = y = 0; }
  CPoint(int px, int py) { x = px; y = py; }
  CPoint(POINT p) { x = p.x; y = p.y; }
  CPoint(SIZE s) { x = s.cx; y = s.cy; }
  explicit CPoint(DWORD packed) { x = short(LOWORD(packed)); y = short(HIWORD(packed)); }
  void Offset(int dx, int dy) { x += dx; y += dy; }
  void Offset(SIZE s) { x += s.cx; y += s.cy; }
  bool operator==(POINT p) const { return x == p.x && y == p.y; }
  bool operator!=(POINT p) const { return !(*this == p); }
  CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
  CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
  CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
  CPoint operator-() const { return CPoint(-x, -y); }
  void operator+=(SIZE s) { Offset(s); }
  void operator-=(SIZE s) { Offset(-s.cx, -s.cy); }
};

class CRect : public tagRECT {
 public:
  CRect() { left = top = right = bottom = 0; }
  CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  CRect(const RECT& r) { CopyRect(&r); }
  CRect(const RECT* r) { CopyRect(r); }
  CRect(POINT p, SIZE s) { left = p.x; top = p.y; right = p.x + s.cx; bottom = p.y + s.cy; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(this); }
  CPoint& BottomRight() { return *(reinterpret_cast<CPoint*>(this) + 1); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }
  BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
  BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
  BOOL PtInRect(POINT p) const { return ::PtInRect(this, p); }
  void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  void SetRectEmpty() { ::SetRectEmpty(this); }
  void CopyRect(LPCRECT r) { ::CopyRect(this, r); }
  BOOL EqualRect(LPCRECT r) const { return ::EqualRect(this, r); }
  void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
  void InflateRect(SIZE s) { ::InflateRect(this, s.cx, s.cy); }
  void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
  void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
  void OffsetRect(POINT p) { ::OffsetRect(this, p.x, p.y); }
  void OffsetRect(SIZE s) { ::OffsetRect(this, s.cx, s.cy); }
  void NormalizeRect() {
    if (left > right) { int t = left; left = right; right = t; }
    if (top > bottom) { int t = top; top = bottom; bottom = t; }
  }
  BOOL IntersectRect(LPCRECT a, LPCRECT b) { return ::IntersectRect(this, a, b); }
  BOOL UnionRect(LPCRECT a, LPCRECT b) { return ::UnionRect(this, a, b); }
  bool operator==(const RECT& r) const { return ::EqualRect(this, &r) != FALSE; }
  bool operator!=(const RECT& r) const { return !(*this == r); }
  void operator=(const RECT& r) { CopyRect(&r); }
};
