// One bivariate normal hill of the landscape, and the arithmetic of its
// height. The peak of every hill equals its relative weight, however wide.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "model/portable_math.h"

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

// The heat factor beta of chain number i: 1 with fewer than two chains,
// else 1 / ((i - 1) x heat_step x heat_scale + 1).
double heat_factor(int i, int nchains, double heat_step, double heat_scale);

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

// Q = dx^2 / sx^2 - 2 r dx dy / (sx sy) + dy^2 / sy^2, evaluated left to
// right: the part of a hill's exponent that does not depend on the heat.
inline double hill_q(double x, double y, const HillTerms& t) {
  const double dx = x - t.mean_x;
  const double dy = y - t.mean_y;
  return dx * dx / t.sx2 - t.two_r * dx * dy / t.sxsy + dy * dy / t.sy2;
}

// The exponent -0.5 x beta x Q / (1 - r^2); neg_half_beta is -0.5 x beta.
// Q is NaN only where its terms overflowed against each other (inf - inf,
// 0 x inf) at a point so far from a non-degenerate hill that the true Q is
// beyond every double: the height there is 0, as exp(-inf) gives.
inline double exponent_of_q(double neg_half_beta, double q, const HillTerms& t) {
  const double e = neg_half_beta * q / t.one_minus_r2;
  return e == e ? e : -HUGE_VAL;
}

inline double hill_exponent(double neg_half_beta, double x, double y, const HillTerms& t) {
  return exponent_of_q(neg_half_beta, hill_q(x, y, t), t);
}

// The hill's height: relative_weight x exp(exponent).
inline double hill_height(double neg_half_beta, double x, double y, const HillTerms& t) {
  return t.relative_weight * math::exp(hill_exponent(neg_half_beta, x, y, t));
}

}  // namespace wandrix
