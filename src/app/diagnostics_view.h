// DiagnosticsView: what every front end's diagnostics window does apart from
// showing pixels. It keeps the picture as last drawn, knows when the model
// or the size has left it behind, draws it again at the window's size, and
// decides when to: while the model changes faster than the picture draws (an
// animated walk of a million samples), at most a third of the time goes to
// drawing it, so the landscape keeps moving.
//
// A front end calls model_changed() from Frame::on_rendered; while its
// window is shown and no redraw is pending it asks redraw_delay() and draws
// (render, then shows surface()) when that time has passed. A window that is
// exposed or resized calls render() at once: it draws only when it must.
#pragma once

#include <chrono>
#include <functional>

#include "model/simulation.h"
#include "view/raster_canvas.h"

namespace wandrix {

class DiagnosticsView {
 public:
  using Clock = std::chrono::steady_clock;

  // The clock times the drawings; tests give their own.
  explicit DiagnosticsView(const Simulation& sim,
                           std::function<Clock::time_point()> clock = &Clock::now);

  // The model changed: the picture shown is out of date.
  void model_changed() { stale_ = true; }
  // Whether render(width, height) would draw: the model changed since the
  // last drawing, or the size is another.
  [[nodiscard]] bool stale(int width, int height) const;
  // Draws the picture at that size when it is stale; returns whether it drew.
  bool render(int width, int height);
  // How long from now the next drawing should wait: twice the last drawing's
  // time after its end (zero: draw now; at most kLongestDelay).
  [[nodiscard]] std::chrono::milliseconds redraw_delay(Clock::time_point now) const;
  static constexpr std::chrono::milliseconds kLongestDelay{2000};

  // The picture as last drawn, and the model it shows.
  [[nodiscard]] const RasterCanvas& surface() const { return surface_; }
  [[nodiscard]] const Simulation& simulation() const { return sim_; }

 private:
  const Simulation& sim_;
  std::function<Clock::time_point()> clock_;
  RasterCanvas surface_;
  bool stale_ = true;
  Clock::time_point last_end_{};
  Clock::duration last_duration_{};
};

}  // namespace wandrix
