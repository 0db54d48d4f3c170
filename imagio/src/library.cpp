// Init/Exit counting, module discovery through the category, and the static queries of NXImageFile.
#include <new>
#include <imagio/imgfile.h>
#include "category.h"
#include "imgfile_logic.h"
#include "library.h"

namespace imagio {

namespace {

CRITICAL_SECTION g_lock;
cNXList* g_modules = nullptr;
uint32_t* g_types = nullptr;
uint16_t g_typeCount = 0;
unsigned g_initCount = 0;
// Init calls on this thread whose COM start failed (another apartment model was already chosen) are not
// matched by an end of COM in Exit.
thread_local unsigned t_foreignComInits = 0;

class LockScope {
 public:
  LockScope() { EnterCriticalSection(&g_lock); }
  ~LockScope() { LeaveCriticalSection(&g_lock); }
  LockScope(const LockScope&) = delete;
  LockScope& operator=(const LockScope&) = delete;
};

void ReleaseModules() {
  if (g_modules) {
    while (!g_modules->IsEmpty()) delete static_cast<NXIFLib*>(g_modules->RemoveHead());
    delete g_modules;
    g_modules = nullptr;
  }
  delete[] g_types;
  g_types = nullptr;
  g_typeCount = 0;
}

tagIMGFILERR BuildModules() {
  g_modules = new (std::nothrow) cNXList();
  if (!g_modules) return IMGFILERR_NOMODULES;
  tagIMGFILERR result = IMGFILERR_OK;
  {
    CNXCategory category(nxformat::kCategoryId, nxformat::kCategoryDescription);
    cGUIDList classes;
    if (category.EnumClasses(classes) != S_OK) result = IMGFILERR_NOMODULES;
    CIter it(classes.List());
    while (result == IMGFILERR_OK) {
      cGUID* clsid = static_cast<cGUID*>(it.Next());
      if (!clsid) break;
      NXIFLib* record = new (std::nothrow) NXIFLib();
      if (record && record->Load(clsid->Get()) == IMGFILERR_OK && g_modules->AddTail(record)) continue;
      delete record;
    }
  }
  if (result != IMGFILERR_OK) return result;
  unsigned total = 0;
  CIter it(*g_modules);
  while (NXIFLib* record = static_cast<NXIFLib*>(it.Next())) {
    uint16_t count;
    const uint32_t* types;
    record->GetTypes(&count, &types);
    total += count;
  }
  if (total == 0 || total > UINT16_MAX) return IMGFILERR_NOMODULES;
  g_types = new (std::nothrow) uint32_t[total];
  if (!g_types) return IMGFILERR_NOMODULES;
  it.Reset();
  while (NXIFLib* record = static_cast<NXIFLib*>(it.Next())) {
    uint16_t count;
    const uint32_t* types;
    record->GetTypes(&count, &types);
    for (unsigned i = 0; i < count; ++i) g_types[g_typeCount++] = types[i];
  }
  return IMGFILERR_OK;
}

// An instance of the first module listing type: 520 when none lists it, 515 when it gives no instance.
tagIMGFILERR InstanceForType(uint32_t type, INXIFLib** lib) {
  *lib = nullptr;
  NXIFLib* record = ModuleForType(type);
  if (!record) return IMGFILERR_UNSUPPORTED;
  *lib = record->CreateInstance();
  return *lib ? IMGFILERR_OK : IMGFILERR_NOINSTANCE;
}

}  // namespace

void CreateLibraryLock() { InitializeCriticalSection(&g_lock); }
void DeleteLibraryLock() { DeleteCriticalSection(&g_lock); }

const cNXList* Modules() { return g_modules; }

NXIFLib* ModuleForType(uint32_t type) {
  if (!g_modules) return nullptr;
  CIter it(*g_modules);
  while (NXIFLib* record = static_cast<NXIFLib*>(it.Next())) {
    if (record->SupportsType(type)) return record;
  }
  return nullptr;
}

NXIFLib* ModuleForExtension(const std::string& extension) {
  if (!g_modules) return nullptr;
  CIter it(*g_modules);
  while (NXIFLib* record = static_cast<NXIFLib*>(it.Next())) {
    if (record->MatchesExtension(extension)) return record;
  }
  return nullptr;
}

}  // namespace imagio

using namespace imagio;

IMGLIBSEARCHOPT NXImageFile::s_SearchOption = IMGLIBSEARCH_ALLMODULES;

tagIMGFILERR NXImageFile::Init(void*) {
  if (FAILED(CoInitialize(nullptr))) ++t_foreignComInits;
  LockScope lock;
  if (g_initCount > 0) {
    ++g_initCount;
    return IMGFILERR_OK;
  }
  tagIMGFILERR result = BuildModules();
  if (result != IMGFILERR_OK) {
    ReleaseModules();
    return result;
  }
  g_initCount = 1;
  return IMGFILERR_OK;
}

void NXImageFile::Exit() {
  {
    LockScope lock;
    if (g_initCount > 0 && --g_initCount == 0) ReleaseModules();
  }
  if (t_foreignComInits > 0) {
    --t_foreignComInits;
  } else {
    CoUninitialize();
  }
}

void NXImageFile::SetSearchOption(IMGLIBSEARCHOPT option) {
  LockScope lock;
  s_SearchOption = option;
}

tagIMGFILERR NXImageFile::GetAllSupportImageType(uint16_t* count, const uint32_t** types) {
  if (count) *count = g_typeCount;
  if (types) *types = g_types;
  return IMGFILERR_OK;
}

tagIMGFILERR NXImageFile::GetSupportBits(uint32_t type, uint16_t bits[4]) {
  const unsigned short kBitsAsked = 4;
  INXIFLib* lib;
  tagIMGFILERR result = InstanceForType(type, &lib);
  if (result != IMGFILERR_OK) return result;
  result = nxformat::Code(lib->GetSupportBits(kBitsAsked, bits, type));
  lib->Release();
  return result;
}

tagIMGFILERR NXImageFile::GetSupportColorModel(uint32_t type, uint16_t* colorModels) {
  INXIFLib* lib;
  tagIMGFILERR result = InstanceForType(type, &lib);
  if (result != IMGFILERR_OK) return result;
  result = nxformat::Code(lib->GetSupportColorModel(colorModels, type));
  lib->Release();
  return result;
}

tagIMGFILERR NXImageFile::GetSupportCompression(uint32_t type, uint16_t* compression) {
  INXIFLib* lib;
  tagIMGFILERR result = InstanceForType(type, &lib);
  if (result != IMGFILERR_OK) return result;
  result = nxformat::Code(lib->GetSupportCompression(compression, type));
  lib->Release();
  return result;
}

tagIMGFILERR NXImageFile::GetDefaultExt(uint32_t type, char* buffer, uint16_t bufferSize) {
  INXIFLib* lib;
  tagIMGFILERR result = InstanceForType(type, &lib);
  if (result != IMGFILERR_OK) return result;
  result = nxformat::Code(lib->GetDefaultExt(bufferSize, reinterpret_cast<unsigned char*>(buffer), type));
  lib->Release();
  return result;
}

tagIMGFILERR NXImageFile::GetFileFilter(uint32_t type, char* name, uint16_t nameSize, char* ext, uint16_t extSize) {
  INXIFLib* lib;
  tagIMGFILERR result = InstanceForType(type, &lib);
  if (result != IMGFILERR_OK) return result;
  result = nxformat::Code(lib->GetFileFilter(nameSize, reinterpret_cast<unsigned char*>(name), extSize,
                                             reinterpret_cast<unsigned char*>(ext), type));
  lib->Release();
  return result;
}

void NXImageFile::GetCombinedFileFilters(char* buffer, uint16_t bufferSize, char separator) {
  CombinedFilterBuilder filters(buffer, bufferSize, separator);
  if (!g_modules) return;
  CIter it(*g_modules);
  bool room = true;
  while (room) {
    NXIFLib* record = static_cast<NXIFLib*>(it.Next());
    if (!record) break;
    INXIFLib* lib = record->CreateInstance();
    if (!lib) continue;
    ULONG types[nxformat::kMaxTypesPerModule] = {};
    unsigned short count = 0;
    if (nxformat::Code(lib->GetSupportImageType(&count, nxformat::kMaxTypesPerModule, types)) == IMGFILERR_OK) {
      if (count > nxformat::kMaxTypesPerModule) count = nxformat::kMaxTypesPerModule;
      for (unsigned i = 0; i < count && room; ++i) {
        unsigned char name[nxformat::kFilterNameRoom] = {};
        unsigned char ext[nxformat::kExtensionRoom] = {};
        if (nxformat::Code(lib->GetFileFilter(sizeof(name), name, sizeof(ext), ext, types[i])) != IMGFILERR_OK) {
          continue;
        }
        name[sizeof(name) - 1] = ext[sizeof(ext) - 1] = '\0';
        room = filters.Append(reinterpret_cast<const char*>(name), reinterpret_cast<const char*>(ext));
      }
    }
    lib->Release();
  }
}

void NXImageFile::ReleaseBuffer(uint8_t* buffer) { delete[] buffer; }
