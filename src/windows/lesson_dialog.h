// File > Lessons... on Win32: a modal dialog from the resources that lists
// the lessons (title and first sentence) in a list view, with the chosen
// lesson's first sentence in full below it. Open (or Enter, or a double
// click) takes the selected lesson, Cancel (or Esc) none.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "model/host.h"

namespace wandrix::windows {

inline constexpr wchar_t kLessonTemplate[] = L"LESSONSDLG";

// Control ids of the template.
namespace lesson_ids {
inline constexpr int kList = 301;
inline constexpr int kSummary = 302;
}  // namespace lesson_ids

// The index of the chosen lesson, or nothing when the user cancelled.
std::optional<std::size_t> run_lesson_dialog(HWND owner, const std::vector<LessonItem>& lessons);

}  // namespace wandrix::windows
