// Plain value types shared by the core and its front ends. Platform types
// (Qt's QColor, QRect, ...) are converted to these at the edge.
#pragma once

#include <cstdint>

namespace wandrix {

// A colour as 0x00BBGGRR: red in the low byte, then green, then blue.
using Colour = std::uint32_t;

constexpr Colour make_colour(int red, int green, int blue) {
  return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) |
         (static_cast<Colour>(blue) << 16);
}
constexpr int red_of(Colour c) { return static_cast<int>(c & 0xFFu); }
constexpr int green_of(Colour c) { return static_cast<int>((c >> 8) & 0xFFu); }
constexpr int blue_of(Colour c) { return static_cast<int>((c >> 16) & 0xFFu); }

inline constexpr Colour kBlack = make_colour(0, 0, 0);
inline constexpr Colour kWhite = make_colour(255, 255, 255);

// Client coordinates: pixels, origin top-left, y downward.
struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle in client coordinates; right and bottom are exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  [[nodiscard]] int width() const { return right - left; }
  [[nodiscard]] int height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace wandrix
