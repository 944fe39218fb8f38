#include "windows/window_support.h"

namespace wandrix::windows {

void register_window_class(const wchar_t* name, WNDPROC procedure, UINT style, HBRUSH background) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSW window_class{};
  if (::GetClassInfoW(instance, name, &window_class) != 0) {
    return;
  }
  window_class.style = style;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hIcon = ::LoadIconW(instance, L"WANDRIX");
  if (window_class.hIcon == nullptr) {
    window_class.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
  }
  window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = background;
  window_class.lpszClassName = name;
  ::RegisterClassW(&window_class);
}

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
