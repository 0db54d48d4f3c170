// OrvaneExt with the system around it: the registration OrvaneExtReg writes and removes, the trace of one
// round as a debug-output viewer sees it, and whether Wine's own shell menus load the extension.
#include <gtest/gtest.h>

// The shell's default item menu is a later system's call (Wine has it too).
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness.h"
#include "orvaneext/OrvaneExt.h"

namespace {

using orvtest::ComPtr;

const char kCommandText[] = "Open with Nexlumen Orvane";
const UINT kFirstId = 1, kLastId = 0x7FFF;

std::string ReadString(const std::string& path, const char* name) {
  char value[MAX_PATH * 2] = {};
  DWORD size = sizeof value - 1, type = 0;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
  const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && type == REG_SZ ? std::string(value) : "<no value>";
}

std::string Classes(const std::string& rest) { return std::string(orvext::kClassesKey) + "\\" + rest; }
std::string Handler(const char* fileClass) {
  return Classes(std::string(fileClass) + "\\" + orvext::kHandlersSubkey + "\\" + orvext::kHandlerName);
}

HRESULT TryCreate() {
  ComPtr<IShellExtInit> init;
  return CoCreateInstance(orvext::kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.PutVoid());
}

void ExpectRegistered(const std::string& dll) {
  const std::string classKey = Classes(std::string("CLSID\\") + orvext::kClsidText);
  EXPECT_EQ(orvext::kClassDescription, ReadString(classKey, nullptr));
  EXPECT_EQ(0, lstrcmpiA(dll.c_str(), ReadString(classKey + "\\InprocServer32", nullptr).c_str()));
  EXPECT_EQ("Apartment", ReadString(classKey + "\\InprocServer32", "ThreadingModel"));
  EXPECT_EQ(orvext::kClsidText, ReadString(Handler("*"), nullptr));
  EXPECT_EQ(orvext::kClsidText, ReadString(Handler("Directory"), nullptr));
  EXPECT_EQ(orvext::kClassDescription, ReadString(orvext::kApprovedKey, orvext::kClsidText));
}

TEST(OrvaneExtRegistrationTest, InstallAndUninstallWriteAndRemoveExactlyTheirKeys) {
  const std::string dll = orvtest::BinFolder() + orvext::kDllName;
  ExpectRegistered(dll);  // by the test environment, through the same tool

  ASSERT_EQ(0, orvtest::RunProgram(orvtest::RegisterCommand("uninstall")));
  EXPECT_EQ("<no key>", ReadString(Classes(std::string("CLSID\\") + orvext::kClsidText), nullptr));
  EXPECT_EQ("<no key>", ReadString(Handler("*"), nullptr));
  EXPECT_EQ("<no key>", ReadString(Handler("Directory"), nullptr));
  EXPECT_EQ("<no value>", ReadString(orvext::kApprovedKey, orvext::kClsidText));
  // The keys on the way are as they were before the first install: what it added is gone, what the
  // system had (even empty) is still there.
  EXPECT_EQ(orvtest::KeysBeforeInstall(), orvtest::ReadShellKeys());
  EXPECT_EQ(REGDB_E_CLASSNOTREG, TryCreate());
  EXPECT_EQ(0, orvtest::RunProgram(orvtest::RegisterCommand("uninstall")));  // nothing left to remove

  EXPECT_EQ(ERROR_FILE_NOT_FOUND, orvtest::RunProgram(orvtest::RegisterCommand("install \"C:\\nowhere\\x.dll\"")));
  EXPECT_EQ("<no key>", ReadString(Handler("*"), nullptr));
  EXPECT_EQ(ERROR_BAD_ARGUMENTS, orvtest::RunProgram(orvtest::RegisterCommand("reinstall")));

  // Without a path the tool registers the DLL beside it; twice is the same as once.
  ASSERT_EQ(0, orvtest::RunProgram(orvtest::RegisterCommand("install")));
  ASSERT_EQ(0, orvtest::RunProgram(orvtest::RegisterCommand("install")));
  ExpectRegistered(dll);
  EXPECT_EQ(S_OK, TryCreate());
}

// The expected texts occur in texts[from, to) in this order; the system may add calls of its own in between.
void ExpectInOrder(const std::vector<std::string>& expected, const std::vector<std::string>& texts, size_t from,
                   size_t to) {
  auto next = texts.begin() + from;
  for (const std::string& text : expected) {
    next = std::find(next, texts.begin() + to, text);
    ASSERT_NE(texts.begin() + to, next) << "missing or out of order: " << text;
  }
}

// The trace of one round, in order, as a debug-output viewer shows it.
TEST(OrvaneExtTraceTest, OneRoundTracesEveryCallInOrder) {
  orvtest::DebugListener& listener = orvtest::Listener();
  ASSERT_TRUE(listener.Ready()) << "another debug-output listener holds the buffer";
  orvtest::CurrentUser().Clear();
  orvtest::ScratchFolder folder;
  folder.Folder("Album");
  orvtest::StandInHosts hosts;
  orvtest::SetHostPath(orvtest::BinFolder() + "orvext_standin_host.exe");

  const size_t start = listener.Texts().size();
  ComPtr<IShellExtInit> init;
  ASSERT_EQ(S_OK, CoCreateInstance(orvext::kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.PutVoid()));
  const size_t created = listener.Texts().size();
  ComPtr<IContextMenu> menu;
  ASSERT_EQ(S_OK, init.QueryInterface(menu));
  ASSERT_EQ(S_OK, init->Initialize(nullptr, orvtest::ShellSelection(folder.Path(), {"Album"}).Get(), nullptr));
  HMENU popup = CreatePopupMenu();
  menu->QueryContextMenu(popup, 0, kFirstId, kLastId, CMF_NORMAL);
  DestroyMenu(popup);
  char verb[64];
  menu->GetCommandString(0, GCS_VERBA, nullptr, verb, sizeof verb);
  CMINVOKECOMMANDINFO info = {sizeof info};
  info.lpVerb = MAKEINTRESOURCEA(0);
  EXPECT_EQ(S_OK, menu->InvokeCommand(&info));
  init.Release();
  menu.Release();
  hosts.WaitForStarts(1);

  const std::vector<std::string> texts = listener.Texts();
  for (size_t i = start; i < texts.size(); ++i) {
    const std::string& text = texts[i];
    EXPECT_TRUE(text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) << text;
  }
  // Creation through COM.
  const std::vector<std::string> creation = {
      "In DllGetClassObject\r\n",
      "cForgeExtClassFactory::cForgeExtClassFactory()\r\n",
      "cForgeExtClassFactory::QueryInterface()\r\n",
      "cForgeExtClassFactory::CreateInstance()\r\n",
      "cForgeExt::cForgeExt()\r\n",
      "cForgeExt::QueryInterface()==>IID_IShellExtInit\r\n",
      "cForgeExt::AddRef()\r\n",
  };
  ExpectInOrder(creation, texts, start, created);
  const std::vector<std::string> round(texts.begin() + created, texts.end());
  EXPECT_EQ((std::vector<std::string>{
                "cForgeExt::QueryInterface()==>IID_IContextMenu\r\n",
                "cForgeExt::AddRef()\r\n",
                "cForgeExt::Initialize()\r\n",
                "cForgeExt::QueryContextMenu()\r\n",
                "CMF_NORMAL...\r\n",
                "cForgeExt::GetCommandString()\r\n",
                "cForgeExt::InvokeCommand()\r\n",
                "cForgeExt::Release()\r\n",
                "cForgeExt::Release()\r\n",
            }),
            round);

  // Unused, the library lets COM unload it, and it is loaded again for the next object.
  const size_t unused = texts.size();
  CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_EQ(nullptr, GetModuleHandleA(orvext::kDllName));
  EXPECT_EQ(S_OK, TryCreate());
  ExpectInOrder({"In DLLCanUnloadNow\r\n", "In DLLMain, DLL_PROCESS_DETACH\r\n", "In DLLMain, DLL_PROCESS_ATTACH\r\n",
                 "In DllGetClassObject\r\n"},
                listener.Texts(), unused, listener.Texts().size());
}

std::vector<std::string> MenuTexts(HMENU menu) {
  std::vector<std::string> texts;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[128] = {};
    GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
    texts.push_back(text);
  }
  return texts;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// With the extension registered, the shell's own menu for a JPEG should list the command. Wine's shell
// builds its item menus without the registered handlers; then the extension must not have been asked at all.
TEST(OrvaneExtWineShellTest, ShellMenuForAPictureListsTheCommand) {
  orvtest::CurrentUser().Clear();
  orvtest::SetLaunchItems({{"Gallery", {"jpg"}}});
  orvtest::ScratchFolder folder;
  folder.File("photo.jpg");
  ComPtr<IShellFolder> parent = orvtest::BindFolder(folder.Path());
  ASSERT_TRUE(parent);
  LPITEMIDLIST child = orvtest::ChildId(parent.Get(), "photo.jpg");
  ASSERT_NE(nullptr, child);
  LPCITEMIDLIST children[] = {child};

  const size_t start = orvtest::Listener().Texts().size();
  ComPtr<IContextMenu> itemMenu;
  ASSERT_EQ(S_OK, parent->GetUIObjectOf(nullptr, 1, children, IID_IContextMenu, nullptr, itemMenu.PutVoid()));
  HMENU popup = CreatePopupMenu();
  EXPECT_TRUE(SUCCEEDED(itemMenu->QueryContextMenu(popup, 0, kFirstId, kLastId, CMF_NORMAL)));
  std::vector<std::string> texts = MenuTexts(popup);
  DestroyMenu(popup);

  HKEY keys[2] = {};
  RegOpenKeyExA(HKEY_CLASSES_ROOT, "*", 0, KEY_READ, &keys[0]);
  RegOpenKeyExA(HKEY_CLASSES_ROOT, "jpegfile", 0, KEY_READ, &keys[1]);
  DEFCONTEXTMENU definition = {};
  definition.psf = parent.Get();
  definition.cidl = 1;
  definition.apidl = children;
  definition.cKeys = keys[1] ? 2 : 1;
  definition.aKeys = keys;
  ComPtr<IContextMenu> defaultMenu;
  const HRESULT created = SHCreateDefaultContextMenu(&definition, IID_IContextMenu, defaultMenu.PutVoid());
  std::vector<std::string> defaultTexts;
  if (SUCCEEDED(created)) {
    popup = CreatePopupMenu();
    EXPECT_TRUE(SUCCEEDED(defaultMenu->QueryContextMenu(popup, 0, kFirstId, kLastId, CMF_NORMAL)));
    defaultTexts = MenuTexts(popup);
    DestroyMenu(popup);
  }
  for (HKEY key : keys) {
    if (key) RegCloseKey(key);
  }
  CoTaskMemFree(child);

  std::vector<std::string> trace = orvtest::Listener().Texts();
  trace.erase(trace.begin(), trace.begin() + start);
  std::string shown;
  for (const std::string& text : texts) shown += "[" + text + "]";
  std::string shownDefault;
  for (const std::string& text : defaultTexts) shownDefault += "[" + text + "]";
  if (!Contains(texts, kCommandText) && !Contains(defaultTexts, kCommandText)) {
    ASSERT_TRUE(std::find(trace.begin(), trace.end(), "In DllGetClassObject\r\n") == trace.end())
        << "the shell created the extension but its menu lacks the command: " << shown;
    GTEST_SKIP() << "Wine's shell does not load context-menu handlers; item menu: " << shown
                 << "; SHCreateDefaultContextMenu (0x" << std::hex << created << "): " << shownDefault;
  }
}

}  // namespace
