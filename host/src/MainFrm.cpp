// The host's main frame (see MainFrm.h).
#include "MainFrm.h"


#include "ForgeApp.h"
#include "HostMenus.h"
#include "NXAbout.h"
#include "host/HostIds.h"

namespace {

const int kLaunchBarPixels = 85;
const float kLaunchBarPercent = 100.0f;
const int kShowMaximized = 3, kShowRestored = 1;

}  // namespace

IMPLEMENT_DYNCREATE(CMainFrame, SECWorkbook)

BEGIN_MESSAGE_MAP(CMainFrame, SECWorkbook)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_CLOSE()
  ON_WM_INITMENUPOPUP()
  ON_COMMAND(ID_VIEW_LAUNCHBAR, OnViewLaunchBar)
  ON_COMMAND(ID_PANE_LAUNCHBAR, OnViewLaunchBar)
  ON_UPDATE_COMMAND_UI(ID_VIEW_LAUNCHBAR, OnUpdateViewLaunchBar)
  ON_UPDATE_COMMAND_UI(ID_PANE_LAUNCHBAR, OnUpdateViewLaunchBar)
  ON_COMMAND(ID_VIEW_SLIDETABLE, OnViewSlideTable)
  ON_COMMAND(ID_PANE_SLIDETABLE, OnViewSlideTable)
  ON_UPDATE_COMMAND_UI(ID_VIEW_SLIDETABLE, OnUpdateViewSlideTable)
  ON_UPDATE_COMMAND_UI(ID_PANE_SLIDETABLE, OnUpdateViewSlideTable)
  ON_COMMAND(ID_LAUNCH_ADD, OnLaunchAdd)
  ON_UPDATE_COMMAND_UI(ID_LAUNCH_ADD, OnUpdateLaunchAdd)
  ON_COMMAND(ID_LAUNCH_REMOVE, OnLaunchRemove)
  ON_UPDATE_COMMAND_UI(ID_LAUNCH_REMOVE, OnUpdateLaunchRemove)
  ON_COMMAND_RANGE(ID_LAUNCH_LARGEICONS, ID_LAUNCH_SMALLICONS, OnIconSize)
  ON_UPDATE_COMMAND_UI_RANGE(ID_LAUNCH_LARGEICONS, ID_LAUNCH_SMALLICONS, OnUpdateIconSize)
  ON_COMMAND(ID_WORKBOOK_MODE, OnWorkbook)
  ON_UPDATE_COMMAND_UI(ID_WORKBOOK_MODE, OnUpdateWorkbookMode)
  ON_COMMAND_RANGE(ID_LAUNCH_ITEM_FIRST, ID_LAUNCH_ITEM_LAST, OnLaunchItem)
  ON_UPDATE_COMMAND_UI_RANGE(ID_LAUNCH_ITEM_FIRST, ID_LAUNCH_ITEM_LAST, OnUpdateLaunchItem)
  ON_COMMAND_RANGE(ID_HELP_ENTRY_FIRST, ID_HELP_ENTRY_LAST, OnHelpEntry)
  ON_COMMAND(ID_HELP_CONTACT, OnHelpContact)
  ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
  ON_MESSAGE(NXM_OPENFROMINSTANCE, OnOpenFromInstance)
  ON_MESSAGE(NXM_OPENATSTART, OnOpenAtStart)
  ON_MESSAGE(NXM_OPENPENDING, OnOpenPending)
  ON_MESSAGE(NXM_PROGRESS, OnProgress)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : m_nShowCmd(0) {}

CMainFrame::~CMainFrame() {}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!SECWorkbook::PreCreateWindow(cs)) return FALSE;
  // The class other instances look for: "<application name>Class".
  CString name = CString(AfxGetAppName()) + "Class";
  static CString registered;
  if (registered != name) {
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hCursor = ::LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return FALSE;
    registered = name;
  }
  cs.lpszClass = registered;
  return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs) {
  if (SECWorkbook::OnCreate(cs) == -1) return -1;
  // The message pane and the two button panes (510, 509), with tips and the progress of NXM_PROGRESS.
  if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM | CBRS_TOOLTIPS | CBRS_FLYBY)) return -1;

  EnableDocking(CBRS_ALIGN_ANY);
  CString caption;
  caption.LoadString(IDS_LAUNCHBAR_CAPTION);
  if (!m_wndLaunchBar.Create(this, caption, WS_CHILD | WS_VISIBLE | CBRS_LEFT | CBRS_TOOLTIPS, IDW_LAUNCHBAR)) return -1;
  m_wndLaunchBar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
  if (!m_launchBar.Create(&m_wndLaunchBar, &GetForgeApp()->GetLaunchItems())) return -1;
  m_launchBar.GetList().RegisterDropTarget();
  DockControlBarEx(&m_wndLaunchBar, AFX_IDW_DOCKBAR_LEFT, 0, 0, kLaunchBarPercent, kLaunchBarPixels);

  SetWorkbookMode(AfxGetApp()->GetProfileInt(ORV_SETTINGS_SECTION, "WorkbookMode", GetWorkbookMode()));
  if (!m_workspace.Create(this, ORV_WORKSPACE_KEY)) return -1;
  m_workspace.SetAutoSaveWorkspace("Current");
  return 0;
}

void CMainFrame::OnSize(UINT type, int cx, int cy) {
  SECWorkbook::OnSize(type, cx, cy);
  if (!IsWindowVisible()) return;
  if (type == SIZE_MAXIMIZED) m_nShowCmd = kShowMaximized;
  if (type == SIZE_RESTORED) m_nShowCmd = kShowRestored;
}

void CMainFrame::OnClose() {
  // Each child's document may refuse; the others stay open then.
  while (CMDIChildWnd* child = MDIGetActive()) {
    CDocument* doc = child->GetActiveDocument();
    if (doc && !doc->SaveModified()) return;
    child->SendMessage(WM_CLOSE);
    if (MDIGetActive() == child) return;
  }
  ShowWindow(SW_HIDE);
  SECWorkbook::OnClose();
}

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam);
  if (id >= ID_CHILD_FIRST && id <= ID_CHILD_LAST && HIWORD(wParam) == 0 && lParam == 0) {
    if (CWnd* descendant = GetDescendantWindow(id, FALSE)) {
      CMDIChildWnd* child = dynamic_cast<CMDIChildWnd*>(descendant);
      if (child)
        MDIActivate(child);
      else
        descendant->SetFocus();
    }
  }
  // A menu command of an embedded server whose menu is merged into the frame's goes to the server.
  // The menus as they are now (the host's launch-item and Help popups are filled as they open).
  m_menuSplitter.SetMenus(m_hMenuDefault, ::GetMenu(m_hWnd));
  if (lParam == 0 && !m_menuSplitter.IsHostCommand(id)) {
    if (HWND server = InPlaceServerWindow()) {
      ::PostMessageA(server, WM_COMMAND, wParam, lParam);
      return TRUE;
    }
  }
  return SECWorkbook::OnCommand(wParam, lParam);
}

HWND CMainFrame::InPlaceServerWindow() {
  if (!m_hMenuDefault || ::GetMenu(m_hWnd) == m_hMenuDefault) return NULL;
  CMDIChildWnd* child = MDIGetActive();
  COleDocument* doc = child ? dynamic_cast<COleDocument*>(child->GetActiveDocument()) : NULL;
  COleClientItem* item = doc ? doc->GetInPlaceActiveItem(child) : NULL;
  CWnd* window = item ? item->GetInPlaceWindow() : NULL;
  return window ? window->m_hWnd : NULL;
}

void CMainFrame::OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu) {
  if (!sysMenu && popup) {
    UINT first = ::GetMenuItemID(popup->m_hMenu, 0);
    if (first == ID_HELP_ENTRY_FIRST) FillHelpMenu(popup->m_hMenu);
    if (first == ID_LAUNCH_LARGEICONS) FillLaunchMenu(popup->m_hMenu, GetForgeApp()->GetLaunchItems());
  }
  SECWorkbook::OnInitMenuPopup(popup, index, sysMenu);
}

void CMainFrame::OnViewLaunchBar() { ShowControlBar(&m_wndLaunchBar, !m_wndLaunchBar.IsVisible(), FALSE); }

void CMainFrame::OnUpdateViewLaunchBar(CCmdUI* ui) { ui->SetCheck(m_wndLaunchBar.IsVisible()); }

void CMainFrame::OnViewSlideTable() {
  cForgeApp* app = GetForgeApp();
  app->ShowSlideTable(!app->IsSlideTableVisible());
}

void CMainFrame::OnUpdateViewSlideTable(CCmdUI* ui) { ui->SetCheck(GetForgeApp()->IsSlideTableVisible()); }

void CMainFrame::OnLaunchAdd() { m_launchBar.PromptAddItem(-1); }

void CMainFrame::OnUpdateLaunchAdd(CCmdUI* ui) { ui->Enable(GetForgeApp()->GetLaunchItems().CanAdd()); }

void CMainFrame::OnLaunchRemove() {
  // The removable items in a menu at the pointer; the one chosen goes.
  cLaunchItemList& items = GetForgeApp()->GetLaunchItems();
  CMenu menu;
  menu.CreatePopupMenu();
  int index = 0;
  for (POSITION pos = items.GetHeadPosition(); pos; ++index) {
    cLaunchItem* item = static_cast<cLaunchItem*>(items.GetNext(pos));
    if (!item->IsPermanent()) menu.AppendMenu(MF_STRING, ID_LAUNCH_ITEM_FIRST + index, item->GetLabel());
  }
  CPoint point;
  ::GetCursorPos(&point);
  UINT chosen = ::TrackPopupMenu(menu.m_hMenu, TPM_RETURNCMD, point.x, point.y, 0, m_hWnd, NULL);
  if (chosen >= ID_LAUNCH_ITEM_FIRST) m_launchBar.RemoveItem(items.GetItem(int(chosen - ID_LAUNCH_ITEM_FIRST)));
}

void CMainFrame::OnUpdateLaunchRemove(CCmdUI* ui) { ui->Enable(GetForgeApp()->GetLaunchItems().HasRemovable()); }

void CMainFrame::OnIconSize(UINT id) { m_launchBar.SetIconState(id == ID_LAUNCH_LARGEICONS); }

void CMainFrame::OnUpdateIconSize(CCmdUI* ui) {
  ui->SetCheck((ui->m_nID == ID_LAUNCH_LARGEICONS) == bool(m_launchBar.GetIconState()));
}

void CMainFrame::OnWorkbook() {
  SECWorkbook::OnWorkbookMode();
  AfxGetApp()->WriteProfileInt(ORV_SETTINGS_SECTION, "WorkbookMode", GetWorkbookMode());
  SetWorkbookMode(GetWorkbookMode());
}

void CMainFrame::OnLaunchItem(UINT id) { m_launchBar.LaunchItem(int(id - ID_LAUNCH_ITEM_FIRST)); }

void CMainFrame::OnUpdateLaunchItem(CCmdUI* ui) { ui->Enable(TRUE); }

void CMainFrame::OnHelpEntry(UINT id) {
  SECRegistry help;
  CStringArray names;
  CString file;
  INT_PTR index = INT_PTR(id - ID_HELP_ENTRY_FIRST);
  if (!help.Open(HKEY_CURRENT_USER, ORV_HELP_KEY) || !help.GetValueNames(names) || index >= names.GetSize() ||
      !help.QueryValue(names[index], file)) {
    AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP, MB_ICONEXCLAMATION);
    return;
  }
  CString path = GetForgeApp()->GetProgramFolder() + "\\" + file;
  LPCSTR saved = AfxGetApp()->m_pszHelpFilePath;
  AfxGetApp()->m_pszHelpFilePath = path;
  AfxGetApp()->HtmlHelp(0, ORV_HH_DISPLAY_TOPIC);
  AfxGetApp()->m_pszHelpFilePath = saved;
}

void CMainFrame::OnHelpContact() {
  cLaunchItem* browser = GetForgeApp()->GetLaunchItems().FindByLocator(ORV_BROWSER_PROGID);
  if (!browser || !browser->IsAvailable()) {
    AfxMessageBox(IDS_ITEM_UNAVAILABLE, MB_ICONEXCLAMATION);
    return;
  }
  CString address;
  address.LoadString(IDS_CONTACT_ADDRESS);
  if (address.Left(1) == "*") address = GetForgeApp()->GetProgramFolder() + address.Mid(1);
  CString saved = browser->GetDocumentPath();
  browser->SetDocumentPath(address);
  browser->Launch(TRUE);
  browser->SetDocumentPath(saved);
}

void CMainFrame::OnAppAbout() {
  CString text, release;
  text.LoadString(IDS_ABOUT_TEXT);
  SECRegistry version;
  if (version.Open(HKEY_CURRENT_USER, ORV_VERSION_KEY)) version.QueryValue("ReleaseNumber", release);
  NXAboutBox(m_hWnd, AfxGetAppName(), text, release);
}

LRESULT CMainFrame::OnOpenFromInstance(WPARAM wParam, LPARAM lParam) {
  HANDLE sender = ::OpenProcess(PROCESS_ALL_ACCESS, TRUE, DWORD(wParam));
  if (!sender) return 0;
  HANDLE mapping = NULL;
  if (::DuplicateHandle(sender, HANDLE(lParam), ::GetCurrentProcess(), &mapping, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    if (LPCSTR view = static_cast<LPCSTR>(::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0))) {
      // The name ends inside the mapping, or at its end.
      MEMORY_BASIC_INFORMATION region = {};
      ::VirtualQuery(view, &region, sizeof region);
      size_t size = region.RegionSize ? region.RegionSize : MAX_PATH;
      CString name(view, int(strnlen(view, size)));
      ::UnmapViewOfFile(view);
      if (!name.IsEmpty()) GetForgeApp()->AddPending(name);
    }
    ::CloseHandle(mapping);
  }
  ::CloseHandle(sender);
  return 0;
}

LRESULT CMainFrame::OnOpenAtStart(WPARAM, LPARAM lParam) {
  if (lParam) GetForgeApp()->OpenAtStart(reinterpret_cast<LPCSTR>(lParam));
  return 0;
}

LRESULT CMainFrame::OnOpenPending(WPARAM, LPARAM) {
  GetForgeApp()->OpenPending();
  return 0;
}

LRESULT CMainFrame::OnProgress(WPARAM, LPARAM lParam) {
  m_wndStatusBar.SetProgress(int(lParam));
  return 0;
}
