// The host application cForgeApp: start-up in its fixed order (resource library, command line, single
// instance, OLE, settings, recent files, templates, main frame, splash, image file library, automation, help
// contexts, frame content, showing, the file to open), the files handed over by a second instance, file
// opening through the launch items, and exit in the reverse order.
#pragma once
#include <afxadv.h>

#include "LaunchItem.h"

class CMainFrame;

// The host's own recent-file list.
class cWSMRUList : public CRecentFileList {
 public:
  cWSMRUList();
};

class cForgeApp : public CWinApp, public cLaunchHost {
 public:
  cForgeApp();
  ~cForgeApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;
  CDocument* OpenDocumentFile(LPCSTR fileName) override;
  // OpenDocumentFile's work: true when the file (or folder) went to where it opens; doc receives the
  // document when a template opened it.
  BOOL OpenPath(LPCSTR fileName, CDocument** doc);
  // The last resort: the file's own program through the shell; a failure is reported with the file's name.
  BOOL OpenWithShell(LPCSTR path);

  // cLaunchHost.
  CDocTemplate* NewWorkspaceTemplate() override;
  IDispatch* GetVisibleSlideTable() override;
  void ShowMessage(UINT stringId) override;
  CString GetCurrentWorkspace() override;
  BOOL OpenWorkspace(LPCSTR name) override;
  void ActivateMainFrame() override;

  cLaunchItemList& GetLaunchItems() { return m_launchItems; }
  CMainFrame* GetMainFrame() const;
  // The program's folder (from "Location"/"Path", else the program's own folder), without a trailing "\".
  CString GetProgramFolder() const;

  // The docked Gallery's automation object with a reference, or null; visibleOnly: only while it shows.
  IDispatch* GetSlideTable(BOOL visibleOnly);
  // Shows (creating it when needed) or hides the docked slide table; whether it shows now.
  BOOL ShowSlideTable(BOOL show);
  BOOL IsSlideTableVisible();
  // Whether the Gallery's template makes docked windows (a docked slide table).
  BOOL GalleryDocks();
  // Docks the slide table on side 0 top, 1 left, 2 right, 3 bottom.
  void DockSlideTable(int side);
  // Asks the docked Gallery to show folder (its dispatch id 2); false without a Gallery.
  BOOL SetGalleryPath(LPCSTR folder);

  // A file given at start or handed over: opened, then the Gallery shows its folder.
  void OpenAtStart(LPCSTR path);
  // A name handed over by another instance, opened from the pending list.
  void AddPending(LPCSTR path);
  void OpenPending();

  // The file-open command with the launch items' filters.
  afx_msg void OnFileOpen();
  // Help: the application's help file through HTML Help.
  afx_msg void OnHelpFinder();

 protected:
  // Writes the program's own folder as "Location"/"Path".
  void RecordProgramFolder();
  // Hands path (may be empty) to the instance whose main window is window.
  static void HandOver(HWND window, LPCSTR path);
  void RegisterHelpContext(UINT commandId, LPCSTR page);
  void RemoveHelpContext(UINT commandId);
  // Registers the automation class with the names of string 438 and the safe-for-scripting categories.
  void RegisterAutomation();

  HINSTANCE m_hResources;
  cLaunchItemList m_launchItems;
  cWSMRUList* m_pMRUList;
  CStringList m_pendingList;
  CString m_strStartFile;  // lives until exit: NXM_OPENATSTART points at it
  int m_nStartShowCmd;
  BOOL m_bHelpContexts;
  BOOL m_bStarted;  // start-up is complete: handed-over names are opened
  DECLARE_MESSAGE_MAP()
};

cForgeApp* GetForgeApp();
