// Editable streams: a stream is a list of pieces of shared, immutable chunk data.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "avi/format.h"

namespace avi {

// Where chunk bytes live: an open file or a memory block. Shared by every stream and piece that refers to
// it, so that copies, clones and pastes never copy sample data.
class ChunkSource {
 public:
  virtual ~ChunkSource() = default;
  // Reads `size` bytes at `offset` into `out`; throws Error(kIo) when they cannot be read.
  virtual void Read(uint32_t offset, uint32_t size, uint8_t* out) const = 0;
};

class MemorySource : public ChunkSource {
 public:
  explicit MemorySource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
  void Read(uint32_t offset, uint32_t size, uint8_t* out) const override;
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

// A file kept open for reading while any stream refers to it.
class FileSource : public ChunkSource {
 public:
  explicit FileSource(const std::string& path);  // throws Error(kIo)
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  void Read(uint32_t offset, uint32_t size, uint8_t* out) const override;
  uint64_t size() const { return size_; }

 private:
  mutable std::mutex mutex_;  // streams sharing the file may be read from the thumbnail thread
  std::FILE* file_ = nullptr;
  uint64_t size_ = 0;
};

// A run of bytes of one chunk, or a whole chunk. For streams with a fixed sample size it holds a whole
// number of samples; otherwise it is exactly one sample.
struct Piece {
  std::shared_ptr<const ChunkSource> source;
  uint32_t offset = 0;
  uint32_t size = 0;
  bool keyFrame = true;
  uint16_t chunkType = 0;  // the two letters after the stream number ("dc", "db", "wb"), little-endian
};

struct PasteResult {
  int32_t position = 0;  // where the samples went in
  int32_t length = 0;    // how many samples were inserted
};

class Stream {
 public:
  // An empty stream of the given kind; the format bytes are a BITMAPINFOHEADER (video) or a WAVEFORMATEX
  // (sound) and are kept verbatim. info.length is recomputed from the pieces.
  Stream(StreamInfo info, std::vector<uint8_t> format);

  const StreamInfo& info() const { return info_; }
  StreamInfo& mutableInfo() { return info_; }  // for names, quality, handler; length is the library's
  const std::vector<uint8_t>& format() const { return format_; }
  bool isVideo() const { return info_.type == kStreamTypeVideo; }
  bool isAudio() const { return info_.type == kStreamTypeAudio; }
  VideoFormat videoFormat() const;  // throws kBadFormat for other streams or short records
  AudioFormat audioFormat() const;

  int32_t start() const { return info_.start; }
  int32_t length() const { return info_.length; }
  int32_t end() const { return info_.start + info_.length; }
  int32_t SampleToTime(int32_t sample) const { return avi::SampleToTime(info_, sample); }
  int32_t TimeToSample(int32_t timeMs) const { return avi::TimeToSample(info_, timeMs); }
  int32_t startTime() const { return SampleToTime(start()); }
  int32_t endTime() const { return SampleToTime(end()); }
  int32_t lengthTime() const { return SampleToTime(end()) - SampleToTime(start()); }

  // Reading. ReadSamples gives the bytes of `count` samples from `position`; for streams whose samples
  // vary in size, a count of 1 gives one chunk (a frame).
  std::vector<uint8_t> ReadSamples(int32_t position, int32_t count) const;
  bool IsKeyFrame(int32_t position) const;
  int32_t PreviousKeyFrame(int32_t position) const;  // the key frame at or before position, -1 if none

  // Building: appends one chunk's bytes (one sample, or whole samples for fixed-size streams).
  void Append(std::vector<uint8_t> bytes, bool keyFrame = true);
  void AppendPiece(Piece piece);
  const std::vector<Piece>& pieces() const { return pieces_; }

  // Editing; positions are sample numbers (from start()). Cut and Copy throw kBadRange outside the
  // stream and kEmptyRange for a zero length; Paste throws kFormatMismatch for an incompatible source.
  Stream Cut(int32_t position, int32_t length);
  Stream Copy(int32_t position, int32_t length) const;
  PasteResult Paste(int32_t position, const Stream& source, int32_t start, int32_t length);
  Stream Clone() const { return *this; }

  // A stream like `like` with no samples, and one holding `samples` samples of silence (PCM and float
  // sound only: 8-bit samples are 128, wider ones 0; chunks of at most 2048 bytes for 8-bit and 16384
  // bytes otherwise, always whole blocks). Silence of other formats throws kUnsupported.
  static Stream EmptyLike(const Stream& like);
  static Stream SilenceLike(const Stream& like, int32_t samples);

  // Extra chunks of the stream's header list other than strh/strf/strn (e.g. 'strd' codec data),
  // each as fourcc followed by payload, written back verbatim.
  struct ExtraChunk {
    FourCC id = 0;
    std::vector<uint8_t> bytes;
  };
  std::vector<ExtraChunk>& extraChunks() { return extra_; }
  const std::vector<ExtraChunk>& extraChunks() const { return extra_; }

 private:
  uint32_t SamplesIn(const Piece& piece) const;
  size_t SplitAt(int32_t relative);  // makes a piece boundary at a relative sample; returns piece index
  void RecountLength();
  void CheckRange(int32_t position, int32_t length) const;

  StreamInfo info_;
  std::vector<uint8_t> format_;
  std::vector<ExtraChunk> extra_;
  std::vector<Piece> pieces_;
};

}  // namespace avi
