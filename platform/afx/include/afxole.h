// Data transfer, drag and drop, and document-object containers for framework programs, over ole32: data
// sources offering formats now or on demand (drag sources, the clipboard), data objects reading what a
// drop or the clipboard offers, drop sources and drop targets that route a drag to a window's overridables,
// and containers that embed outside servers (COleDocument, COleClientItem, COleDocObjectItem) with menu
// merging. Used by the launch bar and slide table (drag and drop), the host's document-object documents,
// and whatever copies to the clipboard; docs/architecture.md ("Automation and OLE") shows each piece.
#pragma once
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
