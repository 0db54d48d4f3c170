// The component frames: the frame helper (cNXFrameHelper, one hidden frame per component owning its bars and
// showing them while one of its frames is active), the worksheet that keeps its show state in the host's
// settings (cNXWorksheet), the component child window (cNXChildWnd) and the component's docked view frame
// (cNXDockableFrame). Each component derives its helper (adding its bars in AttachDockingFrame) and its
// child frame (providing CreateFrameHelper); the host derives its worksheets from cNXWorksheet.
#pragma once
#include "framework/NXBars.h"
#include "framework/NXComponent.h"
#include "framework/NXFrameIds.h"
#include "secall.h"

class cNXFrameHelper : public SECFrameWnd {
 public:
  // The helper of component; creationValue is kept for the subclass. Creates the hidden helper window.
  cNXFrameHelper(cNXComponent* component, int creationValue = 0);
  ~cNXFrameHelper() override;

  // Shows the bars hidden for another component (temporarily-hidden bit), or hides the visible ones; hiding
  // happens only on the host's main window. Both go through the docking frame's delayed layout.
  virtual void ShowBars(BOOL show);
  // The same after a component switch: hiding marks the bars with NXBAR_SWITCHHIDDEN as well.
  virtual void ShowBarsAfterSwitch(BOOL show);
  virtual cNXComponent* GetComponent();
  // Docking on frame (bars are made there, its bar state saved under name); loads the context menu. A
  // component's helper makes its bars here after the base.
  virtual BOOL AttachDockingFrame(CFrameWnd* frame, LPCSTR name);
  // One of the component's frames gains (activate) or loses the activation: resources, bars, bar owners
  // and the status panes follow.
  virtual void OnActivateFrame(BOOL activate, CFrameWnd* frame, CWnd* other);
  // The host status bar's panes for this component: the base sets the default panes.
  virtual void ResetStatus(BOOL activate);
  // Offered every message of the component frames first; true (with result) when the frame must not see it.
  virtual BOOL FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual BOOL RouteCommand(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo);
  virtual BOOL AddFrame(CFrameWnd* frame);
  // Takes frame out; the last frame gone ends the helper (NXM_HELPERGONE to frame, window destroyed).
  virtual BOOL RemoveFrame(CFrameWnd* frame);
  virtual BOOL CreateHelperWindow();
  // Docks bar on the side of neighbour, beside it.
  virtual void DockBarBeside(CControlBar* bar, CControlBar* neighbour);
  virtual BOOL LoadContextMenu();
  // The menu resource of the context menu; the base has none (-1).
  virtual UINT ContextMenuID();

  CFrameWnd* GetDockingFrame() const { return m_pDockingFrame; }
  CFrameWnd* GetParentFrame() const { return m_pParentFrame; }
  int GetFrameCount() const { return int(m_listFrames.GetCount()); }
  // Saves under section the docking frame's records of this component's bars and of the dock bars holding
  // them (each listing the component's bars once); a bar hidden only for another component is saved shown.
  void SaveBarState(LPCSTR section);
  // The profile section of a component's bar state: its library's file name without extension, plus "Dock"
  // for a dockable frame's own bars.
  static CString BarStateSection(cNXComponent* component, BOOL dockable);

 protected:
  cNXFrameHelper();
  // For a subclass's ResetStatus: the host status bar's panes (null: the default ones).
  void SetStatusPanes(const UINT* ids, int count);
  // Help for the component: its library's .CHM through HTML Help.
  afx_msg void OnHelp();
  void PostNcDestroy() override;

  CMenu m_contextMenu;
  CFrameWnd* m_pDockingFrame;
  CFrameWnd* m_pParentFrame;
  int m_nCreationValue;
  cNXComponent* m_pComponent;
  CPtrList m_listFrames;

  DECLARE_MESSAGE_MAP()
};

// A worksheet whose show state (maximized 3, restored 5) is the host's "Settings"/"ShowCmd".
class cNXWorksheet : public SECWorksheet {
  DECLARE_DYNCREATE(cNXWorksheet)
 public:
  cNXWorksheet();
  // -1: the show command from the host's settings.
  void ActivateFrame(int cmdShow = -1) override;
  int GetShowCmd() const { return m_nShowCmd; }

 protected:
  afx_msg void OnSize(UINT type, int cx, int cy);
  int m_nShowCmd;
  DECLARE_MESSAGE_MAP()
};

// A component's MDI child: shares its component's frame helper (made by CreateFrameHelper for the first
// window), routes messages and commands through it, shows the component's merged menu.
class cNXChildWnd : public cNXWorksheet {
  DECLARE_DYNAMIC(cNXChildWnd)
 public:
  cNXChildWnd();
  virtual cNXFrameHelper* GetFrameHelper();
  // The component whose template made this window.
  virtual cNXComponent* GetComponent();
  // A new helper for the component (each component's child frame provides it); null: no bars.
  virtual cNXFrameHelper* CreateFrameHelper();

  void ActivateFrame(int cmdShow = -1) override;
  void OnUpdateFrameMenu(BOOL activate, CWnd* activateWnd, HMENU menuAlt) override;
  using cNXWorksheet::OnUpdateFrameMenu;
  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) override;
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
  afx_msg void OnMDIActivate(BOOL activate, CWnd* activateWnd, CWnd* deactivateWnd);
  afx_msg int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
  afx_msg LRESULT OnHelperGone(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnComponentBars(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDeactivateComponent(WPARAM wParam, LPARAM lParam);
  afx_msg void OnUpdateMainBarMenu(CCmdUI* ui);
  afx_msg void OnMainBarCheck(UINT id);
  // Saves the bar state and leaves the helper.
  void LeaveHelper();
  BOOL IsActiveChild() const;

  cNXFrameHelper* m_pFrameHelper;
  cNXComponent* m_pComponent;
  DECLARE_MESSAGE_MAP()
};

// A component's docked view frame: its own docking frame for its helper, status texts from the component's
// resources, menu mnemonics opening the main menu, and the bars of the active MDI child's component hidden
// while it is active.
class cNXDockableFrame : public SECDockableFrame {
  DECLARE_DYNCREATE(cNXDockableFrame)
 public:
  cNXDockableFrame();
  virtual cNXFrameHelper* GetFrameHelper();
  virtual cNXComponent* GetComponent();
  virtual cNXFrameHelper* CreateFrameHelper();

  void GetMessageString(UINT id, CString& message) const override;
  CWnd* GetMessageBar() override;
  void OnUpdateFrameMenu(HMENU menuAlt) override;
  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;

 protected:
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  SECControlBar* CreateDockingBar() override;
  BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) override;
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
  afx_msg BOOL OnNcActivate(BOOL active);
  afx_msg LRESULT OnMenuChar(UINT ch, UINT flags, CMenu* menu);
  afx_msg LRESULT OnHelperGone(WPARAM wParam, LPARAM lParam);
  // Tells the host's active MDI child that its component's bars go (active) or come back.
  void ActivationChanged(BOOL active);
  // After the base's handling: the main frame's active docked window, the helper, the MDI child.
  void Activated(BOOL active, CWnd* other);
  void LeaveHelper();

  cNXFrameHelper* m_pFrameHelper;
  cNXComponent* m_pComponent;
  BOOL m_bActive;
  DECLARE_MESSAGE_MAP()
};
