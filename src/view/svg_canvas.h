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
// Invert mode draws white with mix-blend-mode "difference", which inverts
// what lies below in viewers that know blend modes.
// Nothing is clipped; the viewBox shows the canvas's area.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "view/canvas.h"

namespace wandrix {

class SvgCanvas final : public Canvas {
 public:
  // title: the document's <title>; none when empty.
  SvgCanvas(int width, int height, const std::string& title);

  // Completes the document and hands it over; the canvas is spent (later
  // calls draw nothing and finish() returns an empty string).
  [[nodiscard]] std::string finish();

  ObjectHandle create_pen(Colour colour) override;
  ObjectHandle create_brush(Colour colour) override;
  ObjectHandle stock_object(StockObject object) override;
  ObjectHandle select(ObjectHandle object) override;
  void delete_object(ObjectHandle object) override;

  void move_to(int x, int y) override {
    x_ = x;
    y_ = y;
  }
  void line_to(int x, int y) override;
  void ellipse(int left, int top, int right, int bottom) override;
  void rectangle(int left, int top, int right, int bottom) override;
  void fill_rect(const Rect& box, ObjectHandle brush) override;
  void set_invert(bool on) override;

 private:
  enum class Kind : std::uint8_t { free, pen, brush };
  struct Object {
    Kind kind = Kind::free;
    bool none = false;  // null pen or hollow brush
    Colour colour = 0;
  };
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

  ObjectHandle add_object(Object object);
  void begin_run(Colour colour);
  void flush();
  // fill="…" stroke="…" and the blend style of invert mode.
  [[nodiscard]] std::string paint(bool fill, Colour fill_colour, bool stroke,
                                  Colour stroke_colour) const;

  std::string out_;
  std::vector<Object> objects_;  // handle - 1; stock objects are 1..6
  Object pen_;
  Object brush_;
  ObjectHandle pen_handle_ = 0;
  ObjectHandle brush_handle_ = 0;
  bool invert_ = false;
  int x_ = 0;
  int y_ = 0;
  Run run_;
  bool finished_ = false;
};

}  // namespace wandrix
