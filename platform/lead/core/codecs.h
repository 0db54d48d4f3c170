// Portable file codecs of the toolkit: identification of every known format from its bytes, BMP read and
// write, PNG read and write, TIFF writing (with TIFF page appending), JPEG through the suite's codec.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lead/orvlead_types.h"

namespace orvl {

using Bytes = std::vector<uint8_t>;

// Identifies the file in data and fills info (page counts from 1; 0 means 1). Unknown data gives
// ORVL_ERROR_FILE_FORMAT; a known format with a damaged header ORVL_ERROR_FILE_CORRUPT or _FILE_READ.
int identify(const uint8_t* data, size_t size, int page, ORVLFILEINFO* info);

// BMP at the file's own depth (16-bit and bit-field files arrive as 24/32 bits), file row order kept.
int decodeBmp(const uint8_t* data, size_t size, ORVLBITMAP* out);
// BMP of the bitmap's own depth (1, 4, 8, 16, 24, 32), bottom-up, uncompressed.
int encodeBmp(const ORVLBITMAP* bmp, Bytes* out);

// JPEG: whole picture at 24 bits (8 for grey files with wantGrey), or the embedded stamp.
int decodeJpeg(const uint8_t* data, size_t size, bool stamp, bool wantGrey, ORVLBITMAP* out);
int encodeJpeg(const ORVLBITMAP* bmp, int quality, Bytes* out);

// PNG at the file's own depth: palette and grey files at 1/4/8 bits (2-bit ones at 4), colour at 24 bits BGR,
// alpha (and grey with alpha) at 32 bits BGRA; top row first. Interlaced files give ORVL_ERROR_NOT_SUPPORTED.
int decodePng(const uint8_t* data, size_t size, ORVLBITMAP* out);
// PNG of a 1/4/8/24/32-bit bitmap (palette, grey or colour; alpha kept when the pad bytes carry any).
int encodePng(const ORVLBITMAP* bmp, Bytes* out);

// Where a writer's bytes go: appended in order, with earlier ones patched once known (a file, or memory).
class ByteSink {
 public:
  virtual bool append(const uint8_t* data, size_t n) = 0;
  virtual bool patch(uint32_t at, const uint8_t* data, size_t n) = 0;
  virtual uint64_t size() const = 0;

 protected:
  ~ByteSink() = default;
};

// TIFF: a new one-page file (page <= 1) or page number `page` written into the existing file bytes
// (replacing that page or appending it after the last). packBits chooses run-length compression.
int encodeTiff(const ORVLBITMAP* bmp, bool packBits, int page, Bytes* file);
// TIFF page `page` (from 0) decoded by us when it is 8-bit RGB in strips (see TiffFile::decodeRgb);
// ORVL_ERROR_NOT_SUPPORTED when the platform's reader must take it.
int decodeTiff(const uint8_t* data, size_t size, size_t page, ORVLBITMAP* out);
// A new one-page TIFF file into an empty sink, written as it is made (large pictures need no second copy).
int writeTiff(const ORVLBITMAP* bmp, bool packBits, ByteSink* sink);

// Quality factor (2 best .. 255 smallest) to JPEG quality; defaults for values below 2.
int qualityFromFactor(int qfactor);

}  // namespace orvl
