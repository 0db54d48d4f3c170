// The container's error reporting over the shared safe-replacement helpers.
#include "riff.h"
#include "safefile/safefile.h"

namespace avi::riff {

void MoveIntoPlace(const std::string& temp, const std::string& target) {
  if (!safefile::MoveIntoPlace(temp, target)) Fail(Errc::kIo, "cannot replace " + target);
}

std::string TemporaryNameFor(const std::string& target) {
  std::string name = safefile::TemporaryNameBeside(target);
  if (name.empty()) Fail(Errc::kIo, "no free temporary name beside " + target);
  return name;
}

}  // namespace avi::riff
