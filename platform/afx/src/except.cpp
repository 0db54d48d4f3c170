// The exception family: construction, Delete(), messages from the framework's string table, throwers.
#include <new>
#include "afxres.h"
#include "afxwin.h"
#include "state.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {
// Loads a framework text, inserts the file name for %1, and copies it out.
BOOL CopyMessage(UINT id, LPCSTR fileName, LPSTR error, UINT maxError) {
  if (!error || maxError == 0) return FALSE;
  CString format, text;
  if (!afxstate::LoadFrameworkString(id, format)) {
    error[0] = 0;
    return FALSE;
  }
  LPCSTR insert = fileName && *fileName ? fileName : "";
  AfxFormatStrings(text, format, &insert, 1);
  lstrcpynA(error, text, int(maxError));
  return TRUE;
}
}  // namespace

CException::CException() : m_bAutoDelete(TRUE) {}
CException::CException(BOOL autoDelete) : m_bAutoDelete(autoDelete) {}
CException::~CException() = default;

void CException::Delete() {
  if (m_bAutoDelete) delete this;
}

BOOL CException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext) {
  if (helpContext) *helpContext = 0;
  if (error && maxError) error[0] = 0;
  return FALSE;
}

int CException::ReportError(UINT type, UINT messageId) {
  char text[512];
  if (GetErrorMessage(text, sizeof text)) return AfxMessageBox(text, type);
  return AfxMessageBox(messageId ? messageId : UINT(AFX_IDP_NO_ERROR_AVAILABLE), type);
}

CMemoryException::CMemoryException() : CException(FALSE) {}
BOOL CMemoryException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext) {
  if (helpContext) *helpContext = 0;
  return CopyMessage(AFX_IDS_MEMORY_EXCEPTION, NULL, error, maxError);
}

CNotSupportedException::CNotSupportedException() {}
BOOL CNotSupportedException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext) {
  if (helpContext) *helpContext = 0;
  return CopyMessage(AFX_IDS_NOT_SUPPORTED_EXCEPTION, NULL, error, maxError);
}

CResourceException::CResourceException() {}
BOOL CResourceException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext) {
  if (helpContext) *helpContext = 0;
  return CopyMessage(AFX_IDS_RESOURCE_EXCEPTION, NULL, error, maxError);
}

CUserException::CUserException() {}

CFileException::CFileException(int cause, LONG osError, LPCSTR fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

BOOL CFileException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext) {
  if (helpContext) *helpContext = 0;
  int cause = m_cause >= none && m_cause <= endOfFile ? m_cause : generic;
  return CopyMessage(AFX_IDP_FILE_NONE + UINT(cause), m_strFileName, error, maxError);
}

int PASCAL CFileException::OsErrorToException(LONG osError) {
  switch (osError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
      return badSeek;
    case ERROR_NOT_READY:
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
      return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return generic;
  }
}

void PASCAL CFileException::ThrowOsError(LONG osError, LPCSTR fileName) {
  if (osError != 0) AfxThrowFileException(OsErrorToException(osError), osError, fileName);
}

CArchiveException::CArchiveException(int cause, LPCSTR fileName) : m_cause(cause), m_strFileName(fileName) {}

BOOL CArchiveException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext) {
  if (helpContext) *helpContext = 0;
  int cause = m_cause >= none && m_cause <= badSchema ? m_cause : generic;
  return CopyMessage(AFX_IDP_ARCH_NONE + UINT(cause), m_strFileName, error, maxError);
}

namespace {
// One shared object, never deleted: throwing it must work when memory is gone.
CMemoryException g_memoryException;
}

namespace afxstate {

CException* CurrentExceptionAsFramework() noexcept {
  try {
    throw;
  } catch (CException* e) {
    return e;
  } catch (const std::bad_alloc&) {
    return &g_memoryException;
  } catch (...) {
    // A library's std::exception or anything else: reported as the framework's internal failure.
    CException* e = new (std::nothrow) CException;
    return e ? e : &g_memoryException;
  }
}

LRESULT ReportAtBoundary(const MSG& msg) noexcept {
  CException* e = CurrentExceptionAsFramework();
  LRESULT result = msg.message == WM_CREATE ? -1 : 0;
  try {
    CWinThread* thread = AfxGetThread();
    result = thread ? thread->ProcessWndProcException(e, &msg) : AfxProcessWndProcException(e, &msg);
  } catch (...) {
    // Reporting failed as well; nothing is left that could tell the user.
  }
  e->Delete();
  return result;
}

}  // namespace afxstate

LRESULT AFXAPI AfxProcessWndProcException(CException* e, const MSG* msg) {
  // A failed paint would be asked for again at once: the window counts as painted.
  if (msg->message == WM_PAINT && msg->hwnd) ::ValidateRect(msg->hwnd, NULL);
  e->ReportError(MB_ICONEXCLAMATION, AFX_IDP_INTERNAL_FAILURE);
  return msg->message == WM_CREATE ? -1 : 0;
}

void AFXAPI AfxThrowMemoryException() { throw &g_memoryException; }
void AFXAPI AfxThrowNotSupportedException() { throw new CNotSupportedException; }
void AFXAPI AfxThrowResourceException() { throw new CResourceException; }
void AFXAPI AfxThrowUserException() { throw new CUserException; }
void AFXAPI AfxThrowFileException(int cause, LONG osError, LPCSTR fileName) {
  throw new CFileException(cause, osError, fileName);
}
void AFXAPI AfxThrowArchiveException(int cause, LPCSTR fileName) {
  throw new CArchiveException(cause, fileName);
}
