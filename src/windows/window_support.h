// What the program's own windows share: their class and showing the core's
// raster surface.
#pragma once

#include <windows.h>

#include "view/raster_canvas.h"

namespace wandrix::windows {

// Registers a window class of the program, with its icon and the arrow
// cursor, once; a later call for the same name does nothing.
void register_window_class(const wchar_t* name, WNDPROC procedure, UINT style, HBRUSH background);

// The object behind a window of the program: given as the creation
// parameter, kept in the window's user data from WM_NCCREATE on; nullptr
// before that.
template <class Object>
Object* window_object(HWND window, UINT message, LPARAM l) {
  if (message == WM_NCCREATE) {
    // Win32 hands the object over as an integer, and keeps it as one.
    const auto* create = reinterpret_cast<CREATESTRUCTW*>(l);  // NOLINT(performance-no-int-to-ptr)
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return reinterpret_cast<Object*>(  // NOLINT(performance-no-int-to-ptr)
      ::GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Sets the surface's pixels at the device context's origin, without
// stretching: one call, so a window that shows it never flickers.
void show_surface_on(HDC dc, const RasterCanvas& surface);

}  // namespace wandrix::windows
