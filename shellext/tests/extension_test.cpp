// OrvaneExt driven as the shell drives it: created by class id, initialised with the shell's own data
// object for real files and folders, asked for its command on a real menu, and invoked, which starts a
// stand-in host program; also the class factory, the module's lock count and the bounded type list.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "harness.h"
#include "orvaneext/OrvaneExt.h"

namespace {

using orvtest::ComPtr;

const char kCommandText[] = "Open with Nexlumen Orvane";
const char kHost[] = "orvext_standin_host.exe";
const char kConsoleHost[] = "orvext_standin_console.exe";
const UINT kFirstId = 100, kLastId = 200;
const DWORD kSettleMs = 500;  // time a wrongly started host would need to show up in the record
const HRESULT kOneCommand = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
const HRESULT kNoCommand = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);

class OrvaneExtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    orvtest::CurrentUser().Clear();
    for (const char* name : {"notes.txt", "LETTER.DOC", "photo.jpg", "photo.pg", "pic1.jpg", "pic2.jpg", "pic3.jpg"}) {
      m_folder.File(name);
    }
    m_folder.Folder("Album");
  }

  // Created as the shell creates it: by class id, for its initialisation interface.
  static ComPtr<IShellExtInit> Create() {
    ComPtr<IShellExtInit> init;
    EXPECT_EQ(S_OK, CoCreateInstance(orvext::kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.PutVoid()));
    return init;
  }

  HRESULT Initialize(IShellExtInit* init, const std::vector<std::string>& names) {
    ComPtr<IDataObject> data = orvtest::ShellSelection(m_folder.Path(), names);
    EXPECT_TRUE(data) << "the shell gave no data object";
    HKEY allFiles = nullptr;
    RegOpenKeyExA(HKEY_CLASSES_ROOT, "*", 0, KEY_READ, &allFiles);
    const HRESULT hr = init->Initialize(nullptr, data.Get(), allFiles);
    if (allFiles) RegCloseKey(allFiles);
    return hr;
  }

  // A context menu for the selection, as the shell builds it: initialised, then asked for its command.
  ComPtr<IContextMenu> MenuFor(const std::vector<std::string>& names) {
    ComPtr<IShellExtInit> init = Create();
    ComPtr<IContextMenu> menu;
    if (!init || Initialize(init.Get(), names) != S_OK) return menu;
    init.QueryInterface(menu);
    HMENU popup = CreatePopupMenu();
    EXPECT_EQ(kOneCommand, menu->QueryContextMenu(popup, 0, kFirstId, kLastId, CMF_NORMAL));
    DestroyMenu(popup);
    return menu;
  }

  static HRESULT Invoke(IContextMenu* menu, LPCSTR verb, DWORD mask = 0) {
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = mask;
    info.lpVerb = verb;
    info.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&info);
  }

  std::string Path(const std::string& name) const { return m_folder.Path() + "\\" + name; }
  static std::string Quoted(const std::string& program, const std::string& path) {
    return "\"" + program + "\" \"" + path + "\"";
  }

  orvtest::ScratchFolder m_folder;
};

std::string ItemText(HMENU menu, int position) {
  char text[128] = {};
  GetMenuStringA(menu, UINT(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

TEST_F(OrvaneExtTest, SelectionDecidesWhetherTheCommandIsOffered) {
  using Items = std::vector<std::pair<std::string, std::vector<std::string>>>;
  const Items none, gallery = {{"Gallery", {"jpg", "tif"}}}, upperCase = {{"Viewer", {"JPG"}}};
  struct Case {
    std::vector<std::string> selection;
    Items items;
    HRESULT expected;
  } cases[] = {
      {{"notes.txt"}, gallery, E_FAIL},          // no launch item supports it
      {{"notes.txt", "Album"}, gallery, S_OK},   // a folder among the selection
      {{"Album"}, none, S_OK},
      {{"LETTER.DOC"}, none, S_OK},              // always, even without launch items
      {{"photo.jpg"}, none, E_FAIL},
      {{"photo.jpg"}, upperCase, S_OK},          // types are compared in lower case
      {{"photo.pg"}, gallery, S_OK},             // the tail of "jpg" counts: the test is a substring search
      {{"photo.pg"}, none, E_FAIL},
      {{"notes.txt", "pic2.jpg"}, gallery, S_OK},
  };
  for (const Case& c : cases) {
    orvtest::SetLaunchItems(c.items);
    ComPtr<IShellExtInit> init = Create();
    ASSERT_TRUE(init);
    std::string label;
    for (const std::string& name : c.selection) label += name + " ";
    EXPECT_EQ(c.expected, Initialize(init.Get(), c.selection)) << label;
  }
}

TEST_F(OrvaneExtTest, MenuFlagsDecideWhetherTheCommandIsAdded) {
  struct Case {
    UINT flags;
    bool added;
    std::vector<std::string> trace;
  } cases[] = {
      {CMF_NORMAL, true, {"CMF_NORMAL..."}},
      {CMF_NORMAL | CMF_CANRENAME | CMF_EXTENDEDVERBS, true, {"CMF_NORMAL..."}},
      {CMF_VERBSONLY, true, {"CMF_VERBSONLY..."}},
      {CMF_EXPLORE, true, {"CMF_EXPLORE..."}},
      {CMF_DEFAULTONLY | CMF_VERBSONLY, true, {"CMF_VERBSONLY..."}},
      {CMF_DEFAULTONLY, false, {"CMF_DEFAULTONLY..."}},
      {CMF_NOVERBS, false, {"CMF_default...", "uFlags==>8"}},
  };
  ComPtr<IShellExtInit> init = Create();
  ASSERT_TRUE(init);
  ASSERT_EQ(S_OK, Initialize(init.Get(), {"Album"}));
  ComPtr<IContextMenu> menu;
  ASSERT_EQ(S_OK, init.QueryInterface(menu));
  for (const Case& c : cases) {
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 1, "First");
    AppendMenuA(popup, MF_STRING, 2, "Second");
    const size_t before = orvtest::Listener().Texts().size();
    const HRESULT hr = menu->QueryContextMenu(popup, 1, kFirstId, kLastId, c.flags);
    std::vector<std::string> trace = orvtest::Listener().Texts();
    trace.erase(trace.begin(), trace.begin() + before);
    std::vector<std::string> expectedTrace = {"cForgeExt::QueryContextMenu()\r\n"};
    for (const std::string& text : c.trace) expectedTrace.push_back(text + "\r\n");
    EXPECT_EQ(expectedTrace, trace) << "flags " << c.flags;
    if (c.added) {
      EXPECT_EQ(kOneCommand, hr) << "flags " << c.flags;
      ASSERT_EQ(4, GetMenuItemCount(popup));
      EXPECT_NE(0u, GetMenuState(popup, 1, MF_BYPOSITION) & UINT(MFT_SEPARATOR));
      EXPECT_EQ(kFirstId, GetMenuItemID(popup, 2));
      EXPECT_EQ(kCommandText, ItemText(popup, 2));
      EXPECT_EQ("Second", ItemText(popup, 3));
    } else {
      EXPECT_EQ(kNoCommand, hr) << "flags " << c.flags;
      EXPECT_EQ(2, GetMenuItemCount(popup));
    }
    DestroyMenu(popup);
  }

  // A range without a free id gets nothing rather than somebody else's id.
  HMENU popup = CreatePopupMenu();
  EXPECT_EQ(kNoCommand, menu->QueryContextMenu(popup, 0, kLastId + 1, kLastId, CMF_NORMAL));
  EXPECT_EQ(0, GetMenuItemCount(popup));
  DestroyMenu(popup);

  char text[64] = "stale";
  EXPECT_EQ(S_OK, menu->GetCommandString(0, GCS_VERBA, nullptr, text, sizeof text));
  EXPECT_STREQ(kCommandText, text);
  EXPECT_EQ(S_OK, menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, text, sizeof text));
  EXPECT_STREQ("", text);
}

TEST_F(OrvaneExtTest, ThreeSelectedPicturesStartTheHostThreeTimesInOrder) {
  orvtest::StandInHosts hosts;
  const std::string host = orvtest::BinFolder() + kHost;
  orvtest::SetHostPath(host);
  orvtest::SetLaunchItems({{"Gallery", {"jpg"}}});
  ComPtr<IContextMenu> menu = MenuFor({"pic1.jpg", "pic2.jpg", "pic3.jpg"});
  ASSERT_TRUE(menu);
  ASSERT_EQ(S_OK, Invoke(menu.Get(), MAKEINTRESOURCEA(0)));

  // Each instance was idle before the next one started.
  const std::vector<orvtest::HostRecord> records = hosts.WaitForStarts(3);
  ASSERT_EQ(6u, records.size());
  const char* names[] = {"pic1.jpg", "pic2.jpg", "pic3.jpg"};
  for (int i = 0; i < 3; ++i) {
    const orvtest::HostRecord& start = records[2 * i];
    const orvtest::HostRecord& idle = records[2 * i + 1];
    EXPECT_EQ("start", start.what);
    EXPECT_EQ("idle", idle.what);
    EXPECT_EQ(start.pid, idle.pid);
    EXPECT_EQ(Quoted(host, Path(names[i])), start.commandLine);
  }
}

TEST_F(OrvaneExtTest, OnlySupportedItemsAreOpened) {
  orvtest::StandInHosts hosts;
  const std::string host = orvtest::BinFolder() + kHost;
  orvtest::SetHostPath(host);
  orvtest::SetLaunchItems({{"Gallery", {"jpg"}}});
  ComPtr<IContextMenu> menu = MenuFor({"notes.txt", "Album", "photo.jpg", "LETTER.DOC"});
  ASSERT_TRUE(menu);
  ASSERT_EQ(S_OK, Invoke(menu.Get(), MAKEINTRESOURCEA(0)));
  std::vector<std::string> started;
  for (const orvtest::HostRecord& record : hosts.WaitForStarts(3)) {
    if (record.what == "start") started.push_back(record.commandLine);
  }
  EXPECT_EQ((std::vector<std::string>{Quoted(host, Path("Album")), Quoted(host, Path("photo.jpg")),
                                      Quoted(host, Path("LETTER.DOC"))}),
            started);
}

// One item: the host is started and the shell is not kept waiting for it.
TEST_F(OrvaneExtTest, SingleItemIsOpenedWithoutWaiting) {
  orvtest::StandInHosts hosts;
  const std::string host = orvtest::BinFolder() + kHost;
  orvtest::SetHostPath(host);
  ComPtr<IContextMenu> menu = MenuFor({"Album"});
  ASSERT_TRUE(menu);
  ASSERT_EQ(S_OK, Invoke(menu.Get(), MAKEINTRESOURCEA(0)));
  for (const orvtest::HostRecord& record : hosts.Records()) EXPECT_NE("idle", record.what);
  const std::vector<orvtest::HostRecord> records = hosts.WaitForStarts(1);
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(Quoted(host, Path("Album")), records[0].commandLine);
}

// The installer records the host's folder as its "Location", as the host reads it: the host program in that
// folder is started, whether the folder ends with a backslash or not.
TEST_F(OrvaneExtTest, HostFolderAsLocationStartsTheProgramInIt) {
  const std::string folder = m_folder.Folder("Program");
  const std::string program = folder + "\\" + orvext::kHostProgram;
  ASSERT_TRUE(CopyFileA((orvtest::BinFolder() + kHost).c_str(), program.c_str(), FALSE));
  for (const std::string& location : {folder, folder + "\\"}) {
    SCOPED_TRACE(location);
    orvtest::StandInHosts hosts;
    orvtest::SetHostPath(location);
    ComPtr<IContextMenu> menu = MenuFor({"Album"});
    ASSERT_TRUE(menu);
    ASSERT_EQ(S_OK, Invoke(menu.Get(), MAKEINTRESOURCEA(0)));
    const std::vector<orvtest::HostRecord> records = hosts.WaitForStarts(1);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(Quoted(program, Path("Album")), records[0].commandLine);
  }
}

TEST_F(OrvaneExtTest, WrongCommandOrNoHostStartsNothing) {
  orvtest::StandInHosts hosts;
  orvtest::SetLaunchItems({{"Gallery", {"jpg"}}});
  ComPtr<IContextMenu> menu = MenuFor({"pic1.jpg"});
  ASSERT_TRUE(menu);

  orvtest::SetHostPath(orvtest::BinFolder() + kHost);
  EXPECT_EQ(E_INVALIDARG, Invoke(menu.Get(), "open"));
  EXPECT_EQ(E_INVALIDARG, Invoke(menu.Get(), MAKEINTRESOURCEA(1)));

  orvtest::SetHostPath("");
  EXPECT_EQ(E_INVALIDARG, Invoke(menu.Get(), MAKEINTRESOURCEA(0)));
  SHDeleteKeyA(HKEY_CURRENT_USER, orvext::kLocationKey);
  EXPECT_EQ(E_INVALIDARG, Invoke(menu.Get(), MAKEINTRESOURCEA(0)));

  Sleep(kSettleMs);
  EXPECT_TRUE(hosts.Records().empty());
}

// A host that cannot be started, or one that never becomes idle (it never reads messages), is reported
// with its fixed message once for each item, and the next items are still tried.
TEST_F(OrvaneExtTest, HostFailuresAreReportedForEachItem) {
  orvtest::SetLaunchItems({{"Gallery", {"jpg"}}});
  ComPtr<IContextMenu> menu = MenuFor({"pic1.jpg", "pic2.jpg"});
  ASSERT_TRUE(menu);
  const std::string missing = Path("missing.exe"), neverIdle = orvtest::BinFolder() + kConsoleHost;
  struct Case {
    std::string host;
    const char* message;
    std::vector<std::string> started;
  } cases[] = {
      {missing, "CreateProcess Failed", {}},
      {neverIdle, "WaitForInputIdle failed", {Quoted(neverIdle, Path("pic1.jpg")), Quoted(neverIdle, Path("pic2.jpg"))}},
  };
  for (const Case& c : cases) {
    orvtest::StandInHosts hosts;
    orvtest::SetHostPath(c.host);
    orvtest::MessageBoxWatcher watcher;
    EXPECT_EQ(S_OK, Invoke(menu.Get(), MAKEINTRESOURCEA(0)));
    const std::vector<orvtest::MessageBoxWatcher::Box> boxes = watcher.Boxes();
    EXPECT_EQ(2u, boxes.size()) << c.host;
    for (const auto& box : boxes) EXPECT_EQ(c.message, box.text);
    std::vector<std::string> started;
    for (const orvtest::HostRecord& record : hosts.WaitForStarts(c.started.size())) {
      started.push_back(record.commandLine);
    }
    EXPECT_EQ(c.started, started);
  }

  // A caller that asks for no user interface gets no message boxes.
  orvtest::SetHostPath(missing);
  orvtest::MessageBoxWatcher watcher;
  EXPECT_EQ(S_OK, Invoke(menu.Get(), MAKEINTRESOURCEA(0), CMIC_MASK_FLAG_NO_UI));
  EXPECT_TRUE(watcher.Boxes().empty());
}

// 200 launch items with long type lists: the list stops growing where its buffer ends, keeps "doc" and the
// types that came first, and the object goes on answering.
TEST_F(OrvaneExtTest, ManyLaunchItemsDoNotOverrunTheTypeList) {
  const int kItems = 200, kTypesPerItem = 10;
  std::vector<std::pair<std::string, std::vector<std::string>>> items;
  for (int i = 0; i < kItems; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "Item%03d", i);
    std::vector<std::string> types;
    for (int t = 0; t < kTypesPerItem; ++t) types.push_back(std::string(name) + "type" + std::to_string(t) + "long");
    items.emplace_back(name, types);
  }
  orvtest::SetLaunchItems(items);
  const std::string first = items.front().second.front(), last = items.back().second.back();
  m_folder.File("early." + first);
  m_folder.File("late." + last);
  for (int round = 0; round < 3; ++round) {
    ComPtr<IShellExtInit> init = Create();
    ASSERT_TRUE(init);
    EXPECT_EQ(S_OK, Initialize(init.Get(), {"early." + first}));
    EXPECT_EQ(E_FAIL, Initialize(init.Get(), {"late." + last}));
    EXPECT_EQ(S_OK, Initialize(init.Get(), {"LETTER.DOC"}));
    ComPtr<IContextMenu> menu;
    ASSERT_EQ(S_OK, init.QueryInterface(menu));
    HMENU popup = CreatePopupMenu();
    EXPECT_EQ(kOneCommand, menu->QueryContextMenu(popup, 0, kFirstId, kLastId, CMF_NORMAL));
    EXPECT_EQ(kCommandText, ItemText(popup, 1));
    DestroyMenu(popup);
  }
}

// A data object that counts its references and hands out a file list made here (or none), for what the
// shell's own data object cannot show: a failing file list and paths longer than the buffers.
class FileListDataObject : public IDataObject {
 public:
  explicit FileListDataObject(std::vector<std::string> paths = {}, bool hasList = false)
      : m_paths(std::move(paths)), m_hasList(hasList) {}
  ULONG refs = 1;
  STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
    if (iid == IID_IUnknown || iid == IID_IDataObject) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!m_hasList || format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
    std::string names;
    for (const std::string& path : m_paths) names += path + '\0';
    names += '\0';
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    char* bytes = static_cast<char*>(GlobalLock(memory));
    reinterpret_cast<DROPFILES*>(bytes)->pFiles = sizeof(DROPFILES);
    std::memcpy(bytes + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  STDMETHODIMP QueryGetData(FORMATETC*) override { return m_hasList ? S_OK : DV_E_FORMATETC; }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

 private:
  std::vector<std::string> m_paths;
  bool m_hasList;
};

// A data object is kept from Initialize until the next Initialize or the end of the object, never longer.
TEST_F(OrvaneExtTest, InitializeKeepsOnlyTheLatestSelection) {
  FileListDataObject noFiles;
  ComPtr<IShellExtInit> init = Create();
  ASSERT_TRUE(init);
  EXPECT_EQ(DV_E_FORMATETC, init->Initialize(nullptr, &noFiles, nullptr));  // no file list: its error
  EXPECT_EQ(2u, noFiles.refs);
  EXPECT_EQ(E_FAIL, init->Initialize(nullptr, nullptr, nullptr));
  EXPECT_EQ(1u, noFiles.refs);
  EXPECT_EQ(DV_E_FORMATETC, init->Initialize(nullptr, &noFiles, nullptr));
  init.Release();
  EXPECT_EQ(1u, noFiles.refs);
}

// A selected path too long for the path buffer is passed over, not cut: here its first 259 characters
// name an existing picture, which must neither offer the command nor be opened.
TEST_F(OrvaneExtTest, PathLongerThanTheBufferIsPassedOver) {
  orvtest::StandInHosts hosts;
  orvtest::SetHostPath(orvtest::BinFolder() + kHost);
  orvtest::SetLaunchItems({{"Gallery", {"jpg"}}});
  const size_t kLongestPath = MAX_PATH - 1;
  const std::string stem = m_folder.Path() + "\\";
  const std::string picture = m_folder.File(std::string(kLongestPath - stem.size() - 4, 'p') + ".jpg");
  ASSERT_EQ(kLongestPath, picture.size());
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(picture.c_str()));
  const std::string tooLong = picture + "\\beyond.jpg";

  FileListDataObject longOnly({tooLong}, true);
  ComPtr<IShellExtInit> init = Create();
  ASSERT_TRUE(init);
  EXPECT_EQ(E_FAIL, init->Initialize(nullptr, &longOnly, nullptr));

  FileListDataObject mixed({tooLong, Path("Album")}, true);
  ASSERT_EQ(S_OK, init->Initialize(nullptr, &mixed, nullptr));
  ComPtr<IContextMenu> menu;
  ASSERT_EQ(S_OK, init.QueryInterface(menu));
  // Two selected paths: every started host is idle, and so on the record, when the command returns.
  ASSERT_EQ(S_OK, Invoke(menu.Get(), MAKEINTRESOURCEA(0)));
  std::vector<std::string> started;
  for (const orvtest::HostRecord& record : hosts.Records()) {
    if (record.what == "start") started.push_back(record.commandLine);
  }
  EXPECT_EQ(std::vector<std::string>{Quoted(orvtest::BinFolder() + kHost, Path("Album"))}, started);
}

// The class factory and the module's lock count, through the DLL's own exports.
TEST(OrvaneExtModuleTest, FactoryAndLockCount) {
  HMODULE dll = LoadLibraryA((orvtest::BinFolder() + orvext::kDllName).c_str());
  ASSERT_NE(nullptr, dll);
  typedef HRESULT(WINAPI * GetClassObjectFunc)(REFCLSID, REFIID, void**);
  typedef HRESULT(WINAPI * CanUnloadFunc)();
  auto getClassObject = reinterpret_cast<GetClassObjectFunc>(GetProcAddress(dll, "DllGetClassObject"));
  auto canUnload = reinterpret_cast<CanUnloadFunc>(GetProcAddress(dll, "DllCanUnloadNow"));
  ASSERT_TRUE(getClassObject && canUnload);
  EXPECT_EQ(nullptr, GetProcAddress(dll, "DllRegisterServer"));
  EXPECT_EQ(S_OK, canUnload());

  void* unused = nullptr;
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(CLSID_NULL, IID_IClassFactory, &unused));
  EXPECT_EQ(E_NOINTERFACE, getClassObject(orvext::kClsid, IID_IDispatch, &unused));
  EXPECT_EQ(S_OK, canUnload());  // the refused factory did not stay behind

  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, getClassObject(orvext::kClsid, IID_IClassFactory, factory.PutVoid()));
  EXPECT_EQ(S_FALSE, canUnload());
  ComPtr<IUnknown> unknown;
  EXPECT_EQ(S_OK, factory.QueryInterface(unknown));
  unknown.Release();
  ComPtr<IDispatch> dispatch;
  EXPECT_EQ(E_NOINTERFACE, factory.QueryInterface(dispatch));

  ComPtr<IUnknown> outer;
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IUnknown, outer.PutVoid()));
  ComPtr<IUnknown> aggregated;
  EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer.Get(), IID_IUnknown, aggregated.PutVoid()));
  EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IDispatch, dispatch.PutVoid()));

  // IUnknown and IShellExtInit are one part of the object, IContextMenu the other.
  ComPtr<IShellExtInit> init;
  ComPtr<IContextMenu> menu;
  ASSERT_EQ(S_OK, outer.QueryInterface(init));
  ASSERT_EQ(S_OK, outer.QueryInterface(menu));
  EXPECT_EQ(static_cast<void*>(outer.Get()), static_cast<void*>(init.Get()));
  EXPECT_NE(static_cast<void*>(outer.Get()), static_cast<void*>(menu.Get()));
  ComPtr<IUnknown> fromMenu;
  ASSERT_EQ(S_OK, menu.QueryInterface(fromMenu));
  EXPECT_EQ(outer.Get(), fromMenu.Get());
  ComPtr<IContextMenu2> menu2;
  EXPECT_EQ(E_NOINTERFACE, menu.QueryInterface(menu2));

  EXPECT_EQ(S_OK, factory->LockServer(TRUE));
  factory.Release();
  EXPECT_EQ(S_FALSE, canUnload());  // the object still lives
  init.Release();
  menu.Release();
  fromMenu.Release();
  outer.Release();
  EXPECT_EQ(S_OK, canUnload());  // a server lock does not keep the module
  FreeLibrary(dll);
}

}  // namespace
