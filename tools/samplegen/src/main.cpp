// samplegen: writes a folder of sample media made by our own code (pictures, clips, a sound).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <sys/stat.h>

#include "media.h"
#include "picture.h"

#ifdef _WIN32
#include <direct.h>
#endif

namespace {

struct Size {
  int width, height;
};
// From a picture smaller than a thumbnail box to a camera-sized one; BMP and PNG stop at kLargestLossless.
constexpr Size kSizes[] = {{60, 40}, {320, 240}, {640, 480}, {1024, 768}, {1600, 1200}, {4000, 3000}};
constexpr int kLargestLossless = 1600 * 1200;
constexpr int kJpegQuality = 85;
constexpr int kDefaultCount = 12;

int Usage() {
  std::fprintf(stderr, "usage: samplegen OUTDIR [--count N] [--seed S] [--small]\n");
  return 2;
}

bool MakeDir(const std::string& path) {
#ifdef _WIN32
  return _mkdir(path.c_str()) == 0;
#else
  return mkdir(path.c_str(), 0777) == 0;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string out = argv[1];
  int count = kDefaultCount;
  unsigned long seed = 1;
  bool small = false;  // tiny files only, e.g. as fuzzing seeds
  for (int i = 2; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--count") && i + 1 < argc) count = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc) seed = std::strtoul(argv[++i], nullptr, 10);
    else if (!std::strcmp(argv[i], "--small")) small = true;
    else return Usage();
  }
  if (count < 0) return Usage();
  struct stat st;
  if (stat(out.c_str(), &st) != 0 && !MakeDir(out)) {
    std::fprintf(stderr, "samplegen: cannot create %s\n", out.c_str());
    return 1;
  }
  try {
    // Picture i: format i mod 3, size by i / 3, so twelve pictures give four sizes in every format.
    static const char* const kExtensions[] = {"jpg", "png", "bmp"};
    const int sizes = small ? 1 : int(sizeof kSizes / sizeof kSizes[0]);
    for (int i = 0; i < count; ++i) {
      const int format = i % 3;
      Size size = kSizes[(i / 3) % sizes];
      if (format != 0 && size.width * size.height > kLargestLossless) size = kSizes[4];
      const samplegen::Picture picture = samplegen::DrawPhoto(size.width, size.height, uint32_t(seed * 1000 + i));
      char name[64];
      std::snprintf(name, sizeof name, "photo%02d_%dx%d.%s", i, size.width, size.height, kExtensions[format]);
      const std::string path = out + "/" + name;
      if (format == 0) samplegen::WriteJpeg(path, picture, kJpegQuality);
      else if (format == 1) samplegen::WritePng(path, picture);
      else samplegen::WriteBmp(path, picture);
      std::printf("%s\n", path.c_str());
    }
    samplegen::ClipShape shape;
    if (small) {
      shape.width = 16;
      shape.height = 12;
      shape.frames = 3;
      shape.soundRate = 8000;
    }
    samplegen::MakeClip(shape, uint32_t(seed)).Save(out + "/clip_sound.avi");
    shape.soundRate = 0;
    samplegen::MakeClip(shape, uint32_t(seed) + 1).Save(out + "/clip_silent.avi");
    samplegen::WriteSweepWav(out + "/sweep.wav", small ? 8000 : 22050, small ? 0.05 : 2.0);
    std::printf("%s/clip_sound.avi\n%s/clip_silent.avi\n%s/sweep.wav\n", out.c_str(), out.c_str(), out.c_str());
  } catch (const avi::Error& e) {
    std::fprintf(stderr, "samplegen: %s (%s)\n", e.what(), avi::ErrcName(e.code()));
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "samplegen: %s\n", e.what());
    return 1;
  }
  return 0;
}
