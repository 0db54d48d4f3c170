// TIFF structure reading: byte order, the chain of image directories (pages) and the tags we report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvl {

struct TiffPage {
  uint32_t width = 0, height = 0, bitsPerSample = 1, samplesPerPixel = 1, compression = 1, photometric = 1;
  int32_t xdpi = 0, ydpi = 0;
};

class TiffFile {
 public:
  // Walks the directory chain; cycles and directories outside the data are corruption.
  int parse(const uint8_t* data, size_t size);
  int readPage(size_t index, TiffPage* page) const;

  bool bigEndian = false;
  std::vector<uint32_t> pages;       // offset of each directory
  std::vector<uint32_t> nextFields;  // offset of each directory's "next directory" word
  uint32_t firstField = 4;           // offset of the header's first-directory word

  uint16_t u16(size_t at) const;
  uint32_t u32(size_t at) const;

 private:
  const uint8_t* d_ = nullptr;
  size_t n_ = 0;
};

}  // namespace orvl
