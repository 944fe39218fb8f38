// The page's entry points: the page's script turns its events into these
// calls, as the desktop program turns Qt's events into Frame calls. The one
// Simulation, its Host and its Frame live for as long as the page.
#include <emscripten.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/frame.h"
#include "app/menu_table.h"
#include "cli/actions.h"
#include "view/picture_export.h"
#include "web/web_host.h"

namespace {

using wandrix::Frame;
using wandrix::Point;
using wandrix::Simulation;

struct Program {
  wandrix::web::WebHost host;
  Simulation sim{host};
  Frame frame{sim, host};
  Program() { host.attach(frame, sim); }
};

Program& program() {
  static Program the_program;
  return the_program;
}

// JSON string literal of UTF-8 text ("Diagnostics…"): its bytes pass as
// they are, but for the quote, the backslash and the control characters.
std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out + '"';
}

std::string menu_json() {
  std::string json = "{\"popups\":[";
  bool first_popup = true;
  for (const wandrix::MenuPopup& popup : wandrix::menu_bar()) {
    json += first_popup ? "" : ",";
    first_popup = false;
    json += "{\"title\":" + quoted(popup.title) + ",\"items\":[";
    bool first_item = true;
    for (const wandrix::MenuItem& item : popup.items) {
      json += first_item ? "" : ",";
      first_item = false;
      json += "{\"id\":" + std::to_string(item.id) + ",\"text\":" + quoted(item.text) +
              ",\"shortcut\":" + quoted(item.shortcut) + "}";
    }
    json += "]}";
  }
  json += "],\"accelerators\":[";
  bool first = true;
  for (const wandrix::Accelerator& accelerator : wandrix::accelerators()) {
    json += first ? "" : ",";
    first = false;
    json +=
        "{\"keys\":" + quoted(accelerator.keys) + ",\"id\":" + std::to_string(accelerator.id) + "}";
  }
  // The tool bar's controls, in the desktop program's order, and its speeds.
  namespace command = wandrix::command;
  json += "],\"walk\":{\"controls\":[";
  for (const int id : {command::kAnimateWalking, command::kPauseWalking, command::kSingleStep,
                       command::kStopWalking}) {
    json += (id == command::kAnimateWalking ? "" : ",") + std::to_string(id);
  }
  json += "],\"speedCommand\":" + std::to_string(command::kWalkSpeed) + ",\"speeds\":[";
  for (int k = 0; k <= wandrix::kFastestSpeed; ++k) {
    const std::string speed = wandrix::speed_text(k);
    json += (k == 0 ? "" : ",") + quoted(speed.c_str());
  }
  return json + "]}}";
}

// The texts handed to the page live here until the next call asks again.
const char* kept(std::string text) {
  static std::string keep;
  keep = std::move(text);
  return keep.c_str();
}

}  // namespace

extern "C" {

// Once, before anything else: the folders the page uses, and the first size.
EMSCRIPTEN_KEEPALIVE void wx_start(int width, int height) {
  for (const char* folder : {wandrix::web::kSiteFolder, wandrix::web::kFilesFolder}) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
  }
  program().frame.size(width, height, false);
}

EMSCRIPTEN_KEEPALIVE const char* wx_menu_json() {
  static const std::string json = menu_json();
  return json.c_str();
}

// The menu rules: id, checked, enabled for each item they name, at most
// capacity of them.
EMSCRIPTEN_KEEPALIVE int wx_menu_state(int* out, int capacity) {
  int count = 0;
  for (const wandrix::MenuItemState& state : program().frame.menu_state()) {
    if (count == capacity) {
      break;
    }
    out[count * 3] = state.id;
    out[count * 3 + 1] = state.checked ? 1 : 0;
    out[count * 3 + 2] = state.enabled ? 1 : 0;
    ++count;
  }
  return count;
}

// 1 when the program is to end ("Exit").
EMSCRIPTEN_KEEPALIVE int wx_command(int id) {
  return program().frame.command(id) == wandrix::FrameResult::quit ? 1 : 0;
}

// The timer the core asked for (WebHost::request_tick) has run out.
EMSCRIPTEN_KEEPALIVE void wx_tick() { program().frame.tick(); }

// The status bar: the walk's progress (empty when there is none to show),
// its rates, and the animation's speed (an index of kWalkSpeeds).
EMSCRIPTEN_KEEPALIVE const char* wx_progress_text() {
  return kept(program().frame.progress_text());
}
EMSCRIPTEN_KEEPALIVE const char* wx_rates_text() { return kept(program().frame.rates_text()); }
EMSCRIPTEN_KEEPALIVE int wx_walk_speed() { return program().frame.player().speed(); }
// 1 while a walk runs (paused or not).
EMSCRIPTEN_KEEPALIVE int wx_walking() { return program().frame.player().running() ? 1 : 0; }

EMSCRIPTEN_KEEPALIVE void wx_size(int width, int height) {
  program().frame.size(width, height, false);
}

// Draws what changed and returns the surface's pixels (0xFFRRGGBB, rows top
// down); wx_surface_width and wx_surface_height give its size.
EMSCRIPTEN_KEEPALIVE const std::uint32_t* wx_render() {
  program().frame.render();
  return program().frame.surface().pixels();
}
EMSCRIPTEN_KEEPALIVE const std::uint32_t* wx_surface() {
  return program().frame.surface().pixels();
}
EMSCRIPTEN_KEEPALIVE int wx_surface_width() { return program().frame.surface().width(); }
EMSCRIPTEN_KEEPALIVE int wx_surface_height() { return program().frame.surface().height(); }

// The diagnostics panel (WebHost::show_diagnostics). Draws the diagnostics
// at the panel's size if the model or the size changed since they were last
// drawn; 1 when it drew. wx_diagnostics_pixels gives the picture, as
// wx_surface does the landscape's.
EMSCRIPTEN_KEEPALIVE int wx_diagnostics_render(int width, int height) {
  return program().host.diagnostics().render(width, height) ? 1 : 0;
}
// How long the next drawing should wait, in milliseconds (the throttle).
EMSCRIPTEN_KEEPALIVE int wx_diagnostics_delay() {
  const auto delay =
      program().host.diagnostics().redraw_delay(wandrix::DiagnosticsView::Clock::now());
  return static_cast<int>(delay.count());
}
EMSCRIPTEN_KEEPALIVE const std::uint32_t* wx_diagnostics_pixels() {
  return program().host.diagnostics().surface().pixels();
}
EMSCRIPTEN_KEEPALIVE int wx_diagnostics_width() {
  return program().host.diagnostics().surface().width();
}
EMSCRIPTEN_KEEPALIVE int wx_diagnostics_height() {
  return program().host.diagnostics().surface().height();
}

// Copy in the panel: the diagnostics at its size on the clipboard, then the
// message that says how it went.
EMSCRIPTEN_KEEPALIVE void wx_diagnostics_copy(int width, int height) {
  wandrix::copy_diagnostics(program().sim, wandrix::Rect{0, 0, width, height});
}

enum MouseEvent { kLeftPress, kLeftRelease, kRightPress, kRightRelease, kMove };

EMSCRIPTEN_KEEPALIVE void wx_mouse(int event, int x, int y) {
  Frame& frame = program().frame;
  const Point p{x, y};
  switch (event) {
    case kLeftPress:
      frame.left_press(p);
      break;
    case kLeftRelease:
      frame.left_release(p);
      break;
    case kRightPress:
      frame.right_press(p);
      break;
    case kRightRelease:
      frame.right_release(p);
      break;
    default:
      frame.mouse_move(p);
      break;
  }
}

EMSCRIPTEN_KEEPALIVE void wx_key_char(int code) { program().frame.key_char(code); }

// Opens a session file the page has placed in the file system (a file given
// in the address), as "Open..." would have.
EMSCRIPTEN_KEEPALIVE void wx_open_file(const char* path) { program().frame.open_file(path); }

// Opens a lesson by name (index.html?lesson=NAME); an unknown one is told in
// a message box and leaves the session as it was. 1 when it opened.
EMSCRIPTEN_KEEPALIVE int wx_open_lesson(const char* name) {
  return program().frame.open_lesson_named(name) ? 1 : 0;
}

// Runs wandrix-cli's actions (blank-separated words) on the session, as the
// demonstration does; returns their exit status, messages go to the console.
EMSCRIPTEN_KEEPALIVE int wx_run_actions(const char* text) {
  std::istringstream words_in(text);
  std::vector<std::string> words;
  for (std::string word; words_in >> word;) {
    words.push_back(word);
  }
  std::ostringstream out;
  std::ostringstream err;
  const int status = wandrix::cli::run_actions(words, program().sim, out, err);
  if (!err.str().empty()) {
    EM_ASM({ console.warn(UTF8ToString($0)); }, err.str().c_str());
  }
  program().frame.request_paint();
  program().sim.full_redraw = true;
  return status;
}

}  // extern "C"
