#include "files/session_file.h"

#include <gtest/gtest.h>

#include <sstream>

#include "files_test_support.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

using testing::ScratchFolder;

std::string written(const Simulation& sim) {
  std::ostringstream out;
  session::write(out, sim);
  return out.str();
}

std::optional<SessionError> read_into(const std::string& text, Simulation& sim) {
  std::istringstream in(text);
  SessionData data;
  auto error = session::read(in, data);
  if (!error) {
    session::apply(std::move(data), sim);
  }
  return error;
}

Hill make_hill(std::string label, double mx, double my) {
  Hill hill;
  hill.label = std::move(label);
  hill.mean_x = mx;
  hill.mean_y = my;
  hill.stddev_x = 30.0;
  hill.stddev_y = 20.0;
  hill.correlation = -0.25;
  hill.weight = 2.0;
  return hill;
}

const char* const kSevenLines = "WANDRIX 1.0\n7\n400  400\n150  150\n20.00000\n20.00000\n0\n";

TEST(SessionFile, DefaultSessionIsSevenLines) {
  Simulation sim;
  sim.rn_seed = 7;
  sim.clear();
  EXPECT_EQ(written(sim), kSevenLines);
}

TEST(SessionFile, HillsAreEightLinesEach) {
  Simulation sim;
  sim.rn_seed = 3;
  sim.clear();
  sim.width = 400.7;
  sim.start_x = -12;
  sim.step_mean = 0.5;
  sim.hills.push_back(make_hill("new hill", 200.0, 100.125));
  EXPECT_EQ(written(sim),
            "WANDRIX 1.0\n3\n400  400\n-12  150\n20.00000\n0.50000\n1\n"
            "\nnew_hill\n200.00000\n100.12500\n30.00000\n20.00000\n-0.25000\n2.00000\n");
}

TEST(SessionFile, ReadingReplacesTheStoredSettingsOnly) {
  Simulation sim;
  sim.nsteps = 55;
  sim.dot_radius = 4;
  sim.current_hill = 3;
  sim.hills.push_back(make_hill("old", 1, 2));
  sim.ignore_topography = false;
  ASSERT_FALSE(read_into("WANDRIX 1.0\n99\n300  200\n-5  6\n1.50000\n2.50000\n0\n", sim));
  EXPECT_EQ(sim.rn_seed, 99);
  EXPECT_EQ(sim.rng.seed(), 99);
  EXPECT_EQ(sim.rng.state(), 99);
  EXPECT_EQ(sim.width, 300.0);
  EXPECT_EQ(sim.height, 200.0);
  EXPECT_EQ(sim.start_x, -5);
  EXPECT_EQ(sim.start_y, 6);
  EXPECT_EQ(sim.step_stddev, 1.5);
  EXPECT_EQ(sim.step_mean, 2.5);
  EXPECT_TRUE(sim.hills.empty());
  EXPECT_TRUE(sim.ignore_topography);
  EXPECT_EQ(sim.nsteps, 55);
  EXPECT_EQ(sim.dot_radius, 4);
  EXPECT_EQ(sim.current_hill, 3);

  ASSERT_FALSE(read_into(std::string(kSevenLines).substr(0, 50) +
                             "2\n\na\n1\n2\n3\n4\n0.5\n1\n\nb\n5\n6\n7\n8"
                             "\n0\n3\n",
                         sim));
  ASSERT_EQ(sim.hills.size(), 2U);
  EXPECT_FALSE(sim.ignore_topography);
  EXPECT_EQ(sim.hills[1].mean_x, 5.0);
  EXPECT_EQ(sim.hills[0].correlation, 0.5);
  EXPECT_EQ(sim.hills[0].relative_weight, 0.25);
  EXPECT_EQ(sim.hills[1].relative_weight, 0.75);
}

TEST(SessionFile, WriteReadWriteGivesTheSameBytes) {
  Simulation sim;
  sim.rn_seed = 2147483646;
  sim.clear();
  sim.width = 1234.9;
  sim.height = 77.0;
  sim.start_x = -1000000000;
  sim.step_stddev = 1e300;
  sim.step_mean = -0.000001;
  sim.hills.push_back(make_hill("new hill", 1.0 / 3.0, -7.0));
  sim.hills.push_back(make_hill("under_score", 0, 0));
  sim.hills.push_back(make_hill("", 5, 5));
  sim.hills.push_back(make_hill("tab\there\r\nand more", 6, 6));
  sim.hills.push_back(make_hill(std::string(300, 'x'), 7, 7));
  sim.hills.push_back(make_hill(" ", 8, 8));
  const std::string first = written(sim);
  Simulation copy;
  ASSERT_FALSE(read_into(first, copy));
  ASSERT_EQ(copy.hills.size(), sim.hills.size());
  EXPECT_EQ(written(copy), first);
  EXPECT_EQ(copy.hills[0].label, "new hill");
  EXPECT_EQ(copy.hills[1].label, "under score");
  EXPECT_EQ(copy.hills[2].label, " ");
  EXPECT_EQ(copy.hills[3].label, "tab here  and more");
  EXPECT_EQ(copy.hills[4].label, std::string(255, 'x'));
  EXPECT_EQ(copy.width, 1234.0);
  EXPECT_EQ(copy.start_x, sim.start_x);
  EXPECT_EQ(copy.step_stddev, 1e300);
}

TEST(SessionFile, LabelLines) {
  EXPECT_EQ(session::label_line("new hill"), "new_hill");
  EXPECT_EQ(session::label_line(""), "_");
  EXPECT_EQ(session::label_line("a\tb\vc\fd"), "a_b_c_d");
  // Cut at 255 bytes without splitting a UTF-8 character.
  const std::string accented = std::string(254, 'x') + "\xC3\xA9";
  EXPECT_EQ(session::label_line(accented), std::string(254, 'x'));
}

TEST(SessionFile, FilesTheFormatAllows) {
  Simulation sim;
  const std::string crlf =
      "WANDRIX 2.0  \r\n5\r\n400  400\r\n1  2\r\n3.0\r\n4\r\n1\r\n\r\n"
      "first second third\r\n10 trailing words\r\n20   \r\n0\r\n0\r\n0\r\n0\r\n";
  ASSERT_FALSE(read_into(crlf, sim));
  ASSERT_EQ(sim.hills.size(), 1U);
  EXPECT_EQ(sim.hills[0].label, "first");
  EXPECT_EQ(sim.hills[0].mean_x, 10.0);
  EXPECT_EQ(sim.hills[0].mean_y, 20.0);
  // Zero spread and zero weight, as the hill dialog may store them.
  EXPECT_EQ(sim.hills[0].stddev_x, 0.0);
  EXPECT_EQ(sim.hills[0].weight, 0.0);
  EXPECT_EQ(sim.step_mean, 4.0);

  // A hill value is the number a line begins with; the rest is discarded.
  const std::string units =
      "WANDRIX 1.0\n5\n400  400\n1  2\n3.0\n4\n1\n\n"
      "h\n100.0abc\n2x\n3.5e1z\n-4;5\n0.5%\n1.0kg 2\n";
  ASSERT_FALSE(read_into(units, sim));
  ASSERT_EQ(sim.hills.size(), 1U);
  EXPECT_EQ(sim.hills[0].mean_x, 100.0);
  EXPECT_EQ(sim.hills[0].mean_y, 2.0);
  EXPECT_EQ(sim.hills[0].stddev_x, 35.0);
  EXPECT_EQ(sim.hills[0].stddev_y, -4.0);
  EXPECT_EQ(sim.hills[0].correlation, 0.5);
  EXPECT_EQ(sim.hills[0].weight, 1.0);

  EXPECT_FALSE(read_into("WANDRIX 1.0 7 400 400 150 150 20 20 -3 whatever follows", sim));
  EXPECT_TRUE(sim.hills.empty());
  EXPECT_TRUE(sim.ignore_topography);
  EXPECT_FALSE(read_into("WANDRIX +1 +7 400.5 1 150 -150 +2e1 0 0", sim));
  EXPECT_EQ(sim.width, 400.5);
  EXPECT_EQ(sim.step_stddev, 20.0);
}

struct Snapshot {
  std::int32_t rn_seed, start_x, start_y, rng_seed, rng_state;
  double width, height, step_stddev, step_mean;
  std::vector<Hill> hills;
  bool ignore_topography;
  std::string session_file;
  friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot snapshot(const Simulation& sim) {
  return {sim.rn_seed,    sim.start_x,           sim.start_y,
          sim.rng.seed(), sim.rng.state(),       sim.width,
          sim.height,     sim.step_stddev,       sim.step_mean,
          sim.hills,      sim.ignore_topography, sim.session_file};
}

TEST(SessionFile, MalformedFilesLeaveTheSessionUnchanged) {
  struct Case {
    std::string text;
    bool has_magic;
    int line;
    std::string reason;
  };
  const std::string head = "WANDRIX 1.0\n7\n400  400\n150  150\n20.00000\n20.00000\n";
  const std::string hill = "\nh\n1\n2\n3\n4\n0\n1\n";
  const Case cases[] = {
      {"", false, 0, ""},
      {"wandrix 1.0\n", false, 0, ""},
      {"WANDRIX1.0\n7\n", false, 0, ""},
      {"WANDRIX\n", true, 1, "the file ends before the version"},
      {"WANDRIX x\n", true, 1, "version: 'x' is not a number"},
      {"WANDRIX 1.0\n12abc\n", true, 2, "seed: '12abc' is not a whole number"},
      {"WANDRIX 1.0\n2147483648\n", true, 2, "seed: 2147483648 is out of range"},
      {"WANDRIX 1.0\n7\n0  400\n", true, 3, "width: 0 is less than 1"},
      {"WANDRIX 1.0\n7\n400  -4\n", true, 3, "height: -4 is less than 1"},
      {"WANDRIX 1.0\n7\n400  1e12\n", true, 3, "height: 1e12 is too large"},
      {"WANDRIX 1.0\n7\n400  400\n1.5  3\n", true, 4, "start_x: '1.5' is not a whole number"},
      {"WANDRIX 1.0\n7\n400  1000000001\n", true, 3, "height: 1000000001 is too large"},
      {"WANDRIX 1.0\n7\n400  400\n0  -1000000001\n", true, 4,
       "start_y: -1000000001 is too far outside the landscape"},
      {head.substr(0, 32) + "nan\n", true, 5, "step_stddev: nan is not a finite number"},
      {head.substr(0, 41) + "inf\n", true, 6, "step_mean: inf is not a finite number"},
      {head + "1e999\n", true, 7, "hill count: '1e999' is not a whole number"},
      {head, true, 6, "the file ends before the hill count"},
      {head + "2\n" + hill, true, 15, "the file ends before the label of hill 2"},
      {head + "2147483647\n" + hill, true, 15, "the file ends before the label of hill 2"},
      {head + "1\n\nh\n1\n2\n3\n", true, 12, "the file ends before the stddev_y of hill 1"},
      {head + "1\n\nh\n1\n2\nx3\n4\n0\n1\n", true, 12, "stddev_x of hill 1: 'x3' is not a number"},
      {head + "1\n\nh\n1\n2\n3\n.e5\n0\n1\n", true, 13,
       "stddev_y of hill 1: '.e5' is not a number"},
      {head + "1\n\nh\n1\n2\n3\n4\n0\n1e400\n", true, 15,
       "weight of hill 1: 1e400 is out of range"},
      {head + "1\n\n" + std::string(256, 'L') + "\n", true, 9,
       "label of hill 1: longer than 255 characters"},
      {head + "1\n\nh\n" + std::string(5000, '1') + "\n", true, 10,
       "mean_x of hill 1: the value is too long"},
      {head + "1\n\nh\n" + std::string(50, 'z') + "\n", true, 10,
       "mean_x of hill 1: '" + std::string(37, 'z') + "...' is not a number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 80));
    Simulation sim;
    sim.rn_seed = 11;
    sim.clear();
    sim.hills.push_back(make_hill("kept", 3, 4));
    sim.normalize_weights();
    sim.ignore_topography = false;
    sim.session_file = "/earlier.dat";
    sim.width = 321.0;
    const Snapshot before = snapshot(sim);
    const auto error = read_into(c.text, sim);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->has_magic, c.has_magic);
    EXPECT_EQ(snapshot(sim), before);
    if (c.has_magic) {
      EXPECT_EQ(error->line, c.line);
      EXPECT_EQ(error->reason, c.reason);
      EXPECT_EQ(error->message(), std::string(kNotADataFileText) + "\nLine " +
                                      std::to_string(c.line) + ": " + c.reason);
    } else {
      EXPECT_EQ(error->message(), kNotADataFileText);
    }
  }
}

TEST(SessionFile, LoadAndStoreThroughFiles) {
  ScratchFolder folder;
  Simulation sim;
  sim.rn_seed = 42;
  sim.clear();
  sim.hills.push_back(make_hill("a", 1, 2));
  const std::string path = folder.file("run.dat");
  ASSERT_FALSE(store_session(sim, path));
  EXPECT_EQ(testing::read_file(path), written(sim));

  Simulation other;
  ASSERT_FALSE(load_session(other, path));
  EXPECT_EQ(other.session_file, path);
  EXPECT_EQ(written(other), written(sim));

  // Missing files and folders are simply not session files.
  EXPECT_FALSE(load_session(other, folder.file("missing.dat"))->has_magic);
  EXPECT_FALSE(load_session(other, folder.path().string())->has_magic);
  EXPECT_EQ(other.session_file, path);
  const auto refused = store_session(sim, folder.file("no/such/folder/x.dat"));
  ASSERT_TRUE(refused.has_value());
  EXPECT_EQ(refused->rfind(folder.file("no/such/folder/x.dat") + " could not be written: ", 0), 0U);
}

}  // namespace
}  // namespace wandrix
