// The format tables of the media objects: FileFormat against imagio's type codes and the toolkit's
// format numbers, and imagio's results against NXError.
#include <media/NXMedia.h>
#include <lead/orvlead.h>

namespace {

struct TypeCodeEntry {
  FileFormat format;
  uint32_t type;
};
const TypeCodeEntry kTypeCodes[] = {
    {FILEFORMAT_TIFF, ImageTypeCode("TIFF")}, {FILEFORMAT_BMP, ImageTypeCode("BMP")},
    {FILEFORMAT_JPEG, ImageTypeCode("JPEG")}, {FILEFORMAT_PNG, ImageTypeCode("PNG")},
    {FILEFORMAT_PCD, ImageTypeCode("PCD")},   {FILEFORMAT_PICT, ImageTypeCode("PICT")},
    {FILEFORMAT_WMF, ImageTypeCode("WMF")},   {FILEFORMAT_FPX, ImageTypeCode("FPX")},
    {FILEFORMAT_KDC, ImageTypeCode("KDC")},   {FILEFORMAT_GDO, ImageTypeCode("GDO")},
    {FILEFORMAT_ORC, ImageTypeCode("ORC")},
};

// The toolkit's format numbers that have no named constant in its header.
const int kLeadFormatOne = 1;
const int kLeadFormatTiffAlternate = 11;
const int kLeadFormat59 = 59;

struct LeadEntry {
  FileFormat format;
  int lead;
};
const LeadEntry kLeadFormats[] = {
    {FILEFORMAT_TIFF, ORVL_FMT_TIFF}, {FILEFORMAT_BMP, ORVL_FMT_BMP},  {FILEFORMAT_JPEG, ORVL_FMT_JPEG},
    {FILEFORMAT_PNG, ORVL_FMT_PNG},   {FILEFORMAT_PCD, ORVL_FMT_PCD},  {FILEFORMAT_LEAD_1, kLeadFormatOne},
    {FILEFORMAT_PICT, ORVL_FMT_PICT}, {FILEFORMAT_WMF, ORVL_FMT_WMF},  {FILEFORMAT_AVI, kLeadFormat59},
};

}  // namespace

FileFormat PASCAL cImageObject::MapIMGTYPEToNXFileType(uint32_t type) {
  for (const TypeCodeEntry& e : kTypeCodes)
    if (e.type == type) return e.format;
  return FILEFORMAT_UNKNOWN;
}

uint32_t PASCAL cImageObject::MapNXFileTypeToIMGTYPE(FileFormat format) {
  for (const TypeCodeEntry& e : kTypeCodes)
    if (e.format == format) return e.type;
  return 0;
}

FileFormat PASCAL cImageObject::MapLeadToNXFileType(int leadFormat) {
  if (leadFormat == kLeadFormatTiffAlternate) return FILEFORMAT_TIFF;
  for (const LeadEntry& e : kLeadFormats)
    if (e.lead == leadFormat) return e.format;
  return FILEFORMAT_UNKNOWN;
}

int PASCAL cImageObject::MapNXFileTypeToLead(FileFormat format) {
  for (const LeadEntry& e : kLeadFormats)
    if (e.format == format) return e.lead;
  return int(format);
}

NXError cImageObject::MapIMGFILERRToNXError(int code) const {
  switch (code) {
    case IMGFILERR_OK: return NXE_NONE;
    case IMGFILERR_UNSUPPORTED: return NXE_FORMAT_NOT_SUPPORTED;
    case IMGFILERR_NOMEMORY: return NXE_OUT_OF_MEMORY;
    case IMGFILERR_WRITE: return NXE_FILE_ACCESS;
    case IMGFILERR_READ: return NXE_FILE_OPEN;
    case IMGFILERR_OPEN:
    case IMGFILERR_NOFILE: return NXE_FILE_NOT_FOUND;
    default: return NXE_GENERAL;
  }
}
