#include "model/marginals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "model/make_hill.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

Hill hill(double mx, double my, double sx, double sy, double rho, double weight) {
  return testing::make_hill(mx, my, sx, sy, rho, weight);
}

void set_landscape(Simulation& sim, double width, double height, std::vector<Hill> hills) {
  sim.width = width;
  sim.height = height;
  sim.hills = std::move(hills);
  sim.normalize_weights();
}

// Simpson's rule with n (even) intervals.
template <typename F>
double simpson(const F& f, double a, double b, int n) {
  const double h = (b - a) / n;
  double sum = f(a) + f(b);
  for (int i = 1; i < n; ++i) {
    sum += f(a + i * h) * (i % 2 == 1 ? 4.0 : 2.0);
  }
  return sum * h / 3.0;
}

// The marginal of chain i along axis, worked out the slow way: the
// landscape's own heights integrated over the other axis at every integer
// position, normalised by the integral over the whole window.
std::vector<double> integrated_marginal(const Simulation& sim, int chain, Axis axis) {
  const int along = axis == Axis::x ? static_cast<int>(sim.width) : static_cast<int>(sim.height);
  const int across = axis == Axis::x ? static_cast<int>(sim.height) : static_cast<int>(sim.width);
  // Fine enough across the axis for the steep far tails of a correlated
  // hill whose ridge leaves the window.
  constexpr int kPerUnit = 4;
  constexpr int kAcrossPerUnit = 12;
  const Landscape landscape = sim.landscape();
  const auto height = [&](double u, double v) {
    return axis == Axis::x ? landscape.height(chain, u, v) : landscape.height(chain, v, u);
  };
  std::vector<double> fine(static_cast<std::size_t>(along * kPerUnit + 1));
  for (std::size_t k = 0; k < fine.size(); ++k) {
    const double u = static_cast<double>(k) / kPerUnit;
    fine[k] = simpson([&](double v) { return height(u, v); }, 0.0, across, across * kAcrossPerUnit);
  }
  double total = fine.front() + fine.back();
  for (std::size_t k = 1; k + 1 < fine.size(); ++k) {
    total += fine[k] * (k % 2 == 1 ? 4.0 : 2.0);
  }
  total *= (1.0 / kPerUnit) / 3.0;
  std::vector<double> density;
  for (int u = 0; u <= along; ++u) {
    density.push_back(fine[static_cast<std::size_t>(u) * kPerUnit] / total);
  }
  return density;
}

struct Case {
  const char* name;
  int width;
  int height;
  std::vector<Hill> hills;
  int nchains = 1;
  int chain = 1;
};

TEST(ExactMarginal, AgreesWithTheLandscapeIntegratedOverTheOtherAxis) {
  const std::vector<Case> cases = {
      {"no hills", 400, 400, {}},
      {"one round hill, wide window", 300, 200, {hill(150, 100, 30, 30, 0.0, 1)}},
      {"positive correlation over two edges", 300, 200, {hill(20, 180, 40, 25, 0.8, 1)}},
      {"two hills, negative correlation, tall window",
       250,
       400,
       {hill(80, 300, 25, 40, -0.6, 1), hill(180, 90, 35, 20, 0.5, 3)}},
      {"three hills, one centred outside, one narrow",
       320,
       240,
       {hill(-30, 100, 50, 60, 0.3, 2), hill(200, 120, 6, 8, -0.9, 1),
        hill(250, 200, 70, 40, 0.95, 1)}},
      {"a flat hill beside a real one",
       200,
       300,
       {hill(100, 100, 0.0, 30, 0.2, 1), hill(60, 200, 20, 30, -0.4, 1)}},
      {"the third of four heated chains",
       300,
       300,
       {hill(80, 80, 15, 20, 0.7, 1), hill(220, 200, 25, 15, -0.7, 2)},
       4,
       3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Simulation sim;
    // Only the whole pixels are the window.
    set_landscape(sim, c.width + 0.75, c.height + 0.5, c.hills);
    sim.set_chain_count(c.nchains);
    for (const Axis axis : {Axis::x, Axis::y}) {
      const ExactMarginal exact = exact_marginal(sim, c.chain, axis);
      const std::vector<double> expected = integrated_marginal(sim, c.chain, axis);
      ASSERT_EQ(exact.extent(), static_cast<double>(expected.size() - 1));
      for (std::size_t u = 0; u < expected.size(); ++u) {
        const double got = exact.density(static_cast<double>(u));
        if (expected[u] < 1e-280) {
          EXPECT_LT(got, 1e-270) << "at " << u;
        } else {
          EXPECT_NEAR(got / expected[u], 1.0, 1e-6) << (axis == Axis::x ? "x" : "y") << " at " << u;
        }
      }
    }
  }
}

TEST(ExactMarginal, IsUniformWhenNoHillHoldsMass) {
  Simulation sim;
  set_landscape(sim, 250, 125, {hill(100, 100, 0.0, 10, 0, 1), hill(50, 50, 10, 10, 1.0, 1)});
  for (const double u : {0.0, 37.5, 125.0}) {
    EXPECT_DOUBLE_EQ(exact_marginal(sim, 1, Axis::y).density(u), 1.0 / 125);
  }
  EXPECT_DOUBLE_EQ(exact_marginal(sim, 1, Axis::x).density(250.0), 1.0 / 250);
  EXPECT_EQ(exact_marginal(sim, 1, Axis::x).density(250.5), 0.0);
  EXPECT_EQ(exact_marginal(sim, 1, Axis::x).density(-0.5), 0.0);
}

// Hills a session file may hold: a spread of a thousandth of a pixel, one of
// a billion, a ridge as thin as the correlation allows, a centre far away.
// Each integral ends, and every density is a finite number that integrates
// to about 1 over the window.
TEST(ExactMarginal, OddHillsGiveFiniteDensities) {
  const std::vector<std::vector<Hill>> landscapes = {
      {hill(200, 200, 1e-3, 1e-3, 0, 1)},
      {hill(200, 200, 1e9, 1e9, 0.5, 1)},
      {hill(0, 400, 300, 2, 0.99999, 1), hill(400, 0, 0.01, 500, -0.99999, 1)},
      {hill(1e9, -1e9, 10, 10, 0, 1), hill(200, 200, 5, 5, 0, 1e-300)},
  };
  for (const auto& hills : landscapes) {
    Simulation sim;
    set_landscape(sim, 400, 400, hills);
    for (const Axis axis : {Axis::x, Axis::y}) {
      const ExactMarginal m = exact_marginal(sim, 1, axis);
      double sum = 0.0;
      for (int u = 0; u <= 400; ++u) {
        const double d = m.density(u);
        ASSERT_TRUE(std::isfinite(d) && d >= 0.0) << u;
        sum += d;
      }
      EXPECT_GT(sum, 0.0);
    }
  }
}

TEST(ExactMarginal, AWideHillHoldsMoreMassThanANarrowOneOfEqualWeight) {
  Simulation sim;
  set_landscape(sim, 800, 600, {hill(100, 300, 10, 10, 0, 1), hill(500, 300, 40, 40, 0, 1)});
  const ExactMarginal x = exact_marginal(sim, 1, Axis::x);
  double narrow = 0.0;
  double wide = 0.0;
  for (int u = 0; u < 800; ++u) {
    (u < 250 ? narrow : wide) += x.density(u + 0.5);
  }
  // Equal peaks; the masses go with the areas, 10 x 10 against 40 x 40.
  EXPECT_NEAR(wide / narrow, 16.0, 1e-3);
  EXPECT_NEAR(narrow + wide, 1.0, 1e-4);
}

TEST(ExactMarginal, CsvListsEveryWholePositionOfBothAxes) {
  Simulation sim;
  set_landscape(sim, 30.9, 20, {hill(10, 5, 4, 6, -0.5, 1)});
  std::ostringstream out;
  write_marginals_csv(sim, out);
  std::istringstream in(out.str());
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "axis,position,density");
  std::vector<std::string> rows;
  while (std::getline(in, line)) {
    rows.push_back(line);
  }
  ASSERT_EQ(rows.size(), 31u + 21u);
  double sum_x = 0.0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const bool is_x = i <= 30;
    const int position = static_cast<int>(is_x ? i : i - 31);
    const std::string prefix = std::string(is_x ? "x," : "y,") + std::to_string(position) + ",";
    ASSERT_EQ(rows[i].rfind(prefix, 0), 0u) << rows[i];
    const double density = std::stod(rows[i].substr(prefix.size()));
    const Axis axis = is_x ? Axis::x : Axis::y;
    EXPECT_NEAR(density / exact_marginal(sim, 1, axis).density(position), 1.0, 1e-8);
    if (is_x) {
      sum_x += density;
    }
  }
  EXPECT_NEAR(sum_x, 1.0, 0.01);  // a density over 0..30 in unit steps
}

}  // namespace
}  // namespace wandrix
