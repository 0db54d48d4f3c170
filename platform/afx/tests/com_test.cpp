// COM identity of framework objects: interface maps with nested parts, one identity across interfaces,
// aggregation through the inner unknown, final release, and objects served from a comkit module
// (test code, not product).
#include <gtest/gtest.h>

#include "afxcomkit.h"

namespace {

LONG g_live = 0;  // CNumberEnum objects alive

// An enumerator over 1, 2 and 3, with a second interface beside it.
class CNumberEnum : public CCmdTarget {
 public:
  static const ULONG kCount = 3;
  CNumberEnum() { ++g_live; }
  ~CNumberEnum() override { --g_live; }
  ULONG m_next = 0;

  BEGIN_INTERFACE_PART(Enum, IEnumVARIANT)
    STDMETHOD(Next)(ULONG count, VARIANT* items, ULONG* fetched) override;
    STDMETHOD(Skip)(ULONG count) override;
    STDMETHOD(Reset)() override;
    STDMETHOD(Clone)(IEnumVARIANT** copy) override;
  END_INTERFACE_PART(Enum)

  BEGIN_INTERFACE_PART(Persist, IPersist)
    STDMETHOD(GetClassID)(CLSID* clsid) override;
  END_INTERFACE_PART(Persist)

  DECLARE_INTERFACE_MAP()
};

BEGIN_INTERFACE_MAP(CNumberEnum, CCmdTarget)
  INTERFACE_PART(CNumberEnum, IID_IEnumVARIANT, Enum)
  INTERFACE_PART(CNumberEnum, IID_IPersist, Persist)
END_INTERFACE_MAP()

DELEGATE_IUNKNOWN(CNumberEnum, Enum)
DELEGATE_IUNKNOWN(CNumberEnum, Persist)

STDMETHODIMP CNumberEnum::XEnum::Next(ULONG count, VARIANT* items, ULONG* fetched) {
  METHOD_PROLOGUE(CNumberEnum, Enum)
  ULONG given = 0;
  for (; given < count && pThis->m_next < kCount; ++given) {
    VariantInit(&items[given]);
    items[given].vt = VT_I4;
    items[given].lVal = LONG(++pThis->m_next);
  }
  if (fetched) *fetched = given;
  return given == count ? S_OK : S_FALSE;
}

STDMETHODIMP CNumberEnum::XEnum::Skip(ULONG count) {
  METHOD_PROLOGUE(CNumberEnum, Enum)
  pThis->m_next += count;
  return pThis->m_next <= kCount ? S_OK : S_FALSE;
}

STDMETHODIMP CNumberEnum::XEnum::Reset() {
  METHOD_PROLOGUE(CNumberEnum, Enum)
  pThis->m_next = 0;
  return S_OK;
}

STDMETHODIMP CNumberEnum::XEnum::Clone(IEnumVARIANT**) { return E_NOTIMPL; }

STDMETHODIMP CNumberEnum::XPersist::GetClassID(CLSID* clsid) {
  *clsid = CLSID_NULL;
  return S_OK;
}

template <class I>
I* Query(IUnknown* from, REFIID iid) {
  void* p = NULL;
  return from->QueryInterface(iid, &p) == S_OK ? static_cast<I*>(p) : NULL;
}

TEST(ComIdentityTest, InterfacesShareOneIdentityAndTheLastReleaseFreesTheObject) {
  CNumberEnum* object = new CNumberEnum;
  IUnknown* unknown = NULL;
  ASSERT_EQ(S_OK, object->InternalQueryInterface(&IID_IUnknown, reinterpret_cast<void**>(&unknown)));
  object->InternalRelease();  // the creator's reference: the client's is all that is left

  IEnumVARIANT* numbers = Query<IEnumVARIANT>(unknown, IID_IEnumVARIANT);
  ASSERT_NE(nullptr, numbers);
  IPersist* persist = Query<IPersist>(numbers, IID_IPersist);
  ASSERT_NE(nullptr, persist);
  IUnknown* again = Query<IUnknown>(persist, IID_IUnknown);
  EXPECT_EQ(unknown, again);
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, numbers->QueryInterface(IID_IDispatch, &none));
  EXPECT_EQ(nullptr, none);

  for (LONG expected = 1; expected <= 3; ++expected) {
    VARIANT v;
    ASSERT_EQ(S_OK, numbers->Next(1, &v, NULL));
    EXPECT_EQ(expected, v.lVal);
  }
  VARIANT rest;
  ULONG fetched = 7;
  EXPECT_EQ(S_FALSE, numbers->Next(1, &rest, &fetched));
  EXPECT_EQ(0u, fetched);

  again->Release();
  persist->Release();
  numbers->Release();
  EXPECT_EQ(1, g_live);
  EXPECT_EQ(0u, unknown->Release());
  EXPECT_EQ(0, g_live);
}

// An aggregating object: answers for its own identity and passes IEnumVARIANT to the inner object.
struct COuter : IUnknown {
  LONG refs = 1;
  IUnknown* inner = NULL;
  STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
    if (iid == IID_IUnknown) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    return inner->QueryInterface(iid, ppv);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(++refs); }
  STDMETHODIMP_(ULONG) Release() override { return ULONG(--refs); }
};

TEST(ComIdentityTest, AnAggregatedObjectTakesItsOuterObjectsIdentity) {
  COuter outer;
  CNumberEnum* object = new CNumberEnum;
  ASSERT_EQ(S_OK, object->HandToCreator(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)));
  EXPECT_EQ(static_cast<IUnknown*>(&outer), object->GetControllingUnknown());

  IEnumVARIANT* numbers = Query<IEnumVARIANT>(&outer, IID_IEnumVARIANT);
  ASSERT_NE(nullptr, numbers);
  EXPECT_EQ(2, outer.refs);  // the part counts through the outer object
  IUnknown* identity = Query<IUnknown>(numbers, IID_IUnknown);
  EXPECT_EQ(static_cast<IUnknown*>(&outer), identity);
  identity->Release();
  numbers->Release();
  EXPECT_EQ(1, outer.refs);

  EXPECT_EQ(1, g_live);
  outer.inner->Release();  // the outer object lets go of the inner one
  EXPECT_EQ(0, g_live);

  // An outer object may ask only for the inner unknown; the refused object does not stay behind.
  void* refused = NULL;
  EXPECT_EQ(CLASS_E_NOAGGREGATION, (new CNumberEnum)->HandToCreator(&outer, IID_IEnumVARIANT, &refused));
  EXPECT_EQ(nullptr, refused);
  EXPECT_EQ(0, g_live);
}

TEST(ComIdentityTest, ObjectsOfAComkitModuleKeepItLoaded) {
  LONG before = comkit::ThisModule().LockCount();
  IEnumVARIANT* numbers = NULL;
  ASSERT_EQ(S_OK, AfxComkitCreate<CNumberEnum>(NULL, IID_IEnumVARIANT, reinterpret_cast<void**>(&numbers)));
  EXPECT_EQ(before + 1, comkit::ThisModule().LockCount());
  EXPECT_EQ(S_FALSE, comkit::ThisModule().CanUnloadNow());
  numbers->Release();
  EXPECT_EQ(before, comkit::ThisModule().LockCount());
  EXPECT_EQ(0, g_live);
}

}  // namespace
