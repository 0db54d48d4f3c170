// cNXComponent in the test program: the steps of Initialize and where they stop, the resource chain, the
// settings under HKEY_CURRENT_USER, copies, the run-time record.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/NXComponentServer.h"
#include "unit_helpers.h"

using fwtest::BuildMenu;
using fwtest::cUnitComponent;

namespace {

// The test program in the resource chain as a component library would be, behind another library.
class ChainedProgram {
 public:
  ChainedProgram()
      : m_self(new CDynLinkLibrary(GetModuleHandleA(NULL), GetModuleHandleA(NULL))),
        m_other(new CDynLinkLibrary(GetModuleHandleA("kernel32.dll"), GetModuleHandleA("kernel32.dll"))) {}
  ~ChainedProgram() {
    delete m_other;
    delete m_self;
  }
  CDynLinkLibrary* Self() const { return m_self; }
  CDynLinkLibrary* Other() const { return m_other; }

 private:
  CDynLinkLibrary* m_self;
  CDynLinkLibrary* m_other;
};

CDynLinkLibrary* Head() {
  AfxLockGlobals(CRIT_DYNLINKLIST);
  CDynLinkLibrary* head = AfxGetFirstDynLinkLibrary();
  AfxUnlockGlobals(CRIT_DYNLINKLIST);
  return head;
}

TEST(ComponentTest, InitializeStopsWhereTheLibraryIsNotInTheChain) {
  cUnitComponent* component = new cUnitComponent;
  EXPECT_FALSE(component->Initialize());
  EXPECT_EQ(nullptr, component->Library());
  EXPECT_EQ(0, component->m_loads);
  EXPECT_EQ(0, component->m_creates);
  component->Release();
}

TEST(ComponentTest, InitializeStopsAtResourcesOrTemplateThatFailAndOtherwiseMakesTheResourcesWin) {
  ChainedProgram chain;
  HINSTANCE hostResources = GetModuleHandleA("orvafx.dll");
  AfxSetResourceHandle(hostResources);
  struct Case {
    BOOL load, create, createThrows;
    BOOL result;
    int creates;
  } cases[] = {
      {FALSE, TRUE, FALSE, FALSE, 0},
      {TRUE, FALSE, FALSE, FALSE, 1},
      {TRUE, TRUE, TRUE, FALSE, 1},
      {TRUE, TRUE, FALSE, TRUE, 1},
  };
  for (const Case& c : cases) {
    cUnitComponent* component = new cUnitComponent;
    component->m_loadResult = c.load;
    component->m_createResult = c.create;
    component->m_createThrows = c.createThrows;
    ASSERT_EQ(chain.Other(), Head());
    EXPECT_EQ(c.result, component->Initialize());
    EXPECT_EQ(chain.Self(), component->Library());
    EXPECT_EQ(1, component->m_loads);
    EXPECT_EQ(c.creates, component->m_creates);
    if (c.creates) {
      EXPECT_EQ(component->GetResourceInstance(), component->m_resourceWhileCreating);
    }
    EXPECT_EQ(hostResources, AfxGetResourceHandle());
    // Only a component that made its template moves its record to the head of the chain.
    EXPECT_EQ(c.result ? chain.Self() : chain.Other(), Head());
    component->Release();
    AfxMoveDynLinkLibraryToHead(chain.Other());
  }
  AfxSetResourceHandle(NULL);
}

TEST(ComponentTest, ActivateResourcesMovesTheRecordToTheHeadAndKeepsTheRest) {
  ChainedProgram chain;
  cUnitComponent* component = new cUnitComponent;
  ASSERT_TRUE(component->Initialize());
  AfxMoveDynLinkLibraryToHead(chain.Other());
  component->ActivateResources();
  EXPECT_EQ(chain.Self(), Head());
  EXPECT_EQ(chain.Other(), chain.Self()->m_pNextDLL);
  component->ActivateResources();
  EXPECT_EQ(chain.Self(), Head());
  component->Release();
}

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override { m_component = new cUnitComponent; }
  void TearDown() override { m_component->Release(); }
  cUnitComponent* m_component;
};

TEST_F(ProfileTest, AMissingSectionGivesTheDefaultAndWritingCreatesIt) {
  EXPECT_EQ(CString(cUnitComponent::kRegistryKey), m_component->GetRegistryKey());
  EXPECT_EQ(42, m_component->GetProfileInt("Missing Section", "Count", 42));
  EXPECT_STREQ("fallback", m_component->GetProfileString("Missing Section", "Name", "fallback"));

  ASSERT_TRUE(m_component->WriteProfileInt("New Section", "Count", -7));
  EXPECT_EQ(-7, m_component->GetProfileInt("New Section", "Count", 42));
  EXPECT_EQ(42, m_component->GetProfileInt("New Section", "Other", 42));
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, CString(cUnitComponent::kRegistryKey) + "\\New Section",
                                         0, KEY_READ, &key));
  DWORD type = 0, value = 0, size = sizeof value;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Count", NULL, &type, reinterpret_cast<BYTE*>(&value), &size));
  EXPECT_EQ(DWORD(REG_DWORD), type);
  RegCloseKey(key);

  ASSERT_TRUE(m_component->WriteProfileString("New Section", "Name", "slides"));
  EXPECT_STREQ("slides", m_component->GetProfileString("New Section", "Name", "fallback"));
  ASSERT_TRUE(m_component->WriteProfileString("New Section", "Empty", ""));
  EXPECT_STREQ("", m_component->GetProfileString("New Section", "Empty", "fallback"));
}

TEST_F(ProfileTest, AValueOfAnotherKindGivesTheDefault) {
  ASSERT_TRUE(m_component->WriteProfileString("Kinds", "Text", "12"));
  ASSERT_TRUE(m_component->WriteProfileInt("Kinds", "Number", 12));
  EXPECT_EQ(5, m_component->GetProfileInt("Kinds", "Text", 5));
  EXPECT_STREQ("none", m_component->GetProfileString("Kinds", "Number", "none"));
  // Text stored without its terminator reads as the text.
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, CString(cUnitComponent::kRegistryKey) + "\\Kinds", 0,
                                         KEY_WRITE, &key));
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3));
  RegCloseKey(key);
  EXPECT_STREQ("abc", m_component->GetProfileString("Kinds", "Bare", "none"));
}

// A component object outside COM, so that it can be copied.
class cPlainComponent : public cNXComponent {
 public:
  STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
    *ppv = NULL;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  void Set(CDocTemplate* docTemplate, LPCSTR registryKey) {
    m_pDocTemplate = docTemplate;
    m_strRegistryKey = registryKey;
  }
};

TEST(ComponentCopyTest, ACopyTakesTheSettingsButNotTheMenusItOwns) {
  CMultiDocTemplate* t = new CMultiDocTemplate(0, NULL, NULL, NULL);
  t->m_hMenuInPlace = BuildMenu({"&File>&New", "-", "&View>&Toolbar|-|-|&Options", "-", "&Window>&Tile"}, 1000);
  t->m_hMenuInPlaceServer = BuildMenu({"&Edit>&Undo", "-", "&View>&Thumbnails"}, 2000);
  {
    cPlainComponent original;
    original.Set(t, "Software\\Nexlumen\\FrameworkUnitTest");
    ASSERT_TRUE(original.BuildMergedMenu());
    HMENU merged = original.GetMergedMenu();
    {
      cPlainComponent copy(original);
      cPlainComponent assigned;
      assigned = original;
      for (cPlainComponent* c : {&copy, &assigned}) {
        EXPECT_EQ(t, c->GetDocTemplate());
        EXPECT_EQ(original.GetModulePath(), c->GetModulePath());
        EXPECT_EQ(original.GetRegistryKey(), c->GetRegistryKey());
        EXPECT_EQ(nullptr, c->GetMergedMenu());
      }
      ASSERT_TRUE(copy.BuildMergedMenu());
      EXPECT_NE(merged, copy.GetMergedMenu());
    }
    // The copies took their own menus with them and left the original's alone.
    EXPECT_TRUE(IsMenu(merged));
    EXPECT_EQ(4, GetMenuItemCount(merged));
    std::vector<std::string> view = fwtest::Names(GetSubMenu(merged, 2));
    EXPECT_EQ(1, std::count(view.begin(), view.end(), "&Thumbnails"));
  }
  EXPECT_EQ((std::vector<std::string>{"&Toolbar", "-", "-", "&Options"}),
            fwtest::Names(GetSubMenu(t->m_hMenuInPlace, 2)));
  delete t;
}

TEST(ComponentTest, TheModulePathIsTheLibrarysAndEachClassHasItsRunTimeRecord) {
  cUnitComponent* component = new cUnitComponent;
  char path[MAX_PATH];
  GetModuleFileNameA(NULL, path, MAX_PATH);
  EXPECT_STREQ(path, component->GetModulePath());
  CRuntimeClass* record = component->GetRuntimeClass();
  EXPECT_STREQ("cUnitComponent", record->m_lpszClassName);
  EXPECT_EQ(int(sizeof(cUnitComponent)), record->m_nObjectSize);
  EXPECT_TRUE(record->IsDerivedFrom(RUNTIME_CLASS(cNXComponent)));
  EXPECT_STREQ("cNXComponent", RUNTIME_CLASS(cNXComponent)->m_lpszClassName);
  EXPECT_EQ(nullptr, record->CreateObject());
  EXPECT_EQ(nullptr, component->GetFrameHelper());
  component->Release();
}

}  // namespace
