// cImageObject: pictures read and written through the module's picture files, their thumbnails, the
// picture types, and storing a picture in an archive (as the archive's own picture file, or embedded as a BMP).
#include <media/MediaHost.h>
#include <memory>
#include <vector>
#include "thumbnail_util.h"

using nxmedia::ModuleHost;

IMPLEMENT_SERIAL(cImageObject, cMediaObject, 1)

namespace {

const int kBlankWidth = 640;  // the empty picture an object starts from before it is filled
const int kBlankHeight = 480;
const int kBlankBits = 24;
const int kDefaultCompressionFactor = 50;
const int kThumbnailSlack = 200;  // a thumbnail this much smaller than its box is scaled up
const uint32_t kSerializeSaveFlags = ORVL_SAVE_OPTIMIZEDPALETTE;
const uint32_t kPlainLoadFlags = ORVL_LOAD_ALLOCATE | ORVL_LOAD_STORE;
const int kJpegQualityMax = 100;

// Colour model of an image record for the bits written.
uint16_t ColorModelForBits(int bits) {
  if (bits == 2) return IMGCOLOR_GRAY;
  if (bits == 4 || bits == 8) return IMGCOLOR_PALETTE;
  return IMGCOLOR_TRUECOLOR;
}

}  // namespace

cImageObject::cImageObject()
    : m_pBitmap(NULL), m_hResolution(0), m_vResolution(0), m_bIsThumbnail(FALSE), m_bitsPerPixel(0),
      m_compressionFactor(kDefaultCompressionFactor), m_thumbWidth(0), m_thumbHeight(0), m_compression(0) {
  m_dataType = DATATYPE_PICTURE;
}

// The copy shares nothing: it gets its own copy of the pixels.
cImageObject::cImageObject(const cImageObject& other)
    : cMediaObject(other), m_pBitmap(NULL), m_hResolution(other.m_hResolution), m_vResolution(other.m_vResolution),
      m_bIsThumbnail(other.m_bIsThumbnail), m_bitsPerPixel(other.m_bitsPerPixel),
      m_compressionFactor(other.m_compressionFactor), m_thumbWidth(other.m_thumbWidth),
      m_thumbHeight(other.m_thumbHeight), m_compression(other.m_compression) {
  if (other.m_pBitmap) {
    m_pBitmap = new CLeadBitmap;
    if (other.m_pBitmap->IsAllocated()) {
      int result = m_pBitmap->Copy(other.m_pBitmap);
      if (result != NXE_NONE) {
        delete m_pBitmap;
        ModuleHost().ThrowImagingError(result);
      }
    } else {
      *m_pBitmap = *other.m_pBitmap;
    }
  }
}

cImageObject::~cImageObject() {
  if (m_pBitmap) {
    m_pBitmap->Free();
    delete m_pBitmap;
  }
}

void cImageObject::ThrowIfFailed(int nxError) const {
  if (nxError != NXE_NONE) ModuleHost().ThrowImagingError(nxError);
}

BOOL cImageObject::IsThumbnail() const { return m_bIsThumbnail; }
void cImageObject::SetAsThumbnail(BOOL thumbnail) { m_bIsThumbnail = thumbnail; }
BOOL cImageObject::GetFpxAsThumbnail() const { return m_fileFormat == FILEFORMAT_FPX && m_bIsThumbnail; }
void cImageObject::SetCompressionFactor(int factor) { m_compressionFactor = factor; }
int cImageObject::GetCompressionFactor() const { return m_compressionFactor; }

void cImageObject::UpdateFileInfo(LPCSTR path) {
  std::unique_ptr<nxmedia::PictureFile> file = ModuleHost().NewPictureFile();
  tagIMGFILEINFO info = {};
  info.size = kImgFileInfoSize;
  uint32_t type = 0;
  if (file->Open(path, &type, &info) != IMGFILERR_OK) ModuleHost().ThrowFileInfoError(path);
  file->Close();
  m_dataType = DATATYPE_PICTURE;
  m_width = short(info.width);
  m_height = short(info.height);
  m_memorySize = 0;
  m_diskSize = long(info.filesize);
  m_fileFormat = MapIMGTYPEToNXFileType(type);
  m_dataSource = DATASOURCE_FILE;
  m_hResolution = info.hres;
  m_vResolution = info.vres;
  m_bitsPerPixel = info.bits;
  m_compressionFactor = info.quality;
  m_compression = info.compression;
}

void cImageObject::CreateFromFile(LPCSTR path) {
  Init(kBlankWidth, kBlankHeight, kBlankBits);
  UpdateFileInfo(path);
  std::unique_ptr<nxmedia::PictureFile> file = ModuleHost().NewPictureFile();
  tagIMGFILEINFO info = {};
  info.size = kImgFileInfoSize;
  uint32_t type = 0;
  ThrowIfFailed(MapIMGFILERRToNXError(file->Open(path, &type, &info)));
  HGLOBAL dib = NULL;
  NXError error = MapIMGFILERRToNXError(file->ReadToDIB(&dib));
  file->Close();
  ThrowIfFailed(error);
  // ChangeFromDIB frees the handle only when it succeeds.
  int result = m_pBitmap->ChangeFromDIB(dib);
  if (result != NXE_NONE) GlobalFree(dib);
  ThrowIfFailed(result);
  UpdateFileInfo(path);
  m_bLoaded = TRUE;
  m_bInitialized = TRUE;
  SetFileName(path);
  m_bDiskFileWritten = FALSE;
}

HGLOBAL cImageObject::ConvertToDIB() const { return m_pBitmap ? m_pBitmap->ConvertToDIB() : NULL; }

void cImageObject::Write(LPCSTR path) { Write(path, m_fileFormat, m_bitsPerPixel, m_compressionFactor, 0); }

void cImageObject::Write(LPCSTR path, FileFormat format, int bits, int quality, int) {
  tagIMGFILEINFO info = {};
  info.size = kImgFileInfoSize;
  info.width = uint32_t(m_width);
  info.height = uint32_t(m_height);
  info.bits = uint16_t(bits);
  info.colormodel = ColorModelForBits(bits);
  if (format == m_fileFormat)
    info.compression = uint16_t(m_compression);
  else
    info.compression = (format == FILEFORMAT_JPEG || format == FILEFORMAT_FPX) ? IMGCOMP_JPEG : IMGCOMP_NONE;
  info.quality = uint16_t(quality < 0 ? 0 : quality > kJpegQualityMax ? kJpegQualityMax : quality);
  std::unique_ptr<nxmedia::PictureFile> file = ModuleHost().NewPictureFile();
  ThrowIfFailed(MapIMGFILERRToNXError(file->Create(path, MapNXFileTypeToIMGTYPE(format), &info)));
  HGLOBAL dib = ConvertToDIB();
  NXError error = dib ? MapIMGFILERRToNXError(file->WriteDIB(dib)) : NXE_NO_BITMAP;
  if (dib) GlobalFree(dib);
  file->Close();
  ThrowIfFailed(error);
}

CBitmap* cImageObject::CreateThumbnail(CDC* dc, int boxWidth, int boxHeight, int, BOOL expand) {
  HDC hdc = dc ? dc->GetSafeHdc() : NULL;
  HBITMAP device = NULL;
  try {
    std::unique_ptr<nxmedia::PictureFile> file = ModuleHost().NewPictureFile();
    tagIMGFILEINFO info = {};
    info.size = kImgFileInfoSize;
    uint32_t type = 0;
    if (MapIMGFILERRToNXError(file->Open(m_fileName, &type, &info)) != NXE_NONE) return NULL;
    uint16_t width = uint16_t(boxWidth), height = uint16_t(boxHeight);
    tagIMGFILERR result = file->GetThumbnailSize(&width, &height);
    if (result == IMGFILERR_OK) result = file->GetPlatformThumbnail(hdc, &device, &width, &height, expand);
    file->Close();
    if (MapIMGFILERRToNXError(result) != NXE_NONE || !device) {
      if (device) DeleteObject(device);
      return NULL;
    }
    if (boxWidth < width || boxHeight < height || boxWidth - width > kThumbnailSlack ||
        boxHeight - height > kThumbnailSlack) {
      CLeadBitmap picture;
      int converted = picture.ConvertFromDDB(hdc, device, NULL);
      DeleteObject(device);
      device = NULL;
      if (converted != NXE_NONE) return NULL;
      CSize fitted = nxmedia::FitThumbnailSize(width, height, boxWidth, boxHeight);
      if (picture.Resample(fitted.cx, fitted.cy) == NXE_NONE) device = picture.ConvertToDDB(hdc);
      picture.Free();
      if (!device) return NULL;
    }
    CBitmap* bitmap = new CBitmap;
    bitmap->Attach(device);
    return bitmap;
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  if (device) DeleteObject(device);
  return NULL;
}

CBitmap* cImageObject::GetDefaultThumbnail(CDC* dc, int boxWidth, int boxHeight, BOOL force) {
  return ModuleHost().DefaultThumbnail(DATATYPE_PICTURE, dc, boxWidth, boxHeight, force);
}

BOOL cImageObject::HasEmbeddedThumbnail() {
  cImageObject copy(*this);
  int width = copy.GetEmbeddedThumbnail();
  if (width > 0) {
    m_thumbWidth = copy.m_thumbWidth;
    m_thumbHeight = copy.m_thumbHeight;
    return TRUE;
  }
  return FALSE;
}

// ---------------------------------------------------------------------------------------------
// The picture types of the module.

void cImageObject::ShowProperties() { ModuleHost().ShowProperties(*this); }

CString PASCAL cImageObject::GetExtension(FileFormat format) {
  uint32_t type = MapNXFileTypeToIMGTYPE(format);
  if (!type) return CString();
  CString extension = ModuleHost().PictureTypeExtensions(type);
  int semicolon = extension.Find(';');
  return semicolon >= 0 ? extension.Left(semicolon) : extension;
}

CString PASCAL cImageObject::GetCombinedOpenFilter() { return ModuleHost().CombinedOpenFilter(); }

BOOL PASCAL cImageObject::IsSupportedFileExtension(LPCSTR name) {
  CString text(name ? name : "");
  int dot = text.ReverseFind('.');
  if (dot < 0 || dot == text.GetLength() - 1) return FALSE;
  // The list holds patterns "*.ext" separated by ';': the extension must be one of them whole.
  CString pattern = "*" + text.Mid(dot);
  pattern.MakeUpper();
  CString filter = ";" + GetCombinedOpenFilter() + ";";
  filter.MakeUpper();
  return pattern.Find(';') < 0 && filter.Find(";" + pattern + ";") >= 0;
}

FileFormat PASCAL cImageObject::DetermineFileFormat(LPCSTR name) { return ModuleHost().DeterminePictureFormat(name); }

// ---------------------------------------------------------------------------------------------
// Archives.

void cImageObject::Serialize(CArchive& ar) {
  cMediaObject::Serialize(ar);
  CFile* file = ar.GetFile();
  CString name = file ? file->GetFilePath() : CString();
  if (name.IsEmpty()) name = ar.m_strFileName;
  if (IsSupportedFileExtension(name))
    SerializeAsPictureFile(ar, name);
  else
    SerializeEmbedded(ar);
}

void cImageObject::SerializeAsPictureFile(CArchive& ar, const CString& name) {
  CFile* file = ar.GetFile();
  if (!m_pBitmap) Init(kBlankWidth, kBlankHeight, kBlankBits);
  if (ar.IsStoring()) {
    // The picture goes straight into the archive's file; nothing of the archive's own is written.
    ar.Flush();
    uint32_t written = 0;
    ThrowIfFailed(m_pBitmap->SaveFileOffset(file->m_hFile, 0, &written, MapNXFileTypeToLead(m_fileFormat),
                                            m_bitsPerPixel, ORVL_QFACTOR_DEFAULT, kSerializeSaveFlags));
    return;
  }
  int result = NXE_NONE;
  try {
    UpdateFileInfo(name);
    ORVLFILEINFO info = {};
    info.uStructSize = sizeof(info);
    result = m_pBitmap->LoadFileOffset(file->m_hFile, 0, file->GetLength(), m_bitsPerPixel, ORVL_ORDER_BGR,
                                       kPlainLoadFlags, &info);
  } catch (CException*) {
    m_bInitialized = m_bDiskFileWritten = FALSE;
    m_fileName.Empty();
    throw;
  }
  if (result != NXE_NONE) {
    m_bInitialized = m_bDiskFileWritten = FALSE;
    m_fileName.Empty();
    ModuleHost().ThrowImagingError(result);
  }
  UpdateImageProperties();
  m_bInitialized = TRUE;
  m_bDiskFileWritten = TRUE;
  SetFileName(name);
}

void cImageObject::SerializeEmbedded(CArchive& ar) {
  if (ar.IsStoring()) {
    if (!m_pBitmap) ThrowIfFailed(NXE_NO_BITMAP);
    HGLOBAL memory = NULL;
    uint32_t size = 0;
    ThrowIfFailed(m_pBitmap->SaveMemory(&memory, &size, ORVL_FMT_BMP, m_bitsPerPixel, ORVL_QFACTOR_DEFAULT, 0));
    const void* bytes = GlobalLock(memory);
    try {
      ar << DWORD(size);
      ar.Write(bytes, size);
    } catch (...) {
      GlobalUnlock(memory);
      GlobalFree(memory);
      throw;
    }
    GlobalUnlock(memory);
    GlobalFree(memory);
    return;
  }
  DWORD count = 0;
  ar >> count;
  // A count beyond what a picture can take is a damaged archive, not a request for memory.
  const DWORD kMaxEmbeddedBytes = ORVL_MAX_PIXEL_BYTES;
  if (count > kMaxEmbeddedBytes) AfxThrowArchiveException(CArchiveException::badIndex, ar.m_strFileName);
  std::vector<BYTE> bytes;
  try {
    bytes.assign(count, 0);
  } catch (const std::bad_alloc&) {
    AfxThrowMemoryException();
  }
  if (ar.Read(bytes.data(), count) != count) AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
  Init(kBlankWidth, kBlankHeight, kBlankBits);
  ORVLFILEINFO info = {};
  info.uStructSize = sizeof(info);
  int result = m_pBitmap->LoadMemory(bytes.data(), count, m_bitsPerPixel, ORVL_ORDER_BGR, kPlainLoadFlags, &info);
  if (result != NXE_NONE) {
    m_bInitialized = m_bDiskFileWritten = FALSE;
    m_fileName.Empty();
    ModuleHost().ThrowImagingError(result);
  }
  UpdateImageProperties();
  m_bInitialized = TRUE;
}
