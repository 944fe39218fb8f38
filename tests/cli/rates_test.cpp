// wandrix-cli's rates: the exact text, the counts across Start, Continue,
// Clear and chain changes, and the progress line a terminal sees.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "cli/actions.h"

namespace wandrix::cli {
namespace {

std::string run_ok(const std::vector<std::string>& words) {
  Simulation sim;
  prepare_session(sim);
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(run_actions(words, sim, out, err), 0) << err.str();
  return out.str();
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::vector<std::string> kTwoHills = {"hill", "w", "120", "200", "40", "40", "0.3",  "1",
                                            "hill", "e", "290", "150", "30", "50", "-0.5", "2"};

// Forays of about 100 pixels on a landscape of 30 by 30.
const std::vector<std::string> kFarSteps = {
    "resize",  "30",  "30",     "set",       "start_x", "15",  "set",
    "start_y", "15",  "set",    "step_mean", "100",     "set", "step_stddev",
    "0.1",     "set", "nsteps", "12",        "chains",  "2"};

// Without hills every move and every exchange is accepted, so the counts are
// known from the steps alone.
TEST(CliRates, WithoutHillsEveryMoveAndExchangeCounts) {
  struct Case {
    std::vector<std::string> words;
    std::string text;
  };
  const Case cases[] = {
      {{"rates"}, "Steps walked: 0\nChain 1: 0 of 0 moves accepted (0.0%)\n"},
      {{"set", "nsteps", "40", "start", "rates"},
       "Steps walked: 40\nChain 1: 40 of 40 moves accepted (100.0%)\n"},
      {{"chains", "2", "set", "nsteps", "7", "start", "continue", "rates"},
       "Steps walked: 14\nChain 1: 14 of 14 moves accepted (100.0%)\n"
       "Chain 2: 14 of 14 moves accepted (100.0%)\nExchanges: 14 of 14 accepted (100.0%)\n"},
      {{"chains", "4", "start", "clear", "rates"},
       "Steps walked: 0\nChain 1: 0 of 0 moves accepted (0.0%)\n"
       "Chain 2: 0 of 0 moves accepted (0.0%)\nChain 3: 0 of 0 moves accepted (0.0%)\n"
       "Chain 4: 0 of 0 moves accepted (0.0%)\nExchanges: 0 of 0 accepted (0.0%)\n"},
      {{"chains", "3", "set", "nsteps", "5", "start", "continue", "start", "rates"},
       "Steps walked: 5\nChain 1: 5 of 5 moves accepted (100.0%)\n"
       "Chain 2: 5 of 5 moves accepted (100.0%)\nChain 3: 5 of 5 moves accepted (100.0%)\n"
       "Exchanges: 5 of 5 accepted (100.0%)\n"},
      // A change of chains clears, and the next Continue starts afresh.
      {{"chains", "2", "start", "chains", "1", "set", "nsteps", "9", "continue", "rates"},
       "Steps walked: 9\nChain 1: 9 of 9 moves accepted (100.0%)\n"},
      // Every straight end lies beyond the walls of a small landscape: the
      // walls turn each foray back in, or refuse each one, a refused move.
      {kFarSteps + std::vector<std::string>{"start", "rates"},
       "Steps walked: 12\nChain 1: 12 of 12 moves accepted (100.0%)\n"
       "Chain 2: 12 of 12 moves accepted (100.0%)\nExchanges: 12 of 12 accepted (100.0%)\n"},
      {kFarSteps + std::vector<std::string>{"set", "reject_at_walls", "1", "start", "rates"},
       "Steps walked: 12\nChain 1: 0 of 12 moves accepted (0.0%)\n"
       "Chain 2: 0 of 12 moves accepted (0.0%)\nExchanges: 12 of 12 accepted (100.0%)\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run_ok(c.words), c.text);
  }
}

// With hills the counts are checked against the positions: a refused move
// leaves its chain exactly where it stood, an accepted one (the proposal is
// a continuous distance) never does; an exchange that is made gives both
// chains of the pair one more sample.
struct Counted {
  std::int64_t steps = 0;
  std::vector<std::int64_t> accepted;
  std::int64_t exchanges_made = 0;
  std::int64_t exchanges_tried = 0;
  std::int64_t beyond_walls = 0;  // refused forays that end beyond the walls
};

void count_by_positions(Simulation& sim, bool start, Counted& counted) {
  counted.accepted.resize(static_cast<std::size_t>(sim.nchains));
  ASSERT_TRUE(sim.begin_walk(start));
  StepTrace trace;
  while (!sim.walk_complete()) {
    std::vector<std::size_t> before;
    for (int p = 0; p < sim.nchains; ++p) {
      before.push_back(sim.chains[static_cast<std::size_t>(p)].xs.size());
    }
    sim.advance_walk(1, &trace);
    ++counted.steps;
    for (int p = 0; p < sim.nchains; ++p) {
      const Chain& chain = sim.chains[static_cast<std::size_t>(p)];
      const bool exchanged = chain.xs.size() == before[static_cast<std::size_t>(p)] + 2;
      counted.exchanges_made += exchanged ? 1 : 0;  // twice per exchange
      // Where the foray left the chain, before any exchange.
      const ForayTrace& foray = trace.forays[static_cast<std::size_t>(p)];
      const bool stayed = exchanged ? chain.prev_x == foray.from.x && chain.prev_y == foray.from.y
                                    : chain.x == foray.from.x && chain.y == foray.from.y;
      counted.accepted[static_cast<std::size_t>(p)] += stayed ? 0 : 1;
      const bool outside = foray.to.x < 0.0 || foray.to.x > std::trunc(sim.width) ||
                           foray.to.y < 0.0 || foray.to.y > std::trunc(sim.height);
      counted.beyond_walls += outside && stayed ? 1 : 0;
    }
    counted.exchanges_tried += sim.nchains > 1 ? 1 : 0;
  }
  sim.end_walk();
}

std::string expected_text(const Counted& c) {
  std::ostringstream text;
  text << "Steps walked: " << c.steps << "\n";
  for (std::size_t p = 0; p < c.accepted.size(); ++p) {
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.1f",
                  100.0 * static_cast<double>(c.accepted[p]) / static_cast<double>(c.steps));
    text << "Chain " << p + 1 << ": " << c.accepted[p] << " of " << c.steps << " moves accepted ("
         << percent << "%)\n";
  }
  if (c.accepted.size() > 1) {
    char percent[32];
    const std::int64_t made = c.exchanges_made / 2;
    std::snprintf(percent, sizeof percent, "%.1f",
                  100.0 * static_cast<double>(made) / static_cast<double>(c.exchanges_tried));
    text << "Exchanges: " << made << " of " << c.exchanges_tried << " accepted (" << percent
         << "%)\n";
  }
  return text.str();
}

TEST(CliRates, WithHillsTheCountsFollowThePositions) {
  for (int k = 0; k < 8; ++k) {
    const int nchains = k % 4 + 1;
    // The second round refuses forays beyond the walls; long ones, so that
    // many are.
    const bool walls = k >= 4;
    const std::vector<std::string> setup =
        std::vector<std::string>{"set",    "rn_seed", "31",     "set",
                                 "nsteps", "700",     "chains", std::to_string(nchains)} +
        (walls ? std::vector<std::string>{"set", "reject_at_walls", "1", "set", "step_mean", "90"}
               : std::vector<std::string>{});
    // The same session in process, step by step.
    Simulation sim;
    prepare_session(sim);
    std::ostringstream ignored;
    ASSERT_EQ(run_actions(setup + kTwoHills, sim, ignored, ignored), 0);
    Counted counted;
    count_by_positions(sim, true, counted);
    count_by_positions(sim, false, counted);
    EXPECT_EQ(counted.beyond_walls > 0, walls) << nchains << " chains";
    EXPECT_EQ(run_ok(setup + kTwoHills + std::vector<std::string>{"start", "continue", "rates"}),
              expected_text(counted))
        << nchains << " chains";
  }
}

TEST(CliRates, ProgressIsOneLineRewrittenAndErased) {
  Simulation sim;
  prepare_session(sim);
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(run_actions({"set", "nsteps", "300000", "chains", "2", "start", "rates"}, sim, out, err,
                        std::chrono::milliseconds(0)),
            0);
  const std::string shown = err.str();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.rfind("\rwandrix-cli: start: 0 of 300000 steps (0.0%), 0.0 s", 0), 0U) << shown;
  // Each line starts at the left, and the last one is blanked out.
  const std::size_t last = shown.rfind("\rwandrix-cli: start: ");
  const std::size_t end = shown.find('\r', last + 1);
  ASSERT_NE(end, std::string::npos);
  const std::string line = shown.substr(last + 1, end - last - 1);
  EXPECT_EQ(shown.substr(end), "\r" + std::string(line.size(), ' ') + "\r");
  EXPECT_EQ(out.str().rfind("Steps walked: 300000\n", 0), 0U);
}

// The program on a terminal shows how far a long walk has come on standard
// error, and nothing of it when standard error is not a terminal.
TEST(CliRates, ProgressOnlyOnATerminal) {
  const char* cli = std::getenv("WANDRIX_CLI");
  ASSERT_NE(cli, nullptr) << "WANDRIX_CLI names the program";
  const std::vector<const char*> argv = {
      cli, "chains", "4",      "hill",    "a",     "150",      "150",   "60",   "60",
      "0", "1",      "hill",   "b",       "300",   "250",      "40",    "40",   "0.5",
      "1", "set",    "nsteps", "1000000", "start", "continue", "rates", nullptr};
  for (const bool terminal : {true, false}) {
    int master = -1;
    int pipe_ends[2] = {-1, -1};
    ASSERT_EQ(
        terminal ? openpty(&master, &pipe_ends[1], nullptr, nullptr, nullptr) : pipe(pipe_ends), 0);
    const int reader = terminal ? master : pipe_ends[0];
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      dup2(pipe_ends[1], STDERR_FILENO);
      const int null_out = open("/dev/null", O_WRONLY);
      dup2(null_out, STDOUT_FILENO);
      close(reader);
      execv(cli, const_cast<char* const*>(argv.data()));
      _exit(127);
    }
    close(pipe_ends[1]);
    std::string seen;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = read(reader, buffer, sizeof buffer)) > 0) {
      seen.append(buffer, static_cast<std::size_t>(n));
    }
    close(reader);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    if (terminal) {
      EXPECT_NE(seen.find("wandrix-cli: start: "), std::string::npos) << seen;
      EXPECT_NE(seen.find(" of 1000000 steps ("), std::string::npos) << seen;
      EXPECT_NE(seen.find("wandrix-cli: continue: "), std::string::npos) << seen;
      // The line is gone at the end: blanks over it, the cursor back at its start.
      EXPECT_EQ(seen.back(), '\r') << seen;
    } else {
      EXPECT_EQ(seen, "");
    }
  }
}

// Ctrl+C in the middle of a long walk on a terminal: the program ends by
// SIGINT (status 130 in a shell) and the file it was to write never appears.
TEST(CliRates, SigintStopsAWalk) {
  const char* cli = std::getenv("WANDRIX_CLI");
  ASSERT_NE(cli, nullptr) << "WANDRIX_CLI names the program";
  const std::string out = ::testing::TempDir() + "wandrix_sigint_samples.csv";
  std::remove(out.c_str());
  const std::vector<const char*> argv = {cli,        "chains",   "4",       "hill",      "a",
                                         "150",      "150",      "60",      "60",        "0",
                                         "1",        "set",      "nsteps",  "1000000",   "start",
                                         "continue", "continue", "samples", out.c_str(), nullptr};
  int master = -1;
  int slave = -1;
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(slave, STDERR_FILENO);
    close(master);
    execv(cli, const_cast<char* const*>(argv.data()));
    _exit(127);
  }
  close(slave);
  // Walking: its progress is on the terminal.
  std::string seen;
  char buffer[256];
  ssize_t n = 0;
  while (seen.find(" steps (") == std::string::npos &&
         (n = read(master, buffer, sizeof buffer)) > 0) {
    seen.append(buffer, static_cast<std::size_t>(n));
  }
  ASSERT_NE(seen.find(" steps ("), std::string::npos) << seen;
  kill(child, SIGINT);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  close(master);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace wandrix::cli
