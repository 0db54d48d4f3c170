// A component library's start and end in the host process, its class objects and its registration.
#include <new>
#include <string>
#include <shlwapi.h>
#include "comkit/category.h"
#include "comkit/module_files.h"
#include "framework/NXComponent.h"
#include "framework/NXComponentServer.h"
#include "chain.h"

namespace nxframework {

namespace {

const int kGuidTextLength = 39;  // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" and its terminator

// What a class's registration writes under its key below CLSID, besides the description.
const char* const kClassSubkeys[] = {"InprocServer32", "ProgID", "VersionIndependentProgID"};

// The category manager is an in-process COM object; registration may run on a thread without COM.
class ComScope {
 public:
  ComScope() : m_hr(CoInitialize(NULL)) {}
  ~ComScope() {
    if (SUCCEEDED(m_hr)) CoUninitialize();
  }

 private:
  HRESULT m_hr;
};

std::string ClassKey(REFCLSID clsid) {
  wchar_t wide[kGuidTextLength];
  StringFromGUID2(clsid, wide, kGuidTextLength);
  char text[kGuidTextLength];
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text, kGuidTextLength, NULL, NULL);
  return std::string("CLSID\\") + text;
}

// Takes the class's keys out; its key below CLSID goes only when nothing else is left in it (the entries
// that list the categories it implements stay).
void UnregisterClassKeys(const comkit::ClassEntry& entry) {
  if (entry.progId) SHDeleteKeyA(HKEY_CLASSES_ROOT, entry.progId);
  if (entry.versionIndependentProgId) SHDeleteKeyA(HKEY_CLASSES_ROOT, entry.versionIndependentProgId);
  std::string key = ClassKey(*entry.clsid);
  HKEY classKey;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_ALL_ACCESS, &classKey) != ERROR_SUCCESS) return;
  for (const char* subkey : kClassSubkeys) SHDeleteKeyA(classKey, subkey);
  RegDeleteValueA(classKey, NULL);
  RegCloseKey(classKey);
  RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
}

}  // namespace

ComponentModule::ComponentModule() : m_extension(), m_resources(NULL), m_started(FALSE) {
  InitializeCriticalSection(&m_lock);
}

BOOL ComponentModule::Attach(HINSTANCE module) { return AfxInitExtensionModule(m_extension, module); }

HRESULT ComponentModule::Start() {
  EnterCriticalSection(&m_lock);
  HRESULT hr = S_OK;
  if (!m_started) {
    try {
      new CDynLinkLibrary(m_extension);
      m_started = TRUE;
    } catch (const std::bad_alloc&) {
      hr = E_OUTOFMEMORY;
    }
  }
  LeaveCriticalSection(&m_lock);
  return hr;
}

void ComponentModule::Detach(BOOL processEnding) {
  AfxTermExtensionModule(m_extension);
  // At process end the system unloads it anyway; freeing it then is not allowed.
  if (m_resources && !processEnding) FreeLibrary(m_resources);
  m_resources = NULL;
}

HINSTANCE ComponentModule::Instance() const {
  return m_extension.hModule ? m_extension.hModule : comkit::CurrentModule();
}

HINSTANCE ComponentModule::ResourceInstance() const { return m_resources ? m_resources : Instance(); }

BOOL ComponentModule::UseResourceLibrary(LPCSTR fileName) {
  HINSTANCE loaded = comkit::LoadSiblingLibrary(Instance(), fileName);
  if (!loaded) return FALSE;
  EnterCriticalSection(&m_lock);
  BOOL ours = !m_resources || m_resources == loaded;
  BOOL first = !m_resources;
  if (first) m_resources = loaded;
  LeaveCriticalSection(&m_lock);
  // The library keeps one reference to its resource library, taken by the first load.
  if (!first) FreeLibrary(loaded);
  if (!ours) return FALSE;
  ChainLock lock;
  for (CDynLinkLibrary* library = AfxGetFirstDynLinkLibrary(); library; library = library->m_pNextDLL)
    if (library->m_hModule == Instance()) library->m_hResource = m_resources;
  return TRUE;
}

ComponentModule& ThisComponentModule() {
  static ComponentModule module;
  return module;
}

HRESULT RegisterComponentServer(const comkit::ClassEntry* classes, unsigned count) {
  ComScope com;
  HRESULT hr = comkit::RegisterCategory(CATID_NXComponents, kNXComponentsDescription);
  if (FAILED(hr)) return hr;
  for (unsigned i = 0; i < count; ++i) {
    hr = comkit::RegisterClassInCategory(*classes[i].clsid, CATID_NXComponents);
    if (FAILED(hr)) return hr;
  }
  return comkit::ThisModule().RegisterServer();
}

HRESULT UnregisterComponentServer(const comkit::ClassEntry* classes, unsigned count) {
  ComScope com;
  for (unsigned i = 0; i < count; ++i) {
    for (unsigned c = 0; c < classes[i].categoryCount; ++c)
      comkit::UnregisterClassFromCategory(*classes[i].clsid, *classes[i].categories[c].catid);
    UnregisterClassKeys(classes[i]);
  }
  return S_OK;
}

HRESULT GetComponentClassObject(REFCLSID clsid, REFIID iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = NULL;
  HRESULT hr = ThisComponentModule().Start();
  if (FAILED(hr)) return hr;
  return comkit::ThisModule().GetClassObject(clsid, iid, ppv);
}

}  // namespace nxframework
