// The C-library conversions that the WebAssembly build uses must read and
// write exactly what std::to_chars and std::from_chars do in the native
// build, or the same session file would give different walks.
#include "model/fixed_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace wandrix {
namespace {

TEST(FixedText, CLibraryFormatsLikeStd) {
  const double values[] = {0.0,   -0.0,    20.0,           0.5,     -0.25, 2.5,
                           0.125, 1e-13,   123456.789,     1.0 / 3, 1e300, -7.123456789e-7,
                           1e22,  0.00005, 4.0000000000005};
  for (const double value : values) {
    for (const int decimals : {0, 1, 3, 5, 12}) {
      EXPECT_EQ(detail::c_format_fixed(value, decimals), format_fixed(value, decimals))
          << value << " with " << decimals;
    }
  }
}

struct ReadCase {
  const char* text;
  std::chars_format format;
};

TEST(FixedText, CLibraryReadsLikeStd) {
  using std::chars_format;
  const ReadCase cases[] = {
      {"20.00000", chars_format::general},
      {"-0.25000\n", chars_format::general},
      {"1e5x", chars_format::general},
      {"1e5", chars_format::fixed},
      {"1e", chars_format::general},
      {"1e+", chars_format::general},
      {".5", chars_format::general},
      {"5.", chars_format::general},
      {".", chars_format::general},
      {"-", chars_format::general},
      {"+1", chars_format::general},
      {" 1", chars_format::general},
      {"abc", chars_format::general},
      {"", chars_format::general},
      {"0x10", chars_format::general},
      {"inf", chars_format::general},
      {"-Infinity!", chars_format::general},
      {"infinit", chars_format::general},
      {"nan(12ab)", chars_format::general},
      {"nan(", chars_format::general},
      {"1e400", chars_format::general},
      {"1e-400", chars_format::general},
      {"0.1000000000000000055511151231257827", chars_format::general},
      {"2.2250738585072011e-308", chars_format::general},
      {"123456789012345678901234567890", chars_format::fixed},
  };
  for (const ReadCase& c : cases) {
    const std::string_view text(c.text);
    double from_std = -1.0;
    double from_c = -1.0;
    const auto want = read_double(text, from_std, c.format);
    const auto got = detail::c_read_double(text, from_c, c.format);
    EXPECT_EQ(got.ec, want.ec) << c.text;
    EXPECT_EQ(got.ptr - text.data(), want.ptr - text.data()) << c.text;
    if (std::isnan(from_std)) {
      EXPECT_TRUE(std::isnan(from_c)) << c.text;
    } else {
      EXPECT_EQ(from_c, from_std) << c.text;
      EXPECT_EQ(std::signbit(from_c), std::signbit(from_std)) << c.text;
    }
  }
}

}  // namespace
}  // namespace wandrix
