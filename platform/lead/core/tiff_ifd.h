// The toolkit's view of a TIFF file: its pages (the chain of image directories) and the tags we report, read
// through the suite's one TIFF directory reader (platform/tiffifd).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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
  bool bigEndian() const { return reader_.bigEndian(); }

  std::vector<tiffifd::Directory> pages;  // one directory per page, in chain order

 private:
  tiffifd::Reader reader_;
};

}  // namespace orvl
