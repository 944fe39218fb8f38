#include "view/density.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/portable_math.h"
#include "view/chain_cover.h"
#include "view/raster_canvas.h"

namespace wandrix {
namespace {

struct ScalePoint {
  double at;
  int red, green, blue;
};

constexpr std::array<ScalePoint, 4> kWindowScale{{
    {0.0, 40, 30, 120},
    {0.35, 50, 100, 230},
    {0.7, 190, 70, 220},
    {1.0, 255, 90, 120},
}};
constexpr std::array<ScalePoint, 4> kExportScale{{
    {0.0, 255, 237, 160},
    {0.4, 254, 170, 70},
    {0.75, 235, 60, 35},
    {1.0, 180, 0, 40},
}};

Colour on_scale(const std::array<ScalePoint, 4>& scale, double t) {
  std::size_t k = 1;
  while (k + 1 < scale.size() && t > scale[k].at) {
    ++k;
  }
  const ScalePoint& a = scale[k - 1];
  const ScalePoint& b = scale[k];
  const double f = std::clamp((t - a.at) / (b.at - a.at), 0.0, 1.0);
  const auto mix = [f](int from, int to) {
    return static_cast<int>(std::lround(from + (to - from) * f));
  };
  return make_colour(mix(a.red, b.red), mix(a.green, b.green), mix(a.blue, b.blue));
}

// Counts up to this are coloured from a table made once per picture.
constexpr std::uint32_t kTabled = 65536;

}  // namespace

Colour density_colour(std::uint32_t count, std::uint32_t most, bool for_export) {
  const double t = most > 1 ? math::log(count) / math::log(most) : 1.0;
  return on_scale(for_export ? kExportScale : kWindowScale, t);
}

bool DensityCounts::follows(const std::vector<Chain*>& chains, const Projection& view,
                            const Rect& rect) const {
  if (!(rect == rect_) || !view_ || !(*view_ == view) || chains.size() != sources_.size()) {
    return false;
  }
  for (std::size_t k = 0; k < chains.size(); ++k) {
    const Source& source = sources_[k];
    if (source.chain != chains[k] || source.revision != chains[k]->sample_revision ||
        source.counted > chains[k]->xs.size()) {
      return false;
    }
  }
  return true;
}

void DensityCounts::update(const std::vector<Chain*>& chains, const Projection& view,
                           const Rect& rect) {
  if (!follows(chains, view, rect)) {
    rect_ = rect;
    view_ = view;
    most_ = 0;
    sources_.clear();
    for (const Chain* chain : chains) {
      sources_.push_back({chain, chain->sample_revision, 0});
    }
    const std::int64_t w = std::max(rect.width(), 0);
    const std::int64_t h = std::max(rect.height(), 0);
    counts_.assign(w * h <= kMaxDensityPixels ? static_cast<std::size_t>(w * h) : 0, 0);
  }
  if (counts_.empty()) {
    return;
  }
  for (std::size_t k = 0; k < chains.size(); ++k) {
    sources_[k].counted = count(*chains[k], sources_[k].counted, view);
  }
}

std::size_t DensityCounts::count(const Chain& chain, std::size_t from, const Projection& view) {
  const std::size_t n = std::min(chain.xs.size(), chain.ys.size());
  const auto w = static_cast<std::uint64_t>(rect_.width());
  const auto h = static_cast<std::uint64_t>(rect_.height());
  const std::int64_t left = rect_.left;
  const std::int64_t top = rect_.top;
  // Locals, so that the compiler need not reload them after every count
  // (a store to a count may alias a sample or most_, as far as it knows).
  std::uint32_t* const counts = counts_.data();
  std::uint32_t most = most_;
  // A point left of or above the rectangle wraps round to a large number.
  const auto add = [&most, counts, w, h, left, top](std::int64_t x, std::int64_t y) {
    const auto col = static_cast<std::uint64_t>(x - left);
    const auto row = static_cast<std::uint64_t>(y - top);
    if (col < w && row < h) {
      const std::uint32_t c = ++counts[row * w + col];
      most = c > most ? c : most;
    }
  };
  if (view.active()) {
    for (std::size_t i = from; i < n; ++i) {
      const Point p = sample_point(view, chain, i);
      add(p.x, p.y);
    }
  } else {
    const std::int32_t* const xs = chain.xs.data();
    const std::int32_t* const ys = chain.ys.data();
    for (std::size_t i = from; i < n; ++i) {
      add(xs[i], ys[i]);
    }
  }
  most_ = most;
  return n;
}

std::uint32_t DensityCounts::at(int x, int y) const {
  const std::int64_t col = static_cast<std::int64_t>(x) - rect_.left;
  const std::int64_t row = static_cast<std::int64_t>(y) - rect_.top;
  if (counts_.empty() || col < 0 || row < 0 || col >= rect_.width() || row >= rect_.height()) {
    return 0;
  }
  return counts_[static_cast<std::size_t>(row * rect_.width() + col)];
}

Image DensityCounts::image(bool for_export) const {
  if (counts_.empty()) {
    return {};
  }
  Image image{rect_.width(), rect_.height(), std::vector<std::uint32_t>(counts_.size())};
  std::vector<std::uint32_t> table(std::min(most_, kTabled) + 1);
  table[0] = RasterCanvas::pixel_of(for_export ? kExportBackground : kWindowBackground);
  for (std::uint32_t c = 1; c < table.size(); ++c) {
    table[c] = RasterCanvas::pixel_of(density_colour(c, most_, for_export));
  }
  for (std::size_t i = 0; i < counts_.size(); ++i) {
    const std::uint32_t c = counts_[i];
    image.pixels[i] =
        c < table.size() ? table[c] : RasterCanvas::pixel_of(density_colour(c, most_, for_export));
  }
  return image;
}

}  // namespace wandrix
