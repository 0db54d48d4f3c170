// The application object's non-window part: handles, names, profile settings, message box, wait cursor.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "afxdisp.h"
#include "afxoleres.h"
#include "afxadv.h"
#include "afxres.h"
#include "afxwin.h"
#include "state.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
  ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
  ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
END_MESSAGE_MAP()

namespace {
LPSTR Duplicate(LPCSTR text) { return text ? _strdup(text) : NULL; }
void Release(LPCSTR& text) {
  free(const_cast<LPSTR>(text));
  text = NULL;
}
const char kSoftwareKey[] = "Software";
}  // namespace

CWinApp::CWinApp(LPCSTR appName)
    : m_pszAppName(NULL), m_hInstance(NULL), m_lpCmdLine(NULL), m_nCmdShow(SW_SHOWNORMAL),
      m_pszExeName(NULL), m_pszProfileName(NULL), m_pszRegistryKey(NULL), m_pDocManager(NULL), m_nWaitCursorCount(0),
      m_hcurWaitCursorRestore(NULL), m_nModelessDisabled(0) {
  m_bAutoDelete = FALSE;
  // One application object per process: the program's. A second one would silently take over every
  // AfxGetApp() of the process.
  if (afxstate::State().app) AfxThrowNotSupportedException();
  afxstate::State().app = this;
  m_pszAppName = Duplicate(appName);
}

CWinApp::~CWinApp() {
  delete m_pDocManager;
  Release(m_pszAppName);
  Release(m_pszExeName);
  Release(m_pszProfileName);
  Release(m_pszRegistryKey);
  Release(m_pszHelpFilePath);
  delete m_pRecentFileList;
  if (m_hDevMode) GlobalFree(m_hDevMode);
  if (m_hDevNames) GlobalFree(m_hDevNames);
  if (afxstate::State().app == this) afxstate::State().app = NULL;
  // The application's thread is the process's main thread, not one this object started.
  m_hThread = NULL;
}

BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() {
  SaveStdProfileSettings();
  return 0;
}

BOOL AFXAPI AfxWinInit(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int cmdShow) {
  afxstate::AppState& state = afxstate::State();
  state.instance = instance;
  state.resource = instance;
  CWinApp* app = state.app;
  if (!app) return TRUE;
  app->m_hInstance = instance;
  app->m_lpCmdLine = cmdLine;
  app->m_nCmdShow = cmdShow;
  app->m_nThreadID = GetCurrentThreadId();

  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(instance, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return FALSE;
  char* name = strrchr(path, '\\');
  name = name ? name + 1 : path;
  char* dot = strrchr(name, '.');
  CString exeName = dot ? CString(name, int(dot - name)) : CString(name);
  if (!app->m_pszExeName) app->m_pszExeName = Duplicate(exeName);
  if (!app->m_pszAppName) {
    CString title;
    app->m_pszAppName = Duplicate(title.LoadString(AFX_IDS_APP_TITLE) ? LPCSTR(title) : LPCSTR(exeName));
  }
  if (!app->m_pszProfileName) app->m_pszProfileName = Duplicate(exeName + ".INI");
  if (!app->m_pszHelpFilePath) {
    // The help file sits beside the program under its name.
    CString help(path, int(dot && dot > name ? dot - path : lstrlenA(path)));
    app->m_pszHelpFilePath = Duplicate(help + ".HLP");
  }
  return TRUE;
}

CWinApp* AFXAPI AfxGetApp() { return afxstate::State().app; }

LPCSTR AFXAPI AfxGetAppName() {
  CWinApp* app = AfxGetApp();
  return app && app->m_pszAppName ? app->m_pszAppName : "";
}

HINSTANCE AFXAPI AfxGetInstanceHandle() {
  afxstate::AppState& state = afxstate::State();
  return state.instance ? state.instance : GetModuleHandleA(NULL);
}

HINSTANCE AFXAPI AfxGetResourceHandle() {
  afxstate::AppState& state = afxstate::State();
  return state.resource ? state.resource : AfxGetInstanceHandle();
}

void AFXAPI AfxSetResourceHandle(HINSTANCE resource) { afxstate::State().resource = resource; }

// ---------------------------------------------------------------------------------------------
// Profile settings.

void CWinApp::SetRegistryKey(LPCSTR registryKey) {
  Release(m_pszRegistryKey);
  m_pszRegistryKey = Duplicate(registryKey);
  Release(m_pszProfileName);
  m_pszProfileName = Duplicate(m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT registryKeyId) {
  CString key;
  if (!key.LoadString(registryKeyId)) AfxThrowResourceException();
  SetRegistryKey(key);
}

HKEY CWinApp::GetAppRegistryKey() {
  if (!m_pszRegistryKey || !m_pszProfileName) return NULL;
  CString path;
  path.Format("%s\\%s\\%s", kSoftwareKey, m_pszRegistryKey, m_pszProfileName);
  HKEY key = NULL;
  DWORD disposition;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, NULL,
                      &key, &disposition) != ERROR_SUCCESS)
    return NULL;
  return key;
}

HKEY CWinApp::GetSectionKey(LPCSTR section) {
  HKEY app = GetAppRegistryKey();
  if (!app) return NULL;
  HKEY key = NULL;
  DWORD disposition;
  LONG rc = RegCreateKeyExA(app, section, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, NULL, &key,
                            &disposition);
  RegCloseKey(app);
  return rc == ERROR_SUCCESS ? key : NULL;
}

UINT CWinApp::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue) {
  if (!m_pszRegistryKey) return GetPrivateProfileIntA(section, entry, defaultValue, m_pszProfileName);
  HKEY key = GetSectionKey(section);
  if (!key) return UINT(defaultValue);
  DWORD value, type, size = sizeof value;
  LONG rc = RegQueryValueExA(key, entry, NULL, &type, reinterpret_cast<LPBYTE>(&value), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return UINT(defaultValue);
  return value;
}

BOOL CWinApp::WriteProfileInt(LPCSTR section, LPCSTR entry, int value) {
  if (!m_pszRegistryKey) {
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    return WritePrivateProfileStringA(section, entry, text, m_pszProfileName);
  }
  HKEY key = GetSectionKey(section);
  if (!key) return FALSE;
  DWORD v = DWORD(value);
  LONG rc = RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue) {
  if (!m_pszRegistryKey) {
    for (DWORD size = 256;; size *= 2) {
      CString result;
      DWORD n = GetPrivateProfileStringA(section, entry, defaultValue ? defaultValue : "",
                                         result.GetBuffer(int(size)), size, m_pszProfileName);
      result.ReleaseBuffer(int(n));
      if (n < size - 1) return result;
    }
  }
  CString result(defaultValue);
  HKEY key = GetSectionKey(section);
  if (!key) return result;
  DWORD type, size = 0;
  if (RegQueryValueExA(key, entry, NULL, &type, NULL, &size) == ERROR_SUCCESS && type == REG_SZ) {
    CString value;
    LPSTR buffer = value.GetBuffer(int(size));
    if (RegQueryValueExA(key, entry, NULL, &type, reinterpret_cast<LPBYTE>(buffer), &size) == ERROR_SUCCESS) {
      buffer[size] = 0;  // a value stored without its terminator
      value.ReleaseBuffer();
      result = value;
    }
  }
  RegCloseKey(key);
  return result;
}

BOOL CWinApp::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value) {
  if (!m_pszRegistryKey) return WritePrivateProfileStringA(section, entry, value, m_pszProfileName);
  if (!entry) {
    HKEY app = GetAppRegistryKey();
    if (!app) return FALSE;
    LONG rc = RegDeleteKeyA(app, section);
    RegCloseKey(app);
    return rc == ERROR_SUCCESS;
  }
  HKEY key = GetSectionKey(section);
  if (!key) return FALSE;
  LONG rc = value ? RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), DWORD(strlen(value) + 1))
                  : RegDeleteValueA(key, entry);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE* data, UINT* bytes) {
  *data = NULL;
  *bytes = 0;
  if (!m_pszRegistryKey) AfxThrowNotSupportedException();  // binary values live in the registry only
  HKEY key = GetSectionKey(section);
  if (!key) return FALSE;
  DWORD type, size = 0;
  BOOL ok = FALSE;
  if (RegQueryValueExA(key, entry, NULL, &type, NULL, &size) == ERROR_SUCCESS && type == REG_BINARY) {
    *data = new BYTE[size ? size : 1];
    if (RegQueryValueExA(key, entry, NULL, &type, *data, &size) == ERROR_SUCCESS) {
      *bytes = size;
      ok = TRUE;
    } else {
      delete[] *data;
      *data = NULL;
    }
  }
  RegCloseKey(key);
  return ok;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE data, UINT bytes) {
  if (!m_pszRegistryKey) AfxThrowNotSupportedException();
  HKEY key = GetSectionKey(section);
  if (!key) return FALSE;
  LONG rc = RegSetValueExA(key, entry, 0, REG_BINARY, data, bytes);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------------------------

void CWinApp::EnableModeless(BOOL enable) {
  if (enable) {
    if (m_nModelessDisabled == 0 || --m_nModelessDisabled != 0) return;
  } else if (m_nModelessDisabled++ != 0) {
    return;
  }
  CFrameWnd* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd);
  if (frame && frame->m_hWnd) frame->NotifyEnableModeless(enable);
}

namespace {
// Modal user interface for the lifetime of the object (EnableModeless FALSE, then TRUE).
class ModalUi {
 public:
  explicit ModalUi(CWinApp* app) : m_app(app) { m_app->EnableModeless(FALSE); }
  ~ModalUi() { m_app->EnableModeless(TRUE); }

 private:
  CWinApp* m_app;
};
}  // namespace

int CWinApp::DoMessageBox(LPCSTR prompt, UINT type, UINT) {
  ModalUi modal(this);
  HWND owner = AfxGetSafeHwnd(CWnd::GetSafeOwner());
  if ((type & MB_ICONMASK) == 0) {
    switch (type & MB_TYPEMASK) {
      case MB_OK:
      case MB_OKCANCEL: type |= MB_ICONEXCLAMATION; break;
      case MB_YESNO:
      case MB_YESNOCANCEL: type |= MB_ICONQUESTION; break;
      default: break;
    }
  }
  return MessageBoxA(owner, prompt, m_pszAppName, type);
}

void CWinApp::DoWaitCursor(int code) {
  m_nWaitCursorCount += code;
  if (code == 0 && m_nWaitCursorCount == 0) return;
  if (m_nWaitCursorCount > 0) {
    HCURSOR old = SetCursor(::LoadCursorA(NULL, IDC_WAIT));
    if (code > 0 && m_nWaitCursorCount == 1) m_hcurWaitCursorRestore = old;
  } else {
    m_nWaitCursorCount = 0;
    SetCursor(m_hcurWaitCursorRestore ? m_hcurWaitCursorRestore : ::LoadCursorA(NULL, IDC_ARROW));
  }
}

int AFXAPI AfxMessageBox(LPCSTR text, UINT type, UINT helpId) {
  CWinApp* app = AfxGetApp();
  if (app) return app->DoMessageBox(text, type, helpId);
  return MessageBoxA(AfxGetSafeHwnd(CWnd::GetSafeOwner()), text, NULL, type);
}

int AFXAPI AfxMessageBox(UINT promptId, UINT type, UINT helpId) {
  CString text;
  text.LoadString(promptId);
  return AfxMessageBox(text, type, helpId == UINT(-1) ? promptId : helpId);
}

// ---------------------------------------------------------------------------------------------
// The program's life and its documents.

CWnd* AFXAPI AfxGetMainWnd() {
  CWinThread* thread = AfxGetThread();
  return thread ? thread->GetMainWnd() : NULL;
}

int AFXAPI AfxWinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int cmdShow) {
  CWinApp* app = AfxGetApp();
  if (!app || !AfxWinInit(instance, prevInstance, cmdLine, cmdShow) || !app->InitApplication()) return -1;
  int result;
  if (!app->InitInstance()) {
    if (app->m_pMainWnd) app->m_pMainWnd->DestroyWindow();
    result = app->ExitInstance();
  } else {
    result = app->Run();
  }
  AfxOleTerm();
  return result;
}

BOOL CWinApp::InitApplication() { return TRUE; }

int CWinApp::Run() {
  // Without a main window there is nothing to wait for, unless COM started the program to serve objects:
  // it ends when the last of them goes (AfxOleUnlockApp).
  if (!m_pMainWnd && AfxOleGetUserCtrl()) ::PostQuitMessage(0);
  return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG count) { return CWinThread::OnIdle(count); }
BOOL CWinApp::PreTranslateMessage(MSG* msg) { return CWinThread::PreTranslateMessage(msg); }

HCURSOR CWinApp::LoadCursor(LPCSTR name) const {
  return ::LoadCursorA(AfxFindResourceHandle(name, reinterpret_cast<LPCSTR>(RT_GROUP_CURSOR)), name);
}

HICON CWinApp::LoadIcon(LPCSTR name) const {
  return ::LoadIconA(AfxFindResourceHandle(name, reinterpret_cast<LPCSTR>(RT_GROUP_ICON)), name);
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate) {
  if (!m_pDocManager) m_pDocManager = new CDocManager;
  m_pDocManager->AddDocTemplate(docTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
  return m_pDocManager ? m_pDocManager->GetFirstDocTemplatePosition() : NULL;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const { return m_pDocManager->GetNextDocTemplate(pos); }

CDocument* CWinApp::OpenDocumentFile(LPCSTR fileName) {
  if (!m_pDocManager) AfxThrowNotSupportedException();  // no templates were added
  return m_pDocManager->OpenDocumentFile(fileName);
}

BOOL CWinApp::SaveAllModified() { return m_pDocManager ? m_pDocManager->SaveAllModified() : TRUE; }

void CWinApp::CloseAllDocuments(BOOL endSession) {
  if (m_pDocManager) m_pDocManager->CloseAllDocuments(endSession);
}

int CWinApp::GetOpenDocumentCount() { return m_pDocManager ? m_pDocManager->GetOpenDocumentCount() : 0; }

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT titleId, DWORD flags, BOOL openFileDialog,
                               CDocTemplate* docTemplate) {
  if (!m_pDocManager) AfxThrowNotSupportedException();
  return m_pDocManager->DoPromptFileName(fileName, titleId, flags, openFileDialog, docTemplate);
}

void CWinApp::OnFileNew() {
  if (m_pDocManager) m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen() {
  if (m_pDocManager) m_pDocManager->OnFileOpen();
}

void CWinApp::OnAppExit() {
  if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

CCommandLineInfo::CCommandLineInfo()
    : m_nShellCommand(FileNew), m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE) {}

void CCommandLineInfo::ParseParam(LPCSTR param, BOOL flag, BOOL) {
  if (flag) {
    if (lstrcmpiA(param, "Embedding") == 0) {
      m_bRunEmbedded = TRUE;
      m_bShowSplash = FALSE;
      if (m_nShellCommand == FileNew) m_nShellCommand = FileNothing;
    } else if (lstrcmpiA(param, "Automation") == 0) {
      m_bRunAutomated = TRUE;
      m_bShowSplash = FALSE;
      if (m_nShellCommand == FileNew) m_nShellCommand = FileNothing;
    } else if (lstrcmpiA(param, "Unregister") == 0 || lstrcmpiA(param, "Unregserver") == 0) {
      m_nShellCommand = AppUnregister;
    } else if (lstrcmpiA(param, "Register") == 0 || lstrcmpiA(param, "Regserver") == 0) {
      m_nShellCommand = AppRegister;
    }
    return;
  }
  if (m_strFileName.IsEmpty()) {
    m_strFileName = param;
    if (m_nShellCommand == FileNew) m_nShellCommand = FileOpen;
  }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
  int argc = __argc;
  char** argv = __argv;
  for (int i = 1; i < argc; ++i) {
    LPCSTR param = argv[i];
    BOOL flag = param[0] == '/' || param[0] == '-';
    info.ParseParam(flag ? param + 1 : param, flag, i == argc - 1);
  }
  // Started by COM: the program serves its objects and ends with the last one.
  if (info.m_bRunEmbedded || info.m_bRunAutomated) AfxOleSetUserCtrl(FALSE);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
  switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
      OnFileNew();
      return m_pMainWnd != NULL || GetOpenDocumentCount() > 0;
    case CCommandLineInfo::FileOpen:
      return OpenDocumentFile(info.m_strFileName) != NULL;
    case CCommandLineInfo::FileNothing:
      return TRUE;
    case CCommandLineInfo::AppRegister:
      // The program's object factories into the registry; the program has done its work.
      if (!COleObjectFactory::UpdateRegistryAll(TRUE, NULL)) AfxMessageBox(AFX_IDP_FAILED_TO_AUTO_REGISTER);
      return FALSE;
    case CCommandLineInfo::AppUnregister:
      COleObjectFactory::UpdateRegistryAll(FALSE, NULL);
      return FALSE;
    default:
      AfxThrowNotSupportedException();  // printing and DDE commands come with their parts
  }
}
