// Writing a file without ever losing the old one: content goes to a temporary name beside the target and is
// moved over it only once complete. Used by every portable writer (JPEG codec, AVI/WAV writer, sample media).
#pragma once
#include <cstddef>
#include <string>

namespace safefile {

// A name in the target's folder that no file has yet, for writing before MoveIntoPlace.
// Empty when none can be found.
std::string TemporaryNameBeside(const std::string& target);

// Moves temp over target, replacing an existing target in one step. On failure both files stay as they were.
bool MoveIntoPlace(const std::string& temp, const std::string& target);

// Writes size bytes to path through a temporary file; on any failure no temporary is left and an existing
// file at path is untouched.
bool WriteWholeFile(const std::string& path, const void* data, size_t size);

}  // namespace safefile
