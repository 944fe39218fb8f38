#include "view/chain_cover.h"

#include <algorithm>
#include <array>
#include <limits>

namespace wandrix {
namespace {

// Samples looked at together: when the box around a run of them lies on
// covered ground, the whole run is hidden at the cost of one look.
constexpr std::size_t kRun = 8;

}  // namespace

CoverCursor begin_cover(const Projection& view, const Chain& chain, std::size_t first,
                        std::size_t count, KeepFlags& keep) {
  keep.assign(count - first, 0);
  return {count - 1, sample_point(view, chain, count - 1)};
}

bool cover_chain_part(const Projection& view, const Chain& chain, std::size_t first,
                      const ChainStyle& style, Coverage& coverage, KeepFlags& keep, CoverCursor& at,
                      std::size_t budget) {
  const bool white = first == 0 && !style.colour_first_dot;
  const int r = style.dot_radius;
  std::array<Point, kRun + 1> points{};
  points[0] = at.point;
  std::size_t i = at.i;  // the last sample not yet looked at
  std::size_t looked = 0;
  while (i > first && looked < budget) {
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
    looked += k;
  }
  at = {i, points[0]};
  if (i > first) {
    return false;
  }
  const Point& start = points[0];
  keep[0] = coverage.ellipse(start.x - r, start.y - r, start.x + r, start.y + r) ? kKeepDot : 0;
  return true;
}

KeepFlags cover_chain(const Projection& view, const Chain& chain, std::size_t first,
                      const ChainStyle& style, Coverage& coverage) {
  KeepFlags keep;
  CoverCursor at = begin_cover(view, chain, first, chain.xs.size(), keep);
  cover_chain_part(view, chain, first, style, coverage, keep, at,
                   std::numeric_limits<std::size_t>::max());
  return keep;
}

}  // namespace wandrix
