// libFuzzer target: the cache-shaped archive reader must end in a result or an ArchiveFailure.
#include "cache_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  afxcore::MemorySource in(data, size);
  try {
    afxcore_test::ReadCache(in);
  } catch (const afxcore::ArchiveFailure&) {
  }
  return 0;
}
