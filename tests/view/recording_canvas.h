// RecordingCanvas: a Canvas for tests that records every call as one short
// readable line and checks the object rules of the Canvas contract as it goes
// (select only live objects, delete only unselected ones, nothing leaked).
//
// Lines, one per call (colours as rrggbb, red first, like HTML):
//   "create_pen 00ff00 -> 1"      "create_brush ff0000 -> 2"
//   "stock hollow_brush -> hollow_brush"
//   "select 1 -> black_pen"        (the previously selected object of that kind)
//   "delete 1"                     "move_to 3 4"          "line_to 4 5"
//   "ellipse 1 2 5 6"              "rectangle 0 0 10 10"
//   "fill_rect 0 0 400 400 brush 2"                       "set_invert 1"
// Created objects are numbered 1, 2, 3, ... and never reused; stock objects
// have fixed handles (kStockBase + enum value) and are written by name.
// Breaches of the contract are not recorded as calls but collected in
// errors(), so a test can check `EXPECT_THAT(canvas.errors(), IsEmpty())`.
#pragma once

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "view/canvas.h"

namespace wandrix::testing {

class RecordingCanvas final : public Canvas {
 public:
  static constexpr ObjectHandle kStockBase = 1000;

  static ObjectHandle stock_handle(StockObject object) {
    return kStockBase + static_cast<ObjectHandle>(object);
  }
  static bool is_stock(ObjectHandle h) { return h >= kStockBase && h <= kStockBase + 5; }
  static bool is_stock_pen(ObjectHandle h) {
    return h == stock_handle(StockObject::white_pen) || h == stock_handle(StockObject::black_pen) ||
           h == stock_handle(StockObject::null_pen);
  }

  // rrggbb of a Colour (which keeps red in its low byte).
  static std::string colour_text(Colour c) {
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", red_of(c), green_of(c), blue_of(c));
    return text;
  }

  static std::string handle_text(ObjectHandle h) {
    static const char* const names[] = {"white_brush", "black_brush", "hollow_brush",
                                        "white_pen",   "black_pen",   "null_pen"};
    return is_stock(h) ? names[h - kStockBase] : std::to_string(h);
  }

  ObjectHandle create_pen(Colour colour) override { return create(true, "create_pen", colour); }
  ObjectHandle create_brush(Colour colour) override {
    return create(false, "create_brush", colour);
  }

  ObjectHandle stock_object(StockObject object) override {
    const ObjectHandle h = stock_handle(object);
    record("stock " + handle_text(h) + " -> " + handle_text(h));
    return h;
  }

  ObjectHandle select(ObjectHandle object) override {
    bool pen = false;
    if (is_stock(object)) {
      pen = is_stock_pen(object);
    } else if (auto it = objects_.find(object); it != objects_.end()) {
      pen = it->second.pen;
    } else {
      error("select of unknown or deleted object " + std::to_string(object));
      record("select " + handle_text(object) + " -> 0");
      return 0;
    }
    ObjectHandle& slot = pen ? pen_ : brush_;
    const ObjectHandle before = slot;
    slot = object;
    record("select " + handle_text(object) + " -> " + handle_text(before));
    return before;
  }

  void delete_object(ObjectHandle object) override {
    record("delete " + handle_text(object));
    if (is_stock(object)) {
      return;
    }
    if (objects_.erase(object) == 0) {
      error("delete of unknown or deleted object " + std::to_string(object));
    } else if (object == pen_ || object == brush_) {
      error("delete of selected object " + std::to_string(object));
    }
  }

  void move_to(int x, int y) override {
    record("move_to " + numbers({x, y}));
    position_ = {x, y};
  }
  void line_to(int x, int y) override {
    record("line_to " + numbers({x, y}));
    position_ = {x, y};
  }
  void ellipse(int left, int top, int right, int bottom) override {
    record("ellipse " + numbers({left, top, right, bottom}));
  }
  void rectangle(int left, int top, int right, int bottom) override {
    record("rectangle " + numbers({left, top, right, bottom}));
  }
  void fill_rect(const Rect& box, ObjectHandle brush) override {
    record("fill_rect " + numbers({box.left, box.top, box.right, box.bottom}) + " brush " +
           handle_text(brush));
    const auto it = objects_.find(brush);
    const bool live_brush =
        it != objects_.end() ? !it->second.pen : is_stock(brush) && !is_stock_pen(brush);
    if (!live_brush) {
      error("fill_rect with something that is not a live brush: " + std::to_string(brush));
    }
  }
  void set_invert(bool on) override {
    record(std::string("set_invert ") + (on ? "1" : "0"));
    invert_ = on;
  }

  // --- what a test inspects ---
  [[nodiscard]] const std::vector<std::string>& calls() const { return calls_; }
  [[nodiscard]] const std::vector<std::string>& errors() const { return errors_; }
  // Calls whose line starts with `prefix` ("ellipse", "select 3").
  [[nodiscard]] int count(const std::string& prefix) const {
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(), [&](const std::string& c) {
      return c.compare(0, prefix.size(), prefix) == 0;
    }));
  }
  // All calls, one per line, for readable failure messages.
  [[nodiscard]] std::string text() const {
    std::string all;
    for (const std::string& c : calls_) {
      all += c;
      all += '\n';
    }
    return all;
  }
  [[nodiscard]] ObjectHandle selected_pen() const { return pen_; }
  [[nodiscard]] ObjectHandle selected_brush() const { return brush_; }
  // True when the fresh canvas's selections (black pen, white brush) are back.
  [[nodiscard]] bool selections_restored() const {
    return pen_ == stock_handle(StockObject::black_pen) &&
           brush_ == stock_handle(StockObject::white_brush);
  }
  // Created objects not yet deleted.
  [[nodiscard]] int live_objects() const { return static_cast<int>(objects_.size()); }
  [[nodiscard]] bool invert() const { return invert_; }
  [[nodiscard]] Point position() const { return position_; }
  // Colour a created pen or brush was made with (0 for stock or unknown).
  [[nodiscard]] Colour colour_of(ObjectHandle h) const {
    const auto it = objects_.find(h);
    return it == objects_.end() ? 0 : it->second.colour;
  }
  // Forgets the calls and errors so far; objects and selections stay.
  void clear_calls() {
    calls_.clear();
    errors_.clear();
  }

 private:
  struct Object {
    bool pen = false;
    Colour colour = 0;
  };

  ObjectHandle create(bool pen, const char* what, Colour colour) {
    const ObjectHandle h = next_++;
    objects_[h] = Object{pen, colour};
    record(std::string(what) + " " + colour_text(colour) + " -> " + std::to_string(h));
    return h;
  }

  static std::string numbers(std::initializer_list<int> values) {
    std::string text;
    for (int v : values) {
      if (!text.empty()) {
        text += ' ';
      }
      text += std::to_string(v);
    }
    return text;
  }

  void record(std::string line) { calls_.push_back(std::move(line)); }
  void error(std::string what) { errors_.push_back(std::move(what)); }

  std::vector<std::string> calls_;
  std::vector<std::string> errors_;
  std::map<ObjectHandle, Object> objects_;
  ObjectHandle next_ = 1;
  ObjectHandle pen_ = stock_handle(StockObject::black_pen);
  ObjectHandle brush_ = stock_handle(StockObject::white_brush);
  bool invert_ = false;
  Point position_;
};

}  // namespace wandrix::testing
