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

struct Field {
  int id;
  double* value;
};

// Types into one field of the robot options dialog or of the hill dialog
// (data-typed; none to leave the field as shown), presses Ok, and compares
// the stored value and the message with the page.
void check(const Example& example) {
  SCOPED_TRACE(example.at("field") + " typed '" + example.at("typed") + "'");
  Simulation sim;
  FakeControls c;
  sim.hills.push_back(Hill{"h", 130.0, 200.0, 30.0, 12.0, 0.0, 1.0, 1.0});
  sim.current_hill = 0;
  Hill& hill = sim.hills[0];
  double stored = 0.0;
  const std::string name = example.at("field");
  const std::map<std::string, Field> hill_fields = {
      {"mu1", {hill_ids::kMeanX, &hill.mean_x}},
      {"mu2", {hill_ids::kMeanY, &hill.mean_y}},
      {"sd1", {hill_ids::kStddev, &hill.stddev_x}},
      {"rho", {hill_ids::kCorrelation, &hill.correlation}},
      {"wt", {hill_ids::kWeight, &hill.weight}}};
  if (example.at("dialog") == "hill") {
    ASSERT_EQ(hill_fields.count(name), 1u);
    const Field field = hill_fields.at(name);
    if (!example.at("before").empty()) {
      *field.value = std::stod(example.at("before"));
    }
    HillDialog dialog(sim, c);
    dialog.open();
    if (example.data.count("typed") != 0) {
      c.texts[field.id] = example.at("typed");
    }
    dialog.ok();
    stored = *field.value;
    EXPECT_EQ(hill.stddev_y, hill.stddev_x);  // Ok makes both spreads equal
    EXPECT_FALSE(c.is_enabled(hill_ids::kWeight));
  } else {
    const std::map<std::string, int> ids = {
        {"nsteps", robot_ids::kSteps},       {"dot_radius", robot_ids::kDotRadius},
        {"start_x", robot_ids::kStartX},     {"step_stddev", robot_ids::kStepStddev},
        {"step_mean", robot_ids::kStepMean}, {"rn_seed", robot_ids::kSeed}};
    ASSERT_EQ(ids.count(name), 1u);
    if (name == "step_mean" && !example.at("before").empty()) {
      sim.step_mean = std::stod(example.at("before"));
    }
    RobotOptionsDialog dialog(sim, c);
    dialog.open();
    if (example.data.count("typed") != 0) {
      c.texts[ids.at(name)] = example.at("typed");
    }
    dialog.ok();
    const std::map<std::string, double> values = {
        {"nsteps", sim.nsteps},           {"dot_radius", sim.dot_radius}, {"start_x", sim.start_x},
        {"step_stddev", sim.step_stddev}, {"step_mean", sim.step_mean},   {"rn_seed", sim.rn_seed}};
    stored = values.at(name);
  }
  EXPECT_DOUBLE_EQ(stored, std::stod(example.at("stored")));
  if (example.at("message").empty()) {
    EXPECT_TRUE(c.boxes.empty()) << c.boxes.front().text;
  } else {
    ASSERT_EQ(c.boxes.size(), 1u);
    EXPECT_EQ(c.boxes[0].text, example.at("message"));
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
