// Application object, profile settings, worker threads and the resource chain of the framework.
#include <gtest/gtest.h>

#include "afxwin.h"
#include "chain_ids.h"

namespace {

CWinApp g_app("AfxTests");

class AppTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { AfxWinInit(GetModuleHandleA(NULL), NULL, GetCommandLineA(), SW_SHOW); }
};

TEST_F(AppTest, ApplicationHandles) {
  EXPECT_EQ(AfxGetApp(), &g_app);
  EXPECT_STREQ(AfxGetAppName(), "AfxTests");
  EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandleA(NULL));
  EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleA(NULL));
  EXPECT_STREQ(g_app.m_pszExeName, "afx_tests");
}

TEST_F(AppTest, AProcessHasOneApplicationObject) {
  CNotSupportedException* refused = NULL;
  try {
    CWinApp second("Second");
  } catch (CNotSupportedException* e) {
    refused = e;
  }
  ASSERT_NE(refused, nullptr);
  refused->Delete();
  EXPECT_EQ(AfxGetApp(), &g_app);
  EXPECT_STREQ(AfxGetAppName(), "AfxTests");
}

TEST_F(AppTest, ProfileSettingsLiveUnderTheRegistryKey) {
  g_app.SetRegistryKey("OrvaneAfxTest");
  ASSERT_TRUE(g_app.WriteProfileInt("Prefs", "Count", -3));
  ASSERT_TRUE(g_app.WriteProfileString("Prefs", "Name", "beach"));
  EXPECT_EQ(int(g_app.GetProfileInt("Prefs", "Count", 9)), -3);
  EXPECT_STREQ(g_app.GetProfileString("Prefs", "Name"), "beach");
  EXPECT_EQ(g_app.GetProfileInt("Prefs", "Missing", 9), 9u);
  EXPECT_STREQ(g_app.GetProfileString("Prefs", "Missing", "dflt"), "dflt");
  // A string value where a number is expected falls back to the default.
  EXPECT_EQ(g_app.GetProfileInt("Prefs", "Name", 4), 4u);

  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\OrvaneAfxTest\\AfxTests\\Prefs", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  char text[32];
  DWORD size = sizeof text, type;
  EXPECT_EQ(RegQueryValueExA(key, "Name", NULL, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, DWORD(REG_SZ));
  RegCloseKey(key);

  EXPECT_TRUE(g_app.WriteProfileString("Prefs", "Name", NULL));
  EXPECT_STREQ(g_app.GetProfileString("Prefs", "Name", "gone"), "gone");
  EXPECT_TRUE(g_app.WriteProfileString("Prefs", NULL, NULL));
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\OrvaneAfxTest\\AfxTests\\Prefs", 0, KEY_READ, &key),
            ERROR_SUCCESS);
}

struct ThreadProbe {
  HANDLE go = CreateEventA(NULL, TRUE, FALSE, NULL);
  int priority = 0;
  CWinThread* self = NULL;
};

UINT AFX_CDECL ProbeProc(LPVOID param) {
  ThreadProbe* probe = static_cast<ThreadProbe*>(param);
  WaitForSingleObject(probe->go, INFINITE);
  probe->priority = GetThreadPriority(GetCurrentThread());
  probe->self = AfxGetThread();
  return 42;
}

UINT AFX_CDECL EndEarlyProc(LPVOID) {
  AfxEndThread(7, FALSE);
}

TEST_F(AppTest, WorkerThreadsWithPriorityAndOwnership) {
  ThreadProbe probe;
  CWinThread* thread = AfxBeginThread(ProbeProc, &probe, THREAD_PRIORITY_LOWEST, 0, CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  thread->m_bAutoDelete = FALSE;
  thread->ResumeThread();
  SetEvent(probe.go);
  ASSERT_EQ(WaitForSingleObject(thread->m_hThread, 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeThread(thread->m_hThread, &code);
  EXPECT_EQ(code, 42u);
  EXPECT_EQ(probe.priority, THREAD_PRIORITY_LOWEST);
  EXPECT_EQ(probe.self, thread);
  delete thread;
  CloseHandle(probe.go);

  // AfxEndThread(code, FALSE) leaves the object to its owner even with auto-delete on.
  CWinThread* early = AfxBeginThread(EndEarlyProc, NULL, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  HANDLE h;
  DuplicateHandle(GetCurrentProcess(), early->m_hThread, GetCurrentProcess(), &h, 0, FALSE, DUPLICATE_SAME_ACCESS);
  early->ResumeThread();
  ASSERT_EQ(WaitForSingleObject(h, 10000), WAIT_OBJECT_0);
  GetExitCodeThread(h, &code);
  EXPECT_EQ(code, 7u);
  EXPECT_TRUE(early->m_bAutoDelete);
  delete early;
  CloseHandle(h);
}

UINT AFX_CDECL QuickProc(LPVOID param) {
  InterlockedIncrement(static_cast<LONG*>(param));
  return 0;
}

TEST_F(AppTest, AutoDeletingThreadsCleanUpThemselves) {
  LONG ran = 0;
  for (int i = 0; i < 20; ++i) ASSERT_NE(AfxBeginThread(QuickProc, &ran), nullptr);
  for (int i = 0; i < 200 && ran < 20; ++i) Sleep(10);
  EXPECT_EQ(ran, 20);
}

TEST_F(AppTest, ResourceChainFindsExtensionLibraries) {
  HMODULE res = LoadLibraryA("AfxTestRes.dll");
  ASSERT_NE(res, nullptr);
  CString s;
  EXPECT_FALSE(s.LoadString(IDS_CHAIN_ONLY));
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDR_CHAIN_DATA), RT_RCDATA), AfxGetResourceHandle());

  AFX_EXTENSION_MODULE module = {};
  ASSERT_TRUE(AfxInitExtensionModule(module, res));
  new CDynLinkLibrary(module);
  EXPECT_TRUE(s.LoadString(IDS_CHAIN_ONLY));
  EXPECT_STREQ(s, "found through the chain");
  CString formatted;
  AfxFormatString2(formatted, IDS_CHAIN_FORMAT, "salt", "pepper");
  EXPECT_STREQ(formatted, "salt and pepper");
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDR_CHAIN_DATA), RT_RCDATA), res);
  AfxLockGlobals(CRIT_DYNLINKLIST);
  EXPECT_EQ(AfxGetFirstDynLinkLibrary()->m_hModule, res);
  AfxUnlockGlobals(CRIT_DYNLINKLIST);

  // The current resource module is asked first, and framework texts come last.
  AfxSetResourceHandle(res);
  EXPECT_EQ(AfxGetResourceHandle(), res);
  AfxSetResourceHandle(GetModuleHandleA(NULL));
  CFileException e(CFileException::diskFull, -1, "x.dat");
  char text[128];
  EXPECT_TRUE(e.GetErrorMessage(text, sizeof text));
  EXPECT_STREQ(text, "Disk full while accessing x.dat.");

  AfxTermExtensionModule(module);
  EXPECT_EQ(AfxGetFirstDynLinkLibrary(), nullptr);
  EXPECT_FALSE(s.LoadString(IDS_CHAIN_ONLY));
  FreeLibrary(res);
}

// A library in the chain, joined on construction and left (and unloaded) on destruction.
class ChainLibrary {
 public:
  explicit ChainLibrary(LPCSTR name) : m_module(LoadLibraryA(name)) {
    if (m_module && AfxInitExtensionModule(m_state, m_module)) new CDynLinkLibrary(m_state);
  }
  ~ChainLibrary() {
    AfxTermExtensionModule(m_state);
    if (m_module) FreeLibrary(m_module);
  }
  HMODULE Module() const { return m_module; }

 private:
  HMODULE m_module;
  AFX_EXTENSION_MODULE m_state = {};
};

TEST_F(AppTest, DialogsAndWindowsUseTheModuleOfTheirTemplateAndClass) {
  ChainLibrary chain("AfxTestRes.dll");
  ASSERT_NE(chain.Module(), nullptr);
  // A window class the library registers for itself, named by its dialog template.
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = chain.Module();
  wc.lpszClassName = CHAIN_CONTROL_CLASS;
  ASSERT_NE(RegisterClassA(&wc), 0);

  CDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_CHAIN_DIALOG));
  EXPECT_NE(dialog.GetDlgItem(IDC_CHAIN_CONTROL), nullptr);
  dialog.DestroyWindow();

  CWnd wnd;
  EXPECT_TRUE(wnd.CreateEx(0, CHAIN_CONTROL_CLASS, "chain", WS_POPUP, CRect(0, 0, 20, 20), NULL, 0));
  EXPECT_EQ(HINSTANCE(GetWindowLongPtrA(wnd.m_hWnd, GWLP_HINSTANCE)), chain.Module());
  wnd.DestroyWindow();
  UnregisterClassA(CHAIN_CONTROL_CLASS, chain.Module());
}

TEST_F(AppTest, ResourceNumbersDefinedTwiceInTheChainAreReported) {
  CStringArray conflicts;
  ChainLibrary first("AfxTestRes.dll");
  EXPECT_EQ(AfxCheckResourceChain(conflicts), 0);
  {
    ChainLibrary second("AfxTestRes2.dll");
    ASSERT_EQ(AfxCheckResourceChain(conflicts), 2);
    EXPECT_STREQ(conflicts[0], "string 41000 in AfxTestRes2.dll and AfxTestRes.dll");
    EXPECT_STREQ(conflicts[1], "data 41002 in AfxTestRes2.dll and AfxTestRes.dll");
  }
  EXPECT_EQ(AfxCheckResourceChain(conflicts), 0);
  EXPECT_EQ(conflicts.GetSize(), 0);
}

TEST_F(AppTest, ALibraryMovedToTheHeadOfTheChainWinsAndTheOthersStay) {
  ChainLibrary first("AfxTestRes.dll");
  ChainLibrary second("AfxTestRes2.dll");
  CString s;
  ASSERT_TRUE(s.LoadString(IDS_CHAIN_ONLY));
  EXPECT_STREQ(s, "the second library's");

  AfxLockGlobals(CRIT_DYNLINKLIST);
  CDynLinkLibrary* head = AfxGetFirstDynLinkLibrary();
  CDynLinkLibrary* older = head->m_pNextDLL;
  EXPECT_EQ(older->m_hModule, first.Module());
  EXPECT_TRUE(AfxMoveDynLinkLibraryToHead(older));
  EXPECT_EQ(AfxGetFirstDynLinkLibrary(), older);
  EXPECT_EQ(older->m_pNextDLL, head);
  EXPECT_TRUE(AfxMoveDynLinkLibraryToHead(older));  // already there: nothing changes
  EXPECT_EQ(older->m_pNextDLL, head);
  AfxUnlockGlobals(CRIT_DYNLINKLIST);
  ASSERT_TRUE(s.LoadString(IDS_CHAIN_ONLY));
  EXPECT_STREQ(s, "found through the chain");
  EXPECT_TRUE(s.LoadString(IDS_CHAIN_SECOND_ONLY));
  EXPECT_FALSE(AfxMoveDynLinkLibraryToHead(NULL));
  EXPECT_EQ(AfxGetFirstDynLinkLibrary(), older);
}

}  // namespace
