/* The toolkit's portable calls: bitmap kernel and image processing over ORVLBITMAP records.
 *
 * Exported by orvlead.dll (see orvlead.h for the Win32 and file calls) and built natively for tests.
 * Every call returns ORVL_SUCCESS (1) or a negative ORVL_ERROR_* code unless noted. Coordinates are in
 * the picture's own view (row 0 = top) except GetRow/PutRow, which address memory rows as stored
 * (for an ORVL_BOTTOM_LEFT bitmap memory row 0 is the bottom line).
 */
#ifndef ORVLEAD_CORE_H
#define ORVLEAD_CORE_H

#include "lead/orvlead_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Kernel ---- */
/* Sets up the record for width x height at bits (1 x 1 x 1 for a fresh record); no pixel memory. */
int orvlInitBitmap(ORVLBITMAP* bmp, int width, int height, int bits);
/* Attaches zeroed pixel memory for the record's size (the record must not be allocated). */
int orvlAllocateBitmap(ORVLBITMAP* bmp, int memoryKind);
/* Init + Allocate with colour order, palette (null: grey ramp for <= 8 bits) and view perspective. */
int orvlCreateBitmap(ORVLBITMAP* bmp, int memoryKind, int width, int height, int bits, int order,
                     const ORVLRGBQUAD* palette, int viewPerspective);
/* Frees the pixel memory when allocated; the record keeps its size, the allocated bit is cleared. */
void orvlFreeBitmap(ORVLBITMAP* bmp);
/* Row access brackets; the memory is always addressable, they only count nesting. */
void orvlAccessBitmap(ORVLBITMAP* bmp);
void orvlReleaseBitmap(ORVLBITMAP* bmp);
/* Memory row transfers; return the bytes moved (> 0) or an error. Byte counts are clipped to the line. */
int32_t orvlGetBitmapRow(const ORVLBITMAP* bmp, uint8_t* buffer, int row, uint32_t bytes);
int32_t orvlPutBitmapRow(ORVLBITMAP* bmp, const uint8_t* buffer, int row, uint32_t bytes);
/* As above from pixel column col; for depths below 8 bits col * bits must fall on a byte boundary. */
int32_t orvlGetBitmapRowCol(const ORVLBITMAP* bmp, uint8_t* buffer, int row, int col, uint32_t bytes);
int32_t orvlPutBitmapRowCol(ORVLBITMAP* bmp, const uint8_t* buffer, int row, int col, uint32_t bytes);
/* New height; kept lines stay, new lines are zero. */
int orvlChangeBitmapHeight(ORVLBITMAP* bmp, int height);
int orvlClearBitmap(ORVLBITMAP* bmp);
int orvlFillBitmap(ORVLBITMAP* bmp, ORVLCOLOR color);
/* dst becomes an allocated copy of src (dst's old pixels are freed first unless dst == src). */
int orvlCopyBitmap(ORVLBITMAP* dst, const ORVLBITMAP* src);
/* Copies pixels and palette into an allocated dst of the same size and bits. */
int orvlCopyBitmapData(ORVLBITMAP* dst, const ORVLBITMAP* src);
/* Copies the record only: both then share one pixel block, which must be freed once. */
void orvlCopyBitmapHandle(ORVLBITMAP* dst, const ORVLBITMAP* src);
/* dst becomes an allocated copy of the rectangle (clipped to src). */
int orvlCopyBitmapRect(ORVLBITMAP* dst, const ORVLBITMAP* src, int left, int top, int width, int height);
int orvlFlipBitmap(ORVLBITMAP* bmp);      /* top <-> bottom */
int orvlReverseBitmap(ORVLBITMAP* bmp);   /* left <-> right */
/* Grey picture: bits 8 (grey palette) or 24/32 (equal channels). */
int orvlGrayScaleBitmap(ORVLBITMAP* bmp, int bits);
/* Converts src into dst (may be the same record) at bits with ORVL_CRF_* flags; palette/colors are used
 * with ORVL_CRF_USERPALETTE. */
int orvlColorResBitmap(const ORVLBITMAP* src, ORVLBITMAP* dst, int bits, uint32_t flags,
                       const ORVLRGBQUAD* palette, int colors);
/* 1-bit black and white picture by a clustered-dot screen of cell size dim (2..16). */
int orvlHalfToneBitmap(ORVLBITMAP* bmp, int dim);
/* dst becomes src resized to width x height by nearest pixel (any depth; dst may be src). */
int orvlResizeBitmap(const ORVLBITMAP* src, ORVLBITMAP* dst, int width, int height);
/* In place: nearest pixel (ORVL_SIZE_NORMAL) or filtered (ORVL_SIZE_RESAMPLE). */
int orvlSizeBitmap(ORVLBITMAP* bmp, int width, int height, uint32_t flags);
/* In place, filtered: area average when shrinking, bilinear when growing. Pictures below 24 bits become
 * 24-bit (their colours are averaged). */
int orvlResampleBitmap(ORVLBITMAP* bmp, int width, int height);
/* Clockwise rotation by whole degrees (ORVL_ROTATE_* flags, uncovered area filled). Multiples of 90 are
 * exact at any depth; other angles need 8 bits or more (nearest) and 24/32 bits for resampling. */
int orvlRotateBitmap(ORVLBITMAP* bmp, int degrees, uint32_t flags, ORVLCOLOR fill);
/* As RotateBitmap with hundredths of a degree, always resampled on 24/32-bit pictures. */
int orvlRotateBitmapFine(ORVLBITMAP* bmp, int hundredths, uint32_t flags, ORVLCOLOR fill);
/* Shears by hundredths of a degree (-4500..4500), horizontally or vertically; the canvas grows. */
int orvlShearBitmap(ORVLBITMAP* bmp, int hundredths, int horizontal, ORVLCOLOR fill);
/* Combines the src rectangle at (sx, sy) into dst at (dx, dy); both 24/32 bits. */
int orvlCombineBitmap(ORVLBITMAP* dst, int dx, int dy, int width, int height, const ORVLBITMAP* src, int sx,
                      int sy, int operation);
/* Multiplies dst (24/32 bits) by the underlay, tiled or stretched. */
int orvlUnderlayBitmap(ORVLBITMAP* dst, const ORVLBITMAP* underlay, int placement);
ORVLCOLOR orvlGetPixelColor(const ORVLBITMAP* bmp, int row, int col);  /* 0 outside or unallocated */
int orvlPutPixelColor(ORVLBITMAP* bmp, int row, int col, ORVLCOLOR color);
/* Palette entries [first, first + count) of a bitmap of 8 bits or fewer. */
int orvlGetBitmapColors(const ORVLBITMAP* bmp, int first, int count, ORVLRGBQUAD* palette);
int orvlPutBitmapColors(ORVLBITMAP* bmp, int first, int count, const ORVLRGBQUAD* palette);
/* dst becomes src stored in the given view perspective (dst may be src). */
int orvlChangeBitmapViewPerspective(ORVLBITMAP* dst, const ORVLBITMAP* src, int viewPerspective);

/* ---- Image processing: 24/32-bit pictures, and 8-bit grey pictures where it makes sense ---- */
int orvlAddNoise(ORVLBITMAP* bmp, int range, int channel, uint32_t seed);       /* range 0..255 */
int orvlAverageFilter(ORVLBITMAP* bmp, int dim);                                /* box blur, odd dim */
int orvlBinaryFilter(ORVLBITMAP* bmp, int operation, int dim);                  /* erode / dilate */
int orvlChangeContrast(ORVLBITMAP* bmp, int change);                            /* -100..100 percent */
int orvlChangeHue(ORVLBITMAP* bmp, int degrees);                                /* -360..360 */
int orvlChangeIntensity(ORVLBITMAP* bmp, int change);                           /* -255..255 added */
int orvlChangeSaturation(ORVLBITMAP* bmp, int change);                          /* -100..100 percent */
/* dst becomes a 24-bit picture from three 8-bit planes (red, green, blue). */
int orvlColorMerge(ORVLBITMAP* dst, ORVLBITMAP** planes, int space);
/* Three allocated 8-bit grey planes (red, green, blue) from a 24/32-bit picture. */
int orvlColorSeparate(const ORVLBITMAP* src, ORVLBITMAP** planes, int space);
/* Finds the skew of text lines (within +-10 degrees) and rotates it away; angle out in hundredths. */
int orvlDeskew(ORVLBITMAP* bmp, int32_t* angleOut, ORVLCOLOR fill);
int orvlDespeckle(ORVLBITMAP* bmp);                                             /* 3 x 3 median */
int orvlEmboss(ORVLBITMAP* bmp, int direction, int depth);                      /* depth 0..100 */
int orvlGammaCorrect(ORVLBITMAP* bmp, int gammaHundredths);                     /* 1..500 */
int orvlGetHistogram(const ORVLBITMAP* bmp, uint32_t* histogram, int entries, int channel); /* 256 */
int orvlHistoContrast(ORVLBITMAP* bmp, int change);        /* contrast around the histogram's mean */
int orvlHistoEqualize(ORVLBITMAP* bmp);
int orvlIntensityDetect(ORVLBITMAP* bmp, int low, int high);  /* in range -> white, else black */
int orvlInvert(ORVLBITMAP* bmp);
int orvlMedianFilter(ORVLBITMAP* bmp, int dim);
int orvlMosaic(ORVLBITMAP* bmp, int dim);
int orvlPosterize(ORVLBITMAP* bmp, int levels);                  /* 2..64 levels per channel */
int orvlRemapIntensity(ORVLBITMAP* bmp, const uint8_t* lut, int entries, int channel);  /* 256 */
int orvlSharpen(ORVLBITMAP* bmp, int sharpness);                 /* -100..100 */
int orvlSpatialFilter(ORVLBITMAP* bmp, const ORVLSPATIALFLT* filter);
int orvlStretchIntensity(ORVLBITMAP* bmp);

#ifdef __cplusplus
}
#endif

#endif /* ORVLEAD_CORE_H */
