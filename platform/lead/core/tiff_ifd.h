// The toolkit's view of a TIFF file: its pages (the chain of image directories) and the tags we report, read
// through the suite's one TIFF directory reader (platform/tiffifd).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lead/orvlead_types.h"
#include "tiffifd/tiffifd.h"

namespace orvl {

struct TiffPage {
  uint32_t width = 0, height = 0, bitsPerSample = 1, samplesPerPixel = 1, compression = 1, photometric = 1;
  int32_t xdpi = 0, ydpi = 0;
};

class TiffFile {
 public:
  // Walks the directory chain; data that is not TIFF, cycles and directories outside the data are errors.
  int parse(const uint8_t* data, size_t size);
  int readPage(size_t index, TiffPage* page) const;
  // The page as a 24-bit BGR bitmap when it is 8-bit RGB in strips, uncompressed or PackBits, top row first;
  // ORVL_ERROR_NOT_SUPPORTED for any other page or for damage (the platform's reader decides).
  int decodeRgb(size_t index, ORVLBITMAP* out) const;
  bool bigEndian() const { return reader_.bigEndian(); }

  std::vector<tiffifd::Directory> pages;  // one directory per page, in chain order

 private:
  tiffifd::Reader reader_;
  const uint8_t* data_ = nullptr;
};

}  // namespace orvl
