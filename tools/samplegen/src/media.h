// Sample clips and sounds of the generator, made with our AVI container.
#pragma once

#include <cstdint>
#include <string>

#include "avi/avi.h"

namespace samplegen {

struct ClipShape {
  int width = 160;
  int height = 120;
  int fps = 10;
  int frames = 30;
  int soundRate = 11025;  // 8-bit mono PCM; 0 for a clip without sound
};

// An uncompressed 24-bit clip of a ball moving over a gradient, with a 440 Hz tone when asked.
avi::AviFile MakeClip(const ClipShape& shape, uint32_t seed);
// A 16-bit mono PCM sweep from 220 to 880 Hz.
void WriteSweepWav(const std::string& path, int rate, double seconds);

}  // namespace samplegen
