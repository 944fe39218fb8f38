#include "windows/surface_dib.h"

namespace wandrix::windows {

void show_surface_on(HDC dc, const RasterCanvas& surface) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = surface.width();
  info.bmiHeader.biHeight = -surface.height();  // rows top to bottom
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  // 0xFFRRGGBB is the byte order B, G, R of a 32-bit DIB.
  ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(surface.width()),
                      static_cast<DWORD>(surface.height()), 0, 0, 0,
                      static_cast<UINT>(surface.height()), surface.pixels(), &info, DIB_RGB_COLORS);
}

}  // namespace wandrix::windows
