// Slide sizes and cell parts, the flow layout and its hit testing, scroll sizes, fitting a thumbnail.
#include <gtest/gtest.h>

#include "galcore/slidelayout.h"

using namespace galcore;

namespace {

CellMetrics Metrics(int size) { return MakeCellMetrics(*GeometryForSize(size)); }

TEST(SlideLayoutTest, ThreeSizes) {
  struct Case {
    int size;
    int cellWidth, cellHeight, iconX, iconY;
    Rect caption, image;
  } cases[] = {
      {kSmallSlides, 50, 50, 3, 46, {}, {5, 5, 45, 45}},
      {kMediumSlides, 92, 104, 4, 88, {16, 88, 84, 100}, {6, 6, 86, 86}},
      {kLargeSlides, 126, 138, 5, 122, {17, 121, 117, 133}, {7, 7, 119, 119}},
  };
  for (const Case& k : cases) {
    const CellMetrics m = Metrics(k.size);
    EXPECT_EQ(k.cellWidth, m.cellWidth) << k.size;
    EXPECT_EQ(k.cellHeight, m.cellHeight) << k.size;
    EXPECT_EQ(k.iconX, m.iconX) << k.size;
    EXPECT_EQ(k.iconY, m.iconY) << k.size;
    EXPECT_EQ(k.caption, m.Caption()) << k.size;
    EXPECT_EQ(k.image, m.ImageBox()) << k.size;
    EXPECT_EQ(k.size != kSmallSlides, m.CaptionsShown()) << k.size;
  }
  EXPECT_FALSE(GeometryForSize(3));
  EXPECT_FALSE(GeometryForSize(-1));
}

TEST(SlideLayoutTest, ClicksOnIconAndCaptionOnlyWhereTheyAreDrawn) {
  const CellMetrics large = Metrics(kLargeSlides);
  EXPECT_EQ(CellPart::typeIcon, PartAt(large, {6, 123}));
  EXPECT_EQ(CellPart::caption, PartAt(large, {60, 125}));
  EXPECT_EQ(CellPart::picture, PartAt(large, {60, 60}));
  EXPECT_EQ(CellPart::picture, PartAt(large, {120, 125}));
  // Small slides draw neither, so the places where they would be are the picture's.
  const CellMetrics small = Metrics(kSmallSlides);
  for (Point p : {Point{4, 47}, Point{20, 45}, Point{30, 48}}) EXPECT_EQ(CellPart::picture, PartAt(small, p));
}

// The view's walk: the first cell in flow order whose rectangle holds the point.
int WalkHitTest(const FlowLayout& layout, Point p, int count) {
  for (int i = 0; i < count; ++i) {
    if (layout.CellRect(i).Contains(p)) return i;
  }
  return -1;
}

TEST(SlideLayoutTest, FlowWrapsAtTheClientWidthWithOneCellPerRowAtLeast) {
  const Extent cell{126, 138};
  struct Case { int width, spacing, columns; } cases[] = {
      {0, 0, 1}, {100, 0, 1}, {126, 0, 1}, {251, 0, 1}, {252, 0, 2}, {1000, 0, 7}, {261, 10, 1}, {262, 10, 2},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(k.columns, FlowLayout(cell, {k.spacing, k.spacing}, k.width).Columns()) << k.width << "/" << k.spacing;
  }
  const FlowLayout narrow(cell, {0, 0}, 60);
  for (int i = 0; i < 5; ++i) EXPECT_EQ((Rect{0, 138 * i, 126, 138 * (i + 1)}), narrow.CellRect(i));
  EXPECT_EQ((Rect{136, 148, 262, 286}), FlowLayout(cell, {10, 10}, 262).CellRect(3));
}

TEST(SlideLayoutTest, HitTestMatchesTheWalkEverywhere) {
  const Extent cell{50, 50};
  for (int spacing : {0, 7}) {
    for (int width : {30, 120, 333}) {
      const FlowLayout layout(cell, {spacing, spacing}, width);
      for (int count : {0, 1, 5, 13}) {
        for (int y = -3; y < 500; y += 3) {
          for (int x = -3; x < 400; x += 3) {
            ASSERT_EQ(WalkHitTest(layout, {x, y}, count), layout.CellAt({x, y}, count))
                << x << "," << y << " width " << width << " spacing " << spacing << " count " << count;
          }
        }
      }
    }
  }
}

TEST(SlideLayoutTest, ScrollSizesCountColumnsWithAndWithoutTheVerticalBar) {
  const Extent cell{100, 100}, none{0, 0};
  struct Case {
    const char* what;
    ScrollInput in;
    int columns, rows;
    Extent total, page;
  } cases[] = {
      {"rows fit in the full width", {280, 400, true, 20, 9}, 3, 3, {300, 400}, {280, 400}},
      {"rows do not fit: room for the bar", {280, 250, true, 20, 9}, 2, 5, {200, 500}, {280, 250}},
      {"no bar shown yet", {300, 250, false, 20, 9}, 2, 5, {200, 500}, {300, 250}},
      {"lower than a row", {300, 50, false, 20, 3}, 2, 2, {200, 200}, {300, 100}},
      {"narrower than a cell", {60, 500, false, 20, 3}, 1, 3, {100, 500}, {100, 500}},
      {"empty", {300, 250, false, 20, 0}, 3, 0, {300, 250}, {300, 250}},
  };
  for (const Case& k : cases) {
    const ScrollSizes s = ComputeScrollSizes(cell, none, k.in);
    EXPECT_EQ(k.columns, s.columns) << k.what;
    EXPECT_EQ(k.rows, s.rows) << k.what;
    EXPECT_EQ(k.total.cx, s.total.cx) << k.what;
    EXPECT_EQ(k.total.cy, s.total.cy) << k.what;
    EXPECT_EQ(k.page.cx, s.page.cx) << k.what;
    EXPECT_EQ(k.page.cy, s.page.cy) << k.what;
    EXPECT_EQ(100, s.line.cy) << k.what;
  }
  const ScrollSizes spaced = ComputeScrollSizes(cell, {5, 8}, {400, 1000, false, 20, 7});
  EXPECT_EQ(3, spaced.columns);
  EXPECT_EQ(3 * 105 - 5, spaced.total.cx);
  EXPECT_EQ(1000, spaced.total.cy);
  EXPECT_EQ(108, spaced.line.cy);
}

TEST(SlideLayoutTest, ThumbnailFitsItsBoxCentredWithItsAspect) {
  const Rect box{7, 7, 119, 119};
  struct Case { int w, h; Rect drawn; } cases[] = {
      {160, 120, {7, 21, 119, 105}}, {120, 160, {21, 7, 105, 119}}, {100, 33, {7, 44, 119, 81}},
      {112, 112, {7, 7, 119, 119}},  {20, 10, {7, 35, 119, 91}},     {1, 1000, {62, 7, 63, 119}},
      {0, 10, {7, 7, 7, 7}},
  };
  for (const Case& k : cases) EXPECT_EQ(k.drawn, FitPicture(box, k.w, k.h)) << k.w << "x" << k.h;
  EXPECT_EQ((Rect{4, 18, 122, 108}), SelectionFrame(FitPicture(box, 160, 120)));
}

TEST(SlideLayoutTest, ShadowPenGrowsWithThePictureUpToTheFrame) {
  struct Case { int drawn, frame, pen; } cases[] = {
      {40, 4, 2}, {41, 4, 3}, {80, 4, 3}, {81, 4, 4}, {81, 8, 5}, {10, 1, 1},
  };
  for (const Case& k : cases) EXPECT_EQ(k.pen, ShadowPenWidth(k.drawn, k.frame)) << k.drawn << "/" << k.frame;
}

}  // namespace
