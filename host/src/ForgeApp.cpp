// The host application (see ForgeApp.h).
#include "ForgeApp.h"

#include <afxdlgs.h>
#include <afxoleres.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "Automation.h"
#include "ChildFrm.h"
#include "ForgeDoc.h"
#include "LaunchRules.h"
#include "MainFrm.h"
#include "NXAbout.h"
#include "WSDocking.h"
#include "WaitMsg.h"
#include "comkit/module_files.h"
#include "host/HostIds.h"
#include "imagio/imgfile.h"

namespace {

const char kResourceLibrary[] = "OrvRes.dll";
const char kResourceMissing[] = "OrvRes.dll could not be found!";
const UINT kSplashMilliseconds = 2500;
const char kPagesFolder[] = "\\pages\\";
const DWORD kHelpContexts = 2;
const size_t kHandOverExtra = 5;  // the mapping holds the name, its terminator and a little more

BOOL IsDirectory(LPCSTR path) {
  DWORD attributes = ::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL HasExtension(const CString& path) {
  int dot = path.ReverseFind('.');
  return dot >= 0 && dot > path.ReverseFind('\\');
}

CString FolderOf(const CString& path) {
  int slash = path.ReverseFind('\\');
  return slash >= 0 ? path.Left(slash) : CString();
}

// ShellExecute answers above this value on success, else an error code.
const INT_PTR kShellErrorLimit = 32;

// The message for a shell error code; codes without one of their own get the general one.
UINT ShellErrorText(INT_PTR code) {
  static const struct {
    INT_PTR code;
    UINT text;
  } kTexts[] = {
      {0, IDS_SHELL_OUT_OF_MEMORY},
      {ERROR_FILE_NOT_FOUND, IDS_SHELL_FILE_NOT_FOUND},
      {ERROR_PATH_NOT_FOUND, IDS_SHELL_PATH_NOT_FOUND},
      {ERROR_BAD_FORMAT, IDS_SHELL_BAD_PROGRAM},
      {SE_ERR_ACCESSDENIED, IDS_SHELL_ACCESS_DENIED},
      {SE_ERR_OOM, IDS_SHELL_OUT_OF_MEMORY},
      {SE_ERR_DLLNOTFOUND, IDS_SHELL_BAD_PROGRAM},
      {SE_ERR_SHARE, IDS_SHELL_SHARING_VIOLATION},
      {SE_ERR_ASSOCINCOMPLETE, IDS_SHELL_NO_ASSOCIATION},
      {SE_ERR_NOASSOC, IDS_SHELL_NO_ASSOCIATION},
  };
  for (const auto& entry : kTexts)
    if (entry.code == code) return entry.text;
  return IDS_SHELL_OPEN_FAILED;
}

}  // namespace

cWSMRUList::cWSMRUList() : CRecentFileList(0, ORV_RECENT_SECTION, ORV_RECENT_ENTRY, ORV_RECENT_FILES) {}

BEGIN_MESSAGE_MAP(cForgeApp, CWinApp)
  ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
  ON_COMMAND(ID_HELP_FINDER, OnHelpFinder)
  ON_COMMAND(ID_HELP, OnHelpFinder)
  ON_COMMAND(ID_DEFAULT_HELP, OnHelpFinder)
END_MESSAGE_MAP()

cForgeApp* GetForgeApp() { return static_cast<cForgeApp*>(AfxGetApp()); }

cForgeApp::cForgeApp()
    : CWinApp("Orvane"), m_hResources(NULL), m_pMRUList(NULL), m_nStartShowCmd(SW_SHOWNORMAL), m_bHelpContexts(FALSE),
      m_bStarted(FALSE) {
  SetLaunchHost(this);
  m_launchItems.Load();
}

cForgeApp::~cForgeApp() { SetLaunchHost(NULL); }

CMainFrame* cForgeApp::GetMainFrame() const { return dynamic_cast<CMainFrame*>(m_pMainWnd); }

BOOL cForgeApp::InitInstance() {
  // 1. The resource library.
  m_hResources = comkit::LoadSiblingLibrary(NULL, kResourceLibrary);
  if (!m_hResources) {
    ::MessageBoxA(NULL, kResourceMissing, m_pszAppName, MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
    return FALSE;
  }
  AfxSetResourceHandle(m_hResources);

  // 2. The command line; a new empty document is never made.
  CCommandLineInfo info;
  ParseCommandLine(info);
  if (info.m_nShellCommand == CCommandLineInfo::FileNew) info.m_nShellCommand = CCommandLineInfo::FileNothing;
  BOOL fileToOpen = info.m_nShellCommand == CCommandLineInfo::FileOpen && !info.m_strFileName.IsEmpty();

  // 3. One instance: a second one hands its file over and ends.
  CString windowClass = CString(m_pszAppName) + "Class";
  if (HWND running = ::FindWindowA(windowClass, NULL)) {
    HWND popup = ::GetLastActivePopup(running);
    if (::IsIconic(running)) ::ShowWindow(running, SW_RESTORE);
    ::SetForegroundWindow(popup ? popup : running);
    if (fileToOpen) HandOver(running, info.m_strFileName);
    return FALSE;
  }

  // 4. OLE and the settings.
  if (!AfxOleInit()) {
    AfxMessageBox(IDS_OLE_INIT_FAILED);
    return FALSE;
  }
  AfxEnableControlContainer();
  SetRegistryKey(ORV_REGISTRY_KEY);
  RecordProgramFolder();
  LoadStdProfileSettings(0);
  m_pMRUList = new cWSMRUList;
  m_pMRUList->ReadList();
  m_pRecentFileList = m_pMRUList;
  m_nStartShowCmd = int(GetProfileInt(ORV_SETTINGS_SECTION, "MainFrameShowCmd", -1));
  if (m_nStartShowCmd < 0)
    m_nStartShowCmd = m_nCmdShow == SW_SHOWNORMAL || m_nCmdShow == SW_SHOWDEFAULT ? SW_SHOWMAXIMIZED : m_nCmdShow;

  // 5. Help is compiled HTML help.
  if (m_pszHelpFilePath) {
    LPSTR help = const_cast<LPSTR>(m_pszHelpFilePath);
    size_t length = strlen(help);
    if (length >= 4 && lstrcmpiA(help + length - 4, ".HLP") == 0) lstrcpyA(help + length - 4, ".CHM");
  }

  // 6. Templates.
  SECMultiDocTemplate* workspace = static_cast<SECMultiDocTemplate*>(NewWorkspaceTemplate());
  if (!workspace) return FALSE;

  // 7. The main frame.
  CMainFrame* frame = new CMainFrame;
  m_pMainWnd = frame;
  if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
    m_pMainWnd = NULL;
    return FALSE;
  }

  // 8. The splash, unless a file is to be opened.
  if (!fileToOpen && !info.m_bRunEmbedded && !info.m_bRunAutomated)
    NXWaitSplash(NXShowSplash(frame->m_hWnd, AfxGetInstanceHandle(), IDB_SPLASH, kSplashMilliseconds));

  {
    // 9. The wait message until the frame's content is there.
    std::unique_ptr<cWaitMsg> wait(info.m_bRunEmbedded || info.m_bRunAutomated ? NULL : new cWaitMsg(IDS_WAIT_STARTING));
    // 10. The image file library.
    NXImageFile::Init(AfxGetInstanceHandle());
    // 11. The automation factory.
    COleObjectFactory::RegisterAll();
    // 12. Started by COM: serve the objects, nothing more.
    if (info.m_bRunEmbedded || info.m_bRunAutomated) return TRUE;
    // 13. Help contexts and the registration of the automation class and of the default launch items.
    RegisterHelpContext(ID_HELP_CFILE, "cfile.htm");
    RegisterHelpContext(ID_HELP_SENDQUILLO, "sendquillo.htm");
    m_bHelpContexts = TRUE;
    RegisterAutomation();
    if (cLaunchItemList::WriteDefaultItems()) m_launchItems.Load();
    // 14. The frame's content: the items' templates, the bar, the workspace, the pre-launched items.
    m_launchItems.LoadTemplates();
    frame->GetLaunchBar().Refresh();
    frame->GetWorkspaceManager().OpenWorkspace("Current");
    for (POSITION pos = m_launchItems.GetHeadPosition(); pos;) {
      cLaunchItem* item = static_cast<cLaunchItem*>(m_launchItems.GetNext(pos));
      // The Gallery's pre-launch is the docked slide table; a Gallery that cannot dock waits to be asked.
      BOOL slideTable = dynamic_cast<cSTLaunchItem*>(item) != NULL;
      if (item->GetPreLaunch() && item->IsAvailable() && (!slideTable || GalleryDocks())) item->Launch(FALSE);
    }
  }

  // 15. Shown.
  frame->ShowWindow(m_nStartShowCmd);
  frame->UpdateWindow();

  // 16. The file to open, once the message loop runs; then what other instances handed over meanwhile.
  m_bStarted = TRUE;
  for (POSITION pos = m_pendingList.GetHeadPosition(); pos; m_pendingList.GetNext(pos))
    frame->PostMessage(NXM_OPENPENDING);
  if (fileToOpen) {
    m_strStartFile = info.m_strFileName;
    frame->PostMessage(NXM_OPENATSTART, 0, LPARAM(LPCSTR(m_strStartFile)));
    return TRUE;
  }
  return ProcessShellCommand(info);
}

int cForgeApp::ExitInstance() {
  if (m_bHelpContexts) {
    RemoveHelpContext(ID_HELP_CFILE);
    RemoveHelpContext(ID_HELP_SENDQUILLO);
  }
  if (m_hResources) {
    m_launchItems.Save();
    CMainFrame* frame = GetMainFrame();
    int showCmd = frame ? frame->GetStoredShowCmd() : 0;
    if (showCmd && showCmd != m_nStartShowCmd) WriteProfileInt(ORV_SETTINGS_SECTION, "MainFrameShowCmd", showCmd);
    NXImageFile::Exit();
  }
  // The templates go while the components that made them are still loaded: releasing the components may
  // unload their libraries, and the templates' code lives there.
  delete m_pDocManager;
  m_pDocManager = NULL;
  if (m_pMRUList) m_pMRUList->WriteList();
  m_pRecentFileList = NULL;
  delete m_pMRUList;
  m_pMRUList = NULL;
  m_launchItems.DeleteAll();
  int code = CWinApp::ExitInstance();
  if (m_hResources) {
    AfxSetResourceHandle(AfxGetInstanceHandle());
    ::FreeLibrary(m_hResources);
    m_hResources = NULL;
  }
  return code;
}

void cForgeApp::HandOver(HWND window, LPCSTR path) {
  size_t length = strlen(path);
  HANDLE mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, DWORD(length + kHandOverExtra), NULL);
  if (!mapping) return;
  if (LPSTR view = static_cast<LPSTR>(::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0))) {
    memcpy(view, path, length + 1);
    ::UnmapViewOfFile(view);
    ::SendMessageA(window, NXM_OPENFROMINSTANCE, WPARAM(::GetCurrentProcessId()), LPARAM(mapping));
  }
  ::CloseHandle(mapping);
}

void cForgeApp::AddPending(LPCSTR path) {
  m_pendingList.AddTail(path);
  if (m_bStarted && m_pMainWnd) m_pMainWnd->PostMessage(NXM_OPENPENDING);
}

void cForgeApp::OpenPending() {
  // A name handed over while this instance still starts (its splash runs the messages) waits until the
  // launch items and the frame's content are there; the end of the start posts the message again.
  if (!m_bStarted || m_pendingList.IsEmpty()) return;
  CString path = m_pendingList.RemoveHead();
  OpenAtStart(path);
}

void cForgeApp::OpenAtStart(LPCSTR path) {
  CString text = launchrules::CleanOpenPath(path).c_str();
  CDocument* doc = NULL;
  if (OpenPath(path, &doc) && !IsDirectory(text)) {
    char full[MAX_PATH];
    if (::GetFullPathNameA(text, MAX_PATH, full, NULL)) SetGalleryPath(FolderOf(full));
  }
}

CDocument* cForgeApp::OpenDocumentFile(LPCSTR fileName) {
  CDocument* doc = NULL;
  OpenPath(fileName, &doc);
  return doc;
}

BOOL cForgeApp::OpenPath(LPCSTR fileName, CDocument** doc) {
  *doc = NULL;
  CString given = fileName ? fileName : "";
  CString path = launchrules::CleanOpenPath(LPCSTR(given)).c_str();
  if (!IsDirectory(path) && HasExtension(path)) {
    char full[MAX_PATH];
    if (::GetFullPathNameA(path, MAX_PATH, full, NULL)) path = full;
  }
  path = ResolveShortcut(path);
  if (IsDirectory(path) || !HasExtension(path)) {
    ShowSlideTable(TRUE);
    if (SetGalleryPath(path)) return TRUE;
    // A Gallery that makes no docked slide table shows the folder in a window of its own.
    cLaunchItem* gallery = m_launchItems.FindByLocator(ORV_GALLERY_PROGID);
    return gallery && !GalleryDocks() && IsDirectory(path) && gallery->IsAvailable() && gallery->OpenDocument(path);
  }
  for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
    CDocument* open = NULL;
    if (GetNextDocTemplate(pos)->MatchDocType(path, open) == CDocTemplate::yesAlreadyOpen && open) {
      POSITION view = open->GetFirstViewPosition();
      if (view) open->GetNextView(view)->GetParentFrame()->ActivateFrame();
      ActivateMainFrame();
      *doc = open;
      return TRUE;
    }
  }
  if (cLaunchItem* item = m_launchItems.FindForFile(path)) {
    if (!item->OpenDocument(path)) return FALSE;
    AddToRecentFileList(path);
    return TRUE;
  }
  // A template that knows the file's type opens it; anything else goes to its own program.
  for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
    CDocument* open = NULL;
    if (GetNextDocTemplate(pos)->MatchDocType(path, open) == CDocTemplate::yesAttemptNative) {
      *doc = CWinApp::OpenDocumentFile(given);
      return *doc != NULL;
    }
  }
  return OpenWithShell(path);
}

BOOL cForgeApp::OpenWithShell(LPCSTR path) {
  char shortPath[MAX_PATH];
  CString file = ::GetShortPathNameA(path, shortPath, MAX_PATH) ? CString(shortPath) : CString(path);
  INT_PTR result = INT_PTR(::ShellExecuteA(m_pMainWnd ? m_pMainWnd->m_hWnd : NULL, "open", file, NULL,
                                           FolderOf(path), SW_SHOWNORMAL));
  if (result > kShellErrorLimit) {
    // The started program may take the foreground.
    ::SetForegroundWindow(::GetDesktopWindow());
    return TRUE;
  }
  CString message;
  AfxFormatString1(message, ShellErrorText(result), path);
  AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
  return FALSE;
}

void cForgeApp::OnFileOpen() {
  CString allSupported, allFiles;
  allSupported.LoadString(IDS_ALL_SUPPORTED);
  allFiles.LoadString(IDS_ALL_FILES_FILTER);
  CFileDialog dialog(TRUE, NULL, NULL, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                     m_launchItems.BuildOpenFilter(allSupported, allFiles), m_pMainWnd);
  if (dialog.DoModal() == IDOK) OpenDocumentFile(dialog.GetPathName());
}

// The shell extension and the other programs start the host from this folder.
void cForgeApp::RecordProgramFolder() {
  char path[MAX_PATH];
  if (!::GetModuleFileNameA(NULL, path, MAX_PATH)) return;
  SECRegistry location;
  if (location.Create(HKEY_CURRENT_USER, ORV_LOCATION_KEY)) location.SetValue("Path", FolderOf(path));
}

CString cForgeApp::GetProgramFolder() const {
  CString folder;
  SECRegistry location;
  if (location.Open(HKEY_CURRENT_USER, ORV_LOCATION_KEY) && location.QueryValue("Path", folder) && !folder.IsEmpty()) {
    if (folder.Right(1) == "\\") folder = folder.Left(folder.GetLength() - 1);
    return folder;
  }
  char path[MAX_PATH];
  ::GetModuleFileNameA(NULL, path, MAX_PATH);
  return FolderOf(path);
}

void cForgeApp::OnHelpFinder() {
  if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CANCELMODE);
  ::ReleaseCapture();
  HtmlHelp(0, ORV_HH_DISPLAY_TOPIC);
}

void cForgeApp::RegisterHelpContext(UINT commandId, LPCSTR page) {
  CString key, name;
  if (!key.LoadString(IDS_HELP_CONTEXT_KEY) || !name.LoadString(commandId)) return;
  SECRegistry context;
  if (!context.Create(HKEY_CURRENT_USER, key + "\\" + name)) return;
  context.SetValue(NULL, "file://" + GetProgramFolder() + kPagesFolder + page);
  context.SetValue("Contexts", kHelpContexts);
}

void cForgeApp::RemoveHelpContext(UINT commandId) {
  CString key, name;
  if (!key.LoadString(IDS_HELP_CONTEXT_KEY) || !name.LoadString(commandId)) return;
  SECRegistry::DeleteKeyTree(HKEY_CURRENT_USER, key + "\\" + name);
}

void cForgeApp::RegisterAutomation() {
  if (!RegisterForgeAutomation()) AfxMessageBox(AFX_IDP_FAILED_TO_AUTO_REGISTER);
}

// ---------------------------------------------------------------------------------------------

CDocTemplate* cForgeApp::NewWorkspaceTemplate() {
  SECMultiDocTemplate* docTemplate =
      new SECMultiDocTemplate(IDR_FORGETYPE, RUNTIME_CLASS(CForgeDoc), RUNTIME_CLASS(CChildFrame),
                              RUNTIME_CLASS(CForgeView), RUNTIME_CLASS(cWSDockableFrame));
  try {
    docTemplate->SetContainerInfo(IDR_CONTAINER);
  } catch (CException* e) {
    e->Delete();
    delete docTemplate;
    return NULL;
  }
  AddDocTemplate(docTemplate);
  return docTemplate;
}

IDispatch* cForgeApp::GetSlideTable(BOOL visibleOnly) {
  cSTLaunchItem* item = dynamic_cast<cSTLaunchItem*>(m_launchItems.FindByLocator(ORV_GALLERY_PROGID));
  CDocTemplate* docTemplate = item ? item->GetDocTemplate() : NULL;
  POSITION pos = docTemplate ? docTemplate->GetFirstDocPosition() : NULL;
  while (pos) {
    CDocument* doc = docTemplate->GetNextDoc(pos);
    POSITION view = doc->GetFirstViewPosition();
    CView* first = view ? doc->GetNextView(view) : NULL;
    SECDockableFrame* docked = first ? dynamic_cast<SECDockableFrame*>(first->GetParentFrame()) : NULL;
    if (!docked) continue;
    if (visibleOnly && !(docked->GetDockingBar() && docked->GetDockingBar()->IsVisible())) return NULL;
    return first->GetIDispatch(TRUE);
  }
  return NULL;
}

BOOL cForgeApp::GalleryDocks() {
  cLaunchItem* item = m_launchItems.FindByLocator(ORV_GALLERY_PROGID);
  return item && dynamic_cast<SECMultiDocTemplate*>(item->GetDocTemplate()) != NULL;
}

IDispatch* cForgeApp::GetVisibleSlideTable() { return GetSlideTable(TRUE); }

BOOL cForgeApp::IsSlideTableVisible() {
  IDispatch* table = GetSlideTable(TRUE);
  if (table) table->Release();
  return table != NULL;
}

BOOL cForgeApp::ShowSlideTable(BOOL show) {
  IDispatch* table = GetSlideTable(FALSE);
  if (table) table->Release();
  cLaunchItem* item = m_launchItems.FindByLocator(ORV_GALLERY_PROGID);
  if (!table && show && item && item->IsAvailable() && GalleryDocks()) item->Launch(FALSE);
  CMainFrame* frame = GetMainFrame();
  cSTLaunchItem* gallery = dynamic_cast<cSTLaunchItem*>(item);
  CDocTemplate* docTemplate = gallery ? gallery->GetDocTemplate() : NULL;
  for (POSITION pos = docTemplate ? docTemplate->GetFirstDocPosition() : NULL; pos && frame;) {
    CDocument* doc = docTemplate->GetNextDoc(pos);
    POSITION view = doc->GetFirstViewPosition();
    CView* first = view ? doc->GetNextView(view) : NULL;
    SECDockableFrame* docked = first ? dynamic_cast<SECDockableFrame*>(first->GetParentFrame()) : NULL;
    if (docked && docked->GetDockingBar()) frame->ShowControlBar(docked->GetDockingBar(), show, FALSE);
  }
  return IsSlideTableVisible();
}

void cForgeApp::DockSlideTable(int side) {
  static const UINT sides[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_BOTTOM};
  if (side < 0 || side > 3) return;
  ShowSlideTable(TRUE);
  IDispatch* table = GetSlideTable(FALSE);
  if (!table) return;
  table->Release();
  cSTLaunchItem* gallery = dynamic_cast<cSTLaunchItem*>(m_launchItems.FindByLocator(ORV_GALLERY_PROGID));
  CDocTemplate* docTemplate = gallery->GetDocTemplate();
  POSITION pos = docTemplate->GetFirstDocPosition();
  CDocument* doc = docTemplate->GetNextDoc(pos);
  POSITION view = doc->GetFirstViewPosition();
  SECDockableFrame* docked = dynamic_cast<SECDockableFrame*>(doc->GetNextView(view)->GetParentFrame());
  if (docked && docked->GetDockingBar() && GetMainFrame())
    GetMainFrame()->DockControlBarEx(docked->GetDockingBar(), sides[side], 0, 0, 100.0f,
                                     docked->GetDockingBar()->GetDockedThickness(side == 0 || side == 3));
}

BOOL cForgeApp::SetGalleryPath(LPCSTR folder) {
  IDispatch* table = GetSlideTable(FALSE);
  if (!table) return FALSE;
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_BSTR;
  WCHAR wide[MAX_PATH];
  ::MultiByteToWideChar(CP_ACP, 0, folder, -1, wide, MAX_PATH);
  argument.bstrVal = ::SysAllocString(wide);
  DISPPARAMS params = {&argument, NULL, 1, 0};
  HRESULT hr = table->Invoke(DISPID_GALLERY_OPEN, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, NULL, NULL, NULL);
  VariantClear(&argument);
  table->Release();
  return SUCCEEDED(hr);
}

void cForgeApp::ShowMessage(UINT stringId) { AfxMessageBox(stringId, MB_OK | MB_ICONEXCLAMATION); }

CString cForgeApp::GetCurrentWorkspace() {
  CMainFrame* frame = GetMainFrame();
  return frame ? frame->GetWorkspaceManager().GetCurrentWorkspace() : CString();
}

BOOL cForgeApp::OpenWorkspace(LPCSTR name) {
  CMainFrame* frame = GetMainFrame();
  return frame && frame->GetWorkspaceManager().OpenWorkspace(name);
}

void cForgeApp::ActivateMainFrame() {
  if (CMainFrame* frame = GetMainFrame()) {
    if (frame->IsIconic()) frame->ShowWindow(SW_RESTORE);
    ::SetForegroundWindow(frame->m_hWnd);
  }
}
