// Test harness for OrvaneExt (see harness.h).
#include "harness.h"

#include <shlwapi.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "orvaneext/OrvaneExt.h"

namespace orvtest {
namespace {

const char kPrivateUserKey[] = "Software\\Nexlumen\\Tests";
const char kNexlumenKey[] = "Software\\Nexlumen";
const char kRecordVariable[] = "ORV_STANDIN_RECORD";
const char kQuitVariable[] = "ORV_STANDIN_QUIT";
const DWORD kPollMs = 20;
const DWORD kStartWaitMs = 5000;
const DWORD kHostExitWaitMs = 5000;
const DWORD kDebugBufferBytes = 4096;
const char kDialogClass[] = "#32770";
const int kMessageBoxTextId = 0xFFFF;

std::wstring Wide(const std::string& text) { return comkit::Widen(text.c_str()); }

}  // namespace

std::string BinFolder() {
  char exe[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
  const std::string path(exe, length);
  return path.substr(0, path.rfind('\\') + 1);
}

int RunProgram(const std::string& commandLine) {
  std::string line = commandLine;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return int(code);
}

ScratchFolder::ScratchFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  static int serial = 0;
  char name[64];
  std::snprintf(name, sizeof name, "orvext-%lu-%d", GetCurrentProcessId(), ++serial);
  m_path = std::string(temp) + name;
  CreateDirectoryA(m_path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
  std::string from = m_path;
  from.push_back('\0');  // the operation takes a list ending in an empty name
  SHFILEOPSTRUCTA operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationA(&operation);
}

std::string ScratchFolder::File(const std::string& name, const std::string& content) const {
  const std::string path = m_path + "\\" + name;
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

std::string ScratchFolder::Folder(const std::string& name) const {
  const std::string path = m_path + "\\" + name;
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

ComPtr<IShellFolder> BindFolder(const std::string& folder) {
  ComPtr<IShellFolder> desktop, bound;
  if (FAILED(SHGetDesktopFolder(&desktop))) return bound;
  std::wstring path = Wide(folder);
  LPITEMIDLIST id = nullptr;
  if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, &path[0], nullptr, &id, nullptr))) return bound;
  desktop->BindToObject(id, nullptr, IID_IShellFolder, bound.PutVoid());
  CoTaskMemFree(id);
  return bound;
}

LPITEMIDLIST ChildId(IShellFolder* folder, const std::string& name) {
  std::wstring wide = Wide(name);
  LPITEMIDLIST id = nullptr;
  folder->ParseDisplayName(nullptr, nullptr, &wide[0], nullptr, &id, nullptr);
  return id;
}

ComPtr<IDataObject> ShellSelection(const std::string& folder, const std::vector<std::string>& names) {
  ComPtr<IDataObject> data;
  ComPtr<IShellFolder> bound = BindFolder(folder);
  if (!bound) return data;
  std::vector<LPCITEMIDLIST> ids;
  for (const std::string& name : names) ids.push_back(ChildId(bound.Get(), name));
  bool complete = true;
  for (LPCITEMIDLIST id : ids) complete = complete && id != nullptr;
  if (complete) bound->GetUIObjectOf(nullptr, UINT(ids.size()), ids.data(), IID_IDataObject, nullptr, data.PutVoid());
  for (LPCITEMIDLIST id : ids) CoTaskMemFree(const_cast<LPITEMIDLIST>(id));
  return data;
}

PrivateCurrentUser::PrivateCurrentUser() {
  char name[64];
  std::snprintf(name, sizeof name, "\\OrvaneExt-%lu", GetCurrentProcessId());
  m_path = std::string(kPrivateUserKey) + name;
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
      ERROR_SUCCESS) {
    RegOverridePredefKey(HKEY_CURRENT_USER, key);
    RegCloseKey(key);
  }
}

PrivateCurrentUser::~PrivateCurrentUser() {
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  SHDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
}

void PrivateCurrentUser::Clear() { SHDeleteKeyA(HKEY_CURRENT_USER, kNexlumenKey); }

void SetLaunchItems(const std::vector<std::pair<std::string, std::vector<std::string>>>& items) {
  SHDeleteKeyA(HKEY_CURRENT_USER, orvext::kLaunchItemsKey);
  for (const auto& item : items) {
    const std::string path = std::string(orvext::kLaunchItemsKey) + "\\" + item.first + "\\" + orvext::kFileTypesSubkey;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
      continue;
    }
    for (const std::string& type : item.second) {
      RegSetValueExA(key, type.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(type.c_str()), DWORD(type.size() + 1));
    }
    RegCloseKey(key);
  }
}

void SetHostPath(const std::string& program) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, orvext::kLocationKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key, orvext::kPathValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(program.c_str()),
                 DWORD(program.size() + 1));
  RegCloseKey(key);
}

StandInHosts::StandInHosts() {
  static int serial = 0;
  char name[96];
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::snprintf(name, sizeof name, "orvext-hosts-%lu-%d.txt", GetCurrentProcessId(), ++serial);
  m_record = std::string(temp) + name;
  DeleteFileA(m_record.c_str());
  std::snprintf(name, sizeof name, "OrvaneExtTestQuit-%lu-%d", GetCurrentProcessId(), serial);
  m_quit = CreateEventA(nullptr, TRUE, FALSE, name);
  SetEnvironmentVariableA(kRecordVariable, m_record.c_str());
  SetEnvironmentVariableA(kQuitVariable, name);
}

StandInHosts::~StandInHosts() {
  SetEvent(m_quit);
  for (const HostRecord& record : Records()) {
    if (record.what != "start") continue;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, record.pid);
    if (!process) continue;
    WaitForSingleObject(process, kHostExitWaitMs);
    CloseHandle(process);
  }
  CloseHandle(m_quit);
  SetEnvironmentVariableA(kRecordVariable, nullptr);
  SetEnvironmentVariableA(kQuitVariable, nullptr);
  DeleteFileA(m_record.c_str());
}

std::vector<HostRecord> StandInHosts::Records() const {
  std::vector<HostRecord> records;
  std::ifstream in(m_record);
  std::string line;
  while (std::getline(in, line)) {
    const size_t first = line.find('\t'), second = line.find('\t', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    HostRecord record;
    record.what = line.substr(0, first);
    record.pid = std::stoul(line.substr(first + 1, second - first - 1));
    record.commandLine = line.substr(second + 1);
    records.push_back(record);
  }
  return records;
}

std::vector<HostRecord> StandInHosts::WaitForStarts(size_t count) const {
  const DWORD start = GetTickCount();
  for (;;) {
    std::vector<HostRecord> records = Records();
    size_t starts = 0;
    for (const HostRecord& record : records) starts += record.what == "start";
    if (starts >= count || GetTickCount() - start > kStartWaitMs) return records;
    Sleep(kPollMs);
  }
}

DebugListener::DebugListener() {
  InitializeCriticalSection(&m_lock);
  m_bufferReady = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY");
  m_dataReady = CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY");
  m_buffer = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kDebugBufferBytes, "DBWIN_BUFFER");
  // Another listener already owns the buffer: the texts would go to it, not to this one.
  const bool taken = GetLastError() == ERROR_ALREADY_EXISTS;
  if (m_buffer) m_view = static_cast<const char*>(MapViewOfFile(m_buffer, FILE_MAP_READ, 0, 0, 0));
  m_ready = m_bufferReady && m_dataReady && m_view && !taken;
  if (m_ready) m_thread = std::thread(&DebugListener::Listen, this);
}

DebugListener::~DebugListener() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
  if (m_view) UnmapViewOfFile(m_view);
  for (HANDLE handle : {m_buffer, m_bufferReady, m_dataReady}) {
    if (handle) CloseHandle(handle);
  }
  DeleteCriticalSection(&m_lock);
}

void DebugListener::Listen() {
  const DWORD self = GetCurrentProcessId();
  SetEvent(m_bufferReady);
  while (!m_stop) {
    if (WaitForSingleObject(m_dataReady, kPollMs) != WAIT_OBJECT_0) continue;
    DWORD pid;
    std::memcpy(&pid, m_view, sizeof pid);
    const char* text = m_view + sizeof pid;
    if (pid == self) {
      EnterCriticalSection(&m_lock);
      m_texts.emplace_back(text, strnlen(text, kDebugBufferBytes - sizeof pid));
      LeaveCriticalSection(&m_lock);
    }
    SetEvent(m_bufferReady);
  }
}

std::vector<std::string> DebugListener::Texts() {
  EnterCriticalSection(&m_lock);
  std::vector<std::string> texts = m_texts;
  LeaveCriticalSection(&m_lock);
  return texts;
}

MessageBoxWatcher::MessageBoxWatcher() {
  InitializeCriticalSection(&m_lock);
  m_thread = std::thread(&MessageBoxWatcher::Watch, this);
}

MessageBoxWatcher::~MessageBoxWatcher() {
  m_stop = true;
  m_thread.join();
  DeleteCriticalSection(&m_lock);
}

namespace {

// The visible message boxes (dialog class windows) of this process.
BOOL CALLBACK CollectBox(HWND window, LPARAM param) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (pid == GetCurrentProcessId() && std::strcmp(className, kDialogClass) == 0 && IsWindowVisible(window)) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  }
  return TRUE;
}

}  // namespace

void MessageBoxWatcher::Watch() {
  while (!m_stop) {
    std::vector<HWND> windows;
    EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
      Box box;
      char text[256] = {};
      GetWindowTextA(window, text, sizeof text);
      box.caption = text;
      GetDlgItemTextA(window, kMessageBoxTextId, text, sizeof text);
      box.text = text;
      EnterCriticalSection(&m_lock);
      m_boxes.push_back(box);
      LeaveCriticalSection(&m_lock);
      // Hidden at once so that the next round does not count it again before it closes.
      ShowWindow(window, SW_HIDE);
      PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    Sleep(kPollMs);
  }
}

std::vector<MessageBoxWatcher::Box> MessageBoxWatcher::Boxes() {
  EnterCriticalSection(&m_lock);
  std::vector<Box> boxes = m_boxes;
  LeaveCriticalSection(&m_lock);
  return boxes;
}

}  // namespace orvtest

namespace orvtest {
namespace {

bool KeyExists(const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

struct Globals {
  DebugListener* listener = nullptr;
  PrivateCurrentUser* user = nullptr;
  ShellKeys before;
};
Globals g_globals;

class ExtensionEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    g_globals.before = ReadShellKeys();
    ASSERT_EQ(0, RunProgram(RegisterCommand("install \"" + BinFolder() + orvext::kDllName + "\"")));
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    g_globals.user = new PrivateCurrentUser;
    g_globals.listener = new DebugListener;
  }
  void TearDown() override {
    delete g_globals.listener;
    delete g_globals.user;
    CoUninitialize();
    EXPECT_EQ(0, RunProgram(RegisterCommand("uninstall")));
  }
};
::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new ExtensionEnvironment);

}  // namespace

ShellKeys ReadShellKeys() {
  std::vector<std::string> paths = {orvext::kApprovedKey};
  for (const char* fileClass : orvext::kHandlerClasses) {
    std::string path = std::string(orvext::kClassesKey) + "\\" + fileClass;
    paths.push_back(path);
    for (const char* part : {"\\shellex", "\\ContextMenuHandlers"}) paths.push_back(path += part);
  }
  ShellKeys keys;
  for (const std::string& path : paths) keys.emplace_back(path, KeyExists(path));
  return keys;
}

DebugListener& Listener() { return *g_globals.listener; }
PrivateCurrentUser& CurrentUser() { return *g_globals.user; }
const ShellKeys& KeysBeforeInstall() { return g_globals.before; }

std::string RegisterCommand(const std::string& arguments) {
  return "\"" + BinFolder() + "OrvaneExtReg.exe\" " + arguments;
}

}  // namespace orvtest
