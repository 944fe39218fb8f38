#include "view/diagnostics.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "model/autocorrelation.h"
#include "model/fixed_text.h"
#include "model/marginals.h"
#include "view/bitmap_font.h"
#include "view/plot_axes.h"
#include "view/sample_summary.h"

namespace wandrix {
namespace {

constexpr int kMargin = 8;
constexpr int kCaptionHeight = 14;
constexpr int kPictureWidth = 1000;
constexpr int kRowHeight = 190;
constexpr int kMinPlot = 12;  // a box smaller than this is left out

// A light tint of the chain's colour for the histogram's bars, so that the
// exact curve stays visible over them.
Colour tint(Colour c) {
  const auto mix = [](int v) { return (v * 2 + 255 * 3) / 5; };
  return make_colour(mix(red_of(c)), mix(green_of(c)), mix(blue_of(c)));
}

// A panel: its caption above, its plot box inside room for the tick labels.
struct Panel {
  Rect outer;
  [[nodiscard]] Rect box() const {
    return {outer.left + kAxisLabelWidth, outer.top + kCaptionHeight, outer.right - kMargin,
            outer.bottom - kAxisLabelHeight - 2};
  }
  [[nodiscard]] bool usable() const {
    return box().width() >= kMinPlot && box().height() >= kMinPlot;
  }
};

void caption(Canvas& canvas, const Panel& panel, const std::string& text) {
  draw_text(canvas, panel.outer.left + kAxisLabelWidth, panel.outer.top + 2, text, kDiagnosticsInk);
}

// Draws a polyline through (px, py) pairs with the pen selected, twice, one
// pixel apart, so that it stands out of the bars.
void draw_curve(Canvas& canvas, const std::vector<Point>& points) {
  for (const int offset : {0, -1}) {
    for (std::size_t i = 0; i < points.size(); ++i) {
      const Point p{points[i].x, points[i].y + offset};
      if (i == 0) {
        canvas.move_to(p.x, p.y);
      } else {
        canvas.line_to(p.x, p.y);
      }
    }
    if (!points.empty()) {
      // line_to leaves out its end pixel: the last point gets its own.
      canvas.line_to(points.back().x + 1, points.back().y + offset);
    }
  }
}

void draw_histogram(Canvas& canvas, const Panel& panel, const Histogram& histogram,
                    const ExactMarginal& marginal, Colour colour, const std::string& title) {
  caption(canvas, panel, title);
  if (!panel.usable()) {
    return;
  }
  PlotFrame frame{panel.box(), 0.0, marginal.extent(), 0.0, 1.0};
  std::vector<double> curve;
  double top = 0.0;
  for (int c = 0; c < frame.box.width(); ++c) {
    curve.push_back(marginal.density(frame.x_at(c)));
    top = std::max(top, curve.back());
  }
  for (std::size_t b = 0; b < histogram.counts.size(); ++b) {
    top = std::max(top, histogram.density(b));
  }
  frame.y_max = top > 0.0 ? top * 1.1 : 1.0;
  const ObjectHandle bars = canvas.create_brush(tint(colour));
  for (std::size_t b = 0; b < histogram.counts.size(); ++b) {
    const int left = frame.px(histogram.bin_low(b));
    const int right = std::max(left + 1, frame.px(histogram.bin_high(b)));
    canvas.fill_rect({left, frame.py(histogram.density(b)), right, frame.box.bottom}, bars);
  }
  canvas.delete_object(bars);
  std::vector<Point> points;
  for (std::size_t c = 0; c < curve.size(); ++c) {
    points.push_back({frame.box.left + static_cast<int>(c), frame.py(curve[c])});
  }
  const ObjectHandle pen = canvas.create_pen(kDiagnosticsInk);
  const ObjectHandle old = canvas.select(pen);
  draw_curve(canvas, points);
  canvas.select(old);
  canvas.delete_object(pen);
  draw_axes(canvas, frame, kDiagnosticsInk);
}

void draw_trace(Canvas& canvas, const Panel& panel, const std::vector<TraceColumn>& trace,
                std::size_t samples, double extent, Colour colour, const std::string& title) {
  caption(canvas, panel, title);
  if (!panel.usable()) {
    return;
  }
  const PlotFrame frame{panel.box(), 0.0, samples > 1 ? static_cast<double>(samples - 1) : 1.0, 0.0,
                        extent};
  // Column c of the summary covers the samples that fall on pixel column c.
  // Where a column holds a few samples the range is the line itself; where
  // it holds many, the range becomes a light band and the column's mean
  // shows how the chain drifts.
  const bool dense = samples > 2 * trace.size();
  const ObjectHandle range_pen = canvas.create_pen(dense ? tint(colour) : colour);
  const ObjectHandle old = canvas.select(range_pen);
  std::vector<Point> means;
  for (std::size_t c = 0; c < trace.size(); ++c) {
    if (!trace[c].used()) {
      continue;
    }
    const int x = frame.box.left + static_cast<int>(c);
    canvas.move_to(x, frame.py(trace[c].high));
    canvas.line_to(x, frame.py(trace[c].low) + 1);
    means.push_back({x, frame.py(trace[c].mean())});
  }
  const ObjectHandle mean_pen = canvas.create_pen(colour);
  if (dense) {
    canvas.select(mean_pen);
    draw_curve(canvas, means);
  }
  canvas.select(old);
  canvas.delete_object(mean_pen);
  canvas.delete_object(range_pen);
  draw_axes(canvas, frame, kDiagnosticsInk);
}

void draw_autocorrelation(Canvas& canvas, const Panel& panel, const std::vector<double>& rho,
                          Colour colour, const std::string& title) {
  caption(canvas, panel, title);
  if (!panel.usable() || rho.empty()) {
    return;
  }
  double low = -0.25;
  for (const double r : rho) {
    low = std::min(low, r);
  }
  const PlotFrame frame{panel.box(), 0.0, std::max(1.0, static_cast<double>(rho.size() - 1)),
                        std::floor(low * 4.0) / 4.0, 1.0};
  const ObjectHandle axis_pen = canvas.create_pen(make_colour(160, 160, 160));
  ObjectHandle old = canvas.select(axis_pen);
  canvas.move_to(frame.box.left, frame.py(0.0));
  canvas.line_to(frame.box.right, frame.py(0.0));
  const ObjectHandle pen = canvas.create_pen(colour);
  canvas.select(pen);
  // A stem per lag; where there are more lags than pixel columns, the stem
  // of the lag nearest each column's centre.
  const auto columns = static_cast<std::size_t>(frame.box.width());
  const std::size_t stems = std::min(rho.size(), columns);
  for (std::size_t i = 0; i < stems; ++i) {
    const std::size_t lag =
        stems == rho.size() ? i : (i * (rho.size() - 1) + (stems - 1) / 2) / (stems - 1);
    const int x = frame.px(static_cast<double>(lag));
    const int from = frame.py(0.0);
    const int to = frame.py(rho[lag]);
    canvas.move_to(x, from);
    canvas.line_to(x, to + (to <= from ? -1 : 1));
  }
  canvas.select(old);
  canvas.delete_object(pen);
  canvas.delete_object(axis_pen);
  draw_axes(canvas, frame, kDiagnosticsInk);
}

std::string samples_text(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " sample" : " samples");
}

// The panel row of chain 1's autocorrelations and the effective sizes.
void draw_dependence(const Simulation& sim, Canvas& canvas, const Rect& row, int column_width) {
  const Chain& chain = sim.chains[0];
  auto [along_x, along_y] = chain_dependence(sim);
  const auto& ess_x = along_x.size;
  const auto& ess_y = along_y.size;
  // Far enough to see the correlation die away, as far as the box shows.
  std::size_t lags = 40;
  for (const auto& size : {ess_x, ess_y}) {
    if (size) {
      lags = std::max(lags, size->last_lag * 3 / 2 + 1);
    }
  }
  for (std::vector<double>* rho : {&along_x.rho, &along_y.rho}) {
    rho->resize(std::min(rho->size(), lags + 1));
  }
  const Panel ax{{row.left, row.top, row.left + column_width, row.bottom}};
  const Panel ay{{row.left + column_width, row.top, row.left + 2 * column_width, row.bottom}};
  draw_autocorrelation(canvas, ax, along_x.rho, chain.colour, "x: autocorrelation, chain 1");
  draw_autocorrelation(canvas, ay, along_y.rho, chain.colour, "y: autocorrelation, chain 1");
  const int left = row.left + 2 * column_width + kAxisLabelWidth;
  int y = row.top + kCaptionHeight + 2;
  for (const std::string& line :
       {std::string("Chain 1: ") + samples_text(chain.sample_count()),
        std::string("Effective sample size, by Geyer's"), std::string("initial monotone sequence:"),
        "  x: " + effective_size_text(ess_x), "  y: " + effective_size_text(ess_y), std::string(),
        std::string("Histograms: the samples' share per unit;"),
        std::string("black line: the exact marginal density."),
        std::string("Traces: lowest to highest position of"),
        std::string("the samples in each pixel column, and"),
        std::string("their mean as a line.")}) {
    draw_text(canvas, left, y, line, kDiagnosticsInk);
    y += kLineAdvance + 2;
  }
}

// The row of chain k: histograms of x and y, traces of x and y.
void draw_chain_row(const Simulation& sim, Canvas& canvas, int k, const Rect& row,
                    int column_width) {
  const Chain& chain = sim.chains[static_cast<std::size_t>(k - 1)];
  const auto panel = [&](int c) {
    return Panel{
        {row.left + c * column_width, row.top, row.left + (c + 1) * column_width, row.bottom}};
  };
  const int width = static_cast<int>(sim.width);
  const int height = sim.client_height();
  const int bins = std::max(1, (column_width - kAxisLabelWidth) / 4);
  const int trace_columns = std::max(1, panel(2).box().width());
  const SampleSummary s = summarise_samples(chain, width, height, bins, trace_columns);
  const std::string of = ", chain " + std::to_string(k);
  std::string x_title = "x" + of;
  x_title += "  (" + samples_text(s.samples) + ")";
  draw_histogram(canvas, panel(0), s.x.histogram, exact_marginal(sim, k, Axis::x), chain.colour,
                 x_title);
  draw_histogram(canvas, panel(1), s.y.histogram, exact_marginal(sim, k, Axis::y), chain.colour,
                 "y" + of);
  draw_trace(canvas, panel(2), s.x.trace, s.samples, width, chain.colour, "x by sample" + of);
  draw_trace(canvas, panel(3), s.y.trace, s.samples, height, chain.colour, "y by sample" + of);
}

}  // namespace

std::array<SeriesDependence, 2> chain_dependence(const Simulation& sim) {
  const Chain& chain = sim.chains[0];
  const int h = sim.client_height();
  const std::vector<double> xs = landscape_positions(chain, h, true);
  const std::vector<double> ys = landscape_positions(chain, h, false);
  return dependence(xs, ys, xs.size());
}

std::string effective_size_text(const std::optional<EffectiveSize>& size) {
  if (!size) {
    return "-";
  }
  return format_fixed(size->ess, 0) + "  (tau " + format_fixed(size->tau, 2) + ", lags 0 to " +
         std::to_string(size->last_lag) + ")";
}

std::vector<int> diagnosed_chains(const Simulation& sim) {
  std::vector<int> chains{1};
  if (sim.shown_chain == 0) {
    for (int k = 2; k <= sim.nchains; ++k) {
      chains.push_back(k);
    }
  } else if (sim.shown_chain > 1 && sim.shown_chain <= sim.nchains) {
    chains.push_back(sim.shown_chain);
  }
  return chains;
}

Rect diagnostics_picture_rect(const Simulation& sim) {
  const int rows = static_cast<int>(diagnosed_chains(sim).size()) + 1;
  return {0, 0, kPictureWidth, rows * kRowHeight + 2 * kMargin};
}

void draw_diagnostics(const Simulation& sim, Canvas& canvas, const Rect& rect) {
  const ObjectHandle background = canvas.create_brush(kDiagnosticsBackground);
  canvas.fill_rect(rect, background);
  canvas.delete_object(background);
  const Rect inner{rect.left + kMargin, rect.top + kMargin, rect.right - kMargin,
                   rect.bottom - kMargin};
  const std::vector<int> chains = diagnosed_chains(sim);
  const int rows = static_cast<int>(chains.size()) + 1;
  const int row_height = inner.height() / rows;
  const int column_width = inner.width() / 4;
  if (row_height < kCaptionHeight || column_width <= kAxisLabelWidth) {
    return;  // nothing readable fits
  }
  for (std::size_t r = 0; r < chains.size(); ++r) {
    const int top = inner.top + static_cast<int>(r) * row_height;
    draw_chain_row(sim, canvas, chains[r], {inner.left, top, inner.right, top + row_height},
                   column_width);
  }
  const int top = inner.top + static_cast<int>(chains.size()) * row_height;
  draw_dependence(sim, canvas, {inner.left, top, inner.right, top + row_height}, column_width);
}

}  // namespace wandrix
