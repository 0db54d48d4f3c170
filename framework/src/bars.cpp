// The component framework's bars: sizable bars, the bar of a docked view, component tool bars and the host's
// status bar with its button panes, component panes and progress control.
#include "framework/NXBars.h"

namespace {

const UINT kDockableBarStyles = CBRS_BORDER_LEFT | CBRS_BORDER_TOP | CBRS_BORDER_RIGHT | CBRS_TOOLTIPS;  // 0x0710
const UINT kButtonPanes[2] = {ID_NX_PANE_LAUNCHBAR, ID_NX_PANE_SLIDETABLE};
const UINT kButtonImages[2] = {IDB_NX_LAUNCHBUTTON, IDB_NX_SLIDETABLEBUTTON};
const UINT kDefaultPanes[] = {ID_NX_PANE_LAUNCHBAR, ID_NX_PANE_SLIDETABLE, ID_SEPARATOR};
const UINT kMessagePane = ID_SEPARATOR;
const int kProgressInset = 2;        // pixels off the message pane's top and bottom
const int kProgressWidthShare = 3;   // the control takes a third of the pane
const short kProgressMin = 0, kProgressMax = 100;
const int kProgressStart = 0, kProgressEnd = 100;
const UINT kProgressId = 1;
// The button panes show their buttons and no text (their texts are the tips).
const UINT kButtonPaneStyle = SBPS_NOBORDERS | SBPS_DISABLED;

}  // namespace

// ---------------------------------------------------------------------------------------------
// cNXControlBar

IMPLEMENT_DYNCREATE(cNXControlBar, SECControlBar)

BEGIN_MESSAGE_MAP(cNXControlBar, SECControlBar)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

cNXControlBar::cNXControlBar() = default;
cNXControlBar::~cNXControlBar() = default;

BOOL cNXControlBar::Create(CWnd* parent, LPCSTR title, DWORD style, UINT id) {
  return SECControlBar::Create(parent, title, style & ~CBRS_BORDER_BOTTOM, id);
}

BOOL cNXControlBar::OnEraseBkgnd(CDC*) { return TRUE; }

// ---------------------------------------------------------------------------------------------
// cNXDockableBar

IMPLEMENT_DYNCREATE(cNXDockableBar, cNXControlBar)

BEGIN_MESSAGE_MAP(cNXDockableBar, cNXControlBar)
  ON_WM_LBUTTONDOWN()
  ON_WM_NCLBUTTONDOWN()
END_MESSAGE_MAP()

cNXDockableBar::cNXDockableBar() = default;

BOOL cNXDockableBar::Create(CWnd* parent, LPCSTR title, DWORD style, UINT id) {
  return cNXControlBar::Create(parent, title, style | kDockableBarStyles, id);
}

void cNXDockableBar::ActivateChild() {
  if (SECDockableFrame* frame = GetDockableFrame()) frame->ActivateDocked();
}

void cNXDockableBar::OnLButtonDown(UINT flags, CPoint point) {
  ActivateChild();
  cNXControlBar::OnLButtonDown(flags, point);
}

void cNXDockableBar::OnNcLButtonDown(UINT hitTest, CPoint point) {
  ActivateChild();
  cNXControlBar::OnNcLButtonDown(hitTest, point);
}

void cNXDockableBar::OnCloseBox() {
  if (CWnd* child = GetChildWnd())
    child->SendMessage(WM_CLOSE);
  else
    cNXControlBar::OnCloseBox();
}

void cNXDockableBar::DelayShow(BOOL show) {
  cNXControlBar::DelayShow(show);
  if (show) return;
  // The docked window's menu may be the one shown: the main frame's comes back.
  if (CFrameWnd* main = dynamic_cast<CFrameWnd*>(AfxGetMainWnd())) {
    main->OnUpdateFrameMenu(NULL);
    main->DrawMenuBar();
  }
}

// ---------------------------------------------------------------------------------------------
// cNXToolBar

IMPLEMENT_DYNAMIC(cNXToolBar, SECCustomToolBar)

cNXToolBar::cNXToolBar() = default;

BOOL cNXToolBar::IsVisible() const {
  if ((m_nStateFlags & NXBAR_SWITCHHIDDEN) && m_pDockBar && !IsFloating()) return TRUE;
  return SECCustomToolBar::IsVisible();
}

// ---------------------------------------------------------------------------------------------
// cNXStatusBar

IMPLEMENT_DYNAMIC(cNXStatusBar, SECCustomStatusBar)

cNXStatusBar::cNXStatusBar() : m_pLastIds(NULL), m_nLastCount(0), m_bPanesSet(FALSE) {
  for (int i = 0; i < 2; ++i) {
    m_buttonStyles[i] = kButtonPaneStyle;
    m_buttonWidths[i] = kButtonPaneWidth;
  }
}

cNXStatusBar::~cNXStatusBar() = default;

BOOL cNXStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
  if (!SECCustomStatusBar::Create(parent, style, id)) return FALSE;
  EnablePaneTips();
  SetPanes(NULL, 0);
  SECImageButton* buttons[2] = {&m_btnLaunchBar, &m_btnSlideTable};
  CRect rect(0, 0, kButtonWidth, kButtonHeight);
  for (int i = 0; i < 2; ++i) {
    if (!buttons[i]->Create(this, kButtonPanes[i], rect, kButtonImages[i], SECIB_FLAT)) return FALSE;
    AddPaneControl(kButtonPanes[i], buttons[i], FALSE);
  }
  return TRUE;
}

SECImageButton* cNXStatusBar::GetPaneButton(UINT paneId) {
  if (paneId == ID_NX_PANE_LAUNCHBAR) return &m_btnLaunchBar;
  if (paneId == ID_NX_PANE_SLIDETABLE) return &m_btnSlideTable;
  return NULL;
}

void cNXStatusBar::SetPanes(const UINT* ids, int count) {
  if (m_bPanesSet && ids == m_pLastIds && count == m_nLastCount) return;
  if (ids && count > 0) {
    for (int i = 0; i < 2; ++i) {
      int index = CommandToIndex(kButtonPanes[i]);
      UINT paneId;
      if (index >= 0) GetPaneInfo(index, paneId, m_buttonStyles[i], m_buttonWidths[i]);
    }
    if (ids[0] == ID_NX_PANE_LAUNCHBAR) {
      SetIndicators(ids, count);
    } else {
      CArray<UINT, UINT> panes;
      panes.Add(kButtonPanes[0]);
      panes.Add(kButtonPanes[1]);
      for (int i = 0; i < count; ++i) panes.Add(ids[i]);
      SetIndicators(panes.GetData(), int(panes.GetSize()));
    }
  } else {
    SetIndicators(kDefaultPanes, int(sizeof kDefaultPanes / sizeof kDefaultPanes[0]));
  }
  for (int i = 0; i < 2; ++i) {
    int index = CommandToIndex(kButtonPanes[i]);
    if (index >= 0) SetPaneInfo(index, kButtonPanes[i], m_buttonStyles[i], m_buttonWidths[i]);
  }
  int message = CommandToIndex(kMessagePane);
  if (message >= 0) {
    UINT paneId, paneStyle;
    int width;
    GetPaneInfo(message, paneId, paneStyle, width);
    SetPaneInfo(message, paneId, paneStyle | SBPS_STRETCH, width);
  }
  PlaceProgress(FALSE);
  m_pLastIds = ids;
  m_nLastCount = count;
  m_bPanesSet = TRUE;
}

BOOL cNXStatusBar::ProgressRect(CRect& rect) const {
  int message = CommandToIndex(kMessagePane);
  if (message < 0) return FALSE;
  GetItemRect(message, &rect);
  rect.top += kProgressInset;
  rect.bottom -= kProgressInset;
  rect.right = rect.left + rect.Width() / kProgressWidthShare;
  return TRUE;
}

void cNXStatusBar::PlaceProgress(BOOL hide) {
  if (!m_wndProgress.m_hWnd) return;
  CRect rect;
  if (!ProgressRect(rect)) {
    m_wndProgress.ShowWindow(SW_HIDE);
    return;
  }
  m_wndProgress.MoveWindow(&rect);
  if (hide) m_wndProgress.ShowWindow(SW_HIDE);
}

void cNXStatusBar::SetProgress(int value) {
  CWnd* main = AfxGetMainWnd();
  if (!main || !main->IsWindowVisible()) return;
  if (value == kProgressStart) {
    if (!m_wndProgress.m_hWnd) {
      CRect rect;
      if (!ProgressRect(rect) || !m_wndProgress.Create(WS_CHILD, rect, this, kProgressId)) return;
      m_wndProgress.SetRange(kProgressMin, kProgressMax);
      m_wndProgress.SetStep(1);
    }
    PlaceProgress(FALSE);
    m_wndProgress.ShowWindow(SW_SHOW);
    m_wndProgress.SetPos(kProgressStart);
  } else if (value == kProgressEnd) {
    if (m_wndProgress.m_hWnd) m_wndProgress.ShowWindow(SW_HIDE);
  } else if (m_wndProgress.m_hWnd) {
    m_wndProgress.SetPos(value);
  }
}

LRESULT cNXStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == NXM_PROGRESS) {
    SetProgress(int(lParam));
    return 0;
  }
  LRESULT result = SECCustomStatusBar::WindowProc(message, wParam, lParam);
  if (message == WM_SIZE) PlaceProgress(TRUE);
  return result;
}
