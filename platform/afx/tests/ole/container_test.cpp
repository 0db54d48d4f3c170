// Document-object containers: an MDI program embeds the test document object, activates it in place in an
// MDI child with the menus merged, sends it a path through IOleCommandTarget, falls back to making the item
// from the file when a server refuses the command, and closes everything without leaving objects or
// processes behind. The document is served in process (afx_docserver.dll) and out of process
// (afx_oleserver.exe), both registered for the tests and removed afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxole.h"
#include "container_ids.h"
#include "ids.h"
#include "testprocess.h"

namespace {

class CContainerApp : public CWinApp {
 public:
  CContainerApp() : CWinApp("Container Test") {}
  std::vector<std::string> m_boxes;  // message boxes are recorded, not shown
  int DoMessageBox(LPCSTR prompt, UINT, UINT) override {
    m_boxes.push_back(prompt);
    return IDOK;
  }
} theApp;

class CContainerDoc : public COleDocument {
  DECLARE_DYNCREATE(CContainerDoc)
};
IMPLEMENT_DYNCREATE(CContainerDoc, COleDocument)

// The view the document object fills; it follows the view's size.
class CContainerView : public CView {
  DECLARE_DYNCREATE(CContainerView)
 public:
  void OnDraw(CDC*) override {}
  afx_msg void OnSize(UINT type, int cx, int cy) {
    CView::OnSize(type, cx, cy);
    COleDocument* doc = static_cast<COleDocument*>(GetDocument());
    if (COleClientItem* item = doc ? doc->GetInPlaceActiveItem(this) : NULL) item->SetItemRects();
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CContainerView, CView)
BEGIN_MESSAGE_MAP(CContainerView, CView)
  ON_WM_SIZE()
END_MESSAGE_MAP()

class CChildFrame : public CMDIChildWnd {
  DECLARE_DYNCREATE(CChildFrame)
};
IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)

class CMainFrame : public CMDIFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
};
IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)

class CContainerItem : public COleDocObjectItem {
 public:
  using COleDocObjectItem::COleDocObjectItem;
  int m_changes = 0;
  void OnChange(OLE_NOTIFICATION, DWORD) override { ++m_changes; }
  // What the document saw, from its report command.
  std::string Report() {
    VARIANT out;
    VariantInit(&out);
    if (FAILED(ExecCommand(kTestCommandReport, OLECMDEXECOPT_DONTPROMPTUSER, &CGID_OleTestReport, NULL, &out)) ||
        out.vt != VT_BSTR)
      return "(no report)";
    std::string report = LPCSTR(AfxStringFromBstr(out.bstrVal));
    VariantClear(&out);
    return report;
  }
};

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    if (!theApp.PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  for (LONG i = 0; theApp.OnIdle(i); ++i) {
  }
}

// Keeps the windows up for a look (ORV_UI_HOLD_SECONDS), answering messages meanwhile.
void HoldForScreenshot() {
  char value[16] = "";
  if (!GetEnvironmentVariableA("ORV_UI_HOLD_SECONDS", value, sizeof value)) return;
  DWORD until = GetTickCount() + DWORD(atoi(value)) * 1000;
  while (GetTickCount() < until) {
    Pump();
    Sleep(20);
  }
}

std::vector<std::string> MenuBar(HWND frame) {
  std::vector<std::string> names;
  HMENU bar = GetMenu(frame);
  for (int i = 0; i < GetMenuItemCount(bar); ++i) {
    char text[64] = "";
    GetMenuStringA(bar, UINT(i), text, sizeof text, MF_BYPOSITION);
    if (text[0]) names.push_back(text);  // the maximized child's system menu has none
  }
  return names;
}

int IndexOf(HMENU menu, LPCSTR text) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char name[64] = "";
    GetMenuStringA(menu, UINT(i), name, sizeof name, MF_BYPOSITION);
    if (lstrcmpA(name, text) == 0) return i;
  }
  return -1;
}

std::string Field(const std::string& report, const std::string& name) {
  size_t at = report.find(name + "=");
  if (at == std::string::npos) return "(missing)";
  at += name.size() + 1;
  return report.substr(at, report.find(';', at) - at);
}

HRESULT OpenPath(CContainerItem* item, LPCSTR path) {
  VARIANT in;
  in.vt = VT_BSTR;
  in.bstrVal = AfxAllocSysString(path);
  HRESULT hr = item->ExecCommand(kHostCommandOpen, OLECMDEXECOPT_DONTPROMPTUSER, &CGID_OleTestHost, &in, NULL);
  VariantClear(&in);
  return hr;
}

// A file of the test document's type in the temporary folder, holding text.
CString TempDocument(LPCSTR name, LPCSTR text) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  CString path = CString(folder) + name + OLETEST_DOC_EXTENSION;
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  DWORD written = 0;
  WriteFile(file, text, DWORD(lstrlenA(text)), &written, NULL);
  CloseHandle(file);
  return path;
}

typedef LONG(WINAPI* LiveObjectsProc)();

class ContainerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(AfxWinInit(GetModuleHandleA(NULL), NULL, const_cast<LPSTR>(""), SW_SHOW));
    ASSERT_TRUE(AfxOleInit());
    s_server = LoadLibraryA(BesideTest("afx_docserver.dll"));
    ASSERT_NE(nullptr, s_server);
    auto registerServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(s_server, "DllRegisterServer"));
    ASSERT_EQ(S_OK, registerServer());
    ASSERT_EQ(0u, RunToEnd("\"" + BesideTest("afx_oleserver.exe") + "\" /RegServer"));

    s_template = new CMultiDocTemplate(IDR_DOCTYPE, RUNTIME_CLASS(CContainerDoc), RUNTIME_CLASS(CChildFrame),
                                       RUNTIME_CLASS(CContainerView));
    s_template->SetContainerInfo(IDR_CNTR_INPLACE);
    theApp.AddDocTemplate(s_template);
    CMainFrame* frame = new CMainFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME));
    theApp.m_pMainWnd = frame;
    frame->MoveWindow(40, 30, 900, 620);
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    Pump();
  }
  static void TearDownTestSuite() {
    CWnd* frame = theApp.m_pMainWnd;
    if (frame && ::IsWindow(frame->m_hWnd)) {
      theApp.CloseAllDocuments(TRUE);
      frame->DestroyWindow();
    }
    theApp.m_pMainWnd = NULL;
    Pump();
    EXPECT_EQ(0, ServersLeft());
    RunToEnd("\"" + BesideTest("afx_oleserver.exe") + "\" /UnregServer");
    if (s_server) {
      auto unregisterServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(s_server, "DllUnregisterServer"));
      EXPECT_EQ(S_OK, unregisterServer());
      CLSID clsid;
      EXPECT_TRUE(FAILED(CLSIDFromProgID(L"" OLETEST_INPROC_DOC_PROGID, &clsid)));
      FreeLibrary(s_server);
    }
    AfxOleTerm();
  }

  void SetUp() override {
    doc = dynamic_cast<CContainerDoc*>(s_template->OpenDocumentFile(NULL));
    ASSERT_NE(nullptr, doc);
    POSITION pos = doc->GetFirstViewPosition();
    view = static_cast<CContainerView*>(doc->GetNextView(pos));
    ASSERT_NE(nullptr, view);
    Pump();
  }
  void TearDown() override {
    if (doc) doc->OnCloseDocument();
    Pump();
    EXPECT_EQ(0, LiveInProcess());
  }

  static LONG LiveInProcess() {
    auto live = reinterpret_cast<LiveObjectsProc>(GetProcAddress(s_server, "DocServerLiveObjects"));
    return live ? live() : -1;
  }
  static HWND MainFrame() { return theApp.m_pMainWnd->m_hWnd; }

  // A new item of clsid shown in place in the view.
  CContainerItem* Embed(REFCLSID clsid) {
    CContainerItem* item = new CContainerItem(doc);
    EXPECT_TRUE(item->CreateNewItem(clsid, OLERENDER_NONE));
    EXPECT_TRUE(item->DoVerb(OLEIVERB_SHOW, view));
    Pump();
    return item;
  }

  static HMODULE s_server;
  static CMultiDocTemplate* s_template;
  CContainerDoc* doc = nullptr;
  CContainerView* view = nullptr;
};

HMODULE ContainerTest::s_server = NULL;
CMultiDocTemplate* ContainerTest::s_template = NULL;

TEST_F(ContainerTest, AnObjectIsActiveInPlaceInAnMdiChildWithTheMenusMerged) {
  std::vector<std::string> ownMenu = MenuBar(MainFrame());
  CContainerItem* item = Embed(CLSID_OleTestInprocDocument);
  EXPECT_EQ(COleClientItem::activeUIState, item->GetItemState());
  EXPECT_EQ(item, doc->GetInPlaceActiveItem(view));
  EXPECT_EQ(item, doc->GetInPlaceActiveItem(view->GetParentFrame()));

  // The object's window fills the view.
  ASSERT_NE(nullptr, item->GetInPlaceWindow());
  HWND window = item->GetInPlaceWindow()->m_hWnd;
  EXPECT_EQ(view->m_hWnd, ::GetParent(window));
  CRect inPlace, client;
  ::GetClientRect(window, &inPlace);
  view->GetClientRect(&client);
  EXPECT_EQ(client.Size(), inPlace.Size());

  // The container's groups (File, Window) around the object's own popup.
  EXPECT_EQ((std::vector<std::string>{"&File", "&Test", "&Window"}), MenuBar(MainFrame()));
  EXPECT_EQ("merged", Field(item->Report(), "menu"));

  // Opening the object's popup reaches the object, and the frame leaves its commands alone; the container's
  // own popup gets the frame's update pass.
  HMENU bar = GetMenu(MainFrame());
  int test = IndexOf(bar, "&Test"), file = IndexOf(bar, "&File");
  HMENU objects = GetSubMenu(bar, test), containers = GetSubMenu(bar, file);
  ::SendMessageA(MainFrame(), WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
  ::SendMessageA(MainFrame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(containers), MAKELPARAM(file, FALSE));
  ::SendMessageA(MainFrame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(objects), MAKELPARAM(test, FALSE));
  EXPECT_EQ("1", Field(item->Report(), "initmenu"));
  EXPECT_EQ(0u, GetMenuState(objects, kDocCommandGreet, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_NE(0u, GetMenuState(containers, ID_NO_HANDLER, MF_BYCOMMAND) & MF_GRAYED);
  // Choosing the object's command from its open popup reaches the object.
  ::SendMessageA(MainFrame(), WM_MENUSELECT, MAKEWPARAM(kDocCommandGreet, MF_STRING), reinterpret_cast<LPARAM>(objects));
  ::PostMessageA(MainFrame(), WM_COMMAND, kDocCommandGreet, 0);
  Pump();
  EXPECT_EQ("1", Field(item->Report(), "commands"));

  // The host's open command with its path.
  EXPECT_EQ(DWORD(OLECMDF_SUPPORTED | OLECMDF_ENABLED), item->QueryCommand(kHostCommandOpen, &CGID_OleTestHost));
  EXPECT_EQ(S_OK, OpenPath(item, "C:\\letters\\note.txt"));
  EXPECT_EQ("C:\\letters\\note.txt", Field(item->Report(), "text"));

  // The object shows a dialog of its own: the frame takes no input meanwhile.
  VARIANT modal;
  modal.vt = VT_BOOL;
  modal.boolVal = VARIANT_FALSE;
  EXPECT_EQ(S_OK, item->ExecCommand(kTestCommandModal, 0, &CGID_OleTestReport, &modal, NULL));
  EXPECT_FALSE(::IsWindowEnabled(MainFrame()));
  modal.boolVal = VARIANT_TRUE;
  EXPECT_EQ(S_OK, item->ExecCommand(kTestCommandModal, 0, &CGID_OleTestReport, &modal, NULL));
  EXPECT_TRUE(::IsWindowEnabled(MainFrame()));
  // The program shows modal user interface of its own: the object stops its modeless windows meanwhile.
  theApp.EnableModeless(FALSE);
  EXPECT_EQ("0", Field(item->Report(), "modeless"));
  theApp.EnableModeless(TRUE);
  EXPECT_EQ("1", Field(item->Report(), "modeless"));
  // Keys in the object's window are offered to it before the container's accelerators.
  MSG key = {window, WM_KEYDOWN, 'A', 0};
  theApp.PreTranslateMessage(&key);
  EXPECT_NE("0", Field(item->Report(), "keys"));

  // The view's size reaches the object.
  view->GetParentFrame()->MoveWindow(0, 0, 500, 300);
  Pump();
  view->GetClientRect(&client);
  ::GetClientRect(window, &inPlace);
  EXPECT_EQ(client.Size(), inPlace.Size());
  HoldForScreenshot();

  item->Close();
  EXPECT_EQ(COleClientItem::loadedState, item->GetItemState());
  EXPECT_EQ(nullptr, doc->GetInPlaceActiveItem(view));
  Pump();
  EXPECT_EQ(ownMenu, MenuBar(MainFrame()));  // the document's own menu is back
  item->Delete();
  EXPECT_EQ(0, LiveInProcess());
  EXPECT_TRUE(theApp.m_boxes.empty());
}

TEST_F(ContainerTest, AServerThatRefusesTheCommandGetsTheFileThroughCreateFromFile) {
  CString path = TempDocument("note", "from the file");

  CContainerItem* item = Embed(CLSID_OleTestRefusingDocument);
  EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED, OpenPath(item, path));
  EXPECT_EQ(0u, item->QueryCommand(kHostCommandOpen, &CGID_OleTestHost));
  // What the host does then: the item is made from the file (its class from the file's extension).
  item->Delete();
  item = new CContainerItem(doc);
  ASSERT_TRUE(item->CreateFromFile(path, CLSID_NULL, OLERENDER_NONE));
  ASSERT_TRUE(item->DoVerb(OLEIVERB_SHOW, view));
  Pump();
  EXPECT_TRUE(item->IsInPlaceActive());
  std::string report = item->Report();
  EXPECT_EQ("from the file", Field(report, "text"));
  EXPECT_EQ(std::string(path), Field(report, "file"));  // the server opened the file itself
  item->Delete();
  DeleteFileA(path);
  // An item of a file nobody serves is not made.
  CContainerItem* none = new CContainerItem(doc);
  CString missing = TempDocument("missing", "");
  DeleteFileA(missing);
  EXPECT_FALSE(none->CreateFromFile(missing, CLSID_NULL, OLERENDER_NONE));
  EXPECT_EQ(COleClientItem::emptyState, none->GetItemState());
  none->Delete();
}

// A plain embedding (through the system's embedding functions) keeps a copy of a file's content in the
// item's storage.
TEST_F(ContainerTest, AnEmbeddingFromAFileHoldsACopyOfItsContent) {
  CString path = TempDocument("copy", "copied text");
  COleClientItem* item = new COleClientItem(doc);
  ASSERT_TRUE(item->CreateFromFile(path, CLSID_NULL, OLERENDER_NONE));
  DeleteFileA(path);  // the embedding does not need the file any more
  EXPECT_EQ(COleClientItem::loadedState, item->GetItemState());
  IOleCommandTarget* commands = NULL;
  ASSERT_EQ(S_OK, item->GetOleObject()->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&commands)));
  VARIANT out;
  VariantInit(&out);
  ASSERT_EQ(S_OK, commands->Exec(&CGID_OleTestReport, kTestCommandReport, 0, NULL, &out));
  std::string report = LPCSTR(AfxStringFromBstr(out.bstrVal));
  VariantClear(&out);
  commands->Release();
  EXPECT_EQ("copied text", Field(report, "text"));
  EXPECT_EQ("", Field(report, "file"));
  item->Delete();

  COleClientItem* fresh = new COleClientItem(doc);
  EXPECT_TRUE(fresh->CreateNewItem(CLSID_OleTestInprocDocument, OLERENDER_NONE));
  EXPECT_EQ(COleClientItem::loadedState, fresh->GetItemState());
  EXPECT_FALSE(fresh->CreateNewItem(CLSID_NULL, OLERENDER_NONE));  // nobody serves it: the item is empty
  EXPECT_EQ(COleClientItem::emptyState, fresh->GetItemState());
  fresh->Delete();
}

TEST_F(ContainerTest, AServerInAnotherProcessIsActiveInPlaceAndEndsWithTheItem) {
  CContainerItem* item = Embed(CLSID_OleTestDocument);
  EXPECT_EQ(COleClientItem::activeUIState, item->GetItemState());
  std::string report = item->Report();
  DWORD serverId = DWORD(atol(Field(report, "process").c_str()));
  ASSERT_NE(0u, serverId);
  EXPECT_NE(GetCurrentProcessId(), serverId);
  HANDLE server = OpenProcess(SYNCHRONIZE, FALSE, serverId);

  // The object's window, a child of the view, belongs to the server.
  ASSERT_NE(nullptr, item->GetInPlaceWindow());
  HWND window = item->GetInPlaceWindow()->m_hWnd;
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  EXPECT_EQ(serverId, owner);
  EXPECT_EQ(view->m_hWnd, ::GetParent(window));
  EXPECT_TRUE(::IsWindowVisible(window));
  CRect inPlace, client;
  ::GetClientRect(window, &inPlace);
  view->GetClientRect(&client);
  EXPECT_EQ(client.Size(), inPlace.Size());
  // Where menus cannot cross processes (Wine) the object goes without one and the frame keeps its own.
  std::vector<std::string> bar = MenuBar(MainFrame());
  if (Field(report, "menu") == "merged")
    EXPECT_EQ((std::vector<std::string>{"&File", "&Test", "&Window"}), bar);
  else
    EXPECT_EQ((std::vector<std::string>{"&File", "&Edit", "&Window", "&Help"}), bar);

  EXPECT_EQ(S_OK, OpenPath(item, "D:\\scans\\page one.tif"));
  EXPECT_EQ("D:\\scans\\page one.tif", Field(item->Report(), "text"));
  HoldForScreenshot();
  // The server paints its window (where the system composes another process's child windows, it shows).
  EXPECT_NE("0", Field(item->Report(), "paints"));

  item->Close();
  item->Delete();
  Pump();
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(server, 15000));  // nothing is left running
  CloseHandle(server);
}

}  // namespace
