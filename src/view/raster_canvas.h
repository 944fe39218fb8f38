// RasterCanvas: the Canvas that draws into a 32-bit pixel buffer. It is the
// window's retained surface (the desktop wraps pixels() in a QImage of
// Format_RGB32 without copying) and the source of PNG pictures.
//
// Pixels are 0xFFRRGGBB, rows top to bottom, width() pixels a row, no padding.
//
// Pixel rules (every figure touches each pixel at most once, so an inverted
// figure drawn twice restores the surface exactly):
// * Clipping: pixels outside 0..width()-1, 0..height()-1 are never touched;
//   coordinates anywhere in the int range are safe.
// * line_to: Bresenham along the major axis from the current position; the
//   end pixel is excluded. With n = major length and m = minor length, step
//   i (0 <= i < n) lies at minor offset floor((2·i·m + n) / (2·n)): exact
//   halves round toward the end point. A zero-length line draws nothing.
// * Boxes of ellipse and rectangle are put in order first (left <= right,
//   top <= bottom); an empty box (zero width or height) draws nothing, nor
//   does an ellipse more than 2^31 - 1 pixels wide or high.
//   fill_rect fills nothing when right <= left or bottom <= top.
// * ellipse: pixel (i, j) of a w × h box (0 <= i < w, 0 <= j < h) belongs to
//   the ellipse when its centre lies in the ellipse inscribed in the box:
//   (2i+1-w)²·h² + (2j+1-h)²·w² <= w²·h². Its outline is every pixel of it
//   with a left, right, upper or lower neighbour outside it; the rest is the
//   interior. A dot of radius r (box X-r .. X+r) is thus 2r × 2r pixels:
//   2 × 2 for r = 1, 4 × 4 without the corners for r = 2, 20 × 20 for r = 10.
// * rectangle: the outline is the box's first and last row and column, the
//   interior the rest; a box one pixel wide or high is all outline.
// * Outlines and lines take the pen; the null pen leaves them untouched.
//   Interiors take the brush; the hollow brush leaves them untouched.
// * Invert mode: wherever the pen or brush would paint, the pixel's colour
//   is inverted instead (0xFFRRGGBB ^ 0x00FFFFFF), as a raster mode of a
//   device context does. fill_rect always paints its brush.
// * Handles: the six stock objects are 1..6 (StockObject order + 1), created
//   objects start at 7 and their handles are reused once deleted. select of
//   an unknown or deleted handle changes nothing and returns 0.
#pragma once

#include <cstdint>
#include <vector>

#include "view/object_table.h"

namespace wandrix {

class RasterCanvas final : public TableCanvas {
 public:
  // A black surface of the given size (negative sizes count as 0).
  explicit RasterCanvas(int width = 0, int height = 0);

  // New size; the pixels of the old surface that still fit keep their place,
  // new pixels are black.
  void resize(int width, int height);
  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }
  // The buffer stays in place until the next resize, which moves it.
  [[nodiscard]] std::uint32_t* pixels() { return pixels_.data(); }
  [[nodiscard]] const std::uint32_t* pixels() const { return pixels_.data(); }
  // The pixel at (x, y), which must lie on the surface.
  [[nodiscard]] std::uint32_t pixel(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
  }
  // The pixel value a pen or brush of this colour paints.
  static constexpr std::uint32_t pixel_of(Colour c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(red_of(c)) << 16) |
           (static_cast<std::uint32_t>(green_of(c)) << 8) | static_cast<std::uint32_t>(blue_of(c));
  }

  void line_to(int x, int y) override;
  void ellipse(int left, int top, int right, int bottom) override;
  void rectangle(int left, int top, int right, int bottom) override;
  void fill_rect(const Rect& box, ObjectHandle brush) override;
  // Copies the image's pixels, clipped to the surface.
  void draw_image(int left, int top, const Image& image) override;

  // One row of an ellipse's pixels, as offsets from the box's left edge:
  // outline [begin, inner_begin) and [inner_end, end), interior between.
  struct EllipseRow {
    long long begin = 0;
    long long inner_begin = 0;
    long long inner_end = 0;
    long long end = 0;
  };
  // Row j of the ellipse in a w × h box (0 <= j < h).
  static EllipseRow ellipse_row(long long w, long long h, long long j);

 private:
  // How a run of pixels is drawn: left alone, painted, or inverted.
  struct Ink {
    bool draw = false;
    bool invert = false;
    std::uint32_t pixel = 0;
  };
  struct EllipseMask {
    long long w = 0;
    long long h = 0;
    std::vector<EllipseRow> rows;
  };

  [[nodiscard]] static Ink ink_of(const ObjectTable::Object& object, bool invert) {
    return {!object.none, invert, pixel_of(object.colour)};
  }
  [[nodiscard]] Ink pen_ink() const { return ink_of(objects_.pen(), invert_); }
  [[nodiscard]] Ink brush_ink() const { return ink_of(objects_.brush(), invert_); }
  // Draws pixels x0..x1-1 of row y, clipped to the surface.
  void run(int y, long long x0, long long x1, Ink ink);
  void column(int x, long long y0, long long y1, Ink ink);
  void ellipse_rows(long long left, long long top, long long w, long long h,
                    const EllipseRow* rows);
  const EllipseRow* cached_rows(long long w, long long h);

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
  std::vector<EllipseMask> masks_;
  std::size_t last_mask_ = 0;
};

}  // namespace wandrix
