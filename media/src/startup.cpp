// NXMedia's start and end in a process: extension module, its resource library and the resource chain.
#include <media/NXMedia.h>
#include <media/NXMediaIds.h>
#include "comkit/module_files.h"

namespace {
AFX_EXTENSION_MODULE g_mediaModule = {};
AFX_EXTENSION_MODULE g_mediaResModule = {};
HINSTANCE g_resources = NULL;
}  // namespace

HINSTANCE NXMediaResourceHandle() { return g_resources; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    if (!AfxInitExtensionModule(g_mediaModule, instance)) return FALSE;
    g_resources = comkit::LoadSiblingLibrary(instance, NXMEDIA_RESOURCE_LIBRARY);
    if (!g_resources) AfxMessageBox(NXMEDIA_MISSING_RESOURCES_TEXT, MB_OK | MB_ICONSTOP);
    new CDynLinkLibrary(g_mediaModule);
    if (g_resources) {
      AfxInitExtensionModule(g_mediaResModule, g_resources);
      new CDynLinkLibrary(g_mediaResModule);
    }
  } else if (reason == DLL_PROCESS_DETACH) {
    AfxTermExtensionModule(g_mediaModule);
    if (g_resources) {
      AfxTermExtensionModule(g_mediaResModule);
      // At process end the system unloads it anyway; freeing it then is not allowed.
      if (!reserved) FreeLibrary(g_resources);
      g_resources = NULL;
    }
  }
  return TRUE;
}
