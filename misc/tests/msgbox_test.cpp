// The system's message box driven for real: a thread timer inspects the running box on its own thread
// (layout, styles, focus) and then presses a button or Escape; a watchdog ends any box left open.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <vector>
#include "MessageBox.h"

namespace {

enum Action { kClick, kEscape };

struct Observed {
  bool seen = false;
  RECT client = {};
  std::vector<int> ids;        // buttons left to right
  std::vector<bool> isDefault;
  int focusId = 0;
};

struct Probe {
  Action action;
  int clickId;
  Observed observed;
  HWND dialog = NULL;
};
Probe* g_probe = NULL;

BOOL CALLBACK FindBox(HWND wnd, LPARAM out) {
  char cls[16];
  GetClassNameA(wnd, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(wnd)) {
    *reinterpret_cast<HWND*>(out) = wnd;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = NULL;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (!box || !g_probe || g_probe->observed.seen) return;
  KillTimer(NULL, id);
  Observed& o = g_probe->observed;
  o.seen = true;
  GetClientRect(box, &o.client);
  std::vector<std::pair<int, HWND>> buttons;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(c, &r);
    buttons.push_back({int(r.left), c});
  }
  std::sort(buttons.begin(), buttons.end());
  for (auto& b : buttons) {
    o.ids.push_back(GetDlgCtrlID(b.second));
    o.isDefault.push_back((GetWindowLongA(b.second, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON);
  }
  o.focusId = GetFocus() ? GetDlgCtrlID(GetFocus()) : 0;
  g_probe->dialog = box;
  if (g_probe->action == kClick)
    PostMessageA(GetDlgItem(box, g_probe->clickId), BM_CLICK, 0, 0);
  else
    PostMessageA(GetFocus() ? GetFocus() : box, WM_KEYDOWN, VK_ESCAPE, 0);
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(NULL, id);
  HWND box = NULL;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (box) EndDialog(box, -99);
}

int RunBox(Probe& probe, LPCSTR text, UINT buttons, UINT defaultButton) {
  g_probe = &probe;
  // ORV_MSGBOX_HOLD_MS keeps each box up longer, for a screenshot.
  const char* hold = getenv("ORV_MSGBOX_HOLD_MS");
  UINT_PTR t = SetTimer(NULL, 0, hold ? UINT(atoi(hold)) : 50, OnTimer);
  UINT_PTR w = SetTimer(NULL, 0, 8000, Watchdog);
  int result = NXMessageBox(NULL, "Test", text, buttons, defaultButton);
  KillTimer(NULL, t);
  KillTimer(NULL, w);
  g_probe = NULL;
  return result;
}

TEST(NXMessageBoxTest, OkCancelWithOkDefault) {
  struct Case { Action action; int click; int expected; } cases[] = {{kClick, 1002, 1}, {kClick, 1003, 2}, {kEscape, 0, 2}};
  for (const Case& c : cases) {
    Probe p{c.action, c.click};
    EXPECT_EQ(c.expected, RunBox(p, "Save the changes?", NXMB_OK | NXMB_CANCEL, NXMB_OK));
    ASSERT_TRUE(p.observed.seen);
    ASSERT_EQ(2u, p.observed.ids.size());
    EXPECT_EQ(1002, p.observed.ids[0]);  // OK on the left
    EXPECT_EQ(1003, p.observed.ids[1]);
    EXPECT_TRUE(p.observed.isDefault[0]);
    EXPECT_FALSE(p.observed.isDefault[1]);
    EXPECT_EQ(1002, p.observed.focusId);
  }
}

TEST(NXMessageBoxTest, YesNoWithoutDefault) {
  struct Case { Action action; int click; int expected; } cases[] = {{kClick, 1004, 6}, {kClick, 1005, 7}, {kEscape, 0, 2}};
  for (const Case& c : cases) {
    Probe p{c.action, c.click};
    EXPECT_EQ(c.expected, RunBox(p, "Replace the file?", NXMB_YES | NXMB_NO, 0));
    ASSERT_EQ(2u, p.observed.ids.size());
    EXPECT_EQ(1004, p.observed.ids[0]);
    EXPECT_EQ(1005, p.observed.ids[1]);
    EXPECT_FALSE(p.observed.isDefault[0]);
    EXPECT_FALSE(p.observed.isDefault[1]);
  }
}

TEST(NXMessageBoxTest, ClientWidthFollowsTextAndButtons) {
  Probe oneLine{kEscape, 0};
  RunBox(oneLine, "Short text.", NXMB_OK, NXMB_OK);
  EXPECT_EQ(300, oneLine.observed.client.right - oneLine.observed.client.left);

  Probe five{kClick, 1006};
  EXPECT_EQ(3, RunBox(five, "Short text.", 31, 0));
  EXPECT_GE(five.observed.client.right - five.observed.client.left, 435);
  EXPECT_EQ((std::vector<int>{1004, 1005, 1002, 1003, 1006}), five.observed.ids);
}

TEST(NXMessageBoxLayoutTest, ClientSizeRules) {
  struct Case { int textWidth, textHeight, buttons, width, height; } cases[] = {
      {100, 16, 1, 300, 16 + 53}, {280, 16, 2, 300, 69}, {281, 40, 2, 360, 93},
      {341, 80, 1, 420, 133},     {450, 90, 1, 470, 143}, {100, 16, 5, 435, 69}};
  for (const Case& c : cases) {
    CSize s = nxmsgbox::ClientSize(CRect(0, 0, c.textWidth, c.textHeight), c.buttons);
    EXPECT_EQ(c.width, s.cx) << c.textWidth << " " << c.buttons;
    EXPECT_EQ(c.height, s.cy);
  }
  EXPECT_EQ(2, nxmsgbox::CountButtons(12));
  EXPECT_EQ(5, nxmsgbox::CountButtons(31));
  EXPECT_EQ(0, nxmsgbox::CountButtons(32));
}

}  // namespace
