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

namespace {
// A docked view's bar: its records are left out of the saved bar state.
BOOL IsDockedViewBar(CControlBar* bar) {
  SECControlBar* sizable = dynamic_cast<SECControlBar*>(bar);
  return sizable && sizable->GetDockableFrame();
}

// Takes ids out of a dock bar's rows (0 ends each row), dropping rows left empty.
void RemoveIds(CUIntArray& ids, const CUIntArray& gone) {
  CUIntArray kept;
  BOOL rowHasBars = FALSE;
  for (INT_PTR i = 0; i < ids.GetSize(); ++i) {
    UINT id = ids[i];
    BOOL drop = FALSE;
    for (INT_PTR k = 0; k < gone.GetSize() && !drop; ++k) drop = gone[k] == id;
    if (id == 0) {
      if (rowHasBars) kept.Add(0);
      rowHasBars = FALSE;
    } else if (!drop) {
      kept.Add(id);
      rowHasBars = TRUE;
    }
  }
  if (rowHasBars) kept.Add(0);
  ids.RemoveAll();
  ids.Append(kept);
}
}  // namespace

void SECMDIFrameWnd::SaveBarState(LPCSTR profileName) const {
  CDockState state;
  GetDockState(state);
  CUIntArray gone;
  for (int i = state.GetCount() - 1; i >= 0; --i) {
    CControlBarInfo* info = state.GetInfo(i);
    if (!info->m_bDockBar && IsDockedViewBar(info->m_pBar)) {
      gone.Add(info->m_nBarID);
      state.RemoveInfo(i);
    }
  }
  for (int i = state.GetCount() - 1; i >= 0; --i) {
    CControlBarInfo* info = state.GetInfo(i);
    if (!info->m_bDockBar) continue;
    RemoveIds(info->m_arrBarID, gone);
    // A floating frame that held only docked views is not made again.
    if (info->m_bFloating && info->m_arrBarID.GetSize() == 0) state.RemoveInfo(i);
  }
  state.SaveState(profileName);
}

void SECMDIFrameWnd::LoadBarState(LPCSTR profileName) {
  CDockState state;
  if (!state.LoadState(profileName)) return;
  // A record naming a bar that is now a docked view's (ids are given out anew each run) is not applied.
  CUIntArray views;
  for (int i = state.GetCount() - 1; i >= 0; --i) {
    CControlBarInfo* info = state.GetInfo(i);
    if (!info->m_bDockBar && IsDockedViewBar(GetControlBar(info->m_nBarID))) {
      views.Add(info->m_nBarID);
      state.RemoveInfo(i);
    }
  }
  for (int i = 0; i < state.GetCount(); ++i)
    if (state.GetInfo(i)->m_bDockBar) RemoveIds(state.GetInfo(i)->m_arrBarID, views);
  SetDockState(state);
}

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

void SECMDIFrameWnd::OnChildActivated(CMDIChildWnd*) { SetActiveDockableFrame(NULL); }

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
  if (m_pActiveDockable && focus && m_hWndMDIClient && ::IsChild(m_hWndMDIClient, focus)) SetActiveDockableFrame(NULL);
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
