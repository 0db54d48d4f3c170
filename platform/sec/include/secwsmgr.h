// SECWorkspaceManagerEx: saves the open windows of an MDI main frame (its MDI children and docked views) as a
// named workspace under a registry key of the caller (HKEY_CURRENT_USER), and opens a workspace again:
// the same documents through the same templates, in the same placements, the active child active, docked
// views docked or floating where they were. A plug-in of the main frame: it saves the workspace named by
// SetAutoSaveWorkspace ("Current" unless changed) when the frame is asked to close. The host derives its
// workspace manager from it and overrides the per-window steps.
#pragma once
#include "secplug.h"
#include "sectmpl.h"

// One saved window, as stored under the workspace's key.
struct SEC_API SECWorkspaceWindow {
  SECWorkspaceWindow();
  CString m_strDocString;        // "DocumentString": the template's document string
  int m_nDocTemplateIndex;       // "DocTemplateIndex": among templates with that string
  CString m_strPathName;         // "DocPathName": empty for a document never saved
  BOOL m_bHasPlacement;
  WINDOWPLACEMENT m_placement;   // "WindowPlacement" (MDI children)
  BOOL m_bActive;                // "IsActiveChildFrame"
  BOOL m_bDockedView;            // "DockedView": a dockable frame rather than an MDI child
  BOOL m_bFloating;              // "DockedViewFloating"
  BOOL m_bHasFloatingPlacement;
  WINDOWPLACEMENT m_floatingPlacement;  // "DockedViewFloatingWP": the floating frame's placement
  UINT m_nDockBarID;             // docked: "DockedViewDockBar", "DockedViewRow", "DockedViewColumn",
  int m_nRow;                    // "DockedViewPercent" (thousandths of a percent), "DockedViewPixels"
  int m_nColumn;
  float m_fPercent;
  int m_nPixels;
};

class SEC_API SECWorkspaceManagerEx : public SECWndPlugIn {
  DECLARE_DYNAMIC(SECWorkspaceManagerEx)
 public:
  SECWorkspaceManagerEx();
  ~SECWorkspaceManagerEx() override;

  // Plugs into mainFrame (an MDI frame) and keeps workspaces under HKEY_CURRENT_USER\registryKey.
  virtual BOOL Create(CMDIFrameWnd* mainFrame, LPCSTR registryKey);
  CMDIFrameWnd* GetMainFrame() const { return m_pMainFrame; }
  const CString& GetRegistryKey() const { return m_strRegistryKey; }

  // Saves the open windows as workspace name, replacing what was saved under that name; false when the
  // registry refused (what was saved before stays, unless the refusal came while it was being replaced).
  virtual BOOL SaveWorkspace(LPCSTR name);
  // Opens the windows of workspace name (documents already open are reused); false when there is no such
  // workspace. Windows that cannot be restored (their template or document is gone) are skipped.
  virtual BOOL OpenWorkspace(LPCSTR name);
  BOOL DeleteWorkspace(LPCSTR name);
  BOOL WorkspaceExists(LPCSTR name) const;
  // The workspace last opened or saved (empty: none).
  CString GetCurrentWorkspace() const { return m_strCurrent; }
  // The workspace saved when the main frame is asked to close; empty: none.
  void SetAutoSaveWorkspace(LPCSTR name) { m_strAutoSave = name ? name : ""; }
  const CString& GetAutoSaveWorkspace() const { return m_strAutoSave; }

 protected:
  // The per-window steps of opening, in the order they run for each saved window.
  // The template of the window (base: SECMultiDocTemplate::FindDocTemplate); null skips the window.
  virtual CDocTemplate* FindDocTemplate(const SECWorkspaceWindow& window);
  // The window's frame: the document reused when open already (FindOpenDocument, ReuseDocument), else opened
  // through the template, not yet shown; null skips the window.
  virtual CFrameWnd* OpenWindow(CDocTemplate* docTemplate, const SECWorkspaceWindow& window);
  virtual CDocument* FindOpenDocument(CDocTemplate* docTemplate, const SECWorkspaceWindow& window);
  // A frame for an open document: one of its frames not restored yet by this opening, else a new one.
  virtual CFrameWnd* ReuseDocument(CDocument* doc, CDocTemplate* docTemplate, const SECWorkspaceWindow& window);
  // Shows the frame and applies its placement.
  virtual void RestoreWindow(CFrameWnd* frame, const SECWorkspaceWindow& window);
  // Docks or floats a docked view where it was.
  virtual void RestoreDockedView(SECDockableFrame* frame, const SECWorkspaceWindow& window);
  // After every window: the active one (null: none was marked) is activated.
  virtual void OnWorkspaceOpened(CFrameWnd* activeFrame);

  // The per-window steps of saving: before a window is recorded, then recording it (false: not saved).
  virtual void PrepareSaveWindow(CFrameWnd* frame);
  virtual BOOL RecordWindow(CFrameWnd* frame, SECWorkspaceWindow& window);
  // The frames saved, in the order they are restored: MDI children from the bottom up, then docked views.
  virtual void GetWorkspaceFrames(CPtrArray& frames);

  // The main frame is asked to close: the auto-save workspace is saved.
  afx_msg void OnClose();
  void OnPlugInWndDestroyed() override;

  CMDIFrameWnd* m_pMainFrame;
  CString m_strRegistryKey;
  CString m_strCurrent;
  CString m_strAutoSave;
  CPtrArray m_arrRestored;  // frames restored by the opening under way

  DECLARE_MESSAGE_MAP()
};
