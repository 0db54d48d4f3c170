// The component contract driven by a host: two test components created by class id, their templates, merged
// menus shown by the host frame, their resources in the host's chain, the ways Initialize fails, the class
// objects and the registration in the "NXComponents" category.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include "comkit/category.h"
#include "comkit/module_files.h"
#include "fwtest_classes.h"
#include "fwtest_ids.h"
#include "host_app.h"
#include "host_ids.h"
#include "test_menus.h"
#include "testui.h"

namespace fwtest {
namespace {

typedef std::vector<std::string> Texts;

CString ProgramFolder() { return comkit::ModuleDirectory(GetModuleHandleA(NULL)).c_str(); }

CString LoadChainString(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}

std::string ReadClassesValue(const std::string& key, const char* name) {
  char value[MAX_PATH] = "";
  LONG size = sizeof value;
  HKEY hkey;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &hkey) != ERROR_SUCCESS) return "(no key)";
  DWORD type = 0, bytes = DWORD(size);
  LONG rc = RegQueryValueExA(hkey, name, NULL, &type, reinterpret_cast<BYTE*>(value), &bytes);
  RegCloseKey(hkey);
  return rc == ERROR_SUCCESS ? value : "(no value)";
}

bool ClassesKeyExists(const std::string& key) {
  HKEY hkey;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &hkey) != ERROR_SUCCESS) return false;
  RegCloseKey(hkey);
  return true;
}

std::string GuidText(REFGUID guid) {
  wchar_t wide[40];
  StringFromGUID2(guid, wide, 40);
  char text[40];
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, NULL, NULL);
  return text;
}

bool InCategory(REFCLSID clsid) {
  std::vector<CLSID> classes;
  comkit::EnumClassesInCategory(CATID_NXComponents, classes);
  return std::find(classes.begin(), classes.end(), clsid) != classes.end();
}

typedef HRESULT(WINAPI* GetClassObjectFunc)(REFCLSID, REFIID, void**);
typedef HRESULT(WINAPI* ServerFunc)();

TEST_F(HostTest, AComponentIsCreatedByClassIdAndOpensDocumentsInTheHostWithItsMergedMenu) {
  HostedComponent a(CLSID_FwTestA);
  ASSERT_EQ(S_OK, a.Created());
  const int templatesBefore = TemplateCount();
  ASSERT_TRUE(a.Load());
  EXPECT_EQ(templatesBefore + 1, TemplateCount());
  CDocTemplate* docTemplate = a->GetDocTemplate();
  ASSERT_NE(nullptr, docTemplate);
  ASSERT_NE(nullptr, docTemplate->m_hMenuInPlace);
  const std::string hostMenuBefore = Snapshot(docTemplate->m_hMenuInPlace);
  const std::string hostItemsBefore = Snapshot(docTemplate->m_hMenuInPlace, false);

  // The library, its resource library and its record at the head of the host's chain.
  EXPECT_EQ(0, a->GetModulePath().CompareNoCase(ProgramFolder() + kFwTestALibrary));
  HMODULE library = GetModuleHandleA(kFwTestALibrary), resources = GetModuleHandleA(kFwTestAResources);
  ASSERT_NE(nullptr, resources);
  EXPECT_EQ(resources, a->GetResourceInstance());
  CDynLinkLibrary* record = RecordOf(library);
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(resources, record->m_hResource);
  EXPECT_EQ(record, ChainHead());

  // Several launch items share the instance.
  EXPECT_EQ(2u, a->AddRef());
  EXPECT_EQ(1u, a->Release());

  CDocument* doc = a.Open();
  ASSERT_NE(nullptr, doc);
  HMENU shown = ::GetMenu(s_frame->m_hWnd);
  EXPECT_EQ(a.Component()->GetMergedMenu(), shown);
  EXPECT_EQ((Texts{"&File", "&Edit", "&View", "&Tools", "&Go!", "&Window", "&Help"}), Names(shown));
  EXPECT_EQ((Texts{"&Launch Bar", "&Status Bar", "-", "&Thumbnails", "-", "&Details", "-", "&Toolbar"}),
            Names(GetSubMenu(shown, 2)));
  EXPECT_EQ((Texts{"&Help Topics", "&About", "FwTestA Help"}), Names(GetSubMenu(shown, 6)));
  // Opened by the user, the menus' items get their states from the command handlers.
  const bool opened = HoldMenuOpen('v') | HoldMenuOpen('h');

  doc->OnCloseDocument();
  PumpHost();
  EXPECT_EQ(s_frame->m_hMenuDefault, ::GetMenu(s_frame->m_hWnd));
  // The merged menu goes with the component; the host's container menu is exactly as it was.
  EXPECT_NE(nullptr, a.Component()->GetMergedMenu());
  EXPECT_TRUE(a.Component()->DestroyMergedMenu());
  EXPECT_EQ(opened ? hostItemsBefore : hostMenuBefore, Snapshot(docTemplate->m_hMenuInPlace, !opened));

  int last = -1;
  CMenu* mainMenu = a.Component()->GetMainMenu(&last);
  ASSERT_NE(nullptr, mainMenu);
  EXPECT_EQ(s_frame->m_hMenuDefault, mainMenu->m_hMenu);
  EXPECT_EQ(3, last);
}

TEST_F(HostTest, TwoComponentsEachShowTheirMenuAndTheirResourcesWinWhenActivated) {
  HostedComponent a(CLSID_FwTestA), b(CLSID_FwTestB);
  ASSERT_TRUE(a.Load());
  ASSERT_TRUE(b.Load());
  const std::string hostMenuA = Snapshot(a->GetDocTemplate()->m_hMenuInPlace);
  const std::string hostMenuB = Snapshot(b->GetDocTemplate()->m_hMenuInPlace);
  CDocument* docA = a.Open();
  CDocument* docB = b.Open();
  ASSERT_NE(nullptr, docA);
  ASSERT_NE(nullptr, docB);
  s_frame->MDITile();

  struct Step {
    HostedComponent* component;
    CDocument* doc;
    const char* who;
    Texts help;
  } steps[] = {
      {&b, docB, "Component B's resources", {"&Help Topics", "&About", "Component Help"}},
      {&a, docA, "Component A's resources", {"&Help Topics", "&About", "FwTestA Help"}},
      {&b, docB, "Component B's resources", {"&Help Topics", "&About", "Component Help"}},
  };
  for (const Step& step : steps) {
    s_frame->MDIActivate(FrameOf(step.doc));
    (*step.component)->ActivateResources();
    PumpHost();
    HMENU shown = ::GetMenu(s_frame->m_hWnd);
    EXPECT_EQ(step.component->Component()->GetMergedMenu(), shown);
    EXPECT_EQ(step.help, Names(GetSubMenu(shown, GetMenuItemCount(shown) - 1))) << step.who;
    // The number both libraries define comes from the active component's; the others' own still resolve.
    EXPECT_STREQ(step.who, LoadChainString(IDS_FWTEST_WHO));
    EXPECT_STREQ("only in component A", LoadChainString(IDS_FWTESTA_ONLY));
    EXPECT_STREQ("only in component B", LoadChainString(IDS_FWTESTB_ONLY));
  }
  // B is at the head now; its number 3900 and the framework's message every component library carries are the
  // only ones the host's chain has twice.
  CStringArray conflicts;
  ASSERT_EQ(2, AfxCheckResourceChain(conflicts));
  EXPECT_STREQ("string 3900 in FwTestBRes.dll and FwTestARes.dll", conflicts[0]);
  EXPECT_STREQ("string 20001 in FwTestBRes.dll and FwTestARes.dll", conflicts[1]);
  afxtest::HoldForScreenshot(theHostApp);

  theHostApp.CloseAllDocuments(TRUE);
  PumpHost();
  for (HostedComponent* c : {&a, &b}) EXPECT_TRUE(c->Component()->DestroyMergedMenu());
  EXPECT_EQ(hostMenuA, Snapshot(a->GetDocTemplate()->m_hMenuInPlace));
  EXPECT_EQ(hostMenuB, Snapshot(b->GetDocTemplate()->m_hMenuInPlace));
}

TEST_F(HostTest, InitializeFailsWithoutTheLibrarysRecordItsResourcesOrItsTemplatesMenu) {
  const int templates = TemplateCount();
  {
    HostedComponent noResources(CLSID_FwTestNoResources);
    ASSERT_EQ(S_OK, noResources.Created());
    EXPECT_FALSE(noResources->Initialize());
    EXPECT_EQ(nullptr, noResources->GetDocTemplate());
  }
  {
    HostedComponent noMenu(CLSID_FwTestNoTemplate);
    ASSERT_EQ(S_OK, noMenu.Created());
    EXPECT_FALSE(noMenu->Initialize());
    EXPECT_EQ(nullptr, noMenu->GetDocTemplate());
  }
  EXPECT_EQ(templates, TemplateCount());  // nothing was left with the application
  EXPECT_TRUE(theHostApp.m_boxes.empty());

  HostedComponent a(CLSID_FwTestA);
  ASSERT_EQ(S_OK, a.Created());
  HMODULE library = GetModuleHandleA(kFwTestALibrary);
  CDynLinkLibrary* record = RecordOf(library);
  ASSERT_NE(nullptr, record);
  HINSTANCE resources = record->m_hResource;
  delete record;
  EXPECT_FALSE(a->Initialize());
  EXPECT_EQ(templates, TemplateCount());
  new CDynLinkLibrary(library, resources);
  EXPECT_TRUE(a->Initialize());
}

TEST_F(HostTest, TheLibraryServesOnlyItsClassesAndCanUnloadOnceNothingHoldsIt) {
  HMODULE library = LoadLibraryA(kFwTestALibrary);
  ASSERT_NE(nullptr, library);
  GetClassObjectFunc getClassObject =
      reinterpret_cast<GetClassObjectFunc>(GetProcAddress(library, "DllGetClassObject"));
  ServerFunc canUnloadNow = reinterpret_cast<ServerFunc>(GetProcAddress(library, "DllCanUnloadNow"));
  ASSERT_NE(nullptr, getClassObject);
  ASSERT_NE(nullptr, canUnloadNow);

  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(HRESULT(0x80040111), getClassObject(CLSID_FwTestB, IID_IClassFactory, &object));
  EXPECT_EQ(nullptr, object);
  EXPECT_EQ(E_POINTER, getClassObject(CLSID_FwTestA, IID_IClassFactory, NULL));

  {
    HostedComponent a(CLSID_FwTestA);
    ASSERT_EQ(S_OK, a.Created());
    EXPECT_EQ(S_FALSE, canUnloadNow());
  }
  EXPECT_EQ(S_OK, canUnloadNow());
  FreeLibrary(library);
}

TEST_F(HostTest, RegistrationPutsTheComponentsInTheirCategoryAndUnregistrationLeavesIt) {
  for (const CLSID* clsid : {&CLSID_FwTestA, &CLSID_FwTestNoResources, &CLSID_FwTestNoTemplate, &CLSID_FwTestB})
    EXPECT_TRUE(InCategory(*clsid));

  HMODULE library = LoadLibraryA(kFwTestBLibrary);
  ASSERT_NE(nullptr, library);
  ServerFunc registerServer = reinterpret_cast<ServerFunc>(GetProcAddress(library, "DllRegisterServer"));
  ServerFunc unregisterServer = reinterpret_cast<ServerFunc>(GetProcAddress(library, "DllUnregisterServer"));
  const std::string classKey = "CLSID\\" + GuidText(CLSID_FwTestB);
  const std::string implemented = classKey + "\\Implemented Categories\\" + GuidText(CATID_NXComponents);
  const std::string category = "Component Categories\\" + GuidText(CATID_NXComponents);

  for (int round = 0; round < 2; ++round) {  // a second unregistration finds nothing and is no error
    EXPECT_EQ(S_OK, unregisterServer());
    EXPECT_FALSE(ClassesKeyExists(kFwTestBProgId));
    EXPECT_FALSE(ClassesKeyExists(kFwTestBIndependentProgId));
    EXPECT_FALSE(ClassesKeyExists(classKey + "\\InprocServer32"));
    EXPECT_FALSE(ClassesKeyExists(classKey + "\\ProgID"));
    EXPECT_TRUE(ClassesKeyExists(implemented));
    EXPECT_EQ("NXComponents", ReadClassesValue(category, "409"));
  }
  {
    HostedComponent gone(CLSID_FwTestB);
    EXPECT_TRUE(FAILED(gone.Created()));
  }

  EXPECT_EQ(S_OK, registerServer());
  EXPECT_EQ("Framework Test Component B", ReadClassesValue(kFwTestBProgId, NULL));
  EXPECT_EQ(GuidText(CLSID_FwTestB), ReadClassesValue(std::string(kFwTestBProgId) + "\\CLSID", NULL));
  EXPECT_EQ(kFwTestBProgId, ReadClassesValue(std::string(kFwTestBIndependentProgId) + "\\CurVer", NULL));
  EXPECT_EQ("Framework Test Component B", ReadClassesValue(classKey, NULL));
  EXPECT_EQ(kFwTestBProgId, ReadClassesValue(classKey + "\\ProgID", NULL));
  EXPECT_EQ(kFwTestBIndependentProgId, ReadClassesValue(classKey + "\\VersionIndependentProgID", NULL));
  EXPECT_EQ(0, CString(ReadClassesValue(classKey + "\\InprocServer32", NULL).c_str())
                   .CompareNoCase(ProgramFolder() + kFwTestBLibrary));
  EXPECT_EQ("Apartment", ReadClassesValue(classKey + "\\InprocServer32", "ThreadingModel"));
  EXPECT_TRUE(InCategory(CLSID_FwTestB));
  HostedComponent back(CLSID_FwTestB);
  EXPECT_EQ(S_OK, back.Created());
  FreeLibrary(library);
}

}  // namespace
}  // namespace fwtest
