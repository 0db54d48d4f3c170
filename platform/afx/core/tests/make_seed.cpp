// Writes a well-formed cache-shaped archive into the folder given, as the fuzzer's starting input.
#include <cstdio>
#include <string>

#include "cache_reader.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  afxcore_test::Cache cache;
  for (int i = 0; i < 3; ++i) {
    cache.owned.push_back(std::make_unique<afxcore_test::Record>());
    cache.owned.back()->name = "file" + std::to_string(i) + ".jpg";
    cache.owned.back()->time = uint32_t(900000000 + i);
    cache.owned.back()->bits.assign(size_t(8 * i), uint8_t(i));
    cache.records.push_back(cache.owned.back().get());
  }
  cache.records.push_back(cache.records[1]);
  afxcore::MemorySink sink;
  afxcore_test::WriteCache(sink, cache);
  std::string path = std::string(argv[1]) + "/cache.bin";
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return 1;
  fwrite(sink.Bytes().data(), 1, sink.Bytes().size(), f);
  return fclose(f) == 0 ? 0 : 1;
}
