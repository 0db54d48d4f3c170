// The test components' shared code: a document, a view, a child frame and a docked frame on the framework's
// classes, a frame helper with the component's tool bars, status panes and context menu, and the component
// base the two libraries derive their classes from (test code, not product).
#pragma once
#include "comkit/object.h"
#include "framework/NXComponent.h"
#include "framework/NXComponentDoc.h"
#include "framework/NXFrames.h"

namespace fwtest {

class CFwTestDoc : public cNXComponentDoc {
  DECLARE_DYNCREATE(CFwTestDoc)
};

// Shows which component's resources its library has.
class CFwTestView : public cNXComponentView {
  DECLARE_DYNCREATE(CFwTestView)
 public:
  void OnDraw(CDC* dc) override;
  void OnInitialUpdate() override;

 protected:
  // The tool bar buttons' commands: the last one is kept in the component's settings ("Commands"/"Last").
  afx_msg void OnToolButton(UINT id);
  DECLARE_MESSAGE_MAP()
};

class CFwTestChildFrame : public cNXChildWnd {
  DECLARE_DYNCREATE(CFwTestChildFrame)
 public:
  cNXFrameHelper* CreateFrameHelper() override;
};

class CFwTestDockFrame : public cNXDockableFrame {
  DECLARE_DYNCREATE(CFwTestDockFrame)
 public:
  cNXFrameHelper* CreateFrameHelper() override;
};

// What a component's helper makes: its tool bars (ids and button counts), its status panes, its context menu.
struct BarPlan {
  UINT toolBars[2];   // 0: none
  UINT bitmap;        // button images of every tool bar
  const UINT* panes;  // null: the default panes
  int paneCount;
  UINT contextMenu;
};

class cFwTestHelper : public cNXFrameHelper {
 public:
  cFwTestHelper(cNXComponent* component, const BarPlan& plan);
  BOOL AttachDockingFrame(CFrameWnd* frame, LPCSTR name) override;
  void ResetStatus(BOOL activate) override;
  UINT ContextMenuID() override;

 private:
  BarPlan m_plan;
};

// A component whose resource library, template and settings key its subclass names.
class cFwTestComponent : public cNXComponent {
  DECLARE_NXCOMPONENT(cFwTestComponent)
 public:
  BOOL LoadResources() override;
  BOOL CreateDocTemplate(CWinApp* app) override;
  const BarPlan& Plan() const { return m_plan; }

 protected:
  cFwTestComponent() = default;
  // Called by the subclass's constructor.
  void Configure(LPCSTR resourceLibrary, UINT templateId, LPCSTR registryKey, const BarPlan& plan);

 private:
  LPCSTR m_resourceLibrary = NULL;
  UINT m_templateId = 0;
  BarPlan m_plan = {};
};

}  // namespace fwtest

// A test component class of the given resource library, template, settings key and bars, created by class id.
#define FWTEST_COMPONENT(class_name, resourceLibrary, templateId, registryKey, plan)                     \
  class class_name : public comkit::Object<class_name, cFwTestComponent> {                              \
    DECLARE_NXCOMPONENT(class_name)                                                                      \
   public:                                                                                                \
    class_name() { Configure(resourceLibrary, templateId, registryKey, plan); }                          \
  };                                                                                                      \
  IMPLEMENT_NXCOMPONENT(class_name, cFwTestComponent)

// Its subclasses are comkit::Object<Self, cFwTestComponent>, answering for INXComponent.
__CRT_UUID_DECL(fwtest::cFwTestComponent, 0x1F88D681, 0xAF7D, 0x11D2, 0xAC, 0xD0, 0x00, 0xA0, 0x24, 0x8F, 0x3A, 0xF9)
