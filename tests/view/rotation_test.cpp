// The rotated view: projection, the wire frame and the rotation drag.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "fake_host.h"
#include "model/portable_math.h"
#include "recording_canvas.h"
#include "view/projection.h"
#include "view/rotation_frame.h"

namespace wandrix {
namespace {

using ::testing::ElementsAre;
using testing::FakeHost;
using ::testing::IsEmpty;
using testing::RecordingCanvas;

TEST(Projection, ZeroAnglesAndNoRotationLeavePointsAlone) {
  Simulation sim;
  int x = 37;
  int y = 311;
  project_point(sim, x, y, 0.9);
  EXPECT_EQ(x, 37);
  EXPECT_EQ(y, 311);
  EXPECT_EQ(sim.z_scale, 0.0);  // not needed, not computed
  sim.allow_rotation = true;
  project_point(sim, x, y, 0.9);
  EXPECT_EQ(x, 37);
  EXPECT_EQ(y, 311);
  EXPECT_EQ(sim.z_scale, 400 * 0.3333333333333333);
  sim.rescale(600, 300);
  EXPECT_EQ(sim.z_scale, 0.0);
  project_point(sim, x, y, 0.0);
  EXPECT_EQ(sim.z_scale, 300 * 0.3333333333333333);
}

TEST(Projection, PositiveAngleXLiftsHeightUpTheScreen) {
  Simulation sim;
  sim.allow_rotation = true;
  sim.angle_x = kPi / 2;  // seen from the front: height becomes screen y
  int x = 250;
  int y = 200;
  project_point(sim, x, y, 0.3);  // z = trunc(133.33 x 0.3) = 40
  EXPECT_EQ(x, 250);
  EXPECT_NEAR(y, 200 - 40, 1);
  // Turning about the vertical axis by a quarter turn puts depth into x.
  sim.angle_x = 0;
  sim.angle_y = kPi / 2;
  int rx = 200;
  int ry = 200;
  int rz = 50;
  rotate_about_centre(sim, rx, ry, rz);
  EXPECT_NEAR(rx, 150, 1);
  EXPECT_EQ(ry, 200);
  EXPECT_NEAR(rz, 0, 1);
  rx = 260;
  ry = 200;
  rz = 0;
  rotate_about_centre(sim, rx, ry, rz);
  EXPECT_NEAR(rx, 200, 1);
  EXPECT_NEAR(rz, 60, 1);
}

TEST(Projection, AProjectionObjectGivesProjectPointsResults) {
  Simulation sim;
  sim.allow_rotation = true;
  sim.angle_x = 0.7;
  sim.angle_y = -1.3;
  const Projection view(sim);
  for (int i = 0; i < 200; ++i) {
    int x1 = i * 7 % 400;
    int y1 = i * 13 % 400;
    const double h = (i % 17) / 17.0;
    int x2 = x1;
    int y2 = y1;
    project_point(sim, x1, y1, h);
    view.project(x2, y2, h);
    ASSERT_EQ(x1, x2);
    ASSERT_EQ(y1, y2);
  }
}

TEST(RotationFrame, VerticesArePyramidAroundCentre) {
  Simulation sim;
  sim.rescale(400, 360);
  const auto v = frame_vertices(sim);
  ASSERT_EQ(v.size(), 13u);
  EXPECT_EQ(v[0], (FrameVertex{155, 225, 0, 1}));
  EXPECT_EQ(v[2], (FrameVertex{245, 135, 0, 2}));
  EXPECT_EQ(v[5], (FrameVertex{200, 180, 90, 1}));
  EXPECT_EQ(v[12], (FrameVertex{155, 135, 0, 2}));
  int moves = 0;
  for (const auto& vertex : v) {
    moves += vertex.command == 1;
  }
  EXPECT_EQ(moves, 5);
}

// Brush colours of the vertex dots: the brush selected before each ellipse.
std::vector<Colour> dot_colours(const RecordingCanvas& canvas) {
  std::vector<Colour> colours;
  const auto& calls = canvas.calls();
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].rfind("ellipse", 0) == 0) {
      unsigned brush = 0;
      std::sscanf(calls[i - 1].c_str(), "select %u", &brush);
      colours.push_back(canvas.colour_of(brush));
    }
  }
  return colours;
}

TEST(RotationFrame, FirstPressBlanksAndDrawsSquareWithDiagonalsInBlue) {
  FakeHost host;
  Simulation sim(host);
  sim.allow_rotation = true;
  sim.rescale(400, 360);
  RecordingCanvas canvas;
  RotationPens pens = begin_rotation(sim, canvas);
  EXPECT_EQ(canvas.calls()[6], "fill_rect 0 0 400 360 brush 2");
  EXPECT_EQ(canvas.colour_of(2), kBlack);
  EXPECT_EQ(sim.frame_vertices, frame_vertices(sim));
  std::vector<std::string> strokes;
  std::set<std::string> dots;
  for (const std::string& call : canvas.calls()) {
    if (call.rfind("move_to", 0) == 0 || call.rfind("line_to", 0) == 0) {
      strokes.push_back(call);
    }
    if (call.rfind("ellipse", 0) == 0) {
      dots.insert(call);
    }
  }
  EXPECT_THAT(strokes, ElementsAre("move_to 155 225", "line_to 245 225", "line_to 245 135",
                                   "line_to 155 135", "line_to 155 225", "move_to 200 180",
                                   "line_to 155 225", "move_to 200 180", "line_to 245 225",
                                   "move_to 200 180", "line_to 245 135", "move_to 200 180",
                                   "line_to 155 135"));
  EXPECT_THAT(dots, ElementsAre("ellipse 151 131 159 139", "ellipse 151 221 159 229",
                                "ellipse 196 176 204 184", "ellipse 241 131 249 139",
                                "ellipse 241 221 249 229"));
  for (Colour c : dot_colours(canvas)) {
    EXPECT_EQ(c, make_colour(0, 0, 255));
  }
  EXPECT_THAT(host.captures, ElementsAre(true));
  EXPECT_THAT(host.cursors, ElementsAre(Cursor::cross));
  release_rotation_frame(canvas, pens);
  EXPECT_EQ(canvas.live_objects(), 0);
  EXPECT_THAT(canvas.errors(), IsEmpty());
}

TEST(RotationFrame, OnlyTheSignOfTheMotionCounts) {
  Simulation sim;
  const double step = kPi / 64;
  step_view_angles(sim, 1, 0);
  EXPECT_EQ(sim.angle_y, -step);
  EXPECT_EQ(sim.angle_x, 0.0);
  step_view_angles(sim, 200, 0);
  EXPECT_EQ(sim.angle_y, -2 * step);
  step_view_angles(sim, -3, -40);  // left and up: both angles grow
  EXPECT_EQ(sim.angle_y, -step);
  EXPECT_EQ(sim.angle_x, step);
  step_view_angles(sim, 0, 9);
  EXPECT_EQ(sim.angle_x, 0.0);
}

TEST(RotationFrame, VerticesBehindTheCentreAreGreyAfterATurn) {
  FakeHost host;
  Simulation sim(host);
  sim.allow_rotation = true;
  RecordingCanvas canvas;
  RotationPens pens = begin_rotation(sim, canvas);
  canvas.clear_calls();
  // Mouse left: angle_y grows, the left side of the base turns away.
  continue_rotation(sim, canvas, pens, -5, 0);
  EXPECT_EQ(sim.angle_y, kPi / 64);
  const auto colours = dot_colours(canvas);
  ASSERT_EQ(colours.size(), 26u);
  for (std::size_t i = 0; i < 13; ++i) {
    EXPECT_EQ(colours[i], kBlack) << "erasing " << i;
  }
  const Colour blue = make_colour(0, 0, 255);
  const Colour grey = make_colour(127, 127, 127);
  for (std::size_t i = 0; i < 13; ++i) {
    const bool left = sim.frame_vertices[i].x < sim.centre_x;
    EXPECT_EQ(colours[13 + i], left ? grey : blue) << i;
  }
  end_rotation(sim, canvas, pens);
  EXPECT_EQ(canvas.live_objects(), 0);
  EXPECT_THAT(canvas.errors(), IsEmpty());
  EXPECT_TRUE(canvas.selections_restored());
  EXPECT_THAT(host.captures, ElementsAre(true, false));
  EXPECT_EQ(host.cursors.back(), Cursor::arrow);
  EXPECT_EQ(host.invalidations, 1);
  EXPECT_TRUE(sim.full_redraw);
}

TEST(RotationFrame, LaterPressesReuseTheRescaledFrame) {
  Simulation sim;
  RecordingCanvas canvas;
  RotationPens pens = prepare_rotation_frame(sim, canvas);
  release_rotation_frame(canvas, pens);
  sim.rescale(800, 200);
  const FrameVertex first = sim.frame_vertices[0];
  EXPECT_EQ(first, (FrameVertex{300, 125, 0, 1}));  // (150, 250) scaled by 2 and 0.5
  pens = prepare_rotation_frame(sim, canvas);
  EXPECT_EQ(sim.frame_vertices[0], first);
  release_rotation_frame(canvas, pens);
  EXPECT_EQ(canvas.live_objects(), 0);
}

}  // namespace
}  // namespace wandrix
