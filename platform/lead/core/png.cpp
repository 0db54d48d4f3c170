// PNG reader of the portable core: chunk walk with CRC checks, zlib inflate, the five row filters, every
// colour type at depths 1 to 16 (16-bit samples round to 8 bits); interlaced files are left to the caller.
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "codecs.h"
#include "pixels.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orvl {
namespace {

constexpr uint32_t kIhdrLength = 13;
#ifdef ORVL_FUZZING
constexpr bool kCheckCrc = false;  // mutated inputs would all stop at the first CRC
#else
constexpr bool kCheckCrc = true;
#endif
constexpr size_t kBlockBytes = size_t(1) << 18;
constexpr int kGrey = 0, kRgb = 2, kPaletted = 3, kGreyAlpha = 4, kRgba = 6;
constexpr int kFilterNone = 0, kFilterSub = 1, kFilterUp = 2, kFilterAverage = 3, kFilterPaeth = 4;

uint32_t be32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]; }

// Samples per pixel of a colour type, 0 for a type PNG does not define.
int samplesOf(int type) {
  switch (type) {
    case kGrey: case kPaletted: return 1;
    case kGreyAlpha: return 2;
    case kRgb: return 3;
    case kRgba: return 4;
    default: return 0;
  }
}

bool depthAllowed(int type, int depth) {
  switch (type) {
    case kGrey: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case kPaletted: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    default: return depth == 8 || depth == 16;
  }
}

uint8_t paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

#ifdef __SSE2__
// Paeth for 3- and 4-byte pixels from pixel `from` on: one pixel's channels at a time in 16-bit lanes, without
// the branches that mispredict on photographs. Stops where a 4-byte load would pass the row; returns that index.
size_t unpaethPixels(uint8_t* row, const uint8_t* prev, size_t from, size_t n, size_t bpp) {
  const __m128i zero = _mm_setzero_si128(), low = _mm_set1_epi16(0xFF);
  auto load = [&](const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(v)), zero);
  };
  auto abs16 = [&](__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(zero, v)); };
  __m128i a = load(row + from - bpp), c = load(prev + from - bpp);
  size_t i = from;
  for (; i + 4 <= n; i += bpp) {
    const __m128i b = load(prev + i), x = load(row + i);
    const __m128i dbc = _mm_sub_epi16(b, c), dac = _mm_sub_epi16(a, c);
    const __m128i pa = abs16(dbc), pb = abs16(dac), pc = abs16(_mm_add_epi16(dbc, dac));
    const __m128i notA = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));
    const __m128i takeC = _mm_cmpgt_epi16(pb, pc);
    const __m128i bc = _mm_or_si128(_mm_andnot_si128(takeC, b), _mm_and_si128(takeC, c));
    const __m128i pred = _mm_or_si128(_mm_andnot_si128(notA, a), _mm_and_si128(notA, bc));
    a = _mm_and_si128(_mm_add_epi16(x, pred), low);
    uint32_t out = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(a, a)));
    if (bpp == 3) out = (out & 0xFFFFFFu) | (uint32_t(row[i + 3]) << 24);  // the next pixel's byte stays
    std::memcpy(row + i, &out, sizeof out);
    c = b;
  }
  return i;
}
#endif

// Undoes the row's filter in place; prev is the previous unfiltered row (zeros above the first).
bool unfilter(int filter, uint8_t* row, const uint8_t* prev, size_t n, size_t bpp) {
  switch (filter) {
    case kFilterNone: return true;
    case kFilterSub: for (size_t i = bpp; i < n; ++i) row[i] = uint8_t(row[i] + row[i - bpp]); return true;
    case kFilterUp: for (size_t i = 0; i < n; ++i) row[i] = uint8_t(row[i] + prev[i]); return true;
    case kFilterAverage:
      for (size_t i = 0; i < bpp && i < n; ++i) row[i] = uint8_t(row[i] + (prev[i] >> 1));
      for (size_t i = bpp; i < n; ++i) row[i] = uint8_t(row[i] + ((row[i - bpp] + prev[i]) >> 1));
      return true;
    case kFilterPaeth: {
      for (size_t i = 0; i < bpp && i < n; ++i) row[i] = uint8_t(row[i] + prev[i]);
      size_t i = bpp;
#ifdef __SSE2__
      if ((bpp == 3 || bpp == 4) && n > bpp) i = unpaethPixels(row, prev, bpp, n, bpp);
#endif
      for (; i < n; ++i) row[i] = uint8_t(row[i] + paeth(row[i - bpp], prev[i], prev[i - bpp]));
      return true;
    }
    default: return false;
  }
}

// Inflates the image data, spread over the IDAT chunks, a given number of bytes at a time.
class IdatStream {
 public:
  struct Span { const uint8_t* data; size_t size; };
  explicit IdatStream(const std::vector<Span>& spans) : spans_(spans) {
    std::memset(&z_, 0, sizeof z_);
    ok_ = inflateInit(&z_) == Z_OK;
  }
  ~IdatStream() { if (ok_) inflateEnd(&z_); }
  bool ready() const { return ok_; }
  // Fills out with exactly n bytes; false when the stream is damaged or ends early.
  bool read(uint8_t* out, size_t n) {
    z_.next_out = out;
    z_.avail_out = uInt(n);
    while (z_.avail_out) {
      if (ended_) return false;
      if (!z_.avail_in) {
        if (next_ == spans_.size()) return false;
        z_.next_in = const_cast<uint8_t*>(spans_[next_].data);
        z_.avail_in = uInt(spans_[next_].size);
        ++next_;
        continue;
      }
      const int r = inflate(&z_, Z_NO_FLUSH);
      if (r == Z_STREAM_END) ended_ = true;
      else if (r != Z_OK) return false;
    }
    return true;
  }

 private:
  const std::vector<Span>& spans_;
  z_stream z_;
  size_t next_ = 0;
  bool ok_ = false, ended_ = false;
};

// A big-endian 16-bit sample rounded to 8 bits (as ImageMagick reduces it, not just its high byte).
inline uint8_t to8(const uint8_t* p) { return uint8_t(((uint32_t(p[0]) << 8 | p[1]) * 255u + 32767u) / 65535u); }

// One unfiltered row in the bitmap's layout (see decodePng).
void storeRow(const uint8_t* s, int type, int depth, uint32_t width, uint8_t* d) {
  const int samples = samplesOf(type);
  if (depth == 1 || depth == 4) {
    std::memcpy(d, s, (size_t(width) * depth + 7) / 8);
  } else if (depth == 2) {
    // Two-bit samples widen to four-bit indices; grey levels land on the 16-level ramp (x * 5).
    for (uint32_t x = 0; x < width; ++x) {
      const int v = (s[x >> 2] >> (6 - 2 * (x & 3))) & 3;
      putRaw(d, int(x), 4, uint32_t(type == kGrey ? v * 5 : v));
    }
  } else if (depth == 16) {
    for (uint32_t x = 0; x < width; ++x, s += 2 * samples) {
      if (samples == 1) { *d++ = to8(s); continue; }
      uint8_t* px = d + size_t(x) * (samples == 3 ? 3 : 4);
      if (samples == 2) { px[0] = px[1] = px[2] = to8(s); px[3] = to8(s + 2); continue; }
      px[0] = to8(s + 4); px[1] = to8(s + 2); px[2] = to8(s);
      if (samples == 4) px[3] = to8(s + 6);
    }
  } else if (samples == 1) {
    std::memcpy(d, s, width);
  } else if (samples == 2) {
    for (uint32_t x = 0; x < width; ++x, s += 2, d += 4) { d[0] = d[1] = d[2] = s[0]; d[3] = s[1]; }
  } else {
    for (uint32_t x = 0; x < width; ++x, s += samples, d += samples) {
      d[0] = s[2]; d[1] = s[1]; d[2] = s[0];
      if (samples == 4) d[3] = s[3];
    }
  }
}

}  // namespace

int decodePng(const uint8_t* data, size_t size, ORVLBITMAP* out) {
  static const uint8_t kSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (size < 8 || std::memcmp(data, kSig, 8) != 0) return ORVL_ERROR_FILE_FORMAT;
  if (size < 8 + 12 + kIhdrLength) return ORVL_ERROR_FILE_READ;
  const uint8_t* h = data + 16;
  if (be32(data + 8) != kIhdrLength || std::memcmp(data + 12, "IHDR", 4) != 0 ||
      (kCheckCrc && be32(h + kIhdrLength) != uint32_t(crc32(0, data + 12, 4 + kIhdrLength))))
    return ORVL_ERROR_FILE_CORRUPT;
  const uint32_t width = be32(h), height = be32(h + 4);
  const int depth = h[8], type = h[9];
  if (!width || !height || width > ORVL_MAX_DIMENSION || height > ORVL_MAX_DIMENSION) return ORVL_ERROR_FILE_CORRUPT;
  if (!samplesOf(type) || !depthAllowed(type, depth) || h[10] != 0 || h[11] != 0 || h[12] > 1) return ORVL_ERROR_FILE_CORRUPT;
  if (h[12] == 1) return ORVL_ERROR_NOT_SUPPORTED;  // interlaced
  const int samples = samplesOf(type);
  const size_t bitsPerPixel = size_t(samples) * depth;
  const size_t rowBytes = (size_t(width) * bitsPerPixel + 7) / 8, bpp = bitsPerPixel < 8 ? 1 : bitsPerPixel / 8;
  const int outBits = type == kRgb ? 24 : (type == kRgba || type == kGreyAlpha) ? 32 : depth == 1 ? 1 : depth <= 4 ? 4 : 8;

  ORVLBITMAP bmp;
  int rc = createRaw(&bmp, int(width), int(height), outBits, ORVL_ORDER_BGR, ORVL_TOP_LEFT);
  if (rc != ORVL_SUCCESS) return rc;
  // Chunks after the header: every one must fit and carry its CRC; PLTE before the data; IEND ends the walk.
  std::vector<IdatStream::Span> spans;
  bool palette = false, ended = false;
  for (size_t p = 8 + 12 + kIhdrLength; !ended && rc == ORVL_SUCCESS;) {
    if (p + 12 > size) { rc = ORVL_ERROR_FILE_READ; break; }
    const uint32_t len = be32(data + p);
    if (len > 0x7fffffffu || size_t(len) > size - p - 12) { rc = ORVL_ERROR_FILE_READ; break; }
    const uint8_t* tag = data + p + 4;
    const uint8_t* body = tag + 4;
    if (kCheckCrc && be32(body + len) != uint32_t(crc32(0, tag, uInt(len + 4)))) rc = ORVL_ERROR_FILE_CORRUPT;
    else if (!std::memcmp(tag, "PLTE", 4)) {
      if (len % 3 || len / 3 > 256u || !spans.empty()) rc = ORVL_ERROR_FILE_CORRUPT;
      else if (type == kPaletted) {
        for (uint32_t i = 0; i < len / 3 && i < uint32_t(1) << depth; ++i)
          bmp.Palette[i] = ORVLRGBQUAD{body[3 * i + 2], body[3 * i + 1], body[3 * i], 0};
        palette = true;
      }
    } else if (!std::memcmp(tag, "IDAT", 4)) {
      if (type == kPaletted && !palette) rc = ORVL_ERROR_FILE_CORRUPT;
      else if (len) spans.push_back({body, len});
    } else if (!std::memcmp(tag, "IEND", 4)) {
      ended = true;
    } else if (!(tag[0] & 0x20)) {
      rc = ORVL_ERROR_NOT_SUPPORTED;  // an unknown critical chunk cannot be skipped safely
    }
    p += 12 + size_t(len);
  }
  if (rc == ORVL_SUCCESS && spans.empty()) rc = ORVL_ERROR_FILE_CORRUPT;
  if (rc != ORVL_SUCCESS) { orvlFreeBitmap(&bmp); return rc; }

  // Rows inflate a block at a time into a small buffer that stays in the cache; the row before the block
  // is kept for the filters that look up.
  IdatStream stream(spans);
  if (!stream.ready()) { orvlFreeBitmap(&bmp); return ORVL_ERROR_NO_MEMORY; }
  if (type == kGrey && depth == 2) greyPalette(bmp.Palette, 4);
  const size_t line = rowBytes + 1;
  const uint32_t blockRows = uint32_t(std::max<size_t>(1, std::min<size_t>(height, kBlockBytes / line)));
  Bytes block, above;
  try {
    block.resize(size_t(blockRows) * line);
    above.assign(line, 0);
  } catch (const std::bad_alloc&) {
    orvlFreeBitmap(&bmp);
    return ORVL_ERROR_NO_MEMORY;
  }
  for (uint32_t y0 = 0; y0 < height; y0 += blockRows) {
    const uint32_t n = std::min(blockRows, height - y0);
    if (!stream.read(block.data(), size_t(n) * line)) { orvlFreeBitmap(&bmp); return ORVL_ERROR_FILE_CORRUPT; }
    for (uint32_t k = 0; k < n; ++k) {
      uint8_t* row = &block[size_t(k) * line];
      const uint8_t* prev = k ? row - line + 1 : above.data() + 1;
      if (!unfilter(row[0], row + 1, prev, rowBytes, bpp)) { orvlFreeBitmap(&bmp); return ORVL_ERROR_FILE_CORRUPT; }
      storeRow(row + 1, type, depth, width, bmp.Data + size_t(y0 + k) * bmp.BytesPerLine);
    }
    std::memcpy(above.data(), &block[size_t(n - 1) * line], line);
  }
  *out = bmp;
  return ORVL_SUCCESS;
}

}  // namespace orvl
