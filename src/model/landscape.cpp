#include "model/landscape.h"

namespace wandrix {

Landscape::Landscape(const std::vector<Hill>& hills, int nchains, double heat_step,
                     double heat_scale) {
  terms_.reserve(hills.size());
  for (const Hill& hill : hills) {
    terms_.push_back(HillTerms::of(hill));
  }
  for (int i = 1; i <= 4; ++i) {
    neg_half_beta_[static_cast<std::size_t>(i - 1)] =
        -0.5 * heat_factor(i, nchains, heat_step, heat_scale);
  }
}

}  // namespace wandrix
