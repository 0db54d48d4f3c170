// Baseline JPEG encoding: RGB to YCbCr 4:2:0 or grey, float AAN forward DCT, standard Huffman tables.
#include "encoder.h"

#include <cmath>
#include <cstring>

#include "ijl/ijl.h"
#include "tables.h"

namespace ijl::detail {
namespace {

constexpr int kScaleBits = 16;
constexpr int fix(double x) { return static_cast<int>(x * (1 << kScaleBits) + 0.5); }
constexpr int kHalf = 1 << (kScaleBits - 1);
constexpr int kChromaOffset = 128 << kScaleBits;
constexpr int kMaxDcMagnitude = 2047, kMaxAcMagnitude = 1023;

void put16(std::vector<uint8_t>& o, int v) {
  o.push_back(static_cast<uint8_t>(v >> 8));
  o.push_back(static_cast<uint8_t>(v));
}

void buildCodes(const StdHuffman& t, uint16_t* code, uint8_t* size) {
  std::memset(size, 0, 256);
  int k = 0;
  uint32_t c = 0;
  for (int len = 1; len <= 16; ++len) {
    for (int i = 0; i < t.counts[len - 1]; ++i) {
      code[t.values[k]] = static_cast<uint16_t>(c++);
      size[t.values[k]] = static_cast<uint8_t>(len);
      ++k;
    }
    c <<= 1;
  }
}

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

int bitLength(int v) {
  int n = 0;
  while (v) {
    ++n;
    v >>= 1;
  }
  return n;
}

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
  if (channels == 3)
    for (auto& p : chroma_) p.assign(static_cast<size_t>(paddedW_ / 2) * 8, 0);
  static const double kAanScale[8] = {1.0, 1.387039845, 1.306562965, 1.175875602,
                                      1.0, 0.785694958, 0.541196100, 0.275899379};
  const int scale = qualityScale(quality);
  uint8_t quant[2][64];
  for (int t = 0; t < 2; ++t)
    for (int k = 0; k < 64; ++k) {
      quant[t][k] = static_cast<uint8_t>(scaledQuantEntry(t ? kStdChrominanceQuant[k] : kStdLuminanceQuant[k], scale));
      divisors_[t][k] = static_cast<float>(1.0 / (quant[t][k] * kAanScale[k / 8] * kAanScale[k % 8] * 8.0));
    }
  buildCodes(kStdDcLuminance, dc_[0].code, dc_[0].size);
  buildCodes(kStdAcLuminance, ac_[0].code, ac_[0].size);
  buildCodes(kStdDcChrominance, dc_[1].code, dc_[1].size);
  buildCodes(kStdAcChrominance, ac_[1].code, ac_[1].size);
  out_.clear();
  out_.reserve(static_cast<size_t>(width) * 64);
  bitBuf_ = 0;
  bitCount_ = 0;
  lastDc_[0] = lastDc_[1] = lastDc_[2] = 0;

  // SOI, JFIF APP0, DQT, SOF0, DHT, SOS.
  const uint8_t soiApp0[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
  out_.insert(out_.end(), soiApp0, soiApp0 + sizeof soiApp0);
  const int tables = channels == 3 ? 2 : 1;
  for (int t = 0; t < tables; ++t) {
    out_.push_back(0xFF);
    out_.push_back(0xDB);
    put16(out_, 67);
    out_.push_back(static_cast<uint8_t>(t));
    for (int k = 0; k < 64; ++k) out_.push_back(quant[t][kZigzagToNatural[k]]);
  }
  out_.push_back(0xFF);
  out_.push_back(0xC0);
  put16(out_, 8 + 3 * channels);
  out_.push_back(8);
  put16(out_, height);
  put16(out_, width);
  out_.push_back(static_cast<uint8_t>(channels));
  for (int c = 0; c < channels; ++c) {
    out_.push_back(static_cast<uint8_t>(c + 1));
    out_.push_back(channels == 3 && c == 0 ? 0x22 : 0x11);
    out_.push_back(c ? 1 : 0);
  }
  const StdHuffman* huff[4] = {&kStdDcLuminance, &kStdAcLuminance, &kStdDcChrominance, &kStdAcChrominance};
  for (int i = 0; i < 2 * tables; ++i) {
    const StdHuffman& h = *huff[i];
    out_.push_back(0xFF);
    out_.push_back(0xC4);
    put16(out_, 2 + 17 + h.valueCount);
    out_.push_back(static_cast<uint8_t>(((i & 1) << 4) | (i >> 1)));
    out_.insert(out_.end(), h.counts, h.counts + 16);
    out_.insert(out_.end(), h.values, h.values + h.valueCount);
  }
  out_.push_back(0xFF);
  out_.push_back(0xDA);
  put16(out_, 6 + 2 * channels);
  out_.push_back(static_cast<uint8_t>(channels));
  for (int c = 0; c < channels; ++c) {
    out_.push_back(static_cast<uint8_t>(c + 1));
    out_.push_back(c ? 0x11 : 0x00);
  }
  out_.push_back(0);
  out_.push_back(63);
  out_.push_back(0);
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
      for (int x = 0; x < width_; ++x) {
        const uint8_t* p = s + x * srcChannels;
        int r = p[srcChannels == 1 ? 0 : ri], g = p[srcChannels == 1 ? 0 : 1], b = p[srcChannels == 1 ? 0 : bi];
        y[x] = static_cast<uint8_t>((fix(0.29900) * r + fix(0.58700) * g + fix(0.11400) * b + kHalf) >> kScaleBits);
        cb[x] = static_cast<uint8_t>((-fix(0.16874) * r - fix(0.33126) * g + fix(0.5) * b + kChromaOffset + kHalf - 1) >>
                                     kScaleBits);
        cr[x] = static_cast<uint8_t>((fix(0.5) * r - fix(0.41869) * g - fix(0.08131) * b + kChromaOffset + kHalf - 1) >>
                                     kScaleBits);
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
  out_.push_back(0xFF);
  out_.push_back(0xD9);
  return kOk;
}

void Encoder::encodeMcuRow() {
  const uint8_t* y = planes_[0].data();
  if (channels_ == 1) {
    for (int x = 0; x < paddedW_; x += 8) encodeBlock(y + x, paddedW_, 0, lastDc_[0]);
  } else {
    const int cw = paddedW_ / 2;
    for (int c = 0; c < 2; ++c) {
      const uint8_t* src = planes_[c + 1].data();
      uint8_t* dst = chroma_[c].data();
      for (int r = 0; r < 8; ++r) {
        const uint8_t* a = src + static_cast<size_t>(2 * r) * paddedW_;
        const uint8_t* b = a + paddedW_;
        for (int x = 0; x < cw; ++x)
          dst[r * cw + x] = static_cast<uint8_t>((a[2 * x] + a[2 * x + 1] + b[2 * x] + b[2 * x + 1] + 1 + (x & 1)) >> 2);
      }
    }
    for (int mx = 0; mx < paddedW_ / 16; ++mx) {
      const uint8_t* yb = y + mx * 16;
      encodeBlock(yb, paddedW_, 0, lastDc_[0]);
      encodeBlock(yb + 8, paddedW_, 0, lastDc_[0]);
      encodeBlock(yb + 8 * paddedW_, paddedW_, 0, lastDc_[0]);
      encodeBlock(yb + 8 * paddedW_ + 8, paddedW_, 0, lastDc_[0]);
      encodeBlock(chroma_[0].data() + mx * 8, cw, 1, lastDc_[1]);
      encodeBlock(chroma_[1].data() + mx * 8, cw, 1, lastDc_[2]);
    }
  }
  rowsInMcu_ = 0;
}

void Encoder::encodeBlock(const uint8_t* src, ptrdiff_t stride, int table, int& lastDc) {
  float d[64];
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) d[r * 8 + c] = static_cast<float>(src[r * stride + c]) - 128.0f;
  for (int r = 0; r < 8; ++r) fdct1d(d + r * 8, 1);
  for (int c = 0; c < 8; ++c) fdct1d(d + c, 8);
  int q[64];
  const float* div = divisors_[table];
  for (int k = 0; k < 64; ++k) {
    float v = d[k] * div[k];
    q[k] = static_cast<int>(v + (v >= 0 ? 0.5f : -0.5f));
  }
  const HuffCode& dc = dc_[table];
  const HuffCode& ac = ac_[table];
  int dcv = q[0] > kMaxDcMagnitude ? kMaxDcMagnitude : (q[0] < -kMaxDcMagnitude ? -kMaxDcMagnitude : q[0]);
  int diff = dcv - lastDc;
  lastDc = dcv;
  int mag = diff < 0 ? -diff : diff, n = bitLength(mag);
  putBits(dc.code[n], dc.size[n]);
  if (n) putBits(static_cast<uint32_t>(diff < 0 ? diff - 1 : diff) & ((1u << n) - 1), n);
  int run = 0;
  constexpr int kZeroRun = 0xF0, kEob = 0x00;
  for (int k = 1; k < 64; ++k) {
    int v = q[kZigzagToNatural[k]];
    if (v == 0) {
      ++run;
      continue;
    }
    if (v > kMaxAcMagnitude) v = kMaxAcMagnitude;
    if (v < -kMaxAcMagnitude) v = -kMaxAcMagnitude;
    while (run > 15) {
      putBits(ac.code[kZeroRun], ac.size[kZeroRun]);
      run -= 16;
    }
    int m = v < 0 ? -v : v, bits = bitLength(m), sym = (run << 4) | bits;
    putBits(ac.code[sym], ac.size[sym]);
    putBits(static_cast<uint32_t>(v < 0 ? v - 1 : v) & ((1u << bits) - 1), bits);
    run = 0;
  }
  if (run) putBits(ac.code[kEob], ac.size[kEob]);
}

void Encoder::putBits(uint32_t bits, int n) {
  bitBuf_ = (bitBuf_ << n) | bits;
  bitCount_ += n;
  while (bitCount_ >= 8) {
    bitCount_ -= 8;
    uint8_t b = static_cast<uint8_t>(bitBuf_ >> bitCount_);
    out_.push_back(b);
    if (b == 0xFF) out_.push_back(0);
  }
}

void Encoder::flushBits() {
  if (bitCount_ > 0) putBits((1u << (8 - bitCount_)) - 1, 8 - bitCount_);
}

}  // namespace ijl::detail
