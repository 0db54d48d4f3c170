// cQuilloException: the failures of the postcard program's media classes, thrown by pointer and deleted by the
// catcher like every framework exception. Its text comes from quillores.dll: one per NXError number, or a
// text naming a file.
#pragma once
#include <afxwin.h>

class cQuilloException : public CException {
  DECLARE_DYNAMIC(cQuilloException)
 public:
  // An error by its NXError number (numbers without a text of their own read as a general failure).
  explicit cQuilloException(int error);
  // A text resource with the file inserted for %1.
  cQuilloException(UINT textId, LPCSTR file);
  BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;
  int GetError() const { return m_error; }

 private:
  int m_error;
  UINT m_textId;
  CString m_file;
};
