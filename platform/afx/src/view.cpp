// Views: CView (painting, document link, activation), CScrollView in MM_TEXT, the static CSplitterWnd.
#include "winstate.h"

IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CScrollView, CView)
IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

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

// ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CSplitterWnd::CSplitterWnd() : m_nRows(0), m_nCols(0), m_pRowInfo(NULL), m_pColInfo(NULL), m_nTracking(-1) {}

CSplitterWnd::~CSplitterWnd() {
  delete[] m_pRowInfo;
  delete[] m_pColInfo;
}

BOOL CSplitterWnd::CreateStatic(CWnd* parent, int rows, int cols, DWORD style, UINT id) {
  if (rows < 1 || cols < 1 || rows > 16 || cols > 16) AfxThrowNotSupportedException();
  m_nRows = rows;
  m_nCols = cols;
  m_pRowInfo = new Info[rows]();
  m_pColInfo = new Info[cols]();
  return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, NULL, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), NULL,
                  style | WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), parent, id);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* viewClass, SIZE initialSize, CCreateContext* context) {
  if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols) AfxThrowNotSupportedException();
  m_pColInfo[col].ideal = initialSize.cx;
  m_pRowInfo[row].ideal = initialSize.cy;
  CCreateContext local;
  if (!context) context = &local;
  CRuntimeClass* saved = context->m_pNewViewClass;
  context->m_pNewViewClass = viewClass;
  CObject* object = viewClass->CreateObject();
  CWnd* view = dynamic_cast<CWnd*>(object);
  context->m_pNewViewClass = saved;
  if (!view) {
    delete object;
    AfxThrowNotSupportedException();
  }
  if (!view->Create(NULL, NULL, AFX_WS_DEFAULT_VIEW & ~WS_BORDER, CRect(0, 0, 0, 0), this, IdFromRowCol(row, col),
                    context))
    return FALSE;
  RecalcLayout();
  return TRUE;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const { return GetDlgItem(IdFromRowCol(row, col)); }

void CSplitterWnd::SetColumnInfo(int col, int ideal, int minimum) {
  m_pColInfo[col].ideal = ideal;
  m_pColInfo[col].minimum = minimum;
}
void CSplitterWnd::SetRowInfo(int row, int ideal, int minimum) {
  m_pRowInfo[row].ideal = ideal;
  m_pRowInfo[row].minimum = minimum;
}
void CSplitterWnd::GetColumnInfo(int col, int& current, int& minimum) const {
  current = m_pColInfo[col].current;
  minimum = m_pColInfo[col].minimum;
}
void CSplitterWnd::GetRowInfo(int row, int& current, int& minimum) const {
  current = m_pRowInfo[row].current;
  minimum = m_pRowInfo[row].minimum;
}

namespace {
// Every pane but the last gets its ideal size (at least its minimum); the last gets the rest.
void Distribute(CSplitterWnd::Info* info, int count, int total) {
  int left = total - (count - 1) * CSplitterWnd::kSplitterGap;
  for (int i = 0; i < count; ++i) {
    int size = i == count - 1 ? left : (info[i].ideal > info[i].minimum ? info[i].ideal : info[i].minimum);
    if (size > left) size = left;
    if (size < 0) size = 0;
    info[i].current = size;
    left -= size;
  }
}
}  // namespace

void CSplitterWnd::RecalcLayout() {
  if (!m_hWnd || !m_pRowInfo) return;
  CRect client;
  GetClientRect(&client);
  Distribute(m_pColInfo, m_nCols, client.Width());
  Distribute(m_pRowInfo, m_nRows, client.Height());
  int y = 0;
  for (int r = 0; r < m_nRows; ++r) {
    int x = 0;
    for (int c = 0; c < m_nCols; ++c) {
      if (CWnd* pane = GetPane(r, c)) pane->MoveWindow(x, y, m_pColInfo[c].current, m_pRowInfo[r].current);
      x += m_pColInfo[c].current + kSplitterGap;
    }
    y += m_pRowInfo[r].current + kSplitterGap;
  }
  Invalidate();
}

int CSplitterWnd::HitTestBar(CPoint point) const {
  // Bars of columns are numbered 0.., bars of rows 16..
  int x = 0;
  for (int c = 0; c < m_nCols - 1; ++c) {
    x += m_pColInfo[c].current;
    if (point.x >= x && point.x < x + kSplitterGap) return c;
    x += kSplitterGap;
  }
  int y = 0;
  for (int r = 0; r < m_nRows - 1; ++r) {
    y += m_pRowInfo[r].current;
    if (point.y >= y && point.y < y + kSplitterGap) return 16 + r;
    y += kSplitterGap;
  }
  return -1;
}

void CSplitterWnd::OnSize(UINT type, int cx, int cy) {
  CWnd::OnSize(type, cx, cy);
  RecalcLayout();
}

void CSplitterWnd::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint point) {
  m_nTracking = HitTestBar(point);
  if (m_nTracking >= 0) SetCapture();
}

void CSplitterWnd::OnMouseMove(UINT, CPoint point) {
  if (m_nTracking < 0 || GetCapture() != this) return;
  Info* info = m_nTracking < 16 ? &m_pColInfo[m_nTracking] : &m_pRowInfo[m_nTracking - 16];
  int index = m_nTracking < 16 ? m_nTracking : m_nTracking - 16;
  Info* all = m_nTracking < 16 ? m_pColInfo : m_pRowInfo;
  int start = 0;
  for (int i = 0; i < index; ++i) start += all[i].current + kSplitterGap;
  int size = (m_nTracking < 16 ? point.x : point.y) - start;
  info->ideal = size < info->minimum ? info->minimum : size;
  RecalcLayout();
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint) {
  if (m_nTracking >= 0) ::ReleaseCapture();
  m_nTracking = -1;
}

BOOL CSplitterWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
  if (wnd == this && hitTest == HTCLIENT) {
    CPoint p;
    ::GetCursorPos(&p);
    ScreenToClient(&p);
    int bar = HitTestBar(p);
    if (bar >= 0) {
      ::SetCursor(::LoadCursorA(NULL, bar < 16 ? IDC_SIZEWE : IDC_SIZENS));
      return TRUE;
    }
  }
  return CWnd::OnSetCursor(wnd, hitTest, message);
}
