#include "files/atomic_file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <filesystem>
#include <ostream>

#include "files_test_support.h"

namespace wandrix {
namespace {

namespace fs = std::filesystem;
using testing::entry_count;
using testing::read_file;
using testing::ScratchFolder;

TEST(AtomicFile, WritesAndReplaces) {
  ScratchFolder folder;
  const std::string path = folder.file("out.txt");
  EXPECT_FALSE(write_file_atomically(path, "first"));
  EXPECT_EQ(read_file(path), "first");
  EXPECT_FALSE(write_file_atomically(path, std::string("a\0b", 3)));
  EXPECT_EQ(read_file(path), std::string("a\0b", 3));
  EXPECT_EQ(entry_count(folder.path()), 1U);  // no temporary file left
}

#ifndef _WIN32
// POSIX permissions and links; Windows has atomic_file_windows_test.cpp.
TEST(AtomicFile, KeepsPermissionsAndFollowsLinks) {
  ScratchFolder folder;
  const std::string path = folder.file("private.dat");
  testing::write_file(path, "old");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_FALSE(write_file_atomically(path, "new"));
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  const std::string link = folder.file("link.dat");
  fs::create_symlink(path, link);
  EXPECT_FALSE(write_file_atomically(link, "through the link"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(read_file(path), "through the link");
}

#endif

TEST(AtomicFile, FailureIsReportedAndThePreviousFileSurvives) {
  ScratchFolder folder;
  const auto missing = write_file_atomically(folder.file("none/x.txt"), "x");
  ASSERT_TRUE(missing.has_value());
  // The reason is the system's own text.
#ifdef _WIN32
  EXPECT_EQ(missing->rfind(folder.file("none/x.txt") + " could not be written: ", 0), 0U);
#else
  EXPECT_EQ(*missing,
            folder.file("none/x.txt") + " could not be written: No such file or directory");
#endif

  // The name of a folder cannot be replaced by a file.
  fs::create_directory(folder.file("sub"));
  const auto onto_folder = write_file_atomically(folder.file("sub"), "x");
  ASSERT_TRUE(onto_folder.has_value());
  EXPECT_EQ(*onto_folder, folder.file("sub") + " could not be written: it is a folder");
  EXPECT_TRUE(fs::is_directory(folder.file("sub")));

  EXPECT_TRUE(write_file_atomically("", "x").has_value());
}

TEST(AtomicFile, LongestNamesStillWork) {
  ScratchFolder folder;
  const std::string path = folder.file(std::string(250, 'n') + ".dat");
  EXPECT_FALSE(write_file_atomically(path, "long"));
  EXPECT_EQ(read_file(path), "long");
}

#ifndef _WIN32
// A write that fails halfway (here: over the process's file size limit,
// which binds even the superuser) leaves the old file whole.
TEST(AtomicFile, FailedWriteKeepsTheOldFile) {
  ScratchFolder folder;
  const std::string path = folder.file("keep.dat");
  testing::write_file(path, "precious");
  rlimit old_limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  rlimit small = old_limit;
  small.rlim_cur = 16;
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const auto error = write_file_atomically(path, std::string(100000, 'x'));
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(*error, path + " could not be written: File too large");
  EXPECT_EQ(read_file(path), "precious");
  EXPECT_EQ(entry_count(folder.path()), 1U);
}

TEST(AtomicFile, ReadOnlyFolderKeepsTheOldFile) {
  ScratchFolder folder;
  const std::string path = folder.file("keep.dat");
  testing::write_file(path, "precious");
  fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
  const auto error = write_file_atomically(path, "replacement");
  fs::permissions(folder.path(), fs::perms::owner_all);
  if (!error) {
    GTEST_SKIP() << "running with the right to write anywhere";
  }
  EXPECT_EQ(*error, path + " could not be written: Permission denied");
  EXPECT_EQ(read_file(path), "precious");
}

// A signal that stops the program in the middle of a save leaves only the
// previous file: SIGINT and SIGTERM remove a named temporary and still end
// the process by that signal; an unnamed temporary vanishes even on SIGKILL.
TEST(AtomicFile, StoppedBySignalLeavesNoTemporary) {
  struct Case {
    int signal;
    bool unnamed;
  };
  for (const Case c :
       {Case{SIGINT, false}, Case{SIGTERM, false}, Case{SIGTERM, true}, Case{SIGKILL, true}}) {
    ScratchFolder folder;
    const std::string path = folder.file("big.csv");
    testing::write_file(path, "previous");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      detail::allow_unnamed_temporaries(c.unnamed);
      remove_temporaries_on_signals();
      write_file_atomically(path, [&c](std::ostream& out) {
        out << std::string(100000, 'x');
        out.flush();
        raise(c.signal);
        out << "never";
      });
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal)
        << "signal " << c.signal << " status " << status;
    EXPECT_EQ(read_file(path), "previous") << c.signal;
    EXPECT_EQ(entry_count(folder.path()), 1U) << "signal " << c.signal << " unnamed " << c.unnamed;
  }
}

#endif

}  // namespace
}  // namespace wandrix
