// cVideoWindow: the front's video, shown in the system's video window (MCIWnd) with its play bar over the
// front's picture area. The window is made through MCIWndCreate of MSVFW32.DLL, loaded when first needed; when
// the library or the function is missing the user is told and the front keeps its still picture. A clip whose
// name the system's video device does not know (".ivs") is shown through a temporary ".avi" name of it.
#pragma once
#include <afxwin.h>

class cVideoWindow {
 public:
  cVideoWindow() = default;
  ~cVideoWindow() { Close(); }
  cVideoWindow(const cVideoWindow&) = delete;
  cVideoWindow& operator=(const cVideoWindow&) = delete;

  // Opens the clip in a video window centred in area of parent, fitted to it with its play bar; movie is the
  // clip's frame size. False when no window could be made.
  BOOL Show(CWnd* parent, const CRect& area, CSize movie, LPCSTR path);
  void Close();
  HWND GetSafeHwnd() const { return m_hWnd; }

 private:
  HWND m_hWnd = NULL;
  CString m_alias;  // the temporary name the clip is shown under, deleted with the window
};
