// Helpers of the host tests (test code, not product).
#include "test_support.h"

#include <fstream>

namespace hosttest {

const char kItemsKey[] = "Software\\Nexlumen\\Orvane\\Launch Items";

std::string BesideTest(const char* name) {
  char path[MAX_PATH];
  GetModuleFileNameA(NULL, path, MAX_PATH);
  std::string program(path);
  return program.substr(0, program.find_last_of('\\') + 1) + name;
}

std::string TempFolder(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + name;
  CreateDirectoryA(folder.c_str(), NULL);
  return folder;
}

std::string StartRecording(const char* name) {
  std::string file = TempFolder("host_tests") + "\\" + name;
  DeleteFileA(file.c_str());
  SetEnvironmentVariableA("ORV_HOST_RECORD", file.c_str());
  return file;
}

std::vector<std::string> Recorded(const std::string& file, size_t count, DWORD timeoutMs) {
  std::vector<std::string> lines;
  for (DWORD waited = 0;; waited += 50) {
    lines.clear();
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    if (lines.size() >= count || waited >= timeoutMs) return lines;
    Sleep(50);
  }
}

void WriteItems(const std::vector<ItemDef>& items) {
  SHDeleteKeyA(HKEY_CURRENT_USER, kItemsKey);
  for (const ItemDef& item : items) {
    HKEY key;
    std::string path = std::string(kItemsKey) + "\\" + item.key;
    RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE*)item.kind.c_str(), DWORD(item.kind.size() + 1));
    if (item.withLocator)
      RegSetValueExA(key, "Locator", 0, REG_SZ, (const BYTE*)item.locator.c_str(), DWORD(item.locator.size() + 1));
    if (!item.label.empty())
      RegSetValueExA(key, "Label", 0, REG_SZ, (const BYTE*)item.label.c_str(), DWORD(item.label.size() + 1));
    if (!item.arguments.empty())
      RegSetValueExA(key, "CommandLineArgs", 0, REG_SZ, (const BYTE*)item.arguments.c_str(),
                     DWORD(item.arguments.size() + 1));
    DWORD permanent = item.permanent ? 1 : 0;
    RegSetValueExA(key, "Permanent", 0, REG_DWORD, (const BYTE*)&permanent, sizeof permanent);
    if (!item.types.empty()) {
      HKEY types;
      RegCreateKeyExA(key, "FileTypesSupported", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &types, NULL);
      for (const std::string& type : item.types)
        RegSetValueExA(types, type.c_str(), 0, REG_SZ, (const BYTE*)type.c_str(), DWORD(type.size() + 1));
      RegCloseKey(types);
    }
    RegCloseKey(key);
  }
}

std::vector<std::string> ItemKeys() {
  std::vector<std::string> names;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kItemsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  char name[256];
  for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i) names.push_back(name);
  RegCloseKey(key);
  return names;
}

std::string ReadItemValue(const std::string& key, const char* value) {
  char data[1024] = "";
  DWORD size = sizeof data;
  std::string path = std::string(kItemsKey) + "\\" + key;
  if (SHGetValueA(HKEY_CURRENT_USER, path.c_str(), value, NULL, data, &size) != ERROR_SUCCESS)
    return "<missing>";
  return data;
}

void WriteFile(const std::string& path, const char* text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

}  // namespace hosttest
