// The density view: samples counted per pixel, the colour scale, the picture
// on the surface and in the exported forms.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fake_host.h"
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

// Two chains over one hill by the left wall, chain 2 shown too.
void walk(Simulation& sim, int steps, bool rotation = false) {
  sim.set_chain_count(2);
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

std::vector<Chain*> shown(Simulation& sim) { return {&sim.chains[1], &sim.chains[0]}; }

// The counts a fresh DensityCounts finds: every pixel of the client area.
std::vector<std::uint32_t> all_counts(const DensityCounts& counts, const Rect& rect) {
  std::vector<std::uint32_t> out;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      out.push_back(counts.at(x, y));
    }
  }
  return out;
}

std::vector<std::uint32_t> fresh_counts(Simulation& sim) {
  DensityCounts counts;
  counts.update(shown(sim), Projection(sim), client_rect(sim));
  return all_counts(counts, client_rect(sim));
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
    const Rect rect{10, 20, 300, 390};
    counts.update(shown(sim), Projection(sim), rect);
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
  const std::vector<std::pair<std::string, std::function<void(Simulation&)>>> changes = {
      {"continue walking", [](Simulation& s) { s.continue_walking(); }},
      {"clear and the same walk again", [](Simulation& s) { s.start_walking(); }},
      {"a walk of another seed as long",
       [](Simulation& s) {
         s.rn_seed = 5;
         s.clear();
         s.start_walking();
       }},
      {"resize", [](Simulation& s) { s.rescale(300, 350); }},
      {"resize and back",
       [](Simulation& s) {
         s.rescale(300, 350);
         s.rescale(400, 400);
       }},
      {"rotation on", [](Simulation& s) { s.toggle_rotation(), s.start_walking(); }},
      {"another angle",
       [](Simulation& s) {
         s.toggle_rotation();
         s.start_walking();
         s.angle_x = 0.7;
       }},
      {"heights dropped",
       [](Simulation& s) {
         s.toggle_rotation();
         s.start_walking();
         s.toggle_rotation();
       }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    Simulation sim;
    walk(sim, 2000);
    DensityCounts kept;
    kept.update(shown(sim), Projection(sim), client_rect(sim));
    change(sim);
    kept.update(shown(sim), Projection(sim), client_rect(sim));
    EXPECT_EQ(all_counts(kept, client_rect(sim)), fresh_counts(sim));
  }
  // A chain whose new walk is exactly as long as the one counted.
  {
    Simulation sim;
    walk(sim, 2000);
    sim.set_chain_count(1);
    sim.start_walking();
    DensityCounts kept;
    kept.update({&sim.chains[0]}, Projection(sim), client_rect(sim));
    sim.start_walking();
    kept.update({&sim.chains[0]}, Projection(sim), client_rect(sim));
    DensityCounts one;
    one.update({&sim.chains[0]}, Projection(sim), client_rect(sim));
    EXPECT_EQ(all_counts(kept, client_rect(sim)), all_counts(one, client_rect(sim)));
  }
  // Another set of chains.
  Simulation sim;
  walk(sim, 2000);
  DensityCounts kept;
  kept.update(shown(sim), Projection(sim), client_rect(sim));
  kept.update({&sim.chains[0]}, Projection(sim), client_rect(sim));
  DensityCounts one;
  one.update({&sim.chains[0]}, Projection(sim), client_rect(sim));
  EXPECT_EQ(all_counts(kept, client_rect(sim)), all_counts(one, client_rect(sim)));
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

// The window keeps its counts: after Continue walking the whole picture is
// drawn again (the scale's top moved), the same as a fresh paint.
TEST(DensityPaint, KeptCountsPaintAsAFreshCount) {
  Simulation sim;
  walk(sim, 3000);
  sim.density_view = true;
  RasterCanvas surface(400, 400);
  DensityCounts kept;
  paint(sim, surface, client_rect(sim), false, nullptr, &kept);
  sim.continue_walking();
  paint(sim, surface, client_rect(sim), false, nullptr, &kept);
  RasterCanvas fresh(400, 400);
  sim.full_redraw = true;
  paint(sim, fresh, client_rect(sim), false);
  EXPECT_TRUE(std::equal(surface.pixels(), surface.pixels() + 400 * 400, fresh.pixels()));
}

TEST(DensityPaint, ExportsCarryOneImageNotTheSamples) {
  testing::FakeHost host;
  Simulation sim(host);
  walk(sim, 20000);
  sim.density_view = true;
  const Rect client = client_rect(sim);
  // SVG: one embedded PNG from the host's encoder, no dots or lines.
  const std::string svg = svg_picture(sim, client, "t");
  ASSERT_EQ(host.png_sizes.size(), 1u);
  EXPECT_EQ(host.png_sizes[0], std::make_pair(400, 400));
  EXPECT_NE(svg.find("<image x=\"0\" y=\"0\" width=\"400\" height=\"400\""), std::string::npos);
  EXPECT_NE(svg.find("xlink:href=\"data:image/png;base64,"), std::string::npos);
  EXPECT_EQ(svg.find("<ellipse"), std::string::npos);
  EXPECT_LT(svg.size(), 20000u);  // the fake's PNG is small; 40,000 samples are not
  // EMF: one STRETCHDIBITS record whose pixels are those of the PNG picture.
  RasterCanvas raster(400, 400);
  paint(sim, raster, client, true);
  const std::vector<std::uint8_t> emf = metafile_picture(sim, client, std::nullopt, "a", "b");
  std::size_t at = emf[4] | (emf[5] << 8);
  int images = 0;
  while (at + 8 <= emf.size()) {
    const auto u32 = [&emf](std::size_t i) {
      return static_cast<std::uint32_t>(emf[i] | (emf[i + 1] << 8) | (emf[i + 2] << 16) |
                                        (emf[i + 3] << 24));
    };
    const std::uint32_t size = u32(at + 4);
    if (u32(at) == EmfCanvas::kStretchDiBits) {
      ++images;
      ASSERT_EQ(u32(at + 40), 400u);  // cxSrc
      ASSERT_EQ(u32(at + 44), 400u);  // cySrc
      const std::size_t bits = at + u32(at + 56);
      const std::size_t stride = 1200;
      // Bottom-up rows of blue, green, red.
      for (const Point p : {Point{0, 0}, Point{60, 200}, Point{399, 399}, Point{30, 180}}) {
        const std::size_t o = bits + static_cast<std::size_t>(399 - p.y) * stride + 3 * p.x;
        const std::uint32_t pixel = 0xFF000000u | (emf[o + 2] << 16) | (emf[o + 1] << 8) | emf[o];
        const std::uint32_t want = raster.pixel(p.x, p.y);
        // The contours are drawn over the image, so skip their pixels.
        if (want != px(kExportContour)) {
          EXPECT_EQ(pixel, want) << p.x << "," << p.y;
        }
      }
    }
    at += size;
  }
  EXPECT_EQ(images, 1);
  EXPECT_LT(emf.size(), 400u * 1200u + 20000u);
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
    SvgCanvas canvas(10, 10, "", [bytes](const std::uint32_t*, int, int) { return bytes; });
    canvas.draw_image(1, 2, Image{3, 4, std::vector<std::uint32_t>(12, 0xFF000000u)});
    const std::string svg = canvas.finish();
    EXPECT_NE(svg.find("<image x=\"1\" y=\"2\" width=\"3\" height=\"4\""), std::string::npos);
    EXPECT_NE(svg.find("base64," + text + "\"/>"), std::string::npos) << svg;
  }
  // Without an encoder, the runs of one colour as rectangles.
  SvgCanvas plain(10, 10, "");
  plain.draw_image(0, 0, Image{2, 1, {0xFFFF0000u, 0xFF0000FFu}});
  const std::string svg = plain.finish();
  EXPECT_NE(svg.find("<rect x=\"0\" y=\"0\" width=\"1\" height=\"1\" fill=\"#ff0000\"/>"),
            std::string::npos);
  EXPECT_NE(svg.find("<rect x=\"1\" y=\"0\" width=\"1\" height=\"1\" fill=\"#0000ff\"/>"),
            std::string::npos);
}

}  // namespace
}  // namespace wandrix
