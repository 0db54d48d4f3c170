// cNXComponent: the component's template, settings, resources and place in the host's resource chain.
#include "comkit/module_files.h"
#include "framework/NXComponent.h"
#include "framework/NXComponentServer.h"
#include "chain.h"

const IID IID_INXComponent = __uuidof(INXComponent);
const CATID CATID_NXComponents = __uuidof(INXComponent);
const wchar_t* const kNXComponentsDescription = L"NXComponents";

CRuntimeClass cNXComponent::classcNXComponent = {"cNXComponent", int(sizeof(cNXComponent)), AFX_NOT_SERIAL_SCHEMA,
                                                 NULL, NULL};

using nxframework::ChainLock;

namespace {

// Makes a module the host's resource module while the guard lives.
class ResourceScope {
 public:
  explicit ResourceScope(HINSTANCE module) : m_previous(AfxGetResourceHandle()) { AfxSetResourceHandle(module); }
  ~ResourceScope() { AfxSetResourceHandle(m_previous); }

 private:
  HINSTANCE m_previous;
};

class RegistryKey {
 public:
  RegistryKey() : m_key(NULL) {}
  ~RegistryKey() {
    if (m_key) RegCloseKey(m_key);
  }
  BOOL Open(LPCSTR path) {
    return RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &m_key) == ERROR_SUCCESS;
  }
  BOOL OpenOrCreate(LPCSTR path) {
    return RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &m_key,
                           NULL) == ERROR_SUCCESS;
  }
  operator HKEY() const { return m_key; }

 private:
  HKEY m_key;
};

// The library's live components (the user-interface thread's only).
CPtrList& LiveComponents() {
  static CPtrList live;
  return live;
}

}  // namespace

cNXComponent* cNXComponent::FromTemplate(CDocTemplate* docTemplate) {
  if (!docTemplate) return NULL;
  for (POSITION pos = LiveComponents().GetHeadPosition(); pos;) {
    cNXComponent* component = static_cast<cNXComponent*>(LiveComponents().GetNext(pos));
    if (component->m_pDocTemplate == docTemplate) return component;
  }
  return NULL;
}

cNXComponent::cNXComponent()
    : m_dwReserved(0), m_pDocTemplate(NULL), m_hMergedMenu(NULL), m_menuWidths(), m_pAuxiliaryMenu(NULL),
      m_hHelpPopup(NULL), m_pFrameHelper(NULL), m_pLibrary(NULL) {
  char path[MAX_PATH] = "";
  DWORD length = GetModuleFileNameA(comkit::CurrentModule(), path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) m_strModulePath = path;
  LiveComponents().AddTail(this);
}

cNXComponent::cNXComponent(const cNXComponent& other)
    : INXComponent(), m_dwReserved(0), m_pDocTemplate(NULL), m_hMergedMenu(NULL), m_menuWidths(),
      m_pAuxiliaryMenu(NULL), m_hHelpPopup(NULL), m_pFrameHelper(NULL), m_pLibrary(NULL) {
  CopySettings(other);
  LiveComponents().AddTail(this);
}

cNXComponent& cNXComponent::operator=(const cNXComponent& other) {
  if (this != &other) {
    // The merged menu was built from the template being replaced.
    DestroyMergedMenu();
    CopySettings(other);
  }
  return *this;
}

void cNXComponent::CopySettings(const cNXComponent& other) {
  m_dwReserved = other.m_dwReserved;
  m_pDocTemplate = other.m_pDocTemplate;
  m_strModulePath = other.m_strModulePath;
  m_strRegistryKey = other.m_strRegistryKey;
  m_pLibrary = other.m_pLibrary;
}

cNXComponent::~cNXComponent() {
  if (POSITION pos = LiveComponents().Find(this)) LiveComponents().RemoveAt(pos);
  if (m_pAuxiliaryMenu) {
    // Its first item is shared with another menu and must outlive it.
    m_pAuxiliaryMenu->RemoveMenu(0, MF_BYPOSITION);
    delete m_pAuxiliaryMenu;
  }
  if (m_hMergedMenu) DestroyMergedMenu();
}

CRuntimeClass* cNXComponent::GetRuntimeClass() const { return RUNTIME_CLASS(cNXComponent); }

BOOL cNXComponent::Initialize() {
  m_pLibrary = FindLibraryRecord();
  if (!m_pLibrary) return FALSE;
  if (!LoadResources()) return FALSE;
  BOOL created = FALSE;
  {
    // The template finds its strings and menus in the component's own resources first.
    ResourceScope scope(GetResourceInstance());
    try {
      created = CreateDocTemplate(AfxGetApp());
    } catch (CException* e) {
      e->Delete();
    }
  }
  if (created) ActivateResources();
  return created;
}

CDocTemplate* cNXComponent::GetDocTemplate() { return m_pDocTemplate; }

CString cNXComponent::GetModulePath() { return m_strModulePath; }

void cNXComponent::ActivateResources() {
  ChainLock lock;
  if (m_pLibrary && AfxGetFirstDynLinkLibrary() != m_pLibrary) AfxMoveDynLinkLibraryToHead(m_pLibrary);
}

HINSTANCE cNXComponent::GetResourceInstance() { return nxframework::ThisComponentModule().ResourceInstance(); }

BOOL cNXComponent::CreateDocTemplate(CWinApp* app) { return app && m_pDocTemplate; }

HMENU cNXComponent::GetMergedMenu() { return m_hMergedMenu; }

void cNXComponent::SetFrameHelper(cNXFrameHelper* helper) { m_pFrameHelper = helper; }

cNXFrameHelper* cNXComponent::GetFrameHelper() { return m_pFrameHelper; }

CString cNXComponent::GetRegistryKey() { return m_strRegistryKey; }

CString cNXComponent::ProfileKey(LPCSTR section) const { return m_strRegistryKey + "\\" + section; }

int cNXComponent::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue) {
  RegistryKey key;
  if (!key.Open(ProfileKey(section))) return defaultValue;
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExA(key, entry, NULL, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return defaultValue;
  return int(value);
}

CString cNXComponent::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue) {
  RegistryKey key;
  DWORD type = 0, size = 0;
  if (!key.Open(ProfileKey(section)) || RegQueryValueExA(key, entry, NULL, &type, NULL, &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return defaultValue;
  CString value;
  // Room for a terminator the stored text may lack.
  LPSTR buffer = value.GetBuffer(int(size) + 1);
  LONG rc = RegQueryValueExA(key, entry, NULL, &type, reinterpret_cast<BYTE*>(buffer), &size);
  buffer[rc == ERROR_SUCCESS ? size : 0] = 0;
  value.ReleaseBuffer();
  if (rc != ERROR_SUCCESS || type != REG_SZ) return defaultValue;
  return value;
}

BOOL cNXComponent::WriteProfileInt(LPCSTR section, LPCSTR entry, int value) {
  RegistryKey key;
  DWORD data = DWORD(value);
  return key.OpenOrCreate(ProfileKey(section)) &&
         RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}

BOOL cNXComponent::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value) {
  RegistryKey key;
  return key.OpenOrCreate(ProfileKey(section)) &&
         RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), DWORD(lstrlenA(value) + 1)) ==
             ERROR_SUCCESS;
}

CMenu* cNXComponent::GetMainMenu(int* position) {
  CWnd* main = AfxGetMainWnd();
  CFrameWnd* frame = main ? main->GetTopLevelFrame() : NULL;
  if (!frame || !::IsMenu(frame->m_hMenuDefault)) return NULL;
  if (position) *position = ::GetMenuItemCount(frame->m_hMenuDefault) - 1;
  return CMenu::FromHandle(frame->m_hMenuDefault);
}

CDynLinkLibrary* cNXComponent::FindLibraryRecord() {
  HMODULE self = nxframework::ThisComponentModule().Instance();
  ChainLock lock;
  for (CDynLinkLibrary* library = AfxGetFirstDynLinkLibrary(); library; library = library->m_pNextDLL)
    if (library->m_hModule == self) return library;
  return NULL;
}

BOOL cNXComponent::LoadResources() { return TRUE; }

BOOL cNXComponent::LoadResourceLibrary(LPCSTR fileName) {
  return nxframework::ThisComponentModule().UseResourceLibrary(fileName);
}

BOOL cNXComponent::InstallDocTemplate(CWinApp* app, CDocTemplate* docTemplate, UINT resourceId) {
  if (!app || !docTemplate) {
    delete docTemplate;
    return FALSE;
  }
  // The menus first: a template the application holds must be complete, since it outlives the component.
  try {
    docTemplate->SetServerInfo(resourceId, resourceId);
  } catch (CException* e) {
    e->Delete();
    delete docTemplate;
    return FALSE;
  }
  app->AddDocTemplate(docTemplate);
  m_pDocTemplate = docTemplate;
  return TRUE;
}
