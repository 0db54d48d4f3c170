// The machinery behind dispatch map entries (afxdisp.h): what each C++ type is on the wire, the checks
// that make a map entry fit its member at compile time, and the calls that convert arguments and results.
// Included by afxdisp.h; nothing here is used directly.
#pragma once

// Calls one member for Invoke: converts the arguments (params is the caller's, unchanged), calls,
// stores the result. Returns S_OK or a DISP_E_ status with argErr set for DISP_E_TYPEMISMATCH; what the
// member throws passes through to Invoke, which reports it as DISP_E_EXCEPTION.
typedef HRESULT (*AFX_DISPCALL)(CCmdTarget* target, DISPPARAMS* params, VARIANT* result, UINT* argErr);

enum AFX_DISPMAP_KIND { afxDispFunction, afxDispProperty, afxDispDefaultValue };

struct AFX_DISPMAP_ENTRY {
  LPCSTR lpszName;     // null ends the map; for a default value: the member it stands for
  DISPID lDispID;
  AFX_DISPMAP_KIND kind;
  VARTYPE vt;          // the result of a function, the type of a property
  LPCSTR lpszParams;   // VTS_ string of a function's parameters
  AFX_DISPCALL pfnGet; // a function's call or a property's read
  AFX_DISPCALL pfnSet; // a property's write; null when it has none
};

struct AFX_DISPMAP {
  const AFX_DISPMAP* (PASCAL* pfnGetBaseMap)();
  const AFX_DISPMAP_ENTRY* lpEntries;
};

namespace afxdisp {

// ----- What each C++ type is on the wire.

template <class T> struct Wire { static constexpr VARTYPE vt = VT_ILLEGAL; };
template <> struct Wire<void> { static constexpr VARTYPE vt = VT_EMPTY; };
template <> struct Wire<short> { static constexpr VARTYPE vt = VT_I2; };
template <> struct Wire<long> { static constexpr VARTYPE vt = VT_I4; };
template <> struct Wire<float> { static constexpr VARTYPE vt = VT_R4; };
template <> struct Wire<double> { static constexpr VARTYPE vt = VT_R8; };
template <> struct Wire<BOOL> { static constexpr VARTYPE vt = VT_BOOL; };
template <> struct Wire<LPCSTR> { static constexpr VARTYPE vt = VT_BSTR; };
template <> struct Wire<BSTR> { static constexpr VARTYPE vt = VT_BSTR; };
template <> struct Wire<CString> { static constexpr VARTYPE vt = VT_BSTR; };
template <> struct Wire<LPDISPATCH> { static constexpr VARTYPE vt = VT_DISPATCH; };
template <> struct Wire<LPUNKNOWN> { static constexpr VARTYPE vt = VT_UNKNOWN; };
template <> struct Wire<VARIANT> { static constexpr VARTYPE vt = VT_VARIANT; };
template <> struct Wire<const VARIANT&> { static constexpr VARTYPE vt = VT_VARIANT; };
template <class T> struct Wire<T*> {
  static constexpr VARTYPE vt = Wire<T>::vt == VT_ILLEGAL || Wire<T>::vt == VT_DISPATCH || Wire<T>::vt == VT_UNKNOWN
                                    ? VARTYPE(VT_ILLEGAL)
                                    : VARTYPE(Wire<T>::vt | VT_BYREF);
};
template <> struct Wire<LPCSTR*> { static constexpr VARTYPE vt = VT_ILLEGAL; };
template <> struct Wire<CString*> { static constexpr VARTYPE vt = VT_ILLEGAL; };

constexpr char VtsOf(VARTYPE vt) { return char((vt & 0x3F) | ((vt & VT_BYREF) ? VTS_BYREF_BIT : 0)); }

template <class... A>
constexpr bool ParamsMatch(const char* vts) {
  const char expected[] = {VtsOf(Wire<A>::vt)..., 0};
  for (unsigned i = 0; i <= sizeof...(A); ++i)
    if (vts[i] != expected[i]) return false;
  return true;
}

// Called only where a dispatch map entry does not fit its member: the map then fails to compile.
void DispatchEntryDoesNotMatchTheMember();
void DispatchEntryUsesATypeAutomationCannotCarry();

template <class F> struct Member;
template <class C, class R, class... A>
struct Member<R (C::*)(A...)> {
  using Class = C;
  using Result = R;
  using Args = std::tuple<A...>;
  static constexpr unsigned count = sizeof...(A);
  static constexpr bool supported = Wire<R>::vt != VT_ILLEGAL && ((Wire<A>::vt != VT_ILLEGAL) && ...);
  static constexpr bool Matches(VARTYPE vt, const char* vts) { return Wire<R>::vt == vt && ParamsMatch<A...>(vts); }
};
template <class C, class R, class... A>
struct Member<R (C::*)(A...) const> : Member<R (C::*)(A...)> {};

// The parameter string of an entry, once it is known to fit the member.
template <class F>
constexpr LPCSTR Checked(VARTYPE vt, LPCSTR vts) {
  if (!Member<F>::supported) DispatchEntryUsesATypeAutomationCannotCarry();
  if (!Member<F>::Matches(vt, vts)) DispatchEntryDoesNotMatchTheMember();
  return vts;
}

template <class P> struct Data;
template <class C, class T> struct Data<T C::*> {
  using Class = C;
  using Type = T;
};

template <class T>
constexpr VARTYPE CheckedProperty(VARTYPE vt) {
  if (Wire<T>::vt == VT_ILLEGAL || (Wire<T>::vt & VT_BYREF) || Wire<T>::vt == VT_EMPTY)
    DispatchEntryUsesATypeAutomationCannotCarry();
  if (Wire<T>::vt != vt) DispatchEntryDoesNotMatchTheMember();
  return vt;
}

// The marker members CCmdTarget::GetNotSupported and SetNotSupported.
typedef void (CCmdTarget::*NotSupported)();

// ----- Conversions (orvafx).

// The argument as vt: VT_VARIANT|VT_BYREF is followed, then the system's coercion; out is the caller's
// to clear.
AFX_API HRESULT AFXAPI LoadValue(VARIANTARG* arg, VARTYPE vt, VARIANT* out);
// A by-reference argument of base type vt: the pointer to its value, which the member may change. A
// VARIANT passed by reference is converted to vt in place.
AFX_API HRESULT AFXAPI LoadReference(VARIANTARG* arg, VARTYPE vt, void** out);
// Hands a result to the caller (result null: it is released).
AFX_API void AFXAPI StoreVariant(VARIANT* value, VARIANT* result);

template <class T> struct Arg;

template <class T, VARTYPE kVt, T VARIANT::*kField>
struct ValueArg {
  T value{};
  HRESULT Load(VARIANTARG* a) {
    VARIANT v;
    VariantInit(&v);
    HRESULT hr = LoadValue(a, kVt, &v);
    if (SUCCEEDED(hr)) value = v.*kField;
    VariantClear(&v);
    return hr;
  }
  T Get() { return value; }
  void After() {}
};
template <> struct Arg<short> : ValueArg<short, VT_I2, &VARIANT::iVal> {};
template <> struct Arg<long> : ValueArg<long, VT_I4, &VARIANT::lVal> {};
template <> struct Arg<float> : ValueArg<float, VT_R4, &VARIANT::fltVal> {};
template <> struct Arg<double> : ValueArg<double, VT_R8, &VARIANT::dblVal> {};
template <> struct Arg<BOOL> {
  BOOL value = FALSE;
  HRESULT Load(VARIANTARG* a) {
    VARIANT v;
    VariantInit(&v);
    HRESULT hr = LoadValue(a, VT_BOOL, &v);
    if (SUCCEEDED(hr)) value = v.boolVal ? TRUE : FALSE;
    return hr;
  }
  BOOL Get() { return value; }
  void After() {}
};
template <> struct Arg<LPCSTR> {
  CString value;
  HRESULT Load(VARIANTARG* a) {
    VARIANT v;
    VariantInit(&v);
    HRESULT hr = LoadValue(a, VT_BSTR, &v);
    if (SUCCEEDED(hr)) value = AfxStringFromBstr(v.bstrVal);
    VariantClear(&v);
    return hr;
  }
  LPCSTR Get() { return value; }
  void After() {}
};
template <> struct Arg<CString> : Arg<LPCSTR> {};
// Interface arguments are lent to the member for the call.
template <class I, VARTYPE kVt>
struct InterfaceArg {
  VARIANT value;
  InterfaceArg() { VariantInit(&value); }
  ~InterfaceArg() { VariantClear(&value); }
  HRESULT Load(VARIANTARG* a) {
    VARIANTARG* inner = a->vt == (VT_VARIANT | VT_BYREF) ? a->pvarVal : a;
    if (inner->vt == VT_EMPTY || inner->vt == VT_NULL) return S_OK;  // no object
    return LoadValue(a, kVt, &value);
  }
  I* Get() { return value.vt == kVt ? reinterpret_cast<I*>(value.punkVal) : NULL; }
  void After() {}
};
template <> struct Arg<LPDISPATCH> : InterfaceArg<IDispatch, VT_DISPATCH> {};
template <> struct Arg<LPUNKNOWN> : InterfaceArg<IUnknown, VT_UNKNOWN> {};
template <> struct Arg<const VARIANT&> {
  VARIANTARG* value = NULL;
  HRESULT Load(VARIANTARG* a) {
    value = a->vt == (VT_VARIANT | VT_BYREF) ? a->pvarVal : a;
    return S_OK;
  }
  const VARIANT& Get() { return *value; }
  void After() {}
};
template <class T>
struct Arg<T*> {
  T* value = NULL;
  HRESULT Load(VARIANTARG* a) { return LoadReference(a, Wire<T>::vt, reinterpret_cast<void**>(&value)); }
  T* Get() { return value; }
  void After() {}
};
template <> struct Arg<VARIANT*> {
  VARIANT* value = NULL;
  HRESULT Load(VARIANTARG* a) {
    if (a->vt != (VT_VARIANT | VT_BYREF)) return DISP_E_TYPEMISMATCH;
    value = a->pvarVal;
    return S_OK;
  }
  VARIANT* Get() { return value; }
  void After() {}
};
// BOOL* travels as VARIANT_BOOL*: the member sees a BOOL, the caller gets it back.
template <> struct Arg<BOOL*> {
  VARIANT_BOOL* wire = NULL;
  BOOL value = FALSE;
  HRESULT Load(VARIANTARG* a) {
    HRESULT hr = LoadReference(a, VT_BOOL, reinterpret_cast<void**>(&wire));
    if (SUCCEEDED(hr)) value = *wire ? TRUE : FALSE;
    return hr;
  }
  BOOL* Get() { return &value; }
  void After() { *wire = value ? VARIANT_TRUE : VARIANT_FALSE; }
};

// ----- Results.

template <class R> struct Result;
// A result handed to the caller in its variant (or released when the caller asked for none).
template <class T, VARTYPE kVt, T VARIANT::*kField>
struct VariantResult {
  static void Store(T value, VARIANT* result) {
    VARIANT v;
    VariantInit(&v);
    v.vt = kVt;
    v.*kField = value;
    StoreVariant(&v, result);
  }
};
template <> struct Result<short> : VariantResult<short, VT_I2, &VARIANT::iVal> {};
template <> struct Result<long> : VariantResult<long, VT_I4, &VARIANT::lVal> {};
template <> struct Result<float> : VariantResult<float, VT_R4, &VARIANT::fltVal> {};
template <> struct Result<double> : VariantResult<double, VT_R8, &VARIANT::dblVal> {};
template <> struct Result<BSTR> : VariantResult<BSTR, VT_BSTR, &VARIANT::bstrVal> {};
template <> struct Result<LPDISPATCH> : VariantResult<LPDISPATCH, VT_DISPATCH, &VARIANT::pdispVal> {};
template <> struct Result<LPUNKNOWN> : VariantResult<LPUNKNOWN, VT_UNKNOWN, &VARIANT::punkVal> {};
template <> struct Result<BOOL> {
  static void Store(BOOL value, VARIANT* result) {
    VariantResult<VARIANT_BOOL, VT_BOOL, &VARIANT::boolVal>::Store(value ? VARIANT_TRUE : VARIANT_FALSE, result);
  }
};
template <> struct Result<CString> {
  static void Store(const CString& value, VARIANT* result) { Result<BSTR>::Store(AfxAllocSysString(value), result); }
};
template <> struct Result<VARIANT> {
  static void Store(VARIANT value, VARIANT* result) { StoreVariant(&value, result); }
};

// ----- Calls.

template <class A> struct ArgFor { using type = Arg<std::decay_t<A>>; };
template <> struct ArgFor<const VARIANT&> { using type = Arg<const VARIANT&>; };

template <auto pmf, size_t... I>
HRESULT CallMember(CCmdTarget* target, DISPPARAMS* params, VARIANT* result, UINT* argErr, std::index_sequence<I...>) {
  using M = Member<decltype(pmf)>;
  using R = typename M::Result;
  constexpr unsigned n = M::count;
  if (params->cArgs != n) return DISP_E_BADPARAMCOUNT;
  std::tuple<typename ArgFor<std::tuple_element_t<I, typename M::Args>>::type...> args;
  HRESULT hr = S_OK;
  auto load = [&](auto& slot, unsigned index) {
    // Arguments arrive last first.
    if (SUCCEEDED(hr) && FAILED(hr = slot.Load(&params->rgvarg[n - 1 - index])) && argErr) *argErr = n - 1 - index;
  };
  (load(std::get<I>(args), unsigned(I)), ...);
  (void)load;
  if (FAILED(hr)) return hr;
  auto* object = static_cast<typename M::Class*>(target);
  if constexpr (std::is_void<R>::value) {
    (object->*pmf)(std::get<I>(args).Get()...);
    if (result) VariantInit(result);
  } else {
    Result<std::remove_cv_t<std::remove_reference_t<R>>>::Store((object->*pmf)(std::get<I>(args).Get()...), result);
  }
  (std::get<I>(args).After(), ...);
  return S_OK;
}

template <auto pmf>
HRESULT Call(CCmdTarget* target, DISPPARAMS* params, VARIANT* result, UINT* argErr) {
  return CallMember<pmf>(target, params, result, argErr, std::make_index_sequence<Member<decltype(pmf)>::count>{});
}

// A property accessor: null for the not-supported markers, so that the property refuses that direction.
template <auto pmf>
constexpr AFX_DISPCALL Accessor() {
  if constexpr (std::is_same<decltype(pmf), NotSupported>::value)
    return NULL;
  else
    return &Call<pmf>;
}

// A property held in a member variable, with a member called after each write.
template <auto pm, auto notify>
struct Notified {
  using D = Data<decltype(pm)>;
  using C = typename D::Class;
  using T = typename D::Type;
  static HRESULT Get(CCmdTarget* target, DISPPARAMS* params, VARIANT* result, UINT*) {
    if (params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
    Result<T>::Store(static_cast<C*>(target)->*pm, result);
    return S_OK;
  }
  static HRESULT Set(CCmdTarget* target, DISPPARAMS* params, VARIANT*, UINT* argErr) {
    if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    Arg<T> value;
    HRESULT hr = value.Load(&params->rgvarg[0]);
    if (FAILED(hr)) {
      if (argErr) *argErr = 0;
      return hr;
    }
    C* object = static_cast<C*>(target);
    object->*pm = value.Get();
    (object->*notify)();
    return S_OK;
  }
};

// Getter and setter of a DISP_PROPERTY_EX_ID: a getter of no parameters returning the property's type
// (or GetNotSupported), a setter of one parameter of that type returning nothing (or SetNotSupported).
template <class G, class S>
constexpr LPCSTR CheckedAccessors(VARTYPE vt) {
  if constexpr (!std::is_same<G, NotSupported>::value) {
    if (Member<G>::count != 0 || !Member<G>::supported || Wire<typename Member<G>::Result>::vt != vt)
      DispatchEntryDoesNotMatchTheMember();
  }
  if constexpr (!std::is_same<S, NotSupported>::value) {
    const char one[] = {VtsOf(vt), 0};
    if (!Member<S>::supported || !Member<S>::Matches(VT_EMPTY, one)) DispatchEntryDoesNotMatchTheMember();
  }
  return VTS_NONE;
}

}  // namespace afxdisp
