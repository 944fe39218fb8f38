#include "view/diagnostics.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "view/raster_canvas.h"
#include "view/recording_canvas.h"
#include "view/sample_summary.h"

namespace wandrix {
namespace {

using ::testing::IsEmpty;

Chain chain_with(std::vector<std::int32_t> xs, std::vector<std::int32_t> ys) {
  Chain chain;
  chain.xs = std::move(xs);
  chain.ys = std::move(ys);
  return chain;
}

TEST(SampleSummary, CountsEachPositionInTheCellItCameFrom) {
  // Landscape 10 x 10: client y 10 is landscape y 0, client y 0 is y 10.
  const Chain chain = chain_with({0, 5, 10, 10}, {10, 2, 0, 9});
  const SampleSummary s = summarise_samples(chain, 10, 10, 5, 2);
  EXPECT_EQ(s.samples, 4u);
  // x: cells 0, 5, 9 (the wall joins the last cell) and 9, two cells a bin.
  EXPECT_EQ(s.x.histogram.counts, (std::vector<std::uint64_t>{1, 0, 1, 0, 2}));
  // y = 0, 8, 10, 1 lie in the cells 0 (the floor joins the first), 7, 9, 0.
  EXPECT_EQ(s.y.histogram.counts, (std::vector<std::uint64_t>{2, 0, 0, 1, 1}));
  EXPECT_DOUBLE_EQ(s.x.histogram.density(4), 2.0 / 4.0 / 2.0);
  EXPECT_DOUBLE_EQ(s.x.histogram.density(1), 0.0);
  // Two columns of two samples each; the second reaches back to the
  // first's last position, 5.
  ASSERT_EQ(s.x.trace.size(), 2u);
  EXPECT_EQ(s.x.trace[0].low, 0.0);
  EXPECT_EQ(s.x.trace[0].high, 5.0);
  EXPECT_EQ(s.x.trace[0].mean(), 2.5);
  EXPECT_EQ(s.x.trace[1].low, 5.0);
  EXPECT_EQ(s.x.trace[1].high, 10.0);
  EXPECT_EQ(s.x.trace[1].mean(), 10.0);
  EXPECT_EQ(landscape_positions(chain, 10, false), (std::vector<double>{0, 8, 10, 1}));
}

TEST(SampleSummary, FewSamplesLeaveColumnsEmpty) {
  const SampleSummary s = summarise_samples(chain_with({1, 2, 3}, {4, 5, 6}), 10, 10, 10, 5);
  std::vector<bool> used;
  for (const TraceColumn& c : s.x.trace) {
    used.push_back(c.used());
  }
  EXPECT_EQ(used, (std::vector<bool>{true, true, false, true, false}));
  const SampleSummary none = summarise_samples(Chain{}, 10, 10, 10, 5);
  EXPECT_EQ(none.samples, 0u);
  EXPECT_EQ(none.x.histogram.density(0), 0.0);
}

TEST(SampleSummary, ANarrowLastBinJoinsTheOneBefore) {
  struct Case {
    int extent, target, bin_width;
    std::vector<double> highs;
  };
  const std::vector<Case> cases = {
      {10, 5, 2, {2, 4, 6, 8, 10}},
      {11, 5, 3, {3, 6, 9, 11}},    // 2 of 3 cells left over: a bin of their own
      {21, 5, 5, {5, 10, 15, 21}},  // 1 of 5 left over: joins the last
      {3, 10, 1, {1, 2, 3}},
      {400, 1, 400, {400}},
  };
  for (const Case& c : cases) {
    const Histogram h = summarise_samples(Chain{}, c.extent, 1, c.target, 1).x.histogram;
    EXPECT_EQ(h.bin_width, c.bin_width) << c.extent;
    std::vector<double> highs;
    for (std::size_t b = 0; b < h.counts.size(); ++b) {
      highs.push_back(h.bin_high(b));
      EXPECT_EQ(h.bin_low(b), b == 0 ? 0.0 : highs[b - 1]);
    }
    EXPECT_EQ(highs, c.highs) << c.extent;
  }
}

TEST(Diagnostics, HasARowForChainOneAndEachShownChain) {
  struct Case {
    int nchains, shown;
    std::vector<int> rows;
  };
  const std::vector<Case> cases = {
      {1, 1, {1}}, {4, 0, {1, 2, 3, 4}}, {3, 2, {1, 2}}, {4, 1, {1}}, {2, 3, {1}},
  };
  const Simulation one_chain;
  for (const Case& c : cases) {
    Simulation sim;
    sim.set_chain_count(c.nchains);
    sim.set_shown_chain(c.shown);
    EXPECT_EQ(diagnosed_chains(sim), c.rows) << c.nchains << " chains, shown " << c.shown;
    EXPECT_EQ(
        diagnostics_picture_rect(sim).height(),
        diagnostics_picture_rect(one_chain).height() + (static_cast<int>(c.rows.size()) - 1) * 190);
  }
}

std::set<std::uint32_t> colours_of(const RasterCanvas& canvas) {
  std::set<std::uint32_t> colours;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      colours.insert(canvas.pixel(x, y));
    }
  }
  return colours;
}

void walk(Simulation& sim, int nchains, int shown, int steps) {
  sim.rn_seed = 99;
  sim.clear();
  Hill hill;
  hill.mean_x = 150;
  hill.mean_y = 250;
  hill.stddev_x = 40;
  hill.stddev_y = 30;
  hill.correlation = 0.4;
  sim.add_confirmed_hill(hill);
  sim.change_chain_count(nchains);
  sim.show_chain(shown);
  sim.nsteps = steps;
  if (steps > 0) {
    sim.start_walking();
  }
}

TEST(Diagnostics, ShowsEveryDiagnosedChainInItsColour) {
  for (const int shown : {1, 0}) {
    Simulation sim;
    walk(sim, 4, shown, 3000);
    const Rect rect = diagnostics_picture_rect(sim);
    RasterCanvas canvas(rect.width(), rect.height());
    draw_diagnostics(sim, canvas, rect);
    const auto colours = colours_of(canvas);
    for (int k = 1; k <= 4; ++k) {
      const bool expected = shown == 0 || k == 1;
      const Colour colour = sim.chains[static_cast<std::size_t>(k - 1)].colour;
      EXPECT_EQ(colours.count(RasterCanvas::pixel_of(colour)) == 1, expected) << "chain " << k;
    }
    EXPECT_EQ(colours.count(RasterCanvas::pixel_of(kDiagnosticsInk)), 1u);
    EXPECT_EQ(colours.count(RasterCanvas::pixel_of(kDiagnosticsBackground)), 1u);
  }
}

TEST(Diagnostics, DrawsWithoutSamplesAndInBoxesTooSmallForPlots) {
  Simulation sim;
  walk(sim, 1, 1, 0);
  for (const Rect& rect : {Rect{0, 0, 1000, 400}, Rect{0, 0, 120, 60}, Rect{0, 0, 3, 3}}) {
    testing::RecordingCanvas recording;
    draw_diagnostics(sim, recording, rect);
    EXPECT_THAT(recording.errors(), IsEmpty());
    RasterCanvas canvas(rect.width(), rect.height());
    draw_diagnostics(sim, canvas, rect);
    // The background at least; no chain has samples, so no chain colour.
    EXPECT_EQ(canvas.pixel(0, 0), RasterCanvas::pixel_of(kDiagnosticsBackground));
    EXPECT_EQ(colours_of(canvas).count(RasterCanvas::pixel_of(sim.chains[0].colour)), 0u);
  }
}

}  // namespace
}  // namespace wandrix
