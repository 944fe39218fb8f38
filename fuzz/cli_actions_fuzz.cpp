// Fuzzes wandrix-cli's action parser and the model behind it: the input is a
// list of words separated by NUL bytes or white space, run as one session.
//
// The fuzzer must stay fast and must not fill the disk, so before running:
// * every word after an action that takes a file becomes one of a few fixed
//   names inside a private temporary folder (standard output is collected in
//   memory), so nothing is written elsewhere;
// * the number of steps per walk and the landscape size are capped, so one
//   input cannot ask for minutes of walking or gigabytes of pixels.
// Everything else, including nonsense, reaches run_actions unchanged.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/actions.h"
#include "model/simulation.h"

namespace {

constexpr std::size_t kMaxWords = 64;
constexpr std::size_t kMaxWordLength = 64;
constexpr std::int64_t kMaxSteps = 200;
constexpr std::int64_t kMaxSide = 1000;

// Actions whose one argument names a file.
constexpr std::array<std::string_view, 7> kFileActions = {
    "samples", "open", "save", "landscape", "picture", "diagnostics", "marginals"};

const std::string& scratch_folder() {
  static const std::string folder = [] {
    char name[] = "/tmp/wandrix-cli-fuzz-XXXXXX";
    const char* made = mkdtemp(name);
    if (made == nullptr) {
      std::abort();  // the fuzzer cannot run safely without its own folder
    }
    return std::string(made);
  }();
  return folder;
}

std::vector<std::string> split_words(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> words;
  std::string word;
  auto finish = [&] {
    if (!word.empty() && words.size() < kMaxWords) {
      words.push_back(word);
    }
    word.clear();
  };
  for (std::size_t i = 0; i < size && words.size() < kMaxWords; ++i) {
    const char c = static_cast<char>(data[i]);
    if (c == '\0' || c == ' ' || c == '\n' || c == '\t' || c == '\r') {
      finish();
    } else if (word.size() < kMaxWordLength) {
      word += c;
    }
  }
  finish();
  return words;
}

// A file name inside the scratch folder that keeps a known extension, so
// that the picture formats are still reached. "-" (standard output) stays for
// writers; a reader never gets it, so nothing waits for standard input.
std::string scratch_name(const std::string& action, const std::string& word) {
  if (word == "-" && action != "open") {
    return word;
  }
  for (const char* ext : {".emf", ".svg", ".png", ".dat", ".txt", ".csv"}) {
    const std::string_view e(ext);
    if (word.size() >= e.size() && word.compare(word.size() - e.size(), e.size(), e) == 0) {
      return scratch_folder() + "/file" + ext;
    }
  }
  return scratch_folder() + "/file";
}

void cap_number(std::string& word, std::int64_t cap) {
  std::int64_t value = 0;
  const auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec == std::errc() && ptr == word.data() + word.size() && value > cap) {
    word = std::to_string(cap);
  }
}

// Rewrites the word after every file action, whether or not the parser will
// read it as an argument: a needless rewrite only changes an input that
// fails anyway, a missed one could write anywhere.
void make_safe(std::vector<std::string>& words) {
  for (std::size_t i = 0; i + 1 < words.size(); ++i) {
    const std::string& w = words[i];
    if (std::find(kFileActions.begin(), kFileActions.end(), w) != kFileActions.end()) {
      words[i + 1] = scratch_name(w, words[i + 1]);
    } else if (w == "nsteps") {
      cap_number(words[i + 1], kMaxSteps);
    } else if (w == "resize") {
      cap_number(words[i + 1], kMaxSide);
      if (i + 2 < words.size()) {
        cap_number(words[i + 2], kMaxSide);
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> words = split_words(data, size);
  make_safe(words);
  wandrix::Simulation sim;
  wandrix::cli::prepare_session(sim);
  sim.rn_seed = 1;  // the clock's seed would make findings irreproducible
  sim.clear();
  std::ostringstream out;
  std::ostringstream err;
  const int status = wandrix::cli::run_actions(words, sim, out, err);
  if (status != 0 && status != wandrix::cli::kUsageError) {
    std::abort();
  }
  // A failure names the action on one line; success prints no error.
  const std::string problem = err.str();
  if ((status == 0) != problem.empty()) {
    std::abort();
  }
  for (int k = 0; k < sim.nchains; ++k) {
    const wandrix::Chain& chain = sim.chains[static_cast<std::size_t>(k)];
    if (chain.xs.size() != chain.ys.size()) {
      std::abort();
    }
  }
  return 0;
}
