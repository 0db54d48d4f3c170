// The program quillo.exe under Wine, as a user starts it: without its resource library, with a file that is no
// picture, with and without the splash screen, the location it records at its end, closed from the task list
// while its welcome pages are up, its folder copied alone into an empty folder, where it runs and a card
// package is built whose player shows the card, and a card with a picture and a sound from the command line
// sent by mail to the recording mail client, whose attachment then plays in the player.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "Attachments.h"
#include "CardBack.h"
#include "QuilloSettings.h"
#include "Splash.h"
#include "card_env.h"
#include "mail_record.h"
#include "package_fixture.h"
#include "player_ids.h"
#include "recorder_client.h"
#include "quillo/CardPackage.h"
#include "quillo/QuilloIds.h"

using namespace packagetest;

namespace {

const DWORD kWindowTimeoutMs = 20000;
const DWORD kExitTimeoutMs = 15000;
const char kProgram[] = "quillo.exe";
const char kProgramKey[] = "Software\\Nexlumen\\quillo";
const char kCardCaption[] = "Quillo Postcard";
const char kWelcomeCaption[] = "Welcome to Quillo";
// The environment variables of the run in the copied folder (FolderAlone.BuildsAPackageInItsOwnFolder).
const char kFolderRunVariable[] = "ORV_QUILLO_FOLDER_RUN";
const char kFolderPictureVariable[] = "ORV_QUILLO_FOLDER_PICTURE";

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

// A program started with its own command line, ended at the end of the test when it is still running.
class Launch {
 public:
  Launch(const std::string& program, const std::string& arguments, const std::string& folder = std::string()) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command = "\"" + program + "\" " + arguments;
    m_started = CreateProcessA(program.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL,
                               folder.empty() ? NULL : folder.c_str(), &startup, &m_process);
  }
  ~Launch() {
    if (!m_started) return;
    if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(m_process.hProcess, 99);
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
  }
  bool started() const { return m_started != FALSE; }
  DWORD ProcessId() const { return m_process.dwProcessId; }
  // A visible top-level window of the run with the class (and the title, when given).
  HWND Window(const char* cls, const char* title = nullptr) const {
    return FindProcessWindow(m_process.dwProcessId, cls, title);
  }
  HWND WaitWindow(const char* cls, const char* title = nullptr) const {
    HWND found = NULL;
    WaitFor([&] { return (found = Window(cls, title)) != NULL; }, kWindowTimeoutMs);
    return found;
  }
  long ExitCode() const {
    if (WaitForSingleObject(m_process.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_process.hProcess, &code);
    return long(code);
  }

 private:
  PROCESS_INFORMATION m_process = {};
  BOOL m_started = FALSE;
};

// The text of a message box (its static text control), then closes it with OK.
std::string TakeMessageBox(HWND box) {
  char text[1024] = "";
  const int kMessageBoxText = 0xFFFF;
  GetDlgItemTextA(box, kMessageBoxText, text, sizeof text);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  return text;
}

struct WindowSearch {
  DWORD pid;
  int id;
  HWND besides, found;
};

BOOL CALLBACK MatchMessageBox(HWND wnd, LPARAM param) {
  WindowSearch* s = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  char cls[16] = "";
  GetClassNameA(wnd, cls, sizeof cls);
  if (pid != s->pid || wnd == s->besides || !IsWindowVisible(wnd) || lstrcmpA(cls, "#32770") != 0 ||
      !GetDlgItem(wnd, 0xFFFF))
    return TRUE;
  s->found = wnd;
  return FALSE;
}

BOOL CALLBACK MatchChildId(HWND child, LPARAM param) {
  WindowSearch* s = reinterpret_cast<WindowSearch*>(param);
  if (GetDlgCtrlID(child) != s->id) return TRUE;
  s->found = child;
  return FALSE;
}

// A message box of the process (a dialog with the box's text control) other than besides, or null.
HWND MessageBoxOf(DWORD pid, HWND besides) {
  WindowSearch search = {pid, 0, besides, NULL};
  EnumWindows(MatchMessageBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The child control of window (at any depth) with the id, or null.
HWND ChildWithId(HWND window, int id) {
  WindowSearch search = {0, id, NULL, NULL};
  EnumChildWindows(window, MatchChildId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void SetProgramText(const char* section, const char* value, const char* text) {
  HKEY key;
  const std::string path = std::string(kProgramKey) + "\\" + section;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != 0) return;
  RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), DWORD(strlen(text) + 1));
  RegCloseKey(key);
}

void SetProgramValue(const char* section, const char* value, DWORD data) {
  HKEY key;
  const std::string path = std::string(kProgramKey) + "\\" + section;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != 0) return;
  RegSetValueExA(key, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
  RegCloseKey(key);
}

std::string ProgramValue(const char* section, const char* value) {
  char data[MAX_PATH] = "";
  DWORD size = sizeof data - 1;
  HKEY key;
  const std::string path = std::string(kProgramKey) + "\\" + section;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != 0) return "";
  const LONG result = RegQueryValueExA(key, value, NULL, NULL, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  return result == 0 ? data : "";
}

// ---- The program's imports ----

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) { return char(tolower(c)); });
  return text;
}

// The DLL names a PE file imports (by its import directory), lower case.
std::vector<std::string> Imports(const std::string& path) {
  const Bytes file = ReadBytes(path);
  std::vector<std::string> names;
  auto u16 = [&](size_t at) { return at + 2 <= file.size() ? uint32_t(file[at] | file[at + 1] << 8) : 0u; };
  auto u32 = [&](size_t at) { return at + 4 <= file.size() ? (u16(at) | u16(at + 2) << 16) : 0u; };
  const uint32_t pe = u32(0x3C);
  if (u32(pe) != 0x00004550) return names;
  const uint32_t sections = u16(pe + 6), optionalSize = u16(pe + 20);
  const size_t optional = pe + 24, table = optional + optionalSize;
  const uint32_t importRva = u32(optional + 104);  // data directory 1 of a 32-bit optional header
  auto offsetOf = [&](uint32_t rva) -> size_t {
    for (uint32_t i = 0; i < sections; ++i) {
      const size_t s = table + i * 40;
      const uint32_t va = u32(s + 12), size = std::max(u32(s + 8), u32(s + 16)), raw = u32(s + 20);
      if (rva >= va && rva < va + size) return raw + (rva - va);
    }
    return 0;
  };
  for (size_t entry = offsetOf(importRva); entry && u32(entry + 12); entry += 20) {
    const size_t name = offsetOf(u32(entry + 12));
    std::string text;
    for (size_t i = name; name && i < file.size() && file[i]; ++i) text += char(file[i]);
    names.push_back(Lower(text));
  }
  return names;
}

// The program and every DLL of the build folder it needs, by import, lower case.
std::set<std::string> BuildFolderClosure(const std::string& program) {
  std::set<std::string> closure;
  std::vector<std::string> pending = {Lower(program)};
  while (!pending.empty()) {
    const std::string name = pending.back();
    pending.pop_back();
    if (!Exists(ProgramDir() + name) || !closure.insert(name).second) continue;
    for (const std::string& imported : Imports(ProgramDir() + name)) pending.push_back(imported);
  }
  return closure;
}

const char* const kSuiteDeliverables[] = {"nxmedia.dll", "nxmisc.dll", "imagio.dll", "nxjpegcom.dll", "nxleadcom.dll",
                                          "nxmediares.dll", "nxmiscres.dll"};

// The postcard program's folder: the program, its resource library, the player and its support files, the
// welcome pages, and the DLLs it needs.
std::vector<std::string> ProgramFolderFiles() {
  std::vector<std::string> files = {quillo::kResourceLibrary, quillo::kPlayerStubName, quillo::kViewerFile1Name,
                                    quillo::kViewerFile2Name, "welcome1.bmp", "welcome2.bmp", "welcome3.bmp"};
  for (const std::string& name : BuildFolderClosure(kProgram)) files.push_back(name);
  return files;
}

class ProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv(kFolderRunVariable)) GTEST_SKIP() << "the run in the copied folder builds a package only";
    SetProgramValue(quillo::kSettingsSection, quillo::kWelcomeShownValue, 1);
  }
};

}  // namespace

TEST_F(ProgramTest, EndsWithTheFixedMessageWithoutItsResourceLibrary) {
  const std::string folder = FreshFolder("quillo_nores");
  for (const std::string& name : BuildFolderClosure(kProgram))
    ASSERT_TRUE(CopyFileA((ProgramDir() + name).c_str(), (folder + name).c_str(), FALSE)) << name;
  Launch run(folder + kProgram, "/NoSplash");
  ASSERT_TRUE(run.started());
  HWND box = run.WaitWindow("#32770");
  ASSERT_TRUE(box != NULL);
  EXPECT_EQ(quillo::kResourceLibraryMissing, TakeMessageBox(box));
  EXPECT_EQ(0, run.ExitCode());
  EXPECT_EQ(NULL, run.Window("#32770", kCardCaption));
}

TEST_F(ProgramTest, AFileThatIsNoPictureEndsTheProgramWithItsName) {
  const std::string notes = FreshFolder("quillo_notes") + "notes.txt";
  WriteBytes(notes, Bytes{'h', 'e', 'l', 'l', 'o'});
  Launch run(ProgramDir() + kProgram, "/NoSplash \"" + notes + "\"");
  HWND box = run.WaitWindow("#32770");
  ASSERT_TRUE(box != NULL);
  const std::string text = TakeMessageBox(box);
  EXPECT_NE(std::string::npos, text.find(notes)) << text;
  EXPECT_EQ(0, run.ExitCode());
}

TEST_F(ProgramTest, TheSplashAndTheLowerCaseSwitch) {
  const std::string photo = SampleMedia().front;
  {
    Launch run(ProgramDir() + kProgram, "\"" + photo + "\"");
    EXPECT_TRUE(run.WaitWindow(cSplashWnd::kClassName) != NULL);
    HWND card = run.WaitWindow("#32770", kCardCaption);
    ASSERT_TRUE(card != NULL);
    PostMessageA(card, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, run.ExitCode());
  }
  Launch run(ProgramDir() + kProgram, "/nosplash \"" + photo + "\"");
  HWND card = run.WaitWindow("#32770", kCardCaption);
  ASSERT_TRUE(card != NULL);
  // The splash would come with the card; a while later there is still none.
  EXPECT_FALSE(WaitFor([&] { return run.Window(cSplashWnd::kClassName) != NULL; }, 1500));
  PostMessageA(card, WM_CLOSE, 0, 0);
  EXPECT_EQ(0, run.ExitCode());
}

TEST_F(ProgramTest, RecordsWhereItIsAtItsEnd) {
  WritePrivateProfileStringA("quillo", quillo::kPathValue, NULL, quillo::kSharedProfileFile);
  Launch run(ProgramDir() + kProgram, "/NoSplash");
  HWND card = run.WaitWindow("#32770", kCardCaption);
  ASSERT_TRUE(card != NULL);
  // The profile lives under the program's name, and the card window is 640 x 433 plus a caption.
  RECT window;
  GetWindowRect(card, &window);
  EXPECT_EQ(640, window.right - window.left);
  EXPECT_EQ(433 + GetSystemMetrics(SM_CYCAPTION), window.bottom - window.top);
  PostMessageA(card, WM_CLOSE, 0, 0);
  EXPECT_EQ(0, run.ExitCode());
  char shortPath[MAX_PATH] = "";
  GetShortPathNameA((ProgramDir() + kProgram).c_str(), shortPath, MAX_PATH);
  EXPECT_EQ(Lower(shortPath), Lower(ProgramValue(quillo::kLocationSection, quillo::kPathValue)));
  char shared[MAX_PATH] = "";
  GetPrivateProfileStringA("quillo", quillo::kPathValue, "", shared, MAX_PATH, quillo::kSharedProfileFile);
  EXPECT_EQ(Lower(shortPath), Lower(shared));
}

// The system's task list tool closes a program as Windows closes it at logoff or from the task list: WM_CLOSE to
// each of its top-level windows, the hidden sound container's frame among them. Closed so while the welcome
// pages are up (their loop still runs when the other windows get their close), the program ends cleanly each
// time; a fault would end it with the fault's code, or not at all while the crash dialog waits.
TEST_F(ProgramTest, ClosedFromTheTaskListDuringTheWelcomeItEndsCleanly) {
  const int kRuns = 5;
  char system[MAX_PATH] = "";
  GetSystemDirectoryA(system, MAX_PATH);
  const std::string taskkill = std::string(system) + "\\taskkill.exe";
  for (int i = 0; i < kRuns; ++i) {
    SCOPED_TRACE(i);
    SetProgramValue(quillo::kSettingsSection, quillo::kWelcomeShownValue, 0);
    Launch run(ProgramDir() + kProgram, "/NoSplash");
    ASSERT_TRUE(run.WaitWindow("#32770", kWelcomeCaption) != NULL);
    EXPECT_TRUE(run.Window("#32770", kCardCaption) != NULL) << "the pages stand over the card";
    Launch close(taskkill, "/pid " + std::to_string(run.ProcessId()));
    ASSERT_TRUE(close.started());
    EXPECT_EQ(0, close.ExitCode());
    EXPECT_EQ(0, run.ExitCode());
  }
}

// ---------------------------------------------------------------------------------------------
// The program's folder alone.

TEST_F(ProgramTest, ItsFolderWorksAloneAndBuildsAPackageThePlayerShows) {
  const std::set<std::string> closure = BuildFolderClosure(kProgram);
  for (const char* deliverable : kSuiteDeliverables) EXPECT_EQ(0u, closure.count(deliverable)) << deliverable;
  // The tests' own program carries the same card code and needs nothing more than the program does.
  char self[MAX_PATH] = "";
  GetModuleFileNameA(NULL, self, MAX_PATH);
  const std::string selfName = std::string(self).substr(std::string(self).find_last_of('\\') + 1);
  const std::set<std::string> testClosure = BuildFolderClosure(selfName);
  for (const char* deliverable : kSuiteDeliverables) EXPECT_EQ(0u, testClosure.count(deliverable)) << deliverable;

  const std::string folder = FreshFolder("quillo_alone");
  for (const std::string& name : ProgramFolderFiles())
    ASSERT_TRUE(CopyFileA((ProgramDir() + name).c_str(), (folder + name).c_str(), FALSE)) << name;
  const std::string photo = folder + "photo.jpg";
  CopyFileA(SampleMedia().front.c_str(), photo.c_str(), FALSE);

  {
    Launch run(folder + kProgram, "/NoSplash \"" + photo + "\"", folder);
    HWND card = run.WaitWindow("#32770", kCardCaption);
    ASSERT_TRUE(card != NULL) << "the program did not start from its folder alone";
    SaveShot(card, "alone_card");
    PostMessageA(card, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, run.ExitCode());
  }

  // The same card code builds the package inside the folder (the tests' program, copied there, runs one test).
  const std::string tests = folder + selfName;
  ASSERT_TRUE(CopyFileA(self, tests.c_str(), FALSE));
  for (const std::string& name : testClosure)
    if (!Exists(folder + name)) CopyFileA((ProgramDir() + name).c_str(), (folder + name).c_str(), FALSE);
  SetEnvironmentVariableA(kFolderRunVariable, "1");
  SetEnvironmentVariableA(kFolderPictureVariable, photo.c_str());
  {
    Launch run(tests, "--gtest_filter=FolderRun.BuildsAPackageInItsOwnFolder", folder);
    EXPECT_EQ(0, run.ExitCode());
  }
  SetEnvironmentVariableA(kFolderRunVariable, NULL);
  SetEnvironmentVariableA(kFolderPictureVariable, NULL);
  const std::string package = folder + "card.exe";
  ASSERT_TRUE(Exists(package));
  const Parsed p = packagetest::Parse(package);
  EXPECT_EQ(3, p.U16(kKind));
  EXPECT_EQ(ReadBytes(folder + quillo::kPlayerStubName),
            Bytes(p.file.begin(), p.file.begin() + p.U32(kPicture)));  // the folder's own player

  Launch player(package, "");
  HWND shown = player.WaitWindow(NXPLAY_MAIN_CLASS);
  ASSERT_TRUE(shown != NULL);
  Sleep(800);
  SaveShot(shown, "alone_player");
  PostMessageA(shown, WM_CLOSE, 0, 0);
  EXPECT_EQ(0, player.ExitCode());
}

// Run by the test above inside the copied folder only: a card of the picture given becomes card.exe there.
TEST(FolderRun, BuildsAPackageInItsOwnFolder) {
  const char* picture = std::getenv(kFolderPictureVariable);
  if (!std::getenv(kFolderRunVariable) || !picture) GTEST_SKIP() << "runs in the copied program folder only";
  StartCardTests();
  theApp.WriteProfileInt(quillo::kSettingsSection, quillo::kWelcomeShownValue, 1);
  cScriptedCard card(picture, "", "");
  std::string package;
  card.Run({[&](cScriptedCard& c) {
    c.Flip();
    c.GetBack()->SetDlgItemText(IDC_CARD_MESSAGE, "Made in a folder of its own.");
    package = BuildPackageAttachment(c);
    return true;
  }});
  ASSERT_FALSE(package.empty());
  ASSERT_TRUE(MoveFileExA(package.c_str(), (ProgramDir() + "card.exe").c_str(), MOVEFILE_REPLACE_EXISTING |
                                                                               MOVEFILE_COPY_ALLOWED));
}

// ---------------------------------------------------------------------------------------------
// A card from the command line, sent by mail and played.

TEST_F(ProgramTest, ACardFromTheCommandLineGoesByMailAndPlaysInThePlayer) {
  StartCardTests();  // the resource library's texts, to compare with
  mailrecord::RecorderAsDefaultClient client;
  ASSERT_TRUE(client.ok());
  char previousSwitch[64] = "";
  GetProfileStringA("MAIL", "MAPI", "<absent>", previousSwitch, sizeof previousSwitch);
  WriteProfileStringA("MAIL", "MAPI", "1");
  const std::string folder = FreshFolder("quillo_mailed");
  const std::string attachments = FreshFolder("quillo_mailed_attachments");
  const std::string record = folder + "mail-record.txt";
  CopyFileA(SampleMedia().front.c_str(), (folder + "photo.jpg").c_str(), FALSE);
  CopyFileA(SampleMedia().sound.c_str(), (folder + "sound.wav").c_str(), FALSE);
  SetEnvironmentVariableA(mailrecord::kRecordPathVariable, record.c_str());
  SetEnvironmentVariableA(mailrecord::kAttachmentFolderVariable, attachments.c_str());
  SetEnvironmentVariableA(mailrecord::kHoldVariable, "2500");  // the progress window stays up meanwhile
  SetProgramText(quillo::kPreferencesSection, quillo::kSenderNameValue, "Anna Lind");
  SetProgramValue(quillo::kPreferencesSection, quillo::kDeliveryServiceValue, 0);
  SetProgramValue(quillo::kPreferencesSection, quillo::kDeliveryFormatValue, 0);
  SetProgramValue(quillo::kPreferencesSection, quillo::kPromptDeliveryFormatValue, 1);
  SetProgramValue(quillo::kPreferencesSection, quillo::kPromptVideoCompressionValue, 0);

  std::string sentText;
  {
    Launch run(ProgramDir() + kProgram, "photo.jpg /S sound.wav /NoSplash", folder);
    HWND card = run.WaitWindow("#32770", kCardCaption);
    ASSERT_TRUE(card != NULL);
    PostMessageA(card, WM_CARD_FLIP, 0, 0);
    HWND to = NULL;
    ASSERT_TRUE(WaitFor([&] { return (to = ChildWithId(card, IDC_CARD_TO)) != NULL && IsWindowVisible(to); },
                        kWindowTimeoutMs));
    SendMessageA(to, WM_SETTEXT, 0, LPARAM("Bob Smith; carol@example.org"));
    SendMessageA(ChildWithId(card, IDC_CARD_SUBJECT), WM_SETTEXT, 0, LPARAM("Greetings from the coast"));
    SendMessageA(ChildWithId(card, IDC_CARD_MESSAGE), WM_SETTEXT, 0,
                 LPARAM("Dear Bob,\r\n\r\nthe sea is warm and the evenings are long. Listen to the waves!\r\n\r\n"
                        "Love, Anna"));
    Sleep(300);
    SaveShot(card, "mailed_card_back");
    PostMessageA(card, WM_COMMAND, ID_CARD_SEND, 0);

    HWND confirm = run.WaitWindow("#32770", "Send the Card");
    ASSERT_TRUE(confirm != NULL);
    Sleep(300);
    SaveShot(confirm, "send_confirmation");
    PostMessageA(confirm, WM_COMMAND, IDOK, 0);
    HWND progress = run.WaitWindow("#32770", "Sending Your Card");
    ASSERT_TRUE(progress != NULL);
    Sleep(600);
    SaveShot(card, "send_progress_card");  // the progress window stands over the card
    SaveShot(progress, "send_progress");
    HWND box = NULL;
    ASSERT_TRUE(WaitFor([&] { return (box = MessageBoxOf(run.ProcessId(), card)) != NULL; }, kWindowTimeoutMs));
    sentText = TakeMessageBox(box);
    PostMessageA(card, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, run.ExitCode());
  }
  for (const char* name : {mailrecord::kRecordPathVariable, mailrecord::kAttachmentFolderVariable,
                           mailrecord::kHoldVariable})
    SetEnvironmentVariableA(name, NULL);
  WriteProfileStringA("MAIL", "MAPI", lstrcmpA(previousSwitch, "<absent>") == 0 ? NULL : previousSwitch);
  CString sent;
  sent.LoadString(IDS_CARD_SENT);
  EXPECT_EQ(LPCSTR(sent), sentText);

  const auto mails = mailrecord::CallsOf(mailrecord::ReadRecord(record), "MAPISendMail");
  ASSERT_EQ(1u, mails.size());
  EXPECT_EQ("Greetings from the coast", mails[0].Text(mailrecord::kSubject).value_or(""));
  EXPECT_EQ((std::vector<std::string>{"SMTP:Bob Smith", "SMTP:carol@example.org"}),
            mails[0].All(mailrecord::kRecipientAddress));
  const std::string package = attachments + mails[0].Text(mailrecord::kFileName).value_or("");
  const Parsed p = packagetest::Parse(package);
  EXPECT_EQ(3, p.U16(kKind));
  EXPECT_EQ(p.SumOfParts(), p.U8(kChecksum));
  EXPECT_EQ(ReadBytes(folder + "sound.wav"), p.Part(kSound));
  EXPECT_EQ("Anna Lind", p.Text(kSender, 255));
  EXPECT_EQ("Bob Smith; carol@example.org", p.Text(kRecipients, 255));

  // The attachment, run as the recipient runs it.
  Launch player(package, "", attachments);
  HWND shown = player.WaitWindow(NXPLAY_MAIN_CLASS);
  ASSERT_TRUE(shown != NULL);
  Sleep(800);
  SaveShot(shown, "mailed_card_player_front");
  HWND face = FindWindowExA(shown, NULL, NXPLAY_FACE_CLASS, NULL);
  ASSERT_TRUE(face != NULL);
  PostMessageA(face, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 200));
  PostMessageA(face, WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
  Sleep(1500);
  SaveShot(shown, "mailed_card_player_back");
  PostMessageA(shown, WM_CLOSE, 0, 0);
  EXPECT_EQ(NXPLAY_EXIT_SHOWN, player.ExitCode());
}
