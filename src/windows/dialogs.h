// The three dialogs on the Win32 API: each runs its template from the
// resources modally and hands every message to the dialog logic of the core,
// which decides; this side only shows.
#pragma once

#include <windows.h>

#include "dialogs/dialog_controls.h"
#include "model/host.h"

namespace wandrix {
class Simulation;
}

namespace wandrix::windows {

// DialogControls over the controls of an open dialog, by their ids.
class Win32DialogControls : public DialogControls {
 public:
  void attach(HWND dialog) { dialog_ = dialog; }
  [[nodiscard]] HWND dialog() const { return dialog_; }

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

 private:
  LRESULT send(int id, UINT message, WPARAM w, LPARAM l) const;
  HWND dialog_ = nullptr;
};

// Template names in the resources.
inline constexpr wchar_t kRobotOptionsTemplate[] = L"ROBOTPARAMSDLG";
inline constexpr wchar_t kHillTemplate[] = L"HILLPARAMSDLG";
inline constexpr wchar_t kAboutTemplate[] = L"ABOUTDLG";

DialogResult run_robot_options_dialog(HWND owner, Simulation& sim);
DialogResult run_hill_dialog(HWND owner, Simulation& sim);
void run_about_box(HWND owner);

// A modal message box with one OK button and no icon.
void show_message_box(HWND owner, const std::string& text, const std::string& caption);

}  // namespace wandrix::windows
