// Malformed AVI and WAV input: every failure is an avi::Error with a fitting code, never a crash.
#include <gtest/gtest.h>

#include <cstring>

#include "avi/avi.h"
#include "clip.h"

namespace {

std::vector<uint8_t> GoodAvi() {
  const avi::Stream v = avitest::Video(6), s = avitest::Sound(0.6, 8000, 8, 1);
  return avi::WriteToMemory({&v, &s});
}

size_t Find(const std::vector<uint8_t>& bytes, const char* tag, size_t from = 0) {
  for (size_t i = from; i + 4 <= bytes.size(); ++i)
    if (std::memcmp(bytes.data() + i, tag, 4) == 0) return i;
  ADD_FAILURE() << "no " << tag;
  return 0;
}

void Set32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

avi::Errc AviError(std::vector<uint8_t> bytes) {
  try {
    avi::AviFile::FromMemory(std::move(bytes));
  } catch (const avi::Error& e) {
    return e.code();
  }
  ADD_FAILURE() << "accepted";
  return avi::Errc::kIo;
}

std::vector<uint8_t> GoodWav(uint16_t tag = avi::kWaveFormatPcm, size_t fmtSize = 16) {
  std::vector<uint8_t> fmt = avi::MakePcmFormat(1, 8000, 8);
  fmt.resize(fmtSize);
  fmt[0] = uint8_t(tag);
  fmt[1] = uint8_t(tag >> 8);
  const std::string path = avitest::TempPath("good.wav");
  avi::WriteWaveFile(path, fmt, std::vector<uint8_t>(100, 128));
  std::FILE* f = std::fopen(path.c_str(), "rb");
  std::vector<uint8_t> bytes(4096);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  std::remove(path.c_str());
  return bytes;
}

avi::Errc WavError(const std::vector<uint8_t>& bytes) {
  try {
    avi::ParseWaveHeader(bytes.data(), bytes.size());
  } catch (const avi::Error& e) {
    return e.code();
  }
  ADD_FAILURE() << "accepted";
  return avi::Errc::kIo;
}

}  // namespace

TEST(BadAvi, EveryPrefixEitherReadsOrFails) {
  const std::vector<uint8_t> good = GoodAvi();
  for (size_t n = 0; n < good.size(); ++n) {
    try {
      const avi::AviFile f = avi::AviFile::FromMemory(std::vector<uint8_t>(good.begin(), good.begin() + long(n)));
      // A cut-off movi list keeps the whole chunks before the cut.
      EXPECT_LE(f.stream(0).length(), 6);
    } catch (const avi::Error&) {
    }
  }
}

TEST(BadAvi, DamagedHeadersGiveTheirError) {
  const std::vector<uint8_t> good = GoodAvi();
  struct Case {
    const char* what;
    void (*damage)(std::vector<uint8_t>&);
    avi::Errc want;
  } cases[] = {
      {"signature", [](std::vector<uint8_t>& b) { b[0] = 'X'; }, avi::Errc::kNotRiff},
      {"form", [](std::vector<uint8_t>& b) { b[8] = 'W'; }, avi::Errc::kNotAvi},
      {"tiny riff size", [](std::vector<uint8_t>& b) { Set32(b, 4, 2); }, avi::Errc::kBadHeader},
      {"hdrl past the end", [](std::vector<uint8_t>& b) { Set32(b, Find(b, "hdrl") - 4, 0x7ffff000); }, avi::Errc::kTooLarge},
      {"hdrl a little past the end", [](std::vector<uint8_t>& b) { Set32(b, Find(b, "hdrl") - 4, uint32_t(b.size())); },
       avi::Errc::kTruncated},
      {"strl past hdrl", [](std::vector<uint8_t>& b) { Set32(b, Find(b, "strl") - 4, 0x10000); }, avi::Errc::kTruncated},
      {"avih size leaves garbage", [](std::vector<uint8_t>& b) { Set32(b, Find(b, "avih") + 4, 8); }, avi::Errc::kTruncated},
      {"no avih", [](std::vector<uint8_t>& b) { std::memcpy(&b[Find(b, "avih")], "JUNK", 4); }, avi::Errc::kBadHeader},
      {"strh size leaves garbage", [](std::vector<uint8_t>& b) { Set32(b, Find(b, "strh") + 4, 20); }, avi::Errc::kTruncated},
      {"strh too short", [](std::vector<uint8_t>& b) {
         // Turn the tail of the stream header into a JUNK chunk of its own.
         const size_t at = Find(b, "strh");
         Set32(b, at + 4, 40);
         std::memcpy(&b[at + 8 + 40], "JUNK", 4);
         Set32(b, at + 8 + 44, 8);
       }, avi::Errc::kBadHeader},
      {"zero rate", [](std::vector<uint8_t>& b) { Set32(b, Find(b, "strh") + 8 + 24, 0); }, avi::Errc::kBadHeader},
      {"no strf", [](std::vector<uint8_t>& b) { std::memcpy(&b[Find(b, "strf")], "strX", 4); }, avi::Errc::kBadFormat},
      {"short video format", [](std::vector<uint8_t>& b) { Set32(b, Find(b, "strf") + 8, 200); }, avi::Errc::kBadFormat},
      {"zero width", [](std::vector<uint8_t>& b) { Set32(b, Find(b, "strf") + 12, 0); }, avi::Errc::kBadFormat},
      {"no movi", [](std::vector<uint8_t>& b) { std::memcpy(&b[Find(b, "movi")], "mova", 4); }, avi::Errc::kBadHeader},
      {"no streams", [](std::vector<uint8_t>& b) {
         for (size_t i = 0; i + 4 <= b.size(); ++i)
           if (std::memcmp(&b[i], "strl", 4) == 0) std::memcpy(&b[i], "strX", 4);
       }, avi::Errc::kBadHeader},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = good;
    c.damage(bytes);
    EXPECT_EQ(AviError(bytes), c.want) << c.what;
  }
}

TEST(BadAvi, TooManyStreams) {
  std::vector<avi::Stream> streams;
  for (int i = 0; i < avi::kMaxStreams; ++i) streams.push_back(avitest::Sound(0.1, 8000, 8, 1));
  std::vector<const avi::Stream*> all;
  for (const avi::Stream& s : streams) all.push_back(&s);
  std::vector<uint8_t> bytes = avi::WriteToMemory(all);
  EXPECT_EQ(avi::AviFile::FromMemory(bytes).streamCount(), avi::kMaxStreams);
  // Splice one more stream list into the header list.
  const size_t strl = Find(bytes, "strl") - 8;
  const uint32_t strlSize = uint32_t(bytes[strl + 4] | bytes[strl + 5] << 8 | bytes[strl + 6] << 16 | bytes[strl + 7] << 24);
  std::vector<uint8_t> copy(bytes.begin() + long(strl), bytes.begin() + long(strl + 8 + strlSize));
  bytes.insert(bytes.begin() + long(strl), copy.begin(), copy.end());
  const size_t hdrl = Find(bytes, "hdrl") - 4;
  Set32(bytes, hdrl, uint32_t(bytes[hdrl] | bytes[hdrl + 1] << 8 | bytes[hdrl + 2] << 16) + uint32_t(copy.size()));
  Set32(bytes, 4, uint32_t(bytes.size() - 8));
  EXPECT_EQ(AviError(bytes), avi::Errc::kTooManyStreams);
}

TEST(BadAvi, DamagedIndexFallsBackToScanning) {
  const std::vector<uint8_t> good = GoodAvi();
  const avi::AviFile reference = avi::AviFile::FromMemory(good);
  struct Case {
    const char* what;
    void (*damage)(std::vector<uint8_t>&);
  } cases[] = {
      {"offset past the end", [](std::vector<uint8_t>& b) { Set32(b, Find(b, "idx1") + 8 + 16 * 3 + 8, 0xfffffff0); }},
      {"offset off by two", [](std::vector<uint8_t>& b) {
         const size_t e = Find(b, "idx1") + 8 + 16 * 2 + 8;
         Set32(b, e, uint32_t(b[e] | b[e + 1] << 8) + 2);
       }},
      {"size wrong", [](std::vector<uint8_t>& b) { Set32(b, Find(b, "idx1") + 8 + 12, 7); }},
      {"index cut off", [](std::vector<uint8_t>& b) { Set32(b, Find(b, "idx1") + 4, 0x100000); }},
      {"one chunk listed twice", [](std::vector<uint8_t>& b) {
         const size_t e = Find(b, "idx1") + 8;
         std::memcpy(&b[e + 16 * 3], &b[e + 16 * 2], 16);
       }},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = good;
    c.damage(bytes);
    const avi::AviFile f = avi::AviFile::FromMemory(bytes);
    EXPECT_FALSE(f.indexUsed()) << c.what;
    for (int s = 0; s < 2; ++s) EXPECT_EQ(avitest::Payload(f.stream(s)), avitest::Payload(reference.stream(s))) << c.what;
  }
}

TEST(BadAvi, AbsoluteIndexOffsetsAreRecognised) {
  std::vector<uint8_t> bytes = GoodAvi();
  const size_t movi = Find(bytes, "movi"), idx = Find(bytes, "idx1");
  const uint32_t entries = uint32_t(bytes[idx + 4] | bytes[idx + 5] << 8) / 16;
  for (uint32_t i = 0; i < entries; ++i) {
    const size_t e = idx + 8 + 16 * i + 8;
    Set32(bytes, e, uint32_t(bytes[e] | bytes[e + 1] << 8 | bytes[e + 2] << 16) + uint32_t(movi));
  }
  const avi::AviFile f = avi::AviFile::FromMemory(bytes);
  EXPECT_TRUE(f.indexUsed());
  EXPECT_EQ(avitest::Payload(f.stream(0)), avitest::Payload(avi::AviFile::FromMemory(GoodAvi()).stream(0)));
}

TEST(Wav, HeadersOfPcmAndExtensibleFiles) {
  const std::vector<uint8_t> pcm = GoodWav();
  const avi::WaveHeader h = avi::ParseWaveHeader(pcm.data(), pcm.size());
  EXPECT_EQ(h.format.formatTag, 1);
  EXPECT_EQ(h.format.channels, 1);
  EXPECT_EQ(h.format.samplesPerSec, 8000u);
  EXPECT_EQ(h.format.bitsPerSample, 8);
  EXPECT_TRUE(h.hasData);
  EXPECT_EQ(h.dataOffset, 44u);
  EXPECT_EQ(h.dataSize, 100u);
  // Only the first bytes of a file, as a partial read gives them: the format is enough.
  EXPECT_FALSE(avi::ParseWaveHeader(pcm.data(), 40).hasData);

  std::vector<uint8_t> ext = GoodWav(avi::kWaveFormatExtensible, 40);
  ext[12 + 8 + 16] = 22;                    // cbSize
  ext[12 + 8 + 24] = avi::kWaveFormatPcm;  // sub-format GUID's first bytes
  const avi::WaveHeader e = avi::ParseWaveHeader(ext.data(), ext.size());
  EXPECT_EQ(e.format.formatTag, avi::kWaveFormatExtensible);
  EXPECT_EQ(e.format.subFormatTag, avi::kWaveFormatPcm);
  EXPECT_EQ(e.formatBytes.size(), 40u);

  const std::string path = avitest::TempPath("header.wav");
  avi::WriteWaveFile(path, avi::MakePcmFormat(2, 22050, 16), std::vector<uint8_t>(400, 0));
  const avi::WaveHeader f = avi::ReadWaveHeader(path);
  EXPECT_EQ(f.format.channels, 2);
  EXPECT_EQ(f.dataSize, 400u);
  std::remove(path.c_str());
  try {
    avi::ReadWaveHeader(path);
    ADD_FAILURE() << "a missing file was read";
  } catch (const avi::Error& error) {
    EXPECT_EQ(error.code(), avi::Errc::kIo);
  }
}

TEST(Wav, MalformedHeaders) {
  const std::vector<uint8_t> good = GoodWav();
  struct Case {
    const char* what;
    void (*damage)(std::vector<uint8_t>&);
    avi::Errc want;
  } cases[] = {
      {"empty", [](std::vector<uint8_t>& b) { b.clear(); }, avi::Errc::kTruncated},
      {"not riff", [](std::vector<uint8_t>& b) { b[1] = 'X'; }, avi::Errc::kNotRiff},
      {"not wave", [](std::vector<uint8_t>& b) { b[8] = 'A'; }, avi::Errc::kNotWave},
      {"short", [](std::vector<uint8_t>& b) { b.resize(10); }, avi::Errc::kTruncated},
      {"fmt of 13 bytes", [](std::vector<uint8_t>& b) { Set32(b, 16, 13); }, avi::Errc::kBadFormat},
      {"fmt huge", [](std::vector<uint8_t>& b) { Set32(b, 16, 0xfffffff0); }, avi::Errc::kTooLarge},
      {"fmt cut off", [](std::vector<uint8_t>& b) { b.resize(30); }, avi::Errc::kTruncated},
      {"no fmt", [](std::vector<uint8_t>& b) { b[12] = 'x'; }, avi::Errc::kBadFormat},
      {"riff size hides fmt", [](std::vector<uint8_t>& b) { Set32(b, 4, 4); }, avi::Errc::kBadFormat},
      {"no channels", [](std::vector<uint8_t>& b) { b[22] = 0; }, avi::Errc::kBadFormat},
      {"chunk size wraps", [](std::vector<uint8_t>& b) {
         std::memcpy(&b[12], "LIST", 4);
         Set32(b, 16, 0xfffffffe);
       }, avi::Errc::kBadFormat},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = good;
    c.damage(bytes);
    EXPECT_EQ(WavError(bytes), c.want) << c.what;
  }
  for (size_t n = 0; n < good.size(); ++n) {
    try {
      avi::ParseWaveHeader(good.data(), n);
    } catch (const avi::Error&) {
    }
  }
}
