// Views: CView (painting, document link, activation) and CScrollView in MM_TEXT.
#include "winstate.h"

IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CView, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_MOUSEACTIVATE()
  ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMsg)
END_MESSAGE_MAP()

CView::CView() : m_pDocument(NULL) {}
CView::~CView() {
  if (m_pDocument) m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, NULL, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  cs.style |= WS_CLIPSIBLINGS;
  return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT cs) {
  if (CWnd::OnCreate(cs) == -1) return -1;
  CCreateContext* context = static_cast<CCreateContext*>(cs->lpCreateParams);
  if (context && context->m_pCurrentDoc) context->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::OnDestroy() {
  CFrameWnd* frame = GetParentFrame();
  if (frame && frame->GetActiveView() == this) frame->SetActiveView(NULL, FALSE);
  CWnd::OnDestroy();
}

void CView::PostNcDestroy() { delete this; }

void CView::OnPaint() {
  CPaintDC dc(this);
  OnPrepareDC(&dc);
  OnDraw(&dc);
}

void CView::OnPrepareDC(CDC*, CPrintInfo* info) {
  if (info && info->GetMaxPage() == CPrintInfo::kUnknownPage) info->m_bContinuePrinting = info->m_nCurPage == 1;
}

int CView::OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message) {
  int result = CWnd::OnMouseActivate(desktop, hitTest, message);
  if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) return result;
  CFrameWnd* frame = GetParentFrame();
  if (frame) {
    frame->SetActiveView(this);
    if (::GetFocus() != m_hWnd && !::IsChild(m_hWnd, ::GetFocus())) SetFocus();
  }
  return result;
}

LRESULT CView::OnInitialUpdateMsg(WPARAM, LPARAM) {
  OnInitialUpdate();
  return 0;
}

void CView::OnInitialUpdate() { OnUpdate(NULL, 0, NULL); }
void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnActivateView(BOOL activate, CView* activateView, CView*) {
  if (activate && activateView == this && ::IsWindow(m_hWnd)) {
    CFrameWnd* frame = GetParentFrame();
    if (frame && ::GetFocus() != m_hWnd && ::GetActiveWindow() == frame->GetTopLevelParent()->m_hWnd) SetFocus();
  }
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

BOOL CView::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
  if (CWnd::OnCmdMsg(id, code, extra, handlerInfo)) return TRUE;
  return m_pDocument && m_pDocument->OnCmdMsg(id, code, extra, handlerInfo);
}

// ---------------------------------------------------------------------------------------------

const SIZE CScrollView::sizeDefault = {0, 0};

BEGIN_MESSAGE_MAP(CScrollView, CView)
  ON_WM_SIZE()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CScrollView::CScrollView() : m_nMapMode(0) {}

void CScrollView::SetScrollSizes(int mapMode, SIZE total, const SIZE& page, const SIZE& line) {
  if (mapMode != MM_TEXT) AfxThrowNotSupportedException();
  m_nMapMode = mapMode;
  m_totalLog = total;
  m_totalDev = total;
  m_pageDev = page;
  m_lineDev = line;
  if (m_pageDev.cx == 0) m_pageDev.cx = m_totalDev.cx / 10;
  if (m_pageDev.cy == 0) m_pageDev.cy = m_totalDev.cy / 10;
  if (m_lineDev.cx == 0) m_lineDev.cx = m_pageDev.cx / 10;
  if (m_lineDev.cy == 0) m_lineDev.cy = m_pageDev.cy / 10;
  if (m_hWnd) {
    UpdateBars();
    Invalidate(TRUE);
  }
}

CPoint CScrollView::GetScrollPosition() const {
  return CPoint(::GetScrollPos(m_hWnd, SB_HORZ), ::GetScrollPos(m_hWnd, SB_VERT));
}

void CScrollView::OnPrepareDC(CDC* dc, CPrintInfo* info) {
  dc->SetMapMode(MM_TEXT);
  if (!info) {
    CPoint pos = GetScrollPosition();
    dc->SetViewportOrg(-pos.x, -pos.y);
  }
  CView::OnPrepareDC(dc, info);
}

void CScrollView::UpdateBars() {
  CRect client;
  GetClientRect(&client);
  SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE};
  info.nMin = 0;
  info.nMax = m_totalDev.cx > 0 ? m_totalDev.cx - 1 : 0;
  info.nPage = UINT(client.Width() > 0 ? client.Width() : 0);
  ::SetScrollInfo(m_hWnd, SB_HORZ, &info, TRUE);
  info.nMax = m_totalDev.cy > 0 ? m_totalDev.cy - 1 : 0;
  info.nPage = UINT(client.Height() > 0 ? client.Height() : 0);
  ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

void CScrollView::ScrollToPosition(POINT pos) {
  CPoint old = GetScrollPosition();
  int maxX = GetScrollLimit(SB_HORZ), maxY = GetScrollLimit(SB_VERT);
  int x = pos.x < 0 ? 0 : (pos.x > maxX ? maxX : pos.x);
  int y = pos.y < 0 ? 0 : (pos.y > maxY ? maxY : pos.y);
  SetScrollPos(SB_HORZ, x);
  SetScrollPos(SB_VERT, y);
  ScrollWindow(old.x - x, old.y - y);
}

void CScrollView::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  if (m_nMapMode) UpdateBars();
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL doScroll) {
  CPoint pos = GetScrollPosition();
  CPoint target(pos.x + sizeScroll.cx, pos.y + sizeScroll.cy);
  int maxX = GetScrollLimit(SB_HORZ), maxY = GetScrollLimit(SB_VERT);
  if (target.x < 0) target.x = 0;
  if (target.x > maxX) target.x = maxX;
  if (target.y < 0) target.y = 0;
  if (target.y > maxY) target.y = maxY;
  if (target == pos) return FALSE;
  if (doScroll) ScrollToPosition(target);
  return TRUE;
}

BOOL CScrollView::OnScroll(UINT scrollCode, UINT pos, BOOL doScroll) {
  CSize delta(0, 0);
  auto step = [&](UINT code, int line, int page, int current, LONG& out) {
    switch (code) {
      case SB_LINEUP: out = -line; break;
      case SB_LINEDOWN: out = line; break;
      case SB_PAGEUP: out = -page; break;
      case SB_PAGEDOWN: out = page; break;
      case SB_TOP: out = -current; break;
      case SB_BOTTOM: out = 0x3FFFFFFF; break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: out = int(pos) - current; break;
      default: break;
    }
  };
  CPoint current = GetScrollPosition();
  step(LOBYTE(scrollCode), m_lineDev.cx, m_pageDev.cx, current.x, delta.cx);
  step(HIBYTE(scrollCode), m_lineDev.cy, m_pageDev.cy, current.y, delta.cy);
  return OnScrollBy(delta, doScroll);
}

void CScrollView::OnHScroll(UINT code, UINT pos, CScrollBar*) { OnScroll(MAKEWORD(code, 0xFF), pos); }
void CScrollView::OnVScroll(UINT code, UINT pos, CScrollBar*) { OnScroll(MAKEWORD(0xFF, code), pos); }

BOOL CScrollView::OnMouseWheel(UINT, short delta, CPoint) {
  int lines = -delta / WHEEL_DELTA * 3;
  return OnScrollBy(CSize(0, lines * m_lineDev.cy));
}
