// Appending integers to byte vectors in little-endian (BMP, EXIF) and big-endian (PNG) order.
#pragma once

#include <cstdint>
#include <vector>

namespace samplegen {

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}

inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xffff);
  Put16(v, x >> 16);
}

inline void Put32BE(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 3; i >= 0; --i) v.push_back(uint8_t(x >> (8 * i)));
}

}  // namespace samplegen
