// The cache-shaped reader and writer used by the native codec tests and the fuzzer.
#include "cache_reader.h"

namespace afxcore_test {

namespace {
// Stands for the record class in the load table.
int g_recordClass;
// Byte blocks are read in pieces so memory follows the bytes present.
constexpr size_t kPiece = 4096;
}  // namespace

Cache ReadCache(afxcore::ByteSource& in) {
  using afxcore::ArchiveError;
  using afxcore::ArchiveFailure;
  Cache cache;
  afxcore::LoadTable table;
  cache.header = afxcore::GetU32(in);
  uint32_t count = afxcore::GetU32(in);
  for (uint32_t i = 0; i < count; ++i) {
    afxcore::ObjectTag tag = afxcore::GetObjectTag(in);
    switch (tag.kind) {
      case afxcore::ObjectTag::null:
        cache.records.push_back(nullptr);
        continue;
      case afxcore::ObjectTag::objectRef:
        cache.records.push_back(static_cast<Record*>(table.ObjectAt(tag.index)));
        continue;
      case afxcore::ObjectTag::newClass:
        if (tag.className != kRecordClass) throw ArchiveFailure{ArchiveError::badClass};
        if (tag.schema != kRecordSchema) throw ArchiveFailure{ArchiveError::badSchema};
        table.Add(true, &g_recordClass);
        break;
      case afxcore::ObjectTag::classRef:
        if (table.ClassAt(tag.index) != &g_recordClass) throw ArchiveFailure{ArchiveError::badClass};
        break;
    }
    cache.owned.push_back(std::make_unique<Record>());
    Record* r = cache.owned.back().get();
    table.Add(false, r);
    r->name = afxcore::GetString(in);
    r->time = afxcore::GetU32(in);
    uint32_t size = afxcore::GetU32(in);
    while (r->bits.size() < size) {
      size_t piece = size - r->bits.size() < kPiece ? size - r->bits.size() : kPiece;
      size_t old = r->bits.size();
      r->bits.resize(old + piece);
      in.ReadExact(&r->bits[old], piece);
    }
    cache.records.push_back(r);
  }
  return cache;
}

void WriteCache(afxcore::ByteSink& out, const Cache& cache) {
  afxcore::StoreTable table;
  afxcore::PutU32(out, cache.header);
  afxcore::PutU32(out, uint32_t(cache.records.size()));
  for (const Record* r : cache.records) {
    if (!r) {
      afxcore::PutNullTag(out);
      continue;
    }
    if (uint32_t index = table.Find(r)) {
      afxcore::PutObjectRef(out, index);
      continue;
    }
    if (uint32_t index = table.Find(&g_recordClass)) {
      afxcore::PutClassRef(out, index);
    } else {
      afxcore::PutNewClass(out, kRecordSchema, kRecordClass);
      table.Add(&g_recordClass);
    }
    table.Add(r);
    afxcore::PutString(out, r->name.data(), uint32_t(r->name.size()));
    afxcore::PutU32(out, r->time);
    afxcore::PutU32(out, uint32_t(r->bits.size()));
    if (!r->bits.empty()) out.WriteBytes(r->bits.data(), r->bits.size());
  }
}

}  // namespace afxcore_test
