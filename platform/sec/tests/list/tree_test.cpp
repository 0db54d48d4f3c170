// The tree view as the Gallery's folder tree uses it: a folder tree on disk shown with the shell's small
// icons, each folder's children read the first time it opens, a path of four levels found, selected and
// scrolled into view, a folder renamed by editing its label in place, a refreshed folder showing a new
// subfolder, and every node's data freed when nodes or the view go.
#include <gtest/gtest.h>

#include <map>

#include "listui.h"
#include "sectree.h"

#include <shellapi.h>

namespace {

int g_liveData = 0;  // folder paths held by nodes

// A folder tree: each node holds its folder's path; children are the subfolders, read on demand.
class CFolderTree : public SECTreeView {
  DECLARE_DYNCREATE(CFolderTree)
 public:
  std::map<CString, int> m_populated;  // folder path -> times read
  int m_deleted = 0;
  CString m_lastEdit;
  HIMAGELIST m_systemImages = NULL;

  static CString PathOf(SECTreeNode* node) { return *static_cast<CString*>(node->GetData()); }

  SECTreeNode* AddFolder(SECTreeNode* parent, const CString& path, LPCSTR name) {
    SHFILEINFOA info = {};
    m_systemImages = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    SHFILEINFOA open = {};
    SHGetFileInfoA(path, 0, &open, sizeof open, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
    ++g_liveData;
    return InsertNode(parent, name, info.iIcon, open.iIcon, new CString(path), TRUE);
  }

 protected:
  void OnPopulate(SECTreeNode* node) override {
    CString folder = PathOf(node);
    ++m_populated[folder];
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder + "\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
        AddFolder(node, folder + "\\" + found.cFileName, found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  BOOL OnBeginLabelEdit(SECTreeNode* node) override { return node->GetParent() != NULL; }  // not the top folder
  BOOL OnEndLabelEdit(SECTreeNode* node, LPCSTR text) override {
    m_lastEdit = text;
    if (!*text || strpbrk(text, "\\/:*?\"<>|")) return FALSE;
    CString path = PathOf(node);
    CString renamed = path.Left(path.ReverseFind('\\') + 1) + text;
    if (!MoveFileA(path, renamed)) return FALSE;
    *static_cast<CString*>(node->GetData()) = renamed;
    return TRUE;
  }
  void OnDeleteNode(SECTreeNode* node) override {
    ++m_deleted;
    --g_liveData;
    delete static_cast<CString*>(node->GetData());
  }
};
IMPLEMENT_DYNCREATE(CFolderTree, SECTreeView)

// Folders three wide at the first level and two wide below, four levels deep under the top folder.
const LPCSTR kFolders[] = {
    "Albums",         "Albums\\2023",          "Albums\\2023\\Summer",       "Albums\\2023\\Summer\\Beach",
    "Albums\\2024",   "Albums\\2024\\Winter",  "Albums\\2024\\Winter\\Snow", "Albums\\2024\\Winter\\Snow\\Sledging",
    "Scans",          "Scans\\Letters",        "Video",
};

class TreeViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    top = CString(temp) + "sectree";
    RemoveTree(top);
    ASSERT_TRUE(CreateDirectoryA(top, NULL));
    for (LPCSTR folder : kFolders) ASSERT_TRUE(CreateDirectoryA(top + "\\" + folder, NULL)) << folder;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CFolderTree);
    frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(NULL, "Folders", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(60, 60, 360, 360), NULL, NULL, 0,
                              &context));
    tree = dynamic_cast<CFolderTree*>(frame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
    ASSERT_NE(nullptr, tree);
    root = tree->AddFolder(NULL, top, "sectree");
    ASSERT_NE(nullptr, root);
    tree->SetImageList(tree->m_systemImages);
    frame->SetForegroundWindow();
    sectest::Pump();
  }
  void TearDown() override {
    if (frame && frame->m_hWnd) frame->DestroyWindow();
    sectest::Pump();
    EXPECT_EQ(0, g_liveData);  // the view freed every node's data as it went
    RemoveTree(top);
  }
  static void RemoveTree(const CString& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder + "\\*", &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if (found.cFileName[0] != '.') RemoveTree(folder + "\\" + found.cFileName);
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(folder);
  }
  int ChildCount(SECTreeNode* node) {
    int count = 0;
    for (SECTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) ++count;
    return count;
  }
  // What the tree shows for a node: its text and whether it offers an expand button.
  CString ItemText(SECTreeNode* node, int* children = NULL) {
    char text[MAX_PATH] = "";
    TVITEMA item = {};
    item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_HANDLE;
    item.hItem = node->GetHandle();
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    TreeView_GetItem(tree->m_hWnd, &item);
    if (children) *children = item.cChildren;
    return text;
  }

  CString top;
  CFrameWnd* frame = nullptr;
  CFolderTree* tree = nullptr;
  SECTreeNode* root = nullptr;
};

TEST_F(TreeViewTest, AFolderIsReadTheFirstTimeItOpensAndAnEmptyOneLosesItsButton) {
  EXPECT_TRUE(tree->m_populated.empty());
  int button = 0;
  ItemText(root, &button);
  EXPECT_EQ(1, button);
  EXPECT_FALSE(root->IsPopulated());
  // Opened by a click on its button, as the user does.
  CRect row;
  ASSERT_TRUE(tree->GetNodeRect(root, row, TRUE));
  UINT flags = 0;
  EXPECT_EQ(root, tree->NodeFromPoint(row.CenterPoint(), &flags));
  EXPECT_TRUE(flags & TVHT_ONITEMLABEL);
  ASSERT_TRUE(tree->Expand(root));
  EXPECT_TRUE(root->IsExpanded());
  EXPECT_EQ(1, tree->m_populated[top]);
  EXPECT_EQ(3, ChildCount(root));
  SECTreeNode* video = tree->FindChild(root, "Video", FALSE);
  ASSERT_NE(nullptr, video);
  EXPECT_FALSE(video->IsPopulated());  // its children are not read yet
  EXPECT_EQ(root, video->GetParent());
  // Closed and opened again: not read again.
  tree->Expand(root, TVE_COLLAPSE);
  tree->Expand(root, TVE_EXPAND);
  EXPECT_EQ(1, tree->m_populated[top]);
  // A folder without subfolders loses its button when it is opened.
  ItemText(video, &button);
  EXPECT_EQ(1, button);
  tree->Expand(video);
  ItemText(video, &button);
  EXPECT_EQ(0, button);
  EXPECT_EQ(nullptr, video->GetFirstChild());
  // The nodes carry the shell's small folder icons, closed and open.
  SHFILEINFOA closed = {}, open = {};
  SHGetFileInfoA(top, 0, &closed, sizeof closed, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  SHGetFileInfoA(top, 0, &open, sizeof open, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
  EXPECT_EQ(closed.iIcon, video->GetImage());
  EXPECT_EQ(open.iIcon, video->GetSelectedImage());
  EXPECT_EQ(tree->m_systemImages, TreeView_GetImageList(tree->m_hWnd, TVSIL_NORMAL));
}

TEST_F(TreeViewTest, APathOfFourLevelsIsFoundSelectedAndScrolledIntoView) {
  CStringArray parts;
  for (LPCSTR part : {"sectree", "albums", "2024", "WINTER", "Snow", "Sledging"}) parts.Add(part);
  int found = 0;
  SECTreeNode* node = tree->FindPath(parts, &found);
  ASSERT_NE(nullptr, node);
  EXPECT_EQ(6, found);
  EXPECT_STREQ("Sledging", node->GetText());
  EXPECT_STREQ(top + "\\Albums\\2024\\Winter\\Snow\\Sledging", CFolderTree::PathOf(node));
  // Only the folders on the way were read.
  EXPECT_EQ(5u, tree->m_populated.size());
  EXPECT_EQ(0, tree->m_populated.count(top + "\\Albums\\2023"));
  ASSERT_TRUE(tree->SelectNode(node));
  ASSERT_TRUE(tree->EnsureVisible(node));
  sectest::Pump();
  EXPECT_EQ(node, tree->GetSelectedNode());
  for (SECTreeNode* above = node->GetParent(); above; above = above->GetParent())
    EXPECT_TRUE(above->IsExpanded()) << LPCSTR(above->GetText());
  CRect row, client;
  ASSERT_TRUE(tree->GetNodeRect(node, row, TRUE));
  tree->GetClientRect(&client);
  EXPECT_TRUE(CRect().IntersectRect(&row, &client));
  // A path that stops early gives the deepest folder found and how many parts were.
  parts[4] = "Ice";
  node = tree->FindPath(parts, &found);
  ASSERT_NE(nullptr, node);
  EXPECT_EQ(4, found);
  EXPECT_STREQ("Winter", node->GetText());
  parts[0] = "elsewhere";
  EXPECT_EQ(nullptr, tree->FindPath(parts, &found));
  EXPECT_EQ(0, found);
  sectest::HoldForScreenshot();
}

TEST_F(TreeViewTest, ALabelEditedInPlaceRenamesTheFolderWhenTheOwnerAccepts) {
  CStringArray parts;
  for (LPCSTR part : {"sectree", "Scans", "Letters"}) parts.Add(part);
  SECTreeNode* letters = tree->FindPath(parts);
  ASSERT_NE(nullptr, letters);
  tree->SelectNode(letters);
  // Committed.
  HWND edit = tree->EditLabel(letters);
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(letters, tree->GetEditNode());
  SetWindowTextA(edit, "Invoices");
  ASSERT_TRUE(tree->EndEditLabel(FALSE));
  sectest::Pump();
  EXPECT_STREQ("Invoices", tree->m_lastEdit);
  EXPECT_STREQ("Invoices", letters->GetText());
  EXPECT_STREQ("Invoices", ItemText(letters));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(top + "\\Scans\\Invoices"));
  EXPECT_EQ(nullptr, tree->GetEditNode());
  // Cancelled, and refused by the owner: the label stays.
  struct Case {
    LPCSTR typed;
    BOOL cancel;
  } cases[] = {{"Receipts", TRUE}, {"Bad:name", FALSE}, {"", FALSE}};
  for (const Case& c : cases) {
    edit = tree->EditLabel(letters);
    ASSERT_NE(nullptr, edit) << c.typed;
    SetWindowTextA(edit, c.typed);
    EXPECT_TRUE(tree->EndEditLabel(c.cancel)) << c.typed;
    EXPECT_EQ(nullptr, TreeView_GetEditControl(tree->m_hWnd)) << c.typed;
    sectest::Pump();
    EXPECT_STREQ("Invoices", letters->GetText()) << c.typed;
    EXPECT_STREQ("Invoices", ItemText(letters)) << c.typed;
  }
  // The owner refuses editing the top folder's label.
  EXPECT_EQ(nullptr, tree->EditLabel(root));
  EXPECT_EQ(nullptr, tree->GetEditNode());
}

TEST_F(TreeViewTest, ARefreshedFolderShowsANewSubfolderAndNodesFreeTheirDataAsTheyGo) {
  tree->Expand(root);
  SECTreeNode* scans = tree->FindChild(root, "Scans");
  ASSERT_NE(nullptr, scans);
  tree->Expand(scans);
  ASSERT_TRUE(CreateDirectoryA(top + "\\Scans\\New folder", NULL));
  EXPECT_EQ(nullptr, tree->FindChild(scans, "New folder"));
  int deletedBefore = tree->m_deleted;
  ASSERT_TRUE(tree->Refresh(scans));
  EXPECT_EQ(deletedBefore + 1, tree->m_deleted);  // "Letters" went and came back
  EXPECT_EQ(2, tree->m_populated[top + "\\Scans"]);
  EXPECT_TRUE(scans->IsExpanded());
  SECTreeNode* fresh = tree->FindChild(scans, "new FOLDER");
  ASSERT_NE(nullptr, fresh);
  tree->SelectNode(fresh);
  EXPECT_EQ(fresh, tree->GetSelectedNode());
  // Deleting a folder's node takes its subtree: each node's data is freed once.
  int before = tree->GetNodeCount();
  deletedBefore = tree->m_deleted;
  ASSERT_TRUE(tree->DeleteNode(scans));
  EXPECT_EQ(before - 3, tree->GetNodeCount());
  EXPECT_EQ(deletedBefore + 3, tree->m_deleted);
  EXPECT_EQ(nullptr, tree->FindChild(root, "Scans", FALSE));
  EXPECT_FALSE(tree->DeleteNode(scans));  // gone: not the view's any more
  EXPECT_EQ(g_liveData, tree->GetNodeCount());
  // The rest goes with the view (TearDown checks that nothing is left).
}

}  // namespace
