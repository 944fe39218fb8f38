#include "platform/program_folder.h"

#include <filesystem>
#include <system_error>

#if defined(__EMSCRIPTEN__)
#include <emscripten.h>

#include <cstdlib>
#elif defined(_WIN32)
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace wandrix {

#if defined(__EMSCRIPTEN__)
namespace {
// clang-format off
// (Debian's emscripten links stringToNewUTF8 only when asked to.)
EM_JS(char*, node_script_folder, (), {
  const folder = typeof __dirname === "string" ? __dirname : "";
  const size = lengthBytesUTF8(folder) + 1;
  const copy = _malloc(size);
  stringToUTF8(folder, copy, size);
  return copy;
});
// clang-format on
}  // namespace

std::string program_folder() {
  char* folder = node_script_folder();
  std::string result(folder);
  std::free(folder);
  return result;
}
#elif defined(_WIN32)
std::string program_folder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) {
      return {};
    }
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::u8string folder = std::filesystem::path(path).parent_path().u8string();
  return {folder.begin(), folder.end()};
}
#else
std::string program_folder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}
#endif

}  // namespace wandrix
