// libFuzzer target: a received package as the player reads it (trailer, part bounds, checksum), then the
// skin bitmaps, link address and postmark it takes from a good one. The first two bytes choose where the
// player program ends.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "cardpackage/reader.h"
#include "nxplay/viewer.h"

namespace {

class Bytes : public cardpackage::RandomAccessSource {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() override { return size_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t size) override {
    if (offset > size_ || size > size_ - offset) return false;
    std::memcpy(buffer, data_ + offset, size);
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

// Reads every pixel row of a skin the way GDI will, then shrinks it.
void UseSkin(const uint8_t* data, size_t size) {
  nxplay::SkinBitmap skin;
  if (!nxplay::ParseSkinBitmap(data, size, &skin)) return;
  const uint8_t* bits = data + skin.bitsOffset;
  volatile unsigned sum = 0;
  for (size_t i = 0; i < skin.stride * size_t(skin.height); ++i) sum = sum + bits[i];
  uint8_t small[17 * 13 * 3];
  nxplay::ResizePixels(bits, skin.width, skin.height, skin.stride, small, 17, 13, 17 * 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint64_t playerEnd = (data[0] | data[1] << 8) % (size - 1);
  data += 2;
  size -= 2;
  UseSkin(data, size);
  Bytes file(data, size);
  cardpackage::PackageTrailer trailer;
  if (cardpackage::ReadPackage(file, playerEnd, &trailer) != cardpackage::PackageStatus::kOk) return 0;
  for (cardpackage::PartIndex p : {cardpackage::kViewerFile1Part, cardpackage::kViewerFile2Part}) {
    const cardpackage::PartRange part = cardpackage::GetPart(trailer, p);
    if (part.length) UseSkin(data + part.offset, part.length);
  }
  nxplay::LinkTarget(trailer.linkAddress);
  nxplay::PostmarkTime when;
  nxplay::PostmarkFromCreated(trailer.created, &when);
  return 0;
}
