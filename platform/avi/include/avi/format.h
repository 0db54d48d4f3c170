// Stream and file descriptions, the format records of video and sound streams, and sample/time arithmetic.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace avi {

using FourCC = uint32_t;

constexpr FourCC MakeFourCC(char a, char b, char c, char d) {
  return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 | uint32_t(uint8_t(d)) << 24;
}
std::string FourCCText(FourCC code);

constexpr FourCC kStreamTypeVideo = MakeFourCC('v', 'i', 'd', 's');
constexpr FourCC kStreamTypeAudio = MakeFourCC('a', 'u', 'd', 's');
constexpr FourCC kStreamTypeMidi = MakeFourCC('m', 'i', 'd', 's');
constexpr FourCC kStreamTypeText = MakeFourCC('t', 'x', 't', 's');

// Flags of a stream header and of an index entry, as the AVI format defines them.
constexpr uint32_t kStreamFlagDisabled = 0x00000001;
constexpr uint32_t kIndexFlagKeyFrame = 0x00000010;

// Sound format tags this library knows how to fill with silence.
constexpr uint16_t kWaveFormatPcm = 0x0001;
constexpr uint16_t kWaveFormatIeeeFloat = 0x0003;
constexpr uint16_t kWaveFormatExtensible = 0xFFFE;

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// One stream's description, field for field what the platform's stream information record carries.
struct StreamInfo {
  FourCC type = 0;     // kStreamTypeVideo, kStreamTypeAudio, ...
  FourCC handler = 0;  // compressor code of a video stream ("DIB ", "mrle", ...), usually 0 for sound
  uint32_t flags = 0;
  uint32_t caps = 0;
  uint16_t priority = 0;
  uint16_t language = 0;
  uint32_t scale = 1;  // rate / scale = samples per second
  uint32_t rate = 1;
  int32_t start = 0;   // first sample number
  int32_t length = 0;  // number of samples
  uint32_t initialFrames = 0;
  uint32_t suggestedBufferSize = 0;
  int32_t quality = -1;     // -1: the default quality
  uint32_t sampleSize = 0;  // bytes per sample; 0 when samples vary in size (one chunk each)
  Rect frame;
  uint32_t editCount = 0;
  uint32_t formatChangeCount = 0;
  std::string name;  // from the stream's 'strn' chunk
};

// The file-wide description, like the platform's file information record.
struct FileInfo {
  uint32_t maxBytesPerSec = 0;
  uint32_t flags = 0;
  uint32_t caps = 0;
  uint32_t streams = 0;
  uint32_t suggestedBufferSize = 0;
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t scale = 0;  // of the first stream (normally the video): the file's time base
  uint32_t rate = 0;
  int32_t length = 0;  // in the file's time base
  uint32_t editCount = 0;
  std::string fileType;
};

// Main header flags.
constexpr uint32_t kFileFlagHasIndex = 0x00000010;
constexpr uint32_t kFileFlagIsInterleaved = 0x00000100;

// The essentials of a BITMAPINFOHEADER; the record itself stays as opaque bytes with its stream.
struct VideoFormat {
  uint32_t headerSize = 0;
  int32_t width = 0;
  int32_t height = 0;  // negative: top-down rows
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  uint32_t compression = 0;  // 0 = uncompressed RGB, 1 = RLE8, 2 = RLE4, or a fourcc
  uint32_t sizeImage = 0;
  uint32_t colorsUsed = 0;
};

// The essentials of a WAVEFORMATEX (and of WAVEFORMATEXTENSIBLE's sub-format).
struct AudioFormat {
  uint16_t formatTag = 0;  // as stored; kWaveFormatExtensible for the extensible record
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;  // 0 when the record is a bare 14-byte WAVEFORMAT
  uint16_t extraSize = 0;      // cbSize; 0 when the record has none
  uint16_t subFormatTag = 0;   // extensible: the tag named by the sub-format GUID; otherwise formatTag
};

// Minimum sizes of the records above.
constexpr size_t kBitmapInfoHeaderSize = 40;
constexpr size_t kWaveFormatMinSize = 14;

// Parse the records; kBadFormat when too short or inconsistent (no throw for a valid prefix).
VideoFormat ParseVideoFormat(const uint8_t* data, size_t size);
AudioFormat ParseAudioFormat(const uint8_t* data, size_t size);

// Build the records for uncompressed streams: a 40-byte BITMAPINFOHEADER (bottom-up, no colour table) and a
// PCM WAVEFORMATEX (18 bytes, cbSize 0).
std::vector<uint8_t> MakeBitmapInfoHeader(int width, int height, int bits);
std::vector<uint8_t> MakePcmFormat(int channels, int samplesPerSec, int bitsPerSample);

// Sample/time conversion in milliseconds as the platform does it: -1 when the rate (or scale) is 0, or
// when the position falls outside [start, start + length]. Streams faster than 1000 samples a second round
// up, slower ones truncate. Computed exactly in 64 bits.
int32_t SampleToTime(const StreamInfo& info, int32_t sample);
int32_t TimeToSample(const StreamInfo& info, int32_t timeMs);

// The sample of `stream` at the time of `refSample` of the reference stream, -1 when outside `stream`.
int32_t CorrespondingSample(const StreamInfo& reference, const StreamInfo& stream, int32_t refSample);

struct SampleRange {
  int32_t start = 0;
  int32_t length = 0;
};

// The range of `stream` that plays at the same time as [start, start + length) of the reference. An end
// outside `stream` is pulled in to its start or end; a range that misses it entirely is (0, 0). Throws
// kBadRange when the reference range is outside the reference.
SampleRange CorrespondingRange(const StreamInfo& reference, const StreamInfo& stream, int32_t start, int32_t length);

}  // namespace avi
