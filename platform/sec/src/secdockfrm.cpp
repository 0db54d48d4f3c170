// SECDockableFrame: a frame living in a sizable bar of the main frame, docked or floating, with its first
// docking offered to subclasses, its menu shown on the main frame while it is the active docked window.
#include "secdock.h"

#include "secframe.h"
#include "secpriv.h"

IMPLEMENT_DYNCREATE(SECDockableFrame, CFrameWnd)

SECDockPlacement::SECDockPlacement()
    : m_nDockBarID(AFX_IDW_DOCKBAR_RIGHT), m_fSizeRatio(1.0f), m_nPixels(150), m_nColumn(0), m_nRow(0) {}

BEGIN_MESSAGE_MAP(SECDockableFrame, CFrameWnd)
  ON_WM_MOUSEACTIVATE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

SECDockableFrame::SECDockableFrame() : m_hMenuShared(NULL), m_pDockingBar(NULL), m_pDockSite(NULL) {}

BOOL SECDockableFrame::PreCreateWindow(CREATESTRUCTA& cs) {
  // A child of its bar: no caption, frame or menu of its own.
  cs.style &= ~(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_BORDER |
                WS_DLGFRAME);
  cs.style |= WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  return CFrameWnd::PreCreateWindow(cs);
}

SECControlBar* SECDockableFrame::CreateDockingBar() {
  SECControlBar* bar = new SECControlBar;
  bar->m_bAutoDelete = TRUE;
  return bar;
}

BOOL SECDockableFrame::OnFirstDocking(SECDockPlacement&) { return FALSE; }

BOOL SECDockableFrame::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
  CWnd* siteWnd = parent ? parent : AfxGetMainWnd();
  CFrameWnd* site = siteWnd ? (siteWnd->IsFrameWnd() ? static_cast<CFrameWnd*>(siteWnd) : siteWnd->GetParentFrame()) : NULL;
  // A docked view needs a frame to dock on. A frame that fails to load goes, as framework frames do when
  // their window fails.
  if (!site) {
    PostNcDestroy();
    return FALSE;
  }
  m_pDockSite = site;
  m_nIDHelp = resourceId;
  CString title;
  title.LoadString(resourceId);
  int newline = title.Find('\n');
  if (newline >= 0) title = title.Left(newline);

  UINT id = SECNextFreeBarId(site, SEC_IDW_DOCKVIEW_FIRST, SEC_IDW_DOCKVIEW_LAST);
  SECControlBar* bar = CreateDockingBar();
  // A bar that fails to come up is deleted here, not by its window's end.
  BOOL autoDelete = bar->m_bAutoDelete;
  bar->m_bAutoDelete = FALSE;
  // The bar stays hidden until the frame is shown (ActivateFrame).
  if (!bar->Create(site, title, WS_CHILD | CBRS_RIGHT, id)) {
    if (autoDelete) delete bar;
    PostNcDestroy();
    return FALSE;
  }
  bar->m_bAutoDelete = autoDelete;
  bar->EnableDocking(CBRS_ALIGN_ANY);
  m_pDockingBar = bar;
  if (!Create(NULL, title, WS_CHILD | WS_VISIBLE | (style & FWS_ADDTOTITLE), CRect(0, 0, 0, 0), bar, NULL, 0,
              context)) {
    // The frame's window went during its creation, and this object with it: only the bar is left.
    bar->DestroyWindow();
    return FALSE;
  }
  LoadAccelTable(MAKEINTRESOURCEA(resourceId));

  SECDockPlacement proposal;
  if (OnFirstDocking(proposal))
    SECDockControlBarEx(site, bar, proposal.m_nDockBarID, proposal.m_nColumn, proposal.m_nRow,
                        proposal.m_fSizeRatio * 100.0f, proposal.m_nPixels);
  else
    site->FloatControlBar(bar, SECDefaultFloatPoint(site), CBRS_ALIGN_TOP);
  return TRUE;
}

void SECDockableFrame::ActivateFrame(int cmdShow) {
  if (!m_pDockingBar || !m_pDockSite) return;
  if (cmdShow == SW_HIDE) {
    m_pDockSite->ShowControlBar(m_pDockingBar, FALSE, FALSE);
    return;
  }
  if (!IsWindowVisible()) ShowWindow(SW_SHOW);
  if (!m_pDockingBar->IsVisible()) m_pDockSite->ShowControlBar(m_pDockingBar, TRUE, FALSE);
  ActivateDocked();
  if (CView* view = GetActiveView()) view->SetFocus();
}

void SECDockableFrame::ActivateDocked() {
  if (SECMDIFrameWnd* main = dynamic_cast<SECMDIFrameWnd*>(m_pDockSite)) main->SetActiveDockableFrame(this);
  OnUpdateFrameMenu(NULL);
}

void SECDockableFrame::OnUpdateFrameMenu(HMENU menuAlt) {
  HMENU menu = menuAlt ? menuAlt : m_hMenuShared;
  if (!menu || !m_pDockSite) return;
  if (CMDIFrameWnd* main = dynamic_cast<CMDIFrameWnd*>(m_pDockSite)) {
    ::SendMessageA(main->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                   reinterpret_cast<LPARAM>(main->GetWindowMenuPopup(menu)));
  } else if (::GetMenu(m_pDockSite->m_hWnd) != menu) {
    ::SetMenu(m_pDockSite->m_hWnd, menu);
  }
  m_pDockSite->DrawMenuBar();
}

void SECDockableFrame::OnUpdateFrameTitle(BOOL addToTitle) {
  CDocument* doc = GetActiveDocument();
  CString title = addToTitle && doc && (GetStyle() & FWS_ADDTOTITLE) ? doc->GetTitle() : m_strTitle;
  CString current;
  GetWindowText(current);
  if (current != title) SetWindowText(title);
  // The bar's caption (and a floating frame's title) shows it.
  if (m_pDockingBar && ::IsWindow(m_pDockingBar->m_hWnd)) {
    m_pDockingBar->GetWindowText(current);
    if (current != title) m_pDockingBar->SetWindowText(title);
  }
}

int SECDockableFrame::OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message) {
  int result = CFrameWnd::OnMouseActivate(desktop, hitTest, message);
  if (result != MA_NOACTIVATE && result != MA_NOACTIVATEANDEAT) ActivateDocked();
  return result;
}

void SECDockableFrame::OnDestroy() {
  if (SECMDIFrameWnd* main = dynamic_cast<SECMDIFrameWnd*>(m_pDockSite)) main->OnDockableFrameDestroyed(this);
  // The bar goes once this frame has left it.
  if (m_pDockingBar && ::IsWindow(m_pDockingBar->m_hWnd)) m_pDockingBar->PostMessage(SECM_DESTROYIFEMPTY);
  m_pDockingBar = NULL;
  CFrameWnd::OnDestroy();
}
