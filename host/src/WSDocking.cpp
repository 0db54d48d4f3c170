// The host's docked document windows (see WSDocking.h).
#include "WSDocking.h"

IMPLEMENT_DYNCREATE(cWSControlBar, cNXDockableBar)
IMPLEMENT_DYNCREATE(cWSDockableFrame, SECDockableFrame)

BOOL cWSControlBar::Create(CWnd* parent, LPCSTR title, DWORD style, UINT id) {
  // Shown by its frame once the frame is placed, so that it does not flash where it starts.
  return cNXDockableBar::Create(parent, title, style & ~WS_VISIBLE, id);
}

BOOL cWSDockableFrame::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!SECDockableFrame::PreCreateWindow(cs)) return FALSE;
  cs.style &= ~(WS_DLGFRAME | WS_MAXIMIZEBOX);
  cs.style |= WS_BORDER;
  return TRUE;
}

SECControlBar* cWSDockableFrame::CreateDockingBar() {
  cWSControlBar* bar = new cWSControlBar;
  bar->m_bAutoDelete = TRUE;
  return bar;
}
