// Saves on Windows: the temporary beside the target is moved over it, and a
// target that cannot be replaced keeps its content.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "files/atomic_file.h"
#include "files/files_test_support.h"
#include "files/utf8_path.h"

namespace wandrix {
namespace {

namespace fs = std::filesystem;
using testing::entry_count;
using testing::read_file;
using testing::ScratchFolder;

TEST(WindowsAtomicFile, AStreamWritesLineFeedsAsOneByte) {
  ScratchFolder folder;
  const std::string path = folder.file("out.dat");
  EXPECT_FALSE(write_file_atomically(path, [](std::ostream& out) { out << "one\ntwo\n"; }));
  EXPECT_EQ(read_file(path), "one\ntwo\n");
}

// File names are UTF-8 in the program; the C++ library on Windows would take
// every byte for a character of its own.
TEST(WindowsAtomicFile, AUtf8NameNamesTheFileItSpells) {
  ScratchFolder folder;
  const std::string name = utf8_string(folder.path() / utf8_path("s\xC3\xA9"
                                                                 "ance.dat"));
  EXPECT_FALSE(write_file_atomically(name, "x"));
  EXPECT_TRUE(fs::exists(folder.path() / L"s\u00E9ance.dat"));
  EXPECT_EQ(entry_count(folder.path()), 1U);
}

TEST(WindowsAtomicFile, ATargetThatCannotBeReplacedKeepsItsContent) {
  struct Case {
    const char* name;
    bool read_only;  // else held open by another program without sharing
  };
  for (const Case c : {Case{"read only", true}, Case{"held open", false}}) {
    ScratchFolder folder;
    const std::string path = folder.file("keep.dat");
    testing::write_file(path, "precious");
    const std::wstring wide = fs::path(path).wstring();
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.read_only) {
      ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY);
    } else {
      held = ::CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    const auto error = write_file_atomically(path, "replacement");
    if (held != INVALID_HANDLE_VALUE) {
      ::CloseHandle(held);
    }
    ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(error.has_value()) << c.name;
    EXPECT_EQ(error->rfind(path + " could not be written: ", 0), 0U) << *error;
    EXPECT_GT(error->size(), (path + " could not be written: ").size()) << c.name;
    EXPECT_EQ(read_file(path), "precious") << c.name;
    EXPECT_EQ(entry_count(folder.path()), 1U) << c.name;
  }
}

TEST(WindowsAtomicFile, AFolderIsNeverReplaced) {
  ScratchFolder folder;
  fs::create_directory(folder.file("sub"));
  const auto error = write_file_atomically(folder.file("sub"), "x");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(*error, folder.file("sub") + " could not be written: it is a folder");
}

}  // namespace
}  // namespace wandrix
