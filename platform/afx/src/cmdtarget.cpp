// Message maps and command routing of CCmdTarget; CCmdUI's update pass.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() = default;
CCmdTarget::~CCmdTarget() = default;
void CCmdTarget::BeginWaitCursor() { if (AfxGetApp()) AfxGetApp()->DoWaitCursor(1); }
void CCmdTarget::EndWaitCursor() { if (AfxGetApp()) AfxGetApp()->DoWaitCursor(-1); }
void CCmdTarget::RestoreWaitCursor() { if (AfxGetApp()) AfxGetApp()->DoWaitCursor(0); }

// The root of every chain of message maps: no entries, no base.
const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }
const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0}};
  static const AFX_MSGMAP map = {NULL, &entries[0]};
  return &map;
}

const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* entry, UINT message, UINT code, UINT id) {
  for (; entry->nSig != AfxSig_end; ++entry)
    if (entry->nMessage == message && entry->nCode == code && id >= entry->nID && id <= entry->nLastID) return entry;
  return NULL;
}

namespace {
union CommandFunctions {
  AFX_PMSG pfn;
  void (CCmdTarget::*pfn_v)();
  BOOL (CCmdTarget::*pfn_b_u)(UINT);
  void (CCmdTarget::*pfn_v_u)(UINT);
  void (CCmdTarget::*pfn_ui)(CCmdUI*);
  void (CCmdTarget::*pfn_notify)(NMHDR*, LRESULT*);
  void (CCmdTarget::*pfn_notify_range)(UINT, NMHDR*, LRESULT*);
};

// Calls a command handler; false when the handler asked the route to go on.
BOOL DispatchCommand(CCmdTarget* target, UINT id, int code, const AFX_MSGMAP_ENTRY* entry, void* extra) {
  CommandFunctions f;
  f.pfn = entry->pfn;
  switch (entry->nSig) {
    case AfxSigCmd_v:
      (target->*f.pfn_v)();
      return TRUE;
    case AfxSigCmd_b:
      return (target->*f.pfn_b_u)(id);
    case AfxSigCmd_RANGE:
      (target->*f.pfn_v_u)(id);
      return TRUE;
    case AfxSigCmdUI: {
      CCmdUI* ui = static_cast<CCmdUI*>(extra);
      ui->m_bContinueRouting = FALSE;
      (target->*f.pfn_ui)(ui);
      return !ui->m_bContinueRouting;
    }
    case AfxSigNotify_v: {
      AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(extra);
      (target->*f.pfn_notify)(n->pNMHDR, n->pResult);
      return TRUE;
    }
    case AfxSigNotify_RANGE: {
      AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(extra);
      (target->*f.pfn_notify_range)(id, n->pNMHDR, n->pResult);
      return TRUE;
    }
    default:
      return FALSE;  // a window-message signature in a command entry cannot be called here
  }
}
}  // namespace

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
  // Notifications arrive as MAKELONG(notification, WM_NOTIFY); commands and control notifications
  // as the bare code.
  UINT message = HIWORD(code);
  UINT notification = LOWORD(code);
  if (message == 0) message = WM_COMMAND;
  if (code == int(CN_UPDATE_COMMAND_UI)) {
    message = WM_COMMAND;
    notification = CN_UPDATE_COMMAND_UI;
  }
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
      if (e->nMessage != message || id < e->nID || id > e->nLastID) continue;
      UINT entryCode = message == WM_NOTIFY ? LOWORD(e->nCode) : e->nCode;
      if (entryCode != notification) continue;
      if (handlerInfo) {
        handlerInfo->pTarget = this;
        handlerInfo->pmf = e->pfn;
        return TRUE;
      }
      return DispatchCommand(this, id, code, e, extra);
    }
    if (!map->pfnGetBaseMap) break;
  }
  return FALSE;
}

// ---------------------------------------------------------------------------------------------

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_pMenu(NULL), m_pSubMenu(NULL), m_pOther(NULL), m_bEnableChanged(FALSE),
      m_bContinueRouting(FALSE), m_nIndexMax(0), m_pParentMenu(NULL) {}

void CCmdUI::Enable(BOOL on) {
  if (m_pMenu) {
    if (m_pSubMenu) return;  // popups keep their state
    m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else if (m_pOther) {
    m_pOther->EnableWindow(on);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check) {
  if (m_pMenu) {
    if (m_pSubMenu) return;
    m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
  } else if (m_pOther && (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)) {
    m_pOther->SendMessage(BM_SETCHECK, WPARAM(check));
  }
}

void CCmdUI::SetRadio(BOOL on) {
  if (m_pMenu && !m_pSubMenu) {
    if (on)
      m_pMenu->CheckMenuRadioItem(m_nIndex, m_nIndex, m_nIndex, MF_BYPOSITION);
    else
      m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | MF_UNCHECKED);
    return;
  }
  SetCheck(on ? 1 : 0);
}

void CCmdUI::SetText(LPCSTR text) {
  if (m_pMenu) {
    if (m_pSubMenu) return;
    UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, text);
  } else if (m_pOther) {
    m_pOther->SetWindowText(text);
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler) {
  if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE;  // separators and ids that are not commands
  m_bEnableChanged = FALSE;
  BOOL handled = target->OnCmdMsg(m_nID, int(CN_UPDATE_COMMAND_UI), this, NULL);
  if (!handled && disableIfNoHandler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info = {NULL, NULL};
    Enable(target->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
  }
  return handled;
}
