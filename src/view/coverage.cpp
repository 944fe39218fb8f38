#include "view/coverage.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "view/raster_canvas.h"

namespace wandrix {

Coverage::Coverage(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      tiles_x_((width_ + kTile - 1) / kTile),
      pixels_(static_cast<std::size_t>(width_ * height_), 0) {
  const long long tiles_y = (height_ + kTile - 1) / kTile;
  const auto tiles = static_cast<std::size_t>(tiles_x_ * tiles_y);
  counts_.assign(tiles, 0);
  full_.assign(tiles, 0);
  capacity_.resize(tiles);
  for (long long ty = 0; ty < tiles_y; ++ty) {
    for (long long tx = 0; tx < tiles_x_; ++tx) {
      const long long w = std::min<long long>(kTile, width_ - tx * kTile);
      const long long h = std::min<long long>(kTile, height_ - ty * kTile);
      capacity_[static_cast<std::size_t>(ty * tiles_x_ + tx)] = static_cast<std::uint16_t>(w * h);
    }
  }
  blocks_x_ = (width_ + kBlock - 1) / kBlock;
  const long long blocks_y = (height_ + kBlock - 1) / kBlock;
  const auto blocks = static_cast<std::size_t>(blocks_x_ * blocks_y);
  block_counts_.assign(blocks, 0);
  block_full_.assign(blocks, 0);
  block_capacity_.assign(blocks, 0);
  for (long long ty = 0; ty < tiles_y; ++ty) {
    for (long long tx = 0; tx < tiles_x_; ++tx) {
      ++block_capacity_[static_cast<std::size_t>((ty >> 2) * blocks_x_ + (tx >> 2))];
    }
  }
}

bool Coverage::tiles_full(long long left, long long top, long long right, long long bottom) const {
  for (long long ty = top >> kTileShift; ty <= (bottom - 1) >> kTileShift; ++ty) {
    for (long long tx = left >> kTileShift; tx <= (right - 1) >> kTileShift; ++tx) {
      if (full_[static_cast<std::size_t>(ty * tiles_x_ + tx)] == 0) {
        return false;
      }
    }
  }
  return true;
}

bool Coverage::blocks_full(Point from, Point to) const {
  if (full_blocks_ == block_full_.size()) {
    return true;
  }
  const long long left = std::max<long long>(std::min(from.x, to.x), 0);
  const long long top = std::max<long long>(std::min(from.y, to.y), 0);
  const long long right = std::min<long long>(std::max(from.x, to.x), width_ - 1);
  const long long bottom = std::min<long long>(std::max(from.y, to.y), height_ - 1);
  if (left > right || top > bottom) {
    return false;  // left to the exact walk
  }
  return region_covered(left, top, right + 1, bottom + 1);
}

bool Coverage::region_covered(long long left, long long top, long long right,
                              long long bottom) const {
  if (full_blocks_ == block_full_.size()) {
    return true;
  }
  left = std::max(left, 0LL);
  top = std::max(top, 0LL);
  right = std::min(right, width_) - 1;
  bottom = std::min(bottom, height_) - 1;
  if (left > right || top > bottom) {
    return true;
  }
  for (long long by = top >> kBlockShift; by <= bottom >> kBlockShift; ++by) {
    for (long long bx = left >> kBlockShift; bx <= right >> kBlockShift; ++bx) {
      if (block_full_[static_cast<std::size_t>(by * blocks_x_ + bx)] == 0) {
        return false;
      }
    }
  }
  return true;
}

bool Coverage::hidden(long long left, long long top, long long right, long long bottom) const {
  left = std::max(left, 0LL);
  top = std::max(top, 0LL);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (left >= right || top >= bottom) {
    return true;
  }
  if (full_blocks_ == block_full_.size()) {
    return true;
  }
  for (long long by = top >> kBlockShift; by <= (bottom - 1) >> kBlockShift; ++by) {
    for (long long bx = left >> kBlockShift; bx <= (right - 1) >> kBlockShift; ++bx) {
      if (block_full_[static_cast<std::size_t>(by * blocks_x_ + bx)] != 0) {
        continue;
      }
      // The part of the box in this block, tile by tile.
      const long long l = std::max(left, bx << kBlockShift);
      const long long t = std::max(top, by << kBlockShift);
      const long long r = std::min(right, (bx + 1) << kBlockShift);
      const long long b = std::min(bottom, (by + 1) << kBlockShift);
      if (!tiles_full(l, t, r, b)) {
        return false;
      }
    }
  }
  return true;
}

// A line's steps as RasterCanvas takes them: step i lies at major offset i and
// minor offset floor((2·i·m + n) / (2·n)) from the start, toward the end.
struct LineSteps {
  bool x_major;
  long long n, m;
  long long major_start, minor_start, major_sign, minor_sign;
  long long first, last;  // the steps whose major coordinate is on the surface

  [[nodiscard]] long long minor_offset(long long i) const {
    return static_cast<long long>((static_cast<__int128>(2) * i * m + n) / (2 * n));
  }
};

// Nothing when the line has no length or no step on the surface.
static std::optional<LineSteps> line_steps(Point from, Point to, long long width,
                                           long long height) {
  const long long dx = static_cast<long long>(to.x) - from.x;
  const long long dy = static_cast<long long>(to.y) - from.y;
  LineSteps s{};
  s.x_major = std::llabs(dx) >= std::llabs(dy);
  s.n = s.x_major ? std::llabs(dx) : std::llabs(dy);
  s.m = s.x_major ? std::llabs(dy) : std::llabs(dx);
  if (s.n == 0) {
    return std::nullopt;
  }
  s.major_sign = (s.x_major ? dx : dy) < 0 ? -1 : 1;
  s.minor_sign = (s.x_major ? dy : dx) < 0 ? -1 : 1;
  s.major_start = s.x_major ? from.x : from.y;
  s.minor_start = s.x_major ? from.y : from.x;
  const long long major_size = s.x_major ? width : height;
  s.first = std::max(s.major_sign > 0 ? -s.major_start : s.major_start - (major_size - 1), 0LL);
  s.last = std::min(s.major_sign > 0 ? major_size - 1 - s.major_start : s.major_start, s.n - 1);
  if (s.first > s.last) {
    return std::nullopt;
  }
  return s;
}

bool Coverage::path_hidden(const LineSteps& s) const {
  const long long minor_size = s.x_major ? height_ : width_;
  const long long two_n = 2 * s.n;
  const double reciprocal = 1.0 / static_cast<double>(two_n);
  // Minor offset k of step i and the remainder of 2·i·m + n over 2·n.
  long long k = 0;
  long long remainder = s.n;
  if (s.first > 0) {
    const __int128 position = static_cast<__int128>(2) * s.first * s.m + s.n;
    k = static_cast<long long>(position / two_n);
    remainder = static_cast<long long>(position % two_n);
  }
  long long i = s.first;
  while (i <= s.last) {
    // The steps whose major coordinate stays in one tile: i .. end.
    const long long major = s.major_start + s.major_sign * i;
    const long long in_tile =
        s.major_sign > 0 ? kTile - 1 - (major & (kTile - 1)) : (major & (kTile - 1));
    const long long end = std::min(s.last, i + in_tile);
    const long long advanced = remainder + 2 * (end - i) * s.m;
    // advanced / two_n without a division: the quotient is at most 16.
    long long quotient = static_cast<long long>(static_cast<double>(advanced) * reciprocal);
    quotient -= quotient * two_n > advanced ? 1 : 0;
    quotient += (quotient + 1) * two_n <= advanced ? 1 : 0;
    const long long k_end = k + quotient;
    const long long a = s.minor_start + s.minor_sign * k;
    const long long b = s.minor_start + s.minor_sign * k_end;
    const long long low = std::max(std::min(a, b), 0LL);
    const long long high = std::min(std::max(a, b), minor_size - 1);
    for (long long minor = low >> kTileShift << kTileShift; minor <= high; minor += kTile) {
      const long long x = s.x_major ? major : minor;
      const long long y = s.x_major ? minor : major;
      if (full_[tile_of(x, y)] == 0) {
        return false;
      }
    }
    remainder = advanced - quotient * two_n + 2 * s.m;
    k = k_end;
    if (remainder >= two_n) {
      remainder -= two_n;
      ++k;
    }
    i = end + 1;
  }
  return true;
}

bool Coverage::line(Point from, Point to) {
  const auto steps = line_steps(from, to, width_, height_);
  if (!steps || blocks_full(from, to) || path_hidden(*steps)) {
    return false;
  }
  const LineSteps& s = *steps;
  const long long minor_size = s.x_major ? height_ : width_;
  const __int128 position = static_cast<__int128>(2) * s.first * s.m + s.n;
  long long k = static_cast<long long>(position / (2 * s.n));
  long long remainder = static_cast<long long>(position % (2 * s.n));
  for (long long i = s.first; i <= s.last; ++i) {
    const long long major = s.major_start + s.major_sign * i;
    const long long minor = s.minor_start + s.minor_sign * k;
    if (minor >= 0 && minor < minor_size) {
      if (s.x_major) {
        cover(major, minor);
      } else {
        cover(minor, major);
      }
    }
    remainder += 2 * s.m;
    if (remainder >= 2 * s.n) {
      remainder -= 2 * s.n;
      ++k;
    }
  }
  return true;
}

bool Coverage::ellipse(int left, int top, int right, int bottom) {
  const long long l = std::min(left, right);
  const long long t = std::min(top, bottom);
  const long long w = static_cast<long long>(std::max(left, right)) - l;
  const long long h = static_cast<long long>(std::max(top, bottom)) - t;
  if (w == 0 || h == 0 || hidden(l, t, l + w, t + h)) {
    return false;
  }
  if (w != rows_w_ || h != rows_h_) {
    rows_.clear();
    for (long long j = 0; j < h && j < height_ + 1; ++j) {
      const RasterCanvas::EllipseRow row = RasterCanvas::ellipse_row(w, h, j);
      rows_.emplace_back(row.begin, row.end);
    }
    rows_w_ = w;
    rows_h_ = h;
  }
  for (long long j = std::max(0LL, -t); j < h && t + j < height_; ++j) {
    const auto [row_begin, row_end] = j < static_cast<long long>(rows_.size())
                                          ? rows_[static_cast<std::size_t>(j)]
                                          : std::pair<long long, long long>{0, 0};
    const long long begin = std::max(l + row_begin, 0LL);
    const long long end = std::min(l + row_end, width_);
    for (long long x = begin; x < end; ++x) {
      cover(x, t + j);
    }
  }
  return true;
}

}  // namespace wandrix
