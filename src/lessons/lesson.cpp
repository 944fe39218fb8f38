#include "lessons/lesson.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include <nlohmann/json.hpp>

#include "files/session_file.h"
#include "files/utf8_path.h"
#include "model/limits.h"
#include "model/settings.h"
#include "model/simulation.h"
#include "model/types.h"

namespace wandrix {
namespace {

using nlohmann::json;

// A lesson file is a few kilobytes; anything far larger is not one.
constexpr std::uintmax_t kMaxLessonBytes = 1 << 20;

// Why a lesson is refused, as one line.
struct Refusal {
  std::string reason;
};

[[noreturn]] void refuse(std::string reason) { throw Refusal{std::move(reason)}; }

const json& member(const json& object, const char* key) {
  const auto it = object.find(key);
  if (it == object.end()) {
    refuse(std::string("\"") + key + "\" is missing");
  }
  return *it;
}

std::string text_of(const json& value, const std::string& what) {
  if (!value.is_string() || value.get_ref<const std::string&>().empty()) {
    refuse(what + " is not a text");
  }
  return value.get<std::string>();
}

std::int64_t integer_of(const json& value, const std::string& what, std::int64_t low,
                        std::int64_t high) {
  if (!value.is_number_integer()) {
    refuse(what + " is not a whole number");
  }
  // An unsigned number too large for int64 wraps in get<int64_t>.
  if (value.is_number_unsigned() && value.get<std::uint64_t>() > static_cast<std::uint64_t>(high)) {
    refuse(what + " is outside " + std::to_string(low) + " to " + std::to_string(high));
  }
  const auto n = value.get<std::int64_t>();
  if (n < low || n > high) {
    refuse(what + " is outside " + std::to_string(low) + " to " + std::to_string(high));
  }
  return n;
}

bool boolean_of(const json& value, const std::string& what) {
  if (!value.is_boolean()) {
    refuse(what + " is not true or false");
  }
  return value.get<bool>();
}

std::vector<std::string> texts_of(const json& value, const std::string& what) {
  if (!value.is_array() || value.empty()) {
    refuse(what + " is not a list of texts");
  }
  std::vector<std::string> texts;
  for (const json& item : value) {
    texts.push_back(text_of(item, what + " item"));
  }
  return texts;
}

void only_keys(const json& object, std::initializer_list<std::string_view> keys,
               const std::string& what) {
  if (!object.is_object()) {
    refuse(what + " is not an object");
  }
  for (const auto& [key, value] : object.items()) {
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
      std::string reason = what;
      reason += " has an unknown key \"" + key + "\"";
      refuse(std::move(reason));
    }
  }
}

// An option's value as wandrix-cli's set takes it.
std::string option_text(const json& value, const std::string& name) {
  if (value.is_boolean()) {
    return value.get<bool>() ? "1" : "0";
  }
  if (value.is_number()) {
    // A whole number as written; a real as the shortest text that reads back
    // as the same double. set refuses an exponent as on the command line.
    return value.dump();
  }
  refuse("option \"" + name + "\" is not a number or true/false");
}

std::vector<std::pair<std::string, std::string>> options_of(const json& object) {
  if (!object.is_object()) {
    refuse("\"options\" is not an object");
  }
  const auto names = option_names();
  for (const auto& [key, value] : object.items()) {
    if (std::find(names.begin(), names.end(), key) == names.end()) {
      refuse("\"options\" has an unknown option \"" + key + "\"");
    }
    if (key == "rn_seed") {
      refuse("the seed is \"seed\", not an option");
    }
  }
  // The dialog's order, whatever the file's: a start position is checked
  // against the landscape, not against an option applied after it.
  std::vector<std::pair<std::string, std::string>> options;
  for (const std::string_view name : names) {
    const auto it = object.find(std::string(name));
    if (it != object.end()) {
      options.emplace_back(name, option_text(*it, std::string(name)));
    }
  }
  return options;
}

int speed_of(const json& value) {
  if (value.is_string() && value.get_ref<const std::string&>() == "fastest") {
    return static_cast<int>(kWalkSpeeds.size()) - 1;
  }
  if (value.is_number_integer()) {
    const auto it = std::find(kWalkSpeeds.begin(), kWalkSpeeds.end() - 1, value.get<int>());
    if (it != kWalkSpeeds.end() - 1) {
      return static_cast<int>(it - kWalkSpeeds.begin());
    }
  }
  refuse("\"speed\" is not one of 1, 3, 10, 30, 100, 1000 or \"fastest\"");
}

std::vector<LessonCheck> checks_of(const json& value) {
  if (!value.is_array()) {
    refuse("\"checks\" is not a list");
  }
  std::vector<LessonCheck> checks;
  for (const json& item : value) {
    only_keys(item, {"actions", "quotes"}, "a check");
    checks.push_back({texts_of(member(item, "actions"), "\"actions\""),
                      texts_of(member(item, "quotes"), "\"quotes\"")});
  }
  return checks;
}

Lesson lesson_of(const json& root) {
  only_keys(root,
            {"format", "number", "title", "session", "seed", "chains", "show", "density", "options",
             "window", "text", "checks"},
            "the lesson");
  if (text_of(member(root, "format"), "\"format\"") != kLessonFormat) {
    refuse(std::string("\"format\" is not \"") + kLessonFormat + "\"");
  }
  Lesson lesson;
  lesson.number = static_cast<int>(integer_of(member(root, "number"), "\"number\"", 1, 999));
  lesson.title = text_of(member(root, "title"), "\"title\"");
  lesson.session = text_of(member(root, "session"), "\"session\"");
  // The session lies beside the lesson: a lesson file cannot make the
  // program read from elsewhere.
  const std::filesystem::path session = utf8_path(lesson.session);
  if (session != session.filename() || session == "." || session == "..") {
    refuse("\"session\" is not a file name in the lesson's folder");
  }
  lesson.seed = static_cast<std::int32_t>(integer_of(
      member(root, "seed"), "\"seed\"", robot_limits::kSeed.min, robot_limits::kSeed.max));
  if (root.contains("chains")) {
    lesson.chains = static_cast<int>(integer_of(root["chains"], "\"chains\"", 1, kMaxChains));
  }
  if (root.contains("show")) {
    lesson.shown_chain = static_cast<int>(integer_of(root["show"], "\"show\"", 0, lesson.chains));
  } else {
    lesson.shown_chain = 1;
  }
  if (root.contains("density")) {
    lesson.density = boolean_of(root["density"], "\"density\"");
  }
  if (root.contains("options")) {
    lesson.options = options_of(root["options"]);
  }
  if (root.contains("window")) {
    const json& window = root["window"];
    only_keys(window, {"speed", "diagnostics"}, "\"window\"");
    if (window.contains("speed")) {
      lesson.speed = speed_of(window["speed"]);
    }
    if (window.contains("diagnostics")) {
      lesson.diagnostics = boolean_of(window["diagnostics"], "\"diagnostics\"");
    }
  }
  lesson.text = texts_of(member(root, "text"), "\"text\"");
  if (root.contains("checks")) {
    lesson.checks = checks_of(root["checks"]);
  }
  return lesson;
}

std::optional<std::string> apply_to(Simulation& sim, const Lesson& lesson) {
  if (const auto error = open_chosen_session(sim, lesson.session_path(), false)) {
    std::string message = error->message();
    std::replace(message.begin(), message.end(), '\n', ' ');
    return lesson.session + ": " + message;
  }
  // What a session file does not hold starts from the program's defaults,
  // as in wandrix-cli, unless the lesson sets it: the walk, its numbers and
  // its picture are then the lesson's whatever was changed before.
  const SimulationState defaults{};
  const auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
  for (const auto& [name, value] : {std::pair{"nsteps", std::to_string(defaults.nsteps)},
                                    std::pair{"dot_radius", std::to_string(defaults.dot_radius)},
                                    std::pair{"show_trajectory", flag(defaults.show_trajectory)},
                                    std::pair{"allow_rotation", flag(defaults.allow_rotation)},
                                    std::pair{"reject_at_walls", flag(defaults.reject_at_walls)}}) {
    if (auto problem = set_option(sim, name, value)) {
      return problem;
    }
  }
  sim.set_chain_count(lesson.chains);
  sim.set_shown_chain(lesson.shown_chain);
  sim.density_view = lesson.density;
  for (const auto& [name, value] : lesson.options) {
    if (auto problem = set_option(sim, name, value)) {
      return problem;
    }
  }
  if (auto problem = set_option(sim, "rn_seed", std::to_string(lesson.seed))) {
    return problem;
  }
  // Save must not write over the lesson's own session.
  sim.session_file.clear();
  sim.clear_and_redraw();
  return std::nullopt;
}

bool is_lesson_file(const std::filesystem::path& path) {
  std::error_code ec;
  return path.extension() == ".json" && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::string Lesson::session_path() const {
  return utf8_string(utf8_path(folder) / utf8_path(session));
}

std::string Lesson::first_sentence() const {
  const std::string& first = text.front();
  for (std::size_t i = 0; i + 1 < first.size(); ++i) {
    if ((first[i] == '.' || first[i] == '!' || first[i] == '?') && first[i + 1] == ' ') {
      return first.substr(0, i + 1);
    }
  }
  return first;
}

LessonRead parse_lesson(std::string_view text, const std::string& name, const std::string& folder) {
  const std::string file = name + ".json";
  try {
    Lesson lesson = lesson_of(json::parse(text.begin(), text.end()));
    lesson.name = name;
    lesson.folder = folder;
    return lesson;
  } catch (const Refusal& refusal) {
    return file + ": " + refusal.reason;
  } catch (const json::exception& e) {
    // "[json.exception.parse_error.101] parse error at line 3, column 5: ..."
    std::string what = e.what();
    const std::size_t bracket = what.find("] ");
    return file + ": " + (bracket == std::string::npos ? what : what.substr(bracket + 2));
  }
}

LessonRead read_lesson_file(const std::string& path) {
  const std::filesystem::path file = utf8_path(path);
  const std::string name = utf8_string(file.stem());
  const std::string folder = file.parent_path().empty() ? "." : utf8_string(file.parent_path());
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec || !std::filesystem::is_regular_file(file, ec)) {
    return name + ".json: no such lesson file";
  }
  if (size > kMaxLessonBytes) {
    return name + ".json: too large for a lesson";
  }
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in) {
    return name + ".json: could not be read";
  }
  return parse_lesson(text.str(), name, folder);
}

std::vector<std::string> lesson_folders(const std::string& program_directory) {
  if (program_directory.empty()) {
    return {};
  }
  const std::filesystem::path program = utf8_path(program_directory);
  return {utf8_string(program / kLessonsFolder),
          utf8_string((program / ".." / "share" / "wandrix" / kLessonsFolder).lexically_normal())};
}

LessonList list_lessons(const std::vector<std::string>& folders) {
  LessonList list;
  for (const std::string& folder : folders) {
    std::error_code ec;
    std::vector<std::filesystem::path> files;
    for (std::filesystem::directory_iterator it(utf8_path(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
      if (is_lesson_file(it->path())) {
        files.push_back(it->path());
      }
    }
    if (files.empty()) {
      continue;
    }
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& file : files) {
      LessonRead read = read_lesson_file(utf8_string(file));
      if (auto* lesson = std::get_if<Lesson>(&read)) {
        list.lessons.push_back(std::move(*lesson));
      } else {
        list.problems.push_back(std::get<std::string>(read));
      }
    }
    std::stable_sort(list.lessons.begin(), list.lessons.end(),
                     [](const Lesson& a, const Lesson& b) { return a.number < b.number; });
    break;
  }
  return list;
}

LessonRead find_lesson(const std::string& name, const std::vector<std::string>& folders) {
  const std::filesystem::path path = utf8_path(name);
  if (path.has_parent_path() || path.extension() == ".json") {
    return read_lesson_file(name);
  }
  for (const std::string& folder : folders) {
    const std::filesystem::path file = utf8_path(folder) / utf8_path(name + ".json");
    if (is_lesson_file(file)) {
      return read_lesson_file(utf8_string(file));
    }
  }
  return "no lesson named '" + name + "'";
}

std::optional<std::string> apply_lesson(Simulation& sim, const Lesson& lesson) {
  // Tried first on a model of its own, so that a lesson that cannot be
  // applied leaves the user's session alone.
  Simulation trial;
  if (auto problem = apply_to(trial, lesson)) {
    return problem;
  }
  return apply_to(sim, lesson);
}

}  // namespace wandrix
