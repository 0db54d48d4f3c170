// Frames and docking of the extension library driven through real messages under Wine: workbook tabs, the
// sizable launch bar's splitter and close box, a docked view floating, docking and moving to and from an MDI
// child, saved bar state, status pane buttons, the URL bar's control notifications, bars owned by a helper
// frame, window plug-ins, and a workspace saved and opened in one session (test code, not product).
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "sectest_app.h"
#include "testui.h"

// Rectangles in failure messages.
void PrintTo(const CRect& rect, std::ostream* os) {
  *os << "(" << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom << ")";
}

namespace {

class CSecTestApp : public CWinApp {
 public:
  CSecTestApp() : CWinApp("Sec Frames Test") {}
  std::vector<std::string> m_boxes;
  int DoMessageBox(LPCSTR prompt, UINT, UINT) override {
    m_boxes.push_back(prompt);
    return IDOK;
  }
};

CSecTestApp theApp;
CMainFrame* g_frame = nullptr;
CString g_folder;

void Pump() { afxtest::Pump(theApp); }

CRect RectIn(HWND wnd, HWND other) {
  CRect rect;
  ::GetWindowRect(wnd, &rect);
  ::MapWindowPoints(NULL, other, reinterpret_cast<LPPOINT>(&rect), 2);
  return rect;
}

CPoint Centre(const CRect& rect) { return CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2); }

CPoint Offset(CPoint point, int dx, int dy) { return CPoint(point.x + dx, point.y + dy); }

// A note file in the test folder.
CString NoteFile(LPCSTR name, LPCSTR text) {
  CString path = g_folder + "\\" + name;
  FILE* file = fopen(path, "wb");
  if (file) {
    fputs(text, file);
    fclose(file);
  }
  return path;
}

CDocument* Open(SECMultiDocTemplate* docTemplate, LPCSTR name, BOOL docked = FALSE) {
  CDocument* doc = docTemplate->OpenDocumentFile(NoteFile(name, name), TRUE, docked);
  Pump();
  return doc;
}

CView* FirstView(CDocument* doc) {
  POSITION pos = doc->GetFirstViewPosition();
  return pos ? doc->GetNextView(pos) : nullptr;
}

CFrameWnd* FrameOf(CDocument* doc) {
  CView* view = FirstView(doc);
  return view ? view->GetParentFrame() : nullptr;
}

void CloseAll() {
  theApp.CloseAllDocuments(TRUE);
  Pump();
}

// A press on a non-client part of window at screen point, the moves to each later point and the release at
// the last (or Escape instead of the release), as the user's drag.
void NcDrag(CWnd& wnd, UINT hitTest, CPoint from, std::vector<CPoint> path, BOOL escape = FALSE) {
  for (size_t i = 0; i < path.size(); ++i) {
    CPoint client = path[i];
    wnd.ScreenToClient(&client);
    wnd.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    if (i + 1 == path.size()) {
      if (escape)
        wnd.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
      else
        wnd.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    }
  }
  wnd.SendMessage(WM_NCLBUTTONDOWN, hitTest, MAKELPARAM(from.x, from.y));
  Pump();
}

// The screen point in the middle of a window-coordinate rectangle of wnd.
CPoint ScreenOf(CWnd& wnd, const CRect& windowRect) {
  CRect window;
  wnd.GetWindowRect(&window);
  return Offset(Centre(windowRect), window.left, window.top);
}

int DockedOn(const CControlBar& bar) { return bar.m_pDockBar ? bar.m_pDockBar->GetDlgCtrlID() : 0; }

class SecFrames : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(AfxWinInit(GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOW));
    theApp.SetRegistryKey("OrvaneSecFrameTest");
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    g_folder = CString(temp) + "sec_frame_tests";
    CreateDirectoryA(g_folder, NULL);
    AddTestTemplates(theApp);
    g_frame = CreateTestMainFrame(theApp);
    ASSERT_NE(nullptr, g_frame);
    Pump();
  }
  static void TearDownTestSuite() { afxtest::CloseFrame(theApp, g_frame); }
  void TearDown() override { CloseAll(); }
};

TEST_F(SecFrames, WorkbookShowsATabPerChildAndClickingOneActivatesIt) {
  CMainFrame& frame = *g_frame;
  ASSERT_FALSE(frame.GetWorkbookMode());
  CDocument* docs[] = {Open(NoteTemplate(), "alpha.txt"), Open(NoteTemplate(), "beta.txt"),
                       Open(SketchTemplate(), "gamma.skt")};
  for (CDocument* doc : docs) ASSERT_NE(nullptr, doc);
  SECWorkbookTabs& tabs = *frame.GetTabs();
  EXPECT_FALSE(tabs.IsWindowVisible());

  // The mode command switches the tabs on; the test's frame keeps the mode in its settings as the host does.
  frame.SendMessage(WM_COMMAND, ID_WORKBOOK_MODE);
  Pump();
  EXPECT_TRUE(frame.GetWorkbookMode());
  EXPECT_EQ(1u, theApp.GetProfileInt("Settings", "WorkbookMode", 7));
  ASSERT_TRUE(tabs.IsWindowVisible());
  ASSERT_EQ(3, tabs.GetTabCount());
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(docs[i]->GetTitle(), tabs.GetTabText(i)) << i;
    EXPECT_EQ(FrameOf(docs[i]), tabs.GetTabWindow(i)) << i;
  }
  EXPECT_EQ(2, tabs.GetActiveTab());
  // Along the bottom of the MDI area, above the status bar.
  CRect client = RectIn(frame.m_hWndMDIClient, frame.m_hWnd), strip = RectIn(tabs.m_hWnd, frame.m_hWnd);
  EXPECT_EQ(client.bottom, strip.top);
  EXPECT_EQ(client.left, strip.left);
  EXPECT_EQ(client.right, strip.right);
  EXPECT_EQ(RectIn(frame.m_wndStatusBar.m_hWnd, frame.m_hWnd).top, strip.bottom);

  // A click on a tab activates its child.
  CPoint first = Centre(tabs.GetTabRect(0));
  tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.x, first.y));
  tabs.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(first.x, first.y));
  Pump();
  EXPECT_EQ(FrameOf(docs[0]), frame.MDIGetActive());
  EXPECT_EQ(0, tabs.GetActiveTab());

  // Tabs follow renamed and closed children.
  docs[1]->SetTitle("Renamed");
  Pump();
  EXPECT_EQ(CString("Renamed"), tabs.GetTabText(1));
  docs[1]->OnCloseDocument();
  Pump();
  ASSERT_EQ(2, tabs.GetTabCount());
  EXPECT_EQ(FrameOf(docs[2]), tabs.GetTabWindow(1));

  // Switched off: no tabs, the MDI area reaches the status bar again.
  frame.SendMessage(WM_COMMAND, ID_WORKBOOK_MODE);
  Pump();
  EXPECT_FALSE(frame.GetWorkbookMode());
  EXPECT_FALSE(tabs.IsWindowVisible());
  EXPECT_EQ(0u, theApp.GetProfileInt("Settings", "WorkbookMode", 7));
  EXPECT_EQ(RectIn(frame.m_wndStatusBar.m_hWnd, frame.m_hWnd).top,
            RectIn(frame.m_hWndMDIClient, frame.m_hWnd).bottom);
}

TEST_F(SecFrames, LaunchBarDockedLeftSizesByItsSplitterAndHidesByItsCloseBox) {
  CMainFrame& frame = *g_frame;
  SECControlBar& bar = frame.m_wndLaunchBar;
  ASSERT_EQ(AFX_IDW_DOCKBAR_LEFT, DockedOn(bar));
  CRect place = RectIn(bar.m_hWnd, frame.m_hWnd);
  EXPECT_EQ(85, place.Width());
  // All of the left side (100 percent of it), next to the MDI area; the list fills the bar's inside.
  CControlBar* left = frame.GetControlBar(AFX_IDW_DOCKBAR_LEFT);
  EXPECT_EQ(RectIn(left->m_hWnd, frame.m_hWnd).Height(), place.Height());
  EXPECT_EQ(place.right, RectIn(frame.m_hWndMDIClient, frame.m_hWnd).left);
  CRect inside;
  bar.GetClientRect(&inside);
  EXPECT_EQ(inside, RectIn(frame.m_wndLaunchList.m_hWnd, bar.m_hWnd));
  EXPECT_EQ(DWORD(SEC_SPLIT_RIGHT), bar.GetSplitEdges());

  // Dragging the splitter edge 40 pixels to the right widens the bar and narrows the MDI area.
  CPoint grip = ScreenOf(bar, bar.GetSplitterRect(SEC_SPLIT_RIGHT));
  EXPECT_EQ(HTRIGHT, bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)));
  NcDrag(bar, HTRIGHT, grip, {Offset(grip, 15, 0), Offset(grip, 40, 0)});
  EXPECT_EQ(125, RectIn(bar.m_hWnd, frame.m_hWnd).Width());
  EXPECT_EQ(place.right + 40, RectIn(frame.m_hWndMDIClient, frame.m_hWnd).left);
  EXPECT_EQ(125, bar.GetDockedThickness(FALSE));
  // Escape puts back the width the drag started with; the bar never gets thinner than its least.
  grip = ScreenOf(bar, bar.GetSplitterRect(SEC_SPLIT_RIGHT));
  NcDrag(bar, HTRIGHT, grip, {Offset(grip, 30, 0)}, TRUE);
  EXPECT_EQ(125, RectIn(bar.m_hWnd, frame.m_hWnd).Width());
  NcDrag(bar, HTRIGHT, grip, {Offset(grip, -300, 0)});
  EXPECT_EQ(int(SECControlBar::kMinThickness), RectIn(bar.m_hWnd, frame.m_hWnd).Width());
  grip = ScreenOf(bar, bar.GetSplitterRect(SEC_SPLIT_RIGHT));
  NcDrag(bar, HTRIGHT, grip, {Offset(grip, 85 - SECControlBar::kMinThickness, 0)});
  EXPECT_EQ(85, RectIn(bar.m_hWnd, frame.m_hWnd).Width());

  // Pressing the close box and leaving it before the release does nothing; a click hides the bar.
  CPoint box = ScreenOf(bar, bar.GetCloseBoxRect());
  EXPECT_EQ(HTCLOSE, bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(box.x, box.y)));
  NcDrag(bar, HTCLOSE, box, {Offset(box, 0, 60)});
  EXPECT_TRUE(bar.IsVisible());
  NcDrag(bar, HTCLOSE, box, {box});
  EXPECT_FALSE(bar.IsVisible());
  EXPECT_FALSE(bar.IsWindowVisible());
  EXPECT_EQ(RectIn(left->m_hWnd, frame.m_hWnd).left, RectIn(frame.m_hWndMDIClient, frame.m_hWnd).left);
  frame.SendMessage(WM_COMMAND, ID_VIEW_LAUNCHBAR);
  Pump();
  EXPECT_TRUE(bar.IsWindowVisible());
  EXPECT_EQ(85, RectIn(bar.m_hWnd, frame.m_hWnd).Width());
}

// A press on the bar's caption, a move to target (screen) and the release there.
void CaptionDrag(SECControlBar& bar, CPoint target) {
  CPoint grip = ScreenOf(bar, bar.GetCaptionRect());
  grip.x -= 10;  // clear of the close box
  bar.ScreenToClient(&grip);
  bar.ScreenToClient(&target);
  bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(target.x, target.y));
  bar.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(target.x, target.y));
  bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grip.x, grip.y));
  Pump();
}

TEST_F(SecFrames, SizableBarDraggedByItsCaptionDocksOnTheOtherSideWithThatSidesThickness) {
  CMainFrame& frame = *g_frame;
  SECControlBar& bar = frame.m_wndLaunchBar;
  CRect client;
  frame.GetClientRect(&client);
  frame.ClientToScreen(&client);
  int middle = (client.top + client.bottom) / 2;
  CaptionDrag(bar, CPoint(client.right - 2, middle));
  ASSERT_EQ(AFX_IDW_DOCKBAR_RIGHT, DockedOn(bar));
  EXPECT_EQ(85, RectIn(bar.m_hWnd, frame.m_hWnd).Width());
  EXPECT_EQ(DWORD(SEC_SPLIT_LEFT), bar.GetSplitEdges());
  EXPECT_EQ(RectIn(bar.m_hWnd, frame.m_hWnd).left, RectIn(frame.m_hWndMDIClient, frame.m_hWnd).right);
  CaptionDrag(bar, CPoint(client.left + 2, middle));
  ASSERT_EQ(AFX_IDW_DOCKBAR_LEFT, DockedOn(bar));
  EXPECT_EQ(85, RectIn(bar.m_hWnd, frame.m_hWnd).Width());
}

TEST_F(SecFrames, DockedViewFloatsDocksAndBecomesAnMdiChildKeepingItsViewAndDocument) {
  CMainFrame& frame = *g_frame;
  CDocument* note = Open(NoteTemplate(), "child.txt");
  CDocument* doc = Open(NoteTemplate(), "docked.txt", TRUE);
  ASSERT_NE(nullptr, doc);
  CView* view = FirstView(doc);
  SECDockableFrame* docked = dynamic_cast<SECDockableFrame*>(view->GetParentFrame());
  ASSERT_NE(nullptr, docked);
  SECControlBar* bar = docked->GetDockingBar();
  ASSERT_NE(nullptr, bar);
  // Its subclass took the first docking offered: the right side, 150 pixels; it is the active docked window.
  EXPECT_EQ(AFX_IDW_DOCKBAR_RIGHT, DockedOn(*bar));
  EXPECT_EQ(150, RectIn(bar->m_hWnd, frame.m_hWnd).Width());
  EXPECT_EQ(RectIn(bar->m_hWnd, frame.m_hWnd).left, RectIn(frame.m_hWndMDIClient, frame.m_hWnd).right);
  EXPECT_EQ(docked, frame.GetActiveDockableFrame());
  CString caption;
  bar->GetWindowText(caption);
  EXPECT_EQ(doc->GetTitle(), caption);

  // Commands go to the docked view while it holds the focus, to the MDI child's otherwise.
  view->SetFocus();
  frame.SendMessage(WM_COMMAND, ID_TEST_WHO);
  EXPECT_EQ(std::string(doc->GetTitle()), g_who);
  FrameOf(note)->ActivateFrame();
  Pump();
  EXPECT_EQ(nullptr, frame.GetActiveDockableFrame());
  frame.SendMessage(WM_COMMAND, ID_TEST_WHO);
  EXPECT_EQ(std::string(note->GetTitle()), g_who);
  view->SendMessage(WM_MOUSEACTIVATE, WPARAM(frame.m_hWnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_EQ(docked, frame.GetActiveDockableFrame());
  // The active docked window shows its template's menu; a click in the (sketch) child brings the child's back.
  CDocument* sketch = Open(SketchTemplate(), "menu.skt");
  view->SendMessage(WM_MOUSEACTIVATE, WPARAM(frame.m_hWnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_EQ(NoteTemplate()->m_hMenuShared, ::GetMenu(frame.m_hWnd));
  FirstView(sketch)->SendMessage(WM_MOUSEACTIVATE, WPARAM(frame.m_hWnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_EQ(nullptr, frame.GetActiveDockableFrame());
  EXPECT_EQ(SketchTemplate()->m_hMenuShared, ::GetMenu(frame.m_hWnd));
  sketch->OnCloseDocument();
  Pump();

  // Floated at a rectangle, resized there, docked again: the same frame, view and document throughout.
  CRect floatRect(560, 220, 800, 480);
  frame.FloatControlBar(bar, floatRect.TopLeft(), floatRect);
  Pump();
  ASSERT_TRUE(bar->IsFloating());
  CFrameWnd* floating = bar->GetParentFrame();
  ASSERT_NE(nullptr, floating);
  CRect floatWindow;
  floating->GetWindowRect(&floatWindow);
  EXPECT_EQ(floatRect, floatWindow);
  EXPECT_TRUE(floating->IsWindowVisible());
  EXPECT_EQ(docked, view->GetParentFrame());
  EXPECT_EQ(doc, view->GetDocument());
  floating->SetWindowPos(NULL, 0, 0, 300, 320, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  CRect floatClient;
  floating->GetClientRect(&floatClient);
  EXPECT_EQ(floatClient.Size(), bar->GetFloatingSize());
  HWND floatingWnd = floating->m_hWnd;
  frame.DockControlBar(bar, AFX_IDW_DOCKBAR_RIGHT);
  Pump();
  EXPECT_FALSE(bar->IsFloating());
  EXPECT_FALSE(::IsWindow(floatingWnd));
  EXPECT_EQ(AFX_IDW_DOCKBAR_RIGHT, DockedOn(*bar));
  EXPECT_EQ(150, RectIn(bar->m_hWnd, frame.m_hWnd).Width());
  EXPECT_EQ(docked, view->GetParentFrame());
  EXPECT_EQ(view, FirstView(doc));

  // Each side keeps its own thickness.
  frame.DockControlBarEx(bar, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 100.0f, 90);
  Pump();
  EXPECT_EQ(90, RectIn(bar->m_hWnd, frame.m_hWnd).Height());
  EXPECT_EQ(DWORD(SEC_SPLIT_TOP), bar->GetSplitEdges());
  frame.DockControlBar(bar, AFX_IDW_DOCKBAR_RIGHT);
  Pump();
  EXPECT_EQ(150, RectIn(bar->m_hWnd, frame.m_hWnd).Width());

  // An MDI child again, and docked again: the view moves, the document stays, the bar goes.
  UINT barId = UINT(bar->GetDlgCtrlID());
  CFrameWnd* child = NoteTemplate()->MakeMDIChild(docked);
  Pump();
  ASSERT_NE(nullptr, dynamic_cast<CMDIChildWnd*>(child));
  EXPECT_EQ(child, view->GetParentFrame());
  EXPECT_EQ(doc, view->GetDocument());
  EXPECT_EQ(view, child->GetActiveView());
  EXPECT_EQ(nullptr, frame.GetControlBar(barId));
  SECDockableFrame* again = NoteTemplate()->DockFrame(child);
  Pump();
  ASSERT_NE(nullptr, again);
  EXPECT_EQ(again, view->GetParentFrame());
  EXPECT_EQ(doc, view->GetDocument());
  EXPECT_TRUE(again->GetDockingBar()->IsWindowVisible());

  // Its bar's close box closes the document.
  bar = again->GetDockingBar();
  barId = UINT(bar->GetDlgCtrlID());
  CPoint box = ScreenOf(*bar, bar->GetCloseBoxRect());
  NcDrag(*bar, HTCLOSE, box, {box});
  EXPECT_EQ(nullptr, frame.GetControlBar(barId));
  POSITION pos = NoteTemplate()->GetFirstDocPosition();
  ASSERT_NE(nullptr, pos);
  EXPECT_EQ(note, NoteTemplate()->GetNextDoc(pos));
  EXPECT_EQ(nullptr, pos);
}

TEST_F(SecFrames, DockableFrameThatDeclinesTheFirstDockingFloats) {
  // The library's own dockable frame declines the proposal.
  SECMultiDocTemplate plain(IDR_NOTETYPE, RUNTIME_CLASS(CNoteDoc), RUNTIME_CLASS(SECWorksheet), RUNTIME_CLASS(CNoteView));
  CDocument* doc = plain.OpenDocumentFile(NoteFile("plain.txt", "plain"), TRUE, TRUE);
  Pump();
  ASSERT_NE(nullptr, doc);
  SECDockableFrame* docked = dynamic_cast<SECDockableFrame*>(FrameOf(doc));
  ASSERT_NE(nullptr, docked);
  EXPECT_TRUE(docked->IsFloating());
  EXPECT_TRUE(docked->GetDockingBar()->GetParentFrame()->IsWindowVisible());
  doc->OnCloseDocument();
  Pump();
}

TEST_F(SecFrames, BarStateInANamedSectionRestoresBothSidesAndSizes) {
  CMainFrame& frame = *g_frame;
  SECControlBar& launch = frame.m_wndLaunchBar;
  CDocument* doc = Open(NoteTemplate(), "state.txt", TRUE);
  SECControlBar* viewBar = static_cast<SECDockableFrame*>(FrameOf(doc))->GetDockingBar();
  frame.DockControlBarEx(&launch, AFX_IDW_DOCKBAR_LEFT, 0, 0, 100.0f, 120);
  frame.DockControlBarEx(viewBar, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 100.0f, 170);
  frame.RecalcLayout();
  frame.SaveBarState("SecTestBars");
  CDockState saved;
  ASSERT_TRUE(saved.LoadState("SecTestBars"));
  ASSERT_NE(nullptr, saved.FindInfo(IDW_LAUNCHBAR));
  EXPECT_EQ(6, saved.FindInfo(IDW_LAUNCHBAR)->m_arrExtra.GetSize());

  // Moved and sized otherwise, then the saved state again.
  frame.DockControlBarEx(&launch, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 100.0f, 60);
  frame.DockControlBarEx(viewBar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 100.0f, 200);
  launch.SetDockedThickness(FALSE, 60);
  frame.RecalcLayout();
  Pump();
  ASSERT_EQ(AFX_IDW_DOCKBAR_RIGHT, DockedOn(launch));
  frame.LoadBarState("SecTestBars");
  Pump();
  EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, DockedOn(launch));
  EXPECT_EQ(AFX_IDW_DOCKBAR_RIGHT, DockedOn(*viewBar));
  EXPECT_EQ(120, RectIn(launch.m_hWnd, frame.m_hWnd).Width());
  EXPECT_EQ(170, RectIn(viewBar->m_hWnd, frame.m_hWnd).Width());
  CRect client = RectIn(frame.m_hWndMDIClient, frame.m_hWnd);
  EXPECT_EQ(RectIn(launch.m_hWnd, frame.m_hWnd).right, client.left);
  EXPECT_EQ(RectIn(viewBar->m_hWnd, frame.m_hWnd).left, client.right);
  frame.DockControlBarEx(&launch, AFX_IDW_DOCKBAR_LEFT, 0, 0, 100.0f, 85);
  Pump();
}

TEST_F(SecFrames, TwoSizableBarsShareARowByPercentAndTheirBoundaryMoves) {
  CMainFrame& frame = *g_frame;
  CDocument* first = Open(NoteTemplate(), "upper.txt", TRUE);
  CDocument* second = Open(NoteTemplate(), "lower.txt", TRUE);
  SECControlBar* upper = static_cast<SECDockableFrame*>(FrameOf(first))->GetDockingBar();
  SECControlBar* lower = static_cast<SECDockableFrame*>(FrameOf(second))->GetDockingBar();
  frame.DockControlBarEx(upper, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 75.0f, 160);
  frame.DockControlBarEx(lower, AFX_IDW_DOCKBAR_RIGHT, 1, 0, 25.0f, 160);
  frame.RecalcLayout();
  Pump();
  CRect a = RectIn(upper->m_hWnd, frame.m_hWnd), b = RectIn(lower->m_hWnd, frame.m_hWnd);
  CRect side = RectIn(frame.GetControlBar(AFX_IDW_DOCKBAR_RIGHT)->m_hWnd, frame.m_hWnd);
  EXPECT_EQ(a.bottom, b.top);
  EXPECT_EQ(side.Height(), a.Height() + b.Height());
  EXPECT_NEAR(3.0 * b.Height(), double(a.Height()), 2.0);
  EXPECT_EQ(DWORD(SEC_SPLIT_LEFT | SEC_SPLIT_BOTTOM), upper->GetSplitEdges());
  EXPECT_EQ(DWORD(SEC_SPLIT_LEFT), lower->GetSplitEdges());
  // The boundary between them follows a drag of the upper bar's bottom edge.
  CPoint grip = ScreenOf(*upper, upper->GetSplitterRect(SEC_SPLIT_BOTTOM));
  EXPECT_EQ(HTBOTTOM, upper->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)));
  NcDrag(*upper, HTBOTTOM, grip, {Offset(grip, 0, -50)});
  CRect a2 = RectIn(upper->m_hWnd, frame.m_hWnd), b2 = RectIn(lower->m_hWnd, frame.m_hWnd);
  EXPECT_NEAR(a.Height() - 50, a2.Height(), 1);
  EXPECT_NEAR(b.Height() + 50, b2.Height(), 1);
  EXPECT_EQ(a2.bottom, b2.top);
}

TEST_F(SecFrames, StatusPanesHoldImageButtonsThatSendTheirCommands) {
  CMainFrame& frame = *g_frame;
  SECCustomStatusBar& status = frame.m_wndStatusBar;
  for (SECImageButton* button : {&frame.m_btnLaunch, &frame.m_btnTable}) {
    CRect pane;
    status.GetItemRect(status.CommandToIndex(button->GetDlgCtrlID()), &pane);
    CRect place = RectIn(button->m_hWnd, status.m_hWnd);
    EXPECT_EQ(CSize(30, 13), place.Size());
    EXPECT_EQ(Centre(pane).x, Centre(place).x);
    EXPECT_TRUE(pane.PtInRect(place.TopLeft()));
    EXPECT_TRUE(button->IsWindowVisible());
  }
  frame.m_commands.clear();
  frame.m_btnTable.SendMessage(BM_CLICK);
  frame.m_btnLaunch.SendMessage(BM_CLICK);
  Pump();
  EXPECT_EQ((std::vector<UINT>{ID_PANE_TABLE, ID_PANE_LAUNCH}), frame.m_commands);
  EXPECT_FALSE(frame.m_wndLaunchBar.IsVisible());
  frame.m_btnLaunch.SendMessage(BM_CLICK);
  Pump();
  EXPECT_TRUE(frame.m_wndLaunchBar.IsVisible());

  // Without its pane a button hides; it comes back with the pane, in the pane's new place.
  static const UINT fewer[] = {ID_SEPARATOR, ID_PANE_TABLE};
  status.SetIndicators(fewer, 2);
  EXPECT_FALSE(frame.m_btnLaunch.IsWindowVisible());
  CRect pane;
  status.GetItemRect(1, &pane);
  EXPECT_EQ(Centre(pane).x, Centre(RectIn(frame.m_btnTable.m_hWnd, status.m_hWnd)).x);
  static const UINT all[] = {ID_PANE_LAUNCH, ID_PANE_TABLE, ID_SEPARATOR};
  status.SetIndicators(all, 3);
  status.SetPaneInfo(0, ID_PANE_LAUNCH, SBPS_NOBORDERS | SBPS_DISABLED, 34);
  status.SetPaneInfo(1, ID_PANE_TABLE, SBPS_NOBORDERS | SBPS_DISABLED, 34);
  EXPECT_TRUE(frame.m_btnLaunch.IsWindowVisible());
  status.GetItemRect(0, &pane);
  EXPECT_EQ(Centre(pane).x, Centre(RectIn(frame.m_btnLaunch.m_hWnd, status.m_hWnd)).x);
  // Each pane's tip is its text.
  EXPECT_TRUE(status.ArePaneTipsEnabled());
  CString tip;
  ASSERT_TRUE(status.GetPaneTipText(1, tip));
  EXPECT_EQ(CString("Slide table"), tip);
}

TEST_F(SecFrames, UrlBarControlsNotifyTheOwnerThroughTheRegisteredMessage) {
  CMainFrame& frame = *g_frame;
  SECCustomToolBar& bar = frame.m_wndUrlBar;
  CComboBox& combo = frame.m_wndUrlCombo;
  EXPECT_EQ(&combo, bar.GetControl(0));
  CRect gap;
  bar.GetItemRect(0, &gap);
  CRect place = RectIn(combo.m_hWnd, bar.m_hWnd);
  EXPECT_EQ(gap.left, place.left);
  EXPECT_EQ(gap.Width(), place.Width());

  frame.m_notifications.clear();
  // A selection, then Enter and Escape typed in the combo's edit.
  combo.SetCurSel(1);
  bar.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_URLCOMBO, CBN_SELCHANGE), LPARAM(combo.m_hWnd));
  HWND edit = ::GetWindow(combo.m_hWnd, GW_CHILD);
  ASSERT_NE(HWND(NULL), edit);
  for (WPARAM key : {WPARAM(VK_RETURN), WPARAM(VK_ESCAPE)}) {
    MSG msg = {edit, WM_KEYDOWN, key, 0, 0, {0, 0}};
    EXPECT_TRUE(theApp.PreTranslateMessage(&msg));
  }
  // Typing reaches the owner as the combo's own edit notifications.
  ::SetFocus(edit);
  ::SendMessageA(edit, WM_CHAR, 'x', 0);
  Pump();
  ASSERT_GE(frame.m_notifications.size(), 3u);
  EXPECT_EQ(std::make_pair(UINT(IDC_URLCOMBO), UINT(CBN_SELCHANGE)), frame.m_notifications[0]);
  EXPECT_EQ(std::make_pair(UINT(IDC_URLCOMBO), UINT(SECTBN_RETURN)), frame.m_notifications[1]);
  EXPECT_EQ(std::make_pair(UINT(IDC_URLCOMBO), UINT(SECTBN_ESCAPE)), frame.m_notifications[2]);
  BOOL edited = FALSE;
  for (size_t i = 3; i < frame.m_notifications.size(); ++i)
    edited = edited || frame.m_notifications[i] == std::make_pair(UINT(IDC_URLCOMBO), UINT(CBN_EDITCHANGE));
  EXPECT_TRUE(edited);
}

TEST_F(SecFrames, HelperFrameOwnsBarsDockedOnTheMainFrameAndTakesThemAlong) {
  CMainFrame& frame = *g_frame;
  SECFrameWnd* helper = new SECFrameWnd;
  ASSERT_TRUE(helper->Create(NULL, "", WS_CAPTION, CRect(0, 0, 0, 0)));
  const UINT ids[] = {0xE840, 0xE841};
  SECCustomToolBar* bars[2];
  for (int i = 0; i < 2; ++i) {
    bars[i] = new SECCustomToolBar;
    bars[i]->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bars[i]->CreateEx(&frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), ids[i]));
    bars[i]->SetButtons(NULL, 2);
    bars[i]->EnableDocking(CBRS_ALIGN_ANY);
    frame.DockControlBar(bars[i], AFX_IDW_DOCKBAR_TOP);
    helper->AddBar(bars[i]);
  }
  helper->AddBar(bars[0]);
  CPtrArray owned;
  helper->GetBars(owned);
  EXPECT_EQ(2, owned.GetSize());
  EXPECT_TRUE(helper->OwnsBar(bars[1]));
  // A bar destroyed elsewhere leaves the list; the rest go with the helper.
  bars[1]->DestroyWindow();
  helper->GetBars(owned);
  ASSERT_EQ(1, owned.GetSize());
  EXPECT_EQ(bars[0], owned[0]);
  helper->DestroyWindow();
  Pump();
  EXPECT_EQ(nullptr, frame.GetControlBar(ids[0]));
  EXPECT_EQ(nullptr, frame.GetControlBar(ids[1]));
}

// A plug-in that records a probe message and keeps it from the window when lParam says so.
const UINT kProbe = WM_APP + 17;
std::vector<std::string> g_seen;

class CProbePlugIn : public SECWndPlugIn {
 public:
  BOOL m_bGone = FALSE;

 protected:
  afx_msg LRESULT OnProbe(WPARAM, LPARAM lParam) {
    g_seen.push_back("plug-in");
    m_bExitMessage = lParam == 1;
    return 42;
  }
  void OnPlugInWndDestroyed() override { m_bGone = TRUE; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CProbePlugIn, SECWndPlugIn)
  ON_MESSAGE(kProbe, OnProbe)
END_MESSAGE_MAP()

class CProbeFrame : public CFrameWnd {
 protected:
  afx_msg LRESULT OnProbe(WPARAM, LPARAM) {
    g_seen.push_back("window");
    return 7;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CProbeFrame, CFrameWnd)
  ON_MESSAGE(kProbe, OnProbe)
END_MESSAGE_MAP()

TEST_F(SecFrames, PlugInSeesTheMessagesFirstAndMayKeepThemFromTheWindow) {
  CProbeFrame* wnd = new CProbeFrame;
  ASSERT_TRUE(wnd->Create(NULL, "Probe", WS_OVERLAPPED, CRect(0, 0, 100, 100)));
  LONG_PTR own = ::GetWindowLongPtrA(wnd->m_hWnd, GWLP_WNDPROC);
  CProbePlugIn plugIn;
  ASSERT_TRUE(plugIn.PlugInTo(wnd));
  g_seen.clear();
  EXPECT_EQ(7, wnd->SendMessage(kProbe, 0, 0));
  EXPECT_EQ((std::vector<std::string>{"plug-in", "window"}), g_seen);
  g_seen.clear();
  EXPECT_EQ(42, wnd->SendMessage(kProbe, 0, 1));
  EXPECT_EQ((std::vector<std::string>{"plug-in"}), g_seen);
  // Unplugged, the window has its own procedure back; plugged again, it is let go when the window ends.
  plugIn.UnPlug();
  EXPECT_EQ(own, ::GetWindowLongPtrA(wnd->m_hWnd, GWLP_WNDPROC));
  g_seen.clear();
  wnd->SendMessage(kProbe, 0, 1);
  EXPECT_EQ((std::vector<std::string>{"window"}), g_seen);
  ASSERT_TRUE(plugIn.PlugInTo(wnd));
  wnd->DestroyWindow();
  EXPECT_TRUE(plugIn.m_bGone);
  EXPECT_FALSE(plugIn.IsPlugged());
}

// Reads a value under the workspace key (test helper).
BOOL ReadWorkspaceValue(LPCSTR subKey, LPCSTR value, CString& text, DWORD* number) {
  SECRegistry key;
  if (!key.Open(HKEY_CURRENT_USER, TestWorkspaceKey() + "\\" + subKey)) return FALSE;
  return number ? key.QueryValue(value, *number) : key.QueryValue(value, text);
}

TEST_F(SecFrames, WorkspaceKeepsTheNamedValuesAndOpensItsWindowsAgain) {
  CMainFrame& frame = *g_frame;
  Open(NoteTemplate(), "w1.txt");
  CDocument* sketch = Open(SketchTemplate(), "w2.skt");
  Open(NoteTemplate(), "w3.txt", TRUE);
  CFrameWnd* sketchFrame = FrameOf(sketch);
  CRect sketchPlace(30, 40, 330, 290);
  sketchFrame->MoveWindow(&sketchPlace);
  static_cast<CMDIChildWnd*>(sketchFrame)->MDIActivate();
  Pump();
  ASSERT_TRUE(frame.m_workspace.SaveWorkspace("In\\Session"));
  EXPECT_EQ(CString("In\\Session"), frame.m_workspace.GetCurrentWorkspace());
  DWORD number = 0;
  CString text;
  ASSERT_TRUE(ReadWorkspaceValue("In/Session", "WindowCount", text, &number));
  EXPECT_EQ(3u, number);
  ASSERT_TRUE(ReadWorkspaceValue("In/Session\\Window1", "DocumentString", text, nullptr));
  EXPECT_EQ(SketchTemplate()->m_strDocStrings, text);
  EXPECT_TRUE(ReadWorkspaceValue("In/Session\\Window1", "DocTemplateIndex", text, &number));
  EXPECT_EQ(0u, number);
  EXPECT_TRUE(ReadWorkspaceValue("In/Session\\Window1", "DocPathName", text, nullptr));
  EXPECT_EQ(g_folder + "\\w2.skt", text);
  EXPECT_TRUE(ReadWorkspaceValue("In/Session\\Window1", "IsActiveChildFrame", text, &number));
  EXPECT_EQ(1u, number);
  CByteArray placement;
  SECRegistry window;
  ASSERT_TRUE(window.Open(HKEY_CURRENT_USER, TestWorkspaceKey() + "\\In/Session\\Window1"));
  ASSERT_TRUE(window.QueryValue("WindowPlacement", placement));
  EXPECT_EQ(sizeof(WINDOWPLACEMENT), size_t(placement.GetSize()));
  EXPECT_TRUE(ReadWorkspaceValue("In/Session\\Window2", "DockedViewFloating", text, &number));
  EXPECT_EQ(0u, number);
  EXPECT_TRUE(ReadWorkspaceValue("In/Session\\MainFrame", "Title", text, nullptr));

  CloseAll();
  ASSERT_TRUE(frame.m_workspace.OpenWorkspace("In\\Session"));
  Pump();
  EXPECT_EQ(3, [] {
    int count = 0;
    for (SECMultiDocTemplate* t : {NoteTemplate(), SketchTemplate()})
      for (POSITION pos = t->GetFirstDocPosition(); pos; t->GetNextDoc(pos)) ++count;
    return count;
  }());
  POSITION pos = SketchTemplate()->GetFirstDocPosition();
  ASSERT_NE(nullptr, pos);
  CDocument* reopened = SketchTemplate()->GetNextDoc(pos);
  EXPECT_EQ(frame.MDIGetActive(), FrameOf(reopened));
  EXPECT_EQ(sketchPlace, RectIn(FrameOf(reopened)->m_hWnd, frame.m_hWndMDIClient));
  EXPECT_FALSE(frame.m_workspace.OpenWorkspace("Missing"));
  EXPECT_TRUE(frame.m_workspace.DeleteWorkspace("In\\Session"));
}

TEST_F(SecFrames, TemplatesSharingADocumentStringAreFoundByTheirIndex) {
  CDocTemplate* twin = new SECMultiDocTemplate(IDR_NOTETYPE, RUNTIME_CLASS(CNoteDoc), RUNTIME_CLASS(SECWorksheet),
                                               RUNTIME_CLASS(CNoteView));
  theApp.AddDocTemplate(twin);
  EXPECT_EQ(0, SECMultiDocTemplate::GetDocTemplateIndex(NoteTemplate()));
  EXPECT_EQ(1, SECMultiDocTemplate::GetDocTemplateIndex(twin));
  EXPECT_EQ(NoteTemplate(), SECMultiDocTemplate::FindDocTemplate(NoteTemplate()->m_strDocStrings, 0));
  EXPECT_EQ(twin, SECMultiDocTemplate::FindDocTemplate(NoteTemplate()->m_strDocStrings, 1));
  EXPECT_EQ(nullptr, SECMultiDocTemplate::FindDocTemplate(NoteTemplate()->m_strDocStrings, 2));
  EXPECT_EQ(nullptr, SECMultiDocTemplate::FindDocTemplate("\nNothing", 0));
}

// Last: keeps the workbook with its tabs, the launch bar and a docked view up for a screenshot.
TEST_F(SecFrames, ZzScreenshotOfTheWorkbook) {
  CMainFrame& frame = *g_frame;
  Open(NoteTemplate(), "Report.txt");
  Open(SketchTemplate(), "Plan.skt");
  Open(NoteTemplate(), "Letter.txt");
  Open(NoteTemplate(), "Docked notes.txt", TRUE);
  frame.SetWorkbookMode(TRUE);
  frame.MDICascade();
  Pump();
  afxtest::HoldForScreenshot(theApp);
  frame.SetWorkbookMode(FALSE);
}

}  // namespace
