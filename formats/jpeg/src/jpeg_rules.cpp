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

}  // namespace nxjpeg
