// The picture as pixels on the raster surface, and the identity of the fast
// paint with one drawn the plain way: every sample, dot and line, in order.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "model/colours.h"
#include "model/make_hill.h"
#include "view/coverage.h"
#include "view/paint.h"
#include "view/raster_canvas.h"
#include "view/rotation_frame.h"
#include "view/rubber_band.h"

namespace wandrix {
namespace {

constexpr std::uint32_t px(Colour c) { return RasterCanvas::pixel_of(c); }

// The chains drawn the plain way, exactly as written: every sample's line and
// dot, the start dot white.
void plain_chain(Simulation& sim, const Chain& chain, Canvas& canvas, std::size_t first) {
  const ObjectHandle white_pen = canvas.create_pen(kWhite);
  const ObjectHandle white_brush = canvas.create_brush(kWhite);
  const ObjectHandle pen = canvas.create_pen(chain.colour);
  const ObjectHandle brush = canvas.create_brush(chain.colour);
  const int r = sim.dot_radius;
  auto point = [&](std::size_t i) {
    int x = chain.xs[i];
    int y = chain.ys[i];
    project_point(sim, x, y, i < chain.zs.size() ? chain.zs[i] : 0.0);
    return Point{x, y};
  };
  if (first < chain.xs.size()) {
    Point p = point(first);
    canvas.move_to(p.x, p.y);
    const ObjectHandle old_pen = canvas.select(first == 0 ? white_pen : pen);
    const ObjectHandle old_brush = canvas.select(first == 0 ? white_brush : brush);
    canvas.ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
    canvas.select(pen);
    canvas.select(brush);
    for (std::size_t i = first + 1; i < chain.xs.size(); ++i) {
      p = point(i);
      if (sim.show_trajectory) {
        canvas.line_to(p.x, p.y);
      }
      canvas.ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
    }
    canvas.select(old_pen);
    canvas.select(old_brush);
  }
  for (ObjectHandle h : {white_pen, white_brush, pen, brush}) {
    canvas.delete_object(h);
  }
}

// As the window paints its surface: with a coverage, so that the hidden
// steps of a full paint are left out.
void surface_paint(Simulation& sim, RasterCanvas& canvas, bool for_export = false) {
  Coverage coverage(canvas.width(), canvas.height());
  paint(sim, canvas, client_rect(sim), for_export, &coverage);
}

void plain_paint(Simulation& sim, Canvas& canvas, bool for_export) {
  canvas.fill_rect(client_rect(sim), canvas.stock_object(for_export ? StockObject::white_brush
                                                                    : StockObject::black_brush));
  const ObjectHandle pen = canvas.create_pen(for_export ? kExportContour : kWindowContour);
  const ObjectHandle old = canvas.select(pen);
  for (const Hill& hill : sim.hills) {
    draw_hill_contours(sim, canvas, hill);
  }
  canvas.select(old);
  canvas.delete_object(pen);
  if (sim.steps_done <= 0) {
    return;
  }
  for (int k = sim.shown_chain == 0 ? sim.nchains : sim.shown_chain;
       k >= (sim.shown_chain == 0 ? 1 : sim.shown_chain); --k) {
    plain_chain(sim, sim.chains[static_cast<std::size_t>(k - 1)], canvas, 0);
  }
}

// Differing pixels of two surfaces of the same size.
int differences(const RasterCanvas& a, const RasterCanvas& b) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      count += a.pixel(x, y) != b.pixel(x, y);
    }
  }
  return count;
}

using testing::make_hill;

void three_hills(Simulation& sim) {
  sim.hills = {make_hill(100, 120, 30, 25, 0.3, 1.0), make_hill(280, 260, 40, 40, -0.6, 2.0),
               make_hill(200, 60, 15, 50, 0.9, 0.5)};
  sim.normalize_weights();
  sim.ignore_topography = false;
}

TEST(PaintPixels, FreshWindowIsAllBlack) {
  Simulation sim;
  RasterCanvas canvas(400, 400);
  canvas.fill_rect(Rect{0, 0, 400, 400}, canvas.stock_object(StockObject::white_brush));
  surface_paint(sim, canvas);
  for (int y = 0; y < 400; y += 7) {
    for (int x = 0; x < 400; x += 3) {
      ASSERT_EQ(canvas.pixel(x, y), px(kBlack)) << x << "," << y;
    }
  }
}

// The box of the pixels of one colour.
Rect extent(const RasterCanvas& canvas, std::uint32_t pixel) {
  Rect box{canvas.width(), canvas.height(), -1, -1};
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      if (canvas.pixel(x, y) == pixel) {
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
               std::max(box.bottom, y + 1)};
      }
    }
  }
  return box;
}

struct OneChain : ::testing::Test {
  Simulation sim;
  RasterCanvas canvas{400, 400};
  std::uint32_t colour = 0;

  void SetUp() override {
    sim.steps_done = 2;
    sim.chains[0].xs = {100, 200, 300};
    sim.chains[0].ys = {100, 100, 300};
    colour = px(sim.chains[0].colour);
  }
};

TEST_F(OneChain, StartDotWhiteLaterDotsAndLinesInTheChainsColour) {
  surface_paint(sim, canvas);
  EXPECT_EQ(canvas.pixel(99, 99), px(kWhite));  // the line covers (100, 100)
  EXPECT_EQ(canvas.pixel(200, 100), colour);
  EXPECT_EQ(canvas.pixel(150, 100), colour);  // the line
  EXPECT_EQ(canvas.pixel(250, 200), colour);
  EXPECT_EQ(canvas.pixel(150, 150), px(kBlack));
  sim.show_trajectory = false;
  surface_paint(sim, canvas);
  EXPECT_EQ(canvas.pixel(150, 100), px(kBlack));
  EXPECT_EQ(canvas.pixel(250, 200), px(kBlack));
  EXPECT_EQ(canvas.pixel(300, 300), colour);
}

TEST_F(OneChain, DotSizesFollowTheRadius) {
  sim.show_trajectory = false;
  sim.dot_radius = 1;
  surface_paint(sim, canvas);
  EXPECT_EQ(extent(canvas, px(kWhite)), (Rect{99, 99, 101, 101}));
  sim.chains[0].xs = {100, 200};
  sim.chains[0].ys = {100, 100};
  surface_paint(sim, canvas);
  EXPECT_EQ(extent(canvas, colour), (Rect{199, 99, 201, 101}));
  sim.dot_radius = 10;
  surface_paint(sim, canvas);
  EXPECT_EQ(extent(canvas, colour), (Rect{190, 90, 210, 110}));
  EXPECT_EQ(extent(canvas, px(kWhite)), (Rect{90, 90, 110, 110}));
}

TEST_F(OneChain, ExportIsWhiteWithBlackContoursAndTheStartDotVanishes) {
  sim.hills = {make_hill(200, 200, 20, 20, 0, 1)};
  paint(sim, canvas, client_rect(sim), true);
  EXPECT_EQ(canvas.pixel(5, 5), px(kWhite));
  EXPECT_EQ(canvas.pixel(99, 99), px(kWhite));  // start dot on white
  EXPECT_EQ(canvas.pixel(200, 100), colour);
  const Rect contour = extent(canvas, px(kBlack));
  EXPECT_NEAR(contour.width(), 2 * std::sqrt(5.9915) * 20, 2);
  surface_paint(sim, canvas);
  EXPECT_EQ(extent(canvas, px(kWindowContour)), contour);
  EXPECT_EQ(canvas.pixel(5, 5), px(kBlack));
}

TEST(PaintPixels, CorrelationStretchesAlongTheRisingDiagonal) {
  Simulation sim;
  sim.hills = {make_hill(200, 200, 30, 30, 0.9, 1)};
  RasterCanvas canvas(400, 400);
  surface_paint(sim, canvas);
  // Up and to the right on screen reaches far; the falling diagonal does not.
  const double reach = std::sqrt(5.9915) * 30 * std::sqrt(1.9) / std::sqrt(2.0);
  int far_rising = 0;
  int far_falling = 0;
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 400; ++x) {
      if (canvas.pixel(x, y) != px(kWindowContour)) {
        continue;
      }
      const int dx = x - 200;
      const int dy = 200 - y;
      if (std::abs(dx) > reach * 0.8 && std::abs(dy) > reach * 0.8) {
        (dx * dy > 0 ? far_rising : far_falling) += 1;
      }
    }
  }
  EXPECT_GT(far_rising, 4);
  EXPECT_EQ(far_falling, 0);
}

TEST(PaintPixels, RotatedViewAtZeroAnglesIsTheFlatView) {
  Simulation sim;
  three_hills(sim);
  sim.set_chain_count(2);
  sim.set_shown_chain(0);
  sim.allow_rotation = true;
  sim.nsteps = 2000;
  sim.start_walking();
  RasterCanvas rotated(400, 400);
  surface_paint(sim, rotated);
  sim.allow_rotation = false;
  RasterCanvas flat(400, 400);
  surface_paint(sim, flat);
  EXPECT_EQ(differences(rotated, flat), 0);
}

TEST(PaintPixels, FirstRotationFrameOn400By360) {
  Simulation sim;
  sim.rescale(400, 360);
  sim.allow_rotation = true;
  RasterCanvas canvas(400, 360);
  canvas.fill_rect(Rect{0, 0, 400, 360}, canvas.stock_object(StockObject::white_brush));
  RotationPens pens = begin_rotation(sim, canvas);
  const std::uint32_t blue = px(make_colour(0, 0, 255));
  EXPECT_EQ(extent(canvas, blue), (Rect{151, 131, 249, 229}));  // square and its dots
  EXPECT_EQ(canvas.pixel(200, 225), blue);                      // bottom edge
  EXPECT_EQ(canvas.pixel(155, 180), blue);                      // left edge
  EXPECT_EQ(canvas.pixel(200, 180), blue);                      // apex dot
  EXPECT_EQ(canvas.pixel(170, 210), blue);                      // a diagonal
  EXPECT_EQ(canvas.pixel(200, 200), px(kBlack));
  EXPECT_EQ(canvas.pixel(20, 20), px(kBlack));
  end_rotation(sim, canvas, pens);
  EXPECT_EQ(extent(canvas, blue).right, -1);  // erased
}

TEST(PaintPixels, BandOutlineInvertsAndComesBack) {
  Simulation sim;
  RasterCanvas canvas(400, 400);
  surface_paint(sim, canvas);
  const Point corner = band_corner({100, 100}, 160);
  invert_rectangle(canvas, 100, 100, corner.x, corner.y);
  EXPECT_EQ(canvas.pixel(130, 100), px(kWhite));
  EXPECT_EQ(canvas.pixel(100, 130), px(kWhite));
  EXPECT_EQ(canvas.pixel(159, 159), px(kWhite));
  EXPECT_EQ(canvas.pixel(130, 130), px(kBlack));
  EXPECT_EQ(canvas.pixel(160, 130), px(kBlack));
  invert_rectangle(canvas, 100, 100, corner.x, corner.y);
  EXPECT_EQ(extent(canvas, px(kWhite)).right, -1);
}

// The fast paint against the plain one over long walks in every style.
struct Identity : ::testing::TestWithParam<int> {};

TEST_P(Identity, FastPaintEqualsPlainPaint) {
  const int variant = GetParam();
  Simulation sim;
  sim.rescale(300, 240);
  three_hills(sim);
  sim.set_chain_count(variant == 3 ? 1 : 4);
  sim.set_shown_chain(variant == 4 ? 2 : 0);
  sim.rn_seed = 4242 + variant;
  sim.allow_rotation = variant == 2;
  sim.show_trajectory = variant != 1;
  sim.dot_radius = variant == 1 ? 10 : (variant == 3 ? 1 : 2);
  sim.clear();
  sim.nsteps = 20000;
  sim.start_walking();
  sim.angle_x = variant == 2 ? 0.5 : 0.0;
  sim.angle_y = variant == 2 ? -0.8 : 0.0;
  for (const bool for_export : {false, true}) {
    RasterCanvas fast(300, 240);
    surface_paint(sim, fast, for_export);
    RasterCanvas plain(300, 240);
    plain_paint(sim, plain, for_export);
    EXPECT_EQ(differences(fast, plain), 0) << "variant " << variant;
  }
}

INSTANTIATE_TEST_SUITE_P(Styles, Identity, ::testing::Range(0, 5));

// The rotated view turns hills and walk far across the surface and partly off
// it; a surface more than a thousand pixels wide, and one narrower than the
// picture, against the plain paint at several pairs of angles.
TEST(PaintPixels, FastRotatedPaintEqualsPlainPaintAtManyAngles) {
  for (const auto& [w, h] : {std::pair{1100, 260}, std::pair{150, 300}}) {
    Simulation sim;
    sim.rescale(w, h);
    sim.hills = {make_hill(w * 0.2, h * 0.3, 40, 25, 0.3, 1.0),
                 make_hill(w * 0.7, h * 0.6, 60, 40, -0.6, 2.0)};
    sim.normalize_weights();
    sim.ignore_topography = false;
    sim.set_chain_count(4);
    sim.set_shown_chain(0);
    sim.allow_rotation = true;
    sim.rn_seed = 777;
    sim.clear();
    sim.nsteps = 8000;
    sim.start_walking();
    for (const auto& [a, b] : {std::pair{0.4, -0.3}, std::pair{1.4, 0.2}, std::pair{-2.5, 3.0}}) {
      sim.angle_x = a;
      sim.angle_y = b;
      RasterCanvas fast(w, h);
      surface_paint(sim, fast);
      RasterCanvas plain(w, h);
      plain_paint(sim, plain, false);
      EXPECT_EQ(differences(fast, plain), 0) << w << " x " << h << " at " << a << ", " << b;
    }
  }
}

TEST(PaintPixels, IncrementalPaintOfOneChainAddsTheNewSamplesAsWritten) {
  Simulation sim;
  three_hills(sim);
  sim.nsteps = 3000;
  sim.start_walking();
  RasterCanvas window(400, 400);
  surface_paint(sim, window);
  RasterCanvas plain(400, 400);
  plain_paint(sim, plain, false);
  sim.continue_walking();
  surface_paint(sim, window);
  // As written: the contours again, then the samples from the step count on
  // (with one chain, the last sample of the previous walk).
  const ObjectHandle pen = plain.create_pen(kWindowContour);
  const ObjectHandle old = plain.select(pen);
  for (const Hill& hill : sim.hills) {
    draw_hill_contours(sim, plain, hill);
  }
  plain.select(old);
  plain.delete_object(pen);
  plain_chain(sim, sim.chains[0], plain, static_cast<std::size_t>(sim.run_first_step));
  EXPECT_EQ(differences(window, plain), 0);
}

TEST(PaintPixels, IncrementalPaintOfFourChainsEqualsThePlainAddition) {
  Simulation sim;
  three_hills(sim);
  sim.set_chain_count(4);
  sim.set_shown_chain(0);
  sim.nsteps = 5000;
  sim.start_walking();
  RasterCanvas window(400, 400);
  surface_paint(sim, window);
  RasterCanvas plain(400, 400);
  plain_paint(sim, plain, false);
  std::vector<std::size_t> shown;
  for (const Chain& chain : sim.chains) {
    shown.push_back(chain.xs.size());
  }
  sim.nsteps = 2000;
  sim.continue_walking();
  surface_paint(sim, window);
  const ObjectHandle pen = plain.create_pen(kWindowContour);
  const ObjectHandle old = plain.select(pen);
  for (const Hill& hill : sim.hills) {
    draw_hill_contours(sim, plain, hill);
  }
  plain.select(old);
  plain.delete_object(pen);
  for (int k = 4; k >= 1; --k) {
    const auto i = static_cast<std::size_t>(k - 1);
    plain_chain(sim, sim.chains[i], plain, shown[i] - 1);
  }
  EXPECT_EQ(differences(window, plain), 0);
}

}  // namespace
}  // namespace wandrix
