// Helpers of the toolkit's tests: small bitmaps with known pixels.
#pragma once

#include <cstdint>

#include "lead/orvlead_core.h"

namespace orvltest {

// A 24-bit top-left BGR bitmap whose pixel (x, y) is patternColor(x, y).
ORVLBITMAP makePattern(int width, int height, int bits = 24, int order = ORVL_ORDER_BGR, int view = ORVL_TOP_LEFT);
ORVLCOLOR patternColor(int x, int y);
// Palette index used by makePattern for paletted depths.
uint32_t patternIndex(int x, int y, int bits);

// RAII owner for a record in tests.
struct Owned {
  ORVLBITMAP b;
  Owned() { orvlInitBitmap(&b, 1, 1, 1); }
  explicit Owned(const ORVLBITMAP& x) : b(x) {}
  ~Owned() { orvlFreeBitmap(&b); }
  ORVLBITMAP* operator&() { return &b; }
  ORVLBITMAP* operator->() { return &b; }
};

}  // namespace orvltest
