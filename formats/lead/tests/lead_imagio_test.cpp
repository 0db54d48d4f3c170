// Tests of imagio with both format modules registered: the type list, the search that falls back to the
// LEAD-based module, files written by ImageMagick (peers.sh make) read with the right type, size and pixels,
// and files we write left for ImageMagick to check (peers.sh check).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include <imagio/imgfile.h>
#include <nxformat/packed_dib.h>
#include "jpeg_fixtures.h"

namespace {

const uint32_t kJpeg = ImageTypeCode("JPEG"), kTiff = ImageTypeCode("TIFF"), kBmp = ImageTypeCode("BMP"),
               kPng = ImageTypeCode("PNG"), kGif = ImageTypeCode("GIF");

std::string Peers() {
  const char* p = std::getenv("LEAD_PEERS");
  if (!p) return std::string();
  std::string s = std::string("Z:") + p;  // the build tree through Wine's Z: drive
  for (char& c : s) if (c == '/') c = '\\';
  return s + "\\";
}

// A binary PPM (P6, maxval 255) as ImageMagick writes it: width, height, RGB bytes top-down.
struct Ppm {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
};
Ppm ReadPpm(const std::string& path) {
  Ppm ppm;
  std::vector<uint8_t> bytes = fixtures::ReadFile(path);
  int maxval = 0, consumed = 0;
  if (std::sscanf(reinterpret_cast<const char*>(bytes.data()), "P6 %d %d %d%n", &ppm.width, &ppm.height, &maxval,
                  &consumed) == 3) {
    ppm.rgb.assign(bytes.begin() + consumed + 1, bytes.end());
  }
  return ppm;
}

class Imagio : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(IMGFILERR_OK, NXImageFile::Init(nullptr));
    NXImageFile::SetSearchOption(IMGLIBSEARCH_ALLMODULES);
  }
  void TearDown() override { NXImageFile::Exit(); }
};

TEST_F(Imagio, BothModulesListTheirTypesInEnumerationOrder) {
  uint16_t count = 0;
  const uint32_t* types = nullptr;
  ASSERT_EQ(IMGFILERR_OK, NXImageFile::GetAllSupportImageType(&count, &types));
  ASSERT_EQ(4, count);
  // Wine's category manager enumerates the JPEG module's class first.
  EXPECT_EQ(kJpeg, types[0]);
  EXPECT_EQ(kTiff, types[1]);
  EXPECT_EQ(kBmp, types[2]);
  EXPECT_EQ(kPng, types[3]);
  char filters[512];
  NXImageFile::GetCombinedFileFilters(filters, sizeof(filters), '|');
  EXPECT_STREQ("JPG(*.jpg;*.jpeg;*.jpe)|*.jpg;*.jpeg;*.jpe|TIFF(*.tif)|*.tif|BMP(*.bmp)|*.bmp|PNG(*.png)|*.png|",
               filters);
}

TEST_F(Imagio, PeerFilesOpenWithTypeSizeAndPixels) {
  ASSERT_FALSE(Peers().empty()) << "LEAD_PEERS not set (run through CTest)";
  struct Case { const char* file; uint32_t type; int bits; int tolerance; };
  const Case cases[] = {
      {"peer_24.bmp", kBmp, 24, 0}, {"peer_8.bmp", kBmp, 8, 0},  {"peer_4.bmp", kBmp, 4, 0},
      {"peer_1.bmp", kBmp, 1, 0},   {"peer_24.png", kPng, 24, 0}, {"peer_8.png", kPng, 8, 0},
      {"peer_24.tif", kTiff, 24, 0}, {"peer_1.tif", kTiff, 1, 0},
      {"peer_8.gif", kGif, 8, 0},
      {"peer_progressive.jpg", kJpeg, 24, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string name = c.file;
    const std::string ext = name.substr(name.find('.') + 1);
    const Ppm ref = ReadPpm(Peers() + "ref_" + name.substr(0, name.find('.')) + "_" + ext + ".ppm");
    ASSERT_EQ(64, ref.width);
    NXImageFile file;
    tagIMGFILEINFO info = {kImgFileInfoSize};
    uint32_t type = 0;
    ASSERT_EQ(IMGFILERR_OK, file.Open((Peers() + name).c_str(), &type, &info));
    EXPECT_EQ(c.type, type);
    EXPECT_EQ(64u, info.width);
    EXPECT_EQ(48u, info.height);
    EXPECT_EQ(c.bits, info.bits);
    HGLOBAL dib = nullptr;
    ASSERT_EQ(IMGFILERR_OK, file.ReadToDIB(&dib));
    nxformat::LockedGlobal lock(dib);
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(lock.Bytes());
    ASSERT_EQ(64, header->biWidth);
    ASSERT_EQ(48, std::abs(header->biHeight));
    const uint8_t* px = lock.Bytes() + 40;
    int worst = 0;
    for (int y = 0; y < 48; ++y) {
      const int line = header->biHeight > 0 ? 47 - y : y;
      for (int x = 0; x < 64; ++x) {
        const uint8_t* p = px + nxformat::PackedLineLength(64) * line + 3 * x;
        const uint8_t* r = &ref.rgb[(y * 64 + x) * 3];
        for (int k = 0; k < 3; ++k) worst = std::max(worst, std::abs(int(p[2 - k]) - int(r[k])));
      }
    }
    EXPECT_LE(worst, c.tolerance);
    GlobalUnlock(dib);
    GlobalFree(dib);
  }
}

TEST_F(Imagio, SearchFallsBackToTheLeadModule) {
  // A GIF: no module claims ".gif", the JPEG module refuses it, the LEAD-based module opens it.
  NXImageFile gif;
  tagIMGFILEINFO info = {kImgFileInfoSize};
  uint32_t type = 0;
  ASSERT_EQ(IMGFILERR_OK, gif.Open((Peers() + "peer_8.gif").c_str(), &type, &info));
  EXPECT_EQ(kGif, type);
  // A JPEG under a name no module claims opens through the search too.
  const std::string jpeg = fixtures::ScratchPath("picture.dat");
  fixtures::WriteFile(jpeg, fixtures::Jpeg(40, 30));
  NXImageFile file;
  ASSERT_EQ(IMGFILERR_OK, file.Open(jpeg.c_str(), &type, &info));
  EXPECT_EQ(kJpeg, type);
  EXPECT_EQ(40u, info.width);
  NXImageFile::SetSearchOption(IMGLIBSEARCH_EXTONLY);
  NXImageFile none;
  EXPECT_NE(IMGFILERR_OK, none.Open((Peers() + "peer_8.gif").c_str(), &type, &info));
}

// Writes out_* files for peers.sh check: every type at 24, 8 and 1 bits (and 4 for BMP), from a packed
// bitmap of the peers' pattern.
TEST_F(Imagio, FilesWeWriteForThePeers) {
  ASSERT_FALSE(Peers().empty());
  const Ppm pattern = ReadPpm(Peers() + "pattern.ppm");
  ASSERT_EQ(64, pattern.width);
  HGLOBAL dib = nullptr;
  ASSERT_EQ(IMGFILERR_OK, nxformat::NewPackedDib(64, 48, &dib));
  {
    nxformat::LockedGlobal lock(dib);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) {
        uint8_t* p = lock.Bytes() + 40 + nxformat::PackedLineLength(64) * (47 - y) + 3 * x;
        const uint8_t* r = &pattern.rgb[(y * 64 + x) * 3];
        p[0] = r[2];
        p[1] = r[1];
        p[2] = r[0];
      }
  }
  struct Out { uint32_t type; const char* ext; int bits; };
  const Out outs[] = {{kTiff, "tif", 24}, {kTiff, "tif", 8}, {kTiff, "tif", 1}, {kBmp, "bmp", 24}, {kBmp, "bmp", 8},
                      {kBmp, "bmp", 4},   {kBmp, "bmp", 1},  {kPng, "png", 24}, {kPng, "png", 8},  {kPng, "png", 1}};
  for (const Out& o : outs) {
    const std::string path = Peers() + "out_" + o.ext + "_" + std::to_string(o.bits) + "bit." + o.ext;
    SCOPED_TRACE(path);
    NXImageFile file;
    tagIMGFILEINFO info = {kImgFileInfoSize, 64, 48, 0, 0, uint16_t(o.bits), 0, 0, 75, 0, 0};
    ASSERT_EQ(IMGFILERR_OK, file.Create(path.c_str(), o.type, &info));
    ASSERT_EQ(IMGFILERR_OK, file.WriteDIB(dib));
    file.Close();
    NXImageFile back;
    tagIMGFILEINFO read = {kImgFileInfoSize};
    uint32_t type = 0;
    ASSERT_EQ(IMGFILERR_OK, back.Open(path.c_str(), &type, &read));
    EXPECT_EQ(o.type, type);
    EXPECT_EQ(o.bits, read.bits);
  }
  GlobalFree(dib);
}

}  // namespace
