#include "model/simulation.h"

#include <utility>

namespace wandrix {

Host& null_host() {
  static Host host;
  return host;
}

Simulation::Simulation(Host& host) : host_(&host) { reset_defaults(); }

void Simulation::reset_defaults() {
  static_cast<SimulationState&>(*this) = SimulationState{};
  for (int k = 1; k <= kMaxChains; ++k) {
    Chain& chain = chains[static_cast<std::size_t>(k - 1)];
    chain.owner = this;
    chain.set_number(k, nchains);
  }
  rn_seed = rng.seed();
}

void Simulation::clear() {
  steps_done = 0;
  rates = {};
  rng.reseed(rn_seed);
  for (Chain& chain : chains) {
    chain.clear_samples();
  }
}

void Simulation::set_chain_count(int n) {
  nchains = n;
  if (n < shown_chain) {
    shown_chain = n;
  } else if (shown_chain == 0 && n == 1) {
    shown_chain = 1;
  }
  heat_step = n == 1 ? 1.0 : 3.0 / (n - 1);
  for (int k = 1; k <= n; ++k) {
    chains[static_cast<std::size_t>(k - 1)].set_number(k, n);
  }
}

void Simulation::set_shown_chain(int k) { shown_chain = k; }

void Simulation::toggle_rotation() {
  const bool old_value = allow_rotation;
  allow_rotation = !allow_rotation;
  apply_rotation_change(old_value);
}

void Simulation::apply_rotation_change(bool old_value) {
  if (allow_rotation == old_value) {
    return;
  }
  if (allow_rotation) {
    clear();
    return;
  }
  angle_x = angle_y = 0.0;
  for (Chain& chain : chains) {
    chain.clear_heights();
  }
}

void Simulation::rescale(int new_width, int new_height) {
  if (new_width <= 0 || new_height <= 0) {
    return;  // a zero factor would destroy the hills and samples for good
  }
  const double fx = new_width / width;
  const double fy = new_height / height;
  width = new_width;
  height = new_height;
  centre_x = static_cast<std::int32_t>(new_width * 0.5);
  centre_y = static_cast<std::int32_t>(new_height * 0.5);
  z_scale = 0.0;
  for (Chain& chain : chains) {
    chain.rescale_samples(fx, fy);
  }
  for (Hill& hill : hills) {
    hill.mean_x = hill.mean_x * fx;
    hill.stddev_x = hill.stddev_x * fx;
    hill.mean_y = hill.mean_y * fy;
    hill.stddev_y = hill.stddev_y * fy;
  }
  for (FrameVertex& vertex : frame_vertices) {
    vertex.x = vertex.x * fx;
    vertex.y = vertex.y * fy;
  }
  step_mean = step_mean * (fx + fy) / 2.0;
  step_stddev = step_stddev * (fx + fy) / 2.0;
}

double Simulation::z_scale_value() {
  if (z_scale > 0.0) {
    return z_scale;
  }
  z_scale = height * 0.3333333333333333;
  return z_scale;
}

void Simulation::new_seed() {
  rng.seed_from_clock(100);
  rng.discard(1000);
  rn_seed = rng.state();
}

void Simulation::normalize_weights() { wandrix::normalize_weights(hills); }

void Simulation::start_walking() {
  walk(true);
  full_redraw = true;
}

void Simulation::continue_walking() {
  walk(!walk_started);
  full_redraw = false;
}

void Simulation::clear_and_redraw() {
  clear();
  full_redraw = true;
  host().invalidate();
}

void Simulation::change_chain_count(int n) {
  set_chain_count(n);
  clear_and_redraw();
}

void Simulation::show_chain(int k) {
  set_shown_chain(k);
  full_redraw = true;
  host().invalidate();
}

void Simulation::toggle_density_view() {
  density_view = !density_view;
  full_redraw = true;
  host().invalidate();
}

void Simulation::after_robot_options(bool old_allow_rotation, std::int32_t old_rn_seed) {
  apply_rotation_change(old_allow_rotation);
  if (rn_seed != old_rn_seed) {
    clear();
  }
  full_redraw = true;
}

void Simulation::add_confirmed_hill(Hill hill) {
  hills.push_back(std::move(hill));
  current_hill = static_cast<std::int32_t>(hills.size()) - 1;
  normalize_weights();
  ignore_topography = false;
}

Landscape Simulation::landscape() const { return Landscape(hills, nchains, heat_step); }

}  // namespace wandrix
