// Helpers shared by the three media classes' thumbnails: the class-wide default picture and device bitmaps.
#pragma once
#include <media/NXMedia.h>

namespace nxmedia {

// The default thumbnail of a class: loads bitmap resource `resourceId` into `shared` once (under the
// write lock), then makes a device bitmap of it, fitted into the box when it is smaller or force is set.
CBitmap* MakeDefaultThumbnail(cRWLockData& lock, CLeadBitmap& shared, BOOL& loaded, UINT resourceId, CDC* dc,
                              int boxWidth, int boxHeight, BOOL force);

// A framework bitmap owning a device bitmap of `picture` for the device context; throws cNXLeadException.
CBitmap* MakeDeviceBitmap(CDC* dc, const CLeadBitmap& picture);

// The size fitted into a box the way the picture thumbnail does it (ratio h / w, truncated).
CSize FitThumbnailSize(int width, int height, int boxWidth, int boxHeight);

}  // namespace nxmedia
