// Native tests of the player's helpers: skin bitmaps accepted only when GDI can read them safely, link
// addresses that may be opened, postmark moments, and resizing.
#include <gtest/gtest.h>

#include <cstring>

#include "nxplay/viewer.h"
#include "skin_bytes.h"

using namespace nxplay;
using nxplay_test::SkinFile;

namespace {

void Put32(std::vector<uint8_t>* f, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*f)[at + i] = uint8_t(v >> (8 * i));
}

TEST(SkinTest, GoodFilesGiveTheirRows) {
  SkinBitmap s;
  std::vector<uint8_t> f = SkinFile(5, 3);
  ASSERT_TRUE(ParseSkinBitmap(f.data(), f.size(), &s));
  EXPECT_EQ(5, s.width);
  EXPECT_EQ(3, s.height);
  EXPECT_FALSE(s.topDown);
  EXPECT_EQ(16u, s.stride);
  EXPECT_EQ(54u, s.bitsOffset);
  f = SkinFile(4, 2, true);
  ASSERT_TRUE(ParseSkinBitmap(f.data(), f.size(), &s));
  EXPECT_TRUE(s.topDown);
  EXPECT_EQ(2, s.height);
}

TEST(SkinTest, AnythingGdiWouldReadWronglyIsRefused) {
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
    int width;
  } cases[] = {{"not BM", 0, 'X', 5},
               {"bits start inside the headers", 10, 40, 5},
               {"bits start past the end", 10, 100000, 5},
               {"larger header", 14, 124, 5},
               {"two planes", 26, 2, 5},
               {"8 bits", 28, 8, 5},
               {"compressed", 30, 1, 5},
               {"colour table", 46, 16, 5},
               {"width 0", 18, 0, 5},
               {"negative width", 18, uint32_t(-5), 5},
               {"height 0", 22, 0, 5},
               {"too wide", 18, 1025, 5},
               {"more rows than data", 22, 4, 5},
               {"height -2^31", 22, 0x80000000u, 5}};
  for (const Case& c : cases) {
    std::vector<uint8_t> f = SkinFile(c.width, 3);
    if (c.at == 0)
      f[0] = uint8_t(c.value);
    else if (c.at == 26 || c.at == 28)
      f[c.at] = uint8_t(c.value);
    else
      Put32(&f, c.at, c.value);
    SkinBitmap s;
    EXPECT_FALSE(ParseSkinBitmap(f.data(), f.size(), &s)) << c.what;
  }
  const std::vector<uint8_t> f = SkinFile(5, 3);
  SkinBitmap s;
  EXPECT_FALSE(ParseSkinBitmap(f.data(), f.size() - 1, &s)) << "last row cut short";
  EXPECT_FALSE(ParseSkinBitmap(f.data(), 40, &s)) << "headers cut short";
  EXPECT_FALSE(ParseSkinBitmap(nullptr, 0, &s));
}

TEST(LinkTest, OnlyWebAndMailAddressesOpen) {
  struct Case {
    const char* address;
    const char* target;
  } cases[] = {
      {"http://www.example.org/x?y=1", "http://www.example.org/x?y=1"},
      {"HTTPS://example.org", "HTTPS://example.org"},
      {"ftp://files.example.org/a", "ftp://files.example.org/a"},
      {"mailto:ann@example.org", "mailto:ann@example.org"},
      {"www.example.org", "http://www.example.org"},
      {"  example.org/holiday#top  ", "http://example.org/holiday#top"},
      {"", ""},
      {"   ", ""},
      {"C:\\Windows\\system32\\calc.exe", ""},
      {"c:/windows/notepad.exe", ""},
      {"\\\\server\\share\\run.exe", ""},
      {"file:///C:/autoexec.bat", ""},
      {"javascript:alert(1)", ""},
      {"notepad.exe", "http://notepad.exe"},  // a host name to the browser, never a program
      {"calc", ""},
      {"http://", ""},
      {"mailto:", ""},
      {"www.example.org\\..\\x", ""},
      {"http://example.org/\x01", ""},
      {"http://example.org/\" -x", ""},
      {".example.org", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.target, LinkTarget(c.address)) << c.address;
}

TEST(PostmarkTest, RealMomentsOnly) {
  PostmarkTime t;
  ASSERT_TRUE(PostmarkFromCreated(cardpackage::CreatedStamp{8, 7, 6, 5, 3, 103, 6, 94, 1}, &t));
  EXPECT_EQ(2003, t.year);
  EXPECT_EQ(4, t.month);
  EXPECT_EQ(5, t.day);
  EXPECT_EQ(6, t.hour);
  EXPECT_EQ(7, t.minute);
  EXPECT_EQ(8, t.second);
  EXPECT_EQ(6, t.dayOfWeek);
  EXPECT_TRUE(PostmarkFromCreated(cardpackage::CreatedStamp{0, 0, 0, 29, 1, 100, 2, 59, 0}, &t)) << "2000-02-29";
  const cardpackage::CreatedStamp bad[] = {
      {0, 0, 0, 29, 1, 101, 0, 0, 0},  // 2001-02-29
      {0, 0, 0, 0, 0, 100, 0, 0, 0},   // day 0
      {0, 0, 0, 31, 3, 100, 0, 0, 0},  // April 31
      {0, 0, 0, 1, 12, 100, 0, 0, 0},  // month 12
      {0, 0, 24, 1, 0, 100, 0, 0, 0},  // hour 24
      {0, 60, 0, 1, 0, 100, 0, 0, 0},  // minute 60
      {0, 0, 0, 1, 0, 100, 7, 0, 0},   // day of week 7
  };
  for (const auto& c : bad) EXPECT_FALSE(PostmarkFromCreated(c, &t)) << c.dayOfMonth << "/" << c.month;
}

TEST(ResizeTest, ShrinkingAveragesAndGrowingInterpolates) {
  // A 4 x 2 picture of two 2 x 2 blocks (black, white) shrinks to 2 x 1 exactly.
  const uint8_t src[] = {0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255,
                         0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255};
  uint8_t dst[6];
  ResizePixels(src, 4, 2, 12, dst, 2, 1, 6);
  EXPECT_EQ(0, dst[0]);
  EXPECT_EQ(255, dst[3]);
  // A black-white edge shrunk to one pixel is mid grey.
  uint8_t one[3];
  ResizePixels(src, 4, 2, 12, one, 1, 1, 3);
  EXPECT_NEAR(128, one[0], 1);
  // Growing 2 x 1 to 4 x 1 keeps the ends and blends the middle.
  const uint8_t two[] = {0, 0, 0, 200, 200, 200};
  uint8_t four[12];
  ResizePixels(two, 2, 1, 6, four, 4, 1, 12);
  EXPECT_EQ(0, four[0]);
  EXPECT_EQ(200, four[9]);
  EXPECT_GT(four[3], 0);
  EXPECT_LT(four[6], 200);
  EXPECT_LT(four[3], four[6]);
  // A flat colour stays flat at any size, rows padded or not.
  std::vector<uint8_t> flat(7 * 5 * 3, 77), out(16 * 3 * 11, 0);
  ResizePixels(flat.data(), 7, 5, 21, out.data(), 11, 3, 16 * 3);
  for (int y = 0; y < 3; ++y)
    for (int i = 0; i < 33; ++i) ASSERT_EQ(77, out[size_t(y) * 48 + i]);
}

TEST(FitTest, KeepsAspectInsideTheBox) {
  int w, h;
  FitInside(320, 240, 620, 413, &w, &h);
  EXPECT_EQ(551, w);
  EXPECT_EQ(413, h);
  FitInside(4000, 1000, 620, 413, &w, &h);
  EXPECT_EQ(620, w);
  EXPECT_EQ(155, h);
  FitInside(0, 10, 100, 100, &w, &h);
  EXPECT_EQ(1, w);
  FitInside(1, 60000, 100, 100, &w, &h);
  EXPECT_EQ(1, w);
  EXPECT_EQ(100, h);
}

}  // namespace
