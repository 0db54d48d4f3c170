// Packed 24-bit device-independent bitmaps in movable global memory, as the format modules hand them out, and
// the copy of such a bitmap into a caller's descriptor that the modules' GetThumbnail makes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <windows.h>
#include <imagio/imgtypes.h>

namespace nxformat {

const uint32_t kDibHeaderSize = sizeof(BITMAPINFOHEADER);  // 40
const WORD kDibBits = 24;
const uint32_t kDibBytesPerPixel = 3;

// (width * 3 + 3) rounded down to a multiple of 4; 0 when a line or the whole bitmap would not fit in 32 bits.
uint32_t PackedLineLength(uint32_t width);
// Bytes of the pixel area of a width x height packed bitmap; 0 when it does not fit in 32 bits.
uint32_t PackedPixelBytes(uint32_t width, uint32_t height);

// Holds a global-memory block locked for the life of the object.
class LockedGlobal {
 public:
  explicit LockedGlobal(HGLOBAL handle) : m_handle(handle), m_bytes(handle ? static_cast<uint8_t*>(GlobalLock(handle)) : nullptr) {}
  ~LockedGlobal() { if (m_bytes) GlobalUnlock(m_handle); }
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;
  uint8_t* Bytes() const { return m_bytes; }
  size_t Size() const { return m_bytes ? GlobalSize(m_handle) : 0; }

 private:
  HGLOBAL m_handle;
  uint8_t* m_bytes;
};

// A zeroed packed bitmap of width x height with its 40-byte header written; IMGFILERR_NOMEMORY when it cannot
// be had. The caller owns *dib.
tagIMGFILERR NewPackedDib(uint32_t width, uint32_t height, HGLOBAL* dib);

// A packed bitmap filled from a block of height lines, each width * 3 bytes taken srcLineBytes apart in order.
tagIMGFILERR PackedDibFromBlock(const uint8_t* block, size_t srcLineBytes, uint32_t width, uint32_t height,
                                HGLOBAL* dib);

// Checks a caller's packed bitmap: 24 bits, uncompressed, no colour table, pixel area present. Gives the
// header and the first pixel line; IMGFILERR_UNSUPPORTED for any other bitmap.
tagIMGFILERR CheckPacked24(const uint8_t* bytes, size_t size, const BITMAPINFOHEADER** header,
                           const uint8_t** pixels);

// Copies a packed 24-bit bitmap into the descriptor's buffer in the bitmap's own layout (blue, green, red; bottom
// row first), one line of the descriptor's width every bytesPerLine bytes, never beyond the descriptor's buffer
// nor the bitmap's pixel area. A bitmap of another size than the descriptor is resampled (area average) to the
// descriptor's width and height, which stay as they are.
tagIMGFILERR CopyDibToDescriptor(HGLOBAL dib, tagIMAGEBUFDESC* desc);
// The same from a block of sh lines of sw pixels (3 bytes each), srcLine bytes apart, in the bitmap's layout.
tagIMGFILERR CopyBlockToDescriptor(const uint8_t* pixels, uint32_t sw, uint32_t sh, size_t srcLine,
                                   tagIMAGEBUFDESC* desc);

// Resamples src (sw x sh, 3 bytes per pixel, srcLine apart) onto dst (dw x dh, dstLine apart), lines in the
// same memory order on both sides.
void ResampleBgr(const uint8_t* src, uint32_t sw, uint32_t sh, size_t srcLine, uint8_t* dst, uint32_t dw,
                 uint32_t dh, size_t dstLine);

}  // namespace nxformat
