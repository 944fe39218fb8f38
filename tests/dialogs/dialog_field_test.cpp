#include "dialogs/dialog_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "dialogs/text_conversion.h"
#include "fake_controls.h"

namespace wandrix {
namespace {

using testing::Box;
using testing::FakeControls;

constexpr int kId = 7;

class FieldTest : public ::testing::Test {
 protected:
  FakeControls c;
  void type(const std::string& text) { c.texts[kId] = text; }
  [[nodiscard]] std::string shown() const { return c.text(kId, 1000); }
};

TEST_F(FieldTest, IntFieldReadsTheLeadingNumberAndKeepsTheTextInRange) {
  std::int32_t value = 100;
  IntField f(c, "nsteps", kId, value, 1, 1000000);
  f.show();
  EXPECT_EQ(shown(), "100");
  EXPECT_TRUE(c.is_enabled(kId));
  for (const auto& [text, expected] : {std::pair<std::string, int>{"25 steps", 25},
                                       {"  +40", 40},
                                       {"12abc", 12},
                                       {"1", 1},
                                       {"1000000", 1000000}}) {
    type(text);
    f.accept();
    EXPECT_EQ(value, expected) << text;
    EXPECT_EQ(shown(), text) << "kept as typed";
  }
  EXPECT_TRUE(c.boxes.empty());
}

TEST_F(FieldTest, IntFieldResetsToTheViolatedLimit) {
  std::int32_t value = 100;
  IntField f(c, "nsteps", kId, value, 1, 1000000);
  for (const std::string text : {"", "abc", "0", "-5"}) {
    c.boxes.clear();
    type(text);
    f.accept();
    EXPECT_EQ(value, 1) << text;
    EXPECT_EQ(shown(), "1");
    ASSERT_EQ(c.boxes.size(), 1u);
    EXPECT_EQ(c.boxes[0],
              (Box{"Resetting nsteps to 1", "Parameter must be greater than or equal to 1"}));
  }
  c.boxes.clear();
  type("1000001");
  f.accept();
  EXPECT_EQ(value, 1000000);
  EXPECT_EQ(shown(), "1000000");
  EXPECT_EQ(c.boxes, (std::vector<Box>{{"Resetting nsteps to 1000000",
                                        "Parameter must be less than or equal to 1000000"}}));
}

TEST_F(FieldTest, IntFieldClampsNumbersBeyondThirtyTwoBits) {
  std::int32_t seed = 5;
  IntField f(c, "rn_seed", kId, seed, 0, 2147483647);
  type("2147483647");
  f.accept();
  EXPECT_EQ(seed, 2147483647);
  EXPECT_TRUE(c.boxes.empty());
  for (const std::string text : {"2147483648", "4294967297", "99999999999999999999999"}) {
    c.boxes.clear();
    seed = 5;
    type(text);
    f.accept();
    EXPECT_EQ(seed, 2147483647) << text;
    EXPECT_EQ(c.boxes, (std::vector<Box>{{"Resetting rn_seed to 2147483647",
                                          "Parameter must be less than or equal to 2147483647"}}));
  }
  c.boxes.clear();
  type("-99999999999");
  f.accept();
  EXPECT_EQ(seed, 0);
  EXPECT_EQ(c.boxes, (std::vector<Box>{{"Resetting rn_seed to 0",
                                        "Parameter must be greater than or equal to 0"}}));
}

TEST_F(FieldTest, IntFieldReadsAtMostSeventyNineCharacters) {
  std::int32_t value = 0;
  IntField f(c, "n", kId, value, 0, 1000000);
  // 78 blanks then "12": only the "1" is within the first 79 characters.
  type(std::string(78, ' ') + "12");
  f.accept();
  EXPECT_EQ(value, 1);
}

TEST_F(FieldTest, UIntFieldLeavesAnUnreadableValueUnmodified) {
  std::int32_t radius = 2;
  UIntField f(c, "dot_radius", kId, radius, 1, 10);
  // A number above 32 bits is no number to the unsigned reading either.
  for (const std::string text :
       {"-5", "abc", "", "3x", "+3", "4294967296", "99999999999", "18446744073709551617"}) {
    c.boxes.clear();
    type(text);
    f.accept();
    EXPECT_FALSE(f.converted());
    EXPECT_EQ(radius, 2) << text;
    EXPECT_EQ(shown(), "2");
    EXPECT_EQ(c.boxes, (std::vector<Box>{{"Value of dot_radius left unmodified",
                                          "Text could not be converted to a number"}}));
  }
}

TEST_F(FieldTest, UIntFieldAcceptsLimitsAndResetsBeyondThem) {
  std::int32_t radius = 2;
  UIntField f(c, "dot_radius", kId, radius, 1, 10);
  for (const auto& [text, expected] : {std::pair<std::string, int>{"10", 10}, {" 1 ", 1}}) {
    type(text);
    f.accept();
    EXPECT_TRUE(f.converted());
    EXPECT_EQ(radius, expected);
    EXPECT_EQ(shown(), text);
  }
  EXPECT_TRUE(c.boxes.empty());
  type("0");
  f.accept();
  EXPECT_EQ(radius, 1);
  type("11");
  f.accept();
  EXPECT_EQ(radius, 10);
  EXPECT_EQ(shown(), "10");
  // Above the largest signed value: still too large, not negative.
  for (const std::string text : {"2147483648", "4294967295"}) {
    type(text);
    f.accept();
    EXPECT_EQ(radius, 10) << text;
  }
  const Box below{"Resetting dot_radius to 1", "Parameter must be greater than or equal to 1"};
  const Box above{"Resetting dot_radius to 10", "Parameter must be less than or equal to 10"};
  EXPECT_EQ(c.boxes, (std::vector<Box>{below, above, above, above}));
}

TEST_F(FieldTest, UIntFieldTestsTheMaximumFirst) {
  std::int32_t value = 0;
  UIntField u(c, "u", kId, value, 10, 5);
  type("7");
  u.accept();
  EXPECT_EQ(value, 5);
  std::int32_t other = 0;
  IntField i(c, "i", kId, other, 10, 5);
  i.accept();
  EXPECT_EQ(other, 10);
}

TEST_F(FieldTest, RealFieldFormatFollowsTheDecimals) {
  double value = 0.0;
  EXPECT_EQ(RealField(c, "a", kId, value, 0, 1, 3).format(), "%.3f");
  EXPECT_EQ(RealField(c, "a", kId, value, 0, 1, 1).format(), "%.1f");
  EXPECT_EQ(RealField(c, "a", kId, value, 0, 1, 5).format(), "%.5f");
}

TEST_F(FieldTest, RealFieldKeepsEveryTypedDigitAndRoundsOnlyTheDisplay) {
  double value = 20.0;
  RealField f(c, "step_mean", kId, value, 0.0, 100.0, 1);
  f.show();
  EXPECT_EQ(shown(), "20.0");
  type("0.12345");
  f.accept();
  EXPECT_EQ(value, 0.12345);
  EXPECT_EQ(shown(), "0.12345");
  f.show();
  EXPECT_EQ(shown(), "0.1");
  for (const auto& [text, expected] : {std::pair<std::string, double>{"abc", 0.0},
                                       {" 1.5e1xyz", 15.0},
                                       {"-0", 0.0},
                                       {".5", 0.5},
                                       {"100", 100.0},
                                       {"2e", 2.0},
                                       {"1e-999", 0.0}}) {
    type(text);
    f.accept();
    EXPECT_EQ(value, expected) << text;
  }
  EXPECT_TRUE(c.boxes.empty());
}

TEST_F(FieldTest, RealFieldMessagesUseTheFormat) {
  double stddev = 20.0;
  RealField f(c, "step_stddev", kId, stddev, 0.1, 1000.0, 3);
  type("abc");
  f.accept();
  EXPECT_EQ(stddev, 0.1);
  EXPECT_EQ(shown(), "0.100");
  double mean = 20.0;
  RealField g(c, "step_mean", kId, mean, 0.0, 100.0, 1);
  type("150");
  g.accept();
  EXPECT_EQ(mean, 100.0);
  type("1e999");
  g.accept();
  EXPECT_EQ(mean, 100.0);
  type("-1e999");
  g.accept();
  EXPECT_EQ(mean, 0.0);
  EXPECT_EQ(
      c.boxes,
      (std::vector<Box>{
          {"Resetting step_stddev to 0.100", "Parameter must be greater than or equal to 0.100"},
          {"Resetting step_mean to 100.0", "Parameter must be less than or equal to 100.0"},
          {"Resetting step_mean to 100.0", "Parameter must be less than or equal to 100.0"},
          {"Resetting step_mean to 0.0", "Parameter must be greater than or equal to 0.0"}}));
}

TEST_F(FieldTest, RealFieldIgnoresTheDesktopLocale) {
  double value = 0.0;
  RealField f(c, "x", kId, value, 0.0, 100.0, 1);
  type("2,5");
  f.accept();
  EXPECT_EQ(value, 2.0);
  value = 2.47;
  f.show();
  EXPECT_EQ(shown(), "2.5");
}

TEST_F(FieldTest, TextFieldReadsAtMostEightyCharacters) {
  std::string buffer = "hello";
  TextField f(c, "label_edit", kId, buffer);
  f.show();
  EXPECT_EQ(shown(), "hello");
  type(std::string(79, 'a') + "\xC3\xA9" + "zz");  // a two-byte character at position 80
  f.accept();
  EXPECT_EQ(buffer, std::string(79, 'a') + "\xC3\xA9");
}

TEST_F(FieldTest, CheckFieldCountsOnlyCheckedAsTrue) {
  bool value = false;
  CheckField f(c, "show_trajectory", kId, value);
  c.enabled[kId] = false;
  f.show();
  EXPECT_TRUE(c.is_enabled(kId));
  EXPECT_EQ(c.checks[kId], CheckState::unchecked);
  c.checks[kId] = CheckState::checked;
  f.accept();
  EXPECT_TRUE(value);
  c.checks[kId] = CheckState::indeterminate;
  f.accept();
  EXPECT_FALSE(value);
}

TEST_F(FieldTest, ComboFieldAddsItemsSelectsAndReplaces) {
  std::int32_t selection = 1;
  ComboField f(c, "hill_combo", kId, selection);
  f.add_item("one");
  f.add_item(std::string(300, 'x'));
  f.add_item("");
  EXPECT_TRUE(c.lists[kId].empty()) << "add_item leaves the control alone";
  f.show();
  EXPECT_EQ(c.lists[kId], (std::vector<std::string>{"one", std::string(255, 'x'), ""}));
  EXPECT_EQ(c.selections[kId], 1);
  f.replace_selected("two");
  EXPECT_EQ(c.lists[kId], (std::vector<std::string>{"one", "two", ""}));
  EXPECT_EQ(f.items()[1], "two");
  EXPECT_EQ(c.selections[kId], 1);
  c.selections[kId] = -1;
  f.accept();
  EXPECT_EQ(selection, -1);
  f.replace_selected("never");  // no entry is selected: nothing to replace
  EXPECT_EQ(c.lists[kId], (std::vector<std::string>{"one", "two", ""}));
}

TEST(Conversion, UnsignedReadingRejectsSignsAndLetters) {
  EXPECT_EQ(parse_uint("42").value, 42u);
  EXPECT_TRUE(parse_uint(" 42 ").converted);
  EXPECT_FALSE(parse_uint("4 2").converted);
  EXPECT_FALSE(parse_uint("-0").converted);
  EXPECT_EQ(parse_uint("4294967295").value, 4294967295u);
  EXPECT_FALSE(parse_uint("4294967296").converted);
}

TEST(Conversion, RealPrefixTakesNoInfinityNanOrHex) {
  EXPECT_EQ(parse_real_prefix("inf"), 0.0);
  EXPECT_EQ(parse_real_prefix("nan"), 0.0);
  EXPECT_EQ(parse_real_prefix("0x10"), 0.0);
  EXPECT_EQ(parse_real_prefix("+3.25"), 3.25);
  EXPECT_TRUE(std::isinf(parse_real_prefix("1e400")));
}

TEST(Centring, CentresWithinADesktopThatDoesNotStartAtTheOrigin) {
  EXPECT_EQ(center_on_desktop(Rect{5, 5, 105, 55}, Rect{1920, 30, 3840, 1110}),
            (Point{1920 + 910, 30 + 515}));
  // Odd differences truncate.
  EXPECT_EQ(center_on_desktop(Rect{0, 0, 101, 51}, Rect{0, 0, 1000, 800}), (Point{449, 374}));
}

TEST(Centring, AWindowLargerThanTheDesktopOverhangsBothEdges) {
  const Point p = center_on_desktop(Rect{0, 0, 1205, 900}, Rect{100, 0, 1100, 800});
  EXPECT_EQ(p, (Point{100 - 102, -50}));  // (1000 - 1205) / 2 truncates toward zero
  const int left_overhang = 100 - p.x;
  const int right_overhang = p.x + 1205 - 1100;
  EXPECT_LE(std::abs(left_overhang - right_overhang), 1);
}

}  // namespace
}  // namespace wandrix
