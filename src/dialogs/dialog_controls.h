// DialogControls: the controls of one open dialog, reached by their numeric
// ids as the dialog templates number them. The dialog logic and its fields
// act only through this interface; the desktop program implements it over
// Qt widgets and the tests over a fake.
//
// Texts are UTF-8; a character count means code points. Every operation on
// an id the dialog does not have does nothing (reads give empty or zero).
#pragma once

#include <cstdint>
#include <string>

#include "dialogs/text_conversion.h"
#include "model/types.h"

namespace wandrix {

enum class CheckState { unchecked = 0, checked = 1, indeterminate = 2 };

class DialogControls {
 public:
  virtual ~DialogControls() = default;

  // The control's text, at most max_chars characters of it.
  [[nodiscard]] virtual std::string text(int id, std::size_t max_chars) const = 0;
  virtual void set_text(int id, const std::string& text) = 0;
  virtual void enable(int id, bool on) = 0;

  [[nodiscard]] virtual CheckState check_state(int id) const = 0;
  virtual void set_checked(int id, bool checked) = 0;

  // A drop-down list. An index outside the list selects nothing.
  virtual void combo_add(int id, const std::string& text) = 0;
  virtual void combo_insert(int id, int index, const std::string& text) = 0;
  virtual void combo_delete(int id, int index) = 0;
  virtual void combo_select(int id, int index) = 0;
  // The selected entry, or -1 when none is.
  [[nodiscard]] virtual int combo_selection(int id) const = 0;

  // The control's text read as an unsigned number (at most 79 characters of
  // it, like every numeric read), and whether it was one.
  [[nodiscard]] virtual UIntRead read_uint(int id) const;
  virtual void set_uint(int id, std::uint32_t value);

  // A modal box owned by the dialog: one OK button, no icon. Returns when the
  // user has dismissed it.
  virtual void message_box(const std::string& text, const std::string& caption) = 0;

  // Where the dialog's window is and the work area of the desktop it is on,
  // both in screen coordinates, and moving the window without resizing it.
  [[nodiscard]] virtual Rect window_rect() const { return {}; }
  [[nodiscard]] virtual Rect desktop_rect() const { return {}; }
  virtual void move_window(Point /*top_left*/) {}
};

// Numbers are read from at most this many characters of a control.
inline constexpr std::size_t kNumberReadLimit = 79;

// The top-left corner that puts a window of the given rectangle in the middle
// of the desktop rectangle; each half of a difference truncates toward zero,
// so a window larger than the desktop overhangs both edges equally.
Point center_on_desktop(const Rect& window, const Rect& desktop);

// Moves the dialog's window to the middle of its desktop.
void center_on_desktop(DialogControls& controls);

}  // namespace wandrix
