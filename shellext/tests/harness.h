// Test harness for OrvaneExt: a scratch folder of real files, the shell's own data object for a selection,
// a private HKEY_CURRENT_USER, the stand-in host's record, a debug-output listener and a message-box watcher.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "comkit/holders.h"

namespace orvtest {

using comkit::ComPtr;

// The folder of the test program (and of every binary of the tree).
std::string BinFolder();

// Runs a program of the tree with arguments and returns its exit code (or -1 when it cannot start).
int RunProgram(const std::string& commandLine);

// A fresh folder under the temporary folder, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  const std::string& Path() const { return m_path; }
  std::string File(const std::string& name, const std::string& content = "x") const;
  std::string Folder(const std::string& name) const;

 private:
  std::string m_path;
};

// The data object the shell itself hands to context-menu handlers for items of one folder.
ComPtr<IDataObject> ShellSelection(const std::string& folder, const std::vector<std::string>& names);
// The folder object and child item ids of such a selection (freed by the caller with CoTaskMemFree).
ComPtr<IShellFolder> BindFolder(const std::string& folder);
LPITEMIDLIST ChildId(IShellFolder* folder, const std::string& name);

// Redirects HKEY_CURRENT_USER of this process to a private key, so that the launch items and host
// location the tests write never meet those of other tests; Clear empties it between tests.
class PrivateCurrentUser {
 public:
  PrivateCurrentUser();
  ~PrivateCurrentUser();
  void Clear();

 private:
  std::string m_path;
};

// Writes launch items (name, file types) and the host's "Location" path under HKEY_CURRENT_USER.
void SetLaunchItems(const std::vector<std::pair<std::string, std::vector<std::string>>>& items);
void SetHostPath(const std::string& program);

// One line of the stand-in host's record.
struct HostRecord {
  std::string what;  // "start" or "idle"
  DWORD pid = 0;
  std::string commandLine;
};

// The stand-in host's environment for one test: its record file and the event that ends every instance.
class StandInHosts {
 public:
  StandInHosts();
  ~StandInHosts();  // lets every started instance go and waits for it
  std::vector<HostRecord> Records() const;
  // Waits until at least count "start" lines are recorded (or a few seconds pass).
  std::vector<HostRecord> WaitForStarts(size_t count) const;

 private:
  std::string m_record;
  HANDLE m_quit;
};

// Collects this process's OutputDebugString texts through the system's debug-output buffer.
class DebugListener {
 public:
  DebugListener();
  ~DebugListener();
  bool Ready() const { return m_ready; }
  // The texts received so far, in order.
  std::vector<std::string> Texts();

 private:
  void Listen();
  HANDLE m_buffer = nullptr, m_bufferReady = nullptr, m_dataReady = nullptr;
  const char* m_view = nullptr;
  bool m_ready = false;
  std::atomic<bool> m_stop{false};
  CRITICAL_SECTION m_lock;
  std::vector<std::string> m_texts;
  std::thread m_thread;
};

// Answers every message box this process shows with OK and keeps what each said.
class MessageBoxWatcher {
 public:
  struct Box {
    std::string caption, text;
  };
  MessageBoxWatcher();
  ~MessageBoxWatcher();
  std::vector<Box> Boxes();

 private:
  void Watch();
  std::atomic<bool> m_stop{false};
  CRITICAL_SECTION m_lock;
  std::vector<Box> m_boxes;
  std::thread m_thread;
};

}  // namespace orvtest

namespace orvtest {

// Which of the keys on the way to the registration's entries exist (path and whether it is there).
typedef std::vector<std::pair<std::string, bool>> ShellKeys;
ShellKeys ReadShellKeys();

// The test program's environment, set up once: OrvaneExt registered through OrvaneExtReg for the whole
// run (and unregistered at the end), COM, the private HKEY_CURRENT_USER and the debug-output listener.
DebugListener& Listener();
PrivateCurrentUser& CurrentUser();
const ShellKeys& KeysBeforeInstall();
std::string RegisterCommand(const std::string& arguments);

}  // namespace orvtest
