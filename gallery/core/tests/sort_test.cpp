// The sort criteria, the quicksort's order, and the automation values of the criteria.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "galcore/slidesort.h"

using namespace galcore;

namespace {

std::vector<std::string> Sorted(const std::vector<SortKey>& keys, int criterion, SortOutcome expected = SortOutcome::sorted) {
  std::vector<int> order;
  for (size_t i = 0; i < keys.size(); ++i) order.push_back(int(i));
  EXPECT_EQ(expected, SortSlides(order, keys, criterion));
  std::vector<std::string> names;
  for (int i : order) names.push_back(keys[size_t(i)].name);
  return names;
}

using Names = std::vector<std::string>;

TEST(SlideSortTest, Criteria) {
  const std::vector<SortKey> keys = {
      {"b.png", 30, 0}, {"A.jpg", 50, 7}, {"c", 10, 0}, {"z.JPG", 40, 0}, {"a.png", 20, 3},
  };
  EXPECT_EQ((Names{"A.jpg", "z.JPG", "b.png", "a.png", "c"}), Sorted(keys, kSortByDate));  // newest first
  EXPECT_EQ((Names{"A.jpg", "a.png", "b.png", "c", "z.JPG"}), Sorted(keys, kSortByName));
  // Extension first: ".jpg" names, ".png" names, then "c" with no extension ('.' sorts before letters).
  EXPECT_EQ((Names{"A.jpg", "z.JPG", "a.png", "b.png", "c"}), Sorted(keys, kSortByType));
  EXPECT_EQ((Names{"a.png", "A.jpg", "b.png", "c", "z.JPG"}), Sorted(keys, kSortSelectedFirst));
}

TEST(SlideSortTest, SelectedFirstIsRefusedWithoutASelection) {
  const std::vector<SortKey> keys = {{"b", 1, 0}, {"a", 2, 0}};
  EXPECT_EQ((Names{"b", "a"}), Sorted(keys, kSortSelectedFirst, SortOutcome::refusedNothingSelected));
  EXPECT_EQ((Names{"b", "a"}), Sorted(keys, 4, SortOutcome::unknownCriterion));
}

// Plain recursion with the last element as pivot: the order the table's sort is defined by.
void ReferenceSort(std::vector<int>& v, int lo, int hi, const std::vector<int>& time) {
  if (lo >= hi) return;
  int store = lo;
  for (int j = lo; j < hi; ++j) {
    if (time[size_t(v[size_t(j)])] < time[size_t(v[size_t(hi)])]) std::swap(v[size_t(store++)], v[size_t(j)]);
  }
  std::swap(v[size_t(store)], v[size_t(hi)]);
  ReferenceSort(v, lo, store - 1, time);
  ReferenceSort(v, store + 1, hi, time);
}

TEST(SlideSortTest, TiesComeOutAsPlainRecursionLeavesThem) {
  std::mt19937 random(5);
  for (int round = 0; round < 200; ++round) {
    const int n = int(random() % 60);
    std::vector<int> time(static_cast<size_t>(n));
    for (int& t : time) t = int(random() % 8);
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    std::vector<int> expected = order;
    ReferenceSort(expected, 0, n - 1, time);
    QuickSort(order, [&](int a, int b) { return time[size_t(a)] - time[size_t(b)]; });
    ASSERT_EQ(expected, order) << round;
  }
}

TEST(SlideSortTest, AutomationValuesMapToStoredCriteria) {
  EXPECT_EQ(kSortByName, StoredSortCriterion(0));
  EXPECT_EQ(kSortByDate, StoredSortCriterion(1));
  EXPECT_EQ(kSortByType, StoredSortCriterion(2));
  EXPECT_EQ(kSortSelectedFirst, StoredSortCriterion(3));
  EXPECT_FALSE(StoredSortCriterion(4));
  EXPECT_FALSE(StoredSortCriterion(-1));
}

}  // namespace
