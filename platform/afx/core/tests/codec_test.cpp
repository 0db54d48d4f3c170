// Native tests of the archive codec: round trips of the cache shape and every truncation and
// single-byte corruption ending in an ArchiveFailure (under the address and undefined sanitizers).
#include <gtest/gtest.h>

#include "cache_reader.h"

namespace {

using afxcore_test::Cache;
using afxcore_test::Record;

std::vector<uint8_t> SampleCache() {
  Cache cache;
  cache.header = 0x11223344;
  for (int i = 0; i < 3; ++i) {
    cache.owned.push_back(std::make_unique<Record>());
    Record* r = cache.owned.back().get();
    r->name = std::string(size_t(i == 2 ? 300 : 5), char('a' + i));
    r->time = uint32_t(900000000 + i);
    r->bits.assign(size_t(10 * i), uint8_t(i));
    cache.records.push_back(r);
  }
  cache.records.push_back(cache.records[0]);
  cache.records.push_back(nullptr);
  afxcore::MemorySink sink;
  afxcore_test::WriteCache(sink, cache);
  return sink.Bytes();
}

TEST(CodecTest, CacheShapeRoundTrips) {
  std::vector<uint8_t> bytes = SampleCache();
  afxcore::MemorySource in(bytes.data(), bytes.size());
  Cache back = afxcore_test::ReadCache(in);
  EXPECT_EQ(in.Remaining(), 0u);
  EXPECT_EQ(back.header, 0x11223344u);
  ASSERT_EQ(back.records.size(), 5u);
  EXPECT_EQ(back.records[2]->name.size(), 300u);
  EXPECT_EQ(back.records[2]->bits.size(), 20u);
  EXPECT_EQ(back.records[3], back.records[0]);
  EXPECT_EQ(back.records[4], nullptr);
}

TEST(CodecTest, StringPrefixesMatchTheFramework) {
  struct Case {
    uint32_t length;
    std::vector<uint8_t> prefix;
  } cases[] = {{0, {0}}, {254, {0xFE}}, {255, {0xFF, 0xFF, 0}}, {0xFFFD, {0xFF, 0xFD, 0xFF}},
               {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0}}};
  for (const Case& c : cases) {
    afxcore::MemorySink sink;
    afxcore::PutStringLength(sink, c.length);
    EXPECT_EQ(sink.Bytes(), c.prefix) << c.length;
    afxcore::MemorySource in(sink.Bytes().data(), sink.Bytes().size());
    EXPECT_EQ(afxcore::GetStringLength(in), c.length);
  }
}

TEST(CodecTest, TruncationsAndCorruptionsFailCleanly) {
  std::vector<uint8_t> good = SampleCache();
  for (size_t cut = 0; cut < good.size(); ++cut) {
    afxcore::MemorySource in(good.data(), cut);
    try {
      afxcore_test::ReadCache(in);
      ADD_FAILURE() << "truncation at " << cut << " was accepted";
    } catch (const afxcore::ArchiveFailure& f) {
      EXPECT_EQ(f.cause, afxcore::ArchiveError::endOfFile) << cut;
    }
  }
  // Any byte set to any of a few values either still parses or fails with ArchiveFailure.
  for (size_t at = 0; at < good.size(); ++at) {
    for (uint8_t v : {0x00, 0x7F, 0x80, 0xFE, 0xFF}) {
      std::vector<uint8_t> bad = good;
      bad[at] = v;
      afxcore::MemorySource in(bad.data(), bad.size());
      try {
        afxcore_test::ReadCache(in);
      } catch (const afxcore::ArchiveFailure&) {
      }
    }
  }
}

}  // namespace
