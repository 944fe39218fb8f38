// The platform services of the core, done by the page: every call goes to
// the page's script (site/wandrix.js, object `page`). Calls that wait for the
// user (message boxes, file choosers, dialogs, the clipboard) suspend the
// WebAssembly code until the page answers, so the core's modal logic runs
// unchanged.
#pragma once

#include <optional>

#include "app/diagnostics_view.h"
#include "model/host.h"

namespace wandrix {
class Frame;
class Simulation;
}  // namespace wandrix

namespace wandrix::web {

// The folder of the page itself, where the help page lies, and the folder of
// the files: those the user opened, and those the program writes, which the
// page hands to the browser as downloads as soon as they are complete.
inline constexpr char kSiteFolder[] = "/site";
inline constexpr char kFilesFolder[] = "/files";

class WebHost : public Host {
 public:
  // Before any other call.
  void attach(Frame& frame, Simulation& sim);

  void set_cursor(Cursor cursor) override;
  void invalidate() override;
  bool request_tick(int milliseconds) override;
  void show_surface() override;
  void message_box(const std::string& text, const std::string& caption) override;
  void set_clipboard_text(const std::string& text) override;
  bool set_clipboard_picture(const PictureData& picture) override;
  void capture_mouse(bool on) override;
  std::optional<std::string> file_dialog(const FileDialogRequest& request) override;
  [[nodiscard]] ScreenMetrics screen_metrics() const override;
  std::optional<std::vector<std::uint8_t>> encode_png(const std::uint32_t* pixels, int width,
                                                      int height) override;
  [[nodiscard]] std::string working_directory() const override;
  [[nodiscard]] std::string program_directory() const override;
  ProgramLookup find_associated_program(const std::string& file,
                                        const std::string& folder) override;
  void start_detached(const std::vector<std::string>& argv) override;
  Rect resize_client(int width, int height) override;
  DialogResult run_robot_options_dialog() override;
  DialogResult run_hill_dialog() override;
  // The page's list of lessons and its lesson panel (web_lessons.cpp).
  std::optional<std::size_t> choose_lesson(const std::vector<LessonItem>& lessons) override;
  void show_lesson(const std::string& title, const std::vector<std::string>& paragraphs) override;
  void run_about_box() override;
  // Show > Diagnostics...: the page's diagnostics panel, which follows every
  // render of the landscape through diagnostics().
  void show_diagnostics() override;
  [[nodiscard]] DiagnosticsView& diagnostics() { return *diagnostics_; }

 private:
  Frame* frame_ = nullptr;
  Simulation* sim_ = nullptr;
  std::optional<DiagnosticsView> diagnostics_;
};

}  // namespace wandrix::web
