// Writing the EXIF APP1 segment (little-endian TIFF structure) that carries a camera-style thumbnail.
#include "exif.h"

#include <stdexcept>

#include "bytes.h"

namespace samplegen {

namespace {

constexpr uint8_t kMarker = 0xFF, kSoi = 0xD8, kApp1 = 0xE1;
constexpr uint8_t kExifId[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr size_t kMaxSegmentLength = 0xFFFF;  // includes the two length bytes

constexpr uint16_t kTagOrientation = 0x0112, kTagCompression = 0x0103, kTagExifIfd = 0x8769;
constexpr uint16_t kTagThumbnailOffset = 0x0201, kTagThumbnailLength = 0x0202;
constexpr uint16_t kTagExifVersion = 0x9000, kTagPixelWidth = 0xA002, kTagPixelHeight = 0xA003;
constexpr uint16_t kTypeShort = 3, kTypeLong = 4, kTypeUndefined = 7;
constexpr uint16_t kCompressionJpeg = 6;
constexpr uint8_t kExifVersion[4] = {'0', '2', '3', '0'};

constexpr uint32_t kTiffHeaderBytes = 8, kEntryBytes = 12, kCountBytes = 2, kNextBytes = 4;
constexpr uint32_t IfdBytes(uint32_t entries) { return kCountBytes + entries * kEntryBytes + kNextBytes; }

// One directory entry with a single value held in the entry itself.
void PutEntry(std::vector<uint8_t>& v, uint16_t tag, uint16_t type, uint32_t value) {
  Put16(v, tag);
  Put16(v, type);
  Put32(v, 1);
  if (type == kTypeShort) {
    Put16(v, value);
    Put16(v, 0);
  } else {
    Put32(v, value);
  }
}

void PutVersionEntry(std::vector<uint8_t>& v) {
  Put16(v, kTagExifVersion);
  Put16(v, kTypeUndefined);
  Put32(v, sizeof kExifVersion);
  v.insert(v.end(), kExifVersion, kExifVersion + sizeof kExifVersion);
}

}  // namespace

std::vector<uint8_t> WithExifThumbnail(const std::vector<uint8_t>& jpeg, int width, int height,
                                       const std::vector<uint8_t>& thumbnail, uint16_t orientation) {
  if (jpeg.size() < 2 || jpeg[0] != kMarker || jpeg[1] != kSoi) throw std::runtime_error("not a JPEG stream");
  // IFD0, the Exif IFD, IFD1 and the thumbnail, one after the other; entries in ascending tag order.
  const uint32_t ifd0 = kTiffHeaderBytes, exifIfd = ifd0 + IfdBytes(2), ifd1 = exifIfd + IfdBytes(3);
  const uint32_t thumbnailAt = ifd1 + IfdBytes(3);
  std::vector<uint8_t> tiff = {'I', 'I', 42, 0};
  Put32(tiff, ifd0);
  Put16(tiff, 2);
  PutEntry(tiff, kTagOrientation, kTypeShort, orientation);
  PutEntry(tiff, kTagExifIfd, kTypeLong, exifIfd);
  Put32(tiff, ifd1);
  Put16(tiff, 3);
  PutVersionEntry(tiff);
  PutEntry(tiff, kTagPixelWidth, kTypeLong, uint32_t(width));
  PutEntry(tiff, kTagPixelHeight, kTypeLong, uint32_t(height));
  Put32(tiff, 0);
  Put16(tiff, 3);
  PutEntry(tiff, kTagCompression, kTypeShort, kCompressionJpeg);
  PutEntry(tiff, kTagThumbnailOffset, kTypeLong, thumbnailAt);
  PutEntry(tiff, kTagThumbnailLength, kTypeLong, uint32_t(thumbnail.size()));
  Put32(tiff, 0);
  tiff.insert(tiff.end(), thumbnail.begin(), thumbnail.end());

  const size_t length = 2 + sizeof kExifId + tiff.size();
  if (length > kMaxSegmentLength) throw std::runtime_error("EXIF thumbnail too large for one segment");
  std::vector<uint8_t> out = {kMarker, kSoi, kMarker, kApp1, uint8_t(length >> 8), uint8_t(length)};
  out.insert(out.end(), kExifId, kExifId + sizeof kExifId);
  out.insert(out.end(), tiff.begin(), tiff.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

}  // namespace samplegen
