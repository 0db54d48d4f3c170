// Tests of CLeadBitmap: the whole result translation, a fresh object, and members forwarding to the toolkit
// with their results translated.
#include <cstdio>
#include <string>
#include <gtest/gtest.h>
#include <media/LeadBitmap.h>

namespace {

TEST(MapErrorLeadToNX, WholeTable) {
  struct Case { int lead; int nx; };
  const Case cases[] = {
      {1, 0},    {2, 5},    {-6, 5},   {13, 13},  {-62, 13}, {-61, 12}, {-60, 13}, {-45, 13}, {-38, 13},
      {-37, 12}, {-36, 13}, {-31, 13}, {-30, 13}, {-29, 12}, {50, 16},  {-65, 17}, {-14, 6},  {-13, 9},
      {-12, 3},  {-9, 3},   {-11, 10}, {-8, 4},   {-7, 7},   {-5, 7},   {-4, 7},   {-3, 2},   {-1, 2},
      {-2, 11},  {-21, 12}, {-20, 12}, {-10, 12}, {0, 12},   {3, 12},   {-63, 12}, {-66, 12}, {64, 12},
  };
  for (const Case& c : cases) EXPECT_EQ(c.nx, MapErrorLeadToNX(c.lead)) << "toolkit result " << c.lead;
}

TEST(CLeadBitmap, NewObjectIsOneByOneWithoutPixels) {
  CLeadBitmap bitmap;
  EXPECT_EQ(1, bitmap.Width);
  EXPECT_EQ(1, bitmap.Height);
  EXPECT_EQ(1, bitmap.BitsPerPixel);
  EXPECT_FALSE(bitmap.IsAllocated());
  EXPECT_EQ(static_cast<ORVLBITMAP*>(&bitmap), static_cast<ORVLBITMAP*>(bitmap));
  // Without pixels, pixel calls report the missing bitmap.
  EXPECT_EQ(NXE_NO_BITMAP, bitmap.Fill(0));
}

TEST(CLeadBitmap, MembersWorkOnTheObjectAndTranslateResults) {
  CLeadBitmap bitmap;
  ASSERT_EQ(0, bitmap.Create(ORVL_MEMORY_CONVENTIONAL, 640, 480, 24, ORVL_ORDER_BGR, nullptr, ORVL_TOP_LEFT));
  EXPECT_TRUE(bitmap.IsAllocated());
  EXPECT_EQ(0, bitmap.Fill(ORVL_RGB(10, 200, 30)));
  EXPECT_EQ(ORVL_RGB(10, 200, 30), bitmap.GetPixelColor(5, 7));
  EXPECT_EQ(0, bitmap.Rotate(90, ORVL_ROTATE_RESIZE, 0));
  EXPECT_EQ(480, bitmap.Width);
  EXPECT_EQ(640, bitmap.Height);
  EXPECT_EQ(0, bitmap.Resample(112, 84));
  EXPECT_EQ(112, bitmap.Width);
  uint8_t row[112 * 3] = {};
  EXPECT_EQ(0, bitmap.GetRow(row, 0, sizeof(row)));
  EXPECT_EQ(200, row[1]);
  EXPECT_EQ(NXE_INVALID_PARAMETER, bitmap.GetRow(row, 84, sizeof(row)));
  EXPECT_EQ(NXE_INVALID_BITS, bitmap.ColorRes(3, 0));

  // A copy of the record shares the pixels; they are freed once.
  CLeadBitmap copy(bitmap);
  EXPECT_EQ(bitmap.Data, copy.Data);
  bitmap.Free();
  EXPECT_FALSE(bitmap.IsAllocated());
}

TEST(CLeadBitmap, FileMembersTranslateFileFailures) {
  CLeadBitmap bitmap;
  EXPECT_EQ(NXE_FILE_NOT_FOUND, bitmap.Load("C:\\no-such-folder\\none.png", 24, ORVL_ORDER_BGR));
  ORVLFILEINFO info = {};
  info.uStructSize = sizeof(info);
  EXPECT_EQ(NXE_FILE_NOT_FOUND, CLeadBitmap::GetFileInfo("C:\\no-such-folder\\none.png", &info));
  ASSERT_EQ(0, bitmap.Create(ORVL_MEMORY_CONVENTIONAL, 40, 30, 24, ORVL_ORDER_BGR, nullptr, ORVL_TOP_LEFT));
  EXPECT_EQ(NXE_FILE_ACCESS, bitmap.SaveFile("C:\\no-such-folder\\out.png", ORVL_FMT_PNG, 24, 0, 0));

  char dir[MAX_PATH];
  GetTempPathA(sizeof(dir), dir);
  const std::string path = std::string(dir) + "leadbitmap_test.png";
  ASSERT_EQ(0, bitmap.SaveFile(path.c_str(), ORVL_FMT_PNG, 24, 0, 0));
  bitmap.Free();
  ASSERT_EQ(0, CLeadBitmap::GetFileInfo(path.c_str(), &info));
  EXPECT_EQ(ORVL_FMT_PNG, info.Format);
  CLeadBitmap loaded;
  EXPECT_EQ(0, loaded.Load(path.c_str(), 24, ORVL_ORDER_BGR));
  EXPECT_EQ(40, loaded.Width);
  EXPECT_EQ(30, loaded.Height);
  loaded.Free();
  std::remove(path.c_str());
}

}  // namespace
