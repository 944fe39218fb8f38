// RasterCanvas pixel rules, checked pixel by pixel: small pictures as text
// art, larger ones against a brute-force reading of the rules.
#include "view/raster_canvas.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>

#include "view/raster_test_support.h"

namespace wandrix::testing {
namespace {

TEST(RasterCanvasLine, FollowsBresenhamAndExcludesTheEndPixel) {
  RasterCanvas c(8, 4);
  c.select(c.create_pen(kRed));
  c.move_to(0, 0);
  c.line_to(7, 3);
  EXPECT_EQ(art(c),
            "##......\n"
            "..##....\n"
            "....##..\n"
            "......#.\n");
  EXPECT_EQ(painted(c), reference_line(0, 0, 7, 3, 8, 4));

  RasterCanvas tie(5, 2);  // exact halves step toward the end point
  tie.select(tie.create_pen(kRed));
  tie.move_to(0, 0);
  tie.line_to(4, 1);
  EXPECT_EQ(art(tie), "##...\n..##.\n");

  RasterCanvas steep(3, 6);
  steep.select(steep.create_pen(kRed));
  steep.move_to(2, 5);
  steep.line_to(0, 0);
  EXPECT_EQ(art(steep), "...\n#..\n.#.\n.#.\n..#\n..#\n");
  EXPECT_EQ(steep.pixel(0, 0), kBlackPixel);  // the end pixel

  steep.move_to(1, 1);
  steep.line_to(1, 1);  // zero length: nothing
  EXPECT_EQ(painted(steep).size(), 5u);
}

TEST(RasterCanvasLine, ClipsExactlyLikeTheUnclippedRule) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> near(-40, 80);
  std::uniform_int_distribution<int> far(-2000000000, 2000000000);
  for (int trial = 0; trial < 400; ++trial) {
    RasterCanvas c(37, 23);
    c.select(c.create_pen(kRed));
    const bool huge = trial % 4 == 0;
    const int x0 = huge ? far(random) : near(random);
    const int y0 = huge ? far(random) : near(random);
    const int x1 = near(random);
    const int y1 = near(random);
    c.move_to(x0, y0);
    c.line_to(x1, y1);
    if (huge) {
      // A line of two billion steps cannot be walked here; check only that
      // what was drawn lies on the line's path near the surface.
      for (const auto& [x, y] : painted(c)) {
        EXPECT_TRUE(x >= 0 && y >= 0 && x < 37 && y < 23);
      }
      continue;
    }
    ASSERT_EQ(painted(c), reference_line(x0, y0, x1, y1, 37, 23))
        << x0 << "," << y0 << " -> " << x1 << "," << y1;
  }
}

TEST(RasterCanvasLine, ClipsALongLineFromFarAway) {
  RasterCanvas c(50, 40);
  c.select(c.create_pen(kRed));
  c.move_to(-300000, -100000);
  c.line_to(300000, 100005);
  EXPECT_EQ(painted(c), reference_line(-300000, -100000, 300000, 100005, 50, 40));
  EXPECT_FALSE(painted(c).empty());
}

TEST(RasterCanvasEllipse, DotsHaveTheirBoxSize) {
  RasterCanvas c(8, 6);
  red_on_green(c);
  c.ellipse(0, 0, 2, 2);  // radius 1 around (1, 1)
  c.ellipse(3, 1, 7, 5);  // radius 2 around (5, 3)
  EXPECT_EQ(art(c),
            "##......\n"
            "##..##..\n"
            "...#oo#.\n"
            "...#oo#.\n"
            "....##..\n"
            "........\n");

  RasterCanvas big(24, 24);
  red_on_green(big);
  big.ellipse(2, 2, 22, 22);  // radius 10 around (12, 12)
  const Pixels dot = painted(big);
  int min_x = 99, max_x = -1, min_y = 99, max_y = -1;
  for (const auto& [x, y] : dot) {
    min_x = std::min(min_x, x);
    max_x = std::max(max_x, x);
    min_y = std::min(min_y, y);
    max_y = std::max(max_y, y);
    EXPECT_NE(big.pixel(23 - x, y), kBlackPixel);  // mirror image about x = 12
  }
  EXPECT_EQ(max_x - min_x + 1, 20);
  EXPECT_EQ(max_y - min_y + 1, 20);
  EXPECT_EQ(big.pixel(12, 12), RasterCanvas::pixel_of(kGreen));
  EXPECT_EQ(big.pixel(2, 12), RasterCanvas::pixel_of(kRed));
}

TEST(RasterCanvasEllipse, OutlineWithPenInteriorWithBrush) {
  RasterCanvas c(7, 6);
  red_on_green(c);
  c.ellipse(7, 6, 1, 0);  // given backwards: put in order
  EXPECT_EQ(art(c),
            "..####.\n"
            ".#oooo#\n"
            ".#oooo#\n"
            ".#oooo#\n"
            ".#oooo#\n"
            "..####.\n");
  c.select(c.stock_object(StockObject::hollow_brush));
  c.select(c.create_pen(kGreen));
  c.ellipse(1, 0, 7, 6);
  EXPECT_EQ(art(c),
            "..oooo.\n"
            ".oooooo\n"
            ".oooooo\n"
            ".oooooo\n"
            ".oooooo\n"
            "..oooo.\n");
}

TEST(RasterCanvasEllipse, MatchesTheRuleAtAnySizeAndClipped) {
  const int boxes[][4] = {{3, 2, 9, 5},       {-4, -3, 6, 7}, {10, 8, 13, 40},
                          {-200, 5, 300, 30}, {0, 0, 1, 9},   {5, 5, 6, 6}};
  for (const auto& b : boxes) {
    RasterCanvas c(40, 30);
    red_on_green(c);
    c.ellipse(b[0], b[1], b[2], b[3]);
    const long long w = b[2] - b[0];
    const long long h = b[3] - b[1];
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        const bool inside = in_ellipse(x - b[0], y - b[1], w, h);
        ASSERT_EQ(c.pixel(x, y) != kBlackPixel, inside) << x << "," << y << " box " << b[0];
        const bool outline = inside && (!in_ellipse(x - 1 - b[0], y - b[1], w, h) ||
                                        !in_ellipse(x + 1 - b[0], y - b[1], w, h) ||
                                        !in_ellipse(x - b[0], y - 1 - b[1], w, h) ||
                                        !in_ellipse(x - b[0], y + 1 - b[1], w, h));
        if (inside) {
          ASSERT_EQ(c.pixel(x, y), RasterCanvas::pixel_of(outline ? kRed : kGreen));
        }
      }
    }
  }
}

TEST(RasterCanvasRectangle, OutlineInteriorAndHollow) {
  RasterCanvas c(7, 5);
  red_on_green(c);
  c.rectangle(6, 4, 1, 0);
  EXPECT_EQ(art(c),
            ".#####.\n"
            ".#ooo#.\n"
            ".#ooo#.\n"
            ".#####.\n"
            ".......\n");
  RasterCanvas hollow(5, 4);
  hollow.select(hollow.create_pen(kRed));
  hollow.select(hollow.stock_object(StockObject::hollow_brush));
  hollow.rectangle(-1, 1, 3, 10);  // clipped on the left and bottom
  hollow.rectangle(4, 0, 5, 3);    // one pixel wide
  EXPECT_EQ(art(hollow),
            "....#\n"
            "###.#\n"
            "..#.#\n"
            "..#..\n");
}

TEST(RasterCanvasFill, FillsClippedWithoutSelectingOrInverting) {
  RasterCanvas c(5, 3);
  const ObjectHandle green = c.create_brush(kGreen);
  c.set_invert(true);
  c.fill_rect(Rect{-2, 1, 3, 9}, green);
  c.fill_rect(Rect{4, 0, 3, 3}, green);  // right before left: nothing
  c.fill_rect(Rect{0, 0, 5, 3}, c.stock_object(StockObject::hollow_brush));
  EXPECT_EQ(art(c), ".....\nooo..\nooo..\n");
  c.set_invert(false);
  c.rectangle(0, 0, 5, 3);                     // still the white stock brush
  EXPECT_EQ(art(c), ".....\n.www.\n.....\n");  // black pen, white brush
}
TEST(RasterCanvasObjects, SelectReturnsThePreviousAndHandlesAreReused) {
  RasterCanvas c(4, 1);
  const ObjectHandle black_pen = c.stock_object(StockObject::black_pen);
  const ObjectHandle pen = c.create_pen(kRed);
  EXPECT_EQ(c.select(pen), black_pen);
  EXPECT_EQ(c.select(c.stock_object(StockObject::hollow_brush)),
            c.stock_object(StockObject::white_brush));
  EXPECT_EQ(c.select(black_pen), pen);
  c.delete_object(pen);
  EXPECT_EQ(c.select(pen), 0u);  // deleted
  EXPECT_EQ(c.select(0), 0u);
  EXPECT_EQ(c.create_brush(kGreen), pen);  // the free handle again
  c.delete_object(black_pen);              // stock: nothing happens
  c.select(c.stock_object(StockObject::white_pen));
  EXPECT_EQ(c.select(black_pen), c.stock_object(StockObject::white_pen));

  const ObjectHandle red = c.create_pen(kRed);
  c.select(red);
  c.delete_object(red);  // deleted while selected: keeps drawing red
  c.create_pen(kGreen);  // may take red's handle
  c.move_to(0, 0);
  c.line_to(4, 0);
  EXPECT_EQ(art(c), "####\n");
  c.select(c.stock_object(StockObject::null_pen));
  c.move_to(0, 0);
  c.set_invert(true);
  c.line_to(4, 0);
  EXPECT_EQ(art(c), "####\n");
}

TEST(RasterCanvasSurface, ResizeKeepsWhatStillFits) {
  RasterCanvas c(3, 2);
  red_on_green(c);
  c.fill_rect(Rect{0, 0, 3, 2}, c.create_brush(kRed));
  c.resize(4, 1);
  EXPECT_EQ(art(c), "###.\n");
  c.resize(-3, 5);
  EXPECT_EQ(c.width(), 0);
  c.line_to(5, 5);  // nothing to draw on, nothing breaks
  c.ellipse(0, 0, 4, 4);
  c.rectangle(0, 0, 4, 4);
}

TEST(RasterCanvasSurface, ExtremeCoordinatesAreSafe) {
  constexpr int kMin = std::numeric_limits<int>::min();
  constexpr int kMax = std::numeric_limits<int>::max();
  RasterCanvas c(20, 10);
  red_on_green(c);
  c.ellipse(kMin, kMin, kMax, kMax);  // too big to draw
  EXPECT_TRUE(painted(c).empty());
  c.ellipse(-1000000000, 5, 1000000000, 7);  // a very flat one: two rows across
  EXPECT_EQ(painted(c).size(), 40u);
  c.rectangle(kMin, kMin, kMax, kMax);  // outline far outside, inside green
  std::string green;
  for (int y = 0; y < 10; ++y) {
    green += std::string(20, 'o') + "\n";
  }
  EXPECT_EQ(art(c), green);
  c.move_to(kMin, kMin);
  c.line_to(kMax, kMax);  // slope 1 through (0, 0)
  c.move_to(kMax, kMin);
  c.line_to(kMin, kMax);  // x + y = -1: nothing visible
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 20; ++x) {
      EXPECT_EQ(c.pixel(x, y), RasterCanvas::pixel_of(x == y ? kRed : kGreen)) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace wandrix::testing
