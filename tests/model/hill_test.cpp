#include "model/hill.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/portable_math.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

Hill circle(double mx, double my, double sd, double weight) {
  Hill hill;
  hill.label = "h";
  hill.mean_x = mx;
  hill.mean_y = my;
  hill.stddev_x = sd;
  hill.stddev_y = sd;
  hill.weight = weight;
  return hill;
}

TEST(Hill, PeakEqualsTheRelativeWeightForEveryChain) {
  Simulation sim;
  sim.hills = {circle(100, 100, 30, 5.0)};
  sim.normalize_weights();
  EXPECT_EQ(sim.hills[0].relative_weight, 1.0);
  for (int n = 1; n <= 4; ++n) {
    sim.set_chain_count(n);
    for (int i = 1; i <= n; ++i) {
      EXPECT_EQ(sim.landscape().height(i, 100, 100), 1.0);
    }
  }
}

TEST(Hill, WeightsAreShares) {
  std::vector<Hill> hills = {circle(0, 0, 1, 1.0), circle(0, 0, 1, 3.0)};
  normalize_weights(hills);
  EXPECT_EQ(hills[0].relative_weight, 0.25);
  EXPECT_EQ(hills[1].relative_weight, 0.75);
}

TEST(Hill, WeightsSummingToZeroGiveEqualShares) {
  std::vector<Hill> hills = {circle(0, 0, 1, 0.0), circle(0, 0, 1, 0.0), circle(0, 0, 1, 0.0),
                             circle(0, 0, 1, 0.0)};
  normalize_weights(hills);
  for (const Hill& hill : hills) {
    EXPECT_EQ(hill.relative_weight, 0.25);
  }
  std::vector<Hill> opposite = {circle(0, 0, 1, 2.0), circle(0, 0, 1, -2.0)};
  normalize_weights(opposite);
  EXPECT_EQ(opposite[0].relative_weight, 0.5);
}

TEST(Hill, TwoStandardDeviationsAlongX) {
  Simulation sim;
  sim.hills = {circle(200, 200, 25, 1.0)};
  sim.normalize_weights();
  EXPECT_DOUBLE_EQ(sim.landscape().height(1, 250, 200), math::exp(-2.0));
  sim.set_chain_count(4);
  EXPECT_DOUBLE_EQ(sim.landscape().height(1, 250, 200), math::exp(-2.0));
  EXPECT_DOUBLE_EQ(sim.landscape().height(4, 250, 200), math::exp(-2.0 / 7.0));
  EXPECT_DOUBLE_EQ(sim.landscape().height(2, 250, 200), math::exp(-2.0 / 3.0));
}

TEST(Hill, HeatFactors) {
  EXPECT_EQ(heat_factor(3, 1, 1.0), 1.0);
  EXPECT_EQ(heat_factor(1, 4, 1.0), 1.0);
  EXPECT_DOUBLE_EQ(heat_factor(4, 4, 1.0), 1.0 / 7.0);
  EXPECT_DOUBLE_EQ(heat_factor(2, 3, 1.5), 0.25);
  EXPECT_DOUBLE_EQ(heat_factor(2, 2, 3.0), 1.0 / 7.0);
}

TEST(Hill, CorrelationStretchesAlongTheDiagonal) {
  Simulation sim;
  Hill hill = circle(200, 200, 20, 1.0);
  hill.correlation = 0.9;
  sim.hills = {hill};
  sim.normalize_weights();
  EXPECT_GT(sim.landscape().height(1, 220, 220), sim.landscape().height(1, 220, 180));
}

TEST(Hill, DegenerateHillsAreFlatNotUndefined) {
  Simulation sim;
  Hill zero_spread = circle(100, 100, 0.0, 1.0);
  Hill unit_correlation = circle(100, 100, 10.0, 1.0);
  unit_correlation.correlation = 1.0;
  sim.hills = {zero_spread, unit_correlation};
  sim.normalize_weights();
  for (double x : {100.0, 100.5, 0.0}) {
    const double h = sim.landscape().height(1, x, 100.0);
    EXPECT_TRUE(std::isfinite(h));
    EXPECT_EQ(h, 0.0);
  }
  EXPECT_TRUE(zero_spread.degenerate());
  EXPECT_TRUE(unit_correlation.degenerate());
  EXPECT_FALSE(circle(1, 1, 1, 0.0).degenerate());
}

// Hills with finite numbers whose height still cannot be computed in double
// precision: a square that underflows to zero or overflows, a centre so far
// away that the terms of the exponent overflow against each other. Each is
// flat beside an ordinary hill, for every heat, and no height is NaN.
TEST(Hill, HillsBeyondDoublePrecisionAreFlat) {
  struct Extreme {
    double mx, my, sd, rho;
  };
  const Extreme cases[] = {{1e308, 100, 30, 0.0},     {1e308, 1e308, 30, 0.5},
                           {-1e308, 1e308, 30, -0.5}, {100, 100, 4.9e-324, 0.0},
                           {100, 100, 1e-160, 0.5},   {100, 100, 1e200, 0.0},
                           {100, 100, 1e-150, 0.9}};
  for (const Extreme& e : cases) {
    Simulation sim;
    sim.set_chain_count(4);
    Hill extreme = circle(e.mx, e.my, e.sd, 1.0);
    extreme.correlation = e.rho;
    sim.hills = {circle(200, 200, 30, 1.0)};
    sim.normalize_weights();
    const Hill ordinary = sim.hills[0];
    sim.hills.push_back(extreme);
    sim.hills[1].relative_weight = 0.5;
    for (const double x : {0.0, 100.0, 1e9}) {  // y = 150: never a centre
      for (int i = 1; i <= 4; ++i) {
        const double alone = Landscape({ordinary}, 4, sim.heat_step).height(i, x, 150.0);
        EXPECT_EQ(sim.landscape().height(i, x, 150.0), alone)
            << "mean " << e.mx << " sd " << e.sd << " rho " << e.rho << " at x " << x;
      }
    }
  }
}

TEST(Hill, NoHillsMeansHeightOne) {
  Simulation sim;
  EXPECT_EQ(sim.landscape().height(1, 5, 5), 1.0);
  EXPECT_EQ(sim.landscape().height(4, 5, 5), 1.0);
}

}  // namespace
}  // namespace wandrix
