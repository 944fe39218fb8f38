#include "view/svg_canvas.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>

namespace wandrix {
namespace {

// Path data is broken into lines of this many commands, for readers and diffs.
constexpr int kCommandsPerLine = 12;

void number(std::string& s, long long v) {
  char text[24];
  const auto end = std::to_chars(text, text + sizeof text, v).ptr;
  s.append(text, end);
}

// Appends twice_value / 2: "12", "12.5", "-0.5".
void half(std::string& s, long long twice_value) {
  if (twice_value < 0) {
    s += '-';
    twice_value = -twice_value;
  }
  number(s, twice_value / 2);
  if (twice_value % 2 != 0) {
    s += ".5";
  }
}

std::string hex(Colour c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", red_of(c), green_of(c), blue_of(c));
  return text;
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// attribute="twice_value / 2"
void attribute(std::string& s, const char* name, long long twice_value) {
  s += ' ';
  s += name;
  s += "=\"";
  half(s, twice_value);
  s += '"';
}

std::string base64(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t group = static_cast<std::uint32_t>(bytes[i]) << 16;
    if (n > 1) {
      group |= static_cast<std::uint32_t>(bytes[i + 1]) << 8;
    }
    if (n > 2) {
      group |= bytes[i + 2];
    }
    for (std::size_t k = 0; k < 4; ++k) {
      out += k <= n ? kDigits[(group >> (18 - 6 * k)) & 0x3Fu] : '=';
    }
  }
  return out;
}

// A box put in order: left, top, width, height.
struct Box {
  long long l, t, w, h;
};

Box ordered(int left, int top, int right, int bottom) {
  const long long l = std::min(left, right);
  const long long t = std::min(top, bottom);
  return {l, t, std::max(left, right) - l, std::max(top, bottom) - t};
}

}  // namespace

SvgCanvas::SvgCanvas(int width, int height, const std::string& title, PngEncoder encoder)
    : encoder_(std::move(encoder)) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  out_ =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\"";
  attribute(out_, "width", 2LL * width);
  attribute(out_, "height", 2LL * height);
  out_ += " viewBox=\"0 0 " + std::to_string(width) + " " + std::to_string(height) + "\">\n";
  if (!title.empty()) {
    out_ += "<title>" + escaped(title) + "</title>\n";
  }
}

std::string SvgCanvas::paint(bool fill, Colour fill_colour, bool stroke,
                             Colour stroke_colour) const {
  const std::string white = hex(kWhite);
  std::string s = " fill=\"" + (fill ? (invert_ ? white : hex(fill_colour)) : "none") + "\"";
  if (stroke) {
    s += " stroke=\"" + (invert_ ? white : hex(stroke_colour)) + "\"";
  }
  if (invert_) {
    s += " style=\"mix-blend-mode:difference\"";
  }
  return s;
}

void SvgCanvas::begin_run(Colour colour) {
  if (run_.open && run_.colour == colour && run_.invert == invert_) {
    return;
  }
  flush();
  run_.open = true;
  run_.colour = colour;
  run_.invert = invert_;
}

void SvgCanvas::flush() {
  if (!run_.open) {
    return;
  }
  const bool invert = invert_;
  invert_ = run_.invert;
  if (!run_.lines.empty()) {
    out_ += "<path" + paint(false, 0, true, run_.colour) + " transform=\"translate(.5 .5)\" d=\"" +
            run_.lines + "\"/>\n";
  }
  if (!run_.dots.empty()) {
    out_ += "<path" + paint(true, run_.colour, false, 0) + " d=\"" + run_.dots + "\"/>\n";
  }
  invert_ = invert;
  run_ = Run{};
}

void SvgCanvas::line_to(int x, int y) {
  const int x0 = x_;
  const int y0 = y_;
  x_ = x;
  y_ = y;
  if (objects_.pen().none || finished_ || (x == x0 && y == y0)) {
    return;
  }
  begin_run(objects_.pen().colour);
  std::string& d = run_.lines;
  if (run_.line_commands > 0 && run_.line_commands % kCommandsPerLine == 0) {
    d += '\n';
  }
  if (!run_.line_open || run_.end_x != x0 || run_.end_y != y0) {
    d += 'M';
    number(d, x0);
    d += ' ';
    number(d, y0);
    ++run_.line_commands;
  }
  d += 'L';
  number(d, x);
  d += ' ';
  number(d, y);
  ++run_.line_commands;
  run_.line_open = true;
  run_.end_x = x;
  run_.end_y = y;
}

void SvgCanvas::ellipse(int left, int top, int right, int bottom) {
  const Box b = ordered(left, top, right, bottom);
  if (b.w == 0 || b.h == 0 || finished_ || (objects_.pen().none && objects_.brush().none)) {
    return;
  }
  const bool solid = !objects_.pen().none &&
                     (objects_.brush().none ? b.w <= 2 || b.h <= 2
                                            : objects_.brush().colour == objects_.pen().colour);
  if (solid) {
    begin_run(objects_.pen().colour);
    if (!run_.dot_boxes.insert({b.l, b.t, b.w, b.h}).second) {
      return;  // already painted in this colour
    }
    std::string& d = run_.dots;
    if (!run_.dots.empty() && run_.dot_boxes.size() % (kCommandsPerLine / 2) == 1) {
      d += '\n';
    }
    std::string rx_ry;
    half(rx_ry, b.w);
    rx_ry += ' ';
    half(rx_ry, b.h);
    d += 'M';
    number(d, b.l);
    d += ' ';
    half(d, 2 * b.t + b.h);
    d += 'a' + rx_ry + " 0 1 0 ";
    number(d, b.w);
    d += " 0a" + rx_ry + " 0 1 0-";  // a sign parts numbers: no space
    number(d, b.w);
    d += " 0";
    return;
  }
  flush();
  // A one-pixel outline centred half a pixel inside the box; without a pen
  // the inside alone, one pixel smaller all round.
  const long long inset = objects_.pen().none ? 2 : 1;
  out_ += "<ellipse";
  attribute(out_, "cx", 2 * b.l + b.w);
  attribute(out_, "cy", 2 * b.t + b.h);
  attribute(out_, "rx", std::max(b.w - inset, 0LL));
  attribute(out_, "ry", std::max(b.h - inset, 0LL));
  out_ += paint(!objects_.brush().none, objects_.brush().colour, !objects_.pen().none,
                objects_.pen().colour) +
          "/>\n";
}

void SvgCanvas::rectangle(int left, int top, int right, int bottom) {
  const Box b = ordered(left, top, right, bottom);
  if (b.w == 0 || b.h == 0 || finished_) {
    return;
  }
  flush();
  const auto rect = [this](long long x2, long long y2, long long w2, long long h2,
                           const std::string& paint_text) {
    out_ += "<rect";
    attribute(out_, "x", x2);
    attribute(out_, "y", y2);
    attribute(out_, "width", w2);
    attribute(out_, "height", h2);
    out_ += paint_text + "/>\n";
  };
  if (objects_.pen().none) {
    if (!objects_.brush().none && b.w > 2 && b.h > 2) {
      rect(2 * b.l + 2, 2 * b.t + 2, 2 * b.w - 4, 2 * b.h - 4,
           paint(true, objects_.brush().colour, false, 0));
    }
  } else if (b.w <= 2 || b.h <= 2) {  // all outline: a bar of the pen's colour
    rect(2 * b.l, 2 * b.t, 2 * b.w, 2 * b.h, paint(true, objects_.pen().colour, false, 0));
  } else {
    rect(2 * b.l + 1, 2 * b.t + 1, 2 * b.w - 2, 2 * b.h - 2,
         paint(!objects_.brush().none, objects_.brush().colour, true, objects_.pen().colour));
  }
}

void SvgCanvas::fill_rect(const Rect& box, ObjectHandle brush) {
  const ObjectTable::Object* object = objects_.find(brush);
  if (object == nullptr || object->kind != ObjectTable::Kind::brush || object->none ||
      box.right <= box.left || box.bottom <= box.top || finished_) {
    return;
  }
  flush();
  out_ += "<rect";
  attribute(out_, "x", 2LL * box.left);
  attribute(out_, "y", 2LL * box.top);
  attribute(out_, "width", 2LL * box.right - 2LL * box.left);
  attribute(out_, "height", 2LL * box.bottom - 2LL * box.top);
  out_ += " fill=\"" + hex(object->colour) + "\"/>\n";
}

void SvgCanvas::draw_image(int left, int top, const Image& image) {
  if (finished_ || image.width <= 0 || image.height <= 0) {
    return;
  }
  const auto png =
      encoder_ ? encoder_(image.pixels.data(), image.width, image.height) : std::nullopt;
  if (!png) {
    Canvas::draw_image(left, top, image);
    return;
  }
  flush();
  out_ += "<image";
  attribute(out_, "x", 2LL * left);
  attribute(out_, "y", 2LL * top);
  attribute(out_, "width", 2LL * image.width);
  attribute(out_, "height", 2LL * image.height);
  // Pixels stay square blocks when the picture is enlarged.
  out_ +=
      " preserveAspectRatio=\"none\" image-rendering=\"pixelated\" "
      "style=\"image-rendering:pixelated\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
      "xlink:href=\"data:image/png;base64,";
  out_ += base64(*png);
  out_ += "\"/>\n";
}

std::string SvgCanvas::finish() {
  if (finished_) {
    return {};
  }
  flush();
  finished_ = true;
  out_ += "</svg>\n";
  return std::move(out_);
}

}  // namespace wandrix
