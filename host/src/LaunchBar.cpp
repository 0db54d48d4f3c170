// The launch bar and its list (see LaunchBar.h).
#include "LaunchBar.h"

#include <afxdlgs.h>
#include <commctrl.h>

#include "LaunchRules.h"
#include "host/HostIds.h"

namespace {

const char kGroupName[] = "Launch Bar";
const COLORREF kShadowColor = 0xB4A699;
const DWORD kRopBrushWhereSourceIsZero = 0x00B8074A;  // (source AND dest) OR (NOT source AND brush)
const int kEdgeGrow = 5;                              // the hover and pressed edges reach past the item
const int kImageListGrow = 8;
const int kLargeIcon = 32, kSmallIcon = 16;

DWORD PrefNumber(SECRegistry& key, LPCSTR name, DWORD defaultValue, BOOL* present = NULL) {
  DWORD value = defaultValue;
  BOOL found = key.IsOpen() && key.QueryValue(name, value);
  if (present) *present = found;
  return found ? value : defaultValue;
}

}  // namespace

BEGIN_MESSAGE_MAP(cBkgndListCtrl, SECShortcutListCtrl)
  ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

cBkgndListCtrl::cBkgndListCtrl() : m_pBar(NULL), m_hBackground(NULL), m_hPalette(NULL) {}

cBkgndListCtrl::~cBkgndListCtrl() {
  if (m_hBackground) ::DeleteObject(m_hBackground);
  if (m_hPalette) ::DeleteObject(m_hPalette);
}

BOOL cBkgndListCtrl::SetBackgroundFile(LPCSTR path) {
  if (m_hBackground || !path || !*path) return m_hBackground != NULL;
  m_hBackground = HBITMAP(::LoadImageA(NULL, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!m_hBackground) return FALSE;
  BITMAP info;
  ::GetObjectA(m_hBackground, sizeof info, &info);
  m_sizeBackground = CSize(info.bmWidth, info.bmHeight);
  // The picture's own colours, for displays with a palette.
  if (info.bmBitsPixel <= 8) {
    HDC dc = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(dc, m_hBackground);
    RGBQUAD colors[256];
    UINT count = ::GetDIBColorTable(dc, 0, 256, colors);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    if (count) {
      struct {
        LOGPALETTE header;
        PALETTEENTRY more[255];
      } palette = {};
      palette.header.palVersion = 0x300;
      palette.header.palNumEntries = WORD(count);
      for (UINT i = 0; i < count; ++i)
        palette.header.palPalEntry[i] = {colors[i].rgbRed, colors[i].rgbGreen, colors[i].rgbBlue, 0};
      m_hPalette = ::CreatePalette(&palette.header);
    }
  }
  return TRUE;
}

void cBkgndListCtrl::DrawBackground(CDC* dc, const CRect& area) {
  if (!m_hBackground || m_sizeBackground.cx <= 0 || m_sizeBackground.cy <= 0) {
    SECShortcutListCtrl::DrawBackground(dc, area);
    return;
  }
  HPALETTE oldPalette = m_hPalette ? ::SelectPalette(dc->m_hDC, m_hPalette, TRUE) : NULL;
  if (m_hPalette) ::RealizePalette(dc->m_hDC);
  CDC picture;
  picture.CreateCompatibleDC(dc);
  HGDIOBJ old = ::SelectObject(picture.m_hDC, m_hBackground);
  // Tiled from the list's top-left corner.
  for (int y = area.top - area.top % m_sizeBackground.cy; y < area.bottom; y += m_sizeBackground.cy)
    for (int x = area.left - area.left % m_sizeBackground.cx; x < area.right; x += m_sizeBackground.cx)
      dc->BitBlt(x, y, m_sizeBackground.cx, m_sizeBackground.cy, &picture, 0, 0, SRCCOPY);
  ::SelectObject(picture.m_hDC, old);
  if (oldPalette) ::SelectPalette(dc->m_hDC, oldPalette, TRUE);
}

void cBkgndListCtrl::DrawShadow(CDC* dc, const SECListPaintItem& item) {
  int w = item.rcIcon.Width(), h = item.rcIcon.Height();
  CDC mask;
  mask.CreateCompatibleDC(dc);
  CBitmap bits;
  bits.CreateBitmap(w, h, 1, 1, NULL);
  CBitmap* oldBits = mask.SelectObject(&bits);
  ::PatBlt(mask.m_hDC, 0, 0, w, h, WHITENESS);
  ImageList_Draw(item.hImages, item.nImage, mask.m_hDC, 0, 0, ILD_MASK);
  CBrush brush(kShadowColor);
  CBrush* oldBrush = dc->SelectObject(&brush);
  COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
  COLORREF oldBack = dc->SetBkColor(RGB(255, 255, 255));
  dc->BitBlt(item.rcIcon.left, item.rcIcon.top, w, h, &mask, 0, 0, kRopBrushWhereSourceIsZero);
  dc->SetTextColor(oldText);
  dc->SetBkColor(oldBack);
  dc->SelectObject(oldBrush);
  mask.SelectObject(oldBits);
}

void cBkgndListCtrl::DrawItem(CDC* dc, const SECListPaintItem& item) {
  if (item.hImages && item.nImage >= 0) {
    SECListPaintItem placed = item;
    if (item.bLargeIcons) {
      // Centred in the item's box.
      int left = item.rcItem.left + item.rcItem.Width() / 2 - kLargeIcon / 2;
      placed.rcIcon.OffsetRect(left - item.rcIcon.left, 0);
    }
    DrawShadow(dc, placed);
    int shift = placed.rcIcon.Width() / 8 - 1;
    ImageList_Draw(item.hImages, item.nImage, dc->m_hDC, placed.rcIcon.left - shift, placed.rcIcon.top - shift,
                   ILD_TRANSPARENT);
  }
  DrawItemLabel(dc, item);
  CRect edge = item.rcItem;
  edge.InflateRect(0, kEdgeGrow);
  if (item.nState & SECLIS_PRESSED)
    dc->DrawEdge(&edge, EDGE_SUNKEN, BF_RECT);
  else if (item.nState & (SECLIS_HOT | SECLIS_DROPHILITE))
    dc->DrawEdge(&edge, EDGE_RAISED, BF_RECT);
}

DROPEFFECT cBkgndListCtrl::OnDragOverItem(COleDataObject* data, DWORD, CPoint, int) {
  return data->IsDataAvailable(CF_HDROP) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

BOOL cBkgndListCtrl::OnDropOnItem(COleDataObject* data, DROPEFFECT, CPoint point, int item) {
  if (!m_pBar) return FALSE;
  CStringArray files;
  if (!data->GetFileNames(files)) return FALSE;
  // Programs dropped anywhere on the list become items at the drop position.
  BOOL added = FALSE;
  for (INT_PTR i = 0; i < files.GetSize(); ++i) {
    CString file = ResolveShortcut(files[i]);
    int dot = file.ReverseFind('.');
    CString extension = dot >= 0 ? file.Mid(dot) : CString();
    extension.MakeUpper();
    if (!extension.IsEmpty() && CString(".EXE").Find(extension) >= 0)
      added = m_pBar->AddItem(file, GetInsertIndex(point)) || added;
  }
  if (added) return TRUE;
  cLaunchItem* target = m_pBar->GetItems()->GetItem(item);
  return target ? target->OnDrop(data) : FALSE;
}

void cBkgndListCtrl::OnContextMenu(CWnd*, CPoint point) {
  if (!m_pBar) return;
  CPoint client = point;
  ScreenToClient(&client);
  int index = ItemFromPoint(client);
  cLaunchItemList* items = m_pBar->GetItems();
  cLaunchItem* item = items->GetItem(index);
  CMenu menu;
  menu.CreatePopupMenu();
  CString text;
  if (items->CanAdd() && text.LoadString(ID_ITEM_ADD)) menu.AppendMenu(MF_STRING, ID_ITEM_ADD, text);
  if (item && !item->IsPermanent() && text.LoadString(ID_ITEM_REMOVE)) menu.AppendMenu(MF_STRING, ID_ITEM_REMOVE, text);
  if (menu.GetMenuItemCount() == 0) return;
  UINT chosen = ::TrackPopupMenu(menu.m_hMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, m_hWnd, NULL);
  if (chosen == ID_ITEM_ADD) m_pBar->PromptAddItem(index);
  if (chosen == ID_ITEM_REMOVE) m_pBar->RemoveItem(item);
}

// ---------------------------------------------------------------------------------------------

cListBar::cListBar() {}

BEGIN_MESSAGE_MAP(cLaunchBar, cListBar)
  ON_NOTIFY(SECLN_ITEMCLICK, IDC_LAUNCHLIST, OnItemClick)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

cLaunchBar::cLaunchBar() : m_pItems(NULL) { m_list.m_pBar = this; }

cLaunchBar::~cLaunchBar() {}

BOOL cLaunchBar::Create(CWnd* parent, cLaunchItemList* items) {
  m_pItems = items;
  if (!cListBar::Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), parent, AFX_IDW_PANE_FIRST)) return FALSE;
  if (!m_largeImages.Create(kLargeIcon, kLargeIcon, ILC_COLOR32 | ILC_MASK, kImageListGrow, kImageListGrow) ||
      !m_smallImages.Create(kSmallIcon, kSmallIcon, ILC_COLOR32 | ILC_MASK, kImageListGrow, kImageListGrow))
    return FALSE;
  m_list.SetImageLists(&m_largeImages, &m_smallImages);
  if (AddGroup(kGroupName, &m_list, IDC_LAUNCHLIST, WS_EX_CLIENTEDGE) < 0) return FALSE;
  LoadPrefs();
  Refresh();
  return TRUE;
}

void cLaunchBar::LoadPrefs() {
  SECRegistry prefs;
  prefs.Open(HKEY_CURRENT_USER, ORV_LAUNCHBAR_PREFS_KEY);
  SetLargeIcons(PrefNumber(prefs, "Icon State", 1) != 0);
  BOOL present = FALSE;
  DWORD color = PrefNumber(prefs, "Background Color", 0, &present);
  if (present) m_list.SetBkColor(color);
  color = PrefNumber(prefs, "Text Color", 0, &present);
  if (present) m_list.SetTextColor(color);
  CString fontName;
  DWORD size = PrefNumber(prefs, "Font Size", 0, &present);
  if (present && prefs.QueryValue("Font Name", fontName) && !fontName.IsEmpty() &&
      m_font.CreatePointFont(int(size) * 10, fontName))
    m_list.SetFont(&m_font);
  CString background;
  if (prefs.IsOpen() && prefs.QueryValue("Background File", background) && !background.IsEmpty())
    m_list.SetBackgroundFile(background);
}

void cLaunchBar::Refresh() {
  m_list.DeleteAllItems();
  while (m_largeImages.GetImageCount() > 0) m_largeImages.Remove(0);
  while (m_smallImages.GetImageCount() > 0) m_smallImages.Remove(0);
  if (!m_pItems) return;
  int index = 0;
  for (POSITION pos = m_pItems->GetHeadPosition(); pos; ++index) {
    cLaunchItem* item = static_cast<cLaunchItem*>(m_pItems->GetNext(pos));
    HICON large = NULL, small = NULL;
    if (!item->GetIcon(&large, &small)) large = small = NULL;
    HICON standard = ::LoadIconA(NULL, IDI_APPLICATION);
    m_largeImages.Add(large ? large : standard);
    m_smallImages.Add(small ? small : (large ? large : standard));
    if (large) ::DestroyIcon(large);
    if (small) ::DestroyIcon(small);
    m_list.InsertItem(index, item->GetLabel(), index);
  }
  m_list.Invalidate();
}

void cLaunchBar::SetIconState(BOOL large) {
  SetLargeIcons(large);
  m_list.Invalidate();
}

BOOL cLaunchBar::LaunchItem(int index) {
  cLaunchItem* item = m_pItems ? m_pItems->GetItem(index) : NULL;
  return item && item->Launch(TRUE);
}

void cLaunchBar::OnItemClick(NMHDR* header, LRESULT* result) {
  LaunchItem(reinterpret_cast<NMLISTVIEW*>(header)->iItem);
  *result = 0;
}

BOOL cLaunchBar::AddItem(LPCSTR programPath, int index) {
  if (!m_pItems || !AddProgramItem(*m_pItems, programPath, index)) return FALSE;
  Refresh();
  return TRUE;
}

void cLaunchBar::RemoveItem(cLaunchItem* item) {
  if (!m_pItems || !item || item->IsPermanent()) return;
  m_pItems->Remove(item);
  Refresh();
}

BOOL cLaunchBar::PromptAddItem(int index) {
  if (!m_pItems || !m_pItems->CanAdd()) return FALSE;
  CString filter, title;
  filter.LoadString(IDS_PROGRAM_FILTER);
  title.LoadString(IDS_ADD_ITEM_TITLE);
  CFileDialog dialog(TRUE, "exe", "*.exe", OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NODEREFERENCELINKS, filter,
                     GetParentFrame());
  dialog.m_ofn.lpstrTitle = title;
  if (dialog.DoModal() != IDOK) return FALSE;
  return AddItem(dialog.GetPathName(), index);
}

void cLaunchBar::OnDestroy() {
  SECRegistry prefs;
  if (prefs.Create(HKEY_CURRENT_USER, ORV_LAUNCHBAR_PREFS_KEY)) prefs.SetValue("Icon State", DWORD(IsLargeIcons() ? 1 : 0));
  m_list.RevokeDropTarget();
  cListBar::OnDestroy();
}
