// Self-registration of a server's classes, ProgIDs, categories and type library from its class table.
#include <string>
#include <olectl.h>
#include <shlwapi.h>
#include "comkit/category.h"
#include "comkit/holders.h"
#include "comkit/module.h"
#include "comkit/module_files.h"

namespace comkit {

namespace {

const int kGuidTextLength = 39;  // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" and its terminator

std::string GuidText(REFGUID guid) {
  wchar_t wide[kGuidTextLength];
  StringFromGUID2(guid, wide, kGuidTextLength);
  return Narrow(wide);
}

// Sets a string value (name null: the key's default value) under HKEY_CLASSES_ROOT\key.
bool SetClassesValue(const std::string& key, const char* name, const std::string& value) {
  HKEY hkey;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &hkey, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  LONG result = RegSetValueExA(hkey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>(value.size() + 1));
  RegCloseKey(hkey);
  return result == ERROR_SUCCESS;
}

bool RegisterProgId(const char* progId, const ClassEntry& entry, const std::string& clsid, const char* curVer) {
  std::string key(progId);
  bool ok = SetClassesValue(key, nullptr, entry.description) && SetClassesValue(key + "\\CLSID", nullptr, clsid);
  if (ok && curVer) ok = SetClassesValue(key + "\\CurVer", nullptr, curVer);
  return ok;
}

bool RegisterClassKeys(const ClassEntry& entry, const std::string& serverPath, const TypeLibInfo* typeLib) {
  std::string clsid = GuidText(*entry.clsid);
  std::string key = "CLSID\\" + clsid;
  bool ok = SetClassesValue(key, nullptr, entry.description) &&
            SetClassesValue(key + "\\InprocServer32", nullptr, serverPath);
  if (ok && entry.threadingModel) ok = SetClassesValue(key + "\\InprocServer32", "ThreadingModel", entry.threadingModel);
  if (ok && entry.progId) {
    ok = SetClassesValue(key + "\\ProgID", nullptr, entry.progId) && RegisterProgId(entry.progId, entry, clsid, nullptr);
  }
  if (ok && entry.versionIndependentProgId) {
    ok = SetClassesValue(key + "\\VersionIndependentProgID", nullptr, entry.versionIndependentProgId) &&
         RegisterProgId(entry.versionIndependentProgId, entry, clsid, entry.progId);
  }
  if (ok && typeLib) ok = SetClassesValue(key + "\\TypeLib", nullptr, GuidText(*typeLib->libid));
  return ok;
}

void DeleteClassesKey(const std::string& key) { SHDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str()); }

// The category manager is an in-process COM object; registration may run on a thread without COM.
class ComScope {
 public:
  ComScope() : m_hr(CoInitialize(nullptr)) {}
  ~ComScope() { if (SUCCEEDED(m_hr)) CoUninitialize(); }
 private:
  HRESULT m_hr;
};

}  // namespace

HRESULT Module::RegisterServer() {
  ComScope com;
  std::string serverPath = ModulePath(Instance());
  if (serverPath.empty()) return SELFREG_E_CLASS;
  for (unsigned i = 0; i < m_count; ++i) {
    if (!RegisterClassKeys(m_classes[i], serverPath, m_typeLib)) return SELFREG_E_CLASS;
  }
  if (m_typeLib) {
    ITypeLib* typeLib = nullptr;
    HRESULT hr = LoadTypeLibEx(Widen(serverPath.c_str()).c_str(), REGKIND_REGISTER, &typeLib);
    if (FAILED(hr)) return SELFREG_E_TYPELIB;
    typeLib->Release();
  }
  for (unsigned i = 0; i < m_count; ++i) {
    const ClassEntry& entry = m_classes[i];
    for (unsigned c = 0; c < entry.categoryCount; ++c) {
      HRESULT hr = RegisterCategory(*entry.categories[c].catid, entry.categories[c].description);
      if (SUCCEEDED(hr)) hr = RegisterClassInCategory(*entry.clsid, *entry.categories[c].catid);
      if (FAILED(hr)) return hr;
    }
  }
  return S_OK;
}

// Removes what RegisterServer wrote, except the categories themselves, which other servers share.
// Keys that are already gone are not an error.
HRESULT Module::UnregisterServer() {
  ComScope com;
  for (unsigned i = 0; i < m_count; ++i) {
    const ClassEntry& entry = m_classes[i];
    for (unsigned c = 0; c < entry.categoryCount; ++c) {
      UnregisterClassFromCategory(*entry.clsid, *entry.categories[c].catid);
    }
    if (entry.progId) DeleteClassesKey(entry.progId);
    if (entry.versionIndependentProgId) DeleteClassesKey(entry.versionIndependentProgId);
    DeleteClassesKey("CLSID\\" + GuidText(*entry.clsid));
  }
  if (m_typeLib) UnRegisterTypeLib(*m_typeLib->libid, m_typeLib->major, m_typeLib->minor, LANG_NEUTRAL, SYS_WIN32);
  return S_OK;
}

}  // namespace comkit
