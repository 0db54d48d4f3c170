// COM server module support: the class table of a DLL, its class factories, lock count and self-registration.
//
// Every in-process server of the suite (format modules, components, the shell extension, the TWAIN
// control) links this static library, describes its classes in a table of ClassEntry records and
// exports the four standard entry points through COMKIT_COM_EXPORTS. Each DLL gets its own Module.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <comcat.h>

namespace comkit {

// Creates a new instance of one class; outer is the aggregating object (classes here refuse it).
typedef HRESULT (*CreatorFunc)(IUnknown* outer, REFIID iid, void** ppv);

// A component category a class implements; the category itself is registered with its description.
struct CategoryInfo {
  const CATID* catid;
  const wchar_t* description;  // at most 127 characters are kept by the category manager
};

// A type library embedded as TYPELIB resource 1 of the server.
struct TypeLibInfo {
  const GUID* libid;
  WORD major;
  WORD minor;
};

// One COM class of the server, as it is registered and created.
struct ClassEntry {
  const CLSID* clsid;
  CreatorFunc create;
  const char* description;              // default value of the class key and of its ProgIDs
  const char* progId;                   // e.g. "Suite.Thing.1"; null for none
  const char* versionIndependentProgId; // e.g. "Suite.Thing", with CurVer naming progId; null for none
  const char* threadingModel;           // "Apartment", "Both", ...; null leaves the value out
  const CategoryInfo* categories;       // categories the class implements, or null
  unsigned categoryCount;
};

// The server module: class table, cached class factories and the count that answers DllCanUnloadNow.
class Module {
 public:
  Module();
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  // Called once by the entry points before anything else; the table must outlive the module.
  void SetClasses(const ClassEntry* classes, unsigned count, const TypeLibInfo* typeLib);

  HINSTANCE Instance() const;
  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** ppv);
  HRESULT CanUnloadNow() const;
  HRESULT RegisterServer();
  HRESULT UnregisterServer();

  // Live objects, LockServer calls and class-factory references handed out keep the module loaded.
  LONG Lock();
  LONG Unlock();
  LONG LockCount() const;

 private:
  const ClassEntry* FindClass(REFCLSID clsid) const;

  const ClassEntry* m_classes;
  unsigned m_count;
  const TypeLibInfo* m_typeLib;
  IClassFactory** m_factories;  // one per class, made on first request and kept until the module ends
  CRITICAL_SECTION m_lock;
  volatile LONG m_lockCount;
};

// The module of the DLL or program this code is linked into.
Module& ThisModule();

}  // namespace comkit

// Defines DllGetClassObject, DllCanUnloadNow, DllRegisterServer and DllUnregisterServer over a class
// table (an array of comkit::ClassEntry) and an optional comkit::TypeLibInfo pointer.
#define COMKIT_COM_EXPORTS(classTable, typeLibPtr)                                              \
  static void comkitEnsureClasses() {                                                         \
    static const bool done = (comkit::ThisModule().SetClasses(                                \
                                  classTable, sizeof(classTable) / sizeof(classTable[0]),     \
                                  typeLibPtr),                                                \
                              true);                                                          \
    (void)done;                                                                               \
  }                                                                                           \
  extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** ppv) {       \
    comkitEnsureClasses();                                                                    \
    return comkit::ThisModule().GetClassObject(clsid, iid, ppv);                              \
  }                                                                                           \
  extern "C" HRESULT WINAPI DllCanUnloadNow() { return comkit::ThisModule().CanUnloadNow(); } \
  extern "C" HRESULT WINAPI DllRegisterServer() {                                             \
    comkitEnsureClasses();                                                                    \
    return comkit::ThisModule().RegisterServer();                                             \
  }                                                                                           \
  extern "C" HRESULT WINAPI DllUnregisterServer() {                                           \
    comkitEnsureClasses();                                                                    \
    return comkit::ThisModule().UnregisterServer();                                           \
  }
