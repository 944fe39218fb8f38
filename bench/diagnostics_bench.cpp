// The diagnostics after long walks: (a) the whole picture at 1000 x 600 after
// 1,000,000 steps of one chain and of four chains all shown, (b) its parts
// alone: the one-pass histograms and traces of one chain, the effective
// sample size of chain 1, the exact marginals of the three hills, and the
// marginals CSV of an 800 x 600 landscape.
#include <benchmark/benchmark.h>

#include <sstream>

#include "bench_hills.h"
#include "model/autocorrelation.h"
#include "model/marginals.h"
#include "model/simulation.h"
#include "view/diagnostics.h"
#include "view/raster_canvas.h"
#include "view/sample_summary.h"

namespace wandrix {
namespace {

void walk(Simulation& sim, int chains, int steps) {
  sim.set_chain_count(chains);
  sim.set_shown_chain(chains == 1 ? 1 : 0);
  sim.nsteps = steps;
  sim.rn_seed = 12345;
  bench::add_hills(sim, bench::kThreeHills);
  sim.clear();
  sim.start_walking();
}

void whole_picture(benchmark::State& state) {
  Simulation sim;
  walk(sim, static_cast<int>(state.range(0)), 1000000);
  const Rect rect{0, 0, 1000, 600};
  RasterCanvas canvas(rect.width(), rect.height());
  for (auto _ : state) {
    draw_diagnostics(sim, canvas, rect);
    benchmark::DoNotOptimize(canvas.pixels());
  }
  state.counters["chain1_samples"] = static_cast<double>(sim.chains[0].sample_count());
}
BENCHMARK(whole_picture)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void one_pass_summary(benchmark::State& state) {
  Simulation sim;
  walk(sim, 1, 1000000);
  for (auto _ : state) {
    const SampleSummary s = summarise_samples(sim.chains[0], 400, 400, 50, 200);
    benchmark::DoNotOptimize(s.x.histogram.counts.data());
  }
}
BENCHMARK(one_pass_summary)->Unit(benchmark::kMillisecond);

void effective_size(benchmark::State& state) {
  Simulation sim;
  walk(sim, 1, 1000000);
  const auto xs = landscape_positions(sim.chains[0], sim.client_height(), true);
  for (auto _ : state) {
    benchmark::DoNotOptimize(effective_sample_size(xs));
  }
}
BENCHMARK(effective_size)->Unit(benchmark::kMillisecond);

void exact_marginals(benchmark::State& state) {
  Simulation sim;
  bench::add_hills(sim, bench::kThreeHills);
  for (auto _ : state) {
    const ExactMarginal m = exact_marginal(sim, 1, Axis::x);
    benchmark::DoNotOptimize(m.density(200.0));
  }
}
BENCHMARK(exact_marginals)->Unit(benchmark::kMicrosecond);

void marginals_csv(benchmark::State& state) {
  Simulation sim;
  sim.rescale(800, 600);
  bench::add_hills(sim, bench::kThreeHills);
  for (auto _ : state) {
    std::ostringstream out;
    write_marginals_csv(sim, out);
    benchmark::DoNotOptimize(out.str().size());
  }
}
BENCHMARK(marginals_csv)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wandrix
