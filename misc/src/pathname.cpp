// cPathName (split paths, path parts, long names), cStringEx (list strings), cSwitchResourceHandle.
#include <cstring>
#include "NXMisc.h"

IMPLEMENT_DYNAMIC(cPathName, CObject)

namespace {
void CopyPart(char* out, size_t size, const char* begin, const char* end) {
  size_t n = size_t(end - begin);
  if (n > size - 1) n = size - 1;
  memcpy(out, begin, n);
  out[n] = 0;
}
bool IsSlash(char c) { return c == '\\' || c == '/'; }
}  // namespace

void SplitPath(LPCSTR path, char drive[3], char folder[256], char name[256], char extension[256]) {
  const char* p = path ? path : "";
  const char* end = p + strlen(p);
  const char* rest = p;
  if (p[0] && p[1] == ':') rest = p + 2;
  CopyPart(drive, 3, p, rest);
  const char* lastSlash = NULL;
  for (const char* q = rest; q < end; ++q)
    if (IsSlash(*q)) lastSlash = q;
  const char* file = lastSlash ? lastSlash + 1 : rest;
  CopyPart(folder, 256, rest, file);
  const char* dot = NULL;
  for (const char* q = file; q < end; ++q)
    if (*q == '.') dot = q;
  if (!dot) dot = end;
  CopyPart(name, 256, file, dot);
  CopyPart(extension, 256, dot, end);
}

cPathName::cPathName(LPCSTR path) : m_nParts(0) {
  m_drive[0] = m_folder[0] = m_name[0] = m_extension[0] = 0;
  if (path) SetFullFilename(path);
}

CString cPathName::GetDrive() const { return m_drive; }

CString cPathName::GetDriveAndPath() const {
  // Only a trailing backslash is dropped: a folder set by SetFullPath has none to lose.
  CString result = CString(m_drive) + m_folder;
  if (result.GetLength() > 1 && result[result.GetLength() - 1] == '\\') result = result.Left(result.GetLength() - 1);
  return result;
}

CString cPathName::GetFilename(BOOL withExtension) const {
  return withExtension ? CString(m_name) + m_extension : CString(m_name);
}

CString cPathName::GetExtension() const { return m_extension; }

void cPathName::SetFullFilename(LPCSTR path) {
  SplitPath(path, m_drive, m_folder, m_name, m_extension);
  m_nParts = 0;
  while (!GetPathPart(m_nParts).IsEmpty()) ++m_nParts;
}

void cPathName::SetFullPath(LPCSTR path) {
  SetFullFilename(path);
  CString folder = m_folder;
  if (m_name[0]) {
    folder += m_name;
    m_name[0] = 0;
  }
  if (m_extension[0]) {
    folder += m_extension;
    m_extension[0] = 0;
  }
  lstrcpynA(m_folder, folder, sizeof m_folder);
}

CString cPathName::GetPathPart(int n) const {
  CString all = CString(m_folder) + m_name + m_extension;
  int start = 0;
  while (start < all.GetLength() && all[start] == '\\') ++start;
  for (int piece = 0; start <= all.GetLength(); ++piece) {
    int slash = all.Find('\\', start);
    if (slash < 0) slash = all.GetLength();
    if (piece == n) return all.Mid(start, slash - start);
    start = slash + 1;
  }
  return CString();
}

int cPathName::GetPathPartsCount() const { return m_nParts; }

CString cPathName::GetExpandedPart(LPCSTR path) const {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(path, &found);
  if (h == INVALID_HANDLE_VALUE) return CString();
  FindClose(h);
  return found.cFileName;
}

void cPathName::ConvertToLongNames() {
  if (!m_drive[0] && m_folder[0] == '\\' && m_folder[1] == '\\') return;  // network paths stay
  CString shortPath = m_drive, longPath;
  CString folder = m_folder;
  int start = 0;
  while (start < folder.GetLength()) {
    int slash = folder.Find('\\', start);
    if (slash < 0) slash = folder.GetLength();
    CString component = folder.Mid(start, slash - start);
    start = slash + 1;
    if (component.IsEmpty()) continue;
    shortPath += "\\" + component;
    CString longName = GetExpandedPart(shortPath);
    // A component the file system does not know keeps the name it was given.
    longPath += "\\" + (longName.IsEmpty() ? component : longName);
  }
  // A path without a folder keeps having none.
  if (!folder.IsEmpty()) lstrcpynA(m_folder, longPath + "\\", sizeof m_folder);
  if (m_name[0]) {
    shortPath += CString(folder.IsEmpty() ? "" : "\\") + m_name + m_extension;
    CString longName = GetExpandedPart(shortPath);
    if (longName.IsEmpty()) return;
    int dot = longName.ReverseFind('.');
    if (dot < 0) {
      lstrcpynA(m_name, longName, sizeof m_name);
      m_extension[0] = 0;
    } else {
      lstrcpynA(m_name, longName.Left(dot), sizeof m_name);
      lstrcpynA(m_extension, longName.Mid(dot), sizeof m_extension);
    }
  }
}

// ---------------------------------------------------------------------------------------------

cStringEx::cStringEx() {}
cStringEx::cStringEx(LPCSTR text) : m_string(text) {}
cStringEx::cStringEx(const cStringEx& other) : m_string(other.m_string) {}
cStringEx::cStringEx(const CString& text) : m_string(text) {}
cStringEx::cStringEx(char ch, int repeat) : m_string(ch, repeat) {}
cStringEx::cStringEx(UINT stringId) { m_string.LoadString(stringId); }
cStringEx::~cStringEx() {}
cStringEx& cStringEx::operator=(LPCSTR text) {
  m_string = text;
  return *this;
}
cStringEx& cStringEx::operator=(const cStringEx& other) {
  m_string = other.m_string;
  return *this;
}
cStringEx& cStringEx::operator=(const CString& text) {
  m_string = text;
  return *this;
}

void cStringEx::ListStart(int& start, char& separator) const {
  if (m_string.GetLength() > 1 && m_string[0] == ',') {
    separator = m_string[1];
    start = 2;
  } else {
    separator = ',';
    start = 0;
  }
}

int cStringEx::FindNextSeperator(int start, char separator, int length) const {
  for (int i = start; i < length; ++i)
    if (m_string[i] == separator) return i;
  return length;
}

int cStringEx::GetSubstringCount() const {
  if (m_string.IsEmpty()) return 0;
  int start;
  char separator;
  ListStart(start, separator);
  int count = 1, length = m_string.GetLength();
  for (int i = FindNextSeperator(start, separator, length); i < length;
       i = FindNextSeperator(i + 1, separator, length))
    ++count;
  return count;
}

CString cStringEx::GetSubstring(int n) const {
  if (n < 0 || n >= GetSubstringCount()) return CString();
  int start;
  char separator;
  ListStart(start, separator);
  int length = m_string.GetLength();
  for (int i = 0; i < n; ++i) start = FindNextSeperator(start, separator, length) + 1;
  return m_string.Mid(start, FindNextSeperator(start, separator, length) - start);
}

void cStringEx::ReplaceAll(char ch, LPCSTR replacement) {
  char from[2] = {ch, 0};
  m_string.Replace(from, replacement ? replacement : "");
}

// ---------------------------------------------------------------------------------------------

cSwitchResourceHandle::cSwitchResourceHandle(HINSTANCE module) : m_hPrevious(AfxGetResourceHandle()) {
  AfxSetResourceHandle(module);
}

cSwitchResourceHandle::~cSwitchResourceHandle() { AfxSetResourceHandle(m_hPrevious); }
