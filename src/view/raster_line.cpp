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

// Where a line's visible steps start and how they go: `count` pixels from
// offset `at`, the first with remainder `error` (in units of 1 / (2·n)).
struct Walk {
  std::uint32_t* base;
  std::ptrdiff_t at;
  long long count;
  long long error;
  long long m;
  long long n;
  std::ptrdiff_t major_step;
  std::ptrdiff_t minor_step;
};

// The Bresenham loop without a branch per pixel: the minor step is taken
// through a mask, as the minor steps of a walk's short lines at odd slopes
// defeat branch prediction.
template <typename Plot>
inline void walk_line(Walk w, Plot plot) {
  const long long two_m = 2 * w.m;
  const long long two_n = 2 * w.n;
  for (; w.count > 0; --w.count) {
    plot(w.base[w.at]);
    w.error += two_m;
    const long long mask = -static_cast<long long>(w.error >= two_n);
    w.error -= two_n & mask;
    w.at += w.major_step + (w.minor_step & mask);
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
inline void walk_line_fixed(Walk w, Plot plot) {
  // n < 2^19 here, so these products stay below 2^60.
  const long long denominator = 2 * w.n;
  const long long one = 1LL << kFractionBits;
  long long minor = w.error == w.n ? one / 2 : (w.error * one + denominator - 1) / denominator;
  const long long slope = w.m == 0 ? 0 : w.m == w.n ? one : (w.m * one + w.n - 1) / w.n;
  // Four pixels a round, each found from the round's start alone.
  const long long slope2 = 2 * slope;
  const long long slope3 = 3 * slope;
  const std::ptrdiff_t major2 = 2 * w.major_step;
  const std::ptrdiff_t major3 = 3 * w.major_step;
  std::uint32_t* const base = w.base;
  for (; w.count >= 4; w.count -= 4, minor += 4 * slope, w.at += 4 * w.major_step) {
    plot(base[w.at + (minor >> kFractionBits) * w.minor_step]);
    plot(base[w.at + w.major_step + ((minor + slope) >> kFractionBits) * w.minor_step]);
    plot(base[w.at + major2 + ((minor + slope2) >> kFractionBits) * w.minor_step]);
    plot(base[w.at + major3 + ((minor + slope3) >> kFractionBits) * w.minor_step]);
  }
  for (; w.count > 0; --w.count, minor += slope, w.at += w.major_step) {
    plot(base[w.at + (minor >> kFractionBits) * w.minor_step]);
  }
}

}  // namespace

namespace {

// A line's steps: n along the major axis from major_start, m along the
// minor axis from minor_start, each in the direction of its sign.
struct Steps {
  bool x_major = true;
  long long n = 0;
  long long m = 0;
  int major_sign = 1;
  int minor_sign = 1;
  long long major_start = 0;
  long long minor_start = 0;
};

Steps steps_of(long long x0, long long y0, long long x1, long long y1) {
  const long long dx = x1 - x0;
  const long long dy = y1 - y0;
  Steps s;
  s.x_major = std::llabs(dx) >= std::llabs(dy);
  s.n = s.x_major ? std::llabs(dx) : std::llabs(dy);
  s.m = s.x_major ? std::llabs(dy) : std::llabs(dx);
  s.major_sign = (s.x_major ? dx : dy) < 0 ? -1 : 1;
  s.minor_sign = (s.x_major ? dy : dx) < 0 ? -1 : 1;
  s.major_start = s.x_major ? x0 : y0;
  s.minor_start = s.x_major ? y0 : x0;
  return s;
}

// Narrows first..last to the steps that fall on a width × height surface;
// false when none does.
bool clip_steps(const Steps& s, long long width, long long height, long long& first,
                long long& last) {
  long long lo = 0;
  long long hi = 0;
  major_range(s.major_start, s.major_sign, s.x_major ? width : height, lo, hi);
  first = std::max(first, lo);
  last = std::min(last, hi);
  minor_range(s.minor_start, s.minor_sign, s.x_major ? height : width, s.n, s.m, lo, hi);
  first = std::max(first, lo);
  last = std::min(last, hi);
  return first <= last;
}

}  // namespace

void RasterCanvas::line_to(int x, int y) {
  const long long x0 = x_;
  const long long y0 = y_;
  x_ = x;
  y_ = y;
  const Steps s = steps_of(x0, y0, x, y);
  if (objects_.pen().none || s.n == 0) {
    return;
  }
  long long first = 0;
  long long last = s.n - 1;
  const bool inside = x0 >= 0 && y0 >= 0 && x0 < width_ && y0 < height_ && x >= 0 && y >= 0 &&
                      x < width_ && y < height_;
  if (!inside && !clip_steps(s, width_, height_, first, last)) {
    return;
  }
  // Step `first` lies at minor offset k with remainder `error` (in units of
  // 1 / (2·n)); an unclipped line starts at k = 0, error = n.
  long long error = s.n;
  long long k = 0;
  if (first > 0) {
    const Wide position = Wide{2} * first * s.m + s.n;
    error = static_cast<long long>(position % (Wide{2} * s.n));
    k = static_cast<long long>(position / (Wide{2} * s.n));
  }
  const long long major = s.major_start + s.major_sign * first;
  const long long minor = s.minor_start + s.minor_sign * k;
  const std::ptrdiff_t w = width_;
  Walk walk{pixels_.data(),
            static_cast<std::ptrdiff_t>(s.x_major ? minor * w + major : major * w + minor),
            last - first + 1,
            error,
            s.m,
            s.n,
            s.x_major ? s.major_sign : s.major_sign * w,
            s.x_major ? s.minor_sign * w : s.minor_sign};
  const auto invert = [](std::uint32_t& p) { p ^= 0x00FFFFFFu; };
  const auto paint = [pixel = pixel_of(objects_.pen().colour)](std::uint32_t& p) { p = pixel; };
  if (!fixed_point_exact(walk.count, walk.n)) {
    invert_ ? walk_line(walk, invert) : walk_line(walk, paint);
  } else {
    invert_ ? walk_line_fixed(walk, invert) : walk_line_fixed(walk, paint);
  }
}

}  // namespace wandrix
