// Tests of the TIFF directory reader: both byte orders, entry values, and every way a chain can be damaged.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tiffifd/tiffifd.h"

namespace {

using tiffifd::Status;

// Builds TIFF structure in either byte order.
class Builder {
 public:
  explicit Builder(bool big) : big_(big) {
    bytes.push_back(big ? 'M' : 'I');
    bytes.push_back(big ? 'M' : 'I');
    u16(42);
    u32(8);
  }
  void u16(uint32_t v) {
    if (big_) { bytes.push_back(uint8_t(v >> 8)); bytes.push_back(uint8_t(v)); }
    else { bytes.push_back(uint8_t(v)); bytes.push_back(uint8_t(v >> 8)); }
  }
  void u32(uint32_t v) {
    if (big_) { u16(v >> 16); u16(v & 0xffff); }
    else { u16(v & 0xffff); u16(v >> 16); }
  }
  void entry(uint16_t tag, uint16_t type, uint32_t count, uint32_t field) {
    u16(tag); u16(type); u32(count);
    if (type == tiffifd::kTypeShort && count <= 2) { u16(field); u16(0); }
    else u32(field);
  }
  void patch32(size_t at, uint32_t v) {
    Builder b(big_);
    b.bytes.clear();
    b.u32(v);
    for (int i = 0; i < 4; ++i) bytes[at + i] = b.bytes[i];
  }
  std::vector<uint8_t> bytes;

 private:
  bool big_;
};

// Header, then directories of the given entry counts, chained in order; each entry is a LONG of its index.
std::vector<uint8_t> Chain(bool big, std::vector<int> entries) {
  Builder b(big);
  for (size_t d = 0; d < entries.size(); ++d) {
    b.u16(uint32_t(entries[d]));
    for (int i = 0; i < entries[d]; ++i) b.entry(uint16_t(256 + i), tiffifd::kTypeLong, 1, uint32_t(i));
    b.u32(d + 1 < entries.size() ? uint32_t(b.bytes.size() + 4) : 0);
  }
  return b.bytes;
}

TEST(TiffIfd, ReadsChainsAndEntriesInBothByteOrders) {
  for (bool big : {false, true}) {
    Builder b(big);
    b.u16(3);
    b.entry(256, tiffifd::kTypeShort, 1, 640);
    b.entry(258, tiffifd::kTypeShort, 3, 50);       // three shorts: an offset
    b.entry(282, tiffifd::kTypeRational, 1, 0x123456);
    b.u32(0);
    tiffifd::Reader r;
    ASSERT_EQ(Status::kOk, r.open(b.bytes.data(), b.bytes.size()));
    EXPECT_EQ(big, r.bigEndian());
    std::vector<tiffifd::Directory> dirs;
    ASSERT_EQ(Status::kOk, r.chain(10, &dirs));
    ASSERT_EQ(1u, dirs.size());
    EXPECT_EQ(8u, dirs[0].offset);
    EXPECT_EQ(3u, dirs[0].entries);
    EXPECT_EQ(8u + 2 + 36, dirs[0].nextField);
    tiffifd::Entry e;
    ASSERT_TRUE(r.find(dirs[0], 256, &e));
    EXPECT_EQ(640u, e.value);
    ASSERT_TRUE(r.find(dirs[0], 258, &e));
    EXPECT_EQ(50u, e.value);
    EXPECT_EQ(3u, e.count);
    ASSERT_TRUE(r.find(dirs[0], 282, &e));
    EXPECT_EQ(0x123456u, e.value);
    EXPECT_EQ(8u + 2 + 24 + 8, e.field);
    EXPECT_FALSE(r.find(dirs[0], 999, &e));

    std::vector<uint8_t> three = Chain(big, {1, 0, 2});
    ASSERT_EQ(Status::kOk, r.open(three.data(), three.size()));
    ASSERT_EQ(Status::kOk, r.chain(10, &dirs));
    ASSERT_EQ(3u, dirs.size());
    EXPECT_EQ(dirs[1].offset, dirs[0].next);
    EXPECT_EQ(0u, dirs[2].next);
    EXPECT_EQ(257u, r.entry(dirs[2], 1).tag);
  }
}

TEST(TiffIfd, DamagedStructureIsReportedNotFollowed) {
  const std::vector<uint8_t> good = Chain(false, {2, 1});
  const size_t secondNext = good.size() - 4, firstNext = 8 + 2 + 24;
  struct Case {
    const char* what;
    size_t keep;        // bytes kept of the file
    size_t patchAt;     // 0: no patch
    uint32_t patch;
    Status expected;
    size_t readBefore;  // directories delivered before the failure
  } cases[] = {
      {"header cut", 7, 0, 0, Status::kNotTiff, 0},
      {"first directory in the header", good.size(), 4, 4, Status::kOutside, 0},
      {"first directory past the end", good.size(), 4, 5000, Status::kOutside, 0},
      {"second directory past the end", good.size(), firstNext, 0xFFFFFFF0u, Status::kOutside, 1},
      {"entries cut", 8 + 2 + 20, 0, 0, Status::kTruncated, 0},
      {"next word cut", good.size() - 2, 0, 0, Status::kTruncated, 1},
      {"loop to the first", good.size(), secondNext, 8, Status::kLoop, 2},
      {"loop to itself", good.size(), firstNext, 8, Status::kLoop, 1},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes(good.begin(), good.begin() + c.keep);
    if (c.patchAt) {
      Builder b(false);
      b.bytes = bytes;
      b.patch32(c.patchAt, c.patch);
      bytes = b.bytes;
    }
    tiffifd::Reader r;
    std::vector<tiffifd::Directory> dirs;
    Status s = r.open(bytes.data(), bytes.size());
    if (s == Status::kOk) s = r.chain(10, &dirs);
    EXPECT_EQ(c.expected, s) << c.what;
    EXPECT_EQ(c.readBefore, dirs.size()) << c.what;
  }
  // Not TIFF at all, or the wrong number after the byte order mark.
  for (std::vector<uint8_t> bytes : {std::vector<uint8_t>{'B', 'M', 42, 0, 8, 0, 0, 0},
                                     std::vector<uint8_t>{'I', 'I', 43, 0, 8, 0, 0, 0},
                                     std::vector<uint8_t>{'M', 'M', 42, 0, 0, 0, 0, 8}}) {
    tiffifd::Reader r;
    EXPECT_EQ(Status::kNotTiff, r.open(bytes.data(), bytes.size()));
  }
  // A chain longer than the caller allows.
  const std::vector<uint8_t> many = Chain(true, std::vector<int>(5, 0));
  tiffifd::Reader r;
  std::vector<tiffifd::Directory> dirs;
  ASSERT_EQ(Status::kOk, r.open(many.data(), many.size()));
  EXPECT_EQ(Status::kTooMany, r.chain(4, &dirs));
  EXPECT_EQ(Status::kOk, r.chain(5, &dirs));
  // A directory whose next word is missing is still readable alone (an EXIF block may end there).
  tiffifd::Directory d;
  const std::vector<uint8_t> cut(good.begin(), good.end() - 2);
  ASSERT_EQ(Status::kOk, r.open(cut.data(), cut.size()));
  ASSERT_EQ(Status::kOk, r.directory(good.size() - 4 - 2 - 12, &d));
  EXPECT_EQ(0u, d.nextField);
  EXPECT_EQ(0u, d.next);
  EXPECT_TRUE(r.holds(0, cut.size()));
  EXPECT_FALSE(r.holds(1, cut.size()));
  EXPECT_FALSE(r.holds(0xFFFFFFFFu, 8));
}

}  // namespace
