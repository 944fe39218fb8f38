#include "files/file_chooser.h"

#include <gtest/gtest.h>

#include "fake_host.h"
#include "files_test_support.h"
#include "model/simulation.h"

namespace wandrix {
namespace {

using testing::FakeHost;

TEST(FileChooser, FiltersAndDefaultExtensions) {
  const FileDialogRequest metafile = file_request(false, FileKind::metafile, "/x");
  ASSERT_EQ(metafile.filters.size(), 1U);
  EXPECT_EQ(metafile.filters[0].description, "Enhanced metafile (*.emf)");
  EXPECT_EQ(metafile.filters[0].pattern, "*.EMF");
  EXPECT_EQ(metafile.default_extension, "emf");
  EXPECT_FALSE(metafile.for_open);
  EXPECT_EQ(metafile.folder, "/x");

  const FileDialogRequest data = file_request(true, FileKind::data, "/y");
  ASSERT_EQ(data.filters.size(), 2U);
  EXPECT_EQ(data.filters[0].description, "Data file (*.dat)");
  EXPECT_EQ(data.filters[0].pattern, "*.DAT");
  EXPECT_EQ(data.filters[1].description, "All (*.*)");
  EXPECT_EQ(data.filters[1].pattern, "*.*");
  EXPECT_EQ(data.default_extension, "dat");
  EXPECT_TRUE(data.for_open);

  const FileDialogRequest text = file_request(false, FileKind::text, "");
  ASSERT_EQ(text.filters.size(), 2U);
  EXPECT_EQ(text.filters[0].description, "Text file (*.txt)");
  EXPECT_EQ(text.filters[0].pattern, "*.TXT");
  EXPECT_EQ(text.filters[1].pattern, "*.*");
  EXPECT_EQ(text.default_extension, "txt");
}

TEST(FileChooser, FirstDialogOpensInWorkingDirectoryEvenWhenCancelled) {
  FakeHost host;
  Simulation sim(host);
  sim.file_name = "/old/choice.dat";
  EXPECT_FALSE(choose_file(sim, true, FileKind::data));
  ASSERT_EQ(host.file_requests.size(), 1U);
  EXPECT_EQ(host.file_requests[0].folder, "/work/start");
  EXPECT_EQ(sim.directory, "/work/start");
  EXPECT_TRUE(sim.file_name.empty());
  // The working directory is read only once.
  host.cwd = "/elsewhere";
  EXPECT_FALSE(choose_file(sim, false, FileKind::text));
  EXPECT_EQ(host.file_requests[1].folder, "/work/start");
}

TEST(FileChooser, ChoiceSetsFileNameAndFolderWithSeparator) {
  FakeHost host;
  Simulation sim(host);
  host.file_answers = {"/data/work/run1.dat", std::nullopt, "sub/../picture.emf"};
  EXPECT_TRUE(choose_file(sim, false, FileKind::data));
  EXPECT_EQ(sim.file_name, testing::native_path("/data/work/run1.dat"));
  EXPECT_EQ(sim.directory, testing::native_path("/data/work/"));
  // The next dialog of any kind opens there; a cancel keeps the folder.
  EXPECT_FALSE(choose_file(sim, false, FileKind::metafile));
  EXPECT_EQ(host.file_requests[1].folder, testing::native_path("/data/work/"));
  EXPECT_TRUE(sim.file_name.empty());
  EXPECT_EQ(sim.directory, testing::native_path("/data/work/"));
  // A relative answer is made full against the working directory.
  EXPECT_TRUE(choose_file(sim, false, FileKind::metafile));
  EXPECT_EQ(sim.file_name, testing::native_path("/work/start/picture.emf"));
  EXPECT_EQ(sim.directory, testing::native_path("/work/start/"));
}

TEST(FileChooser, NamesBeyondAsciiKeepTheirLetters) {
  FakeHost host;
  Simulation sim(host);
  const std::string folder = "/d\xC3\xA9j\xC3\xA0/\xE6\xBC\xAB";  // déjà/漫
  host.file_answers = {folder +
                       "/../\xE6\xBC\xAB/s\xC3\xA9"
                       "ance.dat"};
  EXPECT_TRUE(choose_file(sim, false, FileKind::data));
  EXPECT_EQ(sim.file_name, testing::native_path(folder + "/s\xC3\xA9"
                                                         "ance.dat"));
  EXPECT_EQ(sim.directory, testing::native_path(folder + "/"));
}

TEST(FileChooser, FileInTheRootAndAnswersThatNameNoFile) {
  FakeHost host;
  Simulation sim(host);
  host.file_answers = {"/top.txt", "/data/folder/", ""};
  EXPECT_TRUE(choose_file(sim, false, FileKind::text));
  EXPECT_EQ(sim.directory, testing::native_path("/"));
  EXPECT_FALSE(choose_file(sim, false, FileKind::text));
  EXPECT_TRUE(sim.file_name.empty());
  EXPECT_FALSE(choose_file(sim, true, FileKind::text));
  EXPECT_EQ(sim.directory, testing::native_path("/"));
}

}  // namespace
}  // namespace wandrix
