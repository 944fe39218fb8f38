// What the program's own windows share: their class and showing the core's
// raster surface.
#pragma once

#include <windows.h>

#include "view/raster_canvas.h"

namespace wandrix::windows {

// Registers a window class of the program, with its icon and the arrow
// cursor, once; a later call for the same name does nothing.
void register_window_class(const wchar_t* name, WNDPROC procedure, UINT style, HBRUSH background);

// Sets the surface's pixels at the device context's origin, without
// stretching: one call, so a window that shows it never flickers.
void show_surface_on(HDC dc, const RasterCanvas& surface);

}  // namespace wandrix::windows
