#include "model/summary.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "model/fixed_text.h"
#include "model/portable_math.h"
#include "model/simulation.h"

namespace wandrix {
SummaryCounts count_inside(const Chain& chain, int client_height, const Hill& hill) {
  const double inner_r = std::sqrt(kInnerRadiusSquared);
  const double outer_r = std::sqrt(kOuterRadiusSquared);
  const double pi = kPi;
  const double diagonal = math::cos(pi / 4.0);
  const double sigma = (hill.stddev_x + hill.stddev_y) / 2.0;
  const double rho = hill.correlation;
  SummaryCounts counts;
  const std::size_t n = chain.xs.size();
  for (std::size_t i = 1; i < n; ++i) {
    ++counts.examined;
    const double dx = static_cast<double>(chain.xs[i]) - hill.mean_x;
    const double dy =
        (static_cast<double>(client_height) - static_cast<double>(chain.ys[i])) - hill.mean_y;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d < 1e-8) {
      ++counts.inner;
      ++counts.outer;
      continue;
    }
    const double u = (dx + dy) * diagonal;  // along the diagonal x = y
    const double v = (dy - dx) * diagonal;  // across it
    double phi = 0.0;
    if (u != 0.0) {
      phi = math::atan(v / u);
      if (u < 0.0) {
        phi = phi + pi;
      }
    } else {
      phi = v > 0.0 ? pi / 2.0 : -pi / 2.0;
    }
    const auto [s, c] = math::sincos(phi);
    const double shape = std::sqrt((1.0 + rho) * (c * c) + (1.0 - rho) * (s * s));
    if (d < inner_r * sigma * shape) {
      ++counts.inner;
    }
    if (d < outer_r * sigma * shape) {
      ++counts.outer;
    }
  }
  return counts;
}

SummaryCounts summary_counts(const Simulation& sim) {
  const Chain& first = sim.chains[0];
  SummaryCounts total;
  total.examined = first.xs.empty() ? 0 : static_cast<std::int64_t>(first.xs.size()) - 1;
  for (const Hill& hill : sim.hills) {
    const SummaryCounts one = count_inside(first, sim.client_height(), hill);
    total.inner += one.inner;
    total.outer += one.outer;
  }
  return total;
}

std::string summary_text(const SummaryCounts& counts) {
  const auto n = static_cast<double>(counts.examined);
  std::string text = "Number of points sampled: " + std::to_string(counts.examined);
  text += "\n\nPercent inside inner circles: " + percent_text(counts.inner, counts.examined);
  text += "\n  expected: " + format_fixed(n * 0.5, 1);
  text += "\n  observed: " + std::to_string(counts.inner);
  text += "\n\nPercent inside outer circles: " + percent_text(counts.outer, counts.examined);
  text += "\n  expected: " + format_fixed(n * 0.95, 1);
  text += "\n  observed: " + std::to_string(counts.outer);
  return text;
}

void summarize(Simulation& sim) {
  const std::string text = summary_text(summary_counts(sim));
  sim.host().message_box(text, kSummaryCaption);
  sim.host().set_clipboard_text(text);
}

}  // namespace wandrix
