// Dock bars (the rows of bars on a frame's side or inside a floating frame, their layout and saved lists)
// and the floating frame itself.
#include "afxpriv.h"
#include "barlayout.h"

IMPLEMENT_DYNCREATE(CDockBar, CControlBar)
IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

namespace {
const LONG kNoLength = 32767;  // "as long as the side" in layout requests

int Max(int a, int b) { return a > b ? a : b; }
}  // namespace

CDockBar::CDockBar(BOOL floating) : m_bFloating(floating), m_bLayoutQuery(FALSE) {
  // The frame's dock bars are made with new and go with their window; a floating frame holds its own.
  m_bAutoDelete = !floating;
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
  m_arrBars.Add(NULL);
}

CDockBar::~CDockBar() {
  if (m_hWnd) DestroyWindow();
}

BOOL CDockBar::Create(CWnd* parent, DWORD style, UINT id) {
  // A dock bar has no borders of its own: its bars carry theirs.
  DWORD barStyle = style & CBRS_ALIGN_ANY;
  LPCSTR className = AfxRegisterWndClass(CS_DBLCLKS, NULL, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  return CreateBar(0, className, (style & ~CBRS_ALL) | WS_CLIPCHILDREN, barStyle, parent, id);
}

int CDockBar::GetCount() const {
  int count = 0;
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
    if (m_arrBars[i]) ++count;
  return count;
}

int CDockBar::GetDockedVisibleCount() const {
  int count = 0;
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
    if (CControlBar* bar = GetDockedControlBar(int(i))) count += bar->IsVisible() ? 1 : 0;
  return count;
}

int CDockBar::FindBar(const CControlBar* bar) const {
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
    if (m_arrBars[i] == bar) return int(i);
  return -1;
}

int CDockBar::GetRowCount() const {
  int rows = 0;
  for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i)
    if (!m_arrBars[i]) ++rows;
  return rows;
}

BOOL CDockBar::GetBarPlace(const CControlBar* bar, int& row, int& position) const {
  row = position = 0;
  for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
    if (!m_arrBars[i]) {
      ++row;
      position = 0;
    } else if (m_arrBars[i] == bar) {
      return TRUE;
    } else {
      ++position;
    }
  }
  return FALSE;
}

void CDockBar::ShowAll(BOOL show) {
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(int(i));
    if (!bar) continue;
    CFrameWnd* site = bar->m_pDockSite ? bar->m_pDockSite : m_pDockSite;
    if (site) site->ShowControlBar(bar, show, FALSE);
  }
}

void CDockBar::InsertControlBar(CControlBar* bar, int row, int position) {
  // Index of the null that opens row (the one ending the previous row).
  INT_PTR start = 0;
  for (int r = 0; r < row && start < m_arrBars.GetSize() - 1; ++start)
    if (!m_arrBars[start + 1]) ++r;
  if (row >= GetRowCount()) {
    m_arrBars.Add(bar);
    m_arrBars.Add(NULL);
    return;
  }
  if (position < 0) {
    m_arrBars.InsertAt(start + 1, static_cast<void*>(NULL));
    m_arrBars.InsertAt(start + 1, bar);
    return;
  }
  INT_PTR at = start + 1;
  for (int p = 0; p < position && m_arrBars[at]; ++p) ++at;
  m_arrBars.InsertAt(at, bar);
}

BOOL CDockBar::RemoveControlBar(CControlBar* bar) {
  int index = FindBar(bar);
  if (index < 0) return FALSE;
  m_arrBars.RemoveAt(index);
  if (bar->m_pDockBar == this) bar->m_pDockBar = NULL;
  RemoveEmptyRows();
  if (m_hWnd) {
    if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
  }
  return TRUE;
}

void CDockBar::RemoveEmptyRows() {
  // A row break right after another (or the list's start) leaves an empty row.
  for (INT_PTR i = m_arrBars.GetSize() - 1; i > 0; --i)
    if (!m_arrBars[i] && !m_arrBars[i - 1]) m_arrBars.RemoveAt(i);
}

BOOL CDockBar::CloseIfEmpty() {
  if (!m_bFloating || GetCount() > 0) return FALSE;
  // The frame (and this dock bar with it) goes once the current message is done.
  CFrameWnd* frame = GetParentFrame();
  if (frame) frame->PostMessage(WM_CLOSE);
  return TRUE;
}

int CDockBar::RowAt(const CRect& rect) const {
  BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  int middle = horz ? (rect.top + rect.bottom) / 2 : (rect.left + rect.right) / 2;
  if (middle < 0) return -1;
  int start = 0, thickness = 0, row = 0;
  for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(int(i));
    if (bar) {
      if (!bar->IsVisible()) continue;
      CRect barRect;
      bar->GetWindowRect(&barRect);
      thickness = Max(thickness, horz ? barRect.Height() : barRect.Width());
      continue;
    }
    if (middle < start + thickness) return row;
    start += thickness;
    thickness = 0;
    ++row;
  }
  return row;
}

void CDockBar::DockControlBar(CControlBar* bar, LPCRECT rect) {
  CDockBar* old = bar->m_pDockBar;
  BOOL wasVisible = bar->IsWindowVisible();
  // Leaving another dock bar: hidden while it moves, so it does not flash at an odd place.
  if (old != this && wasVisible)
    bar->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  if (bar->GetParent() != this) bar->SetParent(this);
  if (old == this) RemoveControlBar(bar);

  DWORD style = bar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY | CBRS_FLOATING);
  style |= (m_dwStyle & CBRS_ALIGN_ANY) | (m_bFloating ? CBRS_FLOATING : CBRS_BORDER_ANY);
  bar->SetBarStyle(style);

  if (rect) {
    CRect place(rect);
    ScreenToClient(&place);
    int row = RowAt(place);
    if (row < 0) {
      InsertControlBar(bar, 0, -1);
    } else if (row >= GetRowCount()) {
      InsertControlBar(bar, row, 0);
    } else {
      // Along the row by the leading edge.
      BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
      int position = 0, r = 0;
      for (INT_PTR i = 1; i < m_arrBars.GetSize() && r <= row; ++i) {
        CControlBar* other = GetDockedControlBar(int(i));
        if (!other) {
          ++r;
          continue;
        }
        if (r != row) continue;
        CRect otherRect;
        other->GetWindowRect(&otherRect);
        ScreenToClient(&otherRect);
        if ((horz ? otherRect.left : otherRect.top) < (horz ? place.left : place.top)) ++position;
      }
      InsertControlBar(bar, row, position);
    }
    // The layout keeps a bar where it was put when there is room.
    bar->SetWindowPos(NULL, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    InsertControlBar(bar, GetRowCount(), 0);
    bar->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  bar->m_pDockBar = this;
  if (!bar->m_pDockSite) bar->m_pDockSite = m_pDockSite;
  if (old && old != this) {
    old->RemoveControlBar(bar);
    old->CloseIfEmpty();
  }
  if (bar->m_pDockContext && !m_bFloating) bar->m_pDockContext->m_uMRUDockID = GetDlgCtrlID();
  if (m_bFloating) {
    CString title;
    bar->GetWindowText(title);
    if (CFrameWnd* frame = GetParentFrame()) frame->SetWindowText(title);
  }
  if (old != this && wasVisible)
    bar->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
}

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
  AFX_SIZEPARENTPARAMS* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  BOOL query = m_bLayoutQuery;
  CRect offered = m_rectLayout;
  m_bLayoutQuery = layout->hDWP == NULL;
  m_rectLayout = layout->rect;
  LRESULT result = CControlBar::OnSizeParent(wParam, lParam);
  m_bLayoutQuery = query;
  m_rectLayout = offered;
  return result;
}

CSize CDockBar::GetLayoutSpace() const {
  if (!m_rectLayout.IsRectEmpty()) return m_rectLayout.Size();
  CRect client;
  if (CFrameWnd* frame = GetParentFrame()) frame->GetClientRect(&client);
  return client.Size();
}

CSize CDockBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
  CSize space = GetLayoutSpace();
  int available = horz ? space.cx : space.cy;
  AFX_SIZEPARENTPARAMS layout = {};
  layout.hDWP = m_bLayoutQuery ? NULL : ::BeginDeferWindowPos(int(m_arrBars.GetSize()));
  int along = 0, across = 0, thickness = 0, length = 0;
  for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(int(i));
    if (!bar) {
      across += thickness;
      thickness = 0;
      along = 0;
      continue;
    }
    if (bar->IsVisible()) {
      DWORD mode = m_bFloating ? (LM_HORZ | LM_MRUWIDTH) : (horz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
      CSize size = bar->CalcDynamicLayout(-1, mode);
      int barLength = horz ? size.cx : size.cy;
      CRect current;
      bar->GetWindowRect(&current);
      ScreenToClient(&current);
      int wanted = horz ? current.left : current.top;
      int position = (!m_bFloating && wanted > along) ? wanted : along;
      // A bar pushed past the end of the side slides back as far as the bars before it allow.
      if (!m_bFloating && position + barLength > available) position = Max(available - barLength, along);
      CRect rect = horz ? CRect(position, across, position + size.cx, across + size.cy)
                        : CRect(across, position, across + size.cx, position + size.cy);
      if (layout.hDWP) {
        afxbar::Reposition(&layout, bar->m_hWnd, rect);
        if (!m_bFloating && bar->m_pDockContext) bar->m_pDockContext->m_rectMRUDockPos = rect;
      }
      along = position + barLength;
      thickness = Max(thickness, horz ? size.cy : size.cx);
      length = Max(length, along);
    }
    // A show or hide waiting for this layout happens now.
    bar->RecalcDelayShow(m_bLayoutQuery ? NULL : &layout);
  }
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
  CSize size = horz ? CSize(length, across) : CSize(across, length);
  if (stretch && horz) size.cx = kNoLength;
  if (stretch && !horz) size.cy = kNoLength;
  return size;
}

void CDockBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

void CDockBar::GetBarInfo(CControlBarInfo* info) {
  info->m_nBarID = GetDlgCtrlID();
  info->m_pBar = this;
  info->m_bDockBar = TRUE;
  info->m_bFloating = m_bFloating;
  info->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  info->m_bVisible = TRUE;
  if (m_bFloating) {
    CFrameWnd* frame = GetParentFrame();
    CRect rect;
    frame->GetWindowRect(&rect);
    info->m_pointPos = rect.TopLeft();
    info->m_bVisible = frame->IsWindowVisible();
  }
  info->m_arrBarID.RemoveAll();
  for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(int(i));
    info->m_arrBarID.Add(bar ? UINT(bar->GetDlgCtrlID()) : 0);
  }
}

void CDockBar::SetBarInfo(CControlBarInfo* info, CFrameWnd* frame) {
  // The listed bars take their rows here in the listed order; bars already here that the list does not
  // name keep their rows after them.
  CPtrArray listed;
  listed.Add(NULL);
  BOOL rowOpen = FALSE;
  for (INT_PTR i = 0; i < info->m_arrBarID.GetSize(); ++i) {
    UINT id = info->m_arrBarID[i];
    CControlBar* bar = id ? frame->GetControlBar(id) : NULL;
    if (id == 0) {
      if (rowOpen) listed.Add(NULL);
      rowOpen = FALSE;
    } else if (bar && !bar->IsDockBar()) {
      // A damaged state may name a bar twice: it takes its first place only.
      BOOL already = FALSE;
      for (INT_PTR k = 0; k < listed.GetSize() && !already; ++k) already = listed[k] == bar;
      if (already) continue;
      listed.Add(bar);
      rowOpen = TRUE;
    }
  }
  if (rowOpen) listed.Add(NULL);
  for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
    void* entry = m_arrBars[i];
    BOOL named = FALSE;
    for (INT_PTR k = 0; k < listed.GetSize() && entry; ++k) named = named || listed[k] == entry;
    if (named) continue;
    if (entry || listed[listed.GetSize() - 1]) listed.Add(entry);
  }
  for (INT_PTR i = 0; i < listed.GetSize(); ++i) {
    CControlBar* bar = static_cast<CControlBar*>(listed[i]);
    if (!bar || bar->m_pDockBar == this) continue;
    if (bar->GetParent() != this) bar->SetParent(this);
    CDockBar* old = bar->m_pDockBar;
    if (old) {
      old->RemoveControlBar(bar);
      old->CloseIfEmpty();
    }
    bar->m_pDockBar = this;
    DWORD style = bar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY | CBRS_FLOATING);
    bar->SetBarStyle(style | (m_dwStyle & CBRS_ALIGN_ANY) | (m_bFloating ? CBRS_FLOATING : CBRS_BORDER_ANY));
  }
  m_arrBars.RemoveAll();
  m_arrBars.Append(listed);
  RemoveEmptyRows();
  if (CFrameWnd* docking = GetDockingFrame()) docking->DelayRecalcLayout();
}

// ---------------------------------------------------------------------------------------------
// The floating frame.

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CFrameWnd)
  ON_WM_CLOSE()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONDBLCLK()
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {
const DWORD kFloatingStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
const DWORD kFloatingExStyle = WS_EX_TOOLWINDOW;
}  // namespace

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}

BOOL CMiniDockFrameWnd::Create(CWnd* parent, DWORD barStyle) {
  LPCSTR className = AfxRegisterWndClass(CS_DBLCLKS, NULL, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  if (!CreateEx(kFloatingExStyle, className, "", kFloatingStyle, 0, 0, 0, 0, parent->m_hWnd, NULL)) return FALSE;
  // The dock bar joins the dock site's bars (made as its child), then moves in here.
  if (!m_wndDockBar.Create(parent, WS_CHILD | WS_VISIBLE | (barStyle & CBRS_ALIGN_ANY), AFX_IDW_DOCKBAR_FLOAT)) {
    DestroyWindow();
    return FALSE;
  }
  m_wndDockBar.SetParent(this);
  return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL) {
  if (m_bInRecalcLayout || !m_wndDockBar.m_hWnd) return;
  m_bInRecalcLayout = TRUE;
  CSize size = m_wndDockBar.CalcFixedLayout(FALSE, (m_wndDockBar.m_dwStyle & CBRS_ORIENT_HORZ) != 0);
  if (size.cx < 1) size.cx = 1;
  if (size.cy < 1) size.cy = 1;
  m_wndDockBar.SetWindowPos(NULL, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  CRect rect(0, 0, size.cx, size.cy);
  ::AdjustWindowRectEx(&rect, GetStyle(), FALSE, GetExStyle());
  SetWindowPos(NULL, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_bInRecalcLayout = FALSE;
}

void CMiniDockFrameWnd::ShowFloating() {
  // Wine may leave a tool window that appears later below its owner; it is put on top explicitly.
  ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT CMiniDockFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
  // The frame stays above the frame it belongs to (Wine may raise that owner over it when activating it).
  CWnd* owner = CWnd::FromHandle(::GetWindow(m_hWnd, GW_OWNER));
  HWND site = owner ? owner->GetTopLevelParent()->m_hWnd : NULL;
  for (HWND above = ::GetWindow(m_hWnd, GW_HWNDPREV); above && site; above = ::GetWindow(above, GW_HWNDPREV)) {
    if (above != site) continue;
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    break;
  }
  return CFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
}

void CMiniDockFrameWnd::OnClose() {
  // The user closes the bars, not the frame; a frame without bars goes.
  if (m_wndDockBar.GetCount() > 0) {
    m_wndDockBar.ShowAll(FALSE);
    return;
  }
  DestroyWindow();
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT hitTest, CPoint point) {
  if (hitTest == HTCAPTION) {
    for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
      CControlBar* bar = m_wndDockBar.GetDockedControlBar(int(i));
      if (bar && bar->m_pDockContext) {
        bar->m_pDockContext->StartDrag(point);
        return;
      }
    }
  }
  CFrameWnd::OnNcLButtonDown(hitTest, point);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT hitTest, CPoint point) {
  if (hitTest == HTCAPTION) {
    // Every bar here goes back where it was docked; the frame closes when the last one leaves.
    CPtrArray bars;
    for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i)
      if (m_wndDockBar.m_arrBars[i]) bars.Add(m_wndDockBar.m_arrBars[i]);
    for (INT_PTR i = 0; i < bars.GetSize(); ++i) {
      CControlBar* bar = static_cast<CControlBar*>(bars[i]);
      if (bar->m_pDockContext) bar->m_pDockContext->ToggleDocking();
    }
    return;
  }
  CFrameWnd::OnNcLButtonDblClk(hitTest, point);
}
