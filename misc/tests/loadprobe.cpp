// Helper program for the tests: loads the NXMisc.dll named on its command line and reports by exit code.
#include <windows.h>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HMODULE misc = LoadLibraryA(argv[1]);
  return misc ? 0 : 1;
}
