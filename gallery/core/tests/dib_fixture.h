// Small packed DIBs with patterned bits and palettes, for the cache tests and the fuzzer's seeds.
#pragma once
#include <cstdint>
#include <vector>

#include "galcore/thumbcache.h"

namespace galcore_test {

// A DIB as GetDIBits gives one for a bitmap of that size and depth; byte i of the table and bits is i * 7 + seed.
inline std::vector<uint8_t> MakeDib(int32_t width, int32_t height, int bitsPerPixel, uint8_t seed = 1,
                                    uint32_t clrUsed = 0) {
  galcore::DibLayout layout = galcore::DibLayoutForBitmap(width, height, 1, bitsPerPixel);
  if (clrUsed) layout.colourEntries = clrUsed;
  afxcore::MemorySink out;
  afxcore::PutU32(out, galcore::kDibHeaderBytes);
  afxcore::PutU32(out, uint32_t(width));
  afxcore::PutU32(out, uint32_t(height));
  afxcore::PutU16(out, 1);
  afxcore::PutU16(out, layout.bitCount);
  afxcore::PutU32(out, galcore::kDibUncompressed);
  afxcore::PutU32(out, layout.imageBytes);
  afxcore::PutU32(out, 0);
  afxcore::PutU32(out, 0);
  afxcore::PutU32(out, clrUsed);
  afxcore::PutU32(out, 0);
  std::vector<uint8_t> dib = out.Bytes();
  const uint32_t rest = layout.colourEntries * galcore::kColourEntryBytes + layout.imageBytes;
  for (uint32_t i = 0; i < rest; ++i) dib.push_back(uint8_t(i * 7 + seed));
  return dib;
}

}  // namespace galcore_test
