// The postcard program's host of the media core (media/MediaHost.h): pictures read and written through the
// imaging toolkit directly, the program's own exception and texts. The program shows no media dialogs and
// hands nothing to itself, so those calls are refused.
#include <media/MediaHost.h>

#include <memory>
#include <string>
#include <vector>

#include <safefile/safefile.h>

#include "QuilloException.h"
#include "quillo/CardPackage.h"
#include "quillo/QuilloIds.h"

namespace {

// The picture types the toolkit reads and writes for the card, with their extensions.
struct PictureType {
  uint32_t code;
  int leadFormat;
  const char* extensions;  // separated by ';', each with its dot
};
const PictureType kPictureTypes[] = {
    {ImageTypeCode("JPEG"), ORVL_FMT_JPEG, ".jpg;.jpeg;.jpe"},
    {ImageTypeCode("BMP"), ORVL_FMT_BMP, ".bmp;.dib"},
    {ImageTypeCode("PNG"), ORVL_FMT_PNG, ".png"},
    {ImageTypeCode("TIFF"), ORVL_FMT_TIFF, ".tif;.tiff"},
    {ImageTypeCode("GIF"), ORVL_FMT_GIF, ".gif"},
};
// The video extensions of formats 8 and 18: what counts as a video on a card.
const char* const kVideoExtensions[] = {"avi", "ivs"};
const char kSoundExtension[] = "wav";

const int kTrueColorBits = 24;
const int kQualityRange = 100;       // imagio's quality, 0 (smallest) to 100 (best)
const int kBestQualityFactor = 2;    // the toolkit's quality factor, 2 (best) to 255 (smallest)
const int kWorstQualityFactor = 255;
const int kTemporaryNumbers = 0xFFFF;  // as many as the system's own temporary names

const PictureType* TypeByCode(uint32_t code) {
  for (const PictureType& t : kPictureTypes)
    if (t.code == code) return &t;
  return nullptr;
}

const PictureType* TypeByLeadFormat(int format) {
  for (const PictureType& t : kPictureTypes)
    if (t.leadFormat == format) return &t;
  return nullptr;
}

// The toolkit's results arrive as NXError numbers (CLeadBitmap); the core expects imagio's.
tagIMGFILERR ToFileResult(int nxError) {
  switch (nxError) {
    case NXE_NONE: return IMGFILERR_OK;
    case NXE_OUT_OF_MEMORY: return IMGFILERR_NOMEMORY;
    case NXE_FORMAT_NOT_SUPPORTED: return IMGFILERR_UNSUPPORTED;
    case NXE_FILE_NOT_FOUND: return IMGFILERR_NOFILE;
    case NXE_FILE_OPEN: return IMGFILERR_READ;
    case NXE_FILE_ACCESS: return IMGFILERR_WRITE;
    default: return IMGFILERR_FAILED;
  }
}

int QualityFactorFor(int quality) {
  const int clamped = quality < 0 ? 0 : (quality > kQualityRange ? kQualityRange : quality);
  const int factor = kWorstQualityFactor - clamped * (kWorstQualityFactor - kBestQualityFactor) / kQualityRange;
  return factor;
}

// The picture's size in the box: its own size when it fits (and enlarge is not asked), else fitted.
CSize FittedSize(int width, int height, int boxWidth, int boxHeight, bool enlarge) {
  if (!enlarge && width <= boxWidth && height <= boxHeight) return CSize(width, height);
  CRect rect(0, 0, width, height);
  cMediaObject().AdjustToFitFrame(rect, CRect(0, 0, boxWidth, boxHeight));
  return CSize(rect.Width() < 1 ? 1 : rect.Width(), rect.Height() < 1 ? 1 : rect.Height());
}

// A picture file of the toolkit, with imagio's calls.
class ToolkitPictureFile : public nxmedia::PictureFile {
 public:
  tagIMGFILERR Open(const char* path, uint32_t* type, tagIMGFILEINFO* info) override {
    ORVLFILEINFO file = {};
    file.uStructSize = sizeof file;
    const int result = CLeadBitmap::GetFileInfo(path, &file);
    if (result != NXE_NONE) return ToFileResult(result);
    const PictureType* known = TypeByLeadFormat(file.Format);
    if (!known) return IMGFILERR_UNSUPPORTED;
    m_path = path;
    m_type = known;
    m_info = {};
    m_info.size = kImgFileInfoSize;
    m_info.width = uint32_t(file.Width);
    m_info.height = uint32_t(file.Height);
    m_info.hres = uint16_t(file.XResolution);
    m_info.vres = uint16_t(file.YResolution);
    m_info.bits = uint16_t(file.BitsPerPixel);
    m_info.colormodel = file.BitsPerPixel >= kTrueColorBits ? IMGCOLOR_TRUECOLOR : IMGCOLOR_PALETTE;
    m_info.compression = known->leadFormat == ORVL_FMT_JPEG ? IMGCOMP_JPEG : IMGCOMP_NONE;
    m_info.filesize = file.SizeDisk;
    if (type) *type = known->code;
    if (info) *info = m_info;
    return IMGFILERR_OK;
  }

  tagIMGFILERR Create(const char* path, uint32_t type, tagIMGFILEINFO* info) override {
    const PictureType* known = TypeByCode(type);
    if (!known || !info) return IMGFILERR_UNSUPPORTED;
    m_path = path;
    m_type = known;
    m_info = *info;
    return IMGFILERR_OK;
  }

  void Close() override { m_type = nullptr; }

  tagIMGFILERR ReadToDIB(HGLOBAL* dib) override {
    if (!m_type || !dib) return IMGFILERR_NOTOPEN;
    CLeadBitmap picture;
    const int result = picture.LoadFile(m_path.c_str(), 0, ORVL_ORDER_BGR, ORVL_LOAD_ALLOCATE | ORVL_LOAD_STORE, NULL);
    if (result != NXE_NONE) return ToFileResult(result);
    *dib = picture.ChangeToDIB();
    if (!*dib) {
      picture.Free();
      return IMGFILERR_NOMEMORY;
    }
    return IMGFILERR_OK;
  }

  tagIMGFILERR WriteDIB(HGLOBAL dib) override {
    if (!m_type) return IMGFILERR_NOTOPEN;
    const BITMAPINFO* header = dib ? static_cast<const BITMAPINFO*>(GlobalLock(dib)) : NULL;
    if (!header) return IMGFILERR_FAILED;
    CLeadBitmap picture;
    int result = picture.ConvertFromDIB(header, NULL);
    GlobalUnlock(dib);
    if (result == NXE_NONE)
      result = picture.SaveFile(m_path.c_str(), m_type->leadFormat, m_info.bits ? m_info.bits : picture.BitsPerPixel,
                                QualityFactorFor(m_info.quality), 0);
    picture.Free();
    return ToFileResult(result);
  }

  tagIMGFILERR GetThumbnailSize(uint16_t* width, uint16_t* height) override {
    if (!m_type) return IMGFILERR_NOTOPEN;
    if (!width || !height || !*width || !*height || !m_info.width || !m_info.height) return IMGFILERR_FAILED;
    const CSize size = FittedSize(int(m_info.width), int(m_info.height), *width, *height, false);
    *width = uint16_t(size.cx);
    *height = uint16_t(size.cy);
    return IMGFILERR_OK;
  }

  tagIMGFILERR GetPlatformThumbnail(HDC dc, HBITMAP* bitmap, uint16_t* width, uint16_t* height,
                                    BOOL expand) override {
    if (!m_type) return IMGFILERR_NOTOPEN;
    if (!bitmap || !width || !height || !*width || !*height) return IMGFILERR_FAILED;
    CLeadBitmap picture;
    int result = picture.LoadFile(m_path.c_str(), kTrueColorBits, ORVL_ORDER_BGR,
                                  ORVL_LOAD_ALLOCATE | ORVL_LOAD_STORE, NULL);
    if (result == NXE_NONE) {
      const CSize size = FittedSize(picture.Width, picture.Height, *width, *height, expand != FALSE);
      if (size.cx != picture.Width || size.cy != picture.Height) result = picture.Resample(size.cx, size.cy);
    }
    if (result == NXE_NONE) {
      *bitmap = picture.ConvertToDDB(dc);
      if (!*bitmap) result = NXE_DEVICE;
    }
    if (result == NXE_NONE) {
      *width = uint16_t(picture.Width);
      *height = uint16_t(picture.Height);
    }
    picture.Free();
    return ToFileResult(result);
  }

 private:
  std::string m_path;
  const PictureType* m_type = nullptr;
  tagIMGFILEINFO m_info = {};
};

class QuilloMediaHost : public nxmedia::MediaHost {
 public:
  std::unique_ptr<nxmedia::PictureFile> NewPictureFile() override {
    return std::unique_ptr<nxmedia::PictureFile>(new ToolkitPictureFile);
  }

  CString PictureTypeExtensions(uint32_t type) override {
    const PictureType* known = TypeByCode(type);
    return known ? CString(known->extensions) : CString();
  }

  CString CombinedOpenFilter() override {
    CString patterns;
    for (const PictureType& t : kPictureTypes) {
      for (const CString& extension : Extensions(t)) {
        if (!patterns.IsEmpty()) patterns += ';';
        patterns += "*" + extension;
      }
    }
    return patterns;
  }

  FileFormat DeterminePictureFormat(LPCSTR name) override {
    CString lowered(name ? name : "");
    lowered.MakeLower();
    for (const PictureType& t : kPictureTypes) {
      for (const CString& extension : Extensions(t)) {
        if (lowered.GetLength() >= extension.GetLength() && lowered.Right(extension.GetLength()) == extension)
          return cImageObject::MapIMGTYPEToNXFileType(t.code);
      }
    }
    return FILEFORMAT_UNKNOWN;
  }

  CString UntitledName() override {
    CString text;
    text.LoadString(IDS_UNTITLED);
    return text;
  }

  CString VideoExtension(int entry) override {
    const int count = int(sizeof kVideoExtensions / sizeof kVideoExtensions[0]);
    return entry >= 0 && entry < count ? CString(kVideoExtensions[entry]) : CString();
  }

  CString SoundExtension() override { return kSoundExtension; }

  // The card shows no default pictures: a file without a thumbnail shows none.
  CBitmap* DefaultThumbnail(DataType, CDC*, int, int, BOOL) override { return NULL; }

  void ShowProperties(cImageObject&) override { AfxThrowNotSupportedException(); }
  void ShowProperties(cVideoObject&) override { AfxThrowNotSupportedException(); }
  void ShowProperties(cWaveObject&) override { AfxThrowNotSupportedException(); }
  int SendPostcard(cMediaObject&) override { AfxThrowNotSupportedException(); }

  CString NewTemporaryFile(LPCSTR extension) override {
    char folder[MAX_PATH];
    const DWORD n = GetTempPathA(MAX_PATH, folder);
    if (n == 0 || n >= MAX_PATH) return CString();
    return safefile::CreateNumberedFile(std::string(folder) + quillo::kTempPrefix, std::string(".") + extension, 1,
                                        kTemporaryNumbers)
        .c_str();
  }

 protected:
  void RaiseError(int type) override { throw new cQuilloException(type); }
  void RaiseImagingError(int nxError) override { throw new cQuilloException(nxError); }
  void RaiseFileInfoError(LPCSTR path) override { throw new cQuilloException(IDS_FILE_INFO_ERROR, path); }

 private:
  static std::vector<CString> Extensions(const PictureType& type) {
    std::vector<CString> list;
    CString all(type.extensions);
    int start = 0;
    while (start <= all.GetLength()) {
      int end = all.Find(';', start);
      if (end < 0) end = all.GetLength();
      if (end > start) list.push_back(all.Mid(start, end - start));
      start = end + 1;
    }
    return list;
  }
};

}  // namespace

nxmedia::MediaHost& nxmedia::ModuleHost() {
  static QuilloMediaHost host;
  return host;
}
