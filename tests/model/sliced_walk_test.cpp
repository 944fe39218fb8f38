// A walk cut into slices, paused, stepped one step at a time or stopped
// early: the samples, the generator and the rates must be those of one
// uninterrupted walk, and an early stop must leave whole steps.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "fake_host.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

using testing::FakeHost;

struct Setup {
  int nchains;
  bool hills;
  bool rotation;
  bool walls = false;  // refusing forays beyond the walls
};

void prepare(Simulation& sim, const Setup& setup) {
  sim.set_chain_count(setup.nchains);
  if (setup.hills) {
    sim.hills = {Hill{"west", 120, 200, 40, 40, 0.3, 1, 0},
                 Hill{"east", 290, 150, 30, 50, -0.5, 2, 0}};
    sim.normalize_weights();
    sim.ignore_topography = false;
  }
  sim.allow_rotation = setup.rotation;
  sim.reject_at_walls = setup.walls;
  sim.rn_seed = 4711;
  sim.nsteps = 6000;  // the lists are reserved anew after 4096 steps
  sim.clear();
}

void expect_same_walk(const Simulation& a, const Simulation& b) {
  EXPECT_EQ(a.steps_done, b.steps_done);
  EXPECT_EQ(a.rng.state(), b.rng.state());
  EXPECT_EQ(a.rates, b.rates);
  for (std::size_t p = 0; p < a.chains.size(); ++p) {
    EXPECT_EQ(a.chains[p].xs, b.chains[p].xs) << "chain " << p + 1;
    EXPECT_EQ(a.chains[p].ys, b.chains[p].ys) << "chain " << p + 1;
    EXPECT_EQ(a.chains[p].zs, b.chains[p].zs) << "chain " << p + 1;
    // The lists are reserved alike, whatever the slices.
    EXPECT_EQ(a.chains[p].xs.capacity(), b.chains[p].xs.capacity()) << "chain " << p + 1;
    EXPECT_EQ(a.chains[p].x, b.chains[p].x);
    EXPECT_EQ(a.chains[p].y, b.chains[p].y);
  }
}

// One walk in random slices: batches of random size, pauses (nothing runs),
// single recorded steps, and slices given a time budget.
void walk_in_slices(Simulation& sim, bool start, std::mt19937& random) {
  ASSERT_TRUE(sim.begin_walk(start));
  StepTrace trace;
  while (!sim.walk_complete()) {
    switch (random() % 4) {
      case 0:
        sim.advance_walk(static_cast<std::int64_t>(random() % 700));
        break;
      case 1:
        break;  // paused: a timer tick that walks nothing
      case 2:
        EXPECT_EQ(sim.advance_walk(1, &trace), 1);
        break;
      default:
        sim.advance_walk_for(std::chrono::microseconds(random() % 300));
        break;
    }
    ASSERT_TRUE(sim.walking);
  }
  sim.end_walk();
}

class SlicedWalk : public ::testing::TestWithParam<Setup> {};

TEST_P(SlicedWalk, StartThenContinueEqualsThePlainWalk) {
  std::mt19937 random(static_cast<unsigned>(GetParam().nchains * 31 + GetParam().hills));
  Simulation plain;
  Simulation sliced;
  prepare(plain, GetParam());
  prepare(sliced, GetParam());
  plain.start_walking();
  walk_in_slices(sliced, true, random);
  expect_same_walk(plain, sliced);
  plain.continue_walking();
  walk_in_slices(sliced, false, random);
  expect_same_walk(plain, sliced);
}

INSTANTIATE_TEST_SUITE_P(Chains, SlicedWalk,
                         ::testing::Values(Setup{1, false, false}, Setup{1, true, true},
                                           Setup{2, false, true}, Setup{2, true, false},
                                           Setup{3, true, true}, Setup{4, false, false},
                                           Setup{4, true, true}, Setup{1, true, false, true},
                                           Setup{3, false, true, true}));

TEST(SlicedWalk, AStoppedWalkKeepsWholeSteps) {
  for (const int nchains : {1, 2, 4}) {
    FakeHost host;
    Simulation sim(host);
    prepare(sim, {nchains, false, true});
    ASSERT_TRUE(sim.begin_walk(true));
    EXPECT_FALSE(sim.begin_walk(true));  // one walk at a time
    EXPECT_EQ(sim.walk_target(), 6000);
    EXPECT_EQ(sim.advance_walk(1234), 1234);
    sim.end_walk();
    EXPECT_FALSE(sim.walking);
    EXPECT_EQ(sim.steps_done, 1234);
    // Without hills every step is a move and, with two chains or more, an
    // exchange: two more samples for each chain it joins.
    std::size_t samples = 0;
    for (int p = 0; p < nchains; ++p) {
      const Chain& chain = sim.chains[static_cast<std::size_t>(p)];
      EXPECT_EQ(chain.ys.size(), chain.xs.size());
      EXPECT_EQ(chain.zs.size(), chain.xs.size());
      samples += chain.xs.size();
    }
    EXPECT_EQ(samples, static_cast<std::size_t>(nchains * 1235 + (nchains > 1 ? 2 * 1234 : 0)));
    EXPECT_EQ(host.cursors, (std::vector<Cursor>{Cursor::wait, Cursor::arrow}));
    EXPECT_EQ(host.invalidations, 1);
    // Nothing happens once the walk has ended.
    EXPECT_EQ(sim.advance_walk(10), 0);
    EXPECT_TRUE(sim.walk_complete());
  }
}

// What the trace says of a step agrees with the samples it recorded; a
// foray refused beyond the walls ends where it would have gone, outside.
TEST(SlicedWalk, TheTraceTellsEachForayAndItsOutcome) {
  for (const bool walls : {false, true}) {
    Simulation sim;
    prepare(sim, {1, true, false, walls});
    sim.start_x = 5;  // near a wall: many forays turn, or are refused
    sim.step_mean = sim.step_stddev = 60.0;
    ASSERT_TRUE(sim.begin_walk(true));
    StepTrace trace;
    int turned = 0;
    int rejected = 0;
    int beyond = 0;
    const Chain& chain = sim.chains[0];
    for (int i = 0; i < 400; ++i) {
      ASSERT_EQ(sim.advance_walk(1, &trace), 1);
      const ForayTrace& foray = trace.forays[0];
      const LandscapePoint& stands = foray.accepted ? foray.to : foray.from;
      ASSERT_EQ(chain.x, stands.x);
      ASSERT_EQ(chain.y, stands.y);
      ASSERT_EQ(chain.xs.back(), static_cast<int>(stands.x));
      for (const LandscapePoint& turn : foray.turns) {
        const bool on_wall = turn.x == 0.0 || turn.x == 400.0 || turn.y == 0.0 || turn.y == 400.0;
        ASSERT_TRUE(on_wall) << turn.x << ", " << turn.y;
      }
      EXPECT_FALSE(trace.exchange.attempted());
      turned += foray.turns.empty() ? 0 : 1;
      rejected += foray.accepted ? 0 : 1;
      const bool outside =
          foray.to.x < 0.0 || foray.to.x > 400.0 || foray.to.y < 0.0 || foray.to.y > 400.0;
      ASSERT_TRUE(!outside || (walls && !foray.accepted)) << foray.to.x << ", " << foray.to.y;
      beyond += outside ? 1 : 0;
    }
    sim.end_walk();
    EXPECT_EQ(turned > 0, !walls);
    EXPECT_EQ(beyond > 0, walls);
    EXPECT_GT(rejected, beyond);  // the acceptance rule refuses some too
    EXPECT_EQ(sim.rates.moves[0].taken, 400);
    EXPECT_EQ(sim.rates.moves[0].accepted, 400 - rejected);
  }
}

// Every path that clears the walks, and Start walking, sets the counts back
// to zero; Continue walking adds to them.
TEST(WalkRates, CountFromTheLastStartOrClear) {
  struct Case {
    std::string name;
    std::function<void(Simulation&)> act;
    bool resets;
  };
  const std::vector<Case> cases{
      {"continue", [](Simulation& s) { s.continue_walking(); }, false},
      {"start", [](Simulation& s) { s.start_walking(); }, true},
      {"clear", [](Simulation& s) { s.clear_and_redraw(); }, true},
      {"chain count", [](Simulation& s) { s.change_chain_count(2); }, true},
      {"new seed",
       [](Simulation& s) {
         s.rn_seed += 1;
         s.after_robot_options(false, s.rn_seed - 1);
       },
       true},
      {"rotation on", [](Simulation& s) { s.toggle_rotation(); }, true},
      {"show", [](Simulation& s) { s.show_chain(0); }, false},
  };
  for (const Case& c : cases) {
    Simulation sim;
    prepare(sim, {2, true, false});
    sim.nsteps = 200;
    sim.start_walking();
    EXPECT_EQ(sim.rates.moves[1].taken, 200) << c.name;
    EXPECT_EQ(sim.rates.exchanges.taken, 200) << c.name;
    const WalkRates before = sim.rates;
    c.act(sim);
    const std::int64_t walked = c.name == "continue" || c.name == "start" ? 200 : 0;
    const std::int64_t kept = c.resets ? 0 : before.moves[0].taken;
    EXPECT_EQ(sim.rates.moves[0].taken, kept + walked) << c.name;
    EXPECT_EQ(sim.rates.exchanges.taken, kept + walked) << c.name;
    EXPECT_EQ(sim.rates.moves[2].taken, 0) << c.name;
  }
}

}  // namespace
}  // namespace wandrix
