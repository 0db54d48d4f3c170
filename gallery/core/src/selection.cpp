// Selection stamps, the selection order and the click rule of the slide table.
#include "galcore/selection.h"

#include <algorithm>
#include <atomic>

namespace galcore {

namespace {
std::atomic<uint32_t> g_selectionCounter{0};
}  // namespace

uint32_t NextSelectionStamp() {
  uint32_t current = g_selectionCounter.load(std::memory_order_relaxed);
  uint32_t next;
  do {
    next = current >= kStampMask ? 1 : current + 1;
  } while (!g_selectionCounter.compare_exchange_weak(current, next, std::memory_order_relaxed));
  return next;
}

std::vector<int> SelectedOrder(const std::vector<uint32_t>& flags) {
  std::vector<int> order;
  for (size_t i = 0; i < flags.size(); ++i) {
    if (IsSelected(flags[i])) order.push_back(int(i));
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return StampOf(flags[size_t(a)]) < StampOf(flags[size_t(b)]); });
  return order;
}

void FlagsSelection::SetCellSelected(int cell, bool selected) {
  uint32_t& f = flags_[size_t(cell)];
  f = selected ? Selected(f) : Deselected(f);
}

void SelectRange(CellSelection& cells, int from, int to, std::vector<int>* changed) {
  const int step = from <= to ? 1 : -1;
  for (int cell = from;; cell += step) {
    if (!cells.IsCellSelected(cell)) {
      cells.SetCellSelected(cell, true);
      if (changed) changed->push_back(cell);
    }
    if (cell == to) break;
  }
}

ClickOutcome ApplyClick(CellSelection& cells, int cell, bool ctrl, bool shift, int anchor) {
  ClickOutcome out;
  out.anchor = anchor >= 0 && anchor < cells.CellCount() ? anchor : -1;
  auto repaint = [&](int i) {
    if (i >= 0 && std::find(out.repaint.begin(), out.repaint.end(), i) == out.repaint.end()) out.repaint.push_back(i);
  };
  if (!ctrl && !shift) {
    for (int i = 0; i < cells.CellCount(); ++i) {
      if (cells.IsCellSelected(i)) {
        cells.SetCellSelected(i, false);
        repaint(i);
      }
    }
    repaint(out.anchor);  // loses its dotted line
    out.anchor = -1;
  }
  if (cell < 0 || cell >= cells.CellCount()) return out;
  if (shift && out.anchor >= 0) {
    SelectRange(cells, out.anchor, cell, &out.repaint);
    return out;
  }
  const bool select = !cells.IsCellSelected(cell);
  cells.SetCellSelected(cell, select);
  repaint(cell);
  if (select) {
    repaint(out.anchor);
    out.anchor = cell;
  }
  return out;
}

}  // namespace galcore
