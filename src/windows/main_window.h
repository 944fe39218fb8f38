// The main window on Win32: the window class, the menu bar and accelerator
// table built from the core's menu table, and a window procedure that hands
// every message to the Frame and blits its surface.
#pragma once

#include <windows.h>

#include <string>

#include "app/frame.h"
#include "windows/win32_host.h"

namespace wandrix::windows {

inline constexpr wchar_t kWindowClass[] = L"Wandrix";
inline constexpr int kInitialLeft = 50;
inline constexpr int kInitialTop = 50;
inline constexpr int kInitialOuterSize = 400;

class MainWindow {
 public:
  explicit MainWindow(Simulation& sim);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Registers the class, creates the window at (50, 50), 400 x 400 outside,
  // and shows it. False when the window could not be made.
  bool create();
  // Opens the session file, or else the lesson, once the window has taken
  // its first size.
  void open_at_start(const std::string& path, const std::string& lesson);
  // Runs the message loop with the accelerators; returns the exit code.
  int run();

  [[nodiscard]] HWND handle() const { return window_; }
  // The status bar along the bottom: the walk's progress, then its rates.
  [[nodiscard]] HWND status_bar() const { return status_; }
  [[nodiscard]] Frame& frame() { return frame_; }
  [[nodiscard]] Win32Host& host() { return host_; }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT handle(UINT message, WPARAM w, LPARAM l);
  void paint();
  // Lays out the status bar and the lesson and gives the frame the client
  // area that is left.
  void fit_client(int width, int height, bool minimised);
  void show_walk_state();
  void apply_menu_rules(HMENU menu);
  void command(int id);

  Win32Host host_;
  Frame frame_;
  HWND window_ = nullptr;
  HWND status_ = nullptr;
  std::wstring shown_progress_;
  std::wstring shown_rates_;
  HACCEL accelerators_ = nullptr;
  std::string open_at_start_;
  std::string lesson_at_start_;
};

// The menu bar of the core's menu table.
HMENU build_menu_bar();
// The accelerator table of the core's keys ("Ctrl+C", "F5").
HACCEL build_accelerators();
// One key of the table as an accelerator entry; false for a key it cannot
// name.
bool parse_accelerator(std::string_view keys, int id, ACCEL& accel);

}  // namespace wandrix::windows
