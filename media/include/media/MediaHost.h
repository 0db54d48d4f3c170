// What the media classes ask of the module they are built into. The media core (cMediaObject and its
// three kinds, the AVI classes, the picture operations; static library orv_mediacore) is linked by
// NXMedia.dll and by the postcard program, which must not need NXMedia, NXMisc or imagio. Everything the
// core needs of those goes through the module's MediaHost: its exception objects, its picture files, its
// texts, its default thumbnails and its dialogs. NXMedia's host (media/src/host.cpp) uses imagio and NXMisc;
// the postcard program's host uses the imaging toolkit directly and its own messages.
#pragma once
#include <media/NXMedia.h>
#include <exception>
#include <memory>

namespace nxmedia {

// One picture file, opened for reading or created for writing, with imagio's calls and results.
class PictureFile {
 public:
  virtual ~PictureFile() = default;
  virtual tagIMGFILERR Open(const char* path, uint32_t* type, tagIMGFILEINFO* info) = 0;
  virtual tagIMGFILERR Create(const char* path, uint32_t type, tagIMGFILEINFO* info) = 0;
  virtual void Close() = 0;
  // The whole picture as a packed bitmap in new global memory (the caller frees it).
  virtual tagIMGFILERR ReadToDIB(HGLOBAL* dib) = 0;
  virtual tagIMGFILERR WriteDIB(HGLOBAL dib) = 0;
  // In: the box; out: the size of the thumbnail the file gives for it.
  virtual tagIMGFILERR GetThumbnailSize(uint16_t* width, uint16_t* height) = 0;
  virtual tagIMGFILERR GetPlatformThumbnail(HDC dc, HBITMAP* bitmap, uint16_t* width, uint16_t* height,
                                            BOOL expand) = 0;
};

class MediaHost {
 public:
  virtual ~MediaHost() = default;

  // Failures, thrown as the module's exception objects (through the Raise calls below, which must throw).
  [[noreturn]] void ThrowError(int type) {  // an error type (the NXError numbering)
    RaiseError(type);
    std::terminate();
  }
  [[noreturn]] void ThrowImagingError(int nxError) {  // a failure of the imaging toolkit
    RaiseImagingError(nxError);
    std::terminate();
  }
  [[noreturn]] void ThrowFileInfoError(LPCSTR path) {  // the file's information cannot be read
    RaiseFileInfoError(path);
    std::terminate();
  }

  // Picture files and the picture types the module knows.
  virtual std::unique_ptr<PictureFile> NewPictureFile() = 0;
  // The type's extensions as a list separated by ';' (".jpg;.jpeg"); empty for an unknown type.
  virtual CString PictureTypeExtensions(uint32_t type) = 0;
  // The patterns of every picture type the module opens, joined by ';' ("*.jpg;*.jpe;*.bmp").
  virtual CString CombinedOpenFilter() = 0;
  // The picture format whose extension the name carries; FILEFORMAT_UNKNOWN when none.
  virtual FileFormat DeterminePictureFormat(LPCSTR name) = 0;

  // Texts: the untitled name, and the extensions (lower case, without the dot) of video entry 0 (format 8)
  // and 1 (format 18) and of sounds.
  virtual CString UntitledName() = 0;
  virtual CString VideoExtension(int entry) = 0;
  virtual CString SoundExtension() = 0;

  // The kind's default thumbnail, fitted into the box when it is smaller or force is set; a new bitmap the
  // caller deletes, or null when the module has none.
  virtual CBitmap* DefaultThumbnail(DataType kind, CDC* dc, int boxWidth, int boxHeight, BOOL force) = 0;

  // The module's own user interface for an object.
  virtual void ShowProperties(cImageObject& object) = 0;
  virtual void ShowProperties(cVideoObject& object) = 0;
  virtual void ShowProperties(cWaveObject& object) = 0;
  virtual int SendPostcard(cMediaObject& object) = 0;

  // A new empty temporary file with the extension (without the dot), made for the caller to write over;
  // empty when none can be made.
  virtual CString NewTemporaryFile(LPCSTR extension) = 0;

 protected:
  virtual void RaiseError(int type) = 0;
  virtual void RaiseImagingError(int nxError) = 0;
  virtual void RaiseFileInfoError(LPCSTR path) = 0;
};

// The host of the module that links the media core; each such module defines it once.
MediaHost& ModuleHost();

}  // namespace nxmedia
