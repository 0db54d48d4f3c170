// Reading TIFF structure: the byte order, the chain of image file directories and their entries, bounds-checked
// against the data. One reader for every TIFF-shaped input of the suite: the imaging toolkit's TIFF files
// (platform/lead) and the EXIF blocks of JPEG files (platform/ijl). Portable, both trees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tiffifd {

enum class Status {
  kOk,
  kNotTiff,    // shorter than the header, or no "II"/"MM" byte order mark followed by the number 42
  kOutside,    // a directory offset inside the header or past the data
  kTruncated,  // a directory's entries, or the next-directory word the chain needs, run past the data
  kLoop,       // the chain comes back to a directory it has passed
  kTooMany,    // more directories than the caller allows
};

constexpr uint16_t kTypeShort = 3;
constexpr uint16_t kTypeLong = 4;
constexpr uint16_t kTypeRational = 5;

struct Entry {
  uint16_t tag = 0;
  uint16_t type = 0;
  uint32_t count = 0;
  // A SHORT entry of at most two values: the first value; any other: the 32-bit value field, which holds a
  // LONG's value or the offset of values that do not fit into the entry.
  uint32_t value = 0;
  uint32_t field = 0;  // offset of the entry's 4-byte value field
};

struct Directory {
  uint32_t offset = 0;     // of its entry count
  uint16_t entries = 0;
  uint32_t nextField = 0;  // offset of its next-directory word; 0 when that word lies past the data
  uint32_t next = 0;       // the next directory's offset; 0 at the end of the chain
};

class Reader {
 public:
  Status open(const uint8_t* data, size_t size);
  bool bigEndian() const { return big_; }
  uint32_t first() const { return first_; }  // offset of the first directory

  // Values at a byte offset; the caller keeps at + 2 (at + 4) within the data, as holds() tells.
  uint16_t u16(size_t at) const;
  uint32_t u32(size_t at) const;
  bool holds(uint64_t at, uint64_t length) const { return at <= size_ && length <= size_ - at; }

  // The directory at offset, whose entries lie inside the data.
  Status directory(uint32_t offset, Directory* out) const;
  Entry entry(const Directory& dir, size_t index) const;
  // The first entry with the tag; false when there is none.
  bool find(const Directory& dir, uint16_t tag, Entry* out) const;
  // The directories from the first along the next-directory words, at most maxCount. On a failure `out` holds
  // those read before it.
  Status chain(size_t maxCount, std::vector<Directory>* out) const;

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  bool big_ = false;
  uint32_t first_ = 0;
};

}  // namespace tiffifd
