// WalkPlayer: a walk run from the front end's event loop in slices, so that
// the window never freezes: Start and Continue walking as fast as the
// machine walks, or animated at a chosen speed, with pause, single step and
// stop. Every decision is here; a front end only calls tick when asked to
// (Host::request_tick) and forwards the commands.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "model/limits.h"
#include "model/simulation.h"
#include "model/walk_trace.h"
#include "view/foray_overlay.h"

namespace wandrix {

inline constexpr int kFastestSpeed = static_cast<int>(kWalkSpeeds.size()) - 1;
inline constexpr int kDefaultSpeed = 2;  // 10 steps per second
// At this many steps per second or fewer each foray is shown as it happens.
inline constexpr int kForaySpeedLimit = 30;

// The speed as the user reads it: "1 step/s", "10 steps/s", "Fastest".
std::string speed_text(int speed);

class WalkPlayer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit WalkPlayer(Simulation& sim) : sim_(sim) {}

  // Begins Start walking (start) or Continue walking, animated or not;
  // false when a walk is already running.
  bool begin(bool start, bool animated, Clock::time_point now);
  // Walks what is due at now and says when the next tick is due, in
  // milliseconds, or nothing: the walk has ended, or it is paused.
  std::optional<int> tick(Clock::time_point now);
  // Ends the walk after the step in progress (every step is whole).
  void stop();
  // Walks the rest at once, for a front end without a timer.
  void finish();

  void toggle_pause(Clock::time_point now);
  // One step of every chain and the exchange attempt, shown with its
  // outcome; the walk is paused afterwards.
  void single_step(Clock::time_point now);
  void set_speed(int speed, Clock::time_point now);

  [[nodiscard]] bool running() const { return running_; }
  [[nodiscard]] bool animated() const { return running_ && animated_; }
  [[nodiscard]] bool paused() const { return running_ && paused_; }
  [[nodiscard]] int speed() const { return speed_; }
  // The latest step is drawn over the picture: its foray and outcome.
  [[nodiscard]] bool shows_step() const;
  [[nodiscard]] const StepTrace& trace() const { return trace_; }
  [[nodiscard]] StepPhase phase() const { return phase_; }
  // The picture should not yet show the samples of the step whose proposal
  // is drawn: its outcome would show before its time.
  [[nodiscard]] bool holds_back_samples() const {
    return shows_step() && phase_ == StepPhase::proposal;
  }
  // The walk has run for long enough to show its progress.
  [[nodiscard]] bool shows_progress(Clock::time_point now) const;
  // "Walking: 1234 of 10000 steps, 4936 samples, 1.2 s" and the like.
  [[nodiscard]] std::string progress_text(Clock::time_point now) const;

 private:
  [[nodiscard]] bool shows_forays() const {
    return speed_ != kFastestSpeed &&
           kWalkSpeeds[static_cast<std::size_t>(speed_)] <= kForaySpeedLimit;
  }
  std::optional<int> tick_plain();
  std::optional<int> tick_timed(Clock::time_point now);
  std::optional<int> tick_forays(Clock::time_point now);
  void take_traced_step();
  void end();
  [[nodiscard]] std::int64_t samples() const;

  Simulation& sim_;
  bool running_ = false;
  bool start_ = false;
  bool animated_ = false;
  bool paused_ = false;
  int speed_ = kDefaultSpeed;
  // The timed animation: steps taken since anchor_, at the speed's rate.
  Clock::time_point anchor_;
  std::int64_t steps_since_anchor_ = 0;
  // The animation of forays: when the next phase is due.
  Clock::time_point next_phase_;
  StepPhase phase_ = StepPhase::outcome;
  StepTrace trace_;
  bool traced_ = false;
  Clock::time_point began_;
  // Elapsed time while paused does not count.
  Clock::duration paused_for_{};
  Clock::time_point paused_at_;
};

}  // namespace wandrix
