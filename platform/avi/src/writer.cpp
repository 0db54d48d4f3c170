// Writing AVI 1.0 files: header list rebuilt from the streams, movi chunks interleaved by time, idx1.
#include <algorithm>
#include <cstdio>

#include "avi/file.h"
#include "riff.h"
#include "safefile/safefile.h"

namespace avi {

namespace {

class Sink {
 public:
  virtual ~Sink() = default;
  virtual void Write(const uint8_t* data, size_t size) = 0;
  void Write(const std::vector<uint8_t>& bytes) { Write(bytes.data(), bytes.size()); }
};

class MemorySink : public Sink {
 public:
  std::vector<uint8_t> bytes;
  void Write(const uint8_t* data, size_t size) override { bytes.insert(bytes.end(), data, data + size); }
};

class FileSink : public Sink {
 public:
  explicit FileSink(std::FILE* file) : file_(file) {}
  void Write(const uint8_t* data, size_t size) override {
    if (size && std::fwrite(data, 1, size, file_) != size) riff::Fail(Errc::kIo, "cannot write the file");
  }

 private:
  std::FILE* file_;
};

// Payloads are copied through a buffer of this size, so a large chunk never needs its own allocation.
constexpr uint32_t kCopyBlock = 1u << 20;

struct Scheduled {
  double time = 0;  // start time of the piece in seconds, for interleaving only
  size_t stream = 0;
  size_t piece = 0;
};

uint32_t PaddedChunkBytes(uint32_t size) { return riff::kChunkHeaderBytes + size + (size & 1); }

std::vector<uint8_t> StreamHeader(const Stream& s, uint32_t largestPiece) {
  const StreamInfo& info = s.info();
  std::vector<uint8_t> h;
  riff::Put32(h, info.type);
  riff::Put32(h, info.handler);
  riff::Put32(h, info.flags);
  riff::Put16(h, info.priority);
  riff::Put16(h, info.language);
  riff::Put32(h, info.initialFrames);
  riff::Put32(h, info.scale);
  riff::Put32(h, info.rate);
  riff::Put32(h, uint32_t(info.start));
  riff::Put32(h, uint32_t(info.length));
  riff::Put32(h, largestPiece);
  riff::Put32(h, uint32_t(info.quality));
  riff::Put32(h, info.sampleSize);
  riff::Put16(h, uint16_t(info.frame.left));
  riff::Put16(h, uint16_t(info.frame.top));
  riff::Put16(h, uint16_t(info.frame.right));
  riff::Put16(h, uint16_t(info.frame.bottom));
  return h;
}

void Write(Sink& sink, const std::vector<const Stream*>& streams) {
  if (streams.empty()) riff::Fail(Errc::kNoStream, "nothing to save");
  if (streams.size() > size_t(kMaxStreams)) riff::Fail(Errc::kTooManyStreams, "more than 100 streams");
  for (const Stream* s : streams)
    if (s->info().scale == 0 || s->info().rate == 0) riff::Fail(Errc::kBadHeader, "stream with a zero rate or scale");

  // Order every piece by the time it starts; at equal times the lower stream number goes first.
  std::vector<Scheduled> order;
  std::vector<uint32_t> largest(streams.size(), 0);
  std::vector<uint64_t> bytesOf(streams.size(), 0);
  uint64_t moviBytes = 4;
  for (size_t s = 0; s < streams.size(); ++s) {
    const Stream& stream = *streams[s];
    const StreamInfo& info = stream.info();
    uint64_t sample = uint64_t(info.start);
    for (size_t p = 0; p < stream.pieces().size(); ++p) {
      const Piece& piece = stream.pieces()[p];
      order.push_back({double(sample) * info.scale / info.rate, s, p});
      sample += info.sampleSize ? piece.size / info.sampleSize : 1;
      largest[s] = std::max(largest[s], piece.size);
      bytesOf[s] += piece.size;
      moviBytes += PaddedChunkBytes(piece.size);
    }
  }
  std::stable_sort(order.begin(), order.end(), [](const Scheduled& a, const Scheduled& b) {
    return a.time < b.time || (a.time == b.time && a.stream < b.stream);
  });

  // Header list.
  const Stream* video = nullptr;
  for (const Stream* s : streams)
    if (s->isVideo()) {
      video = s;
      break;
    }
  const Stream& timeBase = video ? *video : *streams.front();
  VideoFormat frame;
  if (video) frame = video->videoFormat();
  uint64_t bytesPerSec = 0;
  for (size_t s = 0; s < streams.size(); ++s) {
    const int32_t ms = streams[s]->lengthTime();
    if (ms > 0) bytesPerSec += bytesOf[s] * 1000 / uint64_t(ms);
  }
  const uint32_t largestAll = *std::max_element(largest.begin(), largest.end());

  std::vector<uint8_t> avih;
  riff::Put32(avih, uint32_t(uint64_t(timeBase.info().scale) * 1000000 / timeBase.info().rate));
  riff::Put32(avih, uint32_t(std::min<uint64_t>(bytesPerSec, UINT32_MAX)));
  riff::Put32(avih, 0);  // padding granularity
  riff::Put32(avih, kFileFlagHasIndex | (streams.size() > 1 ? kFileFlagIsInterleaved : 0));
  riff::Put32(avih, uint32_t(timeBase.length()));
  riff::Put32(avih, 0);  // initial frames
  riff::Put32(avih, uint32_t(streams.size()));
  riff::Put32(avih, largestAll + riff::kChunkHeaderBytes);
  riff::Put32(avih, video ? uint32_t(frame.width) : 0);
  riff::Put32(avih, video ? uint32_t(frame.height < 0 ? -int64_t(frame.height) : frame.height) : 0);
  for (int i = 0; i < 4; ++i) riff::Put32(avih, 0);  // reserved

  std::vector<uint8_t> hdrl;
  riff::Put32(hdrl, riff::kHdrl);
  riff::PutChunk(hdrl, riff::kAvih, avih);
  for (size_t s = 0; s < streams.size(); ++s) {
    const Stream& stream = *streams[s];
    std::vector<uint8_t> strl;
    riff::Put32(strl, riff::kStrl);
    riff::PutChunk(strl, riff::kStrh, StreamHeader(stream, largest[s]));
    riff::PutChunk(strl, riff::kStrf, stream.format());
    for (const Stream::ExtraChunk& extra : stream.extraChunks()) riff::PutChunk(strl, extra.id, extra.bytes);
    if (!stream.info().name.empty()) {
      std::vector<uint8_t> name(stream.info().name.begin(), stream.info().name.end());
      name.push_back(0);
      riff::PutChunk(strl, riff::kStrn, name);
    }
    riff::PutChunk(hdrl, riff::kList, strl);
  }

  const uint64_t indexBytes = uint64_t(order.size()) * riff::kIndexEntryBytes;
  const uint64_t total = 12 + riff::kChunkHeaderBytes + hdrl.size() + riff::kChunkHeaderBytes + moviBytes +
                         riff::kChunkHeaderBytes + indexBytes;
  if (total > kMaxFileBytes) riff::Fail(Errc::kTooLarge, "the result would exceed the AVI 1.0 size limit");

  std::vector<uint8_t> head;
  riff::Put32(head, riff::kRiff);
  riff::Put32(head, uint32_t(total - 8));
  riff::Put32(head, riff::kAvi);
  riff::PutChunk(head, riff::kList, hdrl);
  riff::Put32(head, riff::kList);
  riff::Put32(head, uint32_t(moviBytes));
  riff::Put32(head, riff::kMovi);
  sink.Write(head);

  std::vector<uint8_t> index;
  index.reserve(size_t(indexBytes));
  std::vector<uint8_t> buffer;
  uint32_t offset = 4;  // idx1 offsets count from the 'movi' type code
  for (const Scheduled& item : order) {
    const Piece& piece = streams[item.stream]->pieces()[item.piece];
    const FourCC id = riff::ChunkId(int(item.stream), piece.chunkType);
    std::vector<uint8_t> header;
    riff::Put32(header, id);
    riff::Put32(header, piece.size);
    sink.Write(header);
    for (uint32_t done = 0; done < piece.size;) {
      const uint32_t n = std::min(kCopyBlock, piece.size - done);
      buffer.resize(n);
      piece.source->Read(piece.offset + done, n, buffer.data());
      sink.Write(buffer);
      done += n;
    }
    if (piece.size & 1) {
      const uint8_t pad = 0;
      sink.Write(&pad, 1);
    }
    riff::Put32(index, id);
    riff::Put32(index, piece.keyFrame ? kIndexFlagKeyFrame : 0);
    riff::Put32(index, offset);
    riff::Put32(index, piece.size);
    offset += PaddedChunkBytes(piece.size);
  }
  std::vector<uint8_t> tail;
  riff::PutChunk(tail, riff::kIdx1, index);
  sink.Write(tail);
}

}  // namespace

std::vector<uint8_t> WriteToMemory(const std::vector<const Stream*>& streams) {
  MemorySink sink;
  Write(sink, streams);
  return std::move(sink.bytes);
}

void SaveStreams(const std::string& path, const std::vector<const Stream*>& streams) {
  // An exception from Write leaves the pending file uncommitted, which removes it.
  safefile::PendingFile out(path);
  if (!out.file()) riff::Fail(Errc::kIo, "cannot create a temporary file beside " + path);
  FileSink sink(out.file());
  Write(sink, streams);
  if (!out.Commit()) riff::Fail(Errc::kIo, (out.error() == safefile::Error::kWrite ? "cannot write " : "cannot replace ") + path);
}

}  // namespace avi
