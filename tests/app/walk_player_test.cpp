// The walk run from the event loop: animated at any speed, paused, stepped
// and stopped, its samples are those of the plain walk, and when it ends the
// window shows the ordinary picture of them.
#include "app/walk_player.h"

#include <gtest/gtest.h>

#include <random>

#include "app/frame.h"
#include "app/menu_table.h"
#include "fake_host.h"
#include "view/paint.h"

namespace wandrix {
namespace {

using namespace command;
using testing::FakeHost;
using Clock = WalkPlayer::Clock;
using std::chrono::milliseconds;

void two_hills(Simulation& sim, int nchains) {
  sim.set_chain_count(nchains);
  sim.set_shown_chain(0);
  sim.hills = {Hill{"west", 120, 200, 40, 40, 0.3, 1, 0},
               Hill{"east", 290, 150, 30, 50, -0.5, 2, 0}};
  sim.normalize_weights();
  sim.ignore_topography = false;
  sim.rn_seed = 2024;
  sim.nsteps = 150;
  sim.clear();
}

void expect_same_samples(const Simulation& a, const Simulation& b) {
  EXPECT_EQ(a.steps_done, b.steps_done);
  EXPECT_EQ(a.rates, b.rates);
  for (std::size_t p = 0; p < a.chains.size(); ++p) {
    EXPECT_EQ(a.chains[p].xs, b.chains[p].xs) << "chain " << p + 1;
    EXPECT_EQ(a.chains[p].ys, b.chains[p].ys) << "chain " << p + 1;
  }
}

// The player on a clock of its own: at every speed, with pauses, single
// steps and speed changes at random moments, Start then Continue.
TEST(WalkPlayer, AnAnimatedWalkHasTheSamplesOfThePlainWalk) {
  for (int nchains = 1; nchains <= 4; ++nchains) {
    Simulation plain;
    Simulation animated;
    two_hills(plain, nchains);
    two_hills(animated, nchains);
    plain.start_walking();
    plain.continue_walking();
    WalkPlayer player(animated);
    std::mt19937 random(static_cast<unsigned>(nchains));
    Clock::time_point now{};
    for (const bool start : {true, false}) {
      ASSERT_TRUE(player.begin(start, true, now));
      while (player.running()) {
        const unsigned event = random() % 20;
        if (event == 0) {
          player.toggle_pause(now);
        } else if (event == 1) {
          player.single_step(now);
        } else if (event == 2) {
          player.set_speed(static_cast<int>(random() % kWalkSpeeds.size()), now);
        }
        const std::optional<int> next = player.tick(now);
        if (!next && player.paused()) {
          player.toggle_pause(now);
        }
        now += milliseconds(next.value_or(5) + static_cast<int>(random() % 3));
      }
      EXPECT_FALSE(animated.walking);
    }
    expect_same_samples(plain, animated);
  }
}

// At 30 steps per second or slower each step shows its proposal, then its
// outcome, half of the step's time each; faster, the steps come at the rate.
TEST(WalkPlayer, StepsComeAtTheChosenSpeed) {
  struct Case {
    int speed;
    int steps_in_two_seconds;
  };
  for (const Case c : {Case{0, 2}, Case{2, 20}, Case{3, 60}, Case{4, 200}, Case{5, 2000}}) {
    Simulation sim;
    sim.nsteps = 100000;
    WalkPlayer player(sim);
    player.set_speed(c.speed, {});
    Clock::time_point now{};
    ASSERT_TRUE(player.begin(true, true, now));
    const Clock::time_point end = now + milliseconds(2000);
    int phases = 0;
    StepPhase last = player.phase();
    while (now < end) {
      const std::optional<int> next = player.tick(now);
      ASSERT_TRUE(next.has_value());
      phases += player.phase() != last ? 1 : 0;
      last = player.phase();
      now += milliseconds(*next);
    }
    // Steps due at 0, 1/rate, ...: those of the last frame (16 ms) may not
    // be taken yet.
    const int rate = kWalkSpeeds[static_cast<std::size_t>(c.speed)];
    EXPECT_GE(sim.steps_done, c.steps_in_two_seconds - rate * 16 / 1000) << speed_text(c.speed);
    EXPECT_LE(sim.steps_done, c.steps_in_two_seconds + 1) << speed_text(c.speed);
    if (rate <= kForaySpeedLimit) {
      EXPECT_GE(phases, 2 * c.steps_in_two_seconds - 1) << speed_text(c.speed);
    }
    player.stop();
  }
}

TEST(WalkPlayer, TheProposalHoldsBackTheStepsSamples) {
  Simulation sim;
  WalkPlayer player(sim);
  player.set_speed(0, {});
  Clock::time_point now{};
  ASSERT_TRUE(player.begin(true, true, now));
  ASSERT_EQ(player.tick(now), 500);  // half of a second
  EXPECT_EQ(sim.steps_done, 1);
  EXPECT_TRUE(player.shows_step());
  EXPECT_TRUE(player.holds_back_samples());
  EXPECT_EQ(player.tick(now + milliseconds(499)), 1);  // too early: nothing changes
  EXPECT_TRUE(player.holds_back_samples());
  player.tick(now + milliseconds(500));
  EXPECT_EQ(player.phase(), StepPhase::outcome);
  EXPECT_FALSE(player.holds_back_samples());
  EXPECT_EQ(sim.steps_done, 1);
  EXPECT_EQ(player.progress_text(now + milliseconds(500)),
            "Animating at 1 step/s: step 1 of 100, 2 samples, 0.5 s");
  player.toggle_pause(now + milliseconds(500));
  EXPECT_EQ(player.tick(now + milliseconds(5000)), std::nullopt);
  EXPECT_EQ(player.progress_text(now + milliseconds(5000)),
            "Paused: step 1 of 100, 2 samples, 0.5 s");
  player.single_step(now + milliseconds(5000));
  EXPECT_EQ(sim.steps_done, 2);
  EXPECT_TRUE(player.paused());
  EXPECT_TRUE(player.shows_step());
  EXPECT_EQ(player.phase(), StepPhase::outcome);
}

class FrameWalk : public ::testing::Test {
 protected:
  FakeHost host;
  Simulation sim{host};
  Frame frame{sim, host};

  void SetUp() override {
    host.ticks_accepted = true;
    two_hills(sim, 3);
  }
  // What the window does on the repaint the host was asked for.
  void repaint() {
    frame.request_paint();
    frame.render();
  }
  // Ticks as the front end's timer would, until the walk has ended.
  void tick_to_end() {
    for (int i = 0; i < 100000 && frame.player().running(); ++i) {
      frame.tick();
      repaint();
    }
    ASSERT_FALSE(frame.player().running());
  }
};

TEST_F(FrameWalk, StartWalkingRunsFromTheEventLoop) {
  sim.nsteps = 200000;
  frame.command(kStartWalking);
  EXPECT_TRUE(sim.walking);
  EXPECT_EQ(host.tick_requests, std::vector<int>{0});
  EXPECT_LT(sim.steps_done, 200000);
  frame.tick();
  EXPECT_GT(sim.steps_done, 0);
  // Refused while it runs: nothing that would change the model.
  const std::int32_t steps = sim.steps_done;
  for (const int id : {kClear, kOneChain, kOptions, kStartWalking, kContinueWalking,
                       kAnimateWalking, kToggleRotation, kOpen, kRefuseAtWalls}) {
    frame.command(id);
    EXPECT_EQ(sim.nchains, 3) << id;
    EXPECT_EQ(sim.steps_done, steps) << id;
    EXPECT_FALSE(sim.allow_rotation) << id;
    EXPECT_FALSE(sim.reject_at_walls) << id;  // the walk keeps the rule it began with
  }
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_TRUE(host.file_requests.empty());
  frame.left_press({10, 10});  // no new hill either
  EXPECT_FALSE(frame.mouse().band.active());
  for (const MenuItemState& state : frame.menu_state()) {
    // Chain 4 is greyed with three chains, walking or not.
    EXPECT_EQ(state.enabled, !model_changing(state.id) && state.id != kShowChain1 + 3) << state.id;
  }
  // Esc ends it after the step in progress: whole steps, their samples.
  frame.key_char(kEscape);
  EXPECT_FALSE(sim.walking);
  EXPECT_EQ(sim.steps_done, steps);
  EXPECT_EQ(sim.rates.moves[0].taken, steps);
  EXPECT_EQ(sim.rates.exchanges.taken, steps);
  EXPECT_EQ(host.cursors.back(), Cursor::arrow);
  frame.command(kClear);
  EXPECT_EQ(sim.steps_done, 0);
}

// When the animation ends, the picture is the one a plain walk leaves.
TEST_F(FrameWalk, AnAnimationEndsWithTheOrdinaryPicture) {
  FakeHost plain_host;
  Simulation plain{plain_host};
  Frame plain_frame{plain, plain_host};
  two_hills(plain, 3);
  plain_frame.command(kStartWalking);
  plain_frame.request_paint();
  plain_frame.render();

  frame.command(kFaster);
  frame.command(kFaster);  // 100 steps per second
  frame.command(kAnimateWalking);
  EXPECT_TRUE(frame.player().animated());
  int frames = 0;
  while (frame.player().running()) {
    frame.tick();
    repaint();
    // Under load the tick may have ended the walk; a single step would then
    // begin another.
    if (++frames % 7 == 0 && frame.player().running()) {
      frame.command(kSingleStep);  // pauses
      repaint();
      frame.command(kPauseWalking);  // and on
    }
  }
  repaint();
  expect_same_samples(plain, sim);
  ASSERT_EQ(frame.surface().width(), plain_frame.surface().width());
  EXPECT_TRUE(
      std::equal(frame.surface().pixels(),
                 frame.surface().pixels() + frame.surface().width() * frame.surface().height(),
                 plain_frame.surface().pixels()));
}

TEST_F(FrameWalk, AStepIsDrawnOverThePictureAndGoesWithTheNextFrame) {
  sim.dot_radius = 1;
  frame.command(kSingleStep);  // begins a paused animation with one step
  EXPECT_TRUE(frame.player().paused());
  EXPECT_EQ(sim.steps_done, 1);
  repaint();
  const std::vector<std::uint32_t> shown_step(
      frame.surface().pixels(),
      frame.surface().pixels() + frame.surface().width() * frame.surface().height());
  frame.command(kStopWalking);
  repaint();
  // The forays and robots were drawn on top; the ordinary picture has none.
  int differing = 0;
  for (std::size_t i = 0; i < shown_step.size(); ++i) {
    differing += shown_step[i] != frame.surface().pixels()[i] ? 1 : 0;
  }
  EXPECT_GT(differing, 20);
  EXPECT_FALSE(frame.player().running());
  EXPECT_EQ(frame.progress_text(), "");
}

// In the density view an animation draws its steps over the density of the
// samples so far, not over dots, and Stop leaves the density picture.
TEST_F(FrameWalk, AnAnimationInTheDensityViewDrawsOverTheDensity) {
  sim.dot_radius = 4;  // dots drawn by mistake would cover much of the picture
  frame.command(kDensityView);
  for (int i = 0; i < 120; ++i) {
    frame.command(kSingleStep);
    repaint();
  }
  const auto differing_from_fresh = [this] {
    RasterCanvas fresh(400, 400);
    sim.full_redraw = true;
    paint(sim, fresh, client_rect(sim), false);
    int n = 0;
    for (std::size_t i = 0; i < 400 * 400; ++i) {
      n += fresh.pixels()[i] != frame.surface().pixels()[i] ? 1 : 0;
    }
    return n;
  };
  const int during = differing_from_fresh();
  EXPECT_GT(during, 20);    // the step on top
  EXPECT_LT(during, 3000);  // and nothing else
  frame.command(kStopWalking);
  repaint();
  EXPECT_EQ(differing_from_fresh(), 0);
}

TEST_F(FrameWalk, WithoutATimerTheWalkEndsAtOnce) {
  host.ticks_accepted = false;
  frame.command(kAnimateWalking);
  EXPECT_FALSE(sim.walking);
  EXPECT_EQ(sim.steps_done, 150);
  // Single steps need no timer: the walk stays paused after each.
  frame.command(kClear);
  frame.command(kSingleStep);
  frame.command(kSingleStep);
  EXPECT_TRUE(frame.player().paused());
  EXPECT_EQ(sim.steps_done, 2);
  frame.command(kStopWalking);
  EXPECT_FALSE(sim.walking);
  EXPECT_EQ(sim.steps_done, 2);
}

// A long picture is drawn a slice at a time from the timer; a command in
// between gives it up and asks for the picture again.
TEST_F(FrameWalk, ALongPictureIsPaintedInSlices) {
  FakeHost plain_host;
  Simulation plain{plain_host};
  Frame plain_frame{plain, plain_host};
  for (Simulation* s : {&plain, &sim}) {
    two_hills(*s, 3);
    s->nsteps = 400000;
  }
  plain_frame.command(kStartWalking);
  plain_frame.request_paint();
  plain_frame.render();  // no timer there: all at once

  frame.command(kStartWalking);
  tick_to_end();
  frame.command(kToggleTrajectory);  // a command while the picture is drawn
  repaint();
  frame.command(kToggleTrajectory);
  repaint();
  int ticks = 0;
  for (; frame.painting() && ticks < 100000; ++ticks) {
    frame.tick();
    frame.render();
  }
  EXPECT_FALSE(frame.painting());
  EXPECT_TRUE(
      std::equal(frame.surface().pixels(),
                 frame.surface().pixels() + frame.surface().width() * frame.surface().height(),
                 plain_frame.surface().pixels()));
  // Clear in the middle of a picture: nothing of the old samples is drawn.
  frame.command(kRefresh);
  repaint();
  frame.command(kClear);
  repaint();
  while (frame.painting()) {
    frame.tick();
  }
  for (std::size_t i = 0; i < 400 * 400; i += 997) {
    ASSERT_NE(frame.surface().pixels()[i], RasterCanvas::pixel_of(sim.chains[0].colour));
  }
}

TEST(RatesStatus, OneLineForTheStatusBar) {
  Simulation sim;
  sim.set_chain_count(2);
  sim.rates.moves[0] = {45, 100};
  sim.rates.moves[1] = {2, 3};
  sim.rates.exchanges = {1, 3};
  sim.steps_done = 100;
  EXPECT_EQ(rates_status_text(sim),
            "Steps walked: 100 | Moves accepted: 1: 45.0%  2: 66.7% | Exchanges: 33.3%");
  sim.set_chain_count(1);
  sim.rates = {};
  EXPECT_EQ(rates_status_text(sim), "Steps walked: 100 | Moves accepted: 1: 0.0%");
}

}  // namespace
}  // namespace wandrix
