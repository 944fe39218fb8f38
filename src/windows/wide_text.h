// The program's texts are UTF-8; the wide Win32 calls take UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace wandrix::windows {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// A Win32 command line for this argument vector, quoted so that the C
// runtime's parser (CommandLineToArgvW) gives the same arguments back:
// blanks and quotes survive, and nothing passes through a shell.
std::wstring command_line(const std::wstring* arguments, std::size_t count);

}  // namespace wandrix::windows
