// Helpers of the host tests: paths beside the test, the recorder's file, registry set-up of launch items,
// running programs (test code, not product).
#pragma once
#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <vector>

namespace hosttest {

// A file beside the test program.
std::string BesideTest(const char* name);
// A fresh folder under the temporary folder.
std::string TempFolder(const char* name);
// Points ORV_HOST_RECORD at a fresh file and returns its path.
std::string StartRecording(const char* name);
// The lines the recorder wrote so far, waiting up to timeoutMs for at least count of them.
std::vector<std::string> Recorded(const std::string& file, size_t count, DWORD timeoutMs = 10000);

struct ItemDef {
  std::string key, kind, locator, label;
  bool permanent = false;
  std::vector<std::string> types;
  std::string arguments;
  bool withLocator = true;
};
// Writes items under "Launch Items" (the key replaced).
void WriteItems(const std::vector<ItemDef>& items);
// The subkey names under "Launch Items", in index order.
std::vector<std::string> ItemKeys();
std::string ReadItemValue(const std::string& key, const char* value);

void WriteFile(const std::string& path, const char* text);

}  // namespace hosttest
