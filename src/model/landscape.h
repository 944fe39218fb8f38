// The landscape as the chains of one walk see it: the hills' terms and each
// chain's heat, prepared once, so that a height costs little more than one
// exponential per hill.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

#include "model/hill.h"
#include "model/portable_math.h"

namespace wandrix {

class Landscape {
 public:
  Landscape(const std::vector<Hill>& hills, int nchains, double heat_step);

  [[nodiscard]] bool empty() const { return count_ == 0; }

  // The height seen by chain number i (1 to 4) at (x, y): 1.0 without hills.
  [[nodiscard]] double height(int i, double x, double y) const {
    return empty() ? 1.0 : hills_sum(i, x, y);
  }

  // The sum of the hills' heights at (x, y) for chain number i, in list
  // order: 0.0 without hills. A hill's height is relative_weight x
  // exp(-0.5 x beta x Q / (1 - r^2)) with Q = dx^2 / sx^2 - 2 r dx dy /
  // (sx sy) + dy^2 / sy^2, each evaluated left to right: its peak is its
  // relative weight, however wide it is.
  [[nodiscard]] double hills_sum(int i, double x, double y) const;

 private:
  // Two hills side by side, so that their divisions run as one packed
  // instruction. Each lane rounds exactly as the scalar formula of hill.h;
  // an odd last hill shares its pair with a flat one that is not summed.
  using Lanes = double __attribute__((vector_size(16)));
  struct Pair {
    Lanes mean_x, mean_y, sx2, sxsy, sy2, two_r, one_minus_r2;
  };

  std::vector<Pair> pairs_;
  std::vector<double> weights_;  // relative weights in list order
  std::size_t count_ = 0;
  std::array<double, 4> neg_half_beta_{};
};

inline double Landscape::hills_sum(int i, double x, double y) const {
  const double neg_half_beta = neg_half_beta_[static_cast<std::size_t>(i - 1)];
  // The exponents of a batch of hills are all computed before the first
  // exponential: every register is free across the calls, and the divisions
  // of the batch overlap. The sum is still taken in list order.
  constexpr std::size_t kBatchPairs = 4;
  double exponents[2 * kBatchPairs];
  double sum = 0.0;
  for (std::size_t first = 0; first < pairs_.size(); first += kBatchPairs) {
    const std::size_t pairs = std::min(kBatchPairs, pairs_.size() - first);
    for (std::size_t k = 0; k < pairs; ++k) {
      const Pair& p = pairs_[first + k];
      const Lanes dx = x - p.mean_x;
      const Lanes dy = y - p.mean_y;
      const Lanes q = dx * dx / p.sx2 - p.two_r * dx * dy / p.sxsy + dy * dy / p.sy2;
      const Lanes e = neg_half_beta * q / p.one_minus_r2;
      // Q is NaN only where its terms overflowed against each other (inf -
      // inf, 0 x inf) at a point so far from a non-degenerate hill that the
      // true Q is beyond every double: the height there is 0.
      exponents[2 * k] = e[0] == e[0] ? e[0] : -HUGE_VAL;
      exponents[2 * k + 1] = e[1] == e[1] ? e[1] : -HUGE_VAL;
    }
    const std::size_t hills = std::min(2 * pairs, count_ - 2 * first);
    for (std::size_t k = 0; k < hills; ++k) {
      sum = sum + weights_[2 * first + k] * math::exp(exponents[k]);
    }
  }
  return sum;
}

}  // namespace wandrix
