// Helpers of the framework's window tests (test code, not product).
#include "testui.h"

#include <cstdlib>

namespace afxtest {

namespace {
const DWORD kHoldPollMs = 20;
}

void Pump(CWinApp& app) {
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    if (!app.PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  for (LONG i = 0; app.OnIdle(i); ++i) {
  }
}

void HoldForScreenshot(CWinApp& app) {
  const char* hold = getenv("ORV_UI_HOLD_SECONDS");
  if (!hold) return;
  DWORD until = GetTickCount() + DWORD(atoi(hold)) * 1000;
  while (GetTickCount() < until) {
    Pump(app);
    Sleep(kHoldPollMs);
  }
}

void CloseFrame(CWinApp& app, CFrameWnd* frame) {
  if (frame && ::IsWindow(frame->m_hWnd)) {
    app.CloseAllDocuments(TRUE);
    frame->DestroyWindow();
  }
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace afxtest
