// SECWndPlugIn: an object that plugs into a window and sees its messages before the window does, through its
// own message map, without being a window itself. The workspace manager plugs into the main frame this way.
#pragma once
#include "secdefs.h"

class SEC_API SECWndPlugIn : public CWnd {
  DECLARE_DYNAMIC(SECWndPlugIn)
 public:
  SECWndPlugIn();
  ~SECWndPlugIn() override;  // unplugs

  // Starts seeing wnd's messages (several plug-ins may share a window: the last plugged sees them first).
  BOOL PlugInTo(CWnd* wnd);
  void UnPlug();
  BOOL IsPlugged() const { return m_hWndPlugged != NULL; }
  // The window plugged into (a temporary object when the window has no permanent one).
  CWnd* GetPlugInWnd() const;
  HWND GetPlugInHwnd() const { return m_hWndPlugged; }

  // Runs this plug-in's message map; the window gets the message afterwards unless a handler set
  // m_bExitMessage (its result is then the message's). Handlers must not call Default.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // The plugged window is being destroyed: the plug-in is unplugged after this.
  virtual void OnPlugInWndDestroyed() {}
  BOOL m_bExitMessage;

 private:
  friend struct SECPlugInHooks;
  HWND m_hWndPlugged;
};
