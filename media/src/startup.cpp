// NXMedia's start and end in a process: DllMain only records the module; NXMediaStartup (or the first use of
// the resource handle) puts it into the resource chain and loads NXMediaRes.dll (cModuleStart, NXMisc).
#include <media/NXMedia.h>
#include <media/NXMediaIds.h>

namespace {
cModuleStart g_media(NXMEDIA_RESOURCE_LIBRARY, NXMEDIA_MISSING_RESOURCES_TEXT);
}  // namespace

BOOL NXMediaStartup() {
  NXMiscStartup();
  return g_media.Start();
}

HINSTANCE NXMediaResourceHandle() { return g_media.Resources(); }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH)
    g_media.Attach(instance);
  else if (reason == DLL_PROCESS_DETACH)
    g_media.Detach(reserved != NULL);
  return TRUE;
}
