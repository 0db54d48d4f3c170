// YCbCr, RGB, grey and Adobe CMYK/YCCK sample rows to the caller's RGB, BGR or grey pixels.
#include "color.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ijl::detail {
namespace {

constexpr int kScaleBits = 16;
constexpr int kHalf = 1 << (kScaleBits - 1);
constexpr int fix(double x) { return static_cast<int>(x * (1 << kScaleBits) + 0.5); }

// The ITU-R BT.601 conversion of JFIF, tabulated per chroma value with the reference decoder's rounding.
struct YccTables {
  int crR[256], cbB[256], crG[256], cbG[256];
  YccTables() {
    for (int i = 0; i < 256; ++i) {
      int x = i - 128;
      crR[i] = (fix(1.40200) * x + kHalf) >> kScaleBits;
      cbB[i] = (fix(1.77200) * x + kHalf) >> kScaleBits;
      crG[i] = -fix(0.71414) * x;
      cbG[i] = -fix(0.34414) * x + kHalf;
    }
  }
};
const YccTables& ycc() {
  static const YccTables t;
  return t;
}

inline uint8_t clamp255(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }
inline uint8_t luminance(int r, int g, int b) {
  return static_cast<uint8_t>((fix(0.29900) * r + fix(0.58700) * g + fix(0.11400) * b + kHalf) >> kScaleBits);
}

inline void put(uint8_t* d, int r, int g, int b, bool bgr) {
  d[0] = static_cast<uint8_t>(bgr ? b : r);
  d[1] = static_cast<uint8_t>(g);
  d[2] = static_cast<uint8_t>(bgr ? r : b);
}

void yccToRgb(const uint8_t* y, const uint8_t* cb, const uint8_t* cr, int n, bool bgr, uint8_t* d) {
  const YccTables& t = ycc();
  const int ri = bgr ? 2 : 0, bi = bgr ? 0 : 2;
  int i = 0;
#ifdef __SSE2__
  // Eight pixels at a time with the tables' exact arithmetic: each constant is split into a whole part
  // (added as shifts) and a 16-bit remainder multiplied with rounding in 32-bit lanes.
  const __m128i zero = _mm_setzero_si128(), c128 = _mm_set1_epi16(128), two = _mm_set1_epi16(2);
  const __m128i half32 = _mm_set1_epi32(kHalf);
  auto pairs = [](int a, int b) { return _mm_set1_epi32(static_cast<int>((static_cast<uint32_t>(b) << 16) | static_cast<uint16_t>(a))); };
  const __m128i kR = pairs(fix(1.40200) - (1 << kScaleBits), kHalf / 2);
  const __m128i kB = pairs(fix(1.77200) - (2 << kScaleBits), kHalf / 2);
  const __m128i kG = pairs(-fix(0.34414), (1 << kScaleBits) - fix(0.71414));
  auto term = [&](__m128i a, __m128i b, __m128i k, bool addHalf) {
    __m128i lo = _mm_madd_epi16(_mm_unpacklo_epi16(a, b), k), hi = _mm_madd_epi16(_mm_unpackhi_epi16(a, b), k);
    if (addHalf) {
      lo = _mm_add_epi32(lo, half32);
      hi = _mm_add_epi32(hi, half32);
    }
    return _mm_packs_epi32(_mm_srai_epi32(lo, kScaleBits), _mm_srai_epi32(hi, kScaleBits));
  };
  for (; i + 9 <= n; i += 8) {
    __m128i yy = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(y + i)), zero);
    __m128i vb = _mm_sub_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cb + i)), zero), c128);
    __m128i vr = _mm_sub_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cr + i)), zero), c128);
    __m128i rr = _mm_add_epi16(_mm_add_epi16(yy, vr), term(vr, two, kR, false));
    __m128i bb = _mm_add_epi16(_mm_add_epi16(yy, _mm_add_epi16(vb, vb)), term(vb, two, kB, false));
    __m128i gg = _mm_add_epi16(_mm_sub_epi16(yy, vr), term(vb, vr, kG, true));
    // Pixels as 32-bit words (first, second, third byte, 0), stored overlapping three bytes apart; the
    // loop stops while another pixel follows, so the fourth byte never lands past the line.
    __m128i first = _mm_packus_epi16(bgr ? bb : rr, zero), third = _mm_packus_epi16(bgr ? rr : bb, zero);
    __m128i pairs = _mm_unpacklo_epi8(first, _mm_packus_epi16(gg, zero));
    __m128i tail = _mm_unpacklo_epi8(third, zero);
    alignas(16) uint32_t words[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(words), _mm_unpacklo_epi16(pairs, tail));
    _mm_store_si128(reinterpret_cast<__m128i*>(words + 4), _mm_unpackhi_epi16(pairs, tail));
    for (int j = 0; j < 8; ++j) std::memcpy(d + 3 * j, &words[j], 4);
    d += 24;
  }
#endif
  for (; i < n; ++i, d += 3) {
    int yy = y[i];
    d[ri] = clamp255(yy + t.crR[cr[i]]);
    d[1] = clamp255(yy + ((t.cbG[cb[i]] + t.crG[cr[i]]) >> kScaleBits));
    d[bi] = clamp255(yy + t.cbB[cb[i]]);
  }
}

// Adobe files store CMYK inverted (255 is no ink); YCCK is that inverted CMY transformed as if it were RGB.
void cmykPixel(int c, int m, int y, int k, uint8_t out[3]) {
  constexpr int kMax = 255;
  out[0] = static_cast<uint8_t>((c * k + kMax / 2) / kMax);
  out[1] = static_cast<uint8_t>((m * k + kMax / 2) / kMax);
  out[2] = static_cast<uint8_t>((y * k + kMax / 2) / kMax);
}

void pixelRgb(ColorKind kind, const uint8_t* const* rows, int x, uint8_t out[3]) {
  const YccTables& t = ycc();
  switch (kind) {
    case ColorKind::kGray:
      out[0] = out[1] = out[2] = rows[0][x];
      return;
    case ColorKind::kRgb:
      out[0] = rows[0][x];
      out[1] = rows[1][x];
      out[2] = rows[2][x];
      return;
    case ColorKind::kCmyk:
      cmykPixel(rows[0][x], rows[1][x], rows[2][x], rows[3][x], out);
      return;
    case ColorKind::kYCbCr:
    case ColorKind::kYcck: {
      int yy = rows[0][x], cb = rows[1][x], cr = rows[2][x];
      int r = clamp255(yy + t.crR[cr]), g = clamp255(yy + ((t.cbG[cb] + t.crG[cr]) >> kScaleBits));
      int b = clamp255(yy + t.cbB[cb]);
      if (kind == ColorKind::kYCbCr) {
        out[0] = static_cast<uint8_t>(r);
        out[1] = static_cast<uint8_t>(g);
        out[2] = static_cast<uint8_t>(b);
      } else {
        cmykPixel(255 - r, 255 - g, 255 - b, rows[3][x], out);
      }
      return;
    }
  }
}

}  // namespace

void convertLine(ColorKind kind, const uint8_t* const* rows, int x0, int x1, int channels, bool bgr, uint8_t* dst) {
  const int n = x1 - x0;
  if (channels == 1 && (kind == ColorKind::kGray || kind == ColorKind::kYCbCr)) {
    std::memcpy(dst, rows[0] + x0, n);
    return;
  }
  if (channels == 3 && kind == ColorKind::kYCbCr) {
    yccToRgb(rows[0] + x0, rows[1] + x0, rows[2] + x0, n, bgr, dst);
    return;
  }
  uint8_t rgb[3] = {};
  for (int x = x0; x < x1; ++x) {
    pixelRgb(kind, rows, x, rgb);
    if (channels == 1)
      *dst++ = luminance(rgb[0], rgb[1], rgb[2]);
    else {
      put(dst, rgb[0], rgb[1], rgb[2], bgr);
      dst += 3;
    }
  }
}

}  // namespace ijl::detail
