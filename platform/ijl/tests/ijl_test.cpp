// Tests of the JPEG codec: pixels against djpeg, reduced, region and thumbnail decoding, encoding, bad input.
#include <gtest/gtest.h>

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

}  // namespace
