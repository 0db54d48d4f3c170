// The component library as a server: its start in the host process, its entry points and its registration.
//
// A component library describes its classes in a comkit::ClassEntry table (class id, comkit::Object creator,
// description, ProgIDs, "Apartment"; no categories of their own needed) and writes NXCOMPONENT_EXPORTS(table)
// once, with a .def that exports DllGetClassObject, DllCanUnloadNow, DllRegisterServer and DllUnregisterServer
// (PRIVATE). Nothing else is exported: the host reaches a component only through INXComponent.
//
// In the host process the library is a framework extension module: loading it initialises the extension
// module (a failure makes the load fail); its record in the host's resource chain is made at the first
// request for a class object, outside the loader lock that DllMain runs under (the chain's lock must never
// be taken under it), so that a library whose record cannot be made cannot be created either. Unloading
// takes the record out of the chain and frees the resource library.
#pragma once
#include "afxwin.h"
#include "comkit/module.h"

namespace nxframework {

// The state of one component library (each library linking the framework has its own).
class ComponentModule {
 public:
  ComponentModule();
  ComponentModule(const ComponentModule&) = delete;
  ComponentModule& operator=(const ComponentModule&) = delete;

  BOOL Attach(HINSTANCE module);      // process attach: the extension module, nothing loaded or locked
  HRESULT Start();                    // the record in the host's chain, once; E_OUTOFMEMORY when it can't be made
  void Detach(BOOL processEnding);    // process detach: leaves the chain, frees the resource library

  HINSTANCE Instance() const;
  HINSTANCE ResourceInstance() const;  // the resource library once loaded, else the library itself
  // See cNXComponent::LoadResourceLibrary.
  BOOL UseResourceLibrary(LPCSTR fileName);

 private:
  AFX_EXTENSION_MODULE m_extension;
  HINSTANCE m_resources;
  BOOL m_started;
  CRITICAL_SECTION m_lock;
};

ComponentModule& ThisComponentModule();

// DllRegisterServer of a component library: the "NXComponents" category, each class as implementing it, then
// each class's keys (and any categories of its own); stops at the first failure and returns it.
HRESULT RegisterComponentServer(const comkit::ClassEntry* classes, unsigned count);
// DllUnregisterServer: each class's keys and categories of its own go, ignoring errors; the "NXComponents"
// category and the classes' entries as implementing it stay. Always S_OK.
HRESULT UnregisterComponentServer(const comkit::ClassEntry* classes, unsigned count);
// DllGetClassObject: starts the module, then the class object of clsid (CLASS_E_CLASSNOTAVAILABLE for a class
// the table does not have, E_POINTER without ppv).
HRESULT GetComponentClassObject(REFCLSID clsid, REFIID iid, void** ppv);

}  // namespace nxframework

#define NXCOMPONENT_EXPORTS(classTable)                                                                  \
  static void nxEnsureClasses() {                                                                      \
    static const bool done = (comkit::ThisModule().SetClasses(                                         \
                                  classTable, sizeof(classTable) / sizeof(classTable[0]), nullptr),    \
                              true);                                                                   \
    (void)done;                                                                                        \
  }                                                                                                    \
  extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {                  \
    if (reason == DLL_PROCESS_ATTACH) return nxframework::ThisComponentModule().Attach(instance);     \
    if (reason == DLL_PROCESS_DETACH) nxframework::ThisComponentModule().Detach(reserved != NULL);    \
    return TRUE;                                                                                       \
  }                                                                                                    \
  extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** ppv) {                \
    nxEnsureClasses();                                                                                 \
    return nxframework::GetComponentClassObject(clsid, iid, ppv);                                      \
  }                                                                                                    \
  extern "C" HRESULT WINAPI DllCanUnloadNow() { return comkit::ThisModule().CanUnloadNow(); }          \
  extern "C" HRESULT WINAPI DllRegisterServer() {                                                      \
    nxEnsureClasses();                                                                                 \
    return nxframework::RegisterComponentServer(classTable, sizeof(classTable) / sizeof(classTable[0])); \
  }                                                                                                    \
  extern "C" HRESULT WINAPI DllUnregisterServer() {                                                    \
    nxEnsureClasses();                                                                                 \
    return nxframework::UnregisterComponentServer(classTable, sizeof(classTable) / sizeof(classTable[0])); \
  }
