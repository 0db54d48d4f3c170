// Portable codecs: BMP round trips and damage, TIFF pages and colour strips, PNG round trips, filters and damage,
// identification of every format.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "codecs.h"
#include "tiff_ifd.h"
#include "lead/orvlead_core.h"
#include "test_util.h"

using namespace orvltest;
using orvl::Bytes;

namespace {

void expectSamePixels(ORVLBITMAP* a, ORVLBITMAP* b) {
  ASSERT_EQ(a->Width, b->Width);
  ASSERT_EQ(a->Height, b->Height);
  for (int y = 0; y < a->Height; ++y)
    for (int x = 0; x < a->Width; ++x) ASSERT_EQ(orvlGetPixelColor(a, y, x), orvlGetPixelColor(b, y, x)) << x << "," << y;
}

void le32(Bytes* o, uint32_t v) { for (int k = 0; k < 4; ++k) o->push_back(uint8_t(v >> (8 * k))); }
void le16(Bytes* o, uint32_t v) { o->push_back(uint8_t(v)); o->push_back(uint8_t(v >> 8)); }

// A BMP header for an 8-bit picture with a grey palette; pixel bytes appended by the caller.
Bytes bmpHeader8(int w, int h, uint32_t compression, uint32_t dataSize) {
  Bytes o = {'B', 'M'};
  le32(&o, 14 + 40 + 1024 + dataSize); le32(&o, 0); le32(&o, 14 + 40 + 1024);
  le32(&o, 40); le32(&o, uint32_t(w)); le32(&o, uint32_t(h)); le16(&o, 1); le16(&o, 8);
  le32(&o, compression); le32(&o, dataSize); le32(&o, 2835); le32(&o, 2835); le32(&o, 256); le32(&o, 0);
  for (int i = 0; i < 256; ++i) { o.push_back(uint8_t(i)); o.push_back(uint8_t(i)); o.push_back(uint8_t(i)); o.push_back(0); }
  return o;
}

void be32(Bytes* o, uint32_t v) { for (int s = 24; s >= 0; s -= 8) o->push_back(uint8_t(v >> s)); }
void pngChunk(Bytes* o, const std::string& type, const Bytes& body) {
  be32(o, uint32_t(body.size()));
  const size_t at = o->size();
  o->insert(o->end(), type.begin(), type.end());
  o->insert(o->end(), body.begin(), body.end());
  be32(o, uint32_t(crc32(0, o->data() + at, uInt(body.size() + 4))));
}

using Chunks = std::vector<std::pair<std::string, Bytes>>;

// A PNG made by hand: header fields as given, `rows` (filter bytes included) deflated into one IDAT,
// `extra` chunks between the header and the data.
Bytes pngFile(uint32_t w, uint32_t h, int depth, int type, const Bytes& rows, const Chunks& extra = {}, int interlace = 0) {
  Bytes o = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes ihdr;
  be32(&ihdr, w); be32(&ihdr, h);
  ihdr.insert(ihdr.end(), {uint8_t(depth), uint8_t(type), 0, 0, uint8_t(interlace)});
  pngChunk(&o, "IHDR", ihdr);
  for (const auto& c : extra) pngChunk(&o, c.first, c.second);
  Bytes z(compressBound(uLong(rows.size())));
  uLongf n = uLongf(z.size());
  compress(z.data(), &n, rows.data(), uLong(rows.size()));
  z.resize(n);
  pngChunk(&o, "IDAT", z);
  pngChunk(&o, "IEND", {});
  return o;
}

}  // namespace

TEST(LeadBmp, RoundTripsEveryDepthAndOrder) {
  for (int bits : {1, 4, 8, 16, 24, 32})
    for (int order : {ORVL_ORDER_BGR, ORVL_ORDER_RGB})
      for (int view : {ORVL_TOP_LEFT, ORVL_BOTTOM_LEFT}) {
        SCOPED_TRACE(testing::Message() << bits << " bits, order " << order << ", view " << view);
        Owned src(makePattern(13, 7, bits, order, view));
        Bytes file;
        ASSERT_EQ(ORVL_SUCCESS, orvl::encodeBmp(&src, &file));
        Owned back;
        ASSERT_EQ(ORVL_SUCCESS, orvl::decodeBmp(file.data(), file.size(), &back));
        EXPECT_EQ(bits == 16 ? 24 : bits, back->BitsPerPixel);
        EXPECT_EQ(ORVL_BOTTOM_LEFT, back->ViewPerspective);
        if (bits == 16) continue;  // 5-bit channels widen on the way back; colours are checked elsewhere
        expectSamePixels(&src, &back);
        ORVLFILEINFO info;
        ASSERT_EQ(ORVL_SUCCESS, orvl::identify(file.data(), file.size(), 1, &info));
        EXPECT_EQ(ORVL_FMT_BMP, info.Format);
        EXPECT_EQ(13, info.Width);
        EXPECT_EQ(ORVL_BOTTOM_LEFT, info.ViewPerspective);
        EXPECT_STREQ("NONE", info.Compression);
      }
}

TEST(LeadBmp, DecodesRle8WithDeltaAndAbsoluteRuns) {
  // 4 x 2: bottom row runs 9 9 9 7; top row a delta of one pixel, then an absolute run 5 6 4 (padded).
  Bytes rle = {3, 9, 1, 7, 0, 0, 0, 2, 1, 0, 0, 3, 5, 6, 4, 0, 0, 1};
  Bytes f = bmpHeader8(4, 2, 1, uint32_t(rle.size()));
  f.insert(f.end(), rle.begin(), rle.end());
  Owned b;
  ASSERT_EQ(ORVL_SUCCESS, orvl::decodeBmp(f.data(), f.size(), &b));
  EXPECT_EQ(ORVL_RGB(9, 9, 9), orvlGetPixelColor(&b, 1, 0));
  EXPECT_EQ(ORVL_RGB(7, 7, 7), orvlGetPixelColor(&b, 1, 3));
  EXPECT_EQ(ORVL_RGB(5, 5, 5), orvlGetPixelColor(&b, 0, 1));
  EXPECT_EQ(ORVL_RGB(4, 4, 4), orvlGetPixelColor(&b, 0, 3));
  EXPECT_EQ(0u, orvlGetPixelColor(&b, 0, 0));
  ORVLFILEINFO info;
  ASSERT_EQ(ORVL_SUCCESS, orvl::identify(f.data(), f.size(), 1, &info));
  EXPECT_STREQ("run length", info.Compression);
}

TEST(LeadBmp, DamagedFilesGiveErrorsNotCrashes) {
  Owned src(makePattern(9, 9, 24));
  Bytes good;
  orvl::encodeBmp(&src, &good);
  struct Case { const char* what; size_t keep; size_t patchAt; uint32_t value; int expected; };
  const Case cases[] = {
      {"empty", 0, 0, 0, ORVL_ERROR_FILE_FORMAT},
      {"signature only", 2, 0, 0, ORVL_ERROR_FILE_READ},
      {"header cut", 30, 0, 0, ORVL_ERROR_FILE_READ},
      {"pixels cut", 54 + 100, 0, 0, ORVL_ERROR_FILE_READ},
      {"huge width", good.size(), 18, 0x7fffffff, ORVL_ERROR_FILE_CORRUPT},
      {"bad depth", good.size(), 28, 7, ORVL_ERROR_FILE_CORRUPT},
      {"offset past end", good.size(), 10, 0xfffffff0u, ORVL_ERROR_FILE_CORRUPT},
      {"header size", good.size(), 14, 2, ORVL_ERROR_FILE_CORRUPT},
  };
  for (const Case& c : cases) {
    Bytes f(good.begin(), good.begin() + long(std::min(c.keep, good.size())));
    if (c.patchAt) { uint32_t v = c.value; for (int k = 0; k < (c.patchAt == 28 ? 2 : 4); ++k) f[c.patchAt + size_t(k)] = uint8_t(v >> (8 * k)); }
    Owned b;
    EXPECT_EQ(c.expected, orvl::decodeBmp(f.data(), f.size(), &b)) << c.what;
  }
  // Bit fields under a header too short to hold them, the file ending with the header.
  Owned deep(makePattern(3, 2, 32));
  Bytes fields;
  orvl::encodeBmp(&deep, &fields);
  fields.resize(14 + 44);
  fields[14] = 44;
  fields[30] = 3;
  Owned none;
  EXPECT_EQ(ORVL_ERROR_FILE_CORRUPT, orvl::decodeBmp(fields.data(), fields.size(), &none));
  // Every truncation of an RLE file fails cleanly or decodes.
  Bytes rle = {3, 9, 1, 7, 0, 0, 0, 2, 1, 0, 0, 3, 5, 6, 4, 0, 0, 1};
  Bytes f = bmpHeader8(4, 2, 1, uint32_t(rle.size()));
  f.insert(f.end(), rle.begin(), rle.end());
  for (size_t n = 0; n < f.size(); ++n) {
    Owned b;
    int rc = orvl::decodeBmp(f.data(), n, &b);
    EXPECT_TRUE(rc == ORVL_SUCCESS || rc < 0);
  }
}

TEST(LeadPng, RoundTripsEveryDepthAcrossBlocks) {
  struct Case { int width, height, bits, view, bitsBack; };
  // The tall picture spans several deflate blocks of the writer and inflate blocks of the reader.
  const Case cases[] = {{13, 7, 1, ORVL_TOP_LEFT, 1},      {13, 7, 4, ORVL_BOTTOM_LEFT, 4}, {13, 7, 8, ORVL_TOP_LEFT, 8},
                        {13, 7, 24, ORVL_BOTTOM_LEFT, 24}, {13, 7, 32, ORVL_TOP_LEFT, 32},  {700, 2000, 24, ORVL_TOP_LEFT, 24}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << c.bits);
    Owned src(makePattern(c.width, c.height, c.bits, ORVL_ORDER_RGB, c.view));
    if (c.bits == 32)
      for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) src->Data[size_t(y) * src->BytesPerLine + 4 * x + 3] = uint8_t(x * 19 + y);
    Bytes file;
    ASSERT_EQ(ORVL_SUCCESS, orvl::encodePng(&src, &file));
    Owned back;
    ASSERT_EQ(ORVL_SUCCESS, orvl::decodePng(file.data(), file.size(), &back));
    EXPECT_EQ(c.bitsBack, back->BitsPerPixel);
    expectSamePixels(&src, &back);
    if (c.bits == 32) {
      for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
          ASSERT_EQ(uint8_t(x * 19 + y), back->Data[size_t(y) * back->BytesPerLine + 4 * x + 3]) << x << "," << y;
    }
  }
}

TEST(LeadPng, UndoesEachFilterAndWidensSmallDepths) {
  // 2 x 3 grey: Sub, Paeth and Average rows over hand-computed results.
  Owned grey;
  Bytes f = pngFile(2, 3, 8, 0, {1, 10, 5, 4, 3, 4, 3, 2, 1});
  ASSERT_EQ(ORVL_SUCCESS, orvl::decodePng(f.data(), f.size(), &grey));
  const int expected[3][2] = {{10, 15}, {13, 19}, {8, 14}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(ORVL_RGB(expected[y][x], expected[y][x], expected[y][x]), orvlGetPixelColor(&grey, y, x));
  // 2-bit grey reaches the 16-level ramp; 16-bit colour rounds to 8 bits; grey with alpha is BGRA.
  Owned two, deep, ga;
  f = pngFile(4, 1, 2, 0, {0, 0x1b});  // levels 0 1 2 3
  ASSERT_EQ(ORVL_SUCCESS, orvl::decodePng(f.data(), f.size(), &two));
  EXPECT_EQ(4, two->BitsPerPixel);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(ORVL_RGB(85 * x, 85 * x, 85 * x), orvlGetPixelColor(&two, 0, x));
  f = pngFile(1, 1, 16, 2, {0, 0x12, 0xff, 0x56, 0x80, 0x9a, 0x00});
  ASSERT_EQ(ORVL_SUCCESS, orvl::decodePng(f.data(), f.size(), &deep));
  EXPECT_EQ(ORVL_RGB(0x13, 0x56, 0x99), orvlGetPixelColor(&deep, 0, 0));
  f = pngFile(1, 1, 8, 4, {0, 200, 90});
  ASSERT_EQ(ORVL_SUCCESS, orvl::decodePng(f.data(), f.size(), &ga));
  EXPECT_EQ(32, ga->BitsPerPixel);
  EXPECT_EQ(ORVL_RGB(200, 200, 200), orvlGetPixelColor(&ga, 0, 0));
  EXPECT_EQ(90, ga->Data[3]);
}

TEST(LeadPng, DamagedFilesGiveErrorsNotCrashes) {
  const Bytes row = {0, 1, 2, 3};  // one 3-pixel grey row, no filter
  const Bytes plte = {1, 2, 3, 4, 5, 6};
  struct Case { const char* what; Bytes file; int expected; };
  const Case cases[] = {
      {"unknown filter", pngFile(3, 1, 8, 0, {5, 1, 2, 3}), ORVL_ERROR_FILE_CORRUPT},
      {"rows missing", pngFile(3, 2, 8, 0, row), ORVL_ERROR_FILE_CORRUPT},
      {"palette missing", pngFile(3, 1, 8, 3, row), ORVL_ERROR_FILE_CORRUPT},
      {"palette of 2.5 colours", pngFile(3, 1, 8, 3, row, {{"PLTE", {1, 2, 3, 4, 5, 6, 7}}}), ORVL_ERROR_FILE_CORRUPT},
      {"depth 3", pngFile(3, 1, 3, 0, row), ORVL_ERROR_FILE_CORRUPT},
      {"16-bit palette", pngFile(3, 1, 16, 3, row, {{"PLTE", plte}}), ORVL_ERROR_FILE_CORRUPT},
      {"colour type 5", pngFile(3, 1, 8, 5, row), ORVL_ERROR_FILE_CORRUPT},
      {"zero width", pngFile(0, 1, 8, 0, row), ORVL_ERROR_FILE_CORRUPT},
      {"huge width", pngFile(0x7fffffff, 1, 8, 0, row), ORVL_ERROR_FILE_CORRUPT},
      {"unknown critical chunk", pngFile(3, 1, 8, 0, row, {{"ABCD", {1}}}), ORVL_ERROR_NOT_SUPPORTED},
      {"interlaced", pngFile(3, 1, 8, 0, row, {}, 1), ORVL_ERROR_NOT_SUPPORTED},
  };
  for (const Case& c : cases) {
    Owned b;
    EXPECT_EQ(c.expected, orvl::decodePng(c.file.data(), c.file.size(), &b)) << c.what;
  }
  Owned ok;
  Bytes good = pngFile(3, 1, 8, 3, row, {{"PLTE", plte}, {"tEXt", {'a', 0, 'b'}}});
  ASSERT_EQ(ORVL_SUCCESS, orvl::decodePng(good.data(), good.size(), &ok));  // ancillary chunks are skipped
  EXPECT_EQ(ORVL_RGB(4, 5, 6), orvlGetPixelColor(&ok, 0, 0));
  // Every truncation fails; so does a flipped bit anywhere after the signature (a CRC or the chunk layout
  // catches it).
  Owned pic(makePattern(40, 30, 24));
  Bytes file;
  ASSERT_EQ(ORVL_SUCCESS, orvl::encodePng(&pic, &file));
  for (size_t n = 0; n < file.size(); ++n) {
    Owned b;
    const int rc = orvl::decodePng(file.data(), n, &b);
    ASSERT_LT(rc, 0) << n;
  }
  for (size_t at = 8; at < file.size(); ++at) {
    Bytes bad = file;
    bad[at] ^= 0x10;
    Owned b;
    EXPECT_LT(orvl::decodePng(bad.data(), bad.size(), &b), 0) << at;
  }
}

TEST(LeadTiff, WritesPagesAndAppendsOrReplacesPageTwo) {
  Owned page1(makePattern(40, 30, 24));
  Bytes file;
  ASSERT_EQ(ORVL_SUCCESS, orvl::encodeTiff(&page1, true, 1, &file));
  ORVLFILEINFO info;
  ASSERT_EQ(ORVL_SUCCESS, orvl::identify(file.data(), file.size(), 1, &info));
  EXPECT_EQ(ORVL_FMT_TIFF, info.Format);
  EXPECT_EQ(1, info.TotalPages);
  EXPECT_EQ(24, info.BitsPerPixel);
  EXPECT_STREQ("run length", info.Compression);
  EXPECT_EQ(ORVL_ERROR_PAGE_NOT_FOUND, orvl::identify(file.data(), file.size(), 2, &info));
  Owned thumb(makePattern(8, 6, 8));
  EXPECT_EQ(ORVL_ERROR_PAGE_NOT_FOUND, orvl::encodeTiff(&thumb, false, 3, &file));
  ASSERT_EQ(ORVL_SUCCESS, orvl::encodeTiff(&thumb, false, 2, &file));
  ASSERT_EQ(ORVL_SUCCESS, orvl::identify(file.data(), file.size(), 2, &info));
  EXPECT_EQ(2, info.TotalPages);
  EXPECT_EQ(8, info.Width);
  EXPECT_EQ(8, info.BitsPerPixel);
  Owned other(makePattern(4, 3, 1));
  ASSERT_EQ(ORVL_SUCCESS, orvl::encodeTiff(&other, false, 2, &file));  // replaces page 2
  ASSERT_EQ(ORVL_SUCCESS, orvl::identify(file.data(), file.size(), 2, &info));
  EXPECT_EQ(2, info.TotalPages);
  EXPECT_EQ(4, info.Width);
  EXPECT_EQ(1, info.BitsPerPixel);
  // A directory chain that loops is corruption, not a hang.
  Bytes loop = file;
  orvl::TiffFile t;
  ASSERT_EQ(ORVL_SUCCESS, t.parse(loop.data(), loop.size()));
  uint32_t first = t.pages[0].offset;
  size_t at = t.pages[1].nextField;
  for (int k = 0; k < 4; ++k) loop[at + size_t(k)] = uint8_t(first >> (8 * k));
  EXPECT_EQ(ORVL_ERROR_FILE_CORRUPT, orvl::identify(loop.data(), loop.size(), 1, &info));
  for (size_t n = 0; n < file.size(); n += 7) EXPECT_NE(ORVL_SUCCESS + 100, orvl::identify(file.data(), n, 2, &info));
  // A later page is never added to a file that is not TIFF: the result would be neither that file nor a TIFF.
  Bytes bmp;
  ASSERT_EQ(ORVL_SUCCESS, orvl::encodeBmp(&page1, &bmp));
  const Bytes original = bmp;
  EXPECT_EQ(ORVL_ERROR_FILE_FORMAT, orvl::encodeTiff(&thumb, false, 2, &bmp));
  EXPECT_EQ(original, bmp);
}

// Sets the value of the first page's entry with the tag (a SHORT or LONG held in the entry), and its tag.
void setTiffTag(Bytes* file, uint16_t tag, uint32_t value, uint16_t newTag = 0) {
  orvl::TiffFile t;
  ASSERT_EQ(ORVL_SUCCESS, t.parse(file->data(), file->size()));
  const uint32_t dir = t.pages[0].offset;
  const uint16_t n = uint16_t((*file)[dir] | ((*file)[dir + 1] << 8));
  for (uint32_t i = 0; i < n; ++i) {
    uint8_t* e = file->data() + dir + 2 + 12 * i;
    if ((e[0] | (e[1] << 8)) != tag) continue;
    const bool isShort = (e[2] | (e[3] << 8)) == 3;
    for (int k = 0; k < (isShort ? 2 : 4); ++k) e[8 + k] = uint8_t(value >> (8 * k));
    if (newTag) {
      e[0] = uint8_t(newTag);
      e[1] = uint8_t(newTag >> 8);
    }
    return;
  }
  ADD_FAILURE() << "no tag " << tag;
}

// Colour strips (uncompressed or PackBits) are decoded by the core; every other page, and any damage, is left to
// the platform's reader with ORVL_ERROR_NOT_SUPPORTED.
TEST(LeadTiff, ReadsColourStripsItselfAndLeavesOtherPagesToThePlatform) {
  for (bool packBits : {false, true})
    for (int width : {1, 17, 333}) {
      SCOPED_TRACE(std::to_string(width) + (packBits ? " packbits" : " plain"));
      Owned pic(makePattern(width, 30, 24));
      Owned second(makePattern(9, 7, 24, ORVL_ORDER_RGB));
      Bytes file;
      ASSERT_EQ(ORVL_SUCCESS, orvl::encodeTiff(&pic, packBits, 1, &file));
      ASSERT_EQ(ORVL_SUCCESS, orvl::encodeTiff(&second, !packBits, 2, &file));
      Owned first, two;
      ASSERT_EQ(ORVL_SUCCESS, orvl::decodeTiff(file.data(), file.size(), 0, &first));
      EXPECT_EQ(24, first->BitsPerPixel);
      EXPECT_EQ(ORVL_ORDER_BGR, first->Order);
      expectSamePixels(&pic, &first);
      ASSERT_EQ(ORVL_SUCCESS, orvl::decodeTiff(file.data(), file.size(), 1, &two));
      expectSamePixels(&second, &two);
      Owned none;
      EXPECT_EQ(ORVL_ERROR_NOT_SUPPORTED, orvl::decodeTiff(file.data(), file.size(), 2, &none));
      // Damage anywhere: an error, never a crash or a half-read picture.
      for (size_t n = 0; n < file.size(); n += 1 + file.size() / 97) {
        Owned cut;
        EXPECT_EQ(ORVL_ERROR_NOT_SUPPORTED, orvl::decodeTiff(file.data(), n, 0, &cut)) << n;
      }
    }
  Owned grey(makePattern(20, 10, 8));
  Bytes greyFile;
  ASSERT_EQ(ORVL_SUCCESS, orvl::encodeTiff(&grey, false, 1, &greyFile));
  Owned out;
  EXPECT_EQ(ORVL_ERROR_NOT_SUPPORTED, orvl::decodeTiff(greyFile.data(), greyFile.size(), 0, &out));
  Owned pic(makePattern(20, 10, 24));
  const struct { uint16_t tag; uint32_t value; uint16_t newTag; } others[] = {
      {259, 5, 0},        // LZW
      {259, 8, 0},        // deflate
      {284, 2, 0},        // planes
      {296, 3, 274},      // an orientation other than rows from the top (in the resolution unit's place)
      {296, 1, 338},      // extra samples
      {278, 3, 0},        // rows per strip that the single strip does not match
      {273, 1u << 30, 0}, // strip outside the file
  };
  for (const auto& o : others) {
    SCOPED_TRACE(o.tag);
    Bytes file;
    ASSERT_EQ(ORVL_SUCCESS, orvl::encodeTiff(&pic, false, 1, &file));
    setTiffTag(&file, o.tag, o.value, o.newTag);
    EXPECT_EQ(ORVL_ERROR_NOT_SUPPORTED, orvl::decodeTiff(file.data(), file.size(), 0, &out));
  }
  // A PackBits run that would cross into the next row.
  Bytes packed;
  ASSERT_EQ(ORVL_SUCCESS, orvl::encodeTiff(&pic, true, 1, &packed));
  orvl::TiffFile t;
  ASSERT_EQ(ORVL_SUCCESS, t.parse(packed.data(), packed.size()));
  packed[8] = 0x7F;  // a literal of 128 bytes at the first row's start, longer than the row's 60
  EXPECT_EQ(ORVL_ERROR_NOT_SUPPORTED, orvl::decodeTiff(packed.data(), packed.size(), 0, &out));
}

TEST(LeadIdentify, KnowsEachFormatNumber) {
  Owned pic(makePattern(20, 10, 24));
  Bytes png, jpg;
  ASSERT_EQ(ORVL_SUCCESS, orvl::encodePng(&pic, &png));
  ASSERT_EQ(ORVL_SUCCESS, orvl::encodeJpeg(&pic, 80, &jpg));
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 20, 0, 10, 0, 0xf7, 0, 0};
  Bytes wmf = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0xC0, 0x03, 0x80, 0x02, 0xA0, 0x05, 0, 0, 0, 0, 0, 0};
  Bytes emf(88, 0);
  emf[0] = 1; emf[32] = 0x10; emf[33] = 0x27; emf[36] = 0x10; emf[37] = 0x27;  // 100 x 100 mm frame
  std::memcpy(&emf[40], " EMF", 4);
  std::string epsText = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 144 72\n";
  Bytes eps(epsText.begin(), epsText.end());
  Bytes pict(540, 0);
  pict[512 + 6] = 0; pict[512 + 7] = 50; pict[512 + 8] = 0; pict[512 + 9] = 60;
  pict[522] = 0x00; pict[523] = 0x11; pict[524] = 0x02; pict[525] = 0xFF;
  Bytes pcd(4096, 0);
  std::memcpy(&pcd[2048], "PCD_IPI", 7);
  struct Case { const char* what; const Bytes* data; int format; int width, height; };
  const Case cases[] = {
      {"png", &png, ORVL_FMT_PNG, 20, 10}, {"jpeg", &jpg, ORVL_FMT_JPEG, 20, 10}, {"gif", &gif, ORVL_FMT_GIF, 20, 10},
      {"wmf", &wmf, ORVL_FMT_WMF, 960 * 96 / 1440, 640 * 96 / 1440}, {"emf", &emf, ORVL_FMT_WMF, 377, 377},
      {"eps", &eps, ORVL_FMT_EPS, 144, 72}, {"pict", &pict, ORVL_FMT_PICT, 60, 50}, {"pcd", &pcd, ORVL_FMT_PCD, 768, 512},
  };
  for (const Case& c : cases) {
    ORVLFILEINFO info;
    ASSERT_EQ(ORVL_SUCCESS, orvl::identify(c.data->data(), c.data->size(), 1, &info)) << c.what;
    EXPECT_EQ(c.format, info.Format) << c.what;
    EXPECT_EQ(c.width, info.Width) << c.what;
    EXPECT_EQ(c.height, info.Height) << c.what;
  }
  Bytes junk = {'h', 'e', 'l', 'l', 'o', 0, 1, 2};
  ORVLFILEINFO info;
  EXPECT_EQ(ORVL_ERROR_FILE_FORMAT, orvl::identify(junk.data(), junk.size(), 1, &info));
}

TEST(LeadIdentify, RecordOffsetsAreStable) {
  EXPECT_EQ(60u, offsetof(ORVLFILEINFO, ViewPerspective));
  EXPECT_EQ(80u, offsetof(ORVLFILEINFO, Flags));
  EXPECT_EQ(16u, offsetof(ORVLFILEOPTIONS, PageNumber));
  EXPECT_EQ(size_t(ORVL_FILEOPTIONS_SIZE), sizeof(ORVLFILEOPTIONS));
}

TEST(LeadJpeg, RoundTripAndQualityFactor) {
  Owned pic;
  orvlCreateBitmap(&pic, 1, 32, 16, 24, ORVL_ORDER_RGB, nullptr, ORVL_BOTTOM_LEFT);
  orvlFillBitmap(&pic, ORVL_RGB(200, 100, 50));
  Bytes jpg;
  ASSERT_EQ(ORVL_SUCCESS, orvl::encodeJpeg(&pic, 90, &jpg));
  Owned back;
  ASSERT_EQ(ORVL_SUCCESS, orvl::decodeJpeg(jpg.data(), jpg.size(), false, false, &back));
  ORVLCOLOR c = orvlGetPixelColor(&back, 8, 8);
  EXPECT_NEAR(200, int(c & 0xff), 3);
  EXPECT_NEAR(50, int(c >> 16), 3);
  EXPECT_EQ(ORVL_ERROR_PAGE_NOT_FOUND, orvl::decodeJpeg(jpg.data(), jpg.size(), true, false, &back));
  EXPECT_EQ(100, orvl::qualityFromFactor(2));
  EXPECT_EQ(76, orvl::qualityFromFactor(63));
  EXPECT_EQ(75, orvl::qualityFromFactor(ORVL_QFACTOR_DEFAULT));
}
