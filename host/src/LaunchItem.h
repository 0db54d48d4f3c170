// Launch items: what the host can start from its launch bar and which files each opens (a component of the
// suite, an ActiveX document server, a program, a saved workspace), stored under "Launch Items". The
// application holds one cLaunchItemList; the launch bar, the file opening, the automation object and the
// workspace code use it. Items reach the host through cLaunchHost (the application, or a test's stand-in).
#pragma once
#include <afxcoll.h>
#include <afxole.h>

#include <vector>

#include "framework/NXComponent.h"
#include "secreg.h"

// What the items need of the program that holds them.
class cLaunchHost {
 public:
  virtual ~cLaunchHost() {}
  // A new template of the host's own workspace document, added to the application.
  virtual CDocTemplate* NewWorkspaceTemplate() = 0;
  // The docked Gallery's automation object with a reference for the caller, when the slide table exists and
  // is visible; null otherwise.
  virtual IDispatch* GetVisibleSlideTable() = 0;
  virtual void ShowMessage(UINT stringId) = 0;
  virtual CString GetCurrentWorkspace() = 0;
  virtual BOOL OpenWorkspace(LPCSTR name) = 0;
  // Brings the main frame forward (after a document was activated).
  virtual void ActivateMainFrame() = 0;
};
void SetLaunchHost(cLaunchHost* host);
cLaunchHost* GetLaunchHost();

// One component created by class id, shared by every launch item of that class (the process's table of
// components). Get takes a reference, Release gives it back; the last one releases the component.
class cNXComponentCOM {
 public:
  // The shared wrapper of clsid, created and initialised when it is not in the table yet; null when the
  // component cannot be created or its Initialize fails.
  static cNXComponentCOM* Get(REFCLSID clsid);
  // Wrappers in the table (tests and diagnostics).
  static int GetTableSize();
  // AddRef answers the new count, 0 when the component could not be created; Release deletes the wrapper
  // and takes it out of the table when the count reaches 0.
  ULONG AddRef();
  ULONG Release();
  ULONG GetRefCount() const { return m_nRefs; }
  INXComponent* GetComponent() const { return m_pComponent; }
  REFCLSID GetClassID() const { return m_clsid; }

 private:
  cNXComponentCOM(REFCLSID clsid, INXComponent* component);
  ~cNXComponentCOM();
  CLSID m_clsid;
  INXComponent* m_pComponent;
  ULONG m_nRefs;
};

// The Gallery's current selection as file paths, read through its automation object: property 3 (the
// selected slides), their enumerator, property 1 (a slide's path).
class cSTSelectionList : public CStringArray {
 public:
  explicit cSTSelectionList(IDispatch* slideTable);
};

class cLaunchItem : public CObject {
  DECLARE_DYNAMIC(cLaunchItem)
 public:
  ~cLaunchItem() override;

  // The kind's class for the registry kind ("Dll", "DocObject", "Application", "Workspace"); null for others.
  static cLaunchItem* Create(LPCSTR kind);
  virtual LPCSTR GetKind() const = 0;

  // In slot order.
  virtual BOOL LoadTemplate();
  // False when "Locator" is missing (the item is dropped).
  virtual BOOL Read(SECRegistry& key);
  virtual BOOL Write(SECRegistry& key);
  // The common first step (the Gallery selection), then the kind's own launch.
  virtual BOOL Launch(BOOL fromUser);
  virtual BOOL OpenDocument(LPCSTR path);
  virtual BOOL OnDrop(COleDataObject* data);
  virtual BOOL SupportsFile(LPCSTR path);
  virtual DWORD GetDockState() { return m_dwDockState; }
  virtual void SetAllFiles(BOOL all) { m_bAllFiles = all; }
  virtual BOOL GetAllFiles() { return m_bAllFiles; }
  // False when the item has no types to offer.
  virtual BOOL GetFileTypes(CString& label, CString& filter);
  // Icons for the caller to destroy; false when there is none.
  virtual BOOL GetIcon(HICON* large, HICON* small);
  virtual CString GetLabel() { return m_strLabel; }
  virtual CString GetLocator() { return m_strLocator; }
  virtual BOOL IsAvailable() = 0;
  virtual BOOL GetPreLaunch() { return m_bPreLaunch; }
  virtual BOOL GetServerIcon(HICON* large, HICON* small);
  virtual BOOL GetProgramPath(CString& path);
  virtual CString GetDocumentPath() { return m_strDocPath; }
  virtual CDocTemplate* GetDocTemplate() { return m_pDocTemplate; }
  virtual void SetDocumentPath(LPCSTR path) { m_strDocPath = path; }
  virtual BOOL IsPermanent() { return m_bPermanent; }
  virtual CString GetKeyName() { return m_strKeyName; }
  virtual void SetKeyName(LPCSTR name) { m_strKeyName = name; }
  virtual BOOL WriteFileTypes(SECRegistry& key);
  virtual BOOL ReadFileTypes(SECRegistry& key);
  virtual CString DeriveLabel();

  // Set by the kinds and by adding.
  void SetLocator(LPCSTR locator) { m_strLocator = locator; }
  void SetLabel(LPCSTR label) { m_strLabel = label; }
  void SetIconPath(LPCSTR path) { m_strIconPath = path; }
  void SetPermanent(BOOL permanent) { m_bPermanent = permanent; }
  void SetPreLaunch(BOOL preLaunch) { m_bPreLaunch = preLaunch; }
  void SetDockState(DWORD state) { m_dwDockState = state; }
  void SetArguments(LPCSTR arguments) { m_strArguments = arguments; }
  const CStringArray& GetFileTypeList() const { return m_arrFileTypes; }
  void AddFileType(LPCSTR type) { m_arrFileTypes.Add(type); }

 protected:
  cLaunchItem();
  // The files of the Gallery's visible selection that this item supports are opened with it and the
  // selection cleared; true when one was opened.
  BOOL OpenGallerySelection();
  // The kind's launch after the common step.
  virtual BOOL LaunchKind() = 0;
  // Opens path through the item's template (the make-visible flag and the dock state).
  CDocument* OpenThroughTemplate(LPCSTR path);
  // Every file of data (shortcuts resolved) that the item supports is opened with it.
  BOOL OpenDroppedFiles(COleDataObject* data);

  CString m_strKind;
  CString m_strLocator;
  CString m_strLabel;
  CString m_strIconPath;
  CString m_strDocPath;
  CString m_strKeyName;
  DWORD m_dwDockState;
  BOOL m_bAllFiles;
  BOOL m_bPreLaunch;
  BOOL m_bPermanent;
  CStringArray m_arrFileTypes;
  CString m_strArguments;
  CDocTemplate* m_pDocTemplate;  // owned by the application
};

// A component of the suite, by ProgID or class id.
class cDllLaunchItem : public cLaunchItem {
  DECLARE_DYNAMIC(cDllLaunchItem)
 public:
  cDllLaunchItem();
  ~cDllLaunchItem() override;
  LPCSTR GetKind() const override { return "Dll"; }
  BOOL LoadTemplate() override;
  BOOL OpenDocument(LPCSTR path) override;
  BOOL GetFileTypes(CString& label, CString& filter) override;
  BOOL IsAvailable() override;
  BOOL GetServerIcon(HICON* large, HICON* small) override;
  CString DeriveLabel() override;
  virtual BOOL GetClassID(CLSID* clsid);
  virtual BOOL GetClassIDString(CString& text);
  virtual BOOL GetServerPath(CString& path);
  cNXComponentCOM* GetComponentWrapper() const { return m_pComponent; }

 protected:
  BOOL LaunchKind() override;
  cNXComponentCOM* m_pComponent;
};

// The docked Gallery: opens the folder of the Gallery's "Dockable Image Directory" docked.
class cSTLaunchItem : public cDllLaunchItem {
  DECLARE_DYNAMIC(cSTLaunchItem)
 public:
  cSTLaunchItem();

 protected:
  BOOL LaunchKind() override;
};

// An ActiveX document server, by ProgID or class id.
class cDocObjLaunchItem : public cLaunchItem {
  DECLARE_DYNAMIC(cDocObjLaunchItem)
 public:
  LPCSTR GetKind() const override { return "DocObject"; }
  BOOL LoadTemplate() override;
  BOOL GetFileTypes(CString& label, CString& filter) override;
  BOOL IsAvailable() override;
  BOOL GetServerIcon(HICON* large, HICON* small) override;
  CString DeriveLabel() override;
  virtual BOOL GetClassID(CLSID* clsid);
  virtual BOOL GetClassIDString(CString& text);
  virtual BOOL GetServerPath(CString& path);
  virtual BOOL IsDocObjectServer();

 protected:
  BOOL LaunchKind() override;
};

// A program, by path.
class cAppLaunchItem : public cLaunchItem {
  DECLARE_DYNAMIC(cAppLaunchItem)
 public:
  LPCSTR GetKind() const override { return "Application"; }
  BOOL LoadTemplate() override;
  BOOL OpenDocument(LPCSTR path) override;
  BOOL IsAvailable() override;
  BOOL GetServerIcon(HICON* large, HICON* small) override;
  BOOL GetProgramPath(CString& path) override;

 protected:
  BOOL LaunchKind() override;
};

// A saved workspace, by name.
class cWorkspaceLaunchItem : public cLaunchItem {
  DECLARE_DYNAMIC(cWorkspaceLaunchItem)
 public:
  LPCSTR GetKind() const override { return "Workspace"; }
  BOOL LoadTemplate() override;
  BOOL OpenDocument(LPCSTR path) override;
  BOOL IsAvailable() override;

 protected:
  BOOL LaunchKind() override;
};

// Starts a command line in a new process group; true when the process started.
BOOL StartProgram(LPCSTR commandLine);
// The target of a shell shortcut, or path itself when it is none.
CString ResolveShortcut(LPCSTR path);

class cLaunchItemList : public CObList {
 public:
  cLaunchItemList();
  ~cLaunchItemList() override;  // deletes the items

  // Reads "Launch Items" (items without a locator and unknown kinds are left out), puts the permanent items
  // first and writes the list back.
  void Load();
  // Replaces "Launch Items" with the list; false when the registry refused.
  BOOL Save();
  void DeleteAll();
  // Gives each item its template (LoadTemplate).
  void LoadTemplates();

  cLaunchItem* GetItem(int index) const;
  // The first item whose locator equals locator, ignoring case.
  cLaunchItem* FindByLocator(LPCSTR locator) const;
  // The first item whose program or server file has the file name and extension of path (long names).
  cLaunchItem* FindByProgramFile(LPCSTR path) const;
  // The first available item that supports path.
  cLaunchItem* FindForFile(LPCSTR path) const;
  // Whether one item can still be added through the user interface (fewer than 25).
  BOOL CanAdd() const;
  BOOL HasRemovable() const;
  // Inserts item before index (appended for -1 or past the end), with a key name of its own made from its
  // label; the list takes it over.
  void Insert(cLaunchItem* item, int index);
  // Takes item out of the list and deletes it; the template's document string is cleared when no other
  // item uses it. A component item holding the component's last reference first saves and closes the
  // component's documents (their frames need the component); false, and nothing removed, when the user
  // cancels saving.
  BOOL Remove(cLaunchItem* item);
  // The open dialog's filter text ("label|pattern|...||").
  CString BuildOpenFilter(LPCSTR allSupportedName, LPCSTR allFilesName) const;

  // Writes the default items when "Launch Items" is empty: the Gallery as a permanent component item, and
  // the Enhancer and the Browser when their components are registered. True when it wrote any.
  static BOOL WriteDefaultItems();
};

// Adds a program (or the document-object server it is) as an item at index: the class scan, else a program
// item, else message 404 ("already there"). The new item accepts all files. Returns the new item or null.
cLaunchItem* AddProgramItem(cLaunchItemList& list, LPCSTR programPath, int index);
