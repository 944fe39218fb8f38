// Frame: the main window's logic without the window. It turns menu commands,
// size changes, paints, keys and mouse drags into operations on the
// Simulation and reaches the platform only through Host, so that a front end
// has nothing to decide: it forwards its events here and shows the surface.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/walk_player.h"
#include "lessons/lesson.h"
#include "model/host.h"
#include "model/simulation.h"
#include "model/types.h"
#include "view/coverage.h"
#include "view/density.h"
#include "view/painting.h"
#include "view/raster_canvas.h"
#include "view/rotation_frame.h"
#include "view/rubber_band.h"

namespace wandrix {

// What the front end does after a command.
enum class FrameResult { keep_running, quit };

// Check mark and grey state of one menu item; items the rules do not name are
// always enabled and unchecked.
struct MenuItemState {
  int id = 0;
  bool checked = false;
  bool enabled = true;
  friend bool operator==(const MenuItemState&, const MenuItemState&) = default;
};

// The menu rules: the Chains items checked by the chain count, the Show items
// checked by the shown chain and greyed above the chain count, Summarize
// greyed until a walk has taken a step, the density view and the wall rule
// checked when on. While a walk runs, the commands that
// would change the model are greyed (model_changing); the walk's own
// controls are enabled only while it runs, and the speed in use is checked.
std::vector<MenuItemState> menu_state(const Simulation& sim, const WalkPlayer* player = nullptr);

// The commands a running walk refuses: they would change the model under it.
bool model_changing(int id);

// "Steps walked: 1234 | Moves accepted: 1: 45.2%  2: 61.0% | Exchanges: 30.1%".
std::string rates_status_text(const Simulation& sim);

// The mouse drags in progress: a left-button rubber band or a right-button
// rotation. Positions are client pixels and may be negative while the mouse
// is captured outside the window.
struct MouseState {
  BandDrag band;
  Point rotation_point;  // where the last rotation step left the mouse
  bool rotating = false;
};

inline constexpr char kRotationNotAllowedText[] =
    "Check \"allow rotation\" in robot options dialog\n"
    "to enable rotation to different viewing angles";
inline constexpr char kRotationNotAllowedCaption[] = "Rotation not allowed";
inline constexpr int kEscape = 27;
inline constexpr char kCommandOutOfMemoryText[] =
    "There is not enough memory to finish this command.\n"
    "The session and its samples are kept.";

class Frame {
 public:
  Frame(Simulation& sim, Host& host);

  // Runs the command with this id; an unknown id is ignored.
  FrameResult command(int id);

  // Opens the session file named on the command line, as "Open..." would
  // after choosing it; the walks are cleared either way.
  void open_file(const std::string& path);

  // Opens the lesson: its session and settings, its speed for the
  // animation, its text beside the picture and, if it asks, the diagnostics
  // window. A lesson that cannot be applied is told in a message box and
  // changes nothing.
  void open_lesson(const Lesson& lesson);
  // The installed lesson of this name (wandrix --lesson, the page's
  // ?lesson=); false, after a message box, when there is none.
  bool open_lesson_named(const std::string& name);

  // A new client size. Nothing changes while minimised or at a zero size,
  // so the landscape always keeps a positive size.
  void size(int width, int height, bool minimised);
  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }

  // The model changed: the next render draws the picture again.
  void request_paint() { paint_pending_ = true; }
  [[nodiscard]] bool paint_pending() const { return paint_pending_; }
  // A picture of many samples is drawn a slice at a time, so that the window
  // goes on answering; true while one is in progress.
  [[nodiscard]] bool painting() const { return painting_.has_value(); }
  // Draws the picture into the surface if the model changed since the last
  // render; the front end then shows the surface as it is.
  void render();
  // Called after every render that drew the picture again: after every walk
  // (and every slice of one that is shown), every change of the samples or
  // the landscape. Windows that show the model otherwise (diagnostics)
  // follow it through this one hook.
  void on_rendered(std::function<void()> listener) { rendered_ = std::move(listener); }
  // The window's retained pixels, the size of the client area.
  [[nodiscard]] const RasterCanvas& surface() const { return surface_; }
  [[nodiscard]] RasterCanvas& surface() { return surface_; }

  // The timer the frame asked for (Host::request_tick) has run out.
  void tick();
  [[nodiscard]] const WalkPlayer& player() const { return player_; }
  [[nodiscard]] std::vector<MenuItemState> menu_state() const;
  // The walk's progress, for a status bar; empty when there is none to show.
  [[nodiscard]] std::string progress_text() const;
  [[nodiscard]] std::string rates_text() const { return rates_status_text(sim_); }

  // A typed character (Esc is 27: it cancels a drag, or stops a walk).
  void key_char(int code);
  void left_press(Point p);
  void left_release(Point p);
  void right_press(Point p);
  void right_release(Point p);
  void mouse_move(Point p);

  [[nodiscard]] const MouseState& mouse() const { return mouse_; }
  [[nodiscard]] Simulation& simulation() { return sim_; }

 private:
  // Runs the work; running out of memory in it is told in a message box.
  void guarded(const std::function<void()>& work);
  FrameResult run_command(int id);
  // What is saved is what is shown: after an Open the window asks for a
  // client area of the session's landscape size; what the screen allows
  // becomes the landscape's size by the ordinary resize rule.
  void fit_window_to_landscape();
  void redraw_full();
  void redraw_keep();
  void robot_options();
  // File > Lessons...: the installed lessons to choose from.
  void choose_lesson();
  void move_rotation(Point p);
  void end_rotation();
  // Start, Continue and Animate walking: false when a walk runs already.
  // The walk then runs from the event loop once a tick is scheduled.
  bool begin_walk(bool start, bool animated, WalkPlayer::Clock::time_point now);
  // Runs a walk command that steers the walk in progress.
  void steer_walk(int id);
  // Asks for the next tick, or walks to the end without a timer.
  void schedule_tick(std::optional<int> milliseconds);
  // An animation draws the picture into base_, then its step over a copy.
  void render_animation();
  // Paints on for a slice; asks for a tick while the picture is unfinished.
  void advance_painting();
  // Gives up the picture in progress (its samples or its surface are about to
  // change) and asks for it again.
  void abandon_painting();

  Simulation& sim_;
  Host& host_;
  MouseState mouse_;
  RotationPens rotation_pens_;
  RasterCanvas surface_;
  // The ordinary picture while an animation draws over it.
  RasterCanvas base_;
  Coverage coverage_;      // of the surface, for paint
  DensityCounts density_;  // of the density view, for paint and the animation's base
  WalkPlayer player_;
  std::optional<Painting> painting_;
  WalkPlayer::Clock::time_point painting_began_;
  int width_ = kDefaultWindowWidth;
  int height_ = kDefaultWindowHeight;
  bool paint_pending_ = true;
  std::function<void()> rendered_;
};

}  // namespace wandrix
