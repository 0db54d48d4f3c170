// The common-control wrappers of afxcmn.h: creation and the calls that need more than one message.
#include "afxcmn.h"

IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CAnimateCtrl, CWnd)
IMPLEMENT_DYNCREATE(CImageList, CObject)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace {
BOOL CreateCommon(CWnd* w, LPCSTR cls, DWORD icc, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  INITCOMMONCONTROLSEX init = {sizeof init, icc};
  InitCommonControlsEx(&init);
  return w->CreateEx(0, cls, NULL, style | WS_CHILD, rect, parent, id);
}
}  // namespace

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) { return CreateCommon(this, TRACKBAR_CLASSA, ICC_BAR_CLASSES, style, rect, parent, id); }
BOOL CSpinButtonCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) { return CreateCommon(this, UPDOWN_CLASSA, ICC_UPDOWN_CLASS, style, rect, parent, id); }
BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) { return CreateCommon(this, PROGRESS_CLASSA, ICC_PROGRESS_CLASS, style, rect, parent, id); }
BOOL CAnimateCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) { return CreateCommon(this, ANIMATE_CLASSA, ICC_ANIMATE_CLASS, style, rect, parent, id); }
BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) { return CreateCommon(this, WC_LISTVIEWA, ICC_LISTVIEW_CLASSES, style, rect, parent, id); }
BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) { return CreateCommon(this, WC_TREEVIEWA, ICC_TREEVIEW_CLASSES, style, rect, parent, id); }

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask) {
  LPCSTR name = MAKEINTRESOURCEA(bitmapId);
  HINSTANCE module = AfxFindResourceHandle(name, reinterpret_cast<LPCSTR>(RT_BITMAP));
  return Attach(ImageList_LoadImageA(module, name, cx, grow, mask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

int CListCtrl::InsertItem(int item, LPCSTR text, int image) {
  LVITEMA lv = {};
  lv.mask = LVIF_TEXT | (image >= 0 ? LVIF_IMAGE : 0);
  lv.iItem = item;
  lv.pszText = const_cast<LPSTR>(text);
  lv.iImage = image;
  return InsertItem(&lv);
}

BOOL CListCtrl::SetItemText(int item, int sub, LPCSTR text) {
  LVITEMA lv = {};
  lv.iSubItem = sub;
  lv.pszText = const_cast<LPSTR>(text);
  return BOOL(SendMessage(LVM_SETITEMTEXTA, item, LPARAM(&lv)));
}

CString CListCtrl::GetItemText(int item, int sub) const {
  CString text;
  for (int size = 256;; size *= 2) {
    LVITEMA lv = {};
    lv.iSubItem = sub;
    lv.cchTextMax = size;
    lv.pszText = text.GetBuffer(size);
    int n = int(::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, item, LPARAM(&lv)));
    text.ReleaseBuffer(n);
    if (n < size - 1) return text;
  }
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
  LVITEMA lv = {};
  lv.mask = LVIF_PARAM;
  lv.iItem = item;
  lv.lParam = LPARAM(data);
  return BOOL(SendMessage(LVM_SETITEMA, 0, LPARAM(&lv)));
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
  LVITEMA lv = {};
  lv.mask = LVIF_PARAM;
  lv.iItem = item;
  ::SendMessageA(m_hWnd, LVM_GETITEMA, 0, LPARAM(&lv));
  return DWORD_PTR(lv.lParam);
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
  LVITEMA lv = {};
  lv.state = state;
  lv.stateMask = mask;
  return BOOL(SendMessage(LVM_SETITEMSTATE, item, LPARAM(&lv)));
}

int CListCtrl::InsertColumn(int col, LPCSTR heading, int format, int width, int sub) {
  LVCOLUMNA c = {};
  c.mask = LVCF_FMT | LVCF_TEXT | (width >= 0 ? LVCF_WIDTH : 0) | (sub >= 0 ? LVCF_SUBITEM : 0);
  c.fmt = format;
  c.pszText = const_cast<LPSTR>(heading);
  c.cx = width;
  c.iSubItem = sub;
  return int(SendMessage(LVM_INSERTCOLUMNA, col, LPARAM(&c)));
}

CImageList* CListCtrl::SetImageList(CImageList* list, int type) {
  SendMessage(LVM_SETIMAGELIST, type, LPARAM(list ? list->m_hImageList : NULL));
  return list;
}

int CListCtrl::HitTest(POINT p, UINT* flags) const {
  LVHITTESTINFO info = {};
  info.pt = p;
  int item = int(::SendMessageA(m_hWnd, LVM_HITTEST, 0, LPARAM(&info)));
  if (flags) *flags = info.flags;
  return item;
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, HTREEITEM parent, HTREEITEM after) {
  TVINSERTSTRUCTA ins = {};
  ins.hParent = parent;
  ins.hInsertAfter = after;
  ins.item.mask = TVIF_TEXT;
  ins.item.pszText = const_cast<LPSTR>(text);
  return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, LPARAM(&ins)));
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after) {
  TVINSERTSTRUCTA ins = {};
  ins.hParent = parent;
  ins.hInsertAfter = after;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  ins.item.pszText = const_cast<LPSTR>(text);
  ins.item.iImage = image;
  ins.item.iSelectedImage = selectedImage;
  return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, LPARAM(&ins)));
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
  char buffer[1024] = {};
  TVITEMA tv = {};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = buffer;
  tv.cchTextMax = sizeof buffer;
  ::SendMessageA(m_hWnd, TVM_GETITEMA, 0, LPARAM(&tv));
  return buffer;
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCSTR text) {
  TVITEMA tv = {};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = const_cast<LPSTR>(text);
  return BOOL(SendMessage(TVM_SETITEMA, 0, LPARAM(&tv)));
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
  TVITEMA tv = {};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  ::SendMessageA(m_hWnd, TVM_GETITEMA, 0, LPARAM(&tv));
  return DWORD_PTR(tv.lParam);
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
  TVITEMA tv = {};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  tv.lParam = LPARAM(data);
  return BOOL(SendMessage(TVM_SETITEMA, 0, LPARAM(&tv)));
}

CImageList* CTreeCtrl::SetImageList(CImageList* list, int type) {
  SendMessage(TVM_SETIMAGELIST, type, LPARAM(list ? list->m_hImageList : NULL));
  return list;
}

HTREEITEM CTreeCtrl::HitTest(POINT p, UINT* flags) const {
  TVHITTESTINFO info = {};
  info.pt = p;
  HTREEITEM item = reinterpret_cast<HTREEITEM>(::SendMessageA(m_hWnd, TVM_HITTEST, 0, LPARAM(&info)));
  if (flags) *flags = info.flags;
  return item;
}
