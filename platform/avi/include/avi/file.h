// AVI files: reading RIFF 'AVI ' files into streams, editing all streams at once, saving as AVI 1.0.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "avi/format.h"
#include "avi/stream.h"

namespace avi {

// Limits that keep malformed files from causing huge allocations.
constexpr int kMaxStreams = 100;                    // stream numbers are two decimal digits in chunk ids
constexpr uint32_t kMaxHeaderListBytes = 1u << 24;  // LIST 'hdrl'
constexpr uint32_t kMaxFormatBytes = 1u << 20;      // one 'strf'
constexpr uint32_t kMaxIndexBytes = 1u << 26;       // 'idx1'
constexpr uint64_t kMaxFileBytes = 0x7fffffffu;     // AVI 1.0 offsets and sizes, and 32-bit seeks

class AviFile {
 public:
  AviFile() = default;

  // Reads a file; chunk data stays in the file and is read on demand. Throws Error.
  static AviFile Open(const std::string& path);
  // Reads a file image from memory (tests, fuzzing, clipboard data).
  static AviFile FromMemory(std::vector<uint8_t> bytes);

  std::vector<Stream>& streams() { return streams_; }
  const std::vector<Stream>& streams() const { return streams_; }
  int streamCount() const { return int(streams_.size()); }
  Stream& stream(int index);  // throws kNoStream
  const Stream& stream(int index) const;
  // The index of the `nth` stream of the given type (0 = any type), -1 when there is none; like
  // the platform's file-level stream lookup.
  int FindStream(FourCC type, int nth) const;
  FileInfo info() const;
  // Whether the file being read had an idx1 index that matched its chunks (false: movi was scanned).
  bool indexUsed() const { return indexUsed_; }

  // Editing all streams at once, the first stream being the reference (normally the video): every other
  // stream uses the range corresponding in time (CorrespondingRange). Cut/Copy/Clone return a new file of
  // the resulting streams; a stream whose range is empty throws kEmptyRange, and nothing is changed then.
  AviFile CutAll(int32_t start, int32_t length);
  AviFile CopyAll(int32_t start, int32_t length) const;
  AviFile CloneAll() const { return *this; }
  // Inserts [start, start + length) of the source's reference at `position` of this file's reference,
  // and the corresponding ranges of the other streams at their corresponding positions. A sound stream
  // the source lacks gets silence of the matching length; a stream this file lacks is added, filled with
  // silence up to the paste position where it is sound. Returns what the reference's paste reports.
  PasteResult PasteAll(int32_t position, const AviFile& source, int32_t start, int32_t length);

  // Saves all streams as AVI 1.0 with an idx1 index, interleaved by time, through a temporary file in the
  // target's folder that replaces the target only when complete. On failure the target is unchanged and
  // the temporary file is removed. Throws Error(kIo, kTooLarge).
  void Save(const std::string& path) const;

 private:
  std::vector<Stream> streams_;
  FileInfo header_;  // as read; the saved header is rebuilt from the streams
  bool indexUsed_ = false;

  friend AviFile ReadAvi(std::shared_ptr<const ChunkSource> source, uint64_t size);
};

// Saves any set of streams (e.g. some streams of several files).
void SaveStreams(const std::string& path, const std::vector<const Stream*>& streams);

// The bytes of an AVI 1.0 file of the streams, as Save writes them (tests).
std::vector<uint8_t> WriteToMemory(const std::vector<const Stream*>& streams);

}  // namespace avi
