#include "files/session_file.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <system_error>

#include "files/atomic_file.h"
#include "files/file_chooser.h"
#include "files/utf8_path.h"
#include "model/fixed_text.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

// A size truncated toward zero, written as an integer.
std::string truncated(double value) {
  const std::string text = format_fixed(std::trunc(value), 0);
  return text == "-0" ? "0" : text;
}

bool is_white(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// At most `limit` bytes, not cutting a UTF-8 sequence in two.
std::string clipped(const std::string& text, std::size_t limit) {
  if (text.size() <= limit) {
    return text;
  }
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80U) {
    --end;
  }
  return text.substr(0, end);
}

}  // namespace

std::string SessionError::message() const {
  std::string text = kNotADataFileText;
  if (has_magic) {
    text += "\nLine " + std::to_string(line) + ": " + reason;
  }
  return text;
}

namespace session {

std::string label_line(const std::string& label) {
  std::string line = clipped(label, kMaxLabelLength);
  for (char& c : line) {
    if (is_white(c)) {
      c = '_';
    }
  }
  return line.empty() ? "_" : line;
}

void write(std::ostream& out, const Simulation& sim) {
  std::string text = "WANDRIX 1.0\n";
  text += std::to_string(sim.rng.seed()) + "\n";
  text += truncated(sim.width) + "  " + truncated(sim.height) + "\n";
  text += std::to_string(sim.start_x) + "  " + std::to_string(sim.start_y) + "\n";
  text += format_fixed(sim.step_stddev, 5) + "\n";
  text += format_fixed(sim.step_mean, 5) + "\n";
  text += std::to_string(sim.hills.size()) + "\n";
  for (const Hill& hill : sim.hills) {
    text += "\n" + label_line(hill.label) + "\n";
    for (double value :
         {hill.mean_x, hill.mean_y, hill.stddev_x, hill.stddev_y, hill.correlation, hill.weight}) {
      text += format_fixed(value, 5) + "\n";
    }
  }
  out << text;
  out.flush();
}

void apply(SessionData data, Simulation& sim) {
  sim.rn_seed = data.rn_seed;
  sim.width = data.width;
  sim.height = data.height;
  sim.start_x = data.start_x;
  sim.start_y = data.start_y;
  sim.step_stddev = data.step_stddev;
  sim.step_mean = data.step_mean;
  sim.hills = std::move(data.hills);
  sim.rng.reseed(sim.rn_seed);
  sim.normalize_weights();
  sim.ignore_topography = sim.hills.empty();
}

}  // namespace session

std::optional<SessionError> load_session(Simulation& sim, const std::string& path) {
  std::error_code ec;
  // Only a plain file: a device or a pipe could be read for ever.
  const std::filesystem::path file = utf8_path(path);
  if (!std::filesystem::is_regular_file(file, ec)) {
    return SessionError{};
  }
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) {
    return SessionError{};
  }
  SessionData data;
  if (auto error = session::read(in, data)) {
    return error;
  }
  session::apply(std::move(data), sim);
  sim.session_file = path;
  return std::nullopt;
}

std::optional<std::string> store_session(const Simulation& sim, const std::string& path) {
  std::ostringstream text;
  session::write(text, sim);
  return write_file_atomically(path, text.str());
}

std::optional<SessionError> open_chosen_session(Simulation& sim, const std::string& path,
                                                bool show_error) {
  auto error = load_session(sim, path);
  if (error && show_error) {
    sim.host().message_box(error->message(), kReadErrorCaption);
  }
  sim.clear_and_redraw();
  return error;
}

void open_session(Simulation& sim) {
  if (choose_file(sim, true, FileKind::data)) {
    open_chosen_session(sim, sim.file_name);
  } else {
    sim.clear_and_redraw();
  }
}

void save_session(Simulation& sim) {
  if (sim.session_file.empty()) {
    save_session_as(sim);
    return;
  }
  if (const auto error = store_session(sim, sim.session_file)) {
    sim.host().message_box(*error, kWriteErrorCaption);
  }
}

void save_session_as(Simulation& sim) {
  const auto store = [&sim](const std::string& path) { return store_session(sim, path); };
  if (!save_chosen_file(sim, FileKind::data, store, kWriteErrorCaption)) {
    return;
  }
  sim.session_file = sim.file_name;
  sim.host().message_box(sim.file_name, kSessionSavedCaption);
}

}  // namespace wandrix
