#include "dialogs/robot_options_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_controls.h"
#include "fake_host.h"

namespace wandrix {
namespace {

using testing::Box;
using testing::FakeControls;
namespace ids = robot_ids;

Hill make_hill(std::string label, double weight) {
  Hill h;
  h.label = std::move(label);
  h.mean_x = 100.0;
  h.mean_y = 200.0;
  h.stddev_x = h.stddev_y = 30.0;
  h.weight = weight;
  return h;
}

class RobotOptionsTest : public ::testing::Test {
 protected:
  Simulation sim;
  FakeControls c;
  int hill_dialog_runs = 0;
  std::function<void()> hill_dialog_edit;
  RobotOptionsDialog dialog{sim, c, [this] {
                              ++hill_dialog_runs;
                              if (hill_dialog_edit) hill_dialog_edit();
                            }};

  void SetUp() override { sim.rn_seed = 12345; }
  void add_hills() {
    sim.hills = {make_hill("alpha", 1.0), make_hill("beta", 3.0)};
    sim.normalize_weights();
  }
};

TEST_F(RobotOptionsTest, OpeningShowsEverySettingAndCentres) {
  sim.rescale(500, 300);
  add_hills();
  sim.current_hill = 1;
  dialog.open();
  EXPECT_EQ(c.texts[ids::kDimensions], "Current dimensions: 500 by 300");
  EXPECT_EQ(c.texts[ids::kSteps], "100");
  EXPECT_EQ(c.texts[ids::kDotRadius], "2");
  EXPECT_EQ(c.checks[ids::kShowTrajectory], CheckState::checked);
  EXPECT_EQ(c.checks[ids::kAllowRotation], CheckState::unchecked);
  EXPECT_EQ(c.checks[ids::kIgnoreTopography], CheckState::checked);
  EXPECT_EQ(c.texts[ids::kStartX], "150");
  EXPECT_EQ(c.texts[ids::kStartY], "150");
  // 20 scaled by (1.25 + 0.75) / 2.
  EXPECT_EQ(c.texts[ids::kStepStddev], "20.000");
  EXPECT_EQ(c.texts[ids::kStepMean], "20.0");
  EXPECT_EQ(c.texts[ids::kSeed], "12345");
  EXPECT_EQ(c.lists[ids::kHillList], (std::vector<std::string>{"alpha", "beta"}));
  EXPECT_EQ(c.selections[ids::kHillList], 1);
  EXPECT_TRUE(c.is_enabled(ids::kHillList));
  EXPECT_EQ(c.moves, (std::vector<Point>{{450, 375}}));
}

TEST_F(RobotOptionsTest, NoHillsDisablesTheListAndModify) {
  dialog.open();
  EXPECT_EQ(c.lists[ids::kHillList], (std::vector<std::string>{"no hills defined"}));
  EXPECT_FALSE(c.is_enabled(ids::kHillList));
  EXPECT_FALSE(c.is_enabled(ids::kModify));
  dialog.hill_list_notification(kListDroppedDown);
  EXPECT_FALSE(c.is_enabled(ids::kHillList));
}

TEST_F(RobotOptionsTest, OkStoresTypedValuesAndLimitsAreAcceptedSilently) {
  sim.rescale(500, 300);
  dialog.open();
  c.texts[ids::kSteps] = "1000000";
  c.texts[ids::kDotRadius] = "10";
  c.texts[ids::kStartX] = "500";
  c.texts[ids::kStartY] = "300";
  c.texts[ids::kStepStddev] = "0.1";
  c.texts[ids::kStepMean] = "12.25";
  c.texts[ids::kSeed] = "2147483647";
  c.checks[ids::kShowTrajectory] = CheckState::unchecked;
  c.checks[ids::kAllowRotation] = CheckState::checked;
  EXPECT_EQ(dialog.ok(), DialogResult::ok);
  EXPECT_TRUE(c.boxes.empty());
  EXPECT_EQ(sim.nsteps, 1000000);
  EXPECT_EQ(sim.dot_radius, 10);
  EXPECT_EQ(sim.start_x, 500);
  EXPECT_EQ(sim.start_y, 300);
  EXPECT_EQ(sim.step_stddev, 0.1);
  EXPECT_EQ(sim.step_mean, 12.25);
  EXPECT_EQ(sim.rn_seed, 2147483647);
  EXPECT_FALSE(sim.show_trajectory);
  EXPECT_TRUE(sim.allow_rotation);
  EXPECT_EQ(c.texts[ids::kStepMean], "12.25") << "text kept as typed";
}

TEST_F(RobotOptionsTest, SeveralBadValuesGiveOneBoxEachInFieldOrder) {
  sim.rescale(401, 399);
  dialog.open();
  c.texts[ids::kSteps] = "0";
  c.texts[ids::kDotRadius] = "x";
  c.texts[ids::kStartX] = "402";
  c.texts[ids::kStartY] = "9999";
  c.texts[ids::kStepStddev] = "-1";
  c.texts[ids::kStepMean] = "150";
  c.texts[ids::kSeed] = "-7";
  std::vector<int> steps_seen;
  c.on_box = [&] { steps_seen.push_back(sim.nsteps); };
  EXPECT_EQ(dialog.close_box(), DialogResult::ok);
  EXPECT_EQ(
      c.boxes,
      (std::vector<Box>{
          {"Resetting nsteps to 1", "Parameter must be greater than or equal to 1"},
          {"Value of dot_radius left unmodified", "Text could not be converted to a number"},
          {"Resetting start_x to 401", "Parameter must be less than or equal to 401"},
          {"Resetting start_y to 399", "Parameter must be less than or equal to 399"},
          {"Resetting step_stddev to 0.100", "Parameter must be greater than or equal to 0.100"},
          {"Resetting step_mean to 100.0", "Parameter must be less than or equal to 100.0"},
          {"Resetting rn_seed to 0", "Parameter must be greater than or equal to 0"}}));
  EXPECT_EQ(sim.nsteps, 1);
  EXPECT_EQ(steps_seen.back(), 1) << "values before a box are already stored";
  EXPECT_EQ(sim.dot_radius, 2);
  EXPECT_EQ(c.texts[ids::kDotRadius], "2");
  EXPECT_EQ(sim.start_x, 401);
  EXPECT_EQ(sim.start_y, 399);
  EXPECT_EQ(sim.step_stddev, 0.1);
  EXPECT_EQ(sim.step_mean, 100.0);
  EXPECT_EQ(sim.rn_seed, 0);
}

TEST_F(RobotOptionsTest, CancelAppliesNothingTyped) {
  dialog.open();
  c.texts[ids::kSteps] = "5";
  EXPECT_EQ(dialog.cancel(), DialogResult::cancel);
  EXPECT_EQ(sim.nsteps, 100);
}

TEST_F(RobotOptionsTest, NewSeedIsShownAndSurvivesCancel) {
  dialog.open();
  dialog.generate_new_seed();
  EXPECT_NE(sim.rn_seed, 12345);
  EXPECT_EQ(c.texts[ids::kSeed], std::to_string(sim.rn_seed));
  const std::int32_t seed = sim.rn_seed;
  dialog.cancel();
  EXPECT_EQ(sim.rn_seed, seed);
}

TEST_F(RobotOptionsTest, ListNotificationsSelectTheCurrentHill) {
  add_hills();
  dialog.open();
  c.selections[ids::kHillList] = 1;
  dialog.hill_list_notification(8);  // closed up: ignored
  EXPECT_EQ(sim.current_hill, 0);
  dialog.hill_list_notification(kListSelectionConfirmed);
  EXPECT_EQ(sim.current_hill, 1);
  c.selections[ids::kHillList] = -1;
  dialog.hill_list_notification(kListDroppedDown);
  EXPECT_EQ(sim.current_hill, -1);
  dialog.cancel();
  EXPECT_EQ(sim.current_hill, -1);
}

TEST_F(RobotOptionsTest, ModifyShowsTheNewLabelAndRenormalises) {
  add_hills();
  sim.current_hill = 1;
  dialog.open();
  hill_dialog_edit = [this] {
    sim.hills[1].label = "gamma";
    sim.hills[1].weight = 1.0;
  };
  dialog.modify();
  EXPECT_EQ(hill_dialog_runs, 1);
  EXPECT_EQ(c.lists[ids::kHillList], (std::vector<std::string>{"alpha", "gamma"}));
  EXPECT_EQ(c.selections[ids::kHillList], 1);
  EXPECT_DOUBLE_EQ(sim.hills[0].relative_weight, 0.5);
  EXPECT_DOUBLE_EQ(sim.hills[1].relative_weight, 0.5);
  dialog.cancel();
  EXPECT_EQ(sim.hills[1].label, "gamma");
}

TEST_F(RobotOptionsTest, ModifyCancelledStillRewritesTheEntryAndRenormalises) {
  add_hills();
  sim.hills[0].relative_weight = 0.0;  // stale, as after a session file was read
  dialog.open();
  c.lists[ids::kHillList][0] = "stale text";
  dialog.modify();  // the hill dialog changes nothing
  EXPECT_EQ(hill_dialog_runs, 1);
  EXPECT_EQ(c.lists[ids::kHillList], (std::vector<std::string>{"alpha", "beta"}));
  EXPECT_DOUBLE_EQ(sim.hills[0].relative_weight, 0.25);
}

TEST_F(RobotOptionsTest, ModifyWithoutASelectedHillDoesNothing) {
  add_hills();
  for (const int index : {-1, 2}) {
    sim.current_hill = index;
    c = FakeControls();
    dialog.open();
    dialog.modify();
    EXPECT_EQ(hill_dialog_runs, 0);
    EXPECT_EQ(c.lists[ids::kHillList], (std::vector<std::string>{"alpha", "beta"}));
    EXPECT_EQ(c.selections[ids::kHillList], -1);
  }
}

TEST_F(RobotOptionsTest, ModifyWithoutARunnerAsksTheHost) {
  testing::FakeHost host;
  sim.set_host(host);
  add_hills();
  RobotOptionsDialog plain(sim, c);
  plain.open();
  plain.modify();
  EXPECT_EQ(host.hill_dialogs, 1);
}

}  // namespace
}  // namespace wandrix
