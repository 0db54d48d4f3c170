// Tests of imagio's plain rules: the cursor functions, the module list, extensions, combined filters, line
// lengths and thumbnail fitting.
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include <imagio/imagebuf.h>
#include "imgfile_logic.h"
#include "nxlist.h"

namespace {

using namespace imagio;

struct Buffer {
  std::vector<uint8_t> bytes;
  tagIMAGEBUFDESC desc;
  Buffer(uint32_t width, uint32_t height, uint32_t bytesPerLine, bool upsideDown = false,
         tagOPACITY opacity = OPACITY_OPAQUE)
      : bytes(size_t(bytesPerLine) * height, 0) {
    SetImageBuffer(&desc, bytes.data(), width, height, bytesPerLine, upsideDown, COLORMODEL_RGB,
                   COMPONENTORDER_NORMAL, opacity);
  }
  ptrdiff_t At() const { return desc.currentPixel - bytes.data(); }
  void Put(ptrdiff_t offset) { desc.currentPixel = bytes.data() + offset; }
};

TEST(Cursor, SetAndResetPutTheCursorOnTheTopLine) {
  Buffer down(101, 10, 304, true);
  EXPECT_EQ(2736, down.At());
  EXPECT_EQ(304u, down.desc.bytesPerLine);
  Buffer up(101, 10, 304);
  EXPECT_EQ(0, up.At());
  std::vector<uint8_t> other(3040);
  EXPECT_EQ(IMGFILERR_OK, ResetImageBuffer(&down.desc, other.data()));
  EXPECT_EQ(other.data() + 2736, down.desc.currentPixel);
}

TEST(Cursor, LineMovesKeepTheColumnAndStopAtTheEdges) {
  Buffer b(101, 3, 304);
  b.Put(6);
  EXPECT_EQ(IMGFILERR_OK, ImageBufferNextLine(&b.desc));
  EXPECT_EQ(310, b.At());
  EXPECT_EQ(IMGFILERR_OK, ImageBufferNextLine(&b.desc));
  EXPECT_EQ(IMGFILERR_OUTOFBUFFER, ImageBufferNextLine(&b.desc));
  EXPECT_EQ(614, b.At());
  Buffer down(101, 3, 304, true);
  EXPECT_EQ(IMGFILERR_OK, ImageBufferNextLine(&down.desc));  // down the image is back in memory
  EXPECT_EQ(304, down.At());
  EXPECT_EQ(IMGFILERR_OK, ImageBufferPrevLine(&down.desc));
  EXPECT_EQ(IMGFILERR_OUTOFBUFFER, ImageBufferPrevLine(&down.desc));
  EXPECT_EQ(608, down.At());
}

TEST(Cursor, PixelMovesCorrectForPadding) {
  struct Case {
    const char* what;
    uint32_t width, bytesPerLine;
    ptrdiff_t from;
    tagIMGFILERR (*move)(tagIMAGEBUFDESC*);
    tagIMGFILERR result;
    ptrdiff_t to;
  } cases[] = {
      {"next from the last pixel skips the padding", 101, 304, 300, ImageBufferNextPixel, IMGFILERR_OK, 304},
      {"next inside a line", 101, 304, 3, ImageBufferNextPixel, IMGFILERR_OK, 6},
      {"prev from a line start lands on the last pixel", 101, 304, 304, ImageBufferPrevPixel, IMGFILERR_OK, 300},
      {"prev without padding", 100, 300, 300, ImageBufferPrevPixel, IMGFILERR_OK, 297},
      {"prev on the very first pixel", 100, 300, 0, ImageBufferPrevPixel, IMGFILERR_OUTOFBUFFER, 0},
      {"next on the very last pixel", 100, 300, 897, ImageBufferNextPixel, IMGFILERR_OUTOFBUFFER, 897},
      {"next from the last pixel of the last padded line", 101, 304, 908, ImageBufferNextPixel,
       IMGFILERR_OUTOFBUFFER, 908},
  };
  for (const Case& c : cases) {
    Buffer b(c.width, 3, c.bytesPerLine);
    b.Put(c.from);
    EXPECT_EQ(c.result, c.move(&b.desc)) << c.what;
    EXPECT_EQ(c.to, b.At()) << c.what;
  }
}

TEST(Cursor, MultiPixelStepsCountPaddingAsDistance) {
  Buffer exact(100, 3, 300);
  for (int i = 0; i < 299; ++i) ASSERT_EQ(IMGFILERR_OK, ImageBufferNextPixel(&exact.desc));
  EXPECT_EQ(897, exact.At());  // every pixel visited line by line
  exact.Put(0);
  EXPECT_EQ(IMGFILERR_OK, ImageBufferSkipPixels(&exact.desc, 150));
  EXPECT_EQ(450, exact.At());
  EXPECT_EQ(IMGFILERR_OK, ImageBufferRefeedPixels(&exact.desc, 150));
  EXPECT_EQ(0, exact.At());
  EXPECT_EQ(IMGFILERR_OUTOFBUFFER, ImageBufferSkipPixels(&exact.desc, 300));
  EXPECT_EQ(0, exact.At());

  // 4 pixels of 3 bytes in 15-byte lines: 3 bytes of padding, one pixel's worth.
  Buffer padded(4, 3, 15);
  EXPECT_EQ(IMGFILERR_OK, ImageBufferSkipPixels(&padded.desc, 5));  // 15: exactly the next line's start
  EXPECT_EQ(15, padded.At());
  padded.Put(9);
  EXPECT_EQ(IMGFILERR_OK, ImageBufferSkipPixels(&padded.desc, 2));  // 15 again: lands one pixel short
  EXPECT_EQ(15, padded.At());

  // Padding of one byte: a step back over the line start is put on the last pixel's first byte.
  Buffer thin(2, 2, 7);
  thin.Put(7);
  EXPECT_EQ(IMGFILERR_OK, ImageBufferPrevPixel(&thin.desc));
  EXPECT_EQ(3, thin.At());
}

TEST(Cursor, AlphaByteFollowsTheOpacity) {
  Buffer after(4, 2, 16, false, OPACITY_TRANSP_AFTER);
  EXPECT_EQ(4u, BytesPerPixel(after.desc));
  after.Put(4);
  EXPECT_EQ(IMGFILERR_OK, ImageBufferSetCurrentAlpha(&after.desc, 0x77));
  EXPECT_EQ(0x77, after.bytes[7]);
  uint8_t alpha = 0;
  EXPECT_EQ(IMGFILERR_OK, ImageBufferGetCurrentAlpha(&after.desc, &alpha));
  EXPECT_EQ(0x77, alpha);
  EXPECT_EQ(IMGFILERR_OK, ImageBufferNextPixel(&after.desc));
  EXPECT_EQ(8, after.At());

  Buffer before(4, 2, 16, false, OPACITY_TRANSP_BEFORE);
  EXPECT_EQ(IMGFILERR_OK, ImageBufferSetCurrentAlpha(&before.desc, 0x55));
  EXPECT_EQ(0x55, before.bytes[0]);

  Buffer opaque(4, 2, 12);
  alpha = 9;
  EXPECT_EQ(IMGFILERR_NOALPHA, ImageBufferSetCurrentAlpha(&opaque.desc, 0x33));
  EXPECT_EQ(IMGFILERR_NOALPHA, ImageBufferGetCurrentAlpha(&opaque.desc, &alpha));
  EXPECT_EQ(9, alpha);
  EXPECT_EQ(std::vector<uint8_t>(24, 0), opaque.bytes);
}

TEST(Cursor, DegenerateBuffersNeverMove) {
  Buffer empty(0, 0, 0);
  EXPECT_EQ(IMGFILERR_OUTOFBUFFER, ImageBufferNextPixel(&empty.desc));
  EXPECT_EQ(IMGFILERR_OUTOFBUFFER, ImageBufferNextLine(&empty.desc));
  EXPECT_EQ(IMGFILERR_OUTOFBUFFER, ImageBufferRefeedPixels(&empty.desc, 1));
}

TEST(ModuleList, KeepsOrderAndServesQueueAndStack) {
  int a = 1, b = 2, c = 3;
  cNXList list;
  list.AddTail(&a);
  list.AddTail(&b);
  list.AddHead(&c);
  EXPECT_EQ(3u, list.GetCount());
  CIter it(list);
  EXPECT_EQ(&c, it.Next());
  EXPECT_EQ(&a, it.Next());
  EXPECT_EQ(&b, it.Next());
  EXPECT_EQ(nullptr, it.Next());
  it.Reset();
  EXPECT_EQ(&c, it.Next());

  CStack stack(list);
  EXPECT_EQ(&b, stack.Pop());
  CQueue queue(list);
  EXPECT_EQ(&c, queue.Pop());
  EXPECT_EQ(&a, queue.Pop());
  EXPECT_TRUE(queue.IsEmpty());
  EXPECT_EQ(nullptr, queue.Pop());
  EXPECT_EQ(nullptr, list.Tail());
}

TEST(Extensions, SplitterRuleAndSubstringMatch) {
  EXPECT_EQ(".JPE", PathExtension("C:\\pics\\holiday.JPE"));
  EXPECT_EQ(".bmp", PathExtension("C:\\a.b\\photo.jpg.bmp"));
  EXPECT_EQ("", PathExtension("C:\\pics.d\\noext"));
  EXPECT_EQ("", PathExtension(""));
  EXPECT_TRUE(ExtensionStringContains(".jpg;*.jpeg;*.jpe", ".JPE"));
  EXPECT_TRUE(ExtensionStringContains(".jpg;*.jpeg;*.jpe", ".jp"));
  EXPECT_TRUE(ExtensionStringContains(".tif", ""));
  EXPECT_FALSE(ExtensionStringContains(".jpg;*.jpeg;*.jpe", ".bmp"));
}

TEST(CombinedFilters, EntriesUntilTheBufferIsFull) {
  const std::string jpeg = "JPG(*.jpg;*.jpeg;*.jpe)|*.jpg;*.jpeg;*.jpe|";
  const std::string tiff = "TIFF(*.tif)|*.tif|";
  char buffer[512];
  CombinedFilterBuilder all(buffer, sizeof(buffer), '|');
  EXPECT_TRUE(all.Append("JPG", ".jpg;*.jpeg;*.jpe"));
  EXPECT_TRUE(all.Append("TIFF", ".tif"));
  EXPECT_EQ(jpeg + tiff, buffer);

  // Room for the first entry only: the second is not added, nor anything after it.
  CombinedFilterBuilder small(buffer, uint16_t(jpeg.size() + tiff.size()), '|');
  EXPECT_TRUE(small.Append("JPG", ".jpg;*.jpeg;*.jpe"));
  EXPECT_FALSE(small.Append("TIFF", ".tif"));
  EXPECT_FALSE(small.Append("X", ""));
  EXPECT_EQ(jpeg, buffer);

  // An entry needs its length plus two bytes.
  CombinedFilterBuilder tight(buffer, uint16_t(jpeg.size() + 1), '|');
  EXPECT_FALSE(tight.Append("JPG", ".jpg;*.jpeg;*.jpe"));
  EXPECT_STREQ("", buffer);
  buffer[0] = 'k';
  CombinedFilterBuilder none(buffer, 0, '|');
  EXPECT_FALSE(none.Append("JPG", ".jpg"));
  EXPECT_EQ('k', buffer[0]);
}

TEST(Layout, AlignedLines) {
  EXPECT_EQ(304u, AlignedLineLength(101, 3, 4));
  EXPECT_EQ(303u, AlignedLineLength(101, 3, 1));
  EXPECT_EQ(404u, AlignedLineLength(101, 4, 4));
  EXPECT_EQ(303u, AlignedLineLength(101, 3, 0));
  EXPECT_EQ(0u, AlignedLineLength(0x7FFFFFFF, 4, 4));
}

TEST(Layout, ThumbnailFitting) {
  struct Case {
    uint32_t w0, h0, box;
    bool expand;
    uint32_t w, h;
  } cases[] = {
      {200, 150, 100, false, 100, 74},  // 100 / 1.3333334 truncates to 74
      {60, 40, 100, false, 60, 40},
      {60, 40, 100, true, 100, 66},
      {150, 200, 100, false, 75, 100},
      {1000, 800, 100, false, 100, 80},
  };
  for (const Case& c : cases) {
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(FitThumbnail(c.w0, c.h0, c.box, c.box, c.expand, &w, &h));
    EXPECT_EQ(c.w, w) << c.w0 << "x" << c.h0;
    EXPECT_EQ(c.h, h) << c.w0 << "x" << c.h0;
  }
  uint32_t w, h;
  EXPECT_FALSE(FitThumbnail(0, 10, 100, 100, false, &w, &h));
}

}  // namespace
