// The left-button drag that outlines a new hill. The outline is drawn by
// inverting the pixels under it, so drawing it again at the same place
// removes it. It is always a square whose side follows the mouse's x.
#pragma once

#include "model/host.h"
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

// The drag as the window drives it, on the canvas of the window's surface:
// the outline, the mouse capture and the cursor. Showing the surface and
// making the hill are the caller's. Mouse positions are signed client
// coordinates.
class BandDrag {
 public:
  [[nodiscard]] bool active() const { return active_; }
  [[nodiscard]] Point anchor() const { return anchor_; }
  [[nodiscard]] Point corner() const { return corner_; }

  // Left-button press: a band of no size at p; captures the mouse. A second
  // press without a release first removes the old outline.
  void press(Host& host, Canvas& canvas, Point p);
  // Mouse move while active: the outline follows the mouse's x.
  void move(Host& host, Canvas& canvas, Point p);
  // Left-button release: the outline goes and the square between anchor()
  // and corner() is final. False, and nothing happens, when not active.
  [[nodiscard]] bool release(Host& host, Canvas& canvas, Point p);
  // Esc while active: the outline goes and nothing is made.
  void cancel(Host& host, Canvas& canvas);

 private:
  void invert(Canvas& canvas) const;
  // The mouse captured with the cross cursor while the drag is on.
  void hold(Host& host, bool on);
  void finish(Host& host, Canvas& canvas);

  Point anchor_;
  Point corner_;
  bool active_ = false;
};

}  // namespace wandrix
