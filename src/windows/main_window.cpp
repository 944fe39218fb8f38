#include "windows/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "app/menu_table.h"
#include "windows/wide_text.h"
#include "windows/window_support.h"

namespace wandrix::windows {

namespace {

// Posted to itself: the window has its first size, the session may open.
constexpr UINT kOpenAtStart = WM_APP + 1;

Point point_of(LPARAM l) { return {GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }

// The progress part's share of the status bar; the rates, the longer text,
// take the rest.
constexpr int kProgressPercent = 35;

// One part's text, and as its tooltip, which the status bar shows when the
// part is too narrow for the text. Only a change is sent: the bar repaints
// at each text it is given, and the walk asks many times a second.
void set_status_part(HWND status, int part, const std::wstring& text, std::wstring& shown) {
  if (text == shown) {
    return;
  }
  shown = text;
  ::SendMessageW(status, SB_SETTEXTW, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(shown.c_str()));
  ::SendMessageW(status, SB_SETTIPTEXTW, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(shown.c_str()));
}

}  // namespace

HMENU build_menu_bar() {
  HMENU bar = ::CreateMenu();
  for (const MenuPopup& popup : menu_bar()) {
    HMENU menu = ::CreatePopupMenu();
    for (const MenuItem& item : popup.items) {
      if (item.separator()) {
        ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        continue;
      }
      std::wstring text = widen(item.text);
      if (!item.shortcut.empty()) {
        text += L'\t' + widen(item.shortcut);
      }
      ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id), text.c_str());
    }
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), widen(popup.title).c_str());
  }
  return bar;
}

bool parse_accelerator(std::string_view keys, int id, ACCEL& accel) {
  accel = ACCEL{};
  accel.fVirt = FVIRTKEY;
  accel.cmd = static_cast<WORD>(id);
  constexpr std::string_view kCtrl = "Ctrl+";
  if (keys.substr(0, kCtrl.size()) == kCtrl) {
    accel.fVirt |= FCONTROL;
    keys.remove_prefix(kCtrl.size());
  }
  if (keys.size() == 1 &&
      ((keys[0] >= 'A' && keys[0] <= 'Z') || (keys[0] >= '0' && keys[0] <= '9'))) {
    accel.key = static_cast<WORD>(static_cast<unsigned char>(keys[0]));
    return true;
  }
  struct Named {
    std::string_view name;
    WORD key;
  };
  constexpr Named kNamed[] = {{"Space", VK_SPACE}, {"Left", VK_LEFT}, {"Right", VK_RIGHT},
                              {"Up", VK_UP},       {"Down", VK_DOWN}, {"Esc", VK_ESCAPE}};
  for (const Named& named : kNamed) {
    if (keys == named.name) {
      accel.key = named.key;
      return true;
    }
  }
  if (keys.size() >= 2 && keys.size() <= 3 && keys[0] == 'F') {
    int number = 0;
    for (const char c : keys.substr(1)) {
      if (c < '0' || c > '9') {
        return false;
      }
      number = number * 10 + (c - '0');
    }
    if (number >= 1 && number <= 24) {
      accel.key = static_cast<WORD>(VK_F1 + number - 1);
      return true;
    }
  }
  return false;
}

HACCEL build_accelerators() {
  std::vector<ACCEL> table;
  for (const Accelerator& accelerator : accelerators()) {
    ACCEL accel{};
    // Esc stays a typed character (WM_CHAR 27): the frame cancels a drag with
    // it or stops the walk.
    if (parse_accelerator(accelerator.keys, accelerator.id, accel) && accel.key != VK_ESCAPE) {
      table.push_back(accel);
    }
  }
  return ::CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

MainWindow::MainWindow(Simulation& sim) : frame_(sim, host_) { sim.set_host(host_); }

MainWindow::~MainWindow() {
  frame_.simulation().set_host(null_host());
  if (accelerators_ != nullptr) {
    ::DestroyAcceleratorTable(accelerators_);
  }
}

bool MainWindow::create() {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  // No double clicks.
  register_window_class(kWindowClass, procedure, CS_HREDRAW | CS_VREDRAW,
                        static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  window_ = ::CreateWindowExW(0, kWindowClass, L"Wandrix", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              kInitialLeft, kInitialTop, kInitialOuterSize, kInitialOuterSize,
                              nullptr, build_menu_bar(), instance, this);
  if (window_ == nullptr) {
    return false;
  }
  accelerators_ = build_accelerators();
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::UpdateWindow(window_);
  return true;
}

void MainWindow::open_at_start(const std::string& path, const std::string& lesson) {
  open_at_start_ = path;
  lesson_at_start_ = lesson;
  ::PostMessageW(window_, kOpenAtStart, 0, 0);
}

int MainWindow::run() {
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    // The diagnostics window's own keys first; the landscape's keys (start,
    // pause, faster...) work from it too.
    DiagnosticsWindow* diagnostics = host_.diagnostics();
    if (diagnostics != nullptr && diagnostics->translate_keys(message)) {
      continue;
    }
    if (host_.lesson_panel().take_key(message)) {
      continue;
    }
    if (::TranslateAcceleratorW(window_, accelerators_, &message) == 0) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  return static_cast<int>(message.wParam);
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = window_object<MainWindow>(window, message, l);
  if (self == nullptr) {
    return ::DefWindowProcW(window, message, w, l);
  }
  if (message == WM_NCCREATE) {
    self->window_ = window;
    self->host_.attach(window, self->frame_, self->frame_.simulation());
  }
  return self->handle(message, w, l);
}

LRESULT MainWindow::handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_CREATE:
      status_ =
          ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_TOOLTIPS, 0, 0,
                            0, 0, window_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
      return status_ == nullptr ? -1 : 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      fit_client(LOWORD(l), HIWORD(l), w == SIZE_MINIMIZED);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the surface covers the whole client area
    case WM_PAINT:
      paint();
      return 0;
    case WM_CHAR:
      frame_.key_char(static_cast<int>(w));
      show_walk_state();
      return 0;
    case WM_TIMER:
      if (w == kTickTimer) {
        ::KillTimer(window_, kTickTimer);
        frame_.tick();
      }
      show_walk_state();
      return 0;
    case WM_COMMAND:
      command(LOWORD(w));
      show_walk_state();
      return 0;
    case WM_INITMENUPOPUP:
      if (HIWORD(l) == 0) {
        apply_menu_rules(::GetMenu(window_));
      }
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(l) == HTCLIENT) {
        ::SetCursor(cursor_handle(host_.cursor()));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      ::SetFocus(window_);  // the keys are the landscape's again, not the lesson text's
      frame_.left_press(point_of(l));
      return 0;
    case WM_LBUTTONUP:
      frame_.left_release(point_of(l));
      show_walk_state();
      return 0;
    case WM_RBUTTONDOWN:
      ::SetFocus(window_);
      frame_.right_press(point_of(l));
      return 0;
    case WM_RBUTTONUP:
      frame_.right_release(point_of(l));
      show_walk_state();
      return 0;
    case WM_MOUSEMOVE:
      frame_.mouse_move(point_of(l));
      return 0;
    case kOpenAtStart:
      if (!open_at_start_.empty()) {
        frame_.open_file(open_at_start_);
      } else {
        frame_.open_lesson_named(lesson_at_start_);
      }
      show_walk_state();  // a lesson's speed too
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, w, l);
}

void MainWindow::fit_client(int width, int height, bool minimised) {
  // The bar places itself along the bottom at the parent's new width.
  ::SendMessageW(status_, WM_SIZE, 0, 0);
  RECT bar{};
  ::GetWindowRect(status_, &bar);
  const int parts[] = {width * kProgressPercent / 100, -1};
  ::SendMessageW(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  const int above_bar = std::max(0, height - static_cast<int>(bar.bottom - bar.top));
  // The lesson, when one is open, takes its room at the right.
  frame_.size(host_.lesson_panel().place(width, above_bar), above_bar, minimised);
  show_walk_state();
}

void MainWindow::show_walk_state() {
  const std::string progress = frame_.progress_text();
  set_status_part(status_, 0, progress.empty() ? L"Ready" : widen(progress), shown_progress_);
  set_status_part(status_, 1, widen(frame_.rates_text()), shown_rates_);
}

void MainWindow::paint() {
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(window_, &ps);
  frame_.render();
  show_surface_on(dc, frame_.surface());
  ::EndPaint(window_, &ps);
}

void MainWindow::apply_menu_rules(HMENU menu) {
  for (const MenuItemState& state : frame_.menu_state()) {
    const auto id = static_cast<UINT>(state.id);
    ::CheckMenuItem(menu, id, MF_BYCOMMAND | (state.checked ? MF_CHECKED : MF_UNCHECKED));
    ::EnableMenuItem(menu, id, MF_BYCOMMAND | (state.enabled ? MF_ENABLED : MF_GRAYED));
  }
}

void MainWindow::command(int id) {
  if (frame_.command(id) == FrameResult::quit) {
    ::PostQuitMessage(0);
  }
}

}  // namespace wandrix::windows
