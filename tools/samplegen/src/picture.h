// Photo-like test pictures drawn from a seed, and the BMP and PNG writers of the sample generator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace samplegen {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // top-down rows of red, green, blue
};

// A deterministic picture: a sky-to-ground gradient, a horizon of hills, soft shapes and grain.
Picture DrawPhoto(int width, int height, uint32_t seed);

// The picture reduced to width x height, each pixel the mean of the source pixels it covers.
Picture Downscale(const Picture& picture, int width, int height);

// JPEG bytes through our codec; throws std::runtime_error when encoding fails.
std::vector<uint8_t> EncodeJpeg(const Picture& picture, int quality);

// Writers; each throws std::runtime_error with the path when the file cannot be written.
void WriteBmp(const std::string& path, const Picture& picture);
void WritePng(const std::string& path, const Picture& picture);
void WriteJpeg(const std::string& path, const Picture& picture, int quality);
// Writes `bytes` to `path` through a temporary name in the same folder.
void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

// A small deterministic generator (SplitMix64), the same on every platform.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next();
  double Unit() { return double(Next() >> 11) / double(uint64_t(1) << 53); }  // [0, 1)
  int Range(int lo, int hi) { return lo + int(Unit() * (hi - lo + 1)); }      // [lo, hi]

 private:
  uint64_t state_;
};

}  // namespace samplegen
