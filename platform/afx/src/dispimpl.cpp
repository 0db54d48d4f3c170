// Automation of CCmdTarget: the IDispatch part served from dispatch maps, argument conversion, OLE
// exceptions and how they reach a caller's EXCEPINFO, type libraries.
#include <climits>
#include <cstddef>
#include "afxdisp.h"
#include "afxoleres.h"
#include "afxres.h"
#include "state.h"

IMPLEMENT_DYNAMIC(COleException, CException)
IMPLEMENT_DYNAMIC(COleDispatchException, CException)

// ---------------------------------------------------------------------------------------------
// Strings.

BSTR AFXAPI AfxAllocSysString(LPCSTR text) {
  if (!text) text = "";
  int length = lstrlenA(text);
  int wide = MultiByteToWideChar(CP_ACP, 0, text, length, NULL, 0);
  BSTR result = SysAllocStringLen(NULL, UINT(wide));
  if (!result) AfxThrowMemoryException();
  MultiByteToWideChar(CP_ACP, 0, text, length, result, wide);
  result[wide] = 0;
  return result;
}

CString AFXAPI AfxStringFromBstr(BSTR text) {
  CString result;
  int length = text ? int(SysStringLen(text)) : 0;
  if (length == 0) return result;
  int bytes = WideCharToMultiByte(CP_ACP, 0, text, length, NULL, 0, NULL, NULL);
  LPSTR buffer = result.GetBuffer(bytes);
  WideCharToMultiByte(CP_ACP, 0, text, length, buffer, bytes, NULL, NULL);
  result.ReleaseBuffer(bytes);
  return result;
}

// ---------------------------------------------------------------------------------------------
// Exceptions.

COleException::COleException(SCODE sc) : m_sc(sc) {}

BOOL COleException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext) {
  if (helpContext) *helpContext = 0;
  if (!error || maxError == 0) return FALSE;
  char system[512];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, DWORD(m_sc), 0, system,
                           sizeof system, NULL);
  while (n > 0 && (system[n - 1] == '\r' || system[n - 1] == '\n')) system[--n] = 0;
  CString text;
  if (n > 0) {
    text = system;
  } else {
    char code[16];
    wsprintfA(code, "0x%08lX", static_cast<unsigned long>(m_sc));
    CString format;
    if (!afxstate::LoadFrameworkString(AFX_IDP_OLE_ERROR, format)) {
      error[0] = 0;
      return FALSE;
    }
    LPCSTR insert = code;
    AfxFormatStrings(text, format, &insert, 1);
  }
  lstrcpynA(error, text, int(maxError));
  return TRUE;
}

SCODE PASCAL COleException::Process(const CException* e) {
  if (!e) return E_UNEXPECTED;
  if (const COleException* ole = dynamic_cast<const COleException*>(e)) return ole->m_sc;
  if (const COleDispatchException* dispatch = dynamic_cast<const COleDispatchException*>(e))
    return dispatch->m_scError ? dispatch->m_scError : DISP_E_EXCEPTION;
  if (dynamic_cast<const CMemoryException*>(e)) return E_OUTOFMEMORY;
  if (dynamic_cast<const CNotSupportedException*>(e)) return E_NOTIMPL;
  return E_UNEXPECTED;
}

void AFXAPI AfxThrowOleException(SCODE sc) { throw new COleException(sc); }

COleDispatchException::COleDispatchException(LPCSTR description, UINT helpId, WORD code)
    : m_wCode(code), m_scError(0), m_strDescription(description), m_dwHelpContext(helpId) {}

BOOL COleDispatchException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext) {
  if (helpContext) *helpContext = m_dwHelpContext;
  if (!error || maxError == 0) return FALSE;
  lstrcpynA(error, m_strDescription, int(maxError));
  return !m_strDescription.IsEmpty();
}

void COleDispatchException::FillExcepInfo(EXCEPINFO* info) const {
  if (!info) return;
  memset(info, 0, sizeof *info);
  // A caller reads the application's code when there is one, else the status; never both.
  info->wCode = m_wCode;
  info->scode = m_wCode ? 0 : (m_scError ? m_scError : E_FAIL);
  info->bstrSource = AfxAllocSysString(m_strSource.IsEmpty() ? AfxGetAppName() : LPCSTR(m_strSource));
  info->bstrDescription = AfxAllocSysString(m_strDescription);
  if (!m_strHelpFile.IsEmpty()) info->bstrHelpFile = AfxAllocSysString(m_strHelpFile);
  info->dwHelpContext = m_dwHelpContext;
}

void AFXAPI AfxThrowOleDispatchException(WORD code, LPCSTR description, UINT helpId) {
  throw new COleDispatchException(description, helpId, code);
}

void AFXAPI AfxThrowOleDispatchException(WORD code, UINT descriptionId, UINT helpId) {
  CString description;
  description.LoadString(descriptionId);
  throw new COleDispatchException(description, helpId == UINT(-1) ? descriptionId : helpId, code);
}

// ---------------------------------------------------------------------------------------------
// Conversions.

namespace afxdisp {

HRESULT AFXAPI LoadValue(VARIANTARG* arg, VARTYPE vt, VARIANT* out) {
  VARIANTARG* source = arg->vt == (VT_VARIANT | VT_BYREF) ? arg->pvarVal : arg;
  return VariantChangeType(out, source, 0, vt);
}

HRESULT AFXAPI LoadReference(VARIANTARG* arg, VARTYPE vt, void** out) {
  if (arg->vt == (vt | VT_BYREF)) {
    *out = arg->byref;
    return S_OK;
  }
  if (arg->vt != (VT_VARIANT | VT_BYREF) || !arg->pvarVal) return DISP_E_TYPEMISMATCH;
  // A variable passed by reference (as script engines pass them): it takes the parameter's type.
  VARIANT* inner = arg->pvarVal;
  if (inner->vt != vt) {
    HRESULT hr = VariantChangeType(inner, inner, 0, vt);
    if (FAILED(hr)) return hr;
  }
  *out = &inner->lVal;  // the value's place in the union
  return S_OK;
}

void AFXAPI StoreVariant(VARIANT* value, VARIANT* result) {
  if (result)
    *result = *value;
  else
    VariantClear(value);
}

}  // namespace afxdisp

// ---------------------------------------------------------------------------------------------
// CCmdTarget's automation.

namespace {

// The entry for id: the member with that id, or for DISPID_VALUE the member DISP_DEFVALUE names.
const AFX_DISPMAP_ENTRY* FindEntry(const AFX_DISPMAP* map, DISPID id);

const AFX_DISPMAP_ENTRY* FindByName(const AFX_DISPMAP* first, LPCSTR name) {
  for (const AFX_DISPMAP* map = first; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL) {
    for (const AFX_DISPMAP_ENTRY* e = map->lpEntries; e->lpszName; ++e)
      if (e->kind != afxDispDefaultValue && lstrcmpiA(e->lpszName, name) == 0) return e;
    if (!map->pfnGetBaseMap) break;
  }
  return NULL;
}

const AFX_DISPMAP_ENTRY* FindEntry(const AFX_DISPMAP* first, DISPID id) {
  const AFX_DISPMAP_ENTRY* alias = NULL;
  for (const AFX_DISPMAP* map = first; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL) {
    for (const AFX_DISPMAP_ENTRY* e = map->lpEntries; e->lpszName; ++e) {
      if (e->lDispID != id) continue;
      if (e->kind != afxDispDefaultValue) return e;
      if (!alias) alias = e;
    }
    if (!map->pfnGetBaseMap) break;
  }
  return alias ? FindByName(first, alias->lpszName) : NULL;
}

// What a method threw, as its caller sees it.
HRESULT ReportException(EXCEPINFO* info) noexcept {
  CException* e = afxstate::CurrentExceptionAsFramework();
  try {
    if (info) {
      if (COleDispatchException* dispatch = dynamic_cast<COleDispatchException*>(e)) {
        dispatch->FillExcepInfo(info);
      } else {
        // Failures without a text of their own (a library's exception) are the framework's internal failure.
        char text[512];
        CString internal;
        if (!e->GetErrorMessage(text, sizeof text)) afxstate::LoadFrameworkString(AFX_IDP_INTERNAL_FAILURE, internal);
        COleDispatchException report(internal.IsEmpty() ? text : LPCSTR(internal), 0, 0);
        report.m_scError = COleException::Process(e);
        report.FillExcepInfo(info);
      }
    }
  } catch (...) {
    // Out of memory while describing the failure: the caller still learns that the call failed.
  }
  e->Delete();
  return DISP_E_EXCEPTION;
}

}  // namespace

const AFX_DISPMAP* CCmdTarget::GetDispatchMap() const { return GetThisDispatchMap(); }
const AFX_DISPMAP* PASCAL CCmdTarget::GetThisDispatchMap() {
  static const AFX_DISPMAP_ENTRY entries[] = {{NULL, DISPID_UNKNOWN, afxDispFunction, VT_EMPTY, NULL, NULL, NULL}};
  static const AFX_DISPMAP map = {NULL, &entries[0]};
  return &map;
}

void* CCmdTarget::DispatchPart(CCmdTarget* target) { return target->m_bAutomation ? &target->m_xDispatch : NULL; }

void CCmdTarget::EnableAutomation() { m_bAutomation = TRUE; }

LPDISPATCH CCmdTarget::GetIDispatch(BOOL addRef) {
  if (!m_bAutomation) return NULL;
  if (addRef) ExternalAddRef();
  return &m_xDispatch;
}

CCmdTarget* PASCAL CCmdTarget::FromIDispatch(LPDISPATCH dispatch) {
  if (!dispatch) return NULL;
  // Every framework object's dispatch part shares one table of functions; a proxy or another
  // implementation has its own.
  static CCmdTarget probe;
  if (*reinterpret_cast<void**>(dispatch) != *reinterpret_cast<void**>(&probe.m_xDispatch)) return NULL;
  _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Winvalid-offsetof\"");
  return reinterpret_cast<CCmdTarget*>(reinterpret_cast<BYTE*>(static_cast<XDispatch*>(dispatch)) -
                                       offsetof(CCmdTarget, m_xDispatch));
  _Pragma("GCC diagnostic pop");
}

void CCmdTarget::GetNotSupported() { AfxThrowOleDispatchException(0, AFX_IDP_GET_NOT_SUPPORTED); }
void CCmdTarget::SetNotSupported() { AfxThrowOleDispatchException(0, AFX_IDP_SET_NOT_SUPPORTED); }
BOOL CCmdTarget::GetDispatchIID(IID*) { return FALSE; }
HRESULT CCmdTarget::GetTypeLib(LCID, LPTYPELIB* typeLib) {
  if (typeLib) *typeLib = NULL;
  return TYPE_E_CANTLOADLIBRARY;
}

DELEGATE_IUNKNOWN(CCmdTarget, Dispatch)

HRESULT CCmdTarget::XDispatch::GetTypeInfoCount(UINT* count) {
  METHOD_PROLOGUE(CCmdTarget, Dispatch)
  if (!count) return E_POINTER;
  IID iid;
  ITypeLib* lib = NULL;
  *count = 0;
  if (pThis->GetDispatchIID(&iid) && SUCCEEDED(pThis->GetTypeLib(LOCALE_SYSTEM_DEFAULT, &lib)) && lib) {
    ITypeInfo* info = NULL;
    if (SUCCEEDED(lib->GetTypeInfoOfGuid(iid, &info))) {
      *count = 1;
      info->Release();
    }
    lib->Release();
  }
  return S_OK;
}

HRESULT CCmdTarget::XDispatch::GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = NULL;
  METHOD_PROLOGUE(CCmdTarget, Dispatch)
  if (index != 0) return DISP_E_BADINDEX;
  IID iid;
  if (!pThis->GetDispatchIID(&iid)) return E_NOTIMPL;
  ITypeLib* lib = NULL;
  HRESULT hr = pThis->GetTypeLib(lcid, &lib);
  if (FAILED(hr)) return hr;
  hr = lib->GetTypeInfoOfGuid(iid, info);
  lib->Release();
  return hr;
}

HRESULT CCmdTarget::XDispatch::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids) return E_POINTER;
  METHOD_PROLOGUE(CCmdTarget, Dispatch)
  if (count == 0) return S_OK;
  HRESULT hr = S_OK;
  try {
    // Names are plain wide strings here, not BSTRs.
    CString name;
    int bytes = WideCharToMultiByte(CP_ACP, 0, names[0], -1, NULL, 0, NULL, NULL);
    if (bytes > 0) {
      WideCharToMultiByte(CP_ACP, 0, names[0], -1, name.GetBuffer(bytes), bytes, NULL, NULL);
      name.ReleaseBuffer();
    }
    const AFX_DISPMAP_ENTRY* entry = FindByName(pThis->GetDispatchMap(), name);
    ids[0] = entry ? entry->lDispID : DISPID_UNKNOWN;
    if (!entry) hr = DISP_E_UNKNOWNNAME;
  } catch (...) {
    CException* e = afxstate::CurrentExceptionAsFramework();
    hr = COleException::Process(e);
    e->Delete();
    ids[0] = DISPID_UNKNOWN;
  }
  // Parameters have no names in a dispatch map: callers pass arguments by position.
  for (UINT i = 1; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT CCmdTarget::XDispatch::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                      EXCEPINFO* exception, UINT* argErr) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  METHOD_PROLOGUE(CCmdTarget, Dispatch)
  if (!params) return E_INVALIDARG;
  const AFX_DISPMAP_ENTRY* entry = FindEntry(pThis->GetDispatchMap(), id);
  if (!entry) return DISP_E_MEMBERNOTFOUND;

  DISPPARAMS args = *params;
  AFX_DISPCALL call;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    // The new value is the named argument DISPID_PROPERTYPUT (callers that pass it unnamed are taken too).
    if (entry->kind != afxDispProperty || !entry->pfnSet) return DISP_E_MEMBERNOTFOUND;
    if (args.cNamedArgs > 1 || (args.cNamedArgs == 1 && args.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
      return DISP_E_NONAMEDARGS;
    args.cNamedArgs = 0;
    args.rgdispidNamedArgs = NULL;
    call = entry->pfnSet;
    result = NULL;
  } else {
    if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
    if (args.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if (!entry->pfnGet) return DISP_E_MEMBERNOTFOUND;
    call = entry->pfnGet;
  }
  if (result) VariantInit(result);
  UINT ignored = 0;
  try {
    return call(pThis, &args, result, argErr ? argErr : &ignored);
  } catch (...) {
    return ReportException(exception);
  }
}

// ---------------------------------------------------------------------------------------------
// Type libraries.

namespace {
BOOL ModulePath(HMODULE module, WCHAR* path) {
  DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
  return n > 0 && n < MAX_PATH;
}
}  // namespace

HRESULT AFXAPI AfxOleLoadTypeLib(REFGUID tlid, WORD major, WORD minor, LCID lcid, HMODULE module, LPTYPELIB* typeLib) {
  if (!typeLib) return E_POINTER;
  *typeLib = NULL;
  if (SUCCEEDED(LoadRegTypeLib(tlid, major, minor, lcid, typeLib))) return S_OK;
  WCHAR path[MAX_PATH];
  if (!ModulePath(module, path)) return TYPE_E_CANTLOADLIBRARY;
  ITypeLib* lib = NULL;
  HRESULT hr = LoadTypeLibEx(path, REGKIND_NONE, &lib);
  if (FAILED(hr)) return hr;
  TLIBATTR* attr = NULL;
  hr = lib->GetLibAttr(&attr);
  if (SUCCEEDED(hr)) {
    // The module's own library must be the one asked for, not merely some library.
    BOOL same = attr->guid == tlid && attr->wMajorVerNum == major;
    lib->ReleaseTLibAttr(attr);
    hr = same ? S_OK : TYPE_E_LIBNOTREGISTERED;
  }
  if (FAILED(hr)) {
    lib->Release();
    return hr;
  }
  *typeLib = lib;
  return S_OK;
}

BOOL AFXAPI AfxOleRegisterTypeLib(HMODULE module) {
  WCHAR path[MAX_PATH];
  if (!ModulePath(module, path)) return FALSE;
  ITypeLib* lib = NULL;
  if (FAILED(LoadTypeLibEx(path, REGKIND_REGISTER, &lib))) return FALSE;
  lib->Release();
  return TRUE;
}

BOOL AFXAPI AfxOleUnregisterTypeLib(REFGUID tlid, WORD major, WORD minor) {
  return SUCCEEDED(UnRegisterTypeLib(tlid, major, minor, LOCALE_NEUTRAL, SYS_WIN32));
}
