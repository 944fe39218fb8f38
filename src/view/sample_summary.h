// What the diagnostics plot of a chain's samples: per axis, a histogram of
// the positions and the trace reduced to pixel columns, both gathered in one
// pass over the samples, so that a million samples draw in milliseconds.
#pragma once

#include <cstdint>
#include <vector>

#include "model/chain.h"

namespace wandrix {

// Positions are counted in unit cells [c, c + 1), c = 0 .. extent - 1, of
// landscape coordinates: a recorded x is trunc(x), so cell x; a recorded
// client y is trunc(H - y), so landscape y lies in cell H - ys - 1. A robot
// standing exactly on the right or top wall counts in the last cell.
struct Histogram {
  int extent = 1;     // W or H
  int bin_width = 1;  // cells per bin; the last bin may be wider
  std::vector<std::uint64_t> counts;
  std::uint64_t total = 0;

  // The bin's range in landscape units.
  [[nodiscard]] double bin_low(std::size_t bin) const;
  [[nodiscard]] double bin_high(std::size_t bin) const;
  // Samples in the bin over samples in all, per unit of length.
  [[nodiscard]] double density(std::size_t bin) const;
};

// One pixel column of a trace: the smallest and largest position of the
// samples it covers, widened to reach the last position of the column before
// so that the trace stays one connected line, and their mean.
struct TraceColumn {
  double low = 0.0;
  double high = 0.0;
  double sum = 0.0;
  std::uint64_t count = 0;
  [[nodiscard]] bool used() const { return count > 0; }
  [[nodiscard]] double mean() const { return sum / static_cast<double>(count); }
};

struct AxisSummary {
  Histogram histogram;
  std::vector<TraceColumn> trace;
};

struct SampleSummary {
  AxisSummary x;
  AxisSummary y;
  std::size_t samples = 0;
};

// Bins of about extent / target_bins cells (at least one), columns the
// width of the trace plot in pixels.
SampleSummary summarise_samples(const Chain& chain, int width, int height, int target_bins,
                                int columns);

// Chain 1's positions along one axis in landscape coordinates, for the
// autocorrelation: x, or trunc(height) - client y.
std::vector<double> landscape_positions(const Chain& chain, int height, bool along_x);

}  // namespace wandrix
