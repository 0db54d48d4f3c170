// Component category registration and enumeration over the system's component categories manager.
#include <cwchar>
#include "comkit/category.h"
#include "comkit/holders.h"

namespace comkit {

namespace {

template <class I>
HRESULT CategoryManager(ComPtr<I>& out) {
  return CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER, __uuidof(I),
                          out.PutVoid());
}

}  // namespace

HRESULT RegisterCategory(REFCATID catid, const wchar_t* description) {
  ComPtr<ICatRegister> manager;
  HRESULT hr = CategoryManager(manager);
  if (FAILED(hr)) return hr;
  CATEGORYINFO info = {};
  info.catid = catid;
  info.lcid = kCategoryLocale;
  const size_t room = sizeof(info.szDescription) / sizeof(info.szDescription[0]);
  wcsncpy(info.szDescription, description, room - 1);
  return manager->RegisterCategories(1, &info);
}

HRESULT UnregisterCategory(REFCATID catid) {
  ComPtr<ICatRegister> manager;
  HRESULT hr = CategoryManager(manager);
  if (FAILED(hr)) return hr;
  CATID id = catid;
  return manager->UnRegisterCategories(1, &id);
}

HRESULT RegisterClassInCategory(REFCLSID clsid, REFCATID catid) {
  ComPtr<ICatRegister> manager;
  HRESULT hr = CategoryManager(manager);
  if (FAILED(hr)) return hr;
  CATID id = catid;
  return manager->RegisterClassImplCategories(clsid, 1, &id);
}

HRESULT UnregisterClassFromCategory(REFCLSID clsid, REFCATID catid) {
  ComPtr<ICatRegister> manager;
  HRESULT hr = CategoryManager(manager);
  if (FAILED(hr)) return hr;
  CATID id = catid;
  return manager->UnRegisterClassImplCategories(clsid, 1, &id);
}

HRESULT EnumClassesInCategory(REFCATID catid, std::vector<CLSID>& classes) {
  classes.clear();
  ComPtr<ICatInformation> manager;
  HRESULT hr = CategoryManager(manager);
  if (FAILED(hr)) return hr;
  ComPtr<IEnumCLSID> found;
  CATID id = catid;
  hr = manager->EnumClassesOfCategories(1, &id, 0, nullptr, &found);
  if (FAILED(hr)) return hr;
  CLSID clsid;
  ULONG fetched = 0;
  while (found->Next(1, &clsid, &fetched) == S_OK && fetched == 1) classes.push_back(clsid);
  return classes.empty() ? S_FALSE : S_OK;
}

}  // namespace comkit
