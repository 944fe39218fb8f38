#include <gtest/gtest.h>

#include "app/frame.h"
#include "fake_host.h"
#include "model/portable_math.h"

namespace wandrix {
namespace {

using testing::FakeHost;

class FrameMouseTest : public ::testing::Test {
 protected:
  FakeHost host;
  Simulation sim{host};
  Frame frame{sim, host};
};

TEST_F(FrameMouseTest, BandFollowsTheHorizontalMotionAsASquare) {
  frame.left_press({100, 100});
  EXPECT_TRUE(frame.mouse().band.active());
  EXPECT_TRUE(host.captured());
  EXPECT_EQ(host.cursors.back(), Cursor::cross);
  frame.mouse_move({160, 30});
  EXPECT_EQ(frame.mouse().band.corner(), (Point{160, 160}));
  frame.mouse_move({40, 250});
  EXPECT_EQ(frame.mouse().band.corner(), (Point{40, 40}));
}

TEST_F(FrameMouseTest, PositionsLeftOfAndAboveTheWindowStaySigned) {
  frame.left_press({10, 10});
  frame.mouse_move({-20, -5});
  EXPECT_EQ(frame.mouse().band.corner(), (Point{-20, -20}));
}

TEST_F(FrameMouseTest, EscapeEndsTheBandAndALaterReleaseDoesNothing) {
  frame.left_press({50, 50});
  frame.mouse_move({90, 0});
  frame.key_char('a');  // other characters are ignored
  EXPECT_TRUE(frame.mouse().band.active());
  const int shows = host.surface_shows;
  frame.key_char(kEscape);
  EXPECT_GT(host.surface_shows, shows);  // the outline leaves the screen at once
  EXPECT_FALSE(frame.mouse().band.active());
  EXPECT_FALSE(host.captured());
  EXPECT_EQ(host.cursors.back(), Cursor::arrow);
  const std::size_t hills = sim.hills.size();
  frame.left_release({90, 0});
  EXPECT_EQ(sim.hills.size(), hills);
  EXPECT_EQ(host.hill_dialogs, 0);
}

TEST_F(FrameMouseTest, EscapeWithoutABandDoesNothing) {
  frame.key_char(kEscape);
  EXPECT_TRUE(host.captures.empty());
  EXPECT_TRUE(host.cursors.empty());
  EXPECT_EQ(host.invalidations, 0);
}

TEST_F(FrameMouseTest, RightButtonWithoutRotationShowsTheBoxOnEveryRelease) {
  frame.right_press({10, 10});
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_FALSE(frame.mouse().rotating);
  EXPECT_TRUE(host.captures.empty());
  frame.right_release({10, 10});
  frame.right_press({10, 10});
  frame.right_release({12, 10});
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[0].text,
            "Check \"allow rotation\" in robot options dialog\nto enable rotation to different "
            "viewing angles");
  EXPECT_EQ(host.boxes[1].caption, "Rotation not allowed");
}

TEST_F(FrameMouseTest, RightDragWithRotationCapturesAndRepaintsOnRelease) {
  sim.allow_rotation = true;
  frame.right_press({200, 200});
  EXPECT_TRUE(frame.mouse().rotating);
  EXPECT_TRUE(host.captured());
  frame.mouse_move({210, 190});
  EXPECT_EQ(frame.mouse().rotation_point, (Point{210, 190}));
  const int before = host.invalidations;
  frame.right_release({210, 190});
  EXPECT_FALSE(frame.mouse().rotating);
  EXPECT_FALSE(host.captured());
  EXPECT_EQ(host.cursors.back(), Cursor::arrow);
  EXPECT_EQ(host.invalidations, before + 1);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(FrameMouseTest, RotationSwitchedOffDuringADragStillReleasesTheCapture) {
  sim.allow_rotation = true;
  frame.right_press({200, 200});
  sim.toggle_rotation();
  frame.right_release({200, 200});
  EXPECT_FALSE(frame.mouse().rotating);
  EXPECT_FALSE(host.captured());
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(FrameMouseTest, ReleaseMakesAHillFromTheSquareThatOkKeeps) {
  frame.size(400, 360, false);
  frame.left_press({100, 100});
  frame.mouse_move({160, 30});
  frame.left_release({160, 30});
  EXPECT_FALSE(frame.mouse().band.active());
  EXPECT_FALSE(host.captured());
  ASSERT_EQ(sim.hills.size(), 1u);
  EXPECT_EQ(sim.hills[0].mean_x, 130.0);
  EXPECT_EQ(sim.hills[0].mean_y, 360.0 - 130.0);
  EXPECT_EQ(sim.hills[0].stddev_x, 30.0);
  EXPECT_EQ(sim.hills[0].stddev_y, 30.0);
  EXPECT_FALSE(sim.ignore_topography);
  EXPECT_EQ(host.hill_dialogs, 1);
}

TEST_F(FrameMouseTest, CancelInTheHillDialogDropsTheHill) {
  host.hill_answer = DialogResult::cancel;
  frame.left_press({100, 100});
  frame.left_release({40, 250});
  EXPECT_TRUE(sim.hills.empty());
  EXPECT_EQ(host.hill_dialogs, 1);
  EXPECT_TRUE(sim.ignore_topography);
}

TEST_F(FrameMouseTest, HillFromADragLeftOfTheWindowUsesSignedPositions) {
  frame.left_press({10, 10});
  frame.left_release({-20, 300});
  ASSERT_EQ(sim.hills.size(), 1u);
  EXPECT_EQ(sim.hills[0].mean_x, -5.0);  // (10 + -20) / 2, truncated toward zero
  EXPECT_EQ(sim.hills[0].stddev_x, 15.0);
}

TEST_F(FrameMouseTest, BandOutlineInvertsTheSurfaceAndLeavesNoTrace) {
  frame.render();
  const std::vector<std::uint32_t> before(frame.surface().pixels(),
                                          frame.surface().pixels() + 400 * 400);
  frame.left_press({100, 100});
  frame.mouse_move({150, 0});
  // The outline of the square from (100, 100) to (150, 150) is inverted black.
  EXPECT_EQ(frame.surface().pixel(100, 100), 0xFFFFFFFFu);
  EXPECT_EQ(frame.surface().pixel(149, 120), 0xFFFFFFFFu);
  EXPECT_EQ(frame.surface().pixel(120, 120), 0xFF000000u);
  EXPECT_GE(host.surface_shows, 2);
  frame.mouse_move({130, 0});
  EXPECT_EQ(frame.surface().pixel(149, 120), 0xFF000000u);
  frame.key_char(kEscape);
  const std::vector<std::uint32_t> after(frame.surface().pixels(),
                                         frame.surface().pixels() + 400 * 400);
  EXPECT_EQ(after, before);
}

TEST_F(FrameMouseTest, RotationMovesStepTheAnglesBySignOnly) {
  sim.allow_rotation = true;
  frame.right_press({200, 200});
  frame.mouse_move({400, 200});  // far right: one step
  EXPECT_DOUBLE_EQ(sim.angle_y, -kPi / 64);
  EXPECT_EQ(sim.angle_x, 0.0);
  frame.mouse_move({400, 199});  // up: angle_x rises
  EXPECT_DOUBLE_EQ(sim.angle_x, kPi / 64);
  frame.right_release({400, 199});
  EXPECT_TRUE(sim.full_redraw);
}

TEST_F(FrameMouseTest, RenderPaintsOnlyWhenAsked) {
  sim.hills.push_back(Hill{"h", 200, 200, 30, 30, 0, 1, 1});
  frame.request_paint();
  frame.render();
  EXPECT_FALSE(frame.paint_pending());
  EXPECT_EQ(frame.surface().pixel(200 + 35, 200), 0xFFFFFF00u);  // the inner contour
  frame.surface().fill_rect(Rect{0, 0, 400, 400},
                            frame.surface().stock_object(StockObject::white_brush));
  frame.render();  // nothing changed in the model: the surface stays as it is
  EXPECT_EQ(frame.surface().pixel(0, 0), 0xFFFFFFFFu);
}

TEST_F(FrameMouseTest, OneDragAtATime) {
  sim.allow_rotation = true;
  frame.right_press({200, 200});
  frame.left_press({100, 100});
  EXPECT_FALSE(frame.mouse().band.active());
  frame.left_release({150, 100});
  EXPECT_EQ(host.hill_dialogs, 0);
  frame.right_release({200, 200});
  EXPECT_FALSE(host.captured());

  frame.left_press({100, 100});
  frame.right_press({200, 200});
  EXPECT_FALSE(frame.mouse().rotating);
  frame.left_release({150, 100});
  EXPECT_EQ(host.hill_dialogs, 1);
  EXPECT_FALSE(host.captured());
}

TEST_F(FrameMouseTest, SizeIgnoresMinimisingAndZeroSizes) {
  frame.size(392, 346, false);
  EXPECT_EQ(sim.width, 392.0);
  EXPECT_EQ(sim.height, 346.0);
  EXPECT_EQ(frame.width(), 392);
  frame.size(0, 0, true);
  frame.size(0, 346, false);
  frame.size(392, 0, false);
  EXPECT_EQ(sim.width, 392.0);
  EXPECT_EQ(sim.height, 346.0);
  EXPECT_EQ(frame.height(), 346);
  sim.hills.push_back(Hill{"h", 100, 100, 10, 10, 0, 1, 1});
  frame.size(392, 346, false);  // restored at the same size: a factor of 1
  EXPECT_EQ(sim.hills[0].mean_x, 100.0);
  frame.size(784, 346, false);
  EXPECT_EQ(sim.hills[0].mean_x, 200.0);
  EXPECT_EQ(sim.centre_x, 392);
}

TEST_F(FrameMouseTest, SizeAsksForAFullPaint) {
  sim.full_redraw = false;
  frame.size(300, 300, false);
  EXPECT_TRUE(sim.full_redraw);
  EXPECT_TRUE(frame.paint_pending());
  EXPECT_EQ(frame.surface().width(), 300);
  EXPECT_EQ(frame.surface().height(), 300);
}

}  // namespace
}  // namespace wandrix
