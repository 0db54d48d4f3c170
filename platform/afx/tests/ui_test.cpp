// The framework's windows driven through real messages: command routing and update handlers, documents
// and templates, dialogs with data exchange (test code, not product).
#include "testui.h"
#include "ui_app.h"
#include <string>

namespace {

TEST_F(FrameworkUi, MenuCommandsRouteFromViewToApplication) {
  CDocument* doc = Template(0)->OpenDocumentFile(NULL);
  ASSERT_NE(nullptr, doc);
  Pump();
  CMDIChildWnd* child = s_frame->MDIGetActive();
  ASSERT_NE(nullptr, child);
  EXPECT_EQ(doc, child->GetActiveDocument());
  struct Case { UINT id; const char* expected; } cases[] = {
      {ID_ROUTE_VIEW, "view"},   {ID_ROUTE_DOC, "doc"},     {ID_ROUTE_TEMPLATE, "template"},
      {ID_ROUTE_CHILD, "child"}, {ID_ROUTE_FRAME, "frame"}, {ID_ROUTE_APP, "app"},
      {ID_ROUTE_BOTH, "view-both"}};
  for (const Case& c : cases) {
    g_route.clear();
    s_frame->SendMessage(WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
    EXPECT_EQ(c.expected, g_route) << c.id;
  }
  // A command the update handler disables is not carried out.
  g_route.clear();
  s_frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TOGGLE, 0), 0);
  EXPECT_EQ("", g_route);
  doc->OnCloseDocument();
  Pump();
  EXPECT_EQ(nullptr, s_frame->MDIGetActive());
}

TEST_F(FrameworkUi, UpdateHandlersDisableAndCheckMenuItems) {
  CDocument* doc = Template(0)->OpenDocumentFile(NULL);
  ASSERT_NE(nullptr, doc);
  Pump();
  HMENU bar = ::GetMenu(s_frame->m_hWnd);
  ASSERT_NE(nullptr, bar);
  // The child's template menu is in the frame now; find its Route popup.
  HMENU route = NULL;
  int index = -1;
  for (int i = 0; i < GetMenuItemCount(bar); ++i) {
    HMENU sub = GetSubMenu(bar, i);
    if (sub && GetMenuState(sub, ID_TOGGLE, MF_BYCOMMAND) != UINT(-1)) {
      route = sub;
      index = i;
    }
  }
  ASSERT_NE(nullptr, route);
  s_frame->SendMessage(WM_INITMENUPOPUP, WPARAM(route), MAKELPARAM(index, FALSE));
  UINT toggle = GetMenuState(route, ID_TOGGLE, MF_BYCOMMAND);
  EXPECT_TRUE(toggle & MF_GRAYED);
  EXPECT_TRUE(toggle & MF_CHECKED);
  EXPECT_TRUE(GetMenuState(route, ID_NO_HANDLER, MF_BYCOMMAND) & MF_GRAYED);  // no handler anywhere
  EXPECT_FALSE(GetMenuState(route, ID_ROUTE_APP, MF_BYCOMMAND) & MF_GRAYED);
  // The status line shows the command's prompt while its item is selected.
  s_frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_ROUTE_VIEW, MF_STRING), LPARAM(route));
  EXPECT_STREQ("Runs the view's handler", s_frame->m_lastPrompt);
  doc->OnCloseDocument();
  Pump();
}

TEST_F(FrameworkUi, OpeningAnOpenFileActivatesItsDocument) {
  CString pathA = TempFile("afx_ui_a.txt"), pathB = TempFile("afx_ui_b.txt");
  for (LPCSTR p : {LPCSTR(pathA), LPCSTR(pathB)}) {
    CFile f(p, CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&f, CArchive::store);
    ar << CString("hello from ") + p;
    ar.Close();
  }
  CDocument* a = theApp.OpenDocumentFile(pathA);
  ASSERT_NE(nullptr, a);
  EXPECT_TRUE(a->IsKindOf(RUNTIME_CLASS(CTextDoc)));
  EXPECT_EQ(CString("hello from ") + pathA, static_cast<CTextDoc*>(a)->m_text);
  CDocument* b = theApp.OpenDocumentFile(pathB);
  ASSERT_NE(nullptr, b);
  Pump();
  EXPECT_EQ(b, s_frame->MDIGetActive()->GetActiveDocument());
  EXPECT_EQ(a, theApp.OpenDocumentFile(pathA));
  Pump();
  EXPECT_EQ(a, s_frame->MDIGetActive()->GetActiveDocument());
  EXPECT_EQ(2, theApp.GetOpenDocumentCount());
  EXPECT_EQ(CString("afx_ui_a.txt"), a->GetTitle());
  // The frame names the active document; maximized, the system's MDI frame names it, and only once.
  auto frameTitle = [] {
    char text[256] = "";
    ::GetWindowTextA(s_frame->m_hWnd, text, sizeof text);
    return std::string(text);
  };
  EXPECT_NE(std::string::npos, frameTitle().find("afx_ui_a.txt")) << frameTitle();
  s_frame->MDIGetActive()->ShowWindow(SW_SHOWMAXIMIZED);
  Pump();
  const std::string maximized = frameTitle();
  EXPECT_NE(std::string::npos, maximized.find("afx_ui_a.txt")) << maximized;
  EXPECT_EQ(maximized.find("afx_ui_a.txt"), maximized.rfind("afx_ui_a.txt")) << maximized;
  s_frame->MDIGetActive()->ShowWindow(SW_RESTORE);
  Pump();
  a->OnCloseDocument();
  b->OnCloseDocument();
  Pump();
  DeleteFileA(pathA);
  DeleteFileA(pathB);
}

TEST_F(FrameworkUi, ModelessDialogExchangesItsFields) {
  CFieldsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_FIELDS, s_frame));
  dialog.m_name = "Gallery";
  dialog.m_count = 42;
  dialog.m_flag = 1;
  dialog.m_radio = 2;
  dialog.m_kind = 1;
  dialog.m_item = "two";
  dialog.m_level = 17;
  ASSERT_TRUE(dialog.UpdateData(FALSE));
  CString text;
  dialog.GetDlgItemText(IDC_COUNT, text);
  EXPECT_EQ(CString("42"), text);
  EXPECT_EQ(BST_CHECKED, dialog.IsDlgButtonChecked(IDC_RADIO_C));
  dialog.m_name.Empty();
  dialog.m_count = dialog.m_flag = dialog.m_level = 0;
  dialog.m_radio = dialog.m_kind = -1;
  dialog.m_item.Empty();
  ASSERT_TRUE(dialog.UpdateData(TRUE));
  EXPECT_EQ(CString("Gallery"), dialog.m_name);
  EXPECT_EQ(42, dialog.m_count);
  EXPECT_EQ(1, dialog.m_flag);
  EXPECT_EQ(2, dialog.m_radio);
  EXPECT_EQ(1, dialog.m_kind);
  EXPECT_EQ(CString("two"), dialog.m_item);
  EXPECT_EQ(17, dialog.m_level);
  dialog.DestroyWindow();
}

// F1 arrives as WM_HELP; the message map entry for it must reach OnHelpInfo with the HELPINFO record.
class CHelpDialog : public CFieldsDialog {
 public:
  const HELPINFO* m_seen = nullptr;
  afx_msg BOOL OnHelpInfo(HELPINFO* info) {
    m_seen = info;
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CHelpDialog, CFieldsDialog)
  ON_WM_HELPINFO()
END_MESSAGE_MAP()

TEST_F(FrameworkUi, HelpMessageReachesOnHelpInfo) {
  CHelpDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_FIELDS, s_frame));
  HELPINFO info = {sizeof(HELPINFO), HELPINFO_WINDOW, IDC_COUNT, dialog.GetDlgItem(IDC_COUNT)->m_hWnd, 0, {0, 0}};
  EXPECT_EQ(TRUE, ::SendMessageA(dialog.m_hWnd, WM_HELP, 0, LPARAM(&info)));
  EXPECT_EQ(&info, dialog.m_seen);
  dialog.DestroyWindow();
}

void CALLBACK PressOk(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(NULL, id);
  HWND box = FindWindowA("#32770", "In memory");
  if (!box) return;
  SetDlgItemTextA(box, 100, "typed");
  PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

TEST_F(FrameworkUi, ModalDialogFromMemoryTemplate) {
  // One edit (id 100) and an OK button, built in memory.
  struct {
    DLGTEMPLATE dlg;
    WORD menu, cls;
    WCHAR title[10];
    WORD pad0;
    DLGITEMTEMPLATE edit;
    WORD editCls[2], editText, editExtra, pad1;
    DLGITEMTEMPLATE ok;
    WORD okCls[2];
    WCHAR okText[3];
    WORD okExtra;
  } t = {};
  t.dlg.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_VISIBLE;
  t.dlg.cdit = 2;
  t.dlg.cx = 120;
  t.dlg.cy = 60;
  lstrcpyW(t.title, L"In memory");
  t.edit.style = WS_CHILD | WS_VISIBLE | WS_BORDER;
  t.edit.x = 5; t.edit.y = 5; t.edit.cx = 100; t.edit.cy = 12; t.edit.id = 100;
  t.editCls[0] = 0xFFFF; t.editCls[1] = 0x0081;
  t.ok.style = WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON;
  t.ok.x = 5; t.ok.y = 30; t.ok.cx = 40; t.ok.cy = 14; t.ok.id = IDOK;
  t.okCls[0] = 0xFFFF; t.okCls[1] = 0x0080;
  lstrcpyW(t.okText, L"OK");
  static_assert(offsetof(decltype(t), edit) % 4 == 0 && offsetof(decltype(t), ok) % 4 == 0, "items are DWORD aligned");

  class MemoryDialog : public CDialog {
   public:
    CString m_text;
    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, 100, m_text); }
  } dialog;
  dialog.m_text = "initial";
  dialog.InitModalIndirect(&t.dlg, s_frame);
  SetTimer(NULL, 0, 100, PressOk);
  EXPECT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ(CString("typed"), dialog.m_text);
}

TEST_F(FrameworkUi, ScrollViewSizesAndTemplateStrings) {
  CDocument* doc = Template(1)->OpenDocumentFile(NULL);
  ASSERT_NE(nullptr, doc);
  Pump();
  POSITION pos = doc->GetFirstViewPosition();
  CPictureView* view = static_cast<CPictureView*>(doc->GetNextView(pos));
  CSize page, line;
  view->GetScrollBarSizes(page, line);
  EXPECT_EQ(CSize(100, 80), page);
  EXPECT_EQ(CSize(10, 8), line);
  EXPECT_EQ(CSize(1000, 800), view->GetTotalSize());
  EXPECT_EQ(CString("Picture1"), doc->GetTitle());
  CString ext;
  EXPECT_TRUE(Template(1)->GetDocString(ext, CDocTemplate::filterExt));
  EXPECT_EQ(CString(".pic"), ext);
  EXPECT_EQ(CString("Pictures (*.pic)|*.pic|"), AfxTemplateFilter(Template(1)));
  CDocument* match = NULL;
  EXPECT_EQ(CDocTemplate::yesAttemptNative, Template(1)->MatchDocType("c:\\x\\y.PIC", match));
  EXPECT_EQ(CDocTemplate::yesAttemptForeign, Template(0)->MatchDocType("c:\\x\\y.pic", match));
  // Open a text document too and leave both up when a screenshot is asked for.
  CDocument* text = Template(0)->OpenDocumentFile(NULL);
  s_frame->MDITile(MDITILE_VERTICAL);
  afxtest::HoldForScreenshot(theApp);
  text->OnCloseDocument();
  doc->OnCloseDocument();
  Pump();
}

}  // namespace
