#include "view/sample_summary.h"

#include <algorithm>

namespace wandrix {
namespace {

Histogram empty_histogram(int extent, int target_bins) {
  Histogram h;
  h.extent = std::max(1, extent);
  const int target = std::max(1, target_bins);
  h.bin_width = std::max(1, (h.extent + target - 1) / target);
  int bins = h.extent / h.bin_width;
  // A last bin narrower than half the others would be mostly noise: its
  // cells join the bin before.
  if (h.extent % h.bin_width * 2 >= h.bin_width || bins == 0) {
    ++bins;
  }
  h.counts.assign(static_cast<std::size_t>(bins), 0);
  return h;
}

std::size_t bin_of(const Histogram& h, int cell) {
  const int clamped = std::clamp(cell, 0, h.extent - 1);
  return std::min(static_cast<std::size_t>(clamped / h.bin_width), h.counts.size() - 1);
}

void add_to_trace(std::vector<TraceColumn>& trace, std::size_t column, double value, double& last) {
  TraceColumn& c = trace[column];
  if (!c.used()) {
    c.low = std::min(value, last);
    c.high = std::max(value, last);
  } else {
    c.low = std::min(c.low, value);
    c.high = std::max(c.high, value);
  }
  c.sum += value;
  ++c.count;
  last = value;
}

}  // namespace

double Histogram::bin_low(std::size_t bin) const { return static_cast<double>(bin) * bin_width; }

double Histogram::bin_high(std::size_t bin) const {
  return bin + 1 == counts.size() ? static_cast<double>(extent)
                                  : static_cast<double>(bin + 1) * bin_width;
}

double Histogram::density(std::size_t bin) const {
  const double width = bin_high(bin) - bin_low(bin);
  if (total == 0 || width <= 0.0) {
    return 0.0;
  }
  return static_cast<double>(counts[bin]) / static_cast<double>(total) / width;
}

SampleSummary summarise_samples(const Chain& chain, int width, int height, int target_bins,
                                int columns) {
  SampleSummary s;
  s.samples = chain.sample_count();
  s.x.histogram = empty_histogram(width, target_bins);
  s.y.histogram = empty_histogram(height, target_bins);
  const auto ncolumns = static_cast<std::size_t>(std::max(1, columns));
  s.x.trace.assign(ncolumns, {});
  s.y.trace.assign(ncolumns, {});
  if (s.samples == 0) {
    return s;
  }
  double last_x = chain.xs[0];
  double last_y = height - chain.ys[0];
  for (std::size_t i = 0; i < s.samples; ++i) {
    const int x = chain.xs[i];
    const int y = height - chain.ys[i];
    ++s.x.histogram.counts[bin_of(s.x.histogram, x)];
    ++s.y.histogram.counts[bin_of(s.y.histogram, y - 1)];
    const std::size_t column = i * ncolumns / s.samples;
    add_to_trace(s.x.trace, column, x, last_x);
    add_to_trace(s.y.trace, column, y, last_y);
  }
  s.x.histogram.total = s.samples;
  s.y.histogram.total = s.samples;
  return s;
}

std::vector<double> landscape_positions(const Chain& chain, int height, bool along_x) {
  std::vector<double> v(chain.sample_count());
  for (std::size_t i = 0; i < v.size(); ++i) {
    v[i] = along_x ? chain.xs[i] : height - chain.ys[i];
  }
  return v;
}

}  // namespace wandrix
