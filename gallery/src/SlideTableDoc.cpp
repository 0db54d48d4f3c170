// The slide table's document: items of a folder, their thumbnails as raw bits, re-scans and the cache file.
#include "gallery/SlideTableDoc.h"

#include <algorithm>
#include <cstring>

#include "NXMisc.h"
#include "gallery/GalleryIds.h"
#include "gallery/GalleryText.h"
#include "gallery/SlideTableView.h"
#include "galcore/thumbcache.h"
#include "media/NXMedia.h"
#include "safefile/safefile.h"

namespace {

// Attributes that keep a directory entry out of the table: hidden, system, directory, temporary.
const DWORD kHiddenEntryMask = 0x116;

uint64_t ToUint64(const FILETIME& time) { return (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime; }
FILETIME ToFileTime(uint64_t value) {
  FILETIME time;
  time.dwLowDateTime = DWORD(value);
  time.dwHighDateTime = DWORD(value >> 32);
  return time;
}

void ShowStatus(LPCSTR text) {
  CWnd* main = AfxGetMainWnd();
  if (CFrameWnd* frame = dynamic_cast<CFrameWnd*>(main)) frame->SetMessageText(text);
}

void ShowStatus(UINT id) { ShowStatus(GalleryText(id)); }

}  // namespace

// ---------------------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(cSTDocItem, CObject)

cSTDocItem::cSTDocItem()
    : m_pMediaObject(NULL), m_hThumbnail(NULL), m_hSecondImage(NULL), m_flags(galcore::kInitialItemFlags) {
  m_fileTime.dwLowDateTime = m_fileTime.dwHighDateTime = 0;
}

cSTDocItem::~cSTDocItem() {
  delete m_pMediaObject;
  FreeBits(m_hThumbnail);
  FreeBits(m_hSecondImage);
}

void cSTDocItem::SetMediaObject(cMediaObject* media) {
  delete m_pMediaObject;
  m_pMediaObject = media;
  FreeBits(m_hThumbnail);
  FreeBits(m_hSecondImage);
  m_fileTime.dwLowDateTime = m_fileTime.dwHighDateTime = 0;
  SetNeedsThumbnail(media != NULL);
}

void cSTDocItem::SetNeedsThumbnail(BOOL needs) {
  if (needs)
    m_flags |= galcore::kNeedsThumbnail;
  else
    m_flags &= ~galcore::kNeedsThumbnail;
}

void cSTDocItem::Select(BOOL select) { m_flags = select ? galcore::Selected(m_flags) : galcore::Deselected(m_flags); }

HGLOBAL cSTDocItem::StoreBits(CBitmap* bitmap) {
  BITMAP info;
  if (!bitmap || !::GetObjectA(HBITMAP(bitmap->GetSafeHandle()), sizeof info, &info)) return NULL;
  const DWORD rows = DWORD(info.bmWidthBytes) * DWORD(info.bmHeight);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAP) + rows);
  if (!memory) return NULL;
  BYTE* p = static_cast<BYTE*>(GlobalLock(memory));
  info.bmBits = NULL;
  memcpy(p, &info, sizeof info);
  const LONG copied = ::GetBitmapBits(HBITMAP(bitmap->GetSafeHandle()), LONG(rows), p + sizeof(BITMAP));
  GlobalUnlock(memory);
  if (copied != LONG(rows)) {
    GlobalFree(memory);
    return NULL;
  }
  return memory;
}

void cSTDocItem::FreeBits(HGLOBAL& bits) {
  if (bits) GlobalFree(bits);
  bits = NULL;
}

void cSTDocItem::SetThumbnail(CBitmap* bitmap) {
  FreeBits(m_hThumbnail);
  m_hThumbnail = StoreBits(bitmap);
}

void cSTDocItem::SetSecondImage(CBitmap* bitmap) {
  FreeBits(m_hSecondImage);
  m_hSecondImage = StoreBits(bitmap);
}

BOOL cSTDocItem::GetThumbnailSize(SIZE* size) const {
  if (!m_hThumbnail) return FALSE;
  const BITMAP* info = static_cast<const BITMAP*>(GlobalLock(m_hThumbnail));
  size->cx = info->bmWidth;
  size->cy = info->bmHeight;
  GlobalUnlock(m_hThumbnail);
  return TRUE;
}

CBitmap* cSTDocItem::CreateThumbnailBitmap() const {
  if (!m_hThumbnail) return NULL;
  const BYTE* p = static_cast<const BYTE*>(GlobalLock(m_hThumbnail));
  BITMAP info;
  memcpy(&info, p, sizeof info);
  HBITMAP handle = ::CreateBitmap(info.bmWidth, info.bmHeight, info.bmPlanes, info.bmBitsPixel, p + sizeof(BITMAP));
  GlobalUnlock(m_hThumbnail);
  if (!handle) return NULL;
  CBitmap* bitmap = new CBitmap;
  bitmap->Attach(handle);
  return bitmap;
}

// ---------------------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(cSTDoc, cNXComponentDoc)

cSTDoc::cSTDoc() : m_nCount(0) {}

cSTDoc::~cSTDoc() { cSTDoc::DeleteContents(); }

cSTDocItem* cSTDoc::GetItem(int index) const {
  return index >= 0 && index < m_nCount ? m_items.GetAt(index) : NULL;
}

int cSTDoc::IndexOf(const cSTDocItem* item) const {
  for (int i = 0; i < m_nCount; ++i)
    if (m_items.GetAt(i) == item) return i;
  return -1;
}

cMediaObject* cSTDoc::GetMediaObject(int index) const {
  cSTDocItem* item = GetItem(index);
  return item ? item->GetMediaObject() : NULL;
}

BOOL cSTDoc::IsSelected(int index) const {
  cSTDocItem* item = GetItem(index);
  return item && item->IsSelected();
}

void cSTDoc::Select(int index, BOOL select) {
  if (cSTDocItem* item = GetItem(index)) item->Select(select);
}

const CArray<int, int>& cSTDoc::GetSelectedOrder() {
  std::vector<uint32_t> flags;
  flags.reserve(size_t(m_nCount));
  for (int i = 0; i < m_nCount; ++i) flags.push_back(m_items.GetAt(i)->GetFlags());
  std::vector<int> order = galcore::SelectedOrder(flags);
  m_selectedOrder.SetSize(int(order.size()));
  for (size_t i = 0; i < order.size(); ++i) m_selectedOrder[int(i)] = order[i];
  return m_selectedOrder;
}

void cSTDoc::AppendItem(cSTDocItem* item) {
  m_items.Add(item);
  ++m_nCount;
}

void cSTDoc::RemoveItem(int index) {
  delete m_items.GetAt(index);
  m_items.RemoveAt(index);
  --m_nCount;
}

void cSTDoc::DeleteContents() {
  for (int i = 0; i < m_items.GetSize(); ++i) delete m_items.GetAt(i);
  m_items.RemoveAll();
  m_nCount = 0;
  m_selectedOrder.RemoveAll();
}

// ---------------------------------------------------------------------------------------------
IMPLEMENT_DYNCREATE(cSlideTableDoc, cSTDoc)

cSlideTableDoc::cSlideTableDoc() : m_bThumbnailsChanged(FALSE), m_dwHeader(0), m_bScrollToChanges(FALSE), m_dwSerial(0) {
  InitializeCriticalSection(&m_cs);
  EnableAutomation();
  RegisterLive();
}

cSlideTableDoc::~cSlideTableDoc() {
  UnregisterLive();
  Lock();
  cSTDoc::DeleteContents();
  Unlock();
  DeleteCriticalSection(&m_cs);
}

BOOL cSlideTableDoc::IsSupportedName(LPCSTR name) {
  const char* dot = strrchr(name, '.');
  if (!dot) return FALSE;
  CString extension(dot);
  extension.MakeLower();
  return cImageObject::IsSupportedFileExtension(extension) || cVideoObject::IsSupportedFileExtension(extension) ||
         cWaveObject::IsSupportedFileExtension(extension);
}

cMediaObject* cSlideTableDoc::NewMediaObject(LPCSTR name) {
  const char* dot = strrchr(name, '.');
  if (!dot) return NULL;
  CString extension(dot);
  extension.MakeLower();
  if (cImageObject::IsSupportedFileExtension(extension)) return new cImageObject;
  if (cVideoObject::IsSupportedFileExtension(extension)) return new cVideoObject;
  if (cWaveObject::IsSupportedFileExtension(extension)) return new cWaveObject;
  return NULL;
}

BOOL cSlideTableDoc::CacheEnabled() {
  return ReadProfileInt(HKEY_CURRENT_USER, GAL_REGISTRY_KEY "\\" GAL_SECTION_PREFERENCES, GAL_ENTRY_ENABLE_CACHE, 1) != 0;
}

void cSlideTableDoc::ListFolder(LPCSTR folder, std::vector<galcore::ListedFile>& files) {
  files.clear();
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA(CString(folder) + "\\*.*", &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (entry.dwFileAttributes & kHiddenEntryMask) continue;
    if (!IsSupportedName(entry.cFileName)) continue;
    files.push_back({entry.cFileName, ToUint64(entry.ftLastWriteTime)});
  } while (FindNextFileA(find, &entry));
  FindClose(find);
}

cSTDocItem* cSlideTableDoc::NewItem(const CString& name, uint64_t time) {
  cMediaObject* media = NewMediaObject(name);
  if (!media) return NULL;
  media->SetFileName(m_strFolder + "\\" + name);
  media->SetDisplayName(name);
  cSTDocItem* item = new cSTDocItem;
  item->SetMediaObject(media);
  item->SetFileTime(ToFileTime(time));
  return item;
}

BOOL cSlideTableDoc::OnOpenDocument(LPCSTR path) {
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return FALSE;
  m_strLastOpened = path;
  return SetFolder(path);
}

void cSlideTableDoc::SetPathName(LPCSTR path, BOOL) {
  // A folder is no recent file; its title is the folder's path.
  m_strPathName = path;
  SetTitle(path);
}

BOOL cSlideTableDoc::SetFolder(LPCSTR folder) {
  if (!m_strFolder.IsEmpty()) SaveOrDeleteCache();
  CString path(folder);
  while (path.GetLength() > 3 && (path.Right(1) == "\\" || path.Right(1) == "/")) path = path.Left(path.GetLength() - 1);
  std::vector<galcore::ListedFile> files;
  ListFolder(path, files);
  Lock();
  cSTDoc::DeleteContents();
  m_strFolder = path;
  m_bThumbnailsChanged = FALSE;
  m_dwHeader = 0;
  for (const galcore::ListedFile& file : files)
    if (cSTDocItem* item = NewItem(file.name.c_str(), file.time)) AppendItem(item);
  Unlock();
  if (m_nCount > 0) LoadCache();
  return TRUE;
}

cRescanResult cSlideTableDoc::Rescan() {
  std::vector<galcore::ListedFile> listing;
  ListFolder(m_strFolder, listing);
  Lock();
  std::vector<galcore::ScanItem> items;
  items.reserve(size_t(m_nCount));
  for (int i = 0; i < m_nCount; ++i) {
    cSTDocItem* item = m_items.GetAt(i);
    items.push_back({std::string(item->GetMediaObject()->GetDisplayName()), ToUint64(item->GetFileTime()), item->GetFlags()});
  }
  const galcore::RescanPlan plan = galcore::PlanRescan(items, listing);
  for (const galcore::RescanPlan::Retime& retime : plan.retimed) {
    cSTDocItem* item = m_items.GetAt(int(retime.item));
    item->SetFileTime(ToFileTime(retime.time));
    item->SetNeedsThumbnail(TRUE);
  }
  for (size_t entry : plan.appended)
    if (cSTDocItem* item = NewItem(listing[entry].name.c_str(), listing[entry].time)) AppendItem(item);
  for (size_t index : plan.removed) RemoveItem(int(index));
  Unlock();
  return {plan.changed, plan.lastChanged};
}

BOOL cSlideTableDoc::MakeThumbnail(cSTDocItem* item, CDC* dc) {
  // Decoding takes long and runs without the document's lock, which painting takes to read thumbnails: the
  // picture is read by a media object of the item's kind that only this thread sees, and only storing the bits
  // and the flags happens under the lock. Items go only while the loader is stopped.
  Lock();
  const CString path = item->GetMediaObject()->GetFileName();
  const CString name = item->GetMediaObject()->GetDisplayName();
  const BOOL isPicture = item->GetMediaObject()->IsKindOf(RUNTIME_CLASS(cImageObject));
  Unlock();
  cMediaObject* reader = NewMediaObject(name);
  if (!reader) return FALSE;
  reader->SetFileName(path);
  reader->SetDisplayName(name);
  CBitmap* bitmap = NULL;
  BOOL readable = FALSE;
  try {
    HANDLE probe = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    readable = probe != INVALID_HANDLE_VALUE;
    if (readable) CloseHandle(probe);
    const int box = galcore::kThumbnailBox;
    bitmap = reader->CreateThumbnail(dc, box, box, 1, FALSE);
    // A picture that could be read but not decoded is no picture: it leaves the table.
    const BOOL undecodable = !bitmap && readable && isPicture;
    if (!bitmap && !undecodable) bitmap = reader->GetDefaultThumbnail(dc, box, box, FALSE);
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  delete reader;
  if (!bitmap) return FALSE;
  Lock();
  item->SetThumbnail(bitmap);
  item->SetNeedsThumbnail(!readable);
  m_bThumbnailsChanged = TRUE;
  const BOOL made = item->HasThumbnail();
  Unlock();
  delete bitmap;
  return made;
}

CString cSlideTableDoc::GetCachePath() const {
  return m_strFolder + "\\" + GalleryText(IDS_GAL_CACHE_NAME);
}

void cSlideTableDoc::LoadCache() {
  if (!CacheEnabled()) return;
  std::vector<uint8_t> bytes;
  {
    HANDLE handle = CreateFileA(GetCachePath(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (handle == INVALID_HANDLE_VALUE) return;
    ShowStatus(IDS_GAL_READING_CACHE);
    const DWORD size = GetFileSize(handle, NULL);
    DWORD read = 0;
    if (size != INVALID_FILE_SIZE) {
      bytes.resize(size);
      if (!ReadFile(handle, bytes.data(), size, &read, NULL)) read = 0;
    }
    CloseHandle(handle);
    bytes.resize(read);
  }
  const galcore::CacheReadResult result = galcore::ReadThumbnailCache(bytes.data(), bytes.size());
  if (result.status != galcore::CacheReadStatus::unreadable) {
    Lock();
    m_dwHeader = result.cache.header;
    std::vector<galcore::CacheKey> keys;
    for (int i = 0; i < m_nCount; ++i) {
      cSTDocItem* item = m_items.GetAt(i);
      keys.push_back({std::string(item->GetMediaObject()->GetDisplayName()),
                      galcore::CacheTimeFromFileTime(ToUint64(item->GetFileTime()))});
    }
    const std::vector<int> matches = galcore::MatchCacheRecords(keys, result.cache);
    HDC screen = ::GetDC(NULL);
    for (int i = 0; i < m_nCount; ++i) {
      if (matches[size_t(i)] < 0) continue;
      const std::vector<uint8_t>& dib = result.cache.records[size_t(matches[size_t(i)])].dib;
      const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
      const std::optional<galcore::DibLayout> layout = galcore::ParseDibHeader(dib.data(), dib.size());
      if (!layout) continue;
      HBITMAP handle = ::CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, dib.data() + layout->BitsOffset(), info,
                                        DIB_RGB_COLORS);
      if (!handle) continue;
      CBitmap bitmap;
      bitmap.Attach(handle);
      cSTDocItem* item = m_items.GetAt(i);
      item->SetThumbnail(&bitmap);
      if (item->HasThumbnail()) item->SetNeedsThumbnail(FALSE);
    }
    ::ReleaseDC(NULL, screen);
    Unlock();
  }
  ShowStatus("");
}

void cSlideTableDoc::SaveOrDeleteCache() {
  if (m_strFolder.IsEmpty()) return;
  const CString path = GetCachePath();
  if (!CacheEnabled() || m_nCount == 0) {
    DeleteFileA(path);
    return;
  }
  if (!m_bThumbnailsChanged) return;
  Lock();
  try {
    galcore::ThumbnailCache cache;
    cache.header = m_dwHeader;
    HDC screen = ::GetDC(NULL);
    for (int i = 0; i < m_nCount; ++i) {
      cSTDocItem* item = m_items.GetAt(i);
      CBitmap* bitmap = item->CreateThumbnailBitmap();
      if (!bitmap) continue;
      BITMAP info;
      ::GetObjectA(HBITMAP(bitmap->GetSafeHandle()), sizeof info, &info);
      const galcore::DibLayout layout = galcore::DibLayoutForBitmap(info.bmWidth, info.bmHeight, info.bmPlanes, info.bmBitsPixel);
      std::vector<uint8_t> dib(layout.TotalBytes());
      BITMAPINFOHEADER* header = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
      header->biSize = sizeof(BITMAPINFOHEADER);
      header->biWidth = layout.width;
      header->biHeight = layout.height;
      header->biPlanes = 1;
      header->biBitCount = layout.bitCount;
      header->biCompression = BI_RGB;
      HPALETTE old = ::SelectPalette(screen, HPALETTE(::GetStockObject(DEFAULT_PALETTE)), FALSE);
      const int lines = ::GetDIBits(screen, HBITMAP(bitmap->GetSafeHandle()), 0, UINT(info.bmHeight),
                                    dib.data() + layout.BitsOffset(), reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS);
      ::SelectPalette(screen, old, FALSE);
      delete bitmap;
      if (lines != info.bmHeight) continue;
      header->biSizeImage = layout.imageBytes;
      header->biClrUsed = 0;
      cache.records.push_back({std::string(item->GetMediaObject()->GetDisplayName()),
                               galcore::CacheTimeFromFileTime(ToUint64(item->GetFileTime())), std::move(dib)});
    }
    ::ReleaseDC(NULL, screen);
    ShowStatus(IDS_GAL_WRITING_CACHE);
    const std::vector<uint8_t> bytes = galcore::WriteThumbnailCache(cache);
    if (safefile::WriteWholeFile(std::string(path), bytes.data(), bytes.size())) m_bThumbnailsChanged = FALSE;
  } catch (...) {
    // A cache that cannot be written leaves the previous one in place; the folder still opens without it.
  }
  Unlock();
  ShowStatus("");
}

void cSlideTableDoc::OnCloseDocument() {
  // The views stop their loaders when their windows go; the cache is written after, from settled items.
  POSITION pos = GetFirstViewPosition();
  while (pos)
    if (cSlideTableView* view = dynamic_cast<cSlideTableView*>(GetNextView(pos))) view->StopLoader();
  SaveOrDeleteCache();
  cSTDoc::OnCloseDocument();
}
