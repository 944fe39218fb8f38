#include "model/fixed_text.h"

#include <charconv>
#include <system_error>

namespace wandrix {

std::string format_fixed(double value, int decimals) {
  char buffer[400];  // the largest double has 309 digits before the point
  const auto [ptr, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (ec != std::errc{}) {
    return {};
  }
  return std::string(buffer, ptr);
}

std::string percent_text(long long count, long long total) {
  return format_fixed(
      total > 0 ? static_cast<double>(count) * 100.0 / static_cast<double>(total) : 0.0, 1);
}

}  // namespace wandrix
