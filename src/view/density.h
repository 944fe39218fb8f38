// The density view: how many samples of the shown chains fall on each pixel
// of the picture, on a logarithmic colour scale. After a long walk the dots
// and lines cover the landscape; the density shows where the chains spent
// their time, from one sample to millions on one pixel, and the contours
// stay readable on top of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/chain.h"
#include "view/canvas.h"
#include "view/projection.h"

namespace wandrix {

// Beyond this many pixels (those of the largest raster picture) no density
// is kept: its counts alone would take gigabytes.
inline constexpr std::int64_t kMaxDensityPixels = std::int64_t{8192} * 8192;

class DensityCounts {
 public:
  // Brings the counts up to date with the samples of the chains, seen
  // through the view, on the pixels of the rectangle. Only the samples
  // recorded since the last update are added; when anything else changed
  // (the rectangle, the view, the chains, samples other than by appending)
  // every sample is counted again.
  void update(const std::vector<Chain*>& chains, const Projection& view, const Rect& rect);

  // Samples on the client pixel (x, y); 0 outside the rectangle.
  [[nodiscard]] std::uint32_t at(int x, int y) const;
  [[nodiscard]] std::uint32_t most() const { return most_; }

  // The rectangle's picture: the background where no sample fell, else the
  // colour of the count on the scale. Empty when the rectangle is too large.
  [[nodiscard]] Image image(bool for_export) const;

 private:
  struct Source {
    const Chain* chain = nullptr;
    std::uint64_t revision = 0;
    std::size_t counted = 0;
  };
  [[nodiscard]] bool follows(const std::vector<Chain*>& chains, const Projection& view,
                             const Rect& rect) const;
  // Adds samples from..end of the chain; returns how many it has.
  std::size_t count(const Chain& chain, std::size_t from, const Projection& view);

  Rect rect_;
  std::optional<Projection> view_;
  std::vector<Source> sources_;
  std::vector<std::uint32_t> counts_;  // rows top to bottom
  std::uint32_t most_ = 0;
};

// The colour of a pixel with count samples (1 <= count <= most): its place
// on the scale is ln(count) / ln(most), one sample at the bottom, the most
// at the top. The window's scale rises from dark to bright on black, an
// export's from pale to deep on white; both end far enough from the
// contours' colour (yellow, black) for them to show on top.
Colour density_colour(std::uint32_t count, std::uint32_t most, bool for_export);

}  // namespace wandrix
