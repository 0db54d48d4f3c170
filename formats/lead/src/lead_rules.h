// The LEAD-based module's pure rules: toolkit format numbers and type codes, compression names, quality factors,
// toolkit results as codes, save flags and thumbnail sizes.
#pragma once
#include <cstdint>
#include <imagio/imgtypes.h>

namespace nxlead {

const uint32_t kTypeTiff = ImageTypeCode("TIFF");
const uint32_t kTypeBmp = ImageTypeCode("BMP");
const uint32_t kTypePng = ImageTypeCode("PNG");
const uint32_t kTypeJpeg = ImageTypeCode("JPEG");
const uint32_t kTypeGif = ImageTypeCode("GIF");
const uint32_t kTypeWmf = ImageTypeCode("WMF");
const uint32_t kTypeEps = ImageTypeCode("EPS");
const uint32_t kTypePict = ImageTypeCode("PICT");
const uint32_t kTypePcd = ImageTypeCode("PCD");

// The type code of a toolkit format number after OpenFile; 0 for a number outside the table.
uint32_t TypeForFormat(int format);
// The toolkit format number to save a type with; a code outside the table is passed on unchanged.
int FormatForType(uint32_t type);
// "NONE" 0, "JPEG" 8, "run length" 1, any other name 32.
uint16_t CompressionForName(const char* name);
// Colour-model flag from the bits: 1 bit black and white, fewer than 24 palette, else true colour.
uint16_t ColorModelForBits(uint32_t bits);
// (100 - quality) * 255 / 100, at least 2.
int QualityFactor(int quality);
// Toolkit result to code: 1 -> 512, 2/-6 -> 532, 50/-9/-12 -> 520, -21 -> 521, -14 -> 530, -7 -> 529,
// -5 -> 528, -1/-3 -> 527, anything else 513.
tagIMGFILERR MapLeadResult(int result);
// Save flags: fixed palette for 1 bit, optimised palette otherwise, compression added for TIFF.
uint32_t SaveFlags(int bits, int format);
// Bits of the TIFF thumbnail page: 1 for a 1-bit picture, else 8.
int ThumbnailPageBits(int bits);

struct Size {
  uint32_t width;
  uint32_t height;
};
// A W x H image fitted into a bw x bh box keeping its ratio (smaller images grow to the box). Sides never go
// below 1 pixel, so very long or very thin pictures still give a thumbnail. W and H must not be 0.
Size ThumbnailSize(uint32_t imageW, uint32_t imageH, uint32_t boxW, uint32_t boxH);

}  // namespace nxlead
