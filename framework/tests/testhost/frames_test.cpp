// The component frames and bars driven through the test host: the status bar's panes, buttons and progress,
// one frame helper per component and its end, the bars following the active component and a docked window,
// the saved bar state, the keyboard context menu, the show state in the host's settings, and sending a
// document as a postcard.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "comkit/module_files.h"
#include "fwtest_classes.h"
#include "fwtest_ids.h"
#include "framework/NXComponentDoc.h"
#include "host_app.h"
#include "testui.h"

namespace fwtest {
namespace {

typedef std::vector<UINT> Ids;

Ids PaneIds(cNXStatusBar& bar) {
  Ids ids;
  for (int i = 0; i < bar.GetCount(); ++i) {
    UINT id, style;
    int width;
    bar.GetPaneInfo(i, id, style, width);
    ids.push_back(id);
  }
  return ids;
}

// Whether the main frame has bar id and shows it (after the delayed layout ran).
bool BarShown(CFrameWnd* frame, UINT id) {
  CControlBar* bar = frame->GetControlBar(id);
  return bar && (bar->GetStyle() & WS_VISIBLE);
}

CString ShortPath(LPCSTR path) {
  char shortPath[MAX_PATH];
  DWORD n = GetShortPathNameA(path, shortPath, MAX_PATH);
  return n > 0 && n < MAX_PATH ? CString(shortPath) : CString(path);
}

const Ids kDefaultPanes = {ID_NX_PANE_LAUNCHBAR, ID_NX_PANE_SLIDETABLE, 0};
const Ids kPanesA = {ID_NX_PANE_LAUNCHBAR, ID_NX_PANE_SLIDETABLE, 0, ID_FWTEST_PANE_A};
const Ids kPanesB = {ID_NX_PANE_LAUNCHBAR, ID_NX_PANE_SLIDETABLE, 0, ID_FWTEST_PANE_B1, ID_FWTEST_PANE_B2};

TEST_F(HostTest, TheStatusBarKeepsItsButtonPanesInFrontOfTheComponentsPanes) {
  cNXStatusBar& bar = s_frame->m_wndStatusBar;
  bar.SetPanes(NULL, 0);
  EXPECT_EQ(kDefaultPanes, PaneIds(bar));
  EXPECT_TRUE(bar.GetPaneStyle(2) & SBPS_STRETCH);
  CString tip;
  ASSERT_TRUE(bar.GetPaneTipText(0, tip));
  EXPECT_STREQ("Shows or hides the launch bar", tip);

  // The buttons sit in their panes and send their commands to the main frame.
  s_frame->m_paneCommands.clear();
  for (UINT pane : {ID_NX_PANE_SLIDETABLE, ID_NX_PANE_LAUNCHBAR}) {
    SECImageButton* button = bar.GetPaneButton(pane);
    ASSERT_NE(nullptr, button);
    CRect rect, paneRect;
    button->GetWindowRect(&rect);
    bar.ScreenToClient(&rect);
    bar.GetItemRect(bar.CommandToIndex(pane), &paneRect);
    EXPECT_EQ(CSize(cNXStatusBar::kButtonWidth, cNXStatusBar::kButtonHeight), rect.Size());
    EXPECT_TRUE(paneRect.PtInRect(rect.CenterPoint())) << pane;
    EXPECT_TRUE(button->IsWindowVisible());
    button->SendMessage(BM_CLICK);
    PumpHost();
  }
  EXPECT_EQ((Ids{ID_NX_PANE_SLIDETABLE, ID_NX_PANE_LAUNCHBAR}), s_frame->m_paneCommands);

  // A component's panes follow the buttons, whose panes keep what they had; the array set last time is
  // not set again; an array that starts with the buttons is taken as it is.
  static const UINT panesA[] = {ID_SEPARATOR, ID_FWTEST_PANE_A};
  static const UINT panesB[] = {ID_NX_PANE_LAUNCHBAR, ID_NX_PANE_SLIDETABLE, ID_SEPARATOR, ID_FWTEST_PANE_B1,
                                ID_FWTEST_PANE_B2};
  const int wide = 50;
  bar.SetPaneInfo(0, ID_NX_PANE_LAUNCHBAR, SBPS_NOBORDERS, wide);
  bar.SetPanes(panesA, 2);
  EXPECT_EQ(kPanesA, PaneIds(bar));
  UINT id, style;
  int width;
  bar.GetPaneInfo(0, id, style, width);
  EXPECT_EQ(wide, width);
  EXPECT_EQ(UINT(SBPS_NOBORDERS), style);
  EXPECT_TRUE(bar.GetPaneStyle(2) & SBPS_STRETCH);
  bar.SetPaneInfo(3, ID_FWTEST_PANE_A, SBPS_NORMAL, 77);
  bar.SetPanes(panesA, 2);
  bar.GetPaneInfo(3, id, style, width);
  EXPECT_EQ(77, width);
  bar.SetPanes(panesB, 5);
  EXPECT_EQ(kPanesB, PaneIds(bar));
  bar.SetPaneInfo(0, ID_NX_PANE_LAUNCHBAR, SBPS_NOBORDERS | SBPS_DISABLED, cNXStatusBar::kButtonPaneWidth);
  bar.SetPanes(NULL, 0);
  EXPECT_EQ(kDefaultPanes, PaneIds(bar));
}

TEST_F(HostTest, ProgressShowsInTheMessagePaneMovesHidesAndWaitsForAVisibleMainWindow) {
  cNXStatusBar& bar = s_frame->m_wndStatusBar;
  bar.SetPanes(NULL, 0);
  // Nothing while the main window is hidden.
  s_frame->ShowWindow(SW_HIDE);
  bar.SendMessage(NXM_PROGRESS, 0, 0);
  EXPECT_TRUE(bar.GetProgressCtrl() == nullptr || !bar.GetProgressCtrl()->IsWindowVisible());
  s_frame->ShowWindow(SW_SHOW);
  PumpHost();

  bar.SendMessage(NXM_PROGRESS, 0, 0);
  CProgressCtrl* progress = bar.GetProgressCtrl();
  ASSERT_NE(nullptr, progress);
  EXPECT_TRUE(progress->IsWindowVisible());
  EXPECT_EQ(0, progress->GetPos());
  CRect pane, rect;
  bar.GetItemRect(bar.CommandToIndex(0), &pane);
  progress->GetWindowRect(&rect);
  bar.ScreenToClient(&rect);
  EXPECT_EQ(CRect(pane.left, pane.top + 2, pane.left + pane.Width() / 3, pane.bottom - 2), rect);
  bar.SendMessage(NXM_PROGRESS, 0, 40);
  EXPECT_EQ(40, progress->GetPos());
  EXPECT_TRUE(progress->IsWindowVisible());
  bar.SendMessage(NXM_PROGRESS, 0, 100);
  EXPECT_FALSE(progress->IsWindowVisible());
  s_frame->ShowWindow(SW_HIDE);
  bar.SendMessage(NXM_PROGRESS, 0, 0);
  EXPECT_FALSE(progress->IsWindowVisible());
  s_frame->ShowWindow(SW_SHOW);
  PumpHost();

  // A resized bar puts the control in the pane's new place, hidden.
  bar.SendMessage(NXM_PROGRESS, 0, 0);
  CRect frameRect;
  s_frame->GetWindowRect(&frameRect);
  s_frame->MoveWindow(frameRect.left, frameRect.top, frameRect.Width() - 100, frameRect.Height());
  PumpHost();
  EXPECT_FALSE(progress->IsWindowVisible());
  bar.GetItemRect(bar.CommandToIndex(0), &pane);
  progress->GetWindowRect(&rect);
  bar.ScreenToClient(&rect);
  EXPECT_EQ(pane.left + pane.Width() / 3, rect.right);
  s_frame->MoveWindow(&frameRect);
  PumpHost();
}

TEST_F(HostTest, AComponentsWindowsShareOneHelperThatGoesWithTheLast) {
  HostedComponent a(CLSID_FwTestA);
  ASSERT_TRUE(a.Load());
  CDocument* first = a.Open();
  CDocument* second = a.Open();
  ASSERT_NE(nullptr, first);
  ASSERT_NE(nullptr, second);
  cNXFrameHelper* helper = a.Component()->GetFrameHelper();
  ASSERT_NE(nullptr, helper);
  cNXChildWnd* frames[2] = {dynamic_cast<cNXChildWnd*>(FrameOf(first)), dynamic_cast<cNXChildWnd*>(FrameOf(second))};
  for (cNXChildWnd* frame : frames) {
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(helper, frame->GetFrameHelper());
    EXPECT_EQ(a.Component(), frame->GetComponent());
  }
  EXPECT_EQ(2, helper->GetFrameCount());
  EXPECT_EQ(s_frame, helper->GetDockingFrame());
  EXPECT_EQ(frames[1], helper->GetParentFrame());
  EXPECT_EQ(frames[1], s_frame->GetControlBar(IDW_FWTESTA_TOOLBAR)->GetOwner());
  EXPECT_TRUE(BarShown(s_frame, IDW_FWTESTA_TOOLBAR));
  EXPECT_TRUE(BarShown(s_frame, IDW_FWTESTA_TOOLBAR2));
  EXPECT_EQ(kPanesA, PaneIds(s_frame->m_wndStatusBar));
  // The second bar was docked beside the first, in its row.
  CRect left, right;
  s_frame->GetControlBar(IDW_FWTESTA_TOOLBAR)->GetWindowRect(&left);
  s_frame->GetControlBar(IDW_FWTESTA_TOOLBAR2)->GetWindowRect(&right);
  EXPECT_EQ(left.top, right.top);
  EXPECT_GE(right.left, left.right - 2);

  // A button of the component's bar reaches the active frame's view.
  CToolBar* tools = static_cast<CToolBar*>(s_frame->GetControlBar(IDW_FWTESTA_TOOLBAR));
  EXPECT_TRUE(tools->SendMessage(TB_ISBUTTONENABLED, ID_FWTEST_DETAILS));
  ::SendMessageA(tools->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_FWTEST_DETAILS, BN_CLICKED), LPARAM(tools->m_hWnd));
  PumpHost();
  EXPECT_EQ(ID_FWTEST_DETAILS, a.Component()->GetProfileInt("Commands", "Last", 0));

  frames[0]->SendMessage(WM_CLOSE);
  PumpHost();
  EXPECT_EQ(helper, a.Component()->GetFrameHelper());
  EXPECT_EQ(1, helper->GetFrameCount());
  EXPECT_TRUE(BarShown(s_frame, IDW_FWTESTA_TOOLBAR));

  frames[1]->SendMessage(WM_CLOSE);
  PumpHost();
  EXPECT_EQ(nullptr, a.Component()->GetFrameHelper());
  EXPECT_EQ(nullptr, s_frame->GetControlBar(IDW_FWTESTA_TOOLBAR));
  EXPECT_EQ(nullptr, s_frame->GetControlBar(IDW_FWTESTA_TOOLBAR2));
  EXPECT_EQ(kDefaultPanes, PaneIds(s_frame->m_wndStatusBar));
}

TEST_F(HostTest, SwitchingComponentsSwapsTheirBarsAndTheSavedStateKeepsTheHiddenOnesVisible) {
  HostedComponent a(CLSID_FwTestA), b(CLSID_FwTestB);
  ASSERT_TRUE(a.Load());
  ASSERT_TRUE(b.Load());
  CDocument* docA = a.Open();
  ASSERT_NE(nullptr, docA);
  // The user hides one of A's bars; it stays hidden through the switches.
  s_frame->ShowControlBar(s_frame->GetControlBar(IDW_FWTESTA_TOOLBAR2), FALSE, FALSE);
  CDocument* docB = b.Open();
  ASSERT_NE(nullptr, docB);
  s_frame->MDITile();
  PumpHost();
  struct Step {
    CDocument* doc;
    bool a1, a2, b1;
    Ids panes;
  } steps[] = {
      {docB, false, false, true, kPanesB},
      {docA, true, false, false, kPanesA},
      {docB, false, false, true, kPanesB},
  };
  for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
    const Step& step = steps[i];
    if (i > 0) s_frame->MDIActivate(FrameOf(step.doc));
    PumpHost();
    EXPECT_EQ(step.a1, BarShown(s_frame, IDW_FWTESTA_TOOLBAR)) << i;
    EXPECT_EQ(step.a2, BarShown(s_frame, IDW_FWTESTA_TOOLBAR2)) << i;
    EXPECT_EQ(step.b1, BarShown(s_frame, IDW_FWTESTB_TOOLBAR)) << i;
    EXPECT_EQ(step.panes, PaneIds(s_frame->m_wndStatusBar)) << i;
    afxtest::HoldForScreenshot(theHostApp);
  }

  // A's window closes while B is active: A's first bar is saved as shown, the one the user hid as hidden.
  FrameOf(docA)->SendMessage(WM_CLOSE);
  PumpHost();
  int count = int(theHostApp.GetProfileInt("FwTestA-Summary", "Bars", -1));
  ASSERT_GT(count, 0);
  int found = 0;
  for (int i = 0; i < count; ++i) {
    CString section;
    section.Format("FwTestA-Bar%d", i);
    UINT id = theHostApp.GetProfileInt(section, "BarID", 0);
    if (id == IDW_FWTESTA_TOOLBAR || id == IDW_FWTESTA_TOOLBAR2) {
      ++found;
      EXPECT_EQ(id == IDW_FWTESTA_TOOLBAR ? 1u : 0u, theHostApp.GetProfileInt(section, "Visible", -1)) << id;
    }
    // Only A's bars and the dock bars holding them are A's to save.
    EXPECT_NE(UINT(IDW_FWTESTB_TOOLBAR), id);
  }
  EXPECT_EQ(2, found);
  EXPECT_TRUE(BarShown(s_frame, IDW_FWTESTB_TOOLBAR));
}

TEST_F(HostTest, TheComponentsBarsComeBackAsTheUserLeftThem) {
  HostedComponent a(CLSID_FwTestA);
  ASSERT_TRUE(a.Load());
  for (bool shown : {false, true}) {
    CDocument* doc = a.Open();
    ASSERT_NE(nullptr, doc);
    s_frame->ShowControlBar(s_frame->GetControlBar(IDW_FWTESTA_TOOLBAR2), shown, FALSE);
    FrameOf(doc)->SendMessage(WM_CLOSE);
    PumpHost();
    ASSERT_EQ(nullptr, s_frame->GetControlBar(IDW_FWTESTA_TOOLBAR2));
    // The component's next window finds them as they were.
    doc = a.Open();
    ASSERT_NE(nullptr, doc);
    EXPECT_TRUE(BarShown(s_frame, IDW_FWTESTA_TOOLBAR));
    EXPECT_EQ(shown, BarShown(s_frame, IDW_FWTESTA_TOOLBAR2));
    FrameOf(doc)->SendMessage(WM_CLOSE);
    PumpHost();
  }
}

TEST_F(HostTest, AnActiveDockedWindowHidesTheActiveChildsBarsUntilItLosesTheActivation) {
  HostedComponent a(CLSID_FwTestA), b(CLSID_FwTestB);
  ASSERT_TRUE(a.Load());
  ASSERT_TRUE(b.Load());
  CDocument* docB = b.Open();
  ASSERT_NE(nullptr, docB);
  EXPECT_TRUE(BarShown(s_frame, IDW_FWTESTB_TOOLBAR));
  SECMultiDocTemplate* templateA = dynamic_cast<SECMultiDocTemplate*>(a->GetDocTemplate());
  ASSERT_NE(nullptr, templateA);
  a->ActivateResources();
  CDocument* docA = templateA->OpenDocumentFile(NULL, TRUE, TRUE);
  ASSERT_NE(nullptr, docA);
  PumpHost();
  cNXDockableFrame* docked = dynamic_cast<cNXDockableFrame*>(FrameOf(docA));
  ASSERT_NE(nullptr, docked);
  EXPECT_EQ(docked, s_frame->GetActiveDockableFrame());
  EXPECT_FALSE(BarShown(s_frame, IDW_FWTESTB_TOOLBAR));
  // Hidden for the switch only: the tool bar still counts as shown (view menu, saved state).
  CControlBar* barB = s_frame->GetControlBar(IDW_FWTESTB_TOOLBAR);
  EXPECT_EQ(UINT(CControlBar::tempHide | NXBAR_SWITCHHIDDEN),
            barB->m_nStateFlags & (CControlBar::tempHide | NXBAR_SWITCHHIDDEN));
  EXPECT_TRUE(barB->IsVisible());
  // The docked window is its helper's docking frame; its bars dock in it.
  ASSERT_NE(nullptr, docked->GetFrameHelper());
  EXPECT_EQ(docked, docked->GetFrameHelper()->GetDockingFrame());
  EXPECT_TRUE(BarShown(docked, IDW_FWTESTA_TOOLBAR));

  // Its window and bar, its status texts from A's resources, mnemonics for the main menu.
  EXPECT_TRUE(docked->GetStyle() & WS_BORDER);
  EXPECT_FALSE(docked->GetStyle() & (WS_DLGFRAME | WS_MAXIMIZEBOX));
  cNXDockableBar* bar = dynamic_cast<cNXDockableBar*>(docked->GetDockingBar());
  ASSERT_NE(nullptr, bar);
  // Its borders are the dock bar's to set once docked; the tips and the missing bottom border stay.
  EXPECT_TRUE(bar->GetBarStyle() & CBRS_TOOLTIPS);
  EXPECT_FALSE(bar->GetBarStyle() & CBRS_BORDER_BOTTOM);
  CString text;
  docked->GetMessageString(ID_FWTEST_THUMBNAILS, text);
  EXPECT_STREQ("Shows thumbnails", text);
  EXPECT_EQ(CWnd::FromHandle(s_frame->m_wndStatusBar.m_hWnd), docked->GetMessageBar());
  MSG queued;
  while (PeekMessageA(&queued, s_frame->m_hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) {
  }
  EXPECT_EQ(0x10000, docked->SendMessage(WM_MENUCHAR, MAKEWPARAM('f', MF_POPUP), 0));
  ASSERT_TRUE(PeekMessageA(&queued, s_frame->m_hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
  EXPECT_EQ(WPARAM(SC_KEYMENU), queued.wParam);
  EXPECT_EQ(LPARAM('f'), queued.lParam);

  // A click into the MDI child takes the activation back, and B's bars with it.
  FrameOf(docB)->SendMessage(WM_MOUSEACTIVATE, WPARAM(s_frame->m_hWnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  PumpHost();
  EXPECT_EQ(nullptr, s_frame->GetActiveDockableFrame());
  EXPECT_TRUE(BarShown(s_frame, IDW_FWTESTB_TOOLBAR));
  EXPECT_EQ(0u, barB->m_nStateFlags & (CControlBar::tempHide | NXBAR_SWITCHHIDDEN));
  EXPECT_EQ(kPanesB, PaneIds(s_frame->m_wndStatusBar));

  // Its bar's close box closes the docked window, and A's helper with it.
  bar->OnCloseBox();
  PumpHost();
  EXPECT_EQ(nullptr, a.Component()->GetFrameHelper());
  POSITION pos = a->GetDocTemplate()->GetFirstDocPosition();
  EXPECT_EQ(nullptr, pos);
  EXPECT_TRUE(BarShown(s_frame, IDW_FWTESTB_TOOLBAR));
}

HWND g_menuOwner = NULL;
CRect g_menuRect;
void CALLBACK MeasureMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(NULL, timer);
  HWND menu = FindWindowA("#32768", NULL);
  if (menu) GetWindowRect(menu, &g_menuRect);
  EndMenu();
}

TEST_F(HostTest, AKeyboardContextMenuOpensFivePixelsInsideTheHelpersClientArea) {
  HostedComponent a(CLSID_FwTestA);
  ASSERT_TRUE(a.Load());
  CDocument* doc = a.Open();
  ASSERT_NE(nullptr, doc);
  cNXFrameHelper* helper = a.Component()->GetFrameHelper();
  ASSERT_NE(nullptr, helper);
  // The helper is a hidden frame of its own.
  EXPECT_FALSE(helper->IsWindowVisible());
  EXPECT_EQ(DWORD(WS_CAPTION), helper->GetStyle() & WS_CAPTION);
  EXPECT_EQ(nullptr, helper->GetParent());
  CPoint inside(5, 5);
  ::ClientToScreen(helper->m_hWnd, &inside);
  struct Case {
    CPoint request, at;
  } cases[] = {{CPoint(-1, -1), inside}, {CPoint(300, 200), CPoint(300, 200)}};
  for (const Case& c : cases) {
    g_menuRect.SetRectEmpty();
    SetTimer(NULL, 0, 300, &MeasureMenu);
    FrameOf(doc)->SendMessage(WM_CONTEXTMENU, WPARAM(FrameOf(doc)->m_hWnd), MAKELPARAM(c.request.x, c.request.y));
    EXPECT_FALSE(g_menuRect.IsRectEmpty());
    EXPECT_EQ(c.at, g_menuRect.TopLeft()) << c.request.x;
  }
}

TEST_F(HostTest, TheChildAnswersTheMainFramesBarCommandsAndSendsHelpToTheComponentsHelpFile) {
  HostedComponent a(CLSID_FwTestA);
  ASSERT_TRUE(a.Load());
  CDocument* doc = a.Open();
  ASSERT_NE(nullptr, doc);
  CFrameWnd* frame = FrameOf(doc);
  // The status bar command: checked while the main frame's bar shows, and it switches it.
  struct Probe : CCmdUI {
    int checked = -1;
    BOOL enabled = FALSE;
    void Enable(BOOL on) override { enabled = on; m_bEnableChanged = TRUE; }
    void SetCheck(int check) override { checked = check; }
  } probe;
  probe.m_nID = ID_VIEW_STATUS_BAR;
  ASSERT_TRUE(frame->OnCmdMsg(ID_VIEW_STATUS_BAR, CN_UPDATE_COMMAND_UI, &probe, NULL));
  EXPECT_EQ(1, probe.checked);
  EXPECT_TRUE(probe.enabled);
  frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
  PumpHost();
  EXPECT_FALSE(s_frame->m_wndStatusBar.IsWindowVisible());
  frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
  PumpHost();
  EXPECT_TRUE(s_frame->m_wndStatusBar.IsWindowVisible());

  // Help opens the library's .CHM through HTML Help; the test library has none, which the user is told.
  theHostApp.m_boxes.clear();
  frame->SendMessage(WM_COMMAND, ID_HELP_FINDER);
  ASSERT_EQ(1u, theHostApp.m_boxes.size());
  CString failed;
  failed.LoadString(AFX_IDP_FAILED_TO_LAUNCH_HELP);
  EXPECT_STREQ(failed, theHostApp.m_boxes[0].c_str());
  theHostApp.m_boxes.clear();
}

TEST_F(HostTest, AComponentWindowKeepsItsShowStateInTheHostsSettings) {
  HostedComponent a(CLSID_FwTestA);
  ASSERT_TRUE(a.Load());
  CDocument* doc = a.Open();
  ASSERT_NE(nullptr, doc);
  CMDIChildWnd* frame = static_cast<CMDIChildWnd*>(FrameOf(doc));
  EXPECT_FALSE(frame->IsZoomed());
  frame->MDIMaximize();
  PumpHost();
  EXPECT_EQ(3u, theHostApp.GetProfileInt("Settings", "ShowCmd", 0));
  frame->MDIRestore();
  PumpHost();
  EXPECT_EQ(5u, theHostApp.GetProfileInt("Settings", "ShowCmd", 0));
  // Minimized leaves the value.
  frame->ShowWindow(SW_MINIMIZE);
  PumpHost();
  EXPECT_EQ(5u, theHostApp.GetProfileInt("Settings", "ShowCmd", 0));
  frame->MDIRestore();
  PumpHost();
  // A new window takes the stored state.
  theHostApp.WriteProfileInt("Settings", "ShowCmd", SW_SHOWMAXIMIZED);
  CDocument* next = a.Open();
  ASSERT_NE(nullptr, next);
  EXPECT_TRUE(FrameOf(next)->IsZoomed());
  theHostApp.CloseAllDocuments(TRUE);
  PumpHost();
  theHostApp.WriteProfileInt("Settings", "ShowCmd", SW_SHOW);
}

// The postcard program's registration and profile entry, put back when the test ends.
class PostcardPlaces {
 public:
  PostcardPlaces() {
    m_hadKey = Read(&m_keyValue);
    char value[MAX_PATH] = "";
    GetPrivateProfileStringA(NX_QUILLO_INI_SECTION, NX_LOCATION_PATH_VALUE, "", value, MAX_PATH, NX_SHARED_PROFILE_FILE);
    m_iniValue = value;
    SetKey(NULL);
    SetIni(NULL);
  }
  ~PostcardPlaces() {
    SetKey(m_hadKey ? LPCSTR(m_keyValue) : NULL);
    SetIni(m_iniValue.IsEmpty() ? NULL : LPCSTR(m_iniValue));
  }
  static void SetKey(LPCSTR path) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, NX_QUILLO_LOCATION_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) !=
        ERROR_SUCCESS)
      return;
    if (path)
      RegSetValueExA(key, NX_LOCATION_PATH_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), lstrlenA(path) + 1);
    else
      RegDeleteValueA(key, NX_LOCATION_PATH_VALUE);
    RegCloseKey(key);
  }
  static void SetIni(LPCSTR path) {
    WritePrivateProfileStringA(NX_QUILLO_INI_SECTION, NX_LOCATION_PATH_VALUE, path, NX_SHARED_PROFILE_FILE);
  }

 private:
  static bool Read(CString* value) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, NX_QUILLO_LOCATION_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char text[MAX_PATH] = "";
    DWORD size = sizeof text - 1, type = 0;
    bool ok = RegQueryValueExA(key, NX_LOCATION_PATH_VALUE, NULL, &type, reinterpret_cast<BYTE*>(text), &size) ==
              ERROR_SUCCESS;
    RegCloseKey(key);
    *value = text;
    return ok;
  }
  bool m_hadKey;
  CString m_keyValue, m_iniValue;
};

std::string WaitForFile(const CString& path) {
  for (int i = 0; i < 200; ++i) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
      char text[1024] = "";
      DWORD read = 0;
      ReadFile(file, text, sizeof text - 1, &read, NULL);
      CloseHandle(file);
      return std::string(text, read);
    }
    Sleep(25);
  }
  return "(nothing)";
}

TEST_F(HostTest, SendAsPostcardStartsTheProgramFromTheRegistryOrTheProfileFileAndTellsWhenThereIsNone) {
  PostcardPlaces places;
  HostedComponent a(CLSID_FwTestA);
  ASSERT_TRUE(a.Load());
  CDocument* doc = a.Open();
  ASSERT_NE(nullptr, doc);
  // A picture outside the temporary folder, whose copy goes there under its name.
  CString folder = TempFolder() + "fwtest postcard";
  CreateDirectoryA(folder, NULL);
  CString picture = folder + "\\holiday card.jpg";
  ASSERT_TRUE(WriteBytes(picture, "\xFF\xD8\xFF\xD9", 4));
  doc->SetPathName(picture, FALSE);
  const CString copy = TempFolder() + "holiday card.jpg";
  const CString program = CString(comkit::ModuleDirectory(GetModuleHandleA(NULL)).c_str()) + "fwtest_cmdrecorder.exe";
  const CString record = folder + "\\cmdline.txt";
  SetEnvironmentVariableA("FWTEST_CMDLINE_FILE", record);

  struct Case {
    bool key, ini;
  } cases[] = {{true, false}, {false, true}};
  for (const Case& c : cases) {
    DeleteFileA(record);
    DeleteFileA(copy);
    PostcardPlaces::SetKey(c.key ? LPCSTR(program) : NULL);
    PostcardPlaces::SetIni(c.ini ? LPCSTR(ShortPath(program)) : NULL);
    s_frame->SendMessage(WM_COMMAND, ID_NX_SENDPOSTCARD);
    std::string line = WaitForFile(record);
    EXPECT_EQ(std::string(ShortPath(program) + " " + ShortPath(copy)), line) << c.key;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copy));
  }

  // Neither: message 20001 once, naming the program's place as found (none), and no copy left behind.
  PostcardPlaces::SetKey(NULL);
  PostcardPlaces::SetIni(NULL);
  DeleteFileA(copy);
  theHostApp.m_boxes.clear();
  s_frame->SendMessage(WM_COMMAND, ID_NX_SENDPOSTCARD);
  ASSERT_EQ(1u, theHostApp.m_boxes.size());
  EXPECT_NE(std::string::npos, theHostApp.m_boxes[0].find(NX_WEB_ADDRESS));
  EXPECT_NE(std::string::npos, theHostApp.m_boxes[0].find(NX_SALES_ADDRESS));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copy));
  theHostApp.m_boxes.clear();

  DeleteFileA(record);
  DeleteFileA(picture);
  RemoveDirectoryA(folder);
  SetEnvironmentVariableA("FWTEST_CMDLINE_FILE", NULL);
}

TEST(TempCopyNameTest, TheDocumentsNameWithTheWantedExtensionElseAUniqueName) {
  EXPECT_STREQ("C:\\temp\\card.jpg", nxframework::TempCopyName("C:\\temp\\", "D:\\pictures\\card.png", ".jpg"));
  EXPECT_STREQ("C:\\temp\\my.card.png", nxframework::TempCopyName("C:\\temp\\", "D:\\p\\my.card.png", ".png"));
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  CString unique = nxframework::TempCopyName(folder, "D:\\pictures\\noextension", ".jpg");
  ASSERT_FALSE(unique.IsEmpty());
  EXPECT_EQ(0, unique.Left(lstrlenA(folder)).CompareNoCase(folder));
  EXPECT_STREQ(".jpg", unique.Right(4));
  // The system's placeholder is gone; a second name differs.
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(unique.Left(unique.GetLength() - 4) + ".TMP"));
  EXPECT_STRNE(unique, nxframework::TempCopyName(folder, "", ".jpg"));
}

}  // namespace
}  // namespace fwtest
