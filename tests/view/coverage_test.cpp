// Coverage against the surface it stands for: every answer is checked with
// the pixels RasterCanvas really paints for the same figure.
#include "view/coverage.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "view/raster_canvas.h"

namespace wandrix {
namespace {

constexpr std::uint32_t kPainted = 0xFFFFFFFFu;

// The pixels one figure paints, as RasterCanvas draws it.
class Figures {
 public:
  Figures(int width, int height) : canvas_(width, height) {
    canvas_.select(canvas_.stock_object(StockObject::white_pen));
    canvas_.select(canvas_.stock_object(StockObject::white_brush));
  }
  std::vector<bool> line(Point from, Point to) {
    clear();
    canvas_.move_to(from.x, from.y);
    canvas_.line_to(to.x, to.y);
    return painted();
  }
  std::vector<bool> ellipse(int l, int t, int r, int b) {
    clear();
    canvas_.ellipse(l, t, r, b);
    return painted();
  }

 private:
  void clear() {
    canvas_.fill_rect({0, 0, canvas_.width(), canvas_.height()},
                      canvas_.stock_object(StockObject::black_brush));
  }
  std::vector<bool> painted() const {
    std::vector<bool> out;
    for (int y = 0; y < canvas_.height(); ++y) {
      for (int x = 0; x < canvas_.width(); ++x) {
        out.push_back(canvas_.pixel(x, y) == kPainted);
      }
    }
    return out;
  }
  RasterCanvas canvas_;
};

// Adds the figure's pixels to `covered`; true when one of them was new.
bool add(std::vector<bool>& covered, const std::vector<bool>& figure) {
  bool shows = false;
  for (std::size_t i = 0; i < covered.size(); ++i) {
    if (figure[i] && !covered[i]) {
      covered[i] = true;
      shows = true;
    }
  }
  return shows;
}

// Lines and dots thrown at the surface until it is nearly covered: short
// steps of a walk, long jumps, and lines reaching far off the surface.
void check_against_surface(int width, int height, unsigned seed) {
  std::mt19937 rng(seed);
  auto in = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
  Coverage coverage(width, height);
  Figures figures(width, height);
  std::vector<bool> covered(static_cast<std::size_t>(width) * height, false);
  Point at{in(0, width - 1), in(0, height - 1)};
  int shown = 0;
  int hidden = 0;
  for (int step = 0; step < 3000; ++step) {
    const int kind = in(0, 9);
    Point to{at.x + in(-12, 12), at.y + in(-12, 12)};
    if (kind == 0) {
      to = {in(-3 * width, 4 * width), in(-3 * height, 4 * height)};
    } else if (kind == 1) {
      to = {in(-1 << 30, 1 << 30), in(-1 << 30, 1 << 30)};
    }
    const bool line_shows = add(covered, figures.line(at, to));
    ASSERT_EQ(coverage.line(at, to), line_shows) << "line " << step;
    const int r = in(1, 4);
    const bool dot_shows = add(covered, figures.ellipse(to.x - r, to.y - r, to.x + r, to.y + r));
    ASSERT_EQ(coverage.ellipse(to.x - r, to.y - r, to.x + r, to.y + r), dot_shows)
        << "dot " << step;
    (line_shows ? shown : hidden) += 1;
    // A covered region must be covered pixel for pixel.
    const int l = in(-20, width);
    const int t = in(-20, height);
    const int rr = l + in(0, 90);
    const int b = t + in(0, 90);
    if (coverage.region_covered(l, t, rr, b)) {
      for (int y = std::max(t, 0); y < std::min(b, height); ++y) {
        for (int x = std::max(l, 0); x < std::min(rr, width); ++x) {
          ASSERT_TRUE(covered[static_cast<std::size_t>(y) * width + x]) << x << "," << y;
        }
      }
    }
    at = in(0, 5) == 0 ? Point{in(0, width - 1), in(0, height - 1)} : to;
    if (at.x < -50 || at.x > width + 50 || at.y < -50 || at.y > height + 50) {
      at = {in(0, width - 1), in(0, height - 1)};
    }
  }
  // Both answers must have come up, or the walk tested little.
  EXPECT_GT(shown, 10);
  EXPECT_GT(hidden, 10);
}

TEST(Coverage, AnswersAsThePaintedPixelsOnASmallSurface) { check_against_surface(70, 45, 1); }

TEST(Coverage, AnswersAsThePaintedPixelsOnSurfacesOfOddSizes) {
  check_against_surface(33, 17, 2);
  check_against_surface(1, 40, 3);
}

// More than 64 tiles to a row: the full tiles take several words.
TEST(Coverage, AnswersAsThePaintedPixelsOnAWideSurface) { check_against_surface(1100, 12, 4); }

TEST(Coverage, RegionsOffTheSurfaceAreCoveredAndEmptySurfacesHideEverything) {
  Coverage coverage(40, 30);
  EXPECT_TRUE(coverage.region_covered(-10, -10, 0, 30));
  EXPECT_TRUE(coverage.region_covered(40, 0, 60, 30));
  EXPECT_FALSE(coverage.region_covered(0, 0, 1, 1));
  EXPECT_TRUE(coverage.line({-5, 10}, {80, 10}));
  EXPECT_FALSE(coverage.line({0, 10}, {40, 10}));
  EXPECT_FALSE(coverage.line({0, -1}, {39, -1}));
  Coverage empty(0, 0);
  EXPECT_FALSE(empty.line({0, 0}, {10, 10}));
  EXPECT_FALSE(empty.ellipse(0, 0, 4, 4));
}

}  // namespace
}  // namespace wandrix
