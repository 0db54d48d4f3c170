// Helpers of the toolkit's tests: small bitmaps with known pixels.
#include "test_util.h"

namespace orvltest {

ORVLCOLOR patternColor(int x, int y) { return ORVL_RGB(x * 37 + 5, y * 53 + 7, (x * 11 + y * 29) & 0xff); }

uint32_t patternIndex(int x, int y, int bits) { return uint32_t((x * 3 + y * 5) % (1 << bits)); }

ORVLBITMAP makePattern(int width, int height, int bits, int order, int view) {
  ORVLBITMAP b;
  orvlInitBitmap(&b, 1, 1, 1);
  ORVLRGBQUAD pal[256];
  for (int i = 0; i < 256; ++i) pal[i] = ORVLRGBQUAD{uint8_t(i * 7), uint8_t(255 - i), uint8_t(i * 13), 0};
  orvlCreateBitmap(&b, ORVL_MEMORY_CONVENTIONAL, width, height, bits, order, bits <= 8 ? pal : nullptr, view);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (bits <= 8) {
        const ORVLRGBQUAD& q = pal[patternIndex(x, y, bits)];
        orvlPutPixelColor(&b, y, x, ORVL_RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
      } else {
        orvlPutPixelColor(&b, y, x, patternColor(x, y));
      }
    }
  return b;
}

}  // namespace orvltest
