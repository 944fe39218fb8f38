// The bitmap font and the plot axes that the diagnostics picture is made of.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view/bitmap_font.h"
#include "view/plot_axes.h"
#include "view/raster_canvas.h"
#include "view/raster_test_support.h"
#include "view/recording_canvas.h"

namespace wandrix {
namespace {

using testing::art;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

TEST(BitmapFont, DrawsEachGlyphAtItsAdvance) {
  RasterCanvas canvas(13, 9);
  draw_text(canvas, 1, 1, "1T", testing::kRed);
  EXPECT_EQ(art(canvas),
            ".............\n"
            "...#...#####.\n"
            "..##.....#...\n"
            "...#.....#...\n"
            "...#.....#...\n"
            "...#.....#...\n"
            "...#.....#...\n"
            "..###....#...\n"
            ".............\n");
  EXPECT_EQ(text_width("1T"), 11);
  EXPECT_EQ(text_width(""), 0);
  EXPECT_EQ(text_width("ab", 2), 22);
}

TEST(BitmapFont, ScalesAndShowsOtherCharactersAsQuestionMarks) {
  RasterCanvas question(5, 7);
  draw_text(question, 0, 0, "?", testing::kRed);
  RasterCanvas other(5, 7);
  draw_text(other, 0, 0, "\xC3", testing::kRed);  // a byte of UTF-8
  EXPECT_EQ(art(other), art(question));

  RasterCanvas big(2, 2);
  draw_text(big, 0, 0, "|", testing::kRed, 2);  // the bar's top pixel, doubled
  EXPECT_EQ(art(big), "..\n..\n");
  RasterCanvas bar(6, 2);
  draw_text(bar, 0, 0, "|", testing::kRed, 2);
  EXPECT_EQ(art(bar), "....##\n....##\n");
}

TEST(BitmapFont, DrawsOneBoxPerRunAndKeepsTheSelections) {
  testing::RecordingCanvas canvas;
  draw_text(canvas, 10, 20, "-", kBlack);
  const std::vector<std::string> expected = {"create_brush 000000 -> 1",
                                             "fill_rect 10 23 15 24 brush 1", "delete 1"};
  EXPECT_THAT(canvas.calls(), ElementsAreArray(expected));
  EXPECT_THAT(canvas.errors(), IsEmpty());
}

TEST(PlotAxes, TicksAreRoundNumbersWithinTheRange) {
  struct Case {
    double low, high;
    int max_ticks;
    std::vector<double> ticks;
  };
  const std::vector<Case> cases = {
      {0, 400, 5, {0, 100, 200, 300, 400}}, {0, 400, 3, {0, 200, 400}},
      {0, 0.0123, 4, {0, 0.005, 0.01}},     {-0.5, 1, 4, {-0.5, 0, 0.5, 1}},
      {0, 999999, 3, {0, 500000}},          {7, 7, 4, {7, 7}},
  };
  for (const Case& c : cases) {
    const std::vector<double> ticks = nice_ticks(c.low, c.high, c.max_ticks);
    ASSERT_EQ(ticks.size(), c.ticks.size()) << c.low << " to " << c.high;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
      EXPECT_NEAR(ticks[i], c.ticks[i], 1e-12);
    }
  }
  EXPECT_EQ(tick_label(0.005, 0.005), "0.005");
  EXPECT_EQ(tick_label(0.0, 0.0025), "0.0000");
  EXPECT_EQ(tick_label(0.0075, 0.0025), "0.0075");
  EXPECT_EQ(tick_label(2.5, 0.5), "2.5");
  EXPECT_EQ(tick_label(500000, 500000), "500000");
  EXPECT_EQ(tick_label(-0.5, 0.5), "-0.5");
}

TEST(PlotAxes, FrameMapsTheRangeOntoTheBoxEnds) {
  const PlotFrame frame{{10, 20, 110, 70}, 0.0, 400.0, -1.0, 1.0};
  EXPECT_EQ(frame.px(0.0), 10);
  EXPECT_EQ(frame.px(400.0), 109);
  EXPECT_EQ(frame.py(-1.0), 69);
  EXPECT_EQ(frame.py(1.0), 20);
  EXPECT_EQ(frame.py(0.0), 44);  // halfway: 24.5 rows up, rounded up
  EXPECT_DOUBLE_EQ(frame.x_at(0), 0.0);
  EXPECT_DOUBLE_EQ(frame.x_at(99), 400.0);
  EXPECT_EQ(frame.px(1e300), 10 + 1000000);  // far out stays far out, no overflow
}

TEST(PlotAxes, AxesKeepTheCanvasSelectionsAndLabelTheirTicks) {
  testing::RecordingCanvas canvas;
  draw_axes(canvas, {{50, 10, 250, 110}, 0.0, 400.0, 0.0, 1.0}, kBlack);
  EXPECT_THAT(canvas.errors(), IsEmpty());
  int ticks = 0;
  for (const std::string& call : canvas.calls()) {
    ticks += call.rfind("line_to", 0) == 0 ? 1 : 0;
  }
  EXPECT_EQ(ticks, 3 + 3);  // 0..400 by 200 below, 0..1 by 0.5 at the left
}

}  // namespace
}  // namespace wandrix
