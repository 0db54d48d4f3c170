// cPreferences: the card's preferences through the application's profile.
#include "Preferences.h"

#include <lmcons.h>

#include <map>
#include <string>

#include "QuilloSettings.h"
#include "quillo/QuilloIds.h"

namespace {

const int kDefaultOutboxLimit = 20;
const int kLastOutboxService = 3;  // stored values above the outbox's number also mean the outbox

// The preference, or the resource text defaultId when it has no value.
CString ReadOr(LPCSTR value, UINT defaultId) {
  CString fallback;
  fallback.LoadString(defaultId);
  return AfxGetApp()->GetProfileString(quillo::kPreferencesSection, value, fallback);
}

int ReadInt(LPCSTR value, int fallback) {
  return int(AfxGetApp()->GetProfileInt(quillo::kPreferencesSection, value, fallback));
}

// What the setters last wrote in this run, by value name.
std::map<std::string, CString>& LastSet() {
  static std::map<std::string, CString> values;
  return values;
}

// Tells the main window when a value differs from what was last set in this run.
void NoteSet(LPCSTR value, const CString& text) {
  std::map<std::string, CString>& last = LastSet();
  auto found = last.find(value);
  const bool changed = found == last.end() || found->second != text;
  last[value] = text;
  CWnd* main = AfxGetMainWnd();
  if (changed && main && ::IsWindow(main->GetSafeHwnd())) main->PostMessage(WM_CARD_PREFS_CHANGED);
}

void SetInt(LPCSTR value, int number) {
  AfxGetApp()->WriteProfileInt(quillo::kPreferencesSection, value, number);
  CString text;
  text.Format("%d", number);
  NoteSet(value, text);
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

int cPreferences::DeliveryService() {
  const int stored = ReadInt(quillo::kDeliveryServiceValue, kServiceMail);
  return stored >= kServiceOutbox && stored <= kLastOutboxService ? kServiceOutbox : kServiceMail;
}

int cPreferences::DeliveryFormat(BOOL cardHasVideoOrSound) {
  const int stored = ReadInt(quillo::kDeliveryFormatValue, kFormatPackage);
  if (stored != kFormatPicture) return kFormatPackage;
  if (!cardHasVideoOrSound) return kFormatPicture;
  CString text;
  text.LoadString(IDS_PICTURE_FORMAT_REFUSED);
  AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
  SetDeliveryFormat(kFormatPackage);
  return kFormatPackage;
}

BOOL cPreferences::PromptDeliveryFormat() { return ReadInt(quillo::kPromptDeliveryFormatValue, TRUE) != 0; }
BOOL cPreferences::PromptVideoCompression() { return ReadInt(quillo::kPromptVideoCompressionValue, TRUE) != 0; }
BOOL cPreferences::WarnOutboxFull() { return ReadInt(quillo::kWarnOutboxFullValue, FALSE) != 0; }
int cPreferences::OutboxLimit() { return ReadInt(quillo::kOutboxLimitValue, kDefaultOutboxLimit); }

CString cPreferences::ImageDirectory() {
  return AfxGetApp()->GetProfileString(quillo::kPreferencesSection, quillo::kImageDirectoryValue, NULL);
}

CString cPreferences::LinkLabel() { return ReadOr(quillo::kLinkLabelValue, IDS_LINK_LABEL); }
CString cPreferences::LinkAddress() { return ReadOr(quillo::kLinkAddressValue, IDS_LINK_ADDRESS); }

void cPreferences::SetSenderName(LPCSTR name) {
  AfxGetApp()->WriteProfileString(quillo::kPreferencesSection, quillo::kSenderNameValue, name ? name : "");
  NoteSet(quillo::kSenderNameValue, name ? name : "");
}

void cPreferences::SetDeliveryService(int service) { SetInt(quillo::kDeliveryServiceValue, service); }
void cPreferences::SetDeliveryFormat(int format) { SetInt(quillo::kDeliveryFormatValue, format); }
void cPreferences::SetPromptDeliveryFormat(BOOL prompt) { SetInt(quillo::kPromptDeliveryFormatValue, prompt ? 1 : 0); }
void cPreferences::SetPromptVideoCompression(BOOL prompt) {
  SetInt(quillo::kPromptVideoCompressionValue, prompt ? 1 : 0);
}
void cPreferences::SetWarnOutboxFull(BOOL warn) { SetInt(quillo::kWarnOutboxFullValue, warn ? 1 : 0); }
void cPreferences::SetOutboxLimit(int limit) { SetInt(quillo::kOutboxLimitValue, limit); }
