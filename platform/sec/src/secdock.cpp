// Sizable bars: their non-client caption, close box and splitter edges, the splitter and close-box mouse
// loops, their layout and saved sizes; the dock bar that shares rows by percent; the resizable floating
// frame; and the docking calls frames use to install them.
#include "secdock.h"

#include "secframe.h"
#include "secpriv.h"

IMPLEMENT_DYNCREATE(SECControlBar, CControlBar)
IMPLEMENT_DYNCREATE(SECDockBar, CDockBar)
IMPLEMENT_DYNCREATE(SECMiniDockFrameWnd, CMiniDockFrameWnd)

namespace {
const int kBorder = 2;          // each CBRS_BORDER_* side
const int kCloseBox = 14;       // the close box's side
const int kCloseMargin = 2;     // between the close box and the caption's edge
const LONG kNoLength = 32767;   // "as long as the side"
const DWORD kSizeTag = 0x53454342;  // marks the extra values of a saved record as this class's sizes
const int kPercentScale = 1000;     // saved percent values carry three decimals
const int kFloatMargin = 40;        // a floating bar's first place: this far into the dock site

int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

// The thickness edge of a side: the edge facing the frame's middle.
DWORD InnerEdge(DWORD side) {
  if (side & CBRS_ALIGN_LEFT) return SEC_SPLIT_RIGHT;
  if (side & CBRS_ALIGN_RIGHT) return SEC_SPLIT_LEFT;
  if (side & CBRS_ALIGN_TOP) return SEC_SPLIT_BOTTOM;
  return SEC_SPLIT_TOP;
}

// Carries out a show or hide that waits for the layout, as the framework's dock bar does for its bars.
void ApplyDelayShow(CControlBar* bar, HDWP* dwp) {
  UINT flags = bar->m_nStateFlags & (CControlBar::delayHide | CControlBar::delayShow);
  if (!flags) return;
  BOOL visible = (bar->GetStyle() & WS_VISIBLE) != 0;
  UINT swp = 0;
  if ((flags & CControlBar::delayHide) && visible) swp = SWP_HIDEWINDOW;
  if ((flags & CControlBar::delayShow) && !visible) swp = SWP_SHOWWINDOW;
  if (!dwp) {
    if (!swp) bar->m_nStateFlags &= ~flags;
    return;  // a query: the flags wait for the real layout
  }
  bar->m_nStateFlags &= ~flags;
  if (swp)
    *dwp = ::DeferWindowPos(*dwp, bar->m_hWnd, NULL, 0, 0, 0, 0,
                            swp | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Reposition(HDWP* dwp, CWnd* wnd, const CRect& rect) {
  CRect old;
  wnd->GetWindowRect(&old);
  ::MapWindowPoints(NULL, ::GetParent(wnd->m_hWnd), reinterpret_cast<LPPOINT>(&old), 2);
  if (old == rect) return;
  *dwp = ::DeferWindowPos(*dwp, wnd->m_hWnd, NULL, rect.left, rect.top, rect.Width(), rect.Height(),
                          SWP_NOACTIVATE | SWP_NOZORDER);
}

SECControlBar* AsSizable(void* bar) { return dynamic_cast<SECControlBar*>(static_cast<CControlBar*>(bar)); }

// The point of a mouse message of a captured window, in screen coordinates.
CPoint ScreenPointOf(const MSG& msg) {
  CPoint point(short(LOWORD(msg.lParam)), short(HIWORD(msg.lParam)));
  ::ClientToScreen(msg.hwnd, &point);
  return point;
}

// Follows the mouse while wnd holds the capture: track(screen point) for every move and for the release;
// Escape, the right button or losing the capture end it without a release. True when the button was released.
template <class Track>
BOOL TrackCapture(HWND wnd, Track track) {
  ::SetCapture(wnd);
  BOOL released = FALSE;
  while (::GetCapture() == wnd) {
    MSG msg;
    if (!::GetMessageA(&msg, NULL, 0, 0)) {
      ::PostQuitMessage(int(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
      track(ScreenPointOf(msg));
      if (msg.message == WM_LBUTTONUP) {
        released = TRUE;
        break;
      }
    } else if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_RBUTTONDOWN) {
      break;
    } else {
      ::DispatchMessageA(&msg);
    }
  }
  if (::GetCapture() == wnd) ::ReleaseCapture();
  return released;
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// SECControlBar

BEGIN_MESSAGE_MAP(SECControlBar, CControlBar)
  ON_WM_NCPAINT()
  ON_WM_NCHITTEST()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_SETCURSOR()
  ON_WM_SIZE()
  ON_WM_SETFOCUS()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(SECM_DESTROYIFEMPTY, OnDestroyIfEmpty)
END_MESSAGE_MAP()

SECControlBar::SECControlBar()
    : m_szHorz(kDefaultLength, kDefaultThickness), m_szVert(kDefaultThickness, kDefaultLength),
      m_szFloat(kDefaultThickness, kDefaultLength), m_fPercent(100.0f), m_dwSplitEdges(0), m_bClosePressed(FALSE) {
  // The held window fills the bar up to its borders.
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

SECControlBar::~SECControlBar() = default;

BOOL SECControlBar::Create(CWnd* parent, LPCSTR title, DWORD style, UINT id) {
  LPCSTR className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, IDC_ARROW),
                                         reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  // CBRS_GRIPPER shares its bit with WS_DLGFRAME; the caption strip is this bar's gripper anyway.
  DWORD barStyle = style & CBRS_ALL & ~CBRS_GRIPPER;
  DWORD windowStyle = (style & ~CBRS_ALL) | WS_CLIPCHILDREN;
  if (!CreateBar(0, className, windowStyle, barStyle, parent, id)) return FALSE;
  SetWindowText(title ? title : "");
  return TRUE;
}

CWnd* SECControlBar::GetChildWnd() const {
  HWND child = m_hWnd ? ::GetWindow(m_hWnd, GW_CHILD) : NULL;
  return child ? CWnd::FromHandle(child) : NULL;
}

SECDockableFrame* SECControlBar::GetDockableFrame() const {
  HWND child = m_hWnd ? ::GetWindow(m_hWnd, GW_CHILD) : NULL;
  return dynamic_cast<SECDockableFrame*>(CWnd::FromHandlePermanent(child));
}

void SECControlBar::SetDockedThickness(BOOL horzSide, int pixels) {
  if (pixels < kMinThickness) pixels = kMinThickness;
  if (horzSide)
    m_szHorz.cy = pixels;
  else
    m_szVert.cx = pixels;
}

void SECControlBar::SetPercent(float percent) {
  if (percent < 1.0f) percent = 1.0f;
  if (percent > 100.0f) percent = 100.0f;
  m_fPercent = percent;
}

void SECControlBar::SetFloatingSize(CSize size) {
  m_szFloat.cx = size.cx < kMinThickness ? kMinThickness : size.cx;
  m_szFloat.cy = size.cy < kMinThickness ? kMinThickness : size.cy;
}

BOOL SECControlBar::IsHorzDocked() const {
  return (m_dwStyle & CBRS_ORIENT_HORZ) != 0 && (m_dwStyle & CBRS_FLOATING) == 0;
}

void SECControlBar::OnBarStyleChange(DWORD oldStyle, DWORD newStyle) {
  CControlBar::OnBarStyleChange(oldStyle, newStyle);
  // Floating, the frame's own border sizes the bar; docked, the dock bar's layout marks the edges again.
  if (newStyle & CBRS_FLOATING) m_dwSplitEdges = 0;
}

void SECControlBar::SetSplitEdges(DWORD edges) {
  if (edges == m_dwSplitEdges) return;
  m_dwSplitEdges = edges;
  if (m_hWnd)
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Window coordinates inside the splitter edges and borders: where the caption and the client area lie.
void SECControlBar::CalcInsideRect(CRect& rect, BOOL) const {
  if (m_dwSplitEdges & SEC_SPLIT_LEFT) rect.left += kSplitter;
  if (m_dwSplitEdges & SEC_SPLIT_TOP) rect.top += kSplitter;
  if (m_dwSplitEdges & SEC_SPLIT_RIGHT) rect.right -= kSplitter;
  if (m_dwSplitEdges & SEC_SPLIT_BOTTOM) rect.bottom -= kSplitter;
  if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += kBorder;
  if (m_dwStyle & CBRS_BORDER_TOP) rect.top += kBorder;
  if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= kBorder;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= kBorder;
  if (!(m_dwStyle & CBRS_FLOATING)) {
    if (IsHorzDocked())
      rect.left += kCaption;
    else
      rect.top += kCaption;
  }
}

CRect SECControlBar::GetCaptionRect() const {
  if (!m_hWnd || (m_dwStyle & CBRS_FLOATING)) return CRect();
  CRect window;
  GetWindowRect(&window);
  CRect inside(0, 0, window.Width(), window.Height());
  CalcInsideRect(inside, FALSE);
  if (IsHorzDocked()) return CRect(inside.left - kCaption, inside.top, inside.left, inside.bottom);
  return CRect(inside.left, inside.top - kCaption, inside.right, inside.top);
}

CRect SECControlBar::GetCloseBoxRect() const {
  CRect caption = GetCaptionRect();
  if (caption.IsRectEmpty()) return CRect();
  if (IsHorzDocked()) {
    int left = caption.left + (caption.Width() - kCloseBox) / 2;
    return CRect(left, caption.top + kCloseMargin, left + kCloseBox, caption.top + kCloseMargin + kCloseBox);
  }
  int top = caption.top + (caption.Height() - kCloseBox) / 2;
  return CRect(caption.right - kCloseMargin - kCloseBox, top, caption.right - kCloseMargin, top + kCloseBox);
}

CRect SECControlBar::GetSplitterRect(DWORD edge) const {
  if (!m_hWnd || !(m_dwSplitEdges & edge)) return CRect();
  CRect window;
  GetWindowRect(&window);
  CRect all(0, 0, window.Width(), window.Height());
  switch (edge) {
    case SEC_SPLIT_LEFT: return CRect(0, 0, kSplitter, all.bottom);
    case SEC_SPLIT_TOP: return CRect(0, 0, all.right, kSplitter);
    case SEC_SPLIT_RIGHT: return CRect(all.right - kSplitter, 0, all.right, all.bottom);
    case SEC_SPLIT_BOTTOM: return CRect(0, all.bottom - kSplitter, all.right, all.bottom);
    default: return CRect();
  }
}

CSize SECControlBar::CalcDynamicLayout(int, DWORD mode) {
  if (!(mode & (LM_HORZDOCK | LM_VERTDOCK))) return m_szFloat;
  if (mode & LM_HORZDOCK) {
    LONG length = (mode & LM_STRETCH) ? kNoLength : (m_szFloat.cx > kDefaultLength ? m_szFloat.cx : kDefaultLength);
    return CSize(length, m_szHorz.cy);
  }
  LONG length = (mode & LM_STRETCH) ? kNoLength : (m_szFloat.cy > kDefaultLength ? m_szFloat.cy : kDefaultLength);
  return CSize(m_szVert.cx, length);
}

CSize SECControlBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
  return CalcDynamicLayout(-1, (stretch ? LM_STRETCH : 0) | (horz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK));
}

void SECControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

void SECControlBar::GetBarInfo(CControlBarInfo* info) {
  CControlBar::GetBarInfo(info);
  info->m_arrExtra.RemoveAll();
  info->m_arrExtra.Add(kSizeTag);
  info->m_arrExtra.Add(DWORD(m_szHorz.cy));
  info->m_arrExtra.Add(DWORD(m_szVert.cx));
  info->m_arrExtra.Add(DWORD(m_szFloat.cx));
  info->m_arrExtra.Add(DWORD(m_szFloat.cy));
  info->m_arrExtra.Add(DWORD(m_fPercent * kPercentScale + 0.5f));
}

void SECControlBar::SetBarInfo(CControlBarInfo* info, CFrameWnd* frame) {
  // The sizes first: the layout that settles the bar's place uses them.
  if (info->m_arrExtra.GetSize() >= 6 && info->m_arrExtra[0] == kSizeTag) {
    SetDockedThickness(TRUE, int(info->m_arrExtra[1]));
    SetDockedThickness(FALSE, int(info->m_arrExtra[2]));
    SetFloatingSize(CSize(int(info->m_arrExtra[3]), int(info->m_arrExtra[4])));
    SetPercent(float(info->m_arrExtra[5]) / kPercentScale);
  }
  CControlBar::SetBarInfo(info, frame);
}

// ---------------------------------------------------------------------------------------------
// Painting.

BOOL SECControlBar::IsActiveCaption() const {
  SECDockableFrame* docked = GetDockableFrame();
  SECMDIFrameWnd* main = docked ? dynamic_cast<SECMDIFrameWnd*>(docked->GetDockSite()) : NULL;
  return main && main->GetActiveDockableFrame() == docked;
}

void SECControlBar::DrawCaption(CDC* dc, const CRect& caption) {
  BOOL active = IsActiveCaption();
  dc->FillSolidRect(&caption, ::GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_BTNFACE));
  CRect close = GetCloseBoxRect();
  if (IsHorzDocked()) {
    // Two raised grip lines down the strip, under the close box.
    CRect line(caption.left + 4, close.bottom + 4, caption.left + 7, caption.bottom - 4);
    for (int i = 0; i < 2 && line.bottom > line.top; ++i, line.OffsetRect(4, 0))
      dc->DrawEdge(&line, BDR_RAISEDINNER, BF_RECT);
  } else {
    CString title;
    GetWindowText(title);
    CRect text(caption.left + 4, caption.top, close.left - 2, caption.bottom);
    HGDIOBJ oldFont = dc->SelectObject(::GetStockObject(DEFAULT_GUI_FONT));
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(::GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_BTNTEXT));
    dc->DrawText(title, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    dc->SelectObject(oldFont);
  }
  ::DrawFrameControl(dc->m_hDC, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE | (m_bClosePressed ? DFCS_PUSHED : 0));
}

void SECControlBar::OnNcPaint() {
  CWindowDC dc(this);
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  ScreenToClient(&window);
  client.OffsetRect(-window.left, -window.top);
  window.OffsetRect(-window.left, -window.top);
  dc.ExcludeClipRect(&client);
  dc.FillSolidRect(&window, ::GetSysColor(COLOR_BTNFACE));
  // Splitter edges carry a raised line on their outer side, so they read as handles.
  for (DWORD edge : {SEC_SPLIT_LEFT, SEC_SPLIT_TOP, SEC_SPLIT_RIGHT, SEC_SPLIT_BOTTOM}) {
    CRect splitter = GetSplitterRect(edge);
    if (!splitter.IsRectEmpty()) dc.DrawEdge(&splitter, EDGE_RAISED, BF_RECT | BF_SOFT);
  }
  CRect edge = window;
  if (m_dwSplitEdges & SEC_SPLIT_LEFT) edge.left += kSplitter;
  if (m_dwSplitEdges & SEC_SPLIT_TOP) edge.top += kSplitter;
  if (m_dwSplitEdges & SEC_SPLIT_RIGHT) edge.right -= kSplitter;
  if (m_dwSplitEdges & SEC_SPLIT_BOTTOM) edge.bottom -= kSplitter;
  UINT sides = 0;
  if (m_dwStyle & CBRS_BORDER_LEFT) sides |= BF_LEFT;
  if (m_dwStyle & CBRS_BORDER_TOP) sides |= BF_TOP;
  if (m_dwStyle & CBRS_BORDER_RIGHT) sides |= BF_RIGHT;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) sides |= BF_BOTTOM;
  if (sides) dc.DrawEdge(&edge, EDGE_ETCHED, sides);
  CRect caption = GetCaptionRect();
  if (!caption.IsRectEmpty()) DrawCaption(&dc, caption);
}

LRESULT SECControlBar::OnSetText(WPARAM, LPARAM) {
  LRESULT result = Default();
  if (!(m_dwStyle & CBRS_FLOATING)) {
    RedrawWindow(NULL, NULL, RDW_FRAME | RDW_INVALIDATE);
  } else if (CFrameWnd* frame = GetParentFrame()) {
    CString title;
    GetWindowText(title);
    frame->SetWindowText(title);
  }
  return result;
}

// ---------------------------------------------------------------------------------------------
// Mouse: splitter edges and the close box in the non-client area; the rest drags the bar.

LRESULT SECControlBar::OnNcHitTest(CPoint point) {
  CRect window;
  GetWindowRect(&window);
  if (!window.PtInRect(point)) return HTNOWHERE;
  CPoint local(point.x - window.left, point.y - window.top);
  static const struct {
    DWORD edge;
    LRESULT code;
  } kEdges[] = {{SEC_SPLIT_LEFT, HTLEFT}, {SEC_SPLIT_TOP, HTTOP}, {SEC_SPLIT_RIGHT, HTRIGHT}, {SEC_SPLIT_BOTTOM, HTBOTTOM}};
  for (const auto& edge : kEdges)
    if (GetSplitterRect(edge.edge).PtInRect(local)) return edge.code;
  if (GetCloseBoxRect().PtInRect(local)) return HTCLOSE;
  return HTCLIENT;
}

BOOL SECControlBar::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
  LPCSTR cursor = NULL;
  if (hitTest == HTLEFT || hitTest == HTRIGHT) cursor = IDC_SIZEWE;
  if (hitTest == HTTOP || hitTest == HTBOTTOM) cursor = IDC_SIZENS;
  if (!cursor) return CControlBar::OnSetCursor(wnd, hitTest, message);
  ::SetCursor(::LoadCursorA(NULL, cursor));
  return TRUE;
}

void SECControlBar::OnNcLButtonDown(UINT hitTest, CPoint point) {
  switch (hitTest) {
    case HTLEFT: TrackSplitter(SEC_SPLIT_LEFT, point); return;
    case HTTOP: TrackSplitter(SEC_SPLIT_TOP, point); return;
    case HTRIGHT: TrackSplitter(SEC_SPLIT_RIGHT, point); return;
    case HTBOTTOM: TrackSplitter(SEC_SPLIT_BOTTOM, point); return;
    case HTCLOSE:
      if (TrackCloseBox()) OnCloseBox();
      return;
    default: CControlBar::OnNcLButtonDown(hitTest, point);
  }
}

BOOL SECControlBar::TrackCloseBox() {
  CRect box = GetCloseBoxRect();
  CRect window;
  GetWindowRect(&window);
  m_bClosePressed = TRUE;
  RedrawWindow(NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  BOOL released = TrackCapture(m_hWnd, [&](CPoint point) {
    BOOL inside = box.PtInRect(CPoint(point.x - window.left, point.y - window.top));
    if (inside == m_bClosePressed) return;
    m_bClosePressed = inside;
    RedrawWindow(NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  });
  BOOL clicked = released && m_bClosePressed;
  m_bClosePressed = FALSE;
  if (::IsWindow(m_hWnd)) RedrawWindow(NULL, NULL, RDW_FRAME | RDW_INVALIDATE);
  return clicked;
}

void SECControlBar::OnCloseBox() {
  if (SECDockableFrame* docked = GetDockableFrame()) {
    docked->SendMessage(WM_CLOSE);
    return;
  }
  if (m_pDockSite) m_pDockSite->ShowControlBar(this, FALSE, FALSE);
}

void SECControlBar::TrackSplitter(DWORD edge, CPoint start) {
  SECDockBar* dockBar = dynamic_cast<SECDockBar*>(m_pDockBar);
  CFrameWnd* site = m_pDockSite;
  if (!dockBar || !site) return;
  BOOL horzSide = dockBar->IsHorzSide();
  DWORD inner = InnerEdge(dockBar->GetBarStyle());
  BOOL thicknessEdge = edge == inner;
  // What Escape puts back: the thickness of the row and the percents of its bars.
  int row = 0, position = 0;
  dockBar->GetBarPlace(this, row, position);
  CPtrArray rowBars;
  dockBar->GetRowBars(row, rowBars);
  CDWordArray savedPercents;
  for (INT_PTR i = 0; i < rowBars.GetSize(); ++i) {
    SECControlBar* bar = AsSizable(rowBars[i]);
    savedPercents.Add(bar ? DWORD(bar->GetPercent() * kPercentScale) : 0);
  }
  int savedThickness = GetDockedThickness(horzSide);
  CRect client;
  site->GetClientRect(&client);
  int maxThickness = (horzSide ? client.Height() : client.Width()) - kMinThickness;
  int applied = 0;  // boundary moves so far, in pixels
  BOOL released = TrackCapture(m_hWnd, [&](CPoint point) {
    int dx = point.x - start.x, dy = point.y - start.y;
    if (thicknessEdge) {
      int delta = 0;
      switch (edge) {
        case SEC_SPLIT_RIGHT: delta = dx; break;
        case SEC_SPLIT_LEFT: delta = -dx; break;
        case SEC_SPLIT_BOTTOM: delta = dy; break;
        default: delta = -dy; break;
      }
      dockBar->SetRowThickness(this, Clamp(savedThickness + delta, kMinThickness, maxThickness));
    } else {
      applied += dockBar->MoveBoundary(this, (horzSide ? dx : dy) - applied);
    }
    site->RecalcLayout();
  });
  if (!released) {
    dockBar->SetRowThickness(this, savedThickness);
    for (INT_PTR i = 0; i < rowBars.GetSize(); ++i)
      if (SECControlBar* bar = AsSizable(rowBars[i])) bar->SetPercent(float(savedPercents[i]) / kPercentScale);
    site->RecalcLayout();
  }
}

void SECControlBar::OnSize(UINT type, int cx, int cy) {
  CWnd::OnSize(type, cx, cy);
  CWnd* child = GetChildWnd();
  if (!child) return;
  CRect client;
  GetClientRect(&client);
  child->MoveWindow(&client);
}

void SECControlBar::OnSetFocus(CWnd* oldWnd) {
  if (CWnd* child = GetChildWnd())
    child->SetFocus();
  else
    CControlBar::OnSetFocus(oldWnd);
}

LRESULT SECControlBar::OnDestroyIfEmpty(WPARAM, LPARAM) {
  if (GetChildWnd()) return 0;
  CDockBar* dockBar = m_pDockBar;
  BOOL floating = IsFloating();
  DestroyWindow();
  // A floating frame left without bars goes too.
  if (floating && dockBar) dockBar->CloseIfEmpty();
  return 0;
}

// ---------------------------------------------------------------------------------------------
// SECDockBar

SECDockBar::SECDockBar(BOOL floating) : CDockBar(floating), m_nLastLength(0) {}

void SECDockBar::GetRowBars(int row, CPtrArray& bars) const {
  bars.RemoveAll();
  int current = 0;
  for (INT_PTR i = 1; i < m_arrBars.GetSize() && current <= row; ++i) {
    CControlBar* bar = GetDockedControlBar(int(i));
    if (!bar) {
      ++current;
      continue;
    }
    if (current == row && bar->IsVisible()) bars.Add(bar);
  }
}

void SECDockBar::DockControlBarEx(CControlBar* bar, int column, int row, float percent, int pixels) {
  if (SECControlBar* sizable = dynamic_cast<SECControlBar*>(bar)) {
    sizable->SetPercent(percent);
    sizable->SetDockedThickness(IsHorzSide(), pixels);
  }
  // The framework's docking does the moving in (parent, style, last places) as a new last row; the bar then
  // takes the place asked for.
  CDockBar::DockControlBar(bar, NULL);
  int index = FindBar(bar);
  if (index > 0) {
    m_arrBars.RemoveAt(index);
    if (index < m_arrBars.GetSize() && !m_arrBars[index]) m_arrBars.RemoveAt(index);
  }
  if (row < 0) row = 0;
  if (column < 0) column = 0;
  if (row < GetRowCount())
    InsertControlBar(bar, row, column);
  else
    InsertControlBar(bar, GetRowCount(), 0);
  if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
}

int SECDockBar::SizableLength(int row, CPtrArray* sizable) const {
  CPtrArray bars;
  GetRowBars(row, bars);
  BOOL horz = IsHorzSide();
  int length = m_nLastLength;
  for (INT_PTR i = 0; i < bars.GetSize(); ++i) {
    CControlBar* bar = static_cast<CControlBar*>(bars[i]);
    if (SECControlBar* s = dynamic_cast<SECControlBar*>(bar)) {
      if (sizable) sizable->Add(s);
      continue;
    }
    CSize size = bar->CalcDynamicLayout(-1, horz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
    length -= horz ? size.cx : size.cy;
  }
  return length > 0 ? length : 0;
}

void SECDockBar::SetRowThickness(SECControlBar* bar, int pixels) {
  int row = 0, position = 0;
  if (!GetBarPlace(bar, row, position)) return;
  CPtrArray bars;
  GetRowBars(row, bars);
  bar->SetDockedThickness(IsHorzSide(), pixels);
  for (INT_PTR i = 0; i < bars.GetSize(); ++i)
    if (SECControlBar* other = AsSizable(bars[i])) other->SetDockedThickness(IsHorzSide(), pixels);
}

int SECDockBar::MoveBoundary(SECControlBar* bar, int delta) {
  int row = 0, position = 0;
  if (!GetBarPlace(bar, row, position) || delta == 0) return 0;
  CPtrArray sizable;
  int length = SizableLength(row, &sizable);
  SECControlBar* next = NULL;
  float total = 0;
  for (INT_PTR i = 0; i < sizable.GetSize(); ++i) {
    SECControlBar* s = static_cast<SECControlBar*>(sizable[i]);
    total += s->GetPercent();
    if (!next && i > 0 && sizable[i - 1] == bar) next = s;
  }
  if (!next || length <= 0 || total <= 0) return 0;
  // The row's shares become percents of the row again, so every one stays within 100.
  for (INT_PTR i = 0; i < sizable.GetSize(); ++i) {
    SECControlBar* s = static_cast<SECControlBar*>(sizable[i]);
    s->m_fPercent = s->m_fPercent * 100.0f / total;
  }
  total = 100.0f;
  float perPixel = total / float(length);
  // Neither bar gets shorter than the smallest thickness.
  int mine = int(bar->GetPercent() / perPixel + 0.5f), theirs = int(next->GetPercent() / perPixel + 0.5f);
  int moved = Clamp(delta, SECControlBar::kMinThickness - mine, theirs - SECControlBar::kMinThickness);
  if ((delta > 0 && moved < 0) || (delta < 0 && moved > 0)) moved = 0;
  float sum = bar->GetPercent() + next->GetPercent();
  float mineNew = (mine + moved) * perPixel;
  bar->m_fPercent = mineNew;
  next->m_fPercent = sum - mineNew;
  return moved;
}

CSize SECDockBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
  if (m_bFloating) return CDockBar::CalcFixedLayout(stretch, horz);
  CSize space = GetLayoutSpace();
  int available = horz ? space.cx : space.cy;
  m_nLastLength = available;
  DWORD inner = InnerEdge(m_dwStyle);
  DWORD along = horz ? SEC_SPLIT_RIGHT : SEC_SPLIT_BOTTOM;
  DWORD fixedMode = horz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
  HDWP dwp = m_bLayoutQuery ? NULL : ::BeginDeferWindowPos(int(m_arrBars.GetSize()));
  int across = 0, length = 0;
  BOOL anySizable = FALSE;

  int row = 0;
  for (INT_PTR start = 1; start < m_arrBars.GetSize(); ++row) {
    INT_PTR end = start;
    while (end < m_arrBars.GetSize() && m_arrBars[end]) ++end;
    // The row's visible bars, their sizes, and the length the sizable ones share.
    int thickness = 0, fixedLength = 0, sizableCount = 0;
    float percentTotal = 0;
    for (INT_PTR i = start; i < end; ++i) {
      CControlBar* bar = GetDockedControlBar(int(i));
      if (!bar->IsVisible()) continue;
      if (SECControlBar* s = dynamic_cast<SECControlBar*>(bar)) {
        thickness = thickness > s->GetDockedThickness(horz) ? thickness : s->GetDockedThickness(horz);
        percentTotal += s->GetPercent();
        ++sizableCount;
      } else {
        CSize size = bar->CalcDynamicLayout(-1, fixedMode);
        fixedLength += horz ? size.cx : size.cy;
        int barAcross = horz ? size.cy : size.cx;
        thickness = thickness > barAcross ? thickness : barAcross;
      }
    }
    int share = available - fixedLength > 0 ? available - fixedLength : 0;
    int position = 0, sharedSoFar = 0, sizableSeen = 0;
    for (INT_PTR i = start; i < end; ++i) {
      CControlBar* bar = GetDockedControlBar(int(i));
      if (bar->IsVisible()) {
        SECControlBar* s = dynamic_cast<SECControlBar*>(bar);
        CSize size;
        if (s) {
          ++sizableSeen;
          int barLength = sizableSeen == sizableCount ? share - sharedSoFar
                                                       : int(share * s->GetPercent() / percentTotal + 0.5f);
          sharedSoFar += barLength;
          size = horz ? CSize(barLength, thickness) : CSize(thickness, barLength);
          if (dwp) s->SetSplitEdges(inner | (sizableSeen < sizableCount ? along : 0));
        } else {
          size = bar->CalcDynamicLayout(-1, fixedMode);
        }
        int barLength = horz ? size.cx : size.cy;
        if (!sizableCount) {
          // A row of fixed bars keeps each where it was put, when there is room.
          CRect current;
          bar->GetWindowRect(&current);
          ScreenToClient(&current);
          int wanted = horz ? current.left : current.top;
          if (wanted > position) position = wanted;
          if (position + barLength > available) position = available - barLength > 0 ? available - barLength : 0;
        }
        CRect rect = horz ? CRect(position, across, position + size.cx, across + size.cy)
                          : CRect(across, position, across + size.cx, position + size.cy);
        if (dwp) {
          Reposition(&dwp, bar, rect);
          if (bar->m_pDockContext) bar->m_pDockContext->m_rectMRUDockPos = rect;
        }
        position += barLength;
        length = length > position ? length : position;
      }
      ApplyDelayShow(bar, dwp ? &dwp : NULL);
    }
    anySizable = anySizable || sizableCount > 0;
    across += thickness;
    start = end + 1;
  }
  if (dwp) ::EndDeferWindowPos(dwp);
  if (anySizable) length = available;
  CSize size = horz ? CSize(length, across) : CSize(across, length);
  if (stretch && horz) size.cx = kNoLength;
  if (stretch && !horz) size.cy = kNoLength;
  return size;
}

// ---------------------------------------------------------------------------------------------
// SECMiniDockFrameWnd

BEGIN_MESSAGE_MAP(SECMiniDockFrameWnd, CMiniDockFrameWnd)
  ON_WM_SIZE()
  ON_WM_CLOSE()
  ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

SECMiniDockFrameWnd::SECMiniDockFrameWnd() = default;

SECControlBar* SECMiniDockFrameWnd::GetSizableBar() const {
  for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i)
    if (SECControlBar* bar = AsSizable(m_wndDockBar.m_arrBars[i])) return bar;
  return NULL;
}

void SECMiniDockFrameWnd::RecalcLayout(BOOL notify) {
  if (m_bInRecalcLayout || !m_wndDockBar.m_hWnd) return;
  // A sizable bar makes the frame resizable; its floating size is then the frame's client size.
  BOOL sizable = GetSizableBar() != NULL;
  if (sizable != ((GetStyle() & WS_THICKFRAME) != 0)) {
    // The client area changes with the frame's border: that is no resizing by the user.
    m_bInRecalcLayout = TRUE;
    ModifyStyle(sizable ? 0 : WS_THICKFRAME, sizable ? WS_THICKFRAME : 0, SWP_FRAMECHANGED);
    m_bInRecalcLayout = FALSE;
  }
  CMiniDockFrameWnd::RecalcLayout(notify);
}

void SECMiniDockFrameWnd::OnSize(UINT type, int cx, int cy) {
  SECControlBar* bar = GetSizableBar();
  if (!m_bInRecalcLayout && bar && type != SIZE_MINIMIZED && cx > 0 && cy > 0) bar->SetFloatingSize(CSize(cx, cy));
  CMiniDockFrameWnd::OnSize(type, cx, cy);
}

void SECMiniDockFrameWnd::OnGetMinMaxInfo(MINMAXINFO* info) {
  CMiniDockFrameWnd::OnGetMinMaxInfo(info);
  CRect least(0, 0, SECControlBar::kMinThickness, SECControlBar::kMinThickness);
  ::AdjustWindowRectEx(&least, GetStyle(), FALSE, GetExStyle());
  info->ptMinTrackSize.x = least.Width();
  info->ptMinTrackSize.y = least.Height();
}

void SECMiniDockFrameWnd::OnClose() {
  // Each sizable bar acts as if its close box was clicked; other bars hide.
  CPtrArray bars;
  for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i)
    if (m_wndDockBar.m_arrBars[i]) bars.Add(m_wndDockBar.m_arrBars[i]);
  if (bars.GetSize() == 0) {
    DestroyWindow();
    return;
  }
  for (INT_PTR i = 0; i < bars.GetSize(); ++i) {
    CControlBar* bar = static_cast<CControlBar*>(bars[i]);
    if (SECControlBar* sizable = dynamic_cast<SECControlBar*>(bar))
      sizable->OnCloseBox();
    else if (bar->m_pDockSite)
      bar->m_pDockSite->ShowControlBar(bar, FALSE, FALSE);
  }
}

// ---------------------------------------------------------------------------------------------
// Docking calls.

void SECEnableDocking(CFrameWnd* frame, DWORD dockStyle) {
  if (!frame->m_pDockBarClass) frame->m_pDockBarClass = RUNTIME_CLASS(SECDockBar);
  if (!frame->m_pFloatingFrameClass) frame->m_pFloatingFrameClass = RUNTIME_CLASS(SECMiniDockFrameWnd);
  frame->CFrameWnd::EnableDocking(dockStyle);
}

void SECDockControlBarEx(CFrameWnd* frame, CControlBar* bar, UINT dockBarId, int column, int row, float percent,
                         int pixels) {
  CControlBar* side = frame->GetControlBar(dockBarId);
  SECDockBar* dockBar = dynamic_cast<SECDockBar*>(side);
  if (!dockBar) {
    // A side docking was enabled on without the library's dock bars docks as the framework does, the sizes
    // kept for when the bar reaches one of the library's; no side at all is refused there.
    if (SECControlBar* sizable = dynamic_cast<SECControlBar*>(bar)) {
      sizable->SetPercent(percent);
      sizable->SetDockedThickness((side && (side->GetBarStyle() & CBRS_ORIENT_HORZ)) != 0, pixels);
    }
    frame->DockControlBar(bar, dockBarId);
    return;
  }
  if (!bar->m_pDockContext) bar->EnableDocking(bar->m_dwDockStyle ? bar->m_dwDockStyle : CBRS_ALIGN_ANY);
  bar->m_pDockSite = frame;
  dockBar->DockControlBarEx(bar, column, row, percent, pixels);
}

void SECFloatControlBar(CFrameWnd* frame, CControlBar* bar, CPoint point, const CRect& frameRect) {
  frame->FloatControlBar(bar, point, CBRS_ALIGN_TOP);
  if (frameRect.IsRectEmpty() || !dynamic_cast<SECControlBar*>(bar)) return;
  // The floating frame follows the rectangle; its new client size becomes the bar's floating size.
  if (CFrameWnd* floating = bar->GetParentFrame()) {
    floating->SetWindowPos(NULL, frameRect.left, frameRect.top, frameRect.Width(), frameRect.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
    floating->RecalcLayout();
  }
}

void SECGetDockableFrames(CFrameWnd* frame, CPtrArray& frames) {
  frames.RemoveAll();
  for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
    SECControlBar* bar = dynamic_cast<SECControlBar*>(static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos)));
    if (SECDockableFrame* docked = bar ? bar->GetDockableFrame() : NULL) frames.Add(docked);
  }
}

UINT SECNextFreeBarId(CFrameWnd* frame, UINT first, UINT last) {
  for (UINT id = first; id <= last; ++id)
    if (!frame->GetControlBar(id)) return id;
  AfxThrowResourceException();
}

CPoint SECDefaultFloatPoint(CFrameWnd* site) {
  CRect rect;
  site->GetWindowRect(&rect);
  return CPoint(rect.left + kFloatMargin * 3, rect.top + kFloatMargin * 2);
}
