// The card's sound under Wine: the default recording format kept and put back byte for byte, a sound file
// loaded from the command line (read-only on disk, writable in the card), the hidden container closed by its
// editor only, recording not offered without the sound recorder object, and recording through the recorder's
// test double registered under its class id.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "CardBack.h"
#include "CardFront.h"
#include "QuilloSettings.h"
#include "SoundEditor.h"
#include "card_env.h"
#include "package_fixture.h"
#include "quillo/QuilloIds.h"
#include "soundrec_double.h"

using namespace packagetest;

namespace {

const char kAudioKey[] = "Software\\Microsoft\\Multimedia\\Audio";
const char kDefaultFormat[] = "DefaultFormat";
const char kSystemFormats[] = "SystemFormats";

// A registry value as it is stored: its type and bytes; nullopt when absent.
struct RawValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
  bool operator==(const RawValue& other) const { return type == other.type && bytes == other.bytes; }
};

std::optional<RawValue> ReadRaw(const char* name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kAudioKey, 0, KEY_READ, &key) != 0) return std::nullopt;
  RawValue value;
  DWORD size = 0;
  std::optional<RawValue> result;
  if (RegQueryValueExA(key, name, NULL, &value.type, NULL, &size) == 0) {
    value.bytes.resize(size);
    if (RegQueryValueExA(key, name, NULL, &value.type, value.bytes.data(), &size) == 0) result = value;
  }
  RegCloseKey(key);
  return result;
}

void WriteRaw(const char* name, const std::optional<RawValue>& value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kAudioKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != 0) return;
  if (value)
    RegSetValueExA(key, name, 0, value->type, value->bytes.data(), DWORD(value->bytes.size()));
  else
    RegDeleteValueA(key, name);
  RegCloseKey(key);
}

RawValue Text(const char* text) {
  RawValue value;
  value.type = REG_SZ;
  value.bytes.assign(text, text + strlen(text) + 1);
  return value;
}

// Keeps the user's recording settings of the prefix and puts them back afterwards.
class AudioSettings : public testing::Test {
 protected:
  void SetUp() override {
    StartCardTests();
    theApp.m_boxes.clear();
    theApp.WriteProfileInt(quillo::kSettingsSection, quillo::kWelcomeShownValue, 1);
    m_default = ReadRaw(kDefaultFormat);
    m_system = ReadRaw(kSystemFormats);
  }
  void TearDown() override {
    WriteRaw(kDefaultFormat, m_default);
    WriteRaw(kSystemFormats, m_system);
  }
  std::optional<RawValue> m_default, m_system;
};

}  // namespace

TEST_F(AudioSettings, TheDefaultFormatComesBackExactlyAsItWas) {
  RawValue binary;
  binary.type = REG_BINARY;
  binary.bytes = {1, 0, 2, 0, 0x11, 0x2B, 0, 0};
  struct Case {
    const char* what;
    std::optional<RawValue> before;
  };
  const Case cases[] = {{"text", Text("CD Quality")}, {"binary", binary}, {"absent", std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteRaw(kDefaultFormat, c.before);
    WriteRaw(kSystemFormats, Text("CD Quality,Radio Quality,Telephone Quality"));
    cSoundEditor editor;
    editor.SaveDefaultFormat();
    editor.UseSmallFormat();
    EXPECT_TRUE(ReadRaw(kDefaultFormat) == std::optional<RawValue>(Text("Telephone Quality")));
    editor.SaveDefaultFormat();  // a second save keeps the user's format, not the small one
    editor.RestoreDefaultFormat();
    EXPECT_TRUE(ReadRaw(kDefaultFormat) == c.before);
    editor.RestoreDefaultFormat();  // nothing kept aside any more: nothing changes
    EXPECT_TRUE(ReadRaw(kDefaultFormat) == c.before);
  }
}

TEST_F(AudioSettings, SystemFormatsWithoutACommaLeaveTheDefaultFormat) {
  WriteRaw(kDefaultFormat, Text("CD Quality"));
  for (const char* formats : {"Radio Quality", ""}) {
    WriteRaw(kSystemFormats, Text(formats));
    cSoundEditor editor;
    editor.SaveDefaultFormat();
    editor.UseSmallFormat();
    EXPECT_TRUE(ReadRaw(kDefaultFormat) == std::optional<RawValue>(Text("CD Quality"))) << formats;
    editor.RestoreDefaultFormat();
  }
}

TEST_F(AudioSettings, AReadOnlySoundBecomesTheCardsWritableSound) {
  const std::string folder = FreshFolder("quillo_sound");
  const std::string sound = folder + "hello.wav";
  CopyFileA(SampleMedia().sound.c_str(), sound.c_str(), FALSE);
  ASSERT_TRUE(SetFileAttributesA(sound.c_str(), FILE_ATTRIBUTE_READONLY));
  cScriptedCard card(SampleMedia().front.c_str(), "", sound.c_str());
  CString wav, status;
  DWORD attributes = 0;
  Bytes bytes;
  LONG length = 0;
  BOOL hasSound = FALSE;
  card.Run({[&](cScriptedCard& c) { return !c.GetFront()->GetStatus().IsEmpty(); },  // the sound's arrival
            [&](cScriptedCard& c) {
              hasSound = c.HasSound();
              wav = c.GetSoundFile();
              attributes = GetFileAttributesA(wav);
              bytes = ReadBytes(LPCSTR(wav));
              length = c.GetSoundEditor().SoundLength();
              status = c.GetFront()->GetStatus();
              return true;
            }});
  ASSERT_FALSE(card.TimedOut());
  EXPECT_TRUE(hasSound);
  EXPECT_EQ(0u, attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ReadBytes(sound), bytes);
  EXPECT_EQ(2000, length);  // the sample sweep lasts two seconds
  CString expected;
  AfxFormatString1(expected, IDS_SOUND_LENGTH, "2.0");
  EXPECT_STREQ(expected, status);
  // The card's sound is its own file in the temporary folder, gone when the card closes.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string name = LPCSTR(wav.Mid(wav.ReverseFind('\\') + 1));
  EXPECT_EQ(0, lstrcmpiA(temp, LPCSTR(wav.Left(wav.ReverseFind('\\') + 1))));
  EXPECT_EQ(0u, name.find("snd"));
  EXPECT_EQ(".wav", name.substr(name.size() - 4));
  EXPECT_FALSE(Exists(LPCSTR(wav)));
  SetFileAttributesA(sound.c_str(), FILE_ATTRIBUTE_NORMAL);
}

namespace {

BOOL CALLBACK MatchSoundFrame(HWND wnd, LPARAM found) {
  if (!dynamic_cast<cSoundFrame*>(CWnd::FromHandlePermanent(wnd))) return TRUE;
  *reinterpret_cast<HWND*>(found) = wnd;
  return FALSE;
}

}  // namespace

// The hidden container stays when asked from outside to close (as a task list asks every window of the
// program), and when its frame is destroyed all the same, the editor lets go of the document that went with it.
TEST_F(AudioSettings, TheHiddenContainerIsClosedByItsEditorOnly) {
  cSoundEditor editor;
  ASSERT_TRUE(editor.Initialise(NULL));
  HWND frame = NULL;
  EnumThreadWindows(GetCurrentThreadId(), MatchSoundFrame, reinterpret_cast<LPARAM>(&frame));
  ASSERT_TRUE(frame != NULL);
  SendMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(frame));
  const std::string wav = LPCSTR(editor.GetWavPath());
  ::DestroyWindow(frame);  // its view goes, and with the last view the document
  editor.Shutdown();
  EXPECT_FALSE(Exists(wav));
}

namespace {

// Registers the sound recorder's test double under the recorder's class id while it lives.
class RecorderDouble {
 public:
  RecorderDouble() {
    HKEY key, server;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, soundrecdouble::kClassKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL))
      return;
    const std::string program = ProgramDir() + soundrecdouble::kProgramName;
    if (RegCreateKeyExA(key, "LocalServer32", 0, NULL, 0, KEY_SET_VALUE, NULL, &server, NULL) == 0) {
      RegSetValueExA(server, NULL, 0, REG_SZ, reinterpret_cast<const BYTE*>(program.c_str()), DWORD(program.size() + 1));
      RegCloseKey(server);
    }
    const char handler[] = "ole32.dll";
    if (RegCreateKeyExA(key, "InprocHandler32", 0, NULL, 0, KEY_SET_VALUE, NULL, &server, NULL) == 0) {
      RegSetValueExA(server, NULL, 0, REG_SZ, reinterpret_cast<const BYTE*>(handler), sizeof handler);
      RegCloseKey(server);
    }
    RegCloseKey(key);
  }
  ~RecorderDouble() { Unregister(); }
  static void Unregister() {
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(soundrecdouble::kClassKey) + "\\LocalServer32").c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(soundrecdouble::kClassKey) + "\\InprocHandler32").c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, soundrecdouble::kClassKey);
  }
};

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::string line;
  for (uint8_t c : ReadBytes(path)) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += char(c);
    }
  }
  return lines;
}

}  // namespace

TEST_F(AudioSettings, RecordingIsNotOfferedWithoutTheSoundRecorder) {
  RecorderDouble::Unregister();
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  BOOL offered = TRUE, button = TRUE, canRecord = FALSE;
  card.Run({[&](cScriptedCard& c) {
    c.Flip();
    return true;
  },
            Pause(100), [&](cScriptedCard& c) {
              offered = c.GetSoundEditor().IsRecordingOffered();
              canRecord = c.GetSoundEditor().CanRecord();
              button = c.GetBack()->GetButton(ID_CARD_RECORD_SOUND)->IsWindowEnabled();
              EXPECT_FALSE(c.GetSoundEditor().Record());
              return true;
            }});
  EXPECT_FALSE(offered);
  EXPECT_FALSE(button);
  EXPECT_EQ(waveInGetNumDevs() > 0, canRecord);
  std::printf("wave input devices here: %u, output devices: %u\n", waveInGetNumDevs(), waveOutGetNumDevs());
}

TEST_F(AudioSettings, RecordingThroughTheSoundRecorderObject) {
  if (waveInGetNumDevs() == 0) GTEST_SKIP() << "no wave input device here: recording is not offered";
  RecorderDouble registration;
  const std::string log = FreshFolder("quillo_soundrec") + "recorder.log";
  SetEnvironmentVariableA(soundrecdouble::kLogVariable, log.c_str());
  WriteRaw(kDefaultFormat, Text("CD Quality"));
  WriteRaw(kSystemFormats, Text("CD Quality,Radio Quality,Telephone Quality"));
  cScriptedCard card(SampleMedia().front.c_str(), "", "");
  BOOL started = FALSE, buttonBefore = FALSE, recordingWhileOpen = FALSE, playAfter = FALSE;
  Bytes recorded;
  HWND recorder = NULL;
  card.Run({[&](cScriptedCard& c) {
              c.Flip();
              return true;
            },
            Pause(100),
            [&](cScriptedCard& c) {
              buttonBefore = c.GetBack()->GetButton(ID_CARD_RECORD_SOUND)->IsWindowEnabled();
              started = c.GetSoundEditor().Record();
              return true;
            },
            [&](cScriptedCard& c) {
              recorder = FindWindowA(soundrecdouble::kWindowClass, NULL);
              if (!recorder || !IsWindowVisible(recorder)) return false;
              recordingWhileOpen = c.GetSoundEditor().IsRecording();
              SaveShot(recorder, "sound_recorder_double");
              PostMessageA(recorder, WM_CLOSE, 0, 0);  // the user is done
              return true;
            },
            [&](cScriptedCard& c) { return c.HasSound() == TRUE; },
            Pause(200),
            [&](cScriptedCard& c) {
              recorded = ReadBytes(LPCSTR(c.GetSoundFile()));
              playAfter = c.GetBack()->GetButton(ID_CARD_PLAY_SOUND)->IsWindowEnabled();
              return true;
            }},
           30000);
  SetEnvironmentVariableA(soundrecdouble::kLogVariable, NULL);
  ASSERT_FALSE(card.TimedOut());
  EXPECT_TRUE(buttonBefore);
  EXPECT_TRUE(started);
  EXPECT_TRUE(recordingWhileOpen);
  EXPECT_TRUE(theApp.m_boxes.empty()) << theApp.m_boxes.front();
  ASSERT_EQ(44u + soundrecdouble::kSamples, recorded.size());
  EXPECT_EQ(Bytes({'R', 'I', 'F', 'F'}), Bytes(recorded.begin(), recorded.begin() + 4));
  EXPECT_EQ(waveOutGetNumDevs() > 0, playAfter);
  const std::vector<std::string> lines = ReadLines(log);
  auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(has("hostapp=Quillo"));
  EXPECT_TRUE(has("verb=" + std::to_string(OLEIVERB_OPEN)));
  EXPECT_TRUE(has("defaultformat=Telephone Quality"));  // the smallest format while recording
  EXPECT_TRUE(ReadRaw(kDefaultFormat) == std::optional<RawValue>(Text("CD Quality")));  // and the user's after
}
