// Image processing of the toolkit: point operations, neighbourhood filters, histograms, colour planes, deskew.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "pixels.h"

namespace { constexpr double kPi = 3.14159265358979323846; }

namespace orvl {
namespace {

// The picture as channels the filters work on: 24/32-bit colour (3 channels) or 8-bit grey (1 channel).
struct Layout {
  int channels = 0;  // 3 or 1
  int step = 0;      // bytes per pixel
  int red = 0, green = 1, blue = 2;  // byte offsets of the colour channels within a pixel
};

bool isGreyPalette(const ORVLBITMAP* b) {
  for (int i = 0; i < 256; ++i)
    if (b->Palette[i].rgbRed != i || b->Palette[i].rgbGreen != i || b->Palette[i].rgbBlue != i) return false;
  return true;
}

int layoutOf(const ORVLBITMAP* b, Layout* l) {
  if (!isAllocated(b)) return ORVL_ERROR_NO_BITMAP;
  if (b->BitsPerPixel == 24 || b->BitsPerPixel == 32) {
    l->channels = 3;
    l->step = b->BitsPerPixel / 8;
    if (b->Order == ORVL_ORDER_BGR) { l->red = 2; l->blue = 0; }
    return ORVL_SUCCESS;
  }
  if (b->BitsPerPixel == 8 && isGreyPalette(b)) {
    l->channels = 1;
    l->step = 1;
    l->red = l->green = l->blue = 0;
    return ORVL_SUCCESS;
  }
  return ORVL_ERROR_INVALID_BITS;
}

// Applies per-channel tables (index 0 red, 1 green, 2 blue; grey pictures use the green table).
int applyLuts(ORVLBITMAP* b, const uint8_t* lr, const uint8_t* lg, const uint8_t* lb) {
  Layout l;
  int rc = layoutOf(b, &l);
  if (rc != ORVL_SUCCESS) return rc;
  for (int y = 0; y < b->Height; ++y) {
    uint8_t* p = viewRow(b, y);
    for (int x = 0; x < b->Width; ++x, p += l.step) {
      if (l.channels == 1) { p[0] = lg[p[0]]; continue; }
      p[l.red] = lr[p[l.red]]; p[l.green] = lg[p[l.green]]; p[l.blue] = lb[p[l.blue]];
    }
  }
  return ORVL_SUCCESS;
}
int applyLut(ORVLBITMAP* b, const uint8_t* lut) { return applyLuts(b, lut, lut, lut); }

// Neighbourhood operation: f(window values of one channel, count) -> new value, edges clamped.
template <class F>
int neighbourhood(ORVLBITMAP* b, int dim, F f) {
  Layout l;
  int rc = layoutOf(b, &l);
  if (rc != ORVL_SUCCESS) return rc;
  if (dim < 1 || dim > 31 || !(dim & 1)) return ORVL_ERROR_INVALID_PARAM;
  const int w = b->Width, h = b->Height, r = dim / 2;
  std::vector<uint8_t> copy(size_t(w) * h * l.step);
  for (int y = 0; y < h; ++y) std::memcpy(&copy[size_t(y) * w * l.step], viewRow(b, y), size_t(w) * l.step);
  std::vector<int> win(size_t(dim) * dim);
  const int offs[3] = {l.red, l.green, l.blue};
  for (int y = 0; y < h; ++y) {
    uint8_t* d = viewRow(b, y);
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < l.channels; ++c) {
        int n = 0;
        for (int j = -r; j <= r; ++j) {
          int yy = std::min(h - 1, std::max(0, y + j));
          const uint8_t* row = &copy[size_t(yy) * w * l.step];
          for (int i = -r; i <= r; ++i) {
            int xx = std::min(w - 1, std::max(0, x + i));
            win[size_t(n++)] = row[size_t(xx) * l.step + offs[c]];
          }
        }
        d[size_t(x) * l.step + offs[c]] = clamp8(f(win.data(), n, copy[(size_t(y) * w + x) * l.step + offs[c]]));
      }
    }
  }
  return ORVL_SUCCESS;
}

int convolve(ORVLBITMAP* b, const int* matrix, int dim, int divisor, int bias) {
  if (divisor == 0) return ORVL_ERROR_INVALID_PARAM;
  return neighbourhood(b, dim, [&](const int* v, int n, int) {
    long s = 0;
    for (int k = 0; k < n; ++k) s += long(v[k]) * matrix[k];
    return int(std::lround(double(s) / divisor)) + bias;
  });
}

void rgbToHsv(int r, int g, int b, double* h, double* s, double* v) {
  int mx = std::max(r, std::max(g, b)), mn = std::min(r, std::min(g, b));
  *v = mx;
  *s = mx ? double(mx - mn) / mx : 0;
  if (mx == mn) { *h = 0; return; }
  double d = mx - mn, hh;
  if (mx == r) hh = (g - b) / d;
  else if (mx == g) hh = 2 + (b - r) / d;
  else hh = 4 + (r - g) / d;
  hh *= 60;
  if (hh < 0) hh += 360;
  *h = hh;
}
void hsvToRgb(double h, double s, double v, int* r, int* g, int* b) {
  if (s <= 0) { *r = *g = *b = clamp8(int(v + 0.5)); return; }
  h = std::fmod(h, 360.0);
  if (h < 0) h += 360;
  int i = int(h / 60) % 6;
  double f = h / 60 - std::floor(h / 60), p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
  double rr, gg, bb;
  switch (i) {
    case 0: rr = v; gg = t; bb = p; break;
    case 1: rr = q; gg = v; bb = p; break;
    case 2: rr = p; gg = v; bb = t; break;
    case 3: rr = p; gg = q; bb = v; break;
    case 4: rr = t; gg = p; bb = v; break;
    default: rr = v; gg = p; bb = q; break;
  }
  *r = clamp8(int(rr + 0.5)); *g = clamp8(int(gg + 0.5)); *b = clamp8(int(bb + 0.5));
}

template <class F>
int perPixelHsv(ORVLBITMAP* b, F f) {
  Layout l;
  int rc = layoutOf(b, &l);
  if (rc != ORVL_SUCCESS) return rc;
  if (l.channels == 1) return ORVL_SUCCESS;  // grey has no hue or saturation to change
  for (int y = 0; y < b->Height; ++y) {
    uint8_t* p = viewRow(b, y);
    for (int x = 0; x < b->Width; ++x, p += l.step) {
      double hh, s, v;
      rgbToHsv(p[l.red], p[l.green], p[l.blue], &hh, &s, &v);
      f(&hh, &s, &v);
      int r, g, bl;
      hsvToRgb(hh, std::min(1.0, std::max(0.0, s)), v, &r, &g, &bl);
      p[l.red] = uint8_t(r); p[l.green] = uint8_t(g); p[l.blue] = uint8_t(bl);
    }
  }
  return ORVL_SUCCESS;
}

void intensityHistogram(const ORVLBITMAP* b, const Layout& l, uint32_t* hist) {
  std::fill(hist, hist + 256, 0u);
  for (int y = 0; y < b->Height; ++y) {
    const uint8_t* p = viewRow(b, y);
    for (int x = 0; x < b->Width; ++x, p += l.step)
      ++hist[l.channels == 1 ? p[0] : luma(p[l.red], p[l.green], p[l.blue])];
  }
}

// Point operation on intensity that keeps hue: every channel scaled by new / old intensity.
int remapByIntensity(ORVLBITMAP* b, const uint8_t* lut) {
  Layout l;
  int rc = layoutOf(b, &l);
  if (rc != ORVL_SUCCESS) return rc;
  for (int y = 0; y < b->Height; ++y) {
    uint8_t* p = viewRow(b, y);
    for (int x = 0; x < b->Width; ++x, p += l.step) {
      if (l.channels == 1) { p[0] = lut[p[0]]; continue; }
      int i = luma(p[l.red], p[l.green], p[l.blue]);
      if (i == 0) { p[l.red] = p[l.green] = p[l.blue] = lut[0]; continue; }
      for (int off : {l.red, l.green, l.blue}) p[off] = clamp8(p[off] * lut[i] / i);
    }
  }
  return ORVL_SUCCESS;
}

}  // namespace
}  // namespace orvl

using namespace orvl;

extern "C" {

int orvlAddNoise(ORVLBITMAP* bmp, int range, int channel, uint32_t seed) {
  Layout l;
  int rc = layoutOf(bmp, &l);
  if (rc != ORVL_SUCCESS) return rc;
  if (range < 0 || range > 255 || channel < ORVL_CHANNEL_MASTER || channel > ORVL_CHANNEL_BLUE) return ORVL_ERROR_INVALID_PARAM;
  uint32_t state = seed ? seed : 0x9e3779b9u;
  auto next = [&]() { state ^= state << 13; state ^= state >> 17; state ^= state << 5; return state; };
  const int offs[4] = {-1, l.red, l.green, l.blue};
  for (int y = 0; y < bmp->Height; ++y) {
    uint8_t* p = viewRow(bmp, y);
    for (int x = 0; x < bmp->Width; ++x, p += l.step) {
      int noise = range ? int(next() % uint32_t(2 * range + 1)) - range : 0;
      if (l.channels == 1) { p[0] = clamp8(p[0] + noise); continue; }
      if (channel == ORVL_CHANNEL_MASTER) for (int off : {l.red, l.green, l.blue}) p[off] = clamp8(p[off] + noise);
      else p[offs[channel]] = clamp8(p[offs[channel]] + noise);
    }
  }
  return ORVL_SUCCESS;
}

int orvlAverageFilter(ORVLBITMAP* bmp, int dim) {
  return neighbourhood(bmp, dim, [](const int* v, int n, int) {
    int s = 0;
    for (int k = 0; k < n; ++k) s += v[k];
    return (s + n / 2) / n;
  });
}

int orvlBinaryFilter(ORVLBITMAP* bmp, int operation, int dim) {
  if (operation != ORVL_BINARY_ERODE && operation != ORVL_BINARY_DILATE) return ORVL_ERROR_INVALID_PARAM;
  return neighbourhood(bmp, dim, [&](const int* v, int n, int) {
    return operation == ORVL_BINARY_ERODE ? *std::min_element(v, v + n) : *std::max_element(v, v + n);
  });
}

int orvlChangeContrast(ORVLBITMAP* bmp, int change) {
  if (change < -100 || change > 100) return ORVL_ERROR_INVALID_PARAM;
  uint8_t lut[256];
  double k = change >= 0 ? 1.0 + change / 25.0 : 1.0 + change / 100.0;  // +100 -> x5, -100 -> flat grey
  for (int i = 0; i < 256; ++i) lut[i] = clamp8(int(std::lround((i - 128) * k + 128)));
  return applyLut(bmp, lut);
}

int orvlChangeHue(ORVLBITMAP* bmp, int degrees) {
  if (degrees < -360 || degrees > 360) return ORVL_ERROR_INVALID_PARAM;
  return perPixelHsv(bmp, [&](double* h, double*, double*) { *h += degrees; });
}

int orvlChangeIntensity(ORVLBITMAP* bmp, int change) {
  if (change < -255 || change > 255) return ORVL_ERROR_INVALID_PARAM;
  uint8_t lut[256];
  for (int i = 0; i < 256; ++i) lut[i] = clamp8(i + change);
  return applyLut(bmp, lut);
}

int orvlChangeSaturation(ORVLBITMAP* bmp, int change) {
  if (change < -100 || change > 100) return ORVL_ERROR_INVALID_PARAM;
  return perPixelHsv(bmp, [&](double*, double* s, double*) { *s *= 1.0 + change / 100.0; });
}

int orvlColorSeparate(const ORVLBITMAP* src, ORVLBITMAP** planes, int space) {
  Layout l;
  int rc = layoutOf(src, &l);
  if (rc != ORVL_SUCCESS) return rc;
  if (l.channels != 3) return ORVL_ERROR_INVALID_BITS;
  if (!planes || !planes[0] || !planes[1] || !planes[2] || space != ORVL_COLORSEP_RGB) return ORVL_ERROR_INVALID_PARAM;
  ORVLBITMAP out[3];
  for (int k = 0; k < 3; ++k) {
    rc = createRaw(&out[k], src->Width, src->Height, 8, ORVL_ORDER_BGR, ORVL_TOP_LEFT);
    if (rc != ORVL_SUCCESS) { for (int j = 0; j < k; ++j) orvlFreeBitmap(&out[j]); return rc; }
  }
  const int offs[3] = {l.red, l.green, l.blue};
  for (int y = 0; y < src->Height; ++y) {
    const uint8_t* p = viewRow(src, y);
    for (int x = 0; x < src->Width; ++x, p += l.step)
      for (int k = 0; k < 3; ++k) viewRow(&out[k], y)[x] = p[offs[k]];
  }
  for (int k = 0; k < 3; ++k) { orvlFreeBitmap(planes[k]); *planes[k] = out[k]; }
  return ORVL_SUCCESS;
}

int orvlColorMerge(ORVLBITMAP* dst, ORVLBITMAP** planes, int space) {
  if (!dst || !planes || space != ORVL_COLORSEP_RGB) return ORVL_ERROR_INVALID_PARAM;
  for (int k = 0; k < 3; ++k) {
    if (!isAllocated(planes[k])) return ORVL_ERROR_NO_BITMAP;
    if (planes[k]->BitsPerPixel != 8) return ORVL_ERROR_INVALID_BITS;
    if (planes[k]->Width != planes[0]->Width || planes[k]->Height != planes[0]->Height) return ORVL_ERROR_INVALID_SIZE;
  }
  ORVLBITMAP out;
  int rc = createRaw(&out, planes[0]->Width, planes[0]->Height, 24, ORVL_ORDER_BGR, ORVL_TOP_LEFT);
  if (rc != ORVL_SUCCESS) return rc;
  for (int y = 0; y < out.Height; ++y) {
    uint8_t* d = viewRow(&out, y);
    const uint8_t *r = viewRow(planes[0], y), *g = viewRow(planes[1], y), *b = viewRow(planes[2], y);
    for (int x = 0; x < out.Width; ++x) { d[3 * x] = b[x]; d[3 * x + 1] = g[x]; d[3 * x + 2] = r[x]; }
  }
  orvlFreeBitmap(dst);
  *dst = out;
  return ORVL_SUCCESS;
}

int orvlDeskew(ORVLBITMAP* bmp, int32_t* angleOut, ORVLCOLOR fill) {
  Layout l;
  int rc = layoutOf(bmp, &l);
  if (rc != ORVL_SUCCESS) return rc;
  // Dark pixels of a reduced copy; the skew is the angle whose row projection is sharpest.
  ORVLBITMAP small;
  rc = toBgr24(bmp, &small);
  if (rc != ORVL_SUCCESS) return rc;
  int sw = std::min(small.Width, 400), sh = int(int64_t(small.Height) * sw / small.Width);
  if (sh < 1) sh = 1;
  rc = orvlResampleBitmap(&small, sw, sh);
  if (rc != ORVL_SUCCESS) { orvlFreeBitmap(&small); return rc; }
  std::vector<std::pair<int, int>> dark;
  for (int y = 0; y < sh; ++y) {
    const uint8_t* p = viewRow(&small, y);
    for (int x = 0; x < sw; ++x, p += 3)
      if (luma(p[2], p[1], p[0]) < 128) dark.push_back({x, y});
  }
  orvlFreeBitmap(&small);
  int best = 0;
  double bestScore = -1;
  std::vector<int> bins;
  for (int a = -1000; a <= 1000; a += 25) {
    double t = a / 100.0 * kPi / 180.0, sn = std::sin(t), cs = std::cos(t);
    bins.assign(size_t(sh + sw) * 2 + 4, 0);
    for (auto& d : dark) {
      int r = int(std::lround(d.second * cs - d.first * sn)) + sw + 1;
      if (r >= 0 && r < int(bins.size())) ++bins[size_t(r)];
    }
    double score = 0;
    for (int v : bins) score += double(v) * v;
    if (score > bestScore + 1e-9) { bestScore = score; best = a; }
  }
  if (angleOut) *angleOut = best;
  if (best == 0) return ORVL_SUCCESS;
  return orvlRotateBitmapFine(bmp, -best, 0, fill);
}

int orvlDespeckle(ORVLBITMAP* bmp) { return orvlMedianFilter(bmp, 3); }

int orvlEmboss(ORVLBITMAP* bmp, int direction, int depth) {
  if (direction < ORVL_EMBOSS_N || direction > ORVL_EMBOSS_NW || depth < 0 || depth > 100) return ORVL_ERROR_INVALID_PARAM;
  static const int dx[8] = {0, 1, 1, 1, 0, -1, -1, -1}, dy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
  int m[9] = {0};
  int k = 1 + depth / 10;
  m[4] = 0;
  m[(1 + dy[direction]) * 3 + 1 + dx[direction]] = k;
  m[(1 - dy[direction]) * 3 + 1 - dx[direction]] = -k;
  return convolve(bmp, m, 3, 1, 128);
}

int orvlGammaCorrect(ORVLBITMAP* bmp, int gammaHundredths) {
  if (gammaHundredths < 1 || gammaHundredths > 500) return ORVL_ERROR_INVALID_PARAM;
  uint8_t lut[256];
  double g = gammaHundredths / 100.0;
  for (int i = 0; i < 256; ++i) lut[i] = clamp8(int(std::lround(255.0 * std::pow(i / 255.0, 1.0 / g))));
  return applyLut(bmp, lut);
}

int orvlGetHistogram(const ORVLBITMAP* bmp, uint32_t* histogram, int entries, int channel) {
  Layout l;
  int rc = layoutOf(bmp, &l);
  if (rc != ORVL_SUCCESS) return rc;
  if (!histogram || entries != 256 || channel < ORVL_CHANNEL_MASTER || channel > ORVL_CHANNEL_BLUE) return ORVL_ERROR_INVALID_PARAM;
  if (channel == ORVL_CHANNEL_MASTER || l.channels == 1) { intensityHistogram(bmp, l, histogram); return ORVL_SUCCESS; }
  const int off = channel == ORVL_CHANNEL_RED ? l.red : channel == ORVL_CHANNEL_GREEN ? l.green : l.blue;
  std::fill(histogram, histogram + 256, 0u);
  for (int y = 0; y < bmp->Height; ++y) {
    const uint8_t* p = viewRow(bmp, y);
    for (int x = 0; x < bmp->Width; ++x, p += l.step) ++histogram[p[off]];
  }
  return ORVL_SUCCESS;
}

int orvlHistoContrast(ORVLBITMAP* bmp, int change) {
  Layout l;
  int rc = layoutOf(bmp, &l);
  if (rc != ORVL_SUCCESS) return rc;
  if (change < -100 || change > 100) return ORVL_ERROR_INVALID_PARAM;
  uint32_t hist[256];
  intensityHistogram(bmp, l, hist);
  double sum = 0, n = 0;
  for (int i = 0; i < 256; ++i) { sum += double(hist[i]) * i; n += hist[i]; }
  double mean = n > 0 ? sum / n : 128;
  double k = change >= 0 ? 1.0 + change / 25.0 : 1.0 + change / 100.0;
  uint8_t lut[256];
  for (int i = 0; i < 256; ++i) lut[i] = clamp8(int(std::lround((i - mean) * k + mean)));
  return applyLut(bmp, lut);
}

int orvlHistoEqualize(ORVLBITMAP* bmp) {
  Layout l;
  int rc = layoutOf(bmp, &l);
  if (rc != ORVL_SUCCESS) return rc;
  uint32_t hist[256];
  intensityHistogram(bmp, l, hist);
  uint64_t total = uint64_t(bmp->Width) * bmp->Height, run = 0, first = 0;
  for (int i = 0; i < 256; ++i) if (hist[i]) { first = hist[i]; break; }
  uint8_t lut[256];
  for (int i = 0; i < 256; ++i) {
    run += hist[i];
    lut[i] = total > first ? clamp8(int((run > first ? run - first : 0) * 255 / (total - first))) : uint8_t(i);
  }
  return remapByIntensity(bmp, lut);
}

int orvlIntensityDetect(ORVLBITMAP* bmp, int low, int high) {
  Layout l;
  int rc = layoutOf(bmp, &l);
  if (rc != ORVL_SUCCESS) return rc;
  if (low < 0 || high > 255 || low > high) return ORVL_ERROR_INVALID_PARAM;
  for (int y = 0; y < bmp->Height; ++y) {
    uint8_t* p = viewRow(bmp, y);
    for (int x = 0; x < bmp->Width; ++x, p += l.step) {
      int i = l.channels == 1 ? p[0] : luma(p[l.red], p[l.green], p[l.blue]);
      uint8_t v = (i >= low && i <= high) ? 255 : 0;
      if (l.channels == 1) p[0] = v;
      else p[l.red] = p[l.green] = p[l.blue] = v;
    }
  }
  return ORVL_SUCCESS;
}

int orvlInvert(ORVLBITMAP* bmp) {
  uint8_t lut[256];
  for (int i = 0; i < 256; ++i) lut[i] = uint8_t(255 - i);
  return applyLut(bmp, lut);
}

int orvlMedianFilter(ORVLBITMAP* bmp, int dim) {
  return neighbourhood(bmp, dim, [](const int* v, int n, int) {
    int tmp[31 * 31];
    std::copy(v, v + n, tmp);
    std::nth_element(tmp, tmp + n / 2, tmp + n);
    return tmp[n / 2];
  });
}

int orvlMosaic(ORVLBITMAP* bmp, int dim) {
  Layout l;
  int rc = layoutOf(bmp, &l);
  if (rc != ORVL_SUCCESS) return rc;
  if (dim < 1 || dim > 1024) return ORVL_ERROR_INVALID_PARAM;
  for (int by = 0; by < bmp->Height; by += dim)
    for (int bx = 0; bx < bmp->Width; bx += dim) {
      int ey = std::min(bmp->Height, by + dim), ex = std::min(bmp->Width, bx + dim);
      long sum[4] = {0, 0, 0, 0};
      long n = long(ey - by) * (ex - bx);
      for (int y = by; y < ey; ++y) {
        const uint8_t* p = viewRow(bmp, y) + size_t(bx) * l.step;
        for (int x = bx; x < ex; ++x, p += l.step) for (int k = 0; k < l.step; ++k) sum[k] += p[k];
      }
      for (int y = by; y < ey; ++y) {
        uint8_t* p = viewRow(bmp, y) + size_t(bx) * l.step;
        for (int x = bx; x < ex; ++x, p += l.step) for (int k = 0; k < l.step; ++k) p[k] = uint8_t((sum[k] + n / 2) / n);
      }
    }
  return ORVL_SUCCESS;
}

int orvlPosterize(ORVLBITMAP* bmp, int levels) {
  if (levels < 2 || levels > 64) return ORVL_ERROR_INVALID_PARAM;
  uint8_t lut[256];
  for (int i = 0; i < 256; ++i) {
    int band = i * levels / 256;
    lut[i] = uint8_t(band * 255 / (levels - 1));
  }
  return applyLut(bmp, lut);
}

int orvlRemapIntensity(ORVLBITMAP* bmp, const uint8_t* lut, int entries, int channel) {
  if (!lut || entries != 256 || channel < ORVL_CHANNEL_MASTER || channel > ORVL_CHANNEL_BLUE) return ORVL_ERROR_INVALID_PARAM;
  uint8_t identity[256];
  for (int i = 0; i < 256; ++i) identity[i] = uint8_t(i);
  switch (channel) {
    case ORVL_CHANNEL_RED: return applyLuts(bmp, lut, identity, identity);
    case ORVL_CHANNEL_GREEN: return applyLuts(bmp, identity, lut, identity);
    case ORVL_CHANNEL_BLUE: return applyLuts(bmp, identity, identity, lut);
    default: return applyLut(bmp, lut);
  }
}

int orvlSharpen(ORVLBITMAP* bmp, int sharpness) {
  if (sharpness < -100 || sharpness > 100) return ORVL_ERROR_INVALID_PARAM;
  if (sharpness == 0) { Layout l; return layoutOf(bmp, &l); }
  // Unsharp mask against the 3 x 3 mean: p + k * (p - mean); negative k blurs.
  double k = sharpness / 50.0;
  return neighbourhood(bmp, 3, [&](const int* v, int n, int centre) {
    int s = 0;
    for (int i = 0; i < n; ++i) s += v[i];
    double mean = double(s) / n;
    return int(std::lround(centre + k * (centre - mean)));
  });
}

int orvlSpatialFilter(ORVLBITMAP* bmp, const ORVLSPATIALFLT* filter) {
  if (!filter || filter->Dim < 1 || filter->Dim > ORVL_SPATIAL_MAX_DIM || !(filter->Dim & 1) || filter->Divisor == 0)
    return ORVL_ERROR_INVALID_PARAM;
  return convolve(bmp, filter->Matrix, filter->Dim, filter->Divisor, filter->Bias);
}

int orvlStretchIntensity(ORVLBITMAP* bmp) {
  Layout l;
  int rc = layoutOf(bmp, &l);
  if (rc != ORVL_SUCCESS) return rc;
  uint32_t hist[256];
  intensityHistogram(bmp, l, hist);
  int lo = 0, hi = 255;
  while (lo < 255 && !hist[lo]) ++lo;
  while (hi > 0 && !hist[hi]) --hi;
  if (hi <= lo) return ORVL_SUCCESS;
  uint8_t lut[256];
  for (int i = 0; i < 256; ++i) lut[i] = clamp8((i - lo) * 255 / (hi - lo));
  return applyLut(bmp, lut);
}

}  // extern "C"
