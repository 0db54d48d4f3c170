// Helpers of the framework's unit tests (test code, not product).
#include "unit_helpers.h"

namespace fwtest {

IMPLEMENT_NXCOMPONENT(cUnitComponent, cNXComponent)

const char* const cUnitComponent::kRegistryKey = "Software\\Nexlumen\\FrameworkUnitTest";

namespace {
const UINT kNoResource = 0;  // the templates here load nothing by number
}

cUnitComponent::cUnitComponent() { m_strRegistryKey = kRegistryKey; }

void cUnitComponent::UseTemplate(LPCSTR documentName, HMENU container, HMENU server) {
  CMultiDocTemplate* t = new CMultiDocTemplate(kNoResource, NULL, NULL, NULL);
  t->m_strDocStrings = CString("\n") + documentName + "\n";
  t->m_hMenuInPlace = container;
  t->m_hMenuInPlaceServer = server;
  m_pDocTemplate = t;
}

BOOL cUnitComponent::LoadResources() {
  ++m_loads;
  return m_loadResult;
}

BOOL cUnitComponent::CreateDocTemplate(CWinApp*) {
  ++m_creates;
  m_resourceWhileCreating = AfxGetResourceHandle();
  if (m_createThrows) AfxThrowResourceException();
  return m_createResult;
}

}  // namespace fwtest
