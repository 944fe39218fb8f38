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
  capacity_.resize(tiles);
  for (long long ty = 0; ty < tiles_y; ++ty) {
    for (long long tx = 0; tx < tiles_x_; ++tx) {
      const long long w = std::min<long long>(kTile, width_ - tx * kTile);
      const long long h = std::min<long long>(kTile, height_ - ty * kTile);
      capacity_[static_cast<std::size_t>(ty * tiles_x_ + tx)] = static_cast<std::uint16_t>(w * h);
    }
  }
  words_ = static_cast<std::size_t>((tiles_x_ + 63) / 64);
  full_bits_.assign(words_ * static_cast<std::size_t>(tiles_y), 0);
}

void Coverage::clear() {
  std::fill(pixels_.begin(), pixels_.end(), std::uint8_t{0});
  std::fill(counts_.begin(), counts_.end(), std::uint16_t{0});
  std::fill(full_bits_.begin(), full_bits_.end(), std::uint64_t{0});
  full_tiles_ = 0;
}

bool Coverage::region_covered(long long left, long long top, long long right,
                              long long bottom) const {
  left = std::max(left, 0LL);
  top = std::max(top, 0LL);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (left >= right || top >= bottom || full_tiles_ == counts_.size()) {
    return true;
  }
  const long long first = left >> kTileShift;
  const long long last = (right - 1) >> kTileShift;
  const auto first_word = static_cast<std::size_t>(first >> 6);
  const auto last_word = static_cast<std::size_t>(last >> 6);
  const std::uint64_t first_mask = ~std::uint64_t{0} << (first & 63);
  const std::uint64_t last_mask = ~std::uint64_t{0} >> (63 - (last & 63));
  for (long long ty = top >> kTileShift; ty <= (bottom - 1) >> kTileShift; ++ty) {
    const std::uint64_t* row = full_bits_.data() + static_cast<std::size_t>(ty) * words_;
    for (std::size_t w = first_word; w <= last_word; ++w) {
      std::uint64_t mask = w == first_word ? first_mask : ~std::uint64_t{0};
      mask &= w == last_word ? last_mask : ~std::uint64_t{0};
      if ((row[w] & mask) != mask) {
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
  double inverse_two_n;   // set once the line is walked

  [[nodiscard]] long long minor_offset(long long i) const {
    return static_cast<long long>((static_cast<__int128>(2) * i * m + n) /
                                  (static_cast<__int128>(2) * n));
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

// Where the walk along a line stands: minor offset k of step i and the
// remainder of 2·i·m + n over 2·n.
struct LineWalk {
  long long i, k, remainder;

  void next(const LineSteps& s) {
    ++i;
    remainder += 2 * s.m;
    if (remainder >= 2 * s.n) {
      remainder -= 2 * s.n;
      ++k;
    }
  }
  // The minor offset of step `end` (>= i): k plus the quotient of the
  // advanced remainder, found without a division; the quotient is at most
  // end - i + 1, so the double is exact enough to be corrected by one.
  [[nodiscard]] long long offset_at(const LineSteps& s, long long end) const {
    const long long two_n = 2 * s.n;
    const long long advanced = remainder + 2 * (end - i) * s.m;
    long long quotient = static_cast<long long>(static_cast<double>(advanced) * s.inverse_two_n);
    quotient -= quotient * two_n > advanced ? 1 : 0;
    quotient += (quotient + 1) * two_n <= advanced ? 1 : 0;
    return k + quotient;
  }
  // Moves on to step end + 1, whose minor offset k_end + ... is found from
  // the offset k_end of step end.
  void skip_past(const LineSteps& s, long long end, long long k_end) {
    remainder += 2 * (end - i) * s.m - (k_end - k) * 2 * s.n;
    k = k_end;
    i = end;
    next(s);
  }
};

// True when every tile that the steps from offset k to k_end at the major
// coordinates major_a .. major_b pass through is full.
bool Coverage::steps_hidden(const LineSteps& s, long long major_a, long long major_b, long long k,
                            long long k_end) const {
  const long long minor_a = s.minor_start + s.minor_sign * k;
  const long long minor_b = s.minor_start + s.minor_sign * k_end;
  const long long major_low = std::min(major_a, major_b);
  const long long major_high = std::max(major_a, major_b) + 1;
  const long long minor_low = std::min(minor_a, minor_b);
  const long long minor_high = std::max(minor_a, minor_b) + 1;
  return s.x_major ? region_covered(major_low, minor_low, major_high, minor_high)
                   : region_covered(minor_low, major_low, minor_high, major_high);
}

// Covers the steps up to `end`, a tile of the major axis at a time: where
// every tile the steps pass through is full they are stepped over at once,
// elsewhere each pixel is covered. True when some pixel was new.
bool Coverage::cover_steps(const LineSteps& s, LineWalk& walk, long long end) {
  bool shows = false;
  while (walk.i <= end) {
    const long long major = s.major_start + s.major_sign * walk.i;
    const long long in_tile =
        s.major_sign > 0 ? kTile - 1 - (major & (kTile - 1)) : (major & (kTile - 1));
    const long long tile_end = std::min(end, walk.i + in_tile);
    const long long k_end = walk.offset_at(s, tile_end);
    if (steps_hidden(s, major, major, walk.k, k_end)) {
      walk.skip_past(s, tile_end, k_end);
      continue;
    }
    shows |= cover_pixels(s, walk, tile_end);
  }
  return shows;
}

// Covers the pixels of the steps up to `end`, one by one. The walk is held in
// locals: the pixel stores could otherwise alias it.
bool Coverage::cover_pixels(const LineSteps& s, LineWalk& walk, long long end) {
  const long long minor_size = s.x_major ? height_ : width_;
  const long long two_m = 2 * s.m;
  const long long two_n = 2 * s.n;
  const bool x_major = s.x_major;
  long long major = s.major_start + s.major_sign * walk.i;
  long long minor = s.minor_start + s.minor_sign * walk.k;
  long long remainder = walk.remainder;
  long long k = walk.k;
  bool shows = false;
  for (long long i = walk.i; i <= end; ++i) {
    if (minor >= 0 && minor < minor_size) {
      shows |= x_major ? cover(major, minor) : cover(minor, major);
    }
    major += s.major_sign;
    remainder += two_m;
    if (remainder >= two_n) {
      remainder -= two_n;
      ++k;
      minor += s.minor_sign;
    }
  }
  walk = LineWalk{end + 1, k, remainder};
  return shows;
}

// A line is looked at a block of kBlock steps at a time, and a block whose
// box lies on full tiles is stepped over whole.
bool Coverage::line(Point from, Point to) {
  auto steps = line_steps(from, to, width_, height_);
  if (!steps || region_covered(std::min(from.x, to.x), std::min(from.y, to.y),
                               std::max<long long>(from.x, to.x) + 1,
                               std::max<long long>(from.y, to.y) + 1)) {
    return false;
  }
  LineSteps& s = *steps;
  s.inverse_two_n = 1.0 / static_cast<double>(2 * s.n);
  const __int128 position = static_cast<__int128>(2) * s.first * s.m + s.n;
  LineWalk walk{s.first, static_cast<long long>(position / (static_cast<__int128>(2) * s.n)),
                static_cast<long long>(position % (static_cast<__int128>(2) * s.n))};
  if (full_tiles_ == 0) {
    return cover_pixels(s, walk, s.last);  // fresh ground: nothing to look at
  }
  bool shows = false;
  while (walk.i <= s.last) {
    const long long major = s.major_start + s.major_sign * walk.i;
    const long long in_block =
        s.major_sign > 0 ? kBlock - 1 - (major & (kBlock - 1)) : (major & (kBlock - 1));
    const long long block_end = std::min(s.last, walk.i + in_block);
    const long long k_end = walk.offset_at(s, block_end);
    if (steps_hidden(s, major, s.major_start + s.major_sign * block_end, walk.k, k_end)) {
      walk.skip_past(s, block_end, k_end);
      continue;
    }
    shows |= cover_steps(s, walk, block_end);
  }
  return shows;
}

bool Coverage::ellipse(int left, int top, int right, int bottom) {
  const long long l = std::min(left, right);
  const long long t = std::min(top, bottom);
  const long long w = static_cast<long long>(std::max(left, right)) - l;
  const long long h = static_cast<long long>(std::max(top, bottom)) - t;
  if (w == 0 || h == 0 || region_covered(l, t, l + w, t + h)) {
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
  bool shows = false;
  for (long long j = std::max(0LL, -t); j < h && t + j < height_; ++j) {
    const auto [row_begin, row_end] = j < static_cast<long long>(rows_.size())
                                          ? rows_[static_cast<std::size_t>(j)]
                                          : std::pair<long long, long long>{0, 0};
    const long long begin = std::max(l + row_begin, 0LL);
    const long long end = std::min(l + row_end, width_);
    for (long long x = begin; x < end; ++x) {
      shows |= cover(x, t + j);
    }
  }
  return shows;
}

}  // namespace wandrix
