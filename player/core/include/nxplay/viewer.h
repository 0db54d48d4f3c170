// The player's portable helpers for what it takes from a received card: skin bitmaps from the viewer support
// files, the link address made safe to open, the postmark's date and time, and picture resizing. No Win32
// types; the player (player/src) draws with their results, the native tests and the fuzzer feed them bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cardpackage/trailer.h"

namespace nxplay {

// A 24-bit uncompressed Windows bitmap file inside a support file, checked for everything GDI will read.
struct SkinBitmap {
  int width = 0;
  int height = 0;          // positive; topDown tells the row order
  bool topDown = false;
  size_t bitsOffset = 0;   // the first stored row
  size_t stride = 0;       // bytes per stored row (a multiple of 4)
};
constexpr int kMaxSkinSide = 1024;
// False unless data holds a complete "BM" file with a 40-byte header, one plane, 24 bits, no compression,
// no colour table, sides 1..kMaxSkinSide and every row inside the data.
bool ParseSkinBitmap(const uint8_t* data, size_t size, SkinBitmap* out);

// The address the link opens, or empty when it must not be opened: web and mail addresses (http, https,
// ftp, mailto) as given; a bare host name such as "www.example.org/x" gets "http://"; anything else (local
// paths, programs, other schemes, control characters) gives empty.
std::string LinkTarget(const std::string& address);

// The postmark's moment as a calendar date and clock time, or false when the stamp is not a real moment.
struct PostmarkTime {
  int year = 0, month = 0, day = 0;  // month 1-12
  int dayOfWeek = 0;                 // 0 = Sunday
  int hour = 0, minute = 0, second = 0;
};
bool PostmarkFromCreated(const cardpackage::CreatedStamp& created, PostmarkTime* out);

// Area-averaging resize of packed 3-byte pixels (rows of srcStride bytes) to dstWidth x dstHeight
// (rows of dstStride bytes). Sizes must be positive.
void ResizePixels(const uint8_t* src, int srcWidth, int srcHeight, size_t srcStride, uint8_t* dst, int dstWidth,
                  int dstHeight, size_t dstStride);

// The largest size of the given aspect that fits in boxWidth x boxHeight (at least 1 x 1).
void FitInside(int width, int height, int boxWidth, int boxHeight, int* fitWidth, int* fitHeight);

}  // namespace nxplay
