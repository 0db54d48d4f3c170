// Frames of the extension library: SECFrameWnd (a frame owning bars that dock on another frame, as the
// component frame helpers do), SECMDIFrameWnd (an MDI main frame docking with the library's sizable bars
// and docked views, keeping one active docked window) and SECMDIChildWnd. The workbook frames are in
// secwb.h. Hosts and components derive their main frames, helpers and child frames from these.
#pragma once
#include "secdefs.h"
#include "secdock.h"

// A frame that owns bars laid out on another frame (its docking frame): the bars are created as children
// of that frame (so they dock, float and save their state there) and taken into this frame's list with
// AddBar. Bars destroyed elsewhere leave the list by themselves; the frame destroys the bars it still owns
// when it goes.
class SEC_API SECFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(SECFrameWnd)
 public:
  SECFrameWnd();

  // Takes bar into the list (once); RemoveBar lets it go without destroying it.
  void AddBar(CControlBar* bar);
  void RemoveBar(CControlBar* bar);
  BOOL OwnsBar(const CControlBar* bar) const;
  // The bars of the list that still exist, in the order they were added.
  void GetBars(CPtrArray& bars) const;

  // Docking on this frame with the library's dock bars and floating frames.
  void EnableDocking(DWORD dockStyle) { SECEnableDocking(this, dockStyle); }
  void DockControlBarEx(CControlBar* bar, UINT dockBarId, int column, int row, float percent, int pixels) {
    SECDockControlBarEx(this, bar, dockBarId, column, row, percent, pixels);
  }

 protected:
  // Forgets the entries of bars that no longer exist.
  void PruneBars() const;
  afx_msg void OnDestroy();

  mutable CPtrArray m_arrOwnedBars;  // CControlBar*
  mutable CPtrArray m_arrOwnedWnds;  // the HWND each had when added

  DECLARE_MESSAGE_MAP()
};

// An MDI main frame for the library's docking: EnableDocking installs the sizable dock bars and resizable
// floating frames; DockControlBarEx docks by column, row, percent and pixels; FloatControlBar floats a
// sizable bar at a frame rectangle. The framework's LoadBarState and SaveBarState keep the sizable bars'
// sides, rows and sizes too (in their records' extra values). One docked window is active at a time:
// commands go to it first while it holds the focus.
class SEC_API SECMDIFrameWnd : public CMDIFrameWnd {
  DECLARE_DYNCREATE(SECMDIFrameWnd)
 public:
  SECMDIFrameWnd();

  void EnableDocking(DWORD dockStyle) { SECEnableDocking(this, dockStyle); }
  void DockControlBarEx(CControlBar* bar, UINT dockBarId, int column, int row, float percent, int pixels) {
    SECDockControlBarEx(this, bar, dockBarId, column, row, percent, pixels);
  }
  void FloatControlBar(CControlBar* bar, CPoint point, const CRect& frameRect = CRect()) {
    SECFloatControlBar(this, bar, point, frameRect);
  }

  // The active docked window (null: none). Setting it sends WM_NCACTIVATE to the old one (FALSE) and the
  // new one (TRUE) and repaints their captions.
  SECDockableFrame* GetActiveDockableFrame() const { return m_pActiveDockable; }
  virtual void SetActiveDockableFrame(SECDockableFrame* frame);
  // An MDI child was activated (the docked window loses its activation and the child's menu comes back), or
  // a child came, went (going: the child being destroyed) or was renamed; derived frames follow their children
  // (the workbook's tabs).
  virtual void OnChildActivated(CMDIChildWnd* child);
  virtual void OnChildrenChanged(CMDIChildWnd* going = NULL);
  // A dockable frame goes.
  virtual void OnDockableFrameDestroyed(SECDockableFrame* frame);

  CFrameWnd* GetActiveFrame() override;
  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

 protected:
  // The active docked window holds the focus.
  BOOL DockedHasFocus() const;
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

  SECDockableFrame* m_pActiveDockable;

  DECLARE_MESSAGE_MAP()
};

// An MDI child that tells its SECMDIFrameWnd when it is activated, created, renamed and closed.
class SEC_API SECMDIChildWnd : public CMDIChildWnd {
  DECLARE_DYNCREATE(SECMDIChildWnd)
 public:
  SECMDIChildWnd();
  SECMDIFrameWnd* GetSECMDIFrame() const;
  // cmdShow: SW_* for ShowWindow, or -1 for the framework's choice.
  void ActivateFrame(int cmdShow = -1) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnDestroy();
  afx_msg void OnMDIActivate(BOOL activate, CWnd* activateWnd, CWnd* deactivateWnd);
  afx_msg int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
