// The core's raster surface on a Win32 device context.
#pragma once

#include <windows.h>

#include "view/raster_canvas.h"

namespace wandrix::windows {

// Sets the surface's pixels at the device context's origin, without
// stretching: one call, so a window that shows it never flickers.
void show_surface_on(HDC dc, const RasterCanvas& surface);

}  // namespace wandrix::windows
