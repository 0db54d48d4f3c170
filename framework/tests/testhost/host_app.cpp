// The test host (test code, not product).
#include "host_app.h"

#include <cstdlib>

#include "host_ids.h"
#include "testui.h"

namespace fwtest {

IMPLEMENT_DYNCREATE(CHostMainFrame, SECWorkbook)

BEGIN_MESSAGE_MAP(CHostMainFrame, SECWorkbook)
  ON_WM_CREATE()
  ON_COMMAND_RANGE(ID_NX_PANE_SLIDETABLE, ID_NX_PANE_LAUNCHBAR, OnPaneButton)
END_MESSAGE_MAP()

int CHostMainFrame::OnCreate(LPCREATESTRUCT cs) {
  if (SECWorkbook::OnCreate(cs) == -1) return -1;
  if (!m_wndStatusBar.Create(this)) return -1;
  EnableDocking(CBRS_ALIGN_ANY);
  return 0;
}

void CHostMainFrame::OnPaneButton(UINT id) { m_paneCommands.push_back(id); }

CHostApp theHostApp;
CHostMainFrame* HostTest::s_frame = NULL;

namespace {
const int kFrameLeft = 20, kFrameTop = 20, kFrameWidth = 1000, kFrameHeight = 700;
}

HostedComponent::HostedComponent(REFCLSID clsid) : m_component(NULL) {
  m_created = CoCreateInstance(clsid, NULL, CLSCTX_INPROC_SERVER, IID_INXComponent,
                               reinterpret_cast<void**>(&m_component));
}

HostedComponent::~HostedComponent() {
  if (!m_component) return;
  // As the host: a component goes only after its documents (their frames still use it while they close).
  if (CDocTemplate* docTemplate = m_component->GetDocTemplate()) {
    docTemplate->CloseAllDocuments(FALSE);
    PumpHost();
  }
  m_component->Release();
}

BOOL HostedComponent::Load() {
  if (!m_component || !m_component->Initialize()) return FALSE;
  CDocTemplate* docTemplate = m_component->GetDocTemplate();
  if (!docTemplate) return FALSE;
  docTemplate->SetContainerInfo(IDR_HOSTCONTAINER);
  return TRUE;
}

CDocument* HostedComponent::Open() {
  if (GetFileAttributesA(m_component->GetModulePath()) == INVALID_FILE_ATTRIBUTES) return NULL;
  m_component->ActivateResources();
  CDocument* doc = m_component->GetDocTemplate()->OpenDocumentFile(NULL, TRUE);
  PumpHost();
  return doc;
}

cNXComponent* HostedComponent::Component() const { return static_cast<cNXComponent*>(m_component); }

void PumpHost() { afxtest::Pump(theHostApp); }

CFrameWnd* FrameOf(CDocument* doc) {
  POSITION pos = doc->GetFirstViewPosition();
  return doc->GetNextView(pos)->GetParentFrame();
}

CString TempFolder() {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return folder;
}

bool WriteBytes(const CString& path, const char* bytes, DWORD count) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes, count, &written, NULL) && written == count;
  CloseHandle(file);
  return ok;
}

namespace {
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(NULL, timer);
  EndMenu();
}
}  // namespace

bool HoldMenuOpen(char mnemonic) {
  const char* hold = getenv("ORV_UI_HOLD_SECONDS");
  if (!hold) return false;
  // The menu's own loop runs the timer that closes it.
  SetTimer(NULL, 0, UINT(atoi(hold)) * 1000, &CloseMenu);
  ::PostMessageA(theHostApp.m_pMainWnd->m_hWnd, WM_SYSCOMMAND, SC_KEYMENU, LPARAM(mnemonic));
  PumpHost();
  return true;
}

int TemplateCount() {
  int count = 0;
  for (POSITION pos = theHostApp.GetFirstDocTemplatePosition(); pos; theHostApp.GetNextDocTemplate(pos)) ++count;
  return count;
}

CDynLinkLibrary* RecordOf(HMODULE module) {
  AfxLockGlobals(CRIT_DYNLINKLIST);
  CDynLinkLibrary* found = NULL;
  for (CDynLinkLibrary* library = AfxGetFirstDynLinkLibrary(); library && !found; library = library->m_pNextDLL)
    if (library->m_hModule == module) found = library;
  AfxUnlockGlobals(CRIT_DYNLINKLIST);
  return found;
}

CDynLinkLibrary* ChainHead() {
  AfxLockGlobals(CRIT_DYNLINKLIST);
  CDynLinkLibrary* head = AfxGetFirstDynLinkLibrary();
  AfxUnlockGlobals(CRIT_DYNLINKLIST);
  return head;
}

void HostTest::SetUpTestSuite() {
  ASSERT_TRUE(AfxWinInit(GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOW));
  ASSERT_TRUE(AfxOleInit());
  theHostApp.UseSettingsKey();
  // Component windows open restored unless a test says otherwise.
  theHostApp.WriteProfileInt("Settings", "ShowCmd", SW_SHOW);
  s_frame = new CHostMainFrame;
  ASSERT_TRUE(s_frame->LoadFrame(IDR_HOSTFRAME));
  theHostApp.m_pMainWnd = s_frame;
  s_frame->MoveWindow(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight);
  s_frame->ShowWindow(SW_SHOW);
  s_frame->UpdateWindow();
  PumpHost();
}

void HostTest::TearDownTestSuite() {
  afxtest::CloseFrame(theHostApp, s_frame);
  theHostApp.m_pMainWnd = NULL;
  AfxOleTerm();
}

void HostTest::TearDown() {
  theHostApp.CloseAllDocuments(TRUE);
  PumpHost();
}

}  // namespace fwtest
