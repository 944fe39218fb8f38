// The File menu's session and landscape commands, with a host that answers
// the dialogs from a script.
#include <gtest/gtest.h>

#include "fake_host.h"
#include "files/landscape_file.h"
#include "files/session_file.h"
#include "files_test_support.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

using testing::FakeHost;
using testing::read_file;
using testing::ScratchFolder;

struct Session {
  ScratchFolder folder;
  FakeHost host;
  Simulation sim{host};
  Session() {
    host.cwd = folder.path().string();
    sim.rn_seed = 5;
    sim.clear();
    Hill hill;
    hill.label = "top";
    hill.mean_x = 100;
    hill.mean_y = 120;
    sim.add_confirmed_hill(hill);
  }
  void walk() {
    sim.nsteps = 10;
    sim.start_walking();
  }
};

TEST(FileCommands, SaveAsConfirmsAndSaveThenWritesSilently) {
  Session s;
  const std::string path = s.folder.file("run.dat");
  s.host.file_answers = {path};
  save_session(s.sim);  // no session file yet: Save is Save As
  ASSERT_EQ(s.host.file_requests.size(), 1U);
  EXPECT_FALSE(s.host.file_requests[0].for_open);
  EXPECT_EQ(s.host.file_requests[0].default_extension, "dat");
  ASSERT_EQ(s.host.boxes.size(), 1U);
  EXPECT_EQ(s.host.boxes[0], (testing::MessageBox{path, "Session saved in file:"}));
  EXPECT_EQ(s.sim.session_file, path);
  const std::string first = read_file(path);
  EXPECT_EQ(first.rfind("WANDRIX 1.0\n5\n", 0), 0U);

  s.sim.start_x = 77;
  save_session(s.sim);
  EXPECT_EQ(s.host.file_requests.size(), 1U);
  EXPECT_EQ(s.host.boxes.size(), 1U);
  EXPECT_NE(read_file(path).find("\n77  150\n"), std::string::npos);
}

TEST(FileCommands, SaveNeverWritesOverAnExportOrAfterACancel) {
  Session s;
  const std::string session = s.folder.file("run.dat");
  const std::string table = s.folder.file("table.txt");
  s.host.file_answers = {session, table, std::nullopt};
  save_session_as(s.sim);
  save_landscape(s.sim);
  EXPECT_EQ(s.sim.file_name, table);
  EXPECT_EQ(s.host.boxes.back(), (testing::MessageBox{table, "Landscape saved in file:"}));
  const std::string landscape = read_file(table);
  save_session(s.sim);
  EXPECT_EQ(read_file(table), landscape);
  // A cancelled export empties the chooser's slot, not the session's file.
  save_landscape(s.sim);
  EXPECT_TRUE(s.sim.file_name.empty());
  s.sim.start_y = 9;
  save_session(s.sim);
  EXPECT_EQ(s.host.file_requests.size(), 3U);
  EXPECT_NE(read_file(session).find("\n150  9\n"), std::string::npos);
}

TEST(FileCommands, FailedWritesAreReportedNotConfirmed) {
  Session s;
  const std::string bad = s.folder.file("missing/run.dat");
  s.host.file_answers = {bad, s.folder.file("missing/table.txt")};
  save_session_as(s.sim);
  ASSERT_EQ(s.host.boxes.size(), 1U);
  EXPECT_EQ(s.host.boxes[0].caption, "Error writing data file");
  EXPECT_EQ(s.host.boxes[0].text.rfind(testing::native_path(bad) + " could not be written: ", 0),
            0U);
  EXPECT_TRUE(s.sim.session_file.empty());
  save_landscape(s.sim);
  ASSERT_EQ(s.host.boxes.size(), 2U);
  EXPECT_EQ(s.host.boxes[1].caption, "Error writing landscape file");
}

TEST(FileCommands, OpenReadsThenClears) {
  Session s;
  const std::string path = s.folder.file("run.dat");
  s.host.file_answers = {path};
  save_session_as(s.sim);

  FakeHost host;
  Simulation other(host);
  other.nsteps = 10;
  other.start_walking();
  host.file_answers = {path};
  open_session(other);
  EXPECT_TRUE(host.file_requests.back().for_open);
  EXPECT_EQ(other.hills, s.sim.hills);
  EXPECT_EQ(other.session_file, path);
  EXPECT_FALSE(other.ignore_topography);
  EXPECT_TRUE(other.chains[0].xs.empty());
  EXPECT_EQ(other.steps_done, 0);
  EXPECT_TRUE(other.full_redraw);
  EXPECT_GT(host.invalidations, 0);
  EXPECT_TRUE(host.boxes.empty());
}

TEST(FileCommands, CancelledOpenStillClearsButChangesNoSetting) {
  Session s;
  s.walk();
  s.sim.file_name = "/before.dat";
  const auto hills = s.sim.hills;
  open_session(s.sim);
  EXPECT_TRUE(s.sim.chains[0].xs.empty());
  EXPECT_EQ(s.sim.hills, hills);
  EXPECT_TRUE(s.sim.file_name.empty());
  EXPECT_TRUE(s.host.boxes.empty());
}

TEST(FileCommands, RefusedFileShowsTheErrorAndKeepsTheSession) {
  Session s;
  const std::string path = s.folder.file("bad.dat");
  testing::write_file(path,
                      "WANDRIX 1.0\n7\n400  400\n150  150\n20\n20\n3\n\nonly\n1\n2\n3\n4\n0\n1\n");
  s.host.file_answers = {path, s.folder.file("absent.dat")};
  const auto hills = s.sim.hills;
  open_session(s.sim);
  ASSERT_EQ(s.host.boxes.size(), 1U);
  EXPECT_EQ(s.host.boxes[0].caption, "Error reading data file");
  EXPECT_EQ(s.host.boxes[0].text,
            "Data file does not appear to be an WANDRIX data file\n"
            "Line 15: the file ends before the label of hill 2");
  EXPECT_EQ(s.sim.hills, hills);
  EXPECT_EQ(s.sim.rn_seed, 5);
  EXPECT_TRUE(s.sim.session_file.empty());
  open_session(s.sim);
  EXPECT_EQ(s.host.boxes[1].text, "Data file does not appear to be an WANDRIX data file");
  EXPECT_EQ(s.sim.hills, hills);
}

TEST(FileCommands, SavedSessionRestoresTheSameWalk) {
  Session s;
  s.sim.step_mean = 12.5;
  s.sim.start_x = 40;
  const std::string path = s.folder.file("walk.dat");
  s.host.file_answers = {path};
  save_session_as(s.sim);
  s.sim.clear();
  s.walk();

  FakeHost host;
  Simulation other(host);
  host.file_answers = {path};
  open_session(other);
  other.nsteps = 10;
  other.start_walking();
  EXPECT_EQ(other.chains[0].xs, s.sim.chains[0].xs);
  EXPECT_EQ(other.chains[0].ys, s.sim.chains[0].ys);
}

}  // namespace
}  // namespace wandrix
