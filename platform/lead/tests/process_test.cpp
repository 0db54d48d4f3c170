// Image processing calls on small 24-bit and 8-bit grey pictures.
#include <gtest/gtest.h>

#include "lead/orvlead_core.h"
#include "test_util.h"

using namespace orvltest;

namespace {
ORVLBITMAP solid(int w, int h, ORVLCOLOR c, int bits = 24) {
  ORVLBITMAP b;
  orvlInitBitmap(&b, 1, 1, 1);
  orvlCreateBitmap(&b, 1, w, h, bits, ORVL_ORDER_BGR, nullptr, ORVL_BOTTOM_LEFT);
  orvlFillBitmap(&b, c);
  return b;
}
}  // namespace

TEST(LeadProcess, PointOperations) {
  struct Case { const char* what; int (*op)(ORVLBITMAP*); ORVLCOLOR in, out; };
  const Case cases[] = {
      {"invert", [](ORVLBITMAP* b) { return orvlInvert(b); }, ORVL_RGB(10, 20, 30), ORVL_RGB(245, 235, 225)},
      {"intensity", [](ORVLBITMAP* b) { return orvlChangeIntensity(b, 50); }, ORVL_RGB(10, 220, 30), ORVL_RGB(60, 255, 80)},
      {"posterize", [](ORVLBITMAP* b) { return orvlPosterize(b, 2); }, ORVL_RGB(10, 200, 127), ORVL_RGB(0, 255, 0)},
      {"gamma 1", [](ORVLBITMAP* b) { return orvlGammaCorrect(b, 100); }, ORVL_RGB(10, 200, 127), ORVL_RGB(10, 200, 127)},
      {"contrast 0", [](ORVLBITMAP* b) { return orvlChangeContrast(b, 0); }, ORVL_RGB(1, 2, 3), ORVL_RGB(1, 2, 3)},
      {"hue 120", [](ORVLBITMAP* b) { return orvlChangeHue(b, 120); }, ORVL_RGB(255, 0, 0), ORVL_RGB(0, 255, 0)},
      {"desaturate", [](ORVLBITMAP* b) { return orvlChangeSaturation(b, -100); }, ORVL_RGB(255, 0, 0), ORVL_RGB(255, 255, 255)},
      {"detect", [](ORVLBITMAP* b) { return orvlIntensityDetect(b, 100, 150); }, ORVL_RGB(128, 128, 128), ORVL_RGB(255, 255, 255)},
      {"despeckle flat", [](ORVLBITMAP* b) { return orvlDespeckle(b); }, ORVL_RGB(9, 8, 7), ORVL_RGB(9, 8, 7)},
      {"average flat", [](ORVLBITMAP* b) { return orvlAverageFilter(b, 5); }, ORVL_RGB(9, 8, 7), ORVL_RGB(9, 8, 7)},
      {"sharpen flat", [](ORVLBITMAP* b) { return orvlSharpen(b, 80); }, ORVL_RGB(9, 8, 7), ORVL_RGB(9, 8, 7)},
      {"emboss flat", [](ORVLBITMAP* b) { return orvlEmboss(b, ORVL_EMBOSS_NE, 50); }, ORVL_RGB(9, 8, 7), ORVL_RGB(128, 128, 128)},
      {"mosaic flat", [](ORVLBITMAP* b) { return orvlMosaic(b, 3); }, ORVL_RGB(9, 8, 7), ORVL_RGB(9, 8, 7)},
  };
  for (const Case& c : cases) {
    Owned b(solid(7, 5, c.in));
    ASSERT_EQ(ORVL_SUCCESS, c.op(&b)) << c.what;
    EXPECT_EQ(c.out, orvlGetPixelColor(&b, 2, 3)) << c.what;
  }
}

TEST(LeadProcess, MedianRemovesASpeckAndAverageSpreadsIt) {
  Owned m(solid(9, 9, 0));
  orvlPutPixelColor(&m, 4, 4, ORVL_RGB(255, 255, 255));
  Owned a(solid(9, 9, 0));
  orvlPutPixelColor(&a, 4, 4, ORVL_RGB(90, 90, 90));
  ASSERT_EQ(ORVL_SUCCESS, orvlMedianFilter(&m, 3));
  ASSERT_EQ(ORVL_SUCCESS, orvlAverageFilter(&a, 3));
  EXPECT_EQ(0u, orvlGetPixelColor(&m, 4, 4));
  EXPECT_EQ(ORVL_RGB(10, 10, 10), orvlGetPixelColor(&a, 3, 3));
  EXPECT_EQ(ORVL_ERROR_INVALID_PARAM, orvlMedianFilter(&m, 4));
}

TEST(LeadProcess, HistogramRemapAndStretchOnGrey) {
  Owned g(solid(4, 4, ORVL_RGB(100, 100, 100), 8));
  orvlPutPixelColor(&g, 0, 0, ORVL_RGB(50, 50, 50));
  uint32_t hist[256];
  ASSERT_EQ(ORVL_SUCCESS, orvlGetHistogram(&g, hist, 256, ORVL_CHANNEL_MASTER));
  EXPECT_EQ(15u, hist[100]);
  EXPECT_EQ(1u, hist[50]);
  ASSERT_EQ(ORVL_SUCCESS, orvlStretchIntensity(&g));
  EXPECT_EQ(0u, orvlGetPixelColor(&g, 0, 0));
  EXPECT_EQ(ORVL_RGB(255, 255, 255), orvlGetPixelColor(&g, 1, 1));
  uint8_t lut[256];
  for (int i = 0; i < 256; ++i) lut[i] = uint8_t(i / 2);
  Owned c(solid(2, 2, ORVL_RGB(200, 100, 50)));
  ASSERT_EQ(ORVL_SUCCESS, orvlRemapIntensity(&c, lut, 256, ORVL_CHANNEL_RED));
  EXPECT_EQ(ORVL_RGB(100, 100, 50), orvlGetPixelColor(&c, 0, 0));
  ASSERT_EQ(ORVL_SUCCESS, orvlRemapIntensity(&c, lut, 256, ORVL_CHANNEL_MASTER));
  EXPECT_EQ(ORVL_RGB(50, 50, 25), orvlGetPixelColor(&c, 0, 0));
  Owned pal(makePattern(4, 4, 8));  // a colour palette is not a grey picture
  EXPECT_EQ(ORVL_ERROR_INVALID_BITS, orvlInvert(&pal));
}

TEST(LeadProcess, SeparateAndMergeRoundTrip) {
  Owned src(makePattern(6, 4, 24));
  Owned r, g, b;
  ORVLBITMAP* planes[3] = {&r, &g, &b};
  ASSERT_EQ(ORVL_SUCCESS, orvlColorSeparate(&src, planes, ORVL_COLORSEP_RGB));
  EXPECT_EQ(patternColor(3, 2) & 0xff, orvlGetPixelColor(&r, 2, 3) & 0xff);
  Owned merged;
  ASSERT_EQ(ORVL_SUCCESS, orvlColorMerge(&merged, planes, ORVL_COLORSEP_RGB));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(orvlGetPixelColor(&src, y, x), orvlGetPixelColor(&merged, y, x));
}

TEST(LeadProcess, HistoEqualizeSpreadsAndSpatialFilterAppliesKernel) {
  Owned g(solid(4, 1, ORVL_RGB(100, 100, 100), 8));
  orvlPutPixelColor(&g, 0, 0, ORVL_RGB(101, 101, 101));
  ASSERT_EQ(ORVL_SUCCESS, orvlHistoEqualize(&g));
  EXPECT_EQ(0u, orvlGetPixelColor(&g, 0, 1));
  EXPECT_EQ(ORVL_RGB(255, 255, 255), orvlGetPixelColor(&g, 0, 0));
  ORVLSPATIALFLT f = {3, 1, 0, {0, 0, 0, 0, 2, 0, 0, 0, 0}};
  Owned c(solid(3, 3, ORVL_RGB(10, 20, 30)));
  ASSERT_EQ(ORVL_SUCCESS, orvlSpatialFilter(&c, &f));
  EXPECT_EQ(ORVL_RGB(20, 40, 60), orvlGetPixelColor(&c, 1, 1));
  f.Divisor = 0;
  EXPECT_EQ(ORVL_ERROR_INVALID_PARAM, orvlSpatialFilter(&c, &f));
}

TEST(LeadProcess, DeskewFindsTheSlantOfLines) {
  Owned b(solid(200, 200, ORVL_RGB(255, 255, 255)));
  // Dark lines sloping down to the right by about 3 degrees.
  for (int line = 30; line < 180; line += 20)
    for (int x = 10; x < 190; ++x) {
      int y = line + x * 524 / 10000;
      orvlPutPixelColor(&b, y, x, 0);
      orvlPutPixelColor(&b, y + 1, x, 0);
    }
  int32_t angle = 0;
  ASSERT_EQ(ORVL_SUCCESS, orvlDeskew(&b, &angle, ORVL_RGB(255, 255, 255)));
  EXPECT_NEAR(300, std::abs(angle), 50);
}
