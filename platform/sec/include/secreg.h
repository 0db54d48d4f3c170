// SECRegistry: one open registry key under HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE (or any root) with the
// access the caller asks for: opening and creating keys, enumerating subkeys and values in the registry's
// index order, reading and writing strings, numbers and binary values, deleting values and whole key trees.
// The host (help entries, help contexts, launch items, workspaces), the Gallery (settings with machine
// fall-back, recent folders) and the TWAIN libraries (preferences) keep their settings through it.
#pragma once
#include "secdefs.h"

class SEC_API SECRegistry {
 public:
  SECRegistry();
  ~SECRegistry();  // closes the key
  SECRegistry(const SECRegistry&) = delete;
  SECRegistry& operator=(const SECRegistry&) = delete;

  // Opens root\subKey (an empty or null subKey: root itself) with access; false when it is missing or
  // refused (GetLastErrorCode tells which). An open key is closed first.
  BOOL Open(HKEY root, LPCSTR subKey, REGSAM access = KEY_READ);
  // Opens root\subKey, creating it and the keys above it when missing.
  BOOL Create(HKEY root, LPCSTR subKey, REGSAM access = KEY_ALL_ACCESS);
  // The same below another open key.
  BOOL Open(const SECRegistry& parent, LPCSTR subKey, REGSAM access = KEY_READ);
  BOOL Create(const SECRegistry& parent, LPCSTR subKey, REGSAM access = KEY_ALL_ACCESS);
  void Close();
  BOOL IsOpen() const { return m_hKey != NULL; }
  HKEY GetKey() const { return m_hKey; }
  // The system error code of the last call that failed (ERROR_SUCCESS after one that succeeded).
  LONG GetLastErrorCode() const { return m_lError; }

  // The name of the subkey or value at index (0, 1, ...); false past the last one. Values report their
  // type (REG_SZ, REG_DWORD, ...) when type is given.
  BOOL EnumSubKey(DWORD index, CString& name);
  BOOL EnumValue(DWORD index, CString& name, DWORD* type = NULL);
  // All subkey or value names, in index order.
  BOOL GetSubKeyNames(CStringArray& names);
  BOOL GetValueNames(CStringArray& names);

  // Reads a value (null or "": the default value). A string read takes REG_SZ and REG_EXPAND_SZ (not
  // expanded), a number REG_DWORD, binary data any type; a value of another type fails with
  // ERROR_UNSUPPORTED_TYPE and leaves the result as it was.
  BOOL QueryValue(LPCSTR name, CString& value);
  BOOL QueryValue(LPCSTR name, DWORD& value);
  BOOL QueryValue(LPCSTR name, CByteArray& value);
  BOOL SetValue(LPCSTR name, LPCSTR value);
  BOOL SetValue(LPCSTR name, DWORD value);
  BOOL SetValue(LPCSTR name, const void* data, DWORD size);  // REG_BINARY
  BOOL DeleteValue(LPCSTR name);

  // Deletes subKey of this key with every key below it.
  BOOL DeleteKey(LPCSTR subKey);
  // Deletes root\subKey with every key below it; the system error code (ERROR_SUCCESS, or
  // ERROR_FILE_NOT_FOUND when it was not there).
  static LONG DeleteKeyTree(HKEY root, LPCSTR subKey);

 private:
  BOOL Result(LONG error);
  BOOL QueryRaw(LPCSTR name, DWORD* type, CByteArray& data);

  HKEY m_hKey;
  LONG m_lError;
};
