// FakeHost: the one Host of the core's tests. It records what the core asks
// of the platform, in order where the order matters, and answers the file
// dialogs, the clipboard, PNG encoding and the modal dialogs as the test sets
// it up. Every test program finds it from tests/.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
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
  friend bool operator==(const MessageBox&, const MessageBox&) = default;
};

class FakeHost : public Host {
 public:
  void set_cursor(Cursor cursor) override { cursors.push_back(cursor); }
  void invalidate() override { ++invalidations; }
  // A timer only when the test drives the ticks itself.
  bool request_tick(int milliseconds) override {
    tick_requests.push_back(milliseconds);
    return ticks_accepted;
  }
  void show_surface() override { ++surface_shows; }
  void message_box(const std::string& text, const std::string& caption) override {
    boxes.push_back({text, caption});
    calls.emplace_back("message_box");
  }
  void set_clipboard_text(const std::string& text) override {
    clipboard_text = text;
    calls.emplace_back("set_clipboard_text");
  }
  bool set_clipboard_picture(const PictureData& picture) override {
    if (clipboard_out_of_memory) {
      throw std::bad_alloc();
    }
    clipboard_picture = picture;
    ++clipboard_calls;
    return clipboard_accepts;
  }
  Rect resize_client(int width, int height) override {
    if (resize_out_of_memory) {
      throw std::bad_alloc();
    }
    resizes.push_back({0, 0, width, height});
    return {0, 0, std::min(width, screen_limit.x), std::min(height, screen_limit.y)};
  }
  void capture_mouse(bool on) override { captures.push_back(on); }
  // The next of file_answers; none left is a cancelled dialog.
  std::optional<std::string> file_dialog(const FileDialogRequest& request) override {
    file_requests.push_back(request);
    if (file_answers.empty()) {
      return std::nullopt;
    }
    auto answer = file_answers.front();
    file_answers.pop_front();
    return answer;
  }
  [[nodiscard]] ScreenMetrics screen_metrics() const override { return metrics; }
  // Four bytes that stand for a PNG, or nothing when png_works is false.
  std::optional<std::vector<std::uint8_t>> encode_png(const std::uint32_t* pixels, int width,
                                                      int height) override {
    png_sizes.emplace_back(width, height);
    if (!png_works) {
      return std::nullopt;
    }
    png_first_pixel = width > 0 && height > 0 ? pixels[0] : 0;
    return std::vector<std::uint8_t>{0x89, 'P', 'N', 'G'};
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
  void show_diagnostics() override { ++diagnostics_shown; }
  std::optional<std::size_t> choose_lesson(const std::vector<LessonItem>& lessons) override {
    lesson_lists.push_back(lessons);
    return lesson_answer;
  }
  void show_lesson(const std::string& title, const std::vector<std::string>& paragraphs) override {
    lessons_shown.emplace_back(title, paragraphs);
  }

  // Whether the mouse is captured now.
  [[nodiscard]] bool captured() const { return !captures.empty() && captures.back(); }

  // --- what the core asked ---
  std::vector<Cursor> cursors;
  int invalidations = 0;
  bool ticks_accepted = false;
  std::vector<int> tick_requests;
  int surface_shows = 0;
  std::vector<MessageBox> boxes;
  std::vector<std::string> calls;  // message boxes and clipboard texts, in order
  std::string clipboard_text;
  std::optional<PictureData> clipboard_picture;
  int clipboard_calls = 0;
  std::vector<bool> captures;
  std::vector<Rect> resizes;  // client sizes asked for
  std::vector<FileDialogRequest> file_requests;
  std::vector<std::pair<int, int>> png_sizes;
  std::uint32_t png_first_pixel = 0;
  std::vector<std::pair<std::string, std::string>> lookups;  // file, folder
  std::vector<std::vector<std::string>> started;
  int robot_dialogs = 0;
  int hill_dialogs = 0;
  int about_boxes = 0;
  int diagnostics_shown = 0;
  std::vector<std::vector<LessonItem>> lesson_lists;
  std::optional<std::size_t> lesson_answer;
  std::vector<std::pair<std::string, std::vector<std::string>>> lessons_shown;

  // --- the answers ---
  std::deque<std::optional<std::string>> file_answers;
  bool clipboard_accepts = true;
  bool clipboard_out_of_memory = false;
  bool resize_out_of_memory = false;
  Point screen_limit{1920, 1080};  // the largest client area the screen allows
  bool png_works = true;
  ScreenMetrics metrics;
  std::string cwd = "/work/start";
  std::string program_dir;
  std::function<ProgramLookup(const std::string& folder)> lookup = [](const std::string&) {
    return ProgramLookup{31, {}, {}};
  };
  std::function<DialogResult()> on_robot_dialog;
  DialogResult hill_answer = DialogResult::ok;
};

}  // namespace wandrix::testing
