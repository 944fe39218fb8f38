// wandrix-cli as a hostile user runs it: pictures too large to make, too
// little memory, a full standard output and signals in the middle of a
// write. The program itself runs, in a child process, as a user would start it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string read_file(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

int line_count(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

struct Outcome {
  int status = -1;
  std::string err;
};

struct CliHostile : ::testing::Test {
  fs::path folder;
  std::string cli = std::getenv("WANDRIX_CLI") != nullptr ? std::getenv("WANDRIX_CLI") : "";

  void SetUp() override {
    ASSERT_FALSE(cli.empty()) << "WANDRIX_CLI names the program";
    std::string pattern = fs::temp_directory_path() / "wandrix-cli-hostile-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override { fs::remove_all(folder); }

  // Runs the program in the folder through the shell: limits first (such as
  // "ulimit -v 200000"), standard output to stdout_to.
  Outcome run(const std::string& limits, const std::string& args,
              const std::string& stdout_to = "out.txt") {
    const std::string command = "cd '" + folder.string() + "' && (" + limits + "\n exec '" + cli +
                                "' " + args + " >" + stdout_to + " 2>err.txt)";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
            read_file(folder / "err.txt")};
  }

  // Whether the program starts at all under the limits: a sanitizer build
  // reserves more address space than "ulimit -v" leaves it.
  bool starts_under(const std::string& limits) { return run(limits, "--version").status == 0; }

  // The files the program left, besides its output and error captures.
  std::vector<std::string> left_behind() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      const std::string name = entry.path().filename();
      if (name != "out.txt" && name != "err.txt" && name != "huge.dat") {
        names.push_back(name);
      }
    }
    return names;
  }
};

// A raster picture has a sane size bound, and running out of memory in any
// action is one line and status 2, not a crash; the vector forms need no bound.
TEST_F(CliHostile, HugeRasterPicturesAreRefusedWithTheirSize) {
  std::ofstream(folder / "huge.dat")
      << "WANDRIX 1.0\n1\n1000000000  1000000000\n150  150\n20.00000\n20.00000\n0\n";
  const std::string refused = "picture: x.png could not be written: a picture of ";
  for (const auto& [limits, args, told] :
       {std::tuple{"", "resize 100000 100000", refused + "100000 by 100000 pixels is too large"},
        std::tuple{"", "open huge.dat", refused + "1000000000 by 1000000000 pixels is too large"},
        std::tuple{"", "resize 40000 10", refused + "40000 by 10 pixels is too large"},
        std::tuple{"", "resize 8193 8193", refused + "8193 by 8193 pixels is too large"},
        std::tuple{"ulimit -v 200000", "resize 8000 8000",
                   std::string("picture: out of memory")}}) {
    if (*limits != '\0' && !starts_under(limits)) {
      continue;
    }
    const Outcome r = run(limits, std::string(args) + " picture x.png");
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(line_count(r.err), 1) << r.err;
    EXPECT_THAT(r.err, StartsWith("wandrix-cli: " + told)) << r.err;
    if (*limits == '\0') {
      EXPECT_THAT(r.err, HasSubstr("; save it as SVG or EMF instead"));
    }
    EXPECT_TRUE(left_behind().empty()) << args;
  }
  EXPECT_EQ(run("", "open huge.dat picture x.svg picture x.emf").status, 0);
  EXPECT_THAT(read_file(folder / "x.svg"), HasSubstr("width=\"1000000000\""));
}

// A walk that runs out of memory keeps what it recorded: the later actions
// still run, the problem is told once, and the status says it.
TEST_F(CliHostile, OutOfMemoryInAWalkIsToldAndTheSamplesAreKept) {
  if (!starts_under("ulimit -v 150000")) {
    GTEST_SKIP() << "the program does not start with 150 MB of address space";
  }
  std::string walks = "chains 4 set allow_rotation 1 set nsteps 1000000 start";
  for (int i = 0; i < 4; ++i) {
    walks += " continue";
  }
  const Outcome r = run("ulimit -v 150000", walks + " samples oom.csv summary");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(line_count(r.err), 1) << r.err;
  EXPECT_THAT(r.err, StartsWith("wandrix-cli: "));
  EXPECT_THAT(r.err, HasSubstr("there is not enough memory for more samples"));
  const std::string csv = read_file(folder / "oom.csv");
  EXPECT_THAT(csv, StartsWith("chain,sample,x,y,z\n1,0,150,250,"));
  EXPECT_GT(line_count(csv), 100000);
  EXPECT_THAT(read_file(folder / "out.txt"), StartsWith("Number of points sampled: "));  // it ran
}

// A failed write to standard output is a failure, however small the output.
TEST_F(CliHostile, FullStandardOutputIsAnError) {
  for (const std::string args :
       {"summary", "set nsteps 3 start samples -", "--help", "--version"}) {
    const Outcome r = run("", args, "/dev/full");
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(line_count(r.err), 1) << args << ": " << r.err;
    EXPECT_THAT(r.err, HasSubstr("standard output could not be written")) << args;
  }
}

// SIGINT or SIGTERM while the samples are written leaves only the previous
// file, and the program ends by that signal (130 or 143 in a shell).
TEST_F(CliHostile, SignalDuringAWriteLeavesOnlyThePreviousFile) {
  for (const int signal : {SIGINT, SIGTERM, SIGKILL}) {
    std::ofstream(folder / "big.csv") << "previous";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      fs::current_path(folder);
      freopen("/dev/null", "w", stdout);
      execl(cli.c_str(), cli.c_str(), "chains", "4", "set", "nsteps", "300000", "start", "samples",
            "big.csv", static_cast<char*>(nullptr));
      _exit(127);
    }
    // Waits until the program has a file open in the folder: the samples.
    const fs::path fds = "/proc/" + std::to_string(child) + "/fd";
    bool writing = false;
    for (int i = 0; i < 60000 && !writing; ++i) {
      std::error_code ec;
      for (const auto& fd : fs::directory_iterator(fds, ec)) {
        writing = writing || fs::read_symlink(fd.path(), ec).string().find(folder.string()) == 0;
      }
      if (!writing) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    }
    ASSERT_TRUE(writing);
    kill(child, signal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal << ": " << status;
    EXPECT_EQ(read_file(folder / "big.csv"), "previous");
    EXPECT_EQ(left_behind(), std::vector<std::string>{"big.csv"}) << "signal " << signal;
  }
}

}  // namespace
