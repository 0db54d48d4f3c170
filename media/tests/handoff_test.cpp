// Tests of the hand-offs of a picture: the postcard program (which program the registry names, this build's own
// when it names none, and the message box when it cannot be started, driven by a timer with a watchdog) and the
// thumbnail page that
// UpdateTiffThumbnail adds to a TIFF file written through the LEAD module.
#include <windows.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>
#include <media/NXMedia.h>
#include <media/NXMediaIds.h>
#include <MessageBox.h>
#include <cstdlib>
#include <string>
#include "test_media.h"

namespace {

// ---------------------------------------------------------------------------------------------
// Postcard

// Reads the text a message box draws (it is painted, not held by a control).
struct BoxText : cMessageBox {
  static CString Of(cMessageBox* box) { return box->*(&BoxText::m_strText); }
};

struct SeenBox {
  bool seen = false;
  std::string text;
};
SeenBox* g_seen = NULL;
const UINT kBoxOkId = 1002;          // the OK button of the system's message box
const UINT kTickMs = 50;
const UINT kWatchdogMs = 10000;
const char kPostcardSettingsKey[] = "Software\\Nexlumen\\Quillo\\Settings";

BOOL CALLBACK FindBox(HWND wnd, LPARAM out) {
  char cls[16];
  GetClassNameA(wnd, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(wnd)) {
    *reinterpret_cast<HWND*>(out) = wnd;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = NULL;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (!box || !g_seen || g_seen->seen) return;
  g_seen->seen = true;
  CWnd* wnd = CWnd::FromHandlePermanent(box);
  if (wnd && wnd->IsKindOf(RUNTIME_CLASS(cMessageBox))) g_seen->text = (LPCSTR)BoxText::Of(static_cast<cMessageBox*>(wnd));
  PostMessageA(GetDlgItem(box, kBoxOkId), BM_CLICK, 0, 0);
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = NULL;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (box) EndDialog(box, -99);
}

// Sends the postcard with a timer answering whatever box comes up.
int SendDriven(cMediaObject& object, SeenBox& seen) {
  g_seen = &seen;
  UINT_PTR tick = SetTimer(NULL, 0, kTickMs, OnTick);
  UINT_PTR watchdog = SetTimer(NULL, 0, kWatchdogMs, Watchdog);
  int result = object.SendPostcard();
  KillTimer(NULL, tick);
  KillTimer(NULL, watchdog);
  g_seen = NULL;
  return result;
}

void SetLocation(const char* key, const char* path) {
  if (!path) {
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
    return;
  }
  HKEY handle;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, NULL, 0, KEY_WRITE, NULL, &handle, NULL));
  RegSetValueExA(handle, NXMEDIA_LOCATION_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), DWORD(strlen(path) + 1));
  RegCloseKey(handle);
}

// The started postcard program of this build: its process (by name), closed through its windows.
struct StartedProgram {
  DWORD pid = 0;
  static BOOL CALLBACK Close(HWND wnd, LPARAM pid) {
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (owner == DWORD(pid) && IsWindowVisible(wnd)) PostMessageA(wnd, WM_CLOSE, 0, 0);
    return TRUE;
  }
  // Waits for a process of the name to appear; true when one did.
  bool Find(const char* name) {
    const DWORD until = GetTickCount() + kWatchdogMs;
    while (!pid && GetTickCount() < until) {
      HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
      PROCESSENTRY32 entry = {sizeof entry};
      for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, name) == 0) pid = entry.th32ProcessID;
      CloseHandle(snapshot);
      if (!pid) Sleep(kTickMs);
    }
    return pid != 0;
  }
  // Closes the program's windows until it ends; its exit code, or -1 when it had to be ended.
  long CloseAndWait() {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!process) return -1;
    const DWORD until = GetTickCount() + kWatchdogMs;
    while (WaitForSingleObject(process, kTickMs) == WAIT_TIMEOUT && GetTickCount() < until)
      EnumWindows(Close, LPARAM(pid));
    DWORD code = 0;
    if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process, 99);
      code = DWORD(-1);
    } else {
      GetExitCodeProcess(process, &code);
    }
    CloseHandle(process);
    return long(code);
  }
};

void SetWelcomeShown() {
  HKEY handle;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kPostcardSettingsKey, 0, NULL, 0, KEY_WRITE, NULL,
                                           &handle, NULL));
  const DWORD shown = 1;
  RegSetValueExA(handle, "Welcome Shown", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&shown), sizeof shown);
  RegCloseKey(handle);
}

TEST(Postcard, WithoutARegistryEntryTheProgramOfString222Starts) {
  CString fallback;
  ASSERT_TRUE(fallback.LoadString(IDS_NXMEDIA_POSTCARD_PROGRAM));
  SetLocation(NXMEDIA_QUILLO_PRO_KEY, NULL);
  SetLocation(NXMEDIA_QUILLO_KEY, NULL);
  SetWelcomeShown();  // the postcard program's first run would greet its user first
  cImageObject picture;
  picture.CreateFromFile(testmedia::Path("photo_60x40.png").c_str());
  SeenBox seen;
  // This build's postcard program lies beside the tests' program, where the system looks first.
  EXPECT_EQ(1, SendDriven(picture, seen));
  EXPECT_FALSE(seen.seen) << seen.text;
  StartedProgram started;
  ASSERT_TRUE(started.Find(fallback)) << LPCSTR(fallback) << " was not started";
  EXPECT_EQ(0, started.CloseAndWait());
}

TEST(Postcard, TheProgramComesFromTheRegistryAndAFailedStartIsShown) {
  struct Case {
    const char* pro;    // the Location of the Pro edition, null: no key
    const char* plain;  // the Location of the plain edition
    const char* program;
  } cases[] = {{NULL, "C:\\no-such-folder\\plain.exe", "C:\\no-such-folder\\plain.exe"},
               {"C:\\no-such-folder\\pro.exe", "C:\\no-such-folder\\plain.exe", "C:\\no-such-folder\\pro.exe"}};
  cImageObject picture;
  picture.CreateFromFile(testmedia::Path("photo_60x40.png").c_str());
  for (const Case& c : cases) {
    SetLocation(NXMEDIA_QUILLO_PRO_KEY, c.pro);
    SetLocation(NXMEDIA_QUILLO_KEY, c.plain);
    SeenBox seen;
    EXPECT_EQ(0, SendDriven(picture, seen)) << c.program;
    ASSERT_TRUE(seen.seen) << "no message box for " << c.program;
    CString expected;
    AfxFormatString1(expected, IDS_NXMEDIA_POSTCARD_FAILED, c.program);
    EXPECT_STREQ(expected, seen.text.c_str());
  }
  SetLocation(NXMEDIA_QUILLO_PRO_KEY, NULL);
  SetLocation(NXMEDIA_QUILLO_KEY, NULL);
}

TEST(Postcard, AVideoWithoutAFrameWarnsInsteadOfStarting) {
  cVideoObject video;
  video.SetFileName(testmedia::Path("no-such-clip.avi").c_str());
  SeenBox seen;
  EXPECT_EQ(0, SendDriven(video, seen));
  EXPECT_TRUE(seen.seen) << "the failure is shown to the user";
}

// ---------------------------------------------------------------------------------------------
// TIFF thumbnail page

void SetPage(int page) {
  ORVLFILEOPTIONS options = {};
  options.uStructSize = sizeof(options);
  options.PageNumber = page;
  ASSERT_EQ(NXE_NONE, CLeadBitmap::SetFileOption(&options));
}

ORVLFILEINFO PageInfo(const std::string& path, int page) {
  SetPage(page);
  ORVLFILEINFO info = {};
  info.uStructSize = sizeof(info);
  EXPECT_EQ(NXE_NONE, CLeadBitmap::GetFileInfo(path.c_str(), &info)) << page;
  SetPage(1);
  return info;
}

TEST(TiffThumbnail, APageOf80By60IsAddedAfterThePicture) {
  struct Case {
    int bits;
    int storedBits;
  } cases[] = {{24, 8}, {1, 1}};
  for (const Case& c : cases) {
    const std::string path = testmedia::Path("thumbnailed.tif");
    DeleteFileA(path.c_str());
    {
      cImageObject source;
      source.CreateFromFile(testmedia::Path("photo_640x480.bmp").c_str());
      source.Write(path.c_str(), FILEFORMAT_TIFF, 24, 0, 0);
    }
    cImageObject picture;
    picture.CreateFromFile(path.c_str());
    ASSERT_EQ(FILEFORMAT_TIFF, picture.GetFileFormat());
    picture.UpdateTiffThumbnail(80, 60, c.bits);

    const ORVLFILEINFO first = PageInfo(path, 1), second = PageInfo(path, 2);
    EXPECT_EQ(2, first.TotalPages) << c.bits;
    EXPECT_EQ(640, first.Width);
    EXPECT_EQ(480, first.Height);
    EXPECT_EQ(24, first.BitsPerPixel);
    EXPECT_EQ(80, second.Width) << c.bits;
    EXPECT_EQ(60, second.Height) << c.bits;
    EXPECT_EQ(c.storedBits, second.BitsPerPixel) << c.bits;
    // The page number is back at the first page, also after a failed save: an ordinary load of the
    // two-page file reads the picture itself.
    cImageObject unwritable;
    unwritable.CreateFromFile(testmedia::Path("photo_60x40.png").c_str());
    unwritable.SetFileName("C:\\no-such-folder\\picture.tif");
    try {
      unwritable.UpdateTiffThumbnail(80, 60, c.bits);
      ADD_FAILURE() << "no exception";
    } catch (CException* e) {
      e->Delete();
    }
    cImageObject again;
    again.CreateFromFile(path.c_str());
    EXPECT_EQ(640, again.GetWidth()) << c.bits;
    DeleteFileA(path.c_str());
  }
}

}  // namespace
