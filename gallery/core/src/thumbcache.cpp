// Reading and writing the thumbnail cache file, and matching its records to a folder's files.
#include "galcore/thumbcache.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

namespace galcore {

namespace {

constexpr uint16_t kDibPlanes = 1;
constexpr uint32_t kMaxPaletteEntries = 256;
// DIB bytes are read in pieces of this size so that memory follows the bytes present.
constexpr size_t kReadPiece = 64 * 1024;
constexpr uint64_t kFileTimeUnitsPerSecond = 10000000;
constexpr uint64_t kFileTimeAt1970 = 116444736000000000ull;

uint16_t U16At(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32At(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

bool IsCacheBitCount(uint16_t bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24; }

// Field offsets of the 40-byte BITMAPINFOHEADER.
enum DibField : size_t {
  kSize = 0, kWidth = 4, kHeight = 8, kPlanes = 12, kBitCount = 14, kCompression = 16, kSizeImage = 20,
  kClrUsed = 32,
};
// Field offsets of the 14-byte bitmap file header.
enum FileField : size_t { kType = 0, kFileSize = 2, kBitsOffset = 10 };

// Reads one record; false when the input ends or the record is malformed.
bool ReadRecord(afxcore::ByteSource& in, CachedThumbnail& record) {
  record.name = afxcore::GetString(in);
  record.time = afxcore::GetU32(in);
  uint8_t file[kBitmapFileHeaderBytes];
  in.ReadExact(file, sizeof file);
  if (U16At(file + kType) != kBitmapFileType) return false;
  record.dib.resize(kDibHeaderBytes);
  in.ReadExact(record.dib.data(), kDibHeaderBytes);
  const std::optional<DibLayout> layout = ParseDibHeader(record.dib.data(), kDibHeaderBytes);
  if (!layout || U32At(file + kFileSize) != kBitmapFileHeaderBytes + uint64_t(layout->TotalBytes()) ||
      U32At(file + kBitsOffset) != kBitmapFileHeaderBytes + layout->BitsOffset()) {
    return false;
  }
  while (record.dib.size() < layout->TotalBytes()) {
    const size_t done = record.dib.size();
    const size_t piece = std::min<size_t>(layout->TotalBytes() - done, kReadPiece);
    record.dib.resize(done + piece);
    in.ReadExact(record.dib.data() + done, piece);
  }
  return true;
}

void PutDibFileHeader(afxcore::ByteSink& out, const DibLayout& layout) {
  afxcore::PutU16(out, kBitmapFileType);
  afxcore::PutU32(out, kBitmapFileHeaderBytes + layout.TotalBytes());
  afxcore::PutU16(out, 0);
  afxcore::PutU16(out, 0);
  afxcore::PutU32(out, kBitmapFileHeaderBytes + layout.BitsOffset());
}

}  // namespace

uint16_t CacheBitCount(int planes, int bitsPerPixel) {
  const int bits = planes * bitsPerPixel;
  if (bits <= 1) return 1;
  if (bits <= 4) return 4;
  if (bits <= 8) return 8;
  return 24;
}

uint64_t DibImageBytes(int32_t width, int32_t height, uint16_t bitCount) {
  const uint64_t w = width < 0 ? 0 : uint64_t(width);
  const uint64_t h = height < 0 ? uint64_t(-int64_t(height)) : uint64_t(height);
  return (w * bitCount + 31) / 32 * 4 * h;
}

uint32_t DibColourEntries(uint32_t clrUsed, uint16_t bitCount) {
  if (clrUsed) return clrUsed;
  return bitCount <= 8 ? 1u << bitCount : 0;
}

DibLayout DibLayoutForBitmap(int32_t width, int32_t height, int planes, int bitsPerPixel) {
  DibLayout layout;
  layout.width = width;
  layout.height = height;
  layout.bitCount = CacheBitCount(planes, bitsPerPixel);
  layout.colourEntries = DibColourEntries(0, layout.bitCount);
  layout.imageBytes = uint32_t(DibImageBytes(width, height, layout.bitCount));
  return layout;
}

std::optional<DibLayout> ParseDibHeader(const uint8_t* dib, size_t size) {
  if (size < kDibHeaderBytes || U32At(dib + kSize) != kDibHeaderBytes) return std::nullopt;
  DibLayout layout;
  layout.width = int32_t(U32At(dib + kWidth));
  layout.height = int32_t(U32At(dib + kHeight));
  layout.bitCount = U16At(dib + kBitCount);
  const uint32_t clrUsed = U32At(dib + kClrUsed);
  const uint32_t sizeImage = U32At(dib + kSizeImage);
  if (U16At(dib + kPlanes) != kDibPlanes || U32At(dib + kCompression) != kDibUncompressed ||
      !IsCacheBitCount(layout.bitCount) || layout.width < 1 || layout.width > kMaxCachedSide ||
      layout.height == 0 || layout.height < -kMaxCachedSide || layout.height > kMaxCachedSide) {
    return std::nullopt;
  }
  const uint32_t paletteLimit = layout.bitCount <= 8 ? 1u << layout.bitCount : kMaxPaletteEntries;
  if (clrUsed > paletteLimit) return std::nullopt;
  layout.colourEntries = DibColourEntries(clrUsed, layout.bitCount);
  // Sides are bounded above, so the rows' size fits easily in 32 bits.
  const uint32_t rowsBytes = uint32_t(DibImageBytes(layout.width, layout.height, layout.bitCount));
  if (sizeImage != 0 && sizeImage != rowsBytes) return std::nullopt;
  layout.imageBytes = rowsBytes;
  return layout;
}

CacheReadResult ReadThumbnailCache(afxcore::ByteSource& in) {
  CacheReadResult result;
  try {
    result.cache.header = afxcore::GetU32(in);
    const uint32_t count = afxcore::GetU32(in);
    result.status = CacheReadStatus::damaged;
    for (uint32_t i = 0; i < count; ++i) {
      CachedThumbnail record;
      if (!ReadRecord(in, record)) return result;
      result.cache.records.push_back(std::move(record));
    }
    result.status = CacheReadStatus::complete;
  } catch (const afxcore::ArchiveFailure&) {
    if (result.status == CacheReadStatus::unreadable) result.cache.header = 0;
  }
  return result;
}

CacheReadResult ReadThumbnailCache(const uint8_t* data, size_t size) {
  afxcore::MemorySource in(data, size);
  return ReadThumbnailCache(in);
}

void WriteThumbnailCache(afxcore::ByteSink& out, const ThumbnailCache& cache) {
  for (const CachedThumbnail& record : cache.records) {
    const std::optional<DibLayout> layout = ParseDibHeader(record.dib.data(), record.dib.size());
    if (!layout || layout->TotalBytes() != record.dib.size()) {
      throw std::invalid_argument("thumbnail of " + record.name + " is not a cacheable DIB");
    }
  }
  afxcore::PutU32(out, cache.header);
  afxcore::PutU32(out, uint32_t(cache.records.size()));
  for (const CachedThumbnail& record : cache.records) {
    afxcore::PutString(out, record.name.data(), uint32_t(record.name.size()));
    afxcore::PutU32(out, record.time);
    PutDibFileHeader(out, *ParseDibHeader(record.dib.data(), record.dib.size()));
    out.WriteBytes(record.dib.data(), record.dib.size());
  }
}

std::vector<uint8_t> WriteThumbnailCache(const ThumbnailCache& cache) {
  afxcore::MemorySink sink;
  WriteThumbnailCache(sink, cache);
  return sink.Bytes();
}

uint32_t CacheTimeFromFileTime(uint64_t fileTime) {
  const int64_t seconds = int64_t(fileTime / kFileTimeUnitsPerSecond) - int64_t(kFileTimeAt1970 / kFileTimeUnitsPerSecond);
  return uint32_t(seconds);
}

std::vector<int> MatchCacheRecords(const std::vector<CacheKey>& items, const ThumbnailCache& cache) {
  std::unordered_map<std::string, int> itemOfName;
  for (size_t i = 0; i < items.size(); ++i) itemOfName.emplace(items[i].name, int(i));
  std::vector<int> recordOfItem(items.size(), -1);
  for (size_t r = 0; r < cache.records.size(); ++r) {
    const auto found = itemOfName.find(cache.records[r].name);
    if (found != itemOfName.end() && items[size_t(found->second)].time == cache.records[r].time) {
      recordOfItem[size_t(found->second)] = int(r);
    }
  }
  return recordOfItem;
}

}  // namespace galcore
