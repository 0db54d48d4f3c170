// The card's delivery in the test process under Wine: the preferences' read rules, setters and dialog; sending
// by mail through the system's mapi32 to the recording mail client (registered as the default mail client for
// the whole run): logon, recipients, the message and its package, every result of the mail client; the
// address book; saving into the outbox with its warning; the video's recompression before sending.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <vfw.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <media/AVIFile.h>
#include <media/LeadBitmap.h>

#include "CardBack.h"
#include "CardFront.h"
#include "Outbox.h"
#include "Preferences.h"
#include "PreferencesDialog.h"
#include "QuilloSettings.h"
#include "RecipientTable.h"
#include "Send.h"
#include "VideoCompression.h"
#include "card_env.h"
#include "mail_record.h"
#include "package_fixture.h"
#include "quillo/CardPackage.h"
#include "quillo/QuilloIds.h"
#include "recorder_client.h"

using namespace packagetest;

namespace {

const char kSenderName[] = "Anna Lind";
const char kMailSection[] = "MAIL";
const char kMailSwitch[] = "MAPI";
const char kAbsent[] = "<absent>";
const char kSaveTitle[] = "Save the Card";
const unsigned long kNoPosition = 4294967295ul;

// The recorder is the default mail client and mail is switched on in WIN.INI for the whole run, before
// anything loads MAPI32; both are put back at the end.
class MailClientEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    StartCardTests();
    m_client.reset(new mailrecord::RecorderAsDefaultClient);
    ASSERT_TRUE(m_client->ok());
    GetProfileStringA(kMailSection, kMailSwitch, kAbsent, m_previousSwitch, sizeof m_previousSwitch);
    WriteProfileStringA(kMailSection, kMailSwitch, "1");
  }
  void TearDown() override {
    WriteProfileStringA(kMailSection, kMailSwitch, lstrcmpA(m_previousSwitch, kAbsent) == 0 ? NULL : m_previousSwitch);
    m_client.reset();
  }

 private:
  std::unique_ptr<mailrecord::RecorderAsDefaultClient> m_client;
  char m_previousSwitch[64] = "";
};
testing::Environment* const g_mailClient = testing::AddGlobalTestEnvironment(new MailClientEnvironment);

std::string Text(UINT id) {
  CString text;
  text.LoadString(id);
  return LPCSTR(text);
}

std::string Text1(UINT id, const std::string& insert) {
  CString text;
  AfxFormatString1(text, id, insert.c_str());
  return LPCSTR(text);
}

void SetPreference(const char* value, int number) {
  theApp.WriteProfileInt(quillo::kPreferencesSection, value, number);
}

int Preference(const char* value) { return int(theApp.GetProfileInt(quillo::kPreferencesSection, value, -1)); }

void SetVariable(const char* name, const std::string& value) {
  SetEnvironmentVariableA(name, value.empty() ? NULL : value.c_str());
}

std::string TempFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return temp;
}

// The "NXN" temporary files in TMP.
std::vector<std::string> Temporaries() {
  std::vector<std::string> found;
  for (const std::string& name : List(TempFolder()))
    if (name.compare(0, 3, "NXN") == 0) found.push_back(name);
  return found;
}

class DeliveryTest : public testing::Test {
 protected:
  void SetUp() override {
    theApp.m_boxes.clear();
    theApp.m_answers.clear();
    theApp.WriteProfileString(quillo::kPreferencesSection, quillo::kSenderNameValue, kSenderName);
    theApp.WriteProfileInt(quillo::kSettingsSection, quillo::kWelcomeShownValue, 1);
    SetPreference(quillo::kDeliveryServiceValue, cPreferences::kServiceMail);
    SetPreference(quillo::kDeliveryFormatValue, cPreferences::kFormatPackage);
    SetPreference(quillo::kPromptDeliveryFormatValue, 0);
    SetPreference(quillo::kPromptVideoCompressionValue, 0);
    SetPreference(quillo::kWarnOutboxFullValue, 0);
    HKEY profiles;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, quillo::kMailProfilesKey, 0, KEY_SET_VALUE, &profiles) == 0) {
      RegDeleteValueA(profiles, quillo::kDefaultProfileValue);
      RegCloseKey(profiles);
    }
    m_record = TempFolder() + "quillo-mail-record-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(m_record.c_str());
    m_attachments = FreshFolder("quillo_mail_attachments");
    SetVariable(mailrecord::kRecordPathVariable, m_record);
    SetVariable(mailrecord::kAttachmentFolderVariable, m_attachments);
    for (const char* name : {mailrecord::kResultVariable, mailrecord::kLogonResultsVariable,
                             mailrecord::kAddressBookVariable, mailrecord::kAddressResultVariable,
                             mailrecord::kUnknownNamesVariable, mailrecord::kHoldVariable})
      SetVariable(name, "");
  }
  void TearDown() override { DeleteFileA(m_record.c_str()); }

  std::vector<mailrecord::Call> Calls() const { return mailrecord::ReadRecord(m_record); }
  std::vector<mailrecord::Call> Calls(const char* function) const { return mailrecord::CallsOf(Calls(), function); }

  std::string m_record;
  std::string m_attachments;
};

void TypeOnBack(cCardDialog& card, const char* to, const char* subject = nullptr, const char* message = nullptr) {
  if (card.IsFrontShowing()) card.Flip();
  card.GetBack()->SetDlgItemText(IDC_CARD_TO, to);
  if (subject) card.GetBack()->SetDlgItemText(IDC_CARD_SUBJECT, subject);
  if (message) card.GetBack()->SetDlgItemText(IDC_CARD_MESSAGE, message);
}

// The note text of a package mail, made here from the resource library's template and its three texts.
std::string ExpectedPackageNote() {
  HINSTANCE library = AfxGetResourceHandle();
  HRSRC found = FindResourceA(library, MAKEINTRESOURCEA(IDR_NOTE_PACKAGE), reinterpret_cast<LPCSTR>(RT_RCDATA));
  if (!found) return "(no template)";
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(library, found)));
  std::string note(bytes, strnlen(bytes, SizeofResource(library, found)));
  for (int i = 0; i < 3; ++i) {
    const std::string placeholder = "%" + std::to_string(i + 1);
    note.replace(note.find(placeholder), placeholder.size(), Text(IDS_NOTE_INSERT_FIRST + i));
  }
  return note;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Preferences.

TEST_F(DeliveryTest, PreferencesAreReadByTheirRules) {
  const int services[][2] = {{0, 0}, {1, 1}, {2, 1}, {3, 1}};
  for (const auto& service : services) {
    SetPreference(quillo::kDeliveryServiceValue, service[0]);
    EXPECT_EQ(service[1], cPreferences::DeliveryService()) << "stored " << service[0];
  }
  // The picture format is refused for a card with a video or a sound: once told, then stored as the package.
  SetPreference(quillo::kDeliveryFormatValue, cPreferences::kFormatPicture);
  EXPECT_EQ(cPreferences::kFormatPicture, cPreferences::DeliveryFormat(FALSE));
  EXPECT_TRUE(theApp.m_boxes.empty());
  EXPECT_EQ(cPreferences::kFormatPackage, cPreferences::DeliveryFormat(TRUE));
  EXPECT_EQ(std::vector<std::string>{Text(IDS_PICTURE_FORMAT_REFUSED)}, theApp.m_boxes);
  EXPECT_EQ(cPreferences::kFormatPackage, Preference(quillo::kDeliveryFormatValue));
  // Defaults, and the sender's name taken from the system and written back.
  HKEY key;
  ASSERT_EQ(0, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Nexlumen\\QuilloTest\\Preferences", 0, KEY_SET_VALUE, &key));
  for (const char* value : {quillo::kSenderNameValue, quillo::kPromptDeliveryFormatValue,
                            quillo::kPromptVideoCompressionValue, quillo::kWarnOutboxFullValue,
                            quillo::kOutboxLimitValue})
    RegDeleteValueA(key, value);
  RegCloseKey(key);
  EXPECT_TRUE(cPreferences::PromptDeliveryFormat());
  EXPECT_TRUE(cPreferences::PromptVideoCompression());
  EXPECT_FALSE(cPreferences::WarnOutboxFull());
  EXPECT_EQ(20, cPreferences::OutboxLimit());
  char user[256] = "";
  DWORD size = sizeof user;
  GetUserNameA(user, &size);
  EXPECT_STREQ(user, cPreferences::SenderName());
  EXPECT_STREQ(user, theApp.GetProfileString(quillo::kPreferencesSection, quillo::kSenderNameValue, ""));
}

TEST_F(DeliveryTest, SettersTellTheCardOnlyOfChanges) {
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  std::vector<int> posted;
  card.Run({[&](cScriptedCard& c) {
    auto count = [&] {
      int n = 0;
      MSG msg;
      while (PeekMessageA(&msg, c.GetSafeHwnd(), WM_CARD_PREFS_CHANGED, WM_CARD_PREFS_CHANGED, PM_REMOVE)) ++n;
      return n;
    };
    cPreferences::SetOutboxLimit(40);
    count();
    cPreferences::SetOutboxLimit(40);
    posted.push_back(count());
    cPreferences::SetOutboxLimit(41);
    posted.push_back(count());
    cPreferences::SetSenderName("Someone Else");
    posted.push_back(count());
    cPreferences::SetSenderName("Someone Else");
    posted.push_back(count());
    return true;
  }});
  EXPECT_EQ((std::vector<int>{0, 1, 1, 0}), posted);
  EXPECT_EQ(41, Preference(quillo::kOutboxLimitValue));
}

TEST_F(DeliveryTest, ThePreferencesDialog) {
  SetPreference(quillo::kDeliveryServiceValue, cPreferences::kServiceMail);
  SetPreference(quillo::kOutboxLimitValue, 12);
  SetPreference(quillo::kWarnOutboxFullValue, 1);
  struct Seen {
    std::string sender, limit;
    BOOL mail = FALSE, mailEnabled = FALSE, pictureEnabled = FALSE, warn = FALSE;
  };
  auto open = [](BOOL cardHasSound, std::function<void(HWND)> act) {
    cScriptedCard card(SampleMedia().front.c_str(), "", "");
    card.Run({[&](cScriptedCard& c) {
      DialogDriver driver("Quillo Preferences", act);
      cPreferencesDialog dialog(cardHasSound, &c);
      dialog.DoModal();
      return true;
    }});
  };
  auto read = [](HWND dialog, Seen* seen) {
    char text[256] = "";
    GetDlgItemTextA(dialog, IDC_PREF_SENDER, text, sizeof text);
    seen->sender = text;
    GetDlgItemTextA(dialog, IDC_PREF_OUTBOX_LIMIT, text, sizeof text);
    seen->limit = text;
    seen->mail = IsDlgButtonChecked(dialog, IDC_PREF_SERVICE_MAIL);
    seen->mailEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_PREF_SERVICE_MAIL));
    seen->pictureEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_PREF_FORMAT_PICTURE));
    seen->warn = IsDlgButtonChecked(dialog, IDC_PREF_WARN_OUTBOX);
  };

  Seen first;
  open(FALSE, [&](HWND dialog) {
    read(dialog, &first);
    SaveShot(dialog, "preferences");
    SetDlgItemTextA(dialog, IDC_PREF_SENDER, "Carla");
    SetDlgItemTextA(dialog, IDC_PREF_OUTBOX_LIMIT, "33");
    CheckRadioButton(dialog, IDC_PREF_SERVICE_MAIL, IDC_PREF_SERVICE_OUTBOX, IDC_PREF_SERVICE_OUTBOX);
    CheckRadioButton(dialog, IDC_PREF_FORMAT_PACKAGE, IDC_PREF_FORMAT_PICTURE, IDC_PREF_FORMAT_PICTURE);
    CheckDlgButton(dialog, IDC_PREF_PROMPT_FORMAT, BST_CHECKED);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(kSenderName, first.sender);
  EXPECT_EQ("12", first.limit);
  EXPECT_TRUE(first.mail);
  EXPECT_TRUE(first.mailEnabled);
  EXPECT_TRUE(first.pictureEnabled);
  EXPECT_TRUE(first.warn);
  EXPECT_STREQ("Carla", theApp.GetProfileString(quillo::kPreferencesSection, quillo::kSenderNameValue, ""));
  EXPECT_EQ(33, Preference(quillo::kOutboxLimitValue));
  EXPECT_EQ(cPreferences::kServiceOutbox, Preference(quillo::kDeliveryServiceValue));
  EXPECT_EQ(cPreferences::kFormatPicture, Preference(quillo::kDeliveryFormatValue));
  EXPECT_EQ(1, Preference(quillo::kPromptDeliveryFormatValue));
  EXPECT_EQ(1, Preference(quillo::kWarnOutboxFullValue));
  EXPECT_EQ(0, Preference(quillo::kPromptVideoCompressionValue));

  // Without mail the mail choice is off and the service is the outbox at once; a card with a sound is not
  // offered the picture format.
  SetPreference(quillo::kDeliveryServiceValue, cPreferences::kServiceMail);
  SetPreference(quillo::kDeliveryFormatValue, cPreferences::kFormatPackage);
  WriteProfileStringA(kMailSection, kMailSwitch, "0");
  Seen second;
  int serviceWhileOpen = -1;
  open(TRUE, [&](HWND dialog) {
    read(dialog, &second);
    serviceWhileOpen = Preference(quillo::kDeliveryServiceValue);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  WriteProfileStringA(kMailSection, kMailSwitch, "1");
  EXPECT_FALSE(second.mail);
  EXPECT_FALSE(second.mailEnabled);
  EXPECT_FALSE(second.pictureEnabled);
  EXPECT_EQ(cPreferences::kServiceOutbox, serviceWhileOpen);
}

// ---------------------------------------------------------------------------------------------
// Mail.

TEST_F(DeliveryTest, AMailedCardReachesTheMailClientWithItsPackage) {
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  BOOL sent = FALSE;
  ULONG_PTR window = 0;
  const std::vector<std::string> temporariesBefore = Temporaries();
  card.Run({[&](cScriptedCard& c) {
    window = reinterpret_cast<ULONG_PTR>(c.GetSafeHwnd());
    TypeOnBack(c, "Bob Smith;  carol@example.org ;", "Holidays", "Sunny days.");
    sent = c.Send();
    return true;
  }});
  ASSERT_TRUE(sent);
  EXPECT_FALSE(card.IsModified());
  EXPECT_EQ(std::vector<std::string>{Text(IDS_CARD_SENT)}, theApp.m_boxes);
  EXPECT_STREQ("Bob Smith; carol@example.org", card.GetBack()->GetRecipientText());

  const std::vector<mailrecord::Call> calls = Calls();
  std::vector<std::string> order;
  for (const mailrecord::Call& call : calls) order.push_back(call.function);
  EXPECT_EQ((std::vector<std::string>{"MAPILogon", "MAPIResolveName", "MAPIFreeBuffer", "MAPIResolveName",
                                      "MAPIFreeBuffer", "MAPISendMail", "MAPILogoff"}),
            order);
  const auto resolved = mailrecord::CallsOf(calls, "MAPIResolveName");
  ASSERT_EQ(2u, resolved.size());
  EXPECT_EQ("Bob Smith", resolved[0].Text(mailrecord::kName).value_or(""));
  EXPECT_EQ("carol@example.org", resolved[1].Text(mailrecord::kName).value_or(""));
  for (const auto& freed : mailrecord::CallsOf(calls, "MAPIFreeBuffer"))
    EXPECT_EQ(1u, freed.Number(mailrecord::kKnownBuffer));
  EXPECT_EQ(0u, mailrecord::CallsOf(calls, "MAPIFreeBuffer").back().Number(mailrecord::kOutstanding));

  const auto mails = mailrecord::CallsOf(calls, "MAPISendMail");
  ASSERT_EQ(1u, mails.size());
  const mailrecord::Call& mail = mails[0];
  EXPECT_EQ(mailrecord::kSession, mail.Number(mailrecord::kSessionKey));
  EXPECT_EQ(0u, mail.Number(mailrecord::kFlags));
  EXPECT_EQ(window, mail.Number(mailrecord::kUiParam));
  EXPECT_EQ("Holidays", mail.Text(mailrecord::kSubject).value_or(""));
  EXPECT_EQ(ExpectedPackageNote(), mail.Text(mailrecord::kNoteText).value_or(""));
  EXPECT_EQ((std::vector<std::string>{"1", "1"}), mail.All(mailrecord::kRecipient));
  EXPECT_EQ((std::vector<std::string>{"Bob Smith", "carol@example.org"}), mail.All(mailrecord::kRecipientName));
  EXPECT_EQ((std::vector<std::string>{"SMTP:Bob Smith", "SMTP:carol@example.org"}),
            mail.All(mailrecord::kRecipientAddress));
  EXPECT_EQ((std::vector<std::string>{"4", "4"}), mail.All(mailrecord::kRecipientEntryId));
  ASSERT_EQ(1u, mail.Number(mailrecord::kFileCount));
  EXPECT_EQ(kNoPosition, mail.Number(mailrecord::kFilePosition));
  const std::string path = mail.Text(mailrecord::kFilePath).value_or("");
  const std::string name = mail.Text(mailrecord::kFileName).value_or("");
  const std::string base = path.substr(path.find_last_of('\\') + 1);
  EXPECT_EQ(0u, base.find("NXN")) << path;
  EXPECT_EQ(base.substr(0, base.find_last_of('.')) + ".EXE", name);
  EXPECT_FALSE(Exists(path));  // the attachment file goes once the mail client has it
  EXPECT_EQ(temporariesBefore, Temporaries());

  // The copy the mail client took is a whole package.
  const Parsed p = packagetest::Parse(m_attachments + name);
  EXPECT_EQ(1, p.U16(kVersion));
  EXPECT_EQ(3, p.U16(kKind));
  EXPECT_EQ(p.SumOfParts(), p.U8(kChecksum));
  EXPECT_EQ("Sunny days.", p.Text(kMessage, 767));
  EXPECT_EQ("Holidays", p.Text(kSubject, 255));
  EXPECT_EQ("Bob Smith; carol@example.org", p.Text(kRecipients, 255));
  EXPECT_EQ(p.file.size() - kTrailer, size_t(p.U32(kViewer2) + p.U32(kViewer2 + 4)));
}

TEST_F(DeliveryTest, TheCardPictureGoesWithItsOwnNote) {
  SetPreference(quillo::kDeliveryFormatValue, cPreferences::kFormatPicture);
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  BOOL sent = FALSE;
  card.Run({[&](cScriptedCard& c) {
    TypeOnBack(c, "Bob", "Holidays", "Sunny days.");
    sent = c.Send();
    return true;
  }});
  ASSERT_TRUE(sent);
  const auto mails = Calls("MAPISendMail");
  ASSERT_EQ(1u, mails.size());
  const std::string name = mails[0].Text(mailrecord::kFileName).value_or("");
  EXPECT_EQ(".JPG", name.substr(name.size() - 4));
  // The picture's note: its template with the third text put in.
  const std::string note = mails[0].Text(mailrecord::kNoteText).value_or("");
  EXPECT_NE(std::string::npos, note.find(Text(IDS_NOTE_INSERT_FIRST + 2))) << note;
  EXPECT_EQ(std::string::npos, note.find('%')) << note;
  EXPECT_NE(ExpectedPackageNote(), note);
  ORVLFILEINFO info = {};
  info.uStructSize = sizeof info;
  const Bytes picture = ReadBytes(m_attachments + name);
  ASSERT_EQ(ORVL_SUCCESS, orvlFileInfoMemory(picture.data(), uint32_t(picture.size()), &info));
  EXPECT_EQ(630, int(info.Width));
  EXPECT_EQ(846, int(info.Height));
}

TEST_F(DeliveryTest, MailWithoutRecipientsNeverLogsOn) {
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  BOOL sent = TRUE;
  HWND focus = NULL, to = NULL;
  card.Run({[&](cScriptedCard& c) {
    sent = c.Send();
    focus = GetFocus();
    to = c.GetBack()->GetDlgItem(IDC_CARD_TO)->GetSafeHwnd();
    return true;
  }});
  EXPECT_FALSE(sent);
  EXPECT_EQ(std::vector<std::string>{Text(IDS_NO_RECIPIENTS)}, theApp.m_boxes);
  EXPECT_FALSE(card.IsFrontShowing());  // the back was made by turning the card to it
  EXPECT_EQ(to, focus);
  EXPECT_TRUE(card.IsModified());
  EXPECT_TRUE(Calls().empty());
}

TEST_F(DeliveryTest, LogonTriesTheDefaultProfileThenTheMailClientsOwnLogon) {
  struct Case {
    const char* defaultProfile;  // null: none
    const char* results;
    BOOL loggedOn;
    std::vector<std::string> profiles;  // "(null)" for no name
    std::vector<std::string> flags;
  };
  const Case cases[] = {
      {nullptr, "3,0", TRUE, {"", "(null)"}, {"2", "3"}},
      {nullptr, "", TRUE, {""}, {"2"}},
      {"Work", "", TRUE, {"Work"}, {"2"}},
      {"Work", "3,3,3,3", FALSE, {"Work", "(null)"}, {"2", "3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.results);
    DeleteFileA(m_record.c_str());
    theApp.m_boxes.clear();
    HKEY profiles;
    ASSERT_EQ(0, RegCreateKeyExA(HKEY_CURRENT_USER, quillo::kMailProfilesKey, 0, NULL, 0, KEY_SET_VALUE, NULL,
                                 &profiles, NULL));
    if (c.defaultProfile)
      RegSetValueExA(profiles, quillo::kDefaultProfileValue, 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(c.defaultProfile), DWORD(strlen(c.defaultProfile) + 1));
    else
      RegDeleteValueA(profiles, quillo::kDefaultProfileValue);
    RegCloseKey(profiles);
    SetVariable(mailrecord::kLogonResultsVariable, c.results);
    cScriptedCard card(SampleMedia().front.c_str(), "", "");
    BOOL loggedOn = FALSE, again = FALSE;
    card.Run({[&](cScriptedCard& k) {
      loggedOn = k.GetMail().MapiLogon();
      again = k.GetMail().MapiLogon();  // an open session is kept
      return true;
    }});
    EXPECT_EQ(c.loggedOn, loggedOn);
    EXPECT_EQ(c.loggedOn, again);
    const auto logons = Calls("MAPILogon");
    std::vector<std::string> profilesSeen, flagsSeen;
    for (const auto& logon : logons) {
      profilesSeen.push_back(logon.Text(mailrecord::kProfile).value_or("(null)"));
      flagsSeen.push_back(std::to_string(logon.Number(mailrecord::kFlags)));
    }
    // A session that could not be opened is tried again at the next mail operation.
    const size_t expectedCalls = c.profiles.size() * (c.loggedOn ? 1 : 2);
    EXPECT_EQ(expectedCalls, logons.size());
    profilesSeen.resize(c.profiles.size());
    flagsSeen.resize(c.flags.size());
    EXPECT_EQ(c.profiles, profilesSeen);
    EXPECT_EQ(c.flags, flagsSeen);
    EXPECT_TRUE(theApp.m_boxes.empty());  // a refused logon is the mail client's to tell
    EXPECT_EQ(c.loggedOn ? 1u : 0u, Calls("MAPILogoff").size());  // when the card closes
  }
}

TEST_F(DeliveryTest, EachMailResultShowsItsMessageOnceAndTakesItsAction) {
  struct Case {
    ULONG result;
    BOOL success;
    UINT message;  // 0: none
    BOOL addressBook;
  };
  const Case cases[] = {
      {SUCCESS_SUCCESS, TRUE, 0, FALSE},
      {MAPI_USER_ABORT, TRUE, 0, FALSE},
      {MAPI_E_FAILURE, FALSE, IDS_MAPI_GENERAL_FAILURE, FALSE},
      {MAPI_E_LOGIN_FAILURE, FALSE, 0, FALSE},
      {MAPI_E_INSUFFICIENT_MEMORY, FALSE, IDS_MAPI_OUT_OF_MEMORY, FALSE},
      {MAPI_E_TOO_MANY_RECIPIENTS, FALSE, IDS_MAPI_TOO_MANY_RECIPIENTS, TRUE},
      {MAPI_E_ATTACHMENT_NOT_FOUND, FALSE, IDS_MAPI_ATTACHMENT, FALSE},
      {MAPI_E_ATTACHMENT_OPEN_FAILURE, FALSE, IDS_MAPI_ATTACHMENT, FALSE},
      {MAPI_E_UNKNOWN_RECIPIENT, FALSE, IDS_MAPI_UNKNOWN_RECIPIENT, TRUE},
      {MAPI_E_INVALID_SESSION, FALSE, IDS_MAPI_GENERAL_FAILURE, FALSE},
      {MAPI_E_AMBIGUOUS_RECIPIENT, FALSE, IDS_MAPI_AMBIGUOUS_RECIPIENT, TRUE},
      {MAPI_E_INVALID_RECIPS, FALSE, IDS_MAPI_UNKNOWN_RECIPIENT, TRUE},
      {MAPI_E_NOT_SUPPORTED, FALSE, 0, FALSE},
  };
  SetVariable(mailrecord::kAddressResultVariable, std::to_string(MAPI_USER_ABORT));
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  card.Run({[&](cScriptedCard& c) {
    TypeOnBack(c, "Bob");
    EXPECT_TRUE(c.GetMail().UpdateRecipients());
    for (const Case& k : cases) {
      SCOPED_TRACE(k.result);
      if (!c.IsFrontShowing()) c.Flip();
      theApp.m_boxes.clear();
      const size_t books = Calls("MAPIAddress").size();
      SetVariable(mailrecord::kResultVariable, std::to_string(k.result));
      EXPECT_EQ(k.success, c.GetMail().MailCard(TRUE));
      EXPECT_EQ(k.message ? std::vector<std::string>{Text(k.message)} : std::vector<std::string>{}, theApp.m_boxes);
      EXPECT_EQ(k.addressBook ? books + 1 : books, Calls("MAPIAddress").size());
      EXPECT_EQ(!k.addressBook, c.IsFrontShowing());  // the address book is opened over the back
      const auto mails = Calls("MAPISendMail");
      EXPECT_FALSE(Exists(mails.back().Text(mailrecord::kFilePath).value_or("")));
    }
    return true;
  }});
  EXPECT_FALSE(card.TimedOut());
}

TEST_F(DeliveryTest, TheAddressBookKeepsTwentyFiveRecipients) {
  std::string book;
  for (int i = 1; i <= 26; ++i) book += (i > 1 ? ";" : "") + std::string("Friend ") + std::to_string(i);
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  int kept = 0, keptAfter = 0;
  std::vector<std::string> boxesFirst;
  card.Run({[&](cScriptedCard& c) {
    SetVariable(mailrecord::kAddressBookVariable, book);
    c.GetMail().AddressBook();
    kept = c.GetBack()->Recipients().GetCount();
    boxesFirst = theApp.m_boxes;
    theApp.m_boxes.clear();
    SetVariable(mailrecord::kAddressBookVariable, "Ann;Bob");
    c.GetMail().AddressBook();
    keptAfter = c.GetBack()->Recipients().GetCount();
    return true;
  }});
  EXPECT_EQ(25, kept);
  EXPECT_EQ(std::vector<std::string>{Text1(IDS_RECIPIENTS_KEPT, "25")}, boxesFirst);
  EXPECT_EQ(2, keptAfter);
  EXPECT_TRUE(theApp.m_boxes.empty());
  EXPECT_STREQ("Ann; Bob", card.GetBack()->GetRecipientText());
  const auto books = Calls("MAPIAddress");
  ASSERT_EQ(2u, books.size());
  EXPECT_EQ(0u, books[0].Number(mailrecord::kRecipientCount));
  EXPECT_EQ(26u, books[0].Number(mailrecord::kReturned));
  EXPECT_EQ(1u, books[0].Number(mailrecord::kEditFields));
  EXPECT_EQ(25u, books[1].Number(mailrecord::kRecipientCount));  // the book is shown what the card holds
  EXPECT_EQ("Friend 25", books[1].All(mailrecord::kRecipientName).back());
  const auto freed = Calls("MAPIFreeBuffer");
  ASSERT_EQ(2u, freed.size());
  EXPECT_EQ(1u, freed[0].Number(mailrecord::kKnownBuffer));
  EXPECT_EQ(0u, freed[1].Number(mailrecord::kOutstanding));
}

// A name the mail client does not know is taken off the card and the send stops with the unknown-recipient
// message and the address book, instead of going to fewer people than the user wrote.
TEST_F(DeliveryTest, AnUnknownRecipientStopsTheSend) {
  SetVariable(mailrecord::kUnknownNamesVariable, "Nobody");
  SetVariable(mailrecord::kAddressResultVariable, std::to_string(MAPI_USER_ABORT));
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  BOOL sent = TRUE;
  card.Run({[&](cScriptedCard& c) {
    TypeOnBack(c, "Bob; Nobody");
    sent = c.Send();
    return true;
  }});
  EXPECT_FALSE(sent);
  EXPECT_EQ(std::vector<std::string>{Text(IDS_MAPI_UNKNOWN_RECIPIENT)}, theApp.m_boxes);
  EXPECT_STREQ("Bob", card.GetBack()->GetRecipientText());
  EXPECT_EQ(1u, Calls("MAPIAddress").size());
  EXPECT_TRUE(Calls("MAPISendMail").empty());
}

TEST(RecipientTable, RebuildKeepsKnownEntriesAndDropsWhatCannotBeResolved) {
  cRecipientTable table;
  std::vector<std::string> resolved;
  auto resolver = [&](cRecipientTable& t, int index) -> ULONG {
    const std::string name = t.Get(index).lpszName;
    resolved.push_back(name);
    if (name == "Nobody") return MAPI_E_UNKNOWN_RECIPIENT;
    MapiRecipDesc entry = t.Get(index);
    const std::string address = "mail:" + name;
    entry.lpszAddress = const_cast<LPSTR>(address.c_str());
    t.Set(index, entry);
    return SUCCESS_SUCCESS;
  };
  EXPECT_EQ(ULONG(SUCCESS_SUCCESS), table.Rebuild(" Ann ;Bob;;", ";", "SMTP:", resolver));
  EXPECT_EQ((std::vector<std::string>{"Ann", "Bob"}), resolved);
  EXPECT_STREQ("mail:Ann", table.Get(0).lpszAddress);
  resolved.clear();
  EXPECT_EQ(ULONG(MAPI_E_UNKNOWN_RECIPIENT), table.Rebuild("BOB; Nobody; Carl", ";", "SMTP:", resolver));
  EXPECT_EQ((std::vector<std::string>{"Nobody", "Carl"}), resolved);  // "BOB" is Bob, kept as he was
  ASSERT_EQ(2, table.GetCount());
  EXPECT_STREQ("Bob", table.Get(0).lpszName);
  EXPECT_STREQ("mail:Bob", table.Get(0).lpszAddress);
  EXPECT_STREQ("Carl", table.Get(1).lpszName);
  EXPECT_EQ(ULONG(MAPI_TO), table.Get(1).ulRecipClass);
  EXPECT_STREQ("Bob; Carl", table.JoinedNames("; "));
  std::string many;
  for (int i = 0; i < 30; ++i) many += "P" + std::to_string(i) + ";";
  table.Rebuild(many.c_str(), ";", "SMTP:", nullptr);
  EXPECT_EQ(25, table.GetCount());
  EXPECT_STREQ("SMTP:P24", table.Get(24).lpszAddress);
}

// ---------------------------------------------------------------------------------------------
// The outbox.

TEST(Outbox, Names) {
  EXPECT_STREQ("holiday", quillo::BaseNameOf("C:\\photos\\holiday.jpg"));
  EXPECT_STREQ("my.trip", quillo::BaseNameOf("C:\\a.b\\my.trip.jpg"));
  EXPECT_STREQ("card", quillo::BaseNameOf("card"));
  EXPECT_STREQ("C:\\out\\card.EXE", quillo::WithExtension("C:\\out\\card.txt", ".EXE"));
  EXPECT_STREQ("C:\\out.d\\card.JPG", quillo::WithExtension("C:\\out.d\\card", ".JPG"));
  EXPECT_STREQ("C:\\out\\card.v2.EXE", quillo::WithExtension("C:\\out\\card.v2.exe", ".EXE"));
}

TEST_F(DeliveryTest, SavingAsCardTxtWritesCardExe) {
  SetPreference(quillo::kDeliveryServiceValue, cPreferences::kServiceOutbox);
  const std::string folder = FreshFolder("quillo_outbox_save");
  const std::string photo = folder + "beach day.jpg";
  CopyFileA(SampleMedia().front.c_str(), photo.c_str(), FALSE);
  const std::vector<std::string> temporariesBefore = Temporaries();
  cScriptedCard card(photo.c_str(), "", "");
  std::string proposed, firstFolder, secondFolder;
  BOOL first = FALSE, second = TRUE;
  card.Run({[&](cScriptedCard& c) {
    {
      DialogDriver driver(kSaveTitle, [&](HWND dialog) {
        proposed = FileNameField(dialog);
        char path[MAX_PATH] = "";
        SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, LPARAM(path));
        firstFolder = path;
        ChooseFile(dialog, folder + "card.txt");
      });
      first = c.Send();
    }
    {
      DialogDriver driver(kSaveTitle, [&](HWND dialog) {
        char path[MAX_PATH] = "";
        SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, LPARAM(path));
        secondFolder = path;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      });
      second = c.Send();
    }
    return true;
  }}, 60000);
  ASSERT_FALSE(card.TimedOut());
  EXPECT_TRUE(first);
  EXPECT_FALSE(second);
  EXPECT_EQ("beach day.EXE", proposed);
  EXPECT_EQ(0, lstrcmpiA(LPCSTR(quillo::OutboxFolder()), firstFolder.c_str())) << firstFolder;
  EXPECT_EQ(0, lstrcmpiA(folder.substr(0, folder.size() - 1).c_str(), secondFolder.c_str())) << secondFolder;
  EXPECT_TRUE(Exists(folder + "card.EXE"));
  EXPECT_FALSE(Exists(folder + "card.txt"));
  EXPECT_EQ(0, lstrcmpiA((folder + "card.EXE").c_str(), card.GetSavedPath()));
  EXPECT_EQ(std::vector<std::string>{Text1(IDS_CARD_SAVED, LPCSTR(card.GetSavedPath()))}, theApp.m_boxes);
  const Parsed p = packagetest::Parse(folder + "card.EXE");
  EXPECT_EQ(3, p.U16(kKind));
  EXPECT_EQ(p.SumOfParts(), p.U8(kChecksum));
  EXPECT_EQ(temporariesBefore, Temporaries());  // the built file goes whether saved or not
  EXPECT_TRUE(Calls().empty());                 // the outbox needs no mail
}

TEST_F(DeliveryTest, TheOutboxWarningCountsTheCardsAgainstTheLimit) {
  SetPreference(quillo::kDeliveryServiceValue, cPreferences::kServiceOutbox);
  SetPreference(quillo::kWarnOutboxFullValue, 1);
  SetPreference(quillo::kOutboxLimitValue, 20);
  for (int cards : {20, 21}) {
    SCOPED_TRACE(cards);
    theApp.m_boxes.clear();
    const std::string folder = FreshFolder(cards == 20 ? "quillo_outbox_20" : "quillo_outbox_21");
    for (int i = 1; i < cards; ++i) WriteBytes(folder + "old" + std::to_string(i) + ".exe", Bytes{'M', 'Z'});
    cScriptedCard card(SampleMedia().front.c_str(), "", "");
    card.Run({[&](cScriptedCard& c) {
      c.SetSaveFolder(folder.substr(0, folder.size() - 1).c_str());
      DialogDriver driver(kSaveTitle, [&](HWND dialog) { ChooseFile(dialog, folder + "new.exe"); });
      EXPECT_TRUE(c.Send());
      return true;
    }});
    EXPECT_EQ(size_t(cards), List(folder).size());
    const std::string warning = Text1(IDS_OUTBOX_FULL, folder.substr(0, folder.size() - 1));
    const bool warned = std::find(theApp.m_boxes.begin(), theApp.m_boxes.end(), warning) != theApp.m_boxes.end();
    EXPECT_EQ(cards == 21, warned);
  }
}

TEST_F(DeliveryTest, FormatOneOnACardWithSoundIsRefusedBeforeTheCardIsBuilt) {
  SetPreference(quillo::kDeliveryServiceValue, cPreferences::kServiceOutbox);
  SetPreference(quillo::kDeliveryFormatValue, cPreferences::kFormatPicture);
  cScriptedCard card(SampleMedia().front.c_str(), "", SampleMedia().sound.c_str());
  int storedWhileSaving = -1;
  std::string proposed;
  card.Run({[&](cScriptedCard& c) {
    DialogDriver driver(kSaveTitle, [&](HWND dialog) {
      storedWhileSaving = Preference(quillo::kDeliveryFormatValue);
      proposed = FileNameField(dialog);
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    c.Send();
    return true;
  }});
  EXPECT_EQ(cPreferences::kFormatPackage, storedWhileSaving);
  EXPECT_EQ("front.EXE", proposed);  // built and proposed as a package
  EXPECT_EQ(std::vector<std::string>{Text(IDS_PICTURE_FORMAT_REFUSED)}, theApp.m_boxes);
}

TEST_F(DeliveryTest, TheConfirmationIsChosenByServiceAndFormat) {
  const std::string closing = Text(IDS_CONFIRM_CLOSING);
  EXPECT_EQ(Text(IDS_CONFIRM_MAIL_PACKAGE) + "\r\n\r\n" + closing,
            LPCSTR(cDeliveryConfirmDialog::ConfirmationText(cPreferences::kServiceMail, cPreferences::kFormatPackage)));
  EXPECT_EQ(Text(IDS_CONFIRM_MAIL_PICTURE) + "\r\n\r\n" + closing,
            LPCSTR(cDeliveryConfirmDialog::ConfirmationText(cPreferences::kServiceMail, cPreferences::kFormatPicture)));
  EXPECT_EQ(Text(IDS_CONFIRM_FILE_PACKAGE) + "\r\n\r\n" + closing,
            LPCSTR(cDeliveryConfirmDialog::ConfirmationText(cPreferences::kServiceOutbox, cPreferences::kFormatPackage)));
  EXPECT_EQ(Text(IDS_CONFIRM_FILE_PICTURE) + "\r\n\r\n" + closing,
            LPCSTR(cDeliveryConfirmDialog::ConfirmationText(cPreferences::kServiceOutbox, cPreferences::kFormatPicture)));
  // Cancel stops the send before anything is built; "do not ask again" clears the preference.
  SetPreference(quillo::kPromptDeliveryFormatValue, 1);
  SetPreference(quillo::kDeliveryServiceValue, cPreferences::kServiceOutbox);
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  BOOL cancelled = TRUE, saved = FALSE;
  bool saveSeen = false;
  card.Run({[&](cScriptedCard& c) {
    {
      DialogDriver confirm("Send the Card", [](HWND dialog) {
        SaveShot(dialog, "send_confirmation");
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      });
      DialogDriver save(kSaveTitle, [&](HWND dialog) {
        saveSeen = true;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      }, 3000);
      cancelled = c.Send();
    }
    const std::string folder = FreshFolder("quillo_confirm");
    DialogDriver confirm("Send the Card", [](HWND dialog) {
      CheckDlgButton(dialog, IDC_CONFIRM_DONT_ASK, BST_CHECKED);
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    DialogDriver save(kSaveTitle, [&](HWND dialog) { ChooseFile(dialog, folder + "card.exe"); });
    saved = c.Send();
    return true;
  }}, 60000);
  EXPECT_FALSE(cancelled);
  EXPECT_FALSE(saveSeen);
  EXPECT_TRUE(saved);
  EXPECT_EQ(0, Preference(quillo::kPromptDeliveryFormatValue));
}

// ---------------------------------------------------------------------------------------------
// The video's recompression before sending.

TEST(VideoCompression, OnlyUncompressedStreamsAreOffered) {
  EXPECT_EQ(quillo::UncompressedKind::kRgb, quillo::UncompressedKindOf(mmioFOURCC('D', 'I', 'B', ' ')));
  EXPECT_EQ(quillo::UncompressedKind::kRgb, quillo::UncompressedKindOf(mmioFOURCC('d', 'i', 'b', ' ')));
  EXPECT_EQ(quillo::UncompressedKind::kYuv, quillo::UncompressedKindOf(mmioFOURCC('I', '4', '2', '0')));
  EXPECT_EQ(quillo::UncompressedKind::kYuv, quillo::UncompressedKindOf(mmioFOURCC('I', 'Y', 'U', 'V')));
  for (DWORD other : {DWORD(0), mmioFOURCC('c', 'v', 'i', 'd'), mmioFOURCC('m', 'r', 'l', 'e'),
                      mmioFOURCC('R', 'G', 'B', ' ')})
    EXPECT_EQ(quillo::UncompressedKind::kNone, quillo::UncompressedKindOf(other));
}

namespace {

DWORD VideoHandler(const std::string& path, LONG* frames) {
  cAVIFile file;
  if (!file.Open(path.c_str(), OF_READ, NULL)) return 0;
  std::unique_ptr<cAVIStream> stream(file.GetStream(streamtypeVIDEO, 0));
  AVISTREAMINFOA info = {};
  if (!stream || !stream->GetInfo(&info)) return 0;
  *frames = stream->GetLength();
  return info.fccHandler;
}

}  // namespace

TEST_F(DeliveryTest, AnUncompressedClipIsRecompressedAfterTheQuestion) {
  SetPreference(quillo::kDeliveryServiceValue, cPreferences::kServiceOutbox);
  SetPreference(quillo::kPromptVideoCompressionValue, 1);
  const std::string folder = FreshFolder("quillo_recompress");
  const std::string clip = folder + "clip.avi";
  CopyFileA(SampleMedia().clip.c_str(), clip.c_str(), FALSE);
  LONG frames = 0, recompressedFrames = 0;
  ASSERT_EQ(quillo::UncompressedKind::kRgb, quillo::UncompressedKindOf(VideoHandler(clip, &frames)));
  theApp.m_answers = {IDYES};
  cScriptedCard card("", clip.c_str(), "");
  std::string compressor;
  CString videoAfter;
  DWORD handler = 0;
  bool packageHasNewVideo = false;
  card.Run({[&](cScriptedCard& c) {
    DialogDriver choose("Video Compression", [&](HWND dialog) {
      HWND list = FindWindowExA(dialog, NULL, "ComboBox", NULL);
      const int count = int(SendMessageA(list, CB_GETCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        char text[256] = "";
        SendMessageA(list, CB_GETLBTEXT, i, LPARAM(text));
        std::string upper = text;
        for (char& ch : upper) ch = char(toupper(ch));
        if (upper.find("RLE") != std::string::npos) {
          SendMessageA(list, CB_SETCURSEL, i, 0);
          compressor = text;
          break;
        }
      }
      SaveShot(dialog, "video_compression");
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    DialogDriver save(kSaveTitle, [&](HWND dialog) { ChooseFile(dialog, folder + "clip card.exe"); });
    EXPECT_TRUE(c.Send());
    videoAfter = c.GetVideoPath();
    handler = VideoHandler(LPCSTR(videoAfter), &recompressedFrames);
    std::printf("clip %zu bytes, recompressed with %s: %zu bytes\n", ReadBytes(clip).size(), compressor.c_str(),
                ReadBytes(LPCSTR(videoAfter)).size());
    const Parsed p = packagetest::Parse(folder + "clip card.EXE");
    packageHasNewVideo = p.Part(kVideo) == ReadBytes(LPCSTR(videoAfter));
    return true;
  }}, 60000);
  ASSERT_FALSE(card.TimedOut());
  ASSERT_FALSE(theApp.m_boxes.empty());
  EXPECT_EQ(Text1(IDS_COMPRESS_QUESTION, Text(IDS_UNCOMPRESSED_RGB)), theApp.m_boxes[0]);
  EXPECT_FALSE(compressor.empty());
  EXPECT_NE(0, lstrcmpiA(clip.c_str(), videoAfter));
  const std::string name = LPCSTR(videoAfter.Mid(videoAfter.ReverseFind('\\') + 1));
  EXPECT_EQ(0u, name.find("NXN")) << name;
  EXPECT_EQ(".avi", name.substr(name.size() - 4));
  EXPECT_EQ(mmioFOURCC('m', 'r', 'l', 'e'), handler | 0x20202020);
  EXPECT_EQ(frames, recompressedFrames);
  EXPECT_TRUE(packageHasNewVideo);
  EXPECT_STREQ(clip.c_str(), card.GetFront()->Editor().GetPath());  // the front keeps the clip it was given
  EXPECT_FALSE(Exists(LPCSTR(videoAfter)));  // the copy goes with the card
}

TEST_F(DeliveryTest, ACompressedClipIsSentAsItIsWithoutAQuestion) {
  const char* peer = std::getenv("ORV_QUILLO_PEER");
  if (!peer) GTEST_SKIP() << "ORV_QUILLO_PEER names the folder of the peer's clips";
  const std::string clip = std::string("Z:") + peer + "\\cinepak_s16.avi";
  ASSERT_TRUE(Exists(clip));
  SetPreference(quillo::kDeliveryServiceValue, cPreferences::kServiceOutbox);
  SetPreference(quillo::kPromptVideoCompressionValue, 1);
  const std::string folder = FreshFolder("quillo_cinepak");
  cScriptedCard card("", clip.c_str(), "");
  CString videoAfter;
  card.Run({[&](cScriptedCard& c) {
    DialogDriver save(kSaveTitle, [&](HWND dialog) { ChooseFile(dialog, folder + "card.exe"); });
    EXPECT_TRUE(c.Send());
    videoAfter = c.GetVideoPath();
    return true;
  }}, 60000);
  EXPECT_STREQ(clip.c_str(), videoAfter);
  ASSERT_EQ(1u, theApp.m_boxes.size());  // only the saved card's information
  EXPECT_EQ(Text1(IDS_CARD_SAVED, folder + "card.EXE"), theApp.m_boxes[0]);
  EXPECT_EQ(ReadBytes(clip), packagetest::Parse(folder + "card.EXE").Part(kVideo));
}
