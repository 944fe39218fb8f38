#include <iostream>
#include <string>
#include <vector>

#include "cli/actions.h"

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) {
    std::cerr << wandrix::cli::usage_text();
    return wandrix::cli::kUsageError;
  }
  if (words.size() == 1 && words[0] == "--help") {
    std::cout << wandrix::cli::usage_text();
    return 0;
  }
  if (words.size() == 1 && words[0] == "--version") {
    std::cout << "wandrix-cli " << WANDRIX_VERSION << "\n";
    return 0;
  }
  std::ios::sync_with_stdio(false);
  wandrix::Simulation sim;
  wandrix::cli::prepare_session(sim);
  return wandrix::cli::run_actions(words, sim, std::cout, std::cerr);
}
