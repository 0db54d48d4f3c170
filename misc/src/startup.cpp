// NXMisc's start and end in a process: extension module, its resource library and the resource chain.
#include "MessageBox.h"
#include "NXMisc.h"
#include "NXMiscIds.h"
#include "comkit/module_files.h"

namespace {
AFX_EXTENSION_MODULE g_miscModule = {};
AFX_EXTENSION_MODULE g_miscResModule = {};
HINSTANCE g_resources = NULL;
}  // namespace

HINSTANCE NXMiscResourceHandle() { return g_resources; }

HINSTANCE LoadMiscResources(HMODULE self) { return comkit::LoadSiblingLibrary(self, NXMISC_RESOURCE_LIBRARY); }

void ReportMissingMiscResources() { AfxMessageBox(NXMISC_MISSING_RESOURCES_TEXT, MB_OK | MB_ICONSTOP); }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    if (!AfxInitExtensionModule(g_miscModule, instance)) return FALSE;
    cMessageBox::Initialize();
    g_resources = LoadMiscResources(instance);
    if (!g_resources) ReportMissingMiscResources();
    // NXMisc itself holds the font records; its texts are in the resource library.
    new CDynLinkLibrary(g_miscModule);
    if (g_resources) {
      AfxInitExtensionModule(g_miscResModule, g_resources);
      new CDynLinkLibrary(g_miscResModule);
    }
  } else if (reason == DLL_PROCESS_DETACH) {
    cMessageBox::Terminate();
    AfxTermExtensionModule(g_miscModule);
    if (g_resources) {
      AfxTermExtensionModule(g_miscResModule);
      // At process end the system unloads it anyway; freeing it then is not allowed.
      if (!reserved) FreeLibrary(g_resources);
      g_resources = NULL;
    }
  }
  return TRUE;
}
