// The slide table's view: cells of thumbnails with captions and type icons, laid out, painted, scrolled,
// selected, sorted and renamed; the loader thread that makes missing thumbnails; the folder monitor.
//
// cSlideTableDoc's items are shown one cell (cSlideHelper) each. The loader thread talks to the view only by
// the posted messages of GalleryIds.h; the cell array, its count and the ready list are guarded by m_lockData.
#pragma once
#include <atomic>
#include <vector>

#include "FileSystemMonitor.h"
#include "RWLock.h"
#include "afxole.h"
#include "afxtempl.h"
#include "galcore/slidelayout.h"
#include "gallery/SlideTableDoc.h"

class cSlideTableView;

// The drawing set-up of one slide size: the cell's parts, its font, type icons, colours and the cell-sized
// background bitmap.
class SlideMetrics {
 public:
  SlideMetrics();
  virtual ~SlideMetrics();
  // False when the size is unknown.
  BOOL Setup(int slideSize, COLORREF background);

  galcore::CellMetrics m_cell;
  CFont m_font;
  HICON m_hPictureIcon, m_hVideoIcon, m_hSoundIcon;
  COLORREF m_colours[10];
  COLORREF m_inactiveSelection;
  // The background of a cell, made on first use and again when the colour changes.
  CDC* BackgroundDC(CDC* compatible);

 private:
  void Release();
  COLORREF m_background;
  CDC m_backgroundDC;
  CBitmap m_backgroundBitmap;
  HGDIOBJ m_oldBackground;
  BOOL m_bBackgroundMade;
};

// One cell: draws its item at a place with a look.
class cSlideHelper {
 public:
  cSlideHelper(cSlideTableView* view, SlideMetrics* metrics, cSTDocItem* item);
  cSTDocItem* GetItem() const { return m_pItem; }
  void SetMetrics(SlideMetrics* metrics) { m_pMetrics = metrics; }
  // Draws the cell with its top left at (x, y) of dc.
  void Draw(CDC* dc, int x, int y, BOOL selected, BOOL anchor, BOOL active, BOOL showExtension);

 private:
  cSlideTableView* m_pView;
  SlideMetrics* m_pMetrics;
  cSTDocItem* m_pItem;
};

// The in-place editor of a slide's name: Esc and Enter tell the view.
class cNameEdit : public CEdit {
 public:
  BOOL PreTranslateMessage(MSG* msg) override;
};

class cSlideTableView : public CScrollView {
  DECLARE_DYNCREATE(cSlideTableView)
 public:
  cSlideTableView();
  ~cSlideTableView() override;

  cSlideTableDoc* GetDocument() const;

  // Operations other parts of the Gallery use.
  void Rebuild();
  // False (after message 354) when selected-first is asked with nothing selected; while rebuilding, a
  // selected-first table with nothing selected is ordered by name without a message.
  BOOL Sort(int criterion, BOOL rebuilding = FALSE);
  void SetSlideSize(int slideSize);
  int GetSlideSize() const { return m_nSlideSize; }
  int GetSortCriterion() const { return m_nSortCriterion; }
  void SelectAll(BOOL select);
  void ScrollToSlide(int index);
  void Refresh();
  // The document shows another folder: watch it and show its slides.
  void ShowFolder();
  void StartNameEdit(int index);
  void EndNameEdit(BOOL commit);
  BOOL IsEditingName() const { return m_nEditIndex >= 0; }
  // Opens slide index in its editor (preferences), the host or the shell.
  void OpenSlide(int index);

  // The loader thread.
  void StartLoader();
  void StopLoader();
  BOOL IsLoading() const;

  // What the table shows, in cell order (for the document's users and tests).
  int GetCellCount() const { return m_nCells; }
  cSTDocItem* GetCellItem(int index) const;
  CRect GetCellRect(int index) const;  // in client coordinates
  int HitTest(CPoint client) const;
  int GetAnchor() const { return m_nAnchor; }
  int GetRefreshCount() const { return m_nRefreshes; }
  int GetColumns() const;
  const SlideMetrics& Metrics() const { return m_metrics[m_nMetricsInUse]; }

  void OnDraw(CDC* dc) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  void OnInitialUpdate() override;
  void OnActivateView(BOOL activate, CView* activateView, CView* deactivateView) override;
  DWORD OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point) override;
  DWORD OnDragOver(COleDataObject* data, DWORD keyState, CPoint point) override;
  BOOL OnDrop(COleDataObject* data, DWORD effect, CPoint point) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnDestroy();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg LRESULT OnFolderChanged(WPARAM, LPARAM);
  afx_msg LRESULT OnNotBusy(WPARAM, LPARAM);
  afx_msg LRESULT OnLoadProgress(WPARAM index, LPARAM);
  afx_msg LRESULT OnThumbsReady(WPARAM, LPARAM);
  afx_msg LRESULT OnLoadFailed(WPARAM, LPARAM);
  afx_msg LRESULT OnEditCancel(WPARAM, LPARAM);
  afx_msg LRESULT OnEditCommit(WPARAM, LPARAM);
  afx_msg LRESULT OnScrollTo(WPARAM index, LPARAM);
  afx_msg LRESULT OnSortMessage(WPARAM criterion, LPARAM);
  afx_msg void OnRefresh();
  afx_msg void OnSlideSize(UINT id);
  afx_msg void OnSortCommand(UINT id);
  afx_msg void OnUpdateSlideSize(CCmdUI* ui);
  afx_msg void OnUpdateSort(CCmdUI* ui);
  afx_msg void OnSelectAll();
  afx_msg void OnSelectNone();
  afx_msg void OnRename();
  afx_msg void OnOpen();
  afx_msg void OnDelete();
  afx_msg void OnAskStop();
  DECLARE_MESSAGE_MAP()
  // The host reaches the document's folder and selection through the view's dispatch interface.
  void OpenFolder(LPCSTR path);
  LPDISPATCH SelectedSlides();
  void SelectNone();
  DECLARE_DISPATCH_MAP()

 private:
  friend class cSlideHelper;
  friend class cCellSelection;
  static UINT AFX_CDECL LoaderProc(LPVOID view);
  void LoaderPass(CDC* screen, BOOL* repeat, BOOL* stopped);
  int NextCellToLoad(std::vector<cSTDocItem*>& done, int* cursor) const;
  void RemoveCellOf(cSTDocItem* item, int* cursor);

  void BeginBusy();
  void EndBusy();
  void DeleteCells();
  void UpdateScrollSizes();
  galcore::FlowLayout Layout() const;
  void InvalidateCell(int index);
  void ApplyClick(int index, BOOL ctrl, BOOL shift);
  void MoveFocus(int key);
  void DrawEmptyLook(CDC* dc);
  void UpdateVisibleRange();
  void StatusText(LPCSTR text);
  BOOL ShowExtension() const;
  CString SettingName(LPCSTR entry, LPCSTR inPlaceEntry) const;
  int SelectedCount() const;
  void DeleteSelected(BOOL toRecycleBin);

  SlideMetrics m_metrics[2];
  int m_nMetricsInUse;
  CTypedPtrArray<CPtrArray, cSlideHelper*> m_cells;
  int m_nCells;
  int m_nExtraX, m_nExtraY;
  int m_nSortCriterion;
  int m_nSlideSize;
  int m_nAnchor;
  COLORREF m_background;
  mutable cRWLockData m_lockData;
  CWinThread* m_pLoader;
  BOOL m_bStopLoader;
  BOOL m_bBusy;
  BOOL m_bRefreshPending;
  std::vector<int> m_ready;
  CRgn m_invalid;
  COleDropTarget m_dropTarget;
  cFileSystemMonitor m_monitor;
  cNameEdit m_nameEdit;
  int m_nEditIndex;
  BOOL m_bInPlace;
  BOOL m_bActive;
  BOOL m_bSizing;
  CBitmap m_cellBitmaps[3];
  CSize m_cellBitmapSize;
  int m_nNextCellBitmap;
  // Loader order: the cells on screen first.
  std::atomic<int> m_visibleFirst, m_visibleLast;
  // Mouse press: the cell and the part pressed, and whether the selection waits for the button-up.
  int m_nPressIndex;
  int m_nPressPart;
  BOOL m_bPressDeferred;
  CPoint m_pressPoint;
  UINT m_nPressFlags;
  int m_nRefreshes;
  DWORD m_dropEffect;
};
