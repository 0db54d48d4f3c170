// Format records, error names and the platform's sample/time arithmetic.
#include <climits>

#include "riff.h"

namespace avi {

std::vector<uint8_t> MakeBitmapInfoHeader(int width, int height, int bits) {
  const uint32_t imageBytes = uint32_t(((width * bits + 31) / 32) * 4 * height);
  std::vector<uint8_t> b;
  riff::Put32(b, uint32_t(kBitmapInfoHeaderSize));
  riff::Put32(b, uint32_t(width));
  riff::Put32(b, uint32_t(height));
  riff::Put16(b, 1);  // planes
  riff::Put16(b, uint32_t(bits));
  riff::Put32(b, 0);  // BI_RGB
  riff::Put32(b, imageBytes);
  for (int i = 0; i < 4; ++i) riff::Put32(b, 0);  // resolutions and colour counts
  return b;
}

std::vector<uint8_t> MakePcmFormat(int channels, int samplesPerSec, int bitsPerSample) {
  const int block = channels * bitsPerSample / 8;
  std::vector<uint8_t> w;
  riff::Put16(w, kWaveFormatPcm);
  riff::Put16(w, uint32_t(channels));
  riff::Put32(w, uint32_t(samplesPerSec));
  riff::Put32(w, uint32_t(samplesPerSec * block));
  riff::Put16(w, uint32_t(block));
  riff::Put16(w, uint32_t(bitsPerSample));
  riff::Put16(w, 0);  // cbSize
  return w;
}

const char* ErrcName(Errc code) {
  switch (code) {
    case Errc::kIo: return "i/o error";
    case Errc::kNotRiff: return "not a RIFF file";
    case Errc::kNotAvi: return "not an AVI file";
    case Errc::kNotWave: return "not a WAVE file";
    case Errc::kTruncated: return "truncated";
    case Errc::kBadHeader: return "bad header";
    case Errc::kBadFormat: return "bad format record";
    case Errc::kTooLarge: return "too large";
    case Errc::kTooManyStreams: return "too many streams";
    case Errc::kNoStream: return "no such stream";
    case Errc::kBadRange: return "range outside the stream";
    case Errc::kEmptyRange: return "empty range";
    case Errc::kFormatMismatch: return "incompatible formats";
    case Errc::kUnsupported: return "unsupported";
  }
  return "unknown";
}

std::string FourCCText(FourCC code) {
  std::string text;
  for (int i = 0; i < 4; ++i) {
    char c = char(code >> (8 * i));
    text += (c >= 32 && c < 127) ? c : '?';
  }
  return text;
}

VideoFormat ParseVideoFormat(const uint8_t* p, size_t size) {
  if (size < kBitmapInfoHeaderSize) riff::Fail(Errc::kBadFormat, "video format shorter than a BITMAPINFOHEADER");
  VideoFormat f;
  f.headerSize = riff::Get32(p);
  f.width = int32_t(riff::Get32(p + 4));
  f.height = int32_t(riff::Get32(p + 8));
  f.planes = riff::Get16(p + 12);
  f.bitCount = riff::Get16(p + 14);
  f.compression = riff::Get32(p + 16);
  f.sizeImage = riff::Get32(p + 20);
  f.colorsUsed = riff::Get32(p + 32);
  if (f.headerSize < kBitmapInfoHeaderSize || f.headerSize > size)
    riff::Fail(Errc::kBadFormat, "video format record size inconsistent");
  if (f.width <= 0 || f.height == 0 || f.height == INT32_MIN) riff::Fail(Errc::kBadFormat, "video frame size invalid");
  return f;
}

AudioFormat ParseAudioFormat(const uint8_t* p, size_t size) {
  if (size < kWaveFormatMinSize) riff::Fail(Errc::kBadFormat, "sound format shorter than a WAVEFORMAT");
  AudioFormat f;
  f.formatTag = riff::Get16(p);
  f.channels = riff::Get16(p + 2);
  f.samplesPerSec = riff::Get32(p + 4);
  f.avgBytesPerSec = riff::Get32(p + 8);
  f.blockAlign = riff::Get16(p + 12);
  if (size >= 16) f.bitsPerSample = riff::Get16(p + 14);
  if (size >= 18) f.extraSize = riff::Get16(p + 16);
  f.subFormatTag = f.formatTag;
  // WAVEFORMATEXTENSIBLE: 22 extra bytes, the sub-format GUID's first two bytes are the real tag.
  constexpr size_t kExtensibleBytes = 18 + 22;
  if (f.formatTag == kWaveFormatExtensible && size >= kExtensibleBytes && f.extraSize >= 22)
    f.subFormatTag = riff::Get16(p + 24);
  if (f.channels == 0 || f.blockAlign == 0) riff::Fail(Errc::kBadFormat, "sound format has no channels or block size");
  return f;
}

namespace {

// (a * b * c) / d for a < 2^31, b < 2^32, c == 1000 or 1, d < 2^42, exactly, rounded as asked.
int32_t Scaled(uint64_t a, uint64_t b, uint64_t c, uint64_t d, bool roundUp) {
  const uint64_t ab = a * b;  // < 2^63
  const uint64_t whole = ab / d, rest = ab % d;
  if (whole > uint64_t(INT32_MAX)) return -1;
  const uint64_t restScaled = rest * c;  // < 2^42 * 1000
  uint64_t result = whole * c + restScaled / d;
  if (roundUp && restScaled % d != 0) ++result;
  if (result > uint64_t(INT32_MAX)) return -1;
  return int32_t(result);
}

bool Inside(const StreamInfo& info, int64_t sample) {
  return sample >= info.start && sample <= int64_t(info.start) + info.length;
}

// Streams with a thousand or more samples a second (sound) round up so that a time maps to the first
// sample that plays at or after it.
bool Fast(const StreamInfo& info) { return info.rate / info.scale >= 1000; }

}  // namespace

int32_t SampleToTime(const StreamInfo& info, int32_t sample) {
  if (info.rate == 0 || info.scale == 0 || sample < 0 || !Inside(info, sample)) return -1;
  return Scaled(uint64_t(sample), info.scale, 1000, info.rate, Fast(info));
}

int32_t TimeToSample(const StreamInfo& info, int32_t timeMs) {
  if (info.rate == 0 || info.scale == 0 || timeMs < 0) return -1;
  const int32_t sample = Scaled(uint64_t(timeMs), info.rate, 1, uint64_t(info.scale) * 1000, Fast(info));
  if (sample < 0 || !Inside(info, sample)) return -1;
  return sample;
}

int32_t CorrespondingSample(const StreamInfo& reference, const StreamInfo& stream, int32_t refSample) {
  const int32_t time = SampleToTime(reference, refSample);
  return time < 0 ? -1 : TimeToSample(stream, time);
}

SampleRange CorrespondingRange(const StreamInfo& reference, const StreamInfo& stream, int32_t start, int32_t length) {
  if (length < 0 || start < reference.start || int64_t(start) + length > int64_t(reference.start) + reference.length)
    riff::Fail(Errc::kBadRange, "range outside the reference stream");
  if (length == 0) return {};
  // The end is exclusive: the range ends where the sample after it begins, so that equal-rate streams get
  // equal lengths and sound keeps the last frame's share.
  int32_t first = CorrespondingSample(reference, stream, start);
  int32_t last = CorrespondingSample(reference, stream, start + length);
  if (first < 0 && last < 0) return {};
  if (first < 0) first = stream.start;
  if (last < 0) last = stream.start + stream.length;
  if (last <= first) return {};
  return {first, last - first};
}

}  // namespace avi
