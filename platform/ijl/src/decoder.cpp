// JPEG decoding: markers, Huffman decoding (baseline and progressive), and the row pipeline to the caller's bitmap.
#include "decoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "color.h"
#include "ijl/ijl.h"
#include "tables.h"
#include "tiffifd/tiffifd.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ijl::detail {
namespace {

constexpr int kMarkerSof0 = 0xC0, kMarkerSof1 = 0xC1, kMarkerSof2 = 0xC2, kMarkerDht = 0xC4;
constexpr int kMarkerSoi = 0xD8, kMarkerEoi = 0xD9, kMarkerSos = 0xDA, kMarkerDqt = 0xDB, kMarkerDri = 0xDD;
constexpr int kMarkerRst0 = 0xD0, kMarkerRst7 = 0xD7, kMarkerApp0 = 0xE0, kMarkerApp1 = 0xE1, kMarkerApp14 = 0xEE;
constexpr int kMarkerTem = 0x01;
constexpr int kMaxSamplingFactor = 4;
constexpr int kMaxDcCategory = 11;
constexpr int kMaxSuccessiveBit = 13;
constexpr int kAdobeTransformYcck = 2;
constexpr int kAdobeTransformNone = 0;
// Progressive and multi-scan files keep all coefficients; this bounds that memory (about 350 megapixels
// at 4:2:0).
constexpr uint64_t kMaxCoefficientBytes = uint64_t(1) << 30;

inline int readBe16(const uint8_t* p) { return (p[0] << 8) | p[1]; }

bool isSofMarker(int m) { return m >= 0xC0 && m <= 0xCF && m != kMarkerDht && m != 0xC8 && m != 0xCC; }

// The bit buffer is a machine word: 64 bits on x86-64, 32 on i686, where 64-bit shifts cost several
// instructions and two registers the Huffman loops need for other things.
using BitWord = uintptr_t;
constexpr int kWordBits = static_cast<int>(sizeof(BitWord) * 8);
// A refill leaves at least this many bits in the buffer (it adds whole bytes while one more fits).
constexpr int kFilledBits = kWordBits - 8;
// The longest Huffman code; every ensure() asks for at most this many bits beyond what a refill gives.
constexpr int kMaxCodeBits = 16;
static_assert(kFilledBits >= kMaxCodeBits, "a refill must hold the longest code");

constexpr BitWord kByteOnes = ~BitWord(0) / 0xFF;  // 0x01 in every byte

inline BitWord loadBigEndianWord(const uint8_t* p) {
  BitWord x;
  std::memcpy(&x, p, sizeof x);
  if constexpr (sizeof(BitWord) == 8)
    return static_cast<BitWord>(__builtin_bswap64(x));
  else
    return static_cast<BitWord>(__builtin_bswap32(static_cast<uint32_t>(x)));
}

// True when some byte of x is 0xFF (a stuffed byte or a marker starts there).
inline bool hasFFByte(BitWord x) {
  BitWord inv = ~x;
  return ((inv - kByteOnes) & ~inv & (kByteOnes * 0x80)) != 0;
}

// The state of a scan's entropy-coded data: read position, bit buffer (MSB first) and what the refill found. At a
// marker or the end of data the refill feeds zero bytes and counts them, so a decoder that consumes those bits
// knows it has run past the real data. Decoders read it through a BitReader.
struct BitStream {
  const uint8_t* p = nullptr;
  const uint8_t* end = nullptr;
  // Highest address of p at which a whole word may be loaded; 0 once a marker is reached, so the inline
  // refill tests a single value.
  uintptr_t wordLimit = 0;
  BitWord buf = 0;
  int bits = 0;
  int fakeBytes = 0;
  bool atMarker = false;
  bool bad = false;

  void start(const uint8_t* from, const uint8_t* to) {
    p = from;
    end = to;
    reset();
  }
  // Byte stuffing, markers and the end of data, out of line so the decoding loops stay small.
  __attribute__((noinline)) void fillBytewise() {
    while (bits <= kWordBits - 8) {
      unsigned b = 0;
      if (!atMarker && p < end) {
        b = *p;
        if (b != 0xFF) {
          ++p;
        } else if (p + 1 < end && p[1] == 0) {
          p += 2;
        } else {
          atMarker = true;
          wordLimit = 0;
          b = 0;
          ++fakeBytes;
        }
      } else {
        ++fakeBytes;
      }
      buf |= static_cast<BitWord>(b) << (kWordBits - 8 - bits);
      bits += 8;
    }
  }
  // True once bits beyond the real data have been consumed.
  bool overrun() const { return bits < fakeBytes * 8; }
  // Empties the buffer to read on from p (the start of a scan or the byte after a restart marker).
  void reset() {
    buf = 0;
    bits = 0;
    fakeBytes = 0;
    atMarker = false;
    wordLimit = end - p >= static_cast<ptrdiff_t>(sizeof(BitWord))
                    ? reinterpret_cast<uintptr_t>(end) - sizeof(BitWord)
                    : 0;
  }
};

// Reads a BitStream through copies of its position and buffer in locals of the decoding loop: the stream's own
// address escapes to its out-of-line refill, so reading it directly would keep them in memory (on i686 the loops
// have few registers to spare). The copies go back around the refill and on destruction.
class BitReader {
 public:
  explicit BitReader(BitStream& s) : s_(s), p_(s.p), limit_(s.wordLimit), buf_(s.buf), bits_(s.bits) {}
  ~BitReader() { sync(); }
  BitReader(const BitReader&) = delete;
  BitReader& operator=(const BitReader&) = delete;

  // The common case inline: a word without 0xFF goes in whole, as many bytes of it as fit.
  __attribute__((always_inline)) void fill() {
    if (reinterpret_cast<uintptr_t>(p_) <= limit_) {
      BitWord x = loadBigEndianWord(p_);
      if (!hasFFByte(x)) {
        int n = (kWordBits - 1 - bits_) >> 3;
        buf_ |= (x >> (kWordBits - 8 * n)) << (kWordBits - 8 * n - bits_);
        p_ += n;
        bits_ += 8 * n;
        return;
      }
    }
    sync();
    s_.fillBytewise();
    reload();
  }
  // n is at most kMaxCodeBits.
  __attribute__((always_inline)) void ensure(int n) {
    if (bits_ < n) fill();
  }
  unsigned peek(int n) const { return static_cast<unsigned>(buf_ >> (kWordBits - n)); }
  void consume(int n) {
    buf_ <<= n;
    bits_ -= n;
  }
  unsigned getBits(int n) {
    if (n == 0) return 0;
    ensure(n);
    unsigned v = peek(n);
    consume(n);
    return v;
  }
  int receiveExtend(int n) {
    if (n == 0) return 0;
    int v = static_cast<int>(getBits(n));
    return v < (1 << (n - 1)) ? v - (1 << n) + 1 : v;
  }
  void fail() { s_.bad = true; }
  bool ok() const { return !s_.bad; }

 private:
  void sync() {
    s_.p = p_;
    s_.buf = buf_;
    s_.bits = bits_;
  }
  void reload() {
    p_ = s_.p;
    limit_ = s_.wordLimit;
    buf_ = s_.buf;
    bits_ = s_.bits;
  }

  BitStream& s_;
  const uint8_t* p_;
  uintptr_t limit_;
  BitWord buf_;
  int bits_;
};

// Needs at least 16 bits in the reader.
inline int decodeSymbolFilled(BitReader& br, const HuffmanTable& t) {
  unsigned fast = t.fastSymbol[br.peek(HuffmanTable::kFastBits)];
  if (fast) {
    br.consume(static_cast<int>(fast >> 8));
    return static_cast<int>(fast & 0xFF);
  }
  uint32_t code = br.peek(16);
  int k = HuffmanTable::kFastBits + 1;
  while (k <= 16 && code >= t.maxCode[k]) ++k;
  if (k > 16) {
    br.fail();
    return 0;
  }
  int i = static_cast<int>(code >> (16 - k)) + t.delta[k];
  if (i < 0 || i > 255) {
    br.fail();
    return 0;
  }
  br.consume(k);
  return t.values[i];
}

int decodeSymbol(BitReader& br, const HuffmanTable& t) {
  br.ensure(16);
  return decodeSymbolFilled(br, t);
}

// Needs at least n bits in the reader.
inline int extendFilled(BitReader& br, int n) {
  if (n == 0) return 0;
  int v = static_cast<int>(br.peek(n));
  br.consume(n);
  return v < (1 << (n - 1)) ? v - (1 << n) + 1 : v;
}

inline int16_t wrap16(int v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }

// A symbol and its magnitude bits take at most 27 bits. With a 64-bit buffer one refill to 32 or more serves
// each coefficient; with a 32-bit one a refill covers the symbol and the magnitude bits may need another.
constexpr int kSymbolAndValueBits = 27;
constexpr bool kRefillCoversValue = kFilledBits >= kSymbolAndValueBits;
constexpr int kRefillBits = kRefillCoversValue ? 32 : kMaxCodeBits;

// Decodes a block's DC difference into the component's prediction; false on a bad symbol.
__attribute__((always_inline)) inline bool decodeDc(BitReader& br, Component& c, const HuffmanTable& dc) {
  br.ensure(kRefillBits);
  int t = decodeSymbolFilled(br, dc);
  if (t > kMaxDcCategory) return false;
  if (!kRefillCoversValue) br.ensure(t);
  c.dcPred = wrap16(c.dcPred + extendFilled(br, t));
  return true;
}

// Decodes a block's AC coefficients into blk (natural order, zeroed by the caller). The caller checks the reader
// for errors.
__attribute__((always_inline)) inline void decodeAc(BitReader& br, const HuffmanTable& ac, int16_t* blk) {
  const int16_t* fastAc = ac.fastAc;
  for (int k = 1; k < kBlockSize;) {
    br.ensure(kRefillBits);
    int fac = fastAc[br.peek(HuffmanTable::kFastBits)];
    if (fac) {
      k += (fac >> 4) & 15;
      br.consume(fac & 15);
      blk[kZigzagToNatural[k]] = static_cast<int16_t>(fac >> 8);
      ++k;
      continue;
    }
    int rs = decodeSymbolFilled(br, ac);
    int s = rs & 15, r = rs >> 4;
    if (s == 0) {
      if (r != 15) break;
      k += 16;
      continue;
    }
    k += r;
    if (!kRefillCoversValue) br.ensure(s);
    int v = extendFilled(br, s);
    blk[kZigzagToNatural[k]] = static_cast<int16_t>(v);
    ++k;
  }
}

// Reads past a block's AC coefficients: several short symbols per table look-up where they fit, one at a time
// where not (and wherever a look-up's symbols could run past the block's end).
__attribute__((always_inline)) inline void skipAc(BitReader& br, const HuffmanTable& ac) {
  const uint16_t* skip = ac.skip.data();
  for (int k = 1; k < kBlockSize;) {
    br.ensure(kRefillBits);
    const unsigned e = skip[br.peek(HuffmanTable::kSkipBits)];
    const int advance = int(e & HuffmanTable::kSkipAdvance);
    // An end of block counts only while the index is inside the block.
    const int limit = (e & HuffmanTable::kSkipEob) ? kBlockSize - 1 : kBlockSize;
    if (e && k + advance <= limit) {
      br.consume(int(e >> 12));
      if (e & HuffmanTable::kSkipEob) break;
      k += advance;
      continue;
    }
    const int rs = decodeSymbolFilled(br, ac);
    const int size = rs & 15, run = rs >> 4;
    if (size == 0) {
      if (run != 15) break;
      k += 16;
      continue;
    }
    if (!kRefillCoversValue) br.ensure(size);
    br.consume(size);
    k += run + 1;
  }
}

// A whole baseline block into blk (its coefficients zeroed by the caller), or with StoreAc false only its DC
// coefficient. Out of line with a reader of its own, so that the scan loop's values do not compete with the
// Huffman loop for registers.
template <bool StoreAc>
__attribute__((noinline)) bool decodeBaselineBlock(BitStream& stream, Component& c, const HuffmanTable& dc,
                                                   const HuffmanTable& ac, int16_t* blk) {
  BitReader br(stream);
  if (!decodeDc(br, c, dc)) return false;
  blk[0] = static_cast<int16_t>(c.dcPred);
  if (StoreAc)
    decodeAc(br, ac, blk);
  else
    skipAc(br, ac);
  return br.ok();
}

// ---------------------------------------------------------------------------------------------------------------
// Marker segments

int buildHuffman(HuffmanTable& t, const uint8_t* counts, const uint8_t* values, int n) {
  int k = 0;
  for (int len = 1; len <= 16; ++len)
    for (int i = 0; i < counts[len - 1]; ++i) t.sizes[k++] = static_cast<uint8_t>(len);
  t.sizes[k] = 0;
  std::memcpy(t.values, values, n);
  std::memset(t.values + n, 0, 256 - n);
  uint32_t code = 0;
  uint16_t codes[256];
  k = 0;
  for (int len = 1; len <= 16; ++len) {
    t.delta[len] = k - static_cast<int>(code);
    while (t.sizes[k] == len) codes[k++] = static_cast<uint16_t>(code++);
    if (code > (1u << len)) return kErrBadHuffmanTable;
    t.maxCode[len] = code << (16 - len);
    code <<= 1;
  }
  t.maxCode[17] = UINT32_MAX;
  constexpr int kFast = HuffmanTable::kFastBits;
  uint8_t fastIndex[1 << kFast];  // symbol index for codes of up to kFast bits, 255 when longer
  std::memset(fastIndex, 255, sizeof fastIndex);
  std::memset(t.fastAc, 0, sizeof t.fastAc);
  std::memset(t.fastSymbol, 0, sizeof t.fastSymbol);
  for (int i = 0; i < k; ++i) {
    int len = t.sizes[i];
    if (len > kFast) continue;
    int first = codes[i] << (kFast - len), count = 1 << (kFast - len);
    for (int j = 0; j < count; ++j) {
      fastIndex[first + j] = static_cast<uint8_t>(i);
      t.fastSymbol[first + j] = static_cast<uint16_t>(len << 8 | t.values[i]);
    }
  }
  // Run/size symbols whose magnitude bits fit in the look-ahead too are resolved in a single step.
  for (int look = 0; look < (1 << kFast); ++look) {
    int idx = fastIndex[look];
    if (idx == 255) continue;
    int rs = t.values[idx], run = rs >> 4, s = rs & 15, len = t.sizes[idx];
    if (s == 0 || len + s > kFast) continue;
    int v = ((look << len) & ((1 << kFast) - 1)) >> (kFast - s);
    if (v < (1 << (s - 1))) v += 1 - (1 << s);
    if (v >= -128 && v <= 127) t.fastAc[look] = static_cast<int16_t>(v * 256 + run * 16 + len + s);
  }
  t.skip.clear();
  t.defined = true;
  return kOk;
}

// The skip table of an AC table (see HuffmanTable::skip), by decoding each look-ahead canonically.
void buildSkipTable(HuffmanTable& t) {
  constexpr int kBits = HuffmanTable::kSkipBits;
  t.skip.assign(size_t(1) << kBits, 0);
  for (uint32_t window = 0; window < (1u << kBits); ++window) {
    int used = 0, advance = 0;
    bool eob = false;
    for (;;) {
      const int left = kBits - used;
      const uint32_t code = ((window << used) & ((1u << kBits) - 1)) << (16 - kBits);  // next bits, left-aligned
      int len = 1;
      while (len <= left && code >= t.maxCode[len]) ++len;
      if (len > left) break;
      const int index = static_cast<int>(code >> (16 - len)) + t.delta[len];
      if (index < 0 || index > 255) break;  // a bad code: the symbol-by-symbol path reports it
      const int rs = t.values[index], run = rs >> 4, size = rs & 15;
      if (len + size > left) break;
      used += len + size;
      if (size == 0 && run != 15) {
        eob = true;
        break;
      }
      advance += size == 0 ? 16 : run + 1;
    }
    if (used) t.skip[window] = static_cast<uint16_t>(used << 12 | (eob ? HuffmanTable::kSkipEob : 0) | advance);
  }
}

}  // namespace

int Decoder::readHuffman(const uint8_t* seg, size_t len) {
  while (len > 0) {
    if (len < 17) return kErrBadHuffmanTable;
    int tc = seg[0] >> 4, th = seg[0] & 15;
    if (tc > 1 || th > 3) return kErrBadHuffmanTable;
    int n = 0;
    for (int i = 0; i < 16; ++i) n += seg[1 + i];
    if (n > 256 || len < 17u + n) return kErrBadHuffmanTable;
    int r = buildHuffman(tc ? acTables_[th] : dcTables_[th], seg + 1, seg + 17, n);
    if (r != kOk) return r;
    seg += 17 + n;
    len -= 17 + n;
  }
  return kOk;
}

int Decoder::readQuant(const uint8_t* seg, size_t len) {
  while (len > 0) {
    int pq = seg[0] >> 4, tq = seg[0] & 15;
    size_t need = 1 + (pq ? 128 : 64);
    if (pq > 1 || tq > 3 || len < need) return kErrBadQuantTable;
    for (int k = 0; k < kBlockSize; ++k) {
      int v = pq ? readBe16(seg + 1 + 2 * k) : seg[1 + k];
      quant_[tq][kZigzagToNatural[k]] = static_cast<uint16_t>(v);
    }
    quantDefined_[tq] = true;
    seg += need;
    len -= need;
  }
  return kOk;
}

int Decoder::readFrame(const uint8_t* seg, size_t len, int marker) {
  if (frameSeen_) return kErrCorruptData;
  if (marker != kMarkerSof0 && marker != kMarkerSof1 && marker != kMarkerSof2) return kErrUnsupportedFormat;
  if (len < 6) return kErrCorruptData;
  if (seg[0] != 8) return kErrUnsupportedFormat;
  height_ = readBe16(seg + 1);
  width_ = readBe16(seg + 3);
  componentCount_ = seg[5];
  if (width_ == 0 || height_ == 0) return height_ == 0 ? kErrUnsupportedFormat : kErrCorruptData;
  if (width_ > kMaxDimension || height_ > kMaxDimension) return kErrImageTooLarge;
  if (componentCount_ != 1 && componentCount_ != 3 && componentCount_ != 4) return kErrUnsupportedChannels;
  if (len < 6u + 3 * componentCount_) return kErrCorruptData;
  maxH_ = maxV_ = 1;
  for (int i = 0; i < componentCount_; ++i) {
    Component& c = comps_[i];
    c.id = seg[6 + 3 * i];
    c.h = seg[7 + 3 * i] >> 4;
    c.v = seg[7 + 3 * i] & 15;
    c.quantIndex = seg[8 + 3 * i];
    if (c.h < 1 || c.h > kMaxSamplingFactor || c.v < 1 || c.v > kMaxSamplingFactor || c.quantIndex > 3)
      return kErrCorruptData;
    for (int j = 0; j < i; ++j)
      if (comps_[j].id == c.id) return kErrCorruptData;
    if (componentCount_ == 1) c.h = c.v = 1;  // a lone component is never interleaved
    maxH_ = std::max(maxH_, c.h);
    maxV_ = std::max(maxV_, c.v);
  }
  mcusX_ = (width_ + 8 * maxH_ - 1) / (8 * maxH_);
  mcusY_ = (height_ + 8 * maxV_ - 1) / (8 * maxV_);
  for (int i = 0; i < componentCount_; ++i) {
    Component& c = comps_[i];
    if (maxH_ % c.h || maxV_ % c.v) return kErrUnsupportedSubsampling;
    c.paddedBlocksW = mcusX_ * c.h;
    c.paddedBlocksH = mcusY_ * c.v;
    int w = (width_ * c.h + maxH_ - 1) / maxH_, h = (height_ * c.v + maxV_ - 1) / maxV_;
    c.blocksW = (w + 7) / 8;
    c.blocksH = (h + 7) / 8;
  }
  progressive_ = marker == kMarkerSof2;
  frameSeen_ = true;
  return kOk;
}

int Decoder::readScanHeader(const uint8_t* seg, size_t len) {
  if (!frameSeen_ || len < 1) return kErrCorruptData;
  int n = seg[0];
  if (n < 1 || n > componentCount_ || len < 4u + 2 * n) return kErrCorruptData;
  for (int i = 0; i < n; ++i) {
    int id = seg[1 + 2 * i], tables = seg[2 + 2 * i];
    int found = -1;
    for (int j = 0; j < componentCount_; ++j)
      if (comps_[j].id == id) found = j;
    if (found < 0) return kErrCorruptData;
    for (int j = 0; j < i; ++j)
      if (scanComps_[j] == found) return kErrCorruptData;
    scanComps_[i] = found;
    comps_[found].dcTable = tables >> 4;
    comps_[found].acTable = tables & 15;
    if (comps_[found].dcTable > 3 || comps_[found].acTable > 3) return kErrCorruptData;
  }
  scanCount_ = n;
  const uint8_t* p = seg + 1 + 2 * n;
  ss_ = p[0];
  se_ = p[1];
  ah_ = p[2] >> 4;
  al_ = p[2] & 15;
  if (progressive_) {
    bool dcScan = ss_ == 0;
    if (ss_ > se_ || se_ > 63 || (dcScan && se_ != 0) || (!dcScan && n != 1) || ah_ > kMaxSuccessiveBit ||
        al_ > kMaxSuccessiveBit)
      return kErrCorruptData;
  } else {
    ss_ = 0;
    se_ = 63;
    ah_ = al_ = 0;
  }
  return kOk;
}

namespace {
// The JPEG thumbnail of an EXIF block: IFD1's JPEGInterchangeFormat and its length.
ThumbnailSource exifThumbnail(const uint8_t* tiff, size_t size) {
  constexpr uint16_t kTagCompression = 0x0103, kTagJpegOffset = 0x0201, kTagJpegLength = 0x0202;
  constexpr uint32_t kCompressionJpeg = 6;
  using tiffifd::Status;
  ThumbnailSource none;
  tiffifd::Reader reader;
  tiffifd::Directory ifd0, ifd1;
  if (reader.open(tiff, size) != Status::kOk || reader.directory(reader.first(), &ifd0) != Status::kOk ||
      !ifd0.next || reader.directory(ifd0.next, &ifd1) != Status::kOk)
    return none;
  tiffifd::Entry e;
  const uint32_t offset = reader.find(ifd1, kTagJpegOffset, &e) ? e.value : 0;
  const uint32_t length = reader.find(ifd1, kTagJpegLength, &e) ? e.value : 0;
  const uint32_t compression = reader.find(ifd1, kTagCompression, &e) ? e.value : kCompressionJpeg;
  if (compression != kCompressionJpeg || length == 0 || !reader.holds(offset, length)) return none;
  ThumbnailSource t;
  t.kind = ThumbnailSource::kJpeg;
  t.data = tiff + offset;
  t.size = length;
  return t;
}

// IFD0's orientation of an EXIF block; 1 (upright) when the block names none or a value outside 1 to 8.
int readExifOrientation(const uint8_t* tiff, size_t size) {
  constexpr uint16_t kTagOrientation = 0x0112;
  constexpr uint32_t kLastOrientation = 8;
  tiffifd::Reader reader;
  tiffifd::Directory ifd0;
  tiffifd::Entry e;
  if (reader.open(tiff, size) != tiffifd::Status::kOk || reader.directory(reader.first(), &ifd0) != tiffifd::Status::kOk ||
      !reader.find(ifd0, kTagOrientation, &e) || e.value < 1 || e.value > kLastOrientation)
    return 1;
  return int(e.value);
}
}  // namespace

void Decoder::readApp(int marker, const uint8_t* seg, size_t len) {
  constexpr size_t kPaletteBytes = 768;
  if (marker == kMarkerApp14 && len >= 12 && std::memcmp(seg, "Adobe", 5) == 0) {
    adobe_ = true;
    adobeTransform_ = seg[11];
    return;
  }
  const bool exif = marker == kMarkerApp1 && len >= 6 && std::memcmp(seg, "Exif\0\0", 6) == 0;
  if (exif && !sawExif_) {
    sawExif_ = true;
    exifOrientation_ = readExifOrientation(seg + 6, len - 6);
  }
  if (thumbnail_.kind != ThumbnailSource::kNone && thumbnail_.kind != ThumbnailSource::kRgb) return;
  if (exif) {
    ThumbnailSource t = exifThumbnail(seg + 6, len - 6);
    if (t.kind != ThumbnailSource::kNone) thumbnail_ = t;
    return;
  }
  if (marker != kMarkerApp0 || len < 6) return;
  if (std::memcmp(seg, "JFIF\0", 5) == 0 && len >= 14 && thumbnail_.kind == ThumbnailSource::kNone) {
    int w = seg[12], h = seg[13];
    if (w && h && len >= 14u + 3u * w * h) thumbnail_ = {ThumbnailSource::kRgb, seg + 14, size_t(3) * w * h, w, h};
    return;
  }
  if (std::memcmp(seg, "JFXX\0", 5) != 0) return;
  constexpr int kExtJpeg = 0x10, kExtPalette = 0x11, kExtRgb = 0x13;
  int code = seg[5];
  if (code == kExtJpeg && len > 6) {
    thumbnail_ = {ThumbnailSource::kJpeg, seg + 6, len - 6, 0, 0};
  } else if ((code == kExtPalette || code == kExtRgb) && len >= 8) {
    int w = seg[6], h = seg[7];
    size_t need = code == kExtPalette ? kPaletteBytes + size_t(w) * h : size_t(3) * w * h;
    if (w && h && len >= 8 + need)
      thumbnail_ = {code == kExtPalette ? ThumbnailSource::kPalette : ThumbnailSource::kRgb, seg + 8, need, w, h};
  }
}

int Decoder::readSegment(int marker, const uint8_t* seg, size_t len) {
  if (isSofMarker(marker)) return readFrame(seg, len, marker);
  switch (marker) {
    case kMarkerDht:
      return readHuffman(seg, len);
    case kMarkerDqt:
      return readQuant(seg, len);
    case kMarkerDri:
      if (len < 2) return kErrCorruptData;
      restartInterval_ = readBe16(seg);
      return kOk;
    case kMarkerSos:
      return readScanHeader(seg, len);
    case 0xCC:  // arithmetic conditioning: arithmetic coding is not supported
      return kErrUnsupportedFormat;
    default:
      if (marker >= kMarkerApp0 && marker <= 0xEF) readApp(marker, seg, len);
      return kOk;
  }
}

// Reads marker segments from pos_ until a scan header; returns kOk with scanDataPos_ set, kInterruptOk at EOI.
int Decoder::parseMarkersUntilScan(bool firstScanOnly) {
  for (;;) {
    // Entropy data or padding may precede the next marker; skip to it.
    while (pos_ < size_ && data_[pos_] != 0xFF) ++pos_;
    while (pos_ < size_ && data_[pos_] == 0xFF) ++pos_;
    if (pos_ >= size_) return kErrEndOfData;  // a file that ends without EOI is truncated
    int marker = data_[pos_++];
    if (marker == kMarkerEoi) return firstScanOnly ? kErrEndOfData : kInterruptOk;
    if (marker == kMarkerSoi) return kErrCorruptData;
    if ((marker >= kMarkerRst0 && marker <= kMarkerRst7) || marker == kMarkerTem || marker == 0) continue;
    if (pos_ + 2 > size_) return kErrEndOfData;
    size_t len = readBe16(data_ + pos_);
    if (len < 2) return kErrCorruptData;
    if (pos_ + len > size_) return kErrEndOfData;
    int r = readSegment(marker, data_ + pos_ + 2, len - 2);
    if (r != kOk) return r;
    pos_ += len;
    if (marker == kMarkerSos) {
      scanDataPos_ = pos_;
      return kOk;
    }
  }
}

int Decoder::readHeaders(const uint8_t* data, size_t size) {
  if (size < 4 || data[0] != 0xFF || data[1] != kMarkerSoi) return kErrNotJpeg;
  data_ = data;
  size_ = size;
  pos_ = 2;
  int r = parseMarkersUntilScan(true);
  if (r != kOk) return r;
  return frameSeen_ ? kOk : kErrCorruptData;
}

int Decoder::qualityEstimate() const {
  if (!quantDefined_[0]) return 0;
  constexpr int kQualities = 100;
  int best = 0;
  long bestError = -1;
  for (int q = 1; q <= kQualities; ++q) {
    int scale = qualityScale(q);
    long err = 0;
    for (int k = 0; k < kBlockSize; ++k) err += std::abs(scaledQuantEntry(kStdLuminanceQuant[k], scale) - quant_[0][k]);
    if (bestError < 0 || err < bestError) {
      bestError = err;
      best = q;
    }
  }
  return best;
}

// ---------------------------------------------------------------------------------------------------------------
// Row pipeline: component sample rows in a three-iMCU-row ring (the rows above and below an iMCU row are what
// the triangle upsampling needs), upsampled and colour-converted line by line into the caller's bitmap.

namespace {

struct Plane {
  int idctSize = 8;
  int rowsPerImcu = 8;  // sample rows per iMCU row
  int stride = 0;
  int realW = 0, realH = 0;  // sample columns and rows that carry image data
  int hr = 1, vr = 1;        // upsampling ratios
  bool fancy = false;
  std::vector<uint8_t> ring;
  std::vector<uint8_t> upRow;
  std::vector<int16_t> weights;  // padded row for the triangle filter

  uint8_t* row(int g) { return ring.data() + static_cast<size_t>(g % (3 * rowsPerImcu)) * stride; }
};

// Triangle-filter upsampling with the same arithmetic as the IJG reference decoder, so output matches it.
// Both horizontal forms work on a row of weights padded with a copy of each end sample; output 2i is
// (3 w[i] + w[i-1] + evenBias) >> shift and output 2i+1 is (3 w[i] + w[i+1] + oddBias) >> shift.
void fancyH2(const int16_t* padded, int n, int evenBias, int oddBias, int shift, uint8_t* out) {
  const int16_t* w = padded + 1;
  int i = 0;
#ifdef __SSE2__
  const __m128i be = _mm_set1_epi16(static_cast<short>(evenBias)), bo = _mm_set1_epi16(static_cast<short>(oddBias));
  const __m128i sh = _mm_cvtsi32_si128(shift);
  for (; i + 8 <= n; i += 8) {
    __m128i cur = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w + i));
    __m128i prev = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w + i - 1));
    __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w + i + 1));
    __m128i c3 = _mm_add_epi16(_mm_add_epi16(cur, cur), cur);
    __m128i even = _mm_srl_epi16(_mm_add_epi16(_mm_add_epi16(c3, prev), be), sh);
    __m128i odd = _mm_srl_epi16(_mm_add_epi16(_mm_add_epi16(c3, next), bo), sh);
    __m128i lo = _mm_unpacklo_epi16(even, odd), hi = _mm_unpackhi_epi16(even, odd);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i), _mm_packus_epi16(lo, hi));
  }
#endif
  for (; i < n; ++i) {
    int c3 = w[i] * 3;
    out[2 * i] = static_cast<uint8_t>((c3 + w[i - 1] + evenBias) >> shift);
    out[2 * i + 1] = static_cast<uint8_t>((c3 + w[i + 1] + oddBias) >> shift);
  }
}

// weights[i + 1] = near[i] * 3 + far[i], or near[i] alone without far, and a copy of each end beside them.
void columnWeights(const uint8_t* near, const uint8_t* far, int n, int16_t* weights) {
  int16_t* w = weights + 1;
  int i = 0;
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(near + i));
    __m128i lo = _mm_unpacklo_epi8(a, zero), hi = _mm_unpackhi_epi8(a, zero);
    if (far) {
      __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(far + i));
      lo = _mm_add_epi16(_mm_add_epi16(lo, lo), _mm_add_epi16(lo, _mm_unpacklo_epi8(b, zero)));
      hi = _mm_add_epi16(_mm_add_epi16(hi, hi), _mm_add_epi16(hi, _mm_unpackhi_epi8(b, zero)));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(w + i), lo);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(w + i + 8), hi);
  }
#endif
  for (; i < n; ++i) w[i] = static_cast<int16_t>(far ? near[i] * 3 + far[i] : near[i]);
  weights[0] = weights[1];
  weights[n + 1] = weights[n];
}

void upsampleH2(const uint8_t* in, int n, int16_t* weights, uint8_t* out) {
  columnWeights(in, nullptr, n, weights);
  fancyH2(weights, n, 1, 2, 2, out);
}

void upsampleH2V2(const uint8_t* near, const uint8_t* far, int n, int16_t* weights, uint8_t* out) {
  columnWeights(near, far, n, weights);
  fancyH2(weights, n, 8, 7, 4, out);
}

void upsampleV2(const uint8_t* near, const uint8_t* far, int n, int bias, uint8_t* out) {
  int i = 0;
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128(), b = _mm_set1_epi16(static_cast<short>(bias));
  for (; i + 16 <= n; i += 16) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(near + i));
    __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(far + i));
    __m128i lo = _mm_unpacklo_epi8(a, zero), hi = _mm_unpackhi_epi8(a, zero);
    lo = _mm_add_epi16(_mm_add_epi16(_mm_add_epi16(lo, lo), _mm_add_epi16(lo, _mm_unpacklo_epi8(f, zero))), b);
    hi = _mm_add_epi16(_mm_add_epi16(_mm_add_epi16(hi, hi), _mm_add_epi16(hi, _mm_unpackhi_epi8(f, zero))), b);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                     _mm_packus_epi16(_mm_srli_epi16(lo, 2), _mm_srli_epi16(hi, 2)));
  }
#endif
  for (; i < n; ++i) out[i] = static_cast<uint8_t>((near[i] * 3 + far[i] + bias) >> 2);
}

void upsampleBox(const uint8_t* in, int n, int hr, uint8_t* out) {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < hr; ++j) out[i * hr + j] = in[i];
}

class Pipeline {
 public:
  int setup(int width, int height, int maxH, int maxV, const Component* comps, int count, ColorKind color,
            const OutputRequest& req) {
    req_ = req;
    count_ = count;
    color_ = color;
    int k = 8 / req.scale;
    rowsOut_ = maxV * k;
    for (int i = 0; i < count; ++i) {
      const Component& c = comps[i];
      Plane& p = planes_[i];
      int kc = k;
      while (kc < 8 && (maxH * k) % (c.h * kc * 2) == 0 && (maxV * k) % (c.v * kc * 2) == 0) kc *= 2;
      p.idctSize = kc;
      p.rowsPerImcu = c.v * kc;
      p.stride = c.paddedBlocksW * kc;
      p.hr = maxH * k / (c.h * kc);
      p.vr = maxV * k / (c.v * kc);
      p.realW = static_cast<int>((static_cast<long long>(width) * c.h * kc + maxH * 8 - 1) / (maxH * 8));
      p.realH = static_cast<int>((static_cast<long long>(height) * c.v * kc + maxV * 8 - 1) / (maxV * 8));
      p.fancy = k > 1 && p.hr <= 2 && p.vr <= 2;
      p.ring.assign(static_cast<size_t>(p.stride) * 3 * p.rowsPerImcu, 0);
      p.upRow.assign(static_cast<size_t>(p.realW) * p.hr + 16, 0);
      p.weights.assign(static_cast<size_t>(p.realW) + 2, 0);
    }
    return kOk;
  }

  Plane& plane(int i) { return planes_[i]; }
  int rowsOut() const { return rowsOut_; }

  // Emits the requested output lines that lie in iMCU row q; needs rows q-1..q+1 in the ring.
  void emit(int q) {
    int first = std::max(q * rowsOut_, req_.y0), last = std::min((q + 1) * rowsOut_, req_.y1);
    for (int y = first; y < last; ++y) {
      const uint8_t* rows[kMaxComponents];
      for (int i = 0; i < count_; ++i) rows[i] = componentRow(planes_[i], y);
      uint8_t* dst = req_.firstLine + (y - req_.y0) * req_.lineStep;
      convertLine(color_, rows, req_.x0, req_.x1, req_.channels, req_.bgr, dst);
    }
  }

 private:
  const uint8_t* componentRow(Plane& p, int y) {
    int g = y / p.vr;
    if (g >= p.realH) g = p.realH - 1;
    if (p.hr == 1 && p.vr == 1) return p.row(g);
    if (p.fancy && p.vr == 2) {
      bool lower = y & 1;
      int other = lower ? std::min(g + 1, p.realH - 1) : std::max(g - 1, 0);
      if (p.hr == 2)
        upsampleH2V2(p.row(g), p.row(other), p.realW, p.weights.data(), p.upRow.data());
      else
        upsampleV2(p.row(g), p.row(other), p.realW, lower ? 2 : 1, p.upRow.data());
    } else if (p.fancy && p.hr == 2) {
      upsampleH2(p.row(g), p.realW, p.weights.data(), p.upRow.data());
    } else {
      upsampleBox(p.row(g), p.realW, p.hr, p.upRow.data());
    }
    return p.upRow.data();
  }

  OutputRequest req_;
  int count_ = 0;
  ColorKind color_ = ColorKind::kGray;
  int rowsOut_ = 8;
  Plane planes_[kMaxComponents];
};

}  // namespace

// ---------------------------------------------------------------------------------------------------------------
// Scans

namespace {

struct ScanState {
  BitStream bits;
  int restartsLeft = 0;
  int nextRestart = 0;
  int eobrun = 0;
};

// Moves past the restart marker that must follow the current interval.
bool processRestart(ScanState& s, const uint8_t* end, Component* comps, int count, int interval) {
  const uint8_t* p = s.bits.p;
  while (p + 1 < end && !(p[0] == 0xFF && p[1] != 0 && p[1] != 0xFF)) ++p;
  if (p + 1 >= end || p[1] != kMarkerRst0 + s.nextRestart) return false;
  s.bits.p = p + 2;
  s.bits.reset();
  s.nextRestart = (s.nextRestart + 1) & 7;
  s.restartsLeft = interval;
  s.eobrun = 0;
  for (int i = 0; i < count; ++i) comps[i].dcPred = 0;
  return true;
}

ColorKind colorKindFor(int components, bool adobe, int transform, const Component* comps) {
  if (components == 1) return ColorKind::kGray;
  if (components == 4) return adobe && transform == kAdobeTransformYcck ? ColorKind::kYcck : ColorKind::kCmyk;
  bool rgbIds = comps[0].id == 'R' && comps[1].id == 'G' && comps[2].id == 'B';
  if ((adobe && transform == kAdobeTransformNone) || rgbIds) return ColorKind::kRgb;
  return ColorKind::kYCbCr;
}

}  // namespace

int Decoder::decode(const OutputRequest& req) {
  for (int i = 0; i < componentCount_; ++i)
    if (!quantDefined_[comps_[i].quantIndex]) return kErrBadQuantTable;
  bool streaming = !progressive_ && scanCount_ == componentCount_;
  return streaming ? decodeStreaming(req) : decodeBuffered(req);
}

namespace {
// Runs fn(bits, component index, block column, block row) for every block of the scan in stream order, handling
// restart intervals; rowDone(mcuRow) after each MCU row may stop the scan early by returning false.
template <typename BlockFn, typename RowFn>
int runScan(ScanState& s, const uint8_t* end, Component* comps, int compCount, const int* scanComps, int scanCount,
            int mcusX, int mcusY, int interval, BlockFn fn, RowFn rowDone) {
  s.restartsLeft = interval;
  for (int i = 0; i < compCount; ++i) comps[i].dcPred = 0;
  bool single = scanCount == 1;
  const Component& c0 = comps[scanComps[0]];
  int cols = single ? c0.blocksW : mcusX, rows = single ? c0.blocksH : mcusY;
  for (int my = 0; my < rows; ++my) {
    for (int mx = 0; mx < cols; ++mx) {
      if (interval) {
        if (s.restartsLeft == 0 && !processRestart(s, end, comps, compCount, interval)) return kErrCorruptData;
        --s.restartsLeft;
      }
      if (single) {
        if (!fn(s.bits, scanComps[0], mx, my)) return kErrCorruptData;
        continue;
      }
      for (int i = 0; i < scanCount; ++i) {
        const Component& c = comps[scanComps[i]];
        for (int by = 0; by < c.v; ++by)
          for (int bx = 0; bx < c.h; ++bx)
            if (!fn(s.bits, scanComps[i], mx * c.h + bx, my * c.v + by)) return kErrCorruptData;
      }
    }
    if (s.bits.bad) return kErrCorruptData;
    if (s.bits.overrun()) return s.bits.p >= end ? kErrEndOfData : kErrCorruptData;
    if (!rowDone(my)) return kOk;
  }
  return kOk;
}
}  // namespace

int Decoder::decodeStreaming(const OutputRequest& req) {
  for (int i = 0; i < scanCount_; ++i) {
    const Component& c = comps_[scanComps_[i]];
    if (!dcTables_[c.dcTable].defined || !acTables_[c.acTable].defined) return kErrBadHuffmanTable;
  }
  Pipeline pipe;
  int r = pipe.setup(width_, height_, maxH_, maxV_, comps_, componentCount_,
                     colorKindFor(componentCount_, adobe_, adobeTransform_, comps_), req);
  if (r != kOk) return r;
  const int rowsOut = pipe.rowsOut();
  const int firstNeeded = req.y0 / rowsOut, lastNeeded = (req.y1 - 1) / rowsOut;
  const int lastRow = std::min(lastNeeded + 1, mcusY_ - 1);
  for (int i = 0; i < scanCount_; ++i) {
    HuffmanTable& ac = acTables_[comps_[scanComps_[i]].acTable];
    if (pipe.plane(scanComps_[i]).idctSize == 1 && ac.skip.empty()) buildSkipTable(ac);
  }

  ScanState s;
  s.bits.start(data_ + scanDataPos_, data_ + size_);
  int16_t blk[kBlockSize];
  int currentRow = 0;
  // Per component, where the current iMCU row's blocks go in the ring.
  uint8_t* rowStart[kMaxComponents] = {};
  auto startRow = [&](int row) {
    for (int i = 0; i < componentCount_; ++i) rowStart[i] = pipe.plane(i).row(row * pipe.plane(i).rowsPerImcu);
  };
  startRow(0);
  auto block = [&](BitStream& bits, int ci, int bx, int by) {
    Component& c = comps_[ci];
    const Plane& p = pipe.plane(ci);
    const int n = p.idctSize;
    const HuffmanTable& dc = dcTables_[c.dcTable];
    const HuffmanTable& ac = acTables_[c.acTable];
    const bool reconstruct = currentRow >= firstNeeded - 1;
    uint8_t* out = rowStart[ci] + (by - currentRow * c.v) * n * p.stride + bx * n;
    if (n == 1) {
      if (!decodeBaselineBlock<false>(bits, c, dc, ac, blk)) return false;
      if (reconstruct) *out = idct1(blk, quant_[c.quantIndex]);
      return true;
    }
    clearBlock(blk, n);
    if (!decodeBaselineBlock<true>(bits, c, dc, ac, blk)) return false;
    if (reconstruct) idctScaled(n, blk, quant_[c.quantIndex], out, p.stride);
    return true;
  };
  auto rowDone = [&](int my) {
    if (my >= 1) pipe.emit(my - 1);
    currentRow = my + 1;
    startRow(currentRow);
    return my < lastRow;
  };
  r = runScan(s, data_ + size_, comps_, componentCount_, scanComps_, scanCount_, mcusX_, mcusY_, restartInterval_,
              block, rowDone);
  if (r != kOk) return r;
  if (lastRow == lastNeeded) pipe.emit(lastNeeded);
  return kOk;
}

int Decoder::decodeScanToBuffer() {
  const bool dcScan = ss_ == 0;
  for (int i = 0; i < scanCount_; ++i) {
    const Component& c = comps_[scanComps_[i]];
    bool needDc = !progressive_ || (dcScan && ah_ == 0), needAc = !progressive_ || !dcScan;
    if ((needDc && !dcTables_[c.dcTable].defined) || (needAc && !acTables_[c.acTable].defined))
      return kErrBadHuffmanTable;
  }
  ScanState s;
  s.bits.start(data_ + scanDataPos_, data_ + size_);
  const int ss = ss_, se = se_, ah = ah_, al = al_;
  auto blockAt = [&](Component& c, int bx, int by) {
    return c.coefs.data() + (static_cast<size_t>(by) * c.paddedBlocksW + bx) * kBlockSize;
  };
  auto block = [&](BitStream& bits, int ci, int bx, int by) -> bool {
    Component& c = comps_[ci];
    int16_t* blk = blockAt(c, bx, by);
    if (!progressive_) return decodeBaselineBlock<true>(bits, c, dcTables_[c.dcTable], acTables_[c.acTable], blk);
    BitReader br(bits);
    if (dcScan) {
      if (ah == 0) {
        int t = decodeSymbol(br, dcTables_[c.dcTable]);
        if (t > kMaxDcCategory) return false;
        c.dcPred = wrap16(c.dcPred + br.receiveExtend(t));
        blk[0] = wrap16(c.dcPred * (1 << al));
      } else if (br.getBits(1)) {
        blk[0] = wrap16(blk[0] | (1 << al));
      }
      return br.ok();
    }
    const HuffmanTable& ac = acTables_[c.acTable];
    if (ah == 0) {
      if (s.eobrun > 0) {
        --s.eobrun;
        return true;
      }
      for (int k = ss; k <= se;) {
        int rs = decodeSymbol(br, ac);
        int r = rs >> 4, sz = rs & 15;
        if (sz == 0) {
          if (r < 15) {
            s.eobrun = (1 << r) - 1 + static_cast<int>(br.getBits(r));
            break;
          }
          k += 16;
          continue;
        }
        k += r;
        blk[kZigzagToNatural[std::min(k, 63)]] = wrap16(br.receiveExtend(sz) * (1 << al));
        ++k;
      }
      return br.ok();
    }
    // Refinement of AC coefficients: new coefficients of +-1, correction bits for those already non-zero.
    const int p1 = 1 << al, m1 = -p1;
    auto refine = [&](int16_t& coef) {
      if (br.getBits(1) && (coef & p1) == 0) coef = wrap16(coef + (coef >= 0 ? p1 : m1));
    };
    int k = ss;
    if (s.eobrun == 0) {
      for (; k <= se; ++k) {
        int rs = decodeSymbol(br, ac);
        int r = rs >> 4, sz = rs & 15, value = 0;
        if (sz) {
          if (sz != 1) return false;
          value = br.getBits(1) ? p1 : m1;
        } else if (r != 15) {
          s.eobrun = (1 << r) + static_cast<int>(br.getBits(r));
          break;
        }
        while (k <= se) {
          int16_t& coef = blk[kZigzagToNatural[k]];
          if (coef != 0) {
            refine(coef);
          } else if (--r < 0) {
            break;
          }
          ++k;
        }
        if (value && k <= se) blk[kZigzagToNatural[k]] = static_cast<int16_t>(value);
        if (!br.ok()) return false;
      }
    }
    if (s.eobrun > 0) {
      for (; k <= se; ++k) {
        int16_t& coef = blk[kZigzagToNatural[k]];
        if (coef != 0) refine(coef);
      }
      --s.eobrun;
    }
    return br.ok();
  };
  int r = runScan(s, data_ + size_, comps_, componentCount_, scanComps_, scanCount_, mcusX_, mcusY_,
                  restartInterval_, block, [](int) { return true; });
  if (r != kOk) return r;
  pos_ = static_cast<size_t>(s.bits.p - data_);
  return kOk;
}

int Decoder::decodeBuffered(const OutputRequest& req) {
  // Whole-image coefficients: computed in 64 bits so 32-bit size_t cannot wrap, and capped.
  uint64_t coefBytes = 0;
  for (int i = 0; i < componentCount_; ++i)
    coefBytes += static_cast<uint64_t>(comps_[i].paddedBlocksW) * comps_[i].paddedBlocksH * kBlockSize * sizeof(int16_t);
  if (coefBytes > kMaxCoefficientBytes) return kErrImageTooLarge;
  for (int i = 0; i < componentCount_; ++i) {
    Component& c = comps_[i];
    size_t blocks = static_cast<size_t>(c.paddedBlocksW) * c.paddedBlocksH;
    try {
      c.coefs.assign(blocks * kBlockSize, 0);
    } catch (const std::bad_alloc&) {
      return kErrMemory;
    }
  }
  for (;;) {
    int r = decodeScanToBuffer();
    if (r != kOk) return r;
    r = parseMarkersUntilScan(false);
    if (r == kInterruptOk) break;
    if (r != kOk) return r;
  }
  Pipeline pipe;
  int r = pipe.setup(width_, height_, maxH_, maxV_, comps_, componentCount_,
                     colorKindFor(componentCount_, adobe_, adobeTransform_, comps_), req);
  if (r != kOk) return r;
  const int rowsOut = pipe.rowsOut();
  const int firstNeeded = std::max(req.y0 / rowsOut - 1, 0), lastNeeded = (req.y1 - 1) / rowsOut;
  const int lastRow = std::min(lastNeeded + 1, mcusY_ - 1);
  for (int row = firstNeeded; row <= lastRow; ++row) {
    for (int i = 0; i < componentCount_; ++i) {
      Component& c = comps_[i];
      Plane& p = pipe.plane(i);
      int n = p.idctSize;
      for (int by = 0; by < c.v; ++by) {
        const int16_t* src = c.coefs.data() + static_cast<size_t>(row * c.v + by) * c.paddedBlocksW * kBlockSize;
        uint8_t* dst = p.row((row * c.v + by) * n);
        for (int bx = 0; bx < c.paddedBlocksW; ++bx)
          idctScaled(n, src + bx * kBlockSize, quant_[c.quantIndex], dst + bx * n, p.stride);
      }
    }
    if (row >= 1) pipe.emit(row - 1);
  }
  if (lastRow == lastNeeded) pipe.emit(lastNeeded);
  return kOk;
}

}  // namespace ijl::detail
