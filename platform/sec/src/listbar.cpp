// SECListBar: named groups with header buttons, the open group's list between them.
#include "seclistbar.h"

IMPLEMENT_DYNAMIC(SECListBar, CWnd)

BEGIN_MESSAGE_MAP(SECListBar, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_CAPTURECHANGED()
  ON_MESSAGE(WM_SETFONT, OnSetFont)
  ON_MESSAGE(WM_GETFONT, OnGetFont)
END_MESSAGE_MAP()

namespace {
// Room above and below a header's text.
const int kHeaderPadding = 4;
}  // namespace

SECListBar::SECListBar() : m_nActiveGroup(-1), m_nPressedGroup(-1), m_bLargeIcons(TRUE), m_hFont(NULL) {}

SECListBar::~SECListBar() = default;

BOOL SECListBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, MAKEINTRESOURCEA(32512)),
                                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  return CreateEx(0, cls, NULL, style | WS_CHILD | WS_CLIPCHILDREN, rect, parent, id);
}

int SECListBar::HeaderHeight() const {
  CClientDC dc(const_cast<SECListBar*>(this));
  HGDIOBJ old = dc.SelectObject(m_hFont ? HGDIOBJ(m_hFont) : ::GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA metrics;
  ::GetTextMetricsA(dc.m_hDC, &metrics);
  dc.SelectObject(old);
  return metrics.tmHeight + 2 * kHeaderPadding + 2 * ::GetSystemMetrics(SM_CYEDGE);
}

int SECListBar::AddGroup(LPCSTR name, SECListCtrl* list, UINT id, DWORD exStyle) {
  if (!m_hWnd || !list) return -1;
  list->SetLargeIcons(m_bLargeIcons);
  if (!list->Create(WS_TABSTOP, CRect(0, 0, 0, 0), this, id, exStyle)) return -1;
  if (m_hFont) list->SendMessage(WM_SETFONT, WPARAM(m_hFont), FALSE);
  Group group = {name ? name : "", list};
  int index = int(m_groups.Add(group));
  if (m_nActiveGroup < 0) m_nActiveGroup = index;
  RecalcLayout();
  return index;
}

BOOL SECListBar::RemoveGroup(int group) {
  if (group < 0 || group >= GetGroupCount()) return FALSE;
  SECListCtrl* list = m_groups[group].list;
  BOOL wasOpen = group == m_nActiveGroup;
  m_groups.RemoveAt(group);
  if (list->m_hWnd) list->DestroyWindow();
  // The group after the open one takes its index; after the last one the one before it opens.
  if (group < m_nActiveGroup || m_nActiveGroup >= GetGroupCount()) --m_nActiveGroup;
  m_nPressedGroup = -1;
  RecalcLayout();
  if (wasOpen && m_nActiveGroup >= 0) OnActiveGroupChanged(m_nActiveGroup);
  return TRUE;
}

CString SECListBar::GetGroupName(int group) const {
  return group >= 0 && group < GetGroupCount() ? m_groups[group].name : CString();
}

BOOL SECListBar::SetGroupName(int group, LPCSTR name) {
  if (group < 0 || group >= GetGroupCount()) return FALSE;
  m_groups[group].name = name ? name : "";
  CRect header = GetGroupHeaderRect(group);
  InvalidateRect(&header);
  return TRUE;
}

SECListCtrl* SECListBar::GetGroupList(int group) const {
  return group >= 0 && group < GetGroupCount() ? m_groups[group].list : NULL;
}

BOOL SECListBar::SetActiveGroup(int group) {
  if (group < 0 || group >= GetGroupCount()) return FALSE;
  if (group == m_nActiveGroup) return TRUE;
  m_nActiveGroup = group;
  RecalcLayout();
  OnActiveGroupChanged(group);
  return TRUE;
}

void SECListBar::OnActiveGroupChanged(int) {}

void SECListBar::SetLargeIcons(BOOL large) {
  m_bLargeIcons = large;
  for (int i = 0; i < GetGroupCount(); ++i) m_groups[i].list->SetLargeIcons(large);
}

CRect SECListBar::GetGroupHeaderRect(int group) const {
  if (!m_hWnd || group < 0 || group >= GetGroupCount()) return CRect();
  CRect client;
  GetClientRect(&client);
  int height = HeaderHeight();
  if (group <= m_nActiveGroup) return CRect(client.left, client.top + group * height, client.right,
                                            client.top + (group + 1) * height);
  int fromBottom = GetGroupCount() - group;
  return CRect(client.left, client.bottom - fromBottom * height, client.right,
               client.bottom - (fromBottom - 1) * height);
}

int SECListBar::GroupFromPoint(CPoint point) const {
  for (int i = 0; i < GetGroupCount(); ++i)
    if (GetGroupHeaderRect(i).PtInRect(point)) return i;
  return -1;
}

void SECListBar::RecalcLayout() {
  if (!m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  int height = HeaderHeight();
  int count = GetGroupCount();
  CRect area(client.left, client.top + (m_nActiveGroup + 1) * height, client.right,
             client.bottom - (count - m_nActiveGroup - 1) * height);
  if (area.bottom < area.top) area.bottom = area.top;
  for (int i = 0; i < count; ++i) {
    SECListCtrl* list = m_groups[i].list;
    if (i == m_nActiveGroup) {
      list->SetWindowPos(NULL, area.left, area.top, area.Width(), area.Height(), SWP_NOZORDER | SWP_SHOWWINDOW);
    } else {
      list->ShowWindow(SW_HIDE);
    }
  }
  Invalidate();
}

void SECListBar::DrawGroupHeader(CDC* dc, int group, const CRect& rect, BOOL pressed) {
  CRect button = rect;
  ::DrawFrameControl(dc->m_hDC, &button, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  CRect text = rect;
  if (pressed) text.OffsetRect(1, 1);
  dc->DrawText(m_groups[group].name, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void SECListBar::OnPaint() {
  CPaintDC dc(this);
  HGDIOBJ old = dc.SelectObject(m_hFont ? HGDIOBJ(m_hFont) : ::GetStockObject(DEFAULT_GUI_FONT));
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
  for (int i = 0; i < GetGroupCount(); ++i) DrawGroupHeader(&dc, i, GetGroupHeaderRect(i), i == m_nPressedGroup);
  dc.SelectObject(old);
}

BOOL SECListBar::OnEraseBkgnd(CDC*) { return TRUE; }

void SECListBar::OnSize(UINT type, int cx, int cy) {
  CWnd::OnSize(type, cx, cy);
  RecalcLayout();
}

void SECListBar::OnLButtonDown(UINT, CPoint point) {
  int group = GroupFromPoint(point);
  if (group < 0) return;
  m_nPressedGroup = group;
  CRect header = GetGroupHeaderRect(group);
  InvalidateRect(&header);
  SetCapture();
}

void SECListBar::OnLButtonUp(UINT, CPoint point) {
  int pressed = m_nPressedGroup;
  if (pressed < 0) return;
  if (GetCapture() == this) ::ReleaseCapture();
  m_nPressedGroup = -1;
  CRect header = GetGroupHeaderRect(pressed);
  InvalidateRect(&header);
  if (GroupFromPoint(point) == pressed) SetActiveGroup(pressed);
}

void SECListBar::OnCaptureChanged(CWnd* wnd) {
  if (wnd != this && m_nPressedGroup >= 0) {
    CRect header = GetGroupHeaderRect(m_nPressedGroup);
    m_nPressedGroup = -1;
    InvalidateRect(&header);
  }
  CWnd::OnCaptureChanged(wnd);
}

LRESULT SECListBar::OnSetFont(WPARAM wParam, LPARAM lParam) {
  m_hFont = reinterpret_cast<HFONT>(wParam);
  RecalcLayout();
  if (lParam) Invalidate();
  return 0;
}

LRESULT SECListBar::OnGetFont(WPARAM, LPARAM) { return LRESULT(m_hFont); }
