// What paint needs to leave out the drawing steps of a long walk that a
// later step paints over on an opaque pixel surface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/chain.h"
#include "view/coverage.h"
#include "view/paint.h"
#include "view/projection.h"

namespace wandrix {

// Per sample from the first drawn one on: whether its line and its dot may
// show. A sample drawn without flags keeps both.
using KeepFlags = std::vector<std::uint8_t>;
inline constexpr std::uint8_t kKeepLine = 1;
inline constexpr std::uint8_t kKeepDot = 2;
inline constexpr std::uint8_t kKeepAll = kKeepLine | kKeepDot;

// A sample as drawn: its client point, lifted and turned in the rotated view.
inline Point sample_point(const Projection& view, const Chain& chain, std::size_t i) {
  Point p{clamp_pixel(chain.xs[i]), clamp_pixel(chain.ys[i])};
  if (view.active()) {
    const double h = i < chain.zs.size() ? static_cast<double>(chain.zs[i]) : 0.0;
    view.project(p.x, p.y, h);
  }
  return p;
}

// Walks the chain's drawing steps from the last back to sample `first`,
// adding them to the coverage, and returns which of them may show.
KeepFlags cover_chain(const Projection& view, const Chain& chain, std::size_t first,
                      const ChainStyle& style, Coverage& coverage);

// How far a cover of a chain has come, for a cover done in parts: the last
// sample not yet looked at, and where it is drawn.
struct CoverCursor {
  std::size_t i = 0;
  Point point;
};

// Prepares the cover of samples first .. count - 1 (count > first): keep
// sized for them, the cursor on the last.
CoverCursor begin_cover(const Projection& view, const Chain& chain, std::size_t first,
                        std::size_t count, KeepFlags& keep);
// Covers on from the cursor toward `first` until about `budget` samples
// have been looked at; true when the chain is done, its start dot included.
bool cover_chain_part(const Projection& view, const Chain& chain, std::size_t first,
                      const ChainStyle& style, Coverage& coverage, KeepFlags& keep, CoverCursor& at,
                      std::size_t budget);

// How far a drawing of a chain has come: the next sample to draw, the
// canvas's position, and the last dot drawn.
struct DrawCursor {
  bool started = false;
  std::size_t next = 0;
  Point position;
  Point last;
  bool last_in_colour = false;
};

// draw_chain leaving out what keep says is hidden (nullptr: nothing).
void draw_chain_kept(const Projection& view, const Chain& chain, Canvas& canvas, int first,
                     const ChainStyle& style, const KeepFlags* keep);
// The same in parts: samples first .. count - 1, from the cursor on, about
// `budget` of them; true when the chain is done.
bool draw_chain_part(const Projection& view, const Chain& chain, Canvas& canvas, std::size_t first,
                     std::size_t count, const ChainStyle& style, const KeepFlags* keep,
                     DrawCursor& at, std::size_t budget);

}  // namespace wandrix
