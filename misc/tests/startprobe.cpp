// The start-up check shared by the NXMisc and NXMedia tests (see startprobe.h).
#include "startprobe.h"

#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace startprobe {

namespace {

const char kProbe[] = "nxmisc_loadprobe.exe";
const int kPollMs = 50;
const int kPolls = 300;
const DWORD kNotStarted = 99;

// Copies the text of a visible dialog box into out (256 characters) and closes the box.
BOOL CALLBACK FindBoxText(HWND window, LPARAM out) {
  char cls[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  HWND child = NULL;
  while ((child = FindWindowExA(window, child, "Static", NULL)) != NULL) {
    char text[256] = {};
    GetWindowTextA(child, text, sizeof text);
    if (text[0]) {
      lstrcpynA(reinterpret_cast<char*>(out), text, 256);
      PostMessageA(window, WM_COMMAND, IDOK, 0);
      return FALSE;
    }
  }
  return TRUE;
}

// Runs the probe on folder's copy of library; returns its exit code, box the text of any box it showed.
DWORD Run(const std::string& folder, const char* library, const char* startup, std::string* box) {
  std::string line = "\"" + folder + kProbe + "\" \"" + folder + library + "\"";
  if (startup) line += std::string(" ") + startup;
  STARTUPINFOA si = {sizeof si};
  PROCESS_INFORMATION pi;
  if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &si, &pi)) return kNotStarted;
  char text[256] = {};
  DWORD code = STILL_ACTIVE;
  for (int i = 0; i < kPolls && code == STILL_ACTIVE; ++i) {
    if (WaitForSingleObject(pi.hProcess, kPollMs) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    if (!text[0]) EnumWindows(FindBoxText, reinterpret_cast<LPARAM>(text));
  }
  if (code == STILL_ACTIVE) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  *box = text;
  return code;
}

}  // namespace

void ExpectStartsOutsideTheLoaderLock(const char* library, const char* startup, const char* missingText) {
  char exe[MAX_PATH], temp[MAX_PATH];
  GetModuleFileNameA(NULL, exe, MAX_PATH);
  std::string bin(exe);
  bin = bin.substr(0, bin.rfind('\\') + 1);
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "start_" + library + "\\";
  CreateDirectoryA(folder.c_str(), NULL);
  // Everything the library may link, with the probe.
  std::vector<std::string> copied = {kProbe};
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((bin + "*.dll").c_str(), &found);
  ASSERT_NE(INVALID_HANDLE_VALUE, search);
  do copied.push_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  for (const std::string& name : copied)
    ASSERT_TRUE(CopyFileA((bin + name).c_str(), (folder + name).c_str(), FALSE)) << name;

  const std::string name(library);
  const std::string resources = folder + name.substr(0, name.rfind('.')) + "Res.dll";
  // Probe exit codes (loadprobe.cpp): 0 done, 5 the start-up call found no resource library.
  struct Case {
    bool withResources;
    const char* startup;
    DWORD exitCode;
    const char* box;
  } cases[] = {{true, NULL, 0, ""}, {true, startup, 0, ""}, {false, NULL, 0, ""}, {false, startup, 5, missingText}};
  for (const Case& c : cases) {
    if (!c.withResources) DeleteFileA(resources.c_str());
    std::string box;
    const std::string what = name + (c.withResources ? " with " : " without ") + "resources, " +
                             (c.startup ? c.startup : "loaded only");
    EXPECT_EQ(c.exitCode, Run(folder, library, c.startup, &box)) << what;
    EXPECT_EQ(c.box, box) << what;
  }
  for (const std::string& copy : copied) DeleteFileA((folder + copy).c_str());
  RemoveDirectoryA(folder.c_str());
}

}  // namespace startprobe
