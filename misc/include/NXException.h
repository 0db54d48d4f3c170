// NXMisc's exception classes, thrown by pointer and deleted by the catcher: cNXException (a text
// chosen by error type, or a string resource with up to two inserts) and cNXLeadException (an error
// of the imaging library). Their texts come from NXMiscRes.dll.
#pragma once
#include "NXMisc.h"

// Error types; the numbers are shared with the media library's error numbers.
enum cNXExceptionType {
  NXERR_NONE = 0,
  NXERR_INVALID_PARAMETER = 1,
  NXERR_OUT_OF_MEMORY = 2,
  NXERR_FORMAT_NOT_SUPPORTED = 3,
  NXERR_INVALID_FILE = 4,
  NXERR_FILE_OPEN = 5,
  NXERR_FILE_READ = 6,
  NXERR_FILE_WRITE = 7,
  NXERR_DISK_FULL = 8,
  NXERR_ABORTED = 9,
  NXERR_BAD_IMAGE = 10,
  NXERR_COMPRESSION = 11,
  NXERR_GENERAL = 12,
  NXERR_NOT_IMPLEMENTED = 13,
  NXERR_DEVICE = 14
};

class NXMISC_API cNXException : public CException {
  DECLARE_DYNAMIC(cNXException)
 public:
  cNXException();
  explicit cNXException(cNXExceptionType type);
  cNXException(UINT stringId, LPCSTR insert1 = NULL, LPCSTR insert2 = NULL, HINSTANCE module = NULL);
  BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;

  // Shows text in the system's message box with an OK button, owned by the active window.
  static void PASCAL WarnUser(LPCSTR text);
  // Shows the exception's message.
  static void PASCAL WarnUserRecoverable(CException* e);
  // Shows the exception's message inside the text for errors the program cannot recover from.
  static void PASCAL WarnUserUnrecoverable(CException* e);

 protected:
  cNXExceptionType m_type;
  UINT m_nStringId;
  char m_insert1[255];
  char m_insert2[255];
  int m_nInserts;
  HINSTANCE m_hModule;
};

class NXMISC_API cNXLeadException : public cNXException {
  DECLARE_DYNAMIC(cNXLeadException)
 public:
  cNXLeadException();
  explicit cNXLeadException(int error);
  BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;
  // The text resource for an imaging error number (148 when it has none of its own).
  static UINT PASCAL StringForError(int error);

 protected:
  int m_nError;
};

// The same two warnings for any framework exception.
NXMISC_API void WarnUserRecoverable(CException* e);
NXMISC_API void WarnUserUnrecoverable(CException* e);
