// Walks of 1,000,000 steps: (a) one chain, no hills; (b) four chains, three
// hills, topography on; (c) as (b) with step spreads giving Gamma shapes 4
// and 0.25. Reports milliseconds per walk, nanoseconds per chain-step and
// the bytes the sample lists hold per sample.
#include <benchmark/benchmark.h>

#include "bench_hills.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

void configure(Simulation& sim, int chains, bool hills, double mean, double sd) {
  sim.set_chain_count(chains);
  sim.nsteps = 1000000;
  sim.step_mean = mean;
  sim.step_stddev = sd;
  sim.rn_seed = 12345;
  sim.allow_rotation = true;
  if (hills) {
    bench::add_hills(sim, bench::kThreeHills);
  }
}

void walk_million(benchmark::State& state, int chains, bool hills, double mean, double sd) {
  Simulation sim;
  configure(sim, chains, hills, mean, sd);
  std::size_t samples = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    sim.clear();
    sim.walk(true);
    samples = 0;
    bytes = 0;
    for (const Chain& chain : sim.chains) {
      samples += chain.xs.size();
      bytes += chain.xs.capacity() * sizeof(chain.xs[0]) +
               chain.ys.capacity() * sizeof(chain.ys[0]) + chain.zs.capacity() * sizeof(float);
    }
  }
  const double chain_steps = 1000000.0 * chains;
  state.counters["ns_per_chain_step"] =
      benchmark::Counter(chain_steps * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["samples"] = static_cast<double>(samples);
  // What the sample lists hold, spare room included: 12 bytes a sample with
  // heights at best.
  state.counters["bytes_per_sample"] = static_cast<double>(bytes) / static_cast<double>(samples);
}

BENCHMARK_CAPTURE(walk_million, a_one_chain_no_hills, 1, false, 20.0, 20.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(walk_million, b_four_chains_three_hills, 4, true, 20.0, 20.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(walk_million, c_sd10, 4, true, 20.0, 10.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(walk_million, c_sd40, 4, true, 20.0, 40.0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wandrix
