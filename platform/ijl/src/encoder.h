// Baseline JPEG encoder fed with lines in order, so that an image can be written in bands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "simd.h"

namespace ijl::detail {

// One block's quantised coefficients as the forward DCT leaves them, and which are not zero.
struct QuantBlock {
  int16_t coef[64];     // coefficient (u, v) at v * 8 + u
  uint32_t nonzero[2];  // bit k % 32 of word k / 32: zig-zag coefficient k (1..63) is not zero
};

// One block of samples (8 x 8, stride apart) through the forward DCT and quantisation by `divisors` (64, in the
// DCT's transposed order, with its output scaling), and its zig-zag mask. The AVX2 form gives the same results.
void quantizeBlock(const uint8_t* src, ptrdiff_t stride, const float* divisors, QuantBlock* out);
#ifdef IJL_HAVE_AVX2
void quantizeBlockAvx2(const uint8_t* src, ptrdiff_t stride, const float* divisors, QuantBlock* out);
#endif

class Encoder {
 public:
  // channels 3 writes YCbCr 4:2:0, channels 1 grey. Writes the headers to output(). Returns an ijl::Result.
  int begin(int width, int height, int channels, int quality);
  // Adds count source lines, each width pixels of srcChannels (3: RGB or BGR, 1: grey) bytes, lineStep apart.
  int addLines(const uint8_t* first, ptrdiff_t lineStep, int count, int srcChannels, bool bgr);
  // After the last line: flushes the final MCU row and writes the end of image.
  int finish();

  int linesReceived() const { return received_; }
  int height() const { return height_; }
  // Bytes produced since the last clearOutput(); the caller may take them between calls.
  const uint8_t* outputData() const { return out_.data(); }
  size_t outputSize() const { return len_; }
  void clearOutput() { len_ = 0; }

 private:
  void encodeMcuRow();
  // Entropy-codes count MCUs of quantised blocks from blocks_.
  void codeBlocks(int mcus);
  void reserve(size_t bytes);
  void putByte(uint8_t b) {
    reserve(1);
    out_[len_++] = b;
  }
  void put16(int v) {
    putByte(static_cast<uint8_t>(v >> 8));
    putByte(static_cast<uint8_t>(v));
  }
  void putBytes(const uint8_t* p, size_t n);
  void flushBits();

  int width_ = 0, height_ = 0, channels_ = 0;
  int mcuH_ = 8, paddedW_ = 0;
  int received_ = 0, rowsInMcu_ = 0;
  std::vector<uint8_t> planes_[3];  // full-resolution Y, Cb, Cr rows of the current MCU row
  std::vector<uint8_t> chroma_[2];  // downsampled Cb, Cr
  // Per table, folded with the DCT's output scaling, in the transposed order the DCT leaves coefficients in.
  float divisors_[2][64] = {};
  // Per table and symbol: the Huffman code shifted left by the symbol's magnitude bits, times 32, plus the code's
  // and the magnitude's lengths together; one load gives what the block coder writes.
  uint32_t dcCodes_[2][16] = {}, acCodes_[2][256] = {};
  std::vector<QuantBlock> blocks_;  // a chunk of an MCU row between the DCT and the entropy coder
  int lastDc_[3] = {};
  // Entropy-coded bits not yet written: the low (word bits - bitFree_) bits of bitBuf_, a machine word so that
  // i686 shifts one register.
  uintptr_t bitBuf_ = 0;
  int bitFree_ = 0;
  std::vector<uint8_t> out_;  // grows by doubling; len_ bytes are used
  size_t len_ = 0;
};

}  // namespace ijl::detail
