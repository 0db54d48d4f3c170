// Drag and drop between two windows of this program, and the clipboard: a data source offers two files as
// CF_HDROP and "Shell IDList Array"; a scripted drop source moves the cursor over a view registered as a
// drop target and drops there with the keys the test holds; the clipboard carries CF_TEXT and a registered
// format, cached and rendered on demand.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <shlwapi.h>

#include "afxole.h"

namespace {

CString TempFolder() {
  char path[MAX_PATH];
  GetTempPathA(MAX_PATH, path);
  CString folder = CString(path) + "afxoletest";
  CreateDirectoryA(folder, NULL);
  return folder;
}

CString MakeFile(const CString& folder, LPCSTR name) {
  CString path = folder + "\\" + name;
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  CloseHandle(file);
  return path;
}

CLIPFORMAT ShellIdListFormat() { return CLIPFORMAT(RegisterClipboardFormatA(CFSTR_SHELLIDLIST)); }

// The target view: what the drag showed it, and the effect chosen by the keys (Ctrl copies, Shift or no key
// moves), for file lists only.
class CDropView : public CView {
  DECLARE_DYNCREATE(CDropView)
 public:
  int m_enters = 0, m_leaves = 0;
  DWORD m_keyState = 0;
  CStringArray m_files;
  BOOL m_sawShellIdList = FALSE;
  DROPEFFECT m_dropped = DROPEFFECT_NONE;

  DROPEFFECT Choose(COleDataObject* data, DWORD keyState) {
    if (!data->IsDataAvailable(CF_HDROP)) return DROPEFFECT_NONE;
    return (keyState & MK_CONTROL) && !(keyState & MK_SHIFT) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
  }
  DWORD OnDragEnter(COleDataObject* data, DWORD keyState, CPoint) override {
    ++m_enters;
    return Choose(data, keyState);
  }
  DWORD OnDragOver(COleDataObject* data, DWORD keyState, CPoint) override {
    m_keyState = keyState;
    return Choose(data, keyState);
  }
  void OnDragLeave() override { ++m_leaves; }
  BOOL OnDrop(COleDataObject* data, DWORD effect, CPoint) override {
    m_dropped = effect;
    m_sawShellIdList = data->IsDataAvailable(ShellIdListFormat());
    return data->GetFileNames(m_files);
  }
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CDropView, CView)

// Drives the drag without a hand on the mouse: moves the cursor over the target, lets it see the drag a
// few times, then drops (or calls the drag off).
class CScriptedSource : public COleDropSource {
 public:
  CPoint m_target;
  BOOL m_cancel = FALSE;
  int m_calls = 0;
  SCODE QueryContinueDrag(BOOL, DWORD) override {
    if (++m_calls == 1) SetCursorPos(m_target.x, m_target.y);
    if (m_calls < 4) return S_OK;
    return m_cancel ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
  }
};

// Holds keys down for the thread (what the drag reads as the key state) while it lives.
class HeldKeys {
 public:
  explicit HeldKeys(std::initializer_list<int> keys) {
    GetKeyboardState(m_saved);
    BYTE state[256];
    memcpy(state, m_saved, sizeof state);
    state[VK_LBUTTON] = 0x80;
    for (int key : keys) state[key] = 0x80;
    SetKeyboardState(state);
  }
  ~HeldKeys() { SetKeyboardState(m_saved); }

 private:
  BYTE m_saved[256];
};

class DragDropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = TempFolder();
    names.Add("first.jpg");
    names.Add("second.png");
    for (INT_PTR i = 0; i < names.GetSize(); ++i) paths.Add(MakeFile(folder, names[i]));

    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CDropView);
    target = new CFrameWnd;
    ASSERT_TRUE(target->Create(NULL, "Drop here", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(500, 100, 900, 400), NULL,
                               NULL, 0, &context));
    view = dynamic_cast<CDropView*>(target->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
    ASSERT_NE(nullptr, view);
    ASSERT_TRUE(dropTarget.Register(view));
    source = new CFrameWnd;
    ASSERT_TRUE(source->Create(NULL, "Drag from here", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(50, 100, 400, 400)));
    source->SetForegroundWindow();
    Pump();
  }
  void TearDown() override {
    dropTarget.Revoke();
    if (target && target->m_hWnd) target->DestroyWindow();
    if (source && source->m_hWnd) source->DestroyWindow();
    for (INT_PTR i = 0; i < paths.GetSize(); ++i) DeleteFileA(paths[i]);
    RemoveDirectoryA(folder);
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  COleDataSource* FilesSource() {
    COleDataSource* data = new COleDataSource;
    data->CacheGlobalData(CF_HDROP, AfxCreateDropFiles(paths));
    HGLOBAL ids = AfxCreateShellIDList(folder, names);
    EXPECT_NE(nullptr, ids);
    data->CacheGlobalData(ShellIdListFormat(), ids);
    return data;
  }
  CPoint TargetCenter() {
    CRect r;
    view->GetWindowRect(&r);
    return r.CenterPoint();
  }

  CString folder;
  CStringArray names, paths;
  CFrameWnd* target = nullptr;
  CFrameWnd* source = nullptr;
  CDropView* view = nullptr;
  COleDropTarget dropTarget;
};

TEST_F(DragDropTest, TheTargetGetsBothFilesWithTheEffectTheKeysChose) {
  struct Case {
    const char* keys;
    std::initializer_list<int> held;
    DROPEFFECT expected;
  } cases[] = {
      {"Ctrl", {VK_CONTROL}, DROPEFFECT_COPY},
      {"Shift", {VK_SHIFT}, DROPEFFECT_MOVE},
      {"none", {}, DROPEFFECT_MOVE},
  };
  for (const Case& c : cases) {
    view->m_files.RemoveAll();
    view->m_dropped = DROPEFFECT_NONE;
    COleDataSource* data = FilesSource();
    CScriptedSource script;
    script.m_target = TargetCenter();
    DROPEFFECT effect;
    {
      HeldKeys keys(c.held);
      CRect noWait;  // the drag starts at once
      effect = data->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, &noWait, &script);
    }
    data->InternalRelease();
    EXPECT_EQ(c.expected, effect) << c.keys;
    EXPECT_EQ(c.expected, view->m_dropped) << c.keys;
    ASSERT_EQ(2, view->m_files.GetSize()) << c.keys;
    EXPECT_STREQ(paths[0], view->m_files[0]);
    EXPECT_STREQ(paths[1], view->m_files[1]);
    EXPECT_TRUE(view->m_sawShellIdList) << c.keys;
  }
  EXPECT_EQ(3, view->m_enters);
}

TEST_F(DragDropTest, AnEffectTheSourceDoesNotAllowIsNotChosen) {
  COleDataSource* data = FilesSource();
  CScriptedSource script;
  script.m_target = TargetCenter();
  HeldKeys keys({VK_CONTROL});
  CRect noWait;
  // The view would copy; the source allows only moving.
  EXPECT_EQ(DROPEFFECT_NONE, data->DoDragDrop(DROPEFFECT_MOVE, &noWait, &script));
  EXPECT_EQ(0, view->m_files.GetSize());
  data->InternalRelease();
}

TEST_F(DragDropTest, ACancelledDragDropsNothingAndTheTargetIsLeft) {
  COleDataSource* data = FilesSource();
  CScriptedSource script;
  script.m_target = TargetCenter();
  script.m_cancel = TRUE;
  HeldKeys keys({});
  CRect noWait;
  EXPECT_EQ(DROPEFFECT_NONE, data->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, &noWait, &script));
  EXPECT_EQ(1, view->m_enters);
  EXPECT_EQ(1, view->m_leaves);
  EXPECT_EQ(0, view->m_files.GetSize());
  data->InternalRelease();
}

TEST_F(DragDropTest, TheShellIdListHoldsTheFolderAndEachFile) {
  HGLOBAL ids = AfxCreateShellIDList(folder, names);
  ASSERT_NE(nullptr, ids);
  const BYTE* base = static_cast<const BYTE*>(GlobalLock(ids));
  const CIDA* cida = reinterpret_cast<const CIDA*>(base);
  ASSERT_EQ(2u, cida->cidl);
  IShellFolder* desktop = NULL;
  ASSERT_EQ(S_OK, SHGetDesktopFolder(&desktop));
  IShellFolder* parent = NULL;
  ASSERT_EQ(S_OK, desktop->BindToObject(reinterpret_cast<LPCITEMIDLIST>(base + cida->aoffset[0]), NULL, IID_IShellFolder,
                                        reinterpret_cast<void**>(&parent)));
  for (UINT i = 0; i < cida->cidl; ++i) {
    STRRET name;
    ASSERT_EQ(S_OK, parent->GetDisplayNameOf(reinterpret_cast<LPCITEMIDLIST>(base + cida->aoffset[i + 1]),
                                             SHGDN_FORPARSING, &name));
    char text[MAX_PATH];
    ASSERT_EQ(S_OK, StrRetToBufA(&name, NULL, text, MAX_PATH));
    EXPECT_STREQ(paths[INT_PTR(i)], text);
  }
  parent->Release();
  desktop->Release();
  GlobalUnlock(ids);
  GlobalFree(ids);
  // A name the shell does not know gives no list.
  CStringArray missing;
  missing.Add("not there.jpg");
  EXPECT_EQ(nullptr, AfxCreateShellIDList(folder + "\\no such folder", missing));
}

TEST_F(DragDropTest, TheDragStartsOnlyWhenTheMouseLeavesTheStartRectangle) {
  CRect start(100, 100, 120, 120);  // screen coordinates; the source window's client origin lies elsewhere
  struct Case {
    const char* what;
    UINT message;
    WPARAM wParam;
    CPoint screen;
    BOOL started;
  } cases[] = {
      {"moved out", WM_MOUSEMOVE, MK_LBUTTON, CPoint(300, 300), TRUE},
      {"released", WM_LBUTTONUP, 0, CPoint(110, 110), FALSE},
      {"escape", WM_KEYDOWN, VK_ESCAPE, CPoint(110, 110), FALSE},
  };
  for (const Case& c : cases) {
    COleDropSource drop;
    drop.m_rectStartDrag = start;
    // A move inside the rectangle first: it does not start the drag.
    CPoint inside(110, 110);
    source->ScreenToClient(&inside);
    source->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(inside.x, inside.y));
    CPoint at = c.screen;
    source->ScreenToClient(&at);
    source->PostMessage(c.message, c.wParam, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(c.started, drop.OnBeginDrag(source)) << c.what;
    EXPECT_NE(source->m_hWnd, ::GetCapture()) << c.what;
  }
}

// A source that renders its text only when a reader asks.
class CDelayedText : public COleDataSource {
 public:
  static int s_renders;
  BOOL OnRenderGlobalData(LPFORMATETC formatEtc, HGLOBAL* global) override {
    if (formatEtc->cfFormat != CF_TEXT) return FALSE;
    ++s_renders;
    *global = GlobalAlloc(GMEM_MOVEABLE, 8);
    lstrcpyA(static_cast<LPSTR>(GlobalLock(*global)), "later");
    GlobalUnlock(*global);
    return TRUE;
  }
};
int CDelayedText::s_renders = 0;

CString ClipboardText() {
  CString text;
  if (!OpenClipboard(NULL)) return "(clipboard not open)";
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data) {
    text = static_cast<LPCSTR>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

HGLOBAL GlobalText(LPCSTR text) {
  HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(lstrlenA(text)) + 1);
  lstrcpyA(static_cast<LPSTR>(GlobalLock(global)), text);
  GlobalUnlock(global);
  return global;
}

TEST(ClipboardTest, TextAndARegisteredFormatMakeTheRoundTrip) {
  CLIPFORMAT fileName = CLIPFORMAT(RegisterClipboardFormatA("FileName"));
  COleDataSource* data = new COleDataSource;
  data->CacheGlobalData(CF_TEXT, GlobalText("hello"));
  data->CacheGlobalData(fileName, GlobalText("C:\\pictures\\one.jpg"));
  data->SetClipboard();
  EXPECT_EQ(data, COleDataSource::GetClipboardOwner());

  COleDataObject clipboard;
  ASSERT_TRUE(clipboard.AttachClipboard());
  EXPECT_TRUE(clipboard.IsDataAvailable(CF_TEXT));
  EXPECT_TRUE(clipboard.IsDataAvailable(fileName));
  EXPECT_FALSE(clipboard.IsDataAvailable(CF_BITMAP));
  HGLOBAL name = clipboard.GetGlobalData(fileName);
  ASSERT_NE(nullptr, name);
  EXPECT_STREQ("C:\\pictures\\one.jpg", static_cast<LPCSTR>(GlobalLock(name)));
  GlobalUnlock(name);
  GlobalFree(name);
  int formats = 0;
  FORMATETC format;
  for (clipboard.BeginEnumFormats(); clipboard.GetNextFormat(&format);)
    if (format.cfFormat == CF_TEXT || format.cfFormat == fileName) ++formats;
  EXPECT_EQ(2, formats);
  clipboard.Release();
  // The system's clipboard has it too, and keeps it once this program's source is flushed out.
  EXPECT_STREQ("hello", ClipboardText());
  COleDataSource::FlushClipboard();
  EXPECT_EQ(nullptr, COleDataSource::GetClipboardOwner());
  EXPECT_STREQ("hello", ClipboardText());
}

TEST(ClipboardTest, ADelayedFormatIsRenderedWhenRead) {
  CDelayedText::s_renders = 0;
  COleDataSource* data = new CDelayedText;
  data->DelayRenderData(CF_TEXT);
  data->SetClipboard();
  EXPECT_EQ(0, CDelayedText::s_renders);
  COleDataObject clipboard;
  ASSERT_TRUE(clipboard.AttachClipboard());
  HGLOBAL text = clipboard.GetGlobalData(CF_TEXT);
  ASSERT_NE(nullptr, text);
  EXPECT_STREQ("later", static_cast<LPCSTR>(GlobalLock(text)));
  GlobalUnlock(text);
  GlobalFree(text);
  EXPECT_GE(CDelayedText::s_renders, 1);
  clipboard.Release();
  OleSetClipboard(NULL);  // the clipboard lets go of the source
}

}  // namespace
