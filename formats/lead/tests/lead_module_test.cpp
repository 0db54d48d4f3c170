// Tests of NXLEADCOM through COM as imagio sees it: registration, type table, opening what the toolkit
// identifies, band reading and writing with the bottom-up rule, whole-image calls, thumbnails and damaged files.
#include <algorithm>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include <comkit/category.h>
#include <comkit/holders.h>
#include <imagio/imagebuf.h>
#include <lead/orvlead.h>
#include <nxformat/nxformat.h>
#include <nxformat/packed_dib.h>
#include "jpeg_fixtures.h"
#include "lead_ids.h"
#include "lead_rules.h"
#include "nxleadcom.h"

namespace {

using nxlead::kTypeBmp;
using nxlead::kTypeGif;
using nxlead::kTypeJpeg;
using nxlead::kTypePng;
using nxlead::kTypeTiff;
const HRESULT kOk = 0x00040200;
HRESULT Fail(int code) { return static_cast<HRESULT>(0x80040000u + code); }

// A width x height 24-bit picture whose pixel (x, y) is (x * 3, y * 5, 77), saved by the toolkit.
void WritePicture(const std::string& path, int format, int width, int height, int bits = 24) {
  ORVLBITMAP b;
  orvlInitBitmap(&b, 1, 1, 1);
  ASSERT_EQ(ORVL_SUCCESS, orvlCreateBitmap(&b, 1, width, height, 24, ORVL_ORDER_BGR, nullptr, ORVL_TOP_LEFT));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) orvlPutPixelColor(&b, y, x, ORVL_RGB(x * 3, y * 5, 77));
  ASSERT_EQ(ORVL_SUCCESS, orvlSaveFile(path.c_str(), &b, format, bits, 0, 0));
  orvlFreeBitmap(&b);
}

struct Dib {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
  // Pixel (x, y) counted from the top.
  const uint8_t* At(int x, int y) const {
    const int line = height > 0 ? height - 1 - y : y;
    return &pixels[size_t(nxformat::PackedLineLength(width)) * line + 3 * x];
  }
};

Dib TakeDib(NXHGLOBAL handle) {
  Dib dib;
  HGLOBAL h = reinterpret_cast<HGLOBAL>(handle);
  const uint8_t* bytes = static_cast<const uint8_t*>(GlobalLock(h));
  const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
  EXPECT_EQ(24, header->biBitCount);
  dib.width = header->biWidth;
  dib.height = header->biHeight;
  const int lines = std::abs(dib.height);
  dib.pixels.assign(bytes + 40, bytes + 40 + size_t(nxformat::PackedLineLength(dib.width)) * lines);
  GlobalUnlock(h);
  GlobalFree(h);
  return dib;
}

class LeadModule : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_NXLeadFormat, nullptr, CLSCTX_INPROC_SERVER, IID_INXIFLib,
                                     module.PutVoid()));
  }
  void TearDown() override {
    module.Release();
    CoUninitialize();
  }
  tagIMGFILEINFO Open(const std::string& path, ULONG expectedType) {
    tagIMGFILEINFO info = {};
    info.size = kImgFileInfoSize;
    ULONG type = 0xDEAD;
    EXPECT_EQ(kOk, module->OpenFile(path.c_str(), &type, &info)) << path;
    EXPECT_EQ(expectedType, type) << path;
    return info;
  }
  comkit::ComPtr<INXIFLib> module;
};

TEST_F(LeadModule, RegisteredWithNamesCategoryAndTypeLibrary) {
  std::vector<CLSID> classes;
  ASSERT_EQ(S_OK, comkit::EnumClassesInCategory(nxformat::kCategoryId, classes));
  EXPECT_NE(classes.end(), std::find_if(classes.begin(), classes.end(),
                                        [](const CLSID& c) { return IsEqualCLSID(c, CLSID_NXLeadFormat); }));
  CLSID fromProgId;
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"" NXLEAD_VI_PROGID, &fromProgId));
  EXPECT_TRUE(IsEqualCLSID(CLSID_NXLeadFormat, fromProgId));
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"" NXLEAD_PROGID, &fromProgId));
  comkit::ComPtr<ITypeLib> typeLib;
  ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_NXLEADCOMLib, 1, 0, LANG_NEUTRAL, &typeLib));
  comkit::Bstr doc;
  ASSERT_EQ(S_OK, typeLib->GetDocumentation(-1, nullptr, &doc, nullptr, nullptr));
  EXPECT_EQ("NXLeadCom 1.0 Type Library", doc.ToAnsi());
  HMODULE dll = LoadLibraryA("NXLEADCOM.dll");
  ASSERT_NE(nullptr, dll);
  char name[64] = "";
  EXPECT_GT(LoadStringA(dll, IDS_NXLEAD_NAME, name, sizeof(name)), 0);
  EXPECT_STREQ("NXLeadCom", name);
  FreeLibrary(dll);
}

TEST_F(LeadModule, TypeTable) {
  unsigned short count = 0;
  ULONG types[10] = {};
  EXPECT_EQ(kOk, module->GetSupportImageType(&count, 10, types));
  ASSERT_EQ(3, count);
  EXPECT_EQ(kTypeTiff, types[0]);
  EXPECT_EQ(kTypeBmp, types[1]);
  EXPECT_EQ(kTypePng, types[2]);
  for (ULONG type : {kTypeTiff, kTypeBmp, kTypePng}) {
    unsigned short bits[10];
    std::fill(bits, bits + 10, 0xEEEE);
    EXPECT_EQ(kOk, module->GetSupportBits(10, bits, type));
    EXPECT_EQ(24, bits[0]);
    EXPECT_EQ(8, bits[1]);
    EXPECT_EQ(4, bits[2]);
    EXPECT_EQ(1, bits[3]);
    EXPECT_EQ(0, bits[4]);
    unsigned short mask = 0;
    EXPECT_EQ(kOk, module->GetSupportColorModel(&mask, type));
    EXPECT_EQ(13, mask);
    EXPECT_EQ(kOk, module->GetSupportCompression(&mask, type));
    EXPECT_EQ(0, mask);
  }
  unsigned char name[256] = "", ext[30] = "";
  EXPECT_EQ(kOk, module->GetFileFilter(sizeof(name), name, sizeof(ext), ext, kTypeTiff));
  EXPECT_STREQ("TIFF", reinterpret_cast<char*>(name));
  EXPECT_STREQ(".tif", reinterpret_cast<char*>(ext));
  EXPECT_EQ(Fail(IMGFILERR_UNSUPPORTED), module->GetDefaultExt(sizeof(ext), ext, kTypeJpeg));
}

TEST_F(LeadModule, OpensWhatTheToolkitIdentifies) {
  const std::string gif = fixtures::ScratchPath("open.gif");
  WritePicture(gif, ORVL_FMT_GIF, 40, 30, 8);
  tagIMGFILEINFO info = Open(gif, kTypeGif);
  EXPECT_EQ(32u, info.size);
  EXPECT_EQ(40u, info.width);
  EXPECT_EQ(30u, info.height);
  EXPECT_EQ(8, info.bits);
  EXPECT_EQ(IMGCOLOR_PALETTE, info.colormodel);
  EXPECT_EQ(0, info.quality);

  const std::string bmp = fixtures::ScratchPath("open.bmp");
  WritePicture(bmp, ORVL_FMT_BMP, 40, 30, 1);
  info = Open(bmp, kTypeBmp);
  EXPECT_EQ(1, info.bits);
  EXPECT_EQ(IMGCOLOR_BW, info.colormodel);
  EXPECT_EQ(IMGCOMP_NONE, info.compression);

  const std::string jpeg = fixtures::ScratchPath("open.jpg");
  fixtures::WriteFile(jpeg, fixtures::Jpeg(48, 32));
  info = Open(jpeg, kTypeJpeg);
  EXPECT_EQ(IMGCOMP_JPEG, info.compression);
  EXPECT_EQ(IMGCOLOR_TRUECOLOR, info.colormodel);
  NXHGLOBAL handle = 0;
  ASSERT_EQ(kOk, module->ReadToDIB(&handle));
  Dib dib = TakeDib(handle);
  EXPECT_EQ(48, dib.width);
  EXPECT_NEAR(255, dib.At(10, 2)[2], 8);  // red top half
  EXPECT_NEAR(255, dib.At(10, 30)[0], 8);  // blue bottom half

  tagIMGFILEINFO none = {};
  ULONG type = 0;
  const std::string junk = fixtures::ScratchPath("junk.dat");
  fixtures::WriteFile(junk, std::vector<uint8_t>(100, 'x'));
  EXPECT_EQ(Fail(IMGFILERR_UNSUPPORTED), module->OpenFile(junk.c_str(), &type, &none));
  EXPECT_EQ(Fail(IMGFILERR_NOFILE), module->OpenFile("C:\\no-such-folder\\x.png", &type, &none));
  EXPECT_EQ(Fail(IMGFILERR_NOTOPEN), module->ReadToDIB(&handle));
}

TEST_F(LeadModule, CreateAcceptsOnlyTiffBmpAndPng) {
  tagIMGFILEINFO info = {32, 10, 10, 0, 0, 24, 8, 0, 75, 0, 0};
  const std::string path = fixtures::ScratchPath("create.x");
  EXPECT_EQ(Fail(IMGFILERR_UNSUPPORTED), module->CreateFile(path.c_str(), kTypeJpeg, &info));
  EXPECT_EQ(Fail(IMGFILERR_UNSUPPORTED), module->CreateFile(path.c_str(), kTypeGif, &info));
  for (ULONG type : {kTypeTiff, kTypeBmp, kTypePng}) EXPECT_EQ(kOk, module->CreateFile(path.c_str(), type, &info));
}

// Writes a picture in bands of 10 lines and reads it back in bands; BMP files are bottom-up, the others not.
TEST_F(LeadModule, BandsFollowTheBottomUpRule) {
  const int kW = 30, kH = 20, kLine = 92;  // lines padded beyond 90 bytes
  for (ULONG type : {kTypeBmp, kTypePng, kTypeTiff}) {
    SCOPED_TRACE(type);
    const std::string path = fixtures::ScratchPath("bands" + std::to_string(type));
    tagIMGFILEINFO info = {32, kW, kH, 0, 0, 24, 8, 0, 90, 0, 0};
    ASSERT_EQ(kOk, module->CreateFile(path.c_str(), type, &info));
    std::vector<uint8_t> band(kLine * 10);
    tagIMAGEBUFDESC desc;
    SetImageBuffer(&desc, band.data(), kW, 10, kLine, 0, COLORMODEL_RGB, COMPONENTORDER_NORMAL, OPACITY_OPAQUE);
    ASSERT_EQ(kOk, module->StartWriteBand(&desc));
    const bool bottomUp = type == kTypeBmp;
    for (ULONG start : {0u, 10u}) {
      // Memory rows of a bottom-up bitmap start at the bottom: fill the band so that the picture reads
      // (x, y) -> red x * 8, green y * 12 from its top.
      for (int i = 0; i < 10; ++i) {
        const int y = bottomUp ? kH - 1 - int(start) - i : int(start) + i;
        const int line = bottomUp ? 9 - i : i;  // the flag inverts the walk through the buffer
        for (int x = 0; x < kW; ++x) {
          uint8_t* p = &band[kLine * line + 3 * x];
          p[0] = uint8_t(x * 8);
          p[1] = uint8_t(y * 12);
          p[2] = 40;
        }
      }
      const uint8_t flagBefore = desc.upsideDown;
      ULONG lines = 0;
      ASSERT_EQ(kOk, module->WriteBand(&desc, start, &lines));
      EXPECT_EQ(10u, lines);
      EXPECT_EQ(bottomUp ? !flagBefore : flagBefore, desc.upsideDown);
      desc.upsideDown = 0;  // the caller sets up the next band afresh
      ResetImageBuffer(&desc, band.data());
    }
    ASSERT_EQ(kOk, module->EndWriteBand());

    tagIMGFILEINFO opened = Open(path, type);
    EXPECT_EQ(uint32_t(kW), opened.width);
    std::vector<uint8_t> all(kLine * kH, 0xEE);
    SetImageBuffer(&desc, all.data(), kW, kH, kLine, 0, COLORMODEL_RGB, COMPONENTORDER_NORMAL, OPACITY_OPAQUE);
    ASSERT_EQ(kOk, module->StartReadBand(&desc));
    ULONG lines = 0;
    ASSERT_EQ(kOk, module->ReadBand(&desc, 0, &lines));
    EXPECT_EQ(ULONG(kH), lines);
    EXPECT_EQ(bottomUp ? 1 : 0, desc.upsideDown);
    EXPECT_EQ(kOk, module->EndReadBand());
    // The lines lie in the order the caller asked for (top-down), whatever the flag says now.
    for (int y = 0; y < kH; ++y) {
      const int line = y;
      for (int x = 0; x < kW; x += 7) {
        const uint8_t* p = &all[kLine * line + 3 * x];
        EXPECT_EQ(x * 8, p[0]) << x << "," << y;
        EXPECT_EQ(y * 12, p[1]) << x << "," << y;
      }
      EXPECT_EQ(0xEE, all[kLine * line + 90]);  // padding untouched
    }
    module->CloseFile();
  }
}

TEST_F(LeadModule, BandReadPastThePictureStops) {
  const std::string path = fixtures::ScratchPath("short.png");
  WritePicture(path, ORVL_FMT_PNG, 16, 12);
  Open(path, kTypePng);
  std::vector<uint8_t> band(48 * 10);
  tagIMAGEBUFDESC desc;
  SetImageBuffer(&desc, band.data(), 16, 10, 48, 0, COLORMODEL_RGB, COMPONENTORDER_REVERSE, OPACITY_OPAQUE);
  ULONG lines = 99;
  EXPECT_EQ(Fail(IMGFILERR_NOTOPEN), module->ReadBand(&desc, 0, &lines));
  ASSERT_EQ(kOk, module->StartReadBand(&desc));
  EXPECT_EQ(kOk, module->ReadBand(&desc, 0, &lines));
  EXPECT_EQ(10u, lines);
  ResetImageBuffer(&desc, band.data());
  EXPECT_EQ(Fail(IMGFILERR_FAILED), module->ReadBand(&desc, 10, &lines));
  EXPECT_EQ(2u, lines);
  EXPECT_EQ(kOk, module->EndReadBand());
}

TEST_F(LeadModule, WriteDibSavesTiffWithThumbnailPageAndThumbnailsUseIt) {
  const std::string path = fixtures::ScratchPath("dib.tif");
  HGLOBAL dib = nullptr;
  ASSERT_EQ(IMGFILERR_OK, nxformat::NewPackedDib(400, 300, &dib));
  {
    nxformat::LockedGlobal lock(dib);
    uint8_t* px = lock.Bytes() + 40;
    for (uint32_t i = 0; i < nxformat::PackedPixelBytes(400, 300); i += 3) px[i + 1] = 180;  // green
  }
  tagIMGFILEINFO info = {32, 400, 300, 0, 0, 24, 8, 0, 75, 0, 0};
  ASSERT_EQ(kOk, module->CreateFile(path.c_str(), kTypeTiff, &info));
  ASSERT_EQ(kOk, module->WriteDIB(reinterpret_cast<NXHGLOBAL>(dib)));
  GlobalFree(dib);

  info = Open(path, kTypeTiff);
  EXPECT_EQ(400u, info.width);
  unsigned short w = 112, h = 112;
  EXPECT_EQ(kOk, module->GetThumbnailSize(&w, &h));
  EXPECT_EQ(112, w);
  EXPECT_EQ(84, h);
  // The 80 x 60 page fits the box and is delivered as it is without expand, resized to the box with it.
  NXHGLOBAL thumb = 0;
  w = h = 112;
  ASSERT_EQ(kOk, module->GetPlatformThumbnail(&thumb, &w, &h, 0));
  Dib small = TakeDib(thumb);
  EXPECT_EQ(80, w);
  EXPECT_EQ(60, h);
  EXPECT_EQ(80, small.width);
  EXPECT_NEAR(180, small.At(40, 30)[1], 12);
  w = h = 112;
  ASSERT_EQ(kOk, module->GetPlatformThumbnail(&thumb, &w, &h, 1));
  EXPECT_EQ(112, w);
  EXPECT_EQ(84, h);
  EXPECT_EQ(112, TakeDib(thumb).width);
}

TEST_F(LeadModule, ThumbnailsWithoutAQuickSourceLoadThePicture) {
  const std::string path = fixtures::ScratchPath("thumb.png");
  WritePicture(path, ORVL_FMT_PNG, 60, 40);
  Open(path, kTypePng);
  NXHGLOBAL thumb = 0;
  unsigned short w = 30, h = 30;
  ASSERT_EQ(kOk, module->GetPlatformThumbnail(&thumb, &w, &h, 0));
  EXPECT_EQ(30, w);
  EXPECT_EQ(20, h);
  Dib dib = TakeDib(thumb);
  EXPECT_NEAR(77, dib.At(15, 10)[0], 3);
  // A picture smaller than the box is delivered as it is, and grown to the fitted size with expand.
  w = h = 200;
  ASSERT_EQ(kOk, module->GetPlatformThumbnail(&thumb, &w, &h, 0));
  EXPECT_EQ(60, w);
  EXPECT_EQ(40, h);
  TakeDib(thumb);
  w = h = 200;
  ASSERT_EQ(kOk, module->GetPlatformThumbnail(&thumb, &w, &h, 1));
  EXPECT_EQ(200, w);
  EXPECT_EQ(133, h);
  TakeDib(thumb);
  w = 0;
  EXPECT_EQ(Fail(IMGFILERR_FAILED), module->GetPlatformThumbnail(&thumb, &w, &h, 0));
}

TEST_F(LeadModule, JpegThumbnailComesFromItsStamp) {
  const uint8_t green[3] = {0, 255, 0};
  const std::string path = fixtures::ScratchPath("stamp.jpg");
  fixtures::WriteFile(path, fixtures::WithExifThumbnail(fixtures::Jpeg(320, 240), fixtures::SolidJpeg(40, 30, green)));
  Open(path, kTypeJpeg);
  NXHGLOBAL thumb = 0;
  unsigned short w = 80, h = 80;
  ASSERT_EQ(kOk, module->GetPlatformThumbnail(&thumb, &w, &h, 0));
  EXPECT_EQ(40, w);  // the stamp fits the 80 x 60 box and is used as it is
  EXPECT_EQ(30, h);
  Dib dib = TakeDib(thumb);
  EXPECT_NEAR(255, dib.At(20, 15)[1], 8);
}

}  // namespace

// Damaged copies of files the toolkit writes: opening, whole-image and band reading each give the module's
// error codes or succeed, never crash; where the damage is detectable (a cut file, a broken header, a PNG
// chunk failing its CRC) one of them must fail.
TEST_F(LeadModule, DamagedFilesGiveErrorCodesNeverACrash) {
  struct Source { const char* name; int format; int bits; };
  const Source sources[] = {{"damage.bmp", ORVL_FMT_BMP, 24}, {"damage.png", ORVL_FMT_PNG, 24},
                            {"damage.tif", ORVL_FMT_TIFF, 24}, {"damage.gif", ORVL_FMT_GIF, 8}};
  enum Kind { kCut, kDropLast, kZeroWidth, kScramble };
  // Cuts keep, and scrambles start at, `bytes` plus `percent` of the file; a scramble flips 40 bytes.
  struct Damage { const char* what; Kind kind; size_t bytes; int percent; bool mustFail; };
  const Damage damages[] = {
      {"cut to 8 bytes", kCut, 8, 0, true},           {"cut to 20 bytes", kCut, 20, 0, true},
      {"cut to half", kCut, 0, 50, true},             {"last byte cut", kDropLast, 0, 0, false},
      {"width field zeroed", kZeroWidth, 0, 0, true}, {"header scrambled", kScramble, 4, 0, true},
      {"middle scrambled", kScramble, 0, 60, false},
  };
  for (const Source& s : sources) {
    const std::string original = fixtures::ScratchPath(s.name);
    WritePicture(original, s.format, 60, 40, s.bits);
    const std::vector<uint8_t> good = fixtures::ReadFile(original);
    ASSERT_GT(good.size(), 200u) << s.name;
    // Where each format keeps its width (TIFF: the first directory's offset, which leads to it).
    const size_t widthAt = s.format == ORVL_FMT_BMP ? 18 : s.format == ORVL_FMT_PNG ? 16 : s.format == ORVL_FMT_GIF ? 6 : 4;
    for (const Damage& d : damages) {
      SCOPED_TRACE(std::string(s.name) + ": " + d.what);
      std::vector<uint8_t> bad = good;
      const size_t at = d.bytes + good.size() * size_t(d.percent) / 100;
      switch (d.kind) {
        case kCut: bad.resize(at); break;
        case kDropLast: bad.pop_back(); break;
        case kZeroWidth: std::fill(bad.begin() + long(widthAt), bad.begin() + long(widthAt + 4), 0); break;
        case kScramble: for (size_t k = at; k < at + 40 && k < bad.size(); ++k) bad[k] ^= 0x5a; break;
      }
      const std::string path = fixtures::ScratchPath(std::string("damaged_") + s.name);
      fixtures::WriteFile(path, bad);
      bool failed = false;
      auto expectCode = [&](HRESULT hr, const char* call) {
        if (hr == kOk) return;
        failed = true;
        EXPECT_EQ(0x80040000u, static_cast<uint32_t>(hr) & 0xFFFF0000u) << call << " gave " << std::hex << hr;
      };
      tagIMGFILEINFO info = {};
      info.size = kImgFileInfoSize;
      ULONG type = 0;
      const HRESULT opened = module->OpenFile(path.c_str(), &type, &info);
      expectCode(opened, "OpenFile");
      if (opened == kOk) {
        NXHGLOBAL handle = 0;
        const HRESULT whole = module->ReadToDIB(&handle);
        expectCode(whole, "ReadToDIB");
        if (whole == kOk) GlobalFree(reinterpret_cast<HGLOBAL>(handle));
        if (info.width && info.height && info.width <= 4096 && info.height <= 4096) {
          std::vector<uint8_t> band(size_t(nxformat::PackedLineLength(int(info.width))) * info.height);
          tagIMAGEBUFDESC desc;
          SetImageBuffer(&desc, band.data(), info.width, info.height, nxformat::PackedLineLength(int(info.width)), 0,
                         COLORMODEL_RGB, COMPONENTORDER_REVERSE, OPACITY_OPAQUE);
          const HRESULT started = module->StartReadBand(&desc);
          expectCode(started, "StartReadBand");
          if (started == kOk) {
            ULONG lines = 0;
            expectCode(module->ReadBand(&desc, 0, &lines), "ReadBand");
            module->EndReadBand();
          }
        }
        module->CloseFile();
      }
      if (d.mustFail) {
        EXPECT_TRUE(failed) << "damage went unnoticed";
      }
    }
  }
}
