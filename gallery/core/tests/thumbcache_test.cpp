// The thumbnail cache file: its bytes read back field by field, the DIB rules, damaged files, and which
// records a folder's files take.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dib_fixture.h"
#include "galcore/thumbcache.h"

using namespace galcore;
using galcore_test::MakeDib;

namespace {

// Reads the file by hand, independently of the library's reader.
struct Cursor {
  const std::vector<uint8_t>& b;
  size_t at = 0;
  uint32_t U8() { return b.at(at++); }
  uint32_t U16() { uint32_t v = U8(); return v | U8() << 8; }
  uint32_t U32() { uint32_t v = U16(); return v | U16() << 16; }
  std::string Text(size_t n) {
    std::string s(reinterpret_cast<const char*>(&b.at(at)), n);
    at += n;
    return s;
  }
};

const uint32_t kTimeA = 946684800;  // 2000-01-01 00:00:00 UTC

ThumbnailCache TwoPictures() {
  ThumbnailCache cache;
  cache.header = 0xA1B2C3D4;
  cache.records.push_back({"a.jpg", kTimeA, MakeDib(3, 2, 24, 1)});
  // A name of 256 characters needs the string's longer length prefix.
  cache.records.push_back({std::string(252, 'n') + ".png", kTimeA + 61, MakeDib(2, 2, 8, 2)});
  return cache;
}

TEST(ThumbnailCacheTest, WrittenBytesFollowTheRecordLayout) {
  const ThumbnailCache cache = TwoPictures();
  const std::vector<uint8_t> bytes = WriteThumbnailCache(cache);
  Cursor c{bytes};
  EXPECT_EQ(0xA1B2C3D4u, c.U32());
  EXPECT_EQ(2u, c.U32());

  // "a.jpg": 24 bits, 3 x 2, rows of 9 bytes padded to 12, no colour table.
  EXPECT_EQ(5u, c.U8());
  EXPECT_EQ("a.jpg", c.Text(5));
  EXPECT_EQ(kTimeA, c.U32());
  EXPECT_EQ("BM", c.Text(2));
  EXPECT_EQ(14u + 40 + 24, c.U32());
  EXPECT_EQ(0u, c.U16());
  EXPECT_EQ(0u, c.U16());
  EXPECT_EQ(14u + 40, c.U32());
  const size_t dibA = c.at;
  EXPECT_EQ(40u, c.U32());
  EXPECT_EQ(3u, c.U32());
  EXPECT_EQ(2u, c.U32());
  EXPECT_EQ(1u, c.U16());
  EXPECT_EQ(24u, c.U16());
  EXPECT_EQ(0u, c.U32());   // uncompressed
  EXPECT_EQ(24u, c.U32());  // image size
  c.at = dibA + 40 + 24;
  EXPECT_EQ(0, std::memcmp(&bytes[dibA], cache.records[0].dib.data(), cache.records[0].dib.size()));

  // The long name: 0xFF, then a 16-bit length.
  EXPECT_EQ(0xFFu, c.U8());
  EXPECT_EQ(256u, c.U16());
  EXPECT_EQ(cache.records[1].name, c.Text(256));
  EXPECT_EQ(kTimeA + 61, c.U32());
  EXPECT_EQ("BM", c.Text(2));
  // 8 bits with biClrUsed 0: 256 colour entries; rows of 2 bytes padded to 4.
  EXPECT_EQ(14u + 40 + 256 * 4 + 8, c.U32());
  EXPECT_EQ(0u, c.U32());
  EXPECT_EQ(14u + 40 + 256 * 4, c.U32());
  const size_t dibB = c.at;
  EXPECT_EQ(40u, c.U32());
  c.at = dibB + 14;
  EXPECT_EQ(8u, c.U16());
  EXPECT_EQ(0, std::memcmp(&bytes[dibB], cache.records[1].dib.data(), cache.records[1].dib.size()));
  EXPECT_EQ(bytes.size(), dibB + 40 + 1024 + 8);
}

TEST(ThumbnailCacheTest, ReadsBackWhatItWrote) {
  ThumbnailCache cache = TwoPictures();
  cache.records.push_back({"mono.bmp", 1, MakeDib(33, -5, 1, 3)});
  cache.records.push_back({"few.gif", 2, MakeDib(5, 5, 8, 4, 16)});
  cache.records.push_back({"sixteen.gif", 3, MakeDib(7, 3, 4, 5)});
  const std::vector<uint8_t> bytes = WriteThumbnailCache(cache);
  const CacheReadResult r = ReadThumbnailCache(bytes.data(), bytes.size());
  ASSERT_EQ(CacheReadStatus::complete, r.status);
  EXPECT_EQ(cache.header, r.cache.header);
  ASSERT_EQ(cache.records.size(), r.cache.records.size());
  for (size_t i = 0; i < cache.records.size(); ++i) {
    EXPECT_EQ(cache.records[i].name, r.cache.records[i].name);
    EXPECT_EQ(cache.records[i].time, r.cache.records[i].time);
    EXPECT_EQ(cache.records[i].dib, r.cache.records[i].dib);
  }
}

TEST(ThumbnailCacheTest, TruncatedFileGivesTheWholeRecordsBeforeTheCut) {
  const ThumbnailCache cache = TwoPictures();
  const std::vector<uint8_t> bytes = WriteThumbnailCache(cache);
  const size_t secondRecord = 8 + 1 + 5 + 4 + 14 + cache.records[0].dib.size();
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    const CacheReadResult r = ReadThumbnailCache(bytes.data(), cut);
    ASSERT_NE(CacheReadStatus::complete, r.status) << cut;
    EXPECT_EQ(cut < 8 ? CacheReadStatus::unreadable : CacheReadStatus::damaged, r.status) << cut;
    EXPECT_EQ(cut < secondRecord ? 0u : 1u, r.cache.records.size()) << cut;
  }
}

// Damage at a field of the second record (offsets within its DIB header, or the file header) ends the load
// after the first record.
TEST(ThumbnailCacheTest, MalformedRecordEndsTheLoad) {
  const ThumbnailCache cache = TwoPictures();
  const std::vector<uint8_t> good = WriteThumbnailCache(cache);
  const size_t second = 8 + 1 + 5 + 4 + 14 + cache.records[0].dib.size();
  const size_t file = second + 3 + 256 + 4, dib = file + 14;
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
    int bytes;
  } cases[] = {
      {"not BM", file, 0x4D43, 2},
      {"file size", file + 2, 14 + 40 + 1024 + 9, 4},
      {"bits offset", file + 10, 14 + 40, 4},
      {"header size", dib, 12, 4},
      {"width 0", dib + 4, 0, 4},
      {"width too large", dib + 4, 5000, 4},
      {"height 0", dib + 8, 0, 4},
      {"planes", dib + 12, 2, 2},
      {"16 bits", dib + 14, 16, 2},
      {"compressed", dib + 16, 1, 4},
      {"image size", dib + 20, 12, 4},
      {"more colours than 8 bits hold", dib + 32, 257, 4},
  };
  for (const Case& k : cases) {
    std::vector<uint8_t> bytes = good;
    for (int i = 0; i < k.bytes; ++i) bytes[k.at + size_t(i)] = uint8_t(k.value >> (8 * i));
    const CacheReadResult r = ReadThumbnailCache(bytes.data(), bytes.size());
    EXPECT_EQ(CacheReadStatus::damaged, r.status) << k.what;
    ASSERT_EQ(1u, r.cache.records.size()) << k.what;
    EXPECT_EQ("a.jpg", r.cache.records[0].name) << k.what;
  }
}

TEST(ThumbnailCacheTest, HugeCountsAndLengthsEndAtTheBytesPresent) {
  afxcore::MemorySink out;
  afxcore::PutU32(out, 7);
  afxcore::PutU32(out, 0xFFFFFFFF);     // records
  afxcore::PutStringLength(out, 0xFFFFFFF0);  // the first name's length
  std::vector<uint8_t> bytes = out.Bytes();
  bytes.insert(bytes.end(), 100, 'x');
  const CacheReadResult r = ReadThumbnailCache(bytes.data(), bytes.size());
  EXPECT_EQ(CacheReadStatus::damaged, r.status);
  EXPECT_EQ(7u, r.cache.header);
  EXPECT_TRUE(r.cache.records.empty());
}

TEST(ThumbnailCacheTest, WriterRefusesWhatTheReaderWouldRefuse) {
  ThumbnailCache cache;
  cache.records.push_back({"short.jpg", 0, MakeDib(4, 4, 24)});
  cache.records[0].dib.pop_back();
  EXPECT_THROW(WriteThumbnailCache(cache), std::invalid_argument);
  cache.records[0].dib = MakeDib(4, 4, 24);
  cache.records[0].dib[14] = 16;  // bits per pixel the cache never holds
  EXPECT_THROW(WriteThumbnailCache(cache), std::invalid_argument);
}

TEST(ThumbnailCacheTest, DibSizeRules) {
  struct BitCase { int planes, bits; uint16_t expected; } bitCases[] = {
      {1, 1, 1}, {1, 2, 4}, {1, 4, 4}, {4, 1, 4}, {1, 8, 8}, {1, 15, 24}, {1, 16, 24}, {1, 24, 24}, {1, 32, 24}, {3, 8, 24},
  };
  for (const BitCase& k : bitCases) EXPECT_EQ(k.expected, CacheBitCount(k.planes, k.bits)) << k.planes << "x" << k.bits;

  struct SizeCase { int32_t w, h; uint16_t bits; uint64_t expected; } sizeCases[] = {
      {3, 2, 24, 24}, {1, 1, 1, 4}, {32, 1, 1, 4}, {33, 1, 1, 8}, {2, -3, 8, 12}, {112, 84, 24, 336 * 84},
  };
  for (const SizeCase& k : sizeCases) EXPECT_EQ(k.expected, DibImageBytes(k.w, k.h, k.bits)) << k.w << "x" << k.h;

  EXPECT_EQ(256u, DibColourEntries(0, 8));
  EXPECT_EQ(16u, DibColourEntries(0, 4));
  EXPECT_EQ(2u, DibColourEntries(0, 1));
  EXPECT_EQ(16u, DibColourEntries(16, 8));
  EXPECT_EQ(0u, DibColourEntries(0, 24));
  EXPECT_EQ(5u, DibColourEntries(5, 24));
}

TEST(ThumbnailCacheTest, RecordAppliesOnlyToItsFileAtTheSameTime) {
  ThumbnailCache cache;
  cache.records.push_back({"a.jpg", 100, {}});
  cache.records.push_back({"b.jpg", 200, {}});  // the file changed since
  cache.records.push_back({"gone.jpg", 300, {}});
  cache.records.push_back({"a.jpg", 100, {}});  // a later record of the same file wins
  cache.records.push_back({"c.jpg", 400, {}});
  const std::vector<CacheKey> items = {{"b.jpg", 201}, {"a.jpg", 100}, {"c.jpg", 400}, {"new.jpg", 0}};
  EXPECT_EQ((std::vector<int>{-1, 3, 4, -1}), MatchCacheRecords(items, cache));
}

TEST(ThumbnailCacheTest, FileTimesBecomeWholeSecondsSince1970) {
  const uint64_t k2000 = 125911584000000000ull;  // 2000-01-01 00:00:00 UTC as a FILETIME
  EXPECT_EQ(946684800u, CacheTimeFromFileTime(k2000));
  EXPECT_EQ(946684800u, CacheTimeFromFileTime(k2000 + 9999999));
  EXPECT_EQ(946684801u, CacheTimeFromFileTime(k2000 + 10000000));
}

}  // namespace
