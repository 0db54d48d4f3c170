// samplegen: writes a folder of sample media made by our own code (pictures, clips, a sound).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <sys/stat.h>

#include "exif.h"
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
// Camera-like photos for the Gallery's benchmark: 12 megapixels at a camera's usual quality.
constexpr Size kCameraSize = {4000, 3000};
constexpr int kCameraQuality = 90;
constexpr int kExifThumbnailQuality = 85;

int Usage() {
  std::fprintf(stderr, "usage: samplegen OUTDIR [--count N] [--seed S] [--small]\n"
                       "       samplegen OUTDIR --photos N [--exif] [--seed S]\n");
  return 2;
}

// N camera-like JPEGs, each with an EXIF thumbnail when asked.
void WriteCameraPhotos(const std::string& out, int count, unsigned long seed, bool exif) {
  for (int i = 0; i < count; ++i) {
    const samplegen::Picture picture = samplegen::DrawPhoto(kCameraSize.width, kCameraSize.height, uint32_t(seed * 1000 + i));
    std::vector<uint8_t> jpeg = samplegen::EncodeJpeg(picture, kCameraQuality);
    if (exif) {
      const samplegen::Picture small =
          samplegen::Downscale(picture, samplegen::kExifThumbnailWidth, samplegen::kExifThumbnailHeight);
      jpeg = samplegen::WithExifThumbnail(jpeg, picture.width, picture.height,
                                          samplegen::EncodeJpeg(small, kExifThumbnailQuality));
    }
    char name[32];
    std::snprintf(name, sizeof name, "photo%03d.jpg", i);
    const std::string path = out + "/" + name;
    samplegen::WriteFileAtomically(path, jpeg);
    std::printf("%s\n", path.c_str());
  }
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
  int photos = -1;     // camera-like photos only
  bool exif = false;
  for (int i = 2; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--count") && i + 1 < argc) count = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc) seed = std::strtoul(argv[++i], nullptr, 10);
    else if (!std::strcmp(argv[i], "--small")) small = true;
    else if (!std::strcmp(argv[i], "--photos") && i + 1 < argc) photos = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--exif")) exif = true;
    else return Usage();
  }
  if (count < 0 || (photos < 0 && exif) || (photos >= 0 && small)) return Usage();
  struct stat st;
  if (stat(out.c_str(), &st) != 0 && !MakeDir(out)) {
    std::fprintf(stderr, "samplegen: cannot create %s\n", out.c_str());
    return 1;
  }
  try {
    if (photos >= 0) {
      WriteCameraPhotos(out, photos, seed, exif);
      return 0;
    }
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
