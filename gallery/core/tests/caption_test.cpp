// Shortening captions in the middle, measured at a fixed width per byte.
#include <gtest/gtest.h>

#include "galcore/caption.h"

using namespace galcore;

namespace {

constexpr int kCharWidth = 6;
const MeasureText kFixed = [](std::string_view s) { return int(s.size()) * kCharWidth; };

bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(CaptionTest, LongNamesAreShortenedInTheMiddle) {
  struct Case {
    const char* name;
    bool showExtension;
    int width;
    const char* expected;
  } cases[] = {
      {"short.jpg", true, 100, "short.jpg"},
      {"short.jpg", false, 100, "short"},
      {"averyveryverylongfilename.jpg", true, 100, "ave...ame.jpg"},
      {"averyveryverylongfilename.jpg", false, 100, "avery...ename"},
      // The extension leaves too little room, so it goes before the middle is cut.
      {"abcdefghijklmnop.jpeg", true, 60, "ab...op"},
      {"averyveryverylongfilename.jpg", true, 10, "..."},
      // Without the extension the text's own last "." splits it.
      {"holiday.at.the.seaside.jpg", false, 120, "hol...the.seaside"},
      {".aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", true, 90, ".aaa...aaaaa"},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(k.expected, CaptionText(k.name, k.showExtension, k.width, kFixed)) << k.name << " in " << k.width;
  }
}

TEST(CaptionTest, TwoByteCharactersAreNeverCut) {
  std::string name;
  for (int i = 0; i < 20; ++i) name += "\x82\xA0";
  name += ".jpg";
  for (int width = 30; width <= 150; width += 7) {
    const std::string caption = CaptionText(name, true, width, kFixed, ShiftJisLead);
    const size_t dots = caption.find("...");
    ASSERT_NE(std::string::npos, dots) << width;
    EXPECT_EQ(0u, dots % 2) << width;
    const size_t tail = caption.size() - dots - 3 - (caption.size() >= 4 && caption.compare(caption.size() - 4, 4, ".jpg") == 0 ? 4 : 0);
    EXPECT_EQ(0u, tail % 2) << width << ": " << caption;
  }
}

}  // namespace
