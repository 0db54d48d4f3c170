// Containers of embedded objects: COleDocument and its items, COleClientItem (the object's client site,
// advise sink and in-place site) and the frame hooks of in-place activation.
#include "afxoleres.h"
#include "olehook.h"

IMPLEMENT_DYNAMIC(CDocItem, CCmdTarget)
IMPLEMENT_DYNAMIC(COleDocument, CDocument)
IMPLEMENT_DYNAMIC(COleClientItem, CDocItem)

namespace {

BSTR Wide(LPCSTR text) { return AfxAllocSysString(text); }

BOOL IsPopupIn(HMENU menu, HMENU popup) {
  int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HMENU sub = ::GetSubMenu(menu, i);
    if (sub && (sub == popup || IsPopupIn(sub, popup))) return TRUE;
  }
  return FALSE;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Frame hooks.

BEGIN_INTERFACE_MAP(COleFrameHook, CCmdTarget)
  INTERFACE_PART(COleFrameHook, IID_IOleWindow, OleInPlaceFrame)
  INTERFACE_PART(COleFrameHook, IID_IOleInPlaceUIWindow, OleInPlaceFrame)
  INTERFACE_PART(COleFrameHook, IID_IOleInPlaceFrame, OleInPlaceFrame)
END_INTERFACE_MAP()

DELEGATE_IUNKNOWN(COleFrameHook, OleInPlaceFrame)

COleFrameHook::COleFrameHook(CFrameWnd* frame, COleClientItem* item)
    : m_pFrameWnd(frame), m_pActiveItem(item), m_pDocHook(NULL), m_lpActiveObject(NULL), m_bObjectInProcess(FALSE),
      m_hMenuShared(NULL), m_nModalRequests(0), m_bFrame(frame == frame->GetTopLevelFrame()) {
  frame->m_pNotifyHook = this;
}

COleFrameHook::~COleFrameHook() {
  Detach();
  if (m_lpActiveObject) m_lpActiveObject->Release();
}

void COleFrameHook::Detach() {
  if (!m_pFrameWnd) return;
  while (m_nModalRequests > 0) {
    --m_nModalRequests;
    m_pFrameWnd->EndModalState();
  }
  if (m_hMenuShared) RestoreMenu();
  if (m_pFrameWnd->m_pNotifyHook == this) m_pFrameWnd->m_pNotifyHook = NULL;
  m_pFrameWnd = NULL;
  m_pActiveItem = NULL;
}

void COleFrameHook::RestoreMenu() {
  m_hMenuShared = NULL;
  if (m_pDocHook) m_pDocHook->m_hMenuShared = NULL;
  if (!m_pFrameWnd || !::IsWindow(m_pFrameWnd->m_hWnd)) return;
  ::OleSetMenuDescriptor(NULL, m_pFrameWnd->m_hWnd, NULL, NULL, NULL);
  m_pFrameWnd->OnUpdateFrameMenu(NULL);
  m_pFrameWnd->DrawMenuBar();
}

void COleFrameHook::OnRecalcLayout() {
  if (!m_lpActiveObject || !m_pFrameWnd) return;
  CRect border;
  m_pFrameWnd->GetClientRect(&border);
  m_lpActiveObject->ResizeBorder(&border, &m_xOleInPlaceFrame, m_bFrame);
}

void COleFrameHook::OnEnableModeless(BOOL enable) {
  if (m_lpActiveObject) m_lpActiveObject->EnableModeless(enable);
}

BOOL COleFrameHook::IsObjectsPopup(HMENU popup) {
  HMENU container = m_pActiveItem ? m_pActiveItem->ContainerMenu() : NULL;
  int count = ::GetMenuItemCount(m_hMenuShared);
  for (int i = 0; i < count; ++i) {
    HMENU top = ::GetSubMenu(m_hMenuShared, i);
    if (!top || (top != popup && !IsPopupIn(top, popup))) continue;
    return !(container && IsPopupIn(container, top));
  }
  return FALSE;
}

BOOL COleFrameHook::OnInitMenuPopup(CMenu* popup, UINT, BOOL sysMenu) {
  if (sysMenu || !m_pFrameWnd || !m_hMenuShared || ::GetMenu(m_pFrameWnd->m_hWnd) != m_hMenuShared) return FALSE;
  // The object's own popups are its to update (the system hands it WM_INITMENUPOPUP through the menu
  // descriptor); the frame's update pass would disable commands it has no handler for.
  return IsObjectsPopup(popup->m_hMenu);
}

BOOL COleFrameHook::OnPreTranslateMessage(MSG* msg) {
  if (!m_lpActiveObject || !m_bObjectInProcess || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
  return m_lpActiveObject->TranslateAccelerator(msg) == S_OK;
}

STDMETHODIMP COleFrameHook::XOleInPlaceFrame::GetWindow(HWND* wnd) {
  METHOD_PROLOGUE(COleFrameHook, OleInPlaceFrame)
  if (!wnd) return E_POINTER;
  *wnd = pThis->m_pFrameWnd ? pThis->m_pFrameWnd->m_hWnd : NULL;
  return *wnd ? S_OK : E_FAIL;
}

STDMETHODIMP COleFrameHook::XOleInPlaceFrame::ContextSensitiveHelp(BOOL) { return S_OK; }

STDMETHODIMP COleFrameHook::XOleInPlaceFrame::GetBorder(LPRECT border) {
  METHOD_PROLOGUE(COleFrameHook, OleInPlaceFrame)
  if (!border) return E_POINTER;
  if (!pThis->m_pFrameWnd) return E_FAIL;
  pThis->m_pFrameWnd->GetClientRect(border);
  return S_OK;
}

// The frame keeps its own layout: an object gets no room for tool bars of its own, and says so (or shows
// them elsewhere).
STDMETHODIMP COleFrameHook::XOleInPlaceFrame::RequestBorderSpace(LPCBORDERWIDTHS widths) {
  if (!widths || (widths->left == 0 && widths->top == 0 && widths->right == 0 && widths->bottom == 0)) return S_OK;
  return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP COleFrameHook::XOleInPlaceFrame::SetBorderSpace(LPCBORDERWIDTHS widths) {
  return RequestBorderSpace(widths) == S_OK ? S_OK : OLE_E_INVALIDRECT;
}

STDMETHODIMP COleFrameHook::XOleInPlaceFrame::SetActiveObject(LPOLEINPLACEACTIVEOBJECT object, LPCOLESTR) {
  METHOD_PROLOGUE(COleFrameHook, OleInPlaceFrame)
  if (object) object->AddRef();
  if (pThis->m_lpActiveObject) pThis->m_lpActiveObject->Release();
  pThis->m_lpActiveObject = object;
  pThis->m_bObjectInProcess = FALSE;
  if (object) {
    // A proxy answers for the client's security; an object in this process does not.
    IClientSecurity* proxy = NULL;
    pThis->m_bObjectInProcess = FAILED(object->QueryInterface(IID_IClientSecurity, reinterpret_cast<void**>(&proxy)));
    if (proxy) proxy->Release();
  }
  return S_OK;
}

STDMETHODIMP COleFrameHook::XOleInPlaceFrame::InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) {
  METHOD_PROLOGUE(COleFrameHook, OleInPlaceFrame)
  if (!widths) return E_POINTER;
  // A menu this program cannot reach (one of another process where menus are not shared) cannot be merged.
  if (!::IsMenu(shared)) return E_INVALIDARG;
  widths->width[0] = widths->width[2] = widths->width[4] = 0;
  HMENU container = pThis->m_pActiveItem ? pThis->m_pActiveItem->ContainerMenu() : NULL;
  if (container) AfxMergeMenus(shared, container, widths->width, 0);
  return S_OK;
}

STDMETHODIMP COleFrameHook::XOleInPlaceFrame::SetMenu(HMENU shared, HOLEMENU oleMenu, HWND activeObject) {
  METHOD_PROLOGUE(COleFrameHook, OleInPlaceFrame)
  if (!pThis->m_pFrameWnd) return E_FAIL;
  if (!shared) {
    pThis->RestoreMenu();
    return S_OK;
  }
  if (!::IsMenu(shared)) return E_INVALIDARG;
  // A menu set again replaces the one before, whose dispatching goes first.
  if (pThis->m_hMenuShared) ::OleSetMenuDescriptor(NULL, pThis->m_pFrameWnd->m_hWnd, NULL, NULL, NULL);
  pThis->m_hMenuShared = shared;
  if (pThis->m_pDocHook) pThis->m_pDocHook->m_hMenuShared = shared;
  pThis->m_pFrameWnd->OnUpdateFrameMenu(shared);
  pThis->m_pFrameWnd->DrawMenuBar();
  // The object's commands and menu prompts go to its window.
  return ::OleSetMenuDescriptor(oleMenu, pThis->m_pFrameWnd->m_hWnd, activeObject, &pThis->m_xOleInPlaceFrame,
                                pThis->m_lpActiveObject);
}

STDMETHODIMP COleFrameHook::XOleInPlaceFrame::RemoveMenus(HMENU shared) {
  METHOD_PROLOGUE(COleFrameHook, OleInPlaceFrame)
  if (!::IsMenu(shared)) return E_INVALIDARG;
  HMENU container = pThis->m_pActiveItem ? pThis->m_pActiveItem->ContainerMenu() : NULL;
  if (container) AfxUnmergeMenus(shared, container);
  return S_OK;
}

STDMETHODIMP COleFrameHook::XOleInPlaceFrame::SetStatusText(LPCOLESTR text) {
  METHOD_PROLOGUE(COleFrameHook, OleInPlaceFrame)
  if (!pThis->m_pFrameWnd) return E_FAIL;
  CString ansi;
  if (text) {
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, NULL, 0, NULL, NULL);
    if (bytes > 0) {
      WideCharToMultiByte(CP_ACP, 0, text, -1, ansi.GetBuffer(bytes), bytes, NULL, NULL);
      ansi.ReleaseBuffer();
    }
  }
  pThis->m_pFrameWnd->SetMessageText(ansi);
  return S_OK;
}

// The object shows modal user interface (FALSE) or ends it (TRUE): the frame and its own windows stop and
// resume taking input.
STDMETHODIMP COleFrameHook::XOleInPlaceFrame::EnableModeless(BOOL enable) {
  METHOD_PROLOGUE(COleFrameHook, OleInPlaceFrame)
  if (!pThis->m_pFrameWnd) return E_FAIL;
  if (!enable) {
    ++pThis->m_nModalRequests;
    pThis->m_pFrameWnd->BeginModalState();
  } else if (pThis->m_nModalRequests > 0) {
    --pThis->m_nModalRequests;
    pThis->m_pFrameWnd->EndModalState();
  }
  return S_OK;
}

STDMETHODIMP COleFrameHook::XOleInPlaceFrame::TranslateAccelerator(LPMSG msg, WORD) {
  METHOD_PROLOGUE(COleFrameHook, OleInPlaceFrame)
  if (!msg || !pThis->m_pFrameWnd) return S_FALSE;
  HACCEL accel = pThis->m_pActiveItem ? pThis->m_pActiveItem->ContainerAccelerators() : NULL;
  if (!accel) accel = pThis->m_pFrameWnd->GetDefaultAccelerator();
  return accel && ::TranslateAcceleratorA(pThis->m_pFrameWnd->m_hWnd, accel, msg) ? S_OK : S_FALSE;
}

// ---------------------------------------------------------------------------------------------
// Documents and their items.

CDocItem::CDocItem() : m_pDocument(NULL) {}

CDocItem::~CDocItem() {
  if (m_pDocument) m_pDocument->RemoveItem(this);
}

COleDocument::COleDocument() {}

COleDocument::~COleDocument() {
  // The document's reference to each item goes; an object server still holding one keeps it a moment.
  while (!m_docItemList.IsEmpty()) {
    CDocItem* item = static_cast<CDocItem*>(m_docItemList.RemoveHead());
    item->m_pDocument = NULL;
    if (COleClientItem* client = dynamic_cast<COleClientItem*>(item)) client->Release();
    item->InternalRelease();
  }
}

void COleDocument::AddItem(CDocItem* item) {
  if (item->m_pDocument == this) return;
  if (item->m_pDocument) item->m_pDocument->RemoveItem(item);
  m_docItemList.AddTail(item);
  item->m_pDocument = this;
}

void COleDocument::RemoveItem(CDocItem* item) {
  POSITION pos = m_docItemList.Find(item);
  if (pos) m_docItemList.RemoveAt(pos);
  if (item->m_pDocument == this) item->m_pDocument = NULL;
}

COleClientItem* COleDocument::GetNextClientItem(POSITION& pos) const {
  while (pos) {
    if (COleClientItem* item = dynamic_cast<COleClientItem*>(GetNextItem(pos))) return item;
  }
  return NULL;
}

COleClientItem* COleDocument::GetInPlaceActiveItem(CWnd* wnd) {
  for (POSITION pos = GetStartPosition(); pos;) {
    COleClientItem* item = GetNextClientItem(pos);
    if (!item || !item->IsInPlaceActive() || !item->m_pView) continue;
    if (item->m_pView == wnd || item->m_pView->GetParentFrame() == wnd) return item;
  }
  return NULL;
}

void COleDocument::PreCloseFrame(CFrameWnd* frame) {
  // Objects shown in the frame end their activation while its windows are still there.
  for (POSITION pos = GetStartPosition(); pos;) {
    COleClientItem* item = GetNextClientItem(pos);
    if (item && item->m_pView && item->m_pView->GetParentFrame() == frame) item->Close(OLECLOSE_SAVEIFDIRTY);
  }
  CDocument::PreCloseFrame(frame);
}

void COleDocument::OnCloseDocument() {
  for (POSITION pos = GetStartPosition(); pos;) {
    COleClientItem* item = GetNextClientItem(pos);
    if (item) item->Release(OLECLOSE_NOSAVE);
  }
  CDocument::OnCloseDocument();
}

// ---------------------------------------------------------------------------------------------
// COleClientItem.

BEGIN_INTERFACE_MAP(COleClientItem, CDocItem)
  INTERFACE_PART(COleClientItem, IID_IOleClientSite, OleClientSite)
  INTERFACE_PART(COleClientItem, IID_IAdviseSink, AdviseSink)
  INTERFACE_PART(COleClientItem, IID_IOleWindow, OleIPSite)
  INTERFACE_PART(COleClientItem, IID_IOleInPlaceSite, OleIPSite)
END_INTERFACE_MAP()

DELEGATE_IUNKNOWN(COleClientItem, OleClientSite)
DELEGATE_IUNKNOWN(COleClientItem, AdviseSink)
DELEGATE_IUNKNOWN(COleClientItem, OleIPSite)

COleClientItem::COleClientItem(COleDocument* container)
    : m_lpObject(NULL), m_lpStorage(NULL), m_lpLockBytes(NULL), m_lpInPlaceObject(NULL), m_dwConnection(0),
      m_nItemState(emptyState), m_pView(NULL), m_pInPlaceFrame(NULL), m_pInPlaceDoc(NULL) {
  if (container) container->AddItem(this);
}

COleClientItem::~COleClientItem() { Release(); }

BOOL COleClientItem::CreateStorage() {
  if (FAILED(CreateILockBytesOnHGlobal(NULL, TRUE, &m_lpLockBytes))) return FALSE;
  if (FAILED(StgCreateDocfileOnILockBytes(m_lpLockBytes, STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE, 0,
                                          &m_lpStorage))) {
    m_lpLockBytes->Release();
    m_lpLockBytes = NULL;
    return FALSE;
  }
  return TRUE;
}

BOOL COleClientItem::CreateNewItem(REFCLSID clsid, OLERENDER render, CLIPFORMAT format, LPFORMATETC formatEtc) {
  Release();
  if (!CreateStorage()) return FALSE;
  FORMATETC f = {format, NULL, DVASPECT_CONTENT, -1, TYMED_NULL};
  if (format && !formatEtc) formatEtc = &f;
  return FinishCreate(::OleCreate(clsid, IID_IOleObject, DWORD(render), formatEtc, &m_xOleClientSite, m_lpStorage,
                                  reinterpret_cast<void**>(&m_lpObject)));
}

BOOL COleClientItem::CreateFromFile(LPCSTR fileName, REFCLSID clsid, OLERENDER render, CLIPFORMAT format,
                                    LPFORMATETC formatEtc) {
  Release();
  if (!CreateStorage()) return FALSE;
  FORMATETC f = {format, NULL, DVASPECT_CONTENT, -1, TYMED_NULL};
  if (format && !formatEtc) formatEtc = &f;
  BSTR path = Wide(fileName);
  HRESULT hr = ::OleCreateFromFile(clsid, path, IID_IOleObject, DWORD(render), formatEtc, &m_xOleClientSite,
                                   m_lpStorage, reinterpret_cast<void**>(&m_lpObject));
  SysFreeString(path);
  return FinishCreate(hr);
}

BOOL COleClientItem::FinishCreate(HRESULT created) {
  if (FAILED(created) || !m_lpObject) {
    m_lpObject = NULL;
    Release();
    return FALSE;
  }
  m_nItemState = loadedState;
  m_lpObject->Advise(&m_xAdviseSink, &m_dwConnection);
  BSTR app = Wide(AfxGetAppName());
  BSTR title = Wide(m_pDocument ? LPCSTR(m_pDocument->GetTitle()) : "");
  m_lpObject->SetHostNames(app, title);
  SysFreeString(app);
  SysFreeString(title);
  // The container keeps a server it embeds running as long as it needs it.
  ::OleSetContainedObject(m_lpObject, TRUE);
  return TRUE;
}

void COleClientItem::Activate(LONG verb, CView* view, LPMSG msg) {
  if (!m_lpObject) AfxThrowOleException(OLE_E_BLANK);
  if (view) m_pView = view;
  CRect position(0, 0, 0, 0);
  if (m_pView) OnGetItemPosition(position);
  HRESULT hr = m_lpObject->DoVerb(verb, msg, &m_xOleClientSite, 0, m_pView ? m_pView->m_hWnd : NULL, &position);
  if (FAILED(hr)) AfxThrowOleException(hr);
}

BOOL COleClientItem::DoVerb(LONG verb, CView* view, LPMSG msg) {
  try {
    Activate(verb, view, msg);
    return TRUE;
  } catch (COleException* e) {
    e->ReportError(MB_ICONEXCLAMATION, AFX_IDP_FAILED_TO_CREATE);
    e->Delete();
    return FALSE;
  }
}

void COleClientItem::Deactivate() {
  if (m_lpInPlaceObject) m_lpInPlaceObject->InPlaceDeactivate();
}

void COleClientItem::DeactivateUI() {
  if (m_lpInPlaceObject && m_nItemState == activeUIState) m_lpInPlaceObject->UIDeactivate();
}

void COleClientItem::Close(OLECLOSE option) {
  Deactivate();
  if (m_lpObject) {
    m_lpObject->Close(DWORD(option));
    m_nItemState = loadedState;
  }
  ReleaseHooks();
}

void COleClientItem::Release(OLECLOSE option) {
  if (!m_lpObject && !m_lpStorage) return;
  if (m_lpObject) {
    Close(option);
    if (m_dwConnection) m_lpObject->Unadvise(m_dwConnection);
    m_dwConnection = 0;
    LPOLEOBJECT object = m_lpObject;
    m_lpObject = NULL;
    object->Release();
  }
  if (m_lpStorage) m_lpStorage->Release();
  if (m_lpLockBytes) m_lpLockBytes->Release();
  m_lpStorage = NULL;
  m_lpLockBytes = NULL;
  m_nItemState = emptyState;
  m_pView = NULL;
}

void COleClientItem::Delete() {
  Release();
  if (m_pDocument) m_pDocument->RemoveItem(this);
  InternalRelease();
}

CWnd* COleClientItem::GetInPlaceWindow() {
  if (!m_lpInPlaceObject) return NULL;
  HWND wnd = NULL;
  if (FAILED(m_lpInPlaceObject->GetWindow(&wnd)) || !wnd) return NULL;
  return CWnd::FromHandle(wnd);
}

BOOL COleClientItem::SetItemRects(LPCRECT position, LPCRECT clip) {
  if (!m_lpInPlaceObject || !m_pView) return FALSE;
  CRect pos, cut;
  if (position) pos = *position; else OnGetItemPosition(pos);
  if (clip) cut = *clip; else OnGetClipRect(cut);
  return SUCCEEDED(m_lpInPlaceObject->SetObjectRects(&pos, &cut));
}

void COleClientItem::OnChange(OLE_NOTIFICATION, DWORD) {}

void COleClientItem::OnGetItemPosition(CRect& position) {
  if (m_pView)
    m_pView->GetClientRect(&position);
  else
    position.SetRectEmpty();
}

void COleClientItem::OnGetClipRect(CRect& clip) {
  if (m_pView)
    m_pView->GetClientRect(&clip);
  else
    clip.SetRectEmpty();
}

BOOL COleClientItem::OnChangeItemPosition(const CRect& position) { return SetItemRects(&position); }

BOOL COleClientItem::CanActivate() { return m_pView && m_pView->IsWindowVisible(); }

void COleClientItem::OnActivate() {}

void COleClientItem::OnActivateUI() {}

void COleClientItem::OnDeactivateUI(BOOL) {
  // The container's menu comes back even when the object left its own in place.
  if (m_pInPlaceFrame && m_pInPlaceFrame->m_hMenuShared) m_pInPlaceFrame->RestoreMenu();
  if (m_pView && ::IsWindow(m_pView->m_hWnd)) m_pView->SetFocus();
}

void COleClientItem::OnDeactivate() { ReleaseHooks(); }

HMENU COleClientItem::ContainerMenu() const {
  CDocTemplate* docTemplate = m_pDocument ? m_pDocument->GetDocTemplate() : NULL;
  return docTemplate ? docTemplate->m_hMenuInPlace : NULL;
}

HACCEL COleClientItem::ContainerAccelerators() const {
  CDocTemplate* docTemplate = m_pDocument ? m_pDocument->GetDocTemplate() : NULL;
  return docTemplate ? docTemplate->m_hAccelInPlace : NULL;
}

BOOL COleClientItem::GetWindowContext(LPOLEINPLACEFRAME* frame, LPOLEINPLACEUIWINDOW* document,
                                      LPOLEINPLACEFRAMEINFO info) {
  CFrameWnd* docFrame = m_pView ? m_pView->GetParentFrame() : NULL;
  CFrameWnd* mainFrame = docFrame ? docFrame->GetTopLevelFrame() : NULL;
  if (!mainFrame) return FALSE;
  if (!m_pInPlaceFrame) m_pInPlaceFrame = new COleFrameHook(mainFrame, this);
  if (docFrame != mainFrame && !m_pInPlaceDoc) {
    m_pInPlaceDoc = new COleFrameHook(docFrame, this);
    m_pInPlaceFrame->m_pDocHook = m_pInPlaceDoc;
  }
  *frame = m_pInPlaceFrame->GetInterface();
  (*frame)->AddRef();
  *document = NULL;
  if (m_pInPlaceDoc) {
    *document = m_pInPlaceDoc->GetInterface();
    (*document)->AddRef();
  }
  if (info) {
    info->fMDIApp = dynamic_cast<CMDIFrameWnd*>(mainFrame) != NULL;
    info->hwndFrame = mainFrame->m_hWnd;
    info->haccel = ContainerAccelerators();
    info->cAccelEntries = info->haccel ? UINT(::CopyAcceleratorTableA(info->haccel, NULL, 0)) : 0;
  }
  return TRUE;
}

void COleClientItem::ReleaseHooks() {
  for (COleFrameHook** hook : {&m_pInPlaceDoc, &m_pInPlaceFrame}) {
    if (!*hook) continue;
    (*hook)->Detach();
    (*hook)->InternalRelease();  // an object still holding the frame lets go of it when it likes
    *hook = NULL;
  }
}

// ----- IOleClientSite

STDMETHODIMP COleClientItem::XOleClientSite::SaveObject() {
  METHOD_PROLOGUE(COleClientItem, OleClientSite)
  if (!pThis->m_lpObject || !pThis->m_lpStorage) return E_FAIL;
  IPersistStorage* persist = NULL;
  HRESULT hr = pThis->m_lpObject->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&persist));
  if (FAILED(hr)) return hr;
  hr = ::OleSave(persist, pThis->m_lpStorage, TRUE);
  persist->SaveCompleted(NULL);
  persist->Release();
  if (SUCCEEDED(hr) && pThis->m_pDocument) pThis->m_pDocument->SetModifiedFlag();
  return hr;
}

STDMETHODIMP COleClientItem::XOleClientSite::GetMoniker(DWORD, DWORD, LPMONIKER* moniker) {
  if (moniker) *moniker = NULL;
  return E_NOTIMPL;  // items are not linked to
}

STDMETHODIMP COleClientItem::XOleClientSite::GetContainer(LPOLECONTAINER* container) {
  if (container) *container = NULL;
  return E_NOINTERFACE;
}

STDMETHODIMP COleClientItem::XOleClientSite::ShowObject() { return S_OK; }

STDMETHODIMP COleClientItem::XOleClientSite::OnShowWindow(BOOL show) {
  METHOD_PROLOGUE(COleClientItem, OleClientSite)
  // Open in the server's own window (not in place), or back.
  if (!pThis->IsInPlaceActive()) pThis->m_nItemState = show ? openState : loadedState;
  pThis->OnChange(OLE_CHANGED_STATE, pThis->m_nItemState);
  return S_OK;
}

STDMETHODIMP COleClientItem::XOleClientSite::RequestNewObjectLayout() { return E_NOTIMPL; }

// ----- IAdviseSink

STDMETHODIMP_(void) COleClientItem::XAdviseSink::OnDataChange(LPFORMATETC, LPSTGMEDIUM) {}

STDMETHODIMP_(void) COleClientItem::XAdviseSink::OnViewChange(DWORD aspect, LONG) {
  METHOD_PROLOGUE(COleClientItem, AdviseSink)
  pThis->OnChange(OLE_CHANGED, aspect);
}

STDMETHODIMP_(void) COleClientItem::XAdviseSink::OnRename(LPMONIKER) {
  METHOD_PROLOGUE(COleClientItem, AdviseSink)
  pThis->OnChange(OLE_RENAMED, 0);
}

STDMETHODIMP_(void) COleClientItem::XAdviseSink::OnSave() {
  METHOD_PROLOGUE(COleClientItem, AdviseSink)
  pThis->OnChange(OLE_SAVED, 0);
}

STDMETHODIMP_(void) COleClientItem::XAdviseSink::OnClose() {
  METHOD_PROLOGUE(COleClientItem, AdviseSink)
  if (pThis->m_lpObject) pThis->m_nItemState = loadedState;
  pThis->OnChange(OLE_CLOSED, 0);
}

// ----- IOleInPlaceSite

STDMETHODIMP COleClientItem::XOleIPSite::GetWindow(HWND* wnd) {
  METHOD_PROLOGUE(COleClientItem, OleIPSite)
  if (!wnd) return E_POINTER;
  *wnd = pThis->m_pView ? pThis->m_pView->m_hWnd : NULL;
  return *wnd ? S_OK : E_FAIL;
}

STDMETHODIMP COleClientItem::XOleIPSite::ContextSensitiveHelp(BOOL) { return S_OK; }

STDMETHODIMP COleClientItem::XOleIPSite::CanInPlaceActivate() {
  METHOD_PROLOGUE(COleClientItem, OleIPSite)
  return pThis->CanActivate() ? S_OK : S_FALSE;
}

STDMETHODIMP COleClientItem::XOleIPSite::OnInPlaceActivate() {
  METHOD_PROLOGUE(COleClientItem, OleIPSite)
  if (!pThis->m_lpObject) return E_UNEXPECTED;
  if (!pThis->m_lpInPlaceObject)
    pThis->m_lpObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&pThis->m_lpInPlaceObject));
  pThis->m_nItemState = activeState;
  pThis->OnActivate();
  return S_OK;
}

STDMETHODIMP COleClientItem::XOleIPSite::OnUIActivate() {
  METHOD_PROLOGUE(COleClientItem, OleIPSite)
  // One object of a frame shows its user interface at a time.
  if (pThis->m_pDocument && pThis->m_pView) {
    CFrameWnd* frame = pThis->m_pView->GetParentFrame();
    for (POSITION pos = pThis->m_pDocument->GetStartPosition(); pos;) {
      COleClientItem* other = pThis->m_pDocument->GetNextClientItem(pos);
      if (other && other != pThis && other->m_nItemState == activeUIState && other->m_pView &&
          other->m_pView->GetParentFrame() == frame)
        other->DeactivateUI();
    }
  }
  pThis->m_nItemState = activeUIState;
  pThis->OnActivateUI();
  return S_OK;
}

STDMETHODIMP COleClientItem::XOleIPSite::GetWindowContext(LPOLEINPLACEFRAME* frame, LPOLEINPLACEUIWINDOW* document,
                                                          LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  METHOD_PROLOGUE(COleClientItem, OleIPSite)
  if (!frame || !document || !position || !clip) return E_POINTER;
  *frame = NULL;
  *document = NULL;
  if (!pThis->GetWindowContext(frame, document, info)) return E_FAIL;
  CRect pos, cut;
  pThis->OnGetItemPosition(pos);
  pThis->OnGetClipRect(cut);
  *position = pos;
  *clip = cut;
  return S_OK;
}

STDMETHODIMP COleClientItem::XOleIPSite::Scroll(SIZE) { return E_NOTIMPL; }

STDMETHODIMP COleClientItem::XOleIPSite::OnUIDeactivate(BOOL undoable) {
  METHOD_PROLOGUE(COleClientItem, OleIPSite)
  pThis->m_nItemState = activeState;
  pThis->OnDeactivateUI(undoable);
  return S_OK;
}

STDMETHODIMP COleClientItem::XOleIPSite::OnInPlaceDeactivate() {
  METHOD_PROLOGUE(COleClientItem, OleIPSite)
  if (pThis->m_lpInPlaceObject) {
    pThis->m_lpInPlaceObject->Release();
    pThis->m_lpInPlaceObject = NULL;
  }
  pThis->m_nItemState = pThis->m_lpObject ? loadedState : emptyState;
  pThis->OnDeactivate();
  return S_OK;
}

STDMETHODIMP COleClientItem::XOleIPSite::DiscardUndoState() { return S_OK; }

STDMETHODIMP COleClientItem::XOleIPSite::DeactivateAndUndo() {
  METHOD_PROLOGUE(COleClientItem, OleIPSite)
  pThis->DeactivateUI();
  return S_OK;
}

STDMETHODIMP COleClientItem::XOleIPSite::OnPosRectChange(LPCRECT position) {
  METHOD_PROLOGUE(COleClientItem, OleIPSite)
  if (!position) return E_POINTER;
  return pThis->OnChangeItemPosition(CRect(*position)) ? S_OK : E_FAIL;
}
