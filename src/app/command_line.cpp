#include "app/command_line.h"

#include <string_view>

namespace wandrix {
namespace {

constexpr const char* kTryHelp = "Try 'wandrix --help' for more information.\n";

CommandLine failure(const std::string& problem) {
  CommandLine line;
  line.action = CommandLineAction::error;
  line.message = "wandrix: " + problem + "\n" + kTryHelp;
  return line;
}

constexpr char kLessonOption[] = "--lesson";
constexpr char kLessonPrefix[] = "--lesson=";

// A lone "-" is a file name, as for most programs.
bool is_option(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

// Whether the option appears before the "--" that ends the options.
bool option_given(const std::vector<std::string>& arguments, const char* name, const char* alias) {
  for (const std::string& word : arguments) {
    if (word == "--") {
      return false;
    }
    if (word == name || word == alias) {
      return true;
    }
  }
  return false;
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& arguments) {
  if (option_given(arguments, "--help", "-h")) {
    return {.action = CommandLineAction::help};
  }
  if (option_given(arguments, "--version", "--version")) {
    return {.action = CommandLineAction::version};
  }

  CommandLine result;
  bool options_ended = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (!options_ended && word == "--") {
      options_ended = true;
    } else if (!options_ended && (word == kLessonOption || word.starts_with(kLessonPrefix))) {
      std::string name;
      if (word != kLessonOption) {
        name = word.substr(std::string_view(kLessonPrefix).size());
      } else if (i + 1 < arguments.size()) {
        name = arguments[++i];
      } else {
        return failure("option '--lesson' needs the name of a lesson");
      }
      if (name.empty()) {
        return failure("the lesson's name is empty");
      }
      if (!result.lesson.empty()) {
        return failure("only one lesson can be opened, but '" + result.lesson + "' and '" + name +
                       "' were given");
      }
      result.lesson = name;
    } else if (!options_ended && is_option(word)) {
      return failure("unrecognised option '" + word + "'");
    } else if (word.empty()) {
      return failure("the file name is empty");
    } else if (!result.file.empty()) {
      return failure("only one session file can be opened, but '" + result.file + "' and '" + word +
                     "' were given");
    } else {
      result.file = word;
    }
  }
  // A lesson opens a session of its own: one of the two would be lost.
  if (!result.file.empty() && !result.lesson.empty()) {
    return failure("a session file and a lesson cannot be opened together, but '" + result.file +
                   "' and the lesson '" + result.lesson + "' were given");
  }
  return result;
}

std::string command_line_usage() {
  return "Usage: wandrix [OPTION]... [FILE]\n"
         "  or:  wandrix [OPTION]... --lesson NAME\n"
         "Watch Markov chain Monte Carlo walk over a landscape of hills.\n"
         "FILE, a Wandrix session, is opened at start as File > Open... would.\n"
         "\n"
         "      --lesson NAME  open the lesson NAME at start, as File > Lessons... would\n"
         "                     (NAME is a lesson's file name without .json, or the path\n"
         "                     of a lesson file); the lessons are in the folder\n"
         "                     lessons beside the program or in share/wandrix/lessons\n"
         "  -h, --help         show this text and exit\n"
         "      --version      show the version and exit\n"
         "      --             treat the next argument as a file name\n"
         "\n"
         "Qt's standard options (-platform NAME, -style NAME, ...) are accepted.\n"
         "Without a window: wandrix-cli --help. Manual: man wandrix.\n";
}

std::string command_line_version() { return std::string("wandrix ") + WANDRIX_VERSION + "\n"; }

}  // namespace wandrix
