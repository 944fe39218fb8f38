// File names are UTF-8 throughout the program. A std::filesystem::path made
// from a plain string takes its bytes in the C library's character set (on
// Windows one byte is one character); made from UTF-8 it names the same file
// everywhere.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace wandrix {

inline std::filesystem::path utf8_path(std::string_view utf8) {
  return {std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size())};
}

// The path's name in UTF-8 again.
inline std::string utf8_string(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return {name.begin(), name.end()};
}

}  // namespace wandrix
