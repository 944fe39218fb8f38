// Numbers as fixed-point text, the way every file, summary and dialog of the
// program shows them: a decimal point whatever the front end's locale, never
// an exponent. And the reverse: a decimal number read as std::from_chars
// reads it, also where the standard library lacks its floating-point forms
// (the WebAssembly build's), so that every build reads the same values.
#pragma once

#include <charconv>
#include <string>
#include <string_view>

namespace wandrix {

// The value with the given number of decimals, as printf's "%.Nf" prints it
// in the C locale; empty if it does not fit (only for absurd magnitudes).
std::string format_fixed(double value, int decimals);

// count x 100 / total with one decimal; 0.0 when total is 0.
std::string percent_text(long long count, long long total);

// std::from_chars for a double: the longest prefix of text that is a number
// in the given format (no leading '+' or blank), correctly rounded; ptr past
// it. Out of range leaves value as it was.
std::from_chars_result read_double(std::string_view text, double& value,
                                   std::chars_format format = std::chars_format::general);

// Length of the unsigned decimal number at the start of text: digits with an
// optional fraction (at least one digit in all) and, if asked for, an
// exponent that has digits; 0 when there is none.
std::size_t decimal_length(std::string_view text, bool with_exponent);

namespace detail {
// The same two through the C library (snprintf, strtod): what a standard
// library without the floating-point conversions uses. Always built, so that
// the tests compare them with std's.
std::string c_format_fixed(double value, int decimals);
std::from_chars_result c_read_double(std::string_view text, double& value,
                                     std::chars_format format);
}  // namespace detail

}  // namespace wandrix
