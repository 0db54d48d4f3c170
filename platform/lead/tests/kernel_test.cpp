// Kernel operations on small bitmaps with exact expected pixels.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "lead/orvlead_core.h"
#include "test_util.h"

using namespace orvltest;

TEST(LeadKernel, InitGivesOneByOneOneBitWithoutMemory) {
  ORVLBITMAP b;
  ASSERT_EQ(ORVL_SUCCESS, orvlInitBitmap(&b, 1, 1, 1));
  EXPECT_EQ(1, b.Width);
  EXPECT_EQ(1, b.Height);
  EXPECT_EQ(1, b.BitsPerPixel);
  EXPECT_EQ(0u, b.Flags & ORVL_BITMAP_ALLOCATED);
  EXPECT_EQ(ORVL_ERROR_NO_BITMAP, orvlFlipBitmap(&b));
  EXPECT_EQ(ORVL_ERROR_INVALID_BITS, orvlInitBitmap(&b, 4, 4, 7));
  EXPECT_EQ(ORVL_ERROR_INVALID_SIZE, orvlInitBitmap(&b, 0, 4, 8));
  EXPECT_EQ(ORVL_ERROR_INVALID_SIZE, orvlInitBitmap(&b, 65535, 65535, 32));  // beyond the pixel limit
}

TEST(LeadKernel, CreateAllocatesAndFreeClearsTheBit) {
  ORVLBITMAP b;
  orvlInitBitmap(&b, 1, 1, 1);
  ASSERT_EQ(ORVL_SUCCESS, orvlCreateBitmap(&b, ORVL_MEMORY_CONVENTIONAL, 5, 3, 24, ORVL_ORDER_BGR, nullptr, ORVL_BOTTOM_LEFT));
  EXPECT_EQ(ORVL_BITMAP_ALLOCATED, b.Flags & ORVL_BITMAP_ALLOCATED);
  EXPECT_EQ(16, b.BytesPerLine);  // 15 bytes padded to 4
  orvlFreeBitmap(&b);
  EXPECT_EQ(0u, b.Flags & ORVL_BITMAP_ALLOCATED);
  orvlFreeBitmap(&b);  // a second free is harmless
}

TEST(LeadKernel, RowsAddressMemoryOrderAndPixelsTheView) {
  Owned b(makePattern(4, 3, 24, ORVL_ORDER_BGR, ORVL_BOTTOM_LEFT));
  uint8_t row[12];
  ASSERT_EQ(12, orvlGetBitmapRow(&b, row, 0, 12));
  // Memory row 0 of a bottom-left bitmap is the picture's last row.
  ORVLCOLOR c = patternColor(0, 2);
  EXPECT_EQ(uint8_t(c >> 16), row[0]);
  EXPECT_EQ(uint8_t(c), row[2]);
  EXPECT_EQ(ORVL_ERROR_INVALID_PARAM, orvlGetBitmapRow(&b, row, 3, 12));
  uint8_t white[12];
  std::fill(white, white + 12, 0xff);
  ASSERT_EQ(12, orvlPutBitmapRow(&b, white, 0, 100));  // count clipped to the line
  EXPECT_EQ(ORVL_RGB(255, 255, 255), orvlGetPixelColor(&b, 2, 3));
}

struct DepthCase { int bits; };
class LeadKernelDepth : public ::testing::TestWithParam<int> {};

TEST_P(LeadKernelDepth, Rotate90SwapsSizeAndMapsPixels) {
  const int bits = GetParam();
  // Sizes within one tile of the quarter turn and across several, uneven ones; both view perspectives.
  for (int view : {ORVL_TOP_LEFT, ORVL_BOTTOM_LEFT})
    for (auto size : {std::make_pair(5, 3), std::make_pair(70, 45)}) {
      const int w = size.first, h = size.second;
      SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " view " + std::to_string(view));
      Owned src(makePattern(w, h, bits, ORVL_ORDER_BGR, view));
      Owned b(makePattern(w, h, bits, ORVL_ORDER_BGR, view));
      ASSERT_EQ(ORVL_SUCCESS, orvlRotateBitmap(&b, 90, ORVL_ROTATE_RESIZE, 0));
      ASSERT_EQ(h, b->Width);
      ASSERT_EQ(w, b->Height);
      // Clockwise: new (x, y) shows old (y, h - 1 - x).
      for (int y = 0; y < w; ++y)
        for (int x = 0; x < h; ++x)
          ASSERT_EQ(orvlGetPixelColor(&src, h - 1 - x, y), orvlGetPixelColor(&b, y, x)) << x << "," << y;
      ASSERT_EQ(ORVL_SUCCESS, orvlRotateBitmap(&b, -90, ORVL_ROTATE_RESIZE, 0));
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(orvlGetPixelColor(&src, y, x), orvlGetPixelColor(&b, y, x));
    }
}

TEST_P(LeadKernelDepth, FlipAndReverseMirrorExactly) {
  const int bits = GetParam();
  Owned src(makePattern(7, 4, bits));
  Owned f(makePattern(7, 4, bits));
  Owned r(makePattern(7, 4, bits));
  ASSERT_EQ(ORVL_SUCCESS, orvlFlipBitmap(&f));
  ASSERT_EQ(ORVL_SUCCESS, orvlReverseBitmap(&r));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 7; ++x) {
      EXPECT_EQ(orvlGetPixelColor(&src, 3 - y, x), orvlGetPixelColor(&f, y, x));
      EXPECT_EQ(orvlGetPixelColor(&src, y, 6 - x), orvlGetPixelColor(&r, y, x));
    }
}

TEST_P(LeadKernelDepth, Rotate180AndCopyRectKeepPixels) {
  const int bits = GetParam();
  Owned src(makePattern(6, 5, bits));
  Owned b(makePattern(6, 5, bits));
  ASSERT_EQ(ORVL_SUCCESS, orvlRotateBitmap(&b, 180, 0, 0));
  EXPECT_EQ(orvlGetPixelColor(&src, 4, 5), orvlGetPixelColor(&b, 0, 0));
  Owned rect;
  ASSERT_EQ(ORVL_SUCCESS, orvlCopyBitmapRect(&rect, &src, 2, 1, 3, 3));
  EXPECT_EQ(3, rect->Width);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(orvlGetPixelColor(&src, y + 1, x + 2), orvlGetPixelColor(&rect, y, x));
}

INSTANTIATE_TEST_SUITE_P(Depths, LeadKernelDepth, ::testing::Values(1, 4, 8, 24, 32));

TEST(LeadKernel, ResampleOfConstantPictureStaysConstant) {
  const int sizes[][4] = {{37, 23, 5, 3}, {40, 30, 112, 112}, {3, 2, 17, 29}, {100, 100, 33, 67}};
  for (auto& s : sizes) {
    Owned b;
    ASSERT_EQ(ORVL_SUCCESS, orvlCreateBitmap(&b, 1, s[0], s[1], 24, ORVL_ORDER_BGR, nullptr, ORVL_TOP_LEFT));
    orvlFillBitmap(&b, ORVL_RGB(200, 17, 99));
    ASSERT_EQ(ORVL_SUCCESS, orvlResampleBitmap(&b, s[2], s[3]));
    ASSERT_EQ(s[2], b->Width);
    for (int y = 0; y < s[3]; ++y)
      for (int x = 0; x < s[2]; ++x) ASSERT_EQ(ORVL_RGB(200, 17, 99), orvlGetPixelColor(&b, y, x)) << x << "," << y;
  }
}

TEST(LeadKernel, ResampleHalvesByAveraging) {
  Owned b;
  orvlCreateBitmap(&b, 1, 4, 2, 24, ORVL_ORDER_RGB, nullptr, ORVL_BOTTOM_LEFT);
  for (int x = 0; x < 4; ++x) {
    orvlPutPixelColor(&b, 0, x, x < 2 ? ORVL_RGB(0, 0, 0) : ORVL_RGB(100, 100, 100));
    orvlPutPixelColor(&b, 1, x, x < 2 ? ORVL_RGB(200, 200, 200) : ORVL_RGB(100, 100, 100));
  }
  ASSERT_EQ(ORVL_SUCCESS, orvlResampleBitmap(&b, 2, 1));
  EXPECT_EQ(ORVL_RGB(100, 100, 100), orvlGetPixelColor(&b, 0, 0));
  EXPECT_EQ(ORVL_RGB(100, 100, 100), orvlGetPixelColor(&b, 0, 1));
}

TEST(LeadKernel, ResizeNearestKeepsDepthAndPicksPixels) {
  Owned src(makePattern(4, 4, 8));
  Owned b(makePattern(4, 4, 8));
  ASSERT_EQ(ORVL_SUCCESS, orvlSizeBitmap(&b, 8, 2, ORVL_SIZE_NORMAL));
  EXPECT_EQ(8, b->BitsPerPixel);
  // Pixel centres: destination x 2 samples source x 1, destination row 0 source row 1.
  EXPECT_EQ(orvlGetPixelColor(&src, 1, 1), orvlGetPixelColor(&b, 0, 2));
  EXPECT_EQ(orvlGetPixelColor(&src, 3, 3), orvlGetPixelColor(&b, 1, 7));
}

TEST(LeadKernel, ColorResTo8BitsKeepsFewColoursExactly) {
  Owned b;
  orvlCreateBitmap(&b, 1, 10, 10, 24, ORVL_ORDER_BGR, nullptr, ORVL_TOP_LEFT);
  const ORVLCOLOR colors[3] = {ORVL_RGB(255, 0, 0), ORVL_RGB(12, 200, 40), ORVL_RGB(1, 2, 3)};
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) orvlPutPixelColor(&b, y, x, colors[(x + y) % 3]);
  ASSERT_EQ(ORVL_SUCCESS, orvlColorResBitmap(&b, &b, 8, ORVL_CRF_OPTIMIZEDPALETTE | ORVL_CRF_FLOYDSTEINDITHER, nullptr, 0));
  EXPECT_EQ(8, b->BitsPerPixel);
  EXPECT_EQ(3, b->nColors);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(colors[(x + y) % 3], orvlGetPixelColor(&b, y, x));
}

TEST(LeadKernel, ColorResDitherKeepsAverageAndOneBitIsBlackWhite) {
  for (uint32_t flags : {0u, uint32_t(ORVL_CRF_FLOYDSTEINDITHER), uint32_t(ORVL_CRF_ORDEREDDITHER)}) {
    Owned b;
    orvlCreateBitmap(&b, 1, 64, 64, 24, ORVL_ORDER_BGR, nullptr, ORVL_TOP_LEFT);
    orvlFillBitmap(&b, ORVL_RGB(128, 128, 128));
    Owned one;
    ASSERT_EQ(ORVL_SUCCESS, orvlColorResBitmap(&b, &one, 1, flags, nullptr, 0));
    int white = 0;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        ORVLCOLOR c = orvlGetPixelColor(&one, y, x);
        ASSERT_TRUE(c == 0 || c == ORVL_RGB(255, 255, 255));
        white += c != 0;
      }
    if (flags) EXPECT_NEAR(64 * 64 / 2, white, 64 * 64 / 10) << flags;  // dithering keeps mid grey
    else EXPECT_EQ(64 * 64, white);
  }
  // Large pictures with many colours get a full optimised palette.
  Owned big(makePattern(64, 64, 24));
  ASSERT_EQ(ORVL_SUCCESS, orvlColorResBitmap(&big, &big, 4, ORVL_CRF_OPTIMIZEDPALETTE, nullptr, 0));
  EXPECT_EQ(16, big->nColors);
}

TEST(LeadKernel, RotateAnyAngleGrowsCanvasAndFills) {
  Owned b;
  orvlCreateBitmap(&b, 1, 40, 20, 24, ORVL_ORDER_BGR, nullptr, ORVL_TOP_LEFT);
  orvlFillBitmap(&b, ORVL_RGB(10, 20, 30));
  ASSERT_EQ(ORVL_SUCCESS, orvlRotateBitmapFine(&b, 4500, ORVL_ROTATE_RESIZE, ORVL_RGB(255, 255, 255)));
  EXPECT_NEAR(int(60 / 1.41421356 + 0.5) + 1, b->Width, 2);
  EXPECT_EQ(b->Width, b->Height);
  EXPECT_EQ(ORVL_RGB(255, 255, 255), orvlGetPixelColor(&b, 0, 0));
  EXPECT_EQ(ORVL_RGB(10, 20, 30), orvlGetPixelColor(&b, b->Height / 2, b->Width / 2));
  Owned keep;
  orvlCreateBitmap(&keep, 1, 40, 20, 24, ORVL_ORDER_BGR, nullptr, ORVL_TOP_LEFT);
  ASSERT_EQ(ORVL_SUCCESS, orvlRotateBitmap(&keep, 30, 0, 0));
  EXPECT_EQ(40, keep->Width);
  EXPECT_EQ(20, keep->Height);
  Owned one(makePattern(8, 8, 1));
  EXPECT_EQ(ORVL_ERROR_INVALID_BITS, orvlRotateBitmap(&one, 30, 0, 0));
}

TEST(LeadKernel, ViewPerspectiveChangeKeepsPicture) {
  Owned src(makePattern(5, 4, 24));
  Owned b;
  ASSERT_EQ(ORVL_SUCCESS, orvlChangeBitmapViewPerspective(&b, &src, ORVL_BOTTOM_LEFT));
  EXPECT_EQ(ORVL_BOTTOM_LEFT, b->ViewPerspective);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(orvlGetPixelColor(&src, y, x), orvlGetPixelColor(&b, y, x));
}

TEST(LeadKernel, CombineAndUnderlay) {
  Owned a, b;
  orvlCreateBitmap(&a, 1, 4, 4, 24, ORVL_ORDER_BGR, nullptr, ORVL_TOP_LEFT);
  orvlCreateBitmap(&b, 1, 2, 2, 24, ORVL_ORDER_RGB, nullptr, ORVL_TOP_LEFT);
  orvlFillBitmap(&a, ORVL_RGB(100, 50, 10));
  orvlFillBitmap(&b, ORVL_RGB(10, 20, 30));
  ASSERT_EQ(ORVL_SUCCESS, orvlCombineBitmap(&a, 1, 1, 2, 2, &b, 0, 0, ORVL_COMBINE_ADD));
  EXPECT_EQ(ORVL_RGB(110, 70, 40), orvlGetPixelColor(&a, 1, 1));
  EXPECT_EQ(ORVL_RGB(100, 50, 10), orvlGetPixelColor(&a, 0, 0));
  orvlFillBitmap(&b, ORVL_RGB(255, 0, 255));
  ASSERT_EQ(ORVL_SUCCESS, orvlUnderlayBitmap(&a, &b, ORVL_UNDERLAY_TILE));
  EXPECT_EQ(ORVL_RGB(100, 0, 10), orvlGetPixelColor(&a, 0, 0));
}

TEST(LeadKernel, GreyScaleHalfToneShearAndHeight) {
  Owned b(makePattern(6, 6, 24));
  ASSERT_EQ(ORVL_SUCCESS, orvlGrayScaleBitmap(&b, 8));
  ORVLCOLOR c = orvlGetPixelColor(&b, 2, 3);
  EXPECT_EQ(c & 0xff, (c >> 8) & 0xff);
  Owned h(makePattern(16, 16, 24));
  ASSERT_EQ(ORVL_SUCCESS, orvlHalfToneBitmap(&h, 4));
  EXPECT_EQ(1, h->BitsPerPixel);
  Owned s(makePattern(10, 10, 24));
  ASSERT_EQ(ORVL_SUCCESS, orvlShearBitmap(&s, 4500, 1, 0));
  EXPECT_EQ(20, s->Width);
  ASSERT_EQ(ORVL_SUCCESS, orvlChangeBitmapHeight(&s, 3));
  EXPECT_EQ(3, s->Height);
}
