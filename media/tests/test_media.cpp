// Test set-up of the NXMedia tests: NXMedia and imagio started for the process, and the generated media folder.
#include "test_media.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <imagio/imgfile.h>
#include <media/NXMedia.h>
#include "media.h"
#include "picture.h"

namespace {

const uint32_t kSeed = 7;

class ImagioEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(NXMediaStartup());  // as every program using NXMedia does at its start
    ASSERT_EQ(IMGFILERR_OK, NXImageFile::Init(nullptr));
  }
  void TearDown() override { NXImageFile::Exit(); }
};
::testing::Environment* const g_imagio = ::testing::AddGlobalTestEnvironment(new ImagioEnvironment);

std::string MakeFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "nxmedia_tests\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  samplegen::WriteJpeg(folder + "photo_4000x3000.jpg", samplegen::DrawPhoto(4000, 3000, kSeed), 85);
  samplegen::WritePng(folder + "photo_60x40.png", samplegen::DrawPhoto(60, 40, kSeed));
  samplegen::WriteBmp(folder + "photo_640x480.bmp", samplegen::DrawPhoto(640, 480, kSeed));
  samplegen::ClipShape sound;
  samplegen::MakeClip(sound, kSeed).Save(folder + "clip_sound.avi");
  samplegen::ClipShape silent;
  silent.soundRate = 0;
  samplegen::MakeClip(silent, kSeed).Save(folder + "clip_silent.avi");
  samplegen::WriteSweepWav(folder + "sweep.wav", 22050, 2.0);
  return folder;
}

}  // namespace

namespace testmedia {
const std::string& Folder() {
  static const std::string folder = MakeFolder();
  return folder;
}
std::string Path(const char* name) { return Folder() + name; }
}  // namespace testmedia
