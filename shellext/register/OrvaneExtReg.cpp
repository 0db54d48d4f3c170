// OrvaneExtReg: registers OrvaneExt.dll as the shell's context-menu handler for every file and for folders
// (install) or takes exactly that registration out again (uninstall). Run by the installer and the tests.
//
//   OrvaneExtReg install [DLL]   DLL defaults to OrvaneExt.dll beside this program
//   OrvaneExtReg uninstall
//
// Exit code 0 on success, else the system error code. Both are safe to repeat.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "orvaneext/OrvaneExt.h"

namespace {

const int kUsageError = ERROR_BAD_ARGUMENTS;
const char kInprocSubkey[] = "InprocServer32";
const char kThreadingModelValue[] = "ThreadingModel";

std::string ClassKey() { return std::string(orvext::kClassesKey) + "\\CLSID\\" + orvext::kClsidText; }

std::string HandlerKey(const char* fileClass) {
  return std::string(orvext::kClassesKey) + "\\" + fileClass + "\\" + orvext::kHandlersSubkey + "\\" +
         orvext::kHandlerName;
}

// Under the class key: the keys the install had to create on the way to its entries, so that the
// uninstall takes away what it added and nothing the system had before (some systems keep empty
// "shellex" keys of their own).
const char kCreatedKeysValue[] = "CreatedKeys";

// Creates every missing key of path under HKEY_LOCAL_MACHINE, adding the ones it made to created.
LONG CreatePath(const std::string& path, std::vector<std::string>& created) {
  size_t end = 0;
  do {
    end = path.find('\\', end + 1);
    const std::string part = path.substr(0, end);
    HKEY key;
    DWORD disposition = 0;
    const LONG result =
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, part.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &key, &disposition);
    if (result != ERROR_SUCCESS) return result;
    RegCloseKey(key);
    if (disposition == REG_CREATED_NEW_KEY) created.push_back(part);
  } while (end != std::string::npos);
  return ERROR_SUCCESS;
}

// Sets one string value in path under HKEY_LOCAL_MACHINE, creating the path as needed.
LONG WriteValue(const std::string& path, const char* name, const std::string& value, std::vector<std::string>& created) {
  LONG result = CreatePath(path, created);
  if (result != ERROR_SUCCESS) return result;
  HKEY key;
  result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_SET_VALUE, &key);
  if (result != ERROR_SUCCESS) return result;
  result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
  return result;
}

// The created-keys record of an earlier install (none when there was none).
std::vector<std::string> ReadCreatedKeys() {
  std::vector<std::string> keys;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ClassKey().c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return keys;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, kCreatedKeysValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_MULTI_SZ) {
    std::vector<char> data(size + 2, '\0');
    if (RegQueryValueExA(key, kCreatedKeysValue, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
        ERROR_SUCCESS) {
      for (const char* entry = data.data(); *entry; entry += std::strlen(entry) + 1) keys.emplace_back(entry);
    }
  }
  RegCloseKey(key);
  return keys;
}

LONG WriteCreatedKeys(const std::vector<std::string>& keys) {
  std::string data;
  for (const std::string& key : keys) data += key + '\0';
  data += '\0';
  HKEY key;
  LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, ClassKey().c_str(), 0, KEY_SET_VALUE, &key);
  if (result != ERROR_SUCCESS) return result;
  result = RegSetValueExA(key, kCreatedKeysValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  return result;
}

// A key that is already gone counts as removed.
LONG DeleteKey(const std::string& path) {
  const LONG result = RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
  return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

// Removes path when it holds neither subkeys nor values: somebody else's entries keep it.
void DeleteIfEmpty(const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
  DWORD subkeys = 1, values = 1;
  const LONG result = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                       nullptr, nullptr, nullptr);
  RegCloseKey(key);
  if (result == ERROR_SUCCESS && subkeys == 0 && values == 0) RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

std::string DefaultDllPath() {
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self, length);
  return path.substr(0, path.rfind('\\') + 1) + orvext::kDllName;
}

LONG Install(const std::string& dllArgument) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(dllArgument.c_str(), MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH) return ERROR_BAD_PATHNAME;
  const DWORD attributes = GetFileAttributesA(full);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    std::fprintf(stderr, "OrvaneExtReg: %s not found\n", full);
    return ERROR_FILE_NOT_FOUND;
  }
  // Keys an earlier install created stay on the record, or a repeated install would forget them.
  std::vector<std::string> created = ReadCreatedKeys();
  const std::string inproc = ClassKey() + "\\" + kInprocSubkey;
  LONG result = WriteValue(ClassKey(), nullptr, orvext::kClassDescription, created);
  if (result == ERROR_SUCCESS) result = WriteValue(inproc, nullptr, full, created);
  if (result == ERROR_SUCCESS) result = WriteValue(inproc, kThreadingModelValue, orvext::kThreadingModel, created);
  for (const char* fileClass : orvext::kHandlerClasses) {
    if (result == ERROR_SUCCESS) result = WriteValue(HandlerKey(fileClass), nullptr, orvext::kClsidText, created);
  }
  if (result == ERROR_SUCCESS) {
    result = WriteValue(orvext::kApprovedKey, orvext::kClsidText, orvext::kClassDescription, created);
  }
  if (result == ERROR_SUCCESS) result = WriteCreatedKeys(created);
  return result;
}

LONG Uninstall() {
  std::vector<std::string> created = ReadCreatedKeys();
  LONG result = ERROR_SUCCESS;
  for (const char* fileClass : orvext::kHandlerClasses) {
    const LONG deleted = DeleteKey(HandlerKey(fileClass));
    if (deleted != ERROR_SUCCESS) result = deleted;
  }
  HKEY approved;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, orvext::kApprovedKey, 0, KEY_SET_VALUE, &approved) == ERROR_SUCCESS) {
    const LONG deleted = RegDeleteValueA(approved, orvext::kClsidText);
    if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND) result = deleted;
    RegCloseKey(approved);
  }
  for (const std::string& key : {ClassKey() + "\\" + kInprocSubkey, ClassKey()}) {
    const LONG deleted = DeleteKey(key);
    if (deleted != ERROR_SUCCESS) result = deleted;
  }
  // Deepest first, so that a parent is empty by the time its turn comes.
  std::sort(created.begin(), created.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  for (const std::string& key : created) DeleteIfEmpty(key);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  LONG result = kUsageError;
  if (argc >= 2 && argc <= 3 && std::strcmp(argv[1], "install") == 0) {
    result = Install(argc == 3 ? argv[2] : DefaultDllPath());
  } else if (argc == 2 && std::strcmp(argv[1], "uninstall") == 0) {
    result = Uninstall();
  } else {
    std::fprintf(stderr, "usage: OrvaneExtReg install [OrvaneExt.dll] | uninstall\n");
    return result;
  }
  if (result != ERROR_SUCCESS) std::fprintf(stderr, "OrvaneExtReg: %s failed (error %ld)\n", argv[1], result);
  return static_cast<int>(result);
}
