#include "cli/actions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "model/autocorrelation.h"
#include "view/diagnostics.h"

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
      {{"set", "reject_at_walls", "yes"},
       "wandrix-cli: set: reject_at_walls: 'yes' is not 0 or 1\n"},
      {{"chains", "5"}, "wandrix-cli: chains: 5 is outside 1 to 4\n"},
      // The hill dialog's limits, naming the value that broke them.
      {{"hill", "a", "1", "2", "3", "4", "1", "1"},
       "wandrix-cli: hill: RHO: 1 is outside -0.99999 to 0.99999\n"},
      {{"hill", "a", "1" + std::string(308, '0'), "2", "3", "3", "0", "1"},
       "wandrix-cli: hill: MX: 1" + std::string(308, '0') + " is outside 0 to 400\n"},
      {{"hill", "a", "1", "400.5", "3", "3", "0", "1"},
       "wandrix-cli: hill: MY: 400.5 is outside 0 to 400\n"},
      {{"hill", "a", "1", "2", "-0.1", "3", "0", "1"},
       "wandrix-cli: hill: SDX: -0.1 is outside 0 to 400\n"},
      {{"hill", "a", "1", "2", "3", "401", "0", "1"},
       "wandrix-cli: hill: SDY: 401 is outside 0 to 400\n"},
      {{"hill", "a", "1", "2", "3", "3", "0", "100.1"},
       "wandrix-cli: hill: WEIGHT: 100.1 is outside 0 to 100\n"},
      {{"hill", "a", "1", "2", "3e2", "3", "0", "1"},
       "wandrix-cli: hill: SDX: '3e2' is not a plain decimal number\n"},
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

TEST(CliActions, RefusingWallsChangeTheWalksToCome) {
  const auto walk = [](std::vector<std::string> setting) {
    std::vector<std::string> words = {"set", "rn_seed", "9",   "set", "nsteps", "500", "hill",
                                      "h",   "20",      "200", "60",  "40",     "0",   "1"};
    words.insert(words.end(), setting.begin(), setting.end());
    words.insert(words.end(), {"start", "samples", "-"});
    const Outcome r = run(words);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  };
  const std::string classic = walk({});
  EXPECT_NE(walk({"set", "reject_at_walls", "1"}), classic);
  EXPECT_EQ(walk({"set", "reject_at_walls", "1", "set", "reject_at_walls", "0"}), classic);
}

TEST(CliActions, SettingTheSeedClearsTheWalk) {
  const Outcome r = run({"start", "set", "rn_seed", "5", "samples", "-"});
  EXPECT_EQ(r.out, "chain,sample,x,y,z\n");
  const Outcome same = run({"set", "rn_seed", "5", "start", "set", "rn_seed", "5", "samples", "-"});
  EXPECT_NE(same.out, "chain,sample,x,y,z\n");
}

}  // namespace
}  // namespace wandrix::cli

namespace wandrix::cli {
namespace {

class CliFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("wandrix-cli-test-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string file(const std::string& name) const { return (folder_ / name).string(); }
  static std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  std::filesystem::path folder_;
};

std::vector<std::string> example(const std::vector<std::string>& tail) {
  std::vector<std::string> words = {"set", "rn_seed", "7",  "chains", "2", "hill", "a",
                                    "100", "100",     "30", "30",     "0", "1",    "start"};
  words.insert(words.end(), tail.begin(), tail.end());
  return words;
}

// Counts chain 1's samples within r of (100, 100) from the samples CSV,
// skipping the start point: the summary's circle for a round hill.
std::int64_t count_within(const std::string& csv, double r) {
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  std::int64_t count = 0;
  while (std::getline(lines, line)) {
    int chain = 0;
    int sample = 0;
    int x = 0;
    int y = 0;
    EXPECT_EQ(std::sscanf(line.c_str(), "%d,%d,%d,%d", &chain, &sample, &x, &y), 4);
    const double dx = x - 100.0;
    const double dy = (400 - y) - 100.0;
    if (chain == 1 && sample > 0 && std::sqrt(dx * dx + dy * dy) < r) {
      ++count;
    }
  }
  return count;
}

TEST_F(CliFiles, ExampleProducesSummaryLandscapeAndSession) {
  const Outcome r = run(example({"summary", "landscape", file("out.txt"), "save", file("s.dat")}));
  ASSERT_EQ(r.status, 0) << r.err;
  const Outcome walk = run(example({"samples", "-"}));
  const std::int64_t inner = count_within(walk.out, std::sqrt(1.3863) * 30.0);
  const std::int64_t outer = count_within(walk.out, std::sqrt(5.9915) * 30.0);
  const std::int64_t n = count_within(walk.out, 1e9);  // every sample but the start
  char expected[400];
  std::snprintf(expected, sizeof expected,
                "Number of points sampled: %lld\n\nPercent inside inner circles: %.1f\n"
                "  expected: %.1f\n  observed: %lld\n\nPercent inside outer circles: %.1f\n"
                "  expected: %.1f\n  observed: %lld\n",
                static_cast<long long>(n), inner * 100.0 / n, n * 0.5,
                static_cast<long long>(inner), outer * 100.0 / n, n * 0.95,
                static_cast<long long>(outer));
  EXPECT_EQ(r.out, expected);
  EXPECT_GT(outer, inner);
  EXPECT_GT(n, 0);

  EXPECT_EQ(contents(file("s.dat")),
            "WANDRIX 1.0\n7\n400  400\n150  150\n20.00000\n20.00000\n1\n"
            "\na\n100.00000\n100.00000\n30.00000\n30.00000\n0.00000\n1.00000\n");

  const std::string table = contents(file("out.txt"));
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 103);
  EXPECT_EQ(table.rfind("\t      0.000000000000\t", 0), 0U);
  // Row y = 100 is the 27th line; its 26th cell (x = 100) holds the peak 1.
  std::istringstream lines(table);
  std::string line;
  for (int i = 0; i < 27; ++i) {
    std::getline(lines, line);
  }
  EXPECT_EQ(line.rfind("    100.000000000000\t", 0), 0U);
  EXPECT_NE(line.find("\t      1.000000000000\t"), std::string::npos);
}

TEST_F(CliFiles, OpenRestoresTheSameWalk) {
  ASSERT_EQ(run(example({"save", file("s.dat")})).status, 0);
  const Outcome original = run(example({"samples", "-"}));
  const Outcome reopened = run({"chains", "2", "open", file("s.dat"), "start", "samples", "-"});
  ASSERT_EQ(reopened.status, 0) << reopened.err;
  EXPECT_EQ(reopened.out, original.out);
  // open clears what was walked before it.
  const Outcome cleared = run({"start", "open", file("s.dat"), "samples", "-"});
  EXPECT_EQ(cleared.out, "chain,sample,x,y,z\n");
}

TEST_F(CliFiles, FileErrorsStopTheRun) {
  std::ofstream(file("bad.dat")) << "WANDRIX 1.0\n7\n400  x\n";
  const Outcome bad = run({"open", file("bad.dat"), "summary"});
  EXPECT_EQ(bad.status, kUsageError);
  EXPECT_EQ(bad.err, "wandrix-cli: open: " + file("bad.dat") +
                         ": Data file does not appear to be an WANDRIX data file Line 3: height: "
                         "'x' is not a number\n");
  EXPECT_TRUE(bad.out.empty());
  const Outcome missing = run({"open", file("none.dat")});
  EXPECT_EQ(missing.err, "wandrix-cli: open: " + file("none.dat") +
                             ": Data file does not appear to be an WANDRIX data file\n");
  const Outcome save = run({"save", file("no/s.dat")});
  EXPECT_EQ(save.status, kUsageError);
  EXPECT_EQ(save.err, "wandrix-cli: save: " + file("no/s.dat") +
                          " could not be written: No such file or directory\n");
  const Outcome table = run({"landscape", file("no/t.txt"), "summary"});
  EXPECT_EQ(table.status, kUsageError);
  EXPECT_EQ(table.err.rfind("wandrix-cli: landscape: " + file("no/t.txt") + " could not be", 0),
            0U);
  EXPECT_TRUE(table.out.empty());
}

TEST(CliActions, SummaryBeforeAnyWalk) {
  const Outcome r = run({"summary"});
  EXPECT_EQ(r.out.rfind("Number of points sampled: 0\n\nPercent inside inner circles: 0.0\n", 0),
            0U);
}

// ess prints what an estimate of its own from the walk's samples gives, and
// a dash where there is nothing to estimate.
TEST(CliActions, EffectiveSampleSizesOfChainOne) {
  const Outcome walked = run({"set", "rn_seed", "5", "hill", "h", "200", "200", "40", "40", "0.8",
                              "1", "set", "nsteps", "3000", "start", "ess", "samples", "-"});
  ASSERT_EQ(walked.status, 0) << walked.err;
  std::istringstream lines(walked.out);
  std::string count, along_x, along_y, row;
  std::getline(lines, count);
  std::getline(lines, along_x);
  std::getline(lines, along_y);
  std::getline(lines, row);  // the samples' header
  std::vector<double> xs, ys;
  while (std::getline(lines, row)) {
    int chain = 0, index = 0, x = 0, y = 0;
    ASSERT_EQ(std::sscanf(row.c_str(), "%d,%d,%d,%d", &chain, &index, &x, &y), 4) << row;
    xs.push_back(x);
    ys.push_back(400 - y);
  }
  EXPECT_EQ(count, "Chain 1: " + std::to_string(xs.size()) + " samples");
  const auto x_size = effective_sample_size(xs);
  const auto y_size = effective_sample_size(ys);
  ASSERT_TRUE(x_size && y_size);
  EXPECT_LT(x_size->ess, 0.5 * static_cast<double>(xs.size()));  // a correlated walk
  EXPECT_EQ(along_x, "Effective sample size of x: " + effective_size_text(x_size));
  EXPECT_EQ(along_y, "Effective sample size of y: " + effective_size_text(y_size));

  EXPECT_EQ(run({"ess"}).out,
            "Chain 1: 0 samples\nEffective sample size of x: -\nEffective sample size of y: -\n");
}

}  // namespace
}  // namespace wandrix::cli
