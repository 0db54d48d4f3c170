// Tests of a real COM server built with the kit: registration in the prefix, discovery through its
// component category, creation, its type library and resource library, and unregistration.
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include <comkit/category.h>
#include <comkit/holders.h>
#include "comkitprobe.h"
#include "probe_ids.h"

namespace {

typedef HRESULT(WINAPI* GetClassObjectFunc)(REFCLSID, REFIID, void**);
typedef HRESULT(WINAPI* PlainFunc)();

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }

  static bool InCategory() {
    std::vector<CLSID> classes;
    comkit::EnumClassesInCategory(CATID_ComkitProbes, classes);
    for (const CLSID& clsid : classes) {
      if (IsEqualCLSID(clsid, CLSID_ComkitProbe)) return true;
    }
    return false;
  }

  static std::string ClassesValue(const std::string& key, const char* name) {
    char value[MAX_PATH] = "";
    DWORD size = sizeof(value);
    HKEY hkey;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &hkey) != ERROR_SUCCESS) return "<no key>";
    LONG result = RegQueryValueExA(hkey, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(hkey);
    return result == ERROR_SUCCESS ? std::string(value) : "<no value>";
  }
};

TEST_F(ServerTest, FoundThroughCategoryAndCreated) {
  ASSERT_TRUE(InCategory());
  comkit::ComPtr<IComkitProbe> probe;
  ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ComkitProbe, nullptr, CLSCTX_INPROC_SERVER, IID_IComkitProbe,
                                   probe.PutVoid()));
  long value = 0;
  EXPECT_EQ(S_OK, probe->GetValue(&value));
  EXPECT_EQ(PROBE_VALUE, value);
  comkit::Bstr greeting;
  ASSERT_EQ(S_OK, probe->GetGreeting(&greeting));
  EXPECT_EQ("Hello from the probe's resource library", greeting.ToAnsi());
}

TEST_F(ServerTest, RegistryEntriesAndTypeLibrary) {
  wchar_t clsidText[40];
  StringFromGUID2(CLSID_ComkitProbe, clsidText, 40);
  std::string key = "CLSID\\" + comkit::Narrow(clsidText);
  EXPECT_EQ("Comkit Probe Class", ClassesValue(key, nullptr));
  EXPECT_EQ("Apartment", ClassesValue(key + "\\InprocServer32", "ThreadingModel"));
  std::string server = ClassesValue(key + "\\InprocServer32", nullptr);
  EXPECT_NE(std::string::npos, server.find("ComkitProbe.dll")) << server;
  EXPECT_EQ(PROBE_PROGID, ClassesValue(std::string(PROBE_VI_PROGID) + "\\CurVer", nullptr));

  CLSID fromProgId;
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"" PROBE_VI_PROGID, &fromProgId));
  EXPECT_TRUE(IsEqualCLSID(CLSID_ComkitProbe, fromProgId));

  comkit::ComPtr<ITypeLib> typeLib;
  ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_ComkitProbeLib, 1, 0, LANG_NEUTRAL, &typeLib));
  comkit::ComPtr<ITypeInfo> info;
  EXPECT_EQ(S_OK, typeLib->GetTypeInfoOfGuid(IID_IComkitProbe, &info));
}

TEST_F(ServerTest, EntryPointsCacheFactoryAndCountLocks) {
  HMODULE dll = LoadLibraryA("ComkitProbe.dll");
  ASSERT_NE(nullptr, dll);
  auto getClassObject = reinterpret_cast<GetClassObjectFunc>(GetProcAddress(dll, "DllGetClassObject"));
  auto canUnloadNow = reinterpret_cast<PlainFunc>(GetProcAddress(dll, "DllCanUnloadNow"));
  ASSERT_TRUE(getClassObject && canUnloadNow) << "entry points must be exported undecorated";

  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(IID_IComkitProbe, IID_IClassFactory, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(E_POINTER, getClassObject(CLSID_ComkitProbe, IID_IClassFactory, nullptr));

  EXPECT_EQ(S_OK, canUnloadNow());
  comkit::ComPtr<IClassFactory> first, second;
  ASSERT_EQ(S_OK, getClassObject(CLSID_ComkitProbe, IID_IClassFactory, first.PutVoid()));
  ASSERT_EQ(S_OK, getClassObject(CLSID_ComkitProbe, IID_IClassFactory, second.PutVoid()));
  EXPECT_EQ(first.Get(), second.Get()) << "one class object per class";
  EXPECT_EQ(S_FALSE, canUnloadNow()) << "a held class object keeps the server";

  comkit::ComPtr<IComkitProbe> probe;
  ASSERT_EQ(S_OK, first->CreateInstance(nullptr, IID_IComkitProbe, probe.PutVoid()));
  comkit::ComPtr<IUnknown> aggregated;
  EXPECT_EQ(CLASS_E_NOAGGREGATION, first->CreateInstance(probe.Get(), IID_IUnknown, aggregated.PutVoid()));
  first.Release();
  second.Release();
  EXPECT_EQ(S_FALSE, canUnloadNow()) << "a live object keeps the server";
  probe.Release();
  EXPECT_EQ(S_OK, canUnloadNow());

  ASSERT_EQ(S_OK, getClassObject(CLSID_ComkitProbe, IID_IClassFactory, first.PutVoid()));
  EXPECT_EQ(S_OK, first->LockServer(TRUE));
  first.Release();
  EXPECT_EQ(S_FALSE, canUnloadNow());
  ASSERT_EQ(S_OK, getClassObject(CLSID_ComkitProbe, IID_IClassFactory, first.PutVoid()));
  EXPECT_EQ(S_OK, first->LockServer(FALSE));
  first.Release();
  EXPECT_EQ(S_OK, canUnloadNow());
  FreeLibrary(dll);
}

TEST_F(ServerTest, UnregisterRemovesAndRegisterRestores) {
  HMODULE dll = LoadLibraryA("ComkitProbe.dll");
  ASSERT_NE(nullptr, dll);
  auto unregisterServer = reinterpret_cast<PlainFunc>(GetProcAddress(dll, "DllUnregisterServer"));
  auto registerServer = reinterpret_cast<PlainFunc>(GetProcAddress(dll, "DllRegisterServer"));
  ASSERT_TRUE(unregisterServer && registerServer);

  ASSERT_EQ(S_OK, unregisterServer());
  EXPECT_EQ(S_OK, unregisterServer()) << "unregistering twice is harmless";
  EXPECT_FALSE(InCategory());
  comkit::ComPtr<IComkitProbe> probe;
  EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(CLSID_ComkitProbe, nullptr, CLSCTX_INPROC_SERVER,
                                                  IID_IComkitProbe, probe.PutVoid()));
  CLSID fromProgId;
  EXPECT_TRUE(FAILED(CLSIDFromProgID(L"" PROBE_VI_PROGID, &fromProgId)));

  ASSERT_EQ(S_OK, registerServer());
  EXPECT_TRUE(InCategory());
  EXPECT_EQ(S_OK, CoCreateInstance(CLSID_ComkitProbe, nullptr, CLSCTX_INPROC_SERVER, IID_IComkitProbe,
                                   probe.PutVoid()));
  probe.Release();
  FreeLibrary(dll);
}

}  // namespace
