// Launch items and their list in process: loading, dropping and ordering, writing back, supported files, the
// add limit, program command lines as the started program receives them, launching with a Gallery selection
// (a test double of the Gallery's automation object), unavailable items, the open dialog's filters and the
// menus filled from the settings (test code).
#include <gtest/gtest.h>

#include <afxdisp.h>

#include <algorithm>
#include <memory>

#include "HostMenus.h"
#include "LaunchItem.h"
#include "host/HostIds.h"
#include "test_support.h"

using namespace hosttest;

namespace {

// The host as the items see it: templates that are never opened, recorded messages, an optional slide table.
class TestHost : public cLaunchHost {
 public:
  std::vector<UINT> messages;
  IDispatch* slideTable = NULL;
  std::vector<std::unique_ptr<CDocTemplate>> templates;

  CDocTemplate* NewWorkspaceTemplate() override {
    templates.emplace_back(new CMultiDocTemplate(IDR_FORGETYPE, RUNTIME_CLASS(CDocument), RUNTIME_CLASS(CMDIChildWnd),
                                                 RUNTIME_CLASS(CView)));
    return templates.back().get();
  }
  IDispatch* GetVisibleSlideTable() override {
    if (slideTable) slideTable->AddRef();
    return slideTable;
  }
  void ShowMessage(UINT id) override { messages.push_back(id); }
  CString GetCurrentWorkspace() override { return ""; }
  BOOL OpenWorkspace(LPCSTR) override { return FALSE; }
  void ActivateMainFrame() override {}
};

// The Gallery's automation object in the shape the host reads: property 3 the selected slides, their
// enumerator, property 1 a slide's path, method 12 clears the selection.
class CSlide : public CCmdTarget {
 public:
  explicit CSlide(const CString& path) : m_path(path) { EnableAutomation(); }
  CString GetPath() { return m_path; }
  CString m_path;
  DECLARE_DISPATCH_MAP()
};
BEGIN_DISPATCH_MAP(CSlide, CCmdTarget)
  DISP_PROPERTY_EX_ID(CSlide, "Path", DISPID_SLIDE_PATH, GetPath, SetNotSupported, VT_BSTR)
END_DISPATCH_MAP()

class CSlideEnum : public CCmdTarget {
 public:
  explicit CSlideEnum(const CStringArray& paths) { m_paths.Copy(paths); }
  CStringArray m_paths;
  int m_position = 0;
  BEGIN_INTERFACE_PART(Enum, IEnumVARIANT)
    STDMETHOD(Next)(ULONG count, VARIANT* items, ULONG* fetched) override;
    STDMETHOD(Skip)(ULONG) override { return E_NOTIMPL; }
    STDMETHOD(Reset)() override { return E_NOTIMPL; }
    STDMETHOD(Clone)(IEnumVARIANT**) override { return E_NOTIMPL; }
  END_INTERFACE_PART(Enum)
  DECLARE_INTERFACE_MAP()
};
BEGIN_INTERFACE_MAP(CSlideEnum, CCmdTarget)
  INTERFACE_PART(CSlideEnum, IID_IEnumVARIANT, Enum)
END_INTERFACE_MAP()
DELEGATE_IUNKNOWN(CSlideEnum, Enum)

STDMETHODIMP CSlideEnum::XEnum::Next(ULONG count, VARIANT* items, ULONG* fetched) {
  METHOD_PROLOGUE(CSlideEnum, Enum)
  if (fetched) *fetched = 0;
  if (count != 1) return E_INVALIDARG;
  if (pThis->m_position >= pThis->m_paths.GetSize()) return S_FALSE;
  VariantInit(items);
  items->vt = VT_DISPATCH;
  items->pdispVal = (new CSlide(pThis->m_paths[pThis->m_position++]))->GetIDispatch(FALSE);
  if (fetched) *fetched = 1;
  return S_OK;
}

class CSlides : public CCmdTarget {
 public:
  explicit CSlides(const CStringArray& paths) {
    EnableAutomation();
    m_paths.Copy(paths);
  }
  CStringArray m_paths;
  LPUNKNOWN NewEnum() { return (new CSlideEnum(m_paths))->GetControllingUnknown(); }
  DECLARE_DISPATCH_MAP()
};
BEGIN_DISPATCH_MAP(CSlides, CCmdTarget)
  DISP_FUNCTION_ID(CSlides, "_NewEnum", DISPID_NEWENUM, NewEnum, VT_UNKNOWN, VTS_NONE)
END_DISPATCH_MAP()

class CTable : public CCmdTarget {
 public:
  CTable() { EnableAutomation(); }
  CStringArray m_selection;
  int m_cleared = 0;
  LPDISPATCH GetSelectedSlides() { return (new CSlides(m_selection))->GetIDispatch(FALSE); }
  void SelectNone() {
    ++m_cleared;
    m_selection.RemoveAll();
  }
  DECLARE_DISPATCH_MAP()
};
BEGIN_DISPATCH_MAP(CTable, CCmdTarget)
  DISP_PROPERTY_EX_ID(CTable, "SelectedSlides", DISPID_GALLERY_SELECTEDSLIDES, GetSelectedSlides, SetNotSupported,
                      VT_DISPATCH)
  DISP_FUNCTION_ID(CTable, "SelectNone", DISPID_GALLERY_SELECTNONE, SelectNone, VT_EMPTY, VTS_NONE)
END_DISPATCH_MAP()

class LaunchItems : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(NULL);
    SetLaunchHost(&host);
    recorder = BesideTest("host_recorder.exe");
  }
  void TearDown() override {
    SetLaunchHost(NULL);
    CoUninitialize();
  }
  std::vector<CString> Locators(const cLaunchItemList& list) {
    std::vector<CString> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
      out.push_back(static_cast<cLaunchItem*>(list.GetNext(pos))->GetLocator());
    return out;
  }
  TestHost host;
  std::string recorder;
};

TEST_F(LaunchItems, LoadDropsItemsWithoutLocatorOrKindAndPutsPermanentItemsFirst) {
  ItemDef first{"A first", "Application", "C:\\Tools\\a.exe"};
  ItemDef noLocator{"B no locator", "Application", "", "Lost"};
  noLocator.withLocator = false;
  ItemDef permanent{"C permanent", "Workspace", "Evening"};
  permanent.permanent = true;
  ItemDef unknown{"D unknown", "Gadget", "gadget"};
  ItemDef second{"E second", "Application", "C:\\Tools\\e.exe"};
  ItemDef permanent2{"F permanent", "DocObject", "Sketch.Document"};
  permanent2.permanent = true;
  WriteItems({first, noLocator, permanent, unknown, second, permanent2});

  for (int start = 0; start < 2; ++start) {  // the second load is a restart from what the first wrote
    cLaunchItemList list;
    list.Load();
    std::vector<CString> expected = {"Evening", "Sketch.Document", "C:\\Tools\\a.exe", "C:\\Tools\\e.exe"};
    EXPECT_EQ(expected, Locators(list)) << "start " << start;
    std::vector<std::string> keys = ItemKeys();
    EXPECT_EQ((std::vector<std::string>{"A first", "C permanent", "E second", "F permanent"}), keys);
    // Labels were derived where missing and written back.
    EXPECT_EQ("Evening", ReadItemValue("C permanent", "Label"));
    EXPECT_EQ("Sketch", ReadItemValue("F permanent", "Label"));
    EXPECT_EQ("a", ReadItemValue("A first", "Label"));
  }
}

TEST_F(LaunchItems, FileTypesDecideSupportedFiles) {
  ItemDef viewer{"Viewer", "Application", recorder, "Viewer"};
  viewer.types = {"jpg", "png"};
  WriteItems({viewer});
  cLaunchItemList list;
  list.Load();
  cLaunchItem* item = list.GetItem(0);
  ASSERT_NE(nullptr, item);
  EXPECT_TRUE(item->SupportsFile("C:\\Pictures\\PHOTO.JPG"));
  EXPECT_FALSE(item->SupportsFile("C:\\Pictures\\README"));
  EXPECT_FALSE(item->SupportsFile("C:\\Pictures\\clip.avi"));
  item->SetAllFiles(TRUE);
  EXPECT_TRUE(item->SupportsFile("C:\\Pictures\\README"));
  // The types survive the rewrite.
  EXPECT_EQ("jpg", ReadItemValue("Viewer\\FileTypesSupported", "jpg"));
}

TEST_F(LaunchItems, TheTwentySixthItemCannotBeAddedAndAProgramTwiceIsRefused) {
  cLaunchItemList list;
  ASSERT_NE(nullptr, AddProgramItem(list, recorder.c_str(), -1));
  EXPECT_EQ(nullptr, AddProgramItem(list, recorder.c_str(), -1));
  EXPECT_EQ(std::vector<UINT>{IDS_ITEM_EXISTS}, host.messages);
  cLaunchItem* added = list.GetItem(0);
  EXPECT_TRUE(added->GetAllFiles());
  EXPECT_EQ(CString("host_recorder.exe"), added->GetLabel());
  EXPECT_TRUE(added->IsAvailable());
  for (int i = 1; i < ORV_MAX_LAUNCH_ITEMS; ++i) {
    cLaunchItem* item = cLaunchItem::Create("Workspace");
    CString name;
    name.Format("Space %d", i);
    item->SetLocator(name);
    item->SetLabel(name);
    list.Insert(item, -1);
  }
  EXPECT_EQ(ORV_MAX_LAUNCH_ITEMS, int(list.GetCount()));
  EXPECT_FALSE(list.CanAdd());
  std::string other = BesideTest("host_tests.exe");
  EXPECT_EQ(nullptr, AddProgramItem(list, other.c_str(), 0));
  EXPECT_EQ(ORV_MAX_LAUNCH_ITEMS, int(list.GetCount()));
}

TEST_F(LaunchItems, ProgramItemsPassArgumentsLowerCasedInQuotes) {
  std::string record = StartRecording("arguments.txt");
  ItemDef viewer{"Viewer", "Application", recorder, "Viewer"};
  viewer.types = {"jpg"};
  viewer.arguments = "/Show Slides";
  WriteItems({viewer});
  cLaunchItemList list;
  list.Load();
  list.LoadTemplates();
  cLaunchItem* item = list.FindForFile("C:\\My Pictures\\Photo One.JPG");
  ASSERT_NE(nullptr, item);
  ASSERT_TRUE(item->OpenDocument("C:\\My Pictures\\Photo One.JPG"));
  std::vector<std::string> lines = Recorded(record, 1);
  ASSERT_EQ(1u, lines.size());
  std::string program = recorder;
  std::transform(program.begin(), program.end(), program.begin(), ::tolower);
  EXPECT_EQ("\"" + program + "\" \"C:\\My Pictures\\Photo One.JPG\" \"/show slides\"", lines[0]);
}

TEST_F(LaunchItems, LaunchOpensTheSupportedSlidesOfTheGallerySelectionOnly) {
  std::string record = StartRecording("selection.txt");
  ItemDef viewer{"Viewer", "Application", recorder, "Viewer"};
  viewer.types = {"jpg", "png"};
  WriteItems({viewer});
  cLaunchItemList list;
  list.Load();
  list.LoadTemplates();
  CTable* table = new CTable;
  for (LPCSTR path : {"C:\\Pictures\\a.jpg", "C:\\Pictures\\b.gif", "C:\\Pictures\\c.PNG"}) table->m_selection.Add(path);
  host.slideTable = table->GetIDispatch(FALSE);

  ASSERT_TRUE(list.GetItem(0)->Launch(TRUE));
  std::vector<std::string> lines = Recorded(record, 3, 3000);  // waits in case a third start came
  ASSERT_EQ(2u, lines.size());
  // The two programs run side by side: their lines come in either order.
  std::sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
    return a.find("a.jpg") != std::string::npos && b.find("a.jpg") == std::string::npos;
  });
  EXPECT_NE(std::string::npos, lines[0].find("\"C:\\Pictures\\a.jpg\"")) << lines[0];
  EXPECT_NE(std::string::npos, lines[1].find("\"C:\\Pictures\\c.PNG\"")) << lines[1];
  EXPECT_EQ(1, table->m_cleared);

  // With nothing selected the program itself starts.
  ASSERT_TRUE(list.GetItem(0)->Launch(TRUE));
  lines = Recorded(record, 3);
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ(std::string::npos, lines[2].find(".jpg"));
  host.slideTable->Release();
  host.slideTable = NULL;
}

TEST_F(LaunchItems, AnUnavailableItemShowsItsMessageAndStartsNothing) {
  std::string record = StartRecording("unavailable.txt");
  ItemDef gone{"Gone", "Application", "C:\\Nowhere\\gone.exe", "Gone"};
  gone.types = {"jpg"};
  WriteItems({gone});
  cLaunchItemList list;
  list.Load();
  list.LoadTemplates();
  EXPECT_FALSE(list.GetItem(0)->Launch(TRUE));
  EXPECT_FALSE(list.GetItem(0)->OpenDocument("C:\\Pictures\\a.jpg"));
  EXPECT_EQ((std::vector<UINT>{IDS_ITEM_UNAVAILABLE, IDS_ITEM_UNAVAILABLE}), host.messages);
  EXPECT_EQ(nullptr, list.FindForFile("C:\\Pictures\\a.jpg"));
}

TEST_F(LaunchItems, OpenFilterHasEachLabelOnceThenAllSupportedThenAllFiles) {
  ItemDef paint{"1 Paint", "Application", "C:\\Tools\\paint.exe", "Paint"};
  paint.types = {"bmp", "png"};
  ItemDef again{"2 Paint", "Application", "C:\\Other\\paint.exe", "Paint"};
  again.types = {"bmp", "png"};
  ItemDef viewer{"3 Viewer", "Application", "C:\\Tools\\view.exe", "Viewer"};
  viewer.types = {"jpg"};
  ItemDef bare{"4 Bare", "Application", "C:\\Tools\\bare.exe", "Bare"};
  WriteItems({paint, again, viewer, bare});
  cLaunchItemList list;
  list.Load();
  EXPECT_EQ(CString("Paint (.bmp;.png)|*.bmp;*.png|Viewer (.jpg)|*.jpg|All supported (.bmp;.png;.jpg)|"
                    "*.bmp;*.png;*.jpg|All Files (*.*)|*.*||"),
            list.BuildOpenFilter("All supported", "All Files (*.*)"));
}

TEST(HostMenus, HelpShowsTenEntriesAtMostAndTheLaunchMenuTheItems) {
  SHDeleteKeyA(HKEY_CURRENT_USER, ORV_HELP_KEY);
  HKEY help;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, ORV_HELP_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &help, NULL));
  for (int i = 1; i <= 12; ++i) {
    char name[32];
    wsprintfA(name, "Guide %02d", i);
    RegSetValueExA(help, name, 0, REG_SZ, (const BYTE*)"guide.chm", 10);
  }
  RegCloseKey(help);
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING | MF_GRAYED, ID_HELP_ENTRY_FIRST, "(none)");
  AppendMenuA(popup, MF_SEPARATOR, 0, NULL);
  AppendMenuA(popup, MF_STRING, ID_APP_ABOUT, "About");
  FillHelpMenu(popup);
  ASSERT_EQ(12, GetMenuItemCount(popup));
  char text[64];
  GetMenuStringA(popup, 9, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ("Guide 10", text);
  EXPECT_EQ(UINT(ID_HELP_ENTRY_LAST), GetMenuItemID(popup, 9));
  EXPECT_EQ(0u, GetMenuItemID(popup, 10));  // the separator: "Guide 11" and "Guide 12" are not shown
  FillHelpMenu(popup);  // opening again gives the same
  EXPECT_EQ(12, GetMenuItemCount(popup));
  SHDeleteKeyA(HKEY_CURRENT_USER, ORV_HELP_KEY);
  FillHelpMenu(popup);  // no entries: the placeholder stays, so the popup is recognised next time
  EXPECT_EQ(UINT(ID_HELP_ENTRY_FIRST), GetMenuItemID(popup, 0));
  EXPECT_EQ(3, GetMenuItemCount(popup));
  DestroyMenu(popup);

  cLaunchItemList items;
  for (int i = 0; i < 11; ++i) {
    cLaunchItem* item = cLaunchItem::Create("Workspace");
    CString name;
    name.Format("Space %d", i + 1);
    item->SetLocator(name);
    item->SetLabel(name);
    items.Insert(item, -1);
  }
  HMENU launch = CreatePopupMenu();
  AppendMenuA(launch, MF_STRING, ID_LAUNCH_LARGEICONS, "Large");
  AppendMenuA(launch, MF_STRING, ID_LAUNCH_SMALLICONS, "Small");
  AppendMenuA(launch, MF_STRING, ID_LAUNCH_ADD, "Add");
  AppendMenuA(launch, MF_STRING, ID_LAUNCH_REMOVE, "Remove");
  AppendMenuA(launch, MF_STRING, ID_LAUNCH_ITEM_FIRST + 20, "stale");
  FillLaunchMenu(launch, items);
  ASSERT_EQ(4 + 1 + 11, GetMenuItemCount(launch));
  GetMenuStringA(launch, 5, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ("&1 Space 1", text);
  GetMenuStringA(launch, 14, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ("&0 Space 10", text);
  GetMenuStringA(launch, 15, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ("Space 11", text);
  EXPECT_EQ(UINT(ID_LAUNCH_ITEM_FIRST + 10), GetMenuItemID(launch, 15));
  DestroyMenu(launch);
}

}  // namespace
