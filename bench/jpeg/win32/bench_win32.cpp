// Times the codec (1/8 and full decode, q75 encode) and the Gallery's thumbnail path through NXImageFile under Wine.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <ijl/ijl.h>
#include <imagio/imgfile.h>

namespace {

// The box the Gallery asks thumbnails to fit.
constexpr uint16_t kThumbnailBox = 112;
constexpr int kThumbnailAlignment = 4;
constexpr int kEncodeQuality = 75;
constexpr size_t kLargeImagePixels = 4000000;

// Median and fastest run: the machine is shared, and the fastest run shows what the code does without neighbours.
struct Timing {
  double median = 0, fastest = 0;
};

Timing summarise(std::vector<double> t) {
  std::sort(t.begin(), t.end());
  return {t[t.size() / 2], t.front()};
}

Timing timeMs(int reps, const std::function<void()>& work) {
  LARGE_INTEGER freq, a, b;
  QueryPerformanceFrequency(&freq);
  std::vector<double> t;
  for (int i = 0; i < reps; ++i) {
    QueryPerformanceCounter(&a);
    work();
    QueryPerformanceCounter(&b);
    t.push_back(1000.0 * double(b.QuadPart - a.QuadPart) / double(freq.QuadPart));
  }
  return summarise(t);
}

std::vector<uint8_t> readFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    uint8_t buf[1 << 16];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
  }
  return bytes;
}

int decode(const std::vector<uint8_t>& jpeg, int mode, ijl::Image* out) {
  return ijl::decodeToImage(jpeg.data(), jpeg.size(), mode, 3, out);
}

struct Figures {
  Timing eighth, full, encode, open, thumbnail, both;  // both: Open + GetThumbnail of the same run
};

// Open, GetThumbnail into a 112 x 112 box, release: what the Gallery does per file. Returns false on failure.
bool thumbnailOnce(const std::string& path, double* openMs, double* thumbMs) {
  NXImageFile file;
  tagIMGFILEINFO info = {};
  info.size = sizeof info;
  uint32_t type = 0;
  LARGE_INTEGER freq, a, b, c;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&a);
  if (file.Open(path.c_str(), &type, &info) != IMGFILERR_OK) return false;
  QueryPerformanceCounter(&b);
  uint8_t* pixels = nullptr;
  uint16_t w = kThumbnailBox, h = kThumbnailBox;
  tagIMGFILERR r =
      file.GetThumbnail(&pixels, TRUE, COLORMODEL_RGB, COMPONENTORDER_REVERSE, kThumbnailAlignment, &w, &h, FALSE);
  QueryPerformanceCounter(&c);
  if (r != IMGFILERR_OK) return false;
  NXImageFile::ReleaseBuffer(pixels);
  file.Close();
  *openMs = 1000.0 * double(b.QuadPart - a.QuadPart) / double(freq.QuadPart);
  *thumbMs = 1000.0 * double(c.QuadPart - b.QuadPart) / double(freq.QuadPart);
  return true;
}

bool measure(const std::string& path, Figures* f) {
  std::vector<uint8_t> jpeg = readFile(path);
  ijl::Image full, scratch;
  if (jpeg.empty() || decode(jpeg, ijl::kReadWhole, &full) != ijl::kOk) {
    std::fprintf(stderr, "%s: cannot decode\n", path.c_str());
    return false;
  }
  const int reps = size_t(full.width) * full.height > kLargeImagePixels ? 15 : 31;
  f->eighth = timeMs(reps, [&] { decode(jpeg, ijl::kReadEighth, &scratch); });
  f->full = timeMs(reps, [&] { decode(jpeg, ijl::kReadWhole, &scratch); });
  std::vector<uint8_t> encoded;
  f->encode = timeMs(reps, [&] { ijl::encodeImage(full, kEncodeQuality, &encoded); });
  std::vector<double> opens, thumbs, both;
  for (int i = 0; i < reps; ++i) {
    double o = 0, t = 0;
    if (!thumbnailOnce(path, &o, &t)) {
      std::fprintf(stderr, "%s: NXImageFile thumbnail failed\n", path.c_str());
      return false;
    }
    opens.push_back(o);
    thumbs.push_back(t);
    both.push_back(o + t);
  }
  f->open = summarise(opens);
  f->thumbnail = summarise(thumbs);
  f->both = summarise(both);
  std::printf("%s (%dx%d, %u bytes), i686 under Wine, medians of %d\n", path.c_str(), full.width, full.height,
              unsigned(jpeg.size()), reps);
  std::printf("  median (fastest): decode 1/8 %.2f (%.2f) ms, decode full %.2f (%.2f) ms, encode q75 %.2f (%.2f) ms\n",
              f->eighth.median, f->eighth.fastest, f->full.median, f->full.fastest, f->encode.median,
              f->encode.fastest);
  std::printf("  NXImageFile: Open %.2f (%.2f) ms, GetThumbnail into a %ux%u box %.2f (%.2f) ms, both %.2f (%.2f) ms\n",
              f->open.median, f->open.fastest, kThumbnailBox, kThumbnailBox, f->thumbnail.median,
              f->thumbnail.fastest, f->both.median, f->both.fastest);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: jpeg_bench_win32 file.jpg...\n");
    return 2;
  }
  if (NXImageFile::Init(nullptr) != IMGFILERR_OK) {
    std::fprintf(stderr, "NXImageFile::Init failed: are imagio and NXJPEGCOM registered in this prefix?\n");
    return 1;
  }
  Figures first;
  int status = 0;
  for (int i = 1; i < argc && status == 0; ++i) {
    Figures f;
    if (!measure(argv[i], &f)) status = 1;
    if (i == 1) first = f;
  }
  NXImageFile::Exit();
  if (status == 0)
    std::printf("jpeg win32: eighth=%.2f ms full=%.2f ms encode=%.2f ms thumbnail=%.2f ms (Open + GetThumbnail)\n",
                first.eighth.median, first.full.median, first.encode.median, first.both.median);
  return status;
}
