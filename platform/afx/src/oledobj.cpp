// COleDocObjectItem: an embedded document object shown through a view of its own (IOleDocumentSite) and
// driven through its command target.
#include "afxole.h"

IMPLEMENT_DYNAMIC(COleDocObjectItem, COleClientItem)

BEGIN_INTERFACE_MAP(COleDocObjectItem, COleClientItem)
  INTERFACE_PART(COleDocObjectItem, IID_IOleDocumentSite, OleDocumentSite)
END_INTERFACE_MAP()

DELEGATE_IUNKNOWN(COleDocObjectItem, OleDocumentSite)

COleDocObjectItem::COleDocObjectItem(COleDocument* container) : COleClientItem(container), m_pActiveDocView(NULL) {}

COleDocObjectItem::~COleDocObjectItem() { CloseDocumentView(); }

LPOLEOBJECT COleDocObjectItem::CreateServerObject(REFCLSID clsid) {
  LPOLEOBJECT object = NULL;
  if (FAILED(CoCreateInstance(clsid, NULL, CLSCTX_SERVER, IID_IOleObject, reinterpret_cast<void**>(&object)))) return NULL;
  if (FAILED(object->SetClientSite(&m_xOleClientSite))) {
    object->Release();
    return NULL;
  }
  return object;
}

BOOL COleDocObjectItem::CreateNewItem(REFCLSID clsid, OLERENDER, CLIPFORMAT, LPFORMATETC) {
  Release();
  if (!CreateStorage()) return FALSE;
  m_lpObject = CreateServerObject(clsid);
  HRESULT hr = m_lpObject ? S_OK : REGDB_E_CLASSNOTREG;
  if (m_lpObject) {
    IPersistStorage* persist = NULL;
    hr = m_lpObject->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&persist));
    if (SUCCEEDED(hr)) {
      hr = persist->InitNew(m_lpStorage);
      persist->Release();
    }
    if (FAILED(hr)) {
      m_lpObject->SetClientSite(NULL);
      m_lpObject->Release();
      m_lpObject = NULL;
    }
  }
  return FinishCreate(hr);
}

BOOL COleDocObjectItem::CreateFromFile(LPCSTR fileName, REFCLSID clsid, OLERENDER render, CLIPFORMAT format,
                                       LPFORMATETC formatEtc) {
  Release();
  BSTR path = AfxAllocSysString(fileName);
  CLSID fileClass = clsid;
  if ((fileClass == CLSID_NULL && FAILED(GetClassFile(path, &fileClass))) || !CreateStorage()) {
    SysFreeString(path);
    return FALSE;
  }
  LPOLEOBJECT object = CreateServerObject(fileClass);
  IPersistFile* persist = NULL;
  if (!object || FAILED(object->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
    SysFreeString(path);
    if (!object) return FinishCreate(REGDB_E_CLASSNOTREG);
    object->SetClientSite(NULL);
    object->Release();
    return COleClientItem::CreateFromFile(fileName, fileClass, render, format, formatEtc);
  }
  HRESULT hr = persist->Load(path, STGM_READWRITE | STGM_SHARE_DENY_WRITE);
  persist->Release();
  SysFreeString(path);
  if (FAILED(hr)) {
    object->SetClientSite(NULL);
    object->Release();
    object = NULL;
  }
  m_lpObject = object;
  return FinishCreate(hr);
}

void COleDocObjectItem::CloseDocumentView() {
  if (!m_pActiveDocView) return;
  LPOLEDOCUMENTVIEW view = m_pActiveDocView;
  m_pActiveDocView = NULL;
  view->UIActivate(FALSE);
  view->Show(FALSE);
  view->CloseView(0);
  view->SetInPlaceSite(NULL);
  view->Release();
}

void COleDocObjectItem::Close(OLECLOSE option) {
  CloseDocumentView();
  COleClientItem::Close(option);
}

BOOL COleDocObjectItem::SetItemRects(LPCRECT position, LPCRECT clip) {
  if (!m_pActiveDocView) return COleClientItem::SetItemRects(position, clip);
  CRect pos;
  if (position)
    pos = *position;
  else
    OnGetItemPosition(pos);
  return SUCCEEDED(m_pActiveDocView->SetRect(&pos));
}

LPOLECOMMANDTARGET COleDocObjectItem::GetCommandTarget() {
  LPOLECOMMANDTARGET target = NULL;
  if (m_lpObject && SUCCEEDED(m_lpObject->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target))))
    return target;
  if (m_pActiveDocView &&
      SUCCEEDED(m_pActiveDocView->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target))))
    return target;
  return NULL;
}

HRESULT COleDocObjectItem::ExecCommand(DWORD commandId, DWORD execOption, const GUID* group, VARIANT* in, VARIANT* out) {
  LPOLECOMMANDTARGET target = GetCommandTarget();
  if (!target) return OLECMDERR_E_NOTSUPPORTED;
  HRESULT hr = target->Exec(group, commandId, execOption, in, out);
  target->Release();
  return hr;
}

DWORD COleDocObjectItem::QueryCommand(DWORD commandId, const GUID* group) {
  LPOLECOMMANDTARGET target = GetCommandTarget();
  if (!target) return 0;
  OLECMD command = {commandId, 0};
  DWORD flags = SUCCEEDED(target->QueryStatus(group, 1, &command, NULL)) ? command.cmdf : 0;
  target->Release();
  return flags;
}

// The object asks to be shown: as the view it names, or as a new view of its document, in this item's
// place.
STDMETHODIMP COleDocObjectItem::XOleDocumentSite::ActivateMe(LPOLEDOCUMENTVIEW view) {
  METHOD_PROLOGUE(COleDocObjectItem, OleDocumentSite)
  if (!pThis->m_lpObject || !pThis->m_pView) return E_UNEXPECTED;
  if (view) {
    view->AddRef();
  } else {
    IOleDocument* document = NULL;
    HRESULT hr = pThis->m_lpObject->QueryInterface(IID_IOleDocument, reinterpret_cast<void**>(&document));
    if (FAILED(hr)) return hr;
    hr = document->CreateView(&pThis->m_xOleIPSite, NULL, 0, &view);
    document->Release();
    if (FAILED(hr)) return hr;
  }
  view->SetInPlaceSite(&pThis->m_xOleIPSite);
  pThis->CloseDocumentView();
  pThis->m_pActiveDocView = view;
  HRESULT hr = view->UIActivate(TRUE);
  if (FAILED(hr)) {
    pThis->CloseDocumentView();
    return hr;
  }
  CRect position;
  pThis->OnGetItemPosition(position);
  view->SetRect(&position);
  view->Show(TRUE);
  return S_OK;
}
