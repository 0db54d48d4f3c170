// Packed 24-bit bitmaps in global memory and their copy into descriptors.
#include <nxformat/packed_dib.h>
#include <algorithm>
#include <cstring>
#include <vector>

namespace nxformat {

uint32_t PackedLineLength(uint32_t width) {
  uint64_t line = (static_cast<uint64_t>(width) * kDibBytesPerPixel + 3) & ~uint64_t(3);
  return line > UINT32_MAX ? 0 : static_cast<uint32_t>(line);
}

uint32_t PackedPixelBytes(uint32_t width, uint32_t height) {
  uint64_t bytes = static_cast<uint64_t>(PackedLineLength(width)) * height;
  return bytes + kDibHeaderSize > UINT32_MAX ? 0 : static_cast<uint32_t>(bytes);
}

tagIMGFILERR NewPackedDib(uint32_t width, uint32_t height, HGLOBAL* dib) {
  *dib = nullptr;
  const uint32_t pixelBytes = PackedPixelBytes(width, height);
  if (pixelBytes == 0 || width > INT32_MAX || height > INT32_MAX) return IMGFILERR_NOMEMORY;
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, pixelBytes + kDibHeaderSize);
  if (!handle) return IMGFILERR_NOMEMORY;
  {
    LockedGlobal lock(handle);
    if (!lock.Bytes()) {
      GlobalFree(handle);
      return IMGFILERR_NOMEMORY;
    }
    BITMAPINFOHEADER* header = reinterpret_cast<BITMAPINFOHEADER*>(lock.Bytes());
    header->biSize = kDibHeaderSize;
    header->biWidth = static_cast<LONG>(width);
    header->biHeight = static_cast<LONG>(height);
    header->biPlanes = 1;
    header->biBitCount = kDibBits;
    header->biCompression = BI_RGB;
  }
  *dib = handle;
  return IMGFILERR_OK;
}

tagIMGFILERR PackedDibFromBlock(const uint8_t* block, size_t srcLineBytes, uint32_t width, uint32_t height,
                                HGLOBAL* dib) {
  tagIMGFILERR result = NewPackedDib(width, height, dib);
  if (result != IMGFILERR_OK) return result;
  LockedGlobal lock(*dib);
  uint8_t* line = lock.Bytes() + kDibHeaderSize;
  const uint32_t lineBytes = PackedLineLength(width);
  for (uint32_t y = 0; y < height; ++y, line += lineBytes) {
    std::memcpy(line, block + srcLineBytes * y, static_cast<size_t>(width) * kDibBytesPerPixel);
  }
  return IMGFILERR_OK;
}

tagIMGFILERR CheckPacked24(const uint8_t* bytes, size_t size, const BITMAPINFOHEADER** header,
                           const uint8_t** pixels) {
  if (!bytes || size < kDibHeaderSize) return IMGFILERR_UNSUPPORTED;
  const BITMAPINFOHEADER* h = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
  if (h->biSize < kDibHeaderSize || h->biSize > size || h->biBitCount != kDibBits || h->biCompression != BI_RGB ||
      h->biClrUsed != 0 || h->biWidth <= 0 || h->biHeight == 0 || h->biHeight == INT32_MIN) {
    return IMGFILERR_UNSUPPORTED;
  }
  const uint32_t height = static_cast<uint32_t>(h->biHeight < 0 ? -h->biHeight : h->biHeight);
  const uint32_t pixelBytes = PackedPixelBytes(static_cast<uint32_t>(h->biWidth), height);
  if (pixelBytes == 0 || size - h->biSize < pixelBytes) return IMGFILERR_UNSUPPORTED;
  *header = h;
  *pixels = bytes + h->biSize;
  return IMGFILERR_OK;
}

void ResampleBgr(const uint8_t* src, uint32_t sw, uint32_t sh, size_t srcLine, uint8_t* dst, uint32_t dw,
                 uint32_t dh, size_t dstLine) {
  if (sw == dw && sh == dh) {
    for (uint32_t y = 0; y < dh; ++y) std::memcpy(dst + dstLine * y, src + srcLine * y, size_t(dw) * 3);
    return;
  }
  // Source columns covered by each destination column, at least one.
  std::vector<uint32_t> x0(dw), x1(dw);
  for (uint32_t x = 0; x < dw; ++x) {
    x0[x] = static_cast<uint32_t>(uint64_t(x) * sw / dw);
    x1[x] = static_cast<uint32_t>(uint64_t(x + 1) * sw / dw);
    if (x1[x] <= x0[x]) x1[x] = x0[x] + 1;
  }
  // Per destination line, the source lines it covers are summed per column first (one pass over each line),
  // then the columns of each destination pixel.
  const size_t rowValues = size_t(sw) * 3;
  std::vector<uint32_t> columns(rowValues);
  for (uint32_t y = 0; y < dh; ++y) {
    uint32_t y0 = static_cast<uint32_t>(uint64_t(y) * sh / dh);
    uint32_t y1 = static_cast<uint32_t>(uint64_t(y + 1) * sh / dh);
    if (y1 <= y0) y1 = y0 + 1;
    std::fill(columns.begin(), columns.end(), 0u);
    for (uint32_t sy = y0; sy < y1; ++sy) {
      const uint8_t* row = src + srcLine * sy;
      for (size_t i = 0; i < rowValues; ++i) columns[i] += row[i];
    }
    uint8_t* out = dst + dstLine * y;
    for (uint32_t x = 0; x < dw; ++x) {
      uint32_t sum[3] = {0, 0, 0};
      for (uint32_t sx = x0[x]; sx < x1[x]; ++sx) {
        sum[0] += columns[3 * sx];
        sum[1] += columns[3 * sx + 1];
        sum[2] += columns[3 * sx + 2];
      }
      const uint32_t n = (x1[x] - x0[x]) * (y1 - y0);
      for (int c = 0; c < 3; ++c) out[3 * x + c] = static_cast<uint8_t>((sum[c] + n / 2) / n);
    }
  }
}

tagIMGFILERR CopyBlockToDescriptor(const uint8_t* pixels, uint32_t sw, uint32_t sh, size_t srcLine,
                                   tagIMAGEBUFDESC* desc) {
  if (!desc->pixels || uint64_t(desc->width) * kDibBytesPerPixel > desc->bytesPerLine) return IMGFILERR_FAILED;
  if (desc->width == 0 || desc->height == 0) return IMGFILERR_OK;
  ResampleBgr(pixels, sw, sh, srcLine, desc->pixels, desc->width, desc->height, desc->bytesPerLine);
  return IMGFILERR_OK;
}

tagIMGFILERR CopyDibToDescriptor(HGLOBAL dib, tagIMAGEBUFDESC* desc) {
  LockedGlobal lock(dib);
  const BITMAPINFOHEADER* header = nullptr;
  const uint8_t* pixels = nullptr;
  tagIMGFILERR result = CheckPacked24(lock.Bytes(), lock.Size(), &header, &pixels);
  if (result != IMGFILERR_OK) return IMGFILERR_FAILED;
  const uint32_t sw = static_cast<uint32_t>(header->biWidth);
  const uint32_t sh = static_cast<uint32_t>(header->biHeight < 0 ? -header->biHeight : header->biHeight);
  return CopyBlockToDescriptor(pixels, sw, sh, PackedLineLength(sw), desc);
}

}  // namespace nxformat
