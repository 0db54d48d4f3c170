// The test application of the bar, printing and help tests (test code, not product).
#include "bars_app.h"

#include "testprinter.h"
#include "testui.h"

std::string g_command;

IMPLEMENT_DYNCREATE(CPagesDoc, CDocument)
IMPLEMENT_DYNCREATE(CPagesView, CView)
IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CPagesView, CView)
  ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
END_MESSAGE_MAP()

void CPagesView::OnDraw(CDC* dc) {
  CString text;
  text.Format("A document of %u pages", GetPagesDoc()->m_nPages);
  dc->TextOut(20, 20, text);
}

BOOL CPagesView::OnPreparePrinting(CPrintInfo* info) {
  if (m_pDialog) {
    delete info->m_pPD;
    info->m_pPD = m_pDialog;
    m_pDialog = nullptr;
  }
  info->SetMaxPage(GetPagesDoc()->m_nPages);
  return DoPreparePrinting(info);
}

void CPagesView::OnPrint(CDC* dc, CPrintInfo* info) {
  // A frame around the printable area and the page's number an inch high.
  CRect area = info->m_rectDraw;
  int inch = dc->GetDeviceCaps(LOGPIXELSY);
  area.DeflateRect(inch / 4, inch / 4);
  dc->Rectangle(&area);
  CFont font;
  font.CreatePointFont(720, "Arial", dc);
  CFont* old = dc->SelectObject(&font);
  CString text;
  text.Format("Page %u", info->m_nCurPage);
  dc->TextOut(area.left + inch / 2, area.top + inch / 2, text);
  dc->SelectObject(old);
  if (!info->m_bPreview) {
    m_printed.push_back(info->m_nCurPage);
    if (m_onPrinted) m_onPrinted(info->m_nCurPage);
  }
}

// ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CProgressStatusBar, CStatusBar)
  ON_WM_SIZE()
END_MESSAGE_MAP()

CRect CProgressStatusBar::ProgressPlace() const {
  CRect pane;
  GetItemRect(CommandToIndex(ID_SEPARATOR), &pane);
  pane.DeflateRect(0, 2);
  pane.right = pane.left + pane.Width() / 3;
  return pane;
}

void CProgressStatusBar::StartProgress(int position) {
  if (!m_progress.m_hWnd) m_progress.Create(WS_CHILD, ProgressPlace(), this, 1);
  m_progress.SetRange(0, 100);
  m_progress.SetStep(1);
  m_progress.ShowWindow(SW_SHOW);
  m_progress.SetPos(position);
}

void CProgressStatusBar::OnSize(UINT type, int cx, int cy) {
  CStatusBar::OnSize(type, cx, cy);
  if (m_progress.m_hWnd) m_progress.MoveWindow(ProgressPlace());
}

// ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND_RANGE(ID_TOOL_RED, ID_TOOL_NAVY, OnTool)
  ON_UPDATE_COMMAND_UI(ID_TOOL_GREY, OnUpdateGrey)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_PAGES, OnUpdatePages)
  ON_NOTIFY(TBN_DROPDOWN, IDW_TOOLS2, OnDropDown)
END_MESSAGE_MAP()

namespace {
const DWORD kToolBarStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY;

BOOL MakeToolBar(CFrameWnd* frame, CToolBar& bar, UINT id, UINT resource, LPCSTR title) {
  if (!bar.CreateEx(frame, TBSTYLE_FLAT, kToolBarStyle, CRect(0, 0, 0, 0), id) || !bar.LoadToolBar(resource)) return FALSE;
  bar.SetWindowText(title);
  bar.EnableDocking(CBRS_ALIGN_ANY);
  return TRUE;
}
}  // namespace

int CMainFrame::OnCreate(LPCREATESTRUCT cs) {
  if (CMDIFrameWnd::OnCreate(cs) == -1) return -1;
  static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_PAGES, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
  if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 4)) return -1;
  if (!MakeToolBar(this, m_wndTools1, IDW_TOOLS1, IDR_TOOLS1, "Colours") ||
      !MakeToolBar(this, m_wndTools2, IDW_TOOLS2, IDR_TOOLS2, "Shades") ||
      !MakeToolBar(this, m_wndTools3, IDW_TOOLS3, IDR_TOOLS3, "Extras"))
    return -1;
  // The orange button opens a menu of its own from its arrow.
  m_wndTools2.SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS);
  m_wndTools2.SetButtonStyle(0, TBSTYLE_DROPDOWN);
  EnableDocking(CBRS_ALIGN_ANY);
  DockControlBar(&m_wndTools1, AFX_IDW_DOCKBAR_TOP);
  DockControlBar(&m_wndTools2, AFX_IDW_DOCKBAR_LEFT);
  DockControlBar(&m_wndTools3, AFX_IDW_DOCKBAR_TOP);
  return 0;
}

void CMainFrame::OnTool(UINT id) { g_command = "frame:" + std::to_string(id); }
void CMainFrame::OnUpdateGrey(CCmdUI* ui) { ui->Enable(FALSE); }
void CMainFrame::OnUpdatePages(CCmdUI* ui) { ui->SetText(m_pagesText); }

void CMainFrame::OnDropDown(NMHDR* header, LRESULT* result) {
  if (reinterpret_cast<NMTOOLBARA*>(header)->iItem == ID_TOOL_ORANGE) ++m_dropDowns;
  *result = TBDDRET_DEFAULT;
}

BEGIN_MESSAGE_MAP(COwnerFrame, CFrameWnd)
  ON_COMMAND_RANGE(ID_TOOL_RED, ID_TOOL_NAVY, OnTool)
END_MESSAGE_MAP()

void COwnerFrame::OnTool(UINT id) { g_command = "owner:" + std::to_string(id); }

BEGIN_MESSAGE_MAP(CDockFrame, CFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

int CDockFrame::OnCreate(LPCREATESTRUCT cs) {
  if (CFrameWnd::OnCreate(cs) == -1) return -1;
  static const UINT ids[] = {IDW_TOOLS1, IDW_TOOLS2, IDW_TOOLS3};
  static const UINT resources[] = {IDR_TOOLS1, IDR_TOOLS2, IDR_TOOLS3};
  static const LPCSTR titles[] = {"Colours", "Shades", "Extras"};
  EnableDocking(CBRS_ALIGN_ANY);
  for (int i = 0; i < 3; ++i) {
    if (!MakeToolBar(this, m_wndTools[i], ids[i], resources[i], titles[i])) return -1;
    DockControlBar(&m_wndTools[i], AFX_IDW_DOCKBAR_TOP);
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CBarsApp, CWinApp)
  ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
  ON_COMMAND(ID_FILE_PRINT_SETUP, CWinApp::OnFilePrintSetup)
  ON_COMMAND(ID_HELP, CWinApp::OnHelp)
  ON_COMMAND(ID_HELP_FINDER, CWinApp::OnHelpFinder)
END_MESSAGE_MAP()

CBarsApp theApp;

int CBarsApp::DoMessageBox(LPCSTR prompt, UINT type, UINT helpId) {
  if (!m_bRecordBoxes) return CWinApp::DoMessageBox(prompt, type, helpId);
  m_boxes.push_back(prompt);
  return IDOK;
}

void CBarsApp::WinHelp(DWORD_PTR data, UINT command) {
  if (!m_bRecordHelp) {
    CWinApp::WinHelp(data, command);
    return;
  }
  m_helpContexts.push_back(data);
}

void Pump() { afxtest::Pump(theApp); }

namespace {
struct PendingDialog {
  std::string caption;
  std::function<void(HWND)> action;
  DWORD deadline = 0;
  UINT_PTR timer = 0;
} g_pending;

const UINT kPollMs = 50;
const DWORD kGiveUpMs = 8000;

void CALLBACK PollForDialog(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = FindWindowA("#32770", g_pending.caption.c_str());
  if (!dialog && GetTickCount() < g_pending.deadline) return;
  KillTimer(NULL, g_pending.timer);
  g_pending.timer = 0;
  std::function<void(HWND)> action;
  action.swap(g_pending.action);
  if (dialog && action) action(dialog);
}
}  // namespace

void WhenDialogShows(LPCSTR caption, std::function<void(HWND)> action) {
  if (g_pending.timer) KillTimer(NULL, g_pending.timer);
  g_pending.caption = caption;
  g_pending.action = std::move(action);
  g_pending.deadline = GetTickCount() + kGiveUpMs;
  g_pending.timer = SetTimer(NULL, 0, kPollMs, PollForDialog);
}

void HoldForScreenshot() { afxtest::HoldForScreenshot(theApp); }

CRect RectIn(HWND wnd, HWND other) {
  CRect rect;
  GetWindowRect(wnd, &rect);
  MapWindowPoints(NULL, other, reinterpret_cast<LPPOINT>(&rect), 2);
  return rect;
}

CMainFrame* BarsUi::s_frame = NULL;

void BarsUi::SetUpTestSuite() {
  ASSERT_TRUE(AfxWinInit(GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOW));
  theApp.SetRegistryKey("OrvaneAfxBarsTest");
  std::string error;
  ASSERT_TRUE(orvtest::InstallFilePrinter(&error)) << error;
  theApp.AddDocTemplate(new CMultiDocTemplate(IDR_PAGESTYPE, RUNTIME_CLASS(CPagesDoc), RUNTIME_CLASS(CMDIChildWnd),
                                              RUNTIME_CLASS(CPagesView)));
  s_frame = new CMainFrame;
  ASSERT_TRUE(s_frame->LoadFrame(IDR_MAINFRAME));
  theApp.m_pMainWnd = s_frame;
  s_frame->MoveWindow(20, 20, 960, 700);
  s_frame->ShowWindow(SW_SHOW);
  s_frame->UpdateWindow();
  CRect frame;
  s_frame->GetWindowRect(&frame);
  s_frame->FloatControlBar(&s_frame->m_wndTools3, CPoint(frame.right - 220, frame.top + 140));
  s_frame->m_wndStatusBar.StartProgress(40);
  Pump();
}

void BarsUi::TearDownTestSuite() { afxtest::CloseFrame(theApp, s_frame); }

CPagesView* BarsUi::OpenPages(UINT pages) {
  POSITION pos = theApp.GetFirstDocTemplatePosition();
  CDocTemplate* pagesTemplate = theApp.GetNextDocTemplate(pos);
  CPagesDoc* doc = static_cast<CPagesDoc*>(pagesTemplate->OpenDocumentFile(NULL));
  if (!doc) return nullptr;
  doc->m_nPages = pages;
  Pump();
  POSITION viewPos = doc->GetFirstViewPosition();
  return static_cast<CPagesView*>(doc->GetNextView(viewPos));
}
