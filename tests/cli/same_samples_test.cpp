// The same seed gives the same samples whatever code paths the C library
// chooses for the processor: wandrix-cli walks 1,000,000 steps in a child
// process, once as it is and once with glibc told to act as on a processor
// without FMA and AVX2, and the two sample files must hash alike. (On a
// processor without those features both runs take the same path and the test
// shows nothing; the machines that build Wandrix have them.) The program is
// optimised as a whole, this test program is not: the same actions run here
// must give the same hash too.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <streambuf>
#include <string>

#include "cli/actions.h"

namespace {

constexpr std::uint64_t kFnvOffset = 14695981039346656037ULL;
constexpr std::uint64_t kFnvPrime = 1099511628211ULL;

// Hashes what is written to it instead of keeping it.
class HashingBuffer : public std::streambuf {
 public:
  std::uint64_t hash = kFnvOffset;
  std::size_t bytes = 0;

 protected:
  int_type overflow(int_type c) override {
    if (c != traits_type::eof()) {
      add(static_cast<char>(c));
    }
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    for (std::streamsize i = 0; i < n; ++i) {
      add(s[i]);
    }
    return n;
  }

 private:
  void add(char c) {
    hash = (hash ^ static_cast<unsigned char>(c)) * kFnvPrime;
    ++bytes;
  }
};

struct ChildWalk {
  std::uint64_t hash = kFnvOffset;  // FNV-1a
  std::size_t bytes = 0;
  int status = -1;
};

ChildWalk run_cli(const std::string& environment, const std::string& actions) {
  const char* cli = std::getenv("WANDRIX_CLI");
  ChildWalk run;
  if (cli == nullptr) {
    return run;
  }
  const std::string command = environment + " '" + cli + "' " + actions;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return run;
  }
  char buffer[1 << 16];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    for (std::size_t i = 0; i < n; ++i) {
      run.hash = (run.hash ^ static_cast<unsigned char>(buffer[i])) * kFnvPrime;
    }
    run.bytes += n;
  }
  run.status = pclose(pipe);
  return run;
}

TEST(SameSamples, WithAndWithoutFusedMultiplyAdd) {
  ASSERT_NE(std::getenv("WANDRIX_CLI"), nullptr);
  const std::string walks[] = {
      // Two hills, Gamma shape 8.2 (the large-shape method: log).
      "set rn_seed 4711 hill one 100 100 30 30 0 1 hill two 300 280 40 40 0.5 2 "
      "set allow_rotation 1 set step_stddev 7 set nsteps 1000000 start samples -",
      // Four heated chains over three hills, shape 0.25 (the small-shape
      // method: pow and log), heights recorded.
      "chains 4 set rn_seed 12345 hill a 100 120 30 25 0.3 1 hill b 280 260 40 40 -0.6 2 "
      "hill c 200 60 15 50 0.9 0.5 set allow_rotation 1 set step_stddev 40 "
      "set nsteps 1000000 start samples -",
  };
  for (const std::string& walk : walks) {
    const ChildWalk native = run_cli("env -u GLIBC_TUNABLES", walk);
    const ChildWalk plain = run_cli("env GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA", walk);
    ASSERT_EQ(native.status, 0) << walk;
    ASSERT_EQ(plain.status, 0) << walk;
    EXPECT_GT(native.bytes, 20000000U) << walk;
    EXPECT_EQ(native.bytes, plain.bytes) << walk;
    EXPECT_EQ(native.hash, plain.hash) << walk;

    std::vector<std::string> words;
    std::istringstream split(walk);
    for (std::string word; split >> word;) {
      words.push_back(word);
    }
    HashingBuffer buffer;
    std::ostream out(&buffer);
    std::ostringstream err;
    wandrix::Simulation sim;
    wandrix::cli::prepare_session(sim);
    ASSERT_EQ(wandrix::cli::run_actions(words, sim, out, err), 0) << err.str();
    EXPECT_EQ(buffer.bytes, native.bytes) << walk;
    EXPECT_EQ(buffer.hash, native.hash) << walk;
  }
}

}  // namespace
