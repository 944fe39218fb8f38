// The help page tells what the dialogs do with what is typed; every example
// of its table "What Ok does with what you type" is run through the dialogs
// here, so the page and the program cannot drift apart.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "dialogs/hill_dialog.h"
#include "dialogs/robot_options_dialog.h"
#include "fake_controls.h"

namespace wandrix {
namespace {

using testing::FakeControls;

struct Example {
  std::map<std::string, std::string> data;  // the row's data-* attributes
  [[nodiscard]] std::string at(const std::string& key) const {
    const auto it = data.find(key);
    return it == data.end() ? std::string() : it->second;
  }
};

std::vector<Example> examples_of_help_page() {
  // WANDRIX_TEST_DATA is tests/data of the source tree.
  const char* data = std::getenv("WANDRIX_TEST_DATA");
  const std::filesystem::path root =
      std::filesystem::path(data != nullptr ? data : "tests/data").parent_path().parent_path();
  std::ifstream page(root / "resources" / "Wandrix.html");
  std::stringstream text;
  text << page.rdbuf();
  const std::string html = text.str();
  std::vector<Example> examples;
  const std::regex row(R"(<tr( data-[a-z]+="[^"]*")+>)");
  const std::regex attribute(R"#(data-([a-z]+)="([^"]*)")#");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), row); it != std::sregex_iterator();
       ++it) {
    Example example;
    const std::string tag = it->str();
    for (auto a = std::sregex_iterator(tag.begin(), tag.end(), attribute);
         a != std::sregex_iterator(); ++a) {
      example.data[(*a)[1]] = (*a)[2];
    }
    examples.push_back(example);
  }
  return examples;
}

// Types into one field of the robot options dialog or of the hill dialog
// (nothing when the row has no data-typed), presses Ok, and compares the
// stored value and the message with the page.
void check(const Example& example) {
  SCOPED_TRACE(example.at("field") + " typed '" + example.at("typed") + "'");
  Simulation sim;
  FakeControls c;
  sim.hills.push_back(Hill{"h", 130.0, 200.0, 30.0, 12.0, 0.0, 1.0, 1.0});
  Hill& hill = sim.hills[0];
  const std::map<std::string, std::pair<int, double*>> hill_fields = {
      {"mu1", {hill_ids::kMeanX, &hill.mean_x}},
      {"mu2", {hill_ids::kMeanY, &hill.mean_y}},
      {"sd1", {hill_ids::kStddev, &hill.stddev_x}},
      {"wt", {hill_ids::kWeight, &hill.weight}},
      {"step_mean", {robot_ids::kStepMean, &sim.step_mean}},
      {"step_stddev", {robot_ids::kStepStddev, &sim.step_stddev}}};
  const std::map<std::string, std::pair<int, std::int32_t*>> whole_fields = {
      {"nsteps", {robot_ids::kSteps, &sim.nsteps}},
      {"dot_radius", {robot_ids::kDotRadius, &sim.dot_radius}},
      {"start_x", {robot_ids::kStartX, &sim.start_x}},
      {"rn_seed", {robot_ids::kSeed, &sim.rn_seed}}};
  const std::string name = example.at("field");
  const bool real = hill_fields.count(name) != 0;
  ASSERT_TRUE(real || whole_fields.count(name) != 0) << name;
  if (!example.at("before").empty()) {
    *hill_fields.at(name).second = std::stod(example.at("before"));
  }
  const int id = real ? hill_fields.at(name).first : whole_fields.at(name).first;
  HillDialog hill_dialog(sim, c);
  RobotOptionsDialog robot_dialog(sim, c);
  const bool in_hill_dialog = example.at("dialog") == "hill";
  in_hill_dialog ? hill_dialog.open() : robot_dialog.open();
  if (example.data.count("typed") != 0) {
    c.texts[id] = example.at("typed");
  }
  in_hill_dialog ? hill_dialog.ok() : robot_dialog.ok();
  const double stored = real ? *hill_fields.at(name).second : *whole_fields.at(name).second;
  EXPECT_DOUBLE_EQ(stored, std::stod(example.at("stored")));
  std::vector<std::string> texts;
  for (const auto& box : c.boxes) {
    texts.push_back(box.text);
  }
  EXPECT_EQ(texts, example.at("message").empty() ? std::vector<std::string>{}
                                                 : std::vector<std::string>{example.at("message")});
  if (in_hill_dialog) {
    EXPECT_EQ(hill.stddev_y, hill.stddev_x);  // Ok makes both spreads equal
    EXPECT_FALSE(c.is_enabled(hill_ids::kWeight));
  }
}

TEST(HelpPage, SaysWhatOkDoesWithWhatIsTyped) {
  const std::vector<Example> examples = examples_of_help_page();
  ASSERT_GE(examples.size(), 10u) << "the page's table of examples";
  for (const Example& example : examples) {
    check(example);
  }
}

}  // namespace
}  // namespace wandrix
