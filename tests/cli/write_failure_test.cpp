// wandrix-cli's files survive a failed write like the window's: on a full
// disk or in a read-only folder the previous file stays whole, the run stops
// with status 2 and the error names the file and the reason.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/actions.h"
#include "files/failing_folder.h"

namespace wandrix::cli {
namespace {

using wandrix::testing::Failure;

enum Outcome { kSound = 0, kNoPrevious = 10, kNoFailure, kWrongText, kDamaged, kWentOn };

int run(const std::vector<std::string>& words, std::string& err) {
  Simulation sim;
  prepare_session(sim);
  std::ostringstream out;
  std::ostringstream error;
  const int status = run_actions(words, sim, out, error);
  err = error.str();
  return status;
}

// The action writing the file and the file's name, whose extension picks
// the picture format.
struct Writer {
  std::string action;
  std::string name;
};

int check(const std::string& folder, const Writer& writer, Failure failure) {
  const std::string& action = writer.action;
  const std::string path = folder + "/" + writer.name;
  std::string err;
  const std::vector<std::string> small = {"set", "nsteps", "5", "start", action, path};
  if (run(small, err) != 0) {
    return kNoPrevious;
  }
  const auto before = wandrix::testing::file_content(path);
  if (!before || !wandrix::testing::make_folder_fail(folder, failure)) {
    return kNoPrevious;
  }
  const std::vector<std::string> large = {"chains", "4",     "set",  "nsteps", "5000",    "hill",
                                          "h",      "200",   "200",  "40",     "40",      "0",
                                          "1",      "start", action, path,     "samples", "-"};
  if (run(large, err) != kUsageError) {
    return kNoFailure;
  }
  const char* reason =
      failure == Failure::disk_full ? "No space left on device" : "Read-only file system";
  const std::string expected =
      "wandrix-cli: " + action + ": " + path + " could not be written: " + reason + "\n";
  if (err != expected) {
    std::fprintf(stderr, "got \"%s\", expected \"%s\"\n", err.c_str(), expected.c_str());
    return kWrongText;
  }
  return wandrix::testing::file_content(path) == before ? kSound : kDamaged;
}

TEST(CliWriteFailure, EveryWrittenFileKeepsItsPreviousVersion) {
  for (const Failure failure : {Failure::disk_full, Failure::read_only}) {
    for (const Writer& writer : std::vector<Writer>{{"samples", "s.csv"},
                                                    {"save", "s.dat"},
                                                    {"landscape", "l.txt"},
                                                    {"picture", "p.emf"},
                                                    {"picture", "p.svg"},
                                                    {"picture", "p.png"}}) {
      const auto result = wandrix::testing::with_failing_folder(
          [&](const std::string& folder) { return check(folder, writer, failure); });
      if (!result) {
        GTEST_SKIP() << "this system allows no private tmpfs mount";
      }
      EXPECT_EQ(*result, kSound) << writer.name
                                 << (failure == Failure::disk_full ? " full" : " ro");
    }
  }
}

}  // namespace
}  // namespace wandrix::cli
