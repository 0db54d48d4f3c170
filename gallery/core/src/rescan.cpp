// Planning and applying a re-scan of the slide table's folder.
#include "galcore/rescan.h"

#include <algorithm>
#include <unordered_map>

#include "galcore/selection.h"

namespace galcore {

RescanPlan PlanRescan(const std::vector<ScanItem>& items, const std::vector<ListedFile>& listing) {
  constexpr size_t kNew = SIZE_MAX;
  std::unordered_map<std::string, size_t> itemOfName;  // kNew for names appended by this scan
  for (size_t i = 0; i < items.size(); ++i) itemOfName.emplace(items[i].name, i);
  std::vector<bool> seen(items.size(), false);

  RescanPlan plan;
  enum class Last { none, retimed, appended } last = Last::none;
  size_t lastItem = 0;
  for (size_t f = 0; f < listing.size(); ++f) {
    const auto found = itemOfName.find(listing[f].name);
    if (found == itemOfName.end()) {
      itemOfName.emplace(listing[f].name, kNew);
      plan.appended.push_back(f);
      last = Last::appended;
      lastItem = plan.appended.size() - 1;
      continue;
    }
    const size_t item = found->second;
    if (item == kNew || seen[item]) continue;  // listed twice
    seen[item] = true;
    if (items[item].time != listing[f].time) {
      plan.retimed.push_back({item, listing[f].time});
      last = Last::retimed;
      lastItem = item;
    }
  }
  for (size_t i = items.size(); i-- > 0;) {
    if (!seen[i]) plan.removed.push_back(i);
  }
  plan.changed = !plan.retimed.empty() || !plan.appended.empty() || !plan.removed.empty();

  // plan.removed is descending; count the removed items below a kept one.
  auto removedBelow = [&](size_t item) {
    return size_t(std::count_if(plan.removed.begin(), plan.removed.end(), [&](size_t r) { return r < item; }));
  };
  if (last == Last::retimed) plan.lastChanged = int(lastItem - removedBelow(lastItem));
  if (last == Last::appended) plan.lastChanged = int(items.size() - plan.removed.size() + lastItem);
  return plan;
}

void ApplyRescan(std::vector<ScanItem>& items, const std::vector<ListedFile>& listing, const RescanPlan& plan) {
  for (const RescanPlan::Retime& r : plan.retimed) {
    items[r.item].time = r.time;
    items[r.item].flags |= kNeedsThumbnail;
  }
  for (size_t f : plan.appended) items.push_back({listing[f].name, listing[f].time, kInitialItemFlags | kNeedsThumbnail});
  for (size_t i : plan.removed) items.erase(items.begin() + std::ptrdiff_t(i));
}

}  // namespace galcore
