// JPEG decoder internals: marker parsing, entropy decoding, scaled IDCT, upsampling and colour output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ijl::detail {

constexpr int kMaxComponents = 4;
constexpr int kBlockSize = 64;

// Where and how decoded pixels go. Coordinates are output pixels at the chosen scale.
struct OutputRequest {
  int scale = 1;  // 1, 2, 4 or 8: the divisor of the image size
  int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  uint8_t* firstLine = nullptr;  // where output line y0 goes
  ptrdiff_t lineStep = 0;        // byte distance from one output line to the next (negative for bottom-up)
  int channels = 3;              // 3 or 1
  bool bgr = false;
};

struct HuffmanTable {
  static constexpr int kFastBits = 10;
  bool defined = false;
  uint16_t fastSymbol[1 << kFastBits];  // code length << 8 | symbol for the same codes, 0 when longer
  int16_t fastAc[1 << kFastBits];     // AC: value << 8 | run << 4 | total bits, 0 when not resolvable at once
  uint8_t sizes[257];
  uint8_t values[256];
  uint32_t maxCode[18];  // per length, first code above that length's range, left-aligned to 16 bits
  int delta[17];         // per length, index of symbol minus code
  // For reading past AC coefficients without their values (1x1 outputs need the DC alone): per kSkipBits of
  // look-ahead, the whole symbols (codes with their magnitude bits) that fit, as their bits << 12, kSkipEob when
  // the last is the end of block, and the coefficient index they advance; 0 when not one fits. Made on demand.
  static constexpr int kSkipBits = 12;
  static constexpr uint16_t kSkipEob = 1 << 11, kSkipAdvance = kSkipEob - 1;
  std::vector<uint16_t> skip;
};

struct Component {
  int id = 0;
  int h = 1, v = 1;
  int quantIndex = 0;
  int dcTable = 0, acTable = 0;
  // Geometry in blocks: padded to whole MCUs, and the blocks that carry image data.
  int paddedBlocksW = 0, paddedBlocksH = 0;
  int blocksW = 0, blocksH = 0;
  int dcPred = 0;
  std::vector<int16_t> coefs;  // whole-image coefficients in coefficient-buffer mode
};

struct ThumbnailSource {
  enum Kind { kNone, kJpeg, kPalette, kRgb } kind = kNone;
  const uint8_t* data = nullptr;
  size_t size = 0;
  int width = 0, height = 0;
};

class Decoder {
 public:
  // Parses markers up to the first scan. Returns an ijl::Result.
  int readHeaders(const uint8_t* data, size_t size);
  // Decodes the rectangle of the request; readHeaders must have succeeded. Can be called once.
  int decode(const OutputRequest& request);

  int width() const { return width_; }
  int height() const { return height_; }
  int componentCount() const { return componentCount_; }
  bool progressive() const { return progressive_; }
  bool isCmyk() const { return componentCount_ == 4; }
  int qualityEstimate() const;
  const ThumbnailSource& thumbnail() const { return thumbnail_; }
  // IFD0's orientation tag of the EXIF block, 1 to 8; 1 when there is none or it holds another value.
  int exifOrientation() const { return exifOrientation_; }

 private:
  int parseMarkersUntilScan(bool firstScanOnly);
  int readSegment(int marker, const uint8_t* seg, size_t len);
  int readFrame(const uint8_t* seg, size_t len, int marker);
  int readHuffman(const uint8_t* seg, size_t len);
  int readQuant(const uint8_t* seg, size_t len);
  int readScanHeader(const uint8_t* seg, size_t len);
  void readApp(int marker, const uint8_t* seg, size_t len);
  int decodeStreaming(const OutputRequest& request);
  int decodeBuffered(const OutputRequest& request);
  int decodeScanToBuffer();

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t pos_ = 0;  // parse position
  int width_ = 0, height_ = 0;
  int componentCount_ = 0;
  bool frameSeen_ = false;
  bool progressive_ = false;
  int maxH_ = 1, maxV_ = 1;
  int mcusX_ = 0, mcusY_ = 0;
  int restartInterval_ = 0;
  bool adobe_ = false;
  int adobeTransform_ = -1;
  bool quantDefined_[4] = {};
  uint16_t quant_[4][kBlockSize] = {};  // natural order
  HuffmanTable dcTables_[4];
  HuffmanTable acTables_[4];
  Component comps_[kMaxComponents];
  // Current scan.
  int scanCount_ = 0;
  int scanComps_[kMaxComponents] = {};
  int ss_ = 0, se_ = 63, ah_ = 0, al_ = 0;
  size_t scanDataPos_ = 0;
  ThumbnailSource thumbnail_;
  int exifOrientation_ = 1;
  bool sawExif_ = false;  // the first EXIF block's orientation counts
};

// IDCT of one block with dequantisation to an n x n block of samples (n = 8, 4, 2, 1). For n < 8 it reads only
// the n x n coefficients of the lowest frequencies.
void idctScaled(int n, const int16_t* coef, const uint16_t* quant, uint8_t* out, ptrdiff_t stride);

// The 1 x 1 IDCT: the block's mean sample.
inline uint8_t idct1(const int16_t* coef, const uint16_t* quant) {
  constexpr int kShift = 3, kCenter = 128;
  const int v = ((coef[0] * quant[0] + (1 << (kShift - 1))) >> kShift) + kCenter;
  return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// Zeroes the coefficients an n x n IDCT reads, before a block is decoded into them.
inline void clearBlock(int16_t* coef, int n) {
  if (n == 8) {
#ifdef __SSE2__
    // Inline stores: some compilers call the C library for a memset of this size.
    for (int k = 0; k < 8; ++k) _mm_storeu_si128(reinterpret_cast<__m128i*>(coef + 8 * k), _mm_setzero_si128());
#else
    std::memset(coef, 0, 64 * sizeof(int16_t));
#endif
    return;
  }
  for (int u = 0; u < n; ++u) std::memset(coef + u * 8, 0, n * sizeof(int16_t));
}

// The portable 8x8 IDCT; idctScaled uses an SSE2 version of it where available.
void idct8Scalar(const int16_t* coef, const uint16_t* quant, uint8_t* out, ptrdiff_t stride);

}  // namespace ijl::detail
