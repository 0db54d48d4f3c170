// The test application of the window tests (test code, not product).
#include "ui_app.h"

#include "testui.h"

std::string g_route;

IMPLEMENT_DYNCREATE(CTextDoc, CDocument)
BEGIN_MESSAGE_MAP(CTextDoc, CDocument)
  ON_COMMAND(ID_ROUTE_DOC, OnRouteDoc)
END_MESSAGE_MAP()

void CTextDoc::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_text;
    if (m_failWriting) {
      ar.Flush();
      AfxThrowArchiveException(CArchiveException::generic, ar.m_strFileName);
    }
  } else {
    ar >> m_text;
  }
}

IMPLEMENT_DYNCREATE(CTextView, CView)
BEGIN_MESSAGE_MAP(CTextView, CView)
  ON_COMMAND(ID_ROUTE_VIEW, OnRouteView)
  ON_COMMAND(ID_ROUTE_BOTH, OnRouteBoth)
  ON_UPDATE_COMMAND_UI(ID_TOGGLE, OnUpdateToggle)
END_MESSAGE_MAP()

void CTextView::OnDraw(CDC* dc) {
  CTextDoc* doc = static_cast<CTextDoc*>(GetDocument());
  CString text = doc ? doc->m_text : CString();
  if (text.IsEmpty()) text = "(empty text document)";
  dc->TextOut(10, 10, text);
}

IMPLEMENT_DYNCREATE(CPictureDoc, CDocument)
IMPLEMENT_DYNCREATE(CPictureView, CScrollView)

void CPictureView::OnDraw(CDC* dc) {
  CBrush brush(RGB(40, 120, 200));
  CBrush* old = dc->SelectObject(&brush);
  dc->Ellipse(20, 20, 220, 160);
  dc->SelectObject(old);
  dc->TextOut(30, 180, "scroll view 1000 x 800");
}

IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)
BEGIN_MESSAGE_MAP(CChildFrame, CMDIChildWnd)
  ON_COMMAND(ID_ROUTE_CHILD, OnRouteChild)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CTextTemplate, CMultiDocTemplate)
  ON_COMMAND(ID_ROUTE_TEMPLATE, OnRouteTemplate)
END_MESSAGE_MAP()

IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)
BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
  ON_COMMAND(ID_ROUTE_FRAME, OnRouteFrame)
  ON_WM_ENTERIDLE()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
  ON_COMMAND(ID_ROUTE_APP, OnRouteApp)
  ON_COMMAND(ID_ROUTE_BOTH, OnRouteBoth)
  ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
END_MESSAGE_MAP()

CTestApp theApp;

void CFieldsDialog::DoDataExchange(CDataExchange* dx) {
  DDX_Text(dx, IDC_NAME, m_name);
  DDV_MaxChars(dx, m_name, 20);
  DDX_Text(dx, IDC_COUNT, m_count);
  DDV_MinMaxInt(dx, m_count, 0, 1000);
  DDX_Check(dx, IDC_FLAG, m_flag);
  DDX_Radio(dx, IDC_RADIO_A, m_radio);
  DDX_CBIndex(dx, IDC_KIND, m_kind);
  DDX_LBString(dx, IDC_ITEMS, m_item);
  DDX_Slider(dx, IDC_LEVEL, m_level);
}

BOOL CFieldsDialog::OnInitDialog() {
  CComboBox* kind = static_cast<CComboBox*>(GetDlgItem(IDC_KIND));
  for (LPCSTR k : {"alpha", "beta", "gamma"}) kind->AddString(k);
  CListBox* items = static_cast<CListBox*>(GetDlgItem(IDC_ITEMS));
  for (LPCSTR k : {"one", "two", "three"}) items->AddString(k);
  static_cast<CSliderCtrl*>(GetDlgItem(IDC_LEVEL))->SetRange(0, 50);
  return CDialog::OnInitDialog();
}

void Pump() { afxtest::Pump(theApp); }

CString TempFile(LPCSTR name) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  return CString(dir) + name;
}

CMainFrame* FrameworkUi::s_frame = NULL;

void FrameworkUi::SetUpTestSuite() {
  ASSERT_TRUE(AfxWinInit(GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOW));
  theApp.AddDocTemplate(new CTextTemplate(IDR_TEXTTYPE, RUNTIME_CLASS(CTextDoc), RUNTIME_CLASS(CChildFrame),
                                          RUNTIME_CLASS(CTextView)));
  theApp.AddDocTemplate(new CMultiDocTemplate(IDR_PICTURETYPE, RUNTIME_CLASS(CPictureDoc),
                                              RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CPictureView)));
  s_frame = new CMainFrame;
  ASSERT_TRUE(s_frame->LoadFrame(IDR_MAINFRAME));
  theApp.m_pMainWnd = s_frame;
  s_frame->MoveWindow(20, 20, 900, 640);
  s_frame->ShowWindow(SW_SHOW);
  s_frame->UpdateWindow();
  Pump();
}

void FrameworkUi::TearDownTestSuite() { afxtest::CloseFrame(theApp, s_frame); }

CDocTemplate* FrameworkUi::Template(int index) {
  POSITION pos = theApp.GetFirstDocTemplatePosition();
  CDocTemplate* t = theApp.GetNextDocTemplate(pos);
  while (index-- > 0) t = theApp.GetNextDocTemplate(pos);
  return t;
}
