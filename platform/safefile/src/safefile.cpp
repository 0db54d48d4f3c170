// Temporary names, the replacing move (the one call that needs the platform: the C library's rename does not
// replace an existing file on Windows) and whole-file writes.
#include "safefile/safefile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace safefile {

namespace {
const int kMaxTemporaryTries = 10000;
const size_t kWriteChunk = 1 << 24;  // one write call moves at most this much
#ifdef _WIN32
const int kBinary = O_BINARY;
const int kNewFileMode = _S_IREAD | _S_IWRITE;
#else
const int kBinary = 0;
const int kNewFileMode = 0644;
#endif

std::string TemporaryName(const std::string& target, int n) { return target + ".~" + std::to_string(n) + ".tmp"; }
}  // namespace

std::string TemporaryNameBeside(const std::string& target) {
  for (int n = 0; n < kMaxTemporaryTries; ++n) {
    const std::string name = TemporaryName(target, n);
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
  // The temporary is created exclusively, so two writers of one target never share a temporary.
  std::string temp;
  int fd = -1;
  for (int n = 0; n < kMaxTemporaryTries && fd < 0; ++n) {
    temp = TemporaryName(path, n);
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | kBinary, kNewFileMode);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  const char* bytes = static_cast<const char*>(data);
  size_t done = 0;
  while (done < size) {
    const unsigned chunk = static_cast<unsigned>(std::min<size_t>(size - done, kWriteChunk));
    const auto put = write(fd, bytes + done, chunk);
    if (put <= 0) break;
    done += static_cast<size_t>(put);
  }
  const bool closed = close(fd) == 0;
  if (done == size && closed && MoveIntoPlace(temp, path)) return true;
  std::remove(temp.c_str());
  return false;
}

}  // namespace safefile
