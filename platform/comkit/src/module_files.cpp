// Module paths and libraries loaded from a module's own folder.
#include "comkit/module_files.h"

namespace comkit {

namespace {
const int kAnchor = 0;  // its address identifies the module this copy of the library is linked into
}

HMODULE CurrentModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&kAnchor), &module);
  return module;
}

std::string ModulePath(HMODULE module) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  return std::string(path, length);
}

std::string ModuleDirectory(HMODULE module) {
  std::string path = ModulePath(module);
  std::string::size_type slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

HMODULE LoadSiblingLibrary(HMODULE self, const char* fileName) {
  std::string dir = ModuleDirectory(self);
  if (dir.empty()) return nullptr;
  return LoadLibraryExA((dir + fileName).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace comkit
