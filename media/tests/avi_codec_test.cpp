// Tests of saving clips with the platform's video codecs: recompressing the generator's clip with
// Microsoft RLE (key-frame rate honoured, sound untouched, frames decoding back close to the source),
// a compressor that cannot be opened, the per-stream options, and the pixel layouts handed to compressors.
#include <windows.h>
#include <gtest/gtest.h>
#include <media/AVIFile.h>
#include <avi/avi.h>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include "../src/videocodec.h"
#include "test_media.h"

namespace {

const DWORD kMicrosoftRle = mmioFOURCC('m', 'r', 'l', 'e');  // msrle32, shipped by Windows and by Wine
const LONG kClipFrames = 30;
// The 8-bit form a 24-bit clip is handed to RLE in has levels about 50 apart: at most about 25 off per
// channel, much less on average.
const double kMaxMeanDifference = 16.0;

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

DWORD Upper(DWORD fcc) {
  char text[4];
  std::memcpy(text, &fcc, 4);
  CharUpperBuffA(text, 4);
  std::memcpy(&fcc, text, 4);
  return fcc;
}

AVICOMPRESSOPTIONS VideoOptions(DWORD handler, DWORD keyEvery, DWORD quality, DWORD bytesPerSecond) {
  AVICOMPRESSOPTIONS o = {};
  o.fccType = streamtypeVIDEO;
  o.fccHandler = handler;
  o.dwKeyFrameEvery = keyEvery;
  o.dwQuality = quality;
  o.dwBytesPerSecond = bytesPerSecond;
  o.dwFlags = AVICOMPRESSF_VALID | AVICOMPRESSF_KEYFRAMES;
  return o;
}

// Frame n of a clip as a 24-bit packed bitmap, through cVideoObject (and so ICDecompress when compressed).
std::vector<uint8_t> Frame(const std::string& path, long n, BITMAPINFOHEADER* header) {
  cVideoObject video;
  video.SetFileName(path.c_str());
  HGLOBAL dib = video.GetFrameAsDIB(n);
  if (!dib) return {};
  const BITMAPINFOHEADER* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
  *header = *h;
  const uint8_t* pixels = reinterpret_cast<const uint8_t*>(h) + h->biSize + h->biClrUsed * sizeof(RGBQUAD);
  std::vector<uint8_t> result(pixels, pixels + nxmedia::DibStride(h->biWidth, h->biBitCount) * std::abs(h->biHeight));
  GlobalUnlock(dib);
  GlobalFree(dib);
  return result;
}

// The mean absolute difference of two 24-bit pictures of the same size, over every channel value.
double MeanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  if (a.size() != b.size() || a.empty()) return 1e9;
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) sum += std::abs(int(a[i]) - int(b[i]));
  return sum / double(a.size());
}

TEST(AVISaveCompressed, MicrosoftRleRecompressesTheVideoAndKeepsTheSound) {
  const std::string source = testmedia::Path("clip_sound.avi");
  const std::string out = testmedia::Path("clip_rle.avi");
  const DWORD keyEvery = 4;
  {
    cAVIEditFile file;
    ASSERT_TRUE(file.Open(source.c_str(), OF_READ, NULL));
    AVICOMPRESSOPTIONS options = VideoOptions(kMicrosoftRle, keyEvery, 10000, 0);
    ASSERT_TRUE(file.SaveAs(out.c_str(), &options));
  }
  cAVIEditFile saved, original;
  ASSERT_TRUE(saved.Open(out.c_str(), OF_READ, NULL));
  ASSERT_TRUE(original.Open(source.c_str(), OF_READ, NULL));
  ASSERT_EQ(2, saved.GetStreamCount());
  const avi::Stream& video = *saved.GetStream(0)->GetAVIStream();
  EXPECT_EQ(Upper(kMicrosoftRle), Upper(video.info().handler)) << "the compressor names itself in either case";
  EXPECT_EQ(uint32_t(BI_RLE8), video.videoFormat().compression);
  EXPECT_EQ(160, video.videoFormat().width);
  ASSERT_EQ(kClipFrames, video.length());
  EXPECT_EQ(original.GetStream(0)->GetLengthTime(), saved.GetStream(0)->GetLengthTime());
  int keys = 0;
  for (LONG n = 0; n < kClipFrames; ++n) {
    if (n % keyEvery == 0) EXPECT_TRUE(video.IsKeyFrame(n)) << n;
    keys += video.IsKeyFrame(n);
  }
  EXPECT_LT(keys, kClipFrames) << "RLE keeps delta frames between the forced key frames";
  // Run lengths make the moving ball over the gradient far smaller than its raw frames.
  EXPECT_LT(video.ReadSamples(1, 1).size(), original.GetStream(0)->GetAVIStream()->ReadSamples(1, 1).size() / 4);

  // The sound is written as it was.
  const avi::Stream& sound = *saved.GetStream(1)->GetAVIStream();
  const avi::Stream& sourceSound = *original.GetStream(1)->GetAVIStream();
  EXPECT_EQ(sourceSound.format(), sound.format());
  EXPECT_EQ(sourceSound.ReadSamples(0, sourceSound.length()), sound.ReadSamples(0, sound.length()));
  saved.Close();
  original.Close();

  // Every frame decodes again (key frames and deltas, read out of order) close to its source frame.
  for (long n : {0L, 1L, 7L, 8L, 29L, 3L}) {
    BITMAPINFOHEADER a = {}, b = {};
    std::vector<uint8_t> want = Frame(source, n, &a), got = Frame(out, n, &b);
    ASSERT_EQ(24, b.biBitCount) << n;
    EXPECT_EQ(a.biWidth, b.biWidth);
    EXPECT_LT(MeanDifference(want, got), kMaxMeanDifference) << "frame " << n;
  }
  DeleteFileA(out.c_str());
}

TEST(AVISaveCompressed, KeyFrameRateZeroForcesOnlyTheFirstAndQualityIsRecorded) {
  cAVIEditFile file;
  ASSERT_TRUE(file.Open(testmedia::Path("clip_silent.avi").c_str(), OF_READ, NULL));
  std::unique_ptr<cAVIEditFile> part(file.CopyAllStreams(3, 12));
  const std::string out = testmedia::Path("part_rle.avi");
  AVICOMPRESSOPTIONS options = VideoOptions(kMicrosoftRle, 0, 7500, 200000);
  ASSERT_TRUE(part->SaveAs(out.c_str(), &options));
  cAVIEditFile saved;
  ASSERT_TRUE(saved.Open(out.c_str(), OF_READ, NULL));
  ASSERT_EQ(1, saved.GetStreamCount());
  const avi::Stream& video = *saved.GetStream(0)->GetAVIStream();
  EXPECT_EQ(12, video.length());
  EXPECT_TRUE(video.IsKeyFrame(0));
  EXPECT_EQ(7500, video.info().quality);
  EXPECT_GT(video.info().suggestedBufferSize, 0u);
  saved.Close();
  BITMAPINFOHEADER a = {}, b = {};
  EXPECT_LT(MeanDifference(Frame(testmedia::Path("clip_silent.avi"), 3 + 11, &a), Frame(out, 11, &b)),
            kMaxMeanDifference);
  DeleteFileA(out.c_str());
}

TEST(AVISaveCompressed, ACompressorThatCannotBeOpenedFailsTheSaveAndKeepsTheOldFile) {
  const std::string target = testmedia::Path("kept.avi");
  ASSERT_TRUE(CopyFileA(testmedia::Path("clip_silent.avi").c_str(), target.c_str(), FALSE));
  const std::vector<uint8_t> before = ReadBytes(target);
  cAVIEditFile file;
  ASSERT_TRUE(file.Open(testmedia::Path("clip_sound.avi").c_str(), OF_READ, NULL));
  AVICOMPRESSOPTIONS options = VideoOptions(mmioFOURCC('Z', 'Z', 'Z', 'Z'), 1, 10000, 0);
  try {
    file.SaveAs(target.c_str(), &options);
    ADD_FAILURE() << "no exception";
  } catch (CFileException* e) {
    EXPECT_EQ(CFileException::diskFull, e->m_cause);
    EXPECT_STREQ(target.c_str(), e->m_strFileName);
    e->Delete();
  }
  EXPECT_EQ(before, ReadBytes(target));
  DeleteFileA(target.c_str());
}

TEST(AVISaveOptions, EachStreamTakesWhatItsKindUses) {
  avi::AviFile clip = avi::AviFile::Open(testmedia::Path("clip_sound.avi"));
  const avi::Stream& video = clip.stream(0);
  const avi::Stream& sound = clip.stream(1);
  AVICOMPRESSOPTIONS given = VideoOptions(kMicrosoftRle, 15, 8000, 50000);
  given.dwInterleaveEvery = 3;

  nxmedia::StreamSaveOptions v = nxmedia::InitStreamOptions(video, &given);
  EXPECT_EQ(streamtypeVIDEO, v.options.fccType);
  EXPECT_EQ(14u, v.options.dwFlags);
  EXPECT_EQ(kMicrosoftRle, v.options.fccHandler);
  EXPECT_EQ(15u, v.options.dwKeyFrameEvery);
  EXPECT_EQ(8000u, v.options.dwQuality);
  EXPECT_EQ(50000u, v.options.dwBytesPerSecond);
  EXPECT_TRUE(nxmedia::ChangesVideo(video, v.options));

  nxmedia::StreamSaveOptions a = nxmedia::InitStreamOptions(sound, &given);
  EXPECT_EQ(streamtypeAUDIO, a.options.fccType);
  EXPECT_EQ(8u, a.options.dwFlags);
  EXPECT_EQ(5u, a.options.dwInterleaveEvery);
  EXPECT_EQ(0u, a.options.fccHandler);
  EXPECT_EQ(sound.format(), a.keptFormat);
  EXPECT_FALSE(nxmedia::ChangesVideo(sound, a.options));

  // No options, or options without a compressor: only the type; the frames are kept.
  const AVICOMPRESSOPTIONS noCompressor = VideoOptions(0, 5, 1, 1);
  for (const AVICOMPRESSOPTIONS* none : {static_cast<const AVICOMPRESSOPTIONS*>(NULL), &noCompressor}) {
    nxmedia::StreamSaveOptions kept = nxmedia::InitStreamOptions(video, none);
    EXPECT_EQ(streamtypeVIDEO, kept.options.fccType);
    EXPECT_EQ(0u, kept.options.dwFlags);
    EXPECT_FALSE(nxmedia::ChangesVideo(video, kept.options));
  }
  // Uncompressed frames asked to be uncompressed ('DIB ', any case) stay as they are.
  given = VideoOptions(mmioFOURCC('d', 'i', 'b', ' '), 0, 0, 0);
  EXPECT_FALSE(nxmedia::ChangesVideo(video, nxmedia::InitStreamOptions(video, &given).options));
}

TEST(CompressorLayouts, SixteenBitAndCubeConversions) {
  // One row of four pixels (blue, green, red): black, white, a mid grey, a saturated orange.
  nxmedia::RgbPicture p;
  p.width = 4;
  p.height = 1;
  p.pixels = {0, 0, 0, 255, 255, 255, 128, 128, 128, 0, 128, 255};
  const std::vector<uint8_t> rgb16 = nxmedia::ToRgb555(p);
  ASSERT_EQ(8u, rgb16.size());
  auto pixel16 = [&](int i) { return rgb16[2 * i] | rgb16[2 * i + 1] << 8; };
  EXPECT_EQ(0x0000, pixel16(0));
  EXPECT_EQ(0x7fff, pixel16(1));
  EXPECT_EQ(16 << 10 | 16 << 5 | 16, pixel16(2));
  EXPECT_EQ(31 << 10 | 16 << 5 | 0, pixel16(3));

  const std::vector<RGBQUAD> palette = nxmedia::CubePalette();
  ASSERT_EQ(252u, palette.size());
  const std::vector<uint8_t> indices = nxmedia::ToCubeIndices(p);
  ASSERT_EQ(4u, indices.size());  // a row of four 8-bit pixels needs no padding
  for (int i = 0; i < 4; ++i) {
    const RGBQUAD& q = palette[indices[i]];
    EXPECT_LE(std::abs(q.rgbBlue - p.pixels[3 * i]), 26) << i;
    EXPECT_LE(std::abs(q.rgbGreen - p.pixels[3 * i + 1]), 22) << i;
    EXPECT_LE(std::abs(q.rgbRed - p.pixels[3 * i + 2]), 26) << i;
  }
  EXPECT_EQ(0, indices[0]);
  EXPECT_EQ(251, indices[1]);
}

}  // namespace
