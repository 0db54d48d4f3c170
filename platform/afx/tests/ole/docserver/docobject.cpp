// The test document object (test code): IOleObject, IOleDocument and its one view, in-place activation
// with a merged menu, persistence in storages and files, the embedding data format, and commands.
#include "docobject.h"

#include <cstdio>
#include <string>

#include "../server/ids.h"

namespace doctest {
namespace {

LONG g_live = 0;
void (*g_hook)(BOOL) = nullptr;
const char kWindowClass[] = "OrvAfxTestDocumentWindow";
const wchar_t kContents[] = L"Contents";

HMODULE ThisModule() {
  HMODULE module = NULL;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

std::wstring Widen(const std::string& text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, NULL, 0);
  std::wstring wide(size_t(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
  wide.resize(size_t(n > 0 ? n - 1 : 0));
  return wide;
}

std::string Narrow(const wchar_t* text) {
  if (!text) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, text, -1, NULL, 0, NULL, NULL);
  std::string narrow(size_t(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], n, NULL, NULL);
  narrow.resize(size_t(n > 0 ? n - 1 : 0));
  return narrow;
}

class Document final : public IOleObject,
                 public IOleDocument,
                 public IOleDocumentView,
                 public IOleInPlaceObject,
                 public IOleInPlaceActiveObject,
                 public IPersistStorage,
                 public IPersistFile,
                 public IDataObject,
                 public IOleCommandTarget {
 public:
  Document(REFCLSID clsid, BOOL refusing) : m_clsid(clsid), m_refusing(refusing) {
    ++g_live;
    if (g_hook) g_hook(TRUE);
  }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = NULL;
    if (iid == IID_IUnknown || iid == IID_IOleObject) *ppv = static_cast<IOleObject*>(this);
    else if (iid == IID_IOleDocument) *ppv = static_cast<IOleDocument*>(this);
    else if (iid == IID_IOleDocumentView) *ppv = static_cast<IOleDocumentView*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) *ppv = static_cast<IOleInPlaceObject*>(this);
    else if (iid == IID_IOleInPlaceActiveObject) *ppv = static_cast<IOleInPlaceActiveObject*>(this);
    else if (iid == IID_IPersist || iid == IID_IPersistStorage) *ppv = static_cast<IPersistStorage*>(this);
    else if (iid == IID_IPersistFile) *ppv = static_cast<IPersistFile*>(this);
    else if (iid == IID_IDataObject) *ppv = static_cast<IDataObject*>(this);
    else if (iid == IID_IOleCommandTarget) *ppv = static_cast<IOleCommandTarget*>(this);
    else return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&m_refs)); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return ULONG(left);
  }

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override {
    if (site) site->AddRef();
    if (m_site) m_site->Release();
    m_site = site;
    return S_OK;
  }
  STDMETHODIMP GetClientSite(IOleClientSite** site) override {
    *site = m_site;
    if (m_site) m_site->AddRef();
    return S_OK;
  }
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override {
    InPlaceDeactivate();
    if (m_advise) m_advise->SendOnClose();
    return S_OK;
  }
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) override {
    if (verb != OLEIVERB_SHOW && verb != OLEIVERB_PRIMARY && verb != OLEIVERB_INPLACEACTIVATE &&
        verb != OLEIVERB_UIACTIVATE)
      return OLEOBJ_E_INVALIDVERB;
    if (site && site != m_site) SetClientSite(site);
    if (!m_site) return E_UNEXPECTED;
    // A document object asks its container to show it as a view.
    IOleDocumentSite* documentSite = NULL;
    HRESULT hr = m_site->QueryInterface(IID_IOleDocumentSite, reinterpret_cast<void**>(&documentSite));
    if (FAILED(hr)) return hr;
    hr = documentSite->ActivateMe(NULL);
    documentSite->Release();
    return hr;
  }
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return OLE_S_USEREG; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* clsid) override {
    *clsid = m_clsid;
    return S_OK;
  }
  STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return OLE_S_USEREG; }
  STDMETHODIMP SetExtent(DWORD, SIZEL* size) override {
    m_extent = *size;
    return S_OK;
  }
  STDMETHODIMP GetExtent(DWORD, SIZEL* size) override {
    *size = m_extent;
    return S_OK;
  }
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override {
    if (!m_advise && FAILED(CreateOleAdviseHolder(&m_advise))) return E_OUTOFMEMORY;
    return m_advise->Advise(sink, connection);
  }
  STDMETHODIMP Unadvise(DWORD connection) override {
    return m_advise ? m_advise->Unadvise(connection) : OLE_E_NOCONNECTION;
  }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advises) override {
    return m_advise ? m_advise->EnumAdvise(advises) : E_FAIL;
  }
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
    *status = 0;
    return S_OK;
  }
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleDocument: one view, the document itself.
  STDMETHODIMP CreateView(IOleInPlaceSite* site, IStream*, DWORD, IOleDocumentView** view) override {
    if (!view) return E_POINTER;
    if (m_hasView) return E_FAIL;
    m_hasView = TRUE;
    if (site) SetInPlaceSite(site);
    *view = static_cast<IOleDocumentView*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP GetDocMiscStatus(DWORD* status) override {
    *status = DOCMISC_NOFILESUPPORT;
    return S_OK;
  }
  STDMETHODIMP EnumViews(IEnumOleDocumentViews**, IOleDocumentView** view) override {
    *view = static_cast<IOleDocumentView*>(this);
    AddRef();
    return S_OK;
  }

  // IOleDocumentView
  STDMETHODIMP SetInPlaceSite(IOleInPlaceSite* site) override {
    if (!site) {
      InPlaceDeactivate();
      m_hasView = FALSE;
    }
    if (site) site->AddRef();
    if (m_ipSite) m_ipSite->Release();
    m_ipSite = site;
    return S_OK;
  }
  STDMETHODIMP GetInPlaceSite(IOleInPlaceSite** site) override {
    *site = m_ipSite;
    if (m_ipSite) m_ipSite->AddRef();
    return S_OK;
  }
  STDMETHODIMP GetDocument(IUnknown** document) override {
    *document = static_cast<IOleObject*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP SetRect(LPRECT rect) override {
    m_rect = *rect;
    if (m_wnd) MoveWindow(m_wnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    return S_OK;
  }
  STDMETHODIMP GetRect(LPRECT rect) override {
    *rect = m_rect;
    return S_OK;
  }
  STDMETHODIMP SetRectComplex(LPRECT, LPRECT, LPRECT, LPRECT) override { return E_NOTIMPL; }
  STDMETHODIMP Show(BOOL show) override {
    if (m_wnd) ShowWindow(m_wnd, show ? SW_SHOW : SW_HIDE);
    return S_OK;
  }
  STDMETHODIMP UIActivate(BOOL activate) override { return activate ? ActivateUI() : DeactivateUI(); }
  STDMETHODIMP Open() override { return E_NOTIMPL; }
  STDMETHODIMP CloseView(DWORD) override {
    InPlaceDeactivate();
    return S_OK;
  }
  STDMETHODIMP SaveViewState(LPSTREAM) override { return E_NOTIMPL; }
  STDMETHODIMP ApplyViewState(LPSTREAM) override { return E_NOTIMPL; }
  STDMETHODIMP Clone(IOleInPlaceSite*, IOleDocumentView**) override { return E_NOTIMPL; }

  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
  STDMETHODIMP GetWindow(HWND* wnd) override {
    *wnd = m_wnd;
    return m_wnd ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return S_OK; }
  STDMETHODIMP InPlaceDeactivate() override {
    if (!m_inPlace) return S_OK;
    DeactivateUI();
    if (m_wnd) DestroyWindow(m_wnd);
    m_wnd = NULL;
    m_inPlace = FALSE;
    if (m_ipSite) m_ipSite->OnInPlaceDeactivate();
    return S_OK;
  }
  STDMETHODIMP UIDeactivate() override { return DeactivateUI(); }
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT) override { return SetRect(const_cast<LPRECT>(position)); }
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(LPMSG) override {
    ++m_keys;
    return S_FALSE;
  }
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL enable) override {
    m_modeless = enable;
    return S_OK;
  }

  // IPersistStorage, IPersistFile
  STDMETHODIMP GetClassID(CLSID* clsid) override {
    *clsid = m_clsid;
    return S_OK;
  }
  STDMETHODIMP IsDirty() override { return S_FALSE; }
  STDMETHODIMP InitNew(IStorage*) override { return S_OK; }
  STDMETHODIMP Load(IStorage* storage) override {
    IStream* stream = NULL;
    if (SUCCEEDED(storage->OpenStream(kContents, NULL, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream))) {
      char buffer[1024];
      ULONG read = 0;
      stream->Read(buffer, sizeof buffer, &read);
      m_text.assign(buffer, read);
      stream->Release();
    }
    return S_OK;
  }
  STDMETHODIMP Save(IStorage* storage, BOOL) override { return WriteTo(storage); }
  STDMETHODIMP SaveCompleted(IStorage*) override { return S_OK; }
  STDMETHODIMP HandsOffStorage() override { return S_OK; }
  STDMETHODIMP Load(LPCOLESTR fileName, DWORD) override {
    HANDLE file = CreateFileW(fileName, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return STG_E_FILENOTFOUND;
    char buffer[1024];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer, &read, NULL);
    CloseHandle(file);
    m_text.assign(buffer, read);
    m_loadedFrom = Narrow(fileName);
    ShowState();
    return S_OK;
  }
  STDMETHODIMP Save(LPCOLESTR, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP SaveCompleted(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP GetCurFile(LPOLESTR*) override { return E_NOTIMPL; }

  // IDataObject: the document as an embedding ("Embed Source" in a storage), which is how an item is made
  // from a file.
  STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (format->cfFormat != EmbedSource() || !(format->tymed & TYMED_ISTORAGE)) return DV_E_FORMATETC;
    IStorage* storage = NULL;
    HRESULT hr = StgCreateDocfile(NULL, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DELETEONRELEASE, 0, &storage);
    if (FAILED(hr)) return hr;
    hr = WriteTo(storage);
    if (FAILED(hr)) {
      storage->Release();
      return hr;
    }
    medium->tymed = TYMED_ISTORAGE;
    medium->pstg = storage;
    medium->pUnkForRelease = NULL;
    return S_OK;
  }
  STDMETHODIMP GetDataHere(FORMATETC* format, STGMEDIUM* medium) override {
    if (format->cfFormat != EmbedSource() || medium->tymed != TYMED_ISTORAGE) return DV_E_FORMATETC;
    return WriteTo(medium->pstg);
  }
  STDMETHODIMP QueryGetData(FORMATETC* format) override {
    return format->cfFormat == EmbedSource() && (format->tymed & TYMED_ISTORAGE) ? S_OK : DV_E_FORMATETC;
  }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = NULL;
    return E_NOTIMPL;
  }
  STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

  // What the document holds, as its window's text, for tests in other processes that cannot ask it.
  void ShowState() {
    if (m_wnd)
      SetWindowTextA(m_wnd, ("text=" + m_text + ";file=" + m_loadedFrom + ";commands=" + std::to_string(m_commands)).c_str());
  }

  // IOleCommandTarget
  STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD* commands, OLECMDTEXT*) override {
    for (ULONG i = 0; i < count; ++i) {
      BOOL known = group && ((*group == CGID_OleTestHost && commands[i].cmdID == kHostCommandOpen && !m_refusing) ||
                             (*group == CGID_OleTestReport && commands[i].cmdID == kTestCommandReport));
      commands[i].cmdf = known ? OLECMDF_SUPPORTED | OLECMDF_ENABLED : 0;
    }
    return S_OK;
  }
  STDMETHODIMP Exec(const GUID* group, DWORD id, DWORD, VARIANT* in, VARIANT* out) override {
    if (group && *group == CGID_OleTestHost) {
      if (id != kHostCommandOpen || m_refusing) return OLECMDERR_E_NOTSUPPORTED;
      if (!in || in->vt != VT_BSTR) return E_INVALIDARG;
      m_text = Narrow(in->bstrVal);
      ShowState();
      if (m_wnd) InvalidateRect(m_wnd, NULL, TRUE);
      return S_OK;
    }
    if (group && *group == CGID_OleTestReport && id == kTestCommandModal) {
      if (!in || in->vt != VT_BOOL || !m_frame) return E_INVALIDARG;
      return m_frame->EnableModeless(in->boolVal ? TRUE : FALSE);
    }
    if (group && *group == CGID_OleTestReport && id == kTestCommandReport) {
      if (!out) return E_POINTER;
      char report[2048];
      snprintf(report, sizeof report,
               "text=%s;file=%s;inplace=%d;menu=%s;initmenu=%d;commands=%d;modeless=%d;keys=%d;paints=%d;process=%lu",
               m_text.c_str(), m_loadedFrom.c_str(), m_inPlace, m_menu ? "merged" : "none", m_initMenus, m_commands,
               m_modeless, m_keys, m_paints, static_cast<unsigned long>(GetCurrentProcessId()));
      VariantInit(out);
      out->vt = VT_BSTR;
      out->bstrVal = SysAllocString(Widen(report).c_str());
      return S_OK;
    }
    return OLECMDERR_E_UNKNOWNGROUP;
  }

  static LRESULT CALLBACK WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Document* self = reinterpret_cast<Document*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    switch (message) {
      case WM_INITMENUPOPUP:
        if (self) ++self->m_initMenus;
        return 0;
      case WM_COMMAND:
        if (self && (LOWORD(wParam) == kDocCommandGreet || LOWORD(wParam) == kDocCommandRuler)) {
          ++self->m_commands;
          self->ShowState();
        }
        return 0;
      case WM_PAINT: {
        if (self) ++self->m_paints;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        RECT r;
        GetClientRect(wnd, &r);
        HBRUSH paper = CreateSolidBrush(RGB(255, 250, 225));
        FillRect(dc, &r, paper);
        DeleteObject(paper);
        SetBkMode(dc, TRANSPARENT);
        std::string text = "Test document, active in place";
        if (self) text += "\r\n" + self->m_text;
        InflateRect(&r, -12, -12);
        DrawTextA(dc, text.c_str(), -1, &r, DT_LEFT | DT_WORDBREAK);
        EndPaint(wnd, &ps);
        return 0;
      }
      default:
        return DefWindowProcA(wnd, message, wParam, lParam);
    }
  }

 private:
  ~Document() {
    InPlaceDeactivate();
    if (m_ipSite) m_ipSite->Release();
    if (m_site) m_site->Release();
    if (m_advise) m_advise->Release();
    --g_live;
    if (g_hook) g_hook(FALSE);
  }

  static CLIPFORMAT EmbedSource() { return CLIPFORMAT(RegisterClipboardFormatA("Embed Source")); }

  HRESULT WriteTo(IStorage* storage) {
    HRESULT hr = WriteClassStg(storage, m_clsid);
    if (FAILED(hr)) return hr;
    IStream* stream = NULL;
    hr = storage->CreateStream(kContents, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &stream);
    if (FAILED(hr)) return hr;
    hr = stream->Write(m_text.data(), ULONG(m_text.size()), NULL);
    stream->Release();
    return hr;
  }

  HRESULT ActivateUI() {
    if (!m_ipSite) return E_UNEXPECTED;
    if (m_uiActive) return S_OK;
    if (!m_inPlace) {
      if (m_ipSite->CanInPlaceActivate() != S_OK) return E_FAIL;
      m_ipSite->OnInPlaceActivate();
      m_inPlace = TRUE;
    }
    OLEINPLACEFRAMEINFO info = {sizeof info};
    RECT position, clip;
    HRESULT hr = m_ipSite->GetWindowContext(&m_frame, &m_uiWindow, &position, &clip, &info);
    if (FAILED(hr)) return hr;
    HWND parent = NULL;
    m_ipSite->GetWindow(&parent);
    if (!m_wnd) {
      m_wnd = CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, position.left,
                              position.top, position.right - position.left, position.bottom - position.top, parent,
                              NULL, ThisModule(), NULL);
      SetWindowLongPtrA(m_wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      ShowState();
    }
    m_rect = position;
    m_ipSite->OnUIActivate();
    m_uiActive = TRUE;
    m_frame->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"Test Document");
    if (m_uiWindow) m_uiWindow->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"Test Document");
    MergeMenus();
    SetFocus(m_wnd);
    return S_OK;
  }

  // The container's groups first, then the document's popup in the Object group.
  void MergeMenus() {
    HMENU shared = CreateMenu();
    OLEMENUGROUPWIDTHS widths = {};
    if (FAILED(m_frame->InsertMenus(shared, &widths))) {
      // A container that cannot take this menu (one in another process where menus are not shared): the
      // document goes on without one.
      DestroyMenu(shared);
      return;
    }
    m_popup = CreatePopupMenu();
    AppendMenuA(m_popup, MF_STRING, kDocCommandGreet, "&Greet");
    AppendMenuA(m_popup, MF_STRING, kDocCommandRuler, "&Ruler");
    UINT position = UINT(widths.width[0] + widths.width[1] + widths.width[2]);
    InsertMenuA(shared, position, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(m_popup), OLETEST_DOC_MENU_TEXT);
    widths.width[3] = 1;
    m_oleMenu = OleCreateMenuDescriptor(shared, &widths);
    m_menu = shared;
    m_frame->SetMenu(shared, m_oleMenu, m_wnd);
  }

  void UnmergeMenus() {
    if (!m_menu) return;
    m_frame->SetMenu(NULL, NULL, NULL);
    // The document's popup goes first, then the container takes its own out.
    for (int i = GetMenuItemCount(m_menu) - 1; i >= 0; --i)
      if (GetSubMenu(m_menu, i) == m_popup) RemoveMenu(m_menu, UINT(i), MF_BYPOSITION);
    m_frame->RemoveMenus(m_menu);
    OleDestroyMenuDescriptor(m_oleMenu);
    DestroyMenu(m_menu);
    DestroyMenu(m_popup);
    m_menu = m_popup = NULL;
    m_oleMenu = NULL;
  }

  HRESULT DeactivateUI() {
    if (!m_uiActive) return S_OK;
    m_uiActive = FALSE;
    UnmergeMenus();
    if (m_frame) {
      m_frame->SetActiveObject(NULL, NULL);
      m_frame->Release();
      m_frame = NULL;
    }
    if (m_uiWindow) {
      m_uiWindow->SetActiveObject(NULL, NULL);
      m_uiWindow->Release();
      m_uiWindow = NULL;
    }
    if (m_ipSite) m_ipSite->OnUIDeactivate(FALSE);
    return S_OK;
  }

  LONG m_refs = 1;
  CLSID m_clsid;
  BOOL m_refusing;
  IOleClientSite* m_site = NULL;
  IOleInPlaceSite* m_ipSite = NULL;
  IOleAdviseHolder* m_advise = NULL;
  IOleInPlaceFrame* m_frame = NULL;
  IOleInPlaceUIWindow* m_uiWindow = NULL;
  HWND m_wnd = NULL;
  HMENU m_menu = NULL, m_popup = NULL;
  HOLEMENU m_oleMenu = NULL;
  BOOL m_hasView = FALSE, m_inPlace = FALSE, m_uiActive = FALSE;
  RECT m_rect = {};
  SIZEL m_extent = {5000, 3000};
  std::string m_text, m_loadedFrom;
  int m_initMenus = 0, m_commands = 0, m_keys = 0, m_paints = 0;
  BOOL m_modeless = TRUE;
};

class Factory final : public IClassFactory {
 public:
  Factory(REFCLSID clsid, BOOL refusing) : m_clsid(clsid), m_refusing(refusing) {}
  STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = NULL;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&m_refs)); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return ULONG(left);
  }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** ppv) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    RegisterWindowClass();
    Document* document = new Document(m_clsid, m_refusing);
    HRESULT hr = document->QueryInterface(iid, ppv);
    document->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (g_hook) g_hook(lock);
    return S_OK;
  }

 private:
  static void RegisterWindowClass() {
    WNDCLASSA wc = {};
    if (GetClassInfoA(ThisModule(), kWindowClass, &wc)) return;
    wc.lpfnWndProc = &Document::WindowProc;
    wc.hInstance = ThisModule();
    wc.hCursor = LoadCursor(NULL, IDC_IBEAM);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
  }
  LONG m_refs = 1;
  CLSID m_clsid;
  BOOL m_refusing;
};

}  // namespace

LONG LiveObjects() { return g_live; }
void SetLifetimeHook(void (*hook)(BOOL made)) { g_hook = hook; }
IClassFactory* NewFactory(REFCLSID clsid, BOOL refusing) { return new Factory(clsid, refusing); }

}  // namespace doctest
