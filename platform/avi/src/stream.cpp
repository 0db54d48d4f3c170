// Chunk sources and editable streams over shared pieces of chunk data.
#include <algorithm>
#include <climits>

#include "avi/stream.h"
#include "riff.h"

namespace avi {

void MemorySource::Read(uint32_t offset, uint32_t size, uint8_t* out) const {
  if (uint64_t(offset) + size > bytes_.size()) riff::Fail(Errc::kIo, "read past the end of a memory block");
  if (size) std::memcpy(out, bytes_.data() + offset, size);
}

FileSource::FileSource(const std::string& path) {
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) riff::Fail(Errc::kIo, "cannot open " + path);
  if (std::fseek(file_, 0, SEEK_END) != 0) {
    std::fclose(file_);
    riff::Fail(Errc::kIo, "cannot seek in " + path);
  }
  const long end = std::ftell(file_);
  if (end < 0) {
    std::fclose(file_);
    riff::Fail(Errc::kIo, "cannot size " + path);
  }
  size_ = uint64_t(end);
}

FileSource::~FileSource() {
  if (file_) std::fclose(file_);
}

void FileSource::Read(uint32_t offset, uint32_t size, uint8_t* out) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (uint64_t(offset) + size > size_ || offset > uint32_t(LONG_MAX)) riff::Fail(Errc::kIo, "read past the end of the file");
  if (std::fseek(file_, long(offset), SEEK_SET) != 0 || std::fread(out, 1, size, file_) != size)
    riff::Fail(Errc::kIo, "cannot read the file");
}

namespace {

uint16_t DefaultChunkType(const StreamInfo& info, const std::vector<uint8_t>& format) {
  if (info.type == kStreamTypeAudio) return riff::kTypeWave;
  if (info.type == kStreamTypeText) return riff::kTypeText;
  if (info.type == kStreamTypeVideo && format.size() >= kBitmapInfoHeaderSize && riff::Get32(format.data() + 16) == 0)
    return riff::kTypeUncompressedVideo;
  return riff::kTypeCompressedVideo;
}

bool SameAudio(const AudioFormat& a, const AudioFormat& b) {
  return a.subFormatTag == b.subFormatTag && a.channels == b.channels && a.samplesPerSec == b.samplesPerSec &&
         a.blockAlign == b.blockAlign && a.bitsPerSample == b.bitsPerSample;
}

bool SameVideo(const VideoFormat& a, const VideoFormat& b) {
  return a.width == b.width && a.height == b.height && a.bitCount == b.bitCount && a.compression == b.compression;
}

// Silence is written in blocks no larger than these, as whole sample blocks.
constexpr uint32_t kSilenceChunk8Bit = 2048;
constexpr uint32_t kSilenceChunkWide = 16384;
constexpr uint8_t kSilence8Bit = 128;

}  // namespace

Stream::Stream(StreamInfo info, std::vector<uint8_t> format) : info_(std::move(info)), format_(std::move(format)) {
  info_.length = 0;
}

VideoFormat Stream::videoFormat() const {
  if (!isVideo()) riff::Fail(Errc::kBadFormat, "not a video stream");
  return ParseVideoFormat(format_.data(), format_.size());
}

AudioFormat Stream::audioFormat() const {
  if (!isAudio()) riff::Fail(Errc::kBadFormat, "not a sound stream");
  return ParseAudioFormat(format_.data(), format_.size());
}

uint32_t Stream::SamplesIn(const Piece& piece) const {
  return info_.sampleSize ? piece.size / info_.sampleSize : 1;
}

void Stream::RecountLength() {
  uint64_t total = 0;
  for (const Piece& p : pieces_) total += SamplesIn(p);
  if (total > uint64_t(INT32_MAX) - uint64_t(std::max(info_.start, 0)))
    riff::Fail(Errc::kTooLarge, "stream longer than 2^31 samples");
  info_.length = int32_t(total);
}

void Stream::CheckRange(int32_t position, int32_t length) const {
  if (length < 0 || position < start() || int64_t(position) + length > int64_t(end()))
    riff::Fail(Errc::kBadRange, "sample range outside the stream");
}

size_t Stream::SplitAt(int32_t relative) {
  uint64_t at = 0;
  for (size_t i = 0; i < pieces_.size(); ++i) {
    if (at == uint64_t(relative)) return i;
    const uint32_t n = SamplesIn(pieces_[i]);
    if (uint64_t(relative) < at + n) {
      // Only fixed-size streams have pieces of several samples, so the split is at a sample boundary.
      const uint32_t headBytes = uint32_t(relative - at) * info_.sampleSize;
      Piece tail = pieces_[i];
      tail.offset += headBytes;
      tail.size -= headBytes;
      pieces_[i].size = headBytes;
      pieces_.insert(pieces_.begin() + long(i) + 1, tail);
      return i + 1;
    }
    at += n;
  }
  return pieces_.size();
}

std::vector<uint8_t> Stream::ReadSamples(int32_t position, int32_t count) const {
  CheckRange(position, count);
  std::vector<uint8_t> out;
  uint64_t at = 0;
  const uint64_t from = uint64_t(position - start()), to = from + uint64_t(count);
  for (const Piece& p : pieces_) {
    const uint32_t n = SamplesIn(p);
    if (at + n > from && at < to) {
      const uint64_t first = std::max(from, at) - at, last = std::min(to, at + n) - at;
      uint32_t offset = 0, size = p.size;
      if (info_.sampleSize) {
        offset = uint32_t(first) * info_.sampleSize;
        size = uint32_t(last - first) * info_.sampleSize;
      }
      const size_t old = out.size();
      out.resize(old + size);
      p.source->Read(p.offset + offset, size, out.data() + old);
    }
    at += n;
    if (at >= to) break;
  }
  return out;
}

bool Stream::IsKeyFrame(int32_t position) const {
  CheckRange(position, 1);
  if (info_.sampleSize) return true;
  return pieces_[size_t(position - start())].keyFrame;
}

int32_t Stream::PreviousKeyFrame(int32_t position) const {
  CheckRange(position, 1);
  if (info_.sampleSize) return position;
  for (int32_t i = position - start(); i >= 0; --i)
    if (pieces_[size_t(i)].keyFrame) return start() + i;
  return -1;
}

void Stream::Append(std::vector<uint8_t> bytes, bool keyFrame) {
  Piece piece;
  piece.size = uint32_t(bytes.size());
  piece.source = std::make_shared<MemorySource>(std::move(bytes));
  piece.keyFrame = keyFrame;
  AppendPiece(std::move(piece));
}

void Stream::AppendPiece(Piece piece) {
  if (piece.chunkType == 0) piece.chunkType = DefaultChunkType(info_, format_);
  const uint32_t samples = SamplesIn(piece);
  if (uint64_t(info_.length) + samples > uint64_t(INT32_MAX) - uint64_t(std::max(info_.start, 0)))
    riff::Fail(Errc::kTooLarge, "stream longer than 2^31 samples");
  pieces_.push_back(std::move(piece));
  info_.length += int32_t(samples);
}

Stream Stream::Cut(int32_t position, int32_t length) {
  CheckRange(position, length);
  if (length == 0) riff::Fail(Errc::kEmptyRange, "cut of an empty range");
  Stream result = EmptyLike(*this);
  const int32_t relative = position - start();
  const size_t first = SplitAt(relative);
  const size_t last = SplitAt(relative + length);
  result.pieces_.assign(pieces_.begin() + long(first), pieces_.begin() + long(last));
  result.RecountLength();
  pieces_.erase(pieces_.begin() + long(first), pieces_.begin() + long(last));
  RecountLength();
  ++info_.editCount;
  return result;
}

Stream Stream::Copy(int32_t position, int32_t length) const {
  Stream scratch = *this;  // copies piece references only
  return scratch.Cut(position, length);
}

PasteResult Stream::Paste(int32_t position, const Stream& source, int32_t start, int32_t length) {
  CheckRange(position, 0);
  source.CheckRange(start, length);
  if (source.info_.type != info_.type || source.info_.sampleSize != info_.sampleSize)
    riff::Fail(Errc::kFormatMismatch, "paste between streams of different kinds");
  if (isAudio() && !SameAudio(audioFormat(), source.audioFormat()))
    riff::Fail(Errc::kFormatMismatch, "paste between different sound formats");
  if (isVideo() && !SameVideo(videoFormat(), source.videoFormat()))
    riff::Fail(Errc::kFormatMismatch, "paste between different video formats");
  if (!isAudio() && !isVideo() && source.format_ != format_)
    riff::Fail(Errc::kFormatMismatch, "paste between different stream formats");
  if (length == 0) return {position, 0};
  const Stream inserted = source.Copy(start, length);
  const size_t at = SplitAt(position - this->start());
  pieces_.insert(pieces_.begin() + long(at), inserted.pieces_.begin(), inserted.pieces_.end());
  RecountLength();
  ++info_.editCount;
  return {position, length};
}

Stream Stream::EmptyLike(const Stream& like) {
  StreamInfo info = like.info_;
  info.start = 0;
  info.editCount = 0;
  Stream result(info, like.format_);
  result.extra_ = like.extra_;
  return result;
}

Stream Stream::SilenceLike(const Stream& like, int32_t samples) {
  const AudioFormat format = like.audioFormat();
  if (format.subFormatTag != kWaveFormatPcm && format.subFormatTag != kWaveFormatIeeeFloat)
    riff::Fail(Errc::kUnsupported, "no silence for compressed sound formats");
  if (like.info_.sampleSize != format.blockAlign)
    riff::Fail(Errc::kUnsupported, "no silence for sound streams with variable sample sizes");
  if (samples < 0 || uint64_t(samples) * format.blockAlign > uint64_t(INT32_MAX))
    riff::Fail(Errc::kTooLarge, "silence too long");
  // The byte count is samples times the block size (all channels of one sample), never the sample count.
  const bool eightBit = format.bitsPerSample == 8;
  const uint32_t limit = eightBit ? kSilenceChunk8Bit : kSilenceChunkWide;
  const uint32_t chunkBytes = std::max<uint32_t>(format.blockAlign, limit - limit % format.blockAlign);
  auto block = std::make_shared<MemorySource>(std::vector<uint8_t>(chunkBytes, eightBit ? kSilence8Bit : 0));
  Stream result = EmptyLike(like);
  uint64_t remaining = uint64_t(samples) * format.blockAlign;
  while (remaining > 0) {
    Piece piece;
    piece.source = block;
    piece.size = uint32_t(std::min<uint64_t>(remaining, chunkBytes));
    piece.chunkType = riff::kTypeWave;
    result.pieces_.push_back(piece);
    remaining -= piece.size;
  }
  result.RecountLength();
  return result;
}

}  // namespace avi
