#include "model/marginals.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <ostream>

#include "model/portable_math.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

const double kSqrt2 = std::sqrt(2.0);
const double kSqrt2Pi = std::sqrt(2.0 * kPi);

// Phi(b) - Phi(a) for a <= b, from the tail that keeps its digits: far out
// on either side the difference of two values near 1 would lose them all.
double normal_mass(double a, double b) {
  if (a >= 0.0) {
    return 0.5 * (math::erfc(a / kSqrt2) - math::erfc(b / kSqrt2));
  }
  if (b <= 0.0) {
    return 0.5 * (math::erfc(-b / kSqrt2) - math::erfc(-a / kSqrt2));
  }
  return 1.0 - 0.5 * math::erfc(b / kSqrt2) - 0.5 * math::erfc(-a / kSqrt2);
}

// Gauss-Legendre nodes and weights on [-1, 1], by Newton's method on the
// Legendre polynomial: ten points integrate a polynomial of degree 19
// exactly, and the hills are smooth on every piece between breakpoints.
constexpr int kGaussPoints = 10;
struct GaussRule {
  std::array<double, kGaussPoints> node{};
  std::array<double, kGaussPoints> weight{};
};

GaussRule make_gauss_rule() {
  GaussRule rule;
  constexpr int n = kGaussPoints;
  for (int i = 0; i < n; ++i) {
    double z = math::cos(kPi * (i + 0.75) / (n + 0.5));
    double derivative = 1.0;
    for (int iteration = 0; iteration < 100; ++iteration) {
      double p0 = 1.0;
      double p1 = 0.0;
      for (int j = 1; j <= n; ++j) {
        const double p2 = p1;
        p1 = p0;
        p0 = ((2.0 * j - 1.0) * z * p1 - (j - 1.0) * p2) / j;
      }
      derivative = n * (z * p0 - p1) / (z * z - 1.0);
      const double step = p0 / derivative;
      z -= step;
      if (std::fabs(step) < 1e-16) {
        break;
      }
    }
    rule.node[static_cast<std::size_t>(i)] = z;
    rule.weight[static_cast<std::size_t>(i)] = 2.0 / ((1.0 - z * z) * derivative * derivative);
  }
  return rule;
}

const GaussRule& gauss_rule() {
  static const GaussRule rule = make_gauss_rule();
  return rule;
}

template <typename F>
double gauss(const F& f, double a, double b) {
  const GaussRule& rule = gauss_rule();
  const double half = 0.5 * (b - a);
  const double mid = 0.5 * (a + b);
  double sum = 0.0;
  for (std::size_t i = 0; i < rule.node.size(); ++i) {
    sum += rule.weight[i] * f(mid + half * rule.node[i]);
  }
  return sum * half;
}

// Halves the piece until the two halves agree with the whole within the
// tolerance, which is shared out over the halves. Agreement to the rounding
// of the sum is agreement too, and budget caps the pieces of one integral:
// no hill, however odd, can make the halving run away.
template <typename F>
double adaptive(const F& f, double a, double b, double whole, double tolerance, int depth,
                int& budget) {
  const double mid = 0.5 * (a + b);
  const double left = gauss(f, a, mid);
  const double right = gauss(f, mid, b);
  const double sum = left + right;
  const double error = std::fabs(sum - whole);
  if (depth <= 0 || --budget <= 0 || error <= tolerance || error <= 1e-15 * std::fabs(sum)) {
    return sum;
  }
  return adaptive(f, a, mid, left, 0.5 * tolerance, depth - 1, budget) +
         adaptive(f, mid, b, right, 0.5 * tolerance, depth - 1, budget);
}

constexpr int kMaxDepth = 40;
constexpr int kMaxPieces = 100000;

}  // namespace

ExactMarginal::ExactMarginal(const std::vector<Hill>& hills, double beta, double width,
                             double height, Axis axis)
    : extent_(axis == Axis::x ? width : height), other_extent_(axis == Axis::x ? height : width) {
  // A hot chain sees every hill widened by 1 / sqrt(beta), its peak kept.
  const double widen = 1.0 / std::sqrt(beta);
  for (const Hill& hill : hills) {
    if (hill.degenerate() || !(hill.relative_weight > 0.0)) {
      continue;  // flat: it holds no mass
    }
    const bool along_x = axis == Axis::x;
    const double spread = (along_x ? hill.stddev_x : hill.stddev_y) * widen;
    const double other = (along_x ? hill.stddev_y : hill.stddev_x) * widen;
    const double rho = hill.correlation;
    const double sigma = other * std::sqrt(1.0 - rho * rho);
    terms_.push_back({hill.relative_weight * sigma * kSqrt2Pi, along_x ? hill.mean_x : hill.mean_y,
                      spread, along_x ? hill.mean_y : hill.mean_x, rho * other / spread, sigma});
  }
  if (!(extent_ > 0.0)) {
    scale_ = 0.0;
    return;
  }
  const double mass = terms_.empty() ? 0.0 : integral();
  // Without hills every step is accepted, and so it is where every height
  // is 0: hills that are all flat, or too far away for any height in the
  // window to be a double. The chain then samples the window uniformly.
  uniform_ = !(mass > 0.0) || !std::isfinite(mass);
  scale_ = uniform_ ? 1.0 / extent_ : 1.0 / mass;
}

double ExactMarginal::unnormalised(double u) const {
  double sum = 0.0;
  for (const Term& t : terms_) {
    const double d = (u - t.centre) / t.spread;
    const double mean = t.other_mean + t.slope * (u - t.centre);
    const double mass = normal_mass((0.0 - mean) / t.sigma, (other_extent_ - mean) / t.sigma);
    sum += t.weight * math::exp(-0.5 * d * d) * mass;
  }
  return sum;
}

double ExactMarginal::density(double u) const {
  if (!(u >= 0.0 && u <= extent_)) {
    return 0.0;
  }
  return uniform_ ? scale_ : unnormalised(u) * scale_;
}

std::vector<double> ExactMarginal::breakpoints() const {
  // Where a hill rises and falls along the axis, and where its ridge
  // crosses the other axis's walls: the pieces between are smooth enough
  // for the quadrature to see every hill, however narrow.
  std::vector<double> points{0.0, extent_};
  const auto add = [&points, this](double u) {
    if (u > 0.0 && u < extent_) {
      points.push_back(u);
    }
  };
  constexpr std::array kSpreads{0.0, 1.0, 2.0, 3.0, 5.0, 8.0, 12.0};
  for (const Term& t : terms_) {
    for (const double k : kSpreads) {
      add(t.centre - k * t.spread);
      add(t.centre + k * t.spread);
    }
    if (t.slope != 0.0) {
      for (const double wall : {0.0, other_extent_}) {
        const double crossing = t.centre + (wall - t.other_mean) / t.slope;
        const double width = 3.0 * t.sigma / std::fabs(t.slope);
        add(crossing);
        add(crossing - width);
        add(crossing + width);
      }
    }
  }
  std::sort(points.begin(), points.end());
  points.erase(std::unique(points.begin(), points.end()), points.end());
  return points;
}

double ExactMarginal::integral() const {
  const std::vector<double> points = breakpoints();
  const auto f = [this](double u) { return unnormalised(u); };
  const auto pass = [&](double tolerance) {
    double sum = 0.0;
    int budget = kMaxPieces;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
      const double a = points[i];
      const double b = points[i + 1];
      const double share = tolerance * (b - a) / extent_;
      sum += adaptive(f, a, b, gauss(f, a, b), share, kMaxDepth, budget);
    }
    return sum;
  };
  // First to a fraction of the whole plane's mass, then, when the window
  // holds only a little of it, again to a fraction of what it holds.
  double bound = 0.0;
  for (const Term& t : terms_) {
    bound += t.weight * t.spread * kSqrt2Pi;
  }
  constexpr double kRelative = 1e-13;
  const double first = pass(kRelative * bound);
  if (first > 0.0 && first < 1e-3 * bound) {
    return pass(kRelative * first);
  }
  return first;
}

ExactMarginal exact_marginal(const Simulation& sim, int chain, Axis axis) {
  const double beta = heat_factor(chain, sim.nchains, sim.heat_step);
  return {sim.hills, beta, std::trunc(sim.width), std::trunc(sim.height), axis};
}

void write_marginals_csv(const Simulation& sim, std::ostream& out) {
  out << "axis,position,density\n";
  for (const Axis axis : {Axis::x, Axis::y}) {
    const ExactMarginal marginal = exact_marginal(sim, 1, axis);
    const char* name = axis == Axis::x ? "x," : "y,";
    const auto last = static_cast<long long>(marginal.extent());
    for (long long u = 0; u <= last; ++u) {
      char density[32];
      std::snprintf(density, sizeof density, "%.9g", marginal.density(static_cast<double>(u)));
      out << name << u << ',' << density << '\n';
    }
  }
}

}  // namespace wandrix
