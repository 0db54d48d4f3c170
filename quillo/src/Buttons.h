// The card's bitmap buttons and their hints. cBitmapButton is an owner-drawn push button showing a 32 x 32
// picture of the resource library (keyed on magenta) on a rounded face that lights up under the mouse and
// greys out when disabled; cHintTip is the panel's tooltip control that shows each button's hint text.
#pragma once
#include <afxwin.h>

class cBitmapButton : public CButton {
 public:
  // Makes the button with the picture bitmapId; its command is id.
  BOOL Create(CWnd* parent, const CRect& rect, UINT id, UINT bitmapId);

 protected:
  afx_msg void DrawItem(LPDRAWITEMSTRUCT item);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg LRESULT OnMouseLeave(WPARAM, LPARAM);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()

 private:
  CBitmap m_picture;
  CBitmap m_greyed;  // the picture as a disabled button shows it
  BOOL m_bHot = FALSE;
};

class cHintTip {
 public:
  ~cHintTip();
  BOOL Create(CWnd* owner);
  // Shows text when the mouse rests over control.
  void AddHint(CWnd& control, LPCSTR text);
  HWND GetSafeHwnd() const { return m_hWnd; }

 private:
  HWND m_hWnd = NULL;
};
