// Shared by the RasterCanvas tests: pictures as text art and the rules
// read literally, pixel by pixel.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "view/raster_canvas.h"

namespace wandrix::testing {

inline constexpr Colour kRed = make_colour(255, 0, 0);
inline constexpr Colour kGreen = make_colour(0, 255, 0);
inline constexpr std::uint32_t kBlackPixel = 0xFF000000u;

// The surface as text: '.' black, '#' red, 'o' green, 'w' white, '?' other.
inline std::string art(const RasterCanvas& c) {
  std::string text;
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      const std::uint32_t p = c.pixel(x, y);
      text += p == kBlackPixel                      ? '.'
              : p == RasterCanvas::pixel_of(kRed)   ? '#'
              : p == RasterCanvas::pixel_of(kGreen) ? 'o'
              : p == 0xFFFFFFFFu                    ? 'w'
                                                    : '?';
    }
    text += '\n';
  }
  return text;
}

// Selects a red pen and a green brush.
inline void red_on_green(RasterCanvas& c) {
  c.select(c.create_pen(kRed));
  c.select(c.create_brush(kGreen));
}

using Pixels = std::set<std::pair<int, int>>;

inline Pixels painted(const RasterCanvas& c) {
  Pixels set;
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      if (c.pixel(x, y) != kBlackPixel) {
        set.insert({x, y});
      }
    }
  }
  return set;
}

// The line rule read literally, one step at a time, clipped by testing.
inline Pixels reference_line(long long x0, long long y0, long long x1, long long y1, int w, int h) {
  Pixels set;
  const long long dx = x1 - x0;
  const long long dy = y1 - y0;
  const bool x_major = std::llabs(dx) >= std::llabs(dy);
  const long long n = x_major ? std::llabs(dx) : std::llabs(dy);
  const long long m = x_major ? std::llabs(dy) : std::llabs(dx);
  for (long long i = 0; i < n; ++i) {
    const long long k = (2 * i * m + n) / (2 * n);
    const long long x = x0 + (x_major ? (dx < 0 ? -i : i) : (dx < 0 ? -k : k));
    const long long y = y0 + (x_major ? (dy < 0 ? -k : k) : (dy < 0 ? -i : i));
    if (x >= 0 && y >= 0 && x < w && y < h) {
      set.insert({static_cast<int>(x), static_cast<int>(y)});
    }
  }
  return set;
}

// The ellipse rule read literally: membership of each pixel centre.
inline bool in_ellipse(long long i, long long j, long long w, long long h) {
  if (i < 0 || j < 0 || i >= w || j >= h) {
    return false;
  }
  const long long dx = 2 * i + 1 - w;
  const long long dy = 2 * j + 1 - h;
  return dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
}

// Every pixel a different colour, so a missed or doubled inversion shows.
inline void pattern(RasterCanvas& c) {
  for (int i = 0; i < c.width() * c.height(); ++i) {
    c.pixels()[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
  }
}

inline int changed_pixels(const RasterCanvas& a, const RasterCanvas& b) {
  int n = 0;
  for (int i = 0; i < a.width() * a.height(); ++i) {
    if (a.pixels()[i] != b.pixels()[i]) {
      EXPECT_EQ(a.pixels()[i] ^ b.pixels()[i], 0x00FFFFFFu);
      ++n;
    }
  }
  return n;
}

}  // namespace wandrix::testing
