// The list bar as the host's launch bar uses it: one group of five shortcuts with 32x32 and 16x16 icons,
// painted entirely by the test (a tiled background, icons with a drop shadow, raised and sunken edges around
// hot and pressed items), hit testing of icons and labels, clicks reported to the bar, a scripted OLE drag
// dropping files onto an item, and a second group opened through its header; and the host's arrangement: the
// list bar held by a sizable control bar docked on the left at 85 pixels.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "listui.h"
#include "secdock.h"
#include "seclistbar.h"

#include <shellapi.h>

namespace {

const UINT kBarId = 930;
const UINT kListId = 401;
const UINT kOtherListId = 402;
const int kBarWidth = 85;
const COLORREF kShadow = 0xB4A699;
const COLORREF kTileDark = RGB(0x20, 0x30, 0x50);
const COLORREF kTileLight = RGB(0x28, 0x3C, 0x64);
const LPCSTR kLabels[] = {"Gallery", "Enhancer", "Browser", "Paint Program", "Holiday Workspace"};

// The owner's painting, as the host's launch bar list does it: the background tiled from a pattern, each
// icon's silhouette in the shadow colour with the icon itself one eighth of its width less one pixel up and
// left of it, and an edge around the item box enlarged by 5 pixels at top and bottom.
class CPaintedList : public SECShortcutListCtrl {
 public:
  std::set<int> m_painted;  // items painted since the last clear
  std::vector<UINT> m_states;
  int m_backgrounds = 0;
  CBrush m_tiles;
  // What the drops brought: the item and the files.
  int m_dropItem = -2;
  CStringArray m_dropFiles;
  int m_dragOvers = 0, m_leaves = 0;

  CPaintedList() {
    // A 16 x 16 checker of two blues, tiled from the list's top-left corner.
    WORD rows[8];
    for (int y = 0; y < 8; ++y) rows[y] = y < 4 ? 0xF0 : 0x0F;
    CBitmap pattern;
    pattern.CreateBitmap(8, 8, 1, 1, rows);
    m_tiles.CreatePatternBrush(&pattern);
    m_states.assign(5, 0);
  }
  void DrawBackground(CDC* dc, const CRect& area) override {
    ++m_backgrounds;
    // A monochrome pattern brush takes the text colour for 0 bits and the background colour for 1 bits.
    dc->SetTextColor(kTileDark);
    dc->SetBkColor(kTileLight);
    ::SetBrushOrgEx(dc->m_hDC, 0, 0, NULL);
    dc->FillRect(&area, &m_tiles);
  }
  void DrawItem(CDC* dc, const SECListPaintItem& item) override {
    m_painted.insert(item.nItem);
    if (item.nItem < int(m_states.size())) m_states[item.nItem] = item.nState;
    DrawSilhouette(dc, item, kShadow);
    HICON icon = ImageList_GetIcon(item.hImages, item.nImage, ILD_NORMAL);
    int shift = item.rcIcon.Width() / 8 - 1;
    ::DrawIconEx(dc->m_hDC, item.rcIcon.left - shift, item.rcIcon.top - shift, icon, item.rcIcon.Width(),
                 item.rcIcon.Height(), 0, NULL, DI_NORMAL);
    ::DestroyIcon(icon);
    DrawItemLabel(dc, item);
    CRect edge = item.rcItem;
    edge.InflateRect(0, 5);
    if (item.nState & SECLIS_PRESSED) dc->DrawEdge(&edge, EDGE_SUNKEN, BF_RECT);
    else if (item.nState & (SECLIS_HOT | SECLIS_DROPHILITE)) dc->DrawEdge(&edge, EDGE_RAISED, BF_RECT);
  }
  // Paints the opaque part of the item's image in color at the icon's place: the image list draws the mask
  // into a monochrome bitmap (0 opaque, 1 transparent), which selects between the brush and what is there.
  static void DrawSilhouette(CDC* dc, const SECListPaintItem& item, COLORREF color) {
    int w = item.rcIcon.Width(), h = item.rcIcon.Height();
    CDC mask;
    mask.CreateCompatibleDC(dc);
    CBitmap bits;
    bits.CreateBitmap(w, h, 1, 1, NULL);
    CBitmap* oldBits = mask.SelectObject(&bits);
    ::PatBlt(mask.m_hDC, 0, 0, w, h, WHITENESS);  // the mask is drawn onto it, transparent where it is 1
    ImageList_Draw(item.hImages, item.nImage, mask.m_hDC, 0, 0, ILD_MASK);
    CBrush brush(color);
    CBrush* oldBrush = dc->SelectObject(&brush);
    COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
    COLORREF oldBack = dc->SetBkColor(RGB(255, 255, 255));
    const DWORD kBrushWhereSourceIsZero = 0x00B8074A;  // (source AND dest) OR (NOT source AND brush)
    dc->BitBlt(item.rcIcon.left, item.rcIcon.top, w, h, &mask, 0, 0, kBrushWhereSourceIsZero);
    dc->SetTextColor(oldText);
    dc->SetBkColor(oldBack);
    dc->SelectObject(oldBrush);
    mask.SelectObject(oldBits);
  }
  DROPEFFECT OnDragOverItem(COleDataObject* data, DWORD, CPoint, int item) override {
    ++m_dragOvers;
    return item >= 0 && data->IsDataAvailable(CF_HDROP) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  }
  BOOL OnDropOnItem(COleDataObject* data, DROPEFFECT, CPoint, int item) override {
    m_dropItem = item;
    return data->GetFileNames(m_dropFiles);
  }
  void OnDragLeaveList() override { ++m_leaves; }
};

// The bar records the clicks its lists report, as the host's launch bar handles them.
class CTestListBar : public SECListBar {
 public:
  std::vector<std::pair<UINT, int>> m_clicks;  // (list id, item)
  int m_groupChanges = 0;
  void OnActiveGroupChanged(int) override { ++m_groupChanges; }

 protected:
  afx_msg void OnItemClick(NMHDR* header, LRESULT* result) {
    m_clicks.push_back({UINT(header->idFrom), reinterpret_cast<NMLISTVIEW*>(header)->iItem});
    *result = 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestListBar, SECListBar)
  ON_NOTIFY(SECLN_ITEMCLICK, kListId, OnItemClick)
  ON_NOTIFY(SECLN_ITEMCLICK, kOtherListId, OnItemClick)
END_MESSAGE_MAP()

// Drives a drag without a hand on the mouse: keeps the cursor on the target while the drag sees it a few
// times, then drops.
class CScriptedSource : public COleDropSource {
 public:
  CPoint m_target;
  int m_calls = 0;
  SCODE QueryContinueDrag(BOOL, DWORD) override {
    SetCursorPos(m_target.x, m_target.y);
    return ++m_calls < 8 ? S_OK : DRAGDROP_S_DROP;
  }
};

class ListBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(SUCCEEDED(OleInitialize(NULL))); }
  static void TearDownTestSuite() { OleUninitialize(); }

  void SetUp() override {
    ASSERT_TRUE(large.Create(32, 32, ILC_COLOR24 | ILC_MASK, 8, 8));
    ASSERT_TRUE(small.Create(16, 16, ILC_COLOR24 | ILC_MASK, 8, 8));
    // Real icons of the shell.
    for (int index : {1, 8, 13, 15, 3}) {
      HICON big = NULL, little = NULL;
      ExtractIconExA("shell32.dll", index, &big, &little, 1);
      if (!big) big = LoadIconA(NULL, MAKEINTRESOURCEA(32512));
      large.Add(big);
      small.Add(little ? little : big);
    }
    frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(NULL, "Launch bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 440, 640)));
    CRect client;
    frame->GetClientRect(&client);
    ASSERT_TRUE(bar.Create(WS_VISIBLE, CRect(0, 0, kBarWidth, client.bottom), frame, kBarId));
    list.SetImageLists(&large, &small);
    ASSERT_EQ(0, bar.AddGroup("Launch Bar", &list, kListId));
    list.SetTextColor(RGB(255, 255, 255));
    for (int i = 0; i < 5; ++i) ASSERT_EQ(i, list.InsertItem(i, kLabels[i], i));
    frame->SetForegroundWindow();
    Settle();
  }
  void TearDown() override {
    if (frame && frame->m_hWnd) frame->DestroyWindow();
    sectest::Pump();
  }
  void Settle() {
    bar.UpdateWindow();
    list.RedrawWindow();
    sectest::Pump();
  }
  // The client point of the list at the middle of a rectangle.
  static CPoint Middle(const CRect& r) { return r.CenterPoint(); }
  // Whether any pixel of the list's window in rect has color.
  BOOL Shows(const CRect& rect, COLORREF color) {
    HDC dc = ::GetDC(list.m_hWnd);
    BOOL found = FALSE;
    for (int y = rect.top; y < rect.bottom && !found; ++y)
      for (int x = rect.left; x < rect.right && !found; ++x) found = ::GetPixel(dc, x, y) == color;
    ::ReleaseDC(list.m_hWnd, dc);
    return found;
  }
  void ExpectHitTesting() {
    for (int i = 0; i < 5; ++i) {
      CRect box, icon, label;
      ASSERT_TRUE(list.GetItemParts(i, box, icon, label)) << i;
      UINT part = 0;
      EXPECT_EQ(i, list.ItemFromPoint(Middle(icon), &part)) << i;
      EXPECT_EQ(UINT(SECLHT_ICON), part) << i;
      EXPECT_EQ(i, list.ItemFromPoint(CPoint(label.left + 2, label.CenterPoint().y), &part)) << i;
      EXPECT_EQ(UINT(SECLHT_LABEL), part) << i;
    }
    CRect box, icon, label;
    list.GetItemParts(4, box, icon, label);
    UINT part = 99;
    EXPECT_EQ(-1, list.ItemFromPoint(CPoint(box.left + 2, box.bottom + 30), &part));
    EXPECT_EQ(UINT(SECLHT_NOWHERE), part);
  }

  CImageList large, small;
  CFrameWnd* frame = nullptr;
  CTestListBar bar;
  CPaintedList list;
};

TEST_F(ListBarTest, FiveLargeIconsOverTheirLabelsPaintedByTheOwnerAndHitOnIconOrLabel) {
  EXPECT_TRUE(bar.IsLargeIcons());
  EXPECT_EQ(std::set<int>({0, 1, 2, 3, 4}), list.m_painted);
  EXPECT_GT(list.m_backgrounds, 0);
  CRect client;
  list.GetClientRect(&client);
  int previousBottom = -1;
  for (int i = 0; i < 5; ++i) {
    CRect box, icon, label;
    ASSERT_TRUE(list.GetItemParts(i, box, icon, label));
    // One item per row, the icon centred over its label, all inside the 85-pixel bar.
    EXPECT_EQ(32, icon.Width());
    EXPECT_EQ(32, icon.Height());
    EXPECT_NEAR(client.Width() / 2, icon.CenterPoint().x, 2) << i;
    EXPECT_GE(label.top, icon.bottom) << i;
    EXPECT_GT(box.top, previousBottom - 1) << i;
    EXPECT_LE(box.bottom, client.bottom) << i;
    previousBottom = box.bottom;
    // The shadow shows beside the shifted icon.
    EXPECT_TRUE(Shows(icon, kShadow)) << i;
  }
  CRect below(0, previousBottom + 10, client.right, client.bottom);
  EXPECT_TRUE(Shows(below, kTileDark));
  EXPECT_TRUE(Shows(below, kTileLight));
  ExpectHitTesting();
  // The two-line label of the long name is hit on its second line too.
  CRect box, icon, label;
  list.GetItemParts(4, box, icon, label);
  UINT part = 0;
  EXPECT_EQ(4, list.ItemFromPoint(CPoint(label.CenterPoint().x, label.bottom - 2), &part));
  EXPECT_EQ(UINT(SECLHT_LABEL), part);
  // Beside the icon but in the item's row: the item, neither icon nor label.
  EXPECT_EQ(4, list.ItemFromPoint(CPoint(box.left + 1, icon.CenterPoint().y), &part));
  EXPECT_EQ(UINT(SECLHT_ITEM), part);
  sectest::HoldForScreenshot();
}

TEST_F(ListBarTest, FiveSmallIconsBesideTheirLabelsOneRowEach) {
  bar.SetLargeIcons(FALSE);
  EXPECT_FALSE(list.IsLargeIcons());
  list.m_painted.clear();
  Settle();
  EXPECT_EQ(std::set<int>({0, 1, 2, 3, 4}), list.m_painted);
  CRect previous;
  for (int i = 0; i < 5; ++i) {
    CRect box, icon, label;
    ASSERT_TRUE(list.GetItemParts(i, box, icon, label));
    EXPECT_EQ(16, icon.Width());
    EXPECT_EQ(16, icon.Height());
    EXPECT_GE(label.left, icon.right - 1) << i;
    EXPECT_NEAR(icon.CenterPoint().y, label.CenterPoint().y, 2) << i;
    if (i > 0) {
      EXPECT_EQ(previous.left, box.left) << i;
      EXPECT_GE(box.top, previous.bottom) << i;
    }
    previous = box;
    EXPECT_TRUE(Shows(icon, kShadow)) << i;
  }
  ExpectHitTesting();
  // Past the end of a short label the row is the item's, not its label's.
  CRect box, icon, label;
  list.GetItemParts(0, box, icon, label);
  UINT part = 0;
  ASSERT_LT(label.right + 2, box.right);
  EXPECT_EQ(0, list.ItemFromPoint(CPoint(label.right + 1, label.CenterPoint().y), &part));
  EXPECT_EQ(UINT(SECLHT_ITEM), part);
  sectest::HoldForScreenshot();
  // And back to large icons.
  bar.SetLargeIcons(TRUE);
  list.GetItemParts(0, box, icon, label);
  EXPECT_EQ(32, icon.Width());
}

TEST_F(ListBarTest, TwentyFiveItemsScrollAndThoseInViewArePaintedAndHit) {
  for (int i = 5; i < 25; ++i) {
    CString label;
    label.Format("Item %d", i + 1);
    ASSERT_EQ(i, list.InsertItem(i, label, i % 5));
  }
  Settle();
  EXPECT_TRUE(list.GetStyle() & WS_VSCROLL);
  list.m_painted.clear();
  int backgrounds = list.m_backgrounds;
  // Scrolled down a page with the scroll bar, then to the last item.
  list.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
  ASSERT_TRUE(list.EnsureVisible(24, FALSE));
  Settle();
  CRect client, box, icon, label;
  list.GetClientRect(&client);
  ASSERT_TRUE(list.GetItemParts(24, box, icon, label));
  EXPECT_TRUE(client.PtInRect(icon.CenterPoint()));
  UINT part = 0;
  EXPECT_EQ(24, list.ItemFromPoint(icon.CenterPoint(), &part));
  EXPECT_EQ(UINT(SECLHT_ICON), part);
  ASSERT_TRUE(list.GetItemParts(0, box, icon, label));
  EXPECT_LT(box.bottom, client.top);
  // Only what is in view was painted, over a background painted whole again.
  EXPECT_EQ(1u, list.m_painted.count(24));
  EXPECT_EQ(0u, list.m_painted.count(0));
  EXPECT_GT(list.m_backgrounds, backgrounds);
}

TEST_F(ListBarTest, AClickOnIconOrLabelReachesTheBarAndThePressedItemShowsSunken) {
  CRect box, icon, label;
  ASSERT_TRUE(list.GetItemParts(2, box, icon, label));
  // The mouse over the icon makes the item hot.
  list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(icon.CenterPoint().x, icon.CenterPoint().y));
  EXPECT_EQ(2, list.GetHotItem());
  Settle();
  EXPECT_TRUE(list.m_states[2] & SECLIS_HOT);
  // Pressed on the label: shown pressed; released there: one click on item 2.
  CPoint onLabel(label.left + 2, label.CenterPoint().y);
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(onLabel.x, onLabel.y));
  EXPECT_EQ(2, list.GetPressedItem());
  Settle();
  EXPECT_TRUE(list.m_states[2] & SECLIS_PRESSED);
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(onLabel.x, onLabel.y));
  ASSERT_EQ(1u, bar.m_clicks.size());
  EXPECT_EQ(kListId, bar.m_clicks[0].first);
  EXPECT_EQ(2, bar.m_clicks[0].second);
  EXPECT_EQ(-1, list.GetPressedItem());

  // Pressed on item 1's icon, dragged off and released elsewhere: no click, and no longer shown pressed.
  ASSERT_TRUE(list.GetItemParts(1, box, icon, label));
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(icon.CenterPoint().x, icon.CenterPoint().y));
  CRect other, otherIcon, otherLabel;
  list.GetItemParts(3, other, otherIcon, otherLabel);
  list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(otherIcon.CenterPoint().x, otherIcon.CenterPoint().y));
  EXPECT_FALSE(list.GetItemPaintState(1) & SECLIS_PRESSED);
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(otherIcon.CenterPoint().x, otherIcon.CenterPoint().y));
  EXPECT_EQ(1u, bar.m_clicks.size());
  // A press beside icon and label presses nothing.
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.left + 1, icon.CenterPoint().y));
  EXPECT_EQ(-1, list.GetPressedItem());
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(box.left + 1, icon.CenterPoint().y));
  EXPECT_EQ(1u, bar.m_clicks.size());
  // The mouse leaving the list leaves no hot item.
  list.SendMessage(WM_MOUSELEAVE);
  EXPECT_EQ(-1, list.GetHotItem());
}

TEST_F(ListBarTest, FilesDraggedOntoAnItemAreDroppedOnThatItem) {
  ASSERT_TRUE(list.RegisterDropTarget());
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  CStringArray paths;
  for (LPCSTR name : {"secdrop1.jpg", "secdrop2.png"}) {
    CString path = CString(temp) + name;
    CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    paths.Add(path);
  }
  struct Case {
    int item;        // the item aimed at, -1 for below the last one
    int expected;    // what the drop reports
    DROPEFFECT effect;
  } cases[] = {{3, 3, DROPEFFECT_COPY}, {0, 0, DROPEFFECT_COPY}, {-1, -2, DROPEFFECT_NONE}};
  for (const Case& c : cases) {
    list.m_dropItem = -2;
    list.m_dropFiles.RemoveAll();
    CRect box, icon, label;
    ASSERT_TRUE(list.GetItemParts(c.item >= 0 ? c.item : 4, box, icon, label));
    CPoint target = c.item >= 0 ? icon.CenterPoint() : CPoint(box.CenterPoint().x, box.bottom + 40);
    list.ClientToScreen(&target);
    COleDataSource* data = new COleDataSource;
    data->CacheGlobalData(CF_HDROP, AfxCreateDropFiles(paths));
    CScriptedSource script;
    script.m_target = target;
    DROPEFFECT effect;
    {
      sectest::HeldKeys keys({});
      CRect noWait;
      effect = data->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, &noWait, &script);
    }
    data->InternalRelease();
    EXPECT_EQ(c.effect, effect) << c.item;
    EXPECT_EQ(c.expected, list.m_dropItem) << c.item;
    if (c.item >= 0) {
      ASSERT_EQ(2, list.m_dropFiles.GetSize()) << c.item;
      EXPECT_STREQ(paths[0], list.m_dropFiles[0]);
      EXPECT_STREQ(paths[1], list.m_dropFiles[1]);
    }
    EXPECT_EQ(-1, list.GetDropHiliteItem()) << c.item;
  }
  EXPECT_GT(list.m_dragOvers, 0);
  EXPECT_EQ(1, list.m_leaves);  // the drop below the items was refused, so the drag left
  // Where a dropped program would go: before the item at the point, or at the end.
  CRect box, icon, label;
  list.GetItemParts(2, box, icon, label);
  EXPECT_EQ(2, list.GetInsertIndex(CPoint(5, box.top + 1)));
  EXPECT_EQ(3, list.GetInsertIndex(CPoint(5, box.bottom - 1)));
  EXPECT_EQ(5, list.GetInsertIndex(CPoint(5, 10000)));
  for (INT_PTR i = 0; i < paths.GetSize(); ++i) DeleteFileA(paths[i]);
}

TEST_F(ListBarTest, AGroupOpensThroughItsHeaderAndTheOthersListHides) {
  CPaintedList other;
  other.SetImageLists(&large, &small);
  ASSERT_EQ(1, bar.AddGroup("Tools", &other, kOtherListId));
  other.InsertItem(0, "Scanner", 2);
  EXPECT_EQ(0, bar.GetActiveGroup());
  CRect client;
  bar.GetClientRect(&client);
  CRect first = bar.GetGroupHeaderRect(0), second = bar.GetGroupHeaderRect(1);
  EXPECT_EQ(client.top, first.top);
  EXPECT_EQ(client.bottom, second.bottom);  // below the open group's list
  EXPECT_TRUE(list.IsWindowVisible());
  EXPECT_FALSE(other.IsWindowVisible());
  // Pressed and released on the second header: it opens and moves up under the first.
  bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(second.CenterPoint().x, second.CenterPoint().y));
  bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(second.CenterPoint().x, second.CenterPoint().y));
  EXPECT_EQ(1, bar.GetActiveGroup());
  EXPECT_EQ(1, bar.m_groupChanges);
  EXPECT_FALSE(list.IsWindowVisible());
  EXPECT_TRUE(other.IsWindowVisible());
  EXPECT_EQ(first.bottom, bar.GetGroupHeaderRect(1).top);
  CRect otherRect;
  other.GetWindowRect(&otherRect);
  bar.ScreenToClient(&otherRect);
  EXPECT_EQ(bar.GetGroupHeaderRect(1).bottom, otherRect.top);
  EXPECT_EQ(client.bottom, otherRect.bottom);
  EXPECT_EQ(1, bar.GroupFromPoint(bar.GetGroupHeaderRect(1).CenterPoint()));
  EXPECT_EQ(-1, bar.GroupFromPoint(otherRect.CenterPoint()));
  // A click in the other group's list is reported with that list's id.
  CRect box, icon, label;
  ASSERT_TRUE(other.GetItemParts(0, box, icon, label));
  other.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(icon.CenterPoint().x, icon.CenterPoint().y));
  other.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(icon.CenterPoint().x, icon.CenterPoint().y));
  ASSERT_EQ(1u, bar.m_clicks.size());
  EXPECT_EQ(kOtherListId, bar.m_clicks[0].first);
  // Removing the open group opens the one before it.
  ASSERT_TRUE(bar.RemoveGroup(1));
  EXPECT_EQ(0, bar.GetActiveGroup());
  EXPECT_EQ(1, bar.GetGroupCount());
  EXPECT_TRUE(list.IsWindowVisible());
  EXPECT_EQ(nullptr, other.m_hWnd);
}

TEST_F(ListBarTest, HeldByASizableBarDockedLeftAt85PixelsTheListBarFillsItAndFollowsItsSize) {
  // The host's arrangement: its launch bar is a sizable docking bar holding the list bar.
  CFrameWnd* host = new CFrameWnd;
  ASSERT_TRUE(host->Create(NULL, "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(480, 40, 980, 640)));
  SECEnableDocking(host, CBRS_ALIGN_ANY);
  SECControlBar holder;
  ASSERT_TRUE(holder.Create(host, "Launch Bar", WS_CHILD | WS_VISIBLE | CBRS_LEFT, kBarId));
  holder.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
  CTestListBar launch;
  ASSERT_TRUE(launch.Create(WS_VISIBLE, CRect(0, 0, 10, 10), &holder, 1));
  CPaintedList items;
  items.SetImageLists(&large, &small);
  ASSERT_EQ(0, launch.AddGroup("Launch Bar", &items, kListId));
  items.SetTextColor(RGB(255, 255, 255));
  for (int i = 0; i < 5; ++i) items.InsertItem(i, kLabels[i], i);
  SECDockControlBarEx(host, &holder, AFX_IDW_DOCKBAR_LEFT, 0, 0, 100.0f, kBarWidth);
  host->RecalcLayout();
  sectest::Pump();
  EXPECT_EQ(&launch, holder.GetChildWnd());
  auto expectFilled = [&](int thickness) {
    CRect inside, placed;
    holder.GetClientRect(&inside);
    launch.GetWindowRect(&placed);
    holder.ScreenToClient(&placed);
    EXPECT_EQ(inside, placed) << thickness;
    CRect window;
    holder.GetWindowRect(&window);
    EXPECT_EQ(thickness, window.Width());
    CRect client, box, icon, label;
    items.GetClientRect(&client);
    ASSERT_TRUE(items.GetItemParts(0, box, icon, label));
    EXPECT_NEAR(client.Width() / 2, icon.CenterPoint().x, 2) << thickness;
  };
  expectFilled(kBarWidth);
  sectest::HoldForScreenshot();
  // Made wider, as dragging its splitter edge does: the list bar and its centred icons follow.
  holder.SetDockedThickness(FALSE, 140);
  host->RecalcLayout();
  sectest::Pump();
  expectFilled(140);
  // A click on an icon still reaches the list bar inside the docking bar.
  CRect box, icon, label;
  ASSERT_TRUE(items.GetItemParts(4, box, icon, label));
  items.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(icon.CenterPoint().x, icon.CenterPoint().y));
  items.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(icon.CenterPoint().x, icon.CenterPoint().y));
  ASSERT_EQ(1u, launch.m_clicks.size());
  EXPECT_EQ(4, launch.m_clicks[0].second);
  host->DestroyWindow();
  sectest::Pump();
}

}  // namespace
