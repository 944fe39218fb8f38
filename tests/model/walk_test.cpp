#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "fake_host.h"
#include "model/landscape.h"
#include "model/simulation.h"
#include "time_limit.h"

namespace wandrix {
namespace {

using testing::FakeHost;

TEST(Walk, OneChainWithoutHillsAcceptsEveryStep) {
  FakeHost host;
  Simulation sim(host);
  sim.walk(true);
  EXPECT_EQ(sim.chains[0].xs.size(), 101U);
  EXPECT_EQ(sim.steps_done, 100);
  EXPECT_EQ(sim.run_first_step, 0);
  EXPECT_TRUE(sim.walk_started);
  EXPECT_FALSE(sim.walking);
  EXPECT_EQ(host.cursors, (std::vector<Cursor>{Cursor::wait, Cursor::arrow}));
  EXPECT_EQ(host.invalidations, 1);
  EXPECT_EQ(sim.chains[0].xs[0], 150);
  EXPECT_EQ(sim.chains[0].ys[0], 250);
  EXPECT_TRUE(sim.chains[1].xs.empty());
}

TEST(Walk, TwoChainsWithoutHillsExchangeEveryStep) {
  Simulation sim;
  sim.set_chain_count(2);
  sim.walk(true);
  EXPECT_EQ(sim.chains[0].xs.size(), 201U);
  EXPECT_EQ(sim.chains[1].xs.size(), 201U);
  // Without hills every height stays that of the start.
  sim.allow_rotation = true;
  sim.clear();
  sim.walk(true);
  for (const Chain& chain : {sim.chains[0], sim.chains[1]}) {
    for (float z : chain.zs) {
      ASSERT_EQ(z, 0.0F);
    }
  }
}

TEST(Walk, StartThenContinueEqualsOneLongWalk) {
  Simulation a;
  Simulation b;
  for (Simulation* sim : {&a, &b}) {
    sim->set_chain_count(4);
    Hill hill;
    hill.mean_x = 200;
    hill.mean_y = 180;
    hill.stddev_x = hill.stddev_y = 40;
    sim->hills = {hill};
    sim->normalize_weights();
    sim->ignore_topography = false;
    sim->allow_rotation = true;
    sim->rn_seed = 99;
    sim->clear();
  }
  a.nsteps = 500;
  a.walk(true);
  a.continue_walking();
  EXPECT_EQ(a.run_first_step, 500);
  EXPECT_FALSE(a.full_redraw);
  b.nsteps = 1000;
  b.walk(true);
  for (int p = 0; p < 4; ++p) {
    EXPECT_EQ(a.chains[p].xs, b.chains[p].xs);
    EXPECT_EQ(a.chains[p].ys, b.chains[p].ys);
    EXPECT_EQ(a.chains[p].zs, b.chains[p].zs);
  }
  // The same seed after a clear gives the same walk again.
  const auto first = b.chains[2].xs;
  b.clear();
  b.walk(true);
  EXPECT_EQ(b.chains[2].xs, first);
}

TEST(Walk, ContinueAsFirstCommandStartsAtTheStartPosition) {
  Simulation sim;
  sim.start_x = 40;
  sim.start_y = 60;
  sim.continue_walking();
  EXPECT_TRUE(sim.walk_started);
  EXPECT_EQ(sim.chains[0].xs.front(), 40);
  EXPECT_EQ(sim.chains[0].ys.front(), 340);
  EXPECT_EQ(sim.chains[0].xs.size(), 101U);
  // After a clear, Continue goes on without a start point.
  sim.clear();
  sim.continue_walking();
  EXPECT_EQ(sim.chains[0].xs.size(), 100U);
}

TEST(Walk, IgnoringTheTopographyRecordsHeightZero) {
  Simulation sim;
  Hill hill;
  hill.mean_x = hill.mean_y = 150;
  sim.hills = {hill};
  sim.normalize_weights();
  sim.allow_rotation = true;
  sim.ignore_topography = true;
  sim.walk(true);
  for (float z : sim.chains[0].zs) {
    ASSERT_EQ(z, 0.0F);
  }
}

TEST(Walk, ExchangePairsAreUniformOverOrderedPairs) {
  // b = int_below(n - 1) + a + 1, wrapped: never a, each ordered pair 1/6.
  RandomGenerator rng;
  rng.reseed(321);
  int counts[3][3] = {};
  const int n = 60000;
  for (int i = 0; i < n; ++i) {
    const int a = rng.int_below(3);
    int b = rng.int_below(2) + a + 1;
    if (b >= 3) {
      b %= 3;
    }
    ASSERT_NE(a, b);
    counts[a][b]++;
  }
  for (int a = 0; a < 3; ++a) {
    for (int b = 0; b < 3; ++b) {
      if (a != b) {
        EXPECT_NEAR(counts[a][b] / static_cast<double>(n), 1.0 / 6.0, 0.01);
      }
    }
  }
}

TEST(Walk, ASecondWalkWhileWalkingIsIgnored) {
  Simulation sim;
  sim.walking = true;
  sim.walk(true);
  EXPECT_TRUE(sim.chains[0].xs.empty());
  EXPECT_EQ(sim.steps_done, 0);
}

std::int32_t s_seed = 0;

// Runs a walk in a child process with an alarm, so that a walk that would
// never end fails the test instead of hanging it.
void expect_walk_finishes(void (*configure)(Simulation&)) {
  EXPECT_EXIT(
      {
        testing::end_after(20);
        Simulation sim;
        configure(sim);
        sim.clear();
        sim.walk(true);
        const bool ok = sim.steps_done == std::max(sim.nsteps, 0) &&
                        sim.chains[0].xs.size() == sim.chains[0].ys.size();
        std::_Exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(WalkDegenerate, NothingStallsAWalk) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  expect_walk_finishes([](Simulation& s) { s.step_mean = 0.0; });
  expect_walk_finishes([](Simulation& s) { s.step_mean = -5.0; });
  expect_walk_finishes([](Simulation& s) { s.step_stddev = 0.0; });
  expect_walk_finishes([](Simulation& s) { s.step_stddev = -1.0; });
  expect_walk_finishes([](Simulation& s) {
    s.step_mean = 1.0e9;  // shape 1e24: beyond the Gamma methods
    s.step_stddev = 0.001;
    s.nsteps = 1000;
  });
  expect_walk_finishes([](Simulation& s) {
    s.step_mean = 1.0e300;
    s.step_stddev = 1.0e300;
    s.nsteps = 50;
  });
  for (std::int32_t seed : {0, 2147483647, -1}) {
    s_seed = seed;
    expect_walk_finishes([](Simulation& s) {
      s.rn_seed = s_seed;
      s.set_chain_count(4);
    });
  }
  expect_walk_finishes([](Simulation& s) {
    Hill flat;
    flat.stddev_x = 0.0;
    flat.weight = 0.0;
    s.hills = {flat, flat};
    s.normalize_weights();
    s.ignore_topography = false;
    s.set_chain_count(3);
  });
  expect_walk_finishes([](Simulation& s) {
    s.nsteps = -10;  // only from a file: does nothing
  });
}

TEST(WalkDegenerate, ZeroMeanIsAZeroLengthForayThatStillDrawsTheHeading) {
  Simulation sim;
  sim.step_mean = 0.0;
  sim.nsteps = 10;
  sim.clear();
  sim.walk(true);
  RandomGenerator expected;
  expected.reseed(sim.rn_seed);
  expected.discard(10);  // one heading per step, nothing else
  EXPECT_EQ(sim.rng.state(), expected.state());
  for (std::size_t i = 0; i < sim.chains[0].xs.size(); ++i) {
    EXPECT_EQ(sim.chains[0].xs[i], 150);
  }
}

TEST(WalkDegenerate, NoSpreadIsAForayOfExactlyTheMean) {
  Simulation sim;
  sim.step_stddev = 0.0;
  sim.step_mean = 10.0;
  sim.nsteps = 1;
  sim.clear();
  sim.walk(true);
  const Chain& chain = sim.chains[0];
  EXPECT_NEAR(std::hypot(chain.x - 150.0, chain.y - 150.0), 10.0, 1e-9);
}

// A hill beside a good one whose height is undefined (|correlation| 1) or
// cannot be computed in double precision, as a session file may hold it.
TEST(WalkDegenerate, DegenerateHillsNeverPutNaNIntoASample) {
  struct Bad {
    double mean, sd, rho;
  };
  for (const Bad bad :
       {Bad{150, 10, 1.0}, Bad{1e308, 10, 0.5}, Bad{150, 4.9e-324, 0.0}, Bad{150, 1e-150, 0.5}}) {
    Simulation sim;
    Hill hill;
    hill.mean_x = hill.mean_y = bad.mean;
    hill.stddev_x = hill.stddev_y = bad.sd;
    hill.correlation = bad.rho;
    Hill good;
    good.mean_x = good.mean_y = 150;
    good.stddev_x = good.stddev_y = 10;
    good.correlation = 0.2;
    sim.hills = {hill, good};
    sim.normalize_weights();
    sim.ignore_topography = false;
    sim.allow_rotation = true;
    sim.set_chain_count(4);
    sim.nsteps = 2000;
    sim.clear();
    sim.walk(true);
    for (const Chain& chain : sim.chains) {
      for (float z : chain.zs) {
        ASSERT_TRUE(std::isfinite(z)) << "mean " << bad.mean << " sd " << bad.sd;
      }
    }
  }
}

}  // namespace
}  // namespace wandrix
