// CLeadBitmap's members, each one toolkit call, and the toolkit-result translation.
#include <media/LeadBitmap.h>

namespace {

// The toolkit's statuses that fall into the device group: its clipboard and GDI failures (-30 .. -36), the
// range -38 .. -60 and -62 that the toolkit keeps for further devices, and the positive status 13.
const int kDeviceStatus = 13;
const int kDeviceFirstLow = -36, kDeviceFirstHigh = -30;
const int kDeviceSecondLow = -60, kDeviceSecondHigh = -38;
const int kDeviceSingle = -62;
// Positive statuses that are not success: 2 "file not found" and 50 "stopped".
const int kStatusNotFound = 2;
const int kStatusStopped = 50;

int Map(int result) { return MapErrorLeadToNX(result); }

// Row calls report the bytes moved; any positive count is success.
long MapRow(int32_t result) { return result > 0 ? NXE_NONE : MapErrorLeadToNX(result); }

}  // namespace

int MapErrorLeadToNX(int r) {
  if ((r >= kDeviceFirstLow && r <= kDeviceFirstHigh) || (r >= kDeviceSecondLow && r <= kDeviceSecondHigh)) {
    return NXE_DEVICE;
  }
  switch (r) {
    case ORVL_SUCCESS: return NXE_NONE;
    case kStatusNotFound:
    case ORVL_ERROR_FILE_NOT_FOUND: return NXE_FILE_NOT_FOUND;
    case kDeviceStatus:
    case kDeviceSingle: return NXE_DEVICE;
    case kStatusStopped: return NXE_STOPPED;
    case ORVL_ERROR_PRINTER: return NXE_PRINTER;
    case ORVL_ERROR_FILE_OPEN: return NXE_FILE_OPEN;
    case ORVL_ERROR_INVALID_SIZE: return NXE_INVALID_SIZE;
    case ORVL_ERROR_NOT_SUPPORTED:
    case ORVL_ERROR_FILE_FORMAT: return NXE_FORMAT_NOT_SUPPORTED;
    case ORVL_ERROR_INVALID_BITS: return NXE_INVALID_BITS;
    case ORVL_ERROR_INVALID_PARAM: return NXE_INVALID_PARAMETER;
    case ORVL_ERROR_FILE_READ:
    case ORVL_ERROR_FILE_WRITE:
    case ORVL_ERROR_FILE_CORRUPT: return NXE_FILE_ACCESS;
    case ORVL_ERROR_MEMORY_LOCK:
    case ORVL_ERROR_NO_MEMORY: return NXE_OUT_OF_MEMORY;
    case ORVL_ERROR_NO_BITMAP: return NXE_NO_BITMAP;
    default: return NXE_GENERAL;
  }
}

CLeadBitmap::CLeadBitmap() : ORVLBITMAP() {
  Flags &= ~ORVL_BITMAP_ALLOCATED;
  orvlInitBitmap(this, 1, 1, 1);
}

// ---- Kernel ----
void CLeadBitmap::Access() { orvlAccessBitmap(this); }
int CLeadBitmap::Allocate(int memoryKind) { return Map(orvlAllocateBitmap(this, memoryKind)); }
int CLeadBitmap::ChangeHeight(int height) { return Map(orvlChangeBitmapHeight(this, height)); }
int CLeadBitmap::ChangeFromDDB(HDC dc, HBITMAP ddb, HPALETTE palette) {
  return Map(orvlChangeFromDDB(dc, this, ddb, palette));
}
int CLeadBitmap::ChangeFromDIB(HGLOBAL dib) { return Map(orvlChangeFromDIB(this, dib)); }
HBITMAP CLeadBitmap::ChangeToDDB(HDC dc) { return orvlChangeToDDB(dc, this); }
HGLOBAL CLeadBitmap::ChangeToDIB() { return orvlChangeToDIB(this); }
int CLeadBitmap::Clear() { return Map(orvlClearBitmap(this)); }
int CLeadBitmap::ColorRes(int bits, uint32_t flags, const ORVLRGBQUAD* palette, int colors) {
  return Map(orvlColorResBitmap(this, this, bits, flags, palette, colors));
}
int CLeadBitmap::Combine(int dx, int dy, int width, int height, const ORVLBITMAP* src, int sx, int sy,
                         int operation) {
  return Map(orvlCombineBitmap(this, dx, dy, width, height, src, sx, sy, operation));
}
int CLeadBitmap::ConvertFromDDB(HDC dc, HBITMAP ddb, HPALETTE palette) {
  return Map(orvlConvertFromDDB(dc, this, ddb, palette));
}
int CLeadBitmap::ConvertFromDIB(const BITMAPINFO* info, const void* bits) {
  return Map(orvlConvertFromDIB(this, info, bits));
}
HGLOBAL CLeadBitmap::ConvertToDIB() const { return orvlConvertToDIB(this); }
HBITMAP CLeadBitmap::ConvertToDDB(HDC dc) const { return orvlConvertToDDB(dc, this); }
int CLeadBitmap::Copy(const ORVLBITMAP* src) { return Map(orvlCopyBitmap(this, src)); }
int CLeadBitmap::CopyData(const ORVLBITMAP* src) { return Map(orvlCopyBitmapData(this, src)); }
void CLeadBitmap::CopyHandle(const ORVLBITMAP* src) { orvlCopyBitmapHandle(this, src); }
int CLeadBitmap::CopyRect(const ORVLBITMAP* src, int left, int top, int width, int height) {
  return Map(orvlCopyBitmapRect(this, src, left, top, width, height));
}
int CLeadBitmap::CopyFromClipboard(HWND owner) { return Map(orvlCopyFromClipboard(owner, this)); }
int CLeadBitmap::CopyToClipboard(HWND owner) const { return Map(orvlCopyToClipboard(owner, this)); }
int CLeadBitmap::Create(int memoryKind, int width, int height, int bits, int order, const ORVLRGBQUAD* palette,
                        int viewPerspective) {
  return Map(orvlCreateBitmap(this, memoryKind, width, height, bits, order, palette, viewPerspective));
}
HPALETTE CLeadBitmap::CreatePaintPalette(HDC dc) const { return orvlCreatePaintPalette(dc, this); }
int CLeadBitmap::Fill(ORVLCOLOR color) { return Map(orvlFillBitmap(this, color)); }
int CLeadBitmap::Flip() { return Map(orvlFlipBitmap(this)); }
void CLeadBitmap::Free() { orvlFreeBitmap(this); }
int CLeadBitmap::GetColors(int first, int count, ORVLRGBQUAD* palette) const {
  return Map(orvlGetBitmapColors(this, first, count, palette));
}
long CLeadBitmap::GetRow(uint8_t* buffer, int row, uint32_t bytes) const {
  return MapRow(orvlGetBitmapRow(this, buffer, row, bytes));
}
long CLeadBitmap::GetRowCol(uint8_t* buffer, int row, int col, uint32_t bytes) const {
  return MapRow(orvlGetBitmapRowCol(this, buffer, row, col, bytes));
}
ORVLCOLOR CLeadBitmap::GetPixelColor(int row, int col) const { return orvlGetPixelColor(this, row, col); }
int CLeadBitmap::GrayScale(int bits) { return Map(orvlGrayScaleBitmap(this, bits)); }
int CLeadBitmap::HalfTone(int dim) { return Map(orvlHalfToneBitmap(this, dim)); }
int CLeadBitmap::Init(int width, int height, int bits) { return Map(orvlInitBitmap(this, width, height, bits)); }
int CLeadBitmap::PaintDC(HDC dc, const RECT* src, const RECT* srcClip, const RECT* dst, const RECT* dstClip,
                         DWORD rop) const {
  return Map(orvlPaintDC(dc, this, src, srcClip, dst, dstClip, rop));
}
HDC CLeadBitmap::Print(HDC dc, int x, int y, int width, int height) const {
  return orvlPrintBitmap(dc, this, x, y, width, height);
}
int CLeadBitmap::PutColors(int first, int count, const ORVLRGBQUAD* palette) {
  return Map(orvlPutBitmapColors(this, first, count, palette));
}
long CLeadBitmap::PutRow(const uint8_t* buffer, int row, uint32_t bytes) {
  return MapRow(orvlPutBitmapRow(this, buffer, row, bytes));
}
long CLeadBitmap::PutRowCol(const uint8_t* buffer, int row, int col, uint32_t bytes) {
  return MapRow(orvlPutBitmapRowCol(this, buffer, row, col, bytes));
}
int CLeadBitmap::PutPixelColor(int row, int col, ORVLCOLOR color) {
  return Map(orvlPutPixelColor(this, row, col, color));
}
void CLeadBitmap::Release() { orvlReleaseBitmap(this); }
int CLeadBitmap::Resize(int width, int height) { return Map(orvlResizeBitmap(this, this, width, height)); }
int CLeadBitmap::Reverse() { return Map(orvlReverseBitmap(this)); }
int CLeadBitmap::Rotate(int degrees, uint32_t flags, ORVLCOLOR fill) {
  return Map(orvlRotateBitmap(this, degrees, flags, fill));
}
int CLeadBitmap::RotateFine(int hundredths, uint32_t flags, ORVLCOLOR fill) {
  return Map(orvlRotateBitmapFine(this, hundredths, flags, fill));
}
int CLeadBitmap::ScreenCapture(const RECT* area) { return Map(orvlScreenCapture(this, area)); }
int CLeadBitmap::Shear(int hundredths, BOOL horizontal, ORVLCOLOR fill) {
  return Map(orvlShearBitmap(this, hundredths, horizontal, fill));
}
int CLeadBitmap::Size(int width, int height, uint32_t flags) {
  return Map(orvlSizeBitmap(this, width, height, flags));
}
int CLeadBitmap::Underlay(const ORVLBITMAP* underlay, int placement) {
  return Map(orvlUnderlayBitmap(this, underlay, placement));
}
int CLeadBitmap::Resample(int width, int height) { return Map(orvlResampleBitmap(this, width, height)); }
int CLeadBitmap::ChangeViewPerspective(int viewPerspective) {
  return Map(orvlChangeBitmapViewPerspective(this, this, viewPerspective));
}
bool CLeadBitmap::IsClipboardReady() { return orvlIsClipboardReady() != 0; }

// ---- Files ----
int CLeadBitmap::GetFileInfo(const char* path, ORVLFILEINFO* info) { return Map(orvlFileInfo(path, info)); }
int CLeadBitmap::Load(const char* path, int bits, int order) { return Map(orvlLoadBitmap(path, this, bits, order)); }
int CLeadBitmap::LoadFile(const char* path, int bits, int order, uint32_t flags, ORVLFILEINFO* info) {
  return Map(orvlLoadFile(path, this, bits, order, flags, info));
}
int CLeadBitmap::Save(const char* path, int format, int bits, int qfactor) {
  return Map(orvlSaveBitmap(path, this, format, bits, qfactor));
}
int CLeadBitmap::SaveFile(const char* path, int format, int bits, int qfactor, uint32_t flags) {
  return Map(orvlSaveFile(path, this, format, bits, qfactor, flags));
}
int CLeadBitmap::SetFileOption(const ORVLFILEOPTIONS* options) { return Map(orvlSetFileOption(options)); }
int CLeadBitmap::SaveFileOffset(HANDLE file, uint32_t offset, uint32_t* written, int format, int bits, int qfactor,
                                uint32_t flags) {
  return Map(orvlSaveFileOffset(file, offset, written, this, format, bits, qfactor, flags));
}
int CLeadBitmap::LoadFileOffset(HANDLE file, uint32_t offset, uint32_t size, int bits, int order, uint32_t flags,
                                ORVLFILEINFO* info) {
  return Map(orvlLoadFileOffset(file, offset, size, this, bits, order, flags, info));
}
int CLeadBitmap::SaveMemory(HGLOBAL* memory, uint32_t* size, int format, int bits, int qfactor, uint32_t flags) {
  return Map(orvlSaveMemory(this, memory, size, format, bits, qfactor, flags));
}
int CLeadBitmap::LoadMemory(const uint8_t* data, uint32_t size, int bits, int order, uint32_t flags,
                            ORVLFILEINFO* info) {
  return Map(orvlLoadMemory(data, size, this, bits, order, flags, info));
}
int CLeadBitmap::CompressWithStamp(HGLOBAL* memory, uint32_t* size, int qfactor, int stampWidth, int stampHeight) {
  return Map(orvlCompressWithStamp(this, memory, size, qfactor, stampWidth, stampHeight));
}
int CLeadBitmap::GetCompressFileStamp(const char* path) { return Map(orvlGetCompressFileStamp(path, this)); }
int CLeadBitmap::DecompressMemory(const uint8_t* data, uint32_t size, int bits, int order) {
  return Map(orvlDecompressMemory(data, size, this, bits, order));
}

// ---- Image processing ----
int CLeadBitmap::AddNoise(int range, int channel, uint32_t seed) { return Map(orvlAddNoise(this, range, channel, seed)); }
int CLeadBitmap::AverageFilter(int dim) { return Map(orvlAverageFilter(this, dim)); }
int CLeadBitmap::BinaryFilter(int operation, int dim) { return Map(orvlBinaryFilter(this, operation, dim)); }
int CLeadBitmap::ChangeContrast(int change) { return Map(orvlChangeContrast(this, change)); }
int CLeadBitmap::ChangeHue(int degrees) { return Map(orvlChangeHue(this, degrees)); }
int CLeadBitmap::ChangeIntensity(int change) { return Map(orvlChangeIntensity(this, change)); }
int CLeadBitmap::ChangeSaturation(int change) { return Map(orvlChangeSaturation(this, change)); }
int CLeadBitmap::ColorMerge(ORVLBITMAP** planes, int space) { return Map(orvlColorMerge(this, planes, space)); }
int CLeadBitmap::ColorMerge(CLeadBitmap planes[3], int space) {
  ORVLBITMAP* records[3] = {&planes[0], &planes[1], &planes[2]};
  return Map(orvlColorMerge(this, records, space));
}
int CLeadBitmap::ColorSeparate(ORVLBITMAP** planes, int space) const {
  return Map(orvlColorSeparate(this, planes, space));
}
int CLeadBitmap::ColorSeparate(CLeadBitmap planes[3], int space) const {
  ORVLBITMAP* records[3] = {&planes[0], &planes[1], &planes[2]};
  return Map(orvlColorSeparate(this, records, space));
}
int CLeadBitmap::Deskew(int32_t* angle, ORVLCOLOR fill) { return Map(orvlDeskew(this, angle, fill)); }
int CLeadBitmap::Despeckle() { return Map(orvlDespeckle(this)); }
int CLeadBitmap::Emboss(int direction, int depth) { return Map(orvlEmboss(this, direction, depth)); }
int CLeadBitmap::GammaCorrect(int gammaHundredths) { return Map(orvlGammaCorrect(this, gammaHundredths)); }
int CLeadBitmap::GetHistogram(uint32_t* histogram, int entries, int channel) const {
  return Map(orvlGetHistogram(this, histogram, entries, channel));
}
int CLeadBitmap::HistoContrast(int change) { return Map(orvlHistoContrast(this, change)); }
int CLeadBitmap::HistoEqualize() { return Map(orvlHistoEqualize(this)); }
int CLeadBitmap::IntensityDetect(int low, int high) { return Map(orvlIntensityDetect(this, low, high)); }
int CLeadBitmap::Invert() { return Map(orvlInvert(this)); }
int CLeadBitmap::MedianFilter(int dim) { return Map(orvlMedianFilter(this, dim)); }
int CLeadBitmap::Mosaic(int dim) { return Map(orvlMosaic(this, dim)); }
int CLeadBitmap::Posterize(int levels) { return Map(orvlPosterize(this, levels)); }
int CLeadBitmap::RemapIntensity(const uint8_t* lut, int entries, int channel) {
  return Map(orvlRemapIntensity(this, lut, entries, channel));
}
int CLeadBitmap::Sharpen(int sharpness) { return Map(orvlSharpen(this, sharpness)); }
int CLeadBitmap::SpatialFilter(const ORVLSPATIALFLT* filter) { return Map(orvlSpatialFilter(this, filter)); }
int CLeadBitmap::StretchIntensity() { return Map(orvlStretchIntensity(this)); }
