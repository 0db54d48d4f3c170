// Clips written by ffmpeg: read, checked, edited and saved for ffprobe to check (avi_peer_probe).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "avi/avi.h"
#include "clip.h"

namespace {

std::string PeerDir() {
  const char* dir = std::getenv("ORV_AVI_PEER");
  if (!dir) return {};
#ifdef _WIN32
  // The fixture writes the clips with a Linux path; Wine shows the root as drive Z:.
  if (dir[0] == '/') return std::string("Z:") + dir;
#endif
  return dir;
}

std::string Peer(const std::string& name) { return PeerDir() + "/" + name; }

// Lists a saved clip with what ffprobe must find in it.
void Expect(const std::string& file, int frames, int ms) {
  std::ofstream(Peer("expect.txt"), std::ios::app) << file << " " << frames << " " << ms << "\n";
}

class PeerClips : public ::testing::Test {
 protected:
  void SetUp() override {
    if (PeerDir().empty()) GTEST_SKIP() << "ORV_AVI_PEER not set (run through ctest)";
  }
};

}  // namespace

TEST_F(PeerClips, ReadsFfmpegClips) {
  struct Case {
    const char* file;
    uint32_t compression;
    int bits, channels, rate;
  } cases[] = {{"bgr24_u8.avi", 0, 8, 1, 11025},
               {"bgr24_s16.avi", 0, 16, 2, 22050},
               {"cinepak_s16.avi", avi::MakeFourCC('c', 'v', 'i', 'd'), 16, 1, 11025}};
  for (const Case& c : cases) {
    const avi::AviFile f = avi::AviFile::Open(Peer(c.file));
    ASSERT_EQ(f.streamCount(), 2) << c.file;
    EXPECT_TRUE(f.indexUsed()) << c.file;
    const avi::Stream& v = f.stream(0);
    const avi::Stream& a = f.stream(1);
    EXPECT_TRUE(v.isVideo());
    EXPECT_EQ(v.length(), 30) << c.file;
    EXPECT_EQ(v.lengthTime(), 3000) << c.file;
    const avi::VideoFormat vf = v.videoFormat();
    EXPECT_EQ(vf.width, 64);
    EXPECT_EQ(std::abs(vf.height), 48);  // ffmpeg writes uncompressed frames top-down
    EXPECT_EQ(vf.compression, c.compression) << c.file;
    if (c.compression == 0) {
      EXPECT_EQ(v.ReadSamples(5, 1).size(), 64u * 48 * 3);
    }
    EXPECT_TRUE(v.IsKeyFrame(0));
    const avi::AudioFormat af = a.audioFormat();
    EXPECT_EQ(af.bitsPerSample, c.bits) << c.file;
    EXPECT_EQ(af.channels, c.channels) << c.file;
    EXPECT_EQ(int(af.samplesPerSec), c.rate) << c.file;
    EXPECT_NEAR(a.lengthTime(), 3000, 20) << c.file;
    EXPECT_EQ(f.info().width, 64u);
  }
  // ffmpeg's cinepak output has delta frames between key frames every 5 frames.
  const avi::AviFile cinepak = avi::AviFile::Open(Peer("cinepak_s16.avi"));
  EXPECT_FALSE(cinepak.stream(0).IsKeyFrame(1));
  EXPECT_EQ(cinepak.stream(0).PreviousKeyFrame(7), 5);
}

TEST_F(PeerClips, EditedClipsAreSavedForTheProbe) {
  std::remove(Peer("expect.txt").c_str());
  {
    avi::AviFile clip = avi::AviFile::Open(Peer("bgr24_u8.avi"));
    const avi::AviFile removed = clip.CutAll(10, 10);
    EXPECT_EQ(removed.stream(1).length(), 11025);
    EXPECT_EQ(clip.stream(1).length(), 2 * 11025);
    clip.Save(Peer("edited_cut.avi"));
    Expect("edited_cut.avi", 20, 2000);
    removed.Save(Peer("edited_removed.avi"));
    Expect("edited_removed.avi", 10, 1000);
  }
  {
    avi::AviFile clip = avi::AviFile::Open(Peer("bgr24_s16.avi"));
    const avi::AviFile silent = avi::AviFile::Open(Peer("bgr24_silent.avi"));
    clip.PasteAll(15, silent, 0, silent.stream(0).length());
    EXPECT_EQ(clip.stream(0).length(), 50);
    EXPECT_EQ(clip.stream(1).length(), 5 * 22050);
    EXPECT_EQ(clip.stream(1).ReadSamples(clip.stream(1).start() + 22050 * 2, 4), std::vector<uint8_t>(16, 0));
    clip.Save(Peer("edited_paste.avi"));
    Expect("edited_paste.avi", 50, 5000);
  }
  {
    // Compressed frames are moved as they are, key-frame flags included.
    avi::AviFile clip = avi::AviFile::Open(Peer("cinepak_s16.avi"));
    clip.CutAll(10, 10);
    clip.Save(Peer("edited_cinepak.avi"));
    Expect("edited_cinepak.avi", 20, 2000);
    const avi::AviFile back = avi::AviFile::Open(Peer("edited_cinepak.avi"));
    EXPECT_TRUE(back.stream(0).IsKeyFrame(10));
    EXPECT_FALSE(back.stream(0).IsKeyFrame(11));
  }
}
