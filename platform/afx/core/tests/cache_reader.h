// A reader of the thumbnail-cache shape over the archive codec, for the native tests and fuzzer:
// a header value, a record count, then object records of one class (name string, 32-bit time,
// 32-bit byte count and bytes), with class and object back-references resolved as CArchive does.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "afxcore/archive_codec.h"

namespace afxcore_test {

struct Record {
  std::string name;
  uint32_t time = 0;
  std::vector<uint8_t> bits;
};

struct Cache {
  uint32_t header = 0;
  std::vector<Record*> records;            // in file order; back-references repeat a pointer
  std::vector<std::unique_ptr<Record>> owned;
};

constexpr char kRecordClass[] = "CThumbnail";
constexpr uint16_t kRecordSchema = 1;

// Throws afxcore::ArchiveFailure on malformed input.
Cache ReadCache(afxcore::ByteSource& in);
void WriteCache(afxcore::ByteSink& out, const Cache& cache);

}  // namespace afxcore_test
