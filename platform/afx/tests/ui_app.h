// The test application of the window tests: an MDI frame with two document templates (text and picture),
// their documents, views and child frame, a dialog of many fields, and the fixture that starts and ends it
// (test code, not product).
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "afxcmn.h"
#include "ui_ids.h"

extern std::string g_route;  // which handler ran last

class CTextDoc : public CDocument {
  DECLARE_DYNCREATE(CTextDoc)
 public:
  CString m_text;
  BOOL m_failWriting = FALSE;  // Serialize throws after writing part of the document
  void Serialize(CArchive& ar) override;
  void DeleteContents() override { m_text.Empty(); }
  afx_msg void OnRouteDoc() { g_route = "doc"; }
  DECLARE_MESSAGE_MAP()
};

class CTextView : public CView {
  DECLARE_DYNCREATE(CTextView)
 public:
  void OnDraw(CDC* dc) override;
  afx_msg void OnRouteView() { g_route = "view"; }
  afx_msg void OnRouteBoth() { g_route = "view-both"; }
  afx_msg void OnUpdateToggle(CCmdUI* ui) {
    ui->Enable(FALSE);
    ui->SetCheck(1);
  }
  DECLARE_MESSAGE_MAP()
};

class CPictureDoc : public CDocument {
  DECLARE_DYNCREATE(CPictureDoc)
 public:
  void Serialize(CArchive&) override {}
};

class CPictureView : public CScrollView {
  DECLARE_DYNCREATE(CPictureView)
 public:
  using CScrollView::OnPrepareDC;
  void OnInitialUpdate() override {
    SetScrollSizes(MM_TEXT, CSize(1000, 800));
    CScrollView::OnInitialUpdate();
  }
  void OnDraw(CDC* dc) override;
};

class CChildFrame : public CMDIChildWnd {
  DECLARE_DYNCREATE(CChildFrame)
 public:
  afx_msg void OnRouteChild() { g_route = "child"; }
  DECLARE_MESSAGE_MAP()
};

class CTextTemplate : public CMultiDocTemplate {
 public:
  using CMultiDocTemplate::CMultiDocTemplate;
  afx_msg void OnRouteTemplate() { g_route = "template"; }
  DECLARE_MESSAGE_MAP()
};

class CMainFrame : public CMDIFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CString m_lastPrompt;
  int m_enterIdle = 0;  // WM_ENTERIDLE from modal loops it owns
  void SetMessageText(LPCSTR text) override { m_lastPrompt = text; }
  afx_msg void OnRouteFrame() { g_route = "frame"; }
  afx_msg void OnEnterIdle(UINT, CWnd*) { ++m_enterIdle; }
  DECLARE_MESSAGE_MAP()
};

// Message boxes are recorded, not shown: a test reads what the user would have been told.
class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("Framework Test") {}
  std::vector<std::string> m_boxes;
  int DoMessageBox(LPCSTR prompt, UINT, UINT) override {
    m_boxes.push_back(prompt);
    return IDOK;
  }
  afx_msg void OnRouteApp() { g_route = "app"; }
  afx_msg void OnRouteBoth() { g_route = "app-both"; }
  DECLARE_MESSAGE_MAP()
};

extern CTestApp theApp;

class CFieldsDialog : public CDialog {
 public:
  CFieldsDialog() : CDialog(IDD_FIELDS) {}
  CString m_name;
  int m_count = 0, m_flag = 0, m_radio = -1, m_kind = -1, m_level = 0;
  CString m_item;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
};

// Dispatches what is queued, then runs the application's idle work until it asks for no more.
void Pump();
CString TempFile(LPCSTR name);

class FrameworkUi : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  CDocTemplate* Template(int index);
  static CMainFrame* s_frame;
};
