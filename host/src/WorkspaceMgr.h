// The host's workspace manager: the extension library's, with the host's steps around each window. A
// document that has changes but no file yet is saved before its window is recorded; the frames restored
// active by an opening get their non-client activation once every window is there. Made by the main frame;
// workspace "Current" is opened at start-up and saved when the main frame closes.
#pragma once
#include "secwsmgr.h"

class cWorkspaceMgr : public SECWorkspaceManagerEx {
  DECLARE_DYNAMIC(cWorkspaceMgr)
 protected:
  void RestoreWindow(CFrameWnd* frame, const SECWorkspaceWindow& window) override;
  void OnWorkspaceOpened(CFrameWnd* activeFrame) override;
  void PrepareSaveWindow(CFrameWnd* frame) override;

  CPtrArray m_arrActivated;  // frames restored as active by the opening under way
};
