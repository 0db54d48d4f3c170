// The merged menu: groups, a component popup joining the host popup of its name, the component's Help in the
// host's Help, and taking it apart so that the host's and the component's menus are exactly as before.
#include <gtest/gtest.h>

#include "unit_helpers.h"

using fwtest::BuildMenu;
using fwtest::cUnitComponent;
using fwtest::Names;
using fwtest::Snapshot;

namespace {

typedef std::vector<std::string> Texts;

// A host container menu of three groups and a Help, and a component menu with Edit, Object and Help groups.
HMENU HostContainerMenu() {
  return BuildMenu({"&File>&New|&Open", "-", "&View>&Toolbar|&Status Bar|-|-|&Options", "-",
                    "&Window>&Cascade|&Tile", "-", "&Help>&Contents|&About"},
                   1000);
}
HMENU ComponentMenu() {
  return BuildMenu({"&Edit>Cu&t|&Copy", "-", "&view>&Thumbnails|-|&Details", "&Tools>&Rotate", "!&Go", "-",
                    "&Help>&Index|&Tips"},
                   2000);
}

class MergedMenuTest : public ::testing::Test {
 protected:
  void SetUp() override { m_component = new cUnitComponent; }
  void TearDown() override {
    CDocTemplate* t = m_component->Template();
    m_component->Release();  // gives up its merged menu through the template's menus
    delete t;
  }
  cUnitComponent* m_component;
};

TEST_F(MergedMenuTest, HostAndComponentMenusMergeByGroupsAndComeApartUnchanged) {
  HMENU container = HostContainerMenu();
  HMENU server = ComponentMenu();
  const std::string hostBefore = Snapshot(container), componentBefore = Snapshot(server);
  m_component->UseTemplate("Pictures", container, server);

  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(m_component->BuildMergedMenu());
    HMENU merged = m_component->GetMergedMenu();
    EXPECT_EQ((Texts{"&File", "&Edit", "&View", "&Tools", "&Go", "&Window", "&Help"}), Names(merged));
    EXPECT_EQ((std::vector<LONG>{1, 1, 1, 2, 2, 0}),
              std::vector<LONG>(m_component->Widths(), m_component->Widths() + NXMENU_GROUPS));
    // The component's popups are its own, not copies; a popup of a host popup's name gives it its items,
    // between the host popup's two adjacent separators.
    EXPECT_EQ(GetSubMenu(server, 0), GetSubMenu(merged, 1));
    EXPECT_EQ(GetSubMenu(container, 2), GetSubMenu(merged, 2));
    EXPECT_EQ((Texts{"&Toolbar", "&Status Bar", "-", "&Thumbnails", "-", "&Details", "-", "&Options"}),
              Names(GetSubMenu(merged, 2)));
    // The component's Help is a submenu of the host's, titled with the document name.
    HMENU hostHelp = GetSubMenu(merged, 6);
    EXPECT_EQ(GetSubMenu(container, 6), hostHelp);
    EXPECT_EQ((Texts{"&Contents", "&About", "Pictures Help"}), Names(hostHelp));
    EXPECT_EQ(GetSubMenu(server, 6), GetSubMenu(hostHelp, 2));
    EXPECT_EQ(GetSubMenu(server, 6), m_component->HelpPopup());

    ASSERT_TRUE(m_component->DestroyMergedMenu());
    EXPECT_EQ(nullptr, m_component->GetMergedMenu());
    EXPECT_EQ(nullptr, m_component->HelpPopup());
    EXPECT_EQ(hostBefore, Snapshot(container)) << "round " << round;
    EXPECT_EQ(componentBefore, Snapshot(server)) << "round " << round;
  }
}

TEST_F(MergedMenuTest, TheComponentsHelpTitleIsTheDocumentNameAndThePopupTextWithoutAmpersands) {
  struct Case {
    const char* documentName;
    const char* popup;
    const char* title;
  } cases[] = {{"Pictures", "&Help", "Pictures Help"}, {"", "&Help", "Help"}, {"", "Gallery &Help", "Gallery Help"}};
  for (const Case& c : cases) {
    cUnitComponent* component = new cUnitComponent;
    std::string popup = std::string(c.popup) + ">&Index";
    component->UseTemplate(c.documentName, HostContainerMenu(), BuildMenu({"&Edit>&Undo", "-", "-", popup.c_str()}));
    ASSERT_TRUE(component->BuildMergedMenu());
    HMENU hostHelp = GetSubMenu(component->GetMergedMenu(), GetMenuItemCount(component->GetMergedMenu()) - 1);
    EXPECT_EQ((Texts{"&Contents", "&About", c.title}), Names(hostHelp)) << c.documentName << "/" << c.popup;
    CDocTemplate* t = component->Template();
    component->Release();
    delete t;
  }
}

TEST_F(MergedMenuTest, WithoutAHostHelpTheComponentsHelpIsAPopupOfItsOwn) {
  HMENU container = BuildMenu({"&File>&New", "-", "-", "&Window>&Tile"}, 1000);
  HMENU server = ComponentMenu();
  const std::string hostBefore = Snapshot(container);
  m_component->UseTemplate("Pictures", container, server);
  ASSERT_TRUE(m_component->BuildMergedMenu());
  EXPECT_EQ((Texts{"&File", "&Edit", "&view", "&Tools", "&Go", "&Window", "&Help"}),
            Names(m_component->GetMergedMenu()));
  EXPECT_EQ(nullptr, m_component->HelpPopup());
  ASSERT_TRUE(m_component->DestroyMergedMenu());
  EXPECT_EQ(hostBefore, Snapshot(container));
  EXPECT_TRUE(IsMenu(GetSubMenu(server, 6)));
}

TEST_F(MergedMenuTest, AMergedMenuNeedsTheComponentsServerMenu) {
  EXPECT_FALSE(m_component->BuildMergedMenu());  // no template
  EXPECT_FALSE(m_component->DestroyMergedMenu());
  m_component->UseTemplate("Pictures", HostContainerMenu(), NULL);
  EXPECT_FALSE(m_component->BuildMergedMenu());
  EXPECT_EQ(nullptr, m_component->GetMergedMenu());

  // Without a container menu the component's menu stands alone; building again keeps the menu built.
  m_component->Template()->m_hMenuInPlaceServer = ComponentMenu();
  ::DestroyMenu(m_component->Template()->m_hMenuInPlace);
  m_component->Template()->m_hMenuInPlace = NULL;
  ASSERT_TRUE(m_component->BuildMergedMenu());
  HMENU merged = m_component->GetMergedMenu();
  EXPECT_EQ((Texts{"&Edit", "&view", "&Tools", "&Go", "&Help"}), Names(merged));
  EXPECT_TRUE(m_component->BuildMergedMenu());
  EXPECT_EQ(merged, m_component->GetMergedMenu());
}

TEST_F(MergedMenuTest, OfTwoItemsOfTheSameTextTheLaterReceivesThePopupsItems) {
  HMENU destination = BuildMenu({"&View>&A|-|-|&B", "&Edit>&X", "&VIEW>&C|-|-|&D"}, 1000);
  HMENU source = BuildMenu({"&view>&New"}, 2000);
  int position = -1;
  EXPECT_TRUE(m_component->FindMenuItem(destination, "&view", &position));
  EXPECT_EQ(2, position);
  EXPECT_FALSE(m_component->FindMenuItem(destination, "View", &position));  // the ampersand counts

  LONG widths[NXMENU_GROUPS] = {};
  EXPECT_EQ(nullptr, m_component->MergeMenu(destination, source, widths, 0, FALSE));
  EXPECT_EQ((Texts{"&A", "-", "-", "&B"}), Names(GetSubMenu(destination, 0)));
  EXPECT_EQ((Texts{"&C", "-", "&New", "-", "&D"}), Names(GetSubMenu(destination, 2)));
  EXPECT_EQ(0, widths[0]);  // nothing new at the top level
  m_component->UnmergeMenu(destination, source, NULL);
  EXPECT_EQ((Texts{"&C", "-", "-", "&D"}), Names(GetSubMenu(destination, 2)));
  DestroyMenu(destination);
  DestroyMenu(source);
}

TEST_F(MergedMenuTest, PopupItemsGoBetweenTheFirstAdjacentSeparatorsAndLeaveTheHostPopupAsItWas) {
  struct Case {
    std::initializer_list<const char*> host;
    Texts merged;
  } cases[] = {
      {{"&View>a|-|-|b"}, {"a", "-", "x", "-", "y", "-", "b"}},
      {{"&View>a|-|b"}, {"x", "-", "y", "a", "-", "b"}},  // no pair: at the top
      {{"&View>a|-|-|b|-|-|c"}, {"a", "-", "x", "-", "y", "-", "b", "-", "-", "c"}},
      // The host has separators after the pair and an item of the component's text of its own.
      {{"&View>a|-|-|b|-|y|-|c"}, {"a", "-", "x", "-", "y", "-", "b", "-", "y", "-", "c"}},
  };
  for (const Case& c : cases) {
    HMENU host = BuildMenu(c.host, 1000);
    HMENU source = BuildMenu({"&View>x|-|y"}, 2000);
    const std::string before = Snapshot(host);
    m_component->InsertPopupItems(host, 0, GetSubMenu(source, 0));
    EXPECT_EQ(c.merged, Names(GetSubMenu(host, 0)));
    m_component->RemovePopupItems(GetSubMenu(host, 0), source, 0);
    EXPECT_EQ(before, Snapshot(host));
    DestroyMenu(host);
    DestroyMenu(source);
  }
}

TEST_F(MergedMenuTest, ItemsChangedWhileMergedStillComeOutByTheirText) {
  HMENU host = BuildMenu({"&View>a|-|-|b|-|c"}, 1000);
  HMENU source = BuildMenu({"&View>x|-|y"}, 2000);
  m_component->InsertPopupItems(host, 0, GetSubMenu(source, 0));
  // Someone renumbered a merged command: the items no longer match, their texts still do.
  HMENU popup = GetSubMenu(host, 0);
  ModifyMenuA(popup, 2, MF_BYPOSITION | MF_STRING, 3000, "x");
  m_component->RemovePopupItems(popup, source, 0);
  EXPECT_EQ((Texts{"a", "-", "-", "-", "b", "-", "c"}), Names(popup));  // the component's separator stays
  DestroyMenu(host);
  DestroyMenu(source);
}

TEST_F(MergedMenuTest, SeparatorsPastTheHelpGroupKeepTheItemsInIt) {
  struct {
    LONG widths[NXMENU_GROUPS];
    LONG after[4];
  } record = {{}, {7, 7, 7, 7}};
  HMENU destination = CreateMenu();
  HMENU source = BuildMenu({"A>a", "-", "B>b", "-", "C>c", "-", "D>d", "-", "!E", "-", "F>f"}, 1000);
  EXPECT_EQ(nullptr, m_component->MergeMenu(destination, source, record.widths, 1, TRUE));
  EXPECT_EQ((Texts{"A", "B", "C", "D", "E", "F"}), Names(destination));
  EXPECT_EQ((std::vector<LONG>{0, 1, 0, 1, 0, 4}), std::vector<LONG>(record.widths, record.widths + NXMENU_GROUPS));
  EXPECT_EQ((std::vector<LONG>{7, 7, 7, 7}), std::vector<LONG>(record.after, record.after + 4));
  m_component->UnmergeMenu(destination, source, NULL);
  EXPECT_EQ(0, GetMenuItemCount(destination));
  for (int i = 0; i < GetMenuItemCount(source); ++i) {
    if (GetSubMenu(source, i)) {
      EXPECT_TRUE(IsMenu(GetSubMenu(source, i)));
    }
  }
  DestroyMenu(destination);
  DestroyMenu(source);
}

}  // namespace
