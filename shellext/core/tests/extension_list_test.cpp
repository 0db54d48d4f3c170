// The supported-extension list on its own: the substring rule, case, duplicates and the bound that keeps
// it inside its buffer (natively under the sanitizers, so an overrun is reported where it happens).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "orvaneext/ExtensionList.h"

namespace {

using orvext::ExtensionList;

ExtensionList ListOf(std::initializer_list<const char*> names) {
  ExtensionList list;
  for (const char* name : names) list.Append(name);
  list.Finish();
  return list;
}

TEST(ExtensionListTest, SubstringRuleDecidesSupport) {
  const ExtensionList list = ListOf({"JPG", "tif", "bmp"});
  EXPECT_STREQ("jpg,tif,bmp,doc,", list.Text());
  struct Case {
    const char* path;
    bool supported;
  } cases[] = {
      {"C:\\p\\a.jpg", true},       {"C:\\p\\a.JPG", true},      {"C:\\p\\a.Doc", true},
      {"C:\\p\\a.pg", true},        // the tail of a listed extension, as the rule is a substring search
      {"C:\\p\\a.if", true},        {"C:\\p\\a.txt", false},     {"C:\\p\\a.jpeg", false},
      {"C:\\p\\noext", false},      {"C:\\p.d\\noext", false},   // the dot of a folder is no extension
      {"C:\\p\\a.tar.bmp", true},   {"C:\\p\\a.jp", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.supported, list.Supports(c.path)) << c.path;
}

TEST(ExtensionListTest, DocIsSupportedWithoutLaunchItems) {
  const ExtensionList list = ListOf({});
  EXPECT_STREQ("doc,", list.Text());
  EXPECT_TRUE(list.Supports("C:\\letters\\LETTER.DOC"));
  EXPECT_FALSE(list.Supports("C:\\letters\\notes.txt"));
}

TEST(ExtensionListTest, TextAlreadyContainedIsNotAddedAgain) {
  ExtensionList list;
  EXPECT_EQ(ExtensionList::Added::Yes, list.Append("jpeg"));
  EXPECT_EQ(ExtensionList::Added::AlreadyListed, list.Append("jpeg"));
  EXPECT_EQ(ExtensionList::Added::AlreadyListed, list.Append("peg"));
  EXPECT_EQ(ExtensionList::Added::Yes, list.Append("png"));
  EXPECT_STREQ("jpeg,png,", list.Text());
}

// More types than fit: adding stops at the first one that does not fit, the buffer is never overrun and
// "doc," still ends the list.
TEST(ExtensionListTest, BoundStopsAddingAndKeepsDoc) {
  ExtensionList list;
  int added = 0;
  bool full = false;
  for (int i = 0; i < 200 && !full; ++i) {
    const std::string name = "x" + std::to_string(i) + std::string(40, 'e');
    switch (list.Append(name.c_str())) {
      case ExtensionList::Added::Yes: ++added; break;
      case ExtensionList::Added::Full: full = true; break;
      case ExtensionList::Added::AlreadyListed: break;
    }
  }
  EXPECT_TRUE(full);
  list.Finish();
  EXPECT_LT(list.Length(), orvext::kListBufferChars);
  EXPECT_EQ(std::strlen(list.Text()), list.Length());
  EXPECT_EQ(5, added);  // 43 characters each: five fit in the 255 left beside "doc,"
  EXPECT_TRUE(list.Supports("a.DOC"));
  EXPECT_TRUE(list.Supports(("a.x4" + std::string(40, 'e')).c_str()));
  EXPECT_FALSE(list.Supports(("a.x5" + std::string(40, 'e')).c_str()));

  // A single name longer than the whole buffer is refused too.
  ExtensionList longName;
  EXPECT_EQ(ExtensionList::Added::Full, longName.Append(std::string(300, 'z').c_str()));
  longName.Finish();
  EXPECT_STREQ("doc,", longName.Text());
}

TEST(ExtensionListTest, ExactFitIsAccepted) {
  ExtensionList list;
  // 255 characters are free beside "doc,": a name of 254 plus its comma fills them exactly.
  EXPECT_EQ(ExtensionList::Added::Yes, list.Append(std::string(254, 'a').c_str()));
  EXPECT_EQ(ExtensionList::Added::Full, list.Append("b"));
  list.Finish();
  EXPECT_EQ(orvext::kListBufferChars - 1, list.Length());
}

}  // namespace
