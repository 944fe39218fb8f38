// The landscape as the chains of one walk see it: the hills' terms and each
// chain's heat, prepared once so that a height costs one exponential per
// hill and nothing else.
#pragma once

#include <array>
#include <vector>

#include "model/hill.h"

namespace wandrix {

class Landscape {
 public:
  Landscape(const std::vector<Hill>& hills, int nchains, double heat_step, double heat_scale);

  [[nodiscard]] bool empty() const { return terms_.empty(); }
  // The height seen by chain number i (1 to 4): 1.0 without hills.
  [[nodiscard]] double height(int i, double x, double y) const {
    if (terms_.empty()) {
      return 1.0;
    }
    const double neg_half_beta = neg_half_beta_[static_cast<std::size_t>(i - 1)];
    double sum = 0.0;
    for (const HillTerms& t : terms_) {
      sum = sum + hill_height(neg_half_beta, x, y, t);
    }
    return sum;
  }

 private:
  std::vector<HillTerms> terms_;
  std::array<double, 4> neg_half_beta_{};
};

}  // namespace wandrix
