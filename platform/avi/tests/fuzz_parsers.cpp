// libFuzzer target over the AVI reader (with reading every sample) and the WAV header parser.
#include <cstddef>
#include <cstdint>

#include "avi/avi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    avi::ParseWaveHeader(data, size);
  } catch (const avi::Error&) {
  }
  try {
    avi::AviFile file = avi::AviFile::FromMemory(std::vector<uint8_t>(data, data + size));
    file.info();
    for (const avi::Stream& s : file.streams()) s.ReadSamples(s.start(), s.length());
    // Whatever was read must write out and read back.
    avi::AviFile::FromMemory(avi::WriteToMemory([&] {
      std::vector<const avi::Stream*> all;
      for (const avi::Stream& s : file.streams()) all.push_back(&s);
      return all;
    }()));
  } catch (const avi::Error&) {
  }
  return 0;
}
