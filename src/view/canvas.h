// Canvas: the small drawing interface every picture of the program is drawn
// through, shaped after a classic device context so that one drawing routine
// serves the window's surface, the metafile and the SVG export alike.
//
// Contract:
// * Coordinates are integer client coordinates: pixels, origin top-left,
//   y downward. Nothing outside the canvas is an error: every canvas clips to
//   its own surface (a file canvas keeps everything).
// * Boxes (ellipse, rectangle, fill_rect) include their left and top edges and
//   exclude their right and bottom edges: ellipse(0, 0, 4, 4) covers at most
//   the 4 x 4 pixels 0..3.
// * line_to draws from the current position to (x, y), excluding the end
//   pixel, and makes (x, y) the current position; move_to only moves.
// * A canvas holds one selected pen and one selected brush. A fresh canvas
//   holds the stock black pen and the stock white brush. select returns the
//   object of the same kind that was selected before.
// * Pens are solid and one pixel wide. Ellipses and rectangles are outlined
//   with the pen and filled with the brush; the hollow brush fills nothing.
// * In invert mode every pixel that a line or outline covers is inverted
//   (the pen's colour plays no part), so drawing the same figure twice
//   restores the pixels exactly.
// * Objects are created by the caller, selected, and deleted by the caller
//   once no longer selected; deleting a stock object does nothing.
// * draw_image places pixels as they are: the pen, the brush and invert
//   mode play no part.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "model/types.h"

namespace wandrix {

// A pen, a brush or a stock object; 0 is no object.
using ObjectHandle = std::uint32_t;

enum class StockObject { white_brush, black_brush, hollow_brush, white_pen, black_pen, null_pen };

// A picture of width x height pixels, 0xFFRRGGBB, rows top to bottom.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// PNG bytes of 0xFFRRGGBB pixels (rows top to bottom), or nothing when they
// cannot be encoded.
using PngEncoder = std::function<std::optional<std::vector<std::uint8_t>>(
    const std::uint32_t* pixels, int width, int height)>;

class Canvas {
 public:
  Canvas() = default;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  Canvas(Canvas&&) = delete;
  Canvas& operator=(Canvas&&) = delete;
  virtual ~Canvas() = default;

  virtual ObjectHandle create_pen(Colour colour) = 0;
  virtual ObjectHandle create_brush(Colour colour) = 0;
  virtual ObjectHandle stock_object(StockObject object) = 0;
  // Selects a pen or a brush; returns the one of that kind selected before.
  virtual ObjectHandle select(ObjectHandle object) = 0;
  virtual void delete_object(ObjectHandle object) = 0;

  virtual void move_to(int x, int y) = 0;
  virtual void line_to(int x, int y) = 0;
  virtual void ellipse(int left, int top, int right, int bottom) = 0;
  virtual void rectangle(int left, int top, int right, int bottom) = 0;
  // Fills the box with the brush without selecting it and without outline.
  virtual void fill_rect(const Rect& box, ObjectHandle brush) = 0;
  // On: lines and outlines invert the pixels they cover. Off: they paint.
  virtual void set_invert(bool on) = 0;
  // The image with its top-left pixel at (left, top). This one fills each
  // row's runs of one colour with fill_rect, which any canvas can show; the
  // canvases of the program place the pixels as one image instead.
  virtual void draw_image(int left, int top, const Image& image);
};

}  // namespace wandrix
