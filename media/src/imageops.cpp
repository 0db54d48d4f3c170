// The picture operations of cImageObject: building from bitmaps in memory, copying, drawing, printing,
// rotating, resizing, colour resolution, the tone curve and the TIFF thumbnail page.
#include <media/NXMedia.h>
#include <cstring>
#include <memory>

namespace {

const int kBlankWidth = 640;
const int kBlankHeight = 480;
const int kBlankBits = 24;
const int kDefaultCompressionFactor = 50;
const char kMemoryName[] = "<memory>";
// Dithering of ConvertColorResolution: the toolkit's colour-resolution flags 4 and 6.
const uint32_t kDitherAbove8Bits = ORVL_CRF_OPTIMIZEDPALETTE;
const uint32_t kDitherUpTo8Bits = ORVL_CRF_FLOYDSTEINDITHER | ORVL_CRF_OPTIMIZEDPALETTE;
const int kTiffThumbnailPage = 2;
const int kTiffMainPage = 1;
const int kToneBlackEnd = 5;     // entries 0 to 5 become black
const int kToneMidInput = 100;   // entry 100 ...
const int kToneMidOutput = 127;  // ... becomes 127
const int kLutSize = 256;

}  // namespace

void cImageObject::Init(int width, int height, int bits) {
  if (!m_pBitmap) m_pBitmap = new CLeadBitmap;
  m_pBitmap->Free();
  ThrowIfFailed(m_pBitmap->Init(width, height, bits));
  m_thumbWidth = m_thumbHeight = 0;
  m_dataType = DATATYPE_PICTURE;
  m_hResolution = m_vResolution = 0;
  m_bIsThumbnail = FALSE;
  m_bitsPerPixel = 0;
  m_compressionFactor = kDefaultCompressionFactor;
  m_compression = 0;
}

void cImageObject::UpdateImageProperties() {
  if (!m_pBitmap) return;
  m_height = short(m_pBitmap->Height);
  m_width = short(m_pBitmap->Width);
  m_bitsPerPixel = m_pBitmap->BitsPerPixel;
  m_hResolution = m_pBitmap->XResolution;
  m_vResolution = m_pBitmap->YResolution;
  IsLoaded();
}

BOOL cImageObject::IsLoaded() {
  m_bLoaded = m_pBitmap && m_pBitmap->IsAllocated();
  return m_bLoaded;
}

void cImageObject::CreateFromDIB(const BITMAPINFOHEADER* header) {
  if (!header) ThrowIfFailed(NXE_INVALID_PARAMETER);
  Init(kBlankWidth, kBlankHeight, kBlankBits);
  // The pixels follow the header and its colour table; the table's length comes from the header
  // (a table shorter than 2^bits, a larger header and bit-field masks are all allowed in packed bitmaps).
  const BYTE* start = reinterpret_cast<const BYTE*>(header);
  DWORD colors = 0;
  if (header->biBitCount <= 8) colors = header->biClrUsed ? header->biClrUsed : (1u << header->biBitCount);
  DWORD masks = (header->biCompression == BI_BITFIELDS && header->biSize == sizeof(BITMAPINFOHEADER)) ? 3 : 0;
  const BYTE* pixels = start + header->biSize + (colors + masks) * sizeof(RGBQUAD);
  ThrowIfFailed(m_pBitmap->ConvertFromDIB(reinterpret_cast<const BITMAPINFO*>(header), pixels));
  UpdateImageProperties();
  m_bInitialized = TRUE;
  SetFileName(kMemoryName);
  m_bDiskFileWritten = FALSE;
}

void cImageObject::CreateFromDIBHandle(HGLOBAL dib) {
  const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
  if (!header) ThrowIfFailed(NXE_INVALID_PARAMETER);
  try {
    CreateFromDIB(header);
  } catch (...) {
    GlobalUnlock(dib);
    throw;
  }
  GlobalUnlock(dib);
}

void cImageObject::CreateFromBitmap(CDC* dc, CBitmap* bitmap) {
  Init(kBlankWidth, kBlankHeight, kBlankBits);
  ThrowIfFailed(m_pBitmap->ConvertFromDDB(dc ? dc->GetSafeHdc() : NULL, bitmap ? HBITMAP(*bitmap) : NULL, NULL));
  UpdateImageProperties();
  m_bInitialized = TRUE;
  SetFileName(kMemoryName);
  m_bDiskFileWritten = FALSE;
}

cImageObject* cImageObject::CopyImage() const {
  std::unique_ptr<cImageObject> copy(new cImageObject);
  copy->Init(kBlankWidth, kBlankHeight, kBlankBits);
  if (!m_pBitmap) ThrowIfFailed(NXE_NO_BITMAP);
  ThrowIfFailed(copy->m_pBitmap->Copy(m_pBitmap));
  copy->UpdateImageProperties();
  copy->m_fileFormat = m_fileFormat;
  copy->m_bIsThumbnail = m_bIsThumbnail;
  return copy.release();
}

namespace {

// Selects and realises a palette for the guard's lifetime.
class PaletteSelection {
 public:
  PaletteSelection(HDC dc, CPalette* palette) : m_dc(dc), m_previous(NULL) {
    if (palette && palette->m_hObject) {
      m_previous = SelectPalette(dc, HPALETTE(palette->m_hObject), FALSE);
      RealizePalette(dc);
    }
  }
  ~PaletteSelection() {
    if (m_previous) SelectPalette(m_dc, m_previous, FALSE);
  }

 private:
  HDC m_dc;
  HPALETTE m_previous;
};

}  // namespace

int cImageObject::Draw(CDC* dc, const CRect& destination, const CRect* clip, CPalette* palette) {
  if (!m_pBitmap || !dc) return NXE_NO_BITMAP;
  HDC hdc = dc->GetSafeHdc();
  PaletteSelection selection(hdc, palette);
  RECT source = {0, 0, m_pBitmap->Width, m_pBitmap->Height};
  return m_pBitmap->PaintDC(hdc, &source, NULL, &destination, clip, SRCCOPY);
}

int cImageObject::Print(CDC* dc, const CRect& rect, CPalette* palette, int) {
  if (!m_pBitmap || !dc) return NXE_NO_BITMAP;
  HDC hdc = dc->GetSafeHdc();
  PaletteSelection selection(hdc, palette);
  return m_pBitmap->Print(hdc, rect.left, rect.top, rect.Width(), rect.Height()) ? NXE_NONE : NXE_PRINTER;
}

void cImageObject::Rotate(int angle, int flags) {
  if (!m_pBitmap) ThrowIfFailed(NXE_NO_BITMAP);
  ThrowIfFailed(m_pBitmap->Rotate(angle, uint32_t(flags), 0));
  m_height = short(m_pBitmap->Height);
  m_width = short(m_pBitmap->Width);
}

void cImageObject::Resize(int width, int height, int) {
  if (!m_pBitmap) ThrowIfFailed(NXE_NO_BITMAP);
  if (m_pBitmap->Width == width && m_pBitmap->Height == height) return;
  ThrowIfFailed(m_pBitmap->Resample(width, height));
  UpdateImageProperties();
}

void cImageObject::ConvertColorResolution(int bits) {
  if (!m_pBitmap) ThrowIfFailed(NXE_NO_BITMAP);
  ThrowIfFailed(m_pBitmap->ColorRes(bits, bits > 8 ? kDitherAbove8Bits : kDitherUpTo8Bits));
  UpdateImageProperties();
}

void PASCAL cImageObject::RemapLUT(BYTE* table, int low, int high) {
  int mid = (low + high + 1) / 2;
  while (mid != low && mid != high) {
    table[mid] = BYTE((table[low] + table[high] + 1) / 2);
    RemapLUT(table, low, mid);
    low = mid;
    mid = (mid + high + 1) / 2;
  }
}

void PASCAL cImageObject::MakeToneCurve(BYTE table[256]) {
  for (int i = 0; i < kLutSize; ++i) table[i] = BYTE(i);
  for (int i = 0; i <= kToneBlackEnd; ++i) table[i] = 0;
  table[kToneMidInput] = kToneMidOutput;
  table[kLutSize - 1] = kLutSize - 1;
  RemapLUT(table, kToneBlackEnd, kToneMidInput);
  RemapLUT(table, kToneMidInput, kLutSize - 1);
}

void cImageObject::IntensityRemapChannel(int) {
  if (!m_pBitmap) ThrowIfFailed(NXE_NO_BITMAP);
  BYTE table[kLutSize];
  MakeToneCurve(table);
  ThrowIfFailed(m_pBitmap->RemapIntensity(table, kLutSize, ORVL_CHANNEL_MASTER));
}

void cImageObject::CopyImageAttributes(const cImageObject& other) {
  m_height = other.m_height;
  m_width = other.m_width;
  m_fileName = other.m_fileName;
  m_dataSource = other.m_dataSource;
  m_dataType = other.m_dataType;
  m_fileFormat = other.m_fileFormat;
  m_hResolution = other.m_hResolution;
  m_vResolution = other.m_vResolution;
  m_bIsThumbnail = other.m_bIsThumbnail;
  m_bitsPerPixel = other.m_bitsPerPixel;
  m_compressionFactor = other.m_compressionFactor;
  m_thumbWidth = other.m_thumbWidth;
  m_thumbHeight = other.m_thumbHeight;
  m_compression = other.m_compression;
}

void cImageObject::SetTiffPageNumber(int page) {
  ORVLFILEOPTIONS options;
  std::memset(&options, 0, sizeof(options));
  options.uStructSize = sizeof(options);
  options.PageNumber = page;
  ThrowIfFailed(CLeadBitmap::SetFileOption(&options));
}

void cImageObject::UpdateTiffThumbnail(int width, int height, int bits) {
  if (!m_pBitmap) ThrowIfFailed(NXE_NO_BITMAP);
  SetTiffPageNumber(kTiffThumbnailPage);
  CLeadBitmap copy;
  try {
    ThrowIfFailed(copy.Copy(m_pBitmap));
    ThrowIfFailed(copy.Resample(width, height));
    ThrowIfFailed(copy.Save(m_fileName, ORVL_FMT_TIFF, bits == 1 ? 1 : 8, 0));
  } catch (...) {
    copy.Free();
    SetTiffPageNumber(kTiffMainPage);
    throw;
  }
  copy.Free();
  SetTiffPageNumber(kTiffMainPage);
}

int cImageObject::GetEmbeddedThumbnail() { return 0; }

cImageObject* cImageObject::MakePostcardPicture() {
  if (IsLoaded()) return CopyImage();
  std::unique_ptr<cImageObject> loaded(new cImageObject);
  loaded->CreateFromFile(m_fileName);
  return loaded.release();
}
