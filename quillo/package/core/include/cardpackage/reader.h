// Reading a card package back: the trailer from the last 1756 bytes, its parts checked against the file and
// the checksum recomputed. Portable; the player reads its own file through it, the fuzzer feeds it bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cardpackage/trailer.h"

namespace cardpackage {

// Random-access input of known size. ReadAt fills exactly size bytes or returns false.
class RandomAccessSource {
 public:
  virtual ~RandomAccessSource() = default;
  virtual uint64_t Size() = 0;
  virtual bool ReadAt(uint64_t offset, void* buffer, size_t size) = 0;
};

enum class PackageStatus {
  kOk,
  kNoCard,            // the file ends where the player program ends: nothing was appended
  kTruncated,         // too short to hold a trailer after the player
  kUnknownVersion,    // trailer version other than 1 (also what most truncated or foreign files show)
  kBadCardKind,       // cardKind outside 0-3
  kPartOutsideFile,   // a part reaches into the player, into the trailer or past the end of the file
  kChecksumMismatch,  // the parts' bytes do not add up to the stored checksum
  kReadError,
};

// Reads and checks the package in source. playerEnd is where the player program's own bytes end (0 when
// unknown): parts must lie between it and the trailer. Parts of length 0 are absent whatever their offset.
// On kOk, *trailer holds the decoded trailer; on other results it holds whatever could be decoded.
PackageStatus ReadPackage(RandomAccessSource& source, uint64_t playerEnd, PackageTrailer* trailer);

}  // namespace cardpackage
