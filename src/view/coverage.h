// Coverage: which pixels of an opaque surface the later drawing steps of a
// paint will paint again. Filled from the last step backward, it finds the
// steps none of whose pixels can show, so that a long walk draws only what
// remains visible and the picture stays identical pixel for pixel.
//
// The pixel rules are RasterCanvas's: a line covers step i (0 <= i < n) of
// its major axis at minor offset floor((2·i·m + n) / (2·n)), end excluded;
// an ellipse covers its rows as RasterCanvas::ellipse_row gives them.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "model/types.h"

namespace wandrix {

struct LineSteps;
struct LineWalk;

class Coverage {
 public:
  Coverage(int width, int height);

  // Nothing covered, as when new.
  void clear();

  // Whether some pixel of the step on the surface is not yet covered; its
  // pixels are covered from now on. A step entirely off the surface, or on
  // covered ground only, never shows.
  bool line(Point from, Point to);
  bool ellipse(int left, int top, int right, int bottom);
  // True when every pixel of the box (right and bottom excluded) that lies
  // on the surface is covered, judged by whole tiles.
  [[nodiscard]] bool region_covered(long long left, long long top, long long right,
                                    long long bottom) const;

 private:
  static constexpr int kTileShift = 4;
  static constexpr int kTile = 1 << kTileShift;
  // Steps of a line looked at together before its tiles are.
  static constexpr int kBlock = kTile * 4;

  // True when the pixel was not covered before.
  bool cover(long long x, long long y) {
    const auto at = static_cast<std::size_t>(y * width_ + x);
    if (pixels_[at] != 0) {
      return false;
    }
    pixels_[at] = 1;
    const std::size_t tile = tile_of(x, y);
    if (++counts_[tile] == capacity_[tile]) {
      const auto tx = static_cast<std::size_t>(x >> kTileShift);
      full_bits_[static_cast<std::size_t>(y >> kTileShift) * words_ + (tx >> 6)] |= std::uint64_t{1}
                                                                                    << (tx & 63);
      ++full_tiles_;
    }
    return true;
  }
  [[nodiscard]] bool steps_hidden(const LineSteps& s, long long major_a, long long major_b,
                                  long long k, long long k_end) const;
  bool cover_steps(const LineSteps& s, LineWalk& walk, long long end);
  bool cover_pixels(const LineSteps& s, LineWalk& walk, long long end);
  [[nodiscard]] std::size_t tile_of(long long x, long long y) const {
    return static_cast<std::size_t>((y >> kTileShift) * tiles_x_ + (x >> kTileShift));
  }

  long long width_;
  long long height_;
  long long tiles_x_;
  std::vector<std::uint8_t> pixels_;
  std::vector<std::uint16_t> counts_;
  std::vector<std::uint16_t> capacity_;
  // The full tiles, a bit each, `words_` words to a row of tiles, so
  // that a box of tiles is judged a row at a time.
  std::size_t words_;
  std::vector<std::uint64_t> full_bits_;
  std::size_t full_tiles_ = 0;
  // Spans [begin, end) of the rows of the last ellipse size met.
  long long rows_w_ = 0;
  long long rows_h_ = 0;
  std::vector<std::pair<long long, long long>> rows_;
};

}  // namespace wandrix
