#include "windows/wide_text.h"

#include <windows.h>

namespace wandrix::windows {

std::wstring widen(std::string_view utf8) {
  if (utf8.empty()) {
    return {};
  }
  const int size = static_cast<int>(utf8.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string narrow(std::wstring_view utf16) {
  if (utf16.empty()) {
    return {};
  }
  const int size = static_cast<int>(utf16.size());
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

// Backslashes count only before a quote: 2n+1 of them and the quote when one
// is escaped, 2n before the closing quote.
std::wstring command_line(const std::wstring* arguments, std::size_t count) {
  std::wstring line;
  for (std::size_t i = 0; i < count; ++i) {
    const std::wstring& argument = arguments[i];
    if (i > 0) {
      line += L' ';
    }
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
      line += argument;
      continue;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
      if (c == L'\\') {
        ++backslashes;
        continue;
      }
      line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
      backslashes = 0;
      line += c;
    }
    line.append(2 * backslashes, L'\\');
    line += L'"';
  }
  return line;
}

}  // namespace wandrix::windows
