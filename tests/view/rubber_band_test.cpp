// The rubber band that outlines a new hill, and the hill it makes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_host.h"
#include "recording_canvas.h"
#include "view/rubber_band.h"

namespace wandrix {
namespace {

using ::testing::ElementsAre;
using testing::FakeHost;
using ::testing::IsEmpty;
using testing::RecordingCanvas;

std::vector<std::string> rectangles(const RecordingCanvas& canvas) {
  std::vector<std::string> out;
  for (const std::string& call : canvas.calls()) {
    if (call.rfind("rectangle", 0) == 0) {
      out.push_back(call);
    }
  }
  return out;
}

TEST(RubberBand, InvertRectangleOutlinesInInvertModeWithHollowBrush) {
  RecordingCanvas canvas;
  invert_rectangle(canvas, 100, 100, 40, 40);
  EXPECT_THAT(canvas.calls(),
              ElementsAre("set_invert 1", "stock hollow_brush -> hollow_brush",
                          "select hollow_brush -> white_brush", "rectangle 40 40 100 100",
                          "select white_brush -> hollow_brush", "set_invert 0"));
  EXPECT_TRUE(canvas.selections_restored());
  EXPECT_THAT(canvas.errors(), IsEmpty());
}

TEST(RubberBand, CornerMakesASquareFromTheMouseX) {
  EXPECT_EQ(band_corner({100, 100}, 160), (Point{160, 160}));
  EXPECT_EQ(band_corner({100, 100}, 40), (Point{40, 40}));
  EXPECT_EQ(band_corner({100, 100}, 100), (Point{100, 100}));
  EXPECT_EQ(band_corner({10, 5}, -30), (Point{-30, -35}));  // left of the window
}

struct BandFixture : ::testing::Test {
  FakeHost host;
  Simulation sim{host};
  RecordingCanvas canvas;
  BandDrag band;

  void SetUp() override { sim.rescale(400, 360); }
};

TEST_F(BandFixture, DragOutlinesTheSquareAndReleasesTheMouse) {
  band.press(host, canvas, {100, 100});
  band.move(host, canvas, {160, 30});
  EXPECT_EQ(band.corner(), (Point{160, 160}));
  EXPECT_TRUE(band.release(host, canvas, {160, 30}));
  EXPECT_THAT(rectangles(canvas),
              ElementsAre("rectangle 100 100 100 100", "rectangle 100 100 100 100",
                          "rectangle 100 100 160 160", "rectangle 100 100 160 160"));
  EXPECT_FALSE(band.active());
  EXPECT_EQ(band.anchor(), (Point{100, 100}));
  EXPECT_EQ(band.corner(), (Point{160, 160}));
  EXPECT_THAT(host.captures, ElementsAre(true, false));
  EXPECT_EQ(host.cursors.front(), Cursor::cross);
  EXPECT_EQ(host.cursors.back(), Cursor::arrow);
  EXPECT_TRUE(canvas.selections_restored());
  EXPECT_FALSE(canvas.invert());
}

TEST_F(BandFixture, ReleaseFollowsTheMouseXEvenOutsideTheWindow) {
  const struct {
    Point anchor, release, corner;
  } cases[] = {
      {{100, 100}, {40, 250}, {40, 40}},     // left of the anchor: the square above
      {{200, 100}, {200, 100}, {200, 100}},  // a click without motion
      {{20, 30}, {-40, 300}, {-40, -30}},    // left of the window: signed
  };
  for (const auto& c : cases) {
    band.press(host, canvas, c.anchor);
    EXPECT_TRUE(band.release(host, canvas, c.release));
    EXPECT_EQ(band.corner(), c.corner);
  }
}

TEST_F(BandFixture, NewHillIsCentredOnTheSquareWithHalfItsSides) {
  new_hill_from_rectangle(sim, 100, 100, 160, 160);
  new_hill_from_rectangle(sim, 20, 30, -40, -30);    // the centre's y is 0
  new_hill_from_rectangle(sim, 200, 100, 200, 100);  // no size: the dialog still opens
  ASSERT_EQ(sim.hills.size(), 3u);
  const Hill& hill = sim.hills[0];
  EXPECT_EQ(hill.label, "new hill");
  EXPECT_EQ(hill.mean_x, 130.0);
  EXPECT_EQ(hill.mean_y, 360.0 - 130.0);
  EXPECT_EQ(hill.stddev_x, 30.0);
  EXPECT_EQ(hill.stddev_y, 30.0);
  EXPECT_EQ(hill.correlation, 0.0);
  EXPECT_EQ(hill.weight, 1.0);
  EXPECT_EQ(sim.hills[1].mean_x, -10.0);
  EXPECT_EQ(sim.hills[1].mean_y, 360.0);
  EXPECT_EQ(sim.hills[1].stddev_x, 30.0);
  EXPECT_EQ(sim.hills[2].stddev_x, 0.0);
  EXPECT_EQ(sim.hills[2].stddev_y, 0.0);
  EXPECT_EQ(sim.current_hill, 2);
  EXPECT_FALSE(sim.ignore_topography);
  EXPECT_EQ(host.hill_dialogs, 3);
  EXPECT_EQ(host.invalidations, 3);
}

TEST_F(BandFixture, OkRenormalisesAllWeightsAndOddSumsDropTheHalf) {
  sim.hills.push_back(Hill{"old", 50, 50, 10, 10, 0, 3.0, 1.0});
  sim.ignore_topography = true;
  new_hill_from_rectangle(sim, 101, 20, 150, 69);
  ASSERT_EQ(sim.hills.size(), 2u);
  EXPECT_EQ(sim.hills[1].mean_x, 125.0);
  EXPECT_EQ(sim.hills[1].mean_y, 360.0 - 44.0);
  EXPECT_EQ(sim.hills[1].stddev_x, 24.5);
  EXPECT_EQ(sim.hills[0].relative_weight, 0.75);
  EXPECT_EQ(sim.hills[1].relative_weight, 0.25);
  EXPECT_EQ(sim.current_hill, 1);
  EXPECT_FALSE(sim.ignore_topography);
}

TEST_F(BandFixture, CancelLeavesHillsAndSelectionAsTheyWere) {
  sim.hills = {Hill{"a", 1, 2, 3, 4, 0, 1, 0.5}, Hill{"b", 5, 6, 7, 8, 0, 1, 0.5}};
  sim.current_hill = 0;
  sim.ignore_topography = true;
  const auto before = sim.hills;
  host.hill_answer = DialogResult::cancel;
  new_hill_from_rectangle(sim, 10, 10, 50, 50);
  EXPECT_EQ(host.hill_dialogs, 1);
  EXPECT_EQ(sim.hills, before);
  EXPECT_EQ(sim.current_hill, 0);
  EXPECT_TRUE(sim.ignore_topography);
  EXPECT_EQ(host.invalidations, 1);
}

TEST_F(BandFixture, EscRemovesTheOutlineAndALaterReleaseDoesNothing) {
  band.press(host, canvas, {100, 100});
  band.move(host, canvas, {130, 0});
  band.cancel(host, canvas);
  EXPECT_FALSE(band.active());
  // Every outline drawn was drawn a second time: the pixels are back.
  const auto rects = rectangles(canvas);
  EXPECT_THAT(rects, ElementsAre("rectangle 100 100 100 100", "rectangle 100 100 100 100",
                                 "rectangle 100 100 130 130", "rectangle 100 100 130 130"));
  canvas.clear_calls();
  EXPECT_FALSE(band.release(host, canvas, {150, 150}));
  band.move(host, canvas, {150, 150});
  band.cancel(host, canvas);
  EXPECT_THAT(canvas.calls(), IsEmpty());
  EXPECT_THAT(host.captures, ElementsAre(true, false));
}

}  // namespace
}  // namespace wandrix
