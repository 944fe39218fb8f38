// The table of pens and brushes a canvas keeps, shared by every canvas so
// that handles are numbered alike: 1 to 6 are the stock objects, and a created
// object takes the lowest free slot from 7 on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "view/canvas.h"

namespace wandrix {

inline constexpr ObjectHandle kFirstCreatedObject = 7;

// Object has a member kind whose enumeration has a value free; slot i holds
// handle i + 1.
template <class Object>
ObjectHandle add_to_object_table(std::vector<Object>& objects, const Object& object) {
  using Kind = decltype(object.kind);
  for (std::size_t i = kFirstCreatedObject - 1; i < objects.size(); ++i) {
    if (objects[i].kind == Kind::free) {
      objects[i] = object;
      return static_cast<ObjectHandle>(i + 1);
    }
  }
  objects.push_back(object);
  return static_cast<ObjectHandle>(objects.size());
}

// The objects of a canvas that draws with colours as they are (the raster
// surface and SVG): the Canvas calls on objects, and the selected pen and
// brush. The selected ones are kept by value, so deleting one by mistake
// cannot leave the canvas drawing with a reused handle's colour.
class ObjectTable {
 public:
  enum class Kind : std::uint8_t { free, pen, brush };
  struct Object {
    Kind kind = Kind::free;
    bool none = false;  // null pen or hollow brush
    Colour colour = 0;
  };

  // The stock objects, with the black pen and the white brush selected.
  ObjectTable();

  ObjectHandle create(Kind kind, Colour colour) {
    return add_to_object_table(objects_, Object{kind, false, colour});
  }
  static ObjectHandle stock(StockObject object) { return static_cast<ObjectHandle>(object) + 1; }
  // Returns the object of the same kind selected before; 0, and nothing
  // changes, for a handle that names no object.
  ObjectHandle select(ObjectHandle handle);
  // Stock objects and unknown handles are left alone.
  void remove(ObjectHandle handle);
  // The object a handle names, or nullptr.
  [[nodiscard]] const Object* find(ObjectHandle handle) const;

  [[nodiscard]] const Object& pen() const { return pen_; }
  [[nodiscard]] const Object& brush() const { return brush_; }

 private:
  std::vector<Object> objects_;  // handle - 1
  ObjectHandle pen_handle_;
  ObjectHandle brush_handle_;
  Object pen_;
  Object brush_;
};

// A canvas whose pens and brushes live in an ObjectTable, with its current
// position and invert mode: what the raster surface and SVG share.
class TableCanvas : public Canvas {
 public:
  ObjectHandle create_pen(Colour colour) final {
    return objects_.create(ObjectTable::Kind::pen, colour);
  }
  ObjectHandle create_brush(Colour colour) final {
    return objects_.create(ObjectTable::Kind::brush, colour);
  }
  ObjectHandle stock_object(StockObject object) final { return ObjectTable::stock(object); }
  ObjectHandle select(ObjectHandle object) final { return objects_.select(object); }
  void delete_object(ObjectHandle object) final { objects_.remove(object); }
  void move_to(int x, int y) final {
    x_ = x;
    y_ = y;
  }
  void set_invert(bool on) final { invert_ = on; }

 protected:
  ObjectTable objects_;
  int x_ = 0;
  int y_ = 0;
  bool invert_ = false;
};

}  // namespace wandrix
