#include "view/rotation_frame.h"

#include <algorithm>
#include <cmath>

#include "model/portable_math.h"
#include "view/paint.h"
#include "view/projection.h"

namespace wandrix {
namespace {

constexpr int kVertexDotRadius = 4;

// The vertex rotated as rotate_about_centre does, in double throughout.
struct Rotated {
  double x, y, z;
};

Rotated rotate_vertex(const Simulation& sim, const FrameVertex& v) {
  const double a = sim.angle_x;
  const double b = sim.angle_y;
  const double dx = v.x - sim.centre_x;
  const double dy = v.y - sim.centre_y;
  const double dz = v.z;
  const double t = math::sin(a) * dy + math::cos(a) * dz;
  return Rotated{math::cos(b) * dx - math::sin(b) * t + sim.centre_x,
                 math::cos(a) * dy - math::sin(a) * dz + sim.centre_y,
                 math::cos(b) * t + math::sin(b) * dx};
}

}  // namespace

std::vector<FrameVertex> frame_vertices(const Simulation& sim) {
  const int f = std::min(to_pixel(sim.width), to_pixel(sim.height)) / 8;
  const double cx = sim.centre_x;
  const double cy = sim.centre_y;
  const double left = cx - f;
  const double right = cx + f;
  const double top = cy - f;
  const double bottom = cy + f;
  const double apex = 2.0 * f;
  return {
      {left, bottom, 0, 1},  {right, bottom, 0, 2}, {right, top, 0, 2},   {left, top, 0, 2},
      {left, bottom, 0, 2},  {cx, cy, apex, 1},     {left, bottom, 0, 2}, {cx, cy, apex, 1},
      {right, bottom, 0, 2}, {cx, cy, apex, 1},     {right, top, 0, 2},   {cx, cy, apex, 1},
      {left, top, 0, 2},
  };
}

RotationPens prepare_rotation_frame(Simulation& sim, Canvas& canvas) {
  RotationPens pens;
  pens.erase_pen = canvas.create_pen(kFrameEraseColour);
  pens.erase_brush = canvas.create_brush(kFrameEraseColour);
  pens.front_pen = canvas.create_pen(kFrameFrontColour);
  pens.front_brush = canvas.create_brush(kFrameFrontColour);
  pens.back_pen = canvas.create_pen(kFrameBackColour);
  pens.back_brush = canvas.create_brush(kFrameBackColour);
  canvas.fill_rect(client_rect(sim), pens.erase_brush);
  if (sim.frame_vertices.empty()) {
    sim.frame_vertices = frame_vertices(sim);
  }
  return pens;
}

void step_view_angles(Simulation& sim, int dx, int dy) {
  const double step = kPi * 0.015625;
  if (dy > 0) {
    sim.angle_x -= step;
  } else if (dy < 0) {
    sim.angle_x += step;
  }
  if (dx > 0) {
    sim.angle_y -= step;
  } else if (dx < 0) {
    sim.angle_y += step;
  }
}

void draw_rotation_frame(Simulation& sim, Canvas& canvas, const RotationPens& pens, int dx, int dy,
                         bool erase) {
  step_view_angles(sim, dx, dy);
  for (const FrameVertex& vertex : sim.frame_vertices) {
    const Rotated r = rotate_vertex(sim, vertex);
    const int x = to_pixel(r.x);
    const int y = to_pixel(r.y);
    ObjectHandle old_pen = canvas.select(erase ? pens.erase_pen : pens.front_pen);
    ObjectHandle old_brush = canvas.select(erase ? pens.erase_brush : pens.front_brush);
    if (vertex.command == 1) {
      canvas.move_to(x, y);
    } else {
      canvas.line_to(x, y);
    }
    canvas.select(old_pen);
    canvas.select(old_brush);
    const bool front = erase || r.z >= 0.0;
    const ObjectHandle dot_pen = erase ? pens.erase_pen : (front ? pens.front_pen : pens.back_pen);
    const ObjectHandle dot_brush =
        erase ? pens.erase_brush : (front ? pens.front_brush : pens.back_brush);
    old_pen = canvas.select(dot_pen);
    old_brush = canvas.select(dot_brush);
    canvas.ellipse(x - kVertexDotRadius, y - kVertexDotRadius, x + kVertexDotRadius,
                   y + kVertexDotRadius);
    canvas.select(old_pen);
    canvas.select(old_brush);
  }
}

void release_rotation_frame(Canvas& canvas, RotationPens& pens) {
  for (ObjectHandle* object : {&pens.erase_pen, &pens.erase_brush, &pens.front_pen,
                               &pens.front_brush, &pens.back_pen, &pens.back_brush}) {
    if (*object != 0) {
      canvas.delete_object(*object);
      *object = 0;
    }
  }
}

RotationPens begin_rotation(Simulation& sim, Canvas& canvas) {
  RotationPens pens = prepare_rotation_frame(sim, canvas);
  draw_rotation_frame(sim, canvas, pens, 0, 0, false);
  sim.host().capture_mouse(true);
  sim.host().set_cursor(Cursor::cross);
  return pens;
}

void continue_rotation(Simulation& sim, Canvas& canvas, const RotationPens& pens, int dx, int dy) {
  sim.host().set_cursor(Cursor::cross);
  draw_rotation_frame(sim, canvas, pens, 0, 0, true);
  draw_rotation_frame(sim, canvas, pens, dx, dy, false);
}

void end_rotation(Simulation& sim, Canvas& canvas, RotationPens& pens) {
  draw_rotation_frame(sim, canvas, pens, 0, 0, true);
  release_rotation_frame(canvas, pens);
  sim.host().capture_mouse(false);
  sim.host().set_cursor(Cursor::arrow);
  sim.full_redraw = true;
  sim.host().invalidate();
}

}  // namespace wandrix
