// An independent reader must take every metafile EmfCanvas writes: the
// files are converted with emf2svg-conv, which must meet no record it does
// not support, and the SVG it makes must show the same picture (as many
// dots and lines, in the same colours).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "model/simulation.h"
#include "view/emf_canvas.h"

namespace wandrix {
namespace {

namespace fs = std::filesystem;

bool have_reader() { return std::system("command -v emf2svg-conv >/dev/null 2>&1") == 0; }

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class EmfReader : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!have_reader()) {
      GTEST_SKIP() << "emf2svg-conv is not installed (scripts/install-deps installs it)";
    }
    std::random_device random;
    dir_ = fs::temp_directory_path() / ("wandrix-emf-" + std::to_string(random()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  // Writes the metafile, converts it, and returns the SVG; the reader's
  // verbose listing is checked for records it does not support.
  std::string convert(const std::vector<std::uint8_t>& emf, const std::string& name) {
    const fs::path in = dir_ / (name + ".emf");
    const fs::path out = dir_ / (name + ".svg");
    const fs::path log = dir_ / (name + ".log");
    std::ofstream(in, std::ios::binary)
        .write(reinterpret_cast<const char*>(emf.data()), static_cast<std::streamsize>(emf.size()));
    const std::string command = "emf2svg-conv -v -i '" + in.string() + "' -o '" + out.string() +
                                "' >'" + log.string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << read_text(log).substr(0, 2000);
    const std::string listing = read_text(log);
    EXPECT_EQ(listing.find("UNSUPPORTED"), std::string::npos);
    EXPECT_EQ(listing.find("IGNORED"), std::string::npos);
    EXPECT_EQ(listing.find("rror"), std::string::npos);
    return read_text(out);
  }

  fs::path dir_;
};

int count_of(const std::string& text, const std::regex& pattern) {
  return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), pattern),
                                        std::sregex_iterator()));
}

// Colours of the ellipses' fills, counted.
std::map<std::string, int> ellipse_fills(const std::string& svg) {
  std::map<std::string, int> fills;
  const std::regex ellipse(R"re(<ellipse[^>]*fill="#([0-9A-Fa-f]{6})")re");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), ellipse);
       it != std::sregex_iterator(); ++it) {
    std::string hex = (*it)[1];
    for (char& c : hex) {
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    ++fills[hex];
  }
  return fills;
}

std::string hex_of(Colour c) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", red_of(c), green_of(c), blue_of(c));
  return text;
}

// A picture drawn the way the program draws its export: white background,
// a black closed polygon, and each chain as dots joined by lines, its first
// dot white. Returns the number of dots per fill colour and the line count.
struct Drawn {
  std::map<std::string, int> dots;
  int lines = 0;
};

Drawn draw_picture(Canvas& c, const Simulation& sim, int width, int height) {
  Drawn drawn;
  c.fill_rect(Rect{0, 0, width, height}, c.stock_object(StockObject::white_brush));
  const ObjectHandle hill_pen = c.create_pen(kBlack);
  const ObjectHandle old = c.select(hill_pen);
  c.move_to(100, 200);
  for (const Point p : {Point{200, 100}, Point{300, 200}, Point{200, 300}, Point{100, 200}}) {
    c.line_to(p.x, p.y);
    ++drawn.lines;
  }
  c.select(old);
  c.delete_object(hill_pen);
  for (int k = sim.nchains - 1; k >= 0; --k) {
    const Chain& chain = sim.chains[static_cast<std::size_t>(k)];
    const ObjectHandle objects[] = {c.create_pen(kWhite), c.create_brush(kWhite),
                                    c.create_pen(chain.colour), c.create_brush(chain.colour)};
    const ObjectHandle old_pen = c.select(objects[0]);
    const ObjectHandle old_brush = c.select(objects[1]);
    for (std::size_t i = 0; i < chain.xs.size(); ++i) {
      const int x = chain.xs[i];
      const int y = chain.ys[i];
      if (i == 0) {
        c.move_to(x, y);
      } else if (sim.show_trajectory) {
        c.line_to(x, y);
        ++drawn.lines;
      }
      c.ellipse(x - sim.dot_radius, y - sim.dot_radius, x + sim.dot_radius, y + sim.dot_radius);
      ++drawn.dots[hex_of(i == 0 ? kWhite : chain.colour)];
      c.select(objects[2]);
      c.select(objects[3]);
    }
    c.select(old_pen);
    c.select(old_brush);
    for (ObjectHandle h : objects) {
      c.delete_object(h);
    }
  }
  return drawn;
}

void check_same_picture(const std::string& svg, const Drawn& drawn) {
  EXPECT_EQ(ellipse_fills(svg), drawn.dots);
  // Every line becomes one stroked path; the background one filled path.
  EXPECT_EQ(count_of(svg, std::regex(R"(<path d="M[^"]*" stroke=)")), drawn.lines);
  EXPECT_EQ(count_of(svg, std::regex(R"(<path style="fill:#ffffff")")), 1);
}

TEST_F(EmfReader, SmallPicture) {
  Simulation sim;
  sim.nsteps = 20;
  sim.rn_seed = 7;
  sim.clear();
  sim.walk(true);
  EmfCanvas canvas(EmfDevice{}, std::nullopt, "WANDRIX", "Robot path");
  const Drawn drawn = draw_picture(canvas, sim, 400, 400);
  const std::string svg = convert(canvas.finish(), "small");
  check_same_picture(svg, drawn);
  EXPECT_EQ(drawn.dots.at("FFFFFF"), 1);
}

TEST_F(EmfReader, LargePictureOfFourChains) {
  Simulation sim;
  sim.set_chain_count(4);
  sim.nsteps = 5000;
  sim.rn_seed = 99;
  sim.clear();
  sim.walk(true);
  EmfCanvas canvas(EmfDevice{1920, 1080, 527, 296}, Rect{0, 0, 10981, 10981}, "Wandrix",
                   "Trajectory");
  const Drawn drawn = draw_picture(canvas, sim, 400, 400);
  const std::vector<std::uint8_t> emf = canvas.finish();
  const std::string svg = convert(emf, "large");
  RecordProperty("emf_bytes", static_cast<int>(emf.size()));
  check_same_picture(svg, drawn);
  EXPECT_EQ(drawn.dots.size(), 5u);  // white and four chain colours
  EXPECT_GT(emf.size(), 20000u * 50u);
}

// The density view's image: one STRETCHDIBITS, placed and sized as drawn.
TEST_F(EmfReader, ImagesAreRead) {
  EmfCanvas canvas(EmfDevice{}, std::nullopt, "WANDRIX", "Robot path");
  Image image{37, 23, {}};
  for (int i = 0; i < 37 * 23; ++i) {
    image.pixels.push_back(0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8));
  }
  canvas.draw_image(5, 9, image);
  const std::string svg = convert(canvas.finish(), "image");
  EXPECT_EQ(count_of(svg, std::regex(R"(<image width="37\.0+" height="23\.0+" x="5\.0+" )"
                                     R"(y="9\.0+" xlink:href="data:image/png;base64,)")),
            1);
}

TEST_F(EmfReader, RubberBandRecordsAreRead) {
  EmfCanvas canvas(EmfDevice{}, std::nullopt, "WANDRIX", "Robot path");
  canvas.set_invert(true);
  canvas.select(canvas.stock_object(StockObject::hollow_brush));
  canvas.rectangle(100, 100, 160, 160);
  canvas.select(canvas.stock_object(StockObject::white_brush));
  const fs::path in = dir_ / "band.emf";
  const std::vector<std::uint8_t> emf = canvas.finish();
  std::ofstream(in, std::ios::binary)
      .write(reinterpret_cast<const char*>(emf.data()), static_cast<std::streamsize>(emf.size()));
  const std::string command = "emf2svg-conv -v -i '" + in.string() + "' -o '" +
                              (dir_ / "band.svg").string() + "' >'" + (dir_ / "band.log").string() +
                              "' 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  // This reader has no raster modes: it passes SETROP2 over, but knows it.
  const std::string listing = read_text(dir_ / "band.log");
  EXPECT_EQ(listing.find("UNSUPPORTED"), std::string::npos);
  EXPECT_EQ(count_of(read_text(dir_ / "band.svg"), std::regex("<rect ")), 1);
}

}  // namespace
}  // namespace wandrix
