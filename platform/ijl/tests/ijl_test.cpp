// Tests of the JPEG codec: pixels against djpeg, reduced, region and thumbnail decoding, encoding, bad input.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "../src/decoder.h"
#include "../src/encoder.h"
#include "ijl/ijl.h"
#include "test_support.h"

using namespace ijltest;

namespace {

struct PeerCase {
  const char* name;
  const char* command;  // %s: source PPM or PGM, %o: output JPEG
  int channels;
};

std::string expand(std::string cmd, const std::string& src, const std::string& out) {
  for (size_t p; (p = cmd.find("%s")) != std::string::npos;) cmd.replace(p, 2, src);
  for (size_t p; (p = cmd.find("%o")) != std::string::npos;) cmd.replace(p, 2, out);
  return cmd;
}

// Files made by the peers from a synthetic photo with edges that do not fall on block boundaries.
std::string makePeerFile(const PeerCase& c, int width = 203, int height = 157) {
  const std::string src = scratchPath(std::string(c.name) + ".ppm");
  const std::string out = scratchPath(std::string(c.name) + ".jpg");
  writePnm(src, makePhoto(width, height, 3, 7));
  EXPECT_EQ(run(expand(c.command, src, out)), 0) << c.command;
  return out;
}

const PeerCase kPeerCases[] = {
    {"baseline420", "cjpeg -quality 90 -outfile %o %s", 3},
    {"progressive420", "cjpeg -quality 85 -progressive -outfile %o %s", 3},
    {"grey", "cjpeg -grayscale -outfile %o %s", 1},
    {"progressive_grey", "cjpeg -grayscale -progressive -outfile %o %s", 1},
    {"s444", "cjpeg -sample 1x1 -outfile %o %s", 3},
    {"s422", "cjpeg -sample 2x1 -outfile %o %s", 3},
    {"s440", "cjpeg -sample 1x2 -outfile %o %s", 3},
    {"s411", "cjpeg -sample 4x1 -outfile %o %s", 3},
    {"progressive422", "cjpeg -sample 2x1 -progressive -outfile %o %s", 3},
    {"restart_rows", "cjpeg -restart 1 -outfile %o %s", 3},
    {"restart_blocks", "cjpeg -restart 3B -progressive -outfile %o %s", 3},
    {"optimized", "cjpeg -optimize -quality 97 -outfile %o %s", 3},
    {"optimized444", "cjpeg -optimize -quality 98 -sample 1x1 -restart 1 -outfile %o %s", 3},
    {"noninterleaved", "printf '0;\\n1;\\n2;\\n' > %o.scans && cjpeg -scans %o.scans -outfile %o %s", 3},
    {"magick", "convert %s -quality 85 %o", 3},
    {"magick444", "convert %s -quality 92 -sampling-factor 1x1 %o", 3},
    {"magick_progressive", "convert %s -quality 80 -interlace Plane %o", 3},
};

class PeerDecode : public ::testing::TestWithParam<PeerCase> {};

TEST_P(PeerDecode, MatchesDjpegWithinTwo) {
  ASSERT_TRUE(haveTool("djpeg") && haveTool("cjpeg") && haveTool("convert"));
  const std::string path = makePeerFile(GetParam());
  std::vector<uint8_t> bytes = readFile(path);
  ASSERT_FALSE(bytes.empty());
  ijl::Image expected, ours;
  ASSERT_TRUE(djpegDecode(path, "", &expected));
  ASSERT_EQ(ijl::decodeToImage(bytes.data(), bytes.size(), ijl::kReadWhole, expected.channels, &ours), ijl::kOk);
  ASSERT_EQ(ours.width, expected.width);
  ASSERT_EQ(ours.height, expected.height);
  Difference d = compare(ours, expected);
  EXPECT_LE(d.maxAbs, 2) << "mean " << d.meanAbs;
}

INSTANTIATE_TEST_SUITE_P(Files, PeerDecode, ::testing::ValuesIn(kPeerCases),
                         [](const auto& info) { return std::string(info.param.name); });

const PeerCase& peerCase(const char* name) {
  for (const PeerCase& c : kPeerCases)
    if (std::string(c.name) == name) return c;
  ADD_FAILURE() << name;
  return kPeerCases[0];
}

std::vector<uint8_t> peerBytes(const char* name) {
  if (!haveTool("cjpeg") || !haveTool("convert")) return {};
  return readFile(makePeerFile(peerCase(name)));
}

// Reduced decodes against djpeg -scale. The reduced IDCTs differ from the peer's in their odd terms, so
// the tolerance is on the mean with a loose bound per sample (edges of the synthetic photo are sharp).
TEST(ReducedDecode, CloseToDjpegScale) {
  ASSERT_TRUE(haveTool("djpeg"));
  for (const char* name : {"baseline420", "s444", "s422", "progressive420", "grey"}) {
    const std::string path = makePeerFile(peerCase(name));
    std::vector<uint8_t> bytes = readFile(path);
    const struct {
      int mode;
      const char* scale;
    } scales[] = {{ijl::kReadHalf, "1/2"}, {ijl::kReadQuarter, "1/4"}, {ijl::kReadEighth, "1/8"}};
    for (const auto& sc : scales) {
      SCOPED_TRACE(std::string(name) + " " + sc.scale);
      ijl::Image expected, ours;
      ASSERT_TRUE(djpegDecode(path, std::string("-scale ") + sc.scale, &expected));
      ASSERT_EQ(ijl::decodeToImage(bytes.data(), bytes.size(), sc.mode, expected.channels, &ours), ijl::kOk);
      ASSERT_EQ(ours.width, expected.width);
      ASSERT_EQ(ours.height, expected.height);
      Difference d = compare(ours, expected);
      EXPECT_LT(d.meanAbs, 2.5);
      EXPECT_LE(d.maxAbs, 64);
    }
  }
  // At one eighth without chroma subsampling every output is a block's DC, exactly as djpeg gives it: the
  // coefficients read past (several symbols a step where they fit) must leave the decoder at each next block.
  for (const char* name : {"grey", "s444", "optimized444"}) {
    SCOPED_TRACE(name);
    const std::string path = makePeerFile(peerCase(name));
    std::vector<uint8_t> bytes = readFile(path);
    ijl::Image expected, ours;
    ASSERT_TRUE(djpegDecode(path, "-scale 1/8", &expected));
    ASSERT_EQ(ijl::decodeToImage(bytes.data(), bytes.size(), ijl::kReadEighth, expected.channels, &ours), ijl::kOk);
    EXPECT_EQ(compare(ours, expected).maxAbs, 0);
  }
}

// Decodes with the record directly, as the format module does.
int decodeInto(const std::vector<uint8_t>& jpeg, int mode, uint8_t* dib, int width, int height, int channels,
               int color, int pad, ijl::Rect roi = {}, ijl::Properties* result = nullptr) {
  ijl::Properties p;
  EXPECT_EQ(ijl::init(&p), ijl::kOk);
  p.jpgBytes = const_cast<uint8_t*>(jpeg.data());
  p.jpgSizeBytes = static_cast<uint32_t>(jpeg.size());
  p.dibBytes = dib;
  p.dibWidth = width;
  p.dibHeight = height;
  p.dibChannels = channels;
  p.dibColor = color;
  p.dibPadBytes = pad;
  p.roi = roi;
  int r = ijl::read(&p, mode);
  if (result) *result = p;
  ijl::free(&p);
  return r;
}

TEST(RegionDecode, EqualsLinesOfWholeDecode) {
  for (const char* name : {"baseline420", "progressive420", "restart_rows", "s440", "grey"}) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> bytes = peerBytes(name);
    const int channels = peerCase(name).channels;
    ijl::Image whole;
    ASSERT_EQ(ijl::decodeToImage(bytes.data(), bytes.size(), ijl::kReadWhole, channels, &whole), ijl::kOk);
    const ijl::Rect regions[] = {{0, 0, 203, 1}, {10, 37, 150, 101}, {0, 140, 203, 157}, {202, 156, 203, 157}};
    for (const ijl::Rect& roi : regions) {
      const int w = roi.right - roi.left, h = roi.bottom - roi.top;
      std::vector<uint8_t> band(static_cast<size_t>(w) * h * channels);
      ASSERT_EQ(decodeInto(bytes, ijl::kReadRegion, band.data(), w, h, channels,
                           channels == 1 ? ijl::kColorGray : ijl::kColorRgb, 0, roi),
                ijl::kOk);
      for (int y = 0; y < h; ++y)
        ASSERT_EQ(std::memcmp(&band[static_cast<size_t>(y) * w * channels],
                              &whole.pixels[(static_cast<size_t>(roi.top + y) * whole.width + roi.left) * channels],
                              static_cast<size_t>(w) * channels),
                  0)
            << "line " << roi.top + y;
    }
  }
}

// BGR, bottom-up and padded bitmaps carry the same pixels as the packed RGB decode; padding stays untouched.
TEST(BitmapLayout, OrderOrientationAndPadding) {
  std::vector<uint8_t> bytes = peerBytes("baseline420");
  ijl::Image rgb;
  ASSERT_EQ(ijl::decodeToImage(bytes.data(), bytes.size(), ijl::kReadWhole, 3, &rgb), ijl::kOk);
  const int w = rgb.width, h = rgb.height, pad = 5, line = w * 3 + pad;
  constexpr uint8_t kSentinel = 0xA5;
  std::vector<uint8_t> dib(static_cast<size_t>(line) * h, kSentinel);
  ASSERT_EQ(decodeInto(bytes, ijl::kReadWhole, dib.data(), w, -h, 3, ijl::kColorBgr, pad), ijl::kOk);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = &dib[static_cast<size_t>(h - 1 - y) * line];
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) ASSERT_EQ(row[x * 3 + c], rgb.pixels[(static_cast<size_t>(y) * w + x) * 3 + 2 - c]);
    for (int i = 0; i < pad; ++i) ASSERT_EQ(row[w * 3 + i], kSentinel);
  }
  // Grey output of a colour file is its luminance, as djpeg -grayscale gives it.
  ijl::Image grey, expected;
  ASSERT_EQ(ijl::decodeToImage(bytes.data(), bytes.size(), ijl::kReadWhole, 1, &grey), ijl::kOk);
  ASSERT_TRUE(djpegDecode(scratchPath("baseline420.jpg"), "-grayscale", &expected));
  EXPECT_LE(compare(grey, expected).maxAbs, 2);
}

TEST(BitmapLayout, RejectsBitmapsThatCannotHoldTheImage) {
  std::vector<uint8_t> bytes = peerBytes("baseline420");
  std::vector<uint8_t> dib(203 * 157 * 3);
  EXPECT_EQ(decodeInto(bytes, ijl::kReadWhole, dib.data(), 202, 157, 3, ijl::kColorRgb, 0), ijl::kErrBufferTooSmall);
  EXPECT_EQ(decodeInto(bytes, ijl::kReadWhole, dib.data(), 203, -156, 3, ijl::kColorRgb, 0), ijl::kErrBufferTooSmall);
  EXPECT_EQ(decodeInto(bytes, ijl::kReadWhole, dib.data(), 40000, 60000, 3, ijl::kColorRgb, 0), ijl::kErrImageTooLarge);
  EXPECT_EQ(decodeInto(bytes, ijl::kReadWhole, dib.data(), 203, 157, 3, ijl::kColorGray, 0),
            ijl::kErrInvalidProperties);
  EXPECT_EQ(decodeInto(bytes, ijl::kReadRegion, dib.data(), 203, 157, 3, ijl::kColorRgb, 0, {0, 157, 203, 160}),
            ijl::kErrInvalidProperties);
}

}  // namespace

namespace {

ijl::Properties encoderRecord(const ijl::Image& img, int quality) {
  ijl::Properties p;
  EXPECT_EQ(ijl::init(&p), ijl::kOk);
  p.jpgWidth = img.width;
  p.jpgHeight = img.height;
  p.jpgChannels = img.channels;
  p.jpgColor = img.channels == 1 ? ijl::kColorGray : ijl::kColorYCbCr;
  p.jpgQuality = quality;
  p.dibWidth = img.width;
  p.dibChannels = img.channels;
  p.dibColor = img.channels == 1 ? ijl::kColorGray : ijl::kColorRgb;
  return p;
}

// Writes lines top..top+rows of src (top-down, packed RGB) as one band of target.
int writeBandOf(const ijl::Image& src, const std::string& target, int top, int rows, int quality) {
  ijl::Properties b = encoderRecord(src, quality);
  b.jpgFile = target.c_str();
  b.dibBytes = const_cast<uint8_t*>(&src.pixels[static_cast<size_t>(top) * src.width * 3]);
  b.dibHeight = rows;
  b.roi = {0, top, src.width, top + rows};
  int r = ijl::write(&b, ijl::kWriteRegion);
  ijl::free(&b);
  return r;
}

TEST(Encode, DjpegReadsWhatWeWriteAndQualityIsEstimated) {
  ASSERT_TRUE(haveTool("djpeg"));
  for (int channels : {3, 1}) {
    for (int quality : {0, 10, 50, 75, 90, 100}) {
      SCOPED_TRACE(std::to_string(channels) + " channels, quality " + std::to_string(quality));
      ijl::Image src = makePhoto(213, 141, channels, 3);
      std::vector<uint8_t> jpeg;
      ASSERT_EQ(ijl::encodeImage(src, quality, &jpeg), ijl::kOk);
      const std::string path = scratchPath("ours.jpg");
      writeFile(path, jpeg);
      ijl::Image peer, ours;
      ASSERT_TRUE(djpegDecode(path, "", &peer));
      ASSERT_EQ(peer.width, src.width);
      ASSERT_EQ(peer.height, src.height);
      ASSERT_EQ(peer.channels, channels);
      ASSERT_EQ(ijl::decodeToImage(jpeg.data(), jpeg.size(), ijl::kReadWhole, channels, &ours), ijl::kOk);
      EXPECT_LE(compare(ours, peer).maxAbs, 2);
      if (quality >= 75) {
        EXPECT_LT(compare(peer, src).meanAbs, 8.0);
      }
      ijl::Properties p;
      ijl::init(&p);
      p.jpgBytes = jpeg.data();
      p.jpgSizeBytes = static_cast<uint32_t>(jpeg.size());
      ASSERT_EQ(ijl::read(&p, ijl::kReadParams), ijl::kOk);
      EXPECT_EQ(p.jpgQuality, quality == 0 ? 1 : quality);  // quality 0 uses the tables of 1
      EXPECT_EQ(p.jpgChannels, channels);
      ijl::free(&p);
    }
  }
}

// Bands of a bottom-up bitmap fed in order give the same file as one whole write, and a band out of order
// fails without touching the file already there.
TEST(Encode, BandsAppendToOneFileAndFailuresKeepTheOldFile) {
  ijl::Image src = makePhoto(150, 101, 3, 5);
  const int line = src.width * 3 + 2;  // padded lines
  std::vector<uint8_t> dib(static_cast<size_t>(line) * src.height);
  for (int y = 0; y < src.height; ++y)
    std::memcpy(&dib[static_cast<size_t>(src.height - 1 - y) * line], &src.pixels[static_cast<size_t>(y) * src.width * 3],
                src.width * 3);
  const std::string whole = scratchPath("whole.jpg"), banded = scratchPath("banded.jpg");

  ijl::Properties p = encoderRecord(src, 80);
  p.jpgFile = whole.c_str();
  p.dibBytes = dib.data();
  p.dibHeight = -src.height;
  p.dibPadBytes = 2;
  ASSERT_EQ(ijl::write(&p, ijl::kWriteWhole), ijl::kOk);
  ijl::free(&p);

  constexpr int kBand = 7;
  for (int top = 0; top < src.height; top += kBand) {
    int bottom = std::min(top + kBand, src.height);
    ijl::Properties b = encoderRecord(src, 80);
    b.jpgFile = banded.c_str();
    // The band's own lines, bottom-up: its last line first.
    b.dibBytes = &dib[static_cast<size_t>(src.height - bottom) * line];
    b.dibHeight = -(bottom - top);
    b.dibPadBytes = 2;
    b.roi = {0, top, src.width, bottom};
    ASSERT_EQ(ijl::write(&b, ijl::kWriteRegion), ijl::kOk) << top;
    ijl::free(&b);
  }
  std::vector<uint8_t> a = readFile(whole);
  ASSERT_FALSE(a.empty());
  EXPECT_EQ(a, readFile(banded));

  // A new band session that skips lines: error, old file intact, no temporary left behind.
  for (int top : {0, 14}) {
    ijl::Properties b = encoderRecord(src, 80);
    b.jpgFile = banded.c_str();
    b.dibBytes = dib.data();
    b.dibHeight = kBand;
    b.roi = {0, top, src.width, top + kBand};
    EXPECT_EQ(ijl::write(&b, ijl::kWriteRegion), top == 0 ? ijl::kOk : ijl::kErrBandOrder);
    ijl::free(&b);
  }
  EXPECT_EQ(a, readFile(banded));
  EXPECT_TRUE(readFile(banded + ".~0.tmp").empty());

  // Whole writes that fail leave the old file as it was.
  ijl::Properties bad = encoderRecord(src, 101);
  bad.jpgFile = whole.c_str();
  bad.dibBytes = dib.data();
  bad.dibHeight = src.height;
  EXPECT_EQ(ijl::write(&bad, ijl::kWriteWhole), ijl::kErrInvalidProperties);
  ijl::free(&bad);
  EXPECT_EQ(a, readFile(whole));
}

// Two writers of one file (a band write in progress and a whole write) each have their own temporary: the
// whole write lands, and the band write, once complete, replaces it with a file of its own.
TEST(Encode, WholeWriteDuringBandWriteLeavesBothIntact) {
  ijl::Image src = makePhoto(48, 30, 3, 4), other = makePhoto(20, 12, 3, 8);
  const std::string target = scratchPath("two_writers.jpg");
  constexpr int kBand = 10;
  auto band = [&](int top) { return writeBandOf(src, target, top, kBand, 90); };
  ASSERT_EQ(band(0), ijl::kOk);
  ijl::Properties w = encoderRecord(other, 90);
  w.jpgFile = target.c_str();
  w.dibBytes = other.pixels.data();
  w.dibHeight = other.height;
  ASSERT_EQ(ijl::write(&w, ijl::kWriteWhole), ijl::kOk);
  ijl::free(&w);
  auto decode = [&](ijl::Image* out) {
    std::vector<uint8_t> bytes = readFile(target);
    return ijl::decodeToImage(bytes.data(), bytes.size(), ijl::kReadWhole, 3, out);
  };
  ijl::Image read;
  ASSERT_EQ(decode(&read), ijl::kOk);
  EXPECT_EQ(other.width, read.width);
  ASSERT_EQ(band(10), ijl::kOk);
  ASSERT_EQ(band(20), ijl::kOk);
  ASSERT_EQ(decode(&read), ijl::kOk);
  EXPECT_EQ(src.width, read.width);
  EXPECT_EQ(src.height, read.height);
  EXPECT_LT(compare(read, src).meanAbs, 6.0);
}

// A band write given up part way: the partial file goes, the old target stays, and the session is gone, so a
// band continuing it is refused. Abandoning with nothing in progress is harmless.
TEST(Encode, AbandonedBandWriteKeepsTheOldFile) {
  ijl::Image src = makePhoto(40, 30, 3, 2);
  const std::string target = scratchPath("abandoned.jpg"), part = target + ".~0.tmp";
  std::vector<uint8_t> old;
  ASSERT_EQ(ijl::encodeImage(makePhoto(16, 16, 3, 9), 75, &old), ijl::kOk);
  writeFile(target, old);
  auto exists = [](const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
  };
  constexpr int kBand = 10;
  auto band = [&](int top) { return writeBandOf(src, target, top, kBand, 75); };
  auto abandon = [&](const char* path) {
    ijl::Properties a;
    ijl::init(&a);
    a.jpgFile = path;
    int r = ijl::abandonWrite(&a);
    ijl::free(&a);
    return r;
  };
  ASSERT_EQ(band(0), ijl::kOk);
  ASSERT_EQ(band(10), ijl::kOk);
  ASSERT_TRUE(exists(part));
  EXPECT_EQ(abandon(target.c_str()), ijl::kOk);
  EXPECT_FALSE(exists(part));
  EXPECT_EQ(old, readFile(target));
  EXPECT_EQ(band(20), ijl::kErrBandOrder);
  EXPECT_EQ(old, readFile(target));

  EXPECT_EQ(abandon(target.c_str()), ijl::kOk);  // nothing in progress
  EXPECT_EQ(abandon(nullptr), ijl::kErrInvalidProperties);
  // After the last band the file is complete; abandoning then changes nothing.
  for (int top = 0; top < src.height; top += kBand) ASSERT_EQ(band(top), ijl::kOk) << top;
  std::vector<uint8_t> written = readFile(target);
  EXPECT_NE(old, written);
  EXPECT_EQ(abandon(target.c_str()), ijl::kOk);
  EXPECT_EQ(written, readFile(target));
  EXPECT_FALSE(exists(part));
}

TEST(Encode, MemoryOutputReportsSizeOrTooSmall) {
  ijl::Image src = makePhoto(64, 48, 3, 1);
  std::vector<uint8_t> reference;
  ASSERT_EQ(ijl::encodeImage(src, 75, &reference), ijl::kOk);
  for (size_t capacity : {reference.size(), reference.size() - 1}) {
    std::vector<uint8_t> buf(capacity);
    ijl::Properties p = encoderRecord(src, 75);
    p.dibBytes = src.pixels.data();
    p.dibHeight = src.height;
    p.jpgBytes = buf.data();
    p.jpgSizeBytes = static_cast<uint32_t>(buf.size());
    int r = ijl::write(&p, ijl::kWriteWhole);
    if (capacity == reference.size()) {
      EXPECT_EQ(r, ijl::kOk);
      EXPECT_EQ(p.jpgSizeBytes, reference.size());
      EXPECT_EQ(buf, reference);
    } else {
      EXPECT_EQ(r, ijl::kErrBufferTooSmall);
    }
    ijl::free(&p);
  }
}

// --- embedded thumbnails ------------------------------------------------------------------------------------

void put16be(std::vector<uint8_t>& v, int x) {
  v.push_back(static_cast<uint8_t>(x >> 8));
  v.push_back(static_cast<uint8_t>(x));
}
void put16le(std::vector<uint8_t>& v, int x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}

// Inserts an APPn segment right after SOI.
std::vector<uint8_t> withSegment(const std::vector<uint8_t>& jpeg, int marker, const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
  out.push_back(0xFF);
  out.push_back(static_cast<uint8_t>(marker));
  put16be(out, static_cast<int>(payload.size() + 2));
  out.insert(out.end(), payload.begin(), payload.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

// EXIF APP1 with an empty IFD0 and an IFD1 pointing at a JPEG thumbnail, in either TIFF byte order.
std::vector<uint8_t> exifPayload(const std::vector<uint8_t>& thumb, bool bigEndian) {
  std::vector<uint8_t> t = {'E', 'x', 'i', 'f', 0, 0};
  auto p16 = [&](uint32_t x) { bigEndian ? put16be(t, static_cast<int>(x)) : put16le(t, static_cast<int>(x)); };
  auto p32 = [&](uint32_t x) {
    p16(bigEndian ? x >> 16 : x & 0xFFFF);
    p16(bigEndian ? x & 0xFFFF : x >> 16);
  };
  t.push_back(bigEndian ? 'M' : 'I');
  t.push_back(bigEndian ? 'M' : 'I');
  p16(42);
  p32(8);  // IFD0
  p16(0);
  p32(14);  // IFD1
  const uint32_t thumbOffset = 14 + 2 + 3 * 12 + 4;
  p16(3);
  constexpr uint32_t kShort = 3, kLong = 4;
  const uint32_t entries[3][3] = {{0x0103, kShort, 6}, {0x0201, kLong, thumbOffset}, {0x0202, kLong, uint32_t(thumb.size())}};
  for (const auto& e : entries) {
    p16(e[0]);
    p16(e[1]);
    p32(1);
    if (e[1] == kShort) {  // a SHORT value sits in the first two bytes of the value field
      p16(e[2]);
      p16(0);
    } else {
      p32(e[2]);
    }
  }
  p32(0);
  t.insert(t.end(), thumb.begin(), thumb.end());
  return t;
}

TEST(Thumbnail, ExifAndJfifForms) {
  ijl::Image main = makePhoto(320, 240, 3, 9), small = makePhoto(160, 120, 3, 11);
  std::vector<uint8_t> mainJpeg, thumbJpeg;
  ASSERT_EQ(ijl::encodeImage(main, 75, &mainJpeg), ijl::kOk);
  ASSERT_EQ(ijl::encodeImage(small, 90, &thumbJpeg), ijl::kOk);
  ijl::Image thumbDecoded;
  ASSERT_EQ(ijl::decodeToImage(thumbJpeg.data(), thumbJpeg.size(), ijl::kReadWhole, 3, &thumbDecoded), ijl::kOk);

  std::vector<uint8_t> rgbPayload = {'J', 'F', 'X', 'X', 0, 0x13, 4, 2};
  std::vector<uint8_t> palettePayload = {'J', 'F', 'X', 'X', 0, 0x11, 4, 2};
  ijl::Image tiny;
  tiny.width = 4;
  tiny.height = 2;
  tiny.channels = 3;
  for (int i = 0; i < 8; ++i) {
    const uint8_t px[3] = {uint8_t(i * 30), uint8_t(255 - i * 20), uint8_t(i * 7)};
    tiny.pixels.insert(tiny.pixels.end(), px, px + 3);
  }
  rgbPayload.insert(rgbPayload.end(), tiny.pixels.begin(), tiny.pixels.end());
  std::vector<uint8_t> palette(768, 0);
  std::memcpy(palette.data() + 3 * 100, tiny.pixels.data(), tiny.pixels.size());  // entries 100..107
  palettePayload.insert(palettePayload.end(), palette.begin(), palette.end());
  for (int i = 0; i < 8; ++i) palettePayload.push_back(static_cast<uint8_t>(100 + i));
  std::vector<uint8_t> jpegPayload = {'J', 'F', 'X', 'X', 0, 0x10};
  jpegPayload.insert(jpegPayload.end(), thumbJpeg.begin(), thumbJpeg.end());

  const struct {
    const char* name;
    std::vector<uint8_t> file;
    const ijl::Image* expected;
  } cases[] = {
      {"exif_intel", withSegment(mainJpeg, 0xE1, exifPayload(thumbJpeg, false)), &thumbDecoded},
      {"exif_motorola", withSegment(mainJpeg, 0xE1, exifPayload(thumbJpeg, true)), &thumbDecoded},
      {"jfxx_jpeg", withSegment(mainJpeg, 0xE0, jpegPayload), &thumbDecoded},
      {"jfxx_rgb", withSegment(mainJpeg, 0xE0, rgbPayload), &tiny},
      {"jfxx_palette", withSegment(mainJpeg, 0xE0, palettePayload), &tiny},
      {"none", mainJpeg, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // As the format module asks: a 256-wide BGR bottom-up block.
    constexpr int kBox = 256;
    std::vector<uint8_t> block(kBox * kBox * 3, 0);
    ijl::Properties p;
    ASSERT_EQ(decodeInto(c.file, ijl::kReadThumbnail, block.data(), kBox, -kBox, 3, ijl::kColorBgr, 0, {}, &p),
              ijl::kOk);
    if (!c.expected) {
      EXPECT_EQ(p.thumbWidth, 0);
      EXPECT_EQ(p.thumbHeight, 0);
      continue;
    }
    const ijl::Image& e = *c.expected;
    ASSERT_EQ(p.thumbWidth, e.width);
    ASSERT_EQ(p.thumbHeight, e.height);
    for (int y = 0; y < e.height; ++y)
      for (int x = 0; x < e.width; ++x)
        for (int ch = 0; ch < 3; ++ch)
          ASSERT_EQ(block[(static_cast<size_t>(e.height - 1 - y) * kBox + x) * 3 + ch],
                    e.pixels[(static_cast<size_t>(y) * e.width + x) * 3 + 2 - ch]);
    // The main image still decodes as before.
    ijl::Image whole;
    EXPECT_EQ(ijl::decodeToImage(c.file.data(), c.file.size(), ijl::kReadWhole, 3, &whole), ijl::kOk);
    EXPECT_EQ(whole.width, 320);
  }
  // A thumbnail larger than the caller's block is refused and reported absent, never written past the block.
  std::vector<uint8_t> file = withSegment(mainJpeg, 0xE1, exifPayload(thumbJpeg, false));
  std::vector<uint8_t> block(100 * 100 * 3);
  ijl::Properties p;
  EXPECT_EQ(decodeInto(file, ijl::kReadThumbnail, block.data(), 100, -100, 3, ijl::kColorBgr, 0, {}, &p),
            ijl::kErrBufferTooSmall);
  EXPECT_EQ(p.thumbWidth, 0);
  EXPECT_EQ(p.thumbHeight, 0);
}

// EXIF APP1 whose IFD0 holds only the orientation, in either TIFF byte order.
std::vector<uint8_t> orientationPayload(uint16_t orientation, bool bigEndian) {
  std::vector<uint8_t> t = {'E', 'x', 'i', 'f', 0, 0};
  auto p16 = [&](uint32_t x) { bigEndian ? put16be(t, static_cast<int>(x)) : put16le(t, static_cast<int>(x)); };
  t.push_back(bigEndian ? 'M' : 'I');
  t.push_back(bigEndian ? 'M' : 'I');
  p16(42);
  p16(bigEndian ? 0 : 8);  // IFD0 at 8
  p16(bigEndian ? 8 : 0);
  p16(1);
  p16(0x0112);
  p16(3);  // SHORT
  p16(bigEndian ? 0 : 1);  // count 1
  p16(bigEndian ? 1 : 0);
  p16(orientation);  // a SHORT value sits in the first two bytes of the value field
  p16(0);
  p16(0);  // no next directory
  p16(0);
  return t;
}

TEST(Thumbnail, ExifOrientationIsReportedByEveryRead) {
  ijl::Image main = makePhoto(64, 48, 3, 5);
  std::vector<uint8_t> jpeg;
  ASSERT_EQ(ijl::encodeImage(main, 75, &jpeg), ijl::kOk);
  const struct {
    const char* name;
    std::vector<uint8_t> file;
    int expected;
  } cases[] = {
      {"intel_6", withSegment(jpeg, 0xE1, orientationPayload(6, false)), 6},
      {"motorola_8", withSegment(jpeg, 0xE1, orientationPayload(8, true)), 8},
      {"out_of_range", withSegment(jpeg, 0xE1, orientationPayload(9, false)), 1},
      {"first_block_counts", withSegment(withSegment(jpeg, 0xE1, orientationPayload(3, false)), 0xE1,
                                         orientationPayload(5, false)), 5},
      {"none", jpeg, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ijl::Properties p;
    ASSERT_EQ(decodeInto(c.file, ijl::kReadParams, nullptr, 0, 0, 3, ijl::kColorBgr, 0, {}, &p), ijl::kOk);
    EXPECT_EQ(p.exifOrientation, c.expected);
    std::vector<uint8_t> dib(64 * 48 * 3);
    ASSERT_EQ(decodeInto(c.file, ijl::kReadWhole, dib.data(), 64, -48, 3, ijl::kColorBgr, 0, {}, &p), ijl::kOk);
    EXPECT_EQ(p.exifOrientation, c.expected);
  }
}

// --- bad input -----------------------------------------------------------------------------------------------

const int kAllReadModes[] = {ijl::kReadParams, ijl::kReadWhole, ijl::kReadRegion, ijl::kReadHalf,
                             ijl::kReadQuarter, ijl::kReadEighth, ijl::kReadThumbnail};

// Every read mode on the bytes; returns the whole-image result.
int readAllModes(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& dib) {
  int whole = ijl::kOk;
  for (int mode : kAllReadModes) {
    int r = decodeInto(bytes, mode, dib.data(), 256, -256, 3, ijl::kColorBgr, 0, {0, 20, 200, 60});
    if (mode == ijl::kReadWhole) whole = r;
  }
  return whole;
}

TEST(BadInput, TruncatedAndBitFlippedCopiesFailCleanly) {
  std::vector<uint8_t> dib(256 * 256 * 3);
  for (const char* name : {"baseline420", "progressive420", "restart_blocks", "progressive_grey"}) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> bytes = peerBytes(name);
    ASSERT_EQ(readAllModes(bytes, dib), ijl::kOk);
    for (int tenth = 1; tenth < 10; ++tenth) {
      std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + bytes.size() * tenth / 10);
      EXPECT_LT(readAllModes(cut, dib), 0) << "cut at " << tenth << "/10";
    }
    std::mt19937 rng(42);
    for (int i = 0; i < 150; ++i) {
      std::vector<uint8_t> flipped = bytes;
      for (int k = 0; k < 1 + i % 4; ++k) flipped[rng() % flipped.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
      readAllModes(flipped, dib);
    }
  }
}

std::vector<uint8_t> frameOnly(int precision, int height, int width, std::vector<uint8_t> comps) {
  std::vector<uint8_t> f = {0xFF, 0xD8, 0xFF, 0xC0};
  put16be(f, static_cast<int>(8 + comps.size()));
  f.push_back(static_cast<uint8_t>(precision));
  put16be(f, height);
  put16be(f, width);
  f.push_back(static_cast<uint8_t>(comps.size() / 3));
  f.insert(f.end(), comps.begin(), comps.end());
  f.push_back(0xFF);
  f.push_back(0xD9);
  return f;
}

TEST(BadInput, FrameLimits) {
  const std::vector<uint8_t> grey = {1, 0x11, 0};
  const std::vector<uint8_t> fractional = {1, 0x32, 0, 2, 0x21, 0, 3, 0x11, 0};
  const struct {
    const char* name;
    std::vector<uint8_t> file;
    int expected;
  } cases[] = {
      {"not jpeg", {'G', 'I', 'F', '8', '9', 'a'}, ijl::kErrNotJpeg},
      {"empty", {}, ijl::kErrInvalidProperties},
      {"width 0", frameOnly(8, 10, 0, grey), ijl::kErrCorruptData},
      {"height 0 (DNL)", frameOnly(8, 0, 10, grey), ijl::kErrUnsupportedFormat},
      {"too wide", frameOnly(8, 10, 65535, grey), ijl::kErrImageTooLarge},
      {"12-bit", frameOnly(12, 10, 10, grey), ijl::kErrUnsupportedFormat},
      {"two components", frameOnly(8, 10, 10, {1, 0x11, 0, 2, 0x11, 0}), ijl::kErrUnsupportedChannels},
      {"fractional sampling", frameOnly(8, 10, 10, fractional), ijl::kErrUnsupportedSubsampling},
      {"no scan", frameOnly(8, 10, 10, grey), ijl::kErrEndOfData},
  };
  for (const auto& c : cases) {
    ijl::Properties p;
    ijl::init(&p);
    p.jpgBytes = const_cast<uint8_t*>(c.file.data());
    p.jpgSizeBytes = static_cast<uint32_t>(c.file.size());
    EXPECT_EQ(ijl::read(&p, ijl::kReadParams), c.expected) << c.name;
    ijl::free(&p);
  }
}

// A progressive frame whose coefficients would not fit in memory (nor in 32-bit sizes) is refused before
// anything is allocated.
TEST(BadInput, HugeProgressiveFrameIsRefused) {
  std::vector<uint8_t> f = {0xFF, 0xD8, 0xFF, 0xC2, 0, 17, 8};
  put16be(f, 65000);
  put16be(f, 65000);
  const uint8_t comps[] = {3, 1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0};
  f.insert(f.end(), comps, comps + sizeof comps);
  const uint8_t dqt[] = {0xFF, 0xDB, 0, 67, 0};
  f.insert(f.end(), dqt, dqt + sizeof dqt);
  f.insert(f.end(), 64, 1);
  const uint8_t sos[] = {0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 0, 0, 0xFF, 0xD9};
  f.insert(f.end(), sos, sos + sizeof sos);
  std::vector<uint8_t> line(65000 * 3);
  EXPECT_EQ(decodeInto(f, ijl::kReadRegion, line.data(), 65000, 1, 3, ijl::kColorRgb, 0, {0, 0, 65000, 1}),
            ijl::kErrImageTooLarge);
}

TEST(AdobeCmyk, DecodedToRgbNearImageMagicksOwnConversion) {
  ASSERT_TRUE(haveTool("convert"));
  const std::string src = scratchPath("cmyk.ppm"), jpg = scratchPath("cmyk.jpg"), ref = scratchPath("cmyk-ref.ppm");
  writePnm(src, makePhoto(120, 80, 3, 2));
  ASSERT_EQ(run("convert " + src + " -colorspace CMYK -quality 95 " + jpg + " && convert " + jpg +
                " -colorspace sRGB " + ref),
            0);
  std::vector<uint8_t> bytes = readFile(jpg);
  ijl::Image ours, expected;
  ASSERT_TRUE(readPnm(ref, &expected));
  ASSERT_EQ(ijl::decodeToImage(bytes.data(), bytes.size(), ijl::kReadWhole, 3, &ours), ijl::kOk);
  EXPECT_LT(compare(ours, expected).meanAbs, 3.0);
}

#ifdef __SSE2__
#ifdef IJL_HAVE_AVX2
// The AVX2 forward DCT does the SSE2 one's operations in the same order: the same coefficients on any block.
TEST(Fdct, Avx2EqualsSse2) {
  if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "no AVX2 here";
  std::mt19937 rng(2);
  float divisors[64];
  for (int trial = 0; trial < 3000; ++trial) {
    uint8_t pixels[8 * 13];
    const int spread = 1 + trial % 256;
    for (uint8_t& p : pixels) p = static_cast<uint8_t>(trial % 3 == 0 ? (rng() & 1) * 255 : 128 + int(rng() % spread) - spread / 2);
    for (int k = 0; k < 64; ++k) divisors[k] = 1.0f / (8.0f * (1 + (rng() % (trial % 2 ? 2 : 100))));
    ijl::detail::QuantBlock a, b;
    ijl::detail::quantizeBlock(pixels, 13, divisors, &a);
    ijl::detail::quantizeBlockAvx2(pixels, 13, divisors, &b);
    ASSERT_EQ(std::memcmp(a.coef, b.coef, sizeof a.coef), 0) << trial;
    ASSERT_EQ(a.nonzero[0], b.nonzero[0]) << trial;
    ASSERT_EQ(a.nonzero[1], b.nonzero[1]) << trial;
  }
}
#endif

TEST(Idct, Sse2EqualsPortableOnRealisticBlocks) {
  std::mt19937 rng(1);
  uint16_t quant[64];
  for (int i = 0; i < 64; ++i) quant[i] = static_cast<uint16_t>(1 + i / 4);
  for (int trial = 0; trial < 2000; ++trial) {
    int16_t coef[64] = {};
    int nonzero = 1 + trial % 40, range = 1 << (1 + trial % 5);  // dequantised AC up to 512
    for (int i = 0; i < nonzero; ++i) coef[rng() % (1 + trial % 64)] = static_cast<int16_t>(int(rng() % (2 * range)) - range);
    coef[0] = static_cast<int16_t>(int(rng() % 2000) - 1000);
    uint8_t a[64], b[64];
    ijl::detail::idctScaled(8, coef, quant, a, 8);
    ijl::detail::idct8Scalar(coef, quant, b, 8);
    ASSERT_EQ(std::memcmp(a, b, 64), 0) << trial;
  }
}
#endif

}  // namespace
