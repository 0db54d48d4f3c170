// The folder's thumbnail cache file as bytes: records, the DIB rules, reading, writing, which records apply.
//
// The slide-table document reads the file into memory (or streams it through an afxcore::ByteSource),
// calls ReadThumbnailCache and MatchCacheRecords, and turns each matched DIB back into a bitmap. Saving, it
// fills a ThumbnailCache from its items (DIBs made with DibLayoutForBitmap and GetDIBits) and hands the
// bytes of WriteThumbnailCache to platform/safefile, so the old cache stays until the new one is complete.
//
// File: 32-bit header value, 32-bit record count, then per record the name (archive string), the file's
// last-write time as a 32-bit time_t, a 14-byte "BM" bitmap file header and the packed DIB
// (BITMAPINFOHEADER, colour table, bits). All integers little-endian.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "afxcore/archive_codec.h"

namespace galcore {

constexpr uint16_t kBitmapFileType = 0x4D42;  // "BM"
constexpr uint32_t kBitmapFileHeaderBytes = 14;
constexpr uint32_t kDibHeaderBytes = 40;
constexpr uint32_t kColourEntryBytes = 4;
constexpr uint32_t kDibUncompressed = 0;  // BI_RGB
// Thumbnails are made at most 112 pixels wide; larger sides in a cache file mean damage.
constexpr int32_t kMaxCachedSide = 4096;

// The shape of a packed DIB the cache holds: 1, 4, 8 or 24 bits, uncompressed.
struct DibLayout {
  int32_t width = 0;
  int32_t height = 0;  // negative for top-down rows
  uint16_t bitCount = 0;
  uint32_t colourEntries = 0;
  uint32_t imageBytes = 0;
  uint32_t BitsOffset() const { return kDibHeaderBytes + colourEntries * kColourEntryBytes; }
  uint32_t TotalBytes() const { return BitsOffset() + imageBytes; }
};

// Bits per pixel of the DIB made from a bitmap of planes x bits per pixel: rounded up to 1, 4, 8 or 24.
uint16_t CacheBitCount(int planes, int bitsPerPixel);
// ((width x bits + 31) / 32) x 4 x |height|: the image size when the driver leaves biSizeImage 0.
uint64_t DibImageBytes(int32_t width, int32_t height, uint16_t bitCount);
// biClrUsed, or 2 to the power of the bit count when that is 0 and the bit count is at most 8, else 0.
uint32_t DibColourEntries(uint32_t clrUsed, uint16_t bitCount);
// The DIB to ask GetDIBits for, for a bitmap of that size, planes and bits per pixel (biClrUsed 0).
DibLayout DibLayoutForBitmap(int32_t width, int32_t height, int planes, int bitsPerPixel);
// Reads the 40-byte header at dib; nullopt unless it is a DIB the cache holds (planes 1, uncompressed,
// 1/4/8/24 bits, sides 1..kMaxCachedSide, a colour table no larger than the bits allow, biSizeImage 0 or
// the rows' size).
std::optional<DibLayout> ParseDibHeader(const uint8_t* dib, size_t size);

struct CachedThumbnail {
  std::string name;          // the file's name in its folder
  uint32_t time = 0;         // last-write time, 32-bit time_t (CacheTimeFromFileTime)
  std::vector<uint8_t> dib;  // packed DIB: header, colour table, bits
};

struct ThumbnailCache {
  uint32_t header = 0;  // kept by the document and written back unchanged
  std::vector<CachedThumbnail> records;
};

enum class CacheReadStatus {
  complete,
  damaged,     // a record was truncated or malformed; the records before it are given
  unreadable,  // not even the header value and count are there
};

struct CacheReadResult {
  CacheReadStatus status = CacheReadStatus::unreadable;
  ThumbnailCache cache;  // header valid unless unreadable
};

// Never throws for bad input; memory grows only with the bytes actually present.
CacheReadResult ReadThumbnailCache(afxcore::ByteSource& in);
CacheReadResult ReadThumbnailCache(const uint8_t* data, size_t size);

// Throws std::invalid_argument when a record's dib is not one ParseDibHeader accepts with exactly its size.
void WriteThumbnailCache(afxcore::ByteSink& out, const ThumbnailCache& cache);
std::vector<uint8_t> WriteThumbnailCache(const ThumbnailCache& cache);

// A FILETIME (100 ns units since 1601, UTC) as the cache's 32-bit time_t: whole seconds since 1970 UTC.
uint32_t CacheTimeFromFileTime(uint64_t fileTime);

struct CacheKey {
  std::string name;
  uint32_t time = 0;  // CacheTimeFromFileTime of the listed last-write time
};

// For each item, the index of the cache record it takes, or -1: a record applies to the item of its name
// when its time equals the item's; when several do, the last one in the file wins.
std::vector<int> MatchCacheRecords(const std::vector<CacheKey>& items, const ThumbnailCache& cache);

}  // namespace galcore
