// Where a module lives, and loading the libraries that sit beside it (resource libraries above all).
#pragma once
#include <string>
#include <windows.h>

namespace comkit {

// The module containing this code (the DLL or program it is linked into).
HMODULE CurrentModule();

std::string ModulePath(HMODULE module);
// The folder of a module, ending in a backslash.
std::string ModuleDirectory(HMODULE module);

// Loads fileName from the folder of self, never from the search path; null when it is not there.
HMODULE LoadSiblingLibrary(HMODULE self, const char* fileName);

}  // namespace comkit
