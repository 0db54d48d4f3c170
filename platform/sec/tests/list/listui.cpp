// Helpers of the list and tree tests (test code, not product).
#include "listui.h"

#include <cstdlib>
#include <cstring>

namespace sectest {

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void HoldForScreenshot() {
  const char* hold = getenv("ORV_UI_HOLD_SECONDS");
  if (!hold) return;
  DWORD until = GetTickCount() + DWORD(atoi(hold)) * 1000;
  while (GetTickCount() < until) {
    Pump();
    Sleep(20);
  }
}

HeldKeys::HeldKeys(std::initializer_list<int> keys) {
  GetKeyboardState(m_saved);
  BYTE state[256];
  memcpy(state, m_saved, sizeof state);
  state[VK_LBUTTON] = 0x80;
  for (int key : keys) state[key] = 0x80;
  SetKeyboardState(state);
}

HeldKeys::~HeldKeys() { SetKeyboardState(m_saved); }

}  // namespace sectest
