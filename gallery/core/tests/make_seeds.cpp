// Writes seed cache files for the cache fuzzer: two pictures, a palette and a one-bit DIB, and a truncated copy.
#include <cstdio>
#include <string>

#include "dib_fixture.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  galcore::ThumbnailCache cache;
  cache.header = 1;
  cache.records.push_back({"a.jpg", 946684800, galcore_test::MakeDib(4, 3, 24)});
  cache.records.push_back({"b.gif", 946684801, galcore_test::MakeDib(3, 2, 8, 2, 4)});
  cache.records.push_back({"c.bmp", 946684802, galcore_test::MakeDib(9, -2, 1, 3)});
  const std::vector<uint8_t> bytes = galcore::WriteThumbnailCache(cache);
  const std::string dir = argv[1];
  for (const auto& [name, size] : {std::pair<const char*, size_t>{"/three", bytes.size()}, {"/cut", bytes.size() / 2}}) {
    FILE* f = std::fopen((dir + name).c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, size, f) != size || std::fclose(f) != 0) return 1;
  }
  return 0;
}
