// Owning holders for interface pointers, BSTRs and VARIANTs, so that every path releases what it got.
#pragma once
#include <string>
#include <utility>
#include <oaidl.h>
#include <oleauto.h>

namespace comkit {

// An owning interface pointer: releases on destruction, AddRefs on copy.
template <class T>
class ComPtr {
 public:
  ComPtr() : m_p(nullptr) {}
  ComPtr(T* p) : m_p(p) { if (m_p) m_p->AddRef(); }
  ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
  ComPtr(ComPtr&& other) noexcept : m_p(other.Detach()) {}
  ~ComPtr() { Release(); }
  ComPtr& operator=(ComPtr other) noexcept { std::swap(m_p, other.m_p); return *this; }

  T* operator->() const { return m_p; }
  T* Get() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }

  // Out-parameter access: releases what is held first, so it may be used in a loop.
  T** operator&() { Release(); return &m_p; }
  void** PutVoid() { Release(); return reinterpret_cast<void**>(&m_p); }

  void Attach(T* p) { Release(); m_p = p; }
  T* Detach() { T* p = m_p; m_p = nullptr; return p; }
  void Release() { if (m_p) { T* p = m_p; m_p = nullptr; p->Release(); } }
  HRESULT CopyTo(T** out) const {
    if (!out) return E_POINTER;
    *out = m_p;
    if (m_p) m_p->AddRef();
    return S_OK;
  }
  template <class Q>
  HRESULT QueryInterface(ComPtr<Q>& out) const {
    if (!m_p) return E_POINTER;
    return m_p->QueryInterface(__uuidof(Q), out.PutVoid());
  }

 private:
  T* m_p;
};

// Converts between the system's ANSI code page and UTF-16.
std::wstring Widen(const char* text);
std::string Narrow(const wchar_t* text, int length = -1);

// An owning BSTR.
class Bstr {
 public:
  Bstr() : m_s(nullptr) {}
  explicit Bstr(const wchar_t* text);
  explicit Bstr(const char* text);
  Bstr(const Bstr& other);
  Bstr(Bstr&& other) noexcept : m_s(other.Detach()) {}
  ~Bstr() { SysFreeString(m_s); }
  Bstr& operator=(Bstr other) noexcept { std::swap(m_s, other.m_s); return *this; }

  BSTR Get() const { return m_s; }
  BSTR* operator&() { SysFreeString(m_s); m_s = nullptr; return &m_s; }
  unsigned Length() const { return SysStringLen(m_s); }
  void Attach(BSTR s) { SysFreeString(m_s); m_s = s; }
  BSTR Detach() { BSTR s = m_s; m_s = nullptr; return s; }
  std::string ToAnsi() const { return m_s ? Narrow(m_s, static_cast<int>(SysStringLen(m_s))) : std::string(); }

 private:
  BSTR m_s;
};

// An owning VARIANT, cleared on destruction.
class Variant : public VARIANT {
 public:
  Variant() { VariantInit(this); }
  Variant(long value) { VariantInit(this); vt = VT_I4; lVal = value; }
  Variant(bool value) { VariantInit(this); vt = VT_BOOL; boolVal = value ? VARIANT_TRUE : VARIANT_FALSE; }
  Variant(const char* text);
  Variant(const wchar_t* text);
  Variant(IDispatch* object) { VariantInit(this); vt = VT_DISPATCH; pdispVal = object; if (object) object->AddRef(); }
  Variant(const VARIANT& other);
  Variant(const Variant& other) : Variant(static_cast<const VARIANT&>(other)) {}
  ~Variant() { VariantClear(this); }
  Variant& operator=(const Variant& other);

  HRESULT Clear() { return VariantClear(this); }
  // Converts in place; the value is left unchanged on failure.
  HRESULT ChangeType(VARTYPE type);
  VARIANT* Out() { VariantClear(this); return this; }
};

}  // namespace comkit
