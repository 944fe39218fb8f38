// Invert mode of RasterCanvas: every pixel of a figure inverted exactly
// once, so that drawing it twice restores the surface.
#include <gtest/gtest.h>

#include "view/raster_canvas.h"
#include "view/raster_test_support.h"

namespace wandrix::testing {
namespace {

TEST(RasterCanvasInvert, OutlineInvertsOnceAndTwiceRestores) {
  struct Case {
    int l, t, r, b, expected;
  };
  const Case cases[] = {{10, 10, 10, 10, 0}, {10, 10, 10, 20, 0}, {10, 10, 11, 15, 5},
                        {10, 10, 15, 11, 5}, {10, 10, 11, 11, 1}, {10, 10, 12, 12, 4},
                        {15, 15, 5, 5, 36},  {-5, -5, 5, 5, 9},   {20, 20, 40, 40, 9}};
  for (const Case& k : cases) {
    RasterCanvas c(25, 25);
    RasterCanvas before(25, 25);
    pattern(c);
    pattern(before);
    c.set_invert(true);
    c.select(c.stock_object(StockObject::hollow_brush));
    c.rectangle(k.l, k.t, k.r, k.b);
    EXPECT_EQ(changed_pixels(c, before), k.expected) << k.l << "," << k.t << "," << k.r;
    c.rectangle(k.l, k.t, k.r, k.b);
    EXPECT_EQ(changed_pixels(c, before), 0);
  }
}

TEST(RasterCanvasInvert, LinesAndEllipsesRestoreToo) {
  RasterCanvas c(30, 20);
  RasterCanvas before(30, 20);
  pattern(c);
  pattern(before);
  c.set_invert(true);
  c.select(c.stock_object(StockObject::hollow_brush));
  for (int pass = 0; pass < 2; ++pass) {
    c.move_to(2, 2);
    c.line_to(20, 9);
    c.line_to(3, 18);
    c.line_to(2, 2);
    c.ellipse(14, 4, 29, 19);
    c.ellipse(25, 15, 35, 25);
    if (pass == 0) {
      EXPECT_GT(changed_pixels(c, before), 40);
    }
  }
  EXPECT_EQ(changed_pixels(c, before), 0);
}

TEST(RasterCanvasInvert, ASolidBrushInvertsTheInsideToo) {
  RasterCanvas c(12, 12);
  RasterCanvas before(12, 12);
  pattern(c);
  pattern(before);
  c.select(c.create_brush(kGreen));
  c.set_invert(true);
  c.ellipse(1, 1, 11, 9);
  int inside = 0;
  for (int j = 0; j < 8; ++j) {
    for (int i = 0; i < 10; ++i) {
      inside += in_ellipse(i, j, 10, 8) ? 1 : 0;
    }
  }
  EXPECT_EQ(changed_pixels(c, before), inside);
  c.rectangle(0, 0, 12, 12);
  EXPECT_EQ(changed_pixels(c, before), 144 - inside);
}

}  // namespace
}  // namespace wandrix::testing
