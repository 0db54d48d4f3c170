// Status bars whose panes hold child windows (SECStatusBar), with tool tips showing the panes' texts
// (SECCustomStatusBar), and the small image buttons placed in panes (SECImageButton) that send their command
// id to the bar's owner. The component frames' status bar derives from SECCustomStatusBar.
#pragma once
#include <afxext.h>
#include <afxtempl.h>
#include "secdefs.h"
#include "secres.h"

// A status bar keeping windows in its panes: each control (a child window of the bar) belongs to a pane id
// and follows the pane when the bar is resized or its panes change; it hides while its pane is absent.
class SEC_API SECStatusBar : public CStatusBar {
  DECLARE_DYNAMIC(SECStatusBar)
 public:
  SECStatusBar();
  ~SECStatusBar() override;

  // fill: the control takes the pane (less a pixel each side); otherwise it keeps its size, centred.
  BOOL AddPaneControl(UINT paneId, CWnd* control, BOOL fill = TRUE);
  void RemovePaneControl(UINT paneId);
  CWnd* GetPaneControl(UINT paneId) const;
  void RepositionPaneControls();

  // The framework's pane calls, after which the controls (and tips) follow their panes.
  BOOL SetIndicators(const UINT* ids, int count);
  void SetPaneInfo(int index, UINT id, UINT style, int width);
  void SetPaneStyle(int index, UINT style);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // The panes changed place or number.
  virtual void OnPanesChanged();
  struct PaneControl {
    UINT paneId;
    HWND wnd;
    BOOL fill;
    BOOL hiddenByBar;  // hidden because its pane was absent: shown again when the pane is back
  };
  CArray<PaneControl, const PaneControl&> m_arrControls;
  BOOL m_bRepositionPosted;
};

// A status bar with a tool tip per pane; the tip is the pane's text (GetPaneTipText), at most 79 characters.
class SEC_API SECCustomStatusBar : public SECStatusBar {
  DECLARE_DYNAMIC(SECCustomStatusBar)
 public:
  SECCustomStatusBar();
  ~SECCustomStatusBar() override;

  BOOL EnablePaneTips(BOOL enable = TRUE);
  BOOL ArePaneTipsEnabled() const { return m_hWndTips != NULL; }
  // The tip of the pane at index; false: none.
  virtual BOOL GetPaneTipText(int index, CString& text) const;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  void OnPanesChanged() override;
  // One tool per pane, over its rectangle.
  void UpdateTips();
  HWND m_hWndTips;
};

// Button styles of SECImageButton.
#define SECIB_RAISED 0x0000  // a raised edge always
#define SECIB_FLAT 0x0004    // an edge only while the pointer is over it or it is pressed

// A small push button showing an image (a bitmap, its light grey taken as the face colour, or an icon)
// from the resource chain; a click sends WM_COMMAND with its id (BN_CLICKED) to its parent, which for a
// status bar goes on to the bar's owner.
class SEC_API SECImageButton : public CButton {
  DECLARE_DYNAMIC(SECImageButton)
 public:
  SECImageButton();
  ~SECImageButton() override;

  BOOL Create(CWnd* parent, UINT id, const RECT& rect, UINT imageId, DWORD buttonStyle = SECIB_FLAT);
  // Loads the bitmap or icon imageId; false when the chain has neither.
  BOOL SetImage(UINT imageId);
  DWORD GetButtonStyleEx() const { return m_dwButtonStyle; }

 protected:
  void FreeImage();
  afx_msg void DrawItem(LPDRAWITEMSTRUCT item);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);

  HBITMAP m_hBitmap;
  HICON m_hIcon;
  CSize m_sizeImage;
  DWORD m_dwButtonStyle;
  BOOL m_bHot;
  DECLARE_MESSAGE_MAP()
};
