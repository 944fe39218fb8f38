// FakeHost: a Host for the view's tests that records what the core asked of
// the platform and answers dialogs and the clipboard as the test sets up.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/host.h"

namespace wandrix::testing {

class FakeHost : public Host {
 public:
  void set_cursor(Cursor cursor) override { cursors.push_back(cursor); }
  void invalidate() override { ++invalidations; }
  void message_box(const std::string& text, const std::string& caption) override {
    messages.push_back(caption + ": " + text);
  }
  bool set_clipboard_picture(const PictureData& picture) override {
    clipboard = picture;
    ++clipboard_calls;
    return clipboard_works;
  }
  void capture_mouse(bool on) override { captures.push_back(on); }
  std::optional<std::string> file_dialog(const FileDialogRequest& request) override {
    file_requests.push_back(request);
    return chosen_file;
  }
  [[nodiscard]] ScreenMetrics screen_metrics() const override { return metrics; }
  std::optional<std::vector<std::uint8_t>> encode_png(const std::uint32_t* pixels, int width,
                                                      int height) override {
    png_sizes.push_back({width, height});
    if (!png_works) {
      return std::nullopt;
    }
    png_first_pixel = width > 0 && height > 0 ? pixels[0] : 0;
    return std::vector<std::uint8_t>{0x89, 'P', 'N', 'G'};
  }
  DialogResult run_hill_dialog() override {
    ++hill_dialogs;
    return hill_dialog_result;
  }

  std::vector<Cursor> cursors;
  int invalidations = 0;
  std::vector<std::string> messages;
  std::optional<PictureData> clipboard;
  int clipboard_calls = 0;
  bool clipboard_works = true;
  std::vector<bool> captures;
  std::vector<FileDialogRequest> file_requests;
  std::optional<std::string> chosen_file;
  ScreenMetrics metrics;
  bool png_works = true;
  std::vector<std::pair<int, int>> png_sizes;
  std::uint32_t png_first_pixel = 0;
  int hill_dialogs = 0;
  DialogResult hill_dialog_result = DialogResult::ok;
};

}  // namespace wandrix::testing
