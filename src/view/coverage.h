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

class Coverage {
 public:
  Coverage(int width, int height);

  // Whether some pixel of the step may still show; if so, its pixels are
  // covered from now on. A step entirely off the surface never shows.
  bool line(Point from, Point to);
  bool ellipse(int left, int top, int right, int bottom);
  // True when every pixel of the box (right and bottom excluded) that lies
  // on the surface is covered, judged by whole blocks of tiles.
  [[nodiscard]] bool region_covered(long long left, long long top, long long right,
                                    long long bottom) const;

 private:
  static constexpr int kTileShift = 4;
  static constexpr int kTile = 1 << kTileShift;
  // Blocks of 4 x 4 tiles, whose full tiles are counted, so that a long line
  // over covered ground is found hidden in a few looks.
  static constexpr int kBlockShift = kTileShift + 2;
  static constexpr int kBlock = 1 << kBlockShift;

  // True when every tile meeting the box (exclusive right and bottom, on the
  // surface) is covered in full.
  [[nodiscard]] bool hidden(long long left, long long top, long long right, long long bottom) const;
  void cover(long long x, long long y) {
    const auto at = static_cast<std::size_t>(y * width_ + x);
    if (pixels_[at] == 0) {
      pixels_[at] = 1;
      const std::size_t tile = tile_of(x, y);
      if (++counts_[tile] == capacity_[tile]) {
        full_[tile] = 1;
        const std::size_t block = block_of(x, y);
        if (++block_counts_[block] == block_capacity_[block]) {
          block_full_[block] = 1;
          ++full_blocks_;
        }
      }
    }
  }
  // True when every block meeting the line's box is covered in full.
  [[nodiscard]] bool blocks_full(Point from, Point to) const;
  // True when every tile the line's steps pass through is covered in full.
  [[nodiscard]] bool path_hidden(const LineSteps& steps) const;
  [[nodiscard]] std::size_t block_of(long long x, long long y) const {
    return static_cast<std::size_t>((y >> kBlockShift) * blocks_x_ + (x >> kBlockShift));
  }
  [[nodiscard]] bool tiles_full(long long left, long long top, long long right,
                                long long bottom) const;
  [[nodiscard]] std::size_t tile_of(long long x, long long y) const {
    return static_cast<std::size_t>((y >> kTileShift) * tiles_x_ + (x >> kTileShift));
  }

  long long width_;
  long long height_;
  long long tiles_x_;
  std::vector<std::uint8_t> pixels_;
  std::vector<std::uint16_t> counts_;
  std::vector<std::uint16_t> capacity_;
  std::vector<std::uint8_t> full_;
  long long blocks_x_;
  std::vector<std::uint8_t> block_counts_;
  std::vector<std::uint8_t> block_capacity_;
  std::vector<std::uint8_t> block_full_;
  std::size_t full_blocks_ = 0;
  // Spans [begin, end) of the rows of the last ellipse size met.
  long long rows_w_ = 0;
  long long rows_h_ = 0;
  std::vector<std::pair<long long, long long>> rows_;
};

}  // namespace wandrix
