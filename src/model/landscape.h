// The landscape as the chains of one walk see it: the hills' terms and each
// chain's heat, prepared once so that a height costs one exponential per
// hill and little else.
#pragma once

#include <array>
#include <vector>

#include "model/hill.h"
#include "model/portable_math.h"

namespace wandrix {

// The Q of every hill at one point, kept with a chain's position so that the
// heights other chains see there cost only their exponentials.
struct PointTerms {
  static constexpr std::size_t kMaxHills = 8;
  std::array<double, kMaxHills> q{};
  bool valid = false;
};

class Landscape {
 public:
  Landscape(const std::vector<Hill>& hills, int nchains, double heat_step, double heat_scale);

  [[nodiscard]] bool empty() const { return terms_.empty(); }

  // The height seen by chain number i (1 to 4) at (x, y): 1.0 without hills.
  // With few enough hills the Qs are also left in *terms for later use.
  double height(int i, double x, double y, PointTerms* terms = nullptr) const {
    if (terms_.empty()) {
      return 1.0;
    }
    const std::size_t n = terms_.size();
    if (n > PointTerms::kMaxHills || terms == nullptr) {
      return height_uncached(i, x, y);
    }
    for (std::size_t j = 0; j < n; ++j) {
      terms->q[j] = hill_q(x, y, terms_[j]);
    }
    terms->valid = true;
    return height_from(i, *terms);
  }

  // The height seen by chain number i at the point whose Qs are given.
  [[nodiscard]] double height_from(int i, const PointTerms& terms) const {
    const double neg_half_beta = neg_half_beta_[static_cast<std::size_t>(i - 1)];
    const std::size_t n = terms_.size();
    double exponents[PointTerms::kMaxHills];
    for (std::size_t j = 0; j < n; ++j) {
      exponents[j] = exponent_of_q(neg_half_beta, terms.q[j], terms_[j]);
    }
    double sum = 0.0;
    for (std::size_t j = 0; j < n; ++j) {
      sum = sum + terms_[j].relative_weight * math::exp(exponents[j]);
    }
    return sum;
  }

 private:
  // The exponents of a batch of hills are computed before their
  // exponentials, so that the divisions of several hills overlap instead of
  // waiting on each call; the sum is still taken in list order.
  [[nodiscard]] double height_uncached(int i, double x, double y) const {
    const double neg_half_beta = neg_half_beta_[static_cast<std::size_t>(i - 1)];
    constexpr std::size_t kBatch = 8;
    double exponents[kBatch];
    double sum = 0.0;
    const std::size_t n = terms_.size();
    for (std::size_t first = 0; first < n; first += kBatch) {
      const std::size_t count = n - first < kBatch ? n - first : kBatch;
      for (std::size_t j = 0; j < count; ++j) {
        exponents[j] = hill_exponent(neg_half_beta, x, y, terms_[first + j]);
      }
      for (std::size_t j = 0; j < count; ++j) {
        sum = sum + terms_[first + j].relative_weight * math::exp(exponents[j]);
      }
    }
    return sum;
  }

  std::vector<HillTerms> terms_;
  std::array<double, 4> neg_half_beta_{};
};

}  // namespace wandrix
