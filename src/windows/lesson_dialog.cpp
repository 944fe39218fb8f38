#include "windows/lesson_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "windows/wide_text.h"

namespace wandrix::windows {

namespace {

struct Choice {
  const std::vector<LessonItem>* lessons = nullptr;
  std::optional<std::size_t> chosen;
};

int selected_row(HWND list) {
  return static_cast<int>(
      ::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

void add_column(HWND list, int index, const wchar_t* heading, int width) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = const_cast<wchar_t*>(heading);  // NOLINT(cppcoreguidelines-pro-type-const-cast)
  column.cx = width;
  column.iSubItem = index;
  ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&column));
}

void set_cell(HWND list, int row, int column, const std::wstring& text) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText =
      const_cast<wchar_t*>(text.c_str());  // NOLINT(cppcoreguidelines-pro-type-const-cast)
  ::SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

// Titles in a column as wide as the longest needs; the first sentences take
// the rest of the list's width, in full in the text below the list.
void fill_list(HWND list, const std::vector<LessonItem>& lessons) {
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP | LVS_EX_INFOTIP);
  int title_width = 0;
  for (const LessonItem& lesson : lessons) {
    const std::wstring title = widen(lesson.title);
    title_width = std::max(
        title_width, static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0,
                                                     reinterpret_cast<LPARAM>(title.c_str()))));
  }
  RECT client{};
  ::GetClientRect(list, &client);
  // Room for the cell's margins and, should the list scroll, its bar.
  title_width = std::min(title_width + 16, static_cast<int>(client.right) / 2);
  add_column(list, 0, L"Lesson", title_width);
  add_column(
      list, 1, L"Description",
      std::max(1, static_cast<int>(client.right) - title_width - ::GetSystemMetrics(SM_CXVSCROLL)));
  for (std::size_t i = 0; i < lessons.size(); ++i) {
    const int row = static_cast<int>(i);
    set_cell(list, row, 0, widen(lessons[i].title));
    set_cell(list, row, 1, widen(lessons[i].summary));
  }
}

void select_row(HWND list, int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

// The selected lesson's first sentence below the list; Open only with a
// lesson selected.
void show_selection(HWND dialog, const Choice& choice) {
  const int row = selected_row(::GetDlgItem(dialog, lesson_ids::kList));
  const bool any = row >= 0 && static_cast<std::size_t>(row) < choice.lessons->size();
  ::SetDlgItemTextW(
      dialog, lesson_ids::kSummary,
      any ? widen((*choice.lessons)[static_cast<std::size_t>(row)].summary).c_str() : L"");
  ::EnableWindow(::GetDlgItem(dialog, IDOK), any ? TRUE : FALSE);
}

void open_row(HWND dialog, Choice& choice, int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= choice.lessons->size()) {
    return;
  }
  choice.chosen = static_cast<std::size_t>(row);
  ::EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK lesson_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_INITDIALOG) {
    // Win32 hands the choice over as an integer, and keeps it as one.
    ::SetWindowLongPtrW(dialog, DWLP_USER, l);
    auto* choice = reinterpret_cast<Choice*>(l);  // NOLINT(performance-no-int-to-ptr)
    HWND list = ::GetDlgItem(dialog, lesson_ids::kList);
    fill_list(list, *choice->lessons);
    if (!choice->lessons->empty()) {
      select_row(list, 0);
    }
    show_selection(dialog, *choice);
    ::SetFocus(list);
    return FALSE;  // the focus is set
  }
  auto* choice = reinterpret_cast<Choice*>(  // NOLINT(performance-no-int-to-ptr)
      ::GetWindowLongPtrW(dialog, DWLP_USER));
  if (choice == nullptr) {
    return FALSE;
  }
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(w) == IDOK) {
        open_row(dialog, *choice, selected_row(::GetDlgItem(dialog, lesson_ids::kList)));
      } else if (LOWORD(w) == IDCANCEL) {
        ::EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(l);  // NOLINT(performance-no-int-to-ptr)
      if (header->idFrom != static_cast<UINT_PTR>(lesson_ids::kList)) {
        return FALSE;
      }
      if (header->code == LVN_ITEMCHANGED) {
        show_selection(dialog, *choice);
      } else if (header->code == NM_DBLCLK) {
        // The lesson under the pointer (a double click off the rows opens none).
        open_row(dialog, *choice, reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<std::size_t> run_lesson_dialog(HWND owner, const std::vector<LessonItem>& lessons) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  Choice choice;
  choice.lessons = &lessons;
  ::DialogBoxParamW(::GetModuleHandleW(nullptr), kLessonTemplate, owner, lesson_procedure,
                    reinterpret_cast<LPARAM>(&choice));
  return choice.chosen;
}

}  // namespace wandrix::windows
