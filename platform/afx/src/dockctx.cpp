// CDockContext: dragging a bar between a frame's sides and out to float, with the drag rectangle on the
// screen, and toggling between the last docked and floating places.
#include "afxpriv.h"
#include "barlayout.h"
#include "state.h"

namespace {
const int kThinFrame = 1;   // the drag rectangle where the bar would dock
const int kThickFrame = 3;  // ... where it would float

// Inverts a frame of the given thickness around rect on the screen (drawn twice it is gone).
void InvertFrame(HDC dc, const CRect& rect, int thickness) {
  ::PatBlt(dc, rect.left, rect.top, rect.Width(), thickness, PATINVERT);
  ::PatBlt(dc, rect.left, rect.bottom - thickness, rect.Width(), thickness, PATINVERT);
  ::PatBlt(dc, rect.left, rect.top + thickness, thickness, rect.Height() - 2 * thickness, PATINVERT);
  ::PatBlt(dc, rect.right - thickness, rect.top + thickness, thickness, rect.Height() - 2 * thickness, PATINVERT);
}

// The floating frame's window rectangle around a bar client of size, placed at topLeft.
CRect FloatingFrameRect(CPoint topLeft, CSize size) {
  CRect rect(0, 0, size.cx, size.cy);
  ::AdjustWindowRectEx(&rect, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_TOOLWINDOW);
  rect.OffsetRect(topLeft.x - rect.left, topLeft.y - rect.top);
  return rect;
}
}  // namespace

CDockContext::CDockContext(CControlBar* bar)
    : m_pBar(bar), m_pDockSite(NULL), m_dwOverDockStyle(0), m_bDragging(FALSE), m_uMRUDockID(0),
      m_dwMRUFloatStyle(CBRS_ALIGN_TOP), m_ptMRUFloatPos(CW_USEDEFAULT, CW_USEDEFAULT), m_bLastThick(FALSE),
      m_bHaveRect(FALSE) {}

CDockContext::~CDockContext() = default;

void CDockContext::StartDrag(CPoint point) {
  m_pDockSite = m_pBar->m_pDockSite;
  if (!m_pDockSite || !m_pBar->m_pDockBar) return;
  CRect rect;
  m_pBar->GetWindowRect(&rect);
  m_ptLast = point;
  // The rectangles the bar would take on each kind of side and floating, all through the pointer.
  CSize horz = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
  CSize vert = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
  CSize floating = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
  m_rectDragHorz = CRect(rect.TopLeft(), horz);
  m_rectDragVert = CRect(rect.TopLeft(), vert);
  if (m_pBar->IsFloating()) {
    CRect frame;
    m_pBar->GetParentFrame()->GetWindowRect(&frame);
    m_rectFrameDragHorz = frame;
  } else {
    m_rectFrameDragHorz = FloatingFrameRect(rect.TopLeft(), floating);
  }
  for (CRect* r : {&m_rectDragHorz, &m_rectDragVert, &m_rectFrameDragHorz}) {
    // Keep the pointer inside each rectangle (a vertical bar grabbed low becomes a short horizontal one).
    if (point.x >= r->right) r->OffsetRect(point.x - r->right + r->Width() / 2, 0);
    if (point.y >= r->bottom) r->OffsetRect(0, point.y - r->bottom + r->Height() / 2);
  }
  Track();
}

void CDockContext::InitLoop() {
  m_bDragging = TRUE;
  m_bHaveRect = FALSE;
  m_dwOverDockStyle = CanDock(NULL);
  DrawFocusRect();
}

void CDockContext::CancelLoop() {
  DrawFocusRect(TRUE);
  m_bDragging = FALSE;
  if (CWnd::GetCapture() == m_pBar) ::ReleaseCapture();
}

BOOL CDockContext::Track() {
  if (::GetCapture() != NULL) return FALSE;
  m_pBar->SetCapture();
  InitLoop();
  // The drag owns the mouse until the button goes up, Escape is pressed or the capture is lost.
  while (CWnd::GetCapture() == m_pBar) {
    MSG msg;
    if (!afxstate::NextMessage(msg)) break;
    switch (msg.message) {
      case WM_MOUSEMOVE:
      case WM_LBUTTONUP: {
        CPoint point = AfxPointOf(msg.lParam);
        ::ClientToScreen(msg.hwnd, &point);
        Move(point);
        if (msg.message == WM_LBUTTONUP) {
          EndDrag();
          return TRUE;
        }
        break;
      }
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) {
          CancelLoop();
          return FALSE;
        }
        break;
      case WM_RBUTTONDOWN:
        CancelLoop();
        return FALSE;
      default:
        ::DispatchMessageA(&msg);
        break;
    }
  }
  CancelLoop();
  return FALSE;
}

void CDockContext::Move(CPoint point) {
  CPoint delta(point.x - m_ptLast.x, point.y - m_ptLast.y);
  m_ptLast = point;
  m_rectDragHorz.OffsetRect(delta);
  m_rectDragVert.OffsetRect(delta);
  m_rectFrameDragHorz.OffsetRect(delta);
  m_dwOverDockStyle = CanDock(NULL);
  DrawFocusRect();
}

DWORD CDockContext::CanDock(CDockBar** dockBar) {
  // Control held down keeps the bar floating.
  if (::GetKeyState(VK_CONTROL) < 0) return 0;
  DWORD allowed = m_pBar->m_dwDockStyle;
  DWORD side = m_pDockSite->CanDock(m_rectDragHorz, allowed & CBRS_ORIENT_HORZ, dockBar);
  if (!side) side = m_pDockSite->CanDock(m_rectDragVert, allowed & CBRS_ORIENT_VERT, dockBar);
  return side;
}

void CDockContext::DrawFocusRect(BOOL removeOnly) {
  CRect rect = (m_dwOverDockStyle & CBRS_ORIENT_HORZ) ? m_rectDragHorz
               : (m_dwOverDockStyle & CBRS_ORIENT_VERT) ? m_rectDragVert
                                                          : m_rectFrameDragHorz;
  BOOL thick = m_dwOverDockStyle == 0;
  if (!removeOnly && m_bHaveRect && rect == m_rectLast && thick == m_bLastThick) return;
  HDC dc = ::GetDCEx(NULL, NULL, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
  HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(GRAY_BRUSH));
  if (m_bHaveRect) InvertFrame(dc, m_rectLast, m_bLastThick ? kThickFrame : kThinFrame);
  m_bHaveRect = FALSE;
  if (!removeOnly) {
    InvertFrame(dc, rect, thick ? kThickFrame : kThinFrame);
    m_rectLast = rect;
    m_bLastThick = thick;
    m_bHaveRect = TRUE;
  }
  ::SelectObject(dc, oldBrush);
  ::ReleaseDC(NULL, dc);
}

void CDockContext::EndDrag() {
  CancelLoop();
  CDockBar* dockBar = NULL;
  DWORD side = CanDock(&dockBar);
  if (side && dockBar) {
    CRect rect = (side & CBRS_ORIENT_HORZ) ? m_rectDragHorz : m_rectDragVert;
    m_pDockSite->DockControlBar(m_pBar, dockBar, &rect);
  } else {
    m_pDockSite->FloatControlBar(m_pBar, m_rectFrameDragHorz.TopLeft(), CBRS_ALIGN_TOP);
  }
  m_pDockSite->RecalcLayout();
}

void CDockContext::ToggleDocking() {
  CFrameWnd* site = m_pBar->m_pDockSite;
  if (!site) return;
  if (m_pBar->IsFloating()) {
    CDockBar* dockBar = m_uMRUDockID ? static_cast<CDockBar*>(site->GetControlBar(m_uMRUDockID)) : NULL;
    if (dockBar && dockBar->IsDockBar() && !dockBar->m_bFloating) {
      CRect rect = m_rectMRUDockPos;
      dockBar->ClientToScreen(&rect);
      site->DockControlBar(m_pBar, dockBar, rect.IsRectEmpty() ? NULL : &rect);
    } else {
      site->DockControlBar(m_pBar);
    }
  } else {
    CPoint point = m_ptMRUFloatPos;
    if (point.x == CW_USEDEFAULT) {
      // Never floated: just beside where it sits now.
      CRect rect;
      m_pBar->GetWindowRect(&rect);
      point = CPoint(rect.left + ::GetSystemMetrics(SM_CXSMSIZE), rect.top + ::GetSystemMetrics(SM_CYSMSIZE));
    }
    site->FloatControlBar(m_pBar, point, m_dwMRUFloatStyle);
  }
  site->RecalcLayout();
}
