// A program standing in for the host when the tests invoke the extension's command: it records how it
// was started, becomes idle after a short start-up and stays until the test lets it go.
//
// ORV_STANDIN_RECORD names the file it appends to ("start", then "idle", each with its process id and
// command line); ORV_STANDIN_QUIT names the event that ends it. Built twice: as a windowed program that
// runs a message loop (so the starter's WaitForInputIdle returns), and as a console program that never
// reads messages.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const DWORD kStartupMs = 300;         // long enough that a starter that does not wait overtakes it
const DWORD kLongestLifeMs = 30000;   // ends by itself when a test never sets the event
const char kRecordVariable[] = "ORV_STANDIN_RECORD";
const char kQuitVariable[] = "ORV_STANDIN_QUIT";

std::string Variable(const char* name) {
  char value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(value, length) : std::string();
}

void Record(const char* what) {
  const std::string path = Variable(kRecordVariable);
  if (path.empty()) return;
  char line[2 * MAX_PATH + 64];
  const int length = std::snprintf(line, sizeof line, "%s\t%lu\t%s\n", what, GetCurrentProcessId(), GetCommandLineA());
  if (length <= 0) return;
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line, DWORD(length < int(sizeof line) ? length : int(sizeof line) - 1), &written, nullptr);
  CloseHandle(file);
}

int Run(bool readsMessages) {
  Record("start");
  HANDLE quit = OpenEventA(SYNCHRONIZE, FALSE, Variable(kQuitVariable).c_str());
  if (!readsMessages) {
    if (quit) WaitForSingleObject(quit, kLongestLifeMs);
    return 0;
  }
  Sleep(kStartupMs);
  Record("idle");
  const DWORD end = GetTickCount() + kLongestLifeMs;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return 0;
      DispatchMessageA(&msg);
    }
    const DWORD now = GetTickCount();
    if (int(end - now) <= 0) return 0;
    const DWORD woken = quit ? MsgWaitForMultipleObjects(1, &quit, FALSE, end - now, QS_ALLINPUT)
                             : MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    if (quit && woken == WAIT_OBJECT_0) return 0;
  }
}

}  // namespace

#ifdef ORV_STANDIN_CONSOLE
int main() { return Run(false); }
#else
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return Run(true); }
#endif
