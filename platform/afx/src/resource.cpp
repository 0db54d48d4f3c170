// The process's resource chain: extension modules, CDynLinkLibrary records, resource and string look-up,
// the module of a window class, and the check for ids defined twice in one chain.
#include <map>
#include <utility>
#include <vector>
#include "afxwin.h"
#include "state.h"

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CCmdTarget)

namespace afxstate {

namespace {
const int kAnchor = 0;  // its address identifies orvafx.dll
}

HMODULE FrameworkModule() {
  static HMODULE self = [] {
    HMODULE module = NULL;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&kAnchor), &module);
    return module;
  }();
  return self;
}

BOOL LoadFrameworkString(UINT id, CString& out) {
  char buffer[512];
  int n = LoadStringA(FrameworkModule(), id, buffer, sizeof buffer);
  out = CString(buffer, n);
  return n > 0;
}

AppState& State() {
  static AppState state;
  return state;
}

}  // namespace afxstate

namespace {
CRITICAL_SECTION* Locks() {
  static CRITICAL_SECTION* locks = [] {
    static CRITICAL_SECTION cs[CRIT_MAX];
    for (CRITICAL_SECTION& c : cs) InitializeCriticalSection(&c);
    return cs;
  }();
  return locks;
}

struct ChainLock {
  ChainLock() { AfxLockGlobals(CRIT_DYNLINKLIST); }
  ~ChainLock() { AfxUnlockGlobals(CRIT_DYNLINKLIST); }
};

bool HasString(HMODULE module, UINT id) {
  char probe[2];
  return module && LoadStringA(module, id, probe, sizeof probe) > 0;
}

// Calls found(module) on each module of the chain in search order until it returns true.
template <class F>
HMODULE SearchChain(F found) {
  HMODULE current = AfxGetResourceHandle();
  if (found(current)) return current;
  {
    ChainLock lock;
    for (int pass = 0; pass < 2; ++pass) {
      for (CDynLinkLibrary* lib = afxstate::State().libraries; lib; lib = lib->m_pNextDLL) {
        if (bool(lib->m_bSystem) != (pass == 1) || lib->m_hResource == current) continue;
        if (found(lib->m_hResource)) return lib->m_hResource;
      }
    }
  }
  HMODULE framework = afxstate::FrameworkModule();
  if (found(framework)) return framework;
  return current;
}
}  // namespace

void AFXAPI AfxLockGlobals(int lockType) { EnterCriticalSection(&Locks()[lockType]); }
void AFXAPI AfxUnlockGlobals(int lockType) { LeaveCriticalSection(&Locks()[lockType]); }

CDynLinkLibrary* AFXAPI AfxGetFirstDynLinkLibrary() { return afxstate::State().libraries; }

BOOL AFXAPI AfxMoveDynLinkLibraryToHead(CDynLinkLibrary* library) {
  ChainLock lock;
  for (CDynLinkLibrary** link = &afxstate::State().libraries; *link; link = &(*link)->m_pNextDLL)
    if (*link == library) {
      *link = library->m_pNextDLL;
      library->m_pNextDLL = afxstate::State().libraries;
      afxstate::State().libraries = library;
      return TRUE;
    }
  return FALSE;
}

BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module) {
  if (state.bInitialized) return TRUE;
  state.hModule = module;
  state.hResource = module;
  state.bInitialized = TRUE;
  return TRUE;
}

void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL terminateAll) {
  for (;;) {
    CDynLinkLibrary* victim = NULL;
    {
      ChainLock lock;
      for (CDynLinkLibrary* lib = afxstate::State().libraries; lib; lib = lib->m_pNextDLL)
        if (terminateAll || lib->m_hModule == state.hModule) {
          victim = lib;
          break;
        }
    }
    if (!victim) break;
    delete victim;
  }
  state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL system)
    : CDynLinkLibrary(state.hModule, state.hResource) {
  m_bSystem = system;
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE module, HINSTANCE resource)
    : m_hModule(module), m_hResource(resource), m_bSystem(FALSE), m_pNextDLL(NULL) {
  ChainLock lock;
  m_pNextDLL = afxstate::State().libraries;
  afxstate::State().libraries = this;
}

CDynLinkLibrary::~CDynLinkLibrary() {
  ChainLock lock;
  for (CDynLinkLibrary** link = &afxstate::State().libraries; *link; link = &(*link)->m_pNextDLL)
    if (*link == this) {
      *link = m_pNextDLL;
      break;
    }
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR name, LPCSTR type) {
  return SearchChain([&](HMODULE m) { return m && FindResourceA(m, name, type) != NULL; });
}

HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT id) {
  return SearchChain([&](HMODULE m) { return HasString(m, id); });
}

int AFXAPI AfxLoadString(UINT id, LPSTR buffer, UINT maxBuffer) {
  int n = LoadStringA(AfxFindStringResourceHandle(id), id, buffer, int(maxBuffer));
  if (n == 0 && maxBuffer) buffer[0] = 0;
  return n;
}

// ---------------------------------------------------------------------------------------------

HINSTANCE AFXAPI AfxFindClassModule(LPCSTR className) {
  auto registered = [&](HMODULE m) {
    WNDCLASSEXA info = {sizeof info};
    return m && ::GetClassInfoExA(m, className, &info);
  };
  HINSTANCE instance = AfxGetInstanceHandle();
  if (!className || registered(instance)) return instance;
  {
    ChainLock lock;
    for (CDynLinkLibrary* lib = afxstate::State().libraries; lib; lib = lib->m_pNextDLL) {
      if (registered(lib->m_hModule)) return lib->m_hModule;
      if (registered(lib->m_hResource)) return lib->m_hResource;
    }
  }
  if (registered(afxstate::FrameworkModule())) return afxstate::FrameworkModule();
  return instance;  // a system class, or none at all (creating the window reports that)
}

namespace {
struct ResourceType {
  LPCSTR type;
  const char* name;
};
// The kinds the framework looks up by number through the chain.
const ResourceType kCheckedTypes[] = {
    {RT_STRING, "string"},       {RT_DIALOG, "dialog"}, {RT_MENU, "menu"},     {RT_ACCELERATOR, "accelerator"},
    {RT_BITMAP, "bitmap"},       {RT_GROUP_ICON, "icon"}, {RT_GROUP_CURSOR, "cursor"}, {RT_RCDATA, "data"},
    {MAKEINTRESOURCEA(241), "toolbar"},
};
const int kStringsPerBlock = 16;

CString ModuleName(HMODULE module) {
  char path[MAX_PATH];
  DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return CString();
  LPCSTR name = strrchr(path, '\\');
  return name ? name + 1 : path;
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR out) {
  if (IS_INTRESOURCE(name)) reinterpret_cast<std::vector<UINT>*>(out)->push_back(UINT(reinterpret_cast<UINT_PTR>(name)));
  return TRUE;
}

// The numbered resources of one kind in module; for strings each string, not each block of sixteen.
std::vector<UINT> IdsOf(HMODULE module, LPCSTR type) {
  std::vector<UINT> names;
  ::EnumResourceNamesA(module, type, &CollectName, reinterpret_cast<LONG_PTR>(&names));
  if (type != RT_STRING) return names;
  std::vector<UINT> ids;
  for (UINT block : names) {
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(block), RT_STRING);
    const WORD* p = found ? static_cast<const WORD*>(::LockResource(::LoadResource(module, found))) : NULL;
    DWORD size = found ? ::SizeofResource(module, found) / sizeof(WORD) : 0;
    const WORD* end = p + size;
    for (int i = 0; p && i < kStringsPerBlock && p < end; ++i) {
      WORD length = *p++;
      if (length) ids.push_back((block - 1) * kStringsPerBlock + UINT(i));
      p += length;
    }
  }
  return ids;
}
}  // namespace

int AFXAPI AfxCheckResourceChain(CStringArray& conflicts) {
  conflicts.RemoveAll();
  std::vector<HMODULE> modules;
  auto add = [&](HMODULE m) {
    if (m && m != afxstate::FrameworkModule()) {
      for (HMODULE known : modules)
        if (known == m) return;
      modules.push_back(m);
    }
  };
  add(AfxGetResourceHandle());
  add(AfxGetInstanceHandle());
  {
    ChainLock lock;
    for (CDynLinkLibrary* lib = afxstate::State().libraries; lib; lib = lib->m_pNextDLL) {
      add(lib->m_hResource);
      add(lib->m_hModule);
    }
  }
  for (const ResourceType& kind : kCheckedTypes) {
    std::map<UINT, HMODULE> owner;
    for (HMODULE module : modules) {
      for (UINT id : IdsOf(module, kind.type)) {
        auto placed = owner.insert(std::make_pair(id, module));
        if (placed.second || placed.first->second == module) continue;
        CString line;
        line.Format("%s %u in %s and %s", kind.name, id, LPCSTR(ModuleName(placed.first->second)),
                    LPCSTR(ModuleName(module)));
        conflicts.Add(line);
      }
    }
  }
  return int(conflicts.GetSize());
}
