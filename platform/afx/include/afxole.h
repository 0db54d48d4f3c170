// Data transfer, drag and drop, and document-object containers for framework programs, over ole32: data
// sources offering formats now or on demand (drag sources, the clipboard), data objects reading what a
// drop or the clipboard offers, drop sources and drop targets that route a drag to a window's overridables,
// and containers that embed outside servers (COleDocument, COleClientItem, COleDocObjectItem) with menu
// merging. Used by the launch bar and slide table (drag and drop), the host's document-object documents,
// and whatever copies to the clipboard; docs/architecture.md ("Automation and OLE") shows each piece.
#pragma once
#include <docobj.h>

#include "afxdisp.h"

class COleDropSource;

// What a drop does: DROPEFFECT_NONE, _COPY, _MOVE, _LINK, combined as the source allows.
typedef DWORD DROPEFFECT;

// ---------------------------------------------------------------------------------------------
// Data sources and data objects.

// What a program offers for a drag or on the clipboard: formats cached now (global memory or any medium,
// owned by the source) or rendered on demand (OnRenderGlobalData/OnRenderData). Make it with new; after
// DoDragDrop release it with InternalRelease, after SetClipboard the clipboard owns it.
class AFX_API COleDataSource : public CCmdTarget {
 public:
  COleDataSource();
  ~COleDataSource() override;

  // The source takes over data (or the medium); a format cached again replaces the old data.
  void CacheGlobalData(CLIPFORMAT format, HGLOBAL data, LPFORMATETC formatEtc = NULL);
  void CacheData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc = NULL);
  // Offers format without data: it is rendered when a reader asks for it.
  void DelayRenderData(CLIPFORMAT format, LPFORMATETC formatEtc = NULL);
  void Empty();

  // Drags the data: the drag starts once the mouse leaves startDragRect (screen coordinates; null: the
  // system's drag rectangle around the cursor) and ends with a drop, a cancel or Esc. The effect the target
  // chose for a drop, DROPEFFECT_NONE otherwise (also when the drag never started).
  DROPEFFECT DoDragDrop(DWORD effects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                        LPCRECT startDragRect = NULL, COleDropSource* dropSource = NULL);
  // Puts the data on the clipboard; the clipboard takes the source over (the caller's reference goes).
  // Throws COleException when the clipboard cannot be set; the source then stays the caller's.
  void SetClipboard();
  // Renders what the clipboard holds of this program, so that it stays after the program ends.
  static void PASCAL FlushClipboard();
  // The source on the clipboard when it is this program's, else null.
  static COleDataSource* PASCAL GetClipboardOwner();

  // Renders a delayed format into global memory (a new block in *global, or the caller's block to fill);
  // the base has none.
  virtual BOOL OnRenderGlobalData(LPFORMATETC formatEtc, HGLOBAL* global);
  // Renders a delayed format into any medium; the base asks OnRenderGlobalData for TYMED_HGLOBAL.
  virtual BOOL OnRenderData(LPFORMATETC formatEtc, LPSTGMEDIUM medium);

 protected:
  struct Entry;
  Entry* Find(const FORMATETC* wanted, BOOL* tymedMismatch = NULL);
  Entry* Add(CLIPFORMAT format, LPFORMATETC formatEtc);
  CPtrArray m_entries;  // Entry*

  BEGIN_INTERFACE_PART(DataObject, IDataObject)
    STDMETHOD(GetData)(LPFORMATETC formatEtc, LPSTGMEDIUM medium) override;
    STDMETHOD(GetDataHere)(LPFORMATETC formatEtc, LPSTGMEDIUM medium) override;
    STDMETHOD(QueryGetData)(LPFORMATETC formatEtc) override;
    STDMETHOD(GetCanonicalFormatEtc)(LPFORMATETC in, LPFORMATETC out) override;
    STDMETHOD(SetData)(LPFORMATETC formatEtc, LPSTGMEDIUM medium, BOOL release) override;
    STDMETHOD(EnumFormatEtc)(DWORD direction, LPENUMFORMATETC* formats) override;
    STDMETHOD(DAdvise)(LPFORMATETC formatEtc, DWORD flags, LPADVISESINK sink, DWORD* connection) override;
    STDMETHOD(DUnadvise)(DWORD connection) override;
    STDMETHOD(EnumDAdvise)(LPENUMSTATDATA* advises) override;
  END_INTERFACE_PART(DataObject)
  DECLARE_INTERFACE_MAP()
};

// Reads data another program (or this one) offers: a drop's data object or the clipboard's.
class AFX_API COleDataObject {
 public:
  COleDataObject();
  ~COleDataObject();  // Release
  COleDataObject(const COleDataObject&) = delete;
  COleDataObject& operator=(const COleDataObject&) = delete;

  void Attach(LPDATAOBJECT dataObject, BOOL autoRelease = TRUE);
  LPDATAOBJECT Detach();
  void Release();
  // What the clipboard holds now; false when it cannot be read.
  BOOL AttachClipboard();
  LPDATAOBJECT GetIDataObject(BOOL addRef);

  BOOL IsDataAvailable(CLIPFORMAT format, LPFORMATETC formatEtc = NULL);
  // The medium of format (the caller releases it with ReleaseStgMedium); false when not offered.
  BOOL GetData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc = NULL);
  // format in global memory the caller owns (GlobalFree); null when not offered.
  HGLOBAL GetGlobalData(CLIPFORMAT format, LPFORMATETC formatEtc = NULL);
  // The files of a CF_HDROP (lists of wide names come in the ANSI code page); false without one.
  BOOL GetFileNames(CStringArray& names);
  // The formats offered, one after the other.
  void BeginEnumFormats();
  BOOL GetNextFormat(LPFORMATETC formatEtc);

 protected:
  LPDATAOBJECT m_lpDataObject;
  LPENUMFORMATETC m_lpEnumerator;
  BOOL m_bAutoRelease;
};

// Shell formats of a list of files, in global memory the caller owns (or hands to a data source).
// CF_HDROP: a DROPFILES header (ANSI names) and each full path with its terminator, then one more.
AFX_API HGLOBAL AFXAPI AfxCreateDropFiles(const CStringArray& paths);
// "Shell IDList Array": the folder's item identifier list and each file's relative to it; null when the
// shell does not know the folder or one of the names.
AFX_API HGLOBAL AFXAPI AfxCreateShellIDList(LPCSTR folder, const CStringArray& names);

// ---------------------------------------------------------------------------------------------
// Drag and drop.

// The dragging side: decides when a drag starts, goes on, drops or ends, and which cursor shows.
class AFX_API COleDropSource : public CCmdTarget {
 public:
  COleDropSource();
  // The base cancels on Esc or when the other mouse button is pressed, drops when the button that
  // started the drag is released, else goes on.
  virtual SCODE QueryContinueDrag(BOOL escapePressed, DWORD keyState);
  // The base leaves the cursors to the system.
  virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
  // Before the drag: true once the mouse leaves m_rectStartDrag (or the system's drag delay passes with
  // the button held), false when a button is released or pressed, Esc is pressed or the capture is lost.
  // wnd takes the mouse meanwhile.
  virtual BOOL OnBeginDrag(CWnd* wnd);

  CRect m_rectStartDrag;  // screen coordinates
  DWORD m_dwButtonDrop;   // the button that started the drag (MK_LBUTTON or MK_RBUTTON)
  DWORD m_dwButtonCancel; // the other one

 protected:
  BEGIN_INTERFACE_PART(DropSource, IDropSource)
    STDMETHOD(QueryContinueDrag)(BOOL escapePressed, DWORD keyState) override;
    STDMETHOD(GiveFeedback)(DWORD dropEffect) override;
  END_INTERFACE_PART(DropSource)
  DECLARE_INTERFACE_MAP()
  friend class COleDataSource;
};

// A window as a drop target: Register it on a window; the overridables receive the window, the data, the
// key state (MK_*) and the point in the window's client coordinates. The bases route to the window's own
// overridables when it is a view (CView::OnDragEnter and the others) and refuse otherwise. The effect a
// target returns is narrowed to what the source allows.
class AFX_API COleDropTarget : public CCmdTarget {
 public:
  COleDropTarget();
  ~COleDropTarget() override;  // revokes
  BOOL Register(CWnd* wnd);
  virtual void Revoke();
  CWnd* GetWindow() const { return CWnd::FromHandle(m_hWnd); }

  virtual DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
  virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
  virtual void OnDragLeave(CWnd* wnd);
  virtual BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point);
  // The drop with the effect OnDragOver chose and the effects allowed; -1 leaves it to OnDrop.
  virtual DROPEFFECT OnDropEx(CWnd* wnd, COleDataObject* data, DROPEFFECT defaultEffect, DROPEFFECT allowed,
                              CPoint point);

 protected:
  HWND m_hWnd;
  COleDataObject m_data;  // the data of the drag in progress

  BEGIN_INTERFACE_PART(DropTarget, IDropTarget)
    STDMETHOD(DragEnter)(LPDATAOBJECT data, DWORD keyState, POINTL point, LPDWORD effect) override;
    STDMETHOD(DragOver)(DWORD keyState, POINTL point, LPDWORD effect) override;
    STDMETHOD(DragLeave)() override;
    STDMETHOD(Drop)(LPDATAOBJECT data, DWORD keyState, POINTL point, LPDWORD effect) override;
  END_INTERFACE_PART(DropTarget)
  DECLARE_INTERFACE_MAP()
};

// ---------------------------------------------------------------------------------------------
// Menu merging (the OLE menu groups: File, Edit, Container, Object, Window, Help; a container fills the
// even groups, an object the odd ones).

// Merges source's top-level items into shared, group by group: source's groups are separated by
// separators and are the groups widthIndex, widthIndex + 2 and widthIndex + 4 (0: a container's, 1: an
// object's); each goes where the groups before it end, and its width is written to widths. Groups beyond
// the third join the third. With mergeHelp an object's Help popup goes into the container's Help popup
// (counted as group 5 with width 1) as a submenu, and is returned; null otherwise.
AFX_API HMENU AFXAPI AfxMergeMenus(HMENU shared, HMENU source, LONG* widths, int widthIndex, BOOL mergeHelp = FALSE);
// Takes source's popups and commands out of shared again (without destroying them), and help out of the
// popup it was merged into.
AFX_API void AFXAPI AfxUnmergeMenus(HMENU shared, HMENU source, HMENU help = NULL);

// ---------------------------------------------------------------------------------------------
// Document-object containers.

class COleDocument;
class COleFrameHook;

enum OLE_NOTIFICATION { OLE_CHANGED, OLE_SAVED, OLE_CLOSED, OLE_RENAMED, OLE_CHANGED_STATE, OLE_CHANGED_ASPECT };

// Something a COleDocument holds.
class AFX_API CDocItem : public CCmdTarget {
  DECLARE_DYNAMIC(CDocItem)
 public:
  COleDocument* GetDocument() const { return m_pDocument; }

 protected:
  CDocItem();
  ~CDocItem() override;  // leaves its document
  COleDocument* m_pDocument;
  friend class COleDocument;
};

// A document that embeds objects: it owns its items (deleted with it), closes them when it closes and
// deactivates those shown in a frame that closes.
class AFX_API COleDocument : public CDocument {
  DECLARE_DYNAMIC(COleDocument)
 public:
  COleDocument();
  ~COleDocument() override;

  void AddItem(CDocItem* item);
  void RemoveItem(CDocItem* item);
  POSITION GetStartPosition() const { return m_docItemList.GetHeadPosition(); }
  CDocItem* GetNextItem(POSITION& pos) const { return static_cast<CDocItem*>(m_docItemList.GetNext(pos)); }
  // The next item that is a COleClientItem (others are skipped); null at the end.
  class COleClientItem* GetNextClientItem(POSITION& pos) const;
  // The item active in place in wnd (a view of this document, or a frame showing one); null when none.
  virtual class COleClientItem* GetInPlaceActiveItem(CWnd* wnd);

  void OnCloseDocument() override;
  void PreCloseFrame(CFrameWnd* frame) override;

 protected:
  CPtrList m_docItemList;
};

// An embedded object of a COleDocument: created new or from a file, activated (in place in a view, or
// open in its server's window), told of changes, closed and released. The item is the object's client
// site, advise sink and in-place site; a subclass adds interfaces for the object through its own
// interface map (an IOleCommandTarget, for example).
class AFX_API COleClientItem : public CDocItem {
  DECLARE_DYNAMIC(COleClientItem)
 public:
  enum ItemState { emptyState, loadedState, openState, activeState, activeUIState };

  explicit COleClientItem(COleDocument* container = NULL);  // joins container
  ~COleClientItem() override;  // Release

  // A new object of clsid, kept in the item's own storage; false when it cannot be created.
  virtual BOOL CreateNewItem(REFCLSID clsid, OLERENDER render = OLERENDER_DRAW, CLIPFORMAT format = 0,
                             LPFORMATETC formatEtc = NULL);
  // An object made from a file's content (its class from clsid, else from the file); false on failure.
  virtual BOOL CreateFromFile(LPCSTR fileName, REFCLSID clsid = CLSID_NULL, OLERENDER render = OLERENDER_DRAW,
                              CLIPFORMAT format = 0, LPFORMATETC formatEtc = NULL);
  // Carries out verb (OLEIVERB_SHOW, OLEIVERB_INPLACEACTIVATE, ...) with view as the place to show it in;
  // Activate throws COleException, DoVerb tells the user and returns false.
  virtual void Activate(LONG verb, CView* view, LPMSG msg = NULL);
  BOOL DoVerb(LONG verb, CView* view, LPMSG msg = NULL);
  // Ends in-place activation (Deactivate) or only the object's user interface (DeactivateUI).
  void Deactivate();
  void DeactivateUI();
  // Ends activation and lets the server save (option: OLECLOSE_SAVEIFDIRTY, _NOSAVE, _PROMPTSAVE).
  virtual void Close(OLECLOSE option = OLECLOSE_SAVEIFDIRTY);
  // Closes and lets go of the object and its storage; the item stays, empty.
  virtual void Release(OLECLOSE option = OLECLOSE_NOSAVE);
  // Release, leave the document, and delete the item.
  void Delete();

  UINT GetItemState() const { return m_nItemState; }
  BOOL IsInPlaceActive() const { return m_nItemState == activeState || m_nItemState == activeUIState; }
  // The object's window while it is active in place.
  CWnd* GetInPlaceWindow();
  CView* GetActiveView() const { return m_pView; }
  LPOLEOBJECT GetOleObject() const { return m_lpObject; }
  // Tells the object active in place where it is (null: from OnGetItemPosition and OnGetClipRect).
  virtual BOOL SetItemRects(LPCRECT position = NULL, LPCRECT clip = NULL);

  // What the object reports; the base does nothing.
  virtual void OnChange(OLE_NOTIFICATION notification, DWORD param);
  // Where the object goes in the view, and what of it shows; the base takes the view's client area.
  virtual void OnGetItemPosition(CRect& position);
  virtual void OnGetClipRect(CRect& clip);
  // The object moved itself while active in place; the base accepts.
  virtual BOOL OnChangeItemPosition(const CRect& position);
  virtual BOOL CanActivate();
  // The object became active in place, or its user interface did, or either ended.
  virtual void OnActivate();
  virtual void OnActivateUI();
  virtual void OnDeactivateUI(BOOL undoable);
  virtual void OnDeactivate();

 protected:
  BOOL FinishCreate(HRESULT created);
  BOOL CreateStorage();
  // The frame and document window around the view, with their hooks made when missing.
  BOOL GetWindowContext(LPOLEINPLACEFRAME* frame, LPOLEINPLACEUIWINDOW* document, LPOLEINPLACEFRAMEINFO info);
  void ReleaseHooks();
  HMENU ContainerMenu() const;
  HACCEL ContainerAccelerators() const;

  LPOLEOBJECT m_lpObject;
  LPSTORAGE m_lpStorage;
  LPLOCKBYTES m_lpLockBytes;
  LPOLEINPLACEOBJECT m_lpInPlaceObject;
  DWORD m_dwConnection;
  UINT m_nItemState;
  CView* m_pView;
  COleFrameHook* m_pInPlaceFrame;
  COleFrameHook* m_pInPlaceDoc;
  friend class COleFrameHook;
  friend class COleDocument;

  BEGIN_INTERFACE_PART(OleClientSite, IOleClientSite)
    STDMETHOD(SaveObject)() override;
    STDMETHOD(GetMoniker)(DWORD assign, DWORD which, LPMONIKER* moniker) override;
    STDMETHOD(GetContainer)(LPOLECONTAINER* container) override;
    STDMETHOD(ShowObject)() override;
    STDMETHOD(OnShowWindow)(BOOL show) override;
    STDMETHOD(RequestNewObjectLayout)() override;
  END_INTERFACE_PART(OleClientSite)

  BEGIN_INTERFACE_PART(AdviseSink, IAdviseSink)
    STDMETHOD_(void, OnDataChange)(LPFORMATETC formatEtc, LPSTGMEDIUM medium) override;
    STDMETHOD_(void, OnViewChange)(DWORD aspect, LONG index) override;
    STDMETHOD_(void, OnRename)(LPMONIKER moniker) override;
    STDMETHOD_(void, OnSave)() override;
    STDMETHOD_(void, OnClose)() override;
  END_INTERFACE_PART(AdviseSink)

  BEGIN_INTERFACE_PART(OleIPSite, IOleInPlaceSite)
    STDMETHOD(GetWindow)(HWND* wnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL enter) override;
    STDMETHOD(CanInPlaceActivate)() override;
    STDMETHOD(OnInPlaceActivate)() override;
    STDMETHOD(OnUIActivate)() override;
    STDMETHOD(GetWindowContext)(LPOLEINPLACEFRAME* frame, LPOLEINPLACEUIWINDOW* document, LPRECT position,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    STDMETHOD(Scroll)(SIZE extent) override;
    STDMETHOD(OnUIDeactivate)(BOOL undoable) override;
    STDMETHOD(OnInPlaceDeactivate)() override;
    STDMETHOD(DiscardUndoState)() override;
    STDMETHOD(DeactivateAndUndo)() override;
    STDMETHOD(OnPosRectChange)(LPCRECT position) override;
  END_INTERFACE_PART(OleIPSite)

  DECLARE_INTERFACE_MAP()
};

// An embedded document object (an IOleDocument server, such as a word processor's document): it shows
// itself as a view of its own filling the item's place, and takes commands through IOleCommandTarget.
class AFX_API COleDocObjectItem : public COleClientItem {
  DECLARE_DYNAMIC(COleDocObjectItem)
 public:
  explicit COleDocObjectItem(COleDocument* container = NULL);
  ~COleDocObjectItem() override;

  // Sends a command to the object (group null: the standard commands); in and out are the command's
  // arguments (may be null). The object's answer, OLECMDERR_E_NOTSUPPORTED when it takes no commands.
  HRESULT ExecCommand(DWORD commandId, DWORD execOption = OLECMDEXECOPT_DONTPROMPTUSER, const GUID* group = NULL,
                      VARIANT* in = NULL, VARIANT* out = NULL);
  // The OLECMDF_ flags of a command (0 when the object does not know it).
  DWORD QueryCommand(DWORD commandId, const GUID* group = NULL);
  // The object's view while it is active.
  LPOLEDOCUMENTVIEW GetActiveDocumentView() const { return m_pActiveDocView; }

  // A document object is its server's own object, not one behind the system's embedding handler: it is
  // shown as a view and driven through interfaces of its own (IOleDocument, IOleCommandTarget), which a
  // handler does not pass on everywhere (Wine's does not for programs). render and format do not apply.
  BOOL CreateNewItem(REFCLSID clsid, OLERENDER render = OLERENDER_NONE, CLIPFORMAT format = 0,
                     LPFORMATETC formatEtc = NULL) override;
  // The server opens the file itself (IPersistFile), so that what the user saves goes back to the file;
  // an object that cannot open files gets a copy of the file's content as an embedding.
  BOOL CreateFromFile(LPCSTR fileName, REFCLSID clsid = CLSID_NULL, OLERENDER render = OLERENDER_NONE,
                      CLIPFORMAT format = 0, LPFORMATETC formatEtc = NULL) override;
  void Close(OLECLOSE option = OLECLOSE_SAVEIFDIRTY) override;
  BOOL SetItemRects(LPCRECT position = NULL, LPCRECT clip = NULL) override;

 protected:
  // The server's object of clsid with this item as its site; null when it cannot be made.
  LPOLEOBJECT CreateServerObject(REFCLSID clsid);
  // The object's command target: the document's, else its active view's (a reference, or null).
  LPOLECOMMANDTARGET GetCommandTarget();
  void CloseDocumentView();
  LPOLEDOCUMENTVIEW m_pActiveDocView;

  BEGIN_INTERFACE_PART(OleDocumentSite, IOleDocumentSite)
    STDMETHOD(ActivateMe)(LPOLEDOCUMENTVIEW view) override;
  END_INTERFACE_PART(OleDocumentSite)
  DECLARE_INTERFACE_MAP()
};
