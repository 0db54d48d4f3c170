// Internal helpers of the toolkit's portable core: record checks, row addressing, raw pixel values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "lead/orvlead_core.h"

namespace orvl {

inline bool isValidBits(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}
inline bool isAllocated(const ORVLBITMAP* b) { return b && (b->Flags & ORVL_BITMAP_ALLOCATED) && b->Data; }
inline int32_t lineBytes(int width, int bits) { return int32_t(((int64_t(width) * bits + 31) / 32) * 4); }

// Memory line of the picture's row y (0 = top) respecting the view perspective.
inline uint8_t* viewRow(const ORVLBITMAP* b, int y) {
  int m = b->ViewPerspective == ORVL_BOTTOM_LEFT ? b->Height - 1 - y : y;
  return b->Data + size_t(m) * size_t(b->BytesPerLine);
}

// Raw pixel value (palette index or packed colour bytes little-endian) at x of a line.
inline uint32_t getRaw(const uint8_t* line, int x, int bits) {
  switch (bits) {
    case 1: return (line[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? (line[x >> 1] & 0x0f) : (line[x >> 1] >> 4);
    case 8: return line[x];
    case 16: return uint32_t(line[2 * x]) | (uint32_t(line[2 * x + 1]) << 8);
    case 24: { const uint8_t* p = line + 3 * x; return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16); }
    default: { const uint8_t* p = line + 4 * x; return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }
  }
}
inline void putRaw(uint8_t* line, int x, int bits, uint32_t v) {
  switch (bits) {
    case 1: { uint8_t m = uint8_t(0x80 >> (x & 7)); line[x >> 3] = (v & 1) ? (line[x >> 3] | m) : (line[x >> 3] & ~m); break; }
    case 4: if (x & 1) line[x >> 1] = uint8_t((line[x >> 1] & 0xf0) | (v & 0x0f));
            else line[x >> 1] = uint8_t((line[x >> 1] & 0x0f) | ((v & 0x0f) << 4));
            break;
    case 8: line[x] = uint8_t(v); break;
    case 16: line[2 * x] = uint8_t(v); line[2 * x + 1] = uint8_t(v >> 8); break;
    case 24: { uint8_t* p = line + 3 * x; p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); break; }
    default: { uint8_t* p = line + 4 * x; p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); p[3] = uint8_t(v >> 24); }
  }
}

// Colour (0x00BBGGRR) of a raw value in bitmap b.
inline ORVLCOLOR rawToColor(const ORVLBITMAP* b, uint32_t v) {
  switch (b->BitsPerPixel) {
    case 1: case 4: case 8: { const ORVLRGBQUAD& q = b->Palette[v & 0xff]; return ORVL_RGB(q.rgbRed, q.rgbGreen, q.rgbBlue); }
    case 16: { int r = (v >> 10) & 31, g = (v >> 5) & 31, bl = v & 31; return ORVL_RGB((r << 3) | (r >> 2), (g << 3) | (g >> 2), (bl << 3) | (bl >> 2)); }
    default:
      if (b->Order == ORVL_ORDER_BGR) return ORVL_RGB(v >> 16, v >> 8, v);
      return ORVL_RGB(v, v >> 8, v >> 16);
  }
}

// Index of the palette entry nearest to a colour (linear search; callers with many pixels use a cache).
int nearestIndex(const ORVLRGBQUAD* pal, int n, int r, int g, int b);

inline uint32_t colorToRaw(const ORVLBITMAP* b, ORVLCOLOR c) {
  int r = c & 0xff, g = (c >> 8) & 0xff, bl = (c >> 16) & 0xff;
  switch (b->BitsPerPixel) {
    case 1: case 4: case 8: return uint32_t(nearestIndex(b->Palette, b->nColors, r, g, bl));
    case 16: return uint32_t(((r >> 3) << 10) | ((g >> 3) << 5) | (bl >> 3));
    default:
      if (b->Order == ORVL_ORDER_BGR) return uint32_t(bl | (g << 8) | (r << 16));
      return uint32_t(r | (g << 8) | (bl << 16));
  }
}

inline uint8_t clamp8(int v) { return uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v)); }
inline int luma(int r, int g, int b) { return (r * 77 + g * 150 + b * 29 + 128) >> 8; }

// Copies pixels of three bytes, swapping the first and the third (RGB <-> BGR); src may be dst.
void copySwappingRedBlue(const uint8_t* src, uint8_t* dst, size_t pixels);

// Fills a palette with the default ramp for the depth (grey levels).
void greyPalette(ORVLRGBQUAD* pal, int bits);

// Allocates a fresh record (no check of its old state) with the given shape. Zeroed pixels.
int createRaw(ORVLBITMAP* b, int width, int height, int bits, int order, int view);

// Replaces dst by src's shape and pixels: frees dst's old memory (when it is not src's) and moves src in.
void adopt(ORVLBITMAP* dst, ORVLBITMAP* fresh);

// A top-left, BGR, 24-bit copy of any picture (for filters and colour work). Caller frees.
int toBgr24(const ORVLBITMAP* src, ORVLBITMAP* out);
// A top-left, BGR, 32-bit copy keeping 32-bit pad bytes.
int toBgr32(const ORVLBITMAP* src, ORVLBITMAP* out);

}  // namespace orvl
