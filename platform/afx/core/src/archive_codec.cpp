// The archive byte codec: integers, string prefixes and object tags of the framework's archives.
#include "afxcore/archive_codec.h"

#include <cstring>

namespace afxcore {

namespace {
[[noreturn]] void Fail(ArchiveError cause) { throw ArchiveFailure{cause}; }
// Strings are read in pieces of this size so that memory follows the bytes present.
constexpr size_t kStringChunk = 64 * 1024;
}  // namespace

void PutU8(ByteSink& out, uint8_t v) { out.WriteBytes(&v, 1); }

void PutU16(ByteSink& out, uint16_t v) {
  uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
  out.WriteBytes(b, 2);
}

void PutU32(ByteSink& out, uint32_t v) {
  uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  out.WriteBytes(b, 4);
}

uint8_t GetU8(ByteSource& in) {
  uint8_t b;
  in.ReadExact(&b, 1);
  return b;
}

uint16_t GetU16(ByteSource& in) {
  uint8_t b[2];
  in.ReadExact(b, 2);
  return uint16_t(b[0] | (b[1] << 8));
}

uint32_t GetU32(ByteSource& in) {
  uint8_t b[4];
  in.ReadExact(b, 4);
  return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

void PutStringLength(ByteSink& out, uint32_t length) {
  if (length < kStringLength16) {
    PutU8(out, uint8_t(length));
  } else if (length < 0xFFFE) {
    // 0xFFFE is kept out of the 16-bit form: later versions of the format use it as a marker.
    PutU8(out, kStringLength16);
    PutU16(out, uint16_t(length));
  } else {
    PutU8(out, kStringLength16);
    PutU16(out, kStringLength32);
    PutU32(out, length);
  }
}

uint32_t GetStringLength(ByteSource& in) {
  uint8_t b = GetU8(in);
  if (b < kStringLength16) return b;
  uint16_t w = GetU16(in);
  if (w < kStringLength32) return w;
  return GetU32(in);
}

void PutString(ByteSink& out, const char* text, uint32_t length) {
  PutStringLength(out, length);
  if (length) out.WriteBytes(text, length);
}

std::string GetString(ByteSource& in) {
  uint32_t length = GetStringLength(in);
  std::string s;
  size_t done = 0;
  while (done < length) {
    size_t piece = length - done < kStringChunk ? length - done : kStringChunk;
    s.resize(done + piece);
    in.ReadExact(&s[done], piece);
    done += piece;
  }
  return s;
}

void PutNullTag(ByteSink& out) { PutU16(out, kNullTag); }

void PutObjectRef(ByteSink& out, uint32_t index) {
  if (index < kBigObjectTag) {
    PutU16(out, uint16_t(index));
  } else {
    PutU16(out, kBigObjectTag);
    PutU32(out, index);
  }
}

void PutClassRef(ByteSink& out, uint32_t index) {
  if (index < kBigObjectTag) {
    PutU16(out, uint16_t(kClassTag | index));
  } else {
    PutU16(out, kBigObjectTag);
    PutU32(out, kBigClassTag | index);
  }
}

void PutNewClass(ByteSink& out, uint16_t schema, const std::string& className) {
  PutU16(out, kNewClassTag);
  PutU16(out, schema);
  PutU16(out, uint16_t(className.size()));
  out.WriteBytes(className.data(), className.size());
}

ObjectTag GetObjectTag(ByteSource& in) {
  ObjectTag tag;
  uint16_t w = GetU16(in);
  if (w == kNewClassTag) {
    tag.kind = ObjectTag::newClass;
    tag.schema = GetU16(in);
    uint16_t length = GetU16(in);
    if (length > kMaxClassNameLength) Fail(ArchiveError::badClass);
    tag.className.resize(length);
    if (length) in.ReadExact(&tag.className[0], length);
    return tag;
  }
  uint32_t value;
  if (w == kBigObjectTag) {
    value = GetU32(in);
  } else {
    value = (uint32_t(w & kClassTag) << 16) | (w & ~kClassTag);
  }
  if (value & kBigClassTag) {
    tag.kind = ObjectTag::classRef;
    tag.index = value & ~kBigClassTag;
  } else {
    tag.kind = value == 0 ? ObjectTag::null : ObjectTag::objectRef;
    tag.index = value;
  }
  return tag;
}

uint32_t StoreTable::Find(const void* item) const {
  auto it = indices_.find(item);
  return it == indices_.end() ? 0 : it->second;
}

uint32_t StoreTable::Add(const void* item) {
  if (next_ > kMaxMapCount) Fail(ArchiveError::badIndex);
  indices_[item] = next_;
  return next_++;
}

uint32_t LoadTable::Add(bool isClass, void* item) {
  if (entries_.size() > kMaxMapCount) Fail(ArchiveError::badIndex);
  entries_.push_back(Entry{isClass, item});
  return uint32_t(entries_.size() - 1);
}

void* LoadTable::ClassAt(uint32_t index) const {
  if (index == 0 || index >= entries_.size() || !entries_[index].isClass) Fail(ArchiveError::badIndex);
  return entries_[index].item;
}

void* LoadTable::ObjectAt(uint32_t index) const {
  if (index == 0) return nullptr;
  if (index >= entries_.size() || entries_[index].isClass) Fail(ArchiveError::badIndex);
  return entries_[index].item;
}

void MemorySource::ReadExact(void* dst, size_t n) {
  if (n > size_ - pos_) Fail(ArchiveError::endOfFile);
  std::memcpy(dst, data_ + pos_, n);
  pos_ += n;
}

void MemorySink::WriteBytes(const void* src, size_t n) {
  const uint8_t* p = static_cast<const uint8_t*>(src);
  bytes_.insert(bytes_.end(), p, p + n);
}

}  // namespace afxcore
