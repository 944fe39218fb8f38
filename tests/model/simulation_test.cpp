#include "model/simulation.h"

#include <gtest/gtest.h>

#include "model/portable_math.h"

namespace wandrix {
namespace {

TEST(Simulation, DefaultsBeforeAnyResize) {
  Simulation sim;
  EXPECT_EQ(sim.width, 400.0);
  EXPECT_EQ(sim.height, 400.0);
  EXPECT_EQ(sim.start_x, 150);
  EXPECT_EQ(sim.start_y, 150);
  EXPECT_EQ(sim.nsteps, 100);
  EXPECT_EQ(sim.dot_radius, 2);
  EXPECT_EQ(sim.step_mean, 20.0);
  EXPECT_EQ(sim.step_stddev, 20.0);
  EXPECT_TRUE(sim.show_trajectory);
  EXPECT_TRUE(sim.ignore_topography);
  EXPECT_FALSE(sim.allow_rotation);
  EXPECT_EQ(sim.nchains, 1);
  EXPECT_EQ(sim.shown_chain, 1);
  EXPECT_EQ(sim.heat_step, 1.0);
  EXPECT_EQ(sim.centre_x, 200);
  EXPECT_EQ(sim.centre_y, 200);
  EXPECT_EQ(sim.z_scale, 0.0);
  EXPECT_TRUE(sim.full_redraw);
  EXPECT_FALSE(sim.walk_started);
  EXPECT_EQ(sim.rn_seed, sim.rng.seed());
  EXPECT_TRUE(sim.hills.empty());
  EXPECT_TRUE(sim.directory.empty());
  EXPECT_TRUE(sim.file_name.empty());
  for (const Chain& chain : sim.chains) {
    EXPECT_EQ(chain.owner, &sim);
    EXPECT_EQ(chain.x, 150.0);
    EXPECT_TRUE(chain.xs.empty());
  }
}

TEST(Simulation, ResetDefaultsForgetsTheSessionAndRewiresTheChains) {
  Simulation sim;
  sim.set_chain_count(4);
  sim.add_confirmed_hill(Hill{.label = "h", .mean_x = 100, .mean_y = 100});
  sim.rescale(300, 200);
  sim.allow_rotation = true;
  sim.file_name = "a.dat";
  sim.walk(true);
  sim.reset_defaults();
  EXPECT_EQ(sim.width, 400.0);
  EXPECT_EQ(sim.centre_x, 200);
  EXPECT_EQ(sim.nchains, 1);
  EXPECT_EQ(sim.heat_step, 1.0);
  EXPECT_TRUE(sim.hills.empty());
  EXPECT_TRUE(sim.ignore_topography);
  EXPECT_TRUE(sim.file_name.empty());
  EXPECT_EQ(sim.rn_seed, sim.rng.seed());
  for (int k = 1; k <= kMaxChains; ++k) {
    const Chain& chain = sim.chains[static_cast<std::size_t>(k - 1)];
    EXPECT_EQ(chain.owner, &sim);
    EXPECT_EQ(chain.index, 1);  // clamped to the one chain in use
    EXPECT_TRUE(chain.xs.empty());
  }
}

// The walk's and the view's pi is the portable arc tangent's.
TEST(Simulation, PiIsFourArcTangentsOfOne) {
  EXPECT_EQ(4.0 * math::atan(1.0), kPi);
  EXPECT_EQ(math::atan(1.0), kPi / 4.0);
}

TEST(Simulation, ChainCountSetsHeatAndShownChain) {
  Simulation sim;
  sim.set_chain_count(3);
  EXPECT_EQ(sim.heat_step, 1.5);
  EXPECT_EQ(sim.chains[0].index, 1);
  EXPECT_EQ(sim.chains[1].index, 2);
  EXPECT_EQ(sim.chains[2].index, 3);
  sim.set_chain_count(1);
  EXPECT_EQ(sim.heat_step, 1.0);

  sim.set_chain_count(4);
  sim.set_shown_chain(4);
  sim.set_chain_count(2);
  EXPECT_EQ(sim.shown_chain, 2);
  sim.set_shown_chain(0);
  sim.set_chain_count(3);
  EXPECT_EQ(sim.shown_chain, 0);
  sim.set_chain_count(1);
  EXPECT_EQ(sim.shown_chain, 1);
}

TEST(Simulation, ClearEmptiesEveryChainAndReseeds) {
  Simulation sim;
  sim.set_chain_count(2);
  sim.walk(true);
  sim.set_chain_count(1);
  sim.rng.discard(7);
  const double x_before = sim.chains[0].x;
  sim.clear();
  EXPECT_EQ(sim.steps_done, 0);
  EXPECT_EQ(sim.rng.state(), RandomGenerator::valid_state(sim.rn_seed));
  for (const Chain& chain : sim.chains) {
    EXPECT_TRUE(chain.xs.empty());
    EXPECT_TRUE(chain.ys.empty());
  }
  EXPECT_EQ(sim.chains[0].x, x_before);
  EXPECT_TRUE(sim.walk_started);
}

TEST(Simulation, RotationTogglesClearThenDropHeights) {
  Simulation sim;
  sim.walk(true);
  sim.angle_x = 0.3;
  sim.toggle_rotation();  // on: everything goes, the generator restarts
  EXPECT_TRUE(sim.allow_rotation);
  EXPECT_TRUE(sim.chains[0].xs.empty());
  EXPECT_EQ(sim.rng.state(), RandomGenerator::valid_state(sim.rn_seed));
  sim.walk(true);
  EXPECT_EQ(sim.chains[0].zs.size(), sim.chains[0].xs.size());
  sim.angle_y = 0.2;
  sim.toggle_rotation();  // off: samples stay, heights and angles go
  EXPECT_FALSE(sim.allow_rotation);
  EXPECT_EQ(sim.chains[0].xs.size(), 101U);
  EXPECT_TRUE(sim.chains[0].zs.empty());
  EXPECT_EQ(sim.angle_x, 0.0);
  EXPECT_EQ(sim.angle_y, 0.0);
  // An unchanged value does nothing.
  sim.walk(true);
  sim.apply_rotation_change(false);
  EXPECT_EQ(sim.chains[0].xs.size(), 101U);
}

TEST(Simulation, RescaleThereAndBack) {
  Simulation sim;
  Hill hill;
  hill.mean_x = 100;
  hill.mean_y = 80;
  hill.stddev_x = 20;
  hill.stddev_y = 40;
  sim.hills = {hill};
  sim.chains[0].xs = {101, 300};
  sim.chains[0].ys = {80, 399};
  sim.frame_vertices = {{200.0, 100.0, 5.0, 1}};
  sim.rescale(200, 100);
  EXPECT_EQ(sim.width, 200.0);
  EXPECT_EQ(sim.height, 100.0);
  EXPECT_EQ(sim.centre_x, 100);
  EXPECT_EQ(sim.centre_y, 50);
  EXPECT_EQ(sim.chains[0].xs, (std::vector<std::int32_t>{50, 150}));
  EXPECT_EQ(sim.chains[0].ys, (std::vector<std::int32_t>{20, 99}));
  EXPECT_EQ(sim.hills[0].mean_x, 50.0);
  EXPECT_EQ(sim.hills[0].stddev_x, 10.0);
  EXPECT_EQ(sim.hills[0].mean_y, 20.0);
  EXPECT_EQ(sim.hills[0].stddev_y, 10.0);
  EXPECT_EQ(sim.frame_vertices[0], (FrameVertex{100.0, 25.0, 5.0, 1}));
  EXPECT_EQ(sim.step_mean, 20.0 * 0.375);
  EXPECT_EQ(sim.step_stddev, 20.0 * 0.375);
  sim.rescale(400, 400);
  EXPECT_EQ(sim.step_mean, 20.0 * 0.375 * 3.0);
  EXPECT_DOUBLE_EQ(sim.step_mean / 20.0, 1.125);
}

TEST(Simulation, RescaleToNothingIsIgnored) {
  Simulation sim;
  Hill hill;
  hill.mean_x = 100;
  sim.hills = {hill};
  sim.rescale(0, 300);
  sim.rescale(300, 0);
  sim.rescale(-5, -5);
  EXPECT_EQ(sim.width, 400.0);
  EXPECT_EQ(sim.height, 400.0);
  EXPECT_EQ(sim.hills[0].mean_x, 100.0);
  sim.rescale(400, 400);  // the same size: a factor of 1
  EXPECT_EQ(sim.hills[0].mean_x, 100.0);
  EXPECT_EQ(sim.step_mean, 20.0);
}

TEST(Simulation, HeightScaleIsAThirdOfTheHeight) {
  Simulation sim;
  EXPECT_EQ(sim.z_scale_value(), 400.0 * 0.3333333333333333);
  sim.z_scale = 7.0;
  EXPECT_EQ(sim.z_scale_value(), 7.0);
  sim.rescale(300, 300);
  EXPECT_EQ(sim.z_scale, 0.0);
}

TEST(Simulation, OptionsClearOnlyWhenTheSeedChanged) {
  Simulation sim;
  sim.walk(true);
  sim.full_redraw = false;
  sim.after_robot_options(false, sim.rn_seed);
  EXPECT_EQ(sim.chains[0].xs.size(), 101U);
  EXPECT_TRUE(sim.full_redraw);
  const std::int32_t old_seed = sim.rn_seed;
  sim.rn_seed = old_seed == 5 ? 6 : 5;
  sim.after_robot_options(false, old_seed);
  EXPECT_TRUE(sim.chains[0].xs.empty());
  EXPECT_EQ(sim.rng.state(), sim.rn_seed);
}

TEST(Simulation, ConfirmedHillFollowsTheTopography) {
  Simulation sim;
  Hill hill;
  hill.weight = 3.0;
  sim.add_confirmed_hill(hill);
  hill.weight = 1.0;
  sim.add_confirmed_hill(hill);
  EXPECT_EQ(sim.current_hill, 1);
  EXPECT_FALSE(sim.ignore_topography);
  EXPECT_EQ(sim.hills[0].relative_weight, 0.75);
}

}  // namespace
}  // namespace wandrix
