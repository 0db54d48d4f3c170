// cMediaObject: names, sizes and flags of every media object, the static format look-ups across the
// three kinds, and the device bitmaps the thumbnails are made of.
#include <media/MediaHost.h>
#include <cmath>
#include "thumbnail_util.h"

IMPLEMENT_SERIAL(cMediaObject, CObject, 1)

cMediaObject::cMediaObject()
    : m_height(0), m_width(0), m_memorySize(0), m_diskSize(0), m_bLoaded(FALSE), m_bInitialized(FALSE),
      m_bDiskFileWritten(FALSE), m_pEditor(NULL), m_dataSource(DATASOURCE_NONE), m_fileFormat(FILEFORMAT_UNKNOWN),
      m_bUntitled(TRUE), m_dataType(DATATYPE_SOUND) {}

cMediaObject::cMediaObject(const cMediaObject& other)
    : CObject(), m_fileName(other.m_fileName), m_displayName(other.m_displayName), m_height(other.m_height),
      m_width(other.m_width), m_memorySize(other.m_memorySize), m_diskSize(other.m_diskSize),
      m_bLoaded(other.m_bLoaded), m_bInitialized(other.m_bInitialized), m_bDiskFileWritten(other.m_bDiskFileWritten),
      m_pEditor(other.m_pEditor), m_dataSource(other.m_dataSource), m_fileFormat(other.m_fileFormat),
      m_bUntitled(other.m_bUntitled), m_dataType(other.m_dataType) {}

cMediaObject::~cMediaObject() = default;

void cMediaObject::CreateFromFile(LPCSTR) {}
short cMediaObject::GetHeight() const { return m_height; }
short cMediaObject::GetWidth() const { return m_width; }
long cMediaObject::GetMemorySize() const { return m_memorySize; }
long cMediaObject::GetDiskSize() const { return m_diskSize; }
DataSource cMediaObject::GetDataSource() const { return m_dataSource; }
BOOL cMediaObject::IsLoaded() { return m_bLoaded; }
CString cMediaObject::GetFileName() const { return m_fileName; }
CString cMediaObject::GetDisplayName() const { return m_displayName; }
void cMediaObject::SetType(DataType type) { m_dataType = type; }
DataType cMediaObject::GetType() const { return m_dataType; }
BOOL cMediaObject::IsInitialized() const { return m_bInitialized; }
BOOL cMediaObject::IsDiskFileWritten() const { return m_bDiskFileWritten; }
FileFormat cMediaObject::GetFileFormat() const { return m_fileFormat; }
void cMediaObject::UpdateFileInfo(LPCSTR) {}
void cMediaObject::SetFileFormat(FileFormat format) { m_fileFormat = format; }
void cMediaObject::SetHeight(short height) { m_height = height; }
void cMediaObject::SetWidth(short width) { m_width = width; }
void cMediaObject::SetMemorySize(long size) { m_memorySize = size; }
void cMediaObject::SetDiskSize(long size) { m_diskSize = size; }
void cMediaObject::SetDataSource(DataSource source) { m_dataSource = source; }
void cMediaObject::SetLoaded(BOOL loaded) { m_bLoaded = loaded; }

void cMediaObject::SetFileName(LPCSTR name) {
  m_fileName = name ? name : "";
  if (!m_fileName.IsEmpty()) {
    int slash = m_fileName.ReverseFind('\\');
    SetDisplayName(m_fileName.Mid(slash + 1));
  }
}

void cMediaObject::SetDisplayName(LPCSTR name) {
  m_displayName = name ? name : "";
  m_bUntitled = FALSE;
}

void cMediaObject::SetToUntitled(LPCSTR prefix, LPCSTR suffix, LPCSTR extension, BOOL displayOnly) {
  CString tail = nxmedia::ModuleHost().UntitledName() + (suffix ? suffix : "") + (extension ? extension : "");
  if (displayOnly)
    m_displayName = tail;
  else
    SetFileName(CString(prefix ? prefix : "") + tail);
  m_bUntitled = TRUE;
}

void cMediaObject::SetInitialized(BOOL initialized) { m_bInitialized = initialized; }
void cMediaObject::SetDiskFileWritten(BOOL written) { m_bDiskFileWritten = written; }
void cMediaObject::SetEditor(CObject* editor) { m_pEditor = editor; }
int cMediaObject::OpenEditor() { return 1; }
void cMediaObject::Write(LPCSTR) {}
CBitmap* cMediaObject::CreateThumbnail(CDC*, int, int, int, BOOL) { return NULL; }
void cMediaObject::ShowProperties() {}
BOOL cMediaObject::IsUntitled() const { return m_bUntitled; }
CBitmap* cMediaObject::GetDefaultThumbnail(CDC*, int, int, BOOL) { return NULL; }
cImageObject* cMediaObject::MakePostcardPicture() { return NULL; }

void cMediaObject::AdjustToFitFrame(CRect& rect, const CRect& frame) {
  const double width = rect.Width(), height = rect.Height();
  const double frameWidth = frame.Width(), frameHeight = frame.Height();
  if (width <= 0 || height <= 0 || frameWidth <= 0 || frameHeight <= 0) return;  // nothing to scale
  long newWidth, newHeight;
  if (height / frameHeight >= width / frameWidth) {
    newHeight = long(frameHeight);
    newWidth = lround(width * frameHeight / height);
  } else {
    newWidth = long(frameWidth);
    newHeight = lround(height * frameWidth / width);
  }
  rect.right = rect.left + newWidth;
  rect.bottom = rect.top + newHeight;
}

CString PASCAL cMediaObject::GetExtension(FileFormat format) {
  CString extension = cImageObject::GetExtension(format);
  if (extension.IsEmpty()) extension = cVideoObject::GetExtension(format);
  if (extension.IsEmpty()) extension = cWaveObject::GetExtension(format);
  return extension;
}

FileFormat PASCAL cMediaObject::DetermineFileFormat(LPCSTR name) {
  FileFormat format = cImageObject::DetermineFileFormat(name);
  if (format == FILEFORMAT_UNKNOWN) format = cVideoObject::DetermineFileFormat(name);
  if (format == FILEFORMAT_UNKNOWN) format = cWaveObject::DetermineFileFormat(name);
  return format;
}

int cMediaObject::SendPostcard() { return nxmedia::ModuleHost().SendPostcard(*this); }

namespace nxmedia {

CSize FitThumbnailSize(int width, int height, int boxWidth, int boxHeight) {
  const double ratio = double(height) / double(width);
  int newWidth = boxWidth;
  int newHeight = int(ratio * boxWidth);
  if (newHeight > boxHeight) {
    newHeight = boxHeight;
    newWidth = int(boxHeight / ratio);
  }
  return CSize(newWidth < 1 ? 1 : newWidth, newHeight < 1 ? 1 : newHeight);
}

CBitmap* MakeDeviceBitmap(CDC* dc, const CLeadBitmap& picture) {
  HBITMAP handle = picture.ConvertToDDB(dc ? dc->GetSafeHdc() : NULL);
  if (!handle) ModuleHost().ThrowImagingError(NXE_DEVICE);
  CBitmap* bitmap = new CBitmap;
  bitmap->Attach(handle);
  return bitmap;
}

}  // namespace nxmedia
