// imagio's library-wide state: the module list, the type array, the Init counter and the library lock.
#pragma once
#include <cstdint>
#include <string>
#include "module_record.h"
#include "nxlist.h"

namespace imagio {

// Created when the library is loaded into the process, deleted when it is unloaded.
void CreateLibraryLock();
void DeleteLibraryLock();

// The module list in enumeration order; null while the library is not initialised.
const cNXList* Modules();

// First record listing the type / matching the extension, or null.
NXIFLib* ModuleForType(uint32_t type);
NXIFLib* ModuleForExtension(const std::string& extension);

}  // namespace imagio
