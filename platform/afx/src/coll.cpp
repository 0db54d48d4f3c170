// Run-time classes and serialization of the named collections.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_SERIAL(CMapWordToOb, CObject, 0)

CPtrArray::~CPtrArray() = default;
CObArray::~CObArray() = default;
CStringArray::~CStringArray() = default;
CByteArray::~CByteArray() = default;
CWordArray::~CWordArray() = default;
CDWordArray::~CDWordArray() = default;
CUIntArray::~CUIntArray() = default;
CPtrList::~CPtrList() = default;
CObList::~CObList() = default;
CStringList::~CStringList() = default;
CMapStringToPtr::~CMapStringToPtr() = default;
CMapStringToOb::~CMapStringToOb() = default;
CMapStringToString::~CMapStringToString() = default;
CMapPtrToPtr::~CMapPtrToPtr() = default;
CMapPtrToWord::~CMapPtrToWord() = default;
CMapWordToPtr::~CMapWordToPtr() = default;
CMapWordToOb::~CMapWordToOb() = default;

namespace {
// Arrays: the count, then each element in the archive's form for its type.
template <class Array, class Element>
void SerializeArray(Array& a, CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(DWORD(a.GetSize()));
    for (int i = 0; i < a.GetSize(); ++i) ar << a[i];
  } else {
    DWORD n = ar.ReadCount();
    a.RemoveAll();
    for (DWORD i = 0; i < n; ++i) {
      Element e;
      ar >> e;
      a.Add(e);
    }
  }
}

template <class List, class Element>
void SerializeList(List& l, CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(DWORD(l.GetCount()));
    for (POSITION p = l.GetHeadPosition(); p;) ar << l.GetNext(p);
  } else {
    DWORD n = ar.ReadCount();
    for (DWORD i = 0; i < n; ++i) {
      Element e;
      ar >> e;
      l.AddTail(e);
    }
  }
}

template <class Map, class Key, class Value>
void SerializeMap(Map& m, CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(DWORD(m.GetCount()));
    Key k;
    Value v;
    for (POSITION p = m.GetStartPosition(); p;) {
      m.GetNextAssoc(p, k, v);
      ar << k << v;
    }
  } else {
    DWORD n = ar.ReadCount();
    for (DWORD i = 0; i < n; ++i) {
      Key k;
      Value v;
      ar >> k >> v;
      m.SetAt(k, v);
    }
  }
}
}  // namespace

void CObArray::Serialize(CArchive& ar) { SerializeArray<CObArray, CObject*>(*this, ar); }
void CStringArray::Serialize(CArchive& ar) { SerializeArray<CStringArray, CString>(*this, ar); }
void CWordArray::Serialize(CArchive& ar) { SerializeArray<CWordArray, WORD>(*this, ar); }
void CDWordArray::Serialize(CArchive& ar) { SerializeArray<CDWordArray, DWORD>(*this, ar); }

// Bytes travel as one block after the count.
void CByteArray::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(DWORD(GetSize()));
    if (GetSize()) ar.Write(GetData(), UINT(GetSize()));
  } else {
    DWORD n = ar.ReadCount();
    RemoveAll();
    BYTE chunk[4096];
    while (n) {
      UINT piece = n < sizeof chunk ? UINT(n) : UINT(sizeof chunk);
      if (ar.Read(chunk, piece) != piece) AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
      m_data.insert(m_data.end(), chunk, chunk + piece);
      n -= piece;
    }
  }
}

void CObList::Serialize(CArchive& ar) { SerializeList<CObList, CObject*>(*this, ar); }
void CStringList::Serialize(CArchive& ar) { SerializeList<CStringList, CString>(*this, ar); }
void CMapStringToOb::Serialize(CArchive& ar) { SerializeMap<CMapStringToOb, CString, CObject*>(*this, ar); }
void CMapStringToString::Serialize(CArchive& ar) {
  SerializeMap<CMapStringToString, CString, CString>(*this, ar);
}
void CMapWordToOb::Serialize(CArchive& ar) { SerializeMap<CMapWordToOb, WORD, CObject*>(*this, ar); }
