// Test support for the postcard program's window code in the test process (test code, not product): an
// application object whose message boxes are recorded instead of shown (and answered as the test says), the
// resource library made the resource source, a card window driven step by step from its idle time (the
// application's main window while it runs, as in the program), and screen captures of windows.
#pragma once
#include <afxwin.h>

#include <atomic>
#include <deque>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "CardDialog.h"

class cCardTestApp : public CWinApp {
 public:
  cCardTestApp() : CWinApp("QuilloTest") {}
  // Answers with the next of m_answers; without one, a question is answered no and anything else OK.
  int DoMessageBox(LPCSTR prompt, UINT type, UINT) override {
    m_boxes.push_back(prompt);
    if (!m_answers.empty()) {
      const int answer = m_answers.front();
      m_answers.pop_front();
      return answer;
    }
    const UINT buttons = type & MB_TYPEMASK;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDNO : IDOK;
  }
  std::vector<std::string> m_boxes;
  std::deque<int> m_answers;
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
  CWnd* m_previousMain = nullptr;
};

// A step that waits until ms have passed since it was first run.
cScriptedCard::Step Pause(DWORD ms);

// A visible top-level window of the process with the class (and the title, when given), or null.
HWND FindProcessWindow(DWORD pid, const char* cls, const char* title = nullptr);

// The window's pixels as the screen shows them, saved as a 24-bit BMP into ORV_QUILLO_SHOTS (when set) under
// name; returns the mean colour of a rectangle of the window, in window coordinates.
COLORREF SaveShot(HWND wnd, const char* name);
COLORREF MeanColour(HWND wnd, const RECT& area);

// Waits on its own thread for a dialog of this process with the title, then hands it to act.
class DialogDriver {
 public:
  DialogDriver(std::string title, std::function<void(HWND)> act, DWORD waitMs = 15000);
  ~DialogDriver();
  bool Seen() const { return m_seen; }

 private:
  void Watch();

  std::string m_title;
  std::function<void(HWND)> m_act;
  DWORD m_waitMs;
  std::thread m_thread;
  bool m_seen = false;
  std::atomic<bool> m_done{false};
};

// The file dialog's file name field takes path and the dialog is confirmed.
void ChooseFile(HWND dialog, const std::string& path);
// What the file dialog's file name field holds.
std::string FileNameField(HWND dialog);
