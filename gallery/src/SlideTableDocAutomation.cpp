// The slide table document as the Gallery's automation object (INXGallery): its dispatch map and members.
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "NXGallery.h"
#include "NXMisc.h"
#include "afxext.h"
#include "galcore/slidelayout.h"
#include "galcore/slidesort.h"
#include "gallery/DragData.h"
#include "gallery/GalleryAutomation.h"
#include "gallery/GalleryIds.h"
#include "gallery/GalleryText.h"
#include "gallery/SlideTableDoc.h"
#include "gallery/SlideTableView.h"
#include "media/AVIFile.h"
#include "media/NXMedia.h"

namespace {

// Live documents by serial number: objects handed to clients find their document only while it lives.
std::map<DWORD, cSlideTableDoc*>& LiveDocuments() {
  static std::map<DWORD, cSlideTableDoc*> documents;
  return documents;
}

// The sort value the table stores for an automation sort criterion (name and date are swapped).
int StoredSortValue(int criterion) {
  static const int stored[] = {galcore::kSortByName, galcore::kSortByDate, galcore::kSortByType,
                               galcore::kSortSelectedFirst};
  return stored[criterion];
}
const int kSortCriteria = 4;
const int kSlideSizes = 3;

[[noreturn]] void ThrowSaveError(WORD code, UINT text) { AfxThrowOleDispatchException(code, GalleryText(text), UINT(-1)); }

BOOL HasJpegExtension(const CString& name) {
  const int dot = name.ReverseFind('.');
  if (dot < 0) return FALSE;
  const CString extension = name.Mid(dot);
  return extension.CompareNoCase(".jpg") == 0 || extension.CompareNoCase(".jpeg") == 0 ||
         extension.CompareNoCase(".jpe") == 0;
}

// The size that fits width x height with the picture's aspect kept.
CSize FitSize(int pictureWidth, int pictureHeight, long width, long height) {
  const double ratio = double(pictureHeight) / double(pictureWidth);
  const long fittedHeight = long(width * ratio);
  if (fittedHeight > height) return CSize(int(height / ratio), int(height));
  return CSize(int(width), int(fittedHeight));
}

// The long full form of a folder path ending in a backslash, for comparing folders however they were written.
CString CanonicalFolder(const CString& folder) {
  char full[MAX_PATH] = "", longPath[MAX_PATH] = "";
  DWORD length = GetFullPathNameA(folder, MAX_PATH, full, NULL);
  if (length == 0 || length >= MAX_PATH) return folder;
  length = GetLongPathNameA(full, longPath, MAX_PATH);
  CString result = length > 0 && length < MAX_PATH ? longPath : full;
  if (!HasTrailingBackslash(result)) result += "\\";
  return result;
}

// Writes the picture of the slide at source into folder (ending in a backslash) as a JPEG file. False when the
// slide gives no picture or the file could not be written.
BOOL SaveSlide(const CString& source, const CString& folder, long width, long height, long quality) {
  const int slash = source.ReverseFind('\\');
  CString name = source.Mid(slash + 1);
  // The copies never replace the slides themselves.
  if (CanonicalFolder(source.Left(slash + 1)).CompareNoCase(CanonicalFolder(folder)) == 0) return FALSE;
  // JPEG data goes under a JPEG name: the source's name with its extension changed when it has another one.
  if (!HasJpegExtension(name)) {
    const int dot = name.ReverseFind('.');
    name = (dot < 0 ? name : name.Left(dot)) + ".jpg";
  }
  std::unique_ptr<cMediaObject> media(cSlideTableDoc::NewMediaObject(source));
  cImageObject picture;
  try {
    if (dynamic_cast<cImageObject*>(media.get())) {
      picture.CreateFromFile(source);
    } else if (cVideoObject* video = dynamic_cast<cVideoObject*>(media.get())) {
      video->CreateFromFile(source);
      HGLOBAL dib = video->GetFrameAsDIB(0);
      if (!dib) return FALSE;
      try {
        picture.CreateFromDIBHandle(dib);
      } catch (...) {
        GlobalFree(dib);
        throw;
      }
      GlobalFree(dib);
    } else {
      return FALSE;  // sounds have no picture
    }
    picture.UpdateImageProperties();
    const int pictureWidth = picture.GetWidth(), pictureHeight = picture.GetHeight();
    if (width > 0 && height > 0 && pictureWidth > 0 && (width != pictureWidth || height != pictureHeight)) {
      const CSize size = FitSize(pictureWidth, pictureHeight, width, height);
      picture.Resize(size.cx, size.cy, 1);
    }
    picture.Write(folder + name, FILEFORMAT_JPEG, picture.GetBitsPerPixel(), int(quality), 0);
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  return TRUE;
}

}  // namespace

cSlideTableDoc* cSlideTableDoc::FromSerial(DWORD serial) {
  std::map<DWORD, cSlideTableDoc*>::const_iterator found = LiveDocuments().find(serial);
  return found == LiveDocuments().end() ? NULL : found->second;
}

void cSlideTableDoc::RegisterLive() {
  static DWORD lastSerial = 0;
  m_dwSerial = ++lastSerial;
  LiveDocuments()[m_dwSerial] = this;
}

void cSlideTableDoc::UnregisterLive() { LiveDocuments().erase(m_dwSerial); }

void cSlideTableDoc::GetSlidePaths(BOOL selectedOnly, CStringArray& paths) {
  paths.RemoveAll();
  Lock();
  try {
    if (selectedOnly) {
      const CArray<int, int>& order = GetSelectedOrder();
      for (int i = 0; i < order.GetSize(); ++i) paths.Add(GetItem(order[i])->GetMediaObject()->GetFileName());
    } else {
      for (int i = 0; i < m_nCount; ++i) paths.Add(GetItem(i)->GetMediaObject()->GetFileName());
    }
  } catch (...) {
    Unlock();
    throw;
  }
  Unlock();
}

cSlideTableView* cSlideTableDoc::GetTableView() const {
  POSITION pos = GetFirstViewPosition();
  return pos ? dynamic_cast<cSlideTableView*>(GetNextView(pos)) : NULL;
}

BOOL cSlideTableDoc::GetDispatchIID(IID* iid) {
  *iid = DIID_INXGallery;
  return TRUE;
}

IMPLEMENT_OLETYPELIB(cSlideTableDoc, LIBID_NXGallery, 1, 0)

BEGIN_INTERFACE_MAP(cSlideTableDoc, cSTDoc)
  DISP_INTERFACE_PART(cSlideTableDoc, DIID_INXGallery)
END_INTERFACE_MAP()

BEGIN_DISPATCH_MAP(cSlideTableDoc, cSTDoc)
  DISP_PROPERTY_EX_ID(cSlideTableDoc, "ScrollToChanges", DISPID_GAL_SCROLLTOCHANGES, GetScrollToChangesProperty,
                      SetScrollToChangesProperty, VT_BOOL)
  DISP_FUNCTION_ID(cSlideTableDoc, "Open", DISPID_GAL_OPEN, OpenFolder, VT_EMPTY, VTS_BSTR)
  DISP_FUNCTION_ID(cSlideTableDoc, "SelectedSlides", DISPID_GAL_SELECTEDSLIDES, SelectedSlides, VT_DISPATCH, VTS_NONE)
  DISP_FUNCTION_ID(cSlideTableDoc, "GetCurrentFolder", DISPID_GAL_GETCURRENTFOLDER, GetCurrentFolder, VT_BSTR, VTS_NONE)
  DISP_FUNCTION_ID(cSlideTableDoc, "ShowToolbar", DISPID_GAL_SHOWTOOLBAR, ShowToolbar, VT_EMPTY, VTS_BOOL)
  DISP_FUNCTION_ID(cSlideTableDoc, "ShowStatusBar", DISPID_GAL_SHOWSTATUSBAR, ShowStatusBar, VT_EMPTY, VTS_BOOL)
  DISP_FUNCTION_ID(cSlideTableDoc, "ShowFolders", DISPID_GAL_SHOWFOLDERS, ShowFolders, VT_EMPTY, VTS_BOOL)
  DISP_FUNCTION_ID(cSlideTableDoc, "SetSlideSize", DISPID_GAL_SETSLIDESIZE, SetSlideSize, VT_EMPTY, VTS_I2)
  DISP_FUNCTION_ID(cSlideTableDoc, "SetSortCriteria", DISPID_GAL_SETSORTCRITERIA, SetSortCriteria, VT_EMPTY, VTS_I2)
  DISP_FUNCTION_ID(cSlideTableDoc, "Refresh", DISPID_GAL_REFRESH, RefreshTable, VT_EMPTY, VTS_NONE)
  DISP_FUNCTION_ID(cSlideTableDoc, "ShowExtensions", DISPID_GAL_SHOWEXTENSIONS, ShowExtensions, VT_EMPTY, VTS_BOOL)
  DISP_FUNCTION_ID(cSlideTableDoc, "SelectNone", DISPID_GAL_SELECTNONE, SelectNone, VT_EMPTY, VTS_NONE)
  DISP_FUNCTION_ID(cSlideTableDoc, "CopyFile", DISPID_GAL_COPYFILE, CopyFileFromLink, VT_EMPTY, VTS_BSTR VTS_BSTR)
  DISP_FUNCTION_ID(cSlideTableDoc, "GetPath", DISPID_GAL_GETPATH, GetPathOfLink, VT_BSTR, VTS_BSTR)
  DISP_FUNCTION_ID(cSlideTableDoc, "RefreshFileTree", DISPID_GAL_REFRESHFILETREE, RefreshFileTree, VT_EMPTY, VTS_NONE)
  DISP_FUNCTION_ID(cSlideTableDoc, "AllSlides", DISPID_GAL_ALLSLIDES, AllSlides, VT_DISPATCH, VTS_NONE)
  DISP_FUNCTION_ID(cSlideTableDoc, "GetThumbnailSize", DISPID_GAL_GETTHUMBNAILSIZE, GetThumbnailSize, VT_EMPTY,
                   VTS_PI4 VTS_PI4)
  DISP_FUNCTION_ID(cSlideTableDoc, "SaveImages", DISPID_GAL_SAVEIMAGES, SaveImages, VT_EMPTY,
                   VTS_BSTR VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_BOOL)
END_DISPATCH_MAP()

void cSlideTableDoc::OpenFolder(LPCSTR path) {
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    AfxThrowOleException(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  cSlideTableView* view = GetTableView();
  if (view) view->StopLoader();
  const BOOL other = m_strLastOpened.CompareNoCase(path) != 0;
  SetFolder(path);
  SetPathName(path);
  m_strLastOpened = path;
  if (!view) return;
  view->ShowFolder();
  if (other)
    if (CFrameWnd* frame = view->GetParentFrame()) frame->SendMessage(WM_GAL_FOLDER_OPENED, 0, LPARAM(path));
}

LPDISPATCH cSlideTableDoc::SelectedSlides() { return cSelectionObject::Create(m_dwSerial, TRUE); }

LPDISPATCH cSlideTableDoc::AllSlides() { return cSelectionObject::Create(m_dwSerial, FALSE); }

CString cSlideTableDoc::GetCurrentFolder() { return m_strFolder; }

void cSlideTableDoc::ShowBar(UINT barId, BOOL show) {
  cSlideTableView* view = GetTableView();
  CFrameWnd* frame = view ? view->GetParentFrame() : NULL;
  CControlBar* bar = frame ? frame->GetControlBar(barId) : NULL;
  if (bar && (bar->IsVisible() != FALSE) != (show != FALSE)) frame->ShowControlBar(bar, show, FALSE);
}

void cSlideTableDoc::ShowToolbar(BOOL show) { ShowBar(ID_GAL_TOOLBAR, show); }

void cSlideTableDoc::ShowStatusBar(BOOL show) { ShowBar(ID_GAL_STATUSBAR, show); }

// The Gallery's child frame has no folder pane yet: there is nothing to show, hide or refresh.
void cSlideTableDoc::ShowFolders(BOOL) {}
void cSlideTableDoc::RefreshFileTree() {}

void cSlideTableDoc::PostToView(UINT command) {
  if (cSlideTableView* view = GetTableView()) view->PostMessage(WM_COMMAND, command);
}

void cSlideTableDoc::SetSlideSize(short slideSize) {
  if (slideSize >= 0 && slideSize < kSlideSizes) PostToView(ID_GAL_SMALL + UINT(slideSize));
}

void cSlideTableDoc::SetSortCriteria(short sortCriteria) {
  if (sortCriteria < 0 || sortCriteria >= kSortCriteria) return;
  if (cSlideTableView* view = GetTableView()) view->PostMessage(WM_GAL_SORT, WPARAM(StoredSortValue(sortCriteria)));
}

void cSlideTableDoc::RefreshTable() {
  if (cSlideTableView* view = GetTableView()) view->Refresh();
}

void cSlideTableDoc::ShowExtensions(BOOL show) {
  WriteProfileInt(HKEY_CURRENT_USER, GAL_REGISTRY_KEY "\\" GAL_SECTION_PREFERENCES, GAL_ENTRY_SHOW_EXTENSION,
                  show ? 1 : 0);
  if (cSlideTableView* view = GetTableView()) view->Invalidate();
}

void cSlideTableDoc::SelectNone() { PostToView(ID_GAL_SELECT_NONE); }

void cSlideTableDoc::CopyFileFromLink(LPCSTR url, LPCSTR path) {
  const CString source = LocalPathOfLink(url, FALSE);
  if (source.IsEmpty()) return;
  const CString folder = path && *path ? CString(path) : m_strLastOpened;
  cSlideTableView* view = GetTableView();
  const LPCSTR text = source;
  const std::vector<char> from(text, text + source.GetLength());
  ShellCopyInto(view ? view->m_hWnd : NULL, FO_COPY, from, folder);
}

CString cSlideTableDoc::GetPathOfLink(LPCSTR url) {
  const CString path = LocalPathOfLink(url, TRUE);
  if (path.IsEmpty()) return CString();
  char shortPath[MAX_PATH] = "";
  const DWORD length = GetShortPathNameA(path, shortPath, MAX_PATH);
  return length > 0 && length < MAX_PATH ? CString(shortPath) : CString();
}

void cSlideTableDoc::GetThumbnailSize(long* width, long* height) {
  cSlideTableView* view = GetTableView();
  const std::optional<galcore::SlideGeometry> geometry =
      galcore::GeometryForSize(view ? view->GetSlideSize() : galcore::kMediumSlides);
  *width = geometry ? geometry->imageWidth : 0;
  *height = geometry ? geometry->imageHeight : 0;
}

void cSlideTableDoc::SaveImages(LPCSTR folderToSave, long format, long width, long height, long compressFactor,
                                long, long index, BOOL selected) {
  // The resampling method is accepted for the interface's sake; the resize has one method.
  if (format != GAL_SAVE_FORMAT_JPEG) ThrowSaveError(GAL_SAVE_ERROR_FORMAT, IDS_GAL_SAVE_FORMAT);
  CString folder(folderToSave);
  if (!HasTrailingBackslash(folder)) folder += "\\";
  CStringArray paths;
  GetSlidePaths(selected, paths);
  if (index == GAL_SAVE_ALL_SLIDES) {
    // Single slides that fail are passed over.
    for (int i = 0; i < paths.GetSize(); ++i) SaveSlide(paths[i], folder, width, height, compressFactor);
    return;
  }
  if (index < 0 || index >= paths.GetSize()) ThrowSaveError(GAL_SAVE_ERROR_INDEX, IDS_GAL_SAVE_INDEX);
  if (!SaveSlide(paths[index], folder, width, height, compressFactor))
    ThrowSaveError(GAL_SAVE_ERROR_FAILED, IDS_GAL_SAVE_FAILED);
}
