// CString, collections, run-time classes, files and exceptions of the framework core.
#include <gtest/gtest.h>

#include <string>

#include "afxwin.h"

namespace {

class CShape : public CObject {
  DECLARE_DYNCREATE(CShape)
};
IMPLEMENT_DYNCREATE(CShape, CObject)

class CCircle : public CShape {
  DECLARE_DYNCREATE(CCircle)
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

TEST(RuntimeClassTest, KindAndCreationByName) {
  CObject* o = CRuntimeClass::CreateObject("CCircle");
  ASSERT_NE(o, nullptr);
  EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CShape)));
  EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(o->IsKindOf(RUNTIME_CLASS(CFile)));
  EXPECT_FALSE(o->IsSerializable());
  delete o;
  EXPECT_EQ(CRuntimeClass::CreateObject("NoSuchClass"), nullptr);
  // A framework class made in orvafx.dll is found from here too.
  EXPECT_EQ(CRuntimeClass::FromName("CObList"), RUNTIME_CLASS(CObList));
}

TEST(StringTest, ExtractionAndSearch) {
  CString s("C:\\photos\\beach.jpg");
  EXPECT_STREQ(s.Left(2), "C:");
  EXPECT_STREQ(s.Right(3), "jpg");
  EXPECT_STREQ(s.Mid(3, 6), "photos");
  EXPECT_STREQ(s.Mid(100), "");
  EXPECT_STREQ(s.Left(-1), "");
  EXPECT_EQ(s.Find('\\'), 2);
  EXPECT_EQ(s.Find('\\', 3), 9);
  EXPECT_EQ(s.Find("beach"), 10);
  EXPECT_EQ(s.Find("x"), -1);
  EXPECT_EQ(s.ReverseFind('.'), 15);
  EXPECT_EQ(s.FindOneOf(".\\"), 2);
}

TEST(StringTest, EditingAndComparison) {
  CString s("a-b-c");
  EXPECT_EQ(s.Replace("-", "--"), 2);
  EXPECT_STREQ(s, "a--b--c");
  EXPECT_EQ(s.Replace('-', '+'), 4);
  s.MakeUpper();
  EXPECT_STREQ(s, "A++B++C");
  s.MakeLower();
  EXPECT_TRUE(s == "a++b++c");
  EXPECT_EQ(s.CompareNoCase("A++B++C"), 0);
  EXPECT_TRUE(CString("abc") < CString("abd"));
  EXPECT_TRUE("abc" != CString("ABC"));
  CString t = "  x  ";
  t.TrimLeft();
  t.TrimRight();
  EXPECT_STREQ(t, "x");
  t += s;  // appending to itself's neighbours and to itself
  t += t;
  EXPECT_STREQ(t, "xa++b++cxa++b++c");
  EXPECT_EQ(t.Delete(1, 7), 9);
  EXPECT_EQ(t.Insert(0, "<"), 10);
  EXPECT_STREQ(t, "<xxa++b++c");
}

TEST(StringTest, FormatAndBuffers) {
  CString s;
  s.Format("%d-%s-%05.1f", -12, "ab", 2.25);
  EXPECT_STREQ(s, "-12-ab-002.2");
  std::string longText(5000, 'y');
  s.Format("%s!", longText.c_str());
  EXPECT_EQ(s.GetLength(), 5001);

  CString b;
  char* p = b.GetBuffer(10);
  strcpy(p, "hello");
  b.ReleaseBuffer();
  EXPECT_EQ(b.GetLength(), 5);
  p = b.GetBuffer(0);
  p[2] = 0;
  b.ReleaseBuffer(-1);
  EXPECT_STREQ(b, "he");
  b.GetBufferSetLength(1);
  EXPECT_STREQ(b, "h");

  CString m;
  LPCSTR inserts[] = {"one", "two"};
  AfxFormatStrings(m, "%2 before %1, %3 stays", inserts, 2);
  EXPECT_STREQ(m, "two before one, %3 stays");
}

TEST(CollectionsTest, ListsArraysAndMaps) {
  CObList list;
  CShape a, b, c;
  list.AddTail(&b);
  list.AddHead(&a);
  POSITION pb = list.Find(&b);
  list.InsertAfter(pb, &c);
  ASSERT_EQ(list.GetCount(), 3);
  POSITION p = list.GetHeadPosition();
  EXPECT_EQ(list.GetNext(p), &a);
  EXPECT_EQ(list.GetNext(p), &b);
  EXPECT_EQ(list.GetNext(p), &c);
  EXPECT_EQ(p, nullptr);
  list.RemoveAt(pb);
  EXPECT_EQ(list.GetAt(list.FindIndex(1)), &c);
  EXPECT_EQ(list.RemoveTail(), &c);

  CTypedPtrArray<CPtrArray, CShape*> shapes;
  shapes.Add(&a);
  shapes.SetAtGrow(3, &c);
  EXPECT_EQ(shapes.GetSize(), 4);
  EXPECT_EQ(shapes[1], nullptr);
  EXPECT_EQ(shapes.GetAt(3), &c);
  shapes.RemoveAt(0, 2);
  EXPECT_EQ(shapes[1], &c);

  CMapStringToPtr map;
  for (int i = 0; i < 100; ++i) map.SetAt(CString('k', i + 1), reinterpret_cast<void*>(intptr_t(i)));
  map.SetAt("k", reinterpret_cast<void*>(intptr_t(500)));
  EXPECT_EQ(map.GetCount(), 100);
  void* v = NULL;
  ASSERT_TRUE(map.Lookup("kkk", v));
  EXPECT_EQ(intptr_t(v), 2);
  EXPECT_TRUE(map.RemoveKey("kkk"));
  EXPECT_FALSE(map.Lookup("kkk", v));
  int seen = 0;
  CString key;
  for (POSITION q = map.GetStartPosition(); q;) {
    map.GetNextAssoc(q, key, v);
    ++seen;
  }
  EXPECT_EQ(seen, 99);
}

TEST(CollectionsTest, StringArrayAndObjectMapSerialize) {
  CStringArray strings;
  strings.Add("one");
  strings.Add("");
  CMapStringToOb objects;
  CShape* shared = NULL;  // not serializable, so only null values are stored
  objects.SetAt("x", shared);
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    strings.Serialize(ar);
    objects.Serialize(ar);
    ar.Close();
  }
  BYTE expected[] = {0x02, 0x00, 0x03, 'o', 'n', 'e', 0x00, 0x01, 0x00, 0x01, 'x', 0x00, 0x00};
  ASSERT_EQ(file.GetLength(), sizeof expected);
  BYTE actual[sizeof expected];
  file.SeekToBegin();
  file.Read(actual, sizeof actual);
  EXPECT_EQ(memcmp(actual, expected, sizeof expected), 0);

  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  CStringArray back;
  back.Serialize(ar);
  CMapStringToOb backMap;
  backMap.Serialize(ar);
  ASSERT_EQ(back.GetSize(), 2);
  EXPECT_STREQ(back[0], "one");
  CObject* value = reinterpret_cast<CObject*>(1);
  EXPECT_TRUE(backMap.Lookup("x", value));
  EXPECT_EQ(value, nullptr);
}

TEST(FileTest, OpenErrorsAndMemoryFiles) {
  CFileException error;
  CFile f;
  EXPECT_FALSE(f.Open("C:\\no\\such\\folder\\x.dat", CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::badPath);
  EXPECT_FALSE(f.Open("C:\\missing-file.dat", CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  char text[256];
  EXPECT_TRUE(error.GetErrorMessage(text, sizeof text));
  EXPECT_NE(strstr(text, "missing-file.dat"), nullptr) << text;
  // A short buffer gets a terminated prefix.
  EXPECT_TRUE(error.GetErrorMessage(text, 5));
  EXPECT_EQ(strlen(text), 4u);

  try {
    CFile missing("C:\\missing-file.dat", CFile::modeRead);
    FAIL() << "no exception";
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
    e->Delete();
  }

  CMemFile mem(16);
  mem.Write("abc", 3);
  mem.Seek(10, CFile::begin);
  mem.Write("z", 1);
  EXPECT_EQ(mem.GetLength(), 11u);
  char back[11];
  mem.SeekToBegin();
  EXPECT_EQ(mem.Read(back, sizeof back), 11u);
  EXPECT_EQ(back[5], 0);
  EXPECT_EQ(back[10], 'z');

  BYTE fixed[4];
  CMemFile attached(fixed, sizeof fixed);
  attached.Write("1234", 4);
  try {
    attached.Write("5", 1);
    FAIL() << "a fixed buffer grew";
  } catch (CMemoryException* e) {
    e->Delete();
  }
}

TEST(TimeTest, FieldsAndFileTimes) {
  CTime t(1999, 7, 14, 10, 30, 5);
  EXPECT_EQ(t.GetYear(), 1999);
  EXPECT_EQ(t.GetMonth(), 7);
  EXPECT_EQ(t.GetDay(), 14);
  EXPECT_EQ(t.GetHour(), 10);
  EXPECT_EQ(t.GetSecond(), 5);
  EXPECT_STREQ(t.Format("%Y-%m-%d %H:%M"), "1999-07-14 10:30");
  EXPECT_EQ((t + CTimeSpan(1, 2, 3, 4) - t).GetTotalSeconds(), 93784);

  SYSTEMTIME st;
  ASSERT_TRUE(t.GetAsSystemTime(st));
  FILETIME local, utc;
  SystemTimeToFileTime(&st, &local);
  LocalFileTimeToFileTime(&local, &utc);
  EXPECT_EQ(CTime(utc), t);
}

}  // namespace
