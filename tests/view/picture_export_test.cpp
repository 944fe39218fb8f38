// The picture leaving the program: metafile file, clipboard forms, frame.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fake_host.h"
#include "view/paint.h"
#include "view/picture_export.h"

namespace wandrix {
namespace {

using ::testing::ElementsAre;
using testing::FakeHost;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// The record types of a metafile, in order.
std::vector<std::uint32_t> record_types(const std::vector<std::uint8_t>& emf) {
  std::vector<std::uint32_t> types;
  for (std::size_t at = 0; at + 8 <= emf.size();) {
    types.push_back(u32(emf, at));
    const std::uint32_t size = u32(emf, at + 4);
    if (size < 8) {
      break;
    }
    at += size;
  }
  return types;
}

// The header's description as ASCII (UTF-16LE units narrowed), NULs kept.
std::string description(const std::vector<std::uint8_t>& emf) {
  const std::uint32_t count = u32(emf, 60);
  const std::uint32_t offset = u32(emf, 64);
  std::string text;
  for (std::uint32_t i = 0; i < count; ++i) {
    text += static_cast<char>(emf[offset + 2 * i]);
  }
  return text;
}

Rect frame_of(const std::vector<std::uint8_t>& emf) {
  return Rect{static_cast<int>(u32(emf, 24)), static_cast<int>(u32(emf, 28)),
              static_cast<int>(u32(emf, 32)), static_cast<int>(u32(emf, 36))};
}

std::vector<std::uint8_t> read_file(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct Export : ::testing::Test {
  FakeHost host;
  Simulation sim{host};
  std::filesystem::path folder;

  void SetUp() override {
    folder =
        std::filesystem::temp_directory_path() /
        ("wandrix-picture-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  void walk() {
    Hill hill;
    hill.mean_x = 200;
    hill.mean_y = 150;
    hill.stddev_x = hill.stddev_y = 40;
    sim.add_confirmed_hill(hill);
    sim.nsteps = 300;
    sim.start_walking();
  }
};

TEST(PictureFrame, ClientSizeOnTheScreenInHundredthsOfAMillimetre) {
  const ScreenMetrics screen{1024, 768, 320, 240};
  EXPECT_EQ(picture_frame(Rect{0, 0, 392, 346}, screen), (Rect{0, 0, 12250, 10812}));
  EXPECT_EQ(picture_frame(Rect{0, 0, 392, 346}, ScreenMetrics{0, 768, 320, 240}), std::nullopt);
}

TEST(PictureFormat, ByExtensionInAnyCase) {
  EXPECT_EQ(picture_format_of("a/b.EMF"), PictureFormat::emf);
  EXPECT_EQ(picture_format_of("b.svg"), PictureFormat::svg);
  EXPECT_EQ(picture_format_of("b.Png"), PictureFormat::png);
  EXPECT_EQ(picture_format_of("b.dat"), std::nullopt);
  EXPECT_EQ(picture_format_of("png"), std::nullopt);
}

TEST_F(Export, CopyPutsEveryFormOnTheClipboardAndConfirms) {
  sim.rescale(392, 346);
  walk();
  EXPECT_TRUE(copy_picture(sim, client_rect(sim)));
  ASSERT_TRUE(host.clipboard_picture);
  const auto& emf = host.clipboard_picture->emf;
  ASSERT_GT(emf.size(), 108u);
  EXPECT_EQ(u32(emf, 0), 1u);
  EXPECT_EQ(frame_of(emf), (Rect{0, 0, 12250, 10812}));
  EXPECT_EQ(description(emf), std::string("Wandrix\0Trajectory\0\0", 20));
  EXPECT_THAT(host.clipboard_picture->svg, HasSubstr("<svg"));
  EXPECT_THAT(host.clipboard_picture->svg, HasSubstr("Trajectory"));
  EXPECT_THAT(host.png_sizes, ElementsAre(std::pair{392, 346}));
  EXPECT_EQ(host.png_first_pixel, 0xFFFFFFFFu);  // white background
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Copy to clipboard");
  EXPECT_EQ(host.boxes[0].text, "The robot's trajectory has been copied to the clipboard");
  EXPECT_TRUE(sim.full_redraw);
}

// A raster picture above 8192 x 8192 pixels (or 32767 on a side) is not
// made: Copy offers the vector forms and says why the PNG is missing.
TEST_F(Export, AHugeCopyOffersTheVectorFormsOnly) {
  walk();
  for (const Rect client : {Rect{0, 0, 100000, 100000}, Rect{0, 0, 40000, 10}}) {
    host.boxes.clear();
    host.png_sizes.clear();
    EXPECT_TRUE(copy_picture(sim, client));
    EXPECT_TRUE(host.png_sizes.empty());
    ASSERT_TRUE(host.clipboard_picture);
    EXPECT_TRUE(host.clipboard_picture->png.empty());
    EXPECT_GT(host.clipboard_picture->emf.size(), 108u);
    EXPECT_THAT(host.clipboard_picture->svg, HasSubstr("<svg"));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_THAT(host.boxes[0].text, HasSubstr("copied to the clipboard"));
    EXPECT_THAT(host.boxes[0].text,
                HasSubstr("a picture of " + std::to_string(client.width()) + " by " +
                          std::to_string(client.height()) + " pixels is too large for PNG"));
  }
  EXPECT_EQ(raster_size_problem(Rect{0, 0, 8192, 8192}), std::nullopt);
  EXPECT_EQ(raster_size_problem(Rect{0, 0, 32767, 2048}), std::nullopt);
  EXPECT_NE(raster_size_problem(Rect{0, 0, 8193, 8192}), std::nullopt);
  EXPECT_NE(raster_size_problem(Rect{0, 0, 32768, 1}), std::nullopt);
}

TEST_F(Export, ACopyTheClipboardRefusesIsReportedNotConfirmed) {
  host.clipboard_accepts = false;
  EXPECT_FALSE(copy_picture(sim, client_rect(sim)));
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Copy to clipboard");
  EXPECT_EQ(host.boxes[0].text, "The robot's trajectory could not be copied to the clipboard");
}

// Copy in the diagnostics window: the diagnostics at the window's size,
// with their own words.
TEST_F(Export, DiagnosticsAreCopiedAtTheirWindowsSize) {
  walk();
  EXPECT_TRUE(copy_diagnostics(sim, Rect{0, 0, 640, 300}));
  ASSERT_TRUE(host.clipboard_picture);
  EXPECT_THAT(host.clipboard_picture->svg, HasSubstr("width=\"640\""));
  EXPECT_THAT(host.png_sizes, ElementsAre(std::pair{640, 300}));
  EXPECT_EQ(host.png_first_pixel, 0xFFFFFFFFu);
  EXPECT_NE(host.clipboard_picture->emf,
            metafile_picture(sim, Rect{0, 0, 640, 300}, std::nullopt, "Wandrix", "Trajectory"));
  host.clipboard_accepts = false;
  EXPECT_FALSE(copy_diagnostics(sim, Rect{0, 0, 640, 300}));
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[0].text, "The diagnostics have been copied to the clipboard");
  EXPECT_EQ(host.boxes[1].text, "The diagnostics could not be copied to the clipboard");
  EXPECT_EQ(host.boxes[1].caption, "Copy to clipboard");
}

TEST_F(Export, TiltedViewIsWhatIsCopied) {
  sim.allow_rotation = true;
  walk();
  copy_picture(sim, client_rect(sim));
  const auto flat = host.clipboard_picture->emf;
  sim.angle_x = 0.6;
  sim.angle_y = -0.4;
  copy_picture(sim, client_rect(sim));
  EXPECT_NE(host.clipboard_picture->emf, flat);
  EXPECT_EQ(host.clipboard_calls, 2);
}

TEST_F(Export, EmptyPictureHoldsOnlyTheWhiteBackground) {
  const auto emf = metafile_picture(sim, client_rect(sim), std::nullopt, "a", "b");
  // header, select white brush, the fill, end: selecting the previous brush,
  // the white one again, would change nothing.
  EXPECT_THAT(record_types(emf), ElementsAre(1u, 37u, 76u, 14u));
}

TEST_F(Export, SaveWritesTheMetafileTheUserChose) {
  walk();
  const auto path = folder / "walk.emf";
  host.file_answers = {path.string()};
  save_picture_file(sim, client_rect(sim));
  ASSERT_EQ(host.file_requests.size(), 1u);
  EXPECT_FALSE(host.file_requests[0].for_open);
  EXPECT_EQ(host.file_requests[0].default_extension, "emf");
  const auto emf = read_file(path);
  ASSERT_GT(emf.size(), 108u);
  EXPECT_EQ(u32(emf, 0), 1u);
  EXPECT_EQ(u32(emf, 48), emf.size());
  EXPECT_EQ(description(emf), std::string("WANDRIX\0Robot path\0\0", 20));
  EXPECT_TRUE(host.boxes.empty());
  // Nothing else is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(Export, SaveByExtensionWritesSvgOrPng) {
  walk();
  host.file_answers = {(folder / "walk.svg").string()};
  save_picture_file(sim, client_rect(sim));
  const auto svg = read_file(folder / "walk.svg");
  EXPECT_THAT(std::string(svg.begin(), svg.end()), HasSubstr("<svg"));
  host.file_answers = {(folder / "walk.png").string()};
  save_picture_file(sim, client_rect(sim));
  EXPECT_EQ(read_file(folder / "walk.png"), (std::vector<std::uint8_t>{0x89, 'P', 'N', 'G'}));
  host.png_works = false;
  host.file_answers = {(folder / "walk.png").string()};
  save_picture_file(sim, client_rect(sim));
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_THAT(host.boxes[0].text, HasSubstr("walk.png could not be written: "));
}

TEST_F(Export, CancelledChoiceWritesNothing) {
  save_picture_file(sim, client_rect(sim));
  EXPECT_EQ(host.file_requests.size(), 1u);
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(Export, AFailedSaveIsReportedAndKeepsTheOldFile) {
  const auto missing = folder / "no-such-folder" / "walk.emf";
  host.file_answers = {missing.string()};
  save_picture_file(sim, client_rect(sim));
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Save As Metafile");
  EXPECT_THAT(host.boxes[0].text, HasSubstr(missing.string() + " could not be written: "));
  // A folder in the way of the file: the save fails, the folder stays.
  const auto blocked = folder / "taken.emf";
  std::filesystem::create_directory(blocked);
  host.file_answers = {blocked.string()};
  save_picture_file(sim, client_rect(sim));
  EXPECT_EQ(host.boxes.size(), 2u);
  EXPECT_TRUE(std::filesystem::is_directory(blocked));
}

}  // namespace
}  // namespace wandrix
