// Automation across processes: afx_oleserver.exe, registered for the test as a LocalServer32 program, is
// started by COM and serves a host-shaped object, a collection walked with IEnumVARIANT and an object every
// client shares; each test ends with the server's own end (no process is left running).
#include <gtest/gtest.h>

#include <comcat.h>
#include <objsafe.h>

#include "afxdisp.h"
#include "ids.h"
#include "invoke.h"
#include "testhost.h"
#include "testprocess.h"

namespace {

// OLE on the test's thread, as a framework program has it after AfxOleInit.
class OleEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(NULL))); }
  void TearDown() override { OleUninitialize(); }
};
const ::testing::Environment* const g_ole = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

LONG ReadLong(IDispatch* object, DISPID id) {
  Args none;
  Call call = Invoke(object, id, DISPATCH_PROPERTYGET, none);
  EXPECT_EQ(S_OK, call.hr);
  EXPECT_EQ(VT_I4, call.result.vt);
  return call.result.lVal;
}

// The server process behind an object: ends by itself once its last object is released.
class ServerProcess {
 public:
  explicit ServerProcess(DWORD id) : m_handle(OpenProcess(SYNCHRONIZE, FALSE, id)) {}
  ~ServerProcess() {
    if (m_handle) CloseHandle(m_handle);
  }
  bool Ended() { return m_handle && WaitForSingleObject(m_handle, 15000) == WAIT_OBJECT_0; }
  bool Running() { return m_handle && WaitForSingleObject(m_handle, 0) == WAIT_TIMEOUT; }

 private:
  HANDLE m_handle;
};

class AutomationServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(0u, RunToEnd("\"" + BesideTest("afx_oleserver.exe") + "\" /RegServer"));
  }
  static void TearDownTestSuite() {
    EXPECT_EQ(0, ServersLeft());
    RunToEnd("\"" + BesideTest("afx_oleserver.exe") + "\" /UnregServer");
    CLSID clsid;
    EXPECT_TRUE(FAILED(CLSIDFromProgID(L"" OLETEST_HOST_PROGID, &clsid)));  // the registration is gone
    ITypeLib* library = NULL;
    EXPECT_TRUE(FAILED(LoadRegTypeLib(LIBID_OrvAfxTestServer, 1, 0, 0, &library)));
  }

  IDispatch* Create(LPCOLESTR progId) {
    CLSID clsid;
    EXPECT_EQ(S_OK, CLSIDFromProgID(progId, &clsid));
    IDispatch* object = NULL;
    EXPECT_EQ(S_OK, CoCreateInstance(clsid, NULL, CLSCTX_LOCAL_SERVER, IID_IDispatch, reinterpret_cast<void**>(&object)));
    return object;
  }
};

TEST_F(AutomationServerTest, TheClassIsRegisteredAsALocalServerInBothSafeForScriptingCategories) {
  char command[MAX_PATH * 2] = "";
  LONG size = sizeof command;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueA(HKEY_CLASSES_ROOT, "CLSID\\{F3E76F29-45E7-4818-9354-6B11AC1C2085}\\LocalServer32",
                                          command, &size));
  EXPECT_NE(nullptr, strstr(command, "afx_oleserver.exe\" /Automation")) << command;
  ICatInformation* categories = NULL;
  ASSERT_EQ(S_OK, CoCreateInstance(CLSID_StdComponentCategoriesMgr, NULL, CLSCTX_INPROC_SERVER, IID_ICatInformation,
                                   reinterpret_cast<void**>(&categories)));
  CATID safe[] = {CATID_SafeForScripting, CATID_SafeForInitializing};
  EXPECT_EQ(S_OK, categories->IsClassOfCategories(CLSID_OleTestHost, 2, safe, 0, safe));
  categories->Release();
}

TEST_F(AutomationServerTest, EveryIdOfTheHostShapeAnswersAcrossProcesses) {
  IDispatch* host = Create(L"" OLETEST_HOST_PROGID);
  ASSERT_NE(nullptr, host);
  DWORD serverId = DWORD(ReadLong(host, kHostProcessId));
  EXPECT_NE(GetCurrentProcessId(), serverId);
  ServerProcess server(serverId);

  struct Step {
    DISPID id;
    const wchar_t* text;   // a string argument, or null
    LONG number;           // else a number argument (-1: none)
    VARTYPE resultType;
    VARIANT_BOOL boolResult;
  } steps[] = {
      {kHostOpen, L"C:\\pictures\\one.jpg", -1, VT_EMPTY, 0},
      {kHostLaunch, L"NXComponent.Gallery.1", -1, VT_BOOL, VARIANT_TRUE},
      {kHostLaunch, L"", -1, VT_BOOL, VARIANT_FALSE},
      {kHostSetGalleryPath, L"C:\\windows", -1, VT_BOOL, VARIANT_TRUE},
      {kHostLaunchDocObject, L"OrvAfxTest.Document", -1, VT_BOOL, VARIANT_TRUE},
      {kHostShowSlideTable, nullptr, 1, VT_EMPTY, 0},  // a number where a BOOL goes
      {kHostDockSlideTable, L"2", -1, VT_EMPTY, 0},     // a text where a short goes
      {kHostRunCommand, L"notepad.exe", -1, VT_EMPTY, 0},
  };
  for (const Step& step : steps) {
    Args args;
    if (step.text)
      args.Str(step.text);
    else if (step.number >= 0)
      args.I4(step.number);
    Call call = Invoke(host, step.id, DISPATCH_METHOD, args);
    ASSERT_EQ(S_OK, call.hr) << "id " << step.id;
    EXPECT_EQ(step.resultType, call.result.vt) << "id " << step.id;
    if (step.resultType == VT_BOOL) {
      EXPECT_EQ(step.boolResult, call.result.boolVal) << "id " << step.id;
    }
  }
  Args none;
  Call version = Invoke(host, kHostGetVersionNumbers, DISPATCH_METHOD, none);
  EXPECT_EQ(L"open=C:\\pictures\\one.jpg&launch=OrvAfxTest.Document&gallery=C:\\windows&shown=1&side=2&run=notepad.exe",
            TakeString(version));

  // Id 8 is not assigned.
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Invoke(host, 8, DISPATCH_METHOD, none).hr);

  // By-reference longs come back.
  LONG width = 0, height = 0;
  VARIANT byWidth, byHeight;
  byWidth.vt = byHeight.vt = VT_I4 | VT_BYREF;
  byWidth.plVal = &width;
  byHeight.plVal = &height;
  Args sizes;
  sizes.Raw(byWidth).Raw(byHeight);
  EXPECT_EQ(S_OK, Invoke(host, kHostGetThumbnailSize, DISPATCH_METHOD, sizes).hr);
  sizes.items.clear();
  EXPECT_EQ(112, width);
  EXPECT_EQ(80, height);

  // A method that throws: the application's code and the description from the server's resources.
  Call failed = Invoke(host, kHostFail, DISPATCH_METHOD, none);
  EXPECT_EQ(DISP_E_EXCEPTION, failed.hr);
  EXPECT_EQ(OLETEST_FAIL_CODE, failed.info.wCode);
  EXPECT_EQ(0, failed.info.scode);
  HMODULE resources = LoadLibraryExA(BesideTest("afx_oleserver.exe"), NULL, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, resources);
  WCHAR expected[256];
  ASSERT_GT(LoadStringW(resources, IDS_OLETEST_FAIL, expected, 256), 0);
  FreeLibrary(resources);
  EXPECT_STREQ(expected, failed.info.bstrDescription);
  EXPECT_EQ(DWORD(IDS_OLETEST_FAIL), failed.info.dwHelpContext);  // help id -1: the description's number
  SysFreeString(failed.info.bstrDescription);
  SysFreeString(failed.info.bstrSource);
  SysFreeString(failed.info.bstrHelpFile);

  host->Release();
  EXPECT_TRUE(server.Ended());
}

TEST_F(AutomationServerTest, TheDispatchDriverCallsTheSameIds) {
  COleDispatchDriver host;
  COleException error;
  ASSERT_TRUE(host.CreateDispatch(OLETEST_HOST_PROGID, &error)) << std::hex << error.m_sc;
  long serverId = 0;
  host.GetProperty(kHostProcessId, VT_I4, &serverId);
  ServerProcess server{DWORD(serverId)};
  ASSERT_TRUE(server.Running());

  const BYTE* kString = reinterpret_cast<const BYTE*>(VTS_BSTR);
  host.InvokeHelper(kHostOpen, DISPATCH_METHOD, VT_EMPTY, NULL, kString, "D:\\b.png");
  BOOL launched = TRUE;
  host.InvokeHelper(kHostLaunch, DISPATCH_METHOD, VT_BOOL, &launched, kString, "");
  EXPECT_FALSE(launched);
  host.InvokeHelper(kHostLaunchDocObject, DISPATCH_METHOD, VT_BOOL, &launched, kString, "Doc");
  EXPECT_TRUE(launched);
  BOOL exists = TRUE;
  host.InvokeHelper(kHostSetGalleryPath, DISPATCH_METHOD, VT_BOOL, &exists, kString, "C:\\no such folder");
  EXPECT_FALSE(exists);
  host.InvokeHelper(kHostShowSlideTable, DISPATCH_METHOD, VT_EMPTY, NULL, reinterpret_cast<const BYTE*>(VTS_BOOL), TRUE);
  host.InvokeHelper(kHostDockSlideTable, DISPATCH_METHOD, VT_EMPTY, NULL, reinterpret_cast<const BYTE*>(VTS_I2), short(3));
  host.InvokeHelper(kHostRunCommand, DISPATCH_METHOD, VT_EMPTY, NULL, kString, "calc");
  CString version;
  host.InvokeHelper(kHostGetVersionNumbers, DISPATCH_METHOD, VT_BSTR, &version, NULL);
  EXPECT_STREQ("open=D:\\b.png&launch=Doc&gallery=C:\\no such folder&shown=1&side=3&run=calc", version);
  LPDISPATCH table = NULL;
  host.InvokeHelper(kHostSlideTable, DISPATCH_METHOD, VT_DISPATCH, &table, NULL);
  ASSERT_NE(nullptr, table);
  COleDispatchDriver items(table);
  short count = 0;
  items.GetProperty(kItemsCount, VT_I2, &count);
  EXPECT_EQ(3, count);

  try {
    host.InvokeHelper(kHostFail, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
    ADD_FAILURE() << "no exception";
  } catch (COleDispatchException* e) {
    EXPECT_EQ(OLETEST_FAIL_CODE, e->m_wCode);
    EXPECT_FALSE(e->m_strDescription.IsEmpty());
    e->Delete();
  }
  try {
    host.InvokeHelper(8, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
    ADD_FAILURE() << "no exception";
  } catch (COleException* e) {
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, e->m_sc);
    e->Delete();
  }
  items.ReleaseDispatch();
  host.ReleaseDispatch();
  EXPECT_TRUE(server.Ended());
}

TEST_F(AutomationServerTest, TheTypeLibraryAndTheDispatchMapAgreeOnNamesAndIds) {
  IDispatch* host = Create(L"" OLETEST_HOST_PROGID);
  ASSERT_NE(nullptr, host);
  ServerProcess server(DWORD(ReadLong(host, kHostProcessId)));
  UINT count = 0;
  ASSERT_EQ(S_OK, host->GetTypeInfoCount(&count));
  ASSERT_EQ(1u, count);
  ITypeInfo* info = NULL;
  ASSERT_EQ(S_OK, host->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
  TYPEATTR* attr = NULL;
  ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
  EXPECT_EQ(DIID_IOleTestHost, attr->guid);
  int checked = 0;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* func = NULL;
    ASSERT_EQ(S_OK, info->GetFuncDesc(i, &func));
    BSTR name = NULL;
    UINT names = 0;
    ASSERT_EQ(S_OK, info->GetNames(func->memid, &name, 1, &names));
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(S_OK, host->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)) << "name";
    EXPECT_EQ(func->memid, id);
    ++checked;
    SysFreeString(name);
    info->ReleaseFuncDesc(func);
  }
  EXPECT_EQ(15, checked);
  info->ReleaseTypeAttr(attr);
  info->Release();
  // The dispinterface's own identifier is answered too.
  IDispatch* typed = NULL;
  EXPECT_EQ(S_OK, host->QueryInterface(DIID_IOleTestHost, reinterpret_cast<void**>(&typed)));
  if (typed) typed->Release();
  host->Release();
  EXPECT_TRUE(server.Ended());
}

TEST_F(AutomationServerTest, ACollectionIsWalkedWithItsEnumeratorAndFreedWithTheLastReference) {
  IDispatch* host = Create(L"" OLETEST_HOST_PROGID);
  ASSERT_NE(nullptr, host);
  ServerProcess server(DWORD(ReadLong(host, kHostProcessId)));
  EXPECT_EQ(1, ReadLong(host, kHostLiveObjects));

  Args none;
  Call table = Invoke(host, kHostSlideTable, DISPATCH_METHOD, none);
  ASSERT_EQ(VT_DISPATCH, table.result.vt);
  IDispatch* items = table.result.pdispVal;
  Call count = Invoke(items, kItemsCount, DISPATCH_PROPERTYGET, none);
  EXPECT_EQ(VT_I2, count.result.vt);
  EXPECT_EQ(3, count.result.iVal);

  // Item, by its id and as the default member; an index that is no number fails with the conversion's error.
  for (DISPID id : {DISPID(kItemsItem), DISPID(DISPID_VALUE)}) {
    Args index;
    index.I4(1);
    Call item = Invoke(items, id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, index);
    ASSERT_EQ(VT_DISPATCH, item.result.vt);
    Call path = Invoke(item.result.pdispVal, kItemPath, DISPATCH_PROPERTYGET, none);
    EXPECT_EQ(L"C:\\pictures\\two.png", TakeString(path));
    VariantClear(&item.result);
  }
  Args letter;
  letter.Str(L"x");
  Call refused = Invoke(items, kItemsItem, DISPATCH_METHOD, letter);
  EXPECT_EQ(DISP_E_EXCEPTION, refused.hr);
  EXPECT_EQ(DISP_E_TYPEMISMATCH, refused.info.scode);
  SysFreeString(refused.info.bstrDescription);
  SysFreeString(refused.info.bstrSource);

  // For Each: _NewEnum (-4) gives the enumerator, Next(1) one item at a time.
  Call newEnum = Invoke(items, DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, none);
  ASSERT_EQ(VT_UNKNOWN, newEnum.result.vt);
  IEnumVARIANT* walk = NULL;
  ASSERT_EQ(S_OK, newEnum.result.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&walk)));
  VariantClear(&newEnum.result);
  const wchar_t* names[] = {L"one.jpg", L"two.png", L"three.bmp"};
  for (const wchar_t* expected : names) {
    VARIANT item;
    VariantInit(&item);
    ULONG fetched = 0;
    ASSERT_EQ(S_OK, walk->Next(1, &item, &fetched));
    EXPECT_EQ(1u, fetched);
    ASSERT_EQ(VT_DISPATCH, item.vt);
    Call name = Invoke(item.pdispVal, kItemName, DISPATCH_PROPERTYGET, none);
    EXPECT_EQ(expected, TakeString(name));
    VariantClear(&item);
  }
  VARIANT rest[2];
  ULONG fetched = 9;
  EXPECT_EQ(S_FALSE, walk->Next(1, rest, &fetched));
  EXPECT_EQ(0u, fetched);
  EXPECT_EQ(E_INVALIDARG, walk->Next(2, rest, &fetched));
  EXPECT_EQ(E_INVALIDARG, walk->Skip(2));
  EXPECT_EQ(S_OK, walk->Reset());
  EXPECT_EQ(S_OK, walk->Skip(1));
  IEnumVARIANT* copy = NULL;
  EXPECT_EQ(E_NOTIMPL, walk->Clone(&copy));
  // The host, the collection and the enumerator live; every item handed out is gone.
  EXPECT_EQ(3, ReadLong(host, kHostLiveObjects));
  walk->Release();
  items->Release();
  EXPECT_EQ(1, ReadLong(host, kHostLiveObjects));
  host->Release();
  EXPECT_TRUE(server.Ended());
}

TEST_F(AutomationServerTest, AFactoryThatHandsOutItsObjectGivesTwoClientsTheSameOne) {
  IDispatch* first = Create(L"" OLETEST_SINGLE_PROGID);
  IDispatch* second = Create(L"" OLETEST_SINGLE_PROGID);
  ASSERT_NE(nullptr, first);
  ASSERT_NE(nullptr, second);
  ServerProcess server(DWORD(ReadLong(first, kSingleProcessId)));
  IUnknown* one = NULL;
  IUnknown* other = NULL;
  first->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&one));
  second->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&other));
  EXPECT_EQ(one, other);  // one identity: the same object behind both
  one->Release();
  other->Release();
  Args value;
  value.I4(42);
  ASSERT_EQ(S_OK, Invoke(first, kSingleValue, DISPATCH_PROPERTYPUT, value, true).hr);
  EXPECT_EQ(42, ReadLong(second, kSingleValue));
  first->Release();
  EXPECT_EQ(42, ReadLong(second, kSingleValue));
  second->Release();
  EXPECT_TRUE(server.Ended());
}

// An object its owner deletes while another process still holds it: the holder's calls fail, its release
// is harmless, and the server goes on and ends as usual.
TEST_F(AutomationServerTest, AnObjectDeletedByItsOwnerIsCutOffFromItsClients) {
  IDispatch* host = Create(L"" OLETEST_HOST_PROGID);
  ASSERT_NE(nullptr, host);
  ServerProcess server{DWORD(ReadLong(host, kHostProcessId))};
  Args none;
  Call owned = Invoke(host, kHostOwned, DISPATCH_METHOD, none);
  ASSERT_EQ(VT_DISPATCH, owned.result.vt);
  IDispatch* object = owned.result.pdispVal;
  Call ping = Invoke(object, kOwnedPing, DISPATCH_METHOD, none);
  EXPECT_EQ(7, ping.result.lVal);
  ASSERT_EQ(S_OK, Invoke(host, kHostDropOwned, DISPATCH_METHOD, none).hr);
  HRESULT cutOff = Invoke(object, kOwnedPing, DISPATCH_METHOD, none).hr;
  EXPECT_TRUE(cutOff == RPC_E_DISCONNECTED || cutOff == CO_E_OBJNOTCONNECTED) << std::hex << cutOff;
  object->Release();
  EXPECT_EQ(1, ReadLong(host, kHostLiveObjects));  // the server is still there and well
  host->Release();
  EXPECT_TRUE(server.Ended());
}

// The way pages and scripts use the object: late bound by name, For Each over the collection, default
// members, variables passed by reference, and the error a failing method raises.
TEST_F(AutomationServerTest, AScriptDrivesTheObjectByName) {
  // Every check sets the exit code; the objects are let go before the script ends, so that the server ends
  // too (a script that quits while holding them leaves them held).
  static const char kScript[] =
      "code = 0\r\n"
      "Set host = CreateObject(\"" OLETEST_HOST_PROGID "\")\r\n"
      "host.Open \"C:\\pictures\\one.jpg\"\r\n"
      "names = \"\"\r\n"
      "For Each slide In host.SlideTable\r\n"
      "  names = names & slide.Name & \";\"\r\n"
      "Next\r\n"
      "Set slide = Nothing\r\n"
      "If names <> \"one.jpg;two.png;three.bmp;\" Then code = 1\r\n"
      "Dim w, h\r\n"
      "host.GetThumbnailSize w, h\r\n"
      "If w <> 112 Or h <> 80 Then code = 2\r\n"
      "Set table = host.SlideTable\r\n"
      "If table.Count <> 3 Or table.Item(2).Path <> \"C:\\pictures\\three.bmp\" Then code = 3\r\n"
      "If table(0) <> \"C:\\pictures\\one.jpg\" Then code = 4\r\n"
      "Set table = Nothing\r\n"
      "On Error Resume Next\r\n"
      "host.Fail\r\n"
      "If Err.Description = \"\" Then code = 5\r\n"
      "On Error Goto 0\r\n"
      "Set host = Nothing\r\n"
      "WScript.Quit code\r\n";
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  CString script = CString(folder) + "afxoletest.vbs";
  HANDLE file = CreateFileA(script, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  DWORD written = 0;
  WriteFile(file, kScript, DWORD(sizeof kScript - 1), &written, NULL);
  CloseHandle(file);
  EXPECT_EQ(0u, RunToEnd("cscript.exe //nologo \"" + script + "\""));
  DeleteFileA(script);
  EXPECT_EQ(0, ServersLeft());
}

}  // namespace
