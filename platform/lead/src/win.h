// Internal declarations shared by the DLL's Win32 parts: WIC codecs, metafiles, packed DIBs.
#pragma once

#include <windows.h>

#include "codecs.h"
#include "lead/orvlead.h"

namespace orvl {

// Decodes frame `index` of a PNG/TIFF/GIF in memory into a top-left 32-bit BGRA bitmap.
int wicDecode(const uint8_t* data, size_t size, int index, ORVLBITMAP* out);
// Encodes an 8-bit (or lower) paletted bitmap as a one-frame GIF.
int wicEncodeGif(const ORVLBITMAP* bmp, Bytes* out);
// Plays a WMF/EMF in memory into a 24-bit bitmap of width x height.
int renderMetafile(const uint8_t* data, size_t size, int width, int height, ORVLBITMAP* out);
// Packed DIB bytes (header, colour table, bottom-up bits) of a bitmap.
int buildPackedDib(const ORVLBITMAP* bmp, Bytes* out);

}  // namespace orvl
