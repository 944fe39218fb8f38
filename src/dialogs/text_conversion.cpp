#include "dialogs/text_conversion.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "model/fixed_text.h"

namespace wandrix {

namespace {

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::size_t skip_space(std::string_view text, std::size_t i) {
  while (i < text.size() && is_space(text[i])) ++i;
  return i;
}

std::size_t skip_digits(std::string_view text, std::size_t i) {
  while (i < text.size() && is_digit(text[i])) ++i;
  return i;
}

// Length of the longest prefix of text (from i) that is a decimal number with
// an optional sign, fraction and exponent; 0 when there is none.
// exponent_negative tells whether an exponent with a minus sign belongs to it.
std::size_t real_length(std::string_view text, std::size_t i, bool& exponent_negative) {
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t length = decimal_length(text.substr(i), true);
  if (length == 0) return 0;
  const std::string_view number = text.substr(i, length);
  const std::size_t e = number.find_first_of("eE");
  exponent_negative = e != std::string_view::npos && number[e + 1] == '-';
  return i + length - start;
}

}  // namespace

std::int64_t parse_int_prefix(std::string_view text) {
  std::size_t i = skip_space(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  constexpr std::int64_t kSaturation = std::int64_t{1} << 62;
  std::int64_t value = 0;
  for (; i < text.size() && is_digit(text[i]); ++i) {
    // Checked before the multiplication: an overflow of the product itself
    // would be undefined behaviour.
    if (value > (kSaturation - 9) / 10) {
      value = kSaturation;
      break;
    }
    value = value * 10 + (text[i] - '0');
    if (value >= kSaturation) {
      value = kSaturation;
      break;
    }
  }
  return negative ? -value : value;
}

UIntRead parse_uint(std::string_view text) {
  const std::size_t begin = skip_space(text, 0);
  const std::size_t end = skip_digits(text, begin);
  if (end == begin || skip_space(text, end) != text.size()) return {};
  std::uint64_t value = 0;
  for (std::size_t i = begin; i < end; ++i) {
    value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    if (value > std::numeric_limits<std::uint32_t>::max()) {
      return {};
    }
  }
  return {static_cast<std::uint32_t>(value), true};
}

double parse_real_prefix(std::string_view text) {
  std::size_t i = skip_space(text, 0);
  bool exponent_negative = false;
  const std::size_t length = real_length(text, i, exponent_negative);
  if (length == 0) return 0.0;
  const char* stop = text.data() + i + length;
  // from_chars takes no sign of its own beyond a minus, so the sign is read here.
  const bool negative = text[i] == '-';
  if (text[i] == '+' || text[i] == '-') ++i;
  double value = 0.0;
  const auto [ptr, ec] = read_double(
      std::string_view(text.data() + i, static_cast<std::size_t>(stop - (text.data() + i))), value,
      std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    value = exponent_negative ? 0.0 : std::numeric_limits<double>::infinity();
  } else if (ec != std::errc{}) {
    value = 0.0;
  }
  return negative ? -value : value;
}

std::string utf8_prefix(std::string_view text, std::size_t max_chars) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool starts_char = (byte & 0xC0u) != 0x80u;
    if (starts_char) {
      if (chars == max_chars) return std::string(text.substr(0, i));
      ++chars;
    }
  }
  return std::string(text);
}

}  // namespace wandrix
