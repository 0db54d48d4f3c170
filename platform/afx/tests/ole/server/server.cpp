// afx_oleserver.exe: a framework program that COM starts to serve automation objects to other processes
// (test code). It serves a host-shaped object with a collection of three items, an object that every
// client shares, and the test document object; /RegServer and /UnregServer write and remove its classes.
#include <objsafe.h>

#include "afxdisp.h"
#include "docobject.h"
#include "ids.h"
#include "testhost.h"

namespace {

LONG g_live = 0;  // served objects alive

// Every object this program serves keeps it running while it lives.
class CServed : public CCmdTarget {
 public:
  CServed() {
    EnableAutomation();
    AfxOleLockApp();
    ++g_live;
  }
  ~CServed() override {
    --g_live;
    AfxOleUnlockApp();
  }
};

class CItem : public CServed {
 public:
  explicit CItem(const CString& path) : m_path(path) {}
  CString GetPath() { return m_path; }
  CString GetName() {
    int slash = m_path.ReverseFind('\\');
    return slash < 0 ? m_path : m_path.Mid(slash + 1);
  }

 private:
  CString m_path;
  DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(CItem, CCmdTarget)
  DISP_PROPERTY_EX_ID(CItem, "Path", kItemPath, GetPath, SetNotSupported, VT_BSTR)
  DISP_PROPERTY_EX_ID(CItem, "Name", kItemName, GetName, SetNotSupported, VT_BSTR)
  DISP_DEFVALUE(CItem, "Path")
END_DISPATCH_MAP()

LPDISPATCH NewItem(int index) {
  CItem* item = new CItem(CString(OLETEST_ITEM_FOLDER) + kOleTestItems[index]);
  LPDISPATCH dispatch = item->GetIDispatch(FALSE);  // the creation reference goes to the caller
  return dispatch;
}

const int kItemCount = int(sizeof kOleTestItems / sizeof kOleTestItems[0]);

// The items, walked by For Each: only one at a time, as the Gallery's enumerator does.
class CItemsEnum : public CServed {
 public:
  int m_position = 0;

  BEGIN_INTERFACE_PART(Enum, IEnumVARIANT)
    STDMETHOD(Next)(ULONG count, VARIANT* items, ULONG* fetched) override;
    STDMETHOD(Skip)(ULONG count) override;
    STDMETHOD(Reset)() override;
    STDMETHOD(Clone)(IEnumVARIANT** copy) override;
  END_INTERFACE_PART(Enum)
  DECLARE_INTERFACE_MAP()
};

BEGIN_INTERFACE_MAP(CItemsEnum, CCmdTarget)
  INTERFACE_PART(CItemsEnum, IID_IEnumVARIANT, Enum)
END_INTERFACE_MAP()

DELEGATE_IUNKNOWN(CItemsEnum, Enum)

STDMETHODIMP CItemsEnum::XEnum::Next(ULONG count, VARIANT* items, ULONG* fetched) {
  METHOD_PROLOGUE(CItemsEnum, Enum)
  if (fetched) *fetched = 0;
  if (count != 1 || !items) return E_INVALIDARG;
  if (pThis->m_position >= kItemCount) return S_FALSE;
  VariantInit(items);
  items->vt = VT_DISPATCH;
  items->pdispVal = NewItem(pThis->m_position++);
  if (fetched) *fetched = 1;
  return S_OK;
}

STDMETHODIMP CItemsEnum::XEnum::Skip(ULONG count) {
  METHOD_PROLOGUE(CItemsEnum, Enum)
  if (count != 1) return E_INVALIDARG;
  ++pThis->m_position;
  return S_OK;
}

STDMETHODIMP CItemsEnum::XEnum::Reset() {
  METHOD_PROLOGUE(CItemsEnum, Enum)
  pThis->m_position = 0;
  return S_OK;
}

STDMETHODIMP CItemsEnum::XEnum::Clone(IEnumVARIANT**) { return E_NOTIMPL; }

class CItems : public CServed {
 public:
  short GetCount() { return short(kItemCount); }
  LPDISPATCH Item(const VARIANT& index) {
    VARIANT position;
    VariantInit(&position);
    HRESULT hr = VariantChangeType(&position, const_cast<VARIANT*>(&index), 0, VT_I4);
    if (FAILED(hr)) AfxThrowOleException(hr);  // the conversion's own error
    if (position.lVal < 0 || position.lVal >= kItemCount) AfxThrowOleException(DISP_E_BADINDEX);
    return NewItem(position.lVal);
  }
  LPUNKNOWN NewEnum() {
    CItemsEnum* items = new CItemsEnum;
    return items->GetControllingUnknown();  // with the creation reference
  }
  DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(CItems, CCmdTarget)
  DISP_PROPERTY_EX_ID(CItems, "Count", kItemsCount, GetCount, SetNotSupported, VT_I2)
  DISP_FUNCTION_ID(CItems, "Item", kItemsItem, Item, VT_DISPATCH, VTS_VARIANT)
  DISP_FUNCTION_ID(CItems, "_NewEnum", DISPID_NEWENUM, NewEnum, VT_UNKNOWN, VTS_NONE)
  DISP_DEFVALUE(CItems, "Item")
END_DISPATCH_MAP()

// Owned by the host as a plain C++ object, deleted by it whatever clients still hold.
class COwned : public CCmdTarget {
 public:
  COwned() { EnableAutomation(); }
  long Ping() { return 7; }
  DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(COwned, CCmdTarget)
  DISP_FUNCTION_ID(COwned, "Ping", kOwnedPing, Ping, VT_I4, VTS_NONE)
END_DISPATCH_MAP()

// The host's automation object in shape: what each call did is reported by GetVersionNumbers.
class CHost : public CServed {
 public:
  CString m_opened, m_galleryPath, m_command, m_launched;
  BOOL m_shown = FALSE;
  short m_side = -1;
  COwned* m_owned = NULL;
  ~CHost() override { delete m_owned; }

  void Open(LPCSTR path) { m_opened = path; }
  LPDISPATCH SlideTable() { return (new CItems)->GetIDispatch(FALSE); }
  BOOL Launch(LPCSTR locator) {
    m_launched = locator;
    return *locator != 0;
  }
  BOOL SetGalleryPath(LPCSTR path) {
    m_galleryPath = path;
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
  }
  BOOL LaunchDocObject(LPCSTR locator) { return Launch(locator); }
  void ShowSlideTable(BOOL show) { m_shown = show; }
  void DockSlideTable(short side) { m_side = side; }
  CString GetVersionNumbers() {
    CString text;
    text.Format("open=%s&launch=%s&gallery=%s&shown=%d&side=%d&run=%s", LPCSTR(m_opened), LPCSTR(m_launched),
                LPCSTR(m_galleryPath), m_shown, m_side, LPCSTR(m_command));
    return text;
  }
  void RunCommand(LPCSTR command) { m_command = command; }
  void Fail() { AfxThrowOleDispatchException(OLETEST_FAIL_CODE, IDS_OLETEST_FAIL); }
  long GetLiveObjects() { return g_live; }
  long GetProcessId() { return long(GetCurrentProcessId()); }
  void GetThumbnailSize(long* width, long* height) {
    *width = 112;
    *height = 80;
  }
  LPDISPATCH Owned() {
    if (!m_owned) m_owned = new COwned;
    return m_owned->GetIDispatch(TRUE);
  }
  void DropOwned() {
    delete m_owned;
    m_owned = NULL;
  }

  BOOL GetDispatchIID(IID* iid) override {
    *iid = DIID_IOleTestHost;
    return TRUE;
  }
  DECLARE_OLETYPELIB(CHost)
  DECLARE_DYNCREATE(CHost)
  DECLARE_DISPATCH_MAP()
  DECLARE_INTERFACE_MAP()
};

IMPLEMENT_DYNCREATE(CHost, CCmdTarget)
IMPLEMENT_OLETYPELIB(CHost, LIBID_OrvAfxTestServer, 1, 0)

BEGIN_INTERFACE_MAP(CHost, CCmdTarget)
  DISP_INTERFACE_PART(CHost, DIID_IOleTestHost)
END_INTERFACE_MAP()

BEGIN_DISPATCH_MAP(CHost, CCmdTarget)
  DISP_FUNCTION_ID(CHost, "Open", kHostOpen, Open, VT_EMPTY, VTS_BSTR)
  DISP_FUNCTION_ID(CHost, "SlideTable", kHostSlideTable, SlideTable, VT_DISPATCH, VTS_NONE)
  DISP_FUNCTION_ID(CHost, "Launch", kHostLaunch, Launch, VT_BOOL, VTS_BSTR)
  DISP_FUNCTION_ID(CHost, "SetGalleryPath", kHostSetGalleryPath, SetGalleryPath, VT_BOOL, VTS_BSTR)
  DISP_FUNCTION_ID(CHost, "LaunchDocObject", kHostLaunchDocObject, LaunchDocObject, VT_BOOL, VTS_BSTR)
  DISP_FUNCTION_ID(CHost, "ShowSlideTable", kHostShowSlideTable, ShowSlideTable, VT_EMPTY, VTS_BOOL)
  DISP_FUNCTION_ID(CHost, "DockSlideTable", kHostDockSlideTable, DockSlideTable, VT_EMPTY, VTS_I2)
  DISP_FUNCTION_ID(CHost, "GetVersionNumbers", kHostGetVersionNumbers, GetVersionNumbers, VT_BSTR, VTS_NONE)
  DISP_FUNCTION_ID(CHost, "RunCommand", kHostRunCommand, RunCommand, VT_EMPTY, VTS_BSTR)
  DISP_FUNCTION_ID(CHost, "Fail", kHostFail, Fail, VT_EMPTY, VTS_NONE)
  DISP_PROPERTY_EX_ID(CHost, "LiveObjects", kHostLiveObjects, GetLiveObjects, SetNotSupported, VT_I4)
  DISP_PROPERTY_EX_ID(CHost, "ProcessId", kHostProcessId, GetProcessId, SetNotSupported, VT_I4)
  DISP_FUNCTION_ID(CHost, "GetThumbnailSize", kHostGetThumbnailSize, GetThumbnailSize, VT_EMPTY, VTS_PI4 VTS_PI4)
  DISP_FUNCTION_ID(CHost, "Owned", kHostOwned, Owned, VT_DISPATCH, VTS_NONE)
  DISP_FUNCTION_ID(CHost, "DropOwned", kHostDropOwned, DropOwned, VT_EMPTY, VTS_NONE)
END_DISPATCH_MAP()

// The host's class is registered as the host registers its own: type names and the two categories that
// let pages script it.
class CHostFactory : public COleObjectFactory {
 public:
  CHostFactory() : COleObjectFactory(CLSID_OleTestHost, RUNTIME_CLASS(CHost), FALSE, OLETEST_HOST_PROGID) {
    SetTypeNames("Test Host", "Framework Test Host Automation");
    static const CATID safe[] = {CATID_SafeForScripting, CATID_SafeForInitializing};
    SetImplementedCategories(safe, 2);
  }
} g_hostFactory;

// An object every client shares while any holds it.
class CSingle : public CServed {
 public:
  ~CSingle() override;
  long m_value = 0;
  void OnValueChanged() {}
  long GetProcessId() { return long(GetCurrentProcessId()); }
  DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(CSingle, CCmdTarget)
  DISP_PROPERTY_NOTIFY_ID(CSingle, "Value", kSingleValue, m_value, OnValueChanged, VT_I4)
  DISP_PROPERTY_EX_ID(CSingle, "ProcessId", kSingleProcessId, GetProcessId, SetNotSupported, VT_I4)
END_DISPATCH_MAP()

class CSingleFactory : public COleObjectFactory {
 public:
  CSingleFactory() : COleObjectFactory(CLSID_OleTestSingle, NULL, FALSE, OLETEST_SINGLE_PROGID) {}
  CSingle* m_object = NULL;  // not counted: the object tells when it goes

  CCmdTarget* OnCreateObject() override {
    if (!m_object) return m_object = new CSingle;
    m_object->InternalAddRef();  // the reference the new client takes over
    return m_object;
  }
} g_singleFactory;

CSingle::~CSingle() { g_singleFactory.m_object = NULL; }

void LockForDocument(BOOL made) {
  if (made)
    AfxOleLockApp();
  else
    AfxOleUnlockApp();
}

class CServerApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    if (!AfxOleInit()) return FALSE;
    CCommandLineInfo info;
    ParseCommandLine(info);
    // The type library is registered with the classes, so that other processes can ask for the host's
    // dispinterface by its own identifier; the document object is no framework class and is registered by
    // hand.
    if (info.m_nShellCommand == CCommandLineInfo::AppRegister) {
      AfxOleRegisterTypeLib(AfxThisModule());
      AfxOleRegisterServerClass(CLSID_OleTestDocument, OLETEST_DOC_PROGID, "Test Document", "Framework Test Document",
                                OAT_DOC_OBJECT_SERVER, AfxThisModule());
      return ProcessShellCommand(info);
    }
    if (info.m_nShellCommand == CCommandLineInfo::AppUnregister) {
      AfxOleUnregisterTypeLib(LIBID_OrvAfxTestServer, 1, 0);
      AfxOleUnregisterServerClass(CLSID_OleTestDocument, OLETEST_DOC_PROGID);
      return ProcessShellCommand(info);
    }
    // Started by COM: serve until the last object goes. Started by a user: nothing to show.
    if (!info.m_bRunEmbedded && !info.m_bRunAutomated) return FALSE;
    doctest::SetLifetimeHook(&LockForDocument);
    IClassFactory* documents = doctest::NewFactory(CLSID_OleTestDocument, FALSE);
    HRESULT hr = CoRegisterClassObject(CLSID_OleTestDocument, documents, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                       &m_documentCookie);
    documents->Release();
    return SUCCEEDED(hr) && COleObjectFactory::RegisterAll();
  }
  int ExitInstance() override {
    if (m_documentCookie) CoRevokeClassObject(m_documentCookie);
    return CWinApp::ExitInstance();
  }

 private:
  DWORD m_documentCookie = 0;
} g_app;

}  // namespace
