// JPEG decoding with a reduced decode close to the target size, then an area-averaging resize into a DIB.
#include "picture.h"

#include <cstring>

#include "ijl/ijl.h"
#include "nxplay/viewer.h"

namespace nxplay {

namespace {

// Pictures larger than this after the best reduced decode are refused rather than held in memory.
const int kMaxDecodedSide = 4096;

struct Codec {
  ijl::Properties props;
  bool ready = false;
  Codec() { ready = ijl::succeeded(ijl::init(&props)); }
  ~Codec() {
    if (ready) ijl::free(&props);
  }
};

size_t Stride(int width) { return (size_t(width) * 3 + 3) & ~size_t(3); }

HBITMAP NewDib(int width, int height, uint8_t** bits) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* memory = NULL;
  HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &memory, NULL, 0);
  *bits = static_cast<uint8_t*>(memory);
  return bitmap;
}

}  // namespace

HBITMAP DecodeFittedPicture(const std::vector<uint8_t>& jpeg, int boxWidth, int boxHeight) {
  if (jpeg.empty()) return NULL;
  std::vector<uint8_t> input(jpeg);  // the codec's record takes a writable buffer
  Codec codec;
  if (!codec.ready) return NULL;
  ijl::Properties& p = codec.props;
  p.jpgBytes = input.data();
  p.jpgSizeBytes = uint32_t(input.size());
  if (!ijl::succeeded(ijl::read(&p, ijl::kReadParams)) || p.jpgWidth <= 0 || p.jpgHeight <= 0) return NULL;
  int fitWidth, fitHeight;
  FitInside(p.jpgWidth, p.jpgHeight, boxWidth, boxHeight, &fitWidth, &fitHeight);

  // The smallest reduced decode that still has at least the fitted size.
  const int modes[] = {ijl::kReadEighth, ijl::kReadQuarter, ijl::kReadHalf, ijl::kReadWhole};
  int mode = ijl::kReadWhole;
  for (int m : modes) {
    if (ijl::scaledDimension(p.jpgWidth, m) >= fitWidth && ijl::scaledDimension(p.jpgHeight, m) >= fitHeight) {
      mode = m;
      break;
    }
  }
  const int width = ijl::scaledDimension(p.jpgWidth, mode), height = ijl::scaledDimension(p.jpgHeight, mode);
  if (width > kMaxDecodedSide || height > kMaxDecodedSide) return NULL;
  std::vector<uint8_t> decoded(Stride(width) * size_t(height));
  p.dibBytes = decoded.data();
  p.dibWidth = width;
  p.dibHeight = height;
  p.dibChannels = 3;
  p.dibColor = ijl::kColorBgr;
  p.dibPadBytes = int(Stride(width) - size_t(width) * 3);
  if (!ijl::succeeded(ijl::read(&p, mode))) return NULL;

  uint8_t* bits = NULL;
  HBITMAP bitmap = NewDib(fitWidth, fitHeight, &bits);
  if (!bitmap) return NULL;
  ResizePixels(decoded.data(), width, height, Stride(width), bits, fitWidth, fitHeight, Stride(fitWidth));
  GdiFlush();
  return bitmap;
}

HBITMAP SupportBitmap(const std::vector<uint8_t>& file) {
  SkinBitmap skin;
  if (file.empty() || !ParseSkinBitmap(file.data(), file.size(), &skin)) return NULL;
  uint8_t* bits = NULL;
  HBITMAP bitmap = NewDib(skin.width, skin.height, &bits);
  if (!bitmap) return NULL;
  for (int y = 0; y < skin.height; ++y) {
    const int stored = skin.topDown ? y : skin.height - 1 - y;
    std::memcpy(bits + Stride(skin.width) * size_t(y), file.data() + skin.bitsOffset + skin.stride * size_t(stored),
                size_t(skin.width) * 3);
  }
  GdiFlush();
  return bitmap;
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info = {};
  SIZE size = {0, 0};
  if (bitmap && GetObjectA(bitmap, sizeof info, &info)) {
    size.cx = info.bmWidth;
    size.cy = info.bmHeight;
  }
  return size;
}

}  // namespace nxplay
