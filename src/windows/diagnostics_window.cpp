#include "windows/diagnostics_window.h"

#include <algorithm>

#include "app/menu_table.h"
#include "view/diagnostics.h"
#include "view/picture_export.h"
#include "windows/window_support.h"

namespace wandrix::windows {

namespace {

// The rectangle's size as Win32 keeps it.
SIZE size_of(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

// What the window's frame adds around a client area of this size.
SIZE outer_size(HWND window, SIZE client) {
  RECT r{0, 0, client.cx, client.cy};
  ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE)));
  return size_of(r);
}

}  // namespace

RECT place_beside(const RECT& owner, SIZE wanted, const RECT& work) {
  const SIZE room = size_of(work);
  int width = std::clamp(static_cast<int>(wanted.cx), 1, std::max(1, static_cast<int>(room.cx)));
  const int height =
      std::clamp(static_cast<int>(wanted.cy), 1, std::max(1, static_cast<int>(room.cy)));
  const int right_room = static_cast<int>(work.right - owner.right);
  const int left_room = static_cast<int>(owner.left - work.left);
  const bool right = right_room >= left_room;
  const int beside = std::max(0, right ? right_room : left_room);
  int left = 0;
  if (beside >= width) {
    left = right ? static_cast<int>(owner.right) : static_cast<int>(owner.left) - width;
  } else if (beside >= kNarrowestBeside) {
    width = beside;
    left = right ? static_cast<int>(owner.right) : static_cast<int>(work.left);
  } else {
    left = right ? static_cast<int>(work.right) - width : static_cast<int>(work.left);
  }
  left = std::clamp(left, static_cast<int>(work.left),
                    std::max(static_cast<int>(work.left), static_cast<int>(work.right) - width));
  const int top =
      std::clamp(static_cast<int>(owner.top), static_cast<int>(work.top),
                 std::max(static_cast<int>(work.top), static_cast<int>(work.bottom) - height));
  return {left, top, left + width, top + height};
}

DiagnosticsWindow::DiagnosticsWindow(Simulation& sim, HWND owner)
    : sim_(sim), owner_(owner), view_(sim) {}

DiagnosticsWindow::~DiagnosticsWindow() {
  if (window_ != nullptr) {
    ::DestroyWindow(window_);
  }
  if (keys_ != nullptr) {
    ::DestroyAcceleratorTable(keys_);
  }
}

bool DiagnosticsWindow::create() {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  // No background: the picture covers the client area.
  register_window_class(kDiagnosticsClass, procedure, 0, nullptr);
  // An owner, not a parent: a window of its own that stays above the
  // landscape, hides when it is minimised and goes when it closes.
  window_ = ::CreateWindowExW(0, kDiagnosticsClass, kDiagnosticsTitle, WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_,
                              nullptr, instance, this);
  if (window_ == nullptr) {
    return false;
  }
  ACCEL keys[] = {
      {FVIRTKEY | FCONTROL, 'C', static_cast<WORD>(command::kCopy)},
      {FVIRTKEY | FCONTROL, VK_INSERT, static_cast<WORD>(command::kCopy)},
      {FVIRTKEY, VK_ESCAPE, IDCANCEL},
  };
  keys_ = ::CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
  // First at the picture's own size, as far as the room beside the
  // landscape allows.
  const Rect picture = diagnostics_picture_rect(sim_);
  RECT owner{};
  ::GetWindowRect(owner_, &owner);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT place =
      place_beside(owner, outer_size(window_, {picture.width(), picture.height()}), monitor.rcWork);
  ::SetWindowPos(window_, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void DiagnosticsWindow::present() {
  if (window_ == nullptr && !create()) {
    return;
  }
  if (::IsIconic(window_)) {
    ::ShowWindow(window_, SW_RESTORE);
  }
  ::ShowWindow(window_, SW_SHOW);
  ::SetForegroundWindow(window_);
  ::SetActiveWindow(window_);
}

bool DiagnosticsWindow::translate_keys(MSG& message) {
  if (window_ == nullptr || keys_ == nullptr ||
      (message.hwnd != window_ && !::IsChild(window_, message.hwnd))) {
    return false;
  }
  return ::TranslateAcceleratorW(window_, keys_, &message) != 0;
}

LRESULT CALLBACK DiagnosticsWindow::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = window_object<DiagnosticsWindow>(window, message, l);
  if (self == nullptr) {
    return ::DefWindowProcW(window, message, w, l);
  }
  if (message == WM_NCCREATE) {
    self->window_ = window;
  }
  if (message == WM_NCDESTROY) {
    // The window is gone (its owner closed); the object stays until the
    // host lets it go.
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return ::DefWindowProcW(window, message, w, l);
  }
  return self->handle(message, w, l);
}

LRESULT DiagnosticsWindow::handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the picture covers the whole client area
    case WM_PAINT:
      paint();
      return 0;
    case WM_SIZE:
      if (w != SIZE_MINIMIZED) {
        ::InvalidateRect(window_, nullptr, FALSE);
      }
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(l);  // NOLINT(performance-no-int-to-ptr)
      limits->ptMinTrackSize = POINT{outer_size(window_, kDiagnosticsMinimumClient).cx,
                                     outer_size(window_, kDiagnosticsMinimumClient).cy};
      return 0;
    }
    case WM_TIMER:
      if (w == kRedrawTimer) {
        ::KillTimer(window_, kRedrawTimer);
        redraw_pending_ = false;
        ::InvalidateRect(window_, nullptr, FALSE);
      }
      return 0;
    case WM_CONTEXTMENU:
      context_menu(l);
      return 0;
    case WM_COMMAND:
      if (LOWORD(w) == command::kCopy) {
        copy();
      } else if (LOWORD(w) == IDCANCEL) {
        ::SendMessageW(window_, WM_CLOSE, 0, 0);
      }
      return 0;
    case WM_CLOSE:
      // Hidden, not destroyed: the menu brings it back at its place and size.
      ::ShowWindow(window_, SW_HIDE);
      return 0;
    case WM_SHOWWINDOW:
      if (w != FALSE) {
        ::InvalidateRect(window_, nullptr, FALSE);  // what changed while it was hidden
      }
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, w, l);
}

void DiagnosticsWindow::context_menu(LPARAM l) {
  POINT at{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
  if (at.x == -1 && at.y == -1) {  // from the keyboard: at the window's corner
    at = POINT{0, 0};
    ::ClientToScreen(window_, &at);
  }
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command::kCopy), L"&Copy\tCtrl+C");
  ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
  ::DestroyMenu(menu);
}

void DiagnosticsWindow::copy() {
  RECT client{};
  ::GetClientRect(window_, &client);
  copy_diagnostics(sim_, Rect{0, 0, client.right, client.bottom});
}

void DiagnosticsWindow::model_changed() {
  view_.model_changed();
  if (window_ == nullptr || !::IsWindowVisible(window_) || redraw_pending_) {
    return;
  }
  const auto wait = view_.redraw_delay(DiagnosticsView::Clock::now());
  redraw_pending_ =
      ::SetTimer(window_, kRedrawTimer, static_cast<UINT>(wait.count()), nullptr) != 0;
}

void DiagnosticsWindow::paint() {
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(window_, &ps);
  RECT client{};
  ::GetClientRect(window_, &client);
  if (client.right > 0 && client.bottom > 0) {
    view_.render(client.right, client.bottom);
    show_surface_on(dc, view_.surface());
  }
  ::EndPaint(window_, &ps);
}

}  // namespace wandrix::windows
