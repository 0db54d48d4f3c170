// Simple MAPI for the postcard program: whether mail is available on this system, the mail library MAPI32.DLL
// loaded when first needed (its functions looked up by name right before each use), and what each Simple MAPI
// result means to the user. Used by the card's mail delivery and the preferences dialog.
#pragma once
#include <afxwin.h>
#include <mapi.h>

namespace quillo {

// Mail counts as available when the system is no 16-bit Windows host, the "MAPI" value of WIN.INI's "MAIL"
// section is non-zero and MAPI32.DLL is on the system's search path. With tellUser a "no" is explained.
BOOL IsMailAvailable(BOOL tellUser);

// What a Simple MAPI result means: success (0 and the user's abort, 1), else failure with the message to show
// (0: none) and whether the card turns to its back and opens the address book.
struct MapiResultRule {
  BOOL success;
  UINT messageId;
  BOOL openAddressBook;
};
MapiResultRule RuleForMapiResult(ULONG result);

}  // namespace quillo

// The mail library and the session of one card: loaded once, unloaded after logging off.
class cMailLibrary {
 public:
  cMailLibrary() = default;
  ~cMailLibrary();
  cMailLibrary(const cMailLibrary&) = delete;
  cMailLibrary& operator=(const cMailLibrary&) = delete;

  BOOL IsLoaded() const { return m_hLibrary != NULL; }
  // Loads MAPI32.DLL unless it is loaded; false when it cannot be.
  BOOL Load();
  void Unload();
  // The library's function of that name, or null (also when the library is not loaded).
  FARPROC Find(LPCSTR name) const;

  LHANDLE GetSession() const { return m_session; }
  BOOL IsLoggedOn() const { return m_bLoggedOn; }
  void SetSession(LHANDLE session, BOOL loggedOn);

 private:
  HMODULE m_hLibrary = NULL;
  LHANDLE m_session = 0;
  BOOL m_bLoggedOn = FALSE;
};
