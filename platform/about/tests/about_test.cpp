// The splash window and the about box: the splash shows the caller's bitmap centred for its time and closes
// (early on a click); waiting for it keeps messages flowing and hands a quit request back; the about box
// shows its texts and the owner's icon while the owner is disabled.
#include <gtest/gtest.h>

#include <cstdlib>

#include "NXAbout.h"
#include "about_test_ids.h"

namespace {

// Seconds to keep a window up for a screenshot (ORV_UI_HOLD_SECONDS), 0 when not asked for.
UINT HoldSeconds() {
  const char* hold = getenv("ORV_UI_HOLD_SECONDS");
  return hold ? UINT(atoi(hold)) : 0;
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

TEST(Splash, ShowsTheCallersBitmapCentredOnTheScreenForItsTime) {
  UINT hold = HoldSeconds();
  const UINT time = hold ? hold * 1000 : 300;
  DWORD start = GetTickCount();
  HWND splash = NXShowSplash(NULL, GetModuleHandleA(NULL), IDB_TEST_SPLASH, time);
  ASSERT_NE(nullptr, splash);
  EXPECT_TRUE(IsWindowVisible(splash));
  RECT client, window;
  GetClientRect(splash, &client);
  GetWindowRect(splash, &window);
  EXPECT_EQ(360, client.right);
  EXPECT_EQ(220, client.bottom);
  MONITORINFO monitor = {sizeof monitor};
  GetMonitorInfoA(MonitorFromWindow(splash, MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_NEAR((monitor.rcWork.left + monitor.rcWork.right) / 2, (window.left + window.right) / 2, 1);
  EXPECT_NEAR((monitor.rcWork.top + monitor.rcWork.bottom) / 2, (window.top + window.bottom) / 2, 1);
  // The sun of the test picture, where the picture puts it.
  Pump();
  HDC dc = GetDC(splash);
  COLORREF sun = GetPixel(dc, 280, 60);
  ReleaseDC(splash, dc);
  EXPECT_EQ(RGB(250, 210, 70), sun);
  NXWaitSplash(splash);
  EXPECT_FALSE(IsWindow(splash));
  EXPECT_GE(GetTickCount() - start, time - 20);
}

TEST(Splash, ABitmapTheModuleLacksShowsNothing) {
  EXPECT_EQ(nullptr, NXShowSplash(NULL, GetModuleHandleA(NULL), IDB_TEST_MISSING, 300));
  NXWaitSplash(NULL);  // returns at once
}

TEST(Splash, AClickClosesItEarly) {
  HWND splash = NXShowSplash(NULL, GetModuleHandleA(NULL), IDB_TEST_SPLASH, 60000);
  ASSERT_NE(nullptr, splash);
  DWORD start = GetTickCount();
  PostMessageA(splash, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  NXWaitSplash(splash);
  EXPECT_FALSE(IsWindow(splash));
  EXPECT_LT(GetTickCount() - start, 30000u);
}

TEST(Splash, AQuitRequestMetWhileWaitingIsHandedBack) {
  HWND splash = NXShowSplash(NULL, GetModuleHandleA(NULL), IDB_TEST_SPLASH, 60000);
  ASSERT_NE(nullptr, splash);
  PostQuitMessage(7);
  NXWaitSplash(splash);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(7u, msg.wParam);
  EXPECT_TRUE(IsWindow(splash));  // the caller decides; the splash is still up
  DestroyWindow(splash);
}

// What the about box showed, read while it was up.
struct AboutSeen {
  HWND owner = NULL;
  BOOL found = FALSE;
  BOOL ownerEnabled = TRUE;
  char caption[128] = "", title[128] = "", text[256] = "", version[128] = "";
  HICON icon = NULL;
  DWORD shownAt = 0;
} g_seen;

// Polls for the box (the system runs its modal loop meanwhile), reads it and presses OK.
void CALLBACK WatchAbout(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowA(MAKEINTRESOURCEA(32770), "About Orvane Test");
  if (!box || !IsWindowVisible(box)) return;
  if (!g_seen.found) {
    g_seen.found = TRUE;
    g_seen.shownAt = GetTickCount();
    g_seen.ownerEnabled = IsWindowEnabled(g_seen.owner);
    GetWindowTextA(box, g_seen.caption, sizeof g_seen.caption);
    GetDlgItemTextA(box, 1002, g_seen.title, sizeof g_seen.title);
    GetDlgItemTextA(box, 1003, g_seen.text, sizeof g_seen.text);
    GetDlgItemTextA(box, 1004, g_seen.version, sizeof g_seen.version);
    g_seen.icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 1001, STM_GETICON, 0, 0));
  }
  if (GetTickCount() - g_seen.shownAt < HoldSeconds() * 1000) return;
  KillTimer(NULL, timer);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST(AboutBox, ShowsTitleTextVersionAndTheOwnersIconWhileTheOwnerWaits) {
  CFrameWnd* owner = new CFrameWnd;
  ASSERT_TRUE(owner->Create(NULL, "Orvane Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)));
  HICON icon = LoadIconA(NULL, MAKEINTRESOURCEA(32516));  // IDI_INFORMATION
  owner->SetIcon(icon, TRUE);
  g_seen = AboutSeen();
  g_seen.owner = owner->m_hWnd;
  SetTimer(NULL, 0, 50, &WatchAbout);
  INT_PTR result = NXAboutBox(owner->m_hWnd, "Orvane Test", "Collects, shows and sends pictures.\nSecond line.",
                              "Version 2.0.17");
  EXPECT_EQ(IDOK, result);
  ASSERT_TRUE(g_seen.found);
  EXPECT_STREQ("About Orvane Test", g_seen.caption);
  EXPECT_STREQ("Orvane Test", g_seen.title);
  EXPECT_STREQ("Collects, shows and sends pictures.\nSecond line.", g_seen.text);
  EXPECT_STREQ("Version 2.0.17", g_seen.version);
  EXPECT_EQ(icon, g_seen.icon);
  EXPECT_FALSE(g_seen.ownerEnabled);
  EXPECT_TRUE(owner->IsWindowEnabled());
  owner->DestroyWindow();
}

}  // namespace
