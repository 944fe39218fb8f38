// wandrix-cli picture FILE: the exported picture, by the file's extension.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/actions.h"

namespace wandrix::cli {
namespace {

using ::testing::HasSubstr;

std::string read_file(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct CliPicture : ::testing::Test {
  // A folder of this run's own, so that parallel runs never share files.
  std::filesystem::path folder;
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "wandrix-cli-picture-XXXXXX");
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  int run(const std::string& file, std::string& err, bool density = false) {
    Simulation sim;
    prepare_session(sim);
    std::ostringstream out;
    std::ostringstream errors;
    std::vector<std::string> words = {"hill", "h",      "200", "200",    "40",  "40",  "0.5",  "1",
                                      "set",  "nsteps", "200", "resize", "320", "240", "start"};
    if (density) {
      words.emplace_back("density");
    }
    words.insert(words.end(), {"picture", (folder / file).string()});
    const int status = run_actions(words, sim, out, errors);
    err = errors.str();
    return status;
  }
};

TEST_F(CliPicture, WritesEmfSvgAndPngByExtension) {
  std::string err;
  ASSERT_EQ(run("walk.emf", err), 0) << err;
  const std::string emf = read_file(folder / "walk.emf");
  ASSERT_GT(emf.size(), 108u);
  EXPECT_EQ(emf[0], 1);
  EXPECT_EQ(emf.substr(40, 4), " EMF");
  ASSERT_EQ(run("walk.SVG", err), 0) << err;
  const std::string svg = read_file(folder / "walk.SVG");
  EXPECT_THAT(svg, HasSubstr("width=\"320\""));
  EXPECT_THAT(svg, HasSubstr("height=\"240\""));
  ASSERT_EQ(run("walk.png", err), 0) << err;
  const std::string png = read_file(folder / "walk.png");
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(static_cast<unsigned char>(png[19]), 320 & 0xFF);  // IHDR width, low byte
  EXPECT_EQ(static_cast<unsigned char>(png[23]), 240);         // IHDR height
}

// The density view's SVG holds it as one PNG image, the samples not at all.
TEST_F(CliPicture, DensityViewIsOneImage) {
  std::string err;
  ASSERT_EQ(run("dots.svg", err), 0) << err;
  ASSERT_EQ(run("density.svg", err, true), 0) << err;
  const std::string dots = read_file(folder / "dots.svg");
  const std::string density = read_file(folder / "density.svg");
  EXPECT_THAT(dots, ::testing::Not(HasSubstr("<image")));
  EXPECT_THAT(density, HasSubstr("<image x=\"0\" y=\"0\" width=\"320\" height=\"240\""));
  EXPECT_THAT(density, HasSubstr("data:image/png;base64,iVBORw0KGgo"));  // a PNG's signature
  EXPECT_THAT(dots, HasSubstr("<path fill=\"#"));                        // the dots
  EXPECT_THAT(density, ::testing::Not(HasSubstr("<path fill=\"#")));
  ASSERT_EQ(run("dots.png", err), 0) << err;
  ASSERT_EQ(run("density.png", err, true), 0) << err;
  EXPECT_NE(read_file(folder / "dots.png"), read_file(folder / "density.png"));
}

TEST_F(CliPicture, OtherExtensionsAndUnwritablePathsAreErrors) {
  std::string err;
  EXPECT_EQ(run("walk.jpg", err), kUsageError);
  EXPECT_THAT(err, HasSubstr("picture: '"));
  EXPECT_THAT(err, HasSubstr("does not end in .emf, .svg or .png"));
  EXPECT_EQ(run("missing/walk.emf", err), kUsageError);
  EXPECT_THAT(err, HasSubstr("could not be written: "));
}

}  // namespace
}  // namespace wandrix::cli
