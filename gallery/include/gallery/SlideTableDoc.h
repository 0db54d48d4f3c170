// The slide table's document: one item per picture, video or sound file of a folder, with its thumbnail, its
// flags word and its selection stamp; the folder, its listing, re-scans and its thumbnail cache file.
//
// cSlideTableView shows it and runs the loader thread, which calls MakeThumbnail; the automation objects and
// the batch commands reach the items through the per-index operations of cSTDoc.
#pragma once
#include <vector>

#include "afxdisp.h"
#include "afxwin.h"
#include "afxtempl.h"
#include "framework/NXComponentDoc.h"
#include "galcore/rescan.h"
#include "galcore/selection.h"

class cMediaObject;
class cSlideTableView;

class cSTDocItem : public CObject {
  DECLARE_DYNAMIC(cSTDocItem)
 public:
  cSTDocItem();
  ~cSTDocItem() override;

  cMediaObject* GetMediaObject() const { return m_pMediaObject; }
  // Takes media (owned): the thumbnails and the file time go, the item needs a thumbnail.
  void SetMediaObject(cMediaObject* media);
  const FILETIME& GetFileTime() const { return m_fileTime; }
  void SetFileTime(const FILETIME& time) { m_fileTime = time; }

  // The thumbnail kept as raw device-dependent bits (BITMAP header then the rows of GetBitmapBits).
  BOOL HasThumbnail() const { return m_hThumbnail != NULL; }
  void SetThumbnail(CBitmap* bitmap);
  // A new GDI bitmap of the stored bits (the caller deletes it), or null.
  CBitmap* CreateThumbnailBitmap() const;
  BOOL GetThumbnailSize(SIZE* size) const;
  void SetSecondImage(CBitmap* bitmap);

  DWORD GetFlags() const { return m_flags; }
  BOOL NeedsThumbnail() const { return (m_flags & galcore::kNeedsThumbnail) != 0; }
  void SetNeedsThumbnail(BOOL needs);
  BOOL IsSelected() const { return galcore::IsSelected(m_flags); }
  void Select(BOOL select);
  DWORD GetStamp() const { return galcore::StampOf(m_flags); }

 private:
  static HGLOBAL StoreBits(CBitmap* bitmap);
  static void FreeBits(HGLOBAL& bits);

  cMediaObject* m_pMediaObject;
  FILETIME m_fileTime;
  HGLOBAL m_hThumbnail;
  HGLOBAL m_hSecondImage;
  DWORD m_flags;
};

class cSTDoc : public cNXComponentDoc {
  DECLARE_DYNAMIC(cSTDoc)
 public:
  cSTDoc();
  ~cSTDoc() override;

  int GetCount() const { return m_nCount; }
  cSTDocItem* GetItem(int index) const;
  int IndexOf(const cSTDocItem* item) const;
  cMediaObject* GetMediaObject(int index) const;
  BOOL IsSelected(int index) const;
  void Select(int index, BOOL select);
  // The selected items' indices, in the order they were selected.
  const CArray<int, int>& GetSelectedOrder();

  void DeleteContents() override;

 protected:
  void AppendItem(cSTDocItem* item);
  void RemoveItem(int index);

  CTypedPtrArray<CObArray, cSTDocItem*> m_items;
  int m_nCount;
  CArray<int, int> m_selectedOrder;
};

// What a re-scan of the folder found.
struct cRescanResult {
  BOOL changed;
  int lastChanged;  // index of the last added or changed item, -1 when none
};

class cSlideTableDoc : public cSTDoc {
  DECLARE_DYNCREATE(cSlideTableDoc)
 public:
  cSlideTableDoc();
  ~cSlideTableDoc() override;

  // The document's path is its folder.
  BOOL OnOpenDocument(LPCSTR path) override;
  void OnCloseDocument() override;
  BOOL OnSaveDocument(LPCSTR) override { return TRUE; }
  BOOL IsModified() override { return FALSE; }
  void SetPathName(LPCSTR path, BOOL addToMRU = TRUE) override;

  const CString& GetFolder() const { return m_strFolder; }
  // Saves or deletes the cache of the folder shown, then lists folder and reads its cache.
  BOOL SetFolder(LPCSTR folder);
  // Lists the folder again: items keep, change, come and go (galcore::PlanRescan).
  cRescanResult Rescan();
  // Makes the thumbnail of item at the largest image box for dc's device; false (the caller removes the cell)
  // when neither the file nor the media kind's default gave one. Called by the loader thread; the document's
  // lock is held only to read the item's path and to store the result.
  BOOL MakeThumbnail(cSTDocItem* item, CDC* dc);
  // The cache file of the folder shown: written when thumbnails were made (to a temporary name moved into
  // place), deleted when the cache is off or the folder has no slides.
  void SaveOrDeleteCache();
  CString GetCachePath() const;
  DWORD GetHeaderValue() const { return m_dwHeader; }
  BOOL ThumbnailsChanged() const { return m_bThumbnailsChanged; }

  // Files of folder that the three media kinds show (attributes hidden, system, directory and temporary
  // excluded), in the directory's order.
  static void ListFolder(LPCSTR folder, std::vector<galcore::ListedFile>& files);
  // The media object for name by its extension, or null when no media kind takes it.
  static cMediaObject* NewMediaObject(LPCSTR name);
  static BOOL IsSupportedName(LPCSTR name);
  static BOOL CacheEnabled();

  // Guards the item array, the items' thumbnails, flags and paths, and the cache file; never held while a
  // picture is decoded.
  void Lock() { EnterCriticalSection(&m_cs); }
  void Unlock() { LeaveCriticalSection(&m_cs); }

  // Automation: the document is the Gallery's dispatch object (INXGallery). Objects handed to clients name it
  // by its serial number, which finds it only while it lives: a client may hold them after it closed.
  DWORD GetSerial() const { return m_dwSerial; }
  static cSlideTableDoc* FromSerial(DWORD serial);
  // The full paths of the slides: the selected ones in the order they were selected, or all in document order.
  void GetSlidePaths(BOOL selectedOnly, CStringArray& paths);
  BOOL GetScrollToChanges() const { return m_bScrollToChanges; }
  cSlideTableView* GetTableView() const;  // the first view
  BOOL GetDispatchIID(IID* iid) override;

  // The members of INXGallery (the view offers the host some of them as well).
  BOOL GetScrollToChangesProperty() { return m_bScrollToChanges; }
  void SetScrollToChangesProperty(BOOL scroll) { m_bScrollToChanges = scroll; }
  void OpenFolder(LPCSTR path);
  LPDISPATCH SelectedSlides();
  CString GetCurrentFolder();
  void ShowToolbar(BOOL show);
  void ShowStatusBar(BOOL show);
  void ShowFolders(BOOL show);
  void SetSlideSize(short slideSize);
  void SetSortCriteria(short sortCriteria);
  void RefreshTable();
  void ShowExtensions(BOOL show);
  void SelectNone();
  void CopyFileFromLink(LPCSTR url, LPCSTR path);
  CString GetPathOfLink(LPCSTR url);
  void RefreshFileTree();
  LPDISPATCH AllSlides();
  void GetThumbnailSize(long* width, long* height);
  void SaveImages(LPCSTR folderToSave, long format, long width, long height, long compressFactor,
                  long resampleMethod, long index, BOOL selected);

 protected:
  void ShowBar(UINT barId, BOOL show);
  void PostToView(UINT command);
  void RegisterLive();
  void UnregisterLive();
  DECLARE_DISPATCH_MAP()
  DECLARE_OLETYPELIB(cSlideTableDoc)
  DECLARE_INTERFACE_MAP()

 protected:
  cSTDocItem* NewItem(const CString& name, uint64_t time);
  void LoadCache();

  CString m_strFolder;
  CRITICAL_SECTION m_cs;
  BOOL m_bThumbnailsChanged;
  DWORD m_dwHeader;
  BOOL m_bScrollToChanges;
  CString m_strLastOpened;  // the path last given to OpenFolder
  DWORD m_dwSerial;
};
