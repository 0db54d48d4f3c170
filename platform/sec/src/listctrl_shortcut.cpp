// SECShortcutListCtrl: a one-column list of shortcuts with hot and pressed items, clicks on icons and labels,
// and OLE drops onto items.
#include "seclistctrl.h"

IMPLEMENT_DYNAMIC(SECShortcutListCtrl, SECListCtrl)

BEGIN_MESSAGE_MAP(SECShortcutListCtrl, SECListCtrl)
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONUP()
  ON_WM_CAPTURECHANGED()
  ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {
// Height of a large icon's cell beyond the icon and two label lines; the frame drawn around the icon.
const int kLargeCellExtra = 18;
const int kEdgeOutset = 3;
const UINT kClickParts = SECLHT_ICON | SECLHT_LABEL;
}  // namespace

// Passes the drags over the list to the list's hooks.
class SECShortcutListCtrl::DropTarget : public COleDropTarget {
 public:
  explicit DropTarget(SECShortcutListCtrl* list) : m_list(list) {}
  DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD keyState, CPoint point) override {
    return Over(data, keyState, point);
  }
  DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD keyState, CPoint point) override {
    return Over(data, keyState, point);
  }
  void OnDragLeave(CWnd*) override {
    m_list->SetDropItem(-1);
    m_list->OnDragLeaveList();
  }
  // A drop the list refused ends the drag as leaving it would, so that the owner always sees it end.
  DROPEFFECT OnDropEx(CWnd* wnd, COleDataObject*, DROPEFFECT chosen, DROPEFFECT, CPoint) override {
    if (chosen != DROPEFFECT_NONE) return DROPEFFECT(-1);
    OnDragLeave(wnd);
    return DROPEFFECT_NONE;
  }
  BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, CPoint point) override {
    m_list->SetDropItem(-1);
    return m_list->OnDropOnItem(data, effect, point, m_list->ItemFromPoint(point));
  }

 private:
  DROPEFFECT Over(COleDataObject* data, DWORD keyState, CPoint point) {
    int item = m_list->ItemFromPoint(point);
    DROPEFFECT effect = m_list->OnDragOverItem(data, keyState, point, item);
    m_list->SetDropItem(effect != DROPEFFECT_NONE ? item : -1);
    return effect;
  }
  SECShortcutListCtrl* m_list;
};

SECShortcutListCtrl::SECShortcutListCtrl()
    : m_nHotItem(-1), m_nPressedItem(-1), m_bPressedShown(FALSE), m_nDropItem(-1), m_bTrackingLeave(FALSE),
      m_pDropTarget(NULL) {}

SECShortcutListCtrl::~SECShortcutListCtrl() { RevokeDropTarget(); }

DWORD SECShortcutListCtrl::ViewStyleFor(BOOL large) const {
  // Small icons sit in the rows of a one-column report, so that each item has a row of its own.
  return large ? (LVS_ICON | LVS_AUTOARRANGE | LVS_ALIGNTOP) : LVS_REPORT;
}

void SECShortcutListCtrl::RecalcLayout() {
  if (!m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  if (m_bLargeIcons) {
    // One item per row: a cell as wide as the list.
    CImageList* images = GetImageList(TRUE);
    int iconHeight = ::GetSystemMetrics(SM_CYICON), iconWidth = 0;
    if (images && images->m_hImageList) ImageList_GetIconSize(images->m_hImageList, &iconWidth, &iconHeight);
    CClientDC dc(this);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    HGDIOBJ old = dc.SelectObject(font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics;
    ::GetTextMetricsA(dc.m_hDC, &metrics);
    dc.SelectObject(old);
    int width = client.Width() > iconWidth ? client.Width() : iconWidth + 1;
    ListView_SetIconSpacing(m_hWnd, width, iconHeight + 2 * metrics.tmHeight + kLargeCellExtra);
    SendMessage(LVM_ARRANGE, LVA_DEFAULT);
  } else {
    SetColumnWidth(0, client.Width());
  }
}

int SECShortcutListCtrl::GetInsertIndex(CPoint point) const {
  int count = GetItemCount();
  for (int i = 0; i < count; ++i) {
    CRect box;
    if (GetItemRect(i, &box, LVIR_BOUNDS) && point.y < box.CenterPoint().y) return i;
  }
  return count;
}

UINT SECShortcutListCtrl::GetItemPaintState(int item) const {
  UINT state = SECListCtrl::GetItemPaintState(item);
  if (item == m_nHotItem) state |= SECLIS_HOT;
  if (item == m_nPressedItem && m_bPressedShown) state |= SECLIS_PRESSED;
  if (item == m_nDropItem) state |= SECLIS_DROPHILITE;
  return state;
}

void SECShortcutListCtrl::DrawItem(CDC* dc, const SECListPaintItem& item) {
  SECListCtrl::DrawItem(dc, item);
  CRect frame = item.rcIcon;
  frame.InflateRect(kEdgeOutset, kEdgeOutset);
  if (item.nState & SECLIS_PRESSED)
    dc->DrawEdge(&frame, EDGE_SUNKEN, BF_RECT);
  else if (item.nState & (SECLIS_HOT | SECLIS_DROPHILITE))
    dc->DrawEdge(&frame, EDGE_RAISED, BF_RECT);
}

void SECShortcutListCtrl::SetHotItem(int item) {
  if (item == m_nHotItem) return;
  InvalidateItem(m_nHotItem);
  m_nHotItem = item;
  InvalidateItem(item);
}

void SECShortcutListCtrl::SetPressedItem(int item) {
  if (item == m_nPressedItem) return;
  InvalidateItem(m_nPressedItem);
  m_nPressedItem = item;
  InvalidateItem(item);
}

void SECShortcutListCtrl::SetDropItem(int item) {
  if (item == m_nDropItem) return;
  InvalidateItem(m_nDropItem);
  m_nDropItem = item;
  InvalidateItem(item);
}

void SECShortcutListCtrl::OnMouseMove(UINT flags, CPoint point) {
  UINT part;
  int item = ItemFromPoint(point, &part);
  if (!(part & kClickParts)) item = -1;
  if (m_nPressedItem >= 0) {
    // Like a button: a pressed item shows pressed only while the mouse is over it.
    BOOL shown = item == m_nPressedItem;
    if (shown != m_bPressedShown) {
      m_bPressedShown = shown;
      InvalidateItem(m_nPressedItem);
    }
  }
  SetHotItem(item);
  if (item >= 0 && !m_bTrackingLeave) {
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, 0};
    m_bTrackingLeave = ::TrackMouseEvent(&track);
  }
  SECListCtrl::OnMouseMove(flags, point);
}

LRESULT SECShortcutListCtrl::OnMouseLeave(WPARAM, LPARAM) {
  m_bTrackingLeave = FALSE;
  if (m_nPressedItem < 0) SetHotItem(-1);
  return Default();
}

void SECShortcutListCtrl::OnLButtonDown(UINT, CPoint point) {
  // The list view's own handling (selection, its drag loop) is not wanted: a shortcut is pressed and released.
  UINT part;
  int item = ItemFromPoint(point, &part);
  if (item < 0 || !(part & kClickParts)) return;
  m_bPressedShown = TRUE;
  SetPressedItem(item);
  SetCapture();
}

// A second click in quick succession is a click too, not the list view's activation.
void SECShortcutListCtrl::OnLButtonDblClk(UINT flags, CPoint point) { OnLButtonDown(flags, point); }

void SECShortcutListCtrl::OnLButtonUp(UINT, CPoint point) {
  int pressed = m_nPressedItem;
  if (pressed < 0) return;
  if (GetCapture() == this) ::ReleaseCapture();
  SetPressedItem(-1);
  UINT part;
  int item = ItemFromPoint(point, &part);
  SetHotItem((part & kClickParts) ? item : -1);
  if (item == pressed && (part & kClickParts)) OnItemClicked(item, point);
}

void SECShortcutListCtrl::OnCaptureChanged(CWnd* wnd) {
  if (wnd != this) SetPressedItem(-1);
  SECListCtrl::OnCaptureChanged(wnd);
}

void SECShortcutListCtrl::OnItemClicked(int item, CPoint point) {
  NMLISTVIEW notify = {};
  notify.hdr.hwndFrom = m_hWnd;
  notify.hdr.idFrom = UINT_PTR(GetDlgCtrlID());
  notify.hdr.code = SECLN_ITEMCLICK;
  notify.iItem = item;
  notify.ptAction = point;
  ::SendMessageA(::GetParent(m_hWnd), WM_NOTIFY, notify.hdr.idFrom, LPARAM(&notify));
}

BOOL SECShortcutListCtrl::RegisterDropTarget() {
  if (m_pDropTarget) return TRUE;
  if (!m_hWnd) return FALSE;
  m_pDropTarget = new DropTarget(this);
  if (m_pDropTarget->Register(this)) return TRUE;
  delete m_pDropTarget;
  m_pDropTarget = NULL;
  return FALSE;
}

void SECShortcutListCtrl::RevokeDropTarget() {
  if (!m_pDropTarget) return;
  m_pDropTarget->Revoke();
  delete m_pDropTarget;
  m_pDropTarget = NULL;
  m_nDropItem = -1;
}

DROPEFFECT SECShortcutListCtrl::OnDragOverItem(COleDataObject*, DWORD, CPoint, int) { return DROPEFFECT_NONE; }

BOOL SECShortcutListCtrl::OnDropOnItem(COleDataObject*, DROPEFFECT, CPoint, int) { return FALSE; }

void SECShortcutListCtrl::OnDragLeaveList() {}

void SECShortcutListCtrl::OnDestroy() {
  RevokeDropTarget();
  SECListCtrl::OnDestroy();
}
