#include "view/rubber_band.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace wandrix {

void invert_rectangle(Canvas& canvas, int left, int top, int right, int bottom) {
  canvas.set_invert(true);
  const ObjectHandle old_brush = canvas.select(canvas.stock_object(StockObject::hollow_brush));
  canvas.rectangle(std::min(left, right), std::min(top, bottom), std::max(left, right),
                   std::max(top, bottom));
  canvas.select(old_brush);
  canvas.set_invert(false);
}

Point band_corner(Point anchor, int mouse_x) {
  const std::int64_t y = static_cast<std::int64_t>(anchor.y) + mouse_x - anchor.x;
  return Point{mouse_x, static_cast<int>(std::clamp<std::int64_t>(y, INT32_MIN, INT32_MAX))};
}

void new_hill_from_rectangle(Simulation& sim, int x1, int y1, int x2, int y2) {
  Hill hill;
  hill.label = kNewHillLabel;
  // Integer halves, truncated toward zero, as the centre of a drawn square.
  const std::int64_t sum_x = static_cast<std::int64_t>(x1) + x2;
  const std::int64_t sum_y = static_cast<std::int64_t>(y1) + y2;
  hill.mean_x = static_cast<double>(sum_x / 2);  // NOLINT(bugprone-integer-division)
  hill.mean_y =
      static_cast<double>(sim.client_height() - sum_y / 2);  // NOLINT(bugprone-integer-division)
  hill.stddev_x = std::abs(static_cast<double>(x2) - x1) * 0.5;
  hill.stddev_y = std::abs(static_cast<double>(y2) - y1) * 0.5;
  hill.correlation = 0.0;
  hill.weight = 1.0;
  hill.relative_weight = 0.0;
  sim.hills.push_back(std::move(hill));
  const std::int32_t old_current = sim.current_hill;
  sim.current_hill = static_cast<std::int32_t>(sim.hills.size()) - 1;
  if (sim.host().run_hill_dialog() == DialogResult::ok) {
    sim.normalize_weights();
    sim.ignore_topography = false;
  } else {
    sim.hills.pop_back();
    sim.current_hill = old_current;
  }
  sim.full_redraw = true;
  sim.host().invalidate();
}

void BandDrag::invert(Canvas& canvas) const {
  invert_rectangle(canvas, anchor_.x, anchor_.y, corner_.x, corner_.y);
}

void BandDrag::hold(Host& host, bool on) {
  host.capture_mouse(on);
  host.set_cursor(on ? Cursor::cross : Cursor::arrow);
  active_ = on;
}

void BandDrag::press(Host& host, Canvas& canvas, Point p) {
  if (active_) {
    invert(canvas);
  }
  anchor_ = corner_ = p;
  invert(canvas);
  hold(host, true);
}

void BandDrag::move(Host& host, Canvas& canvas, Point p) {
  if (!active_) {
    return;
  }
  host.set_cursor(Cursor::cross);
  invert(canvas);
  corner_ = band_corner(anchor_, p.x);
  invert(canvas);
}

void BandDrag::finish(Host& host, Canvas& canvas) {
  invert(canvas);
  hold(host, false);
}

bool BandDrag::release(Host& host, Canvas& canvas, Point p) {
  if (!active_) {
    return false;
  }
  finish(host, canvas);
  corner_ = band_corner(anchor_, p.x);
  return true;
}

void BandDrag::cancel(Host& host, Canvas& canvas) {
  if (active_) {
    finish(host, canvas);
  }
}

}  // namespace wandrix
