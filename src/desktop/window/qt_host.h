// The platform services of the core, done with Qt: cursors, repaints, message
// boxes, the clipboard, mouse capture, file dialogs, the screen, PNG encoding,
// the help viewer, the three dialogs and the lessons.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "desktop/window/diagnostics_window.h"
#include "desktop/window/lesson_panel.h"
#include "model/host.h"

namespace wandrix {
class Frame;
class Simulation;
}  // namespace wandrix

namespace wandrix::desktop {

class QtHost : public Host {
 public:
  // owner parents the boxes and dialogs; view shows the frame's surface.
  QtHost(QWidget* owner, QWidget* view);
  void attach(Frame& frame, Simulation& sim);
  // Called after every tick of the frame, for the window to show the walk.
  void on_tick(std::function<void()> after_tick) { after_tick_ = std::move(after_tick); }

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
  std::optional<std::size_t> choose_lesson(const std::vector<LessonItem>& lessons) override;
  // In the panel beside the landscape, when the owner is a main window.
  void show_lesson(const std::string& title, const std::vector<std::string>& paragraphs) override;
  // The diagnostics window, once Show > Diagnostics... has opened it.
  [[nodiscard]] DiagnosticsWindow* diagnostics() const { return diagnostics_; }
  // The lesson panel, once a lesson has been opened.
  [[nodiscard]] LessonPanel* lesson_panel() const { return lesson_panel_; }

 private:
  QPointer<QWidget> owner_;
  QPointer<QWidget> view_;
  Frame* frame_ = nullptr;
  Simulation* sim_ = nullptr;
  Cursor cursor_ = Cursor::arrow;
  QTimer tick_timer_;
  std::function<void()> after_tick_;
  QPointer<DiagnosticsWindow> diagnostics_;
  QPointer<LessonPanel> lesson_panel_;
};

// The Qt name filter for one of the program's filters: the description as
// the user reads it.
QString name_filter(const FileFilter& filter);

}  // namespace wandrix::desktop
