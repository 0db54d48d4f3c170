// Times our JPEG decode (full, 1/8) and encode (q75) against libjpeg-turbo in-process, plus djpeg/cjpeg runs.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>  // needs size_t and FILE declared first

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ijl/ijl.h"

namespace {

using Clock = std::chrono::steady_clock;

double medianMs(int reps, const std::function<void()>& work) {
  std::vector<double> t;
  for (int i = 0; i < reps; ++i) {
    auto start = Clock::now();
    work();
    t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
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

double processMs(int reps, const std::string& command) {
  return medianMs(reps, [&] {
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 5 && std::string(argv[1]) == "--generate") {
    writePhotoPpm(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), 1234);
    return 0;
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: jpeg_bench file.jpg... | --generate out.ppm width height\n");
    return 2;
  }
  double sum[2][3] = {};  // [ours, peer][eighth, full, encode]
  for (int i = 1; i < argc; ++i) {
    const std::string path = argv[i];
    std::vector<uint8_t> jpeg = readFile(path);
    std::vector<uint8_t> out, rgb;
    int w = 0, h = 0;
    if (oursDecode(jpeg, ijl::kReadWhole, rgb, &w, &h) != ijl::kOk) {
      std::fprintf(stderr, "%s: our decoder failed\n", path.c_str());
      return 1;
    }
    const int reps = size_t(w) * h > 4000000 ? 9 : 21;
    double t[2][3];
    t[0][0] = medianMs(reps, [&] { int a, b; oursDecode(jpeg, ijl::kReadEighth, out, &a, &b); });
    t[1][0] = medianMs(reps, [&] { peerDecode(jpeg, 8, out); });
    t[0][1] = medianMs(reps, [&] { int a, b; oursDecode(jpeg, ijl::kReadWhole, out, &a, &b); });
    t[1][1] = medianMs(reps, [&] { peerDecode(jpeg, 1, out); });
    ijl::Image img{w, h, 3, rgb};
    std::vector<uint8_t> encoded;
    t[0][2] = medianMs(reps, [&] { ijl::encodeImage(img, 75, &encoded); });
    size_t peerSize = 0;
    t[1][2] = medianMs(reps, [&] { peerSize = peerEncode(rgb, w, h, 75); });
    std::printf("%s (%dx%d, %zu bytes)\n", path.c_str(), w, h, jpeg.size());
    const char* names[3] = {"decode 1/8", "decode full", "encode q75"};
    for (int k = 0; k < 3; ++k) {
      std::printf("  %-12s ours %8.2f ms   libjpeg-turbo %8.2f ms   ratio %.2f\n", names[k], t[0][k], t[1][k],
                  t[0][k] / t[1][k]);
      sum[0][k] += t[0][k];
      sum[1][k] += t[1][k];
    }
    std::printf("  encoded sizes: ours %zu bytes, libjpeg-turbo %zu bytes\n", encoded.size(), peerSize);
    // Whole-process reference: the peer's command-line tools on the same file.
    const std::string ppm = path + ".bench.ppm";
    std::printf("  djpeg process: full %.2f ms, 1/8 %.2f ms; cjpeg q75 process %.2f ms\n",
                processMs(5, "djpeg -outfile /dev/null '" + path + "'"),
                processMs(5, "djpeg -scale 1/8 -outfile /dev/null '" + path + "'"),
                processMs(5, "djpeg -outfile '" + ppm + "' '" + path + "' && cjpeg -quality 75 -outfile /dev/null '" +
                                 ppm + "'"));
    std::remove(ppm.c_str());
  }
  std::printf("jpeg ratios: eighth=%.2f full=%.2f encode=%.2f\n", sum[0][0] / sum[1][0], sum[0][1] / sum[1][1],
              sum[0][2] / sum[1][2]);
  return 0;
}
