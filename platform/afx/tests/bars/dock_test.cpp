// Bars on frames driven through real messages: docking sides and rows, dragging, floating, delayed hiding,
// saved bar state and its edits, tool bar routing and updates, status bar panes, and the splitter
// (test code, not product).
#include "bars_app.h"

namespace {

int DockedOn(const CControlBar& bar) { return bar.m_pDockBar ? bar.m_pDockBar->GetDlgCtrlID() : 0; }

CPoint Centre(const CRect& rect) { return CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2); }

// A press on the bar's gripper, moves to target (screen) and the release there: a whole drag.
void Drag(CControlBar& bar, CPoint target) {
  CRect window;
  bar.GetWindowRect(&window);
  CPoint grip(window.left + 3, window.top + 3);  // the gripper's corner, in window = client offsets below
  CPoint gripClient = grip;
  bar.ScreenToClient(&gripClient);
  CPoint targetClient = target;
  bar.ScreenToClient(&targetClient);
  // The drag's own loop reads these once the press starts it.
  bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(targetClient.x, targetClient.y));
  bar.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(targetClient.x, targetClient.y));
  bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(gripClient.x, gripClient.y));
  Pump();
}

CDockFrame* MakeDockFrame() {
  CDockFrame* frame = new CDockFrame;
  if (!frame->Create(NULL, "Docking", WS_OVERLAPPEDWINDOW, CRect(120, 120, 760, 560))) return nullptr;
  frame->ShowWindow(SW_SHOW);
  frame->RecalcLayout();
  Pump();
  return frame;
}

void Destroy(CFrameWnd* frame) {
  frame->DestroyWindow();
  Pump();
}

TEST_F(BarsUi, FrameShowsDockedAndFloatingBarsAndAStatusProgress) {
  CMainFrame& frame = *s_frame;
  EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, DockedOn(frame.m_wndTools1));
  EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, DockedOn(frame.m_wndTools2));
  ASSERT_TRUE(frame.m_wndTools3.IsFloating());
  EXPECT_TRUE(frame.m_wndTools3.GetParentFrame()->IsWindowVisible());
  // The dock bars are the frame's, by their fixed ids; the MDI client takes the space the bars leave.
  for (UINT id : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_BOTTOM}) {
    CControlBar* dockBar = frame.GetControlBar(id);
    ASSERT_NE(nullptr, dockBar) << id;
    EXPECT_TRUE(dockBar->IsDockBar());
  }
  EXPECT_EQ(&frame.m_wndTools1, frame.GetControlBar(IDW_TOOLS1));
  CRect client = RectIn(frame.m_hWndMDIClient, frame.m_hWnd);
  EXPECT_EQ(RectIn(frame.m_wndTools1.m_hWnd, frame.m_hWnd).bottom, client.top);
  EXPECT_EQ(RectIn(frame.m_wndTools2.m_hWnd, frame.m_hWnd).right, client.left);
  EXPECT_EQ(RectIn(frame.m_wndStatusBar.m_hWnd, frame.m_hWnd).top, client.bottom);
  // The progress control sits in the left third of the message pane.
  EXPECT_TRUE(frame.m_wndStatusBar.m_progress.IsWindowVisible());
  EXPECT_EQ(frame.m_wndStatusBar.ProgressPlace(),
            RectIn(frame.m_wndStatusBar.m_progress.m_hWnd, frame.m_wndStatusBar.m_hWnd));
  CPagesView* view = OpenPages(2);
  ASSERT_NE(nullptr, view);
  HoldForScreenshot();
  view->GetDocument()->OnCloseDocument();
  Pump();
}

TEST_F(BarsUi, DelayedHideWaitsForTheLayoutAndTheClientGrows) {
  CMainFrame& frame = *s_frame;
  CRect before = RectIn(frame.m_hWndMDIClient, frame.m_hWnd);
  frame.ShowControlBar(&frame.m_wndTools1, FALSE, TRUE);
  EXPECT_TRUE(frame.m_wndTools1.IsWindowVisible());
  EXPECT_FALSE(frame.m_wndTools1.IsVisible());  // visible only until the layout
  EXPECT_EQ(before, RectIn(frame.m_hWndMDIClient, frame.m_hWnd));
  Pump();
  EXPECT_FALSE(frame.m_wndTools1.IsWindowVisible());
  CRect after = RectIn(frame.m_hWndMDIClient, frame.m_hWnd);
  EXPECT_LT(after.top, before.top);
  EXPECT_EQ(before.bottom, after.bottom);
  EXPECT_EQ(before.left, after.left);
  frame.ShowControlBar(&frame.m_wndTools1, TRUE, TRUE);
  EXPECT_FALSE(frame.m_wndTools1.IsWindowVisible());
  Pump();
  EXPECT_TRUE(frame.m_wndTools1.IsWindowVisible());
  EXPECT_EQ(before, RectIn(frame.m_hWndMDIClient, frame.m_hWnd));
}

TEST_F(BarsUi, StatusBarStretchesOnePaneAndTheProgressFollowsResizes) {
  CMainFrame& frame = *s_frame;
  CProgressStatusBar& bar = frame.m_wndStatusBar;
  CRect panes[4];
  for (int i = 0; i < 4; ++i) bar.GetItemRect(i, &panes[i]);
  CRect window;
  frame.GetWindowRect(&window);
  frame.SetWindowPos(NULL, 0, 0, window.Width() + 100, window.Height(), SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  // The stretching message pane takes all the new width; the others keep theirs and move along.
  CRect message;
  bar.GetItemRect(0, &message);
  EXPECT_EQ(panes[0].Width() + 100, message.Width());
  for (int i = 1; i < 4; ++i) {
    CRect pane;
    bar.GetItemRect(i, &pane);
    EXPECT_EQ(panes[i].Width(), pane.Width()) << i;
    EXPECT_EQ(panes[i].left + 100, pane.left) << i;
  }
  EXPECT_EQ(bar.ProgressPlace(), RectIn(bar.m_progress.m_hWnd, bar.m_hWnd));
  EXPECT_GT(bar.ProgressPlace().Width(), panes[0].Width() / 3);
  // Another pane may stretch instead.
  UINT id, style;
  int width;
  bar.GetPaneInfo(1, id, style, width);
  EXPECT_EQ(UINT(ID_INDICATOR_PAGES), id);
  bar.SetPaneInfo(0, ID_SEPARATOR, SBPS_NORMAL, 120);
  bar.SetPaneInfo(1, ID_INDICATOR_PAGES, SBPS_STRETCH, width);
  bar.GetItemRect(1, &message);
  EXPECT_GT(message.Width(), width + 200);
  bar.SetPaneInfo(1, ID_INDICATOR_PAGES, style, width);
  bar.SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH | SBPS_NOBORDERS, 0);
  frame.SetWindowPos(NULL, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  // Pane texts come from update handlers at idle time; prompts go to the message pane.
  frame.m_pagesText = "Pages: 7";
  Pump();
  EXPECT_EQ(CString("Pages: 7"), bar.GetPaneText(1));
  frame.SetMessageText("Choose a picture");
  EXPECT_EQ(CString("Choose a picture"), bar.GetPaneText(0));
  frame.SetMessageText(AFX_IDS_IDLEMESSAGE);
}

TEST_F(BarsUi, ToolBarCommandsReachTheOwnerAndButtonsFollowUpdateHandlers) {
  CMainFrame& frame = *s_frame;
  CToolBar& tools = frame.m_wndTools1;
  Pump();
  // A click on a button is a command of the bar's owner.
  CRect red;
  tools.GetItemRect(tools.CommandToIndex(ID_TOOL_RED), &red);
  g_command.clear();
  tools.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Centre(red).x, Centre(red).y));
  tools.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(Centre(red).x, Centre(red).y));
  EXPECT_EQ("frame:" + std::to_string(ID_TOOL_RED), g_command);
  // Another owner (a component's active frame) takes the commands from then on.
  COwnerFrame* owner = new COwnerFrame;
  ASSERT_TRUE(owner->Create(NULL, "Owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100)));
  tools.SetOwner(owner);
  tools.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Centre(red).x, Centre(red).y));
  tools.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(Centre(red).x, Centre(red).y));
  EXPECT_EQ("owner:" + std::to_string(ID_TOOL_RED), g_command);
  tools.SetOwner(&frame);
  owner->DestroyWindow();
  // The idle update disables a button its handler disables, and one without any handler; the others stay.
  Pump();
  CToolBar& shades = frame.m_wndTools2;
  EXPECT_FALSE(shades.SendMessage(TB_ISBUTTONENABLED, ID_TOOL_GREY));
  EXPECT_TRUE(shades.SendMessage(TB_ISBUTTONENABLED, ID_TOOL_TEAL));
  // The drop-down button's arrow notifies the owner.
  CRect orange;
  shades.GetItemRect(0, &orange);
  int dropDowns = frame.m_dropDowns;
  shades.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(orange.right - 3, Centre(orange).y));
  shades.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(orange.right - 3, Centre(orange).y));
  EXPECT_EQ(dropDowns + 1, frame.m_dropDowns);
  // The tip is the second part of the command's prompt, the fly-by prompt the first.
  HWND tooltip = HWND(tools.SendMessage(TB_GETTOOLTIPS));
  ASSERT_NE(HWND(NULL), tooltip);
  NMTTDISPINFOA tip = {};
  tip.hdr.hwndFrom = tooltip;
  tip.hdr.idFrom = ID_TOOL_BLUE;
  tip.hdr.code = TTN_GETDISPINFOA;
  tools.SendMessage(WM_NOTIFY, ID_TOOL_BLUE, LPARAM(&tip));
  ASSERT_NE(nullptr, tip.lpszText);
  EXPECT_STREQ("Blue", tip.lpszText);
  CRect blue;
  tools.GetItemRect(tools.CommandToIndex(ID_TOOL_BLUE), &blue);
  tools.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(Centre(blue).x, Centre(blue).y));
  EXPECT_EQ(CString("Paints it blue"), frame.m_wndStatusBar.GetPaneText(0));
  tools.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(Centre(red).x, Centre(red).y));
  EXPECT_EQ(CString("Paints it red"), frame.m_wndStatusBar.GetPaneText(0));
  frame.SetMessageText(AFX_IDS_IDLEMESSAGE);
  // Buttons by index and command.
  EXPECT_EQ(5, tools.GetCount());
  EXPECT_EQ(3, tools.CommandToIndex(ID_TOOL_GREEN));
  EXPECT_EQ(UINT(ID_SEPARATOR), tools.GetItemID(2));
  UINT id, style;
  int image;
  tools.GetButtonInfo(3, id, style, image);
  tools.SetButtonInfo(3, ID_TOOL_NAVY, TBBS_BUTTON, 0);
  EXPECT_EQ(UINT(ID_TOOL_NAVY), tools.GetItemID(3));
  EXPECT_EQ(-1, tools.CommandToIndex(ID_TOOL_GREEN));
  tools.SetButtonInfo(3, id, style, image);
  EXPECT_EQ(3, tools.CommandToIndex(ID_TOOL_GREEN));
}

TEST_F(BarsUi, BarsDockIntoRowsAndMoveBetweenSidesByDragging) {
  CDockFrame* frame = MakeDockFrame();
  ASSERT_NE(nullptr, frame);
  CToolBar* tools = frame->m_wndTools;
  CDockBar* top = static_cast<CDockBar*>(frame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
  EXPECT_EQ(3, top->GetRowCount());  // docked without a place: a row each
  // Docked at the first bar's rectangle moved a pixel to the right (how a caller puts a bar beside
  // another), the second joins the first's row right after it.
  CRect first;
  tools[0].GetWindowRect(&first);
  CRect beside = first;
  beside.OffsetRect(1, 0);
  frame->DockControlBar(&tools[1], AFX_IDW_DOCKBAR_TOP, &beside);
  Pump();
  int row, position;
  ASSERT_TRUE(top->GetBarPlace(&tools[1], row, position));
  EXPECT_EQ(0, row);
  EXPECT_EQ(1, position);
  EXPECT_EQ(2, top->GetRowCount());
  CRect second;
  tools[1].GetWindowRect(&second);
  EXPECT_EQ(first.right, second.left);
  EXPECT_EQ(first.top, second.top);
  // Dragged by its gripper onto the left side, then out into the frame's middle where it floats.
  CRect left;
  frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT)->GetWindowRect(&left);
  Drag(tools[2], CPoint(left.left + 1, left.top + 60));
  EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, DockedOn(tools[2]));
  CRect client;
  frame->GetClientRect(&client);
  frame->ClientToScreen(&client);
  Drag(tools[2], Centre(client));
  EXPECT_TRUE(tools[2].IsFloating());
  // Closing the floating frame hides its bar; showing the bar brings the frame back.
  CFrameWnd* floating = tools[2].GetParentFrame();
  floating->SendMessage(WM_CLOSE);
  Pump();
  ASSERT_TRUE(::IsWindow(floating->m_hWnd));
  EXPECT_FALSE(tools[2].IsVisible());
  EXPECT_FALSE(floating->IsWindowVisible());
  frame->ShowControlBar(&tools[2], TRUE, FALSE);
  EXPECT_TRUE(floating->IsWindowVisible());
  // A double click on a floating bar docks it where it was docked last.
  tools[2].m_pDockContext->ToggleDocking();
  Pump();
  EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, DockedOn(tools[2]));
  Destroy(frame);
}

TEST_F(BarsUi, SavedBarStateBringsBackSidesFloatingPlacesAndVisibility) {
  CDockFrame* frame = MakeDockFrame();
  ASSERT_NE(nullptr, frame);
  frame->DockControlBar(&frame->m_wndTools[0], AFX_IDW_DOCKBAR_LEFT);
  const CPoint floatAt(700, 220);
  frame->FloatControlBar(&frame->m_wndTools[1], floatAt);
  frame->ShowControlBar(&frame->m_wndTools[2], FALSE, FALSE);
  Pump();
  frame->SaveBarState("Test");
  Destroy(frame);

  frame = MakeDockFrame();  // every bar on top and shown again
  ASSERT_NE(nullptr, frame);
  frame->LoadBarState("Test");
  Pump();
  EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, DockedOn(frame->m_wndTools[0]));
  ASSERT_TRUE(frame->m_wndTools[1].IsFloating());
  CRect floating;
  frame->m_wndTools[1].GetParentFrame()->GetWindowRect(&floating);
  EXPECT_EQ(floatAt, floating.TopLeft());
  EXPECT_TRUE(frame->m_wndTools[1].GetParentFrame()->IsWindowVisible());
  EXPECT_FALSE(frame->m_wndTools[2].IsVisible());
  EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, DockedOn(frame->m_wndTools[2]));

  // A caller edits the state before saving it: one record dropped, a hidden bar marked visible.
  CDockState state;
  frame->GetDockState(state);
  ASSERT_NE(nullptr, state.FindInfo(IDW_TOOLS1));
  for (int i = 0; i < state.GetCount(); ++i)
    if (state.GetInfo(i)->m_nBarID == IDW_TOOLS1) state.RemoveInfo(i--);
  EXPECT_EQ(nullptr, state.FindInfo(IDW_TOOLS1));
  state.FindInfo(IDW_TOOLS3)->m_bVisible = TRUE;
  ASSERT_TRUE(state.SaveState("Test"));
  Destroy(frame);

  frame = MakeDockFrame();
  ASSERT_NE(nullptr, frame);
  frame->ShowControlBar(&frame->m_wndTools[2], FALSE, FALSE);
  frame->LoadBarState("Test");
  Pump();
  EXPECT_TRUE(frame->m_wndTools[2].IsVisible());
  // Without its own record the first bar still takes its place in the left side's list.
  EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, DockedOn(frame->m_wndTools[0]));
  EXPECT_TRUE(frame->m_wndTools[0].IsVisible());
  EXPECT_TRUE(frame->m_wndTools[1].IsFloating());
  Destroy(frame);
}

TEST_F(BarsUi, ADamagedStateNamingABarTwiceDocksItOnce) {
  CDockFrame* frame = MakeDockFrame();
  ASSERT_NE(nullptr, frame);
  CDockState state;
  frame->GetDockState(state);
  CControlBarInfo* top = state.FindInfo(AFX_IDW_DOCKBAR_TOP);
  ASSERT_NE(nullptr, top);
  top->m_arrBarID.RemoveAll();
  for (UINT id : {UINT(IDW_TOOLS1), UINT(IDW_TOOLS2), 0u, UINT(IDW_TOOLS1), UINT(IDW_TOOLS2), 0u, UINT(IDW_TOOLS1), 0u})
    top->m_arrBarID.Add(id);
  frame->SetDockState(state);
  Pump();
  CDockBar* side = static_cast<CDockBar*>(frame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
  int seen = 0;
  for (INT_PTR i = 0; i < side->m_arrBars.GetSize(); ++i)
    if (side->m_arrBars[i] == &frame->m_wndTools[0]) ++seen;
  EXPECT_EQ(1, seen);
  EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, DockedOn(frame->m_wndTools[1]));
  Destroy(frame);
}

TEST_F(BarsUi, ExtraValuesOfABarRecordSurviveTheProfileAndArchives) {
  CDockState state;
  CControlBarInfo* info = new CControlBarInfo;
  info->m_nBarID = IDW_TOOLS1;
  for (DWORD value : {DWORD(7), DWORD(0xFFFFFFFF), DWORD(85)}) info->m_arrExtra.Add(value);
  state.m_arrBarInfo.Add(info);
  auto extrasOf = [](const CDockState& s) {
    std::vector<DWORD> values;
    if (const CControlBarInfo* found = s.FindInfo(IDW_TOOLS1))
      for (INT_PTR i = 0; i < found->m_arrExtra.GetSize(); ++i) values.push_back(found->m_arrExtra[i]);
    return values;
  };
  const std::vector<DWORD> expected{7, 0xFFFFFFFF, 85};
  ASSERT_TRUE(state.SaveState("Extra"));
  CDockState loaded;
  ASSERT_TRUE(loaded.LoadState("Extra"));
  EXPECT_EQ(expected, extrasOf(loaded));
  CMemFile file;
  {
    CArchive out(&file, CArchive::store);
    state.Serialize(out);
  }
  file.SeekToBegin();
  CDockState copy;
  {
    CArchive in(&file, CArchive::load);
    copy.Serialize(in);
  }
  EXPECT_EQ(expected, extrasOf(copy));
  // A record saved later without extra values keeps none of the earlier ones.
  info->m_arrExtra.RemoveAll();
  ASSERT_TRUE(state.SaveState("Extra"));
  ASSERT_TRUE(loaded.LoadState("Extra"));
  EXPECT_TRUE(extrasOf(loaded).empty());
}

// A pane of the splitter test.
class CPlainView : public CView {
  DECLARE_DYNCREATE(CPlainView)
 protected:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPlainView, CView)

TEST_F(BarsUi, SplitterColumnsAreSetReadDraggedHiddenAndShown) {
  CFrameWnd* frame = new CFrameWnd;
  ASSERT_TRUE(frame->Create(NULL, "Split", WS_OVERLAPPEDWINDOW, CRect(80, 80, 680, 480)));
  CSplitterWnd splitter;
  ASSERT_TRUE(splitter.CreateStatic(frame, 1, 2));
  ASSERT_TRUE(splitter.CreateView(0, 0, RUNTIME_CLASS(CPlainView), CSize(150, 100), NULL));
  ASSERT_TRUE(splitter.CreateView(0, 1, RUNTIME_CLASS(CPlainView), CSize(100, 100), NULL));
  frame->ShowWindow(SW_SHOW);
  frame->RecalcLayout();
  Pump();
  int current, minimum;
  splitter.GetColumnInfo(0, current, minimum);
  EXPECT_EQ(150, current);
  CRect client;
  splitter.GetClientRect(&client);
  CRect right = RectIn(splitter.GetPane(0, 1)->m_hWnd, splitter.m_hWnd);
  EXPECT_EQ(150 + CSplitterWnd::kSplitterGap, right.left);
  EXPECT_EQ(client.right, right.right);
  // The bar between them follows the mouse.
  int bar = 150 + CSplitterWnd::kSplitterGap / 2;
  splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar, 50));
  splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bar + 60, 50));
  splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(bar + 60, 50));
  splitter.GetColumnInfo(0, current, minimum);
  EXPECT_EQ(210, current);
  // Hidden, the first column gives all its width to the second; shown, it takes it back.
  splitter.HideColumn(0);
  EXPECT_TRUE(splitter.IsColumnHidden(0));
  EXPECT_FALSE(splitter.GetPane(0, 0)->IsWindowVisible());
  EXPECT_EQ(client, RectIn(splitter.GetPane(0, 1)->m_hWnd, splitter.m_hWnd));
  splitter.ShowColumn(0);
  EXPECT_TRUE(splitter.GetPane(0, 0)->IsWindowVisible());
  splitter.GetColumnInfo(0, current, minimum);
  EXPECT_EQ(210, current);
  splitter.SetColumnInfo(0, 120, 30);
  splitter.RecalcLayout();
  splitter.GetColumnInfo(0, current, minimum);
  EXPECT_EQ(120, current);
  EXPECT_EQ(30, minimum);
  splitter.DestroyWindow();
  Destroy(frame);
}

}  // namespace
