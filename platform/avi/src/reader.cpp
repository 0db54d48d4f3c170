// Reading RIFF 'AVI ' files: header list, stream lists, movi chunks through idx1 or by scanning.
#include <algorithm>
#include <climits>

#include "avi/file.h"
#include "riff.h"

namespace avi {

namespace {

struct ChunkHeader {
  FourCC id = 0;
  uint32_t size = 0;
};

ChunkHeader ReadHeader(const ChunkSource& source, uint64_t at) {
  uint8_t bytes[riff::kChunkHeaderBytes];
  source.Read(uint32_t(at), sizeof bytes, bytes);
  return {riff::Get32(bytes), riff::Get32(bytes + 4)};
}

std::vector<uint8_t> ReadBlock(const ChunkSource& source, uint64_t at, uint32_t size) {
  std::vector<uint8_t> bytes(size);
  source.Read(uint32_t(at), size, bytes.data());
  return bytes;
}

// A chunk inside a memory block (the header list), with its bounds checked against the parent.
struct SubChunk {
  FourCC id = 0;
  FourCC listType = 0;  // for LIST
  const uint8_t* data = nullptr;
  uint32_t size = 0;
};

std::vector<SubChunk> SplitChunks(const uint8_t* data, uint32_t size, const char* where) {
  std::vector<SubChunk> chunks;
  uint32_t pos = 0;
  while (size - pos >= riff::kChunkHeaderBytes) {
    SubChunk c;
    c.id = riff::Get32(data + pos);
    c.size = riff::Get32(data + pos + 4);
    pos += riff::kChunkHeaderBytes;
    if (c.size > size - pos) riff::Fail(Errc::kTruncated, std::string("chunk runs past the end of ") + where);
    c.data = data + pos;
    if (c.id == riff::kList) {
      if (c.size < 4) riff::Fail(Errc::kBadHeader, std::string("LIST without a type in ") + where);
      c.listType = riff::Get32(c.data);
    }
    chunks.push_back(c);
    pos += c.size;
    if ((c.size & 1) && pos < size) ++pos;
  }
  return chunks;
}

StreamInfo ParseStreamHeader(const SubChunk& c) {
  if (c.size < riff::kStreamHeaderMinBytes) riff::Fail(Errc::kBadHeader, "stream header too short");
  const uint8_t* p = c.data;
  StreamInfo info;
  info.type = riff::Get32(p);
  info.handler = riff::Get32(p + 4);
  info.flags = riff::Get32(p + 8);
  info.priority = riff::Get16(p + 12);
  info.language = riff::Get16(p + 14);
  info.initialFrames = riff::Get32(p + 16);
  info.scale = riff::Get32(p + 20);
  info.rate = riff::Get32(p + 24);
  const uint32_t start = riff::Get32(p + 28);
  info.length = 0;  // counted from the chunks that are really there
  info.suggestedBufferSize = riff::Get32(p + 36);
  info.quality = int32_t(riff::Get32(p + 40));
  info.sampleSize = riff::Get32(p + 44);
  if (c.size >= riff::kStreamHeaderBytes) {
    info.frame.left = int16_t(riff::Get16(p + 48));
    info.frame.top = int16_t(riff::Get16(p + 50));
    info.frame.right = int16_t(riff::Get16(p + 52));
    info.frame.bottom = int16_t(riff::Get16(p + 54));
  }
  if (info.scale == 0 || info.rate == 0) riff::Fail(Errc::kBadHeader, "stream header with a zero rate or scale");
  if (start > uint32_t(INT32_MAX)) riff::Fail(Errc::kBadHeader, "stream start out of range");
  info.start = int32_t(start);
  return info;
}

Stream ParseStreamList(const SubChunk& list) {
  const std::vector<SubChunk> chunks = SplitChunks(list.data + 4, list.size - 4, "a stream list");
  const SubChunk* strh = nullptr;
  const SubChunk* strf = nullptr;
  const SubChunk* strn = nullptr;
  for (const SubChunk& c : chunks) {
    if (c.id == riff::kStrh && !strh) strh = &c;
    else if (c.id == riff::kStrf && !strf) strf = &c;
    else if (c.id == riff::kStrn && !strn) strn = &c;
  }
  if (!strh) riff::Fail(Errc::kBadHeader, "stream list without a stream header");
  if (!strf) riff::Fail(Errc::kBadFormat, "stream list without a format");
  if (strf->size > kMaxFormatBytes) riff::Fail(Errc::kTooLarge, "stream format too large");
  StreamInfo info = ParseStreamHeader(*strh);
  if (strn) {
    const char* text = reinterpret_cast<const char*>(strn->data);
    info.name.assign(text, std::find(text, text + strn->size, '\0'));
  }
  Stream stream(info, std::vector<uint8_t>(strf->data, strf->data + strf->size));
  // Check the records the editing and the media layer rely on now, not at first use.
  if (stream.isVideo()) stream.videoFormat();
  if (stream.isAudio()) stream.audioFormat();
  for (const SubChunk& c : chunks) {
    if (&c == strh || &c == strf || &c == strn || c.id == riff::kIndx || c.id == riff::kJunk) continue;
    if (c.id == riff::kList) continue;  // nested lists in a stream list are not defined for AVI 1.0
    Stream::ExtraChunk extra;
    extra.id = c.id;
    extra.bytes.assign(c.data, c.data + c.size);
    stream.extraChunks().push_back(std::move(extra));
  }
  return stream;
}

struct MainHeader {
  uint32_t microSecPerFrame = 0, maxBytesPerSec = 0, flags = 0, totalFrames = 0, streams = 0, suggestedBufferSize = 0,
           width = 0, height = 0;
};

MainHeader ParseMainHeader(const SubChunk& c) {
  if (c.id != riff::kAvih) riff::Fail(Errc::kBadHeader, "header list does not start with the main header");
  if (c.size < riff::kMainHeaderMinBytes) riff::Fail(Errc::kBadHeader, "main header too short");
  const uint8_t* p = c.data;
  MainHeader h;
  h.microSecPerFrame = riff::Get32(p);
  h.maxBytesPerSec = riff::Get32(p + 4);
  h.flags = riff::Get32(p + 12);
  h.totalFrames = riff::Get32(p + 16);
  h.streams = riff::Get32(p + 24);
  h.suggestedBufferSize = riff::Get32(p + 28);
  h.width = riff::Get32(p + 32);
  h.height = riff::Get32(p + 36);
  return h;
}

// One movi chunk that belongs to a stream.
struct Located {
  int stream = 0;
  uint16_t type = 0;
  uint64_t dataAt = 0;
  uint32_t size = 0;
  bool keyFrame = true;
};

bool IsSampleChunk(FourCC id, int streamCount, int* stream) {
  *stream = riff::StreamNumber(id);
  // Palette changes are not samples; they are not carried over (no stream of ours has a palette).
  return *stream >= 0 && *stream < streamCount && riff::ChunkTypeOf(id) != riff::kTypePaletteChange;
}

// Walks the movi list, descending into 'rec ' lists. Without an index, key frames are unknown; every
// frame is taken as one, which decoders of intra-only formats need and others tolerate.
std::vector<Located> ScanMovi(const ChunkSource& source, uint64_t moviData, uint64_t moviEnd, int streamCount) {
  std::vector<Located> found;
  uint64_t pos = moviData;
  while (pos + riff::kChunkHeaderBytes <= moviEnd) {
    const ChunkHeader h = ReadHeader(source, pos);
    const uint64_t dataAt = pos + riff::kChunkHeaderBytes;
    if (h.id == riff::kList && h.size >= 4 && dataAt + 4 <= moviEnd) {
      uint8_t type[4];
      source.Read(uint32_t(dataAt), 4, type);
      if (riff::Get32(type) == riff::kRec) {
        pos = dataAt + 4;  // the list's chunks follow inline
        continue;
      }
    }
    if (dataAt + h.size > moviEnd) break;  // a chunk cut off by the end of the file: the rest is lost
    int stream = 0;
    if (IsSampleChunk(h.id, streamCount, &stream)) found.push_back({stream, riff::ChunkTypeOf(h.id), dataAt, h.size, true});
    pos = dataAt + h.size + (h.size & 1);
  }
  return found;
}

// Resolves idx1 entries against the movi list. Offsets are relative to the 'movi' type code (the usual
// form) or absolute (some writers); the first sample entry decides. Any entry that does not match its
// chunk, or that is not after the entry before it, makes the whole index unusable (the caller then scans),
// so the chunks referred to never add up to more than the file holds.
bool UseIndex(const ChunkSource& source, const std::vector<uint8_t>& index, uint64_t moviType, uint64_t moviEnd,
              int streamCount, std::vector<Located>* out) {
  const size_t entries = index.size() / riff::kIndexEntryBytes;
  bool decided = false;
  uint64_t base = 0, previous = 0;
  std::vector<Located> found;
  for (size_t i = 0; i < entries; ++i) {
    const uint8_t* e = index.data() + i * riff::kIndexEntryBytes;
    const FourCC id = riff::Get32(e);
    const uint32_t flags = riff::Get32(e + 4), offset = riff::Get32(e + 8), size = riff::Get32(e + 12);
    int stream = 0;
    if ((flags & riff::kIndexFlagList) || !IsSampleChunk(id, streamCount, &stream)) continue;
    auto matches = [&](uint64_t at) {
      if (at < moviType + 4 || at + riff::kChunkHeaderBytes + size > moviEnd) return false;
      const ChunkHeader h = ReadHeader(source, at);
      return h.id == id && h.size == size;
    };
    if (!decided) {
      if (matches(moviType + offset)) base = moviType;
      else if (matches(offset)) base = 0;
      else return false;
      decided = true;
    } else if (base + offset <= previous || !matches(base + offset)) {
      return false;  // entries follow the file's order; one chunk listed twice would be read twice
    }
    previous = base + offset;
    found.push_back({stream, riff::ChunkTypeOf(id), base + offset + riff::kChunkHeaderBytes, size,
                     (flags & kIndexFlagKeyFrame) != 0});
  }
  if (!decided) return false;
  *out = std::move(found);
  return true;
}

}  // namespace

AviFile ReadAvi(std::shared_ptr<const ChunkSource> source, uint64_t fileSize) {
  if (fileSize > kMaxFileBytes) riff::Fail(Errc::kTooLarge, "file larger than an AVI 1.0 file can be");
  if (fileSize < 12) {
    if (fileSize >= 4 && ReadBlock(*source, 0, 4) != std::vector<uint8_t>{'R', 'I', 'F', 'F'})
      riff::Fail(Errc::kNotRiff, "no RIFF signature");
    riff::Fail(Errc::kTruncated, "file shorter than a RIFF header");
  }
  const std::vector<uint8_t> head = ReadBlock(*source, 0, 12);
  if (riff::Get32(head.data()) != riff::kRiff) riff::Fail(Errc::kNotRiff, "no RIFF signature");
  if (riff::Get32(head.data() + 8) != riff::kAvi) riff::Fail(Errc::kNotAvi, "RIFF form is not AVI");
  const uint32_t riffSize = riff::Get32(head.data() + 4);
  if (riffSize < 4) riff::Fail(Errc::kBadHeader, "RIFF size too small");
  // A RIFF size beyond the file is taken as a cut-off file: what is there is read.
  const uint64_t riffEnd = std::min<uint64_t>(uint64_t(riffSize) + 8, fileSize);

  std::vector<uint8_t> hdrl, index;
  bool haveHdrl = false, haveMovi = false, haveIndex = false;
  uint64_t moviType = 0, moviEnd = 0;
  for (uint64_t pos = 12; pos + riff::kChunkHeaderBytes <= riffEnd;) {
    const ChunkHeader h = ReadHeader(*source, pos);
    const uint64_t dataAt = pos + riff::kChunkHeaderBytes, dataEnd = dataAt + h.size;
    if (h.id == riff::kList && h.size >= 4 && dataAt + 4 <= riffEnd) {
      const uint32_t type = riff::Get32(ReadBlock(*source, dataAt, 4).data());
      if (type == riff::kHdrl && !haveHdrl) {
        if (h.size > kMaxHeaderListBytes) riff::Fail(Errc::kTooLarge, "header list too large");
        if (dataEnd > riffEnd) riff::Fail(Errc::kTruncated, "header list runs past the end of the file");
        hdrl = ReadBlock(*source, dataAt + 4, h.size - 4);
        haveHdrl = true;
      } else if (type == riff::kMovi && !haveMovi) {
        moviType = dataAt;
        moviEnd = std::min(dataEnd, riffEnd);
        haveMovi = true;
      }
    } else if (h.id == riff::kIdx1 && !haveIndex && dataEnd <= riffEnd) {
      if (h.size > kMaxIndexBytes) riff::Fail(Errc::kTooLarge, "index too large");
      index = ReadBlock(*source, dataAt, h.size);
      haveIndex = true;
    }
    if (dataEnd >= riffEnd) break;
    pos = dataEnd + (h.size & 1);
  }
  if (!haveHdrl) riff::Fail(Errc::kBadHeader, "no header list");
  if (!haveMovi) riff::Fail(Errc::kBadHeader, "no movi list");

  const std::vector<SubChunk> headerChunks = SplitChunks(hdrl.data(), uint32_t(hdrl.size()), "the header list");
  if (headerChunks.empty()) riff::Fail(Errc::kBadHeader, "empty header list");
  const MainHeader main = ParseMainHeader(headerChunks.front());
  AviFile file;
  for (const SubChunk& c : headerChunks) {
    if (c.id != riff::kList || c.listType != riff::kStrl) continue;
    if (file.streams_.size() >= size_t(kMaxStreams)) riff::Fail(Errc::kTooManyStreams, "more than 100 streams");
    file.streams_.push_back(ParseStreamList(c));
  }
  if (file.streams_.empty()) riff::Fail(Errc::kBadHeader, "no streams");

  const int count = int(file.streams_.size());
  std::vector<Located> chunks;
  file.indexUsed_ = haveIndex && UseIndex(*source, index, moviType, moviEnd, count, &chunks);
  if (!file.indexUsed_) chunks = ScanMovi(*source, moviType + 4, moviEnd, count);
  for (const Located& c : chunks) {
    Stream& s = file.streams_[size_t(c.stream)];
    Piece piece;
    piece.source = source;
    piece.offset = uint32_t(c.dataAt);
    piece.size = c.size;
    piece.keyFrame = c.keyFrame;
    piece.chunkType = c.type;
    if (s.info().sampleSize && piece.size % s.info().sampleSize) {
      // A chunk of a fixed-size stream that is not whole samples: keep the whole samples only.
      piece.size -= piece.size % s.info().sampleSize;
      if (piece.size == 0) continue;
    }
    s.AppendPiece(std::move(piece));
  }

  file.header_.maxBytesPerSec = main.maxBytesPerSec;
  file.header_.flags = main.flags;
  file.header_.suggestedBufferSize = main.suggestedBufferSize;
  file.header_.width = main.width;
  file.header_.height = main.height;
  return file;
}

AviFile AviFile::Open(const std::string& path) {
  auto source = std::make_shared<FileSource>(path);
  const uint64_t size = source->size();
  return ReadAvi(std::move(source), size);
}

AviFile AviFile::FromMemory(std::vector<uint8_t> bytes) {
  const uint64_t size = bytes.size();
  return ReadAvi(std::make_shared<MemorySource>(std::move(bytes)), size);
}

}  // namespace avi
