// Re-scanning the slide table's folder: which items keep, change, come and go.
//
// cSlideTableDoc's refresh lists the folder with its usual filter, calls PlanRescan with its items and the
// listing, and applies the plan to its item array in the plan's order (times, then appends, then removals
// from the last to the first), as ApplyRescan does on plain records. When nothing changed it restarts the
// loader; otherwise it rebuilds the table and may scroll to lastChanged.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace galcore {

struct ListedFile {
  std::string name;
  uint64_t time = 0;  // last-write FILETIME
};

struct ScanItem {
  std::string name;
  uint64_t time = 0;
  uint32_t flags = 0;
};

struct RescanPlan {
  struct Retime {
    size_t item;
    uint64_t time;
  };
  std::vector<Retime> retimed;  // items whose file changed: new time, needs-thumbnail set
  std::vector<size_t> appended; // listing entries without an item, appended in this order
  std::vector<size_t> removed;  // items no longer listed, from the last to the first
  bool changed = false;
  // The last added or changed item in listing order, as an index of the item array once the plan is
  // applied; -1 when none.
  int lastChanged = -1;
};

// Every item starts unseen; a listed file clears the item of its exact name (the first item of a name; a name
// listed twice counts once) and, when its time differs, gives it the new time; a file without an item is
// appended; items still unseen are removed. The plan carries the unseen marker, so the items' flags word
// keeps its not-seen bit clear.
RescanPlan PlanRescan(const std::vector<ScanItem>& items, const std::vector<ListedFile>& listing);

// Applies a plan to plain records as the document applies it to its items: new times with needs-thumbnail,
// new items (initial flags with needs-thumbnail) appended, then the removals.
void ApplyRescan(std::vector<ScanItem>& items, const std::vector<ListedFile>& listing, const RescanPlan& plan);

}  // namespace galcore
