// Mail availability, the mail library and the meaning of Simple MAPI results.
#include "MailLibrary.h"

#include "QuilloSettings.h"
#include "quillo/QuilloIds.h"

namespace quillo {

namespace {

const DWORD kFirstNt32Major = 4;  // a Windows of the 9x line below this major version is a 16-bit host

BOOL IsSixteenBitHost() {
  OSVERSIONINFOA version = {sizeof version};
  if (!GetVersionExA(&version)) return FALSE;
  return version.dwPlatformId != VER_PLATFORM_WIN32_NT && version.dwMajorVersion < kFirstNt32Major;
}

}  // namespace

BOOL IsMailAvailable(BOOL tellUser) {
  char found[MAX_PATH] = "";
  LPSTR file = NULL;
  const BOOL available = !IsSixteenBitHost() && GetProfileIntA(kMailSection, kMailSwitchValue, 0) != 0 &&
                         SearchPathA(NULL, kMailLibrary, NULL, MAX_PATH, found, &file) != 0;
  if (!available && tellUser) {
    CString text;
    text.LoadString(IDS_MAIL_NOT_AVAILABLE);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
  }
  return available;
}

MapiResultRule RuleForMapiResult(ULONG result) {
  switch (result) {
    case SUCCESS_SUCCESS:
    case MAPI_USER_ABORT:
      return {TRUE, 0, FALSE};
    case MAPI_E_FAILURE:
    case MAPI_E_INVALID_SESSION:
      return {FALSE, IDS_MAPI_GENERAL_FAILURE, FALSE};
    case MAPI_E_INSUFFICIENT_MEMORY:
      return {FALSE, IDS_MAPI_OUT_OF_MEMORY, FALSE};
    case MAPI_E_TOO_MANY_RECIPIENTS:
      return {FALSE, IDS_MAPI_TOO_MANY_RECIPIENTS, TRUE};
    case MAPI_E_ATTACHMENT_NOT_FOUND:
    case MAPI_E_ATTACHMENT_OPEN_FAILURE:
      return {FALSE, IDS_MAPI_ATTACHMENT, FALSE};
    case MAPI_E_UNKNOWN_RECIPIENT:
    case MAPI_E_INVALID_RECIPS:
      return {FALSE, IDS_MAPI_UNKNOWN_RECIPIENT, TRUE};
    case MAPI_E_AMBIGUOUS_RECIPIENT:
      return {FALSE, IDS_MAPI_AMBIGUOUS_RECIPIENT, TRUE};
    default:
      return {FALSE, 0, FALSE};
  }
}

}  // namespace quillo

cMailLibrary::~cMailLibrary() { Unload(); }

BOOL cMailLibrary::Load() {
  if (!m_hLibrary) m_hLibrary = LoadLibraryA(quillo::kMailLibrary);
  return m_hLibrary != NULL;
}

void cMailLibrary::Unload() {
  if (m_hLibrary) FreeLibrary(m_hLibrary);
  m_hLibrary = NULL;
  m_session = 0;
  m_bLoggedOn = FALSE;
}

FARPROC cMailLibrary::Find(LPCSTR name) const { return m_hLibrary ? GetProcAddress(m_hLibrary, name) : NULL; }

void cMailLibrary::SetSession(LHANDLE session, BOOL loggedOn) {
  m_session = session;
  m_bLoggedOn = loggedOn;
}
