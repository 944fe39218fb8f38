// File > Lessons... in the Win32 window: the list dialog driven by the keys
// and the mouse, and the lesson's text beside the landscape, which keeps the
// size the lesson asked for while the panel opens, is replaced and closes.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/menu_table.h"
#include "lessons/lesson.h"
#include "model/simulation.h"
#include "windows/lesson_dialog.h"
#include "windows/lesson_panel.h"
#include "windows/main_window.h"
#include "windows/wide_text.h"

namespace wandrix::windows {
namespace {

std::wstring window_text(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

TEST(Win32LessonText, ParagraphsAreSeparatedByABlankLineWithWindowsLineEnds) {
  const std::vector<std::pair<std::vector<std::string>, std::wstring>> cases = {
      {{}, L""},
      {{"One."}, L"One."},
      {{"One.", "Two."}, L"One.\r\n\r\nTwo."},
      {{"Line\nnext", "\xC3\xA9t\xC3\xA9"}, L"Line\r\nnext\r\n\r\n\u00E9t\u00E9"},
  };
  for (const auto& [paragraphs, text] : cases) {
    EXPECT_EQ(lesson_text(paragraphs), text);
  }
}

// Does to the lesson dialog, once it is open, one step per timer tick; a
// dialog still open a few seconds after the last step is cancelled, so that
// a failing test ends.
class DialogDriver {
 public:
  using Step = std::function<void(HWND dialog)>;
  explicit DialogDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 30, tick);
  }
  ~DialogDriver() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  [[nodiscard]] std::size_t steps_done() const { return next_; }
  [[nodiscard]] bool gave_up() const { return gave_up_; }

 private:
  static void CALLBACK tick(HWND /*window*/, UINT /*message*/, UINT_PTR /*id*/, DWORD /*time*/) {
    DialogDriver* self = current_;
    if (self == nullptr) {
      return;
    }
    HWND dialog = ::FindWindowW(L"#32770", L"Lessons");
    if (dialog == nullptr || !::IsWindowVisible(dialog)) {
      return;
    }
    if (self->next_ < self->steps_.size()) {
      self->steps_[self->next_++](dialog);
    } else if (++self->idle_ticks_ > 150) {
      self->gave_up_ = true;
      ::EndDialog(dialog, IDCANCEL);
    }
  }

  static inline DialogDriver* current_ = nullptr;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int idle_ticks_ = 0;
  bool gave_up_ = false;
  UINT_PTR timer_ = 0;
};

HWND list_of(HWND dialog) { return ::GetDlgItem(dialog, lesson_ids::kList); }

DialogDriver::Step press(WPARAM key) {
  return [key](HWND dialog) {
    // Through the dialog's own loop, as a typed key goes.
    ::PostMessageW(list_of(dialog), WM_KEYDOWN, key, 1);
    ::PostMessageW(list_of(dialog), WM_KEYUP, key, 0xC0000001);
  };
}

DialogDriver::Step double_click(int row) {
  return [row](HWND dialog) {
    RECT item{};
    item.left = LVIR_LABEL;
    ::SendMessageW(list_of(dialog), LVM_GETITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    ::PostMessageW(list_of(dialog), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::PostMessageW(list_of(dialog), WM_LBUTTONUP, 0, at);
  };
}

DialogDriver::Step select_row(int row) {
  return [row](HWND dialog) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = row < 0 ? 0 : LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list_of(dialog), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
  };
}

DialogDriver::Step click(int id) {
  return [id](HWND dialog) { ::SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); };
}

std::wstring cell(HWND list, int row, int column) {
  wchar_t text[256] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 256;
  ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

// What the dialog shows at one moment.
struct Seen {
  std::vector<std::wstring> rows;  // title, a tab, first sentence
  std::wstring summary;
  bool open_enabled = false;
};

DialogDriver::Step look(Seen& seen) {
  return [&seen](HWND dialog) {
    HWND list = list_of(dialog);
    seen.rows.clear();
    const auto count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      seen.rows.push_back(cell(list, row, 0) + L"\t" + cell(list, row, 1));
    }
    seen.summary = window_text(::GetDlgItem(dialog, lesson_ids::kSummary));
    seen.open_enabled = ::IsWindowEnabled(::GetDlgItem(dialog, IDOK)) != FALSE;
  };
}

TEST(Win32LessonDialog, TheKeysAndTheMouseChooseALessonOrNone) {
  const std::vector<LessonItem> lessons = {
      {"A first walk", "One hill, one chain."},
      {"Two islands",
       "Far-apart hills: \xC3\xA9"
       "change of chains."},
      {"A narrow ridge", "Slow mixing along a ridge."},
  };
  Seen seen;
  struct Case {
    const char* name;
    std::vector<DialogDriver::Step> steps;
    std::optional<std::size_t> chosen;
    std::wstring summary;  // shown at the look
    bool open_enabled;
  };
  const Case cases[] = {
      {"Enter takes the first lesson, selected as the list opens",
       {look(seen), press(VK_RETURN)},
       0,
       L"One hill, one chain.",
       true},
      {"arrows move the selection",
       {press(VK_DOWN), press(VK_DOWN), press(VK_UP), look(seen), press(VK_RETURN)},
       1,
       L"Far-apart hills: \u00E9change of chains.",
       true},
      {"End, then Open",
       {press(VK_END), look(seen), click(IDOK)},
       2,
       L"Slow mixing along a ridge.",
       true},
      {"a double click opens", {look(seen), double_click(2)}, 2, L"One hill, one chain.", true},
      {"Esc chooses none",
       {press(VK_DOWN), look(seen), press(VK_ESCAPE)},
       std::nullopt,
       L"Far-apart hills: \u00E9change of chains.",
       true},
      {"Cancel chooses none",
       {look(seen), click(IDCANCEL)},
       std::nullopt,
       L"One hill, one chain.",
       true},
      {"nothing selected: no Open",
       {select_row(-1), look(seen), press(VK_RETURN), click(IDCANCEL)},
       std::nullopt,
       L"",
       false},
  };
  for (const Case& c : cases) {
    seen = Seen{};
    std::optional<std::size_t> chosen;
    {
      DialogDriver driver(c.steps);
      chosen = run_lesson_dialog(nullptr, lessons);
      EXPECT_FALSE(driver.gave_up()) << c.name;
    }
    EXPECT_EQ(chosen, c.chosen) << c.name;
    EXPECT_EQ(seen.summary, c.summary) << c.name;
    EXPECT_EQ(seen.open_enabled, c.open_enabled) << c.name;
    ASSERT_EQ(seen.rows.size(), lessons.size()) << c.name;
    for (std::size_t i = 0; i < lessons.size(); ++i) {
      EXPECT_EQ(seen.rows[i], widen(lessons[i].title) + L"\t" + widen(lessons[i].summary))
          << c.name;
    }
  }
}

RECT client_of(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return client;
}

RECT child_rect(HWND child, HWND parent) {
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The landscape has the frame's size at the left of the client area; the
// panel, when open, takes the rest of the width above the status bar.
void expect_layout(MainWindow& window, const char* when) {
  const RECT client = client_of(window.handle());
  LessonPanel& panel = window.host().lesson_panel();
  const int landscape_width = window.frame().width();
  if (!panel.visible()) {
    EXPECT_EQ(landscape_width, client.right) << when;
    return;
  }
  const RECT place = child_rect(panel.handle(), window.handle());
  EXPECT_EQ(place.left, landscape_width) << when;
  EXPECT_EQ(place.right, client.right) << when;
  EXPECT_EQ(place.top, 0) << when;
  EXPECT_EQ(place.bottom, window.frame().height()) << when;
}

std::string program_folder() {
  std::wstring path(32768, L'\0');
  path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return narrow(path.substr(0, path.find_last_of(L"\\/")));
}

void drain_messages() {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::DispatchMessageW(&message);
  }
}

// The lessons beside the test program, as beside wandrix.exe.
TEST(Win32LessonPanel, TheChosenLessonOpensBesideTheLandscapeWhichKeepsItsSize) {
  const LessonList installed = list_lessons(lesson_folders(program_folder()));
  ASSERT_FALSE(installed.lessons.empty());
  const Lesson& lesson = installed.lessons.back();
  Simulation expected;
  ASSERT_EQ(apply_lesson(expected, lesson), std::nullopt);

  Simulation sim;
  MainWindow window(sim);
  ASSERT_TRUE(window.create());
  ::SetWindowPos(window.handle(), nullptr, 0, 0, 600, 500, SWP_NOMOVE | SWP_NOZORDER);
  LessonPanel& panel = window.host().lesson_panel();
  {
    const int last = static_cast<int>(installed.lessons.size()) - 1;
    DialogDriver driver({select_row(last), press(VK_RETURN)});
    ::SendMessageW(window.handle(), WM_COMMAND, command::kLessons, 0);
    ASSERT_EQ(driver.steps_done(), 2u);
  }
  ASSERT_TRUE(panel.visible());
  EXPECT_EQ(window_text(panel.title_label()), widen(lesson.title));
  EXPECT_EQ(window_text(panel.text_box()), lesson_text(lesson.text));
  EXPECT_EQ(window_text(panel.close_button()), kCloseLessonText);
  // The lesson's session at its own size, the panel's width added to it.
  EXPECT_EQ(window.frame().width(), static_cast<int>(expected.width));
  EXPECT_EQ(window.frame().height(), expected.client_height());
  EXPECT_EQ(client_of(window.handle()).right, window.frame().width() + panel.preferred_width());
  expect_layout(window, "opened");
  EXPECT_EQ(sim.rn_seed, expected.rn_seed);
  EXPECT_EQ(sim.nchains, expected.nchains);
  ASSERT_EQ(sim.hills.size(), expected.hills.size());
  for (std::size_t i = 0; i < sim.hills.size(); ++i) {
    EXPECT_EQ(sim.hills[i].mean_x, expected.hills[i].mean_x);
    EXPECT_EQ(sim.hills[i].stddev_y, expected.hills[i].stddev_y);
  }

  // Another lesson takes the panel's place without widening the window.
  const int opened_width = client_of(window.handle()).right;
  Lesson other = lesson;
  other.title = "Another lesson";
  other.text = {"Its own text."};
  window.frame().open_lesson(other);
  EXPECT_EQ(window_text(panel.title_label()), L"Another lesson");
  EXPECT_EQ(window_text(panel.text_box()), L"Its own text.");
  EXPECT_EQ(client_of(window.handle()).right, opened_width);
  expect_layout(window, "replaced");

  // A landscape asked for gets exactly that size beside the panel.
  for (const SIZE asked : {SIZE{320, 260}, SIZE{450, 380}}) {
    const Rect got = window.host().resize_client(asked.cx, asked.cy);
    EXPECT_EQ(got.width(), asked.cx);
    EXPECT_EQ(got.height(), asked.cy);
    EXPECT_EQ(window.frame().width(), asked.cx);
    EXPECT_EQ(window.frame().height(), asked.cy);
    expect_layout(window, "resized");
  }

  // Closed, the window gives the panel's room back; the landscape stays.
  ::SendMessageW(panel.close_button(), BM_CLICK, 0, 0);
  EXPECT_FALSE(panel.visible());
  EXPECT_EQ(window.frame().width(), 450);
  EXPECT_EQ(window.frame().height(), 380);
  expect_layout(window, "closed");

  // A maximised window keeps its size: the panel's room comes from the
  // landscape, and goes back to it.
  ::ShowWindow(window.handle(), SW_MAXIMIZE);
  drain_messages();
  const RECT full = client_of(window.handle());
  window.host().show_lesson("Maximised", {"Text."});
  EXPECT_EQ(client_of(window.handle()).right, full.right);
  EXPECT_EQ(window.frame().width(), full.right - panel.preferred_width());
  expect_layout(window, "maximised");
  ::SendMessageW(panel.close_button(), BM_CLICK, 0, 0);
  EXPECT_EQ(window.frame().width(), full.right);

  ::DestroyWindow(window.handle());
  drain_messages();
}

// wandrix.exe --lesson NAME: the lesson opens once the window has its size,
// with its text beside the landscape; a session file named as well wins.
TEST(Win32LessonPanel, ALessonNamedAtStartOpensAfterTheWindow) {
  const LessonList installed = list_lessons(lesson_folders(program_folder()));
  ASSERT_FALSE(installed.lessons.empty());
  const Lesson& lesson = installed.lessons.front();
  Simulation expected;
  ASSERT_EQ(apply_lesson(expected, lesson), std::nullopt);

  Simulation sim;
  MainWindow window(sim);
  ASSERT_TRUE(window.create());
  window.open_at_start("", lesson.name);
  EXPECT_FALSE(window.host().lesson_panel().visible());  // not before the loop runs
  drain_messages();
  EXPECT_TRUE(window.host().lesson_panel().visible());
  EXPECT_EQ(window_text(window.host().lesson_panel().title_label()), widen(lesson.title));
  EXPECT_EQ(sim.rn_seed, expected.rn_seed);
  EXPECT_EQ(window.frame().width(), static_cast<int>(expected.width));
  ::DestroyWindow(window.handle());
  drain_messages();
}

// Keys typed in the lesson's text are the text's where it has a use for
// them; the landscape's keys (walking, speeds, Copy of the picture) work
// elsewhere and for every other key.
TEST(Win32LessonPanel, TheTextKeepsItsOwnKeys) {
  Simulation sim;
  MainWindow window(sim);
  ASSERT_TRUE(window.create());
  LessonPanel& panel = window.host().lesson_panel();
  window.host().show_lesson("Keys", {"Some text to select.", "And more."});
  ASSERT_TRUE(panel.visible());
  enum class Target { text, close, landscape };
  struct Case {
    Target target;
    WPARAM key;
    bool control;
    bool taken;
  };
  const Case cases[] = {
      {Target::text, VK_DOWN, false, true},   {Target::text, VK_NEXT, false, true},
      {Target::text, VK_HOME, false, true},   {Target::text, 'C', true, true},
      {Target::text, VK_INSERT, true, true},  {Target::text, 'A', true, true},
      {Target::text, VK_F5, false, false},    {Target::text, VK_SPACE, false, false},
      {Target::text, 'F', true, false},       {Target::text, 'C', false, false},
      {Target::text, VK_TAB, false, true},    {Target::close, VK_TAB, false, true},
      {Target::close, VK_DOWN, false, false}, {Target::landscape, VK_DOWN, false, false},
      {Target::landscape, 'C', true, false},  {Target::text, VK_ESCAPE, false, true},
  };
  BYTE keys[256] = {};
  for (const Case& c : cases) {
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = c.control ? 0x80 : 0;
    ::SetKeyboardState(keys);
    MSG message{};
    message.hwnd = c.target == Target::text    ? panel.text_box()
                   : c.target == Target::close ? panel.close_button()
                                               : window.handle();
    message.message = WM_KEYDOWN;
    message.wParam = c.key;
    EXPECT_EQ(panel.take_key(message), c.taken) << static_cast<int>(c.target) << " " << c.key;
  }
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  // Ctrl+A selected the whole text.
  DWORD start = 1;
  DWORD end = 0;
  ::SendMessageW(panel.text_box(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, static_cast<DWORD>(::GetWindowTextLengthW(panel.text_box())));
  // Enter on Close closes the lesson.
  MSG enter{};
  enter.hwnd = panel.close_button();
  enter.message = WM_KEYDOWN;
  enter.wParam = VK_RETURN;
  EXPECT_TRUE(panel.take_key(enter));
  EXPECT_FALSE(panel.visible());
  ::DestroyWindow(window.handle());
  drain_messages();
}

}  // namespace
}  // namespace wandrix::windows
