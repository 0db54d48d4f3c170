/* Public interface of orvlead.dll, the suite's imaging toolkit.
 *
 * Offers bitmaps in memory (ORVLBITMAP, orvlead_types.h), the kernel and processing calls of
 * orvlead_core.h, and here the Win32 calls: files (identify, load, save, pages, stamps, memory and
 * offsets), packed DIBs, device bitmaps, painting, printing and the clipboard. Results: ORVL_SUCCESS (1)
 * or a negative ORVL_ERROR_* code; calls returning handles return NULL on failure.
 * Callers: CLeadBitmap of the media library, the LEAD-based format module, the TWAIN library.
 */
#ifndef ORVLEAD_H
#define ORVLEAD_H

#include <windows.h>

#include "lead/orvlead_core.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Files. bits 0 loads at the file's own depth; order is ORVL_ORDER_*. ---- */
int orvlFileInfo(const char* path, ORVLFILEINFO* info);
int orvlLoadBitmap(const char* path, ORVLBITMAP* bmp, int bits, int order);
int orvlLoadFile(const char* path, ORVLBITMAP* bmp, int bits, int order, uint32_t flags, ORVLFILEINFO* info);
/* Saves through a temporary file moved into place on success; a failed save leaves any old file as it
 * was. The page number of the file options selects the TIFF page written (2: append or replace page 2). */
int orvlSaveBitmap(const char* path, ORVLBITMAP* bmp, int format, int bits, int qfactor);
int orvlSaveFile(const char* path, ORVLBITMAP* bmp, int format, int bits, int qfactor, uint32_t flags);
/* The options of the calling thread (a record of ORVL_FILEOPTIONS_SIZE bytes). */
int orvlGetFileOption(ORVLFILEOPTIONS* options);
int orvlSetFileOption(const ORVLFILEOPTIONS* options);
/* A region of an open file: size bytes from offset (size 0: to the end). Saving writes at offset. */
int orvlLoadFileOffset(HANDLE file, uint32_t offset, uint32_t size, ORVLBITMAP* bmp, int bits, int order,
                       uint32_t flags, ORVLFILEINFO* info);
int orvlSaveFileOffset(HANDLE file, uint32_t offset, uint32_t* written, ORVLBITMAP* bmp, int format, int bits,
                       int qfactor, uint32_t flags);
/* Memory: the saved file in a new global-memory block (caller frees with GlobalFree). */
int orvlSaveMemory(ORVLBITMAP* bmp, HGLOBAL* memory, uint32_t* size, int format, int bits, int qfactor,
                   uint32_t flags);
int orvlLoadMemory(const uint8_t* data, uint32_t size, ORVLBITMAP* bmp, int bits, int order, uint32_t flags,
                   ORVLFILEINFO* info);
int orvlFileInfoMemory(const uint8_t* data, uint32_t size, ORVLFILEINFO* info);
/* The embedded thumbnail of a JPEG file (ORVL_ERROR_PAGE_NOT_FOUND when it has none). */
int orvlGetCompressFileStamp(const char* path, ORVLBITMAP* bmp);
/* JPEG in memory with an embedded stamp of stampWidth x stampHeight (fitted keeping the ratio). */
int orvlCompressWithStamp(ORVLBITMAP* bmp, HGLOBAL* memory, uint32_t* size, int qfactor, int stampWidth,
                          int stampHeight);
int orvlDecompressMemory(const uint8_t* data, uint32_t size, ORVLBITMAP* bmp, int bits, int order);

/* ---- Windows bitmaps ---- */
/* Packed DIB (BITMAPINFOHEADER, colour table, bits) in moveable global memory, caller frees. */
HGLOBAL orvlConvertToDIB(const ORVLBITMAP* bmp);
/* As ConvertToDIB, then frees the bitmap's pixels. */
HGLOBAL orvlChangeToDIB(ORVLBITMAP* bmp);
/* bmp (an initialised record) becomes a copy of the DIB; bits null: they follow the colour table. */
int orvlConvertFromDIB(ORVLBITMAP* bmp, const BITMAPINFO* info, const void* bits);
/* As ConvertFromDIB from a packed DIB handle, which is freed on success. */
int orvlChangeFromDIB(ORVLBITMAP* bmp, HGLOBAL dib);
HBITMAP orvlConvertToDDB(HDC dc, const ORVLBITMAP* bmp);
HBITMAP orvlChangeToDDB(HDC dc, ORVLBITMAP* bmp);
int orvlConvertFromDDB(HDC dc, ORVLBITMAP* bmp, HBITMAP ddb, HPALETTE palette);
int orvlChangeFromDDB(HDC dc, ORVLBITMAP* bmp, HBITMAP ddb, HPALETTE palette);
/* Paints the source rectangle into the destination rectangle with a raster operation (SRCCOPY, ...);
 * null rectangles mean the whole bitmap and its own size at 0, 0; clips may be null. */
int orvlPaintDC(HDC dc, const ORVLBITMAP* bmp, const RECT* src, const RECT* srcClip, const RECT* dst,
                const RECT* dstClip, DWORD rop);
/* Prints into a printer DC at x, y, width x height (0: the bitmap's size at the printer's resolution
 * relative to the bitmap's). Returns the DC, or NULL. */
HDC orvlPrintBitmap(HDC dc, const ORVLBITMAP* bmp, int x, int y, int width, int height);
HPALETTE orvlCreatePaintPalette(HDC dc, const ORVLBITMAP* bmp);
int orvlCopyToClipboard(HWND owner, const ORVLBITMAP* bmp);
int orvlCopyFromClipboard(HWND owner, ORVLBITMAP* bmp);
int orvlIsClipboardReady(void);
/* The screen rectangle as a 24-bit bitmap. */
int orvlScreenCapture(ORVLBITMAP* bmp, const RECT* area);

#ifdef __cplusplus
}
#endif

#endif /* ORVLEAD_H */
