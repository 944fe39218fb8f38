#include "model/random_generator.h"

#include <cmath>
#include <ctime>

#include "model/portable_math.h"

namespace wandrix {
namespace {

std::int32_t system_clock_seconds() { return static_cast<std::int32_t>(std::time(nullptr)); }

ClockFunction g_clock = &system_clock_seconds;

}  // namespace

void set_seed_clock(ClockFunction clock) {
  g_clock = clock != nullptr ? clock : &system_clock_seconds;
}

std::int32_t seed_clock_now() { return g_clock(); }

RandomGenerator::RandomGenerator() : e_(math::exp(1.0)) { seed_from_clock(100); }

std::int32_t RandomGenerator::valid_state(std::int64_t value) {
  std::int64_t residue = value % kModulus;
  if (residue < 0) {
    residue += kModulus;
  }
  return residue == 0 ? 1 : static_cast<std::int32_t>(residue);
}

void RandomGenerator::seed_from_clock(int n) {
  reseed(seed_clock_now());
  discard(n);
}

void RandomGenerator::discard(int n) {
  for (int i = 0; i < n; ++i) {
    uniform();
  }
}

void RandomGenerator::reseed(std::int32_t value) {
  seed_ = value;
  state_ = valid_state(value);
}

double RandomGenerator::gamma_small(double a) {
  // Ahrens and Dieter, algorithm GS.
  const double b = (e_ + a) / e_;
  for (;;) {
    const double p = b * uniform();
    if (p <= 1.0) {
      const double x = math::pow(p, 1.0 / a);
      const double u = uniform();
      if (-math::log(u) >= x) {
        return x;
      }
    } else {
      const double x = -math::log((b - p) / a);
      const double q = math::pow(x, a - 1.0);
      const double u = uniform();
      if (u <= q) {
        return x;
      }
    }
  }
}

double RandomGenerator::gamma_large(double a) {
  // Cheng and Feast: GKM1 for a <= 2.5, GKM2 above.
  if (a != cached_shape_) {
    c1_ = a - 1.0;
    c2_ = (a - 1.0 / (6.0 * a)) / c1_;
    c3_ = 2.0 / c1_;
    c4_ = c3_ + 2.0;
    if (a > 2.5) {
      c5_ = 1.0 / std::sqrt(a);
    }
  }
  for (;;) {
    double u1 = uniform();
    const double u2 = uniform();
    if (a > 2.5) {
      u1 = u2 + c5_ * (1.0 - 1.86 * u1);
      if (u1 <= 0.0 || u1 >= 1.0) {
        continue;
      }
    }
    const double w = c2_ * u2 / u1;
    if (c3_ * u1 + w + 1.0 / w < c4_ || c3_ * math::log(u1) - math::log(w) + w < 1.0) {
      cached_shape_ = a;
      return c1_ * w;
    }
  }
}

}  // namespace wandrix
