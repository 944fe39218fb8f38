#include "view/plot_axes.h"

#include <algorithm>
#include <cmath>

#include "model/fixed_text.h"
#include "model/portable_math.h"
#include "view/bitmap_font.h"

namespace wandrix {
namespace {

int to_int(double v) {
  // Far outside the box a pixel position need only stay outside it.
  return static_cast<int>(std::clamp(v, -1.0e6, 1.0e6));
}

double tick_step(double low, double high, int max_ticks) {
  const double raw = (high - low) / std::max(1, max_ticks - 1);
  const double power = math::pow(10.0, std::floor(math::log(raw) / math::log(10.0)));
  for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
    if (factor * power >= raw) {
      return factor * power;
    }
  }
  return 10.0 * power;
}

}  // namespace

int PlotFrame::px(double x) const {
  const double span = x_max - x_min;
  const double f = span > 0.0 ? (x - x_min) / span : 0.0;
  return box.left + to_int(std::floor(f * (box.width() - 1) + 0.5));
}

int PlotFrame::py(double y) const {
  const double span = y_max - y_min;
  const double f = span > 0.0 ? (y - y_min) / span : 0.0;
  return box.bottom - 1 - to_int(std::floor(f * (box.height() - 1) + 0.5));
}

double PlotFrame::x_at(int column) const {
  const int last = std::max(1, box.width() - 1);
  return x_min + (x_max - x_min) * column / last;
}

std::vector<double> nice_ticks(double low, double high, int max_ticks) {
  if (!(high > low) || !std::isfinite(high - low)) {
    return {low, high};
  }
  const double step = tick_step(low, high, std::max(2, max_ticks));
  std::vector<double> ticks;
  for (double k = std::ceil(low / step - 1e-9); k * step <= high + step * 1e-9; k += 1.0) {
    ticks.push_back(k * step == 0.0 ? 0.0 : k * step);  // no "-0"
  }
  return ticks;
}

std::string tick_label(double value, double step) {
  // As many decimals as the step has: 0.0025 needs four, not three.
  int decimals = 0;
  double scaled = std::fabs(step);
  while (decimals < 12 && scaled > 0.0 && std::fabs(scaled - std::round(scaled)) > 1e-6 * scaled) {
    scaled *= 10.0;
    ++decimals;
  }
  return format_fixed(value, decimals);
}

void draw_axes(Canvas& canvas, const PlotFrame& frame, Colour ink) {
  const Rect& b = frame.box;
  const ObjectHandle pen = canvas.create_pen(ink);
  const ObjectHandle old_pen = canvas.select(pen);
  const ObjectHandle old_brush = canvas.select(canvas.stock_object(StockObject::hollow_brush));
  canvas.rectangle(b.left - 1, b.top - 1, b.right + 1, b.bottom + 1);

  const auto x_ticks = nice_ticks(frame.x_min, frame.x_max, std::max(3, b.width() / 50));
  const double x_step = x_ticks.size() > 1 ? x_ticks[1] - x_ticks[0] : 0.0;
  for (const double t : x_ticks) {
    const int x = frame.px(t);
    canvas.move_to(x, b.bottom);
    canvas.line_to(x, b.bottom + 4);
    const std::string label = tick_label(t, x_step);
    draw_text(canvas, x - text_width(label) / 2, b.bottom + 5, label, ink);
  }
  const auto y_ticks = nice_ticks(frame.y_min, frame.y_max, std::max(3, b.height() / 30));
  const double y_step = y_ticks.size() > 1 ? y_ticks[1] - y_ticks[0] : 0.0;
  for (const double t : y_ticks) {
    const int y = frame.py(t);
    canvas.move_to(b.left - 5, y);
    canvas.line_to(b.left - 1, y);
    const std::string label = tick_label(t, y_step);
    draw_text(canvas, b.left - 7 - text_width(label), y - kGlyphHeight / 2, label, ink);
  }
  canvas.select(old_brush);
  canvas.select(old_pen);
  canvas.delete_object(pen);
}

}  // namespace wandrix
