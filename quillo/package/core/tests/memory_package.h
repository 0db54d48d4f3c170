// Test support shared by the package and player tests: byte streams over memory and whole packages built in
// memory through the core's own append and trailer code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cardpackage/reader.h"
#include "cardpackage/stream.h"
#include "cardpackage/trailer.h"

namespace cardpackage_test {

using Bytes = std::vector<uint8_t>;

// Reads a vector in calls of at most chunk bytes; failAfter >= 0 makes the read after that many bytes fail.
class MemorySource : public cardpackage::ByteSource {
 public:
  explicit MemorySource(const Bytes& bytes, size_t chunk = SIZE_MAX, long failAfter = -1)
      : bytes_(bytes), chunk_(chunk), failAfter_(failAfter) {}
  long Read(void* buffer, size_t size) override;
  size_t position() const { return position_; }

 private:
  const Bytes& bytes_;
  size_t chunk_;
  long failAfter_;
  size_t position_ = 0;
};

// Appends to a vector; capacity limits what it stores (a full disk). Records the largest single write.
class MemorySink : public cardpackage::ByteSink {
 public:
  explicit MemorySink(Bytes* bytes, size_t capacity = SIZE_MAX) : bytes_(bytes), capacity_(capacity) {}
  size_t Write(const void* data, size_t size) override;
  bool Truncate(uint64_t size) override;
  uint64_t Size() override { return bytes_->size(); }
  size_t largestWrite = 0;

 private:
  Bytes* bytes_;
  size_t capacity_;
};

class MemoryFile : public cardpackage::RandomAccessSource {
 public:
  explicit MemoryFile(const Bytes& bytes) : bytes_(bytes) {}
  uint64_t Size() override { return bytes_.size(); }
  bool ReadAt(uint64_t offset, void* buffer, size_t size) override;

 private:
  const Bytes& bytes_;
};

// The contents of a package to build: a player stub and the five parts (empty = absent).
struct PackageContents {
  Bytes stub;
  Bytes parts[cardpackage::kPartCount];
  cardpackage::PackageTrailer trailer;  // offsets, lengths and checksum are filled in by BuildPackage
};

// Stub, parts in layout order, trailer; returns the package bytes.
Bytes BuildPackage(PackageContents contents);
// Bytes of a stub of the given size holding the player marker at markerAt (or none when markerAt < 0).
Bytes MakeStub(size_t size, long markerAt);

}  // namespace cardpackage_test
