// Tests of the interface-pointer, BSTR and VARIANT holders and of the ANSI/UTF-16 conversions.
#include <gtest/gtest.h>
#include <comkit/holders.h>
#include <comkit/object.h>

namespace {

// A minimal COM object whose lifetime the tests can watch.
class Counted : public comkit::Object<Counted, IPersist> {
 public:
  static int alive;
  Counted() { ++alive; }
  ~Counted() override { --alive; }
  STDMETHODIMP GetClassID(CLSID* clsid) override { *clsid = CLSID_NULL; return S_OK; }
};
int Counted::alive = 0;

TEST(ComPtrTest, ReleasesOnceAndCopiesAddRef) {
  {
    comkit::ComPtr<IPersist> first;
    ASSERT_EQ(S_OK, Counted::Create(nullptr, IID_IPersist, first.PutVoid()));
    EXPECT_EQ(1, Counted::alive);
    comkit::ComPtr<IPersist> second = first;
    first.Release();
    EXPECT_EQ(1, Counted::alive) << "the copy keeps the object";
    comkit::ComPtr<IUnknown> unknown;
    EXPECT_EQ(S_OK, second.QueryInterface(unknown));
    comkit::ComPtr<IDispatch> none;
    EXPECT_EQ(E_NOINTERFACE, second.QueryInterface(none));
    EXPECT_FALSE(none);
  }
  EXPECT_EQ(0, Counted::alive);
}

TEST(ObjectTest, QueryInterfaceRules) {
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(CLASS_E_NOAGGREGATION, Counted::Create(reinterpret_cast<IUnknown*>(&out), IID_IPersist, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(E_POINTER, Counted::Create(nullptr, IID_IPersist, nullptr));
  EXPECT_EQ(E_NOINTERFACE, Counted::Create(nullptr, IID_IDispatch, &out));
  EXPECT_EQ(0, Counted::alive) << "a failed create leaves nothing behind";
  EXPECT_EQ(0, comkit::ThisModule().LockCount());
}

TEST(ModuleTest, LiveObjectsHoldTheModule) {
  comkit::ComPtr<IPersist> object;
  ASSERT_EQ(S_OK, Counted::Create(nullptr, IID_IPersist, object.PutVoid()));
  EXPECT_EQ(S_FALSE, comkit::ThisModule().CanUnloadNow());
  object.Release();
  EXPECT_EQ(S_OK, comkit::ThisModule().CanUnloadNow());
}

TEST(BstrTest, ConvertsAndOwns) {
  comkit::Bstr text("Gr\xFC\xDF" "e");  // Latin-1 letters in the ANSI code page
  EXPECT_EQ(5u, text.Length());
  EXPECT_EQ(std::wstring(L"Gr\u00FC\u00DFe"), std::wstring(text.Get()));
  EXPECT_EQ(std::string("Gr\xFC\xDF" "e"), text.ToAnsi());
  comkit::Bstr copy = text;
  EXPECT_NE(copy.Get(), text.Get());
  BSTR detached = copy.Detach();
  EXPECT_EQ(nullptr, copy.Get());
  SysFreeString(detached);
  EXPECT_EQ(std::string(), comkit::Bstr().ToAnsi());
}

TEST(VariantTest, ChangeTypeKeepsValueOnFailure) {
  comkit::Variant number("123");
  ASSERT_EQ(S_OK, number.ChangeType(VT_I4));
  EXPECT_EQ(VT_I4, number.vt);
  EXPECT_EQ(123, number.lVal);

  comkit::Variant word("not a number");
  EXPECT_TRUE(FAILED(word.ChangeType(VT_I4)));
  ASSERT_EQ(VT_BSTR, word.vt);
  EXPECT_STREQ(L"not a number", word.bstrVal);

  comkit::Variant copy = word;
  EXPECT_NE(copy.bstrVal, word.bstrVal) << "copies own their string";
  EXPECT_EQ(VARIANT_TRUE, comkit::Variant(true).boolVal);
}

TEST(ConversionTest, EmptyAndLengthLimited) {
  EXPECT_EQ(std::wstring(), comkit::Widen(""));
  EXPECT_EQ(std::wstring(), comkit::Widen(nullptr));
  EXPECT_EQ(std::string("ab"), comkit::Narrow(L"abc", 2));
  EXPECT_EQ(std::string("abc"), comkit::Narrow(L"abc"));
}

}  // namespace
