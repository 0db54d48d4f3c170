// SECFrameWnd (bars owned for another frame), SECMDIFrameWnd (docking with sizable bars and docked views,
// the active docked window, bar state without the docked views) and SECMDIChildWnd.
#include "secframe.h"

IMPLEMENT_DYNCREATE(SECFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(SECMDIFrameWnd, CMDIFrameWnd)
IMPLEMENT_DYNCREATE(SECMDIChildWnd, CMDIChildWnd)

// ---------------------------------------------------------------------------------------------
// SECFrameWnd

BEGIN_MESSAGE_MAP(SECFrameWnd, CFrameWnd)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

SECFrameWnd::SECFrameWnd() = default;

void SECFrameWnd::PruneBars() const {
  for (INT_PTR i = m_arrOwnedBars.GetSize() - 1; i >= 0; --i) {
    HWND wnd = static_cast<HWND>(m_arrOwnedWnds[i]);
    // A bar lives while its window still maps to the same object.
    if (!::IsWindow(wnd) || CWnd::FromHandlePermanent(wnd) != m_arrOwnedBars[i]) {
      m_arrOwnedBars.RemoveAt(i);
      m_arrOwnedWnds.RemoveAt(i);
    }
  }
}

void SECFrameWnd::AddBar(CControlBar* bar) {
  if (!bar || !bar->m_hWnd || OwnsBar(bar)) return;
  m_arrOwnedBars.Add(bar);
  m_arrOwnedWnds.Add(bar->m_hWnd);
}

void SECFrameWnd::RemoveBar(CControlBar* bar) {
  PruneBars();
  for (INT_PTR i = 0; i < m_arrOwnedBars.GetSize(); ++i) {
    if (m_arrOwnedBars[i] != bar) continue;
    m_arrOwnedBars.RemoveAt(i);
    m_arrOwnedWnds.RemoveAt(i);
    return;
  }
}

BOOL SECFrameWnd::OwnsBar(const CControlBar* bar) const {
  PruneBars();
  for (INT_PTR i = 0; i < m_arrOwnedBars.GetSize(); ++i)
    if (m_arrOwnedBars[i] == bar) return TRUE;
  return FALSE;
}

void SECFrameWnd::GetBars(CPtrArray& bars) const {
  PruneBars();
  bars.RemoveAll();
  bars.Append(m_arrOwnedBars);
}

void SECFrameWnd::OnDestroy() {
  // The bars this frame owns go with it, from the frames they were laid out on.
  CPtrArray bars;
  GetBars(bars);
  m_arrOwnedBars.RemoveAll();
  m_arrOwnedWnds.RemoveAll();
  for (INT_PTR i = 0; i < bars.GetSize(); ++i) {
    CControlBar* bar = static_cast<CControlBar*>(bars[i]);
    CFrameWnd* layout = bar->GetDockingFrame();
    CDockBar* dockBar = bar->m_pDockBar;
    BOOL floating = bar->IsFloating();
    bar->DestroyWindow();
    if (floating && dockBar) dockBar->CloseIfEmpty();
    if (layout && ::IsWindow(layout->m_hWnd)) layout->DelayRecalcLayout();
  }
  CFrameWnd::OnDestroy();
}

// ---------------------------------------------------------------------------------------------
// SECMDIFrameWnd

BEGIN_MESSAGE_MAP(SECMDIFrameWnd, CMDIFrameWnd)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

SECMDIFrameWnd::SECMDIFrameWnd() : m_pActiveDockable(NULL) {}

void SECMDIFrameWnd::SetActiveDockableFrame(SECDockableFrame* frame) {
  if (frame == m_pActiveDockable) return;
  SECDockableFrame* old = m_pActiveDockable;
  m_pActiveDockable = frame;
  if (old && ::IsWindow(old->m_hWnd)) {
    old->SendMessage(WM_NCACTIVATE, FALSE);
    if (SECControlBar* bar = old->GetDockingBar()) bar->RedrawWindow(NULL, NULL, RDW_FRAME | RDW_INVALIDATE);
  }
  if (frame && ::IsWindow(frame->m_hWnd)) {
    frame->SendMessage(WM_NCACTIVATE, TRUE);
    if (SECControlBar* bar = frame->GetDockingBar()) bar->RedrawWindow(NULL, NULL, RDW_FRAME | RDW_INVALIDATE);
  }
}

void SECMDIFrameWnd::OnChildActivated(CMDIChildWnd* child) {
  if (!m_pActiveDockable) return;
  SetActiveDockableFrame(NULL);
  // The docked window may have shown its menu: the child's comes back (an active child sends no MDI activation).
  if (child && ::IsWindow(child->m_hWnd)) {
    child->OnUpdateFrameMenu(TRUE, child, NULL);
    DrawMenuBar();
  }
}

void SECMDIFrameWnd::OnChildrenChanged(CMDIChildWnd*) {}

void SECMDIFrameWnd::OnDockableFrameDestroyed(SECDockableFrame* frame) {
  if (frame == m_pActiveDockable) m_pActiveDockable = NULL;
}

BOOL SECMDIFrameWnd::DockedHasFocus() const {
  if (!m_pActiveDockable || !::IsWindow(m_pActiveDockable->m_hWnd)) return FALSE;
  HWND focus = ::GetFocus();
  return focus && (focus == m_pActiveDockable->m_hWnd || ::IsChild(m_pActiveDockable->m_hWnd, focus));
}

CFrameWnd* SECMDIFrameWnd::GetActiveFrame() {
  if (DockedHasFocus()) return m_pActiveDockable;
  return CMDIFrameWnd::GetActiveFrame();
}

BOOL SECMDIFrameWnd::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
  // The docked window the user works in takes the commands first.
  if (DockedHasFocus() && m_pActiveDockable->OnCmdMsg(id, code, extra, handlerInfo)) return TRUE;
  return CMDIFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

LRESULT SECMDIFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
  LRESULT result = CMDIFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
  // The focus went back to the MDI area by a way no child told us of.
  HWND focus = ::GetFocus();
  if (m_pActiveDockable && focus && m_hWndMDIClient && ::IsChild(m_hWndMDIClient, focus)) OnChildActivated(MDIGetActive());
  return result;
}

// ---------------------------------------------------------------------------------------------
// SECMDIChildWnd

BEGIN_MESSAGE_MAP(SECMDIChildWnd, CMDIChildWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_MDIACTIVATE()
  ON_WM_MOUSEACTIVATE()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

SECMDIChildWnd::SECMDIChildWnd() = default;

SECMDIFrameWnd* SECMDIChildWnd::GetSECMDIFrame() const { return dynamic_cast<SECMDIFrameWnd*>(GetMDIFrame()); }

void SECMDIChildWnd::ActivateFrame(int cmdShow) {
  CMDIChildWnd::ActivateFrame(cmdShow);
  // Activating the child that is active already sends no MDI activation: the frame is told here.
  if (SECMDIFrameWnd* frame = GetSECMDIFrame()) {
    frame->OnChildActivated(this);
    frame->OnChildrenChanged();
  }
}

int SECMDIChildWnd::OnCreate(LPCREATESTRUCT cs) {
  if (CMDIChildWnd::OnCreate(cs) == -1) return -1;
  if (SECMDIFrameWnd* frame = GetSECMDIFrame()) frame->OnChildrenChanged();
  return 0;
}

void SECMDIChildWnd::OnDestroy() {
  if (SECMDIFrameWnd* frame = GetSECMDIFrame()) frame->OnChildrenChanged(this);
  CMDIChildWnd::OnDestroy();
}

void SECMDIChildWnd::OnMDIActivate(BOOL activate, CWnd* activateWnd, CWnd* deactivateWnd) {
  CMDIChildWnd::OnMDIActivate(activate, activateWnd, deactivateWnd);
  SECMDIFrameWnd* frame = GetSECMDIFrame();
  if (!frame) return;
  if (activate) frame->OnChildActivated(this);
  frame->OnChildrenChanged();
}

int SECMDIChildWnd::OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message) {
  int result = CMDIChildWnd::OnMouseActivate(desktop, hitTest, message);
  if (result != MA_NOACTIVATE && result != MA_NOACTIVATEANDEAT) {
    if (SECMDIFrameWnd* frame = GetSECMDIFrame()) frame->OnChildActivated(this);
  }
  return result;
}

LRESULT SECMDIChildWnd::OnSetText(WPARAM, LPARAM) {
  LRESULT result = Default();
  if (SECMDIFrameWnd* frame = GetSECMDIFrame()) frame->OnChildrenChanged();
  return result;
}
