// The platform services of the core, done with Win32: cursors, repaints,
// message boxes, the clipboard, mouse capture, the common file dialogs, the
// screen, the associated HTML viewer and the three dialogs.
#pragma once

#include <windows.h>

#include <memory>

#include "model/host.h"
#include "windows/diagnostics_window.h"

namespace wandrix {
class Frame;
class Simulation;
}  // namespace wandrix

namespace wandrix::windows {

// The id of the timer behind Host::request_tick.
inline constexpr UINT_PTR kTickTimer = 1;

class Win32Host : public Host {
 public:
  void attach(HWND window, Frame& frame, Simulation& sim);
  [[nodiscard]] Cursor cursor() const { return cursor_; }

  void set_cursor(Cursor cursor) override;
  void invalidate() override;
  bool request_tick(int milliseconds) override;
  void show_surface() override;
  void message_box(const std::string& text, const std::string& caption) override;
  void set_clipboard_text(const std::string& text) override;
  bool set_clipboard_picture(const PictureData& picture) override;
  void capture_mouse(bool on) override;
  Rect resize_client(int width, int height) override;
  std::optional<std::string> file_dialog(const FileDialogRequest& request) override;
  [[nodiscard]] ScreenMetrics screen_metrics() const override;
  std::optional<std::vector<std::uint8_t>> encode_png(const std::uint32_t* pixels, int width,
                                                      int height) override;
  [[nodiscard]] std::string working_directory() const override;
  [[nodiscard]] std::string program_directory() const override;
  ProgramLookup find_associated_program(const std::string& file,
                                        const std::string& folder) override;
  void start_detached(const std::vector<std::string>& argv) override;
  DialogResult run_robot_options_dialog() override;
  DialogResult run_hill_dialog() override;
  void run_about_box() override;
  void show_diagnostics() override;

  // The diagnostics window, once Show > Diagnostics... has opened it.
  [[nodiscard]] DiagnosticsWindow* diagnostics() const { return diagnostics_.get(); }

 private:
  HWND window_ = nullptr;
  Frame* frame_ = nullptr;
  Simulation* sim_ = nullptr;
  Cursor cursor_ = Cursor::arrow;
  std::unique_ptr<DiagnosticsWindow> diagnostics_;
};

// The shape of a cursor of the core.
HCURSOR cursor_handle(Cursor cursor);

// The filter string of the common file dialogs: description and pattern of
// each filter, each followed by a NUL, and a NUL at the end.
std::wstring filter_string(const std::vector<FileFilter>& filters);

}  // namespace wandrix::windows
