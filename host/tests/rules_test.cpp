// The launch items' text rules: icon paths, supported extensions, program command lines and arguments, the
// open dialog's filters, cleaned paths, version texts and menu labels (test code).
#include <gtest/gtest.h>

#include "LaunchRules.h"

using namespace launchrules;

TEST(LaunchRules, IconIndexIsTheLastCharacterOfTheIconPath) {
  struct Case {
    const char* path;
    const char* file;
    int index;
  } cases[] = {{"C:\\Tools\\icons.dll,12", "C:\\Tools\\icons.dll", 2},
               {"C:\\Tools\\icons.dll,3", "C:\\Tools\\icons.dll", 3},
               {"C:\\Tools\\paint.exe", "C:\\Tools\\paint.exe", 0},
               {"C:\\Tools\\icons.dll,x", "C:\\Tools\\icons.dll", 0}};
  for (const Case& c : cases) {
    std::string file;
    int index = -1;
    SplitIconPath(c.path, file, index);
    EXPECT_EQ(c.file, file) << c.path;
    EXPECT_EQ(c.index, index) << c.path;
  }
}

TEST(LaunchRules, ExtensionsCompareWithoutCaseAfterTheLastDot) {
  std::vector<std::string> types = {"jpg", "png"};
  EXPECT_TRUE(ExtensionSupported("C:\\Pictures\\PHOTO.JPG", types));
  EXPECT_TRUE(ExtensionSupported("archive.tar.png", types));
  EXPECT_FALSE(ExtensionSupported("C:\\Pictures\\README", types));
  EXPECT_FALSE(ExtensionSupported("photo.jpeg", types));
  EXPECT_FALSE(ExtensionSupported("photo.", types));
}

TEST(LaunchRules, ProgramCommandLines) {
  EXPECT_EQ("", FormatArguments(""));
  EXPECT_EQ(" \"/view mode\"", FormatArguments("/View Mode"));
  EXPECT_EQ(" \"already quoted\" /x", FormatArguments("\"Already Quoted\" /X"));
  // The locator lower-cased and cut after ".exe", the document and the arguments quoted.
  EXPECT_EQ("\"c:\\tools\\paint.exe\" \"C:\\My Pictures\\a.jpg\" \"/view mode\"",
            DocumentCommand("C:\\Tools\\Paint.exe /S", "C:\\My Pictures\\a.jpg", "/View Mode"));
  EXPECT_EQ("\"c:\\tools\\paint.exe\" \"a.jpg\"", DocumentCommand("\"C:\\Tools\\Paint.EXE\" /S", "\"a.jpg\"", ""));
  EXPECT_EQ("", DocumentCommand("C:\\Tools\\script.bat", "a.jpg", ""));
  EXPECT_EQ("C:\\Tools\\Paint.exe \"/view mode\"", LaunchCommand("C:\\Tools\\Paint.exe", "/View Mode"));
  EXPECT_EQ("C:\\Tools\\Paint.exe", ProgramFile("\"C:\\Tools\\Paint.exe\" /S"));
}

TEST(LaunchRules, OpenDialogListsEachLabelOnceThenAllSupportedThenAllFiles) {
  std::string label, filter;
  ItemFilter("Paint", {"bmp", "png"}, label, filter);
  EXPECT_EQ("Paint (.bmp;.png)", label);
  EXPECT_EQ(".bmp;*.png", filter);
  std::vector<Filter> filters = OpenDialogFilters(
      {{label, filter}, {"Viewer (.jpg)", ".jpg"}, {"Paint (.bmp;.png)", ".bmp;*.png"}, {"", ".x"}},
      "All supported files", "All Files (*.*)");
  ASSERT_EQ(4u, filters.size());
  EXPECT_EQ("Paint (.bmp;.png)", filters[0].label);
  EXPECT_EQ("*.bmp;*.png", filters[0].pattern);
  EXPECT_EQ("Viewer (.jpg)", filters[1].label);
  EXPECT_EQ("All supported files (.bmp;.png;.jpg)", filters[2].label);
  EXPECT_EQ("*.bmp;*.png;*.jpg", filters[2].pattern);
  EXPECT_EQ("All Files (*.*)", filters[3].label);
  EXPECT_EQ("*.*", filters[3].pattern);
  EXPECT_EQ("A|*.a|B|*.*||", JoinFilters({{"A", "*.a"}, {"B", "*.*"}}));
}

TEST(LaunchRules, QuotedAndUnquotedPathsAreTheSame) {
  EXPECT_EQ("C:\\Pictures\\a b.jpg", CleanOpenPath("\"C:\\Pictures\\a b.jpg\""));
  EXPECT_EQ("C:\\Pictures\\a b.jpg", CleanOpenPath("C:\\Pictures\\a b.jpg"));
  EXPECT_EQ("C:\\Pictures\\a.jpg", CleanOpenPath("\"C:\\Pictures\\a.jpg\" /extra"));
  EXPECT_EQ(260u, CleanOpenPath(std::string(400, 'x')).size());
}

TEST(LaunchRules, VersionLabelsAndMenuLabels) {
  EXPECT_EQ("1.2.3", VersionText(0x00010002, 3));
  EXPECT_EQ("65535.0.70000", VersionText(0xFFFF0000, 70000));
  EXPECT_EQ("NXComponent", LocatorLabel("NXComponent.Gallery.1"));
  EXPECT_EQ("Gallery", ComponentFilterLabel("NXComponent.Gallery.1"));
  EXPECT_EQ("&1 Gallery", MenuLabel(0, "Gallery"));
  EXPECT_EQ("&0 Tenth", MenuLabel(9, "Tenth"));
  EXPECT_EQ("Eleventh", MenuLabel(10, "Eleventh"));
}
