// Tests of NXMedia's AVI classes on clips from a peer writer (ffmpeg, made by the nxmedia_peer_files
// fixture): uncompressed clips with sound opened with their streams, lengths and durations; Cinepak frames
// decoded through ICDecompress close to the uncompressed clip of the same pictures, and saved uncompressed,
// recompressed or kept; and a file with more streams than an edit file holds.
#include <windows.h>
#include <gtest/gtest.h>
#include <media/AVIFile.h>
#include <avi/avi.h>
#include <cstdlib>
#include <memory>
#include <string>
#include "../src/videocodec.h"
#include "test_media.h"

namespace {

const DWORD kCinepak = mmioFOURCC('c', 'v', 'i', 'd');
const DWORD kMicrosoftRle = mmioFOURCC('m', 'r', 'l', 'e');
const LONG kPeerFrames = 30;  // 3 s at 10 frames a second, 64 x 48
const int kPeerWidth = 64, kPeerHeight = 48;
// Cinepak's vector quantisation of ffmpeg's test pattern stays within this mean difference per channel.
const double kMaxCinepakDifference = 14.0;

std::string PeerDir() {
  const char* dir = std::getenv("ORV_NXMEDIA_PEER");
  if (!dir) return {};
  // The fixture writes the clips with a Linux path; Wine shows the root as drive Z:.
  return dir[0] == '/' ? std::string("Z:") + dir : std::string(dir);
}

std::string Peer(const char* name) { return PeerDir() + "\\" + name; }

class PeerClips : public ::testing::Test {
 protected:
  void SetUp() override {
    if (PeerDir().empty()) GTEST_SKIP() << "ORV_NXMEDIA_PEER not set (run through ctest)";
  }
};

// Frame n through cVideoObject as 24-bit bottom-up rows (ffmpeg's uncompressed frames are top-down).
std::vector<uint8_t> BottomUpFrame(const std::string& path, long n) {
  cVideoObject video;
  video.SetFileName(path.c_str());
  HGLOBAL dib = video.GetFrameAsDIB(n);
  if (!dib) return {};
  const BITMAPINFOHEADER* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
  std::vector<uint8_t> rows;
  if (h->biBitCount == 24) {
    const uint32_t stride = nxmedia::DibStride(h->biWidth, 24);
    const LONG height = std::abs(h->biHeight);
    const uint8_t* pixels = reinterpret_cast<const uint8_t*>(h) + h->biSize;
    for (LONG y = 0; y < height; ++y) {
      const uint8_t* row = pixels + stride * size_t(h->biHeight < 0 ? height - 1 - y : y);
      rows.insert(rows.end(), row, row + stride);
    }
  }
  GlobalUnlock(dib);
  GlobalFree(dib);
  return rows;
}

double MeanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  if (a.size() != b.size() || a.empty()) return 1e9;
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) sum += std::abs(int(a[i]) - int(b[i]));
  return sum / double(a.size());
}

TEST_F(PeerClips, UncompressedClipsWithSoundOpenWithTheirStreams) {
  struct Case {
    const char* file;
    int streams;
    LONG soundSamples;  // 0: no sound stream
    WORD bits, channels;
    LONG frames, ms;
  } cases[] = {{"bgr24_u8.avi", 2, 3 * 11025, 8, 1, kPeerFrames, 3000},
               {"bgr24_s16.avi", 2, 3 * 22050, 16, 2, kPeerFrames, 3000},
               {"bgr24_silent.avi", 1, 0, 0, 0, 20, 2000}};
  for (const Case& c : cases) {
    cAVIEditFile file;
    ASSERT_TRUE(file.Open(Peer(c.file).c_str(), OF_READ, NULL)) << c.file;
    ASSERT_EQ(c.streams, file.GetStreamCount()) << c.file;
    AVISTREAMINFOA info;
    ASSERT_TRUE(file.GetStream(0)->GetInfo(&info));
    EXPECT_EQ(streamtypeVIDEO, info.fccType);
    EXPECT_EQ(c.frames, file.GetStream(0)->GetLength()) << c.file;
    EXPECT_EQ(c.ms, file.GetStream(0)->GetLengthTime()) << c.file;
    AVIFILEINFOA about;
    ASSERT_TRUE(file.GetInfo(&about));
    EXPECT_EQ(DWORD(c.streams), about.dwStreams);
    EXPECT_EQ(DWORD(kPeerWidth), about.dwWidth);
    EXPECT_EQ(DWORD(kPeerHeight), about.dwHeight);
    if (!c.soundSamples) continue;
    cAVIEditStream* sound = file.GetStream(1);
    ASSERT_TRUE(sound->GetInfo(&info));
    EXPECT_EQ(streamtypeAUDIO, info.fccType);
    EXPECT_NEAR(c.soundSamples, sound->GetLength(), c.soundSamples / 100) << c.file;
    EXPECT_NEAR(c.ms, sound->GetLengthTime(), 20) << c.file;
    const avi::AudioFormat format = sound->GetAVIStream()->audioFormat();
    EXPECT_EQ(c.bits, format.bitsPerSample);
    EXPECT_EQ(c.channels, format.channels);

    // Cutting a second of frames takes the same second of sound with it.
    std::unique_ptr<cAVIEditFile> cut(file.CutAllStreams(10, 10));
    EXPECT_EQ(c.frames - 10, file.GetStream(0)->GetLength());
    EXPECT_NEAR(1000, cut->GetStream(1)->GetLengthTime(), 1) << c.file;
  }
}

TEST_F(PeerClips, CinepakFramesDecodeThroughTheDecompressor) {
  const std::string cinepak = Peer("cinepak_s16.avi");
  cAVIEditFile file;
  ASSERT_TRUE(file.Open(cinepak.c_str(), OF_READ, NULL));
  ASSERT_EQ(2, file.GetStreamCount());
  EXPECT_EQ(kPeerFrames, file.GetStream(0)->GetLength());
  EXPECT_EQ(kCinepak, file.GetStream(0)->GetAVIStream()->info().handler);
  file.Close();
  // Key frames every 5; 7 and 29 need the delta frames after their key frame.
  for (long n : {0L, 5L, 7L, 29L, 2L}) {
    std::vector<uint8_t> decoded = BottomUpFrame(cinepak, n);
    ASSERT_EQ(size_t(nxmedia::DibStride(kPeerWidth, 24) * kPeerHeight), decoded.size()) << n;
    EXPECT_LT(MeanDifference(BottomUpFrame(Peer("bgr24_s16.avi"), n), decoded), kMaxCinepakDifference) << n;
  }
  // The frames differ from one another (the pattern moves), so a stale frame would not pass.
  EXPECT_GT(MeanDifference(BottomUpFrame(cinepak, 0), BottomUpFrame(cinepak, 29)), 1.0);
}

TEST_F(PeerClips, CinepakSavedUncompressedRecompressedOrKept) {
  const std::string cinepak = Peer("cinepak_s16.avi");
  cAVIEditFile file;
  ASSERT_TRUE(file.Open(cinepak.c_str(), OF_READ, NULL));
  const std::vector<uint8_t> sourceFrame9 = file.GetStream(0)->GetAVIStream()->ReadSamples(9, 1);
  struct Case {
    DWORD handler;
    uint32_t compression;
    const char* out;
  } cases[] = {{comptypeDIB, BI_RGB, "cinepak_as_dib.avi"},
               {kMicrosoftRle, BI_RLE8, "cinepak_as_rle.avi"},
               {mmioFOURCC('C', 'V', 'I', 'D'), kCinepak, "cinepak_kept.avi"}};
  for (const Case& c : cases) {
    AVICOMPRESSOPTIONS options = {};
    options.fccType = streamtypeVIDEO;
    options.fccHandler = c.handler;
    options.dwKeyFrameEvery = 10;
    options.dwQuality = 10000;
    const std::string out = Peer(c.out);
    ASSERT_TRUE(file.SaveAs(out.c_str(), &options)) << c.out;
    cAVIEditFile saved;
    ASSERT_TRUE(saved.Open(out.c_str(), OF_READ, NULL)) << c.out;
    ASSERT_EQ(2, saved.GetStreamCount());
    const avi::Stream& video = *saved.GetStream(0)->GetAVIStream();
    EXPECT_EQ(c.compression, video.videoFormat().compression) << c.out;
    EXPECT_EQ(kPeerFrames, video.length()) << c.out;
    if (c.compression == kCinepak) EXPECT_EQ(sourceFrame9, video.ReadSamples(9, 1)) << "kept as it was";
    EXPECT_EQ(file.GetStream(1)->GetLength(), saved.GetStream(1)->GetLength());
    saved.Close();
    // Decoded again, each stays close to what the Cinepak frame decodes to.
    EXPECT_LT(MeanDifference(BottomUpFrame(cinepak, 13), BottomUpFrame(out, 13)),
              c.compression == BI_RLE8 ? 16.0 : 0.5)
        << c.out;
    DeleteFileA(out.c_str());
  }
}

TEST(AVIEditFileStreams, AFileWithMoreThan25StreamsOpensItsFirst25) {
  const int kStreams = 30;
  std::vector<avi::Stream> streams;
  for (int i = 0; i < kStreams; ++i) {
    // Each stream one second of 8-bit sound at its own rate, so that every stream can be told apart.
    const int rate = 8000 + 100 * i;
    avi::StreamInfo info;
    info.type = avi::kStreamTypeAudio;
    info.scale = 1;
    info.rate = uint32_t(rate);
    info.sampleSize = 1;
    avi::Stream s(info, avi::MakePcmFormat(1, rate, 8));
    s.Append(std::vector<uint8_t>(size_t(rate), uint8_t(i)));
    streams.push_back(std::move(s));
  }
  std::vector<const avi::Stream*> all;
  for (const avi::Stream& s : streams) all.push_back(&s);
  const std::string path = testmedia::Path("streams30.avi");
  avi::SaveStreams(path, all);

  cAVIEditFile file;
  ASSERT_TRUE(file.Open(path.c_str(), OF_READ, NULL));
  ASSERT_EQ(int(cAVIEditFile::kMaxStreams), file.GetStreamCount());
  for (int i = 0; i < cAVIEditFile::kMaxStreams; ++i) {
    EXPECT_EQ(8000 + 100 * i, file.GetStream(i)->GetLength()) << i;
    EXPECT_EQ(std::vector<uint8_t>(4, uint8_t(i)), file.GetStream(i)->GetAVIStream()->ReadSamples(0, 4)) << i;
  }
  EXPECT_EQ(NULL, file.GetStream(cAVIEditFile::kMaxStreams));
  // The file itself still has all of them.
  std::unique_ptr<cAVIStream> last(file.GetStream(streamtypeAUDIO, kStreams - 1));
  ASSERT_TRUE(last);
  EXPECT_EQ(8000 + 100 * (kStreams - 1), last->GetLength());
  file.Close();
  DeleteFileA(path.c_str());
}

}  // namespace
