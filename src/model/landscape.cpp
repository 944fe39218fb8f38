#include "model/landscape.h"

namespace wandrix {

Landscape::Landscape(const std::vector<Hill>& hills, int nchains, double heat_step)
    : count_(hills.size()) {
  pairs_.resize((hills.size() + 1) / 2);
  weights_.reserve(hills.size());
  for (std::size_t j = 0; j < pairs_.size() * 2; ++j) {
    // The odd one out is a flat hill with finite terms.
    const HillTerms t = j < hills.size() ? HillTerms::of(hills[j]) : HillTerms::of(Hill{});
    Pair& p = pairs_[j / 2];
    const std::size_t lane = j % 2;
    p.mean_x[lane] = t.mean_x;
    p.mean_y[lane] = t.mean_y;
    p.sx2[lane] = t.sx2;
    p.sxsy[lane] = t.sxsy;
    p.sy2[lane] = t.sy2;
    p.two_r[lane] = t.two_r;
    p.one_minus_r2[lane] = t.one_minus_r2;
    if (j < hills.size()) {
      weights_.push_back(t.relative_weight);
    }
  }
  for (int i = 1; i <= 4; ++i) {
    neg_half_beta_[static_cast<std::size_t>(i - 1)] = -0.5 * heat_factor(i, nchains, heat_step);
  }
}

}  // namespace wandrix
