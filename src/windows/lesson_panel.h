// A lesson's text beside the landscape: a child of the main window along its
// right edge, with the lesson's title, its text in a read-only edit (to
// scroll, select and copy as any text) and a Close button. The window makes
// room for it, so the landscape keeps its size; a new lesson replaces the
// text in place.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wandrix::windows {

inline constexpr wchar_t kLessonPanelClass[] = L"WandrixLesson";
inline constexpr wchar_t kCloseLessonText[] = L"Close";
// Narrower than this the landscape is not made: the panel gives way first.
inline constexpr int kNarrowestLandscape = 50;

class LessonPanel {
 public:
  LessonPanel() = default;
  ~LessonPanel();
  LessonPanel(const LessonPanel&) = delete;
  LessonPanel& operator=(const LessonPanel&) = delete;

  // Shows the lesson, made as a child of parent the first time; on_close
  // runs once the user has closed it (the panel is hidden by then).
  void show(HWND parent, const std::string& title, const std::vector<std::string>& paragraphs,
            std::function<void()> on_close);
  [[nodiscard]] bool visible() const;
  // The width the panel takes when the window has room for it.
  [[nodiscard]] int preferred_width() const;
  // Places the panel at the right of a client area this wide, of this
  // height, and returns the width that is left for the landscape: all of it
  // while the panel is hidden.
  int place(int client_width, int height);
  // A key on its way to the panel that is its own: the text's moving,
  // selecting and copying keys (which the window's accelerators would take
  // for walking and copying the picture), Tab between the text and Close,
  // Enter or Space on Close. Esc goes on to the window, which stops a walk
  // with it. True when the key is handled and must go nowhere else.
  bool take_key(const MSG& message);

  [[nodiscard]] HWND handle() const { return panel_; }
  [[nodiscard]] HWND text_box() const { return text_; }
  [[nodiscard]] HWND title_label() const { return title_; }
  [[nodiscard]] HWND close_button() const { return close_; }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT handle(UINT message, WPARAM w, LPARAM l);
  bool create(HWND parent);
  void layout();
  void close();
  [[nodiscard]] int scaled(int pixels) const;

  HWND parent_ = nullptr;
  HWND panel_ = nullptr;
  HWND title_ = nullptr;
  HWND text_ = nullptr;
  HWND close_ = nullptr;
  HFONT font_ = nullptr;
  HFONT title_font_ = nullptr;
  int dpi_ = 96;
  std::function<void()> on_close_;
};

// The lesson's paragraphs as the text box shows them: a blank line between
// paragraphs, Windows line ends.
std::wstring lesson_text(const std::vector<std::string>& paragraphs);

}  // namespace wandrix::windows
