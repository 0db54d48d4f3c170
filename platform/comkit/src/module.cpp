// The server module: class table lookup, cached class factories and the unload count.
#include <new>
#include "comkit/module.h"
#include "comkit/module_files.h"

namespace comkit {

namespace {

// The class object of one class. Its references are counted into the module lock, so a client that
// keeps a class object keeps the server loaded; the module's own cached pointer is not counted.
class ClassFactory : public IClassFactory {
 public:
  explicit ClassFactory(CreatorFunc create) : m_create(create), m_refs(0) {}
  virtual ~ClassFactory() = default;

  STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    ThisModule().Lock();
    return InterlockedIncrement(&m_refs);
  }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = InterlockedDecrement(&m_refs);
    ThisModule().Unlock();
    return left;
  }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** ppv) override {
    return m_create(outer, iid, ppv);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) ThisModule().Lock(); else ThisModule().Unlock();
    return S_OK;
  }

 private:
  CreatorFunc m_create;
  volatile LONG m_refs;
};

}  // namespace

Module::Module() : m_classes(nullptr), m_count(0), m_typeLib(nullptr), m_factories(nullptr), m_lockCount(0) {
  InitializeCriticalSection(&m_lock);
}

Module::~Module() {
  if (m_factories) {
    for (unsigned i = 0; i < m_count; ++i) delete static_cast<ClassFactory*>(m_factories[i]);
    delete[] m_factories;
  }
  DeleteCriticalSection(&m_lock);
}

void Module::SetClasses(const ClassEntry* classes, unsigned count, const TypeLibInfo* typeLib) {
  EnterCriticalSection(&m_lock);
  m_classes = classes;
  m_count = count;
  m_typeLib = typeLib;
  delete[] m_factories;
  m_factories = new IClassFactory*[count]();
  LeaveCriticalSection(&m_lock);
}

HINSTANCE Module::Instance() const { return CurrentModule(); }

const ClassEntry* Module::FindClass(REFCLSID clsid) const {
  for (unsigned i = 0; i < m_count; ++i) {
    if (IsEqualCLSID(*m_classes[i].clsid, clsid)) return &m_classes[i];
  }
  return nullptr;
}

HRESULT Module::GetClassObject(REFCLSID clsid, REFIID iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  const ClassEntry* entry = FindClass(clsid);
  if (!entry) return CLASS_E_CLASSNOTAVAILABLE;
  unsigned index = static_cast<unsigned>(entry - m_classes);
  EnterCriticalSection(&m_lock);
  if (!m_factories[index]) m_factories[index] = new (std::nothrow) ClassFactory(entry->create);
  IClassFactory* factory = m_factories[index];
  LeaveCriticalSection(&m_lock);
  if (!factory) return E_OUTOFMEMORY;
  return factory->QueryInterface(iid, ppv);
}

HRESULT Module::CanUnloadNow() const { return m_lockCount == 0 ? S_OK : S_FALSE; }

LONG Module::Lock() { return InterlockedIncrement(&m_lockCount); }
LONG Module::Unlock() { return InterlockedDecrement(&m_lockCount); }
LONG Module::LockCount() const { return m_lockCount; }

Module& ThisModule() {
  static Module module;
  return module;
}

}  // namespace comkit
