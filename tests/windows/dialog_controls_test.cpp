// The dialog templates as the program loads them, and DialogControls over
// their real controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <initializer_list>
#include <string>

#include "dialogs/hill_dialog.h"
#include "dialogs/robot_options_dialog.h"
#include "windows/dialogs.h"
#include "windows/lesson_dialog.h"
#include "windows/wide_text.h"

namespace wandrix::windows {
namespace {

INT_PTR CALLBACK quiet(HWND /*dialog*/, UINT /*message*/, WPARAM /*w*/, LPARAM /*l*/) {
  return FALSE;
}

// One dialog from its template, open without being modal.
class OpenTemplate {
 public:
  explicit OpenTemplate(const wchar_t* name)
      : dialog_(::CreateDialogParamW(::GetModuleHandleW(nullptr), name, nullptr, quiet, 0)) {}
  OpenTemplate(const OpenTemplate&) = delete;
  OpenTemplate& operator=(const OpenTemplate&) = delete;
  ~OpenTemplate() { ::DestroyWindow(dialog_); }
  [[nodiscard]] HWND handle() const { return dialog_; }
  [[nodiscard]] std::wstring caption() const {
    wchar_t text[128] = {};
    ::GetWindowTextW(dialog_, text, 128);
    return text;
  }

 private:
  HWND dialog_;
};

TEST(Win32Templates, EveryControlTheDialogLogicNamesIsThere) {
  namespace r = robot_ids;
  namespace h = hill_ids;
  struct Case {
    const wchar_t* name;
    const wchar_t* caption;
    std::initializer_list<int> ids;
  };
  const Case cases[] = {
      {kRobotOptionsTemplate,
       L"Robot Parameters",
       {r::kOk,           r::kCancel,         r::kDimensions,     r::kStepsLabel,
        r::kSteps,        r::kShowTrajectory, r::kDotRadiusLabel, r::kDotRadius,
        r::kHillsGroup,   r::kHillList,       r::kModify,         r::kIgnoreTopography,
        r::kNewSeed,      r::kWalkGroup,      r::kStartX,         r::kStartY,
        r::kStepStddev,   r::kStepMean,       r::kSeedGroup,      r::kSeed,
        r::kAllowRotation}},
      {kHillTemplate,
       L"Hill Parameters",
       {h::kOk, h::kCancel, h::kDimensions, h::kMeanLabel, h::kStddevLabel, h::kXLabel, h::kMeanX,
        h::kStddev, h::kYLabel, h::kMeanY, h::kCorrelationLabel, h::kCorrelation, h::kWeight,
        h::kLabel}},
      {kAboutTemplate, L"About Wandrix", {IDOK}},
      {kLessonTemplate, L"Lessons", {IDOK, IDCANCEL, lesson_ids::kList, lesson_ids::kSummary}},
  };
  // The list view's class, as the program registers it before the lessons.
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  for (const Case& c : cases) {
    const OpenTemplate dialog(c.name);
    ASSERT_NE(dialog.handle(), nullptr) << narrow(c.name);
    EXPECT_EQ(dialog.caption(), c.caption);
    for (const int id : c.ids) {
      EXPECT_NE(::GetDlgItem(dialog.handle(), id), nullptr) << narrow(c.name) << " id " << id;
    }
  }
}

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override { controls_.attach(dialog_.handle()); }
  OpenTemplate dialog_{kRobotOptionsTemplate};
  Win32DialogControls controls_;
};

TEST_F(ControlsTest, TextsAreUtf8AndCutAtWholeCharacters) {
  controls_.set_text(robot_ids::kSteps, "h\xC3\xA9llo");
  EXPECT_EQ(controls_.text(robot_ids::kSteps, 80), "h\xC3\xA9llo");
  EXPECT_EQ(controls_.text(robot_ids::kSteps, 2), "h\xC3\xA9");
  EXPECT_EQ(controls_.text(4242, 80), "");  // no such control
  controls_.set_uint(robot_ids::kSeed, 4000000000U);
  EXPECT_EQ(controls_.read_uint(robot_ids::kSeed).value, 4000000000U);
}

TEST_F(ControlsTest, CheckBoxesAndEnabling) {
  controls_.set_checked(robot_ids::kAllowRotation, true);
  EXPECT_EQ(controls_.check_state(robot_ids::kAllowRotation), CheckState::checked);
  controls_.set_checked(robot_ids::kAllowRotation, false);
  EXPECT_EQ(controls_.check_state(robot_ids::kAllowRotation), CheckState::unchecked);
  controls_.enable(robot_ids::kModify, false);
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog_.handle(), robot_ids::kModify)));
  controls_.enable(robot_ids::kModify, true);
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog_.handle(), robot_ids::kModify)));
}

TEST_F(ControlsTest, TheHillListKeepsItsOrderAndSelectsNothingOutsideIt) {
  const int list = robot_ids::kHillList;
  controls_.combo_add(list, "first");
  controls_.combo_add(list, "third");
  controls_.combo_insert(list, 1, "second");
  controls_.combo_select(list, 2);
  EXPECT_EQ(controls_.combo_selection(list), 2);
  controls_.combo_select(list, 3);
  EXPECT_EQ(controls_.combo_selection(list), -1);
  controls_.combo_select(list, 1);
  EXPECT_EQ(controls_.text(list, 80), "second");
  controls_.combo_delete(list, 0);
  controls_.combo_select(list, 0);
  EXPECT_EQ(controls_.text(list, 80), "second");
  EXPECT_EQ(controls_.combo_selection(robot_ids::kSteps + 4242), -1);
}

TEST_F(ControlsTest, TheDialogMovesWithoutChangingSize) {
  const Rect before = controls_.window_rect();
  controls_.move_window({37, 21});
  const Rect after = controls_.window_rect();
  EXPECT_EQ(after.left, 37);
  EXPECT_EQ(after.top, 21);
  EXPECT_EQ(after.width(), before.width());
  EXPECT_EQ(after.height(), before.height());
  const Rect desktop = controls_.desktop_rect();
  EXPECT_GT(desktop.width(), 0);
  EXPECT_GT(desktop.height(), 0);
}

}  // namespace
}  // namespace wandrix::windows
