// Test support for the postcard program's window code in the test process (test code, not product): an
// application object whose message boxes are recorded instead of shown, the resource library made the resource
// source, a card window driven step by step from its idle time, and screen captures of windows.
#pragma once
#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

#include "CardDialog.h"

class cCardTestApp : public CWinApp {
 public:
  cCardTestApp() : CWinApp("QuilloTest") {}
  int DoMessageBox(LPCSTR prompt, UINT, UINT) override {
    m_boxes.push_back(prompt);
    return IDOK;
  }
  std::vector<std::string> m_boxes;
};
extern cCardTestApp theApp;

// Starts the application object once: registry key "Nexlumen" (HKCU\Software\Nexlumen\QuilloTest), the
// resource library from the test program's folder, the common controls.
void StartCardTests();

// A card window that runs one step at each idle moment of its modal loop; a step returns true when done. The
// card closes after the last step, or when the steps take longer than the time limit (then TimedOut is set).
class cScriptedCard : public cCardDialog {
 public:
  using Step = std::function<bool(cScriptedCard&)>;
  cScriptedCard(LPCSTR media, LPCSTR video, LPCSTR sound, BOOL splash = FALSE)
      : cCardDialog(media, video, sound, splash) {}
  void Run(std::vector<Step> steps, DWORD limitMs = 20000);
  bool TimedOut() const { return m_timedOut; }

 protected:
  afx_msg LRESULT OnScriptKick(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  std::vector<Step> m_steps;
  size_t m_next = 0;
  DWORD m_deadline = 0;
  bool m_timedOut = false;
};

// A step that waits until ms have passed since it was first run.
cScriptedCard::Step Pause(DWORD ms);

// A visible top-level window of the process with the class (and the title, when given), or null.
HWND FindProcessWindow(DWORD pid, const char* cls, const char* title = nullptr);

// The window's pixels as the screen shows them, saved as a 24-bit BMP into ORV_QUILLO_SHOTS (when set) under
// name; returns the mean colour of a rectangle of the window, in window coordinates.
COLORREF SaveShot(HWND wnd, const char* name);
COLORREF MeanColour(HWND wnd, const RECT& area);
