// The File, Edit and Show commands that leave the model: files through the
// host's file dialog, the summary and the clipboard.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/frame.h"
#include "app/menu_table.h"
#include "fake_host.h"
#include "files/files_test_support.h"

namespace wandrix {
namespace {

using namespace command;
using testing::FakeHost;

std::string read_all(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class FrameFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("wandrix_frame_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder);
    sim.hills.push_back(Hill{"west hill", 120, 200, 40, 40, 0.3, 1, 0});
    sim.normalize_weights();
    sim.ignore_topography = false;
    sim.nsteps = 50;
    frame.command(kStartWalking);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::filesystem::path folder;
  FakeHost host;
  Simulation sim{host};
  Frame frame{sim, host};
};

TEST_F(FrameFilesTest, SaveAsThenOpenRoundTripsAndOpenClears) {
  const std::string path = (folder / "run1.dat").string();
  host.file_answers = {path, path};  // Save As, then Open
  frame.command(kSaveAs);
  ASSERT_EQ(host.file_requests.size(), 1u);
  EXPECT_FALSE(host.file_requests[0].for_open);
  EXPECT_EQ(host.file_requests[0].default_extension, "dat");
  EXPECT_EQ(read_all(path).rfind("WANDRIX 1.0\n", 0), 0u);
  ASSERT_FALSE(host.boxes.empty());
  EXPECT_EQ(host.boxes.back().caption, "Session saved in file:");

  sim.hills.clear();
  const int before = host.invalidations;
  frame.command(kOpen);
  EXPECT_TRUE(host.file_requests.back().for_open);
  ASSERT_EQ(sim.hills.size(), 1u);
  EXPECT_EQ(sim.hills[0].label, "west hill");
  EXPECT_EQ(sim.chains[0].sample_count(), 0u);
  EXPECT_TRUE(sim.full_redraw);
  EXPECT_GT(host.invalidations, before);
}

// A setting of the program, not of the session: no file holds it, and
// Open and Clear leave it as it is.
TEST_F(FrameFilesTest, TheWallRuleIsNeitherSavedNorResetByOpenOrClear) {
  const std::string off = (folder / "off.dat").string();
  const std::string on = (folder / "on.dat").string();
  host.file_answers = {off, on, off};  // Save As twice, then Open
  frame.command(kSaveAs);
  frame.command(kRefuseAtWalls);
  frame.command(kSaveAs);
  EXPECT_EQ(read_all(on), read_all(off));
  frame.command(kOpen);
  EXPECT_EQ(sim.hills.size(), 1u);
  EXPECT_TRUE(sim.reject_at_walls);
  frame.command(kClear);
  EXPECT_TRUE(sim.reject_at_walls);
}

TEST_F(FrameFilesTest, CancelledOpenStillClearsTheWalks) {
  host.file_answers.clear();
  frame.command(kOpen);
  EXPECT_EQ(sim.chains[0].sample_count(), 0u);
  EXPECT_EQ(sim.steps_done, 0);
  EXPECT_EQ(sim.hills.size(), 1u);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(FrameFilesTest, SaveWritesTheSessionFileNotAnExport) {
  const std::string session = (folder / "s.dat").string();
  host.file_answers = {session};
  frame.command(kSaveAs);
  const std::string landscape = (folder / "l.txt").string();
  host.file_answers = {landscape};
  frame.command(kSaveLandscape);
  EXPECT_EQ(host.file_requests.back().default_extension, "txt");
  const std::string table = read_all(landscape);
  EXPECT_EQ(table.front(), '\t');  // the header starts with a tab

  sim.hills[0].label = "renamed";
  const std::size_t requests = host.file_requests.size();
  frame.command(kSave);
  EXPECT_EQ(host.file_requests.size(), requests);  // no dialog
  EXPECT_NE(read_all(session).find("renamed"), std::string::npos);
  EXPECT_EQ(read_all(landscape), table);
}

TEST_F(FrameFilesTest, SummarizeShowsTheTextAndCopiesIt) {
  frame.command(kSummarize);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Summary of results");
  EXPECT_EQ(host.boxes[0].text.rfind("Number of points sampled: 50\n\n", 0), 0u);
  EXPECT_EQ(host.clipboard_text, host.boxes[0].text);
}

TEST_F(FrameFilesTest, CopyPutsThePictureOnTheClipboardAndConfirms) {
  frame.command(kCopy);
  ASSERT_TRUE(host.clipboard_picture.has_value());
  ASSERT_GE(host.clipboard_picture->emf.size(), 4u);
  EXPECT_EQ(host.clipboard_picture->emf[0], 1u);  // EMR_HEADER
  EXPECT_NE(host.clipboard_picture->svg.find("<svg"), std::string::npos);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Copy to clipboard");
  EXPECT_EQ(host.invalidations, 1);  // only the walk's: the window keeps its picture
}

TEST_F(FrameFilesTest, SaveAsMetafileWritesTheFileItChose) {
  const std::string path = (folder / "walk.emf").string();
  host.file_answers = {path};
  frame.command(kSaveMetafile);
  ASSERT_EQ(host.file_requests.size(), 1u);
  EXPECT_EQ(host.file_requests[0].default_extension, "emf");
  ASSERT_EQ(host.file_requests[0].filters.size(), 1u);
  EXPECT_EQ(host.file_requests[0].filters[0].description, "Enhanced metafile (*.emf)");
  const std::string bytes = read_all(path);
  ASSERT_GE(bytes.size(), 44u);
  EXPECT_EQ(bytes.substr(40, 4), " EMF");
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(FrameFilesTest, FileFromTheCommandLineOpensLikeOpen) {
  const std::string path = (folder / "start.dat").string();
  host.file_answers = {path};
  frame.command(kSaveAs);
  sim.hills.clear();
  frame.open_file(path);
  ASSERT_EQ(sim.hills.size(), 1u);
  EXPECT_EQ(sim.steps_done, 0);
  EXPECT_EQ(sim.directory, testing::native_path(folder.string() + "/"));
  frame.command(kSaveAs);  // the next dialog opens beside the file
  EXPECT_EQ(host.file_requests.back().folder, testing::native_path(folder.string() + "/"));
}

TEST_F(FrameFilesTest, UnreadableFileFromTheCommandLineIsReportedAndChangesNothing) {
  const std::string path = (folder / "missing.dat").string();
  frame.open_file(path);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Error reading data file");
  EXPECT_EQ(sim.hills.size(), 1u);
  EXPECT_EQ(sim.steps_done, 0);
}

// What is saved is what is shown: after Open the window takes the session's
// landscape size as far as the screen allows; where it cannot, the landscape
// follows the window as on any resize. Copy has the window's size.
TEST_F(FrameFilesTest, OpenFitsTheWindowToTheSession) {
  frame.size(400, 381, false);
  host.screen_limit = {1024, 700};
  const std::string path = (folder / "other.dat").string();
  for (const auto& [size_line, window, hill_x] :
       {std::tuple{"400  300", Point{400, 300}, 300.0},
        std::tuple{"1000000000  1000000000", Point{1024, 700}, 300 * 1024e-9}}) {
    std::ofstream(path) << "WANDRIX 1.0\n7\n"
                        << size_line
                        << "\n150  150\n20.00000\n20.00000\n1\n\nh\n300\n100\n30\n30\n0\n1\n";
    host.file_answers = {path};
    frame.command(kOpen);
    EXPECT_EQ((Point{frame.width(), frame.height()}), window);
    EXPECT_EQ((Point{static_cast<int>(sim.width), sim.client_height()}), window);
    EXPECT_NEAR(sim.hills.at(0).mean_x, hill_x, 1e-9);
    frame.command(kCopy);
    EXPECT_NE(host.clipboard_picture->svg.find("width=\"" + std::to_string(window.x) + "\""),
              std::string::npos);
  }
  // A failed or cancelled Open leaves the window as it is.
  host.resizes.clear();
  host.file_answers.clear();
  frame.command(kOpen);
  frame.open_file((folder / "missing.dat").string());
  EXPECT_TRUE(host.resizes.empty());
}

// Running out of memory in a command ends neither the command loop nor the
// session: the user is told and everything stays.
TEST_F(FrameFilesTest, OutOfMemoryInACommandIsToldAndTheSessionKept) {
  host.clipboard_out_of_memory = true;
  EXPECT_EQ(frame.command(kCopy), FrameResult::keep_running);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Out of memory");
  EXPECT_EQ(sim.hills.size(), 1u);
  EXPECT_EQ(sim.steps_done, 50);
  // So does a window that cannot take the session's size.
  host.resize_out_of_memory = true;
  const std::string path = (folder / "huge.dat").string();
  std::ofstream(path)
      << "WANDRIX 1.0\n7\n1000000000  1000000000\n150  150\n20.00000\n20.00000\n0\n";
  frame.open_file(path);
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[1].caption, "Out of memory");
  EXPECT_EQ(frame.width(), 400);
}

// Lessons beside the program: File > Lessons... lists them by number, opens
// the chosen one with its settings and speed and shows its text; a lesson
// that cannot be applied says why and leaves the session as it was.
TEST_F(FrameFilesTest, LessonsListOpenAndRefuse) {
  const std::filesystem::path lessons = folder / "lessons";
  std::filesystem::create_directories(lessons);
  std::ofstream(lessons / "ridge.dat") << "WANDRIX 1.0\n3\n500 300\n40 60\n5.0\n2.0\n1\n\n"
                                          "Ridge\n250\n150\n80\n30\n0.95\n1\n";
  const auto lesson_file = [&lessons](const std::string& name, int number,
                                      const std::string& extra) {
    std::ofstream(lessons / (name + ".json"))
        << R"({"format": "wandrix-lesson 1", "number": )" << number << R"(, "title": ")" << name
        << R"(", "session": "ridge.dat", "seed": 11, "chains": 2, "show": 2, )" << extra
        << R"("text": ["Walk along. Then look."]})";
  };
  lesson_file("second", 2, R"("window": {"speed": 100, "diagnostics": true}, )");
  lesson_file("first", 1, R"("options": {"start_x": 600}, )");  // beyond the landscape
  host.program_dir = folder.string();

  host.lesson_answer = 1;
  frame.command(kLessons);
  ASSERT_EQ(host.lesson_lists.size(), 1u);
  ASSERT_EQ(host.lesson_lists[0].size(), 2u);
  EXPECT_EQ(host.lesson_lists[0][0].title, "first");
  EXPECT_EQ(host.lesson_lists[0][1].summary, "Walk along.");
  EXPECT_EQ(sim.width, 500);
  EXPECT_EQ(sim.rn_seed, 11);
  EXPECT_EQ(sim.nchains, 2);
  EXPECT_EQ(sim.shown_chain, 2);
  EXPECT_EQ(sim.steps_done, 0);
  EXPECT_TRUE(sim.session_file.empty());  // Save must not write over the lesson
  EXPECT_EQ(kWalkSpeeds[static_cast<std::size_t>(frame.player().speed())], 100);
  EXPECT_EQ(host.diagnostics_shown, 1);
  ASSERT_EQ(host.lessons_shown.size(), 1u);
  EXPECT_EQ(host.lessons_shown[0].first, "second");
  ASSERT_FALSE(host.resizes.empty());
  EXPECT_EQ(host.resizes.back().width(), 500);

  frame.command(kStartWalking);
  const auto steps = sim.steps_done;
  host.lesson_answer = 0;
  frame.command(kLessons);
  ASSERT_FALSE(host.boxes.empty());
  EXPECT_EQ(host.boxes.back().caption, kLessonErrorCaption);
  EXPECT_NE(host.boxes.back().text.find("start_x"), std::string::npos);
  EXPECT_EQ(sim.steps_done, steps);
  EXPECT_EQ(host.lessons_shown.size(), 1u);

  EXPECT_FALSE(frame.open_lesson_named("no-such-lesson"));
  EXPECT_EQ(sim.steps_done, steps);

  std::filesystem::remove_all(lessons);
  host.boxes.clear();
  frame.command(kLessons);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.lesson_lists.size(), 2u);  // no empty list offered
}

}  // namespace
}  // namespace wandrix
