// Tests of the AVI container: timing, reading and writing, editing across streams, saving, bad input.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "avi/avi.h"
#include "clip.h"

using avitest::Clip;
using avitest::Payload;
using avitest::Sound;
using avitest::Video;

namespace {

avi::StreamInfo Timing(uint32_t scale, uint32_t rate, int32_t start, int32_t length) {
  avi::StreamInfo i;
  i.scale = scale;
  i.rate = rate;
  i.start = start;
  i.length = length;
  return i;
}

template <class F>
avi::Errc ErrorOf(F f) {
  try {
    f();
  } catch (const avi::Error& e) {
    return e.code();
  }
  ADD_FAILURE() << "no avi::Error thrown";
  return avi::Errc::kIo;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

bool Exists(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}

}  // namespace

TEST(Timing, SampleAndTimeConversionLikeThePlatform) {
  const avi::StreamInfo video = Timing(1, 10, 0, 30), sound = Timing(1, 11025, 0, 33075), ntsc = Timing(1001, 30000, 0, 100);
  struct Case {
    const avi::StreamInfo& info;
    int32_t sample, time;
  } toTime[] = {{video, 0, 0}, {video, 19, 1900}, {video, 30, 3000}, {video, 31, -1}, {sound, 11025, 1000},
                {sound, 1, 1} /* rounds up */, {sound, 33075, 3000}, {ntsc, 1, 33}, {ntsc, 100, 3336}};
  for (const Case& c : toTime) EXPECT_EQ(avi::SampleToTime(c.info, c.sample), c.time) << c.sample;
  Case toSample[] = {{video, 19, 1999}, {video, 30, 3000}, {video, -1, 3100}, {sound, 12, 1} /* 11.025 up */,
                     {sound, 11025, 1000}, {sound, -1, 3001}, {ntsc, 2, 99}};
  for (const Case& c : toSample) EXPECT_EQ(avi::TimeToSample(c.info, c.time), c.sample) << c.time;
  EXPECT_EQ(avi::TimeToSample(video, -5), -1);
  EXPECT_EQ(avi::SampleToTime(Timing(1, 0, 0, 10), 1), -1);
  // Large values neither overflow nor wrap.
  const avi::StreamInfo huge = Timing(0xffffffffu, 1, 0, INT32_MAX);
  EXPECT_EQ(avi::SampleToTime(huge, INT32_MAX), -1);
  EXPECT_EQ(avi::TimeToSample(Timing(1, 0xffffffffu, 0, INT32_MAX), INT32_MAX), -1);
}

TEST(Timing, CorrespondingRanges) {
  const avi::StreamInfo video = Timing(1, 10, 0, 30), video2 = Timing(1, 10, 0, 30), sound = Timing(1, 11025, 0, 22050);
  struct Case {
    const avi::StreamInfo& other;
    int32_t start, length, wantStart, wantLength;
  } cases[] = {
      {video2, 10, 10, 10, 10},      // equal rates give equal ranges
      {sound, 10, 10, 11025, 11025},  // one second of sound for ten frames
      {sound, 15, 10, 16538, 5512},   // the end falls after the sound: pulled in to its end
      {sound, 25, 5, 0, 0},           // wholly after the sound: empty
  };
  for (const Case& c : cases) {
    const avi::SampleRange r = avi::CorrespondingRange(video, c.other, c.start, c.length);
    EXPECT_EQ(r.start, c.wantStart) << c.start;
    EXPECT_EQ(r.length, c.wantLength) << c.start;
  }
  const avi::StreamInfo lateSound = Timing(1, 11025, 11025, 11025);  // starts at one second
  const avi::SampleRange r = avi::CorrespondingRange(video, lateSound, 0, 15);
  EXPECT_EQ(r.start, 11025);
  EXPECT_EQ(r.length, 5513);
  EXPECT_EQ(ErrorOf([&] { avi::CorrespondingRange(video, sound, 25, 10); }), avi::Errc::kBadRange);
}

TEST(RoundTrip, UntouchedChunksStayByteExact) {
  const avi::AviFile clip = Clip({Video(30), Sound(3.0, 11025, 8, 1)});
  ASSERT_EQ(clip.streamCount(), 2);
  EXPECT_TRUE(clip.indexUsed());
  EXPECT_EQ(clip.stream(0).length(), 30);
  EXPECT_EQ(clip.stream(1).length(), 33075);
  EXPECT_EQ(clip.stream(1).lengthTime(), 3000);
  EXPECT_EQ(clip.info().width, 16u);
  EXPECT_EQ(clip.stream(0).ReadSamples(7, 1), std::vector<uint8_t>(384, 7));

  const std::string path = avitest::TempPath("roundtrip.avi");
  clip.Save(path);
  const std::string second = avitest::TempPath("roundtrip2.avi");
  {  // the read file stays open while its streams live
    const avi::AviFile again = avi::AviFile::Open(path);
    ASSERT_EQ(again.streamCount(), 2);
    for (int s = 0; s < 2; ++s) {
      EXPECT_EQ(Payload(again.stream(s)), Payload(clip.stream(s)));
      ASSERT_EQ(again.stream(s).pieces().size(), clip.stream(s).pieces().size());
      for (size_t p = 0; p < clip.stream(s).pieces().size(); ++p)
        EXPECT_EQ(again.stream(s).pieces()[p].chunkType, clip.stream(s).pieces()[p].chunkType);
    }
    // Saving what was read writes the same file again.
    again.Save(second);
    EXPECT_EQ(ReadAll(second), ReadAll(path));
  }
  std::remove(path.c_str());
  std::remove(second.c_str());
}

TEST(Editing, CutFramesTakesTheMatchingSound) {
  struct Case {
    int rate, bits, channels;
  } cases[] = {{11025, 8, 1}, {22050, 16, 2}};
  for (const Case& c : cases) {
    avi::AviFile clip = Clip({Video(30), Sound(3.0, c.rate, c.bits, c.channels)});
    const std::vector<uint8_t> before = Payload(clip.stream(1));
    const avi::AviFile cut = clip.CutAll(10, 10);
    const int block = c.channels * c.bits / 8;
    EXPECT_EQ(cut.stream(0).length(), 10);
    EXPECT_EQ(cut.stream(1).length(), c.rate);  // exactly one second
    EXPECT_EQ(clip.stream(0).length(), 20);
    EXPECT_EQ(clip.stream(1).length(), 2 * c.rate);
    EXPECT_EQ(clip.stream(0).ReadSamples(10, 1)[0], 20);
    const std::vector<uint8_t> after = Payload(clip.stream(1));
    const size_t second = size_t(c.rate) * block;
    EXPECT_TRUE(std::equal(after.begin(), after.begin() + long(second), before.begin()));
    EXPECT_TRUE(std::equal(after.begin() + long(second), after.end(), before.begin() + long(2 * second)));
    EXPECT_EQ(Payload(cut.stream(1)), std::vector<uint8_t>(before.begin() + long(second), before.begin() + long(2 * second)));
  }
}

TEST(Editing, PasteWithoutSoundInsertsSilence) {
  struct Case {
    int bits, channels;
    uint8_t silence;
    size_t chunkLimit;
  } cases[] = {{8, 1, 128, 2048}, {8, 2, 128, 2048}, {16, 1, 0, 16384}, {16, 2, 0, 16384}};
  for (const Case& c : cases) {
    avi::AviFile clip = Clip({Video(30), Sound(3.0, 11025, c.bits, c.channels)});
    const avi::AviFile silent = Clip({Video(20)});
    const auto original = clip.stream(1).pieces()[0].source;
    const avi::PasteResult r = clip.PasteAll(10, silent, 0, 20);
    EXPECT_EQ(r.position, 10);
    EXPECT_EQ(r.length, 20);
    EXPECT_EQ(clip.stream(0).length(), 50);
    ASSERT_EQ(clip.stream(1).length(), 33075 + 22050);  // two seconds of silence
    const int block = c.channels * c.bits / 8;
    const std::vector<uint8_t> gap = clip.stream(1).ReadSamples(11025, 22050);
    EXPECT_EQ(gap, std::vector<uint8_t>(size_t(22050) * block, c.silence));
    EXPECT_NE(clip.stream(1).ReadSamples(11025 + 22050, 1)[0], c.silence);
    for (const avi::Piece& p : clip.stream(1).pieces()) {
      if (p.source == original) continue;
      EXPECT_LE(p.size, c.chunkLimit);
      EXPECT_EQ(p.size % block, 0u);
    }
  }
}

TEST(Editing, PasteWithSoundIntoSilentClipAddsTheStream) {
  avi::AviFile silent = Clip({Video(20)});
  const avi::AviFile withSound = Clip({Video(10), Sound(1.0, 11025, 8, 1)});
  silent.PasteAll(20, withSound, 0, 10);
  ASSERT_EQ(silent.streamCount(), 2);
  EXPECT_EQ(silent.stream(0).length(), 30);
  EXPECT_EQ(silent.stream(1).length(), 3 * 11025);
  EXPECT_EQ(silent.stream(1).ReadSamples(0, 1)[0], 128);
  EXPECT_EQ(silent.stream(1).ReadSamples(2 * 11025, 11025), Payload(withSound.stream(1)));
}

TEST(Editing, PastedDataIsSharedNotCopied) {
  avi::AviFile a = Clip({Video(5)});
  const avi::AviFile b = Clip({Video(5)});
  a.PasteAll(5, b, 1, 3);
  EXPECT_EQ(a.stream(0).pieces()[5].source, b.stream(0).pieces()[1].source);
  const avi::AviFile clone = a.CloneAll();
  EXPECT_EQ(clone.stream(0).pieces()[0].source, a.stream(0).pieces()[0].source);
}

TEST(Editing, RangesThatAreEmptyOrOutsideAreRefused) {
  avi::AviFile clip = Clip({Video(30), Sound(2.0, 11025, 8, 1)});
  EXPECT_EQ(ErrorOf([&] { clip.CopyAll(22, 5); }), avi::Errc::kEmptyRange);  // wholly after the sound
  EXPECT_EQ(ErrorOf([&] { clip.CutAll(20, 10); }), avi::Errc::kEmptyRange);
  EXPECT_EQ(ErrorOf([&] { clip.CopyAll(5, 0); }), avi::Errc::kEmptyRange);
  EXPECT_EQ(ErrorOf([&] { clip.CopyAll(25, 10); }), avi::Errc::kBadRange);
  EXPECT_EQ(ErrorOf([&] { clip.PasteAll(31, clip, 0, 1); }), avi::Errc::kBadRange);
  EXPECT_EQ(clip.stream(0).length(), 30);  // nothing changed
  EXPECT_EQ(clip.stream(1).length(), 22050);
  const avi::AviFile otherSize = Clip({Video(3, 10, 32, 8)});
  EXPECT_EQ(ErrorOf([&] { clip.PasteAll(0, otherSize, 0, 3); }), avi::Errc::kFormatMismatch);
  const avi::AviFile otherRate = Clip({Video(10), Sound(1.0, 22050, 8, 1)});
  EXPECT_EQ(ErrorOf([&] { clip.PasteAll(0, otherRate, 0, 10); }), avi::Errc::kFormatMismatch);
  EXPECT_EQ(clip.stream(0).length(), 30);
}

TEST(Editing, SilenceOnlyForPcm) {
  avi::Stream s = Sound(0.1, 8000, 8, 1);
  std::vector<uint8_t> format = s.format();
  format[0] = 2;  // ADPCM
  avi::Stream adpcm(s.info(), format);
  EXPECT_EQ(ErrorOf([&] { avi::Stream::SilenceLike(adpcm, 10); }), avi::Errc::kUnsupported);
}

TEST(Streams, ManyStreamsAreAllRead) {
  std::vector<avi::Stream> streams{Video(4)};
  for (int i = 1; i < 30; ++i) streams.push_back(Sound(0.4, 8000, 8, 1));
  const avi::AviFile clip = Clip(streams);
  ASSERT_EQ(clip.streamCount(), 30);
  EXPECT_EQ(clip.stream(29).length(), 3200);
  EXPECT_EQ(clip.FindStream(avi::kStreamTypeAudio, 24), 25);
  EXPECT_EQ(clip.FindStream(avi::kStreamTypeVideo, 1), -1);
  EXPECT_EQ(ErrorOf([&] { clip.stream(30); }), avi::Errc::kNoStream);
}

namespace {
// A chunk source whose data cannot be read, like a file that went away during a save.
class BrokenSource : public avi::ChunkSource {
 public:
  void Read(uint32_t, uint32_t, uint8_t*) const override { throw avi::Error(avi::Errc::kIo, "gone"); }
};
}  // namespace

TEST(Saving, FailedSaveLeavesNoFileAndKeepsTheOldOne) {
  avi::AviFile clip = Clip({Video(10)});
  const std::string missingDir = avitest::TempPath("no/such/dir/out.avi");
  EXPECT_EQ(ErrorOf([&] { clip.Save(missingDir); }), avi::Errc::kIo);
  EXPECT_FALSE(Exists(missingDir));

  avi::Piece broken;
  broken.source = std::make_shared<BrokenSource>();
  broken.size = 384;
  clip.streams()[0].AppendPiece(broken);
  const std::string path = avitest::TempPath("failed.avi");
  std::remove(path.c_str());
  EXPECT_EQ(ErrorOf([&] { clip.Save(path); }), avi::Errc::kIo);
  EXPECT_FALSE(Exists(path));
  EXPECT_FALSE(Exists(path + ".~0.tmp"));
  { std::ofstream(path, std::ios::binary) << "old"; }
  EXPECT_EQ(ErrorOf([&] { clip.Save(path); }), avi::Errc::kIo);
  EXPECT_EQ(ReadAll(path), std::vector<uint8_t>({'o', 'l', 'd'}));
  EXPECT_FALSE(Exists(path + ".~0.tmp"));
  // A good save replaces the old file.
  Clip({Video(3)}).Save(path);
  EXPECT_EQ(avi::AviFile::Open(path).stream(0).length(), 3);
  std::remove(path.c_str());
}
