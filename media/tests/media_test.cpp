// Tests of NXMedia's media objects: format tables, extensions, names, fitting, thumbnails (generated,
// default), archives in both forms, picture operations, sound headers and the start-up with and without the
// resource library.
#include <windows.h>
#include <gtest/gtest.h>
#include <media/NXMedia.h>
#include <media/NXMediaIds.h>
#include <NXException.h>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>
#include "startprobe.h"
#include "test_media.h"

namespace {

std::vector<BYTE> ReadAll(const std::string& path) {
  std::vector<BYTE> bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  int c;
  while ((c = std::fgetc(f)) != EOF) bytes.push_back(BYTE(c));
  std::fclose(f);
  return bytes;
}

CSize BitmapSize(CBitmap* bitmap) {
  BITMAP info = {};
  bitmap->GetBitmap(&info);
  return CSize(info.bmWidth, info.bmHeight);
}

// Runs a step and reports a thrown exception's text as the failure.
template <typename Step>
void Expect(const char* what, Step step) {
  try {
    step();
  } catch (CException* e) {
    char text[256] = {};
    e->GetErrorMessage(text, sizeof text);
    ADD_FAILURE() << what << ": " << e->GetRuntimeClass()->m_lpszClassName << ": " << text;
    e->Delete();
  }
}

// A screen device context for thumbnails.
struct ScreenDC {
  ScreenDC() : handle(GetDC(NULL)) { dc.Attach(handle); }
  ~ScreenDC() {
    dc.Detach();
    ReleaseDC(NULL, handle);
  }
  HDC handle;
  CDC dc;
};

TEST(FormatTables, TypeCodesLeadNumbersAndImagioResults) {
  EXPECT_EQ(FILEFORMAT_JPEG, cImageObject::MapIMGTYPEToNXFileType(ImageTypeCode("JPEG")));
  EXPECT_EQ(FILEFORMAT_ORC, cImageObject::MapIMGTYPEToNXFileType(ImageTypeCode("ORC")));
  EXPECT_EQ(FILEFORMAT_UNKNOWN, cImageObject::MapIMGTYPEToNXFileType(ImageTypeCode("GIF")));
  EXPECT_EQ(ImageTypeCode("TIFF"), cImageObject::MapNXFileTypeToIMGTYPE(FILEFORMAT_TIFF));
  EXPECT_EQ(0u, cImageObject::MapNXFileTypeToIMGTYPE(FILEFORMAT_AVI));
  const struct { FileFormat format; int lead; } lead[] = {{FILEFORMAT_TIFF, 3}, {FILEFORMAT_BMP, 6},
      {FILEFORMAT_JPEG, 10}, {FILEFORMAT_PNG, 75}, {FILEFORMAT_PCD, 57}, {FILEFORMAT_LEAD_1, 1},
      {FILEFORMAT_PICT, 56}, {FILEFORMAT_WMF, 15}, {FILEFORMAT_AVI, 59}};
  for (const auto& c : lead) {
    EXPECT_EQ(c.lead, cImageObject::MapNXFileTypeToLead(c.format));
    EXPECT_EQ(c.format, cImageObject::MapLeadToNXFileType(c.lead));
  }
  EXPECT_EQ(FILEFORMAT_TIFF, cImageObject::MapLeadToNXFileType(11));
  EXPECT_EQ(FILEFORMAT_UNKNOWN, cImageObject::MapLeadToNXFileType(2));
  EXPECT_EQ(12, cImageObject::MapNXFileTypeToLead(FILEFORMAT_FPX));  // passes through
  cImageObject picture;
  const struct { int code; NXError error; } results[] = {{512, NXE_NONE}, {520, NXE_FORMAT_NOT_SUPPORTED},
      {527, NXE_OUT_OF_MEMORY}, {528, NXE_FILE_ACCESS}, {529, NXE_FILE_OPEN}, {530, NXE_FILE_NOT_FOUND},
      {532, NXE_FILE_NOT_FOUND}, {513, NXE_GENERAL}, {0, NXE_GENERAL}};
  for (const auto& c : results) EXPECT_EQ(c.error, picture.MapIMGFILERRToNXError(c.code)) << c.code;
}

TEST(Extensions, SupportedAndDetermined) {
  const struct { const char* name; BOOL supported; } cases[] = {{"C:\\p\\a.JPE", TRUE}, {"b.jpeg", TRUE},
      {"c.png", TRUE}, {"d.TIF", TRUE}, {"nodot", FALSE}, {"ends.", FALSE}, {"clip.avi", FALSE},
      // Only a whole pattern of the list counts: parts of ".jpeg" or ".tif" are no extensions of pictures.
      {"e.jp", FALSE}, {"f.PE", FALSE}, {"g.if", FALSE}, {"h.g", FALSE}, {"i.jpg;", FALSE}};
  for (const auto& c : cases) EXPECT_EQ(c.supported, cImageObject::IsSupportedFileExtension(c.name)) << c.name;
  EXPECT_TRUE(cVideoObject::IsSupportedFileExtension("x\\clip.AVI"));
  EXPECT_TRUE(cWaveObject::IsSupportedFileExtension("s.wav"));
  EXPECT_FALSE(cWaveObject::IsSupportedFileExtension("wav"));

  EXPECT_EQ(FILEFORMAT_JPEG, cImageObject::DetermineFileFormat("C:\\a\\photo.jpeg"));
  EXPECT_EQ(FILEFORMAT_UNKNOWN, cImageObject::DetermineFileFormat("clip.avi"));
  EXPECT_EQ(FILEFORMAT_AVI, cMediaObject::DetermineFileFormat("clip.avi"));
  EXPECT_EQ(FILEFORMAT_WAVE, cMediaObject::DetermineFileFormat("C:\\s\\sweep.WAV"));
  EXPECT_EQ(FILEFORMAT_PNG, cMediaObject::DetermineFileFormat("copy.png"));
  EXPECT_EQ(FILEFORMAT_UNKNOWN, cMediaObject::DetermineFileFormat("notes.txt"));
  EXPECT_STREQ(".jpg", cMediaObject::GetExtension(FILEFORMAT_JPEG));
  EXPECT_STREQ(".avi", cMediaObject::GetExtension(FILEFORMAT_AVI));
  EXPECT_STREQ(".wav", cMediaObject::GetExtension(FILEFORMAT_WAVE));
  EXPECT_STREQ("", cMediaObject::GetExtension(FILEFORMAT_UNKNOWN));
}

TEST(MediaObject, DefaultsNamesAndUntitled) {
  cMediaObject media;
  EXPECT_EQ(DATATYPE_SOUND, media.GetType());
  EXPECT_EQ(DATASOURCE_NONE, media.GetDataSource());
  EXPECT_EQ(FILEFORMAT_UNKNOWN, media.GetFileFormat());
  EXPECT_TRUE(media.IsUntitled());
  media.SetFileName("C:\\pics\\beach.jpg");
  EXPECT_STREQ("beach.jpg", media.GetDisplayName());
  EXPECT_FALSE(media.IsUntitled());
  media.SetToUntitled("C:\\t\\", "3", ".bmp", TRUE);
  EXPECT_STREQ("Untitled3.bmp", media.GetDisplayName());
  EXPECT_STREQ("C:\\pics\\beach.jpg", media.GetFileName());
  EXPECT_TRUE(media.IsUntitled());
  media.SetToUntitled("C:\\t\\", "4", ".bmp", FALSE);
  EXPECT_STREQ("C:\\t\\Untitled4.bmp", media.GetFileName());
  EXPECT_STREQ("Untitled4.bmp", media.GetDisplayName());
  EXPECT_TRUE(media.IsUntitled());
  cMediaObject copy(media);
  EXPECT_STREQ(media.GetFileName(), copy.GetFileName());
  EXPECT_TRUE(copy.IsUntitled());
  EXPECT_EQ(DATATYPE_PICTURE, cImageObject().GetType());
  EXPECT_EQ(DATATYPE_VIDEO, cVideoObject().GetType());
}

TEST(MediaObject, AdjustToFitFrameKeepsTopLeftAndRatio) {
  const struct { CRect in; CRect frame; CRect out; } cases[] = {
      {CRect(0, 0, 80, 60), CRect(0, 0, 40, 40), CRect(0, 0, 40, 30)},
      {CRect(5, 7, 65, 127), CRect(0, 0, 100, 100), CRect(5, 7, 55, 107)},
      {CRect(0, 0, 4000, 3000), CRect(0, 0, 100, 100), CRect(0, 0, 100, 75)},
      {CRect(0, 0, 3, 3), CRect(0, 0, 7, 5), CRect(0, 0, 5, 5)}};
  cMediaObject media;
  for (const auto& c : cases) {
    CRect r = c.in;
    media.AdjustToFitFrame(r, c.frame);
    EXPECT_EQ(c.out, r) << c.in.Width() << "x" << c.in.Height();
  }
}

TEST(Thumbnails, GeneratedPicturesFitTheBox) {
  ScreenDC screen;
  cImageObject large;
  large.SetFileName(testmedia::Path("photo_4000x3000.jpg").c_str());
  std::unique_ptr<CBitmap> thumb(large.CreateThumbnail(&screen.dc, 100, 100, 0, FALSE));
  ASSERT_TRUE(thumb);
  EXPECT_EQ(CSize(100, 75), BitmapSize(thumb.get()));

  cImageObject small;
  small.SetFileName(testmedia::Path("photo_60x40.png").c_str());
  thumb.reset(small.CreateThumbnail(&screen.dc, 100, 100, 0, FALSE));
  ASSERT_TRUE(thumb);
  EXPECT_EQ(CSize(60, 40), BitmapSize(thumb.get()));

  cImageObject missing;
  missing.SetFileName("C:\\no-such-folder\\none.jpg");
  EXPECT_EQ(nullptr, missing.CreateThumbnail(&screen.dc, 100, 100, 0, FALSE));
}

TEST(Thumbnails, DefaultsOfTheThreeClasses) {
  ScreenDC screen;
  cImageObject picture;
  std::unique_ptr<CBitmap> thumb(picture.GetDefaultThumbnail(&screen.dc, 40, 40, FALSE));
  ASSERT_TRUE(thumb);
  EXPECT_EQ(CSize(40, 30), BitmapSize(thumb.get()));
  thumb.reset(picture.GetDefaultThumbnail(&screen.dc, 100, 100, FALSE));
  EXPECT_EQ(CSize(80, 60), BitmapSize(thumb.get()));
  thumb.reset(picture.GetDefaultThumbnail(&screen.dc, 160, 160, TRUE));
  EXPECT_EQ(CSize(160, 120), BitmapSize(thumb.get()));
  cVideoObject video;
  thumb.reset(video.GetDefaultThumbnail(&screen.dc, 40, 40, FALSE));
  EXPECT_EQ(CSize(40, 30), BitmapSize(thumb.get()));
  cWaveObject sound;
  thumb.reset(sound.CreateThumbnail(&screen.dc, 100, 100, 0, FALSE));
  ASSERT_TRUE(thumb);
  EXPECT_EQ(CSize(80, 60), BitmapSize(thumb.get()));
}

TEST(Thumbnails, DefaultThumbnailFromTwoThreads) {
  // The first use builds the shared picture under the write lock while another thread reads it.
  struct Job {
    static DWORD WINAPI Run(LPVOID) {
      HDC dc = GetDC(NULL);
      CDC wrapper;
      wrapper.Attach(dc);
      DWORD ok = 1;
      for (int i = 0; i < 20; ++i) {
        cWaveObject sound;
        std::unique_ptr<CBitmap> b(sound.GetDefaultThumbnail(&wrapper, 40, 40, FALSE));
        if (!b || BitmapSize(b.get()) != CSize(40, 30)) ok = 0;
      }
      wrapper.Detach();
      ReleaseDC(NULL, dc);
      return ok;
    }
  };
  HANDLE threads[2];
  for (HANDLE& t : threads) t = CreateThread(NULL, 0, Job::Run, NULL, 0, NULL);
  WaitForMultipleObjects(2, threads, TRUE, 30000);
  for (HANDLE t : threads) {
    DWORD code = 0;
    GetExitCodeThread(t, &code);
    EXPECT_EQ(1u, code);
    CloseHandle(t);
  }
}

TEST(ImageObject, LoadWriteAndFileInfo) {
  cImageObject picture;
  picture.CreateFromFile(testmedia::Path("photo_640x480.bmp").c_str());
  EXPECT_EQ(640, picture.GetWidth());
  EXPECT_EQ(480, picture.GetHeight());
  EXPECT_EQ(FILEFORMAT_BMP, picture.GetFileFormat());
  EXPECT_EQ(DATASOURCE_FILE, picture.GetDataSource());
  EXPECT_TRUE(picture.IsLoaded());
  EXPECT_TRUE(picture.IsInitialized());
  EXPECT_FALSE(picture.IsDiskFileWritten());
  EXPECT_STREQ("photo_640x480.bmp", picture.GetDisplayName());

  const std::string out = testmedia::Path("written.jpg");
  picture.Write(out.c_str(), FILEFORMAT_JPEG, 24, 80, 0);
  cImageObject again;
  again.UpdateFileInfo(out.c_str());
  EXPECT_EQ(FILEFORMAT_JPEG, again.GetFileFormat());
  EXPECT_EQ(640, again.GetWidth());
  EXPECT_EQ(long(ReadAll(out).size()), again.GetDiskSize());
  std::remove(out.c_str());

  cImageObject missing;
  try {
    missing.CreateFromFile("C:\\no-such-folder\\none.png");
    ADD_FAILURE() << "no exception";
  } catch (cNXException* e) {
    char text[256] = {};
    e->GetErrorMessage(text, sizeof text);
    EXPECT_NE(nullptr, strstr(text, "none.png")) << text;
    e->Delete();
  }
}

TEST(ImageObject, ArchiveEmbedsBmpOrBecomesThePictureFile) {
  Expect("ImageObject, ArchiveEmbedsBmpOrBecomesThePictureFile", [&] {
    cImageObject picture;
    picture.CreateFromFile(testmedia::Path("photo_60x40.png").c_str());
    const std::string album = testmedia::Path("album.dat");
    {
      CFile file(album.c_str(), CFile::modeCreate | CFile::modeWrite);
      CArchive ar(&file, CArchive::store);
      picture.Serialize(ar);
      ar.Close();
    }
    std::vector<BYTE> bytes = ReadAll(album);
    ASSERT_GT(bytes.size(), 6u);
    DWORD count = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | DWORD(bytes[3]) << 24;
    EXPECT_EQ(bytes.size() - 4, count);
    EXPECT_EQ('B', bytes[4]);
    EXPECT_EQ('M', bytes[5]);
    {
      cImageObject loaded;
      CFile file(album.c_str(), CFile::modeRead);
      CArchive ar(&file, CArchive::load);
      loaded.Serialize(ar);
      EXPECT_EQ(60, loaded.GetWidth());
      EXPECT_EQ(40, loaded.GetHeight());
      EXPECT_TRUE(loaded.IsInitialized());
      EXPECT_EQ(picture.GetBitmap()->GetPixelColor(20, 30), loaded.GetBitmap()->GetPixelColor(20, 30));
    }
  
    // A damaged count is refused before any memory is asked for.
    bytes[3] = 0x7f;
    {
      FILE* f = std::fopen(album.c_str(), "wb");
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
      cImageObject loaded;
      CFile file(album.c_str(), CFile::modeRead);
      CArchive ar(&file, CArchive::load);
      EXPECT_THROW(loaded.Serialize(ar), CArchiveException*);
    }
    std::remove(album.c_str());
  
    const std::string copy = testmedia::Path("copy.png");
    {
      CFile file(copy.c_str(), CFile::modeCreate | CFile::modeWrite);
      CArchive ar(&file, CArchive::store);
      picture.Serialize(ar);
      ar.Close();
    }
    bytes = ReadAll(copy);
    const BYTE png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    ASSERT_GE(bytes.size(), sizeof png);
    EXPECT_EQ(0, memcmp(bytes.data(), png, sizeof png));
    {
      cImageObject loaded;
      CFile file(copy.c_str(), CFile::modeRead | CFile::shareDenyWrite);
      CArchive ar(&file, CArchive::load);
      loaded.Serialize(ar);
      EXPECT_EQ(60, loaded.GetWidth());
      EXPECT_EQ(FILEFORMAT_PNG, loaded.GetFileFormat());
      EXPECT_TRUE(loaded.IsDiskFileWritten());
      EXPECT_STREQ("copy.png", loaded.GetDisplayName());
    }
    std::remove(copy.c_str());
  });
}

TEST(PictureOperations, ToneCurve) {
  BYTE table[256];
  cImageObject::MakeToneCurve(table);
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(0, table[i]) << i;
  EXPECT_EQ(127, table[100]);
  EXPECT_EQ(64, table[53]);
  EXPECT_EQ(255, table[255]);
  for (int i = 1; i < 256; ++i) EXPECT_LE(table[i - 1], table[i]) << i;
}

TEST(PictureOperations, RotateResizeColourAndMemoryPictures) {
  Expect("PictureOperations, RotateResizeColourAndMemoryPictures", [&] {
    cImageObject picture;
    picture.Init(640, 480, 24);
    ASSERT_EQ(0, picture.GetBitmap()->Allocate());
    picture.UpdateImageProperties();
    picture.Rotate(90, ORVL_ROTATE_RESIZE);
    EXPECT_EQ(480, picture.GetWidth());
    EXPECT_EQ(640, picture.GetHeight());
    const uint8_t* pixels = picture.GetBitmap()->Data;
    picture.Resize(480, 640, 0);
    EXPECT_EQ(pixels, picture.GetBitmap()->Data);  // untouched
    picture.Resize(120, 160, 0);
    EXPECT_EQ(120, picture.GetWidth());
    picture.GetBitmap()->Fill(ORVL_RGB(100, 3, 255));
    picture.IntensityRemapChannel(0);
    EXPECT_EQ(ORVL_RGB(127, 0, 255), picture.GetBitmap()->GetPixelColor(5, 5));
    picture.ConvertColorResolution(8);
    EXPECT_EQ(8, picture.GetBitsPerPixel());
  
    HGLOBAL dib = picture.ConvertToDIB();
    ASSERT_TRUE(dib);
    cImageObject fromMemory;
    fromMemory.CreateFromDIBHandle(dib);
    GlobalFree(dib);
    EXPECT_STREQ("<memory>", fromMemory.GetFileName());
    EXPECT_FALSE(fromMemory.IsDiskFileWritten());
    EXPECT_EQ(120, fromMemory.GetWidth());
    EXPECT_EQ(picture.GetBitmap()->GetPixelColor(10, 10), fromMemory.GetBitmap()->GetPixelColor(10, 10));
  
    std::unique_ptr<cImageObject> copy(picture.CopyImage());
    EXPECT_EQ(160, copy->GetHeight());
    EXPECT_NE(picture.GetBitmap()->Data, copy->GetBitmap()->Data);
  
    cImageObject empty;
    EXPECT_THROW(empty.Rotate(90, 0), cNXLeadException*);
  });
}

TEST(Sound, HeaderOfGeneratedAndMalformedFiles) {
  cWaveObject sound;
  sound.UpdateFileInfo(testmedia::Path("sweep.wav").c_str());
  EXPECT_EQ(WAVE_FORMAT_PCM, sound.GetFormatTag());
  EXPECT_EQ(1, sound.GetChannels());
  EXPECT_EQ(22050u, sound.GetSampleFrequency());
  EXPECT_EQ(FILEFORMAT_WAVE, sound.GetFileFormat());

  std::vector<BYTE> good = ReadAll(testmedia::Path("sweep.wav"));
  WAVEFORMATEX format = {};
  cWaveObject::ParseHeader(good.data(), 64, &format);
  EXPECT_EQ(22050u, format.nSamplesPerSec);
  std::vector<BYTE> notRiff(good.begin(), good.begin() + 44);
  notRiff[0] = 'X';
  std::vector<BYTE> hugeFormat = good;
  hugeFormat[16] = hugeFormat[17] = hugeFormat[18] = hugeFormat[19] = 0xff;  // the fmt chunk's size
  const struct { const char* what; std::vector<BYTE> bytes; } bad[] = {
      {"empty", {}},
      {"not RIFF", notRiff},
      {"truncated fmt", std::vector<BYTE>(good.begin(), good.begin() + 24)},
      {"fmt beyond the data", hugeFormat}};
  for (const auto& c : bad) {
    try {
      cWaveObject::ParseHeader(c.bytes.data(), UINT(c.bytes.size()), &format);
      ADD_FAILURE() << c.what;
    } catch (CFileException* e) {
      EXPECT_EQ(CFileException::generic, e->m_cause) << c.what;
      e->Delete();
    }
  }
  const std::string broken = testmedia::Path("broken.wav");
  FILE* f = std::fopen(broken.c_str(), "wb");
  std::fwrite(good.data(), 1, 30, f);
  std::fclose(f);
  EXPECT_THROW(sound.UpdateFileInfo(broken.c_str()), CFileException*);
  std::remove(broken.c_str());
}

// Loading NXMedia neither loads NXMediaRes.dll nor shows a box (that would run under the loader lock); the
// start-up call loads it, or shows the fixed message when it is missing and goes on without it.
TEST(Resources, StartupLoadsTheResourceLibraryOrShowsTheFixedMessage) {
  startprobe::ExpectStartsOutsideTheLoaderLock("NXMedia.dll", "NXMediaStartup", NXMEDIA_MISSING_RESOURCES_TEXT);
}

}  // namespace
