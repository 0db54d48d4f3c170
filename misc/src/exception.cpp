// cNXException and cNXLeadException: their texts from NXMiscRes.dll or the thrower's module; the warnings.
#include "NXException.h"
#include "MessageBox.h"
#include "NXMiscIds.h"

IMPLEMENT_DYNAMIC(cNXException, CException)
IMPLEMENT_DYNAMIC(cNXLeadException, cNXException)

namespace {
constexpr int kTextSize = 1024;
constexpr int kLastNumberedType = 12;
constexpr int kDefaultLeadError = 12;

CString LoadMiscString(UINT id) {
  char buffer[kTextSize];
  int n = LoadStringA(NXMiscResourceHandle(), id, buffer, sizeof buffer);
  return CString(buffer, n);
}

BOOL CopyOut(const CString& text, LPSTR error, UINT maxError) {
  if (error && maxError) lstrcpynA(error, text, int(maxError));
  return TRUE;
}

void CopyInsert(char* out, LPCSTR insert) { lstrcpynA(out, insert, 255); }

// Imaging error numbers and their texts, searched in order.
const struct {
  int error;
  UINT text;
} kLeadTexts[] = {{2, 135}, {11, 136}, {7, 137}, {5, 138},  {3, 139},  {4, 140}, {10, 141},
                  {9, 142}, {6, 143},  {16, 144}, {17, 145}, {13, 146}, {12, 147}};
}  // namespace

cNXException::cNXException() : cNXException(NXERR_NONE) {}

cNXException::cNXException(cNXExceptionType type)
    : m_type(type), m_nStringId(0), m_nInserts(0), m_hModule(AfxGetResourceHandle()) {
  m_insert1[0] = m_insert2[0] = 0;
}

cNXException::cNXException(UINT stringId, LPCSTR insert1, LPCSTR insert2, HINSTANCE module)
    : cNXException(NXERR_NONE) {
  m_nStringId = stringId;
  m_hModule = module ? module : AfxGetResourceHandle();
  if (insert1) {
    CopyInsert(m_insert1, insert1);
    m_nInserts = 1;
    if (insert2) {
      CopyInsert(m_insert2, insert2);
      m_nInserts = 2;
    }
  }
}

BOOL cNXException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext) {
  if (helpContext) *helpContext = 0;
  if (m_type == NXERR_NONE && m_nStringId) {
    CString text;
    {
      cSwitchResourceHandle use(m_hModule);
      text.LoadString(m_nStringId);
    }
    if (m_nInserts) {
      LPCSTR inserts[2] = {m_insert1, m_insert2};
      CString formatted;
      AfxFormatStrings(formatted, text, inserts, m_nInserts);
      text = formatted;
    }
    return CopyOut(text, error, maxError);
  }
  UINT id = IDS_NXMISC_TYPE_GENERAL;
  if (m_type >= 1 && m_type <= kLastNumberedType) id = IDS_NXMISC_TYPE_GENERAL + UINT(m_type);
  if (m_type == NXERR_DEVICE) id = IDS_NXMISC_TYPE_14;
  return CopyOut(LoadMiscString(id), error, maxError);
}

cNXLeadException::cNXLeadException() : cNXLeadException(kDefaultLeadError) {}
cNXLeadException::cNXLeadException(int error) : m_nError(error) {}

UINT PASCAL cNXLeadException::StringForError(int error) {
  for (const auto& entry : kLeadTexts)
    if (entry.error == error) return entry.text;
  return IDS_NXMISC_LEAD_OTHER;
}

BOOL cNXLeadException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext) {
  if (helpContext) *helpContext = 0;
  CString specific = LoadMiscString(StringForError(m_nError));
  CString frame = LoadMiscString(IDS_NXMISC_LEAD_FRAME), text;
  LPCSTR insert = specific;
  AfxFormatStrings(text, frame, &insert, 1);
  return CopyOut(text, error, maxError);
}

// ---------------------------------------------------------------------------------------------
// Warnings shown to the user.

namespace {
const UINT kWarnMessageMax = 255;  // characters of an exception's message that are shown
}

void PASCAL cNXException::WarnUser(LPCSTR text) {
  CWnd* owner = CWnd::GetActiveWindow();
  if (!owner) owner = CWnd::GetSafeOwner();
  NXMessageBox(owner, "", text, NXMB_OK, 0);
}

void PASCAL cNXException::WarnUserRecoverable(CException* e) {
  char message[kWarnMessageMax + 1] = {};
  e->GetErrorMessage(message, sizeof message);
  WarnUser(message);
}

void PASCAL cNXException::WarnUserUnrecoverable(CException* e) {
  char message[kWarnMessageMax + 1] = {};
  e->GetErrorMessage(message, sizeof message);
  char frame[1024];
  int n = ::LoadStringA(NXMiscResourceHandle(), IDS_NXMISC_UNRECOVERABLE, frame, sizeof frame);
  CString text;
  LPCSTR insert = message;
  AfxFormatStrings(text, CString(frame, n), &insert, 1);
  WarnUser(text);
}

void WarnUserRecoverable(CException* e) { cNXException::WarnUserRecoverable(e); }
void WarnUserUnrecoverable(CException* e) { cNXException::WarnUserUnrecoverable(e); }
