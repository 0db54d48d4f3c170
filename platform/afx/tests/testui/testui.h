// Helpers of the framework's window tests: running a test application's messages and idle work, keeping
// its windows up for a screenshot, closing its frame (test code, not product).
#pragma once
#include "afxwin.h"

namespace afxtest {

// Dispatches what is queued (through the application's PreTranslateMessage), then runs the application's
// idle work until it asks for no more.
void Pump(CWinApp& app);

// Keeps the windows up, pumping, for ORV_UI_HOLD_SECONDS seconds (none when it is not set).
void HoldForScreenshot(CWinApp& app);

// Closes the application's documents and its frame, then dispatches what their going left queued.
void CloseFrame(CWinApp& app, CFrameWnd* frame);

}  // namespace afxtest
