// CNXCategory over the component categories manager.
#include <cwchar>
#include <new>
#include <comkit/category.h>
#include "category.h"

namespace imagio {

cGUID::cGUID(const GUID& guid) : m_guid(new GUID(guid)) {}
cGUID::~cGUID() { delete m_guid; }

cGUIDList::~cGUIDList() {
  while (!m_list.IsEmpty()) delete static_cast<cGUID*>(m_list.RemoveHead());
}

bool cGUIDList::Add(const GUID& guid) {
  cGUID* held = new (std::nothrow) cGUID(guid);
  if (held && m_list.AddTail(held)) return true;
  delete held;
  return false;
}

CNXCategory::CNXCategory(const GUID& catid, const wchar_t* description)
    : m_catid(catid), m_info(nullptr), m_register(nullptr), m_com(CoInitialize(nullptr)) {
  wcsncpy(m_description, description, kDescriptionRoom - 1);
  m_description[kDescriptionRoom - 1] = L'\0';
  if (SUCCEEDED(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_ICatInformation, reinterpret_cast<void**>(&m_info)))) {
    if (FAILED(m_info->QueryInterface(IID_ICatRegister, reinterpret_cast<void**>(&m_register)))) {
      m_register = nullptr;
    }
  } else {
    m_info = nullptr;
  }
}

CNXCategory::~CNXCategory() {
  if (m_register) m_register->Release();
  if (m_info) m_info->Release();
  if (SUCCEEDED(m_com)) CoUninitialize();
}

HRESULT CNXCategory::RegisterCategory() {
  if (!m_register) return E_NOINTERFACE;
  CATEGORYINFO info = {};
  info.catid = m_catid;
  info.lcid = comkit::kCategoryLocale;
  wcsncpy(info.szDescription, m_description, sizeof(info.szDescription) / sizeof(info.szDescription[0]) - 1);
  return m_register->RegisterCategories(1, &info);
}

HRESULT CNXCategory::UnregisterCategory() {
  if (!m_register) return E_NOINTERFACE;
  return m_register->UnRegisterCategories(1, &m_catid);
}

HRESULT CNXCategory::RegisterClass(REFCLSID clsid) {
  if (!m_register) return E_NOINTERFACE;
  return m_register->RegisterClassImplCategories(clsid, 1, &m_catid);
}

HRESULT CNXCategory::UnregisterClass(REFCLSID clsid) {
  if (!m_register) return E_NOINTERFACE;
  return m_register->UnRegisterClassImplCategories(clsid, 1, &m_catid);
}

HRESULT CNXCategory::EnumClasses(cGUIDList& classes) {
  if (!m_info) return E_NOINTERFACE;
  IEnumCLSID* found = nullptr;
  HRESULT hr = m_info->EnumClassesOfCategories(1, &m_catid, 0, nullptr, &found);
  if (FAILED(hr)) return hr;
  CLSID clsid;
  ULONG fetched = 0;
  bool any = false;
  while ((hr = found->Next(1, &clsid, &fetched)) == S_OK && fetched == 1) {
    if (!classes.Add(clsid)) {
      hr = E_OUTOFMEMORY;
      break;
    }
    any = true;
  }
  found->Release();
  if (FAILED(hr)) return hr;
  return any ? S_OK : hr;
}

}  // namespace imagio
