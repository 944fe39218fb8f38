#include "app/walk_player.h"

#include <algorithm>
#include <limits>

#include "model/fixed_text.h"

namespace wandrix {

namespace {

using Clock = WalkPlayer::Clock;
using Seconds = std::chrono::duration<double>;

// A plain walk's slice: long enough that the clock and the event loop cost
// little, short enough that the window answers at once.
constexpr auto kPlainSlice = std::chrono::milliseconds(25);
// As fast as the machine draws: a slice, then a picture.
constexpr auto kFastestSlice = std::chrono::milliseconds(12);
// Pictures of a timed animation come at most this often.
constexpr int kFrameMilliseconds = 16;
// Work that lasts longer than this shows its progress.
constexpr auto kProgressDelay = std::chrono::milliseconds(300);

int milliseconds_until(Clock::time_point when, Clock::time_point now) {
  if (when <= now) {
    return 0;
  }
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(when - now).count();
  return static_cast<int>(std::min<std::int64_t>(ms, std::numeric_limits<int>::max()));
}

}  // namespace

std::string speed_text(int speed) {
  if (speed < 0 || speed >= kFastestSpeed) {
    return "Fastest";
  }
  const int rate = kWalkSpeeds[static_cast<std::size_t>(speed)];
  return std::to_string(rate) + (rate == 1 ? " step/s" : " steps/s");
}

bool WalkPlayer::begin(bool start, bool animated, Clock::time_point now) {
  // Continue walking before any walk is the same as Start walking.
  if (running_ || !sim_.begin_walk(start || !sim_.walk_started)) {
    return false;
  }
  running_ = true;
  start_ = start;
  animated_ = animated;
  paused_ = false;
  traced_ = false;
  phase_ = StepPhase::outcome;
  began_ = now;
  paused_for_ = {};
  anchor_ = now;
  steps_since_anchor_ = 0;
  next_phase_ = now;
  return true;
}

std::optional<int> WalkPlayer::tick(Clock::time_point now) {
  if (!running_ || paused_) {
    return std::nullopt;
  }
  if (!animated_) {
    return tick_plain();
  }
  if (speed_ == kFastestSpeed) {
    sim_.advance_walk_for(kFastestSlice);
    if (sim_.walk_complete()) {
      end();
      return std::nullopt;
    }
    return 0;
  }
  return shows_forays() ? tick_forays(now) : tick_timed(now);
}

std::optional<int> WalkPlayer::tick_plain() {
  sim_.advance_walk_for(kPlainSlice);
  if (sim_.walk_complete()) {
    end();
    return std::nullopt;
  }
  return 0;
}

std::optional<int> WalkPlayer::tick_timed(Clock::time_point now) {
  const double rate = kWalkSpeeds[static_cast<std::size_t>(speed_)];
  // Step k is due k / rate after the anchor, the first at once.
  std::int64_t due =
      static_cast<std::int64_t>(Seconds(now - anchor_).count() * rate) + 1 - steps_since_anchor_;
  if (due > static_cast<std::int64_t>(rate / 4.0) + 1) {
    // Far behind (a modal dialog, a slow picture): the walk goes on from
    // now instead of rushing to catch up.
    anchor_ = now;
    steps_since_anchor_ = 0;
    due = 1;
  }
  if (due > 0) {
    steps_since_anchor_ += sim_.advance_walk(due);
  }
  if (sim_.walk_complete()) {
    end();
    return std::nullopt;
  }
  const auto next = anchor_ + std::chrono::duration_cast<Clock::duration>(
                                  Seconds(static_cast<double>(steps_since_anchor_) / rate));
  return std::max(kFrameMilliseconds, milliseconds_until(next, now));
}

std::optional<int> WalkPlayer::tick_forays(Clock::time_point now) {
  if (now < next_phase_) {
    return milliseconds_until(next_phase_, now);
  }
  if (traced_ && phase_ == StepPhase::proposal) {
    phase_ = StepPhase::outcome;
  } else {
    if (sim_.walk_complete()) {
      end();
      return std::nullopt;
    }
    take_traced_step();
    phase_ = StepPhase::proposal;
  }
  // Half of a step's time for its proposal, half for its outcome.
  const auto half = std::chrono::duration_cast<Clock::duration>(
      Seconds(0.5 / kWalkSpeeds[static_cast<std::size_t>(speed_)]));
  next_phase_ = now - next_phase_ > half ? now + half : next_phase_ + half;
  return milliseconds_until(next_phase_, now);
}

void WalkPlayer::take_traced_step() { traced_ = sim_.advance_walk(1, &trace_) == 1; }

void WalkPlayer::single_step(Clock::time_point now) {
  if (!running_) {
    return;
  }
  if (!paused_) {
    toggle_pause(now);
  }
  animated_ = true;
  if (sim_.walk_complete()) {
    end();
    return;
  }
  take_traced_step();
  phase_ = StepPhase::outcome;
}

void WalkPlayer::toggle_pause(Clock::time_point now) {
  if (!running_) {
    return;
  }
  if (paused_) {
    paused_for_ += now - paused_at_;
    anchor_ = now;
    steps_since_anchor_ = 0;
    next_phase_ = now;
  } else {
    paused_at_ = now;
  }
  paused_ = !paused_;
}

void WalkPlayer::set_speed(int speed, Clock::time_point now) {
  speed_ = std::clamp(speed, 0, kFastestSpeed);
  anchor_ = now;
  steps_since_anchor_ = 0;
  next_phase_ = now;
}

void WalkPlayer::stop() {
  if (running_) {
    end();
  }
}

void WalkPlayer::finish() {
  while (running_ && !sim_.walk_complete()) {
    sim_.advance_walk(std::numeric_limits<std::int64_t>::max());
  }
  stop();
}

void WalkPlayer::end() {
  running_ = false;
  traced_ = false;
  paused_ = false;
  sim_.end_walk();
  // An animation leaves the ordinary picture of the samples; a plain
  // Continue walking adds only its own.
  sim_.full_redraw = animated_ || start_;
}

bool WalkPlayer::shows_step() const { return animated() && traced_ && (shows_forays() || paused_); }

bool WalkPlayer::shows_progress(Clock::time_point now) const {
  return running_ && (animated_ || now - began_ >= kProgressDelay);
}

std::int64_t WalkPlayer::samples() const {
  std::int64_t n = 0;
  for (int p = 0; p < sim_.nchains; ++p) {
    n += static_cast<std::int64_t>(sim_.chains[static_cast<std::size_t>(p)].sample_count());
  }
  return n;
}

std::string WalkPlayer::progress_text(Clock::time_point now) const {
  if (!running_) {
    return {};
  }
  const Clock::duration elapsed = (paused_ ? paused_at_ : now) - began_ - paused_for_;
  std::string text = "Walking";
  if (paused_) {
    text = "Paused";
  } else if (animated_) {
    text = speed_ == kFastestSpeed ? "Animating as fast as it draws"
                                   : "Animating at " + speed_text(speed_);
  }
  text += ": step " + std::to_string(sim_.steps_done - sim_.run_first_step) + " of " +
          std::to_string(sim_.walk_target() - sim_.run_first_step) + ", " +
          std::to_string(samples()) + " samples, " + format_fixed(Seconds(elapsed).count(), 1) +
          " s";
  return text;
}

}  // namespace wandrix
