// The LEAD-based module's pure rules.
#include "lead_rules.h"
#include <cstring>

namespace nxlead {

namespace {

// Toolkit format numbers of the families the module names (the toolkit's own numbering).
const int kGifFormats[] = {2};
const int kTiffFormats[] = {3, 17, 25, 27, 28, 29, 85, 86, 87, 88, 93, 94, 95};
const int kBmpFormats[] = {6, 84};
const int kJpegFormats[] = {10, 11, 21, 22, 23, 24};
const int kWmfFormats[] = {15};
const int kEpsFormats[] = {16};
const int kPictFormats[] = {56};
const int kPcdFormats[] = {57};
const int kPngFormats[] = {75};

struct Family {
  uint32_t type;
  const int* formats;
  unsigned count;
  int saveFormat;  // the number a save of this type uses
};

#define NXLEAD_FAMILY(type, list) {type, list, sizeof(list) / sizeof(list[0]), list[0]}
const Family kFamilies[] = {
    NXLEAD_FAMILY(kTypeGif, kGifFormats),   NXLEAD_FAMILY(kTypeTiff, kTiffFormats),
    NXLEAD_FAMILY(kTypeBmp, kBmpFormats),   NXLEAD_FAMILY(kTypeJpeg, kJpegFormats),
    NXLEAD_FAMILY(kTypeWmf, kWmfFormats),   NXLEAD_FAMILY(kTypeEps, kEpsFormats),
    NXLEAD_FAMILY(kTypePict, kPictFormats), NXLEAD_FAMILY(kTypePcd, kPcdFormats),
    NXLEAD_FAMILY(kTypePng, kPngFormats),
};
#undef NXLEAD_FAMILY

// Toolkit results (the toolkit's numbering; success is 1, failures negative, 2 and 50 are its positive
// "not found" and "stopped" statuses).
const int kLeadSuccess = 1;
const int kLeadNotFound = 2;
const int kLeadStopped = 50;
const int kLeadFileNotFound = -6;
const int kLeadFormat = -9;
const int kLeadNotSupported = -12;
const int kLeadPageNotFound = -21;
const int kLeadFileOpen = -14;
const int kLeadFileRead = -7;
const int kLeadFileWrite = -5;
const int kLeadNoMemory = -1;
const int kLeadMemoryLock = -3;

const int kTiffFormat = 3;
const uint32_t kFlagFixedPalette = 1, kFlagOptimizedPalette = 2, kFlagCompressed = 4;
const int kBestQualityFactor = 2;
const int kQualityFactorRange = 255;
const int kQualityRange = 100;
const uint32_t kTrueColorBits = 24;
const int kThumbnailPageBits = 8;

}  // namespace

uint32_t TypeForFormat(int format) {
  for (const Family& f : kFamilies) {
    for (unsigned i = 0; i < f.count; ++i) {
      if (f.formats[i] == format) return f.type;
    }
  }
  return 0;
}

int FormatForType(uint32_t type) {
  for (const Family& f : kFamilies) {
    if (f.type == type) return f.saveFormat;
  }
  return static_cast<int>(type);
}

uint16_t CompressionForName(const char* name) {
  if (!name) return IMGCOMP_OTHER;
  if (std::strcmp(name, "NONE") == 0) return IMGCOMP_NONE;
  if (std::strcmp(name, "JPEG") == 0) return IMGCOMP_JPEG;
  if (std::strcmp(name, "run length") == 0) return IMGCOMP_RLE;
  return IMGCOMP_OTHER;
}

uint16_t ColorModelForBits(uint32_t bits) {
  if (bits == 1) return IMGCOLOR_BW;
  if (bits < kTrueColorBits) return IMGCOLOR_PALETTE;
  return IMGCOLOR_TRUECOLOR;
}

int QualityFactor(int quality) {
  const int factor = (kQualityRange - quality) * kQualityFactorRange / kQualityRange;
  return factor < kBestQualityFactor ? kBestQualityFactor : factor;
}

tagIMGFILERR MapLeadResult(int result) {
  switch (result) {
    case kLeadSuccess: return IMGFILERR_OK;
    case kLeadNotFound:
    case kLeadFileNotFound: return IMGFILERR_NOFILE;
    case kLeadStopped:
    case kLeadFormat:
    case kLeadNotSupported: return IMGFILERR_UNSUPPORTED;
    case kLeadPageNotFound: return IMGFILERR_LEAD21;
    case kLeadFileOpen: return IMGFILERR_OPEN;
    case kLeadFileRead: return IMGFILERR_READ;
    case kLeadFileWrite: return IMGFILERR_WRITE;
    case kLeadNoMemory:
    case kLeadMemoryLock: return IMGFILERR_NOMEMORY;
    default: return IMGFILERR_FAILED;
  }
}

uint32_t SaveFlags(int bits, int format) {
  uint32_t flags = bits == 1 ? kFlagFixedPalette : kFlagOptimizedPalette;
  if (format == kTiffFormat) flags |= kFlagCompressed;
  return flags;
}

int ThumbnailPageBits(int bits) { return bits == 1 ? 1 : kThumbnailPageBits; }

Size ThumbnailSize(uint32_t imageW, uint32_t imageH, uint32_t boxW, uint32_t boxH) {
  const double ratio = static_cast<double>(imageW) / static_cast<double>(imageH);
  Size size;
  if (ratio * boxH <= boxW) {
    size.width = static_cast<uint32_t>(ratio * boxH);
    size.height = boxH;
  } else {
    size.width = boxW;
    size.height = static_cast<uint32_t>(boxW / ratio);
  }
  if (size.width == 0) size.width = 1;
  if (size.height == 0) size.height = 1;
  return size;
}

}  // namespace nxlead
