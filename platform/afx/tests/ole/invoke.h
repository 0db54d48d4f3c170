// Calling IDispatch::Invoke from tests: argument lists in call order and the call's outcome (test code).
#pragma once
#include <string>
#include <vector>

#include <windows.h>

// A variant for an argument list: strings are owned by the test's list and freed with it.
struct Args {
  std::vector<VARIANT> items;  // in call order
  ~Args() {
    for (VARIANT& v : items) VariantClear(&v);
  }
  Args& Str(const wchar_t* text) {
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
    items.push_back(v);
    return *this;
  }
  Args& I4(LONG value) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = value;
    items.push_back(v);
    return *this;
  }
  Args& Bool(bool value) {
    VARIANT v;
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    items.push_back(v);
    return *this;
  }
  Args& Raw(const VARIANT& v) {
    items.push_back(v);
    return *this;
  }
};

struct Call {
  HRESULT hr;
  VARIANT result;
  EXCEPINFO info;
  UINT argErr;
};

inline Call Invoke(IDispatch* object, DISPID id, WORD flags, Args& args, bool namedPut = false) {
  std::vector<VARIANT> reversed(args.items.rbegin(), args.items.rend());
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {reversed.empty() ? NULL : reversed.data(), namedPut ? &named : NULL, UINT(reversed.size()),
                       namedPut ? 1u : 0u};
  Call call = {};
  VariantInit(&call.result);
  call.argErr = 99;
  call.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &call.result, &call.info, &call.argErr);
  // Values the callee wrote back through references.
  for (size_t i = 0; i < reversed.size(); ++i) args.items[args.items.size() - 1 - i] = reversed[i];
  return call;
}


// The text of a string result (empty when the result is no string); the result is cleared.
inline std::wstring TakeString(Call& call) {
  std::wstring text = call.result.vt == VT_BSTR && call.result.bstrVal ? call.result.bstrVal : L"";
  VariantClear(&call.result);
  return text;
}
