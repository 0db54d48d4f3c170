// Re-scanning a folder: kept, changed, new and vanished files, and the slide to scroll to.
#include <gtest/gtest.h>

#include "galcore/rescan.h"
#include "galcore/selection.h"

using namespace galcore;

namespace {

constexpr uint32_t kSelectedItem = kInitialItemFlags | (9u << kStampShift);

TEST(RescanTest, ListingAgainstItems) {
  struct Case {
    const char* what;
    std::vector<ScanItem> items;
    std::vector<ListedFile> listing;
    std::vector<std::string> names;  // afterwards
    std::vector<bool> needsThumbnail;
    bool changed;
    int lastChanged;
  } cases[] = {
      {"nothing changed",
       {{"a.jpg", 1, 4}, {"b.jpg", 2, 4}},
       {{"b.jpg", 2}, {"a.jpg", 1}},
       {"a.jpg", "b.jpg"}, {false, false}, false, -1},
      {"changed, new and gone",
       {{"a.jpg", 1, 4}, {"b.jpg", 2, kSelectedItem}, {"c.jpg", 3, 4}, {"d.jpg", 4, 4}},
       {{"b.jpg", 2}, {"a.jpg", 11}, {"e.jpg", 5}, {"d.jpg", 4}},
       {"a.jpg", "b.jpg", "d.jpg", "e.jpg"}, {true, false, false, true}, true, 3},
      {"the last change is an item moved down by removals",
       {{"x.jpg", 1, 4}, {"y.jpg", 2, 4}, {"z.jpg", 3, 4}},
       {{"n.jpg", 9}, {"z.jpg", 30}},
       {"z.jpg", "n.jpg"}, {true, true}, true, 0},
      {"only removals", {{"x.jpg", 1, 4}, {"y.jpg", 2, 4}}, {{"y.jpg", 2}}, {"y.jpg"}, {false}, true, -1},
      {"a name listed twice counts once",
       {{"a.jpg", 1, 4}},
       {{"a.jpg", 1}, {"n.jpg", 2}, {"a.jpg", 1}, {"n.jpg", 2}},
       {"a.jpg", "n.jpg"}, {false, true}, true, 1},
      {"a name that changed case is another file",
       {{"A.jpg", 1, 4}},
       {{"a.jpg", 1}},
       {"a.jpg"}, {true}, true, 0},
  };
  for (const Case& k : cases) {
    std::vector<ScanItem> items = k.items;
    const RescanPlan plan = PlanRescan(items, k.listing);
    EXPECT_EQ(k.changed, plan.changed) << k.what;
    EXPECT_EQ(k.lastChanged, plan.lastChanged) << k.what;
    ApplyRescan(items, k.listing, plan);
    ASSERT_EQ(k.names.size(), items.size()) << k.what;
    for (size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(k.names[i], items[i].name) << k.what;
      EXPECT_EQ(k.needsThumbnail[i], (items[i].flags & kNeedsThumbnail) != 0) << k.what << " " << items[i].name;
      EXPECT_EQ(0u, items[i].flags & kNotSeen) << k.what;
    }
  }
}

TEST(RescanTest, ChangedFileTakesTheNewTimeAndKeepsItsSelection) {
  std::vector<ScanItem> items = {{"b.jpg", 2, kSelectedItem}};
  const std::vector<ListedFile> listing = {{"b.jpg", 20}};
  ApplyRescan(items, listing, PlanRescan(items, listing));
  EXPECT_EQ(20u, items[0].time);
  EXPECT_EQ(kSelectedItem | kNeedsThumbnail, items[0].flags);
}

}  // namespace
