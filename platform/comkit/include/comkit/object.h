// Reference counting, QueryInterface and creation for COM classes implemented in this suite.
//
// A class derives from comkit::Object<Self, IFoo, IBar> and implements only its interface methods;
// Object<> answers QueryInterface for IUnknown and each listed interface (and IDispatch for a dual
// interface), keeps the module loaded while the object lives and offers a CreatorFunc for the table.
#pragma once
#include <new>
#include <type_traits>
#include <oaidl.h>
#include "module.h"

namespace comkit {

template <class Derived, class First, class... Rest>
class Object : public First, public Rest... {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (iid == IID_IUnknown) {
      *ppv = static_cast<First*>(this);
    } else if (!(Answer<First>(iid, ppv) || (Answer<Rest>(iid, ppv) || ...))) {
      return static_cast<Derived*>(this)->QueryOther(iid, ppv);
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) delete static_cast<Derived*>(this);
    return left;
  }

  // CreatorFunc for the class table: a new object queried for iid, no aggregation.
  static HRESULT Create(IUnknown* outer, REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    Derived* object = new (std::nothrow) Derived();
    if (!object) return E_OUTOFMEMORY;
    HRESULT hr = object->QueryInterface(iid, ppv);
    object->Release();
    return hr;
  }

 protected:
  Object() : m_refs(1) { ThisModule().Lock(); }
  virtual ~Object() { ThisModule().Unlock(); }

  // Interfaces beyond the listed ones (e.g. an aggregated helper); none by default.
  HRESULT QueryOther(REFIID, void**) { return E_NOINTERFACE; }

 private:
  template <class I>
  bool Answer(REFIID iid, void** ppv) {
    if (iid == __uuidof(I) || (std::is_base_of<IDispatch, I>::value && iid == IID_IDispatch)) {
      *ppv = static_cast<I*>(this);
      return true;
    }
    return false;
  }

  volatile LONG m_refs;
};

}  // namespace comkit
