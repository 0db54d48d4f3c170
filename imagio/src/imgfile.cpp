// NXImageFile's object operations: choosing the module for a file and forwarding to it.
#include <new>
#include <imagio/imagebuf.h>
#include <imagio/imgfile.h>
#include "imgfile_logic.h"
#include "library.h"

using namespace imagio;

namespace {

// Colour-table entries of a packed bitmap's header, for finding its bits.
const DWORD kCoreHeaderSize = sizeof(BITMAPCOREHEADER);
const DWORD kInfoHeaderSize = sizeof(BITMAPINFOHEADER);

DWORD ColorTableBytes(const BITMAPINFOHEADER* header) {
  DWORD entries = 0;
  WORD bits;
  if (header->biSize == kCoreHeaderSize) {
    bits = reinterpret_cast<const BITMAPCOREHEADER*>(header)->bcBitCount;
  } else {
    bits = header->biBitCount;
    if (header->biSize == kInfoHeaderSize && header->biClrUsed != 0) entries = header->biClrUsed;
  }
  if (entries == 0 && bits <= 8) entries = 1u << bits;
  return entries * (header->biSize == kCoreHeaderSize ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD));
}

// The new buffers of Read and GetThumbnail; 527 when they cannot be had.
uint8_t* NewBuffer(uint32_t lineBytes, uint32_t lines) {
  uint64_t bytes = static_cast<uint64_t>(lineBytes) * lines;
  if (lineBytes == 0 || bytes > INT32_MAX) return nullptr;
  return new (std::nothrow) uint8_t[static_cast<size_t>(bytes ? bytes : 1)];
}

}  // namespace

NXImageFile::NXImageFile() : m_lib(nullptr), m_type(0), m_width(0), m_height(0) {}

NXImageFile::NXImageFile(const NXImageFile& other)
    : m_lib(other.m_lib), m_type(other.m_type), m_width(other.m_width), m_height(other.m_height) {
  if (m_lib) m_lib->AddRef();
}

NXImageFile& NXImageFile::operator=(const NXImageFile& other) {
  if (this == &other) return *this;
  if (other.m_lib) other.m_lib->AddRef();
  if (m_lib) m_lib->Release();
  m_lib = other.m_lib;
  m_type = other.m_type;
  m_width = other.m_width;
  m_height = other.m_height;
  return *this;
}

NXImageFile::~NXImageFile() { Close(); }

tagIMGFILERR NXImageFile::GetImageType(uint32_t* type) {
  if (type) *type = m_type;
  return IMGFILERR_OK;
}

tagIMGFILERR NXImageFile::Create(const char* path, uint32_t type, tagIMGFILEINFO* info) {
  Close();
  m_type = type;
  if (info) {
    m_width = info->width;
    m_height = info->height;
  }
  NXIFLib* record = ModuleForType(type);
  if (!record) return IMGFILERR_UNSUPPORTED;
  INXIFLib* lib = record->CreateInstance();
  if (!lib) return IMGFILERR_NOINSTANCE;
  tagIMGFILERR result = nxformat::Code(lib->CreateFile(path, type, info));
  if (result != IMGFILERR_OK) {
    lib->Release();
    return result;
  }
  m_lib = lib;
  return IMGFILERR_OK;
}

tagIMGFILERR NXImageFile::Open(const char* path, uint32_t* type, tagIMGFILEINFO* info) {
  Close();
  ULONG found = 0;
  tagIMGFILERR result = IMGFILERR_UNSUPPORTED;
  INXIFLib* lib = nullptr;
  if (NXIFLib* record = ModuleForExtension(PathExtension(path))) {
    lib = record->CreateInstance();
    if (lib) result = nxformat::Code(lib->OpenFile(path, &found, info));
  }
  if (result != IMGFILERR_OK) {
    if (lib) lib->Release();
    lib = nullptr;
    if (s_SearchOption != IMGLIBSEARCH_EXTONLY && Modules()) {
      CIter it(*Modules());
      while (NXIFLib* record = static_cast<NXIFLib*>(it.Next())) {
        lib = record->CreateInstance();
        if (!lib) continue;
        result = nxformat::Code(lib->OpenFile(path, &found, info));
        if (result == IMGFILERR_OK) break;
        lib->Release();
        lib = nullptr;
      }
    }
  }
  if (!lib) return IMGFILERR_UNSUPPORTED;
  m_lib = lib;
  m_type = found;
  if (type) *type = found;
  if (info) {
    m_width = info->width;
    m_height = info->height;
  }
  return IMGFILERR_OK;
}

void NXImageFile::Close() {
  if (!m_lib) return;
  m_lib->CloseFile();
  m_lib->Release();
  m_lib = nullptr;
}

tagIMGFILERR NXImageFile::StartReadBand(tagIMAGEBUFDESC* desc) {
  return m_lib ? nxformat::Code(m_lib->StartReadBand(desc)) : IMGFILERR_NOTOPEN;
}

tagIMGFILERR NXImageFile::ReadBand(tagIMAGEBUFDESC* desc, uint32_t startLine, uint32_t* numLines) {
  if (!m_lib) return IMGFILERR_NOTOPEN;
  ULONG lines = 0;
  tagIMGFILERR result = nxformat::Code(m_lib->ReadBand(desc, startLine, &lines));
  if (numLines) *numLines = lines;
  return result;
}

tagIMGFILERR NXImageFile::EndReadBand() { return m_lib ? nxformat::Code(m_lib->EndReadBand()) : IMGFILERR_NOTOPEN; }

tagIMGFILERR NXImageFile::StartWriteBand(tagIMAGEBUFDESC* desc) {
  return m_lib ? nxformat::Code(m_lib->StartWriteBand(desc)) : IMGFILERR_NOTOPEN;
}

tagIMGFILERR NXImageFile::WriteBand(tagIMAGEBUFDESC* desc, uint32_t startLine, uint32_t* numLines) {
  if (!m_lib) return IMGFILERR_NOTOPEN;
  ULONG lines = numLines ? *numLines : 0;
  tagIMGFILERR result = nxformat::Code(m_lib->WriteBand(desc, startLine, &lines));
  if (numLines) *numLines = lines;
  return result;
}

tagIMGFILERR NXImageFile::EndWriteBand() {
  return m_lib ? nxformat::Code(m_lib->EndWriteBand()) : IMGFILERR_NOTOPEN;
}

tagIMGFILERR NXImageFile::ReadToDIB(HGLOBAL* dib) {
  if (!m_lib) return IMGFILERR_NOTOPEN;
  NXHGLOBAL handle = 0;
  tagIMGFILERR result = nxformat::Code(m_lib->ReadToDIB(&handle));
  if (dib) *dib = reinterpret_cast<HGLOBAL>(handle);
  return result;
}

tagIMGFILERR NXImageFile::WriteDIB(HGLOBAL dib) {
  return m_lib ? nxformat::Code(m_lib->WriteDIB(reinterpret_cast<NXHGLOBAL>(dib))) : IMGFILERR_NOTOPEN;
}

tagIMGFILERR NXImageFile::GetThumbnail(uint8_t** buffer, BOOL upsideDown, tagCOLORMODEL model,
                                       tagCOMPONENTORDER order, uint16_t alignment, uint16_t* width,
                                       uint16_t* height, BOOL expand) {
  if (!m_lib) return IMGFILERR_NOTOPEN;
  if (!buffer || !width || !height) return IMGFILERR_FAILED;
  uint16_t w0 = *width, h0 = *height;
  tagIMGFILERR result = GetThumbnailSize(&w0, &h0);
  uint32_t w = 0, h = 0;
  if (result == IMGFILERR_OK && !FitThumbnail(w0, h0, *width, *height, expand != FALSE, &w, &h)) {
    result = IMGFILERR_FAILED;
  }
  if (result != IMGFILERR_OK) return result;
  const uint32_t kRgbBytes = 3;
  const uint32_t lineBytes = AlignedLineLength(w, kRgbBytes, alignment);
  uint8_t* pixels = NewBuffer(lineBytes, h);
  if (!pixels) return IMGFILERR_NOMEMORY;
  tagIMAGEBUFDESC desc;
  SetImageBuffer(&desc, pixels, w, h, lineBytes, upsideDown, model, order, OPACITY_OPAQUE);
  result = GetThumbnail(&desc, expand);
  if (result != IMGFILERR_OK) {
    ReleaseBuffer(pixels);
    return result;
  }
  *buffer = pixels;
  *width = static_cast<uint16_t>(desc.width);
  *height = static_cast<uint16_t>(desc.height);
  return IMGFILERR_OK;
}

tagIMGFILERR NXImageFile::GetThumbnail(tagIMAGEBUFDESC* desc, BOOL expand) {
  return m_lib ? nxformat::Code(m_lib->GetThumbnail(desc, expand)) : IMGFILERR_NOTOPEN;
}

tagIMGFILERR NXImageFile::GetPlatformThumbnail(HGLOBAL* dib, uint16_t* width, uint16_t* height, BOOL expand) {
  if (!m_lib) return IMGFILERR_NOTOPEN;
  NXHGLOBAL handle = 0;
  tagIMGFILERR result = nxformat::Code(m_lib->GetPlatformThumbnail(&handle, width, height, expand));
  if (dib) *dib = reinterpret_cast<HGLOBAL>(handle);
  return result;
}

tagIMGFILERR NXImageFile::GetPlatformThumbnail(HDC dc, HBITMAP* bitmap, uint16_t* width, uint16_t* height,
                                               BOOL expand) {
  HGLOBAL dib = nullptr;
  HBITMAP made = nullptr;
  if (GetPlatformThumbnail(&dib, width, height, expand) == IMGFILERR_OK && dib) {
    SIZE_T size = GlobalSize(dib);
    const uint8_t* bytes = static_cast<const uint8_t*>(GlobalLock(dib));
    if (bytes && size >= kCoreHeaderSize) {
      const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
      const SIZE_T offset = header->biSize + ColorTableBytes(header);
      if (header->biSize <= size && offset < size) {
        made = CreateDIBitmap(dc, header, CBM_INIT, bytes + offset, reinterpret_cast<const BITMAPINFO*>(header),
                              DIB_RGB_COLORS);
      }
    }
    if (bytes) GlobalUnlock(dib);
  }
  if (dib) GlobalFree(dib);
  if (!made) return IMGFILERR_FAILED;
  if (bitmap) *bitmap = made; else DeleteObject(made);
  return IMGFILERR_OK;
}

tagIMGFILERR NXImageFile::GetThumbnailSize(uint16_t* width, uint16_t* height) {
  return m_lib ? nxformat::Code(m_lib->GetThumbnailSize(width, height)) : IMGFILERR_NOTOPEN;
}

tagIMGFILERR NXImageFile::HasProperty(uint32_t property, BOOL* result) {
  if (!m_lib) return IMGFILERR_NOTOPEN;
  LONG flag = 0;
  tagIMGFILERR code = nxformat::Code(m_lib->HasProperty(property, &flag));
  if (result) *result = flag;
  return code;
}

tagIMGFILERR NXImageFile::GetProperty(uint32_t property, HGLOBAL* value) {
  if (!m_lib) return IMGFILERR_NOTOPEN;
  NXHGLOBAL handle = 0;
  tagIMGFILERR code = nxformat::Code(m_lib->GetProperty(property, &handle));
  if (value) *value = reinterpret_cast<HGLOBAL>(handle);
  return code;
}

tagIMGFILERR NXImageFile::SetProperty(uint32_t property, HGLOBAL value) {
  return m_lib ? nxformat::Code(m_lib->SetProperty(property, reinterpret_cast<NXHGLOBAL>(value)))
               : IMGFILERR_NOTOPEN;
}

tagIMGFILERR NXImageFile::Read(uint8_t** buffer, BOOL upsideDown, tagCOLORMODEL model, tagCOMPONENTORDER order,
                               tagOPACITY opacity, uint16_t alignment) {
  if (!m_lib) return IMGFILERR_NOTOPEN;
  if (!buffer) return IMGFILERR_FAILED;
  const uint32_t lineBytes = AlignedLineLength(m_width, BytesPerPixel(model, opacity), alignment);
  uint8_t* pixels = NewBuffer(lineBytes, m_height);
  if (!pixels) {
    *buffer = nullptr;
    return IMGFILERR_NOMEMORY;
  }
  tagIMAGEBUFDESC desc;
  SetImageBuffer(&desc, pixels, m_width, m_height, lineBytes, upsideDown, model, order, opacity);
  tagIMGFILERR result = StartReadBand(&desc);
  if (result == IMGFILERR_OK) {
    uint32_t lines = 0;
    result = ReadBand(&desc, 0, &lines);
  }
  tagIMGFILERR ended = EndReadBand();
  if (result == IMGFILERR_OK) result = ended;
  if (result != IMGFILERR_OK) {
    ReleaseBuffer(pixels);
    *buffer = nullptr;
    return result;
  }
  *buffer = pixels;
  return IMGFILERR_OK;
}
