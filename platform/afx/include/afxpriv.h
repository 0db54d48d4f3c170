// The framework's docking and preview machinery, for code that extends it (the extension layer's dock bars
// and dockable frames, the Gallery's preview): dock bars with their rows of bars (CDockBar), the floating
// frame (CMiniDockFrameWnd), the drag helper that moves a bar between sides and out to float (CDockContext),
// the print preview window (CPreviewView) and the framework's private window messages.
#pragma once
#include "afxext.h"

// Framework messages of bars and help (numbers in the framework's private message block).
#define WM_COMMANDHELP 0x0365  // help for the current command/window: lParam the context, result handled
#define WM_HELPHITTEST 0x0366  // which help context is at lParam (client point): result the context, 0 none

// Help context bases: a window's or command's id added to its base gives the help context it is shown under.
#define HID_BASE_COMMAND 0x00010000UL
#define HID_BASE_RESOURCE 0x00020000UL
#define HID_BASE_PROMPT 0x00030000UL
#define HID_BASE_NCAREAS 0x00040000UL
#define HID_BASE_CONTROL 0x00050000UL

// A side of a frame where bars dock, or the inside of a floating frame. Holds its bars in rows: m_arrBars
// lists them in order, a null entry ending each row (the list starts with one). Its layout places each row's
// bars one after the other, keeping a bar where it was put when there is room, and takes the thickness of its
// rows from the frame (WM_SIZEPARENT), so the frame's other panes get what is left.
class AFX_API CDockBar : public CControlBar {
  DECLARE_DYNCREATE(CDockBar)
 public:
  explicit CDockBar(BOOL floating = FALSE);
  ~CDockBar() override;
  // style: WS_* plus the side's CBRS_ALIGN_*; id: AFX_IDW_DOCKBAR_*.
  BOOL Create(CWnd* parent, DWORD style, UINT id);

  BOOL IsDockBar() const override { return TRUE; }
  int GetCount() const override;
  CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
  void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
  void GetBarInfo(CControlBarInfo* info) override;
  void SetBarInfo(CControlBarInfo* info, CFrameWnd* frame) override;

  // Adds bar: at the place of rect (screen coordinates: the row it falls in, ordered along the row), or
  // without one as a new last row. The bar leaves the dock bar it was in.
  virtual void DockControlBar(CControlBar* bar, LPCRECT rect = NULL);
  // Takes bar out of the rows; false when it was not here.
  virtual BOOL RemoveControlBar(CControlBar* bar);
  // Puts bar in row at position in that row; with position -1 it makes a new row before row (row equal to
  // the row count: a new last row). The bar must already be a child of this dock bar.
  void InsertControlBar(CControlBar* bar, int row, int position);
  // A floating frame's dock bar left without bars closes its frame; false when it still holds some.
  BOOL CloseIfEmpty();
  CControlBar* GetDockedControlBar(int index) const { return static_cast<CControlBar*>(m_arrBars[index]); }
  int FindBar(const CControlBar* bar) const;  // index in m_arrBars, -1 when absent
  int GetRowCount() const;
  // The row and position of bar, false when it is not here.
  BOOL GetBarPlace(const CControlBar* bar, int& row, int& position) const;
  int GetDockedVisibleCount() const;
  void ShowAll(BOOL show);

  BOOL m_bFloating;
  CPtrArray m_arrBars;  // CControlBar*, null between rows
  BOOL m_bLayoutQuery;  // computing sizes only
  CRect m_rectLayout;   // the space the frame offers while it lays out (client coordinates of the frame)

 protected:
  void RemoveEmptyRows();
  // The space the frame offers this side: the layout's rectangle while the frame lays out, else its client area.
  CSize GetLayoutSpace() const;
  // The row a rectangle's middle (client coordinates, across the rows) falls in: -1 before the first row,
  // the row count after the last.
  int RowAt(const CRect& rect) const;
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// The small frame a floating bar lives in: a tool window owned by the dock site, holding one dock bar
// (AFX_IDW_DOCKBAR_FLOAT) whose layout sets the frame's size. Closing it hides its bars; dragging its caption
// may dock them again; a double click on its caption docks them where they were last.
class AFX_API CMiniDockFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMiniDockFrameWnd)
 public:
  CMiniDockFrameWnd();
  virtual BOOL Create(CWnd* parent, DWORD barStyle);
  void RecalcLayout(BOOL notify = TRUE) override;
  // Shows the frame above the frame its bars belong to, without activating it.
  void ShowFloating();
  CDockBar m_wndDockBar;

 protected:
  afx_msg void OnClose();
  afx_msg void OnNcLButtonDown(UINT hitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT hitTest, CPoint point);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// Moves a bar with the mouse: from a press on its surface (or its floating frame's caption) it follows the
// pointer with a drag rectangle, thin where the bar would dock and thick where it would float, until the
// button is released (dock or float there) or Escape/losing the capture (nothing changes). Keeps where the
// bar was last docked and floated, for toggling and for the saved state.
class AFX_API CDockContext {
 public:
  explicit CDockContext(CControlBar* bar);
  virtual ~CDockContext();
  // point: the press in screen coordinates. Runs until the drag ends.
  virtual void StartDrag(CPoint point);
  // Docks a floating bar where it was last docked, or floats a docked one where it last floated.
  virtual void ToggleDocking();

  CControlBar* m_pBar;
  CFrameWnd* m_pDockSite;
  DWORD m_dwOverDockStyle;  // the side the pointer is over (0: it would float)
  CRect m_rectDragHorz;     // the bar's rectangle if it docked on a horizontal side
  CRect m_rectDragVert;     // ... on a vertical side
  CRect m_rectFrameDragHorz;  // the floating frame's rectangle if it floated horizontally
  CPoint m_ptLast;
  BOOL m_bDragging;

  // The last places.
  UINT m_uMRUDockID;
  CRect m_rectMRUDockPos;
  DWORD m_dwMRUFloatStyle;
  CPoint m_ptMRUFloatPos;

 protected:
  void InitLoop();
  void Move(CPoint point);
  void EndDrag();
  void CancelLoop();
  BOOL Track();
  // The side the drag rectangle is over, with the dock bar found there.
  DWORD CanDock(CDockBar** dockBar);
  void DrawFocusRect(BOOL removeOnly = FALSE);
  CRect m_rectLast;
  BOOL m_bLastThick;
  BOOL m_bHaveRect;
};

struct CPrintPreviewState;

// Print preview: takes the place of a frame's pane and shows the pages of a view, one or two at a time or one
// zoomed in, each drawn by the view's own OnPrint into a metafile whose reference is the printer, played
// scaled on a grey desk. Its dialog bar (AFX_IDD_PREVIEW_TOOLBAR) prints, pages, switches one/two pages,
// zooms and closes; closing returns the frame to the view.
class AFX_API CPreviewView : public CScrollView {
  DECLARE_DYNCREATE(CPreviewView)
 public:
  CPreviewView();
  ~CPreviewView() override;
  // Prepares the pass for printView and shows its first page; false when printing cannot be prepared.
  virtual BOOL SetPrintView(CView* printView);
  // The page shown first (1-based) and how many pages are shown.
  UINT GetCurrentPage() const { return m_nCurrentPage; }
  UINT GetPagesShown() const { return m_nPages; }
  BOOL IsZoomed() const { return m_nZoomState != zoomOut; }
  // The rectangle page (0 or 1) takes in the client area, empty when it is not shown.
  CRect GetPageRect(int page) const;
  // The metafile of page (rendered when needed); owned by the preview.
  HENHMETAFILE GetPageMetafile(UINT page);
  CView* GetPrintView() const { return m_pPrintView; }

  CPrintPreviewState* m_pPreviewState;
  CDialogBar* m_pToolBar;

  afx_msg void OnPreviewClose();
  afx_msg void OnPreviewPrint();
  afx_msg void OnNextPage();
  afx_msg void OnPrevPage();
  afx_msg void OnNumPageChange();
  afx_msg void OnZoomIn();
  afx_msg void OnZoomOut();
  afx_msg void OnUpdateNextPage(CCmdUI* ui);
  afx_msg void OnUpdatePrevPage(CCmdUI* ui);
  afx_msg void OnUpdateNumPageChange(CCmdUI* ui);
  afx_msg void OnUpdateZoomIn(CCmdUI* ui);
  afx_msg void OnUpdateZoomOut(CCmdUI* ui);

 protected:
  enum { zoomOut, zoomIn };
  void OnDraw(CDC* dc) override;
  // The document changed: the pages are drawn again.
  void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
  // Moves to page (clamped to the pass's pages) and repaints.
  void SetCurrentPage(UINT page);
  // Lays the pages out again, repaints them and names them on the message bar.
  void Refresh();
  void LayoutPages();
  // Whether the pass has page (asked of the view when the page count is not known).
  BOOL PageExists(UINT page);
  void ClearMetafiles();
  // "Page n" or "Pages n-m" on the frame's message bar.
  void ShowPageDescription();
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);

  CView* m_pPrintView;
  CPrintInfo* m_pPreviewInfo;
  CDC m_dcPrinter;  // the reference of every page
  CSize m_sizePage;  // printer page in device units
  UINT m_nCurrentPage;
  UINT m_nPages;  // 1 or 2
  int m_nZoomState;
  CRect m_rectPages[2];
  CMap<UINT, UINT, HENHMETAFILE, HENHMETAFILE> m_metafiles;  // null for a page the view has not got
  DECLARE_MESSAGE_MAP()
};

// What print preview took from the frame, to give it back when preview closes.
struct AFX_API CPrintPreviewState {
  CPrintPreviewState();
  HMENU hMenu;            // the frame's menu (removed during preview)
  UINT nIDMainPane;       // the id the hidden pane had
  HWND hWndMainPane;      // the pane preview took the place of
  CView* pViewActiveOld;  // the frame's active view before preview
  CPtrArray hiddenWnds;   // HWNDs of the bars and floating frames preview hid (shown again afterwards)
  HACCEL hAccelTable;
};
