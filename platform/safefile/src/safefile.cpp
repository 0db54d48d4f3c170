// Temporary names, the replacing move (the one call that needs the platform: the C library's rename does not
// replace an existing file on Windows) and whole-file writes.
#include "safefile/safefile.h"

#include <cstdio>
#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace safefile {

namespace {
const int kMaxTemporaryTries = 10000;
}

std::string TemporaryNameBeside(const std::string& target) {
  for (int n = 0; n < kMaxTemporaryTries; ++n) {
    const std::string name = target + ".~" + std::to_string(n) + ".tmp";
    struct stat st;
    if (stat(name.c_str(), &st) != 0) return name;
  }
  return std::string();
}

bool MoveIntoPlace(const std::string& temp, const std::string& target) {
#ifdef _WIN32
  return MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(temp.c_str(), target.c_str()) == 0;
#endif
}

bool WriteWholeFile(const std::string& path, const void* data, size_t size) {
  const std::string temp = TemporaryNameBeside(path);
  if (temp.empty()) return false;
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) return false;
  const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  const bool closed = std::fclose(file) == 0;
  if (written && closed && MoveIntoPlace(temp, path)) return true;
  std::remove(temp.c_str());
  return false;
}

}  // namespace safefile
