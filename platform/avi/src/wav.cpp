// RIFF 'WAVE' headers: the format chunk and the data chunk's place, from memory or from a file.
#include <algorithm>
#include <cstdio>

#include "avi/file.h"
#include "avi/wav.h"
#include "riff.h"
#include "safefile/safefile.h"

namespace avi {

namespace {

// A caller's buffer seen as a chunk source, without copying it.
class SpanSource : public ChunkSource {
 public:
  SpanSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  void Read(uint32_t offset, uint32_t size, uint8_t* out) const override {
    if (uint64_t(offset) + size > size_) riff::Fail(Errc::kTruncated, "header ends early");
    if (size) std::memcpy(out, data_ + offset, size);
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

// Format chunks need the fields up to the block alignment and one more byte (the historic check).
constexpr uint32_t kMinFormatChunk = 14;

WaveHeader Parse(const ChunkSource& source, uint64_t size, bool requireData) {
  uint8_t head[12];
  if (size < 4) riff::Fail(Errc::kTruncated, "shorter than a RIFF signature");
  source.Read(0, 4, head);
  if (riff::Get32(head) != riff::kRiff) riff::Fail(Errc::kNotRiff, "no RIFF signature");
  if (size < 12) riff::Fail(Errc::kTruncated, "shorter than a RIFF header");
  source.Read(0, 12, head);
  if (riff::Get32(head + 8) != riff::kWave) riff::Fail(Errc::kNotWave, "RIFF form is not WAVE");
  const uint64_t limit = std::min<uint64_t>(uint64_t(riff::Get32(head + 4)) + 8, size);

  WaveHeader header;
  bool haveFormat = false;
  for (uint64_t pos = 12; pos + riff::kChunkHeaderBytes <= limit;) {
    uint8_t ch[riff::kChunkHeaderBytes];
    source.Read(uint32_t(pos), sizeof ch, ch);
    const FourCC id = riff::Get32(ch);
    const uint32_t chunkSize = riff::Get32(ch + 4);
    const uint64_t dataAt = pos + riff::kChunkHeaderBytes;
    if (id == riff::kFmt && !haveFormat) {
      if (chunkSize < kMinFormatChunk) riff::Fail(Errc::kBadFormat, "format chunk too small");
      if (chunkSize > kMaxWaveFormatBytes) riff::Fail(Errc::kTooLarge, "format chunk too large");
      if (dataAt + chunkSize > limit) riff::Fail(Errc::kTruncated, "format chunk cut off");
      header.formatBytes.resize(chunkSize);
      source.Read(uint32_t(dataAt), chunkSize, header.formatBytes.data());
      header.format = ParseAudioFormat(header.formatBytes.data(), chunkSize);
      haveFormat = true;
    } else if (id == riff::kData && !header.hasData) {
      header.hasData = true;
      header.dataOffset = uint32_t(dataAt);
      header.dataSize = uint32_t(std::min<uint64_t>(chunkSize, limit > dataAt ? limit - dataAt : 0));
    }
    if (haveFormat && header.hasData) break;
    pos = dataAt + uint64_t(chunkSize) + (chunkSize & 1);
  }
  if (!haveFormat) riff::Fail(Errc::kBadFormat, "no format chunk");
  if (requireData && !header.hasData) riff::Fail(Errc::kBadHeader, "no data chunk");
  return header;
}

}  // namespace

WaveHeader ParseWaveHeader(const uint8_t* data, size_t size) {
  return Parse(SpanSource(data, size), size, false);
}

WaveHeader ReadWaveHeader(const std::string& path) {
  FileSource source(path);
  if (source.size() > kMaxFileBytes) riff::Fail(Errc::kTooLarge, "file larger than 2 GB");
  return Parse(source, source.size(), true);
}

void WriteWaveFile(const std::string& path, const std::vector<uint8_t>& formatBytes, const std::vector<uint8_t>& samples) {
  ParseAudioFormat(formatBytes.data(), formatBytes.size());
  std::vector<uint8_t> body;
  riff::Put32(body, riff::kWave);
  riff::PutChunk(body, riff::kFmt, formatBytes);
  riff::PutChunk(body, riff::kData, samples);
  std::vector<uint8_t> file;
  riff::Put32(file, riff::kRiff);
  riff::Put32(file, uint32_t(body.size()));
  riff::PutBytes(file, body);

  if (!safefile::WriteWholeFile(path, file.data(), file.size())) riff::Fail(Errc::kIo, "cannot write " + path);
}

}  // namespace avi
