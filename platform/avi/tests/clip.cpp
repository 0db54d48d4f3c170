// Test clips built in memory.
#include "clip.h"

#include <cstdio>
#include <cstdlib>

namespace avitest {

namespace {
void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
}  // namespace

avi::Stream Video(int frames, int fps, int width, int height) {
  avi::StreamInfo info;
  info.type = avi::kStreamTypeVideo;
  info.handler = avi::MakeFourCC('D', 'I', 'B', ' ');
  info.scale = 1;
  info.rate = uint32_t(fps);
  info.frame = {0, 0, width, height};
  avi::Stream s(info, avi::MakeBitmapInfoHeader(width, height, 24));
  const size_t bytes = size_t(((width * 24 + 31) / 32) * 4 * height);
  for (int f = 0; f < frames; ++f) s.Append(std::vector<uint8_t>(bytes, uint8_t(f)), true);
  return s;
}

avi::Stream Sound(double seconds, int rate, int bits, int channels) {
  avi::StreamInfo info;
  info.type = avi::kStreamTypeAudio;
  const int block = channels * bits / 8;
  info.scale = uint32_t(block);
  info.rate = uint32_t(rate * block);
  info.sampleSize = uint32_t(block);
  avi::Stream s(info, avi::MakePcmFormat(channels, rate, bits));
  const int total = int(seconds * rate + 0.5), chunk = rate / 10;
  for (int at = 0; at < total; at += chunk) {
    std::vector<uint8_t> bytes;
    for (int n = at; n < at + chunk && n < total; ++n)
      for (int c = 0; c < channels; ++c) {
        if (bits == 8) bytes.push_back(uint8_t(n % 100 + 1));
        else Put16(bytes, uint32_t(n % 100 + 1));
      }
    s.Append(std::move(bytes));
  }
  return s;
}

avi::AviFile Clip(const std::vector<avi::Stream>& streams) {
  std::vector<const avi::Stream*> all;
  for (const avi::Stream& s : streams) all.push_back(&s);
  return avi::AviFile::FromMemory(avi::WriteToMemory(all));
}

std::vector<uint8_t> Payload(const avi::Stream& s) { return s.ReadSamples(s.start(), s.length()); }

std::string TempPath(const std::string& name) {
  const char* dir = std::getenv("TMPDIR");
#ifdef _WIN32
  const char* win = std::getenv("TEMP");
  if (win) dir = win;
#endif
  return std::string(dir ? dir : "/tmp") + "/orv_avi_" + name;
}

}  // namespace avitest
