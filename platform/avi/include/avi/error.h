// Error codes and the exception type of the AVI container and the WAV header parser.
#pragma once

#include <stdexcept>
#include <string>

namespace avi {

// What went wrong. The media layer maps these onto the system's exceptions: parse failures of a sound
// header to the framework's file exception, editing failures to the media exception, save failures to
// the file exception with the path.
enum class Errc {
  kIo,              // a file could not be opened, read, written or renamed
  kNotRiff,         // no RIFF signature
  kNotAvi,          // RIFF, but not of form 'AVI '
  kNotWave,         // RIFF, but not of form 'WAVE'
  kTruncated,       // a chunk or header reaches past the end of its parent or of the file
  kBadHeader,       // a header chunk is missing, too small or inconsistent
  kBadFormat,       // a stream or sound format record is missing or too small
  kTooLarge,        // a size or count beyond what the container accepts
  kTooManyStreams,  // more streams than chunk identifiers can name
  kNoStream,        // a stream index or type that the file does not have
  kBadRange,        // a sample position or range outside the stream
  kEmptyRange,      // an edit range that maps to no samples
  kFormatMismatch,  // pasting between streams of different type or incompatible format
  kUnsupported,     // e.g. silence for a compressed sound format
};

// Short English name of a code, for messages and test output.
const char* ErrcName(Errc code);

class Error : public std::runtime_error {
 public:
  Error(Errc code, const std::string& what) : std::runtime_error(what), code_(code) {}
  Errc code() const { return code_; }

 private:
  Errc code_;
};

}  // namespace avi
