// The TIFF directory reader: header, directories, entries and the chain walk.
#include "tiffifd/tiffifd.h"

#include <set>

namespace tiffifd {

namespace {
constexpr size_t kHeaderSize = 8;
constexpr uint32_t kMagic = 42;
constexpr size_t kEntrySize = 12;
constexpr size_t kCountSize = 2;
constexpr size_t kNextSize = 4;
constexpr size_t kValueFieldAt = 8;  // within an entry
}  // namespace

Status Reader::open(const uint8_t* data, size_t size) {
  data_ = data;
  size_ = size;
  if (size < kHeaderSize) return Status::kNotTiff;
  if (data[0] == 'I' && data[1] == 'I')
    big_ = false;
  else if (data[0] == 'M' && data[1] == 'M')
    big_ = true;
  else
    return Status::kNotTiff;
  if (u16(2) != kMagic) return Status::kNotTiff;
  first_ = u32(4);
  return Status::kOk;
}

uint16_t Reader::u16(size_t at) const {
  const uint8_t* p = data_ + at;
  return big_ ? uint16_t((p[0] << 8) | p[1]) : uint16_t(p[0] | (p[1] << 8));
}

uint32_t Reader::u32(size_t at) const {
  const uint8_t* p = data_ + at;
  return big_ ? (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]
              : uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

Status Reader::directory(uint32_t offset, Directory* out) const {
  if (offset < kHeaderSize || !holds(offset, kCountSize)) return Status::kOutside;
  Directory d;
  d.offset = offset;
  d.entries = u16(offset);
  const uint64_t nextAt = uint64_t(offset) + kCountSize + uint64_t(d.entries) * kEntrySize;
  if (!holds(offset, nextAt - offset)) return Status::kTruncated;
  if (holds(nextAt, kNextSize)) {
    d.nextField = uint32_t(nextAt);
    d.next = u32(size_t(nextAt));
  }
  *out = d;
  return Status::kOk;
}

Entry Reader::entry(const Directory& dir, size_t index) const {
  const size_t at = size_t(dir.offset) + kCountSize + index * kEntrySize;
  Entry e;
  e.tag = u16(at);
  e.type = u16(at + 2);
  e.count = u32(at + 4);
  e.field = uint32_t(at + kValueFieldAt);
  e.value = e.type == kTypeShort && e.count <= 2 ? u16(e.field) : u32(e.field);
  return e;
}

bool Reader::find(const Directory& dir, uint16_t tag, Entry* out) const {
  for (size_t i = 0; i < dir.entries; ++i) {
    const Entry e = entry(dir, i);
    if (e.tag == tag) {
      *out = e;
      return true;
    }
  }
  return false;
}

Status Reader::chain(size_t maxCount, std::vector<Directory>* out) const {
  out->clear();
  std::set<uint32_t> seen;
  for (uint32_t offset = first_; offset;) {
    Directory d;
    const Status s = directory(offset, &d);
    if (s != Status::kOk) return s;
    if (!seen.insert(offset).second) return Status::kLoop;
    if (out->size() >= maxCount) return Status::kTooMany;
    if (!d.nextField) return Status::kTruncated;
    out->push_back(d);
    offset = d.next;
  }
  return Status::kOk;
}

}  // namespace tiffifd
