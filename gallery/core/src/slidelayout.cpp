// Slide sizes, cell parts, the flow layout, hit testing and scroll sizes of the slide table.
#include "galcore/slidelayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace galcore {

namespace {

// Image, caption, gaps, frame and font of the three sizes.
constexpr SlideGeometry kSizes[] = {
    {40, 40, 0, 0, 6, 6, 4, 0},
    {80, 80, 80, 12, 8, 8, 4, 0},
    {112, 112, 112, 12, 10, 10, 4, 0},
};
// The caption's bottom keeps this share (in percent) of the vertical gap above the frame band.
constexpr int kCaptionLiftPercent = 10;
constexpr int kShadowThin = 2, kShadowMedium = 3, kShadowWide = 5;
constexpr int kShadowThinUpTo = 40, kShadowMediumUpTo = 80;

int ColumnsFor(int width, Extent cell, Extent spacing) {
  // After each cell x grows by a column step and the row wraps when the next cell would pass the width;
  // the first cell of a row is always placed.
  const int step = cell.cx + spacing.cx;
  if (width < cell.cx || step <= 0) return 1;
  return (width - cell.cx) / step + 1;
}

}  // namespace

std::optional<SlideGeometry> GeometryForSize(int slideSize) {
  if (slideSize < kSmallSlides || slideSize > kLargeSlides) return std::nullopt;
  return kSizes[slideSize];
}

CellMetrics MakeCellMetrics(const SlideGeometry& g) {
  CellMetrics m;
  m.geometry = g;
  m.cellWidth = g.frameWidth + g.horizontalGap + g.imageWidth;
  m.cellHeight = g.captionHeight + g.verticalGap + g.frameWidth + g.imageHeight;
  m.iconX = g.horizontalGap / 2;
  m.iconY = m.cellHeight - g.captionHeight - g.frameWidth;
  return m;
}

Rect CellMetrics::Caption() const {
  if (!CaptionsShown()) return {};
  const SlideGeometry& g = geometry;
  const int halfFrame = g.frameWidth / 2;
  Rect box;
  box.left = iconX + halfFrame + kTypeIconSide;
  box.right = iconX + halfFrame + g.captionWidth;
  box.bottom = cellHeight - halfFrame - g.verticalGap * kCaptionLiftPercent / 100;
  box.top = box.bottom - g.captionHeight;
  return box.Offset(-halfFrame, -halfFrame);
}

Rect CellMetrics::ImageBox() const {
  const SlideGeometry& g = geometry;
  const int left = g.frameWidth / 2 + g.horizontalGap / 2;
  const int top = g.frameWidth / 2 + g.verticalGap / 2;
  return {left, top, left + g.imageWidth, top + g.imageHeight};
}

CellPart PartAt(const CellMetrics& metrics, Point inCell) {
  if (!metrics.CaptionsShown()) return CellPart::picture;
  if (metrics.TypeIcon().Contains(inCell)) return CellPart::typeIcon;
  if (metrics.Caption().Contains(inCell)) return CellPart::caption;
  return CellPart::picture;
}

Rect FitPicture(const Rect& box, int width, int height) {
  if (width <= 0 || height <= 0 || box.Width() <= 0 || box.Height() <= 0) return {box.left, box.top, box.left, box.top};
  int w, h;
  // Width limits when width / height >= box width / box height.
  if (int64_t(width) * box.Height() >= int64_t(height) * box.Width()) {
    w = box.Width();
    h = int(std::lround(double(height) * w / width));
  } else {
    h = box.Height();
    w = int(std::lround(double(width) * h / height));
  }
  w = std::max(w, 1);
  h = std::max(h, 1);
  const int left = box.left + (box.Width() - w) / 2;
  const int top = box.top + (box.Height() - h) / 2;
  return {left, top, left + w, top + h};
}

int ShadowPenWidth(int drawnWidth, int frameWidth) {
  const int pen = drawnWidth <= kShadowThinUpTo ? kShadowThin : drawnWidth <= kShadowMediumUpTo ? kShadowMedium : kShadowWide;
  return std::min(pen, frameWidth);
}

FlowLayout::FlowLayout(Extent cell, Extent spacing, int clientWidth)
    : cell_(cell), spacing_(spacing), columns_(ColumnsFor(clientWidth, cell, spacing)) {}

Rect FlowLayout::CellRect(int index) const {
  const int x = (index % columns_) * (cell_.cx + spacing_.cx);
  const int y = (index / columns_) * (cell_.cy + spacing_.cy);
  return {x, y, x + cell_.cx, y + cell_.cy};
}

int FlowLayout::CellAt(Point p, int count) const {
  if (p.x < 0 || p.y < 0 || cell_.cx <= 0 || cell_.cy <= 0) return -1;
  const int column = p.x / (cell_.cx + spacing_.cx);
  const int row = p.y / (cell_.cy + spacing_.cy);
  if (column >= columns_) return -1;
  const int64_t index = int64_t(row) * columns_ + column;
  if (index >= count || !CellRect(int(index)).Contains(p)) return -1;
  return int(index);
}

ScrollSizes ComputeScrollSizes(Extent cell, Extent spacing, const ScrollInput& in) {
  const Extent step{cell.cx + spacing.cx, cell.cy + spacing.cy};
  const int fullWidth = in.clientWidth + (in.verticalBarShown ? in.verticalBarWidth : 0);
  FlowLayout layout(cell, spacing, fullWidth);
  if (layout.Rows(in.count) * step.cy - spacing.cy > in.clientHeight) {
    layout = FlowLayout(cell, spacing, fullWidth - in.verticalBarWidth);
  }
  ScrollSizes s;
  s.columns = layout.Columns();
  s.rows = layout.Rows(in.count);
  s.total.cx = s.columns * step.cx - spacing.cx;
  s.total.cy = std::max(in.clientHeight, s.rows * step.cy - spacing.cy);
  s.page.cy = in.clientHeight >= cell.cy ? in.clientHeight : step.cy;
  s.page.cx = in.clientWidth >= cell.cx ? in.clientWidth : step.cx;
  s.line = step;
  return s;
}

}  // namespace galcore
