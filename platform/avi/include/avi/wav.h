// The RIFF 'WAVE' header parser: the sound format and where the samples lie, from memory or a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "avi/format.h"

namespace avi {

struct WaveHeader {
  AudioFormat format;
  std::vector<uint8_t> formatBytes;  // the 'fmt ' chunk's payload, verbatim
  bool hasData = false;              // a 'data' chunk header was found
  uint32_t dataOffset = 0;           // file offset of the first sample byte
  uint32_t dataSize = 0;             // as declared, clipped to the bytes that exist
};

// Largest 'fmt ' payload accepted; real records are 14 to 40 bytes.
constexpr uint32_t kMaxWaveFormatBytes = 65536;

// Parses a header from the first `size` bytes of a file. The chunk walk stays within the RIFF size + 8
// and within `size`; 'fmt ' must be found and be larger than 13 bytes. The 'data' chunk is optional here
// (a partial read may stop before it). Throws Error (kNotRiff, kNotWave, kBadFormat, kTruncated).
WaveHeader ParseWaveHeader(const uint8_t* data, size_t size);

// The same over a file, walking chunk headers with seeks so that only headers are read. The data
// chunk is required. Throws Error (also kIo).
WaveHeader ReadWaveHeader(const std::string& path);

// Writes a PCM (or any format) WAV file through a temporary name. Throws Error(kIo).
void WriteWaveFile(const std::string& path, const std::vector<uint8_t>& formatBytes, const std::vector<uint8_t>& samples);

}  // namespace avi
