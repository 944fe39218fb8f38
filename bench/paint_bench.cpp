// Painting and exporting long walks: (a) the full paint of a 1,000,000-step,
// four-chain walk over three hills into an 800 x 600 surface, flat and
// rotated; (b) the incremental paint after a Continue walking of 10,000 and
// of 100,000 steps on top of it; (c) exporting a 100,000-step four-chain walk
// to EMF and SVG (bytes reported).
#include <benchmark/benchmark.h>

#include <array>

#include "bench_hills.h"
#include "model/simulation.h"
#include "view/coverage.h"
#include "view/paint.h"
#include "view/picture_export.h"
#include "view/raster_canvas.h"

namespace wandrix {
namespace {

void configure(Simulation& sim, int steps, bool rotation) {
  sim.rescale(800, 600);
  sim.set_chain_count(4);
  sim.set_shown_chain(0);
  sim.nsteps = steps;
  sim.rn_seed = 12345;
  sim.allow_rotation = rotation;
  const std::array<bench::HillRow, 3> spots = {
      {{200, 180, 60, 50, 0.3, 1.0}, {560, 390, 80, 80, -0.6, 2.0}, {400, 90, 30, 100, 0.9, 0.5}}};
  bench::add_hills(sim, spots);
  sim.clear();
  sim.start_walking();
  if (rotation) {
    sim.angle_x = 0.4;
    sim.angle_y = -0.3;
  }
}

std::size_t sample_count(const Simulation& sim) {
  std::size_t samples = 0;
  for (const Chain& chain : sim.chains) {
    samples += chain.xs.size();
  }
  return samples;
}

void full_paint(benchmark::State& state, bool rotation) {
  Simulation sim;
  configure(sim, 1000000, rotation);
  RasterCanvas canvas(800, 600);
  Coverage coverage(800, 600);
  for (auto _ : state) {
    sim.full_redraw = true;
    paint(sim, canvas, client_rect(sim), false, &coverage);
    benchmark::DoNotOptimize(canvas.pixels());
  }
  state.counters["samples"] = static_cast<double>(sample_count(sim));
}

void incremental_paint(benchmark::State& state) {
  Simulation sim;
  configure(sim, 1000000, false);
  RasterCanvas canvas(800, 600);
  Coverage coverage(800, 600);
  paint(sim, canvas, client_rect(sim), false, &coverage);
  std::array<std::size_t, kMaxChains> shown{};
  for (std::size_t k = 0; k < shown.size(); ++k) {
    shown[k] = sim.chains[k].painted_samples;
  }
  sim.nsteps = static_cast<std::int32_t>(state.range(0));
  sim.continue_walking();
  for (auto _ : state) {
    for (std::size_t k = 0; k < shown.size(); ++k) {
      sim.chains[k].painted_samples = shown[k];
    }
    sim.full_redraw = false;
    paint(sim, canvas, client_rect(sim), false, &coverage);
    benchmark::DoNotOptimize(canvas.pixels());
  }
  double added = 0;
  for (std::size_t k = 0; k < shown.size(); ++k) {
    added += static_cast<double>(sim.chains[k].xs.size() - shown[k]);
  }
  state.counters["new_samples"] = added;
}

// Export of a 100,000-step four-chain walk on 800 x 600.
void export_picture(benchmark::State& state, bool svg) {
  Simulation sim;
  configure(sim, 100000, false);
  std::size_t bytes = 0;
  for (auto _ : state) {
    if (svg) {
      bytes = svg_picture(sim, client_rect(sim), "bench").size();
    } else {
      bytes = metafile_picture(sim, client_rect(sim), std::nullopt, "bench", "bench").size();
    }
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.counters["samples"] = static_cast<double>(sample_count(sim));
}

BENCHMARK_CAPTURE(full_paint, a_flat_1M_4_chains_800x600, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(full_paint, a_rotated_1M_4_chains_800x600, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(export_picture, c_emf_100k_4_chains, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(export_picture, c_svg_100k_4_chains, true)->Unit(benchmark::kMillisecond);
BENCHMARK(incremental_paint)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wandrix
