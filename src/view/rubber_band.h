// The left-button drag that outlines a new hill. The outline is drawn by
// inverting the pixels under it, so drawing it again at the same place
// removes it. It is always a square whose side follows the mouse's x.
#pragma once

#include "model/simulation.h"
#include "view/canvas.h"

namespace wandrix {

// Inverts the pixels under the one-pixel outline of the rectangle between
// the two corners, in whichever order they come; inside nothing changes.
void invert_rectangle(Canvas& canvas, int left, int top, int right, int bottom);

// The corner of the square opposite the anchor for a mouse at x: the square
// extends downward when the mouse is right of the anchor and upward when it
// is left of it. The mouse's y plays no part.
Point band_corner(Point anchor, int mouse_x);

// Appends a hill centred on the rectangle with half its sides as spreads and
// runs the hill dialog on it. OK keeps it (weights renormalised, the robot
// follows the topography); Cancel removes it and restores current_hill.
// Either way the window is repainted in full.
void new_hill_from_rectangle(Simulation& sim, int x1, int y1, int x2, int y2);

inline constexpr const char* kNewHillLabel = "new hill";

// The drag as the window drives it. The caller keeps the window's mouse
// state and passes the canvas of the window's surface; mouse positions are
// signed client coordinates.
class BandDrag {
 public:
  [[nodiscard]] bool active() const { return active_; }
  [[nodiscard]] Point anchor() const { return anchor_; }
  [[nodiscard]] Point corner() const { return corner_; }

  // Left-button press: a band of no size at p; captures the mouse.
  void press(Simulation& sim, Canvas& canvas, Point p);
  // Mouse move while active: the outline follows the mouse's x.
  void move(Simulation& sim, Canvas& canvas, Point p);
  // Left-button release while active: the outline goes, a new hill is made
  // from the square (new_hill_from_rectangle). Ignored when not active.
  void release(Simulation& sim, Canvas& canvas, Point p);
  // Esc while active: the outline goes and nothing is made.
  void cancel(Simulation& sim, Canvas& canvas);

 private:
  void invert(Canvas& canvas) const;
  void finish(Simulation& sim, Canvas& canvas);

  Point anchor_;
  Point corner_;
  bool active_ = false;
};

}  // namespace wandrix
