// CArchive against hand-written bytes of the framework's encodings, and bad input of a cache-style file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxwin.h"

// A serializable record of the shape the Gallery stores: a name, a number and a link to another record.
class CTestItem : public CObject {
  DECLARE_SERIAL(CTestItem)
 public:
  CTestItem() = default;
  CTestItem(const char* name, DWORD value) : m_name(name), m_value(value) {}
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << m_name << m_value << m_link;
    } else {
      ar >> m_name >> m_value >> m_link;
    }
  }
  CString m_name;
  DWORD m_value = 0;
  CObject* m_link = NULL;
};
IMPLEMENT_SERIAL(CTestItem, CObject, 1)

class CVersioned : public CObject {
  DECLARE_SERIAL(CVersioned)
 public:
  void Serialize(CArchive& ar) override {
    if (ar.IsLoading()) m_loadedSchema = ar.GetObjectSchema();
  }
  UINT m_loadedSchema = 0;
};
IMPLEMENT_SERIAL(CVersioned, CObject, VERSIONABLE_SCHEMA | 3)

class COther : public CObject {
  DECLARE_SERIAL(COther)
};
IMPLEMENT_SERIAL(COther, CObject, 1)

namespace {

typedef std::vector<BYTE> Bytes;

Bytes Contents(CMemFile& file) {
  Bytes out(file.GetLength());
  file.SeekToBegin();
  if (!out.empty()) file.Read(out.data(), UINT(out.size()));
  return out;
}

template <class F>
Bytes Store(F write) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    write(ar);
    ar.Close();
  }
  return Contents(file);
}

// Runs read over an archive of bytes; returns the cause of the CArchiveException, or -1 when none.
template <class F>
int LoadCause(const Bytes& bytes, F read) {
  Bytes copy = bytes;
  CMemFile file(copy.empty() ? NULL : copy.data(), UINT(copy.size()));
  CArchive ar(&file, CArchive::load);
  try {
    read(ar);
  } catch (CArchiveException* e) {
    int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return -1;
}

void Append(Bytes& b, std::initializer_list<int> values) {
  for (int v : values) b.push_back(BYTE(v));
}
void AppendText(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }

TEST(ArchiveTest, IntegersAreLittleEndian) {
  Bytes bytes = Store([](CArchive& ar) { ar << BYTE(0x12) << WORD(0x3456) << DWORD(0x789ABCDE) << LONG(-2); });
  EXPECT_EQ(bytes, (Bytes{0x12, 0x56, 0x34, 0xDE, 0xBC, 0x9A, 0x78, 0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST(ArchiveTest, StringLengthPrefixAtEachSize) {
  struct Case {
    int length;
    Bytes prefix;
  } cases[] = {
      {0, {0x00}},
      {1, {0x01}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {0xFFFD, {0xFF, 0xFD, 0xFF}},
      {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {0x12345, {0xFF, 0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    std::string text(size_t(c.length), 'x');
    for (size_t i = 0; i < text.size(); ++i) text[i] = char('a' + i % 26);
    Bytes bytes = Store([&](CArchive& ar) { ar << CString(text.c_str()); });
    Bytes expected = c.prefix;
    AppendText(expected, text);
    ASSERT_EQ(bytes, expected);
    CString back;
    EXPECT_EQ(LoadCause(bytes, [&](CArchive& ar) { ar >> back; }), -1);
    EXPECT_EQ(std::string(back), text);
  }
}

TEST(ArchiveTest, ObjectRecordsUseClassTagsAndBackReferences) {
  CTestItem first("a", 7), second("bc", 8);
  second.m_link = &first;  // written as a back-reference inside second
  Bytes bytes = Store([&](CArchive& ar) {
    ar << &first << &second << &first << static_cast<CObject*>(NULL);
  });
  Bytes expected;
  Append(expected, {0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00});  // new class, schema 1, name length 9
  AppendText(expected, "CTestItem");
  Append(expected, {0x01, 'a', 0x07, 0, 0, 0, 0x00, 0x00});      // class = index 1, first = index 2
  Append(expected, {0x01, 0x80});                                // class reference to index 1
  Append(expected, {0x02, 'b', 'c', 0x08, 0, 0, 0, 0x02, 0x00}); // second = index 3, link to 2
  Append(expected, {0x02, 0x00});                                // first again
  Append(expected, {0x00, 0x00});                                // null
  ASSERT_EQ(bytes, expected);

  CObject* objects[4] = {};
  ASSERT_EQ(LoadCause(bytes, [&](CArchive& ar) {
    for (CObject*& o : objects) ar >> o;
  }), -1);
  ASSERT_TRUE(objects[0] && objects[0]->IsKindOf(RUNTIME_CLASS(CTestItem)));
  CTestItem* a = static_cast<CTestItem*>(objects[0]);
  CTestItem* b = static_cast<CTestItem*>(objects[1]);
  EXPECT_STREQ(a->m_name, "a");
  EXPECT_EQ(b->m_value, 8u);
  EXPECT_EQ(b->m_link, a);
  EXPECT_EQ(objects[2], a);
  EXPECT_EQ(objects[3], nullptr);
  delete a;
  delete b;
}

TEST(ArchiveTest, BigIndicesUseTheEscape) {
  // 32766 mapped placeholders put the class at index 0x7FFF and the object at 0x8000.
  std::vector<char> placeholders(0x7FFE);
  CTestItem first("", 1), second("", 2);
  Bytes bytes = Store([&](CArchive& ar) {
    for (char& p : placeholders) ar.MapObject(reinterpret_cast<CObject*>(&p));
    ar << &first << &second << &first;
  });
  Bytes expected;
  Append(expected, {0x00, 0x01, 0, 0, 0, 0x00, 0x00});             // end of first's payload
  Append(expected, {0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x80});           // class 0x7FFF via 0x7FFF + 0x80007FFF
  Append(expected, {0x00, 0x02, 0, 0, 0, 0x00, 0x00});             // second's payload
  Append(expected, {0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00});           // first = object 0x8000
  ASSERT_EQ(Bytes(bytes.end() - expected.size(), bytes.end()), expected);

  CObject* objects[3] = {};
  EXPECT_EQ(LoadCause(bytes, [&](CArchive& ar) {
    for (char& p : placeholders) ar.MapObject(reinterpret_cast<CObject*>(&p));
    for (CObject*& o : objects) ar >> o;
  }), -1);
  EXPECT_EQ(static_cast<CTestItem*>(objects[1])->m_value, 2u);
  EXPECT_EQ(objects[2], objects[0]);
  delete objects[0];
  delete objects[1];
}

TEST(ArchiveTest, VersionableSchemaReportsTheStoredOne) {
  Bytes bytes;
  Append(bytes, {0xFF, 0xFF, 0x02, 0x00, 0x0A, 0x00});
  AppendText(bytes, "CVersioned");
  CObject* o = NULL;
  ASSERT_EQ(LoadCause(bytes, [&](CArchive& ar) { ar >> o; }), -1);
  EXPECT_EQ(static_cast<CVersioned*>(o)->m_loadedSchema, 2u);
  delete o;
}

// The thumbnail cache's shape: a header value, a count, then that many object records.
Bytes CacheFile(int count) {
  std::vector<CTestItem*> items;
  for (int i = 0; i < count; ++i) items.push_back(new CTestItem(("file" + std::to_string(i) + ".jpg").c_str(), DWORD(1000 + i)));
  Bytes bytes = Store([&](CArchive& ar) {
    ar << DWORD(0) << DWORD(items.size());
    for (CTestItem* item : items) ar.WriteObject(item);
  });
  for (CTestItem* item : items) delete item;
  return bytes;
}

void ReadCache(CArchive& ar, std::vector<CTestItem*>& out) {
  DWORD header, count;
  ar >> header >> count;
  for (DWORD i = 0; i < count; ++i) {
    CTestItem* item = static_cast<CTestItem*>(ar.ReadObject(RUNTIME_CLASS(CTestItem)));
    out.push_back(item);
  }
}

void DeleteAll(std::vector<CTestItem*>& items) {
  for (CTestItem* i : items) delete i;
  items.clear();
}

TEST(ArchiveTest, CacheStyleFileReadsBack) {
  Bytes bytes = CacheFile(3);
  std::vector<CTestItem*> items;
  ASSERT_EQ(LoadCause(bytes, [&](CArchive& ar) { ReadCache(ar, items); }), -1);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_STREQ(items[2]->m_name, "file2.jpg");
  EXPECT_EQ(items[2]->m_value, 1002u);
  DeleteAll(items);
}

TEST(ArchiveTest, EveryTruncationRaisesEndOfFile) {
  Bytes bytes = CacheFile(3);
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    SCOPED_TRACE(cut);
    std::vector<CTestItem*> items;
    EXPECT_EQ(LoadCause(Bytes(bytes.begin(), bytes.begin() + cut), [&](CArchive& ar) { ReadCache(ar, items); }),
              CArchiveException::endOfFile);
    DeleteAll(items);
  }
}

TEST(ArchiveTest, CorruptRecordsRaiseTheirCause) {
  Bytes good = CacheFile(2);
  const size_t tag = 8;  // first record's tag after header and count
  struct Case {
    const char* what;
    size_t offset;
    std::vector<int> patch;
    int cause;
  } cases[] = {
      {"unknown class name", tag + 6, {'X'}, CArchiveException::badClass},
      {"other schema", tag + 2, {0x05}, CArchiveException::badSchema},
      {"name too long", tag + 4, {0xFF, 0x00}, CArchiveException::badClass},
      {"class reference to nothing", tag, {0x09, 0x80}, CArchiveException::badIndex},
      {"object reference to nothing", tag, {0x09, 0x00}, CArchiveException::badIndex},
      {"big reference to nothing", tag, {0xFF, 0x7F, 0x10, 0x00, 0x00, 0x80}, CArchiveException::badIndex},
      {"object reference to a class", 39, {0x01, 0x00}, CArchiveException::badIndex},
      {"huge string length", tag + 15, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, CArchiveException::endOfFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes bytes = good;
    for (size_t i = 0; i < c.patch.size(); ++i) bytes[c.offset + i] = BYTE(c.patch[i]);
    std::vector<CTestItem*> items;
    EXPECT_EQ(LoadCause(bytes, [&](CArchive& ar) { ReadCache(ar, items); }), c.cause);
    DeleteAll(items);
  }
}

TEST(ArchiveTest, WrongClassAndWrongDirectionAreRefused) {
  Bytes bytes = CacheFile(1);
  EXPECT_EQ(LoadCause(bytes, [&](CArchive& ar) {
    DWORD h, n;
    ar >> h >> n;
    ar.ReadObject(RUNTIME_CLASS(COther));
  }), CArchiveException::badClass);
  EXPECT_EQ(LoadCause(bytes, [&](CArchive& ar) { ar << DWORD(1); }), CArchiveException::readOnly);
}

TEST(ArchiveTest, ExceptionMessageNamesTheFile) {
  char path[MAX_PATH];
  GetTempPathA(MAX_PATH, path);
  CString name = CString(path) + "afx_archive_eof.dat";
  {
    CFile f(name, CFile::modeCreate | CFile::modeWrite);
    f.Write("\x01", 1);
  }
  CFile f(name, CFile::modeRead);
  CArchive ar(&f, CArchive::load);
  DWORD d = 0;
  try {
    ar >> d;
    FAIL() << "no exception";
  } catch (CArchiveException* e) {
    char text[512];
    EXPECT_TRUE(e->GetErrorMessage(text, sizeof text));
    EXPECT_NE(strstr(text, "afx_archive_eof.dat"), nullptr) << text;
    e->Delete();
  }
  ar.Abort();
  f.Close();
  CFile::Remove(name);
}

}  // namespace
