// Names and numbers of the LEAD-based format module that its code, resource script and tests share.
#pragma once

// String table entry with the module's name.
#define IDS_NXLEAD_NAME 100

#define NXLEAD_CLASS_NAME "NXLeadFormat Class"
#define NXLEAD_PROGID "NXLeadFormat.NXLeadFormat.1"
#define NXLEAD_VI_PROGID "NXLeadFormat.NXLeadFormat"
#define NXLEAD_THREADING "Apartment"
#define NXLEAD_TYPELIB_MAJOR 1
#define NXLEAD_TYPELIB_MINOR 0
