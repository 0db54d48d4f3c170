// CSplitterWnd: a static split of a frame into panes of views, with bars the user drags and columns that
// can be hidden and shown again.
#include "winstate.h"

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

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
  CWnd* view = afxstate::CreateObjectOf<CWnd>(viewClass);
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
// Every shown pane but the last gets its ideal size (at least its minimum); the last shown gets the rest. A
// hidden one gets nothing, not even the bar beside it.
void Distribute(CSplitterWnd::Info* info, int count, int total) {
  int last = -1, shown = 0;
  for (int i = 0; i < count; ++i) {
    if (info[i].hidden) continue;
    last = i;
    ++shown;
  }
  int left = total - (shown > 0 ? shown - 1 : 0) * CSplitterWnd::kSplitterGap;
  for (int i = 0; i < count; ++i) {
    if (info[i].hidden) {
      info[i].current = 0;
      continue;
    }
    int size = i == last ? left : (info[i].ideal > info[i].minimum ? info[i].ideal : info[i].minimum);
    if (size > left) size = left;
    if (size < 0) size = 0;
    info[i].current = size;
    left -= size;
  }
}

// Where pane index starts: the shown panes before it and their bars.
int StartOf(const CSplitterWnd::Info* info, int index) {
  int start = 0;
  for (int i = 0; i < index; ++i)
    if (!info[i].hidden) start += info[i].current + CSplitterWnd::kSplitterGap;
  return start;
}
}  // namespace

void CSplitterWnd::HideColumn(int col) {
  if (col < 0 || col >= m_nCols) AfxThrowNotSupportedException();
  m_pColInfo[col].hidden = TRUE;
  RecalcLayout();
}

void CSplitterWnd::ShowColumn(int col) {
  if (col < 0 || col >= m_nCols) AfxThrowNotSupportedException();
  m_pColInfo[col].hidden = FALSE;
  RecalcLayout();
}

void CSplitterWnd::RecalcLayout() {
  if (!m_hWnd || !m_pRowInfo) return;
  CRect client;
  GetClientRect(&client);
  Distribute(m_pColInfo, m_nCols, client.Width());
  Distribute(m_pRowInfo, m_nRows, client.Height());
  for (int r = 0; r < m_nRows; ++r) {
    for (int c = 0; c < m_nCols; ++c) {
      CWnd* pane = GetPane(r, c);
      if (!pane) continue;
      BOOL hidden = m_pColInfo[c].hidden || m_pRowInfo[r].hidden;
      pane->SetWindowPos(NULL, StartOf(m_pColInfo, c), StartOf(m_pRowInfo, r), m_pColInfo[c].current,
                         m_pRowInfo[r].current, SWP_NOZORDER | SWP_NOACTIVATE | (hidden ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
    }
  }
  Invalidate();
}

int CSplitterWnd::HitTestBar(CPoint point) const {
  // Bars of columns are numbered 0.., bars of rows 16..; a bar follows each shown pane but the last shown.
  for (int pass = 0; pass < 2; ++pass) {
    const Info* info = pass == 0 ? m_pColInfo : m_pRowInfo;
    int count = pass == 0 ? m_nCols : m_nRows;
    int at = pass == 0 ? point.x : point.y;
    int last = -1;
    for (int i = 0; i < count; ++i)
      if (!info[i].hidden) last = i;
    for (int i = 0; i < last; ++i) {
      if (info[i].hidden) continue;
      int bar = StartOf(info, i) + info[i].current;
      if (at >= bar && at < bar + kSplitterGap) return pass * 16 + i;
    }
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
  if (m_nTracking < 0) return;
  // The bar moves with the mouse from where it was taken hold of.
  int index = m_nTracking < 16 ? m_nTracking : m_nTracking - 16;
  const Info* info = m_nTracking < 16 ? m_pColInfo : m_pRowInfo;
  m_nTrackOffset = (m_nTracking < 16 ? point.x : point.y) - (StartOf(info, index) + info[index].current);
  SetCapture();
}

void CSplitterWnd::OnMouseMove(UINT, CPoint point) {
  if (m_nTracking < 0 || GetCapture() != this) return;
  Info* info = m_nTracking < 16 ? &m_pColInfo[m_nTracking] : &m_pRowInfo[m_nTracking - 16];
  int index = m_nTracking < 16 ? m_nTracking : m_nTracking - 16;
  int start = StartOf(m_nTracking < 16 ? m_pColInfo : m_pRowInfo, index);
  int size = (m_nTracking < 16 ? point.x : point.y) - m_nTrackOffset - start;
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
