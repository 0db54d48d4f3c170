// Helpers for the codec tests: peer tools on PATH, temporary files, PNM images and synthetic photos.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ijl/ijl.h"

namespace ijltest {

// Fails the calling test (with a clear message) when a tool is not on PATH.
bool haveTool(const std::string& name);
// Runs a shell command; returns its exit status.
int run(const std::string& command);
// A fresh per-process scratch directory.
const std::string& scratchDir();
std::string scratchPath(const std::string& name);

std::vector<uint8_t> readFile(const std::string& path);
void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Binary PPM (P6) or PGM (P5); false when the file is not one.
bool readPnm(const std::string& path, ijl::Image* image);
void writePnm(const std::string& path, const ijl::Image& image);

// Smooth gradients, hard edges and noise: what photos look like to a codec.
ijl::Image makePhoto(int width, int height, int channels, unsigned seed);

struct Difference {
  int maxAbs = 0;
  double meanAbs = 0;
};
Difference compare(const ijl::Image& a, const ijl::Image& b);

// Decodes a file with djpeg (extra options such as "-scale 1/8") to a PNM image.
bool djpegDecode(const std::string& jpegPath, const std::string& options, ijl::Image* image);

}  // namespace ijltest
