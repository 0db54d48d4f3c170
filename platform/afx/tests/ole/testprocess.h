// Programs of the OLE tests: paths beside the test, running a program to its end, and making sure no test
// server is left running (test code).
#pragma once
#include <vector>

#include <windows.h>
#include <tlhelp32.h>

#include "afxwin.h"

inline CString BesideTest(LPCSTR name) {
  char path[MAX_PATH];
  GetModuleFileNameA(NULL, path, MAX_PATH);
  *strrchr(path, '\\') = 0;
  return CString(path) + "\\" + name;
}

// Runs a program to its end; its exit code, or -1 when it did not end in time.
inline DWORD RunToEnd(const CString& commandLine) {
  STARTUPINFOA si = {sizeof si};
  PROCESS_INFORMATION pi;
  CString line = commandLine;
  if (!CreateProcessA(NULL, line.GetBuffer(0), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return DWORD(-1);
  DWORD code = DWORD(-1);
  if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

// Server processes of the test program still running after waiting a while for them to end; those are
// ended, so that a failed test leaves nothing behind either.
inline int ServersLeft() {
  for (int waited = 0;; waited += 100) {
    std::vector<DWORD> running;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {sizeof entry};
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
      if (lstrcmpiA(entry.szExeFile, "afx_oleserver.exe") == 0) running.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    if (running.empty()) return 0;
    if (waited < 15000) {
      Sleep(100);
      continue;
    }
    for (DWORD id : running) {
      HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id);
      if (process) TerminateProcess(process, 1);
      if (process) CloseHandle(process);
    }
    return int(running.size());
  }
}

