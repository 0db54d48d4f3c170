// The host's main frame: a workbook with the status bar (two button panes), the launch bar docked on the left,
// the workspace manager, the main-frame commands (launch bar, slide table, launch items, Help entries from
// the registry, the workbook mode, activating descendants), the hand-over of files from a second instance
// and the opening of files at start.
#pragma once
#include "LaunchBar.h"
#include "MenuSplitter.h"
#include "WorkspaceMgr.h"
#include "framework/NXBars.h"
#include "secall.h"

class CMainFrame : public SECWorkbook {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CMainFrame();
  ~CMainFrame() override;

  cNXControlBar& GetLaunchControlBar() { return m_wndLaunchBar; }
  cLaunchBar& GetLaunchBar() { return m_launchBar; }
  cNXStatusBar& GetStatusBar() { return m_wndStatusBar; }
  SECWorkspaceManagerEx& GetWorkspaceManager() { return m_workspace; }
  // The show command last stored by WM_SIZE (3 maximized, 1 restored; 0 until it changes).
  int GetStoredShowCmd() const { return m_nShowCmd; }

  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // The window of the embedded server active in place in the active child while its menu is merged into the
  // frame's; null otherwise.
  HWND InPlaceServerWindow();

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnClose();
  afx_msg void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
  afx_msg void OnViewLaunchBar();
  afx_msg void OnUpdateViewLaunchBar(CCmdUI* ui);
  afx_msg void OnViewSlideTable();
  afx_msg void OnUpdateViewSlideTable(CCmdUI* ui);
  afx_msg void OnLaunchAdd();
  afx_msg void OnUpdateLaunchAdd(CCmdUI* ui);
  afx_msg void OnLaunchRemove();
  afx_msg void OnUpdateLaunchRemove(CCmdUI* ui);
  afx_msg void OnIconSize(UINT id);
  afx_msg void OnUpdateIconSize(CCmdUI* ui);
  afx_msg void OnWorkbook();
  afx_msg void OnLaunchItem(UINT id);
  afx_msg void OnUpdateLaunchItem(CCmdUI* ui);
  afx_msg void OnHelpEntry(UINT id);
  afx_msg void OnHelpContact();
  afx_msg void OnAppAbout();
  afx_msg LRESULT OnOpenFromInstance(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnOpenAtStart(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnOpenPending(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnProgress(WPARAM wParam, LPARAM lParam);

  cNXStatusBar m_wndStatusBar;
  cNXControlBar m_wndLaunchBar;
  cLaunchBar m_launchBar;
  cWorkspaceMgr m_workspace;
  cMenuSplitter m_menuSplitter;  // the host's commands while a server's menu is merged
  int m_nShowCmd;
  DECLARE_MESSAGE_MAP()
};
