// The media library's error numbers (NXError): what its calls return and what callers throw as
// cNXLeadException. The numbering is shared with NXMisc's exception types.
#pragma once

enum NXError {
  NXE_NONE = 0,
  NXE_OUT_OF_MEMORY = 2,
  NXE_FORMAT_NOT_SUPPORTED = 3,
  NXE_INVALID_PARAMETER = 4,
  NXE_FILE_NOT_FOUND = 5,
  NXE_FILE_OPEN = 6,
  NXE_FILE_ACCESS = 7,  // reading or writing the file failed, or its data is damaged
  NXE_INVALID_SIZE = 9,
  NXE_INVALID_BITS = 10,
  NXE_NO_BITMAP = 11,
  NXE_GENERAL = 12,
  NXE_DEVICE = 13,      // clipboard, device contexts, device bitmaps and the imaging library's device calls
  NXE_STOPPED = 16,     // the imaging library's "operation stopped" status (50)
  NXE_PRINTER = 17
};
