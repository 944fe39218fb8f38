// The help launcher: shows the help page Wandrix.html in the program the
// desktop associates with HTML files, started with the page's file:// address.
// The page is looked for in the working directory first and then where the
// program is installed: beside the executable and in ../share/wandrix.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/host.h"

namespace wandrix {

class Simulation;

inline constexpr char kHelpFileName[] = "Wandrix.html";
inline constexpr char kHelpErrorCaption[] = "Could not open help file";

// The lookup's error message: "Error code: 2 (file not found)" and so on.
std::string help_error_text(int code);

// The folders the help page is looked for in, in order, without duplicates.
std::vector<std::string> help_folders(const std::string& working_directory,
                                      const std::string& program_directory);

// The file:// address of a local absolute path, bytes outside the URL's
// unreserved set percent-encoded, so blanks and '#' survive.
std::string file_url(std::string_view path);

// Splits a desktop entry's Exec value into arguments: blanks separate them,
// double quotes group them, and inside quotes a backslash escapes " ` $ \.
// Nothing for an unterminated quote, an empty command, or a command that
// would hand the page's path to a shell as code: a field code inside quotes
// (which the desktop-entry rules forbid) or in the command string of a
// shell's -c option.
std::optional<std::vector<std::string>> split_exec_line(std::string_view exec);

// The argument vector that shows the page at path: the program's command with
// %u/%U replaced by the page's address and %f/%F by its path, other field codes
// dropped and %% made a percent sign; the address is appended when the command
// names no place for it.
std::vector<std::string> help_command(const ProgramLookup& lookup, const std::string& path);

// "&HTML help file": starts the viewer without waiting, or says why not.
void open_help(Simulation& sim);

}  // namespace wandrix
