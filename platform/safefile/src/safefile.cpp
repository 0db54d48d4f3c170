// Exclusive temporaries, the replacing move (the one call that needs the platform: the C library's rename does
// not replace an existing file on Windows), the check that a target may be replaced, and numbered files.
#include "safefile/safefile.h"

#include <algorithm>
#include <cerrno>
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
const int kNewFileFlags = O_WRONLY | O_CREAT | O_EXCL | O_BINARY;
const int kNewFileMode = _S_IREAD | _S_IWRITE;
std::FILE* StreamOf(int fd) { return _fdopen(fd, "wb"); }
#else
const int kNewFileFlags = O_WRONLY | O_CREAT | O_EXCL;
const int kNewFileMode = 0644;
std::FILE* StreamOf(int fd) { return fdopen(fd, "wb"); }
#endif

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

enum class Made { kCreated, kTaken, kFailed };

// Creates name only when no file or folder has it yet.
Made CreateNew(const std::string& name, int* fd) {
  *fd = open(name.c_str(), kNewFileFlags, kNewFileMode);
  if (*fd >= 0) return Made::kCreated;
  // Windows reports a folder of that name as a denial rather than as taken.
  return errno == EEXIST || Exists(name) ? Made::kTaken : Made::kFailed;
}

// A file that is read-only, a folder, or open elsewhere without write sharing keeps its content: replacing it
// would take it away from its holder or undo the user's protection.
bool TargetReplaceable(const std::string& target) {
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
  HANDLE probe = CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return false;
  CloseHandle(probe);
  return true;
#else
  struct stat st;
  if (stat(target.c_str(), &st) != 0) return true;
  return !S_ISDIR(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
#endif
}

bool MoveIntoPlace(const std::string& temp, const std::string& target) {
#ifdef _WIN32
  return MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(temp.c_str(), target.c_str()) == 0;
#endif
}
}  // namespace

PendingFile::PendingFile(const std::string& target) : target_(target) {
  int fd = -1;
  for (int n = 0; n < kMaxTemporaryTries; ++n) {
    temporary_ = target + ".~" + std::to_string(n) + ".tmp";
    const Made made = CreateNew(temporary_, &fd);
    if (made == Made::kTaken) continue;
    if (made == Made::kCreated) {
      open_ = true;
      file_ = StreamOf(fd);
      if (!file_) {
        close(fd);
        Discard();
        break;
      }
      return;
    }
    break;
  }
  temporary_.clear();
  error_ = Error::kCreate;
}

PendingFile::~PendingFile() { Discard(); }

bool PendingFile::Close() {
  if (!file_) return open_ && error_ == Error::kNone;
  bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  if (!ok) error_ = Error::kWrite;
  return ok;
}

bool PendingFile::Commit() {
  if (!Close()) {
    Discard();
    return false;
  }
  if (!TargetReplaceable(target_)) {
    error_ = Error::kTargetLocked;
  } else if (!MoveIntoPlace(temporary_, target_)) {
    error_ = Error::kReplace;
  } else {
    open_ = false;
    return true;
  }
  Discard();
  return false;
}

bool PendingFile::Discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (open_ && std::remove(temporary_.c_str()) != 0) return false;
  open_ = false;
  return true;
}

bool WriteWholeFile(const std::string& path, const void* data, size_t size) {
  PendingFile pending(path);
  if (!pending.file()) return false;
  const char* bytes = static_cast<const char*>(data);
  for (size_t done = 0; done < size;) {
    const size_t chunk = std::min(size - done, kWriteChunk);
    if (std::fwrite(bytes + done, 1, chunk, pending.file()) != chunk) return false;
    done += chunk;
  }
  return pending.Commit();
}

std::string CreateNumberedFile(const std::string& stem, const std::string& suffix, int first, int last) {
  for (int n = first; n <= last; ++n) {
    const std::string name = stem + std::to_string(n) + suffix;
    int fd = -1;
    const Made made = CreateNew(name, &fd);
    if (made == Made::kTaken) continue;
    if (made == Made::kFailed) break;
    close(fd);
    return name;
  }
  return std::string();
}

}  // namespace safefile
