#include "model/fixed_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace wandrix {

namespace {

std::size_t skip_digits(std::string_view text, std::size_t i) {
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    ++i;
  }
  return i;
}

}  // namespace

std::size_t decimal_length(std::string_view text, bool with_exponent) {
  const std::size_t whole_end = skip_digits(text, 0);
  std::size_t end = whole_end;
  bool any = whole_end > 0;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fraction_end = skip_digits(text, end + 1);
    any = any || fraction_end > end + 1;
    end = fraction_end;
  }
  if (!any) {
    return 0;
  }
  if (with_exponent && end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t j = end + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      ++j;
    }
    const std::size_t exponent_end = skip_digits(text, j);
    if (exponent_end > j) {
      end = exponent_end;
    }
  }
  return end;
}

namespace detail {

// Without the floating-point to_chars and from_chars the C library does the
// conversions; both are exact (correctly rounded) there, and its locale is
// always "C", so the results are the same as std's.

std::string c_format_fixed(double value, int decimals) {
  char buffer[400];
  const int length = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
    return {};
  }
  return std::string(buffer, static_cast<std::size_t>(length));
}

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool starts_with_word(std::string_view text, std::size_t i, std::string_view word) {
  if (text.size() - i < word.size()) {
    return false;
  }
  for (std::size_t k = 0; k < word.size(); ++k) {
    const char c = text[i + k];
    if ((c | 0x20) != word[k]) {
      return false;
    }
  }
  return true;
}

// Length of the number from_chars would take at the start of text, or 0.
std::size_t number_length(std::string_view text, std::chars_format format) {
  std::size_t i = text.empty() || text[0] != '-' ? 0 : 1;
  if (starts_with_word(text, i, "infinity")) {
    return i + 8;
  }
  if (starts_with_word(text, i, "inf")) {
    return i + 3;
  }
  if (starts_with_word(text, i, "nan")) {
    std::size_t j = i + 3;
    if (j < text.size() && text[j] == '(') {
      std::size_t k = j + 1;
      while (k < text.size() && (is_digit(text[k]) || text[k] == '_' ||
                                 ((text[k] | 0x20) >= 'a' && (text[k] | 0x20) <= 'z'))) {
        ++k;
      }
      if (k < text.size() && text[k] == ')') {
        j = k + 1;
      }
    }
    return j;
  }
  const std::size_t length = decimal_length(text.substr(i), format != std::chars_format::fixed);
  return length == 0 ? 0 : i + length;
}

}  // namespace

std::from_chars_result c_read_double(std::string_view text, double& value,
                                     std::chars_format format) {
  const std::size_t length = number_length(text, format);
  if (length == 0) {
    return {text.data(), std::errc::invalid_argument};
  }
  const std::string number(text.substr(0, length));
  errno = 0;
  const double read = std::strtod(number.c_str(), nullptr);
  if (errno == ERANGE && (std::isinf(read) || read == 0.0)) {
    return {text.data() + length, std::errc::result_out_of_range};
  }
  value = read;
  return {text.data() + length, std::errc{}};
}

}  // namespace detail

#if defined(__cpp_lib_to_chars)

std::string format_fixed(double value, int decimals) {
  char buffer[400];  // the largest double has 309 digits before the point
  const auto [ptr, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (ec != std::errc{}) {
    return {};
  }
  return std::string(buffer, ptr);
}

std::from_chars_result read_double(std::string_view text, double& value, std::chars_format format) {
  return std::from_chars(text.data(), text.data() + text.size(), value, format);
}

#else

std::string format_fixed(double value, int decimals) {
  return detail::c_format_fixed(value, decimals);
}

std::from_chars_result read_double(std::string_view text, double& value, std::chars_format format) {
  return detail::c_read_double(text, value, format);
}

#endif

std::string percent_text(long long count, long long total) {
  return format_fixed(
      total > 0 ? static_cast<double>(count) * 100.0 / static_cast<double>(total) : 0.0, 1);
}

}  // namespace wandrix
