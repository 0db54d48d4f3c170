// BMP reading (1/4/8/16/24/32 bits, RLE4/RLE8, bit fields, OS/2 headers, both row orders) and writing.
#include <cstdlib>
#include <cstring>

#include "codecs.h"
#include "pixels.h"

namespace orvl {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kMasksHeaderSize = 52, kAlphaMaskHeaderSize = 56;  // headers that hold the masks themselves
constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;
constexpr double kInchesPerMetre = 39.3701;

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }
void put16(Bytes* o, uint32_t v) { o->push_back(uint8_t(v)); o->push_back(uint8_t(v >> 8)); }
void put32(Bytes* o, uint32_t v) { put16(o, v & 0xffff); put16(o, v >> 16); }

int shiftOf(uint32_t mask) { int s = 0; while (mask && !(mask & 1)) { mask >>= 1; ++s; } return s; }
int widthOf(uint32_t mask) { mask >>= shiftOf(mask); int n = 0; while (mask & 1) { mask >>= 1; ++n; } return n; }
uint8_t expand(uint32_t v, uint32_t mask) {
  if (!mask) return 0;
  int w = widthOf(mask);
  uint32_t x = (v & mask) >> shiftOf(mask);
  if (w >= 8) return uint8_t(x >> (w - 8));
  uint32_t r = 0;
  for (int got = 0; got < 8; got += w) r = (r << w) | x;  // replicate the high bits down
  int total = ((8 + w - 1) / w) * w;
  return uint8_t(r >> (total - 8));
}

// Decodes RLE data into out (8 or 4 bits, memory rows in file order, bottom row first).
int decodeRle(const uint8_t* p, size_t n, bool four, ORVLBITMAP* out) {
  int x = 0, y = 0;
  const int w = out->Width, h = out->Height;
  size_t i = 0;
  auto put = [&](int value) {
    if (x < w && y < h) putRaw(out->Data + size_t(y) * out->BytesPerLine, x, four ? 4 : 8, uint32_t(value));
    ++x;
  };
  while (i + 1 < n) {
    uint8_t count = p[i], value = p[i + 1];
    i += 2;
    if (count) {
      for (int k = 0; k < count; ++k) put(four ? ((k & 1) ? (value & 0x0f) : (value >> 4)) : value);
      continue;
    }
    if (value == 0) { x = 0; ++y; continue; }   // end of line
    if (value == 1) return ORVL_SUCCESS;         // end of bitmap
    if (value == 2) {                            // delta
      if (i + 2 > n) return ORVL_ERROR_FILE_READ;
      x += p[i];
      y += p[i + 1];
      i += 2;
      continue;
    }
    // Absolute run of `value` pixels, padded to a 16-bit boundary.
    size_t bytes = four ? (size_t(value) + 1) / 2 : value;
    if (i + bytes > n) return ORVL_ERROR_FILE_READ;
    for (int k = 0; k < value; ++k) put(four ? ((k & 1) ? (p[i + size_t(k) / 2] & 0x0f) : (p[i + size_t(k) / 2] >> 4)) : p[i + size_t(k)]);
    i += (bytes + 1) & ~size_t(1);
    if (y >= h) break;
  }
  // Data ended without an end-of-bitmap marker: keep what was decoded only if every line was reached.
  return y >= h - 1 ? ORVL_SUCCESS : ORVL_ERROR_FILE_READ;
}

}  // namespace

int decodeBmp(const uint8_t* data, size_t size, ORVLBITMAP* out) {
  if (size < 2 || data[0] != 'B' || data[1] != 'M') return ORVL_ERROR_FILE_FORMAT;
  if (size < kFileHeaderSize + 4) return ORVL_ERROR_FILE_READ;
  const uint32_t offBits = le32(data + 10), hsize = le32(data + 14);
  if (hsize != kCoreHeaderSize && (hsize < kInfoHeaderSize || hsize > 1024)) return ORVL_ERROR_FILE_CORRUPT;
  if (size < kFileHeaderSize + hsize) return ORVL_ERROR_FILE_READ;
  const uint8_t* h = data + kFileHeaderSize;
  int64_t width, height;
  int bits;
  uint32_t compression = kBiRgb, used = 0, xppm = 0, yppm = 0;
  if (hsize == kCoreHeaderSize) {
    width = le16(h + 4); height = int16_t(le16(h + 6)); bits = le16(h + 10);
  } else {
    width = int32_t(le32(h + 4)); height = int32_t(le32(h + 8)); bits = le16(h + 14);
    compression = le32(h + 16); xppm = le32(h + 24); yppm = le32(h + 28); used = le32(h + 32);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > ORVL_MAX_DIMENSION || height > ORVL_MAX_DIMENSION) return ORVL_ERROR_FILE_CORRUPT;
  if (!(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32)) return ORVL_ERROR_FILE_CORRUPT;
  if (compression == kBiRle8 && bits != 8) return ORVL_ERROR_FILE_CORRUPT;
  if (compression == kBiRle4 && bits != 4) return ORVL_ERROR_FILE_CORRUPT;
  if (compression == kBiBitfields && bits != 16 && bits != 32) return ORVL_ERROR_FILE_CORRUPT;
  if (compression > kBiBitfields) return ORVL_ERROR_NOT_SUPPORTED;  // embedded JPEG/PNG
  if ((compression == kBiRle4 || compression == kBiRle8) && topDown) return ORVL_ERROR_FILE_CORRUPT;

  // Masks: bit fields follow a 40-byte header, or sit inside a larger one.
  uint32_t masks[4] = {0x7c00, 0x03e0, 0x001f, 0};
  if (bits == 32) { masks[0] = 0xff0000; masks[1] = 0xff00; masks[2] = 0xff; }
  if (compression == kBiBitfields) {
    const uint8_t* m = h + kInfoHeaderSize;
    // A header longer than 40 bytes but too short for the three masks would have them half outside it.
    if (hsize != kInfoHeaderSize && hsize < kMasksHeaderSize) return ORVL_ERROR_FILE_CORRUPT;
    if (hsize == kInfoHeaderSize && size < kFileHeaderSize + hsize + 12) return ORVL_ERROR_FILE_READ;
    for (int k = 0; k < 3; ++k) masks[k] = le32(m + 4 * k);
    if (hsize >= kAlphaMaskHeaderSize) masks[3] = le32(m + 12);
    if (!masks[0] || !masks[1] || !masks[2]) return ORVL_ERROR_FILE_CORRUPT;
  }
  // Palette.
  const int entrySize = hsize == kCoreHeaderSize ? 3 : 4;
  int colors = 0;
  if (bits <= 8) {
    colors = used ? int(used) : (1 << bits);
    if (used > uint32_t(1 << bits)) return ORVL_ERROR_FILE_CORRUPT;
  }
  size_t palOffset = kFileHeaderSize + hsize + (compression == kBiBitfields && hsize == kInfoHeaderSize ? 12 : 0);
  if (palOffset + size_t(colors) * entrySize > size) return ORVL_ERROR_FILE_READ;

  const bool direct = (compression == kBiRgb && bits != 16) || bits <= 8;
  int outBits = bits;
  if (bits == 16) outBits = 24;
  if (compression == kBiBitfields && bits == 32) outBits = 32;
  ORVLBITMAP bmp;
  int rc = createRaw(&bmp, int(width), int(height), outBits, ORVL_ORDER_BGR, topDown ? ORVL_TOP_LEFT : ORVL_BOTTOM_LEFT);
  if (rc != ORVL_SUCCESS) return rc;
  if (xppm) bmp.XResolution = int32_t(xppm / kInchesPerMetre + 0.5);
  if (yppm) bmp.YResolution = int32_t(yppm / kInchesPerMetre + 0.5);
  if (bits <= 8) {
    std::memset(bmp.Palette, 0, sizeof bmp.Palette);
    for (int i = 0; i < colors; ++i) {
      const uint8_t* e = data + palOffset + size_t(i) * entrySize;
      bmp.Palette[i] = ORVLRGBQUAD{e[0], e[1], e[2], 0};
    }
    bmp.nColors = colors;
  }
  if (offBits > size || offBits < kFileHeaderSize) { orvlFreeBitmap(&bmp); return ORVL_ERROR_FILE_CORRUPT; }
  const uint8_t* pix = data + offBits;
  const size_t avail = size - offBits;
  if (compression == kBiRle4 || compression == kBiRle8) {
    rc = decodeRle(pix, avail, compression == kBiRle4, &bmp);
    if (rc != ORVL_SUCCESS) { orvlFreeBitmap(&bmp); return rc; }
    *out = bmp;
    return ORVL_SUCCESS;
  }
  const size_t stride = size_t(lineBytes(int(width), bits));
  if (uint64_t(avail) < uint64_t(stride) * uint64_t(height)) { orvlFreeBitmap(&bmp); return ORVL_ERROR_FILE_READ; }
  for (int y = 0; y < height; ++y) {
    const uint8_t* s = pix + stride * size_t(y);
    uint8_t* d = bmp.Data + size_t(y) * bmp.BytesPerLine;
    if (direct && outBits == bits) { std::memcpy(d, s, stride); continue; }
    for (int x = 0; x < width; ++x) {
      uint32_t v = bits == 16 ? le16(s + 2 * x) : le32(s + 4 * x);
      uint8_t* q = d + size_t(x) * (outBits / 8);
      q[0] = expand(v, masks[2]); q[1] = expand(v, masks[1]); q[2] = expand(v, masks[0]);
      if (outBits == 32) q[3] = masks[3] ? expand(v, masks[3]) : 0;
    }
  }
  *out = bmp;
  return ORVL_SUCCESS;
}

int encodeBmp(const ORVLBITMAP* bmp, Bytes* out) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  const int bits = bmp->BitsPerPixel;
  const int colors = bits <= 8 ? (1 << bits) : 0;
  const uint32_t stride = uint32_t(lineBytes(bmp->Width, bits));
  const uint32_t offBits = kFileHeaderSize + kInfoHeaderSize + 4u * colors;
  const uint64_t total = offBits + uint64_t(stride) * bmp->Height;
  if (total > 0x7fffffffu) return ORVL_ERROR_INVALID_SIZE;
  out->clear();
  out->reserve(size_t(total));
  out->push_back('B'); out->push_back('M');
  put32(out, uint32_t(total)); put32(out, 0); put32(out, offBits);
  put32(out, kInfoHeaderSize); put32(out, uint32_t(bmp->Width)); put32(out, uint32_t(bmp->Height));
  put16(out, 1); put16(out, uint32_t(bits)); put32(out, kBiRgb); put32(out, stride * uint32_t(bmp->Height));
  put32(out, uint32_t(bmp->XResolution * kInchesPerMetre + 0.5)); put32(out, uint32_t(bmp->YResolution * kInchesPerMetre + 0.5));
  put32(out, uint32_t(colors)); put32(out, 0);
  for (int i = 0; i < colors; ++i) {
    const ORVLRGBQUAD& q = bmp->Palette[i];
    out->push_back(q.rgbBlue); out->push_back(q.rgbGreen); out->push_back(q.rgbRed); out->push_back(0);
  }
  const size_t start = out->size();
  out->resize(size_t(total));
  for (int y = 0; y < bmp->Height; ++y) {
    // Bottom-up: file line 0 is the picture's last row.
    const uint8_t* s = viewRow(bmp, bmp->Height - 1 - y);
    uint8_t* d = out->data() + start + size_t(y) * stride;
    std::memcpy(d, s, stride);
    if (bits >= 24 && bmp->Order == ORVL_ORDER_RGB)
      for (int x = 0; x < bmp->Width; ++x) std::swap(d[x * (bits / 8)], d[x * (bits / 8) + 2]);
  }
  return ORVL_SUCCESS;
}

}  // namespace orvl
