// File identification: format number, size, depth, resolution, compression and pages from a file's bytes.
#include <cstdio>
#include <cstring>
#include <set>

#include "codecs.h"
#include "ijl/ijl.h"
#include "pixels.h"
#include "tiff_ifd.h"

namespace orvl {
namespace {

uint16_t be16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
uint32_t be32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]; }
uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }

constexpr uint32_t kPlaceableWmfKey = 0x9AC6CDD7u;
constexpr uint32_t kEmfSignature = 0x464D4520u;  // " EMF"
constexpr uint32_t kDosEpsKey = 0xC6D3D0C5u;
constexpr size_t kPictHeader = 512;
constexpr size_t kPcdSignatureOffset = 2048;
constexpr int kScreenDpi = 96;
constexpr int kPcdBaseWidth = 768, kPcdBaseHeight = 512;

void setCompression(ORVLFILEINFO* info, const char* name) {
  std::snprintf(info->Compression, sizeof info->Compression, "%s", name);
}

void finish(ORVLFILEINFO* info) {
  info->BytesPerLine = lineBytes(info->Width, info->BitsPerPixel);
  info->SizeMem = uint32_t(uint64_t(info->BytesPerLine) * uint64_t(info->Height));
  if (info->TotalPages < 1) info->TotalPages = 1;
  if (info->PageNumber < 1) info->PageNumber = 1;
}

int identifyBmp(const uint8_t* d, size_t n, ORVLFILEINFO* info) {
  if (n < 26) return ORVL_ERROR_FILE_READ;
  uint32_t hsize = le32(d + 14);
  int64_t w, h;
  int bits;
  uint32_t comp = 0, xppm = 0, yppm = 0;
  if (hsize == 12) {
    info->Format = ORVL_FMT_BMP_OS2;
    w = le16(d + 18); h = int16_t(le16(d + 20)); bits = le16(d + 24);
  } else {
    if (hsize < 40 || n < 54) return hsize < 40 ? ORVL_ERROR_FILE_CORRUPT : ORVL_ERROR_FILE_READ;
    info->Format = ORVL_FMT_BMP;
    w = int32_t(le32(d + 18)); h = int32_t(le32(d + 22)); bits = le16(d + 28);
    comp = le32(d + 30); xppm = le32(d + 38); yppm = le32(d + 42);
  }
  info->ViewPerspective = h < 0 ? ORVL_TOP_LEFT : ORVL_BOTTOM_LEFT;
  if (h < 0) h = -h;
  if (w <= 0 || h <= 0 || w > ORVL_MAX_DIMENSION || h > ORVL_MAX_DIMENSION) return ORVL_ERROR_FILE_CORRUPT;
  if (!isValidBits(bits)) return ORVL_ERROR_FILE_CORRUPT;
  info->Width = int32_t(w);
  info->Height = int32_t(h);
  info->BitsPerPixel = bits == 16 ? 24 : bits;
  info->XResolution = int32_t(xppm / 39.3701 + 0.5);
  info->YResolution = int32_t(yppm / 39.3701 + 0.5);
  info->Order = ORVL_ORDER_BGR;
  setCompression(info, comp == 1 || comp == 2 ? "run length" : comp == 4 ? "JPEG" : comp == 5 ? "PNG" : "NONE");
  return ORVL_SUCCESS;
}

int identifyPng(const uint8_t* d, size_t n, ORVLFILEINFO* info) {
  if (n < 33) return ORVL_ERROR_FILE_READ;
  if (std::memcmp(d + 12, "IHDR", 4) != 0) return ORVL_ERROR_FILE_CORRUPT;
  info->Format = ORVL_FMT_PNG;
  uint32_t w = be32(d + 16), h = be32(d + 20);
  int depth = d[24], type = d[25];
  if (!w || !h || w > ORVL_MAX_DIMENSION || h > ORVL_MAX_DIMENSION) return ORVL_ERROR_FILE_CORRUPT;
  info->Width = int32_t(w);
  info->Height = int32_t(h);
  switch (type) {
    case 0: info->BitsPerPixel = depth == 1 ? 1 : depth <= 4 ? 4 : 8; break;
    case 3: info->BitsPerPixel = depth == 1 ? 1 : depth <= 4 ? 4 : 8; break;
    case 2: info->BitsPerPixel = 24; break;
    case 4: case 6: info->BitsPerPixel = 32; break;
    default: return ORVL_ERROR_FILE_CORRUPT;
  }
  if (d[28]) info->Flags |= ORVL_FILEINFO_INTERLACED;
  info->Order = ORVL_ORDER_RGB;
  setCompression(info, "Deflate");
  // Resolution from pHYs (pixels per metre) when it comes before the image data.
  size_t p = 8;
  while (p + 12 <= n) {
    uint32_t len = be32(d + p);
    if (len > n) break;
    if (!std::memcmp(d + p + 4, "pHYs", 4) && len >= 9 && p + 8 + 9 <= n && d[p + 16] == 1) {
      info->XResolution = int32_t(be32(d + p + 8) / 39.3701 + 0.5);
      info->YResolution = int32_t(be32(d + p + 12) / 39.3701 + 0.5);
    }
    if (!std::memcmp(d + p + 4, "IDAT", 4)) break;
    p += 12 + size_t(len);
  }
  return ORVL_SUCCESS;
}

int identifyGif(const uint8_t* d, size_t n, ORVLFILEINFO* info) {
  if (n < 13) return ORVL_ERROR_FILE_READ;
  info->Format = ORVL_FMT_GIF;
  info->Width = le16(d + 6);
  info->Height = le16(d + 8);
  if (!info->Width || !info->Height) return ORVL_ERROR_FILE_CORRUPT;
  info->BitsPerPixel = 8;
  setCompression(info, "LZW");
  return ORVL_SUCCESS;
}

int identifyTiff(const uint8_t* d, size_t n, int page, ORVLFILEINFO* info) {
  TiffFile t;
  int rc = t.parse(d, n);
  if (rc != ORVL_SUCCESS) return rc;
  info->Format = ORVL_FMT_TIFF;
  info->TotalPages = int32_t(t.pages.size());
  if (page < 1) page = 1;
  if (page > int(t.pages.size())) return ORVL_ERROR_PAGE_NOT_FOUND;
  TiffPage pg;
  rc = t.readPage(size_t(page - 1), &pg);
  if (rc != ORVL_SUCCESS) return rc;
  if (!pg.width || !pg.height || pg.width > ORVL_MAX_DIMENSION || pg.height > ORVL_MAX_DIMENSION) return ORVL_ERROR_FILE_CORRUPT;
  info->Width = int32_t(pg.width);
  info->Height = int32_t(pg.height);
  int bits = int(pg.bitsPerSample * pg.samplesPerPixel);
  info->BitsPerPixel = bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : pg.samplesPerPixel >= 4 ? 32 : 24;
  info->XResolution = pg.xdpi;
  info->YResolution = pg.ydpi;
  info->Order = ORVL_ORDER_RGB;
  const char* name = "NONE";
  switch (pg.compression) {
    case 1: name = "NONE"; break;
    case 2: name = "CCITT RLE"; break;
    case 3: name = "CCITT G3"; break;
    case 4: name = "CCITT G4"; break;
    case 5: name = "LZW"; break;
    case 6: case 7: name = "JPEG"; break;
    case 8: case 32946: name = "Deflate"; break;
    case 32773: name = "run length"; break;
    default: name = "other"; break;
  }
  setCompression(info, name);
  return ORVL_SUCCESS;
}

// JFIF density from APP0, when present.
void jfifDensity(const uint8_t* d, size_t n, ORVLFILEINFO* info) {
  if (n < 20 || d[2] != 0xFF || d[3] != 0xE0 || std::memcmp(d + 6, "JFIF", 5) != 0) return;
  int units = d[13], x = be16(d + 14), y = be16(d + 16);
  if (units == 1) { info->XResolution = x; info->YResolution = y; }
  else if (units == 2) { info->XResolution = int32_t(x * 2.54 + 0.5); info->YResolution = int32_t(y * 2.54 + 0.5); }
}

int identifyJpeg(const uint8_t* d, size_t n, ORVLFILEINFO* info) {
  ijl::Properties props;
  ijl::init(&props);
  props.jpgBytes = const_cast<uint8_t*>(d);
  props.jpgSizeBytes = uint32_t(n);
  int r = ijl::read(&props, ijl::kReadParams);
  info->Format = ORVL_FMT_JPEG;
  if (ijl::succeeded(r)) {
    info->Width = props.jpgWidth;
    info->Height = props.jpgHeight;
    info->BitsPerPixel = props.jpgChannels == 1 ? 8 : 24;
    if (props.jpgProgressive) info->Flags |= ORVL_FILEINFO_PROGRESSIVE;
    if (props.thumbWidth > 0) info->Flags |= ORVL_FILEINFO_HAS_STAMP;
  }
  ijl::free(&props);
  if (!ijl::succeeded(r)) return r == ijl::kErrEndOfData ? ORVL_ERROR_FILE_READ
                                 : r == ijl::kErrUnsupportedFormat ? ORVL_ERROR_NOT_SUPPORTED : ORVL_ERROR_FILE_CORRUPT;
  info->Order = ORVL_ORDER_BGR;
  setCompression(info, "JPEG");
  jfifDensity(d, n, info);
  return ORVL_SUCCESS;
}

int identifyMetafile(const uint8_t* d, size_t n, ORVLFILEINFO* info) {
  info->Format = ORVL_FMT_WMF;
  info->BitsPerPixel = 24;
  info->XResolution = info->YResolution = kScreenDpi;
  if (le32(d) == kPlaceableWmfKey) {
    if (n < 22) return ORVL_ERROR_FILE_READ;
    int l = int16_t(le16(d + 6)), t = int16_t(le16(d + 8)), r = int16_t(le16(d + 10)), b = int16_t(le16(d + 12));
    int inch = le16(d + 14);
    if (!inch || r <= l || b <= t) return ORVL_ERROR_FILE_CORRUPT;
    info->Width = (r - l) * kScreenDpi / inch;
    info->Height = (b - t) * kScreenDpi / inch;
    setCompression(info, "WMF");
  } else {
    if (n < 88) return ORVL_ERROR_FILE_READ;
    // EMF frame rectangle in 0.01 mm.
    int32_t l = int32_t(le32(d + 24)), t = int32_t(le32(d + 28)), r = int32_t(le32(d + 32)), b = int32_t(le32(d + 36));
    if (r <= l || b <= t) return ORVL_ERROR_FILE_CORRUPT;
    info->Width = int32_t(int64_t(r - l) * kScreenDpi / 2540);
    info->Height = int32_t(int64_t(b - t) * kScreenDpi / 2540);
    setCompression(info, "EMF");
  }
  if (info->Width <= 0 || info->Height <= 0 || info->Width > ORVL_MAX_DIMENSION || info->Height > ORVL_MAX_DIMENSION)
    return ORVL_ERROR_FILE_CORRUPT;
  return ORVL_SUCCESS;
}

int identifyEps(const uint8_t* d, size_t n, ORVLFILEINFO* info) {
  info->Format = ORVL_FMT_EPS;
  info->BitsPerPixel = 24;
  info->XResolution = info->YResolution = 72;
  setCompression(info, "PostScript");
  size_t start = 0, len = n;
  if (le32(d) == kDosEpsKey && n >= 12) {
    start = le32(d + 4);
    len = le32(d + 8);
    if (start > n || len > n - start) return ORVL_ERROR_FILE_READ;
  }
  const char* key = "%%BoundingBox:";
  const size_t klen = std::strlen(key);
  for (size_t i = start; i + klen < start + len; ++i) {
    if (std::memcmp(d + i, key, klen) != 0) continue;
    char buf[128] = {0};
    std::memcpy(buf, d + i + klen, std::min<size_t>(sizeof buf - 1, start + len - i - klen));
    int x0, y0, x1, y1;
    if (std::sscanf(buf, "%d %d %d %d", &x0, &y0, &x1, &y1) == 4 && x1 > x0 && y1 > y0) {
      info->Width = x1 - x0;
      info->Height = y1 - y0;
      return ORVL_SUCCESS;
    }
  }
  return ORVL_ERROR_FILE_CORRUPT;
}

bool pictAt(const uint8_t* d, size_t n, size_t base) {
  // picSize, picFrame, then version opcode 0x1101 (v1) or 0x0011 0x02FF (v2).
  if (n < base + 14) return false;
  const uint8_t* v = d + base + 10;
  return (v[0] == 0x11 && v[1] == 0x01) || (v[0] == 0x00 && v[1] == 0x11 && v[2] == 0x02 && v[3] == 0xFF);
}

int identifyPict(const uint8_t* d, size_t base, ORVLFILEINFO* info) {
  const uint8_t* f = d + base + 2;
  int t = int16_t(be16(f)), l = int16_t(be16(f + 2)), b = int16_t(be16(f + 4)), r = int16_t(be16(f + 6));
  info->Format = ORVL_FMT_PICT;
  info->Width = r - l;
  info->Height = b - t;
  info->BitsPerPixel = 24;
  info->XResolution = info->YResolution = 72;
  setCompression(info, "PICT");
  return info->Width > 0 && info->Height > 0 ? ORVL_SUCCESS : ORVL_ERROR_FILE_CORRUPT;
}

}  // namespace

int identify(const uint8_t* d, size_t n, int page, ORVLFILEINFO* info) {
  std::memset(info, 0, sizeof *info);
  info->uStructSize = sizeof *info;
  info->SizeDisk = uint32_t(n);
  info->PageNumber = page < 1 ? 1 : page;
  info->TotalPages = 1;
  info->ViewPerspective = ORVL_TOP_LEFT;
  if (!d || n < 4) return n == 0 ? ORVL_ERROR_FILE_READ : ORVL_ERROR_FILE_FORMAT;
  int rc;
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (d[0] == 'B' && d[1] == 'M') rc = identifyBmp(d, n, info);
  else if (n >= 8 && !std::memcmp(d, kPng, 8)) rc = identifyPng(d, n, info);
  else if (!std::memcmp(d, "GIF87a", std::min<size_t>(n, 6)) || !std::memcmp(d, "GIF89a", std::min<size_t>(n, 6))) rc = identifyGif(d, n, info);
  else if ((d[0] == 'I' && d[1] == 'I' && d[2] == 42 && d[3] == 0) || (d[0] == 'M' && d[1] == 'M' && d[2] == 0 && d[3] == 42)) rc = identifyTiff(d, n, info->PageNumber, info);
  else if (d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF) rc = identifyJpeg(d, n, info);
  else if (le32(d) == kPlaceableWmfKey || (n >= 44 && le32(d) == 1 && le32(d + 40) == kEmfSignature)) rc = identifyMetafile(d, n, info);
  else if (le32(d) == kDosEpsKey || (n >= 10 && !std::memcmp(d, "%!PS-Adobe", 10))) rc = identifyEps(d, n, info);
  else if (n >= kPcdSignatureOffset + 7 && !std::memcmp(d + kPcdSignatureOffset, "PCD_IPI", 7)) {
    info->Format = ORVL_FMT_PCD;
    info->Width = kPcdBaseWidth;
    info->Height = kPcdBaseHeight;
    info->BitsPerPixel = 24;
    setCompression(info, "PhotoYCC");
    rc = ORVL_SUCCESS;
  } else if (pictAt(d, n, kPictHeader)) rc = identifyPict(d, kPictHeader, info);
  else if (pictAt(d, n, 0)) rc = identifyPict(d, 0, info);
  else return ORVL_ERROR_FILE_FORMAT;
  if (rc == ORVL_SUCCESS) finish(info);
  return rc;
}

}  // namespace orvl
