// Helpers of the framework's unit tests: a component made in the test program itself (test code, not product).
#pragma once
#include "comkit/object.h"
#include "framework/NXComponent.h"
#include "test_menus.h"

namespace fwtest {

// A component of the test program: no library of its own, no COM creation; tests reach its fields.
class cUnitComponent : public comkit::Object<cUnitComponent, cNXComponent> {
  DECLARE_NXCOMPONENT(cUnitComponent)
 public:
  static const char* const kRegistryKey;
  cUnitComponent();
  // A template with the given document name whose container and server menus are these (it takes them).
  void UseTemplate(LPCSTR documentName, HMENU container, HMENU server);
  CDocTemplate* Template() { return m_pDocTemplate; }
  HMENU HelpPopup() const { return m_hHelpPopup; }
  const LONG* Widths() const { return m_menuWidths; }
  CDynLinkLibrary* Library() const { return m_pLibrary; }

  // What Initialize's steps did, and what they answer.
  BOOL m_loadResult = TRUE;
  BOOL m_createResult = TRUE;
  BOOL m_createThrows = FALSE;  // a resource exception, as a template whose menu is missing gives
  int m_loads = 0;
  int m_creates = 0;
  HINSTANCE m_resourceWhileCreating = NULL;
  BOOL LoadResources() override;
  BOOL CreateDocTemplate(CWinApp* app) override;
};

}  // namespace fwtest
