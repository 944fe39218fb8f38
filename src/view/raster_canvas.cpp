#include "view/raster_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace wandrix {
namespace {

using Wide = __int128;

constexpr std::uint32_t kBlackPixel = 0xFF000000u;
constexpr std::uint32_t kInvertMask = 0x00FFFFFFu;
// Ellipses up to this size keep their rows; bigger ones are computed row by row.
constexpr long long kCachedSize = 256;
constexpr std::size_t kMaxMasks = 32;
constexpr long long kLargestBox = (1LL << 31) - 1;

// Pixels [begin, end) of row j of the ellipse in a w × h box, or an empty
// span outside the box. See the header for the rule.
void ellipse_span(long long w, long long h, long long j, long long& begin, long long& end) {
  begin = end = 0;
  if (j < 0 || j >= h) {
    return;
  }
  const Wide dy = 2 * j + 1 - h;
  const Wide limit = Wide{w} * w * h * h - dy * dy * w * w;  // d²·h² must not exceed this
  long long d =
      static_cast<long long>(std::sqrt(static_cast<double>(limit)) / static_cast<double>(h)) + 2;
  d = std::min(d, w + 1);
  if (((d - (w + 1)) & 1) != 0) {  // d has the parity of 2i + 1 - w
    --d;
  }
  while (d >= 0 && Wide{d} * d * h * h > limit) {
    d -= 2;
  }
  if (d < 0) {
    return;
  }
  begin = (w - 1 - d) / 2;
  end = (w - 1 + d) / 2 + 1;
}

}  // namespace

RasterCanvas::RasterCanvas(int width, int height) { resize(width, height); }

void RasterCanvas::resize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  std::vector<std::uint32_t> next(
      static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kBlackPixel);
  const int keep_w = std::min(width, width_);
  const int keep_h = std::min(height, height_);
  for (int y = 0; y < keep_h; ++y) {
    std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_, keep_w,
                next.begin() + static_cast<std::ptrdiff_t>(y) * width);
  }
  pixels_ = std::move(next);
  width_ = width;
  height_ = height;
}

void RasterCanvas::run(int y, long long x0, long long x1, Ink ink) {
  if (!ink.draw || y < 0 || y >= height_) {
    return;
  }
  x0 = std::max(x0, 0LL);
  x1 = std::min(x1, static_cast<long long>(width_));
  if (x0 >= x1) {
    return;
  }
  std::uint32_t* p = pixels_.data() + static_cast<std::ptrdiff_t>(y) * width_ + x0;
  std::uint32_t* const stop = p + (x1 - x0);
  if (ink.invert) {
    for (; p != stop; ++p) {
      *p ^= kInvertMask;
    }
  } else {
    std::fill(p, stop, ink.pixel);
  }
}

void RasterCanvas::column(int x, long long y0, long long y1, Ink ink) {
  if (!ink.draw || x < 0 || x >= width_) {
    return;
  }
  y0 = std::max(y0, 0LL);
  y1 = std::min(y1, static_cast<long long>(height_));
  for (long long y = y0; y < y1; ++y) {
    std::uint32_t& p = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                               static_cast<std::size_t>(x)];
    p = ink.invert ? p ^ kInvertMask : ink.pixel;
  }
}

void RasterCanvas::rectangle(int left, int top, int right, int bottom) {
  const long long l = std::min(left, right);
  const long long r = std::max(left, right);
  const long long t = std::min(top, bottom);
  const long long b = std::max(top, bottom);
  if (l == r || t == b) {
    return;
  }
  const Ink pen = pen_ink();
  const auto row = [&](long long y, long long x0, long long x1, Ink ink) {
    if (y >= 0 && y < height_) {
      run(static_cast<int>(y), x0, x1, ink);
    }
  };
  const auto col = [&](long long x, Ink ink) {
    if (x >= 0 && x < width_) {
      column(static_cast<int>(x), t + 1, b - 1, ink);
    }
  };
  row(t, l, r, pen);
  if (b - 1 > t) {
    row(b - 1, l, r, pen);
  }
  col(l, pen);
  if (r - 1 > l) {
    col(r - 1, pen);
  }
  const Ink brush = brush_ink();
  for (long long y = std::max(t + 1, 0LL); y < std::min(b - 1, static_cast<long long>(height_));
       ++y) {
    run(static_cast<int>(y), l + 1, r - 1, brush);
  }
}

void RasterCanvas::fill_rect(const Rect& box, ObjectHandle brush) {
  const ObjectTable::Object* object = objects_.find(brush);
  if (object == nullptr || object->kind != ObjectTable::Kind::brush) {
    return;
  }
  const Ink ink = ink_of(*object, false);
  for (int y = std::max(box.top, 0); y < std::min(box.bottom, height_); ++y) {
    run(y, box.left, box.right, ink);
  }
}

void RasterCanvas::draw_image(int left, int top, const Image& image) {
  const long long x0 = std::max<long long>(left, 0);
  const long long x1 = std::min<long long>(static_cast<long long>(left) + image.width, width_);
  const long long y0 = std::max<long long>(top, 0);
  const long long y1 = std::min<long long>(static_cast<long long>(top) + image.height, height_);
  if (x0 >= x1) {
    return;
  }
  for (long long y = y0; y < y1; ++y) {
    std::copy_n(
        image.pixels.begin() + static_cast<std::ptrdiff_t>((y - top) * image.width + (x0 - left)),
        x1 - x0, pixels_.begin() + static_cast<std::ptrdiff_t>(y * width_ + x0));
  }
}

RasterCanvas::EllipseRow RasterCanvas::ellipse_row(long long w, long long h, long long j) {
  EllipseRow row;
  ellipse_span(w, h, j, row.begin, row.end);
  long long up_begin = 0;
  long long up_end = 0;
  long long down_begin = 0;
  long long down_end = 0;
  ellipse_span(w, h, j - 1, up_begin, up_end);
  ellipse_span(w, h, j + 1, down_begin, down_end);
  row.inner_begin = std::max({row.begin + 1, up_begin, down_begin});
  row.inner_end = std::min({row.end - 1, up_end, down_end});
  if (row.inner_begin >= row.inner_end) {
    row.inner_begin = row.inner_end = row.end;
  }
  return row;
}

const RasterCanvas::EllipseRow* RasterCanvas::cached_rows(long long w, long long h) {
  if (w > kCachedSize || h > kCachedSize) {
    return nullptr;
  }
  if (last_mask_ < masks_.size() && masks_[last_mask_].w == w && masks_[last_mask_].h == h) {
    return masks_[last_mask_].rows.data();
  }
  for (std::size_t i = 0; i < masks_.size(); ++i) {
    if (masks_[i].w == w && masks_[i].h == h) {
      last_mask_ = i;
      return masks_[i].rows.data();
    }
  }
  if (masks_.size() >= kMaxMasks) {
    masks_.clear();
  }
  EllipseMask mask{w, h, {}};
  for (long long j = 0; j < h; ++j) {
    mask.rows.push_back(ellipse_row(w, h, j));
  }
  masks_.push_back(std::move(mask));
  last_mask_ = masks_.size() - 1;
  return masks_.back().rows.data();
}

void RasterCanvas::ellipse(int left, int top, int right, int bottom) {
  const long long l = std::min(left, right);
  const long long t = std::min(top, bottom);
  const long long w = static_cast<long long>(std::max(left, right)) - l;
  const long long h = static_cast<long long>(std::max(top, bottom)) - t;
  // A box more than two billion pixels across is beyond the exact integer
  // rule (w²·h² would overflow) and beyond any picture: it is not drawn.
  if (w == 0 || h == 0 || w > kLargestBox || h > kLargestBox) {
    return;
  }
  ellipse_rows(l, t, w, h, cached_rows(w, h));
}

void RasterCanvas::ellipse_rows(long long left, long long top, long long w, long long h,
                                const EllipseRow* rows) {
  const Ink pen = pen_ink();
  const Ink brush = brush_ink();
  const bool inside = left >= 0 && top >= 0 && left + w <= width_ && top + h <= height_;
  if (rows != nullptr && inside && pen.draw && brush.draw && !invert_ && pen.pixel == brush.pixel) {
    // The dots of a walk: one colour, whole spans, no clipping.
    std::uint32_t* base = pixels_.data() + top * width_ + left;
    for (long long j = 0; j < h; ++j, base += width_) {
      std::fill(base + rows[j].begin, base + rows[j].end, pen.pixel);
    }
    return;
  }
  const long long first = std::max(0LL, -top);
  const long long last = std::min(h, static_cast<long long>(height_) - top);
  for (long long j = first; j < last; ++j) {
    const EllipseRow row = rows != nullptr ? rows[j] : ellipse_row(w, h, j);
    const int y = static_cast<int>(top + j);
    run(y, left + row.begin, left + row.inner_begin, pen);
    run(y, left + row.inner_begin, left + row.inner_end, brush);
    run(y, left + row.inner_end, left + row.end, pen);
  }
}

}  // namespace wandrix
