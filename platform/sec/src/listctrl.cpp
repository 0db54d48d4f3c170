// SECListCtrl: a list view whose items the owner paints through hooks, off screen, with the list view's own
// geometry, scrolling and hit testing.
#include "seclistctrl.h"

IMPLEMENT_DYNAMIC(SECListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(SECListCtrl, CListCtrl)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_MESSAGE(WM_SETFONT, OnSetFont)
  ON_MESSAGE(WM_VSCROLL, OnScrolled)
  ON_MESSAGE(WM_HSCROLL, OnScrolled)
  ON_MESSAGE(WM_MOUSEWHEEL, OnScrolled)
  ON_MESSAGE(LVM_SCROLL, OnScrolled)
  ON_MESSAGE(LVM_ENSUREVISIBLE, OnScrolled)
END_MESSAGE_MAP()

namespace {
// Room between a small icon's label and the edge of its box, and around a label's text.
const int kLabelMargin = 2;
// The image size of a list, or the system's icon size when there is none.
CSize ImageSize(HIMAGELIST images, BOOL large) {
  int cx = 0, cy = 0;
  if (images && ImageList_GetIconSize(images, &cx, &cy)) return CSize(cx, cy);
  return large ? CSize(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON))
               : CSize(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
}
}  // namespace

SECListCtrl::SECListCtrl()
    : m_pLargeImages(NULL),
      m_pSmallImages(NULL),
      m_bLargeIcons(TRUE),
      m_crBack(::GetSysColor(COLOR_WINDOW)),
      m_crText(::GetSysColor(COLOR_WINDOWTEXT)) {}

SECListCtrl::~SECListCtrl() = default;

BOOL SECListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, DWORD exStyle) {
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  // Shared image lists: the lists belong to the caller, and a list view would destroy its own.
  DWORD listStyle = ViewStyleFor(m_bLargeIcons) | LVS_SHAREIMAGELISTS | LVS_NOCOLUMNHEADER | LVS_SINGLESEL;
  if (!CreateEx(exStyle, WC_LISTVIEWA, NULL, (style & ~LVS_TYPEMASK) | listStyle | WS_CHILD, rect, parent, id))
    return FALSE;
  // The one column shows the labels when the view is a report.
  InsertColumn(0, "", LVCFMT_LEFT, rect.right - rect.left);
  SetImageList(m_pLargeImages, LVSIL_NORMAL);
  SetImageList(m_pSmallImages, LVSIL_SMALL);
  ListView_SetBkColor(m_hWnd, m_crBack);
  ListView_SetTextColor(m_hWnd, m_crText);
  RecalcLayout();
  return TRUE;
}

void SECListCtrl::SetImageLists(CImageList* large, CImageList* small) {
  m_pLargeImages = large;
  m_pSmallImages = small;
  if (!m_hWnd) return;
  SetImageList(large, LVSIL_NORMAL);
  SetImageList(small, LVSIL_SMALL);
  RecalcLayout();
}

void SECListCtrl::SetLargeIcons(BOOL large) {
  m_bLargeIcons = large;
  if (!m_hWnd) return;
  ModifyStyle(LVS_TYPEMASK, ViewStyleFor(large));
  RecalcLayout();
  Invalidate();
}

DWORD SECListCtrl::ViewStyleFor(BOOL large) const { return (large ? LVS_ICON : LVS_SMALLICON) | LVS_AUTOARRANGE; }

void SECListCtrl::RecalcLayout() {
  if (m_hWnd) SendMessage(LVM_ARRANGE, LVA_DEFAULT);
}

void SECListCtrl::SetBkColor(COLORREF color) {
  m_crBack = color;
  if (!m_hWnd) return;
  ListView_SetBkColor(m_hWnd, color);
  Invalidate();
}

void SECListCtrl::SetTextColor(COLORREF color) {
  m_crText = color;
  if (!m_hWnd) return;
  ListView_SetTextColor(m_hWnd, color);
  Invalidate();
}

BOOL SECListCtrl::GetItemParts(int item, CRect& box, CRect& icon, CRect& label) const {
  if (item < 0 || item >= GetItemCount()) return FALSE;
  CRect iconCell, labelCell;
  if (!GetItemRect(item, &box, LVIR_BOUNDS) || !GetItemRect(item, &iconCell, LVIR_ICON) ||
      !GetItemRect(item, &labelCell, LVIR_LABEL))
    return FALSE;
  CImageList* images = GetImageList(m_bLargeIcons);
  CSize size = ImageSize(images ? images->m_hImageList : NULL, m_bLargeIcons);
  CPoint corner(iconCell.left + (iconCell.Width() - size.cx) / 2, iconCell.top + (iconCell.Height() - size.cy) / 2);
  icon = CRect(corner, size);
  label = labelCell;
  if (!m_bLargeIcons) {
    // Beside a small icon the label is its text, not the rest of the row.
    CClientDC dc(const_cast<SECListCtrl*>(this));
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ old = dc.SelectObject(font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    int width = dc.GetTextExtent(GetItemText(item, 0)).cx + 2 * kLabelMargin;
    dc.SelectObject(old);
    if (label.left + width < label.right) label.right = label.left + width;
  }
  return TRUE;
}

int SECListCtrl::ItemFromPoint(CPoint point, UINT* part) const {
  UINT found = SECLHT_NOWHERE;
  int hit = -1;
  for (int i = 0, n = GetItemCount(); i < n && hit < 0; ++i) {
    CRect box, icon, label;
    if (!GetItemParts(i, box, icon, label)) continue;
    if (icon.PtInRect(point)) found = SECLHT_ICON;
    else if (label.PtInRect(point)) found = SECLHT_LABEL;
    else if (box.PtInRect(point)) found = SECLHT_ITEM;
    else continue;
    hit = i;
  }
  if (part) *part = found;
  return hit;
}

void SECListCtrl::InvalidateItem(int item) {
  CRect box, icon, label;
  if (!m_hWnd || !GetItemParts(item, box, icon, label)) return;
  box.UnionRect(&box, &icon);
  box.UnionRect(&box, &label);
  // Owners draw frames and shadows a few pixels beyond the box.
  box.InflateRect(8, 8);
  InvalidateRect(&box, FALSE);
}

UINT SECListCtrl::GetItemPaintState(int item) const {
  UINT listState = GetItemState(item, LVIS_SELECTED | LVIS_FOCUSED);
  UINT state = 0;
  if (listState & LVIS_SELECTED) state |= SECLIS_SELECTED;
  if (listState & LVIS_FOCUSED) state |= SECLIS_FOCUSED;
  return state;
}

void SECListCtrl::DrawBackground(CDC* dc, const CRect& area) { dc->FillSolidRect(&area, m_crBack); }

void SECListCtrl::DrawItem(CDC* dc, const SECListPaintItem& item) {
  DrawItemIcon(dc, item);
  DrawItemLabel(dc, item);
}

void SECListCtrl::DrawItemIcon(CDC* dc, const SECListPaintItem& item) {
  if (item.hImages && item.nImage >= 0)
    ImageList_Draw(item.hImages, item.nImage, dc->m_hDC, item.rcIcon.left, item.rcIcon.top, ILD_TRANSPARENT);
}

void SECListCtrl::DrawItemLabel(CDC* dc, const SECListPaintItem& item) {
  CRect text = item.rcLabel;
  COLORREF color = m_crText;
  if (item.nState & SECLIS_SELECTED) {
    dc->FillSolidRect(&text, ::GetSysColor(COLOR_HIGHLIGHT));
    color = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  dc->SetTextColor(color);
  dc->SetBkMode(TRANSPARENT);
  text.DeflateRect(kLabelMargin, 0);
  dc->DrawText(item.strText, &text, item.bLargeIcons ? kLargeLabelFormat : kSmallLabelFormat);
}

void SECListCtrl::PaintItems(CDC* dc, const CRect& area) {
  CImageList* images = GetImageList(m_bLargeIcons);
  for (int i = 0, n = GetItemCount(); i < n; ++i) {
    SECListPaintItem item;
    if (!GetItemParts(i, item.rcItem, item.rcIcon, item.rcLabel)) continue;
    CRect reach;
    reach.UnionRect(&item.rcItem, &item.rcLabel);
    reach.InflateRect(8, 8);
    if (!CRect().IntersectRect(&reach, &area)) continue;
    LVITEMA data = {};
    data.mask = LVIF_IMAGE;
    data.iItem = i;
    ListView_GetItem(m_hWnd, &data);
    item.nItem = i;
    item.nState = GetItemPaintState(i);
    item.strText = GetItemText(i, 0);
    item.nImage = data.iImage;
    item.hImages = images ? images->m_hImageList : NULL;
    item.bLargeIcons = m_bLargeIcons;
    DrawItem(dc, item);
  }
}

void SECListCtrl::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  if (client.IsRectEmpty()) return;
  // Everything is drawn on a bitmap first, so that background and items never flicker in turn.
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
  CBitmap* oldBitmap = memory.SelectObject(&bitmap);
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
  HGDIOBJ oldFont = memory.SelectObject(font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
  CRect area = dc.m_ps.rcPaint;
  memory.IntersectClipRect(&area);
  memory.SetBkMode(TRANSPARENT);
  DrawBackground(&memory, client);
  PaintItems(&memory, area);
  dc.BitBlt(area.left, area.top, area.Width(), area.Height(), &memory, area.left, area.top, SRCCOPY);
  memory.SelectObject(oldFont);
  memory.SelectObject(oldBitmap);
}

BOOL SECListCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void SECListCtrl::OnSize(UINT type, int cx, int cy) {
  CListCtrl::OnSize(type, cx, cy);
  RecalcLayout();
  Invalidate(FALSE);
}

LRESULT SECListCtrl::OnScrolled(WPARAM, LPARAM) {
  // The list view moves what it painted; the owner's background is anchored to the window, not to the
  // items, so everything is painted again.
  LRESULT result = Default();
  Invalidate(FALSE);
  return result;
}

LRESULT SECListCtrl::OnSetFont(WPARAM, LPARAM) {
  LRESULT result = Default();
  RecalcLayout();
  return result;
}
