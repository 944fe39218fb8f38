#include "view/object_table.h"

namespace wandrix {

ObjectTable::ObjectTable()
    : objects_{{Kind::brush, false, kWhite}, {Kind::brush, false, kBlack},
               {Kind::brush, true, kBlack},  {Kind::pen, false, kWhite},
               {Kind::pen, false, kBlack},   {Kind::pen, true, kBlack}},
      pen_handle_(stock(StockObject::black_pen)),
      brush_handle_(stock(StockObject::white_brush)),
      pen_(objects_[pen_handle_ - 1]),
      brush_(objects_[brush_handle_ - 1]) {}

const ObjectTable::Object* ObjectTable::find(ObjectHandle handle) const {
  if (handle == 0 || handle > objects_.size() || objects_[handle - 1].kind == Kind::free) {
    return nullptr;
  }
  return &objects_[handle - 1];
}

ObjectHandle ObjectTable::select(ObjectHandle handle) {
  const Object* chosen = find(handle);
  if (chosen == nullptr) {
    return 0;
  }
  const bool pen = chosen->kind == Kind::pen;
  (pen ? pen_ : brush_) = *chosen;
  ObjectHandle& selected = pen ? pen_handle_ : brush_handle_;
  const ObjectHandle before = selected;
  selected = handle;
  return before;
}

void ObjectTable::remove(ObjectHandle handle) {
  if (handle >= kFirstCreatedObject && handle <= objects_.size()) {
    objects_[handle - 1].kind = Kind::free;
  }
}

}  // namespace wandrix
