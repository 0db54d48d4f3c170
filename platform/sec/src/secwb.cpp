// The workbook frame and its tab strip along the bottom of the MDI area, and the worksheet child.
#include "secwb.h"

IMPLEMENT_DYNCREATE(SECWorkbook, SECMDIFrameWnd)
IMPLEMENT_DYNCREATE(SECWorksheet, SECMDIChildWnd)

namespace {
const int kTabPadding = 10;    // text to tab edge, each side
const int kTabMinWidth = 40;
const int kTabMaxWidth = 200;
const int kTabGap = 2;         // between tabs and before the first
const int kTabSlant = 6;       // the lower corners of a tab come in this far

HWND MDIClientOf(CMDIFrameWnd* frame) { return frame ? frame->m_hWndMDIClient : NULL; }
}  // namespace

// ---------------------------------------------------------------------------------------------
// SECWorkbookTabs

BEGIN_MESSAGE_MAP(SECWorkbookTabs, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_SIZE()
END_MESSAGE_MAP()

SECWorkbookTabs::SECWorkbookTabs() : m_pFrame(NULL), m_hWndActive(NULL) {}
SECWorkbookTabs::~SECWorkbookTabs() = default;

BOOL SECWorkbookTabs::Create(CMDIFrameWnd* frame) {
  m_pFrame = frame;
  LPCSTR className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, IDC_ARROW),
                                         reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  return CreateEx(0, className, NULL, WS_CHILD | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0), frame, SEC_IDW_WORKBOOK_TABS);
}

void SECWorkbookTabs::SyncTabs(HWND going) {
  HWND client = MDIClientOf(m_pFrame);
  if (!client || !m_hWnd) return;
  // The children as they are now: visible MDI children, not the one being destroyed.
  CPtrArray now;
  for (HWND child = ::GetWindow(client, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (child == going || !(::GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_MDICHILD)) continue;
    if (::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) now.Add(child);
  }
  BOOL changed = FALSE;
  for (INT_PTR i = m_arrTabs.GetSize() - 1; i >= 0; --i) {
    BOOL present = FALSE;
    for (INT_PTR k = 0; k < now.GetSize() && !present; ++k) present = now[k] == m_arrTabs[i];
    if (present) continue;
    m_arrTabs.RemoveAt(i);
    m_arrTexts.RemoveAt(i);
    changed = TRUE;
  }
  // New children in the order the MDI client keeps them (the newest first), appended oldest first.
  for (INT_PTR k = now.GetSize() - 1; k >= 0; --k) {
    BOOL known = FALSE;
    for (INT_PTR i = 0; i < m_arrTabs.GetSize() && !known; ++i) known = m_arrTabs[i] == now[k];
    if (known) continue;
    m_arrTabs.Add(now[k]);
    m_arrTexts.Add(CString());
    changed = TRUE;
  }
  for (INT_PTR i = 0; i < m_arrTabs.GetSize(); ++i) {
    CString text;
    CWnd::FromHandle(static_cast<HWND>(m_arrTabs[i]))->GetWindowText(text);
    if (text != m_arrTexts[i]) {
      m_arrTexts[i] = text;
      changed = TRUE;
    }
  }
  HWND active = reinterpret_cast<HWND>(::SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
  if (active != m_hWndActive) {
    m_hWndActive = active;
    changed = TRUE;
  }
  if (!changed) return;
  LayoutTabs();
  Invalidate();
}

void SECWorkbookTabs::LayoutTabs() {
  m_arrRects.RemoveAll();
  CRect client;
  GetClientRect(&client);
  CClientDC dc(this);
  HGDIOBJ oldFont = dc.SelectObject(::GetStockObject(DEFAULT_GUI_FONT));
  CArray<int, int> widths;
  int total = kTabGap;
  for (INT_PTR i = 0; i < m_arrTexts.GetSize(); ++i) {
    int width = dc.GetTextExtent(m_arrTexts[i], m_arrTexts[i].GetLength()).cx + 2 * kTabPadding;
    width = width < kTabMinWidth ? kTabMinWidth : (width > kTabMaxWidth ? kTabMaxWidth : width);
    widths.Add(width);
    total += width + kTabGap;
  }
  dc.SelectObject(oldFont);
  // Too many to fit: every tab gives up the same share of its width, down to the smallest.
  int room = client.Width();
  double scale = (total > room && total > 0) ? double(room - kTabGap * (widths.GetSize() + 1)) /
                                                   double(total - kTabGap * (widths.GetSize() + 1))
                                             : 1.0;
  int x = kTabGap;
  for (INT_PTR i = 0; i < widths.GetSize(); ++i) {
    int width = int(widths[i] * scale);
    if (width < kTabMinWidth) width = kTabMinWidth;
    m_arrRects.Add(CRect(x, 0, x + width, client.bottom - 2));
    x += width + kTabGap;
  }
}

CWnd* SECWorkbookTabs::GetTabWindow(int index) const {
  if (index < 0 || index >= GetTabCount()) return NULL;
  return CWnd::FromHandle(static_cast<HWND>(m_arrTabs[index]));
}

CString SECWorkbookTabs::GetTabText(int index) const {
  return index >= 0 && index < GetTabCount() ? m_arrTexts[index] : CString();
}

CRect SECWorkbookTabs::GetTabRect(int index) const {
  return index >= 0 && index < m_arrRects.GetSize() ? m_arrRects[index] : CRect();
}

int SECWorkbookTabs::HitTest(CPoint point) const {
  for (INT_PTR i = 0; i < m_arrRects.GetSize(); ++i)
    if (m_arrRects[i].PtInRect(point)) return int(i);
  return -1;
}

int SECWorkbookTabs::GetActiveTab() const {
  for (INT_PTR i = 0; i < m_arrTabs.GetSize(); ++i)
    if (m_arrTabs[i] == m_hWndActive) return int(i);
  return -1;
}

BOOL SECWorkbookTabs::OnEraseBkgnd(CDC*) { return TRUE; }

void SECWorkbookTabs::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
  // The line the tabs hang from, along the MDI area.
  dc.FillSolidRect(client.left, client.top, client.Width(), 1, ::GetSysColor(COLOR_3DDKSHADOW));
  HGDIOBJ oldFont = dc.SelectObject(::GetStockObject(DEFAULT_GUI_FONT));
  dc.SetBkMode(TRANSPARENT);
  CPen shadow(PS_SOLID, 1, ::GetSysColor(COLOR_3DSHADOW));
  CPen* oldPen = dc.SelectObject(&shadow);
  int active = GetActiveTab();
  for (INT_PTR i = 0; i < m_arrRects.GetSize(); ++i) {
    const CRect& tab = m_arrRects[i];
    BOOL isActive = int(i) == active;
    // A tab is a trapezoid, its top edge joined to the line above; the active one is white and lies over it.
    POINT shape[4] = {{tab.left, tab.top}, {tab.right, tab.top}, {tab.right - kTabSlant, tab.bottom},
                      {tab.left + kTabSlant, tab.bottom}};
    CBrush fill(::GetSysColor(isActive ? COLOR_WINDOW : COLOR_BTNFACE));
    CBrush* oldBrush = dc.SelectObject(&fill);
    dc.Polygon(shape, 4);
    dc.SelectObject(oldBrush);
    if (isActive) dc.FillSolidRect(tab.left + 1, tab.top, tab.Width() - 1, 1, ::GetSysColor(COLOR_WINDOW));
    CRect text = tab;
    text.DeflateRect(kTabPadding - 2, 0);
    dc.SetTextColor(::GetSysColor(isActive ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    dc.DrawText(m_arrTexts[i], &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  dc.SelectObject(oldPen);
  dc.SelectObject(oldFont);
}

void SECWorkbookTabs::OnLButtonDown(UINT flags, CPoint point) {
  int index = HitTest(point);
  CWnd* child = GetTabWindow(index);
  if (!child || !m_pFrame) {
    CWnd::OnLButtonDown(flags, point);
    return;
  }
  if (child->IsIconic()) m_pFrame->MDIRestore(child);
  m_pFrame->MDIActivate(child);
  SyncTabs();
}

void SECWorkbookTabs::OnSize(UINT type, int cx, int cy) {
  CWnd::OnSize(type, cx, cy);
  LayoutTabs();
  Invalidate();
}

// ---------------------------------------------------------------------------------------------
// SECWorkbook

BEGIN_MESSAGE_MAP(SECWorkbook, SECMDIFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND(ID_WORKBOOK_MODE, OnWorkbookMode)
  ON_UPDATE_COMMAND_UI(ID_WORKBOOK_MODE, OnUpdateWorkbookMode)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

SECWorkbook::SECWorkbook() : m_bWorkbookMode(FALSE) {}

int SECWorkbook::OnCreate(LPCREATESTRUCT cs) {
  if (SECMDIFrameWnd::OnCreate(cs) == -1) return -1;
  if (!m_wndTabs.Create(this)) return -1;
  return 0;
}

void SECWorkbook::SetWorkbookMode(BOOL workbook) {
  m_bWorkbookMode = workbook != FALSE;
  if (!m_wndTabs.m_hWnd) return;
  m_wndTabs.SyncTabs();
  m_wndTabs.ShowWindow(m_bWorkbookMode ? SW_SHOWNA : SW_HIDE);
  RecalcLayout();
}

void SECWorkbook::RecalcLayout(BOOL notify) {
  SECMDIFrameWnd::RecalcLayout(notify);
  if (!m_bWorkbookMode || !m_wndTabs.m_hWnd || !m_hWndMDIClient) return;
  // The tabs take the bottom of what the bars left to the MDI area.
  CRect area;
  ::GetWindowRect(m_hWndMDIClient, &area);
  ScreenToClient(&area);
  int height = area.Height() > SECWorkbookTabs::kHeight ? SECWorkbookTabs::kHeight : area.Height();
  ::MoveWindow(m_hWndMDIClient, area.left, area.top, area.Width(), area.Height() - height, TRUE);
  m_wndTabs.MoveWindow(area.left, area.bottom - height, area.Width(), height);
}

// The tabs follow the children in every mode, so that they keep the order the children came in.
void SECWorkbook::OnChildActivated(CMDIChildWnd* child) {
  SECMDIFrameWnd::OnChildActivated(child);
  m_wndTabs.SyncTabs();
}

void SECWorkbook::OnChildrenChanged(CMDIChildWnd* going) {
  SECMDIFrameWnd::OnChildrenChanged(going);
  m_wndTabs.SyncTabs(going ? going->m_hWnd : NULL);
}

LRESULT SECWorkbook::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
  LRESULT result = SECMDIFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
  // Children that are not SECMDIChildWnd do not tell the frame of their changes.
  m_wndTabs.SyncTabs();
  return result;
}

void SECWorkbook::OnWorkbookMode() { SetWorkbookMode(!m_bWorkbookMode); }

void SECWorkbook::OnUpdateWorkbookMode(CCmdUI* ui) {
  ui->Enable(TRUE);
  ui->SetCheck(m_bWorkbookMode ? 1 : 0);
}

// ---------------------------------------------------------------------------------------------
// SECWorksheet

SECWorksheet::SECWorksheet() = default;
