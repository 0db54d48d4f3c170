// The frame side of in-place activation (not exported): what an object active in place talks to as its
// frame (IOleInPlaceFrame: menus, status line, modal state, accelerators) or document window
// (IOleInPlaceUIWindow), attached to the frame as its notify hook while the object is active.
#pragma once
#include "afxole.h"

class COleFrameHook : public CCmdTarget, public CFrameNotifyHook {
 public:
  COleFrameHook(CFrameWnd* frame, COleClientItem* item);
  ~COleFrameHook() override;
  // Leaves the frame: its own menu comes back, a modal state the object asked for ends.
  void Detach();
  // The frame shows its own menu again.
  void RestoreMenu();

  // CFrameNotifyHook.
  void OnRecalcLayout() override;
  void OnEnableModeless(BOOL enable) override;
  BOOL OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu) override;
  BOOL OnPreTranslateMessage(MSG* msg) override;
  HMENU GetActiveMenu() override { return m_pFrameWnd ? m_hMenuShared : NULL; }

  IOleInPlaceFrame* GetInterface() { return &m_xOleInPlaceFrame; }

  CFrameWnd* m_pFrameWnd;          // null once detached
  COleClientItem* m_pActiveItem;
  COleFrameHook* m_pDocHook;       // the document window's hook, for a frame's hook in MDI
  LPOLEINPLACEACTIVEOBJECT m_lpActiveObject;
  BOOL m_bObjectInProcess;         // its accelerators are offered from this program's message loop
  HMENU m_hMenuShared;             // the merged menu the object set
  int m_nModalRequests;            // EnableModeless(FALSE) calls of the object not yet undone
  BOOL m_bFrame;                   // the object's frame (else its document window)

 protected:
  BOOL IsObjectsPopup(HMENU popup);

  BEGIN_INTERFACE_PART(OleInPlaceFrame, IOleInPlaceFrame)
    STDMETHOD(GetWindow)(HWND* wnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL enter) override;
    STDMETHOD(GetBorder)(LPRECT border) override;
    STDMETHOD(RequestBorderSpace)(LPCBORDERWIDTHS widths) override;
    STDMETHOD(SetBorderSpace)(LPCBORDERWIDTHS widths) override;
    STDMETHOD(SetActiveObject)(LPOLEINPLACEACTIVEOBJECT object, LPCOLESTR name) override;
    STDMETHOD(InsertMenus)(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHOD(SetMenu)(HMENU shared, HOLEMENU oleMenu, HWND activeObject) override;
    STDMETHOD(RemoveMenus)(HMENU shared) override;
    STDMETHOD(SetStatusText)(LPCOLESTR text) override;
    STDMETHOD(EnableModeless)(BOOL enable) override;
    STDMETHOD(TranslateAccelerator)(LPMSG msg, WORD id) override;
  END_INTERFACE_PART(OleInPlaceFrame)
  DECLARE_INTERFACE_MAP()
};
