#include "dialogs/hill_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/about_box.h"
#include "fake_controls.h"

namespace wandrix {
namespace {

using testing::Box;
using testing::FakeControls;
namespace ids = hill_ids;

class HillDialogTest : public ::testing::Test {
 protected:
  Simulation sim;
  FakeControls c;
  HillDialog dialog{sim, c};

  void SetUp() override {
    Hill h;
    h.label = "peak";
    h.mean_x = 150.0;
    h.mean_y = 120.25;
    h.stddev_x = 30.0;
    h.stddev_y = 45.0;
    h.correlation = 0.0;
    h.weight = 2.47;
    sim.hills = {Hill{}, h};
    sim.normalize_weights();
    sim.current_hill = 1;
  }
  [[nodiscard]] const Hill& hill() const { return sim.hills[1]; }
};

TEST_F(HillDialogTest, OpeningShowsTheHillWithItsDecimals) {
  dialog.open();
  EXPECT_EQ(c.texts[ids::kDimensions], "Current dimensions: 400 by 400");
  EXPECT_EQ(c.texts[ids::kLabel], "peak");
  EXPECT_EQ(c.texts[ids::kMeanX], "150.0");
  EXPECT_EQ(c.texts[ids::kMeanY], "120.2");  // 120.25 is exact: ties round to even
  EXPECT_EQ(c.texts[ids::kStddev], "30.0");
  EXPECT_EQ(c.texts[ids::kCorrelation], "0.00000");
  EXPECT_EQ(c.texts[ids::kWeight], "2.5");
  EXPECT_FALSE(c.is_enabled(ids::kWeight));
  EXPECT_TRUE(c.is_enabled(ids::kMeanX));
  EXPECT_EQ(c.moves.size(), 1u);
}

TEST_F(HillDialogTest, OkStoresWhatIsShownAndOneStandardDeviation) {
  dialog.open();
  const double relative_weight = hill().relative_weight;
  EXPECT_EQ(dialog.ok(), DialogResult::ok);
  EXPECT_TRUE(c.boxes.empty());
  EXPECT_EQ(hill().weight, 2.5);
  EXPECT_EQ(hill().mean_y, 120.2);
  EXPECT_EQ(hill().stddev_x, 30.0);
  EXPECT_EQ(hill().stddev_y, 30.0);
  EXPECT_EQ(hill().relative_weight, relative_weight) << "the opener renormalises";
}

TEST_F(HillDialogTest, CancelLeavesTheHillAlone) {
  dialog.open();
  c.texts[ids::kStddev] = "10";
  c.texts[ids::kLabel] = "other";
  EXPECT_EQ(dialog.cancel(), DialogResult::cancel);
  EXPECT_EQ(hill().stddev_x, 30.0);
  EXPECT_EQ(hill().stddev_y, 45.0);
  EXPECT_EQ(hill().label, "peak");
}

TEST_F(HillDialogTest, LimitsAreInclusiveAndCorrectionsReported) {
  dialog.open();
  c.texts[ids::kMeanX] = "400";
  c.texts[ids::kMeanY] = "0";
  c.texts[ids::kStddev] = "0.0";
  c.texts[ids::kCorrelation] = "-0.99999";
  c.texts[ids::kWeight] = "0";
  dialog.close_box();
  EXPECT_TRUE(c.boxes.empty());
  EXPECT_EQ(hill().mean_x, 400.0);
  EXPECT_EQ(hill().stddev_y, 0.0);
  EXPECT_EQ(hill().correlation, -0.99999);
  EXPECT_EQ(hill().weight, 0.0);

  dialog.open();
  c.texts[ids::kMeanX] = "401";
  c.texts[ids::kMeanY] = "-1";
  c.texts[ids::kCorrelation] = "1";
  c.texts[ids::kLabel] = "renamed";
  dialog.ok();
  EXPECT_EQ(c.boxes,
            (std::vector<Box>{
                {"Resetting mu1 to 400.0", "Parameter must be less than or equal to 400.0"},
                {"Resetting mu2 to 0.0", "Parameter must be greater than or equal to 0.0"},
                {"Resetting rho to 0.99999", "Parameter must be less than or equal to 0.99999"}}));
  EXPECT_EQ(hill().mean_x, 400.0);
  EXPECT_EQ(hill().mean_y, 0.0);
  EXPECT_EQ(hill().correlation, 0.99999);
  EXPECT_EQ(hill().label, "renamed");
}

TEST_F(HillDialogTest, LimitsFollowTheLandscapeUntruncated) {
  sim.rescale(401, 400);  // width becomes 401 exactly; means scale with it
  dialog.open();
  c.texts[ids::kStddev] = "500";
  dialog.ok();
  ASSERT_EQ(c.boxes.size(), 1u);
  EXPECT_EQ(c.boxes[0].caption, "Parameter must be less than or equal to 401.0");
}

TEST_F(HillDialogTest, LabelsAreCutToEightyCharacters) {
  sim.hills[1].label = std::string(85, 'L');
  dialog.open();
  EXPECT_EQ(c.texts[ids::kLabel], std::string(80, 'L'));
  dialog.ok();
  EXPECT_EQ(hill().label, std::string(80, 'L'));
}

TEST_F(HillDialogTest, ANegativeIndexEditsTheFirstHill) {
  sim.current_hill = -1;
  dialog.open();
  c.texts[ids::kLabel] = "first";
  dialog.ok();
  EXPECT_EQ(sim.hills[0].label, "first");
}

TEST_F(HillDialogTest, NoHillsShowsZerosAndStoresNothing) {
  sim.hills.clear();
  dialog.open();
  EXPECT_EQ(c.texts[ids::kLabel], "");
  EXPECT_EQ(c.texts[ids::kMeanX], "0.0");
  EXPECT_EQ(c.texts[ids::kCorrelation], "0.00000");
  EXPECT_EQ(dialog.ok(), DialogResult::ok);
  EXPECT_TRUE(sim.hills.empty());
}

TEST_F(HillDialogTest, AnIndexPastTheEndShowsAndStoresNothing) {
  sim.current_hill = 2;
  const std::vector<Hill> before = sim.hills;
  dialog.open();
  EXPECT_EQ(c.texts.count(ids::kMeanX), 0u);
  EXPECT_EQ(c.texts.count(ids::kLabel), 0u);
  c.texts[ids::kMeanX] = "999";
  EXPECT_EQ(dialog.ok(), DialogResult::ok);
  EXPECT_TRUE(c.boxes.empty());
  EXPECT_EQ(sim.hills, before);
}

TEST(AboutBoxTest, CentresAndEnds) {
  FakeControls c;
  c.window = {0, 0, 300, 200};
  c.desktop = {-1280, 0, 0, 1024};
  AboutBox box(c);
  box.open();
  EXPECT_EQ(c.moves, (std::vector<Point>{{-790, 412}}));
  EXPECT_EQ(AboutBox::ok(), DialogResult::ok);
  EXPECT_EQ(AboutBox::close_box(), DialogResult::ok);
  EXPECT_EQ(AboutBox::cancel(), DialogResult::cancel);
}

}  // namespace
}  // namespace wandrix
