// Tests of the LEAD-based module's rules and of its save sequence, with the toolkit calls replaced where a step
// has to fail or its arguments have to be seen.
#include <cstdio>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "jpeg_fixtures.h"
#include "lead_rules.h"
#include "lead_save.h"

namespace {

using namespace nxlead;

TEST(LeadRules, FormatNumbersAndTypeCodes) {
  struct Case { int format; uint32_t type; };
  const Case cases[] = {
      {2, kTypeGif},   {3, kTypeTiff},  {17, kTypeTiff}, {25, kTypeTiff}, {27, kTypeTiff}, {28, kTypeTiff},
      {29, kTypeTiff}, {85, kTypeTiff}, {86, kTypeTiff}, {87, kTypeTiff}, {88, kTypeTiff}, {93, kTypeTiff},
      {94, kTypeTiff}, {95, kTypeTiff}, {6, kTypeBmp},   {84, kTypeBmp},  {10, kTypeJpeg}, {11, kTypeJpeg},
      {21, kTypeJpeg}, {22, kTypeJpeg}, {23, kTypeJpeg}, {24, kTypeJpeg}, {15, kTypeWmf},  {16, kTypeEps},
      {56, kTypePict}, {57, kTypePcd},  {75, kTypePng},  {0, 0},          {1, 0},          {4, 0},
      {26, 0},         {76, 0},         {96, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.type, TypeForFormat(c.format)) << "format " << c.format;

  struct Save { uint32_t type; int format; };
  const Save saves[] = {{kTypeTiff, 3}, {kTypeBmp, 6},  {kTypeJpeg, 10}, {kTypePng, 75}, {kTypeGif, 2},
                        {kTypeWmf, 15}, {kTypeEps, 16}, {kTypePict, 56}, {kTypePcd, 57}};
  for (const Save& s : saves) EXPECT_EQ(s.format, FormatForType(s.type));
  EXPECT_EQ(static_cast<int>(ImageTypeCode("XYZ")), FormatForType(ImageTypeCode("XYZ")));
}

TEST(LeadRules, ResultsQualityCompressionAndFlags) {
  struct Case { int lead; int code; };
  const Case cases[] = {{1, 512},   {2, 532},   {-6, 532},  {50, 520},  {-9, 520},  {-12, 520}, {-21, 521},
                        {-14, 530}, {-7, 529},  {-5, 528},  {-1, 527},  {-3, 527},  {-2, 513},  {-4, 513},
                        {-8, 513},  {-13, 513}, {-20, 513}, {0, 513},   {3, 513},   {-65, 513}};
  for (const Case& c : cases) EXPECT_EQ(c.code, MapLeadResult(c.lead)) << "toolkit result " << c.lead;

  EXPECT_EQ(63, QualityFactor(75));
  EXPECT_EQ(2, QualityFactor(100));
  EXPECT_EQ(2, QualityFactor(99));  // 2.55 truncates to 2
  EXPECT_EQ(255, QualityFactor(0));
  EXPECT_EQ(127, QualityFactor(50));

  EXPECT_EQ(IMGCOMP_NONE, CompressionForName("NONE"));
  EXPECT_EQ(IMGCOMP_JPEG, CompressionForName("JPEG"));
  EXPECT_EQ(IMGCOMP_RLE, CompressionForName("run length"));
  EXPECT_EQ(IMGCOMP_OTHER, CompressionForName("LZW"));
  EXPECT_EQ(IMGCOMP_OTHER, CompressionForName("none"));

  EXPECT_EQ(IMGCOLOR_BW, ColorModelForBits(1));
  EXPECT_EQ(IMGCOLOR_PALETTE, ColorModelForBits(4));
  EXPECT_EQ(IMGCOLOR_PALETTE, ColorModelForBits(16));
  EXPECT_EQ(IMGCOLOR_TRUECOLOR, ColorModelForBits(24));

  EXPECT_EQ(5u, SaveFlags(1, 3));
  EXPECT_EQ(6u, SaveFlags(24, 3));
  EXPECT_EQ(1u, SaveFlags(1, 6));
  EXPECT_EQ(2u, SaveFlags(8, 75));
}

TEST(LeadRules, ThumbnailSizes) {
  struct Case { uint32_t w, h, bw, bh, tw, th; };
  const Case cases[] = {
      {640, 480, 80, 80, 80, 60},       {480, 640, 80, 80, 60, 80},    {64, 48, 80, 80, 80, 60},  // small grows
      {4000, 3000, 112, 112, 112, 84},  {100, 100, 50, 80, 50, 50},    {300, 100, 80, 80, 80, 26},
      {10000, 1, 80, 80, 80, 1},        {1, 10000, 80, 80, 1, 80},  // sides never reach 0
  };
  for (const Case& c : cases) {
    const Size s = ThumbnailSize(c.w, c.h, c.bw, c.bh);
    EXPECT_EQ(c.tw, s.width) << c.w << "x" << c.h << " in " << c.bw << "x" << c.bh;
    EXPECT_EQ(c.th, s.height) << c.w << "x" << c.h << " in " << c.bw << "x" << c.bh;
  }
}

// Toolkit calls that record what they were given and can fail the thumbnail page.
struct Recorder {
  struct Call { std::string what; int format, bits, qfactor; uint32_t flags; int32_t page; int width, height; };
  std::vector<Call> calls;
  int failPage = 0;  // result of the thumbnail-page save when not 0
  int failMain = 0;  // result of the picture save when not 0
};
Recorder* g_recorder = nullptr;

int32_t CurrentPage() {
  ORVLFILEOPTIONS options = {};
  options.uStructSize = sizeof(options);
  orvlGetFileOption(&options);
  return options.PageNumber;
}
int FakeSaveFile(const char* path, ORVLBITMAP* bmp, int format, int bits, int qf, uint32_t flags) {
  g_recorder->calls.push_back({"saveFile", format, bits, qf, flags, CurrentPage(), bmp->Width, bmp->Height});
  if (g_recorder->failMain) return g_recorder->failMain;
  return orvlSaveFile(path, bmp, format, bits, qf, flags);
}
int FakeSave(const char* path, ORVLBITMAP* bmp, int format, int bits, int qf) {
  g_recorder->calls.push_back({"save", format, bits, qf, 0, CurrentPage(), bmp->Width, bmp->Height});
  if (g_recorder->failPage) return g_recorder->failPage;
  return orvlSaveBitmap(path, bmp, format, bits, qf);
}
int FakeResample(ORVLBITMAP* bmp, int width, int height) {
  g_recorder->calls.push_back({"resample", 0, 0, 0, 0, CurrentPage(), width, height});
  return orvlResampleBitmap(bmp, width, height);
}
const ToolkitCalls kFake = {FakeSaveFile, FakeSave, FakeResample, orvlGetFileOption, orvlSetFileOption};

class SaveSequence : public ::testing::Test {
 protected:
  void SetUp() override {
    g_recorder = &recorder;
    orvlInitBitmap(&bmp, 1, 1, 1);
  }
  void TearDown() override {
    orvlFreeBitmap(&bmp);
    g_recorder = nullptr;
  }
  void MakePicture(int width, int height, int bits) {
    ASSERT_EQ(ORVL_SUCCESS, orvlCreateBitmap(&bmp, ORVL_MEMORY_CONVENTIONAL, width, height, bits, ORVL_ORDER_BGR,
                                             nullptr, ORVL_TOP_LEFT));
    orvlFillBitmap(&bmp, ORVL_RGB(200, 100, 50));
  }
  static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  Recorder recorder;
  ORVLBITMAP bmp;
};

TEST_F(SaveSequence, TrueColourTiffCarriesAnEightBitThumbnailPage) {
  MakePicture(640, 480, 24);
  const std::string path = fixtures::ScratchPath("seq24.tif");
  ASSERT_EQ(IMGFILERR_OK, SaveBitmap(kFake, {path, 3, 24, 75, 640, 480}, &bmp));
  ASSERT_EQ(3u, recorder.calls.size());
  const Recorder::Call& main = recorder.calls[0];
  EXPECT_EQ("saveFile", main.what);
  EXPECT_EQ(3, main.format);
  EXPECT_EQ(24, main.bits);
  EXPECT_EQ(63, main.qfactor);
  EXPECT_EQ(6u, main.flags);
  EXPECT_EQ(640, main.width);
  EXPECT_EQ("resample", recorder.calls[1].what);
  EXPECT_EQ(80, recorder.calls[1].width);
  EXPECT_EQ(60, recorder.calls[1].height);
  const Recorder::Call& page = recorder.calls[2];
  EXPECT_EQ("save", page.what);
  EXPECT_EQ(2, page.page);
  EXPECT_EQ(8, page.bits);
  EXPECT_EQ(3, page.format);
  EXPECT_EQ(1, CurrentPage());

  // The real file: page 1 the picture, page 2 the 80 x 60 thumbnail at 8 bits.
  ORVLFILEINFO info = {};
  info.uStructSize = sizeof(info);
  ASSERT_EQ(ORVL_SUCCESS, orvlFileInfo(path.c_str(), &info));
  EXPECT_EQ(640, info.Width);
  EXPECT_EQ(2, info.TotalPages);
  ORVLFILEOPTIONS options = {};
  options.uStructSize = sizeof(options);
  options.PageNumber = 2;
  orvlSetFileOption(&options);
  const int pageInfo = orvlFileInfo(path.c_str(), &info);
  options.PageNumber = 1;
  orvlSetFileOption(&options);
  ASSERT_EQ(ORVL_SUCCESS, pageInfo);
  EXPECT_EQ(80, info.Width);
  EXPECT_EQ(60, info.Height);
  EXPECT_EQ(8, info.BitsPerPixel);
}

TEST_F(SaveSequence, OneBitTiffUsesFlagsFiveAndAOneBitPage) {
  MakePicture(64, 48, 1);
  const std::string path = fixtures::ScratchPath("seq1.tif");
  ASSERT_EQ(IMGFILERR_OK, SaveBitmap(kFake, {path, 3, 1, 100, 64, 48}, &bmp));
  ASSERT_EQ(3u, recorder.calls.size());
  EXPECT_EQ(5u, recorder.calls[0].flags);
  EXPECT_EQ(2, recorder.calls[0].qfactor);
  EXPECT_EQ(1, recorder.calls[0].bits);
  EXPECT_EQ(1, recorder.calls[2].bits);
  EXPECT_EQ(2, recorder.calls[2].page);
}

TEST_F(SaveSequence, OtherFormatsHaveNoThumbnailPage) {
  MakePicture(64, 48, 24);
  ASSERT_EQ(IMGFILERR_OK, SaveBitmap(kFake, {fixtures::ScratchPath("seq.png"), 75, 24, 0, 64, 48}, &bmp));
  ASSERT_EQ(1u, recorder.calls.size());
  EXPECT_EQ(2u, recorder.calls[0].flags);
  EXPECT_EQ(255, recorder.calls[0].qfactor);
}

TEST_F(SaveSequence, AFailedThumbnailPageLeavesNoFileAndKeepsAnOldOne) {
  MakePicture(64, 48, 24);
  recorder.failPage = ORVL_ERROR_FILE_WRITE;
  const std::string fresh = fixtures::ScratchPath("pagefail.tif");
  EXPECT_EQ(IMGFILERR_WRITE, SaveBitmap(kFake, {fresh, 3, 24, 75, 64, 48}, &bmp));
  EXPECT_FALSE(Exists(fresh));
  EXPECT_EQ(1, CurrentPage());

  const std::string old = fixtures::ScratchPath("pagefail_old.tif");
  fixtures::WriteFile(old, {'o', 'l', 'd'});
  recorder.failPage = ORVL_ERROR_NO_MEMORY;
  EXPECT_EQ(IMGFILERR_NOMEMORY, SaveBitmap(kFake, {old, 3, 24, 75, 64, 48}, &bmp));
  EXPECT_EQ(std::vector<uint8_t>({'o', 'l', 'd'}), fixtures::ReadFile(old));

  // No temporary file stays behind in the folder.
  WIN32_FIND_DATAA found;
  const std::string folder = fresh.substr(0, fresh.find_last_of('\\'));
  HANDLE find = FindFirstFileA((folder + "\\pagefail*.tmp").c_str(), &found);
  EXPECT_EQ(INVALID_HANDLE_VALUE, find);
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

// A read-only target, or one held open by another, keeps its content and is reported as not openable (Wine
// running as root would let the move replace a read-only file).
TEST_F(SaveSequence, AProtectedTargetIsNotReplaced) {
  MakePicture(64, 48, 24);
  const std::string path = fixtures::ScratchPath("protected.bmp");
  fixtures::WriteFile(path, {'o', 'l', 'd'});
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(IMGFILERR_OPEN, SaveBitmap(Toolkit(), {path, 6, 24, 75, 64, 48}, &bmp));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(std::vector<uint8_t>({'o', 'l', 'd'}), fixtures::ReadFile(path));
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_EQ(IMGFILERR_OPEN, SaveBitmap(Toolkit(), {path, 6, 24, 75, 64, 48}, &bmp));
  CloseHandle(held);
  EXPECT_EQ(std::vector<uint8_t>({'o', 'l', 'd'}), fixtures::ReadFile(path));
  DeleteFileA(path.c_str());
}

TEST_F(SaveSequence, AFailedPictureSaveLeavesNoFile) {
  MakePicture(64, 48, 24);
  recorder.failMain = ORVL_ERROR_FILE_WRITE;
  const std::string path = fixtures::ScratchPath("mainfail.bmp");
  EXPECT_EQ(IMGFILERR_WRITE, SaveBitmap(kFake, {path, 6, 24, 75, 64, 48}, &bmp));
  EXPECT_FALSE(Exists(path));
  EXPECT_EQ(IMGFILERR_WRITE, SaveBitmap(Toolkit(), {"C:\\no-such-folder\\x.png", 75, 24, 75, 64, 48}, &bmp));
}

}  // namespace
