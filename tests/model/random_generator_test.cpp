#include "model/random_generator.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/portable_math.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

std::int32_t fixed_clock() { return 1234567; }

class ClockGuard {
 public:
  explicit ClockGuard(ClockFunction clock) { set_seed_clock(clock); }
  ClockGuard(const ClockGuard&) = delete;
  ClockGuard& operator=(const ClockGuard&) = delete;
  ~ClockGuard() { set_seed_clock(nullptr); }
};

TEST(RandomGenerator, PinnedSequenceFromOne) {
  RandomGenerator rng;
  rng.reseed(1);
  EXPECT_EQ(rng.seed(), 1);
  EXPECT_DOUBLE_EQ(rng.uniform(), 16807 * 4.6566128575e-10);
  EXPECT_EQ(rng.state(), 16807);
  rng.uniform();
  EXPECT_EQ(rng.state(), 282475249);
  rng.uniform();
  EXPECT_EQ(rng.state(), 1622650073);
  rng.reseed(1);
  rng.discard(10000);
  EXPECT_EQ(rng.state(), 1043618065);
}

TEST(RandomGenerator, UniformNeverReachesZeroOrOne) {
  RandomGenerator rng;
  rng.reseed(2147483646);
  EXPECT_EQ(rng.uniform(), (2147483647 - 16807) * 4.6566128575e-10);
  EXPECT_EQ(rng.state(), 2147483647 - 16807);
  RandomGenerator top;
  top.reseed(1);
  for (int i = 0; i < 100000; ++i) {
    const double u = top.uniform();
    ASSERT_GT(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
}

TEST(RandomGenerator, IntBelowUsesOneDraw) {
  RandomGenerator rng;
  rng.reseed(99);
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(rng.int_below(1), 0);
  }
  RandomGenerator twin;
  twin.reseed(99);
  twin.discard(50);
  EXPECT_EQ(rng.state(), twin.state());
  rng.reseed(1);
  // 16807 * 4.6566128575e-10 * 3 is far below 1: the first draw from 1 is 0.
  EXPECT_EQ(rng.int_below(3), 0);
  EXPECT_EQ(rng.int_below(3), static_cast<int>(282475249 * 4.6566128575e-10 * 3));
}

TEST(RandomGenerator, SeedsOutsideTheValidStatesAreReduced) {
  RandomGenerator rng;
  rng.reseed(0);
  EXPECT_EQ(rng.seed(), 0);
  EXPECT_EQ(rng.state(), 1);
  rng.reseed(2147483647);
  EXPECT_EQ(rng.seed(), 2147483647);
  EXPECT_EQ(rng.state(), 1);
  rng.reseed(-5);
  EXPECT_EQ(rng.seed(), -5);
  EXPECT_EQ(rng.state(), 2147483642);
  rng.reseed(-2147483647 - 1);
  EXPECT_EQ(rng.state(), 2147483646);
  // Every such seed still gives deviates that end.
  rng.reseed(0);
  EXPECT_GE(rng.exponential(), 0.0);
  EXPECT_GT(rng.gamma_large(3.0), 0.0);
}

TEST(RandomGenerator, ExponentialFollowsTheComparisonMethod) {
  // An independent transcription of the method, driven by the same draws.
  RandomGenerator rng;
  RandomGenerator draws;
  for (std::int32_t seed : {1, 7, 12345, 2147483646}) {
    rng.reseed(seed);
    draws.reseed(seed);
    for (int n = 0; n < 2000; ++n) {
      double a = 0.0;
      double expected = -1.0;
      while (expected < 0.0) {
        const double u1 = draws.uniform();
        double last = draws.uniform();
        if (u1 < last) {
          expected = a + u1;
          break;
        }
        for (int k = 3; expected < 0.0; ++k) {
          const double u = draws.uniform();
          if (k % 2 == 1 && u >= last) {
            a += 1.0;
            break;
          }
          if (k % 2 == 0 && u > last) {
            expected = a + u1;
          }
          last = u;
        }
      }
      ASSERT_EQ(rng.exponential(), expected);
      ASSERT_EQ(rng.state(), draws.state());
    }
  }
}

TEST(RandomGenerator, GammaDispatchesByShape) {
  RandomGenerator rng;
  RandomGenerator twin;
  rng.reseed(42);
  twin.reseed(42);
  EXPECT_EQ(rng.gamma(1.0), twin.exponential());
  EXPECT_EQ(rng.gamma(0.25), twin.gamma_small(0.25));
  EXPECT_EQ(rng.gamma(3.5), twin.gamma_large(3.5));
  EXPECT_EQ(rng.state(), twin.state());
}

TEST(RandomGenerator, GammaLargeCachesItsConstantsPerShape) {
  RandomGenerator rng;
  rng.reseed(3);
  EXPECT_EQ(rng.cached_shape(), 0.0);
  rng.gamma_large(3.0);
  EXPECT_EQ(rng.cached_shape(), 3.0);
  rng.gamma_large(3.0);
  EXPECT_EQ(rng.cached_shape(), 3.0);
  // At a = 2.0 the GKM1 branch draws exactly two uniforms per trial and takes
  // u1 as drawn: the first trial's result is c1 * c2 * u2 / u1 when accepted.
  RandomGenerator twin;
  rng.reseed(11);
  twin.reseed(11);
  const double value = rng.gamma_large(2.0);
  EXPECT_EQ(rng.cached_shape(), 2.0);
  const double c1 = 1.0;
  const double c2 = (2.0 - 1.0 / (6.0 * 2.0)) / c1;
  const double c3 = 2.0 / c1;
  const double c4 = c3 + 2.0;
  for (;;) {
    const double u1 = twin.uniform();
    const double u2 = twin.uniform();
    const double w = c2 * u2 / u1;
    if (c3 * u1 + w + 1.0 / w < c4 || c3 * math::log(u1) - math::log(w) + w < 1.0) {
      EXPECT_EQ(value, c1 * w);
      break;
    }
  }
  EXPECT_EQ(rng.state(), twin.state());
}

TEST(RandomGenerator, GammaMomentsMatchTheShape) {
  RandomGenerator rng;
  rng.reseed(2024);
  for (double shape : {0.3, 1.0, 1.7, 4.0, 50.0}) {
    double sum = 0.0;
    double sum2 = 0.0;
    const int n = 40000;
    for (int i = 0; i < n; ++i) {
      const double g = rng.gamma(shape);
      ASSERT_GE(g, 0.0);
      sum += g;
      sum2 += g * g;
    }
    const double mean = sum / n;
    const double variance = sum2 / n - mean * mean;
    EXPECT_NEAR(mean, shape, 0.05 * shape + 0.02) << shape;
    EXPECT_NEAR(variance, shape, 0.1 * shape + 0.03) << shape;
  }
}

TEST(RandomGenerator, NewSeedIsTheStateElevenHundredDrawsAfterTheClock) {
  ClockGuard clock(&fixed_clock);
  Simulation sim;
  EXPECT_EQ(sim.rn_seed, 1234567);
  sim.new_seed();
  RandomGenerator expected;
  expected.reseed(1234567);
  expected.discard(1100);
  EXPECT_EQ(sim.rn_seed, expected.state());
  // Two presses within the same second give the same seed.
  const std::int32_t first = sim.rn_seed;
  sim.new_seed();
  EXPECT_EQ(sim.rn_seed, first);
}

TEST(RandomGenerator, StartUpStateIsHundredDrawsPastTheSeed) {
  ClockGuard clock(&fixed_clock);
  Simulation sim;
  RandomGenerator expected;
  expected.reseed(1234567);
  expected.discard(100);
  EXPECT_EQ(sim.rng.seed(), 1234567);
  EXPECT_EQ(sim.rng.state(), expected.state());
}

}  // namespace
}  // namespace wandrix
