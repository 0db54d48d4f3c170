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

#ifdef __SSE2__
// Eight pixels' bytes (first, second and third in the low eight lanes of a, b, c) as 24 interleaved bytes at d.
inline void storeTriplets(__m128i a, __m128i b, __m128i c, uint8_t* d) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i ab = _mm_unpacklo_epi8(a, b), c0 = _mm_unpacklo_epi8(c, zero);
  // Four bytes per pixel (the fourth zero), then every fourth byte squeezed out: within each 64-bit half first,
  // then between the halves.
  const __m128i keep3 = _mm_set_epi32(0, 0xFFFFFF, 0, 0xFFFFFF), lowHalf = _mm_set_epi32(0, 0, -1, -1);
  auto squeeze = [&](__m128i v) {
    __m128i t = _mm_or_si128(_mm_and_si128(v, keep3), _mm_srli_epi64(_mm_andnot_si128(keep3, v), 8));
    return _mm_or_si128(_mm_and_si128(t, lowHalf), _mm_srli_si128(_mm_andnot_si128(lowHalf, t), 2));
  };
  const __m128i first = squeeze(_mm_unpacklo_epi16(ab, c0)), second = squeeze(_mm_unpackhi_epi16(ab, c0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_or_si128(first, _mm_slli_si128(second, 12)));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 16), _mm_srli_si128(second, 4));
}
#endif

void yccToRgb(const uint8_t* y, const uint8_t* cb, const uint8_t* cr, int n, bool bgr, uint8_t* d) {
  const YccTables& t = ycc();
  const int ri = bgr ? 2 : 0, bi = bgr ? 0 : 2;
  int i = 0;
#ifdef __SSE2__
  // Eight pixels at a time with the tables' exact arithmetic. Red and blue: each constant is a whole part (added
  // as the chroma value itself or twice it) and a 16-bit remainder k, and (k v + half) >> 16 is the rounded-up half
  // of pmulhw(2 v, k) = floor(k v / 32768). Green sums two products before its one rounding, so it takes them in
  // 32-bit lanes.
  const __m128i zero = _mm_setzero_si128(), c128 = _mm_set1_epi16(128), one = _mm_set1_epi16(1);
  const __m128i half32 = _mm_set1_epi32(kHalf);
  const __m128i kR = _mm_set1_epi16(static_cast<short>(fix(1.40200) - (1 << kScaleBits)));
  const __m128i kB = _mm_set1_epi16(static_cast<short>(fix(1.77200) - (2 << kScaleBits)));
  const __m128i kG = _mm_set1_epi32(static_cast<int>((static_cast<uint32_t>((1 << kScaleBits) - fix(0.71414)) << 16) |
                                                     static_cast<uint16_t>(-fix(0.34414))));
  auto remainder = [&](__m128i v2, __m128i k) { return _mm_srai_epi16(_mm_add_epi16(_mm_mulhi_epi16(v2, k), one), 1); };
  for (; i + 8 <= n; i += 8) {
    __m128i yy = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(y + i)), zero);
    __m128i vb = _mm_sub_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cb + i)), zero), c128);
    __m128i vr = _mm_sub_epi16(_mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cr + i)), zero), c128);
    __m128i vr2 = _mm_add_epi16(vr, vr), vb2 = _mm_add_epi16(vb, vb);
    __m128i rr = _mm_add_epi16(_mm_add_epi16(yy, vr), remainder(vr2, kR));
    __m128i bb = _mm_add_epi16(_mm_add_epi16(yy, vb2), remainder(vb2, kB));
    __m128i glo = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(vb, vr), kG), half32);
    __m128i ghi = _mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(vb, vr), kG), half32);
    __m128i gg = _mm_add_epi16(_mm_sub_epi16(yy, vr),
                               _mm_packs_epi32(_mm_srai_epi32(glo, kScaleBits), _mm_srai_epi32(ghi, kScaleBits)));
    storeTriplets(_mm_packus_epi16(bgr ? bb : rr, zero), _mm_packus_epi16(gg, zero),
                  _mm_packus_epi16(bgr ? rr : bb, zero), d);
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
