#include "app/frame.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/menu_table.h"
#include "fake_host.h"
#include "view/paint.h"

namespace wandrix {
namespace {

using namespace command;
using testing::FakeHost;

class FrameTest : public ::testing::Test {
 protected:
  FakeHost host;
  Simulation sim{host};
  Frame frame{sim, host};

  void walk_some() {
    sim.nsteps = 20;
    frame.command(kStartWalking);
  }
  [[nodiscard]] std::size_t samples(int chain = 1) const {
    return sim.chains[chain - 1].sample_count();
  }
};

TEST_F(FrameTest, ExitQuitsAndEveryOtherCommandKeepsRunning) {
  EXPECT_EQ(frame.command(kExit), FrameResult::quit);
  EXPECT_EQ(frame.command(kRefresh), FrameResult::keep_running);
  EXPECT_EQ(frame.command(12345), FrameResult::keep_running);
  EXPECT_EQ(host.invalidations, 1);  // the unknown id did nothing
}

TEST_F(FrameTest, StartWalkingDrawsFullyAndContinueOnlyTheNewSamples) {
  walk_some();
  EXPECT_EQ(samples(), 21u);
  EXPECT_TRUE(sim.full_redraw);
  EXPECT_EQ(host.invalidations, 1);
  frame.command(kContinueWalking);
  EXPECT_EQ(samples(), 41u);
  EXPECT_FALSE(sim.full_redraw);
  EXPECT_EQ(host.invalidations, 2);
}

TEST_F(FrameTest, ContinueWithoutAStartBeginsAFreshWalk) {
  sim.nsteps = 5;
  frame.command(kContinueWalking);
  EXPECT_EQ(samples(), 6u);  // the start point and five steps
  EXPECT_TRUE(sim.walk_started);
}

TEST_F(FrameTest, KeepCommandsInvalidateWithoutForcingAFullRedraw) {
  for (const int id : {kToggleTrajectory, kIncrementDotSize, kDecrementDotSize, kToggleRotation}) {
    sim.full_redraw = false;
    const int before = host.invalidations;
    frame.command(id);
    EXPECT_FALSE(sim.full_redraw) << id;
    EXPECT_EQ(host.invalidations, before + 1) << id;
  }
}

TEST_F(FrameTest, FullCommandsSetFullRedrawAndInvalidate) {
  for (const int id : {kRefresh, kClear, kShowChain1, kShowChain1 + 3, kShowAllChains,
                       kOneChain + 2, kDensityView}) {
    sim.full_redraw = false;
    const int before = host.invalidations;
    frame.command(id);
    EXPECT_TRUE(sim.full_redraw) << id;
    EXPECT_EQ(host.invalidations, before + 1) << id;
  }
}

TEST_F(FrameTest, ToggleCommandsFlipTheirSetting) {
  frame.command(kToggleTrajectory);
  EXPECT_FALSE(sim.show_trajectory);
  frame.command(kToggleTrajectory);
  EXPECT_TRUE(sim.show_trajectory);
  walk_some();
  frame.command(kToggleRotation);
  EXPECT_TRUE(sim.allow_rotation);
  EXPECT_EQ(samples(), 0u);  // switching rotation on discards the samples
  sim.angle_x = 0.5;
  frame.command(kToggleRotation);
  EXPECT_FALSE(sim.allow_rotation);
  EXPECT_EQ(sim.angle_x, 0.0);
  // The wall rule changes the walks to come: the samples stay.
  walk_some();
  frame.command(kRefuseAtWalls);
  EXPECT_TRUE(sim.reject_at_walls);
  EXPECT_EQ(samples(), 21u);
  frame.command(kRefuseAtWalls);
  EXPECT_FALSE(sim.reject_at_walls);
  frame.command(kDensityView);
  EXPECT_TRUE(sim.density_view);
  EXPECT_EQ(samples(), 21u);
  frame.command(kDensityView);
  EXPECT_FALSE(sim.density_view);
}

// The window keeps its density counts from paint to paint; whatever came
// in between, the surface shows what a fresh paint draws.
TEST_F(FrameTest, DensityViewOnTheSurfaceEqualsAFreshPaint) {
  sim.add_confirmed_hill(Hill{"h", 100, 150, 60, 40, 0.2, 1, 1});
  sim.set_chain_count(2);
  sim.set_shown_chain(0);
  sim.nsteps = 3000;
  frame.command(kStartWalking);
  frame.command(kDensityView);
  for (const int id : {kContinueWalking, kShowChain1, kContinueWalking, kShowAllChains, kClear,
                       kStartWalking, kRefresh}) {
    frame.command(id);
    frame.request_paint();
    frame.render();
    RasterCanvas fresh(400, 400);
    sim.full_redraw = true;
    paint(sim, fresh, client_rect(sim), false);
    const std::vector<std::uint32_t> want(fresh.pixels(), fresh.pixels() + 400L * 400);
    const std::vector<std::uint32_t> shown(frame.surface().pixels(),
                                           frame.surface().pixels() + 400L * 400);
    EXPECT_TRUE(want == shown) << "after command " << id;
  }
}

TEST_F(FrameTest, DotSizeStaysWithinOneToTenAndStillRepaints) {
  sim.dot_radius = 1;
  frame.command(kDecrementDotSize);
  EXPECT_EQ(sim.dot_radius, 1);
  frame.command(kIncrementDotSize);
  EXPECT_EQ(sim.dot_radius, 2);
  sim.dot_radius = 10;
  frame.command(kIncrementDotSize);
  EXPECT_EQ(sim.dot_radius, 10);
  frame.command(kDecrementDotSize);
  EXPECT_EQ(sim.dot_radius, 9);
  EXPECT_EQ(host.invalidations, 4);
}

TEST_F(FrameTest, ChainCountClearsAndClampsTheShownChain) {
  frame.command(kOneChain + 3);
  EXPECT_EQ(sim.nchains, 4);
  frame.command(kShowChain1 + 2);
  walk_some();
  frame.command(kOneChain + 1);
  EXPECT_EQ(sim.nchains, 2);
  EXPECT_EQ(sim.shown_chain, 2);
  EXPECT_EQ(samples(1), 0u);
  EXPECT_EQ(samples(3), 0u);
  EXPECT_EQ(sim.steps_done, 0);
}

TEST_F(FrameTest, ShowCommandsAreNotComparedWithTheChainCount) {
  frame.command(kOneChain + 1);
  frame.command(kShowChain1 + 2);
  EXPECT_EQ(sim.shown_chain, 3);
  frame.command(kShowAllChains);
  EXPECT_EQ(sim.shown_chain, 0);
  frame.command(kShowChain1);
  EXPECT_EQ(sim.shown_chain, 1);
}

TEST_F(FrameTest, AboutRunsTheAboutBox) {
  frame.command(kAbout);
  EXPECT_EQ(host.about_boxes, 1);
  EXPECT_EQ(host.invalidations, 0);
}

TEST_F(FrameTest, HelpLooksUpTheHelpPage) {
  frame.command(kHelpFile);
  ASSERT_EQ(host.lookups.size(), 1u);
  EXPECT_EQ(host.lookups[0].first, "Wandrix.html");
}

TEST_F(FrameTest, OptionsWithoutChangesKeepTheSamplesAndRefresh) {
  walk_some();
  sim.full_redraw = false;
  const int before = host.invalidations;
  frame.command(kOptions);
  EXPECT_EQ(host.robot_dialogs, 1);
  EXPECT_EQ(samples(), 21u);
  EXPECT_TRUE(sim.full_redraw);
  EXPECT_EQ(host.invalidations, before + 1);
}

TEST_F(FrameTest, OptionsCancelledAfterANewSeedStillClear) {
  walk_some();
  host.on_robot_dialog = [this] {
    sim.rn_seed = 777;  // the dialog's seed button acts at once
    return DialogResult::cancel;
  };
  frame.command(kOptions);
  EXPECT_EQ(samples(), 0u);
  EXPECT_EQ(sim.steps_done, 0);
  EXPECT_TRUE(sim.full_redraw);
}

TEST_F(FrameTest, OptionsSwitchingRotationOnClear) {
  walk_some();
  host.on_robot_dialog = [this] {
    sim.allow_rotation = true;
    return DialogResult::ok;
  };
  frame.command(kOptions);
  EXPECT_EQ(samples(), 0u);
  EXPECT_TRUE(sim.allow_rotation);
}

TEST_F(FrameTest, OptionsSwitchingRotationOffResetsTheAngles) {
  sim.allow_rotation = true;
  sim.angle_x = 0.3;
  sim.angle_y = -0.2;
  host.on_robot_dialog = [this] {
    sim.allow_rotation = false;
    return DialogResult::ok;
  };
  frame.command(kOptions);
  EXPECT_EQ(sim.angle_x, 0.0);
  EXPECT_EQ(sim.angle_y, 0.0);
}

TEST(MenuState, OneChainAtStartUp) {
  Simulation sim;
  const auto states = menu_state(sim);
  auto find = [&](int id) {
    for (const MenuItemState& s : states) {
      if (s.id == id) return s;
    }
    ADD_FAILURE() << "no state for " << id;
    return MenuItemState{};
  };
  EXPECT_EQ(find(kOneChain), (MenuItemState{kOneChain, true, true}));
  EXPECT_EQ(find(kOneChain + 1), (MenuItemState{kOneChain + 1, false, true}));
  EXPECT_EQ(find(kShowChain1), (MenuItemState{kShowChain1, true, true}));
  for (int k = 1; k < 4; ++k) {
    EXPECT_EQ(find(kShowChain1 + k), (MenuItemState{kShowChain1 + k, false, false}));
  }
  EXPECT_EQ(find(kShowAllChains), (MenuItemState{kShowAllChains, false, false}));
  EXPECT_EQ(find(kSummarize), (MenuItemState{kSummarize, false, false}));
  EXPECT_EQ(find(kDensityView), (MenuItemState{kDensityView, false, true}));
  EXPECT_EQ(find(kRefuseAtWalls), (MenuItemState{kRefuseAtWalls, false, true}));
}

TEST(MenuState, GreysFollowTheChainCountAndChecksTheShownChain) {
  Simulation sim;
  sim.set_chain_count(3);
  sim.set_shown_chain(0);
  sim.steps_done = 1;
  sim.reject_at_walls = true;
  sim.density_view = true;
  const auto states = menu_state(sim);
  const std::vector<MenuItemState> expected{{
      {kOneChain, false, true},
      {kOneChain + 1, false, true},
      {kOneChain + 2, true, true},
      {kOneChain + 3, false, true},
      {kShowChain1, false, true},
      {kShowChain1 + 1, false, true},
      {kShowChain1 + 2, false, true},
      {kShowChain1 + 3, false, false},
      {kShowAllChains, true, true},
      {kSummarize, false, true},
      {kDensityView, true, true},
      {kRefuseAtWalls, true, true},
  }};
  EXPECT_EQ(std::vector<MenuItemState>(states.begin(), states.begin() + 12), expected);
  sim.set_shown_chain(4);  // possible through F4 while greyed
  EXPECT_TRUE(menu_state(sim)[7].checked);
  EXPECT_FALSE(menu_state(sim)[7].enabled);
}

}  // namespace
}  // namespace wandrix
