#include "web/web_host.h"

#include <emscripten.h>

#include <cstdlib>

#include "app/frame.h"
#include "png/png_encoder.h"
#include "view/diagnostics.h"
#include "web/web_dialogs.h"

// clang-format off
EM_JS(void, wx_js_set_cursor, (int cursor), { Module.page.setCursor(cursor); });
EM_JS(void, wx_js_invalidate, (), { Module.page.invalidate(); });
EM_JS(void, wx_js_request_tick, (int milliseconds), { Module.page.requestTick(milliseconds); });
EM_JS(void, wx_js_show_surface, (), { Module.page.showSurface(); });
EM_ASYNC_JS(void, wx_js_message_box, (const char* text, const char* caption), {
  await Module.page.messageBox(UTF8ToString(text), UTF8ToString(caption), "");
});
EM_JS(void, wx_js_copy_text, (const char* text), { Module.page.copyText(UTF8ToString(text)); });
EM_ASYNC_JS(int, wx_js_copy_picture, (const unsigned char* png, int png_size, const char* svg), {
  const bytes = HEAPU8.slice(png, png + png_size);
  return (await Module.page.copyPicture(bytes, UTF8ToString(svg))) ? 1 : 0;
});
EM_JS(void, wx_js_capture_mouse, (int on), { Module.page.captureMouse(on !== 0); });
EM_ASYNC_JS(char*, wx_js_file_dialog, (int for_open, const char* filters, const char* extension, const char* folder), {
  const path = await Module.page.fileDialog(for_open !== 0, UTF8ToString(filters),
                                            UTF8ToString(extension), UTF8ToString(folder));
  return path === null ? 0 : Module.page.newString(path);
});
EM_JS(void, wx_js_screen, (int* metrics), { HEAP32.set(Module.page.screenMetrics(), metrics >> 2); });
EM_JS(void, wx_js_open_page, (const char* address), { Module.page.openPage(UTF8ToString(address)); });
EM_JS(void, wx_js_resize_client, (int width, int height, int* size), {
  HEAP32.set(Module.page.resizeClient(width, height), size >> 2);
});
EM_JS(void, wx_js_show_diagnostics, (int width, int height), {
  Module.page.diagnostics.show(width, height);
});
EM_JS(void, wx_js_diagnostics_changed, (int delay), { Module.page.diagnostics.changed(delay); });
// clang-format on

namespace wandrix::web {

void WebHost::attach(Frame& frame, Simulation& sim) {
  frame_ = &frame;
  sim_ = &sim;
  diagnostics_.emplace(sim);
  // The panel draws again when the throttle allows, if it is open: the page
  // decides, as it alone knows whether the panel is shown.
  frame.on_rendered([this] {
    diagnostics_->model_changed();
    const auto delay = diagnostics_->redraw_delay(DiagnosticsView::Clock::now());
    wx_js_diagnostics_changed(static_cast<int>(delay.count()));
  });
}

void WebHost::set_cursor(Cursor cursor) { wx_js_set_cursor(static_cast<int>(cursor)); }

void WebHost::invalidate() {
  if (frame_ != nullptr) {
    frame_->request_paint();
  }
  wx_js_invalidate();
}

// The page queues the tick behind the call in progress, so a tick never runs
// while a dialog of that call waits for the user.
bool WebHost::request_tick(int milliseconds) {
  wx_js_request_tick(milliseconds);
  return true;
}

void WebHost::show_surface() { wx_js_show_surface(); }

void WebHost::message_box(const std::string& text, const std::string& caption) {
  wx_js_message_box(text.c_str(), caption.c_str());
}

void WebHost::set_clipboard_text(const std::string& text) { wx_js_copy_text(text.c_str()); }

bool WebHost::set_clipboard_picture(const PictureData& picture) {
  // The browser's clipboard takes PNG pictures (and SVG, where it can); a
  // metafile has no place on it.
  return wx_js_copy_picture(picture.png.data(), static_cast<int>(picture.png.size()),
                            picture.svg.c_str()) != 0;
}

void WebHost::capture_mouse(bool on) { wx_js_capture_mouse(on ? 1 : 0); }

std::optional<std::string> WebHost::file_dialog(const FileDialogRequest& request) {
  // Description and pattern of each filter, one a line.
  std::string filters;
  for (const FileFilter& filter : request.filters) {
    filters += filter.description + '\n' + filter.pattern + '\n';
  }
  char* chosen = wx_js_file_dialog(request.for_open ? 1 : 0, filters.c_str(),
                                   request.default_extension.c_str(), request.folder.c_str());
  if (chosen == nullptr) {
    return std::nullopt;
  }
  std::string path = chosen;
  std::free(chosen);
  return path;
}

ScreenMetrics WebHost::screen_metrics() const {
  int values[4] = {};
  wx_js_screen(values);
  if (values[0] <= 0 || values[1] <= 0 || values[2] <= 0 || values[3] <= 0) {
    return {};
  }
  return {values[0], values[1], values[2], values[3]};
}

std::optional<std::vector<std::uint8_t>> WebHost::encode_png(const std::uint32_t* pixels, int width,
                                                             int height) {
  return wandrix::encode_png(pixels, width, height);
}

std::string WebHost::working_directory() const { return kFilesFolder; }

std::string WebHost::program_directory() const { return kSiteFolder; }

ProgramLookup WebHost::find_associated_program(const std::string& /*file*/,
                                               const std::string& folder) {
  // The browser shows HTML itself, and the help page lies beside the page.
  if (folder == kSiteFolder) {
    return {42, "browser", {}};
  }
  return {2, {}, {}};
}

void WebHost::start_detached(const std::vector<std::string>& argv) {
  if (argv.size() >= 2) {
    wx_js_open_page(argv.back().c_str());
  }
}

Rect WebHost::resize_client(int width, int height) {
  int size[2] = {width, height};
  wx_js_resize_client(width, height, size);
  return {0, 0, size[0], size[1]};
}

DialogResult WebHost::run_robot_options_dialog() {
  return sim_ != nullptr ? web::run_robot_options_dialog(*sim_) : DialogResult::cancel;
}

DialogResult WebHost::run_hill_dialog() {
  return sim_ != nullptr ? web::run_hill_dialog(*sim_) : DialogResult::cancel;
}

void WebHost::run_about_box() { web::run_about_box(); }

void WebHost::show_diagnostics() {
  if (sim_ != nullptr) {
    // First opened at the picture's export size, as far as the page allows.
    const Rect size = diagnostics_picture_rect(*sim_);
    wx_js_show_diagnostics(size.width(), size.height());
  }
}

}  // namespace wandrix::web
