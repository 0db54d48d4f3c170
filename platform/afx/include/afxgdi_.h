// GDI wrappers: device contexts (CDC, CPaintDC, CClientDC, CWindowDC) and drawing objects (CGdiObject
// with CPen, CBrush, CFont, CBitmap, CPalette, CRgn). Included by afxwin.h.
//
// FromHandle gives a temporary object for a handle no wrapper owns; temporaries live until the
// thread's next idle time.
#pragma once

class CGdiObject;
class CDC;
class CMenu;
// The handle of a wrapper pointer that may be null (null for null). The GetSafe* members answer the same
// for a null pointer, for the callers written that way, but calling a member through a null pointer is
// undefined behaviour: where the pointer may be null, these are the sound form.
inline HGDIOBJ AfxGetSafeHandle(const CGdiObject* object);
inline HDC AfxGetSafeHdc(const CDC* dc);
inline HMENU AfxGetSafeHmenu(const CMenu* menu);

class AFX_API CGdiObject : public CObject {
  DECLARE_DYNCREATE(CGdiObject)
 public:
  CGdiObject() : m_hObject(NULL) {}
  ~CGdiObject() override;  // deletes the object it owns
  static CGdiObject* PASCAL FromHandle(HGDIOBJ handle);
  static void PASCAL DeleteTempMap();
  BOOL Attach(HGDIOBJ handle);
  HGDIOBJ Detach();
  BOOL DeleteObject();
  HGDIOBJ GetSafeHandle() const;  // null for a null pointer (see AfxGetSafeHandle)
  operator HGDIOBJ() const { return m_hObject; }
  int GetObject(int count, LPVOID object) const { return ::GetObjectA(m_hObject, count, object); }
  UINT GetObjectType() const { return ::GetObjectType(m_hObject); }
  BOOL CreateStockObject(int index) { return Attach(::GetStockObject(index)); }
  HGDIOBJ m_hObject;
};

class AFX_API CPen : public CGdiObject {
  DECLARE_DYNAMIC(CPen)
 public:
  CPen() = default;
  CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
  static CPen* PASCAL FromHandle(HPEN h) { return static_cast<CPen*>(CGdiObject::FromHandle(h)); }
  BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
  BOOL CreatePenIndirect(LPLOGPEN pen) { return Attach(::CreatePenIndirect(pen)); }
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class AFX_API CBrush : public CGdiObject {
  DECLARE_DYNAMIC(CBrush)
 public:
  CBrush() = default;
  explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
  static CBrush* PASCAL FromHandle(HBRUSH h) { return static_cast<CBrush*>(CGdiObject::FromHandle(h)); }
  BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
  BOOL CreateHatchBrush(int index, COLORREF color) { return Attach(::CreateHatchBrush(index, color)); }
  BOOL CreatePatternBrush(class CBitmap* bitmap);
  BOOL CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }
  BOOL CreateBrushIndirect(const LOGBRUSH* brush) { return Attach(::CreateBrushIndirect(brush)); }
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class AFX_API CFont : public CGdiObject {
  DECLARE_DYNAMIC(CFont)
 public:
  static CFont* PASCAL FromHandle(HFONT h) { return static_cast<CFont*>(CGdiObject::FromHandle(h)); }
  BOOL CreateFontIndirect(const LOGFONTA* font) { return Attach(::CreateFontIndirectA(font)); }
  // pointSize in tenths of a point, converted for the screen (or dc) resolution.
  BOOL CreatePointFont(int pointSize, LPCSTR faceName, class CDC* dc = NULL);
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                  BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                  BYTE quality, BYTE pitchAndFamily, LPCSTR faceName) {
    return Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
  }
  int GetLogFont(LOGFONTA* font) { return GetObject(sizeof(LOGFONTA), font); }
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class AFX_API CBitmap : public CGdiObject {
  DECLARE_DYNAMIC(CBitmap)
 public:
  static CBitmap* PASCAL FromHandle(HBITMAP h) { return static_cast<CBitmap*>(CGdiObject::FromHandle(h)); }
  BOOL LoadBitmap(LPCSTR name);  // from the resource chain
  BOOL LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCEA(id)); }
  BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
  }
  BOOL CreateCompatibleBitmap(class CDC* dc, int width, int height);
  int GetBitmap(BITMAP* info) { return GetObject(sizeof(BITMAP), info); }
  CSize GetBitmapDimension() const;
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class AFX_API CPalette : public CGdiObject {
  DECLARE_DYNAMIC(CPalette)
 public:
  static CPalette* PASCAL FromHandle(HPALETTE h) { return static_cast<CPalette*>(CGdiObject::FromHandle(h)); }
  BOOL CreatePalette(LPLOGPALETTE palette) { return Attach(::CreatePalette(palette)); }
  BOOL CreateHalftonePalette(class CDC* dc);
  int GetEntryCount() { WORD n = 0; GetObject(sizeof n, &n); return n; }
  UINT GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) const {
    return ::GetPaletteEntries(static_cast<HPALETTE>(m_hObject), start, count, entries);
  }
  UINT SetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) {
    return ::SetPaletteEntries(static_cast<HPALETTE>(m_hObject), start, count, entries);
  }
  operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }
};

class AFX_API CRgn : public CGdiObject {
  DECLARE_DYNAMIC(CRgn)
 public:
  static CRgn* PASCAL FromHandle(HRGN h) { return static_cast<CRgn*>(CGdiObject::FromHandle(h)); }
  BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
  BOOL CreateRectRgnIndirect(LPCRECT rect) { return Attach(::CreateRectRgnIndirect(rect)); }
  BOOL CreateEllipticRgn(int l, int t, int r, int b) { return Attach(::CreateEllipticRgn(l, t, r, b)); }
  BOOL CreatePolygonRgn(const POINT* points, int count, int mode) { return Attach(::CreatePolygonRgn(points, count, mode)); }
  int CombineRgn(CRgn* a, CRgn* b, int mode) {
    return ::CombineRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(AfxGetSafeHandle(a)),
                        static_cast<HRGN>(AfxGetSafeHandle(b)), mode);
  }
  BOOL PtInRegion(int x, int y) const { return ::PtInRegion(static_cast<HRGN>(m_hObject), x, y); }
  BOOL PtInRegion(POINT p) const { return PtInRegion(p.x, p.y); }
  int GetRgnBox(LPRECT rect) const { return ::GetRgnBox(static_cast<HRGN>(m_hObject), rect); }
  operator HRGN() const { return static_cast<HRGN>(m_hObject); }
};

class AFX_API CDC : public CObject {
  DECLARE_DYNCREATE(CDC)
 public:
  CDC() : m_hDC(NULL), m_bPrinting(FALSE) {}
  ~CDC() override;  // deletes a context it owns
  static CDC* PASCAL FromHandle(HDC dc);
  static void PASCAL DeleteTempMap();
  BOOL Attach(HDC dc);
  HDC Detach();
  BOOL DeleteDC();
  BOOL CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : NULL)); }
  BOOL CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* init) {
    return Attach(::CreateDCA(driver, device, output, init));
  }
  HDC GetSafeHdc() const;  // null for a null pointer (see AfxGetSafeHdc)
  operator HDC() const { return m_hDC; }
  CWnd* GetWindow() const;

  int SaveDC() { return ::SaveDC(m_hDC); }
  BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
  int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

  // Selection returns the previous object as a temporary wrapper.
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  CBitmap* SelectObject(CBitmap* bitmap);
  int SelectObject(CRgn* rgn) { return ::SelectClipRgn(m_hDC, static_cast<HRGN>(AfxGetSafeHandle(rgn))); }
  CGdiObject* SelectStockObject(int index);
  HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
  CPalette* SelectPalette(CPalette* palette, BOOL forceBackground);
  UINT RealizePalette() { return ::RealizePalette(m_hDC); }
  CFont* GetCurrentFont() const { return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT))); }

  COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
  COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
  COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
  COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
  int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
  int SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
  int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
  UINT SetTextAlign(UINT flags) { return ::SetTextAlign(m_hDC, flags); }

  int SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
  int GetMapMode() const { return ::GetMapMode(m_hDC); }
  CPoint SetViewportOrg(int x, int y) { POINT p; ::SetViewportOrgEx(m_hDC, x, y, &p); return p; }
  CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
  CPoint GetViewportOrg() const { POINT p; ::GetViewportOrgEx(m_hDC, &p); return p; }
  CPoint OffsetViewportOrg(int dx, int dy) { POINT p; ::OffsetViewportOrgEx(m_hDC, dx, dy, &p); return p; }
  CPoint SetWindowOrg(int x, int y) { POINT p; ::SetWindowOrgEx(m_hDC, x, y, &p); return p; }
  CPoint GetWindowOrg() const { POINT p; ::GetWindowOrgEx(m_hDC, &p); return p; }
  CSize SetViewportExt(int x, int y) { SIZE s; ::SetViewportExtEx(m_hDC, x, y, &s); return s; }
  CSize SetWindowExt(int x, int y) { SIZE s; ::SetWindowExtEx(m_hDC, x, y, &s); return s; }
  void LPtoDP(LPPOINT points, int count = 1) const { ::LPtoDP(m_hDC, points, count); }
  void LPtoDP(LPRECT rect) const { ::LPtoDP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2); }
  void DPtoLP(LPPOINT points, int count = 1) const { ::DPtoLP(m_hDC, points, count); }
  void DPtoLP(LPRECT rect) const { ::DPtoLP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2); }

  int GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }
  int IntersectClipRect(int l, int t, int r, int b) { return ::IntersectClipRect(m_hDC, l, t, r, b); }
  int IntersectClipRect(LPCRECT r) { return IntersectClipRect(r->left, r->top, r->right, r->bottom); }
  int ExcludeClipRect(int l, int t, int r, int b) { return ::ExcludeClipRect(m_hDC, l, t, r, b); }
  int ExcludeClipRect(LPCRECT r) { return ExcludeClipRect(r->left, r->top, r->right, r->bottom); }
  int SelectClipRgn(CRgn* rgn) { return ::SelectClipRgn(m_hDC, static_cast<HRGN>(AfxGetSafeHandle(rgn))); }
  BOOL RectVisible(LPCRECT r) const { return ::RectVisible(m_hDC, r); }

  CPoint MoveTo(int x, int y) { POINT p; ::MoveToEx(m_hDC, x, y, &p); return p; }
  CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  BOOL Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
  BOOL Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
  BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
  BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
  BOOL RoundRect(int l, int t, int r, int b, int w, int h) { return ::RoundRect(m_hDC, l, t, r, b, w, h); }
  BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
  BOOL Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
  void FillRect(LPCRECT r, CBrush* brush) { ::FillRect(m_hDC, r, static_cast<HBRUSH>(AfxGetSafeHandle(brush))); }
  void FrameRect(LPCRECT r, CBrush* brush) { ::FrameRect(m_hDC, r, static_cast<HBRUSH>(AfxGetSafeHandle(brush))); }
  void InvertRect(LPCRECT r) { ::InvertRect(m_hDC, r); }
  void DrawFocusRect(LPCRECT r) { ::DrawFocusRect(m_hDC, r); }
  BOOL DrawEdge(LPRECT r, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, r, edge, flags); }
  BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
  BOOL DrawIcon(POINT p, HICON icon) { return DrawIcon(p.x, p.y, icon); }
  void FillSolidRect(LPCRECT r, COLORREF color);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF color) { CRect r(x, y, x + cx, y + cy); FillSolidRect(&r, color); }
  void Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight);
  COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
  COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
  BOOL PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop); }
  BOOL BitBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, DWORD rop) {
    return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : NULL, xs, ys, rop);
  }
  BOOL StretchBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, int ws, int hs, DWORD rop) {
    return ::StretchBlt(m_hDC, x, y, w, h, src ? src->m_hDC : NULL, xs, ys, ws, hs, rop);
  }

  BOOL TextOut(int x, int y, LPCSTR text, int count) { return ::TextOutA(m_hDC, x, y, text, count); }
  BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT r, LPCSTR text, UINT count, LPINT widths) {
    return ::ExtTextOutA(m_hDC, x, y, options, r, text, count, widths);
  }
  int DrawText(LPCSTR text, int count, LPRECT r, UINT format) { return ::DrawTextA(m_hDC, text, count, r, format); }
  int DrawText(const CString& text, LPRECT r, UINT format) { return DrawText(text, text.GetLength(), r, format); }
  CSize GetTextExtent(LPCSTR text, int count) const { SIZE s = {0, 0}; ::GetTextExtentPoint32A(m_hDC, text, count, &s); return s; }
  CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
  BOOL GetTextMetrics(LPTEXTMETRICA metrics) const { return ::GetTextMetricsA(m_hDC, metrics); }

  // Printing: the context draws pages for a printer or its preview (IsPrinting), and the job's calls.
  BOOL IsPrinting() const { return m_bPrinting; }
  int StartDoc(LPDOCINFOA info) { return ::StartDocA(m_hDC, info); }
  int StartPage() { return ::StartPage(m_hDC); }
  int EndPage() { return ::EndPage(m_hDC); }
  int EndDoc() { return ::EndDoc(m_hDC); }
  int AbortDoc() { return ::AbortDoc(m_hDC); }
  int SetAbortProc(BOOL(CALLBACK* proc)(HDC, int)) { return ::SetAbortProc(m_hDC, proc); }

  HDC m_hDC;
  BOOL m_bPrinting;
};

// The context of a paint pass (BeginPaint/EndPaint).
class AFX_API CPaintDC : public CDC {
  DECLARE_DYNAMIC(CPaintDC)
 public:
  explicit CPaintDC(CWnd* wnd);  // throws CResourceException when no context is given
  ~CPaintDC() override;
  PAINTSTRUCT m_ps;
 protected:
  HWND m_hWnd;
};

// The client area's context (GetDC/ReleaseDC).
class AFX_API CClientDC : public CDC {
  DECLARE_DYNAMIC(CClientDC)
 public:
  explicit CClientDC(CWnd* wnd);
  ~CClientDC() override;
 protected:
  HWND m_hWnd;
};

// The whole window's context (GetWindowDC/ReleaseDC).
class AFX_API CWindowDC : public CDC {
  DECLARE_DYNAMIC(CWindowDC)
 public:
  explicit CWindowDC(CWnd* wnd);
  ~CWindowDC() override;
 protected:
  HWND m_hWnd;
};

// A menu; FromHandle gives a temporary wrapper for menus no CMenu owns.
class AFX_API CMenu : public CObject {
  DECLARE_DYNCREATE(CMenu)
 public:
  CMenu() : m_hMenu(NULL) {}
  ~CMenu() override;  // destroys the menu it owns
  static CMenu* PASCAL FromHandle(HMENU menu);
  static void PASCAL DeleteTempMap();
  BOOL Attach(HMENU menu);
  HMENU Detach();
  HMENU GetSafeHmenu() const;  // null for a null pointer (see AfxGetSafeHmenu)
  operator HMENU() const { return m_hMenu; }
  BOOL CreateMenu() { return Attach(::CreateMenu()); }
  BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
  BOOL LoadMenu(LPCSTR name);  // from the resource chain
  BOOL LoadMenu(UINT id) { return LoadMenu(MAKEINTRESOURCEA(id)); }
  BOOL LoadMenuIndirect(const void* menuTemplate) { return Attach(::LoadMenuIndirectA(menuTemplate)); }
  BOOL DestroyMenu();
  UINT GetMenuItemCount() const { return UINT(::GetMenuItemCount(m_hMenu)); }
  UINT GetMenuItemID(int pos) const { return ::GetMenuItemID(m_hMenu, pos); }
  UINT GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
  int GetMenuString(UINT id, LPSTR text, int max, UINT flags) const { return ::GetMenuStringA(m_hMenu, id, text, max, flags); }
  int GetMenuString(UINT id, CString& text, UINT flags) const;
  CMenu* GetSubMenu(int pos) const { return FromHandle(::GetSubMenu(m_hMenu, pos)); }
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = NULL) { return ::AppendMenuA(m_hMenu, flags, id, text); }
  BOOL InsertMenu(UINT pos, UINT flags, UINT_PTR id = 0, LPCSTR text = NULL) { return ::InsertMenuA(m_hMenu, pos, flags, id, text); }
  BOOL ModifyMenu(UINT pos, UINT flags, UINT_PTR id = 0, LPCSTR text = NULL) { return ::ModifyMenuA(m_hMenu, pos, flags, id, text); }
  BOOL RemoveMenu(UINT pos, UINT flags) { return ::RemoveMenu(m_hMenu, pos, flags); }
  BOOL DeleteMenu(UINT pos, UINT flags) { return ::DeleteMenu(m_hMenu, pos, flags); }
  UINT EnableMenuItem(UINT id, UINT enable) { return ::EnableMenuItem(m_hMenu, id, enable); }
  UINT CheckMenuItem(UINT id, UINT check) { return ::CheckMenuItem(m_hMenu, id, check); }
  BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags) { return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags); }
  BOOL SetDefaultItem(UINT item, BOOL byPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, item, byPos); }
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = NULL);
  HMENU m_hMenu;
};

inline HGDIOBJ AfxGetSafeHandle(const CGdiObject* object) { return object ? object->m_hObject : NULL; }
inline HDC AfxGetSafeHdc(const CDC* dc) { return dc ? dc->m_hDC : NULL; }
inline HMENU AfxGetSafeHmenu(const CMenu* menu) { return menu ? menu->m_hMenu : NULL; }
