// Times our JPEG decode (1/8, full) and encode (q75) against libjpeg-turbo in one process, runs interleaved.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>  // needs size_t and FILE declared first

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ijl/ijl.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kEncodeQuality = 75;
constexpr size_t kLargeImagePixels = 4000000;
constexpr int kLargeImageReps = 15, kSmallImageReps = 31, kProcessReps = 5;
constexpr int kOps = 3;  // decode 1/8, decode full, encode
constexpr const char* kOpNames[kOps] = {"decode 1/8", "decode full", "encode q75"};
constexpr const char* kOpKeys[kOps] = {"eighth", "full", "encode"};

double elapsedMs(const std::function<void()>& work) {
  auto start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Timing {
  double median = 0, fastest = 0;
};

Timing summarise(std::vector<double> t) {
  std::sort(t.begin(), t.end());
  return {t[t.size() / 2], t.front()};
}

// Runs ours and the peer alternately, reps times each, swapping who goes first every round so that neither
// always runs on the other's warm caches; a change in the machine's load then hits both alike.
void interleaved(int reps, const std::function<void()>& ours, const std::function<void()>& peer, Timing* oursT,
                 Timing* peerT) {
  std::vector<double> a, b;
  for (int i = 0; i < reps; ++i) {
    if (i % 2 == 0) {
      a.push_back(elapsedMs(ours));
      b.push_back(elapsedMs(peer));
    } else {
      b.push_back(elapsedMs(peer));
      a.push_back(elapsedMs(ours));
    }
  }
  *oursT = summarise(a);
  *peerT = summarise(b);
}

std::vector<uint8_t> readFile(const std::string& path) {
  std::vector<uint8_t> b;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    uint8_t buf[1 << 16];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) b.insert(b.end(), buf, buf + n);
    std::fclose(f);
  }
  return b;
}

// Photo-like content: smooth gradients, soft shapes, hard edges and sensor-like noise.
void writePhotoPpm(const std::string& path, int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> noise(0, 4);
  std::vector<uint8_t> px(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double fx = double(x) / w, fy = double(y) / h;
      double v[3] = {120 + 90 * std::sin(fx * 3.1 + fy), 90 + 120 * fy, 160 - 100 * fx * fy};
      double dx = fx - 0.35, dy = fy - 0.55;
      if (dx * dx + dy * dy < 0.04)
        for (double& c : v) c = 0.6 * c + 80 * std::cos(fx * 40);
      if (std::fmod(fx * 11 + fy * 3, 1.0) < 0.04)
        for (double& c : v) c *= 0.4;
      double n = noise(rng);
      for (int c = 0; c < 3; ++c) px[(size_t(y) * w + x) * 3 + c] = uint8_t(std::clamp(v[c] + n, 0.0, 255.0));
    }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fprintf(f, "P6\n%d %d\n255\n", w, h);
  std::fwrite(px.data(), 1, px.size(), f);
  std::fclose(f);
}

int oursDecode(const std::vector<uint8_t>& jpeg, int mode, std::vector<uint8_t>& out, int* w, int* h) {
  ijl::Properties p;
  ijl::init(&p);
  p.jpgBytes = const_cast<uint8_t*>(jpeg.data());
  p.jpgSizeBytes = static_cast<uint32_t>(jpeg.size());
  int r = ijl::read(&p, ijl::kReadParams);
  *w = ijl::scaledDimension(p.jpgWidth, mode);
  *h = ijl::scaledDimension(p.jpgHeight, mode);
  out.resize(size_t(*w) * *h * 3);
  p.dibBytes = out.data();
  p.dibWidth = *w;
  p.dibHeight = *h;
  p.dibColor = ijl::kColorRgb;
  if (r == ijl::kOk) r = ijl::read(&p, mode);
  ijl::free(&p);
  return r;
}

void peerDecode(const std::vector<uint8_t>& jpeg, int denom, std::vector<uint8_t>& out) {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, jpeg.data(), jpeg.size());
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  cinfo.scale_num = 1;
  cinfo.scale_denom = denom;
  jpeg_start_decompress(&cinfo);
  const size_t stride = size_t(cinfo.output_width) * 3;
  out.resize(stride * cinfo.output_height);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW rows[16];
    for (int i = 0; i < 16; ++i)
      rows[i] = out.data() + stride * std::min<size_t>(cinfo.output_scanline + i, cinfo.output_height - 1);
    jpeg_read_scanlines(&cinfo, rows, 16);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
}

size_t peerEncode(const std::vector<uint8_t>& rgb, int w, int h, int quality) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &mem, &size);
  cinfo.image_width = w;
  cinfo.image_height = h;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(rgb.data()) + size_t(cinfo.next_scanline) * w * 3;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::free(mem);
  return size;
}

double processMs(const std::string& command) {
  std::vector<double> t;
  for (int i = 0; i < kProcessReps; ++i)
    t.push_back(elapsedMs([&] {
      if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
    }));
  return summarise(t).median;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 5 && std::string(argv[1]) == "--generate") {
    writePhotoPpm(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), 1234);
    return 0;
  }
  int first = 1;
  bool processes = false;  // also time the peer's command-line tools (only where they are this architecture's)
  if (argc > 1 && std::string(argv[1]) == "--processes") {
    processes = true;
    ++first;
  }
  if (first >= argc) {
    std::fprintf(stderr, "usage: jpeg_bench [--processes] file.jpg... | --generate out.ppm width height\n");
    return 2;
  }
  const char* arch = sizeof(void*) == 4 ? "i686" : "x86-64";
  double sum[2][kOps] = {};  // [ours, peer][op]
  for (int i = first; i < argc; ++i) {
    const std::string path = argv[i];
    std::vector<uint8_t> jpeg = readFile(path);
    std::vector<uint8_t> out, peerOut, rgb;
    int w = 0, h = 0;
    if (oursDecode(jpeg, ijl::kReadWhole, rgb, &w, &h) != ijl::kOk) {
      std::fprintf(stderr, "%s: our decoder failed\n", path.c_str());
      return 1;
    }
    const int reps = size_t(w) * h > kLargeImagePixels ? kLargeImageReps : kSmallImageReps;
    Timing t[2][kOps];
    interleaved(reps, [&] { int a, b; oursDecode(jpeg, ijl::kReadEighth, out, &a, &b); },
                [&] { peerDecode(jpeg, 8, peerOut); }, &t[0][0], &t[1][0]);
    interleaved(reps, [&] { int a, b; oursDecode(jpeg, ijl::kReadWhole, out, &a, &b); },
                [&] { peerDecode(jpeg, 1, peerOut); }, &t[0][1], &t[1][1]);
    ijl::Image img{w, h, 3, rgb};
    std::vector<uint8_t> encoded;
    size_t peerSize = 0;
    interleaved(reps, [&] { ijl::encodeImage(img, kEncodeQuality, &encoded); },
                [&] { peerSize = peerEncode(rgb, w, h, kEncodeQuality); }, &t[0][2], &t[1][2]);
    std::printf("%s (%dx%d, %zu bytes), %s, median (fastest) of %d interleaved runs\n", path.c_str(), w, h,
                jpeg.size(), arch, reps);
    for (int k = 0; k < kOps; ++k) {
      std::printf("  %-12s ours %7.2f (%7.2f) ms   libjpeg-turbo %7.2f (%7.2f) ms   ratio %.2f\n", kOpNames[k],
                  t[0][k].median, t[0][k].fastest, t[1][k].median, t[1][k].fastest, t[0][k].median / t[1][k].median);
      sum[0][k] += t[0][k].median;
      sum[1][k] += t[1][k].median;
    }
    std::printf("  encoded sizes: ours %zu bytes, libjpeg-turbo %zu bytes\n", encoded.size(), peerSize);
    if (processes) {
      // Whole-process reference: the peer's command-line tools on the same file, start-up and output included.
      const std::string ppm = path + ".bench.ppm";
      std::printf("  djpeg process: full %.2f ms, 1/8 %.2f ms; cjpeg q75 process %.2f ms\n",
                  processMs("djpeg -outfile /dev/null '" + path + "'"),
                  processMs("djpeg -scale 1/8 -outfile /dev/null '" + path + "'"),
                  processMs("djpeg -outfile '" + ppm + "' '" + path + "' && cjpeg -quality 75 -outfile /dev/null '" +
                            ppm + "'"));
      std::remove(ppm.c_str());
    }
  }
  std::printf("jpeg ratios %s:", arch);
  for (int k = 0; k < kOps; ++k) std::printf(" %s=%.2f", kOpKeys[k], sum[0][k] / sum[1][k]);
  std::printf("\n");
  return 0;
}
