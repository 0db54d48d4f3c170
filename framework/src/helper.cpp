// cNXFrameHelper: the hidden frame that owns a component's bars on the host's main frame (or a dockable
// frame) and shows them while one of the component's frames is active.
#include <shlwapi.h>
#include "framework/NXFrames.h"

namespace {

const int kFrameListBlock = 10;
const int kKeyboardMenuInset = 5;  // a keyboard request opens the menu this far inside the client area
const UINT kBarHideBits = CControlBar::tempHide | NXBAR_SWITCHHIDDEN;
typedef HWND(WINAPI* HtmlHelpFunc)(HWND, LPCSTR, UINT, DWORD_PTR);
const UINT kHtmlHelpDisplayTopic = 0;  // HH_DISPLAY_TOPIC

CFrameWnd* MainFrame() {
  CWnd* main = AfxGetMainWnd();
  return main && main->IsFrameWnd() ? static_cast<CFrameWnd*>(main) : NULL;
}

// The dock bar of a side, by the side a bar is docked on.
UINT DockBarOfSide(DWORD barStyle) {
  if (barStyle & CBRS_ALIGN_TOP) return AFX_IDW_DOCKBAR_TOP;
  if (barStyle & CBRS_ALIGN_BOTTOM) return AFX_IDW_DOCKBAR_BOTTOM;
  if (barStyle & CBRS_ALIGN_LEFT) return AFX_IDW_DOCKBAR_LEFT;
  return AFX_IDW_DOCKBAR_RIGHT;
}

// hhctrl.ocx as HTML Help's control is registered; loaded once and kept while help windows may be open.
HtmlHelpFunc HtmlHelpEntry() {
  static HMODULE control = NULL;
  if (!control) {
    char path[MAX_PATH] = "";
    LONG size = sizeof path;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, NX_HTMLHELP_SERVER_KEY, path, &size) != ERROR_SUCCESS || !path[0])
      return NULL;
    control = LoadLibraryA(path);
    if (!control) return NULL;
  }
  return reinterpret_cast<HtmlHelpFunc>(GetProcAddress(control, "HtmlHelpA"));
}

BOOL Contains(const CPtrArray& items, const void* item) {
  for (INT_PTR i = 0; i < items.GetSize(); ++i)
    if (items[i] == item) return TRUE;
  return FALSE;
}

}  // namespace

BEGIN_MESSAGE_MAP(cNXFrameHelper, SECFrameWnd)
  ON_COMMAND(ID_HELP, OnHelp)
  ON_COMMAND(ID_HELP_FINDER, OnHelp)
  ON_COMMAND(ID_DEFAULT_HELP, OnHelp)
END_MESSAGE_MAP()

cNXFrameHelper::cNXFrameHelper()
    : m_pDockingFrame(NULL), m_pParentFrame(NULL), m_nCreationValue(0), m_pComponent(NULL),
      m_listFrames(kFrameListBlock) {}

cNXFrameHelper::cNXFrameHelper(cNXComponent* component, int creationValue)
    : m_pDockingFrame(NULL), m_pParentFrame(NULL), m_nCreationValue(creationValue), m_pComponent(component),
      m_listFrames(kFrameListBlock) {
  CreateHelperWindow();
}

cNXFrameHelper::~cNXFrameHelper() {
  if (m_pComponent && m_pComponent->GetFrameHelper() == this) m_pComponent->SetFrameHelper(NULL);
  m_contextMenu.DestroyMenu();
}

void cNXFrameHelper::PostNcDestroy() { delete this; }

BOOL cNXFrameHelper::CreateHelperWindow() { return Create(NULL, "", WS_CAPTION, CRect(0, 0, 0, 0), NULL); }

cNXComponent* cNXFrameHelper::GetComponent() { return m_pComponent; }

UINT cNXFrameHelper::ContextMenuID() { return UINT(-1); }

BOOL cNXFrameHelper::LoadContextMenu() {
  UINT id = ContextMenuID();
  if (id == UINT(-1) || m_contextMenu.m_hMenu) return m_contextMenu.m_hMenu != NULL;
  return m_contextMenu.LoadMenu(id);
}

BOOL cNXFrameHelper::AttachDockingFrame(CFrameWnd* frame, LPCSTR) {
  m_pDockingFrame = frame;
  LoadContextMenu();
  if (SECMDIFrameWnd* mdi = dynamic_cast<SECMDIFrameWnd*>(frame))
    mdi->EnableDocking(CBRS_ALIGN_ANY);
  else if (frame)
    SECEnableDocking(frame, CBRS_ALIGN_ANY);
  return TRUE;
}

void cNXFrameHelper::ShowBars(BOOL show) {
  if (!m_pDockingFrame) return;
  if (!show && m_pDockingFrame != AfxGetMainWnd()) return;
  CPtrArray bars;
  GetBars(bars);
  for (INT_PTR i = 0; i < bars.GetSize(); ++i) {
    CControlBar* bar = static_cast<CControlBar*>(bars[i]);
    if (show && (bar->m_nStateFlags & CControlBar::tempHide)) {
      bar->m_nStateFlags &= ~CControlBar::tempHide;
      m_pDockingFrame->ShowControlBar(bar, TRUE, TRUE);
    } else if (!show && bar->IsVisible()) {
      bar->m_nStateFlags |= CControlBar::tempHide;
      m_pDockingFrame->ShowControlBar(bar, FALSE, TRUE);
    }
    bar->m_nStateFlags &= ~NXBAR_SWITCHHIDDEN;
  }
}

void cNXFrameHelper::ShowBarsAfterSwitch(BOOL show) {
  if (!m_pDockingFrame) return;
  CPtrArray bars;
  GetBars(bars);
  for (INT_PTR i = 0; i < bars.GetSize(); ++i) {
    CControlBar* bar = static_cast<CControlBar*>(bars[i]);
    if (show && (bar->m_nStateFlags & CControlBar::tempHide)) {
      bar->m_nStateFlags &= ~kBarHideBits;
      m_pDockingFrame->ShowControlBar(bar, TRUE, TRUE);
    } else if (!show && bar->IsVisible()) {
      bar->m_nStateFlags |= kBarHideBits;
      m_pDockingFrame->ShowControlBar(bar, FALSE, TRUE);
    }
  }
}

void cNXFrameHelper::OnActivateFrame(BOOL activate, CFrameWnd* frame, CWnd*) {
  if (activate && m_pComponent) m_pComponent->ActivateResources();
  ShowBars(activate);
  if (activate) {
    m_pParentFrame = frame;
    // The bars' commands go to the component frame the user works in.
    CPtrArray bars;
    GetBars(bars);
    for (INT_PTR i = 0; i < bars.GetSize(); ++i) static_cast<CControlBar*>(bars[i])->SetOwner(frame);
  }
  ResetStatus(activate);
}

void cNXFrameHelper::ResetStatus(BOOL) { SetStatusPanes(NULL, 0); }

void cNXFrameHelper::SetStatusPanes(const UINT* ids, int count) {
  CFrameWnd* main = MainFrame();
  if (!main) return;
  if (cNXStatusBar* status = dynamic_cast<cNXStatusBar*>(main->GetControlBar(AFX_IDW_STATUS_BAR)))
    status->SetPanes(ids, count);
}

BOOL cNXFrameHelper::FilterMessage(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
  if (message != WM_CONTEXTMENU) return FALSE;
  CMenu* popup = m_contextMenu.m_hMenu ? m_contextMenu.GetSubMenu(0) : NULL;
  if (!popup) return FALSE;
  CPoint point(short(LOWORD(lParam)), short(HIWORD(lParam)));
  if (point.x == -1 && point.y == -1) {
    point = CPoint(kKeyboardMenuInset, kKeyboardMenuInset);
    ClientToScreen(&point);
  }
  CWnd* owner = m_pParentFrame ? static_cast<CWnd*>(m_pParentFrame) : this;
  popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, owner);
  if (result) *result = 0;
  return TRUE;
}

BOOL cNXFrameHelper::RouteCommand(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
  // Only the helper's own handlers: the frames that route here have offered the rest already.
  return CCmdTarget::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL cNXFrameHelper::AddFrame(CFrameWnd* frame) {
  if (!frame || m_listFrames.Find(frame)) return FALSE;
  m_listFrames.AddTail(frame);
  return TRUE;
}

BOOL cNXFrameHelper::RemoveFrame(CFrameWnd* frame) {
  POSITION pos = m_listFrames.Find(frame);
  if (!pos) return FALSE;
  m_listFrames.RemoveAt(pos);
  if (m_pParentFrame == frame) m_pParentFrame = NULL;
  if (m_listFrames.IsEmpty()) {
    frame->SendMessage(NXM_HELPERGONE);
    DestroyWindow();  // this object goes with its window
  }
  return TRUE;
}

void cNXFrameHelper::DockBarBeside(CControlBar* bar, CControlBar* neighbour) {
  if (!m_pDockingFrame || !bar || !neighbour) return;
  m_pDockingFrame->RecalcLayout();
  CRect rect;
  neighbour->GetWindowRect(&rect);
  rect.OffsetRect(1, 0);
  m_pDockingFrame->DockControlBar(bar, DockBarOfSide(neighbour->GetBarStyle()), &rect);
}

CString cNXFrameHelper::BarStateSection(cNXComponent* component, BOOL dockable) {
  CString path = component ? component->GetModulePath() : CString();
  CString name = ::PathFindFileNameA(path);
  int dot = name.ReverseFind('.');
  if (dot >= 0) name = name.Left(dot);
  if (dockable) name += "Dock";
  return name;
}

void cNXFrameHelper::SaveBarState(LPCSTR section) {
  if (!m_pDockingFrame) return;
  CDockState state;
  m_pDockingFrame->GetDockState(state);
  CPtrArray own, dockBars;
  GetBars(own);
  CDWordArray ownIds;
  for (INT_PTR i = 0; i < own.GetSize(); ++i) {
    CControlBar* bar = static_cast<CControlBar*>(own[i]);
    ownIds.Add(bar->GetDlgCtrlID());
    if (bar->m_pDockBar && !Contains(dockBars, bar->m_pDockBar)) dockBars.Add(bar->m_pDockBar);
  }
  for (int i = state.GetCount() - 1; i >= 0; --i) {
    CControlBarInfo* info = state.GetInfo(i);
    CControlBar* ownBar = NULL;
    for (INT_PTR k = 0; k < own.GetSize() && !ownBar; ++k)
      if (UINT(ownIds[k]) == info->m_nBarID && !info->m_bDockBar) ownBar = static_cast<CControlBar*>(own[k]);
    BOOL holder = FALSE;
    if (info->m_bDockBar) {
      // A dock bar's record is kept when it holds one of the bars (a floating frame's dock bars share an id).
      for (INT_PTR k = 0; k < info->m_arrBarID.GetSize() && !holder; ++k)
        for (INT_PTR b = 0; b < ownIds.GetSize() && !holder; ++b)
          holder = info->m_arrBarID[k] != 0 && LOWORD(info->m_arrBarID[k]) == LOWORD(ownIds[b]);
      for (INT_PTR d = 0; d < dockBars.GetSize() && !holder; ++d)
        holder = !info->m_bFloating && UINT(static_cast<CWnd*>(dockBars[d])->GetDlgCtrlID()) == info->m_nBarID;
    }
    if (!ownBar && !holder) {
      state.RemoveInfo(i);
      continue;
    }
    // Hidden only while another component is active: it is shown again when this component comes back.
    if (ownBar && (ownBar->m_nStateFlags & CControlBar::tempHide)) info->m_bVisible = TRUE;
    if (holder) {
      // Each of the component's bars once, in its row; rows left empty go. Other components' bars are
      // theirs to place: loaded back, their ids would stand in this side's rows as bars that never come.
      CUIntArray kept;
      for (INT_PTR k = 0; k < info->m_arrBarID.GetSize(); ++k) {
        UINT id = info->m_arrBarID[k];
        if (id == 0) {
          if (kept.GetSize() > 0 && kept[kept.GetSize() - 1] != 0) kept.Add(0);
          continue;
        }
        BOOL ownId = FALSE, seen = FALSE;
        for (INT_PTR b = 0; b < ownIds.GetSize(); ++b) ownId = ownId || LOWORD(id) == LOWORD(ownIds[b]);
        for (INT_PTR b = 0; b < kept.GetSize(); ++b) seen = seen || LOWORD(kept[b]) == LOWORD(id);
        if (ownId && !seen && m_pDockingFrame->GetControlBar(LOWORD(id))) kept.Add(id);
      }
      if (kept.GetSize() > 0 && kept[kept.GetSize() - 1] != 0) kept.Add(0);
      info->m_arrBarID.RemoveAll();
      for (INT_PTR k = 0; k < kept.GetSize(); ++k) info->m_arrBarID.Add(kept[k]);
    }
  }
  state.SaveState(section);
}

void cNXFrameHelper::OnHelp() {
  CString file = m_pComponent ? m_pComponent->GetModulePath() : CString();
  if (file.GetLength() >= 4 && file.Right(4).CompareNoCase(".DLL") == 0) file = file.Left(file.GetLength() - 4) + ".CHM";
  CWnd* top = m_pParentFrame ? m_pParentFrame->GetTopLevelParent() : AfxGetMainWnd();
  CWaitCursor wait;
  // Help takes over: no menu, drag or capture may stay behind it.
  for (CWnd* wnd : {static_cast<CWnd*>(m_pParentFrame), static_cast<CWnd*>(this), top})
    if (wnd && wnd->m_hWnd) wnd->SendMessage(WM_CANCELMODE);
  ::ReleaseCapture();
  HtmlHelpFunc htmlHelp = HtmlHelpEntry();
  if (!htmlHelp || file.IsEmpty() || !htmlHelp(top ? top->m_hWnd : NULL, file, kHtmlHelpDisplayTopic, 0))
    AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP);
}
