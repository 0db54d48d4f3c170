// The byte-level steps of writing a card package over small stream interfaces: the player-marker search in
// 65534-byte blocks and the streaming append of one part with its running checksum. Portable; the Win32 layer
// (quillo/cardpackage.h) and the native tests supply the streams.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cardpackage {

// Sequential input. Read returns the bytes read (0 at the end) or -1 on an error.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual long Read(void* buffer, size_t size) = 0;
};

// Appending output. Write returns the bytes stored (fewer than asked means failure). Truncate cuts the output
// back to the given size, for undoing an append that could not be finished.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual size_t Write(const void* data, size_t size) = 0;
  virtual bool Truncate(uint64_t size) = 0;
  virtual uint64_t Size() = 0;
};

// The marker search reads blocks of this size from the start; a marker counts only inside one block.
constexpr size_t kMarkerBlockSize = 65534;
// Parts are copied through one buffer of this size.
constexpr size_t kCopyBufferSize = 65535;

// True when one of the source's successive 65534-byte blocks holds the whole player marker.
bool FindPlayerMarker(ByteSource& source);

// Appends up to size bytes of source to sink through one 65535-byte buffer and adds every appended byte to
// checksum (8-bit sum). Returns the bytes appended. A source that ends early ends the copy there; a source
// that fails, or a sink that stores fewer bytes than asked, cuts the sink back to where the part began,
// leaves checksum as it was and returns 0, so the package never holds bytes outside its parts.
uint64_t AppendPart(ByteSource& source, uint64_t size, ByteSink& sink, uint8_t* checksum);

}  // namespace cardpackage
