#include "model/summary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "fake_host.h"
#include "model/portable_math.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

Hill round_hill(double mx, double my, double sigma, double rho = 0.0) {
  Hill hill;
  hill.label = "h";
  hill.mean_x = mx;
  hill.mean_y = my;
  hill.stddev_x = sigma;
  hill.stddev_y = sigma;
  hill.correlation = rho;
  return hill;
}

// Appends a sample given in landscape coordinates (y upward) to a chain of a
// 400 by 400 landscape.
void add_sample(Chain& chain, int x, int y) {
  chain.xs.push_back(x);
  chain.ys.push_back(400 - y);
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    lines.push_back(line);
  }
  return lines;
}

TEST(Summary, TextForNinetySixAndHundredEightyEightOfTwoHundred) {
  Simulation sim;
  sim.hills.push_back(round_hill(200, 200, 10));
  Chain& chain = sim.chains[0];
  add_sample(chain, 300, 300);  // the start point is never examined
  for (int i = 0; i < 96; ++i) {
    add_sample(chain, 205, 200);  // 5 from the centre: inside both
  }
  for (int i = 0; i < 92; ++i) {
    add_sample(chain, 200, 185);  // 15: outside 11.77, inside 24.48
  }
  for (int i = 0; i < 12; ++i) {
    add_sample(chain, 250, 200);  // 50: outside both
  }
  const SummaryCounts counts = summary_counts(sim);
  EXPECT_EQ(counts, (SummaryCounts{200, 96, 188}));
  const std::vector<std::string> expected = {
      "Number of points sampled: 200",
      "",
      "Percent inside inner circles: 48.0",
      "  expected: 100.0",
      "  observed: 96",
      "",
      "Percent inside outer circles: 94.0",
      "  expected: 190.0",
      "  observed: 188",
  };
  const std::string text = summary_text(counts);
  EXPECT_EQ(lines_of(text), expected);
  EXPECT_NE(text.back(), '\n');
}

TEST(Summary, NothingExaminedReadsZero) {
  Simulation sim;
  EXPECT_EQ(summary_text(summary_counts(sim)),
            "Number of points sampled: 0\n\nPercent inside inner circles: 0.0\n  expected: 0.0\n"
            "  observed: 0\n\nPercent inside outer circles: 0.0\n  expected: 0.0\n  observed: 0");
  // A single sample (the start point) examines nothing either, with or
  // without hills.
  add_sample(sim.chains[0], 200, 200);
  sim.hills.push_back(round_hill(200, 200, 10));
  EXPECT_EQ(summary_counts(sim), (SummaryCounts{0, 0, 0}));
}

TEST(Summary, OnTheContourIsOutsideAndTheCentreIsInside) {
  // A sample straight right of the centre: its distance is exactly the
  // offset, and the contour distance in that direction is computed as below.
  const double sigma = 7.0;
  const double phi = math::atan(-1.0);
  const double shape =
      std::sqrt(1.0 * (math::cos(phi) * math::cos(phi)) + 1.0 * (math::sin(phi) * math::sin(phi)));
  const double r = std::sqrt(kInnerRadiusSquared) * sigma * shape;
  Chain chain;
  chain.xs = {0, 0};
  chain.ys = {200, 200};
  EXPECT_EQ(count_inside(chain, 400, round_hill(-r, 200, sigma)), (SummaryCounts{1, 0, 1}));
  const double closer = std::nextafter(r, 0.0);
  EXPECT_EQ(count_inside(chain, 400, round_hill(-closer, 200, sigma)), (SummaryCounts{1, 1, 1}));
  // At the centre, even of a hill without spread.
  EXPECT_EQ(count_inside(chain, 400, round_hill(0, 200, 0.0)), (SummaryCounts{1, 1, 1}));
}

TEST(Summary, CorrelationStretchesAlongTheDiagonal) {
  // Inner radius for sigma 10: 11.77; with rho 0.5 it is 14.42 along the
  // diagonal x = y and 8.33 across it.
  Chain along;
  along.xs = {0, 209};
  along.ys = {0, 400 - 209};  // (9, 9) from the centre: 12.73
  Chain across;
  across.xs = {0, 206};
  across.ys = {0, 400 - 194};  // (6, -6) from the centre: 8.49
  EXPECT_EQ(count_inside(along, 400, round_hill(200, 200, 10, 0.5)).inner, 1);
  EXPECT_EQ(count_inside(along, 400, round_hill(200, 200, 10, 0.0)).inner, 0);
  EXPECT_EQ(count_inside(across, 400, round_hill(200, 200, 10, 0.5)).inner, 0);
  EXPECT_EQ(count_inside(across, 400, round_hill(200, 200, 10, 0.0)).inner, 1);
  // Negative correlation turns the ellipse the other way.
  EXPECT_EQ(count_inside(across, 400, round_hill(200, 200, 10, -0.5)).inner, 1);
  EXPECT_EQ(count_inside(along, 400, round_hill(200, 200, 10, -0.5)).inner, 0);
}

TEST(Summary, SpreadIsTheMeanOfBothDeviations) {
  Hill hill = round_hill(200, 200, 0);
  hill.stddev_x = 4.0;
  hill.stddev_y = 16.0;  // sigma 10: inner 11.77
  Chain chain;
  chain.xs = {0, 211, 200};
  chain.ys = {0, 200, 400 - 188};  // 11 right, 12 below
  EXPECT_EQ(count_inside(chain, 400, hill), (SummaryCounts{2, 1, 2}));
}

TEST(Summary, OverlappingHillsCountTwiceAndOnlyChainOneCounts) {
  Simulation sim;
  sim.hills.push_back(round_hill(100, 100, 10));
  sim.hills.push_back(round_hill(100, 100, 10));
  sim.hills.push_back(round_hill(300, 300, 10));
  sim.set_chain_count(3);
  sim.set_shown_chain(0);
  Chain& first = sim.chains[0];
  add_sample(first, 0, 0);
  add_sample(first, 101, 101);
  add_sample(first, 300, 305);
  add_sample(first, 0, 399);
  for (std::size_t k = 1; k < 4; ++k) {
    for (int i = 0; i < 50; ++i) {
      add_sample(sim.chains[k], 100, 100);
    }
  }
  const SummaryCounts counts = summary_counts(sim);
  EXPECT_EQ(counts, (SummaryCounts{3, 3, 3}));
  EXPECT_EQ(lines_of(summary_text(counts))[2], "Percent inside inner circles: 100.0");
}

TEST(Summary, PercentagesRoundToOneDecimal) {
  EXPECT_EQ(lines_of(summary_text({3, 1, 2}))[2], "Percent inside inner circles: 33.3");
  EXPECT_EQ(lines_of(summary_text({3, 1, 2}))[3], "  expected: 1.5");
  EXPECT_EQ(lines_of(summary_text({3, 1, 2}))[6], "Percent inside outer circles: 66.7");
  EXPECT_EQ(lines_of(summary_text({3, 1, 2}))[7],
            "  expected: 2.8");  // 3 x 0.95 is just below 2.85
  EXPECT_EQ(lines_of(summary_text({3, 7, 2}))[2], "Percent inside inner circles: 233.3");
}

TEST(Summary, MessageBoxThenClipboard) {
  testing::FakeHost host;
  Simulation sim(host);
  sim.hills.push_back(round_hill(200, 200, 10));
  add_sample(sim.chains[0], 0, 0);
  add_sample(sim.chains[0], 200, 200);
  summarize(sim);
  const std::string text = summary_text({1, 1, 1});
  EXPECT_EQ(host.calls, (std::vector<std::string>{"message_box", "set_clipboard_text"}));
  EXPECT_EQ(host.boxes[0].caption, "Summary of results");
  EXPECT_EQ(host.boxes[0].text, text);
  EXPECT_EQ(host.clipboard_text, text);
}

}  // namespace
}  // namespace wandrix
