// The test application's documents, views and frames (test code, not product).
#include "sectest_app.h"

std::string g_who;

IMPLEMENT_DYNCREATE(CNoteDoc, CDocument)
IMPLEMENT_DYNCREATE(CNoteView, CView)
IMPLEMENT_DYNCREATE(CNoteDockFrame, SECDockableFrame)
IMPLEMENT_DYNCREATE(CMainFrame, SECWorkbook)

namespace {
const int kLaunchBarPixels = 85;
const int kButtonPaneWidth = 34;
const CSize kButtonSize(30, 13);
const int kUrlComboWidth = 220;
const int kUrlComboDropHeight = 160;
const CRect kMainFramePlace(10, 10, 1010, 730);
SECMultiDocTemplate* g_noteTemplate = NULL;
SECMultiDocTemplate* g_sketchTemplate = NULL;
}  // namespace

BOOL CNoteDoc::OnOpenDocument(LPCSTR path) {
  CFile file;
  if (!file.Open(path, CFile::modeRead)) return FALSE;
  char buffer[1024];
  UINT read = file.Read(buffer, sizeof buffer - 1);
  buffer[read] = '\0';
  m_strText = buffer;
  return TRUE;
}

BEGIN_MESSAGE_MAP(CNoteView, CView)
  ON_COMMAND(ID_TEST_WHO, OnWho)
END_MESSAGE_MAP()

void CNoteView::OnDraw(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, RGB(255, 255, 240));
  dc->SetBkMode(TRANSPARENT);
  CString text = GetDocument()->GetTitle() + ": " + GetNoteDoc()->m_strText;
  client.DeflateRect(8, 8);
  dc->DrawText(text, &client, DT_WORDBREAK | DT_NOPREFIX);
}

void CNoteView::OnWho() { g_who = LPCSTR(GetDocument()->GetTitle()); }

BOOL CNoteDockFrame::OnFirstDocking(SECDockPlacement& proposal) {
  proposal.m_nDockBarID = AFX_IDW_DOCKBAR_RIGHT;
  proposal.m_fSizeRatio = 1.0f;
  proposal.m_nPixels = 150;
  return TRUE;
}

// ---------------------------------------------------------------------------------------------

static const UINT g_toolBarNotify = SECCustomToolBar::GetNotifyMessage();

BEGIN_MESSAGE_MAP(CMainFrame, SECWorkbook)
  ON_WM_CREATE()
  ON_COMMAND(ID_WORKBOOK_MODE, OnToggleWorkbook)
  ON_COMMAND_RANGE(ID_PANE_TABLE, ID_PANE_LAUNCH, OnPaneButton)
  ON_COMMAND(ID_VIEW_LAUNCHBAR, OnViewLaunchBar)
  ON_REGISTERED_MESSAGE(g_toolBarNotify, OnToolBarNotify)
END_MESSAGE_MAP()

int CMainFrame::OnCreate(LPCREATESTRUCT cs) {
  if (SECWorkbook::OnCreate(cs) == -1) return -1;
  static const UINT indicators[] = {ID_PANE_LAUNCH, ID_PANE_TABLE, ID_SEPARATOR};
  if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 3)) return -1;
  // The buttons cover their panes, whose texts serve as the tips.
  m_wndStatusBar.SetPaneInfo(0, ID_PANE_LAUNCH, SBPS_NOBORDERS | SBPS_DISABLED, kButtonPaneWidth);
  m_wndStatusBar.SetPaneInfo(1, ID_PANE_TABLE, SBPS_NOBORDERS | SBPS_DISABLED, kButtonPaneWidth);
  m_wndStatusBar.EnablePaneTips();
  CRect button(CPoint(0, 0), kButtonSize);
  if (!m_btnLaunch.Create(&m_wndStatusBar, ID_PANE_LAUNCH, button, IDB_LAUNCHBUTTON, SECIB_FLAT) ||
      !m_btnTable.Create(&m_wndStatusBar, ID_PANE_TABLE, button, IDB_TABLEBUTTON, SECIB_FLAT))
    return -1;
  m_wndStatusBar.AddPaneControl(ID_PANE_LAUNCH, &m_btnLaunch, FALSE);
  m_wndStatusBar.AddPaneControl(ID_PANE_TABLE, &m_btnTable, FALSE);

  EnableDocking(CBRS_ALIGN_ANY);
  if (!m_wndLaunchBar.Create(this, "Launch", WS_CHILD | WS_VISIBLE | CBRS_LEFT, IDW_LAUNCHBAR)) return -1;
  m_wndLaunchBar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
  if (!m_wndLaunchList.Create(WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, CRect(0, 0, 0, 0), &m_wndLaunchBar, 401))
    return -1;
  for (LPCSTR item : {"Gallery", "Enhancer", "Browser"}) m_wndLaunchList.AddString(item);
  DockControlBarEx(&m_wndLaunchBar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 100.0f, kLaunchBarPixels);

  if (!m_wndUrlBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER, CRect(0, 0, 0, 0),
                            IDW_URLBAR) ||
      !m_wndUrlBar.SetButtons(NULL, 1))
    return -1;
  m_wndUrlBar.SetWindowText("Address");
  if (!m_wndUrlCombo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL, CRect(0, 0, kUrlComboWidth, kUrlComboDropHeight),
                            &m_wndUrlBar, IDC_URLCOMBO))
    return -1;
  m_wndUrlCombo.SetFont(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
  for (LPCSTR item : {"http://one.example/", "http://two.example/"}) m_wndUrlCombo.AddString(item);
  m_wndUrlBar.SetControl(0, &m_wndUrlCombo, kUrlComboWidth);
  m_wndUrlBar.EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
  DockControlBar(&m_wndUrlBar, AFX_IDW_DOCKBAR_TOP);

  // As the host does: the workbook mode from the settings, then the workspace manager.
  SetWorkbookMode(AfxGetApp()->GetProfileInt("Settings", "WorkbookMode", GetWorkbookMode()));
  if (!m_workspace.Create(this, TestWorkspaceKey())) return -1;
  return 0;
}

void CMainFrame::OnToggleWorkbook() {
  SECWorkbook::OnWorkbookMode();
  AfxGetApp()->WriteProfileInt("Settings", "WorkbookMode", GetWorkbookMode());
}

void CMainFrame::OnPaneButton(UINT id) {
  m_commands.push_back(id);
  if (id == ID_PANE_LAUNCH) OnViewLaunchBar();
}

void CMainFrame::OnViewLaunchBar() { ShowControlBar(&m_wndLaunchBar, !m_wndLaunchBar.IsVisible(), FALSE); }

LRESULT CMainFrame::OnToolBarNotify(WPARAM wParam, LPARAM) {
  m_notifications.emplace_back(LOWORD(wParam), HIWORD(wParam));
  return 0;
}

// ---------------------------------------------------------------------------------------------

void AddTestTemplates(CWinApp& app, BOOL withSketches) {
  g_noteTemplate = new SECMultiDocTemplate(IDR_NOTETYPE, RUNTIME_CLASS(CNoteDoc), RUNTIME_CLASS(SECWorksheet),
                                           RUNTIME_CLASS(CNoteView), RUNTIME_CLASS(CNoteDockFrame));
  app.AddDocTemplate(g_noteTemplate);
  if (!withSketches) return;
  g_sketchTemplate = new SECMultiDocTemplate(IDR_SKETCHTYPE, RUNTIME_CLASS(CNoteDoc), RUNTIME_CLASS(SECWorksheet),
                                             RUNTIME_CLASS(CNoteView), RUNTIME_CLASS(CNoteDockFrame));
  app.AddDocTemplate(g_sketchTemplate);
}

CString TestWorkspaceKey() {
  CWinApp* app = AfxGetApp();
  return CString("Software\\") + (app && app->m_pszRegistryKey ? app->m_pszRegistryKey : "") + "\\Workspace";
}

SECMultiDocTemplate* NoteTemplate() { return g_noteTemplate; }
SECMultiDocTemplate* SketchTemplate() { return g_sketchTemplate; }

CMainFrame* CreateTestMainFrame(CWinApp& app) {
  CMainFrame* frame = new CMainFrame;
  if (!frame->LoadFrame(IDR_MAINFRAME)) return nullptr;
  app.m_pMainWnd = frame;
  frame->MoveWindow(&kMainFramePlace);
  frame->ShowWindow(SW_SHOW);
  frame->UpdateWindow();
  return frame;
}
