// The command line of the desktop program:
// `wandrix [OPTION]... [FILE]` or `wandrix [OPTION]... --lesson NAME`.
// Parsing is kept apart from Qt so that the rules are tested without a
// display. The desktop program hands over the arguments that remain after
// Qt has taken its own (-platform, -style, ...).
#pragma once

#include <string>
#include <vector>

namespace wandrix {

enum class CommandLineAction {
  run,      // start the window, opening `file` when it is not empty
  help,     // print command_line_usage() to standard output, exit 0
  version,  // print command_line_version() to standard output, exit 0
  error,    // print `message` to standard error, exit kCommandLineError
};

struct CommandLine {
  CommandLineAction action = CommandLineAction::run;
  std::string file;     // the session to open at start; empty for none
  std::string lesson;   // the lesson to open at start (--lesson); empty for none
  std::string message;  // for an error: what went wrong and where to look
};

// The exit status for a command line the program cannot follow.
inline constexpr int kCommandLineError = 2;

// `arguments` excludes the program's own name. --help and --version win over
// everything else on the line, as a user asking for help should get it even
// after a typing mistake; otherwise the first problem found is reported.
CommandLine parse_command_line(const std::vector<std::string>& arguments);

std::string command_line_usage();
std::string command_line_version();

}  // namespace wandrix
