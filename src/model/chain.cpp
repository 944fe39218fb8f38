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
void Chain::set_number(int k, int n) {
  index = k < 1 ? 1 : (k > n ? n : k);
  colour = chain_colour(index, n);
}

void Chain::clear_samples() {
  painted_samples = 0;
  ++sample_revision;
  xs = {};
  ys = {};
  zs = {};
}

void Chain::clear_heights() {
  ++sample_revision;
  zs.clear();
}

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
  // One sample per step, and with two or more chains the exchanges' at the
  // rate seen so far, with 1 % to spare for the chance of the steps to come.
  double rate = 1.0;
  if (sim.nchains > 1 && sim.steps_done > 0) {
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
  ++sample_revision;
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

void Chain::rescale_samples(double fx, double fy) {
  ++sample_revision;
  for (std::int32_t& v : xs) {
    v = static_cast<std::int32_t>(v * fx);
  }
  for (std::int32_t& v : ys) {
    v = static_cast<std::int32_t>(v * fy);
  }
}

}  // namespace wandrix
