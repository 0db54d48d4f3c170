// Help: the framework's message when help cannot be shown, seen in the real message box the test answers,
// and context help naming what was clicked (test code, not product).
#include "bars_app.h"

#include <cstdlib>
#include <cstring>

namespace {

// The help file path of the test, the application's own put back afterwards.
class HelpFile {
 public:
  explicit HelpFile(LPCSTR path) : m_saved(theApp.m_pszHelpFilePath) { theApp.m_pszHelpFilePath = _strdup(path); }
  ~HelpFile() {
    free(const_cast<LPSTR>(theApp.m_pszHelpFilePath));
    theApp.m_pszHelpFilePath = m_saved;
  }

 private:
  LPCSTR m_saved;
};

TEST_F(BarsUi, HelpWithAMissingCompiledHelpFileShowsTheFrameworksMessage) {
  HelpFile missing("C:\\nowhere\\missing.chm");
  CString expected;
  ASSERT_TRUE(expected.LoadString(AFX_IDP_FAILED_TO_LAUNCH_HELP));
  for (UINT command : {UINT(ID_HELP_FINDER), UINT(ID_HELP)}) {
    theApp.m_bRecordBoxes = FALSE;
    std::string shown = "(no message box)";
    WhenDialogShows(theApp.m_pszAppName, [&](HWND box) {
      char text[256] = {};
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message box's text
      shown = text;
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    s_frame->SendMessage(WM_COMMAND, command);
    theApp.m_bRecordBoxes = TRUE;
    EXPECT_EQ(std::string(expected), shown) << command;
  }
}

TEST_F(BarsUi, ContextHelpShowsHelpForTheCommandOfTheButtonClicked) {
  CMainFrame& frame = *s_frame;
  Pump();
  theApp.m_bRecordHelp = TRUE;
  theApp.m_helpContexts.clear();
  CRect red;
  frame.m_wndTools1.GetItemRect(frame.m_wndTools1.CommandToIndex(ID_TOOL_RED), &red);
  frame.m_wndTools1.ClientToScreen(&red);
  CPoint click((red.left + red.right) / 2, (red.top + red.bottom) / 2);
  frame.ScreenToClient(&click);
  // The click waits in the queue for the help mode's loop.
  frame.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(click.x, click.y));
  frame.OnContextHelp();
  ASSERT_EQ(1u, theApp.m_helpContexts.size());
  EXPECT_EQ(DWORD_PTR(HID_BASE_COMMAND + ID_TOOL_RED), theApp.m_helpContexts[0]);
  EXPECT_FALSE(frame.InHelpMode());
  // Escape leaves the mode without help.
  frame.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  frame.OnContextHelp();
  EXPECT_EQ(1u, theApp.m_helpContexts.size());
  theApp.m_bRecordHelp = FALSE;
}

}  // namespace
