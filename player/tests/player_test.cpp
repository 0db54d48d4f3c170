// The player program under Wine, started on packages that the package writer builds from generated media:
// it shows the front, turns to the back on a click, plays the video and the sound, and reports damaged cards
// in a message box that the test reads and closes. Each scene is saved as a JPEG under ORV_PLAYER_SHOTS.
#include <gtest/gtest.h>

#include <windows.h>
#include <vfw.h>

#include <cstdlib>
#include <cstring>
#include <functional>

#include "ijl/ijl.h"
#include "package_fixture.h"
#include "picture.h"
#include "player_ids.h"
#include "quillo/CardPackage.h"

using namespace packagetest;

namespace {

const DWORD kWindowTimeoutMs = 15000;
const DWORD kExitTimeoutMs = 10000;
const char kMessage[] = "Dear Bob, the sea is warm and the evenings are long. We walk to the harbour every morning.";

// Polls until done() holds or the time is up.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(30);
  }
  return true;
}

std::string Text(HWND wnd) {
  char text[512] = "";
  GetWindowTextA(wnd, text, sizeof text);
  return text;
}

// A string of the player's own table, read from its file as data.
std::string PlayerText(UINT id) {
  HMODULE player = LoadLibraryExA((ProgramDir() + "NXPLAY.BIN").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
  char text[512] = "";
  LoadStringA(player, id, text, sizeof text);
  FreeLibrary(player);
  return text;
}

struct Found {
  DWORD process;
  const char* cls;
  HWND wnd;
};
BOOL CALLBACK FindProcessWindow(HWND wnd, LPARAM param) {
  Found* f = reinterpret_cast<Found*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  char cls[64];
  GetClassNameA(wnd, cls, sizeof cls);
  if (pid == f->process && lstrcmpA(cls, f->cls) == 0 && IsWindowVisible(wnd)) {
    f->wnd = wnd;
    return FALSE;
  }
  return TRUE;
}

// The 24-bit pixels of a screen rectangle, top-down, as the display shows them.
struct Shot {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  const uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
  // Mean red, green, blue over a rectangle of the shot.
  void Mean(const RECT& r, double out[3]) const {
    double sum[3] = {0, 0, 0};
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        for (int c = 0; c < 3; ++c) sum[c] += At(x, y)[c];
    const double n = double(r.right - r.left) * (r.bottom - r.top);
    for (int c = 0; c < 3; ++c) out[c] = sum[c] / n;
  }
  int CountDark(const RECT& r, int below) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (At(x, y)[0] + At(x, y)[1] + At(x, y)[2] < 3 * below) ++n;
    return n;
  }
};

Shot Capture(const RECT& r) {
  Shot s;
  s.width = r.right - r.left;
  s.height = r.bottom - r.top;
  HDC screen = GetDC(NULL);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = s.width;
  info.bmiHeader.biHeight = -s.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = NULL;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, s.width, s.height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  s.rgb.resize(size_t(s.width) * s.height * 3);
  const uint8_t* p = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; i < size_t(s.width) * s.height; ++i) {
    s.rgb[i * 3] = p[i * 4 + 2];
    s.rgb[i * 3 + 1] = p[i * 4 + 1];
    s.rgb[i * 3 + 2] = p[i * 4];
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(NULL, screen);
  return s;
}

// Saves the shot for a person to look at, when the run names a folder for it.
void Keep(const Shot& s, const char* name) {
  const char* dir = std::getenv("ORV_PLAYER_SHOTS");
  if (!dir) return;
  const std::string folder = dir[0] == '/' ? std::string("Z:") + dir : std::string(dir);
  CreateDirectoryA(folder.c_str(), NULL);
  ijl::Image image;
  image.width = s.width;
  image.height = s.height;
  image.channels = 3;
  image.pixels = s.rgb;
  std::vector<uint8_t> jpeg;
  if (ijl::succeeded(ijl::encodeImage(image, 90, &jpeg))) WriteBytes(folder + "/" + name + ".jpg", jpeg);
}

// A child window of the class, once the program has made it.
HWND WaitChild(HWND parent, const char* cls) {
  HWND child = NULL;
  WaitFor([&] { return (child = FindWindowExA(parent, NULL, cls, NULL)) != NULL; }, kWindowTimeoutMs);
  return child;
}

RECT ScreenRect(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  return r;
}

// One run of a package as a program.
class Player {
 public:
  explicit Player(const std::string& package) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string command = "\"" + package + "\"";
    started_ = CreateProcessA(package.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process_);
  }
  ~Player() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  bool started() const { return started_ != FALSE; }
  HWND WaitWindow(const char* cls) {
    Found f = {process_.dwProcessId, cls, NULL};
    WaitFor([&] {
      EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&f));
      return f.wnd != NULL;
    }, kWindowTimeoutMs);
    return f.wnd;
  }
  // The exit code once the program has ended, or -1 when it does not end in time.
  long ExitCode() {
    if (WaitForSingleObject(process_.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return long(code);
  }

 private:
  PROCESS_INFORMATION process_ = {};
  BOOL started_ = FALSE;
};

// Wine's RLE decompressor claims uncompressed frames, so Wine's MCIAVI hands it the clips' frames and shows
// garbage; with it switched off for one program (Wine's per-program settings) MCIAVI draws them itself, as it
// does on Windows.
class NoRleDecompressor {
 public:
  explicit NoRleDecompressor(const std::string& program) {
    key_ = "Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides";
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) == 0) {
      RegSetValueExA(key, "msrle32", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
      RegCloseKey(key);
    }
  }
  ~NoRleDecompressor() { RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }

 private:
  std::string key_;
};

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SampleMedia();
    folder = FreshFolder("nxplay_tests");
  }
  std::string Build(const char* name, LPCSTR picture, LPCSTR video, LPCSTR sound, int kind, int compress = 0,
                    int viewerFiles = 1) {
    const std::string out = folder + name + ".exe";
    EXPECT_EQ(1, WriteCardPackage(picture, video, sound, kind, "Holiday by the sea", kMessage, "Ann Example",
                                  "Bob Example; Carla Example", out.c_str(), NULL, PastStamp(), compress,
                                  viewerFiles, 0,
                                  "Our holiday pictures", "www.example.org/holiday"));
    return out;
  }
  std::string folder;
};

TEST_F(PlayerTest, PictureCardShowsItsFrontAndTurnsToItsBack) {
  const Media& m = SampleMedia();
  Player player(Build("picture", m.front.c_str(), NULL, NULL, 3));
  ASSERT_TRUE(player.started());
  HWND main = player.WaitWindow(NXPLAY_MAIN_CLASS);
  ASSERT_TRUE(main != NULL);
  EXPECT_EQ("Postcard from Ann Example", Text(main));
  HWND face = FindWindowExA(main, NULL, NXPLAY_FACE_CLASS, NULL);
  ASSERT_TRUE(face != NULL);
  EXPECT_EQ(PlayerText(IDS_NXPLAY_FACE_FRONT), Text(face));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(main, IDC_NXPLAY_VIDEO))) << "no video on this card";
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(main, IDC_NXPLAY_SOUND))) << "no sound on this card";
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(main, IDC_NXPLAY_LINK)));
  EXPECT_EQ("Our holiday pictures", Text(GetDlgItem(main, IDC_NXPLAY_LINK)));
  Sleep(300);
  Keep(Capture(ScreenRect(main)), "picture_front");

  // The front shows the picture fitted into the card: its colours are the picture's.
  const RECT faceRect = ScreenRect(face);
  const Shot front = Capture(faceRect);
  Bytes jpeg = ReadBytes(m.front);
  ijl::Image source;
  ASSERT_TRUE(ijl::succeeded(ijl::decodeToImage(jpeg.data(), jpeg.size(), ijl::kReadWhole, 3, &source)));
  double want[3] = {0, 0, 0};
  for (size_t i = 0; i < source.pixels.size(); ++i) want[i % 3] += source.pixels[i];
  const SIZE fitted = {540, 405};  // 320 x 240 inside the card's 612 x 405 picture area
  const RECT inCard = {(640 - fitted.cx) / 2, (433 - fitted.cy) / 2, (640 + fitted.cx) / 2, (433 + fitted.cy) / 2};
  double got[3];
  front.Mean(inCard, got);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(want[c] / (source.pixels.size() / 3), got[c], 8.0) << "channel " << c;
  double margin[3];
  front.Mean(RECT{8, 100, 40, 300}, margin);
  EXPECT_GT(margin[0], 235) << "cream card around the picture";

  // A click on the card turns it over.
  PostMessageA(face, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 200));
  PostMessageA(face, WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
  ASSERT_TRUE(WaitFor([&] { return Text(face) == PlayerText(IDS_NXPLAY_FACE_BACK); }, 5000));
  Sleep(200);
  Keep(Capture(ScreenRect(main)), "picture_back");
  const Shot back = Capture(faceRect);
  double paper[3];
  back.Mean(RECT{30, 300, 360, 420}, paper);
  EXPECT_GT(paper[0], 225) << "the back is paper, not the picture";
  EXPECT_GT(back.CountDark(RECT{26, 52, 350, 200}, 120), 300) << "the message is written on the back";
  EXPECT_GT(back.CountDark(RECT{394, 150, 614, 400}, 120), 200) << "the addresses are written on the back";
  EXPECT_EQ(PlayerText(IDS_NXPLAY_HINT_BACK), Text(GetDlgItem(main, IDC_NXPLAY_STATUS)));

  // And back again; then Close ends the program normally.
  PostMessageA(GetDlgItem(main, IDC_NXPLAY_TURN), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return Text(face) == PlayerText(IDS_NXPLAY_FACE_FRONT); }, 5000));
  PostMessageA(GetDlgItem(main, IDC_NXPLAY_CLOSE), BM_CLICK, 0, 0);
  EXPECT_EQ(NXPLAY_EXIT_SHOWN, player.ExitCode());
}

std::vector<std::string> VideoCopies() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::vector<std::string> copies;
  for (const std::string& name : List(temp))
    if (name.compare(0, 3, "NXP") == 0) copies.push_back(name);
  return copies;
}

TEST_F(PlayerTest, VideoCardPlaysItsVideoAndItsSound) {
  const Media& m = SampleMedia();
  const std::vector<std::string> copiesBefore = VideoCopies();
  const std::string package = Build("video", m.front.c_str(), m.clip.c_str(), m.sound.c_str(), 2);
  NoRleDecompressor noRle("video.exe");
  Player player(package);
  HWND main = player.WaitWindow(NXPLAY_MAIN_CLASS);
  ASSERT_TRUE(main != NULL);
  HWND face = FindWindowExA(main, NULL, NXPLAY_FACE_CLASS, NULL);
  HWND video = WaitChild(face, "MCIWndClass");
  ASSERT_TRUE(video != NULL) << "the system's video window";
  HWND videoButton = GetDlgItem(main, IDC_NXPLAY_VIDEO), soundButton = GetDlgItem(main, IDC_NXPLAY_SOUND);
  EXPECT_TRUE(IsWindowVisible(soundButton));

  // The video starts by itself, over the front, and its position moves on.
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(video) && SendMessageA(video, MCIWNDM_GETPOSITION, 0, 0) > 0; },
                      5000));
  const LONG first = LONG(SendMessageA(video, MCIWNDM_GETPOSITION, 0, 0));
  Sleep(700);
  Keep(Capture(ScreenRect(main)), "video_playing");
  EXPECT_GT(LONG(SendMessageA(video, MCIWNDM_GETPOSITION, 0, 0)), first);
  EXPECT_EQ(PlayerText(IDS_NXPLAY_STOP_VIDEO), Text(videoButton));
  EXPECT_EQ(PlayerText(IDS_NXPLAY_VIDEO_PLAYING), Text(GetDlgItem(main, IDC_NXPLAY_STATUS)));
  const RECT v = ScreenRect(video);
  EXPECT_EQ(540, v.right - v.left) << "the video takes the still frame's place";

  // The sound stops the video and plays to its end.
  PostMessageA(soundButton, BM_CLICK, 0, 0);
  HWND status = GetDlgItem(main, IDC_NXPLAY_STATUS);
  ASSERT_TRUE(WaitFor([&] { return Text(status) == PlayerText(IDS_NXPLAY_SOUND_PLAYING); }, 5000));
  EXPECT_EQ(PlayerText(IDS_NXPLAY_STOP_SOUND), Text(soundButton));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(video); }, 3000)) << "the still frame is back";
  EXPECT_EQ(PlayerText(IDS_NXPLAY_PLAY_VIDEO), Text(videoButton));
  ASSERT_TRUE(WaitFor([&] { return Text(status) != PlayerText(IDS_NXPLAY_SOUND_PLAYING); }, 10000));
  EXPECT_EQ(PlayerText(IDS_NXPLAY_SOUND_PLAYED), Text(status));
  EXPECT_EQ(PlayerText(IDS_NXPLAY_PLAY_SOUND), Text(soundButton));

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(NXPLAY_EXIT_SHOWN, player.ExitCode());
  EXPECT_EQ(copiesBefore, VideoCopies()) << "the video's temporary copy is deleted at exit";
}

// A video card without a front picture shows the video itself on its front, before, while and after playing.
TEST_F(PlayerTest, VideoOnlyCardShowsItsVideoOnTheFront) {
  const std::string package =
      Build("videoonly", (folder + "no picture.jpg").c_str(), SampleMedia().clip.c_str(), NULL, 1);
  NoRleDecompressor noRle("videoonly.exe");
  Player player(package);
  HWND main = player.WaitWindow(NXPLAY_MAIN_CLASS);
  ASSERT_TRUE(main != NULL);
  HWND face = FindWindowExA(main, NULL, NXPLAY_FACE_CLASS, NULL);
  HWND video = WaitChild(face, "MCIWndClass");
  ASSERT_TRUE(video != NULL);
  // Shown at the 160 x 120 clip fitted to the card's picture area.
  EXPECT_TRUE(WaitFor([&] {
    const RECT v = ScreenRect(video);
    return IsWindowVisible(video) && v.bottom - v.top == 405 && v.right - v.left == 540;
  }, 3000));
  HWND status = GetDlgItem(main, IDC_NXPLAY_STATUS);
  ASSERT_TRUE(WaitFor([&] { return Text(status) == PlayerText(IDS_NXPLAY_VIDEO_PLAYING); }, 5000));
  ASSERT_TRUE(WaitFor([&] { return Text(status) == PlayerText(IDS_NXPLAY_HINT_FRONT); }, 8000)) << "the clip ends";
  EXPECT_TRUE(IsWindowVisible(video)) << "its last frame stays on the front";
  Keep(Capture(ScreenRect(main)), "video_only_front");
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(NXPLAY_EXIT_SHOWN, player.ExitCode());
}

// Parts that could not be read when the card was built, and no viewer support files: the player draws its own
// desk and stamp and shows the rest.
TEST_F(PlayerTest, CardWithUnreadablePartsShowsWhatItHolds) {
  const std::string missing = folder + "gone.jpg";
  Player player(Build("parts", missing.c_str(), NULL, (folder + "gone.wav").c_str(), 3, 0, 0));
  HWND main = player.WaitWindow(NXPLAY_MAIN_CLASS);
  ASSERT_TRUE(main != NULL);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(main, IDC_NXPLAY_SOUND)));
  HWND face = FindWindowExA(main, NULL, NXPLAY_FACE_CLASS, NULL);
  Sleep(300);
  Keep(Capture(ScreenRect(main)), "no_picture_front");
  const Shot front = Capture(ScreenRect(face));
  EXPECT_GT(front.CountDark(RECT{100, 180, 540, 250}, 200), 50) << "a note stands where the picture would be";
  PostMessageA(face, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageA(face, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_TRUE(WaitFor([&] { return Text(face) == PlayerText(IDS_NXPLAY_FACE_BACK); }, 5000));
  Sleep(200);
  Keep(Capture(ScreenRect(main)), "no_support_files_back");
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(NXPLAY_EXIT_SHOWN, player.ExitCode());
}

void PokeTrailer32(Bytes* file, size_t field, uint32_t value) {
  uint8_t* p = file->data() + file->size() - kTrailer + field;
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(value >> (8 * i));
}

TEST_F(PlayerTest, DamagedCardsAreReportedAndTheProgramEnds) {
  const Media& m = SampleMedia();
  const Bytes good = ReadBytes(Build("good", m.front.c_str(), NULL, m.sound.c_str(), 3));
  const uint32_t pictureAt = Parse(folder + "good.exe").U32(kPicture);
  Bytes flipped = good;
  flipped[pictureAt + 700] ^= 0x04;
  Bytes outside = good;
  PokeTrailer32(&outside, kSound + 4, 50000000);
  const Bytes player = ReadBytes(ProgramDir() + "NXPLAY.BIN");
  const Bytes compressed = ReadBytes(Build("compressed", m.front.c_str(), NULL, NULL, 3, 1));
  struct Case {
    const char* name;
    Bytes bytes;
    UINT text;
    long exitCode;
  } cases[] = {
      {"flipped", flipped, IDS_NXPLAY_DAMAGED_CHECKSUM, NXPLAY_EXIT_DAMAGED},
      {"truncated", Bytes(good.begin(), good.end() - 5000), IDS_NXPLAY_DAMAGED_INCOMPLETE, NXPLAY_EXIT_DAMAGED},
      {"outside", outside, IDS_NXPLAY_DAMAGED_LAYOUT, NXPLAY_EXIT_DAMAGED},
      {"bare", player, IDS_NXPLAY_NO_CARD, NXPLAY_EXIT_NO_CARD},
      {"packed", compressed, IDS_NXPLAY_COMPRESSED, NXPLAY_EXIT_COMPRESSED},
  };
  for (const Case& c : cases) {
    const std::string path = folder + c.name + "-card.exe";
    WriteBytes(path, c.bytes);
    Player run(path);
    HWND box = run.WaitWindow("#32770");
    ASSERT_TRUE(box != NULL) << c.name;
    char text[1024] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    EXPECT_EQ(PlayerText(c.text), text) << c.name;
    EXPECT_EQ(PlayerText(IDS_NXPLAY_CAPTION), Text(box)) << c.name;
    if (c.text == IDS_NXPLAY_DAMAGED_CHECKSUM) Keep(Capture(ScreenRect(box)), "damaged_box");
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(c.exitCode, run.ExitCode()) << c.name;
  }
}

}  // namespace
