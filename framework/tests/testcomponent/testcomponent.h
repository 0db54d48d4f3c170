// The test components' shared code: a document, a view, a child frame that shows the component's merged menu,
// and the component base the two libraries derive their classes from (test code, not product).
#pragma once
#include "comkit/object.h"
#include "framework/NXComponent.h"

namespace fwtest {

class CFwTestDoc : public CDocument {
  DECLARE_DYNCREATE(CFwTestDoc)
};

// Shows which component's resources its library has.
class CFwTestView : public CView {
  DECLARE_DYNCREATE(CFwTestView)
 public:
  void OnDraw(CDC* dc) override;
};

class cFwTestComponent;

// While active, the host frame shows its component's merged menu, made when first needed.
class CFwTestChildFrame : public CMDIChildWnd {
  DECLARE_DYNCREATE(CFwTestChildFrame)
 public:
  void OnUpdateFrameMenu(BOOL activate, CWnd* activateWnd, HMENU menuAlt) override;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) override;
  cFwTestComponent* m_component = NULL;
};

// A component whose resource library, template and settings key its subclass names.
class cFwTestComponent : public cNXComponent {
  DECLARE_NXCOMPONENT(cFwTestComponent)
 public:
  ~cFwTestComponent() override;
  BOOL STDMETHODCALLTYPE Initialize() override;
  BOOL LoadResources() override;
  BOOL CreateDocTemplate(CWinApp* app) override;
  // The live component of this library that made docTemplate, or null.
  static cFwTestComponent* Owning(CDocTemplate* docTemplate);

 protected:
  cFwTestComponent() = default;
  // Called by the subclass's constructor.
  void Configure(LPCSTR resourceLibrary, UINT templateId, LPCSTR registryKey);

 private:
  LPCSTR m_resourceLibrary = NULL;
  UINT m_templateId = 0;
};

}  // namespace fwtest

// A test component class of the given resource library, template and settings key, created by class id.
#define FWTEST_COMPONENT(class_name, resourceLibrary, templateId, registryKey)                          \
  class class_name : public comkit::Object<class_name, cFwTestComponent> {                              \
    DECLARE_NXCOMPONENT(class_name)                                                                      \
   public:                                                                                                \
    class_name() { Configure(resourceLibrary, templateId, registryKey); }                                \
  };                                                                                                      \
  IMPLEMENT_NXCOMPONENT(class_name, cFwTestComponent)

// Its subclasses are comkit::Object<Self, cFwTestComponent>, answering for INXComponent.
__CRT_UUID_DECL(fwtest::cFwTestComponent, 0x1F88D681, 0xAF7D, 0x11D2, 0xAC, 0xD0, 0x00, 0xA0, 0x24, 0x8F, 0x3A, 0xF9)
