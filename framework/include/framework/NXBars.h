// The bars of the component framework: cNXControlBar (a sizable bar), cNXDockableBar (the bar a component's
// docked view lives in), cNXToolBar (a component tool bar) and cNXStatusBar (the host main frame's status bar:
// the launch bar and slide table buttons, the active component's panes, a progress control in the message
// pane driven by NXM_PROGRESS). The host uses cNXStatusBar and cNXControlBar; components make their bars
// from these in their frame helpers.
#pragma once
#include <afxcmn.h>
#include "framework/NXFrameIds.h"
#include "secall.h"

class cNXControlBar : public SECControlBar {
  DECLARE_DYNCREATE(cNXControlBar)
 public:
  cNXControlBar();
  ~cNXControlBar() override;
  // As SECControlBar's, without a bottom border.
  BOOL Create(CWnd* parent, LPCSTR title, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_LEFT,
              UINT id = AFX_IDW_CONTROLBAR_FIRST + 32) override;

 protected:
  // The window the bar holds paints all of it.
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()
};

// Holds a component's dockable frame: a click activates that frame in the main frame; its close box closes
// the frame; hidden with the delayed hiding, the main frame's menu follows.
class cNXDockableBar : public cNXControlBar {
  DECLARE_DYNCREATE(cNXDockableBar)
 public:
  cNXDockableBar();
  // Adds left, top and right borders and tool tips to the style.
  BOOL Create(CWnd* parent, LPCSTR title, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_LEFT,
              UINT id = AFX_IDW_CONTROLBAR_FIRST + 32) override;
  void DelayShow(BOOL show) override;
  void OnCloseBox() override;

 protected:
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnNcLButtonDown(UINT hitTest, CPoint point);
  void ActivateChild();
  DECLARE_MESSAGE_MAP()
};

// A component tool bar: docked and hidden only because another component is active, it counts as visible
// (for saving the bar state and for the view menu).
class cNXToolBar : public SECCustomToolBar {
  DECLARE_DYNAMIC(cNXToolBar)
 public:
  cNXToolBar();
  BOOL IsVisible() const override;
};

class cNXStatusBar : public SECCustomStatusBar {
  DECLARE_DYNAMIC(cNXStatusBar)
 public:
  cNXStatusBar();
  ~cNXStatusBar() override;

  // The bar with pane tips (the panes' texts, as the base cuts them), the default panes, and the two buttons in panes 510 and 509 (the images from the
  // resource chain).
  BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
  // The active component's panes (ids, count), after the two button panes unless ids starts with 510; null:
  // the default panes (510, 509, the message pane). The array given last time is taken as set already, so
  // callers pass arrays that live as long as they use them. The message pane (id 0) stretches.
  void SetPanes(const UINT* ids, int count);
  // NXM_PROGRESS: 0 shows the progress control at 0, 100 hides it, other values move it; nothing while the
  // main window is hidden.
  void SetProgress(int value);
  CProgressCtrl* GetProgressCtrl() { return m_wndProgress.m_hWnd ? &m_wndProgress : NULL; }
  SECImageButton* GetPaneButton(UINT paneId);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  enum { kButtonWidth = 30, kButtonHeight = 13, kButtonPaneWidth = 34 };

 protected:
  // Where the progress control lives: the message pane, 2 pixels in at top and bottom, a third of its width.
  BOOL ProgressRect(CRect& rect) const;
  void PlaceProgress(BOOL hide);

  SECImageButton m_btnLaunchBar, m_btnSlideTable;
  CProgressCtrl m_wndProgress;
  const UINT* m_pLastIds;
  int m_nLastCount;
  BOOL m_bPanesSet;
  // The two button panes' widths and styles, kept over a change of panes.
  UINT m_buttonStyles[2];
  int m_buttonWidths[2];
};
