// The generator's clips edited through the AVI container: cut frames take their sound, pastes get silence.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "media.h"

namespace {

std::string Temp(const std::string& name) {
  const char* dir = std::getenv("TEMP");
  if (!dir) dir = std::getenv("TMPDIR");
  return std::string(dir ? dir : "/tmp") + "/orv_samplegen_" + name;
}

}  // namespace

TEST(GeneratedClips, CutAndPasteKeepSoundInStep) {
  const std::string withSound = Temp("sound.avi"), silent = Temp("silent.avi"), edited = Temp("edited.avi");
  samplegen::ClipShape shape;
  samplegen::MakeClip(shape, 1).Save(withSound);
  shape.soundRate = 0;
  shape.frames = 20;
  samplegen::MakeClip(shape, 2).Save(silent);

  {  // the files stay open while streams refer to them, so they are removed after this block
    avi::AviFile clip = avi::AviFile::Open(withSound);
    ASSERT_EQ(clip.streamCount(), 2);
    EXPECT_EQ(clip.stream(0).lengthTime(), 3000);
    EXPECT_EQ(clip.stream(1).lengthTime(), 3000);
    const std::vector<uint8_t> frame20 = clip.stream(0).ReadSamples(20, 1);
    const std::vector<uint8_t> sound2s = clip.stream(1).ReadSamples(22050, 100);

    const avi::AviFile removed = clip.CutAll(10, 10);
    EXPECT_EQ(removed.stream(0).length(), 10);
    EXPECT_EQ(removed.stream(1).length(), 11025);
    EXPECT_EQ(clip.stream(0).ReadSamples(10, 1), frame20);
    EXPECT_EQ(clip.stream(1).ReadSamples(11025, 100), sound2s);

    const avi::AviFile gap = avi::AviFile::Open(silent);
    const avi::PasteResult pasted = clip.PasteAll(10, gap, 0, 20);
    EXPECT_EQ(pasted.length, 20);
    EXPECT_EQ(clip.stream(0).length(), 40);
    EXPECT_EQ(clip.stream(1).length(), 4 * 11025);
    EXPECT_EQ(clip.stream(1).ReadSamples(11025, 22050), std::vector<uint8_t>(22050, 128));
    EXPECT_EQ(clip.stream(1).ReadSamples(33075, 100), sound2s);

    clip.Save(edited);
    const avi::AviFile back = avi::AviFile::Open(edited);
    EXPECT_EQ(back.stream(0).lengthTime(), 4000);
    EXPECT_EQ(back.stream(1).lengthTime(), 4000);
  }
  for (const std::string& p : {withSound, silent, edited}) std::remove(p.c_str());
}
