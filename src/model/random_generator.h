// The seeded source of every random draw of a walk: the multiplicative
// congruential generator 16807 x state mod 2^31 - 1, with exponential and
// unit-scale Gamma deviates built on it. The order and arithmetic of every
// draw are fixed, so a seed reproduces a walk bit for bit.
#pragma once

#include <cstdint>

namespace wandrix {

class RandomGenerator {
 public:
  using result_type = double;

  static constexpr std::int32_t kModulus = 2147483647;
  static constexpr std::int32_t kMultiplier = 16807;
  // Slightly more than 1 / 2147483647, as the generator has always used.
  static constexpr double kScale = 4.6566128575e-10;

  // Seeds from the clock and discards 100 draws.
  RandomGenerator();

  // Seeds with the calendar time in seconds, then discards n draws.
  void seed_from_clock(int n);
  void discard(int n);
  // seed = value as given; the state becomes the value reduced to a valid
  // state (1 .. 2147483646), because 0 and 2147483647 would make every later
  // draw 0 and stall the exponential and Gamma methods.
  void reseed(std::int32_t value);

  // A uniform deviate in (0, 1); never 0, never 1. Inline: a walk draws
  // several for every step of every chain.
  double uniform() {
    // (16807 x state) mod (2^31 - 1) by folding the high bits onto the low
    // ones, since 2^31 = 1 modulo the modulus; for every valid state this is
    // the same sequence as the 32-bit overflow-free form.
    const std::uint64_t product =
        static_cast<std::uint64_t>(kMultiplier) * static_cast<std::uint64_t>(state_);
    std::uint64_t folded = (product & 0x7FFFFFFFu) + (product >> 31);
    if (folded >= static_cast<std::uint64_t>(kModulus)) {
      folded -= static_cast<std::uint64_t>(kModulus);
    }
    state_ = static_cast<std::int32_t>(folded);
    return static_cast<double>(state_) * kScale;
  }
  double operator()() { return uniform(); }
  // An integer in 0 .. n-1 from one draw.
  int int_below(int n) { return static_cast<int>(uniform() * n); }
  double exponential();
  double gamma_small(double a);
  double gamma_large(double a);
  // k == 1: exponential; k < 1: gamma_small; k > 1: gamma_large.
  double gamma(double k) {
    if (k == 1.0) {
      return exponential();
    }
    return k < 1.0 ? gamma_small(k) : gamma_large(k);
  }

  [[nodiscard]] std::int32_t seed() const { return seed_; }
  [[nodiscard]] std::int32_t state() const { return state_; }
  // The shape gamma_large holds its constants for (0 before its first use).
  [[nodiscard]] double cached_shape() const { return cached_shape_; }

  // The state a seed value becomes (exposed for the tests and the dialogs).
  static std::int32_t valid_state(std::int64_t value);

 private:
  std::int32_t seed_ = 1;
  std::int32_t state_ = 1;
  double e_;
  // gamma_large's constants for the last shape it returned a deviate for.
  double cached_shape_ = 0.0;
  double c1_ = 0.0, c2_ = 0.0, c3_ = 0.0, c4_ = 0.0, c5_ = 0.0;
};

// Inline with uniform: the walk's default steps draw one per chain and step.
inline double RandomGenerator::exponential() {
  // von Neumann's comparison method.
  double a = 0.0;
  for (;;) {
    const double u1 = uniform();
    double previous = uniform();
    if (u1 < previous) {
      return a + u1;
    }
    for (int k = 3;; ++k) {
      const double u = uniform();
      if (k % 2 == 1) {
        if (u >= previous) {
          break;  // failed attempt
        }
      } else if (u > previous) {
        return a + u1;
      }
      previous = u;
    }
    a = a + 1.0;
  }
}

// The clock the generator is seeded from; tests replace it.
using ClockFunction = std::int32_t (*)();
void set_seed_clock(ClockFunction clock);
std::int32_t seed_clock_now();

}  // namespace wandrix
