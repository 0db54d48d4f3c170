// cQuilloException's texts, from the program's resource library.
#include "QuilloException.h"

#include <media/NXError.h>

#include "quillo/QuilloIds.h"

IMPLEMENT_DYNAMIC(cQuilloException, CException)

namespace {
const int kLastErrorWithText = NXE_PRINTER;
}

cQuilloException::cQuilloException(int error) : m_error(error), m_textId(0) {}

cQuilloException::cQuilloException(UINT textId, LPCSTR file)
    : m_error(NXE_FILE_ACCESS), m_textId(textId), m_file(file ? file : "") {}

BOOL cQuilloException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext) {
  if (helpContext) *helpContext = 0;
  if (!error || maxError == 0) return FALSE;
  CString text;
  if (m_textId) {
    AfxFormatString1(text, m_textId, m_file);
  } else {
    const int shown = (m_error < 0 || m_error > kLastErrorWithText) ? NXE_GENERAL : m_error;
    if (!text.LoadString(IDS_MEDIA_ERROR_FIRST + shown)) text.LoadString(IDS_MEDIA_ERROR_FIRST + NXE_GENERAL);
  }
  lstrcpynA(error, text, int(maxError));
  return !text.IsEmpty();
}
