// The program's one application-state object: every setting, the hills, the
// four chains with their samples, the generator, the view state and the file
// names. Model operations act on it; the platform is reached through Host.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/chain.h"
#include "model/hill.h"
#include "model/host.h"
#include "model/landscape.h"
#include "model/random_generator.h"
#include "model/types.h"
#include "model/walk_trace.h"

namespace wandrix {

inline constexpr int kDefaultWindowWidth = 400;
inline constexpr int kDefaultWindowHeight = 400;
inline constexpr int kMaxChains = 4;

// One corner of the rotation wire frame.
struct FrameVertex {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  std::int32_t command = 1;  // 1 move, 2 line
  friend bool operator==(const FrameVertex&, const FrameVertex&) = default;
};

// Every setting and every piece of state, each with its default: a fresh
// value is the state at start-up, before the window reports its size.
struct SimulationState {
  double width = kDefaultWindowWidth;
  double height = kDefaultWindowHeight;
  std::int32_t start_x = 150;
  std::int32_t start_y = 150;
  double heat_step = 1.0;
  std::array<Chain, kMaxChains> chains{};
  bool walking = false;
  std::int32_t nchains = 1;
  std::int32_t shown_chain = 1;
  std::vector<Hill> hills;
  std::int32_t nsteps = 100;
  double step_stddev = 20.0;
  double step_mean = 20.0;
  bool show_trajectory = true;
  bool allow_rotation = false;
  bool ignore_topography = true;
  // A foray whose straight end lies beyond the walls is refused instead of
  // turned along them. A setting of the program, not of the session: no
  // session file holds it, and Open and Clear leave it as it is.
  bool reject_at_walls = false;
  // The picture shows the samples' density per pixel instead of dots and
  // lines. A way of looking, not part of the session.
  bool density_view = false;
  std::int32_t dot_radius = 2;
  std::int32_t rn_seed = 0;  // the generator's seed, copied by reset_defaults
  std::int32_t draw_from_step = 0;
  std::int32_t run_first_step = 0;
  std::int32_t steps_done = 0;
  std::int32_t current_hill = 0;
  bool walk_started = false;
  // Moves and exchanges accepted since Start walking or the last clear; not
  // part of a session file.
  WalkRates rates;
  std::vector<FrameVertex> frame_vertices;
  double angle_x = 0.0;
  double angle_y = 0.0;
  // The rotation centre; the view turns about height 0.
  std::int32_t centre_x = kDefaultWindowWidth / 2;
  std::int32_t centre_y = kDefaultWindowHeight / 2;
  double z_scale = 0.0;
  bool full_redraw = true;
  RandomGenerator rng;  // seeded from the clock
  std::string directory;
  std::string file_name;  // the file chooser's last choice, of any kind
  // The session's own data file: set only by Open and Save As, so that Save
  // never writes a session over an exported landscape or picture.
  std::string session_file;
};

class Simulation : public SimulationState {
 public:
  // Constructs the chains and the generator and sets every default.
  explicit Simulation(Host& host = null_host());
  Simulation(const Simulation&) = delete;
  Simulation& operator=(const Simulation&) = delete;
  Simulation(Simulation&&) = delete;
  Simulation& operator=(Simulation&&) = delete;
  ~Simulation() = default;

  [[nodiscard]] Host& host() const { return *host_; }
  void set_host(Host& host) { host_ = &host; }

  // --- operations ---
  // Every setting and piece of state back to its default, the hills and the
  // file names included; the generator is seeded from the clock again.
  void reset_defaults();
  void clear();
  void set_chain_count(int n);
  void set_shown_chain(int k);
  void toggle_rotation();
  void apply_rotation_change(bool old_value);
  // Ignored for a size that is not positive: the landscape keeps its size.
  void rescale(int new_width, int new_height);
  double z_scale_value();
  void new_seed();
  void normalize_weights();
  // The landscape as the chains see it, for the hills and chains as they are.
  [[nodiscard]] Landscape landscape() const;

  void walk(bool start);
  // The same walk in slices, for a front end that keeps its window
  // responsive: begin_walk, then advance_walk as often as it likes (each
  // step is whole), then end_walk, which may come before the walk is
  // complete: steps_done then counts the steps walked, and every chain holds
  // their samples. However the walk is sliced, its samples are those of
  // walk(start). begin_walk returns false, and does nothing, while a walk is
  // in progress.
  bool begin_walk(bool start);
  // Walks at most max_steps further steps; with a trace, each step is
  // recorded in it and the last one stays there. Returns the steps walked.
  std::int64_t advance_walk(std::int64_t max_steps, StepTrace* trace = nullptr);
  // Walks until the budget is spent or the walk is complete.
  std::int64_t advance_walk_for(std::chrono::steady_clock::duration budget);
  // True when the walk in progress has walked all its steps or ran out of
  // memory (and when no walk is in progress).
  [[nodiscard]] bool walk_complete() const;
  // steps_done when the walk in progress is complete.
  [[nodiscard]] std::int32_t walk_target() const;
  // The arrow cursor again, a repaint, and the message of a walk that ran out
  // of memory; nothing when no walk is in progress.
  void end_walk();
  // The model side of the menu commands that several front ends share.
  void start_walking();     // Start walking: walk(true), then a full redraw
  void continue_walking();  // Continue walking: only the new samples are drawn
  void clear_and_redraw();  // Clear: the walks go, and the window is drawn again in full
  // The Chains menu: n chains walk together from now on, and the walks are cleared.
  void change_chain_count(int n);
  // The Show menu: chain k alone, or all chains for 0, drawn again in full.
  void show_chain(int k);
  // Show > Density: between dots and lines and the density, drawn again in full.
  void toggle_density_view();
  // After the robot options have changed: applies a change of rotation, clears
  // the walks when the seed changed, and asks for a full redraw.
  void after_robot_options(bool old_allow_rotation, std::int32_t old_rn_seed);
  // Appends a hill the user has confirmed: it becomes the current hill, the
  // weights are normalised and the robot follows the topography from now on.
  void add_confirmed_hill(Hill hill);

  // trunc(height): the client y of landscape y = 0.
  [[nodiscard]] int client_height() const { return static_cast<int>(height); }

 private:
  // What the walk in progress keeps from one slice to the next.
  struct WalkRun {
    std::int32_t target;
    std::int32_t estimate_at;  // where the sample lists are reserved for the rest
    Landscape landscape;
    ForayLength length;
    bool out_of_memory = false;
  };

  // One step of the chain at position p, and one exchange attempt between
  // the chains at positions a and b (0-based); each returns whether it was
  // accepted.
  bool step_chain(int p, const Landscape& landscape, const ForayLength& length, ForayTrace* trace);
  bool try_swap(int a, int b, const Landscape& landscape);
  std::pair<int, int> exchange_pair();
  void count_step(int p, bool accepted);
  void count_exchange(bool made);
  void reserve_when_estimated();
  // Steps of the walk in progress up to steps_done == end.
  void run_steps(std::int32_t end);
  void run_traced_steps(std::int32_t end, StepTrace& trace);
  // Runs the work; running out of memory ends the walk in progress with the
  // samples recorded so far.
  void guard_memory(const std::function<void()>& work);

  Host* host_;
  std::optional<WalkRun> run_;
};

inline constexpr const char* kOutOfMemoryText =
    "The walk stopped early: there is not enough memory for more samples.\n"
    "The samples recorded so far are kept.";
inline constexpr const char* kOutOfMemoryCaption = "Out of memory";

}  // namespace wandrix
