// The docked windows of the host's own documents: cWSDockableFrame, the frame a host template makes when an
// item opens docked (a thin border, no caption of its own), in a cWSControlBar, the component framework's
// dockable bar (a click activates the frame, its close box closes it, the main frame's menu follows), created
// hidden until the frame shows.
#pragma once
#include "framework/NXBars.h"
#include "secdock.h"

class cWSControlBar : public cNXDockableBar {
  DECLARE_DYNCREATE(cWSControlBar)
 public:
  BOOL Create(CWnd* parent, LPCSTR title, DWORD style = WS_CHILD | CBRS_LEFT,
              UINT id = AFX_IDW_CONTROLBAR_FIRST + 32) override;
};

class cWSDockableFrame : public SECDockableFrame {
  DECLARE_DYNCREATE(cWSDockableFrame)

 protected:
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  SECControlBar* CreateDockingBar() override;
};
