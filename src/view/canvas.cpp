#include "view/canvas.h"

#include <unordered_map>

namespace wandrix {

void Canvas::draw_image(int left, int top, const Image& image) {
  std::unordered_map<std::uint32_t, ObjectHandle> brushes;
  const auto brush_of = [this, &brushes](std::uint32_t pixel) {
    auto [it, added] = brushes.try_emplace(pixel, 0);
    if (added) {
      it->second = create_brush(make_colour(static_cast<int>((pixel >> 16) & 0xFFu),
                                            static_cast<int>((pixel >> 8) & 0xFFu),
                                            static_cast<int>(pixel & 0xFFu)));
    }
    return it->second;
  };
  const std::uint32_t* row = image.pixels.data();
  for (int y = 0; y < image.height; ++y, row += image.width) {
    int x = 0;
    while (x < image.width) {
      const int begin = x;
      while (x < image.width && row[x] == row[begin]) {
        ++x;
      }
      fill_rect(Rect{left + begin, top + y, left + x, top + y + 1}, brush_of(row[begin]));
    }
  }
  for (const auto& [pixel, brush] : brushes) {
    delete_object(brush);
  }
}

}  // namespace wandrix
