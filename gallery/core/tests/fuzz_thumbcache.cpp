// libFuzzer target: the cache reader ends in a result for any bytes, and what it accepts writes back the same.
#include <cstdlib>

#include "galcore/thumbcache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const galcore::CacheReadResult r = galcore::ReadThumbnailCache(data, size);
  if (r.status == galcore::CacheReadStatus::unreadable) return 0;
  const std::vector<uint8_t> again = galcore::WriteThumbnailCache(r.cache);
  const galcore::CacheReadResult back = galcore::ReadThumbnailCache(again.data(), again.size());
  if (back.status != galcore::CacheReadStatus::complete || back.cache.records.size() != r.cache.records.size()) {
    std::abort();
  }
  for (size_t i = 0; i < r.cache.records.size(); ++i) {
    if (back.cache.records[i].name != r.cache.records[i].name || back.cache.records[i].dib != r.cache.records[i].dib) {
      std::abort();
    }
  }
  return 0;
}
