#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif
#include <unistd.h>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include <iostream>
#include <string>
#include <vector>

#include "cli/actions.h"
#include "files/atomic_file.h"
#include "lessons/lesson.h"
#include "platform/program_folder.h"

namespace {

// Help and version text, checked once flushed: a full disk shows only then.
int print(const std::string& text) {
  std::cout << text << std::flush;
  if (!std::cout) {
    std::cerr << "wandrix-cli: standard output could not be written\n";
    return wandrix::cli::kUsageError;
  }
  return 0;
}

#ifdef __EMSCRIPTEN__
// Under node every standard stream looks like a terminal to the C library;
// node itself knows.
// clang-format off
EM_JS(int, node_stderr_is_terminal, (), { return process.stderr.isTTY ? 1 : 0; });
// clang-format on
bool stderr_is_terminal() { return node_stderr_is_terminal() != 0; }
#else
bool stderr_is_terminal() { return isatty(STDERR_FILENO) == 1; }
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Samples, pictures and summaries have the same bytes as everywhere else:
  // no line feed becomes CR LF on the way out.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) {
    std::cerr << wandrix::cli::usage_text();
    return wandrix::cli::kUsageError;
  }
  if (words.size() == 1 && words[0] == "--help") {
    return print(wandrix::cli::usage_text());
  }
  if (words.size() == 1 && words[0] == "--version") {
    return print(std::string("wandrix-cli ") + WANDRIX_VERSION + "\n");
  }
  // Stopped in the middle of a write, the program leaves no temporary file.
  wandrix::remove_temporaries_on_signals();
  std::ios::sync_with_stdio(false);
  wandrix::Simulation sim;
  wandrix::cli::prepare_session(sim);
  // Progress is for a person watching: never into a file or a pipe.
  return wandrix::cli::run_actions(
      words, sim, std::cout, std::cerr,
      stderr_is_terminal() ? std::optional(wandrix::cli::kProgressAfter) : std::nullopt,
      wandrix::lesson_folders(wandrix::program_folder()));
}
