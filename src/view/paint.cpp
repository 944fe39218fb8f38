#include "view/paint.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>

#include "model/portable_math.h"
#include "view/chain_cover.h"
#include "view/density.h"
#include "view/painting.h"

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

// The samples from the cursor up to end (excluded).
void draw_samples(const Projection& view, const Chain& chain, Canvas& canvas,
                  const ChainStyle& style, DrawCursor& at, std::size_t end) {
  for (; at.next < end; ++at.next) {
    const Point p = sample_point(view, chain, at.next);
    if (p == at.last && at.last_in_colour) {
      continue;
    }
    if (style.show_trajectory) {
      if (at.position != at.last) {
        canvas.move_to(at.last.x, at.last.y);
      }
      canvas.line_to(p.x, p.y);
      at.position = p;
    }
    draw_dot(canvas, p, style.dot_radius);
    at.last = p;
    at.last_in_colour = true;
  }
}

// The same calls as draw_samples for the steps keep holds, found without
// projecting the samples in between: a step whose repeat of the dot before
// it draws nothing is never kept.
void draw_kept_samples(const Projection& view, const Chain& chain, Canvas& canvas,
                       std::size_t first, const ChainStyle& style, const KeepFlags& keep,
                       DrawCursor& at, std::size_t end) {
  for (; at.next < end; ++at.next) {
    const std::size_t i = at.next;
    const std::uint8_t kept = keep[i - first];
    if (kept == 0) {
      continue;
    }
    const Point p = sample_point(view, chain, i);
    if (style.show_trajectory && (kept & kKeepLine) != 0) {
      const Point last = sample_point(view, chain, i - 1);
      if (at.position != last) {
        canvas.move_to(last.x, last.y);
      }
      canvas.line_to(p.x, p.y);
      at.position = p;
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
  for (const int k : shown_chain_numbers(sim)) {
    chains.push_back(&sim.chains[static_cast<std::size_t>(k - 1)]);
  }
  return chains;
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

std::vector<int> shown_chain_numbers(const Simulation& sim) {
  std::vector<int> numbers;
  if (sim.shown_chain == 0) {
    for (int k = sim.nchains; k >= 1; --k) {
      numbers.push_back(k);
    }
  } else if (sim.shown_chain >= 1 && sim.shown_chain <= kMaxChains) {
    numbers.push_back(sim.shown_chain);
  }
  return numbers;
}

void paint_added_samples(Simulation& sim, Canvas& canvas) {
  const Projection view(sim);
  const ChainStyle style{sim.dot_radius, sim.show_trajectory, false};
  for (Chain* chain : chains_to_draw(sim)) {
    const std::size_t shown = chain->painted_samples;
    if (shown >= chain->xs.size()) {
      continue;
    }
    draw_chain(view, *chain, canvas, static_cast<int>(shown == 0 ? 0 : shown - 1), style);
    chain->painted_samples = chain->xs.size();
  }
}

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
  DrawCursor at;
  draw_chain_part(view, chain, canvas, static_cast<std::size_t>(first < 0 ? 0 : first),
                  chain.xs.size(), style, keep, at, std::numeric_limits<std::size_t>::max());
}

bool draw_chain_part(const Projection& view, const Chain& chain, Canvas& canvas, std::size_t first,
                     std::size_t count, const ChainStyle& style, const KeepFlags* keep,
                     DrawCursor& at, std::size_t budget) {
  const ChainObjects objects{canvas.create_pen(kStartDot), canvas.create_brush(kStartDot),
                             canvas.create_pen(chain.colour), canvas.create_brush(chain.colour)};
  const std::size_t n = std::min(count, chain.xs.size());
  bool done = true;
  if (first < n && chain.ys.size() >= n) {
    ObjectHandle old_pen = 0;
    ObjectHandle old_brush = 0;
    if (!at.started) {
      const Point start = sample_point(view, chain, first);
      canvas.move_to(start.x, start.y);
      const bool white = first == 0 && !style.colour_first_dot;
      old_pen = canvas.select(white ? objects.white_pen : objects.pen);
      old_brush = canvas.select(white ? objects.white_brush : objects.brush);
      if (keep == nullptr || ((*keep)[0] & kKeepDot) != 0) {
        draw_dot(canvas, start, style.dot_radius);
      }
      if (white) {
        canvas.select(objects.pen);
        canvas.select(objects.brush);
      }
      at = {true, first + 1, start, start, !white};
    } else {
      canvas.move_to(at.position.x, at.position.y);
      old_pen = canvas.select(objects.pen);
      old_brush = canvas.select(objects.brush);
    }
    const std::size_t end = n - at.next > budget ? at.next + budget : n;
    if (keep != nullptr) {
      draw_kept_samples(view, chain, canvas, first, style, *keep, at, end);
    } else {
      draw_samples(view, chain, canvas, style, at, end);
    }
    done = at.next >= n;
    canvas.select(old_pen);
    canvas.select(old_brush);
  }
  canvas.delete_object(objects.white_pen);
  canvas.delete_object(objects.white_brush);
  canvas.delete_object(objects.pen);
  canvas.delete_object(objects.brush);
  return done;
}

void draw_chain(Simulation& sim, const Chain& chain, Canvas& canvas, int first,
                const ChainStyle& style) {
  draw_chain(Projection(sim), chain, canvas, first, style);
}

void paint(Simulation& sim, Canvas& canvas, const Rect& rect, bool for_export, Coverage* coverage,
           DensityCounts* density) {
  Painting painting(sim, canvas, rect, for_export, coverage, density);
  painting.advance(canvas, std::numeric_limits<std::size_t>::max());
}

Painting::Painting(Simulation& sim, Canvas& canvas, const Rect& rect, bool for_export,
                   Coverage* coverage, DensityCounts* density)
    : sim_(sim),
      coverage_(coverage),
      for_export_(for_export),
      // A walk in progress shows its own cursor until it ends.
      own_cursor_(!sim.walking),
      view_(sim),
      style_{sim.dot_radius, sim.show_trajectory, false} {
  if (own_cursor_) {
    sim.host().set_cursor(Cursor::wait);
  }
  sim.draw_from_step = sim.run_first_step;
  // The density's colours follow its largest count: it is always drawn whole,
  // at once (counting the samples added since the last paint is quick).
  full_ = for_export || sim.full_redraw || sim.density_view;
  if (full_) {
    sim.draw_from_step = 0;
    const StockObject background = for_export ? StockObject::white_brush : StockObject::black_brush;
    canvas.fill_rect(rect, canvas.stock_object(background));
  }
  if (sim.density_view) {
    paint_density(sim, view_, canvas, rect, for_export, density);
  }
  const ObjectHandle hill_pen = canvas.create_pen(for_export ? kExportContour : kWindowContour);
  if (!sim.hills.empty()) {
    const ObjectHandle old_pen = canvas.select(hill_pen);
    for (const Hill& hill : sim.hills) {
      draw_hill_contours(sim, view_, canvas, hill);
    }
    canvas.select(old_pen);
  }
  canvas.delete_object(hill_pen);
  const bool incremental = sim.draw_from_step > 0;
  if (!sim.density_view) {
    chains_ = chains_to_draw(sim);
  }
  for (const Chain* chain : chains_) {
    firsts_.push_back(first_sample(sim, *chain, incremental));
    counts_.push_back(chain->xs.size());
  }
  keeps_.resize(chains_.size());
  // Only a full paint leaves out the hidden steps: the samples a "Continue
  // walking" adds are mostly new ground, and covering ten thousand of them
  // costs four times what drawing them does.
  covering_ = coverage != nullptr && !incremental && !sim.density_view;
  if (covering_) {
    coverage->clear();
  }
  for (std::size_t c = 0; c < chains_.size(); ++c) {
    if (firsts_[c] < counts_[c]) {
      samples_ += counts_[c] - firsts_[c];
      work_total_ += (covering_ ? 2 : 1) * (counts_[c] - firsts_[c]);
    }
  }
  chain_ = chains_.size();  // the cover goes from the last chain drawn back
  stage_ = covering_ ? Stage::cover : Stage::draw;
  if (!covering_) {
    chain_ = 0;
  }
}

bool Painting::advance(Canvas& canvas, std::size_t budget) {
  while (stage_ != Stage::done && budget > 0) {
    const std::size_t before = work_done_;
    if (stage_ == Stage::cover) {
      advance_cover(budget);
    } else {
      advance_draw(canvas, budget);
    }
    const std::size_t spent = std::max<std::size_t>(work_done_ - before, 1);
    budget = budget > spent ? budget - spent : 0;
  }
  return stage_ == Stage::done;
}

void Painting::advance_cover(std::size_t budget) {
  if (chain_ == 0) {
    stage_ = Stage::draw;
    return;
  }
  const std::size_t c = chain_ - 1;
  const Chain& chain = *chains_[c];
  if (firsts_[c] >= counts_[c] || chain.ys.size() < counts_[c]) {
    --chain_;
    return;
  }
  if (!keeps_[c]) {
    keeps_[c].emplace();
    cover_ = begin_cover(view_, chain, firsts_[c], counts_[c], *keeps_[c]);
  }
  const std::size_t from = cover_.i;
  const bool done =
      cover_chain_part(view_, chain, firsts_[c], style_, *coverage_, *keeps_[c], cover_, budget);
  work_done_ += from - cover_.i;
  if (done) {
    --chain_;
  }
}

void Painting::advance_draw(Canvas& canvas, std::size_t budget) {
  if (chain_ >= chains_.size()) {
    finish();
    return;
  }
  Chain& chain = *chains_[chain_];
  const std::size_t from = draw_.started ? draw_.next : firsts_[chain_];
  const bool done = draw_chain_part(view_, chain, canvas, firsts_[chain_], counts_[chain_], style_,
                                    keeps_[chain_] ? &*keeps_[chain_] : nullptr, draw_, budget);
  work_done_ += draw_.started ? draw_.next - from : 0;
  if (done) {
    if (!for_export_) {
      chain.painted_samples = counts_[chain_];
    }
    keeps_[chain_].reset();
    draw_ = {};
    ++chain_;
  }
}

void Painting::finish() {
  stage_ = Stage::done;
  sim_.full_redraw = true;
  if (own_cursor_) {
    sim_.host().set_cursor(Cursor::arrow);
  }
}

double Painting::fraction_done() const {
  if (stage_ == Stage::done) {
    return 1.0;
  }
  return work_total_ == 0 ? 0.0
                          : static_cast<double>(work_done_) / static_cast<double>(work_total_);
}

}  // namespace wandrix
