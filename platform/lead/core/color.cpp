// Colour work of the toolkit's kernel: colour resolution with palettes and dithering, pixel colours,
// palettes, view perspective, combining and underlaying.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "pixels.h"

namespace orvl {

// The standard 16 colours of a VGA palette, as RGB.
static const uint8_t kVga16[16][3] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

static int fixedPalette(int bits, ORVLRGBQUAD* pal) {
  if (bits == 1) {
    pal[0] = {0, 0, 0, 0};
    pal[1] = {255, 255, 255, 0};
    return 2;
  }
  if (bits == 4) {
    for (int i = 0; i < 16; ++i) pal[i] = {kVga16[i][2], kVga16[i][1], kVga16[i][0], 0};
    return 16;
  }
  // 6 x 6 x 6 colour cube followed by 40 greys.
  int n = 0;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) pal[n++] = {uint8_t(b * 51), uint8_t(g * 51), uint8_t(r * 51), 0};
  for (int i = 0; i < 40; ++i) {
    uint8_t v = uint8_t(8 + i * 6);
    pal[n++] = {v, v, v, 0};
  }
  return n;
}

// Median cut over a 15-bit colour histogram; exact palette when the picture has few enough colours.
static int optimizedPalette(const ORVLBITMAP* bgr, int maxColors, ORVLRGBQUAD* pal) {
  std::vector<uint32_t> exact;
  std::vector<uint32_t> hist(1 << 15, 0);
  bool few = true;
  for (int y = 0; y < bgr->Height; ++y) {
    const uint8_t* p = viewRow(bgr, y);
    for (int x = 0; x < bgr->Width; ++x, p += 3) {
      ++hist[((p[2] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[0] >> 3)];
      if (few) {
        uint32_t c = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
        if (std::find(exact.begin(), exact.end(), c) == exact.end()) {
          if (int(exact.size()) == maxColors) few = false;
          else exact.push_back(c);
        }
      }
    }
  }
  if (few) {
    std::sort(exact.begin(), exact.end());
    for (size_t i = 0; i < exact.size(); ++i)
      pal[i] = {uint8_t(exact[i]), uint8_t(exact[i] >> 8), uint8_t(exact[i] >> 16), 0};
    return int(exact.size());
  }
  struct Box { std::vector<uint16_t> cells; };
  std::vector<Box> boxes(1);
  for (uint32_t i = 0; i < hist.size(); ++i)
    if (hist[i]) boxes[0].cells.push_back(uint16_t(i));
  while (int(boxes.size()) < maxColors) {
    // Split the box with the widest channel range (weighted by population).
    int best = -1, bestAxis = 0;
    long bestScore = 0;
    for (size_t bi = 0; bi < boxes.size(); ++bi) {
      const auto& c = boxes[bi].cells;
      if (c.size() < 2) continue;
      int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
      uint64_t pop = 0;
      for (uint16_t v : c) {
        int ch[3] = {(v >> 10) & 31, (v >> 5) & 31, v & 31};
        for (int k = 0; k < 3; ++k) { lo[k] = std::min(lo[k], ch[k]); hi[k] = std::max(hi[k], ch[k]); }
        pop += hist[v];
      }
      for (int k = 0; k < 3; ++k) {
        long score = long(hi[k] - lo[k] + 1) * long(std::min<uint64_t>(pop, 1u << 20));
        if (hi[k] > lo[k] && score > bestScore) { bestScore = score; best = int(bi); bestAxis = k; }
      }
    }
    if (best < 0) break;
    auto& c = boxes[size_t(best)].cells;
    const int shift = bestAxis == 0 ? 10 : bestAxis == 1 ? 5 : 0;
    std::sort(c.begin(), c.end(), [&](uint16_t a, uint16_t b) { return ((a >> shift) & 31) < ((b >> shift) & 31); });
    uint64_t total = 0, run = 0;
    for (uint16_t v : c) total += hist[v];
    size_t cut = 1;
    for (size_t i = 0; i + 1 < c.size(); ++i) {
      run += hist[c[i]];
      cut = i + 1;
      if (run * 2 >= total) break;
    }
    Box other;
    other.cells.assign(c.begin() + long(cut), c.end());
    c.resize(cut);
    boxes.push_back(std::move(other));
  }
  int n = 0;
  for (const Box& b : boxes) {
    uint64_t r = 0, g = 0, bl = 0, pop = 0;
    for (uint16_t v : b.cells) {
      uint64_t h = hist[v];
      r += h * (((v >> 10) & 31) * 8 + 4); g += h * (((v >> 5) & 31) * 8 + 4); bl += h * ((v & 31) * 8 + 4);
      pop += h;
    }
    if (!pop) continue;
    pal[n++] = {uint8_t(bl / pop), uint8_t(g / pop), uint8_t(r / pop), 0};
  }
  return n;
}

// Nearest palette index for 15-bit colours, filled on demand.
class InverseMap {
 public:
  InverseMap(const ORVLRGBQUAD* pal, int n) : pal_(pal), n_(n), map_(1 << 15, -1) {}
  int operator()(int r, int g, int b) {
    int key = ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    int& v = map_[size_t(key)];
    if (v < 0) v = nearestIndex(pal_, n_, r, g, b);
    return v;
  }

 private:
  const ORVLRGBQUAD* pal_;
  int n_;
  std::vector<int> map_;
};

static const int kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Quantises a top-left BGR 24-bit picture into out (allocated, bits <= 8, palette set).
static void quantize(const ORVLBITMAP* bgr, ORVLBITMAP* out, uint32_t flags) {
  const int w = bgr->Width, h = bgr->Height, bits = out->BitsPerPixel;
  InverseMap inv(out->Palette, out->nColors);
  const bool fs = flags & ORVL_CRF_FLOYDSTEINDITHER, ordered = !fs && (flags & ORVL_CRF_ORDEREDDITHER);
  const bool bw = bits == 1 && out->nColors == 2;
  std::vector<int> err0(size_t(w + 2) * 3, 0), err1(size_t(w + 2) * 3, 0);
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = viewRow(bgr, y);
    uint8_t* d = viewRow(out, y);
    for (int x = 0; x < w; ++x) {
      int c[3] = {s[3 * x + 2], s[3 * x + 1], s[3 * x]};  // r, g, b
      if (fs) for (int k = 0; k < 3; ++k) c[k] = clamp8(c[k] + err0[size_t(x + 1) * 3 + k] / 16);
      if (ordered) {
        int t = (kBayer4[y & 3][x & 3] - 8) * (bits == 8 ? 3 : bits == 4 ? 8 : 16);
        for (int k = 0; k < 3; ++k) c[k] = clamp8(c[k] + t);
      }
      int idx;
      if (bw) {
        int l = luma(c[0], c[1], c[2]);
        int white = out->Palette[1].rgbRed + out->Palette[1].rgbGreen > out->Palette[0].rgbRed + out->Palette[0].rgbGreen;
        idx = (l >= 128) == bool(white) ? 1 : 0;
      } else {
        idx = inv(c[0], c[1], c[2]);
      }
      putRaw(d, x, bits, uint32_t(idx));
      if (fs) {
        const ORVLRGBQUAD& q = out->Palette[idx];
        int e[3] = {c[0] - q.rgbRed, c[1] - q.rgbGreen, c[2] - q.rgbBlue};
        if (bw) { int l = luma(c[0], c[1], c[2]) - luma(q.rgbRed, q.rgbGreen, q.rgbBlue); e[0] = e[1] = e[2] = l; }
        for (int k = 0; k < 3; ++k) {
          err0[size_t(x + 2) * 3 + k] += e[k] * 7;
          err1[size_t(x) * 3 + k] += e[k] * 3;
          err1[size_t(x + 1) * 3 + k] += e[k] * 5;
          err1[size_t(x + 2) * 3 + k] += e[k];
        }
      }
    }
    if (fs) {
      err0.swap(err1);
      std::fill(err1.begin(), err1.end(), 0);
    }
  }
}

}  // namespace orvl

using namespace orvl;

extern "C" {

int orvlColorResBitmap(const ORVLBITMAP* src, ORVLBITMAP* dst, int bits, uint32_t flags,
                       const ORVLRGBQUAD* palette, int colors) {
  if (!dst || !isAllocated(src)) return ORVL_ERROR_NO_BITMAP;
  if (!isValidBits(bits)) return ORVL_ERROR_INVALID_BITS;
  if ((flags & ORVL_CRF_USERPALETTE) && (!palette || colors < 1 || bits > 8 || colors > (1 << bits)))
    return ORVL_ERROR_INVALID_PARAM;
  ORVLBITMAP out;
  int rc = createRaw(&out, src->Width, src->Height, bits, src->Order, src->ViewPerspective);
  if (rc != ORVL_SUCCESS) return rc;
  out.XResolution = src->XResolution;
  out.YResolution = src->YResolution;
  if (bits > 8) {
    for (int y = 0; y < src->Height; ++y) {
      const uint8_t* s = viewRow(src, y);
      uint8_t* d = viewRow(&out, y);
      if (src->BitsPerPixel == bits) { std::memcpy(d, s, size_t(src->BytesPerLine)); continue; }
      if (src->BitsPerPixel >= 24 && bits >= 24) {  // byte moves between 24 and 32 bits, same order
        const int sb = src->BitsPerPixel / 8, db = bits / 8;
        for (int x = 0; x < src->Width; ++x, s += sb, d += db) { d[0] = s[0]; d[1] = s[1]; d[2] = s[2]; }
        continue;
      }
      for (int x = 0; x < src->Width; ++x) putRaw(d, x, bits, colorToRaw(&out, rawToColor(src, getRaw(s, x, src->BitsPerPixel))));
    }
  } else {
    ORVLBITMAP bgr;
    rc = toBgr24(src, &bgr);
    if (rc != ORVL_SUCCESS) { orvlFreeBitmap(&out); return rc; }
    std::memset(out.Palette, 0, sizeof out.Palette);
    if (flags & ORVL_CRF_USERPALETTE) {
      std::memcpy(out.Palette, palette, sizeof(ORVLRGBQUAD) * size_t(colors));
      out.nColors = colors;
    } else if ((flags & ORVL_CRF_OPTIMIZEDPALETTE) && bits > 1) {
      out.nColors = optimizedPalette(&bgr, 1 << bits, out.Palette);
    } else {
      out.nColors = fixedPalette(bits, out.Palette);
    }
    if (out.nColors < 1) out.nColors = fixedPalette(bits, out.Palette);
    // A picture that already has the target depth and palette keeps its indices.
    bool same = src->BitsPerPixel == bits && !(flags & ORVL_CRF_USERPALETTE) && (flags & ORVL_CRF_OPTIMIZEDPALETTE) && src->nColors <= (1 << bits);
    if (same) {
      std::memcpy(out.Palette, src->Palette, sizeof out.Palette);
      out.nColors = src->nColors;
      std::memcpy(out.Data, src->Data, src->Size);
    } else {
      quantize(&bgr, &out, flags);
    }
    orvlFreeBitmap(&bgr);
  }
  if (dst == src) adopt(dst, &out);
  else { orvlFreeBitmap(dst); *dst = out; }
  return ORVL_SUCCESS;
}

ORVLCOLOR orvlGetPixelColor(const ORVLBITMAP* bmp, int row, int col) {
  if (!isAllocated(bmp) || row < 0 || col < 0 || row >= bmp->Height || col >= bmp->Width) return 0;
  return rawToColor(bmp, getRaw(viewRow(bmp, row), col, bmp->BitsPerPixel));
}

int orvlPutPixelColor(ORVLBITMAP* bmp, int row, int col, ORVLCOLOR color) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  if (row < 0 || col < 0 || row >= bmp->Height || col >= bmp->Width) return ORVL_ERROR_INVALID_PARAM;
  putRaw(viewRow(bmp, row), col, bmp->BitsPerPixel, colorToRaw(bmp, color));
  return ORVL_SUCCESS;
}

int orvlGetBitmapColors(const ORVLBITMAP* bmp, int first, int count, ORVLRGBQUAD* palette) {
  if (!bmp) return ORVL_ERROR_NO_BITMAP;
  if (bmp->BitsPerPixel > 8) return ORVL_ERROR_INVALID_BITS;
  if (!palette || first < 0 || count < 0 || first + count > (1 << bmp->BitsPerPixel)) return ORVL_ERROR_INVALID_PARAM;
  std::memcpy(palette, bmp->Palette + first, sizeof(ORVLRGBQUAD) * size_t(count));
  return ORVL_SUCCESS;
}

int orvlPutBitmapColors(ORVLBITMAP* bmp, int first, int count, const ORVLRGBQUAD* palette) {
  if (!bmp) return ORVL_ERROR_NO_BITMAP;
  if (bmp->BitsPerPixel > 8) return ORVL_ERROR_INVALID_BITS;
  if (!palette || first < 0 || count < 0 || first + count > (1 << bmp->BitsPerPixel)) return ORVL_ERROR_INVALID_PARAM;
  std::memcpy(bmp->Palette + first, palette, sizeof(ORVLRGBQUAD) * size_t(count));
  bmp->nColors = std::max(bmp->nColors, first + count);
  return ORVL_SUCCESS;
}

int orvlChangeBitmapViewPerspective(ORVLBITMAP* dst, const ORVLBITMAP* src, int viewPerspective) {
  if (!dst || !isAllocated(src)) return ORVL_ERROR_NO_BITMAP;
  if (viewPerspective != ORVL_TOP_LEFT && viewPerspective != ORVL_BOTTOM_LEFT) return ORVL_ERROR_INVALID_PARAM;
  if (dst != src) {
    int rc = orvlCopyBitmap(dst, src);
    if (rc != ORVL_SUCCESS) return rc;
  }
  if (dst->ViewPerspective != viewPerspective) {
    int rc = orvlFlipBitmap(dst);  // memory order reverses; the picture stays the same
    if (rc != ORVL_SUCCESS) return rc;
    dst->ViewPerspective = viewPerspective;
  }
  return ORVL_SUCCESS;
}

int orvlCombineBitmap(ORVLBITMAP* dst, int dx, int dy, int width, int height, const ORVLBITMAP* src, int sx,
                      int sy, int operation) {
  if (!isAllocated(dst) || !isAllocated(src)) return ORVL_ERROR_NO_BITMAP;
  if (dst->BitsPerPixel < 24 || src->BitsPerPixel < 24) return ORVL_ERROR_INVALID_BITS;
  if (operation < ORVL_COMBINE_COPY || operation > ORVL_COMBINE_MULTIPLY) return ORVL_ERROR_INVALID_PARAM;
  const int db = dst->BitsPerPixel / 8, sb = src->BitsPerPixel / 8;
  const bool swap = dst->Order != src->Order;
  for (int y = 0; y < height; ++y) {
    int ty = dy + y, fy = sy + y;
    if (ty < 0 || fy < 0 || ty >= dst->Height || fy >= src->Height) continue;
    uint8_t* d = viewRow(dst, ty);
    const uint8_t* s = viewRow(src, fy);
    for (int x = 0; x < width; ++x) {
      int tx = dx + x, fx = sx + x;
      if (tx < 0 || fx < 0 || tx >= dst->Width || fx >= src->Width) continue;
      uint8_t* p = d + tx * db;
      const uint8_t* q = s + fx * sb;
      for (int k = 0; k < 3; ++k) {
        int a = p[k], b = q[swap ? 2 - k : k], r;
        switch (operation) {
          case ORVL_COMBINE_COPY: r = b; break;
          case ORVL_COMBINE_AND: r = a & b; break;
          case ORVL_COMBINE_OR: r = a | b; break;
          case ORVL_COMBINE_XOR: r = a ^ b; break;
          case ORVL_COMBINE_ADD: r = a + b; break;
          case ORVL_COMBINE_SUBTRACT: r = a - b; break;
          case ORVL_COMBINE_AVERAGE: r = (a + b + 1) / 2; break;
          default: r = (a * b + 127) / 255; break;
        }
        p[k] = clamp8(r);
      }
    }
  }
  return ORVL_SUCCESS;
}

int orvlUnderlayBitmap(ORVLBITMAP* dst, const ORVLBITMAP* underlay, int placement) {
  if (!isAllocated(dst) || !isAllocated(underlay)) return ORVL_ERROR_NO_BITMAP;
  if (dst->BitsPerPixel < 24) return ORVL_ERROR_INVALID_BITS;
  if (placement != ORVL_UNDERLAY_TILE && placement != ORVL_UNDERLAY_STRETCH) return ORVL_ERROR_INVALID_PARAM;
  const int db = dst->BitsPerPixel / 8;
  for (int y = 0; y < dst->Height; ++y) {
    uint8_t* d = viewRow(dst, y);
    int uy = placement == ORVL_UNDERLAY_TILE ? y % underlay->Height : int(int64_t(y) * underlay->Height / dst->Height);
    for (int x = 0; x < dst->Width; ++x) {
      int ux = placement == ORVL_UNDERLAY_TILE ? x % underlay->Width : int(int64_t(x) * underlay->Width / dst->Width);
      ORVLCOLOR c = orvlGetPixelColor(underlay, uy, ux);
      int rgb[3] = {int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff)};
      uint8_t* p = d + x * db;
      for (int k = 0; k < 3; ++k) {
        int u = dst->Order == ORVL_ORDER_BGR ? rgb[2 - k] : rgb[k];
        p[k] = uint8_t((p[k] * u + 127) / 255);
      }
    }
  }
  return ORVL_SUCCESS;
}

}  // extern "C"
