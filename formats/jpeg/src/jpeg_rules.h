// The JPEG module's pure rules: codec results to codes, the file record, and the size and scale of thumbnails.
#pragma once
#include <cstdint>
#include <imagio/imgtypes.h>

namespace nxjpeg {

// Images at most this wide and high are thumbnailed from a whole decode rather than a reduced one.
const uint32_t kWholeDecodeLimit = 1280;
// The largest reduction the codec decodes directly.
const int kMaxScale = 8;

// Codec results 0, 1, 2 are success; not-a-JPEG is 520, out of memory 527, anything else 513.
tagIMGFILERR MapCodecResult(int result);

// Colour-model flag of a file of the given bit depth: 1 bit black and white, fewer than 24 palette, else true colour.
uint16_t ColorModelForBits(uint32_t bits);

// Size and reduction of the thumbnail decode of a W x H image for a box bw x bh.
struct ThumbnailPlan {
  uint32_t width;   // size of the decoded image
  uint32_t height;
  int scale;        // 1, 2, 4 or 8
  int mode;         // the codec read mode for that scale
};

// Fits the box to the image's aspect ratio, then halves the image (rounding up) while both sides stay larger
// than the fitted box, at most to one eighth. Small images (both sides at most kWholeDecodeLimit) and images
// whose reduced decoding is disabled are decoded whole.
ThumbnailPlan PlanThumbnail(uint32_t imageW, uint32_t imageH, uint32_t boxW, uint32_t boxH, bool reducedDisabled);

// EXIF orientations 5 to 8 turn the picture by a quarter: its width and height trade places when it stands upright.
bool OrientationSwapsSides(int orientation);

// Copies a w x h picture of 3-byte pixels, lines srcLineBytes apart, into dst as it stands upright for the EXIF
// orientation (1 to 8; others are taken as 1): dst holds the upright width (h for 5 to 8, else w) times 3 bytes
// per line, no padding, lines in the same order (bottom first when bottomUp) as src.
void OrientPixels(const uint8_t* src, uint32_t w, uint32_t h, size_t srcLineBytes, bool bottomUp, int orientation,
                  uint8_t* dst);

}  // namespace nxjpeg
