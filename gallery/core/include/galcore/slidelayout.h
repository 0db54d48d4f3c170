// Slide sizes, the parts of a cell, the flow of cells in the table, hit testing and scroll sizes.
//
// cSlideTableView's SlideMetrics hold a SlideGeometry and its CellMetrics beside their GDI objects (font,
// icons, colours, cached background); the view lays out, hit-tests and sizes its scroll range with these
// functions over plain rectangles in scrolled (document) coordinates.
#pragma once
#include <optional>

namespace galcore {

struct Point {
  int x = 0;
  int y = 0;
};

struct Extent {
  int cx = 0;
  int cy = 0;
};

// Right and bottom are exclusive, as with Win32 rectangles.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  Rect Inflated(int d) const { return {left - d, top - d, right + d, bottom + d}; }
  bool operator==(const Rect& o) const { return left == o.left && top == o.top && right == o.right && bottom == o.bottom; }
};

// The stored "Slide Size" values.
enum SlideSize : int { kSmallSlides = 0, kMediumSlides = 1, kLargeSlides = 2 };

constexpr int kTypeIconSide = 12;
// Thumbnails are always made for the largest image box, whatever the slide size.
constexpr int kThumbnailBox = 112;

// The set-up values of one slide size, in the order the metrics take them.
struct SlideGeometry {
  int imageWidth = 0, imageHeight = 0;
  int captionWidth = 0, captionHeight = 0;  // caption height 0: no captions and no type icons
  int horizontalGap = 0, verticalGap = 0;
  int frameWidth = 0;
  int fontChoice = 0;  // 0: the slide font record, else the alternate one
};

// The small, medium and large sizes; nullopt for any other value.
std::optional<SlideGeometry> GeometryForSize(int slideSize);

// A cell's size and the places of its parts, in cell coordinates (the cell's top left is 0, 0).
struct CellMetrics {
  SlideGeometry geometry;
  int cellWidth = 0, cellHeight = 0;
  int iconX = 0, iconY = 0;

  bool CaptionsShown() const { return geometry.captionHeight > 0; }
  Extent CellSize() const { return {cellWidth, cellHeight}; }
  Rect TypeIcon() const { return {iconX, iconY, iconX + kTypeIconSide, iconY + kTypeIconSide}; }
  // The caption as drawn: right of the type icon, its bottom above the lower frame band, then moved by
  // minus half the frame width in both directions. Empty without captions.
  Rect Caption() const;
  // The box the thumbnail is fitted into: inside the frame band and half the gaps, above the caption.
  Rect ImageBox() const;
};

CellMetrics MakeCellMetrics(const SlideGeometry& geometry);

// What a click inside a cell lands on. Without captions there is neither a type icon nor a caption.
enum class CellPart { picture, typeIcon, caption };
CellPart PartAt(const CellMetrics& metrics, Point inCell);

// The picture scaled to fit the box with its aspect kept (the limiting side exactly, the other rounded to
// the nearest pixel), centred; empty for an empty picture.
Rect FitPicture(const Rect& box, int width, int height);
// The shadow's pen: 2 for drawn widths up to 40, 3 up to 80, else 5, never wider than the frame band.
int ShadowPenWidth(int drawnWidth, int frameWidth);
constexpr int kSelectionPenWidth = 3;
constexpr int kSelectionMargin = 3;
// The selection rectangle (and the anchor's dotted line) around a drawn picture.
inline Rect SelectionFrame(const Rect& picture) { return picture.Inflated(kSelectionMargin); }

// Cells flowing left to right and wrapping at the client width; a row holds at least one cell.
class FlowLayout {
 public:
  FlowLayout(Extent cell, Extent spacing, int clientWidth);
  int Columns() const { return columns_; }
  int Rows(int count) const { return count <= 0 ? 0 : (count + columns_ - 1) / columns_; }
  Rect CellRect(int index) const;
  // The first cell of the count whose rectangle holds p, or -1.
  int CellAt(Point p, int count) const;

 private:
  Extent cell_, spacing_;
  int columns_;
};

struct ScrollInput {
  int clientWidth = 0, clientHeight = 0;  // the client area as it is now
  bool verticalBarShown = false;
  int verticalBarWidth = 0;  // SM_CXVSCROLL
  int count = 0;             // cells
};

// What CScrollView::SetScrollSizes takes (MM_TEXT), and the grid it came from.
struct ScrollSizes {
  Extent total, page, line;
  int columns = 0, rows = 0;
};

// Columns are counted for the width without a vertical bar, and again with room for one when the rows then
// do not fit the height. Vertical page: the client height when a row fits, else one row; line: one row. The
// horizontal steps follow the same rule with columns. The view computes once more when applying the sizes
// changes its client width.
ScrollSizes ComputeScrollSizes(Extent cell, Extent spacing, const ScrollInput& input);

}  // namespace galcore
