// SvgCanvas: a well-formed document, the colours and places of the figures,
// and the gathering of a walk's lines and dots that keeps long walks small.
#include "view/svg_canvas.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "model/simulation.h"

namespace wandrix {
namespace {

using ::testing::HasSubstr;

constexpr Colour kRed = make_colour(255, 0, 0);
constexpr Colour kGreen = make_colour(0, 255, 0);

bool name_char(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == ':';
}

// Parses one tag starting at xml[at] == '<' (not a declaration): its name,
// whether it closes or is empty, and quoted attributes without '<' or '&'.
// Returns the position after '>' or npos when malformed. A hand-written
// reader, as regular expressions recurse too deep on a path of 100,000 points.
std::size_t parse_tag(const std::string& xml, std::size_t at, std::string& name, bool& closing,
                      bool& empty) {
  std::size_t i = at + 1;
  closing = i < xml.size() && xml[i] == '/';
  i += closing ? 1 : 0;
  const std::size_t name_start = i;
  while (i < xml.size() && name_char(xml[i])) {
    ++i;
  }
  name = xml.substr(name_start, i - name_start);
  if (name.empty()) {
    return std::string::npos;
  }
  for (;;) {
    const std::size_t space = i;
    while (i < xml.size() && std::isspace(static_cast<unsigned char>(xml[i]))) {
      ++i;
    }
    if (i >= xml.size()) {
      return std::string::npos;
    }
    if (xml[i] == '>' || (xml[i] == '/' && i + 1 < xml.size() && xml[i + 1] == '>')) {
      empty = xml[i] == '/';
      return i + (empty ? 2 : 1);
    }
    const std::size_t attribute = i;
    while (i < xml.size() && name_char(xml[i])) {
      ++i;
    }
    if (i == attribute || space == attribute || closing || xml.compare(i, 2, "=\"") != 0) {
      return std::string::npos;
    }
    const std::size_t close = xml.find('"', i + 2);
    if (close == std::string::npos || xml.find_first_of("<&", i + 2) < close) {
      return std::string::npos;
    }
    i = close + 1;
  }
}

// Checks the declaration, that tags nest under one root, and that text holds
// no bare '<' or '&'. Returns the element names in order of opening.
std::vector<std::string> check_xml(const std::string& xml) {
  std::vector<std::string> opened;
  std::vector<std::string> stack;
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
  EXPECT_EQ(xml.rfind(declaration, 0), 0u);
  std::size_t at = declaration.size();
  while (at < xml.size()) {
    const std::size_t open = xml.find('<', at);
    const std::size_t text_end = open == std::string::npos ? xml.size() : open;
    for (std::size_t amp = xml.find('&', at); amp < text_end; amp = xml.find('&', amp + 1)) {
      const std::size_t semi = xml.find(';', amp);
      const std::string entity = xml.substr(amp, semi - amp + 1);
      EXPECT_TRUE(entity == "&amp;" || entity == "&lt;" || entity == "&gt;" || entity == "&quot;")
          << entity;
    }
    if (open == std::string::npos) {
      break;
    }
    std::string name;
    bool closing = false;
    bool empty = false;
    at = parse_tag(xml, open, name, closing, empty);
    if (at == std::string::npos) {
      ADD_FAILURE() << "malformed tag " << xml.substr(open, 80);
      return opened;
    }
    if (closing) {
      EXPECT_FALSE(stack.empty());
      if (!stack.empty()) {
        EXPECT_EQ(stack.back(), name);
        stack.pop_back();
      }
    } else {
      opened.push_back(name);
      EXPECT_TRUE(!stack.empty() || opened.size() == 1) << "a second root";
      if (!empty) {
        stack.push_back(name);
      }
    }
  }
  EXPECT_TRUE(stack.empty());
  return opened;
}

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

TEST(SvgCanvas, DocumentIsWellFormedWithSizeViewBoxAndTitle) {
  SvgCanvas canvas(392, 346, "Robot <path> & \"more\"");
  canvas.fill_rect(Rect{0, 0, 392, 346}, canvas.stock_object(StockObject::white_brush));
  canvas.select(canvas.create_pen(kRed));
  canvas.select(canvas.create_brush(kGreen));
  canvas.ellipse(10, 10, 15, 20);
  canvas.rectangle(30, 30, 20, 20);
  const std::string svg = canvas.finish();
  EXPECT_THAT(check_xml(svg), ::testing::ElementsAre("svg", "title", "rect", "ellipse", "rect"));
  EXPECT_THAT(svg, HasSubstr("width=\"392\" height=\"346\" viewBox=\"0 0 392 346\""));
  EXPECT_THAT(svg, HasSubstr("<title>Robot &lt;path&gt; &amp; &quot;more&quot;</title>"));
  EXPECT_THAT(svg,
              HasSubstr("<rect x=\"0\" y=\"0\" width=\"392\" height=\"346\" fill=\"#ffffff\"/>"));
  // Outline half a pixel inside the box, centre of the box.
  EXPECT_THAT(svg, HasSubstr("<ellipse cx=\"12.5\" cy=\"15\" rx=\"2\" ry=\"4.5\" fill=\"#00ff00\" "
                             "stroke=\"#ff0000\"/>"));
  EXPECT_THAT(svg, HasSubstr("<rect x=\"20.5\" y=\"20.5\" width=\"9\" height=\"9\" "
                             "fill=\"#00ff00\" stroke=\"#ff0000\"/>"));
  EXPECT_TRUE(canvas.finish().empty());
}

TEST(SvgCanvas, OneColourRunBecomesOneLinePathAndOneDotPath) {
  SvgCanvas canvas(100, 100, "");
  const ObjectHandle pen = canvas.create_pen(kRed);
  const ObjectHandle brush = canvas.create_brush(kRed);
  canvas.select(pen);
  canvas.select(brush);
  canvas.move_to(10, 10);
  canvas.ellipse(8, 8, 12, 12);
  canvas.line_to(20, 10);
  canvas.ellipse(18, 8, 22, 12);
  canvas.line_to(20, 20);
  canvas.line_to(20, 20);  // nothing to draw
  canvas.ellipse(18, 18, 22, 22);
  canvas.ellipse(8, 8, 12, 12);  // painted already
  canvas.move_to(50, 50);
  canvas.line_to(60, 61);
  canvas.select(canvas.create_pen(kGreen));
  canvas.line_to(70, 70);
  const std::string svg = canvas.finish();
  check_xml(svg);
  EXPECT_EQ(count(svg, "<path"), 3);
  EXPECT_THAT(svg,
              HasSubstr("<path fill=\"none\" stroke=\"#ff0000\" transform=\"translate(.5 .5)\" "
                        "d=\"M10 10L20 10L20 20M50 50L60 61\"/>"));
  EXPECT_THAT(svg, HasSubstr("<path fill=\"#ff0000\" d=\"M8 10a2 2 0 1 0 4 0a2 2 0 1 0-4 0"
                             "M18 10a2 2 0 1 0 4 0a2 2 0 1 0-4 0"
                             "M18 20a2 2 0 1 0 4 0a2 2 0 1 0-4 0\"/>"));
  EXPECT_THAT(svg,
              HasSubstr("stroke=\"#00ff00\" transform=\"translate(.5 .5)\" d=\"M60 61L70 70\""));
  EXPECT_LT(svg.find("#ff0000"), svg.find("#00ff00"));  // drawn in order
}

TEST(SvgCanvas, AnotherColourKeepsTheDrawingOrder) {
  SvgCanvas canvas(50, 50, "");
  const ObjectHandle white = canvas.create_brush(kWhite);
  const ObjectHandle white_pen = canvas.create_pen(kWhite);
  const ObjectHandle red = canvas.create_brush(kRed);
  const ObjectHandle red_pen = canvas.create_pen(kRed);
  canvas.select(white_pen);
  canvas.select(white);
  canvas.ellipse(0, 0, 4, 4);
  canvas.select(red_pen);
  canvas.select(red);
  canvas.ellipse(2, 2, 6, 6);
  canvas.select(white_pen);
  canvas.select(white);
  canvas.ellipse(4, 4, 8, 8);
  const std::string svg = canvas.finish();
  EXPECT_EQ(count(svg, "<path fill=\"#ffffff\""), 2);
  EXPECT_EQ(count(svg, "<path fill=\"#ff0000\""), 1);
  EXPECT_LT(svg.find("M0 2"), svg.find("M2 4"));
  EXPECT_LT(svg.find("M2 4"), svg.find("M4 6"));
}

TEST(SvgCanvas, HollowInvertAndNullPen) {
  SvgCanvas canvas(50, 50, "");
  canvas.select(canvas.stock_object(StockObject::hollow_brush));
  canvas.set_invert(true);
  canvas.rectangle(10, 10, 20, 20);
  canvas.rectangle(10, 10, 10, 20);  // empty: nothing
  canvas.set_invert(false);
  canvas.select(canvas.stock_object(StockObject::null_pen));
  canvas.rectangle(0, 0, 5, 5);  // neither outline nor inside: an empty element
  canvas.select(canvas.stock_object(StockObject::black_brush));
  canvas.rectangle(0, 0, 5, 5);
  canvas.fill_rect(Rect{0, 0, 5, 5}, canvas.stock_object(StockObject::hollow_brush));
  const std::string svg = canvas.finish();
  check_xml(svg);
  EXPECT_THAT(svg, HasSubstr("<rect x=\"10.5\" y=\"10.5\" width=\"9\" height=\"9\" fill=\"none\" "
                             "stroke=\"#ffffff\" style=\"mix-blend-mode:difference\"/>"));
  EXPECT_THAT(svg, HasSubstr("<rect x=\"1\" y=\"1\" width=\"3\" height=\"3\" fill=\"#000000\"/>"));
  EXPECT_EQ(count(svg, "<rect"), 2);
}

TEST(SvgCanvas, AWalkOfAHundredThousandSamplesStaysCompact) {
  Simulation sim;
  sim.nsteps = 100000;
  sim.rn_seed = 4242;
  sim.clear();
  sim.walk(true);
  const Chain& chain = sim.chains[0];
  SvgCanvas canvas(400, 400, "Robot path");
  canvas.fill_rect(Rect{0, 0, 400, 400}, canvas.stock_object(StockObject::white_brush));
  canvas.select(canvas.create_pen(chain.colour));
  canvas.select(canvas.create_brush(chain.colour));
  canvas.move_to(chain.xs[0], chain.ys[0]);
  for (std::size_t i = 0; i < chain.xs.size(); ++i) {
    canvas.line_to(chain.xs[i], chain.ys[i]);
    canvas.ellipse(chain.xs[i] - 2, chain.ys[i] - 2, chain.xs[i] + 2, chain.ys[i] + 2);
  }
  const std::string svg = canvas.finish();
  check_xml(svg);
  EXPECT_EQ(count(svg, "<path"), 2);
  const double per_sample = static_cast<double>(svg.size()) / static_cast<double>(chain.xs.size());
  RecordProperty("svg_bytes", static_cast<int>(svg.size()));
  EXPECT_LT(per_sample, 50.0);
  // No line of the file runs on for ever.
  std::size_t longest = 0;
  for (std::size_t at = 0, next; at < svg.size(); at = next + 1) {
    next = svg.find('\n', at);
    next = next == std::string::npos ? svg.size() : next;
    longest = std::max(longest, next - at);
  }
  EXPECT_LT(longest, 600u);
}

}  // namespace
}  // namespace wandrix
