// Host: every service of the platform that the core asks for. The desktop
// program implements it with Qt, wandrix-cli with a headless variant, and
// tests with recording fakes. The defaults do nothing, so a model can run
// without any host at all.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/types.h"

namespace wandrix {

enum class Cursor { arrow, wait, cross };

enum class DialogResult { ok, cancel };

// The screen's size in pixels and millimetres, for the picture's frame.
struct ScreenMetrics {
  int width_px = 1024;
  int height_px = 768;
  int width_mm = 320;
  int height_mm = 240;
};

struct FileFilter {
  std::string description;  // "Data file (*.dat)"
  std::string pattern;      // "*.DAT"
};

struct FileDialogRequest {
  bool for_open = true;
  std::vector<FileFilter> filters;
  std::string default_extension;  // without the dot
  std::string folder;             // where the dialog opens
};

// The picture in every form the clipboard offers.
struct PictureData {
  std::vector<std::uint8_t> emf;
  std::string svg;
  std::vector<std::uint8_t> png;
};

// Result of looking up the program associated with a file: a code above 32
// and the program's path on success, otherwise one of the error codes
// 2 (file not found), 3 (path not found), 11 (bad format), 31 (no association).
struct ProgramLookup {
  int code = 0;
  std::string program;
  // The program's command as an argument vector, program first, with the
  // desktop-entry field codes (%u, %f, ...) still in place; empty when the
  // program takes the address as its only argument.
  std::vector<std::string> command;
};

// One lesson as a list shows it.
struct LessonItem {
  std::string title;
  std::string summary;  // the first sentence of its text
};

class Host {
 public:
  virtual ~Host() = default;

  virtual void set_cursor(Cursor /*cursor*/) {}
  // How far a walk that runs to completion inside one command has come: told
  // with done 0 when it begins, after every slice of about a tenth of a
  // second, and with finished true when it ends (early, out of memory).
  virtual void walk_progress(std::int64_t /*done*/, std::int64_t /*total*/, bool /*finished*/) {}
  // Repaint the whole client area later, without erasing it.
  virtual void invalidate() {}
  // Calls the frame's tick once, after this many milliseconds, from the event
  // loop (a later request replaces an earlier one). Returns false when the
  // platform has no such timer: the frame then walks to the end at once.
  virtual bool request_tick(int /*milliseconds*/) { return false; }
  // A modal box with one OK button and no icon.
  virtual void message_box(const std::string& /*text*/, const std::string& /*caption*/) {}
  virtual void set_clipboard_text(const std::string& /*text*/) {}
  // Returns false when the clipboard could not take the picture.
  virtual bool set_clipboard_picture(const PictureData& /*picture*/) { return false; }
  virtual void capture_mouse(bool /*on*/) {}
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> file_dialog(const FileDialogRequest& /*request*/) {
    return std::nullopt;
  }
  [[nodiscard]] virtual ScreenMetrics screen_metrics() const { return {}; }
  // PNG bytes of a 0xFFRRGGBB pixel buffer (rows top to bottom), or nothing
  // when no encoder is available.
  virtual std::optional<std::vector<std::uint8_t>> encode_png(const std::uint32_t* /*pixels*/,
                                                              int /*width*/, int /*height*/) {
    return std::nullopt;
  }
  [[nodiscard]] virtual std::string working_directory() const { return "."; }
  virtual ProgramLookup find_associated_program(const std::string& /*file*/,
                                                const std::string& /*folder*/) {
    return {31, {}, {}};
  }
  virtual void start_detached(const std::vector<std::string>& /*argv*/) {}
  // The folder of the running executable, or empty when unknown.
  [[nodiscard]] virtual std::string program_directory() const { return {}; }
  // Asks for a client area of this size, as far as the screen allows, and
  // returns the client rectangle the window takes. Without a window, the size
  // asked for.
  virtual Rect resize_client(int width, int height) { return {0, 0, width, height}; }
  // The window's surface changed outside a paint (a drag outline): show it.
  virtual void show_surface() {}
  // Modal dialogs; the core holds their logic, the host shows them.
  virtual DialogResult run_robot_options_dialog() { return DialogResult::cancel; }
  virtual DialogResult run_hill_dialog() { return DialogResult::cancel; }
  virtual void run_about_box() {}
  // Shows the diagnostics window (not modal), bringing it to the front when
  // it is open already.
  virtual void show_diagnostics() {}
  // File > Lessons...: a modal list of the lessons (title and first
  // sentence); the index chosen, or nothing when the user cancelled.
  virtual std::optional<std::size_t> choose_lesson(const std::vector<LessonItem>& /*lessons*/) {
    return std::nullopt;
  }
  // Shows a lesson's text beside the picture until the user closes it or
  // another lesson replaces it.
  virtual void show_lesson(const std::string& /*title*/,
                           const std::vector<std::string>& /*paragraphs*/) {}
};

// A host that does nothing, for a model that runs without a window.
Host& null_host();

}  // namespace wandrix
