// The control bar base: creation into its frame's bar list, borders and gripper in the non-client area,
// layout through WM_SIZEPARENT with shows and hides that wait for it, routing of what its controls send to
// the owner, the idle update of its items, and the start of a drag.
#include "afxpriv.h"
#include "barlayout.h"
#include "state.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
  ON_WM_NCHITTEST()
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
END_MESSAGE_MAP()

CControlBar::CControlBar()
    : m_cxLeftBorder(afxbar::kMargin), m_cxRightBorder(afxbar::kMargin), m_cyTopBorder(afxbar::kMargin),
      m_cyBottomBorder(afxbar::kMargin), m_cxDefaultGap(afxbar::kMargin), m_nMRUWidth(32767), m_bAutoDelete(FALSE),
      m_nStateFlags(0), m_dwStyle(0), m_dwDockStyle(0), m_pDockSite(NULL), m_pDockBar(NULL), m_pDockContext(NULL) {}

CControlBar::~CControlBar() {
  if (m_hWnd) DestroyWindow();
  delete m_pDockContext;
}

BOOL CControlBar::CreateBar(DWORD exStyle, LPCSTR className, DWORD windowStyle, DWORD barStyle, CWnd* parent, UINT id) {
  m_dwStyle = barStyle & CBRS_ALL;
  // Commands go to the frame the bar is made for, wherever it is docked later.
  if (!m_hWndOwner && parent) m_hWndOwner = parent->m_hWnd;
  return CreateEx(exStyle, className, NULL, windowStyle | WS_CHILD | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0),
                  parent, id);
}

int CControlBar::OnCreate(LPCREATESTRUCT cs) {
  if (CWnd::OnCreate(cs) == -1) return -1;
  CWnd* parent = CWnd::FromHandlePermanent(cs->hwndParent);
  CFrameWnd* frame = parent && parent->IsFrameWnd() ? static_cast<CFrameWnd*>(parent) : GetParentFrame();
  if (frame) {
    m_pDockSite = frame;
    frame->AddControlBar(this);
  }
  return 0;
}

void CControlBar::OnDestroy() {
  if (m_pDockBar) m_pDockBar->RemoveControlBar(this);
  m_pDockBar = NULL;
  if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
  m_pDockSite = NULL;
  CWnd::OnDestroy();
}

void CControlBar::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}

void CControlBar::SetBarStyle(DWORD style) {
  DWORD old = m_dwStyle;
  m_dwStyle = style & CBRS_ALL;
  if (old != m_dwStyle) {
    OnBarStyleChange(old, m_dwStyle);
    // Borders and gripper live in the non-client area, which follows the style.
    if (m_hWnd) SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

void CControlBar::OnBarStyleChange(DWORD, DWORD) {}

void CControlBar::EnableDocking(DWORD dockStyle) {
  m_dwDockStyle = dockStyle;
  if (!m_pDockContext && dockStyle) m_pDockContext = new CDockContext(this);
  // A bar made before docking was enabled learns its dock site here.
  if (!m_pDockSite) m_pDockSite = GetParentFrame();
}

BOOL CControlBar::IsFloating() const {
  return m_pDockBar && m_pDockBar->m_bFloating;
}

BOOL CControlBar::IsVisible() const {
  if (m_nStateFlags & delayHide) return FALSE;
  return (m_nStateFlags & delayShow) || (m_hWnd && (GetStyle() & WS_VISIBLE));
}

CFrameWnd* CControlBar::GetDockingFrame() const {
  CFrameWnd* frame = GetParentFrame();
  return frame ? frame : m_pDockSite;
}

void CControlBar::DelayShow(BOOL show) {
  m_nStateFlags &= ~(delayHide | delayShow);
  BOOL visible = (GetStyle() & WS_VISIBLE) != 0;
  if (show && !visible) m_nStateFlags |= delayShow;
  if (!show && visible) m_nStateFlags |= delayHide;
}

// ---------------------------------------------------------------------------------------------
// Layout.

CRect CControlBar::GetGripperRect() const {
  if (!(m_dwStyle & CBRS_GRIPPER) || (m_dwStyle & CBRS_FLOATING)) return CRect();
  CRect window;
  GetWindowRect(&window);
  window.OffsetRect(-window.left, -window.top);
  CRect borders = afxbar::BorderInsets(m_dwStyle);
  window.left += borders.left;
  window.top += borders.top;
  window.right -= borders.right;
  window.bottom -= borders.bottom;
  if (afxbar::IsHorz(m_dwStyle))
    return CRect(window.left + 1, window.top + 2, window.left + afxbar::kGripper - 2, window.bottom - 2);
  return CRect(window.left + 2, window.top + 1, window.right - 2, window.top + afxbar::kGripper - 2);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL horz) const {
  CRect borders = afxbar::BorderInsets(m_dwStyle);
  rect.left += borders.left;
  rect.top += borders.top;
  rect.right -= borders.right;
  rect.bottom -= borders.bottom;
  BOOL gripper = (m_dwStyle & CBRS_GRIPPER) && !(m_dwStyle & CBRS_FLOATING);
  if (horz) {
    rect.left += m_cxLeftBorder + (gripper ? afxbar::kGripper : 0);
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
  } else {
    rect.left += m_cyTopBorder;
    rect.top += m_cxLeftBorder + (gripper ? afxbar::kGripper : 0);
    rect.right -= m_cyBottomBorder;
    rect.bottom -= m_cxRightBorder;
  }
}

CSize CControlBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
  CSize size;
  size.cx = (stretch && horz) ? 32767 : 0;
  size.cy = (stretch && !horz) ? 32767 : 0;
  return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD mode) {
  // Docked bars answer for their dock bar's orientation, floating ones for their own.
  BOOL horz = (mode & (LM_HORZDOCK | LM_VERTDOCK)) ? (mode & LM_HORZDOCK) != 0 : (mode & LM_HORZ) != 0;
  return CalcFixedLayout((mode & LM_STRETCH) != 0, horz);
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* layout) {
  DWORD style = (m_dwStyle & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) | (GetStyle() & WS_VISIBLE);
  BOOL visible = (GetStyle() & WS_VISIBLE) != 0;
  UINT swp = 0;
  if ((m_nStateFlags & delayHide) && visible)
    swp = SWP_HIDEWINDOW;
  else if ((m_nStateFlags & delayShow) && !visible)
    swp = SWP_SHOWWINDOW;
  if (swp == 0) {
    m_nStateFlags &= ~(delayHide | delayShow);
    return style;
  }
  style = (style & ~WS_VISIBLE) | (swp == SWP_SHOWWINDOW ? WS_VISIBLE : 0);
  // A query (no deferral) only tells what will be; the flags wait for the real layout.
  if (layout && layout->hDWP) {
    m_nStateFlags &= ~(delayHide | delayShow);
    layout->hDWP = ::DeferWindowPos(layout->hDWP, m_hWnd, NULL, 0, 0, 0, 0,
                                    swp | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (!layout) {
    m_nStateFlags &= ~(delayHide | delayShow);
    SetWindowPos(NULL, 0, 0, 0, 0, swp | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return style;
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  AFX_SIZEPARENTPARAMS* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  DWORD style = RecalcDelayShow(layout);
  if (!(style & WS_VISIBLE) || !(style & CBRS_ALIGN_ANY)) return 0;
  CRect rect(layout->rect);
  CSize available = rect.Size();
  DWORD mode = layout->bStretch ? LM_STRETCH : 0;
  mode |= (style & CBRS_ORIENT_HORZ) ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
  CSize size = CalcDynamicLayout(-1, mode);
  size.cx = size.cx < available.cx ? size.cx : available.cx;
  size.cy = size.cy < available.cy ? size.cy : available.cy;
  if (style & CBRS_ORIENT_HORZ) {
    layout->sizeTotal.cy += size.cy;
    if (layout->sizeTotal.cx < size.cx) layout->sizeTotal.cx = size.cx;
    if (style & CBRS_ALIGN_TOP) {
      layout->rect.top += size.cy;
    } else {
      rect.top = rect.bottom - size.cy;
      layout->rect.bottom -= size.cy;
    }
  } else {
    layout->sizeTotal.cx += size.cx;
    if (layout->sizeTotal.cy < size.cy) layout->sizeTotal.cy = size.cy;
    if (style & CBRS_ALIGN_LEFT) {
      layout->rect.left += size.cx;
    } else {
      rect.left = rect.right - size.cx;
      layout->rect.right -= size.cx;
    }
  }
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
  if (layout->hDWP) afxbar::Reposition(layout, m_hWnd, rect);
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Painting: the borders and gripper are non-client, so a system control paints its client area undisturbed.

void CControlBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params) {
  CRect& r = *reinterpret_cast<CRect*>(&params->rgrc[0]);
  CalcInsideRect(r, afxbar::IsHorz(m_dwStyle));
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
}

void CControlBar::OnNcPaint() {
  CWindowDC dc(this);
  DrawNonClient(&dc);
}

void CControlBar::DrawNonClient(CDC* dc) {
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  ScreenToClient(&window);
  client.OffsetRect(-window.left, -window.top);
  window.OffsetRect(-window.left, -window.top);
  dc->ExcludeClipRect(&client);
  dc->FillSolidRect(&window, ::GetSysColor(COLOR_BTNFACE));
  CRect edge = window;
  UINT sides = 0;
  if (m_dwStyle & CBRS_BORDER_LEFT) sides |= BF_LEFT;
  if (m_dwStyle & CBRS_BORDER_TOP) sides |= BF_TOP;
  if (m_dwStyle & CBRS_BORDER_RIGHT) sides |= BF_RIGHT;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) sides |= BF_BOTTOM;
  if (sides) dc->DrawEdge(&edge, EDGE_ETCHED, sides);
  CRect gripper = GetGripperRect();
  if (!gripper.IsRectEmpty()) {
    // Two raised lines along the bar's leading edge.
    BOOL horz = afxbar::IsHorz(m_dwStyle);
    CRect line = gripper;
    if (horz) {
      line.right = line.left + 3;
      dc->DrawEdge(&line, BDR_RAISEDINNER, BF_RECT);
      line.OffsetRect(3, 0);
    } else {
      line.bottom = line.top + 3;
      dc->DrawEdge(&line, BDR_RAISEDINNER, BF_RECT);
      line.OffsetRect(0, 3);
    }
    dc->DrawEdge(&line, BDR_RAISEDINNER, BF_RECT);
  }
}

LRESULT CControlBar::OnNcHitTest(CPoint point) {
  // The borders and the gripper count as the bar's surface: a press there starts a drag.
  CRect window;
  GetWindowRect(&window);
  return window.PtInRect(point) ? HTCLIENT : HTNOWHERE;
}

void CControlBar::OnPaint() {
  CPaintDC dc(this);
  DoPaint(&dc);
}

void CControlBar::DoPaint(CDC*) {}

BOOL CControlBar::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Mouse: a press on the bar's own surface (not on one of its items) drags it; a double click there docks or
// floats it.

void CControlBar::OnLButtonDown(UINT flags, CPoint point) {
  if (m_pDockContext && m_pDockBar && HitTestItem(point) < 0) {
    ClientToScreen(&point);
    m_pDockContext->StartDrag(point);
    return;
  }
  CWnd::OnLButtonDown(flags, point);
}

void CControlBar::OnLButtonDblClk(UINT flags, CPoint point) {
  if (m_pDockContext && m_pDockBar && HitTestItem(point) < 0) {
    m_pDockContext->ToggleDocking();
    return;
  }
  CWnd::OnLButtonDblClk(flags, point);
}

// ---------------------------------------------------------------------------------------------
// Routing and the idle update.

namespace {
// The window a parent notification or owner-draw message is about.
HWND SourceOf(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY: return reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM: return reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
    case WM_DELETEITEM: return reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem;
    case WM_COMPAREITEM: return reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: return reinterpret_cast<HWND>(lParam);
    default: (void)wParam; return NULL;
  }
}
}  // namespace

LRESULT CControlBar::RouteToOwner(UINT message, WPARAM wParam, LPARAM lParam) {
  // A bar held here (or the tool tip window a bar owns) speaks for itself: the message is that bar's.
  HWND source = SourceOf(message, wParam, lParam);
  for (HWND candidate : {source, source ? ::GetWindow(source, GW_OWNER) : HWND(NULL)}) {
    if (!candidate || candidate == m_hWnd || ::GetParent(candidate) != m_hWnd) continue;
    CControlBar* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(candidate));
    if (bar) return bar->RouteToOwner(message, wParam, lParam);
  }
  LRESULT result = 0;
  if (OnWndMsg(message, wParam, lParam, &result)) return result;
  CWnd* owner = GetOwner();
  if (!owner || owner == this || !owner->m_hWnd) return 0;
  return owner->SendMessage(message, wParam, lParam);
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      // A system control's own tool tip (a popup it owns) talks to the control itself.
      HWND from = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
      if (from && from != m_hWnd && !(::GetWindowLongA(from, GWL_STYLE) & WS_CHILD) &&
          ::GetWindow(from, GW_OWNER) == m_hWnd)
        return DefWindowProc(message, wParam, lParam);
      return RouteToOwner(message, wParam, lParam);
    }
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return RouteToOwner(message, wParam, lParam);
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  // Bars the frame lays out directly show or hide here when no layout came first.
  if ((m_nStateFlags & (delayHide | delayShow)) && !m_pDockBar) RecalcDelayShow(NULL);
  if (!(GetStyle() & WS_VISIBLE)) return 0;
  if (m_pDockBar && !(m_pDockBar->GetStyle() & WS_VISIBLE)) return 0;
  CWnd* owner = GetOwner();
  CFrameWnd* target = owner && owner->IsFrameWnd() ? static_cast<CFrameWnd*>(owner) : GetParentFrame();
  if (target) OnUpdateCmdUI(target, BOOL(wParam));
  return 0;
}

LRESULT CControlBar::OnHelpHitTest(WPARAM, LPARAM lParam) {
  // Help for the command of the item under the point, else for the bar itself.
  int item = HitTestItem(AfxPointOf(lParam));
  if (item < 0) return HID_BASE_CONTROL + GetDlgCtrlID();
  UINT id = GetItemID(item);
  return id ? HID_BASE_COMMAND + id : 0;
}

void CControlBar::GetBarInfo(CControlBarInfo* info) {
  info->m_nBarID = GetDlgCtrlID();
  info->m_pBar = this;
  info->m_bVisible = IsVisible();
  info->m_bFloating = IsFloating();
  info->m_bHorz = afxbar::IsHorz(m_dwStyle);
  info->m_bDockBar = IsDockBar();
  info->m_nMRUWidth = m_nMRUWidth;
  if (m_pDockBar) {
    CRect rect;
    GetWindowRect(&rect);
    m_pDockBar->ScreenToClient(&rect);
    info->m_pointPos = rect.TopLeft();
  }
  if (m_pDockContext) {
    info->m_bDocking = TRUE;
    info->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
    info->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
    info->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
    info->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
  }
}

void CControlBar::SetBarInfo(CControlBarInfo* info, CFrameWnd*) {
  m_nMRUWidth = info->m_nMRUWidth;
  if (m_pDockContext && info->m_bDocking) {
    m_pDockContext->m_uMRUDockID = info->m_uMRUDockID;
    m_pDockContext->m_rectMRUDockPos = info->m_rectMRUDockPos;
    m_pDockContext->m_dwMRUFloatStyle = info->m_dwMRUFloatStyle;
    m_pDockContext->m_ptMRUFloatPos = info->m_ptMRUFloatPos;
  }
  // Docked bars keep their place along the row; the dock bar's layout settles the rest.
  UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (info->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  if (!m_pDockBar || m_pDockBar->m_bFloating) flags |= SWP_NOMOVE;
  m_nStateFlags &= ~(delayHide | delayShow);
  SetWindowPos(NULL, info->m_pointPos.x, info->m_pointPos.y, 0, 0, flags);
}
