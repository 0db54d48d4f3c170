// The framework's application layer, non-window part: CCmdTarget, worker threads (CWinThread,
// AfxBeginThread), the application object with its profile settings, and the resource chain of
// extension modules (AFX_EXTENSION_MODULE, CDynLinkLibrary, AfxFindResourceHandle).
// Message maps, windows and the message loop join CCmdTarget, CWinThread and CWinApp later.
#pragma once
#include "afx.h"
#include "afxcoll.h"

// Base of every object that will take part in command routing.
class AFX_API CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
 public:
  CCmdTarget();
  ~CCmdTarget() override;
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();
};

typedef UINT(AFX_CDECL* AFX_THREADPROC)(LPVOID);

class AFX_API CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)
 public:
  CWinThread();
  CWinThread(AFX_THREADPROC threadProc, LPVOID param);
  ~CWinThread() override;  // closes the thread handle; does not wait for the thread

  // Starts m_pfnThreadProc(m_pThreadParams) on a new thread; the thread ends with AfxEndThread.
  BOOL CreateThread(DWORD createFlags = 0, UINT stackSize = 0, LPSECURITY_ATTRIBUTES security = NULL);
  int GetThreadPriority();
  BOOL SetThreadPriority(int priority);
  DWORD SuspendThread();
  DWORD ResumeThread();
  operator HANDLE() const { return m_hThread; }

  virtual BOOL InitInstance();
  virtual int ExitInstance();
  // Deletes the object when m_bAutoDelete is set; called when the thread ends.
  virtual void Delete();

  HANDLE m_hThread;
  DWORD m_nThreadID;
  BOOL m_bAutoDelete;
  AFX_THREADPROC m_pfnThreadProc;
  LPVOID m_pThreadParams;
};

AFX_API CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC threadProc, LPVOID param,
                                          int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0,
                                          DWORD createFlags = 0, LPSECURITY_ATTRIBUTES security = NULL);
// Ends the calling thread; with deleteThread the thread object is released by its Delete().
[[noreturn]] AFX_API void AFXAPI AfxEndThread(UINT exitCode, BOOL deleteThread = TRUE);
AFX_API CWinThread* AFXAPI AfxGetThread();

// The application object; one per process, made as a global of the program.
class AFX_API CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)
 public:
  explicit CWinApp(LPCSTR appName = NULL);
  ~CWinApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;

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
  virtual void DoWaitCursor(int code);  // 1 on, -1 off, 0 restore

  LPCSTR m_pszAppName;
  HINSTANCE m_hInstance;
  LPSTR m_lpCmdLine;
  int m_nCmdShow;
  LPCSTR m_pszExeName;
  LPCSTR m_pszProfileName;
  LPCSTR m_pszRegistryKey;

 protected:
  int m_nWaitCursorCount;
  HCURSOR m_hcurWaitCursorRestore;
};

// Records the program's handles and names in the application object (the program's start calls it).
AFX_API BOOL AFXAPI AfxWinInit(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int cmdShow);
AFX_API CWinApp* AFXAPI AfxGetApp();
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

// Where a resource is found: the current resource module, the chain's libraries, the system
// libraries, then the framework itself; the current resource module when nobody has it.
AFX_API HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR name, LPCSTR type);
AFX_API HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT id);
AFX_API int AFXAPI AfxLoadString(UINT id, LPSTR buffer, UINT maxBuffer = 256);
