// TIFF pages (over the shared directory reader) and the writers of the portable core: PNG, TIFF pages, JPEG.
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
                   kTagExtraSamples = 338, kTagSubfileType = 254;
using tiffifd::kTypeLong;
using tiffifd::kTypeRational;
using tiffifd::kTypeShort;

int TiffFile::parse(const uint8_t* data, size_t size) {
  using tiffifd::Status;
  pages.clear();
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
  void patch32(Bytes* o, size_t at, uint32_t v) const {
    Bytes t;
    u32(&t, v);
    std::memcpy(o->data() + at, t.data(), 4);
  }

 private:
  bool big_;
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

}  // namespace

int encodeTiff(const ORVLBITMAP* bmp, bool packBits, int page, Bytes* file) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  const int bits = bmp->BitsPerPixel;
  if (bits == 16) return ORVL_ERROR_INVALID_BITS;
  TiffFile existing;
  bool big = false;
  size_t linkAt = 4;      // where the new directory's offset goes
  uint32_t following = 0; // directory the new one continues with (pages after a replaced one)
  if (page > 1) {
    int rc = existing.parse(file->data(), file->size());
    if (rc != ORVL_SUCCESS) return rc;
    if (size_t(page) > existing.pages.size() + 1) return ORVL_ERROR_PAGE_NOT_FOUND;
    big = existing.bigEndian();
    linkAt = existing.pages[size_t(page) - 2].nextField;
    if (size_t(page) <= existing.pages.size()) following = existing.pages[size_t(page) - 1].next;
  } else {
    file->clear();
    file->push_back('I'); file->push_back('I'); file->push_back(42); file->push_back(0);
    file->push_back(0); file->push_back(0); file->push_back(0); file->push_back(0);
  }
  TiffWriter w(big);
  if (file->size() & 1) file->push_back(0);

  const bool alpha = hasAlpha(bmp);
  const int channels = bits <= 8 ? 1 : alpha ? 4 : 3;
  const bool greyPal = bits <= 8 && isGreyRamp(bmp);
  const uint32_t photometric = bits <= 8 ? (greyPal ? 1 : 3) : 2;
  const size_t rowBytes = bits <= 8 ? size_t((int64_t(bmp->Width) * bits + 7) / 8) : size_t(bmp->Width) * channels;

  // Pixel data: one strip.
  const uint32_t stripOffset = uint32_t(file->size());
  Bytes row(rowBytes);
  for (int y = 0; y < bmp->Height; ++y) {
    fileRow(bmp, y, bits <= 8 ? 0 : channels, row.data());
    if (packBits) packBitsRow(row.data(), rowBytes, file);
    else file->insert(file->end(), row.begin(), row.end());
    if (file->size() > 0x7ff00000u) return ORVL_ERROR_INVALID_SIZE;
  }
  const uint32_t stripBytes = uint32_t(file->size() - stripOffset);
  if (file->size() & 1) file->push_back(0);

  // Out-of-line values: bits per sample, resolutions, colour map.
  uint32_t bitsAt = 0;
  if (channels > 1) { bitsAt = uint32_t(file->size()); for (int k = 0; k < channels; ++k) w.u16(file, 8); }
  const uint32_t resAt = uint32_t(file->size());
  int xr = bmp->XResolution > 0 ? bmp->XResolution : 72, yr = bmp->YResolution > 0 ? bmp->YResolution : 72;
  w.u32(file, uint32_t(xr)); w.u32(file, 1); w.u32(file, uint32_t(yr)); w.u32(file, 1);
  uint32_t mapAt = 0;
  if (photometric == 3) {
    mapAt = uint32_t(file->size());
    const int n = 1 << bits;
    for (int c = 0; c < 3; ++c)
      for (int i = 0; i < n; ++i) {
        const ORVLRGBQUAD& q = bmp->Palette[i];
        uint32_t v = c == 0 ? q.rgbRed : c == 1 ? q.rgbGreen : q.rgbBlue;
        w.u16(file, v * 257);
      }
  }
  std::vector<Entry> e;
  e.push_back({kTagSubfileType, kTypeLong, 1, 0});
  e.push_back({kTagWidth, kTypeLong, 1, uint32_t(bmp->Width)});
  e.push_back({kTagHeight, kTypeLong, 1, uint32_t(bmp->Height)});
  e.push_back({kTagBits, kTypeShort, uint32_t(channels), channels > 1 ? bitsAt : uint32_t(bits <= 8 ? bits : 8)});
  e.push_back({kTagCompression, kTypeShort, 1, packBits ? 32773u : 1u});
  e.push_back({kTagPhotometric, kTypeShort, 1, photometric});
  e.push_back({kTagStripOffsets, kTypeLong, 1, stripOffset});
  e.push_back({kTagSamples, kTypeShort, 1, uint32_t(channels)});
  e.push_back({kTagRowsPerStrip, kTypeLong, 1, uint32_t(bmp->Height)});
  e.push_back({kTagStripBytes, kTypeLong, 1, stripBytes});
  e.push_back({kTagXRes, kTypeRational, 1, resAt});
  e.push_back({kTagYRes, kTypeRational, 1, resAt + 8});
  e.push_back({kTagPlanar, kTypeShort, 1, 1});
  e.push_back({kTagResUnit, kTypeShort, 1, 2});
  if (mapAt) e.push_back({kTagColorMap, kTypeShort, uint32_t(3 << bits), mapAt});
  if (alpha) e.push_back({kTagExtraSamples, kTypeShort, 1, 2});
  const uint32_t ifdAt = uint32_t(file->size());
  w.u16(file, uint32_t(e.size()));
  for (const Entry& x : e) {
    w.u16(file, x.tag); w.u16(file, x.type); w.u32(file, x.count);
    if (x.type == kTypeShort && x.count == 1) { w.u16(file, x.value); w.u16(file, 0); }
    else w.u32(file, x.value);
  }
  w.u32(file, following);
  w.patch32(file, linkAt, ifdAt);
  return ORVL_SUCCESS;
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
