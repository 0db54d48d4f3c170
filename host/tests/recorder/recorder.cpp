// host_recorder.exe: a program the host tests use as a launch item's program; it appends its command line as
// one line to the file named by ORV_HOST_RECORD and ends (test code, not product).
#include <windows.h>

#include <cstdio>

int main() {
  char path[MAX_PATH];
  if (!GetEnvironmentVariableA("ORV_HOST_RECORD", path, MAX_PATH)) return 2;
  FILE* out = fopen(path, "a");
  if (!out) return 3;
  fprintf(out, "%s\n", GetCommandLineA());
  return fclose(out) == 0 ? 0 : 4;
}
