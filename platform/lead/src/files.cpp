// File calls of the toolkit: identify, load and save by format, per-thread file options, pages, stamps,
// memory and file offsets. Saves go through a temporary file that replaces the target only on success.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "pixels.h"
#include "safefile/safefile.h"
#include "win.h"

namespace orvl {
namespace {

thread_local ORVLFILEOPTIONS t_options;  // zero: first page, defaults

int currentPage() { return t_options.PageNumber < 1 ? 1 : t_options.PageNumber; }

int openError(DWORD e) {
  switch (e) {
    case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND: case ERROR_INVALID_NAME: case ERROR_BAD_NETPATH:
      return ORVL_ERROR_FILE_NOT_FOUND;
    case ERROR_NOT_ENOUGH_MEMORY: case ERROR_OUTOFMEMORY: return ORVL_ERROR_NO_MEMORY;
    default: return ORVL_ERROR_FILE_OPEN;
  }
}

int readRegion(HANDLE h, uint32_t offset, uint32_t size, Bytes* out) {
  LARGE_INTEGER total;
  if (!GetFileSizeEx(h, &total)) return ORVL_ERROR_FILE_READ;
  if (total.QuadPart > 0x7fffffff) return ORVL_ERROR_INVALID_SIZE;
  if (offset > total.QuadPart) return ORVL_ERROR_FILE_READ;
  uint32_t n = size ? size : uint32_t(total.QuadPart - offset);
  if (uint64_t(offset) + n > uint64_t(total.QuadPart)) return ORVL_ERROR_FILE_READ;
  LARGE_INTEGER at;
  at.QuadPart = offset;
  if (!SetFilePointerEx(h, at, nullptr, FILE_BEGIN)) return ORVL_ERROR_FILE_READ;
  try {
    out->resize(n);
  } catch (const std::bad_alloc&) {
    return ORVL_ERROR_NO_MEMORY;
  }
  DWORD got = 0;
  if (n && (!ReadFile(h, out->data(), n, &got, nullptr) || got != n)) return ORVL_ERROR_FILE_READ;
  return ORVL_SUCCESS;
}

int readFile(const char* path, Bytes* out) {
  if (!path) return ORVL_ERROR_INVALID_PARAM;
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return openError(GetLastError());
  int rc = readRegion(h, 0, 0, out);
  CloseHandle(h);
  return rc;
}

// Writes data through a temporary file that replaces path only when complete (platform/safefile).
int writeAtomically(const char* path, const Bytes& data) {
  if (!path || !*path) return ORVL_ERROR_INVALID_PARAM;
  return safefile::WriteWholeFile(path, data.data(), data.size()) ? ORVL_SUCCESS : ORVL_ERROR_FILE_WRITE;
}

void swapOrder(ORVLBITMAP* b) {
  const int bpp = b->BitsPerPixel / 8;
  for (int y = 0; y < b->Height; ++y) {
    uint8_t* p = b->Data + size_t(y) * b->BytesPerLine;
    for (int x = 0; x < b->Width; ++x, p += bpp) std::swap(p[0], p[2]);
  }
  b->Order = b->Order == ORVL_ORDER_BGR ? ORVL_ORDER_RGB : ORVL_ORDER_BGR;
}

// Brings a decoded picture to the requested depth and colour order.
int conform(ORVLBITMAP* b, int bits, int order, int fileBits) {
  if (bits == 0) bits = fileBits;
  if (b->BitsPerPixel != bits) {
    uint32_t flags = ORVL_CRF_OPTIMIZEDPALETTE | (bits < b->BitsPerPixel ? ORVL_CRF_FLOYDSTEINDITHER : 0);
    int rc = orvlColorResBitmap(b, b, bits, flags, nullptr, 0);
    if (rc != ORVL_SUCCESS) return rc;
  }
  if (bits >= 24 && b->Order != order) swapOrder(b);
  b->Order = order;
  return ORVL_SUCCESS;
}

int loadBytes(const uint8_t* data, size_t size, ORVLBITMAP* bmp, int bits, int order, uint32_t flags,
              ORVLFILEINFO* infoOut, bool stamp) {
  if (!bmp) return ORVL_ERROR_NO_BITMAP;
  if (bits != 0 && !isValidBits(bits)) return ORVL_ERROR_INVALID_BITS;
  if ((order != ORVL_ORDER_RGB && order != ORVL_ORDER_BGR) || (flags & ~uint32_t(ORVL_LOAD_ALLOCATE | ORVL_LOAD_STORE)))
    return ORVL_ERROR_INVALID_PARAM;
  ORVLFILEINFO info;
  int rc = identify(data, size, stamp ? 1 : currentPage(), &info);
  if (rc != ORVL_SUCCESS) return rc;
  ORVLBITMAP pic;
  switch (info.Format) {
    case ORVL_FMT_BMP: case ORVL_FMT_BMP_OS2: rc = decodeBmp(data, size, &pic); break;
    case ORVL_FMT_JPEG:
      if (!stamp && currentPage() > 1) return ORVL_ERROR_PAGE_NOT_FOUND;
      rc = decodeJpeg(data, size, stamp, bits == 0 || bits == 8, &pic);
      break;
    case ORVL_FMT_PNG:
      if (stamp) return ORVL_ERROR_NOT_SUPPORTED;
      if (currentPage() > 1) return ORVL_ERROR_PAGE_NOT_FOUND;
      // Our own reader is several times faster than the imaging component under Wine; interlaced files go there.
      rc = decodePng(data, size, &pic);
      if (rc == ORVL_ERROR_NOT_SUPPORTED) rc = wicDecode(data, size, 0, &pic);
      break;
    case ORVL_FMT_TIFF:
      if (stamp) return ORVL_ERROR_NOT_SUPPORTED;
      // Colour strips as most programs write them are ours, several times faster than the imaging component
      // under Wine; everything else, and other depths than the file's 24 bits (whose 32-bit form comes from the
      // component's converter), go there.
      rc = bits == 0 || bits == 24 ? decodeTiff(data, size, size_t(currentPage() - 1), &pic) : ORVL_ERROR_NOT_SUPPORTED;
      if (rc == ORVL_ERROR_NOT_SUPPORTED) rc = wicDecode(data, size, currentPage() - 1, &pic);
      break;
    case ORVL_FMT_GIF:
      if (stamp) return ORVL_ERROR_NOT_SUPPORTED;
      rc = wicDecode(data, size, currentPage() - 1, &pic);
      break;
    case ORVL_FMT_WMF:
      if (stamp) return ORVL_ERROR_NOT_SUPPORTED;
      rc = renderMetafile(data, size, info.Width, info.Height, &pic);
      break;
    default: return ORVL_ERROR_NOT_SUPPORTED;  // EPS, PICT and PCD are identified only
  }
  if (rc != ORVL_SUCCESS) return rc;
  if (stamp) { info.Width = pic.Width; info.Height = pic.Height; info.BitsPerPixel = 24; }
  rc = conform(&pic, bits, order, info.BitsPerPixel);
  if (rc != ORVL_SUCCESS) { orvlFreeBitmap(&pic); return rc; }
  if (info.XResolution > 0 && info.YResolution > 0) { pic.XResolution = info.XResolution; pic.YResolution = info.YResolution; }
  orvlFreeBitmap(bmp);
  *bmp = pic;
  if (infoOut) *infoOut = info;
  return ORVL_SUCCESS;
}

// A file written through stdio as a writer's sink; patches seek back and return to the end.
class FileSink : public ByteSink {
 public:
  explicit FileSink(std::FILE* file) : file_(file) {}
  bool append(const uint8_t* data, size_t n) override {
    if (n && std::fwrite(data, 1, n, file_) != n) return false;
    size_ += n;
    return true;
  }
  bool patch(uint32_t at, const uint8_t* data, size_t n) override {
    return at <= size_ && n <= size_ - at && std::fseek(file_, long(at), SEEK_SET) == 0 &&
           std::fwrite(data, 1, n, file_) == n && std::fseek(file_, 0, SEEK_END) == 0;
  }
  uint64_t size() const override { return size_; }

 private:
  std::FILE* file_;
  uint64_t size_ = 0;
};

// Encodes bmp as a file of the format at bits (0: the bitmap's own). `file` holds the existing file for
// TIFF pages after the first; a one-page TIFF goes to `stream` instead, when given, as it is made.
int saveBytes(ORVLBITMAP* bmp, int format, int bits, int qfactor, uint32_t flags, int page, Bytes* file,
              ByteSink* stream = nullptr) {
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  if (bits == 0) bits = bmp->BitsPerPixel;
  if (!isValidBits(bits)) return ORVL_ERROR_INVALID_BITS;
  if (flags & ~uint32_t(ORVL_SAVE_FIXEDPALETTE | ORVL_SAVE_OPTIMIZEDPALETTE | ORVL_SAVE_COMPRESSED)) return ORVL_ERROR_INVALID_PARAM;
  switch (format) {
    case ORVL_FMT_BMP: break;
    case ORVL_FMT_PNG: case ORVL_FMT_TIFF: if (bits == 16) return ORVL_ERROR_INVALID_BITS; break;
    case ORVL_FMT_JPEG: if (bits != 24 && bits != 8) return ORVL_ERROR_INVALID_BITS; break;
    case ORVL_FMT_GIF: if (bits > 8) return ORVL_ERROR_INVALID_BITS; break;
    default: return ORVL_ERROR_NOT_SUPPORTED;
  }
  if (format != ORVL_FMT_TIFF && page > 1) return ORVL_ERROR_PAGE_NOT_FOUND;
  ORVLBITMAP work;
  const ORVLBITMAP* src = bmp;
  bool own = false;
  const int encBits = format == ORVL_FMT_GIF ? 8 : bits;
  if (bmp->BitsPerPixel != bits || (format == ORVL_FMT_JPEG && bits == 8) || encBits != bits) {
    uint32_t crf = 0;
    if (bits <= 8) {
      crf = (flags & ORVL_SAVE_FIXEDPALETTE) && !(flags & ORVL_SAVE_OPTIMIZEDPALETTE) ? 0 : ORVL_CRF_OPTIMIZEDPALETTE;
      if (bmp->BitsPerPixel > bits) crf |= ORVL_CRF_FLOYDSTEINDITHER;
    }
    orvlInitBitmap(&work, 1, 1, 1);
    int rc = format == ORVL_FMT_JPEG && bits == 8 ? (orvlCopyBitmap(&work, bmp) == ORVL_SUCCESS ? orvlGrayScaleBitmap(&work, 8) : ORVL_ERROR_NO_MEMORY)
                                                  : orvlColorResBitmap(bmp, &work, bits, crf, nullptr, 0);
    if (rc == ORVL_SUCCESS && encBits != bits) rc = orvlColorResBitmap(&work, &work, encBits, ORVL_CRF_OPTIMIZEDPALETTE, nullptr, 0);
    if (rc != ORVL_SUCCESS) { orvlFreeBitmap(&work); return rc; }
    src = &work;
    own = true;
  }
  int rc;
  switch (format) {
    case ORVL_FMT_BMP: rc = encodeBmp(src, file); break;
    case ORVL_FMT_PNG: rc = encodePng(src, file); break;
    case ORVL_FMT_TIFF: {
      const bool packBits = (flags & ORVL_SAVE_COMPRESSED) != 0;
      rc = stream && page <= 1 ? writeTiff(src, packBits, stream) : encodeTiff(src, packBits, page, file);
      break;
    }
    case ORVL_FMT_JPEG: rc = encodeJpeg(src, qualityFromFactor(qfactor), file); break;
    default: rc = wicEncodeGif(src, file); break;
  }
  if (own) orvlFreeBitmap(&work);
  return rc;
}

int saveToPath(const char* path, ORVLBITMAP* bmp, int format, int bits, int qfactor, uint32_t flags) {
  if (!path) return ORVL_ERROR_INVALID_PARAM;
  const int page = format == ORVL_FMT_TIFF ? currentPage() : 1;
  if (format == ORVL_FMT_TIFF && page <= 1) {
    // Straight into the temporary file: a large picture's file is never held in memory. When no temporary can
    // be made, the path below reports it as every other save does.
    safefile::PendingFile out(path);
    if (out.file()) {
      FileSink sink(out.file());
      int rc;
      try {
        rc = saveBytes(bmp, format, bits, qfactor, flags, page, nullptr, &sink);
      } catch (const std::bad_alloc&) {
        rc = ORVL_ERROR_NO_MEMORY;
      }
      if (rc != ORVL_SUCCESS) return rc;  // the temporary goes with `out`
      return out.Commit() ? ORVL_SUCCESS : ORVL_ERROR_FILE_WRITE;
    }
  }
  Bytes file;
  if (page > 1) {
    int rc = readFile(path, &file);
    if (rc != ORVL_SUCCESS) return rc;
  }
  int rc;
  try {
    rc = saveBytes(bmp, format, bits, qfactor, flags, page, &file);
  } catch (const std::bad_alloc&) {
    rc = ORVL_ERROR_NO_MEMORY;
  }
  if (rc != ORVL_SUCCESS) return rc;
  return writeAtomically(path, file);
}

// An EXIF segment carrying a JPEG thumbnail, inserted after the start-of-image marker.
int insertExifStamp(Bytes* jpeg, const Bytes& thumb) {
  constexpr size_t kTiffPart = 56;  // header 8, IFD0 with one entry 18, IFD1 with two entries 30
  if (thumb.size() + kTiffPart + 8 > 0xffff) return ORVL_ERROR_INVALID_SIZE;
  Bytes seg;
  auto u16 = [&](uint32_t v) { seg.push_back(uint8_t(v)); seg.push_back(uint8_t(v >> 8)); };
  auto u32 = [&](uint32_t v) { u16(v & 0xffff); u16(v >> 16); };
  const uint32_t len = uint32_t(2 + 6 + kTiffPart + thumb.size());
  seg.push_back(0xFF); seg.push_back(0xE1); seg.push_back(uint8_t(len >> 8)); seg.push_back(uint8_t(len));
  const char exif[6] = {'E', 'x', 'i', 'f', 0, 0};
  seg.insert(seg.end(), exif, exif + 6);
  seg.push_back('I'); seg.push_back('I'); u16(42); u32(8);
  u16(1); u16(274); u16(3); u32(1); u16(1); u16(0); u32(26);                     // IFD0: orientation
  u16(2); u16(513); u16(4); u32(1); u32(uint32_t(kTiffPart)); u16(514); u16(4); u32(1); u32(uint32_t(thumb.size())); u32(0);
  seg.insert(seg.end(), thumb.begin(), thumb.end());
  jpeg->insert(jpeg->begin() + 2, seg.begin(), seg.end());
  return ORVL_SUCCESS;
}

int toGlobal(const Bytes& data, HGLOBAL* memory, uint32_t* size) {
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, data.size());
  if (!g) return ORVL_ERROR_NO_MEMORY;
  void* p = GlobalLock(g);
  if (!p) { GlobalFree(g); return ORVL_ERROR_MEMORY_LOCK; }
  std::memcpy(p, data.data(), data.size());
  GlobalUnlock(g);
  *memory = g;
  if (size) *size = uint32_t(data.size());
  return ORVL_SUCCESS;
}

}  // namespace
}  // namespace orvl

using namespace orvl;

extern "C" {

int orvlGetFileOption(ORVLFILEOPTIONS* options) {
  if (!options) return ORVL_ERROR_INVALID_PARAM;
  *options = t_options;
  options->uStructSize = sizeof *options;
  return ORVL_SUCCESS;
}

int orvlSetFileOption(const ORVLFILEOPTIONS* options) {
  if (!options || options->PageNumber < 0) return ORVL_ERROR_INVALID_PARAM;
  t_options = *options;
  return ORVL_SUCCESS;
}

int orvlFileInfoMemory(const uint8_t* data, uint32_t size, ORVLFILEINFO* info) {
  if (!info) return ORVL_ERROR_INVALID_PARAM;
  return identify(data, size, currentPage(), info);
}

int orvlFileInfo(const char* path, ORVLFILEINFO* info) {
  if (!info) return ORVL_ERROR_INVALID_PARAM;
  Bytes file;
  int rc = readFile(path, &file);
  if (rc != ORVL_SUCCESS) return rc;
  return identify(file.data(), file.size(), currentPage(), info);
}

int orvlLoadFile(const char* path, ORVLBITMAP* bmp, int bits, int order, uint32_t flags, ORVLFILEINFO* info) {
  Bytes file;
  int rc = readFile(path, &file);
  if (rc != ORVL_SUCCESS) return rc;
  return loadBytes(file.data(), file.size(), bmp, bits, order, flags, info, false);
}

int orvlLoadBitmap(const char* path, ORVLBITMAP* bmp, int bits, int order) {
  return orvlLoadFile(path, bmp, bits, order, ORVL_LOAD_ALLOCATE | ORVL_LOAD_STORE, nullptr);
}

int orvlLoadMemory(const uint8_t* data, uint32_t size, ORVLBITMAP* bmp, int bits, int order, uint32_t flags,
                   ORVLFILEINFO* info) {
  if (!data) return ORVL_ERROR_INVALID_PARAM;
  return loadBytes(data, size, bmp, bits, order, flags, info, false);
}

int orvlLoadFileOffset(HANDLE file, uint32_t offset, uint32_t size, ORVLBITMAP* bmp, int bits, int order,
                       uint32_t flags, ORVLFILEINFO* info) {
  if (file == nullptr || file == INVALID_HANDLE_VALUE) return ORVL_ERROR_INVALID_PARAM;
  Bytes data;
  int rc = readRegion(file, offset, size, &data);
  if (rc != ORVL_SUCCESS) return rc;
  return loadBytes(data.data(), data.size(), bmp, bits, order, flags, info, false);
}

int orvlSaveFile(const char* path, ORVLBITMAP* bmp, int format, int bits, int qfactor, uint32_t flags) {
  return saveToPath(path, bmp, format, bits, qfactor, flags);
}

int orvlSaveBitmap(const char* path, ORVLBITMAP* bmp, int format, int bits, int qfactor) {
  return saveToPath(path, bmp, format, bits, qfactor, ORVL_SAVE_OPTIMIZEDPALETTE);
}

int orvlSaveMemory(ORVLBITMAP* bmp, HGLOBAL* memory, uint32_t* size, int format, int bits, int qfactor,
                   uint32_t flags) {
  if (!memory) return ORVL_ERROR_INVALID_PARAM;
  Bytes data;
  int rc = saveBytes(bmp, format, bits, qfactor, flags, 1, &data);
  return rc == ORVL_SUCCESS ? toGlobal(data, memory, size) : rc;
}

// The caller's file is written in place at offset: its handle admits no temporary-and-rename step.
int orvlSaveFileOffset(HANDLE file, uint32_t offset, uint32_t* written, ORVLBITMAP* bmp, int format, int bits,
                       int qfactor, uint32_t flags) {
  if (file == nullptr || file == INVALID_HANDLE_VALUE) return ORVL_ERROR_INVALID_PARAM;
  Bytes data;
  int rc = saveBytes(bmp, format, bits, qfactor, flags, 1, &data);
  if (rc != ORVL_SUCCESS) return rc;
  LARGE_INTEGER at;
  at.QuadPart = offset;
  DWORD put = 0;
  if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !WriteFile(file, data.data(), DWORD(data.size()), &put, nullptr) ||
      put != data.size())
    return ORVL_ERROR_FILE_WRITE;
  if (written) *written = put;
  return ORVL_SUCCESS;
}

int orvlGetCompressFileStamp(const char* path, ORVLBITMAP* bmp) {
  Bytes file;
  int rc = readFile(path, &file);
  if (rc != ORVL_SUCCESS) return rc;
  return loadBytes(file.data(), file.size(), bmp, 24, ORVL_ORDER_BGR, ORVL_LOAD_ALLOCATE | ORVL_LOAD_STORE, nullptr, true);
}

int orvlCompressWithStamp(ORVLBITMAP* bmp, HGLOBAL* memory, uint32_t* size, int qfactor, int stampWidth,
                          int stampHeight) {
  if (!memory || stampWidth <= 0 || stampHeight <= 0 || stampWidth > 256 || stampHeight > 256) return ORVL_ERROR_INVALID_PARAM;
  if (!isAllocated(bmp)) return ORVL_ERROR_NO_BITMAP;
  Bytes main, thumb;
  int rc = saveBytes(bmp, ORVL_FMT_JPEG, 24, qfactor, 0, 1, &main);
  if (rc != ORVL_SUCCESS) return rc;
  ORVLBITMAP small;
  orvlInitBitmap(&small, 1, 1, 1);
  rc = orvlCopyBitmap(&small, bmp);
  double ratio = double(bmp->Width) / bmp->Height;
  int w = ratio * stampHeight <= stampWidth ? std::max(1, int(ratio * stampHeight)) : stampWidth;
  int h = ratio * stampHeight <= stampWidth ? stampHeight : std::max(1, int(stampWidth / ratio));
  if (rc == ORVL_SUCCESS) rc = orvlResampleBitmap(&small, w, h);
  if (rc == ORVL_SUCCESS) rc = saveBytes(&small, ORVL_FMT_JPEG, 24, qfactor, 0, 1, &thumb);
  orvlFreeBitmap(&small);
  if (rc == ORVL_SUCCESS) rc = insertExifStamp(&main, thumb);
  return rc == ORVL_SUCCESS ? toGlobal(main, memory, size) : rc;
}

int orvlDecompressMemory(const uint8_t* data, uint32_t size, ORVLBITMAP* bmp, int bits, int order) {
  if (!data) return ORVL_ERROR_INVALID_PARAM;
  return loadBytes(data, size, bmp, bits, order, ORVL_LOAD_ALLOCATE | ORVL_LOAD_STORE, nullptr, false);
}

}  // extern "C"
