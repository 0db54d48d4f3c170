// NXMisc's mail hand-off end to end: SendMail through the system's MAPI32 to the recording mail client, which
// this program registers as the default mail client while it runs, and the mail availability check.
#include <gtest/gtest.h>

#include <windows.h>
#include <mapi.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "NXMisc.h"
#include "afxres.h"
#include "mail_record.h"

namespace {

const char kMailClientsKey[] = "Software\\Clients\\Mail";
const char kDllPathValue[] = "DLLPath";
const char kMailSection[] = "MAIL";
const char kMapiEntry[] = "MAPI";
const char kDialogClass[] = "#32770";
// The message box's text control.
const int kMessageBoxTextId = 0xFFFF;
const DWORD kWatchIntervalMs = 20;
// What SendMail asks of the mail client: the logon interface and the dialog.
const ULONG kLogonUiAndDialog = 9;
const ULONG kNoPosition = 0xFFFFFFFFu;
const size_t kLongestAttachmentPath = 1024;

std::string BinFolder() {
  char exe[MAX_PATH];
  GetModuleFileNameA(NULL, exe, MAX_PATH);
  std::string path = exe;
  return path.substr(0, path.rfind('\\') + 1);
}

// Makes the recorder the default mail client for this run and puts the previous registration back afterwards.
// It is in place before anything loads MAPI32, which reads the registration when it is loaded.
class RecorderAsMailClient : public ::testing::Environment {
 public:
  void SetUp() override {
    HKEY clients, client;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMailClientsKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                             &clients, NULL));
    char previous[MAX_PATH] = {};
    DWORD size = sizeof previous - 1, type = 0;
    m_hadDefault = RegQueryValueExA(clients, NULL, NULL, &type, reinterpret_cast<BYTE*>(previous), &size) ==
                       ERROR_SUCCESS && type == REG_SZ;
    if (m_hadDefault) m_previousDefault = previous;
    const std::string dll = BinFolder() + mailrecord::kDllName;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(clients, mailrecord::kClientName, 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                             &client, NULL));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(client, kDllPathValue, 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(dll.c_str()), DWORD(dll.size() + 1)));
    RegCloseKey(client);
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(clients, NULL, 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(mailrecord::kClientName),
                                            DWORD(sizeof mailrecord::kClientName)));
    RegCloseKey(clients);
  }

  void TearDown() override {
    HKEY clients;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMailClientsKey, 0, KEY_ALL_ACCESS, &clients));
    if (m_hadDefault) {
      EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(clients, NULL, 0, REG_SZ,
                                              reinterpret_cast<const BYTE*>(m_previousDefault.c_str()),
                                              DWORD(m_previousDefault.size() + 1)));
    } else {
      RegDeleteValueA(clients, NULL);
    }
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(clients, mailrecord::kClientName));
    RegCloseKey(clients);
  }

 private:
  bool m_hadDefault = false;
  std::string m_previousDefault;
};
::testing::Environment* const g_mailClient = ::testing::AddGlobalTestEnvironment(new RecorderAsMailClient);

// One MAPISendMail call as the recorder wrote it.
struct Attachment {
  unsigned long position = 0;
  std::optional<std::string> path, name;
};
struct Call {
  unsigned long flags = 0, uiParam = 0, capture = 0, recipientCount = 0, fileCount = 0;
  bool ownerEnabled = false;
  std::optional<std::string> subject, noteText;
  std::vector<std::string> recipients;
  std::vector<Attachment> files;
};

std::vector<Call> ReadRecord(const std::string& path) {
  std::vector<Call> calls;
  std::FILE* in = std::fopen(path.c_str(), "r");
  if (!in) return calls;
  std::string line;
  for (int c = std::fgetc(in); c != EOF; c = std::fgetc(in)) {
    if (c != '\n') {
      line += char(c);
      continue;
    }
    const size_t equals = line.find('=');
    const std::string key = line.substr(0, equals);
    const std::optional<std::string> text =
        equals == std::string::npos ? std::nullopt : std::optional<std::string>(line.substr(equals + 1));
    const unsigned long number = text ? std::strtoul(text->c_str(), nullptr, 10) : 0;
    line.clear();
    if (key == mailrecord::kCall) {
      calls.emplace_back();
      continue;
    }
    if (calls.empty()) continue;
    Call& call = calls.back();
    if (key == mailrecord::kFlags) call.flags = number;
    if (key == mailrecord::kUiParam) call.uiParam = number;
    if (key == mailrecord::kOwnerEnabled) call.ownerEnabled = number != 0;
    if (key == mailrecord::kCapture) call.capture = number;
    if (key == mailrecord::kSubject) call.subject = text;
    if (key == mailrecord::kNoteText) call.noteText = text;
    if (key == mailrecord::kRecipientCount) call.recipientCount = number;
    if (key == mailrecord::kRecipientAddress) call.recipients.push_back(text.value_or("(null)"));
    if (key == mailrecord::kFileCount) call.fileCount = number;
    if (key == mailrecord::kFilePosition) call.files.push_back(Attachment{number});
    if (key == mailrecord::kFilePath && !call.files.empty()) call.files.back().path = text;
    if (key == mailrecord::kFileName && !call.files.empty()) call.files.back().name = text;
  }
  std::fclose(in);
  return calls;
}

// Watches the calling thread for message boxes while it runs: notes each box's text and presses OK, so no box
// stays open whatever the code under test does.
class MessageBoxWatch {
 public:
  MessageBoxWatch() : m_thread(GetCurrentThreadId()), m_stop(CreateEventA(NULL, TRUE, FALSE, NULL)) {
    m_watcher = std::thread([this] {
      while (WaitForSingleObject(m_stop, kWatchIntervalMs) == WAIT_TIMEOUT) EnumThreadWindows(m_thread, Close, LPARAM(this));
    });
  }
  ~MessageBoxWatch() { Stop(); }
  // Ends the watch; the texts of the boxes seen, in order.
  const std::vector<std::string>& Stop() {
    if (m_watcher.joinable()) {
      SetEvent(m_stop);
      m_watcher.join();
      CloseHandle(m_stop);
    }
    return m_texts;
  }

 private:
  static BOOL CALLBACK Close(HWND window, LPARAM param) {
    MessageBoxWatch* self = reinterpret_cast<MessageBoxWatch*>(param);
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, kDialogClass) != 0 || !IsWindowVisible(window) || window == self->m_closing) return TRUE;
    char text[512] = {};
    GetDlgItemTextA(window, kMessageBoxTextId, text, sizeof text);
    self->m_texts.push_back(text);
    self->m_closing = window;
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return FALSE;
  }

  DWORD m_thread;
  HANDLE m_stop;
  HWND m_closing = NULL;
  std::vector<std::string> m_texts;
  std::thread m_watcher;
};

class SendMailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    m_record = std::string(temp) + "orv-mail-record-" + std::to_string(GetCurrentProcessId()) + ".txt";
    SetEnvironmentVariableA(mailrecord::kRecordPathVariable, m_record.c_str());
    SetEnvironmentVariableA(mailrecord::kResultVariable, NULL);
  }
  void TearDown() override {
    DeleteFileA(m_record.c_str());
    SetEnvironmentVariableA(mailrecord::kRecordPathVariable, NULL);
    SetEnvironmentVariableA(mailrecord::kResultVariable, NULL);
  }

  // SendMail with the mail client answering `result`; the calls the client received and the boxes shown.
  BOOL Send(const std::string& path, ULONG result, std::vector<Call>* calls, std::vector<std::string>* boxes) {
    DeleteFileA(m_record.c_str());
    SetEnvironmentVariableA(mailrecord::kResultVariable, std::to_string(result).c_str());
    MessageBoxWatch watch;
    BOOL sent = SendMail(path.c_str());
    *boxes = watch.Stop();
    *calls = ReadRecord(m_record);
    return sent;
  }

  std::string m_record;
};

TEST_F(SendMailTest, TheFileReachesTheMailClientAsTheOnlyAttachment) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string real = std::string(temp) + "beach photo.jpg";
  HANDLE file = CreateFileA(real.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  CloseHandle(file);
  std::string deep = "C:\\";
  while (deep.size() < kLongestAttachmentPath + 50) deep += "folder\\";
  deep += "long.jpg";
  const struct {
    std::string path, sentPath, name;
  } cases[] = {
      {real, real, "beach photo.jpg"},
      {"D:\\photos\\1999\\Beach.JPG", "D:\\photos\\1999\\Beach.JPG", "Beach.JPG"},
      {"beach.jpg", "beach.jpg", "beach.jpg"},
      {deep, deep.substr(0, kLongestAttachmentPath), "long.jpg"},  // the path is cut, the name is whole
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::vector<Call> calls;
    std::vector<std::string> boxes;
    EXPECT_TRUE(Send(c.path, SUCCESS_SUCCESS, &calls, &boxes));
    EXPECT_TRUE(boxes.empty());
    ASSERT_EQ(1u, calls.size());
    const Call& call = calls[0];
    EXPECT_EQ(kLogonUiAndDialog, call.flags);
    EXPECT_FALSE(call.subject.has_value());
    EXPECT_FALSE(call.noteText.has_value());
    EXPECT_EQ(0u, call.recipientCount);
    EXPECT_TRUE(call.recipients.empty());
    ASSERT_EQ(1u, call.fileCount);
    ASSERT_EQ(1u, call.files.size());
    EXPECT_EQ(kNoPosition, call.files[0].position);
    EXPECT_EQ(c.sentPath, call.files[0].path.value_or("(null)"));
    EXPECT_EQ(c.name, call.files[0].name.value_or("(null)"));
  }
  DeleteFileA(real.c_str());
}

// Success, the user's abort and a failed logon are the mail client's business; anything else is reported.
TEST_F(SendMailTest, ClientResultsAndTheFailurePrompt) {
  CString failed;
  ASSERT_TRUE(failed.LoadString(AFX_IDP_FAILED_MAPI_SEND));
  const struct {
    ULONG result;
    BOOL sent;
  } cases[] = {{SUCCESS_SUCCESS, TRUE},          {MAPI_USER_ABORT, TRUE},
               {MAPI_E_LOGIN_FAILURE, TRUE},     {MAPI_E_FAILURE, FALSE},
               {MAPI_E_ATTACHMENT_NOT_FOUND, FALSE}, {MAPI_E_NOT_SUPPORTED, FALSE}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.result);
    std::vector<Call> calls;
    std::vector<std::string> boxes;
    EXPECT_EQ(c.sent, Send("C:\\photos\\beach.jpg", c.result, &calls, &boxes));
    EXPECT_EQ(1u, calls.size());
    if (c.sent) {
      EXPECT_TRUE(boxes.empty());
    } else {
      EXPECT_EQ(std::vector<std::string>{std::string(failed)}, boxes);
    }
  }
}

// The mail client's dialog is modal to the active window: it is its owner, disabled and holding the mouse
// during the call, and enabled and active again afterwards, also when the client fails.
TEST_F(SendMailTest, TheActiveWindowOwnsTheMailDialog) {
  HWND window = CreateWindowExA(0, "STATIC", "mail owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, NULL,
                                NULL, GetModuleHandleA(NULL), NULL);
  ASSERT_NE(nullptr, window);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  ASSERT_EQ(window, GetActiveWindow());
  for (ULONG result : {ULONG(SUCCESS_SUCCESS), ULONG(MAPI_E_FAILURE)}) {
    SCOPED_TRACE(result);
    std::vector<Call> calls;
    std::vector<std::string> boxes;
    Send("C:\\photos\\beach.jpg", result, &calls, &boxes);
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(window), calls[0].uiParam);
    EXPECT_FALSE(calls[0].ownerEnabled);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(window), calls[0].capture);
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(window, GetActiveWindow());
  }
  DestroyWindow(window);
}

// Only this test asks IsMAPIAvailable, so the process has no cached answer when it starts.
TEST(MailAvailabilityTest, ProfileSwitchWithTheClientRegistered) {
  const char kAbsent[] = "<absent>";
  char previous[64];
  GetProfileStringA(kMailSection, kMapiEntry, kAbsent, previous, sizeof previous);
  ASSERT_TRUE(WriteProfileStringA(kMailSection, kMapiEntry, "0"));
  EXPECT_FALSE(IsMAPIAvailable());
  ASSERT_TRUE(WriteProfileStringA(kMailSection, kMapiEntry, "1"));
  EXPECT_TRUE(IsMAPIAvailable());
  // A true answer holds for the rest of the process.
  ASSERT_TRUE(WriteProfileStringA(kMailSection, kMapiEntry, "0"));
  EXPECT_TRUE(IsMAPIAvailable());
  WriteProfileStringA(kMailSection, kMapiEntry, lstrcmpA(previous, kAbsent) == 0 ? NULL : previous);
}

}  // namespace
