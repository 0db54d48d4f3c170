// Helper program for the tests: loads the extension library named on its command line and, when a start-up
// export is named, calls it. Reports by exit code: 0 done (a start-up call found its resource library),
// 1 the library did not load, 2 usage, 3 loading alone loaded the resource library (<name>Res.dll),
// 4 no such export, 5 the start-up call reported its resource library missing.
#include <windows.h>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string path = argv[1];
  const size_t slash = path.find_last_of("\\/"), dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return 2;
  const std::string resourceLibrary = path.substr(slash + 1, dot - slash - 1) + "Res.dll";
  HMODULE library = LoadLibraryA(path.c_str());
  if (!library) return 1;
  if (GetModuleHandleA(resourceLibrary.c_str())) return 3;
  if (argc < 3) return 0;
  typedef BOOL (*Startup)();
  Startup start = reinterpret_cast<Startup>(GetProcAddress(library, argv[2]));
  if (!start) return 4;
  return start() ? 0 : 5;
}
