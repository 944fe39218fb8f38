// The table of pens and brushes a canvas keeps, shared by every canvas so
// that handles are numbered alike: 1 to 6 are the stock objects, and a created
// object takes the lowest free slot from 7 on.
#pragma once

#include <cstddef>
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

}  // namespace wandrix
