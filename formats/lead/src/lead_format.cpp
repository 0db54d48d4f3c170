// The LEAD-based format module: opening anything the toolkit identifies, band and whole-image reading and
// writing of TIFF, BMP and PNG, and thumbnails from the quickest source a file has.
#include "lead_format.h"
#include <imagio/imagebuf.h>
#include "lead_rules.h"
#include "lead_save.h"

namespace nxlead {

namespace {

using nxformat::Status;

const int kAlphaBits = 32;
const int kColorBits = 24;
const uint32_t kLoadedBytesPerPixel = 3;
const uint32_t kLoadedAlphaBytesPerPixel = 4;
const int32_t kFirstPage = 1;
const int32_t kThumbnailPage = 2;
const uint16_t kMaxResolution = 0xFFFF;

const uint16_t kModelMask = IMGCOLOR_BW | IMGCOLOR_PALETTE | IMGCOLOR_TRUECOLOR;  // 13
const nxformat::TypeRow kRows[] = {
    {kTypeTiff, {24, 8, 4, 1}, kModelMask, 0, ".tif", "TIFF"},
    {kTypeBmp, {24, 8, 4, 1}, kModelMask, 0, ".bmp", "BMP"},
    {kTypePng, {24, 8, 4, 1}, kModelMask, 0, ".png", "PNG"},
};
const nxformat::TypeTable kTable = {kRows, sizeof(kRows) / sizeof(kRows[0])};

bool Allocated(const ORVLBITMAP& bmp) { return (bmp.Flags & ORVL_BITMAP_ALLOCATED) != 0; }

uint16_t Resolution(int32_t dpi) {
  if (dpi <= 0) return 0;
  return dpi > kMaxResolution ? kMaxResolution : static_cast<uint16_t>(dpi);
}

// Bits and colour order of the band bitmap for a caller's buffer.
int BandBits(const tagIMAGEBUFDESC& desc) { return desc.opacity != OPACITY_OPAQUE ? kAlphaBits : kColorBits; }
int BandOrder(const tagIMAGEBUFDESC& desc) {
  return desc.order == COMPONENTORDER_REVERSE ? ORVL_ORDER_BGR : ORVL_ORDER_RGB;
}

int SetPage(int32_t page) {
  ORVLFILEOPTIONS options = {};
  options.uStructSize = sizeof(options);
  int rc = orvlGetFileOption(&options);
  if (rc != ORVL_SUCCESS) return rc;
  options.PageNumber = page;
  return orvlSetFileOption(&options);
}

// A fresh record owning no pixels.
void InitRecord(ORVLBITMAP* bmp, uint32_t width, uint32_t height, int bits) {
  *bmp = ORVLBITMAP();
  orvlInitBitmap(bmp, static_cast<int>(width), static_cast<int>(height), bits);
}

tagIMGFILERR DeliverDib(ORVLBITMAP* bmp, NXHGLOBAL* dib) {
  HGLOBAL handle = orvlConvertToDIB(bmp);
  if (!handle) return IMGFILERR_NOMEMORY;
  *dib = reinterpret_cast<NXHGLOBAL>(handle);
  return IMGFILERR_OK;
}

}  // namespace

NXLeadFormat::NXLeadFormat() : m_info(), m_format(0), m_type(0), m_bottomUp(false), m_state(FileState::kNone) {
  InitRecord(&m_bitmap, 1, 1, 1);
}

NXLeadFormat::~NXLeadFormat() { FreeBandBitmap(); }

const nxformat::TypeTable& NXLeadFormat::Types() { return kTable; }

void NXLeadFormat::FreeBandBitmap() {
  if (Allocated(m_bitmap)) orvlFreeBitmap(&m_bitmap);
}

STDMETHODIMP NXLeadFormat::CreateFile(const char* name, ULONG type, tagIMGFILEINFO* info) {
  CloseFile();
  if (type != kTypePng && type != kTypeBmp && type != kTypeTiff) return Status(IMGFILERR_UNSUPPORTED);
  if (!name || !info) return Status(IMGFILERR_FAILED);
  m_info = *info;
  m_path = name;
  m_type = type;
  m_format = FormatForType(type);
  m_bottomUp = type == kTypeBmp;
  m_state = FileState::kCreated;
  return Status(IMGFILERR_OK);
}

STDMETHODIMP NXLeadFormat::OpenFile(const char* name, ULONG* type, tagIMGFILEINFO* info) {
  CloseFile();
  if (!name || !info) return Status(IMGFILERR_FAILED);
  ORVLFILEINFO file = {};
  file.uStructSize = sizeof(file);
  const int rc = orvlFileInfo(name, &file);
  if (rc != ORVL_SUCCESS) return Status(MapLeadResult(rc));
  m_format = file.Format;
  m_type = TypeForFormat(file.Format);
  if (type) *type = m_type;
  info->size = kImgFileInfoSize;
  info->width = static_cast<uint32_t>(file.Width);
  info->height = static_cast<uint32_t>(file.Height);
  info->hres = Resolution(file.XResolution);
  info->vres = Resolution(file.YResolution);
  info->bits = static_cast<uint16_t>(file.BitsPerPixel);
  info->colormodel = ColorModelForBits(info->bits);
  info->compression = CompressionForName(file.Compression);
  info->quality = 0;
  info->filesize = file.SizeDisk;
  m_info = *info;
  m_path = name;
  m_bottomUp = file.ViewPerspective == ORVL_BOTTOM_LEFT;
  m_state = FileState::kOpened;
  return Status(IMGFILERR_OK);
}

STDMETHODIMP NXLeadFormat::CloseFile() {
  FreeBandBitmap();
  m_state = FileState::kNone;
  return Status(IMGFILERR_OK);
}

STDMETHODIMP NXLeadFormat::StartReadBand(tagIMAGEBUFDESC* imgBuffer) {
  if (m_state != FileState::kOpened) return Status(IMGFILERR_NOTOPEN);
  if (!imgBuffer) return Status(IMGFILERR_FAILED);
  FreeBandBitmap();
  const int bits = BandBits(*imgBuffer);
  InitRecord(&m_bitmap, m_info.width, m_info.height, bits);
  return Status(MapLeadResult(orvlLoadBitmap(m_path.c_str(), &m_bitmap, bits, BandOrder(*imgBuffer))));
}

STDMETHODIMP NXLeadFormat::ReadBand(tagIMAGEBUFDESC* imgBuffer, ULONG startLine, ULONG* numLines) {
  return Status(TransferBand(Direction::kRead, imgBuffer, startLine, numLines));
}

STDMETHODIMP NXLeadFormat::EndReadBand() {
  FreeBandBitmap();
  return Status(IMGFILERR_OK);
}

STDMETHODIMP NXLeadFormat::StartWriteBand(tagIMAGEBUFDESC* imgBuffer) {
  if (m_state != FileState::kCreated) return Status(IMGFILERR_NOTOPEN);
  if (!imgBuffer) return Status(IMGFILERR_FAILED);
  FreeBandBitmap();
  InitRecord(&m_bitmap, 1, 1, 1);
  return Status(MapLeadResult(orvlCreateBitmap(&m_bitmap, ORVL_MEMORY_CONVENTIONAL, static_cast<int>(m_info.width),
                                               static_cast<int>(m_info.height), BandBits(*imgBuffer),
                                               BandOrder(*imgBuffer), nullptr,
                                               m_bottomUp ? ORVL_BOTTOM_LEFT : ORVL_TOP_LEFT)));
}

STDMETHODIMP NXLeadFormat::WriteBand(tagIMAGEBUFDESC* imgBuffer, ULONG startLine, ULONG* numLines) {
  return Status(TransferBand(Direction::kWrite, imgBuffer, startLine, numLines));
}

STDMETHODIMP NXLeadFormat::EndWriteBand() {
  if (!Allocated(m_bitmap)) return Status(IMGFILERR_NOTOPEN);
  const tagIMGFILERR result = Save(&m_bitmap);
  FreeBandBitmap();
  return Status(result);
}

tagIMGFILERR NXLeadFormat::TransferBand(Direction direction, tagIMAGEBUFDESC* desc, ULONG startLine,
                                        ULONG* numLines) {
  if (numLines && direction == Direction::kRead) *numLines = 0;
  if (!Allocated(m_bitmap)) return IMGFILERR_NOTOPEN;
  if (!desc || !desc->pixels) return IMGFILERR_FAILED;
  // A bottom-up bitmap's memory rows run from the picture's bottom: the caller's buffer is walked the other way.
  if (m_bottomUp) {
    desc->upsideDown = !desc->upsideDown;
    ResetImageBuffer(desc, desc->pixels);
  }
  // Only the pixels of a caller's line move, never its padding nor beyond its last line.
  const uint32_t pixelBytes = m_bitmap.BitsPerPixel == kAlphaBits ? kLoadedAlphaBytesPerPixel : kLoadedBytesPerPixel;
  uint64_t lineBytes = static_cast<uint64_t>(desc->width) * pixelBytes;
  if (lineBytes > desc->bytesPerLine) lineBytes = desc->bytesPerLine;
  const uint32_t lines = desc->height;
  tagIMGFILERR result = IMGFILERR_OK;
  uint32_t moved = 0;
  orvlAccessBitmap(&m_bitmap);
  for (uint32_t i = 0; i < lines; ++i) {
    if (i > 0) {
      result = ImageBufferNextLine(desc);
      if (result != IMGFILERR_OK) break;
    }
    const int row = static_cast<int>(startLine + i);
    const int32_t rc = direction == Direction::kRead
                           ? orvlGetBitmapRow(&m_bitmap, desc->currentPixel, row, static_cast<uint32_t>(lineBytes))
                           : orvlPutBitmapRow(&m_bitmap, desc->currentPixel, row, static_cast<uint32_t>(lineBytes));
    if (rc < ORVL_SUCCESS) {
      result = MapLeadResult(rc);
      break;
    }
    ++moved;
  }
  orvlReleaseBitmap(&m_bitmap);
  if (numLines) *numLines = moved;
  return result;
}

tagIMGFILERR NXLeadFormat::Save(ORVLBITMAP* bmp) {
  SaveRequest request = {m_path, m_format, m_info.bits, m_info.quality, m_info.width, m_info.height};
  return SaveBitmap(Toolkit(), request, bmp);
}

STDMETHODIMP NXLeadFormat::ReadToDIB(NXHGLOBAL* hDIB) {
  if (!hDIB) return Status(IMGFILERR_FAILED);
  *hDIB = 0;
  if (m_state != FileState::kOpened) return Status(IMGFILERR_NOTOPEN);
  ORVLBITMAP bmp;
  InitRecord(&bmp, m_info.width, m_info.height, kColorBits);
  tagIMGFILERR result = MapLeadResult(orvlLoadBitmap(m_path.c_str(), &bmp, kColorBits, ORVL_ORDER_BGR));
  if (result == IMGFILERR_OK) result = DeliverDib(&bmp, hDIB);
  if (Allocated(bmp)) orvlFreeBitmap(&bmp);
  return Status(result);
}

STDMETHODIMP NXLeadFormat::WriteDIB(NXHGLOBAL hDIB) {
  if (m_state != FileState::kCreated) return Status(IMGFILERR_NOTOPEN);
  ORVLBITMAP bmp;
  InitRecord(&bmp, m_info.width, m_info.height, kColorBits);
  tagIMGFILERR result;
  {
    nxformat::LockedGlobal lock(reinterpret_cast<HGLOBAL>(hDIB));
    if (!lock.Bytes() || lock.Size() < nxformat::kDibHeaderSize) return Status(IMGFILERR_NOMEMORY);
    result = MapLeadResult(orvlConvertFromDIB(&bmp, reinterpret_cast<const BITMAPINFO*>(lock.Bytes()), nullptr));
  }
  if (result == IMGFILERR_OK) result = Save(&bmp);
  if (Allocated(bmp)) orvlFreeBitmap(&bmp);
  return Status(result);
}

STDMETHODIMP NXLeadFormat::GetThumbnailSize(unsigned short* width, unsigned short* height) {
  if (m_state != FileState::kOpened) return Status(IMGFILERR_NOTOPEN);
  if (!width || !height || *width == 0 || *height == 0 || m_info.width == 0 || m_info.height == 0) {
    return Status(IMGFILERR_FAILED);
  }
  const Size size = ThumbnailSize(m_info.width, m_info.height, *width, *height);
  *width = static_cast<unsigned short>(size.width);
  *height = static_cast<unsigned short>(size.height);
  return Status(IMGFILERR_OK);
}

bool NXLeadFormat::LoadQuickThumbnail(ORVLBITMAP* bmp) {
  if (m_type == kTypeTiff) {
    if (SetPage(kThumbnailPage) != ORVL_SUCCESS) return false;
    const int rc = orvlLoadBitmap(m_path.c_str(), bmp, kColorBits, ORVL_ORDER_BGR);
    SetPage(kFirstPage);
    return rc == ORVL_SUCCESS;
  }
  if (m_type == kTypeJpeg) {
    if (orvlGetCompressFileStamp(m_path.c_str(), bmp) != ORVL_SUCCESS) return false;
    return bmp->BitsPerPixel == kColorBits ||
           orvlColorResBitmap(bmp, bmp, kColorBits, 0, nullptr, 0) == ORVL_SUCCESS;
  }
  return false;
}

STDMETHODIMP NXLeadFormat::GetPlatformThumbnail(NXHGLOBAL* thumbnail, unsigned short* width, unsigned short* height,
                                                LONG expand) {
  if (!thumbnail) return Status(IMGFILERR_FAILED);
  *thumbnail = 0;
  unsigned short w = width ? *width : 0, h = height ? *height : 0;
  HRESULT sized = GetThumbnailSize(&w, &h);
  if (nxformat::Code(sized) != IMGFILERR_OK) return sized;
  ORVLBITMAP bmp;
  InitRecord(&bmp, 1, 1, 1);
  tagIMGFILERR result = IMGFILERR_OK;
  if (!LoadQuickThumbnail(&bmp)) {
    if (Allocated(bmp)) orvlFreeBitmap(&bmp);
    InitRecord(&bmp, m_info.width, m_info.height, kColorBits);
    result = MapLeadResult(orvlLoadBitmap(m_path.c_str(), &bmp, kColorBits, ORVL_ORDER_BGR));
  }
  if (result == IMGFILERR_OK) {
    const bool fits = bmp.Width <= w && bmp.Height <= h;
    const bool exact = bmp.Width == w && bmp.Height == h;
    if (!fits || (expand && !exact)) result = MapLeadResult(orvlResampleBitmap(&bmp, w, h));
  }
  if (result == IMGFILERR_OK) result = DeliverDib(&bmp, thumbnail);
  if (result == IMGFILERR_OK) {
    *width = static_cast<unsigned short>(bmp.Width);
    *height = static_cast<unsigned short>(bmp.Height);
  }
  if (Allocated(bmp)) orvlFreeBitmap(&bmp);
  return Status(result);
}

}  // namespace nxlead
