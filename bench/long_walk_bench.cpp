// The long walk a class may leave running: four chains, rotation on, one
// walk of 1,000,000 steps continued 19 times (about 120 million samples),
// then a full repaint of the window's surface. Prints the time of every walk
// and of the repaint, the samples kept and the peak memory.
//
//   long_walk_bench [ROUNDS [STEPS [LIMIT_MB [HILLS]]]]
//
// LIMIT_MB caps the address space (RLIMIT_AS) to show the walk stopping with
// its message when memory runs out, the samples so far kept; 0 is no cap.
// HILLS 0 walks without hills, where every exchange is accepted and a walk
// of 20 million steps records exactly 120,000,004 samples; the default, 1,
// walks over two hills.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/simulation.h"
#include "view/coverage.h"
#include "view/paint.h"
#include "view/raster_canvas.h"

namespace {

using Clock = std::chrono::steady_clock;

class ReportingHost : public wandrix::Host {
 public:
  int messages = 0;
  void message_box(const std::string& text, const std::string& caption) override {
    ++messages;
    std::printf("message box \"%s\": %s\n", caption.c_str(), text.c_str());
  }
};

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

long peak_rss_mb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;  // kilobytes on Linux
}

std::size_t total_samples(const wandrix::Simulation& sim) {
  std::size_t total = 0;
  for (const wandrix::Chain& chain : sim.chains) {
    total += chain.xs.size();
  }
  return total;
}

void add_hills(wandrix::Simulation& sim) {
  wandrix::Hill a;
  a.mean_x = 120;
  a.mean_y = 260;
  a.stddev_x = 40;
  a.stddev_y = 30;
  a.correlation = 0.3;
  a.weight = 2;
  wandrix::Hill b = a;
  b.mean_x = 300;
  b.mean_y = 100;
  b.stddev_x = 25;
  b.stddev_y = 50;
  b.correlation = -0.6;
  b.weight = 1;
  sim.add_confirmed_hill(a);
  sim.add_confirmed_hill(b);
}

void set_up(wandrix::Simulation& sim, int steps, bool hills) {
  sim.set_chain_count(4);
  sim.set_shown_chain(0);  // all four chains are painted
  if (hills) {
    add_hills(sim);
  }
  const bool old_rotation = sim.allow_rotation;
  sim.allow_rotation = true;
  sim.nsteps = steps;
  sim.rn_seed = 4242;
  sim.after_robot_options(old_rotation, 0);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  const int steps = argc > 2 ? std::atoi(argv[2]) : 1000000;
  const long limit_mb = argc > 3 ? std::atol(argv[3]) : 0;
  const bool hills = argc > 4 ? std::atoi(argv[4]) != 0 : true;
  if (limit_mb > 0) {
    const rlim_t bytes = static_cast<rlim_t>(limit_mb) << 20;
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_AS, &limit);
  }
  ReportingHost host;
  wandrix::Simulation sim(host);
  set_up(sim, steps, hills);
  std::printf("%d walks of %d steps, 4 chains, rotation on, %s\n", rounds, steps,
              hills ? "2 hills" : "no hills");
  const auto start = Clock::now();
  for (int round = 0; round < rounds && host.messages == 0; ++round) {
    const auto t = Clock::now();
    if (round == 0) {
      sim.start_walking();
    } else {
      sim.continue_walking();
    }
    std::printf("walk %2d: %6.2f s, %11zu samples, peak %5ld MB\n", round + 1, seconds_since(t),
                total_samples(sim), peak_rss_mb());
    std::fflush(stdout);
  }
  // The paint after the last walk, and one from scratch as after a resize.
  wandrix::RasterCanvas surface(static_cast<int>(sim.width), static_cast<int>(sim.height));
  const wandrix::Rect client = wandrix::client_rect(sim);
  wandrix::Coverage coverage(surface.width(), surface.height());
  auto t = Clock::now();
  wandrix::paint(sim, surface, client, false, &coverage);
  std::printf("paint after the last walk: %.2f s\n", seconds_since(t));
  sim.full_redraw = true;
  t = Clock::now();
  wandrix::paint(sim, surface, client, false, &coverage);
  std::printf("full repaint: %.2f s, peak %ld MB\n", seconds_since(t), peak_rss_mb());
  bool even = true;
  for (const wandrix::Chain& chain : sim.chains) {
    even = even && chain.xs.size() == chain.ys.size() && chain.zs.size() == chain.xs.size();
  }
  std::printf("total: %.1f s for %d steps, %zu samples kept, lists %s, peak memory %ld MB\n",
              seconds_since(start), sim.steps_done, total_samples(sim),
              even ? "consistent" : "INCONSISTENT", peak_rss_mb());
  return even ? 0 : 1;
}
