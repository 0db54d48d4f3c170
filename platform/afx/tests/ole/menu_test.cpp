// Menu merging by OLE menu groups: a container's groups, an object's groups between them, an object's Help
// joining the container's, groups beyond the third, and taking it all out again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxole.h"

namespace {

// A menu from a description: "Name" is a popup (with one command), "-" a separator, "!Name" a command.
HMENU Build(std::initializer_list<const char*> items, UINT firstId = 100) {
  HMENU menu = CreateMenu();
  UINT id = firstId;
  for (const char* item : items) {
    if (std::string(item) == "-") {
      AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    } else if (item[0] == '!') {
      AppendMenuA(menu, MF_STRING, id++, item + 1);
    } else {
      HMENU popup = CreatePopupMenu();
      AppendMenuA(popup, MF_STRING, id++, (std::string(item) + " command").c_str());
      AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), item);
    }
  }
  return menu;
}

std::vector<std::string> Names(HMENU menu) {
  std::vector<std::string> names;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[64] = "";
    GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
    names.push_back(text);
  }
  return names;
}

std::vector<LONG> Widths(const LONG* widths) { return std::vector<LONG>(widths, widths + 6); }

TEST(MenuMergeTest, TheObjectsGroupsGoBetweenTheContainersAndComeOutAgain) {
  HMENU container = Build({"File", "-", "-", "Window"});
  HMENU object = Build({"Edit", "-", "Insert", "Format", "-", "Help"}, 200);
  HMENU shared = CreateMenu();
  LONG widths[6] = {};
  EXPECT_EQ(nullptr, AfxMergeMenus(shared, container, widths, 0));
  EXPECT_EQ((std::vector<std::string>{"File", "Window"}), Names(shared));
  EXPECT_EQ((std::vector<LONG>{1, 0, 0, 0, 1, 0}), Widths(widths));

  EXPECT_EQ(nullptr, AfxMergeMenus(shared, object, widths, 1));
  EXPECT_EQ((std::vector<std::string>{"File", "Edit", "Insert", "Format", "Window", "Help"}), Names(shared));
  EXPECT_EQ((std::vector<LONG>{1, 1, 0, 2, 1, 1}), Widths(widths));
  // The same popups, not copies: the object's commands stay the object's.
  EXPECT_EQ(GetSubMenu(object, 0), GetSubMenu(shared, 1));

  AfxUnmergeMenus(shared, object);
  EXPECT_EQ((std::vector<std::string>{"File", "Window"}), Names(shared));
  AfxUnmergeMenus(shared, container);
  EXPECT_EQ(0, GetMenuItemCount(shared));
  // Nothing was destroyed on the way out.
  EXPECT_TRUE(IsMenu(GetSubMenu(object, 0)));
  EXPECT_TRUE(IsMenu(GetSubMenu(container, 0)));
  for (HMENU menu : {shared, container, object}) DestroyMenu(menu);
}

TEST(MenuMergeTest, AnObjectsHelpJoinsTheContainersHelpPopup) {
  // The container's Help popup is counted as the last group, so that an object's Help can join it.
  HMENU shared = Build({"File", "Window", "Help"});
  LONG widths[6] = {1, 0, 0, 0, 1, 1};
  HMENU object = Build({"Edit", "-", "Insert", "-", "Object Help"}, 200);
  HMENU help = AfxMergeMenus(shared, object, widths, 1, TRUE);
  ASSERT_EQ(GetSubMenu(object, 4), help);
  EXPECT_EQ((std::vector<std::string>{"File", "Edit", "Insert", "Window", "Help"}), Names(shared));
  // The Help popup now counts as the container's.
  EXPECT_EQ((std::vector<LONG>{1, 1, 0, 1, 2, 0}), Widths(widths));
  HMENU containerHelp = GetSubMenu(shared, 4);
  EXPECT_EQ((std::vector<std::string>{"Help command", "Object Help"}), Names(containerHelp));

  AfxUnmergeMenus(shared, object, help);
  EXPECT_EQ((std::vector<std::string>{"File", "Window", "Help"}), Names(shared));
  EXPECT_EQ((std::vector<std::string>{"Help command"}), Names(containerHelp));
  EXPECT_TRUE(IsMenu(help));
  DestroyMenu(shared);
  DestroyMenu(object);
}

TEST(MenuMergeTest, ItemsPastTheThirdGroupStayInIt) {
  HMENU source = Build({"A", "-", "B", "-", "C", "-", "D", "-", "!E"});
  HMENU shared = CreateMenu();
  LONG widths[6] = {};
  AfxMergeMenus(shared, source, widths, 0);
  EXPECT_EQ((std::vector<std::string>{"A", "B", "C", "D", "E"}), Names(shared));
  EXPECT_EQ((std::vector<LONG>{1, 0, 1, 0, 3, 0}), Widths(widths));
  AfxUnmergeMenus(shared, source);
  EXPECT_EQ(0, GetMenuItemCount(shared));  // the command went too
  DestroyMenu(shared);
  DestroyMenu(source);
}

}  // namespace
