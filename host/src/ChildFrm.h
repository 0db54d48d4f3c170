// The host's MDI child frame for its own documents (workspace, program, document-object and workspace items):
// its window class carries the icon of the launch item the document belongs to, and activating it hides the
// document's first view meanwhile so that an embedded server paints once. Made by the host's templates.
#pragma once
#include "framework/NXFrames.h"

class CChildFrame : public cNXWorksheet {
  DECLARE_DYNCREATE(CChildFrame)
 public:
  void ActivateFrame(int cmdShow = -1) override;

 protected:
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  afx_msg void OnMDIActivate(BOOL activate, CWnd* activateWnd, CWnd* deactivateWnd);
  // The document's first view, hidden for the time of an activation; null when it was hidden already.
  CView* HideFirstView();
  DECLARE_MESSAGE_MAP()
};
