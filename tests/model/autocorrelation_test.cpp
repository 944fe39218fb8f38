#include "model/autocorrelation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "model/random_generator.h"

namespace wandrix {
namespace {

// The autocorrelation at one lag by the definition: every pair that far
// apart, summed, over the sum of squares.
double direct_correlation(const std::vector<double>& x, std::size_t lag) {
  double mean = 0.0;
  for (const double v : x) {
    mean += v;
  }
  mean /= static_cast<double>(x.size());
  double pairs = 0.0;
  double squares = 0.0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    squares += (x[i] - mean) * (x[i] - mean);
    if (i + lag < x.size()) {
      pairs += (x[i] - mean) * (x[i + lag] - mean);
    }
  }
  return pairs / squares;
}

TEST(Autocorrelation, EqualsTheSumOverPairsAtEveryLag) {
  RandomGenerator rng;
  rng.reseed(12345);
  for (const std::size_t n : {2u, 3u, 17u, 64u, 65u, 1000u}) {
    std::vector<double> x(n);
    double level = 0.0;
    for (double& v : x) {
      level = 0.7 * level + rng.uniform() - 0.5;  // correlated, not centred
      v = 100.0 + level;
    }
    const std::vector<double> rho = autocorrelation(x, 40);
    ASSERT_EQ(rho.size(), std::min<std::size_t>(n, 41));
    for (std::size_t lag = 0; lag < rho.size(); ++lag) {
      EXPECT_NEAR(rho[lag], direct_correlation(x, lag), 1e-12) << "n " << n << " lag " << lag;
    }
  }
}

// Two series share one transform; each must come out as if taken alone,
// also when their lengths differ.
TEST(Autocorrelation, TwoSeriesTakenTogetherAreTakenAsAlone) {
  RandomGenerator rng;
  rng.reseed(4242);
  std::vector<double> a(300);
  std::vector<double> b(517);
  double level = 0.0;
  for (double& v : a) {
    level = 0.9 * level + rng.uniform();
    v = level;
  }
  for (double& v : b) {
    v = rng.uniform() * 50.0 - (level = -0.5 * level);
  }
  const auto both = dependence(a, b, 60);
  for (const auto& [series, d] : {std::pair{&a, &both[0]}, std::pair{&b, &both[1]}}) {
    ASSERT_EQ(d->rho.size(), 61u);
    for (std::size_t lag = 0; lag < d->rho.size(); ++lag) {
      EXPECT_NEAR(d->rho[lag], direct_correlation(*series, lag), 1e-12) << lag;
    }
    const auto alone = effective_sample_size(*series);
    ASSERT_TRUE(alone && d->size);
    EXPECT_NEAR(d->size->tau, alone->tau, 1e-9);
    EXPECT_EQ(d->size->last_lag, alone->last_lag);
  }
  const auto constant = dependence(std::vector<double>(10, 2.0), a, 5);
  EXPECT_TRUE(constant[0].rho.empty());
  EXPECT_FALSE(constant[0].size);
  EXPECT_EQ(constant[1].rho.size(), 6u);
}

TEST(Autocorrelation, IsUndefinedForASeriesThatDoesNotVary) {
  EXPECT_TRUE(autocorrelation(std::vector<double>{3.0, 3.0, 3.0}, 2).empty());
  EXPECT_TRUE(autocorrelation(std::vector<double>{3.0}, 2).empty());
  EXPECT_FALSE(effective_sample_size(std::vector<double>{5.0, 5.0, 5.0, 5.0}));
  EXPECT_FALSE(effective_sample_size(std::vector<double>{}));
}

// Worked out by direct summation of the autocovariances (a few lines of
// Python over the same numbers), independent of the transform used here.
TEST(EffectiveSampleSize, MatchesTheInitialMonotoneSequenceWorkedOutByHand) {
  struct Case {
    std::vector<double> series;
    double tau;
  };
  const std::vector<Case> cases = {
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 4.06993006993007},
      {{3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5, 8, 9, 7, 9, 3}, 1.9482758620689657},
      // Antithetic: the sum is negative; tau is held at 1 / log10(16).
      {{1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1}, 0.8304820237218405},
  };
  for (const Case& c : cases) {
    const auto size = effective_sample_size(c.series);
    ASSERT_TRUE(size);
    EXPECT_NEAR(size->tau, c.tau, 1e-12);
    EXPECT_NEAR(size->ess, static_cast<double>(c.series.size()) / c.tau, 1e-9);
  }
}

// An autoregressive series x_t = phi x_t-1 + e_t has the integrated
// autocorrelation time (1 + phi) / (1 - phi). With 200,000 samples and a
// fixed seed the estimate lies within a few per cent of it; 8 % leaves room
// for the estimator's own spread (about 3 % at phi = 0.9).
TEST(EffectiveSampleSize, ApproachesTheTrueValueOfAnAutoregressiveSeries) {
  RandomGenerator rng;
  rng.reseed(777);
  const auto normal = [&rng] {
    const double u1 = rng.uniform();
    const double u2 = rng.uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
  };
  for (const double phi : {0.0, 0.5, 0.9, -0.5}) {
    std::vector<double> x(200000);
    double level = 0.0;
    for (double& v : x) {
      level = phi * level + normal();
      v = level;
    }
    const auto size = effective_sample_size(x);
    ASSERT_TRUE(size);
    const double tau = (1.0 + phi) / (1.0 - phi);
    EXPECT_NEAR(size->tau / tau, 1.0, 0.08) << "phi " << phi;
  }
}

}  // namespace
}  // namespace wandrix
