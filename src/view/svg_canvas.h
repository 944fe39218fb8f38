// SvgCanvas: the picture as SVG text, for browsers and documents.
//
// Sizes are pixels (width, height and a viewBox of the same), and the shapes
// cover the pixels the surface would: a pixel (x, y) is the unit square at
// (x, y). Lines run between pixel centres with a stroke one pixel wide.
// So that a long walk gives a file of practical size, everything drawn in
// one colour, one after another, is gathered: its lines into one stroked
// path of "M … L … L …" runs, its solid dots (pen and brush of that colour)
// into one filled path of arcs, a dot drawn twice only once. Painting in one
// colour does not depend on order, so the picture is the same. Other
// figures are elements of their own: <rect> for fill_rect and rectangle,
// <ellipse> for an ellipse whose outline and inside differ.
// An image is one <image> element holding it as PNG (base64) when the
// canvas has a PNG encoder, shown pixel for pixel; without one, <rect>s of
// its runs of one colour.
// Invert mode draws white with mix-blend-mode "difference", which inverts
// what lies below in viewers that know blend modes.
// Nothing is clipped; the viewBox shows the canvas's area.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "view/object_table.h"

namespace wandrix {

class SvgCanvas final : public TableCanvas {
 public:
  // title: the document's <title>; none when empty. encoder: how images
  // are embedded; none gives them as rectangles.
  SvgCanvas(int width, int height, const std::string& title, PngEncoder encoder = {});

  // Completes the document and hands it over; the canvas is spent (later
  // calls draw nothing and finish() returns an empty string).
  [[nodiscard]] std::string finish();

  void line_to(int x, int y) override;
  void ellipse(int left, int top, int right, int bottom) override;
  void rectangle(int left, int top, int right, int bottom) override;
  void fill_rect(const Rect& box, ObjectHandle brush) override;
  void draw_image(int left, int top, const Image& image) override;

 private:
  // The figures gathered so far, all of one colour and mode.
  struct Run {
    bool open = false;
    Colour colour = 0;
    bool invert = false;
    std::string lines;  // path data between pixel centres
    std::string dots;   // path data of filled arcs
    int line_commands = 0;
    bool line_open = false;  // lines ends at (end_x, end_y)
    int end_x = 0;
    int end_y = 0;
    std::set<std::tuple<long long, long long, long long, long long>> dot_boxes;
  };

  void begin_run(Colour colour);
  void flush();
  // fill="…" stroke="…" and the blend style of invert mode.
  [[nodiscard]] std::string paint(bool fill, Colour fill_colour, bool stroke,
                                  Colour stroke_colour) const;

  std::string out_;
  PngEncoder encoder_;
  Run run_;
  bool finished_ = false;
};

}  // namespace wandrix
