// The test application of the extension library's frame and docking tests and of the workspace program:
// notes (text files) in worksheets of a workbook, two templates sharing the document and view classes, a
// dockable frame that docks right first, and a main frame with a launch bar (a sizable bar holding a list)
// docked left at 85 pixels, a URL bar holding a combo box, a status bar with image buttons in two panes, and
// a workspace manager (test code, not product).
#pragma once
#include <string>
#include <utility>
#include <vector>
#include "secall.h"
#include "sectest_ids.h"

// The key of the workspaces: "Software\<the application's registry key>\Workspace".
CString TestWorkspaceKey();

// A text file, read whole.
class CNoteDoc : public CDocument {
  DECLARE_DYNCREATE(CNoteDoc)
 public:
  CString m_strText;
  BOOL OnOpenDocument(LPCSTR path) override;
};

// Shows its note's text; answers ID_TEST_WHO with its document's title.
class CNoteView : public CView {
  DECLARE_DYNCREATE(CNoteView)
 public:
  CNoteDoc* GetNoteDoc() const { return static_cast<CNoteDoc*>(GetDocument()); }

 protected:
  void OnDraw(CDC* dc) override;
  afx_msg void OnWho();
  DECLARE_MESSAGE_MAP()
};

extern std::string g_who;  // the title ID_TEST_WHO last reached

// Docks on the right side at 150 pixels when it first comes up.
class CNoteDockFrame : public SECDockableFrame {
  DECLARE_DYNCREATE(CNoteDockFrame)
 protected:
  BOOL OnFirstDocking(SECDockPlacement& proposal) override;
};

class CMainFrame : public SECWorkbook {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  SECCustomStatusBar m_wndStatusBar;
  SECImageButton m_btnLaunch, m_btnTable;
  SECControlBar m_wndLaunchBar;
  CListBox m_wndLaunchList;
  SECCustomToolBar m_wndUrlBar;
  CComboBox m_wndUrlCombo;
  SECWorkspaceManagerEx m_workspace;
  std::vector<UINT> m_commands;                         // pane button commands received
  std::vector<std::pair<UINT, UINT>> m_notifications;  // (control id, code) from the URL bar

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnToggleWorkbook();
  afx_msg void OnPaneButton(UINT id);
  afx_msg void OnViewLaunchBar();
  afx_msg LRESULT OnToolBarNotify(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// The templates of notes (index 0) and sketches (index 1), added to the application.
void AddTestTemplates(CWinApp& app, BOOL withSketches = TRUE);
SECMultiDocTemplate* NoteTemplate();
SECMultiDocTemplate* SketchTemplate();
// A new main frame, shown at a fixed place.
CMainFrame* CreateTestMainFrame(CWinApp& app);
