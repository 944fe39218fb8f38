#include "windows/lesson_panel.h"

#include <algorithm>

#include "windows/wide_text.h"
#include "windows/window_support.h"

namespace wandrix::windows {

namespace {

// Sizes in pixels at 96 dots per inch.
constexpr int kPanelWidth = 300;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kCloseId = 1;

HFONT message_font(bool bold) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return nullptr;
  }
  if (bold) {
    metrics.lfMessageFont.lfWeight = FW_BOLD;
    metrics.lfMessageFont.lfHeight = metrics.lfMessageFont.lfHeight * 5 / 4;
  }
  return ::CreateFontIndirectW(&metrics.lfMessageFont);
}

void set_font(HWND control, HFONT font) {
  if (font != nullptr) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

bool control_down() { return (::GetKeyState(VK_CONTROL) & 0x8000) != 0; }

}  // namespace

std::wstring lesson_text(const std::vector<std::string>& paragraphs) {
  std::wstring text;
  for (const std::string& paragraph : paragraphs) {
    if (!text.empty()) {
      text += L"\r\n\r\n";
    }
    for (const wchar_t c : widen(paragraph)) {
      if (c == L'\n') {
        text += L'\r';
      }
      text += c;
    }
  }
  return text;
}

LessonPanel::~LessonPanel() {
  // The panel goes with its parent; what is left to free is the fonts.
  if (panel_ != nullptr && ::IsWindow(panel_)) {
    ::DestroyWindow(panel_);
  }
  for (HFONT font : {font_, title_font_}) {
    if (font != nullptr) {
      ::DeleteObject(font);
    }
  }
}

int LessonPanel::scaled(int pixels) const { return ::MulDiv(pixels, dpi_, 96); }

bool LessonPanel::create(HWND parent) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  register_window_class(kLessonPanelClass, procedure, 0, ::GetSysColorBrush(COLOR_BTNFACE));
  parent_ = parent;
  HDC screen = ::GetDC(nullptr);
  dpi_ = std::max(96, ::GetDeviceCaps(screen, LOGPIXELSX));
  ::ReleaseDC(nullptr, screen);
  panel_ =
      ::CreateWindowExW(WS_EX_CONTROLPARENT, kLessonPanelClass, L"", WS_CHILD | WS_CLIPCHILDREN, 0,
                        0, 0, 0, parent, nullptr, instance, this);
  if (panel_ == nullptr) {
    return false;
  }
  title_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0,
                             0, 0, panel_, nullptr, instance, nullptr);
  text_ = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, L"EDIT", L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
      0, 0, 0, 0, panel_, nullptr, instance, nullptr);
  // A child's id travels in the menu handle's place.
  auto* id = reinterpret_cast<HMENU>(  // NOLINT(performance-no-int-to-ptr)
      static_cast<INT_PTR>(kCloseId));
  close_ = ::CreateWindowExW(0, L"BUTTON", kCloseLessonText,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, panel_,
                             id, instance, nullptr);
  font_ = message_font(false);
  title_font_ = message_font(true);
  set_font(title_, title_font_);
  set_font(text_, font_);
  set_font(close_, font_);
  return title_ != nullptr && text_ != nullptr && close_ != nullptr;
}

void LessonPanel::show(HWND parent, const std::string& title,
                       const std::vector<std::string>& paragraphs, std::function<void()> on_close) {
  if (panel_ == nullptr && !create(parent)) {
    return;
  }
  on_close_ = std::move(on_close);
  ::SetWindowTextW(title_, widen(title).c_str());
  ::SetWindowTextW(text_, lesson_text(paragraphs).c_str());
  // A new lesson is read from its beginning.
  ::SendMessageW(text_, EM_SETSEL, 0, 0);
  ::SendMessageW(text_, EM_SCROLLCARET, 0, 0);
  layout();
  ::ShowWindow(panel_, SW_SHOWNA);
}

bool LessonPanel::visible() const { return panel_ != nullptr && ::IsWindowVisible(panel_); }

int LessonPanel::preferred_width() const {
  if (panel_ != nullptr) {
    return scaled(kPanelWidth);
  }
  HDC screen = ::GetDC(nullptr);
  const int dpi = std::max(96, ::GetDeviceCaps(screen, LOGPIXELSX));
  ::ReleaseDC(nullptr, screen);
  return ::MulDiv(kPanelWidth, dpi, 96);
}

int LessonPanel::place(int client_width, int height) {
  if (!visible()) {
    return client_width;
  }
  const int width =
      std::clamp(client_width - kNarrowestLandscape, 0, std::min(client_width, preferred_width()));
  const int left = client_width - width;
  ::SetWindowPos(panel_, nullptr, left, 0, width, std::max(0, height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  layout();
  return left;
}

// Title at the top, as many lines as it needs; Close at the bottom right;
// the text between them.
void LessonPanel::layout() {
  RECT area{};
  ::GetClientRect(panel_, &area);
  const int margin = scaled(kMargin);
  const int inner = std::max(0, static_cast<int>(area.right) - 2 * margin);
  RECT title_box{0, 0, inner, 0};
  HDC dc = ::GetDC(title_);
  HGDIOBJ previous = ::SelectObject(dc, title_font_ != nullptr ? static_cast<HGDIOBJ>(title_font_)
                                                               : ::GetStockObject(SYSTEM_FONT));
  const std::wstring title = [this] {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(title_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(title_, text.data(), static_cast<int>(text.size()))));
    return text;
  }();
  ::DrawTextW(dc, title.empty() ? L" " : title.c_str(), -1, &title_box,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  ::SelectObject(dc, previous);
  ::ReleaseDC(title_, dc);
  const int title_height = title_box.bottom - title_box.top;
  const int button_width = scaled(kButtonWidth);
  const int button_height = scaled(kButtonHeight);
  const int button_top = std::max(0, static_cast<int>(area.bottom) - margin - button_height);
  const int text_top = margin + title_height + margin / 2;
  ::MoveWindow(title_, margin, margin, inner, title_height, TRUE);
  ::MoveWindow(text_, margin, text_top, inner, std::max(0, button_top - margin - text_top), TRUE);
  ::MoveWindow(close_, std::max(margin, static_cast<int>(area.right) - margin - button_width),
               button_top, button_width, button_height, TRUE);
}

void LessonPanel::close() {
  // The keyboard goes back to the window before its holder disappears.
  if (::GetFocus() == text_ || ::GetFocus() == close_) {
    ::SetFocus(parent_);
  }
  ::ShowWindow(panel_, SW_HIDE);
  if (on_close_) {
    on_close_();
  }
}

bool LessonPanel::take_key(const MSG& message) {
  if (panel_ == nullptr || (message.hwnd != text_ && message.hwnd != close_) ||
      message.message != WM_KEYDOWN) {
    return false;
  }
  const auto key = static_cast<UINT>(message.wParam);
  if (key == VK_ESCAPE) {
    ::SetFocus(parent_);
    ::SendMessageW(parent_, WM_CHAR, VK_ESCAPE, 0);
    return true;
  }
  if (key == VK_TAB) {
    ::SetFocus(message.hwnd == text_ ? close_ : text_);
    return true;
  }
  if (message.hwnd == close_) {
    if (key == VK_RETURN || key == VK_SPACE) {
      close();
      return true;
    }
    return false;
  }
  const bool moves = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN ||
                     key == VK_PRIOR || key == VK_NEXT || key == VK_HOME || key == VK_END;
  const bool copies = control_down() && (key == 'C' || key == 'A' || key == VK_INSERT);
  if (!moves && !copies) {
    return false;
  }
  if (copies && key == 'A') {
    // The edit of older systems has no Ctrl+A of its own.
    ::SendMessageW(text_, EM_SETSEL, 0, -1);
    return true;
  }
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
  return true;
}

LRESULT CALLBACK LessonPanel::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = window_object<LessonPanel>(window, message, l);
  if (self == nullptr) {
    return ::DefWindowProcW(window, message, w, l);
  }
  if (message == WM_NCCREATE) {
    self->panel_ = window;  // before CreateWindowExW returns it
  }
  return self->handle(message, w, l);
}

LRESULT LessonPanel::handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(w) == kCloseId && HIWORD(w) == BN_CLICKED) {
        close();
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      // A read-only edit is grey by default; the lesson is read on white.
      if (reinterpret_cast<HWND>(l) == text_) {  // NOLINT(performance-no-int-to-ptr)
        auto* dc = reinterpret_cast<HDC>(w);     // NOLINT(performance-no-int-to-ptr)
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    case WM_NCDESTROY: {
      HWND window = panel_;
      panel_ = title_ = text_ = close_ = nullptr;
      return ::DefWindowProcW(window, message, w, l);
    }
    default:
      break;
  }
  return ::DefWindowProcW(panel_, message, w, l);
}

}  // namespace wandrix::windows
