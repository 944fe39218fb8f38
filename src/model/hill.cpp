#include "model/hill.h"

#include <cmath>

namespace wandrix {

bool Hill::degenerate() const {
  const auto positive = [](double v) { return std::isfinite(v) && v > 0.0; };
  // The divisors of Q: zero or infinite, they make it 0 / 0 or inf / inf.
  const auto usable = [](double v) { return std::isnormal(v) && v > 0.0; };
  return !positive(stddev_x) || !positive(stddev_y) || !usable(stddev_x * stddev_x) ||
         !usable(stddev_y * stddev_y) || !usable(stddev_x * stddev_y) ||
         !std::isfinite(correlation) || !(std::fabs(correlation) < 1.0) || !std::isfinite(mean_x) ||
         !std::isfinite(mean_y);
}

void normalize_weights(std::vector<Hill>& hills) {
  if (hills.empty()) {
    return;
  }
  double sum = 0.0;
  for (const Hill& hill : hills) {
    sum = sum + hill.weight;
  }
  if (sum == 0.0 || !std::isfinite(sum)) {
    const double share = 1.0 / static_cast<double>(hills.size());
    for (Hill& hill : hills) {
      hill.relative_weight = share;
    }
    return;
  }
  for (Hill& hill : hills) {
    hill.relative_weight = hill.weight / sum;
  }
}

double heat_factor(int i, int nchains, double heat_step) {
  if (nchains < 2) {
    return 1.0;
  }
  return 1.0 / ((i - 1) * heat_step * kHeatScale + 1.0);
}

HillTerms HillTerms::of(const Hill& hill) {
  if (hill.degenerate()) {
    // Finite terms and a zero weight: the hill is flat everywhere.
    return {0.0, 0.0, 1.0, 1.0, 1.0, 0.0, 1.0, 0.0};
  }
  const double sx = hill.stddev_x;
  const double sy = hill.stddev_y;
  const double r = hill.correlation;
  return {hill.mean_x, hill.mean_y, sx * sx,     sx * sy,
          sy * sy,     2.0 * r,     1.0 - r * r, hill.relative_weight};
}

}  // namespace wandrix
