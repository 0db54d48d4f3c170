// Reading a package back and judging it: trailer position, version, kind, part bounds and checksum.
#include "cardpackage/reader.h"

#include <algorithm>
#include <vector>

namespace cardpackage {

namespace {

const size_t kChecksumBufferSize = 65536;

}  // namespace

PackageStatus ReadPackage(RandomAccessSource& source, uint64_t playerEnd, PackageTrailer* trailer) {
  *trailer = PackageTrailer();
  const uint64_t size = source.Size();
  if (playerEnd != 0 && size <= playerEnd) return PackageStatus::kNoCard;
  if (size < playerEnd + kTrailerSize || size < kTrailerSize) return PackageStatus::kTruncated;
  const uint64_t trailerAt = size - kTrailerSize;

  uint8_t bytes[kTrailerSize];
  if (!source.ReadAt(trailerAt, bytes, kTrailerSize)) return PackageStatus::kReadError;
  *trailer = DecodeTrailer(bytes);
  if (trailer->version != kTrailerVersion) return PackageStatus::kUnknownVersion;
  if (trailer->cardKind > kLastCardKind) return PackageStatus::kBadCardKind;

  for (int p = 0; p < kPartCount; ++p) {
    const PartRange part = GetPart(*trailer, PartIndex(p));
    if (part.length == 0) continue;
    if (part.offset < playerEnd || uint64_t(part.offset) + part.length > trailerAt)
      return PackageStatus::kPartOutsideFile;
  }

  std::vector<uint8_t> buffer(kChecksumBufferSize);
  uint8_t sum = 0;
  for (int p = 0; p < kPartCount; ++p) {
    const PartRange part = GetPart(*trailer, PartIndex(p));
    for (uint64_t done = 0; done < part.length;) {
      const size_t chunk = size_t(std::min<uint64_t>(buffer.size(), part.length - done));
      if (!source.ReadAt(part.offset + done, buffer.data(), chunk)) return PackageStatus::kReadError;
      for (size_t i = 0; i < chunk; ++i) sum = uint8_t(sum + buffer[i]);
      done += chunk;
    }
  }
  if (sum != trailer->checksum) return PackageStatus::kChecksumMismatch;
  return PackageStatus::kOk;
}

}  // namespace cardpackage
