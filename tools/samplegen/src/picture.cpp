// Drawing photo-like pictures and writing them as BMP, PNG (through zlib) and JPEG (through our codec).
#include "picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include <zlib.h>

#include "bytes.h"
#include "ijl/ijl.h"
#include "safefile/safefile.h"

namespace samplegen {

uint64_t Random::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

namespace {

struct Color {
  double r, g, b;
};

Color Mix(const Color& a, const Color& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Color RandomColor(Random& random, double lo, double hi) {
  return {lo + random.Unit() * (hi - lo), lo + random.Unit() * (hi - lo), lo + random.Unit() * (hi - lo)};
}

uint8_t Clamp(double v) { return uint8_t(std::max(0.0, std::min(255.0, v + 0.5))); }

// Soft shapes over the background: discs and tilted boxes with a blurred edge and their own gradient.
struct Shape {
  bool disc;
  double cx, cy, rx, ry, angle;
  Color inner, outer;
  double opacity;
};

constexpr int kMinShapes = 3;
constexpr int kMaxShapes = 9;
constexpr double kGrain = 6.0;  // amplitude of the film grain, in 8-bit steps

}  // namespace

Picture DrawPhoto(int width, int height, uint32_t seed) {
  Random random(seed);
  const Color skyTop = RandomColor(random, 20, 120), skyLow = RandomColor(random, 140, 250);
  const Color ground = RandomColor(random, 30, 140), groundFar = RandomColor(random, 90, 200);
  const double horizon = 0.45 + random.Unit() * 0.25;
  const double hillPhase = random.Unit() * 6.283, hillWaves = 1.0 + random.Unit() * 3.0, hillHeight = 0.04 + random.Unit() * 0.1;
  std::vector<Shape> shapes(size_t(random.Range(kMinShapes, kMaxShapes)));
  for (Shape& s : shapes) {
    s.disc = random.Unit() < 0.5;
    s.cx = random.Unit();
    s.cy = random.Unit();
    s.rx = 0.04 + random.Unit() * 0.2;
    s.ry = s.disc ? s.rx * double(width) / height : 0.04 + random.Unit() * 0.2;
    s.angle = random.Unit() * 3.1416;
    s.inner = RandomColor(random, 40, 255);
    s.outer = RandomColor(random, 0, 200);
    s.opacity = 0.5 + random.Unit() * 0.5;
  }

  Picture p;
  p.width = width;
  p.height = height;
  p.rgb.resize(size_t(width) * height * 3);
  // What depends on the column or the shape alone, worked out once: camera-sized pictures take long otherwise.
  std::vector<double> hills(static_cast<size_t>(width));
  for (int x = 0; x < width; ++x) {
    hills[size_t(x)] = horizon + hillHeight * std::sin(hillPhase + (x + 0.5) / width * hillWaves * 6.283);
  }
  std::vector<double> cosines, sines;
  for (const Shape& s : shapes) {
    cosines.push_back(std::cos(s.angle));
    sines.push_back(std::sin(s.angle));
  }
  for (int y = 0; y < height; ++y) {
    const double v = (y + 0.5) / height;
    for (int x = 0; x < width; ++x) {
      const double u = (x + 0.5) / width;
      const double hill = hills[size_t(x)];
      Color c = v < hill ? Mix(skyTop, skyLow, v / hill) : Mix(groundFar, ground, (v - hill) / (1 - hill + 1e-9));
      for (size_t k = 0; k < shapes.size(); ++k) {
        const Shape& s = shapes[k];
        const double dx = u - s.cx, dy = v - s.cy;
        const double ca = cosines[k], sa = sines[k];
        const double px = (dx * ca + dy * sa) / s.rx, py = (-dx * sa + dy * ca) / s.ry;
        const double d = s.disc ? std::sqrt(px * px + py * py) : std::max(std::fabs(px), std::fabs(py));
        const double edge = std::max(0.0, std::min(1.0, (1.0 - d) * 12.0));  // soft, anti-aliased border
        if (edge > 0) c = Mix(c, Mix(s.inner, s.outer, std::min(1.0, d)), edge * s.opacity);
      }
      const double grain = (random.Unit() - 0.5) * 2 * kGrain;
      uint8_t* out = &p.rgb[(size_t(y) * width + x) * 3];
      out[0] = Clamp(c.r + grain);
      out[1] = Clamp(c.g + grain);
      out[2] = Clamp(c.b + grain);
    }
  }
  return p;
}

namespace {

constexpr uint32_t kBmpFileHeaderBytes = 14;
constexpr uint32_t kBmpInfoHeaderBytes = 40;
constexpr uint32_t kPixelsPerMeter72Dpi = 2835;

void PngChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  Put32BE(out, uint32_t(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  Put32BE(out, uint32_t(crc32(crc32(0, nullptr, 0), out.data() + start, uInt(out.size() - start))));
}

}  // namespace

void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (!safefile::WriteWholeFile(path, bytes.data(), bytes.size())) throw std::runtime_error("cannot write " + path);
}

void WriteBmp(const std::string& path, const Picture& p) {
  const uint32_t stride = (uint32_t(p.width) * 3 + 3) & ~3u;
  const uint32_t imageBytes = stride * uint32_t(p.height);
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, kBmpFileHeaderBytes + kBmpInfoHeaderBytes + imageBytes);
  Put32(out, 0);
  Put32(out, kBmpFileHeaderBytes + kBmpInfoHeaderBytes);
  Put32(out, kBmpInfoHeaderBytes);
  Put32(out, uint32_t(p.width));
  Put32(out, uint32_t(p.height));  // bottom-up rows
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, imageBytes);
  Put32(out, kPixelsPerMeter72Dpi);
  Put32(out, kPixelsPerMeter72Dpi);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = p.height - 1; y >= 0; --y) {
    const uint8_t* row = &p.rgb[size_t(y) * p.width * 3];
    for (int x = 0; x < p.width; ++x) {
      out.push_back(row[x * 3 + 2]);
      out.push_back(row[x * 3 + 1]);
      out.push_back(row[x * 3]);
    }
    out.resize(out.size() + (stride - uint32_t(p.width) * 3), 0);
  }
  WriteFileAtomically(path, out);
}

void WritePng(const std::string& path, const Picture& p) {
  // Each row with filter type 1 (difference to the left neighbour), which suits smooth pictures.
  const size_t rowBytes = size_t(p.width) * 3;
  std::vector<uint8_t> raw;
  raw.reserve((rowBytes + 1) * p.height);
  for (int y = 0; y < p.height; ++y) {
    const uint8_t* row = &p.rgb[size_t(y) * rowBytes];
    raw.push_back(1);
    for (size_t i = 0; i < rowBytes; ++i) raw.push_back(uint8_t(row[i] - (i >= 3 ? row[i - 3] : 0)));
  }
  uLongf packedSize = compressBound(uLong(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
    throw std::runtime_error("zlib failed for " + path);
  packed.resize(packedSize);

  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<uint8_t> out(kSignature, kSignature + 8);
  std::vector<uint8_t> ihdr;
  Put32BE(ihdr, uint32_t(p.width));
  Put32BE(ihdr, uint32_t(p.height));
  ihdr.push_back(8);  // bits per channel
  ihdr.push_back(2);  // colour type: RGB
  ihdr.push_back(0);  // deflate
  ihdr.push_back(0);  // adaptive filtering
  ihdr.push_back(0);  // no interlace
  PngChunk(out, "IHDR", ihdr);
  PngChunk(out, "IDAT", packed);
  PngChunk(out, "IEND", {});
  WriteFileAtomically(path, out);
}

Picture Downscale(const Picture& p, int width, int height) {
  Picture out;
  out.width = width;
  out.height = height;
  out.rgb.resize(size_t(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const int y0 = int(int64_t(y) * p.height / height), y1 = std::max(y0 + 1, int(int64_t(y + 1) * p.height / height));
    for (int x = 0; x < width; ++x) {
      const int x0 = int(int64_t(x) * p.width / width), x1 = std::max(x0 + 1, int(int64_t(x + 1) * p.width / width));
      uint64_t sum[3] = {0, 0, 0};
      for (int sy = y0; sy < y1; ++sy) {
        const uint8_t* row = &p.rgb[(size_t(sy) * p.width + x0) * 3];
        for (int i = 0; i < (x1 - x0) * 3; ++i) sum[i % 3] += row[i];
      }
      const uint64_t n = uint64_t(y1 - y0) * (x1 - x0);
      for (int c = 0; c < 3; ++c) out.rgb[(size_t(y) * width + x) * 3 + c] = uint8_t((sum[c] + n / 2) / n);
    }
  }
  return out;
}

std::vector<uint8_t> EncodeJpeg(const Picture& p, int quality) {
  ijl::Image image;
  image.width = p.width;
  image.height = p.height;
  image.channels = 3;
  image.pixels = p.rgb;
  std::vector<uint8_t> jpeg;
  const int result = ijl::encodeImage(image, quality, &jpeg);
  if (!ijl::succeeded(result)) throw std::runtime_error("JPEG encoding failed (" + std::to_string(result) + ")");
  return jpeg;
}

void WriteJpeg(const std::string& path, const Picture& p, int quality) { WriteFileAtomically(path, EncodeJpeg(p, quality)); }

}  // namespace samplegen
