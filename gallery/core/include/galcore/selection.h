// The document item's flags word, selection stamps, the selection order and the click rule of the table.
//
// cSTDocItem keeps its flags word with these helpers; cSTDoc builds its selected-order index array with
// SelectedOrder; cSlideTableView applies mouse clicks with ApplyClick over its cells (a CellSelection that
// reaches each cell's document item) and repaints the cells it returns.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace galcore {

constexpr uint32_t kNeedsThumbnail = 1u << 0;
constexpr uint32_t kNotSeen = 1u << 1;  // marker while the folder is re-scanned
constexpr uint32_t kItemConstructed = 1u << 2;
constexpr uint32_t kInitialItemFlags = kItemConstructed;
constexpr int kStampShift = 3;
constexpr uint32_t kStampMask = 0xFFFFFFFFu >> kStampShift;  // 29 bits

inline uint32_t StampOf(uint32_t flags) { return flags >> kStampShift; }
inline bool IsSelected(uint32_t flags) { return (flags & kItemConstructed) && StampOf(flags) != 0; }
inline uint32_t WithStamp(uint32_t flags, uint32_t stamp) {
  return (flags & ((1u << kStampShift) - 1)) | ((stamp & kStampMask) << kStampShift);
}
inline uint32_t Deselected(uint32_t flags) { return WithStamp(flags, 0); }

// The next value of the process-wide selection counter (first 1, then one more per call, from any thread).
// It never gives 0, which means "not selected": after 2^29 - 1 it starts again at 1.
uint32_t NextSelectionStamp();
inline uint32_t Selected(uint32_t flags) { return WithStamp(flags, NextSelectionStamp()); }

// Indices of the selected items ordered by ascending stamp; equal stamps keep index order.
std::vector<int> SelectedOrder(const std::vector<uint32_t>& flags);

// The table's cells as the click rule sees them; the view implements it over its cells' items.
class CellSelection {
 public:
  virtual ~CellSelection() = default;
  virtual int CellCount() const = 0;
  virtual bool IsCellSelected(int cell) const = 0;
  // Selecting takes the next stamp; deselecting clears it.
  virtual void SetCellSelected(int cell, bool selected) = 0;
};

// A CellSelection over a flags word per cell.
class FlagsSelection : public CellSelection {
 public:
  explicit FlagsSelection(std::vector<uint32_t>& flags) : flags_(flags) {}
  int CellCount() const override { return int(flags_.size()); }
  bool IsCellSelected(int cell) const override { return IsSelected(flags_[size_t(cell)]); }
  void SetCellSelected(int cell, bool selected) override;

 private:
  std::vector<uint32_t>& flags_;
};

// Selects the cells from `from` to `to` in that order, leaving selected ones (and their stamps) alone;
// appends the cells it changed to changed.
void SelectRange(CellSelection& cells, int from, int to, std::vector<int>* changed);

struct ClickOutcome {
  int anchor = -1;
  std::vector<int> repaint;  // cells whose look changed, the old anchor among them
};

// A click on cell (-1: empty space) with the Ctrl and Shift states: without either, the selection is cleared
// and the anchor reset first. Then Shift with an anchor selects the range from the anchor to the cell; else
// the cell is toggled and becomes the anchor when it became selected.
ClickOutcome ApplyClick(CellSelection& cells, int cell, bool ctrl, bool shift, int anchor);

}  // namespace galcore
