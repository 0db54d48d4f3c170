// Pictures of the card as GDI bitmaps: the front JPEG decoded by our codec and fitted to a box, and the
// desk and stamp bitmaps from the viewer support files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace nxplay {

// Decodes the JPEG and resizes it to the largest size of its aspect inside boxWidth x boxHeight. NULL when it
// cannot be decoded.
HBITMAP DecodeFittedPicture(const std::vector<uint8_t>& jpeg, int boxWidth, int boxHeight);

// A checked 24-bit support bitmap as a GDI bitmap; NULL when the file is absent or not one we accept.
HBITMAP SupportBitmap(const std::vector<uint8_t>& file);

// Size of a bitmap handle.
SIZE BitmapSize(HBITMAP bitmap);

}  // namespace nxplay
