// Every file the program writes survives a failed write: on a full disk and
// in a read-only folder the previous file stays whole, no temporary file is
// left behind, and the failure reaches the user. The folders fail for real
// (see failing_folder.h), not by permission bits, which root ignores.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "files/atomic_file.h"
#include "files/failing_folder.h"
#include "files/files_test_support.h"
#include "files/landscape_file.h"
#include "files/session_file.h"
#include "model/simulation.h"
#include "view/paint.h"
#include "view/picture_export.h"

namespace wandrix {
namespace {

using testing::Failure;

// Writes a whole file to a path; returns the error text on failure.
using Writer = std::function<std::optional<std::string>(const std::string& path)>;

struct Case {
  const char* name;
  Writer previous;  // what a first, successful save wrote
  Writer next;      // a different, larger content that must not get through
};

void add_hills(Simulation& sim, int count) {
  for (int i = 0; i < count; ++i) {
    Hill hill;
    hill.label = "hill number " + std::to_string(i);
    hill.mean_x = 10.0 + i;
    hill.mean_y = 20.0 + i;
    hill.stddev_x = hill.stddev_y = 30.0;
    sim.add_confirmed_hill(hill);
  }
}

std::vector<Case> cases() {
  return {
      {"bytes",
       [](const std::string& path) { return write_file_atomically(path, "previous contents\n"); },
       [](const std::string& path) {
         return write_file_atomically(path, std::string(64 * 1024, 'n'));
       }},
      {"session",
       [](const std::string& path) {
         Simulation sim;
         add_hills(sim, 1);
         return store_session(sim, path);
       },
       [](const std::string& path) {
         Simulation sim;
         add_hills(sim, 400);
         return store_session(sim, path);
       }},
      {"streamed",
       [](const std::string& path) {
         return write_file_atomically(path, [](std::ostream& out) { out << "previous\n"; });
       },
       [](const std::string& path) {
         return write_file_atomically(path, [](std::ostream& out) {
           for (int i = 0; i < 20000; ++i) {
             out << "row " << i << '\n';
           }
         });
       }},
      {"landscape",
       [](const std::string& path) {
         Simulation sim;
         return store_landscape(sim, path);
       },
       [](const std::string& path) {
         Simulation sim;
         add_hills(sim, 2);
         return store_landscape(sim, path);
       }},
  };
}

// Exit codes of the child, one per broken promise.
enum Outcome { kSound = 0, kNoPrevious = 10, kNoFailure, kWrongText, kDamaged, kLeftovers };

const char* reason_of(Failure failure) {
  return failure == Failure::disk_full ? "No space left on device" : "Read-only file system";
}

int check_failed_write(const std::string& folder, const Case& c, Failure failure) {
  const std::string path = folder + "/target";
  if (c.previous(path)) {
    return kNoPrevious;
  }
  const auto before = testing::file_content(path);
  const auto entries_before = testing::folder_entries(folder);
  if (!before || !testing::make_folder_fail(folder, failure)) {
    return kNoPrevious;
  }
  auto entries_expected = testing::folder_entries(folder);
  const auto error = c.next(path);
  if (!error) {
    return kNoFailure;
  }
  const std::string expected = path + " could not be written: " + reason_of(failure);
  if (*error != expected) {
    std::fprintf(stderr, "%s: got \"%s\", expected \"%s\"\n", c.name, error->c_str(),
                 expected.c_str());
    return kWrongText;
  }
  if (testing::file_content(path) != before) {
    return kDamaged;
  }
  auto entries_after = testing::folder_entries(folder);
  std::sort(entries_expected.begin(), entries_expected.end());
  std::sort(entries_after.begin(), entries_after.end());
  return entries_after == entries_expected ? kSound : kLeftovers;
}

class WriteFailure : public ::testing::TestWithParam<Failure> {};

TEST_P(WriteFailure, LeavesThePreviousFileWholeAndSaysWhy) {
  for (const Case& c : cases()) {
    const auto result = testing::with_failing_folder(
        [&](const std::string& folder) { return check_failed_write(folder, c, GetParam()); });
    if (!result) {
      GTEST_SKIP() << "this system allows no private tmpfs mount";
    }
    EXPECT_EQ(*result, kSound) << c.name;
  }
}

// The commands behind the menu: a failed save shows the error, never the
// confirmation, and a failed "Save As" does not adopt the new name.
int check_commands(const std::string& folder, Failure failure) {
  const std::string kept = folder + "/kept.dat";
  const std::string table = folder + "/table.txt";
  const std::string picture = folder + "/picture.emf";
  testing::ScriptedHost host;
  Simulation sim(host);
  add_hills(sim, 3);
  if (store_session(sim, kept) || store_landscape(sim, table) ||
      write_picture_file(sim, picture, client_rect(sim), {}) ||
      !testing::make_folder_fail(folder, failure)) {
    return kNoPrevious;
  }
  const auto session_before = testing::file_content(kept);
  const auto table_before = testing::file_content(table);
  const auto picture_before = testing::file_content(picture);
  sim.session_file = kept;
  add_hills(sim, 300);
  sim.nsteps = 3000;
  sim.start_walking();
  save_session(sim);  // Save: rewrites the session's own file
  host.answers = {folder + "/other.dat", table, picture};
  save_session_as(sim);
  save_landscape(sim);
  save_picture_file(sim, client_rect(sim));
  const std::vector<std::string> captions = {kWriteErrorCaption, kWriteErrorCaption,
                                             kLandscapeErrorCaption, kSavePictureCaption};
  if (host.boxes.size() != captions.size()) {
    return kNoFailure;
  }
  for (std::size_t i = 0; i < captions.size(); ++i) {
    if (host.boxes[i].second != captions[i] ||
        host.boxes[i].first.find(reason_of(failure)) == std::string::npos) {
      std::fprintf(stderr, "box %zu: %s | %s\n", i, host.boxes[i].second.c_str(),
                   host.boxes[i].first.c_str());
      return kWrongText;
    }
  }
  if (sim.session_file != kept) {
    return kWrongText;
  }
  const bool whole = testing::file_content(kept) == session_before &&
                     testing::file_content(table) == table_before &&
                     testing::file_content(picture) == picture_before;
  return whole ? kSound : kDamaged;
}

TEST_P(WriteFailure, MenuCommandsReportTheFailure) {
  const auto result = testing::with_failing_folder(
      [&](const std::string& folder) { return check_commands(folder, GetParam()); });
  if (!result) {
    GTEST_SKIP() << "this system allows no private tmpfs mount";
  }
  EXPECT_EQ(*result, kSound);
}

INSTANTIATE_TEST_SUITE_P(Folders, WriteFailure,
                         ::testing::Values(Failure::disk_full, Failure::read_only),
                         [](const auto& info) {
                           return info.param == Failure::disk_full ? "DiskFull" : "ReadOnly";
                         });

TEST(WriteFailureAnywhere, AFolderThatIsAFileFailsForEveryUser) {
  // Needs no privilege: a file cannot hold another, not even for root.
  testing::ScratchFolder scratch;
  const std::string not_a_folder = scratch.file("plain");
  testing::write_file(not_a_folder, "a plain file");
  for (const Case& c : cases()) {
    const auto error = c.next(not_a_folder + "/target");
    ASSERT_TRUE(error.has_value()) << c.name;
    EXPECT_EQ(error->rfind(not_a_folder + "/target could not be written: ", 0), 0U) << *error;
  }
  EXPECT_EQ(testing::read_file(not_a_folder), "a plain file");
}

}  // namespace
}  // namespace wandrix
