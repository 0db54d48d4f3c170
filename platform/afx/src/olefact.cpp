// Object factories of framework classes: COM registration while the program runs, server entries in the
// registry, implemented categories.
#include "afxdisp.h"
#include "state.h"

IMPLEMENT_DYNAMIC(COleObjectFactory, CCmdTarget)

// Every factory of the process, in construction order (newest first).
struct FactoryList {
  CRITICAL_SECTION lock;
  COleObjectFactory* head = NULL;
  FactoryList() { InitializeCriticalSection(&lock); }
  ~FactoryList() { DeleteCriticalSection(&lock); }
  static FactoryList& Get() {
    static FactoryList list;
    return list;
  }
  void Add(COleObjectFactory* factory) {
    EnterCriticalSection(&lock);
    factory->m_pNextFactory = head;
    head = factory;
    LeaveCriticalSection(&lock);
  }
  void Remove(COleObjectFactory* factory) {
    EnterCriticalSection(&lock);
    for (COleObjectFactory** p = &head; *p; p = &(*p)->m_pNextFactory) {
      if (*p == factory) {
        *p = factory->m_pNextFactory;
        break;
      }
    }
    LeaveCriticalSection(&lock);
  }
  // Calls f on every factory of module (all for null); true when f was true for each.
  template <class F>
  BOOL ForEach(HMODULE module, F f) {
    EnterCriticalSection(&lock);
    BOOL all = TRUE;
    for (COleObjectFactory* p = head; p; p = p->m_pNextFactory)
      if (!module || p->m_hModule == module) all = f(p) && all;
    LeaveCriticalSection(&lock);
    return all;
  }
};

BEGIN_INTERFACE_MAP(COleObjectFactory, CCmdTarget)
  INTERFACE_PART(COleObjectFactory, IID_IClassFactory, ClassFactory)
END_INTERFACE_MAP()

DELEGATE_IUNKNOWN(COleObjectFactory, ClassFactory)

COleObjectFactory::COleObjectFactory(REFCLSID clsid, CRuntimeClass* runtimeClass, BOOL multiInstance, LPCSTR progId,
                                     HMODULE module)
    : m_clsid(clsid), m_pRuntimeClass(runtimeClass), m_bMultiInstance(multiInstance), m_strProgID(progId),
      m_hModule(module), m_dwRegister(0), m_nAppType(OAT_DISPATCH_OBJECT), m_nCategories(0), m_pNextFactory(NULL) {
  FactoryList::Get().Add(this);
}

COleObjectFactory::~COleObjectFactory() {
  Revoke();
  FactoryList::Get().Remove(this);
}

BOOL COleObjectFactory::Register() {
  if (m_dwRegister) return TRUE;
  // A single-use class gets a new server process for each object; a multiple-use one serves them all.
  HRESULT hr = CoRegisterClassObject(m_clsid, reinterpret_cast<IUnknown*>(&m_xClassFactory), CLSCTX_LOCAL_SERVER,
                                     m_bMultiInstance ? REGCLS_SINGLEUSE : REGCLS_MULTIPLEUSE, &m_dwRegister);
  if (FAILED(hr)) m_dwRegister = 0;
  return SUCCEEDED(hr);
}

void COleObjectFactory::Revoke() {
  if (!m_dwRegister) return;
  CoRevokeClassObject(m_dwRegister);
  m_dwRegister = 0;
}

BOOL PASCAL COleObjectFactory::RegisterAll(HMODULE module) {
  return FactoryList::Get().ForEach(module, [](COleObjectFactory* f) { return f->Register(); });
}

void PASCAL COleObjectFactory::RevokeAll() {
  FactoryList::Get().ForEach(NULL, [](COleObjectFactory* f) {
    f->Revoke();
    return TRUE;
  });
}

BOOL PASCAL COleObjectFactory::UpdateRegistryAll(BOOL registering, HMODULE module) {
  return FactoryList::Get().ForEach(module, [registering](COleObjectFactory* f) { return f->UpdateRegistry(registering); });
}

void COleObjectFactory::SetImplementedCategories(const CATID* categories, int count) {
  if (count < 0 || count > kMaxCategories) AfxThrowNotSupportedException();
  for (int i = 0; i < count; ++i) m_categories[i] = categories[i];
  m_nCategories = count;
}

BOOL COleObjectFactory::UpdateRegistry(BOOL registering) {
  if (!registering) {
    if (m_nCategories) AfxOleRegisterImplementedCategories(m_clsid, m_categories, m_nCategories, FALSE);
    return AfxOleUnregisterServerClass(m_clsid, m_strProgID);
  }
  LPCSTR longName = m_strLongName.IsEmpty() ? LPCSTR(m_strProgID) : LPCSTR(m_strLongName);
  LPCSTR shortName = m_strShortName.IsEmpty() ? longName : LPCSTR(m_strShortName);
  if (!AfxOleRegisterServerClass(m_clsid, m_strProgID, shortName, longName, m_nAppType, m_hModule)) return FALSE;
  return m_nCategories == 0 ||
         SUCCEEDED(AfxOleRegisterImplementedCategories(m_clsid, m_categories, m_nCategories, TRUE));
}

CCmdTarget* COleObjectFactory::OnCreateObject() {
  if (!m_pRuntimeClass) AfxThrowNotSupportedException();
  CObject* object = m_pRuntimeClass->CreateObject();
  CCmdTarget* target = dynamic_cast<CCmdTarget*>(object);
  if (!target) {
    delete object;
    AfxThrowNotSupportedException();
  }
  return target;
}

STDMETHODIMP COleObjectFactory::XClassFactory::CreateInstance(LPUNKNOWN outer, REFIID iid, LPVOID* ppv) {
  METHOD_PROLOGUE(COleObjectFactory, ClassFactory)
  if (!ppv) return E_POINTER;
  *ppv = NULL;
  CCmdTarget* object = NULL;
  try {
    object = pThis->OnCreateObject();
  } catch (...) {
    CException* e = afxstate::CurrentExceptionAsFramework();
    HRESULT hr = COleException::Process(e);
    e->Delete();
    return hr;
  }
  if (!object) return E_FAIL;
  // An object that others hold already cannot take an outer object's identity.
  if (outer && object->m_dwRef != 1) {
    object->InternalRelease();
    return CLASS_E_NOAGGREGATION;
  }
  return object->HandToCreator(outer, iid, ppv);
}

STDMETHODIMP COleObjectFactory::XClassFactory::LockServer(BOOL lock) {
  if (lock)
    AfxOleLockApp();
  else
    AfxOleUnlockApp();
  return S_OK;
}

// ---------------------------------------------------------------------------------------------
// Registry entries.

namespace {

CString ClsidString(REFCLSID clsid) {
  WCHAR wide[40];
  StringFromGUID2(clsid, wide, 40);
  char text[40];
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, NULL, NULL);
  return text;
}

BOOL SetKey(LPCSTR key, LPCSTR valueName, LPCSTR value) {
  HKEY h = NULL;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE, NULL, &h, NULL) != ERROR_SUCCESS)
    return FALSE;
  LONG rc = ERROR_SUCCESS;
  if (value) rc = RegSetValueExA(h, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), DWORD(lstrlenA(value) + 1));
  RegCloseKey(h);
  return rc == ERROR_SUCCESS;
}

CString GetKey(LPCSTR key) {
  char value[MAX_PATH] = "";
  LONG size = sizeof value;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, key, value, &size) != ERROR_SUCCESS) return CString();
  return value;
}

// Deletes key with everything below it; true when it is gone.
BOOL DeleteTree(HKEY parent, LPCSTR key) {
  HKEY h = NULL;
  LONG rc = RegOpenKeyExA(parent, key, 0, KEY_READ | KEY_WRITE, &h);
  if (rc == ERROR_FILE_NOT_FOUND) return TRUE;
  if (rc != ERROR_SUCCESS) return FALSE;
  char child[256];
  for (;;) {
    DWORD size = sizeof child;
    if (RegEnumKeyExA(h, 0, child, &size, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
    if (!DeleteTree(h, child)) break;
  }
  RegCloseKey(h);
  return RegDeleteKeyA(parent, key) == ERROR_SUCCESS;
}

BOOL IsProgram(HMODULE module) {
  const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
  const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(module) + dos->e_lfanew);
  return (nt->FileHeader.Characteristics & IMAGE_FILE_DLL) == 0;
}

}  // namespace

BOOL AFXAPI AfxOleRegisterServerClass(REFCLSID clsid, LPCSTR progId, LPCSTR shortName, LPCSTR longName,
                                      OLE_APPTYPE appType, HMODULE module) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return FALSE;
  CString clsidText = ClsidString(clsid);
  CString classKey = "CLSID\\" + clsidText;
  BOOL ok = TRUE;
  if (progId && *progId) {
    CString progKey(progId);
    ok = ok && SetKey(progKey, NULL, longName) && SetKey(progKey + "\\CLSID", NULL, clsidText);
    ok = ok && SetKey(classKey + "\\ProgID", NULL, progId);
  }
  ok = ok && SetKey(classKey, NULL, longName) && SetKey(classKey + "\\AuxUserType\\2", NULL, shortName);
  if (IsProgram(module)) {
    // COM adds -Embedding when it starts the program; automation objects are started as such.
    CString command = CString("\"") + path + "\"";
    if (appType == OAT_DISPATCH_OBJECT) command += " /Automation";
    ok = ok && SetKey(classKey + "\\LocalServer32", NULL, command);
    // Containers create embedded objects in process: through the system's default handler, which starts
    // the program when the object runs.
    if (appType != OAT_DISPATCH_OBJECT) ok = ok && SetKey(classKey + "\\InprocHandler32", NULL, "ole32.dll");
  } else {
    ok = ok && SetKey(classKey + "\\InprocServer32", NULL, path) &&
         SetKey(classKey + "\\InprocServer32", "ThreadingModel", "Apartment");
  }
  if (appType == OAT_DISPATCH_OBJECT) ok = ok && SetKey(classKey + "\\Programmable", NULL, NULL);
  if (appType == OAT_DOC_OBJECT_SERVER) ok = ok && SetKey(classKey + "\\DocObject", NULL, "0");
  if (appType == OAT_SERVER || appType == OAT_INPLACE_SERVER) {
    ok = ok && SetKey(classKey + "\\Insertable", NULL, NULL);
    if (progId && *progId) ok = ok && SetKey(CString(progId) + "\\Insertable", NULL, NULL);
  }
  return ok;
}

BOOL AFXAPI AfxOleUnregisterServerClass(REFCLSID clsid, LPCSTR progId) {
  CString clsidText = ClsidString(clsid);
  BOOL ok = TRUE;
  if (progId && *progId && GetKey(CString(progId) + "\\CLSID").CompareNoCase(clsidText) == 0)
    ok = DeleteTree(HKEY_CLASSES_ROOT, progId);
  HKEY classes = NULL;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, KEY_READ | KEY_WRITE, &classes) == ERROR_SUCCESS) {
    ok = DeleteTree(classes, clsidText) && ok;
    RegCloseKey(classes);
  }
  return ok;
}

HRESULT AFXAPI AfxOleRegisterImplementedCategories(REFCLSID clsid, const CATID* categories, int count, BOOL registering) {
  // Registration may run before the program started OLE (a /RegServer start).
  HRESULT init = CoInitialize(NULL);
  ICatRegister* catRegister = NULL;
  HRESULT hr = CoCreateInstance(CLSID_StdComponentCategoriesMgr, NULL, CLSCTX_INPROC_SERVER, IID_ICatRegister,
                                reinterpret_cast<void**>(&catRegister));
  if (SUCCEEDED(hr)) {
    CATID* list = const_cast<CATID*>(categories);
    hr = registering ? catRegister->RegisterClassImplCategories(clsid, ULONG(count), list)
                     : catRegister->UnRegisterClassImplCategories(clsid, ULONG(count), list);
    catRegister->Release();
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return hr;
}
