// Documents: saving through a temporary that replaces the file only when complete, documents that keep
// their data elsewhere (GetFile/ReleaseFile), hidden new documents; views preparing a device context for
// a printed page (test code, not product).
#include <string>
#include <vector>
#include "ui_app.h"

namespace {

CString ReadText(LPCSTR path) {
  CFile f(path, CFile::modeRead);
  CArchive ar(&f, CArchive::load);
  CString text;
  ar >> text;
  return text;
}

void WriteText(LPCSTR path, LPCSTR text) {
  CFile f(path, CFile::modeCreate | CFile::modeWrite);
  CArchive ar(&f, CArchive::store);
  ar << CString(text);
  ar.Close();
}

// The names in path's folder that start with path's file name (the file and anything written beside it).
std::vector<std::string> FilesBeside(LPCSTR path) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(CString(path) + "*", &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

CTextDoc* HiddenTextDocument(CDocTemplate* t) { return static_cast<CTextDoc*>(t->OpenDocumentFile(NULL, FALSE)); }

TEST_F(FrameworkUi, SavingReplacesTheFileOnlyWhenComplete) {
  CString path = TempFile("afx_ui_save.txt");
  CString stranger = path + ".~sav";  // another program's file beside the document
  WriteText(path, "old");
  WriteText(stranger, "not the document's");
  CTextDoc* doc = HiddenTextDocument(Template(0));
  ASSERT_NE(nullptr, doc);

  doc->m_text = "new";
  EXPECT_TRUE(doc->OnSaveDocument(path));
  EXPECT_EQ(CString("new"), ReadText(path));
  EXPECT_EQ(CString("not the document's"), ReadText(stranger));
  EXPECT_EQ(2u, FilesBeside(path).size());

  // A save that fails half way leaves the file as it was, and nothing beside it.
  theApp.m_boxes.clear();
  doc->m_text = "half";
  doc->m_failWriting = TRUE;
  EXPECT_FALSE(doc->OnSaveDocument(path));
  doc->m_failWriting = FALSE;
  EXPECT_EQ(CString("new"), ReadText(path));
  EXPECT_EQ(2u, FilesBeside(path).size());
  ASSERT_EQ(1u, theApp.m_boxes.size());
  EXPECT_EQ("An unknown error occurred while accessing " + std::string(LPCSTR(path)) + ".", theApp.m_boxes[0]);

  // A read-only file is not replaced.
  theApp.m_boxes.clear();
  SetFileAttributesA(path, FILE_ATTRIBUTE_READONLY);
  doc->m_text = "locked";
  EXPECT_FALSE(doc->OnSaveDocument(path));
  SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(CString("new"), ReadText(path));
  EXPECT_EQ(2u, FilesBeside(path).size());
  ASSERT_EQ(1u, theApp.m_boxes.size());
  EXPECT_EQ("Access to " + std::string(LPCSTR(path)) + " was denied.", theApp.m_boxes[0]);

  doc->OnCloseDocument();
  DeleteFileA(path);
  DeleteFileA(stranger);
}

// A document kept in memory instead of a file, as an OLE document keeps its data in a storage.
class CMemoryTextDoc : public CTextDoc {
 public:
  CMemFile m_store;
  int m_released = 0;
  CFile* GetFile(LPCSTR, UINT openFlags, CFileException*) override {
    if (openFlags & CFile::modeCreate) m_store.SetLength(0);
    m_store.SeekToBegin();
    return &m_store;
  }
  void ReleaseFile(CFile*, BOOL) override { ++m_released; }
};

TEST_F(FrameworkUi, DocumentsChooseWhereTheirDataLives) {
  CMemoryTextDoc doc;
  doc.m_bAutoDelete = FALSE;
  LPCSTR nowhere = "C:\\no such folder\\memory.txt";
  doc.m_text = "kept in memory";
  EXPECT_TRUE(doc.OnSaveDocument(nowhere));
  EXPECT_GT(doc.m_store.GetLength(), 0u);
  doc.m_text.Empty();
  EXPECT_TRUE(doc.OnOpenDocument(nowhere));
  EXPECT_EQ(CString("kept in memory"), doc.m_text);
  EXPECT_EQ(2, doc.m_released);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(nowhere));
}

TEST_F(FrameworkUi, HiddenNewDocumentsAreNotEmbedded) {
  CTextDoc* doc = HiddenTextDocument(Template(0));
  ASSERT_NE(nullptr, doc);
  EXPECT_FALSE(doc->m_bEmbedded);
  POSITION pos = doc->GetFirstViewPosition();
  CFrameWnd* frame = doc->GetNextView(pos)->GetParentFrame();
  EXPECT_FALSE(frame->IsWindowVisible());
  doc->OnCloseDocument();
  Pump();
}

TEST_F(FrameworkUi, ViewsPreparePrintedPagesFromTheTop) {
  CCreateContext context;
  context.m_pNewViewClass = RUNTIME_CLASS(CPictureView);
  CFrameWnd* frame = new CFrameWnd;
  ASSERT_TRUE(frame->Create(NULL, "Pages", WS_OVERLAPPEDWINDOW, CRect(60, 60, 460, 360), NULL, NULL, 0, &context));
  frame->InitialUpdateFrame(NULL, TRUE);
  Pump();
  CPictureView* view = static_cast<CPictureView*>(frame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
  ASSERT_NE(nullptr, view);
  view->ScrollToPosition(CPoint(100, 50));
  CClientDC dc(view);
  view->OnPrepareDC(&dc);
  EXPECT_EQ(CPoint(-100, -50), dc.GetViewportOrg());
  // A page starts at the document's top left, whatever the screen shows.
  CDC page;
  ASSERT_TRUE(page.CreateCompatibleDC(&dc));
  CPrintInfo first;
  view->OnPrepareDC(&page, &first);
  EXPECT_EQ(CPoint(0, 0), page.GetViewportOrg());
  // Without a page count a pass prints its first page only; with one it goes on to the last.
  struct Case { UINT maxPage, page; BOOL goesOn; } cases[] = {
      {CPrintInfo::kUnknownPage, 1, TRUE}, {CPrintInfo::kUnknownPage, 2, FALSE}, {3, 2, TRUE}};
  for (const Case& c : cases) {
    CPrintInfo info;
    info.SetMaxPage(c.maxPage);
    info.m_nCurPage = c.page;
    view->OnPrepareDC(&page, &info);
    EXPECT_EQ(c.goesOn, info.m_bContinuePrinting) << c.maxPage << " " << c.page;
  }
  frame->DestroyWindow();
  Pump();
}

}  // namespace
