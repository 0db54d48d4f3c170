// Windows of the framework through real messages: frame placement, the frame's layout hook, exceptions at
// the window procedure, message reflection to controls, the non-client and state messages of the message
// maps, and null wrapper pointers (test code, not product).
#include <new>
#include <set>
#include <stdexcept>
#include "ui_app.h"

namespace {

CRect WindowRectIn(HWND wnd, HWND parent) {
  CRect r;
  ::GetWindowRect(wnd, &r);
  ::MapWindowPoints(NULL, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(FrameworkUi, FramesTakeWidthAndHeightFromTheRectangle) {
  CFrameWnd* sized = new CFrameWnd;  // frames delete themselves when destroyed
  ASSERT_TRUE(sized->Create(NULL, "Sized", WS_OVERLAPPEDWINDOW, CRect(100, 100, 500, 400)));
  EXPECT_EQ(CRect(100, 100, 500, 400), WindowRectIn(sized->m_hWnd, NULL));
  sized->DestroyWindow();

  // rectDefault leaves place and size to the system: a usable window, not a sliver at the corner.
  CFrameWnd* placed = new CFrameWnd;
  ASSERT_TRUE(placed->Create(NULL, "Default", WS_OVERLAPPEDWINDOW));
  CRect r = WindowRectIn(placed->m_hWnd, NULL);
  EXPECT_GE(r.Width(), 300);
  EXPECT_GE(r.Height(), 200);
  placed->DestroyWindow();

  CChildFrame* child = new CChildFrame;
  ASSERT_TRUE(child->Create(NULL, "Child", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(10, 20, 310, 220), s_frame));
  EXPECT_EQ(CRect(10, 20, 310, 220), WindowRectIn(child->m_hWnd, s_frame->m_hWndMDIClient));
  child->MDIDestroy();
  Pump();
}

struct RecordingHook : CFrameNotifyHook {
  int layouts = 0;
  std::vector<BOOL> modeless;
  void OnRecalcLayout() override { ++layouts; }
  void OnEnableModeless(BOOL enable) override { modeless.push_back(enable); }
};

TEST_F(FrameworkUi, LayoutTellsTheFrameHookOnlyWhenAskedTo) {
  RecordingHook hook;
  s_frame->m_pNotifyHook = &hook;
  s_frame->RecalcLayout(FALSE);
  EXPECT_EQ(0, hook.layouts);
  s_frame->RecalcLayout(TRUE);
  EXPECT_EQ(1, hook.layouts);
  // Delayed requests make one layout at idle time, told when any of them asked for it.
  s_frame->DelayRecalcLayout(TRUE);
  s_frame->DelayRecalcLayout(FALSE);
  EXPECT_EQ(1, hook.layouts);
  Pump();
  EXPECT_EQ(2, hook.layouts);
  s_frame->DelayRecalcLayout(FALSE);
  Pump();
  EXPECT_EQ(2, hook.layouts);
  s_frame->m_pNotifyHook = NULL;
}

// ---------------------------------------------------------------------------------------------

enum Thrown { kRuntimeError, kBadAlloc, kInteger, kFramework };

class CThrowingWnd : public CWnd {
 public:
  int m_paints = 0;
  afx_msg LRESULT OnThrow(WPARAM what, LPARAM) {
    switch (what) {
      case kRuntimeError: throw std::runtime_error("a library failed");
      case kBadAlloc: throw std::bad_alloc();
      case kInteger: throw 42;
      default: AfxThrowNotSupportedException();
    }
  }
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    ++m_paints;
    throw std::runtime_error("painting failed");
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
  ON_MESSAGE(WM_APP, OnThrow)
  ON_WM_PAINT()
END_MESSAGE_MAP()

class CFailingCreate : public CWnd {
 public:
  afx_msg int OnCreate(LPCREATESTRUCT) { throw std::bad_alloc(); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFailingCreate, CWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

const char kInternalFailure[] = "An internal application error has occurred.";

TEST_F(FrameworkUi, ExceptionsStopAtTheWindowProcedureAndAreReported) {
  CThrowingWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "thrower", WS_POPUP, CRect(0, 0, 60, 40), NULL, 0));
  struct Case { Thrown what; const char* told; } cases[] = {
      {kRuntimeError, kInternalFailure}, {kBadAlloc, "Out of memory."}, {kInteger, kInternalFailure},
      {kFramework, "An unsupported operation was attempted."}};
  for (const Case& c : cases) {
    theApp.m_boxes.clear();
    EXPECT_EQ(0, wnd.SendMessage(WM_APP, c.what));
    ASSERT_EQ(1u, theApp.m_boxes.size()) << c.what;
    EXPECT_EQ(c.told, theApp.m_boxes[0]);
  }
  // A paint that fails is reported once, not asked for again and again.
  theApp.m_boxes.clear();
  wnd.ShowWindow(SW_SHOWNA);
  wnd.UpdateWindow();
  Pump();
  EXPECT_EQ(1, wnd.m_paints);
  EXPECT_EQ(1u, theApp.m_boxes.size());
  wnd.DestroyWindow();

  // A window whose creation fails so is not made.
  theApp.m_boxes.clear();
  CFailingCreate failing;
  EXPECT_FALSE(failing.CreateEx(0, AfxRegisterWndClass(0), "failing", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
  EXPECT_EQ(NULL, failing.m_hWnd);
  ASSERT_EQ(1u, theApp.m_boxes.size());
  EXPECT_EQ("Out of memory.", theApp.m_boxes[0]);
}

UINT AFX_CDECL ThrowingThread(LPVOID) { throw std::runtime_error("worker failed"); }

TEST_F(FrameworkUi, ExceptionsStopAtTheThreadStart) {
  theApp.m_boxes.clear();
  CWinThread* thread = AfxBeginThread(ThrowingThread, NULL, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(nullptr, thread);
  thread->m_bAutoDelete = FALSE;
  thread->ResumeThread();
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->m_hThread, 10000));
  DWORD code = 0;
  GetExitCodeThread(thread->m_hThread, &code);
  EXPECT_EQ(DWORD(-1), code);
  delete thread;
  ASSERT_EQ(1u, theApp.m_boxes.size());
  EXPECT_EQ(kInternalFailure, theApp.m_boxes[0]);
}

// ---------------------------------------------------------------------------------------------
// Reflection: a host window with controls whose classes handle what the host is told about them.

const UINT kListId = 401, kStaticId = 402, kScrollId = 403, kButtonId = 404, kListViewId = 405;
const int kItemHeight = 23;

class CReflectingList : public CListBox {
 public:
  int m_draws = 0, m_measures = 0, m_selChanges = 0;
  void DrawItem(LPDRAWITEMSTRUCT item) {
    ++m_draws;
    ::FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  void MeasureItem(LPMEASUREITEMSTRUCT item) {
    ++m_measures;
    item->itemHeight = kItemHeight;
  }
  afx_msg void OnSelChange() { ++m_selChanges; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectingList, CListBox)
  ON_WM_DRAWITEM_REFLECT()
  ON_WM_MEASUREITEM_REFLECT()
  ON_CONTROL_REFLECT(LBN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

class CReflectingStatic : public CStatic {
 public:
  CBrush m_brush{RGB(200, 40, 40)};
  int m_colours = 0;
  HBRUSH CtlColor(CDC*, UINT) {
    ++m_colours;
    return m_brush;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectingStatic, CStatic)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CReflectingScrollBar : public CScrollBar {
 public:
  std::vector<UINT> m_codes;
  void HScroll(UINT code, UINT) { m_codes.push_back(code); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectingScrollBar, CScrollBar)
  ON_WM_HSCROLL_REFLECT()
END_MESSAGE_MAP()

class CReflectingButton : public CButton {
 public:
  int m_clicks = 0;
  afx_msg BOOL OnClicked() {
    ++m_clicks;
    return FALSE;  // the parent hears of it too
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectingButton, CButton)
  ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

class CReflectingListView : public CListCtrl {
 public:
  int m_changes = 0;
  afx_msg void OnItemChanged(NMHDR*, LRESULT* result) {
    ++m_changes;
    *result = 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectingListView, CListCtrl)
  ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, OnItemChanged)
END_MESSAGE_MAP()

class CHostWnd : public CWnd {
 public:
  CReflectingList m_list;
  CReflectingStatic m_static;
  CReflectingScrollBar m_scroll;
  CReflectingButton m_button;
  CReflectingListView m_listView;
  int m_draws = 0, m_scrolls = 0, m_buttonClicks = 0, m_listSelChanges = 0, m_listViewChanges = 0;
  std::set<HWND> m_coloured;  // controls whose colours the host was asked for
  // The state and non-client messages, as the handlers received them.
  CPoint m_hitPoint;
  std::string m_settingSection;
  HWND m_captureTaker = reinterpret_cast<HWND>(-1);
  int m_posChanging = 0, m_cancelModes = 0, m_ncCalcs = 0;
  UINT m_menuChar = 0;

  BOOL Make() {
    if (!CreateEx(0, AfxRegisterWndClass(0, NULL, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), "host",
                  WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(40, 40, 440, 340), NULL, 0))
      return FALSE;
    return m_list.Create(WS_VISIBLE | WS_BORDER | LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_HASSTRINGS,
                         CRect(10, 10, 150, 110), this, kListId) &&
           m_static.Create("coloured", WS_VISIBLE, CRect(160, 10, 300, 30), this, kStaticId) &&
           m_scroll.Create(WS_VISIBLE | SBS_HORZ, CRect(160, 40, 300, 56), this, kScrollId) &&
           m_button.Create("button", WS_VISIBLE | BS_PUSHBUTTON, CRect(160, 70, 300, 95), this, kButtonId) &&
           m_listView.Create(WS_VISIBLE | WS_BORDER | LVS_REPORT, CRect(10, 120, 300, 250), this, kListViewId);
  }
  afx_msg void OnDrawItem(int, LPDRAWITEMSTRUCT) { ++m_draws; }
  afx_msg HBRUSH OnCtlColor(CDC*, CWnd* wnd, UINT) {
    m_coloured.insert(wnd->m_hWnd);
    return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  }
  afx_msg void OnHScroll(UINT, UINT, CScrollBar*) { ++m_scrolls; }
  afx_msg void OnButton() { ++m_buttonClicks; }
  afx_msg void OnListSelChange() { ++m_listSelChanges; }
  afx_msg void OnListViewChanged(NMHDR*, LRESULT*) { ++m_listViewChanges; }
  afx_msg LRESULT OnNcHitTest(CPoint point) {
    m_hitPoint = point;
    return HTCAPTION;
  }
  afx_msg void OnSettingChange(UINT, LPCSTR section) { m_settingSection = section ? section : ""; }
  afx_msg void OnCaptureChanged(CWnd* wnd) { m_captureTaker = AfxGetSafeHwnd(wnd); }
  afx_msg void OnWindowPosChanging(WINDOWPOS* pos) {
    ++m_posChanging;
    CWnd::OnWindowPosChanging(pos);
  }
  afx_msg void OnCancelMode() { ++m_cancelModes; }
  afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params) {
    ++m_ncCalcs;
    CWnd::OnNcCalcSize(calcValidRects, params);
  }
  afx_msg LRESULT OnMenuChar(UINT ch, UINT, CMenu*) {
    m_menuChar = ch;
    return MAKELRESULT(2, MNC_EXECUTE);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CHostWnd, CWnd)
  ON_WM_DRAWITEM()
  ON_WM_CTLCOLOR()
  ON_WM_HSCROLL()
  ON_BN_CLICKED(kButtonId, OnButton)
  ON_LBN_SELCHANGE(kListId, OnListSelChange)
  ON_NOTIFY(LVN_ITEMCHANGED, kListViewId, OnListViewChanged)
  ON_WM_NCHITTEST()
  ON_WM_SETTINGCHANGE()
  ON_WM_CAPTURECHANGED()
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_CANCELMODE()
  ON_WM_NCCALCSIZE()
  ON_WM_MENUCHAR()
END_MESSAGE_MAP()

void ClickAt(HWND wnd, int x, int y) {
  ::SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  ::SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

TEST_F(FrameworkUi, ControlsHandleWhatTheirParentIsToldAboutThem) {
  CHostWnd host;
  ASSERT_TRUE(host.Make());
  // Owner-drawn list: measured while it was created, drawn on paint, its selection change its own.
  for (LPCSTR item : {"one", "two", "three"}) host.m_list.AddString(item);
  host.UpdateWindow();
  host.m_list.RedrawWindow();
  EXPECT_EQ(1, host.m_list.m_measures);
  EXPECT_EQ(kItemHeight, int(host.m_list.SendMessage(LB_GETITEMHEIGHT, 0)));
  EXPECT_GT(host.m_list.m_draws, 0);
  EXPECT_EQ(0, host.m_draws);
  ClickAt(host.m_list.m_hWnd, 20, kItemHeight + kItemHeight / 2);
  EXPECT_EQ(1, host.m_list.GetCurSel());
  EXPECT_EQ(1, host.m_list.m_selChanges);
  EXPECT_EQ(0, host.m_listSelChanges);

  // The static gives its own brush; the host still colours the controls that do not.
  host.m_static.RedrawWindow();
  host.m_list.RedrawWindow();
  EXPECT_GT(host.m_static.m_colours, 0);
  EXPECT_EQ(0u, host.m_coloured.count(host.m_static.m_hWnd));
  EXPECT_EQ(1u, host.m_coloured.count(host.m_list.m_hWnd));

  // The scroll bar's arrow key: the bar scrolls itself.
  host.m_scroll.SetScrollRange(0, 10);
  host.m_scroll.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
  ASSERT_FALSE(host.m_scroll.m_codes.empty());
  EXPECT_EQ(UINT(SB_LINEDOWN), host.m_scroll.m_codes[0]);
  EXPECT_EQ(0, host.m_scrolls);

  // An _EX handler that returns FALSE lets the parent have the click too.
  host.m_button.SendMessage(BM_CLICK);
  EXPECT_EQ(1, host.m_button.m_clicks);
  EXPECT_EQ(1, host.m_buttonClicks);

  // A list view's notification is reflected to the list view.
  host.m_listView.InsertColumn(0, "name", LVCFMT_LEFT, 100);
  host.m_listView.InsertItem(0, "item");
  int before = host.m_listView.m_changes;
  host.m_listView.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_GT(host.m_listView.m_changes, before);
  EXPECT_EQ(0, host.m_listViewChanges);
  host.DestroyWindow();
}

TEST_F(FrameworkUi, StateAndNonClientMessagesReachTheirHandlers) {
  CHostWnd host;
  ASSERT_TRUE(host.Make());
  EXPECT_EQ(HTCAPTION, host.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(-5, 7)));
  EXPECT_EQ(CPoint(-5, 7), host.m_hitPoint);
  host.SendMessage(WM_SETTINGCHANGE, 0, LPARAM("intl"));
  EXPECT_EQ("intl", host.m_settingSection);
  host.SetCapture();
  host.m_list.SetCapture();
  EXPECT_EQ(host.m_list.m_hWnd, host.m_captureTaker);
  ::ReleaseCapture();
  int changing = host.m_posChanging, calcs = host.m_ncCalcs;
  host.SetWindowPos(NULL, 50, 50, 380, 290, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  EXPECT_GT(host.m_posChanging, changing);
  EXPECT_GT(host.m_ncCalcs, calcs);
  host.SendMessage(WM_CANCELMODE);
  EXPECT_EQ(1, host.m_cancelModes);
  EXPECT_EQ(MAKELRESULT(2, MNC_EXECUTE), host.SendMessage(WM_MENUCHAR, MAKEWPARAM('x', MF_POPUP), 0));
  EXPECT_EQ(UINT('x'), host.m_menuChar);
  host.DestroyWindow();
}

TEST_F(FrameworkUi, NullWrappersHaveNoHandles) {
  EXPECT_EQ(NULL, AfxGetSafeHwnd(NULL));
  EXPECT_EQ(NULL, AfxGetSafeHdc(NULL));
  EXPECT_EQ(NULL, AfxGetSafeHandle(NULL));
  EXPECT_EQ(NULL, AfxGetSafeHmenu(NULL));
  EXPECT_EQ(s_frame->m_hWnd, AfxGetSafeHwnd(s_frame));
  // Callers written the classic way call the members through a null pointer; the library's members must
  // still answer null (their test of `this` must survive optimisation).
  CWnd* volatile noWindow = NULL;
  CDC* volatile noDC = NULL;
  CMenu* volatile noMenu = NULL;
  CGdiObject* volatile noObject = NULL;
  EXPECT_EQ(NULL, noWindow->GetSafeHwnd());
  EXPECT_EQ(NULL, noDC->GetSafeHdc());
  EXPECT_EQ(NULL, noMenu->GetSafeHmenu());
  EXPECT_EQ(NULL, noObject->GetSafeHandle());
}

}  // namespace
