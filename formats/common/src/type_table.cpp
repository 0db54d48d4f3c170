// Type queries of the format modules, answered from their static tables.
#include <nxformat/type_table.h>
#include <cstring>

namespace nxformat {

namespace {

void CopyIfFits(unsigned short room, unsigned char* out, const char* text) {
  const size_t needed = std::strlen(text) + 1;
  if (out && needed <= room) std::memcpy(out, text, needed);
}

}  // namespace

const TypeRow* FindRow(const TypeTable& table, uint32_t type) {
  const unsigned rows = table.count < kMaxTypesPerModule ? table.count : kMaxTypesPerModule;
  for (unsigned i = 0; i < rows; ++i) {
    if (table.rows[i].type == type) return &table.rows[i];
  }
  return nullptr;
}

tagIMGFILERR GetSupportImageType(const TypeTable& table, unsigned short* count, unsigned short room, ULONG* types) {
  if (!count) return IMGFILERR_FAILED;
  *count = static_cast<unsigned short>(table.count);
  for (unsigned i = 0; types && i < table.count && i < room; ++i) types[i] = table.rows[i].type;
  return IMGFILERR_OK;
}

tagIMGFILERR GetSupportBits(const TypeTable& table, unsigned short room, unsigned short* bits, uint32_t type) {
  const TypeRow* row = FindRow(table, type);
  if (!row) return IMGFILERR_UNSUPPORTED;
  for (unsigned i = 0; bits && i < room && i < kMaxBitDepths; ++i) bits[i] = row->bits[i];
  return IMGFILERR_OK;
}

tagIMGFILERR GetSupportColorModel(const TypeTable& table, unsigned short* models, uint32_t type) {
  const TypeRow* row = FindRow(table, type);
  if (!row) return IMGFILERR_UNSUPPORTED;
  if (models) *models = row->colorModels;
  return IMGFILERR_OK;
}

tagIMGFILERR GetSupportCompression(const TypeTable& table, unsigned short* compression, uint32_t type) {
  const TypeRow* row = FindRow(table, type);
  if (!row) return IMGFILERR_UNSUPPORTED;
  if (compression) *compression = row->compression;
  return IMGFILERR_OK;
}

tagIMGFILERR GetDefaultExt(const TypeTable& table, unsigned short room, unsigned char* ext, uint32_t type) {
  const TypeRow* row = FindRow(table, type);
  if (!row) return IMGFILERR_UNSUPPORTED;
  CopyIfFits(room, ext, row->extension);
  return IMGFILERR_OK;
}

tagIMGFILERR GetFileFilter(const TypeTable& table, unsigned short nameRoom, unsigned char* name,
                           unsigned short extRoom, unsigned char* ext, uint32_t type) {
  const TypeRow* row = FindRow(table, type);
  if (!row) return IMGFILERR_UNSUPPORTED;
  CopyIfFits(nameRoom, name, row->filterName);
  CopyIfFits(extRoom, ext, row->extension);
  return IMGFILERR_OK;
}

}  // namespace nxformat
