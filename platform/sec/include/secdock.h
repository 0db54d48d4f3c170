// Sizable docking: SECControlBar (a bar holding one child window, with a caption strip, a close box and
// splitter edges, sized per side), SECDockBar (rows of sizable bars sharing a side by percent), the resizable
// floating frame, and SECDockableFrame (a frame with its view living in such a bar on the main frame, docked
// or floating, and made an MDI child again through its template). Frames install these classes with
// SECEnableDocking (SECFrameWnd and SECMDIFrameWnd do); hosts and components derive their bars and docked
// frames from them.
#pragma once
#include <afxpriv.h>
#include "secdefs.h"
#include "secres.h"

class SECDockableFrame;
class SECDockBar;

// Edges of a docked SECControlBar that act as splitters (set by its dock bar's layout).
enum SECSplitEdge { SEC_SPLIT_LEFT = 1, SEC_SPLIT_TOP = 2, SEC_SPLIT_RIGHT = 4, SEC_SPLIT_BOTTOM = 8 };

// A sizable bar. Docked, it takes its row's thickness (pixels, kept separately for the top/bottom sides and
// the left/right sides) and a share of the row's length (percent, the shares of a row's bars taken
// relative to each other); floating, its own size. Its caption strip (at the top when docked on the left or
// right, at the left when docked on the top or bottom) shows the title and the close box; pressing the strip
// drags the bar. Dragging a splitter edge sizes the row (the inner edge) or moves the boundary to the next
// bar of the row. The window it holds (its first child) fills its client area.
class SEC_API SECControlBar : public CControlBar {
  DECLARE_DYNCREATE(SECControlBar)
 public:
  SECControlBar();
  ~SECControlBar() override;

  // style: WS_* and CBRS_* (the side it starts on, borders, CBRS_TOOLTIPS); title: the caption.
  virtual BOOL Create(CWnd* parent, LPCSTR title, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_LEFT,
                      UINT id = AFX_IDW_CONTROLBAR_FIRST + 32);

  // The window the bar holds (its first child window), and that window as a dockable frame, or null.
  CWnd* GetChildWnd() const;
  SECDockableFrame* GetDockableFrame() const;

  // Thickness when docked on a horizontal side (top, bottom) or a vertical one (left, right).
  int GetDockedThickness(BOOL horzSide) const { return horzSide ? m_szHorz.cy : m_szVert.cx; }
  void SetDockedThickness(BOOL horzSide, int pixels);
  // Share of the row's length, in percent.
  float GetPercent() const { return m_fPercent; }
  void SetPercent(float percent);
  // Window size while floating.
  CSize GetFloatingSize() const { return m_szFloat; }
  void SetFloatingSize(CSize size);
  BOOL IsHorzDocked() const;

  // The close box was clicked (pressed and released over it). The base hides the bar, or closes the frame
  // when the bar holds a dockable frame.
  virtual void OnCloseBox();
  // Window coordinates of the close box and the caption strip (empty while floating).
  CRect GetCloseBoxRect() const;
  CRect GetCaptionRect() const;
  // Which edges are splitters now (SECSplitEdge bits).
  DWORD GetSplitEdges() const { return m_dwSplitEdges; }
  // Window coordinates of one splitter edge (empty when it is not one).
  CRect GetSplitterRect(DWORD edge) const;

  CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
  CSize CalcDynamicLayout(int length, DWORD mode) override;
  void CalcInsideRect(CRect& rect, BOOL horz) const override;
  void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) override;
  void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
  void GetBarInfo(CControlBarInfo* info) override;
  void SetBarInfo(CControlBarInfo* info, CFrameWnd* frame) override;

  enum { kMinThickness = 24, kDefaultThickness = 150, kDefaultLength = 200, kCaption = 18, kSplitter = 5 };

 protected:
  friend class SECDockBar;
  // Marks the splitter edges; the non-client area follows when they changed.
  void SetSplitEdges(DWORD edges);
  // Follows the mouse from a press on a splitter edge until the button is released (Escape undoes it).
  void TrackSplitter(DWORD edge, CPoint screenPoint);
  // Shows the close box pressed while the button is held; true when it was released over it.
  BOOL TrackCloseBox();
  void DrawCaption(CDC* dc, const CRect& caption);
  BOOL IsActiveCaption() const;

  afx_msg void OnNcPaint();
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcLButtonDown(UINT hitTest, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnSetFocus(CWnd* oldWnd);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDestroyIfEmpty(WPARAM wParam, LPARAM lParam);

  CSize m_szHorz;   // cy: thickness on the top or bottom side
  CSize m_szVert;   // cx: thickness on the left or right side
  CSize m_szFloat;  // window size while floating
  float m_fPercent;
  DWORD m_dwSplitEdges;
  BOOL m_bClosePressed;

  DECLARE_MESSAGE_MAP()
};

// A side of a frame holding rows of bars. Rows with sizable bars fill the side's length: their fixed bars
// keep their own length and the sizable ones share the rest by percent; the row is as thick as its thickest
// bar. Other rows are laid out as the framework's dock bar does.
class SEC_API SECDockBar : public CDockBar {
  DECLARE_DYNCREATE(SECDockBar)
 public:
  explicit SECDockBar(BOOL floating = FALSE);

  // Docks bar in row (a new last row when row is past the last) at position column of that row, with
  // percent of the row's length and pixels of thickness.
  void DockControlBarEx(CControlBar* bar, int column, int row, float percent, int pixels);
  // The visible bars of row, in order.
  void GetRowBars(int row, CPtrArray& bars) const;
  BOOL IsHorzSide() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
  // Sets the thickness of bar's row (every sizable bar of it); moves the boundary after bar by delta pixels
  // along the row (percent taken from or given to the next sizable bar).
  void SetRowThickness(SECControlBar* bar, int pixels);
  // Returns the pixels actually moved (each bar keeps at least the smallest thickness).
  int MoveBoundary(SECControlBar* bar, int delta);

  CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;

 protected:
  // The length of row the sizable bars of it share, and the bars themselves.
  int SizableLength(int row, CPtrArray* sizable) const;
  int m_nLastLength;  // the side's length at the last layout
};

// The floating frame of SECEnableDocking: resizable while it holds a sizable bar, whose floating size then
// follows the frame; closing it acts as each bar's close box.
class SEC_API SECMiniDockFrameWnd : public CMiniDockFrameWnd {
  DECLARE_DYNCREATE(SECMiniDockFrameWnd)
 public:
  SECMiniDockFrameWnd();
  void RecalcLayout(BOOL notify = TRUE) override;
  // The sizable bar inside, or null.
  SECControlBar* GetSizableBar() const;

 protected:
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnClose();
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
  DECLARE_MESSAGE_MAP()
};

// Where a dockable frame docks first: the dock bar, the share of the row (1.0 = all of it), the thickness
// in pixels, and the column and row on that side.
struct SEC_API SECDockPlacement {
  SECDockPlacement();
  UINT m_nDockBarID;
  float m_fSizeRatio;
  int m_nPixels;
  int m_nColumn;
  int m_nRow;
};

// A frame that lives in an SECControlBar of the main frame: its view docks on any side with the bar, floats
// with it, and can be made an MDI child again (SECMultiDocTemplate::MakeMDIChild). The main frame (an
// SECMDIFrameWnd) keeps one active docked window: the dockable frame last clicked or activated.
// Created through its template (LoadFrame with the dock site as parent, or the main window when null).
class SEC_API SECDockableFrame : public CFrameWnd {
  DECLARE_DYNCREATE(SECDockableFrame)
 public:
  SECDockableFrame();

  BOOL LoadFrame(UINT resourceId, DWORD style = WS_CHILD | WS_VISIBLE | FWS_ADDTOTITLE, CWnd* parent = NULL,
                 CCreateContext* context = NULL) override;
  // The bar holding this frame.
  SECControlBar* GetDockingBar() const { return m_pDockingBar; }
  // The frame the bar docks on (the main frame).
  CFrameWnd* GetDockSite() const { return m_pDockSite; }
  BOOL IsFloating() const { return m_pDockingBar && m_pDockingBar->IsFloating(); }
  // Makes this the main frame's active docked window and shows its menu there.
  void ActivateDocked();

  void ActivateFrame(int cmdShow = -1) override;
  void OnUpdateFrameTitle(BOOL addToTitle) override;
  void OnUpdateFrameMenu(HMENU menuAlt) override;

  HMENU m_hMenuShared;  // the template's menu, shown on the main frame while this is active

 protected:
  // The bar the frame lives in (the base makes an SECControlBar, deleted with its window).
  virtual SECControlBar* CreateDockingBar();
  // Offered after creation: a subclass that wants to dock first somewhere fills in proposal and returns
  // true, and the main frame docks it there. The base declines, and the bar floats over the main frame.
  virtual BOOL OnFirstDocking(SECDockPlacement& proposal);
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  afx_msg int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
  afx_msg void OnDestroy();

  SECControlBar* m_pDockingBar;
  CFrameWnd* m_pDockSite;

  DECLARE_MESSAGE_MAP()
};

// Docking on frame with the library's classes: dock bars that size rows of sizable bars, resizable floating
// frames; then the framework's EnableDocking on the sides in dockStyle.
SEC_API void SECEnableDocking(CFrameWnd* frame, DWORD dockStyle);
// Docks bar on frame's dock bar dockBarId at column and row with percent of the row and pixels of thickness
// (a side made without SECEnableDocking takes the bar as the framework docks it; a side docking was not
// enabled on throws CNotSupportedException).
SEC_API void SECDockControlBarEx(CFrameWnd* frame, CControlBar* bar, UINT dockBarId, int column, int row,
                                 float percent, int pixels);
// Floats bar at point (screen); a sizable bar's floating frame takes frameRect's size when it is not empty.
SEC_API void SECFloatControlBar(CFrameWnd* frame, CControlBar* bar, CPoint point, const CRect& frameRect);
// The dockable frames living in bars of frame, in the order of its bar list.
SEC_API void SECGetDockableFrames(CFrameWnd* frame, CPtrArray& frames);
