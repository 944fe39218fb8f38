#include "windows/win32_host.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "app/frame.h"
#include "platform/program_folder.h"
#include "png/png_encoder.h"
#include "windows/dialogs.h"
#include "windows/lesson_dialog.h"
#include "windows/wide_text.h"

namespace wandrix::windows {

namespace {

// Hands a block of bytes to the open clipboard in the given format; the
// clipboard owns the block from then on.
bool put_on_clipboard(UINT format, const void* data, std::size_t size) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (block == nullptr) {
    return false;
  }
  std::memcpy(::GlobalLock(block), data, size);
  ::GlobalUnlock(block);
  if (::SetClipboardData(format, block) == nullptr) {
    ::GlobalFree(block);
    return false;
  }
  return true;
}

// A device-independent bitmap of the metafile as GDI plays it: the picture
// for programs that paste pixels only.
std::vector<std::uint8_t> bitmap_of(HENHMETAFILE metafile) {
  ENHMETAHEADER header{};
  ::GetEnhMetaFileHeader(metafile, sizeof header, &header);
  const int width = header.rclBounds.right + 1;
  const int height = header.rclBounds.bottom + 1;
  if (width <= 0 || height <= 0) {
    return {};
  }
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up, as every program reads CF_DIB
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
  std::vector<std::uint8_t> dib;
  if (bitmap != nullptr) {
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    const RECT area{0, 0, width, height};
    ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::PlayEnhMetaFile(dc, metafile, &area);
    ::GdiFlush();
    const std::size_t pixels =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    dib.resize(sizeof info + pixels);
    std::memcpy(dib.data(), &info, sizeof info);
    std::memcpy(dib.data() + sizeof info, bits, pixels);
    ::SelectObject(dc, previous);
    ::DeleteObject(bitmap);
  }
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  return dib;
}

}  // namespace

HCURSOR cursor_handle(Cursor cursor) {
  switch (cursor) {
    case Cursor::wait:
      return ::LoadCursorW(nullptr, IDC_WAIT);
    case Cursor::cross:
      return ::LoadCursorW(nullptr, IDC_CROSS);
    default:
      return ::LoadCursorW(nullptr, IDC_ARROW);
  }
}

std::wstring filter_string(const std::vector<FileFilter>& filters) {
  std::wstring text;
  for (const FileFilter& filter : filters) {
    text += widen(filter.description) + L'\0' + widen(filter.pattern) + L'\0';
  }
  return text + L'\0';
}

void Win32Host::attach(HWND window, Frame& frame, Simulation& sim) {
  window_ = window;
  frame_ = &frame;
  sim_ = &sim;
  frame.on_rendered([this] {
    if (diagnostics_) {
      diagnostics_->model_changed();
    }
  });
}

void Win32Host::set_cursor(Cursor cursor) {
  cursor_ = cursor;
  ::SetCursor(cursor_handle(cursor));
}

void Win32Host::invalidate() {
  if (frame_ != nullptr) {
    frame_->request_paint();
  }
  show_surface();
}

// One timer, which a later request restarts; the window's WM_TIMER stops it
// and ticks the frame.
bool Win32Host::request_tick(int milliseconds) {
  return ::SetTimer(window_, kTickTimer, static_cast<UINT>(std::max(milliseconds, 0)), nullptr) !=
         0;
}

void Win32Host::show_surface() { ::InvalidateRect(window_, nullptr, FALSE); }

void Win32Host::message_box(const std::string& text, const std::string& caption) {
  // A box about what the user did in the diagnostics window (its Copy)
  // belongs to that window: closing it gives that window the keyboard back
  // instead of raising the landscape over it.
  HWND owner = window_;
  if (diagnostics_ && diagnostics_->handle() != nullptr &&
      ::GetActiveWindow() == diagnostics_->handle()) {
    owner = diagnostics_->handle();
  }
  show_message_box(owner, text, caption);
}

void Win32Host::set_clipboard_text(const std::string& text) {
  if (!::OpenClipboard(window_)) {
    return;
  }
  ::EmptyClipboard();
  // Text on the Windows clipboard ends its lines with CR LF.
  std::wstring wide;
  for (const wchar_t c : widen(text)) {
    if (c == L'\n') {
      wide += L'\r';
    }
    wide += c;
  }
  put_on_clipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  ::CloseClipboard();
}

bool Win32Host::set_clipboard_picture(const PictureData& picture) {
  if (!::OpenClipboard(window_)) {
    return false;
  }
  ::EmptyClipboard();
  bool placed = false;
  if (!picture.emf.empty()) {
    HENHMETAFILE metafile =
        ::SetEnhMetaFileBits(static_cast<UINT>(picture.emf.size()), picture.emf.data());
    if (metafile != nullptr) {
      const std::vector<std::uint8_t> dib = bitmap_of(metafile);
      if (::SetClipboardData(CF_ENHMETAFILE, metafile) != nullptr) {
        placed = true;
      } else {
        ::DeleteEnhMetaFile(metafile);
      }
      if (!dib.empty()) {
        placed = put_on_clipboard(CF_DIB, dib.data(), dib.size()) || placed;
      }
    }
  }
  // The formats drawing programs and browsers paste by name.
  if (!picture.svg.empty()) {
    placed = put_on_clipboard(::RegisterClipboardFormatW(L"image/svg+xml"), picture.svg.data(),
                              picture.svg.size()) ||
             placed;
  }
  if (!picture.png.empty()) {
    placed = put_on_clipboard(::RegisterClipboardFormatW(L"PNG"), picture.png.data(),
                              picture.png.size()) ||
             placed;
  }
  ::CloseClipboard();
  return placed;
}

void Win32Host::capture_mouse(bool on) {
  if (on) {
    ::SetCapture(window_);
  } else {
    ::ReleaseCapture();
  }
}

Rect Win32Host::resize_client(int width, int height) {
  RECT client{};
  ::GetClientRect(window_, &client);
  // What the client area holds besides the landscape: the status bar below
  // it (as the window last laid it out) and the lesson beside it.
  const int beside = lesson_.visible() ? lesson_.preferred_width() : 0;
  const int below = std::max(0, static_cast<int>(client.bottom) - frame_->height());
  const auto landscape = [&] {
    ::GetClientRect(window_, &client);
    return Rect{0, 0, std::max(0, static_cast<int>(client.right) - beside),
                std::max(0, static_cast<int>(client.bottom) - below)};
  };
  if (::IsZoomed(window_) || ::IsIconic(window_)) {
    return landscape();  // the window keeps its size
  }
  width += beside;
  height += below;
  RECT outer{};
  ::GetWindowRect(window_, &outer);
  // What the window adds around the client area: title, menu bar, borders.
  const int extra_width = (outer.right - outer.left) - client.right;
  const int extra_height = (outer.bottom - outer.top) - client.bottom;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT room = monitor.rcWork;
  const int room_width = room.right - room.left;
  const int room_height = room.bottom - room.top;
  const int outer_width = std::clamp(width, 1, std::max(1, room_width - extra_width)) + extra_width;
  const int outer_height =
      std::clamp(height, 1, std::max(1, room_height - extra_height)) + extra_height;
  // Kept on the screen: moved back where the larger frame would leave it.
  const int left =
      std::clamp(static_cast<int>(outer.left), static_cast<int>(room.left),
                 std::max(static_cast<int>(room.left), static_cast<int>(room.right) - outer_width));
  const int top = std::clamp(
      static_cast<int>(outer.top), static_cast<int>(room.top),
      std::max(static_cast<int>(room.top), static_cast<int>(room.bottom) - outer_height));
  ::SetWindowPos(window_, nullptr, left, top, outer_width, outer_height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  return landscape();
}

std::optional<std::string> Win32Host::file_dialog(const FileDialogRequest& request) {
  const std::wstring filters = filter_string(request.filters);
  const std::wstring extension = widen(request.default_extension);
  const std::wstring folder = widen(request.folder);
  std::wstring file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  // Browsing moves the working directory to the chosen file's folder, where
  // the help page is looked for first; saving onto a file asks nothing, as
  // the program always has.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                 (request.for_open ? OFN_FILEMUSTEXIST : 0);
  const BOOL chosen = request.for_open ? ::GetOpenFileNameW(&dialog) : ::GetSaveFileNameW(&dialog);
  if (!chosen) {
    return std::nullopt;
  }
  file.resize(std::wcslen(file.c_str()));
  return narrow(file);
}

ScreenMetrics Win32Host::screen_metrics() const {
  HDC screen = ::GetDC(nullptr);
  ScreenMetrics metrics;
  metrics.width_px = ::GetDeviceCaps(screen, HORZRES);
  metrics.height_px = ::GetDeviceCaps(screen, VERTRES);
  metrics.width_mm = ::GetDeviceCaps(screen, HORZSIZE);
  metrics.height_mm = ::GetDeviceCaps(screen, VERTSIZE);
  ::ReleaseDC(nullptr, screen);
  if (metrics.width_px <= 0 || metrics.height_px <= 0 || metrics.width_mm <= 0 ||
      metrics.height_mm <= 0) {
    return {};
  }
  return metrics;
}

std::optional<std::vector<std::uint8_t>> Win32Host::encode_png(const std::uint32_t* pixels,
                                                               int width, int height) {
  return wandrix::encode_png(pixels, width, height);
}

std::string Win32Host::working_directory() const {
  std::wstring folder(::GetCurrentDirectoryW(0, nullptr), L'\0');
  folder.resize(::GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  return narrow(folder);
}

std::string Win32Host::program_directory() const { return program_folder(); }

ProgramLookup Win32Host::find_associated_program(const std::string& file,
                                                 const std::string& folder) {
  wchar_t program[MAX_PATH] = {};
  const auto code = static_cast<int>(reinterpret_cast<INT_PTR>(
      ::FindExecutableW(widen(file).c_str(), widen(folder).c_str(), program)));
  return {code, code > 32 ? narrow(program) : std::string(), {}};
}

void Win32Host::start_detached(const std::vector<std::string>& argv) {
  if (argv.empty()) {
    return;
  }
  std::vector<std::wstring> arguments;
  arguments.reserve(argv.size());
  for (const std::string& argument : argv) {
    arguments.push_back(widen(argument));
  }
  std::wstring line = command_line(arguments.data(), arguments.size());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (::CreateProcessW(arguments.front().c_str(), line.data(), nullptr, nullptr, FALSE,
                       DETACHED_PROCESS, nullptr, nullptr, &startup, &process)) {
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
}

DialogResult Win32Host::run_robot_options_dialog() {
  return windows::run_robot_options_dialog(window_, *sim_);
}

DialogResult Win32Host::run_hill_dialog() { return windows::run_hill_dialog(window_, *sim_); }

void Win32Host::run_about_box() { windows::run_about_box(window_); }

void Win32Host::show_diagnostics() {
  if (sim_ == nullptr) {
    return;
  }
  if (!diagnostics_) {
    diagnostics_ = std::make_unique<DiagnosticsWindow>(*sim_, window_);
  }
  diagnostics_->present();
}

std::optional<std::size_t> Win32Host::choose_lesson(const std::vector<LessonItem>& lessons) {
  return run_lesson_dialog(window_, lessons);
}

void Win32Host::show_lesson(const std::string& title, const std::vector<std::string>& paragraphs) {
  const bool opening = !lesson_.visible();
  lesson_.show(window_, title, paragraphs, [this] { keep_landscape_size(); });
  if (opening) {
    keep_landscape_size();
  }
}

void Win32Host::keep_landscape_size() {
  // A maximised window keeps its size, and so gets no size message: the
  // panel's room comes from the landscape then. Any other window is laid out
  // by the size message of its new size, whenever that comes; a layout of
  // the size it has before would squeeze the landscape for a moment, and
  // every size the landscape takes rescales the walk's settings.
  if (::IsZoomed(window_)) {
    RECT client{};
    ::GetClientRect(window_, &client);
    ::SendMessageW(window_, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(client.right, client.bottom));
    return;
  }
  resize_client(frame_->width(), frame_->height());
}

}  // namespace wandrix::windows
