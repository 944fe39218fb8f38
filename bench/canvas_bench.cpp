// The window's surface after a long walk: nanoseconds per dot (radius 2),
// per short trajectory segment and per pixel of a long line on an 800 × 600
// RasterCanvas, and the time of a whole picture of a 1,000,000-step walk of
// four chains drawn the way the chain drawing calls the canvas (through the
// Canvas interface). The walk's counter line_pixels_per_sample tells how
// much of that time the lines must take: every pixel is one write.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "model/simulation.h"
#include "view/raster_canvas.h"

namespace wandrix {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

std::vector<Point> random_points(int count, int margin) {
  std::mt19937 random(42);
  std::uniform_int_distribution<int> x(-margin, kWidth + margin);
  std::uniform_int_distribution<int> y(-margin, kHeight + margin);
  std::vector<Point> points(static_cast<std::size_t>(count));
  for (Point& p : points) {
    p = {x(random), y(random)};
  }
  return points;
}

void dot_radius_2(benchmark::State& state) {
  RasterCanvas canvas(kWidth, kHeight);
  Canvas& c = canvas;
  c.select(c.create_pen(make_colour(255, 0, 0)));
  c.select(c.create_brush(make_colour(255, 0, 0)));
  const std::vector<Point> points = random_points(4096, 0);
  std::size_t i = 0;
  for (auto _ : state) {
    const Point p = points[i++ & 4095];
    c.ellipse(p.x - 2, p.y - 2, p.x + 2, p.y + 2);
  }
  benchmark::DoNotOptimize(canvas.pixels());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(dot_radius_2);

// Segments of a random walk: steps of up to 20 pixels in each direction.
void short_segment(benchmark::State& state) {
  RasterCanvas canvas(kWidth, kHeight);
  Canvas& c = canvas;
  c.select(c.create_pen(make_colour(0, 0, 255)));
  std::mt19937 random(3);
  std::uniform_int_distribution<int> step(-20, 20);
  std::vector<Point> points(4096);
  Point at{400, 300};
  for (Point& p : points) {
    at = {std::clamp(at.x + step(random), 0, kWidth - 1),
          std::clamp(at.y + step(random), 0, kHeight - 1)};
    p = at;
  }
  std::size_t i = 0;
  for (auto _ : state) {
    const Point p = points[i++ & 4095];
    c.line_to(p.x, p.y);
  }
  benchmark::DoNotOptimize(canvas.pixels());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(short_segment);

// Lines of 400 pixels: one row apart (x-major, a pixel's neighbour is the
// next word) or one column apart (y-major, every pixel in another cache line).
void long_line(benchmark::State& state, bool x_major) {
  RasterCanvas canvas(kWidth, kHeight);
  Canvas& c = canvas;
  c.select(c.create_pen(make_colour(0, 0, 255)));
  int i = 0;
  for (auto _ : state) {
    i = (i + 1) % 400;
    if (x_major) {
      c.move_to(100, 100 + i);
      c.line_to(500, 100 + i + 37);
    } else {
      c.move_to(100 + i, 100);
      c.line_to(100 + i + 37, 500);
    }
  }
  benchmark::DoNotOptimize(canvas.pixels());
  state.counters["ns_per_pixel"] =
      benchmark::Counter(400.0 * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(long_line, x_major, true);
BENCHMARK_CAPTURE(long_line, y_major, false);

// The same calls as the chain drawing: a line to each sample, then its dot
// with the chain's pen and brush selected again around it.
void draw_samples(Canvas& c, const Chain& chain, int radius) {
  const ObjectHandle pen = c.create_pen(chain.colour);
  const ObjectHandle brush = c.create_brush(chain.colour);
  const ObjectHandle old_pen = c.select(pen);
  const ObjectHandle old_brush = c.select(brush);
  c.move_to(chain.xs[0], chain.ys[0]);
  for (std::size_t i = 0; i < chain.xs.size(); ++i) {
    const int x = chain.xs[i];
    const int y = chain.ys[i];
    if (i > 0) {
      c.line_to(x, y);
    }
    c.select(pen);
    c.select(brush);
    c.ellipse(x - radius, y - radius, x + radius, y + radius);
  }
  c.select(old_pen);
  c.select(old_brush);
  c.delete_object(pen);
  c.delete_object(brush);
}

// Walks on the default 400 × 400 landscape, then the window grows to
// 800 × 600. Without hills every step and every exchange is accepted, so the
// chains jump across the window and the lines are long; with hills many
// steps are refused and the lines short.
void full_paint_million_steps_four_chains(benchmark::State& state, bool hills) {
  Simulation sim;
  sim.set_chain_count(4);
  sim.nsteps = 1000000;
  sim.rn_seed = 12345;
  if (hills) {
    const double spots[][6] = {
        {100, 120, 30, 25, 0.3, 1.0}, {280, 260, 40, 40, -0.6, 2.0}, {200, 60, 15, 50, 0.9, 0.5}};
    for (const auto& s : spots) {
      Hill hill;
      hill.mean_x = s[0];
      hill.mean_y = s[1];
      hill.stddev_x = s[2];
      hill.stddev_y = s[3];
      hill.correlation = s[4];
      hill.weight = s[5];
      sim.hills.push_back(hill);
    }
    sim.normalize_weights();
    sim.ignore_topography = false;
  }
  sim.clear();
  sim.walk(true);
  sim.rescale(kWidth, kHeight);
  RasterCanvas canvas(kWidth, kHeight);
  Canvas& c = canvas;
  std::size_t samples = 0;
  double line_pixels = 0;
  for (int k = 0; k < 4; ++k) {
    const Chain& chain = sim.chains[k];
    samples += chain.xs.size();
    for (std::size_t i = 1; i < chain.xs.size(); ++i) {
      line_pixels += std::max(std::abs(chain.xs[i] - chain.xs[i - 1]),
                              std::abs(chain.ys[i] - chain.ys[i - 1]));
    }
  }
  for (auto _ : state) {
    c.fill_rect(Rect{0, 0, kWidth, kHeight}, c.stock_object(StockObject::black_brush));
    for (int k = 3; k >= 0; --k) {
      draw_samples(c, sim.chains[k], sim.dot_radius);
    }
  }
  benchmark::DoNotOptimize(canvas.pixels());
  state.counters["samples"] = static_cast<double>(samples);
  state.counters["line_pixels_per_sample"] = line_pixels / static_cast<double>(samples);
  state.counters["ns_per_sample"] =
      benchmark::Counter(static_cast<double>(samples) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(full_paint_million_steps_four_chains, three_hills, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(full_paint_million_steps_four_chains, no_hills, false)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wandrix
