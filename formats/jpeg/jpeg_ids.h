// Names and numbers of the JPEG format module that its code, resource script and tests share.
#pragma once

// String table entry with the module's name.
#define IDS_NXJPEG_NAME 100

#define NXJPEG_CLASS_NAME "NXJPEGFormat Class"
#define NXJPEG_PROGID "NXJPEGFormat.NXJPEGFormat.1"
#define NXJPEG_VI_PROGID "NXJPEGFormat.NXJPEGFormat"
#define NXJPEG_THREADING "Apartment"
#define NXJPEG_TYPELIB_MAJOR 1
#define NXJPEG_TYPELIB_MINOR 0
