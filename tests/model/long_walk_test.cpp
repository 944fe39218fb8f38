// Long walks keep every sample, stay inside the landscape, and end cleanly
// when memory runs out. The full-size walk (20 x 1,000,000 steps) is measured
// in bench/long_walk_bench.cpp; here it runs scaled down.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "fake_host.h"
#include "model/make_hill.h"
#include "model/simulation.h"
#include "time_limit.h"

#if defined(__SANITIZE_ADDRESS__)
#define WANDRIX_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WANDRIX_UNDER_ASAN 1
#endif
#endif

namespace wandrix {
namespace {

using testing::make_hill;

void four_chains_with_rotation(Simulation& sim, bool with_hills) {
  sim.set_chain_count(4);
  if (with_hills) {
    sim.add_confirmed_hill(make_hill(120, 260, 40, 30, 0.3, 2));
    sim.add_confirmed_hill(make_hill(300, 100, 25, 50, -0.6, 1));
  }
  sim.allow_rotation = true;
  sim.rn_seed = 4242;
  sim.clear();
}

// Every sample of every chain in use lies on the landscape, in client
// coordinates, and every recorded height is a number.
::testing::AssertionResult samples_are_sound(const Simulation& sim) {
  const auto w = static_cast<std::int32_t>(sim.width);
  const auto h = static_cast<std::int32_t>(sim.height);
  for (int p = 0; p < sim.nchains; ++p) {
    const Chain& c = sim.chains[static_cast<std::size_t>(p)];
    if (c.xs.size() != c.ys.size() || (sim.allow_rotation && c.zs.size() != c.xs.size())) {
      return ::testing::AssertionFailure() << "chain " << p + 1 << " has lists of different length";
    }
    for (std::size_t i = 0; i < c.xs.size(); ++i) {
      if (c.xs[i] < 0 || c.xs[i] > w || c.ys[i] < 0 || c.ys[i] > h) {
        return ::testing::AssertionFailure() << "chain " << p + 1 << " sample " << i << " at ("
                                             << c.xs[i] << ", " << c.ys[i] << ") is outside";
      }
    }
    for (std::size_t i = 0; i < c.zs.size(); ++i) {
      if (!std::isfinite(c.zs[i])) {
        return ::testing::AssertionFailure() << "chain " << p + 1 << " height " << i << " is NaN";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(LongWalk, ContinuingTwentyTimesKeepsEverySample) {
  Simulation sim;
  four_chains_with_rotation(sim, true);
  sim.nsteps = 20000;
  sim.start_walking();
  for (int round = 1; round < 20; ++round) {
    std::array<Chain, kMaxChains> before = sim.chains;
    sim.continue_walking();
    ASSERT_EQ(sim.steps_done, (round + 1) * 20000);
    for (std::size_t p = 0; p < 4; ++p) {
      const Chain& now = sim.chains[p];
      // One sample per step at least, and the earlier ones untouched.
      ASSERT_GE(now.xs.size(), before[p].xs.size() + 20000);
      ASSERT_TRUE(std::equal(before[p].xs.begin(), before[p].xs.end(), now.xs.begin()));
      ASSERT_TRUE(std::equal(before[p].ys.begin(), before[p].ys.end(), now.ys.begin()));
      ASSERT_TRUE(std::equal(before[p].zs.begin(), before[p].zs.end(), now.zs.begin()));
    }
  }
  EXPECT_TRUE(samples_are_sound(sim));
}

TEST(LongWalk, WithoutHillsTheSampleCountIsExact) {
  // Without hills every step and every exchange is accepted: each of the
  // four chains records its start, one sample per step, and two chains one
  // more each per exchange.
  Simulation sim;
  four_chains_with_rotation(sim, false);
  sim.nsteps = 20000;
  sim.start_walking();
  for (int round = 1; round < 20; ++round) {
    sim.continue_walking();
  }
  std::size_t total = 0;
  for (const Chain& chain : sim.chains) {
    total += chain.xs.size();
  }
  const std::size_t steps = 20 * 20000;
  EXPECT_EQ(total, 4 + 4 * steps + 2 * steps);
  EXPECT_TRUE(samples_are_sound(sim));
}

TEST(LongWalk, AWalkAfterTheWindowShrankStaysOnTheLandscape) {
  // The chains' positions and the start are not rescaled: after a shrink
  // they lie outside the landscape. Every foray from there must still end,
  // and on the landscape, for any step length.
  for (const double mean : {0.0, 0.05, 5.0, 500.0}) {
    EXPECT_EXIT(
        {
          testing::end_after(20);
          Simulation sim;
          four_chains_with_rotation(sim, true);
          sim.nsteps = 300;
          sim.start_walking();
          sim.rescale(100, 60);
          sim.step_mean = mean;
          sim.continue_walking();
          sim.rescale(1, 1);
          sim.continue_walking();
          const bool ok = sim.steps_done == 900 && samples_are_sound(sim);
          std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "")
        << "mean " << mean;
  }
}

TEST(LongWalk, ResizingBackAndForthCannotMakeAWalkEndless) {
  // Each resize multiplies the step settings by the mean of the two factors,
  // so alternating wide-flat and tall-narrow windows ratchets them up until a
  // foray turns at the walls millions of times.
  EXPECT_EXIT(
      {
        testing::end_after(20);
        Simulation sim;
        four_chains_with_rotation(sim, true);
        for (int i = 0; i < 4; ++i) {
          sim.rescale(1000, 1);
          sim.rescale(1, 1000);
        }
        sim.rescale(1000, 2);
        sim.start_y = 1;  // inside the thin landscape
        sim.nsteps = 2000;
        sim.start_walking();
        const bool ok = sim.step_mean > 1.0e6 && sim.steps_done == 2000 && samples_are_sound(sim);
        std::_Exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(LongWalk, AStartOutsideTheShrunkenLandscapeFinishes) {
  EXPECT_EXIT(
      {
        testing::end_after(20);
        Simulation sim;
        sim.rescale(1, 1);  // the start (150, 150) is now far outside
        sim.nsteps = 200;
        sim.start_walking();
        const Chain& c = sim.chains[0];
        // After the start point every sample is on the 1 x 1 landscape.
        bool ok = c.xs.size() == 201;
        for (std::size_t i = 1; i < c.xs.size(); ++i) {
          ok = ok && c.xs[i] >= 0 && c.xs[i] <= 1 && c.ys[i] >= 0 && c.ys[i] <= 1;
        }
        std::_Exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(LongWalk, AHalfRecordedSampleIsDroppedFromEveryList) {
  // The allocation that fails may be that of any list; what the other lists
  // already took of the sample goes.
  Simulation sim;
  sim.allow_rotation = true;
  Chain& chain = sim.chains[0];
  chain.start(10, 20);
  chain.record(11, 21, 0.5);
  const Chain complete = chain;
  for (int failed = 0; failed < 3; ++failed) {
    chain = complete;
    chain.xs.push_back(12);
    if (failed > 0) {
      chain.ys.push_back(378);
    }
    if (failed > 1) {
      chain.zs.push_back(0.25F);
      chain.xs.pop_back();  // now only the x list is short
    }
    chain.make_consistent(true);
    EXPECT_EQ(chain.xs, complete.xs) << "failed list " << failed;
    EXPECT_EQ(chain.ys, complete.ys) << "failed list " << failed;
    EXPECT_EQ(chain.zs, complete.zs) << "failed list " << failed;
  }
  // Without rotation there are no heights to look at.
  chain = complete;
  chain.zs.clear();
  chain.ys.push_back(1);
  chain.make_consistent(false);
  EXPECT_EQ(chain.xs, complete.xs);
  EXPECT_EQ(chain.ys, complete.ys);
}

#if !defined(WANDRIX_UNDER_ASAN) && !defined(_WIN32)
// The address space the process uses now, in bytes.
std::size_t address_space_in_use() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// Exit codes of the out-of-memory child, one per broken promise.
enum OomOutcome { kKept = 0, kNoMessage = 10, kWrongText, kStillWalking, kUneven, kLost, kDead };

int walk_until_memory_runs_out() {
  const rlim_t limit = address_space_in_use() + (384U << 20);
  const rlimit rl{limit, limit};
  if (setrlimit(RLIMIT_AS, &rl) != 0) {
    return kDead;
  }
  testing::FakeHost host;
  Simulation sim(host);
  four_chains_with_rotation(sim, true);
  sim.nsteps = 1000000;
  sim.start_walking();
  std::array<std::size_t, kMaxChains> before{};
  for (int round = 0; round < 200 && host.boxes.empty(); ++round) {
    for (std::size_t p = 0; p < 4; ++p) {
      before[p] = sim.chains[p].xs.size();
    }
    sim.continue_walking();
  }
  if (host.boxes.size() != 1) {
    return kNoMessage;
  }
  if (host.boxes[0].text != kOutOfMemoryText || host.boxes[0].caption != kOutOfMemoryCaption) {
    return kWrongText;
  }
  if (sim.walking) {
    return kStillWalking;
  }
  for (std::size_t p = 0; p < 4; ++p) {
    const Chain& c = sim.chains[p];
    if (c.xs.size() != c.ys.size() || c.zs.size() != c.xs.size()) {
      return kUneven;
    }
    if (c.xs.size() < before[p]) {
      return kLost;
    }
  }
  if (!samples_are_sound(sim)) {
    return kUneven;
  }
  // The program goes on: a clear frees the samples and a new walk works.
  sim.clear();
  sim.nsteps = 1000;
  sim.start_walking();
  return sim.chains[0].xs.size() >= 1001 && host.boxes.size() == 1 ? kKept : kDead;
}

#endif

TEST(LongWalk, RunningOutOfMemoryStopsTheWalkAndKeepsTheSamples) {
#ifdef WANDRIX_UNDER_ASAN
  GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit allows";
#elif defined(_WIN32)
  GTEST_SKIP() << "no limit on the address space to run into";
#else
  EXPECT_EXIT(std::_Exit(walk_until_memory_runs_out()), ::testing::ExitedWithCode(kKept), "");
#endif
}

}  // namespace
}  // namespace wandrix
