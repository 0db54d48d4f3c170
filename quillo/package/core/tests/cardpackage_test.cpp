// Native tests of the package core: trailer bytes at their offsets, the marker search by blocks, the streaming
// append with its checksum and undo, and the reader's judgement of damaged packages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "memory_package.h"

using namespace cardpackage;
using namespace cardpackage_test;

namespace {

uint16_t U16(const uint8_t* b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }
uint32_t U32(const uint8_t* b, size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24; }

// The marker spelled out from its token list, independently of the library's constant.
Bytes MarkerFromTokens() {
  const char* tokens[] = {"031", "033", "052", "053", "036", "044", "062", "126", "166", "023", "062",
                          "123", "090", "020", "020", "106", "122", "041", "190", "110", "036", "043",
                          "087", "087", "030", "039", "077", "064", "006", "199", "035", "023"};
  Bytes m{0};
  for (const char* t : tokens) {
    m.push_back('x');
    m.insert(m.end(), t, t + 3);
    m.push_back(0);
  }
  return m;
}

TEST(TrailerTest, FieldsLieAtTheirOffsetsLittleEndian) {
  PackageTrailer t;
  t.cardKind = 2;
  t.pictureOffset = 0x11223344;
  t.pictureLength = 0x01020304;
  t.viewerFile1Offset = 5;
  t.viewerFile1Length = 6;
  t.viewerFile2Offset = 7;
  t.viewerFile2Length = 8;
  t.videoOffset = 9;
  t.videoLength = 10;
  t.soundOffset = 11;
  t.soundLength = 0xA0B0C0D0;
  t.compressed = 1;
  t.checksum = 0xEE;
  t.messageText = "message";
  t.senderText = "sender";
  t.recipientText = "to";
  t.subjectText = "subject";
  t.created = CreatedStamp{59, 58, 23, 31, 11, 125, 6, 364, 1};
  t.linkLabel = "label";
  t.linkAddress = "www.example.org";
  uint8_t b[kTrailerSize];
  std::memset(b, 0xCC, sizeof b);
  EncodeTrailer(t, b);

  EXPECT_EQ(1, U16(b, 0));
  EXPECT_EQ(2, U16(b, 2));
  EXPECT_EQ(0x44, b[4]);
  EXPECT_EQ(0x11223344u, U32(b, 4));
  EXPECT_EQ(0x01020304u, U32(b, 8));
  const uint32_t parts[] = {5, 6, 7, 8, 9, 10, 11, 0xA0B0C0D0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(parts[i], U32(b, 12 + 4 * i)) << i;
  EXPECT_EQ(1, b[44]);
  EXPECT_EQ(0xEE, b[45]);
  EXPECT_STREQ("message", reinterpret_cast<char*>(b + 46));
  EXPECT_STREQ("sender", reinterpret_cast<char*>(b + 813));
  EXPECT_STREQ("to", reinterpret_cast<char*>(b + 1068));
  EXPECT_STREQ("subject", reinterpret_cast<char*>(b + 1323));
  const uint16_t created[] = {59, 58, 23, 31, 11, 125, 6, 364, 1};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(created[i], U16(b, 1578 + 2 * i)) << i;
  EXPECT_STREQ("label", reinterpret_cast<char*>(b + 1596));
  EXPECT_STREQ("www.example.org", reinterpret_cast<char*>(b + 1627));
  EXPECT_EQ(0, b[1755]);
  // Zero-filled: the tail of every text field and the bytes between fields.
  EXPECT_EQ(0, b[46 + 7 + 1]);
  EXPECT_EQ(0, b[812]);
  EXPECT_EQ(0, b[1627 + 127]);

  const PackageTrailer back = DecodeTrailer(b);
  EXPECT_EQ(t.soundLength, back.soundLength);
  EXPECT_EQ(t.linkAddress, back.linkAddress);
  EXPECT_TRUE(back.created == t.created);
}

TEST(TrailerTest, TextsAreCutToFieldSizeMinusOneAndAlwaysEndInNul) {
  struct Case {
    std::string PackageTrailer::*text;
    size_t at, size;
  } cases[] = {{&PackageTrailer::messageText, 46, 767},    {&PackageTrailer::senderText, 813, 255},
               {&PackageTrailer::recipientText, 1068, 255}, {&PackageTrailer::subjectText, 1323, 255},
               {&PackageTrailer::linkLabel, 1596, 31},      {&PackageTrailer::linkAddress, 1627, 128}};
  for (const Case& c : cases) {
    for (size_t length : {c.size - 2, c.size - 1, c.size, c.size + 50}) {
      PackageTrailer t;
      t.*c.text = std::string(length, 'm');
      uint8_t b[kTrailerSize];
      EncodeTrailer(t, b);
      const size_t kept = std::min(length, c.size - 1);
      EXPECT_EQ(kept, std::strlen(reinterpret_cast<char*>(b + c.at))) << c.at << " " << length;
      for (size_t i = kept; i < c.size; ++i) ASSERT_EQ(0, b[c.at + i]) << c.at << " " << length;
      EXPECT_EQ(std::string(kept, 'm'), DecodeTrailer(b).*c.text);
    }
  }
}

TEST(TrailerTest, FieldWithoutNulEndsAtFieldEnd) {
  uint8_t b[kTrailerSize] = {};
  std::memset(b + 813, 'z', 255 + 255);  // sender and recipient fields, no NUL in either
  const PackageTrailer t = DecodeTrailer(b);
  EXPECT_EQ(std::string(255, 'z'), t.senderText);
  EXPECT_EQ(std::string(255, 'z'), t.recipientText);
}

TEST(TrailerTest, CreatedFollowsTheBrokenDownTime) {
  std::tm tm = {};
  tm.tm_sec = 5;
  tm.tm_min = 30;
  tm.tm_hour = 0;
  tm.tm_mday = 29;
  tm.tm_mon = 1;
  tm.tm_year = 124;
  tm.tm_wday = 4;
  tm.tm_yday = 59;
  tm.tm_isdst = 0;
  const CreatedStamp s = CreatedFromBrokenDownTime(tm);
  EXPECT_TRUE((s == CreatedStamp{5, 30, 0, 29, 1, 124, 4, 59, 0}));
}

TEST(MarkerTest, ConstantMatchesTheTokenList) {
  const Bytes tokens = MarkerFromTokens();
  ASSERT_EQ(161u, tokens.size());
  EXPECT_EQ(0, std::memcmp(tokens.data(), kPlayerMarker, 161));
}

TEST(MarkerTest, CountsOnlyWhollyInsideOneBlock) {
  const long B = long(kMarkerBlockSize), M = long(kPlayerMarkerSize);
  struct Case {
    size_t size;
    long at;
    bool found;
  } cases[] = {
      {1000, 0, true},
      {size_t(3 * B), B - M, true},           // ends exactly at the first boundary
      {size_t(3 * B), B - M + 1, false},      // one byte over it
      {size_t(3 * B), B - 80, false},         // straddles the middle of the boundary
      {size_t(3 * B), B, true},               // starts the second block
      {size_t(3 * B), 2 * B - 1, false},      // straddles the second boundary by all but one byte
      {size_t(2 * B + 500), 2 * B + 100, true},  // in the short last block
      {size_t(2 * B), -1, false},
      {100, -1, false},                       // shorter than the marker
  };
  for (const Case& c : cases) {
    const Bytes stub = MakeStub(c.size, c.at);
    for (size_t chunk : {size_t(SIZE_MAX), size_t(4093)}) {
      MemorySource source(stub, chunk);
      EXPECT_EQ(c.found, FindPlayerMarker(source)) << c.at << " chunk " << chunk;
    }
  }
}

TEST(MarkerTest, ReadErrorIsNotAMarker) {
  const Bytes stub = MakeStub(3 * kMarkerBlockSize, long(2 * kMarkerBlockSize));
  MemorySource source(stub, SIZE_MAX, long(kMarkerBlockSize + 10));
  EXPECT_FALSE(FindPlayerMarker(source));
}

TEST(AppendTest, CopiesThroughBufferWithRunningChecksum) {
  Bytes part(200000);
  for (size_t i = 0; i < part.size(); ++i) part[i] = uint8_t(i * 7 + 3);
  Bytes out = {1, 2, 3};
  MemorySink sink(&out);
  uint8_t checksum = 0x10;
  MemorySource source(part);
  EXPECT_EQ(part.size(), AppendPart(source, part.size(), sink, &checksum));
  EXPECT_EQ(Bytes(part.begin(), part.end()), Bytes(out.begin() + 3, out.end()));
  EXPECT_LE(sink.largestWrite, 65535u);
  EXPECT_EQ(65535u, sink.largestWrite);
  uint8_t expected = 0x10;
  for (uint8_t b : part) expected = uint8_t(expected + b);
  EXPECT_EQ(expected, checksum);
}

TEST(AppendTest, BytesSummingTo256GiveZero) {
  const Bytes a = {0x80, 0x7F}, b = {0x01};
  Bytes out;
  MemorySink sink(&out);
  uint8_t checksum = 0;
  MemorySource sa(a), sb(b);
  AppendPart(sa, a.size(), sink, &checksum);
  EXPECT_EQ(0xFF, checksum);
  AppendPart(sb, b.size(), sink, &checksum);
  EXPECT_EQ(0, checksum);
}

TEST(AppendTest, SourceEndingEarlyEndsThePartThere) {
  const Bytes part(1000, 2);
  Bytes out;
  MemorySink sink(&out);
  uint8_t checksum = 0;
  MemorySource source(part);
  EXPECT_EQ(1000u, AppendPart(source, 5000, sink, &checksum));  // recorded size larger than what comes
  EXPECT_EQ(1000u, out.size());
  EXPECT_EQ(uint8_t(2000 % 256), checksum);
}

TEST(AppendTest, FailuresUndoThePartAndKeepTheChecksum) {
  const Bytes part(150000, 9);
  struct Case {
    long sourceFailsAfter;
    size_t sinkCapacity;
  } cases[] = {{70000, SIZE_MAX}, {0, SIZE_MAX}, {-1, 100 + 65535 + 7}};
  for (const Case& c : cases) {
    Bytes out(100, 1);
    MemorySink sink(&out, c.sinkCapacity);
    uint8_t checksum = 0x42;
    MemorySource source(part, SIZE_MAX, c.sourceFailsAfter);
    EXPECT_EQ(0u, AppendPart(source, part.size(), sink, &checksum));
    EXPECT_EQ(100u, out.size());
    EXPECT_EQ(0x42, checksum);
  }
}

class ReaderTest : public ::testing::Test {
 protected:
  static constexpr size_t kStub = 5000;
  PackageContents Card() {
    PackageContents c;
    c.stub = MakeStub(kStub, 10);
    c.parts[kPicturePart] = Bytes(3000, 0x31);
    c.parts[kViewerFile1Part] = Bytes(100, 0x32);
    c.parts[kSoundPart] = Bytes(777, 0x33);
    c.trailer.cardKind = kKindPictureOnly;
    c.trailer.messageText = "hello";
    return c;
  }
  PackageStatus Read(const Bytes& bytes, uint64_t playerEnd = kStub) {
    MemoryFile file(bytes);
    return ReadPackage(file, playerEnd, &trailer);
  }
  // Rewrites one 32-bit trailer field in place.
  static void Poke32(Bytes* b, size_t fieldAt, uint32_t v) {
    uint8_t* p = b->data() + b->size() - kTrailerSize + fieldAt;
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
  }
  PackageTrailer trailer;
};

TEST_F(ReaderTest, GoodPackageReadsWithItsParts) {
  const Bytes b = BuildPackage(Card());
  ASSERT_EQ(PackageStatus::kOk, Read(b));
  EXPECT_EQ(kStub, trailer.pictureOffset);
  EXPECT_EQ(3000u, trailer.pictureLength);
  EXPECT_EQ(kStub + 3100, trailer.soundOffset);
  EXPECT_EQ(0u, trailer.videoLength);
  EXPECT_EQ("hello", trailer.messageText);
  EXPECT_EQ(PackageStatus::kOk, Read(b, 0));  // player end unknown
}

TEST_F(ReaderTest, DamagedPackagesAreNamed) {
  const Bytes good = BuildPackage(Card());
  struct Case {
    const char* what;
    Bytes bytes;
    PackageStatus status;
  };
  Bytes flipped = good;
  flipped[kStub + 1500] ^= 0x01;
  Bytes version = good;
  version[version.size() - kTrailerSize] = 2;
  Bytes kind = good;
  kind[kind.size() - kTrailerSize + 2] = 4;
  Bytes intoTrailer = good;
  Poke32(&intoTrailer, 40, 777 + 1);
  Bytes intoPlayer = good;
  Poke32(&intoPlayer, 12, kStub - 1);
  Bytes wraps = good;
  Poke32(&wraps, 4, 0xFFFFFF00u);
  Poke32(&wraps, 8, 0x200u);
  Case cases[] = {
      {"one byte flipped in a part", flipped, PackageStatus::kChecksumMismatch},
      {"cut in the middle of the sound", Bytes(good.begin(), good.end() - kTrailerSize - 300),
       PackageStatus::kUnknownVersion},
      {"cut to less than a trailer after the player", Bytes(good.begin(), good.begin() + kStub + 1000),
       PackageStatus::kTruncated},
      {"the bare player", Bytes(good.begin(), good.begin() + kStub), PackageStatus::kNoCard},
      {"version 2", version, PackageStatus::kUnknownVersion},
      {"card kind 4", kind, PackageStatus::kBadCardKind},
      {"sound reaching into the trailer", intoTrailer, PackageStatus::kPartOutsideFile},
      {"viewer file inside the player", intoPlayer, PackageStatus::kPartOutsideFile},
      {"picture offset wrapping past 4 GiB", wraps, PackageStatus::kPartOutsideFile},
      {"empty file", Bytes(), PackageStatus::kNoCard},
  };
  for (const Case& c : cases) EXPECT_EQ(c.status, Read(c.bytes)) << c.what;
  EXPECT_EQ(PackageStatus::kTruncated, Read(Bytes(100, 0), 0)) << "shorter than a trailer, player end unknown";
}

TEST_F(ReaderTest, EmptyPartsAreAbsentWhateverTheirOffset) {
  PackageContents c = Card();
  Bytes b = BuildPackage(c);
  Poke32(&b, 28, 0xFFFFFFF0u);  // video offset far outside, length 0
  EXPECT_EQ(PackageStatus::kOk, Read(b));
}

}  // namespace
