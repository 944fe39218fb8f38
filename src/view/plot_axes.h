// A plot's frame for pictures drawn through Canvas: the mapping from data
// to pixels, tick positions at round numbers, and the axes with their
// labels in the bitmap font.
#pragma once

#include <string>
#include <vector>

#include "model/types.h"
#include "view/canvas.h"

namespace wandrix {

// The data range shown in a pixel box; y grows upward on the screen.
struct PlotFrame {
  Rect box;  // the plotting area inside the axes
  double x_min = 0.0;
  double x_max = 1.0;
  double y_min = 0.0;
  double y_max = 1.0;

  // The pixel column of x and the pixel row of y, not clipped to the box.
  [[nodiscard]] int px(double x) const;
  [[nodiscard]] int py(double y) const;
  // The data value at the centre of pixel column c of the box.
  [[nodiscard]] double x_at(int column) const;
};

// Round values (1, 2 or 5 times a power of ten apart) from low to high, at
// most max_ticks of them (at least the two ends when the range is empty).
std::vector<double> nice_ticks(double low, double high, int max_ticks);

// A tick's label with as many decimals as the step between ticks needs,
// with a decimal point whatever the locale.
std::string tick_label(double value, double step);

// The frame, its ticks and their labels below and to the left of the box,
// in the ink colour.
void draw_axes(Canvas& canvas, const PlotFrame& frame, Colour ink);

// Room for the tick labels around a box: to its left and below it.
inline constexpr int kAxisLabelWidth = 40;
inline constexpr int kAxisLabelHeight = 12;

}  // namespace wandrix
