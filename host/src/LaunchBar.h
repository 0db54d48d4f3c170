// The launch bar: a list bar (cLaunchBar on cListBar) with one group, "Launch Bar", whose list
// (cBkgndListCtrl) shows the launch items as large or small icons with drop shadows over a tiled picture or
// a colour, launches an item when its icon or label is clicked, opens files dropped on an item with it and
// adds programs dropped on it as items. The look comes from "LaunchBar Prefs"; the main frame holds the bar
// inside its sizable control bar.
#pragma once
#include "LaunchItem.h"
#include "seclistbar.h"

class cLaunchBar;

class cBkgndListCtrl : public SECShortcutListCtrl {
 public:
  cBkgndListCtrl();
  ~cBkgndListCtrl() override;

  // The picture tiled behind the icons (a device-independent bitmap file, loaded once); false when it cannot
  // be read (the colour is used then).
  BOOL SetBackgroundFile(LPCSTR path);
  BOOL HasBackgroundPicture() const { return m_hBackground != NULL; }

  void DrawBackground(CDC* dc, const CRect& area) override;
  void DrawItem(CDC* dc, const SECListPaintItem& item) override;
  DROPEFFECT OnDragOverItem(COleDataObject* data, DWORD keyState, CPoint point, int item) override;
  BOOL OnDropOnItem(COleDataObject* data, DROPEFFECT effect, CPoint point, int item) override;

  cLaunchBar* m_pBar;

 protected:
  // The icon's opaque part in the shadow colour at the icon's place.
  static void DrawShadow(CDC* dc, const SECListPaintItem& item);
  afx_msg void OnContextMenu(CWnd* wnd, CPoint point);
  HBITMAP m_hBackground;
  HPALETTE m_hPalette;
  CSize m_sizeBackground;
  DECLARE_MESSAGE_MAP()
};

class cListBar : public SECListBar {
 public:
  cListBar();
};

class cLaunchBar : public cListBar {
 public:
  cLaunchBar();
  ~cLaunchBar() override;

  // Creates the bar in parent (the control bar holding it) over items, with the look of "LaunchBar Prefs".
  BOOL Create(CWnd* parent, cLaunchItemList* items);
  // Fills the list and its image lists from the items again.
  void Refresh();
  // Large or small icons; the state is written when the bar is destroyed.
  void SetIconState(BOOL large);
  BOOL GetIconState() const { return IsLargeIcons(); }
  cBkgndListCtrl& GetList() { return m_list; }
  cLaunchItemList* GetItems() const { return m_pItems; }

  // The user interface's add and remove (the main frame's commands and the list's context menu).
  BOOL AddItem(LPCSTR programPath, int index);
  void RemoveItem(cLaunchItem* item);
  // Asks for a program with the open dialog and adds it at index.
  BOOL PromptAddItem(int index);
  // Launches item index of the list.
  BOOL LaunchItem(int index);

 protected:
  void LoadPrefs();
  afx_msg void OnItemClick(NMHDR* header, LRESULT* result);
  afx_msg void OnDestroy();

  cBkgndListCtrl m_list;
  CImageList m_largeImages;
  CImageList m_smallImages;
  cLaunchItemList* m_pItems;
  CFont m_font;
  DECLARE_MESSAGE_MAP()
};
