// Frame: the main window's logic without the window. It turns menu commands,
// size changes, paints, keys and mouse drags into operations on the
// Simulation and reaches the platform only through Host, so that a front end
// has nothing to decide: it forwards its events here and shows the surface.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "model/host.h"
#include "model/simulation.h"
#include "model/types.h"
#include "view/coverage.h"
#include "view/density.h"
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
// checked when on.
std::array<MenuItemState, 12> menu_state(const Simulation& sim);

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

  // A new client size. Nothing changes while minimised or at a zero size,
  // so the landscape always keeps a positive size.
  void size(int width, int height, bool minimised);
  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }

  // The model changed: the next render draws the picture again.
  void request_paint() { paint_pending_ = true; }
  [[nodiscard]] bool paint_pending() const { return paint_pending_; }
  // Draws the picture into the surface if the model changed since the last
  // render; the front end then shows the surface as it is.
  void render();
  // The window's retained pixels, the size of the client area.
  [[nodiscard]] const RasterCanvas& surface() const { return surface_; }
  [[nodiscard]] RasterCanvas& surface() { return surface_; }

  // A typed character (Esc is 27).
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
  void move_rotation(Point p);
  void end_rotation();

  Simulation& sim_;
  Host& host_;
  MouseState mouse_;
  RotationPens rotation_pens_;
  RasterCanvas surface_;
  Coverage coverage_;      // of the surface, for paint
  DensityCounts density_;  // of the surface's density view, for paint
  int width_ = kDefaultWindowWidth;
  int height_ = kDefaultWindowHeight;
  bool paint_pending_ = true;
};

}  // namespace wandrix
