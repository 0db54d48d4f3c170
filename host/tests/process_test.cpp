// The host program in real processes: a second instance hands its file to the first and ends, no document
// opens at a start without arguments, the automation object from another process by dispatch id (Open with
// and without quotes, Launch with an unknown locator, the unassigned id 8, RunCommand, GetVersionNumbers),
// the program started by COM for automation alone, the workspace "Current" across a restart, a folder at start
// shown by the Gallery, a file without a program, files of document-object servers, and the missing resource
// library (test code).
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <regex>

#include "host/HostIds.h"
#include "test_support.h"

using namespace hosttest;

namespace {

const CLSID kForgeAutomation = {0x593DA147, 0xA93F, 0x11D1, {0xB4, 0x4F, 0x00, 0xA0, 0x14, 0x8F, 0x3A, 0xF9}};
const DWORD kStartTimeoutMs = 60000;

struct Process {
  HANDLE handle = NULL;
  DWORD id = 0;
};

Process Start(const std::string& program, const std::string& args) {
  std::string command = "\"" + program + "\"" + (args.empty() ? "" : " " + args);
  STARTUPINFOA startup = {sizeof startup};
  PROCESS_INFORMATION info = {};
  Process process;
  if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) return process;
  CloseHandle(info.hThread);
  process.handle = info.hProcess;
  process.id = info.dwProcessId;
  return process;
}

bool Ended(Process& process, DWORD timeoutMs, DWORD* exitCode = NULL) {
  bool ended = WaitForSingleObject(process.handle, timeoutMs) == WAIT_OBJECT_0;
  if (ended && exitCode) GetExitCodeProcess(process.handle, exitCode);
  if (!ended) TerminateProcess(process.handle, 1);
  CloseHandle(process.handle);
  process.handle = NULL;
  return ended;
}

HWND WaitForWindow(const char* windowClass, DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
    if (HWND window = FindWindowA(windowClass, NULL)) return window;
    Sleep(100);
  }
  return NULL;
}

int RunningHosts() {
  int count = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry = {sizeof entry};
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    count += lstrcmpiA(entry.szExeFile, "Orvane.exe") == 0;
  CloseHandle(snapshot);
  return count;
}

bool WaitForNoHost(DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
    if (RunningHosts() == 0) return true;
    Sleep(100);
  }
  return false;
}

struct Call {
  HRESULT hr;
  VARIANT result;
};

Call Invoke(IDispatch* object, DISPID id, const wchar_t* text = NULL) {
  VARIANT argument;
  VariantInit(&argument);
  if (text) {
    argument.vt = VT_BSTR;
    argument.bstrVal = SysAllocString(text);
  }
  DISPPARAMS params = {text ? &argument : NULL, NULL, text ? 1u : 0u, 0};
  Call call;
  VariantInit(&call.result);
  call.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &call.result, NULL, NULL);
  VariantClear(&argument);
  return call;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string Narrow(BSTR text) {
  std::wstring wide(text ? text : L"");
  return std::string(wide.begin(), wide.end());
}

void SetString(const char* key, const char* name, const std::string& value) {
  SHSetValueA(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(), DWORD(value.size() + 1));
}

class HostProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(0, RunningHosts()) << "an Orvane.exe is already running";
    CoInitialize(NULL);
    host = BesideTest("Orvane.exe");
    recorder = BesideTest("host_recorder.exe");
    folder = TempFolder("host_process_tests");
    picture = folder + "\\beach.jpg";
    WriteFile(picture, "not really a picture");
    ItemDef viewer{"Viewer", "Application", recorder, "Viewer"};
    viewer.types = {"jpg"};
    // The Gallery's component item too (when the Gallery is registered, its library is loaded and must
    // outlive its template at exit).
    ItemDef gallery{"Gallery", "Dll", ORV_GALLERY_PROGID, "Gallery"};
    gallery.permanent = true;
    WriteItems({viewer, gallery});
    // Each test starts without a saved workspace.
    SHDeleteKeyA(HKEY_CURRENT_USER, ORV_WORKSPACE_KEY);
  }
  void TearDown() override { CoUninitialize(); }
  std::string host, recorder, folder, picture;
};

// Ends a process the test started when the test leaves early.
struct Guard {
  Process& process;
  ~Guard() {
    if (process.handle) Ended(process, 0);
  }
};

TEST_F(HostProcess, SecondInstanceHandsItsFileToTheFirstAndEnds) {
  std::string record = StartRecording("instances.txt");
  Process first = Start(host, "");
  Guard guard{first};
  HWND frame = WaitForWindow("OrvaneClass", kStartTimeoutMs);
  ASSERT_NE(nullptr, frame);
  // No arguments: nothing is opened.
  EXPECT_EQ(0u, Recorded(record, 1, 1500).size());
  // The host records its folder for the programs that start it.
  char location[MAX_PATH] = "";
  DWORD size = sizeof location;
  SHGetValueA(HKEY_CURRENT_USER, ORV_LOCATION_KEY, "Path", NULL, location, &size);
  EXPECT_EQ(host.substr(0, host.find_last_of('\\')), location);

  // Quoted and unquoted, the same file reaches the first instance's launch item.
  for (const std::string& args : {"\"" + picture + "\"", picture}) {
    Process second = Start(host, args);
    ASSERT_TRUE(Ended(second, kStartTimeoutMs)) << "the second instance did not end";
  }
  std::vector<std::string> lines = Recorded(record, 2);
  ASSERT_EQ(2u, lines.size());
  EXPECT_NE(std::string::npos, lines[0].find("\"" + picture + "\"")) << lines[0];
  EXPECT_EQ(lines[0], lines[1]);
  EXPECT_EQ(frame, FindWindowA("OrvaneClass", NULL));

  PostMessageA(frame, WM_CLOSE, 0, 0);
  DWORD exitCode = DWORD(-1);
  EXPECT_TRUE(Ended(first, kStartTimeoutMs, &exitCode));
  EXPECT_EQ(0u, exitCode);
}

// Another process drives the host by dispatch id; with no host running, COM starts one for the object alone,
// which shows no window and ends with the last reference.
TEST_F(HostProcess, AutomationFromAnotherProcessByDispatchId) {
  std::string record = StartRecording("automation.txt");
  IDispatch* forge = NULL;
  ASSERT_EQ(S_OK, CoCreateInstance(kForgeAutomation, NULL, CLSCTX_LOCAL_SERVER, IID_IDispatch, (void**)&forge));

  Call launch = Invoke(forge, DISPID_FORGE_LAUNCH, L"No.Such.Locator");
  EXPECT_EQ(S_OK, launch.hr);
  EXPECT_EQ(VT_BOOL, launch.result.vt);
  EXPECT_EQ(VARIANT_FALSE, launch.result.boolVal);
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Invoke(forge, 8).hr);

  EXPECT_EQ(S_OK, Invoke(forge, DISPID_FORGE_RUNCOMMAND, Wide("\"" + recorder + "\" from-automation").c_str()).hr);
  std::vector<std::string> lines = Recorded(record, 1);
  ASSERT_EQ(1u, lines.size());
  EXPECT_NE(std::string::npos, lines[0].find("from-automation"));

  // Version numbers: a component file with a version resource, one without, a gap ending the items, the
  // content; then with the release.
  SHDeleteKeyA(HKEY_CURRENT_USER, ORV_VERSION_KEY);
  SHDeleteKeyA(HKEY_CURRENT_USER, ORV_COMPONENTS_KEY);
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  SetString(ORV_COMPONENTS_KEY "\\Item1", "name", "kernel");
  SetString(ORV_COMPONENTS_KEY "\\Item1", "location", std::string(system) + "\\kernel32.dll");
  SetString(ORV_COMPONENTS_KEY "\\Item2", "name", "plain");
  SetString(ORV_COMPONENTS_KEY "\\Item2", "location", picture);
  SetString(ORV_COMPONENTS_KEY "\\Item4", "name", "after-gap");
  SetString(ORV_COMPONENTS_KEY "\\Item4", "location", std::string(system) + "\\kernel32.dll");
  SetString(ORV_COMPONENTS_KEY "\\Content", "installed", "basic");
  Call version = Invoke(forge, DISPID_FORGE_GETVERSIONNUMBERS);
  ASSERT_EQ(VT_BSTR, version.result.vt);
  std::string text = Narrow(version.result.bstrVal);
  EXPECT_TRUE(std::regex_match(text, std::regex("format=01&countrycode=[0-9]+&kernel=[0-9]+\\.[0-9]+\\.[0-9]+&content=basic")))
      << text;
  VariantClear(&version.result);
  SetString(ORV_VERSION_KEY, "ReleaseNumber", "4.1");
  version = Invoke(forge, DISPID_FORGE_GETVERSIONNUMBERS);
  text = Narrow(version.result.bstrVal);
  EXPECT_NE(std::string::npos, text.find("&release=4.1&kernel=")) << text;
  VariantClear(&version.result);

  HWND served = FindWindowA("OrvaneClass", NULL);
  EXPECT_FALSE(served && IsWindowVisible(served)) << "a host started for automation shows no window";
  forge->Release();
  EXPECT_TRUE(WaitForNoHost(kStartTimeoutMs));
  SHDeleteKeyA(HKEY_CURRENT_USER, ORV_COMPONENTS_KEY);
  SHDeleteKeyA(HKEY_CURRENT_USER, ORV_VERSION_KEY);
}

std::string MessageText(HWND box) {
  char text[512] = "";
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  return text;
}

// A message box shown by process id (a dialog with an OK button and a text; the host's wait message is a
// dialog too), or null after timeoutMs.
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs = kStartTimeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
    for (HWND window = FindWindowA("#32770", NULL); window; window = FindWindowExA(NULL, window, "#32770", NULL)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == processId && GetDlgItem(window, IDOK) && !MessageText(window).empty()) return window;
    }
    Sleep(100);
  }
  return NULL;
}

// The text of the message box the process shows, which is then answered with OK; "(no message)" when none
// comes.
std::string AnswerMessageBox(DWORD processId) {
  HWND box = WaitForMessageBox(processId);
  if (!box) return "(no message)";
  std::string text = MessageText(box);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  return text;
}

// What one saved window of workspace "Current" holds, as the test compares it.
struct SavedWindow {
  std::string docString;
  DWORD active = 0, docked = 0;
  RECT normal = {};
  bool operator==(const SavedWindow& other) const {
    return docString == other.docString && active == other.active && docked == other.docked &&
           (docked || EqualRect(&normal, &other.normal));
  }
};

const char kCurrentWorkspace[] = ORV_WORKSPACE_KEY "\\Current";

std::vector<SavedWindow> SavedWorkspace() {
  std::vector<SavedWindow> windows;
  DWORD count = 0, size = sizeof count;
  SHGetValueA(HKEY_CURRENT_USER, kCurrentWorkspace, "WindowCount", NULL, &count, &size);
  for (DWORD i = 0; i < count; ++i) {
    std::string key = std::string(kCurrentWorkspace) + "\\Window" + std::to_string(i);
    SavedWindow window;
    char text[512] = "";
    size = sizeof text;
    SHGetValueA(HKEY_CURRENT_USER, key.c_str(), "DocumentString", NULL, text, &size);
    window.docString = text;
    size = sizeof window.active;
    SHGetValueA(HKEY_CURRENT_USER, key.c_str(), "IsActiveChildFrame", NULL, &window.active, &size);
    size = sizeof window.docked;
    SHGetValueA(HKEY_CURRENT_USER, key.c_str(), "DockedView", NULL, &window.docked, &size);
    WINDOWPLACEMENT placement = {};
    size = sizeof placement;
    if (SHGetValueA(HKEY_CURRENT_USER, key.c_str(), "WindowPlacement", NULL, &placement, &size) == ERROR_SUCCESS)
      window.normal = placement.rcNormalPosition;
    windows.push_back(window);
  }
  return windows;
}

void SetNumber(const std::string& key, const char* name, DWORD value) {
  SHSetValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_DWORD, &value, sizeof value);
}

std::vector<HWND> MdiChildren(HWND frame) {
  std::vector<HWND> children;
  HWND client = FindWindowExA(frame, NULL, "MDIClient", NULL);
  for (HWND child = client ? GetWindow(client, GW_CHILD) : NULL; child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child)) children.push_back(child);
  return children;
}

// Waits until the host's MDI area shows count windows.
std::vector<HWND> WaitForChildren(HWND frame, size_t count) {
  std::vector<HWND> children;
  for (DWORD waited = 0; waited < kStartTimeoutMs; waited += 200) {
    children = MdiChildren(frame);
    if (children.size() >= count) break;
    Sleep(200);
  }
  return children;
}

// Workspace "Current" across a restart: two documents of one test component (two launch items of the same
// ProgID, one instance) and a docked view of another standing in for the slide table, their placements, the
// active child; the main frame's title comes from the workspace, and a window whose template is gone (saved
// first) is skipped while the others load.
TEST_F(HostProcess, WorkspaceComesBackAfterARestart) {
  ItemDef first{"B one", "Dll", "NXComponent.FrameworkTestB.1", "B one"};
  ItemDef second{"B two", "Dll", "NXComponent.FrameworkTestB.1", "B two"};
  ItemDef docked{"A docked", "Dll", "NXComponent.FrameworkTestA.1", "A docked"};
  WriteItems({first, second, docked});
  for (const char* key : {"B one", "B two", "A docked"}) SetNumber(std::string(ORV_LAUNCH_ITEMS_KEY "\\") + key, "PreLaunch", 1);
  SetNumber(ORV_LAUNCH_ITEMS_KEY "\\A docked", "DockState", 1);

  Process run = Start(host, "");
  {
    Guard guard{run};
    HWND frame = WaitForWindow("OrvaneClass", kStartTimeoutMs);
    ASSERT_NE(nullptr, frame);
    std::vector<HWND> children = WaitForChildren(frame, 2);
    ASSERT_EQ(2u, children.size()) << "both pre-launched documents of the shared component open";
    // Placements of the test's own, and the lower window made active.
    HWND client = GetParent(children[0]);
    SendMessageA(client, WM_MDIRESTORE, WPARAM(children[0]), 0);
    SendMessageA(client, WM_MDIRESTORE, WPARAM(children[1]), 0);
    SetWindowPos(children[0], NULL, 37, 41, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(children[1], NULL, 120, 90, 280, 190, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(client, WM_MDIACTIVATE, WPARAM(children[1]), 0);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = DWORD(-1);
    ASSERT_TRUE(Ended(run, kStartTimeoutMs, &exitCode));
    EXPECT_EQ(0u, exitCode);
  }
  std::vector<SavedWindow> saved = SavedWorkspace();
  ASSERT_EQ(3u, saved.size());
  int activeCount = 0, dockedCount = 0;
  for (const SavedWindow& window : saved) {
    activeCount += window.active != 0;
    dockedCount += window.docked != 0;
  }
  EXPECT_EQ(1, activeCount);
  EXPECT_EQ(1, dockedCount);

  // Nothing pre-launches now: what opens comes from the workspace. A window of a template that no longer
  // exists is put first, and the title is the workspace's.
  for (const char* key : {"B one", "B two", "A docked"}) SetNumber(std::string(ORV_LAUNCH_ITEMS_KEY "\\") + key, "PreLaunch", 0);
  HKEY workspace = NULL;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kCurrentWorkspace, 0, KEY_ALL_ACCESS, &workspace));
  for (int i = int(saved.size()) - 1; i >= 0; --i) {
    std::string from = "Window" + std::to_string(i), to = "Window" + std::to_string(i + 1);
    HKEY target = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(workspace, to.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &target, NULL));
    ASSERT_EQ(ERROR_SUCCESS, SHCopyKeyA(workspace, from.c_str(), target, 0));
    RegCloseKey(target);
    SHDeleteKeyA(workspace, from.c_str());
  }
  RegCloseKey(workspace);
  SetString((std::string(kCurrentWorkspace) + "\\Window0").c_str(), "DocumentString", "\nGone\nGone\n\n\nGone.Document\nGone\n");
  SetNumber(std::string(kCurrentWorkspace) + "\\Window0", "DocTemplateIndex", 0);
  SetNumber(kCurrentWorkspace, "WindowCount", DWORD(saved.size() + 1));
  SetString((std::string(kCurrentWorkspace) + "\\MainFrame").c_str(), "Title", "Round Trip Title");

  Process again = Start(host, "");
  Guard guard{again};
  HWND frame = WaitForWindow("OrvaneClass", kStartTimeoutMs);
  ASSERT_NE(nullptr, frame);
  std::vector<HWND> children = WaitForChildren(frame, 2);
  EXPECT_EQ(2u, children.size());
  Sleep(1000);  // the pending messages of the start
  EXPECT_EQ(2u, MdiChildren(frame).size()) << "the workspace's windows and no others";
  char title[256] = "";
  GetWindowTextA(frame, title, sizeof title);
  EXPECT_STREQ("Round Trip Title", title);
  PostMessageA(frame, WM_CLOSE, 0, 0);
  DWORD exitCode = DWORD(-1);
  ASSERT_TRUE(Ended(again, kStartTimeoutMs, &exitCode));
  EXPECT_EQ(0u, exitCode);
  // Saved again as it came back: the same windows, placements, active child and docked view.
  std::vector<SavedWindow> resaved = SavedWorkspace();
  ASSERT_EQ(saved.size(), resaved.size());
  for (const SavedWindow& window : saved)
    EXPECT_NE(resaved.end(), std::find(resaved.begin(), resaved.end(), window))
        << window.docString << " active " << window.active << " docked " << window.docked << " at "
        << window.normal.left << "," << window.normal.top;
}

// A folder given at start reaches the Gallery: docked in the slide table when the Gallery docks, else in a
// Gallery window of its own; the Gallery opens nothing else meanwhile.
TEST_F(HostProcess, AFolderAtStartIsShownByTheGallery) {
  Process run = Start(host, "\"" + folder + "\"");
  Guard guard{run};
  HWND frame = WaitForWindow("OrvaneClass", kStartTimeoutMs);
  ASSERT_NE(nullptr, frame);
  std::vector<HWND> children = WaitForChildren(frame, 1);
  ASSERT_EQ(1u, children.size());
  // The window gets the folder's name once the folder is read.
  char title[MAX_PATH] = "";
  for (DWORD waited = 0; waited < kStartTimeoutMs && lstrcmpiA(folder.c_str(), title) != 0; waited += 100) {
    Sleep(100);
    GetWindowTextA(children[0], title, sizeof title);
  }
  EXPECT_EQ(0, lstrcmpiA(folder.c_str(), title)) << title;
  EXPECT_EQ(1u, MdiChildren(frame).size());
  PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended(run, kStartTimeoutMs));
}

// A file that no launch item and no template takes goes to its own program through the shell; without one
// registered for its extension the user is told so, with the file's name.
TEST_F(HostProcess, AFileWithoutAProgramIsReportedWithItsName) {
  std::string orphan = folder + "\\notes.zzq";
  WriteFile(orphan, "no program opens this");
  Process run = Start(host, "\"" + orphan + "\"");
  Guard guard{run};
  EXPECT_EQ("No program is registered to open " + orphan + ".", AnswerMessageBox(run.id));
  HWND frame = WaitForWindow("OrvaneClass", kStartTimeoutMs);
  ASSERT_NE(nullptr, frame);
  EXPECT_EQ(0u, MdiChildren(frame).size()) << "nothing opened inside the host";
  PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended(run, kStartTimeoutMs));
}

// The framework's test document objects (afx_docserver.dll: an accepting and a refusing server), registered
// for the time of a test.
class TestDocumentServer {
 public:
  TestDocumentServer() : m_library(LoadLibraryA(BesideTest("afx_docserver.dll").c_str())) {
    auto registerServer = m_library ? reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(m_library, "DllRegisterServer")) : NULL;
    m_registered = registerServer && registerServer() == S_OK;
  }
  ~TestDocumentServer() {
    auto unregisterServer = m_library ? reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(m_library, "DllUnregisterServer")) : NULL;
    if (m_registered) EXPECT_EQ(S_OK, unregisterServer());
    if (m_library) FreeLibrary(m_library);
  }
  bool Registered() const { return m_registered; }

 private:
  HMODULE m_library;
  bool m_registered = false;
};

// The framework's test document object's window inside window, or null.
HWND DocumentObjectWindow(HWND window) {
  struct Search {
    HWND found = NULL;
    static BOOL CALLBACK Visit(HWND child, LPARAM data) {
      char name[64] = "";
      GetClassNameA(child, name, sizeof name);
      if (lstrcmpA(name, "OrvAfxTestDocumentWindow") != 0) return TRUE;
      reinterpret_cast<Search*>(data)->found = child;
      return FALSE;
    }
  } search;
  EnumChildWindows(window, &Search::Visit, LPARAM(&search));
  return search.found;
}

// The text the test document object shows in its window ("text=...;file=...;commands=..."), inside window;
// empty when there is none.
std::string DocumentObjectState(HWND window) {
  HWND document = DocumentObjectWindow(window);
  char text[1024] = "";
  if (document) GetWindowTextA(document, text, sizeof text);
  return text;
}

std::string WaitForDocumentObjects(HWND frame, size_t count, std::vector<std::string>* states) {
  for (DWORD waited = 0; waited < kStartTimeoutMs; waited += 200) {
    states->clear();
    for (HWND child : MdiChildren(frame)) {
      std::string state = DocumentObjectState(child);
      // An object shows its window before its content (the path command or the file) has reached it.
      if (!state.empty() && state.rfind("text=;file=;", 0) != 0) states->push_back(state);
    }
    if (states->size() >= count) return "";
    Sleep(200);
  }
  return "timed out";
}

// Files of document-object items open in an embedded object of their server in the host: a server that takes
// the path command gets the path; one that does not gets an object made from the file. While a server's menu
// is merged, its commands reach its window and the host's Help entries stay the host's.
TEST_F(HostProcess, DocumentObjectServersGetTheFileByCommandOrFromTheFile) {
  TestDocumentServer server;
  ASSERT_TRUE(server.Registered());
  ItemDef accepting{"Accepting", "DocObject", "OrvAfxTest.InprocDocument", "Accepting"};
  accepting.types = {"afxtestdoc"};
  ItemDef refusing{"Refusing", "DocObject", "OrvAfxTest.RefusingDocument", "Refusing"};
  refusing.types = {"refusedoc"};
  WriteItems({accepting, refusing});
  std::string byCommand = folder + "\\letter.afxtestdoc", fromFile = folder + "\\memo.refusedoc";
  WriteFile(byCommand, "sent by command");
  WriteFile(fromFile, "made from the file");

  Process run = Start(host, "\"" + byCommand + "\"");
  Guard guard{run};
  HWND frame = WaitForWindow("OrvaneClass", kStartTimeoutMs);
  ASSERT_NE(nullptr, frame);
  std::vector<std::string> states;
  EXPECT_EQ("", WaitForDocumentObjects(frame, 1, &states));
  ASSERT_EQ(1u, states.size());
  EXPECT_EQ("text=" + byCommand + ";file=;commands=0", states[0]);

  // While the server's menu is merged, its commands go to its window and the host keeps its own: a Help entry
  // (none is registered here, so the host says it cannot show it).
  SHDeleteKeyA(HKEY_CURRENT_USER, ORV_HELP_KEY);
  PostMessageA(frame, WM_COMMAND, 7001, 0);  // the test document's "Greet"
  for (DWORD waited = 0; waited < kStartTimeoutMs && states[0].find("commands=1") == std::string::npos; waited += 100) {
    Sleep(100);
    WaitForDocumentObjects(frame, 1, &states);
  }
  EXPECT_EQ("text=" + byCommand + ";file=;commands=1", states[0]);
  PostMessageA(frame, WM_COMMAND, ID_HELP_ENTRY_FIRST, 0);
  EXPECT_NE("(no message)", AnswerMessageBox(run.id)) << "the host handles its Help entries";
  WaitForDocumentObjects(frame, 1, &states);
  EXPECT_EQ("text=" + byCommand + ";file=;commands=1", states[0]);

  Process second = Start(host, "\"" + fromFile + "\"");
  ASSERT_TRUE(Ended(second, kStartTimeoutMs));
  EXPECT_EQ("", WaitForDocumentObjects(frame, 2, &states));
  ASSERT_EQ(2u, states.size());
  EXPECT_NE(states.end(), std::find(states.begin(), states.end(), "text=made from the file;file=" + fromFile + ";commands=0"));

  PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended(run, kStartTimeoutMs));
}

// An item that opens docked shows its embedded object in a dockable frame of the host's (a thin border, no
// caption, outside the MDI area, floating until placed) that still gets the file.
TEST_F(HostProcess, ADockedDocumentObjectItemOpensInADockableFrame) {
  TestDocumentServer server;
  ASSERT_TRUE(server.Registered());
  ItemDef docked{"Docked", "DocObject", "OrvAfxTest.InprocDocument", "Docked"};
  docked.types = {"dockdoc"};
  WriteItems({docked});
  SetNumber(ORV_LAUNCH_ITEMS_KEY "\\Docked", "DockState", 1);
  std::string file = folder + "\\panel.dockdoc";
  WriteFile(file, "docked");

  Process run = Start(host, "\"" + file + "\"");
  Guard guard{run};
  HWND frame = WaitForWindow("OrvaneClass", kStartTimeoutMs);
  ASSERT_NE(nullptr, frame);
  // Floating first, in a window the main frame owns.
  HWND document = NULL;
  for (DWORD waited = 0; !document && waited < kStartTimeoutMs; waited += 100) {
    for (HWND top = GetTopWindow(NULL); top && !document; top = GetWindow(top, GW_HWNDNEXT))
      if (GetWindow(top, GW_OWNER) == frame) document = DocumentObjectWindow(top);
    if (!document) Sleep(100);
  }
  ASSERT_NE(nullptr, document);
  // The object's window comes up before the path command reaches it.
  const std::string expected = "text=" + file + ";file=;commands=0";
  char text[1024] = "";
  for (DWORD waited = 0; waited < kStartTimeoutMs && expected != text; waited += 100) {
    if (waited) Sleep(100);
    GetWindowTextA(document, text, sizeof text);
  }
  EXPECT_EQ(expected, std::string(text));
  EXPECT_TRUE(MdiChildren(frame).empty());
  // document -> view -> the docked frame.
  HWND dockedFrame = GetParent(GetParent(document));
  LONG style = GetWindowLongA(dockedFrame, GWL_STYLE);
  EXPECT_TRUE(style & WS_BORDER);
  EXPECT_FALSE(style & (WS_DLGFRAME | WS_MAXIMIZEBOX));
  EXPECT_TRUE(IsWindowVisible(dockedFrame));

  PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended(run, kStartTimeoutMs));
}

// A server that cannot make its object: message 402, and no document stays open.
TEST_F(HostProcess, AServerThatCannotMakeItsObjectIsReportedAndNothingOpens) {
  // A document-object class whose server file is a resource library: it exists, but serves nothing.
  const char* classKey = "CLSID\\{5D0C37E4-8E0B-4C55-9E58-1D6A3C0E7A11}";
  const char* progIdKey = "OrvaneTest.BrokenDocument";
  auto setClassValue = [](const std::string& key, const std::string& value) {
    SHSetValueA(HKEY_CLASSES_ROOT, key.c_str(), NULL, REG_SZ, value.c_str(), DWORD(value.size() + 1));
  };
  setClassValue(std::string(classKey) + "\\InprocServer32", BesideTest("OrvRes.dll"));
  setClassValue(std::string(classKey) + "\\DocObject", "0");
  setClassValue(std::string(classKey) + "\\ProgID", progIdKey);
  setClassValue(std::string(progIdKey) + "\\CLSID", "{5D0C37E4-8E0B-4C55-9E58-1D6A3C0E7A11}");
  ItemDef broken{"Broken", "DocObject", "OrvaneTest.BrokenDocument", "Broken"};
  broken.types = {"brokendoc"};
  WriteItems({broken});
  std::string file = folder + "\\never.brokendoc";
  WriteFile(file, "never shown");

  Process run = Start(host, "\"" + file + "\"");
  Guard guard{run};
  EXPECT_EQ("The document could not be opened.", AnswerMessageBox(run.id));
  HWND frame = WaitForWindow("OrvaneClass", kStartTimeoutMs);
  ASSERT_NE(nullptr, frame);
  Sleep(500);
  EXPECT_TRUE(MdiChildren(frame).empty());
  EXPECT_EQ(nullptr, WaitForMessageBox(run.id, 1000)) << "one message";
  PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended(run, kStartTimeoutMs));
  SHDeleteKeyA(HKEY_CLASSES_ROOT, classKey);
  SHDeleteKeyA(HKEY_CLASSES_ROOT, progIdKey);
}

// The program without its resource library beside it tells so and ends.
TEST_F(HostProcess, MissingResourceLibraryIsReportedAndTheProgramEnds) {
  std::string bin = BesideTest("");
  std::string copy = TempFolder("host_nores");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((bin + "*.dll").c_str(), &found);
  ASSERT_NE(INVALID_HANDLE_VALUE, search);
  do {
    if (lstrcmpiA(found.cFileName, "OrvRes.dll") != 0)
      CopyFileA((bin + found.cFileName).c_str(), (copy + "\\" + found.cFileName).c_str(), FALSE);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  DeleteFileA((copy + "\\OrvRes.dll").c_str());
  ASSERT_TRUE(CopyFileA(host.c_str(), (copy + "\\Orvane.exe").c_str(), FALSE));

  Process process = Start(copy + "\\Orvane.exe", "");
  Guard guard{process};
  ASSERT_NE(nullptr, process.handle);
  EXPECT_EQ("OrvRes.dll could not be found!", AnswerMessageBox(process.id));
  EXPECT_TRUE(Ended(process, kStartTimeoutMs));
}

}  // namespace
