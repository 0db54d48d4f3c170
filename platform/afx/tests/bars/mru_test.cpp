// Recent files: moving an entry up instead of repeating it, writing and reading under the caller's section
// and entry format, shortened names, the menu items and their commands (test code, not product).
#include "bars_app.h"

namespace {

const char kSection[] = "MRU";
const char kFormat[] = "Folder%d";

std::string RegistryValue(LPCSTR section, LPCSTR name) {
  std::string key = std::string("Software\\OrvaneAfxBarsTest\\Bars Test\\") + section;
  char value[MAX_PATH] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, NULL, value, &size) != ERROR_SUCCESS) return "";
  return value;
}

TEST_F(BarsUi, RecentFilesMoveAnEntryUpWithoutRepeatingIt) {
  CRecentFileList list(0, kSection, kFormat, 4);
  list.Add("C:\\pics\\a.jpg");
  list.Add("C:\\pics\\b.jpg");
  list.Add("C:\\pics\\c.jpg");
  list.Add("c:\\PICS\\holiday\\..\\A.JPG");  // the same file, written another way
  EXPECT_TRUE(AfxComparePath(list[0], "C:\\pics\\a.jpg"));
  EXPECT_EQ(CString("C:\\pics\\c.jpg"), list[1]);
  EXPECT_EQ(CString("C:\\pics\\b.jpg"), list[2]);
  EXPECT_TRUE(list[3].IsEmpty());
  // A full list lets its oldest entry go.
  list.Add("C:\\pics\\d.jpg");
  list.Add("C:\\pics\\e.jpg");
  EXPECT_EQ(CString("C:\\pics\\e.jpg"), list[0]);
  EXPECT_EQ(CString("C:\\pics\\c.jpg"), list[3]);
  list.Remove(0);
  EXPECT_EQ(CString("C:\\pics\\d.jpg"), list[0]);
  EXPECT_TRUE(list[3].IsEmpty());
}

TEST_F(BarsUi, RecentFilesTenEntriesAreWrittenUnderTheCallersFormatAndReadBackInOrder) {
  CRecentFileList list(0, kSection, kFormat, 10);
  for (int i = 1; i <= 11; ++i) {
    CString path;
    path.Format("C:\\photos\\%02d", i);
    list.Add(path);
  }
  list.WriteList();
  // Newest first: Folder1 is the eleventh folder added, Folder10 the second (the first fell out).
  EXPECT_EQ("C:\\photos\\11", RegistryValue(kSection, "Folder1"));
  EXPECT_EQ("C:\\photos\\02", RegistryValue(kSection, "Folder10"));
  EXPECT_EQ("", RegistryValue(kSection, "Folder11"));
  CRecentFileList read(0, kSection, kFormat, 10);
  read.ReadList();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(list[i], read[i]) << i;
  // A shorter list written later leaves none of the longer one's entries behind.
  CRecentFileList shorter(0, kSection, kFormat, 10);
  shorter.Add("C:\\photos\\only");
  shorter.WriteList();
  EXPECT_EQ("", RegistryValue(kSection, "Folder2"));
}

TEST_F(BarsUi, RecentFilesAbbreviateLongPathsKeepingTheRootAndTheName) {
  struct Case {
    const char* path;
    int length;
    BOOL atLeastName;
    const char* shown;
  } cases[] = {
      {"C:\\pics\\short.jpg", 30, TRUE, "C:\\pics\\short.jpg"},
      {"C:\\pictures\\holidays\\2001\\beach.jpg", 24, TRUE, "C:\\...\\2001\\beach.jpg"},
      {"C:\\pictures\\holidays\\2001\\beach.jpg", 16, TRUE, "C:\\...\\beach.jpg"},
      {"C:\\pictures\\holidays\\2001\\beach.jpg", 15, TRUE, "...\\beach.jpg"},
      {"C:\\pictures\\a-very-long-file-name.jpg", 10, TRUE, "a-very-long-file-name.jpg"},
      {"C:\\pictures\\a-very-long-file-name.jpg", 10, FALSE, ""},
      {"\\\\server\\share\\folder\\deeper\\name.jpg", 32, TRUE, "\\\\server\\share\\...\\name.jpg"},
  };
  for (const Case& c : cases) {
    char buffer[MAX_PATH];
    lstrcpyA(buffer, c.path);
    AfxAbbreviateName(buffer, c.length, c.atLeastName);
    EXPECT_STREQ(c.shown, buffer) << c.path << " " << c.length;
  }
}

TEST_F(BarsUi, RecentFilesFillTheMenuAndOpenTheirFiles) {
  theApp.LoadStdProfileSettings(4);
  ASSERT_NE(nullptr, theApp.m_pRecentFileList);
  CMenu popup;
  ASSERT_TRUE(popup.CreatePopupMenu());
  popup.AppendMenu(MF_STRING, ID_FILE_NEW, "&New");
  popup.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "Recent File");
  popup.AppendMenu(MF_STRING, ID_APP_EXIT, "E&xit");
  // Nothing recent: the item keeps its text, disabled.
  for (int i = 0; i < theApp.m_pRecentFileList->GetSize(); ++i) (*theApp.m_pRecentFileList)[i].Empty();
  s_frame->SendMessage(WM_INITMENUPOPUP, WPARAM(popup.m_hMenu), 0);
  EXPECT_EQ(3u, popup.GetMenuItemCount());
  EXPECT_TRUE(popup.GetMenuState(ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);
  // Two files: two numbered items in place of the one.
  CString missing = CString("C:\\nowhere\\gone.pgs");
  theApp.AddToRecentFileList(missing);
  theApp.AddToRecentFileList("C:\\nowhere\\newer & better.pgs");
  s_frame->SendMessage(WM_INITMENUPOPUP, WPARAM(popup.m_hMenu), 0);
  ASSERT_EQ(4u, popup.GetMenuItemCount());
  CString first, second;
  popup.GetMenuString(ID_FILE_MRU_FILE1, first, MF_BYCOMMAND);
  popup.GetMenuString(ID_FILE_MRU_FILE2, second, MF_BYCOMMAND);
  EXPECT_EQ(CString("&1 C:\\nowhere\\newer && better.pgs"), first);
  EXPECT_EQ(CString("&2 C:\\nowhere\\gone.pgs"), second);
  EXPECT_FALSE(popup.GetMenuState(ID_FILE_MRU_FILE2, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_EQ(UINT(ID_APP_EXIT), popup.GetMenuItemID(3));
  // A file that no longer opens says so and leaves the list.
  theApp.m_boxes.clear();
  s_frame->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE2);
  EXPECT_EQ(1u, theApp.m_boxes.size());
  EXPECT_TRUE((*theApp.m_pRecentFileList)[1].IsEmpty());
  // The list is written with the other standard settings.
  theApp.SaveStdProfileSettings();
  EXPECT_EQ("C:\\nowhere\\newer & better.pgs", RegistryValue("Recent File List", "File1"));
  EXPECT_EQ("", RegistryValue("Recent File List", "File2"));
}

}  // namespace
