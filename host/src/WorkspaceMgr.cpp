// The host's workspace manager (see WorkspaceMgr.h).
#include "WorkspaceMgr.h"

IMPLEMENT_DYNAMIC(cWorkspaceMgr, SECWorkspaceManagerEx)

void cWorkspaceMgr::RestoreWindow(CFrameWnd* frame, const SECWorkspaceWindow& window) {
  SECWorkspaceManagerEx::RestoreWindow(frame, window);
  if (window.m_bActive) m_arrActivated.Add(frame);
}

void cWorkspaceMgr::OnWorkspaceOpened(CFrameWnd* activeFrame) {
  SECWorkspaceManagerEx::OnWorkspaceOpened(activeFrame);
  // Windows restored while others were still coming up may have painted their captions inactive.
  for (INT_PTR i = 0; i < m_arrActivated.GetSize(); ++i) {
    CFrameWnd* frame = static_cast<CFrameWnd*>(m_arrActivated[i]);
    if (::IsWindow(frame->GetSafeHwnd())) frame->SendMessage(WM_NCACTIVATE, TRUE);
  }
  m_arrActivated.RemoveAll();
}

void cWorkspaceMgr::PrepareSaveWindow(CFrameWnd* frame) {
  CDocument* doc = frame->GetActiveDocument();
  if (!doc || !doc->IsModified() || !doc->GetPathName().IsEmpty()) return;
  // The window is only worth restoring with a file behind it: the user names one now.
  if (CMDIChildWnd* child = dynamic_cast<CMDIChildWnd*>(frame)) child->MDIActivate();
  frame->SendMessage(WM_COMMAND, ID_FILE_SAVE);
}
