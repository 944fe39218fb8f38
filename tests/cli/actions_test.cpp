#include "cli/actions.h"

#include <gtest/gtest.h>

#include <sstream>

namespace wandrix::cli {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome run(const std::vector<std::string>& words) {
  Simulation sim;
  prepare_session(sim);
  std::ostringstream out;
  std::ostringstream err;
  const int status = run_actions(words, sim, out, err);
  return {status, out.str(), err.str()};
}

TEST(CliActions, SamplesAsCsv) {
  const Outcome r = run({"set", "rn_seed", "7", "set", "nsteps", "3", "start", "samples", "-"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::istringstream lines(r.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "chain,sample,x,y,z");
  std::getline(lines, line);
  EXPECT_EQ(line, "1,0,150,250,");
  int rows = 1;
  while (std::getline(lines, line)) {
    ++rows;
    EXPECT_EQ(line.rfind("1,", 0), 0U);
  }
  EXPECT_EQ(rows, 4);
}

TEST(CliActions, HeightsAppearWithRotation) {
  const Outcome r = run(
      {"set", "rn_seed", "3", "set", "nsteps",         "2", "hill",  "a",       "150", "150", "30",
       "30",  "0",       "1", "set", "allow_rotation", "1", "start", "samples", "-"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("1,0,150,250,0\n"), std::string::npos);
  EXPECT_NE(r.out.find("\n1,1,"), std::string::npos);
}

TEST(CliActions, SameSeedSameSamples) {
  const std::vector<std::string> words = {"set", "rn_seed", "12",       "chains",  "4",  "hill",
                                          "h",   "100",     "100",      "30",      "30", "0.5",
                                          "1",   "start",   "continue", "samples", "-"};
  EXPECT_EQ(run(words).out, run(words).out);
  auto other = words;
  other[2] = "13";
  EXPECT_NE(run(words).out, run(other).out);
}

TEST(CliActions, ErrorsNameTheActionAndStop) {
  struct Bad {
    std::vector<std::string> words;
    std::string message;
  };
  const Bad cases[] = {
      {{"fly"}, "wandrix-cli: unknown action 'fly'\n"},
      {{"set", "nsteps"}, "wandrix-cli: set: expects NAME VALUE\n"},
      {{"set", "nsteps", "0"}, "wandrix-cli: set: nsteps: 0 is outside 1 to 1000000\n"},
      {{"set", "step_mean", "100.5"}, "wandrix-cli: set: step_mean: 100.5 is outside 0 to 100\n"},
      {{"set", "dot_radius", "x"}, "wandrix-cli: set: dot_radius: 'x' is not a whole number\n"},
      {{"set", "colour", "1"}, "wandrix-cli: set: unknown option 'colour'\n"},
      {{"set", "show_trajectory", "2"}, "wandrix-cli: set: show_trajectory: '2' is not 0 or 1\n"},
      {{"chains", "5"}, "wandrix-cli: chains: 5 is outside 1 to 4\n"},
      {{"hill", "a", "1", "2", "3", "4", "1", "1"},
       "wandrix-cli: hill: the correlation must lie strictly between -1 and 1\n"},
      {{"set", "start_x", "401"}, "wandrix-cli: set: start_x: 401 is outside 0 to 400\n"},
  };
  for (const Bad& bad : cases) {
    const Outcome r = run(bad.words);
    EXPECT_EQ(r.status, kUsageError);
    EXPECT_EQ(r.err, bad.message);
  }
  // Nothing after the failing action runs.
  const Outcome r = run({"start", "chains", "9", "samples", "-"});
  EXPECT_EQ(r.status, kUsageError);
  EXPECT_TRUE(r.out.empty());
}

TEST(CliActions, OptionLimitsFollowTheLandscape) {
  EXPECT_EQ(run({"resize", "300", "200", "set", "start_y", "200"}).status, 0);
  EXPECT_EQ(run({"resize", "300", "200", "set", "start_y", "201"}).status, kUsageError);
}

TEST(CliActions, SettingTheSeedClearsTheWalk) {
  const Outcome r = run({"start", "set", "rn_seed", "5", "samples", "-"});
  EXPECT_EQ(r.out, "chain,sample,x,y,z\n");
  const Outcome same = run({"set", "rn_seed", "5", "start", "set", "rn_seed", "5", "samples", "-"});
  EXPECT_NE(same.out, "chain,sample,x,y,z\n");
}

}  // namespace
}  // namespace wandrix::cli
