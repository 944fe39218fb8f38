#include "app/diagnostics_view.h"

#include <algorithm>
#include <utility>

#include "view/diagnostics.h"

namespace wandrix {

DiagnosticsView::DiagnosticsView(const Simulation& sim, std::function<Clock::time_point()> clock)
    : sim_(sim), clock_(std::move(clock)) {}

bool DiagnosticsView::stale(int width, int height) const {
  return stale_ || surface_.width() != std::max(width, 0) ||
         surface_.height() != std::max(height, 0);
}

bool DiagnosticsView::render(int width, int height) {
  if (!stale(width, height)) {
    return false;
  }
  const Clock::time_point start = clock_();
  surface_.resize(width, height);
  draw_diagnostics(sim_, surface_, Rect{0, 0, surface_.width(), surface_.height()});
  stale_ = false;
  last_end_ = clock_();
  last_duration_ = last_end_ - start;
  return true;
}

std::chrono::milliseconds DiagnosticsView::redraw_delay(Clock::time_point now) const {
  using std::chrono::milliseconds;
  // Rounded up, so that a wait of a fraction of a millisecond is waited.
  const auto wait = std::chrono::ceil<milliseconds>(last_end_ + 2 * last_duration_ - now);
  return std::clamp(wait, milliseconds{0}, kLongestDelay);
}

}  // namespace wandrix
