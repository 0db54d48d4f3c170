// Byte-level codec of the framework's archive format, free of Win32 so the sanitizer build can test it.
//
// CArchive (platform/afx) reads and writes through these functions; the thumbnail cache file of the
// Gallery is such an archive. Integers are little-endian; strings carry a 1-, 3- or 7-byte length
// prefix; object records start with a 16-bit tag (null, back-reference, class reference, new class)
// with a 32-bit escape for big indices. Readers throw ArchiveFailure on anything malformed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace afxcore {

enum class ArchiveError { endOfFile, badIndex, badClass, badSchema };

struct ArchiveFailure {
  ArchiveError cause;
};

// Tag values of object records.
constexpr uint16_t kNullTag = 0;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
constexpr uint32_t kMaxMapCount = 0x3FFFFFFEu;
// Class names longer than this are refused, as the framework's loader does.
constexpr size_t kMaxClassNameLength = 63;

// String length prefix: one byte below 0xFF, else 0xFF + 16-bit below 0xFFFE, else 0xFF 0xFFFF + 32-bit.
constexpr uint8_t kStringLength16 = 0xFF;
constexpr uint16_t kStringLength32 = 0xFFFF;

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads exactly n bytes or throws ArchiveFailure{endOfFile}.
  virtual void ReadExact(void* dst, size_t n) = 0;
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void WriteBytes(const void* src, size_t n) = 0;
};

void PutU8(ByteSink& out, uint8_t v);
void PutU16(ByteSink& out, uint16_t v);
void PutU32(ByteSink& out, uint32_t v);
uint8_t GetU8(ByteSource& in);
uint16_t GetU16(ByteSource& in);
uint32_t GetU32(ByteSource& in);

void PutStringLength(ByteSink& out, uint32_t length);
uint32_t GetStringLength(ByteSource& in);
void PutString(ByteSink& out, const char* text, uint32_t length);
// Reads a length-prefixed string; memory grows with the bytes actually present, so a corrupt length
// ends in endOfFile rather than a huge allocation.
std::string GetString(ByteSource& in);

// Writing object records.
void PutNullTag(ByteSink& out);
void PutObjectRef(ByteSink& out, uint32_t index);
void PutClassRef(ByteSink& out, uint32_t index);
void PutNewClass(ByteSink& out, uint16_t schema, const std::string& className);

struct ObjectTag {
  enum Kind { null, objectRef, classRef, newClass } kind;
  uint32_t index = 0;       // objectRef, classRef
  uint16_t schema = 0;      // newClass
  std::string className;    // newClass
};
// Reads one tag; a new class tag also reads schema and name (badClass when the name is too long).
ObjectTag GetObjectTag(ByteSource& in);

// Indices handed out while storing: classes and objects share one numbering from 1.
class StoreTable {
 public:
  uint32_t Find(const void* item) const;  // 0 when not yet stored
  uint32_t Add(const void* item);
 private:
  std::unordered_map<const void*, uint32_t> indices_;
  uint32_t next_ = 1;
};

// The same numbering seen while loading.
class LoadTable {
 public:
  LoadTable() : entries_(1, Entry{false, nullptr}) {}
  uint32_t Add(bool isClass, void* item);  // badIndex beyond the format's maximum
  void* ClassAt(uint32_t index) const;     // badIndex unless index names a class
  void* ObjectAt(uint32_t index) const;    // badIndex unless index names an object; 0 is null
  uint32_t Count() const { return static_cast<uint32_t>(entries_.size()); }
 private:
  struct Entry {
    bool isClass;
    void* item;
  };
  std::vector<Entry> entries_;
};

// Memory-backed source, for tests and for archives already held in memory.
class MemorySource : public ByteSource {
 public:
  MemorySource(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  void ReadExact(void* dst, size_t n) override;
  size_t Remaining() const { return size_ - pos_; }
 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

class MemorySink : public ByteSink {
 public:
  void WriteBytes(const void* src, size_t n) override;
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace afxcore
