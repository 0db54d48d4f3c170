// The test application of the bar, printing and help tests: an MDI frame with two tool bars docked, a third
// floating, a status bar whose message pane holds a progress control; a document of pages with a view that
// prints and previews them; a plain frame that docks three bars for the saved-state tests; helpers that
// drive the dialogs the system runs (test code, not product).
#pragma once
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "afxcmn.h"
#include "afxpriv.h"
#include "bars_ids.h"

extern std::string g_command;  // which handler ran last

class CPagesDoc : public CDocument {
  DECLARE_DYNCREATE(CPagesDoc)
 public:
  UINT m_nPages = 2;
  void Serialize(CArchive&) override {}
};

// Prints "Page n" large on each page of its document.
class CPagesView : public CView {
  DECLARE_DYNCREATE(CPagesView)
 public:
  std::vector<UINT> m_printed;                 // the pages OnPrint drew for the printer, in order
  std::function<void(UINT page)> m_onPrinted;  // called after each page drawn for the printer
  CPrintDialog* m_pDialog = nullptr;           // given to the next pass in place of its own (owned by it)
  CPagesDoc* GetPagesDoc() const { return static_cast<CPagesDoc*>(GetDocument()); }

 protected:
  void OnDraw(CDC* dc) override;
  BOOL OnPreparePrinting(CPrintInfo* info) override;
  void OnPrint(CDC* dc, CPrintInfo* info) override;
  DECLARE_MESSAGE_MAP()
};

// A status bar that keeps a progress control at the left third of its message pane, moving it when the bar
// is resized (the bar tells where the pane is).
class CProgressStatusBar : public CStatusBar {
 public:
  CProgressCtrl m_progress;
  void StartProgress(int position);
  CRect ProgressPlace() const;

 protected:
  afx_msg void OnSize(UINT type, int cx, int cy);
  DECLARE_MESSAGE_MAP()
};

class CMainFrame : public CMDIFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CProgressStatusBar m_wndStatusBar;
  CToolBar m_wndTools1, m_wndTools2, m_wndTools3;
  int m_dropDowns = 0;
  CString m_pagesText = "Pages: 2";

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnTool(UINT id);
  afx_msg void OnUpdateGrey(CCmdUI* ui);
  afx_msg void OnUpdatePages(CCmdUI* ui);
  afx_msg void OnDropDown(NMHDR* header, LRESULT* result);
  DECLARE_MESSAGE_MAP()
};

// A frame that takes over a bar's commands when it becomes the bar's owner.
class COwnerFrame : public CFrameWnd {
 public:
  afx_msg void OnTool(UINT id);
  DECLARE_MESSAGE_MAP()
};

// The saved-state frame: three tool bars, docked at the top when made, docking on every side.
class CDockFrame : public CFrameWnd {
 public:
  CToolBar m_wndTools[3];

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  DECLARE_MESSAGE_MAP()
};

// Message boxes and help requests are recorded, not shown, unless a test asks for the real ones.
class CBarsApp : public CWinApp {
 public:
  CBarsApp() : CWinApp("Bars Test") {}
  std::vector<std::string> m_boxes;
  BOOL m_bRecordBoxes = TRUE;
  std::vector<DWORD_PTR> m_helpContexts;
  BOOL m_bRecordHelp = FALSE;
  int DoMessageBox(LPCSTR prompt, UINT type, UINT helpId) override;
  void WinHelp(DWORD_PTR data, UINT command) override;
  DECLARE_MESSAGE_MAP()
};

extern CBarsApp theApp;

// Dispatches what is queued, then runs the application's idle work until it asks for no more.
void Pump();
// Runs action on the first top-level dialog with this caption once it shows (polled from a thread timer,
// so it works while the system runs a modal loop). Gives up after a few seconds.
void WhenDialogShows(LPCSTR caption, std::function<void(HWND)> action);
// Keeps the windows up (pumping) for ORV_UI_HOLD_SECONDS, for a screenshot.
void HoldForScreenshot();
// A window's rectangle in the client coordinates of another.
CRect RectIn(HWND wnd, HWND other);

class BarsUi : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  static CMainFrame* s_frame;
  // A new pages document in an MDI child, with its view.
  static CPagesView* OpenPages(UINT pages);
};
