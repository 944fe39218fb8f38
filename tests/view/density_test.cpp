// The density view: samples counted per pixel, the colour scale, the picture
// on the surface and in the exported forms.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "emf_test_support.h"
#include "recording_canvas.h"
#include "view/density.h"
#include "view/emf_canvas.h"
#include "view/paint.h"
#include "view/picture_export.h"
#include "view/raster_canvas.h"
#include "view/svg_canvas.h"

namespace wandrix {
namespace {

constexpr std::uint32_t px(Colour c) { return RasterCanvas::pixel_of(c); }

// Chains over one hill by the left wall, all shown.
void walk(Simulation& sim, int steps, bool rotation = false, int chains = 2) {
  sim.set_chain_count(chains);
  sim.set_shown_chain(0);
  sim.add_confirmed_hill(Hill{"h", 60, 200, 50, 40, 0.4, 1, 1});
  sim.allow_rotation = rotation;
  sim.angle_x = rotation ? 0.5 : 0.0;
  sim.angle_y = rotation ? -0.3 : 0.0;
  sim.nsteps = steps;
  sim.rn_seed = 99;
  sim.clear();
  sim.start_walking();
}

// The chains paint shows.
std::vector<Chain*> shown(Simulation& sim) {
  if (sim.shown_chain != 0) {
    return {&sim.chains[static_cast<std::size_t>(sim.shown_chain - 1)]};
  }
  return sim.nchains == 1 ? std::vector<Chain*>{&sim.chains[0]}
                          : std::vector<Chain*>{&sim.chains[1], &sim.chains[0]};
}

// Every pixel's count, brought up to date first.
std::vector<std::uint32_t> counts_of(Simulation& sim, DensityCounts& counts) {
  counts.update(shown(sim), Projection(sim), client_rect(sim));
  std::vector<std::uint32_t> out;
  for (int y = 0; y < sim.client_height(); ++y) {
    for (int x = 0; x < static_cast<int>(sim.width); ++x) {
      out.push_back(counts.at(x, y));
    }
  }
  return out;
}

TEST(DensityCounts, CountEverySampleOnItsPixel) {
  for (const bool rotation : {false, true}) {
    SCOPED_TRACE(rotation ? "rotated" : "flat");
    Simulation sim;
    walk(sim, 3000, rotation);
    std::map<std::pair<int, int>, std::uint32_t> expected;
    for (const Chain* chain : shown(sim)) {
      for (std::size_t i = 0; i < chain->xs.size(); ++i) {
        int x = chain->xs[i];
        int y = chain->ys[i];
        project_point(sim, x, y, rotation ? chain->zs[i] : 0.0);
        ++expected[{x, y}];
      }
    }
    DensityCounts counts;
    counts.update(shown(sim), Projection(sim), Rect{10, 20, 300, 390});
    std::uint32_t most = 0;
    for (int y = 0; y < 400; ++y) {
      for (int x = 0; x < 400; ++x) {
        const bool inside = x >= 10 && x < 300 && y >= 20 && y < 390;
        const auto it = expected.find({x, y});
        const std::uint32_t want = inside && it != expected.end() ? it->second : 0;
        ASSERT_EQ(counts.at(x, y), want) << x << "," << y;
        most = std::max(most, want);
      }
    }
    EXPECT_EQ(counts.most(), most);
    EXPECT_GT(most, 1u);
  }
}

// Kept from paint to paint, the counts must always equal a fresh count: only
// appended samples may be added, anything else starts again.
TEST(DensityCounts, KeptCountsFollowEveryChange) {
  struct Case {
    const char* name;
    int chains;
    bool rotated;  // the first walk
    std::function<void(Simulation&)> change;
  };
  const Case cases[] = {
      {"continue walking", 2, false, [](Simulation& s) { s.continue_walking(); }},
      {"a new walk", 2, true, [](Simulation& s) { s.start_walking(); }},
      {"a new walk as long", 1, false, [](Simulation& s) { s.start_walking(); }},
      {"resize", 2, false, [](Simulation& s) { s.rescale(300, 350); }},
      {"resize and back", 2, false,
       [](Simulation& s) { s.rescale(300, 350), s.rescale(400, 400); }},
      {"rotation on", 2, false, [](Simulation& s) { s.toggle_rotation(), s.start_walking(); }},
      {"another angle", 2, true, [](Simulation& s) { s.angle_x = 0.7; }},
      {"heights dropped", 2, true, [](Simulation& s) { s.toggle_rotation(); }},
      {"one chain shown", 2, false, [](Simulation& s) { s.set_shown_chain(1); }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Simulation sim;
    walk(sim, 2000, k.rotated, k.chains);
    DensityCounts kept;
    counts_of(sim, kept);
    k.change(sim);
    DensityCounts fresh;
    EXPECT_EQ(counts_of(sim, kept), counts_of(sim, fresh));
  }
}

double luminance(Colour c) { return 0.3 * red_of(c) + 0.59 * green_of(c) + 0.11 * blue_of(c); }

TEST(DensityColour, RisesFromTheBackgroundAndStaysApartFromTheContours) {
  struct Scale {
    bool for_export;
    Colour background;
    Colour contour;
    double direction;  // brighter (+1) or darker (-1) with more samples
  };
  for (const Scale s :
       {Scale{false, kBlack, make_colour(255, 255, 0), 1.0}, Scale{true, kWhite, kBlack, -1.0}}) {
    SCOPED_TRACE(s.for_export ? "export" : "window");
    const std::uint32_t most = 1000000;
    double last = s.direction * luminance(s.background);
    for (std::uint32_t c = 1; c <= most; c *= 10) {
      const Colour colour = density_colour(c, most, s.for_export);
      const double level = s.direction * luminance(colour);
      EXPECT_GT(level, last) << c;
      last = level;
      // Contours drawn on any density stay visible.
      EXPECT_GT(std::abs(luminance(colour) - luminance(s.contour)), 40.0) << c;
    }
    // Counts between the powers of ten fall between their colours, one
    // sample at the bottom of the scale, the most at the top.
    EXPECT_EQ(density_colour(1, most, s.for_export), density_colour(1, 2, s.for_export));
    EXPECT_EQ(density_colour(most, most, s.for_export), density_colour(2, 2, s.for_export));
    EXPECT_NE(density_colour(100, most, s.for_export), density_colour(200, most, s.for_export));
  }
}

TEST(DensityPaint, SurfaceShowsTheDensityUnderTheContours) {
  for (const bool for_export : {false, true}) {
    SCOPED_TRACE(for_export ? "export" : "window");
    Simulation sim;
    walk(sim, 5000);
    sim.density_view = true;
    RasterCanvas surface(400, 400);
    paint(sim, surface, client_rect(sim), for_export);
    // The contours alone, drawn as the ordinary picture draws them, in a
    // colour of their own.
    RasterCanvas contours(400, 400);
    const Colour contour = for_export ? kExportContour : kWindowContour;
    const Colour marker = make_colour(1, 2, 3);
    contours.select(contours.create_pen(marker));
    draw_hill_contours(sim, contours, sim.hills[0]);
    const DensityCounts expected = [&sim] {
      DensityCounts counts;
      counts.update(shown(sim), Projection(sim), client_rect(sim));
      return counts;
    }();
    int sampled = 0;
    for (int y = 0; y < 400; ++y) {
      for (int x = 0; x < 400; ++x) {
        const std::uint32_t c = expected.at(x, y);
        std::uint32_t want = c == 0 ? px(for_export ? kExportBackground : kWindowBackground)
                                    : px(density_colour(c, expected.most(), for_export));
        if (contours.pixel(x, y) == px(marker)) {
          want = px(contour);
        }
        ASSERT_EQ(surface.pixel(x, y), want) << x << "," << y;
        sampled += c > 0 ? 1 : 0;
      }
    }
    EXPECT_GT(sampled, 5000);
  }
}

// The metafile holds the density as one image, not as 40,000 samples: its
// pixels are those of the PNG picture (bottom-up rows of blue, green, red).
TEST(DensityPaint, MetafileHoldsOneImageOfThePicture) {
  Simulation sim;
  walk(sim, 20000);
  sim.density_view = true;
  RasterCanvas raster(400, 400);
  paint(sim, raster, client_rect(sim), true);
  const std::vector<std::uint8_t> emf =
      metafile_picture(sim, client_rect(sim), std::nullopt, "a", "b");
  EXPECT_LT(emf.size(), 400u * 1200u + 20000u);
  int images = 0;
  for (std::size_t at = testing::u32_at(emf, 4); at + 8 <= emf.size();
       at += testing::u32_at(emf, at + 4)) {
    if (testing::u32_at(emf, at) != EmfCanvas::kStretchDiBits) {
      continue;
    }
    ++images;
    ASSERT_EQ(testing::u32_at(emf, at + 40), 400u);  // source width and height
    ASSERT_EQ(testing::u32_at(emf, at + 44), 400u);
    const std::size_t bits = at + testing::u32_at(emf, at + 56);
    for (const Point p : {Point{0, 0}, Point{60, 200}, Point{399, 399}, Point{30, 180}}) {
      const std::size_t o =
          bits + static_cast<std::size_t>(399 - p.y) * 1200 + 3 * static_cast<std::size_t>(p.x);
      const std::uint32_t pixel = 0xFF000000u | (emf[o + 2] << 16) | (emf[o + 1] << 8) | emf[o];
      if (raster.pixel(p.x, p.y) != px(kExportContour)) {  // contours lie on top
        EXPECT_EQ(pixel, raster.pixel(p.x, p.y)) << p.x << "," << p.y;
      }
    }
  }
  EXPECT_EQ(images, 1);
}

TEST(DrawImage, TheDefaultFillsRunsWithOneBrushPerColour) {
  testing::RecordingCanvas canvas;
  const std::uint32_t red = px(make_colour(255, 0, 0));
  const std::uint32_t blue = px(make_colour(0, 0, 255));
  const Image image{3, 2, {red, red, blue, blue, blue, blue}};
  canvas.draw_image(5, 7, image);
  EXPECT_TRUE(canvas.errors().empty());
  std::vector<std::string> fills;
  int brushes = 0;
  for (const std::string& call : canvas.calls()) {
    if (call.rfind("fill_rect", 0) == 0) {
      fills.push_back(call.substr(0, call.find(" brush")));
    }
    brushes += call.rfind("create_brush", 0) == 0 ? 1 : 0;
  }
  EXPECT_EQ(fills, (std::vector<std::string>{"fill_rect 5 7 7 8", "fill_rect 7 7 8 8",
                                             "fill_rect 5 8 8 9"}));
  EXPECT_EQ(brushes, 2);
}

TEST(DrawImage, RasterCopiesThePixelsClippedToTheSurface) {
  struct Case {
    int left, top;
  };
  for (const Case k : {Case{0, 0}, Case{-2, -1}, Case{3, 2}, Case{-10, 0}, Case{4, 4}}) {
    SCOPED_TRACE(std::to_string(k.left) + "," + std::to_string(k.top));
    RasterCanvas canvas(5, 4);
    Image image{3, 3, {}};
    for (std::uint32_t i = 0; i < 9; ++i) {
      image.pixels.push_back(0xFF000000u | (i + 1));
    }
    canvas.draw_image(k.left, k.top, image);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 5; ++x) {
        const int ix = x - k.left;
        const int iy = y - k.top;
        const bool covered = ix >= 0 && ix < 3 && iy >= 0 && iy < 3;
        EXPECT_EQ(canvas.pixel(x, y),
                  covered ? image.pixels[static_cast<std::size_t>(iy * 3 + ix)] : 0xFF000000u)
            << x << "," << y;
      }
    }
  }
}

TEST(DrawImage, SvgEmbedsThePngAsBase64) {
  // Base64 of one, two and three bytes, as RFC 4648 gives them.
  for (const auto& [bytes, text] : std::vector<std::pair<std::vector<std::uint8_t>, std::string>>{
           {{'M'}, "TQ=="},
           {{'M', 'a'}, "TWE="},
           {{'M', 'a', 'n'}, "TWFu"},
           {{0xFB, 0xFF, 0xBF, 'f', 'o', 'o', 'b'}, "+/+/Zm9vYg=="}}) {
    SvgCanvas canvas(10, 10, "", [png = bytes](const std::uint32_t*, int, int) { return png; });
    canvas.draw_image(1, 2, Image{3, 4, std::vector<std::uint32_t>(12, 0xFF000000u)});
    const std::string svg = canvas.finish();
    EXPECT_NE(svg.find("<image x=\"1\" y=\"2\" width=\"3\" height=\"4\""), std::string::npos);
    EXPECT_NE(svg.find("base64," + text + "\"/>"), std::string::npos) << svg;
  }
}

}  // namespace
}  // namespace wandrix
