#include "view/paint.h"

#include <cmath>
#include <cstddef>
#include <optional>

#include "model/portable_math.h"
#include "view/chain_cover.h"
#include "view/density.h"

namespace wandrix {
namespace {

// Squared radii of the inner (50 %) and outer (95 %) contours.
constexpr double kInnerContour = 1.3863;
constexpr double kOuterContour = 5.9915;

// The hill's shape as drawn: a contour point of NaN or infinity has no pixel.
bool contour_drawable(const Hill& hill) {
  return std::isfinite(hill.mean_x) && std::isfinite(hill.mean_y) && std::isfinite(hill.stddev_x) &&
         hill.correlation >= -1.0 && hill.correlation <= 1.0;
}

struct ContourShape {
  double mx, my, height, ks_a, ks_b, c, d;

  void point(double t, int& x, int& y) const {
    const auto [sin_t, cos_t] = math::sincos(t);
    const double u = ks_a * cos_t;
    const double v = ks_b * sin_t;
    x = to_pixel(mx + u * c - v * d);
    y = to_pixel((height - my) - (v * c + u * d));
  }
};

// One closed polygon of 32 sides; t runs up to and including a full turn.
void draw_contour(const ContourShape& shape, const Projection& view, Canvas& canvas) {
  const double q = kPi / 4.0;
  const double step = q * 8.0 * 0.03125;
  const double end = q * 8.0 + step * 0.5;
  int x = 0;
  int y = 0;
  shape.point(0.0, x, y);
  view.project(x, y, 0.0);
  canvas.move_to(x, y);
  for (double t = step; t < end; t += step) {
    shape.point(t, x, y);
    view.project(x, y, 0.0);
    canvas.line_to(x, y);
  }
}

struct ChainObjects {
  ObjectHandle white_pen, white_brush, pen, brush;
};

void draw_dot(Canvas& canvas, Point p, int r) {
  canvas.ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
}

void draw_samples(const Projection& view, const Chain& chain, Canvas& canvas, std::size_t first,
                  const ChainStyle& style) {
  const bool white = first == 0 && !style.colour_first_dot;
  Point last = sample_point(view, chain, first);
  Point position = last;  // the canvas's current position
  bool last_in_colour = !white;
  const std::size_t n = chain.xs.size();
  for (std::size_t i = first + 1; i < n; ++i) {
    const Point p = sample_point(view, chain, i);
    if (p == last && last_in_colour) {
      continue;
    }
    if (style.show_trajectory) {
      if (position != last) {
        canvas.move_to(last.x, last.y);
      }
      canvas.line_to(p.x, p.y);
      position = p;
    }
    draw_dot(canvas, p, style.dot_radius);
    last = p;
    last_in_colour = true;
  }
}

// The same calls as draw_samples for the steps keep holds, found without
// projecting the samples in between: a step whose repeat of the dot before
// it draws nothing is never kept.
void draw_kept_samples(const Projection& view, const Chain& chain, Canvas& canvas,
                       std::size_t first, const ChainStyle& style, const KeepFlags& keep) {
  const std::size_t n = chain.xs.size();
  Point position = sample_point(view, chain, first);
  for (std::size_t i = first + 1; i < n; ++i) {
    const std::uint8_t kept = keep[i - first];
    if (kept == 0) {
      continue;
    }
    const Point p = sample_point(view, chain, i);
    if (style.show_trajectory && (kept & kKeepLine) != 0) {
      const Point last = sample_point(view, chain, i - 1);
      if (position != last) {
        canvas.move_to(last.x, last.y);
      }
      canvas.line_to(p.x, p.y);
      position = p;
    }
    if ((kept & kKeepDot) != 0) {
      draw_dot(canvas, p, style.dot_radius);
    }
  }
}

// An incremental paint continues each chain from the last sample the window
// shows: after a walk with exchanges a chain holds more samples than steps,
// and starting at the step count would draw much of the old walk again, on
// top of the chains drawn after it.
std::size_t first_sample(const Simulation& sim, const Chain& chain, bool incremental) {
  const std::size_t shown = chain.painted_samples;
  if (!incremental || shown == 0 || shown > chain.xs.size()) {
    return static_cast<std::size_t>(sim.draw_from_step < 0 ? 0 : sim.draw_from_step);
  }
  return shown - 1;
}

// The chains a paint draws, in drawing order (chain 1 last, on top).
std::vector<Chain*> chains_to_draw(Simulation& sim) {
  std::vector<Chain*> chains;
  if (sim.steps_done <= 0) {
    return chains;
  }
  if (sim.shown_chain == 0) {
    for (int k = sim.nchains; k >= 1; --k) {
      chains.push_back(&sim.chains[static_cast<std::size_t>(k - 1)]);
    }
  } else if (sim.shown_chain >= 1 && sim.shown_chain <= kMaxChains) {
    chains.push_back(&sim.chains[static_cast<std::size_t>(sim.shown_chain - 1)]);
  }
  return chains;
}

void paint_chains(Simulation& sim, const Projection& view, Canvas& canvas, bool for_export,
                  Coverage* coverage) {
  const std::vector<Chain*> chains = chains_to_draw(sim);
  const ChainStyle style{sim.dot_radius, sim.show_trajectory, false};
  const bool incremental = sim.draw_from_step > 0;
  std::vector<std::size_t> firsts;
  firsts.reserve(chains.size());
  for (const Chain* chain : chains) {
    firsts.push_back(first_sample(sim, *chain, incremental));
  }
  // Only a full paint leaves out the hidden steps: the samples a "Continue
  // walking" adds are mostly new ground, and covering ten thousand of them
  // costs four times what drawing them does.
  std::vector<std::optional<KeepFlags>> keeps(chains.size());
  if (coverage != nullptr && !incremental) {
    coverage->clear();
    for (std::size_t c = chains.size(); c-- > 0;) {
      if (firsts[c] < chains[c]->xs.size() && chains[c]->ys.size() == chains[c]->xs.size()) {
        keeps[c] = cover_chain(view, *chains[c], firsts[c], style, *coverage);
      }
    }
  }
  for (std::size_t c = 0; c < chains.size(); ++c) {
    draw_chain_kept(view, *chains[c], canvas, static_cast<int>(firsts[c]), style,
                    keeps[c] ? &*keeps[c] : nullptr);
    if (!for_export) {
      chains[c]->painted_samples = chains[c]->xs.size();
    }
  }
}

void paint_density(Simulation& sim, const Projection& view, Canvas& canvas, const Rect& rect,
                   bool for_export, DensityCounts* kept) {
  DensityCounts fresh;
  DensityCounts& counts = kept != nullptr ? *kept : fresh;
  counts.update(chains_to_draw(sim), view, rect);
  const Image image = counts.image(for_export);
  if (!image.pixels.empty()) {
    canvas.draw_image(rect.left, rect.top, image);
  }
}

}  // namespace

Rect client_rect(const Simulation& sim) {
  return Rect{0, 0, to_pixel(sim.width), to_pixel(sim.height)};
}

void draw_hill_contours(const Simulation& sim, const Projection& view, Canvas& canvas,
                        const Hill& hill) {
  if (!contour_drawable(hill)) {
    return;
  }
  const double q = kPi / 4.0;
  const double a = std::sqrt(1.0 + hill.correlation);
  const double b = std::sqrt(1.0 - hill.correlation);
  const double s = hill.stddev_x;
  for (const double squared : {kInnerContour, kOuterContour}) {
    const double k = std::sqrt(squared);
    const ContourShape shape{hill.mean_x, hill.mean_y,  sim.height,  k * s * a,
                             k * s * b,   math::cos(q), math::sin(q)};
    draw_contour(shape, view, canvas);
  }
}

void draw_hill_contours(Simulation& sim, Canvas& canvas, const Hill& hill) {
  draw_hill_contours(sim, Projection(sim), canvas, hill);
}

void draw_chain(const Projection& view, const Chain& chain, Canvas& canvas, int first,
                const ChainStyle& style) {
  draw_chain_kept(view, chain, canvas, first, style, nullptr);
}

void draw_chain_kept(const Projection& view, const Chain& chain, Canvas& canvas, int first,
                     const ChainStyle& style, const KeepFlags* keep) {
  const ChainObjects objects{canvas.create_pen(kStartDot), canvas.create_brush(kStartDot),
                             canvas.create_pen(chain.colour), canvas.create_brush(chain.colour)};
  const std::size_t n = chain.xs.size();
  const auto f = static_cast<std::size_t>(first < 0 ? 0 : first);
  if (f < n && chain.ys.size() == n) {
    const Point start = sample_point(view, chain, f);
    canvas.move_to(start.x, start.y);
    const bool white = f == 0 && !style.colour_first_dot;
    const ObjectHandle old_pen = canvas.select(white ? objects.white_pen : objects.pen);
    const ObjectHandle old_brush = canvas.select(white ? objects.white_brush : objects.brush);
    if (keep == nullptr || ((*keep)[0] & kKeepDot) != 0) {
      draw_dot(canvas, start, style.dot_radius);
    }
    if (white) {
      canvas.select(objects.pen);
      canvas.select(objects.brush);
    }
    if (keep != nullptr) {
      draw_kept_samples(view, chain, canvas, f, style, *keep);
    } else {
      draw_samples(view, chain, canvas, f, style);
    }
    canvas.select(old_pen);
    canvas.select(old_brush);
  }
  canvas.delete_object(objects.white_pen);
  canvas.delete_object(objects.white_brush);
  canvas.delete_object(objects.pen);
  canvas.delete_object(objects.brush);
}

void draw_chain(Simulation& sim, const Chain& chain, Canvas& canvas, int first,
                const ChainStyle& style) {
  draw_chain(Projection(sim), chain, canvas, first, style);
}

void paint(Simulation& sim, Canvas& canvas, const Rect& rect, bool for_export, Coverage* coverage,
           DensityCounts* density) {
  Host& host = sim.host();
  host.set_cursor(Cursor::wait);
  sim.draw_from_step = sim.run_first_step;
  // The density's colours follow its largest count: it is always drawn whole.
  if (for_export || sim.full_redraw || sim.density_view) {
    sim.draw_from_step = 0;
    const StockObject background = for_export ? StockObject::white_brush : StockObject::black_brush;
    canvas.fill_rect(rect, canvas.stock_object(background));
  }
  const Projection view(sim);
  if (sim.density_view) {
    paint_density(sim, view, canvas, rect, for_export, density);
  }
  const ObjectHandle hill_pen = canvas.create_pen(for_export ? kExportContour : kWindowContour);
  if (!sim.hills.empty()) {
    const ObjectHandle old_pen = canvas.select(hill_pen);
    for (const Hill& hill : sim.hills) {
      draw_hill_contours(sim, view, canvas, hill);
    }
    canvas.select(old_pen);
  }
  canvas.delete_object(hill_pen);
  if (!sim.density_view) {
    paint_chains(sim, view, canvas, for_export, coverage);
  }
  sim.full_redraw = true;
  host.set_cursor(Cursor::arrow);
}

}  // namespace wandrix
