// Test support for the package writer and the player under Wine: files, the generated media, and an
// independent reader of packages that parses the trailer by its byte offsets, without the writer's code.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace packagetest {

using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
bool Exists(const std::string& path);
// Names of the files in folder (without "." and "..").
std::vector<std::string> List(const std::string& folder);
// An empty folder under the system's temporary folder, ending in a backslash.
std::string FreshFolder(const char* name);
// The folder of the test program (the build's bin folder), ending in a backslash.
std::string ProgramDir();

// Media made once per process by the sample generator's code: a 320 x 240 front picture (JPEG), a clip with
// sound and a sweep (WAV).
struct Media {
  std::string front;
  std::string clip;
  std::string sound;
};
const Media& SampleMedia();

// A fixed moment in the past (2003-04-05 06:07:08 local time), far from any test run.
time_t PastStamp();

// The package as a reader that knows only the documented layout sees it.
struct Parsed {
  Bytes file;
  size_t trailerAt = 0;
  uint16_t U16(size_t field) const;
  uint32_t U32(size_t field) const;
  uint8_t U8(size_t field) const { return file[trailerAt + field]; }
  std::string Text(size_t field, size_t size) const;  // up to the NUL; "<no NUL>" appended when missing
  Bytes Part(size_t offsetField) const;                // the bytes at (offset, length) of a part's fields
  uint8_t SumOfParts() const;                          // 8-bit sum over every part's bytes
};
Parsed Parse(const std::string& path);

// Trailer field offsets as the file format gives them.
enum : size_t {
  kVersion = 0, kKind = 2, kPicture = 4, kViewer1 = 12, kViewer2 = 20, kVideo = 28, kSound = 36,
  kCompressed = 44, kChecksum = 45, kMessage = 46, kSender = 813, kRecipients = 1068, kSubject = 1323,
  kCreated = 1578, kLinkLabel = 1596, kLinkAddress = 1627, kReserved = 1755, kTrailer = 1756
};

}  // namespace packagetest
