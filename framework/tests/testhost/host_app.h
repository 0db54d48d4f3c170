// The test host: an application with an MDI main frame that creates components by class id and opens their
// documents the way the host program does (test code, not product).
//
// The main frame is a workbook of the framework extension library with the framework's status bar, as the
// host program's. HostedComponent is what the host's component wrapper and component launch items do with a
// component.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "afxole.h"
#include "framework/NXComponent.h"
#include "framework/NXFrames.h"

namespace fwtest {

class CHostMainFrame : public SECWorkbook {
  DECLARE_DYNCREATE(CHostMainFrame)
 public:
  cNXStatusBar m_wndStatusBar;
  std::vector<UINT> m_paneCommands;  // the status bar buttons' commands received

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnPaneButton(UINT id);
  DECLARE_MESSAGE_MAP()
};

// Message boxes are recorded, not shown.
class CHostApp : public CWinApp {
 public:
  CHostApp() : CWinApp("Framework Test Host") {}
  // The host's settings key (bar states, "Settings"): HKCU\Software\Nexlumen\Framework Test Host.
  void UseSettingsKey() { SetRegistryKey("Nexlumen"); }
  std::vector<std::string> m_boxes;
  int DoMessageBox(LPCSTR prompt, UINT, UINT) override {
    m_boxes.push_back(prompt);
    return IDOK;
  }
};

extern CHostApp theHostApp;

// One component held through INXComponent: created in process by class id, initialised, its template given
// the host's container menu; released when the object goes (other holders keep it with AddRef).
class HostedComponent {
 public:
  explicit HostedComponent(REFCLSID clsid);
  ~HostedComponent();
  HostedComponent(const HostedComponent&) = delete;
  HostedComponent& operator=(const HostedComponent&) = delete;

  HRESULT Created() const { return m_created; }
  INXComponent* operator->() const { return m_component; }
  INXComponent* Get() const { return m_component; }
  // Initialize, then the template with the host's container menu; false when the component is unusable.
  BOOL Load();
  // A new document through the component's template, its resources made current first, as before every opening.
  CDocument* Open();
  // The component behind the interface, for what the framework's own classes call.
  cNXComponent* Component() const;

 private:
  INXComponent* m_component;
  HRESULT m_created;
};

// Dispatches what is queued, then the application's idle work.
void PumpHost();
// The frame of the document's first view.
CFrameWnd* FrameOf(CDocument* doc);
// The system's temporary folder, ending in a backslash.
CString TempFolder();
// A small file of these bytes at path (replacing one there); false when it can't be written.
bool WriteBytes(const CString& path, const char* bytes, DWORD count);
// With ORV_UI_HOLD_SECONDS set: the main frame's menu opened at the popup of mnemonic, as the keyboard opens
// it, for that long (for a screenshot), and true; nothing otherwise.
bool HoldMenuOpen(char mnemonic);
int TemplateCount();
// The resource chain's record of module (null when it has none).
CDynLinkLibrary* RecordOf(HMODULE module);
CDynLinkLibrary* ChainHead();

class HostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void TearDown() override;  // closes the documents a test left open
  static CHostMainFrame* s_frame;
};

}  // namespace fwtest
