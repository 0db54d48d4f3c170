// cSplashWnd: the splash screen, a borderless pop-up with the resource library's bitmap 260 and the program's
// name, centred over the card window. Any key or mouse button pressed in the program hides it, and so does
// the passing of a few seconds. The card window is told when it is gone.
#pragma once
#include <afxwin.h>

class cSplashWnd : public CWnd {
 public:
  static constexpr char kClassName[] = "NexlumenQuilloSplash";
  // Shows the splash over owner; notify gets message when the splash is gone.
  BOOL Show(CWnd* owner, UINT notify);
  void Hide();
  BOOL IsShowing() const { return m_hWnd != NULL; }
  // Hides the splash when msg is a key or mouse button press; never takes the message.
  void HideOnInput(const MSG* msg);

 protected:
  void PostNcDestroy() override;
  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnRButtonDown(UINT flags, CPoint point);
  afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
  DECLARE_MESSAGE_MAP()

 private:
  CBitmap m_picture;
  CFont m_titleFont, m_lineFont;
  HWND m_hOwner = NULL;
  UINT m_notify = 0;
};
