// How long the window's event loop waits while the program works: a timer
// that asks to fire every millisecond records the gaps between its firings
// while the real main window (offscreen) walks 1,000,000 steps of four chains
// over two hills, then while it repaints all their samples. Prints the
// longest gap, the 99th percentile and the mean of each.
//
//   event_loop_bench [STEPS]
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "app/menu_table.h"
#include "desktop/window/main_window.h"
#include "model/simulation.h"

namespace {

using Clock = std::chrono::steady_clock;

// Records the time between the firings of a 1 ms timer until done() holds.
std::vector<double> gaps_while(const std::function<bool()>& done) {
  std::vector<double> gaps;
  Clock::time_point last = Clock::now();
  QTimer probe;
  probe.setInterval(1);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const Clock::time_point now = Clock::now();
    gaps.push_back(std::chrono::duration<double, std::milli>(now - last).count());
    last = now;
  });
  probe.start();
  while (!done()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
  }
  return gaps;
}

void report(const char* what, std::vector<double> gaps, double seconds) {
  if (gaps.empty()) {
    std::printf("%-28s no event handled in %.2f s\n", what, seconds);
    return;
  }
  std::sort(gaps.begin(), gaps.end());
  double sum = 0.0;
  for (const double g : gaps) {
    sum += g;
  }
  std::printf("%-28s %.2f s, %zu events: longest gap %.1f ms, 99%% %.1f ms, mean %.2f ms\n", what,
              seconds, gaps.size(), gaps.back(), gaps[gaps.size() * 99 / 100],
              sum / static_cast<double>(gaps.size()));
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int steps = argc > 1 ? std::atoi(argv[1]) : 1000000;
  wandrix::Simulation sim;
  wandrix::desktop::MainWindow window(sim);
  window.show_at_start();
  QCoreApplication::processEvents();
  sim.set_chain_count(4);
  sim.set_shown_chain(0);
  sim.add_confirmed_hill(wandrix::Hill{"west", 120, 200, 40, 40, 0.3, 1, 0});
  sim.add_confirmed_hill(wandrix::Hill{"east", 290, 150, 30, 50, -0.5, 2, 0});
  sim.nsteps = steps;
  sim.rn_seed = 2024;
  sim.clear();

  Clock::time_point begin = Clock::now();
  window.frame().command(wandrix::command::kStartWalking);
  auto gaps = gaps_while([&] { return !sim.walking; });
  report("walk", gaps, std::chrono::duration<double>(Clock::now() - begin).count());

  // The full repaint that ends the walk, then a Refresh of every sample.
  for (const bool refresh : {false, true}) {
    begin = Clock::now();
    if (refresh) {
      window.frame().command(wandrix::command::kRefresh);
    }
    bool painted = false;
    QTimer::singleShot(0, [&] {
      window.landscape()->repaint();
      painted = true;
    });
    gaps = gaps_while([&] { return painted && !window.frame().painting(); });
    report(refresh ? "refresh" : "repaint after the walk", gaps,
           std::chrono::duration<double>(Clock::now() - begin).count());
  }
  std::size_t samples = 0;
  for (const auto& chain : sim.chains) {
    samples += chain.sample_count();
  }
  std::printf("samples: %zu\n", samples);
  return 0;
}
