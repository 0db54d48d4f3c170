// Helpers shared by the media classes' thumbnails: device bitmaps and the fitted thumbnail size.
#pragma once
#include <media/NXMedia.h>

namespace nxmedia {

// A framework bitmap owning a device bitmap of `picture` for the device context; throws the module's
// imaging error when the device bitmap cannot be made.
CBitmap* MakeDeviceBitmap(CDC* dc, const CLeadBitmap& picture);

// The size fitted into a box the way the picture thumbnail does it (ratio h / w, truncated).
CSize FitThumbnailSize(int width, int height, int boxWidth, int boxHeight);

}  // namespace nxmedia
