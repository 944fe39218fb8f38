// A core surface as Qt shows it: its pixels wrapped in a QImage without a
// copy, valid while the surface is neither resized nor destroyed.
#pragma once

#include <QImage>

#include "view/raster_canvas.h"

namespace wandrix::desktop {

inline QImage surface_image(const RasterCanvas& surface) {
  return {reinterpret_cast<const uchar*>(surface.pixels()), surface.width(), surface.height(),
          static_cast<qsizetype>(surface.width()) * 4, QImage::Format_RGB32};
}

}  // namespace wandrix::desktop
