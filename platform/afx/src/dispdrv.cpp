// COleDispatchDriver: late-bound calls on another object's IDispatch, with arguments described by VTS_
// strings and failures thrown as the framework's OLE exceptions.
#include "afxdisp.h"

COleDispatchDriver::COleDispatchDriver() : m_lpDispatch(NULL), m_bAutoRelease(TRUE) {}

COleDispatchDriver::COleDispatchDriver(LPDISPATCH dispatch, BOOL autoRelease)
    : m_lpDispatch(dispatch), m_bAutoRelease(autoRelease) {}

COleDispatchDriver::COleDispatchDriver(const COleDispatchDriver& other)
    : m_lpDispatch(other.m_lpDispatch), m_bAutoRelease(TRUE) {
  if (m_lpDispatch) m_lpDispatch->AddRef();
}

COleDispatchDriver::~COleDispatchDriver() { ReleaseDispatch(); }

const COleDispatchDriver& COleDispatchDriver::operator=(const COleDispatchDriver& other) {
  if (this == &other) return *this;
  if (other.m_lpDispatch) other.m_lpDispatch->AddRef();
  ReleaseDispatch();
  m_lpDispatch = other.m_lpDispatch;
  m_bAutoRelease = TRUE;
  return *this;
}

BOOL COleDispatchDriver::CreateDispatch(REFCLSID clsid, COleException* error) {
  ReleaseDispatch();
  IUnknown* unknown = NULL;
  HRESULT hr = CoCreateInstance(clsid, NULL, CLSCTX_SERVER, IID_IUnknown, reinterpret_cast<void**>(&unknown));
  if (SUCCEEDED(hr)) {
    // An object behind an embedding handler starts its server only when it runs.
    hr = OleRun(unknown);
    if (SUCCEEDED(hr)) hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_lpDispatch));
    unknown->Release();
  }
  if (FAILED(hr)) {
    m_lpDispatch = NULL;
    if (error) error->m_sc = hr;
    return FALSE;
  }
  m_bAutoRelease = TRUE;
  return TRUE;
}

BOOL COleDispatchDriver::CreateDispatch(LPCSTR progId, COleException* error) {
  CLSID clsid;
  BSTR wide = AfxAllocSysString(progId);
  HRESULT hr = CLSIDFromProgID(wide, &clsid);
  SysFreeString(wide);
  if (FAILED(hr)) {
    if (error) error->m_sc = hr;
    return FALSE;
  }
  return CreateDispatch(clsid, error);
}

void COleDispatchDriver::AttachDispatch(LPDISPATCH dispatch, BOOL autoRelease) {
  ReleaseDispatch();
  m_lpDispatch = dispatch;
  m_bAutoRelease = autoRelease;
}

LPDISPATCH COleDispatchDriver::DetachDispatch() {
  LPDISPATCH dispatch = m_lpDispatch;
  m_lpDispatch = NULL;
  return dispatch;
}

void COleDispatchDriver::ReleaseDispatch() {
  if (m_lpDispatch && m_bAutoRelease) m_lpDispatch->Release();
  m_lpDispatch = NULL;
}

DISPID COleDispatchDriver::GetIDOfName(LPCSTR name) const {
  if (!m_lpDispatch) AfxThrowOleException(E_POINTER);
  BSTR wide = AfxAllocSysString(name);
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = m_lpDispatch->GetIDsOfNames(IID_NULL, &wide, 1, LOCALE_USER_DEFAULT, &id);
  SysFreeString(wide);
  if (FAILED(hr)) AfxThrowOleException(hr);
  return id;
}

namespace {
// Ends an argument list however the call leaves.
struct ArgumentsEnd {
  va_list& args;
  ~ArgumentsEnd() { va_end(args); }
};
}  // namespace

void AFX_CDECL COleDispatchDriver::InvokeHelper(DISPID dispid, WORD flags, VARTYPE vtRet, void* result,
                                                const BYTE* paramInfo, ...) {
  va_list args;
  va_start(args, paramInfo);
  ArgumentsEnd end{args};
  InvokeHelperV(dispid, flags, vtRet, result, paramInfo, args);
}

void COleDispatchDriver::GetProperty(DISPID dispid, VARTYPE vtProp, void* value) const {
  const_cast<COleDispatchDriver*>(this)->InvokeHelper(dispid, DISPATCH_PROPERTYGET, vtProp, value, NULL);
}

void AFX_CDECL COleDispatchDriver::SetProperty(DISPID dispid, VARTYPE vtProp, ...) {
  BYTE paramInfo[2] = {BYTE(afxdisp::VtsOf(vtProp)), 0};
  WORD flags = vtProp == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
  va_list args;
  va_start(args, vtProp);
  ArgumentsEnd end{args};
  InvokeHelperV(dispid, flags, VT_EMPTY, NULL, paramInfo, args);
}

namespace {

// The arguments of one call: variants in the callee's order (last first), the strings made for them (the
// only ones this call owns) and the BOOLs passed by reference, which travel as VARIANT_BOOL and are
// copied back.
class CallArguments {
 public:
  explicit CallArguments(UINT count)
      : m_count(count), m_args(new VARIANTARG[count + 1]), m_owned(new BSTR[count + 1]()),
        m_bools(new VARIANT_BOOL[count + 1]), m_boolTargets(new BOOL*[count + 1]()) {
    for (UINT i = 0; i < count; ++i) VariantInit(&m_args[i]);
  }
  ~CallArguments() {
    for (UINT i = 0; i < m_count; ++i) SysFreeString(m_owned[i]);
    delete[] m_args;
    delete[] m_owned;
    delete[] m_bools;
    delete[] m_boolTargets;
  }
  CallArguments(const CallArguments&) = delete;
  CallArguments& operator=(const CallArguments&) = delete;

  VARIANTARG* Slot(UINT index) { return &m_args[m_count - 1 - index]; }
  BSTR Own(UINT index, BSTR text) { return m_owned[index] = text; }
  VARIANT_BOOL* BoolFor(UINT index, BOOL* target) {
    m_boolTargets[index] = target;
    m_bools[index] = *target ? VARIANT_TRUE : VARIANT_FALSE;
    return &m_bools[index];
  }
  void CopyBack() {
    for (UINT i = 0; i < m_count; ++i)
      if (m_boolTargets[i]) *m_boolTargets[i] = m_bools[i] ? TRUE : FALSE;
  }
  VARIANTARG* Array() { return m_count ? m_args : NULL; }

 private:
  UINT m_count;
  VARIANTARG* m_args;
  BSTR* m_owned;
  VARIANT_BOOL* m_bools;
  BOOL** m_boolTargets;
};

void LoadArgument(CallArguments& call, UINT index, BYTE vts, va_list& args) {
  VARIANTARG* v = call.Slot(index);
  VARTYPE vt = VARTYPE(vts & ~VTS_BYREF_BIT);
  if (vts & VTS_BYREF_BIT) {
    v->vt = VARTYPE(vt | VT_BYREF);
    if (vt == VT_BOOL)
      v->pboolVal = call.BoolFor(index, va_arg(args, BOOL*));
    else
      v->byref = va_arg(args, void*);
    return;
  }
  switch (vt) {
    case VT_I2: v->vt = VT_I2; v->iVal = short(va_arg(args, int)); break;
    case VT_I4: v->vt = VT_I4; v->lVal = va_arg(args, long); break;
    case VT_R4: v->vt = VT_R4; v->fltVal = float(va_arg(args, double)); break;
    case VT_R8: v->vt = VT_R8; v->dblVal = va_arg(args, double); break;
    case VT_BOOL: v->vt = VT_BOOL; v->boolVal = va_arg(args, BOOL) ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_BSTR:
      v->bstrVal = call.Own(index, AfxAllocSysString(va_arg(args, LPCSTR)));
      v->vt = VT_BSTR;
      break;
    case VT_DISPATCH: v->vt = VT_DISPATCH; v->pdispVal = va_arg(args, LPDISPATCH); break;
    case VT_UNKNOWN: v->vt = VT_UNKNOWN; v->punkVal = va_arg(args, LPUNKNOWN); break;
    case VT_VARIANT: *v = *va_arg(args, const VARIANT*); break;  // lent for the call, not copied
    default: AfxThrowNotSupportedException();
  }
}

void StoreResult(VARIANT& value, VARTYPE vtRet, void* result) {
  if (vtRet == VT_EMPTY) {
    VariantClear(&value);
    return;
  }
  if (vtRet == VT_VARIANT) {
    if (result)
      *static_cast<VARIANT*>(result) = value;
    else
      VariantClear(&value);
    return;
  }
  HRESULT hr = VariantChangeType(&value, &value, 0, vtRet);
  if (FAILED(hr)) {
    VariantClear(&value);
    AfxThrowOleException(hr);
  }
  if (!result) {
    VariantClear(&value);
    return;
  }
  switch (vtRet) {
    case VT_I2: *static_cast<short*>(result) = value.iVal; break;
    case VT_I4: *static_cast<long*>(result) = value.lVal; break;
    case VT_R4: *static_cast<float*>(result) = value.fltVal; break;
    case VT_R8: *static_cast<double*>(result) = value.dblVal; break;
    case VT_BOOL: *static_cast<BOOL*>(result) = value.boolVal ? TRUE : FALSE; break;
    case VT_BSTR: *static_cast<CString*>(result) = AfxStringFromBstr(value.bstrVal); VariantClear(&value); break;
    case VT_DISPATCH: *static_cast<LPDISPATCH*>(result) = value.pdispVal; break;  // the caller's reference
    case VT_UNKNOWN: *static_cast<LPUNKNOWN*>(result) = value.punkVal; break;
    default: VariantClear(&value); AfxThrowNotSupportedException();
  }
}

[[noreturn]] void ThrowCalleeException(EXCEPINFO& info) {
  if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  COleDispatchException* e = new COleDispatchException(AfxStringFromBstr(info.bstrDescription), info.dwHelpContext, info.wCode);
  e->m_scError = info.scode;
  e->m_strSource = AfxStringFromBstr(info.bstrSource);
  e->m_strHelpFile = AfxStringFromBstr(info.bstrHelpFile);
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  throw e;
}

}  // namespace

void COleDispatchDriver::InvokeHelperV(DISPID dispid, WORD flags, VARTYPE vtRet, void* result, const BYTE* paramInfo,
                                       va_list args) {
  if (!m_lpDispatch) AfxThrowOleException(E_POINTER);
  UINT count = paramInfo ? UINT(lstrlenA(reinterpret_cast<LPCSTR>(paramInfo))) : 0;
  CallArguments call(count);
  for (UINT i = 0; i < count; ++i) LoadArgument(call, i, paramInfo[i], args);

  DISPPARAMS params = {call.Array(), NULL, count, 0};
  DISPID named = DISPID_PROPERTYPUT;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  VARIANT value;
  VariantInit(&value);
  EXCEPINFO info = {};
  UINT argErr = 0;
  HRESULT hr = m_lpDispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                    vtRet == VT_EMPTY ? NULL : &value, &info, &argErr);
  if (hr == DISP_E_EXCEPTION) ThrowCalleeException(info);
  if (FAILED(hr)) AfxThrowOleException(hr);
  call.CopyBack();
  StoreResult(value, vtRet, result);
}
