// imagio.dll's entry point: the library lock lives as long as the library is loaded.
#include <windows.h>
#include "library.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) imagio::CreateLibraryLock();
  if (reason == DLL_PROCESS_DETACH) imagio::DeleteLibraryLock();
  return TRUE;
}
