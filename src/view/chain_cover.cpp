#include "view/chain_cover.h"

#include <algorithm>
#include <array>

namespace wandrix {
namespace {

// Samples looked at together: when the box around a run of them lies on
// covered ground, the whole run is hidden at the cost of one look.
constexpr std::size_t kRun = 8;

}  // namespace

KeepFlags cover_chain(const Projection& view, const Chain& chain, std::size_t first,
                      const ChainStyle& style, Coverage& coverage) {
  const std::size_t n = chain.xs.size();
  KeepFlags keep(n - first, 0);
  const bool white = first == 0 && !style.colour_first_dot;
  const int r = style.dot_radius;
  std::array<Point, kRun + 1> points{};
  std::size_t i = n - 1;  // the last sample not yet looked at
  points[0] = sample_point(view, chain, i);
  while (i > first) {
    // The run of samples i - k + 1 .. i, and the sample before it, whose
    // point the run's first line starts from; points[j] is sample i - k + j.
    const std::size_t k = std::min(kRun, i - first);
    points[k] = points[0];
    Point low = points[k];
    Point high = points[k];
    for (std::size_t j = k; j-- > 0;) {
      points[j] = sample_point(view, chain, i - k + j);
      low = {std::min(low.x, points[j].x), std::min(low.y, points[j].y)};
      high = {std::max(high.x, points[j].x), std::max(high.y, points[j].y)};
    }
    if (!coverage.region_covered(low.x - r, low.y - r, high.x + r + 1, high.y + r + 1)) {
      for (std::size_t j = k; j > 0; --j) {
        const std::size_t sample = i - k + j;
        const Point& p = points[j];
        const Point& previous = points[j - 1];
        // The step repeats the dot before it in the same colour: drawn once.
        if (p == previous && !(sample - 1 == first && white)) {
          continue;
        }
        std::uint8_t kept = 0;
        if (coverage.ellipse(p.x - r, p.y - r, p.x + r, p.y + r)) {
          kept |= kKeepDot;
        }
        if (style.show_trajectory && coverage.line(previous, p)) {
          kept |= kKeepLine;
        }
        keep[sample - first] = kept;
      }
    }
    i -= k;
  }
  const Point& start = points[0];
  keep[0] = coverage.ellipse(start.x - r, start.y - r, start.x + r, start.y + r) ? kKeepDot : 0;
  return keep;
}

}  // namespace wandrix
