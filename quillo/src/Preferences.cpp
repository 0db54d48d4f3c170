// cPreferences: the card's preferences through the application's profile.
#include "Preferences.h"

#include <lmcons.h>

#include "QuilloSettings.h"
#include "quillo/QuilloIds.h"

namespace {

// The preference, or the resource text defaultId when it has no value.
CString ReadOr(LPCSTR value, UINT defaultId) {
  CString fallback;
  fallback.LoadString(defaultId);
  return AfxGetApp()->GetProfileString(quillo::kPreferencesSection, value, fallback);
}

}  // namespace

CString cPreferences::SenderName() {
  CWinApp* app = AfxGetApp();
  CString name = app->GetProfileString(quillo::kPreferencesSection, quillo::kSenderNameValue, NULL);
  if (name.IsEmpty()) {
    char user[UNLEN + 1] = "";
    DWORD size = sizeof user;
    if (GetUserNameA(user, &size)) name = user;
  }
  app->WriteProfileString(quillo::kPreferencesSection, quillo::kSenderNameValue, name);
  return name;
}

CString cPreferences::ImageDirectory() {
  return AfxGetApp()->GetProfileString(quillo::kPreferencesSection, quillo::kImageDirectoryValue, NULL);
}

CString cPreferences::LinkLabel() { return ReadOr(quillo::kLinkLabelValue, IDS_LINK_LABEL); }
CString cPreferences::LinkAddress() { return ReadOr(quillo::kLinkAddressValue, IDS_LINK_ADDRESS); }
