// Control bars: the bar base (CControlBar: bar styles, state flags, owner routing, layout queries, the idle
// update of its items through CCmdUI), tool bars over comctl32 (CToolBar), status bars (CStatusBar) and bars
// made from a dialog template (CDialogBar). Frames dock and float them (CFrameWnd::EnableDocking,
// DockControlBar, FloatControlBar, ShowControlBar, LoadBarState/SaveBarState); the dock bars, floating frames
// and drag helper are in afxpriv.h, the saved bar state and the recent-file list in afxadv.h. Used by every
// frame that shows bars: the host's main frame, the component frames and their helper, print preview.
#pragma once
#include "afxwin.h"
#include "afxdlgs.h"
#include "afxadv.h"
#include <commctrl.h>

class CDockBar;
class CDockContext;

// The resource type of tool bar layouts (CToolBar::LoadToolBar).
#define RT_TOOLBAR MAKEINTRESOURCEA(241)

// Modes of CalcDynamicLayout.
#define LM_STRETCH 0x01   // fill the dock bar's length
#define LM_HORZ 0x02      // horizontal
#define LM_MRUWIDTH 0x04  // the width the bar had last time it floated
#define LM_HORZDOCK 0x08  // docked on a horizontal dock bar
#define LM_VERTDOCK 0x10  // docked on a vertical dock bar
#define LM_LENGTHY 0x20   // length is a height, not a width
#define LM_COMMIT 0x40    // the size becomes the bar's own

// Status bar pane styles.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000  // the pane shows no text
#define SBPS_STRETCH 0x08000000   // the pane takes the width the others leave

// Base of every bar. A bar is created as a child of a frame and either laid out by that frame directly
// (status bars, the preview bar) or held by one of the frame's dock bars, docked or floating. Its commands
// go to its owner (SetOwner; the parent frame by default), and the owner's command routing decides the
// state of its items at idle time.
class AFX_API CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)
 public:
  ~CControlBar() override;

  // Bits of m_nStateFlags the framework uses; bits from 0x10 up are free for derived classes and callers.
  enum StateFlags { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };

  DWORD GetBarStyle() const { return m_dwStyle; }
  void SetBarStyle(DWORD style);
  // The sides this bar may dock on (CBRS_ALIGN_*, CBRS_FLOAT_MULTI); 0 keeps it where it is.
  void EnableDocking(DWORD dockStyle);
  BOOL IsFloating() const;
  // Shown, counting a show or hide that waits for the next layout.
  virtual BOOL IsVisible() const;
  virtual BOOL IsDockBar() const { return FALSE; }
  // The frame whose layout places this bar: the dock site when docked, the floating frame when floating.
  CFrameWnd* GetDockingFrame() const;
  // Shows or hides the bar at the frame's next layout.
  virtual void DelayShow(BOOL show);
  // Number of items (buttons, panes, docked bars).
  virtual int GetCount() const { return 0; }

  // The size the bar wants: stretched along a dock bar, or its own; horizontal or vertical.
  virtual CSize CalcFixedLayout(BOOL stretch, BOOL horz);
  // The size for length (-1: the bar's choice) in mode (LM_*).
  virtual CSize CalcDynamicLayout(int length, DWORD mode);
  // Asks target (the owner frame) for the state of every item; items without handlers are disabled when
  // disableIfNoHandler.
  virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) = 0;
  virtual void OnBarStyleChange(DWORD oldStyle, DWORD newStyle);
  // The client rectangle less the bar's borders and gripper.
  virtual void CalcInsideRect(CRect& rect, BOOL horz) const;
  virtual void DoPaint(CDC* dc);
  // The item under point (client coordinates), or -1 for the bar's own surface (where dragging starts).
  virtual int HitTestItem(CPoint point) const { return -1; }
  // The command of item index (0 for a gap or a bar without command items).
  virtual UINT GetItemID(int index) const { return 0; }

  // Saved state (afxadv.h): this bar's record, and applying one.
  virtual void GetBarInfo(CControlBarInfo* info);
  virtual void SetBarInfo(CControlBarInfo* info, CFrameWnd* frame);

  int m_cxLeftBorder, m_cxRightBorder;
  int m_cyTopBorder, m_cyBottomBorder;
  int m_cxDefaultGap;
  UINT m_nMRUWidth;  // width while floating with CBRS_SIZE_DYNAMIC
  BOOL m_bAutoDelete;  // deleted when its window is destroyed
  UINT m_nStateFlags;
  DWORD m_dwStyle;
  DWORD m_dwDockStyle;
  CFrameWnd* m_pDockSite;       // the frame that docks it (null until docking is enabled)
  CDockBar* m_pDockBar;         // the dock bar holding it, or null
  CDockContext* m_pDockContext;  // dragging and the last docked/floating places; null until EnableDocking

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  CControlBar();
  // Creates the bar's window (a child of parent, added to the parent frame's bar list) with the window
  // styles windowStyle (no bar styles among them) and the bar styles barStyle.
  BOOL CreateBar(DWORD exStyle, LPCSTR className, DWORD windowStyle, DWORD barStyle, CWnd* parent, UINT id);
  // Applies a show or hide that waits for layout; returns the bar's styles as they are after it.
  DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* layout);
  // Draws the borders and gripper of a bar whose client area the system control paints.
  void DrawNonClient(CDC* dc);
  // The rectangle of the gripper in window coordinates (empty without CBRS_GRIPPER or while floating).
  CRect GetGripperRect() const;
  // Routes a message a bar (or a control on it) sends its parent: to the bar it is about, then its owner.
  LRESULT RouteToOwner(UINT message, WPARAM wParam, LPARAM lParam);
  void PostNcDestroy() override;

  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
  afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
  afx_msg void OnNcPaint();
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);

  friend class CDockBar;
  friend class CDockContext;
  friend class CFrameWnd;
  DECLARE_MESSAGE_MAP()
};

// A tool bar over comctl32's: buttons from a tool bar resource and its bitmap, or set one by one; tool tips
// and fly-by prompts from the commands' prompt strings ("prompt\ntip"); drop-down buttons notify their
// owner with TBN_DROPDOWN. Wraps into a column when docked on a side.
class AFX_API CToolBar : public CControlBar {
  DECLARE_DYNAMIC(CToolBar)
 public:
  CToolBar();
  ~CToolBar() override;
  BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
  // ctrlStyle: TBSTYLE_* of the control (TBSTYLE_FLAT is always added).
  BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                CRect borders = CRect(0, 0, 0, 0), UINT id = AFX_IDW_TOOLBAR);
  // Buttons and images from the RT_TOOLBAR resource and the bitmap of the same name.
  BOOL LoadToolBar(LPCSTR resourceName);
  BOOL LoadToolBar(UINT resourceId) { return LoadToolBar(MAKEINTRESOURCEA(resourceId)); }
  // Images of the buttons: a strip of button-sized images (light grey shows the bar's face).
  BOOL LoadBitmap(LPCSTR resourceName);
  BOOL LoadBitmap(UINT resourceId) { return LoadBitmap(MAKEINTRESOURCEA(resourceId)); }
  // Buttons with these commands (ID_SEPARATOR: a gap), images in order; null ids: count empty buttons.
  BOOL SetButtons(const UINT* ids, int count);
  void SetSizes(SIZE button, SIZE image);
  void SetHeight(int height);

  int CommandToIndex(UINT id) const;  // -1 when no button has it
  UINT GetItemID(int index) const override;
  void GetItemRect(int index, LPRECT rect) const;
  UINT GetButtonStyle(int index) const;  // TBBS_/TBSTYLE_ style with its TBSTATE_ state in the high word
  void SetButtonStyle(int index, UINT style);
  void GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
  void SetButtonInfo(int index, UINT id, UINT style, int image);
  BOOL SetButtonText(int index, LPCSTR text);
  CString GetButtonText(int index) const;
  DWORD SetExtendedStyle(DWORD exStyle);  // TBSTYLE_EX_*; TBSTYLE_EX_DRAWDDARROWS for drop-down arrows

  int GetCount() const override;
  CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
  CSize CalcDynamicLayout(int length, DWORD mode) override;
  void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
  void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) override;
  int HitTestItem(CPoint point) const override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  CSize CalcLayout(BOOL horz);
  void SetWrapped(BOOL vertical);
  // The control notifies its current parent (a dock bar, which routes to the owner).
  void SyncNotifyParent();
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnGetInfoTip(NMHDR* header, LRESULT* result);
  afx_msg void OnToolTipText(UINT id, NMHDR* header, LRESULT* result);
  afx_msg void OnHotItemChange(NMHDR* header, LRESULT* result);

  HIMAGELIST m_hImageList;
  CSize m_sizeButton;
  CSize m_sizeImage;
  BOOL m_bVertical;  // the buttons stand in a column
  HWND m_hWndNotify;  // where the control sends its notifications
  DECLARE_MESSAGE_MAP()
};

// The state of a tool bar button during the idle update.
#define TBBS_BUTTON TBSTYLE_BUTTON
#define TBBS_SEPARATOR TBSTYLE_SEP
#define TBBS_CHECKBOX TBSTYLE_CHECK
#define TBBS_GROUP TBSTYLE_GROUP
#define TBBS_CHECKGROUP (TBBS_GROUP | TBBS_CHECKBOX)
#define TBBS_DROPDOWN TBSTYLE_DROPDOWN

// A status bar over comctl32's: panes named by string ids (their texts give the widths), the message pane
// (ID_SEPARATOR) showing the frame's prompts, one pane that may stretch over the width the others leave,
// and pane texts updated through CCmdUI at idle time. GetItemRect tells callers where a pane is, for
// controls they place in it (they move them when the bar is resized).
class AFX_API CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)
 public:
  CStatusBar();
  ~CStatusBar() override;
  BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
  BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = 0, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT id = AFX_IDW_STATUS_BAR);
  // One pane per id; the text of each id's string (when it has one) is its first text and sets its width.
  // The first ID_SEPARATOR pane stretches unless another pane is given SBPS_STRETCH.
  BOOL SetIndicators(const UINT* ids, int count);

  int CommandToIndex(UINT id) const;
  UINT GetItemID(int index) const override;
  void GetItemRect(int index, LPRECT rect) const;  // client coordinates
  void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
  void SetPaneInfo(int index, UINT id, UINT style, int width);
  UINT GetPaneStyle(int index) const;
  void SetPaneStyle(int index, UINT style);
  CString GetPaneText(int index) const;
  void GetPaneText(int index, CString& text) const { text = GetPaneText(index); }
  BOOL SetPaneText(int index, LPCSTR text, BOOL update = TRUE);

  int GetCount() const override { return m_nCount; }
  CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
  void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

 protected:
  struct Pane {
    UINT id;
    UINT style;
    int width;  // of the text, without the pane's borders
    CString text;
  };
  // Recomputes the pane edges for the bar's width and hands them to the control.
  void UpdatePanes();
  Pane* m_pPanes;
  int m_nCount;
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnPaint();
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// A bar made from a dialog template (of a child dialog): its controls send their commands to the bar's owner
// and are enabled, checked and named through the owner's update handlers.
class AFX_API CDialogBar : public CControlBar {
  DECLARE_DYNAMIC(CDialogBar)
 public:
  CDialogBar();
  ~CDialogBar() override;
  BOOL Create(CWnd* parent, LPCSTR templateName, UINT style, UINT id);
  BOOL Create(CWnd* parent, UINT templateId, UINT style, UINT id) {
    return Create(parent, MAKEINTRESOURCEA(templateId), style, id);
  }
  CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
  void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

  CSize m_sizeDefault;  // the template's size

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()
};

// Runs the update handlers of a window's child controls (dialog bars, form views): each control with an id
// is an item; push buttons without a handler are disabled when disableIfNoHandler.
AFX_API void AFXAPI AfxUpdateDialogControls(CWnd* wnd, CCmdTarget* target, BOOL disableIfNoHandler);
