// Common controls (comctl32): slider, spin button, progress bar, animation, image list, list and tree
// controls. Programs using them include this header; the controls' class names come from commctrl.h.
#pragma once
#include "afxwin.h"
#include <commctrl.h>

class AFX_API CSliderCtrl : public CWnd {
  DECLARE_DYNAMIC(CSliderCtrl)
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetPos() const { return int(::SendMessageA(m_hWnd, TBM_GETPOS, 0, 0)); }
  void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
  void SetRange(int minPos, int maxPos, BOOL redraw = FALSE) { SendMessage(TBM_SETRANGEMIN, FALSE, minPos); SendMessage(TBM_SETRANGEMAX, redraw, maxPos); }
  int GetRangeMin() const { return int(::SendMessageA(m_hWnd, TBM_GETRANGEMIN, 0, 0)); }
  int GetRangeMax() const { return int(::SendMessageA(m_hWnd, TBM_GETRANGEMAX, 0, 0)); }
  void SetTicFreq(int freq) { SendMessage(TBM_SETTICFREQ, freq); }
  int SetPageSize(int size) { return int(SendMessage(TBM_SETPAGESIZE, 0, size)); }
  int SetLineSize(int size) { return int(SendMessage(TBM_SETLINESIZE, 0, size)); }
};

class AFX_API CSpinButtonCtrl : public CWnd {
  DECLARE_DYNAMIC(CSpinButtonCtrl)
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetPos() const { return int(short(LOWORD(::SendMessageA(m_hWnd, UDM_GETPOS, 0, 0)))); }
  int SetPos(int pos) { return int(SendMessage(UDM_SETPOS, 0, MAKELONG(short(pos), 0))); }
  void SetRange(int lower, int upper) { SendMessage(UDM_SETRANGE32, lower, upper); }
  CWnd* SetBuddy(CWnd* buddy) { return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, WPARAM(AfxGetSafeHwnd(buddy))))); }
};

class AFX_API CProgressCtrl : public CWnd {
  DECLARE_DYNAMIC(CProgressCtrl)
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void SetRange(short lower, short upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
  int SetPos(int pos) { return int(SendMessage(PBM_SETPOS, pos)); }
  int GetPos() const { return int(::SendMessageA(m_hWnd, PBM_GETPOS, 0, 0)); }
  int OffsetPos(int delta) { return int(SendMessage(PBM_DELTAPOS, delta)); }
  int SetStep(int step) { return int(SendMessage(PBM_SETSTEP, step)); }
  int StepIt() { return int(SendMessage(PBM_STEPIT)); }
};

class AFX_API CAnimateCtrl : public CWnd {
  DECLARE_DYNAMIC(CAnimateCtrl)
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  BOOL Open(LPCSTR fileName) { return BOOL(SendMessage(ACM_OPENA, 0, LPARAM(fileName))); }
  BOOL Open(UINT id) { return BOOL(SendMessage(ACM_OPENA, WPARAM(AfxGetResourceHandle()), LPARAM(MAKEINTRESOURCEA(id)))); }
  BOOL Play(UINT from, UINT to, UINT rep) { return BOOL(SendMessage(ACM_PLAY, rep, MAKELONG(from, to))); }
  BOOL Stop() { return BOOL(SendMessage(ACM_STOP)); }
  BOOL Close() { return BOOL(SendMessage(ACM_OPENA)); }
};

class AFX_API CImageList : public CObject {
  DECLARE_DYNCREATE(CImageList)
 public:
  CImageList() : m_hImageList(NULL) {}
  ~CImageList() override { DeleteImageList(); }
  BOOL Create(int cx, int cy, UINT flags, int initial, int grow) { return Attach(ImageList_Create(cx, cy, flags, initial, grow)); }
  BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
  BOOL Attach(HIMAGELIST list) { if (!list) return FALSE; DeleteImageList(); m_hImageList = list; return TRUE; }
  HIMAGELIST Detach() { HIMAGELIST h = m_hImageList; m_hImageList = NULL; return h; }
  BOOL DeleteImageList() { if (!m_hImageList) return FALSE; ImageList_Destroy(Detach()); return TRUE; }
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }
  operator HIMAGELIST() const { return m_hImageList; }
  int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
  int Add(CBitmap* bitmap, CBitmap* mask) { return ImageList_Add(m_hImageList, *bitmap, mask ? HBITMAP(*mask) : NULL); }
  int Add(CBitmap* bitmap, COLORREF mask) { return ImageList_AddMasked(m_hImageList, *bitmap, mask); }
  int Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
  int Replace(int index, HICON icon) { return ImageList_ReplaceIcon(m_hImageList, index, icon); }
  BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
  BOOL Draw(CDC* dc, int image, POINT p, UINT style) { return ImageList_Draw(m_hImageList, image, dc->m_hDC, p.x, p.y, style); }
  COLORREF SetBkColor(COLORREF c) { return ImageList_SetBkColor(m_hImageList, c); }
  BOOL GetImageInfo(int image, IMAGEINFO* info) const { return ImageList_GetImageInfo(m_hImageList, image, info); }
  HICON ExtractIcon(int image) { return ImageList_GetIcon(m_hImageList, image, ILD_NORMAL); }
  HIMAGELIST m_hImageList;
};

class AFX_API CListCtrl : public CWnd {
  DECLARE_DYNAMIC(CListCtrl)
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetItemCount() const { return ListView_GetItemCount(m_hWnd); }
  int InsertItem(int item, LPCSTR text, int image = -1);
  int InsertItem(const LVITEMA* item) { return int(SendMessage(LVM_INSERTITEMA, 0, LPARAM(item))); }
  BOOL SetItemText(int item, int sub, LPCSTR text);
  CString GetItemText(int item, int sub) const;
  BOOL DeleteItem(int item) { return ListView_DeleteItem(m_hWnd, item); }
  BOOL DeleteAllItems() { return ListView_DeleteAllItems(m_hWnd); }
  BOOL SetItemData(int item, DWORD_PTR data);
  DWORD_PTR GetItemData(int item) const;
  UINT GetItemState(int item, UINT mask) const { return ListView_GetItemState(m_hWnd, item, mask); }
  BOOL SetItemState(int item, UINT state, UINT mask);
  int GetNextItem(int item, int flags) const { return ListView_GetNextItem(m_hWnd, item, flags); }
  UINT GetSelectedCount() const { return ListView_GetSelectedCount(m_hWnd); }
  int InsertColumn(int col, LPCSTR heading, int format = LVCFMT_LEFT, int width = -1, int sub = -1);
  BOOL DeleteColumn(int col) { return ListView_DeleteColumn(m_hWnd, col); }
  int GetColumnWidth(int col) const { return ListView_GetColumnWidth(m_hWnd, col); }
  BOOL SetColumnWidth(int col, int cx) { return ListView_SetColumnWidth(m_hWnd, col, cx); }
  CImageList* SetImageList(CImageList* list, int type);
  BOOL EnsureVisible(int item, BOOL partialOK) { return ListView_EnsureVisible(m_hWnd, item, partialOK); }
  int HitTest(POINT p, UINT* flags = NULL) const;
  BOOL GetItemRect(int item, LPRECT rect, UINT code) const { return ListView_GetItemRect(m_hWnd, item, rect, code); }
  DWORD SetExtendedStyle(DWORD style) { return DWORD(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style)); }
  BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data) { return BOOL(SendMessage(LVM_SORTITEMS, data, LPARAM(compare))); }
};

class AFX_API CTreeCtrl : public CWnd {
  DECLARE_DYNAMIC(CTreeCtrl)
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  HTREEITEM InsertItem(LPCSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
  HTREEITEM InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
  BOOL DeleteItem(HTREEITEM item) { return TreeView_DeleteItem(m_hWnd, item); }
  BOOL DeleteAllItems() { return TreeView_DeleteAllItems(m_hWnd); }
  CString GetItemText(HTREEITEM item) const;
  BOOL SetItemText(HTREEITEM item, LPCSTR text);
  DWORD_PTR GetItemData(HTREEITEM item) const;
  BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
  HTREEITEM GetRootItem() const { return TreeView_GetRoot(m_hWnd); }
  HTREEITEM GetChildItem(HTREEITEM item) const { return TreeView_GetChild(m_hWnd, item); }
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return TreeView_GetNextSibling(m_hWnd, item); }
  HTREEITEM GetParentItem(HTREEITEM item) const { return TreeView_GetParent(m_hWnd, item); }
  HTREEITEM GetSelectedItem() const { return TreeView_GetSelection(m_hWnd); }
  BOOL SelectItem(HTREEITEM item) { return TreeView_SelectItem(m_hWnd, item); }
  BOOL Expand(HTREEITEM item, UINT code) { return TreeView_Expand(m_hWnd, item, code); }
  BOOL ItemHasChildren(HTREEITEM item) const { return GetChildItem(item) != NULL; }
  BOOL EnsureVisible(HTREEITEM item) { return TreeView_EnsureVisible(m_hWnd, item); }
  CImageList* SetImageList(CImageList* list, int type);
  HTREEITEM HitTest(POINT p, UINT* flags = NULL) const;
  UINT GetCount() const { return TreeView_GetCount(m_hWnd); }
};
