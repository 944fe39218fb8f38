// The picture painted in slices of any size leaves the pixels of the paint
// done at once: full or adding a walk's samples, flat or turned, with and
// without trajectory lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "view/coverage.h"
#include "view/density.h"
#include "view/painting.h"
#include "view/raster_canvas.h"

namespace wandrix {
namespace {

struct Setup {
  int nchains;
  bool rotation;
  bool trajectory;
};

void walk(Simulation& sim, const Setup& setup) {
  sim.set_chain_count(setup.nchains);
  sim.set_shown_chain(0);
  sim.hills = {Hill{"west", 120, 200, 40, 40, 0.3, 1, 0},
               Hill{"east", 290, 150, 30, 50, -0.5, 2, 0}};
  sim.normalize_weights();
  sim.ignore_topography = false;
  sim.allow_rotation = setup.rotation;
  sim.angle_x = setup.rotation ? 0.4 : 0.0;
  sim.angle_y = setup.rotation ? -0.3 : 0.0;
  sim.show_trajectory = setup.trajectory;
  sim.rn_seed = 99;
  sim.nsteps = 4000;
  sim.clear();
  sim.start_walking();
}

bool same_pixels(const RasterCanvas& a, const RasterCanvas& b) {
  return std::equal(a.pixels(), a.pixels() + a.width() * a.height(), b.pixels());
}

class PaintingInSlices : public ::testing::TestWithParam<Setup> {};

TEST_P(PaintingInSlices, LeavesThePixelsOfOnePaint) {
  Simulation at_once;
  Simulation sliced;
  walk(at_once, GetParam());
  walk(sliced, GetParam());
  const Rect rect{0, 0, 400, 400};
  RasterCanvas one(400, 400);
  RasterCanvas parts(400, 400);
  Coverage one_cover(400, 400);
  Coverage parts_cover(400, 400);
  std::mt19937 random(static_cast<unsigned>(GetParam().nchains));
  for (const bool full : {true, false}) {
    if (!full) {  // the samples a Continue walking adds
      at_once.continue_walking();
      sliced.continue_walking();
    }
    paint(at_once, one, rect, false, &one_cover);
    Painting painting(sliced, parts, rect, false, &parts_cover);
    EXPECT_EQ(painting.full(), full);
    double done = 0.0;
    int slices = 0;
    while (!painting.advance(parts, 1 + random() % 3000)) {
      ASSERT_GE(painting.fraction_done(), done);
      done = painting.fraction_done();
      ++slices;
    }
    EXPECT_GT(slices, 3);
    EXPECT_EQ(painting.fraction_done(), 1.0);
    EXPECT_TRUE(same_pixels(one, parts)) << (full ? "full" : "added");
    EXPECT_TRUE(sliced.full_redraw);
    for (std::size_t p = 0; p < sliced.chains.size(); ++p) {
      EXPECT_EQ(sliced.chains[p].painted_samples, at_once.chains[p].painted_samples);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Views, PaintingInSlices,
                         ::testing::Values(Setup{1, false, true}, Setup{3, false, true},
                                           Setup{4, true, true}, Setup{2, false, false}));

// A walk may add samples while the picture is drawn: they are left to the
// next paint, which adds them.
TEST(PaintingInSlices, SamplesAddedMeanwhileComeWithTheNextPaint) {
  const Rect rect{0, 0, 400, 400};
  Simulation reference;
  walk(reference, {2, false, true});
  RasterCanvas expected(400, 400);
  Coverage reference_cover(400, 400);
  paint(reference, expected, rect, false, &reference_cover);
  reference.continue_walking();
  paint(reference, expected, rect, false, &reference_cover);

  Simulation sim;
  walk(sim, {2, false, true});
  RasterCanvas canvas(400, 400);
  Coverage cover(400, 400);
  Painting painting(sim, canvas, rect, false, &cover);
  painting.advance(canvas, 500);
  const std::size_t before = sim.chains[0].xs.size();
  sim.continue_walking();  // the samples grow under the picture
  while (!painting.advance(canvas, 700)) {
  }
  EXPECT_EQ(sim.chains[0].painted_samples, before);
  sim.full_redraw = false;
  paint(sim, canvas, rect, false, &cover);
  EXPECT_TRUE(same_pixels(canvas, expected));
}

// The density view is drawn whole, at once: the first slice finishes it,
// with the kept counts as a fresh count would leave it, also after a
// Continue walking added to them.
TEST(PaintingInSlices, TheDensityViewIsOneSlice) {
  const Rect rect{0, 0, 400, 400};
  Simulation sim;
  walk(sim, {3, false, true});
  RasterCanvas dots(400, 400);
  paint(sim, dots, rect, false);
  sim.density_view = true;
  DensityCounts kept;
  RasterCanvas canvas(400, 400);
  Coverage cover(400, 400);  // as the window passes it
  for (const bool added : {false, true}) {
    if (added) {
      sim.continue_walking();
      sim.full_redraw = false;
    }
    Painting painting(sim, canvas, rect, false, &cover, &kept);
    EXPECT_TRUE(painting.full());
    EXPECT_TRUE(painting.advance(canvas, 1));
    RasterCanvas fresh(400, 400);
    paint(sim, fresh, rect, false);
    EXPECT_TRUE(same_pixels(canvas, fresh)) << (added ? "added" : "first");
    EXPECT_FALSE(same_pixels(canvas, dots));
    EXPECT_GT(kept.at(sim.chains[0].xs.back(), sim.chains[0].ys.back()), 0U);  // counts kept
  }
}

}  // namespace
}  // namespace wandrix
