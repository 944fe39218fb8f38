// Conversions between the texts of dialog controls and numbers. They never
// depend on the C locale: the decimal point is always '.', whatever the
// desktop's language, so a typed value means the same everywhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/fixed_text.h"

namespace wandrix {

// Skips leading white space, takes an optional sign and the decimal digits
// that follow, up to the first other character; no digits give 0. A number
// too large for 64 bits saturates, so it always lies outside any 32-bit limit.
std::int64_t parse_int_prefix(std::string_view text);

// The unsigned reading of a control: blanks around the number are allowed,
// anything else (a sign, a letter, an empty text, a number too large for 32
// bits) makes it no number.
struct UIntRead {
  std::uint32_t value = 0;
  bool converted = false;
};
UIntRead parse_uint(std::string_view text);

// Skips leading white space, then reads an optional sign, digits with an
// optional decimal point and an optional exponent, up to the first other
// character; no number gives 0.0. A number beyond the range of a double reads
// as an infinity of its sign (and so lies outside every limit); one too small
// reads as zero.
double parse_real_prefix(std::string_view text);

// The first max_chars characters of a UTF-8 text (a character is one code
// point), never cutting a character in half.
std::string utf8_prefix(std::string_view text, std::size_t max_chars);

}  // namespace wandrix
