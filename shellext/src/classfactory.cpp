// The class factory of the context-menu extension.
#include "classfactory.h"

#include <new>

#include "forgeext.h"
#include "module.h"

cForgeExtClassFactory::cForgeExtClassFactory() : m_refs(0) {
  orvext::Trace("cForgeExtClassFactory::cForgeExtClassFactory()\r\n");
  orvext::LockModule();
}

cForgeExtClassFactory::~cForgeExtClassFactory() { orvext::UnlockModule(); }

STDMETHODIMP cForgeExtClassFactory::QueryInterface(REFIID iid, void** ppv) {
  orvext::Trace("cForgeExtClassFactory::QueryInterface()\r\n");
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
  *ppv = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) cForgeExtClassFactory::AddRef() { return InterlockedIncrement(&m_refs); }

STDMETHODIMP_(ULONG) cForgeExtClassFactory::Release() {
  const LONG left = InterlockedDecrement(&m_refs);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP cForgeExtClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** ppv) {
  orvext::Trace("cForgeExtClassFactory::CreateInstance()\r\n");
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  cForgeExt* object = new (std::nothrow) cForgeExt();
  if (!object) return E_OUTOFMEMORY;
  // The object starts unreferenced: a refused interface leaves nobody to release it.
  const HRESULT hr = object->QueryInterface(iid, ppv);
  if (FAILED(hr)) delete object;
  return hr;
}

STDMETHODIMP cForgeExtClassFactory::LockServer(BOOL) { return S_OK; }
