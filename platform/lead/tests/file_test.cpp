// File calls of the toolkit DLL under Wine: round trips through our own save and load, peer files from
// ImageMagick, TIFF pages, stamps, memory and offsets, damaged files and saves that must leave no file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "lead/orvlead.h"
#include "test_util.h"

using namespace orvltest;

namespace {

std::string peers() {
  const char* p = std::getenv("LEAD_PEERS");
  if (!p) return std::string();
  // The Linux path of the build tree is reachable through Wine's Z: drive.
  std::string s = std::string("Z:") + p;
  for (char& c : s) if (c == '/') c = '\\';
  return s;
}
std::string peer(const char* name) { return peers() + "\\" + name; }

// The pattern the peer script draws, within rounding.
void expectPeerPattern(ORVLBITMAP* b, int tolerance) {
  ASSERT_EQ(64, b->Width);
  ASSERT_EQ(48, b->Height);
  for (int y = 0; y < 48; y += 7)
    for (int x = 0; x < 64; x += 9) {
      ORVLCOLOR c = orvlGetPixelColor(b, y, x);
      ASSERT_NEAR(x * 255 / 63, int(c & 0xff), tolerance) << x << "," << y;
      ASSERT_NEAR(y * 255 / 47, int((c >> 8) & 0xff), tolerance) << x << "," << y;
      ASSERT_NEAR(77, int((c >> 16) & 0xff), tolerance) << x << "," << y;
    }
}

// ImageMagick's decoding of a peer file (binary PPM written by the fixture step).
bool readPpm(const std::string& path, int* w, int* h, std::vector<uint8_t>* rgb) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  int maxval = 0;
  bool ok = std::fscanf(f, "P6 %d %d %d", w, h, &maxval) == 3 && maxval == 255 && std::fgetc(f) != EOF;
  if (ok) {
    rgb->resize(size_t(*w) * *h * 3);
    ok = std::fread(rgb->data(), 1, rgb->size(), f) == rgb->size();
  }
  std::fclose(f);
  return ok;
}

void expectLikePeerReading(ORVLBITMAP* b, const char* name, int tolerance) {
  std::string ref = std::string(name);
  const size_t dot = ref.rfind('.');
  ref = peer(("ref_" + ref.substr(0, dot) + "_" + ref.substr(dot + 1) + ".ppm").c_str());
  int w = 0, h = 0;
  std::vector<uint8_t> rgb;
  ASSERT_TRUE(readPpm(ref, &w, &h, &rgb)) << ref;
  ASSERT_EQ(w, b->Width);
  ASSERT_EQ(h, b->Height);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      ORVLCOLOR c = orvlGetPixelColor(b, y, x);
      const uint8_t* p = &rgb[(size_t(y) * w + x) * 3];
      ASSERT_NEAR(p[0], int(c & 0xff), tolerance) << x << "," << y;
      ASSERT_NEAR(p[1], int((c >> 8) & 0xff), tolerance) << x << "," << y;
      ASSERT_NEAR(p[2], int((c >> 16) & 0xff), tolerance) << x << "," << y;
    }
}

ORVLBITMAP peerPattern() {
  ORVLBITMAP b;
  orvlInitBitmap(&b, 1, 1, 1);
  orvlCreateBitmap(&b, 1, 64, 48, 24, ORVL_ORDER_BGR, nullptr, ORVL_TOP_LEFT);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) orvlPutPixelColor(&b, y, x, ORVL_RGB(x * 255 / 63, y * 255 / 47, 77));
  return b;
}

void setPage(int page) {
  ORVLFILEOPTIONS o = {};
  o.PageNumber = page;
  ASSERT_EQ(ORVL_SUCCESS, orvlSetFileOption(&o));
}

struct TempDir {
  std::string path;
  TempDir() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    path = std::string(base) + "orvlead_test_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path.c_str(), nullptr);
  }
  std::string file(const char* name) const { return path + "\\" + name; }
};

bool exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

class LeadFiles : public ::testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); setPage(1); }
  void TearDown() override { setPage(1); CoUninitialize(); }
  TempDir dir;
};

}  // namespace

TEST_F(LeadFiles, PeerFilesOpenWithTypeSizeAndPixels) {
  ASSERT_FALSE(peers().empty()) << "LEAD_PEERS not set (run through CTest)";
  struct Case { const char* name; int format; int fileBits; int tolerance; };
  const Case cases[] = {
      {"peer24.bmp", ORVL_FMT_BMP, 24, 0},   {"peer_rle8.bmp", ORVL_FMT_BMP, 8, 0}, {"peer24.png", ORVL_FMT_PNG, 24, 0},
      {"peer_lzw.tif", ORVL_FMT_TIFF, 24, 0}, {"peer_zip.tif", ORVL_FMT_TIFF, 24, 0}, {"peer.gif", ORVL_FMT_GIF, 8, 0},
      {"peer.jpg", ORVL_FMT_JPEG, 24, 3},    {"peer_two.tif", ORVL_FMT_TIFF, 24, 0},
      {"peer16.png", ORVL_FMT_PNG, 24, 0},   {"peer_grey2.png", ORVL_FMT_PNG, 4, 0}, {"peer_ga.png", ORVL_FMT_PNG, 32, 0},
      {"peer_pal4.png", ORVL_FMT_PNG, 4, 0}, {"peer_interlaced.png", ORVL_FMT_PNG, 24, 0},
      {"peer_grey16.png", ORVL_FMT_PNG, 8, 1},  // we round 16-bit samples to 8 bits, ImageMagick truncates
      {"peer_strips.tif", ORVL_FMT_TIFF, 24, 0}, {"peer_packbits.tif", ORVL_FMT_TIFF, 24, 0},
      {"peer_msb.tif", ORVL_FMT_TIFF, 24, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ORVLFILEINFO info;
    ASSERT_EQ(ORVL_SUCCESS, orvlFileInfo(peer(c.name).c_str(), &info));
    EXPECT_EQ(c.format, info.Format);
    EXPECT_EQ(64, info.Width);
    EXPECT_EQ(48, info.Height);
    EXPECT_EQ(c.fileBits, info.BitsPerPixel);
    for (int order : {ORVL_ORDER_BGR, ORVL_ORDER_RGB})
      for (int bits : {24, 32}) {
        Owned b;
        ASSERT_EQ(ORVL_SUCCESS, orvlLoadBitmap(peer(c.name).c_str(), &b, bits, order));
        EXPECT_EQ(bits, b->BitsPerPixel);
        EXPECT_EQ(order, b->Order);
        expectLikePeerReading(&b, c.name, c.tolerance);
      }
    Owned own;
    ASSERT_EQ(ORVL_SUCCESS, orvlLoadBitmap(peer(c.name).c_str(), &own, 0, ORVL_ORDER_BGR));
    EXPECT_EQ(c.fileBits, own->BitsPerPixel);
    expectLikePeerReading(&own, c.name, c.tolerance);  // at the file's own depth too (no requantising)
  }
  ORVLFILEINFO info;
  ASSERT_EQ(ORVL_SUCCESS, orvlFileInfo(peer("peer_rle8.bmp").c_str(), &info));
  EXPECT_STREQ("run length", info.Compression);
  EXPECT_EQ(ORVL_BOTTOM_LEFT, info.ViewPerspective);
  ASSERT_EQ(ORVL_SUCCESS, orvlFileInfo(peer("peer_lzw.tif").c_str(), &info));
  EXPECT_STREQ("LZW", info.Compression);
  ASSERT_EQ(ORVL_SUCCESS, orvlFileInfo(peer("peer_grey.png").c_str(), &info));
  EXPECT_EQ(8, info.BitsPerPixel);
}

// 24-bit loads of colour strips are the toolkit's own, 32-bit ones still the imaging component's: both give the
// same resolution, from the tags or, without them, the component's default.
TEST_F(LeadFiles, TiffColourStripsLoadWithTheImagingComponentsResolution) {
  ASSERT_FALSE(peers().empty()) << "LEAD_PEERS not set (run through CTest)";
  for (const char* name : {"peer_strips.tif", "peer_packbits.tif", "peer_msb.tif"}) {
    SCOPED_TRACE(name);
    Owned own, component;
    ASSERT_EQ(ORVL_SUCCESS, orvlLoadBitmap(peer(name).c_str(), &own, 24, ORVL_ORDER_BGR));
    ASSERT_EQ(ORVL_SUCCESS, orvlLoadBitmap(peer(name).c_str(), &component, 32, ORVL_ORDER_BGR));
    EXPECT_GT(own->XResolution, 0);
    EXPECT_EQ(component->XResolution, own->XResolution);
    EXPECT_EQ(component->YResolution, own->YResolution);
  }
}

TEST_F(LeadFiles, PeerTiffPageTwoReadsThroughTheOptions) {
  setPage(2);
  ORVLFILEINFO info;
  ASSERT_EQ(ORVL_SUCCESS, orvlFileInfo(peer("peer_two.tif").c_str(), &info));
  EXPECT_EQ(32, info.Width);
  EXPECT_EQ(2, info.TotalPages);
  Owned b;
  ASSERT_EQ(ORVL_SUCCESS, orvlLoadBitmap(peer("peer_two.tif").c_str(), &b, 24, ORVL_ORDER_BGR));
  EXPECT_EQ(32, b->Width);
  EXPECT_EQ(24, b->Height);
  EXPECT_EQ(ORVL_ERROR_PAGE_NOT_FOUND, orvlLoadBitmap(peer("peer24.png").c_str(), &b, 24, ORVL_ORDER_BGR));
  EXPECT_EQ(ORVL_ERROR_PAGE_NOT_FOUND, orvlLoadBitmap(peer("peer_lzw.tif").c_str(), &b, 24, ORVL_ORDER_BGR));
}

TEST_F(LeadFiles, RoundTripsThroughOwnSaveAndLoadAndLeavesFilesForThePeers) {
  Owned pic(peerPattern());
  struct Case { const char* name; int format; int bits; int tolerance; };
  const Case cases[] = {
      {"out_24.bmp", ORVL_FMT_BMP, 24, 0},   {"out_8bit.bmp", ORVL_FMT_BMP, 8, 40}, {"out_4bit.bmp", ORVL_FMT_BMP, 4, 90},
      {"out_1bit.bmp", ORVL_FMT_BMP, 1, 255}, {"out_24.png", ORVL_FMT_PNG, 24, 0},  {"out_8bit.png", ORVL_FMT_PNG, 8, 40},
      {"out_1bit.png", ORVL_FMT_PNG, 1, 255}, {"out_24.tif", ORVL_FMT_TIFF, 24, 0}, {"out_8bit.tif", ORVL_FMT_TIFF, 8, 40},
      {"out_1bit.tif", ORVL_FMT_TIFF, 1, 255}, {"out.gif", ORVL_FMT_GIF, 8, 40},     {"out.jpg", ORVL_FMT_JPEG, 24, 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = peers().empty() ? dir.file(c.name) : peer(c.name);
    ASSERT_EQ(ORVL_SUCCESS, orvlSaveFile(path.c_str(), &pic, c.format, c.bits, 25,
                                         ORVL_SAVE_OPTIMIZEDPALETTE | (c.format == ORVL_FMT_TIFF ? ORVL_SAVE_COMPRESSED : 0)));
    ORVLFILEINFO info;
    ASSERT_EQ(ORVL_SUCCESS, orvlFileInfo(path.c_str(), &info));
    EXPECT_EQ(c.format, info.Format);
    EXPECT_EQ(c.bits, info.BitsPerPixel);
    Owned back;
    ASSERT_EQ(ORVL_SUCCESS, orvlLoadBitmap(path.c_str(), &back, 24, ORVL_ORDER_RGB));
    if (c.tolerance < 255) expectPeerPattern(&back, c.tolerance + 1);
    Owned own;
    ASSERT_EQ(ORVL_SUCCESS, orvlLoadBitmap(path.c_str(), &own, 0, ORVL_ORDER_BGR));
    EXPECT_EQ(c.bits, own->BitsPerPixel);
  }
  // The same picture saved at 24 bits round trips exactly through BMP, PNG and TIFF at 32 bits too.
  for (int format : {ORVL_FMT_BMP, ORVL_FMT_PNG, ORVL_FMT_TIFF}) {
    std::string path = dir.file("exact.bin");
    ASSERT_EQ(ORVL_SUCCESS, orvlSaveFile(path.c_str(), &pic, format, 24, 0, 0));
    Owned back;
    ASSERT_EQ(ORVL_SUCCESS, orvlLoadBitmap(path.c_str(), &back, 32, ORVL_ORDER_BGR));
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) ASSERT_EQ(orvlGetPixelColor(&pic, y, x), orvlGetPixelColor(&back, y, x)) << format;
  }
}

TEST_F(LeadFiles, TiffAppendsAndReplacesPageTwo) {
  Owned pic(peerPattern());
  const std::string path = dir.file("pages.tif");
  ASSERT_EQ(ORVL_SUCCESS, orvlSaveFile(path.c_str(), &pic, ORVL_FMT_TIFF, 24, 63, 2 | 4));
  Owned thumb;
  ASSERT_EQ(ORVL_SUCCESS, orvlCopyBitmap(&thumb, &pic));
  ASSERT_EQ(ORVL_SUCCESS, orvlResampleBitmap(&thumb, 80, 60));
  setPage(2);
  ASSERT_EQ(ORVL_SUCCESS, orvlSaveBitmap(path.c_str(), &thumb, ORVL_FMT_TIFF, 8, 0));
  ORVLFILEINFO info;
  ASSERT_EQ(ORVL_SUCCESS, orvlFileInfo(path.c_str(), &info));
  EXPECT_EQ(80, info.Width);
  EXPECT_EQ(8, info.BitsPerPixel);
  EXPECT_EQ(2, info.TotalPages);
  Owned back;
  ASSERT_EQ(ORVL_SUCCESS, orvlLoadBitmap(path.c_str(), &back, 24, ORVL_ORDER_BGR));
  EXPECT_EQ(80, back->Width);
  EXPECT_EQ(60, back->Height);
  // Saving page 2 again replaces it rather than adding a third page.
  ASSERT_EQ(ORVL_SUCCESS, orvlSaveBitmap(path.c_str(), &thumb, ORVL_FMT_TIFF, 1, 0));
  ASSERT_EQ(ORVL_SUCCESS, orvlFileInfo(path.c_str(), &info));
  EXPECT_EQ(2, info.TotalPages);
  EXPECT_EQ(1, info.BitsPerPixel);
  setPage(1);
  ASSERT_EQ(ORVL_SUCCESS, orvlLoadBitmap(path.c_str(), &back, 24, ORVL_ORDER_BGR));
  EXPECT_EQ(64, back->Width);
  // Page 2 of a file that does not exist fails and creates nothing.
  setPage(2);
  EXPECT_EQ(ORVL_ERROR_FILE_NOT_FOUND, orvlSaveBitmap(dir.file("none.tif").c_str(), &thumb, ORVL_FMT_TIFF, 8, 0));
  EXPECT_FALSE(exists(dir.file("none.tif")));
}

TEST_F(LeadFiles, FailedSavesLeaveNoNewFileAndTheOldOneIntact) {
  Owned pic(peerPattern());
  // A folder that does not exist.
  EXPECT_EQ(ORVL_ERROR_FILE_WRITE, orvlSaveFile((dir.path + "\\no\\such\\x.png").c_str(), &pic, ORVL_FMT_PNG, 24, 0, 0));
  // An unsupported depth or format writes nothing.
  const std::string bad = dir.file("bad.png");
  EXPECT_EQ(ORVL_ERROR_INVALID_BITS, orvlSaveFile(bad.c_str(), &pic, ORVL_FMT_PNG, 16, 0, 0));
  EXPECT_EQ(ORVL_ERROR_NOT_SUPPORTED, orvlSaveFile(bad.c_str(), &pic, ORVL_FMT_EPS, 24, 0, 0));
  EXPECT_FALSE(exists(bad));
  // A target held open without sharing stays as it was.
  const std::string locked = dir.file("locked.bmp");
  ASSERT_EQ(ORVL_SUCCESS, orvlSaveFile(locked.c_str(), &pic, ORVL_FMT_BMP, 24, 0, 0));
  HANDLE h = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  Owned small;
  orvlCreateBitmap(&small, 1, 2, 2, 24, ORVL_ORDER_BGR, nullptr, ORVL_TOP_LEFT);
  EXPECT_EQ(ORVL_ERROR_FILE_WRITE, orvlSaveFile(locked.c_str(), &small, ORVL_FMT_BMP, 24, 0, 0));
  CloseHandle(h);
  ORVLFILEINFO info;
  ASSERT_EQ(ORVL_SUCCESS, orvlFileInfo(locked.c_str(), &info));
  EXPECT_EQ(64, info.Width);
  // A read-only target too.
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ORVL_ERROR_FILE_WRITE, orvlSaveFile(locked.c_str(), &small, ORVL_FMT_BMP, 24, 0, 0));
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_EQ(ORVL_SUCCESS, orvlFileInfo(locked.c_str(), &info));
  EXPECT_EQ(64, info.Width);
  // No temporary file is left behind.
  WIN32_FIND_DATAA fd;
  HANDLE f = FindFirstFileA((dir.path + "\\*.tmp").c_str(), &fd);
  EXPECT_EQ(INVALID_HANDLE_VALUE, f);
  if (f != INVALID_HANDLE_VALUE) FindClose(f);
}

TEST_F(LeadFiles, DamagedFilesGiveErrorCodes) {
  Owned pic(peerPattern());
  const int formats[] = {ORVL_FMT_BMP, ORVL_FMT_PNG, ORVL_FMT_TIFF, ORVL_FMT_GIF, ORVL_FMT_JPEG};
  for (int format : formats) {
    HGLOBAL mem = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(ORVL_SUCCESS, orvlSaveMemory(&pic, &mem, &size, format, format == ORVL_FMT_GIF ? 8 : 24, 0, 0));
    std::vector<uint8_t> good(size);
    std::memcpy(good.data(), GlobalLock(mem), size);
    GlobalUnlock(mem);
    GlobalFree(mem);
    for (uint32_t cut : {0u, 3u, 20u, 60u, size / 2, size - 1}) {
      Owned b;
      int rc = orvlLoadMemory(good.data(), cut, &b, 24, ORVL_ORDER_BGR, 3, nullptr);
      // Formats whose pixel data is read by the platform decoder may hand back a partial picture.
      EXPECT_TRUE(rc < 0 || (rc == ORVL_SUCCESS && cut > 60 && format != ORVL_FMT_BMP)) << format << " cut " << cut << " rc " << rc;
    }
    uint32_t seed = 12345;
    for (int round = 0; round < 20; ++round) {
      std::vector<uint8_t> bad = good;
      for (int k = 0; k < 8; ++k) {
        seed = seed * 1103515245u + 12345u;
        bad[(seed >> 8) % bad.size()] ^= uint8_t(seed >> 3);
      }
      Owned b;
      int rc = orvlLoadMemory(bad.data(), uint32_t(bad.size()), &b, 24, ORVL_ORDER_BGR, 3, nullptr);
      EXPECT_TRUE(rc == ORVL_SUCCESS || rc < 0) << format;
    }
  }
  Owned b;
  EXPECT_EQ(ORVL_ERROR_FILE_NOT_FOUND, orvlLoadBitmap(dir.file("missing.png").c_str(), &b, 24, 0));
  ORVLFILEINFO info;
  EXPECT_EQ(ORVL_ERROR_FILE_NOT_FOUND, orvlFileInfo((dir.path + "\\no\\x.png").c_str(), &info));
}

TEST_F(LeadFiles, JpegStampMemoryAndOffsets) {
  Owned pic(peerPattern());
  HGLOBAL mem = nullptr;
  uint32_t size = 0;
  ASSERT_EQ(ORVL_SUCCESS, orvlCompressWithStamp(&pic, &mem, &size, 20, 80, 80));
  const std::string path = dir.file("stamp.jpg");
  {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put;
    WriteFile(h, GlobalLock(mem), size, &put, nullptr);
    GlobalUnlock(mem);
    CloseHandle(h);
  }
  GlobalFree(mem);
  Owned stamp;
  ASSERT_EQ(ORVL_SUCCESS, orvlGetCompressFileStamp(path.c_str(), &stamp));
  EXPECT_EQ(80, stamp->Width);
  EXPECT_EQ(60, stamp->Height);
  EXPECT_EQ(24, stamp->BitsPerPixel);
  ORVLFILEINFO info;
  ASSERT_EQ(ORVL_SUCCESS, orvlFileInfo(path.c_str(), &info));
  EXPECT_TRUE(info.Flags & ORVL_FILEINFO_HAS_STAMP);
  EXPECT_EQ(ORVL_ERROR_PAGE_NOT_FOUND, orvlGetCompressFileStamp(peer("peer.jpg").c_str(), &stamp));
  // A BMP saved at offset 100 of a file loads back from there.
  const std::string container = dir.file("container.dat");
  HANDLE h = CreateFileA(container.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  uint32_t written = 0;
  ASSERT_EQ(ORVL_SUCCESS, orvlSaveFileOffset(h, 100, &written, &pic, ORVL_FMT_BMP, 24, 0, 2));
  Owned back;
  ASSERT_EQ(ORVL_SUCCESS, orvlLoadFileOffset(h, 100, written, &back, 24, ORVL_ORDER_BGR, 3, &info));
  CloseHandle(h);
  EXPECT_EQ(ORVL_FMT_BMP, info.Format);
  expectPeerPattern(&back, 0);
}
