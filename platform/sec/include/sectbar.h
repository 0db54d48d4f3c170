// SECCustomToolBar: a tool bar that also holds windows (combo boxes, edits) in place of buttons. What those
// windows tell the bar (their WM_COMMAND notifications, and Enter or Escape typed in them) goes to the bar's
// owner as the registered message WM_SECTOOLBARWNDNOTIFY: wParam = MAKEWPARAM(control id, code), lParam =
// the control's window. Components derive their tool bars and the Browser's URL bar from it.
#pragma once
#include <afxext.h>
#include "secdefs.h"
#include "secres.h"

class SEC_API SECCustomToolBar : public CToolBar {
  DECLARE_DYNAMIC(SECCustomToolBar)
 public:
  SECCustomToolBar();
  ~SECCustomToolBar() override;

  // The registered message (RegisterWindowMessage("WM_SECTOOLBARWNDNOTIFY")).
  static UINT GetNotifyMessage();
  // Puts control (a child window of this bar) over the button at index, which becomes a gap of width
  // pixels; the control is kept there as the bar's layout changes.
  BOOL SetControl(int index, CWnd* control, int width);
  // The control placed at index, or null; the index of a control's window, or -1.
  CWnd* GetControl(int index) const;
  int FindControl(HWND wnd) const;
  // Moves every control over its gap.
  void RepositionControls();

  BOOL PreTranslateMessage(MSG* msg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // Sends the registered message for the control at index to the owner.
  void NotifyOwner(int index, UINT code);
  CUIntArray m_arrControlIndex;  // button index of each control
  CPtrArray m_arrControlWnds;    // HWND of each control
};
