// In-memory streams and package building for the package and player tests.
#include "memory_package.h"

#include <algorithm>
#include <cstring>

namespace cardpackage_test {

using namespace cardpackage;

long MemorySource::Read(void* buffer, size_t size) {
  if (failAfter_ >= 0 && position_ >= size_t(failAfter_)) return -1;
  size_t n = std::min({size, chunk_, bytes_.size() - position_});
  if (failAfter_ >= 0) n = std::min(n, size_t(failAfter_) - position_);
  std::memcpy(buffer, bytes_.data() + position_, n);
  position_ += n;
  return long(n);
}

size_t MemorySink::Write(const void* data, size_t size) {
  largestWrite = std::max(largestWrite, size);
  const size_t stored = std::min(size, capacity_ - std::min(capacity_, bytes_->size()));
  const uint8_t* p = static_cast<const uint8_t*>(data);
  bytes_->insert(bytes_->end(), p, p + stored);
  return stored;
}

bool MemorySink::Truncate(uint64_t size) {
  if (size > bytes_->size()) return false;
  bytes_->resize(size_t(size));
  return true;
}

bool MemoryFile::ReadAt(uint64_t offset, void* buffer, size_t size) {
  if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
  std::memcpy(buffer, bytes_.data() + offset, size);
  return true;
}

Bytes BuildPackage(PackageContents contents) {
  Bytes out = contents.stub;
  MemorySink sink(&out);
  uint8_t checksum = 0;
  for (int p = 0; p < kPartCount; ++p) {
    const Bytes& part = contents.parts[p];
    if (part.empty()) continue;
    MemorySource source(part);
    const uint64_t length = AppendPart(source, part.size(), sink, &checksum);
    SetPart(&contents.trailer, PartIndex(p), PartRange{uint32_t(out.size() - length), uint32_t(length)});
  }
  contents.trailer.checksum = checksum;
  uint8_t trailer[kTrailerSize];
  EncodeTrailer(contents.trailer, trailer);
  out.insert(out.end(), trailer, trailer + kTrailerSize);
  return out;
}

Bytes MakeStub(size_t size, long markerAt) {
  Bytes stub(size);
  for (size_t i = 0; i < size; ++i) stub[i] = uint8_t('A' + i % 23);
  if (markerAt >= 0) std::memcpy(stub.data() + markerAt, kPlayerMarker, kPlayerMarkerSize);
  return stub;
}

}  // namespace cardpackage_test
