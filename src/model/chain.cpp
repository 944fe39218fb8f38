#include "model/chain.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "model/colours.h"
#include "model/landscape.h"
#include "model/portable_math.h"
#include "model/random_generator.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

constexpr double kTwoPi = 2.0 * kPi;
constexpr double kHalfPi = kPi / 2.0;

enum class Wall { left, right, bottom, top };

// A turn at a corner that makes no progress may hand the heading back and
// forth between the two walls; after this many in a row the foray ends there.
constexpr int kMaxTurnsWithoutProgress = 4;

}  // namespace

void Chain::set_number(int k, int n) {
  index = k < 1 ? 1 : (k > n ? n : k);
  colour = chain_colour(index, n);
}

void Chain::clear_samples() {
  painted_samples = 0;
  xs = {};
  ys = {};
  zs = {};
}

void Chain::clear_heights() { zs.clear(); }

void Chain::start(std::int32_t sx, std::int32_t sy) {
  x = prev_x = sx;
  y = prev_y = sy;
  z = prev_z = 0.0;
  z_height_of = 0;
  clear_samples();
  record(x, y, 0.0);
}

void Chain::save_position() {
  prev_x = x;
  prev_y = y;
}

void Chain::record(double new_x, double new_y, double new_z) {
  prev_x = x;
  prev_y = y;
  prev_z = z;
  x = new_x;
  y = new_y;
  z = new_z;
  if (xs.size() == xs.capacity()) [[unlikely]] {
    grow_samples();
  }
  xs.push_back(static_cast<std::int32_t>(x));
  ys.push_back(static_cast<std::int32_t>(std::trunc(owner->height) - y));
  if (owner->allow_rotation) {
    zs.push_back(static_cast<float>(z));
  }
}

void Chain::reserve_samples() {
  const Simulation& sim = *owner;
  if (!sim.walking) {
    return;
  }
  const std::int64_t end =
      std::min<std::int64_t>(static_cast<std::int64_t>(sim.run_first_step) + sim.nsteps,
                             std::numeric_limits<std::int32_t>::max());
  const std::int64_t left = std::max<std::int64_t>(end - sim.steps_done, 0);
  // At least one sample per step; more where exchanges have added theirs,
  // then with 1 % to spare for the chance of the steps to come.
  double rate = 1.0;
  if (sim.steps_done > 0) {
    rate = std::max(1.0, static_cast<double>(xs.size()) / sim.steps_done) * 1.01;
  }
  const auto wanted = xs.size() + static_cast<std::size_t>(static_cast<double>(left) * rate) + 2;
  xs.reserve(wanted);
  ys.reserve(wanted);
  if (sim.allow_rotation) {
    zs.reserve(wanted);
  }
}

void Chain::grow_samples() {
  const std::size_t before = xs.capacity();
  reserve_samples();
  if (xs.capacity() < xs.size() + 64) {
    // Outside a walk, or the estimate fell short: the usual doubling.
    const std::size_t wanted = std::max<std::size_t>(2 * xs.size(), before + 64);
    xs.reserve(wanted);
    ys.reserve(wanted);
    zs.reserve(owner->allow_rotation ? wanted : zs.capacity());
  }
}

void Chain::make_consistent(bool with_heights) {
  // The failed allocation may be that of any of the three lists, the height
  // list included: the half-recorded sample is dropped from all of them.
  std::size_t n = std::min(xs.size(), ys.size());
  if (with_heights && zs.size() + 1 == n) {
    n = zs.size();
  }
  xs.resize(n);
  ys.resize(n);
  if (with_heights && zs.size() > n) {
    zs.resize(n);
  }
}

ForayLength::ForayLength(double mean, double sd) {
  if (!(mean > 0.0)) {
    return;
  }
  const double k = mean * mean / (sd * sd);
  if (sd > 0.0 && std::isfinite(k) && k > 0.0 && k <= kMaxGammaShape) {
    gamma_ = true;
    shape_ = k;
    scale_ = mean / k;
  } else {
    fixed_ = std::min(mean, kMaxForayLength);
  }
}

double ForayLength::draw(RandomGenerator& rng) const {
  if (!gamma_) {
    return fixed_;
  }
  const double distance = rng.gamma(shape_) * scale_;
  return distance <= kMaxForayLength ? distance : kMaxForayLength;
}

void Chain::propose(RandomGenerator& rng, const ForayLength& length) {
  const double distance = length.draw(rng);
  finish_foray(distance, rng.uniform() * kTwoPi);
}

void Chain::finish_foray(double distance, double heading) {
  // Positions are not rescaled, so a smaller window can leave the chain
  // outside the landscape. Measured from there, the way to the first wall is
  // longer than the foray, the distance left turns negative and the robot
  // would walk away backwards for ever; it is set down on the nearest point
  // of the landscape first. Inside the landscape this changes nothing.
  x = std::clamp(x, 0.0, std::trunc(owner->width));
  y = std::clamp(y, 0.0, std::trunc(owner->height));
  int turns_without_progress = 0;
  for (int turns = 0; turns < kMaxForayTurns; ++turns) {
    const double before = distance;
    if (move(distance, heading)) {
      return;
    }
    turns_without_progress = distance < before ? 0 : turns_without_progress + 1;
    if (turns_without_progress >= kMaxTurnsWithoutProgress) {
      return;
    }
  }
}

bool Chain::move(double& distance, double& heading) {
  const double w = std::trunc(owner->width);
  const double h = std::trunc(owner->height);
  const math::SinCos direction = math::sincos(heading);
  const double dx = distance * direction.cos;
  const double dy = distance * direction.sin;
  const double nx = x + dx;
  const double ny = y + dy;
  const bool x_inside = nx >= 0.0 && nx <= w;
  const bool y_inside = ny >= 0.0 && ny <= h;
  if (x_inside && y_inside) {
    x = nx;
    y = ny;
    return true;
  }
  Wall wall;
  if (!x_inside && y_inside) {
    wall = nx < 0.0 ? Wall::left : Wall::right;
  } else if (x_inside) {
    wall = ny < 0.0 ? Wall::bottom : Wall::top;
  } else {
    while (heading > kTwoPi) {
      heading -= kTwoPi;
    }
    while (heading < 0.0) {
      heading += kTwoPi;
    }
    const double t = math::tan(heading);
    const double bottom_x = x - y / t;
    const double top_x = x + (h - y) / t;
    if (kPi < heading && heading < kTwoPi && bottom_x >= 0.0 && bottom_x <= w) {
      wall = Wall::bottom;
    } else if (0.0 < heading && heading < kPi && top_x >= 0.0 && top_x <= w) {
      wall = Wall::top;
    } else {
      wall = nx < 0.0 ? Wall::left : Wall::right;
    }
  }
  const double t = math::tan(heading);
  double ddx = 0.0;
  double ddy = 0.0;
  switch (wall) {
    case Wall::left:
      ddx = -x;
      ddy = t * ddx;
      heading = ddy < 0.0 ? heading + kHalfPi : heading - kHalfPi;
      break;
    case Wall::right:
      ddx = w - x;
      ddy = t * ddx;
      heading = ddy < 0.0 ? heading - kHalfPi : heading + kHalfPi;
      break;
    case Wall::bottom:
      ddy = -y;
      ddx = ddy / t;
      heading = ddx < 0.0 ? heading - kHalfPi : heading + kHalfPi;
      break;
    case Wall::top:
      ddy = h - y;
      ddx = ddy / t;
      heading = ddx < 0.0 ? heading + kHalfPi : heading - kHalfPi;
      break;
  }
  // Rounding may leave the point a hair outside the rectangle; it is put on
  // the wall, or the next segment would start outside and never finish.
  x = std::clamp(x + ddx, 0.0, w);
  y = std::clamp(y + ddy, 0.0, h);
  distance = distance - std::sqrt(ddx * ddx + ddy * ddy);
  return false;
}

void Chain::decide(const Landscape& landscape) {
  const Simulation& sim = *owner;
  if (sim.ignore_topography || landscape.empty()) {
    z_height_of = 0;
    record(x, y, z);
    return;
  }
  prev_z = z_height_of == index ? z : landscape.height(index, prev_x, prev_y);
  z = landscape.height(index, x, y);
  z_height_of = index;
  const double ratio = z / prev_z;
  bool accept = true;
  if (!(ratio >= 1.0)) {
    const double u = owner->rng.uniform();
    accept = !(u > ratio);
  }
  if (!accept) {
    x = prev_x;
    y = prev_y;
    z = prev_z;
  }
  record(x, y, z);
}

void Chain::rescale_samples(double fx, double fy) {
  for (std::int32_t& v : xs) {
    v = static_cast<std::int32_t>(v * fx);
  }
  for (std::int32_t& v : ys) {
    v = static_cast<std::int32_t>(v * fy);
  }
}

}  // namespace wandrix
