// libFuzzer target over the decoder: parameters, whole, region, reduced and thumbnail reads into several layouts.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ijl/ijl.h"

namespace {

// Larger images only cost time per input; the decoder's own limits are tested elsewhere.
constexpr long long kMaxFuzzPixels = 1 << 20;
constexpr int kThumbBox = 256;

struct Layout {
  int channels;
  int color;
  bool bottomUp;
  int pad;
};
const Layout kLayouts[] = {{3, ijl::kColorBgr, true, 1}, {1, ijl::kColorGray, false, 0}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ijl::Properties p;
  if (ijl::init(&p) != ijl::kOk) return 0;
  p.jpgBytes = const_cast<uint8_t*>(data);
  p.jpgSizeBytes = static_cast<uint32_t>(size);
  if (ijl::read(&p, ijl::kReadParams) == ijl::kOk &&
      static_cast<long long>(p.jpgWidth) * p.jpgHeight <= kMaxFuzzPixels) {
    const int fullW = p.jpgWidth, fullH = p.jpgHeight;
    for (const Layout& l : kLayouts) {
      for (int mode : {ijl::kReadWhole, ijl::kReadRegion, ijl::kReadHalf, ijl::kReadQuarter, ijl::kReadEighth,
                       ijl::kReadThumbnail}) {
        int w = ijl::scaledDimension(fullW, mode), h = ijl::scaledDimension(fullH, mode);
        if (mode == ijl::kReadThumbnail) w = h = kThumbBox;
        if (mode == ijl::kReadRegion) {
          p.roi = {fullW / 4, fullH / 3, fullW, fullH / 3 + (fullH + 1) / 2};
          w = fullW - fullW / 4;
          h = (fullH + 1) / 2;
        }
        std::vector<uint8_t> dib(static_cast<size_t>(w * l.channels + l.pad) * h);
        p.dibBytes = dib.data();
        p.dibWidth = w;
        p.dibHeight = l.bottomUp ? -h : h;
        p.dibChannels = l.channels;
        p.dibColor = l.color;
        p.dibPadBytes = l.pad;
        ijl::read(&p, mode);
      }
    }
  }
  ijl::free(&p);
  return 0;
}
