// Tests of NXMedia's AVI classes and video objects on the generator's clips: cutting and pasting across
// streams, silence for a pasted clip without sound, saving, malformed files, frames and thumbnails.
#include <windows.h>
#include <gtest/gtest.h>
#include <media/AVIFile.h>
#include <NXException.h>
#include <avi/avi.h>
#include <memory>
#include <string>
#include "test_media.h"

namespace {

const LONG kClipFrames = 30;       // the generator's clips: 3 s at 10 frames a second
const LONG kSoundRate = 11025;     // 8-bit mono PCM
const LONG kSamplesPerFrame10 = kSoundRate;  // ten frames of sound

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(AVIEditFile, CutFramesRemovesTheMatchingSound) {
  cAVIEditFile file;
  ASSERT_TRUE(file.Open(testmedia::Path("clip_sound.avi").c_str(), OF_READ, NULL));
  ASSERT_EQ(2, file.GetStreamCount());
  const LONG sound = file.GetStream(1)->GetLength();
  EXPECT_EQ(kClipFrames, file.GetStream(0)->GetLength());
  EXPECT_EQ(3000, file.GetStream(1)->GetLengthTime());

  std::unique_ptr<cAVIEditFile> cut(file.CutAllStreams(10, 10));
  ASSERT_EQ(2, cut->GetStreamCount());
  EXPECT_EQ(10, cut->GetStream(0)->GetLength());
  EXPECT_EQ(kSamplesPerFrame10, cut->GetStream(1)->GetLength());
  EXPECT_EQ(kClipFrames - 10, file.GetStream(0)->GetLength());
  EXPECT_EQ(sound - kSamplesPerFrame10, file.GetStream(1)->GetLength());

  // A range wholly after the end of the sound maps to nothing: type 5, nothing changed.
  AVISTREAMINFOA info;
  ASSERT_TRUE(file.GetStream(1)->GetInfo(&info));
  EXPECT_EQ(streamtypeAUDIO, info.fccType);
  try {
    std::unique_ptr<cAVIEditFile> none(file.CopyAllStreams(kClipFrames, 5));
    ADD_FAILURE() << "no exception";
  } catch (cNXException* e) {
    e->Delete();
  }
  EXPECT_EQ(kClipFrames - 10, file.GetStream(0)->GetLength());
}

TEST(AVIEditFile, PastingAClipWithoutSoundInsertsSilence) {
  cAVIEditFile target, source;
  ASSERT_TRUE(target.Open(testmedia::Path("clip_sound.avi").c_str(), OF_READ, NULL));
  ASSERT_TRUE(source.Open(testmedia::Path("clip_silent.avi").c_str(), OF_READ, NULL));
  ASSERT_EQ(1, source.GetStreamCount());
  const LONG sound = target.GetStream(1)->GetLength();
  LONG position = 10, length = 0;
  target.PasteAllStreams(&position, &length, &source, 0, kClipFrames);
  EXPECT_EQ(10, position);
  EXPECT_EQ(kClipFrames, length);
  EXPECT_EQ(2 * kClipFrames, target.GetStream(0)->GetLength());
  EXPECT_EQ(sound + 3 * kSoundRate, target.GetStream(1)->GetLength());
  // The inserted stretch is silence (8-bit: 128), at the time of frame 10.
  std::vector<uint8_t> inserted = target.GetStream(1)->GetAVIStream()->ReadSamples(kSoundRate + 100, 500);
  for (uint8_t b : inserted) ASSERT_EQ(128, b);

  // Saved and read back it keeps the lengths.
  const std::string out = testmedia::Path("pasted.avi");
  ASSERT_TRUE(target.SaveAs(out.c_str(), NULL));
  cAVIEditFile saved;
  ASSERT_TRUE(saved.Open(out.c_str(), OF_READ, NULL));
  EXPECT_EQ(2 * kClipFrames, saved.GetStream(0)->GetLength());
  EXPECT_EQ(sound + 3 * kSoundRate, saved.GetStream(1)->GetLength());
  saved.Close();
  DeleteFileA(out.c_str());
}

TEST(AVIEditFile, FailedSaveLeavesNoFileAndReportsThePath) {
  cAVIEditFile file;
  ASSERT_TRUE(file.Open(testmedia::Path("clip_sound.avi").c_str(), OF_READ, NULL));
  const std::string target = "C:\\no-such-folder\\out.avi";
  try {
    file.SaveAs(target.c_str(), NULL);
    ADD_FAILURE() << "no exception";
  } catch (CFileException* e) {
    EXPECT_EQ(CFileException::diskFull, e->m_cause);
    EXPECT_STREQ(target.c_str(), e->m_strFileName);
    e->Delete();
  }
  EXPECT_FALSE(FileExists(target));
}

TEST(AVIEditFile, ClipboardAndWritableCopy) {
  cAVIEditFile file;
  ASSERT_TRUE(file.OpenWritableCopy(testmedia::Path("clip_sound.avi").c_str()));
  EXPECT_EQ(2, file.GetStreamCount());
  ASSERT_TRUE(file.PutOnClipboard());
  cAVIEditFile pasted;
  ASSERT_TRUE(pasted.GetFromClipboard());
  EXPECT_EQ(kClipFrames, pasted.GetStream(0)->GetLength());
  EXPECT_EQ(file.GetStream(1)->GetLength(), pasted.GetStream(1)->GetLength());
}

// Temporary names are made, not guessed: each call gets a file of its own, even before anything is written.
TEST(AVIEditFile, TemporaryNamesAreNeverHandedOutTwice) {
  typedef CString(PASCAL * NameMaker)();
  for (NameMaker make : {&cAVIEditFile::GetTempAVIFileName, &cAVIEditFile::GetClipboardFileName}) {
    const std::string first = LPCSTR(make()), second = LPCSTR(make());
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second);
    EXPECT_TRUE(FileExists(first));
    EXPECT_EQ(".avi", second.substr(second.size() - 4));
    DeleteFileA(first.c_str());
    DeleteFileA(second.c_str());
  }
}

TEST(AVIFile, MalformedFilesFailCleanly) {
  const std::string path = testmedia::Path("broken.avi");
  const char* contents[] = {"", "RIFF\x10\0\0\0AVI LIST", "RIFF\xff\xff\xff\x7f" "AVI LIST\xff\xff\xff\x7fhdrlavih"};
  for (const char* text : contents) {
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text, 1, strlen(text) + (text[0] ? 8 : 0), f);
    std::fclose(f);
    cAVIEditFile file;
    EXPECT_FALSE(file.Open(path.c_str(), OF_READ, NULL)) << text;
    EXPECT_NE(S_OK, file.GetLastResult());
    cVideoObject video;
    EXPECT_THROW(video.CreateFromFile(path.c_str()), cNXException*);
    video.SetFileName(path.c_str());
    EXPECT_EQ(nullptr, video.GetFrameAsDIB(0));
  }
  DeleteFileA(path.c_str());
}

TEST(VideoObject, InformationFramesAndThumbnail) {
  cVideoObject video;
  video.CreateFromFile(testmedia::Path("clip_sound.avi").c_str());
  EXPECT_EQ(160, video.GetWidth());
  EXPECT_EQ(120, video.GetHeight());
  EXPECT_EQ(FILEFORMAT_AVI, video.GetFileFormat());
  EXPECT_TRUE(video.IsLoaded());
  HGLOBAL frame = video.GetFrameAsDIB(5);
  ASSERT_TRUE(frame);
  const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(frame));
  EXPECT_EQ(160, header->biWidth);
  EXPECT_EQ(24, header->biBitCount);
  GlobalUnlock(frame);
  GlobalFree(frame);
  EXPECT_EQ(nullptr, video.GetFrameAsDIB(kClipFrames));

  HDC screen = GetDC(NULL);
  CDC dc;
  dc.Attach(screen);
  std::unique_ptr<CBitmap> thumb(video.CreateThumbnail(&dc, 100, 100, 0, FALSE));
  ASSERT_TRUE(thumb);
  BITMAP info = {};
  thumb->GetBitmap(&info);
  EXPECT_EQ(100, info.bmWidth);
  EXPECT_EQ(75, info.bmHeight);
  // A clip that cannot be read gets the class's default picture.
  cVideoObject missing;
  missing.SetFileName("C:\\no-such-folder\\none.avi");
  EXPECT_EQ(nullptr, missing.CreateThumbnail(&dc, 100, 100, 0, FALSE));
  dc.Detach();
  ReleaseDC(NULL, screen);
}

}  // namespace
