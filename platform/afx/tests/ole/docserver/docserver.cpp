// afx_docserver.dll: the test document object in process (test code), registered as InprocServer32 by the
// container tests through its DllRegisterServer and removed with DllUnregisterServer.
#include <olectl.h>

#include "afxdisp.h"
#include "docobject.h"
#include "../server/ids.h"

namespace {
const struct {
  const CLSID* clsid;
  LPCSTR progId;
  BOOL refusing;
} kClasses[] = {
    {&CLSID_OleTestInprocDocument, OLETEST_INPROC_DOC_PROGID, FALSE},
    {&CLSID_OleTestRefusingDocument, OLETEST_REFUSING_DOC_PROGID, TRUE},
};
}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = NULL;
  for (const auto& c : kClasses) {
    if (*c.clsid != clsid) continue;
    IClassFactory* factory = doctest::NewFactory(clsid, c.refusing);
    HRESULT hr = factory->QueryInterface(iid, ppv);
    factory->Release();
    return hr;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return doctest::LiveObjects() == 0 ? S_OK : S_FALSE; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  for (const auto& c : kClasses)
    if (!AfxOleRegisterServerClass(*c.clsid, c.progId, "Test Document", "Framework Test Document",
                                   OAT_DOC_OBJECT_SERVER, AfxThisModule()))
      return SELFREG_E_CLASS;
  // Files of the test extension belong to the accepting document.
  if (RegSetValueA(HKEY_CLASSES_ROOT, OLETEST_DOC_EXTENSION, REG_SZ, OLETEST_INPROC_DOC_PROGID,
                   DWORD(lstrlenA(OLETEST_INPROC_DOC_PROGID))) != ERROR_SUCCESS)
    return SELFREG_E_CLASS;
  return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  for (const auto& c : kClasses) AfxOleUnregisterServerClass(*c.clsid, c.progId);
  RegDeleteKeyA(HKEY_CLASSES_ROOT, OLETEST_DOC_EXTENSION);
  return S_OK;
}

// Documents alive in this library, for the tests that check nothing is left behind.
extern "C" LONG WINAPI DocServerLiveObjects() { return doctest::LiveObjects(); }
