// Writing a file without ever losing the old one: content goes to a temporary file beside the target that is
// moved over it only once complete. Every writer of the suite saves through here (JPEG codec, AVI/WAV writer,
// imaging toolkit, sample media) and takes its numbered temporary files from here (NXMisc, NXMedia).
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

namespace safefile {

enum class Error {
  kNone,
  kCreate,        // no temporary could be made beside the target (missing folder, no access)
  kWrite,         // writing, flushing or closing the temporary failed (full disk)
  kTargetLocked,  // the target is read-only, a folder, or held open without write sharing
  kReplace,       // the move over the target failed
};

// A save in progress. The temporary is created exclusively, so no other writer shares it; it is written
// through file() or, after Close(), by name through temporary(). Commit() moves it over the target; a
// PendingFile that is not committed removes its temporary, so a failed save changes nothing.
class PendingFile {
 public:
  explicit PendingFile(const std::string& target);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Open for binary writing; null when the temporary could not be created (error() says why) or after Close().
  std::FILE* file() const { return file_; }
  const std::string& temporary() const { return temporary_; }
  const std::string& target() const { return target_; }
  Error error() const { return error_; }

  // Ends writing through file(); false when flushing or closing failed.
  bool Close();
  // Closes, then replaces the target by the temporary. On false the target is as it was and the temporary gone.
  bool Commit();
  // Removes the temporary; the target is untouched. false when the temporary could not be removed.
  bool Discard();

 private:
  std::string target_;
  std::string temporary_;
  std::FILE* file_ = nullptr;
  Error error_ = Error::kNone;
  bool open_ = false;  // the temporary exists and is ours
};

// Writes size bytes to path through a PendingFile; false (and nothing changed at path) on any failure.
bool WriteWholeFile(const std::string& path, const void* data, size_t size);

// Creates an empty file under the first free name stem + n + suffix for n = first..last and returns that name
// (an existing file is never reused); empty when all are taken or the folder cannot be written.
std::string CreateNumberedFile(const std::string& stem, const std::string& suffix, int first, int last);

}  // namespace safefile
