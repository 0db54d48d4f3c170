// The workspace across a restart: the workspace program opens three documents of two templates and a
// floating docked view and closes (saving "Current"), then runs again and opens "Current"; the windows, their
// places, the active child, the floating view's rectangle and the workbook mode come back, and a window whose
// template is gone is skipped while the others load (test code, not product).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

const DWORD kProgramTimeoutMs = 60000;

std::string Folder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "sec_workspace_tests";
  CreateDirectoryA(folder.c_str(), NULL);
  return folder;
}

std::string Program() {
  char path[MAX_PATH];
  GetModuleFileNameA(NULL, path, MAX_PATH);
  std::string program(path);
  return program.substr(0, program.find_last_of('\\') + 1) + "secdemo.exe";
}

// Runs the workspace program with args; its exit code, or -1 when it did not start or end in time.
int RunProgram(const std::string& args) {
  std::string command = "\"" + Program() + "\" " + args;
  STARTUPINFOA startup = {sizeof startup};
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) return -1;
  DWORD waited = WaitForSingleObject(process.hProcess, kProgramTimeoutMs);
  DWORD code = DWORD(-1);
  if (waited == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  else TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return waited == WAIT_OBJECT_0 ? int(code) : -1;
}

struct Report {
  std::string workbook, tabs;
  std::vector<std::string> children, docked;
};

Report Read(const std::string& path) {
  Report report;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::string key = line.substr(0, line.find('=')), value = line.substr(line.find('=') + 1);
    if (key == "workbook") report.workbook = value;
    if (key == "tabs") report.tabs = value;
    if (key == "child") report.children.push_back(value);
    if (key == "docked") report.docked.push_back(value);
  }
  std::sort(report.children.begin(), report.children.end());
  return report;
}

void WriteFile(const std::string& path, const char* text) {
  FILE* file = fopen(path.c_str(), "wb");
  ASSERT_NE(nullptr, file) << path;
  fputs(text, file);
  fclose(file);
}

TEST(SecWorkspace, RestartOpensTheSavedWindowsAndSkipsThoseWithoutTemplate) {
  std::string folder = Folder();
  for (const char* name : {"one.txt", "two.txt", "three.skt", "four.txt"}) WriteFile(folder + "\\" + name, name);
  std::string saved = folder + "\\saved.txt", loaded = folder + "\\loaded.txt", partial = folder + "\\partial.txt";
  DeleteFileA(saved.c_str());
  DeleteFileA(loaded.c_str());
  DeleteFileA(partial.c_str());

  ASSERT_EQ(0, RunProgram("save \"" + folder + "\" \"" + saved + "\""));
  Report before = Read(saved);
  ASSERT_EQ(3u, before.children.size());
  ASSERT_EQ(1u, before.docked.size());
  EXPECT_EQ("1", before.workbook);
  EXPECT_EQ("3", before.tabs);
  EXPECT_EQ(0u, before.docked[0].find("four.txt|floating=1|640,260,880,520"));

  // A new process: the same documents of the same templates in the same places, the same child active, the
  // docked view floating at its rectangle, and the workbook mode from the settings.
  ASSERT_EQ(0, RunProgram("load \"" + loaded + "\""));
  Report after = Read(loaded);
  EXPECT_EQ(before.children, after.children);
  EXPECT_EQ(before.docked, after.docked);
  EXPECT_EQ("1", after.workbook);
  EXPECT_EQ("3", after.tabs);
  int active = 0;
  for (const std::string& child : after.children) active += child.find("two.txt|Note|") == 0 && child.find("active=1") != std::string::npos;
  EXPECT_EQ(1, active);

  // Without the sketch template its window is skipped; the others still come back.
  ASSERT_EQ(0, RunProgram("load \"" + partial + "\" nosketch"));
  Report without = Read(partial);
  std::vector<std::string> expected;
  for (const std::string& child : before.children)
    if (child.find("three.skt") != 0) expected.push_back(child);
  EXPECT_EQ(expected, without.children);
  EXPECT_EQ(before.docked, without.docked);
  EXPECT_EQ("2", without.tabs);
}

}  // namespace
