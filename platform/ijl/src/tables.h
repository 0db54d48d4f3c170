// Tables shared by the decoder and encoder: zig-zag order and the standard (Annex K) quantisation and Huffman tables.
#pragma once

#include <cstdint>

namespace ijl::detail {

// Natural index of the k-th zig-zag coefficient. Sixteen extra entries let a corrupt run length step past the
// end without leaving the block.
extern const uint8_t kZigzagToNatural[64 + 16];

extern const uint8_t kStdLuminanceQuant[64];    // natural order
extern const uint8_t kStdChrominanceQuant[64];  // natural order

struct StdHuffman {
  const uint8_t* counts;  // 16 entries: codes of each length 1..16
  const uint8_t* values;
  int valueCount;
};
extern const StdHuffman kStdDcLuminance, kStdAcLuminance, kStdDcChrominance, kStdAcChrominance;

// IJG quality scaling: a quality of 0..100 to the percentage applied to the standard tables.
int qualityScale(int quality);
// One standard table entry scaled by qualityScale's percentage, limited to the baseline range 1..255.
int scaledQuantEntry(int base, int scale);

}  // namespace ijl::detail
