// The right-button drag of the rotated view. While the button is held the
// window shows only a small wire-frame pyramid that turns with the mouse; on
// release the whole picture is drawn again through the new angles.
#pragma once

#include <vector>

#include "model/simulation.h"
#include "view/canvas.h"

namespace wandrix {

// The frame's colours: the background it is erased with, the edges in front
// (depth not negative) and those behind.
inline constexpr Colour kFrameEraseColour = kBlack;
inline constexpr Colour kFrameFrontColour = make_colour(0, 0, 255);
inline constexpr Colour kFrameBackColour = make_colour(127, 127, 127);

// The six pens and brushes of the wire frame, alive from the press to the
// release.
struct RotationPens {
  ObjectHandle erase_pen = 0;
  ObjectHandle erase_brush = 0;
  ObjectHandle front_pen = 0;
  ObjectHandle front_brush = 0;
  ObjectHandle back_pen = 0;
  ObjectHandle back_brush = 0;
};

// The 13 vertices of the pyramid for the current landscape: a square of side
// 2f around the rotation centre, f = min(width, height) / 8, in the base
// plane, and its four edges up to an apex 2f above the centre.
std::vector<FrameVertex> frame_vertices(const Simulation& sim);

// Creates the pens and brushes, blanks the client area and builds
// sim.frame_vertices on first use (later presses reuse them as rescaled).
RotationPens prepare_rotation_frame(Simulation& sim, Canvas& canvas);

// Turns the view by pi/64 per axis against the sign of the motion: up
// raises angle_x, down lowers it; left raises angle_y, right lowers it.
void step_view_angles(Simulation& sim, int dx, int dy);

// Steps the angles by the motion, then draws the frame at the new angles:
// in black when erasing, else blue where the rotated depth is not negative
// and grey where it is.
void draw_rotation_frame(Simulation& sim, Canvas& canvas, const RotationPens& pens, int dx, int dy,
                         bool erase);

// Deletes the six pens and brushes.
void release_rotation_frame(Canvas& canvas, RotationPens& pens);

// The drag as the window drives it. The caller keeps the window's mouse state
// (anchor, rotating) and passes the canvas of the window's surface.
//
// press: prepare the frame and draw it; captures the mouse, cross cursor.
RotationPens begin_rotation(Simulation& sim, Canvas& canvas);
// move by (dx, dy) since the last position: cross cursor, erase the frame,
// step the angles and draw it again.
void continue_rotation(Simulation& sim, Canvas& canvas, const RotationPens& pens, int dx, int dy);
// release: erase the frame, delete the objects, release the mouse, arrow
// cursor, and ask for a full repaint through the new angles.
void end_rotation(Simulation& sim, Canvas& canvas, RotationPens& pens);

}  // namespace wandrix
