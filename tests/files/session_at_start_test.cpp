// The session file given on the command line, opened as "Open..." would.
#include <gtest/gtest.h>

#include "fake_host.h"
#include "files/session_at_start.h"
#include "files/session_file.h"
#include "files_test_support.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

using testing::FakeHost;
using testing::ScratchFolder;

constexpr const char* kTwoHills =
    "WANDRIX 1.0\n2024\n400  400\n120  80\n15.00000\n25.00000\n2\n"
    "\nwest\n120.00000\n200.00000\n40.00000\n40.00000\n0.30000\n1.00000\n"
    "\neast_peak\n290.00000\n150.00000\n30.00000\n50.00000\n-0.50000\n2.00000\n";

struct Start {
  ScratchFolder folder;
  FakeHost host;
  Simulation sim{host};
  Start() {
    host.cwd = folder.path().string();
    sim.nsteps = 20;
    sim.start_walking();
  }
};

TEST(SessionAtStart, ReadsTheFileAndClearsTheWalks) {
  Start s;
  testing::write_file(s.folder.file("lecture.dat"), kTwoHills);
  open_session_file(s.sim, s.folder.file("lecture.dat"));

  EXPECT_TRUE(s.host.boxes.empty());
  EXPECT_TRUE(s.host.file_requests.empty());  // no dialog: the file was given
  ASSERT_EQ(s.sim.hills.size(), 2U);
  EXPECT_EQ(s.sim.hills[1].label, "east peak");
  EXPECT_DOUBLE_EQ(s.sim.hills[1].relative_weight, 2.0 / 3.0);
  EXPECT_EQ(s.sim.rn_seed, 2024);
  EXPECT_EQ(s.sim.start_x, 120);
  EXPECT_DOUBLE_EQ(s.sim.step_mean, 25.0);
  EXPECT_FALSE(s.sim.ignore_topography);
  EXPECT_EQ(s.sim.steps_done, 0);
  EXPECT_TRUE(s.sim.chains[0].xs.empty());
  EXPECT_TRUE(s.sim.full_redraw);
  EXPECT_GT(s.host.invalidations, 0);
  // Save goes back to the same file, and the next dialog opens beside it.
  EXPECT_EQ(s.sim.session_file, s.folder.file("lecture.dat"));
  EXPECT_EQ(s.sim.file_name, s.folder.file("lecture.dat"));
  EXPECT_EQ(s.sim.directory, testing::native_path(s.folder.path().string() + "/"));
}

TEST(SessionAtStart, RelativePathIsTakenFromTheWorkingDirectory) {
  Start s;
  std::filesystem::create_directories(s.folder.path() / "week3");
  testing::write_file(s.folder.file("week3/lecture.dat"), kTwoHills);
  open_session_file(s.sim, "./week3/../week3/lecture.dat");
  EXPECT_TRUE(s.host.boxes.empty());
  EXPECT_EQ(s.sim.hills.size(), 2U);
  EXPECT_EQ(s.sim.session_file, testing::native_path(s.folder.file("week3/lecture.dat")));
  EXPECT_EQ(s.sim.directory, testing::native_path(s.folder.file("week3") + "/"));
}

TEST(SessionAtStart, RefusedFileShowsTheErrorBoxAndKeepsTheSession) {
  for (const char* content : {"", "time value\n1 2\n", "WANDRIX 1.0\n2024\n400\n"}) {
    Start s;
    Hill hill;
    hill.label = "kept";
    s.sim.add_confirmed_hill(hill);
    const auto hills = s.sim.hills;
    testing::write_file(s.folder.file("bad.dat"), content);
    open_session_file(s.sim, s.folder.file("bad.dat"));
    ASSERT_EQ(s.host.boxes.size(), 1U) << content;
    EXPECT_EQ(s.host.boxes[0].text.rfind(kNotADataFileText, 0), 0U);
    EXPECT_EQ(s.host.boxes[0].caption, kReadErrorCaption);
    EXPECT_EQ(s.sim.hills, hills);
    EXPECT_FALSE(s.sim.ignore_topography);
    EXPECT_TRUE(s.sim.session_file.empty());  // Save must not overwrite it
    EXPECT_EQ(s.sim.steps_done, 0);           // cleared all the same
    EXPECT_GT(s.host.invalidations, 0);
  }
}

TEST(SessionAtStart, MissingFileShowsTheErrorBox) {
  Start s;
  open_session_file(s.sim, s.folder.file("absent.dat"));
  ASSERT_EQ(s.host.boxes.size(), 1U);
  EXPECT_EQ(s.host.boxes[0].text, kNotADataFileText);
  EXPECT_EQ(s.host.boxes[0].caption, kReadErrorCaption);
  EXPECT_TRUE(s.sim.session_file.empty());
}

}  // namespace
}  // namespace wandrix
