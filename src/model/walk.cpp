// The walk: every chain in use takes one Metropolis step, then two chains
// chosen at random may exchange positions. The order of the draws is fixed,
// so a seed reproduces a walk exactly.
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <new>
#include <utility>

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

// How often a walk in one command tells how far it has come.
constexpr std::chrono::milliseconds kProgressSlice{100};

}  // namespace

// The steps of one chain, here beside the loop that runs them so that the
// compiler can inline them into it.

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

void Chain::propose(RandomGenerator& rng, const ForayLength& length,
                    std::vector<LandscapePoint>* turns) {
  const double distance = length.draw(rng);
  finish_foray(distance, rng.uniform() * kTwoPi, turns);
}

void Chain::set_onto_landscape() {
  x = std::clamp(x, 0.0, std::trunc(owner->width));
  y = std::clamp(y, 0.0, std::trunc(owner->height));
}

// The classic walls turn a foray along them, which is not a symmetric
// proposal: near a wall the chain then samples more than its target. Refusing
// a foray that would leave the landscape keeps the proposal symmetric, so the
// chain samples the landscape cut off at the walls exactly.
bool Chain::propose_within_walls(RandomGenerator& rng, const ForayLength& length,
                                 LandscapePoint& end) {
  const double distance = length.draw(rng);
  const double heading = rng.uniform() * kTwoPi;
  set_onto_landscape();
  // The end point exactly as the first segment of a turning foray finds it.
  const math::SinCos direction = math::sincos(heading);
  const double nx = x + distance * direction.cos;
  const double ny = y + distance * direction.sin;
  end = {nx, ny};
  if (!(nx >= 0.0 && nx <= std::trunc(owner->width) && ny >= 0.0 &&
        ny <= std::trunc(owner->height))) {
    return false;
  }
  x = nx;
  y = ny;
  return true;
}

void Chain::finish_foray(double distance, double heading, std::vector<LandscapePoint>* turns) {
  // Positions are not rescaled, so a smaller window can leave the chain
  // outside the landscape. Measured from there, the way to the first wall is
  // longer than the foray, the distance left turns negative and the robot
  // would walk away backwards for ever; it is set down on the nearest point
  // of the landscape first. Inside the landscape this changes nothing.
  set_onto_landscape();
  int turns_without_progress = 0;
  for (int turn = 0; turn < kMaxForayTurns; ++turn) {
    const double before = distance;
    if (move(distance, heading)) {
      return;
    }
    if (turns != nullptr) {
      turns->push_back({x, y});
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
  turn_at_wall(nx, ny, x_inside, y_inside, distance, heading);
  return false;
}

void Chain::turn_at_wall(double nx, double ny, bool x_inside, bool y_inside, double& distance,
                         double& heading) {
  const double w = std::trunc(owner->width);
  const double h = std::trunc(owner->height);
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
}

bool Chain::decide(const Landscape& landscape) {
  const Simulation& sim = *owner;
  if (sim.ignore_topography || landscape.empty()) {
    z_height_of = 0;
    record(x, y, z);
    return true;
  }
  prev_z = z_height_of == index ? z : landscape.height(index, prev_x, prev_y);
  z = landscape.height(index, x, y);
  z_height_of = index;
  // ratio = z / prev_z >= 1 decides without a draw. For a positive old
  // height that is z >= prev_z exactly (a quotient of doubles below 1 never
  // rounds up to 1), known before the division ends.
  bool accept = prev_z > 0.0 ? z >= prev_z : z / prev_z >= 1.0;
  if (!accept) {
    const double u = owner->rng.uniform();
    accept = !(u > z / prev_z);
  }
  if (!accept) {
    x = prev_x;
    y = prev_y;
    z = prev_z;
  }
  record(x, y, z);
  return accept;
}

void Simulation::walk(bool start) {
  if (!begin_walk(start)) {
    return;
  }
  const std::int64_t total = walk_target() - run_first_step;
  host_->walk_progress(0, total, false);
  while (!walk_complete()) {
    advance_walk_for(kProgressSlice);
    host_->walk_progress(steps_done - run_first_step, total, false);
  }
  host_->walk_progress(steps_done - run_first_step, total, true);
  end_walk();
}

bool Simulation::begin_walk(bool start) {
  if (walking) {
    return false;
  }
  walking = true;
  if (start) {
    walk_started = true;
    full_redraw = true;
    steps_done = 0;
    rates = {};
    for (int p = 0; p < nchains; ++p) {
      chains[static_cast<std::size_t>(p)].start(start_x, start_y);
    }
  }
  host_->set_cursor(Cursor::wait);
  run_first_step = steps_done;
  const auto target = static_cast<std::int32_t>(std::min<std::int64_t>(
      static_cast<std::int64_t>(steps_done) + nsteps, std::numeric_limits<std::int32_t>::max()));
  // Once a sixteenth of the walk has shown how many samples a step adds
  // (exchanges add theirs to the one of every step), the lists are reserved
  // for the rest: copying them is cheap this early, and they end close to
  // full, where growing by doubling would leave up to half of them empty.
  // Fixed here, for the whole walk, so that however it is cut into slices
  // the lists grow alike.
  const std::int32_t estimate_at =
      steps_done + std::min(target - steps_done, std::max(4096, (target - steps_done) / 16));
  run_.emplace(WalkRun{target, estimate_at, landscape(), ForayLength(step_mean, step_stddev)});
  for (Chain& chain : chains) {
    chain.z_height_of = 0;  // the landscape may have changed since
  }
  guard_memory([this] {
    for (int p = 0; p < nchains; ++p) {
      chains[static_cast<std::size_t>(p)].reserve_samples();
    }
  });
  return true;
}

std::int64_t Simulation::advance_walk(std::int64_t max_steps, StepTrace* trace) {
  if (!run_ || run_->out_of_memory || max_steps <= 0) {
    return 0;
  }
  const std::int32_t before = steps_done;
  const std::int64_t left = static_cast<std::int64_t>(run_->target) - steps_done;
  const auto end = static_cast<std::int32_t>(steps_done + std::min(max_steps, left));
  guard_memory([this, end, trace] {
    if (trace != nullptr) {
      run_traced_steps(end, *trace);
    } else {
      run_steps(end);
    }
  });
  return steps_done - before;
}

std::int64_t Simulation::advance_walk_for(std::chrono::steady_clock::duration budget) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point begin = Clock::now();
  std::int64_t done = 0;
  std::int64_t batch = 1;
  // The batch grows while it takes a small part of the budget: the clock is
  // read rarely, and the last batch overshoots the budget by little.
  while (!walk_complete()) {
    done += advance_walk(batch);
    const Clock::duration spent = Clock::now() - begin;
    if (spent >= budget) {
      break;
    }
    if (spent * 4 < budget) {
      batch *= 2;
    }
  }
  return done;
}

bool Simulation::walk_complete() const {
  return !run_ || run_->out_of_memory || steps_done >= run_->target;
}

std::int32_t Simulation::walk_target() const { return run_ ? run_->target : steps_done; }

void Simulation::end_walk() {
  if (!walking) {
    return;
  }
  const bool out_of_memory = run_ && run_->out_of_memory;
  run_.reset();
  host_->set_cursor(Cursor::arrow);
  walking = false;
  host_->invalidate();
  if (out_of_memory) {
    host_->message_box(kOutOfMemoryText, kOutOfMemoryCaption);
  }
}

void Simulation::guard_memory(const std::function<void()>& work) {
  try {
    work();
  } catch (const std::bad_alloc&) {
    // A sample may have been half recorded when the allocation failed.
    for (Chain& chain : chains) {
      chain.make_consistent(allow_rotation);
    }
    run_->out_of_memory = true;
  }
}

// The rates count here, and only here: every step of every chain, every
// exchange attempt.
void Simulation::count_step(int p, bool accepted) {
  AcceptCount& count = rates.moves[static_cast<std::size_t>(p)];
  ++count.taken;
  count.accepted += accepted ? 1 : 0;
}

void Simulation::count_exchange(bool made) {
  ++rates.exchanges.taken;
  rates.exchanges.accepted += made ? 1 : 0;
}

// The two chains (0-based) of the step's exchange attempt: b is uniform
// over the chains other than a.
std::pair<int, int> Simulation::exchange_pair() {
  const int a = rng.int_below(nchains);
  int b = rng.int_below(nchains - 1) + a + 1;
  if (b >= nchains) {
    b = b % nchains;
  }
  chains[static_cast<std::size_t>(a)].save_position();
  chains[static_cast<std::size_t>(b)].save_position();
  return {a, b};
}

void Simulation::reserve_when_estimated() {
  if (steps_done == run_->estimate_at) {
    for (int p = 0; p < nchains; ++p) {
      chains[static_cast<std::size_t>(p)].reserve_samples();
    }
  }
}

// Flattened: every step, height and foray of the loop inlined into it, math
// functions included where the optimiser sees them (link-time).
[[gnu::flatten]] void Simulation::run_steps(std::int32_t end) {
  const Landscape& landscape = run_->landscape;
  const ForayLength& length = run_->length;
  while (steps_done < end) {
    reserve_when_estimated();
    for (int p = 0; p < nchains; ++p) {
      count_step(p, step_chain(p, landscape, length, nullptr));
    }
    if (nchains > 1) {
      const auto [a, b] = exchange_pair();
      count_exchange(try_swap(a, b, landscape));
    }
    steps_done = steps_done + 1;
  }
}

// The same steps, each recorded for an animation; the last one stays in
// trace.
void Simulation::run_traced_steps(std::int32_t end, StepTrace& trace) {
  const Landscape& landscape = run_->landscape;
  const ForayLength& length = run_->length;
  while (steps_done < end) {
    reserve_when_estimated();
    trace.nchains = nchains;
    for (int p = 0; p < nchains; ++p) {
      ForayTrace& foray = trace.forays[static_cast<std::size_t>(p)];
      const Chain& chain = chains[static_cast<std::size_t>(p)];
      foray.from = {chain.x, chain.y};
      foray.turns.clear();
      foray.accepted = step_chain(p, landscape, length, &foray);
      count_step(p, foray.accepted);
    }
    trace.exchange = {};
    if (nchains > 1) {
      const auto [a, b] = exchange_pair();
      const bool made = try_swap(a, b, landscape);
      count_exchange(made);
      trace.exchange = {a, b, made};
    }
    steps_done = steps_done + 1;
  }
}

bool Simulation::step_chain(int p, const Landscape& landscape, const ForayLength& length,
                            ForayTrace* trace) {
  Chain& chain = chains[static_cast<std::size_t>(p)];
  chain.save_position();
  LandscapePoint end;
  bool within_walls = true;
  if (reject_at_walls) {
    within_walls = chain.propose_within_walls(rng, length, end);
  } else {
    chain.propose(rng, length, trace != nullptr ? &trace->turns : nullptr);
    end = {chain.x, chain.y};
  }
  if (trace != nullptr) {
    trace->to = end;
  }
  if (!within_walls) {
    // A refused move: no height evaluated, no uniform drawn, the point where
    // the chain stands recorded again with its height.
    chain.record(chain.x, chain.y, chain.z);
    return false;
  }
  return chain.decide(landscape);
}

bool Simulation::try_swap(int a, int b, const Landscape& landscape) {
  Chain& chain_a = chains[static_cast<std::size_t>(a)];
  Chain& chain_b = chains[static_cast<std::size_t>(b)];
  const double pa_x = chain_a.x;
  const double pa_y = chain_a.y;
  const double pb_x = chain_b.x;
  const double pb_y = chain_b.y;
  if (landscape.empty()) {
    // Every ratio is 1: the exchange happens without a draw, and each chain
    // keeps its own height, as a step without hills does.
    chain_a.z_height_of = 0;
    chain_b.z_height_of = 0;
    chain_a.record(pb_x, pb_y, chain_a.z);
    chain_b.record(pa_x, pa_y, chain_b.z);
    return true;
  }
  const int na = a + 1;
  const int nb = b + 1;
  // A chain's height at its own point is its z when that was evaluated for
  // the same heat.
  const double ha_own = chain_a.z_height_of == na ? chain_a.z : landscape.height(na, pa_x, pa_y);
  const double ha_other = landscape.height(na, pb_x, pb_y);
  const double hb_own = chain_b.z_height_of == nb ? chain_b.z : landscape.height(nb, pb_x, pb_y);
  const double hb_other = landscape.height(nb, pa_x, pa_y);
  const double ratio = (ha_other / ha_own) * (hb_other / hb_own);
  if (!(ratio >= 1.0)) {
    const double u = rng.uniform();
    if (u > ratio) {
      return false;
    }
  }
  chain_a.record(pb_x, pb_y, ha_other);
  chain_b.record(pa_x, pa_y, hb_other);
  chain_a.z_height_of = na;
  chain_b.z_height_of = nb;
  return true;
}

}  // namespace wandrix
