#include "model/chain.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/landscape.h"
#include "model/portable_math.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

double degrees(double radians) { return radians * 180.0 / kPi; }

TEST(Chain, ForayTurnsAtTheLeftThenTheBottomWall) {
  Simulation sim;
  Chain& chain = sim.chains[0];
  chain.x = 10.0;
  chain.y = 10.0;
  double distance = 30.0;
  double heading = 200.0 * kPi / 180.0;

  ASSERT_FALSE(chain.move(distance, heading));
  EXPECT_EQ(chain.x, 0.0);
  EXPECT_NEAR(chain.y, 6.36, 0.005);
  EXPECT_NEAR(30.0 - distance, 10.64, 0.005);
  EXPECT_NEAR(degrees(heading), 290.0, 1e-9);

  ASSERT_FALSE(chain.move(distance, heading));
  EXPECT_NEAR(chain.x, 2.31, 0.005);
  EXPECT_EQ(chain.y, 0.0);
  EXPECT_NEAR(distance, 12.59, 0.005);
  EXPECT_NEAR(degrees(heading), 380.0, 1e-9);

  ASSERT_TRUE(chain.move(distance, heading));
  EXPECT_NEAR(chain.x, 14.15, 0.005);
  EXPECT_NEAR(chain.y, 4.31, 0.005);
}

TEST(Chain, ARectangleIsClosed) {
  Simulation sim;
  Chain& chain = sim.chains[0];
  chain.x = 390.0;
  chain.y = 200.0;
  double distance = 10.0;
  double heading = 0.0;
  EXPECT_TRUE(chain.move(distance, heading));
  EXPECT_EQ(chain.x, 400.0);
}

TEST(Chain, RightAndTopWallsTurnByARightAngle) {
  Simulation sim;
  Chain& chain = sim.chains[0];
  chain.x = 390.0;
  chain.y = 100.0;
  double distance = 20.0;
  double heading = 0.0;  // straight into the right wall
  ASSERT_FALSE(chain.move(distance, heading));
  EXPECT_EQ(chain.x, 400.0);
  EXPECT_NEAR(degrees(heading), 90.0, 1e-9);  // ddy = 0: heading + pi/2
  ASSERT_TRUE(chain.move(distance, heading));
  EXPECT_NEAR(chain.y, 110.0, 1e-9);

  chain.x = 100.0;
  chain.y = 395.0;
  distance = 10.0;
  heading = 60.0 * kPi / 180.0;
  ASSERT_FALSE(chain.move(distance, heading));
  EXPECT_EQ(chain.y, 400.0);
  EXPECT_NEAR(degrees(heading), -30.0, 1e-9);  // ddx > 0: heading - pi/2
}

TEST(Chain, EveryForayEndsInsideTheRectangle) {
  Simulation sim;
  sim.rescale(333, 217);
  Chain& chain = sim.chains[0];
  RandomGenerator rng;
  rng.reseed(77);
  chain.x = 0.0;
  chain.y = 0.0;
  for (int i = 0; i < 20000; ++i) {
    chain.propose(rng, ForayLength(150.0, 400.0));
    ASSERT_GE(chain.x, 0.0);
    ASSERT_LE(chain.x, 333.0);
    ASSERT_GE(chain.y, 0.0);
    ASSERT_LE(chain.y, 217.0);
  }
}

TEST(Chain, CornersAndWallsNeverStallAForay) {
  Simulation sim;
  Chain& chain = sim.chains[0];
  // Aimed into a corner, the plain rules turn in place at (400, 400).
  chain.x = 400.0;
  chain.y = 400.0;
  double distance = 5.0;
  double heading = kPi / 4.0;
  int moves = 0;
  while (!chain.move(distance, heading) && moves < 100) {
    ++moves;
  }
  EXPECT_EQ(moves, 100);
  EXPECT_EQ(distance, 5.0);
  const double corners[][2] = {{0, 0}, {400, 0}, {0, 400}, {400, 400}, {0, 200}, {200, 400}};
  for (const auto& corner : corners) {
    for (int k = 0; k < 16; ++k) {
      chain.x = corner[0];
      chain.y = corner[1];
      chain.finish_foray(50.0, k * kPi / 8.0);
      EXPECT_GE(chain.x, 0.0);
      EXPECT_LE(chain.x, 400.0);
      EXPECT_GE(chain.y, 0.0);
      EXPECT_LE(chain.y, 400.0);
    }
  }
}

TEST(Chain, StartRecordsTheStartPoint) {
  Simulation sim;
  Chain& chain = sim.chains[0];
  chain.xs = {1, 2};
  chain.ys = {3, 4};
  chain.start(150, 120);
  EXPECT_EQ(chain.x, 150.0);
  EXPECT_EQ(chain.y, 120.0);
  EXPECT_EQ(chain.z, 0.0);
  ASSERT_EQ(chain.xs.size(), 1U);
  EXPECT_EQ(chain.xs[0], 150);
  EXPECT_EQ(chain.ys[0], 280);  // client y = 400 - 120
  EXPECT_TRUE(chain.zs.empty());
}

TEST(Chain, RecordTruncatesAndKeepsHeightsOnlyWithRotation) {
  Simulation sim;
  sim.rescale(300, 250);
  Chain& chain = sim.chains[0];
  chain.record(10.9, 20.7, 0.5);
  EXPECT_EQ(chain.xs.back(), 10);
  EXPECT_EQ(chain.ys.back(), 229);  // trunc(250 - 20.7)
  EXPECT_TRUE(chain.zs.empty());
  sim.allow_rotation = true;
  chain.record(11.0, 21.0, 0.25);
  EXPECT_EQ(chain.zs.back(), 0.25F);
  EXPECT_EQ(chain.prev_x, 10.9);
  EXPECT_EQ(chain.prev_z, 0.5);
}

TEST(Chain, RescaleSamplesTruncates) {
  Simulation sim;
  Chain& chain = sim.chains[0];
  chain.xs = {3, 101};
  chain.ys = {7, 99};
  chain.rescale_samples(0.5, 1.5);
  EXPECT_EQ(chain.xs, (std::vector<std::int32_t>{1, 50}));
  EXPECT_EQ(chain.ys, (std::vector<std::int32_t>{10, 148}));
}

TEST(Chain, RejectedStepRecordsThePreviousPointAgain) {
  Simulation sim;
  Hill hill;
  hill.mean_x = 100;
  hill.mean_y = 100;
  hill.stddev_x = hill.stddev_y = 5;
  sim.hills = {hill};
  sim.normalize_weights();
  sim.ignore_topography = false;
  sim.rng.reseed(1);  // first draw 7.8e-6: far below any reasonable ratio
  Chain& chain = sim.chains[0];
  chain.start(100, 100);
  chain.save_position();
  chain.x = 130.0;  // six standard deviations out: ratio exp(-18)
  chain.y = 100.0;
  sim.rng.reseed(1000000000);  // u = 0.4656...: rejects
  chain.decide(Landscape(sim.hills, 1, 1.0));
  EXPECT_EQ(chain.x, 100.0);
  EXPECT_EQ(chain.xs.back(), 100);
  EXPECT_EQ(chain.xs.size(), 2U);
  EXPECT_EQ(chain.z, 1.0);
}

}  // namespace
}  // namespace wandrix
