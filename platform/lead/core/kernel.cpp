// Bitmap kernel of the toolkit: records, memory, rows, copies, fills, flips, sizes, rotation, combining.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <new>
#include <vector>

#include "pixels.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace { constexpr double kPi = 3.14159265358979323846; }

namespace orvl {

int nearestIndex(const ORVLRGBQUAD* pal, int n, int r, int g, int b) {
  int best = 0, bestD = 1 << 30;
  for (int i = 0; i < n; ++i) {
    int dr = pal[i].rgbRed - r, dg = pal[i].rgbGreen - g, db = pal[i].rgbBlue - b;
    int d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
    if (d < bestD) { bestD = d; best = i; if (d == 0) break; }
  }
  return best;
}

void copySwappingRedBlue(const uint8_t* src, uint8_t* dst, size_t pixels) {
  size_t i = 0;
#ifdef __SSE2__
  // Sixteen pixels (three vectors) a step. Within vector r, byte j is byte k = 16 r + j of the run: k % 3 == 1
  // stays, k % 3 == 0 takes byte k + 2 and k % 3 == 2 byte k - 2; the few of those across a vector boundary
  // come from the neighbouring vector.
  struct Masks {
    __m128i keep[3], next[3], prev[3];
    Masks() {
      for (int r = 0; r < 3; ++r) {
        alignas(16) uint8_t k[16], n[16], p[16];
        for (int j = 0; j < 16; ++j) {
          const int m = (16 * r + j) % 3;
          k[j] = m == 1 ? 0xFF : 0;
          n[j] = m == 0 ? 0xFF : 0;
          p[j] = m == 2 ? 0xFF : 0;
        }
        keep[r] = _mm_load_si128(reinterpret_cast<const __m128i*>(k));
        next[r] = _mm_load_si128(reinterpret_cast<const __m128i*>(n));
        prev[r] = _mm_load_si128(reinterpret_cast<const __m128i*>(p));
      }
    }
  };
  static const Masks m;
  const __m128i byte0 = _mm_cvtsi32_si128(0xFF), byte1 = _mm_slli_si128(byte0, 1);
  const __m128i byte14 = _mm_slli_si128(byte0, 14), byte15 = _mm_slli_si128(byte0, 15);
  for (; i + 16 <= pixels; i += 16) {
    const __m128i* s = reinterpret_cast<const __m128i*>(src + 3 * i);
    const __m128i a = _mm_loadu_si128(s), b = _mm_loadu_si128(s + 1), c = _mm_loadu_si128(s + 2);
    auto inner = [&](__m128i v, int r) {
      return _mm_or_si128(_mm_or_si128(_mm_and_si128(v, m.keep[r]), _mm_and_si128(_mm_srli_si128(v, 2), m.next[r])),
                          _mm_and_si128(_mm_slli_si128(v, 2), m.prev[r]));
    };
    const __m128i oa = _mm_or_si128(inner(a, 0), _mm_and_si128(_mm_slli_si128(b, 14), byte15));
    const __m128i ob = _mm_or_si128(_mm_or_si128(inner(b, 1), _mm_and_si128(_mm_slli_si128(c, 14), byte14)),
                                    _mm_and_si128(_mm_srli_si128(a, 14), byte1));
    const __m128i oc = _mm_or_si128(inner(c, 2), _mm_and_si128(_mm_srli_si128(b, 14), byte0));
    __m128i* d = reinterpret_cast<__m128i*>(dst + 3 * i);
    _mm_storeu_si128(d, oa);
    _mm_storeu_si128(d + 1, ob);
    _mm_storeu_si128(d + 2, oc);
  }
#endif
  for (; i < pixels; ++i) {
    const uint8_t* s = src + 3 * i;
    uint8_t* d = dst + 3 * i;
    const uint8_t first = s[0], third = s[2];
    d[0] = third;
    d[1] = s[1];
    d[2] = first;
  }
}

void greyPalette(ORVLRGBQUAD* pal, int bits) {
  int n = bits <= 8 ? (1 << bits) : 0;
  for (int i = 0; i < n; ++i) {
    uint8_t v = uint8_t(i * 255 / (n - 1));
    pal[i] = ORVLRGBQUAD{v, v, v, 0};
  }
}

static int setupRecord(ORVLBITMAP* b, int width, int height, int bits) {
  if (!isValidBits(bits)) return ORVL_ERROR_INVALID_BITS;
  if (width <= 0 || height <= 0 || width > ORVL_MAX_DIMENSION || height > ORVL_MAX_DIMENSION)
    return ORVL_ERROR_INVALID_SIZE;
  int64_t bytes = int64_t(lineBytes(width, bits)) * height;
  if (bytes > int64_t(ORVL_MAX_PIXEL_BYTES)) return ORVL_ERROR_INVALID_SIZE;
  std::memset(b, 0, sizeof *b);
  b->uStructSize = sizeof *b;
  b->Width = width;
  b->Height = height;
  b->BitsPerPixel = bits;
  b->BytesPerLine = lineBytes(width, bits);
  b->Order = ORVL_ORDER_BGR;
  b->ViewPerspective = ORVL_TOP_LEFT;
  b->XResolution = b->YResolution = 96;
  b->Size = uint32_t(bytes);
  if (bits <= 8) {
    b->nColors = 1 << bits;
    greyPalette(b->Palette, bits);
  }
  return ORVL_SUCCESS;
}

int createRaw(ORVLBITMAP* b, int width, int height, int bits, int order, int view) {
  int rc = setupRecord(b, width, height, bits);
  if (rc != ORVL_SUCCESS) return rc;
  b->Order = order;
  b->ViewPerspective = view;
  b->Data = static_cast<uint8_t*>(std::calloc(b->Size, 1));
  if (!b->Data) return ORVL_ERROR_NO_MEMORY;
  b->Flags |= ORVL_BITMAP_ALLOCATED;
  return ORVL_SUCCESS;
}

void adopt(ORVLBITMAP* dst, ORVLBITMAP* fresh) {
  if (isAllocated(dst) && dst->Data != fresh->Data) std::free(dst->Data);
  int32_t xr = dst->XResolution, yr = dst->YResolution;
  *dst = *fresh;
  if (xr > 0 && yr > 0) { dst->XResolution = xr; dst->YResolution = yr; }
}

int toBgrN(const ORVLBITMAP* src, ORVLBITMAP* out, int bits) {
  if (!isAllocated(src)) return ORVL_ERROR_NO_BITMAP;
  int rc = createRaw(out, src->Width, src->Height, bits, ORVL_ORDER_BGR, ORVL_TOP_LEFT);
  if (rc != ORVL_SUCCESS) return rc;
  out->XResolution = src->XResolution;
  out->YResolution = src->YResolution;
  const int bpp = bits / 8;
  for (int y = 0; y < src->Height; ++y) {
    const uint8_t* s = viewRow(src, y);
    uint8_t* d = viewRow(out, y);
    if (src->BitsPerPixel == bits && src->Order == ORVL_ORDER_BGR) {
      std::memcpy(d, s, size_t(src->Width) * bpp);
    } else if (src->BitsPerPixel >= 24 && src->Order == ORVL_ORDER_RGB) {
      const int sb = src->BitsPerPixel / 8;
      for (int x = 0; x < src->Width; ++x, s += sb, d += bpp) {
        d[0] = s[2]; d[1] = s[1]; d[2] = s[0];
        if (bpp == 4) d[3] = sb == 4 ? s[3] : 0;
      }
    } else if (src->BitsPerPixel >= 24) {
      const int sb = src->BitsPerPixel / 8;
      for (int x = 0; x < src->Width; ++x, s += sb, d += bpp) {
        d[0] = s[0]; d[1] = s[1]; d[2] = s[2];
        if (bpp == 4) d[3] = sb == 4 ? s[3] : 0;
      }
    } else {
      for (int x = 0; x < src->Width; ++x, d += bpp) {
        ORVLCOLOR c = rawToColor(src, getRaw(s, x, src->BitsPerPixel));
        d[0] = uint8_t(c >> 16); d[1] = uint8_t(c >> 8); d[2] = uint8_t(c);
      }
    }
  }
  return ORVL_SUCCESS;
}
int toBgr24(const ORVLBITMAP* src, ORVLBITMAP* out) { return toBgrN(src, out, 24); }
int toBgr32(const ORVLBITMAP* src, ORVLBITMAP* out) { return toBgrN(src, out, 32); }

// Builds a picture of the given shape whose pixel at view (x, y) is src's raw pixel at map(x, y).
template <class Map>
static int remapRaw(ORVLBITMAP* bmp, int width, int height, Map map) {
  ORVLBITMAP out;
  int rc = createRaw(&out, width, height, bmp->BitsPerPixel, bmp->Order, bmp->ViewPerspective);
  if (rc != ORVL_SUCCESS) return rc;
  std::memcpy(out.Palette, bmp->Palette, sizeof out.Palette);
  out.nColors = bmp->nColors;
  const int bits = bmp->BitsPerPixel;
  std::vector<const uint8_t*> rows(size_t(bmp->Height));
  for (int y = 0; y < bmp->Height; ++y) rows[size_t(y)] = viewRow(bmp, y);
  for (int y = 0; y < height; ++y) {
    uint8_t* d = viewRow(&out, y);
    for (int x = 0; x < width; ++x) {
      int sx, sy;
      map(x, y, &sx, &sy);
      putRaw(d, x, bits, getRaw(rows[size_t(sy)], sx, bits));
    }
  }
  adopt(bmp, &out);
  return ORVL_SUCCESS;
}

}  // namespace orvl

using namespace orvl;

extern "C" {

int orvlInitBitmap(ORVLBITMAP* bmp, int width, int height, int bits) {
  if (!bmp) return ORVL_ERROR_NO_BITMAP;
  return setupRecord(bmp, width, height, bits);
}

int orvlAllocateBitmap(ORVLBITMAP* bmp, int memoryKind) {
  if (!bmp) return ORVL_ERROR_NO_BITMAP;
  if (memoryKind != 0 && memoryKind != ORVL_MEMORY_CONVENTIONAL) return ORVL_ERROR_INVALID_PARAM;
  if (bmp->Flags & ORVL_BITMAP_ALLOCATED) return ORVL_ERROR_INVALID_PARAM;
  if (!isValidBits(bmp->BitsPerPixel) || bmp->Width <= 0 || bmp->Height <= 0) return ORVL_ERROR_INVALID_SIZE;
  bmp->Data = static_cast<uint8_t*>(std::calloc(bmp->Size, 1));
  if (!bmp->Data) return ORVL_ERROR_NO_MEMORY;
  bmp->Flags |= ORVL_BITMAP_ALLOCATED;
  return ORVL_SUCCESS;
}

int orvlCreateBitmap(ORVLBITMAP* bmp, int memoryKind, int width, int height, int bits, int order,
                     const ORVLRGBQUAD* palette, int viewPerspective) {
  if (!bmp) return ORVL_ERROR_NO_BITMAP;
  if (memoryKind != 0 && memoryKind != ORVL_MEMORY_CONVENTIONAL) return ORVL_ERROR_INVALID_PARAM;
  if ((order != ORVL_ORDER_RGB && order != ORVL_ORDER_BGR) ||
      (viewPerspective != ORVL_TOP_LEFT && viewPerspective != ORVL_BOTTOM_LEFT))
    return ORVL_ERROR_INVALID_PARAM;
  ORVLBITMAP fresh;
  int rc = createRaw(&fresh, width, height, bits, order, viewPerspective);
  if (rc != ORVL_SUCCESS) return rc;
  if (palette && bits <= 8) std::memcpy(fresh.Palette, palette, sizeof(ORVLRGBQUAD) << bits);
  *bmp = fresh;
  return ORVL_SUCCESS;
}

void orvlFreeBitmap(ORVLBITMAP* bmp) {
  if (!bmp || !(bmp->Flags & ORVL_BITMAP_ALLOCATED)) return;
  std::free(bmp->Data);
  bmp->Data = nullptr;
  bmp->Flags &= ~ORVL_BITMAP_ALLOCATED;
  bmp->AccessCount = 0;
}

void orvlAccessBitmap(ORVLBITMAP* bmp) { if (bmp) ++bmp->AccessCount; }
void orvlReleaseBitmap(ORVLBITMAP* bmp) { if (bmp && bmp->AccessCount > 0) --bmp->AccessCount; }

int32_t orvlGetBitmapRowCol(const ORVLBITMAP* bmp, uint8_t* buffer, int row, int col, uint32_t bytes) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  if (!buffer || row < 0 || row >= bmp->Height || col < 0 || col >= bmp->Width ||
      (int64_t(col) * bmp->BitsPerPixel) % 8)
    return ORVL_ERROR_INVALID_PARAM;
  uint32_t offset = uint32_t(int64_t(col) * bmp->BitsPerPixel / 8);
  uint32_t n = std::min<uint32_t>(bytes, uint32_t(bmp->BytesPerLine) - offset);
  if (n == 0) return ORVL_ERROR_INVALID_PARAM;
  std::memcpy(buffer, bmp->Data + size_t(row) * size_t(bmp->BytesPerLine) + offset, n);
  return int32_t(n);
}

int32_t orvlPutBitmapRowCol(ORVLBITMAP* bmp, const uint8_t* buffer, int row, int col, uint32_t bytes) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  if (!buffer || row < 0 || row >= bmp->Height || col < 0 || col >= bmp->Width ||
      (int64_t(col) * bmp->BitsPerPixel) % 8)
    return ORVL_ERROR_INVALID_PARAM;
  uint32_t offset = uint32_t(int64_t(col) * bmp->BitsPerPixel / 8);
  uint32_t n = std::min<uint32_t>(bytes, uint32_t(bmp->BytesPerLine) - offset);
  if (n == 0) return ORVL_ERROR_INVALID_PARAM;
  std::memcpy(bmp->Data + size_t(row) * size_t(bmp->BytesPerLine) + offset, buffer, n);
  return int32_t(n);
}

int32_t orvlGetBitmapRow(const ORVLBITMAP* bmp, uint8_t* buffer, int row, uint32_t bytes) {
  return orvlGetBitmapRowCol(bmp, buffer, row, 0, bytes);
}
int32_t orvlPutBitmapRow(ORVLBITMAP* bmp, const uint8_t* buffer, int row, uint32_t bytes) {
  return orvlPutBitmapRowCol(bmp, buffer, row, 0, bytes);
}

int orvlChangeBitmapHeight(ORVLBITMAP* bmp, int height) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  if (height <= 0 || height > ORVL_MAX_DIMENSION) return ORVL_ERROR_INVALID_SIZE;
  ORVLBITMAP out;
  int rc = createRaw(&out, bmp->Width, height, bmp->BitsPerPixel, bmp->Order, bmp->ViewPerspective);
  if (rc != ORVL_SUCCESS) return rc;
  std::memcpy(out.Palette, bmp->Palette, sizeof out.Palette);
  out.nColors = bmp->nColors;
  for (int y = 0; y < std::min(height, bmp->Height); ++y)
    std::memcpy(viewRow(&out, y), viewRow(bmp, y), size_t(bmp->BytesPerLine));
  adopt(bmp, &out);
  return ORVL_SUCCESS;
}

int orvlClearBitmap(ORVLBITMAP* bmp) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  std::memset(bmp->Data, 0, bmp->Size);
  return ORVL_SUCCESS;
}

int orvlFillBitmap(ORVLBITMAP* bmp, ORVLCOLOR color) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  uint32_t v = colorToRaw(bmp, color);
  uint8_t* first = bmp->Data;
  for (int x = 0; x < bmp->Width; ++x) putRaw(first, x, bmp->BitsPerPixel, v);
  for (int y = 1; y < bmp->Height; ++y)
    std::memcpy(bmp->Data + size_t(y) * size_t(bmp->BytesPerLine), first, size_t(bmp->BytesPerLine));
  return ORVL_SUCCESS;
}

int orvlCopyBitmap(ORVLBITMAP* dst, const ORVLBITMAP* src) {
  if (!dst || !isAllocated(src)) return ORVL_ERROR_NO_BITMAP;
  if (dst == src) return ORVL_SUCCESS;
  uint8_t* data = static_cast<uint8_t*>(std::malloc(src->Size));
  if (!data) return ORVL_ERROR_NO_MEMORY;
  std::memcpy(data, src->Data, src->Size);
  if (isAllocated(dst) && dst->Data != src->Data) std::free(dst->Data);
  *dst = *src;
  dst->Data = data;
  dst->AccessCount = 0;
  return ORVL_SUCCESS;
}

int orvlCopyBitmapData(ORVLBITMAP* dst, const ORVLBITMAP* src) {
  if (!isAllocated(dst) || !isAllocated(src)) return ORVL_ERROR_NO_BITMAP;
  if (dst->Width != src->Width || dst->Height != src->Height || dst->BitsPerPixel != src->BitsPerPixel)
    return ORVL_ERROR_INVALID_PARAM;
  if (dst == src) return ORVL_SUCCESS;
  for (int y = 0; y < src->Height; ++y) std::memcpy(viewRow(dst, y), viewRow(src, y), size_t(src->BytesPerLine));
  if (dst->Order != src->Order && src->BitsPerPixel >= 24) {
    const int bpp = src->BitsPerPixel / 8;
    for (int y = 0; y < dst->Height; ++y) {
      uint8_t* p = viewRow(dst, y);
      for (int x = 0; x < dst->Width; ++x, p += bpp) std::swap(p[0], p[2]);
    }
  }
  std::memcpy(dst->Palette, src->Palette, sizeof dst->Palette);
  dst->nColors = src->nColors;
  return ORVL_SUCCESS;
}

void orvlCopyBitmapHandle(ORVLBITMAP* dst, const ORVLBITMAP* src) {
  if (dst && src) *dst = *src;
}

int orvlCopyBitmapRect(ORVLBITMAP* dst, const ORVLBITMAP* src, int left, int top, int width, int height) {
  if (!dst || !isAllocated(src)) return ORVL_ERROR_NO_BITMAP;
  int x0 = std::max(0, left), y0 = std::max(0, top);
  int x1 = int(std::min<int64_t>(src->Width, int64_t(left) + width));
  int y1 = int(std::min<int64_t>(src->Height, int64_t(top) + height));
  if (width <= 0 || height <= 0 || x1 <= x0 || y1 <= y0) return ORVL_ERROR_INVALID_SIZE;
  ORVLBITMAP out;
  int rc = createRaw(&out, x1 - x0, y1 - y0, src->BitsPerPixel, src->Order, src->ViewPerspective);
  if (rc != ORVL_SUCCESS) return rc;
  std::memcpy(out.Palette, src->Palette, sizeof out.Palette);
  out.nColors = src->nColors;
  out.XResolution = src->XResolution;
  out.YResolution = src->YResolution;
  const int bits = src->BitsPerPixel;
  for (int y = y0; y < y1; ++y) {
    const uint8_t* s = viewRow(src, y);
    uint8_t* d = viewRow(&out, y - y0);
    if (bits >= 8) std::memcpy(d, s + size_t(x0) * (bits / 8), size_t(x1 - x0) * (bits / 8));
    else for (int x = x0; x < x1; ++x) putRaw(d, x - x0, bits, getRaw(s, x, bits));
  }
  if (dst == src) adopt(dst, &out);
  else { orvlFreeBitmap(dst); *dst = out; }
  return ORVL_SUCCESS;
}

int orvlFlipBitmap(ORVLBITMAP* bmp) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  std::vector<uint8_t> tmp(size_t(bmp->BytesPerLine));
  for (int a = 0, b = bmp->Height - 1; a < b; ++a, --b) {
    uint8_t* pa = bmp->Data + size_t(a) * bmp->BytesPerLine;
    uint8_t* pb = bmp->Data + size_t(b) * bmp->BytesPerLine;
    std::memcpy(tmp.data(), pa, tmp.size());
    std::memcpy(pa, pb, tmp.size());
    std::memcpy(pb, tmp.data(), tmp.size());
  }
  return ORVL_SUCCESS;
}

int orvlReverseBitmap(ORVLBITMAP* bmp) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  const int bits = bmp->BitsPerPixel, w = bmp->Width;
  for (int y = 0; y < bmp->Height; ++y) {
    uint8_t* p = bmp->Data + size_t(y) * bmp->BytesPerLine;
    if (bits >= 8) {
      const int bpp = bits / 8;
      for (int a = 0, b = w - 1; a < b; ++a, --b)
        for (int k = 0; k < bpp; ++k) std::swap(p[a * bpp + k], p[b * bpp + k]);
    } else {
      for (int a = 0, b = w - 1; a < b; ++a, --b) {
        uint32_t va = getRaw(p, a, bits), vb = getRaw(p, b, bits);
        putRaw(p, a, bits, vb);
        putRaw(p, b, bits, va);
      }
    }
  }
  return ORVL_SUCCESS;
}

int orvlGrayScaleBitmap(ORVLBITMAP* bmp, int bits) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  if (bits != 8 && bits != 24 && bits != 32) return ORVL_ERROR_INVALID_BITS;
  ORVLBITMAP out;
  int rc = createRaw(&out, bmp->Width, bmp->Height, bits, bmp->Order, bmp->ViewPerspective);
  if (rc != ORVL_SUCCESS) return rc;
  for (int y = 0; y < bmp->Height; ++y) {
    const uint8_t* s = viewRow(bmp, y);
    uint8_t* d = viewRow(&out, y);
    for (int x = 0; x < bmp->Width; ++x) {
      ORVLCOLOR c = rawToColor(bmp, getRaw(s, x, bmp->BitsPerPixel));
      uint8_t l = uint8_t(luma(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff));
      if (bits == 8) d[x] = l;
      else std::memset(d + size_t(x) * (bits / 8), l, 3);
    }
  }
  adopt(bmp, &out);
  return ORVL_SUCCESS;
}

int orvlHalfToneBitmap(ORVLBITMAP* bmp, int dim) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  if (dim < 2 || dim > 16) return ORVL_ERROR_INVALID_PARAM;
  // Clustered dot: a cell's thresholds grow with the distance from its centre, so dark areas grow dots.
  std::vector<int> order(size_t(dim * dim));
  std::vector<std::pair<double, int>> dist;
  for (int i = 0; i < dim * dim; ++i) {
    double cx = (i % dim) - (dim - 1) / 2.0, cy = (i / dim) - (dim - 1) / 2.0;
    dist.push_back({cx * cx + cy * cy + i * 1e-6, i});
  }
  std::sort(dist.begin(), dist.end());
  for (int k = 0; k < dim * dim; ++k) order[size_t(dist[size_t(k)].second)] = (k * 255 + 127) / (dim * dim);
  ORVLBITMAP out;
  int rc = createRaw(&out, bmp->Width, bmp->Height, 1, bmp->Order, bmp->ViewPerspective);
  if (rc != ORVL_SUCCESS) return rc;
  for (int y = 0; y < bmp->Height; ++y) {
    const uint8_t* s = viewRow(bmp, y);
    uint8_t* d = viewRow(&out, y);
    for (int x = 0; x < bmp->Width; ++x) {
      ORVLCOLOR c = rawToColor(bmp, getRaw(s, x, bmp->BitsPerPixel));
      int l = luma(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
      // Dots are ink (black): a pixel is black when its darkness reaches the cell threshold.
      putRaw(d, x, 1, (255 - l) > order[size_t((y % dim) * dim + x % dim)] ? 0 : 1);
    }
  }
  adopt(bmp, &out);
  return ORVL_SUCCESS;
}

int orvlResizeBitmap(const ORVLBITMAP* src, ORVLBITMAP* dst, int width, int height) {
  if (!dst || !isAllocated(src)) return ORVL_ERROR_NO_BITMAP;
  if (width <= 0 || height <= 0 || width > ORVL_MAX_DIMENSION || height > ORVL_MAX_DIMENSION)
    return ORVL_ERROR_INVALID_SIZE;
  ORVLBITMAP work = *src;  // shares pixels; remapRaw replaces work's record only
  work.Flags &= ~ORVL_BITMAP_ALLOCATED;  // keep remap from freeing src's memory
  const int64_t sw = src->Width, sh = src->Height;
  std::vector<int> xs(static_cast<size_t>(width));
  for (int x = 0; x < width; ++x) xs[size_t(x)] = int((2 * x + 1) * sw / (2 * int64_t(width)));
  int rc = remapRaw(&work, width, height, [&](int x, int y, int* sx, int* sy) {
    *sx = xs[size_t(x)];
    *sy = int((2 * y + 1) * sh / (2 * int64_t(height)));
  });
  if (rc != ORVL_SUCCESS) return rc;
  if (dst == src) adopt(dst, &work);
  else { orvlFreeBitmap(dst); *dst = work; }
  return ORVL_SUCCESS;
}

}  // extern "C"

// ---- Filtered resampling: separable, fixed-point weights ----
namespace orvl {

struct Taps {
  std::vector<int> start, count;
  std::vector<int32_t> weight;  // 14-bit fixed point, count[i] entries per output
  int maxCount = 0;
};
static constexpr int kWeightBits = 14;

static void makeTaps(int srcLen, int dstLen, Taps* t) {
  t->start.resize(size_t(dstLen));
  t->count.resize(size_t(dstLen));
  double scale = double(srcLen) / dstLen;
  std::vector<std::vector<double>> all(static_cast<size_t>(dstLen));
  for (int i = 0; i < dstLen; ++i) {
    std::vector<double>& w = all[size_t(i)];
    int s0;
    if (scale > 1.0) {  // area coverage of [i*scale, (i+1)*scale)
      double a = i * scale, b = (i + 1) * scale;
      s0 = int(std::floor(a));
      int s1 = std::min(srcLen, int(std::ceil(b)));
      for (int s = s0; s < s1; ++s) w.push_back(std::min<double>(b, s + 1) - std::max<double>(a, s));
    } else {  // bilinear between neighbouring centres
      double c = (i + 0.5) * scale - 0.5;
      s0 = int(std::floor(c));
      double f = c - s0;
      if (s0 < 0) { s0 = 0; f = 0; }
      if (s0 >= srcLen - 1) { s0 = srcLen - 1; f = 0; }
      w.push_back(1 - f);
      if (f > 0) w.push_back(f);
    }
    t->start[size_t(i)] = s0;
    t->count[size_t(i)] = int(w.size());
    t->maxCount = std::max(t->maxCount, int(w.size()));
  }
  t->weight.assign(size_t(dstLen) * t->maxCount, 0);
  for (int i = 0; i < dstLen; ++i) {
    const std::vector<double>& w = all[size_t(i)];
    double sum = 0;
    for (double v : w) sum += v;
    int32_t acc = 0;
    for (size_t k = 0; k < w.size(); ++k) {
      int32_t q = int32_t(std::lround(w[k] / sum * (1 << kWeightBits)));
      t->weight[size_t(i) * t->maxCount + k] = q;
      acc += q;
    }
    // The weights of one output sum exactly to one, so constant pictures stay constant.
    t->weight[size_t(i) * t->maxCount] += (1 << kWeightBits) - acc;
  }
}

// Resamples a top-left picture of c bytes per pixel (24 or 32 bits) into dst of the same layout.
static void resampleBytes(const ORVLBITMAP* src, ORVLBITMAP* dst, int c) {
  Taps tx, ty;
  makeTaps(src->Width, dst->Width, &tx);
  makeTaps(src->Height, dst->Height, &ty);
  const int dw = dst->Width;
  // Horizontal results of the source lines an output line needs, kept while later lines need them.
  std::vector<int32_t> acc(size_t(dw) * c);
  std::deque<std::vector<uint16_t>> cache;  // horizontal results of source rows [cacheStart, ...)
  int cacheStart = 0;
  auto horiz = [&](int sy, uint16_t* out) {
    const uint8_t* s = viewRow(src, sy);
    for (int x = 0; x < dw; ++x) {
      const int32_t* w = &tx.weight[size_t(x) * tx.maxCount];
      const uint8_t* p = s + size_t(tx.start[size_t(x)]) * c;
      int n = tx.count[size_t(x)];
      int32_t a0 = 0, a1 = 0, a2 = 0, a3 = 0;
      for (int k = 0; k < n; ++k, p += c) {
        a0 += p[0] * w[k]; a1 += p[1] * w[k]; a2 += p[2] * w[k];
        if (c == 4) a3 += p[3] * w[k];
      }
      // Keep 6 fractional bits for the vertical pass.
      uint16_t* o = out + size_t(x) * c;
      o[0] = uint16_t((a0 + (1 << 7)) >> 8); o[1] = uint16_t((a1 + (1 << 7)) >> 8); o[2] = uint16_t((a2 + (1 << 7)) >> 8);
      if (c == 4) o[3] = uint16_t((a3 + (1 << 7)) >> 8);
    }
  };
  for (int y = 0; y < dst->Height; ++y) {
    int s0 = ty.start[size_t(y)], n = ty.count[size_t(y)];
    // Drop cached rows above s0, add rows up to s0 + n.
    while (!cache.empty() && cacheStart < s0) { cache.pop_front(); ++cacheStart; }
    if (cache.empty()) cacheStart = s0;
    while (cacheStart + int(cache.size()) < s0 + n) {
      cache.emplace_back(size_t(dw) * c);
      horiz(cacheStart + int(cache.size()) - 1, cache.back().data());
    }
    std::fill(acc.begin(), acc.end(), 0);
    const int32_t* w = &ty.weight[size_t(y) * ty.maxCount];
    for (int k = 0; k < n; ++k) {
      const uint16_t* h = cache[size_t(s0 + k - cacheStart)].data();
      int32_t wk = w[k];
      for (size_t i = 0; i < acc.size(); ++i) acc[i] += h[i] * wk;
    }
    uint8_t* d = viewRow(dst, y);
    const int shift = kWeightBits + 6;
    for (size_t i = 0; i < acc.size(); ++i) d[i] = clamp8((acc[i] + (1 << (shift - 1))) >> shift);
  }
}

}  // namespace orvl

extern "C" {

int orvlResampleBitmap(ORVLBITMAP* bmp, int width, int height) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  if (width <= 0 || height <= 0 || width > ORVL_MAX_DIMENSION || height > ORVL_MAX_DIMENSION)
    return ORVL_ERROR_INVALID_SIZE;
  ORVLBITMAP work, *src = bmp;
  bool converted = false;
  if (bmp->BitsPerPixel < 24) {
    int rc = toBgr24(bmp, &work);
    if (rc != ORVL_SUCCESS) return rc;
    src = &work;
    converted = true;
  }
  ORVLBITMAP out;
  int rc = createRaw(&out, width, height, src->BitsPerPixel, src->Order, src->ViewPerspective);
  if (rc == ORVL_SUCCESS) {
    try {
      resampleBytes(src, &out, src->BitsPerPixel / 8);
    } catch (const std::bad_alloc&) {
      orvlFreeBitmap(&out);
      rc = ORVL_ERROR_NO_MEMORY;
    }
  }
  if (rc == ORVL_SUCCESS) {
    out.XResolution = bmp->XResolution;
    out.YResolution = bmp->YResolution;
    adopt(bmp, &out);
  }
  if (converted) orvlFreeBitmap(&work);
  return rc;
}

int orvlSizeBitmap(ORVLBITMAP* bmp, int width, int height, uint32_t flags) {
  if (flags == ORVL_SIZE_RESAMPLE) return orvlResampleBitmap(bmp, width, height);
  if (flags != ORVL_SIZE_NORMAL) return ORVL_ERROR_INVALID_PARAM;
  return orvlResizeBitmap(bmp, bmp, width, height);
}

}  // extern "C"

// ---- Rotation and shearing ----
namespace orvl {

// Inverse-mapped affine warp of a picture into a new canvas; (u, v) source = A * (x, y) + t.
static int warp(ORVLBITMAP* bmp, int outW, int outH, double a, double b, double c, double d, double tx,
                double ty, bool bilinear, ORVLCOLOR fill) {
  const int bits = bmp->BitsPerPixel;
  if (bits < 8) return ORVL_ERROR_INVALID_BITS;
  if (bilinear && bits < 24) bilinear = false;
  ORVLBITMAP out;
  int rc = createRaw(&out, outW, outH, bits, bmp->Order, bmp->ViewPerspective);
  if (rc != ORVL_SUCCESS) return rc;
  std::memcpy(out.Palette, bmp->Palette, sizeof out.Palette);
  out.nColors = bmp->nColors;
  out.XResolution = bmp->XResolution;
  out.YResolution = bmp->YResolution;
  const uint32_t fillRaw = colorToRaw(bmp, fill);
  const int bpp = bits / 8;
  const int w = bmp->Width, h = bmp->Height;
  for (int y = 0; y < outH; ++y) {
    uint8_t* dl = viewRow(&out, y);
    for (int x = 0; x < outW; ++x) {
      double u = a * (x + 0.5) + b * (y + 0.5) + tx - 0.5;
      double v = c * (x + 0.5) + d * (y + 0.5) + ty - 0.5;
      if (!bilinear) {
        int su = int(std::floor(u + 0.5)), sv = int(std::floor(v + 0.5));
        putRaw(dl, x, bits, (su >= 0 && sv >= 0 && su < w && sv < h) ? getRaw(viewRow(bmp, sv), su, bits) : fillRaw);
        continue;
      }
      if (u < -0.5 || v < -0.5 || u > w - 0.5 || v > h - 0.5) { putRaw(dl, x, bits, fillRaw); continue; }
      int u0 = int(std::floor(u)), v0 = int(std::floor(v));
      double fu = u - u0, fv = v - v0;
      int u1 = std::min(w - 1, u0 + 1), v1 = std::min(h - 1, v0 + 1);
      u0 = std::max(0, u0); v0 = std::max(0, v0);
      const uint8_t* p00 = viewRow(bmp, v0) + u0 * bpp; const uint8_t* p01 = viewRow(bmp, v0) + u1 * bpp;
      const uint8_t* p10 = viewRow(bmp, v1) + u0 * bpp; const uint8_t* p11 = viewRow(bmp, v1) + u1 * bpp;
      uint8_t* q = dl + x * bpp;
      for (int k = 0; k < bpp; ++k) {
        double top = p00[k] + (p01[k] - p00[k]) * fu, bot = p10[k] + (p11[k] - p10[k]) * fu;
        q[k] = clamp8(int(top + (bot - top) * fv + 0.5));
      }
    }
  }
  adopt(bmp, &out);
  return ORVL_SUCCESS;
}

// A quarter turn of a picture with whole-byte pixels (clockwise: output (x, y) = source (y, h - 1 - x)), in
// tiles: row by row, every output pixel would read another source line, and the lines a tile reads stay in the
// cache.
template <int Bpp>
static int quarterTurn(ORVLBITMAP* bmp, bool clockwise) {
  const int w = bmp->Width, h = bmp->Height;
  ORVLBITMAP out;
  int rc = createRaw(&out, h, w, bmp->BitsPerPixel, bmp->Order, bmp->ViewPerspective);
  if (rc != ORVL_SUCCESS) return rc;
  std::memcpy(out.Palette, bmp->Palette, sizeof out.Palette);
  out.nColors = bmp->nColors;
  std::vector<const uint8_t*> rows(static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) rows[size_t(y)] = viewRow(bmp, y);
  constexpr int kTile = 32;
  for (int y0 = 0; y0 < w; y0 += kTile) {
    const int y1 = std::min(w, y0 + kTile);
    for (int x0 = 0; x0 < h; x0 += kTile) {
      const int x1 = std::min(h, x0 + kTile);
      for (int y = y0; y < y1; ++y) {
        uint8_t* d = viewRow(&out, y) + size_t(x0) * Bpp;
        const size_t sx = size_t(clockwise ? y : w - 1 - y) * Bpp;
        for (int x = x0; x < x1; ++x, d += Bpp) std::memcpy(d, rows[size_t(clockwise ? h - 1 - x : x)] + sx, Bpp);
      }
    }
  }
  adopt(bmp, &out);
  return ORVL_SUCCESS;
}

static int rotateRight(ORVLBITMAP* bmp, int quarter) {
  const int w = bmp->Width, h = bmp->Height;
  if (quarter == 1 || quarter == 3) {
    switch (bmp->BitsPerPixel) {
      case 8: return quarterTurn<1>(bmp, quarter == 1);
      case 24: return quarterTurn<3>(bmp, quarter == 1);
      case 32: return quarterTurn<4>(bmp, quarter == 1);
      default: break;
    }
  }
  switch (quarter) {
    case 1: return remapRaw(bmp, h, w, [&](int x, int y, int* sx, int* sy) { *sx = y; *sy = h - 1 - x; });
    case 2: return remapRaw(bmp, w, h, [&](int x, int y, int* sx, int* sy) { *sx = w - 1 - x; *sy = h - 1 - y; });
    case 3: return remapRaw(bmp, h, w, [&](int x, int y, int* sx, int* sy) { *sx = w - 1 - y; *sy = x; });
    default: return ORVL_SUCCESS;
  }
}

static int rotateHundredths(ORVLBITMAP* bmp, int64_t hundredths, uint32_t flags, ORVLCOLOR fill, bool fine) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  if (flags & ~uint32_t(ORVL_ROTATE_RESIZE | ORVL_ROTATE_RESAMPLE)) return ORVL_ERROR_INVALID_PARAM;
  int64_t norm = ((hundredths % 36000) + 36000) % 36000;
  if (norm % 9000 == 0 && ((flags & ORVL_ROTATE_RESIZE) || norm % 18000 == 0 || bmp->Width == bmp->Height))
    return rotateRight(bmp, int(norm / 9000));
  const double t = double(norm) / 100.0 * kPi / 180.0;
  const double cs = std::cos(t), sn = std::sin(t);
  const int w = bmp->Width, h = bmp->Height;
  int outW = w, outH = h;
  if (flags & ORVL_ROTATE_RESIZE) {
    outW = int(std::ceil(std::fabs(w * cs) + std::fabs(h * sn) - 1e-6));
    outH = int(std::ceil(std::fabs(w * sn) + std::fabs(h * cs) - 1e-6));
    if (outW > ORVL_MAX_DIMENSION || outH > ORVL_MAX_DIMENSION) return ORVL_ERROR_INVALID_SIZE;
  }
  // Clockwise on screen (y down): source = R(-t) * (dest - centre') + centre.
  const double cx = outW / 2.0, cy = outH / 2.0, sx = w / 2.0, sy = h / 2.0;
  double a = cs, b = sn, c = -sn, d = cs;
  double tx = sx - (a * cx + b * cy), ty = sy - (c * cx + d * cy);
  return warp(bmp, outW, outH, a, b, c, d, tx, ty, fine || (flags & ORVL_ROTATE_RESAMPLE), fill);
}

}  // namespace orvl

extern "C" {

int orvlRotateBitmap(ORVLBITMAP* bmp, int degrees, uint32_t flags, ORVLCOLOR fill) {
  return rotateHundredths(bmp, int64_t(degrees) * 100, flags, fill, false);
}

int orvlRotateBitmapFine(ORVLBITMAP* bmp, int hundredths, uint32_t flags, ORVLCOLOR fill) {
  return rotateHundredths(bmp, hundredths, flags, fill, true);
}

int orvlShearBitmap(ORVLBITMAP* bmp, int hundredths, int horizontal, ORVLCOLOR fill) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  if (hundredths < -4500 || hundredths > 4500) return ORVL_ERROR_INVALID_PARAM;
  const double k = std::tan(hundredths / 100.0 * kPi / 180.0);
  const int w = bmp->Width, h = bmp->Height;
  if (horizontal) {
    // x' = x + k * y + off, off keeping the canvas at the leftmost sheared pixel.
    int extra = int(std::ceil(std::fabs(k) * h));
    if (int64_t(w) + extra > ORVL_MAX_DIMENSION) return ORVL_ERROR_INVALID_SIZE;
    double off = k < 0 ? extra : 0;
    return warp(bmp, w + extra, h, 1, -k, 0, 1, -off, 0, false, fill);
  }
  int extra = int(std::ceil(std::fabs(k) * w));
  if (int64_t(h) + extra > ORVL_MAX_DIMENSION) return ORVL_ERROR_INVALID_SIZE;
  double off = k < 0 ? extra : 0;
  return warp(bmp, w, h + extra, 1, 0, -k, 1, 0, -off, false, fill);
}

}  // extern "C"
