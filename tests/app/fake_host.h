// A Host that records what the frame asks of the platform and answers the
// dialogs as a test tells it to.
#pragma once

#include <algorithm>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/host.h"

namespace wandrix::testing {

struct MessageBox {
  std::string text;
  std::string caption;
};

class FakeHost : public Host {
 public:
  void set_cursor(Cursor cursor) override { cursors.push_back(cursor); }
  void invalidate() override { ++invalidations; }
  void show_surface() override { ++surface_shows; }
  void message_box(const std::string& text, const std::string& caption) override {
    boxes.push_back({text, caption});
  }
  void set_clipboard_text(const std::string& text) override { clipboard_text = text; }
  bool set_clipboard_picture(const PictureData& picture) override {
    if (clipboard_out_of_memory) {
      throw std::bad_alloc();
    }
    clipboard_picture = picture;
    return clipboard_accepts;
  }
  Rect resize_client(int width, int height) override {
    if (resize_out_of_memory) {
      throw std::bad_alloc();
    }
    resizes.push_back({0, 0, width, height});
    return {0, 0, std::min(width, screen_limit.x), std::min(height, screen_limit.y)};
  }
  void capture_mouse(bool on) override {
    captured = on;
    ++capture_changes;
  }
  std::optional<std::string> file_dialog(const FileDialogRequest& request) override {
    file_requests.push_back(request);
    return next_file;
  }
  [[nodiscard]] std::string working_directory() const override { return cwd; }
  [[nodiscard]] std::string program_directory() const override { return program_dir; }
  ProgramLookup find_associated_program(const std::string& file,
                                        const std::string& folder) override {
    lookups.emplace_back(file, folder);
    return lookup(folder);
  }
  void start_detached(const std::vector<std::string>& argv) override { started.push_back(argv); }
  DialogResult run_robot_options_dialog() override {
    ++robot_dialogs;
    return on_robot_dialog ? on_robot_dialog() : DialogResult::cancel;
  }
  DialogResult run_hill_dialog() override {
    ++hill_dialogs;
    return hill_answer;
  }
  void run_about_box() override { ++about_boxes; }

  std::vector<Cursor> cursors;
  int invalidations = 0;
  int surface_shows = 0;
  std::vector<MessageBox> boxes;
  std::string clipboard_text;
  std::optional<PictureData> clipboard_picture;
  bool clipboard_accepts = true;
  bool clipboard_out_of_memory = false;
  bool resize_out_of_memory = false;
  std::vector<Rect> resizes;       // client sizes asked for
  Point screen_limit{1920, 1080};  // the largest client area the screen allows
  bool captured = false;
  int capture_changes = 0;
  std::vector<FileDialogRequest> file_requests;
  std::optional<std::string> next_file;
  std::string cwd = "/home/user/work";
  std::string program_dir;
  std::function<ProgramLookup(const std::string& folder)> lookup = [](const std::string&) {
    return ProgramLookup{31, {}, {}};
  };
  std::vector<std::pair<std::string, std::string>> lookups;
  std::vector<std::vector<std::string>> started;
  std::function<DialogResult()> on_robot_dialog;
  int robot_dialogs = 0;
  int hill_dialogs = 0;
  DialogResult hill_answer = DialogResult::ok;
  int about_boxes = 0;
};

}  // namespace wandrix::testing
