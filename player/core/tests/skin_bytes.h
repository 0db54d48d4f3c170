// Small 24-bit bitmap files for the player's native tests and fuzz seeds.
#pragma once

#include <cstdint>
#include <vector>

namespace nxplay_test {

// A "BM" file of width x height, 24 bits, bottom-up (or top-down), pixel (x, y) = (x, y, x + y) as B, G, R.
inline std::vector<uint8_t> SkinFile(int width, int height, bool topDown = false) {
  const uint32_t stride = (uint32_t(width) * 3 + 3) & ~3u;
  const uint32_t bits = stride * uint32_t(height);
  std::vector<uint8_t> f(54 + bits, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (8 * i));
  };
  f[0] = 'B';
  f[1] = 'M';
  put32(2, uint32_t(f.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(width));
  put32(22, uint32_t(topDown ? -height : height));
  f[26] = 1;
  f[28] = 24;
  put32(34, bits);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &f[54 + size_t(y) * stride + size_t(x) * 3];
      p[0] = uint8_t(x);
      p[1] = uint8_t(y);
      p[2] = uint8_t(x + y);
    }
  return f;
}

}  // namespace nxplay_test
