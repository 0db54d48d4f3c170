// Small packed DIBs with patterned bits and palettes, for the cache tests and the fuzzer's seeds.
#pragma once
#include <cstdint>
#include <vector>

#include "galcore/thumbcache.h"

namespace galcore_test {

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

// A DIB as GetDIBits gives one for a bitmap of that size and depth; byte i of the table and bits is i * 7 + seed.
inline std::vector<uint8_t> MakeDib(int32_t width, int32_t height, int bitsPerPixel, uint8_t seed = 1,
                                    uint32_t clrUsed = 0) {
  galcore::DibLayout layout = galcore::DibLayoutForBitmap(width, height, 1, bitsPerPixel);
  if (clrUsed) layout.colourEntries = clrUsed;
  std::vector<uint8_t> dib;
  Put32(dib, galcore::kDibHeaderBytes);
  Put32(dib, uint32_t(width));
  Put32(dib, uint32_t(height));
  Put16(dib, 1);
  Put16(dib, layout.bitCount);
  Put32(dib, galcore::kDibUncompressed);
  Put32(dib, layout.imageBytes);
  Put32(dib, 0);
  Put32(dib, 0);
  Put32(dib, clrUsed);
  Put32(dib, 0);
  const uint32_t rest = layout.colourEntries * galcore::kColourEntryBytes + layout.imageBytes;
  for (uint32_t i = 0; i < rest; ++i) dib.push_back(uint8_t(i * 7 + seed));
  return dib;
}

}  // namespace galcore_test
