// Resource numbers of the postcard program, shared by its code and its resource library quillores.dll.
#pragma once

// Messages of the card package writer (%1 is a file name).
#define IDS_PACKAGE_STUB_MISSING 2100  // the player stub file could not be copied (%1: stub name)
#define IDS_PACKAGE_NOT_OPENED 2101    // the package file could not be opened for writing (%1: package)
#define IDS_PACKAGE_STUB_INVALID 2102  // the stub carries no player marker (%1: stub name)
#define IDS_PACKAGE_NOT_WRITTEN 2103   // the package could not be finished, e.g. a full disk (%1: package)
