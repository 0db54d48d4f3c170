// NXMisc's start and end in a process, and the module start it shares with the other extension libraries:
// the resource chain and the resource library are set up by Start, never under the loader lock.
#include "MessageBox.h"
#include "NXMisc.h"
#include "NXMiscIds.h"
#include "comkit/module_files.h"

cModuleStart::cModuleStart(LPCSTR resourceLibrary, LPCSTR missingText)
    : m_library(resourceLibrary), m_missingText(missingText), m_module(), m_resourceModule(), m_resources(NULL) {}

void cModuleStart::Attach(HINSTANCE module) { AfxInitExtensionModule(m_module, module); }

BOOL cModuleStart::Start() {
  bool loadedHere = false;
  std::call_once(m_once, [&] {
    loadedHere = true;
    // The module itself holds resources too (NXMisc its font records), found through the chain.
    new CDynLinkLibrary(m_module);
    m_resources = comkit::LoadSiblingLibrary(m_module.hModule, m_library);
    if (m_resources) {
      AfxInitExtensionModule(m_resourceModule, m_resources);
      new CDynLinkLibrary(m_resourceModule);
    }
  });
  // Shown after the one-time step, so that code run by the box's message loop finds the start complete.
  if (loadedHere && !m_resources) AfxMessageBox(m_missingText, MB_OK | MB_ICONSTOP);
  return m_resources != NULL;
}

HINSTANCE cModuleStart::Resources() {
  Start();
  return m_resources;
}

void cModuleStart::Detach(BOOL processEnding) {
  AfxTermExtensionModule(m_module);
  if (!m_resources) return;
  AfxTermExtensionModule(m_resourceModule);
  // At process end the system unloads it anyway; freeing it then is not allowed.
  if (!processEnding) FreeLibrary(m_resources);
  m_resources = NULL;
}

namespace {
cModuleStart g_misc(NXMISC_RESOURCE_LIBRARY, NXMISC_MISSING_RESOURCES_TEXT);
}  // namespace

BOOL NXMiscStartup() { return g_misc.Start(); }

HINSTANCE NXMiscResourceHandle() { return g_misc.Resources(); }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_misc.Attach(instance);
    cMessageBox::Initialize();
  } else if (reason == DLL_PROCESS_DETACH) {
    cMessageBox::Terminate();
    g_misc.Detach(reserved != NULL);
  }
  return TRUE;
}
