// Sample clips and sounds: frames drawn here, sound synthesised here, both stored with our AVI container.
#include "media.h"

#include <cmath>

#include "picture.h"

namespace samplegen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kToneHz = 440.0;
constexpr double kSweepFromHz = 220.0, kSweepToHz = 880.0;
constexpr double kAmplitude = 0.6;  // of full scale

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}

// One frame as a bottom-up BGR DIB: the background picture with a ball at the frame's place.
std::vector<uint8_t> Frame(const Picture& background, int frame, int frames) {
  const int w = background.width, h = background.height, stride = (w * 3 + 3) & ~3;
  const double t = frames > 1 ? double(frame) / (frames - 1) : 0;
  const double bx = w * (0.15 + 0.7 * t), by = h * (0.5 - 0.3 * std::sin(t * kPi)), r = h * 0.12;
  std::vector<uint8_t> dib(size_t(stride) * h, 0);
  for (int y = 0; y < h; ++y) {
    uint8_t* out = &dib[size_t(h - 1 - y) * stride];
    for (int x = 0; x < w; ++x) {
      const uint8_t* in = &background.rgb[(size_t(y) * w + x) * 3];
      const double d = std::hypot(x + 0.5 - bx, y + 0.5 - by);
      const double cover = std::max(0.0, std::min(1.0, r - d + 0.5));
      out[x * 3 + 0] = uint8_t(in[2] + (40 - in[2]) * cover);
      out[x * 3 + 1] = uint8_t(in[1] + (60 - in[1]) * cover);
      out[x * 3 + 2] = uint8_t(in[0] + (230 - in[0]) * cover);
    }
  }
  return dib;
}

}  // namespace

avi::AviFile MakeClip(const ClipShape& shape, uint32_t seed) {
  avi::StreamInfo video;
  video.type = avi::kStreamTypeVideo;
  video.handler = avi::MakeFourCC('D', 'I', 'B', ' ');
  video.scale = 1;
  video.rate = uint32_t(shape.fps);
  video.frame = {0, 0, shape.width, shape.height};
  video.name = "Video";
  avi::AviFile clip;
  clip.streams().emplace_back(video, avi::MakeBitmapInfoHeader(shape.width, shape.height, 24));
  const Picture background = DrawPhoto(shape.width, shape.height, seed);
  for (int f = 0; f < shape.frames; ++f) clip.streams()[0].Append(Frame(background, f, shape.frames), true);

  if (shape.soundRate > 0) {
    avi::StreamInfo sound;
    sound.type = avi::kStreamTypeAudio;
    sound.scale = 1;
    sound.rate = uint32_t(shape.soundRate);
    sound.sampleSize = 1;
    sound.name = "Audio";
    clip.streams().emplace_back(sound, avi::MakePcmFormat(1, shape.soundRate, 8));
    // One chunk of sound per frame, as capture programs write them.
    const int total = int(int64_t(shape.frames) * shape.soundRate / shape.fps);
    for (int f = 0; f < shape.frames; ++f) {
      std::vector<uint8_t> chunk;
      const int from = int(int64_t(f) * shape.soundRate / shape.fps), to = int(int64_t(f + 1) * shape.soundRate / shape.fps);
      for (int n = from; n < to && n < total; ++n)
        chunk.push_back(uint8_t(128 + 127 * kAmplitude * std::sin(2 * kPi * kToneHz * n / shape.soundRate)));
      clip.streams()[1].Append(std::move(chunk));
    }
  }
  return clip;
}

void WriteSweepWav(const std::string& path, int rate, double seconds) {
  const int total = int(rate * seconds);
  std::vector<uint8_t> samples;
  double phase = 0;
  for (int n = 0; n < total; ++n) {
    const double hz = kSweepFromHz + (kSweepToHz - kSweepFromHz) * n / total;
    phase += 2 * kPi * hz / rate;
    Put16(samples, uint32_t(int16_t(32767 * kAmplitude * std::sin(phase))) & 0xffff);
  }
  avi::WriteWaveFile(path, avi::MakePcmFormat(1, rate, 16), samples);
}

}  // namespace samplegen
