// Dispatch maps in one process: how Invoke converts arguments, refuses wrong calls, reports exceptions,
// finds names and default members, and how the dispatch driver calls through the same object.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "afxdisp.h"
#include "invoke.h"

namespace {

LONG g_live = 0;

class CShape : public CCmdTarget {
 public:
  CShape() {
    EnableAutomation();
    ++g_live;
  }
  ~CShape() override { --g_live; }

  CString m_last;
  BOOL m_shown = 2;  // neither TRUE nor FALSE until set
  short m_side = -1;
  BOOL m_flag = FALSE;
  int m_flagChanges = 0;
  CString m_name = "shape";

  void Open(LPCSTR path) { m_last = path; }
  BOOL Launch(LPCSTR locator) { return *locator != 0; }
  void Show(BOOL show) { m_shown = show; }
  void Dock(short side) { m_side = side; }
  CString Version() { return "format=01&open=" + m_last; }
  double Mix(short a, long b, float c, double d) { return a + b + c + d; }
  void GetSize(long* width, long* height) {
    *width = 80;
    *height = 60;
  }
  void Toggle(BOOL* value) { *value = !*value; }
  void Rename(BSTR* text) {
    SysFreeString(*text);
    *text = SysAllocString(L"renamed");
  }
  VARIANT Echo(const VARIANT& value) {
    VARIANT copy;
    VariantInit(&copy);
    VariantCopy(&copy, const_cast<VARIANT*>(&value));
    return copy;
  }
  LPDISPATCH Self() { return GetIDispatch(TRUE); }
  long IsSelf(LPDISPATCH other) { return FromIDispatch(other) == this ? 1 : 0; }
  void Fail() { AfxThrowOleDispatchException(7, "the shape broke", 0); }
  void FailMemory() { AfxThrowMemoryException(); }
  void FailLibrary() { throw std::runtime_error("a library failed"); }
  void OnFlagChanged() { ++m_flagChanges; }
  short GetCount() { return 3; }
  CString GetName() { return m_name; }
  void SetName(LPCSTR name) { m_name = name; }

  DECLARE_DISPATCH_MAP()
};

enum {
  kOpen = 1, kLaunch = 3, kShow = 6, kDock = 7, kVersion = 9, kMix = 11, kGetSize = 12, kToggle = 13, kRename = 14,
  kEcho = 15, kSelf = 16, kIsSelf = 17, kFail = 20, kFailMemory = 21, kFailLibrary = 22, kFlag = 30, kCount = 31,
  kName = 32
};

BEGIN_DISPATCH_MAP(CShape, CCmdTarget)
  DISP_FUNCTION_ID(CShape, "Open", kOpen, Open, VT_EMPTY, VTS_BSTR)
  DISP_FUNCTION_ID(CShape, "Launch", kLaunch, Launch, VT_BOOL, VTS_BSTR)
  DISP_FUNCTION_ID(CShape, "Show", kShow, Show, VT_EMPTY, VTS_BOOL)
  DISP_FUNCTION_ID(CShape, "Dock", kDock, Dock, VT_EMPTY, VTS_I2)
  DISP_FUNCTION_ID(CShape, "Version", kVersion, Version, VT_BSTR, VTS_NONE)
  DISP_FUNCTION_ID(CShape, "Mix", kMix, Mix, VT_R8, VTS_I2 VTS_I4 VTS_R4 VTS_R8)
  DISP_FUNCTION_ID(CShape, "GetSize", kGetSize, GetSize, VT_EMPTY, VTS_PI4 VTS_PI4)
  DISP_FUNCTION_ID(CShape, "Toggle", kToggle, Toggle, VT_EMPTY, VTS_PBOOL)
  DISP_FUNCTION_ID(CShape, "Rename", kRename, Rename, VT_EMPTY, VTS_PBSTR)
  DISP_FUNCTION_ID(CShape, "Echo", kEcho, Echo, VT_VARIANT, VTS_VARIANT)
  DISP_FUNCTION_ID(CShape, "Self", kSelf, Self, VT_DISPATCH, VTS_NONE)
  DISP_FUNCTION_ID(CShape, "IsSelf", kIsSelf, IsSelf, VT_I4, VTS_DISPATCH)
  DISP_FUNCTION_ID(CShape, "Fail", kFail, Fail, VT_EMPTY, VTS_NONE)
  DISP_FUNCTION_ID(CShape, "FailMemory", kFailMemory, FailMemory, VT_EMPTY, VTS_NONE)
  DISP_FUNCTION_ID(CShape, "FailLibrary", kFailLibrary, FailLibrary, VT_EMPTY, VTS_NONE)
  DISP_PROPERTY_NOTIFY_ID(CShape, "Flag", kFlag, m_flag, OnFlagChanged, VT_BOOL)
  DISP_PROPERTY_EX_ID(CShape, "Count", kCount, GetCount, SetNotSupported, VT_I2)
  DISP_PROPERTY_EX_ID(CShape, "Name", kName, GetName, SetName, VT_BSTR)
  DISP_DEFVALUE(CShape, "Name")
END_DISPATCH_MAP()

class DispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shape = new CShape;
    dispatch = shape->GetIDispatch(FALSE);
  }
  void TearDown() override {
    shape->InternalRelease();
    EXPECT_EQ(0, g_live);
  }
  CShape* shape = nullptr;
  IDispatch* dispatch = nullptr;
};

TEST_F(DispatchTest, ArgumentsAreConvertedToTheMembersTypes) {
  {
    Args args;
    args.Str(L"C:\\a.jpg");
    EXPECT_EQ(S_OK, Invoke(dispatch, kOpen, DISPATCH_METHOD, args).hr);
    EXPECT_STREQ("C:\\a.jpg", shape->m_last);
  }
  {
    Args args;
    args.I4(123);  // a number where a string is expected: converted, as scripts expect
    EXPECT_EQ(S_OK, Invoke(dispatch, kOpen, DISPATCH_METHOD, args).hr);
    EXPECT_STREQ("123", shape->m_last);
  }
  {
    Args args;
    args.Bool(true);  // VARIANT_TRUE (-1) reaches the member as TRUE
    EXPECT_EQ(S_OK, Invoke(dispatch, kShow, DISPATCH_METHOD, args).hr);
    EXPECT_EQ(TRUE, shape->m_shown);
  }
  {
    Args args;
    args.Str(L"2");
    EXPECT_EQ(S_OK, Invoke(dispatch, kDock, DISPATCH_METHOD, args).hr);
    EXPECT_EQ(2, shape->m_side);
  }
  {
    Args args;
    args.I4(1).I4(20).Str(L"0.5").I4(300);
    Call call = Invoke(dispatch, kMix, DISPATCH_METHOD, args);
    ASSERT_EQ(S_OK, call.hr);
    EXPECT_EQ(VT_R8, call.result.vt);
    EXPECT_DOUBLE_EQ(321.5, call.result.dblVal);
  }
  struct Case {
    const wchar_t* locator;
    VARIANT_BOOL expected;
  } cases[] = {{L"", VARIANT_FALSE}, {L"Gallery", VARIANT_TRUE}};
  for (const Case& c : cases) {
    Args args;
    args.Str(c.locator);
    Call call = Invoke(dispatch, kLaunch, DISPATCH_METHOD, args);
    ASSERT_EQ(S_OK, call.hr);
    EXPECT_EQ(VT_BOOL, call.result.vt);
    EXPECT_EQ(c.expected, call.result.boolVal);
  }
  Args none;
  Call version = Invoke(dispatch, kVersion, DISPATCH_METHOD | DISPATCH_PROPERTYGET, none);
  ASSERT_EQ(S_OK, version.hr);
  EXPECT_EQ(L"format=01&open=123", TakeString(version));
}

TEST_F(DispatchTest, WrongCallsAreRefusedWithTheirStatus) {
  struct Case {
    const char* what;
    DISPID id;
    WORD flags;
    int argCount;  // string arguments "x"
    HRESULT expected;
  } cases[] = {
      {"unassigned id", 8, DISPATCH_METHOD, 0, DISP_E_MEMBERNOTFOUND},
      {"too few arguments", kOpen, DISPATCH_METHOD, 0, DISP_E_BADPARAMCOUNT},
      {"too many arguments", kOpen, DISPATCH_METHOD, 2, DISP_E_BADPARAMCOUNT},
      {"a method set as a property", kOpen, DISPATCH_PROPERTYPUT, 1, DISP_E_MEMBERNOTFOUND},
      {"a read-only property set", kCount, DISPATCH_PROPERTYPUT, 1, DISP_E_MEMBERNOTFOUND},
      {"a text that is no number", kDock, DISPATCH_METHOD, 1, DISP_E_TYPEMISMATCH},
  };
  for (const Case& c : cases) {
    Args args;
    for (int i = 0; i < c.argCount; ++i) args.Str(L"x");
    Call call = Invoke(dispatch, c.id, c.flags, args, c.flags == DISPATCH_PROPERTYPUT);
    EXPECT_EQ(c.expected, call.hr) << c.what;
    if (c.expected == DISP_E_TYPEMISMATCH) {
      EXPECT_EQ(0u, call.argErr) << c.what;
    }
  }
  {
    Args args;
    args.I4(70000);  // does not fit a short
    EXPECT_EQ(DISP_E_OVERFLOW, Invoke(dispatch, kDock, DISPATCH_METHOD, args).hr);
  }
  {
    // The bad argument is named by its place in the caller's (reversed) list.
    Args args;
    args.I4(1).Str(L"many").I4(3).I4(4);
    Call call = Invoke(dispatch, kMix, DISPATCH_METHOD, args);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, call.hr);
    EXPECT_EQ(2u, call.argErr);
  }
  {
    Args args;
    args.Str(L"a");
    DISPID named = 1;
    DISPPARAMS params = {args.items.data(), &named, 1, 1};
    VARIANT result;
    EXPECT_EQ(DISP_E_NONAMEDARGS, dispatch->Invoke(kOpen, IID_NULL, 0, DISPATCH_METHOD, &params, &result, NULL, NULL));
    EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, dispatch->Invoke(kOpen, IID_IDispatch, 0, DISPATCH_METHOD, &params, &result, NULL, NULL));
  }
  EXPECT_STREQ("", shape->m_last);
}

TEST_F(DispatchTest, ExceptionsOfMembersReachTheCallerInExcepInfo) {
  struct Case {
    DISPID id;
    WORD code;
    SCODE scode;
    const wchar_t* description;
  } cases[] = {
      {kFail, 7, 0, L"the shape broke"},
      {kFailMemory, 0, E_OUTOFMEMORY, nullptr},
      {kFailLibrary, 0, E_UNEXPECTED, nullptr},
  };
  for (const Case& c : cases) {
    Args none;
    Call call = Invoke(dispatch, c.id, DISPATCH_METHOD, none);
    EXPECT_EQ(DISP_E_EXCEPTION, call.hr);
    EXPECT_EQ(c.code, call.info.wCode);
    EXPECT_EQ(c.scode, call.info.scode);
    if (c.description) {
      EXPECT_STREQ(c.description, call.info.bstrDescription);
    } else {
      EXPECT_GT(SysStringLen(call.info.bstrDescription), 0u);
    }
    EXPECT_NE(nullptr, call.info.bstrSource);
    SysFreeString(call.info.bstrSource);
    SysFreeString(call.info.bstrDescription);
    SysFreeString(call.info.bstrHelpFile);
  }
  // Without room for the report the call still fails the same way.
  DISPPARAMS params = {NULL, NULL, 0, 0};
  EXPECT_EQ(DISP_E_EXCEPTION, dispatch->Invoke(kFail, IID_NULL, 0, DISPATCH_METHOD, &params, NULL, NULL, NULL));
}

TEST_F(DispatchTest, ReferencesArePassedBothWays) {
  {
    // As typed arguments, and as script variables (VARIANT by reference) that take the parameter's type.
    LONG width = 0;
    VARIANT height;
    VariantInit(&height);
    VARIANT byWidth;
    byWidth.vt = VT_I4 | VT_BYREF;
    byWidth.plVal = &width;
    VARIANT byHeight;
    byHeight.vt = VT_VARIANT | VT_BYREF;
    byHeight.pvarVal = &height;
    Args args;
    args.Raw(byWidth).Raw(byHeight);
    ASSERT_EQ(S_OK, Invoke(dispatch, kGetSize, DISPATCH_METHOD, args).hr);
    EXPECT_EQ(80, width);
    EXPECT_EQ(VT_I4, height.vt);
    EXPECT_EQ(60, height.lVal);
    args.items.clear();  // nothing of these is owned
  }
  {
    VARIANT_BOOL flag = VARIANT_FALSE;
    VARIANT byFlag;
    byFlag.vt = VT_BOOL | VT_BYREF;
    byFlag.pboolVal = &flag;
    Args args;
    args.Raw(byFlag);
    ASSERT_EQ(S_OK, Invoke(dispatch, kToggle, DISPATCH_METHOD, args).hr);
    EXPECT_EQ(VARIANT_TRUE, flag);
    args.items.clear();
  }
  {
    BSTR text = SysAllocString(L"old");
    VARIANT byText;
    byText.vt = VT_BSTR | VT_BYREF;
    byText.pbstrVal = &text;
    Args args;
    args.Raw(byText);
    ASSERT_EQ(S_OK, Invoke(dispatch, kRename, DISPATCH_METHOD, args).hr);
    EXPECT_STREQ(L"renamed", text);
    SysFreeString(text);
    args.items.clear();
  }
  {
    // A value where a reference is expected cannot be written back.
    Args args;
    args.I4(1).I4(2);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, Invoke(dispatch, kGetSize, DISPATCH_METHOD, args).hr);
  }
}

TEST_F(DispatchTest, PropertiesReadWriteAndNotify) {
  Args on;
  on.Bool(true);
  ASSERT_EQ(S_OK, Invoke(dispatch, kFlag, DISPATCH_PROPERTYPUT, on, true).hr);
  EXPECT_EQ(TRUE, shape->m_flag);
  EXPECT_EQ(1, shape->m_flagChanges);
  Args none;
  Call flag = Invoke(dispatch, kFlag, DISPATCH_PROPERTYGET, none);
  ASSERT_EQ(S_OK, flag.hr);
  EXPECT_EQ(VT_BOOL, flag.result.vt);
  EXPECT_EQ(VARIANT_TRUE, flag.result.boolVal);

  Call count = Invoke(dispatch, kCount, DISPATCH_PROPERTYGET, none);
  ASSERT_EQ(S_OK, count.hr);
  EXPECT_EQ(VT_I2, count.result.vt);
  EXPECT_EQ(3, count.result.iVal);

  // The default value is the member DISP_DEFVALUE names.
  Args name;
  name.Str(L"circle");
  ASSERT_EQ(S_OK, Invoke(dispatch, DISPID_VALUE, DISPATCH_PROPERTYPUT, name, true).hr);
  EXPECT_STREQ("circle", shape->m_name);
  Call value = Invoke(dispatch, DISPID_VALUE, DISPATCH_PROPERTYGET, none);
  EXPECT_EQ(L"circle", TakeString(value));
}

TEST_F(DispatchTest, InterfacesAndObjectsPassThrough) {
  // An object handed out carries the caller's reference; one passed in is lent for the call.
  LONG before = shape->m_dwRef;
  Args none;
  Call self = Invoke(dispatch, kSelf, DISPATCH_METHOD, none);
  ASSERT_EQ(VT_DISPATCH, self.result.vt);
  EXPECT_EQ(static_cast<IDispatch*>(dispatch), self.result.pdispVal);
  EXPECT_EQ(before + 1, shape->m_dwRef);
  Args same;
  same.Raw(self.result);
  Call isSelf = Invoke(dispatch, kIsSelf, DISPATCH_METHOD, same);
  EXPECT_EQ(1, isSelf.result.lVal);
  same.items.clear();
  VariantClear(&self.result);
  EXPECT_EQ(before, shape->m_dwRef);
  // A result nobody asked for is released, not leaked.
  DISPPARAMS params = {NULL, NULL, 0, 0};
  ASSERT_EQ(S_OK, dispatch->Invoke(kSelf, IID_NULL, 0, DISPATCH_METHOD, &params, NULL, NULL, NULL));
  EXPECT_EQ(before, shape->m_dwRef);

  Args echo;
  echo.Str(L"echo");
  Call echoed = Invoke(dispatch, kEcho, DISPATCH_METHOD, echo);
  EXPECT_EQ(L"echo", TakeString(echoed));
}

TEST_F(DispatchTest, NamesAreFoundWithoutRegardToCase) {
  struct Case {
    const wchar_t* name;
    DISPID id;
    HRESULT hr;
  } cases[] = {{L"Open", kOpen, S_OK}, {L"oPEN", kOpen, S_OK}, {L"count", kCount, S_OK},
               {L"Nothing", DISPID_UNKNOWN, DISP_E_UNKNOWNNAME}};
  for (const Case& c : cases) {
    LPOLESTR name = const_cast<LPOLESTR>(c.name);
    DISPID id = 12345;
    EXPECT_EQ(c.hr, dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id)) << c.name;
    EXPECT_EQ(c.id, id) << c.name;
  }
  // Parameters have no names here.
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"Open"), const_cast<LPOLESTR>(L"path")};
  DISPID ids[2];
  EXPECT_EQ(DISP_E_UNKNOWNNAME, dispatch->GetIDsOfNames(IID_NULL, names, 2, 0, ids));
  EXPECT_EQ(kOpen, ids[0]);
  EXPECT_EQ(DISPID_UNKNOWN, ids[1]);
}

TEST(AutomationTest, IDispatchIsOfferedOnlyAfterEnableAutomation) {
  CCmdTarget* target = new CCmdTarget;
  void* p = NULL;
  EXPECT_EQ(E_NOINTERFACE, target->InternalQueryInterface(&IID_IDispatch, &p));
  EXPECT_EQ(nullptr, target->GetIDispatch(FALSE));
  target->EnableAutomation();
  ASSERT_EQ(S_OK, target->InternalQueryInterface(&IID_IDispatch, &p));
  EXPECT_EQ(target, CCmdTarget::FromIDispatch(static_cast<IDispatch*>(p)));
  static_cast<IDispatch*>(p)->Release();

  // A dispatch object that is not the framework's is none of ours.
  struct Foreign : IDispatch {
    STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
  } foreign;
  EXPECT_EQ(nullptr, CCmdTarget::FromIDispatch(&foreign));
  EXPECT_EQ(nullptr, CCmdTarget::FromIDispatch(NULL));
  target->InternalRelease();
}

TEST_F(DispatchTest, TheDriverCallsWithVtsArgumentsAndRaisesFailures) {
  COleDispatchDriver driver(dispatch, FALSE);
  driver.InvokeHelper(kOpen, DISPATCH_METHOD, VT_EMPTY, NULL, reinterpret_cast<const BYTE*>(VTS_BSTR), "D:\\b.png");
  EXPECT_STREQ("D:\\b.png", shape->m_last);
  BOOL launched = FALSE;
  driver.InvokeHelper(kLaunch, DISPATCH_METHOD, VT_BOOL, &launched, reinterpret_cast<const BYTE*>(VTS_BSTR), "x");
  EXPECT_EQ(TRUE, launched);
  double mixed = 0;
  driver.InvokeHelper(kMix, DISPATCH_METHOD, VT_R8, &mixed, reinterpret_cast<const BYTE*>(VTS_I2 VTS_I4 VTS_R4 VTS_R8),
                      short(1), 20L, 0.5f, 300.0);
  EXPECT_DOUBLE_EQ(321.5, mixed);
  long width = 0, height = 0;
  driver.InvokeHelper(kGetSize, DISPATCH_METHOD, VT_EMPTY, NULL, reinterpret_cast<const BYTE*>(VTS_PI4 VTS_PI4), &width,
                      &height);
  EXPECT_EQ(80, width);
  EXPECT_EQ(60, height);
  BOOL toggled = TRUE;
  driver.InvokeHelper(kToggle, DISPATCH_METHOD, VT_EMPTY, NULL, reinterpret_cast<const BYTE*>(VTS_PBOOL), &toggled);
  EXPECT_EQ(FALSE, toggled);
  CString version;
  driver.InvokeHelper(kVersion, DISPATCH_METHOD, VT_BSTR, &version, NULL);
  EXPECT_STREQ("format=01&open=D:\\b.png", version);
  driver.SetProperty(kFlag, VT_BOOL, TRUE);
  BOOL flag = FALSE;
  driver.GetProperty(kFlag, VT_BOOL, &flag);
  EXPECT_EQ(TRUE, flag);
  short count = 0;
  driver.GetProperty(kCount, VT_I2, &count);
  EXPECT_EQ(3, count);
  EXPECT_EQ(kDock, driver.GetIDOfName("dock"));

  try {
    driver.InvokeHelper(kFail, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
    ADD_FAILURE() << "no exception";
  } catch (COleDispatchException* e) {
    EXPECT_EQ(7, e->m_wCode);
    EXPECT_STREQ("the shape broke", e->m_strDescription);
    e->Delete();
  }
  try {
    driver.InvokeHelper(8, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
    ADD_FAILURE() << "no exception";
  } catch (COleException* e) {
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, e->m_sc);
    e->Delete();
  }
  try {
    driver.GetIDOfName("Nothing");
    ADD_FAILURE() << "no exception";
  } catch (COleException* e) {
    EXPECT_EQ(DISP_E_UNKNOWNNAME, e->m_sc);
    e->Delete();
  }
}

}  // namespace
