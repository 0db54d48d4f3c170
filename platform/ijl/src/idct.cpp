// Inverse DCTs: the accurate integer 8x8 (Loeffler-Ligtenberg-Moschytz) and the reduced 4x4, 2x2, 1x1 outputs.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "decoder.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ijl::detail {
namespace {

constexpr int kConstBits = 13;
constexpr int kPass1Bits = 2;
constexpr int kCenter = 128;

// Rotation constants of the 8-point IDCT, scaled by 2^kConstBits.
constexpr int kF0298 = 2446, kF0390 = 3196, kF0541 = 4433, kF0765 = 6270, kF0899 = 7373, kF1175 = 9633,
              kF1501 = 12299, kF1847 = 15137, kF1961 = 16069, kF2053 = 16819, kF2562 = 20995, kF3072 = 25172;

inline int descale(int x, int n) { return (x + (1 << (n - 1))) >> n; }
inline uint8_t clampSample(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// One 1-D 8-point pass. in() gives input k, the outputs are returned unshifted in out[8].
template <typename In>
inline void idct1d(In in, int out[8]) {
  int z2 = in(2), z3 = in(6);
  int z1 = (z2 + z3) * kF0541;
  int tmp2 = z1 - z3 * kF1847;
  int tmp3 = z1 + z2 * kF0765;
  z2 = in(0);
  z3 = in(4);
  int tmp0 = (z2 + z3) * (1 << kConstBits);
  int tmp1 = (z2 - z3) * (1 << kConstBits);
  int tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3, tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;

  tmp0 = in(7);
  tmp1 = in(5);
  tmp2 = in(3);
  tmp3 = in(1);
  z1 = tmp0 + tmp3;
  z2 = tmp1 + tmp2;
  z3 = tmp0 + tmp2;
  int z4 = tmp1 + tmp3;
  int z5 = (z3 + z4) * kF1175;
  tmp0 *= kF0298;
  tmp1 *= kF2053;
  tmp2 *= kF3072;
  tmp3 *= kF1501;
  z1 *= -kF0899;
  z2 *= -kF2562;
  z3 = z3 * -kF1961 + z5;
  z4 = z4 * -kF0390 + z5;
  tmp0 += z1 + z3;
  tmp1 += z2 + z4;
  tmp2 += z2 + z3;
  tmp3 += z1 + z4;

  out[0] = tmp10 + tmp3;
  out[7] = tmp10 - tmp3;
  out[1] = tmp11 + tmp2;
  out[6] = tmp11 - tmp2;
  out[2] = tmp12 + tmp1;
  out[5] = tmp12 - tmp1;
  out[3] = tmp13 + tmp0;
  out[4] = tmp13 - tmp0;
}

}  // namespace

void idct8Scalar(const int16_t* coef, const uint16_t* q, uint8_t* out, ptrdiff_t stride) {
  int ws[kBlockSize];
  for (int c = 0; c < 8; ++c) {
    const int16_t* col = coef + c;
    const uint16_t* qc = q + c;
    if (!(col[8] | col[16] | col[24] | col[32] | col[40] | col[48] | col[56])) {
      int dc = col[0] * qc[0] * (1 << kPass1Bits);
      for (int r = 0; r < 8; ++r) ws[r * 8 + c] = dc;
      continue;
    }
    int o[8];
    idct1d([&](int k) { return col[k * 8] * qc[k * 8]; }, o);
    for (int r = 0; r < 8; ++r) ws[r * 8 + c] = descale(o[r], kConstBits - kPass1Bits);
  }
  constexpr int kShift = kConstBits + kPass1Bits + 3;
  for (int r = 0; r < 8; ++r) {
    const int* row = ws + r * 8;
    uint8_t* dst = out + r * stride;
    if (!(row[1] | row[2] | row[3] | row[4] | row[5] | row[6] | row[7])) {
      uint8_t v = clampSample(descale(row[0], kPass1Bits + 3) + kCenter);
      std::memset(dst, v, 8);
      continue;
    }
    int o[8];
    idct1d([&](int k) { return row[k]; }, o);
    for (int i = 0; i < 8; ++i) dst[i] = clampSample(descale(o[i], kShift) + kCenter);
  }
}

namespace {

#ifdef __SSE2__
// The same algorithm on eight 16-bit lanes, transposing between passes. Results equal the scalar version for
// coefficients of real 8-bit images; blocks of corrupt files may wrap around in the lanes, which only changes
// their (already meaningless) pixels.
inline void transpose8(__m128i r[8]) {
  __m128i a0 = _mm_unpacklo_epi16(r[0], r[1]), a1 = _mm_unpackhi_epi16(r[0], r[1]);
  __m128i a2 = _mm_unpacklo_epi16(r[2], r[3]), a3 = _mm_unpackhi_epi16(r[2], r[3]);
  __m128i a4 = _mm_unpacklo_epi16(r[4], r[5]), a5 = _mm_unpackhi_epi16(r[4], r[5]);
  __m128i a6 = _mm_unpacklo_epi16(r[6], r[7]), a7 = _mm_unpackhi_epi16(r[6], r[7]);
  __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
  __m128i b2 = _mm_unpacklo_epi32(a1, a3), b3 = _mm_unpackhi_epi32(a1, a3);
  __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
  __m128i b6 = _mm_unpacklo_epi32(a5, a7), b7 = _mm_unpackhi_epi32(a5, a7);
  r[0] = _mm_unpacklo_epi64(b0, b4);
  r[1] = _mm_unpackhi_epi64(b0, b4);
  r[2] = _mm_unpacklo_epi64(b1, b5);
  r[3] = _mm_unpackhi_epi64(b1, b5);
  r[4] = _mm_unpacklo_epi64(b2, b6);
  r[5] = _mm_unpackhi_epi64(b2, b6);
  r[6] = _mm_unpacklo_epi64(b3, b7);
  r[7] = _mm_unpackhi_epi64(b3, b7);
}

// a * c0 + b * c1 on interleaved 16-bit pairs, giving 32-bit lanes (low and high halves).
inline void rot(__m128i a, __m128i b, int c0, int c1, __m128i& lo, __m128i& hi) {
  __m128i k = _mm_set_epi16(static_cast<short>(c1), static_cast<short>(c0), static_cast<short>(c1),
                            static_cast<short>(c0), static_cast<short>(c1), static_cast<short>(c0),
                            static_cast<short>(c1), static_cast<short>(c0));
  lo = _mm_madd_epi16(_mm_unpacklo_epi16(a, b), k);
  hi = _mm_madd_epi16(_mm_unpackhi_epi16(a, b), k);
}

struct W32 {
  __m128i lo, hi;
};
inline W32 add(W32 a, W32 b) { return {_mm_add_epi32(a.lo, b.lo), _mm_add_epi32(a.hi, b.hi)}; }
inline W32 sub(W32 a, W32 b) { return {_mm_sub_epi32(a.lo, b.lo), _mm_sub_epi32(a.hi, b.hi)}; }
inline W32 widenShift(__m128i a) {
  // a << kConstBits in 32 bits
  __m128i lo = _mm_srai_epi32(_mm_unpacklo_epi16(_mm_setzero_si128(), a), 16 - kConstBits);
  __m128i hi = _mm_srai_epi32(_mm_unpackhi_epi16(_mm_setzero_si128(), a), 16 - kConstBits);
  return {lo, hi};
}
inline __m128i narrow(W32 a, int shift) {
  return _mm_packs_epi32(_mm_srai_epi32(a.lo, shift), _mm_srai_epi32(a.hi, shift));
}

// One pass over eight vectors of eight lanes (each vector is input index k for eight columns). bias joins the
// DC terms, and through them every output, before the shift: the rounding (and the centring of the last pass)
// costs two additions instead of sixteen.
__attribute__((always_inline)) inline void idctPass(__m128i in[8], int shift, int bias) {
  W32 tmp2, tmp3;
  // Even part: z1 = (in2 + in6) * c0541; tmp2 = z1 - in6 * c1847; tmp3 = z1 + in2 * c0765.
  rot(in[2], in[6], kF0541, kF0541 - kF1847, tmp2.lo, tmp2.hi);
  rot(in[2], in[6], kF0541 + kF0765, kF0541, tmp3.lo, tmp3.hi);
  const W32 b = {_mm_set1_epi32(bias), _mm_set1_epi32(bias)};
  W32 tmp0 = add(widenShift(_mm_add_epi16(in[0], in[4])), b);
  W32 tmp1 = add(widenShift(_mm_sub_epi16(in[0], in[4])), b);
  W32 tmp10 = add(tmp0, tmp3), tmp13 = sub(tmp0, tmp3), tmp11 = add(tmp1, tmp2), tmp12 = sub(tmp1, tmp2);

  // Odd part, with the z5 term folded into the pairs (in7,in5)+(in3,in1) as in the SIMD formulation:
  // z3 = in7 + in3, z4 = in5 + in1.
  __m128i z3 = _mm_add_epi16(in[7], in[3]);
  __m128i z4 = _mm_add_epi16(in[5], in[1]);
  W32 z34a, z34b;
  // z3' = z3 * (c1175 - c1961) + z4 * c1175; z4' = z3 * c1175 + z4 * (c1175 - c0390)
  rot(z3, z4, kF1175 - kF1961, kF1175, z34a.lo, z34a.hi);
  rot(z3, z4, kF1175, kF1175 - kF0390, z34b.lo, z34b.hi);
  // tmp0 = in7 * (c0298 - c0899) + in1 * (-c0899) + z3'; tmp3 = in7 * (-c0899) + in1 * (c1501 - c0899) + z4'
  W32 o0, o3, o1, o2;
  rot(in[7], in[1], kF0298 - kF0899, -kF0899, o0.lo, o0.hi);
  rot(in[7], in[1], -kF0899, kF1501 - kF0899, o3.lo, o3.hi);
  // tmp1 = in5 * (c2053 - c2562) + in3 * (-c2562) + z4'; tmp2 = in5 * (-c2562) + in3 * (c3072 - c2562) + z3'
  rot(in[5], in[3], kF2053 - kF2562, -kF2562, o1.lo, o1.hi);
  rot(in[5], in[3], -kF2562, kF3072 - kF2562, o2.lo, o2.hi);
  o0 = add(o0, z34a);
  o3 = add(o3, z34b);
  o1 = add(o1, z34b);
  o2 = add(o2, z34a);

  in[0] = narrow(add(tmp10, o3), shift);
  in[7] = narrow(sub(tmp10, o3), shift);
  in[1] = narrow(add(tmp11, o2), shift);
  in[6] = narrow(sub(tmp11, o2), shift);
  in[2] = narrow(add(tmp12, o1), shift);
  in[5] = narrow(sub(tmp12, o1), shift);
  in[3] = narrow(add(tmp13, o0), shift);
  in[4] = narrow(sub(tmp13, o0), shift);
}

// Eight columns of samples (column i in c[i], rows in the lanes) to eight rows of eight bytes.
inline void storeColumns(const __m128i c[8], uint8_t* out, ptrdiff_t stride) {
  // Bytes of columns (0, 2), (1, 3), (4, 6), (5, 7); interleaving them pairs columns 0-1, 2-3, 4-5, 6-7 per row.
  __m128i a = _mm_packus_epi16(c[0], c[2]), b = _mm_packus_epi16(c[1], c[3]);
  __m128i d = _mm_packus_epi16(c[4], c[6]), e = _mm_packus_epi16(c[5], c[7]);
  __m128i p01 = _mm_unpacklo_epi8(a, b), p23 = _mm_unpackhi_epi8(a, b);
  __m128i p45 = _mm_unpacklo_epi8(d, e), p67 = _mm_unpackhi_epi8(d, e);
  __m128i q0 = _mm_unpacklo_epi16(p01, p23), q1 = _mm_unpackhi_epi16(p01, p23);  // columns 0-3, rows 0-3 / 4-7
  __m128i q2 = _mm_unpacklo_epi16(p45, p67), q3 = _mm_unpackhi_epi16(p45, p67);  // columns 4-7
  const __m128i rows[4] = {_mm_unpacklo_epi32(q0, q2), _mm_unpackhi_epi32(q0, q2), _mm_unpacklo_epi32(q1, q3),
                           _mm_unpackhi_epi32(q1, q3)};
  for (int k = 0; k < 4; ++k) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 2 * k * stride), rows[k]);
    _mm_storeh_pi(reinterpret_cast<__m64*>(out + (2 * k + 1) * stride), _mm_castsi128_ps(rows[k]));
  }
}

void idct8Sse2(const int16_t* coef, const uint16_t* q, uint8_t* out, ptrdiff_t stride) {
  __m128i r[8];
  for (int k = 0; k < 8; ++k) r[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coef + k * 8));
  // A block without AC coefficients (most colour blocks of photographs) is flat: its DC value everywhere.
  __m128i ac = _mm_and_si128(r[0], _mm_set_epi16(-1, -1, -1, -1, -1, -1, -1, 0));
  for (int k = 1; k < 8; ++k) ac = _mm_or_si128(ac, r[k]);
  if (_mm_movemask_epi8(_mm_cmpeq_epi16(ac, _mm_setzero_si128())) == 0xFFFF) {
    const int16_t dc = static_cast<int16_t>(coef[0] * q[0]);
    const __m128i v = _mm_set1_epi8(static_cast<char>(clampSample(descale(dc, 3) + kCenter)));
    for (int k = 0; k < 8; ++k) _mm_storel_epi64(reinterpret_cast<__m128i*>(out + k * stride), v);
    return;
  }
  for (int k = 0; k < 8; ++k)
    r[k] = _mm_mullo_epi16(r[k], _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + k * 8)));
  constexpr int kShift1 = kConstBits - kPass1Bits, kShift2 = kConstBits + kPass1Bits + 3;
  idctPass(r, kShift1, 1 << (kShift1 - 1));
  transpose8(r);
  idctPass(r, kShift2, (1 << (kShift2 - 1)) + (kCenter << kShift2));
  storeColumns(r, out, stride);
}

#endif

// Reduced outputs sample the 8-point basis at n points: x(i) = sum_u C(u)/2 cos((2i+1)u pi / 2n) X(u),
// so that each output is the mean of the (8/n)^2 pixels it stands for.
struct ReducedTables {
  int t4[4][4];
  int t2[2][2];
  ReducedTables() {
    const double pi = std::acos(-1.0);
    auto entry = [&](int n, int i, int u) {
      double c = u == 0 ? std::sqrt(0.5) : 1.0;
      return static_cast<int>(std::lround(c / 2 * std::cos((2 * i + 1) * u * pi / (2 * n)) * (1 << kConstBits)));
    };
    for (int i = 0; i < 4; ++i)
      for (int u = 0; u < 4; ++u) t4[i][u] = entry(4, i, u);
    for (int i = 0; i < 2; ++i)
      for (int u = 0; u < 2; ++u) t2[i][u] = entry(2, i, u);
  }
};
const ReducedTables& reducedTables() {
  static const ReducedTables tables;
  return tables;
}

// Products are taken of the 16-bit dequantised coefficients and the first pass's results saturate to 16 bits,
// as in the SSE2 8x8 IDCT: real 8-bit images stay far inside those ranges, and no sum can overflow 32 bits (so
// i686 needs no 64-bit arithmetic).
inline int saturate16(int v) { return v < INT16_MIN ? INT16_MIN : (v > INT16_MAX ? INT16_MAX : v); }

template <int N>
void idctReduced(const int (&t)[N][N], const int16_t* coef, const uint16_t* q, uint8_t* out, ptrdiff_t stride) {
  constexpr int kShift1 = kConstBits - kPass1Bits, kShift2 = kConstBits + kPass1Bits;
  int x[N][N];  // x[u][c]: dequantised coefficients
  for (int u = 0; u < N; ++u)
    for (int c = 0; c < N; ++c) x[u][c] = static_cast<int16_t>(coef[u * 8 + c] * q[u * 8 + c]);
  int ws[N][N];  // ws[row i][column c]
  for (int c = 0; c < N; ++c) {
    for (int i = 0; i < N; ++i) {
      int s = 1 << (kShift1 - 1);
      for (int u = 0; u < N; ++u) s += t[i][u] * x[u][c];
      ws[i][c] = saturate16(s >> kShift1);
    }
  }
  for (int r = 0; r < N; ++r) {
    for (int i = 0; i < N; ++i) {
      int s = 1 << (kShift2 - 1);
      for (int u = 0; u < N; ++u) s += t[i][u] * ws[r][u];
      out[r * stride + i] = clampSample((s >> kShift2) + kCenter);
    }
  }
}

}  // namespace

void idctScaled(int n, const int16_t* coef, const uint16_t* quant, uint8_t* out, ptrdiff_t stride) {
  switch (n) {
    case 8:
#ifdef __SSE2__
      idct8Sse2(coef, quant, out, stride);
#else
      idct8Scalar(coef, quant, out, stride);
#endif
      return;
    case 4:
      idctReduced<4>(reducedTables().t4, coef, quant, out, stride);
      return;
    case 2:
      idctReduced<2>(reducedTables().t2, coef, quant, out, stride);
      return;
    default:
      out[0] = idct1(coef, quant);
      return;
  }
}

}  // namespace ijl::detail
