// Framework COM objects in a server module of the suite: a CCmdTarget class served by a DLL that uses
// platform/comkit keeps that DLL loaded while its objects live, as comkit's own objects do. List the class
// in the module's comkit class table with AfxComkitCreate<T>, or make objects handed out by the module as
// CComkitObject<T>. Included by servers that link both orv_comkit and orvafx.
#pragma once
#include <new>
#include <utility>
#include "comkit/module.h"
#include "afxwin.h"

// T holding its module's lock (comkit::ThisModule()) from construction to destruction.
template <class T>
class CComkitObject : public T {
 public:
  template <class... Args>
  explicit CComkitObject(Args&&... args) : T(std::forward<Args>(args)...) {
    comkit::ThisModule().Lock();
  }
  ~CComkitObject() override { comkit::ThisModule().Unlock(); }
};

// A comkit::CreatorFunc for the CCmdTarget class T: a new object, aggregated under outer or queried for iid.
template <class T>
HRESULT AfxComkitCreate(IUnknown* outer, REFIID iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = NULL;
  CComkitObject<T>* object = new (std::nothrow) CComkitObject<T>();
  if (!object) return E_OUTOFMEMORY;
  return object->HandToCreator(outer, iid, ppv);
}
