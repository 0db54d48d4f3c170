// NXMedia's host of the media core (see host.h): imagio's picture files, the class-wide filter, type list and
// default thumbnails under the classes' locks, NXMisc's exceptions, and the postcard hand-off.
#include "host.h"
#include <media/NXMediaIds.h>
#include <MessageBox.h>
#include <NXException.h>
#include <imagio/imgfile.h>
#include <memory>
#include "thumbnail_util.h"

nxmedia::MediaHost& nxmedia::ModuleHost() {
  static NXMediaHost host;
  return host;
}

// The class-wide state of the three media classes.
CLeadBitmap cImageObject::m_thumbnail;
BOOL cImageObject::m_bThumbnailLoaded = FALSE;
CString cImageObject::m_supported;
BOOL cImageObject::m_bSupportedBuilt = FALSE;
cStringEx cImageObject::m_typeNames;
BOOL cImageObject::m_bTypeNamesBuilt = FALSE;
cRWLockData cImageObject::m_lockData;
CLeadBitmap cVideoObject::m_thumbnail;
BOOL cVideoObject::m_bThumbnailLoaded = FALSE;
cRWLockData cVideoObject::m_lockData;
CLeadBitmap cWaveObject::m_thumbnail;
BOOL cWaveObject::m_bThumbnailLoaded = FALSE;
cRWLockData cWaveObject::m_lockData;

namespace {

const uint16_t kCombinedFilterBytes = 512;
const size_t kExtensionChars = 30;
const int kSoundEntry = 0;  // entry of the sound extension list for format 17

// imagio's file as the core's picture file.
class ImagioPictureFile : public nxmedia::PictureFile {
 public:
  tagIMGFILERR Open(const char* path, uint32_t* type, tagIMGFILEINFO* info) override {
    return m_file.Open(path, type, info);
  }
  tagIMGFILERR Create(const char* path, uint32_t type, tagIMGFILEINFO* info) override {
    return m_file.Create(path, type, info);
  }
  void Close() override { m_file.Close(); }
  tagIMGFILERR ReadToDIB(HGLOBAL* dib) override { return m_file.ReadToDIB(dib); }
  tagIMGFILERR WriteDIB(HGLOBAL dib) override { return m_file.WriteDIB(dib); }
  tagIMGFILERR GetThumbnailSize(uint16_t* width, uint16_t* height) override {
    return m_file.GetThumbnailSize(width, height);
  }
  tagIMGFILERR GetPlatformThumbnail(HDC dc, HBITMAP* bitmap, uint16_t* width, uint16_t* height,
                                    BOOL expand) override {
    return m_file.GetPlatformThumbnail(dc, bitmap, width, height, expand);
  }

 private:
  NXImageFile m_file;
};

void LoadBitmapResource(CLeadBitmap& target, UINT resourceId) {
  HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(resourceId), RT_BITMAP);
  HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(resourceId), RT_BITMAP) : NULL;
  HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
  const BITMAPINFO* info = loaded ? static_cast<const BITMAPINFO*>(LockResource(loaded)) : NULL;
  if (!info) throw new cNXException(NXERR_GENERAL);
  int result = target.ConvertFromDIB(info, NULL);
  if (result != NXE_NONE) throw new cNXLeadException(result);
}

// The default thumbnail of a class: loads bitmap resource `resourceId` into `shared` once (under the
// write lock), then makes a device bitmap of it, fitted into the box when it is smaller or force is set.
CBitmap* MakeDefaultThumbnail(cRWLockData& lock, CLeadBitmap& shared, BOOL& loaded, UINT resourceId, CDC* dc,
                              int boxWidth, int boxHeight, BOOL force) {
  {
    cReadWriteLock guard(lock);
    guard.WriteLock();
    if (!loaded) {
      LoadBitmapResource(shared, resourceId);
      loaded = TRUE;
    }
  }
  cReadWriteLock guard(lock);
  guard.ReadLock();
  if (boxHeight < shared.Height || boxWidth < shared.Width || force) {
    CLeadBitmap copy;
    int result = copy.Copy(&shared);
    if (result != NXE_NONE) throw new cNXLeadException(result);
    try {
      CRect rect(0, 0, copy.Width, copy.Height);
      cMediaObject fitter;
      fitter.AdjustToFitFrame(rect, CRect(0, 0, boxWidth, boxHeight));
      result = copy.Resample(rect.Width(), rect.Height());
      if (result != NXE_NONE) throw new cNXLeadException(result);
      CBitmap* bitmap = nxmedia::MakeDeviceBitmap(dc, copy);
      copy.Free();
      return bitmap;
    } catch (...) {
      copy.Free();
      throw;
    }
  }
  return nxmedia::MakeDeviceBitmap(dc, shared);
}

// The postcard program: the path its own installation recorded, else the default command.
CString PostcardProgram() {
  const char* keys[] = {NXMEDIA_QUILLO_PRO_KEY, NXMEDIA_QUILLO_KEY};
  for (const char* key : keys) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) continue;
    char path[MAX_PATH] = {};
    DWORD size = sizeof(path) - 1, type = 0;
    LONG result = RegQueryValueExA(handle, NXMEDIA_LOCATION_VALUE, NULL, &type, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(handle);
    if (result == ERROR_SUCCESS && type == REG_SZ && path[0]) {
      char shortPath[MAX_PATH];
      DWORD n = GetShortPathNameA(path, shortPath, MAX_PATH);
      return (n > 0 && n < MAX_PATH) ? CString(shortPath) : CString(path);
    }
  }
  CString program;
  program.LoadString(IDS_NXMEDIA_POSTCARD_PROGRAM);
  return program;
}

}  // namespace

void NXMediaHost::RaiseError(int type) { throw new cNXException(cNXExceptionType(type)); }
void NXMediaHost::RaiseImagingError(int nxError) { throw new cNXLeadException(nxError); }
void NXMediaHost::RaiseFileInfoError(LPCSTR path) {
  throw new cNXException(IDS_NXMEDIA_NO_FILE_INFO, path, NULL, NXMediaResourceHandle());
}

std::unique_ptr<nxmedia::PictureFile> NXMediaHost::NewPictureFile() {
  return std::unique_ptr<nxmedia::PictureFile>(new ImagioPictureFile);
}

CString NXMediaHost::PictureTypeExtensions(uint32_t type) {
  char buffer[kExtensionChars + 1] = {};
  if (NXImageFile::GetDefaultExt(type, buffer, uint16_t(sizeof(buffer))) != IMGFILERR_OK) return CString();
  return buffer;
}

CString NXMediaHost::CombinedOpenFilter() {
  {
    cReadWriteLock guard(cImageObject::m_lockData);
    guard.ReadLock();
    if (cImageObject::m_bSupportedBuilt) return cImageObject::m_supported;
  }
  cReadWriteLock guard(cImageObject::m_lockData);
  guard.WriteLock();
  if (!cImageObject::m_bSupportedBuilt) {
    char filter[kCombinedFilterBytes] = {};
    NXImageFile::GetCombinedFileFilters(filter, kCombinedFilterBytes, '|');
    cStringEx list(CString(",|") + filter);
    CString patterns;
    for (int i = 1; i < list.GetSubstringCount(); i += 2) {
      CString entry = list.GetSubstring(i);
      if (entry.IsEmpty()) continue;
      if (!patterns.IsEmpty()) patterns += ';';
      patterns += entry;
    }
    cImageObject::m_supported = patterns;
    cImageObject::m_bSupportedBuilt = TRUE;
  }
  return cImageObject::m_supported;
}

FileFormat NXMediaHost::DeterminePictureFormat(LPCSTR name) {
  uint16_t count = 0;
  const uint32_t* types = NULL;
  if (NXImageFile::GetAllSupportImageType(&count, &types) != IMGFILERR_OK) count = 0;
  {
    cReadWriteLock guard(cImageObject::m_lockData);
    guard.WriteLock();
    if (!cImageObject::m_bTypeNamesBuilt) {
      CString list = ",|";
      for (uint16_t i = 0; i < count; ++i) {
        char buffer[kExtensionChars + 1] = {};
        NXImageFile::GetDefaultExt(types[i], buffer, uint16_t(sizeof(buffer)));
        CString extension(buffer);
        extension.MakeLower();
        if (i) list += '|';
        list += extension;
      }
      cImageObject::m_typeNames = list;
      cImageObject::m_bTypeNamesBuilt = TRUE;
    }
  }
  cReadWriteLock guard(cImageObject::m_lockData);
  guard.ReadLock();
  CString lowered(name ? name : "");
  lowered.MakeLower();
  const int names = cImageObject::m_typeNames.GetSubstringCount();
  for (int i = 0; i < count && i < names; ++i) {
    cStringEx patterns(CString(",;") + cImageObject::m_typeNames.GetSubstring(i));
    for (int j = 0; j < patterns.GetSubstringCount(); ++j) {
      CString pattern = patterns.GetSubstring(j);
      if (!pattern.IsEmpty() && pattern[0] == '*') pattern = pattern.Mid(1);
      if (!pattern.IsEmpty() && lowered.Find(pattern) >= 0) return cImageObject::MapIMGTYPEToNXFileType(types[i]);
    }
  }
  return FILEFORMAT_UNKNOWN;
}

CString NXMediaHost::UntitledName() {
  CString untitled;
  untitled.LoadString(IDS_NXMEDIA_UNTITLED);
  return untitled;
}

CString NXMediaHost::VideoExtension(int entry) {
  CString extension = cStringEx(IDS_NXMEDIA_VIDEO_EXTENSIONS).GetSubstring(entry);
  extension.MakeLower();
  return extension;
}

CString NXMediaHost::SoundExtension() {
  CString extension = cStringEx(IDS_NXMEDIA_SOUND_EXTENSIONS).GetSubstring(kSoundEntry);
  extension.MakeLower();
  return extension;
}

CBitmap* NXMediaHost::DefaultThumbnail(DataType kind, CDC* dc, int boxWidth, int boxHeight, BOOL force) {
  switch (kind) {
    case DATATYPE_PICTURE:
      return MakeDefaultThumbnail(cImageObject::m_lockData, cImageObject::m_thumbnail, cImageObject::m_bThumbnailLoaded,
                                  IDB_NXMEDIA_PICTURE_THUMBNAIL, dc, boxWidth, boxHeight, force);
    case DATATYPE_VIDEO:
      return MakeDefaultThumbnail(cVideoObject::m_lockData, cVideoObject::m_thumbnail, cVideoObject::m_bThumbnailLoaded,
                                  IDB_NXMEDIA_VIDEO_THUMBNAIL, dc, boxWidth, boxHeight, force);
    case DATATYPE_SOUND:
      return MakeDefaultThumbnail(cWaveObject::m_lockData, cWaveObject::m_thumbnail, cWaveObject::m_bThumbnailLoaded,
                                  IDB_NXMEDIA_SOUND_THUMBNAIL, dc, boxWidth, boxHeight, force);
  }
  return NULL;
}

int NXMediaHost::SendPostcard(cMediaObject& object) {
  CString picturePath;
  try {
    std::unique_ptr<cImageObject> picture(object.MakePostcardPicture());
    if (!picture) throw new cNXException(NXERR_DEVICE);
    picturePath = CreateNumberedTempFile("bmp");
    picture->Write(picturePath, FILEFORMAT_BMP, picture->GetBitsPerPixel() ? picture->GetBitsPerPixel() : 24, 0, 0);
  } catch (CException* e) {
    WarnUserRecoverable(e);
    e->Delete();
    return 0;
  }
  CString program = PostcardProgram();
  CString commandLine;
  commandLine.Format("%s %s %s", (LPCSTR)program, (LPCSTR)picturePath, (LPCSTR)object.m_fileName);
  STARTUPINFOA startup = {sizeof(startup)};
  PROCESS_INFORMATION process = {};
  if (CreateProcessA(NULL, commandLine.GetBuffer(0), NULL, NULL, FALSE, CREATE_SEPARATE_WOW_VDM, NULL, NULL,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 1;
  }
  CString message;
  AfxFormatString1(message, IDS_NXMEDIA_POSTCARD_FAILED, program);
  NXMessageBox(CWnd::GetSafeOwner(), "", message, NXMB_OK, 0);
  return 0;
}

CString NXMediaHost::NewTemporaryFile(LPCSTR extension) { return CreateNumberedTempFile(extension); }
