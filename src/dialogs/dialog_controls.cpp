#include "dialogs/dialog_controls.h"

namespace wandrix {

UIntRead DialogControls::read_uint(int id) const { return parse_uint(text(id, kNumberReadLimit)); }

void DialogControls::set_uint(int id, std::uint32_t value) { set_text(id, std::to_string(value)); }

Point center_on_desktop(const Rect& window, const Rect& desktop) {
  return {desktop.left + (desktop.width() - window.width()) / 2,
          desktop.top + (desktop.height() - window.height()) / 2};
}

void center_on_desktop(DialogControls& controls) {
  controls.move_window(center_on_desktop(controls.window_rect(), controls.desktop_rect()));
}

}  // namespace wandrix
