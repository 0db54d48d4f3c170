// CFile over Win32 file handles, CMemFile over a growing heap buffer, and the path helpers.
#include <cstdlib>
#include <cstring>
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE) {}
CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}
CFile::CFile(LPCSTR fileName, UINT openFlags) : CFile() {
  CFileException error;
  if (!Open(fileName, openFlags, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile() {
  if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete) Abort();
}

BOOL CFile::Open(LPCSTR fileName, UINT openFlags, CFileException* error) {
  m_bCloseOnDelete = FALSE;
  m_hFile = INVALID_HANDLE_VALUE;
  char full[MAX_PATH];
  if (!AfxFullPath(full, fileName)) {
    if (error) {
      error->m_cause = CFileException::badPath;
      error->m_lOsError = ERROR_BAD_PATHNAME;
      error->m_strFileName = fileName;
    }
    return FALSE;
  }
  m_strFileName = full;

  DWORD access = 0;
  switch (openFlags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    case modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default: access = GENERIC_READ; break;
  }
  DWORD share = 0;
  switch (openFlags & 0x70) {
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: share = 0; break;  // compatibility and exclusive
  }
  SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, (openFlags & modeNoInherit) ? FALSE : TRUE};
  DWORD creation = OPEN_EXISTING;
  if (openFlags & modeCreate) creation = (openFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

  HANDLE h = CreateFileA(full, access, share, &sa, creation, FILE_ATTRIBUTE_NORMAL, NULL);
  if (h == INVALID_HANDLE_VALUE) {
    if (error) {
      error->m_lOsError = LONG(GetLastError());
      error->m_cause = CFileException::OsErrorToException(error->m_lOsError);
      error->m_strFileName = fileName;
    }
    return FALSE;
  }
  m_hFile = h;
  m_bCloseOnDelete = TRUE;
  return TRUE;
}

CString CFile::GetFileName() const {
  int slash = m_strFileName.ReverseFind('\\');
  int other = m_strFileName.ReverseFind('/');
  if (other > slash) slash = other;
  return m_strFileName.Mid(slash + 1);
}

CString CFile::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}

CString CFile::GetFilePath() const { return m_strFileName; }
void CFile::SetFilePath(LPCSTR newName) { m_strFileName = newName; }

DWORD CFile::GetPosition() const {
  DWORD pos = SetFilePointer(m_hFile, 0, NULL, FILE_CURRENT);
  if (pos == INVALID_SET_FILE_POINTER) CFileException::ThrowOsError(LONG(GetLastError()), m_strFileName);
  return pos;
}

LONG CFile::Seek(LONG offset, UINT from) {
  DWORD method = from == begin ? FILE_BEGIN : from == current ? FILE_CURRENT : FILE_END;
  DWORD pos = SetFilePointer(m_hFile, offset, NULL, method);
  if (pos == INVALID_SET_FILE_POINTER) CFileException::ThrowOsError(LONG(GetLastError()), m_strFileName);
  return LONG(pos);
}

DWORD CFile::GetLength() const {
  DWORD size = GetFileSize(m_hFile, NULL);
  if (size == INVALID_FILE_SIZE) CFileException::ThrowOsError(LONG(GetLastError()), m_strFileName);
  return size;
}

void CFile::SetLength(DWORD newLength) {
  Seek(LONG(newLength), begin);
  if (!SetEndOfFile(m_hFile)) CFileException::ThrowOsError(LONG(GetLastError()), m_strFileName);
}

UINT CFile::Read(void* buffer, UINT count) {
  if (count == 0) return 0;
  DWORD read = 0;
  if (!ReadFile(m_hFile, buffer, count, &read, NULL))
    CFileException::ThrowOsError(LONG(GetLastError()), m_strFileName);
  return read;
}

void CFile::Write(const void* buffer, UINT count) {
  if (count == 0) return;
  DWORD written = 0;
  if (!WriteFile(m_hFile, buffer, count, &written, NULL))
    CFileException::ThrowOsError(LONG(GetLastError()), m_strFileName);
  if (written != count) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

void CFile::Flush() {
  if (m_hFile != INVALID_HANDLE_VALUE && !FlushFileBuffers(m_hFile))
    CFileException::ThrowOsError(LONG(GetLastError()), m_strFileName);
}

void CFile::Close() {
  BOOL ok = TRUE;
  if (m_hFile != INVALID_HANDLE_VALUE) ok = CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
  if (!ok) CFileException::ThrowOsError(LONG(GetLastError()), m_strFileName);
}

void CFile::Abort() {
  if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
}

void PASCAL CFile::Rename(LPCSTR oldName, LPCSTR newName) {
  if (!MoveFileA(oldName, newName)) CFileException::ThrowOsError(LONG(GetLastError()), oldName);
}

void PASCAL CFile::Remove(LPCSTR fileName) {
  if (!DeleteFileA(fileName)) CFileException::ThrowOsError(LONG(GetLastError()), fileName);
}

// ---------------------------------------------------------------------------------------------

CMemFile::CMemFile(UINT growBytes)
    : m_nGrowBytes(growBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(NULL),
      m_bAutoDelete(TRUE) {}

CMemFile::CMemFile(BYTE* buffer, UINT size, UINT growBytes) : CMemFile(growBytes) {
  Attach(buffer, size, growBytes);
}

CMemFile::~CMemFile() {
  if (m_lpBuffer) Close();
}

void CMemFile::Attach(BYTE* buffer, UINT size, UINT growBytes) {
  m_nGrowBytes = growBytes;
  m_nPosition = 0;
  m_nBufferSize = size;
  m_nFileSize = growBytes == 0 ? size : 0;
  m_lpBuffer = buffer;
  m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
  BYTE* buffer = m_lpBuffer;
  m_lpBuffer = NULL;
  m_nFileSize = m_nBufferSize = m_nPosition = 0;
  return buffer;
}

DWORD CMemFile::GetPosition() const { return m_nPosition; }

LONG CMemFile::Seek(LONG offset, UINT from) {
  LONG base = from == begin ? 0 : from == current ? LONG(m_nPosition) : LONG(m_nFileSize);
  LONGLONG target = LONGLONG(base) + offset;
  if (target < 0 || target > LONG_MAX) AfxThrowFileException(CFileException::badSeek);
  m_nPosition = DWORD(target);
  return LONG(m_nPosition);
}

DWORD CMemFile::GetLength() const { return m_nFileSize; }

void CMemFile::GrowFile(DWORD newLength) {
  if (newLength <= m_nBufferSize) return;
  if (m_nGrowBytes == 0 || !m_bAutoDelete) AfxThrowMemoryException();  // a caller's fixed buffer
  DWORD size = m_nBufferSize;
  while (size < newLength) {
    DWORD next = size + m_nGrowBytes;
    if (next < size) AfxThrowMemoryException();
    size = next;
  }
  BYTE* grown = static_cast<BYTE*>(realloc(m_lpBuffer, size));
  if (!grown) AfxThrowMemoryException();
  m_lpBuffer = grown;
  m_nBufferSize = size;
}

void CMemFile::SetLength(DWORD newLength) {
  GrowFile(newLength);
  if (newLength > m_nFileSize) memset(m_lpBuffer + m_nFileSize, 0, newLength - m_nFileSize);
  m_nFileSize = newLength;
  if (m_nPosition > newLength) m_nPosition = newLength;
}

UINT CMemFile::Read(void* buffer, UINT count) {
  if (m_nPosition >= m_nFileSize || count == 0) return 0;
  UINT n = count < m_nFileSize - m_nPosition ? count : m_nFileSize - m_nPosition;
  memcpy(buffer, m_lpBuffer + m_nPosition, n);
  m_nPosition += n;
  return n;
}

void CMemFile::Write(const void* buffer, UINT count) {
  if (count == 0) return;
  DWORD end = m_nPosition + count;
  if (end < m_nPosition) AfxThrowFileException(CFileException::diskFull);
  GrowFile(end);
  if (m_nPosition > m_nFileSize) memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
  memcpy(m_lpBuffer + m_nPosition, buffer, count);
  m_nPosition = end;
  if (end > m_nFileSize) m_nFileSize = end;
}

void CMemFile::Flush() {}

void CMemFile::Close() {
  if (m_bAutoDelete) free(m_lpBuffer);
  m_lpBuffer = NULL;
  m_nGrowBytes = 1024;
  m_nPosition = m_nBufferSize = m_nFileSize = 0;
  m_bAutoDelete = TRUE;
}

void CMemFile::Abort() { Close(); }

BOOL CMemFile::Open(LPCSTR, UINT, CFileException*) { AfxThrowNotSupportedException(); }

// ---------------------------------------------------------------------------------------------

BOOL AFXAPI AfxFullPath(LPSTR pathOut, LPCSTR fileIn) {
  LPSTR filePart = NULL;
  DWORD n = GetFullPathNameA(fileIn, MAX_PATH, pathOut, &filePart);
  if (n == 0 || n >= MAX_PATH) {
    lstrcpynA(pathOut, fileIn, MAX_PATH);
    return FALSE;
  }
  return TRUE;
}

BOOL AFXAPI AfxComparePath(LPCSTR path1, LPCSTR path2) {
  char full1[MAX_PATH], full2[MAX_PATH];
  AfxFullPath(full1, path1);
  AfxFullPath(full2, path2);
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, full1, -1, full2, -1) == CSTR_EQUAL;
}
