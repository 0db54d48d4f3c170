// Message maps and command routing of CCmdTarget; CCmdUI's update pass.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() : m_dwRef(1), m_pOuterUnknown(NULL), m_bAutomation(FALSE) {}

CCmdTarget::~CCmdTarget() {
  // An object deleted by its C++ owner while other processes still hold it (a window served through
  // automation): their stubs let go now, and their later calls fail instead of reaching freed memory. The
  // count is parked high so that the stubs' releases cannot delete the object a second time.
  if (m_dwRef > 1 && !m_pOuterUnknown) {
    m_dwRef = LONG_MAX / 2;
    CoDisconnectObject(&m_xInnerUnknown, 0);
  }
}
void CCmdTarget::BeginWaitCursor() { if (AfxGetApp()) AfxGetApp()->DoWaitCursor(1); }
void CCmdTarget::EndWaitCursor() { if (AfxGetApp()) AfxGetApp()->DoWaitCursor(-1); }
void CCmdTarget::RestoreWaitCursor() { if (AfxGetApp()) AfxGetApp()->DoWaitCursor(0); }

// The root of every chain of message maps: no entries, no base.
const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }
const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, NULL, (AFX_PMSG)0, NULL}};
  static const AFX_MSGMAP map = {NULL, &entries[0]};
  return &map;
}

const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* entry, UINT message, UINT code, UINT id) {
  for (; entry->pSig; ++entry)
    if (entry->nMessage == message && entry->nCode == code && id >= entry->nID && id <= entry->nLastID) return entry;
  return NULL;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) {
  // Commands and control notifications arrive as the bare code; notifications and reflections as
  // MAKELONG(code, message), whose entries are matched on the code's low word.
  UINT message = HIWORD(code);
  UINT notification = LOWORD(code);
  if (code == int(CN_UPDATE_COMMAND_UI)) {
    message = WM_COMMAND;
    notification = CN_UPDATE_COMMAND_UI;
  } else if (message == 0) {
    message = WM_COMMAND;
  }
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pSig; ++e) {
      if (!e->pSig->pfnCommand || e->nMessage != message || id < e->nID || id > e->nLastID) continue;
      UINT entryCode = message == WM_COMMAND && notification == CN_UPDATE_COMMAND_UI ? e->nCode : LOWORD(e->nCode);
      if (entryCode != notification) continue;
      if (handlerInfo) {
        handlerInfo->pTarget = this;
        handlerInfo->pmf = e->pfn;
        return TRUE;
      }
      return e->pSig->pfnCommand(this, e->pfn, id, extra);
    }
    if (!map->pfnGetBaseMap) break;
  }
  return FALSE;
}

// ---------------------------------------------------------------------------------------------
// COM identity.

// The root of every chain of interface maps: IDispatch once automation is enabled (IUnknown is the
// inner unknown), no base.
const AFX_INTERFACEMAP* CCmdTarget::GetInterfaceMap() const { return GetThisInterfaceMap(); }
const AFX_INTERFACEMAP* PASCAL CCmdTarget::GetThisInterfaceMap() {
  static const AFX_INTERFACEMAP_ENTRY entries[] = {{&IID_IDispatch, &CCmdTarget::DispatchPart}, {NULL, NULL}};
  static const AFX_INTERFACEMAP map = {NULL, &entries[0]};
  return &map;
}

void* CCmdTarget::GetInterface(const IID* iid) {
  if (*iid == IID_IUnknown) return &m_xInnerUnknown;
  for (const AFX_INTERFACEMAP* map = GetInterfaceMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL) {
    for (const AFX_INTERFACEMAP_ENTRY* e = map->pEntry; e->piid; ++e)
      if (*e->piid == *iid)
        if (void* part = e->pfnPart(this)) return part;
    if (!map->pfnGetBaseMap) break;
  }
  return NULL;
}

HRESULT CCmdTarget::InternalQueryInterface(const IID* iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = GetInterface(iid);
  if (!*ppv) return E_NOINTERFACE;
  // The inner unknown counts for itself; every other interface counts through the controlling unknown.
  if (*ppv == &m_xInnerUnknown)
    InternalAddRef();
  else
    static_cast<IUnknown*>(*ppv)->AddRef();
  return S_OK;
}

ULONG CCmdTarget::InternalAddRef() { return ULONG(InterlockedIncrement(&m_dwRef)); }

ULONG CCmdTarget::InternalRelease() {
  LONG left = InterlockedDecrement(&m_dwRef);
  if (left == 0) OnFinalRelease();
  return ULONG(left);
}

HRESULT CCmdTarget::ExternalQueryInterface(const IID* iid, void** ppv) {
  if (m_pOuterUnknown) return m_pOuterUnknown->QueryInterface(*iid, ppv);
  return InternalQueryInterface(iid, ppv);
}

ULONG CCmdTarget::ExternalAddRef() { return m_pOuterUnknown ? m_pOuterUnknown->AddRef() : InternalAddRef(); }
ULONG CCmdTarget::ExternalRelease() { return m_pOuterUnknown ? m_pOuterUnknown->Release() : InternalRelease(); }

IUnknown* CCmdTarget::GetControllingUnknown() { return m_pOuterUnknown ? m_pOuterUnknown : &m_xInnerUnknown; }

HRESULT CCmdTarget::HandToCreator(IUnknown* outer, const IID& iid, void** ppv) {
  HRESULT hr;
  if (!ppv) {
    hr = E_POINTER;
  } else if (outer) {
    *ppv = NULL;
    hr = iid == IID_IUnknown ? S_OK : CLASS_E_NOAGGREGATION;
    if (hr == S_OK) {
      m_pOuterUnknown = outer;
      *ppv = &m_xInnerUnknown;
      InternalAddRef();
    }
  } else {
    hr = InternalQueryInterface(&iid, ppv);
  }
  InternalRelease();
  return hr;
}

void CCmdTarget::OnFinalRelease() { delete this; }

ULONG CCmdTarget::XInnerUnknown::AddRef() {
  METHOD_PROLOGUE(CCmdTarget, InnerUnknown)
  return pThis->InternalAddRef();
}

ULONG CCmdTarget::XInnerUnknown::Release() {
  METHOD_PROLOGUE(CCmdTarget, InnerUnknown)
  return pThis->InternalRelease();
}

HRESULT CCmdTarget::XInnerUnknown::QueryInterface(REFIID iid, void** ppv) {
  METHOD_PROLOGUE(CCmdTarget, InnerUnknown)
  return pThis->InternalQueryInterface(&iid, ppv);
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
