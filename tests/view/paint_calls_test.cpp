// The exact drawing calls of a paint, recorded by the fake canvas.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "fake_host.h"
#include "model/colours.h"
#include "recording_canvas.h"
#include "view/paint.h"

namespace wandrix {
namespace {

using ::testing::ElementsAre;
using testing::FakeHost;
using ::testing::IsEmpty;
using testing::RecordingCanvas;

Hill make_hill(double mx, double my, double s, double rho) {
  Hill hill;
  hill.label = "h";
  hill.mean_x = mx;
  hill.mean_y = my;
  hill.stddev_x = s;
  hill.stddev_y = s;
  hill.correlation = rho;
  return hill;
}

void set_samples(Chain& chain, std::vector<std::int32_t> xs, std::vector<std::int32_t> ys) {
  chain.xs = std::move(xs);
  chain.ys = std::move(ys);
  chain.zs.clear();
}

// The calls after the first one that starts with `prefix`.
std::vector<std::string> from(const RecordingCanvas& canvas, const std::string& prefix) {
  const auto& calls = canvas.calls();
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].rfind(prefix, 0) == 0) {
      return {calls.begin() + static_cast<std::ptrdiff_t>(i), calls.end()};
    }
  }
  return {};
}

void expect_tidy(const RecordingCanvas& canvas) {
  EXPECT_THAT(canvas.errors(), IsEmpty()) << canvas.text();
  EXPECT_EQ(canvas.live_objects(), 0);
  EXPECT_TRUE(canvas.selections_restored());
}

TEST(PaintCalls, FreshWindowIsBlackBackgroundOnly) {
  FakeHost host;
  Simulation sim(host);
  RecordingCanvas canvas;
  paint(sim, canvas, client_rect(sim), false);
  EXPECT_THAT(canvas.calls(), ElementsAre("stock black_brush -> black_brush",
                                          "fill_rect 0 0 400 400 brush black_brush",
                                          "create_pen ffff00 -> 1", "delete 1"));
  EXPECT_THAT(host.cursors, ElementsAre(Cursor::wait, Cursor::arrow));
  expect_tidy(canvas);
}

TEST(PaintCalls, ExportIsWhiteWithBlackContoursAndAlwaysFull) {
  Simulation sim;
  sim.hills.push_back(make_hill(200, 200, 10, 0));
  sim.full_redraw = false;
  sim.run_first_step = 5;
  RecordingCanvas canvas;
  paint(sim, canvas, Rect{0, 0, 392, 346}, true);
  const auto& calls = canvas.calls();
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls[0], "stock white_brush -> white_brush");
  EXPECT_EQ(calls[1], "fill_rect 0 0 392 346 brush white_brush");
  EXPECT_EQ(calls[2], "create_pen 000000 -> 1");
  EXPECT_EQ(calls[3], "select 1 -> black_pen");
  EXPECT_EQ(sim.draw_from_step, 0);
  EXPECT_TRUE(sim.full_redraw);
  expect_tidy(canvas);
}

TEST(PaintCalls, ContoursAreTwoClosedPolygonsOf32SidesPerHill) {
  Simulation sim;
  sim.hills = {make_hill(200, 200, 10, 0), make_hill(100, 300, 20, 0.5)};
  RecordingCanvas canvas;
  paint(sim, canvas, client_rect(sim), false);
  EXPECT_EQ(canvas.count("move_to"), 4);
  EXPECT_EQ(canvas.count("line_to"), 4 * 32);
  // First point of the inner circle of the first hill: t = 0 lies on the
  // 45 degree axis, at 1.1774 s from the centre (landscape y up, client down).
  EXPECT_EQ(from(canvas, "move_to")[0], "move_to 208 191");
  // The last line closes the polygon on its first point.
  const auto calls = canvas.calls();
  const auto second_move = std::find(calls.begin(), calls.end(), from(canvas, "move_to")[0]);
  EXPECT_EQ(*(second_move + 32), "line_to 208 191");
  EXPECT_EQ(calls.back(), "delete 1");
  expect_tidy(canvas);
}

// Client points of the polygons as (x, y) pairs.
std::vector<Point> contour_points(const RecordingCanvas& canvas) {
  std::vector<Point> points;
  for (const std::string& call : canvas.calls()) {
    int x = 0;
    int y = 0;
    if (std::sscanf(call.c_str(), "move_to %d %d", &x, &y) == 2 ||
        std::sscanf(call.c_str(), "line_to %d %d", &x, &y) == 2) {
      points.push_back({x, y});
    }
  }
  return points;
}

TEST(PaintCalls, ContourShapeFollowsSpreadAndCorrelation) {
  Simulation sim;
  sim.hills = {make_hill(200, 200, 40, 0)};
  RecordingCanvas round;
  paint(sim, round, client_rect(sim), false);
  const auto circle = contour_points(round);
  ASSERT_EQ(circle.size(), 66u);
  for (std::size_t i = 0; i < circle.size(); ++i) {
    const double radius = (i < 33 ? std::sqrt(1.3863) : std::sqrt(5.9915)) * 40;
    const double r = std::hypot(circle[i].x - 200.0, circle[i].y - 200.0);
    EXPECT_NEAR(r, radius, 1.5) << i;
  }
  // Correlation 0.9: long along the rising diagonal of the screen (right and
  // up), short along the falling one.
  sim.hills = {make_hill(200, 200, 40, 0.9)};
  RecordingCanvas stretched;
  paint(sim, stretched, client_rect(sim), false);
  double rising = 0;
  double falling = 0;
  for (const Point& p : contour_points(stretched)) {
    const double dx = p.x - 200.0;
    const double dy = 200.0 - p.y;  // up is positive
    rising = std::max(rising, std::fabs(dx + dy) / std::sqrt(2.0));
    falling = std::max(falling, std::fabs(dx - dy) / std::sqrt(2.0));
  }
  EXPECT_NEAR(rising, std::sqrt(5.9915) * 40 * std::sqrt(1.9), 2.0);
  EXPECT_NEAR(falling, std::sqrt(5.9915) * 40 * std::sqrt(0.1), 2.0);
}

TEST(PaintCalls, ChainsDrawnFromLastToFirstSoChainOneIsOnTop) {
  Simulation sim;
  sim.set_chain_count(4);
  sim.set_shown_chain(0);
  sim.steps_done = 1;
  for (int k = 0; k < 4; ++k) {
    set_samples(sim.chains[k], {10 * k, 11 * k}, {20, 21});
  }
  RecordingCanvas canvas;
  paint(sim, canvas, client_rect(sim), false);
  std::vector<std::string> chain_pens;
  for (const std::string& call : canvas.calls()) {
    if (call.rfind("create_pen", 0) == 0 && call.find("ffffff") == std::string::npos &&
        call.find("ffff00") == std::string::npos) {
      chain_pens.push_back(call.substr(11, 6));
    }
  }
  std::vector<std::string> expected;
  for (int k = 4; k >= 1; --k) {
    expected.push_back(RecordingCanvas::colour_text(chain_colour(k, 4)));
  }
  EXPECT_EQ(chain_pens, expected);
  expect_tidy(canvas);
}

TEST(PaintCalls, OneChainSequenceWithWhiteStartDot) {
  Simulation sim;
  sim.steps_done = 2;
  set_samples(sim.chains[0], {100, 110, 130}, {200, 190, 195});
  sim.chains[0].colour = make_colour(0, 0, 255);
  RecordingCanvas canvas;
  paint(sim, canvas, client_rect(sim), false);
  EXPECT_THAT(
      from(canvas, "create_pen ffffff"),
      ElementsAre("create_pen ffffff -> 2", "create_brush ffffff -> 3", "create_pen 0000ff -> 4",
                  "create_brush 0000ff -> 5", "move_to 100 200", "select 2 -> black_pen",
                  "select 3 -> white_brush", "ellipse 98 198 102 202", "select 4 -> 2",
                  "select 5 -> 3", "line_to 110 190", "ellipse 108 188 112 192", "line_to 130 195",
                  "ellipse 128 193 132 197", "select black_pen -> 4", "select white_brush -> 5",
                  "delete 2", "delete 3", "delete 4", "delete 5"));
  EXPECT_TRUE(sim.full_redraw);
  expect_tidy(canvas);
}

TEST(PaintCalls, TrajectoryOffAndDotRadius) {
  Simulation sim;
  sim.steps_done = 2;
  sim.show_trajectory = false;
  sim.dot_radius = 10;
  set_samples(sim.chains[0], {100, 110, 130}, {200, 190, 195});
  RecordingCanvas canvas;
  paint(sim, canvas, client_rect(sim), false);
  EXPECT_EQ(canvas.count("line_to"), 0);
  EXPECT_EQ(canvas.count("ellipse 90 190 110 210"), 1);
  EXPECT_EQ(canvas.count("ellipse 120 185 140 205"), 1);
  sim.dot_radius = 1;
  RecordingCanvas small;
  paint(sim, small, client_rect(sim), false);
  EXPECT_EQ(small.count("ellipse 99 199 101 201"), 1);
  expect_tidy(small);
}

TEST(PaintCalls, RepeatedSamplesAreDrawnOnceButStartDotIsRecoloured) {
  Simulation sim;
  sim.steps_done = 5;
  set_samples(sim.chains[0], {50, 50, 60, 60, 60, 50}, {50, 50, 70, 70, 70, 50});
  RecordingCanvas canvas;
  paint(sim, canvas, client_rect(sim), false);
  // The start dot is white; the refused first step redraws it in colour.
  EXPECT_EQ(canvas.count("ellipse 48 48 52 52"), 3);  // white, colour, and the last sample
  EXPECT_EQ(canvas.count("ellipse 58 68 62 72"), 1);
  EXPECT_EQ(canvas.count("line_to"), 3);
  expect_tidy(canvas);
}

TEST(PaintCalls, ShownChainOnlyAndNoSamplesBeforeAnyStep) {
  Simulation sim;
  sim.set_chain_count(3);
  sim.set_shown_chain(2);
  for (auto& chain : sim.chains) {
    set_samples(chain, {1, 2}, {3, 4});
  }
  RecordingCanvas none;
  paint(sim, none, client_rect(sim), false);
  EXPECT_EQ(none.count("ellipse"), 0);  // steps_done is 0
  sim.steps_done = 1;
  RecordingCanvas canvas;
  paint(sim, canvas, client_rect(sim), false);
  EXPECT_EQ(canvas.count("create_pen " + RecordingCanvas::colour_text(sim.chains[1].colour)), 1);
  EXPECT_EQ(canvas.count("ellipse"), 2);
  // A shown chain without samples draws nothing.
  sim.chains[3].clear_samples();
  sim.set_shown_chain(4);
  RecordingCanvas empty;
  paint(sim, empty, client_rect(sim), false);
  EXPECT_EQ(empty.count("ellipse"), 0);
  expect_tidy(empty);
}

TEST(PaintCalls, ContinueWalkingAddsOnlyTheNewSamples) {
  FakeHost host;
  Simulation sim(host);
  sim.rn_seed = 12345;
  sim.clear();
  sim.nsteps = 10;
  sim.start_walking();
  RecordingCanvas full;
  paint(sim, full, client_rect(sim), false);
  sim.continue_walking();
  ASSERT_FALSE(sim.full_redraw);
  ASSERT_EQ(sim.run_first_step, 10);
  RecordingCanvas more;
  paint(sim, more, client_rect(sim), false);
  EXPECT_EQ(more.count("fill_rect"), 0);
  EXPECT_EQ(more.count("create_pen ffff00"), 1);  // hills are always redrawn
  const Chain& chain = sim.chains[0];
  const auto tail = from(more, "move_to");
  ASSERT_FALSE(tail.empty());
  EXPECT_EQ(tail[0],
            "move_to " + std::to_string(chain.xs[10]) + " " + std::to_string(chain.ys[10]));
  // The first dot of the increment is in the chain's colour, not white.
  EXPECT_EQ(tail[1], "select 4 -> black_pen");
  EXPECT_EQ(sim.draw_from_step, 10);
  EXPECT_TRUE(sim.full_redraw);
  expect_tidy(more);
  // The next paint (a Refresh) is full again, white start dot included.
  RecordingCanvas refresh;
  paint(sim, refresh, client_rect(sim), false);
  EXPECT_EQ(refresh.count("fill_rect"), 1);
  EXPECT_EQ(from(refresh, "move_to")[1], "select 2 -> black_pen");
}

// First move_to of each chain's drawing, in drawing order.
std::vector<std::string> chain_starts(const RecordingCanvas& canvas) {
  std::vector<std::string> starts;
  const auto& calls = canvas.calls();
  for (std::size_t i = 1; i < calls.size(); ++i) {
    if (calls[i].rfind("move_to", 0) == 0 && calls[i - 1].rfind("create_brush", 0) == 0) {
      starts.push_back(calls[i]);
    }
  }
  return starts;
}

std::string move_to_sample(const Chain& chain, std::size_t i) {
  return "move_to " + std::to_string(chain.xs[i]) + " " + std::to_string(chain.ys[i]);
}

TEST(PaintCalls, IncrementalPaintOfManyChainsStartsAtEachChainsLastShownSample) {
  Simulation sim;
  sim.rn_seed = 777;
  sim.set_chain_count(4);
  sim.set_shown_chain(0);
  sim.clear();
  sim.nsteps = 200;
  sim.start_walking();
  RecordingCanvas full;
  paint(sim, full, client_rect(sim), false);
  std::array<std::size_t, 4> shown{};
  for (int k = 0; k < 4; ++k) {
    shown[k] = sim.chains[k].xs.size();
    EXPECT_EQ(sim.chains[k].painted_samples, shown[k]);
  }
  ASSERT_GT(shown[0], 201u) << "exchanges add samples";
  // Two walks before the window gets to paint: both are added.
  sim.nsteps = 5;
  sim.continue_walking();
  sim.continue_walking();
  RecordingCanvas more;
  paint(sim, more, client_rect(sim), false);
  std::vector<std::string> expected;
  for (int k = 3; k >= 0; --k) {
    expected.push_back(move_to_sample(sim.chains[k], shown[k] - 1));
  }
  EXPECT_EQ(chain_starts(more), expected);
  EXPECT_EQ(more.count("fill_rect"), 0);
  // An export draws everything and leaves the window's record alone.
  const std::size_t painted = sim.chains[0].painted_samples;
  sim.nsteps = 3;
  sim.continue_walking();
  RecordingCanvas exported;
  paint(sim, exported, client_rect(sim), true);
  EXPECT_EQ(chain_starts(exported)[3], move_to_sample(sim.chains[0], 0));
  EXPECT_EQ(sim.chains[0].painted_samples, painted);
  expect_tidy(more);
}

TEST(PaintCalls, RotationAtZeroAnglesDrawsTheFlatView) {
  Simulation sim;
  sim.hills = {make_hill(150, 220, 30, -0.4)};
  sim.allow_rotation = true;
  sim.ignore_topography = false;
  sim.normalize_weights();
  sim.nsteps = 50;
  sim.start_walking();
  ASSERT_EQ(sim.chains[0].zs.size(), sim.chains[0].xs.size());
  RecordingCanvas rotated;
  paint(sim, rotated, client_rect(sim), false);
  sim.allow_rotation = false;
  RecordingCanvas flat;
  paint(sim, flat, client_rect(sim), false);
  EXPECT_EQ(rotated.calls(), flat.calls());
}

TEST(PaintCalls, OutOfRangeValuesDrawWithoutFault) {
  Simulation sim;
  sim.hills = {make_hill(1e300, -1e300, 1e300, 0), make_hill(NAN, 0, 1, 0),
               make_hill(200, 200, 10, 2.0)};
  sim.steps_done = 1;
  set_samples(sim.chains[0], {2147483647, -2147483647 - 1}, {0, 5});
  sim.run_first_step = 7;  // beyond the samples: nothing to add
  sim.full_redraw = false;
  RecordingCanvas canvas;
  paint(sim, canvas, client_rect(sim), false);
  EXPECT_EQ(canvas.count("move_to"), 2);  // only the finite hill's polygons
  EXPECT_EQ(canvas.count("ellipse"), 0);
  expect_tidy(canvas);
  // Drawn in full, the far samples are held at the edge of the int range.
  RecordingCanvas full;
  paint(sim, full, client_rect(sim), true);
  EXPECT_EQ(full.count("ellipse 1073741822 -2 1073741826 2"), 1);
  EXPECT_EQ(full.count("ellipse -2147483648"), 0);
  expect_tidy(full);
}

}  // namespace
}  // namespace wandrix
