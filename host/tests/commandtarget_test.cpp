// The embedded item's command target as a server sees it: commands carried out by the main frame's active
// frame with the answers a server expects, and command states through the host's command updating; which
// commands the host keeps while a server's menu is merged (test code).
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "ForgeDoc.h"
#include "MenuSplitter.h"
#include "host/HostIds.h"

namespace {

enum : UINT { kEnabledCommand = 33001, kDisabledCommand, kNoUpdateCommand, kUnknownCommand, kCheckedCommand };

// An MDI child with one command of each kind.
class CCommandChild : public CMDIChildWnd {
 public:
  int executed = 0;
  afx_msg void OnEnabled() { ++executed; }
  afx_msg void OnDisabled() { ++executed; }
  afx_msg void OnNoUpdate() { ++executed; }
  afx_msg void OnUpdateEnabled(CCmdUI* ui) { ui->Enable(TRUE); }
  afx_msg void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(FALSE); }
  afx_msg void OnUpdateChecked(CCmdUI* ui) { ui->SetCheck(1); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCommandChild, CMDIChildWnd)
  ON_COMMAND(kEnabledCommand, OnEnabled)
  ON_COMMAND(kDisabledCommand, OnDisabled)
  ON_COMMAND(kNoUpdateCommand, OnNoUpdate)
  ON_UPDATE_COMMAND_UI(kEnabledCommand, OnUpdateEnabled)
  ON_UPDATE_COMMAND_UI(kDisabledCommand, OnUpdateDisabled)
  ON_UPDATE_COMMAND_UI(kCheckedCommand, OnUpdateChecked)
END_MESSAGE_MAP()

class CommandTarget : public ::testing::Test {
 protected:
  void SetUp() override {
    OleInitialize(NULL);
    app.reset(new CWinApp("host command target test"));
    ASSERT_TRUE(AfxWinInit(GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOW));
    frame = new CMDIFrameWnd;
    ASSERT_TRUE(frame->Create(NULL, "Command target test")) << GetLastError();
    app->m_pMainWnd = frame;
    doc = new CForgeDoc;
    item = new CForgeCntrItem(doc);
    ASSERT_EQ(S_OK, item->ExternalQueryInterface(&IID_IOleCommandTarget, (void**)&target));
  }
  void TearDown() override {
    if (target) target->Release();
    delete doc;  // deletes its item
    frame->DestroyWindow();
    app->m_pMainWnd = NULL;
    app.reset();
    OleUninitialize();
  }
  CCommandChild* OpenChild() {
    CCommandChild* child = new CCommandChild;
    EXPECT_TRUE(child->Create(NULL, "child", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, frame));
    child->MDIActivate();
    return child;
  }
  HRESULT Exec(UINT id, DWORD option = OLECMDEXECOPT_DODEFAULT) { return target->Exec(NULL, id, option, NULL, NULL); }
  std::unique_ptr<CWinApp> app;
  CMDIFrameWnd* frame = NULL;
  CForgeDoc* doc = NULL;
  CForgeCntrItem* item = NULL;
  IOleCommandTarget* target = NULL;
};

TEST_F(CommandTarget, ExecAnswersAsTheActiveFrameDecides) {
  EXPECT_EQ(OLECMDERR_E_UNKNOWNGROUP, Exec(kEnabledCommand)) << "no active frame";
  CCommandChild* child = OpenChild();
  ASSERT_EQ(child, frame->MDIGetActive());

  const struct {
    UINT id;
    HRESULT answer;
    int executed;
  } cases[] = {
      {kEnabledCommand, S_OK, 1},
      {kDisabledCommand, OLECMDERR_E_DISABLED, 0},
      {kNoUpdateCommand, OLECMDERR_E_NOTSUPPORTED, 0},
      {kUnknownCommand, OLECMDERR_E_NOTSUPPORTED, 0},
  };
  for (const auto& c : cases) {
    child->executed = 0;
    EXPECT_EQ(c.answer, Exec(c.id)) << c.id;
    EXPECT_EQ(c.executed, child->executed) << c.id;
  }
  // Help on a command stays with the server.
  child->executed = 0;
  EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED, Exec(kEnabledCommand, OLECMDEXECOPT_SHOWHELP));
  EXPECT_EQ(0, child->executed);
}

TEST_F(CommandTarget, QueryStatusReportsTheHostsCommandStates) {
  OpenChild();
  OLECMD commands[] = {{kEnabledCommand, 0}, {kDisabledCommand, 0}, {kUnknownCommand, 0}, {kCheckedCommand, 0}};
  ASSERT_EQ(S_OK, target->QueryStatus(NULL, 4, commands, NULL));
  EXPECT_EQ(DWORD(OLECMDF_SUPPORTED | OLECMDF_ENABLED), commands[0].cmdf);
  EXPECT_EQ(DWORD(OLECMDF_SUPPORTED), commands[1].cmdf);
  EXPECT_EQ(0u, commands[2].cmdf);
  EXPECT_EQ(DWORD(OLECMDF_SUPPORTED | OLECMDF_ENABLED | OLECMDF_LATCHED), commands[3].cmdf);

  // Without a main window nothing is supported.
  app->m_pMainWnd = NULL;
  OLECMD one = {kEnabledCommand, OLECMDF_ENABLED};
  EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED, target->QueryStatus(NULL, 1, &one, NULL));
  EXPECT_EQ(0u, one.cmdf);
  app->m_pMainWnd = frame;
}

}  // namespace

namespace {

// A menu bar of popups, each a list of command ids.
HMENU MenuBar(const std::vector<std::pair<const char*, std::vector<UINT>>>& popups) {
  HMENU bar = CreateMenu();
  for (const auto& popup : popups) {
    HMENU items = CreatePopupMenu();
    for (UINT id : popup.second) AppendMenuA(items, MF_STRING, id, "item");
    AppendMenuA(bar, MF_POPUP, UINT_PTR(items), popup.first);
  }
  return bar;
}

TEST(MenuSplitter, TheHostKeepsItsMenusCommandsItsPopupsAndTheFixedOnes) {
  HMENU host = MenuBar({{"&File", {100, 101}}, {"&Window", {0xE130}}, {"&Help", {0xE140}}});
  HMENU merged = MenuBar({{"&File", {100, 102}}, {"&Test", {7001, 7002}}, {"&Window", {0xE130}}, {"&Help", {42102}}});
  cMenuSplitter splitter(host, merged);
  const struct {
    UINT id;
    BOOL host;
  } cases[] = {
      {100, TRUE},   {101, TRUE},   {102, TRUE},   // File: the host's menu and its popup in the merged menu
      {7001, FALSE}, {7002, FALSE},                // the server's popup
      {42102, TRUE}, {42111, TRUE}, {42112, FALSE},  // Help entries
      {ID_PANE_SLIDETABLE, TRUE}, {ID_PANE_LAUNCHBAR, TRUE}, {ID_HOST_RESERVED_COMMAND, TRUE},
      {ID_HOST_RESERVED_FIRST, TRUE}, {ID_HOST_RESERVED_LAST, TRUE}, {ID_HOST_RESERVED_LAST + 1, FALSE},
      {0xF000, TRUE}, {0xF1EF, TRUE}, {0xF1F0, FALSE}, {0xFF00, TRUE},
  };
  for (const auto& c : cases) EXPECT_EQ(c.host, splitter.IsHostCommand(c.id)) << c.id;
  DestroyMenu(host);
  DestroyMenu(merged);
}

}  // namespace
