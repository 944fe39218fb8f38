#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/frame.h"
#include "app/menu_table.h"
#include "cli/actions.h"
#include "fake_host.h"
#include "lessons/lesson.h"
#include "model/settings.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

namespace fs = std::filesystem;

const fs::path kFolder = WANDRIX_LESSONS_DIR;

// Every lesson file of the folder, so that a lesson added later is checked
// without a word here.
std::vector<std::string> lesson_files() {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(kFolder)) {
    if (entry.path().extension() == ".json") {
      files.push_back(entry.path().stem().string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

Lesson read(const std::string& name) {
  LessonRead read = read_lesson_file((kFolder / (name + ".json")).string());
  if (const auto* problem = std::get_if<std::string>(&read)) {
    ADD_FAILURE() << *problem;
    return {};
  }
  return std::get<Lesson>(std::move(read));
}

std::string joined(const std::vector<std::string>& paragraphs) {
  std::string text;
  for (const std::string& p : paragraphs) {
    text += p + "\n";
  }
  return text;
}

// Whether text holds the quote as a whole number: "x: 10" is not in "x: 102"
// nor "1.5%" in "11.5%", while "y: 332" is in "y: 332." at a sentence's end.
bool quotes(const std::string& text, const std::string& quote) {
  const auto digit = [&text](std::size_t i) {
    return i < text.size() && text[i] >= '0' && text[i] <= '9';
  };
  const auto number_goes_on = [&](std::size_t end) {
    return digit(end) || (end < text.size() && text[end] == '.' && digit(end + 1));
  };
  const auto number_came_before = [&](std::size_t at) {
    return (at >= 1 && digit(at - 1)) || (at >= 2 && text[at - 1] == '.' && digit(at - 2));
  };
  const auto is_digit = [](char c) { return c >= '0' && c <= '9'; };
  for (std::size_t at = text.find(quote); at != std::string::npos; at = text.find(quote, at + 1)) {
    if (!(is_digit(quote.front()) && number_came_before(at)) &&
        !(is_digit(quote.back()) && number_goes_on(at + quote.size()))) {
      return true;
    }
  }
  return false;
}

TEST(LessonQuotes, AreWholeNumbers) {
  const struct {
    const char* text;
    const char* quote;
    bool found;
  } cases[] = {{"x: 102  (tau", "x: 10", false}, {"(11.5%)", "1.5%", false},
               {"x: 10.25", "x: 10", false},     {"it is y: 332.", "y: 332", true},
               {"(1.5%) and", "1.5%", true},     {"x: 102, then x: 10 and", "x: 10", true}};
  for (const auto& c : cases) {
    EXPECT_EQ(quotes(c.text, c.quote), c.found) << c.text << " / " << c.quote;
  }
}

class ShippedLesson : public ::testing::TestWithParam<std::string> {};

TEST_P(ShippedLesson, ReadsAndOpensItsSession) {
  const Lesson lesson = read(GetParam());
  ASSERT_FALSE(lesson.text.empty());
  EXPECT_EQ(lesson.name, GetParam());
  EXPECT_FALSE(lesson.checks.empty()) << "a lesson's numbers are checked";
  Simulation sim;
  sim.clear();
  ASSERT_EQ(apply_lesson(sim, lesson), std::nullopt);
  EXPECT_FALSE(sim.hills.empty());
  EXPECT_EQ(sim.rn_seed, lesson.seed);
  EXPECT_EQ(sim.nchains, lesson.chains);
  EXPECT_TRUE(sim.session_file.empty()) << "Save must ask for a name";
}

// Every number a lesson tells is printed by its actions after the lesson is
// opened by name, and the text quotes it as printed.
TEST_P(ShippedLesson, QuotesWhatTheProgramPrints) {
  const Lesson lesson = read(GetParam());
  const std::string text = joined(lesson.text);
  for (const LessonCheck& check : lesson.checks) {
    std::vector<std::string> words{"lesson", GetParam()};
    words.insert(words.end(), check.actions.begin(), check.actions.end());
    Simulation sim;
    cli::prepare_session(sim);
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(cli::run_actions(words, sim, out, err, std::nullopt, {kFolder.string()}), 0)
        << err.str();
    for (const std::string& quote : check.quotes) {
      EXPECT_TRUE(quotes(out.str(), quote)) << "not printed: " << quote;
      EXPECT_TRUE(quotes(text, quote)) << "not in the text: " << quote;
    }
  }
}

// The window opens the lesson as wandrix-cli does: Animate walking gives
// the samples the checks were made from.
TEST_P(ShippedLesson, WalksInTheWindowAsOnTheCommandLine) {
  testing::FakeHost host;
  Simulation window_sim{host};
  Frame frame{window_sim, host};
  host.program_dir = kFolder.parent_path().string();
  ASSERT_TRUE(frame.open_lesson_named(GetParam()));
  frame.command(command::kAnimateWalking);  // no timer: the walk ends at once

  Simulation cli_sim;
  cli::prepare_session(cli_sim);
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(cli::run_actions({"lesson", GetParam(), "start"}, cli_sim, out, err, std::nullopt,
                             {kFolder.string()}),
            0)
      << err.str();
  EXPECT_EQ(window_sim.width, cli_sim.width);
  EXPECT_EQ(window_sim.height, cli_sim.height);
  for (std::size_t k = 0; k < cli_sim.chains.size(); ++k) {
    EXPECT_EQ(window_sim.chains[k].xs, cli_sim.chains[k].xs) << "chain " << k + 1;
    EXPECT_EQ(window_sim.chains[k].ys, cli_sim.chains[k].ys) << "chain " << k + 1;
  }
  EXPECT_GT(cli_sim.chains[0].sample_count(), 1U);
}

INSTANTIATE_TEST_SUITE_P(Folder, ShippedLesson, ::testing::ValuesIn(lesson_files()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

TEST(ShippedLessons, AreListedInOrderWithoutProblems) {
  const LessonList list = list_lessons({kFolder.string()});
  EXPECT_TRUE(list.problems.empty()) << list.problems.front();
  ASSERT_EQ(list.lessons.size(), lesson_files().size());
  for (std::size_t i = 0; i < list.lessons.size(); ++i) {
    EXPECT_EQ(list.lessons[i].number, static_cast<int>(i) + 1) << list.lessons[i].name;
    EXPECT_TRUE(fs::is_regular_file(kFolder / (list.lessons[i].name + ".png")))
        << list.lessons[i].name << " has no picture";
  }
}

// A lesson file a teacher got wrong: refused with a reason, before or while
// it is applied, and a refused lesson leaves the session alone.
class LessonRefusal : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("wandrix-lessons-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    fs::copy_file(kFolder / "first-walk.dat", folder_ / "first-walk.dat",
                  fs::copy_options::overwrite_existing);
  }
  void TearDown() override { fs::remove_all(folder_); }

  static std::string lesson_text(const std::string& extra,
                                 const std::string& session = "first-walk.dat",
                                 const std::string& format = "wandrix-lesson 1") {
    return R"({"format": ")" + format + R"(", "number": 1, "title": "T", "session": ")" + session +
           R"(", "seed": 5, "text": ["Walk."])" + extra + "}";
  }

  fs::path folder_;
};

TEST_F(LessonRefusal, BadFilesAreRefusedWithTheirReason) {
  const struct {
    std::string json;
    std::string reason;
  } cases[] = {
      {lesson_text(R"(, "colour": 3)"), "unknown key \"colour\""},
      {lesson_text("", "../x.dat"), "\"session\" is not a file name"},
      {lesson_text("", "sub/x.dat"), "\"session\" is not a file name"},
      {lesson_text("", "first-walk.dat", "wandrix-lesson 2"), "\"format\" is not"},
      {lesson_text(R"(, "options": {"speed": 3})"), "unknown option \"speed\""},
      {lesson_text(R"(, "options": {"rn_seed": 3})"), "the seed is \"seed\""},
      {lesson_text(R"(, "chains": 2, "show": 3)"), "\"show\" is outside 0 to 2"},
      {lesson_text(R"(, "window": {"speed": 7})"), "\"speed\" is not one of"},
      {lesson_text(R"(, "checks": [{"actions": ["start"]}])"), "\"quotes\" is missing"},
      {R"({"format": "wandrix-lesson 1",)", "parse error"},
  };
  for (const auto& c : cases) {
    const LessonRead read = parse_lesson(c.json, "bad", folder_.string());
    ASSERT_TRUE(std::holds_alternative<std::string>(read)) << c.json;
    const std::string& problem = std::get<std::string>(read);
    EXPECT_EQ(problem.rfind("bad.json: ", 0), 0U) << problem;
    EXPECT_NE(problem.find(c.reason), std::string::npos) << problem;
  }
}

TEST_F(LessonRefusal, WhatOnlyApplyingFindsLeavesTheSessionAlone) {
  const struct {
    std::string json;
    std::string reason;
  } cases[] = {
      {lesson_text(R"(, "options": {"step_stddev": 0.01})"), "step_stddev"},
      {lesson_text(R"(, "options": {"nsteps": 1.5})"), "nsteps"},
      {lesson_text(R"(, "options": {"start_x": 4000})"), "start_x"},
      {lesson_text("", "missing.dat"), "missing.dat: "},
  };
  for (const auto& c : cases) {
    const LessonRead read = parse_lesson(c.json, "bad", folder_.string());
    ASSERT_TRUE(std::holds_alternative<Lesson>(read)) << std::get<std::string>(read);
    Simulation sim;
    sim.clear();
    sim.set_chain_count(3);
    sim.nsteps = 77;
    sim.session_file = "mine.dat";
    sim.start_walking();
    const std::size_t samples = sim.chains[0].sample_count();
    const auto problem = apply_lesson(sim, std::get<Lesson>(read));
    ASSERT_TRUE(problem.has_value()) << c.json;
    EXPECT_NE(problem->find(c.reason), std::string::npos) << *problem;
    EXPECT_TRUE(sim.hills.empty());
    EXPECT_EQ(sim.nchains, 3);
    EXPECT_EQ(sim.nsteps, 77);
    EXPECT_EQ(sim.session_file, "mine.dat");
    EXPECT_EQ(sim.chains[0].sample_count(), samples);
  }
}

}  // namespace
}  // namespace wandrix

namespace wandrix {
namespace {

// Settings a session file does not hold, changed by the user before a lesson
// opens, do not change the lesson's walk: it is the one wandrix-cli makes
// from the program's defaults.
TEST(ShippedLessons, WalkAsOnTheCommandLineWhateverWasChangedBefore) {
  for (const std::string& name : lesson_files()) {
    testing::FakeHost host;
    Simulation window_sim{host};
    Frame frame{window_sim, host};
    host.program_dir = kFolder.parent_path().string();
    for (const auto& [setting, value] :
         {std::pair{"nsteps", "17"}, std::pair{"dot_radius", "4"},
          std::pair{"show_trajectory", "0"}, std::pair{"allow_rotation", "1"},
          std::pair{"reject_at_walls", "1"}, std::pair{"step_mean", "3.5"}}) {
      ASSERT_EQ(set_option(window_sim, setting, value), std::nullopt) << setting;
    }
    ASSERT_TRUE(frame.open_lesson_named(name));
    frame.command(command::kStartWalking);

    Simulation cli_sim;
    cli::prepare_session(cli_sim);
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(cli::run_actions({"lesson", name, "start"}, cli_sim, out, err, std::nullopt,
                               {kFolder.string()}),
              0)
        << err.str();
    EXPECT_EQ(window_sim.nsteps, cli_sim.nsteps) << name;
    EXPECT_EQ(window_sim.reject_at_walls, cli_sim.reject_at_walls) << name;
    EXPECT_EQ(window_sim.allow_rotation, cli_sim.allow_rotation) << name;
    EXPECT_EQ(window_sim.dot_radius, cli_sim.dot_radius) << name;
    EXPECT_EQ(window_sim.show_trajectory, cli_sim.show_trajectory) << name;
    for (std::size_t k = 0; k < cli_sim.chains.size(); ++k) {
      EXPECT_EQ(window_sim.chains[k].xs, cli_sim.chains[k].xs) << name << " chain " << k + 1;
      EXPECT_EQ(window_sim.chains[k].ys, cli_sim.chains[k].ys) << name << " chain " << k + 1;
    }
  }
}

}  // namespace
}  // namespace wandrix
