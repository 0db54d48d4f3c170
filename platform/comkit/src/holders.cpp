// String conversion and the BSTR and VARIANT holders.
#include "comkit/holders.h"

namespace comkit {

std::wstring Widen(const char* text) {
  if (!text || !*text) return std::wstring();
  int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
  if (length > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
  return wide;
}

std::string Narrow(const wchar_t* text, int length) {
  if (!text || length == 0) return std::string();
  int bytes = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string narrow(bytes, '\0');
  WideCharToMultiByte(CP_ACP, 0, text, length, &narrow[0], bytes, nullptr, nullptr);
  if (length < 0) narrow.resize(bytes - 1);  // drop the terminator that came with it
  return narrow;
}

Bstr::Bstr(const wchar_t* text) : m_s(text ? SysAllocString(text) : nullptr) {}

Bstr::Bstr(const char* text) : m_s(nullptr) {
  if (text) m_s = SysAllocString(Widen(text).c_str());
}

Bstr::Bstr(const Bstr& other) : m_s(other.m_s ? SysAllocStringLen(other.m_s, SysStringLen(other.m_s)) : nullptr) {}

Variant::Variant(const char* text) {
  VariantInit(this);
  vt = VT_BSTR;
  bstrVal = Bstr(text ? text : "").Detach();
}

Variant::Variant(const wchar_t* text) {
  VariantInit(this);
  vt = VT_BSTR;
  bstrVal = SysAllocString(text ? text : L"");
}

Variant::Variant(const VARIANT& other) {
  VariantInit(this);
  VariantCopy(this, const_cast<VARIANT*>(&other));
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    VariantClear(this);
    VariantCopy(this, const_cast<Variant*>(&other));
  }
  return *this;
}

HRESULT Variant::ChangeType(VARTYPE type) {
  VARIANT converted;
  VariantInit(&converted);
  HRESULT hr = VariantChangeType(&converted, this, 0, type);
  if (SUCCEEDED(hr)) {
    VariantClear(this);
    *static_cast<VARIANT*>(this) = converted;
  }
  return hr;
}

}  // namespace comkit
