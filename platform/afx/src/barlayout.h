// Measures shared by the bar classes (not exported): border and gripper sizes, orientation, and moving a
// window as part of a deferred layout.
#pragma once
#include "afxext.h"

namespace afxbar {

const int kBorder = 2;   // each CBRS_BORDER_* side: an etched line
const int kGripper = 8;  // the gripper strip of a docked bar, along its leading edge
const int kMargin = 2;   // default space between a bar's border and its items

// Horizontal unless docked on a left or right side.
inline BOOL IsHorz(DWORD barStyle) { return (barStyle & CBRS_ORIENT_VERT) == 0 || (barStyle & CBRS_FLOATING) != 0; }

// The border thickness on each side for the bar style.
inline CRect BorderInsets(DWORD barStyle) {
  return CRect((barStyle & CBRS_BORDER_LEFT) ? kBorder : 0, (barStyle & CBRS_BORDER_TOP) ? kBorder : 0,
               (barStyle & CBRS_BORDER_RIGHT) ? kBorder : 0, (barStyle & CBRS_BORDER_BOTTOM) ? kBorder : 0);
}

// The window size of a bar whose items take content: its borders, margins and gripper added.
inline CSize WithInsets(const CControlBar& bar, CSize content, BOOL horz) {
  CRect inside(0, 0, 0, 0);
  bar.CalcInsideRect(inside, horz);
  return CSize(content.cx + inside.left - inside.right, content.cy + inside.top - inside.bottom);
}

// Moves wnd to rect (parent client coordinates) within the layout's deferred positions, when it moved.
inline void Reposition(AFX_SIZEPARENTPARAMS* layout, HWND wnd, const CRect& rect) {
  CRect old;
  ::GetWindowRect(wnd, &old);
  HWND parent = ::GetParent(wnd);
  ::MapWindowPoints(NULL, parent, reinterpret_cast<LPPOINT>(&old), 2);
  if (old == rect) return;
  layout->hDWP = ::DeferWindowPos(layout->hDWP, wnd, NULL, rect.left, rect.top, rect.Width(), rect.Height(),
                                  SWP_NOACTIVATE | SWP_NOZORDER);
}

}  // namespace afxbar
