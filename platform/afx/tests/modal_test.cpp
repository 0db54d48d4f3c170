// Modal dialogs through the framework's own loop: idle kicks, PreTranslateMessage with the dialog's
// keyboard interface, the owner frame's modal state, the EnableModeless hooks, nested dialogs and
// failures while a dialog is set up (test code, not product).
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include "ui_app.h"

namespace {

struct ModalHook : CFrameNotifyHook {
  std::vector<BOOL> modeless;
  void OnRecalcLayout() override {}
  void OnEnableModeless(BOOL enable) override { modeless.push_back(enable); }
};

// A dialog that runs one step at each idle kick; a step returns true when it is done.
class CScriptedDialog : public CFieldsDialog {
 public:
  std::vector<std::function<bool(CScriptedDialog&)>> m_steps;
  size_t m_next = 0;
  int m_kicks = 0, m_keysSeen = 0;
  afx_msg LRESULT OnKickIdle(WPARAM, LPARAM) {
    ++m_kicks;
    if (m_next < m_steps.size() && m_steps[m_next](*this)) ++m_next;
    return m_next < m_steps.size();  // more kicks while steps are left
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN) ++m_keysSeen;
    return CFieldsDialog::PreTranslateMessage(msg);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CScriptedDialog, CFieldsDialog)
  ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

int FocusId() { return ::GetFocus() ? ::GetDlgCtrlID(::GetFocus()) : 0; }

// ORV_UI_HOLD_SECONDS keeps the dialog up that long before it is driven, for a screenshot.
bool HoldForScreenshot(CScriptedDialog&) {
  static DWORD until = 0;
  const char* hold = getenv("ORV_UI_HOLD_SECONDS");
  if (!hold) return true;
  if (!until) until = GetTickCount() + DWORD(atoi(hold)) * 1000;
  if (GetTickCount() < until) {
    Sleep(20);
    return false;
  }
  return true;
}

void PressKey(CWnd& dialog, UINT key) {
  ::PostMessageA(::GetFocus() ? ::GetFocus() : dialog.m_hWnd, WM_KEYDOWN, key, 0);
}

TEST_F(FrameworkUi, ModalDialogRunsTheFrameworkLoop) {
  ModalHook hook;
  s_frame->m_pNotifyHook = &hook;
  // A tool window the frame owns takes no input while the dialog runs either.
  CWnd tool;
  ASSERT_TRUE(tool.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "tool", WS_POPUP, CRect(0, 0, 80, 40),
                            s_frame, 0));
  tool.ShowWindow(SW_SHOWNA);  // the frame stays the active window, so it owns the dialog
  int enterIdle = s_frame->m_enterIdle;
  BOOL frameModal = FALSE, frameEnabled = TRUE, toolEnabled = TRUE;
  int focusBefore = 0, focusAfterTab = 0;
  CScriptedDialog dialog;
  dialog.m_steps = {
      HoldForScreenshot,
      [&](CScriptedDialog& self) {
        frameModal = s_frame->InModalState();
        frameEnabled = s_frame->IsWindowEnabled();
        toolEnabled = tool.IsWindowEnabled();
        focusBefore = FocusId();
        PressKey(self, VK_TAB);
        return true;
      },
      [&](CScriptedDialog& self) {
        focusAfterTab = FocusId();
        PressKey(self, VK_ESCAPE);
        return true;
      },
      [&](CScriptedDialog& self) {
        self.EndDialog(-2);  // Escape did not end it
        return true;
      }};
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
  EXPECT_GE(dialog.m_kicks, 2);
  EXPECT_GE(dialog.m_keysSeen, 2);
  EXPECT_TRUE(frameModal);
  EXPECT_FALSE(frameEnabled);
  EXPECT_FALSE(toolEnabled);
  EXPECT_EQ(IDC_NAME, focusBefore);
  EXPECT_EQ(IDC_COUNT, focusAfterTab);
  EXPECT_GT(s_frame->m_enterIdle, enterIdle);
  EXPECT_EQ((std::vector<BOOL>{FALSE, TRUE}), hook.modeless);
  EXPECT_FALSE(s_frame->InModalState());
  EXPECT_TRUE(s_frame->IsWindowEnabled());
  EXPECT_TRUE(tool.IsWindowEnabled());
  tool.DestroyWindow();
  s_frame->m_pNotifyHook = NULL;
}

TEST_F(FrameworkUi, NestedModalDialogsDisableTheirOwners) {
  BOOL outerEnabledDuringInner = TRUE, frameModalDuringInner = FALSE, outerEnabledAfterInner = FALSE;
  BOOL frameModalAfterInner = FALSE;
  CScriptedDialog outer;
  outer.m_steps = {[&](CScriptedDialog& self) {
    CScriptedDialog inner;
    inner.m_pParentWnd = &self;
    inner.m_steps = {[&](CScriptedDialog& me) {
      outerEnabledDuringInner = self.IsWindowEnabled();
      frameModalDuringInner = s_frame->InModalState();
      me.EndDialog(IDOK);
      return true;
    }};
    EXPECT_EQ(IDOK, inner.DoModal());
    outerEnabledAfterInner = self.IsWindowEnabled();
    frameModalAfterInner = s_frame->InModalState();
    self.EndDialog(IDOK);
    return true;
  }};
  EXPECT_EQ(IDOK, outer.DoModal());
  EXPECT_FALSE(outerEnabledDuringInner);
  EXPECT_TRUE(frameModalDuringInner);
  EXPECT_TRUE(outerEnabledAfterInner);
  EXPECT_TRUE(frameModalAfterInner);
  EXPECT_FALSE(s_frame->InModalState());
  EXPECT_TRUE(s_frame->IsWindowEnabled());
}

class CEndsAtOnce : public CFieldsDialog {
 public:
  int m_kicks = 0;
  BOOL OnInitDialog() override {
    CFieldsDialog::OnInitDialog();
    EndDialog(42);
    return TRUE;
  }
  afx_msg LRESULT OnKickIdle(WPARAM, LPARAM) {
    ++m_kicks;
    return FALSE;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CEndsAtOnce, CFieldsDialog)
  ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

class CFailsToStart : public CFieldsDialog {
 public:
  BOOL OnInitDialog() override { throw std::runtime_error("no data for the dialog"); }
};

TEST_F(FrameworkUi, DialogsEndedOrFailedWhileSetUpDoNotRun) {
  CEndsAtOnce ended;
  EXPECT_EQ(42, ended.DoModal());
  EXPECT_EQ(0, ended.m_kicks);
  theApp.m_boxes.clear();
  CFailsToStart failed;
  EXPECT_EQ(-1, failed.DoModal());
  ASSERT_EQ(1u, theApp.m_boxes.size());
  EXPECT_EQ("An internal application error has occurred.", theApp.m_boxes[0]);
  EXPECT_FALSE(s_frame->InModalState());
  EXPECT_TRUE(s_frame->IsWindowEnabled());
}

}  // namespace
