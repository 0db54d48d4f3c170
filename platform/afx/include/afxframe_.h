// Frames (CFrameWnd, CMDIFrameWnd, CMDIChildWnd), views (CView, CScrollView, CSplitterWnd), documents
// and their templates. Included by afxwin.h.
//
// Commands route view -> document -> template -> frame (child frame, then main frame) -> application.
#pragma once

class CControlBar;
class CDockBar;
class CDockState;
class CMiniDockFrameWnd;
class CPreviewView;
class CPrintDialog;
struct CPrintPreviewState;

// Style of views made by frames.
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

// Frame styles.
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L
#define FWS_SNAPTOBARS 0x00002000L

// What a frame creates its view and document links from.
struct CCreateContext {
  CRuntimeClass* m_pNewViewClass = NULL;
  CDocument* m_pCurrentDoc = NULL;
  CDocTemplate* m_pNewDocTemplate = NULL;
  CView* m_pLastView = NULL;
  CFrameWnd* m_pCurrentFrame = NULL;
};

// Parameters of WM_SIZEPARENT during RepositionBars: each bar takes its part of rect.
struct AFX_SIZEPARENTPARAMS {
  HDWP hDWP;
  RECT rect;
  SIZE sizeTotal;
  BOOL bStretch;
};

// An object that attaches itself to a frame (OLE's in-place frame hook does, through m_pNotifyHook) and is
// told when the frame's layout changed (RecalcLayout with notify) and when modal user interface starts
// (FALSE) and ends (TRUE), so that it can pass both on to the objects it serves.
struct CFrameNotifyHook {
  virtual void OnRecalcLayout() = 0;
  virtual void OnEnableModeless(BOOL enable) = 0;
  // A popup of the frame's menu opens: true when it is the served object's, whose items the frame leaves
  // alone.
  virtual BOOL OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu) { return FALSE; }
  // A message before the frame translates it: true when the served object took it (its accelerators).
  virtual BOOL OnPreTranslateMessage(MSG* msg) { return FALSE; }
  // The menu the frame shows while the served object is active (a merged menu); null for the frame's own.
  virtual HMENU GetActiveMenu() { return NULL; }

 protected:
  ~CFrameNotifyHook() = default;
};

class AFX_API CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)
 public:
  CFrameWnd();
  ~CFrameWnd() override;

  BOOL Create(LPCSTR className, LPCSTR title, DWORD style = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
              CWnd* parent = NULL, LPCSTR menuName = NULL, DWORD exStyle = 0, CCreateContext* context = NULL);
  // Creates the frame from the resources numbered resourceId: menu, accelerators, icon and the title
  // string (its first newline-separated part).
  virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = NULL,
                         CCreateContext* context = NULL);
  BOOL LoadAccelTable(LPCSTR name);
  BOOL IsFrameWnd() const override { return TRUE; }

  CView* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView* view, BOOL notify = TRUE);
  virtual CDocument* GetActiveDocument();
  virtual CFrameWnd* GetActiveFrame() { return this; }
  CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
  void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
  virtual void ActivateFrame(int cmdShow = -1);
  virtual void OnUpdateFrameTitle(BOOL addToTitle);
  void UpdateFrameTitleForDocument(LPCSTR docName);
  // Installs the frame's menu; menuAlt (a merged menu, for example) replaces the default one.
  virtual void OnUpdateFrameMenu(HMENU menuAlt);
  // Lays out the bars and the pane; with notify the frame's hook hears of it.
  virtual void RecalcLayout(BOOL notify = TRUE);
  // The same at the next idle time (several requests make one layout).
  void DelayRecalcLayout(BOOL notify = TRUE);
  // The status-line text of a command: the first newline-separated part of its prompt string.
  virtual void GetMessageString(UINT id, CString& message) const;
  // Shows a status-line text: on the message bar when the frame has one (AFX_IDW_STATUS_BAR).
  virtual void SetMessageText(LPCSTR text);
  void SetMessageText(UINT id);
  virtual CWnd* GetMessageBar();
  void SetTitle(LPCSTR title) { m_strTitle = title; }
  CString GetTitle() const { return m_strTitle; }
  virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }
  // While modal user interface runs over the frame: the frame and the enabled windows it owns (floating
  // bars, tool windows) are disabled and its menu commands are not carried out; nests. EndModalState
  // enables again exactly the windows BeginModalState disabled.
  void BeginModalState();
  void EndModalState();
  BOOL InModalState() const { return m_cModalStack != 0; }
  // Tells the hook that modal user interface starts (FALSE) or ends (TRUE).
  virtual void NotifyEnableModeless(BOOL enable);

  // Control bars (afxext.h, afxpriv.h). EnableDocking makes dock bars on the sides in dockStyle
  // (CBRS_ALIGN_*). DockControlBar puts a bar on a dock bar (by id, AFX_IDW_DOCKBAR_*; 0: the first side the
  // bar allows), in the row a rectangle (screen coordinates) falls in, or as a new row; FloatControlBar puts
  // it in a floating frame at a screen point. ShowControlBar with delay shows or hides at the next layout.
  // GetControlBar finds a bar or dock bar of this frame by id.
  void EnableDocking(DWORD dockStyle);
  void DockControlBar(CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = NULL);
  void DockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect = NULL);
  void FloatControlBar(CControlBar* bar, CPoint point, DWORD style = CBRS_ALIGN_TOP);
  void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
  CControlBar* GetControlBar(UINT id);
  // The side (CBRS_ALIGN_*) a bar that may dock on dockStyle would dock on at rect (screen), and its dock bar.
  DWORD CanDock(CRect rect, DWORD dockStyle, CDockBar** dockBar = NULL);
  // Saved bar state (afxadv.h): every bar's record, under the profile sections named by profileName.
  void SaveBarState(LPCSTR profileName) const;
  void LoadBarState(LPCSTR profileName);
  void GetDockState(CDockState& state) const;
  void SetDockState(const CDockState& state);
  // Bars join and leave the frame's list when they are created and destroyed.
  virtual void AddControlBar(CControlBar* bar);
  virtual void RemoveControlBar(CControlBar* bar);
  // A new floating frame for bars of style (CBRS_ALIGN_*), owned by this frame.
  CMiniDockFrameWnd* CreateFloatingFrame(DWORD style);
  // Print preview takes over the frame (its pane, bars and menu) and gives it back.
  virtual void OnSetPreviewMode(BOOL preview, CPrintPreviewState* state);
  // Context help (Shift+F1; map ID_CONTEXT_HELP to it): the pointer becomes the help cursor; the next click
  // shows help for what it hit (WM_HELPHITTEST), Escape or a right click ends the mode.
  afx_msg void OnContextHelp();
  BOOL InHelpMode() const { return m_bHelpMode; }

  CPtrList m_listControlBars;                  // CControlBar* of this frame, not owned
  CRuntimeClass* m_pFloatingFrameClass = NULL;  // of floating frames; CMiniDockFrameWnd when null
  CRuntimeClass* m_pDockBarClass = NULL;        // of the dock bars EnableDocking makes; CDockBar when null

  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  static const CRect rectDefault;
  HMENU m_hMenuDefault;
  HACCEL m_hAccelTable;
  UINT m_nIDHelp;
  BOOL m_bAutoMenuEnable;  // items without any handler are disabled
  CString m_strTitle;
  UINT m_nIDTracking;
  UINT m_nIDLastMessage;
  CFrameNotifyHook* m_pNotifyHook;  // not owned; null when nothing is attached

 protected:
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  void PostNcDestroy() override;
  virtual BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);
  int OnCreateHelper(LPCREATESTRUCT cs, CCreateContext* context);
  LPCSTR GetIconWndClass(DWORD style, UINT resourceId);
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnDestroy();
  afx_msg void OnClose();
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnSetFocus(CWnd* oldWnd);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
  afx_msg void OnMenuSelect(UINT item, UINT flags, HMENU menu);
  afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
  afx_msg void OnDropFiles(HDROP drop);
  afx_msg BOOL OnQueryEndSession();
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  // The view menu's bar commands (ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR: the bar of that id) and the key
  // indicators of the status bar.
  afx_msg BOOL OnBarCheck(UINT id);
  afx_msg void OnUpdateControlBarMenu(CCmdUI* ui);
  afx_msg void OnUpdateKeyIndicator(CCmdUI* ui);

  CView* m_pViewActive;
  BOOL m_bInRecalcLayout;
  int m_nIdleFlags;
  enum IdleFlags { idleLayout = 1, idleNotify = 2 };
  int m_cModalStack;
  CPtrArray m_modalDisabled;  // the windows BeginModalState disabled
  BOOL m_bHelpMode = FALSE;

  DECLARE_MESSAGE_MAP()
};

class AFX_API CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIFrameWnd)
 public:
  CMDIFrameWnd();
  BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = NULL,
                 CCreateContext* context = NULL) override;
  // Creates the MDICLIENT window with windowMenu as the window list's menu (first child id 0xFF00).
  virtual BOOL CreateClient(LPCREATESTRUCT cs, CMenu* windowMenu);
  virtual HMENU GetWindowMenuPopup(HMENU menuBar);
  CMDIChildWnd* MDIGetActive(BOOL* maximized = NULL) const;
  void MDIActivate(CWnd* child) { ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)child->m_hWnd, 0); }
  void MDIIconArrange() { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }
  void MDIMaximize(CWnd* child) { ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)child->m_hWnd, 0); }
  void MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
  void MDIRestore(CWnd* child) { ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, (WPARAM)child->m_hWnd, 0); }
  void MDICascade() { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
  void MDITile(int type = MDITILE_HORIZONTAL) { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, type, 0); }
  CMenu* MDISetMenu(CMenu* frameMenu, CMenu* windowMenu);

  CFrameWnd* GetActiveFrame() override;
  void OnUpdateFrameMenu(HMENU menuAlt) override;
  void OnUpdateFrameTitle(BOOL addToTitle) override;
  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void NotifyEnableModeless(BOOL enable) override;

  HWND m_hWndMDIClient;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnDestroy();
  afx_msg BOOL OnMDIWindowCmd(UINT id);
  afx_msg void OnUpdateMDIWindowCmd(CCmdUI* cmdUI);
  afx_msg void OnWindowNew();

  DECLARE_MESSAGE_MAP()
};

class AFX_API CMDIChildWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIChildWnd)
 public:
  CMDIChildWnd();
  virtual BOOL Create(LPCSTR className, LPCSTR title, DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                      const RECT& rect = rectDefault, CMDIFrameWnd* parent = NULL, CCreateContext* context = NULL);
  BOOL LoadFrame(UINT resourceId, DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* parent = NULL, CCreateContext* context = NULL) override;
  BOOL DestroyWindow() override;
  CMDIFrameWnd* GetMDIFrame() const;
  void MDIDestroy() { DestroyWindow(); }
  void MDIActivate();
  void MDIMaximize() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, (WPARAM)m_hWnd, 0); }
  void MDIRestore() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, (WPARAM)m_hWnd, 0); }
  // Puts this child's menu (the template's shared menu, or menuAlt) in the main frame when activating.
  virtual void OnUpdateFrameMenu(BOOL activate, CWnd* activateWnd, HMENU menuAlt);
  void OnUpdateFrameMenu(HMENU menuAlt) override { OnUpdateFrameMenu(TRUE, this, menuAlt); }
  void OnUpdateFrameTitle(BOOL addToTitle) override;
  void ActivateFrame(int cmdShow = -1) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  HMENU m_hMenuShared;  // the document template's menu

 protected:
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  afx_msg void OnMDIActivate(BOOL activate, CWnd* activateWnd, CWnd* deactivateWnd);
  afx_msg int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
  afx_msg void OnSize(UINT type, int cx, int cy);

  DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------------------------

// One printing or preview pass of a view: its print dialog (printer, page range the user chose, extra
// controls of a custom template), the document's page range (0xFFFF as the last page: not known), the page
// being drawn, its printable rectangle, and whether the pass goes on after this page. The views'
// OnPrepareDC and the printing overridables read and set it.
struct AFX_API CPrintInfo {
  enum { kUnknownPage = 0xFFFF };
  CPrintInfo();
  ~CPrintInfo();  // deletes the print dialog and the printer context made for the pass
  CPrintInfo(const CPrintInfo&) = delete;
  CPrintInfo& operator=(const CPrintInfo&) = delete;
  void SetMinPage(UINT page);
  void SetMaxPage(UINT page);
  UINT GetMinPage() const;
  UINT GetMaxPage() const;
  // The pages to print: the dialog's range when the user chose one, else the document's.
  UINT GetFromPage() const;
  UINT GetToPage() const;

  CPrintDialog* m_pPD;       // owned
  BOOL m_bDirect;            // printed on the current printer without asking (ID_FILE_PRINT_DIRECT)
  BOOL m_bPreview;           // drawn for the preview window, not for the printer
  BOOL m_bContinuePrinting;  // false: the pass ends after the current page
  UINT m_nCurPage;
  UINT m_nNumPreviewPages;   // pages preview shows at once (1 or 2)
  CString m_strPageDesc;     // preview's page texts (AFX_IDS_PREVIEWPAGEDESC)
  CRect m_rectDraw;          // the page's printable area in logical units
  LPVOID m_lpUserData;       // the view's own data for the pass
};

class COleDataObject;

class AFX_API CView : public CWnd {
  DECLARE_DYNAMIC(CView)
 public:
  CDocument* GetDocument() const { return m_pDocument; }
  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
  virtual void OnInitialUpdate();  // calls OnUpdate(NULL, 0, NULL)
  virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactivateView);
  virtual void OnActivateFrame(UINT state, CFrameWnd* frame);
  virtual BOOL IsSelected(const CObject* item) const { return FALSE; }
  // Drag and drop onto the view, routed by a COleDropTarget registered on it (afxole.h); points are in
  // client coordinates; effects are DROPEFFECT values. The bases refuse (no effect, nothing dropped);
  // OnDropEx's -1 leaves the drop to OnDrop.
  virtual DWORD OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point);
  virtual DWORD OnDragOver(COleDataObject* data, DWORD keyState, CPoint point);
  virtual void OnDragLeave();
  virtual BOOL OnDrop(COleDataObject* data, DWORD effect, CPoint point);
  virtual DWORD OnDropEx(COleDataObject* data, DWORD defaultEffect, DWORD allowed, CPoint point);

  // Printing: asks for the printer and range (OnPreparePrinting), starts the job, and for each page calls
  // OnPrepareDC and OnPrint between StartPage and EndPage, with a dialog that cancels it. Map ID_FILE_PRINT
  // and ID_FILE_PRINT_DIRECT to OnFilePrint, ID_FILE_PRINT_PREVIEW to OnFilePrintPreview.
  afx_msg void OnFilePrint();
  afx_msg void OnFilePrintPreview();

 protected:
  friend class CDocument;
  friend class CFrameWnd;
  friend class CPreviewView;
  // Sets the pass up: the base calls DoPreparePrinting. Returning false cancels it.
  virtual BOOL OnPreparePrinting(CPrintInfo* info);
  virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
  // Draws the page info->m_nCurPage; the base draws the view (OnDraw).
  virtual void OnPrint(CDC* dc, CPrintInfo* info);
  virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
  // Preview closes (point: where the user clicked, (-1,-1) for none); the base ends the pass and gives the
  // frame back.
  virtual void OnEndPrintPreview(CDC* dc, CPrintInfo* info, POINT point, CPreviewView* preview);
  // The print dialog (or, for preview and direct printing, the current printer); false when cancelled or
  // when there is no printer.
  BOOL DoPreparePrinting(CPrintInfo* info);
  // Shows preview of printView in the frame with the dialog bar toolbarId, the preview made from
  // previewViewClass (a CPreviewView), the frame's state kept in state (deleted by the preview).
  BOOL DoPrintPreview(UINT toolbarId, CView* printView, CRuntimeClass* previewViewClass, CPrintPreviewState* state);
  CView();
  ~CView() override;
  virtual void OnDraw(CDC* dc) = 0;
  // Prepares dc for drawing: on the screen (info null) or for a page of a printing or preview pass. The
  // base lets a pass whose page count is not known stop after its first page.
  virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = NULL);
  // Called by the document's UpdateAllViews; the base invalidates the whole view.
  virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  void PostNcDestroy() override;
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
  afx_msg LRESULT OnInitialUpdateMsg(WPARAM wParam, LPARAM lParam);

  CDocument* m_pDocument;

  DECLARE_MESSAGE_MAP()
};

class AFX_API CScrollView : public CView {
  DECLARE_DYNAMIC(CScrollView)
 public:
  static const SIZE sizeDefault;
  // Only MM_TEXT: other mapping modes throw CNotSupportedException. Default page: a tenth of the
  // total; default line: a tenth of the page.
  void SetScrollSizes(int mapMode, SIZE total, const SIZE& page = sizeDefault, const SIZE& line = sizeDefault);
  CPoint GetScrollPosition() const;
  CSize GetTotalSize() const { return m_totalLog; }
  void ScrollToPosition(POINT pos);
  void GetScrollBarSizes(CSize& page, CSize& line) const { page = m_pageDev; line = m_lineDev; }

 protected:
  CScrollView();
  // The scroll position moves the screen's origin; pages are drawn from the document's top left.
  void OnPrepareDC(CDC* dc, CPrintInfo* info = NULL) override;
  virtual BOOL OnScroll(UINT scrollCode, UINT pos, BOOL doScroll = TRUE);
  virtual BOOL OnScrollBy(CSize sizeScroll, BOOL doScroll = TRUE);
  void UpdateBars();
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);

  int m_nMapMode;
  CSize m_totalLog;
  CSize m_totalDev;
  CSize m_pageDev;
  CSize m_lineDev;

  DECLARE_MESSAGE_MAP()
};

// A static split of a frame into panes (one row of two, or two rows of one, up to 16 x 16), each pane a
// view created with CreateView; the bar between panes can be dragged.
class AFX_API CSplitterWnd : public CWnd {
  DECLARE_DYNAMIC(CSplitterWnd)
 public:
  CSplitterWnd();
  ~CSplitterWnd() override;
  BOOL CreateStatic(CWnd* parent, int rows, int cols, DWORD style = WS_CHILD | WS_VISIBLE,
                    UINT id = AFX_IDW_PANE_FIRST);
  virtual BOOL CreateView(int row, int col, CRuntimeClass* viewClass, SIZE initialSize, CCreateContext* context);
  CWnd* GetPane(int row, int col) const;
  int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
  int GetRowCount() const { return m_nRows; }
  int GetColumnCount() const { return m_nCols; }
  void SetColumnInfo(int col, int ideal, int minimum);
  void SetRowInfo(int row, int ideal, int minimum);
  void GetColumnInfo(int col, int& current, int& minimum) const;
  void GetRowInfo(int row, int& current, int& minimum) const;
  // A hidden column gives its width to the others; shown again it takes its ideal width back.
  void HideColumn(int col);
  void ShowColumn(int col);
  BOOL IsColumnHidden(int col) const { return m_pColInfo[col].hidden; }
  virtual void RecalcLayout();
  enum { kSplitterGap = 6 };

 protected:
 public:
  struct Info { int ideal; int minimum; int current; BOOL hidden; };

 protected:
  int HitTestBar(CPoint point) const;  // index of the bar under point, -1 none
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  int m_nRows, m_nCols;
  Info* m_pRowInfo;
  Info* m_pColInfo;
  int m_nTracking;  // bar being dragged, -1 none
  int m_nTrackOffset = 0;  // where in the bar the drag took hold of it

  DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------------------------
// Documents and templates.

class AFX_API CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)
 public:
  CDocument();
  ~CDocument() override;

  const CString& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(LPCSTR title);  // retitles the frames
  const CString& GetPathName() const { return m_strPathName; }
  virtual void SetPathName(LPCSTR path, BOOL addToMRU = TRUE);  // full path; title = the file name
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }

  void AddView(CView* view);
  void RemoveView(CView* view);
  POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
  CView* GetNextView(POSITION& pos) const { return static_cast<CView*>(m_viewList.GetNext(pos)); }
  void UpdateAllViews(CView* sender, LPARAM hint = 0L, CObject* hintObject = NULL);
  virtual void OnChangedViewList();  // closes the document when its last view went
  virtual void DeleteContents();

  virtual BOOL OnNewDocument();
  // Reads path with Serialize through an archive on GetFile's file; false (after telling the user) when
  // that failed.
  virtual BOOL OnOpenDocument(LPCSTR path);
  // Writes with Serialize to GetFile's file for path; the old file stays unless the whole save succeeded.
  virtual BOOL OnSaveDocument(LPCSTR path);
  // The file OnOpenDocument reads (modeRead) or OnSaveDocument writes (modeCreate); null, with error
  // filled in, when it cannot be had. A file for writing goes to a temporary beside fileName that
  // ReleaseFile(file, FALSE) moves over it (platform/safefile). Documents kept elsewhere (OLE storages)
  // override both.
  virtual CFile* GetFile(LPCSTR fileName, UINT openFlags, CFileException* error);
  // Ends and deletes a file from GetFile: abort after a failure (nothing of a save reaches the target),
  // else close it, which throws CFileException when a save cannot replace its target.
  virtual void ReleaseFile(CFile* file, BOOL abort);
  virtual void OnCloseDocument();
  virtual void ReportSaveLoadException(LPCSTR path, CException* e, BOOL saving, UINT defaultPromptId);
  virtual BOOL CanCloseFrame(CFrameWnd* frame);
  virtual BOOL SaveModified();  // asks Yes/No/Cancel when modified; false: cancelled or failed
  virtual BOOL DoSave(LPCSTR path, BOOL replace = TRUE);  // null path: ask for one
  virtual BOOL DoFileSave();
  virtual void PreCloseFrame(CFrameWnd* frame) {}

  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

  afx_msg void OnFileClose();
  afx_msg void OnFileSave();
  afx_msg void OnFileSaveAs();
  // Sends the document as a mail attachment through Simple MAPI (MAPI32.DLL loaded for the call, the mail
  // client's dialog over the main window): its file when it is saved and unchanged, else a copy written to a
  // temporary file for the message. Failures are told with the framework's messages; a cancelled mail is no
  // failure. Callers map their send command to it.
  afx_msg void OnFileSendMail();

  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate* m_pDocTemplate;
  CPtrList m_viewList;
  BOOL m_bModified;
  BOOL m_bAutoDelete;  // deleted when its last view closes
  BOOL m_bEmbedded;    // the document lives inside an OLE container (a hidden document is not embedded)

  DECLARE_MESSAGE_MAP()
};

class AFX_API CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)
 public:
  enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
  enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative, yesAlreadyOpen };

  ~CDocTemplate() override;
  virtual void LoadTemplate();  // the document strings (string resourceId) and the template's menu
  virtual BOOL GetDocString(CString& text, DocStringIndex index) const;
  virtual POSITION GetFirstDocPosition() const = 0;
  virtual CDocument* GetNextDoc(POSITION& pos) const = 0;
  virtual void AddDocument(CDocument* doc);
  virtual void RemoveDocument(CDocument* doc);
  // How well path fits: yesAlreadyOpen (match = that document), yesAttemptNative (the extension is
  // the template's filter extension), else yesAttemptForeign.
  virtual Confidence MatchDocType(LPCSTR path, CDocument*& match);
  virtual CDocument* CreateNewDocument();
  virtual CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
  virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible = TRUE);
  virtual BOOL SaveAllModified();
  virtual void CloseAllDocuments(BOOL endSession);
  // Null path: a new document; with makeVisible the frame is shown and activated.
  virtual CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) = 0;
  virtual void SetDefaultTitle(CDocument* doc) = 0;

  // OLE (afxole.h): the menu and accelerators a container shows around an object active in place
  // (SetContainerInfo), and the server's menus for embedding and in-place editing (SetServerInfo), loaded
  // from the resource chain; a missing menu throws CResourceException. The template destroys them.
  void SetContainerInfo(UINT containerId);
  void SetServerInfo(UINT embeddingId, UINT inPlaceServerId = 0);
  HMENU m_hMenuInPlace = NULL;
  HACCEL m_hAccelInPlace = NULL;
  HMENU m_hMenuEmbedding = NULL;
  HACCEL m_hAccelEmbedding = NULL;
  HMENU m_hMenuInPlaceServer = NULL;
  HACCEL m_hAccelInPlaceServer = NULL;

  UINT m_nIDResource;
  CRuntimeClass* m_pDocClass;
  CRuntimeClass* m_pFrameClass;
  CRuntimeClass* m_pViewClass;
  CString m_strDocStrings;

 protected:
  CDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);
};

class AFX_API CMultiDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CMultiDocTemplate)
 public:
  CMultiDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);
  ~CMultiDocTemplate() override;
  void LoadTemplate() override;
  POSITION GetFirstDocPosition() const override { return m_docList.GetHeadPosition(); }
  CDocument* GetNextDoc(POSITION& pos) const override { return static_cast<CDocument*>(m_docList.GetNext(pos)); }
  void AddDocument(CDocument* doc) override;
  void RemoveDocument(CDocument* doc) override;
  CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) override;
  void SetDefaultTitle(CDocument* doc) override;

  HMENU m_hMenuShared;
  HACCEL m_hAccelTable;
  CPtrList m_docList;
  UINT m_nUntitledCount;
};

class AFX_API CSingleDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CSingleDocTemplate)
 public:
  CSingleDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);
  ~CSingleDocTemplate() override;
  POSITION GetFirstDocPosition() const override { return m_pOnlyDoc ? POSITION(1) : NULL; }
  CDocument* GetNextDoc(POSITION& pos) const override { pos = NULL; return m_pOnlyDoc; }
  void AddDocument(CDocument* doc) override;
  void RemoveDocument(CDocument* doc) override;
  CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) override;
  void SetDefaultTitle(CDocument* doc) override;
  CDocument* m_pOnlyDoc;
};

// The application's list of templates and what it does with all of them.
class AFX_API CDocManager : public CObject {
  DECLARE_DYNAMIC(CDocManager)
 public:
  CDocManager();
  ~CDocManager() override;  // deletes the templates
  virtual void AddDocTemplate(CDocTemplate* docTemplate);
  POSITION GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }
  CDocTemplate* GetNextDocTemplate(POSITION& pos) const { return static_cast<CDocTemplate*>(m_templateList.GetNext(pos)); }
  virtual CDocument* OpenDocumentFile(LPCSTR path);
  virtual BOOL SaveAllModified();
  virtual void CloseAllDocuments(BOOL endSession);
  virtual int GetOpenDocumentCount();
  virtual void OnFileNew();
  virtual void OnFileOpen();
  virtual BOOL DoPromptFileName(CString& fileName, UINT titleId, DWORD flags, BOOL openFileDialog, CDocTemplate* docTemplate);
  CPtrList m_templateList;
};

// The filter text of a template for the file dialog: "name|*.ext|" (empty without a filter).
AFX_API CString AFXAPI AfxTemplateFilter(const CDocTemplate* docTemplate);
