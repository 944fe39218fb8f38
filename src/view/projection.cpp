#include "view/projection.h"

namespace wandrix {

Projection::Projection(const Simulation& sim, bool active, double z_scale)
    : active_(active),
      z_scale_(z_scale),
      sin_a_(std::sin(sim.angle_x)),
      cos_a_(std::cos(sim.angle_x)),
      sin_b_(std::sin(sim.angle_y)),
      cos_b_(std::cos(sim.angle_y)),
      centre_x_(sim.centre_x),
      centre_y_(sim.centre_y),
      centre_z_(sim.centre_z) {}

void Projection::rotate(int& x, int& y, int& z) const {
  const double dx = static_cast<double>(x) - centre_x_;
  const double dy = static_cast<double>(y) - centre_y_;
  const double dz = static_cast<double>(z) - centre_z_;
  const double t = sin_a_ * dy + cos_a_ * dz;
  x = to_pixel(cos_b_ * dx - sin_b_ * t + centre_x_);
  y = to_pixel(cos_a_ * dy - sin_a_ * dz + centre_y_);
  z = to_pixel(cos_b_ * t + sin_b_ * dx + centre_z_);
}

void rotate_about_centre(const Simulation& sim, int& x, int& y, int& z) {
  Projection(sim, true, 0.0).rotate(x, y, z);
}

void project_point(Simulation& sim, int& x, int& y, double h) { Projection(sim).project(x, y, h); }

}  // namespace wandrix
