// Show > Diagnostics... on Win32: a top-level window of its own class, owned
// by the main window (it stays above it, goes with it and is not modal),
// resizable, that shows the core's diagnostics picture at its client size
// and follows every render of the landscape. Ctrl+C (and Ctrl+Insert, and
// Copy in its context menu) copies the picture as the main window's Copy
// does; Esc hides it and the menu brings it back where it was.
#pragma once

#include <windows.h>

#include "app/diagnostics_view.h"

namespace wandrix::windows {

inline constexpr wchar_t kDiagnosticsClass[] = L"WandrixDiagnostics";
inline constexpr wchar_t kDiagnosticsTitle[] = L"Wandrix diagnostics";
// The timer that draws again once the throttle allows.
inline constexpr UINT_PTR kRedrawTimer = 1;
// The smallest client area the window can be given.
inline constexpr SIZE kDiagnosticsMinimumClient{160, 120};
// Narrower than this beside the owner, the window goes over it instead.
inline constexpr int kNarrowestBeside = 320;

class DiagnosticsWindow {
 public:
  DiagnosticsWindow(Simulation& sim, HWND owner);
  ~DiagnosticsWindow();
  DiagnosticsWindow(const DiagnosticsWindow&) = delete;
  DiagnosticsWindow& operator=(const DiagnosticsWindow&) = delete;

  // Shown, in front and active; made and placed beside the owner the first
  // time.
  void present();
  // The model changed: draw again, as often as the throttle allows.
  void model_changed();
  // The window's own keys (Ctrl+C, Ctrl+Insert, Esc) for a message on its
  // way to it; true when the message was one of them and is done.
  bool translate_keys(MSG& message);

  // The window, or nullptr once it is destroyed (with its owner).
  [[nodiscard]] HWND handle() const { return window_; }
  // The picture as last shown.
  [[nodiscard]] const RasterCanvas& surface() const { return view_.surface(); }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT handle(UINT message, WPARAM w, LPARAM l);
  bool create();
  void paint();
  void copy();
  void context_menu(LPARAM l);

  Simulation& sim_;
  HWND owner_;
  HWND window_ = nullptr;
  HACCEL keys_ = nullptr;
  DiagnosticsView view_;
  bool redraw_pending_ = false;
};

// The outer rectangle for a window of the wanted outer size beside the owner
// in the work area: on the side with more room, as wide as that room allows;
// over the owner, at the work area's edge on that side, when even that is
// narrower than kNarrowestBeside. Never larger than the work area, never
// outside it.
RECT place_beside(const RECT& owner, SIZE wanted, const RECT& work);

}  // namespace wandrix::windows
