// The properties-record interface: field checks, file and memory input/output, band sessions, thumbnails.
#include "ijl/ijl.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "decoder.h"
#include "encoder.h"
#include "safefile/safefile.h"

namespace ijl {

struct CodecState {
  std::vector<uint8_t> fileData;
};

namespace {

using detail::Decoder;
using detail::Encoder;
using detail::OutputRequest;
using detail::ThumbnailSource;

constexpr long kMaxInputBytes = 1L << 30;
constexpr int kPaletteEntries = 256;

// A caller bitmap checked against overflow: line size and first-line pointer for either orientation.
struct Bitmap {
  uint8_t* firstLine = nullptr;  // the line the first delivered line goes to
  ptrdiff_t lineStep = 0;
};

int checkBitmap(const Properties& p, int width, int lines, Bitmap* out) {
  if (!p.dibBytes || p.dibWidth <= 0 || p.dibHeight == 0 || p.dibPadBytes < 0) return kErrInvalidProperties;
  if (p.dibChannels == 3) {
    if (p.dibColor != kColorRgb && p.dibColor != kColorBgr) return kErrInvalidProperties;
  } else if (p.dibChannels == 1) {
    if (p.dibColor != kColorGray) return kErrInvalidProperties;
  } else {
    return kErrUnsupportedChannels;
  }
  long long dibLines = p.dibHeight < 0 ? -static_cast<long long>(p.dibHeight) : p.dibHeight;
  long long lineBytes = static_cast<long long>(p.dibWidth) * p.dibChannels + p.dibPadBytes;
  if (lineBytes * dibLines > kMaxBitmapBytes) return kErrImageTooLarge;
  if (width > p.dibWidth || lines > dibLines) return kErrBufferTooSmall;
  out->lineStep = static_cast<ptrdiff_t>(lineBytes);
  out->firstLine = p.dibBytes;
  if (p.dibHeight < 0) {
    out->firstLine = p.dibBytes + static_cast<ptrdiff_t>(lineBytes) * (lines - 1);
    out->lineStep = -out->lineStep;
  }
  return kOk;
}

int loadInput(Properties* p, const uint8_t** data, size_t* size) {
  if (!p->jpgFile) {
    if (!p->jpgBytes || p->jpgSizeBytes == 0) return kErrInvalidProperties;
    *data = p->jpgBytes;
    *size = p->jpgSizeBytes;
    return kOk;
  }
  std::FILE* f = std::fopen(p->jpgFile, "rb");
  if (!f) return kErrInvalidFilename;
  int result = kOk;
  long length = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) length = std::ftell(f);
  if (length < 0 || length > kMaxInputBytes || std::fseek(f, 0, SEEK_SET) != 0) {
    result = length > kMaxInputBytes ? kErrImageTooLarge : kErrFileIo;
  } else {
    std::vector<uint8_t>& buf = p->state->fileData;
    try {
      buf.resize(static_cast<size_t>(length));
    } catch (const std::bad_alloc&) {
      result = kErrMemory;
    }
    if (result == kOk && length > 0 && std::fread(buf.data(), 1, buf.size(), f) != buf.size()) result = kErrFileIo;
    *data = buf.data();
    *size = buf.size();
  }
  std::fclose(f);
  return result;
}

int modeScale(int mode) {
  switch (mode) {
    case kReadHalf:
      return 2;
    case kReadQuarter:
      return 4;
    case kReadEighth:
      return 8;
    default:
      return 1;
  }
}

int thumbnailSize(const ThumbnailSource& t, int* w, int* h) {
  *w = *h = 0;
  if (t.kind == ThumbnailSource::kNone) return kOk;
  if (t.kind != ThumbnailSource::kJpeg) {
    *w = t.width;
    *h = t.height;
    return kOk;
  }
  Decoder d;
  int r = d.readHeaders(t.data, t.size);
  if (r != kOk) return r;
  *w = d.width();
  *h = d.height();
  return kOk;
}

int decodeThumbnail(Properties* p, const ThumbnailSource& t) {
  int w = 0, h = 0;
  int r = thumbnailSize(t, &w, &h);
  if (r == kOk && w > 0) {
    Bitmap bm;
    r = checkBitmap(*p, w, h, &bm);
    if (r == kOk && t.kind == ThumbnailSource::kJpeg) {
      Decoder d;
      r = d.readHeaders(t.data, t.size);
      OutputRequest req{1, 0, w, 0, h, bm.firstLine, bm.lineStep, p->dibChannels, p->dibColor == kColorBgr};
      if (r == kOk) r = d.decode(req);
    } else if (r == kOk) {
      // Uncompressed JFIF thumbnails: RGB triplets, or palette indices after a 256-entry RGB palette.
      const uint8_t* pixels = t.kind == ThumbnailSource::kPalette ? t.data + 3 * kPaletteEntries : t.data;
      const bool bgr = p->dibColor == kColorBgr;
      for (int y = 0; y < h; ++y) {
        uint8_t* dst = bm.firstLine + y * bm.lineStep;
        for (int x = 0; x < w; ++x) {
          const uint8_t* rgb =
              t.kind == ThumbnailSource::kPalette ? t.data + 3 * pixels[y * w + x] : pixels + 3 * (y * w + x);
          if (p->dibChannels == 1) {
            *dst++ = static_cast<uint8_t>((rgb[0] * 299 + rgb[1] * 587 + rgb[2] * 114 + 500) / 1000);
          } else {
            dst[0] = rgb[bgr ? 2 : 0];
            dst[1] = rgb[1];
            dst[2] = rgb[bgr ? 0 : 2];
            dst += 3;
          }
        }
      }
    }
  }
  if (r != kOk) w = h = 0;
  p->thumbWidth = w;
  p->thumbHeight = h;
  return r;
}

int readImpl(Properties* p, int mode) {
  const uint8_t* data = nullptr;
  size_t size = 0;
  int r = loadInput(p, &data, &size);
  if (r != kOk) return r;
  Decoder d;
  r = d.readHeaders(data, size);
  if (r != kOk) return r;
  p->jpgWidth = d.width();
  p->jpgHeight = d.height();
  p->jpgChannels = d.componentCount() == 1 ? 1 : 3;
  p->jpgColor = d.componentCount() == 1 ? kColorGray : (d.isCmyk() ? kColorCmyk : kColorYCbCr);
  p->jpgQuality = d.qualityEstimate();
  p->jpgProgressive = d.progressive();
  p->exifOrientation = d.exifOrientation();
  if (mode == kReadParams) {
    thumbnailSize(d.thumbnail(), &p->thumbWidth, &p->thumbHeight);
    return kOk;
  }
  if (mode == kReadThumbnail) return decodeThumbnail(p, d.thumbnail());

  OutputRequest req;
  req.scale = modeScale(mode);
  req.x1 = scaledDimension(d.width(), mode);
  req.y1 = scaledDimension(d.height(), mode);
  if (mode == kReadRegion) {
    const Rect& roi = p->roi;
    if (roi.left < 0 || roi.top < 0 || roi.left >= roi.right || roi.top >= roi.bottom || roi.left >= d.width() ||
        roi.top >= d.height())
      return kErrInvalidProperties;
    req.x0 = roi.left;
    req.y0 = roi.top;
    req.x1 = roi.right < d.width() ? roi.right : d.width();
    req.y1 = roi.bottom < d.height() ? roi.bottom : d.height();
  }
  Bitmap bm;
  r = checkBitmap(*p, req.x1 - req.x0, req.y1 - req.y0, &bm);
  if (r != kOk) return r;
  req.firstLine = bm.firstLine;
  req.lineStep = bm.lineStep;
  req.channels = p->dibChannels;
  req.bgr = p->dibColor == kColorBgr;
  try {
    return d.decode(req);
  } catch (const std::bad_alloc&) {
    return kErrMemory;
  }
}

bool appendOutput(std::FILE* f, Encoder& enc) {
  size_t n = enc.outputSize();
  bool ok = n == 0 || std::fwrite(enc.outputData(), 1, n, f) == n;
  enc.clearOutput();
  return ok;
}

// A band-written file in progress: the encoder between calls and the save of its file (platform/safefile),
// which replaces the target only after the last band and otherwise leaves it as it was.
struct BandSession {
  Encoder encoder;
  std::unique_ptr<safefile::PendingFile> file;
};

std::mutex& sessionsLock() {
  static std::mutex m;
  return m;
}
std::map<std::string, std::unique_ptr<BandSession>>& sessions() {
  static std::map<std::string, std::unique_ptr<BandSession>> s;
  return s;
}

int checkFileSide(const Properties& p) {
  if (p.jpgWidth <= 0 || p.jpgHeight <= 0 || p.jpgWidth > kMaxDimension || p.jpgHeight > kMaxDimension)
    return kErrInvalidProperties;
  if (p.jpgChannels == 3 && p.jpgColor != kColorYCbCr) return kErrInvalidProperties;
  if (p.jpgChannels == 1 && p.jpgColor != kColorGray) return kErrInvalidProperties;
  if (p.jpgChannels != 1 && p.jpgChannels != 3) return kErrUnsupportedChannels;
  if (p.jpgQuality < 0 || p.jpgQuality > 100) return kErrInvalidProperties;
  if (p.dibWidth != p.jpgWidth) return kErrInvalidProperties;
  return kOk;
}

int writeWhole(Properties* p) {
  int r = checkFileSide(*p);
  if (r != kOk) return r;
  Bitmap bm;
  r = checkBitmap(*p, p->jpgWidth, p->jpgHeight, &bm);
  if (r != kOk) return r;
  Encoder enc;
  r = enc.begin(p->jpgWidth, p->jpgHeight, p->jpgChannels, p->jpgQuality);
  if (r == kOk) r = enc.addLines(bm.firstLine, bm.lineStep, p->jpgHeight, p->dibChannels, p->dibColor == kColorBgr);
  if (r == kOk) r = enc.finish();
  if (r != kOk) return r;
  if (!p->jpgFile) {
    if (!p->jpgBytes) return kErrInvalidProperties;
    if (enc.outputSize() > p->jpgSizeBytes) return kErrBufferTooSmall;
    std::memcpy(p->jpgBytes, enc.outputData(), enc.outputSize());
    p->jpgSizeBytes = static_cast<uint32_t>(enc.outputSize());
    return kOk;
  }
  safefile::PendingFile out(p->jpgFile);
  if (!out.file()) return kErrInvalidFilename;
  if (!appendOutput(out.file(), enc)) return kErrFileIo;
  return out.Commit() ? kOk : kErrFileIo;
}

int writeBand(Properties* p) {
  if (!p->jpgFile) return kErrInvalidProperties;
  int r = checkFileSide(*p);
  if (r != kOk) return r;
  const Rect& roi = p->roi;
  if (roi.top < 0 || roi.bottom <= roi.top || roi.bottom > p->jpgHeight) return kErrInvalidProperties;
  Bitmap bm;
  r = checkBitmap(*p, p->jpgWidth, roi.bottom - roi.top, &bm);
  if (r != kOk) return r;

  std::lock_guard<std::mutex> lock(sessionsLock());
  auto& all = sessions();
  const std::string target = p->jpgFile;
  auto it = all.find(target);
  if (roi.top == 0) {
    if (it != all.end()) all.erase(it);
    auto s = std::make_unique<BandSession>();
    r = s->encoder.begin(p->jpgWidth, p->jpgHeight, p->jpgChannels, p->jpgQuality);
    if (r != kOk) return r;
    s->file = std::make_unique<safefile::PendingFile>(target);
    if (!s->file->file()) return kErrInvalidFilename;
    it = all.emplace(target, std::move(s)).first;
  } else if (it == all.end()) {
    return kErrBandOrder;
  }
  BandSession& s = *it->second;
  Encoder& enc = s.encoder;
  if (enc.linesReceived() != roi.top || enc.height() != p->jpgHeight) {
    all.erase(it);
    return kErrBandOrder;
  }
  r = enc.addLines(bm.firstLine, bm.lineStep, roi.bottom - roi.top, p->dibChannels, p->dibColor == kColorBgr);
  if (r == kOk && enc.linesReceived() == enc.height()) r = enc.finish();
  if (r == kOk && !appendOutput(s.file->file(), enc)) r = kErrFileIo;
  if (r != kOk) {
    all.erase(it);
    return r;
  }
  if (enc.linesReceived() < enc.height()) return kOk;
  std::unique_ptr<safefile::PendingFile> file = std::move(s.file);
  all.erase(it);
  return file->Commit() ? kOk : kErrFileIo;
}

int abandonBand(const std::string& target) {
  std::unique_ptr<BandSession> session;
  {
    std::lock_guard<std::mutex> lock(sessionsLock());
    auto it = sessions().find(target);
    if (it == sessions().end()) return kOk;
    session = std::move(it->second);
    sessions().erase(it);
  }
  return session->file->Discard() ? kOk : kErrFileIo;
}

}  // namespace

int abandonWrite(Properties* props) {
  if (!props || !props->jpgFile) return kErrInvalidProperties;
  try {
    return abandonBand(props->jpgFile);
  } catch (const std::bad_alloc&) {
    return kErrMemory;
  }
}

int init(Properties* props) {
  if (!props) return kErrInvalidProperties;
  *props = Properties();
  props->state = new (std::nothrow) CodecState();
  return props->state ? kOk : kErrMemory;
}

int free(Properties* props) {
  if (!props) return kErrInvalidProperties;
  delete props->state;
  props->state = nullptr;
  return kOk;
}

int read(Properties* props, int mode) {
  if (!props || !props->state) return kErrInvalidProperties;
  switch (mode) {
    case kReadParams:
    case kReadWhole:
    case kReadRegion:
    case kReadHalf:
    case kReadQuarter:
    case kReadEighth:
    case kReadThumbnail:
      break;
    default:
      return kErrInvalidProperties;
  }
  int r = readImpl(props, mode);
  props->state->fileData.clear();
  props->state->fileData.shrink_to_fit();
  return r;
}

int write(Properties* props, int mode) {
  if (!props || !props->state) return kErrInvalidProperties;
  try {
    if (mode == kWriteWhole) return writeWhole(props);
    if (mode == kWriteRegion) return writeBand(props);
  } catch (const std::bad_alloc&) {
    return kErrMemory;
  }
  return kErrInvalidProperties;
}

int scaledDimension(int fullSize, int mode) {
  int s = modeScale(mode);
  return (fullSize + s - 1) / s;
}

int decodeToImage(const uint8_t* data, size_t size, int mode, int channels, Image* out) {
  if (size > UINT32_MAX) return kErrImageTooLarge;
  Properties p;
  int r = init(&p);
  if (r != kOk) return r;
  p.jpgBytes = const_cast<uint8_t*>(data);
  p.jpgSizeBytes = static_cast<uint32_t>(size);
  r = read(&p, kReadParams);
  if (r == kOk) {
    bool thumb = mode == kReadThumbnail;
    out->width = thumb ? p.thumbWidth : scaledDimension(p.jpgWidth, mode);
    out->height = thumb ? p.thumbHeight : scaledDimension(p.jpgHeight, mode);
    out->channels = channels;
    const uint64_t bytes = static_cast<uint64_t>(out->width) * out->height * channels;
    if (bytes > kMaxBitmapBytes) {
      r = kErrImageTooLarge;
    } else if (out->width == 0) {
      out->pixels.clear();
    } else {
      out->pixels.assign(static_cast<size_t>(out->width) * out->height * channels, 0);
      p.dibBytes = out->pixels.data();
      p.dibWidth = out->width;
      p.dibHeight = out->height;
      p.dibChannels = channels;
      p.dibColor = channels == 1 ? kColorGray : kColorRgb;
      r = read(&p, mode);
    }
  }
  free(&p);
  return r;
}

int encodeImage(const Image& image, int quality, std::vector<uint8_t>* out) {
  Encoder enc;
  int r = enc.begin(image.width, image.height, image.channels, quality);
  if (r == kOk)
    r = enc.addLines(image.pixels.data(), static_cast<ptrdiff_t>(image.width) * image.channels, image.height,
                     image.channels, false);
  if (r == kOk) r = enc.finish();
  if (r == kOk) out->assign(enc.outputData(), enc.outputData() + enc.outputSize());
  return r;
}

}  // namespace ijl
