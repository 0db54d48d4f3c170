// The framework's application layer: command targets with message maps and command routing and their
// COM identity (interface maps), threads with message loops, the application object (profile, documents,
// idle), windows with message reflection and the modal loop, frames, MDI, documents, views and templates,
// dialogs with data exchange, menus, GDI wrappers and the basic controls, and the resource chain of
// extension modules (AFX_EXTENSION_MODULE, CDynLinkLibrary), and the application's printer, recent files and
// help. Every module with a user interface includes it; the common controls are in afxcmn.h, the file and
// print dialogs in afxdlgs.h, control bars in afxext.h (docking machinery and print preview in afxpriv.h,
// saved bar state and the recent-file list in afxadv.h), automation in afxdisp.h, data transfer, drag and
// drop and containers in afxole.h. docs/architecture.md says how each part fits.
#pragma once
#include "afx.h"
#include "afxcoll.h"
#include "afxtypes_.h"
#include "afxmsg_.h"
#include "afxiface_.h"
#include "afxres.h"

class CWnd;
class CFrameWnd;
class CMDIFrameWnd;
class CMDIChildWnd;
class CView;
class CDocument;
class CDocTemplate;
class CDocManager;
class CDialog;
class CPrintDialog;
class CRecentFileList;
struct CCreateContext;

// HTML Help's command for a context id (htmlhelp.h gives the same value).
#ifndef HH_HELP_CONTEXT
#define HH_HELP_CONTEXT 0x000F
#endif

// What OnCmdMsg reports when asked only whether a handler exists.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  AFX_PMSG pmf;
};

// Extra data of a routed WM_NOTIFY.
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

#define afx_msg

// Base of every object that takes part in command routing, and of every framework object that is a COM
// object. COM identity: the object counts references from 1 (the creator's, which plain C++ owners never
// release: they delete the object); its interfaces are the parts listed in its interface maps
// (afxiface_.h); IUnknown is its inner unknown, or the outer object's when it is aggregated. Clients use
// the External* functions (which follow aggregation), the inner unknown the Internal* ones; the last
// InternalRelease calls OnFinalRelease, which deletes the object.
class AFX_API CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
 public:
  CCmdTarget();
  ~CCmdTarget() override;
  // Finds the handler of a command, update request (CN_UPDATE_COMMAND_UI, extra = CCmdUI*) or
  // notification in this object's message maps and calls it; with handlerInfo only reports it.
  virtual BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo);
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

  // The interface iid of this object without taking a reference: a part from the interface maps (the
  // most derived class first), the inner unknown for IID_IUnknown; null when the object has none.
  void* GetInterface(const IID* iid);
  HRESULT InternalQueryInterface(const IID* iid, void** ppv);
  ULONG InternalAddRef();
  ULONG InternalRelease();
  HRESULT ExternalQueryInterface(const IID* iid, void** ppv);
  ULONG ExternalAddRef();
  ULONG ExternalRelease();
  // The unknown that decides the object's identity: the outer object's when aggregated, else the inner one.
  IUnknown* GetControllingUnknown();
  // Hands a new object (still holding its creation reference) to a COM creator: aggregated under outer,
  // which may then ask only for IUnknown and gets the inner unknown, or queried for iid. The creation
  // reference goes either way, so an object nobody took is deleted. CLASS_E_NOAGGREGATION when outer asks
  // for another interface.
  HRESULT HandToCreator(IUnknown* outer, const IID& iid, void** ppv);
  // The last reference is gone; the base deletes the object.
  virtual void OnFinalRelease();

  // Automation (afxdisp.h): after EnableAutomation the object offers IDispatch, served from its dispatch
  // maps. GetIDispatch is null before; FromIDispatch finds the framework object behind a dispatch pointer
  // of this process (null for any other).
  void EnableAutomation();
  BOOL IsAutomationEnabled() const { return m_bAutomation; }
  LPDISPATCH GetIDispatch(BOOL addRef);
  static CCmdTarget* PASCAL FromIDispatch(LPDISPATCH dispatch);
  // Stand-ins in dispatch maps for the read or write side of a property that has none.
  void GetNotSupported();
  void SetNotSupported();
  // The dispatch interface and type library IDispatch::GetTypeInfo answers from; none by default
  // (DECLARE_OLETYPELIB gives the library).
  virtual BOOL GetDispatchIID(IID* iid);
  virtual HRESULT GetTypeLib(LCID lcid, LPTYPELIB* typeLib);

  volatile LONG m_dwRef;
  IUnknown* m_pOuterUnknown;  // the aggregating object, not counted

 protected:
  static const AFX_INTERFACEMAP* PASCAL GetThisInterfaceMap();
  virtual const AFX_INTERFACEMAP* GetInterfaceMap() const;
  static const struct AFX_DISPMAP* PASCAL GetThisDispatchMap();
  virtual const struct AFX_DISPMAP* GetDispatchMap() const;
  // The interface-map entry of IDispatch (and of dispinterfaces, DISP_INTERFACE_PART): the dispatch part
  // once automation is enabled.
  static void* DispatchPart(CCmdTarget* target);

  // The object's own IUnknown, the one an aggregating object holds.
  class AFX_API XInnerUnknown : public IUnknown {
   public:
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;
  } m_xInnerUnknown;
  friend class XInnerUnknown;

  class AFX_API XDispatch : public IDispatch {
   public:
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;
    STDMETHOD(GetTypeInfoCount)(UINT* count) override;
    STDMETHOD(GetTypeInfo)(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHOD(GetIDsOfNames)(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHOD(Invoke)(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argErr) override;
  } m_xDispatch;
  friend class XDispatch;
  BOOL m_bAutomation;

  DECLARE_MESSAGE_MAP()
};

// The entry of a message map that handles message (window messages only: code and id 0); null when none.
AFX_API const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* entry, UINT message,
                                                          UINT code, UINT id);

// One user-interface item (menu item, bar button, pane) during an update pass; the update handlers
// enable, check and name it.
class AFX_API CCmdUI {
 public:
  CCmdUI();
  virtual ~CCmdUI() = default;
  virtual void Enable(BOOL on = TRUE);
  virtual void SetCheck(int check = 1);  // 0 clear, 1 checked, 2 indeterminate
  virtual void SetRadio(BOOL on = TRUE);
  virtual void SetText(LPCSTR text);
  void ContinueRouting() { m_bContinueRouting = TRUE; }
  // Asks target for the item's state; without an update handler the item is disabled when
  // disableIfNoHandler is set and no command handler exists.
  BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

  UINT m_nID;
  UINT m_nIndex;
  CMenu* m_pMenu;     // the menu, when the item is a menu item
  CMenu* m_pSubMenu;  // the popup the item opens, when it opens one
  CWnd* m_pOther;     // the bar or control, when the item is not a menu item
  BOOL m_bEnableChanged;
  BOOL m_bContinueRouting;
  UINT m_nIndexMax;
  CMenu* m_pParentMenu;
};

typedef UINT(AFX_CDECL* AFX_THREADPROC)(LPVOID);

// A thread: a worker running m_pfnThreadProc, or a user-interface thread (made from a run-time class)
// running InitInstance, its message loop (Run) and ExitInstance.
class AFX_API CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)
 public:
  CWinThread();
  CWinThread(AFX_THREADPROC threadProc, LPVOID param);
  ~CWinThread() override;  // closes the thread handle; does not wait for the thread

  BOOL CreateThread(DWORD createFlags = 0, UINT stackSize = 0, LPSECURITY_ATTRIBUTES security = NULL);
  int GetThreadPriority();
  BOOL SetThreadPriority(int priority);
  DWORD SuspendThread();
  DWORD ResumeThread();
  BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);
  operator HANDLE() const { return m_hThread; }

  virtual BOOL InitInstance();
  virtual int ExitInstance();
  // The message loop: idle processing while the queue is empty, until WM_QUIT; returns ExitInstance().
  virtual int Run();
  virtual BOOL PreTranslateMessage(MSG* msg);
  virtual BOOL PumpMessage();
  // Idle work; count is 0 on the first call after a message. True asks for more idle calls.
  virtual BOOL OnIdle(LONG count);
  virtual BOOL IsIdleMessage(MSG* msg);
  // What the framework does with an exception (of any kind, turned into a framework exception) that
  // reached a window procedure, a dialog procedure, a hook or a thread start while msg was handled: the
  // base reports it with the framework's message box and returns the message's failure result (-1 for
  // WM_CREATE). The caller deletes e.
  virtual LRESULT ProcessWndProcException(CException* e, const MSG* msg);
  virtual CWnd* GetMainWnd();
  // Deletes the object when m_bAutoDelete is set; called when the thread ends.
  virtual void Delete();

  HANDLE m_hThread;
  DWORD m_nThreadID;
  BOOL m_bAutoDelete;
  AFX_THREADPROC m_pfnThreadProc;
  LPVOID m_pThreadParams;
  CWnd* m_pMainWnd;
  CWnd* m_pActiveWnd;
  MSG m_msgCur;

 private:
  friend struct ThreadStart;
  CPoint m_ptCursorLast;
  UINT m_nMsgLast;
};

AFX_API CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC threadProc, LPVOID param,
                                          int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0,
                                          DWORD createFlags = 0, LPSECURITY_ATTRIBUTES security = NULL);
// Starts a user-interface thread of a CWinThread-derived class made by dynamic creation.
AFX_API CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* threadClass, int priority = THREAD_PRIORITY_NORMAL,
                                          UINT stackSize = 0, DWORD createFlags = 0,
                                          LPSECURITY_ATTRIBUTES security = NULL);
// Ends the calling thread; with deleteThread the thread object is released by its Delete().
[[noreturn]] AFX_API void AFXAPI AfxEndThread(UINT exitCode, BOOL deleteThread = TRUE);
AFX_API CWinThread* AFXAPI AfxGetThread();
// The base of CWinThread::ProcessWndProcException, for threads without a CWinThread.
AFX_API LRESULT AFXAPI AfxProcessWndProcException(CException* e, const MSG* msg);

// The start-up command line, parsed: a file to open or a new document, and the flags the suite uses.
class AFX_API CCommandLineInfo : public CObject {
 public:
  CCommandLineInfo();
  // Called once per argument; flag is true when it began with '/' or '-' (which is removed).
  virtual void ParseParam(LPCSTR param, BOOL flag, BOOL last);
  // AppRegister and AppUnregister (/RegServer, /UnregServer) write or remove the program's object factories.
  enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, AppRegister, FileNothing = -1 } m_nShellCommand;
  BOOL m_bShowSplash;
  BOOL m_bRunEmbedded;
  BOOL m_bRunAutomated;
  CString m_strFileName;
};

// The application object; one per process, made as a global of the program (libraries of the suite
// have none: docs/architecture.md, "Module model").
class AFX_API CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)
 public:
  // Throws CNotSupportedException when the process already has an application object.
  explicit CWinApp(LPCSTR appName = NULL);
  ~CWinApp() override;

  virtual BOOL InitApplication();
  BOOL InitInstance() override;
  int ExitInstance() override;
  int Run() override;
  BOOL OnIdle(LONG count) override;
  BOOL PreTranslateMessage(MSG* msg) override;

  // Profile settings: under HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section> once
  // SetRegistryKey was called, else in the private profile file m_pszProfileName.
  void SetRegistryKey(LPCSTR registryKey);
  void SetRegistryKey(UINT registryKeyId);
  HKEY GetAppRegistryKey();                // caller closes
  HKEY GetSectionKey(LPCSTR section);      // caller closes; created when missing
  UINT GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue);
  BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);
  CString GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue = NULL);
  // A null entry removes the section; a null value removes the entry.
  BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);
  BOOL GetProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE* data, UINT* bytes);  // delete[] *data
  BOOL WriteProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE data, UINT bytes);

  virtual int DoMessageBox(LPCSTR prompt, UINT type, UINT promptId);
  // Modal user interface starts (FALSE) or ends (TRUE); calls nest. The first start and the last end are
  // passed to the main frame (CFrameWnd::NotifyEnableModeless), whose hook tells the objects it serves to
  // stop or resume their own modeless windows. Every modal dialog and message box of the framework calls it.
  virtual void EnableModeless(BOOL enable);
  virtual void DoWaitCursor(int code);  // 1 on, -1 off, 0 restore

  HCURSOR LoadCursor(LPCSTR name) const;
  HCURSOR LoadCursor(UINT id) const { return LoadCursor(MAKEINTRESOURCEA(id)); }
  HCURSOR LoadStandardCursor(LPCSTR name) const { return ::LoadCursorA(NULL, name); }
  HICON LoadIcon(LPCSTR name) const;
  HICON LoadIcon(UINT id) const { return LoadIcon(MAKEINTRESOURCEA(id)); }
  HICON LoadStandardIcon(LPCSTR name) const { return ::LoadIconA(NULL, name); }

  // Documents: the templates (owned by the application from AddDocTemplate on), opening a file with the
  // template that fits it best (an already open document is activated instead), the file commands.
  void AddDocTemplate(CDocTemplate* docTemplate);
  POSITION GetFirstDocTemplatePosition() const;
  CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
  virtual CDocument* OpenDocumentFile(LPCSTR fileName);
  virtual BOOL SaveAllModified();
  void CloseAllDocuments(BOOL endSession);
  int GetOpenDocumentCount();
  // Asks for a file name with the file dialog filtered by the templates' file types.
  BOOL DoPromptFileName(CString& fileName, UINT titleId, DWORD flags, BOOL openFileDialog, CDocTemplate* docTemplate);
  void ParseCommandLine(CCommandLineInfo& info);
  // Opens the file or makes the new document the command line asked for; false when that failed.
  BOOL ProcessShellCommand(CCommandLineInfo& info);

  afx_msg void OnFileNew();
  afx_msg void OnFileOpen();
  afx_msg void OnAppExit();

  // Printing: the application's current printer (DEVMODE and DEVNAMES handles, owned; null until one is
  // chosen: then the system's default), the print dialog over it (a cancelled dialog keeps it), and a
  // context for it. Map ID_FILE_PRINT_SETUP to OnFilePrintSetup.
  virtual int DoPrintDialog(CPrintDialog* dialog);
  // Fills pd's hDevMode/hDevNames with the current printer's; false when there is no printer.
  BOOL GetPrinterDeviceDefaults(PRINTDLGA* pd);
  BOOL CreatePrinterDC(CDC& dc);
  // Makes the printer of these handles (taken over) the current one.
  void SelectPrinter(HGLOBAL devNames, HGLOBAL devMode);
  afx_msg void OnFilePrintSetup();
  HGLOBAL m_hDevMode = NULL;
  HGLOBAL m_hDevNames = NULL;
  int m_nNumPreviewPages = 0;  // pages print preview shows at first (1 or 2; 0: its own choice)

  // Recent files: LoadStdProfileSettings makes the list (maxMRU entries, section "Recent File List", entries
  // "File%d") and reads it with the preview page count; SaveStdProfileSettings (run by ExitInstance) writes
  // them. Documents add their paths when they are opened or saved; the items ID_FILE_MRU_FILE1.. open them.
  void LoadStdProfileSettings(UINT maxMRU = 4);
  void SaveStdProfileSettings();
  virtual void AddToRecentFileList(LPCSTR path);
  afx_msg BOOL OnOpenRecentFile(UINT id);
  afx_msg void OnUpdateRecentFileMenu(CCmdUI* ui);
  CRecentFileList* m_pRecentFileList = NULL;  // owned

  // Help: m_pszHelpFilePath is the program's path with ".HLP" at start (programs with HTML Help make it
  // ".CHM"). WinHelp shows it through the system's help program, HtmlHelp through HTML Help (hhctrl.ocx, as
  // registered); both tell the user with the framework's message when help does not start. The standard
  // commands (map ID_HELP to OnHelp, ID_HELP_FINDER and ID_DEFAULT_HELP to OnHelpFinder, ID_HELP_INDEX to
  // OnHelpIndex) use HTML Help for a ".CHM" file.
  virtual void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);
  virtual void HtmlHelp(DWORD_PTR data, UINT command = HH_HELP_CONTEXT);
  afx_msg void OnHelp();
  afx_msg void OnHelpFinder();
  afx_msg void OnHelpIndex();
  LPCSTR m_pszHelpFilePath = NULL;

  LPCSTR m_pszAppName;
  HINSTANCE m_hInstance;
  LPSTR m_lpCmdLine;
  int m_nCmdShow;
  LPCSTR m_pszExeName;
  LPCSTR m_pszProfileName;
  LPCSTR m_pszRegistryKey;
  CDocManager* m_pDocManager;

 protected:
  int m_nWaitCursorCount;
  HCURSOR m_hcurWaitCursorRestore;
  int m_nModelessDisabled;  // open EnableModeless(FALSE) calls

  DECLARE_MESSAGE_MAP()
};

// Records the program's handles and names in the application object (the program's start calls it).
AFX_API BOOL AFXAPI AfxWinInit(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int cmdShow);
// The program's body: AfxWinInit, InitApplication, InitInstance, Run (the orvafxmain library's WinMain calls it).
AFX_API int AFXAPI AfxWinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int cmdShow);
AFX_API CWinApp* AFXAPI AfxGetApp();
AFX_API CWnd* AFXAPI AfxGetMainWnd();
AFX_API LPCSTR AFXAPI AfxGetAppName();
AFX_API HINSTANCE AFXAPI AfxGetInstanceHandle();
AFX_API HINSTANCE AFXAPI AfxGetResourceHandle();
AFX_API void AFXAPI AfxSetResourceHandle(HINSTANCE resource);

// The framework's message box (the application's DoMessageBox when there is one).
AFX_API int AFXAPI AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
AFX_API int AFXAPI AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = (UINT)-1);



class CWaitCursor {
 public:
  CWaitCursor() { AfxGetApp() ? AfxGetApp()->DoWaitCursor(1) : (void)0; }
  ~CWaitCursor() { AfxGetApp() ? AfxGetApp()->DoWaitCursor(-1) : (void)0; }
  void Restore() { AfxGetApp() ? AfxGetApp()->DoWaitCursor(0) : (void)0; }
};

#include "afxgdi_.h"
#include "afxwnd_.h"
#include "afxframe_.h"

// ---------------------------------------------------------------------------------------------
// Extension modules and the resource chain.

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized;
  HMODULE hModule;
  HMODULE hResource;
};

AFX_API BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module);
// Removes the module's CDynLinkLibrary records (all records with terminateAll).
AFX_API void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL terminateAll = FALSE);

// One entry of the process's resource chain; made with new, joins the chain at its head.
class AFX_API CDynLinkLibrary : public CCmdTarget {
  DECLARE_DYNAMIC(CDynLinkLibrary)
 public:
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL system = FALSE);
  CDynLinkLibrary(HINSTANCE module, HINSTANCE resource);
  ~CDynLinkLibrary() override;  // leaves the chain

  HMODULE m_hModule;
  HMODULE m_hResource;
  BOOL m_bSystem;
  CDynLinkLibrary* m_pNextDLL;  // walk only under AfxLockGlobals(CRIT_DYNLINKLIST)
};

enum { CRIT_DYNLINKLIST = 0, CRIT_RUNTIMECLASSLIST = 1, CRIT_MAX = 2 };
AFX_API void AFXAPI AfxLockGlobals(int lockType);
AFX_API void AFXAPI AfxUnlockGlobals(int lockType);
AFX_API CDynLinkLibrary* AFXAPI AfxGetFirstDynLinkLibrary();
// Moves library to the head of the chain, so that its resources are found before those of the other libraries
// (a component makes its resources win this way). False, and nothing changes, when it is not in the chain.
AFX_API BOOL AFXAPI AfxMoveDynLinkLibraryToHead(CDynLinkLibrary* library);

// Where a resource is found: the current resource module, the chain's libraries, the system
// libraries, then the framework itself; the current resource module when nobody has it.
AFX_API HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR name, LPCSTR type);
AFX_API HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT id);
AFX_API int AFXAPI AfxLoadString(UINT id, LPSTR buffer, UINT maxBuffer = 256);
// The module whose window class className is: the program's, a chain library's or the framework's (in that
// order); the program's for system classes. Windows are created with it, so classes a library registers
// for itself work.
AFX_API HINSTANCE AFXAPI AfxFindClassModule(LPCSTR className);
// Lists every resource number the chain defines twice, one line per clash ("string 161 in NXMiscRes.dll
// and GalRes.dll"), over the kinds looked up by number (strings one by one, dialogs, menus, accelerators,
// bitmaps, icons, cursors, data, tool bars) in the current resource module, the program and every chain
// library; the framework's own module is left out (programs replace its texts on purpose). Returns the
// number of clashes.
AFX_API int AFXAPI AfxCheckResourceChain(CStringArray& conflicts);

#include "afxsig_.h"
