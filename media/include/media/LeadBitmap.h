// CLeadBitmap: a picture in memory as a record of the imaging toolkit (orvlead), with one member per toolkit
// call; and MapErrorLeadToNX, the translation of toolkit results into NXError numbers.
//
// Every status member makes exactly one toolkit call with the object as its bitmap and returns the result
// translated by MapErrorLeadToNX (0 on success); members never throw, callers throw cNXLeadException for a
// non-zero result. Handle-returning members return the toolkit's value unchanged. The object is the toolkit's
// record: it converts to ORVLBITMAP* and copying it copies the record (both copies then share the pixels,
// which are freed once, by Free; the destructor frees nothing).
// Compiled into the media library, the TWAIN library and their tests (static library orv_leadbitmap).
#pragma once
#include <windows.h>
#include <lead/orvlead.h>
#include <media/NXError.h>

// The NXError number of a toolkit result (ORVL_SUCCESS gives NXE_NONE).
int MapErrorLeadToNX(int leadResult);

class CLeadBitmap : public ORVLBITMAP {
 public:
  // A 1 x 1 bitmap of 1 bit per pixel without pixel memory.
  CLeadBitmap();
  CLeadBitmap(const CLeadBitmap& other) = default;
  CLeadBitmap& operator=(const CLeadBitmap& other) = default;
  ~CLeadBitmap() = default;

  operator ORVLBITMAP*() { return this; }
  operator const ORVLBITMAP*() const { return this; }
  bool IsAllocated() const { return (Flags & ORVL_BITMAP_ALLOCATED) != 0; }

  // ---- Kernel ----
  void Access();
  int Allocate(int memoryKind = ORVL_MEMORY_CONVENTIONAL);
  int ChangeHeight(int height);
  int ChangeFromDDB(HDC dc, HBITMAP ddb, HPALETTE palette);
  int ChangeFromDIB(HGLOBAL dib);
  HBITMAP ChangeToDDB(HDC dc);
  HGLOBAL ChangeToDIB();
  int Clear();
  // In place: the picture at bits with ORVL_CRF_* flags (palette and colours with ORVL_CRF_USERPALETTE).
  int ColorRes(int bits, uint32_t flags, const ORVLRGBQUAD* palette = nullptr, int colors = 0);
  int Combine(int dx, int dy, int width, int height, const ORVLBITMAP* src, int sx, int sy, int operation);
  int ConvertFromDDB(HDC dc, HBITMAP ddb, HPALETTE palette);
  int ConvertFromDIB(const BITMAPINFO* info, const void* bits);
  HGLOBAL ConvertToDIB() const;
  HBITMAP ConvertToDDB(HDC dc) const;
  int Copy(const ORVLBITMAP* src);
  int CopyData(const ORVLBITMAP* src);
  void CopyHandle(const ORVLBITMAP* src);
  int CopyRect(const ORVLBITMAP* src, int left, int top, int width, int height);
  int CopyFromClipboard(HWND owner);
  int CopyToClipboard(HWND owner) const;
  int Create(int memoryKind, int width, int height, int bits, int order, const ORVLRGBQUAD* palette,
             int viewPerspective);
  HPALETTE CreatePaintPalette(HDC dc) const;
  int Fill(ORVLCOLOR color);
  int Flip();
  void Free();
  int GetColors(int first, int count, ORVLRGBQUAD* palette) const;
  // Row calls address memory rows as stored; 0 when the bytes were moved.
  long GetRow(uint8_t* buffer, int row, uint32_t bytes) const;
  long GetRowCol(uint8_t* buffer, int row, int col, uint32_t bytes) const;
  // The colour of a pixel (a colour, not a status: 0 outside the picture or without pixels).
  ORVLCOLOR GetPixelColor(int row, int col) const;
  int GrayScale(int bits);
  int HalfTone(int dim);
  int Init(int width, int height, int bits);
  int PaintDC(HDC dc, const RECT* src, const RECT* srcClip, const RECT* dst, const RECT* dstClip, DWORD rop) const;
  // Prints at x, y, width x height (0: the bitmap's size at the printer's resolution); the DC or NULL.
  HDC Print(HDC dc, int x, int y, int width, int height) const;
  int PutColors(int first, int count, const ORVLRGBQUAD* palette);
  long PutRow(const uint8_t* buffer, int row, uint32_t bytes);
  long PutRowCol(const uint8_t* buffer, int row, int col, uint32_t bytes);
  int PutPixelColor(int row, int col, ORVLCOLOR color);
  void Release();
  int Resize(int width, int height);  // nearest pixel, in place
  int Reverse();
  int Rotate(int degrees, uint32_t flags, ORVLCOLOR fill);
  int RotateFine(int hundredths, uint32_t flags, ORVLCOLOR fill);
  int ScreenCapture(const RECT* area);
  int Shear(int hundredths, BOOL horizontal, ORVLCOLOR fill);
  int Size(int width, int height, uint32_t flags);
  int Underlay(const ORVLBITMAP* underlay, int placement);
  int Resample(int width, int height);
  int ChangeViewPerspective(int viewPerspective);
  static bool IsClipboardReady();

  // ---- Files ----
  static int GetFileInfo(const char* path, ORVLFILEINFO* info);
  int Load(const char* path, int bits, int order);
  int LoadFile(const char* path, int bits, int order, uint32_t flags, ORVLFILEINFO* info);
  int Save(const char* path, int format, int bits, int qfactor);
  int SaveFile(const char* path, int format, int bits, int qfactor, uint32_t flags);
  static int SetFileOption(const ORVLFILEOPTIONS* options);
  int SaveFileOffset(HANDLE file, uint32_t offset, uint32_t* written, int format, int bits, int qfactor,
                     uint32_t flags);
  int LoadFileOffset(HANDLE file, uint32_t offset, uint32_t size, int bits, int order, uint32_t flags,
                     ORVLFILEINFO* info);
  int SaveMemory(HGLOBAL* memory, uint32_t* size, int format, int bits, int qfactor, uint32_t flags);
  int LoadMemory(const uint8_t* data, uint32_t size, int bits, int order, uint32_t flags, ORVLFILEINFO* info);
  int CompressWithStamp(HGLOBAL* memory, uint32_t* size, int qfactor, int stampWidth, int stampHeight);
  int GetCompressFileStamp(const char* path);
  int DecompressMemory(const uint8_t* data, uint32_t size, int bits, int order);

  // ---- Image processing ----
  int AddNoise(int range, int channel, uint32_t seed);
  int AverageFilter(int dim);
  int BinaryFilter(int operation, int dim);
  int ChangeContrast(int change);
  int ChangeHue(int degrees);
  int ChangeIntensity(int change);
  int ChangeSaturation(int change);
  // This bitmap becomes the 24-bit merge of three 8-bit planes (red, green, blue).
  int ColorMerge(ORVLBITMAP** planes, int space);
  int ColorMerge(CLeadBitmap planes[3], int space);
  // Three allocated 8-bit planes (red, green, blue) from this 24/32-bit bitmap.
  int ColorSeparate(ORVLBITMAP** planes, int space) const;
  int ColorSeparate(CLeadBitmap planes[3], int space) const;
  int Deskew(int32_t* angle, ORVLCOLOR fill);
  int Despeckle();
  int Emboss(int direction, int depth);
  int GammaCorrect(int gammaHundredths);
  int GetHistogram(uint32_t* histogram, int entries, int channel) const;
  int HistoContrast(int change);
  int HistoEqualize();
  int IntensityDetect(int low, int high);
  int Invert();
  int MedianFilter(int dim);
  int Mosaic(int dim);
  int Posterize(int levels);
  int RemapIntensity(const uint8_t* lut, int entries, int channel);
  int Sharpen(int sharpness);
  int SpatialFilter(const ORVLSPATIALFLT* filter);
  int StretchIntensity();
};
