// Test clips built in memory: a frame-numbered video stream and a PCM sound stream.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "avi/avi.h"

namespace avitest {

// `frames` frames of width x height 24-bit pixels at `fps`, each filled with its frame number.
avi::Stream Video(int frames, int fps = 10, int width = 16, int height = 8);
// `seconds` of sound in chunks of one tenth of a second; sample n has the value n mod 100 (+1 for 8-bit).
avi::Stream Sound(double seconds, int rate, int bits, int channels);
avi::AviFile Clip(const std::vector<avi::Stream>& streams);

// All payload bytes of a stream, in sample order.
std::vector<uint8_t> Payload(const avi::Stream& s);
std::string TempPath(const std::string& name);

}  // namespace avitest
