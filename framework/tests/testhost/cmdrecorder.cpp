// A stand-in for the postcard program: writes its command line to the file named by FWTEST_CMDLINE_FILE
// (test code, not product).
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH];
  if (!GetEnvironmentVariableA("FWTEST_CMDLINE_FILE", path, MAX_PATH)) return 1;
  char temporary[MAX_PATH + 4];
  wsprintfA(temporary, "%s.new", path);
  HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const char* line = GetCommandLineA();
  DWORD written = 0;
  WriteFile(file, line, DWORD(lstrlenA(line)), &written, NULL);
  CloseHandle(file);
  // Whole or not at all: the test polls for the name.
  return MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
