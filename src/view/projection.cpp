#include "view/projection.h"

#include "model/portable_math.h"

namespace wandrix {

Projection::Projection(const Simulation& sim, bool active, double z_scale)
    : active_(active),
      z_scale_(z_scale),
      sin_a_(math::sin(sim.angle_x)),
      cos_a_(math::cos(sim.angle_x)),
      sin_b_(math::sin(sim.angle_y)),
      cos_b_(math::cos(sim.angle_y)),
      centre_x_(sim.centre_x),
      centre_y_(sim.centre_y) {}

void rotate_about_centre(const Simulation& sim, int& x, int& y, int& z) {
  Projection(sim, true, 0.0).rotate(x, y, z);
}

void project_point(Simulation& sim, int& x, int& y, double h) { Projection(sim).project(x, y, h); }

}  // namespace wandrix
