// The slide table's sort criteria and its quicksort.
#include "galcore/slidesort.h"

#include <algorithm>
#include <utility>

namespace galcore {

namespace {

template <typename T>
int Order(const T& a, const T& b) {
  return a < b ? -1 : b < a ? 1 : 0;
}

std::string TypeKey(const std::string& name) {
  std::string key(Extension(name));
  return key + name;
}

// Sorts order[lo..hi] (inclusive).
void SortRange(std::vector<int>& order, int lo, int hi, const std::function<int(int, int)>& compare) {
  while (lo < hi) {
    const int pivot = order[size_t(hi)];
    int store = lo;
    for (int j = lo; j < hi; ++j) {
      if (compare(order[size_t(j)], pivot) < 0) std::swap(order[size_t(store++)], order[size_t(j)]);
    }
    std::swap(order[size_t(store)], order[size_t(hi)]);
    if (store - lo < hi - store) {
      SortRange(order, lo, store - 1, compare);
      lo = store + 1;
    } else {
      SortRange(order, store + 1, hi, compare);
      hi = store - 1;
    }
  }
}

}  // namespace

int CompareByDate(const SortKey& a, const SortKey& b) { return Order(a.time, b.time); }

int CompareByName(const SortKey& a, const SortKey& b, CompareNoCase compare) {
  return compare(a.name.c_str(), b.name.c_str());
}

int CompareByType(const SortKey& a, const SortKey& b, CompareNoCase compare) {
  return compare(TypeKey(a.name).c_str(), TypeKey(b.name).c_str());
}

int CompareSelectedFirst(const SortKey& a, const SortKey& b, CompareNoCase compare) {
  const bool aSelected = a.stamp != 0, bSelected = b.stamp != 0;
  if (aSelected != bSelected) return aSelected ? -1 : 1;
  if (aSelected) return Order(a.stamp, b.stamp);
  return CompareByName(a, b, compare);
}

void QuickSort(std::vector<int>& order, const std::function<int(int, int)>& compare) {
  SortRange(order, 0, int(order.size()) - 1, compare);
}

SortOutcome SortSlides(std::vector<int>& order, const std::vector<SortKey>& keys, int criterion, CompareNoCase compare) {
  switch (criterion) {
    case kSortByDate:
      QuickSort(order, [&](int a, int b) { return CompareByDate(keys[size_t(a)], keys[size_t(b)]); });
      std::reverse(order.begin(), order.end());
      return SortOutcome::sorted;
    case kSortByName:
      QuickSort(order, [&](int a, int b) { return CompareByName(keys[size_t(a)], keys[size_t(b)], compare); });
      return SortOutcome::sorted;
    case kSortByType: {
      // Built once rather than at every comparison.
      std::vector<std::string> typeKeys;
      typeKeys.reserve(keys.size());
      for (const SortKey& key : keys) typeKeys.push_back(TypeKey(key.name));
      QuickSort(order, [&](int a, int b) { return compare(typeKeys[size_t(a)].c_str(), typeKeys[size_t(b)].c_str()); });
      return SortOutcome::sorted;
    }
    case kSortSelectedFirst:
      if (std::none_of(keys.begin(), keys.end(), [](const SortKey& k) { return k.stamp != 0; })) {
        return SortOutcome::refusedNothingSelected;
      }
      QuickSort(order, [&](int a, int b) { return CompareSelectedFirst(keys[size_t(a)], keys[size_t(b)], compare); });
      return SortOutcome::sorted;
    default:
      return SortOutcome::unknownCriterion;
  }
}

std::optional<int> StoredSortCriterion(int automationValue) {
  switch (automationValue) {
    case 0: return kSortByName;
    case 1: return kSortByDate;
    case 2: return kSortByType;
    case 3: return kSortSelectedFirst;
    default: return std::nullopt;
  }
}

}  // namespace galcore
