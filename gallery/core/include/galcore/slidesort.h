// Sorting the slide table: the four criteria and the quicksort that orders the cells.
//
// cSlideTableView builds one SortKey per cell (display name, last-write time, selection stamp), calls
// SortSlides on the cells' order and rearranges its cell array; kRefusedNothingSelected becomes message 354.
// Automation's sort values are mapped to the stored ones with StoredSortCriterion.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "galcore/text.h"

namespace galcore {

// The stored "Sort Criteria" values.
enum SortCriterion : int { kSortByDate = 0, kSortByName = 1, kSortByType = 2, kSortSelectedFirst = 3 };

struct SortKey {
  std::string name;    // display name
  int64_t time = 0;    // last-write time, any monotonic unit
  uint32_t stamp = 0;  // selection stamp, 0 when not selected
};

// Negative, zero or positive, as the criterion orders a before b.
int CompareByDate(const SortKey& a, const SortKey& b);
int CompareByName(const SortKey& a, const SortKey& b, CompareNoCase compare);
// Extension + display name; a name without "." has the empty extension.
int CompareByType(const SortKey& a, const SortKey& b, CompareNoCase compare);
// Selected before unselected; selected ones by stamp, unselected ones by name.
int CompareSelectedFirst(const SortKey& a, const SortKey& b, CompareNoCase compare);

// Quicksort with the last element of each range as the pivot (not stable). It recurses into the smaller
// part and loops over the larger, so the depth stays logarithmic; the order it gives is that of plain
// recursion.
void QuickSort(std::vector<int>& order, const std::function<int(int, int)>& compare);

enum class SortOutcome { sorted, refusedNothingSelected, unknownCriterion };

// Sorts order (indices into keys, the cells' current order) by the criterion. By date the times ascend and
// the result is reversed, so the newest file comes first. Selected-first is refused when no key has a stamp.
SortOutcome SortSlides(std::vector<int>& order, const std::vector<SortKey>& keys, int criterion,
                       CompareNoCase compare = CompareAsciiNoCase);

// The stored criterion for an automation sort value (0 name, 1 date, 2 type, 3 selected first); nullopt for
// other values, which do nothing.
std::optional<int> StoredSortCriterion(int automationValue);

}  // namespace galcore
