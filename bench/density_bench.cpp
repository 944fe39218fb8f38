// Painting the density view of 10^6 and of 10^8 samples (one chain over
// three hills, 800 x 600), as the window does:
//   full      every sample counted, as after a resize, a new angle or for an
//             export (the picture files count afresh every time);
//   kept      the counts kept from the last paint and nothing new (Refresh,
//             Show, a dot size);
//   continue  the paint after Continue walking of 1,000,000 steps: only the
//             new samples are counted, the whole picture drawn again.
// Medians of several runs, in milliseconds. A plain program: a session of
// 10^8 samples is walked once (about 800 MB).
//
//   density_bench [MAX_SAMPLES]
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_hills.h"
#include "model/simulation.h"
#include "view/density.h"
#include "view/paint.h"
#include "view/raster_canvas.h"

namespace {

using Clock = std::chrono::steady_clock;

template <class Work>
double median_ms(int runs, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void set_up(wandrix::Simulation& sim) {
  sim.rescale(800, 600);
  const std::array<wandrix::bench::HillRow, 3> spots = {
      {{200, 180, 60, 50, 0.3, 1.0}, {560, 390, 80, 80, -0.6, 2.0}, {400, 90, 30, 100, 0.9, 0.5}}};
  wandrix::bench::add_hills(sim, spots);
  sim.nsteps = 1000000;
  sim.rn_seed = 12345;
  sim.density_view = true;
  sim.clear();
}

}  // namespace

int main(int argc, char** argv) {
  const long long max_samples = argc > 1 ? std::atoll(argv[1]) : 100000000LL;
  wandrix::Simulation sim;
  set_up(sim);
  wandrix::RasterCanvas surface(800, 600);
  const wandrix::Rect client = wandrix::client_rect(sim);
  wandrix::DensityCounts kept;
  std::printf("%12s %10s %10s %10s\n", "samples", "full", "kept", "continue");
  sim.start_walking();
  for (long long target = 1000000; target <= max_samples; target *= 100) {
    while (static_cast<long long>(sim.chains[0].xs.size()) < target) {
      sim.continue_walking();
    }
    const std::size_t samples = sim.chains[0].xs.size();
    const double full = median_ms(5, [&] {
      sim.full_redraw = true;
      wandrix::paint(sim, surface, client, false);
    });
    wandrix::paint(sim, surface, client, false, nullptr, &kept);
    const double still = median_ms(11, [&] {
      sim.full_redraw = true;
      wandrix::paint(sim, surface, client, false, nullptr, &kept);
    });
    std::vector<double> after_walk;
    for (int i = 0; i < 3; ++i) {
      sim.continue_walking();
      after_walk.push_back(
          median_ms(1, [&] { wandrix::paint(sim, surface, client, false, nullptr, &kept); }));
    }
    std::sort(after_walk.begin(), after_walk.end());
    std::printf("%12zu %10.1f %10.1f %10.1f\n", samples, full, still, after_walk[1]);
    std::fflush(stdout);
  }
  return 0;
}
