// What the two wall rules sample, against the exact target. One hill at
// (30, 200) with spreads 60 x 40 leans on the left wall of a 400 x 400
// landscape; chain 1 alone walks it. The exact share of each band of 10
// pixels is found here by integrating the landscape's height numerically.
//
// Tolerance: the samples of a chain are correlated, so their spread is not
// that of independent draws. The walk is cut into 40 batches of 5,000 steps,
// far longer than the chain needs to forget where it was (a few hundred
// steps here), so the batches' shares are close to independent and their
// spread gives the standard error of the whole walk's share, correlation
// included (batch means). A share agrees with the target when it lies within
// 4.5 standard errors; each test also checks that the error is small enough
// for that to mean something.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "model/simulation.h"

namespace wandrix {
namespace {

constexpr int kSize = 400;
constexpr int kBand = 10;
constexpr int kBands = kSize / kBand;
constexpr int kSteps = 200000;
constexpr int kBatches = 40;
constexpr int kBurnIn = 2000;
constexpr double kMx = 30, kMy = 200, kSx = 60, kSy = 40;

double height(double x, double y) {
  const double dx = (x - kMx) / kSx;
  const double dy = (y - kMy) / kSy;
  return std::exp(-0.5 * (dx * dx + dy * dy));
}

// The exact share of each band of landscape x (axis 0) or of client y
// (axis 1, rows counted from the top) on the closed 400 x 400 landscape:
// the midpoint rule on a grid of quarter pixels, far finer than the hill.
std::vector<double> exact_shares(int axis) {
  constexpr int kPerPixel = 4;
  constexpr int n = kSize * kPerPixel;
  std::vector<double> shares(kBands, 0.0);
  double total = 0;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      const double x = (i + 0.5) / kPerPixel;
      const double y = (j + 0.5) / kPerPixel;
      const double h = height(x, y);
      const double along = axis == 0 ? x : kSize - y;
      shares[static_cast<std::size_t>(along / kBand)] += h;
      total += h;
    }
  }
  for (double& s : shares) {
    s /= total;
  }
  return shares;
}

struct Share {
  double mean = 0;
  double standard_error = 0;
};

// Chain 1's share of every band, with its batch-means standard error.
std::vector<Share> walked_shares(bool refuse, int axis) {
  Simulation sim;
  sim.add_confirmed_hill(Hill{"h", kMx, kMy, kSx, kSy, 0.0, 1.0, 1.0});
  sim.reject_at_walls = refuse;
  sim.nsteps = kSteps;
  sim.rn_seed = 20261208;
  sim.clear();
  sim.walk(true);
  const std::vector<std::int32_t>& along = axis == 0 ? sim.chains[0].xs : sim.chains[0].ys;
  const std::size_t per_batch = (along.size() - kBurnIn) / kBatches;
  std::vector<std::vector<double>> batch(kBands, std::vector<double>(kBatches, 0.0));
  for (std::size_t b = 0; b < kBatches; ++b) {
    for (std::size_t i = 0; i < per_batch; ++i) {
      const int v = along[kBurnIn + b * per_batch + i];
      const int band = v >= kSize ? kBands - 1 : v / kBand;
      batch[static_cast<std::size_t>(band)][b] += 1.0 / static_cast<double>(per_batch);
    }
  }
  std::vector<Share> shares(kBands);
  for (std::size_t k = 0; k < kBands; ++k) {
    double sum = 0;
    double squares = 0;
    for (double s : batch[k]) {
      sum += s;
      squares += s * s;
    }
    const double mean = sum / kBatches;
    const double variance = (squares - kBatches * mean * mean) / (kBatches - 1);
    shares[k] = {mean, std::sqrt(std::max(variance, 0.0) / kBatches)};
  }
  return shares;
}

TEST(WallsTest, RefusingWallsSampleTheExactTarget) {
  for (int axis : {0, 1}) {
    SCOPED_TRACE(axis == 0 ? "x" : "client y");
    const std::vector<double> exact = exact_shares(axis);
    const std::vector<Share> walked = walked_shares(true, axis);
    for (std::size_t k = 0; k < kBands; ++k) {
      if (exact[k] < 0.01) {
        continue;  // too rare for 200,000 correlated samples to tell
      }
      SCOPED_TRACE("band " + std::to_string(k * kBand));
      // Otherwise agreement would prove nothing.
      EXPECT_LT(walked[k].standard_error, 0.07 * exact[k]);
      EXPECT_NEAR(walked[k].mean, exact[k], 4.5 * walked[k].standard_error)
          << "relative error " << walked[k].mean / exact[k] - 1;
    }
  }
}

TEST(WallsTest, ClassicWallsOversampleTheLandscapeAlongAWall) {
  const std::vector<double> exact = exact_shares(0);
  const std::vector<Share> walked = walked_shares(false, 0);
  // The first 10 pixels from the left wall: about 30 % too many samples,
  // far beyond the walk's own noise.
  EXPECT_GT(walked[0].mean, 1.15 * exact[0]);
  EXPECT_GT(walked[0].mean - exact[0], 4.5 * walked[0].standard_error);
  EXPECT_LT(walked[0].standard_error, 0.06 * exact[0]);
}

}  // namespace
}  // namespace wandrix
