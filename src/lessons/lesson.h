// Lessons: ready-made sessions that each teach one idea. A lesson is a small
// JSON file in a "lessons" folder beside the help page, next to the session
// file it opens:
//
//   {
//     "format": "wandrix-lesson 1",
//     "number": 3,                    its place in the list, from 1
//     "title": "Two islands",
//     "session": "two-islands.dat",   a session file in the same folder
//     "seed": 7,                      rn_seed once the session is open
//     "chains": 4,                    optional, 1 to 4 (default 1)
//     "show": 1,                      optional, 0 (all) to chains (default 1)
//     "density": false,               optional, the density view
//     "options": {"nsteps": 20000, "step_mean": 2.0, "reject_at_walls": true},
//                                     optional, wandrix-cli's "set" names
//     "window": {"speed": 30, "diagnostics": true},
//                                     optional, what only a window has: the
//                                     animation's speed in steps/s (one of the
//                                     speed list's, or "fastest") and whether
//                                     the diagnostics window opens
//     "text": ["First paragraph.", "Second paragraph."],
//     "checks": [{"actions": ["start", "rates"], "quotes": ["1: 23.4%"]}]
//   }
//
// A session file holds only the landscape and the walk's numbers, so what a
// lesson needs beyond them lives here and session files stay as they are.
// The checks are for the tests: after the lesson is applied, wandrix-cli's
// actions print every quoted text, and the lesson's text quotes each of them,
// so the numbers a lesson tells are the program's own for its seed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace wandrix {

class Simulation;

inline constexpr char kLessonFormat[] = "wandrix-lesson 1";
inline constexpr char kLessonsFolder[] = "lessons";
inline constexpr char kLessonErrorCaption[] = "Could not open lesson";

struct LessonCheck {
  std::vector<std::string> actions;  // wandrix-cli's words
  std::vector<std::string> quotes;   // each printed by them and quoted in the text
};

struct Lesson {
  std::string name;    // the file's name without ".json": what wandrix-cli lesson takes
  std::string folder;  // where the file is; the session is read from there
  int number = 0;
  std::string title;
  std::string session;
  std::int32_t seed = 0;
  int chains = 1;
  int shown_chain = 1;
  bool density = false;
  // Setting name and value as typed, in option_names() order.
  std::vector<std::pair<std::string, std::string>> options;
  std::optional<int> speed;  // an index into kWalkSpeeds
  bool diagnostics = false;
  std::vector<std::string> text;  // paragraphs
  std::vector<LessonCheck> checks;

  [[nodiscard]] std::string session_path() const;
  // The first sentence of the text, for a list of lessons.
  [[nodiscard]] std::string first_sentence() const;
};

// A lesson, or why it could not be read ("two-islands.json: ...").
using LessonRead = std::variant<Lesson, std::string>;

// Reads a lesson from its JSON text. Everything is checked that can be
// without the session: unknown keys, types, ranges, a session named by a
// plain file name. name and folder are the file's.
LessonRead parse_lesson(std::string_view json, const std::string& name, const std::string& folder);
// Reads the lesson file at path.
LessonRead read_lesson_file(const std::string& path);

// The folders lessons are looked for in, in order: beside the executable
// and beside the installed help page (../share/wandrix).
std::vector<std::string> lesson_folders(const std::string& program_directory);

struct LessonList {
  std::vector<Lesson> lessons;        // by number
  std::vector<std::string> problems;  // the files that could not be read
};
// The lessons of the first folder that has any lesson file.
LessonList list_lessons(const std::vector<std::string>& folders);

// The lesson a user names: a path when it has a folder or ends in ".json",
// else a lesson of that name in the folders.
LessonRead find_lesson(const std::string& name, const std::vector<std::string>& folders);

// Opens the lesson's session, as Open does, then applies its chains, view,
// options and seed and clears the walks, so that the walk that follows is
// the lesson's. The session is not the user's own file: Save asks for a
// name. All or nothing: on a problem the model is as it was.
std::optional<std::string> apply_lesson(Simulation& sim, const Lesson& lesson);

}  // namespace wandrix
