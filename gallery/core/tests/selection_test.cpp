// The item flags word, selection stamps from any thread, the selection order and the click rule.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "galcore/selection.h"

using namespace galcore;

namespace {

TEST(SelectionTest, FlagsWord) {
  EXPECT_EQ(4u, kInitialItemFlags);
  EXPECT_FALSE(IsSelected(kInitialItemFlags));
  const uint32_t selected = WithStamp(kInitialItemFlags | kNeedsThumbnail, 7);
  EXPECT_EQ(4u | 1u | 7u << 3, selected);
  EXPECT_TRUE(IsSelected(selected));
  EXPECT_EQ(7u, StampOf(selected));
  EXPECT_FALSE(IsSelected(selected & ~kItemConstructed));  // a stamp alone does not select
  EXPECT_EQ(kInitialItemFlags | kNeedsThumbnail, Deselected(selected));
  EXPECT_EQ(0u, StampOf(WithStamp(0, kStampMask + 1)));
}

TEST(SelectionTest, StampsFromManyThreadsAreDistinctAndGrow) {
  constexpr int kThreads = 4, kEach = 5000;
  std::vector<std::vector<uint32_t>> got(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&got, t] {
      for (int i = 0; i < kEach; ++i) got[size_t(t)].push_back(NextSelectionStamp());
    });
  }
  for (std::thread& t : threads) t.join();
  std::set<uint32_t> all;
  for (const std::vector<uint32_t>& stamps : got) {
    for (size_t i = 1; i < stamps.size(); ++i) ASSERT_LT(stamps[i - 1], stamps[i]);
    all.insert(stamps.begin(), stamps.end());
  }
  EXPECT_EQ(size_t(kThreads * kEach), all.size());
  EXPECT_EQ(0u, all.count(0));
}

TEST(SelectionTest, SelectedOrderFollowsStampsThenIndex) {
  const std::vector<uint32_t> flags = {WithStamp(4, 5), 4, WithStamp(4, 3), WithStamp(4, 5), WithStamp(4, 1),
                                       WithStamp(0, 2)};
  EXPECT_EQ((std::vector<int>{4, 2, 0, 3}), SelectedOrder(flags));
}

struct Table {
  std::vector<uint32_t> flags = std::vector<uint32_t>(8, kInitialItemFlags);
  FlagsSelection cells{flags};
  int anchor = -1;
  ClickOutcome Click(int cell, bool ctrl, bool shift) {
    ClickOutcome out = ApplyClick(cells, cell, ctrl, shift, anchor);
    anchor = out.anchor;
    return out;
  }
};

using Cells = std::vector<int>;

TEST(SelectionTest, ClicksWithCtrlAndShift) {
  struct Step {
    int cell;
    bool ctrl, shift;
    Cells order;  // selected cells in selection order afterwards
    int anchor;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
  } cases[] = {
      {"plain clicks replace", {{1, false, false, {1}, 1}, {3, false, false, {3}, 3}}},
      {"plain click on the selected slide keeps it", {{2, false, false, {2}, 2}, {2, false, false, {2}, 2}}},
      {"ctrl adds and removes", {{1, false, false, {1}, 1}, {4, true, false, {1, 4}, 4}, {1, true, false, {4}, 4}}},
      {"shift selects from the anchor on", {{2, false, false, {2}, 2}, {5, false, true, {2, 3, 4, 5}, 2}}},
      {"shift backwards", {{5, false, false, {5}, 5}, {2, false, true, {5, 4, 3, 2}, 5}}},
      {"shift keeps the rest", {{0, false, false, {0}, 0}, {6, true, false, {0, 6}, 6}, {4, false, true, {0, 6, 5, 4}, 6}}},
      {"shift without an anchor toggles", {{3, false, true, {3}, 3}}},
      {"ctrl and shift with an anchor", {{1, false, false, {1}, 1}, {3, true, true, {1, 2, 3}, 1}}},
      {"empty space clears", {{1, false, false, {1}, 1}, {2, true, false, {1, 2}, 2}, {-1, false, false, {}, -1}}},
      {"ctrl on empty space keeps", {{1, false, false, {1}, 1}, {-1, true, false, {1}, 1}}},
  };
  for (const Case& k : cases) {
    Table t;
    int n = 0;
    for (const Step& s : k.steps) {
      t.Click(s.cell, s.ctrl, s.shift);
      EXPECT_EQ(s.order, SelectedOrder(t.flags)) << k.what << ", step " << n;
      EXPECT_EQ(s.anchor, t.anchor) << k.what << ", step " << n;
      ++n;
    }
  }
}

TEST(SelectionTest, ClickRepaintsWhatChangedAndTheOldAnchor) {
  Table t;
  t.Click(1, false, false);
  t.Click(3, true, false);
  ClickOutcome out = t.Click(5, false, false);
  EXPECT_EQ((std::set<int>{1, 3, 5}), std::set<int>(out.repaint.begin(), out.repaint.end()));
  EXPECT_EQ(out.repaint.size(), 3u);
  out = t.Click(-1, false, false);
  EXPECT_EQ((Cells{5}), out.repaint);
}

}  // namespace
