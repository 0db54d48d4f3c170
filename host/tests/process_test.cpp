// The host program in real processes: a second instance hands its file to the first and ends, no document
// opens at a start without arguments, the automation object from another process by dispatch id (Open with
// and without quotes, Launch with an unknown locator, the unassigned id 8, RunCommand, GetVersionNumbers),
// the program started by COM for automation alone, and the missing resource library (test code).
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

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
    ItemSpec viewer{"Viewer", "Application", recorder, "Viewer"};
    viewer.types = {"jpg"};
    // The Gallery's component item too (when the Gallery is registered, its library is loaded and must
    // outlive its template at exit).
    ItemSpec gallery{"Gallery", "Dll", ORV_GALLERY_PROGID, "Gallery"};
    gallery.permanent = true;
    WriteItems({viewer, gallery});
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
  // The message box of that process.
  HWND box = NULL;
  for (DWORD waited = 0; !box && waited < kStartTimeoutMs; waited += 100) {
    for (HWND window = FindWindowA("#32770", NULL); window; window = FindWindowExA(NULL, window, "#32770", NULL)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == process.id) box = window;
    }
    if (!box) Sleep(100);
  }
  ASSERT_NE(nullptr, box);
  char text[256] = "";
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  EXPECT_STREQ("OrvRes.dll could not be found!", text);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(Ended(process, kStartTimeoutMs));
}

}  // namespace
