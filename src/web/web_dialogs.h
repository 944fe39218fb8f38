// The three dialogs as forms of the page. The page draws each form from its
// template (site/dialogs.js) and reports clicks; the dialog logic of the core
// decides everything through WebDialogControls, exactly as in the desktop
// program.
#pragma once

#include <string>

#include "dialogs/dialog_controls.h"
#include "model/host.h"
#include "model/simulation.h"

namespace wandrix::web {

// The controls of one open form, found by the template's control ids.
class WebDialogControls : public DialogControls {
 public:
  explicit WebDialogControls(std::string dialog) : dialog_(std::move(dialog)) {}

  [[nodiscard]] std::string text(int id, std::size_t max_chars) const override;
  void set_text(int id, const std::string& text) override;
  void enable(int id, bool on) override;
  [[nodiscard]] CheckState check_state(int id) const override;
  void set_checked(int id, bool checked) override;
  void combo_add(int id, const std::string& text) override;
  void combo_insert(int id, int index, const std::string& text) override;
  void combo_delete(int id, int index) override;
  void combo_select(int id, int index) override;
  [[nodiscard]] int combo_selection(int id) const override;
  void message_box(const std::string& text, const std::string& caption) override;
  [[nodiscard]] Rect window_rect() const override;
  [[nodiscard]] Rect desktop_rect() const override;
  void move_window(Point top_left) override;

  // Shows the form, empty, until close().
  void show_form();
  void close();
  // Waits for the user: the id of the button pressed (1 Ok, 2 Cancel or
  // Escape, others the form's own buttons), kCloseBoxEvent for the close box,
  // or kListEventBase + notification for the hill list.
  int next_event();

 private:
  std::string dialog_;
};

// The buttons every template numbers alike, and the close box.
inline constexpr int kOkEvent = 1;
inline constexpr int kCancelEvent = 2;
inline constexpr int kCloseBoxEvent = 0;
inline constexpr int kListEventBase = 142000;

DialogResult run_robot_options_dialog(Simulation& sim);
DialogResult run_hill_dialog(Simulation& sim);
void run_about_box();

}  // namespace wandrix::web
