// One bivariate normal hill of the landscape, its weight and its heat. The
// height's arithmetic is the landscape's (landscape.h).
#pragma once

#include <string>
#include <vector>

namespace wandrix {

struct Hill {
  std::string label;
  double mean_x = 0.0;  // landscape coordinates (y upward)
  double mean_y = 0.0;
  double stddev_x = 1.0;
  double stddev_y = 1.0;
  double correlation = 0.0;  // strictly between -1 and 1
  double weight = 1.0;
  double relative_weight = 0.0;  // derived by normalize_weights

  // A hill whose height is undefined or cannot be computed in double
  // precision: a spread that is not a finite positive number or whose square
  // (or product with the other spread) underflows or overflows, a centre that
  // is not finite, or a correlation whose magnitude is not below 1. Such a
  // hill is flat (height 0 everywhere) rather than a source of NaN.
  [[nodiscard]] bool degenerate() const;

  friend bool operator==(const Hill&, const Hill&) = default;
};

// Sets every relative weight to weight / sum of weights. When the weights
// sum to 0 (or to no finite number) every hill gets an equal share instead.
void normalize_weights(std::vector<Hill>& hills);

// How much hotter each chain is than the one before, in units of heat_step.
inline constexpr double kHeatScale = 2.0;

// The heat factor beta of chain number i: 1 with fewer than two chains,
// else 1 / ((i - 1) x heat_step x kHeatScale + 1).
double heat_factor(int i, int nchains, double heat_step);

// The terms of a hill's height that do not depend on the point or the heat,
// each rounded exactly as the full formula rounds it.
struct HillTerms {
  double mean_x;
  double mean_y;
  double sx2;           // stddev_x * stddev_x
  double sxsy;          // stddev_x * stddev_y
  double sy2;           // stddev_y * stddev_y
  double two_r;         // 2 * correlation
  double one_minus_r2;  // 1 - correlation * correlation
  double relative_weight;

  static HillTerms of(const Hill& hill);
};

}  // namespace wandrix
