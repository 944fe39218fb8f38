#include "app/command_line.h"

namespace wandrix {
namespace {

constexpr const char* kTryHelp = "Try 'wandrix --help' for more information.\n";

CommandLine failure(const std::string& problem) {
  return {CommandLineAction::error, {}, "wandrix: " + problem + "\n" + kTryHelp};
}

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
    return {CommandLineAction::help, {}, {}};
  }
  if (option_given(arguments, "--version", "--version")) {
    return {CommandLineAction::version, {}, {}};
  }

  CommandLine result;
  bool options_ended = false;
  for (const std::string& word : arguments) {
    if (!options_ended && word == "--") {
      options_ended = true;
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
  return result;
}

std::string command_line_usage() {
  return "Usage: wandrix [OPTION]... [FILE]\n"
         "Watch Markov chain Monte Carlo walk over a landscape of hills.\n"
         "FILE, a Wandrix session, is opened at start as File > Open... would.\n"
         "\n"
         "  -h, --help     show this text and exit\n"
         "      --version  show the version and exit\n"
         "      --         treat the next argument as a file name\n"
         "\n"
         "Qt's standard options (-platform NAME, -style NAME, ...) are accepted.\n"
         "Without a window: wandrix-cli --help. Manual: man wandrix.\n";
}

std::string command_line_version() { return std::string("wandrix ") + WANDRIX_VERSION + "\n"; }

}  // namespace wandrix
