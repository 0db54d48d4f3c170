// SECRegistry: an open registry key and what the suite does with it.
#include "secreg.h"

#include <vector>

namespace {

// Deletes name below parent after every key below it; the first failure stops the walk and is returned.
LONG DeleteTree(HKEY parent, LPCSTR name) {
  HKEY key;
  LONG error = ::RegOpenKeyExA(parent, name, 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &key);
  if (error != ERROR_SUCCESS) return error;
  char child[256];  // the longest key name the registry allows, with its terminator
  for (;;) {
    DWORD length = sizeof child;
    error = ::RegEnumKeyExA(key, 0, child, &length, NULL, NULL, NULL, NULL);
    if (error == ERROR_NO_MORE_ITEMS) break;
    if (error == ERROR_SUCCESS) error = DeleteTree(key, child);
    if (error != ERROR_SUCCESS) {
      ::RegCloseKey(key);
      return error;
    }
  }
  ::RegCloseKey(key);
  return ::RegDeleteKeyA(parent, name);
}

}  // namespace

SECRegistry::SECRegistry() : m_hKey(NULL), m_lError(ERROR_SUCCESS) {}

SECRegistry::~SECRegistry() { Close(); }

BOOL SECRegistry::Result(LONG error) {
  m_lError = error;
  return error == ERROR_SUCCESS;
}

BOOL SECRegistry::Open(HKEY root, LPCSTR subKey, REGSAM access) {
  Close();
  if (!root) return Result(ERROR_INVALID_HANDLE);
  return Result(::RegOpenKeyExA(root, subKey ? subKey : "", 0, access, &m_hKey));
}

BOOL SECRegistry::Create(HKEY root, LPCSTR subKey, REGSAM access) {
  Close();
  if (!root) return Result(ERROR_INVALID_HANDLE);
  return Result(::RegCreateKeyExA(root, subKey ? subKey : "", 0, NULL, REG_OPTION_NON_VOLATILE, access, NULL,
                                  &m_hKey, NULL));
}

BOOL SECRegistry::Open(const SECRegistry& parent, LPCSTR subKey, REGSAM access) {
  if (&parent == this) return Result(ERROR_INVALID_PARAMETER);
  return Open(parent.m_hKey, subKey, access);
}

BOOL SECRegistry::Create(const SECRegistry& parent, LPCSTR subKey, REGSAM access) {
  if (&parent == this) return Result(ERROR_INVALID_PARAMETER);
  return Create(parent.m_hKey, subKey, access);
}

void SECRegistry::Close() {
  if (m_hKey) ::RegCloseKey(m_hKey);
  m_hKey = NULL;
}

BOOL SECRegistry::EnumSubKey(DWORD index, CString& name) {
  char buffer[256];
  DWORD length = sizeof buffer;
  if (!Result(::RegEnumKeyExA(m_hKey, index, buffer, &length, NULL, NULL, NULL, NULL))) return FALSE;
  name = CString(buffer, int(length));
  return TRUE;
}

BOOL SECRegistry::EnumValue(DWORD index, CString& name, DWORD* type) {
  DWORD longest = 0;
  if (!Result(::RegQueryInfoKeyA(m_hKey, NULL, NULL, NULL, NULL, NULL, NULL, NULL, &longest, NULL, NULL, NULL))) return FALSE;
  // The longest name may grow between the two calls; then ask again with the new length.
  for (;;) {
    std::vector<char> buffer(longest + 1);
    DWORD length = DWORD(buffer.size());
    LONG error = ::RegEnumValueA(m_hKey, index, buffer.data(), &length, NULL, type, NULL, NULL);
    if (error == ERROR_MORE_DATA && length >= longest) {
      longest = longest * 2 + 256;
      continue;
    }
    if (!Result(error)) return FALSE;
    name = CString(buffer.data(), int(length));
    return TRUE;
  }
}

BOOL SECRegistry::GetSubKeyNames(CStringArray& names) {
  names.RemoveAll();
  CString name;
  for (DWORD i = 0; EnumSubKey(i, name); ++i) names.Add(name);
  return Result(m_lError == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : m_lError);
}

BOOL SECRegistry::GetValueNames(CStringArray& names) {
  names.RemoveAll();
  CString name;
  for (DWORD i = 0; EnumValue(i, name); ++i) names.Add(name);
  return Result(m_lError == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : m_lError);
}

BOOL SECRegistry::QueryRaw(LPCSTR name, DWORD* type, CByteArray& data) {
  DWORD size = 0;
  if (!Result(::RegQueryValueExA(m_hKey, name, NULL, type, NULL, &size))) return FALSE;
  // The value may grow between asking for its size and reading it.
  for (;;) {
    data.SetSize(size);
    DWORD got = size;
    LONG error = ::RegQueryValueExA(m_hKey, name, NULL, type, size ? data.GetData() : NULL, &got);
    if (error == ERROR_MORE_DATA) {
      size = got > size ? got : size * 2 + 16;
      continue;
    }
    if (!Result(error)) return FALSE;
    data.SetSize(got);
    return TRUE;
  }
}

BOOL SECRegistry::QueryValue(LPCSTR name, CString& value) {
  DWORD type = 0;
  CByteArray data;
  if (!QueryRaw(name, &type, data)) return FALSE;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return Result(ERROR_UNSUPPORTED_TYPE);
  // A stored string need not end with its terminator; it ends at the first one or with its data.
  const char* text = reinterpret_cast<const char*>(data.GetData());
  int length = 0;
  while (length < data.GetSize() && text[length]) ++length;
  value = CString(text, length);
  return TRUE;
}

BOOL SECRegistry::QueryValue(LPCSTR name, DWORD& value) {
  DWORD type = 0;
  CByteArray data;
  if (!QueryRaw(name, &type, data)) return FALSE;
  if (type != REG_DWORD || data.GetSize() != sizeof(DWORD)) return Result(ERROR_UNSUPPORTED_TYPE);
  memcpy(&value, data.GetData(), sizeof value);
  return TRUE;
}

BOOL SECRegistry::QueryValue(LPCSTR name, CByteArray& value) {
  CByteArray data;
  if (!QueryRaw(name, NULL, data)) return FALSE;
  value.Copy(data);
  return TRUE;
}

BOOL SECRegistry::SetValue(LPCSTR name, LPCSTR value) {
  if (!value) value = "";
  return Result(::RegSetValueExA(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                 DWORD(strlen(value) + 1)));
}

BOOL SECRegistry::SetValue(LPCSTR name, DWORD value) {
  return Result(::RegSetValueExA(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value));
}

BOOL SECRegistry::SetValue(LPCSTR name, const void* data, DWORD size) {
  return Result(::RegSetValueExA(m_hKey, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size));
}

BOOL SECRegistry::DeleteValue(LPCSTR name) { return Result(::RegDeleteValueA(m_hKey, name)); }

BOOL SECRegistry::DeleteKey(LPCSTR subKey) {
  if (!m_hKey) return Result(ERROR_INVALID_HANDLE);
  return Result(DeleteKeyTree(m_hKey, subKey));
}

LONG SECRegistry::DeleteKeyTree(HKEY root, LPCSTR subKey) {
  // An empty name would mean root itself: never taken as a request to empty a whole hive.
  if (!root || !subKey || !*subKey) return ERROR_INVALID_PARAMETER;
  return DeleteTree(root, subKey);
}
