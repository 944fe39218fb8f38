#include "files/help_launcher.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "files/utf8_path.h"
#include "model/simulation.h"

namespace wandrix {

namespace {

constexpr int kLastErrorCode = 32;
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;

bool unreserved(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~' || c == '/';
}

std::string joined(const std::string& folder, const std::string& file) {
  return utf8_string((utf8_path(folder) / utf8_path(file)).lexically_normal());
}

// Expands the field codes of one argument; false when it is to be dropped.
bool expand_field_codes(const std::string& arg, const std::string& path, const std::string& url,
                        std::string& out, bool& placed) {
  if (arg == "%f" || arg == "%F" || arg == "%u" || arg == "%U") {
    out = (arg == "%f" || arg == "%F") ? path : url;
    placed = true;
    return true;
  }
  if (arg.size() == 2 && arg[0] == '%' && arg[1] != '%') {
    return false;  // %i, %c, %k and the deprecated codes stand alone
  }
  out.clear();
  for (std::size_t i = 0; i < arg.size(); ++i) {
    if (arg[i] == '%' && i + 1 < arg.size()) {
      const char code = arg[++i];
      if (code == '%') {
        out += '%';
      } else if (code == 'u' || code == 'U') {
        out += url;
        placed = true;
      } else if (code == 'f' || code == 'F') {
        out += path;
        placed = true;
      }
      continue;
    }
    out += arg[i];
  }
  return true;
}

// Whether a (still quoted or already split) argument holds a field code
// other than the escaped percent sign.
bool has_field_code(std::string_view arg) {
  for (std::size_t i = 0; i + 1 < arg.size(); ++i) {
    if (arg[i] == '%') {
      if (arg[i + 1] != '%') {
        return true;
      }
      ++i;
    }
  }
  return false;
}

bool is_shell(const std::string& program) {
  static const char* const kShells[] = {"sh",   "bash", "dash", "zsh", "ksh",
                                        "mksh", "yash", "fish", "csh", "tcsh"};
  const std::string name = std::filesystem::path(program).filename().string();
  return std::find(std::begin(kShells), std::end(kShells), name) != std::end(kShells);
}

// Whether the command gives a shell a field code inside the command string
// of its -c option, where the page's path would be read as code.
bool field_code_in_shell_command(const std::vector<std::string>& args) {
  std::size_t i = 0;
  if (std::filesystem::path(args[0]).filename() == "env") {
    for (i = 1; i < args.size() && (args[i].find('=') != std::string::npos || args[i][0] == '-');
         ++i) {
    }
  }
  if (i >= args.size() || !is_shell(args[i])) {
    return false;
  }
  bool command_next = false;
  for (++i; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
      command_next = command_next || arg.find('c') != std::string::npos;
    } else if (command_next) {
      return has_field_code(arg);
    }
  }
  return false;
}

}  // namespace

std::string help_error_text(int code) {
  const char* meaning = nullptr;
  switch (code) {
    case kFileNotFound:
      meaning = "file not found";
      break;
    case kPathNotFound:
      meaning = "path not found";
      break;
    case 11:
      meaning = "bad format";
      break;
    case 31:
      meaning = "no association found";
      break;
    default:
      break;
  }
  std::string text = "Error code: " + std::to_string(code);
  if (meaning != nullptr) {
    text += std::string(" (") + meaning + ")";
  }
  return text;
}

namespace {

// The folder as the platform writes it, without a trailing separator unless
// it is a root ("/", "C:\\").
std::string normal_folder(const std::filesystem::path& folder) {
  std::filesystem::path normal = folder.lexically_normal();
  while (!normal.relative_path().empty() && !normal.has_filename()) {
    normal = normal.parent_path();
  }
  return utf8_string(normal);
}

}  // namespace

std::vector<std::string> help_folders(const std::string& working_directory,
                                      const std::string& program_directory) {
  std::vector<std::string> folders{normal_folder(utf8_path(working_directory))};
  if (!program_directory.empty()) {
    const std::filesystem::path program = utf8_path(program_directory);
    for (const std::filesystem::path& folder : {program, program / ".." / "share" / "wandrix"}) {
      std::string normal = normal_folder(folder);
      if (std::find(folders.begin(), folders.end(), normal) == folders.end()) {
        folders.push_back(normal);
      }
    }
  }
  return folders;
}

std::string file_url(std::string_view path) {
  std::string url = "file://";
  // A Windows path (C:\folder\page.html) becomes file:///C:/folder/page.html.
  const bool drive = path.size() >= 2 && path[1] == ':' &&
                     ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (drive) {
    url += '/';
    url += path.substr(0, 2);
    path.remove_prefix(2);
  }
  // Where a backslash separates folders (Windows), it is a slash in the URL.
  constexpr bool backslash_separates = std::filesystem::path::preferred_separator == '\\';
  for (const char ch : path) {
    const auto c = static_cast<unsigned char>(ch);
    if ((drive || backslash_separates) && ch == '\\') {
      url += '/';
    } else if (unreserved(c)) {
      url += ch;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      url += escaped;
    }
  }
  return url;
}

std::optional<std::vector<std::string>> split_exec_line(std::string_view exec) {
  std::vector<std::string> args;
  std::string current;
  bool in_arg = false;
  bool quoted = false;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '%' && i + 1 < exec.size() && exec[i + 1] != '%') {
        return std::nullopt;  // a field code inside quotes: forbidden
      } else if (c == '%') {
        current += exec.substr(i, 2);
        ++i;
      } else if (c == '\\' && i + 1 < exec.size()) {
        current += exec[++i];
      } else {
        current += c;
      }
    } else if (c == ' ' || c == '\t') {
      if (in_arg) {
        args.push_back(current);
        current.clear();
        in_arg = false;
      }
    } else {
      in_arg = true;
      if (c == '"') {
        quoted = true;
      } else {
        current += c;
      }
    }
  }
  if (quoted) {
    return std::nullopt;
  }
  if (in_arg) {
    args.push_back(current);
  }
  if (args.empty() || field_code_in_shell_command(args)) {
    return std::nullopt;
  }
  return args;
}

std::vector<std::string> help_command(const ProgramLookup& lookup, const std::string& path) {
  const std::string url = file_url(path);
  if (lookup.command.empty()) {
    return {lookup.program, url};
  }
  std::vector<std::string> argv;
  bool placed = false;
  for (const std::string& arg : lookup.command) {
    std::string expanded;
    if (expand_field_codes(arg, path, url, expanded, placed)) {
      argv.push_back(expanded);
    }
  }
  if (!placed) {
    argv.push_back(url);
  }
  return argv;
}

void open_help(Simulation& sim) {
  Host& host = sim.host();
  const std::vector<std::string> folders =
      help_folders(host.working_directory(), host.program_directory());
  std::optional<ProgramLookup> first_failure;
  for (const std::string& folder : folders) {
    ProgramLookup lookup = host.find_associated_program(kHelpFileName, folder);
    if (lookup.code > kLastErrorCode) {
      host.start_detached(help_command(lookup, joined(folder, kHelpFileName)));
      return;
    }
    if (!first_failure) {
      first_failure = lookup;
    }
    // Only a missing page sends us on to the next folder; a missing viewer
    // would be missing there too.
    if (lookup.code != kFileNotFound && lookup.code != kPathNotFound) {
      host.message_box(help_error_text(lookup.code), kHelpErrorCaption);
      return;
    }
  }
  host.message_box(help_error_text(first_failure->code), kHelpErrorCaption);
}

}  // namespace wandrix
