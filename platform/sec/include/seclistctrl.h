// SECListCtrl and SECShortcutListCtrl: list controls over comctl32's list view whose painting the owner
// takes over through overridable hooks (background, each item, its icon and label) and that tell which part
// of an item (icon, label) lies under a point. SECShortcutListCtrl shows its items in one column (large icons
// over their labels, or small icons beside them), tracks the item under the mouse and the pressed one, tells
// its parent when an icon or label was clicked, and takes OLE drops onto an item. The host's launch bar list
// (cBkgndListCtrl) derives from SECShortcutListCtrl; SECListBar shows such lists as its groups.
#pragma once
#include "secdefs.h"
#include <afxcmn.h>
#include <afxole.h>

// Parts of an item that ItemFromPoint reports.
#define SECLHT_NOWHERE 0x0
#define SECLHT_ICON 0x1   // on the item's icon
#define SECLHT_LABEL 0x2  // on the item's label text
#define SECLHT_ITEM 0x4   // inside the item's box, beside icon and label

// States an item is painted in (SECListPaintItem::nState).
#define SECLIS_SELECTED 0x01
#define SECLIS_FOCUSED 0x02
#define SECLIS_HOT 0x04         // under the mouse (SECShortcutListCtrl)
#define SECLIS_PRESSED 0x08     // pressed and the mouse still over it (SECShortcutListCtrl)
#define SECLIS_DROPHILITE 0x10  // under a drag that may drop on it (SECShortcutListCtrl)

// Notification (WM_NOTIFY with an NMLISTVIEW: iItem, ptAction in client coordinates) a shortcut list sends its
// parent when the user clicked an item's icon or label.
#define SECLN_ITEMCLICK 0x0A01

// One item as the painting hooks see it; rectangles in the control's client coordinates.
struct SECListPaintItem {
  int nItem;
  UINT nState;      // SECLIS_*
  CRect rcItem;     // the item's box
  CRect rcIcon;     // the icon, the size of the image list's images
  CRect rcLabel;    // the label text
  CString strText;
  int nImage;       // index in hImages, -1 without one
  HIMAGELIST hImages;  // the image list of the current icon size, may be null
  BOOL bLargeIcons;
};

class SEC_API SECListCtrl : public CListCtrl {
  DECLARE_DYNAMIC(SECListCtrl)
 public:
  SECListCtrl();
  ~SECListCtrl() override;

  // Creates the list view with the window styles given (WS_CHILD, WS_VISIBLE, ...), large icons, shared
  // image lists and no column header.
  virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, DWORD exStyle = 0);

  // The image lists of large and small icons; they stay the caller's (the control never destroys them).
  void SetImageLists(CImageList* large, CImageList* small);
  CImageList* GetImageList(BOOL large) const { return large ? m_pLargeImages : m_pSmallImages; }
  // Large icons over their labels, or small icons beside them.
  virtual void SetLargeIcons(BOOL large);
  BOOL IsLargeIcons() const { return m_bLargeIcons; }

  void SetBkColor(COLORREF color);
  COLORREF GetBkColor() const { return m_crBack; }
  void SetTextColor(COLORREF color);
  COLORREF GetTextColor() const { return m_crText; }

  // The item at point (client coordinates) and the part of it (SECLHT_*), -1 and SECLHT_NOWHERE for none.
  int ItemFromPoint(CPoint point, UINT* part = NULL) const;
  // The box, icon and label of item as they are painted; false for an item that does not exist.
  BOOL GetItemParts(int item, CRect& box, CRect& icon, CRect& label) const;
  // Repaints item (its box and what its painting may overlap around it).
  void InvalidateItem(int item);

  // Painting hooks, called on an off-screen bitmap in client coordinates. DrawBackground fills area with
  // the background colour; DrawItem paints the icon and then the label; DrawItemIcon draws the image,
  // DrawItemLabel the text in the text colour (selected: highlighted).
  virtual void DrawBackground(CDC* dc, const CRect& area);
  virtual void DrawItem(CDC* dc, const SECListPaintItem& item);
  virtual void DrawItemIcon(CDC* dc, const SECListPaintItem& item);
  virtual void DrawItemLabel(CDC* dc, const SECListPaintItem& item);
  // The state item is painted in; derived classes add their own states.
  virtual UINT GetItemPaintState(int item) const;

  // Text formats of labels (DrawText flags) in the two icon sizes.
  static const UINT kLargeLabelFormat = DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOPREFIX | DT_EDITCONTROL;
  static const UINT kSmallLabelFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;

 protected:
  // Applies the list view style and spacing of the icon size and the client width.
  virtual void RecalcLayout();
  // The list view style (LVS_ICON, LVS_SMALLICON, ...) that shows the given icon size.
  virtual DWORD ViewStyleFor(BOOL large) const;
  void PaintItems(CDC* dc, const CRect& area);

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnScrolled(WPARAM wParam, LPARAM lParam);

  CImageList* m_pLargeImages;
  CImageList* m_pSmallImages;
  BOOL m_bLargeIcons;
  COLORREF m_crBack;
  COLORREF m_crText;
  DECLARE_MESSAGE_MAP()
};

class SEC_API SECShortcutListCtrl : public SECListCtrl {
  DECLARE_DYNAMIC(SECShortcutListCtrl)
 public:
  SECShortcutListCtrl();
  ~SECShortcutListCtrl() override;

  int GetHotItem() const { return m_nHotItem; }
  int GetPressedItem() const { return m_nPressedItem; }
  int GetDropHiliteItem() const { return m_nDropItem; }

  // Makes the list an OLE drop target (OLE must be started); its drags and drops come to the hooks below.
  BOOL RegisterDropTarget();
  void RevokeDropTarget();
  // The index an item dropped at point would take: before the item whose box holds point or lies below it.
  int GetInsertIndex(CPoint point) const;

  // Called when the user released the mouse on the icon or label of the item pressed; the base sends
  // SECLN_ITEMCLICK to the parent.
  virtual void OnItemClicked(int item, CPoint point);
  // Drag hooks: item is the item under point (any part of its box) or -1. OnDragOverItem returns the effect
  // to offer (the base: none); the list highlights the item while the effect is not none. OnDropOnItem takes
  // the data (the base takes nothing).
  virtual DROPEFFECT OnDragOverItem(COleDataObject* data, DWORD keyState, CPoint point, int item);
  virtual BOOL OnDropOnItem(COleDataObject* data, DROPEFFECT effect, CPoint point, int item);
  virtual void OnDragLeaveList();

  // Adds the hot, pressed and drop states; the base DrawItem draws a raised edge around a hot or drop
  // target item's icon and a sunken one around a pressed item's icon.
  UINT GetItemPaintState(int item) const override;
  void DrawItem(CDC* dc, const SECListPaintItem& item) override;

 protected:
  void RecalcLayout() override;
  DWORD ViewStyleFor(BOOL large) const override;
  void SetHotItem(int item);
  void SetPressedItem(int item);
  void SetDropItem(int item);

  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* wnd);
  afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();

  int m_nHotItem;
  int m_nPressedItem;  // the item the button went down on, while the button is down
  BOOL m_bPressedShown;  // the mouse is over the pressed item, so it shows pressed
  int m_nDropItem;
  BOOL m_bTrackingLeave;

  class DropTarget;
  friend class DropTarget;
  DropTarget* m_pDropTarget;
  DECLARE_MESSAGE_MAP()
};
