// The static type table of a format module and the six type queries answered from it alone.
#pragma once
#include <cstdint>
#include <imagio/imgtypes.h>
#include <nxformat/nxformat.h>

namespace nxformat {

struct TypeRow {
  uint32_t type;                   // image type code
  uint16_t bits[kMaxBitDepths];    // supported bit depths, zero-filled
  uint16_t colorModels;            // colour-model mask
  uint16_t compression;            // compression mask
  const char* extension;           // default-extension string, e.g. ".jpg;*.jpeg;*.jpe"
  const char* filterName;          // file-dialog filter name, e.g. "JPG"
};

struct TypeTable {
  const TypeRow* rows;
  unsigned count;  // at most kMaxTypesPerModule
};

// The row of type, or null (scans at most kMaxTypesPerModule rows).
const TypeRow* FindRow(const TypeTable& table, uint32_t type);

tagIMGFILERR GetSupportImageType(const TypeTable& table, unsigned short* count, unsigned short room, ULONG* types);
tagIMGFILERR GetSupportBits(const TypeTable& table, unsigned short room, unsigned short* bits, uint32_t type);
tagIMGFILERR GetSupportColorModel(const TypeTable& table, unsigned short* models, uint32_t type);
tagIMGFILERR GetSupportCompression(const TypeTable& table, unsigned short* compression, uint32_t type);
// Copy a string only when it fits with its terminator; a buffer that is too small is left untouched.
tagIMGFILERR GetDefaultExt(const TypeTable& table, unsigned short room, unsigned char* ext, uint32_t type);
tagIMGFILERR GetFileFilter(const TypeTable& table, unsigned short nameRoom, unsigned char* name,
                           unsigned short extRoom, unsigned char* ext, uint32_t type);

}  // namespace nxformat
