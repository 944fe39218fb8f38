// The line of RasterCanvas: Bresenham steps along the major axis, clipped by
// working out which steps fall on the surface before drawing any, so that
// the loop itself writes through an offset without a test per pixel.
#include <algorithm>
#include <cstddef>
#include <cstdlib>

#include "view/raster_canvas.h"

namespace wandrix {
namespace {

using Wide = __int128;

constexpr long long kNever = 1LL << 62;

// Step i of a line with major length n and minor length m lies at minor
// offset k(i) = floor((2·i·m + n) / (2·n)). The first i with k(i) >= target.
long long first_step_reaching(long long target, long long n, long long m) {
  if (target <= 0) {
    return 0;
  }
  if (m == 0) {
    return kNever;
  }
  const Wide numerator = Wide{2} * n * target - n;
  const Wide denominator = Wide{2} * m;
  const Wide steps = (numerator + denominator - 1) / denominator;
  return steps > kNever ? kNever : static_cast<long long>(steps);
}

// Steps i for which start + sign·offset(i) lies in 0..size-1, where offset is
// i itself (major axis) or k(i) (minor axis).
void major_range(long long start, int sign, long long size, long long& lo, long long& hi) {
  lo = sign > 0 ? -start : start - (size - 1);
  hi = sign > 0 ? size - 1 - start : start;
}

void minor_range(long long start, int sign, long long size, long long n, long long m, long long& lo,
                 long long& hi) {
  const long long k_lo = sign > 0 ? -start : start - (size - 1);
  const long long k_hi = sign > 0 ? size - 1 - start : start;
  lo = first_step_reaching(k_lo, n, m);
  hi = k_hi < 0 ? -1 : first_step_reaching(k_hi + 1, n, m) - 1;
}

// The Bresenham loop without a branch per pixel: the minor step is taken
// through a mask, as the minor steps of a walk's short lines at odd slopes
// defeat branch prediction.
template <typename Plot>
inline void walk_line(std::uint32_t* base, std::ptrdiff_t at, long long count, long long error,
                      long long m, long long n, std::ptrdiff_t major_step,
                      std::ptrdiff_t minor_step, Plot plot) {
  const long long two_m = 2 * m;
  const long long two_n = 2 * n;
  for (; count > 0; --count) {
    plot(base[at]);
    error += two_m;
    const long long mask = -static_cast<long long>(error >= two_n);
    error -= two_n & mask;
    at += major_step + (minor_step & mask);
  }
}

// The same steps from a fixed-point minor coordinate with 40 fraction bits,
// so that the only value carried from pixel to pixel is one addition. The
// fixed point rounds up, by less than (count + 1) / 2^40 in all; the exact
// minor offset floor(position / (2·n)) is a multiple of 1 / (2·n) away from
// the next integer, so the two agree while (count + 1) · 2·n < 2^40.
constexpr int kFractionBits = 40;

bool fixed_point_exact(long long count, long long n) {
  return n < (1LL << 19) && (count + 1) * 2 * n < (1LL << kFractionBits);
}

template <typename Plot>
inline void walk_line_fixed(std::uint32_t* base, std::ptrdiff_t at, long long count,
                            long long error, long long m, long long n, std::ptrdiff_t major_step,
                            std::ptrdiff_t minor_step, Plot plot) {
  // n < 2^19 here, so these products stay below 2^60.
  const long long denominator = 2 * n;
  const long long one = 1LL << kFractionBits;
  long long minor = error == n ? one / 2 : (error * one + denominator - 1) / denominator;
  const long long slope = m == 0 ? 0 : m == n ? one : (m * one + n - 1) / n;
  // Four pixels a round, each found from the round's start alone.
  const long long slope2 = 2 * slope;
  const long long slope3 = 3 * slope;
  const std::ptrdiff_t major2 = 2 * major_step;
  const std::ptrdiff_t major3 = 3 * major_step;
  for (; count >= 4; count -= 4, minor += 4 * slope, at += 4 * major_step) {
    plot(base[at + (minor >> kFractionBits) * minor_step]);
    plot(base[at + major_step + ((minor + slope) >> kFractionBits) * minor_step]);
    plot(base[at + major2 + ((minor + slope2) >> kFractionBits) * minor_step]);
    plot(base[at + major3 + ((minor + slope3) >> kFractionBits) * minor_step]);
  }
  for (; count > 0; --count, minor += slope, at += major_step) {
    plot(base[at + (minor >> kFractionBits) * minor_step]);
  }
}

}  // namespace

void RasterCanvas::line_to(int x, int y) {
  const long long x0 = x_;
  const long long y0 = y_;
  x_ = x;
  y_ = y;
  if (pen_.none) {
    return;
  }
  const long long dx = x - x0;
  const long long dy = y - y0;
  const bool x_major = std::llabs(dx) >= std::llabs(dy);
  const long long n = x_major ? std::llabs(dx) : std::llabs(dy);
  const long long m = x_major ? std::llabs(dy) : std::llabs(dx);
  if (n == 0) {
    return;
  }
  const int major_sign = (x_major ? dx : dy) < 0 ? -1 : 1;
  const int minor_sign = (x_major ? dy : dx) < 0 ? -1 : 1;
  const long long major_start = x_major ? x0 : y0;
  const long long minor_start = x_major ? y0 : x0;

  long long first = 0;
  long long last = n - 1;
  const bool inside = x0 >= 0 && y0 >= 0 && x0 < width_ && y0 < height_ && x >= 0 && y >= 0 &&
                      x < width_ && y < height_;
  if (!inside) {
    const long long major_size = x_major ? width_ : height_;
    const long long minor_size = x_major ? height_ : width_;
    long long lo = 0;
    long long hi = 0;
    major_range(major_start, major_sign, major_size, lo, hi);
    first = std::max(first, lo);
    last = std::min(last, hi);
    minor_range(minor_start, minor_sign, minor_size, n, m, lo, hi);
    first = std::max(first, lo);
    last = std::min(last, hi);
    if (first > last) {
      return;
    }
  }

  // Step `first` lies at minor offset k with remainder `error` (in units of
  // 1 / (2·n)); an unclipped line starts at k = 0, error = n.
  long long error = n;
  long long k = 0;
  if (first > 0) {
    const Wide position = Wide{2} * first * m + n;
    error = static_cast<long long>(position % (Wide{2} * n));
    k = static_cast<long long>(position / (Wide{2} * n));
  }
  const long long major = major_start + major_sign * first;
  const long long minor = minor_start + minor_sign * k;
  const long long px = x_major ? major : minor;
  const long long py = x_major ? minor : major;
  const std::ptrdiff_t major_step = x_major ? major_sign : major_sign * std::ptrdiff_t{width_};
  const std::ptrdiff_t minor_step = x_major ? minor_sign * std::ptrdiff_t{width_} : minor_sign;
  const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(py * width_ + px);
  const long long count = last - first + 1;
  const auto invert = [](std::uint32_t& p) { p ^= 0x00FFFFFFu; };
  const auto paint = [pixel = pen_.pixel](std::uint32_t& p) { p = pixel; };
  std::uint32_t* const base = pixels_.data();
  if (!fixed_point_exact(count, n)) {
    if (invert_) {
      walk_line(base, at, count, error, m, n, major_step, minor_step, invert);
    } else {
      walk_line(base, at, count, error, m, n, major_step, minor_step, paint);
    }
  } else if (invert_) {
    walk_line_fixed(base, at, count, error, m, n, major_step, minor_step, invert);
  } else {
    walk_line_fixed(base, at, count, error, m, n, major_step, minor_step, paint);
  }
}

}  // namespace wandrix
