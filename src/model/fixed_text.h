// Numbers as fixed-point text, the way every file, summary and dialog of the
// program shows them: a decimal point whatever the front end's locale, never
// an exponent.
#pragma once

#include <string>

namespace wandrix {

// The value with the given number of decimals, as printf's "%.Nf" prints it
// in the C locale; empty if it does not fit (only for absurd magnitudes).
std::string format_fixed(double value, int decimals);

// count x 100 / total with one decimal; 0.0 when total is 0.
std::string percent_text(long long count, long long total);

}  // namespace wandrix
