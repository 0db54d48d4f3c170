// CString: storage, editing, searching, formatting and resource loading of the framework's ANSI string.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cctype>
#include <utility>
#include "afxwin.h"

struct CString::Header {
  int length;
  int capacity;  // characters, terminator not counted; 0 for the shared empty string
};

namespace {
struct EmptyBlock {
  int length = 0;
  int capacity = 0;
  char text[1] = {0};
};
EmptyBlock g_empty;
char* EmptyData() { return g_empty.text; }

// Integer lengths come from callers; clamp them to what the text holds.
int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }
}  // namespace

static_assert(sizeof(CString) == sizeof(char*), "CString must stay one pointer wide");

CString::Header* CString::GetHeader() const { return reinterpret_cast<Header*>(m_pchData) - 1; }

CString::CString() : m_pchData(EmptyData()) {}
CString::CString(const CString& other) : m_pchData(EmptyData()) { Assign(other.m_pchData, other.GetLength()); }
CString::CString(CString&& other) noexcept : m_pchData(other.m_pchData) { other.m_pchData = EmptyData(); }
CString::CString(LPCSTR text) : m_pchData(EmptyData()) {
  if (text && HIWORD(text) == 0) {
    LoadString(LOWORD(text));
  } else if (text) {
    Assign(text, int(strlen(text)));
  }
}
CString::CString(LPCSTR text, int length) : m_pchData(EmptyData()) {
  if (text && length > 0) Assign(text, length);
}
CString::CString(char ch, int repeat) : m_pchData(EmptyData()) {
  if (repeat > 0) {
    Reserve(repeat);
    memset(m_pchData, ch, size_t(repeat));
    m_pchData[repeat] = 0;
    GetHeader()->length = repeat;
  }
}
CString::~CString() {
  if (m_pchData != EmptyData()) free(GetHeader());
}

int CString::GetLength() const { return GetHeader()->length; }

void CString::Empty() {
  if (m_pchData != EmptyData()) free(GetHeader());
  m_pchData = EmptyData();
}

void CString::SetAt(int index, char ch) {
  if (index >= 0 && index < GetLength()) m_pchData[index] = ch;
}

void CString::Reserve(int capacity) {
  Header* h = GetHeader();
  if (capacity <= h->capacity) return;
  int grown = h->capacity + h->capacity / 2;
  if (grown > capacity) capacity = grown;
  bool wasEmpty = m_pchData == EmptyData();
  Header* n = static_cast<Header*>(wasEmpty ? malloc(sizeof(Header) + size_t(capacity) + 1)
                                            : realloc(h, sizeof(Header) + size_t(capacity) + 1));
  if (!n) AfxThrowMemoryException();
  if (wasEmpty) {
    n->length = 0;
    reinterpret_cast<char*>(n + 1)[0] = 0;
  }
  n->capacity = capacity;
  m_pchData = reinterpret_cast<char*>(n + 1);
}

void CString::Assign(LPCSTR text, int length) {
  if (length <= 0) {
    if (m_pchData != EmptyData()) {
      GetHeader()->length = 0;
      m_pchData[0] = 0;
    }
    return;
  }
  if (text >= m_pchData && text <= m_pchData + GetLength()) {
    CString copy(text, length);  // the source lies in our own buffer
    *this = std::move(copy);
    return;
  }
  Reserve(length);
  memcpy(m_pchData, text, size_t(length));
  m_pchData[length] = 0;
  GetHeader()->length = length;
}

void CString::Append(LPCSTR text, int length) {
  if (length <= 0) return;
  int old = GetLength();
  if (text >= m_pchData && text <= m_pchData + old) {
    CString copy(text, length);
    Append(copy.m_pchData, length);
    return;
  }
  Reserve(old + length);
  memcpy(m_pchData + old, text, size_t(length));
  m_pchData[old + length] = 0;
  GetHeader()->length = old + length;
}

const CString& CString::operator=(const CString& other) {
  if (this != &other) Assign(other.m_pchData, other.GetLength());
  return *this;
}
const CString& CString::operator=(CString&& other) noexcept {
  if (this != &other) {
    std::swap(m_pchData, other.m_pchData);
    other.Empty();
  }
  return *this;
}
const CString& CString::operator=(LPCSTR text) {
  Assign(text, text ? int(strlen(text)) : 0);
  return *this;
}
const CString& CString::operator=(char ch) {
  Assign(&ch, 1);
  return *this;
}
const CString& CString::operator+=(const CString& other) {
  Append(other.m_pchData, other.GetLength());
  return *this;
}
const CString& CString::operator+=(LPCSTR text) {
  if (text) Append(text, int(strlen(text)));
  return *this;
}
const CString& CString::operator+=(char ch) {
  Append(&ch, 1);
  return *this;
}

CString AFXAPI operator+(const CString& a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString AFXAPI operator+(const CString& a, LPCSTR b) {
  CString r(a);
  r += b;
  return r;
}
CString AFXAPI operator+(LPCSTR a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString AFXAPI operator+(const CString& a, char b) {
  CString r(a);
  r += b;
  return r;
}
CString AFXAPI operator+(char a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}

int CString::Compare(LPCSTR text) const { return strcmp(m_pchData, text ? text : ""); }
int CString::CompareNoCase(LPCSTR text) const { return lstrcmpiA(m_pchData, text ? text : ""); }
int CString::Collate(LPCSTR text) const { return lstrcmpA(m_pchData, text ? text : ""); }
int CString::CollateNoCase(LPCSTR text) const { return lstrcmpiA(m_pchData, text ? text : ""); }

CString CString::Mid(int first) const { return Mid(first, GetLength()); }
CString CString::Mid(int first, int count) const {
  int len = GetLength();
  first = Clamp(first, 0, len);
  count = Clamp(count, 0, len - first);
  return CString(m_pchData + first, count);
}
CString CString::Left(int count) const { return CString(m_pchData, Clamp(count, 0, GetLength())); }
CString CString::Right(int count) const {
  count = Clamp(count, 0, GetLength());
  return CString(m_pchData + GetLength() - count, count);
}
CString CString::SpanIncluding(LPCSTR charSet) const { return Left(int(strspn(m_pchData, charSet))); }
CString CString::SpanExcluding(LPCSTR charSet) const { return Left(int(strcspn(m_pchData, charSet))); }

void CString::MakeUpper() {
  if (GetLength()) CharUpperBuffA(m_pchData, DWORD(GetLength()));
}
void CString::MakeLower() {
  if (GetLength()) CharLowerBuffA(m_pchData, DWORD(GetLength()));
}
void CString::MakeReverse() {
  for (int i = 0, j = GetLength() - 1; i < j; ++i, --j) std::swap(m_pchData[i], m_pchData[j]);
}

int CString::Replace(char oldCh, char newCh) {
  int n = 0;
  for (int i = 0; i < GetLength(); ++i)
    if (m_pchData[i] == oldCh) {
      m_pchData[i] = newCh;
      ++n;
    }
  return n;
}

int CString::Replace(LPCSTR oldText, LPCSTR newText) {
  int oldLen = oldText ? int(strlen(oldText)) : 0;
  if (oldLen == 0) return 0;
  int newLen = newText ? int(strlen(newText)) : 0;
  CString result;
  int n = 0, pos = 0;
  for (;;) {
    const char* hit = strstr(m_pchData + pos, oldText);
    if (!hit) break;
    int at = int(hit - m_pchData);
    result.Append(m_pchData + pos, at - pos);
    result.Append(newText, newLen);
    pos = at + oldLen;
    ++n;
  }
  if (n) {
    result.Append(m_pchData + pos, GetLength() - pos);
    *this = std::move(result);
  }
  return n;
}

int CString::Remove(char ch) {
  int out = 0, len = GetLength();
  for (int i = 0; i < len; ++i)
    if (m_pchData[i] != ch) m_pchData[out++] = m_pchData[i];
  if (out != len) {
    m_pchData[out] = 0;
    GetHeader()->length = out;
  }
  return len - out;
}

int CString::Insert(int index, char ch) {
  char text[2] = {ch, 0};
  return Insert(index, text);
}

int CString::Insert(int index, LPCSTR text) {
  index = Clamp(index, 0, GetLength());
  CString result(m_pchData, index);
  result += text;
  result.Append(m_pchData + index, GetLength() - index);
  *this = std::move(result);
  return GetLength();
}

int CString::Delete(int index, int count) {
  int len = GetLength();
  if (index < 0) index = 0;
  if (count > 0 && index < len) {
    count = Clamp(count, 0, len - index);
    memmove(m_pchData + index, m_pchData + index + count, size_t(len - index - count + 1));
    GetHeader()->length = len - count;
  }
  return GetLength();
}

void CString::TrimLeft() {
  int i = 0;
  while (i < GetLength() && isspace(BYTE(m_pchData[i]))) ++i;
  Delete(0, i);
}
void CString::TrimLeft(char ch) {
  int i = 0;
  while (i < GetLength() && m_pchData[i] == ch) ++i;
  Delete(0, i);
}
void CString::TrimLeft(LPCSTR chars) { Delete(0, int(strspn(m_pchData, chars))); }
void CString::TrimRight() {
  int i = GetLength();
  while (i > 0 && isspace(BYTE(m_pchData[i - 1]))) --i;
  Delete(i, GetLength() - i);
}
void CString::TrimRight(char ch) {
  int i = GetLength();
  while (i > 0 && m_pchData[i - 1] == ch) --i;
  Delete(i, GetLength() - i);
}
void CString::TrimRight(LPCSTR chars) {
  int i = GetLength();
  while (i > 0 && strchr(chars, m_pchData[i - 1])) --i;
  Delete(i, GetLength() - i);
}

int CString::Find(char ch, int start) const {
  if (start < 0 || start >= GetLength()) return -1;
  const char* hit = static_cast<const char*>(memchr(m_pchData + start, ch, size_t(GetLength() - start)));
  return hit ? int(hit - m_pchData) : -1;
}
int CString::Find(LPCSTR sub, int start) const {
  if (start < 0 || start > GetLength() || !sub) return -1;
  const char* hit = strstr(m_pchData + start, sub);
  return hit ? int(hit - m_pchData) : -1;
}
int CString::ReverseFind(char ch) const {
  for (int i = GetLength() - 1; i >= 0; --i)
    if (m_pchData[i] == ch) return i;
  return -1;
}
int CString::FindOneOf(LPCSTR charSet) const {
  size_t n = strcspn(m_pchData, charSet);
  return int(n) < GetLength() ? int(n) : -1;
}

void CString::FormatV(LPCSTR format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int needed = vsnprintf(NULL, 0, format, copy);
  va_end(copy);
  if (needed < 0) AfxThrowNotSupportedException();
  CString result;
  result.Reserve(needed);
  vsnprintf(result.m_pchData, size_t(needed) + 1, format, args);
  result.GetHeader()->length = needed;
  *this = std::move(result);
}

void AFX_CDECL CString::Format(LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void AFX_CDECL CString::Format(UINT formatId, ...) {
  CString format;
  format.LoadString(formatId);
  va_list args;
  va_start(args, formatId);
  FormatV(format, args);
  va_end(args);
}

namespace {
void FormatMessageV(CString& out, LPCSTR format, va_list* args) {
  LPSTR buffer = NULL;
  DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER, format, 0, 0,
                             reinterpret_cast<LPSTR>(&buffer), 0, args);
  if (n == 0 && GetLastError() != ERROR_SUCCESS && format && *format) AfxThrowMemoryException();
  out = buffer ? buffer : "";
  if (buffer) LocalFree(buffer);
}
}  // namespace

void AFX_CDECL CString::FormatMessage(LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  FormatMessageV(*this, format, &args);
  va_end(args);
}

void AFX_CDECL CString::FormatMessage(UINT formatId, ...) {
  CString format;
  format.LoadString(formatId);
  va_list args;
  va_start(args, formatId);
  FormatMessageV(*this, format, &args);
  va_end(args);
}

BOOL CString::LoadString(UINT id) {
  HINSTANCE module = AfxFindStringResourceHandle(id);
  // LoadString truncates silently, so grow until the text fits with room to spare.
  for (int size = 256;; size *= 2) {
    LPSTR buffer = GetBuffer(size);
    int n = ::LoadStringA(module, id, buffer, size);
    if (n < size - 1) {
      ReleaseBuffer(n);
      return n > 0;
    }
    if (size >= 65536) {
      ReleaseBuffer(n);
      return TRUE;
    }
  }
}

LPSTR CString::GetBuffer(int minLength) {
  if (minLength < GetLength()) minLength = GetLength();
  if (minLength == 0 && m_pchData == EmptyData()) minLength = 1;  // never hand out the shared block
  Reserve(minLength);
  return m_pchData;
}

void CString::ReleaseBuffer(int newLength) {
  if (m_pchData == EmptyData()) return;
  Header* h = GetHeader();
  if (newLength < 0) newLength = int(strnlen(m_pchData, size_t(h->capacity)));
  newLength = Clamp(newLength, 0, h->capacity);
  h->length = newLength;
  m_pchData[newLength] = 0;
}

LPSTR CString::GetBufferSetLength(int newLength) {
  GetBuffer(newLength);
  ReleaseBuffer(newLength);
  return m_pchData;
}

void CString::FreeExtra() {
  if (m_pchData != EmptyData() && GetHeader()->capacity > GetLength()) {
    CString copy(m_pchData, GetLength());
    *this = std::move(copy);
  }
}

#define AFX_STRING_COMPARE(op)                                                                     \
  bool AFXAPI operator op(const CString& a, const CString& b) { return a.Compare(b) op 0; }      \
  bool AFXAPI operator op(const CString& a, LPCSTR b) { return a.Compare(b) op 0; }              \
  bool AFXAPI operator op(LPCSTR a, const CString& b) { return -b.Compare(a) op 0; }
AFX_STRING_COMPARE(==)
AFX_STRING_COMPARE(!=)
AFX_STRING_COMPARE(<)
AFX_STRING_COMPARE(>)
AFX_STRING_COMPARE(<=)
AFX_STRING_COMPARE(>=)

void AFXAPI AfxFormatStrings(CString& result, LPCSTR format, LPCSTR const* inserts, int count) {
  CString out;
  for (const char* p = format ? format : ""; *p; ++p) {
    if (p[0] == '%' && p[1] >= '1' && p[1] <= '9' && p[1] - '1' < count) {
      out += inserts[p[1] - '1'];
      ++p;
    } else {
      out += *p;
    }
  }
  result = std::move(out);
}

void AFXAPI AfxFormatString1(CString& result, UINT formatId, LPCSTR insert1) {
  CString format;
  format.LoadString(formatId);
  AfxFormatStrings(result, format, &insert1, 1);
}

void AFXAPI AfxFormatString2(CString& result, UINT formatId, LPCSTR insert1, LPCSTR insert2) {
  CString format;
  format.LoadString(formatId);
  LPCSTR inserts[2] = {insert1, insert2};
  AfxFormatStrings(result, format, inserts, 2);
}
