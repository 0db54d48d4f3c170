// Entry points of OrvaneExt.dll: the loader's DllMain and the two COM exports the shell calls.
#include "module.h"

#include <new>

#include "classfactory.h"
#include "orvaneext/OrvaneExt.h"

namespace orvext {
namespace {

HINSTANCE g_instance = nullptr;
volatile LONG g_lockCount = 0;

}  // namespace

HINSTANCE ModuleInstance() { return g_instance; }
void LockModule() { InterlockedIncrement(&g_lockCount); }
void UnlockModule() { InterlockedDecrement(&g_lockCount); }
LONG ModuleLockCount() { return g_lockCount; }

}  // namespace orvext

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      orvext::g_instance = instance;
      orvext::Trace("In DLLMain, DLL_PROCESS_ATTACH\r\n");
      DisableThreadLibraryCalls(instance);
      break;
    case DLL_PROCESS_DETACH:
      orvext::Trace("In DLLMain, DLL_PROCESS_DETACH\r\n");
      break;
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
  orvext::Trace("In DLLCanUnloadNow\r\n");
  return orvext::ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** ppv) {
  orvext::Trace("In DllGetClassObject\r\n");
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualCLSID(clsid, orvext::kClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  cForgeExtClassFactory* factory = new (std::nothrow) cForgeExtClassFactory();
  if (!factory) return E_OUTOFMEMORY;
  // The factory starts unreferenced: a refused interface leaves nobody to release it.
  const HRESULT hr = factory->QueryInterface(iid, ppv);
  if (FAILED(hr)) delete factory;
  return hr;
}
