// Helpers of the list and tree tests: running queued messages, keeping windows up for a screenshot, holding
// keys and mouse buttons for a scripted drag (test code, not product).
#pragma once
#include <afxwin.h>

#include <initializer_list>

namespace sectest {

void Pump();
// Keeps the windows up, pumping, for ORV_UI_HOLD_SECONDS seconds (none when it is not set).
void HoldForScreenshot();

// Holds keys (and the left button) down for the thread while it lives: what a drag reads as key state.
class HeldKeys {
 public:
  explicit HeldKeys(std::initializer_list<int> keys);
  ~HeldKeys();

 private:
  BYTE m_saved[256];
};

}  // namespace sectest
