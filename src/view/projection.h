// The rotated view: every point of the picture can be turned about the
// centre of the client area by two angles and seen along z. Client y grows
// downward, so a positive angle_x lifts points of positive height up the
// screen. With both angles 0 every point comes back unchanged.
#pragma once

#include <cmath>
#include <cstdint>

#include "model/simulation.h"

namespace wandrix {

// trunc(value) as an int, toward zero. Values beyond the range any picture
// can use are held at +-2^30 (NaN at 0), so that adding a dot radius or a
// centre never overflows.
inline int to_pixel(double value) {
  constexpr double kLimit = 1073741824.0;
  if (value > -kLimit && value < kLimit) {
    return static_cast<int>(value);
  }
  if (value >= kLimit) {
    return static_cast<int>(kLimit);
  }
  return value <= -kLimit ? -static_cast<int>(kLimit) : 0;
}

// An int held within +-2^30, as to_pixel holds a double.
inline int clamp_pixel(std::int32_t value) {
  constexpr std::int32_t kLimit = 1 << 30;
  return value < -kLimit ? -kLimit : (value > kLimit ? kLimit : value);
}

// The view of one paint: the angles' sines and cosines and the height scale,
// computed once instead of for every point. It gives exactly the results of
// project_point.
class Projection {
 public:
  // Computes z_scale on first use, as project_point does.
  explicit Projection(Simulation& sim)
      : Projection(sim, sim.allow_rotation, sim.allow_rotation ? sim.z_scale_value() : 0.0) {}
  // The angles and centre of sim, with the given height scale.
  Projection(const Simulation& sim, bool active, double z_scale);

  [[nodiscard]] bool active() const { return active_; }
  // The same view: every point is drawn at the same place.
  friend bool operator==(const Projection&, const Projection&) = default;
  // Rotates (x, y, z) about the centre; z receives the depth. Inline, so
  // that a projection which drops the depth does not compute it.
  void rotate(int& x, int& y, int& z) const {
    const double dx = static_cast<double>(x) - centre_x_;
    const double dy = static_cast<double>(y) - centre_y_;
    const double dz = static_cast<double>(z);
    const double t = sin_a_ * dy + cos_a_ * dz;
    x = to_pixel(cos_b_ * dx - sin_b_ * t + centre_x_);
    y = to_pixel(cos_a_ * dy - sin_a_ * dz + centre_y_);
    z = to_pixel(cos_b_ * t + sin_b_ * dx);
  }
  // Lifts a client point by the scaled height h and rotates it; leaves it
  // unchanged when rotation is not allowed.
  void project(int& x, int& y, double h) const {
    if (!active_) {
      return;
    }
    int z = to_pixel(z_scale_ * h);
    rotate(x, y, z);
  }

 private:
  bool active_;
  double z_scale_;
  double sin_a_, cos_a_, sin_b_, cos_b_;
  double centre_x_, centre_y_;
};

// Rotates the client point (x, y) with height z about the rotation centre by
// angle_x and angle_y; all three are updated (z to the depth).
void rotate_about_centre(const Simulation& sim, int& x, int& y, int& z);

// Lifts the client point (x, y) by trunc(z_scale x h) and rotates it; does
// nothing when rotation is not allowed.
void project_point(Simulation& sim, int& x, int& y, double h);

}  // namespace wandrix
