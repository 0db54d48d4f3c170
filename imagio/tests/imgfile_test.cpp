// Tests of imagio.dll with the JPEG module registered in the test prefix: Init/Exit, the static queries, the
// module choice at Open, reading, thumbnails, writing, and discovery when the category changes.
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include <comkit/category.h>
#include <imagio/imgfile.h>
#include <nxformat/nxformat.h>
#include "jpeg_fixtures.h"
#include "nxjpegcom.h"

namespace {

const uint32_t kJpeg = ImageTypeCode("JPEG");
const uint32_t kTiff = ImageTypeCode("TIFF");
const char kJpegFilter[] = "JPG(*.jpg;*.jpeg;*.jpe)|*.jpg;*.jpeg;*.jpe|";

// These tests know the JPEG module only: every other module registered in the prefix's category is taken out
// of it for the run and put back at the end (the test holds the category's lock).
class OnlyTheJpegModule : public ::testing::Environment {
 public:
  void SetUp() override {
    const HRESULT com = CoInitialize(nullptr);
    std::vector<CLSID> classes;
    comkit::EnumClassesInCategory(nxformat::kCategoryId, classes);
    for (const CLSID& c : classes) {
      if (IsEqualCLSID(c, CLSID_NXJPEGFormat)) continue;
      if (comkit::UnregisterClassFromCategory(c, nxformat::kCategoryId) == S_OK) m_others.push_back(c);
    }
    if (SUCCEEDED(com)) CoUninitialize();
  }
  void TearDown() override {
    const HRESULT com = CoInitialize(nullptr);
    for (const CLSID& c : m_others) EXPECT_EQ(S_OK, comkit::RegisterClassInCategory(c, nxformat::kCategoryId));
    if (SUCCEEDED(com)) CoUninitialize();
  }

 private:
  std::vector<CLSID> m_others;
};
const ::testing::Environment* const kOnlyJpeg = ::testing::AddGlobalTestEnvironment(new OnlyTheJpegModule);

class Library : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(IMGFILERR_OK, NXImageFile::Init(nullptr)); }
  void TearDown() override {
    NXImageFile::SetSearchOption(IMGLIBSEARCH_ALLMODULES);
    NXImageFile::Exit();
  }

  static std::string Fixture(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string path = fixtures::ScratchPath(name);
    fixtures::WriteFile(path, bytes);
    return path;
  }
  static tagIMGFILERR Open(NXImageFile& file, const std::string& path, uint32_t* type = nullptr,
                           tagIMGFILEINFO* out = nullptr) {
    tagIMGFILEINFO info = {};
    info.size = kImgFileInfoSize;
    uint32_t found = 0;
    tagIMGFILERR result = file.Open(path.c_str(), &found, &info);
    if (type) *type = found;
    if (out) *out = info;
    return result;
  }
};

TEST_F(Library, StaticQueriesAnswerFromTheModules) {
  uint16_t count = 0;
  const uint32_t* types = nullptr;
  EXPECT_EQ(IMGFILERR_OK, NXImageFile::GetAllSupportImageType(&count, &types));
  ASSERT_GE(count, 1);
  EXPECT_EQ(kJpeg, types[0]);

  uint16_t bits[4] = {9, 9, 9, 9};
  EXPECT_EQ(IMGFILERR_OK, NXImageFile::GetSupportBits(kJpeg, bits));
  EXPECT_EQ(24, bits[0]);
  EXPECT_EQ(8, bits[1]);
  EXPECT_EQ(0, bits[3]);
  uint16_t untouched[4] = {9, 9, 9, 9};
  EXPECT_EQ(IMGFILERR_UNSUPPORTED, NXImageFile::GetSupportBits(ImageTypeCode("XYZ"), untouched));
  EXPECT_EQ(9, untouched[0]);
  uint16_t mask = 0;
  EXPECT_EQ(IMGFILERR_OK, NXImageFile::GetSupportColorModel(kJpeg, &mask));
  EXPECT_EQ(10, mask);
  EXPECT_EQ(IMGFILERR_OK, NXImageFile::GetSupportCompression(kJpeg, &mask));
  EXPECT_EQ(8, mask);

  char ext[30] = "";
  EXPECT_EQ(IMGFILERR_OK, NXImageFile::GetDefaultExt(kJpeg, ext, sizeof(ext)));
  EXPECT_STREQ(".jpg;*.jpeg;*.jpe", ext);
  char small[3] = {'a', 'b', 'c'};
  EXPECT_EQ(IMGFILERR_OK, NXImageFile::GetDefaultExt(kJpeg, small, sizeof(small)));
  EXPECT_EQ(0, memcmp(small, "abc", 3));
  EXPECT_EQ(IMGFILERR_UNSUPPORTED, NXImageFile::GetDefaultExt(ImageTypeCode("XYZ"), ext, sizeof(ext)));

  char name[256] = "", filterExt[30] = "";
  EXPECT_EQ(IMGFILERR_OK, NXImageFile::GetFileFilter(kJpeg, name, sizeof(name), filterExt, sizeof(filterExt)));
  EXPECT_STREQ("JPG", name);
  EXPECT_STREQ(".jpg;*.jpeg;*.jpe", filterExt);
}

TEST_F(Library, CombinedFilterIsByteExact) {
  char buffer[512];
  NXImageFile::GetCombinedFileFilters(buffer, sizeof(buffer), '|');
  EXPECT_EQ(0, std::string(buffer).find(kJpegFilter)) << buffer;
  // Too small for the JPEG entry and the byte it needs beyond its terminator: nothing at all.
  memset(buffer, 'x', sizeof(buffer));
  NXImageFile::GetCombinedFileFilters(buffer, sizeof(kJpegFilter), '|');
  EXPECT_STREQ("", buffer);
}

TEST_F(Library, TwoInitsOneExitStayUsable) {
  ASSERT_EQ(IMGFILERR_OK, NXImageFile::Init(nullptr));
  NXImageFile::Exit();
  uint16_t mask = 0;
  EXPECT_EQ(IMGFILERR_OK, NXImageFile::GetSupportColorModel(kJpeg, &mask));
  NXImageFile file;
  EXPECT_EQ(IMGFILERR_OK, Open(file, Fixture("still.jpg", fixtures::Jpeg(32, 32))));
}

TEST(LibraryLifetime, QueriesFindNothingAfterTheLastExit) {
  ASSERT_EQ(IMGFILERR_OK, NXImageFile::Init(nullptr));
  NXImageFile::Exit();
  uint16_t mask = 0, count = 7;
  EXPECT_EQ(IMGFILERR_UNSUPPORTED, NXImageFile::GetSupportColorModel(kJpeg, &mask));
  EXPECT_EQ(IMGFILERR_OK, NXImageFile::GetAllSupportImageType(&count, nullptr));
  EXPECT_EQ(0, count);
  char buffer[64] = "junk";
  NXImageFile::GetCombinedFileFilters(buffer, sizeof(buffer), '|');
  EXPECT_STREQ("", buffer);
  NXImageFile::Exit();  // an Exit too many releases nothing
}

TEST_F(Library, OpenChoosesTheModuleByExtensionThenSearches) {
  std::vector<uint8_t> jpeg = fixtures::Jpeg(64, 48);
  uint32_t type = 0;
  tagIMGFILEINFO info;
  {
    NXImageFile file;
    EXPECT_EQ(IMGFILERR_OK, Open(file, Fixture("upper.JPE", jpeg), &type, &info));
    EXPECT_EQ(kJpeg, type);
    EXPECT_EQ(64u, info.width);
  }
  {
    NXImageFile file;
    EXPECT_EQ(IMGFILERR_OK, Open(file, Fixture("noext", jpeg), &type));
    EXPECT_EQ(kJpeg, type);
  }
  const std::string disguised = Fixture("disguised.bmp", jpeg);
  {
    NXImageFile file;
    EXPECT_EQ(IMGFILERR_OK, Open(file, disguised, &type));
    EXPECT_EQ(kJpeg, type);
    uint32_t recorded = 0;
    file.GetImageType(&recorded);
    EXPECT_EQ(kJpeg, recorded);
  }
  NXImageFile::SetSearchOption(IMGLIBSEARCH_EXTONLY);
  {
    NXImageFile file;
    EXPECT_EQ(IMGFILERR_UNSUPPORTED, Open(file, disguised));
    uint16_t w = 100, h = 100;
    EXPECT_EQ(IMGFILERR_NOTOPEN, file.GetThumbnailSize(&w, &h));
  }
  {
    NXImageFile file;  // a file no module reads fails with 520 either way
    NXImageFile::SetSearchOption(IMGLIBSEARCH_ALLMODULES);
    EXPECT_EQ(IMGFILERR_UNSUPPORTED, Open(file, Fixture("text.jpg", {'h', 'e', 'l', 'l', 'o'})));
  }
}

TEST_F(Library, ObjectOperationsNeedAFile) {
  NXImageFile file;
  tagIMAGEBUFDESC desc = {};
  uint32_t lines = 0;
  uint16_t w = 10, h = 10;
  HGLOBAL dib = nullptr;
  BOOL flag = FALSE;
  uint8_t* buffer = nullptr;
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.StartReadBand(&desc));
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.ReadBand(&desc, 0, &lines));
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.EndReadBand());
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.StartWriteBand(&desc));
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.WriteBand(&desc, 0, &lines));
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.EndWriteBand());
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.ReadToDIB(&dib));
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.WriteDIB(nullptr));
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.GetThumbnail(&desc, FALSE));
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.GetThumbnail(&buffer, TRUE, COLORMODEL_RGB, COMPONENTORDER_REVERSE, 4, &w, &h,
                                                 FALSE));
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.GetPlatformThumbnail(&dib, &w, &h, FALSE));
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.GetThumbnailSize(&w, &h));
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.HasProperty(1, &flag));
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.GetProperty(1, &dib));
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.SetProperty(1, nullptr));
  EXPECT_EQ(IMGFILERR_NOTOPEN, file.Read(&buffer, FALSE, COLORMODEL_RGB, COMPONENTORDER_NORMAL, OPACITY_OPAQUE, 4));
  EXPECT_EQ(nullptr, buffer);
  EXPECT_EQ(nullptr, dib);
  file.Close();
  file.Close();
}

TEST_F(Library, ReadGivesAlignedLinesInTheAskedLayout) {
  NXImageFile file;
  ASSERT_EQ(IMGFILERR_OK, Open(file, Fixture("read101.jpg", fixtures::Jpeg(101, 20))));
  uint8_t* pixels = nullptr;
  ASSERT_EQ(IMGFILERR_OK, file.Read(&pixels, FALSE, COLORMODEL_RGB, COMPONENTORDER_NORMAL, OPACITY_OPAQUE, 4));
  const size_t kLine = 304;
  EXPECT_NEAR(255, pixels[0], 8);                   // top line first, red first
  EXPECT_NEAR(255, pixels[kLine * 19 + 3 * 100 + 2], 8);  // bottom right pixel blue
  EXPECT_NEAR(255, pixels[kLine + 0], 8);           // the second line starts 304 bytes on
  NXImageFile::ReleaseBuffer(pixels);

  ASSERT_EQ(IMGFILERR_OK, file.Read(&pixels, TRUE, COLORMODEL_RGB, COMPONENTORDER_REVERSE, OPACITY_OPAQUE, 4));
  EXPECT_NEAR(255, pixels[0], 8);  // bottom line first in memory, blue first
  EXPECT_NEAR(0, pixels[2], 8);
  NXImageFile::ReleaseBuffer(pixels);
  BOOL has = TRUE;
  EXPECT_EQ(IMGFILERR_OK, file.HasProperty(3, &has));
  EXPECT_FALSE(has);
  HGLOBAL value = nullptr;
  EXPECT_EQ(IMGFILERR_NOTIMPL, file.GetProperty(3, &value));
}

TEST_F(Library, ThumbnailsIntoNewBuffers) {
  struct Case {
    int w, h;
    BOOL expand;
    uint16_t expectW, expectH;
  } cases[] = {
      {1600, 1200, FALSE, 100, 74},  // module size 200 x 150, ratio held as a float
      {60, 40, FALSE, 60, 40},
      {60, 40, TRUE, 100, 66},
      {1200, 1600, FALSE, 75, 100},
      {101, 50, FALSE, 101, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
    NXImageFile file;
    ASSERT_EQ(IMGFILERR_OK, Open(file, Fixture("t.jpg", fixtures::Jpeg(c.w, c.h, 75))));
    uint8_t* pixels = nullptr;
    uint16_t w = c.w == 101 ? 200 : 100, h = c.w == 101 ? 200 : 100;
    ASSERT_EQ(IMGFILERR_OK, file.GetThumbnail(&pixels, TRUE, COLORMODEL_RGB, COMPONENTORDER_REVERSE, 4, &w, &h,
                                              c.expand));
    EXPECT_EQ(c.expectW, w);
    EXPECT_EQ(c.expectH, h);
    const size_t line = (size_t(w) * 3 + 3) / 4 * 4;
    EXPECT_NEAR(255, pixels[0], 8);                            // bottom line first, blue
    EXPECT_NEAR(255, pixels[line * (h - 1) + 3 * (w - 1) + 2], 8);  // top right red
    NXImageFile::ReleaseBuffer(pixels);
  }
}

TEST_F(Library, PlatformThumbnailAsDeviceBitmap) {
  NXImageFile file;
  ASSERT_EQ(IMGFILERR_OK, Open(file, Fixture("ddb.jpg", fixtures::Jpeg(1600, 1200))));
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = nullptr;
  uint16_t w = 100, h = 100;
  ASSERT_EQ(IMGFILERR_OK, file.GetPlatformThumbnail(screen, &bitmap, &w, &h, FALSE));
  ReleaseDC(nullptr, screen);
  BITMAP info = {};
  ASSERT_NE(0, GetObject(bitmap, sizeof(info), &info));
  EXPECT_EQ(200, info.bmWidth);
  EXPECT_EQ(150, info.bmHeight);
  DeleteObject(bitmap);
}

TEST_F(Library, CreateAndWriteDib) {
  tagIMGFILEINFO info = {32, 40, 30};
  info.quality = 75;
  NXImageFile tiff;
  EXPECT_EQ(IMGFILERR_UNSUPPORTED, tiff.Create(fixtures::ScratchPath("x.tif").c_str(), kTiff, &info));
  uint32_t type = 0;
  tiff.GetImageType(&type);
  EXPECT_EQ(kTiff, type);  // recorded even when Create fails

  const std::string path = fixtures::ScratchPath("made.jpg");
  NXImageFile file;
  ASSERT_EQ(IMGFILERR_OK, file.Create(path.c_str(), kJpeg, &info));
  HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 40 + 120 * 30);
  BITMAPINFOHEADER* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  header->biSize = 40;
  header->biWidth = 40;
  header->biHeight = 30;
  header->biPlanes = 1;
  header->biBitCount = 24;
  GlobalUnlock(dib);
  EXPECT_EQ(IMGFILERR_OK, file.WriteDIB(dib));
  GlobalFree(dib);
  file.Close();

  tagIMGFILEINFO back;
  ASSERT_EQ(IMGFILERR_OK, Open(file, path, &type, &back));
  EXPECT_EQ(40u, back.width);
  EXPECT_EQ(30u, back.height);
  EXPECT_NEAR(75, back.quality, 1);
}

TEST_F(Library, CopiesShareTheOpenFile) {
  NXImageFile file;
  ASSERT_EQ(IMGFILERR_OK, Open(file, Fixture("copy.jpg", fixtures::Jpeg(64, 48))));
  NXImageFile copy(file);
  NXImageFile assigned;
  assigned = copy;
  uint16_t w = 100, h = 100;
  EXPECT_EQ(IMGFILERR_OK, assigned.GetThumbnailSize(&w, &h));
  EXPECT_EQ(64, w);
  // Closing one copy ends the file for the module; the others then get its answer, and every copy can still
  // be closed and destroyed safely.
  file.Close();
  EXPECT_EQ(IMGFILERR_NOTOPEN, copy.GetThumbnailSize(&w, &h));
}

// Changes the category's registration; the test executable runs alone (RESOURCE_LOCK).
class Discovery : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(Discovery, ClassWithoutServerIsSkipped) {
  // {6E0B2D1A-3C4F-4B5E-9A7D-112233445566}, registered with a server file that does not exist.
  const CLSID kBogus = {0x6e0b2d1a, 0x3c4f, 0x4b5e, {0x9a, 0x7d, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66}};
  const char kBogusKey[] = "CLSID\\{6E0B2D1A-3C4F-4B5E-9A7D-112233445566}";
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, (std::string(kBogusKey) + "\\InprocServer32").c_str(),
                                           0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
  const char kMissing[] = "C:\\nowhere\\missing-module.dll";
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kMissing), sizeof(kMissing));
  RegCloseKey(key);
  ASSERT_EQ(S_OK, comkit::RegisterClassInCategory(kBogus, nxformat::kCategoryId));

  tagIMGFILERR init = NXImageFile::Init(nullptr);
  uint16_t count = 0;
  const uint32_t* types = nullptr;
  NXImageFile::GetAllSupportImageType(&count, &types);
  const bool jpeg = count >= 1 && types[0] == kJpeg;
  NXImageFile::Exit();
  comkit::UnregisterClassFromCategory(kBogus, nxformat::kCategoryId);
  RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(kBogusKey) + "\\InprocServer32").c_str());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, kBogusKey);
  EXPECT_EQ(IMGFILERR_OK, init);
  EXPECT_TRUE(jpeg);
}

TEST_F(Discovery, NoModuleMeansNoModules) {
  ASSERT_EQ(S_OK, comkit::UnregisterClassFromCategory(CLSID_NXJPEGFormat, nxformat::kCategoryId));
  tagIMGFILERR init = NXImageFile::Init(nullptr);
  uint16_t mask = 0;
  tagIMGFILERR query = NXImageFile::GetSupportColorModel(kJpeg, &mask);
  char buffer[64] = "junk";
  NXImageFile::GetCombinedFileFilters(buffer, sizeof(buffer), '|');
  NXImageFile file;
  tagIMGFILEINFO info = {32};
  uint32_t type = 0;
  tagIMGFILERR open = file.Open(fixtures::ScratchPath("none.jpg").c_str(), &type, &info);
  NXImageFile::Exit();
  ASSERT_EQ(S_OK, comkit::RegisterClassInCategory(CLSID_NXJPEGFormat, nxformat::kCategoryId));
  EXPECT_EQ(IMGFILERR_NOMODULES, init);
  EXPECT_EQ(IMGFILERR_UNSUPPORTED, query);
  EXPECT_EQ(IMGFILERR_UNSUPPORTED, open);
  EXPECT_STREQ("", buffer);
  // Registered again, the module is found again.
  EXPECT_EQ(IMGFILERR_OK, NXImageFile::Init(nullptr));
  NXImageFile::Exit();
}

}  // namespace
