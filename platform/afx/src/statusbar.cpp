// CStatusBar over comctl32's status bar: panes named by string ids, the stretching pane, pane texts and
// styles, the message pane that shows the frame's prompts, and the idle update of the panes.
#include "afxpriv.h"
#include "barlayout.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_GETTEXT, OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

namespace {
const int kPaneBorder = 4;  // a pane's frame and padding around its text, both sides together
const int kPaneGap = 2;     // between two panes
const int kTextPadding = 6;  // above and below the text

// A pane during the idle update: enabling shows or blanks its text, checking pops it out.
class StatusCmdUI : public CCmdUI {
 public:
  void Enable(BOOL on) override {
    m_bEnableChanged = TRUE;
    CStatusBar* bar = static_cast<CStatusBar*>(m_pOther);
    UINT style = bar->GetPaneStyle(int(m_nIndex));
    UINT wanted = on ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED);
    if (wanted != style) bar->SetPaneStyle(int(m_nIndex), wanted);
  }
  void SetCheck(int check) override {
    CStatusBar* bar = static_cast<CStatusBar*>(m_pOther);
    UINT style = bar->GetPaneStyle(int(m_nIndex));
    UINT wanted = check ? (style | SBPS_POPOUT) : (style & ~SBPS_POPOUT);
    if (wanted != style) bar->SetPaneStyle(int(m_nIndex), wanted);
  }
  void SetText(LPCSTR text) override {
    CStatusBar* bar = static_cast<CStatusBar*>(m_pOther);
    if (bar->GetPaneText(int(m_nIndex)) != text) bar->SetPaneText(int(m_nIndex), text);
  }
};

int TextWidth(HWND wnd, LPCSTR text) {
  HDC dc = ::GetDC(wnd);
  HGDIOBJ old = ::SelectObject(dc, HGDIOBJ(::SendMessageA(wnd, WM_GETFONT, 0, 0)));
  SIZE size = {0, 0};
  ::GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(wnd, dc);
  return size.cx;
}
}  // namespace

CStatusBar::CStatusBar() : m_pPanes(NULL), m_nCount(0) {
  m_cxLeftBorder = m_cxRightBorder = 0;
  m_cyBottomBorder = 0;
}

CStatusBar::~CStatusBar() {
  if (m_hWnd) DestroyWindow();
  delete[] m_pPanes;
}

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) { return CreateEx(parent, 0, style, id); }

BOOL CStatusBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, UINT id) {
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
  InitCommonControlsEx(&init);
  // The frame's layout places the bar; the control must not move itself to its parent's bottom.
  DWORD windowStyle = (style & ~CBRS_ALL) | ctrlStyle | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
  if (!CreateBar(0, STATUSCLASSNAMEA, windowStyle, style, parent, id)) return FALSE;
  SetFont(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))), FALSE);
  return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
  delete[] m_pPanes;
  m_pPanes = NULL;
  m_nCount = 0;
  if (count <= 0) {
    UpdatePanes();
    return TRUE;
  }
  m_pPanes = new Pane[count];
  m_nCount = count;
  BOOL ok = TRUE;
  for (int i = 0; i < count; ++i) {
    Pane& pane = m_pPanes[i];
    pane.id = ids ? ids[i] : ID_SEPARATOR;
    pane.style = SBPS_NORMAL;
    pane.width = 0;
    if (pane.id != ID_SEPARATOR) {
      if (!pane.text.LoadString(pane.id)) ok = FALSE;  // an indicator without its string is shown empty
      pane.width = TextWidth(m_hWnd, pane.text);
    } else {
      // A message pane: a quarter of the screen unless it stretches; the first pane stretches.
      pane.width = ::GetSystemMetrics(SM_CXSCREEN) / 4;
      if (i == 0) pane.style |= SBPS_STRETCH | SBPS_NOBORDERS;
    }
  }
  UpdatePanes();
  return ok;
}

void CStatusBar::UpdatePanes() {
  if (!m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  int fixed = 0, stretch = -1;
  for (int i = 0; i < m_nCount; ++i) {
    if ((m_pPanes[i].style & SBPS_STRETCH) && stretch < 0)
      stretch = i;
    else
      fixed += m_pPanes[i].width + kPaneBorder;
    if (i > 0) fixed += kPaneGap;
  }
  int* edges = new int[m_nCount ? m_nCount : 1];
  int x = 0;
  for (int i = 0; i < m_nCount; ++i) {
    if (i > 0) x += kPaneGap;
    int width = m_pPanes[i].width + kPaneBorder;
    if (i == stretch) {
      width = client.Width() - fixed;
      if (width < kPaneBorder) width = kPaneBorder;
    }
    x += width;
    edges[i] = x;
  }
  DefWindowProc(SB_SETPARTS, WPARAM(m_nCount), LPARAM(edges));
  delete[] edges;
  for (int i = 0; i < m_nCount; ++i) {
    const Pane& pane = m_pPanes[i];
    UINT drawing = pane.style & (SBPS_NOBORDERS | SBPS_POPOUT | SBPS_OWNERDRAW);
    DefWindowProc(SB_SETTEXTA, WPARAM(i) | drawing, LPARAM((pane.style & SBPS_DISABLED) ? "" : LPCSTR(pane.text)));
  }
}

int CStatusBar::CommandToIndex(UINT id) const {
  for (int i = 0; i < m_nCount; ++i)
    if (m_pPanes[i].id == id) return i;
  return -1;
}

UINT CStatusBar::GetItemID(int index) const { return index >= 0 && index < m_nCount ? m_pPanes[index].id : 0; }

void CStatusBar::GetItemRect(int index, LPRECT rect) const {
  if (index < 0 || index >= m_nCount || !::SendMessageA(m_hWnd, SB_GETRECT, index, LPARAM(rect))) ::SetRectEmpty(rect);
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const {
  if (index < 0 || index >= m_nCount) AfxThrowNotSupportedException();
  id = m_pPanes[index].id;
  style = m_pPanes[index].style;
  width = m_pPanes[index].width;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
  if (index < 0 || index >= m_nCount) AfxThrowNotSupportedException();
  m_pPanes[index].id = id;
  m_pPanes[index].style = style;
  m_pPanes[index].width = width;
  UpdatePanes();
}

UINT CStatusBar::GetPaneStyle(int index) const {
  if (index < 0 || index >= m_nCount) AfxThrowNotSupportedException();
  return m_pPanes[index].style;
}

void CStatusBar::SetPaneStyle(int index, UINT style) {
  if (index < 0 || index >= m_nCount) AfxThrowNotSupportedException();
  if (m_pPanes[index].style == style) return;
  m_pPanes[index].style = style;
  UpdatePanes();
}

CString CStatusBar::GetPaneText(int index) const {
  if (index < 0 || index >= m_nCount) AfxThrowNotSupportedException();
  return m_pPanes[index].text;
}

BOOL CStatusBar::SetPaneText(int index, LPCSTR text, BOOL update) {
  if (index < 0 || index >= m_nCount) return FALSE;
  Pane& pane = m_pPanes[index];
  pane.text = text ? text : "";
  if (!update || !m_hWnd) return TRUE;
  UINT drawing = pane.style & (SBPS_NOBORDERS | SBPS_POPOUT | SBPS_OWNERDRAW);
  DefWindowProc(SB_SETTEXTA, WPARAM(index) | drawing, LPARAM((pane.style & SBPS_DISABLED) ? "" : LPCSTR(pane.text)));
  return TRUE;
}

CSize CStatusBar::CalcFixedLayout(BOOL stretch, BOOL) {
  int width = 0;
  for (int i = 0; i < m_nCount; ++i) width += m_pPanes[i].width + kPaneBorder + (i > 0 ? kPaneGap : 0);
  TEXTMETRICA metrics = {};
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, HGDIOBJ(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
  ::GetTextMetricsA(dc, &metrics);
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  CSize size = afxbar::WithInsets(*this, CSize(width, metrics.tmHeight + kTextPadding), TRUE);
  if (stretch) size.cx = 32767;
  return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target, BOOL) {
  StatusCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = UINT(m_nCount);
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = m_pPanes[state.m_nIndex].id;
    // Panes only change through handlers: one without a handler keeps its state.
    if (state.m_nID != ID_SEPARATOR) state.DoUpdate(target, FALSE);
  }
}

void CStatusBar::OnSize(UINT type, int cx, int cy) {
  CControlBar::OnSize(type, cx, cy);
  UpdatePanes();
}

BOOL CStatusBar::OnEraseBkgnd(CDC* dc) { return BOOL(Default()) || CControlBar::OnEraseBkgnd(dc); }

void CStatusBar::OnPaint() { Default(); }

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  int index = CommandToIndex(ID_SEPARATOR);
  if (index < 0) return FALSE;
  return SetPaneText(index, reinterpret_cast<LPCSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  int index = CommandToIndex(ID_SEPARATOR);
  if (index < 0 || wParam == 0) return 0;
  lstrcpynA(reinterpret_cast<LPSTR>(lParam), m_pPanes[index].text, int(wParam));
  return lstrlenA(reinterpret_cast<LPSTR>(lParam));
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) {
  int index = CommandToIndex(ID_SEPARATOR);
  return index < 0 ? 0 : m_pPanes[index].text.GetLength();
}
