// The marker search and the streaming part copy of the package writer.
#include "cardpackage/stream.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "cardpackage/trailer.h"

namespace cardpackage {

namespace {

// Fills buffer from source as far as the source goes; returns the bytes read or -1 on an error.
long ReadFully(ByteSource& source, uint8_t* buffer, size_t size) {
  size_t filled = 0;
  while (filled < size) {
    const long got = source.Read(buffer + filled, size - filled);
    if (got < 0) return -1;
    if (got == 0) break;
    filled += size_t(got);
  }
  return long(filled);
}

}  // namespace

bool FindPlayerMarker(ByteSource& source) {
  std::vector<uint8_t> block(kMarkerBlockSize);
  const uint8_t* marker = reinterpret_cast<const uint8_t*>(kPlayerMarker);
  for (;;) {
    // Whole blocks are filled even from a source that delivers less per call, so that block boundaries lie
    // at multiples of 65534 from the start of the file.
    const long got = ReadFully(source, block.data(), block.size());
    if (got < 0) return false;
    if (size_t(got) >= kPlayerMarkerSize &&
        std::search(block.begin(), block.begin() + got, marker, marker + kPlayerMarkerSize) != block.begin() + got)
      return true;
    if (size_t(got) < block.size()) return false;
  }
}

uint64_t AppendPart(ByteSource& source, uint64_t size, ByteSink& sink, uint8_t* checksum) {
  const uint64_t start = sink.Size();
  std::vector<uint8_t> buffer(kCopyBufferSize);
  uint8_t sum = *checksum;
  uint64_t copied = 0;
  while (copied < size) {
    const size_t want = size_t(std::min<uint64_t>(buffer.size(), size - copied));
    const long got = source.Read(buffer.data(), want);
    if (got < 0) {
      sink.Truncate(start);
      return 0;
    }
    if (got == 0) break;  // the source ended before its recorded size: keep what came
    for (long i = 0; i < got; ++i) sum = uint8_t(sum + buffer[size_t(i)]);
    if (sink.Write(buffer.data(), size_t(got)) != size_t(got)) {
      sink.Truncate(start);
      return 0;
    }
    copied += uint64_t(got);
  }
  *checksum = sum;
  return copied;
}

}  // namespace cardpackage
