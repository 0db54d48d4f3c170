// The class factory of the context-menu extension: a new one for each DllGetClassObject call.
#pragma once
#include <windows.h>
#include <unknwn.h>

class cForgeExtClassFactory : public IClassFactory {
 public:
  cForgeExtClassFactory();
  virtual ~cForgeExtClassFactory();

  STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** ppv) override;
  // Does nothing: the live objects alone keep the DLL loaded.
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  volatile LONG m_refs;  // starts at 0; the first QueryInterface takes the caller's reference
};
