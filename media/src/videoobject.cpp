// cVideoObject: clips read through the AVI classes, their frames as packed bitmaps (decompressed with the
// platform's video decompressors where needed) and their thumbnails.
#include <media/AVIFile.h>
#include <media/MediaHost.h>
#include <avi/avi.h>
#include <cstring>
#include <memory>
#include <vector>
#include "thumbnail_util.h"
#include "videocodec.h"

IMPLEMENT_SERIAL(cVideoObject, cMediaObject, 1)

using nxmedia::ModuleHost;

namespace {

const int kFormat8Entry = 0;   // entries of the video extension list
const int kFormat18Entry = 1;
const int kNoFrame = 14;       // the error type of a clip without a frame to show

// A packed bitmap in new global memory: header (with colour table) followed by the pixels.
HGLOBAL PackDIB(const void* header, size_t headerSize, const void* pixels, size_t pixelSize) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, headerSize + pixelSize);
  BYTE* target = memory ? static_cast<BYTE*>(GlobalLock(memory)) : NULL;
  if (!target) {
    if (memory) GlobalFree(memory);
    return NULL;
  }
  std::memcpy(target, header, headerSize);
  std::memcpy(target + headerSize, pixels, pixelSize);
  GlobalUnlock(memory);
  return memory;
}

// Frame n of a compressed stream: decompressed from the key frame before it with the platform's decoder.
HGLOBAL DecompressFrame(const avi::Stream& stream, long frame) {
  nxmedia::FrameDecoder decoder(stream);
  const nxmedia::RgbPicture& picture = decoder.Decode(frame);
  return PackDIB(&decoder.OutputFormat(), sizeof(BITMAPINFOHEADER), picture.pixels.data(), picture.pixels.size());
}

}  // namespace

cVideoObject::cVideoObject() {
  m_dataType = DATATYPE_VIDEO;
  m_bInitialized = m_bLoaded = m_bDiskFileWritten = FALSE;
}

void cVideoObject::UpdateFileInfo(LPCSTR path) {
  cAVIFile file;
  if (!file.Open(path, OF_READ, NULL)) ModuleHost().ThrowFileInfoError(path);
  AVIFILEINFOA info;
  file.GetInfo(&info);
  m_width = short(info.dwWidth);
  m_height = short(info.dwHeight);
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  m_diskSize = GetFileAttributesExA(path, GetFileExInfoStandard, &attributes) ? long(attributes.nFileSizeLow) : 0;
  m_memorySize = 0;
  m_dataSource = DATASOURCE_FILE;
  FileFormat format = DetermineFileFormat(path);
  m_fileFormat = format == FILEFORMAT_UNKNOWN ? FILEFORMAT_AVI : format;
}

void cVideoObject::CreateFromFile(LPCSTR path) {
  UpdateFileInfo(path);
  SetFileName(path);
  m_bLoaded = m_bInitialized = TRUE;
  m_bDiskFileWritten = FALSE;
}

void cVideoObject::Write(LPCSTR path) {
  cAVIEditFile file;
  if (!file.Open(m_fileName, OF_READ, NULL)) ModuleHost().ThrowError(NXE_FILE_NOT_FOUND);
  file.SaveAs(path, NULL);
}

HGLOBAL cVideoObject::GetFrameAsDIB(long frame) {
  try {
    cAVIFile file;
    if (!file.Open(m_fileName, OF_READ, NULL)) return NULL;
    std::unique_ptr<cAVIStream> stream(file.GetStream(streamtypeVIDEO, 0));
    if (!stream) return NULL;
    const avi::Stream& video = *stream->GetAVIStream();
    if (frame < video.start() || frame >= video.end()) return NULL;
    avi::VideoFormat format = video.videoFormat();
    if (format.compression != BI_RGB) return DecompressFrame(video, frame);
    std::vector<uint8_t> pixels = video.ReadSamples(frame, 1);
    const std::vector<uint8_t>& header = video.format();
    BITMAPINFOHEADER h;
    std::memcpy(&h, header.data(), sizeof(h));
    const uint32_t rows = uint32_t(h.biHeight < 0 ? -h.biHeight : h.biHeight);
    if (pixels.size() < nxmedia::DibStride(h.biWidth, h.biBitCount) * rows) return NULL;  // a damaged or empty frame
    return PackDIB(header.data(), header.size(), pixels.data(), pixels.size());
  } catch (const avi::Error&) {
    return NULL;
  } catch (const std::bad_alloc&) {
    return NULL;
  }
}

CBitmap* cVideoObject::CreateThumbnail(CDC* dc, int boxWidth, int boxHeight, int, BOOL expand) {
  HGLOBAL dib = GetFrameAsDIB(0);
  if (!dib) return NULL;
  try {
    cImageObject picture;
    picture.CreateFromDIBHandle(dib);
    GlobalFree(dib);
    dib = NULL;
    CLeadBitmap& bitmap = *picture.GetBitmap();
    if (bitmap.Width > boxWidth || bitmap.Height > boxHeight || expand) {
      CRect rect(0, 0, bitmap.Width, bitmap.Height);
      AdjustToFitFrame(rect, CRect(0, 0, boxWidth, boxHeight));
      picture.Resize(rect.Width(), rect.Height(), 0);
    }
    return nxmedia::MakeDeviceBitmap(dc, bitmap);
  } catch (CException* e) {
    e->Delete();
  }
  if (dib) GlobalFree(dib);
  return GetDefaultThumbnail(dc, boxWidth, boxHeight, FALSE);
}

CBitmap* cVideoObject::GetDefaultThumbnail(CDC* dc, int boxWidth, int boxHeight, BOOL force) {
  return ModuleHost().DefaultThumbnail(DATATYPE_VIDEO, dc, boxWidth, boxHeight, force);
}

void cVideoObject::ShowProperties() { ModuleHost().ShowProperties(*this); }

cImageObject* cVideoObject::MakePostcardPicture() {
  HGLOBAL dib = GetFrameAsDIB(0);
  if (!dib) ModuleHost().ThrowError(kNoFrame);
  std::unique_ptr<cImageObject> picture(new cImageObject);
  try {
    picture->CreateFromDIBHandle(dib);
  } catch (...) {
    GlobalFree(dib);
    throw;
  }
  GlobalFree(dib);
  return picture.release();
}

namespace {

CString VideoExtensionEntry(int entry) { return ModuleHost().VideoExtension(entry); }

}  // namespace

CString PASCAL cVideoObject::GetExtension(FileFormat format) {
  if (format == FILEFORMAT_AVI) return "." + VideoExtensionEntry(kFormat8Entry);
  if (format == FILEFORMAT_MPEG) return "." + VideoExtensionEntry(kFormat18Entry);
  return CString();
}

FileFormat PASCAL cVideoObject::DetermineFileFormat(LPCSTR name) {
  CString text(name ? name : "");
  int dot = text.ReverseFind('.');
  if (dot < 0) return FILEFORMAT_UNKNOWN;
  CString extension = text.Mid(dot + 1);
  extension.MakeLower();
  if (extension.IsEmpty()) return FILEFORMAT_UNKNOWN;
  if (extension == VideoExtensionEntry(kFormat8Entry)) return FILEFORMAT_AVI;
  if (extension == VideoExtensionEntry(kFormat18Entry)) return FILEFORMAT_MPEG;
  return FILEFORMAT_UNKNOWN;
}

BOOL PASCAL cVideoObject::IsSupportedFileExtension(LPCSTR name) {
  return DetermineFileFormat(name) != FILEFORMAT_UNKNOWN;
}
