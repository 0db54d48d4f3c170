// Tests of NXJPEGCOM through COM as imagio sees it: registration, type table, file record, reading, writing and
// the thumbnail rules with their sizes.
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include <comkit/category.h>
#include <comkit/holders.h>
#include <nxformat/nxformat.h>
#include <nxformat/packed_dib.h>
#include "jpeg_fixtures.h"
#include "jpeg_ids.h"
#include "nxjpegcom.h"

namespace {

const ULONG kJpeg = ImageTypeCode("JPEG");
const ULONG kTiff = ImageTypeCode("TIFF");
const HRESULT kOk = 0x00040200;

HRESULT Fail(int code) { return static_cast<HRESULT>(0x80040000u + code); }

struct Dib {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // as stored: bottom line first, BGR, lines padded to 4
  const uint8_t* Pixel(int x, int lineInMemory) const {
    return &pixels[size_t(nxformat::PackedLineLength(width)) * lineInMemory + 3 * x];
  }
};

Dib TakeDib(NXHGLOBAL handle) {
  Dib dib;
  HGLOBAL h = reinterpret_cast<HGLOBAL>(handle);
  const uint8_t* bytes = static_cast<const uint8_t*>(GlobalLock(h));
  const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
  EXPECT_EQ(40u, header->biSize);
  EXPECT_EQ(24, header->biBitCount);
  dib.width = header->biWidth;
  dib.height = header->biHeight;
  dib.pixels.assign(bytes + 40, bytes + 40 + size_t(nxformat::PackedLineLength(dib.width)) * dib.height);
  GlobalUnlock(h);
  GlobalFree(h);
  return dib;
}

void ExpectColor(const uint8_t* bgr, const uint8_t rgb[3]) {
  EXPECT_NEAR(rgb[2], bgr[0], 8);
  EXPECT_NEAR(rgb[1], bgr[1], 8);
  EXPECT_NEAR(rgb[0], bgr[2], 8);
}

class JpegModule : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_NXJPEGFormat, nullptr, CLSCTX_INPROC_SERVER, IID_INXIFLib,
                                     module.PutVoid()));
  }
  void TearDown() override {
    module.Release();
    CoUninitialize();
  }

  std::string Fixture(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string path = fixtures::ScratchPath(name);
    fixtures::WriteFile(path, bytes);
    return path;
  }

  tagIMGFILEINFO Open(const std::string& path, HRESULT expected = kOk) {
    tagIMGFILEINFO info = {};
    info.size = kImgFileInfoSize;
    ULONG type = 0;
    EXPECT_EQ(expected, module->OpenFile(path.c_str(), &type, &info)) << path;
    if (expected == kOk) {
      EXPECT_EQ(kJpeg, type);
    }
    return info;
  }

  comkit::ComPtr<INXIFLib> module;
};

TEST_F(JpegModule, RegisteredWithNamesCategoryAndTypeLibrary) {
  std::vector<CLSID> classes;
  ASSERT_EQ(S_OK, comkit::EnumClassesInCategory(nxformat::kCategoryId, classes));
  bool found = false;
  for (const CLSID& c : classes) found = found || IsEqualCLSID(c, CLSID_NXJPEGFormat);
  EXPECT_TRUE(found);

  CLSID fromProgId;
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"" NXJPEG_VI_PROGID, &fromProgId));
  EXPECT_TRUE(IsEqualCLSID(CLSID_NXJPEGFormat, fromProgId));
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"" NXJPEG_PROGID, &fromProgId));

  comkit::ComPtr<ITypeLib> typeLib;
  ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_NXJPEGCOMLib, 1, 0, LANG_NEUTRAL, &typeLib));
  comkit::Bstr doc;
  ASSERT_EQ(S_OK, typeLib->GetDocumentation(-1, nullptr, &doc, nullptr, nullptr));
  EXPECT_EQ("NXJPEGCom 1.0 Type Library", doc.ToAnsi());
  comkit::ComPtr<ITypeInfo> info;
  EXPECT_EQ(S_OK, typeLib->GetTypeInfoOfGuid(IID_INXIFLib, &info));

  HMODULE dll = LoadLibraryA("NXJPEGCOM.dll");
  ASSERT_NE(nullptr, dll);
  char name[64] = "";
  EXPECT_GT(LoadStringA(dll, IDS_NXJPEG_NAME, name, sizeof(name)), 0);
  EXPECT_STREQ("NXJPEGCom", name);
  FreeLibrary(dll);
}

TEST_F(JpegModule, TypeQueriesComeFromTheTable) {
  unsigned short count = 0;
  ULONG types[10] = {};
  EXPECT_EQ(kOk, module->GetSupportImageType(&count, 10, types));
  EXPECT_EQ(1, count);
  EXPECT_EQ(kJpeg, types[0]);

  unsigned short bits[10];
  std::fill(bits, bits + 10, 0xEEEE);
  EXPECT_EQ(kOk, module->GetSupportBits(10, bits, kJpeg));
  EXPECT_EQ(24, bits[0]);
  EXPECT_EQ(8, bits[1]);
  EXPECT_EQ(0, bits[9]);
  unsigned short mask = 0;
  EXPECT_EQ(kOk, module->GetSupportColorModel(&mask, kJpeg));
  EXPECT_EQ(10, mask);
  EXPECT_EQ(kOk, module->GetSupportCompression(&mask, kJpeg));
  EXPECT_EQ(8, mask);
  EXPECT_EQ(Fail(IMGFILERR_UNSUPPORTED), module->GetSupportColorModel(&mask, kTiff));

  unsigned char ext[30] = "";
  EXPECT_EQ(kOk, module->GetDefaultExt(sizeof(ext), ext, kJpeg));
  EXPECT_STREQ(".jpg;*.jpeg;*.jpe", reinterpret_cast<char*>(ext));
  unsigned char small[3] = {'x', 'y', 'z'};
  EXPECT_EQ(kOk, module->GetDefaultExt(sizeof(small), small, kJpeg));
  EXPECT_EQ('x', small[0]);
  EXPECT_EQ('z', small[2]);
  unsigned char name[256] = "";
  EXPECT_EQ(kOk, module->GetFileFilter(sizeof(name), name, 0, nullptr, kJpeg));
  EXPECT_STREQ("JPG", reinterpret_cast<char*>(name));

  LONG has = 7;
  EXPECT_EQ(kOk, module->HasProperty(1, &has));
  EXPECT_EQ(0, has);
  NXHGLOBAL property = 0;
  EXPECT_EQ(Fail(IMGFILERR_NOTIMPL), module->GetProperty(1, &property));
  EXPECT_EQ(Fail(IMGFILERR_NOTIMPL), module->SetProperty(1, 0));
}

TEST_F(JpegModule, OpenFillsTheRecord) {
  std::vector<uint8_t> bytes = fixtures::Jpeg(120, 80, 80);
  tagIMGFILEINFO info = Open(Fixture("record.jpg", bytes));
  EXPECT_EQ(32u, info.size);
  EXPECT_EQ(120u, info.width);
  EXPECT_EQ(80u, info.height);
  EXPECT_EQ(0, info.hres);
  EXPECT_EQ(24, info.bits);
  EXPECT_EQ(8, info.colormodel);
  EXPECT_EQ(8, info.compression);
  EXPECT_NEAR(80, info.quality, 1);
  EXPECT_EQ(bytes.size(), info.filesize);

  tagIMGFILEINFO grey = Open(Fixture("grey.jpg", fixtures::Jpeg(64, 48, 90, 1)));
  EXPECT_EQ(8, grey.bits);
  EXPECT_EQ(4, grey.colormodel);  // the bits rule: fewer than 24 bits is the palette flag
  // A grey file still comes out as a 24-bit bitmap, every channel the same.
  NXHGLOBAL handle = 0;
  ASSERT_EQ(kOk, module->ReadToDIB(&handle));
  Dib dib = TakeDib(handle);
  const uint8_t kLight[3] = {230, 230, 230};
  ExpectColor(dib.Pixel(3, 47), kLight);
  unsigned short w = 32, h = 32;
  ASSERT_EQ(kOk, module->GetPlatformThumbnail(&handle, &w, &h, FALSE));
  ExpectColor(TakeDib(handle).Pixel(3, 47), kLight);
}

TEST_F(JpegModule, BadFilesFailWithoutHarm) {
  std::vector<uint8_t> jpeg = fixtures::Jpeg(64, 64);
  Open(Fixture("notjpeg.bmp", {'B', 'M', 1, 2, 3, 4, 5, 6}), Fail(IMGFILERR_UNSUPPORTED));
  Open(fixtures::ScratchPath("missing.jpg"), Fail(IMGFILERR_NOFILE));
  Open(Fixture("empty.jpg", {}), Fail(IMGFILERR_UNSUPPORTED));
  // A file cut short in its scan is refused at once or fails when decoded; either way with a failure code.
  tagIMGFILEINFO info = {32};
  ULONG type = 0;
  NXHGLOBAL dib = 0;
  std::string cut = Fixture("cut.jpg", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2));
  if (module->OpenFile(cut.c_str(), &type, &info) == kOk) {
    EXPECT_EQ(Fail(IMGFILERR_FAILED), module->ReadToDIB(&dib));
  }
  // A file that ends right after its scan header opens, and then fails to decode.
  Open(Fixture("headers.jpg", fixtures::CutAfterScanHeader(jpeg)));
  EXPECT_EQ(Fail(IMGFILERR_FAILED), module->ReadToDIB(&dib));
  EXPECT_EQ(0u, dib);
  // Before any file the file operations report that none is open.
  comkit::ComPtr<INXIFLib> fresh;
  ASSERT_EQ(S_OK, CoCreateInstance(CLSID_NXJPEGFormat, nullptr, CLSCTX_INPROC_SERVER, IID_INXIFLib, fresh.PutVoid()));
  unsigned short w = 100, h = 100;
  EXPECT_EQ(Fail(IMGFILERR_NOTOPEN), fresh->GetThumbnailSize(&w, &h));
  EXPECT_EQ(Fail(IMGFILERR_NOTOPEN), fresh->ReadToDIB(&dib));
}

TEST_F(JpegModule, ReadToDibIsUprightBottomLineFirst) {
  Open(Fixture("dib.jpg", fixtures::Jpeg(101, 40)));
  NXHGLOBAL handle = 0;
  ASSERT_EQ(kOk, module->ReadToDIB(&handle));
  Dib dib = TakeDib(handle);
  EXPECT_EQ(101, dib.width);
  EXPECT_EQ(40, dib.height);
  ExpectColor(dib.Pixel(50, 0), fixtures::kBottom);
  ExpectColor(dib.Pixel(100, 39), fixtures::kTop);
}

TEST_F(JpegModule, BandsReadRegionsIntoEitherOrientation) {
  Open(Fixture("bands.jpg", fixtures::Jpeg(50, 40)));
  const uint32_t kLine = 152;  // 150 used, 2 padding
  std::vector<uint8_t> buffer(kLine * 16, 0xAB);
  tagIMAGEBUFDESC desc = {};
  desc.model = COLORMODEL_RGB;
  desc.order = COMPONENTORDER_NORMAL;
  desc.width = 50;
  desc.height = 16;
  desc.bytesPerLine = kLine;
  desc.pixels = buffer.data();
  ULONG lines = 0;
  // Lines 16..31 straddle the colour change at line 20.
  ASSERT_EQ(kOk, module->ReadBand(&desc, 16, &lines));
  EXPECT_EQ(16u, lines);
  EXPECT_NEAR(255, buffer[0], 8);
  EXPECT_NEAR(255, buffer[kLine * 15 + 2], 8);
  EXPECT_EQ(0xAB, buffer[150]);  // padding untouched
  // The last band holds only 8 lines; bottom-up, they belong at the buffer's end in memory order reversed.
  desc.upsideDown = 1;
  std::fill(buffer.begin(), buffer.end(), 0xAB);
  ASSERT_EQ(kOk, module->ReadBand(&desc, 32, &lines));
  EXPECT_EQ(8u, lines);
  EXPECT_NEAR(255, buffer[kLine * 15 + 2], 8);  // the band's top line is the buffer's last line
  EXPECT_EQ(0xAB, buffer[0]);                   // the buffer's first 8 lines stay as they were
}

TEST_F(JpegModule, ThumbnailSizesAndReducedDecoding) {
  struct Case {
    int w, h;
    unsigned short box;
    int expectW, expectH;
  } cases[] = {
      {1600, 1200, 100, 200, 150},  // decoded at one eighth
      {1000, 800, 100, 1000, 800},  // both sides at most 1280: decoded whole
      {1600, 1200, 800, 800, 600},   // one half
      {2000, 1500, 600, 500, 375},   // one quarter: 500 is no longer wider than the fitted 600
      {1600, 1300, 1000, 800, 650},  // one half
      {1200, 1600, 100, 150, 200},
      {60, 40, 100, 60, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " box " + std::to_string(c.box));
    Open(Fixture("thumb.jpg", fixtures::Jpeg(c.w, c.h, 75)));
    unsigned short w = c.box, h = c.box;
    EXPECT_EQ(kOk, module->GetThumbnailSize(&w, &h));
    EXPECT_EQ(c.expectW, w);
    EXPECT_EQ(c.expectH, h);
    NXHGLOBAL handle = 0;
    w = h = c.box;
    ASSERT_EQ(kOk, module->GetPlatformThumbnail(&handle, &w, &h, FALSE));
    EXPECT_EQ(c.expectW, w);
    EXPECT_EQ(c.expectH, h);
    Dib dib = TakeDib(handle);
    EXPECT_EQ(c.expectW, dib.width);
    EXPECT_EQ(c.expectH, dib.height);
    ExpectColor(dib.Pixel(0, 0), fixtures::kBottom);
    ExpectColor(dib.Pixel(dib.width - 1, dib.height - 1), fixtures::kTop);
  }
}

TEST_F(JpegModule, EmbeddedThumbnailIsUsedWithoutDecodingTheImage) {
  const uint8_t kGreen[3] = {0, 200, 0};
  // The main image cannot be decoded at all: only its headers are there.
  std::vector<uint8_t> main = fixtures::CutAfterScanHeader(fixtures::Jpeg(1600, 1200));
  std::vector<uint8_t> file = fixtures::WithExifThumbnail(main, fixtures::SolidJpeg(160, 120, kGreen));
  tagIMGFILEINFO info = Open(Fixture("exif.jpg", file));
  EXPECT_EQ(1600u, info.width);
  for (unsigned short box : {100, 400}) {
    unsigned short w = box, h = box;
    EXPECT_EQ(kOk, module->GetThumbnailSize(&w, &h));
    EXPECT_EQ(160, w);
    EXPECT_EQ(120, h);
    NXHGLOBAL handle = 0;
    ASSERT_EQ(kOk, module->GetPlatformThumbnail(&handle, &w, &h, TRUE));
    Dib dib = TakeDib(handle);
    EXPECT_EQ(160, dib.width);
    EXPECT_EQ(120, dib.height);
    ExpectColor(dib.Pixel(80, 60), kGreen);
  }
  std::vector<uint8_t> buffer(80 * 3 * 60);
  tagIMAGEBUFDESC desc = {};
  desc.width = 80;
  desc.height = 60;
  desc.bytesPerLine = 80 * 3;
  desc.pixels = buffer.data();
  ASSERT_EQ(kOk, module->GetThumbnail(&desc, FALSE));
  ExpectColor(&buffer[(30 * 80 + 40) * 3], kGreen);
  NXHGLOBAL whole = 0;
  EXPECT_NE(kOk, module->ReadToDIB(&whole));
}

// Thumbnails stand upright as the EXIF orientation says; the picture itself is read as stored.
TEST_F(JpegModule, ThumbnailsFollowTheExifOrientation) {
  const uint8_t* kRed = fixtures::kTop;
  const uint8_t* kBlue = fixtures::kBottom;
  struct Case {
    uint16_t orientation;
    int expectW, expectH;
    const uint8_t *left, *right, *top, *bottom;  // null: both colours on that side
  } cases[] = {
      {1, 200, 150, nullptr, nullptr, kRed, kBlue},
      {3, 200, 150, nullptr, nullptr, kBlue, kRed},
      {6, 150, 200, kBlue, kRed, nullptr, nullptr},  // turned clockwise: the top goes right
      {8, 150, 200, kRed, kBlue, nullptr, nullptr},
      {5, 150, 200, kRed, kBlue, nullptr, nullptr},  // mirrored on the diagonal: the top goes left
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("orientation " + std::to_string(c.orientation));
    // Decoded at one eighth, and from an embedded 160 x 120 thumbnail of the same pattern.
    const std::vector<uint8_t> plain = fixtures::WithExifOrientation(fixtures::Jpeg(1600, 1200, 75), c.orientation);
    const std::vector<uint8_t> embedded = fixtures::WithExifOrientation(
        fixtures::WithExifThumbnail(fixtures::CutAfterScanHeader(fixtures::Jpeg(1600, 1200)), fixtures::Jpeg(160, 120)),
        c.orientation);
    for (int source = 0; source < 2; ++source) {
      SCOPED_TRACE(source ? "embedded" : "decoded");
      Open(Fixture("oriented.jpg", source ? embedded : plain));
      const bool turned = c.expectW < c.expectH;
      const int expectW = source ? (turned ? 120 : 160) : c.expectW;
      const int expectH = source ? (turned ? 160 : 120) : c.expectH;
      unsigned short w = 100, h = 100;
      EXPECT_EQ(kOk, module->GetThumbnailSize(&w, &h));
      EXPECT_EQ(expectW, w);
      EXPECT_EQ(expectH, h);
      NXHGLOBAL handle = 0;
      ASSERT_EQ(kOk, module->GetPlatformThumbnail(&handle, &w, &h, FALSE));
      Dib dib = TakeDib(handle);
      ASSERT_EQ(expectW, dib.width);
      ASSERT_EQ(expectH, dib.height);
      const int midX = dib.width / 2, midY = dib.height / 2, lastX = dib.width - 1, lastY = dib.height - 1;
      // Memory line 0 is the bottom line.
      if (c.left) ExpectColor(dib.Pixel(0, midY), c.left);
      if (c.right) ExpectColor(dib.Pixel(lastX, midY), c.right);
      if (c.top) ExpectColor(dib.Pixel(midX, lastY), c.top);
      if (c.bottom) ExpectColor(dib.Pixel(midX, 0), c.bottom);
    }
  }
  NXHGLOBAL whole = 0;
  Open(Fixture("oriented.jpg", fixtures::WithExifOrientation(fixtures::Jpeg(64, 48), 6)));
  ASSERT_EQ(kOk, module->ReadToDIB(&whole));
  Dib dib = TakeDib(whole);
  EXPECT_EQ(64, dib.width);
  EXPECT_EQ(48, dib.height);
}

// Opening reads a large file whole only when its embedded thumbnail is not in its first bytes; either way the
// record, the thumbnail and the picture are the file's.
TEST_F(JpegModule, LargeFilesWithAThumbnailOpenFromTheirFirstBytes) {
  const uint8_t kGreen[3] = {0, 200, 0};
  const std::vector<uint8_t> main = fixtures::Jpeg(1600, 1200), thumb = fixtures::SolidJpeg(160, 120, kGreen);
  const size_t kLarge = 400000;  // more than opening reads first
  const struct {
    const char* name;
    std::vector<uint8_t> file;
  } cases[] = {
      {"thumbnail_first", fixtures::WithExifThumbnail(fixtures::PaddedTo(main, kLarge), thumb)},
      {"thumbnail_late", fixtures::PaddedTo(fixtures::WithExifThumbnail(main, thumb), kLarge)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    tagIMGFILEINFO info = Open(Fixture("large_exif.jpg", c.file));
    EXPECT_EQ(c.file.size(), info.filesize);
    EXPECT_EQ(1600u, info.width);
    unsigned short w = 100, h = 100;
    NXHGLOBAL handle = 0;
    ASSERT_EQ(kOk, module->GetPlatformThumbnail(&handle, &w, &h, FALSE));
    Dib small = TakeDib(handle);
    EXPECT_EQ(160, small.width);
    ExpectColor(small.Pixel(80, 60), kGreen);
    ASSERT_EQ(kOk, module->ReadToDIB(&handle));
    Dib whole = TakeDib(handle);
    EXPECT_EQ(1200, whole.height);
    ExpectColor(whole.Pixel(800, 1199), fixtures::kTop);
  }
}

TEST_F(JpegModule, GetThumbnailFitsTheBitmapIntoTheDescriptor) {
  Open(Fixture("fit.jpg", fixtures::Jpeg(1600, 1200)));
  const uint32_t kLine = 300;
  std::vector<uint8_t> buffer(kLine * 74 + 16, 0xCD);
  tagIMAGEBUFDESC desc = {};
  desc.width = 100;
  desc.height = 74;
  desc.bytesPerLine = kLine;
  desc.pixels = buffer.data();
  ASSERT_EQ(kOk, module->GetThumbnail(&desc, FALSE));
  EXPECT_EQ(100u, desc.width);
  EXPECT_EQ(74u, desc.height);
  ExpectColor(&buffer[0], fixtures::kBottom);                       // bitmap layout: bottom line first, BGR
  ExpectColor(&buffer[kLine * 73 + 3 * 99], fixtures::kTop);
  EXPECT_EQ(0xCD, buffer[kLine * 74]);                              // nothing beyond the buffer
}

// The module's own GetThumbnail skips the platform bitmap the shared one goes through, with the same pixels.
TEST_F(JpegModule, GetThumbnailEqualsThePlatformThumbnailCopiedIn) {
  for (int channels : {3, 1}) {
    Open(Fixture("same.jpg", fixtures::Jpeg(1700, 1100, 90, channels)));
    const uint32_t kWidth = 112, kHeight = 72, kLine = kWidth * 3 + 4;
    std::vector<uint8_t> direct(kLine * kHeight), shared(kLine * kHeight);
    tagIMAGEBUFDESC desc = {};
    desc.width = kWidth;
    desc.height = kHeight;
    desc.bytesPerLine = kLine;
    desc.pixels = direct.data();
    ASSERT_EQ(kOk, module->GetThumbnail(&desc, FALSE));
    NXHGLOBAL handle = 0;
    unsigned short w = kWidth, h = kHeight;
    ASSERT_EQ(kOk, module->GetPlatformThumbnail(&handle, &w, &h, FALSE));
    desc.pixels = shared.data();
    EXPECT_EQ(IMGFILERR_OK, nxformat::CopyDibToDescriptor(reinterpret_cast<HGLOBAL>(handle), &desc));
    GlobalFree(reinterpret_cast<HGLOBAL>(handle));
    EXPECT_EQ(shared, direct) << channels << " channels";
  }
}

// The file Open read is what later reads decode, until it is closed: the Gallery opens each file and takes its
// thumbnail at once, so each file is read from disk only once.
TEST_F(JpegModule, ReadsDecodeTheBytesOpenRead) {
  const uint8_t kGreen[3] = {0, 200, 0};
  const std::string first = Fixture("kept.jpg", fixtures::Jpeg(1600, 1200));
  Open(first);
  ASSERT_TRUE(DeleteFileA(first.c_str()));
  NXHGLOBAL handle = 0;
  ASSERT_EQ(kOk, module->ReadToDIB(&handle));
  Dib whole = TakeDib(handle);
  ExpectColor(whole.Pixel(800, 0), fixtures::kBottom);
  ExpectColor(whole.Pixel(800, 1199), fixtures::kTop);
  unsigned short w = 100, h = 100;
  ASSERT_EQ(kOk, module->GetPlatformThumbnail(&handle, &w, &h, FALSE));
  Dib thumb = TakeDib(handle);
  EXPECT_EQ(200, thumb.width);
  ExpectColor(thumb.Pixel(0, thumb.height - 1), fixtures::kTop);
  std::vector<uint8_t> band(1600 * 3 * 8);
  tagIMAGEBUFDESC desc = {};
  desc.model = COLORMODEL_RGB;
  desc.order = COMPONENTORDER_NORMAL;
  desc.width = 1600;
  desc.height = 8;
  desc.bytesPerLine = 1600 * 3;
  desc.pixels = band.data();
  ULONG lines = 0;
  ASSERT_EQ(kOk, module->ReadBand(&desc, 1100, &lines));
  EXPECT_EQ(8u, lines);
  EXPECT_NEAR(255, band[2], 8);  // blue, in red-green-blue order

  // Another file replaces the kept bytes; a failed Open or CloseFile leaves nothing to read.
  Open(Fixture("next.jpg", fixtures::SolidJpeg(1600, 1200, kGreen)));
  ASSERT_EQ(kOk, module->ReadToDIB(&handle));
  ExpectColor(TakeDib(handle).Pixel(800, 0), kGreen);
  Open(first, Fail(IMGFILERR_NOFILE));
  EXPECT_EQ(Fail(IMGFILERR_NOTOPEN), module->ReadToDIB(&handle));
  Open(Fixture("again.jpg", fixtures::SolidJpeg(64, 64, kGreen)));
  EXPECT_EQ(kOk, module->CloseFile());
  EXPECT_EQ(Fail(IMGFILERR_NOTOPEN), module->GetPlatformThumbnail(&handle, &w, &h, FALSE));
}

// Files above the size the module keeps in memory are read again by path, so a decode sees the file as it is now.
TEST_F(JpegModule, LargeFilesAreReadByPath) {
  const size_t kAboveKeptLimit = (64u << 20) + 1;
  const uint8_t kGreen[3] = {0, 200, 0};
  const std::string path = Fixture("large.jpg", fixtures::PaddedTo(fixtures::Jpeg(64, 48), kAboveKeptLimit));
  EXPECT_LE(kAboveKeptLimit, Open(path).filesize);
  fixtures::WriteFile(path, fixtures::PaddedTo(fixtures::SolidJpeg(64, 48, kGreen), kAboveKeptLimit));
  NXHGLOBAL handle = 0;
  ASSERT_EQ(kOk, module->ReadToDIB(&handle));
  ExpectColor(TakeDib(handle).Pixel(32, 0), kGreen);
  unsigned short w = 32, h = 32;
  ASSERT_EQ(kOk, module->GetPlatformThumbnail(&handle, &w, &h, FALSE));
  ExpectColor(TakeDib(handle).Pixel(10, 10), kGreen);
  EXPECT_EQ(kOk, module->CloseFile());
  DeleteFileA(path.c_str());
}

TEST_F(JpegModule, CreateAcceptsOnlyJpeg) {
  tagIMGFILEINFO info = {32, 64, 48};
  EXPECT_EQ(Fail(IMGFILERR_UNSUPPORTED), module->CreateFile(fixtures::ScratchPath("x.tif").c_str(), kTiff, &info));
  NXHGLOBAL none = 0;
  EXPECT_EQ(Fail(IMGFILERR_NOTOPEN), module->WriteDIB(none));
}

// A packed 24-bit bitmap of the red-over-blue pattern.
HGLOBAL PatternDib(int width, int height) {
  HGLOBAL dib = nullptr;
  EXPECT_EQ(IMGFILERR_OK, nxformat::NewPackedDib(width, height, &dib));
  uint8_t* bytes = static_cast<uint8_t*>(GlobalLock(dib));
  for (int line = 0; line < height; ++line) {
    const uint8_t* rgb = line < height / 2 ? fixtures::kBottom : fixtures::kTop;
    uint8_t* p = bytes + 40 + size_t(nxformat::PackedLineLength(width)) * line;
    for (int x = 0; x < width; ++x, p += 3) p[0] = rgb[2], p[1] = rgb[1], p[2] = rgb[0];
  }
  GlobalUnlock(dib);
  return dib;
}

TEST_F(JpegModule, WriteDibWritesTheRecordsSizeAndQuality) {
  std::string path = fixtures::ScratchPath("written.jpg");
  tagIMGFILEINFO info = {32, 90, 60};
  info.quality = 75;
  ASSERT_EQ(kOk, module->CreateFile(path.c_str(), kJpeg, &info));
  HGLOBAL dib = PatternDib(90, 60);
  EXPECT_EQ(kOk, module->WriteDIB(reinterpret_cast<NXHGLOBAL>(dib)));
  GlobalFree(dib);
  tagIMGFILEINFO back = Open(path);
  EXPECT_EQ(90u, back.width);
  EXPECT_EQ(60u, back.height);
  EXPECT_EQ(24, back.bits);
  EXPECT_NEAR(75, back.quality, 1);
  NXHGLOBAL handle = 0;
  ASSERT_EQ(kOk, module->ReadToDIB(&handle));
  Dib read = TakeDib(handle);
  ExpectColor(read.Pixel(10, 5), fixtures::kBottom);
  ExpectColor(read.Pixel(10, 55), fixtures::kTop);
}

TEST_F(JpegModule, BandWritesMakeOneFile) {
  std::string path = fixtures::ScratchPath("banded.jpg");
  tagIMGFILEINFO info = {32, 40, 40};
  info.bits = 24;
  info.quality = 90;
  ASSERT_EQ(kOk, module->CreateFile(path.c_str(), kJpeg, &info));
  std::vector<uint8_t> band(40 * 3 * 16);
  tagIMAGEBUFDESC desc = {};
  desc.width = 40;
  desc.height = 16;
  desc.bytesPerLine = 120;
  desc.pixels = band.data();
  for (ULONG start = 0; start < 40; start += 16) {
    for (size_t i = 0; i < band.size(); i += 3) band[i] = start < 20 ? 255 : 0, band[i + 2] = start < 20 ? 0 : 255;
    ULONG lines = 16;
    ASSERT_EQ(kOk, module->WriteBand(&desc, start, &lines)) << start;
    EXPECT_EQ(start == 32 ? 8u : 16u, lines);
  }
  tagIMGFILEINFO back = Open(path);
  EXPECT_EQ(40u, back.height);
}

// A band write that stops before the last line, however it ends, leaves the old file and no partial file.
TEST_F(JpegModule, UnfinishedBandWriteKeepsTheOldFile) {
  enum Ending { kEndWriteBand, kCloseFile, kCreateAnother, kRelease };
  const struct {
    Ending ending;
    const char* name;
  } cases[] = {{kEndWriteBand, "EndWriteBand"}, {kCloseFile, "CloseFile"}, {kCreateAnother, "CreateFile"},
               {kRelease, "Release"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = fixtures::ScratchPath(std::string("unfinished-") + c.name + ".jpg");
    const std::string part = path + ".~0.tmp";
    const std::vector<uint8_t> old = fixtures::Jpeg(32, 32);
    fixtures::WriteFile(path, old);
    tagIMGFILEINFO info = {32, 40, 40};
    info.bits = 24;
    info.quality = 90;
    ASSERT_EQ(kOk, module->CreateFile(path.c_str(), kJpeg, &info));
    std::vector<uint8_t> band(40 * 3 * 16, 128);
    tagIMAGEBUFDESC desc = {};
    desc.width = 40;
    desc.height = 16;
    desc.bytesPerLine = 120;
    desc.pixels = band.data();
    ASSERT_EQ(kOk, module->StartWriteBand(&desc));
    ULONG lines = 16;
    ASSERT_EQ(kOk, module->WriteBand(&desc, 0, &lines));
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(part.c_str()));
    switch (c.ending) {
      case kEndWriteBand:
        EXPECT_EQ(Fail(IMGFILERR_WRITE), module->EndWriteBand());
        EXPECT_EQ(kOk, module->EndWriteBand());  // nothing left to give up
        break;
      case kCloseFile:
        EXPECT_EQ(kOk, module->CloseFile());
        break;
      case kCreateAnother:
        EXPECT_EQ(kOk, module->CreateFile(fixtures::ScratchPath("another.jpg").c_str(), kJpeg, &info));
        break;
      case kRelease:
        module.Release();
        break;
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(part.c_str()));
    EXPECT_EQ(old, fixtures::ReadFile(path));
    if (c.ending == kRelease) {
      ASSERT_EQ(S_OK, CoCreateInstance(CLSID_NXJPEGFormat, nullptr, CLSCTX_INPROC_SERVER, IID_INXIFLib,
                                       module.PutVoid()));
    } else {
      // The session is gone: continuing it is refused and the file stays as it was.
      ASSERT_EQ(kOk, module->CreateFile(path.c_str(), kJpeg, &info));
      EXPECT_NE(kOk, module->WriteBand(&desc, 16, &lines));
      EXPECT_EQ(old, fixtures::ReadFile(path));
    }
  }
}

// Band writes that reach the last line end with EndWriteBand succeeding and the new file in place.
TEST_F(JpegModule, FinishedBandWriteEndsCleanly) {
  const std::string path = fixtures::ScratchPath("finished.jpg");
  fixtures::WriteFile(path, fixtures::Jpeg(32, 32));
  tagIMGFILEINFO info = {32, 40, 20};
  info.bits = 24;
  info.quality = 90;
  ASSERT_EQ(kOk, module->CreateFile(path.c_str(), kJpeg, &info));
  std::vector<uint8_t> band(40 * 3 * 10, 200);
  tagIMAGEBUFDESC desc = {};
  desc.width = 40;
  desc.height = 10;
  desc.bytesPerLine = 120;
  desc.pixels = band.data();
  for (ULONG start = 0; start < 20; start += 10) {
    ULONG lines = 10;
    ASSERT_EQ(kOk, module->WriteBand(&desc, start, &lines));
  }
  EXPECT_EQ(kOk, module->EndWriteBand());
  EXPECT_EQ(kOk, module->CloseFile());
  EXPECT_EQ(20u, Open(path).height);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path + ".~0.tmp").c_str()));
}

TEST_F(JpegModule, FailedWriteLeavesTheOldFile) {
  std::string path = fixtures::ScratchPath("keep.jpg");
  std::vector<uint8_t> old = fixtures::Jpeg(32, 32);
  fixtures::WriteFile(path, old);
  tagIMGFILEINFO info = {32, 64, 64};
  info.quality = 75;
  HGLOBAL dib = PatternDib(64, 64);
  // The old file is held open without sharing, so it cannot be replaced.
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  ASSERT_EQ(kOk, module->CreateFile(path.c_str(), kJpeg, &info));
  EXPECT_NE(kOk, module->WriteDIB(reinterpret_cast<NXHGLOBAL>(dib)));
  CloseHandle(held);
  EXPECT_EQ(old, fixtures::ReadFile(path));
  // A bitmap that does not match the record is refused before anything is written.
  info.width = 65;
  ASSERT_EQ(kOk, module->CreateFile(path.c_str(), kJpeg, &info));
  EXPECT_NE(kOk, module->WriteDIB(reinterpret_cast<NXHGLOBAL>(dib)));
  EXPECT_EQ(old, fixtures::ReadFile(path));
  GlobalFree(dib);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path + ".~0.tmp").c_str()));
}

TEST_F(JpegModule, UnregisterAlwaysSucceedsAndKeepsTheCategory) {
  HMODULE dll = LoadLibraryA("NXJPEGCOM.dll");
  ASSERT_NE(nullptr, dll);
  typedef HRESULT(WINAPI * EntryPoint)();
  auto unregister = reinterpret_cast<EntryPoint>(GetProcAddress(dll, "DllUnregisterServer"));
  auto reg = reinterpret_cast<EntryPoint>(GetProcAddress(dll, "DllRegisterServer"));
  ASSERT_TRUE(unregister && reg);
  EXPECT_EQ(S_OK, unregister());
  EXPECT_EQ(S_OK, unregister());
  std::vector<CLSID> classes;
  comkit::EnumClassesInCategory(nxformat::kCategoryId, classes);
  for (const CLSID& c : classes) EXPECT_FALSE(IsEqualCLSID(c, CLSID_NXJPEGFormat));
  comkit::ComPtr<ICatInformation> manager;
  ASSERT_EQ(S_OK, CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_ICatInformation, manager.PutVoid()));
  LPWSTR description = nullptr;
  CATID catid = nxformat::kCategoryId;
  ASSERT_EQ(S_OK, manager->GetCategoryDesc(catid, 1033, &description));
  EXPECT_STREQ(L"Nexlumen Image Libraries", description);
  CoTaskMemFree(description);
  EXPECT_EQ(S_OK, reg());
  FreeLibrary(dll);
}

}  // namespace
