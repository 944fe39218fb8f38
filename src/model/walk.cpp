// The walk: every chain in use takes one Metropolis step, then two chains
// chosen at random may exchange positions. The order of the draws is fixed,
// so a seed reproduces a walk exactly.
#include <algorithm>
#include <limits>
#include <new>
#include <utility>

#include "model/landscape.h"
#include "model/simulation.h"

namespace wandrix {

void Simulation::walk(bool start) {
  if (walking) {
    return;
  }
  walking = true;
  if (start) {
    walk_started = true;
    full_redraw = true;
    steps_done = 0;
    for (int p = 0; p < nchains; ++p) {
      chains[static_cast<std::size_t>(p)].start(start_x, start_y);
    }
  }
  host_->set_cursor(Cursor::wait);
  run_first_step = steps_done;
  const auto target = static_cast<std::int32_t>(std::min<std::int64_t>(
      static_cast<std::int64_t>(steps_done) + nsteps, std::numeric_limits<std::int32_t>::max()));
  bool out_of_memory = false;
  try {
    for (int p = 0; p < nchains; ++p) {
      chains[static_cast<std::size_t>(p)].reserve_samples();
    }
    run_steps(target, landscape());
  } catch (const std::bad_alloc&) {
    // A sample may have been half recorded when the allocation failed.
    for (Chain& chain : chains) {
      chain.make_consistent(allow_rotation);
    }
    out_of_memory = true;
  }
  host_->set_cursor(Cursor::arrow);
  walking = false;
  host_->invalidate();
  if (out_of_memory) {
    host_->message_box(kOutOfMemoryText, kOutOfMemoryCaption);
  }
}

void Simulation::run_steps(std::int32_t target, const Landscape& landscape) {
  for (Chain& chain : chains) {
    chain.z_height_of = 0;  // the landscape may have changed since
  }
  const ForayLength length(step_mean, step_stddev);
  while (steps_done < target) {
    for (int p = 0; p < nchains; ++p) {
      step_chain(p, landscape, length);
    }
    if (nchains > 1) {
      const int a = rng.int_below(nchains);
      int b = rng.int_below(nchains - 1) + a + 1;
      if (b >= nchains) {
        b = b % nchains;
      }
      chains[static_cast<std::size_t>(a)].save_position();
      chains[static_cast<std::size_t>(b)].save_position();
      try_swap(a, b, landscape);
    }
    steps_done = steps_done + 1;
  }
}

void Simulation::step_chain(int p, const Landscape& landscape, const ForayLength& length) {
  Chain& chain = chains[static_cast<std::size_t>(p)];
  chain.save_position();
  chain.propose(rng, length);
  chain.decide(landscape);
}

void Simulation::try_swap(int a, int b, const Landscape& landscape) {
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
    return;
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
      return;
    }
  }
  chain_a.record(pb_x, pb_y, ha_other);
  chain_b.record(pa_x, pa_y, hb_other);
  chain_a.z_height_of = na;
  chain_b.z_height_of = nb;
}

}  // namespace wandrix
