// TIFF pages (over the shared directory reader) and their common pixel layout, and the writers of the portable
// core: PNG, TIFF pages, JPEG.
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "codecs.h"
#include "ijl/ijl.h"
#include "pixels.h"
#include "tiff_ifd.h"

namespace orvl {

// ---- TIFF directories ----
constexpr size_t kMaxPages = 10000;
constexpr size_t kTiffHeaderSize = 8;
constexpr uint16_t kTagWidth = 256, kTagHeight = 257, kTagBits = 258, kTagCompression = 259, kTagPhotometric = 262,
                   kTagStripOffsets = 273, kTagSamples = 277, kTagRowsPerStrip = 278, kTagStripBytes = 279,
                   kTagXRes = 282, kTagYRes = 283, kTagPlanar = 284, kTagResUnit = 296, kTagColorMap = 320,
                   kTagExtraSamples = 338, kTagSubfileType = 254, kTagOrientation = 274, kTagTileWidth = 322,
                   kTagPredictor = 317, kTagSampleFormat = 339;
constexpr uint32_t kCompressionNone = 1, kCompressionPackBits = 32773, kPhotometricRgb = 2;
constexpr int32_t kDefaultTiffDpi = 96;
using tiffifd::kTypeLong;
using tiffifd::kTypeRational;
using tiffifd::kTypeShort;

int TiffFile::parse(const uint8_t* data, size_t size) {
  using tiffifd::Status;
  pages.clear();
  data_ = data;
  if (reader_.open(data, size) != Status::kOk)
    return size < kTiffHeaderSize ? ORVL_ERROR_FILE_READ : ORVL_ERROR_FILE_FORMAT;
  switch (reader_.chain(kMaxPages, &pages)) {
    case Status::kOk: return pages.empty() ? ORVL_ERROR_FILE_CORRUPT : ORVL_SUCCESS;
    case Status::kOutside: return pages.empty() ? ORVL_ERROR_FILE_READ : ORVL_ERROR_FILE_CORRUPT;
    case Status::kTruncated: return ORVL_ERROR_FILE_READ;
    default: return ORVL_ERROR_FILE_CORRUPT;
  }
}

int TiffFile::readPage(size_t index, TiffPage* p) const {
  const tiffifd::Directory& dir = pages[index];
  double xres = 0, yres = 0;
  int unit = 2;
  for (size_t i = 0; i < dir.entries; ++i) {
    const tiffifd::Entry e = reader_.entry(dir, i);
    switch (e.tag) {
      case kTagWidth: p->width = e.value; break;
      case kTagHeight: p->height = e.value; break;
      case kTagBits:
        if (e.count <= 2) p->bitsPerSample = reader_.u16(e.field);
        else if (reader_.holds(e.value, 2)) p->bitsPerSample = reader_.u16(e.value);
        else return ORVL_ERROR_FILE_CORRUPT;
        break;
      case kTagSamples: p->samplesPerPixel = e.value; break;
      case kTagCompression: p->compression = e.value; break;
      case kTagPhotometric: p->photometric = e.value; break;
      case kTagResUnit: unit = int(e.value); break;
      case kTagXRes: case kTagYRes:
        if (e.type == kTypeRational && reader_.holds(e.value, 8)) {
          uint32_t num = reader_.u32(e.value), den = reader_.u32(size_t(e.value) + 4);
          (e.tag == kTagXRes ? xres : yres) = den ? double(num) / den : 0;
        }
        break;
      default: break;
    }
  }
  if (p->bitsPerSample == 0 || p->bitsPerSample > 16 || p->samplesPerPixel == 0 || p->samplesPerPixel > 8)
    return ORVL_ERROR_FILE_CORRUPT;
  double k = unit == 3 ? 2.54 : 1.0;
  p->xdpi = int32_t(std::min(1e6, xres * k) + 0.5);
  p->ydpi = int32_t(std::min(1e6, yres * k) + 0.5);
  return ORVL_SUCCESS;
}

namespace {

// The i-th value of a SHORT or LONG entry (in the entry itself when they fit there); false when outside the data.
bool entryValue(const tiffifd::Reader& r, const tiffifd::Entry& e, uint32_t i, uint32_t* out) {
  const uint64_t size = e.type == kTypeShort ? 2 : 4;
  if ((e.type != kTypeShort && e.type != kTypeLong) || i >= e.count) return false;
  const uint64_t at = (size * e.count <= 4 ? e.field : e.value) + size * i;
  if (!r.holds(at, size)) return false;
  *out = size == 2 ? r.u16(size_t(at)) : r.u32(size_t(at));
  return true;
}

// Unpacks one row of PackBits data starting at *pos; false when the data ends early or a run crosses the row.
bool unpackBitsRow(const uint8_t* s, size_t n, size_t* pos, uint8_t* row, size_t rowBytes) {
  size_t got = 0, i = *pos;
  while (got < rowBytes) {
    if (i >= n) return false;
    const int c = int8_t(s[i++]);
    if (c >= 0) {
      const size_t len = size_t(c) + 1;
      if (len > n - i || len > rowBytes - got) return false;
      std::memcpy(row + got, s + i, len);
      i += len;
      got += len;
    } else if (c != -128) {
      const size_t len = size_t(1 - c);
      if (i >= n || len > rowBytes - got) return false;
      std::memset(row + got, s[i++], len);
      got += len;
    }
  }
  *pos = i;
  return true;
}

}  // namespace

int TiffFile::decodeRgb(size_t index, ORVLBITMAP* out) const {
  TiffPage page;
  if (index >= pages.size() || readPage(index, &page) != ORVL_SUCCESS) return ORVL_ERROR_NOT_SUPPORTED;
  const tiffifd::Directory& dir = pages[index];
  uint32_t planar = 1, rowsPerStrip = UINT32_MAX, orientation = 1, sampleFormat = 1, predictor = 1;
  tiffifd::Entry bits, offsets, counts;
  bool haveBits = false, haveOffsets = false, haveCounts = false, haveRes[2] = {false, false};
  for (size_t i = 0; i < dir.entries; ++i) {
    const tiffifd::Entry e = reader_.entry(dir, i);
    switch (e.tag) {
      case kTagBits: bits = e; haveBits = true; break;
      case kTagStripOffsets: offsets = e; haveOffsets = true; break;
      case kTagStripBytes: counts = e; haveCounts = true; break;
      case kTagRowsPerStrip: rowsPerStrip = e.value; break;
      case kTagPlanar: planar = e.value; break;
      case kTagOrientation: orientation = e.value; break;
      case kTagSampleFormat: sampleFormat = e.value; break;
      case kTagPredictor: predictor = e.value; break;
      case kTagXRes: haveRes[0] = true; break;
      case kTagYRes: haveRes[1] = true; break;
      case kTagExtraSamples: case kTagTileWidth: return ORVL_ERROR_NOT_SUPPORTED;
      default: break;
    }
  }
  if (page.samplesPerPixel != 3 || page.photometric != kPhotometricRgb || planar != 1 || orientation != 1 ||
      sampleFormat != 1 || predictor != 1 || !haveBits || !haveOffsets || !haveCounts || haveRes[0] != haveRes[1] ||
      (page.compression != kCompressionNone && page.compression != kCompressionPackBits) || page.width == 0 ||
      page.height == 0 || page.width > ORVL_MAX_DIMENSION || page.height > ORVL_MAX_DIMENSION || rowsPerStrip == 0)
    return ORVL_ERROR_NOT_SUPPORTED;
  for (uint32_t k = 0; k < 3; ++k) {
    uint32_t v = 0;
    if (bits.count != 3 || !entryValue(reader_, bits, k, &v) || v != 8) return ORVL_ERROR_NOT_SUPPORTED;
  }
  const uint32_t strips = (page.height - 1) / std::min(rowsPerStrip, page.height) + 1;
  if (offsets.count != strips || counts.count != strips) return ORVL_ERROR_NOT_SUPPORTED;

  ORVLBITMAP bmp;
  int rc = createRaw(&bmp, int(page.width), int(page.height), 24, ORVL_ORDER_BGR, ORVL_TOP_LEFT);
  if (rc != ORVL_SUCCESS) return rc;
  const size_t rowBytes = size_t(page.width) * 3;
  Bytes row(page.compression == kCompressionPackBits ? rowBytes : 0);
  uint32_t y = 0;
  for (uint32_t s = 0; s < strips && rc == ORVL_SUCCESS; ++s) {
    uint32_t at = 0, n = 0;
    const uint32_t rows = std::min(rowsPerStrip, page.height - y);
    if (!entryValue(reader_, offsets, s, &at) || !entryValue(reader_, counts, s, &n) || !reader_.holds(at, n)) {
      rc = ORVL_ERROR_NOT_SUPPORTED;
      break;
    }
    const uint8_t* strip = data_ + at;
    if (page.compression == kCompressionNone) {
      if (uint64_t(rows) * rowBytes > n) { rc = ORVL_ERROR_NOT_SUPPORTED; break; }
      for (uint32_t r = 0; r < rows; ++r)
        copySwappingRedBlue(strip + r * rowBytes, bmp.Data + size_t(y + r) * bmp.BytesPerLine, page.width);
    } else {
      size_t pos = 0;
      for (uint32_t r = 0; r < rows && rc == ORVL_SUCCESS; ++r) {
        if (!unpackBitsRow(strip, n, &pos, row.data(), rowBytes)) rc = ORVL_ERROR_NOT_SUPPORTED;
        else copySwappingRedBlue(row.data(), bmp.Data + size_t(y + r) * bmp.BytesPerLine, page.width);
      }
    }
    y += rows;
  }
  if (rc != ORVL_SUCCESS) {
    orvlFreeBitmap(&bmp);
    return rc;
  }
  // The resolution tags are the caller's to read; without them, the value the imaging component reports.
  if (!haveRes[0]) bmp.XResolution = bmp.YResolution = kDefaultTiffDpi;
  *out = bmp;
  return ORVL_SUCCESS;
}

int decodeTiff(const uint8_t* data, size_t size, size_t page, ORVLBITMAP* out) {
  TiffFile file;
  if (file.parse(data, size) != ORVL_SUCCESS) return ORVL_ERROR_NOT_SUPPORTED;
  return file.decodeRgb(page, out);
}

// ---- PNG ----
namespace {

constexpr int kPngLevel = 6, kPngWindowBits = 15, kPngMemLevel = 8;
constexpr size_t kPngBlockBytes = size_t(1) << 20;

void be32(Bytes* o, uint32_t v) { for (int s = 24; s >= 0; s -= 8) o->push_back(uint8_t(v >> s)); }
void chunk(Bytes* o, const char* type, const uint8_t* data, size_t n) {
  be32(o, uint32_t(n));
  size_t start = o->size();
  o->insert(o->end(), type, type + 4);
  if (n) o->insert(o->end(), data, data + n);
  be32(o, uint32_t(crc32(0, o->data() + start, uInt(n + 4))));
}

bool isGreyRamp(const ORVLBITMAP* b) {
  int n = 1 << b->BitsPerPixel;
  for (int i = 0; i < n; ++i) {
    int v = i * 255 / (n - 1);
    if (b->Palette[i].rgbRed != v || b->Palette[i].rgbGreen != v || b->Palette[i].rgbBlue != v) return false;
  }
  return true;
}

bool hasAlpha(const ORVLBITMAP* b) {
  if (b->BitsPerPixel != 32) return false;
  for (int y = 0; y < b->Height; ++y) {
    const uint8_t* p = viewRow(b, y);
    for (int x = 0; x < b->Width; ++x) if (p[4 * x + 3]) return true;
  }
  return false;
}

// One picture row in file order (RGB, RGBA or packed indices), top row first.
void fileRow(const ORVLBITMAP* b, int y, int channels, uint8_t* out) {
  const uint8_t* s = viewRow(b, y);
  if (b->BitsPerPixel <= 8) { std::memcpy(out, s, size_t((int64_t(b->Width) * b->BitsPerPixel + 7) / 8)); return; }
  const int sb = b->BitsPerPixel / 8;
  const bool bgr = b->Order == ORVL_ORDER_BGR;
  if (sb == 3 && channels == 3) {
    if (bgr) copySwappingRedBlue(s, out, size_t(b->Width));
    else std::memcpy(out, s, size_t(b->Width) * 3);
    return;
  }
  for (int x = 0; x < b->Width; ++x, s += sb, out += channels) {
    out[0] = bgr ? s[2] : s[0]; out[1] = s[1]; out[2] = bgr ? s[0] : s[2];
    if (channels == 4) out[3] = s[3];
  }
}

}  // namespace

int encodePng(const ORVLBITMAP* bmp, Bytes* out) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  const int bits = bmp->BitsPerPixel;
  if (bits == 16) return ORVL_ERROR_INVALID_BITS;
  const bool alpha = hasAlpha(bmp);
  const int channels = bits <= 8 ? 0 : alpha ? 4 : 3;
  const bool grey = bits <= 8 && isGreyRamp(bmp);
  const size_t rowBytes = bits <= 8 ? size_t((int64_t(bmp->Width) * bits + 7) / 8) : size_t(bmp->Width) * channels;
  static const uint8_t kSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  out->assign(kSig, kSig + 8);
  uint8_t ihdr[13];
  for (int k = 0; k < 4; ++k) { ihdr[k] = uint8_t(uint32_t(bmp->Width) >> (24 - 8 * k)); ihdr[4 + k] = uint8_t(uint32_t(bmp->Height) >> (24 - 8 * k)); }
  ihdr[8] = uint8_t(bits <= 8 ? bits : 8);
  ihdr[9] = uint8_t(bits <= 8 ? (grey ? 0 : 3) : alpha ? 6 : 2);
  ihdr[10] = ihdr[11] = ihdr[12] = 0;
  chunk(out, "IHDR", ihdr, 13);
  if (bits <= 8 && !grey) {
    uint8_t plte[768];
    int n = 1 << bits;
    for (int i = 0; i < n; ++i) { plte[3 * i] = bmp->Palette[i].rgbRed; plte[3 * i + 1] = bmp->Palette[i].rgbGreen; plte[3 * i + 2] = bmp->Palette[i].rgbBlue; }
    chunk(out, "PLTE", plte, size_t(3 * n));
  }
  if (bmp->XResolution > 0 && bmp->YResolution > 0) {
    Bytes phys;
    be32(&phys, uint32_t(bmp->XResolution * 39.3701 + 0.5));
    be32(&phys, uint32_t(bmp->YResolution * 39.3701 + 0.5));
    phys.push_back(1);
    chunk(out, "pHYs", phys.data(), phys.size());
  }
  // Colour rows take the Up filter and run-length deflate: on photographs that is as small as level 6 of the
  // default strategy (whose match search on noisy rows is ten times slower); palette and grey rows, usually
  // drawings with repeating shapes, keep the default strategy's full matching.
  const bool up = bits > 8;
  z_stream z;
  std::memset(&z, 0, sizeof z);
  if (deflateInit2(&z, kPngLevel, Z_DEFLATED, kPngWindowBits, kPngMemLevel, up ? Z_RLE : Z_DEFAULT_STRATEGY) != Z_OK)
    return ORVL_ERROR_NO_MEMORY;
  // The IDAT chunk is deflated in place: its length and CRC are filled in once the stream is complete.
  const uint64_t rawSize = uint64_t(rowBytes + 1) * uint64_t(bmp->Height);
  const uLong bound = rawSize < 0x7fff0000u ? deflateBound(&z, uLong(rawSize)) : 0;
  if (!bound || bound > 0x7fff0000u) { deflateEnd(&z); return ORVL_ERROR_INVALID_SIZE; }
  const size_t idatAt = out->size();
  try {
    out->resize(idatAt + 8 + bound + 4);
  } catch (const std::bad_alloc&) {
    deflateEnd(&z);
    return ORVL_ERROR_NO_MEMORY;
  }
  std::memcpy(out->data() + idatAt + 4, "IDAT", 4);
  z.next_out = out->data() + idatAt + 8;
  z.avail_out = uInt(bound);
  // Rows are filtered into a block of about kPngBlockBytes and deflated together.
  const int blockRows = int(std::max<size_t>(1, kPngBlockBytes / (rowBytes + 1)));
  Bytes block(size_t(std::min(blockRows, bmp->Height)) * (rowBytes + 1)), prev(rowBytes, 0), cur(rowBytes);
  int zr = Z_OK;
  for (int y0 = 0; y0 < bmp->Height && zr == Z_OK; y0 += blockRows) {
    const int n = std::min(blockRows, bmp->Height - y0);
    for (int k = 0; k < n; ++k) {
      uint8_t* raw = &block[size_t(k) * (rowBytes + 1)];
      fileRow(bmp, y0 + k, channels, cur.data());
      raw[0] = up ? 2 : 0;
      if (up) for (size_t i = 0; i < rowBytes; ++i) raw[i + 1] = uint8_t(cur[i] - prev[i]);
      else std::memcpy(raw + 1, cur.data(), rowBytes);
      prev.swap(cur);
    }
    z.next_in = block.data();
    z.avail_in = uInt(size_t(n) * (rowBytes + 1));
    zr = deflate(&z, y0 + n >= bmp->Height ? Z_FINISH : Z_NO_FLUSH);
    if (zr == Z_STREAM_END) break;
    if (zr == Z_OK && z.avail_in) zr = Z_BUF_ERROR;  // the bound was too small: cannot happen with deflateBound
  }
  const uLong produced = z.total_out;
  deflateEnd(&z);
  if (zr != Z_STREAM_END) return ORVL_ERROR_FAILURE;
  uint8_t* len = out->data() + idatAt;
  for (int k = 0; k < 4; ++k) len[k] = uint8_t(uint32_t(produced) >> (24 - 8 * k));
  out->resize(idatAt + 8 + produced);
  be32(out, uint32_t(crc32(0, out->data() + idatAt + 4, uInt(produced + 4))));
  chunk(out, "IEND", nullptr, 0);
  return ORVL_SUCCESS;
}

// ---- TIFF writing ----
namespace {

class TiffWriter {
 public:
  explicit TiffWriter(bool big) : big_(big) {}
  void u16(Bytes* o, uint32_t v) const {
    if (big_) { o->push_back(uint8_t(v >> 8)); o->push_back(uint8_t(v)); }
    else { o->push_back(uint8_t(v)); o->push_back(uint8_t(v >> 8)); }
  }
  void u32(Bytes* o, uint32_t v) const {
    if (big_) { u16(o, v >> 16); u16(o, v & 0xffff); }
    else { u16(o, v & 0xffff); u16(o, v >> 16); }
  }
  bool patch32(ByteSink* o, uint32_t at, uint32_t v) const {
    Bytes t;
    u32(&t, v);
    return o->patch(at, t.data(), t.size());
  }

 private:
  bool big_;
};

// A growing byte vector as a sink.
class BytesSink : public ByteSink {
 public:
  explicit BytesSink(Bytes* bytes) : bytes_(bytes) {}
  bool append(const uint8_t* data, size_t n) override {
    bytes_->insert(bytes_->end(), data, data + n);
    return true;
  }
  bool patch(uint32_t at, const uint8_t* data, size_t n) override {
    if (at > bytes_->size() || n > bytes_->size() - at) return false;
    std::memcpy(bytes_->data() + at, data, n);
    return true;
  }
  uint64_t size() const override { return bytes_->size(); }

 private:
  Bytes* bytes_;
};

void packBitsRow(const uint8_t* s, size_t n, Bytes* o) {
  size_t i = 0;
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 128 && s[i + run] == s[i]) ++run;
    if (run >= 2) {
      o->push_back(uint8_t(257 - run));
      o->push_back(s[i]);
      i += run;
      continue;
    }
    size_t lit = 1;
    while (i + lit < n && lit < 128 && !(i + lit + 1 < n && s[i + lit] == s[i + lit + 1])) ++lit;
    o->push_back(uint8_t(lit - 1));
    o->insert(o->end(), s + i, s + i + lit);
    i += lit;
  }
}

struct Entry { uint16_t tag, type; uint32_t count, value; };

constexpr uint32_t kMaxTiffBytes = 0x7ff00000u;
// Rows go to the sink in chunks of about this many bytes.
constexpr size_t kTiffChunkBytes = size_t(1) << 18;

// One page's pixels, values and directory after the sink's even number of bytes; the directory continues the
// chain with `following`. *ifdAt receives the directory's offset.
int writeTiffPage(const ORVLBITMAP* bmp, bool packBits, bool big, uint32_t following, ByteSink* sink,
                  uint32_t* ifdAt) {
  const TiffWriter w(big);
  const int bits = bmp->BitsPerPixel;
  const bool alpha = hasAlpha(bmp);
  const int channels = bits <= 8 ? 1 : alpha ? 4 : 3;
  const bool greyPal = bits <= 8 && isGreyRamp(bmp);
  const uint32_t photometric = bits <= 8 ? (greyPal ? 1 : 3) : 2;
  const size_t rowBytes = bits <= 8 ? size_t((int64_t(bmp->Width) * bits + 7) / 8) : size_t(bmp->Width) * channels;

  // Pixel data: one strip, written in chunks of rows.
  const uint64_t stripOffset = sink->size();
  const int chunkRows = int(std::max<size_t>(1, kTiffChunkBytes / rowBytes));
  Bytes chunk, row(rowBytes);
  chunk.reserve(packBits ? 0 : size_t(std::min(chunkRows, bmp->Height)) * rowBytes);
  for (int y0 = 0; y0 < bmp->Height; y0 += chunkRows) {
    const int n = std::min(chunkRows, bmp->Height - y0);
    chunk.clear();
    for (int y = y0; y < y0 + n; ++y) {
      if (packBits) {
        fileRow(bmp, y, bits <= 8 ? 0 : channels, row.data());
        packBitsRow(row.data(), rowBytes, &chunk);
      } else {
        chunk.resize(chunk.size() + rowBytes);
        fileRow(bmp, y, bits <= 8 ? 0 : channels, chunk.data() + chunk.size() - rowBytes);
      }
    }
    if (sink->size() + chunk.size() > kMaxTiffBytes) return ORVL_ERROR_INVALID_SIZE;
    if (!sink->append(chunk.data(), chunk.size())) return ORVL_ERROR_FILE_WRITE;
  }
  const uint32_t stripBytes = uint32_t(sink->size() - stripOffset);

  // Out-of-line values: bits per sample, resolutions, colour map; then the directory. tail[i] goes to base + i.
  Bytes tail;
  const uint32_t base = uint32_t(sink->size());
  if (base & 1) tail.push_back(0);
  uint32_t bitsAt = 0;
  if (channels > 1) { bitsAt = uint32_t(base + tail.size()); for (int k = 0; k < channels; ++k) w.u16(&tail, 8); }
  const uint32_t resAt = uint32_t(base + tail.size());
  int xr = bmp->XResolution > 0 ? bmp->XResolution : 72, yr = bmp->YResolution > 0 ? bmp->YResolution : 72;
  w.u32(&tail, uint32_t(xr)); w.u32(&tail, 1); w.u32(&tail, uint32_t(yr)); w.u32(&tail, 1);
  uint32_t mapAt = 0;
  if (photometric == 3) {
    mapAt = uint32_t(base + tail.size());
    const int n = 1 << bits;
    for (int c = 0; c < 3; ++c)
      for (int i = 0; i < n; ++i) {
        const ORVLRGBQUAD& q = bmp->Palette[i];
        uint32_t v = c == 0 ? q.rgbRed : c == 1 ? q.rgbGreen : q.rgbBlue;
        w.u16(&tail, v * 257);
      }
  }
  std::vector<Entry> e;
  e.push_back({kTagSubfileType, kTypeLong, 1, 0});
  e.push_back({kTagWidth, kTypeLong, 1, uint32_t(bmp->Width)});
  e.push_back({kTagHeight, kTypeLong, 1, uint32_t(bmp->Height)});
  e.push_back({kTagBits, kTypeShort, uint32_t(channels), channels > 1 ? bitsAt : uint32_t(bits <= 8 ? bits : 8)});
  e.push_back({kTagCompression, kTypeShort, 1, packBits ? 32773u : 1u});
  e.push_back({kTagPhotometric, kTypeShort, 1, photometric});
  e.push_back({kTagStripOffsets, kTypeLong, 1, uint32_t(stripOffset)});
  e.push_back({kTagSamples, kTypeShort, 1, uint32_t(channels)});
  e.push_back({kTagRowsPerStrip, kTypeLong, 1, uint32_t(bmp->Height)});
  e.push_back({kTagStripBytes, kTypeLong, 1, stripBytes});
  e.push_back({kTagXRes, kTypeRational, 1, resAt});
  e.push_back({kTagYRes, kTypeRational, 1, resAt + 8});
  e.push_back({kTagPlanar, kTypeShort, 1, 1});
  e.push_back({kTagResUnit, kTypeShort, 1, 2});
  if (mapAt) e.push_back({kTagColorMap, kTypeShort, uint32_t(3 << bits), mapAt});
  if (alpha) e.push_back({kTagExtraSamples, kTypeShort, 1, 2});
  *ifdAt = uint32_t(base + tail.size());
  w.u16(&tail, uint32_t(e.size()));
  for (const Entry& x : e) {
    w.u16(&tail, x.tag); w.u16(&tail, x.type); w.u32(&tail, x.count);
    if (x.type == kTypeShort && x.count == 1) { w.u16(&tail, x.value); w.u16(&tail, 0); }
    else w.u32(&tail, x.value);
  }
  w.u32(&tail, following);
  if (sink->size() + tail.size() > kMaxTiffBytes) return ORVL_ERROR_INVALID_SIZE;
  return sink->append(tail.data(), tail.size()) ? ORVL_SUCCESS : ORVL_ERROR_FILE_WRITE;
}

// What a TIFF page needs of a bitmap.
int checkTiffSource(const ORVLBITMAP* bmp) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  return bmp->BitsPerPixel == 16 ? ORVL_ERROR_INVALID_BITS : ORVL_SUCCESS;
}

}  // namespace

int writeTiff(const ORVLBITMAP* bmp, bool packBits, ByteSink* sink) {
  int rc = checkTiffSource(bmp);
  if (rc != ORVL_SUCCESS) return rc;
  const uint8_t header[8] = {'I', 'I', 42, 0, 0, 0, 0, 0};
  if (!sink->append(header, sizeof header)) return ORVL_ERROR_FILE_WRITE;
  uint32_t ifdAt = 0;
  rc = writeTiffPage(bmp, packBits, false, 0, sink, &ifdAt);
  if (rc != ORVL_SUCCESS) return rc;
  constexpr uint32_t kFirstDirectoryField = 4;
  return TiffWriter(false).patch32(sink, kFirstDirectoryField, ifdAt) ? ORVL_SUCCESS : ORVL_ERROR_FILE_WRITE;
}

int encodeTiff(const ORVLBITMAP* bmp, bool packBits, int page, Bytes* file) {
  int rc = checkTiffSource(bmp);
  if (rc != ORVL_SUCCESS) return rc;
  if (page <= 1) {
    file->clear();
    BytesSink sink(file);
    return writeTiff(bmp, packBits, &sink);
  }
  TiffFile existing;
  rc = existing.parse(file->data(), file->size());
  if (rc != ORVL_SUCCESS) return rc;
  if (size_t(page) > existing.pages.size() + 1) return ORVL_ERROR_PAGE_NOT_FOUND;
  const bool big = existing.bigEndian();
  const uint32_t linkAt = existing.pages[size_t(page) - 2].nextField;  // where the new directory's offset goes
  // The directory the new one continues with: the pages after a replaced one.
  const uint32_t following = size_t(page) <= existing.pages.size() ? existing.pages[size_t(page) - 1].next : 0;
  if (file->size() & 1) file->push_back(0);
  BytesSink sink(file);
  uint32_t ifdAt = 0;
  rc = writeTiffPage(bmp, packBits, big, following, &sink, &ifdAt);
  if (rc != ORVL_SUCCESS) return rc;
  return TiffWriter(big).patch32(&sink, linkAt, ifdAt) ? ORVL_SUCCESS : ORVL_ERROR_FILE_CORRUPT;
}


// ---- JPEG through the suite's codec ----
int qualityFromFactor(int qfactor) {
  if (qfactor < 2) return 75;
  if (qfactor > 255) qfactor = 255;
  return std::max(1, 100 - qfactor * 100 / 255);
}

static int mapIjl(int r) {
  switch (r) {
    case ijl::kErrMemory: return ORVL_ERROR_NO_MEMORY;
    case ijl::kErrEndOfData: return ORVL_ERROR_FILE_READ;
    case ijl::kErrUnsupportedFormat: case ijl::kErrUnsupportedSubsampling: case ijl::kErrUnsupportedChannels: return ORVL_ERROR_NOT_SUPPORTED;
    case ijl::kErrNotJpeg: return ORVL_ERROR_FILE_FORMAT;
    case ijl::kErrImageTooLarge: return ORVL_ERROR_INVALID_SIZE;
    case ijl::kErrFileIo: return ORVL_ERROR_FILE_WRITE;
    default: return ORVL_ERROR_FILE_CORRUPT;
  }
}

int decodeJpeg(const uint8_t* data, size_t size, bool stamp, bool wantGrey, ORVLBITMAP* out) {
  ijl::Properties p;
  ijl::init(&p);
  p.jpgBytes = const_cast<uint8_t*>(data);
  p.jpgSizeBytes = uint32_t(size);
  int r = ijl::read(&p, ijl::kReadParams);
  if (!ijl::succeeded(r)) { ijl::free(&p); return mapIjl(r); }
  int w = stamp ? p.thumbWidth : p.jpgWidth, h = stamp ? p.thumbHeight : p.jpgHeight;
  if (stamp && (w <= 0 || h <= 0)) { ijl::free(&p); return ORVL_ERROR_PAGE_NOT_FOUND; }
  const bool grey = wantGrey && p.jpgChannels == 1 && !stamp;
  ORVLBITMAP bmp;
  int rc = createRaw(&bmp, w, h, grey ? 8 : 24, ORVL_ORDER_BGR, ORVL_TOP_LEFT);
  if (rc != ORVL_SUCCESS) { ijl::free(&p); return rc; }
  p.dibBytes = bmp.Data;
  p.dibWidth = w;
  p.dibHeight = h;
  p.dibChannels = grey ? 1 : 3;
  p.dibColor = grey ? ijl::kColorGray : ijl::kColorBgr;
  p.dibPadBytes = bmp.BytesPerLine - w * p.dibChannels;
  r = ijl::read(&p, stamp ? ijl::kReadThumbnail : ijl::kReadWhole);
  ijl::free(&p);
  if (!ijl::succeeded(r)) { orvlFreeBitmap(&bmp); return mapIjl(r); }
  *out = bmp;
  return ORVL_SUCCESS;
}

int encodeJpeg(const ORVLBITMAP* bmp, int quality, Bytes* out) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  ORVLBITMAP work{};
  const bool grey = bmp->BitsPerPixel == 8 && isGreyRamp(bmp);
  const ORVLBITMAP* src = bmp;
  bool own = false;
  if (!(bmp->BitsPerPixel == (grey ? 8 : 24) && bmp->ViewPerspective == ORVL_TOP_LEFT)) {
    int rc = grey ? orvlChangeBitmapViewPerspective(&work, bmp, ORVL_TOP_LEFT) : toBgr24(bmp, &work);
    if (rc != ORVL_SUCCESS) return rc;
    src = &work;
    own = true;
  }
  const int ch = grey ? 1 : 3;
  // Room for the worst case of the codec at any quality.
  out->assign(size_t(src->Width) * src->Height * ch * 2 + 65536, 0);
  ijl::Properties p;
  ijl::init(&p);
  p.dibBytes = src->Data;
  p.dibWidth = src->Width;
  p.dibHeight = src->Height;
  p.dibChannels = ch;
  p.dibColor = grey ? ijl::kColorGray : (src->Order == ORVL_ORDER_BGR ? ijl::kColorBgr : ijl::kColorRgb);
  p.dibPadBytes = src->BytesPerLine - src->Width * ch;
  p.jpgBytes = out->data();
  p.jpgSizeBytes = uint32_t(out->size());
  p.jpgWidth = src->Width;
  p.jpgHeight = src->Height;
  p.jpgChannels = ch;
  p.jpgColor = grey ? ijl::kColorGray : ijl::kColorYCbCr;
  p.jpgQuality = quality;
  int r = ijl::write(&p, ijl::kWriteWhole);
  uint32_t n = p.jpgSizeBytes;
  ijl::free(&p);
  if (own) orvlFreeBitmap(&work);
  if (!ijl::succeeded(r)) return mapIjl(r);
  out->resize(n);
  return ORVL_SUCCESS;
}

}  // namespace orvl
