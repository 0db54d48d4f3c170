// Windows bitmap calls of the toolkit DLL: packed DIBs, device bitmaps, painting, printing, clipboard.
#include <gtest/gtest.h>
#include <windows.h>

#include "lead/orvlead.h"
#include "test_util.h"

using namespace orvltest;

namespace {

// A memory DC drawing into a top-down 24-bit DIB section, to read painted pixels back.
struct Canvas {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP section = nullptr;
  uint8_t* bits = nullptr;
  HGDIOBJ old = nullptr;
  int width, height, stride;
  Canvas(int w, int h) : width(w), height(h), stride((w * 3 + 3) & ~3) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    section = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    old = SelectObject(dc, section);
  }
  ~Canvas() { SelectObject(dc, old); DeleteObject(section); DeleteDC(dc); }
  ORVLCOLOR at(int x, int y) {
    GdiFlush();
    const uint8_t* p = bits + y * stride + x * 3;
    return ORVL_RGB(p[2], p[1], p[0]);
  }
};

}  // namespace

TEST(LeadWin, PackedDibRoundTripsEveryDepthAndView) {
  for (int bits : {1, 4, 8, 24, 32})
    for (int view : {ORVL_TOP_LEFT, ORVL_BOTTOM_LEFT}) {
      SCOPED_TRACE(testing::Message() << bits << " bits, view " << view);
      Owned src(makePattern(9, 5, bits, ORVL_ORDER_RGB, view));
      HGLOBAL dib = orvlConvertToDIB(&src);
      ASSERT_NE(nullptr, dib);
      const BITMAPINFOHEADER* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
      EXPECT_EQ(9, h->biWidth);
      EXPECT_EQ(5, h->biHeight);
      EXPECT_EQ(bits, h->biBitCount);
      GlobalUnlock(dib);
      Owned back;
      ASSERT_EQ(ORVL_SUCCESS, orvlChangeFromDIB(&back, dib));  // frees the handle
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x) ASSERT_EQ(orvlGetPixelColor(&src, y, x), orvlGetPixelColor(&back, y, x));
    }
}

TEST(LeadWin, DeviceBitmapRoundTrip) {
  Owned src(makePattern(7, 6, 24));
  HDC screen = GetDC(nullptr);
  HBITMAP ddb = orvlConvertToDDB(screen, &src);
  ASSERT_NE(nullptr, ddb);
  Owned back;
  ASSERT_EQ(ORVL_SUCCESS, orvlChangeFromDDB(screen, &back, ddb, nullptr));
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(7, back->Width);
  // The screen may hold fewer colour bits than 24; compare within its quantisation.
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 7; ++x) {
      ORVLCOLOR a = orvlGetPixelColor(&src, y, x), b = orvlGetPixelColor(&back, y, x);
      for (int k = 0; k < 3; ++k) EXPECT_NEAR(int((a >> (8 * k)) & 0xff), int((b >> (8 * k)) & 0xff), 8);
    }
}

TEST(LeadWin, PaintStretchesWithTheRasterOperationAndSourceRectangle) {
  Owned src(makePattern(4, 4, 24, ORVL_ORDER_BGR, ORVL_TOP_LEFT));
  Canvas c(8, 8);
  RECT dst = {0, 0, 8, 8};
  ASSERT_EQ(ORVL_SUCCESS, orvlPaintDC(c.dc, &src, nullptr, nullptr, &dst, nullptr, SRCCOPY));
  EXPECT_EQ(orvlGetPixelColor(&src, 0, 0), c.at(0, 0));
  EXPECT_EQ(orvlGetPixelColor(&src, 3, 1), c.at(3, 7));
  // Source rectangle: the bottom-right quarter fills the canvas; then NOTSRCCOPY inverts.
  RECT part = {2, 2, 4, 4};
  ASSERT_EQ(ORVL_SUCCESS, orvlPaintDC(c.dc, &src, &part, nullptr, &dst, nullptr, SRCCOPY));
  EXPECT_EQ(orvlGetPixelColor(&src, 2, 2), c.at(0, 0));
  ASSERT_EQ(ORVL_SUCCESS, orvlPaintDC(c.dc, &src, nullptr, nullptr, &dst, nullptr, NOTSRCCOPY));
  EXPECT_EQ(orvlGetPixelColor(&src, 0, 0) ^ 0xffffffu, c.at(0, 0));
  // The printing path paints the same way into whatever DC it is given.
  Canvas p(4, 4);
  EXPECT_EQ(p.dc, orvlPrintBitmap(p.dc, &src, 0, 0, 4, 4));
  EXPECT_EQ(orvlGetPixelColor(&src, 1, 2), p.at(2, 1));
  HPALETTE pal = orvlCreatePaintPalette(p.dc, &src);
  EXPECT_NE(nullptr, pal);
  DeleteObject(pal);
}

TEST(LeadWin, ClipboardRoundTrip) {
  Owned src(makePattern(5, 3, 24));
  ASSERT_EQ(ORVL_SUCCESS, orvlCopyToClipboard(nullptr, &src));
  EXPECT_EQ(1, orvlIsClipboardReady());
  Owned back;
  ASSERT_EQ(ORVL_SUCCESS, orvlCopyFromClipboard(nullptr, &back));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(orvlGetPixelColor(&src, y, x), orvlGetPixelColor(&back, y, x));
}
