// The JPEG module's pure rules.
#include "jpeg_rules.h"
#include <ijl/ijl.h>

namespace nxjpeg {

tagIMGFILERR MapCodecResult(int result) {
  switch (result) {
    case ijl::kOk:
    case ijl::kInterruptOk:
    case ijl::kRoiOk:
      return IMGFILERR_OK;
    case ijl::kErrNotJpeg:
      return IMGFILERR_UNSUPPORTED;
    case ijl::kErrMemory:
      return IMGFILERR_NOMEMORY;
    default:
      return IMGFILERR_FAILED;
  }
}

uint16_t ColorModelForBits(uint32_t bits) {
  const uint32_t kTrueColorBits = 24;
  if (bits == 1) return IMGCOLOR_BW;
  if (bits < kTrueColorBits) return IMGCOLOR_PALETTE;
  return IMGCOLOR_TRUECOLOR;
}

ThumbnailPlan PlanThumbnail(uint32_t imageW, uint32_t imageH, uint32_t boxW, uint32_t boxH, bool reducedDisabled) {
  ThumbnailPlan plan = {imageW, imageH, 1, ijl::kReadWhole};
  if (reducedDisabled || (imageW <= kWholeDecodeLimit && imageH <= kWholeDecodeLimit) || imageW == 0) return plan;
  const double ratio = static_cast<double>(imageH) / imageW;
  uint32_t th = static_cast<uint32_t>(ratio * boxW);
  uint32_t tw = boxW;
  if (boxH < th) {
    tw = static_cast<uint32_t>(boxH / ratio);
    th = boxH;
  }
  while (tw < plan.width && th < plan.height && plan.scale < kMaxScale) {
    plan.scale *= 2;
    plan.width = (plan.width + 1) / 2;
    plan.height = (plan.height + 1) / 2;
  }
  plan.mode = plan.scale == 2 ? ijl::kReadHalf : plan.scale == 4 ? ijl::kReadQuarter
            : plan.scale == 8 ? ijl::kReadEighth : ijl::kReadWhole;
  return plan;
}

bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

void OrientPixels(const uint8_t* src, uint32_t w, uint32_t h, size_t srcLineBytes, bool bottomUp, int orientation,
                  uint8_t* dst) {
  const int kPixelBytes = 3;
  const bool turned = OrientationSwapsSides(orientation);
  const uint32_t outW = turned ? h : w, outH = turned ? w : h;
  const size_t outLineBytes = size_t(outW) * kPixelBytes;
  for (uint32_t sy = 0; sy < h; ++sy) {
    const uint8_t* line = src + size_t(bottomUp ? h - 1 - sy : sy) * srcLineBytes;
    for (uint32_t sx = 0; sx < w; ++sx) {
      // Where the stored pixel (sx, sy), counted from the top left, stands in the upright picture.
      uint32_t dx = sx, dy = sy;
      switch (orientation) {
        case 2: dx = w - 1 - sx; break;                          // mirrored left to right
        case 3: dx = w - 1 - sx; dy = h - 1 - sy; break;         // turned half way
        case 4: dy = h - 1 - sy; break;                          // mirrored top to bottom
        case 5: dx = sy; dy = sx; break;                         // mirrored along the main diagonal
        case 6: dx = h - 1 - sy; dy = sx; break;                 // to be turned clockwise
        case 7: dx = h - 1 - sy; dy = w - 1 - sx; break;         // mirrored along the other diagonal
        case 8: dx = sy; dy = w - 1 - sx; break;                 // to be turned anticlockwise
        default: break;
      }
      uint8_t* out = dst + size_t(bottomUp ? outH - 1 - dy : dy) * outLineBytes + size_t(dx) * kPixelBytes;
      const uint8_t* in = line + size_t(sx) * kPixelBytes;
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
    }
  }
}

}  // namespace nxjpeg
