// The frame's side of control bars: its bar list, dock bars, docking and floating, showing and hiding with
// delayed layout, the view menu's bar commands and the key indicators.
#include "afxpriv.h"
#include "state.h"

namespace {
// The frame's sides in the order they take their space: top and bottom span the frame, left and right fit
// between them.
const struct {
  UINT id;
  DWORD side;
} kDockSides[] = {{AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
                  {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
                  {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
                  {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT}};
}  // namespace

void CFrameWnd::EnableDocking(DWORD dockStyle) {
  for (const auto& side : kDockSides) {
    if (!(side.side & dockStyle & CBRS_ALIGN_ANY) || GetControlBar(side.id)) continue;
    CDockBar* dockBar = afxstate::CreateObjectOf<CDockBar>(m_pDockBarClass ? m_pDockBarClass : RUNTIME_CLASS(CDockBar));
    if (!dockBar->Create(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (side.side & CBRS_ALIGN_ANY), side.id)) {
      delete dockBar;
      AfxThrowResourceException();
    }
  }
}

void CFrameWnd::AddControlBar(CControlBar* bar) {
  if (!m_listControlBars.Find(bar)) m_listControlBars.AddTail(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar) {
  if (POSITION pos = m_listControlBars.Find(bar)) m_listControlBars.RemoveAt(pos);
}

CControlBar* CFrameWnd::GetControlBar(UINT id) {
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
    CControlBar* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    if (UINT(bar->GetDlgCtrlID()) == id) return bar;
  }
  return NULL;
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, LPCRECT rect) {
  CDockBar* dockBar = dockBarId ? static_cast<CDockBar*>(GetControlBar(dockBarId)) : NULL;
  if (dockBar && !dockBar->IsDockBar()) AfxThrowNotSupportedException();
  DockControlBar(bar, dockBar, rect);
}

void CFrameWnd::DockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect) {
  if (!dockBar) {
    // The side the bar is aligned to now, when it may dock there; else the first side it allows.
    DWORD allowed = bar->m_dwDockStyle & CBRS_ALIGN_ANY;
    DWORD current = bar->m_dwStyle & allowed;
    for (int pass = 0; pass < 2 && !dockBar; ++pass) {
      for (const auto& side : kDockSides) {
        DWORD wanted = pass == 0 ? current : allowed;
        if (!(side.side & wanted & CBRS_ALIGN_ANY)) continue;
        CControlBar* candidate = GetControlBar(side.id);
        if (candidate && candidate->IsDockBar()) {
          dockBar = static_cast<CDockBar*>(candidate);
          break;
        }
      }
    }
  }
  // Docking was not enabled on a side the bar allows: nothing to dock on.
  if (!dockBar) AfxThrowNotSupportedException();
  if (!bar->m_pDockContext) bar->EnableDocking(bar->m_dwDockStyle ? bar->m_dwDockStyle : dockBar->m_dwStyle & CBRS_ALIGN_ANY);
  bar->m_pDockSite = this;
  dockBar->DockControlBar(bar, rect);
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD style) {
  CMiniDockFrameWnd* frame = afxstate::CreateObjectOf<CMiniDockFrameWnd>(
      m_pFloatingFrameClass ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd));
  if (!frame->Create(this, style)) AfxThrowResourceException();  // a failed creation deleted the frame
  return frame;
}

void CFrameWnd::FloatControlBar(CControlBar* bar, CPoint point, DWORD style) {
  if (!bar->m_pDockContext) bar->EnableDocking(bar->m_dwDockStyle);
  bar->m_pDockSite = this;
  CDockBar* current = bar->m_pDockBar;
  BOOL visible = (bar->GetStyle() & WS_VISIBLE) != 0;
  if (current && current->m_bFloating && current->GetCount() == 1 && (style & current->m_dwStyle & CBRS_ALIGN_ANY)) {
    // Already alone in a floating frame of that orientation: the frame only moves.
    CFrameWnd* frame = current->GetParentFrame();
    frame->SetWindowPos(NULL, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->RecalcLayout(TRUE);
  } else {
    CMiniDockFrameWnd* frame = CreateFloatingFrame(style);
    frame->SetWindowPos(NULL, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->m_wndDockBar.DockControlBar(bar);
    frame->RecalcLayout(TRUE);
    if (visible) {
      frame->ShowFloating();
      frame->UpdateWindow();
    }
  }
  if (bar->m_pDockContext) {
    bar->m_pDockContext->m_ptMRUFloatPos = point;
    bar->m_pDockContext->m_dwMRUFloatStyle = style & CBRS_ALIGN_ANY;
  }
  DelayRecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL delay) {
  CFrameWnd* layoutFrame = bar->GetDockingFrame();
  if (delay) {
    bar->DelayShow(show);
    if (layoutFrame) layoutFrame->DelayRecalcLayout();
  } else {
    bar->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                                           (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    bar->DelayShow(show);  // forgets any contrary request still waiting
    if (layoutFrame) layoutFrame->RecalcLayout(FALSE);
  }
  // A floating frame shows while any of its bars does.
  if (bar->IsFloating() && layoutFrame) {
    int visible = bar->m_pDockBar->GetDockedVisibleCount();
    if (show && visible >= 1 && !layoutFrame->IsWindowVisible())
      static_cast<CMiniDockFrameWnd*>(layoutFrame)->ShowFloating();
    else if (!show && visible == 0)
      layoutFrame->ShowWindow(SW_HIDE);
  }
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dockStyle, CDockBar** dockBar) {
  if (dockBar) *dockBar = NULL;
  dockStyle &= CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI;
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
    CControlBar* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    if (!bar->IsDockBar() || !bar->IsWindowVisible()) continue;
    CDockBar* candidate = static_cast<CDockBar*>(bar);
    if (!(candidate->m_dwStyle & dockStyle & CBRS_ALIGN_ANY)) continue;
    if (candidate->m_bFloating && !(dockStyle & candidate->m_dwStyle & CBRS_FLOAT_MULTI)) continue;
    CRect area;
    candidate->GetWindowRect(&area);
    // An empty side is a line along the frame's edge: still a place to drop on.
    if (area.Width() == 0) area.right++;
    if (area.Height() == 0) area.bottom++;
    if (area.IntersectRect(&area, &rect)) {
      if (dockBar) *dockBar = candidate;
      return candidate->m_dwStyle & dockStyle;
    }
  }
  return 0;
}

BOOL CFrameWnd::OnBarCheck(UINT id) {
  CControlBar* bar = GetControlBar(id);
  if (!bar) return FALSE;
  ShowControlBar(bar, !bar->IsVisible(), FALSE);
  return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* ui) {
  CControlBar* bar = GetControlBar(ui->m_nID);
  if (!bar) {
    ui->ContinueRouting();
    return;
  }
  ui->Enable(TRUE);
  ui->SetCheck(bar->IsVisible() ? 1 : 0);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* ui) {
  int key = 0;
  switch (ui->m_nID) {
    case ID_INDICATOR_CAPS: key = VK_CAPITAL; break;
    case ID_INDICATOR_NUM: key = VK_NUMLOCK; break;
    case ID_INDICATOR_SCRL: key = VK_SCROLL; break;
    default: ui->ContinueRouting(); return;
  }
  // The pane shows its text while the key is toggled on.
  ui->Enable((::GetKeyState(key) & 1) != 0);
}
