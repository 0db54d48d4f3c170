// Moving a finished temporary file over its target: the one place where the platform's own call is needed,
// because the C library's rename does not replace an existing file on Windows.
#include <cstdio>
#include <string>
#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "riff.h"

namespace avi::riff {

void MoveIntoPlace(const std::string& temp, const std::string& target) {
#ifdef _WIN32
  const bool ok = MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  const bool ok = std::rename(temp.c_str(), target.c_str()) == 0;
#endif
  if (!ok) Fail(Errc::kIo, "cannot replace " + target);
}

std::string TemporaryNameFor(const std::string& target) {
  for (int n = 0;; ++n) {
    const std::string name = target + ".~" + std::to_string(n) + ".tmp";
    struct stat st;
    if (stat(name.c_str(), &st) != 0) return name;
    if (n > 9999) Fail(Errc::kIo, "no free temporary name beside " + target);
  }
}

}  // namespace avi::riff
