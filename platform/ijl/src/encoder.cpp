// Baseline JPEG encoding: RGB to YCbCr 4:2:0 or grey, float AAN forward DCT, standard Huffman tables.
#include "encoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

#include "ijl/ijl.h"
#include "simd.h"
#include "tables.h"

#ifdef IJL_HAVE_AVX2
#include <immintrin.h>
#endif

namespace ijl::detail {
namespace {

constexpr int kScaleBits = 16;
constexpr int fix(double x) { return static_cast<int>(x * (1 << kScaleBits) + 0.5); }
constexpr int kHalf = 1 << (kScaleBits - 1);
constexpr int kChromaOffset = 128 << kScaleBits;
constexpr int kMaxDcMagnitude = 2047, kMaxAcMagnitude = 1023;
// What centring the 64 samples of a block on 128 takes off its (unscaled) DC coefficient.
constexpr float kBlockCentre = 64 * 128;

// Packed entries (see Encoder::acCodes_): the symbol's low four bits are its magnitude's length.
constexpr int kLengthBits = 5;
void buildCodes(const StdHuffman& t, uint32_t* entries, int symbols) {
  std::memset(entries, 0, sizeof(uint32_t) * symbols);
  int k = 0;
  uint32_t c = 0;
  for (int len = 1; len <= 16; ++len) {
    for (int i = 0; i < t.counts[len - 1]; ++i, ++k, ++c) {
      const int sym = t.values[k], magnitude = sym & 15;
      if (sym < symbols) entries[sym] = (c << magnitude << kLengthBits) | static_cast<uint32_t>(len + magnitude);
    }
    c <<= 1;
  }
}

inline int bitLength(int v) { return v ? 32 - __builtin_clz(static_cast<unsigned>(v)) : 0; }

// JFIF RGB to YCbCr straight from three-byte pixels (red at offset ro, blue at bo).
void pixelsToYcc(const uint8_t* s, int n, int ro, int bo, uint8_t* y, uint8_t* cb, uint8_t* cr) {
  int i = 0;
#ifdef __SSE2__
  // Eight pixels per step: each pixel's bytes are loaded as one 32-bit lane and split into (R, G) and (B, 1)
  // 16-bit pairs for madd with 15-bit constants. Only pixels followed by another one are loaded this way,
  // since a 32-bit load of the last pixel would read past the line.
  constexpr int kBits = 15;
  auto pair = [](int a, int c) {
    return _mm_set1_epi32(static_cast<int>((static_cast<uint32_t>(c) << 16) | static_cast<uint16_t>(a)));
  };
  const bool swap = ro == 2;
  const int kr[3] = {9798, -5529, 16384}, kg[3] = {19235, -10855, -13720}, kb[3] = {3736, 16384, -2664};
  __m128i kRG[3], kB1[3];
  for (int c = 0; c < 3; ++c) {
    // Pairs are (first byte, second byte) and (third byte, 1); with BGR input the outer constants swap.
    kRG[c] = pair(swap ? kb[c] : kr[c], kg[c]);
    kB1[c] = pair(swap ? kr[c] : kb[c], c == 0 ? 1 << (kBits - 1) : 0);
  }
  const __m128i chromaOffset = _mm_set1_epi32((128 << kBits) + (1 << (kBits - 1)) - 1);
  const __m128i lowMask = _mm_set1_epi32(0xFF), midMask = _mm_set1_epi32(0xFF0000), one = _mm_set1_epi32(1 << 16);
  // Four register loads joined by unpacks: gathering the words in memory first costs a store-forwarding stall
  // on every vector load (the i686 build did that).
  auto load32 = [](const uint8_t* p) {
    uint32_t w;
    std::memcpy(&w, p, sizeof w);
    return _mm_cvtsi32_si128(static_cast<int>(w));
  };
  auto load4 = [&](const uint8_t* p) {
    __m128i lo = _mm_unpacklo_epi32(load32(p), load32(p + 3));
    __m128i hi = _mm_unpacklo_epi32(load32(p + 6), load32(p + 9));
    return _mm_unpacklo_epi64(lo, hi);
  };
  for (; i + 9 <= n; i += 8) {
    __m128i v0 = load4(s + 3 * i), v1 = load4(s + 3 * i + 12);
    __m128i rg0 = _mm_or_si128(_mm_and_si128(v0, lowMask), _mm_and_si128(_mm_slli_epi32(v0, 8), midMask));
    __m128i rg1 = _mm_or_si128(_mm_and_si128(v1, lowMask), _mm_and_si128(_mm_slli_epi32(v1, 8), midMask));
    __m128i b0 = _mm_or_si128(_mm_and_si128(_mm_srli_epi32(v0, 16), lowMask), one);
    __m128i b1 = _mm_or_si128(_mm_and_si128(_mm_srli_epi32(v1, 16), lowMask), one);
    uint8_t* out[3] = {y + i, cb + i, cr + i};
    for (int c = 0; c < 3; ++c) {
      __m128i add = c ? chromaOffset : _mm_setzero_si128();
      __m128i lo = _mm_add_epi32(_mm_add_epi32(_mm_madd_epi16(rg0, kRG[c]), _mm_madd_epi16(b0, kB1[c])), add);
      __m128i hi = _mm_add_epi32(_mm_add_epi32(_mm_madd_epi16(rg1, kRG[c]), _mm_madd_epi16(b1, kB1[c])), add);
      __m128i v = _mm_packs_epi32(_mm_srai_epi32(lo, kBits), _mm_srai_epi32(hi, kBits));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out[c]), _mm_packus_epi16(v, v));
    }
  }
#endif
  for (; i < n; ++i) {
    const uint8_t* p = s + 3 * i;
    int R = p[ro], G = p[1], B = p[bo];
    y[i] = static_cast<uint8_t>((fix(0.29900) * R + fix(0.58700) * G + fix(0.11400) * B + kHalf) >> kScaleBits);
    cb[i] = static_cast<uint8_t>((-fix(0.16874) * R - fix(0.33126) * G + fix(0.5) * B + kChromaOffset + kHalf - 1) >>
                                 kScaleBits);
    cr[i] = static_cast<uint8_t>((fix(0.5) * R - fix(0.41869) * G - fix(0.08131) * B + kChromaOffset + kHalf - 1) >>
                                 kScaleBits);
  }
}

// 2x2 box average of two rows into one, with the alternating rounding bias of the IJG encoder.
void downsample2x2(const uint8_t* a, const uint8_t* b, int outWidth, uint8_t* out) {
  int x = 0;
#ifdef __SSE2__
  const __m128i lowBytes = _mm_set1_epi16(0xFF), bias = _mm_set1_epi32(0x00020001);
  for (; x + 8 <= outWidth; x += 8) {
    __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 2 * x));
    __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 2 * x));
    __m128i sa = _mm_add_epi16(_mm_and_si128(va, lowBytes), _mm_srli_epi16(va, 8));
    __m128i sb = _mm_add_epi16(_mm_and_si128(vb, lowBytes), _mm_srli_epi16(vb, 8));
    __m128i v = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(sa, sb), bias), 2);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(v, v));
  }
#endif
  for (; x < outWidth; ++x)
    out[x] = static_cast<uint8_t>((a[2 * x] + a[2 * x + 1] + b[2 * x] + b[2 * x + 1] + 1 + (x & 1)) >> 2);
}

// MSB-first bit writer into a buffer with room reserved by the caller. A local of the block coder, so its state
// stays in registers while bytes go out (stores through a byte pointer could alias members of the encoder).
using BitWord = uintptr_t;
constexpr int kWordBits = static_cast<int>(sizeof(BitWord) * 8);
constexpr BitWord kByteOnes = ~BitWord(0) / 0xFF;
// A Huffman code and its magnitude bits together.
constexpr int kMaxPutBits = 27;
static_assert(kMaxPutBits < kWordBits, "one put must fit in the bit buffer");

// Writes a word byte by byte, stuffing a zero after each 0xFF; out of line, as few words hold one.
__attribute__((noinline)) uint8_t* emitStuffed(uint8_t* dst, BitWord w) {
  for (int shift = kWordBits - 8; shift >= 0; shift -= 8) {
    uint8_t b = static_cast<uint8_t>(w >> shift);
    *dst++ = b;
    if (b == 0xFF) *dst++ = 0;
  }
  return dst;
}

struct BitWriter {
  BitWord acc;  // the pending bits in the low kWordBits - free bits; anything above them is stale
  int free;
  uint8_t* dst;

  // n is 1..kMaxPutBits and bits has no bits above n.
  __attribute__((always_inline)) void put(uint32_t bits, int n) {
    free -= n;
    if (free >= 0) {
      acc = (acc << n) | bits;
      return;
    }
    // The word fills up: emit it with the leading part of bits, keep the rest.
    emit((acc << (n + free)) | (static_cast<BitWord>(bits) >> -free));
    acc = bits;
    free += kWordBits;
  }
  // Writes a whole word, stuffing a zero after each 0xFF byte.
  __attribute__((always_inline)) void emit(BitWord w) {
    BitWord inverted = ~w;
    if (((inverted - kByteOnes) & ~inverted & (kByteOnes * 0x80)) == 0) {
      BitWord be;
      if constexpr (sizeof(BitWord) == 8)
        be = static_cast<BitWord>(__builtin_bswap64(w));
      else
        be = static_cast<BitWord>(__builtin_bswap32(static_cast<uint32_t>(w)));
      std::memcpy(dst, &be, sizeof be);
      dst += sizeof be;
      return;
    }
    dst = emitStuffed(dst, w);
  }
};

}  // namespace

int Encoder::begin(int width, int height, int channels, int quality) {
  if (width < 1 || height < 1 || width > kMaxDimension || height > kMaxDimension) return kErrInvalidProperties;
  if (channels != 1 && channels != 3) return kErrUnsupportedChannels;
  if (quality < 0 || quality > 100) return kErrInvalidProperties;
  width_ = width;
  height_ = height;
  channels_ = channels;
  mcuH_ = channels == 3 ? 16 : 8;
  paddedW_ = (width + mcuH_ - 1) / mcuH_ * mcuH_;
  received_ = rowsInMcu_ = 0;
  for (int c = 0; c < channels; ++c) planes_[c].assign(static_cast<size_t>(paddedW_) * mcuH_, 0);
  if (channels == 3) {
    for (auto& p : chroma_) p.assign(static_cast<size_t>(paddedW_ / 2) * 8, 0);
  }
  static const double kAanScale[8] = {1.0, 1.387039845, 1.306562965, 1.175875602,
                                      1.0, 0.785694958, 0.541196100, 0.275899379};
  const int scale = qualityScale(quality);
  uint8_t quant[2][64];
  for (int t = 0; t < 2; ++t)
    for (int k = 0; k < 64; ++k) {
      quant[t][k] = static_cast<uint8_t>(scaledQuantEntry(t ? kStdChrominanceQuant[k] : kStdLuminanceQuant[k], scale));
      // k is the natural index (row u, column v); the DCT leaves coefficient (u, v) at v * 8 + u.
      divisors_[t][(k % 8) * 8 + k / 8] =
          static_cast<float>(1.0 / (quant[t][k] * kAanScale[k / 8] * kAanScale[k % 8] * 8.0));
    }
  buildCodes(kStdDcLuminance, dcCodes_[0], 16);
  buildCodes(kStdAcLuminance, acCodes_[0], 256);
  buildCodes(kStdDcChrominance, dcCodes_[1], 16);
  buildCodes(kStdAcChrominance, acCodes_[1], 256);
  len_ = 0;
  bitBuf_ = 0;
  bitFree_ = kWordBits;
  lastDc_[0] = lastDc_[1] = lastDc_[2] = 0;

  // SOI, JFIF APP0, DQT, SOF0, DHT, SOS.
  const uint8_t soiApp0[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
  putBytes(soiApp0, sizeof soiApp0);
  const int tables = channels == 3 ? 2 : 1;
  for (int t = 0; t < tables; ++t) {
    putByte(0xFF);
    putByte(0xDB);
    put16(67);
    putByte(static_cast<uint8_t>(t));
    for (int k = 0; k < 64; ++k) putByte(quant[t][kZigzagToNatural[k]]);
  }
  putByte(0xFF);
  putByte(0xC0);
  put16(8 + 3 * channels);
  putByte(8);
  put16(height);
  put16(width);
  putByte(static_cast<uint8_t>(channels));
  for (int c = 0; c < channels; ++c) {
    putByte(static_cast<uint8_t>(c + 1));
    putByte(channels == 3 && c == 0 ? 0x22 : 0x11);
    putByte(c ? 1 : 0);
  }
  const StdHuffman* huff[4] = {&kStdDcLuminance, &kStdAcLuminance, &kStdDcChrominance, &kStdAcChrominance};
  for (int i = 0; i < 2 * tables; ++i) {
    const StdHuffman& h = *huff[i];
    putByte(0xFF);
    putByte(0xC4);
    put16(2 + 17 + h.valueCount);
    putByte(static_cast<uint8_t>(((i & 1) << 4) | (i >> 1)));
    putBytes(h.counts, 16);
    putBytes(h.values, h.valueCount);
  }
  putByte(0xFF);
  putByte(0xDA);
  put16(6 + 2 * channels);
  putByte(static_cast<uint8_t>(channels));
  for (int c = 0; c < channels; ++c) {
    putByte(static_cast<uint8_t>(c + 1));
    putByte(c ? 0x11 : 0x00);
  }
  putByte(0);
  putByte(63);
  putByte(0);
  return kOk;
}

int Encoder::addLines(const uint8_t* first, ptrdiff_t lineStep, int count, int srcChannels, bool bgr) {
  if (count < 0 || received_ + count > height_) return kErrInvalidProperties;
  if (srcChannels != 1 && srcChannels != 3) return kErrUnsupportedChannels;
  const int ri = bgr ? 2 : 0, bi = bgr ? 0 : 2;
  for (int line = 0; line < count; ++line) {
    const uint8_t* s = first + line * lineStep;
    uint8_t* y = planes_[0].data() + static_cast<size_t>(rowsInMcu_) * paddedW_;
    if (channels_ == 1) {
      for (int x = 0; x < width_; ++x) {
        const uint8_t* p = s + x * srcChannels;
        y[x] = srcChannels == 1 ? p[0]
                                : static_cast<uint8_t>((fix(0.299) * p[ri] + fix(0.587) * p[1] + fix(0.114) * p[bi] +
                                                        kHalf) >> kScaleBits);
      }
    } else {
      uint8_t* cb = planes_[1].data() + static_cast<size_t>(rowsInMcu_) * paddedW_;
      uint8_t* cr = planes_[2].data() + static_cast<size_t>(rowsInMcu_) * paddedW_;
      if (srcChannels == 1) {
        // Grey source into a colour file: neutral chroma.
        std::memcpy(y, s, width_);
        std::memset(cb, 128, width_);
        std::memset(cr, 128, width_);
      } else {
        pixelsToYcc(s, width_, ri, bi, y, cb, cr);
      }
    }
    for (int c = 0; c < channels_; ++c) {
      uint8_t* row = planes_[c].data() + static_cast<size_t>(rowsInMcu_) * paddedW_;
      std::memset(row + width_, row[width_ - 1], paddedW_ - width_);
    }
    ++received_;
    if (++rowsInMcu_ == mcuH_) encodeMcuRow();
  }
  return kOk;
}

int Encoder::finish() {
  if (received_ != height_) return kErrInvalidProperties;
  if (rowsInMcu_ > 0) {
    // Pad the last MCU row by repeating the last line.
    for (int c = 0; c < channels_; ++c) {
      uint8_t* base = planes_[c].data();
      for (int r = rowsInMcu_; r < mcuH_; ++r)
        std::memcpy(base + static_cast<size_t>(r) * paddedW_, base + static_cast<size_t>(rowsInMcu_ - 1) * paddedW_,
                    paddedW_);
    }
    encodeMcuRow();
  }
  flushBits();
  putByte(0xFF);
  putByte(0xD9);
  return kOk;
}

namespace {

#ifdef __SSE2__
// The AAN butterflies on four lanes at once: v[i] is input i of four independent 8-point transforms.
inline void fdct8x4(__m128 v[8]) {
  __m128 t0 = _mm_add_ps(v[0], v[7]), t7 = _mm_sub_ps(v[0], v[7]);
  __m128 t1 = _mm_add_ps(v[1], v[6]), t6 = _mm_sub_ps(v[1], v[6]);
  __m128 t2 = _mm_add_ps(v[2], v[5]), t5 = _mm_sub_ps(v[2], v[5]);
  __m128 t3 = _mm_add_ps(v[3], v[4]), t4 = _mm_sub_ps(v[3], v[4]);
  __m128 t10 = _mm_add_ps(t0, t3), t13 = _mm_sub_ps(t0, t3), t11 = _mm_add_ps(t1, t2), t12 = _mm_sub_ps(t1, t2);
  v[0] = _mm_add_ps(t10, t11);
  v[4] = _mm_sub_ps(t10, t11);
  __m128 z1 = _mm_mul_ps(_mm_add_ps(t12, t13), _mm_set1_ps(0.707106781f));
  v[2] = _mm_add_ps(t13, z1);
  v[6] = _mm_sub_ps(t13, z1);
  t10 = _mm_add_ps(t4, t5);
  t11 = _mm_add_ps(t5, t6);
  t12 = _mm_add_ps(t6, t7);
  __m128 z5 = _mm_mul_ps(_mm_sub_ps(t10, t12), _mm_set1_ps(0.382683433f));
  __m128 z2 = _mm_add_ps(_mm_mul_ps(t10, _mm_set1_ps(0.541196100f)), z5);
  __m128 z4 = _mm_add_ps(_mm_mul_ps(t12, _mm_set1_ps(1.306562965f)), z5);
  __m128 z3 = _mm_mul_ps(t11, _mm_set1_ps(0.707106781f));
  __m128 z11 = _mm_add_ps(t7, z3), z13 = _mm_sub_ps(t7, z3);
  v[5] = _mm_add_ps(z13, z2);
  v[3] = _mm_sub_ps(z13, z2);
  v[1] = _mm_add_ps(z11, z4);
  v[7] = _mm_sub_ps(z11, z4);
}

// Forward DCT and quantisation of one block, limited to what the standard Huffman tables code;
// q receives coefficient (u, v) at v * 8 + u.
void fdctQuantize(const uint8_t* src, ptrdiff_t stride, const float* div, int16_t* q) {
  const __m128i zero = _mm_setzero_si128();
  // Samples go in uncentred: the centring shifts only the DC coefficient, by exactly kBlockCentre, as every
  // intermediate that carries it is a whole number (see the end of the transform).
  __m128 left[8], right[8];
  for (int r = 0; r < 8; ++r) {
    __m128i px = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + r * stride)), zero);
    left[r] = _mm_cvtepi32_ps(_mm_unpacklo_epi16(px, zero));
    right[r] = _mm_cvtepi32_ps(_mm_unpackhi_epi16(px, zero));
  }
  fdct8x4(left);  // vertical transform of columns 0..3: left[u] holds frequency u
  fdct8x4(right);
  // Transpose so that the horizontal transform runs across lanes too: lo[c] = (u 0..3) of column c.
  __m128 lo[8], hi[8];
  for (int half = 0; half < 2; ++half) {
    __m128* m = half ? right : left;
    __m128 a0 = m[0], a1 = m[1], a2 = m[2], a3 = m[3], b0 = m[4], b1 = m[5], b2 = m[6], b3 = m[7];
    _MM_TRANSPOSE4_PS(a0, a1, a2, a3);
    _MM_TRANSPOSE4_PS(b0, b1, b2, b3);
    lo[half * 4 + 0] = a0;
    lo[half * 4 + 1] = a1;
    lo[half * 4 + 2] = a2;
    lo[half * 4 + 3] = a3;
    hi[half * 4 + 0] = b0;
    hi[half * 4 + 1] = b1;
    hi[half * 4 + 2] = b2;
    hi[half * 4 + 3] = b3;
  }
  fdct8x4(lo);  // lo[v] lanes u 0..3
  fdct8x4(hi);  // hi[v] lanes u 4..7
  lo[0] = _mm_sub_ss(lo[0], _mm_set_ss(kBlockCentre));
  const __m128i acLimit = _mm_set1_epi16(kMaxAcMagnitude);
  const __m128i dcLimit = _mm_insert_epi16(acLimit, kMaxDcMagnitude, 0);
  for (int v = 0; v < 8; ++v) {
    __m128i a = _mm_cvtps_epi32(_mm_mul_ps(lo[v], _mm_loadu_ps(div + v * 8)));
    __m128i b = _mm_cvtps_epi32(_mm_mul_ps(hi[v], _mm_loadu_ps(div + v * 8 + 4)));
    __m128i limit = v == 0 ? dcLimit : acLimit;
    __m128i c = _mm_max_epi16(_mm_min_epi16(_mm_packs_epi32(a, b), limit), _mm_sub_epi16(_mm_setzero_si128(), limit));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(q + v * 8), c);
  }
}
#else
// Forward DCT (Arai-Agui-Nakajima) on one 8-point line; outputs carry the per-index AAN scale factors.
inline void fdct1d(float* d, int step) {
  float t0 = d[0] + d[7 * step], t7 = d[0] - d[7 * step];
  float t1 = d[step] + d[6 * step], t6 = d[step] - d[6 * step];
  float t2 = d[2 * step] + d[5 * step], t5 = d[2 * step] - d[5 * step];
  float t3 = d[3 * step] + d[4 * step], t4 = d[3 * step] - d[4 * step];
  float t10 = t0 + t3, t13 = t0 - t3, t11 = t1 + t2, t12 = t1 - t2;
  d[0] = t10 + t11;
  d[4 * step] = t10 - t11;
  float z1 = (t12 + t13) * 0.707106781f;
  d[2 * step] = t13 + z1;
  d[6 * step] = t13 - z1;
  t10 = t4 + t5;
  t11 = t5 + t6;
  t12 = t6 + t7;
  float z5 = (t10 - t12) * 0.382683433f;
  float z2 = 0.541196100f * t10 + z5, z4 = 1.306562965f * t12 + z5, z3 = t11 * 0.707106781f;
  float z11 = t7 + z3, z13 = t7 - z3;
  d[5 * step] = z13 + z2;
  d[3 * step] = z13 - z2;
  d[step] = z11 + z4;
  d[7 * step] = z11 - z4;
}

void fdctQuantize(const uint8_t* src, ptrdiff_t stride, const float* div, int16_t* q) {
  float d[64];
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) d[r * 8 + c] = static_cast<float>(src[r * stride + c]) - 128.0f;
  for (int r = 0; r < 8; ++r) fdct1d(d + r * 8, 1);
  for (int c = 0; c < 8; ++c) fdct1d(d + c, 8);
  for (int u = 0; u < 8; ++u)
    for (int v = 0; v < 8; ++v) {
      float x = d[u * 8 + v] * div[v * 8 + u];
      int limit = u == 0 && v == 0 ? kMaxDcMagnitude : kMaxAcMagnitude;
      q[v * 8 + u] = static_cast<int16_t>(std::min(std::max(static_cast<int>(std::lround(x)), -limit), limit));
    }
}
#endif

// Bit i set when coefs[i] is not zero (i in storage order).
__attribute__((always_inline)) inline uint64_t nonzeroMask(const int16_t* coefs) {
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128();
  uint32_t zeros[2];
  for (int i = 0; i < 2; ++i) {
    __m128i a = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(coefs + 32 * i)), zero);
    __m128i b = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(coefs + 32 * i + 8)), zero);
    __m128i c = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(coefs + 32 * i + 16)), zero);
    __m128i d = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(coefs + 32 * i + 24)), zero);
    zeros[i] = static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(a, b))) |
               static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(c, d))) << 16;
  }
  return ~(zeros[0] | static_cast<uint64_t>(zeros[1]) << 32);
#else
  uint64_t mask = 0;
  for (int k = 0; k < 64; ++k) mask |= static_cast<uint64_t>(coefs[k] != 0) << k;
  return mask;
#endif
}

// The coefficients' storage order (transposed, as fdctQuantize leaves them) against the zig-zag order: the
// storage index of each zig-zag position, and per storage byte of a nonzeroMask and its value the zig-zag bits
// (so the coder walks the zig-zag order over the non-zero coefficients without reordering the block).
struct ZigzagTables {
  uint8_t index[64];
  uint32_t maskBits[8][256][2];
  ZigzagTables() {
    uint8_t position[64];
    for (int k = 0; k < 64; ++k) {
      int n = kZigzagToNatural[k];
      index[k] = static_cast<uint8_t>((n % 8) * 8 + n / 8);
      position[index[k]] = static_cast<uint8_t>(k);
    }
    for (int b = 0; b < 8; ++b)
      for (int v = 0; v < 256; ++v) {
        uint32_t* m = maskBits[b][v];
        m[0] = m[1] = 0;
        for (int j = 0; j < 8; ++j)
          if (v & (1 << j)) {
            const int k = position[8 * b + j];
            m[k / 32] |= 1u << (k % 32);
          }
      }
  }
};
const ZigzagTables kZigzag;

// The zig-zag bits of the non-zero AC coefficients of a block in storage order.
__attribute__((always_inline)) inline void zigzagNonzero(const int16_t* coefs, uint32_t out[2]) {
  const uint64_t natural = nonzeroMask(coefs);
  uint32_t lo = 0, hi = 0;
  for (int b = 0; b < 8; ++b) {
    const uint32_t* m = kZigzag.maskBits[b][static_cast<uint8_t>(natural >> (8 * b))];
    lo |= m[0];
    hi |= m[1];
  }
  out[0] = lo & ~1u;  // the DC coefficient is coded on its own
  out[1] = hi;
}

#ifdef IJL_HAVE_AVX2
// fdct8x4 on eight lanes: the same operations in the same order, so the results equal the SSE form's.
IJL_AVX2 inline void fdct8x8(__m256 v[8]) {
  __m256 t0 = _mm256_add_ps(v[0], v[7]), t7 = _mm256_sub_ps(v[0], v[7]);
  __m256 t1 = _mm256_add_ps(v[1], v[6]), t6 = _mm256_sub_ps(v[1], v[6]);
  __m256 t2 = _mm256_add_ps(v[2], v[5]), t5 = _mm256_sub_ps(v[2], v[5]);
  __m256 t3 = _mm256_add_ps(v[3], v[4]), t4 = _mm256_sub_ps(v[3], v[4]);
  __m256 t10 = _mm256_add_ps(t0, t3), t13 = _mm256_sub_ps(t0, t3), t11 = _mm256_add_ps(t1, t2),
         t12 = _mm256_sub_ps(t1, t2);
  v[0] = _mm256_add_ps(t10, t11);
  v[4] = _mm256_sub_ps(t10, t11);
  __m256 z1 = _mm256_mul_ps(_mm256_add_ps(t12, t13), _mm256_set1_ps(0.707106781f));
  v[2] = _mm256_add_ps(t13, z1);
  v[6] = _mm256_sub_ps(t13, z1);
  t10 = _mm256_add_ps(t4, t5);
  t11 = _mm256_add_ps(t5, t6);
  t12 = _mm256_add_ps(t6, t7);
  __m256 z5 = _mm256_mul_ps(_mm256_sub_ps(t10, t12), _mm256_set1_ps(0.382683433f));
  __m256 z2 = _mm256_add_ps(_mm256_mul_ps(t10, _mm256_set1_ps(0.541196100f)), z5);
  __m256 z4 = _mm256_add_ps(_mm256_mul_ps(t12, _mm256_set1_ps(1.306562965f)), z5);
  __m256 z3 = _mm256_mul_ps(t11, _mm256_set1_ps(0.707106781f));
  __m256 z11 = _mm256_add_ps(t7, z3), z13 = _mm256_sub_ps(t7, z3);
  v[5] = _mm256_add_ps(z13, z2);
  v[3] = _mm256_sub_ps(z13, z2);
  v[1] = _mm256_add_ps(z11, z4);
  v[7] = _mm256_sub_ps(z11, z4);
}

IJL_AVX2 inline void transpose8x8(__m256 r[8]) {
  __m256 t[8], s[8];
  for (int k = 0; k < 8; k += 2) {
    t[k] = _mm256_unpacklo_ps(r[k], r[k + 1]);
    t[k + 1] = _mm256_unpackhi_ps(r[k], r[k + 1]);
  }
  for (int k = 0; k < 8; k += 4) {
    s[k] = _mm256_shuffle_ps(t[k], t[k + 2], 0x44);
    s[k + 1] = _mm256_shuffle_ps(t[k], t[k + 2], 0xEE);
    s[k + 2] = _mm256_shuffle_ps(t[k + 1], t[k + 3], 0x44);
    s[k + 3] = _mm256_shuffle_ps(t[k + 1], t[k + 3], 0xEE);
  }
  for (int k = 0; k < 4; ++k) {
    r[k] = _mm256_permute2f128_ps(s[k], s[k + 4], 0x20);
    r[k + 4] = _mm256_permute2f128_ps(s[k], s[k + 4], 0x31);
  }
}

// fdctQuantize with a whole row in one vector: the block fits in the eight vector registers and one transpose.
IJL_AVX2 inline void fdctQuantizeAvx2(const uint8_t* src, ptrdiff_t stride, const float* div, int16_t* q) {
  __m256 r[8];
  for (int k = 0; k < 8; ++k) {
    __m128i px = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + k * stride));
    r[k] = _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(px));  // uncentred, as in fdctQuantize
  }
  fdct8x8(r);  // vertical: r[u] holds frequency u of each column
  transpose8x8(r);
  fdct8x8(r);  // r[v] holds coefficients (0..7, v)
  r[0] = _mm256_sub_ps(r[0], _mm256_setr_ps(kBlockCentre, 0, 0, 0, 0, 0, 0, 0));
  const __m128i acLimit = _mm_set1_epi16(kMaxAcMagnitude);
  const __m128i dcLimit = _mm_insert_epi16(acLimit, kMaxDcMagnitude, 0);
  for (int v = 0; v < 8; ++v) {
    const __m256i x = _mm256_cvtps_epi32(_mm256_mul_ps(r[v], _mm256_loadu_ps(div + v * 8)));
    const __m128i limit = v == 0 ? dcLimit : acLimit;
    __m128i c = _mm_packs_epi32(_mm256_castsi256_si128(x), _mm256_extracti128_si256(x, 1));
    c = _mm_max_epi16(_mm_min_epi16(c, limit), _mm_sub_epi16(_mm_setzero_si128(), limit));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(q + v * 8), c);
  }
}
#endif

// Blocks go from the DCT to the entropy coder in chunks of this many MCUs, small enough to stay in the cache.
constexpr int kChunkMcus = 16;
constexpr int kMaxBlocksPerMcu = 6;

}  // namespace

void quantizeBlock(const uint8_t* src, ptrdiff_t stride, const float* div, QuantBlock* out) {
  fdctQuantize(src, stride, div, out->coef);
  zigzagNonzero(out->coef, out->nonzero);
}

#ifdef IJL_HAVE_AVX2
IJL_AVX2 void quantizeBlockAvx2(const uint8_t* src, ptrdiff_t stride, const float* div, QuantBlock* out) {
  fdctQuantizeAvx2(src, stride, div, out->coef);
  zigzagNonzero(out->coef, out->nonzero);
}
#endif

void Encoder::encodeMcuRow() {
  const uint8_t* y = planes_[0].data();
  const int cw = paddedW_ / 2;
  if (channels_ == 3) {
    for (int c = 0; c < 2; ++c) {
      const uint8_t* src = planes_[c + 1].data();
      uint8_t* dst = chroma_[c].data();
      for (int r = 0; r < 8; ++r) {
        const uint8_t* a = src + static_cast<size_t>(2 * r) * paddedW_;
        downsample2x2(a, a + paddedW_, cw, dst + r * cw);
      }
    }
  }
  blocks_.resize(kChunkMcus * kMaxBlocksPerMcu);
  const int mcus = paddedW_ / (channels_ == 1 ? 8 : 16);
#ifdef IJL_HAVE_AVX2
  const auto quantizeOne = useAvx2() ? quantizeBlockAvx2 : quantizeBlock;
#else
  const auto quantizeOne = quantizeBlock;
#endif
  for (int first = 0; first < mcus; first += kChunkMcus) {
    const int count = std::min(kChunkMcus, mcus - first);
    QuantBlock* b = blocks_.data();
    auto quantize = [&](const uint8_t* src, ptrdiff_t stride, int table) {
      quantizeOne(src, stride, divisors_[table], b);
      ++b;
    };
    for (int mx = first; mx < first + count; ++mx) {
      if (channels_ == 1) {
        quantize(y + mx * 8, paddedW_, 0);
        continue;
      }
      const uint8_t* yb = y + mx * 16;
      quantize(yb, paddedW_, 0);
      quantize(yb + 8, paddedW_, 0);
      quantize(yb + 8 * paddedW_, paddedW_, 0);
      quantize(yb + 8 * paddedW_ + 8, paddedW_, 0);
      quantize(chroma_[0].data() + mx * 8, cw, 1);
      quantize(chroma_[1].data() + mx * 8, cw, 1);
    }
    codeBlocks(count);
  }
  rowsInMcu_ = 0;
}

void Encoder::codeBlocks(int mcus) {
  // Worst case per block: 64 codes of at most kMaxPutBits bits, every byte stuffed.
  constexpr size_t kWorstBlockBytes = 512;
  const int perMcu = channels_ == 1 ? 1 : kMaxBlocksPerMcu;
  reserve(kWorstBlockBytes * perMcu * mcus);
  BitWriter w{bitBuf_, bitFree_, out_.data() + len_};
  constexpr int kZeroRun = 0xF0, kEob = 0x00;
  const QuantBlock* b = blocks_.data();
  for (int m = 0; m < mcus; ++m) {
    for (int i = 0; i < perMcu; ++i, ++b) {
      // Luminance blocks first in each MCU, then one of each chrominance component.
      const int component = i < 4 ? 0 : i - 3, table = component ? 1 : 0;
      const uint32_t* ac = acCodes_[table];
      const int16_t* coef = b->coef;
      int diff = coef[0] - lastDc_[component];
      lastDc_[component] = coef[0];
      int sign = diff >> 31, magnitude = bitLength((diff ^ sign) - sign);
      uint32_t e = dcCodes_[table][magnitude];
      w.put((e >> kLengthBits) | (static_cast<uint32_t>(diff + sign) & ((1u << magnitude) - 1)), e & 31);
      int last = 0;  // zig-zag position of the previous coded coefficient
      for (int half = 0; half < 2; ++half) {
        for (uint32_t left = b->nonzero[half]; left;) {
          const int k = 32 * half + __builtin_ctz(left);
          left &= left - 1;
          int run = k - last - 1;
          last = k;
          for (; run > 15; run -= 16) w.put(ac[kZeroRun] >> kLengthBits, ac[kZeroRun] & 31);
          const int v = coef[kZigzag.index[k]];
          sign = v >> 31;
          magnitude = bitLength((v ^ sign) - sign);
          e = ac[(run << 4) | magnitude];
          w.put((e >> kLengthBits) | (static_cast<uint32_t>(v + sign) & ((1u << magnitude) - 1)), e & 31);
        }
      }
      if (last != 63) w.put(ac[kEob] >> kLengthBits, ac[kEob] & 31);
    }
  }
  bitBuf_ = w.acc;
  bitFree_ = w.free;
  len_ = static_cast<size_t>(w.dst - out_.data());
}

void Encoder::reserve(size_t bytes) {
  if (len_ + bytes <= out_.size()) return;
  out_.resize(std::max(out_.size() * 2, len_ + bytes + 4096));
}

void Encoder::putBytes(const uint8_t* p, size_t n) {
  reserve(n);
  std::memcpy(out_.data() + len_, p, n);
  len_ += n;
}

void Encoder::flushBits() {
  reserve(16);
  // Pad to a byte boundary with one bits, then emit the remaining whole bytes.
  int count = kWordBits - bitFree_;
  uint64_t pending = count ? static_cast<uint64_t>(bitBuf_) & (~uint64_t(0) >> (64 - count)) : 0;
  int pad = (8 - count % 8) % 8;
  pending = (pending << pad) | ((1u << pad) - 1);
  count += pad;
  while (count >= 8) {
    count -= 8;
    uint8_t b = static_cast<uint8_t>(pending >> count);
    out_[len_++] = b;
    if (b == 0xFF) out_[len_++] = 0;
  }
  bitBuf_ = 0;
  bitFree_ = kWordBits;
}

}  // namespace ijl::detail
